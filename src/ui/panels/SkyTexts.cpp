#include "SkyTexts.h"

#include "model/DisplayFormat.h"

#include <QDate>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace SkyTexts {

QString phaseLine(const Moon& moon, const ClockBundle& bundle) {
    return moon.phaseName + u" \u00b7 "_s + QString::number(moon.illuminationPct) + u"% "_s +
           bundle.label(u"moon_lit"_s);
}

QString dayLine(const Moon& moon, const ClockBundle& bundle) {
    QString age = QString::fromUtf16(DisplayFormat::missingFigure);
    const double days = std::trunc(moon.ageDays);
    if (std::isfinite(days) && std::fabs(days) < 1e15) age = QString::number(static_cast<qint64>(days));
    return bundle.label(u"moon_day_of"_s) + u' ' + age + u' ' + bundle.label(u"of"_s) + u' ' +
           QString::number(moon.cycleDays.value_or(29));
}

QString distanceLine(const Moon& moon, bool metric) {
    if (!moon.distanceKm) return {};
    return DisplayFormat::distance(static_cast<double>(*moon.distanceKm), metric);
}

QString nameLine(const Moon& moon) {
    return moon.name.value_or(QString());
}

QString formatEclipse(const QString& date, const QLocale& locale) {
    const QDate parsed = QDate::fromString(date, u"yyyy-MM-dd"_s);
    if (!parsed.isValid()) return date;
    return locale.toString(parsed, u"d MMM yyyy"_s);
}

QString eclipseTitle(const QString& title, const Eclipse& eclipse) {
    return title + u" \u00b7 "_s + eclipse.type;
}

QString eclipseDateWithRegion(const Eclipse& eclipse, const ClockBundle& bundle, const QLocale& locale) {
    QString line = formatEclipse(eclipse.date, locale);
    if (eclipse.region) line += u" \u00b7 "_s + bundle.label(u"visible_in"_s) + u' ' + *eclipse.region;
    return line;
}

}  // namespace SkyTexts
