#pragma once

#include "model/ClockBundle.h"

#include <QString>

// The words of the alerts panel: which alerts count as severe, one line per alert and the ticker that
// scrolls them all.
namespace AlertTexts {

// Emergency flag first; without one, only the exact severities "Severe" and "Extreme".
bool isSevere(const Alert& alert);
bool anySevere(const QList<Alert>& alerts);

// One-line summary of an alert; `metric` picks the distance unit of earthquakes.
QString summary(const Alert& alert, const ClockBundle& bundle, bool metric);

// Every alert with its marker, joined by the wide bullet separator; a single item is repeated so the
// scrolling line never runs empty.
QString tickerText(const ClockBundle& bundle, bool metric);

inline constexpr char16_t separator[] = u"      \u2022      ";

}  // namespace AlertTexts
