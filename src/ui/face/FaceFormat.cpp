#include "FaceFormat.h"

#include "PlaceDateFormat.h"

#include <QLocale>

QString FaceFormat::percent(int pct) {
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(pct) + QLatin1Char('%');
}

QString FaceFormat::eventShortDate(const QString& gregorian, const QString& lang) {
    return PlaceDateFormat::formatCalendarDate(gregorian, lang, QStringLiteral("MMM d")).value_or(gregorian);
}

QString FaceFormat::eventDetail(int hijriDay, const QString& hijriMonthName, const QString& gregorian,
                                const QString& lang) {
    return QString::number(hijriDay) + QLatin1Char(' ') + hijriMonthName + QStringLiteral(" \u00B7 ") +
           eventShortDate(gregorian, lang);
}

QString FaceFormat::eventDaysLeft(int inDays, const QString& todayLabel, const QString& daysShortLabel) {
    if (inDays == 0) return todayLabel;
    return QString::number(inDays) + QLatin1Char(' ') + daysShortLabel;
}

int FaceFormat::nextEventIndex(int index, int count) {
    if (count < 2) return index;
    // An index left from a longer list comes back into range; a negative one never escapes it.
    return ((index + 1) % count + count) % count;
}
