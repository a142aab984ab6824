#include "clock/AdhanCallRecord.h"

#include "clock/PrayerSchedule.h"
#include "engine/CivilDay.h"
#include "platform/DefaultsStore.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

// A week of prayers: a clock set back further than that is not worth a longer record.
constexpr qsizetype kBound = 7 * PrayerSchedule::kCount;

// "adhan.<yyyymmdd>.<key>", the shape of the notifications' identifiers, then ".<seconds since 1970>" of
// the prayer's instant; a record written before the instant was kept has only the first three parts.
QString identifier(std::int64_t day, int index, std::optional<std::int64_t> atMs) {
    QString text = QStringLiteral("adhan.") + PrayerSchedule::compactDate(day) + QLatin1Char('.') +
                   QString(PrayerSchedule::keys[index]);
    if (atMs) text += QLatin1Char('.') + QString::number(*atMs / 1000);
    return text;
}

template <typename Entry>
std::optional<Entry> parse(QStringView text) {
    const QList<QStringView> parts = text.split(QLatin1Char('.'));
    if ((parts.size() != 3 && parts.size() != 4) || parts[0] != QLatin1String("adhan") ||
        parts[1].size() != 8)
        return std::nullopt;
    bool ok = false;
    const int date = parts[1].toInt(&ok);
    const CivilDay::Date civil{date / 10000, date / 100 % 100, date % 100};
    const int index = PrayerSchedule::indexOf(parts[2]);
    if (!ok || index < 0 || !CivilDay::isValid(civil)) return std::nullopt;
    Entry entry{CivilDay::daysFromCivil(civil.year, civil.month, civil.day), index, std::nullopt};
    if (parts.size() == 4) {
        // Beyond the year 5000 is damage, and would overflow in milliseconds.
        const qint64 seconds = parts[3].toLongLong(&ok);
        if (!ok || seconds < 0 || seconds > 100'000'000'000) return std::nullopt;
        entry.atMs = seconds * 1000;
    }
    return entry;
}

}  // namespace

AdhanCallRecord::AdhanCallRecord(DefaultsStore& store) : store_(store) {
    const QStringList stored = store_.stringList(QLatin1String(storeKey)).value_or(QStringList());
    // Only the newest entries count, so a damaged or foreign record costs no more than our own.
    for (qsizetype i = std::max<qsizetype>(0, stored.size() - kBound); i < stored.size(); ++i)
        if (const auto entry = parse<Entry>(stored[i])) entries_.append(*entry);
}

bool AdhanCallRecord::holds(int index, std::int64_t day, std::int64_t atMs) const {
    for (const Entry& e : entries_)
        if (e.index == index &&
            (e.day == day || (e.atMs && std::abs(*e.atMs - atMs) < PrayerSchedule::kSameCallWithinMs)))
            return true;
    return false;
}

void AdhanCallRecord::add(int index, std::int64_t day, std::int64_t atMs) {
    if (holds(index, day, atMs)) return;
    entries_.append(Entry{day, index, atMs});
    if (entries_.size() > kBound) entries_.remove(0, entries_.size() - kBound);
    QStringList stored;
    for (const Entry& e : std::as_const(entries_)) stored.append(identifier(e.day, e.index, e.atMs));
    store_.setStringList(QLatin1String(storeKey), stored);
}
