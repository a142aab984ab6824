#pragma once

#include "PanelModel.h"

#include <QColor>

// Sun and moon facts of the bundle as the side panels, the sky-detail block and the weather-and-moon
// panel show them.
class SkyFactsModel : public PanelModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString moonName READ moonName NOTIFY changed)
    Q_PROPERTY(QString phaseLine READ phaseLine NOTIFY changed)
    Q_PROPERTY(QString distanceLine READ distanceLine NOTIFY changed)
    Q_PROPERTY(QString dayLine READ dayLine NOTIFY changed)
    Q_PROPERTY(double illumination READ illumination NOTIFY changed)
    Q_PROPERTY(bool waxing READ waxing NOTIFY changed)
    Q_PROPERTY(QString tintKey READ tintKey NOTIFY changed)
    Q_PROPERTY(QString liveSunText READ liveSunText NOTIFY changed)
    Q_PROPERTY(bool hasLunarEclipse READ hasLunarEclipse NOTIFY changed)
    Q_PROPERTY(QString lunarTitle READ lunarTitle NOTIFY changed)
    Q_PROPERTY(QString lunarDate READ lunarDate NOTIFY changed)
    Q_PROPERTY(QString lunarDateWithRegion READ lunarDateWithRegion NOTIFY changed)
    Q_PROPERTY(bool hasSolarEclipse READ hasSolarEclipse NOTIFY changed)
    Q_PROPERTY(QString solarTitle READ solarTitle NOTIFY changed)
    Q_PROPERTY(QString solarDate READ solarDate NOTIFY changed)
    Q_PROPERTY(QString solarDateWithRegion READ solarDateWithRegion NOTIFY changed)

  public:
    using PanelModel::PanelModel;

    QString moonName() const;
    QString phaseLine() const;
    QString distanceLine() const;
    QString dayLine() const;
    double illumination() const { return double(bundle().moon.illuminationPct) / 100.0; }
    bool waxing() const { return bundle().moon.waxing; }
    QString tintKey() const { return bundle().moon.nameKey.value_or(QString()); }
    QString liveSunText() const { return bundle().label(QStringLiteral("live_sun")); }

    bool hasLunarEclipse() const { return bundle().moon.nextEclipse.has_value(); }
    QString lunarTitle() const;
    QString lunarDate() const;
    QString lunarDateWithRegion() const;
    bool hasSolarEclipse() const { return bundle().moon.nextSolarEclipse.has_value(); }
    QString solarTitle() const;
    QString solarDate() const;
    QString solarDateWithRegion() const;
};
