#pragma once

#include <QString>
#include <QStringView>

// The words of the call to prayer in the call languages, one phrase per line, as the bundle carries them and
// as the player shows them while a call sounds.
namespace AdhanTexts {

struct Table {
    QString fajrTitle;
    QString regularTitle;
    QString fajr;
    QString regular;
};

// The part of the code before "-" picks "ar", "ur" or "fr" (exactly); any other code gives English. The
// tables are built once and live for the whole program.
const Table& table(QStringView lang);

// The text shown while a call plays. The dawn call always shows a text that holds the dawn-only phrase (the
// language's own, else the Arabic one); another call shows the bundle's text unless it is blank.
QString resolvedBody(bool isFajr, QStringView lang, const QString& serverText);

// Whether a line is the dawn-only phrase: the Arabic-script word of "an-nawm" (also with vowel marks,
// Quranic marks or elongation between its letters), or "khayrun", "an-nawm" or "as-salatu" in any case.
// Allocates nothing.
bool containsFajrExtra(QStringView text);

}  // namespace AdhanTexts
