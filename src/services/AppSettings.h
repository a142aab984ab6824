#pragma once

#include "model/SettingsSnapshot.h"
#include "platform/SecretStore.h"
#include "services/Keychain.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

class DefaultsStore;

// The one settings object: every user setting as a property that views bind to, each kept in the defaults
// store under a key scoped to this device ("profile.<deviceId>.<name>") and written through on every
// assignment. It also owns the device and clock identifiers and the saved home address on the own server.
// GUI thread only; the engine gets a SettingsSnapshot instead.
class AppSettings : public QObject {
    Q_OBJECT
    // clang-format off
    Q_PROPERTY(QString lang READ lang WRITE setLang NOTIFY langChanged)
    Q_PROPERTY(QString adhanLang READ adhanLang WRITE setAdhanLang NOTIFY adhanLangChanged)
    Q_PROPERTY(QString method READ method WRITE setMethod NOTIFY methodChanged)
    Q_PROPERTY(int asr READ asr WRITE setAsr NOTIFY asrChanged)
    Q_PROPERTY(QString highLat READ highLat WRITE setHighLat NOTIFY highLatChanged)
    Q_PROPERTY(bool use24HourClock READ use24HourClock WRITE setUse24HourClock NOTIFY use24HourClockChanged)
    Q_PROPERTY(QString unitsMode READ unitsMode WRITE setUnitsMode NOTIFY unitsModeChanged)
    Q_PROPERTY(int logoRotateIndex READ logoRotateIndex WRITE setLogoRotateIndex NOTIFY logoRotateIndexChanged)
    Q_PROPERTY(int adhanLength READ adhanLength WRITE setAdhanLength NOTIFY adhanLengthChanged)
    Q_PROPERTY(QString notifyMode READ notifyMode WRITE setNotifyMode NOTIFY notifyModeChanged)
    Q_PROPERTY(bool vibrate READ vibrate WRITE setVibrate NOTIFY vibrateChanged)
    Q_PROPERTY(bool emergencyAlarm READ emergencyAlarm WRITE setEmergencyAlarm NOTIFY emergencyAlarmChanged)
    Q_PROPERTY(QString alertsScope READ alertsScope WRITE setAlertsScope NOTIFY alertsScopeChanged)
    Q_PROPERTY(bool useManualLocation READ useManualLocation WRITE setUseManualLocation NOTIFY useManualLocationChanged)
    Q_PROPERTY(QString manualCity READ manualCity WRITE setManualCity NOTIFY manualCityChanged)
    Q_PROPERTY(QString manualPlaceId READ manualPlaceId WRITE setManualPlaceId NOTIFY manualPlaceIdChanged)
    Q_PROPERTY(double manualLat READ manualLat WRITE setManualLat NOTIFY manualLatChanged)
    Q_PROPERTY(double manualLon READ manualLon WRITE setManualLon NOTIFY manualLonChanged)
    Q_PROPERTY(double manualTzOffsetHours READ manualTzOffsetHours WRITE setManualTzOffsetHours NOTIFY manualTzOffsetHoursChanged)
    Q_PROPERTY(QString clockId READ clockId WRITE setClockId NOTIFY clockIdChanged)
    Q_PROPERTY(double lastKnownLat READ lastKnownLat WRITE setLastKnownLat NOTIFY lastKnownLatChanged)
    Q_PROPERTY(double lastKnownLon READ lastKnownLon WRITE setLastKnownLon NOTIFY lastKnownLonChanged)
    Q_PROPERTY(bool hasRegisteredWithServer READ hasRegisteredWithServer WRITE setHasRegisteredWithServer NOTIFY hasRegisteredWithServerChanged)
    Q_PROPERTY(bool acceptedPrivacy READ acceptedPrivacy WRITE setAcceptedPrivacy NOTIFY acceptedPrivacyChanged)
    Q_PROPERTY(QString displayName READ displayName WRITE setDisplayName NOTIFY displayNameChanged)
    Q_PROPERTY(bool showBlessingsSplash READ showBlessingsSplash WRITE setShowBlessingsSplash NOTIFY showBlessingsSplashChanged)
    Q_PROPERTY(int prayerRefreshHours READ prayerRefreshHours WRITE setPrayerRefreshHours NOTIFY prayerRefreshHoursChanged)
    Q_PROPERTY(int weatherRefreshHours READ weatherRefreshHours WRITE setWeatherRefreshHours NOTIFY weatherRefreshHoursChanged)
    Q_PROPERTY(int nasaRefreshHours READ nasaRefreshHours WRITE setNasaRefreshHours NOTIFY nasaRefreshHoursChanged)
    Q_PROPERTY(int alertsRefreshHours READ alertsRefreshHours WRITE setAlertsRefreshHours NOTIFY alertsRefreshHoursChanged)
    Q_PROPERTY(int geoRefreshHours READ geoRefreshHours WRITE setGeoRefreshHours NOTIFY geoRefreshHoursChanged)
    Q_PROPERTY(QString weatherSourceMode READ weatherSourceMode WRITE setWeatherSourceMode NOTIFY weatherSourceModeChanged)
    Q_PROPERTY(QString weatherProviderId READ weatherProviderId WRITE setWeatherProviderId NOTIFY weatherProviderIdChanged)
    Q_PROPERTY(QString weatherCustomURL READ weatherCustomURL WRITE setWeatherCustomURL NOTIFY weatherCustomURLChanged)
    Q_PROPERTY(QString learnAdhanButtonTitle READ learnAdhanButtonTitle WRITE setLearnAdhanButtonTitle NOTIFY learnAdhanButtonTitleChanged)
    Q_PROPERTY(QString learnAdhanVideoURL READ learnAdhanVideoURL WRITE setLearnAdhanVideoURL NOTIFY learnAdhanVideoURLChanged)
    Q_PROPERTY(QString quranTranslationLang READ quranTranslationLang WRITE setQuranTranslationLang NOTIFY quranTranslationLangChanged)
    Q_PROPERTY(QString quranTextSize READ quranTextSize WRITE setQuranTextSize NOTIFY quranTextSizeChanged)
    Q_PROPERTY(QString quranBrowseTab READ quranBrowseTab WRITE setQuranBrowseTab NOTIFY quranBrowseTabChanged)
    Q_PROPERTY(int quranResumeSurah READ quranResumeSurah WRITE setQuranResumeSurah NOTIFY quranResumeSurahChanged)
    Q_PROPERTY(int quranResumeAyah READ quranResumeAyah WRITE setQuranResumeAyah NOTIFY quranResumeAyahChanged)
    // clang-format on
    Q_PROPERTY(QString deviceId READ deviceId CONSTANT)
    Q_PROPERTY(bool effectiveMetric READ effectiveMetric NOTIFY unitsModeChanged)
    Q_PROPERTY(bool hasUsableFixedAddress READ hasUsableFixedAddress NOTIFY locationChanged)
    // Why settings are not being saved (the store's file cannot be opened or written); empty while they are.
    Q_PROPERTY(QString storeFailure READ storeFailure NOTIFY storeFailureChanged)
    // Said once, on the first screen after a damaged settings file was set aside: where the old file is.
    Q_PROPERTY(QString settingsResetNotice READ settingsResetNotice CONSTANT)

