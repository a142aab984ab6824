#include "ClockFaceLayout.h"

#include <algorithm>
#include <cmath>

namespace ClockFaceLayout {

namespace {
constexpr double kMinAcceptedHeight = 1;
constexpr double kMaxAcceptedHeight = 2000;
constexpr double kHysteresis = 0.5;
constexpr double kMinRowMeasurement = 200;
constexpr double kPhoneFlank = 58;
constexpr double kPhoneGap = 8;

double finiteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}
}  // namespace

bool isWide(double windowWidth) {
    return windowWidth > kWideAbove;
}

double canvasHeight(double contentH) {
    return std::max(finiteOr(contentH, kMinDesignHeight), kMinDesignHeight) + kExtraHeight;
}

double canvasScale(double windowWidth, double windowHeight, double contentH) {
    const double scale = std::min(windowWidth / kDesignWidth, windowHeight / canvasHeight(contentH));
    // A window that is not yet laid out (zero or garbage size) draws nothing rather than a negative canvas.
    return std::isfinite(scale) && scale > 0 ? scale : 0;
}

std::optional<double> acceptedContentHeight(double measured, double currentContentH) {
    if (!(measured > kMinAcceptedHeight && measured < kMaxAcceptedHeight)) return std::nullopt;
    if (std::abs(measured - currentContentH) <= kHysteresis) return std::nullopt;
    return measured;
}

double faceAspect(double contentH) {
    return kDesignWidth / std::max(finiteOr(contentH, 1), 1.0);
}

std::optional<double> acceptedRowHeight(double measured, double currentRowH) {
    if (!(measured > kMinRowMeasurement)) return std::nullopt;
    const double clamped = std::clamp(measured, kMinRowHeight, kMaxRowHeight);
    if (std::abs(clamped - currentRowH) <= kHysteresis) return std::nullopt;
    return clamped;
}

double weatherFitHeight(double rowH, const SidePanelTheme& theme) {
    const double panel = theme.moonInWeatherPanel() ? 284 : 124;
    return std::max(rowH - panel - 12 - 54, 120.0);
}

bool phonePanels(const SidePanelTheme& theme) {
    return theme.sunAllowed() || theme.moonAllowed();
}

double phoneFlankWidth(const SidePanelTheme& theme) {
    return phonePanels(theme) ? kPhoneFlank : 0;
}

double phoneDialSize(double windowWidth, const SidePanelTheme& theme) {
    const bool panels = phonePanels(theme);
    double avail = std::max(finiteOr(windowWidth, 0) - 24, 0.0);
    if (panels) avail -= 2 * kPhoneFlank + 2 * kPhoneGap;
    const double minimum = panels ? 168 : 200;
    const double maximum = panels ? 240 : 280;
    return std::min(maximum, std::max(minimum, avail));
}

bool phoneShowsSkyDetail(const SidePanelTheme& theme) {
    return phoneFlankWidth(theme) > 0 && (theme.sunAllowed() || theme.moonAllowed());
}

double sidePanelSize(double flankWidth, std::optional<double> themeSize) {
    const double wanted = themeSize && std::isfinite(*themeSize) ? *themeSize : kDefaultSidePanelSize;
    // A negative size from a theme draws no picture rather than a mirrored one.
    return std::max(0.0, std::min(flankWidth, wanted));
}

bool showsSunPanel(double flankWidth, const SidePanelTheme& theme) {
    return flankWidth > 0 && theme.sunAllowed();
}

bool showsMoonPanel(double flankWidth, const SidePanelTheme& theme) {
    return flankWidth > 0 && theme.moonAllowed();
}

}  // namespace ClockFaceLayout
