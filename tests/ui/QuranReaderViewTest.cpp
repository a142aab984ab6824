#include "AlertsShown.h"
#include "QuickHarness.h"
#include "QuranTestWorld.h"
#include "ui/common/Theme.h"
#include "ui/quran/QuranReaderController.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QQmlContext>
#include <QQmlProperty>
#include <QTest>
#include <QWindow>

namespace {

// Every name in an accessible tree, as a screen reader walks it.
QStringList namesUnder(QAccessibleInterface* node) {
    QStringList names;
    if (!node) return names;
    names << node->text(QAccessible::Name);
    for (int i = 0; i < node->childCount(); ++i) names << namesUnder(node->child(i));
    return names;
}

// The reader in an offscreen window, reading the shared library from the fixture server.
struct QuranReaderViewTest : ::testing::Test {
    static void SetUpTestSuite() { QAccessible::setActive(true); }

    QuranTestWorld world;
    QuickHarness harness;
    QQuickItem* view = nullptr;
    QuranReaderController* reader = nullptr;

    void open(QSize size = {1280, 860}) {
        harness.engine().rootContext()->setContextProperty(QStringLiteral("testSettings"),
                                                           world.settings.get());
        view = harness.load("import QtQuick\nimport Orvane.Quran\nQuranReaderView { settings: testSettings }",
                            size);
        ASSERT_NE(view, nullptr);
        reader = view->property("reader").value<QuranReaderController*>();
        ASSERT_NE(reader, nullptr);
        reader->setWindows({[] { return nullptr; }, [] { return QList<QWindow*>{}; }});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !QuranLibrary::shared().isDownloading(); }, 15000));
        harness.settle(150);
    }
    // Anywhere in the window, the sheet's popup layer included.
    // What a screen reader says for an item: its accessible name, else its text.
    static QString name(QQuickItem* focused) {
        if (!focused) return {};
        const QString accessible = QQmlProperty::read(focused, QStringLiteral("Accessible.name")).toString();
        return accessible.isEmpty() ? focused->property("text").toString() : accessible;
    }
    QQuickItem* item(const char* name) {
        return findItem(harness.window().contentItem(), QLatin1String(name));
    }
};

}  // namespace

TEST_F(QuranReaderViewTest, ArabicWithEnglishAtTheLargestSize) {
    world.settings->setQuranResumeSurah(2);
    world.settings->setQuranResumeAyah(255);
    open();
    ASSERT_EQ(reader->screenState(), QStringLiteral("reading"));
    QQuickItem* arabic = item("arabicText");
    ASSERT_NE(arabic, nullptr);
    EXPECT_EQ(arabic->property("font").value<QFont>().pixelSize(), 84);
    EXPECT_TRUE(arabic->property("text").toString().contains(QStringLiteral("ٱلْقَيُّومُ")));
    EXPECT_EQ(item("positionLine")->property("text").toString(), QStringLiteral("Para 3 · Ayah 255 of 286"));
    EXPECT_TRUE(item("bottomBar")->isVisible());
    EXPECT_FALSE(item("largerButton")->isEnabled());  // huge by default
    QQuickItem* browse = item("browseButton");
    EXPECT_GE(browse->width(), browse->implicitWidth());
    EXPECT_GT(browse->implicitWidth(), 120);
    const QImage image = harness.grab(QStringLiteral("quran-reader-huge-en"));
    EXPECT_GT(countPixelsNear(image, Qt::white, 40), 2000);
    EXPECT_GT(countPixelsNear(image, Theme::gold(), 20), 500);
}

TEST_F(QuranReaderViewTest, UrduIsLaidOutRightToLeftAndArrowKeysMove) {
    world.settings->setQuranTranslationLang(QStringLiteral("ur"));
    world.settings->setQuranTextSize(QStringLiteral("large"));
    open();
    EXPECT_TRUE(reader->translationRightToLeft());
    EXPECT_TRUE(item("translationText")->property("text").toString().startsWith(QChar(0x200F)));
    harness.grab(QStringLiteral("quran-reader-large-ur"));

    QTest::keyClick(&harness.window(), Qt::Key_Right);
    EXPECT_EQ(reader->ayahIndex(), 1);  // one press, one ayah
    // A screen reader finds the ayah and its translation, and reads them from the reader's keys as the
    // arrow turns to them.
    harness.settle(20);
    const QStringList names = namesUnder(QAccessible::queryAccessibleInterface(&harness.window()));
    EXPECT_TRUE(names.contains(reader->arabicText())) << names.join(u'|').toStdString();
    EXPECT_TRUE(names.contains(reader->translationText())) << names.join(u'|').toStdString();
    QAccessibleInterface* keys = QAccessible::queryAccessibleInterface(harness.window().activeFocusItem());
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->text(QAccessible::Description), reader->arabicText() + u'\n' + reader->translationText());
    QTest::keyClick(&harness.window(), Qt::Key_Left);
    QTest::keyClick(&harness.window(), Qt::Key_Left);
    EXPECT_EQ(reader->ayahIndex(), 0);
    EXPECT_EQ(world.settings->quranResumeAyah(), 1);
}

TEST_F(QuranReaderViewTest, JapaneseTranslationReadsLeftToRight) {
    world.settings->setQuranTranslationLang(QStringLiteral("ja"));
    world.settings->setQuranTextSize(QStringLiteral("small"));
    open({900, 640});
    EXPECT_FALSE(reader->translationRightToLeft());
    EXPECT_TRUE(item("translationText")->property("text").toString().contains(QStringLiteral("アッラー")));
    EXPECT_FALSE(item("smallerButton")->isEnabled());
    harness.grab(QStringLiteral("quran-reader-small-ja"));
}

