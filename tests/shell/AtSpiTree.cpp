#include "AtSpiTree.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QPair>
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
    QList<Reference> pending = childrenOf(bus_, {kRegistry, kDesktop});
    while (!pending.isEmpty() && nodes.size() < limit) {
        const Reference ref = pending.takeFirst();
        AtSpiNode node;
        const QDBusMessage role = call(bus_, ref, kAccessible, QStringLiteral("GetRoleName"));
        if (role.type() == QDBusMessage::ReplyMessage && !role.arguments().isEmpty())
            node.role = role.arguments().first().toString();
        const QDBusMessage name = call(bus_, ref, QStringLiteral("org.freedesktop.DBus.Properties"),
                                       QStringLiteral("Get"), {kAccessible, QStringLiteral("Name")});
        if (name.type() == QDBusMessage::ReplyMessage && !name.arguments().isEmpty())
            node.name = name.arguments().first().value<QDBusVariant>().variant().toString();
        nodes.append(node);
        pending = childrenOf(bus_, ref) + pending;
    }
    return nodes;
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
