#include "ui/settings/SettingsChoices.h"

#include "engine/NetworkDiscipline.h"
#include "model/AppLanguage.h"
#include "model/Server.h"
#include "platform/Endpoints.h"
#include "services/AppSettings.h"
#include "services/QuranLibrary.h"
#include "ui/quran/QuranTextSizes.h"

#include <QVariantMap>

using namespace Qt::Literals::StringLiterals;

namespace {

QVariantMap row(const QString& text, const QVariant& value) {
    return QVariantMap{{u"text"_s, text}, {u"value"_s, value}};
}

template <class Value>
QVariantList rows(std::initializer_list<std::pair<const char*, Value>> table) {
    QVariantList out;
    for (const auto& [text, value] : table) {
        if constexpr (std::is_same_v<Value, const char*>) {
            out.append(row(QString::fromUtf8(text), QString::fromUtf8(value)));
        } else {
            out.append(row(QString::fromUtf8(text), QVariant::fromValue(value)));
        }
    }
    return out;
}

}  // namespace

QVariantList SettingsChoices::languages() {
    QVariantList out;
    // A left-to-right mark keeps "العربية — Arabic" reading native name first in this left-to-right form.
    for (const AppLanguage& language : AppLanguage::all())
        out.append(row(u"\u200E"_s + language.native + u" \u2014 "_s + language.english, language.code));
    return out;
}

QVariantList SettingsChoices::units() {
    return rows<const char*>({{"Auto", "auto"}, {"Metric (°C)", "metric"}, {"US (°F)", "imperial"}});
}

QVariantList SettingsChoices::clockFormats() {
    return rows<bool>({{"12-hour", false}, {"24-hour", true}});
}

QVariantList SettingsChoices::asrRules() {
    return rows<int>({{"Standard (Shafi'i)", 1}, {"Hanafi", 2}});
}

QVariantList SettingsChoices::playLengths() {
    return rows<int>({{"Full", 0}, {"30 sec", 30}, {"15 sec", 15}});
}

QVariantList SettingsChoices::notifyModes() {
    return rows<const char*>(
        {{"Adhan sound", "adhan"}, {"Beep", "beep"}, {"Silent (banner)", "silent"}, {"Off", "off"}});
}

QVariantList SettingsChoices::alertScopes() {
    return rows<const char*>({{"City", "city"},
                              {"Province / State", "province"},
                              {"Region", "region"},
                              {"Country", "country"},
                              {"Continent", "continent"}});
}

QVariantList SettingsChoices::intervals() {
    QVariantList out;
    for (const NetworkDiscipline::IntervalChoice& c : NetworkDiscipline::intervalChoices)
        out.append(row(QString::fromUtf8(c.label), c.hours));
    return out;
}

QVariantList SettingsChoices::weatherModes() {
    return rows<const char*>(
        {{"Auto (city)", "auto"}, {"Choose provider", "list"}, {"Custom URL", "custom"}});
}

QVariantList SettingsChoices::weatherProviders() {
    QVariantList out;
    for (const NetworkDiscipline::WeatherProvider& p : NetworkDiscipline::weatherProviders)
        out.append(row(QString::fromUtf8(p.label), QString::fromLatin1(p.id)));
    return out;
}

QVariantList SettingsChoices::quranTextSizes() {
    QVariantList out;
    for (const AppSettings::QuranTextSize size : AppSettings::allQuranTextSizes())
        out.append(row(QuranTextSizes::label(size), AppSettings::rawValue(size)));
    return out;
}

QVariantList SettingsChoices::quranTranslations() {
    QVariantList out;
    for (const QuranText::Edition& edition : QuranLibrary::translations())
        out.append(row(edition.native, edition.code));
    return out;
}

QVariantList SettingsChoices::methods() {
    return rows<const char*>({{"Islamic Society of N. America", "ISNA"},
                              {"Muslim World League", "MWL"},
                              {"Egyptian Authority", "Egypt"},
                              {"Umm al-Qura (Makkah)", "Makkah"},
                              {"Karachi", "Karachi"},
                              {"Tehran", "Tehran"},
                              {"Jafari (Shia)", "Jafari"}});
}

QString SettingsChoices::serverBaseURL() {
    return Server::baseURL().toString();
}

QString SettingsChoices::privacyURL() {
    return Server::privacyURL().toString();
}

QString SettingsChoices::developersURL(const QString& path) {
    return Server::baseURL().resolved(QUrl(path)).toString();
}

QString SettingsChoices::serviceNotice() {
    QString host = Server::baseURL().host();
    if (host.isEmpty()) host = Endpoints::builtIn().server.host();
    return u"Prayer times, weather, and Qibla stay on this device. The app may still contact "_s + host +
           u" for clock ID reclaim, "_s +
           u"coarse check-in, dial logos, blessings text, Hijri date confirmation"_s +
           u" \u2014 not for Adhan MP3s or Learn Prayer video."_s;
}

QString SettingsChoices::forecastPrompt() {
    return u"https://"_s + Endpoints::current().forecast.host() + u"/v1/forecast?..."_s;
}

int SettingsChoices::indexOf(const QVariantList& rows, const QVariant& value) {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QVariant candidate = rows.at(i).toMap().value(u"value"_s);
        if (candidate.typeId() == value.typeId() && candidate == value) return int(i);
        // QML hands whole numbers over as int or double; equal numbers are the same row.
        const bool numbers = candidate.typeId() == QMetaType::Int &&
                             (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong);
        if (numbers && value.toDouble() == candidate.toDouble()) return int(i);
    }
    return -1;
}

QString SettingsChoices::alertsScopeHelp(const QString& scope) {
    if (scope == "city"_L1) return u"City-wide only (~75 km). Never other countries."_s;
    if (scope == "province"_L1 || scope == "state"_L1)
        return u"Your province/state only. Never other countries or states."_s;
    if (scope == "region"_L1) return u"Your region only (~350 km), still inside your country."_s;
    if (scope == "country"_L1) return u"Your country only \u2014 not Mexico or other neighbors."_s;
    if (scope == "continent"_L1) return u"Whole continent (e.g. North America includes Mexico)."_s;
    return u"Severe weather and earthquakes limited to the selected range."_s;
}

QString SettingsChoices::weatherSourceHelp(const QString& mode) {
    if (mode == "list"_L1)
        return u"Pick an Open-Meteo model. Auto still wires alerts and NASA for your selected city."_s;
    if (mode == "custom"_L1)
        return u"Paste an Open-Meteo-compatible forecast URL (must return current + daily JSON). "
               u"Latitude/longitude are filled from your city when missing."_s;
    return u"Auto detects weather for your city (Open-Meteo), plus alerts and NASA context. Google Maps "
           u"stays for address search."_s;
}

QString SettingsChoices::notificationStatusText(int status) {
    switch (status) {
        case 0:
            return u"Notifications: not requested"_s;
        case 1:
            return u"Notifications: denied"_s;
        case 2:
        case 3:
        case 4:
            return u"Notifications: allowed"_s;
        default:
            return u"Notifications: unknown"_s;
    }
}
