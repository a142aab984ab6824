#include "shell/WindowFit.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace WindowFit {

namespace {
// A top panel or title bar above, a bottom panel or title bar below: enough for the common desktops' panels
// with a title bar drawn by the compositor, which the window is never told about.
constexpr QMargins kUnreportedDesktop(0, 32, 0, 48);
}  // namespace

QSize defaultSize(bool phone) {
    return phone ? QSize(402, 850) : QSize(1280, 860);
}

QSize minimumSize(bool phone) {
    return phone ? QSize(360, 640) : QSize(760, 520);
}

QSize fitted(QSize current, double aspect, QRect available) {
    if (!std::isfinite(aspect) || aspect < 0.2 || aspect > 5.0 || current.isEmpty()) return current;
    double width = current.width();
    double height = width / aspect;
    if (!available.isEmpty()) {
        const double scale = std::min({1.0, available.width() / width, available.height() / height});
        width *= scale;
        height *= scale;
    }
    return QSize(int(std::lround(width)), int(std::lround(height)));
}

QRect usableArea(QRect screen, QRect available, QMargins frame, bool reportsWorkArea) {
    QRect area = available.isEmpty() ? screen : available;
    if (area.isEmpty()) return {};
    if (!reportsWorkArea && area == screen) area = area.marginsRemoved(kUnreportedDesktop);
    return area.marginsRemoved(frame);
}

bool platformReportsWorkArea() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace WindowFit
