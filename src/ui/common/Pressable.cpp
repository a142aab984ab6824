#include "Pressable.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

Pressable::Pressable(QQuickItem* parent) : QQuickItem(parent) {
    setActiveFocusOnTab(true);
    setAcceptedMouseButtons(Qt::LeftButton);
}

void Pressable::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    emit textChanged();
}

void Pressable::setDown(bool down) {
    if (down == down_) return;
    down_ = down;
    emit downChanged();
}

void Pressable::setVisualFocus(bool visual) {
    if (visual == visualFocus_) return;
    visualFocus_ = visual;
    emit visualFocusChanged();
}

void Pressable::focusInEvent(QFocusEvent* event) {
    QQuickItem::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    setVisualFocus(reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                   reason == Qt::ShortcutFocusReason);
}

void Pressable::focusOutEvent(QFocusEvent* event) {
    QQuickItem::focusOutEvent(event);
    setVisualFocus(false);
    if (spaceHeld_) {
        spaceHeld_ = false;
        setDown(false);
    }
}

void Pressable::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            if (!event->isAutoRepeat()) {
                spaceHeld_ = true;
                setDown(true);
            }
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            if (!event->isAutoRepeat()) emit clicked();
            return;
        default:
            QQuickItem::keyPressEvent(event);
    }
}

void Pressable::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        QQuickItem::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || !spaceHeld_) return;
    spaceHeld_ = false;
    setDown(false);
    emit clicked();
}

void Pressable::mousePressEvent(QMouseEvent* event) {
    forceActiveFocus(Qt::MouseFocusReason);
    setDown(true);
    event->accept();
}

void Pressable::mouseMoveEvent(QMouseEvent* event) {
    // Dragging off the button lets go of it; dragging back holds it again, as buttons do.
    setDown(contains(event->position()));
    event->accept();
}

void Pressable::mouseReleaseEvent(QMouseEvent* event) {
    const bool pressed = down_ && contains(event->position());
    setDown(false);
    event->accept();
    if (pressed) emit clicked();
}

void Pressable::mouseUngrabEvent() {
    setDown(false);
}

void Pressable::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickItem::itemChange(change, value);
    if ((change == ItemEnabledHasChanged && !value.boolValue) ||
        (change == ItemVisibleHasChanged && !value.boolValue)) {
        spaceHeld_ = false;
        setDown(false);
    }
}
