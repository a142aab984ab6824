#include "PrayerCells.h"

#include "model/ClockBundle.h"
#include "model/DisplayFormat.h"

#include <QVariantMap>

namespace PrayerCells {

QStringList faceOrder() {
    return {QStringLiteral("fajr"), QStringLiteral("dhuhr"), QStringLiteral("asr"), QStringLiteral("maghrib"),
            QStringLiteral("isha")};
}

QList<Cell> cells(const ClockBundle& bundle, bool use24Hour, const QLocale& locale,
                  const QStringList& order) {
    QList<Cell> out;
    out.reserve(order.size());
    for (const QString& key : order) {
        const QString stored = bundle.prayers.value(key, QStringLiteral("--:--"));
        out.append({key, bundle.label(key), DisplayFormat::prayerTime(stored, use24Hour, locale),
                    key == bundle.nextPrayer.key});
    }
    return out;
}

QVariantList toVariant(const QList<Cell>& cells) {
    QVariantList list;
    for (const Cell& cell : cells)
        list.append(
            QVariantMap{{"key", cell.key}, {"name", cell.name}, {"time", cell.time}, {"next", cell.next}});
    return list;
}

}  // namespace PrayerCells
