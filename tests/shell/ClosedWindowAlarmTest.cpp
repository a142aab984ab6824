#include <gtest/gtest.h>

#include "AtSpiTree.h"
#include "MakkahProfile.h"
#include "OrvaneProcess.h"
#include "TempHome.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/LocalPrayerTimes.h"
#include "platform/DefaultsStore.h"

#include <QDateTime>
#include <QStandardPaths>
#include <QTest>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

// The real program on an X server of its own: its window is closed as a window manager's close button does,
// which releases the whole window, and the clock behind the tray still calls the next prayer at its minute,
// bringing the face back.

namespace {

constexpr double kLat = 21.4225;

struct Place {
    double lon = 0;
    double tzOffsetHours = 0;
    qint64 callMs = 0;  // the start of the prayer's minute, when the alarm fires
};

// A place whose Dhuhr minute begins at `minuteMs` (a whole minute): solar noon moves four minutes a
// degree of longitude, so a few corrections find it. Nothing near the date line, where no such place is.
std::optional<Place> placeWithDhuhrAt(qint64 minuteMs) {
    const LocalPrayerTimes::Calculator calculator(u"MWL"_s, 0, QString());
    // Twenty seconds into the minute, so the clock's own rounding to minutes keeps it there.
    const qint64 targetMs = minuteMs + 20'000;
    Place place;
    for (int step = 0; step < 6; ++step) {
        place.tzOffsetHours = std::round(place.lon / 15.0);
        const QDateTime local =
            QDateTime::fromMSecsSinceEpoch(targetMs, QTimeZone(int(place.tzOffsetHours * 3600)));
        const QDate day = local.date();
        const double dhuhr =
            calculator.times(day.year(), day.month(), day.day(), kLat, place.lon, place.tzOffsetHours).dhuhr;
        const QString shown = LocalBundleBuilder::timeString(dhuhr);
        const QDateTime called(day, QTime::fromString(shown, u"HH:mm"_s), local.timeZone());
        place.callMs = called.toMSecsSinceEpoch();
        if (place.callMs == minuteMs) return place;
        place.lon = std::clamp(place.lon + (dhuhr - local.time().msecsSinceStartOfDay() / 3.6e6) * 15.0,
                               -179.0, 179.0);
    }
    return std::nullopt;
}

bool run(const QProcessEnvironment& env, const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Whether the program has a window of its class on the display, shown or hidden; a released one is gone.
bool hasWindow(const QProcessEnvironment& env) {
    return run(env, u"xdotool"_s, {u"search"_s, u"--class"_s, u"^orvane$"_s});
}

}  // namespace

TEST(ClosedWindowAlarm, TheCallComesAtItsMinuteAfterTheWindowWasReleasedAndBringsTheFaceBack) {
    AccessibleDesktop desktop;
    QString whyNot;
    if (!desktop.start(whyNot)) GTEST_SKIP() << whyNot.toStdString();
    if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty()) GTEST_SKIP() << "needs xdotool";
    // Time enough to start and close the window first, and the whole wait inside the test's time limit.
    const qint64 minuteMs = (QDateTime::currentMSecsSinceEpoch() + 35'000 + 59'999) / 60'000 * 60'000;
    const std::optional<Place> place = placeWithDhuhrAt(minuteMs);
    if (!place) GTEST_SKIP() << "Dhuhr at this minute falls on the date line";

    if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    TempHome home;
    DefaultsStore::resetStandard();
    seedMakkahProfile("TEST-PROCESS");
    DefaultsStore& store = DefaultsStore::standard();
    store.setDouble(profileKey("TEST-PROCESS", "manualLon"), place->lon);
    store.setDouble(profileKey("TEST-PROCESS", "manualTzOffsetHours"), place->tzOffsetHours);
    store.setString(profileKey("TEST-PROCESS", "manualCity"), u"Noon"_s);
    store.sync();
    DefaultsStore::resetStandard();

    DesktopOrvane orvane(desktop.environment(), home.path());
    ASSERT_TRUE(orvane.waitForStarted(5000));
    const QProcessEnvironment env = orvane.processEnvironment();

    AtSpiTree tree(desktop.busAddress());
    const auto faceShown = [&] { return hasNode(tree.readAll(), u"push button"_s, u"Calendar"_s); };
    ASSERT_TRUE(QTest::qWaitFor(faceShown, 30000)) << "no face";

    ASSERT_TRUE(hasWindow(env));
    // As a window manager's close button does. Under a loaded Xvfb with nothing else moving, a close request
    // now and then never becomes a close event in the program (about 1 run in 20; the window saw none for
    // 20 s): a user would press again, and so does the test, a few seconds apart.
    bool released = false;
    for (int press = 0; press < 4 && !released; ++press) {
        ASSERT_TRUE(run(env, u"/usr/bin/python3"_s, {QStringLiteral(ORVANE_CLOSE_WINDOW), u"Orvane"_s}));
        released = QTest::qWaitFor([&] { return !hasWindow(env) && !faceShown(); }, 5000);
        if (!released) std::fprintf(stderr, "the window is still there after close press %d\n", press + 1);
    }
    ASSERT_TRUE(released) << "the closed window was kept";
    ASSERT_LT(QDateTime::currentMSecsSinceEpoch(), place->callMs) << "started too slowly to close in time";

    // Nothing brings the window back before the minute; the call does, with the face behind it.
    while (QDateTime::currentMSecsSinceEpoch() < place->callMs - 1000) {
        ASSERT_FALSE(faceShown()) << "the window came back before the prayer's minute";
        QTest::qWait(1000);
    }
    EXPECT_TRUE(QTest::qWaitFor(faceShown, 15000)) << "no call at the minute";
    EXPECT_EQ(orvane.state(), QProcess::Running);
}
