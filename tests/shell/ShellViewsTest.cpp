#include <gtest/gtest.h>

#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "services/AppSettings.h"
#include "ui/UiModules.h"
#include "ui/shell/LearnAdhanController.h"
#include "ui/shell/LearnAdhanVideo.h"
#include "ui/shell/ShellTexts.h"
#include "ui/shell/UpdatePrompt.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QQuickItem* find(QObject* root, const QString& name) {
    return root->findChild<QQuickItem*>(name);
}

struct ShellViewsFixture : ::testing::Test {
    TempHome home;
    std::unique_ptr<DefaultsStore> store;
    std::unique_ptr<AppSettings> settings;
    QList<QUrl> opened;
    UpdatePrompt prompt;
    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> root;

    void SetUp() override {
        store = std::make_unique<DefaultsStore>(home.path() + u"/defaults.json"_s);
        settings = std::make_unique<AppSettings>(*store);
        LearnAdhanController::setDefaultOpener([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        UiModules::prepare(engine);
        engine.rootContext()->setContextProperty(u"testSettings"_s, settings.get());
        engine.rootContext()->setContextProperty(u"testPrompt"_s, &prompt);
        window.setColor(Qt::black);
    }
    void TearDown() override {
        root.reset();
        LearnAdhanController::setDefaultOpener(nullptr);
    }

    QQuickItem* load(const QByteArray& body, QSize size) {
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport Orvane.Common\nimport Orvane.Shell\n" + body,
                          QUrl(u"qrc:/test/ShellViews.qml"_s));
        QObject* object = component.create();
        if (!object) {
            ADD_FAILURE() << component.errorString().toStdString();
            return nullptr;
        }
        root.reset(qobject_cast<QQuickItem*>(object));
        window.resize(size);
        root->setParentItem(window.contentItem());
        root->setSize(size);
        window.show();
        QTest::qWait(80);
        return root.get();
    }

    QImage grab(const QString& name) {
        QTest::qWait(30);
        QImage image = window.grabWindow();
        const QString dir = QStringLiteral(ORVANE_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        image.save(dir + u"/"_s + name + u".png"_s);
        return image;
    }

    static int countNear(const QImage& image, QColor color, int tolerance = 16) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - color.red()) <= tolerance &&
                    std::abs(c.green() - color.green()) <= tolerance &&
                    std::abs(c.blue() - color.blue()) <= tolerance)
                    ++n;
            }
        return n;
    }
};

}  // namespace

TEST_F(ShellViewsFixture, LearnSheetShowsTheCardsThenOpensTheLink) {
    settings->setShowBlessingsSplash(true);
    QQuickItem* view = load("LearnAdhanView { settings: testSettings; cardMs: 100000 }", {720, 480});
    ASSERT_NE(view, nullptr);
    auto* steps = view->property("steps").value<LearnAdhanController*>();
    ASSERT_NE(steps, nullptr);

    EXPECT_TRUE(find(view, u"splash"_s)->isVisible());
    EXPECT_EQ(find(view, u"cardArabic"_s)->property("text").toString(), u"الحمد لله"_s);
    grab(u"learn_adhan_splash"_s);

    steps->advance();
    steps->advance();
    EXPECT_EQ(find(view, u"cardArabic"_s)->property("text").toString(), u"في سبيل الله"_s);
    EXPECT_TRUE(opened.isEmpty());
    steps->advance();
    QTest::qWait(30);

    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.constFirst(), QUrl(LearnAdhanVideo::builtInURLString()));
    EXPECT_FALSE(find(view, u"splash"_s)->isVisible());
    EXPECT_EQ(find(view, u"headline"_s)->property("text").toString(), u"Opened in your browser"_s);
    EXPECT_FALSE(find(view, u"status"_s)->isVisible());
    grab(u"learn_adhan_opened"_s);
}

TEST_F(ShellViewsFixture, LearnSheetCardsMoveOnByThemselves) {
    settings->setShowBlessingsSplash(true);
    QQuickItem* view = load("LearnAdhanView { settings: testSettings; cardMs: 40 }", {800, 520});
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() == 1; }, 3000));
    EXPECT_FALSE(find(view, u"splash"_s)->isVisible());
}

TEST_F(ShellViewsFixture, LearnSheetShowsAStatusLineForALinkItWillNotOpen) {
    settings->setShowBlessingsSplash(false);
    settings->setLearnAdhanVideoURL(u"javascript:alert('x')"_s);
    QQuickItem* view = load("LearnAdhanView { settings: testSettings }", {720, 480});
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(opened.isEmpty());
    QQuickItem* status = find(view, u"status"_s);
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->property("text").toString(), LearnAdhanController::notWebAddressText());
    EXPECT_EQ(find(view, u"link"_s)->property("text").toString(), u"javascript:alert('x')"_s);
    grab(u"learn_adhan_refused"_s);
}

TEST_F(ShellViewsFixture, BlessingsNoteShowsTheCreditInBothStyles) {
    QQuickItem* column = load(R"(
Column {
    spacing: 20
    padding: 20
    BlessingsNote { objectName: "settingsNote"; width: 440; style: "settings" }
    BlessingsNote { objectName: "creditNote"; width: 440; style: "credit" }
    BlessingsNote { objectName: "narrowNote"; width: 120; style: "credit" }
})",
                              {480, 160});
    ASSERT_NE(column, nullptr);
    const QString expected = ShellTexts::blessingsCredit();
    for (const QString& name : {u"settingsNote"_s, u"creditNote"_s}) {
        QQuickItem* note = find(column, name);
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(note->property("text").toString(), expected);
        EXPECT_EQ(find(note, u"blessingsLine"_s)->property("text").toString(), QChar(0x200E) + expected);
        EXPECT_GT(note->height(), 8);
        EXPECT_LT(note->height(), 30) << "one line";
    }
    auto lineOf = [&](const QString& name) { return find(find(column, name), u"blessingsLine"_s); };
    EXPECT_EQ(lineOf(u"settingsNote"_s)->property("horizontalAlignment").toInt(), int(Qt::AlignLeft));
    EXPECT_EQ(lineOf(u"creditNote"_s)->property("horizontalAlignment").toInt(), int(Qt::AlignHCenter));
    EXPECT_EQ(lineOf(u"narrowNote"_s)->property("lineCount").toInt(), 1);
    EXPECT_TRUE(lineOf(u"narrowNote"_s)->property("truncated").toBool());
    const QImage image = grab(u"blessings_note"_s);
    EXPECT_GT(countNear(image, QColor(232, 186, 74), 40), 5) << "the gold mark of the settings style";
}

TEST_F(ShellViewsFixture, UpdateDialogShowsTheNotesAndAnswersThroughThePrompt) {
    QQuickItem* dialog = load("UpdateDialog { prompt: testPrompt }", {900, 600});
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->isVisible());

    prompt.offer(u"2.4.0"_s, u"<b>Faster</b> start\nQuieter alarms"_s);
    QTest::qWait(50);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(find(dialog, u"releaseNotes"_s)->property("text").toString(),
              u"<b>Faster</b> start\nQuieter alarms"_s);
    grab(u"update_dialog"_s);

    QSignalSpy installs(&prompt, &UpdatePrompt::installRequested);
    QMetaObject::invokeMethod(find(dialog, u"installAndRestart"_s), "clicked");
    EXPECT_EQ(installs.count(), 1);
    QTest::qWait(30);
    EXPECT_FALSE(dialog->isVisible());
}
