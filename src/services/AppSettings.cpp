#include "services/AppSettings.h"

#include "model/AppLanguage.h"
#include "platform/DefaultsStore.h"
#include "services/AdhanAudioCache.h"
#include "services/InstallCleanup.h"

#include <pwd.h>
#include <unistd.h>
#include <QFile>
#include <QLocale>
#include <QSysInfo>
#include <QTextBoundaryFinder>
#include <cmath>
#include <limits>
#include <variant>

namespace {

using Field = std::variant<QString SettingsSnapshot::*, int SettingsSnapshot::*, bool SettingsSnapshot::*,
                           double SettingsSnapshot::*>;

struct Setting {
    QString name;
    Field field;
};

// Every setting in the order it is loaded; the names are the storage names and the property names.
const std::vector<Setting>& settingsTable() {
    static const std::vector<Setting> table = {
        {QStringLiteral("lang"), &SettingsSnapshot::lang},
        {QStringLiteral("adhanLang"), &SettingsSnapshot::adhanLang},
        {QStringLiteral("method"), &SettingsSnapshot::method},
        {QStringLiteral("asr"), &SettingsSnapshot::asr},
        {QStringLiteral("highLat"), &SettingsSnapshot::highLat},
        {QStringLiteral("use24HourClock"), &SettingsSnapshot::use24HourClock},
        {QStringLiteral("unitsMode"), &SettingsSnapshot::unitsMode},
        {QStringLiteral("logoRotateIndex"), &SettingsSnapshot::logoRotateIndex},
        {QStringLiteral("adhanLength"), &SettingsSnapshot::adhanLength},
        {QStringLiteral("notifyMode"), &SettingsSnapshot::notifyMode},
        {QStringLiteral("vibrate"), &SettingsSnapshot::vibrate},
        {QStringLiteral("emergencyAlarm"), &SettingsSnapshot::emergencyAlarm},
        {QStringLiteral("alertsScope"), &SettingsSnapshot::alertsScope},
        {QStringLiteral("useManualLocation"), &SettingsSnapshot::useManualLocation},
        {QStringLiteral("manualCity"), &SettingsSnapshot::manualCity},
        {QStringLiteral("manualPlaceId"), &SettingsSnapshot::manualPlaceId},
        {QStringLiteral("manualLat"), &SettingsSnapshot::manualLat},
        {QStringLiteral("manualLon"), &SettingsSnapshot::manualLon},
        {QStringLiteral("manualTzOffsetHours"), &SettingsSnapshot::manualTzOffsetHours},
        {QStringLiteral("clockId"), &SettingsSnapshot::clockId},
        {QStringLiteral("lastKnownLat"), &SettingsSnapshot::lastKnownLat},
        {QStringLiteral("lastKnownLon"), &SettingsSnapshot::lastKnownLon},
        {QStringLiteral("hasRegisteredWithServer"), &SettingsSnapshot::hasRegisteredWithServer},
        {QStringLiteral("acceptedPrivacy"), &SettingsSnapshot::acceptedPrivacy},
        {QStringLiteral("displayName"), &SettingsSnapshot::displayName},
        {QStringLiteral("showBlessingsSplash"), &SettingsSnapshot::showBlessingsSplash},
        {QStringLiteral("prayerRefreshHours"), &SettingsSnapshot::prayerRefreshHours},
        {QStringLiteral("weatherRefreshHours"), &SettingsSnapshot::weatherRefreshHours},
        {QStringLiteral("nasaRefreshHours"), &SettingsSnapshot::nasaRefreshHours},
        {QStringLiteral("alertsRefreshHours"), &SettingsSnapshot::alertsRefreshHours},
        {QStringLiteral("geoRefreshHours"), &SettingsSnapshot::geoRefreshHours},
        {QStringLiteral("weatherSourceMode"), &SettingsSnapshot::weatherSourceMode},
        {QStringLiteral("weatherProviderId"), &SettingsSnapshot::weatherProviderId},
        {QStringLiteral("weatherCustomURL"), &SettingsSnapshot::weatherCustomURL},
        {QStringLiteral("learnAdhanButtonTitle"), &SettingsSnapshot::learnAdhanButtonTitle},
        {QStringLiteral("learnAdhanVideoURL"), &SettingsSnapshot::learnAdhanVideoURL},
        {QStringLiteral("quranTranslationLang"), &SettingsSnapshot::quranTranslationLang},
        {QStringLiteral("quranTextSize"), &SettingsSnapshot::quranTextSize},
        {QStringLiteral("quranBrowseTab"), &SettingsSnapshot::quranBrowseTab},
        {QStringLiteral("quranResumeSurah"), &SettingsSnapshot::quranResumeSurah},
        {QStringLiteral("quranResumeAyah"), &SettingsSnapshot::quranResumeAyah},
    };
    return table;
}

const Setting* findSetting(const Field& field) {
    for (const Setting& s : settingsTable()) {
        if (s.field == field) return &s;
    }
    return nullptr;
}

bool isLocationField(const Field& field) {
    static const Field location[] = {
        &SettingsSnapshot::useManualLocation, &SettingsSnapshot::manualCity,
        &SettingsSnapshot::manualPlaceId,     &SettingsSnapshot::manualLat,
        &SettingsSnapshot::manualLon,         &SettingsSnapshot::manualTzOffsetHours,
        &SettingsSnapshot::lastKnownLat,      &SettingsSnapshot::lastKnownLon};
    for (const Field& f : location) {
        if (f == field) return true;
    }
    return false;
}

int clampToInt(qint64 v) {
    return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

AppSettings::AppSettings(QObject* parent) : AppSettings(DefaultsStore::standard(), parent) {}

AppSettings::AppSettings(DefaultsStore& store, QObject* parent) : QObject(parent), store_(store) {
    connect(&store_, &DefaultsStore::failureChanged, this, &AppSettings::storeFailureChanged);
    InstallCleanup::runIfNeededBeforeSettingsLoad(store_);
    suppressWrites_ = true;
    cachedDeviceId_ = bootstrapDeviceId(store_);
    load();
    suppressWrites_ = false;

    if (!store_.contains(scopedKey(QStringLiteral("displayName")))) {
        // Written even when empty, so the suggestion is made once and a cleared name stays cleared.
        setDisplayName(suggestedAccountDisplayName());
    }
    AdhanAudioCache::purgeLegacyServerCacheArtifacts();
    repairLearnAdhan();
    ensureLocalClockId();
    healIncompleteManualLocation();
    keepDeviceIdInKeychain();
}

AppSettings::~AppSettings() = default;

void AppSettings::load() {
    values_ = SettingsSnapshot::defaults();
    values_.lang = preferredLanguageCode();
    const QString id = deviceId();
    for (const Setting& s : settingsTable()) {
        migrateLegacyIfNeeded(store_, s.name, id);
        const QString key = scopedKey(s.name);
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(values_.*member)>;
                if constexpr (std::is_same_v<T, QString>) {
                    if (auto v = store_.string(key)) values_.*member = *v;
                } else if (store_.contains(key)) {
                    // A present key never falls back to the default: what cannot be read is 0 or false.
                    if constexpr (std::is_same_v<T, int>) values_.*member = clampToInt(store_.integer(key));
                    if constexpr (std::is_same_v<T, bool>) values_.*member = store_.boolean(key);
                    if constexpr (std::is_same_v<T, double>) values_.*member = store_.doubleValue(key);
                }
            },
            s.field);
    }
}

