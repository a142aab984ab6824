#pragma once

#include "platform/DesktopNotifications.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <vector>

// Reads what the mock notification server (started by the test command) was asked to show, and makes it
// send signals as if the user acted. Other test programs share the server, so calls are found by summary.
namespace notificationmock {

struct Notify {
    QString appName;
    uint replacesId = 0;
    QString icon, summary, body;
    QStringList actions;
    QVariantMap hints;
    int timeout = 0;
};

inline QDBusMessage call(const QString& method, const QVariantList& args,
                         const QDBusConnection& bus = QDBusConnection::sessionBus()) {
    QDBusMessage m = QDBusMessage::createMethodCall(QString::fromLatin1(DesktopNotifications::service),
                                                    QString::fromLatin1(DesktopNotifications::path),
                                                    QStringLiteral("org.freedesktop.DBus.Mock"), method);
    m.setArguments(args);
    return bus.call(m, QDBus::Block, 5000);
}

inline QVariantMap readHints(const QVariant& value) {
    QVariantMap hints;
    if (value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> hints;
    else
        hints = value.toMap();
    for (auto it = hints.begin(); it != hints.end(); ++it)
        if (it->canConvert<QDBusVariant>()) *it = it->value<QDBusVariant>().variant();
    return hints;
}

inline std::vector<Notify> notifies(const QString& summary) {
    std::vector<Notify> found;
    const QDBusMessage reply = call(QStringLiteral("GetMethodCalls"), {QStringLiteral("Notify")});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return found;
    const QDBusArgument calls = reply.arguments().at(0).value<QDBusArgument>();
    calls.beginArray();
    while (!calls.atEnd()) {
        qulonglong when = 0;
        QVariantList args;
        calls.beginStructure();
        calls >> when >> args;
        calls.endStructure();
        if (args.size() != 8 || args[3].toString() != summary) continue;
        found.push_back(Notify{args[0].toString(), args[1].toUInt(), args[2].toString(), args[3].toString(),
                               args[4].toString(), args[5].toStringList(), readHints(args[6]),
                               args[7].toInt()});
    }
    calls.endArray();
    return found;
}

inline void emitSignal(const QString& name, const QString& signature, const QVariantList& args,
                       const QDBusConnection& bus = QDBusConnection::sessionBus()) {
    QVariantList wrapped;
    for (const QVariant& a : args) wrapped << QVariant::fromValue(QDBusVariant(a));
    call(QStringLiteral("EmitSignal"),
         {QString::fromLatin1(DesktopNotifications::interface), name, signature, QVariant(wrapped)}, bus);
}

}  // namespace notificationmock
