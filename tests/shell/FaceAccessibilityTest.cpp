#include "AtSpiTree.h"
#include "MakkahProfile.h"
#include "OrvaneProcess.h"
#include "TempHome.h"
#include "WholeApp.h"
#include "platform/DefaultsStore.h"
#include "shell/OrvaneApp.h"
#include "ui/shell/RootController.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QQuickItem>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

// The face as a screen reader on the desktop reads it: the whole application runs in a child process on an
// X server of its own with Qt's AT-SPI bridge on, and this process walks its tree on the accessibility bus,
// as Orca would.

namespace {

// The child is stopped before the desktop it runs on, however the test ends.
struct ChildProcess : QProcess {
    ~ChildProcess() override { stopProcess(*this); }
};

struct FaceAccessibilityChild : WholeApp {};

QString dump(const QList<AtSpiNode>& nodes) {
    QStringList lines;
    for (const AtSpiNode& n : nodes)
        lines << n.role + u": "_s + n.name +
                     (hasState(n, AtSpiState::Focused) ? u" (focused)"_s : QString()) +
                     (hasState(n, AtSpiState::Editable) ? u" (editable)"_s : QString());
    return lines.join(u'\n');
}

// The real program in Makkah on a desktop of its own, offline, with a screen reader listening to every event.
struct ScreenReaderListening : ::testing::Test {
    AccessibleDesktop desktop;
    TempHome home;
    std::unique_ptr<DesktopOrvane> orvane;
    std::unique_ptr<AtSpiTree> tree;
    std::unique_ptr<AtSpiListener> listener;

    void SetUp() override {
        QString whyNot;
        if (!desktop.start(whyNot)) GTEST_SKIP() << whyNot.toStdString();
        if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
        DefaultsStore::resetStandard();
        seedMakkahProfile("TEST-PROCESS");
        DefaultsStore::standard().sync();
        DefaultsStore::resetStandard();
        orvane = std::make_unique<DesktopOrvane>(desktop.environment(), home.path());
        ASSERT_TRUE(orvane->waitForStarted(5000));
        tree = std::make_unique<AtSpiTree>(desktop.busAddress());
        ASSERT_TRUE(QTest::qWaitFor([&] { return tree->applicationCount() > 0; }, 15000));
        listener = std::make_unique<AtSpiListener>(desktop.busAddress());
        ASSERT_TRUE(listener->listen());
    }
};

}  // namespace

// A pick from a pop-up list of each pane, then the settings closed: the clock stays up through each.
TEST_F(ScreenReaderListening, EveryPopUpPickThenClosingTheSettingsKeepsTheClockUp) {
    AtSpiTree& tree = *this->tree;
    // A pane, its pop-up list and the row picked.
    const char* const picks[][3] = {{"General", "Units", "Metric (°C)"},
                                    {"Adhan", "Notification", "Beep"},
                                    {"Alerts", "Alert range", "Country"},
                                    {"Location", "Weather", "Every 1 hour"}};
    for (const auto& [pane, list, row] : picks) {
        SCOPED_TRACE(list);
        ASSERT_TRUE(QTest::qWaitFor([&] { return tree.press(u"push button"_s, u"Settings"_s); }, 30000))
            << dump(tree.readAll()).toStdString();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return tree.press(u"page tab"_s, QString::fromUtf8(pane)); }, 10000));
        // Only the control the keys are on says it has the focus, and a pop-up list's shown choice does not
        // say it can be edited.
        QList<AtSpiNode> nodes;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                nodes = tree.readAll(5000, true);
                return std::count_if(nodes.begin(), nodes.end(), [](const AtSpiNode& n) {
                           return hasState(n, AtSpiState::Focused);
                       }) == 1;
            },
            5000))
            << dump(nodes).toStdString();
        EXPECT_EQ(std::count_if(nodes.begin(), nodes.end(),
                                [](const AtSpiNode& n) {
                                    return n.role == u"text" && !hasState(n, AtSpiState::Enabled) &&
                                           hasState(n, AtSpiState::Editable);
                                }),
                  0)
            << dump(nodes).toStdString();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return tree.press(u"combo box"_s, QString::fromUtf8(list)); }, 10000))
            << dump(tree.readAll()).toStdString();
        // Each control's first action, the one a screen reader uses by default, is what a click does: a
        // choice's or a switch's toggle, any other control's press.
        const QList<std::pair<QString, QString>> controls{
            {u"page tab"_s, QString::fromUtf8(pane)},        {u"combo box"_s, QString::fromUtf8(list)},
            {u"list item"_s, QString::fromUtf8(row)},        {u"push button"_s, u"Done"_s},
            {u"radio button"_s, u"Prayer times: 24-hour"_s}, {u"check box"_s, u"Vibrate"_s}};
        for (const auto& [role, name] : controls) {
            const bool checkable = role == u"radio button"_s || role == u"check box"_s;
            EXPECT_EQ(tree.actions(role, name).value(0), checkable ? u"Toggle"_s : u"Press"_s)
                << role.toStdString();
        }
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return tree.press(u"list item"_s, QString::fromUtf8(row)); }, 10000))
            << dump(tree.readAll()).toStdString();
        QTest::qWait(300);
        ASSERT_TRUE(tree.press(u"push button"_s, u"Done"_s));
        // The sheet's content goes a moment after it closes.
        QTest::qWait(1500);
        ASSERT_EQ(orvane->state(), QProcess::Running);
    }
    EXPECT_FALSE(listener->events().isEmpty());
}

