#include <gtest/gtest.h>

#include "ClockTestSupport.h"
#include "FullDisk.h"
#include "TempHome.h"
#include "clock/AdhanPlayer.h"
#include "services/AdhanAudioCache.h"

#include <sys/mount.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cmath>
#include <cstring>

using clocktest::settle;

namespace {

AdhanPlayer::Call asrCall() {
    AdhanPlayer::Call c;
    c.title = QStringLiteral("Adhan");
    c.text = QStringLiteral("Allahu akbar\nAllahu akbar");
    c.prayerName = QStringLiteral("Asr");
    c.rakatTitle = QStringLiteral("Asr");
    c.rakatLines = {QStringLiteral("4 Sunnah"), QStringLiteral("4 Fard")};
    c.rakatTotal = QStringLiteral("8 total");
    return c;
}

QByteArray resourceBytes(const char* file) {
    QFile f(QStringLiteral(ORVANE_FIXTURES_DIR "/../../resources/sounds/") + QLatin1String(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Root mean square of signed 16-bit samples, on the scale 0...32767.
double rms(const QByteArray& pcm) {
    const qsizetype n = pcm.size() / 2;
    if (n == 0) return 0;
    double sum = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const qint16 s = qint16(quint8(pcm[2 * i]) | (quint8(pcm[2 * i + 1]) << 8));
        sum += double(s) * s;
    }
    return std::sqrt(sum / double(n));
}

// The loudest quarter second of a recording: a chime phrase has quiet moments between its strokes, and a
// loaded machine may put the recording in one of them.
double loudestRms(const QByteArray& pcm) {
    constexpr qsizetype window = 2 * 22050 / 4;  // bytes of 250 ms at 22050 Hz, 16-bit mono
    double loudest = 0;
    for (qsizetype at = 0; at < pcm.size(); at += window / 2)
        loudest = std::max(loudest, rms(pcm.mid(at, window)));
    return loudest;
}

// The sink inputs (playback streams) this process has open on the sound server. Other test programs play on
// the same sink at the same time, so only our own stream is listened to.
QList<int> ourStreams() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(5000)) return {};
    QList<int> found;
    int current = -1;
    const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
    for (const QByteArray& raw : pactl.readAllStandardOutput().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith("Sink Input #")) current = line.mid(12).toInt();
        if (line == "application.process.id = \"" + pid + '"' && current >= 0) found.append(current);
    }
    return found;
}

// Records `ms` of one stream, counted from the first sound that arrives: on a loaded machine the recorder
// can take a second or more to connect. Gives up after 10 s.
QByteArray recordStream(int stream, int ms) {
    QProcess parec;
    parec.start(QStringLiteral("parec"),
                {QStringLiteral("--monitor-stream=") + QString::number(stream),
                 QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                 QStringLiteral("--rate=22050"), QStringLiteral("--latency-msec=50")});
    if (!parec.waitForStarted(3000)) return {};
    QByteArray data;
    QElapsedTimer total, flowing;
    total.start();
    while (total.elapsed() < 10000 && !(flowing.isValid() && flowing.elapsed() >= ms)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        parec.waitForReadyRead(20);
        data += parec.readAllStandardOutput();
        if (!flowing.isValid() && !data.isEmpty()) flowing.start();
    }
    parec.kill();
    parec.waitForFinished(2000);
    return data + parec.readAllStandardOutput();
}

class AdhanPlayerTest : public ::testing::Test {
  protected:
    TempHome home;
    AdhanPlayer player;
};

}  // namespace

TEST_F(AdhanPlayerTest, BuiltInSoundsComeOutOfTheProgramIntact) {
    struct Row {
        const char* name;
        const char* file;
    };
    for (const Row& r : {Row{"adhan_fajr", "adhan_fajr.ogg"}, Row{"adhan_regular", "adhan_regular.ogg"},
                         Row{"emergency_alert", "emergency_alert.wav"}}) {
        const QUrl url = AdhanPlayer::builtInSound(QLatin1String(r.name));
        ASSERT_TRUE(url.isLocalFile()) << r.name;
        QFile f(url.toLocalFile());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), resourceBytes(r.file)) << r.name;
    }
    const QUrl beep = AdhanPlayer::builtInSound(QStringLiteral("beep"));
    ASSERT_TRUE(beep.isLocalFile());
    QFile b(beep.toLocalFile());
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_TRUE(b.read(4) == "RIFF");
    EXPECT_TRUE(AdhanPlayer::builtInSound(QStringLiteral("../etc/passwd")).isEmpty());
}

