#pragma once

#include <optional>

// The arithmetic of the face's two layouts: which one a window gets, how the 1280-point design canvas is
// scaled, which measured heights are taken, and the sizes of the dial and its side panels. Pure functions;
// the view only binds to their results.
namespace ClockFaceLayout {

inline constexpr double kDesignWidth = 1280;
inline constexpr double kMinDesignHeight = 860;
inline constexpr double kExtraHeight = 20;
inline constexpr double kWideAbove = 760;  // a window wider than this gets the scaled canvas
inline constexpr double kInitialContentHeight = 860;
inline constexpr double kInitialRowHeight = 520;

// Wide layout constants, in design points.
inline constexpr double kOuterPadding = 14;
inline constexpr double kSpacing = 12;
inline constexpr double kSideColumnWidth = 325.52;
inline constexpr double kWideDialSize = 264.96;
inline constexpr double kWideFlankWidth = 116;
inline constexpr double kDefaultSidePanelSize = 120;
inline constexpr double kMinRowHeight = 480;
inline constexpr double kMaxRowHeight = 640;

// The theme record's switches for the side panels; an absent flag counts as "not false".
struct SidePanelTheme {
    bool present = false;
    std::optional<bool> sunInClock;
    std::optional<bool> moonInClock;
    std::optional<double> sunSize;
    std::optional<double> moonSize;

    bool sunAllowed() const { return !present || sunInClock.value_or(true); }
    bool moonAllowed() const { return !present || moonInClock.value_or(true); }
    // The moon moves from beside the dial into the weather panel only on an explicit "false".
    bool moonInWeatherPanel() const { return present && moonInClock.has_value() && !*moonInClock; }
};

bool isWide(double windowWidth);
double canvasHeight(double contentH);
double canvasScale(double windowWidth, double windowHeight, double contentH);

// The canvas's measured content height, when it is plausible and moved by more than half a point; the
// caller then stores it and reports 1280 / height as the face's aspect.
std::optional<double> acceptedContentHeight(double measured, double currentContentH);
double faceAspect(double contentH);

// The centre column's measured height clamped into the row bounds, when it is taken.
std::optional<double> acceptedRowHeight(double measured, double currentRowH);

// Height left to the vertical forecast strip under the weather panel.
double weatherFitHeight(double rowH, const SidePanelTheme& theme);

// Narrow layout.
bool phonePanels(const SidePanelTheme& theme);
double phoneFlankWidth(const SidePanelTheme& theme);
double phoneDialSize(double windowWidth, const SidePanelTheme& theme);
bool phoneShowsSkyDetail(const SidePanelTheme& theme);

// Both layouts: picture size of a side panel in a slot, and whether each side panel stands by the dial.
double sidePanelSize(double flankWidth, std::optional<double> themeSize);
bool showsSunPanel(double flankWidth, const SidePanelTheme& theme);
bool showsMoonPanel(double flankWidth, const SidePanelTheme& theme);

}  // namespace ClockFaceLayout
