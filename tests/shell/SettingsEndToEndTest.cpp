#include <gtest/gtest.h>

#include "AtSpiTree.h"
#include "OrvaneProcess.h"
#include "TempHome.h"
#include "ui/shell/RootController.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>

using namespace Qt::Literals::StringLiterals;

// A new user's first run of the real `orvane`, offline and with no device location, on an X server of its
// own: accept the notice, open the settings from the error screen, turn on the fixed place, type a city,
// choose the first suggestion, press Done, all from the keyboard. The clock then shows that city's prayer
// times, and still does after a restart; what it shows is read as a screen reader reads it.

namespace {

const QString kDevice = u"TEST-PROCESS"_s;

struct Child : QProcess {
    ~Child() override { stopProcess(*this); }
};

const AtSpiNode* find(const QList<AtSpiNode>& nodes, const QString& role,
                      const std::function<bool(const QString&)>& name) {
    const auto it = std::find_if(nodes.begin(), nodes.end(),
                                 [&](const AtSpiNode& n) { return n.role == role && name(n.name); });
    return it == nodes.end() ? nullptr : &*it;
}
std::string dump(const QList<AtSpiNode>& nodes) {
    QStringList lines;
    for (const AtSpiNode& n : nodes) lines << n.role + u": "_s + n.name;
    return lines.join(u'\n').toStdString();
}

struct Stored {
    QString city;
    double tzOffsetHours = 0;
    QJsonObject bundle;
};

// The settings and the cached bundle as they stand on disk, read without ever writing: the clock keeps
// its store open meanwhile.
Stored readStore(const TempHome& home) {
    Stored s;
    const QString connection = u"e2e-reader"_s;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
        db.setDatabaseName(home.configHome() + u"/Orvane/defaults.sqlite3"_s);
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"_s);
        if (db.open()) {
            QSqlQuery q(db);
            const auto value = [&q](const QString& key) {
                q.prepare(u"SELECT value FROM defaults WHERE key = ?"_s);
                q.addBindValue(key);
                return q.exec() && q.next() ? q.value(0).toByteArray() : QByteArray();
            };
            const QString profile = u"profile."_s + kDevice + u'.';
            s.city = QString::fromUtf8(value(profile + u"manualCity"_s));
            s.tzOffsetHours = value(profile + u"manualTzOffsetHours"_s).toDouble();
            s.bundle = QJsonDocument::fromJson(value(u"cachedBundle."_s + kDevice)).object();
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return s;
}

// The clock bundle of Makkah: its place, offset and prayer times.
void expectMakkahBundle(const QJsonObject& bundle) {
    const QJsonObject location = bundle.value(u"location"_s).toObject();
    EXPECT_NEAR(location.value(u"lat"_s).toDouble(), 21.42, 0.05);
    EXPECT_NEAR(location.value(u"lon"_s).toDouble(), 39.83, 0.05);
    EXPECT_DOUBLE_EQ(location.value(u"tz_offset_hours"_s).toDouble(), 3.0);
    const QJsonObject prayers = bundle.value(u"prayers"_s).toObject();
    // Dhuhr in Makkah (UTC+3, longitude 39.8) falls a little after noon all year.
    EXPECT_TRUE(prayers.value(u"dhuhr"_s).toString().startsWith(u"12:"_s));
}

// What the face reads out for Makkah: the place and the five prayers at their times, and no error.
void expectMakkahFace(const QList<AtSpiNode>& nodes) {
    EXPECT_TRUE(find(nodes, u"label"_s, [](const QString& n) { return n.startsWith(u"MAKKAH"_s); }))
        << dump(nodes);
    for (const char* prayer : {"Fajr", "Dhuhr", "Asr", "Maghrib", "Isha"}) {
        const QString start = QLatin1String(prayer) + u' ';
        EXPECT_TRUE(find(nodes, u"label"_s, [&](const QString& n) {
            return n.startsWith(start) && QRegularExpression(u"\\d{1,2}:\\d\\d"_s).match(n).hasMatch();
        })) << prayer;
    }
    EXPECT_FALSE(hasNode(nodes, u"label"_s, RootController::noLocationText()));
}

}  // namespace

TEST(SettingsEndToEnd, ANewUserGivesTheClockItsCityFromTheSettingsWindow) {
    AccessibleDesktop desktop;
    QString whyNot;
    if (!desktop.start(whyNot)) GTEST_SKIP() << whyNot.toStdString();
    if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty()) GTEST_SKIP() << "needs xdotool";
    if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    TempHome home;
    const QString runtime = home.path() + u"/runtime"_s;
    QProcessEnvironment env = desktop.environment();
    env.insert(u"XDG_RUNTIME_DIR"_s, orvaneEnvironment(runtime).value(u"XDG_RUNTIME_DIR"_s));
    env.insert(u"ORVANE_DEVICE_ID"_s, kDevice);

