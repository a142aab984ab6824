#include "shell/WindowActivation.h"

#include <QGuiApplication>
#include <QWindow>

namespace WindowActivation {

namespace {
constexpr char kWaylandToken[] = "XDG_ACTIVATION_TOKEN";
constexpr char kStartupId[] = "DESKTOP_STARTUP_ID";
}  // namespace

void bringForward(QWindow& window, const QByteArray& token) {
    // Qt's Wayland plugin activates with the token it finds in the environment, and X11 has no way to hand
    // a running program a startup id: there the window manager judges the request by itself.
    if (!token.isEmpty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv(kWaylandToken, token);
    // Its own states come back, maximized or full screen included.
    if (window.windowStates() & Qt::WindowMinimized)
        window.setWindowStates(window.windowStates() & ~Qt::WindowMinimized);
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
