#include "CalendarTexts.h"

#include "engine/CivilDay.h"
#include "ui/face/PlaceDateFormat.h"

#include <cmath>

namespace CalendarTexts {

namespace {

const QString kEnDash = QStringLiteral("\u2013");
const QString kSpacedEnDash = QStringLiteral(" \u2013 ");
const QString kAH = QStringLiteral(" AH");

std::int64_t msOf(const LocalHijri::MonthCell& cell) {
    return cell.gregorian.toMSecsSinceEpoch();
}

}  // namespace

QString gregorian(std::int64_t ms, const Context& context, const QString& pattern) {
    return PlaceDateFormat::format(ms, context.lang, context.offsetSeconds, pattern);
}

QString longGregorian(std::int64_t ms, const Context& context) {
    return gregorian(ms, context, QStringLiteral("EEEE, d MMMM yyyy"));
}

QStringList weekdaySymbols(const QString& lang) {
    QStringList symbols = PlaceDateFormat::veryShortWeekdaySymbols(lang);
    if (symbols.size() != 7) symbols = QStringLiteral("S,M,T,W,T,F,S").split(u',');
    return symbols;
}

int leadingBlanks(const QList<LocalHijri::MonthCell>& cells) {
    if (cells.isEmpty()) return 0;
    return qBound(0, cells.constFirst().weekday - 1, 6);
}

int rowCount(int leadingBlanks, qsizetype cellCount) {
    return qMax(int(std::ceil(double(leadingBlanks + cellCount) / 7.0)), 5);
}

QString hijriDate(const LocalHijri::MonthCell& cell, const Context& context) {
    return QString::number(cell.hijriDay) + u' ' + LocalHijri::monthName(cell.hijriMonth, context.labels) +
           u' ' + QString::number(cell.hijriYear) + kAH;
}

QString caption(const LocalHijri::MonthCell& cell, bool hijriGrid, const Context& context) {
    if (hijriGrid) return gregorian(msOf(cell), context, QStringLiteral("d MMM"));
    return QString::number(cell.hijriDay) + u' ' +
           LocalHijri::shortMonthName(cell.hijriMonth, context.labels);
}

QString dayNumber(const LocalHijri::MonthCell& cell, bool hijriGrid, const Context& context) {
    if (hijriGrid) return QString::number(cell.hijriDay);
    return gregorian(msOf(cell), context, QStringLiteral("d"));
}

QString gregorianTitle(int year, int month, const Context& context) {
    if (CivilDay::isValid({year, month, 1})) {
        const std::int64_t first =
            CivilDay::startOfDayMs(CivilDay::daysFromCivil(year, month, 1), context.offsetSeconds);
        const QString text = gregorian(first, context, QStringLiteral("LLLL yyyy"));
        if (!text.isEmpty()) return text;
    }
    return QString::number(month) + u'/' + QString::number(year);
}

QString hijriTitle(int year, int month, const Context& context) {
    return LocalHijri::monthName(month, context.labels) + u' ' + QString::number(year) + kAH;
}

QString hijriRange(const QList<LocalHijri::MonthCell>& cells, const Context& context) {
    if (cells.isEmpty()) return {};
    const LocalHijri::MonthCell& f = cells.constFirst();
    const LocalHijri::MonthCell& l = cells.constLast();
    const auto shortName = [&](const LocalHijri::MonthCell& c) {
        return LocalHijri::shortMonthName(c.hijriMonth, context.labels);
    };
    if (f.hijriYear == l.hijriYear && f.hijriMonth == l.hijriMonth)
        return QString::number(f.hijriDay) + kEnDash + QString::number(l.hijriDay) + u' ' +
               LocalHijri::monthName(f.hijriMonth, context.labels) + u' ' + QString::number(f.hijriYear) +
               kAH;
    if (f.hijriYear != l.hijriYear)
        return QString::number(f.hijriDay) + u' ' + shortName(f) + u' ' + QString::number(f.hijriYear) +
               kSpacedEnDash + QString::number(l.hijriDay) + u' ' + shortName(l) + u' ' +
               QString::number(l.hijriYear) + kAH;
    return QString::number(f.hijriDay) + u' ' + shortName(f) + kSpacedEnDash + QString::number(l.hijriDay) +
           u' ' + shortName(l) + u' ' + QString::number(l.hijriYear) + kAH;
}

QString gregorianRange(const LocalHijri::MonthCell& first, const QList<LocalHijri::MonthCell>& cells,
                       const Context& context) {
    const LocalHijri::MonthCell& last = cells.isEmpty() ? first : cells.constLast();
    const QString pattern = QStringLiteral("MMM yyyy");
    const QString from = gregorian(msOf(first), context, pattern);
    const QString to = gregorian(msOf(last), context, pattern);
    if (from == to) return from;
    return from + kSpacedEnDash + to;
}

}  // namespace CalendarTexts
