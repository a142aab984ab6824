#include "platform/Http.h"

#include "platform/OwnFiles.h"
#include "platform/WriteFailure.h"

#include <QCoreApplication>
#include <QCoro/QCoroNetworkReply>
#include <QLoggingCategory>
#include <QMultiHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <functional>
#include <memory>
#include <optional>

namespace {

Q_LOGGING_CATEGORY(lcHttp, "orvane.http")

// What Qt may hold of a reply that has not been read yet. Past it Qt stops reading the socket until the
// body is taken, so a fast server cannot fill memory while the cap is checked.
constexpr qint64 kReadBufferBytes = 256 * 1024;

std::atomic<bool> offline{false};
std::atomic<quint64> started{0};

QPointer<QNetworkAccessManager>& managerInstance() {
    static QPointer<QNetworkAccessManager> instance;
    return instance;
}

// The manager's connection thread closes its sockets as it ends, which looks up the TLS plugin. Among the
// application's children it would end after the application has already dropped that plugin, load it
// again into a process that is shutting down, and race the exit's own clean-up. So it goes first, while
// the application is still whole.
void dropManager() {
    delete managerInstance().data();
}

QNetworkAccessManager* manager() {
    QPointer<QNetworkAccessManager>& instance = managerInstance();
    if (!instance) {
        instance = new QNetworkAccessManager(QCoreApplication::instance());
        instance->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
        instance->setAutoDeleteReplies(false);
        qAddPostRoutine(dropManager);
    }
    return instance;
}

// Qt 6.4 answers a failed host lookup with an error for one waiting request only; the others queued on
// the same connection wait until their own timeout (a minute, offline, for every load). They share the
// failed lookup, so they end with it. Keyed by scheme, host and port, as the manager's connections are.
QMultiHash<QString, QNetworkReply*>& waitingForHost() {
    static QMultiHash<QString, QNetworkReply*> replies;
    return replies;
}

const char* const kHostNotFound = "orvane.hostNotFound";

QString originOf(const QUrl& url) {
    return url.scheme() + u' ' + url.host() + u' ' + QString::number(url.port(-1));
}

struct WaitingForHost {
    QString origin;
    QNetworkReply* reply;
    WaitingForHost(QString o, QNetworkReply* r) : origin(std::move(o)), reply(r) {
        waitingForHost().insert(origin, reply);
    }
    ~WaitingForHost() { waitingForHost().remove(origin, reply); }
};

// Siblings whose own error is already on its way get a moment to deliver it; aborting those would report
// their failure twice.
void endSiblingsOfAFailedLookup(const QString& origin, const QString& error) {
    QList<QPointer<QNetworkReply>> siblings;
    for (QNetworkReply* sibling : waitingForHost().values(origin)) siblings.append(sibling);
    QTimer::singleShot(200, QCoreApplication::instance(), [siblings, error] {
        for (const QPointer<QNetworkReply>& sibling : siblings) {
            // A reply that has a status got past the lookup; it is not waiting for it.
            if (!sibling || sibling->isFinished() ||
                sibling->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
                continue;
            sibling->setProperty(kHostNotFound, error);
            sibling->abort();
        }
    });
}

HttpResponse failure(QString why) {
    HttpResponse r;
    r.error = std::move(why);
    return r;
}

qint64 capOf(const HttpRequest& request) {
    return request.maxBodyBytes > 0 ? request.maxBodyBytes : Http::jsonReplyMaxBytes;
}

// The address without its query, which may carry identifiers that have no place in a log.
QString logged(const QUrl& url) {
    return url.toString(QUrl::RemoveQuery | QUrl::RemoveUserInfo | QUrl::RemoveFragment);
}

QNetworkRequest networkRequest(const HttpRequest& request) {
    QNetworkRequest qrequest(request.url);
    for (const auto& [key, value] : request.headers) qrequest.setRawHeader(key, value);
    qrequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    qrequest.setMaximumRedirectsAllowed(Http::maxRedirects);
    return qrequest;
}

// Reads a reply as it arrives and aborts it once it announces or brings more than `cap` bytes; the one
// log line of an oversized reply is written here.
class CappedReader {
  public:
    CappedReader(QNetworkReply* reply, QUrl url, qint64 cap, std::function<bool(const QByteArray&)> take)
        : reply_(reply), url_(std::move(url)), cap_(cap), take_(std::move(take)) {
        reply_->setReadBufferSize(kReadBufferBytes);
        announced_ = QObject::connect(reply_, &QNetworkReply::metaDataChanged, reply_, [this] {
            const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
            if (length.isValid() && length.toLongLong() > cap_) refuse();
        });
        arrived_ = QObject::connect(reply_, &QNetworkReply::readyRead, reply_, [this] { drain(); });
    }
    // The reply may outlive the reader when its coroutine is dropped midway.
    ~CappedReader() {
        QObject::disconnect(announced_);
        QObject::disconnect(arrived_);
    }
    CappedReader(const CappedReader&) = delete;
    CappedReader& operator=(const CappedReader&) = delete;

    void drain() {
        while (!tooLarge_ && !stopped_ && reply_->bytesAvailable() > 0) {
            const QByteArray chunk = reply_->read(std::min(reply_->bytesAvailable(), cap_ - received_ + 1));
            if (chunk.isEmpty()) return;
            received_ += chunk.size();
            if (received_ > cap_) return refuse();
            if (!take_(chunk)) {
                stopped_ = true;
                reply_->abort();
            }
        }
    }

    bool tooLarge() const { return tooLarge_; }

  private:
    void refuse() {
        if (tooLarge_) return;
        tooLarge_ = true;
        qCWarning(lcHttp).noquote() << "reply from" << logged(url_) << "is larger than" << cap_
                                    << "bytes; aborted";
        reply_->abort();
    }

    QNetworkReply* reply_;
    QUrl url_;
    qint64 cap_;
    std::function<bool(const QByteArray&)> take_;
    qint64 received_ = 0;
    bool tooLarge_ = false;
    bool stopped_ = false;
    QMetaObject::Connection announced_;
    QMetaObject::Connection arrived_;
};

bool redirectLoop(const QNetworkReply& reply, const QUrl& url) {
    if (reply.error() != QNetworkReply::TooManyRedirectsError) return false;
    qCWarning(lcHttp).noquote() << "request to" << logged(url) << "was redirected more than"
                                << Http::maxRedirects << "times; aborted";
    return true;
}

}  // namespace

QByteArray HttpResponse::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    }
    return {};
}

