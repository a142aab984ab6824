#include "ForecastLayout.h"

#include "model/DisplayFormat.h"

#include <QDate>
#include <algorithm>
#include <array>

using namespace Qt::Literals::StringLiterals;

namespace ForecastLayout {

QList<DailyWeather> allDays(const ClockBundle& bundle) {
    if (!bundle.weather) return {};
    return bundle.weather->daily.mid(0, maxDays);
}

QString title(const ClockBundle& bundle, int count) {
    const qsizetype shown = bundle.weather ? std::min<qsizetype>(bundle.weather->daily.size(), maxDays) : 0;
    const qint64 n = std::max<qint64>({qint64(count), qint64(shown), 0});
    return QString::number(n) + u' ' + bundle.label(u"forecast_days_word"_s);
}

int rows(int dayCount) {
    return std::max(dayCount + 3, 4) / 4;
}

double rowHeight(int dayCount, double height) {
    const int r = rows(dayCount);
    return std::max((height - (r - 1) * gridSpacing) / r, 1.0);
}

bool isCompact(double rowHeight) {
    return rowHeight < compactBelow;
}

QString weekday(const QString& date, const QLocale& locale) {
    const QDate parsed = QDate::fromString(date, u"yyyy-MM-dd"_s);
    if (!parsed.isValid()) return date;
    return locale.toString(parsed, u"ddd"_s);
}

namespace {

struct ConditionSymbol {
    const char16_t* condition;
    const char16_t* day;
    const char16_t* night;
};

constexpr std::array<ConditionSymbol, 25> kSymbols{{
    {u"clear", u"sun.max.fill", u"moon.stars.fill"},
    {u"mainly_clear", u"sun.max.fill", u"moon.stars.fill"},
    {u"partly_cloudy", u"cloud.sun.fill", u"cloud.moon.fill"},
    {u"overcast", u"cloud.fill", u"cloud.fill"},
    {u"fog", u"cloud.fog.fill", u"cloud.fog.fill"},
    {u"rime_fog", u"cloud.fog.fill", u"cloud.fog.fill"},
    {u"light_drizzle", u"cloud.drizzle.fill", u"cloud.drizzle.fill"},
    {u"drizzle", u"cloud.drizzle.fill", u"cloud.drizzle.fill"},
    {u"dense_drizzle", u"cloud.drizzle.fill", u"cloud.drizzle.fill"},
    {u"freezing_drizzle", u"cloud.drizzle.fill", u"cloud.drizzle.fill"},
    {u"light_rain", u"cloud.rain.fill", u"cloud.rain.fill"},
    {u"rain", u"cloud.rain.fill", u"cloud.rain.fill"},
    {u"heavy_rain", u"cloud.rain.fill", u"cloud.rain.fill"},
    {u"rain_showers", u"cloud.rain.fill", u"cloud.rain.fill"},
    {u"violent_rain_showers", u"cloud.rain.fill", u"cloud.rain.fill"},
    {u"freezing_rain", u"cloud.sleet.fill", u"cloud.sleet.fill"},
    {u"light_snow", u"cloud.snow.fill", u"cloud.snow.fill"},
    {u"snow", u"cloud.snow.fill", u"cloud.snow.fill"},
    {u"heavy_snow", u"cloud.snow.fill", u"cloud.snow.fill"},
    {u"snow_grains", u"cloud.snow.fill", u"cloud.snow.fill"},
    {u"snow_showers", u"cloud.snow.fill", u"cloud.snow.fill"},
    {u"thunderstorm", u"cloud.bolt.rain.fill", u"cloud.bolt.rain.fill"},
    {u"thunderstorm_hail", u"cloud.bolt.rain.fill", u"cloud.bolt.rain.fill"},
    {u"unknown", u"cloud.fill", u"cloud.fill"},
    {u"", u"cloud.fill", u"cloud.fill"},
}};

const ConditionSymbol* find(const QString& condition) {
    for (const auto& symbol : kSymbols)
        if (condition == QStringView(symbol.condition)) return &symbol;
    return nullptr;
}

}  // namespace

QString icon(const QString& condition) {
    const ConditionSymbol* symbol = find(condition);
    return QString::fromUtf16(symbol ? symbol->day : u"cloud.fill");
}

QString currentIcon(const QString& condition, bool isDay) {
    const ConditionSymbol* symbol = find(condition);
    if (!symbol) return u"cloud.fill"_s;
    return QString::fromUtf16(isDay ? symbol->day : symbol->night);
}

QString windCompact(qint64 kmh, bool metric) {
    return DisplayFormat::wind(kmh, metric);
}

QString precipitation(const std::optional<qint64>& percent) {
    if (!percent || *percent < 1) return {};
    return QString::number(*percent) + u'%';
}

QString temperatures(const DailyWeather& day, bool metric) {
    return DisplayFormat::temperature(day.tmax, metric) + u'/' + DisplayFormat::temperature(day.tmin, metric);
}

}  // namespace ForecastLayout
