#include "ProbeCommands.h"

#include "ProbeArguments.h"
#include "engine/CivilDay.h"
#include "engine/LocalHijriDays.h"
#include "engine/LocalHijriEvents.h"
#include "engine/LocalLabels.h"
#include "engine/LocalMoon.h"
#include "engine/LocalPrayerTimes.h"
#include "engine/LocalQibla.h"
#include "model/JsonCoding.h"

#include <QJsonArray>
#include <QJsonObject>
#include <array>
#include <charconv>
#include <cstring>
#include <string>

namespace ProbeCommands {

namespace {

// Copies a literal without its terminator.
template <std::size_t N>
char* put(char* to, const char (&text)[N]) {
    std::memcpy(to, text, N - 1);
    return to + N - 1;
}

char* put(char* to, const std::string& text) {
    std::memcpy(to, text.data(), text.size());
    return to + text.size();
}

// One line per day, written in place: {"date":"…","fajr":"HH:MM",…,"isha":"HH:MM"}
QString prayers(const QStringList& arguments, ProbeOutput& out) {
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
    if (!args.ok()) return args.error();

    const LocalPrayerTimes::Calculator calculator(method, asr, highLat);
    std::array<std::string, LocalPrayerTimes::kTimeKeys.size()> fieldStarts;
    std::size_t longest = sizeof("{\"date\":\"\"}\n") + CivilDay::kMaxIsoChars;
    for (std::size_t i = 0; i < fieldStarts.size(); ++i) {
        fieldStarts[i] = std::string(",\"") + LocalPrayerTimes::kTimeKeys[i] + "\":\"";
        longest += fieldStarts[i].size() + 6;
    }
    for (qint64 day = first; day < first + days; ++day) {
        const CivilDay::Date date = CivilDay::civilFromDays(day);
        const LocalPrayerTimes::DayTimes times =
            calculator.times(date.year, date.month, date.day, lat, lon, tz);
        char* to = out.reserve(longest);
        to = put(to, "{\"date\":\"");
        to += CivilDay::writeIsoText(date, to);
        *to++ = '"';
        for (std::size_t i = 0; i < fieldStarts.size(); ++i) {
            to = put(to, fieldStarts[i]);
            LocalPrayerTimes::writeClockText(times.at(i), to);
            to += 5;
            *to++ = '"';
        }
        out.commit(put(to, "}\n"));
    }
    return {};
}

QByteArray jsonLine(const QJsonValue& value) {
    // Every number the engine produces is finite; an encoding failure would be a bug worth seeing.
    return JsonCoding::encode(value).value_or(QByteArrayLiteral("null")) + '\n';
}

char* putNumber(char* to, qint64 value) {
    return std::to_chars(to, to + 20, value).ptr;  // room for every qint64
}

// The Hijri date the clock shows for each civil day at a place with that offset, without any stored day
// offset: the probe never reads the user's settings.
QString hijri(const QStringList& arguments, ProbeOutput& out) {
    ProbeArguments args(arguments, {"date", "tz", "days"});
    const qint64 first = args.date("date");
    const double tz = args.number("tz", -14, 14, 0.0);
    const int days = args.integer("days", 1, 1'000'000, 1);
    if (!args.ok()) return args.error();

    const LocalHijri::Location place{0, 0, tz};
    for (qint64 day = first; day < first + days; ++day) {
        const std::int64_t noon =
            CivilDay::startOfDayMs(day, place.offsetSeconds()) + CivilDay::kMsPerDay / 2;
        const LocalHijriDays::Context context = LocalHijriDays::makeContext(place, noon, 0);
        const LocalHijri::YMD shown = LocalHijriDays::display(day, context);
        char* to = out.reserve(160);  // the longest date and three numbers of any int value
        to = put(to, "{\"date\":\"");
        to += CivilDay::writeIsoText(CivilDay::civilFromDays(day), to);
        to = putNumber(put(to, "\",\"year\":"), shown.year);
        to = putNumber(put(to, ",\"month\":"), shown.month);
        to = putNumber(put(to, ",\"day\":"), shown.day);
        out.commit(put(to, "}\n"));
    }
    return {};
}

QString moon(const QStringList& arguments, ProbeOutput& out) {
    ProbeArguments args(arguments, {"at"});
    const qint64 at = args.instant("at");
    if (!args.ok()) return args.error();
    const Moon moon = LocalMoon::info(QDateTime::fromMSecsSinceEpoch(at, Qt::UTC), LocalLabels::en());
    out.write(jsonLine(moon.toJson()));
    return {};
}

QString qibla(const QStringList& arguments, ProbeOutput& out) {
    ProbeArguments args(arguments, {"lat", "lon"});
    const double lat = args.number("lat", -90, 90);
    const double lon = args.number("lon", -180, 180);
    if (!args.ok()) return args.error();
    const double bearing = LocalQibla::bearing(lat, lon);
    out.write(jsonLine(QJsonObject{{"bearing", bearing}, {"compass", LocalQibla::compassPoint(bearing)}}));
    return {};
}

// The bundle's "events" for a place with that offset (UTC without one), without any stored day offset.
QString events(const QStringList& arguments, ProbeOutput& out) {
    ProbeArguments args(arguments, {"today", "tz", "count"});
    const qint64 today = args.instant("today");
    const double tz = args.number("tz", -14, 14, 0.0);
    const int count = args.integer("count", 0, 1000, 6);
    if (!args.ok()) return args.error();
    const QList<Event> list =
        LocalHijri::upcomingEvents(QDateTime::fromMSecsSinceEpoch(today, Qt::UTC), count, LocalLabels::en(),
                                   LocalHijri::Location{0, 0, tz}, 0);
    QJsonArray array;
    for (const Event& e : list) array.append(e.toJson());
    out.write(jsonLine(array));
    return {};
}

}  // namespace

QString run(const QString& command, const QStringList& arguments, ProbeOutput& out) {
    if (command == QLatin1StringView("prayers")) return prayers(arguments, out);
    if (command == QLatin1StringView("hijri")) return hijri(arguments, out);
    if (command == QLatin1StringView("moon")) return moon(arguments, out);
    if (command == QLatin1StringView("qibla")) return qibla(arguments, out);
    if (command == QLatin1StringView("events")) return events(arguments, out);
    return QStringLiteral("unknown command ") + command;
}

}  // namespace ProbeCommands
