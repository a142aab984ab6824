#include "AtSpiTree.h"

#include "OrvaneProcess.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QPair>
#include <QStandardPaths>
#include <QTest>
#include <QUuid>

namespace {

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kRegistry = QStringLiteral("org.a11y.atspi.Registry");
const QString kDesktop = QStringLiteral("/org/a11y/atspi/accessible/root");

using Reference = QPair<QString, QString>;  // bus name, object path

QDBusMessage call(QDBusConnection& bus, const Reference& ref, const QString& interface, const QString& method,
                  const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(ref.first, ref.second, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, 5000);
}

QList<Reference> childrenOf(QDBusConnection& bus, const Reference& ref) {
    QList<Reference> out;
    const QDBusMessage reply = call(bus, ref, kAccessible, QStringLiteral("GetChildren"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return out;
    const QDBusArgument list = reply.arguments().first().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString service;
        QDBusObjectPath path;
        list.beginStructure();
        list >> service >> path;
        list.endStructure();
        out.append({service, path.path()});
    }
    list.endArray();
    return out;
}

QString nameOf(QDBusConnection& bus, const Reference& ref) {
    const QDBusMessage name = call(bus, ref, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("Get"), {kAccessible, QStringLiteral("Name")});
    if (name.type() != QDBusMessage::ReplyMessage || name.arguments().isEmpty()) return {};
    return name.arguments().first().value<QDBusVariant>().variant().toString();
}

QString roleOf(QDBusConnection& bus, const Reference& ref) {
    const QDBusMessage role = call(bus, ref, kAccessible, QStringLiteral("GetRoleName"));
    if (role.type() != QDBusMessage::ReplyMessage || role.arguments().isEmpty()) return {};
    return role.arguments().first().toString();
}

// Walks every object depth first until `visit` returns true; gives whether it did.
template <typename Visit>
bool walk(QDBusConnection& bus, int limit, Visit visit) {
    QList<Reference> pending = childrenOf(bus, {kRegistry, kDesktop});
    for (int seen = 0; !pending.isEmpty() && seen < limit; ++seen) {
        const Reference ref = pending.takeFirst();
        if (visit(ref)) return true;
        pending = childrenOf(bus, ref) + pending;
    }
    return false;
}

const QString kAccessibilityBusConfig = QStringLiteral("/usr/share/defaults/at-spi2/accessibility.conf");

// Starts a helper that prints one line (an address, a display number) once it is ready.
bool startAndReadLine(QProcess& process, const QString& program, const QStringList& arguments,
                      QString& line) {
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) return false;
    if (!QTest::qWaitFor([&] { return process.canReadLine(); }, 10000)) return false;
    line = QString::fromLocal8Bit(process.readLine()).trimmed();
    return !line.isEmpty();
}

}  // namespace

AtSpiTree::AtSpiTree(const QString& busAddress)
    : connectionName_(QStringLiteral("atspi-") + QUuid::createUuid().toString(QUuid::WithoutBraces)),
      bus_(QDBusConnection::connectToBus(busAddress, connectionName_)) {}

AtSpiTree::~AtSpiTree() {
    QDBusConnection::disconnectFromBus(connectionName_);
}

int AtSpiTree::applicationCount() {
    return int(childrenOf(bus_, {kRegistry, kDesktop}).size());
}

QList<AtSpiNode> AtSpiTree::readAll(int limit) {
    QList<AtSpiNode> nodes;
    walk(bus_, limit, [&](const Reference& ref) {
        nodes.append({roleOf(bus_, ref), nameOf(bus_, ref)});
        return false;
    });
    return nodes;
}

bool AtSpiTree::press(const QString& role, const QString& name, int limit) {
    const QString action = QStringLiteral("org.a11y.atspi.Action");
    bool pressed = false;
    walk(bus_, limit, [&](const Reference& ref) {
        if (nameOf(bus_, ref) != name || roleOf(bus_, ref) != role) return false;
        const QDBusMessage count = call(bus_, ref, QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"), {action, QStringLiteral("NActions")});
        const int actions = count.arguments().isEmpty()
                                ? 0
                                : count.arguments().first().value<QDBusVariant>().variant().toInt();
        for (int i = 0; i < actions; ++i) {
            const QDBusMessage actionName = call(bus_, ref, action, QStringLiteral("GetName"), {i});
            if (actionName.arguments().isEmpty() ||
                actionName.arguments().first().toString().compare(u"press", Qt::CaseInsensitive) != 0)
                continue;
            const QDBusMessage done = call(bus_, ref, action, QStringLiteral("DoAction"), {i});
            pressed = done.type() == QDBusMessage::ReplyMessage && !done.arguments().isEmpty() &&
                      done.arguments().first().toBool();
            break;
        }
        return true;
    });
    return pressed;
}

AccessibilityBusName::AccessibilityBusName(const QString& address) : address_(address) {}

AccessibilityBusName::~AccessibilityBusName() {
    if (!announced_) return;
    QDBusConnection session = QDBusConnection::sessionBus();
    session.unregisterObject(QStringLiteral("/org/a11y/bus"));
    session.unregisterService(QStringLiteral("org.a11y.Bus"));
}

bool AccessibilityBusName::announce() {
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected()) return false;
    if (!session.registerObject(QStringLiteral("/org/a11y/bus"), this, QDBusConnection::ExportAllSlots))
        return false;
    if (!session.registerService(QStringLiteral("org.a11y.Bus"))) {
        session.unregisterObject(QStringLiteral("/org/a11y/bus"));
        return false;
    }
    announced_ = true;
    return true;
}

AccessibleDesktop::AccessibleDesktop() = default;

AccessibleDesktop::~AccessibleDesktop() {
    busName_.reset();
    stopProcess(display_);
    stopProcess(bus_);
}

bool AccessibleDesktop::start(QString& whyNot) {
    if (!QFile::exists(kAccessibilityBusConfig) ||
        QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        whyNot = QStringLiteral("needs at-spi2-core and Xvfb");
        return false;
    }
    if (!startAndReadLine(bus_, QStringLiteral("dbus-daemon"),
                          {QStringLiteral("--config-file=") + kAccessibilityBusConfig,
                           QStringLiteral("--nofork"), QStringLiteral("--print-address")},
                          busAddress_)) {
        whyNot = QStringLiteral("the accessibility bus did not start");
        return false;
    }
    busName_ = std::make_unique<AccessibilityBusName>(busAddress_);
    // Tests side by side share the session bus, where one accessibility bus can be named at a time: a
    // test waits for the ones before it to finish rather than skip. Four such tests can queue, one of
    // them waiting up to a minute and a half for a prayer minute; the wait ends within the tests' limit.
    if (!QTest::qWaitFor([&] { return busName_->announce(); }, 180000)) {
        whyNot = QStringLiteral("the session bus kept another accessibility bus");
        return false;
    }
    if (!startAndReadLine(display_, QStringLiteral("Xvfb"),
                          {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1400x1000x24")},
                          displayNumber_)) {
        whyNot = QStringLiteral("Xvfb did not start");
        return false;
    }
    return true;
}

QProcessEnvironment AccessibleDesktop::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + displayNumber_);
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    return env;
}
