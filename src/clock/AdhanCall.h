#pragma once

#include "clock/AdhanPlayer.h"

struct ClockBundle;

// What the overlay shows for one prayer's call: title and text from the bundle's call-to-prayer items (the
// call language's own when the bundle has none), the prayer's name and its rak'ahs from the bundle's labels.
namespace AdhanCall {

// `prayer` is one of the five keys; `friday` is the place's weekday, which turns dhuhr into Jumu'ah.
AdhanPlayer::Call compose(const ClockBundle& bundle, const QString& prayer, const QString& adhanLang,
                          bool friday);

}  // namespace AdhanCall
