#pragma once

#include <QString>

// Every user setting as a plain value, taken from AppSettings on the GUI thread and handed by value to the
// engine, which never touches the QObject. Field names are the settings' own (also their storage names).
struct SettingsSnapshot {
    QString lang = QStringLiteral("en");  // AppSettings defaults this to the user's preferred language
    QString adhanLang = QStringLiteral("ar");
    QString method = QStringLiteral("ISNA");
    int asr = 1;
    QString highLat = QStringLiteral("angle");
    bool use24HourClock = false;
    QString unitsMode = QStringLiteral("auto");
    int logoRotateIndex = 0;
    int adhanLength = 0;
    QString notifyMode = QStringLiteral("adhan");
    bool vibrate = true;
    bool emergencyAlarm = false;
    QString alertsScope = QStringLiteral("region");
    bool useManualLocation = false;
    QString manualCity;
    QString manualPlaceId;
    double manualLat = 0.0;
    double manualLon = 0.0;
    double manualTzOffsetHours = 0.0;
    QString clockId;
    double lastKnownLat = 0.0;
    double lastKnownLon = 0.0;
    bool hasRegisteredWithServer = false;
    bool acceptedPrivacy = false;
    QString displayName;
    bool showBlessingsSplash = true;
    int prayerRefreshHours = 12;
    int weatherRefreshHours = 4;
    int nasaRefreshHours = 12;
    int alertsRefreshHours = 4;
    int geoRefreshHours = 24;
    QString weatherSourceMode = QStringLiteral("auto");
    QString weatherProviderId = QStringLiteral("openmeteo");
    QString weatherCustomURL;
    QString learnAdhanButtonTitle = QStringLiteral("Learn Prayer");
    QString learnAdhanVideoURL;
    QString quranTranslationLang = QStringLiteral("en");
    QString quranTextSize = QStringLiteral("huge");
    QString quranBrowseTab = QStringLiteral("para");
    int quranResumeSurah = 1;
    int quranResumeAyah = 1;

    // Read-only values of the settings object that travel with the settings.
    QString deviceId;             // scopes per-device keys
    bool effectiveMetric = true;  // units after resolving "auto" against the locale
    // Set by the clock for a load of this computer's own place (automatic mode): the computer's own time
    // zone then gives the place's offset, not the zone of the nearest town, which may lie over a border.
    bool devicePlace = false;

    static SettingsSnapshot defaults() { return SettingsSnapshot{}; }
};
