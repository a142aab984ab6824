#include "clock/AdhanPlayer.h"

#include "platform/OwnFiles.h"
#include "services/AdhanAudioCache.h"

#include <QAudioOutput>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QMediaPlayer>
#include <QSaveFile>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>
#include <cmath>

Q_LOGGING_CATEGORY(lcAdhan, "orvane.adhan")

namespace {

// A short, soft two-partial tone for the "beep" mode, made here so no second file must ship.
QByteArray beepWav() {
    constexpr int rate = 44100;
    constexpr int samples = rate * 35 / 100;
    constexpr int fade = rate / 100;
    QByteArray pcm(samples * 2, Qt::Uninitialized);
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        double envelope = 1.0;
        if (i < fade) envelope = double(i) / fade;
        if (samples - i < fade * 8) envelope = double(samples - i) / (fade * 8);
        const double value =
            envelope * (0.35 * std::sin(2 * M_PI * 880 * t) + 0.12 * std::sin(2 * M_PI * 1760 * t));
        qToLittleEndian<qint16>(qint16(std::lround(value * 32767)), pcm.data() + 2 * i);
    }
    QByteArray wav;
    const auto u32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    const auto u16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    u32(36 + quint32(pcm.size()));
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(quint32(pcm.size()));
    wav.append(pcm);
    return wav;
}

QString soundsFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty()) base = QDir::tempPath();
    return base + QStringLiteral("/Orvane/Sounds");
}

// Lets go of an audio object that may be inside one of its own signals: deleted once control returns to the
// event loop, and with its player at the latest. Left to the loop alone, one released just before a quit or
// the player's end would outlive both, its stream still open on the sound server as the process exits.
template <typename T>
void dispose(std::unique_ptr<T>& object, QObject* player) {
    if (!object) return;
    object->setParent(player);
    object.release()->deleteLater();
}

}  // namespace

AdhanPlayer& AdhanPlayer::shared() {
    static AdhanPlayer* player = new AdhanPlayer;
    return *player;
}

AdhanPlayer::AdhanPlayer(QObject* parent) : QObject(parent) {}

AdhanPlayer::~AdhanPlayer() {
    releasePlayer();
    if (alarm_) alarm_->stop();
}

QUrl AdhanPlayer::builtInSound(const QString& name) {
    QByteArray bytes;
    QString fileName;
    QString resource;
    if (name == QLatin1String("beep")) {
        bytes = beepWav();
        fileName = QStringLiteral("beep.wav");
    } else {
        static const char* const known[][2] = {{"adhan_fajr", "adhan_fajr.ogg"},
                                               {"adhan_regular", "adhan_regular.ogg"},
                                               {"emergency_alert", "emergency_alert.wav"}};
        for (const auto& entry : known)
            if (name == QLatin1String(entry[0])) fileName = QString::fromLatin1(entry[1]);
        if (fileName.isEmpty()) return {};
        resource = QStringLiteral(":/orvane/sounds/") + fileName;
        QFile file(resource);
        if (!file.open(QIODevice::ReadOnly)) return {};
        bytes = file.readAll();
    }
    // The media backend reads local files most reliably, so the resource is copied out once and kept.
    const QString path = soundsFolder() + QLatin1Char('/') + fileName;
    QFile existing(path);
    if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return QUrl::fromLocalFile(path);
    existing.close();
    QString failure;
    if (!OwnFiles::makeFolder(soundsFolder())) {
        failure = QStringLiteral("its folder could not be made");
    } else {
        QSaveFile out(path);
        if (out.open(QIODevice::WriteOnly) && OwnFiles::setMode(out) && out.write(bytes) == bytes.size() &&
            OwnFiles::commit(out))
            return QUrl::fromLocalFile(path);
        failure = out.errorString();
    }
    // A full disk (or a cache folder that cannot be written) must not silence a call: the backends also
    // stream the program's own copy, and the sound effect of the beep reads it from memory.
    qCWarning(lcAdhan).noquote() << "the built-in" << fileName << "could not be copied to" << path + ":"
                                 << failure + (resource.isEmpty() ? "; it plays from memory"
                                                                  : "; the program's own copy plays");
    if (resource.isEmpty()) return QUrl(QStringLiteral("data:audio/wav;base64,") + bytes.toBase64());
    return QUrl(QStringLiteral("qrc") + resource);
}

