#include "InputMode.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

InputMode::InputMode(QObject* parent) : QObject(parent) {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

bool InputMode::eventFilter(QObject* watched, QEvent* event) {
    bool keyboard = keyboard_;
    switch (event->type()) {
        case QEvent::KeyPress:
            keyboard = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
            keyboard = false;
            break;
        default:
            return false;
    }
    // The window sees each input once, before its items do; what the views send themselves (a screen
    // reader's press goes to the control as a key) never passes through it. Key events from the X server
    // reach the window as not spontaneous, so that flag tells nothing here.
    if (keyboard != keyboard_ && watched->isWindowType()) {
        keyboard_ = keyboard;
        emit keyboardChanged();
    }
    return false;
}