TEST_F(AdhanPlayerTest, InstalledRecordingNeedsARealFile) {
    EXPECT_TRUE(AdhanPlayer::installedRecording(QStringLiteral("fajr")).isEmpty());
    QDir().mkpath(AdhanAudioCache::folder());
    QFile small(AdhanAudioCache::folder() + QStringLiteral("/fajr.mp3"));
    ASSERT_TRUE(small.open(QIODevice::WriteOnly));
    small.write(QByteArray(1000, 'x'));
    small.close();
    EXPECT_TRUE(AdhanPlayer::installedRecording(QStringLiteral("fajr")).isEmpty())
        << "1000 bytes is too small";
    ASSERT_TRUE(small.open(QIODevice::Append));
    small.write("x");
    small.close();
    EXPECT_EQ(AdhanPlayer::installedRecording(QStringLiteral("fajr")), QUrl::fromLocalFile(small.fileName()));
    EXPECT_TRUE(AdhanPlayer::installedRecording(QStringLiteral("../fajr")).isEmpty());
}

TEST_F(AdhanPlayerTest, NotifyModesDecideWhatAnAutomaticCallDoes) {
    clocktest::Counter changed;
    QObject::connect(&player, &AdhanPlayer::changed, [&changed] { ++changed.n; });
    player.play(asrCall(), QStringLiteral("off"), 0, false);
    player.play(asrCall(), QStringLiteral("silent"), 0, false);
    EXPECT_FALSE(player.ringing());
    EXPECT_EQ(changed.count(), 0);

    player.play(asrCall(), QStringLiteral("beep"), 0, false);
    EXPECT_FALSE(player.ringing()) << "a beep shows no overlay";
    EXPECT_EQ(player.activeKind(), AdhanPlayer::Kind::Beep);

    for (const char* mode : {"adhan", "something-else"}) {
        player.play(asrCall(), QLatin1String(mode), 0, false);
        EXPECT_TRUE(player.ringing()) << mode;
        EXPECT_EQ(player.activeKind(), AdhanPlayer::Kind::Regular);
        EXPECT_EQ(player.activeTitle(), QStringLiteral("Adhan"));
        EXPECT_EQ(player.activePrayerName(), QStringLiteral("Asr"));
        EXPECT_EQ(player.rakatLines(), (QStringList{"4 Sunnah", "4 Fard"}));
        EXPECT_EQ(player.rakatTotal(), QStringLiteral("8 total"));
        EXPECT_EQ(player.source(), AdhanPlayer::builtInSound(QStringLiteral("adhan_regular")));
        player.stop();
    }
    // The user's own request plays even with the call switched off.
    AdhanPlayer::Call fajr = asrCall();
    fajr.isFajr = true;
    player.play(fajr, QStringLiteral("off"), 0, true);
    EXPECT_TRUE(player.ringing());
    EXPECT_EQ(player.activeKind(), AdhanPlayer::Kind::Fajr);
    EXPECT_EQ(player.source(), AdhanPlayer::builtInSound(QStringLiteral("adhan_fajr")));
}

TEST_F(AdhanPlayerTest, StopEndsTheCallAndOldCompletionsDoNothing) {
    player.stop();  // harmless when idle
    EXPECT_FALSE(player.ringing());
    player.play(asrCall(), QStringLiteral("adhan"), 1, false);
    const quint64 generation = player.generation();
    clocktest::Counter changed;
    QObject::connect(&player, &AdhanPlayer::changed, [&changed] { ++changed.n; });
    player.stop();
    EXPECT_GT(player.generation(), generation);
    EXPECT_FALSE(player.ringing());
    EXPECT_EQ(player.activeKind(), AdhanPlayer::Kind::None);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(player.source().isEmpty());
    // The first call's one-second limit must not end a second call.
    player.play(asrCall(), QStringLiteral("adhan"), 0, false);
    settle(1500);
    EXPECT_TRUE(player.ringing());
    player.stop();
}

TEST_F(AdhanPlayerTest, PlayLengthCutsTheCall) {
    player.play(asrCall(), QStringLiteral("adhan"), 1, false);
    EXPECT_TRUE(player.ringing());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.ringing(); }, 4000));
}

