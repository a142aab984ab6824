#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <QUrlQuery>
#include <chrono>

// A real HTTP server on 127.0.0.1 (port chosen by the system) that serves recorded replies. Tests point the
// clock's endpoints at `origin()`, register routes, and read the request log afterwards.
class FixtureServer : public QAbstractHttpServer {
  public:
    struct Reply {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers{{"Content-Type", "application/json"}};
        std::chrono::milliseconds delay{0};
        // Instead of `body`: a generated body sent piece by piece as the client takes it, this many bytes
        // long (announced in Content-Length), or without end when negative (no length; it stops only when
        // the client hangs up). `pace` spaces the pieces, so a client with no limit cannot take gigabytes.
        qint64 streamedBytes = 0;
        std::chrono::milliseconds pace{0};
    };

    struct LoggedRequest {
        QByteArray method;
        QString path;
        QUrlQuery query;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray header(const QByteArray& name) const;
    };

    enum class Scheme { Http, Https };

    // Https serves with the certificate of tests/fixtures/tls (issued to 127.0.0.1); the process trusts it
    // once `trustCertificate()` has run.
    explicit FixtureServer(Scheme scheme = Scheme::Http);
    ~FixtureServer() override;

    // Adds the fixture certificate to the process's default TLS trust, as if a public authority had signed
    // it.
    static void trustCertificate();

    QUrl origin() const;
    quint16 port() const { return port_; }

    // Route on method and path (query ignored). Method "*" matches any method. Later routes win.
    void route(const QByteArray& method, const QString& path, Reply reply);
    void route(const QString& path, Reply reply) { route("*", path, std::move(reply)); }
    void routeJson(const QString& path, const QByteArray& body, int status = 200);
    // Serves a file of tests/fixtures by its name relative to that folder.
    void routeFixture(const QString& path, const QString& fixtureName, int status = 200);
    void clearRoutes() { routes_.clear(); }

    // Offline: the listening socket closes, so connections are refused, as with no network.
    void setOffline(bool offline);

    const QList<LoggedRequest>& log() const { return log_; }
    QList<LoggedRequest> requestsTo(const QString& path) const;
    void clearLog() { log_.clear(); }
    // Bytes of generated bodies written to clients so far.
    qint64 streamedBytes() const { return streamed_; }

    static QByteArray fixture(const QString& name);

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

  private:
    QHash<QString, Reply> routes_;
    QList<LoggedRequest> log_;
    void stream(QTcpSocket* socket, const Reply& reply);

    quint16 port_ = 0;
    qint64 streamed_ = 0;
    Scheme scheme_ = Scheme::Http;
};
