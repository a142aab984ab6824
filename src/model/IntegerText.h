#pragma once

#include <QStringView>
#include <QtGlobal>
#include <optional>

// Whole-text decimal integers as servers and stored strings write them.
namespace IntegerText {

// An optional "+" or "-", then ASCII digits only (no spaces, no other digits), within the signed 64-bit
// range; anything else, the empty text included, is no number.
std::optional<qint64> parse(QStringView text);

}  // namespace IntegerText
