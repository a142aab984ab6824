#include "services/QuranText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace QuranText {

namespace {

// A JSON number that is a whole number in int range; anything else counts as absent.
std::optional<int> wholeNumber(const QJsonValue& value) {
    if (!value.isDouble()) return std::nullopt;
    const double d = value.toDouble();
    if (!std::isfinite(d) || d != std::floor(d)) return std::nullopt;
    if (d < double(std::numeric_limits<int>::min()) || d > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(d);
}

QString stringOr(const QJsonValue& value, const QString& fallback) {
    return value.isString() ? value.toString() : fallback;
}

EditionSurah readSurah(const QJsonObject& object, int position) {
    EditionSurah surah;
    surah.number = wholeNumber(object.value(QLatin1String("number"))).value_or(position + 1);
    surah.name = stringOr(object.value(QLatin1String("name")), {});
    surah.englishName = stringOr(object.value(QLatin1String("englishName")),
                                 QStringLiteral("Surah ") + QString::number(surah.number));
    surah.englishNameTranslation = stringOr(object.value(QLatin1String("englishNameTranslation")), {});
    surah.revelationType = stringOr(object.value(QLatin1String("revelationType")), {});
    const QJsonArray ayahs = object.value(QLatin1String("ayahs")).toArray();
    surah.ayahs.reserve(ayahs.size());
    for (qsizetype j = 0; j < ayahs.size(); ++j) {
        // An entry that is not an object has none of the fields: every default applies.
        const QJsonObject a = ayahs.at(j).toObject();
        EditionAyah ayah;
        ayah.number = wholeNumber(a.value(QLatin1String("numberInSurah"))).value_or(int(j) + 1);
        ayah.text = stringOr(a.value(QLatin1String("text")), {});
        ayah.juz = wholeNumber(a.value(QLatin1String("juz")));
        surah.ayahs.append(std::move(ayah));
    }
    return surah;
}

}  // namespace

QString Ayah::id() const {
    return key(surah, number);
}

const std::array<Edition, 12>& translations() {
    static const std::array<Edition, 12> table{{
        {QStringLiteral("en.sahih"), QStringLiteral("en"), QStringLiteral("English"),
         QStringLiteral("English — Sahih International")},
        {QStringLiteral("ur.jalandhry"), QStringLiteral("ur"), QStringLiteral("Urdu"),
         QStringLiteral("اردو")},
        {QStringLiteral("de.bubenheim"), QStringLiteral("de"), QStringLiteral("German"),
         QStringLiteral("Deutsch")},
        {QStringLiteral("fr.hamidullah"), QStringLiteral("fr"), QStringLiteral("French"),
         QStringLiteral("Français")},
        {QStringLiteral("it.piccardo"), QStringLiteral("it"), QStringLiteral("Italian"),
         QStringLiteral("Italiano")},
        {QStringLiteral("es.garcia"), QStringLiteral("es"), QStringLiteral("Spanish"),
         QStringLiteral("Español")},
        {QStringLiteral("ru.kuliev"), QStringLiteral("ru"), QStringLiteral("Russian"),
         QStringLiteral("Русский")},
        {QStringLiteral("hi.farooq"), QStringLiteral("hi"), QStringLiteral("Hindi"), QStringLiteral("हिन्दी")},
        {QStringLiteral("ja.japanese"), QStringLiteral("ja"), QStringLiteral("Japanese"),
         QStringLiteral("日本語")},
        {QStringLiteral("zh.jian"), QStringLiteral("zh"), QStringLiteral("Chinese"), QStringLiteral("中文")},
        {QStringLiteral("ms.basmeih"), QStringLiteral("ms"), QStringLiteral("Malay"),
         QStringLiteral("Bahasa Melayu")},
        {QStringLiteral("id.indonesian"), QStringLiteral("id"), QStringLiteral("Indonesian"),
         QStringLiteral("Bahasa Indonesia")},
    }};
    return table;
}

const std::array<std::pair<int, int>, 30>& paraStarts() {
    static constexpr std::array<std::pair<int, int>, 30> table{{
        {1, 1},   {2, 142}, {2, 253}, {3, 93},  {4, 24},  {4, 148}, {5, 82},  {6, 111}, {7, 88},  {8, 41},
        {9, 93},  {11, 6},  {12, 53}, {15, 1},  {17, 1},  {18, 75}, {21, 1},  {23, 1},  {25, 21}, {27, 56},
        {29, 46}, {33, 31}, {36, 28}, {39, 32}, {41, 47}, {46, 1},  {51, 31}, {58, 1},  {67, 1},  {78, 1},
    }};
    return table;
}

const std::array<QString, 2>& prefetchList() {
    static const std::array<QString, 2> list{QStringLiteral("en.sahih"), QStringLiteral("ur.jalandhry")};
    return list;
}

Edition edition(const QString& code) {
    for (const Edition& row : translations())
        if (row.code == code) return row;
    return translations().front();
}

int fallbackJuz(int surah, int ayah) {
    for (int n = 30; n >= 1; --n) {
        const auto [ps, pa] = paraStarts()[std::size_t(n - 1)];
        if (ps < surah || (ps == surah && pa <= ayah)) return n;
    }
    return 1;
}

QString key(int surah, int ayah) {
    return QString::number(surah) + QLatin1Char('.') + QString::number(ayah);
}

std::variant<EditionDocument, DocumentError> parseEdition(const QByteArray& bytes) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) return DocumentError::NotJson;
    if (!document.isObject()) return DocumentError::BadShape;
    const QJsonValue data = document.object().value(QLatin1String("data"));
    if (!data.isObject()) return DocumentError::BadShape;
    const QJsonValue surahs = data.toObject().value(QLatin1String("surahs"));
    if (!surahs.isArray()) return DocumentError::BadShape;
    const QJsonArray array = surahs.toArray();
    EditionDocument parsed;
    parsed.surahs.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonValue entry = array.at(i);
        if (!entry.isObject()) return DocumentError::BadShape;
        parsed.surahs.append(readSurah(entry.toObject(), int(i)));
    }
    return parsed;
}