TEST_F(AdhanPlayerTest, ABrokenInstalledRecordingFallsBackToTheBuiltInOne) {
    QDir().mkpath(AdhanAudioCache::folder());
    QFile bad(AdhanAudioCache::folder() + QStringLiteral("/regular.mp3"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(4096, '\x5a'));
    bad.close();
    player.play(asrCall(), QStringLiteral("adhan"), 0, false);
    EXPECT_EQ(player.source(), QUrl::fromLocalFile(bad.fileName()));
    const QUrl builtIn = AdhanPlayer::builtInSound(QStringLiteral("adhan_regular"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return player.source() == builtIn; }, AdhanPlayer::loadTimeoutMs + 3000));
    EXPECT_TRUE(player.ringing());
    player.stop();
}

TEST_F(AdhanPlayerTest, EmergencyAlarmRingsUntilStopped) {
    clocktest::Counter changed;
    QObject::connect(&player, &AdhanPlayer::emergencyChanged, [&changed] { ++changed.n; });
    player.stopEmergency();
    EXPECT_EQ(changed.count(), 0);
    player.startEmergency(QStringLiteral("Tsunami Warning"), QStringLiteral("Move to high ground"));
    EXPECT_TRUE(player.emergencyRinging());
    EXPECT_EQ(player.emergencyTitle(), QStringLiteral("Tsunami Warning"));
    EXPECT_EQ(player.emergencyBody(), QStringLiteral("Move to high ground"));
    EXPECT_FALSE(player.ringing()) << "the alarm is not a call to prayer";
    player.stopEmergency();
    player.stopEmergency();
    EXPECT_FALSE(player.emergencyRinging());
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(AdhanPlayerTest, TheCallIsHeardOnTheSinkAndStopSilencesIt) {
    const QString sink = qEnvironmentVariable("ORVANE_TEST_NULL_SINK");
    if (sink.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty())
        GTEST_SKIP() << "no PulseAudio null sink (run under scripts/with-test-services)";
    settle(500);  // streams of earlier tests close
    ASSERT_TRUE(ourStreams().isEmpty());
    clocktest::Counter failed;
    QObject::connect(&player, &AdhanPlayer::playbackFailed, [&failed] { ++failed.n; });
    player.play(asrCall(), QStringLiteral("adhan"), 0, false);
    QList<int> streams;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(streams = ourStreams()).isEmpty(); }, 15000))
        << "no stream opened";
    settle(1000);  // past the recording's opening fade
    // The media backend may replace the stream it opened first once decoding starts: listen to the newest.
    if (const QList<int> now = ourStreams(); !now.isEmpty()) streams = now;
    const double playing = loudestRms(recordStream(streams.last(), 4000));
    EXPECT_TRUE(player.ringing());
    EXPECT_EQ(failed.count(), 0);
    EXPECT_GT(playing, 300.0) << "the call was not heard";
    player.stop();
    settle(300);
    EXPECT_LT(rms(recordStream(streams.last(), 500)), 1.0) << "stop() left sound playing";
    // The player is released when control returns to the main loop; the test has none running.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ourStreams().isEmpty(); }, 10000))
        << "stop() left the stream open";
}

// A player that goes away right after stopping, with no turn of the event loop in between (the last test of
// a program, a quit), takes its sound with it: nothing of it may still hold a stream on the sound server as
// the process exits.
TEST_F(AdhanPlayerTest, AStoppedPlayerThatIsDestroyedLeavesNoStreamOpen) {
    const QString sink = qEnvironmentVariable("ORVANE_TEST_NULL_SINK");
    if (sink.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty())
        GTEST_SKIP() << "no PulseAudio null sink (run under scripts/with-test-services)";
    settle(500);  // streams of earlier tests close
    ASSERT_TRUE(ourStreams().isEmpty());
    {
        AdhanPlayer call;
        call.play(asrCall(), QStringLiteral("adhan"), 0, false);
        ASSERT_TRUE(QTest::qWaitFor([] { return !ourStreams().isEmpty(); }, 15000)) << "no stream opened";
        call.stop();
    }
    // Watched without running the event loop, which would delete what the player left behind.
    QElapsedTimer waited;
    waited.start();
    while (!ourStreams().isEmpty() && waited.elapsed() < 5000) QThread::msleep(100);
    EXPECT_TRUE(ourStreams().isEmpty()) << "a destroyed player left its stream open";
}

