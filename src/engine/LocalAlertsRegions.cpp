#include "engine/LocalAlertsRegions.h"

#include <QHash>
#include <QRegularExpression>

#include <array>
#include <utility>

namespace {

struct NamedBox {
    const char* key;
    LocalAlerts::BBox box;
};

constexpr std::array<NamedBox, 16> kCountryBoxes{{
    {"us", {24.4, 49.5, -125.0, -66.9}},
    {"mx", {14.5, 32.7, -118.5, -86.5}},
    {"ca", {41.7, 83.1, -141.0, -52.6}},
    {"gt", {13.7, 17.8, -92.3, -88.2}},
    {"cu", {19.8, 23.3, -85.0, -74.1}},
    {"br", {-33.8, 5.3, -73.9, -34.8}},
    {"gb", {49.8, 60.9, -8.7, 1.8}},
    {"au", {-43.7, -10.0, 112.9, 153.7}},
    {"jp", {24.0, 45.6, 122.9, 146.0}},
    {"in", {6.7, 35.5, 68.1, 97.4}},
    {"sa", {16.3, 32.2, 34.5, 55.7}},
    {"eg", {22.0, 31.7, 24.7, 36.9}},
    {"tr", {35.8, 42.1, 25.7, 44.8}},
    {"id", {-11.0, 6.1, 95.0, 141.0}},
    {"nz", {-47.3, -34.0, 166.0, 179.0}},
    {"za", {-34.9, -22.1, 16.4, 32.9}},
}};

constexpr std::array<NamedBox, 6> kContinentBoxes{{
    {"north_america", {7.0, 83.5, -170.0, -50.0}},
    {"south_america", {-56.0, 13.0, -82.0, -34.0}},
    {"europe", {34.0, 72.0, -25.0, 45.0}},
    {"asia", {-11.0, 55.0, 25.0, 180.0}},
    {"africa", {-35.0, 38.0, -18.0, 52.0}},
    {"oceania", {-50.0, 0.0, 110.0, 180.0}},
}};

constexpr std::array<std::pair<const char*, const char*>, 6> kContinentMembers{{
    {"north_america", "us ca mx gt bz sv hn ni cr pa cu do ht jm tt bs bb ag gd kn lc vc dm pr"},
    {"south_america", "br ar cl co pe ve ec bo py uy gy sr gf"},
    {"europe", "gb ie fr de es it pt nl be ch at pl se no fi dk cz sk hu ro bg gr ua ru tr is ee lv lt"},
    {"asia",
     "cn jp kr in pk bd id my th vn ph sg sa ae qa kw om bh ir iq il jo lb sy af np lk mm kh la mn tw hk"},
    {"africa", "eg ng za ma dz tn ly sd et ke tz ug gh ci sn cm ao mz zw bw"},
    {"oceania", "au nz pg fj sb vu nc pf"},
}};

// Names are separated by "|" so that the two Mexican entries may keep their leading comma and blank.
constexpr std::array<std::pair<const char*, const char*>, 25> kCountryPlaceNames{{
    {"mx",
     "mexico city|baja california|oaxaca|chiapas|guerrero|michoacan|michoacán|jalisco|sinaloa|veracruz|"
     "colima|petatlán|petatlan|méxico|, mexico| mexico"},
    {"ca",
     "canada|british columbia|alberta|saskatchewan|manitoba|ontario|quebec|québec|yukon|nunavut|"
     "newfoundland"},
    {"us", "united states|usa|u.s.|alaska|hawaii|new mexico"},
    {"gt", "guatemala"},
    {"cu", "cuba"},
    {"cl", "chile"},
    {"pe", "peru|perú"},
    {"ec", "ecuador"},
    {"co", "colombia"},
    {"ar", "argentina"},
    {"br", "brazil|brasil"},
    {"jp", "japan"},
    {"id", "indonesia"},
    {"ph", "philippines"},
    {"nz", "new zealand"},
    {"au", "australia"},
    {"ru", "russia"},
    {"cn", "china"},
    {"in", "india"},
    {"pk", "pakistan"},
    {"tr", "turkey|türkiye|turkiye"},
    {"ir", "iran"},
    {"af", "afghanistan"},
    {"is", "iceland"},
    {"gl", "greenland"},
}};

constexpr std::array<std::pair<const char*, const char*>, 52> kUsStates{{
    {"alabama", "AL"},        {"alaska", "AK"},        {"arizona", "AZ"},
    {"arkansas", "AR"},       {"california", "CA"},    {"colorado", "CO"},
    {"connecticut", "CT"},    {"delaware", "DE"},      {"florida", "FL"},
    {"georgia", "GA"},        {"hawaii", "HI"},        {"idaho", "ID"},
    {"illinois", "IL"},       {"indiana", "IN"},       {"iowa", "IA"},
    {"kansas", "KS"},         {"kentucky", "KY"},      {"louisiana", "LA"},
    {"maine", "ME"},          {"maryland", "MD"},      {"massachusetts", "MA"},
    {"michigan", "MI"},       {"minnesota", "MN"},     {"mississippi", "MS"},
    {"missouri", "MO"},       {"montana", "MT"},       {"nebraska", "NE"},
    {"nevada", "NV"},         {"new hampshire", "NH"}, {"new jersey", "NJ"},
    {"new mexico", "NM"},     {"new york", "NY"},      {"north carolina", "NC"},
    {"north dakota", "ND"},   {"ohio", "OH"},          {"oklahoma", "OK"},
    {"oregon", "OR"},         {"pennsylvania", "PA"},  {"rhode island", "RI"},
    {"south carolina", "SC"}, {"south dakota", "SD"},  {"tennessee", "TN"},
    {"texas", "TX"},          {"utah", "UT"},          {"vermont", "VT"},
    {"virginia", "VA"},       {"washington", "WA"},    {"west virginia", "WV"},
    {"wisconsin", "WI"},      {"wyoming", "WY"},       {"district of columbia", "DC"},
    {"puerto rico", "PR"},
}};

constexpr std::array<const char*, 4> kUsTerritoriesWithoutName{{"VI", "GU", "AS", "MP"}};

constexpr std::array<std::pair<const char*, const char*>, 15> kCaProvinces{{
    {"alberta", "AB"},
    {"british columbia", "BC"},
    {"manitoba", "MB"},
    {"new brunswick", "NB"},
    {"newfoundland", "NL"},
    {"newfoundland and labrador", "NL"},
    {"northwest territories", "NT"},
    {"nova scotia", "NS"},
    {"nunavut", "NU"},
    {"ontario", "ON"},
    {"prince edward island", "PE"},
    {"quebec", "QC"},
    {"québec", "QC"},
    {"saskatchewan", "SK"},
    {"yukon", "YT"},
}};

struct Tables {
    QHash<QString, QString> usStateToAbbrev;
    QHash<QString, QString> usAbbrevToState;
    QStringList usStateAbbrevs;
    QStringList usNames;
    QHash<QString, QString> caProvinceToAbbrev;
    QStringList caNames;
    QList<std::pair<QString, QStringList>> countryPlaceNames;
    QList<std::pair<QString, QStringList>> continentMembers;
};

const Tables& tables() {
    static const Tables t = [] {
        Tables t;
        for (const auto& [name, code] : kUsStates) {
            const QString n = QString::fromUtf8(name);
            t.usStateToAbbrev.insert(n, QLatin1String(code));
            t.usAbbrevToState.insert(QLatin1String(code), n);
            t.usStateAbbrevs.append(QLatin1String(code));
            t.usNames.append(n);
        }
        for (const char* code : kUsTerritoriesWithoutName) t.usStateAbbrevs.append(QLatin1String(code));
        for (const auto& [name, code] : kCaProvinces) {
            t.caProvinceToAbbrev.insert(QString::fromUtf8(name), QLatin1String(code));
            t.caNames.append(QString::fromUtf8(name));
        }
        for (const auto& [code, names] : kCountryPlaceNames)
            t.countryPlaceNames.append(
                {QLatin1String(code), QString::fromUtf8(names).split(QLatin1Char('|'))});
        for (const auto& [name, codes] : kContinentMembers)
            t.continentMembers.append(
                {QLatin1String(name), QString::fromLatin1(codes).split(QLatin1Char(' '))});
        return t;
    }();
    return t;
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Blanks only, as the stored scope is compared; line breaks stay and make the scope unknown.
QString trimBlanks(const QString& s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (begin < end && blank(s[begin])) ++begin;
    while (end > begin && blank(s[end - 1])) --end;
    return s.mid(begin, end - begin);
}

bool endsWithWord(const QString& text, const QString& needle) {
    if (needle.isEmpty() || !text.endsWith(needle)) return false;
    const qsizetype at = text.size() - needle.size();
    return !(isWordChar(needle.front()) && at > 0 && isWordChar(text[at - 1]));
}

bool containsAnyWord(const QString& text, const QStringList& needles) {
    for (const QString& n : needles)
        if (LocalAlerts::containsWord(text, n)) return true;
    return false;
}

template <std::size_t N>
std::optional<LocalAlerts::BBox> findBox(const std::array<NamedBox, N>& boxes, const QString& key) {
    for (const NamedBox& b : boxes)
        if (key == QLatin1String(b.key)) return b.box;
    return std::nullopt;
}

}  // namespace

namespace LocalAlerts {

bool containsWord(const QString& text, const QString& needle) {
    if (needle.isEmpty()) return false;
    const bool checkBefore = isWordChar(needle.front());
    const bool checkAfter = isWordChar(needle.back());
    for (qsizetype at = text.indexOf(needle); at >= 0; at = text.indexOf(needle, at + 1)) {
        const qsizetype after = at + needle.size();
        if (checkBefore && at > 0 && isWordChar(text[at - 1])) continue;
        if (checkAfter && after < text.size() && isWordChar(text[after])) continue;
        return true;
    }
    return false;
}

QString normalizeScope(const QString& scope) {
    const QString t = trimBlanks(scope.toLower());
    if (t == QLatin1String("state")) return QStringLiteral("province");
    for (const char* s : {"city", "province", "region", "country", "continent"})
        if (t == QLatin1String(s)) return t;
    return QStringLiteral("region");
}

double fetchRadiusKm(const QString& scope) {
    if (scope == QLatin1String("city")) return 75;
    if (scope == QLatin1String("region")) return 350;
    if (scope == QLatin1String("province") || scope == QLatin1String("state")) return 450;
    if (scope == QLatin1String("country")) return 4500;
    if (scope == QLatin1String("continent")) return 8000;
    return 350;
}

std::optional<double> displayRadiusKm(const QString& scope) {
    if (scope == QLatin1String("city")) return 75;
    if (scope == QLatin1String("region")) return 350;
    if (scope == QLatin1String("province") || scope == QLatin1String("state")) return 450;
    return std::nullopt;
}

double ecBBoxDeg(const QString& scope) {
    if (scope == QLatin1String("city")) return 0.6;
    if (scope == QLatin1String("region")) return 2.5;
    if (scope == QLatin1String("province") || scope == QLatin1String("state")) return 4.0;
    if (scope == QLatin1String("country")) return 25.0;
    if (scope == QLatin1String("continent")) return 40.0;
    return 0.6;
}

std::optional<BBox> countryBBox(const QString& code) {
    return findBox(kCountryBoxes, code);
}
std::optional<BBox> continentBBox(const QString& name) {
    return findBox(kContinentBoxes, name);
}

QString continent(const QString& code) {
    const QString c = code.toLower();
    for (const auto& [name, codes] : tables().continentMembers)
        if (codes.contains(c)) return name;
    return QStringLiteral("global");
}

const QStringList& canadianNames() {
    return tables().caNames;
}
const QStringList& usStateAbbrevs() {
    return tables().usStateAbbrevs;
}

std::optional<QString> usStateAbbrev(const QString& lowerCaseName) {
    const auto it = tables().usStateToAbbrev.constFind(lowerCaseName);
    if (it == tables().usStateToAbbrev.constEnd()) return std::nullopt;
    return *it;
}

std::optional<QString> caProvinceAbbrev(const QString& lowerCaseName) {
    const auto it = tables().caProvinceToAbbrev.constFind(lowerCaseName);
    if (it == tables().caProvinceToAbbrev.constEnd()) return std::nullopt;
    return *it;
}

QStringList otherCanadianNames(const QStringList& keys) {
    const Tables& t = tables();
    QStringList others;
    // Another spelling of the user's own province (québec, newfoundland) is not another province.
    for (const QString& name : t.caNames)
        if (!keys.contains(name) && !keys.contains(t.caProvinceToAbbrev.value(name).toLower()))
            others.append(name);
    return others;
}

QStringList admin1MatchKeys(const QString& admin1, const QString&) {
    const Tables& t = tables();
    const QString trimmed = admin1.trimmed();
    const QString lower = trimmed.toLower();
    QStringList keys{lower};
    if (const auto code = usStateAbbrev(lower)) {
        keys.append(code->toLower());
    } else if (t.usStateAbbrevs.contains(trimmed.toUpper())) {
        keys.append(lower);
        const auto name = t.usAbbrevToState.constFind(trimmed.toUpper());
        if (name != t.usAbbrevToState.constEnd()) keys.append(*name);
    }
    if (const auto code = caProvinceAbbrev(lower)) keys.append(code->toLower());
    keys.removeDuplicates();
    keys.removeAll(QString());
    return keys;
}

std::optional<QString> inferCountry(const std::optional<QString>& place, std::optional<double> qlat,
                                    std::optional<double> qlon) {
    const Tables& t = tables();
    if (place) {
        const QString p = place->toLower();
        if (containsWord(p, QStringLiteral("new mexico"))) return QStringLiteral("us");
        for (const auto& [code, names] : t.countryPlaceNames)
            if (containsAnyWord(p, names)) return code;
        if (endsWithWord(p, QStringLiteral("mexico"))) return QStringLiteral("mx");
        if (p.contains(QLatin1String(", mexico"))) return QStringLiteral("mx");
        static const QRegularExpression trailingCode(QStringLiteral(",\\s*([a-z]{2})\\s*$"));
        if (trailingCode.isValid()) {
            const QRegularExpressionMatch m = trailingCode.match(p);
            if (m.hasMatch() && t.usStateAbbrevs.contains(m.captured(1).toUpper()))
                return QStringLiteral("us");
        }
        for (const QString& name : t.usNames)
            if (endsWithWord(p, name) || containsWord(p, QStringLiteral(", ") + name))
                return QStringLiteral("us");
        if (containsAnyWord(p, t.caNames)) return QStringLiteral("ca");
    }
    if (qlat && qlon) {
        std::optional<QString> best;
        double bestArea = 0;
        for (const NamedBox& b : kCountryBoxes) {
            if (!b.box.contains(*qlat, *qlon)) continue;
            const double area = (b.box.maxLat - b.box.minLat) * (b.box.maxLon - b.box.minLon);
            if (!best || area < bestArea) {
                best = QLatin1String(b.key);
                bestArea = area;
            }
        }
        return best;
    }
    return std::nullopt;
}

bool sameCountry(const QString& countryCode, const std::optional<QString>& place, std::optional<double> qlat,
                 std::optional<double> qlon) {
    const QString cc = countryCode.toLower();
    if (cc.isEmpty()) return true;
    if (const std::optional<QString> inferred = inferCountry(place, qlat, qlon)) return *inferred == cc;
    if (qlat && qlon) {
        if (const std::optional<BBox> box = countryBBox(cc)) return box->contains(*qlat, *qlon);
    }
    return true;
}

bool sameAdmin1(const std::optional<QString>& admin1, const QString& countryCode,
                const std::optional<QString>& place) {
    if (!admin1 || admin1->trimmed().isEmpty() || !place || place->trimmed().isEmpty()) return true;
    const Tables& t = tables();
    const QStringList keys = admin1MatchKeys(*admin1);
    const QString p = place->toLower();
    if (containsAnyWord(p, keys)) return true;
    const QString cc = countryCode.toLower();
    if (cc == QLatin1String("us")) {
        QStringList names = t.usNames;
        for (const QString& k : keys) names.removeAll(k);
        // Codes count only in capitals ("Cobb, CA"); in lower case they are everyday words ("in", "or").
        QStringList codes;
        for (const QString& code : t.usStateAbbrevs)
            if (!keys.contains(code.toLower())) codes.append(code);
        return !containsAnyWord(p, names) && !containsAnyWord(*place, codes);
    }
    if (cc == QLatin1String("ca")) return !containsAnyWord(p, otherCanadianNames(keys));
    return true;
}

bool keepEarthquake(const QString& scope, const QString& countryCode, const std::optional<QString>& admin1,
                    const std::optional<QString>& place, std::optional<double> qlat,
                    std::optional<double> qlon) {
    if (scope == QLatin1String("continent")) {
        const QString k = continent(countryCode);
        if (k == QLatin1String("global")) return true;
        if (const std::optional<QString> c = inferCountry(place, qlat, qlon)) return continent(*c) == k;
        if (qlat) {
            const std::optional<BBox> box = continentBBox(k);
            return !box || !qlon || box->contains(*qlat, *qlon);
        }
        return true;
    }
    if (scope == QLatin1String("province") || scope == QLatin1String("state"))
        return sameCountry(countryCode, place, qlat, qlon) && sameAdmin1(admin1, countryCode, place);
    return sameCountry(countryCode, place, qlat, qlon);
}

}  // namespace LocalAlerts
