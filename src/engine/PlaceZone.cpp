#include "engine/PlaceZone.h"

#include "platform/SystemTimeZone.h"

#include <unicode/basictz.h>
#include <unicode/timezone.h>
#include <unicode/tztrans.h>
#include <unicode/unistr.h>
#include <QByteArray>

#include <memory>

namespace {

std::unique_ptr<icu::TimeZone> zoneOf(const QString& zoneId) {
    if (zoneId.isEmpty()) return nullptr;
    const QByteArray utf8 = zoneId.toUtf8();
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.constData()))));
    if (!zone || *zone == icu::TimeZone::getUnknown()) return nullptr;
    return zone;
}

}  // namespace

namespace PlaceZone {

std::optional<double> offsetHours(const QString& zoneId, std::int64_t atMs) {
    const std::unique_ptr<icu::TimeZone> zone = zoneOf(zoneId);
    if (!zone) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    int32_t raw = 0;
    int32_t dst = 0;
    zone->getOffset(UDate(atMs), false, raw, dst, status);
    if (U_FAILURE(status)) return std::nullopt;
    return (raw + dst) / 3600000.0;
}

std::optional<std::int64_t> nextTransitionMs(const QString& zoneId, std::int64_t afterMs) {
    const std::unique_ptr<icu::TimeZone> zone = zoneOf(zoneId);
    const auto* rules = dynamic_cast<const icu::BasicTimeZone*>(zone.get());
    if (!rules) return std::nullopt;
    // A "transition" may also rename the zone's abbreviation or split the offset differently between its
    // standard and daylight parts while the total stays; only a change of the total moves the clock.
    UDate from = UDate(afterMs);
    icu::TimeZoneTransition transition;
    for (int guard = 0; guard < 64 && rules->getNextTransition(from, false, transition); ++guard) {
        const icu::TimeZoneRule* before = transition.getFrom();
        const icu::TimeZoneRule* after = transition.getTo();
        if (!before || !after ||
            before->getRawOffset() + before->getDSTSavings() !=
                after->getRawOffset() + after->getDSTSavings())
            return std::int64_t(transition.getTime());
        from = transition.getTime();
    }
    return std::nullopt;
}

QString deviceZoneId() {
    const QString id = SystemTimeZone::zoneIdIn(QStringLiteral("/etc"));
    return zoneOf(id) ? id : QString();
}

}  // namespace PlaceZone
