#include "platform/SingleInstance.h"

#include "platform/OwnFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

// The message is a 4-byte big-endian length and that many bytes of UTF-8: the arguments joined by NUL (an
// argument can never hold one). The instance answers with one byte: 1 once it has taken the message, 2 when
// it refuses one that is too long. A launch's activation token goes as one more argument after a marker,
// which an earlier build, taking it for an argument that is no link, reads as a plain reopen.

namespace {

constexpr char confirmation = '\x01';
constexpr char refusal = '\x02';
constexpr qsizetype headerBytes = 4;
// A launch writes its whole message at once; one that connects and dribbles or says nothing is dropped.
constexpr int readTimeoutMs = 2000;
const char* const bufferProperty = "orvaneBuffer";
const QString tokenMarker = QStringLiteral("--activation-token=");

QByteArray encode(const QStringList& arguments) {
    QByteArray payload;
    for (const QString& a : arguments) {
        if (a.isEmpty()) continue;
        if (!payload.isEmpty()) payload.append('\0');
        payload.append(a.toUtf8());
    }
    QByteArray message(headerBytes, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), message.data());
    return message + payload;
}

QStringList decode(const QByteArray& payload) {
    QStringList arguments;
    if (payload.isEmpty()) return arguments;
    for (const QByteArray& part : payload.split('\0'))
        if (!part.isEmpty()) arguments << QString::fromUtf8(part);
    return arguments;
}

enum class Folder { Missing, Private, NotPrivate };

// Whether `path` is a folder no other account can list, enter or change: a real folder (not a link to one),
// owned by this user, with no access for group or others.
Folder folderState(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT ? Folder::Missing : Folder::NotPrivate;
    const bool isPrivate = S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
                           (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
    return isPrivate ? Folder::Private : Folder::NotPrivate;
}

QString folderOf(const QString& place) {
    return QFileInfo(place).absolutePath();
}

// Makes the folder of `place` the user's own (0700); true when it is then a real folder of the user's alone.
bool makePrivateFolder(const QString& place) {
    const QString folder = folderOf(place);
    return OwnFiles::makeFolder(folder) && folderState(folder) == Folder::Private;
}

// The host's name when it is plain and the socket path stays within the socket address limit, else a short
// digest of it.
QString socketNameForHost(const QString& folder) {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const QString name = QString::fromLatin1(host);
    const bool plain = !name.isEmpty() && std::all_of(name.cbegin(), name.cend(), [](QChar c) {
        return (c.unicode() < 128 && c.isLetterOrNumber()) || c == u'-' || c == u'.' || c == u'_';
    });
    const QString socket = name + QStringLiteral(".instance");
    if (plain && QFile::encodeName(folder + u'/' + socket).size() < qsizetype(sizeof(sockaddr_un::sun_path)))
        return socket;
    return QString::fromLatin1(QCryptographicHash::hash(host, QCryptographicHash::Sha1).toHex().left(16)) +
           QStringLiteral(".instance");
}

}  // namespace

SingleInstance::SingleInstance(QStringList places, QObject* parent)
    : QObject(parent), places_(std::move(places)), account_(::geteuid()) {}

SingleInstance::SingleInstance(const QString& place, QObject* parent)
    : SingleInstance(QStringList{place}, parent) {}

SingleInstance::~SingleInstance() {
    // Closing removes the socket files, so the next launch starts cleanly.
    if (server_) server_->close();
    if (formerServer_) formerServer_->close();
}

bool SingleInstance::fits(const QStringList& arguments) {
    return encode(arguments).size() - headerBytes <= maxMessageBytes;
}

QStringList SingleInstance::defaultPlaces() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && folderState(runtime) == Folder::Private)
        return {QDir(runtime).filePath(QStringLiteral("orvane.instance"))};
    // A folder of a fixed name in the shared temporary folder can be taken first by another account; the
    // one in the cache folder cannot, but needs a home.
    QStringList places{QDir::cleanPath(QDir::tempPath()) + QStringLiteral("/orvane-") +
                       QString::number(::geteuid()) + QStringLiteral("/orvane.instance")};
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (QDir::isAbsolutePath(cache)) {
        const QString folder = QDir::cleanPath(cache) + QStringLiteral("/orvane-instance");
        places << folder + u'/' + socketNameForHost(folder);
    }
    return places;
}