void AppSettings::migrateLegacyIfNeeded(DefaultsStore& store, const QString& name, const QString& deviceId) {
    const QString scoped = QStringLiteral("profile.") + deviceId + u'.' + name;
    if (store.contains(scoped)) return;
    // An id from the environment is a separate identity (tests, a second profile): it inherits nothing.
    if (envDeviceId()) return;
    if (const auto legacy = store.object(name)) store.setObject(scoped, *legacy);
}

template <class T>
void AppSettings::assign(T SettingsSnapshot::*field, const T& value, void (AppSettings::*changed)()) {
    const bool differs = !(values_.*field == value);
    values_.*field = value;
    if (differs) {
        emit(this->*changed)();
        if (isLocationField(field)) emit locationChanged();
    }
    // Every assignment is one write, also of an unchanged value: the store is the record of what was set.
    if (!suppressWrites_) {
        if (const Setting* s = findSetting(field)) writeThrough(s->name);
    }
    if constexpr (std::is_same_v<T, QString>) {
        // A provisional id is not saved before the keyring has said whether it holds the clock's own.
        if (field == &SettingsSnapshot::clockId && !isProvisionalClockId(values_.clockId))
            persistClockIdToKeychain(values_.clockId);
    }
}

// The setters in the header use these four.
template void AppSettings::assign(QString SettingsSnapshot::*, const QString&, void (AppSettings::*)());
template void AppSettings::assign(int SettingsSnapshot::*, const int&, void (AppSettings::*)());
template void AppSettings::assign(bool SettingsSnapshot::*, const bool&, void (AppSettings::*)());
template void AppSettings::assign(double SettingsSnapshot::*, const double&, void (AppSettings::*)());

void AppSettings::writeThrough(const QString& name) {
    for (const Setting& s : settingsTable()) {
        if (s.name != name) continue;
        const QString key = scopedKey(name);
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(values_.*member)>;
                if constexpr (std::is_same_v<T, QString>) store_.setString(key, values_.*member);
                if constexpr (std::is_same_v<T, int>) store_.setInteger(key, values_.*member);
                if constexpr (std::is_same_v<T, bool>) store_.setBool(key, values_.*member);
                if constexpr (std::is_same_v<T, double>) store_.setDouble(key, values_.*member);
            },
            s.field);
        return;
    }
}