TEST_F(QuranReaderViewTest, FullScreenSwapsTheBarForTheRoundControls) {
    world.settings->setQuranTextSize(QStringLiteral("normal"));
    open();
    reader->enterReadingFullScreen();
    harness.settle(300);
    EXPECT_FALSE(item("bottomBar")->isVisible());
    EXPECT_FALSE(item("titleBar")->isVisible());
    EXPECT_TRUE(item("fullscreenControls")->isVisible());
    EXPECT_DOUBLE_EQ(reader->arabicSize(), 40 * 1.12);
    EXPECT_NEAR(item("arabicText")->property("font").value<QFont>().pixelSize(), 44.8, 1);
    harness.grab(QStringLiteral("quran-reader-fullscreen"));
    // Escape in full screen only leaves it; the reader stays open.
    QTest::keyClick(&harness.window(), Qt::Key_Escape);
    EXPECT_FALSE(reader->fullscreen());
    harness.settle(300);
    EXPECT_TRUE(item("bottomBar")->isVisible());
    // A double click on the text switches reading full screen on and off again.
    const QPoint onText = item("arabicText")->mapToScene({20, 20}).toPoint();
    QTest::mouseDClick(&harness.window(), Qt::LeftButton, {}, onText);
    EXPECT_TRUE(QTest::qWaitFor([&] { return reader->fullscreen(); }, 1000));
    harness.settle(300);
    QTest::mouseDClick(&harness.window(), Qt::LeftButton, {},
                       item("arabicText")->mapToScene({20, 20}).toPoint());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !reader->fullscreen(); }, 1000));
}

TEST_F(QuranReaderViewTest, TheBrowseSheetListsParasAndSurahsAndJumps) {
    world.settings->setQuranTextSize(QStringLiteral("normal"));
    open();
    reader->setShowBrowse(true);
    harness.settle(300);
    QQuickItem* list = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (list = item("browseList")) != nullptr; }, 2000));
    harness.grab(QStringLiteral("quran-browse-paras"));

    QObject* surahTab = item("tab_surah");
    ASSERT_NE(surahTab, nullptr);
    QMetaObject::invokeMethod(surahTab, "clicked");
    QQuickItem* search = item("searchField");
    ASSERT_NE(search, nullptr);
    search->setProperty("text", QStringLiteral("medinan"));
    harness.settle(100);
    EXPECT_EQ(world.settings->quranBrowseTab(), QStringLiteral("surah"));
    harness.grab(QStringLiteral("quran-browse-surahs"));

    reader->browseSelected(18, 1);
    harness.settle(300);
    EXPECT_FALSE(reader->showBrowse());
    EXPECT_EQ(item("positionLine")->property("text").toString(), QStringLiteral("Para 15 · Ayah 1 of 110"));
}

TEST_F(QuranReaderViewTest, AnUnreachableHostShowsTheErrorAndTryAgain) {
    world.server.setOffline(true);
    open({800, 600});
    EXPECT_EQ(reader->screenState(), QStringLiteral("error"));
    EXPECT_EQ(alertsShown(view), QStringList{reader->errorText()});
    ASSERT_NE(item("tryAgainButton"), nullptr);
    EXPECT_TRUE(item("tryAgainButton")->isVisible());
    EXPECT_FALSE(item("bottomBar")->isVisible());
    harness.grab(QStringLiteral("quran-reader-error"));
    world.server.setOffline(false);
    QMetaObject::invokeMethod(item("tryAgainButton"), "clicked");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader->screenState() == QLatin1String("reading"); }, 10000));
}

TEST_F(QuranReaderViewTest, TabReachesEveryControlByItsName) {
    world.settings->setQuranTextSize(QStringLiteral("large"));
    open();
    // The reader takes the keyboard once it is on screen.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QQuickItem* focused = harness.window().activeFocusItem();
            return focused && focused->objectName() == QLatin1String("readerKeys");
        },
        3000));
    QStringList reached;
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(&harness.window(), Qt::Key_Tab);
        reached << name(harness.window().activeFocusItem());
    }
    for (const char* expected :
         {"Done", "Full screen", "Para 1 · 1. Al-Faatiha", "Smaller text", "Larger text", "Next"})
        EXPECT_TRUE(reached.contains(QString::fromUtf8(expected)))
            << expected << " not in " << reached.join(u'|').toStdString();
    EXPECT_FALSE(reached.contains(QStringLiteral("Previous")));  // disabled on the first ayah
    // Space or Return presses the focused button: on "Larger text" the size grows, on "Smaller text" it
    // shrinks.
    const auto tabTo = [&](const char* control) {
        for (int i = 0; i < 12 && name(harness.window().activeFocusItem()) != QLatin1String(control); ++i)
            QTest::keyClick(&harness.window(), Qt::Key_Tab);
        return name(harness.window().activeFocusItem()) == QLatin1String(control);
    };
    ASSERT_TRUE(tabTo("Larger text"));
    QTest::keyClick(&harness.window(), Qt::Key_Space);
    EXPECT_EQ(world.settings->quranTextSize(), QStringLiteral("huge"));
    ASSERT_TRUE(tabTo("Smaller text"));
    QTest::keyClick(&harness.window(), Qt::Key_Return);
    EXPECT_EQ(world.settings->quranTextSize(), QStringLiteral("large"));
}