namespace Http {

void setOffline(bool value) {
    offline.store(value);
}
bool isOffline() {
    return offline.load();
}
quint64 requestCount() {
    return started.load();
}

QCoro::Task<HttpResponse> send(HttpRequest request) {
    if (offline.load()) co_return failure(QStringLiteral("offline"));
    if (!request.url.isValid() || request.url.scheme().isEmpty() || request.url.host().isEmpty())
        co_return failure(QStringLiteral("invalid address"));
    if (!QCoreApplication::instance()) co_return failure(QStringLiteral("no application"));
    ++started;

    const QNetworkRequest qrequest = networkRequest(request);

    // A HEAD sent as a custom verb would wait for the body its Content-Length announces; only the manager's
    // own head() knows that a HEAD reply has none.
    std::unique_ptr<QNetworkReply> reply(
        request.method == "HEAD" ? manager()->head(qrequest)
                                 : manager()->sendCustomRequest(qrequest, request.method, request.body));
    if (!reply) co_return failure(QStringLiteral("request refused"));

    const WaitingForHost waiting(originOf(request.url), reply.get());
    bool timedOut = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply.get(), [&timedOut, r = reply.get()] {
        timedOut = true;
        r->abort();
    });
    deadline.start(request.timeout);
    QByteArray body;
    // A HEAD reply has no body, whatever length it announces.
    std::optional<CappedReader> reader;
    if (request.method != "HEAD") {
        reader.emplace(reply.get(), request.url, capOf(request), [&body](const QByteArray& chunk) {
            body += chunk;
            return true;
        });
    }

    co_await qCoro(reply.get()).waitForFinished();
    deadline.stop();
    if (reader) reader->drain();
    if (reply->error() == QNetworkReply::HostNotFoundError)
        endSiblingsOfAFailedLookup(waiting.origin, reply->errorString());

