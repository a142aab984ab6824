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
#include <algorithm>

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

quint64 statesOf(QDBusConnection& bus, const Reference& ref) {
    const QDBusMessage reply = call(bus, ref, kAccessible, QStringLiteral("GetState"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return 0;
    const QDBusArgument words = reply.arguments().first().value<QDBusArgument>();
    quint64 states = 0;
    words.beginArray();
    for (int shift = 0; !words.atEnd(); shift += 32) {
        quint32 word = 0;
        words >> word;
        states |= quint64(word) << shift;
    }
    words.endArray();
    return states;
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

QList<AtSpiNode> AtSpiTree::readAll(int limit, bool withStates) {
    QList<AtSpiNode> nodes;
    walk(bus_, limit, [&](const Reference& ref) {
        nodes.append({roleOf(bus_, ref), nameOf(bus_, ref), withStates ? statesOf(bus_, ref) : 0});
        return false;
    });
    return nodes;
}

namespace {

const QString kAction = QStringLiteral("org.a11y.atspi.Action");

QStringList actionNamesOf(QDBusConnection& bus, const Reference& ref) {
    const QDBusMessage count = call(bus, ref, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {kAction, QStringLiteral("NActions")});
    const int actions =
        count.arguments().isEmpty() ? 0 : count.arguments().first().value<QDBusVariant>().variant().toInt();
    QStringList names;
    for (int i = 0; i < actions; ++i) {
        const QDBusMessage name = call(bus, ref, kAction, QStringLiteral("GetName"), {i});
        names << (name.arguments().isEmpty() ? QString() : name.arguments().first().toString());
    }
    return names;
}

}  // namespace

bool AtSpiTree::press(const QString& role, const QString& name, int limit) {
    bool pressed = false;
    walk(bus_, limit, [&](const Reference& ref) {
        if (nameOf(bus_, ref) != name || roleOf(bus_, ref) != role) return false;
        const QStringList actions = actionNamesOf(bus_, ref);
        for (int i = 0; i < actions.size(); ++i) {
            if (actions[i].compare(u"press", Qt::CaseInsensitive) != 0) continue;
            const QDBusMessage done = call(bus_, ref, kAction, QStringLiteral("DoAction"), {i});
            pressed = done.type() == QDBusMessage::ReplyMessage && !done.arguments().isEmpty() &&
                      done.arguments().first().toBool();
            break;
        }
        return true;
    });
    return pressed;
}

QStringList AtSpiTree::actions(const QString& role, const QString& name, int limit) {
    QStringList actions;
    walk(bus_, limit, [&](const Reference& ref) {
        if (nameOf(bus_, ref) != name || roleOf(bus_, ref) != role) return false;
        actions = actionNamesOf(bus_, ref);
        return true;
    });
    return actions;
}

AtSpiListener::AtSpiListener(const QString& busAddress)
    : connectionName_(QStringLiteral("atspi-listener-") + QUuid::createUuid().toString(QUuid::WithoutBraces)),
      bus_(QDBusConnection::connectToBus(busAddress, connectionName_)) {}

AtSpiListener::~AtSpiListener() {
    QDBusConnection::disconnectFromBus(connectionName_);
}

bool AtSpiListener::listen() {
    const QStringList object{QStringLiteral("StateChanged"),     QStringLiteral("ChildrenChanged"),
                             QStringLiteral("PropertyChange"),   QStringLiteral("TextChanged"),
                             QStringLiteral("SelectionChanged"), QStringLiteral("BoundsChanged")};
    for (const QString& member : object)
        bus_.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"), member, this,
                     SLOT(onEvent(QDBusMessage)));
    bus_.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Focus"), QStringLiteral("Focus"),
                 this, SLOT(onEvent(QDBusMessage)));
    for (const QString& member : {QStringLiteral("Activate"), QStringLiteral("Deactivate")})
        bus_.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Window"), member, this,
                     SLOT(onEvent(QDBusMessage)));
    for (const QString& event :
         {QStringLiteral("object:"), QStringLiteral("focus:"), QStringLiteral("window:")}) {
        QDBusMessage m = QDBusMessage::createMethodCall(kRegistry, QStringLiteral("/org/a11y/atspi/registry"),
                                                        kRegistry, QStringLiteral("RegisterEvent"));
        m.setArguments({event, QStringList(), QString()});
        if (bus_.call(m, QDBus::Block, 5000).type() != QDBusMessage::ReplyMessage) return false;
    }
    return true;
}

void AtSpiListener::onEvent(const QDBusMessage& message) {
    const Reference source{message.service(), message.path()};
    const QVariantList args = message.arguments();
    Event event{message.member(), 0, roleOf(bus_, source), nameOf(bus_, source)};
    if (!args.isEmpty() && !args.first().toString().isEmpty()) event.kind += u':' + args.first().toString();
    if (args.size() > 1) event.detail = args.at(1).toInt();
    // An object already gone is known by what was read of it before, as a screen reader's cache knows it.
    const QString key = source.first + source.second;
    if (event.role.isEmpty()) {
        event.role = known_.value(key).first;
        event.name = known_.value(key).second;
    } else {
        known_.insert(key, {event.role, event.name});
    }
    events_.append(event);
    // What a screen reader caches of the source's state and of each of its children.
    call(bus_, source, kAccessible, QStringLiteral("GetState"));
    for (const Reference& child : childrenOf(bus_, source)) {
        nameOf(bus_, child);
        call(bus_, child, QStringLiteral("org.a11y.atspi.Component"), QStringLiteral("GetExtents"), {0u});
        call(bus_, child, QStringLiteral("org.a11y.atspi.Text"), QStringLiteral("GetText"), {0, -1});
    }
}

int AtSpiListener::announcements(const QString& name) const {
    return int(std::count_if(events_.begin(), events_.end(), [&](const Event& e) {
        return e.kind == u"StateChanged:showing" && e.detail == 1 && e.role == u"alert message" &&
               e.name == name;
    }));
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
