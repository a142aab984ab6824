#include "AccessibleAlert.h"

#include <QAccessible>
#include <QHash>
#include <QQuickItem>

namespace {

// The message each alert on show last said.
QHash<const QObject*, QString>& said() {
    static QHash<const QObject*, QString> messages;
    return messages;
}

}  // namespace

void AccessibleAlert::raise(QQuickItem* alert) const {
    if (!alert || !alert->isVisible() || !QAccessible::isActive()) return;
    QAccessibleEvent shown(alert, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

bool AccessibleAlert::passes(QAccessibleEvent* event) {
    const bool shows = event->type() == QAccessible::ObjectShow;
    if (!shows && event->type() != QAccessible::ObjectHide) return true;
    QObject* object = event->object();
    QAccessibleInterface* alert = event->accessibleInterface();
    if (!object || !alert || alert->role() != QAccessible::AlertMessage) return true;
    if (!shows) {
        said().remove(object);
        return true;
    }
    const QString message = alert->text(QAccessible::Name);
    if (!said().contains(object))
        QObject::connect(object, &QObject::destroyed, [](QObject* gone) { said().remove(gone); });
    else if (said().value(object) == message)
        return false;
    said().insert(object, message);
    return true;
}
