#include "QuranTestWorld.h"
#include "ui/quran/QuranBrowseController.h"
#include "ui/quran/QuranBrowseFilter.h"

#include <gtest/gtest.h>

namespace {

struct QuranBrowseTest : ::testing::Test {
    static void SetUpTestSuite() {
        QuranTestWorld world;
        world.load();
        index = new QuranText::Index{{}, {}, {}, world.library->surahs(), world.library->paras()};
    }
    static void TearDownTestSuite() { delete index; }
    static QList<int> paraIds(const QString& search) {
        QList<int> ids;
        for (const auto& p : QuranBrowseFilter::paras(index->paras, search)) ids << p.id;
        return ids;
    }
    static QList<int> surahIds(const QString& search) {
        QList<int> ids;
        for (const auto& s : QuranBrowseFilter::surahs(index->surahs, search)) ids << s.id;
        return ids;
    }
    static inline QuranText::Index* index = nullptr;
};

QList<int> range(int from, int to) {
    QList<int> ids;
    for (int i = from; i <= to; ++i) ids << i;
    return ids;
}

}  // namespace

TEST_F(QuranBrowseTest, ParaSearches) {
    // "juz 30" and "para 30" contain the query too.
    EXPECT_EQ(paraIds(QStringLiteral("  JUZ 3 ")), (QList<int>{3, 30}));
    EXPECT_EQ(paraIds(QStringLiteral("para 3")), (QList<int>{3, 30}));
    EXPECT_EQ(paraIds(QStringLiteral("juz 13")), QList<int>{13});
    EXPECT_EQ(paraIds(QStringLiteral("2:253")), QList<int>{3});
    EXPECT_EQ(paraIds(QStringLiteral("2:142")), QList<int>{2});
    // By number (3, 13, 23, 30) and by start (3:93, 9:93, 23:1, 33:31, 39:32, 51:31, and 2:253 and 12:53).
    EXPECT_EQ(paraIds(QStringLiteral("3")), (QList<int>{3, 4, 11, 13, 18, 22, 23, 24, 27, 30}));
    EXPECT_EQ(paraIds(QStringLiteral("yaseen")), QList<int>{23});
    EXPECT_EQ(paraIds(QStringLiteral("\n\t ")), range(1, 30));
    EXPECT_TRUE(paraIds(QStringLiteral("juz 31")).isEmpty());
}

TEST_F(QuranBrowseTest, SurahSearches) {
    EXPECT_EQ(surahIds(QStringLiteral("36")), QList<int>{36});
    EXPECT_EQ(surahIds(QStringLiteral("medinan")).size(), 27);
    EXPECT_EQ(surahIds(QStringLiteral("MECCAN")).size(), 87);
    EXPECT_EQ(surahIds(QStringLiteral("al-kahf")), QList<int>{18});
    EXPECT_EQ(surahIds(QStringLiteral("سُورَةُ يسٓ")), QList<int>{36});
    EXPECT_TRUE(surahIds(QStringLiteral("سُورَةُ يسٓ ")).isEmpty());  // the Arabic name is matched as typed
    EXPECT_EQ(surahIds(QString()), range(1, 114));
    EXPECT_TRUE(surahIds(QStringLiteral("zzz")).isEmpty());
}

TEST_F(QuranBrowseTest, RowsFollowTheTabAndOpenTheirPlace) {
    QuranTestWorld world;
    QuranBrowseController browse;
    browse.setLibrary(world.library.get());
    browse.setSettings(world.settings.get());
    EXPECT_EQ(browse.tab(), QStringLiteral("para"));
    EXPECT_TRUE(browse.libraryEmpty());
    EXPECT_TRUE(browse.rows().isEmpty());

    world.load();
    EXPECT_FALSE(browse.libraryEmpty());
    QVariantList rows = browse.rows();
    ASSERT_EQ(rows.size(), 30);
    const QVariantMap para2 = rows.at(1).toMap();
    EXPECT_EQ(para2.value(QStringLiteral("surah")).toInt(), 2);
    EXPECT_EQ(para2.value(QStringLiteral("ayah")).toInt(), 142);
    EXPECT_EQ(para2.value(QStringLiteral("subtitle")).toString(), QStringLiteral("Starts Al-Baqara 2:142"));
    EXPECT_EQ(para2.value(QStringLiteral("trailingDetail")).toString(), QStringLiteral("111 ayahs"));

    browse.setTab(QStringLiteral("surah"));
    EXPECT_EQ(world.settings->quranBrowseTab(), QStringLiteral("surah"));
    browse.setSearch(QStringLiteral("kahf"));
    rows = browse.rows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.at(0).toMap().value(QStringLiteral("surah")).toInt(), 18);
    EXPECT_EQ(rows.at(0).toMap().value(QStringLiteral("ayah")).toInt(), 1);

    world.settings->setQuranBrowseTab(QStringLiteral("unknown"));
    EXPECT_FALSE(browse.showsParas());
    browse.setSearch(QString());
    EXPECT_EQ(browse.rows().size(), 114);
}
