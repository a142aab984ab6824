#include "engine/CivilDay.h"
#include "engine/LocalHijri.h"
#include "engine/LocalHijriCalendar.h"
#include "engine/LocalHijriDays.h"
#include "platform/Clock.h"

#include <cmath>

namespace LocalHijri {

namespace {

LocalHijriDays::Context contextFor(const std::optional<Location>& location, const QDateTime& today) {
    const std::int64_t todayMs = today.isValid() ? today.toMSecsSinceEpoch() : Clock::nowMs();
    return LocalHijriDays::makeContext(location, todayMs, storedDayOffset());
}

QDateTime startOf(std::int64_t day, int offsetSeconds) {
    return QDateTime::fromMSecsSinceEpoch(CivilDay::startOfDayMs(day, offsetSeconds), Qt::OffsetFromUTC,
                                          offsetSeconds);
}

MonthCell cell(const YMD& hijri, std::int64_t day, const LocalHijriDays::Context& context) {
    return {hijri.day,
            hijri.month,
            hijri.year,
            startOf(day, context.offsetSeconds),
            CivilDay::weekday(day),
            day == context.today};
}

}  // namespace

QString MonthCell::id() const {
    const double seconds = gregorian.isValid() ? double(gregorian.toMSecsSinceEpoch()) / 1000.0 : 0.0;
    QString text = QString::number(hijriYear) + u'-' + QString::number(hijriMonth) + u'-' +
                   QString::number(hijriDay) + u'-';
    // Shortest decimal form, a whole number written with a trailing ".0".
    if (seconds == std::trunc(seconds) && std::fabs(seconds) < 1e16) {
        text += QString::number(qint64(seconds)) + QStringLiteral(".0");
    } else {
        text += QString::number(seconds, 'g', QLocale::FloatingPointShortest);
    }
    return text;
}

std::optional<QDateTime> monthStart(int year, int month, const std::optional<Location>& location,
                                    const QDateTime& today) {
    const LocalHijriDays::Context context = contextFor(location, today);
    const std::optional<std::int64_t> day = LocalHijriDays::monthStart(year, month, context);
    if (!day) return std::nullopt;
    return startOf(*day, context.offsetSeconds);
}

QList<MonthCell> monthCells(int year, int month, const std::optional<Location>& location,
                            const QDateTime& today) {
    const LocalHijriDays::Context context = contextFor(location, today);
    const int length = LocalHijriDays::shownMonthLength(year, month, context);
    const std::optional<std::int64_t> start = LocalHijriDays::monthStart(year, month, context);
    QList<MonthCell> cells;
    if (!start || length < 1) return cells;
    cells.reserve(length);
    for (int i = 1; i <= length; ++i) cells.append(cell(YMD{year, month, i}, *start + i - 1, context));
    return cells;
}

QList<MonthCell> gregorianMonthCells(int year, int month, const std::optional<Location>& location,
                                     const QDateTime& today) {
    QList<MonthCell> cells;
    if (month < 1 || month > 12 || year < -100'000 || year > 100'000) return cells;
    const LocalHijriDays::Context context = contextFor(location, today);
    const std::int64_t first = CivilDay::daysFromCivil(year, month, 1);
    const int length = CivilDay::daysInMonth(year, month);
    cells.reserve(length);
    for (std::int64_t day = first; day < first + length; ++day)
        cells.append(cell(LocalHijriDays::display(day, context), day, context));
    return cells;
}

bool canGoTo(int year, int month) {
    if (month < 1 || month > 12 || year < 1 || year > 9999) return false;
    if (!LocalHijriCalendar::toDay(year, month, 1)) return false;
    const std::optional<std::int64_t> next = month < 12 ? LocalHijriCalendar::toDay(year, month + 1, 1)
                                                        : LocalHijriCalendar::toDay(year + 1, 1, 1);
    if (!next) return true;
    return CivilDay::civilFromDays(*next).year >= 1900;
}

}  // namespace LocalHijri
