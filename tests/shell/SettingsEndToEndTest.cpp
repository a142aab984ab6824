#include <gtest/gtest.h>

#include "OrvaneProcess.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// A new user's first run of the real `orvane`, driven from the keyboard on an X server of its own, offline
// and with no device location: accept the notice, open the settings from the error screen, type a city,
// choose the first suggestion, press Done; the clock then shows that city's prayer times, and still does
// after a restart.

namespace {

const QString kDevice = u"TEST-PROCESS"_s;

struct DesktopRun {
    QProcess display;
    QProcess app;
    QString displayName;
    ~DesktopRun() {
        stopProcess(app);
        stopProcess(display);
    }

    bool startDisplay() {
        display.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s,
                                  u"1400x1000x24"_s});
        if (!display.waitForStarted(5000)) return false;
        if (!QTest::qWaitFor([&] { return display.canReadLine(); }, 10000)) return false;
        displayName = u":"_s + QString::fromLatin1(display.readLine()).trimmed();
        return displayName.size() > 1;
    }

    void startApp(const QString& runtimeDir) {
        QProcessEnvironment env = orvaneEnvironment(runtimeDir);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.insert(u"DISPLAY"_s, displayName);
        app.setProcessEnvironment(env);
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        app.start(QStringLiteral(ORVANE_EXECUTABLE), {});
    }

    // xdotool against this display; true when it succeeded.
    bool xdo(const QStringList& arguments, QString* output = nullptr) {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_s, displayName);
        tool.setProcessEnvironment(env);
        tool.start(u"xdotool"_s, arguments);
        if (!tool.waitForFinished(15000) || tool.exitCode() != 0) return false;
        if (output) *output = QString::fromLatin1(tool.readAllStandardOutput()).trimmed();
        return true;
    }

    // Waits for the clock's window and gives it the keyboard.
    bool focusWindow() {
        QString id;
        if (!QTest::qWaitFor(
                [&] {
                    return xdo({u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^Orvane$"_s}, &id) &&
                           !id.isEmpty();
                },
                20000))
            return false;
        id = id.section(u'\n', 0, 0);
        return xdo({u"windowfocus"_s, u"--sync"_s, id}) &&
               xdo({u"mousemove"_s, u"--window"_s, id, u"5"_s, u"5"_s});
    }

    bool keys(const QStringList& names, int pauseMs = 250) {
        for (const QString& key : names) {
            if (!xdo({u"key"_s, key})) return false;
            QTest::qWait(pauseMs);
        }
        return true;
    }
};

// The settings and the cached bundle, as a later process reads them from disk.
struct Stored {
    QString city;
    double tzOffsetHours = 0;
    QJsonObject bundle;
};

Stored readStore(const TempHome& home) {
    DefaultsStore store(home.configHome() + u"/Orvane/defaults.sqlite3"_s);
    const auto key = [](const char* name) { return u"profile."_s + kDevice + u'.' + QLatin1String(name); };
    Stored s;
    s.city = store.string(key("manualCity")).value_or(QString());
    s.tzOffsetHours = store.doubleValue(key("manualTzOffsetHours"));
    s.bundle =
        QJsonDocument::fromJson(store.data(u"cachedBundle."_s + kDevice).value_or(QByteArray())).object();
    return s;
}

void expectMakkahPrayers(const QJsonObject& bundle) {
    const QJsonObject location = bundle.value(u"location"_s).toObject();
    EXPECT_NEAR(location.value(u"lat"_s).toDouble(), 21.42, 0.05);
    EXPECT_NEAR(location.value(u"lon"_s).toDouble(), 39.83, 0.05);
    EXPECT_DOUBLE_EQ(location.value(u"tz_offset_hours"_s).toDouble(), 3.0);
    const QJsonObject prayers = bundle.value(u"prayers"_s).toObject();
    const QRegularExpression hhmm(u"^\\d\\d:\\d\\d$"_s);
    for (const char* prayer : {"fajr", "sunrise", "dhuhr", "asr", "maghrib", "isha"})
        EXPECT_TRUE(hhmm.match(prayers.value(QLatin1String(prayer)).toString()).hasMatch()) << prayer;
    // Dhuhr in Makkah (UTC+3, longitude 39.8) falls a little after noon all year.
    EXPECT_TRUE(prayers.value(u"dhuhr"_s).toString().startsWith(u"12:"_s));
}

}  // namespace

TEST(SettingsEndToEnd, ANewUserGivesTheClockItsCityFromTheSettingsWindow) {
    if (QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty() ||
        QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
        GTEST_SKIP() << "needs Xvfb and xdotool";
    TempHome home;
    const QString runtime = home.path() + u"/run"_s;
    DesktopRun run;
    ASSERT_TRUE(run.startDisplay());
    run.startApp(runtime);
    ASSERT_TRUE(run.focusWindow());
    QTest::qWait(4000);  // the start-up finds no place meanwhile

    // Accept the notice; then close the settings window the start-up opened, so the error screen shows,
    // and open it again from there.
    ASSERT_TRUE(run.keys({u"Return"_s}, 1500));
    ASSERT_TRUE(run.keys({u"Escape"_s}, 800));
    ASSERT_TRUE(run.keys({u"Return"_s}, 1000));
    // Done, six pane tabs, then the fixed-place switch: on. Then the search field.
    ASSERT_TRUE(run.keys(
        {u"Tab"_s, u"Tab"_s, u"Tab"_s, u"Tab"_s, u"Tab"_s, u"Tab"_s, u"Tab"_s, u"space"_s, u"Tab"_s}));
    ASSERT_TRUE(run.xdo({u"type"_s, u"--delay"_s, u"120"_s, u"Makkah"_s}));
    QTest::qWait(2000);
    // The first suggestion, chosen; then Done.
    ASSERT_TRUE(run.keys({u"Tab"_s, u"Return"_s}, 2500));
    ASSERT_TRUE(run.keys({u"Escape"_s}));

    Stored first;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            first = readStore(home);
            return !first.bundle.isEmpty();
        },
        20000))
        << "no clock was built; the city stored is \"" << first.city.toStdString() << "\"";
    EXPECT_TRUE(first.city.startsWith(u"Makkah"_s)) << first.city.toStdString();
    EXPECT_DOUBLE_EQ(first.tzOffsetHours, 3.0);
    expectMakkahPrayers(first.bundle);

    // A restart builds the clock for the same place again.
    stopProcess(run.app);
    QTest::qWait(500);
    run.startApp(runtime);
    Stored second;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            second = readStore(home);
            return second.bundle.value(u"generated_at"_s) != first.bundle.value(u"generated_at"_s);
        },
        20000));
    EXPECT_EQ(second.city, first.city);
    expectMakkahPrayers(second.bundle);
}