ReplyCheck checkReply(const QByteArray& body) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) return ReplyCheck::NotJson;
    if (!document.isObject()) return ReplyCheck::Rejected;
    const QJsonObject top = document.object();
    if (wholeNumber(top.value(QLatin1String("code"))) != 200) return ReplyCheck::Rejected;
    const QJsonValue data = top.value(QLatin1String("data"));
    if (data.isUndefined() || data.isNull()) return ReplyCheck::Rejected;
    return ReplyCheck::Accepted;
}

Index buildIndex(const EditionDocument& arabic, const EditionDocument& translation) {
    Index index;
    std::array<int, 31> counters{};
    QSet<int> seen;
    qsizetype ayahTotal = 0;
    for (const EditionSurah& s : arabic.surahs) ayahTotal += s.ayahs.size();
    index.arabicByKey.reserve(ayahTotal);
    index.translationByKey.reserve(ayahTotal);
    index.juzByKey.reserve(ayahTotal);

    for (qsizetype i = 0; i < arabic.surahs.size(); ++i) {
        const EditionSurah& surah = arabic.surahs.at(i);
        if (seen.contains(surah.number)) continue;
        seen.insert(surah.number);
        // Surahs and ayahs of the two documents are paired by position, not by number.
        static const QList<EditionAyah> none;
        const QList<EditionAyah>& translated =
            i < translation.surahs.size() ? translation.surahs.at(i).ayahs : none;
        index.surahs.append({surah.number, surah.name, surah.englishName, surah.englishNameTranslation,
                             surah.revelationType, int(surah.ayahs.size())});
        for (qsizetype j = 0; j < surah.ayahs.size(); ++j) {
            const EditionAyah& ayah = surah.ayahs.at(j);
            const QString k = key(surah.number, ayah.number);
            index.arabicByKey.insert(k, ayah.text);
            if (j < translated.size()) index.translationByKey.insert(k, translated.at(j).text);
            const int juz = ayah.juz.value_or(fallbackJuz(surah.number, ayah.number));
            index.juzByKey.insert(k, juz);
            if (juz >= 1 && juz <= 30) ++counters[std::size_t(juz)];
        }
    }

    std::stable_sort(index.surahs.begin(), index.surahs.end(),
                     [](const SurahMeta& a, const SurahMeta& b) { return a.id < b.id; });
    QHash<int, const SurahMeta*> byNumber;
    for (const SurahMeta& s : index.surahs) byNumber.insert(s.id, &s);
    index.paras.reserve(30);
    for (int n = 1; n <= 30; ++n) {
        const auto [s, a] = paraStarts()[std::size_t(n - 1)];
        const SurahMeta* meta = byNumber.value(s, nullptr);
        const QString name = meta ? meta->englishName : QStringLiteral("Surah ") + QString::number(s);
        index.paras.append({n, s, a, name, counters[std::size_t(n)]});
    }
    return index;
}

}  // namespace QuranText
