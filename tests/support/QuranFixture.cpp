#include "QuranFixture.h"

#include "FixtureServer.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace QuranFixture {

namespace {

constexpr std::array<const char*, 114> kEnglishNames{
    "Al-Faatiha",   "Al-Baqara",      "Aal-i-Imraan",   "An-Nisaa",     "Al-Maaida",     "Al-An'aam",
    "Al-A'raaf",    "Al-Anfaal",      "At-Tawba",       "Yunus",        "Hud",           "Yusuf",
    "Ar-Ra'd",      "Ibrahim",        "Al-Hijr",        "An-Nahl",      "Al-Israa",      "Al-Kahf",
    "Maryam",       "Taa-Haa",        "Al-Anbiyaa",     "Al-Hajj",      "Al-Muminoon",   "An-Noor",
    "Al-Furqaan",   "Ash-Shu'araa",   "An-Naml",        "Al-Qasas",     "Al-Ankaboot",   "Ar-Room",
    "Luqman",       "As-Sajda",       "Al-Ahzaab",      "Saba",         "Faatir",        "Yaseen",
    "As-Saaffaat",  "Saad",           "Az-Zumar",       "Ghafir",       "Fussilat",      "Ash-Shura",
    "Az-Zukhruf",   "Ad-Dukhaan",     "Al-Jaathiya",    "Al-Ahqaf",     "Muhammad",      "Al-Fath",
    "Al-Hujuraat",  "Qaaf",           "Adh-Dhaariyat",  "At-Tur",       "An-Najm",       "Al-Qamar",
    "Ar-Rahmaan",   "Al-Waaqia",      "Al-Hadid",       "Al-Mujaadila", "Al-Hashr",      "Al-Mumtahana",
    "As-Saff",      "Al-Jumu'a",      "Al-Munaafiqoon", "At-Taghaabun", "At-Talaaq",     "At-Tahrim",
    "Al-Mulk",      "Al-Qalam",       "Al-Haaqqa",      "Al-Ma'aarij",  "Nooh",          "Al-Jinn",
    "Al-Muzzammil", "Al-Muddaththir", "Al-Qiyaama",     "Al-Insaan",    "Al-Mursalaat",  "An-Naba",
    "An-Naazi'aat", "Abasa",          "At-Takwir",      "Al-Infitaar",  "Al-Mutaffifin", "Al-Inshiqaaq",
    "Al-Burooj",    "At-Taariq",      "Al-A'laa",       "Al-Ghaashiya", "Al-Fajr",       "Al-Balad",
    "Ash-Shams",    "Al-Lail",        "Ad-Dhuhaa",      "Ash-Sharh",    "At-Tin",        "Al-Alaq",
    "Al-Qadr",      "Al-Bayyina",     "Az-Zalzala",     "Al-Aadiyaat",  "Al-Qaari'a",    "At-Takaathur",
    "Al-Asr",       "Al-Humaza",      "Al-Fil",         "Quraish",      "Al-Maa'un",     "Al-Kawthar",
    "Al-Kaafiroon", "An-Nasr",        "Al-Masad",       "Al-Ikhlaas",   "Al-Falaq",      "An-Naas"};

constexpr std::array<int, 27> kMedinan{2,  3,  4,  5,  8,  9,  22, 24, 33, 47, 48, 49, 55, 57,
                                       58, 59, 60, 61, 62, 63, 64, 65, 66, 76, 98, 99, 110};

// Para starts as the printed copies divide the text, kept here apart from the code under test.
constexpr std::array<std::pair<int, int>, 30> kParaStarts{{
    {1, 1},   {2, 142}, {2, 253}, {3, 93},  {4, 24},  {4, 148}, {5, 82},  {6, 111}, {7, 88},  {8, 41},
    {9, 93},  {11, 6},  {12, 53}, {15, 1},  {17, 1},  {18, 75}, {21, 1},  {23, 1},  {25, 21}, {27, 56},
    {29, 46}, {33, 31}, {36, 28}, {39, 32}, {41, 47}, {46, 1},  {51, 31}, {58, 1},  {67, 1},  {78, 1},
}};

int paraOf(int surah, int ayah) {
    int para = 1;
    for (int n = 0; n < 30; ++n)
        if (std::pair(surah, ayah) >= kParaStarts[std::size_t(n)]) para = n + 1;
    return para;
}

// Vowelled phrases with small high marks, maddah and superscript alef, so a font missing any mark shows.
const QStringList& arabicPhrases() {
    static const QStringList phrases{
        QStringLiteral("ٱلْحَمْدُ لِلَّهِ رَبِّ ٱلْعَـٰلَمِينَ"),
        QStringLiteral("ذَٰلِكَ ٱلْكِتَـٰبُ لَا رَيْبَ ۛ فِيهِ ۛ هُدًى لِّلْمُتَّقِينَ"),
        QStringLiteral("ٱللَّهُ لَآ إِلَـٰهَ إِلَّا هُوَ ٱلْحَىُّ ٱلْقَيُّومُ ۚ لَا تَأْخُذُهُۥ سِنَةٌ وَلَا نَوْمٌ ۚ"),
        QStringLiteral("إِيَّاكَ نَعْبُدُ وَإِيَّاكَ نَسْتَعِينُ"),
        QStringLiteral("وَٱلشَّمْسِ وَضُحَىٰهَا ۞ وَٱلْقَمَرِ إِذَا "
                       "تَلَىٰهَا"),
    };
    return phrases;
}

QString arabicName(int surah) {
    switch (surah) {
        case 1:
            return QStringLiteral("سُورَةُ ٱلْفَاتِحَةِ");
        case 2:
            return QStringLiteral("سُورَةُ البَقَرَةِ");
        case 18:
            return QStringLiteral("سُورَةُ الكَهۡفِ");
        case 36:
            return QStringLiteral("سُورَةُ يسٓ");
        default:
            return QStringLiteral("سُورَةُ ") + QString::number(surah);
    }
}

QString ayahText(const QString& editionId, int surah, int ayah) {
    const QString position = QString::number(surah) + QLatin1Char(':') + QString::number(ayah);
    if (editionId == QLatin1String("quran-uthmani")) {
        if (surah == 1 && ayah == 1) return QStringLiteral("بِسْمِ ٱللَّهِ ٱلرَّحْمَـٰنِ ٱلرَّحِيمِ");
        return arabicPhrases().at((surah + ayah) % arabicPhrases().size());
    }
    if (editionId == QLatin1String("ur.jalandhry"))
        return QStringLiteral("شروع اللہ کا نام لے کر جو بڑا مہربان نہایت رحم والا ہے ") + position;
    if (editionId == QLatin1String("ja.japanese"))
        return QStringLiteral("慈悲あまねく慈愛深きアッラーの御名において。") + position;
    if (editionId == QLatin1String("zh.jian")) return QStringLiteral("奉至仁至慈的真主之名。") + position;
    if (surah == 1 && ayah == 1)
        return QStringLiteral("In the name of Allah, the Entirely Merciful, the Especially Merciful.");
    return QStringLiteral("Translation (%1) of ayah %2.").arg(editionId, position);
}

}  // namespace

