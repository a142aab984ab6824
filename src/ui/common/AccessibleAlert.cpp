#include "AccessibleAlert.h"

#include <QAccessible>
#include <QQuickItem>

void AccessibleAlert::raise(QQuickItem* alert) const {
    if (!alert || !alert->isVisible() || !QAccessible::isActive()) return;
    QAccessibleEvent shown(alert, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
