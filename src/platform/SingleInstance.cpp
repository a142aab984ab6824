#include "platform/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <unistd.h>

// The message is a 4-byte big-endian length and that many bytes of UTF-8: the arguments joined by NUL (an
// argument can never hold one). The instance answers with one byte: 1 once it has taken the message, 2 when
// it refuses one that is too long.

namespace {

constexpr char confirmation = '\x01';
constexpr char refusal = '\x02';
constexpr qsizetype headerBytes = 4;
// A launch writes its whole message at once; one that connects and dribbles or says nothing is dropped.
constexpr int readTimeoutMs = 2000;
const char* const bufferProperty = "orvaneBuffer";

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

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();  // removes the socket file, so the next launch starts cleanly
}

bool SingleInstance::fits(const QStringList& arguments) {
    return encode(arguments).size() - headerBytes <= maxMessageBytes;
}

QString SingleInstance::defaultName() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(QStringLiteral("orvane.instance"));
    return QStringLiteral("orvane-instance-") + QString::number(::getuid());
}

SingleInstance::Role SingleInstance::start(const QStringList& arguments, int timeoutMs) {
    if (server_) return Role::Primary;
    // Two launches at the same moment can both miss each other once; the second round settles it.
    for (int attempt = 0; attempt < 2; ++attempt)
        if (const std::optional<Role> role = settle(send(arguments, timeoutMs))) return *role;
    return Role::Unavailable;
}

std::optional<SingleInstance::Role> SingleInstance::settle(Sent sent) {
    switch (sent) {
        case Sent::Confirmed:
            return Role::Forwarded;
        case Sent::TooLong:
            return Role::Refused;
        case Sent::Unanswered:
            // Someone is listening; taking the name from a busy instance would make two clocks.
            return Role::Unanswered;
        case Sent::Refused:
            // A socket file nobody listens on: left behind by an instance that did not exit cleanly.
            QLocalServer::removeServer(name_);
            break;
        case Sent::NoServer:
            break;
    }
    if (listen()) return Role::Primary;
    return std::nullopt;
}

SingleInstance::Sent SingleInstance::send(const QStringList& arguments, int timeoutMs) {
    pending_.reset();
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(name_);
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
        const std::optional<Role> role = settle(send(arguments, std::min(left, 3000)));
        if (role == Role::Unanswered) continue;
        if (role) return *role;
        QThread::msleep(100);
    }
    pending_.reset();
    return Role::Unanswered;
}

bool SingleInstance::ping(int timeoutMs) {
    const bool confirmed = send({pingArgument()}, timeoutMs) == Sent::Confirmed;
    pending_.reset();
    return confirmed;
}

bool SingleInstance::listen() {
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name_)) {
        delete server;
        return false;
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return true;
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
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
    const QStringList arguments = decode(buffer.mid(headerBytes));
    if (arguments == QStringList{pingArgument()}) return;
    emit messageReceived(arguments);
}
