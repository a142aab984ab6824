#include "ProbeCommands.h"

#include "ProbeArguments.h"
#include "engine/CivilDay.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/LocalPrayerTimes.h"

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

}  // namespace

Result run(const QString& command, const QStringList& arguments) {
    if (command == QLatin1StringView("prayers")) return prayers(arguments);
    return {{}, QStringLiteral("unknown command ") + command};
}

}  // namespace ProbeCommands