TEST(FaceAccessibility, ScreenReaderReadsEveryActionAndEveryPrayer) {
    AccessibleDesktop desktop;
    QString whyNot;
    if (!desktop.start(whyNot)) GTEST_SKIP() << whyNot.toStdString();
    QTemporaryDir exchange;
    const QString expectedFile = exchange.filePath(QStringLiteral("expected.json"));
    const QString doneFile = exchange.filePath(QStringLiteral("done"));
    ChildProcess child;
    QProcessEnvironment env = desktop.environment();
    env.insert(QStringLiteral("ORVANE_A11Y_EXPECTED"), expectedFile);
    env.insert(QStringLiteral("ORVANE_A11Y_DONE"), doneFile);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=FaceAccessibilityChild.*")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(expectedFile); }, 30000));

    AtSpiTree tree(desktop.busAddress());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree.applicationCount() > 0; }, 10000));
    QFile file(expectedFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject expected = QJsonDocument::fromJson(file.readAll()).object();
    const QList<AtSpiNode> nodes = tree.readAll();
    QFile(doneFile).open(QIODevice::WriteOnly);

    QStringList seen;
    for (const AtSpiNode& n : nodes) seen << n.role + u": "_s + n.name;
    const std::string dump = seen.join(u'\n').toStdString();
    // Kept beside the screenshots, to read what a screen reader is offered.
    QDir().mkpath(QStringLiteral(ORVANE_SCREENSHOT_DIR));
    QFile treeFile(QStringLiteral(ORVANE_SCREENSHOT_DIR "/face-atspi-tree.txt"));
    if (treeFile.open(QIODevice::WriteOnly)) treeFile.write(QByteArray::fromStdString(dump));
    for (const QJsonValue button : expected.value(u"buttons"_s).toArray())
        EXPECT_TRUE(hasNode(nodes, QStringLiteral("push button"), button.toString()))
            << button.toString().toStdString() << "\n"
            << dump;
    for (const QJsonValue text : expected.value(u"texts"_s).toArray())
        EXPECT_TRUE(hasNode(nodes, QString(), text.toString())) << text.toString().toStdString() << "\n"
                                                                << dump;
    // The ticking time is read as it stands.
    const QRegularExpression time(QStringLiteral("^\\d{1,2}:\\d{2}:\\d{2}( \\S+)?$"));
    EXPECT_TRUE(std::any_of(nodes.begin(), nodes.end(), [&](const AtSpiNode& n) {
        return time.match(n.name).hasMatch();
    })) << dump;

    EXPECT_TRUE(child.waitForFinished(20000));
    EXPECT_EQ(child.exitCode(), 0);
}

