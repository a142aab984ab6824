#include "WeatherPanelModel.h"

#include "ForecastLayout.h"
#include "model/DisplayFormat.h"

using namespace Qt::Literals::StringLiterals;

void WeatherPanelModel::setShowMoon(bool show) {
    if (show == showMoon_) return;
    showMoon_ = show;
    emit changed();
}

QString WeatherPanelModel::title() const {
    return bundle().label(showMoon_ ? u"weather_moon"_s : u"weather_word"_s);
}

QString WeatherPanelModel::icon() const {
    if (!bundle().weather) return {};
    const CurrentWeather& now = bundle().weather->current;
    return ForecastLayout::currentIcon(now.condition, now.isDay);
}

QString WeatherPanelModel::temperature() const {
    return bundle().weather ? DisplayFormat::temperature(bundle().weather->current.temp, metric())
                            : QString();
}

QString WeatherPanelModel::conditionText() const {
    if (!bundle().weather) return {};
    const CurrentWeather& now = bundle().weather->current;
    return now.conditionLocalized.value_or(now.condition);
}

QString WeatherPanelModel::windText() const {
    return bundle().weather ? DisplayFormat::wind(bundle().weather->current.wind, metric()) : QString();
}

bool WeatherPanelModel::hasHumidity() const {
    return bundle().weather && bundle().weather->current.humidity.has_value();
}

int WeatherPanelModel::humidity() const {
    return hasHumidity() ? int(*bundle().weather->current.humidity) : 0;
}