  public:
    // Loads every setting from `store` (the process's standard store by default), after the once-per-build
    // cleanup, and makes sure both identifiers exist.
    explicit AppSettings(QObject* parent = nullptr);
    AppSettings(DefaultsStore& store, QObject* parent = nullptr);
    ~AppSettings() override;

    const QString& lang() const { return values_.lang; }
    void setLang(const QString& value) { assign(&SettingsSnapshot::lang, value, &AppSettings::langChanged); }
    const QString& adhanLang() const { return values_.adhanLang; }
    void setAdhanLang(const QString& value) {
        assign(&SettingsSnapshot::adhanLang, value, &AppSettings::adhanLangChanged);
    }
    const QString& method() const { return values_.method; }
    void setMethod(const QString& value) {
        assign(&SettingsSnapshot::method, value, &AppSettings::methodChanged);
    }
    int asr() const { return values_.asr; }
    void setAsr(int value) { assign(&SettingsSnapshot::asr, value, &AppSettings::asrChanged); }
    const QString& highLat() const { return values_.highLat; }
    void setHighLat(const QString& value) {
        assign(&SettingsSnapshot::highLat, value, &AppSettings::highLatChanged);
    }
    bool use24HourClock() const { return values_.use24HourClock; }
    void setUse24HourClock(bool value) {
        assign(&SettingsSnapshot::use24HourClock, value, &AppSettings::use24HourClockChanged);
    }
    const QString& unitsMode() const { return values_.unitsMode; }
    void setUnitsMode(const QString& value) {
        assign(&SettingsSnapshot::unitsMode, value, &AppSettings::unitsModeChanged);
    }
    int logoRotateIndex() const { return values_.logoRotateIndex; }
    void setLogoRotateIndex(int value) {
        assign(&SettingsSnapshot::logoRotateIndex, value, &AppSettings::logoRotateIndexChanged);
    }
    int adhanLength() const { return values_.adhanLength; }
    void setAdhanLength(int value) {
        assign(&SettingsSnapshot::adhanLength, value, &AppSettings::adhanLengthChanged);
    }
    const QString& notifyMode() const { return values_.notifyMode; }
    void setNotifyMode(const QString& value) {
        assign(&SettingsSnapshot::notifyMode, value, &AppSettings::notifyModeChanged);
    }
    bool vibrate() const { return values_.vibrate; }
    void setVibrate(bool value) { assign(&SettingsSnapshot::vibrate, value, &AppSettings::vibrateChanged); }
    bool emergencyAlarm() const { return values_.emergencyAlarm; }
    void setEmergencyAlarm(bool value) {
        assign(&SettingsSnapshot::emergencyAlarm, value, &AppSettings::emergencyAlarmChanged);
    }
    const QString& alertsScope() const { return values_.alertsScope; }
    void setAlertsScope(const QString& value) {
        assign(&SettingsSnapshot::alertsScope, value, &AppSettings::alertsScopeChanged);
    }
    bool useManualLocation() const { return values_.useManualLocation; }
    void setUseManualLocation(bool value) {
        assign(&SettingsSnapshot::useManualLocation, value, &AppSettings::useManualLocationChanged);
    }
    const QString& manualCity() const { return values_.manualCity; }
    void setManualCity(const QString& value) {
        assign(&SettingsSnapshot::manualCity, value, &AppSettings::manualCityChanged);
    }
    const QString& manualPlaceId() const { return values_.manualPlaceId; }
    void setManualPlaceId(const QString& value) {
        assign(&SettingsSnapshot::manualPlaceId, value, &AppSettings::manualPlaceIdChanged);
    }
    double manualLat() const { return values_.manualLat; }
    void setManualLat(double value) {
        assign(&SettingsSnapshot::manualLat, value, &AppSettings::manualLatChanged);
    }
    double manualLon() const { return values_.manualLon; }
    void setManualLon(double value) {
        assign(&SettingsSnapshot::manualLon, value, &AppSettings::manualLonChanged);
    }
    double manualTzOffsetHours() const { return values_.manualTzOffsetHours; }
    void setManualTzOffsetHours(double value) {
        assign(&SettingsSnapshot::manualTzOffsetHours, value, &AppSettings::manualTzOffsetHoursChanged);
    }
    const QString& clockId() const { return values_.clockId; }
    void setClockId(const QString& value) {
        assign(&SettingsSnapshot::clockId, value, &AppSettings::clockIdChanged);
    }
    double lastKnownLat() const { return values_.lastKnownLat; }
    void setLastKnownLat(double value) {
        assign(&SettingsSnapshot::lastKnownLat, value, &AppSettings::lastKnownLatChanged);
    }
    double lastKnownLon() const { return values_.lastKnownLon; }
    void setLastKnownLon(double value) {
        assign(&SettingsSnapshot::lastKnownLon, value, &AppSettings::lastKnownLonChanged);
    }
    bool hasRegisteredWithServer() const { return values_.hasRegisteredWithServer; }
    void setHasRegisteredWithServer(bool value) {
        assign(&SettingsSnapshot::hasRegisteredWithServer, value,
               &AppSettings::hasRegisteredWithServerChanged);
    }
    bool acceptedPrivacy() const { return values_.acceptedPrivacy; }
    void setAcceptedPrivacy(bool value) {
        assign(&SettingsSnapshot::acceptedPrivacy, value, &AppSettings::acceptedPrivacyChanged);
    }
    const QString& displayName() const { return values_.displayName; }
    void setDisplayName(const QString& value) {
        assign(&SettingsSnapshot::displayName, value, &AppSettings::displayNameChanged);
    }
    bool showBlessingsSplash() const { return values_.showBlessingsSplash; }
    void setShowBlessingsSplash(bool value) {
        assign(&SettingsSnapshot::showBlessingsSplash, value, &AppSettings::showBlessingsSplashChanged);
    }
    int prayerRefreshHours() const { return values_.prayerRefreshHours; }
    void setPrayerRefreshHours(int value) {
        assign(&SettingsSnapshot::prayerRefreshHours, value, &AppSettings::prayerRefreshHoursChanged);
    }
    int weatherRefreshHours() const { return values_.weatherRefreshHours; }
    void setWeatherRefreshHours(int value) {
        assign(&SettingsSnapshot::weatherRefreshHours, value, &AppSettings::weatherRefreshHoursChanged);
    }
    int nasaRefreshHours() const { return values_.nasaRefreshHours; }
    void setNasaRefreshHours(int value) {
        assign(&SettingsSnapshot::nasaRefreshHours, value, &AppSettings::nasaRefreshHoursChanged);
    }
    int alertsRefreshHours() const { return values_.alertsRefreshHours; }
    void setAlertsRefreshHours(int value) {
        assign(&SettingsSnapshot::alertsRefreshHours, value, &AppSettings::alertsRefreshHoursChanged);
    }
    int geoRefreshHours() const { return values_.geoRefreshHours; }
    void setGeoRefreshHours(int value) {
        assign(&SettingsSnapshot::geoRefreshHours, value, &AppSettings::geoRefreshHoursChanged);
    }
    const QString& weatherSourceMode() const { return values_.weatherSourceMode; }
    void setWeatherSourceMode(const QString& value) {
        assign(&SettingsSnapshot::weatherSourceMode, value, &AppSettings::weatherSourceModeChanged);
    }
    const QString& weatherProviderId() const { return values_.weatherProviderId; }
    void setWeatherProviderId(const QString& value) {
        assign(&SettingsSnapshot::weatherProviderId, value, &AppSettings::weatherProviderIdChanged);
    }
    const QString& weatherCustomURL() const { return values_.weatherCustomURL; }
    void setWeatherCustomURL(const QString& value) {
        assign(&SettingsSnapshot::weatherCustomURL, value, &AppSettings::weatherCustomURLChanged);
    }
    const QString& learnAdhanButtonTitle() const { return values_.learnAdhanButtonTitle; }
    void setLearnAdhanButtonTitle(const QString& value) {
        assign(&SettingsSnapshot::learnAdhanButtonTitle, value, &AppSettings::learnAdhanButtonTitleChanged);
    }
    const QString& learnAdhanVideoURL() const { return values_.learnAdhanVideoURL; }
    void setLearnAdhanVideoURL(const QString& value) {
        assign(&SettingsSnapshot::learnAdhanVideoURL, value, &AppSettings::learnAdhanVideoURLChanged);
    }
    const QString& quranTranslationLang() const { return values_.quranTranslationLang; }
    void setQuranTranslationLang(const QString& value) {
        assign(&SettingsSnapshot::quranTranslationLang, value, &AppSettings::quranTranslationLangChanged);
    }
    const QString& quranTextSize() const { return values_.quranTextSize; }
    void setQuranTextSize(const QString& value) {
        assign(&SettingsSnapshot::quranTextSize, value, &AppSettings::quranTextSizeChanged);
    }
    const QString& quranBrowseTab() const { return values_.quranBrowseTab; }
    void setQuranBrowseTab(const QString& value) {
        assign(&SettingsSnapshot::quranBrowseTab, value, &AppSettings::quranBrowseTabChanged);
    }
    int quranResumeSurah() const { return values_.quranResumeSurah; }
    void setQuranResumeSurah(int value) {
        assign(&SettingsSnapshot::quranResumeSurah, value, &AppSettings::quranResumeSurahChanged);
    }
    int quranResumeAyah() const { return values_.quranResumeAyah; }
    void setQuranResumeAyah(int value) {
        assign(&SettingsSnapshot::quranResumeAyah, value, &AppSettings::quranResumeAyahChanged);
    }