    auto orvane = std::make_unique<Child>();
    orvane->setProcessEnvironment(env);
    orvane->setProcessChannelMode(QProcess::ForwardedChannels);
    startOffline(*orvane, {});
    ASSERT_TRUE(orvane->waitForStarted(5000));
    AtSpiTree tree(desktop.busAddress());
    QList<AtSpiNode> nodes;
    const auto waitFor = [&](const std::function<bool()>& done, int ms = 20000) {
        return QTest::qWaitFor(
            [&] {
                nodes = tree.readAll();
                return done();
            },
            ms);
    };

    ASSERT_TRUE(
        QTest::qWaitFor([&] { return tree.press(u"push button"_s, u"Accept and continue"_s); }, 30000));
    // With no place anywhere the start-up says so and opens the settings, whose "Done" takes the keyboard.
    ASSERT_TRUE(waitFor([&] { return hasNode(nodes, u"label"_s, RootController::noLocationText()); }))
        << dump(nodes);
    QTest::qWait(500);

    // From here on the keyboard: Escape closes the settings (as "Done"), the error screen's "Open Settings"
    // has the keyboard and Return opens them again; after "Done" and the row of pane tabs (one stop) comes
    // the fixed-place switch, then the search field.
    const auto keys = [&](const QString& script) {
        QProcess xdotool;
        xdotool.setProcessEnvironment(env);
        xdotool.start(u"sh"_s, {u"-c"_s,
                                u"xdotool windowfocus --sync $(xdotool search --onlyvisible --name "
                                u"'^Orvane$' | head -n 1) && "_s +
                                    script});
        return xdotool.waitForFinished(30000) && xdotool.exitCode() == 0;
    };
    ASSERT_TRUE(
        keys(u"xdotool key Escape sleep 0.8 key Return sleep 1 key Tab sleep 0.2 key Tab sleep 0.2 "
             u"key space sleep 0.3 key Tab sleep 0.3 type --delay 80 Makkah"_s));
    QTest::qWait(1500);  // the search waits for a pause in the typing
    ASSERT_TRUE(keys(u"xdotool key Tab sleep 0.3 key Return"_s));
    Stored chosen;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            chosen = readStore(home);
            return chosen.city.startsWith(u"Makkah"_s);
        },
        15000))
        << "stored city: " << chosen.city.toStdString();
    ASSERT_TRUE(keys(u"xdotool key Escape"_s));  // "Done"
    // The clock is rebuilt for the place and the bundle it shows is kept on disk.
    Stored first;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            first = readStore(home);
            return first.bundle.value(u"location"_s).toObject().value(u"tz_offset_hours"_s).toDouble() == 3.0;
        },
        20000));
    EXPECT_TRUE(first.city.startsWith(u"Makkah"_s)) << first.city.toStdString();
    EXPECT_DOUBLE_EQ(first.tzOffsetHours, 3.0);
    expectMakkahBundle(first.bundle);

    // After a restart the clock shows the same place, with no question asked.
    orvane.reset(new Child);
    QTest::qWait(500);
    orvane->setProcessEnvironment(env);
    orvane->setProcessChannelMode(QProcess::ForwardedChannels);
    startOffline(*orvane, {});
    ASSERT_TRUE(orvane->waitForStarted(5000));
    AtSpiTree restarted(desktop.busAddress());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            nodes = restarted.readAll();
            return find(nodes, u"label"_s, [](const QString& n) { return n.startsWith(u"Fajr "_s); });
        },
        30000))
        << dump(nodes) << "\nrunning: " << (orvane->state() == QProcess::Running);
    const Stored second = readStore(home);
    EXPECT_EQ(second.city, first.city);
    expectMakkahBundle(second.bundle);
    expectMakkahFace(nodes);
    EXPECT_FALSE(hasNode(nodes, u"dialog"_s, u"Settings"_s));
}
