#include "QuranTestWorld.h"
#include "ui/quran/QuranReaderController.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QWindow>

namespace {

struct QuranReaderTest : ::testing::Test {
    QuranTestWorld world;
    std::unique_ptr<QuranReaderController> reader = std::make_unique<QuranReaderController>();

    void SetUp() override {
        reader->setLibrary(world.library.get());
        reader->setSettings(world.settings.get());
        reader->setWindows({[] { return nullptr; }, [] { return QList<QWindow*>{}; }});
    }
    // The reader comes on screen and its first load (with the restore) has finished.
    void open() {
        reader->appear();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !world.library->isDownloading(); }, 10000));
    }
    void place(int surah, int index) {
        reader->browseSelected(surah, index + 1);
        ASSERT_EQ(reader->selectedSurah(), surah);
        ASSERT_EQ(reader->ayahIndex(), index);
    }
    std::pair<int, int> position() const { return {reader->selectedSurah(), reader->ayahIndex()}; }
    std::pair<int, int> saved() const {
        return {world.settings->quranResumeSurah(), world.settings->quranResumeAyah()};
    }
};

}  // namespace

TEST_F(QuranReaderTest, NavigationCrossesSurahsAndStopsAtBothEnds) {
    open();
    EXPECT_EQ(position(), std::pair(1, 0));
    reader->goPrev();
    EXPECT_EQ(position(), std::pair(1, 0));
    place(1, 6);
    reader->goNext();
    EXPECT_EQ(position(), std::pair(2, 0));
    reader->goPrev();
    EXPECT_EQ(position(), std::pair(1, 6));
    place(114, 5);
    reader->goNext();
    EXPECT_EQ(position(), std::pair(114, 5));
    EXPECT_EQ(saved(), std::pair(114, 6));
}

TEST_F(QuranReaderTest, PreviousAndNextAreEnabledByThePlace) {
    open();
    const struct {
        int surah, index;
        bool prev, next;
    } cases[] = {{1, 0, false, true},   {1, 3, true, true},   {2, 0, true, true},
                 {114, 5, true, false}, {114, 4, true, true}, {113, 4, true, true}};
    for (const auto& c : cases) {
        place(c.surah, c.index);
        EXPECT_EQ(reader->canGoPrev(), c.prev) << c.surah << ":" << c.index;
        EXPECT_EQ(reader->canGoNext(), c.next) << c.surah << ":" << c.index;
    }
}

TEST_F(QuranReaderTest, BeforeTheTextArrivesArrowsStepSurahsAndSaveNothing) {
    world.store->setInteger(world.scoped("quranResumeSurah"), 7);
    for (int i = 0; i < 120; ++i) reader->goNext();
    EXPECT_EQ(position(), std::pair(114, 0));
    reader->goPrev();
    EXPECT_EQ(position(), std::pair(113, 0));
    EXPECT_EQ(reader->screenState(), QStringLiteral("empty"));
    EXPECT_EQ(reader->browseButtonTitle(), QStringLiteral("Paras & Surahs"));
    EXPECT_EQ(world.store->integer(world.scoped("quranResumeSurah")), 7);
}

TEST_F(QuranReaderTest, TheSavedPlaceIsRestoredClamped) {
    const struct {
        int surah, ayah;
        std::pair<int, int> expected;
    } cases[] = {{0, 0, {1, 0}}, {200, 3, {114, 2}}, {2, 300, {2, 0}}, {36, 58, {36, 57}}, {-4, -9, {1, 0}}};
    for (const auto& c : cases) {
        reader.reset();  // closing saves its own place first
        world.settings->setQuranResumeSurah(c.surah);
        world.settings->setQuranResumeAyah(c.ayah);
        reader = std::make_unique<QuranReaderController>();
        SetUp();
        open();
        EXPECT_TRUE(reader->didRestoreProgress());
        EXPECT_EQ(position(), c.expected) << c.surah << ":" << c.ayah;
    }
}

