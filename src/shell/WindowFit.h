#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// The window's size rules: the default size (phone or desk), the minimum, and fitting the window to the
// face's aspect ratio inside the part of the screen the user can see.
namespace WindowFit {

QSize defaultSize(bool phone);
QSize minimumSize(bool phone);

// Keeps the width where it can and sets the height to width / aspect; when that does not fit the free area,
// both shrink together. A bad aspect leaves the size as it is.
QSize fitted(QSize current, double aspect, QRect available);

// Where the window's content may go on a screen: its free area less the window's own frame. A platform that
// cannot report a free area (Wayland gives the whole output) still has panels and a title bar it cannot
// measure, so room is left for them there; where the free area is reported (X11), it is taken as it is.
QRect usableArea(QRect screen, QRect available, QMargins frame, bool reportsWorkArea);

// Whether this session's platform reports the desktop's work area.
bool platformReportsWorkArea();

}  // namespace WindowFit
