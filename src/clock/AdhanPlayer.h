#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

class QAudioOutput;
class QMediaPlayer;
class QSoundEffect;
class QTimer;

// The one call-to-prayer player: what is playing (the overlay and the alerts panel draw from its
// properties), the sound itself, and the emergency alarm. Plays the user's installed recording of the dawn
// or regular call, else the built-in one; stops by itself at the end of the recording or the chosen length,
// also when the sound is lost on the way.
class AdhanPlayer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool ringing READ ringing NOTIFY changed)
    Q_PROPERTY(QString activeTitle READ activeTitle NOTIFY changed)
    Q_PROPERTY(QString activeText READ activeText NOTIFY changed)
    Q_PROPERTY(QString activePrayerName READ activePrayerName NOTIFY changed)
    Q_PROPERTY(QString rakatTitle READ rakatTitle NOTIFY changed)
    Q_PROPERTY(QStringList rakatLines READ rakatLines NOTIFY changed)
    Q_PROPERTY(QString rakatTotal READ rakatTotal NOTIFY changed)
    Q_PROPERTY(bool emergencyRinging READ emergencyRinging NOTIFY emergencyChanged)
    Q_PROPERTY(QString emergencyTitle READ emergencyTitle NOTIFY emergencyChanged)
    Q_PROPERTY(QString emergencyBody READ emergencyBody NOTIFY emergencyChanged)

  public:
    enum class Kind { None, Fajr, Regular, Beep };

    // One call as the overlay shows it.
    struct Call {
        bool isFajr = false;
        QString title;
        QString text;
        QString prayerName;
        QString rakatTitle;
        QStringList rakatLines;
        QString rakatTotal;
    };

    static AdhanPlayer& shared();
    explicit AdhanPlayer(QObject* parent = nullptr);
    ~AdhanPlayer() override;

    // Starts `call` as `notifyMode` says: "adhan" (and any unknown value) plays the recording, "beep" a short
    // tone, "silent" and "off" nothing. `manual` (the user asked) always plays the recording. `lengthSeconds`
    // above 0 cuts the recording there. A call already playing is replaced.
    void play(const Call& call, const QString& notifyMode, int lengthSeconds, bool manual);
    Q_INVOKABLE void stop();

    // Rings the alarm tone in a loop for a bounded time while showing the alert.
    void startEmergency(const QString& title, const QString& body);
    Q_INVOKABLE void stopEmergency();

    bool ringing() const { return ringing_; }
    const QString& activeTitle() const { return call_.title; }
    const QString& activeText() const { return call_.text; }
    const QString& activePrayerName() const { return call_.prayerName; }
    const QString& rakatTitle() const { return call_.rakatTitle; }
    const QStringList& rakatLines() const { return call_.rakatLines; }
    const QString& rakatTotal() const { return call_.rakatTotal; }
    Kind activeKind() const { return kind_; }
    bool emergencyRinging() const { return emergencyRinging_; }
    const QString& emergencyTitle() const { return emergencyTitle_; }
    const QString& emergencyBody() const { return emergencyBody_; }
    quint64 generation() const { return generation_; }
    // The recording now playing (the installed one or the built-in one); empty when silent.
    const QUrl& source() const { return source_; }

    // The built-in sounds, copied out of the program's resources on first use ("adhan_fajr",
    // "adhan_regular", "emergency_alert", "beep"). Where the copy cannot be made, the resource itself
    // ("qrc:"), which the media backends read as a stream, and the beep, made here, as a "data:" URL.
    static QUrl builtInSound(const QString& name);
    // The installed recording of "fajr" or "regular" when there is a usable one.
    static QUrl installedRecording(const QString& kind);

    static constexpr int emergencyLoopSeconds = 60;
    // A recording that does not start within this long counts as failed, so the overlay never hangs.
    static constexpr int loadTimeoutMs = 15'000;

  signals:
    void changed();
    void emergencyChanged();
    // The sound could not be played (after every fallback); the overlay is already gone.
    void playbackFailed(const QString& reason);

  private:
    // Plays `url` from `fromMs` into the recording; `url` is a copy, as it may be the source this releases.
    void startRecording(QUrl url, quint64 generation, qint64 fromMs = 0);
    void fallBackOrFinish(quint64 generation, const QString& reason);
    // Ends the call `ms` from now at the latest.
    void endCallWithin(qint64 ms, quint64 generation);
    void finish(quint64 generation);
    void releasePlayer();

    bool ringing_ = false;
    Kind kind_ = Kind::None;
    Call call_;
    QUrl source_;
    quint64 generation_ = 0;
    int lengthSeconds_ = 0;
    // Where in the recording the current player began, and how far it has sounded since.
    qint64 startedAtMs_ = 0;
    qint64 reachedMs_ = 0;
    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QTimer> autoStop_;
    std::unique_ptr<QTimer> loadGuard_;
    std::unique_ptr<QSoundEffect> beep_;

    bool emergencyRinging_ = false;
    QString emergencyTitle_;
    QString emergencyBody_;
    std::unique_ptr<QSoundEffect> alarm_;
    std::unique_ptr<QTimer> alarmTimeout_;
};
