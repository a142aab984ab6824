#include "AccessibleItems.h"

#include <QtQuick/private/qaccessiblequickitem_p.h>
#include <QtQuick/private/qquickitem_p.h>
#include <QQuickItem>
#include <QQuickWindow>

namespace {

class AccessibleItem : public QAccessibleQuickItem {
  public:
    using QAccessibleQuickItem::QAccessibleQuickItem;

    QRect rect() const override {
        QQuickItem* shown = item();
        const QRect unscaled = QAccessibleQuickItem::rect();
        if (unscaled.isNull() || !shown->window()) return unscaled;
        // Qt falls back on the implicit or the parent's size for an empty item; that size is in the item's
        // own units too, so it is mapped the same way.
        const QRectF drawn = shown->mapRectToScene(QRectF(0, 0, unscaled.width(), unscaled.height()));
        return QRect(shown->window()->mapToGlobal(drawn.topLeft().toPoint()), drawn.size().toSize());
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleQuickItem::state();
        if (!item()->isEnabled()) {
            state.disabled = true;
            state.focusable = false;
        }
        if (role() == QAccessible::Dialog) state.modal = true;
        return state;
    }

    QStringList actionNames() const override {
        return item()->isEnabled() ? QAccessibleQuickItem::actionNames() : QStringList();
    }
    void doAction(const QString& actionName) override {
        if (item()->isEnabled()) QAccessibleQuickItem::doAction(actionName);
    }
};

QAccessibleInterface* accessibleItemFactory(const QString& className, QObject* object) {
    // Answers where Qt Quick's own factory would, for the same items, and leaves windows to it.
    if (className != QLatin1String("QQuickItem")) return nullptr;
    auto* item = qobject_cast<QQuickItem*>(object);
    if (!item || !QQuickItemPrivate::get(item)->isAccessible) return nullptr;
    return new AccessibleItem(item);
}

}  // namespace

void AccessibleItems::install() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(accessibleItemFactory);
}
