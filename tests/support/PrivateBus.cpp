#include "PrivateBus.h"

#include "platform/DesktopNotifications.h"

#include <QDBusConnectionInterface>
#include <QFile>
#include <QTest>
#include <QUuid>
#include <csignal>

PrivateBus::PrivateBus() {
    QFile config(dir_.filePath(QStringLiteral("bus.conf")));
    if (config.open(QIODevice::WriteOnly)) {
        config.write(
            "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>"
            "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
            "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
            "</busconfig>");
        config.close();
    }
    QProcess p;
    p.start(QStringLiteral("dbus-daemon"),
            {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--fork"),
             QStringLiteral("--print-address=1"), QStringLiteral("--print-pid=1")});
    p.waitForFinished(10000);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() >= 2) {
        address_ = lines[0].trimmed();
        pid_ = lines[1].trimmed().toLongLong();
    }
    connectionName_ =
        QStringLiteral("orvane-private-bus-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

PrivateBus::~PrivateBus() {
    for (const std::unique_ptr<QProcess>& server : servers_) {
        server->terminate();
        server->waitForFinished(5000);
    }
    QDBusConnection::disconnectFromBus(connectionName_);
    if (pid_ > 0) ::kill(pid_t(pid_), SIGTERM);
}

QDBusConnection PrivateBus::connection() const {
    return QDBusConnection::connectToBus(address_, connectionName_);
}

QString PrivateBus::startNotificationServer() {
    const QDBusConnection bus = connection();
    if (!bus.isConnected() || !bus.interface()) return {};
    const QString name = QString::fromLatin1(DesktopNotifications::service);
    const QString before = bus.interface()->serviceOwner(name).value();
    auto server = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
    server->setProcessEnvironment(environment);
    server->setStandardOutputFile(QProcess::nullDevice());
    server->start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--template"),
                   QStringLiteral("notification_daemon")});
    servers_.push_back(std::move(server));
    QString owner;
    const bool taken = QTest::qWaitFor(
        [&] {
            owner = bus.interface()->serviceOwner(name).value();
            return !owner.isEmpty() && owner != before;
        },
        10000);
    return taken ? owner : QString();
}
