#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>

class DefaultsStore;

// The update checker: reads the update manifest at launch and then daily, downloads a newer build, verifies
// its SHA-256 and hands only a verified archive to the install script, then quits the clock. A forced update
// installs without asking; otherwise the user is asked once per version.
class OrvaneAutoUpdate : public QObject {
    Q_OBJECT
  public:
    // The desktop entry of the manifest.
    struct Entry {
        QString version;
        qint64 buildNumber = 0;
        QUrl downloadUrl;
        QString checksumSha256;  // lower-case hex
        bool forceUpdate = false;
        QString releaseNotes;

        static std::optional<Entry> fromManifest(const QByteArray& manifest);
    };

    enum class Outcome { NoUpdate, Failed, ChecksumMismatch, AwaitingUser, AlreadyAsked, Installing };
    Q_ENUM(Outcome)

    // Takes the archive path and returns whether the install script started.
    using Installer = std::function<bool(const QString& archivePath)>;

    OrvaneAutoUpdate(DefaultsStore& store, qint64 runningBuild, QObject* parent = nullptr);

    // Checks at once when the last check is a day old or more, then every day while the process runs.
    void start();
    void stop();

    // One manifest check and, for a newer build, download and verification.
    QCoro::Task<Outcome> checkNow();

    // The user's answer to `updateAvailable`.
    Q_INVOKABLE void installPending();
    Q_INVOKABLE void declinePending();

    void setInstaller(Installer installer) { installer_ = std::move(installer); }
    // Starts the bundled install script for `archivePath` over the folder of the running executable.
    static bool runInstallScript(const QString& archivePath);

    static QString manifestPath() { return QStringLiteral("/api/orvane/updates.json"); }
    static constexpr qint64 kMaxDownloadBytes = 512LL * 1024 * 1024;

  Q_SIGNALS:
    void updateAvailable(const QString& version, const QString& releaseNotes);
    void installStarted();

  private:
    bool install(const QString& archivePath);
    QString keepVerifiedArchive(const QByteArray& bytes);

    DefaultsStore& store_;
    qint64 runningBuild_;
    QTimer daily_;
    Installer installer_;
    QString pendingArchive_;
    bool checking_ = false;
};
