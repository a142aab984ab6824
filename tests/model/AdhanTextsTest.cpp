#include <gtest/gtest.h>

#include "model/AdhanTexts.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList linesOf(const QString& text) {
    return text.split(QLatin1Char('\n'));
}

int dawnLines(const QString& text) {
    int n = 0;
    for (const QString& line : linesOf(text)) n += AdhanTexts::containsFajrExtra(line) ? 1 : 0;
    return n;
}

}  // namespace

TEST(AdhanTexts, CodeBeforeTheDashPicksTheTable) {
    struct Case {
        QString code;
        QString regularTitle;
    } cases[] = {
        {u"ar"_s, u"الأذان"_s}, {u"ar-SA"_s, u"الأذان"_s}, {u"ur"_s, u"اذان"_s},     {u"ur-PK"_s, u"اذان"_s},
        {u"fr"_s, u"Adhan"_s},  {u"fr-CA"_s, u"Adhan"_s},  {u"en"_s, u"Adhan"_s},    {u""_s, u"Adhan"_s},
        {u"AR"_s, u"Adhan"_s},  {u"-ar"_s, u"Adhan"_s},    {u"ar_SA"_s, u"Adhan"_s}, {u"de"_s, u"Adhan"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdhanTexts::table(c.code).regularTitle, c.regularTitle) << c.code.toStdString();
    EXPECT_EQ(AdhanTexts::table(u"fr").fajrTitle, u"Adhan du Fajr"_s);
    EXPECT_EQ(AdhanTexts::table(u"xx").fajrTitle, u"Fajr Adhan"_s);
    EXPECT_EQ(&AdhanTexts::table(u"ar-EG"), &AdhanTexts::table(u"ar"));
    EXPECT_EQ(&AdhanTexts::table(u"zz"), &AdhanTexts::table(u"en"));
}

// Every language's dawn call carries the dawn-only phrase twice and the other calls never carry it; the dawn
// call is the regular call with exactly those two lines added.
TEST(AdhanTexts, DawnCallAddsTheDawnLinesOnly) {
    for (const char16_t* code : {u"ar", u"ur", u"fr", u"en"}) {
        const AdhanTexts::Table& t = AdhanTexts::table(QStringView(code));
        SCOPED_TRACE(QString::fromUtf16(code).toStdString());
        EXPECT_EQ(dawnLines(t.fajr), 2);
        EXPECT_EQ(dawnLines(t.regular), 0);
        QStringList withoutDawn;
        for (const QString& line : linesOf(t.fajr))
            if (!AdhanTexts::containsFajrExtra(line)) withoutDawn << line;
        EXPECT_EQ(withoutDawn, linesOf(t.regular));
        EXPECT_EQ(linesOf(t.regular).size(), 12);
        for (const QString& line : linesOf(t.fajr)) EXPECT_EQ(line, line.trimmed());
        EXPECT_FALSE(t.fajrTitle.isEmpty());
    }
}

TEST(AdhanTexts, DawnPhraseInEveryScriptAndCase) {
    struct Case {
        QString text;
        bool dawn;
    } cases[] = {
        {u"الصلاة خير من النوم"_s, true},
        {u"الصَّلَاةُ خَيْرٌ مِنَ النَّوْمِ"_s, true},
        {u"النّـــوم"_s, true},             // shadda and elongation strokes
        {u"الصلوٰۃ خیر من النوم"_s, true},  // Urdu spelling
        {u"As-Salatu Khayrun Min An-Nawm"_s, true},
        {u"AS-SALATU"_s, true},
        {u"prayer is KHAYRUN"_s, true},
        {u"…an-nawm"_s, true},
        {u"حَيَّ عَلَى الصَّلَاةِ"_s, false},
        {u"النو م"_s, false},  // a space is not a mark
        {u"نوم"_s, false},     // without the article
        {u"النو"_s, false},    // cut short at the end of the text
        {u"Hayya 'ala as-salah"_s, false},
        {u"as salatu"_s, false},
        {u""_s, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdhanTexts::containsFajrExtra(c.text), c.dawn) << c.text.toStdString();
}

TEST(AdhanTexts, ResolvedBody) {
    const AdhanTexts::Table& fr = AdhanTexts::table(u"fr");
    const AdhanTexts::Table& ar = AdhanTexts::table(u"ar");
    // The dawn call ignores the bundle's text, even one without the dawn phrase.
    EXPECT_EQ(AdhanTexts::resolvedBody(true, u"fr", u"Allahu Akbar"_s), fr.fajr);
    EXPECT_EQ(AdhanTexts::resolvedBody(true, u"ar-SA", QString()), ar.fajr);
    EXPECT_EQ(AdhanTexts::resolvedBody(true, u"tr", QString()), AdhanTexts::table(u"en").fajr);
    EXPECT_EQ(AdhanTexts::resolvedBody(false, u"fr", u"Texte du serveur"_s), u"Texte du serveur"_s);
    EXPECT_EQ(AdhanTexts::resolvedBody(false, u"fr", QString()), fr.regular);
    EXPECT_EQ(AdhanTexts::resolvedBody(false, u"ur", u" \n\t"_s), AdhanTexts::table(u"ur").regular);
}
