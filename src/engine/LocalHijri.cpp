#include "engine/LocalHijri.h"

#include "engine/CivilDay.h"
#include "engine/LocalHijriDays.h"
#include "engine/LocalLabels.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"

namespace LocalHijri {

int Location::offsetSeconds() const {
    return CivilDay::fixedOffsetSeconds(tzOffsetHours).value_or(0);
}

QTimeZone Location::timeZone() const {
    return QTimeZone(offsetSeconds());
}

qint64 storedDayOffset() {
    return DefaultsStore::standard().integer(QStringLiteral("hijri.authority.dayOffset"));
}

YMD civilYMD(const QDateTime& instant) {
    if (!instant.isValid()) return YMD{};
    return LocalHijriDays::civil(CivilDay::dayOf(instant.toMSecsSinceEpoch(), 0));
}

YMD displayYMD(const QDateTime& from, const std::optional<Location>& location, const QDateTime& today) {
    if (!from.isValid()) return YMD{};
    const std::int64_t todayMs = today.isValid() ? today.toMSecsSinceEpoch() : Clock::nowMs();
    const LocalHijriDays::Context context = LocalHijriDays::makeContext(location, todayMs, storedDayOffset());
    return LocalHijriDays::display(CivilDay::dayOf(from.toMSecsSinceEpoch(), context.offsetSeconds), context);
}

QString monthName(int month, const JsonCoding::StringMap& labels) {
    const QString key = QStringLiteral("hmonth_") + QString::number(month);
    if (const auto it = labels.constFind(key); it != labels.constEnd()) return *it;
    const JsonCoding::StringMap& builtIn = LocalLabels::en();
    if (const auto it = builtIn.constFind(key); it != builtIn.constEnd()) return *it;
    return QStringLiteral("Month ") + QString::number(month);
}

QString shortMonthName(int month, const JsonCoding::StringMap& labels) {
    const QString key = QStringLiteral("hmonth_short_") + QString::number(month);
    if (const auto it = labels.constFind(key); it != labels.constEnd()) return *it;
    const JsonCoding::StringMap& builtIn = LocalLabels::en();
    if (const auto it = builtIn.constFind(key); it != builtIn.constEnd()) return *it;
    return monthName(month, labels);
}

}  // namespace LocalHijri
