#pragma once

#include "PanelModel.h"

// The current-weather part of the weather-and-moon panel.
class WeatherPanelModel : public PanelModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool showMoon READ showMoon WRITE setShowMoon NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(bool hasWeather READ hasWeather NOTIFY changed)
    Q_PROPERTY(QString icon READ icon NOTIFY changed)
    Q_PROPERTY(QString temperature READ temperature NOTIFY changed)
    Q_PROPERTY(QString conditionText READ conditionText NOTIFY changed)
    Q_PROPERTY(QString windText READ windText NOTIFY changed)
    // 0 when the bundle gives no humidity.
    Q_PROPERTY(int humidity READ humidity NOTIFY changed)
    Q_PROPERTY(bool hasHumidity READ hasHumidity NOTIFY changed)

  public:
    using PanelModel::PanelModel;

    bool showMoon() const { return showMoon_; }
    void setShowMoon(bool show);
    QString title() const;
    bool hasWeather() const { return bundle().weather.has_value(); }
    QString icon() const;
    QString temperature() const;
    QString conditionText() const;
    QString windText() const;
    int humidity() const;
    bool hasHumidity() const;

  private:
    bool showMoon_ = false;
};