QStringList SingleInstance::withActivationToken(const QStringList& arguments) const {
    if (activationToken_.isEmpty() || activationToken_.contains('\0')) return arguments;
    const QStringList withToken = arguments + QStringList{tokenMarker + QString::fromUtf8(activationToken_)};
    // The link matters more than the window coming forward.
    return fits(withToken) ? withToken : arguments;
}

SingleInstance::Role SingleInstance::start(const QStringList& arguments, int timeoutMs) {
    if (server_) return Role::Primary;
    tried_.clear();
    const QStringList sent = withActivationToken(arguments);
    // Two launches at the same moment can both miss each other once; the next round settles it. Each round
    // tries one more place, so a place that cannot be had never keeps the clock from the next.
    for (qsizetype round = 0; round <= places_.size(); ++round)
        if (const std::optional<Role> role = settle(sent, timeoutMs)) return *role;
    return Role::Unavailable;
}

std::optional<SingleInstance::Role> SingleInstance::settle(const QStringList& arguments, int timeoutMs) {
    QStringList free;
    for (const QString& place : places_) {
        switch (send(place, arguments, timeoutMs)) {
            case Sent::Confirmed:
                return Role::Forwarded;
            case Sent::TooLong:
                return Role::Refused;
            case Sent::Unanswered:
                // An instance of this user listens; taking the name from a busy one would make two clocks.
                return Role::Unanswered;
            case Sent::Refused:
            case Sent::Stranger:
                // A socket file nobody listens on, left behind by an instance that did not exit cleanly, or
                // one another account has put in the user's own folder.
                QLocalServer::removeServer(place);
                free << place;
                break;
            case Sent::NoServer:
                free << place;
                break;
            case Sent::NotPrivate:
                break;
        }
    }
    for (const QString& place : free) {
        if (tried_.contains(place)) continue;
        tried_ << place;
        if (listen(place)) return Role::Primary;
        // Another launch of this user may have just taken it: look again before going on to the next.
        return std::nullopt;
    }
    return std::nullopt;
}

SingleInstance::Sent SingleInstance::send(const QString& place, const QStringList& arguments, int timeoutMs) {
    pending_.reset();
    switch (folderState(folderOf(place))) {
        case Folder::Missing:
            return Sent::NoServer;
        case Folder::NotPrivate:
            return Sent::NotPrivate;
        case Folder::Private:
            break;
    }
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(place);
    if (!socket->waitForConnected(timeoutMs)) {
        switch (socket->error()) {
            case QLocalSocket::ServerNotFoundError:
                return Sent::NoServer;
            case QLocalSocket::ConnectionRefusedError:
                return Sent::Refused;
            case QLocalSocket::SocketTimeoutError:
                return Sent::Unanswered;
            default:
                return Sent::NoServer;
        }
    }
    if (!ofTrustedAccount(*socket)) return Sent::Stranger;
    socket->write(encode(arguments));
    if (!socket->waitForBytesWritten(timeoutMs)) return Sent::Unanswered;
    pending_ = std::move(socket);
    switch (awaitAnswer(timeoutMs)) {
        case Answer::Confirmed:
            return Sent::Confirmed;
        case Answer::TooLong:
            return Sent::TooLong;
        case Answer::None:
            break;
    }
    return Sent::Unanswered;
}

SingleInstance::Answer SingleInstance::awaitAnswer(int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (pending_ && pending_->bytesAvailable() < 1) {
        const int left = timeoutMs - int(waited.elapsed());
        if (left <= 0 || pending_->state() != QLocalSocket::ConnectedState) break;
        pending_->waitForReadyRead(left);
    }
    if (!pending_ || pending_->bytesAvailable() < 1) return Answer::None;
    char answer = 0;
    const bool read = pending_->getChar(&answer);
    pending_.reset();
    if (read && answer == confirmation) return Answer::Confirmed;
    if (read && answer == refusal) return Answer::TooLong;
    return Answer::None;
}

SingleInstance::Role SingleInstance::awaitRunning(const QStringList& arguments, int patienceMs) {
    if (server_) return Role::Primary;
    tried_.clear();
    const QStringList sent = withActivationToken(arguments);
    QElapsedTimer waited;
    waited.start();
    for (int left = patienceMs; left > 0; left = patienceMs - int(waited.elapsed())) {
        if (pending_ && pending_->state() == QLocalSocket::ConnectedState) {
            const Answer answer = awaitAnswer(std::min(left, 1000));
            if (answer == Answer::Confirmed) return Role::Forwarded;
            if (answer == Answer::TooLong) return Role::Refused;
            continue;
        }
        // The busy instance dropped the connection without an answer: ask again, or take its place.
        const std::optional<Role> role = settle(sent, std::min(left, 3000));
        if (role == Role::Unanswered) continue;
        if (role) return *role;
        QThread::msleep(100);
    }
    pending_.reset();
    return Role::Unanswered;
}

