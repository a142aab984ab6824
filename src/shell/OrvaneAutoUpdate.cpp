#include "shell/OrvaneAutoUpdate.h"

#include "model/JsonCoding.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"
#include "platform/OwnFiles.h"
#include "platform/StoredFile.h"
#include "platform/WriteFailure.h"
#include "shell/UpdateInstallation.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>
#include <utility>

namespace {

const QString kLastCheckKey = QStringLiteral("orvane.update.lastCheck");
const QString kAskedVersionKey = QStringLiteral("orvane.update.askedVersion");
// A build the script could not install or had to roll back is not tried again.
const QString kFailedBuildKey = QStringLiteral("orvane.update.failedBuild");
constexpr qint64 kDaySeconds = 24 * 3600;
// Why OwnFiles refuses a folder when no system call failed.
const QString kNotOwn = QStringLiteral("another account owns it or the folder holding it");

void log(const QString& message) {
    qInfo().noquote() << QStringLiteral("[OrvaneAutoUpdate] %1").arg(message);
}

QString sha256Of(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) return {};
    return QString::fromLatin1(hash.result().toHex());
}

// The script's status file: key=value lines.
QHash<QString, QString> readStatus(const QString& path) {
    QHash<QString, QString> status;
    // A few short lines; a file past this is not the script's.
    const std::optional<QByteArray> bytes = StoredFile::readWithin(path, 64 * 1024);
    if (!bytes) return status;
    for (const QByteArray& line : bytes->split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            status.insert(QString::fromUtf8(line.left(equals)),
                          QString::fromUtf8(line.mid(equals + 1)).trimmed());
    }
    return status;
}

// Why the installer could not be put on disk, in words for the user.
QString cannotWrite(const QString& path, int error, const QString& fallback) {
    if (WriteFailure::isDiskFull(error))
        return QStringLiteral(
                   "The disk is full, so the installer could not be written to %1. Free some space: "
                   "Orvane offers the update again at its next check.")
            .arg(path);
    return QStringLiteral("The installer could not be written to %1 (%2).")
        .arg(path, WriteFailure::cause(error, fallback));
}

QString reasonOf(const QString& outcome, const QString& stage) {
    if (outcome == QLatin1String("rolled-back"))
        return QStringLiteral("The new version did not start, so Orvane went back to this one.");
    static const QHash<QString, QString> reasons = {
        {QStringLiteral("not-writable"),
         QStringLiteral("Orvane cannot change the folder it is installed in.")},
        {QStringLiteral("checksum"), QStringLiteral("The downloaded update did not match its checksum.")},
        {QStringLiteral("unpack"), QStringLiteral("The downloaded update could not be unpacked.")},
        {QStringLiteral("no-executable"), QStringLiteral("The downloaded update does not contain Orvane.")},
        {QStringLiteral("self-check"), QStringLiteral("The new version failed its self-check.")},
        {QStringLiteral("busy"), QStringLiteral("The running clock could not be stopped.")},
        {QStringLiteral("swap"), QStringLiteral("The new version could not be put in place.")},
    };
    return reasons.value(stage, QStringLiteral("The update could not be installed."));
}

}  // namespace

OrvaneAutoUpdate::OrvaneAutoUpdate(DefaultsStore& store, qint64 runningBuild, QObject* parent)
    : QObject(parent),
      store_(store),
      runningBuild_(runningBuild),
      installDir_(QCoreApplication::applicationDirPath()),
      installer_(&OrvaneAutoUpdate::runInstallScript),
      quiet_([] { return true; }) {
    daily_.setInterval(std::chrono::hours(1));
    connect(&daily_, &QTimer::timeout, this, [this] {
        const qint64 last = store_.integer(kLastCheckKey);
        const qint64 now = Clock::nowMs() / 1000;
        // A clock set back makes "last" lie in the future: check then too.
        if (now - last >= kDaySeconds || last > now) checkNow();
    });
    quietPoll_.setInterval(kQuietPollInterval);
    connect(&quietPoll_, &QTimer::timeout, this, &OrvaneAutoUpdate::installWhenQuiet);
    statusPoll_.setInterval(std::chrono::seconds(1));
    connect(&statusPoll_, &QTimer::timeout, this, &OrvaneAutoUpdate::readInstallStatus);
    installDeadline_.setSingleShot(true);
    installDeadline_.setInterval(kInstallTimeout);
    connect(&installDeadline_, &QTimer::timeout, this, [this] {
        readInstallStatus();
        if (!installing_) return;
        statusPoll_.stop();
        installing_ = false;
        const QString archive = std::exchange(installingArchive_, QString());
        const std::optional<Entry> entry = std::exchange(installingEntry_, std::nullopt);
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(installDeadline_.intervalAsDuration()).count();
        log(QStringLiteral("the install script reported nothing within %1 s").arg(seconds));
        if (entry)
            installNotGoneAhead(
                archive, *entry,
                QStringLiteral(
                    "The installer reported nothing within %1 seconds, so the update counts as failed.")
                    .arg(seconds));
    });
}