    HttpResponse response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.headers = reply->rawHeaderPairs();
    if (const QVariant lookup = reply->property(kHostNotFound); lookup.isValid()) {
        response.error = lookup.toString();
    } else if (timedOut) {
        response.error = QStringLiteral("timed out");
    } else if (reader && reader->tooLarge()) {
        response.error = QStringLiteral("body too large");
    } else if (redirectLoop(*reply, request.url)) {
        response.error = QStringLiteral("too many redirects");
    } else if (response.status == 0) {
        response.error = reply->errorString();
    } else {
        // HTTP error statuses still carry a body the callers may want to read.
        response.body = std::move(body);
        response.transportOk = true;
    }
    co_return response;
}

QCoro::Task<HttpResponse> download(HttpRequest request, QString filePath) {
    if (offline.load()) co_return failure(QStringLiteral("offline"));
    if (!request.url.isValid() || request.url.scheme().isEmpty() || request.url.host().isEmpty())
        co_return failure(QStringLiteral("invalid address"));
    if (!QCoreApplication::instance()) co_return failure(QStringLiteral("no application"));
    QSaveFile file(filePath);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly) || !OwnFiles::setMode(file))
        co_return failure(QStringLiteral("cannot write %1: %2")
                              .arg(filePath, WriteFailure::cause(errno, file.errorString())));
    ++started;

    QNetworkRequest qrequest = networkRequest(request);
    qrequest.setTransferTimeout(int(request.timeout.count()));
    std::unique_ptr<QNetworkReply> reply(manager()->get(qrequest));
    if (!reply) co_return failure(QStringLiteral("request refused"));

    QString problem;
    CappedReader reader(reply.get(), request.url, capOf(request), [&](const QByteArray& chunk) {
        errno = 0;
        if (file.write(chunk) == chunk.size()) return true;
        problem = QStringLiteral("write failed: ") + WriteFailure::cause(errno, file.errorString());
        return false;
    });
    co_await qCoro(reply.get()).waitForFinished();
    reader.drain();

    HttpResponse response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.headers = reply->rawHeaderPairs();
    if (reader.tooLarge()) {
        response.error = QStringLiteral("body too large");
    } else if (!problem.isEmpty()) {
        response.error = problem;
    } else if (redirectLoop(*reply, request.url)) {
        response.error = QStringLiteral("too many redirects");
    } else if (reply->error() == QNetworkReply::OperationCanceledError ||
               reply->error() == QNetworkReply::TimeoutError) {
        response.error = QStringLiteral("timed out");
    } else {
        // An HTTP error status is an answer read whole; a connection lost midway is not, whatever its status.
        const int code = reply->error();
        const bool statusError = (code >= 201 && code <= 299) || (code >= 401 && code <= 499);
        response.transportOk = response.status != 0 && (code == QNetworkReply::NoError || statusError);
        if (code != QNetworkReply::NoError) response.error = reply->errorString();
    }
    // Only a success is kept on disk; the unfinished file is dropped with the QSaveFile.
    errno = 0;
    if (response.isSuccess() && !OwnFiles::commit(file)) {
        response.transportOk = false;
        response.error = QStringLiteral("could not save %1: %2")
                             .arg(filePath, WriteFailure::cause(errno, file.errorString()));
    }
    co_return response;
}

QCoro::Task<HttpResponse> get(QUrl url, std::chrono::milliseconds timeout) {
    HttpRequest r;
    r.url = std::move(url);
    r.timeout = timeout;
    co_return co_await send(std::move(r));
}

QCoro::Task<HttpResponse> head(QUrl url, std::chrono::milliseconds timeout) {
    HttpRequest r;
    r.method = "HEAD";
    r.url = std::move(url);
    r.timeout = timeout;
    co_return co_await send(std::move(r));
}

QCoro::Task<HttpResponse> postJson(QUrl url, QByteArray body, std::chrono::milliseconds timeout) {
    HttpRequest r;
    r.method = "POST";
    r.url = std::move(url);
    r.body = std::move(body);
    r.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/json")));
    r.timeout = timeout;
    co_return co_await send(std::move(r));
}

}  // namespace Http
