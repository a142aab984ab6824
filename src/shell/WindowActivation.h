#pragma once

#include <QByteArray>

class QWindow;

// Bringing the window forward when the clock is asked to: restored if it was minimized, shown if hidden,
// raised and activated with the token the desktop gave the launch that asked, without which a Wayland
// desktop keeps the window where it is.
namespace WindowActivation {

// Restores, shows, raises and activates `window`; an empty token activates with none.
void bringForward(QWindow& window, const QByteArray& token);

// The token this launch was given to bring a window forward with (Wayland's activation token, else X11's
// startup notification id). Read before the application starts, as Qt's X11 plugin takes the id away then.
QByteArray launchToken();

}  // namespace WindowActivation