QString OrvaneAutoUpdate::updateFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Orvane/update");
}

QString OrvaneAutoUpdate::recordFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Orvane/Update");
}

void OrvaneAutoUpdate::start() {
    readInstallStatus();
    checkNow();
    daily_.start();
}

void OrvaneAutoUpdate::stop() {
    daily_.stop();
    quietPoll_.stop();
    statusPoll_.stop();
    installDeadline_.stop();
}

QString OrvaneAutoUpdate::askedKey(const Entry& entry) const {
    return entry.version + QLatin1Char('#') + QString::number(entry.buildNumber);
}

QCoro::Task<OrvaneAutoUpdate::Outcome> OrvaneAutoUpdate::checkNow() {
    if (checking_ || installing_ || pendingEntry_) co_return Outcome::NoUpdate;
    checking_ = true;
    // The updater may be gone when a download returns; nothing of it is touched then.
    const QPointer<OrvaneAutoUpdate> self(this);
    struct Reset {
        QPointer<OrvaneAutoUpdate> owner;
        ~Reset() {
            if (owner) owner->checking_ = false;
        }
    } reset{self};

    const QUrl manifestUrl = Endpoints::current().update.resolved(QUrl(manifestPath()));
    const HttpResponse manifest = co_await Http::get(manifestUrl, std::chrono::seconds(30));
    if (!self) co_return Outcome::Failed;
    if (!manifest.isSuccess()) {
        log(QStringLiteral("manifest unavailable: %1")
                .arg(manifest.error.isEmpty() ? QString::number(manifest.status) : manifest.error));
        co_return Outcome::Failed;
    }
    store_.setInteger(kLastCheckKey, Clock::nowMs() / 1000);

    const std::optional<Entry> entry = Entry::fromManifest(manifest.body);
    if (!entry) {
        log(QStringLiteral("no usable \"%1\" entry in the manifest").arg(manifestKey()));
        co_return Outcome::NoUpdate;
    }
    if (entry->buildNumber <= runningBuild_) co_return Outcome::NoUpdate;
    if (store_.integer(kFailedBuildKey) == entry->buildNumber) {
        log(QStringLiteral("build %1 failed to install before; not tried again").arg(entry->buildNumber));
        co_return Outcome::NoUpdate;
    }
    const bool asked = store_.string(kAskedVersionKey) == askedKey(*entry);

    const UpdateInstallation::Kind kind = UpdateInstallation::inspect(installDir_);
    if (kind != UpdateInstallation::Kind::SelfUpdating) {
        if (asked) co_return Outcome::AlreadyAsked;
        store_.setString(kAskedVersionKey, askedKey(*entry));
        Q_EMIT manualUpdateAvailable(entry->version, entry->releaseNotes,
                                     UpdateInstallation::howToUpdate(kind, installDir_));
        co_return Outcome::NotSelfUpdating;
    }
    if (!entry->forceUpdate && asked) co_return Outcome::AlreadyAsked;

    errno = 0;
    if (!OwnFiles::makeFolder(updateFolder())) {
        log(QStringLiteral("%1 cannot be made this user's own (%2); nothing downloaded")
                .arg(updateFolder(), WriteFailure::cause(errno, kNotOwn)));
        co_return Outcome::Failed;
    }
    const QString path = updateFolder() + QStringLiteral("/orvane-update.tar");
    HttpRequest download;
    download.url = entry->downloadUrl;
    download.timeout = std::chrono::minutes(2);
    download.maxBodyBytes = kMaxDownloadBytes;
    const HttpResponse archive = co_await Http::download(download, path);
    if (!self) co_return Outcome::Failed;
    if (!archive.isSuccess()) {
        log(QStringLiteral("download failed: %1")
                .arg(archive.error.isEmpty() ? QString::number(archive.status) : archive.error));
        co_return Outcome::Failed;
    }
    if (sha256Of(path) != entry->checksumSha256) {
        QFile::remove(path);
        log(QStringLiteral("checksum mismatch for build %1; update discarded").arg(entry->buildNumber));
        co_return Outcome::ChecksumMismatch;
    }

    pendingArchive_ = path;
    pendingEntry_ = entry;
    if (entry->forceUpdate) {
        if (quiet_()) co_return install(path, *entry) ? Outcome::Installing : Outcome::Failed;
        log(QStringLiteral("forced build %1 waits for a quiet moment").arg(entry->buildNumber));
        quietPoll_.start();
        co_return Outcome::WaitingForQuiet;
    }
    store_.setString(kAskedVersionKey, askedKey(*entry));
    Q_EMIT updateAvailable(entry->version, entry->releaseNotes);
    co_return Outcome::AwaitingUser;
}

void OrvaneAutoUpdate::installWhenQuiet() {
    if (!pendingEntry_ || !quiet_()) return;
    quietPoll_.stop();
    install(pendingArchive_, *pendingEntry_);
}