    SettingsSnapshot snapshot() const;
    DefaultsStore& store() const { return store_; }
    QString storeFailure() const;
    QString settingsResetNotice() const;

    // Identifiers.
    QString deviceId();
    QString scopedKey(const QString& name);
    Q_INVOKABLE QString ensureLocalClockId();
    static std::optional<QString> envDeviceId();
    // The stored id, else a new provisional one; never asks the keyring (keepDeviceIdInKeychain does, after
    // construction).
    static QString bootstrapDeviceId(DefaultsStore& store);
    // The keyring's clock id when it is a valid one, with the keyring's status.
    static QCoro::Task<Keychain::Found> loadClockIdFromKeychain();
    static std::optional<QString> loadClockIdFromUserDefaults(const DefaultsStore& store,
                                                              const std::optional<QString>& deviceId);
    // Saves a valid clock id in the keyring in the background, once; a failed save waits for retryKeyring.
    static void persistClockIdToKeychain(const QString& clockId);
    // A keyring that was locked or missing is asked again only at start-up and when the user acts (each ask
    // may raise the desktop's unlock prompt); the views call this on the user's actions.
    Q_INVOKABLE void retryKeyring();
    // No keyring call of the identifiers is under way.
    static bool keyringIdle();
    static bool isValidClockId(const QString& clockId);  // on the trimmed text

