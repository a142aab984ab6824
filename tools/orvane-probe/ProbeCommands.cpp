#include "ProbeCommands.h"

#include "ProbeArguments.h"
#include "ProbeBundle.h"
#include "engine/CivilDay.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/LocalHijriDays.h"
#include "engine/LocalHijriEvents.h"
#include "engine/LocalLabels.h"
#include "engine/LocalMoon.h"
#include "engine/LocalPrayerTimes.h"
#include "engine/LocalQibla.h"
#include "model/JsonCoding.h"

#include <QJsonArray>
#include <QJsonObject>

namespace ProbeCommands {

namespace {

void appendString(QByteArray& out, const char* key, const QString& value, bool first = false) {
    out += first ? "{\"" : ",\"";
    out += key;
    out += "\":\"";
    out += value.toLatin1();
    out += '"';
}

Result prayers(const QStringList& arguments) {
    ProbeArguments args(arguments, {"lat", "lon", "tz", "date", "method", "asr", "highlat", "days"});
    const double lat = args.number("lat", -90, 90);
    const double lon = args.number("lon", -180, 180);
    const double tz = args.number("tz", -14, 14);
    const qint64 first = args.date("date");
    const QString method = args.choice("method", LocalPrayerTimes::methods().keys(), QStringLiteral("ISNA"));
    const int asr = args.integer("asr", 1, 2, 1);
    const QString highLat =
        args.choice("highlat", {"angle", "seventh", "middle", "none"}, QStringLiteral("angle"));
    const int days = args.integer("days", 1, 1'000'000, 1);
    if (!args.ok()) return {{}, args.error()};

    const LocalPrayerTimes::Calculator calculator(method, asr, highLat);
    QByteArray out;
    out.reserve(qsizetype(days) * 120);
    for (qint64 day = first; day < first + days; ++day) {
        const CivilDay::Date date = CivilDay::civilFromDays(day);
        const LocalPrayerTimes::DayTimes times =
            calculator.times(date.year, date.month, date.day, lat, lon, tz);
        appendString(out, "date", CivilDay::isoText(date), true);
        for (std::size_t i = 0; i < LocalPrayerTimes::kTimeKeys.size(); ++i)
            appendString(out, LocalPrayerTimes::kTimeKeys[i], LocalBundleBuilder::timeString(times.at(i)));
        out += "}\n";
    }
    return {out, {}};
}

QByteArray jsonLine(const QJsonValue& value) {
    // Every number the engine produces is finite; an encoding failure would be a bug worth seeing.
    return JsonCoding::encode(value).value_or(QByteArrayLiteral("null")) + '\n';
}

void appendNumber(QByteArray& out, const char* key, qint64 value) {
    out += ",\"";
    out += key;
    out += "\":";
    out += QByteArray::number(value);
}

// The Hijri date the clock shows for each civil day at a place with that offset, without any stored day
// offset: the probe never reads the user's settings.
Result hijri(const QStringList& arguments) {
    ProbeArguments args(arguments, {"date", "tz", "days"});
    const qint64 first = args.date("date");
    const double tz = args.number("tz", -14, 14, 0.0);
    const int days = args.integer("days", 1, 1'000'000, 1);
    if (!args.ok()) return {{}, args.error()};

    const LocalHijri::Location place{0, 0, tz};
    QByteArray out;
    out.reserve(qsizetype(days) * 60);
    for (qint64 day = first; day < first + days; ++day) {
        const std::int64_t noon =
            CivilDay::startOfDayMs(day, place.offsetSeconds()) + CivilDay::kMsPerDay / 2;
        const LocalHijriDays::Context context = LocalHijriDays::makeContext(place, noon, 0);
        const LocalHijri::YMD shown = LocalHijriDays::display(day, context);
        appendString(out, "date", CivilDay::isoText(day), true);
        appendNumber(out, "year", shown.year);
        appendNumber(out, "month", shown.month);
        appendNumber(out, "day", shown.day);
        out += "}\n";
    }
    return {out, {}};
}

Result moon(const QStringList& arguments) {
    ProbeArguments args(arguments, {"at"});
    const qint64 at = args.instant("at");
    if (!args.ok()) return {{}, args.error()};
    const Moon moon = LocalMoon::info(QDateTime::fromMSecsSinceEpoch(at, Qt::UTC), LocalLabels::en());
    return {jsonLine(moon.toJson()), {}};
}

Result qibla(const QStringList& arguments) {
    ProbeArguments args(arguments, {"lat", "lon"});
    const double lat = args.number("lat", -90, 90);
    const double lon = args.number("lon", -180, 180);
    if (!args.ok()) return {{}, args.error()};
    const double bearing = LocalQibla::bearing(lat, lon);
    return {jsonLine(QJsonObject{{"bearing", bearing}, {"compass", LocalQibla::compassPoint(bearing)}}), {}};
}

// The bundle's "events" for a place with that offset (UTC without one), without any stored day offset.
Result events(const QStringList& arguments) {
    ProbeArguments args(arguments, {"today", "tz", "count"});
    const qint64 today = args.instant("today");
    const double tz = args.number("tz", -14, 14, 0.0);
    const int count = args.integer("count", 0, 1000, 6);
    if (!args.ok()) return {{}, args.error()};
    const QList<Event> list =
        LocalHijri::upcomingEvents(QDateTime::fromMSecsSinceEpoch(today, Qt::UTC), count, LocalLabels::en(),
                                   LocalHijri::Location{0, 0, tz}, 0);
    QJsonArray array;
    for (const Event& e : list) array.append(e.toJson());
    return {jsonLine(array), {}};
}

}  // namespace

Result run(const QString& command, const QStringList& arguments) {
    if (command == QLatin1StringView("prayers")) return prayers(arguments);
    if (command == QLatin1StringView("hijri")) return hijri(arguments);
    if (command == QLatin1StringView("moon")) return moon(arguments);
    if (command == QLatin1StringView("qibla")) return qibla(arguments);
    if (command == QLatin1StringView("events")) return events(arguments);
    if (command == QLatin1StringView("bundle")) return bundle(arguments);
    return {{}, QStringLiteral("unknown command ") + command};
}

}  // namespace ProbeCommands
