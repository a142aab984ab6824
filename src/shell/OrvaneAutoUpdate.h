#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>
#include "shell/UpdateEntry.h"

class DefaultsStore;

// The update checker: reads this platform's entry of the update manifest at launch and then daily,
// downloads a newer build over HTTPS into the cache folder, verifies its SHA-256 and hands only a verified
// archive to the install script. The clock keeps running while the script checks and stages the new build;
// the script stops it only when the new build is ready. A forced update installs without asking, at the
// next quiet moment; otherwise the user is asked once per version. An installation that cannot replace
// itself is never updated: the question then says how it is updated.
class OrvaneAutoUpdate : public QObject {
    Q_OBJECT
  public:
    using Entry = UpdateEntry;

    enum class Outcome {
        NoUpdate,
        Failed,
        ChecksumMismatch,
        AwaitingUser,  // verified and offered
        AlreadyAsked,
        Installing,       // the install script runs
        WaitingForQuiet,  // forced, verified, held until no call sounds and no prayer time is near
        NotSelfUpdating   // newer build, but this installation is updated another way; the user was told
    };
    Q_ENUM(Outcome)

    // What the install script is given.
    struct InstallRequest {
        QString archivePath;
        QString checksumSha256;
        QString installDir;
        QString statusPath;
        qint64 buildNumber = 0;
        qint64 clockPid = 0;  // the clock the script stops once the new build is ready: this process
    };
    // Starts the install for `request`; returns why it could not start, in words for the user, or nothing
    // when it started.
    using Installer = std::function<QString(const InstallRequest& request)>;

    OrvaneAutoUpdate(DefaultsStore& store, qint64 runningBuild, QObject* parent = nullptr);

    // Reads the outcome of the last install, then checks at once when the last check is a day old or
    // more, and every day while the process runs.
    void start();
    void stop();

    // One manifest check and, for a newer build, download and verification.
    QCoro::Task<Outcome> checkNow();

    // The user's answer to `updateAvailable`.
    Q_INVOKABLE void installPending();
    Q_INVOKABLE void declinePending();

    void setInstaller(Installer installer) { installer_ = std::move(installer); }
    // Whether a forced update may restart the clock now (no call sounding, no prayer time near).
    void setQuietCheck(std::function<bool()> quiet) { quiet_ = std::move(quiet); }
    // The folder of the running program unless set (tests point it elsewhere).
    void setInstallDir(const QString& folder) { installDir_ = folder; }
    void setQuietPollInterval(std::chrono::milliseconds interval) { quietPoll_.setInterval(interval); }
    void setInstallTimeout(std::chrono::milliseconds timeout) { installDeadline_.setInterval(timeout); }
    const QString& installDir() const { return installDir_; }
    bool installing() const { return installing_; }

    // Starts the bundled install script, detached, so that it outlives the clock it replaces; returns why it
    // could not, or nothing when it started.
    static QString runInstallScript(const InstallRequest& request);

    // $XDG_CACHE_HOME/Orvane/update: the downloaded archive and the script's copy.
    static QString updateFolder();
    // $XDG_DATA_HOME/Orvane/Update: the script's log and the outcome it leaves for the build that runs
    // next. Not in the cache, which a new build empties as it first starts.
    static QString recordFolder();
    static QString statusPath() { return recordFolder() + QStringLiteral("/status"); }
    static QString manifestPath() { return QStringLiteral("/api/orvane/updates.json"); }
    static QString manifestKey() { return UpdateEntry::platformKey(); }
    static constexpr qint64 kMaxDownloadBytes = 512LL * 1024 * 1024;
    static constexpr std::chrono::seconds kQuietPollInterval{15};
    // How long the script may take before this clock stops: hashing and unpacking an archive of up to
    // kMaxDownloadBytes, the new build's self-check (120 s at most) and stopping this clock (20 s at most).
    // A script that reports nothing by then is a failed install; one that got further has stopped the clock.
    static constexpr std::chrono::minutes kInstallTimeout{6};

  Q_SIGNALS:
    void updateAvailable(const QString& version, const QString& releaseNotes);
    // A newer build exists but this installation is updated another way; `howToUpdate` says which.
    void manualUpdateAvailable(const QString& version, const QString& releaseNotes,
                               const QString& howToUpdate);
    void installStarted();
    // The install script gave up (this clock still runs) or the new build was rolled back.
    void installFailed(const QString& reason);

  private:
    bool install(const QString& archivePath, const Entry& entry);
    void installWhenQuiet();
    void readInstallStatus();
    void installNotGoneAhead(const QString& archivePath, const Entry& entry, const QString& reason);
    QString askedKey(const Entry& entry) const;

    DefaultsStore& store_;
    qint64 runningBuild_;
    QString installDir_;
    QTimer daily_;
    QTimer quietPoll_;
    QTimer statusPoll_;
    QTimer installDeadline_;
    Installer installer_;
    std::function<bool()> quiet_;
    QString pendingArchive_;
    std::optional<Entry> pendingEntry_;
    // What the running script was handed.
    QString installingArchive_;
    std::optional<Entry> installingEntry_;
    bool checking_ = false;
    bool installing_ = false;
};