    // Fixed location.
    bool hasManualCoordinates() const;
    bool hasManualTimezone() const;
    bool hasUsableFixedAddress() const;
    void healIncompleteManualLocation(const std::optional<QString>& cityHint = std::nullopt,
                                      const std::optional<double>& tzHint = std::nullopt);
    void persistResolvedLocation(const std::optional<QString>& city, double lat, double lon,
                                 const std::optional<QString>& placeId = std::nullopt,
                                 const std::optional<double>& tzOffsetHours = std::nullopt);
    void flushLocationFieldsToDisk();

    // Saved home address on the own server.
    void rememberFixedLocation(const QString& city, double lat, double lon,
                               const std::optional<QString>& placeId = std::nullopt,
                               const std::optional<double>& tzOffsetHours = std::nullopt);
    // The same steps, waiting for the server: true only when the address was saved under the clock id.
    QCoro::Task<bool> rememberFixedLocationAndPush(QString city, double lat, double lon,
                                                   std::optional<QString> placeId,
                                                   std::optional<double> tzOffsetHours);
    QCoro::Task<bool> pushSavedAddressToServer();
    // `timeout` bounds the server's answer (start-up passes a short one).
    QCoro::Task<bool> pullSavedAddressFromServer(
        bool force, std::chrono::milliseconds timeout = std::chrono::milliseconds(60000));
    QCoro::Task<bool> reclaimClockId(QString typed);
    static std::optional<QString> cityHint(const QString& address);

