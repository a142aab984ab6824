#include <gtest/gtest.h>

#include "QuranFixture.h"
#include "WholeApp.h"
#include "services/AppSettings.h"
#include "services/QuranLibrary.h"
#include "shell/OrvaneApp.h"
#include "ui/shell/RootController.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The whole application on a fixed place; the Quran text comes from a server of its own that starts out
// unreachable.
struct QuranReaderApp : WholeApp {
    FixtureServer textHost;

    void SetUp() override {
        WholeApp::SetUp();
        Endpoints endpoints = Endpoints::allAt(server.origin());
        endpoints.quran = textHost.origin();
        Endpoints::setCurrent(endpoints);
        textHost.setOffline(true);
        seedMakkah();
        DefaultsStore& store = DefaultsStore::standard();
        store.setInteger(scoped("quranResumeSurah"), 36);
        store.setInteger(scoped("quranResumeAyah"), 58);
        store.setString(scoped("quranTextSize"), u"normal"_s);
    }

    static QQuickItem* visibleItem(QQuickWindow* window, const QString& name) {
        QQuickItem* item = nullptr;
        (void)QTest::qWaitFor(
            [&] {
                item = window->findChild<QQuickItem*>(name);
                return item && item->isVisible();
            },
            8000);
        return item && item->isVisible() ? item : nullptr;
    }
};

}  // namespace

TEST_F(QuranReaderApp, TheCapsuleOpensTheReaderWhichWaitsForTheTextHostThenResumes) {
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));
    QObject* face = app.window()->findChild<QObject*>(u"faceController"_s);
    ASSERT_NE(face, nullptr);
    face->setProperty("showQuran", true);

    // The text host cannot be reached: the error and "Try again", never a blank page.
    QQuickItem* error = visibleItem(app.window(), u"errorText"_s);
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(error->property("text").toString().startsWith(u"Could not reach the Quran text service"_s));
    QQuickItem* tryAgain = visibleItem(app.window(), u"tryAgainButton"_s);
    ASSERT_NE(tryAgain, nullptr);
    QTest::qWait(200);
    grab(app.window(), "quran-unreachable.png");

    textHost.setOffline(false);
    QuranFixture::serveAll(textHost);
    QMetaObject::invokeMethod(tryAgain, "clicked");
    QQuickItem* arabic = visibleItem(app.window(), u"arabicText"_s);
    ASSERT_NE(arabic, nullptr);
    // The saved place is restored after the late success: surah 36, ayah 58.
    QQuickItem* position = visibleItem(app.window(), u"positionLine"_s);
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->property("text").toString(), u"Para 23 · Ayah 58 of 83"_s);
    QTest::qWait(300);
    grab(app.window(), "quran-reader-app.png");

    // The right arrow moves one ayah and the place is saved.
    QTest::keyClick(app.window(), Qt::Key_Right);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return app.root()->settingsObject()->quranResumeAyah() == 59; }, 10000));
    EXPECT_EQ(position->property("text").toString(), u"Para 23 · Ayah 59 of 83"_s);

    // Escape outside full screen closes the reader.
    QTest::keyClick(app.window(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !face->property("showQuran").toBool(); }, 2000));
    EXPECT_EQ(DefaultsStore::standard().integer(scoped("quranResumeAyah")), 59);
    EXPECT_TRUE(QFile::exists(QuranLibrary::filePath(u"ur.jalandhry"_s)));
    app.quit();
}