// The reader opened offline says once that the text service could not be reached, and closing it says
// nothing more.
TEST_F(ScreenReaderListening, TheReadersAlertIsAnnouncedOnceOverItsOpenAndClose) {
    AtSpiTree& tree = *this->tree;
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree.press(u"push button"_s, u"Read Qur’an"_s); }, 30000))
        << dump(tree.readAll()).toStdString();
    QString alert;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (const AtSpiNode& n : tree.readAll())
                if (n.role == u"alert message" && n.name.startsWith(u"Could not reach"_s)) alert = n.name;
            return !alert.isEmpty();
        },
        30000))
        << dump(tree.readAll()).toStdString();
    QTest::qWait(1000);
    EXPECT_EQ(listener->announcements(alert), 1) << "on open";
    ASSERT_TRUE(tree.press(u"push button"_s, u"Done"_s));
    QTest::qWait(1500);
    EXPECT_EQ(listener->announcements(alert), 1) << "after the close";
    EXPECT_EQ(orvane->state(), QProcess::Running);
}

TEST_F(FaceAccessibilityChild, Face) {
    const QString expectedFile = qEnvironmentVariable("ORVANE_A11Y_EXPECTED");
    if (expectedFile.isEmpty())
        GTEST_SKIP() << "runs only as the child of ScreenReaderReadsEveryActionAndEveryPrayer";
    seedMakkah();
    server.routeFixture(u"/v1/forecast"_s, u"openmeteo_forecast_makkah.json"_s);
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));
    QObject* face = app.window()->findChild<QObject*>(QStringLiteral("faceController"));
    ASSERT_NE(face, nullptr);
    QTest::qWait(500);

    const QVariantMap labels = face->property("labels").toMap();
    QJsonArray buttons{QStringLiteral("Settings"),
                       labels.value(u"play_adhan"_s).toString(),
                       face->property("learnButtonTitle").toString(),
                       labels.value(u"read_quran"_s).toString(),
                       labels.value(u"calendar"_s).toString(),
                       labels.value(u"sky_map"_s).toString()};
    QJsonArray texts{face->property("gregorianText").toString(), face->property("hijriText").toString(),
                     face->property("nextPrayerLine").toString()};
    // The current weather's figures, as they are shown beside their symbols.
    const std::function<QQuickItem*(QQuickItem*, QLatin1String)> find = [&](QQuickItem* item,
                                                                            QLatin1String name) {
        if (!item || item->objectName() == name) return item;
        for (QQuickItem* child : item->childItems())
            if (QQuickItem* found = find(child, name)) return found;
        return static_cast<QQuickItem*>(nullptr);
    };
    const auto shown = [](QQuickItem* figure) {
        return figure ? figure->property("text").toString() : u"<not shown>"_s;
    };
    QQuickItem* content = app.window()->contentItem();
    texts.append(shown(find(content, "currentTemperature"_L1)));
    texts.append(u"Wind "_s + shown(find(content, "currentWind"_L1)));
    texts.append(u"Humidity "_s + shown(find(find(content, "currentHumidity"_L1), "humidityFigure"_L1)));
    for (const QVariant& cell : face->property("prayerCells").toList()) {
        const QVariantMap c = cell.toMap();
        texts.append(c.value(u"name"_s).toString() + u' ' + c.value(u"time"_s).toString());
    }
    QFile out(expectedFile + u".part"_s);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(QJsonObject{{u"buttons"_s, buttons}, {u"texts"_s, texts}}).toJson());
    out.close();
    ASSERT_TRUE(out.rename(expectedFile));

    // The parent reads the tree meanwhile; the clock keeps ticking until it is done.
    EXPECT_TRUE(
        QTest::qWaitFor([] { return QFile::exists(qEnvironmentVariable("ORVANE_A11Y_DONE")); }, 60000));
    app.quit();
}
