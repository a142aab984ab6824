#include "ButtonPress.h"

#include <QCoreApplication>
#include <QKeyEvent>

void ButtonPress::click(QQuickItem* control) const {
    if (!control || !control->isEnabled() || !control->isVisible()) return;
    // Sent to the control itself, not through the window, so it is pressed wherever the keyboard focus is.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(control, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(control, &release);
}