// The sound server restarting, or the only device going away, ends the stream of a call while it sounds;
// here the server ends our stream alone, as other tests play on the same sink. The call keeps its overlay
// for its length and goes on from where it was, wherever an output is left. With no output left, every
// stream the call opens again is ended too: the environment cannot take the server away from this process
// alone, as its media backend keeps its own connection to the server.
TEST_F(AdhanPlayerTest, ACallThatLosesItsOutputKeepsItsOverlayForItsLength) {
    if (qEnvironmentVariable("ORVANE_TEST_NULL_SINK").isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pacmd")).isEmpty())
        GTEST_SKIP() << "no PulseAudio null sink (run under scripts/with-test-services)";
    const auto endOurStreams = [] {
        for (const int stream : ourStreams())  // the backend may have replaced its first stream
            QProcess::execute(QStringLiteral("pacmd"),
                              {QStringLiteral("kill-sink-input"), QString::number(stream)});
    };
    for (const bool outputLeft : {true, false}) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(QTest::qWaitFor([] { return ourStreams().isEmpty(); }, 5000)) << "an earlier call sounds";
        QElapsedTimer sinceStart;
        sinceStart.start();
        player.play(asrCall(), QStringLiteral("adhan"), 8, false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !ourStreams().isEmpty(); }, 15000));
        settle(1000);
        endOurStreams();
        QTimer noOutput;
        QObject::connect(&noOutput, &QTimer::timeout, endOurStreams);
        if (!outputLeft) noOutput.start(100);
        const int beforeItsEnd = std::max(0, int(7000 - sinceStart.elapsed()));
        EXPECT_FALSE(QTest::qWaitFor([&] { return !player.ringing(); }, beforeItsEnd))
            << "the overlay went with the sound; output left: " << outputLeft;
        EXPECT_EQ(player.activePrayerName(), QStringLiteral("Asr"));
        EXPECT_EQ(player.rakatLines(), (QStringList{"4 Sunnah", "4 Fard"}));
        if (outputLeft) {
            EXPECT_FALSE(player.source().isEmpty());
            EXPECT_FALSE(ourStreams().isEmpty()) << "the call did not go on";
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !player.ringing(); }, 3000))
            << "it outlived its length; output left: " << outputLeft;
        noOutput.stop();
    }
}

// On a small full tmpfs of its own as the cache, which holds no copy of the built-in call yet (a new
// install, or a cache emptied to make room): the call shows and is heard all the same, and the beep and the
// alarm tone load.
TEST_F(AdhanPlayerTest, ACallOnAFullDiskIsHeardFromTheProgramsOwnRecording) {
    if (qEnvironmentVariable("ORVANE_TEST_NULL_SINK").isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
        GTEST_SKIP() << "no PulseAudio null sink (run under scripts/with-test-services)";
    const QString cache = FullDisk::mountedInChild(FullDisk::Kind::Tmpfs);
    if (cache.isEmpty()) return;
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    FullDisk::fill(cache);
    clocktest::Counter failed;
    QObject::connect(&player, &AdhanPlayer::playbackFailed, [&failed] { ++failed.n; });
    AdhanPlayer::Call fajr = asrCall();
    fajr.isFajr = true;
    fajr.prayerName = QStringLiteral("Fajr");
    player.play(fajr, QStringLiteral("adhan"), 0, false);
    EXPECT_FALSE(QFile::exists(cache + QStringLiteral("/Orvane/Sounds/adhan_fajr.ogg")));
    ASSERT_TRUE(player.ringing()) << "no overlay";
    QList<int> streams;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(streams = ourStreams()).isEmpty(); }, 15000))
        << "no stream opened";
    settle(1000);  // past the recording's opening fade
    if (const QList<int> now = ourStreams(); !now.isEmpty()) streams = now;
    EXPECT_GT(loudestRms(recordStream(streams.last(), 3000)), 300.0) << "the call was not heard";
    EXPECT_TRUE(player.ringing());
    EXPECT_EQ(failed.count(), 0);
    player.stop();
    for (const char* name : {"beep", "emergency_alert"}) {
        QSoundEffect effect;
        effect.setSource(AdhanPlayer::builtInSound(QLatin1String(name)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return effect.status() == QSoundEffect::Ready; }, 5000)) << name;
    }
}
