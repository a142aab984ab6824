#include "AccessibleItems.h"

#include "AccessibleAlert.h"

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QtQuick/private/qaccessiblequickitem_p.h>
#include <QtQuick/private/qquickaccessibleattached_p.h>
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
        QQuickItem* shown = item();
        if (!shown->isEnabled()) {
            state.disabled = true;
            state.focusable = false;
        }
        if (role() == QAccessible::Dialog) state.modal = true;
        // Qt says focused of every scope on the way to the focused control (a sheet, its panel); only the
        // control the keys go to has the focus, or an item that says so itself (a pop-up row the arrow keys
        // are on while the keys stay on its list).
        const auto* attached = QQuickAccessibleAttached::attachedProperties(shown);
        if (state.focused && !(attached && attached->state().focused) && shown->window() &&
            shown->window()->activeFocusItem() != shown)
            state.focused = false;
        // A field that is read-only or off (the shown choice of a pop-up list) cannot be edited.
        if (role() == QAccessible::EditableText &&
            (!shown->isEnabled() || shown->property("readOnly").toBool())) {
            state.readOnly = true;
            state.editable = false;
        }
        return state;
    }

    // Qt lists a control's actions by its role, then SetFocus, then the ones its item handles, again when
    // the role listed them: each is listed once here and SetFocus last, so the first is what a click does
    // (a page tab's press, a switch's toggle).
    QStringList actionNames() const override {
        if (!item()->isEnabled()) return {};
        QStringList names = QAccessibleQuickItem::actionNames();
        names.removeDuplicates();
        if (names.removeAll(QAccessibleActionInterface::setFocusAction()) > 0)
            names.append(QAccessibleActionInterface::setFocusAction());
        return names;
    }
    void doAction(const QString& actionName) override {
        QQuickItem* control = item();
        if (!control->isEnabled()) return;
        // A click puts the keys on a control that takes the focus by click, so a sheet it opens gives the
        // focus back to it on closing; a screen reader's press or toggle does the same.
        if (actionName != QAccessibleActionInterface::setFocusAction() &&
            (control->property("focusPolicy").toInt() & Qt::ClickFocus))
            control->forceActiveFocus(Qt::OtherFocusReason);
        QAccessibleQuickItem::doAction(actionName);
    }
};

QAccessibleInterface* accessibleItemFactory(const QString& className, QObject* object) {
    // Answers where Qt Quick's own factory would, for the same items, and leaves windows to it.
    if (className != QLatin1String("QQuickItem")) return nullptr;
    auto* item = qobject_cast<QQuickItem*>(object);
    if (!item || !QQuickItemPrivate::get(item)->isAccessible) return nullptr;
    return new AccessibleItem(item);
}

// Passes on to assistive technology what happens to items in a window only. Qt 6.4 also reports items in
// none, and that is where a closing view's items are on their way out: unparented as they are destroyed,
// each counts as shown again, then hidden, and its bindings still change its states. With a client
// listening, the bridge looks such a half-destroyed item up, and the clock crashed as the settings closed
// after a pick from a pop-up list; a screen reader also heard a closing view's alerts again. No one sees an
// item in no window either way.
void passOnEventsOfItemsInAWindow(QAccessibleEvent* event) {
    if (!QAccessible::isActive()) return;
    if (auto* item = qobject_cast<QQuickItem*>(event->object()); item && !item->window()) return;
    if (!AccessibleAlert::passes(event)) return;
    if (QPlatformIntegration* platform = QGuiApplicationPrivate::platformIntegration())
        if (QPlatformAccessibility* accessibility = platform->accessibility())
            accessibility->notifyAccessibilityUpdate(event);
}

}  // namespace

void AccessibleItems::install() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(accessibleItemFactory);
    QAccessible::installUpdateHandler(passOnEventsOfItemsInAWindow);
}
