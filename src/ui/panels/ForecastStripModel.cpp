#include "ForecastStripModel.h"

#include "ForecastLayout.h"

using namespace Qt::Literals::StringLiterals;

QString ForecastStripModel::title() const {
    return ForecastLayout::title(bundle(), int(ForecastLayout::allDays(bundle()).size()));
}

int ForecastStripModel::rows(int dayCount) {
    return ForecastLayout::rows(dayCount);
}
double ForecastStripModel::rowHeight(int dayCount, double height) {
    return ForecastLayout::rowHeight(dayCount, height);
}
bool ForecastStripModel::isCompact(double rowHeight) {
    return ForecastLayout::isCompact(rowHeight);
}

void ForecastStripModel::refresh() {
    days_.clear();
    const QLocale loc = locale();
    for (const DailyWeather& day : ForecastLayout::allDays(bundle())) {
        days_.append(QVariantMap{
            {u"date"_s, day.date},
            {u"weekday"_s, ForecastLayout::weekday(day.date, loc)},
            {u"icon"_s, ForecastLayout::icon(day.condition)},
            {u"temperatures"_s, ForecastLayout::temperatures(day, metric())},
            {u"wind"_s, ForecastLayout::windCompact(day.windMax, metric())},
            {u"humidity"_s, day.humidity && *day.humidity >= 1 ? int(*day.humidity) : 0},
            {u"precipitation"_s, ForecastLayout::precipitation(day.precipPct)},
        });
    }
}