const std::array<int, 114>& ayahCounts() {
    static constexpr std::array<int, 114> counts{
        7,   286, 200, 176, 120, 165, 206, 75, 129, 109, 123, 111, 43, 52, 99, 128, 111, 110, 98,
        135, 112, 78,  118, 64,  77,  227, 93, 88,  69,  60,  34,  30, 73, 54, 45,  83,  182, 88,
        75,  85,  54,  53,  89,  59,  37,  35, 38,  29,  18,  45,  60, 49, 62, 55,  78,  96,  29,
        22,  24,  13,  14,  11,  11,  18,  12, 12,  30,  52,  52,  44, 28, 28, 20,  56,  40,  31,
        50,  40,  46,  42,  29,  19,  36,  25, 22,  17,  19,  26,  30, 20, 15, 21,  11,  8,   8,
        19,  5,   8,   8,   11,  11,  8,   3,  9,   5,   4,   7,   3,  6,  3,  5,   4,   5,   6};
    return counts;
}

QByteArray edition(const QString& editionId, Options options) {
    // Generated once per edition and process: many tests serve the same documents.
    static QHash<QString, QByteArray> made;
    const QString cacheKey = editionId + (options.withJuz ? QStringLiteral("+juz") : QString());
    if (const auto it = made.constFind(cacheKey); it != made.cend()) return *it;
    QJsonArray surahs;
    for (int s = 1; s <= 114; ++s) {
        QJsonArray ayahs;
        for (int a = 1; a <= ayahCounts()[std::size_t(s - 1)]; ++a) {
            QJsonObject ayah{{QStringLiteral("number"), a},
                             {QStringLiteral("text"), ayahText(editionId, s, a)},
                             {QStringLiteral("numberInSurah"), a}};
            if (options.withJuz) ayah.insert(QStringLiteral("juz"), paraOf(s, a));
            ayahs.append(ayah);
        }
        const bool medinan = std::find(kMedinan.begin(), kMedinan.end(), s) != kMedinan.end();
        surahs.append(QJsonObject{
            {QStringLiteral("number"), s},
            {QStringLiteral("name"), arabicName(s)},
            {QStringLiteral("englishName"), QString::fromLatin1(kEnglishNames[std::size_t(s - 1)])},
            {QStringLiteral("englishNameTranslation"), QStringLiteral("Meaning of surah %1").arg(s)},
            {QStringLiteral("revelationType"),
             medinan ? QStringLiteral("Medinan") : QStringLiteral("Meccan")},
            {QStringLiteral("ayahs"), ayahs},
        });
    }
    const QJsonObject edition{{QStringLiteral("identifier"), editionId}, {QStringLiteral("format"), "text"}};
    const QJsonObject reply{{QStringLiteral("code"), 200},
                            {QStringLiteral("status"), QStringLiteral("OK")},
                            {QStringLiteral("data"), QJsonObject{{QStringLiteral("surahs"), surahs},
                                                                 {QStringLiteral("edition"), edition}}}};
    return made[cacheKey] = QJsonDocument(reply).toJson(QJsonDocument::Compact);
}

void serveAll(FixtureServer& server, Options options) {
    static const char* const kEditions[] = {"quran-uthmani", "en.sahih",    "ur.jalandhry", "de.bubenheim",
                                            "fr.hamidullah", "it.piccardo", "es.garcia",    "ru.kuliev",
                                            "hi.farooq",     "ja.japanese", "zh.jian",      "ms.basmeih",
                                            "id.indonesian"};
    for (const char* id : kEditions) {
        const QString name = QString::fromLatin1(id);
        server.routeJson(QStringLiteral("/v1/quran/") + name, edition(name, options));
    }
}

}  // namespace QuranFixture