TEST_F(QuranReaderTest, ThePlaceIsWrittenOnlyWhenItDiffers) {
    world.settings->setQuranResumeSurah(2);
    world.settings->setQuranResumeAyah(5);
    open();
    ASSERT_EQ(position(), std::pair(2, 4));
    // Behind the settings' back: a write of the unchanged place would put 2 and 5 back.
    world.store->setInteger(world.scoped("quranResumeSurah"), 99);
    world.store->setInteger(world.scoped("quranResumeAyah"), 99);
    reader->autoSaveProgress();
    reader->closeReader();
    EXPECT_EQ(world.store->integer(world.scoped("quranResumeSurah")), 99);
    EXPECT_EQ(world.store->integer(world.scoped("quranResumeAyah")), 99);
    reader->goNext();  // only the ayah differs
    EXPECT_EQ(world.store->integer(world.scoped("quranResumeSurah")), 99);
    EXPECT_EQ(world.store->integer(world.scoped("quranResumeAyah")), 6);
}

// Another program holds the settings file: the place read stays in memory, and the note says so.
TEST_F(QuranReaderTest, TheNoteCallsThePlaceSavedOnlyWhileTheSettingsReachTheDisk) {
    open();
    const QString saving = QStringLiteral("Progress saved automatically");
    EXPECT_EQ(reader->progressNote(), saving);
    QSignalSpy noteChanged(reader.get(), &QuranReaderController::progressNoteChanged);
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder.setDatabaseName(world.store->path());
        ASSERT_TRUE(holder.open());
        ASSERT_TRUE(holder.exec(QStringLiteral("BEGIN EXCLUSIVE")).lastError().type() == QSqlError::NoError);
        reader->goNext();
        EXPECT_FALSE(world.store->sync());
        EXPECT_NE(reader->progressNote(), saving);
        EXPECT_TRUE(reader->progressNote().contains(QStringLiteral("cannot be saved")));
        EXPECT_EQ(noteChanged.size(), 1);
        holder.exec(QStringLiteral("ROLLBACK"));
        holder.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    EXPECT_TRUE(world.store->sync());
    EXPECT_EQ(reader->progressNote(), saving);
}

TEST_F(QuranReaderTest, NothingIsSavedBeforeTheRestoreAndTryAgainRestores) {
    world.settings->setQuranResumeSurah(18);
    world.settings->setQuranResumeAyah(10);
    world.server.setOffline(true);
    open();
    EXPECT_EQ(reader->screenState(), QStringLiteral("error"));
    EXPECT_FALSE(reader->errorText().isEmpty());
    reader->goNext();
    EXPECT_EQ(saved(), std::pair(18, 10));

    world.server.setOffline(false);
    await(reader->tryAgainLoad());
    EXPECT_EQ(reader->screenState(), QStringLiteral("reading"));
    EXPECT_EQ(position(), std::pair(18, 9));
    EXPECT_EQ(saved(), std::pair(18, 10));
    reader->goNext();
    EXPECT_EQ(saved(), std::pair(18, 11));
}

TEST_F(QuranReaderTest, ReopeningKeepsTheUsersMovesWhileTheLoadRuns) {
    world.settings->setQuranResumeSurah(18);
    world.settings->setQuranResumeAyah(10);
    open();
    reader.reset();
    // The second opening's load saves one edition again, slowly.
    const QString slowEdition = QStringLiteral("ur.jalandhry");
    ASSERT_TRUE(QFile::remove(QuranLibrary::filePath(slowEdition)));
    FixtureServer::Reply slow;
    slow.body = QuranFixture::edition(slowEdition);
    slow.delay = std::chrono::milliseconds(2000);
    world.server.route(QStringLiteral("/v1/quran/") + slowEdition, slow);

    reader = std::make_unique<QuranReaderController>();
    SetUp();
    reader->appear();
    EXPECT_EQ(position(), std::pair(18, 9));
    reader->browseSelected(36, 1);
    reader->goNext();
    ASSERT_TRUE(world.library->isDownloading());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !world.library->isDownloading(); }, 10000));
    EXPECT_EQ(position(), std::pair(36, 1));
    EXPECT_EQ(saved(), std::pair(36, 2));
}