    // Display name and language.
    Q_INVOKABLE void refillDisplayNameFromAccount();
    static QString sanitizeDisplayName(const QString& name);
    static QString suggestedAccountDisplayName();
    static QString preferredLanguageCode();
    static QString preferredLanguageCode(const QStringList& preferredLanguages);

    // Units after resolving "auto" against the locale: only the US measurement system is not metric.
    bool effectiveMetric() const;

    enum class QuranTextSize { Small, Normal, Large, Huge };
    static QList<QuranTextSize> allQuranTextSizes();
    static QString rawValue(QuranTextSize size);
    static std::optional<QuranTextSize> quranTextSizeFromRaw(const QString& raw);

    // Keys of the legacy, unscoped settings read once.
    static void migrateLegacyIfNeeded(DefaultsStore& store, const QString& name, const QString& deviceId);

  signals:
    void langChanged();
    void adhanLangChanged();
    void methodChanged();
    void asrChanged();
    void highLatChanged();
    void use24HourClockChanged();
    void unitsModeChanged();
    void logoRotateIndexChanged();
    void adhanLengthChanged();
    void notifyModeChanged();
    void vibrateChanged();
    void emergencyAlarmChanged();
    void alertsScopeChanged();
    void useManualLocationChanged();
    void manualCityChanged();
    void manualPlaceIdChanged();
    void manualLatChanged();
    void manualLonChanged();
    void manualTzOffsetHoursChanged();
    void clockIdChanged();
    void lastKnownLatChanged();
    void lastKnownLonChanged();
    void hasRegisteredWithServerChanged();
    void acceptedPrivacyChanged();
    void displayNameChanged();
    void showBlessingsSplashChanged();
    void prayerRefreshHoursChanged();
    void weatherRefreshHoursChanged();
    void nasaRefreshHoursChanged();
    void alertsRefreshHoursChanged();
    void geoRefreshHoursChanged();
    void weatherSourceModeChanged();
    void weatherProviderIdChanged();
    void weatherCustomURLChanged();
    void learnAdhanButtonTitleChanged();
    void learnAdhanVideoURLChanged();
    void quranTranslationLangChanged();
    void quranTextSizeChanged();
    void quranBrowseTabChanged();
    void quranResumeSurahChanged();
    void quranResumeAyahChanged();
    void locationChanged();
    void storeFailureChanged();

  private:
    template <class T>
    void assign(T SettingsSnapshot::*field, const T& value, void (AppSettings::*changed)());
    void writeThrough(const QString& name);
    void load();
    void repairLearnAdhan();
    QCoro::Task<> keepDeviceIdInKeychain();
    QCoro::Task<> settleClockIdWithKeychain();
    bool isProvisionalClockId(const QString& clockId) const;
    QCoro::Task<bool> pull(bool force, bool reclaim, std::chrono::milliseconds timeout);
    void applyFixedPlace(const QString& city, double lat, double lon, const std::optional<QString>& placeId,
                         const std::optional<double>& tzOffsetHours);

    DefaultsStore& store_;
    SettingsSnapshot values_;
    std::optional<QString> cachedDeviceId_;
    bool suppressWrites_ = false;
    bool clockSettling_ = false;
    bool keyringUnavailable_ = false;  // found so in this run; asked again only when the user acts
};
