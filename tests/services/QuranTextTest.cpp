#include "QuranFixture.h"
#include "services/QuranText.h"

#include <gtest/gtest.h>

using namespace QuranText;

namespace {

EditionDocument parsed(const QByteArray& bytes) {
    auto result = parseEdition(bytes);
    EXPECT_TRUE(std::holds_alternative<EditionDocument>(result));
    return std::holds_alternative<EditionDocument>(result) ? std::get<EditionDocument>(result)
                                                           : EditionDocument{};
}

EditionDocument fixture(const char* id, bool withJuz = true) {
    return parsed(QuranFixture::edition(QLatin1String(id), {withJuz}));
}

QByteArray document(const QByteArray& surahs) {
    return R"({"data":{"surahs":)" + surahs + "}}";
}

}  // namespace

TEST(QuranTextTest, FallbackJuzFollowsTheParaStarts) {
    const struct {
        int surah, ayah, juz;
    } cases[] = {{1, 1, 1},    {2, 141, 1},  {2, 142, 2}, {2, 252, 2},  {2, 253, 3}, {18, 74, 15},
                 {18, 75, 16}, {114, 6, 30}, {78, 1, 30}, {77, 50, 29}, {0, 0, 1},   {1, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(fallbackJuz(c.surah, c.ayah), c.juz) << c.surah << ":" << c.ayah;
}

TEST(QuranTextTest, EditionForCodeFallsBackToEnglish) {
    EXPECT_EQ(edition(QStringLiteral("ur")).id, QStringLiteral("ur.jalandhry"));
    EXPECT_EQ(edition(QStringLiteral("de")).title, QStringLiteral("German"));
    EXPECT_EQ(edition(QStringLiteral("xx")).id, QStringLiteral("en.sahih"));
    EXPECT_EQ(edition(QStringLiteral("EN")).id, QStringLiteral("en.sahih"));
    EXPECT_EQ(translations().size(), 12u);
    EXPECT_EQ(translations().back().native, QStringLiteral("Bahasa Indonesia"));
    EXPECT_EQ(translations().front().native, QStringLiteral("English — Sahih International"));
}

TEST(QuranTextTest, TheIndexCountsEveryParaWithOrWithoutJuzInTheData) {
    for (const bool withJuz : {true, false}) {
        const Index index = buildIndex(fixture("quran-uthmani", withJuz), fixture("en.sahih", withJuz));
        ASSERT_EQ(index.surahs.size(), 114);
        ASSERT_EQ(index.paras.size(), 30);
        EXPECT_EQ(index.arabicByKey.size(), 6236);
        EXPECT_EQ(index.paras.at(0), (ParaMeta{1, 1, 1, QStringLiteral("Al-Faatiha"), 148}));
        EXPECT_EQ(index.paras.at(1), (ParaMeta{2, 2, 142, QStringLiteral("Al-Baqara"), 111}));
        EXPECT_EQ(index.paras.at(29), (ParaMeta{30, 78, 1, QStringLiteral("An-Naba"), 564}));
        int total = 0;
        for (const ParaMeta& p : index.paras) total += p.ayahCount;
        EXPECT_EQ(total, 6236);
        EXPECT_EQ(index.surahs.at(35).englishName, QStringLiteral("Yaseen"));
        EXPECT_EQ(index.surahs.at(1).numberOfAyahs, 286);
        EXPECT_EQ(index.surahs.at(1).revelationType, QStringLiteral("Medinan"));
        EXPECT_EQ(index.juzByKey.value(QStringLiteral("36.28")), 23);
    }
}

TEST(QuranTextTest, MissingAndMistypedFieldsTakeTheirDefaults) {
    const EditionDocument doc = parsed(
        document(R"([{"ayahs":[{"text":"x"},{"numberInSurah":"9","text":7,"juz":"2"}]},)"
                 R"({"number":2.5,"name":5,"englishName":null,"ayahs":{}}, {"number":7,"ayahs":[5]}])"));
    ASSERT_EQ(doc.surahs.size(), 3);
    EXPECT_EQ(doc.surahs.at(0).number, 1);
    EXPECT_EQ(doc.surahs.at(0).englishName, QStringLiteral("Surah 1"));
    EXPECT_EQ(doc.surahs.at(0).ayahs.at(1).number, 2);
    EXPECT_EQ(doc.surahs.at(0).ayahs.at(1).text, QString());
    EXPECT_FALSE(doc.surahs.at(0).ayahs.at(1).juz.has_value());
    EXPECT_EQ(doc.surahs.at(1).number, 2);
    EXPECT_EQ(doc.surahs.at(1).englishName, QStringLiteral("Surah 2"));
    EXPECT_TRUE(doc.surahs.at(1).ayahs.isEmpty());
    EXPECT_EQ(doc.surahs.at(2).ayahs.at(0).number, 1);  // an entry that is not an object
}

TEST(QuranTextTest, DocumentsOfTheWrongShapeAreRejected) {
    const struct {
        const char* name;
        QByteArray bytes;
        DocumentError error;
    } cases[] = {
        {"not JSON", "{\"data\":", DocumentError::NotJson},
        {"empty", "", DocumentError::NotJson},
        {"array", "[]", DocumentError::BadShape},
        {"no data", R"({"code":200})", DocumentError::BadShape},
        {"data array", R"({"data":[]})", DocumentError::BadShape},
        {"surahs object", document("{}"), DocumentError::BadShape},
        {"surah not an object", document("[{}, 3]"), DocumentError::BadShape},
    };
    for (const auto& c : cases) {
        const auto result = parseEdition(c.bytes);
        ASSERT_TRUE(std::holds_alternative<DocumentError>(result)) << c.name;
        EXPECT_EQ(std::get<DocumentError>(result), c.error) << c.name;
    }
}

TEST(QuranTextTest, RepliesAreKeptOnlyWithCode200AndData) {
    EXPECT_EQ(checkReply(R"({"code":200,"data":{}})"), ReplyCheck::Accepted);
    EXPECT_EQ(checkReply(R"({"code":200.0,"data":0})"), ReplyCheck::Accepted);
    EXPECT_EQ(checkReply(R"({"code":404,"data":{}})"), ReplyCheck::Rejected);
    EXPECT_EQ(checkReply(R"({"code":"200","data":{}})"), ReplyCheck::Rejected);
    EXPECT_EQ(checkReply(R"({"code":200})"), ReplyCheck::Rejected);
    EXPECT_EQ(checkReply(R"({"code":200,"data":null})"), ReplyCheck::Rejected);
    EXPECT_EQ(checkReply("not json"), ReplyCheck::NotJson);
}

TEST(QuranTextTest, TranslationsPairByPositionAndShortOnesLeaveGaps) {
    const EditionDocument arabic = parsed(document(
        R"([{"number":1,"ayahs":[{"text":"a1"},{"text":"a2"},{"text":"a3"}]},{"number":2,"ayahs":[{"text":"b1"}]}])"));
    const EditionDocument translation = parsed(document(R"([{"number":9,"ayahs":[{"text":"t1"}]}])"));
    const Index index = buildIndex(arabic, translation);
    EXPECT_EQ(index.translationByKey.value(QStringLiteral("1.1")), QStringLiteral("t1"));
    EXPECT_FALSE(index.translationByKey.contains(QStringLiteral("1.2")));
    EXPECT_FALSE(index.translationByKey.contains(QStringLiteral("2.1")));
    EXPECT_EQ(index.arabicByKey.value(QStringLiteral("2.1")), QStringLiteral("b1"));
    EXPECT_EQ(index.paras.at(1).startSurahName, QStringLiteral("Surah 2"));  // no "englishName" given
    EXPECT_EQ(index.paras.at(2).startSurahName, QStringLiteral("Surah 2"));
    EXPECT_EQ(index.paras.at(29).startSurahName, QStringLiteral("Surah 78"));  // no such surah
}

TEST(QuranTextTest, ARepeatedSurahNumberKeepsItsFirstRecordAndAnEmptySurahIsEmpty) {
    const EditionDocument arabic = parsed(
        document(R"([{"number":3,"englishName":"Third","ayahs":[{"text":"first"}]},)"
                 R"({"number":1,"englishName":"One","ayahs":[]},)"
                 R"({"number":3,"englishName":"Again","ayahs":[{"text":"second"},{"text":"more"}]}])"));
    const Index index = buildIndex(arabic, {});
    ASSERT_EQ(index.surahs.size(), 2);
    EXPECT_EQ(index.surahs.at(0).id, 1);
    EXPECT_EQ(index.surahs.at(0).numberOfAyahs, 0);
    EXPECT_EQ(index.surahs.at(1).englishName, QStringLiteral("Third"));
    EXPECT_EQ(index.surahs.at(1).numberOfAyahs, 1);
    EXPECT_EQ(index.arabicByKey.value(QStringLiteral("3.1")), QStringLiteral("first"));
    EXPECT_FALSE(index.arabicByKey.contains(QStringLiteral("3.2")));
}

TEST(QuranTextTest, TheFixtureHasTheStandardAyahCounts) {
    int total = 0;
    for (const int n : QuranFixture::ayahCounts()) total += n;
    EXPECT_EQ(total, 6236);
    EXPECT_GT(QuranFixture::edition(QStringLiteral("quran-uthmani")).size(), 10001);
}