QUrl AdhanPlayer::installedRecording(const QString& kind) {
    if (!AdhanAudioCache::hasCustom(kind)) return {};
    return QUrl::fromLocalFile(AdhanAudioCache::customPath(kind));
}

void AdhanPlayer::play(const Call& call, const QString& notifyMode, int lengthSeconds, bool manual) {
    const bool silent = notifyMode == QLatin1String("silent") || notifyMode == QLatin1String("off");
    if (!manual && silent) return;
    stop();
    const quint64 generation = generation_;
    if (!manual && notifyMode == QLatin1String("beep")) {
        kind_ = Kind::Beep;
        beep_ = std::make_unique<QSoundEffect>();
        beep_->setSource(builtInSound(QStringLiteral("beep")));
        connect(beep_.get(), &QSoundEffect::playingChanged, this, [this, generation] {
            if (generation == generation_ && beep_ && !beep_->isPlaying() && kind_ == Kind::Beep)
                kind_ = Kind::None;
        });
        beep_->play();
        return;
    }
    call_ = call;
    kind_ = call.isFajr ? Kind::Fajr : Kind::Regular;
    ringing_ = true;
    lengthSeconds_ = lengthSeconds;
    emit changed();
    if (lengthSeconds > 0) endCallWithin(lengthSeconds * 1000, generation);
    QUrl url = installedRecording(call.isFajr ? QStringLiteral("fajr") : QStringLiteral("regular"));
    if (url.isEmpty())
        url = builtInSound(call.isFajr ? QStringLiteral("adhan_fajr") : QStringLiteral("adhan_regular"));
    if (url.isEmpty()) {
        fallBackOrFinish(generation, QStringLiteral("no recording available"));
        return;
    }
    startRecording(url, generation);
}

void AdhanPlayer::startRecording(QUrl url, quint64 generation, qint64 fromMs) {
    releasePlayer();
    source_ = std::move(url);
    startedAtMs_ = fromMs;
    reachedMs_ = fromMs;
    output_ = std::make_unique<QAudioOutput>();
    player_ = std::make_unique<QMediaPlayer>();
    // The output must be in place before the source, or Qt 6.4's GStreamer pipeline stalls.
    player_->setAudioOutput(output_.get());
    connect(
        player_.get(), &QMediaPlayer::errorOccurred, this,
        [this, generation](QMediaPlayer::Error, const QString& text) { fallBackOrFinish(generation, text); });
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, this,
            [this, generation](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::InvalidMedia)
                    fallBackOrFinish(generation, QStringLiteral("invalid media"));
                else if (status == QMediaPlayer::EndOfMedia)
                    finish(generation);
            });
    // A position set before the recording can seek is lost: a call going on after losing its output would
    // start again from the beginning.
    connect(player_.get(), &QMediaPlayer::seekableChanged, this, [this, generation](bool seekable) {
        if (generation == generation_ && seekable && startedAtMs_ > 0) player_->setPosition(startedAtMs_);
    });
    connect(player_.get(), &QMediaPlayer::positionChanged, this, [this, generation](qint64 position) {
        if (generation != generation_ || position <= startedAtMs_) return;
        reachedMs_ = position;
        if (loadGuard_) loadGuard_->stop();
    });
    loadGuard_ = std::make_unique<QTimer>();
    loadGuard_->setSingleShot(true);
    connect(loadGuard_.get(), &QTimer::timeout, this,
            [this, generation] { fallBackOrFinish(generation, QStringLiteral("playback did not start")); });
    loadGuard_->start(loadTimeoutMs);
    player_->setSource(source_);
    player_->play();
}

