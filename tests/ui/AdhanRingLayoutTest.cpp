#include "ui/face/AdhanRingLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(AdhanRingLayout, SizeClasses) {
    struct Row {
        double w, h;
        const char* style;
        double icon, title, spacing;
        bool compact;
    };
    const Row rows[] = {
        {1280, 699, "footnote", 36, 24, 8, true},   {1280, 700, "callout", 48, 28, 12, true},
        {1280, 779.9, "callout", 48, 28, 12, true}, {519, 900, "callout", 48, 28, 12, true},
        {520, 780, "title3", 70, 34, 22, false},    {1920, 1200, "title3", 70, 34, 22, false},
        {300, 500, "footnote", 36, 24, 8, true},
    };
    for (const Row& r : rows) {
        const auto c = AdhanRingLayout::sizeClassFor(r.w, r.h);
        EXPECT_EQ(c.textStyle, QLatin1String(r.style)) << r.w << "x" << r.h;
        EXPECT_EQ(c.iconSize, r.icon);
        EXPECT_EQ(c.titleSize, r.title);
        EXPECT_EQ(c.spacing, r.spacing);
        EXPECT_EQ(c.compact, r.compact);
    }
}

TEST(AdhanRingLayout, TextWidthIsBoundedAndNeverNegative) {
    EXPECT_EQ(AdhanRingLayout::textMaxWidthFor(500, true), 472);
    EXPECT_EQ(AdhanRingLayout::textMaxWidthFor(1280, false), 560);
    EXPECT_EQ(AdhanRingLayout::textMaxWidthFor(20, true), 0);
}

TEST(AdhanRingLayout, LinesSplitAtEveryLineSeparatorAndAreTrimmed) {
    EXPECT_EQ(AdhanRingLayout::splitLines(QStringLiteral("  Allahu Akbar \t\n\n\t Ashhadu  ")),
              (QStringList{QStringLiteral("Allahu Akbar"), QStringLiteral("Ashhadu")}));
    const QString mixed = QStringLiteral("a\r\nb\u2028c\u2029d\u0085e\rf\u000Bg\u000Ch");
    EXPECT_EQ(AdhanRingLayout::splitLines(mixed).size(), 8);
    EXPECT_TRUE(AdhanRingLayout::splitLines(QStringLiteral(" \n\t\n")).isEmpty());
    EXPECT_TRUE(AdhanRingLayout::splitLines(QString()).isEmpty());
    // Only spaces and tabs are trimmed; other blanks belong to the line.
    EXPECT_EQ(AdhanRingLayout::splitLines(QStringLiteral("\u00A0x\u00A0")).first(),
              QStringLiteral("\u00A0x\u00A0"));
}

TEST(AdhanRingLayout, OnlyTheDawnPhraseIsMarked) {
    const auto isDawn = [](const QString& line) { return line.contains(QStringLiteral("an-nawm")); };
    const auto lines = AdhanRingLayout::callLines(
        QStringLiteral("Hayya ala al-falah\nAs-salatu khayrun min an-nawm\nAllahu Akbar"), isDawn);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_FALSE(lines[0].dawn);
    EXPECT_TRUE(lines[1].dawn);
    EXPECT_FALSE(lines[2].dawn);
    for (const auto& line : AdhanRingLayout::callLines(QStringLiteral("x\ny"), {})) EXPECT_FALSE(line.dawn);
}

TEST(AdhanRingLayout, TheOverlayUsesTheCallTextsOwnDawnTest) {
    const QVariantList lines = AdhanRingLayout::lines(
        QStringLiteral("الله أكبر\nالصلاة خير من النوم\nAs-Salatu Khayrun Minan-Nawm\nHayya ala al-falah"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_FALSE(lines[0].toMap().value("dawn").toBool());
    EXPECT_TRUE(lines[1].toMap().value("dawn").toBool());
    EXPECT_TRUE(lines[2].toMap().value("dawn").toBool());
    EXPECT_FALSE(lines[3].toMap().value("dawn").toBool());
}

}  // namespace

TEST(AdhanRingLayout, FittedSizeShrinksToTwoLinesWithinItsFloor) {
    const QString word = QStringLiteral("Allahu Akbar");
    const QString call =
        QStringLiteral("Ashhadu anna Muhammadan Rasulullah, Ashhadu anna Muhammadan Rasulullah");
    const struct {
        QString text;
        double width;
        int expectedAtMost;
        int expectedAtLeast;
    } cases[] = {
        {word, 400, 20, 20},              // fits at once
        {QString(), 10, 20, 20},          // nothing to fit
        {call, 330, 19, 13},              // shrinks, at most to 65 %
        {call.repeated(4), 200, 13, 13},  // too long for any allowed size: the floor
    };
    for (const auto& c : cases) {
        const int size = AdhanRingLayout::fittedPixelSizeFor(c.text, 20, false, c.width, 2, 0.65);
        EXPECT_LE(size, c.expectedAtMost) << c.text.toStdString();
        EXPECT_GE(size, c.expectedAtLeast) << c.text.toStdString();
    }
}
