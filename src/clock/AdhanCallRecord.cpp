#include "clock/AdhanCallRecord.h"

#include "clock/PrayerSchedule.h"
#include "engine/CivilDay.h"
#include "platform/DefaultsStore.h"

#include <QStringList>
#include <algorithm>
#include <optional>

namespace {

// A week of prayers: a clock set back further than that is not worth a longer record.
constexpr qsizetype kBound = 7 * PrayerSchedule::kCount;

// "adhan.<yyyymmdd>.<key>", the shape of the notifications' identifiers.
QString identifier(std::int64_t day, int index) {
    return QStringLiteral("adhan.") + PrayerSchedule::compactDate(day) + QLatin1Char('.') +
           QString(PrayerSchedule::keys[index]);
}

std::optional<std::pair<std::int64_t, int>> parse(QStringView text) {
    const QList<QStringView> parts = text.split(QLatin1Char('.'));
    if (parts.size() != 3 || parts[0] != QLatin1String("adhan") || parts[1].size() != 8) return std::nullopt;
    bool ok = false;
    const int date = parts[1].toInt(&ok);
    const CivilDay::Date civil{date / 10000, date / 100 % 100, date % 100};
    const int index = PrayerSchedule::indexOf(parts[2]);
    if (!ok || index < 0 || !CivilDay::isValid(civil)) return std::nullopt;
    return std::pair{CivilDay::daysFromCivil(civil.year, civil.month, civil.day), index};
}

}  // namespace

AdhanCallRecord::AdhanCallRecord(DefaultsStore& store) : store_(store) {
    const QStringList stored = store_.stringList(QLatin1String(storeKey)).value_or(QStringList());
    // Only the newest entries count, so a damaged or foreign record costs no more than our own.
    for (qsizetype i = std::max<qsizetype>(0, stored.size() - kBound); i < stored.size(); ++i)
        if (const auto entry = parse(stored[i])) entries_.append(Entry{entry->first, entry->second});
}

bool AdhanCallRecord::holds(int index, std::int64_t day) const {
    for (const Entry& e : entries_)
        if (e.index == index && e.day == day) return true;
    return false;
}

void AdhanCallRecord::add(int index, std::int64_t day) {
    if (holds(index, day)) return;
    entries_.append(Entry{day, index});
    if (entries_.size() > kBound) entries_.remove(0, entries_.size() - kBound);
    QStringList stored;
    for (const Entry& e : std::as_const(entries_)) stored.append(identifier(e.day, e.index));
    store_.setStringList(QLatin1String(storeKey), stored);
}