void AdhanPlayer::fallBackOrFinish(quint64 generation, const QString& reason) {
    if (generation != generation_ || !ringing_) return;
    const qint64 restMs = player_ ? player_->duration() - reachedMs_ : 0;
    if (reachedMs_ > startedAtMs_ && restMs > 0) {
        // The call was sounding and its output went away under it (the sound server restarted, the only
        // device left). Like a call that never had an output, it keeps its overlay for the recording's
        // length; the rest plays on from here wherever there is an output now.
        qCWarning(lcAdhan).noquote() << call_.prayerName << "call lost its sound after" << reachedMs_
                                     << "ms (" + reason + "); it goes on for the rest of its length";
        endCallWithin(restMs, generation);
        startRecording(source_, generation, reachedMs_);
        return;
    }
    if (startedAtMs_ > 0) {
        // No output to go on with: the rest of the call is silent, and ends when its length is up.
        releasePlayer();
        return;
    }
    const bool isFajr = kind_ == Kind::Fajr;
    const QUrl builtIn =
        builtInSound(isFajr ? QStringLiteral("adhan_fajr") : QStringLiteral("adhan_regular"));
    if (!builtIn.isEmpty() && source_ != builtIn) {
        // A broken installed recording must not leave the prayer time silent.
        startRecording(builtIn, generation);
        return;
    }
    qCWarning(lcAdhan).noquote() << call_.prayerName << "call could not be played:" << reason;
    stop();
    emit playbackFailed(reason);
}

void AdhanPlayer::endCallWithin(qint64 ms, quint64 generation) {
    if (autoStop_ && autoStop_->isActive() && autoStop_->remainingTime() <= ms) return;
    autoStop_ = std::make_unique<QTimer>();
    autoStop_->setSingleShot(true);
    connect(autoStop_.get(), &QTimer::timeout, this, [this, generation] {
        if (generation == generation_) stop();
    });
    autoStop_->start(std::chrono::milliseconds(ms));
}

void AdhanPlayer::finish(quint64 generation) {
    if (generation == generation_) stop();
}

void AdhanPlayer::releasePlayer() {
    if (loadGuard_) loadGuard_->stop();
    if (player_) {
        player_->disconnect(this);
        player_->stop();
    }
    dispose(player_, this);
    dispose(output_, this);
    source_.clear();
    startedAtMs_ = 0;
    reachedMs_ = 0;
}

void AdhanPlayer::stop() {
    ++generation_;
    if (autoStop_) autoStop_->stop();
    releasePlayer();
    if (beep_) {
        beep_->disconnect(this);
        beep_->stop();
    }
    dispose(beep_, this);
    const bool wasRinging = ringing_;
    ringing_ = false;
    kind_ = Kind::None;
    if (wasRinging) emit changed();
}

void AdhanPlayer::startEmergency(const QString& title, const QString& body) {
    stopEmergency();
    emergencyTitle_ = title;
    emergencyBody_ = body;
    emergencyRinging_ = true;
    alarm_ = std::make_unique<QSoundEffect>();
    alarm_->setLoopCount(QSoundEffect::Infinite);
    alarm_->setSource(builtInSound(QStringLiteral("emergency_alert")));
    alarm_->play();
    alarmTimeout_ = std::make_unique<QTimer>();
    alarmTimeout_->setSingleShot(true);
    connect(alarmTimeout_.get(), &QTimer::timeout, this, &AdhanPlayer::stopEmergency);
    alarmTimeout_->start(emergencyLoopSeconds * 1000);
    emit emergencyChanged();
}

void AdhanPlayer::stopEmergency() {
    if (alarmTimeout_) {
        alarmTimeout_->stop();
        alarmTimeout_->disconnect(this);
    }
    dispose(alarmTimeout_, this);
    if (alarm_) alarm_->stop();
    dispose(alarm_, this);
    if (!emergencyRinging_) return;
    emergencyRinging_ = false;
    emit emergencyChanged();
}
