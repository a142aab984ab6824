#include "engine/LocalHijriEvents.h"

#include "engine/CivilDay.h"
#include "engine/LocalHijriDays.h"
#include "platform/Clock.h"

#include <algorithm>

namespace LocalHijri {

namespace {

struct AnnualEvent {
    const char* key;
    int month;
    int day;
};

constexpr AnnualEvent kEvents[] = {
    {"islamic_new_year", 1, 1}, {"ashura", 1, 10},        {"mawlid", 3, 12},
    {"isra_miraj", 7, 27},      {"shab_e_barat", 8, 15},  {"ramadan_start", 9, 1},
    {"eid_al_fitr", 10, 1},     {"day_of_arafah", 12, 9}, {"eid_al_adha", 12, 10},
};

// Three Hijri years of nine rows: enough for any count the clock asks for.
constexpr int kYears = 3;

}  // namespace

QList<Event> upcomingEvents(const QDateTime& today, int count, const JsonCoding::StringMap& labels,
                            const std::optional<Location>& location) {
    return upcomingEvents(today, count, labels, location, storedDayOffset());
}

QList<Event> upcomingEvents(const QDateTime& today, int count, const JsonCoding::StringMap& labels,
                            const std::optional<Location>& location, qint64 dayOffset) {
    QList<Event> events;
    if (count <= 0) return events;
    const std::int64_t todayMs = today.isValid() ? today.toMSecsSinceEpoch() : Clock::nowMs();
    const LocalHijriDays::Context context = LocalHijriDays::makeContext(location, todayMs, dayOffset);
    const int firstYear = LocalHijriDays::display(context.today, context).year;

    QString monthNames[13];
    events.reserve(kYears * int(std::size(kEvents)));
    for (int year = firstYear; year < firstYear + kYears; ++year) {
        for (const AnnualEvent& row : kEvents) {
            const std::optional<std::int64_t> start = LocalHijriDays::monthStart(year, row.month, context);
            if (!start) continue;
            const std::int64_t day = *start + row.day - 1;
            if (day < context.today) continue;
            if (monthNames[row.month].isNull()) monthNames[row.month] = monthName(row.month, labels);
            const QString key = QLatin1StringView(row.key);
            events.append(Event{key, labels.value(key, key), CivilDay::isoText(day),
                                qint64(day - context.today), row.day, monthNames[row.month]});
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.gregorian < b.gregorian; });
    if (events.size() > count) events.resize(count);
    return events;
}

}  // namespace LocalHijri
