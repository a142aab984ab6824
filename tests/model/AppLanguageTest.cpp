#include <gtest/gtest.h>

#include "model/AppLanguage.h"

#include <QSet>

using namespace Qt::Literals::StringLiterals;

TEST(AppLanguage, TableInPickerOrder) {
    const QList<AppLanguage>& all = AppLanguage::all();
    ASSERT_EQ(all.size(), 17);
    QStringList codes;
    for (const AppLanguage& language : all) codes << language.code;
    EXPECT_EQ(codes,
              (QStringList{u"en"_s, u"ar"_s, u"ur"_s, u"fa"_s, u"tr"_s, u"ru"_s, u"uk"_s, u"de"_s, u"fr"_s,
                           u"ja"_s, u"zh"_s, u"hi"_s, u"bn"_s, u"pl"_s, u"id"_s, u"ms"_s, u"es"_s}));
    EXPECT_EQ(all[1], (AppLanguage{u"ar"_s, u"العربية"_s, u"Arabic"_s}));
    EXPECT_EQ(all[6].native, u"Українська"_s);
    EXPECT_EQ(all[11].native, u"हिन्दी"_s);
    EXPECT_EQ(all[12].native, u"বাংলা"_s);
    EXPECT_EQ(all[9].native, u"日本語"_s);
    EXPECT_EQ(all[16], (AppLanguage{u"es"_s, u"Español"_s, u"Spanish"_s}));
    EXPECT_EQ(all[4].id(), u"tr"_s);
    EXPECT_EQ(QSet<AppLanguage>(all.begin(), all.end()).size(), 17);
}

TEST(AppLanguage, CodesCompareExactly) {
    struct Case {
        QString code;
        bool known;
    } cases[] = {{u"en"_s, true},  {u"zh"_s, true}, {u"EN"_s, false},
                 {u"pt"_s, false}, {u""_s, false},  {u"de-AT"_s, false}};
    for (const Case& c : cases) EXPECT_EQ(AppLanguage::isCode(c.code), c.known) << c.code.toStdString();
    EXPECT_NE((AppLanguage{u"en"_s, u"English"_s, u"English"_s}),
              (AppLanguage{u"en"_s, u"English"_s, u"english"_s}));
}
