#include "engine/HijriAuthority.h"

#include "engine/APIClient.h"
#include "engine/LocalHijri.h"
#include "engine/NetworkDiscipline.h"
#include "model/JsonCoding.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/Http.h"

#include <QLoggingCategory>
#include <array>
#include <charconv>
#include <cmath>

namespace {

using namespace std::chrono_literals;

Q_LOGGING_CATEGORY(lcHijri, "orvane.hijri")

const QString kDayOffset = QStringLiteral("hijri.authority.dayOffset");
const QString kSyncedAt = QStringLiteral("hijri.authority.syncedAt");
const QString kAnchorGregorian = QStringLiteral("hijri.authority.anchorGregorian");
const QString kHijriYMD = QStringLiteral("hijri.authority.hijriYMD");
const QString kSource = QStringLiteral("hijri.authority.source");

constexpr double kThrottleSeconds = 10800;  // three hours
constexpr std::array<qint64, 5> kCandidates{0, -1, 1, -2, 2};

// printf's "%0<width>d": the sign counts towards the width and the zeros go after it.
QString padded(qint64 value, int width) {
    char digits[24];
    const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, magnitude);
    QString text = QString::fromLatin1(digits, int(r.ptr - digits));
    const int zeros = width - int(text.size()) - (value < 0 ? 1 : 0);
    if (zeros > 0) text.prepend(QString(zeros, QLatin1Char('0')));
    if (value < 0) text.prepend(QLatin1Char('-'));
    return text;
}

QString ymdText(qint64 year, qint64 month, qint64 day) {
    return padded(year, 4) + QLatin1Char('-') + padded(month, 2) + QLatin1Char('-') + padded(day, 2);
}

bool matches(const HijriAuthority::RemotePayload& remote, const QDate& civilDate, qint64 k) {
    const QDate moved = civilDate.addDays(k);
    if (!moved.isValid()) return false;
    const LocalHijri::YMD ymd = LocalHijri::civilYMD(QDateTime(moved, QTime(0, 0), QTimeZone::utc()));
    return ymd.year == remote.hijri.year && ymd.month == remote.hijri.month && ymd.day == remote.hijri.day;
}

// Both dates of a reply can exist: a Hijri month has 29 or 30 days, and the Gregorian date is a real one.
bool possible(const HijriAuthority::RemotePayload& remote) {
    const auto& h = remote.hijri;
    const auto& g = remote.gregorian;
    return h.year >= 1 && h.month >= 1 && h.month <= 12 && h.day >= 1 && h.day <= 30 && g.year >= 1 &&
           g.year <= 9999 && QDate(int(g.year), int(g.month), int(g.day)).isValid();
}

double nowSeconds() {
    return double(Clock::nowMs()) / 1000.0;
}

}  // namespace

namespace HijriAuthority {

std::optional<RemotePayload> RemotePayload::fromJson(const QJsonValue& value) {
    if (!value.isObject()) return std::nullopt;
    const QJsonObject o = value.toObject();
    const QJsonValue h = o.value(QLatin1String("hijri"));
    const QJsonValue g = o.value(QLatin1String("gregorian"));
    if (!h.isObject() || !g.isObject()) return std::nullopt;
    JsonCoding::Reader hr(h);
    JsonCoding::Reader gr(g);
    JsonCoding::Reader r(value);
    RemotePayload p;
    p.hijri.year = hr.requiredInt(QLatin1StringView("year"));
    p.hijri.month = hr.requiredInt(QLatin1StringView("month"));
    p.hijri.day = hr.requiredInt(QLatin1StringView("day"));
    p.hijri.monthName = hr.optionalString(QLatin1StringView("month_name"));
    p.gregorian.year = gr.requiredInt(QLatin1StringView("year"));
    p.gregorian.month = gr.requiredInt(QLatin1StringView("month"));
    p.gregorian.day = gr.requiredInt(QLatin1StringView("day"));
    p.source = r.optionalString(QLatin1StringView("source"));
    p.adjusted = r.optionalInt(QLatin1StringView("adjusted"));
    if (!hr.ok() || !gr.ok() || !r.ok()) return std::nullopt;
    return p;
}

QUrl makeURL(std::optional<double> lat, std::optional<double> lon, const QDateTime& date) {
    APIClient::QueryItems query;
    const QDate local = date.toLocalTime().date();
    if (local.isValid())
        query.append({QStringLiteral("date"), padded(local.day(), 2) + QLatin1Char('-') +
                                                  padded(local.month(), 2) + QLatin1Char('-') +
                                                  padded(local.year(), 4)});
    if (lat) query.append({QStringLiteral("lat"), NetworkDiscipline::decimalText(*lat)});
    if (lon) query.append({QStringLiteral("lon"), NetworkDiscipline::decimalText(*lon)});
    return APIClient::serverURL(QStringLiteral("/v1/hijri_date"), query);
}

std::optional<qint64> resolveOffset(const RemotePayload& remote, const QDate& civilDate) {
    const std::optional<qint64> adjusted = remote.adjusted;
    if (adjusted && *adjusted >= -2 && *adjusted <= 2 && matches(remote, civilDate, *adjusted))
        return *adjusted;
    for (const qint64 k : kCandidates)
        if (matches(remote, civilDate, k)) return k;
    if (!adjusted) return 0;
    // A shift of more than three days is no calendar disagreement but a broken answer.
    if (*adjusted < -3 || *adjusted > 3) return std::nullopt;
    return *adjusted;
}

QCoro::Task<qint64> sync(std::optional<double> lat, std::optional<double> lon, QDateTime date, bool force) {
    DefaultsStore& store = DefaultsStore::standard();
    const qint64 stored = store.integer(kDayOffset);
    if (!force) {
        const double syncedAt = store.doubleValue(kSyncedAt);
        const double now = nowSeconds();
        // A stamp ahead of now (the clock was set back) holds back requests only for three hours too.
        if (syncedAt > 0 && now - syncedAt < kThrottleSeconds && syncedAt - now < kThrottleSeconds)
            co_return stored;
    }
    const QUrl url = makeURL(lat, lon, date);
    if (url.isEmpty()) co_return stored;
    // The reply is compared with the civil date the request named, whatever the clock says on arrival.
    const QDate civilDate = date.toLocalTime().date();

    HttpRequest request;
    request.url = url;
    request.timeout = 15000ms;
    const HttpResponse response = co_await Http::send(std::move(request));
    if (!response.transportOk || response.status != 200)
        co_return DefaultsStore::standard().integer(kDayOffset);
    const std::optional<RemotePayload> remote = JsonCoding::decode<RemotePayload>(response.body);
    if (!remote) co_return DefaultsStore::standard().integer(kDayOffset);
    if (!possible(*remote)) {
        qCWarning(lcHijri) << "Hijri date reply refused: impossible date";
        co_return DefaultsStore::standard().integer(kDayOffset);
    }
    const std::optional<qint64> offset = resolveOffset(*remote, civilDate);
    if (!offset) co_return DefaultsStore::standard().integer(kDayOffset);

    DefaultsStore& s = DefaultsStore::standard();
    s.setInteger(kDayOffset, *offset);
    s.setString(kAnchorGregorian,
                ymdText(remote->gregorian.year, remote->gregorian.month, remote->gregorian.day));
    s.setString(kHijriYMD, ymdText(remote->hijri.year, remote->hijri.month, remote->hijri.day));
    s.setString(kSource, remote->source.value_or(QStringLiteral("aladhan")));
    s.setDouble(kSyncedAt, nowSeconds());
    co_return *offset;
}

}  // namespace HijriAuthority
