#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <utility>
#include <variant>

// The Quran text as plain values: the records the reader shows, the fixed tables (translation editions,
// para starts), the whole-Quran document of the text service read from bytes, and the index built from an
// Arabic and a translation document. Nothing here touches files, the network or QObjects, so it runs on any
// thread.
namespace QuranText {

struct Edition {
    QString id;  // the service's edition identifier, also the stem of its file name
    QString code;
    QString title;
    QString native;
    bool operator==(const Edition&) const = default;
};

struct SurahMeta {
    int id = 0;
    QString name;
    QString englishName;
    QString englishNameTranslation;
    QString revelationType;
    int numberOfAyahs = 0;
    bool operator==(const SurahMeta&) const = default;
};

struct ParaMeta {
    int id = 0;
    int startSurah = 0;
    int startAyah = 0;
    QString startSurahName;
    int ayahCount = 0;
    bool operator==(const ParaMeta&) const = default;
};

struct Ayah {
    int surah = 0;
    int number = 0;
    QString arabic;
    QString translation;
    int juz = 1;
    QString id() const;  // "surah.number", the same form as the index keys
    bool operator==(const Ayah&) const = default;
};

// The translation editions in picker order; the first row is the fallback of edition(forCode).
const std::array<Edition, 12>& translations();
// The first ayah (surah, ayah) of each of the 30 paras; entry n - 1 starts para n.
const std::array<std::pair<int, int>, 30>& paraStarts();
// Editions saved after a successful load so a later change of language works offline.
const std::array<QString, 2>& prefetchList();
inline const QString arabicEditionId = QStringLiteral("quran-uthmani");

// The row whose code equals `code` exactly, else the English row.
Edition edition(const QString& code);
// The para of a position from the para starts; positions before 1:1 give 1.
int fallbackJuz(int surah, int ayah);
// "2.255": the key of an ayah in the index.
QString key(int surah, int ayah);

// One surah of a document, with the defaults applied (wrong types count as absent).
struct EditionAyah {
    int number = 0;  // "numberInSurah", else position + 1
    QString text;
    std::optional<int> juz;
};
struct EditionSurah {
    int number = 0;  // "number", else position + 1
    QString name;
    QString englishName;
    QString englishNameTranslation;
    QString revelationType;
    QList<EditionAyah> ayahs;
};
struct EditionDocument {
    QList<EditionSurah> surahs;
};

enum class DocumentError { NotJson, BadShape };

// A stored edition: JSON whose top level is an object, "data" an object and "data"."surahs" an array of
// objects. "code" is not looked at here.
std::variant<EditionDocument, DocumentError> parseEdition(const QByteArray& bytes);

enum class ReplyCheck { Accepted, NotJson, Rejected };
// A reply body worth keeping: a JSON object with "code" the integer 200 and a non-null "data".
ReplyCheck checkReply(const QByteArray& body);

struct Index {
    QHash<QString, QString> arabicByKey;
    QHash<QString, QString> translationByKey;
    QHash<QString, int> juzByKey;
    QList<SurahMeta> surahs;  // ascending by id, each number once
    QList<ParaMeta> paras;    // 30 records
};

// The Arabic document gives the surahs, ayah numbers and paras; the translation only its texts, paired
// with the Arabic by position. A surah number seen before keeps its first record; the repeat is skipped.
Index buildIndex(const EditionDocument& arabic, const EditionDocument& translation);

}  // namespace QuranText
