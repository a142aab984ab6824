#include <gtest/gtest.h>

#include <QTest>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QUrl>

// The built-in sounds as the players will meet them: each decodes with the platform's media backend, the
// calls are distinct in length, the alarm loads as a short effect, and none is heavy.
namespace {

QString soundPath(const char* name) {
    return QStringLiteral(ORVANE_FIXTURES_DIR "/../../resources/sounds/") + QString::fromLatin1(name);
}


}  // namespace

TEST(BuiltInSounds, CallsDecodeWithTheirLengths) {
    struct Row {
        const char* file;
        qint64 minMs, maxMs;
    };
    const Row rows[] = {{"adhan_regular.ogg", 15000, 30000}, {"adhan_fajr.ogg", 30000, 60000}};
    for (const Row& r : rows) {
        const QString path = soundPath(r.file);
        ASSERT_TRUE(QFileInfo::exists(path)) << r.file;
        EXPECT_LE(QFileInfo(path).size(), 300 * 1024) << r.file;
        QMediaPlayer player;
        QAudioOutput quiet;
        quiet.setVolume(0.05f);
        player.setAudioOutput(&quiet);
        player.setSource(QUrl::fromLocalFile(path));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return player.mediaStatus() == QMediaPlayer::LoadedMedia ||
                       player.mediaStatus() == QMediaPlayer::InvalidMedia ||
                       player.error() != QMediaPlayer::NoError;
            },
            10000))
            << r.file;
        ASSERT_EQ(player.mediaStatus(), QMediaPlayer::LoadedMedia)
            << r.file << " " << player.errorString().toStdString();
        // Playing proves the stream decodes, not only that its header reads.
        player.play();
        EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() > 300; }, 5000)) << r.file;
        (void)QTest::qWaitFor([&] { return player.duration() > 0; }, 3000);
        EXPECT_GE(player.duration(), r.minMs) << r.file;
        EXPECT_LE(player.duration(), r.maxMs) << r.file;
        player.stop();
    }
}

TEST(BuiltInSounds, TheAlarmLoadsAsAShortEffect) {
    const QString path = soundPath("emergency_alert.wav");
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_LE(QFileInfo(path).size(), 200 * 1024);
    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(path));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return effect.status() == QSoundEffect::Ready || effect.status() == QSoundEffect::Error; },
        10000));
    EXPECT_EQ(effect.status(), QSoundEffect::Ready);
}
