#pragma once

#include "model/BlessingsRecords.h"

#include <QString>
#include <optional>

// The devotional texts the program carries itself, and the one-line credit drawn from a card.
namespace BlessingsCopy {

inline const QString fiSabilillahId = QStringLiteral("fi_sabilillah");

// The built-in "fi_sabilillah" card, complete in every field.
BlessingsCard fiSabilillah();

// "<Arabic phrase> · <dua in English>" on one line. Each part comes from `card` when it has text there,
// else from the built-in card; line breaks and runs of spaces in a server's text collapse to one space.
QString creditLine(const std::optional<BlessingsCard>& card);

// The alerts panel's line under a call: the card's Arabic phrase, " · ", its English dua, each replaced by
// a fixed text when the card has none. It starts with a left-to-right mark, so the line reads from the left,
// Arabic phrase first, whatever script the phrase is in.
QString alertsLine(const BlessingsCard& card);

}  // namespace BlessingsCopy