SettingsSnapshot AppSettings::snapshot() const {
    SettingsSnapshot s = values_;
    s.deviceId = cachedDeviceId_.value_or(QString());
    s.effectiveMetric = effectiveMetric();
    return s;
}

QString AppSettings::deviceId() {
    if (!cachedDeviceId_) cachedDeviceId_ = bootstrapDeviceId(store_);
    return *cachedDeviceId_;
}

QString AppSettings::scopedKey(const QString& name) {
    return QStringLiteral("profile.") + deviceId() + u'.' + name;
}

void AppSettings::repairLearnAdhan() {
    const QString link = values_.learnAdhanVideoURL.trimmed().toLower();
    // The former built-in video is gone; an empty link means the current built-in one.
    if (!link.isEmpty() && link.contains(QLatin1String("4zr6tngmksi"))) setLearnAdhanVideoURL(QString());
    if (values_.learnAdhanButtonTitle.trimmed().isEmpty())
        setLearnAdhanButtonTitle(QStringLiteral("Learn Prayer"));
}

// ---- Fixed location ----

bool AppSettings::hasManualCoordinates() const {
    return values_.useManualLocation &&
           (std::abs(values_.manualLat) > 0.001 || std::abs(values_.manualLon) > 0.001);
}

bool AppSettings::hasManualTimezone() const {
    return store_.contains(QStringLiteral("profile.") + cachedDeviceId_.value_or(QString()) +
                           QStringLiteral(".manualTzOffsetHours"));
}

QString AppSettings::storeFailure() const {
    return store_.failure();
}

QString AppSettings::settingsResetNotice() const {
    if (store_.movedAsideTo().isEmpty()) return {};
    return QStringLiteral(
               "Orvane's settings file was damaged, so Orvane has started afresh. The damaged "
               "file is kept at %1.")
        .arg(store_.movedAsideTo());
}

bool AppSettings::hasUsableFixedAddress() const {
    return values_.useManualLocation && !values_.manualCity.trimmed().isEmpty() && hasManualCoordinates();
}

void AppSettings::healIncompleteManualLocation(const std::optional<QString>& cityHint,
                                               const std::optional<double>& tzHint) {
    bool changed = false;
    if (values_.useManualLocation && std::abs(values_.manualLat) < 0.001 &&
        std::abs(values_.manualLon) < 0.001 &&
        (std::abs(values_.lastKnownLat) > 0.001 || std::abs(values_.lastKnownLon) > 0.001)) {
        setManualLat(values_.lastKnownLat);
        setManualLon(values_.lastKnownLon);
        changed = true;
    }
    if (values_.manualCity.trimmed().isEmpty() && cityHint && !cityHint->trimmed().isEmpty()) {
        setManualCity(cityHint->trimmed());
        changed = true;
    }
    if (tzHint && std::isfinite(*tzHint) && !hasManualTimezone()) {
        // An offset of about zero is believed only for a place near 0,0; elsewhere it is the "unknown" value.
        const bool accepted = std::abs(*tzHint) > 0.01 ||
                              (std::abs(values_.manualLat) < 1.0 && std::abs(values_.manualLon) < 1.0 &&
                               std::abs(values_.lastKnownLat) < 1.0 && std::abs(values_.lastKnownLon) < 1.0);
        if (accepted) {
            setManualTzOffsetHours(*tzHint);
            flushLocationFieldsToDisk();
            store_.sync();
            return;
        }
    }
    if (changed) {
        flushLocationFieldsToDisk();
        store_.sync();
    }
}

void AppSettings::persistResolvedLocation(const std::optional<QString>& city, double lat, double lon,
                                          const std::optional<QString>& placeId,
                                          const std::optional<double>& tzOffsetHours) {
    // A place without finite coordinates is no place: it must not overwrite a good one.
    if (!std::isfinite(lat) || !std::isfinite(lon)) return;
    if (std::abs(values_.lastKnownLat - lat) > 1e-5) setLastKnownLat(lat);
    if (std::abs(values_.lastKnownLon - lon) > 1e-5) setLastKnownLon(lon);
    if (values_.useManualLocation) {
        if (std::abs(values_.manualLat - lat) > 1e-5) setManualLat(lat);
        if (std::abs(values_.manualLon - lon) > 1e-5) setManualLon(lon);
        if (city) {
            const QString trimmed = city->trimmed();
            if (!trimmed.isEmpty() && trimmed != values_.manualCity) setManualCity(trimmed);
        }
        if (placeId && !placeId->isEmpty() && *placeId != values_.manualPlaceId) setManualPlaceId(*placeId);
        if (tzOffsetHours && std::isfinite(*tzOffsetHours)) setManualTzOffsetHours(*tzOffsetHours);
    }
    flushLocationFieldsToDisk();
    store_.sync();
}

