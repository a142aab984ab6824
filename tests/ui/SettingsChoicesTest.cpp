#include "ui/settings/SettingsChoices.h"

#include <gtest/gtest.h>

#include <QVariantMap>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList texts(const QVariantList& rows) {
    QStringList out;
    for (const QVariant& row : rows) out << row.toMap().value(u"text"_s).toString();
    return out;
}
QVariantList values(const QVariantList& rows) {
    QVariantList out;
    for (const QVariant& row : rows) out << row.toMap().value(u"value"_s);
    return out;
}

}  // namespace

TEST(SettingsChoices, TheRowsOfThePickers) {
    const QVariantList languages = SettingsChoices::languages();
    ASSERT_EQ(languages.size(), 17);
    EXPECT_EQ(texts(languages).first(), u"\u200EEnglish \u2014 English"_s);
    EXPECT_EQ(texts(languages)[7], u"\u200EDeutsch \u2014 German"_s);
    EXPECT_EQ(values(languages).last(), QVariant(u"es"_s));
    EXPECT_EQ(values(SettingsChoices::methods()), (QVariantList{u"ISNA"_s, u"MWL"_s, u"Egypt"_s, u"Makkah"_s,
                                                                u"Karachi"_s, u"Tehran"_s, u"Jafari"_s}));
    EXPECT_EQ(texts(SettingsChoices::methods())[3], u"Umm al-Qura (Makkah)"_s);
    EXPECT_EQ(values(SettingsChoices::asrRules()), (QVariantList{1, 2}));
    EXPECT_EQ(values(SettingsChoices::playLengths()), (QVariantList{0, 30, 15}));
    EXPECT_EQ(values(SettingsChoices::intervals()), (QVariantList{1, 2, 3, 4, 6, 8, 12, 24}));
    EXPECT_EQ(texts(SettingsChoices::intervals())[6], u"Every 12 hours (\u22482\u00D7/day)"_s);
    EXPECT_EQ(texts(SettingsChoices::quranTextSizes()),
              (QStringList{u"Small"_s, u"Normal"_s, u"Large"_s, u"Huge"_s}));
    EXPECT_EQ(values(SettingsChoices::quranTextSizes()),
              (QVariantList{u"small"_s, u"normal"_s, u"large"_s, u"huge"_s}));
    ASSERT_EQ(SettingsChoices::quranTranslations().size(), 12);
    EXPECT_EQ(texts(SettingsChoices::quranTranslations()).first(), u"English \u2014 Sahih International"_s);
}

TEST(SettingsChoices, AValueOutsideTheRowsSelectsNone) {
    const QVariantList units = SettingsChoices::units();
    EXPECT_EQ(SettingsChoices::indexOf(units, u"metric"_s), 1);
    EXPECT_EQ(SettingsChoices::indexOf(units, u"Metric"_s), -1);
    const QVariantList hours = SettingsChoices::intervals();
    EXPECT_EQ(SettingsChoices::indexOf(hours, 12), 6);
    EXPECT_EQ(SettingsChoices::indexOf(hours, 12.0), 6);  // as QML hands a number over
    EXPECT_EQ(SettingsChoices::indexOf(hours, 5), -1);
    EXPECT_EQ(SettingsChoices::indexOf(SettingsChoices::clockFormats(), true), 1);
}

TEST(SettingsChoices, HelpLinesFollowTheStoredValueExactly) {
    EXPECT_EQ(SettingsChoices::alertsScopeHelp(u"state"_s), SettingsChoices::alertsScopeHelp(u"province"_s));
    EXPECT_EQ(SettingsChoices::alertsScopeHelp(u"City"_s),
              u"Severe weather and earthquakes limited to the selected range."_s);
    EXPECT_EQ(SettingsChoices::weatherSourceHelp(u"List"_s), SettingsChoices::weatherSourceHelp(u"auto"_s));
    EXPECT_TRUE(SettingsChoices::weatherSourceHelp(u"custom"_s).startsWith(u"Paste an Open-Meteo"_s));
    EXPECT_TRUE(SettingsChoices::serviceNotice().contains(u" for clock ID reclaim, coarse check-in"_s));
}
