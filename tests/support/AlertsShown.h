#pragma once

#include <QAccessible>
#include <QQuickItem>
#include <QStringList>

// The names of the alerts a screen reader finds on show under `root`: what it announces as each appears.
// (Offscreen there is no accessibility bridge to send the announcements themselves.)
inline QStringList alertsShown(QQuickItem* root) {
    QStringList names;
    if (!root || !root->isVisible()) return names;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(root);
    if (a && a->role() == QAccessible::AlertMessage && !a->state().invisible)
        names.append(a->text(QAccessible::Name));
    for (QQuickItem* child : root->childItems()) names.append(alertsShown(child));
    return names;
}
