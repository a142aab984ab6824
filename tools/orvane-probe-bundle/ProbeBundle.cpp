#include "ProbeBundle.h"

#include "ProbeArguments.h"
#include "engine/LocalBundleBuilder.h"
#include "model/JsonCoding.h"
#include "model/SettingsSnapshot.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"

#include <QCoreApplication>
#include <QCoro/QCoroTask>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <variant>

namespace ProbeBundle {

namespace {

using Field = std::variant<QString SettingsSnapshot::*, int SettingsSnapshot::*, bool SettingsSnapshot::*,
                           double SettingsSnapshot::*>;

// Every setting by the name the settings object stores it under.
const QHash<QString, Field>& settingFields() {
#define ORVANE_SETTING(name) \
    { QStringLiteral(#name), Field(&SettingsSnapshot::name) }
    static const QHash<QString, Field> fields{
        ORVANE_SETTING(lang),
        ORVANE_SETTING(adhanLang),
        ORVANE_SETTING(method),
        ORVANE_SETTING(asr),
        ORVANE_SETTING(highLat),
        ORVANE_SETTING(use24HourClock),
        ORVANE_SETTING(unitsMode),
        ORVANE_SETTING(logoRotateIndex),
        ORVANE_SETTING(adhanLength),
        ORVANE_SETTING(notifyMode),
        ORVANE_SETTING(vibrate),
        ORVANE_SETTING(emergencyAlarm),
        ORVANE_SETTING(alertsScope),
        ORVANE_SETTING(useManualLocation),
        ORVANE_SETTING(manualCity),
        ORVANE_SETTING(manualPlaceId),
        ORVANE_SETTING(manualLat),
        ORVANE_SETTING(manualLon),
        ORVANE_SETTING(manualTzOffsetHours),
        ORVANE_SETTING(clockId),
        ORVANE_SETTING(lastKnownLat),
        ORVANE_SETTING(lastKnownLon),
        ORVANE_SETTING(hasRegisteredWithServer),
        ORVANE_SETTING(acceptedPrivacy),
        ORVANE_SETTING(displayName),
        ORVANE_SETTING(showBlessingsSplash),
        ORVANE_SETTING(prayerRefreshHours),
        ORVANE_SETTING(weatherRefreshHours),
        ORVANE_SETTING(nasaRefreshHours),
        ORVANE_SETTING(alertsRefreshHours),
        ORVANE_SETTING(geoRefreshHours),
        ORVANE_SETTING(weatherSourceMode),
        ORVANE_SETTING(weatherProviderId),
        ORVANE_SETTING(weatherCustomURL),
        ORVANE_SETTING(learnAdhanButtonTitle),
        ORVANE_SETTING(learnAdhanVideoURL),
        ORVANE_SETTING(quranTranslationLang),
        ORVANE_SETTING(quranTextSize),
        ORVANE_SETTING(quranBrowseTab),
        ORVANE_SETTING(quranResumeSurah),
        ORVANE_SETTING(quranResumeAyah),
    };
#undef ORVANE_SETTING
    return fields;
}

// One value onto its field; false when the JSON type does not fit the setting's type.
bool assign(SettingsSnapshot& s, const Field& field, const QJsonValue& v) {
    struct Visitor {
        SettingsSnapshot& s;
        const QJsonValue& v;
        bool operator()(QString SettingsSnapshot::*m) const {
            if (!v.isString()) return false;
            s.*m = v.toString();
            return true;
        }
        bool operator()(int SettingsSnapshot::*m) const {
            const std::optional<qint64> n = JsonCoding::exactInteger(v);
            if (!n || *n < INT_MIN || *n > INT_MAX) return false;
            s.*m = int(*n);
            return true;
        }
        bool operator()(bool SettingsSnapshot::*m) const {
            if (!v.isBool()) return false;
            s.*m = v.toBool();
            return true;
        }
        bool operator()(double SettingsSnapshot::*m) const {
            if (!v.isDouble() || !std::isfinite(v.toDouble())) return false;
            s.*m = v.toDouble();
            return true;
        }
    };
    return std::visit(Visitor{s, v}, field);
}

// The defaults with the file's settings over them. A setting the file names is also present in the store,
// as it would be after the settings object wrote it (the fixed place's offset counts only then).
std::optional<QString> readSettings(const QString& path, SettingsSnapshot& settings) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("cannot read --settings ") + path;
    const std::optional<QJsonValue> parsed = JsonCoding::parse(file.readAll());
    if (!parsed || !parsed->isObject()) return QStringLiteral("--settings is not a JSON object: ") + path;
    const QJsonObject object = parsed->toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto field = settingFields().constFind(it.key());
        if (field == settingFields().constEnd()) return QStringLiteral("unknown setting ") + it.key();
        if (!assign(settings, *field, it.value())) return QStringLiteral("bad value of setting ") + it.key();
    }
    if (object.contains(QLatin1StringView("manualTzOffsetHours")))
        DefaultsStore::standard().setDouble(
            QStringLiteral("profile.") + settings.deviceId + QStringLiteral(".manualTzOffsetHours"),
            settings.manualTzOffsetHours);
    return std::nullopt;
}

// Takes a flag or an option with its value out of the list, for the options the shared reader does not know.
bool takeFlag(QStringList& arguments, const QString& name) {
    return arguments.removeAll(name) > 0;
}

std::optional<QString> takeOption(QStringList& arguments, const QString& name, QString& error) {
    const qsizetype i = arguments.indexOf(name);
    if (i < 0) return std::nullopt;
    if (i + 1 >= arguments.size()) {
        error = QStringLiteral("missing value for ") + name;
        return std::nullopt;
    }
    const QString value = arguments.takeAt(i + 1);
    arguments.removeAt(i);
    if (arguments.contains(name)) error = QStringLiteral("option given twice: ") + name;
    return value;
}

// A private HOME and XDG tree, so nothing the user has stored is read or changed.
bool usePrivateHome(const QTemporaryDir& home) {
    if (!home.isValid()) return false;
    const QByteArray root = home.path().toLocal8Bit();
    qputenv("HOME", root);
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    DefaultsStore::resetStandard();
    return true;
}

}  // namespace

Result run(const QStringList& given) {
    QStringList arguments = given;
    QString error;
    const bool offline = takeFlag(arguments, QStringLiteral("--offline"));
    const std::optional<QString> settingsPath = takeOption(arguments, QStringLiteral("--settings"), error);
    if (!error.isEmpty()) return {{}, error};
    ProbeArguments args(arguments, {"lat", "lon", "at"});
    const double lat = args.number("lat", -90, 90);
    const double lon = args.number("lon", -180, 180);
    const bool fixedMoment = arguments.contains(QStringLiteral("--at"));
    const qint64 at = fixedMoment ? args.instant("at") : 0;
    if (!args.ok()) return {{}, args.error()};

    Endpoints endpoints = Endpoints::builtIn();
    if (const QByteArray text = qgetenv("ORVANE_PROBE_ENDPOINTS"); !text.isEmpty()) {
        const std::optional<QJsonValue> parsed = JsonCoding::parse(text);
        if (!parsed || !parsed->isObject())
            return {{}, QStringLiteral("ORVANE_PROBE_ENDPOINTS is not a JSON object")};
        endpoints = Endpoints::withOverrides(parsed->toObject());
    }

    std::unique_ptr<QCoreApplication> app;
    static int argc = 1;
    static char name[] = "orvane-probe";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);

    const QTemporaryDir home;
    if (!usePrivateHome(home)) return {{}, QStringLiteral("cannot create a temporary settings store")};
    SettingsSnapshot settings = SettingsSnapshot::defaults();
    if (settingsPath) {
        if (std::optional<QString> problem = readSettings(*settingsPath, settings)) return {{}, *problem};
    }

    Endpoints::setCurrent(endpoints);
    Http::setOffline(offline);
    if (fixedMoment) Clock::setFixed(at);
    const ClockBundle bundle = QCoro::waitFor(
        LocalBundleBuilder::build(lat, lon, std::move(settings), std::nullopt, std::nullopt, false));
    DefaultsStore::resetStandard();  // closes the database before its folder goes away

    const std::optional<QByteArray> json = JsonCoding::encode(bundle.toJson());
    if (!json) return {{}, QStringLiteral("the bundle could not be encoded")};
    return {*json + '\n', {}};
}

}  // namespace ProbeBundle