bool SingleInstance::ping(int timeoutMs) {
    const bool confirmed = std::any_of(places_.cbegin(), places_.cend(), [&](const QString& place) {
        return send(place, {pingArgument()}, timeoutMs) == Sent::Confirmed;
    });
    pending_.reset();
    return confirmed;
}

bool SingleInstance::ofTrustedAccount(const QLocalSocket& socket) const {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == account_;
}

bool SingleInstance::listen(const QString& place) {
    if (!makePrivateFolder(place)) return false;
    server_ = serve(place);
    return server_ != nullptr;
}

QLocalServer* SingleInstance::serve(const QString& name) {
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        delete server;
        return nullptr;
    }
    connect(server, &QLocalServer::newConnection, this, [this, server] { accept(*server); });
    return server;
}

QString SingleInstance::formerName() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString former = !runtime.isEmpty() && QFileInfo(runtime).isDir()
                               ? QDir(runtime).filePath(QStringLiteral("orvane.instance"))
                               : QDir::cleanPath(QDir::tempPath()) + QStringLiteral("/orvane-instance-") +
                                     QString::number(::getuid());
    return defaultPlaces().contains(former) ? QString() : former;
}

bool SingleInstance::answerAlsoAt(const QString& name) {
    if (!server_ || formerServer_ || name.isEmpty()) return false;
    struct stat status {};
    if (::lstat(QFile::encodeName(name).constData(), &status) == 0) {
        // Only this user's own socket that nobody listens on (a clock that was killed) is taken over; what
        // another account put there stays, and the sticky temporary folder keeps it from being swapped.
        if (!S_ISSOCK(status.st_mode) || status.st_uid != ::geteuid()) return false;
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(500) || probe.error() != QLocalSocket::ConnectionRefusedError)
            return false;
        QLocalServer::removeServer(name);
    }
    formerServer_ = serve(name);
    return formerServer_ != nullptr;
}

void SingleInstance::accept(QLocalServer& server) {
    while (QLocalSocket* socket = server.nextPendingConnection()) {
        if (!ofTrustedAccount(*socket)) {
            socket->abort();  // another account's: not a byte of it is read
            socket->deleteLater();
            continue;
        }
        socket->setReadBufferSize(headerBytes + maxMessageBytes);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        QTimer::singleShot(readTimeoutMs, socket, [socket] { socket->abort(); });
        if (socket->bytesAvailable() > 0) read(socket);
    }
}

void SingleInstance::read(QLocalSocket* socket) {
    const auto answer = [socket](char byte) {
        socket->setProperty(bufferProperty, QVariant());
        socket->write(&byte, 1);
        socket->flush();
        socket->disconnectFromServer();
    };
    // Only the bytes the header announces are taken, so a message never costs more than its bound.
    QByteArray buffer = socket->property(bufferProperty).toByteArray();
    if (buffer.size() < headerBytes) buffer += socket->read(headerBytes - buffer.size());
    if (buffer.size() < headerBytes) {
        socket->setProperty(bufferProperty, buffer);
        return;
    }
    const qsizetype length = qFromBigEndian<quint32>(buffer.constData());
    if (length > maxMessageBytes) {
        socket->skip(socket->bytesAvailable());  // the sender reads the answer before it sees the close
        answer(refusal);
        return;
    }
    buffer += socket->read(headerBytes + length - buffer.size());
    if (buffer.size() < headerBytes + length) {
        socket->setProperty(bufferProperty, buffer);
        return;
    }
    if (socket->bytesAvailable() > 0) {
        socket->abort();  // more than it announced: not one of ours
        return;
    }
    answer(confirmation);
    QStringList arguments = decode(buffer.mid(headerBytes));
    if (arguments == QStringList{pingArgument()}) return;
    QByteArray token;
    arguments.removeIf([&token](const QString& argument) {
        if (!argument.startsWith(tokenMarker)) return false;
        token = argument.mid(tokenMarker.size()).toUtf8();
        return true;
    });
    emit messageReceived(arguments, token);
}