void AppSettings::flushLocationFieldsToDisk() {
    deviceId();  // scoped keys need the id even before construction fetched it
    for (const char* name : {"useManualLocation", "manualCity", "manualPlaceId", "manualLat", "manualLon",
                             "manualTzOffsetHours", "lastKnownLat", "lastKnownLon"}) {
        writeThrough(QLatin1String(name));
    }
}

// ---- Display name, language, units ----

QString AppSettings::sanitizeDisplayName(const QString& name) {
    QString cleaned;
    const QString trimmed = name.trimmed();
    cleaned.reserve(trimmed.size());
    for (const char32_t c : trimmed.toUcs4()) {
        const QChar::Category cat = QChar::category(c);
        if (cat == QChar::Other_Control || cat == QChar::Other_Format) continue;
        cleaned += QString::fromUcs4(&c, 1);
    }
    cleaned = cleaned.trimmed();
    if (cleaned.contains(u'@')) return {};
    const QString lower = cleaned.toLower();
    if (lower.contains(QLatin1String("apple id")) || lower.contains(QLatin1String("icloud"))) return {};
    // Eighty user-perceived characters: a flag or an accented letter counts once.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, cleaned);
    int count = 0;
    qsizetype cut = -1;
    while (graphemes.toNextBoundary() != -1) {
        if (++count == 80) {
            cut = graphemes.position();
            break;
        }
    }
    if (cut < 0 || cut >= cleaned.size()) return cleaned;
    return cleaned.left(cut).trimmed();
}

namespace {

QString accountFullName() {
    const passwd* pw = ::getpwuid(::getuid());
    if (!pw || !pw->pw_gecos) return {};
    // The full name is the first comma-separated field of the account's comment.
    return QString::fromLocal8Bit(pw->pw_gecos).section(u',', 0, 0);
}

QString prettyHostName() {
    QFile info(QStringLiteral("/etc/machine-info"));
    if (info.open(QIODevice::ReadOnly)) {
        while (!info.atEnd()) {
            const QString line = QString::fromUtf8(info.readLine()).trimmed();
            if (!line.startsWith(QLatin1String("PRETTY_HOSTNAME="))) continue;
            QString value = line.mid(16);
            if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                value.back() == value.front()) {
                value = value.mid(1, value.size() - 2);
            }
            if (!value.trimmed().isEmpty()) return value;
        }
    }
    return QSysInfo::machineHostName();
}

}  // namespace

QString AppSettings::suggestedAccountDisplayName() {
    const QString full = sanitizeDisplayName(accountFullName());
    if (!full.isEmpty()) return full;
    return sanitizeDisplayName(prettyHostName());
}

void AppSettings::refillDisplayNameFromAccount() {
    setDisplayName(suggestedAccountDisplayName());
}

QString AppSettings::preferredLanguageCode() {
    return preferredLanguageCode(QLocale::system().uiLanguages());
}

QString AppSettings::preferredLanguageCode(const QStringList& preferredLanguages) {
    if (preferredLanguages.isEmpty()) return QStringLiteral("en");
    QString first = preferredLanguages.first();
    first.replace(u'_', u'-');
    const QStringList pieces = first.split(u'-', Qt::SkipEmptyParts);
    if (pieces.isEmpty()) return QStringLiteral("en");
    return AppLanguage::isCode(pieces.first()) ? pieces.first() : QStringLiteral("en");
}

bool AppSettings::effectiveMetric() const {
    if (values_.unitsMode == u"metric") return true;
    if (values_.unitsMode == u"imperial") return false;
    return QLocale::system().measurementSystem() != QLocale::ImperialUSSystem;
}

QList<AppSettings::QuranTextSize> AppSettings::allQuranTextSizes() {
    return {QuranTextSize::Small, QuranTextSize::Normal, QuranTextSize::Large, QuranTextSize::Huge};
}

QString AppSettings::rawValue(QuranTextSize size) {
    switch (size) {
        case QuranTextSize::Small:
            return QStringLiteral("small");
        case QuranTextSize::Normal:
            return QStringLiteral("normal");
        case QuranTextSize::Large:
            return QStringLiteral("large");
        case QuranTextSize::Huge:
            return QStringLiteral("huge");
    }
    return {};
}

std::optional<AppSettings::QuranTextSize> AppSettings::quranTextSizeFromRaw(const QString& raw) {
    for (const QuranTextSize size : allQuranTextSizes()) {
        if (rawValue(size) == raw) return size;
    }
    return std::nullopt;
}
