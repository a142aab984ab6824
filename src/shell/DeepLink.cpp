#include "shell/DeepLink.h"

#include <QUrlQuery>

namespace DeepLink {

std::optional<QString> prayerToPlay(const QUrl& link) {
    if (!link.isValid() || link.scheme().compare(QLatin1String(scheme), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QString where = link.host() + link.path();
    if (!where.contains(QLatin1String("adhan"), Qt::CaseInsensitive) &&
        !where.contains(QLatin1String("play"), Qt::CaseInsensitive))
        return std::nullopt;
    const QUrlQuery query(link);
    if (!query.hasQueryItem(QStringLiteral("prayer"))) return std::nullopt;
    const QString prayer =
        query.queryItemValue(QStringLiteral("prayer"), QUrl::FullyDecoded).trimmed().toLower();
    // Only the five prayers ring; anything else in the link is ignored rather than passed on.
    static const QStringList prayers{QStringLiteral("fajr"), QStringLiteral("dhuhr"), QStringLiteral("asr"),
                                     QStringLiteral("maghrib"), QStringLiteral("isha")};
    if (!prayers.contains(prayer)) return std::nullopt;
    return prayer;
}

}  // namespace DeepLink
