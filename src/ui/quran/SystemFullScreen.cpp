#include "ui/quran/SystemFullScreen.h"

#include <QGuiApplication>

SystemFullScreen::Windows SystemFullScreen::application() {
    return {[] { return QGuiApplication::focusWindow(); }, [] { return QGuiApplication::topLevelWindows(); }};
}

bool SystemFullScreen::isFullScreen(const QWindow* window) {
    return window && window->windowStates().testFlag(Qt::WindowFullScreen);
}

void SystemFullScreen::toggle(QWindow* window) {
    if (!window) return;
    window->setWindowStates(window->windowStates() ^ Qt::WindowFullScreen);
}

void SystemFullScreen::enterIfNeeded() {
    QWindow* window = windows_.keyWindow();
    if (!window) {
        for (QWindow* candidate : windows_.windows()) {
            if (candidate->isVisible()) {
                window = candidate;
                break;
            }
        }
    }
    if (!window || isFullScreen(window)) return;
    toggle(window);
    entered_ = true;
}

void SystemFullScreen::exitIfNeeded() {
    if (!entered_) return;
    if (QWindow* key = windows_.keyWindow()) {
        if (isFullScreen(key)) toggle(key);
    } else {
        for (QWindow* candidate : windows_.windows()) {
            if (isFullScreen(candidate)) {
                toggle(candidate);
                break;
            }
        }
    }
    entered_ = false;
}
