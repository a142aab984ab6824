#include "FixtureServer.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace {
constexpr qint64 piece = 64 * 1024;  // of a streamed body

QString routeKey(const QByteArray& method, const QString& path) {
    return QString::fromLatin1(method) + QLatin1Char(' ') + path;
}

QByteArray methodName(QHttpServerRequest::Method m) {
    switch (m) {
        case QHttpServerRequest::Method::Get:
            return "GET";
        case QHttpServerRequest::Method::Put:
            return "PUT";
        case QHttpServerRequest::Method::Delete:
            return "DELETE";
        case QHttpServerRequest::Method::Post:
            return "POST";
        case QHttpServerRequest::Method::Head:
            return "HEAD";
        case QHttpServerRequest::Method::Options:
            return "OPTIONS";
        case QHttpServerRequest::Method::Patch:
            return "PATCH";
        default:
            return "OTHER";
    }
}
}  // namespace

QByteArray FixtureServer::LoggedRequest::header(const QByteArray& name) const {
    for (const auto& [k, v] : headers)
        if (k.compare(name, Qt::CaseInsensitive) == 0) return v;
    return {};
}

FixtureServer::FixtureServer(Scheme scheme) : scheme_(scheme) {
    if (scheme_ == Scheme::Https)
        sslSetup(QSslCertificate(fixture(QStringLiteral("tls/cert.pem"))),
                 QSslKey(fixture(QStringLiteral("tls/key.pem")), QSsl::Rsa));
    port_ = listen(QHostAddress::LocalHost, 0);
}

void FixtureServer::trustCertificate() {
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.addCaCertificate(QSslCertificate(fixture(QStringLiteral("tls/cert.pem"))));
    QSslConfiguration::setDefaultConfiguration(config);
}

FixtureServer::~FixtureServer() = default;

QUrl FixtureServer::origin() const {
    return QUrl(QStringLiteral("%1://127.0.0.1:%2")
                    .arg(scheme_ == Scheme::Https ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(port_));
}

void FixtureServer::route(const QByteArray& method, const QString& path, Reply reply) {
    routes_.insert(routeKey(method, path), std::move(reply));
}

void FixtureServer::routeJson(const QString& path, const QByteArray& body, int status) {
    Reply r;
    r.status = status;
    r.body = body;
    route(path, std::move(r));
}

QByteArray FixtureServer::fixture(const QString& name) {
    QFile f(QStringLiteral(ORVANE_FIXTURES_DIR "/") + name);
    if (!f.open(QIODevice::ReadOnly)) qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
}

void FixtureServer::routeFixture(const QString& path, const QString& fixtureName, int status) {
    routeJson(path, fixture(fixtureName), status);
}

void FixtureServer::setOffline(bool offline) {
    const auto servers = findChildren<QTcpServer*>();
    for (QTcpServer* s : servers) {
        if (offline) {
            s->close();
        } else if (!s->isListening()) {
            s->listen(QHostAddress::LocalHost, port_);
        }
    }
}

QList<FixtureServer::LoggedRequest> FixtureServer::requestsTo(const QString& path) const {
    QList<LoggedRequest> out;
    for (const auto& r : log_)
        if (r.path == path) out.append(r);
    return out;
}

bool FixtureServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    const QByteArray method = methodName(request.method());
    const QString path = request.url().path();
    log_.append({method, path, request.query(), request.body(), request.headers()});

    auto it = routes_.constFind(routeKey(method, path));
    if (it == routes_.constEnd()) it = routes_.constFind(routeKey("*", path));
    Reply reply;
    if (it == routes_.constEnd()) {
        reply.status = 404;
        reply.body = "{\"error\":\"not found\"}";
    } else {
        reply = *it;
    }

    if (reply.streamedBytes != 0) {
        stream(socket, reply);
        return true;
    }
    auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
    auto respond = [responder, reply, method] {
        responder->writeStatusLine(QHttpServerResponder::StatusCode(reply.status));
        for (const auto& [k, v] : reply.headers) responder->writeHeader(k, v);
        responder->writeHeader("Content-Length", QByteArray::number(reply.body.size()));
        responder->writeHeader("Connection", "close");
        responder->writeBody(method == "HEAD" ? QByteArray() : reply.body);
    };
    if (reply.delay.count() > 0) {
        QTimer::singleShot(reply.delay, socket, respond);
    } else {
        respond();
    }
    return true;
}

void FixtureServer::stream(QTcpSocket* socket, const Reply& reply) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " OK\r\n";
    for (const auto& [k, v] : reply.headers) head += k + ": " + v + "\r\n";
    if (reply.streamedBytes > 0)
        head += "Content-Length: " + QByteArray::number(reply.streamedBytes) + "\r\n";
    socket->write(head + "Connection: close\r\n\r\n");

    auto left = std::make_shared<qint64>(reply.streamedBytes);
    const QPointer<QTcpSocket> guarded(socket);
    // Refills the socket while it has little queued, so what is sent follows what the client takes.
    auto send = [this, guarded, left, paced = reply.pace.count() > 0] {
        while (guarded && guarded->state() == QAbstractSocket::ConnectedState && *left != 0 &&
               guarded->bytesToWrite() < 2 * piece) {
            const qint64 size = *left < 0 ? piece : std::min(piece, *left);
            guarded->write(QByteArray(size, 'x'));
            streamed_ += size;
            if (*left > 0) *left -= size;
            if (*left == 0) guarded->disconnectFromHost();
            if (paced) return;
        }
    };
    if (reply.pace.count() > 0) {
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, send);
        timer->start(reply.pace);
    } else {
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, send);
    }
    send();
}

void FixtureServer::missingHandler(const QHttpServerRequest&, QTcpSocket*) {}