TEST_F(QuranReaderTest, ATranslationChangeKeepsThePlaceClampedAndSavesIt) {
    open();
    place(2, 254);
    // The stored Arabic now holds a shorter surah 2: the index is clamped to its last ayah.
    QFile arabic(QuranLibrary::filePath(QStringLiteral("quran-uthmani")));
    ASSERT_TRUE(arabic.open(QIODevice::WriteOnly));
    QByteArray shorter =
        R"({"code":200,"data":{"surahs":[{"number":1,"ayahs":[{"text":"a"}]},)"
        R"({"number":2,"englishName":"Al-Baqara","ayahs":[{"text":"b1"},{"text":"b2"},{"text":"b3"}]}]}})";
    shorter.append(QByteArray(11000, ' '));
    arabic.write(shorter);
    arabic.close();

    world.settings->setQuranTranslationLang(QStringLiteral("ur"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader->ayahIndex() == 2; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !world.library->isDownloading(); }, 10000));
    EXPECT_EQ(position(), std::pair(2, 2));
    EXPECT_EQ(saved(), std::pair(2, 3));
    EXPECT_TRUE(reader->translationRightToLeft());
    EXPECT_TRUE(reader->translationText().startsWith(QStringLiteral("شروع")));
}

TEST_F(QuranReaderTest, ALoadOutlivesItsLibraryWithoutTouchingIt) {
    QSignalSpy focus(reader.get(), &QuranReaderController::focusRequested);
    reader->appear();  // its load now waits on the Arabic text
    world.library.reset();
    // The library's run and then the reader's resume and end; the reader has moved to the shared library.
    ASSERT_TRUE(QTest::qWaitFor([&] { return focus.size() == 2; }, 10000));
    EXPECT_EQ(reader->library(), &QuranLibrary::shared());
    reader.reset();
}

TEST_F(QuranReaderTest, SizesFollowTheStoredNameAndFullScreen) {
    const struct {
        const char* stored;
        qreal arabic, translation, name, arabicSpacing, translationSpacing;
        const char* label;
    } cases[] = {{"small", 28, 18, 20, 12, 6, "Small"},
                 {"normal", 40, 22, 26, 16, 8, "Normal"},
                 {"large", 56, 28, 34, 20, 10, "Large"},
                 {"huge", 84, 42, 48, 28, 14, "Huge"},
                 {"gigantic", 84, 42, 48, 28, 14, "Huge"}};
    for (const auto& c : cases) {
        world.settings->setQuranTextSize(QLatin1String(c.stored));
        EXPECT_EQ(reader->arabicSize(), c.arabic) << c.stored;
        EXPECT_EQ(reader->translationSize(), c.translation) << c.stored;
        EXPECT_EQ(reader->surahNameSize(), c.name) << c.stored;
        EXPECT_EQ(reader->arabicLineSpacing(), c.arabicSpacing) << c.stored;
        EXPECT_EQ(reader->translationLineSpacing(), c.translationSpacing) << c.stored;
        EXPECT_EQ(reader->sizeLabel(), QLatin1String(c.label)) << c.stored;
    }
    reader->enterReadingFullScreen();
    EXPECT_DOUBLE_EQ(reader->arabicSize(), 94.08);
    EXPECT_DOUBLE_EQ(reader->translationLineSpacing(), 14 * 1.12);
}

TEST_F(QuranReaderTest, TextSizeStepsClampAndAlwaysWrite) {
    const struct {
        const char* from;
        int steps;
        const char* to;
        bool smaller, larger;
    } cases[] = {{"normal", 1, "large", true, true}, {"large", 1, "huge", true, false},
                 {"huge", 1, "huge", true, false},   {"small", -1, "small", false, true},
                 {"odd", -1, "large", true, true},   {"normal", -5, "small", false, true}};
    for (const auto& c : cases) {
        world.settings->setQuranTextSize(QLatin1String(c.from));
        world.store->setString(world.scoped("quranTextSize"), QStringLiteral("x"));
        reader->stepTextSize(c.steps);
        EXPECT_EQ(world.settings->quranTextSize(), QLatin1String(c.to)) << c.from;
        EXPECT_EQ(world.store->string(world.scoped("quranTextSize")).value_or(QString()),
                  QLatin1String(c.to));
        EXPECT_EQ(reader->canMakeSmaller(), c.smaller) << c.from;
        EXPECT_EQ(reader->canMakeLarger(), c.larger) << c.from;
    }
    world.settings->setQuranTextSize(QStringLiteral("odd"));
    EXPECT_FALSE(reader->canMakeLarger());
}

