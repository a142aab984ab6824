#pragma once

#include <QRect>
#include <QSize>

// The window's size rules: the default size (phone or desk), the minimum, and fitting the window to the
// face's aspect ratio inside the screen's free area.
namespace WindowFit {

QSize defaultSize(bool phone);
QSize minimumSize(bool phone);

// Keeps the width where it can and sets the height to width / aspect; when that does not fit the free area,
// both shrink together. A bad aspect leaves the size as it is.
QSize fitted(QSize current, double aspect, QRect available);

}  // namespace WindowFit