void OrvaneAutoUpdate::installPending() {
    if (!pendingEntry_ || pendingEntry_->forceUpdate) return;
    install(pendingArchive_, *pendingEntry_);
}

void OrvaneAutoUpdate::declinePending() {
    if (!pendingEntry_ || pendingEntry_->forceUpdate) return;
    QFile::remove(pendingArchive_);
    pendingArchive_.clear();
    pendingEntry_.reset();
}

bool OrvaneAutoUpdate::install(const QString& pendingArchive, const Entry& pendingEntry) {
    // Copies: both name members cleared below.
    const QString archivePath = pendingArchive;
    const Entry entry = pendingEntry;
    const InstallRequest request{archivePath,  entry.checksumSha256, installDir_,
                                 statusPath(), entry.buildNumber,    QCoreApplication::applicationPid()};
    QFile::remove(request.statusPath);
    pendingArchive_.clear();
    pendingEntry_.reset();
    const QString failure =
        installer_ ? installer_(request) : QStringLiteral("This build of Orvane has no installer.");
    if (!failure.isEmpty()) {
        log(QStringLiteral("install script did not start: %1").arg(failure));
        installNotGoneAhead(archivePath, entry, failure);
        return false;
    }
    // This clock runs on until the script has checked the new build and asks it to quit.
    installing_ = true;
    installingArchive_ = archivePath;
    installingEntry_ = entry;
    statusPoll_.start();
    installDeadline_.start();
    Q_EMIT installStarted();
    return true;
}

// The archive goes, and the version is offered again at the next check, as when it was first found.
void OrvaneAutoUpdate::installNotGoneAhead(const QString& archivePath, const Entry& entry,
                                           const QString& reason) {
    QFile::remove(archivePath);
    if (store_.string(kAskedVersionKey) == askedKey(entry)) store_.remove(kAskedVersionKey);
    Q_EMIT installFailed(reason);
}

void OrvaneAutoUpdate::readInstallStatus() {
    const QHash<QString, QString> status = readStatus(statusPath());
    if (status.isEmpty()) return;
    QFile::remove(statusPath());
    statusPoll_.stop();
    installDeadline_.stop();
    installing_ = false;
    // A build the script did not install is never tried again: its archive has no further use.
    if (!installingArchive_.isEmpty() &&
        status.value(QStringLiteral("outcome")) != QLatin1String("installed"))
        QFile::remove(installingArchive_);
    installingArchive_.clear();
    installingEntry_.reset();
    const QString outcome = status.value(QStringLiteral("outcome"));
    const QString build = status.value(QStringLiteral("build"));
    if (outcome == QLatin1String("installed")) {
        log(QStringLiteral("build %1 installed").arg(build));
        return;
    }
    if (!build.isEmpty()) store_.setInteger(kFailedBuildKey, build.toLongLong());
    const QString reason = reasonOf(outcome, status.value(QStringLiteral("stage")));
    log(QStringLiteral("build %1 not installed: %2").arg(build, reason));
    Q_EMIT installFailed(reason);
}

QString OrvaneAutoUpdate::runInstallScript(const InstallRequest& request) {
    QFile resource(QStringLiteral(":/orvane/shell/update_orvane"));
    if (!resource.open(QIODevice::ReadOnly)) return QStringLiteral("This build of Orvane has no installer.");
    const QByteArray bytes = resource.readAll();
    // Bash reads the script as it goes, so while it waits on the new build no other account may change it,
    // nor its log and outcome.
    for (const QString& folder : {updateFolder(), recordFolder()}) {
        errno = 0;
        if (!OwnFiles::makeFolder(folder)) return cannotWrite(folder, errno, kNotOwn);
    }
    const QString scriptPath = updateFolder() + QStringLiteral("/update_orvane");
    QFile::remove(scriptPath);
    // Only a script written whole runs: a short write shows only when the last bytes are flushed.
    QSaveFile script(scriptPath);
    errno = 0;
    if (!script.open(QIODevice::WriteOnly) || !OwnFiles::setMode(script) ||
        script.write(bytes) != bytes.size() || !OwnFiles::commit(script))
        return cannotWrite(scriptPath, errno, script.errorString());

    QProcess process;
    process.setProgram(QStringLiteral("/bin/bash"));
    process.setArguments({scriptPath, request.archivePath, request.checksumSha256, request.installDir,
                          QString::number(request.clockPid), request.statusPath,
                          QString::number(request.buildNumber)});
    process.setStandardInputFile(QProcess::nullDevice());
    const QString logPath = recordFolder() + QStringLiteral("/update.log");
    OwnFiles::createFile(logPath);
    process.setStandardOutputFile(logPath);
    process.setStandardErrorFile(logPath, QIODevice::Append);
    if (!process.startDetached())
        return QStringLiteral("The installer could not be started (%1).").arg(process.errorString());
    return {};
}