TEST_F(QuranReaderTest, HeaderLinesAndTheBrowseTitleDescribeThePlace) {
    open();
    place(36, 3);
    EXPECT_EQ(reader->browseButtonTitle(), QStringLiteral("Para 22 · 36. Yaseen"));
    EXPECT_EQ(reader->positionLine(), QStringLiteral("Para 22 · Ayah 4 of 83"));
    EXPECT_EQ(reader->surahSubtitle(), QStringLiteral("Yaseen · Meaning of surah 36"));
    EXPECT_EQ(reader->screenState(), QStringLiteral("reading"));
    EXPECT_FALSE(reader->translationRightToLeft());
    world.settings->setQuranTranslationLang(QStringLiteral("ar"));
    EXPECT_TRUE(reader->translationRightToLeft());
}

TEST_F(QuranReaderTest, ChoosingInTheBrowseSheetJumpsSavesAndCloses) {
    open();
    reader->setShowBrowse(true);
    QSignalSpy focus(reader.get(), &QuranReaderController::focusRequested);
    reader->browseSelected(2, 142);
    EXPECT_EQ(position(), std::pair(2, 141));
    EXPECT_EQ(saved(), std::pair(2, 142));
    EXPECT_FALSE(reader->showBrowse());
    EXPECT_EQ(focus.size(), 1);
}

TEST_F(QuranReaderTest, FullScreenUndoesOnlyWhatTheReaderDid) {
    QWindow window;
    window.resize(400, 300);
    window.show();
    QWindow* key = &window;
    reader->setWindows({[&] { return key; }, [&] { return QList<QWindow*>{&window}; }});
    QSignalSpy closes(reader.get(), &QuranReaderController::closeRequested);

    reader->enterReadingFullScreen();
    EXPECT_TRUE(reader->fullscreen());
    EXPECT_TRUE(SystemFullScreen::isFullScreen(&window));
    reader->handleEscape();  // leaves full screen only
    EXPECT_FALSE(reader->fullscreen());
    EXPECT_FALSE(SystemFullScreen::isFullScreen(&window));
    EXPECT_EQ(closes.size(), 0);

    // A window already in full screen stays there when the reader closes.
    window.setWindowStates(Qt::WindowFullScreen);
    reader->enterReadingFullScreen();
    EXPECT_FALSE(reader->enteredSystemFullScreen());
    reader->closeReader();
    EXPECT_TRUE(SystemFullScreen::isFullScreen(&window));
    EXPECT_EQ(closes.size(), 1);

    // No key window: the first one in full screen is taken out.
    window.setWindowStates(Qt::WindowNoState);
    reader->appear();
    EXPECT_FALSE(reader->fullscreen());
    reader->enterReadingFullScreen();
    key = nullptr;
    reader->closeReader();
    EXPECT_FALSE(SystemFullScreen::isFullScreen(&window));
    EXPECT_FALSE(reader->enteredSystemFullScreen());

    // Nothing visible: nothing is entered.
    window.hide();
    reader->enterReadingFullScreen();
    EXPECT_FALSE(reader->enteredSystemFullScreen());
    reader->handleEscape();
    reader->handleEscape();  // outside full screen Escape closes
    EXPECT_EQ(closes.size(), 3);
}

TEST_F(QuranReaderTest, DestroyingTheReaderSavesAndLeavesFullScreen) {
    QWindow window;
    window.show();
    reader->setWindows({[&] { return &window; }, [&] { return QList<QWindow*>{&window}; }});
    open();
    place(3, 9);
    reader->enterReadingFullScreen();
    ASSERT_TRUE(SystemFullScreen::isFullScreen(&window));
    reader.reset();
    EXPECT_FALSE(SystemFullScreen::isFullScreen(&window));
    EXPECT_EQ(saved(), std::pair(3, 10));
}
