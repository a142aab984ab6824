#include "shell/WindowActivation.h"

#include <QGuiApplication>
#include <QWindow>

namespace WindowActivation {

namespace {
constexpr char kWaylandToken[] = "XDG_ACTIVATION_TOKEN";
constexpr char kStartupId[] = "DESKTOP_STARTUP_ID";
}  // namespace

Qt::WindowStates restored(Qt::WindowStates states) {
    return states & ~Qt::WindowMinimized;
}

void bringForward(QWindow& window, const QByteArray& token) {
    // Qt's Wayland plugin activates with the token it finds in the environment, and X11 has no way to hand
    // a running program a startup id: there the window manager judges the request by itself.
    if (!token.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland"))
        qputenv(kWaylandToken, token);
    if (window.windowStates() & Qt::WindowMinimized) window.setWindowStates(restored(window.windowStates()));
    // Not show(), which would make a maximized or full-screen window a normal one.
    window.setVisible(true);
    window.raise();
    window.requestActivate();
    // A token is good for one activation: whatever is left of this one, or of the launch's own, is never
    // offered again.
    qunsetenv(kWaylandToken);
}

QByteArray launchToken() {
    const QByteArray wayland = qgetenv(kWaylandToken);
    return wayland.isEmpty() ? qgetenv(kStartupId) : wayland;
}

}  // namespace WindowActivation
