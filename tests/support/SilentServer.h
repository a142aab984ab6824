#pragma once

#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A server on 127.0.0.1 that accepts every connection and never answers: the own server hanging, as
// opposed to the fixture server's "offline", which refuses connections at once.
class SilentServer : public QTcpServer {
  public:
    SilentServer() {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) held_.append(socket);
        });
    }

    QUrl origin() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(serverPort())); }
    // Connections accepted so far (each request of the clock opens at least one).
    qsizetype accepted() const { return held_.size(); }

  private:
    QList<QPointer<QTcpSocket>> held_;
};
