#include "engine/LocalBundleBuilder.h"

#include "engine/CivilDay.h"
#include "engine/LocalPrayerTimes.h"

namespace LocalBundleBuilder {

namespace {

// A decimal integer with an optional sign and ASCII digits only, as the stored strings were written.
std::optional<qint64> decimal(QStringView text) {
    if (text.isEmpty()) return std::nullopt;
    bool negative = false;
    if (text.front() == u'+' || text.front() == u'-') {
        negative = text.front() == u'-';
        text = text.sliced(1);
        if (text.isEmpty()) return std::nullopt;
    }
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        if (__builtin_mul_overflow(value, 10, &value) ||
            __builtin_add_overflow(value, c.unicode() - u'0', &value))
            return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

QString timeString(double hours) {
    char text[5];
    LocalPrayerTimes::writeClockText(hours, text);
    return QString::fromLatin1(text, 5);
}

std::optional<qint64> minutesOfDay(QStringView text) {
    if (!text.contains(u':')) return std::nullopt;
    QStringView pieces[2];
    int found = 0;
    for (QStringView piece : text.tokenize(u':', Qt::SkipEmptyParts)) {
        pieces[found++] = piece;
        if (found == 2) break;
    }
    if (found < 2) return std::nullopt;
    const std::optional<qint64> hours = decimal(pieces[0]);
    const std::optional<qint64> minutes = decimal(pieces[1]);
    qint64 total = 0;
    if (!hours || !minutes || __builtin_mul_overflow(*hours, 60, &total) ||
        __builtin_add_overflow(total, *minutes, &total))
        return std::nullopt;
    return total;
}

NextPrayer computeNext(const JsonCoding::StringMap& prayers, const QDateTime& now, double tzOffsetHours,
                       const JsonCoding::StringMap& labels) {
    static const QString order[] = {QStringLiteral("fajr"), QStringLiteral("dhuhr"), QStringLiteral("asr"),
                                    QStringLiteral("maghrib"), QStringLiteral("isha")};
    qint64 nowMinute = 0;
    if (now.isValid()) {
        const std::int64_t ms = now.toMSecsSinceEpoch();
        const std::optional<int> fixed = CivilDay::fixedOffsetSeconds(tzOffsetHours);
        const int offset = fixed ? *fixed : QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime).offsetFromUtc();
        const std::int64_t day = CivilDay::dayOf(ms, offset);
        nowMinute = (ms + std::int64_t(offset) * 1000 - day * CivilDay::kMsPerDay) / 60'000;
    }
    for (const QString& key : order) {
        const auto it = prayers.constFind(key);
        if (it == prayers.constEnd()) continue;
        const std::optional<qint64> minute = minutesOfDay(*it);
        if (minute && nowMinute < *minute) return NextPrayer{key, labels.value(key, key), *it};
    }
    const QString& fajr = order[0];
    return NextPrayer{fajr, labels.value(fajr, fajr), prayers.value(fajr, QStringLiteral("--:--"))};
}

}  // namespace LocalBundleBuilder
