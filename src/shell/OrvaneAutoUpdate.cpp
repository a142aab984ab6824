#include "shell/OrvaneAutoUpdate.h"

#include "model/JsonCoding.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

const QString kLastCheckKey = QStringLiteral("orvane.update.lastCheck");
const QString kAskedVersionKey = QStringLiteral("orvane.update.askedVersion");
constexpr qint64 kDaySeconds = 24 * 3600;

void log(const QString& message) {
    qInfo().noquote() << QStringLiteral("[OrvaneAutoUpdate] %1").arg(message);
}

std::optional<qint64> buildNumberOf(const QJsonValue& v) {
    if (v.isString()) {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    }
    return JsonCoding::exactInteger(v);
}

bool isHexSha256(const QString& s) {
    if (s.size() != 64) return false;
    for (QChar c : s)
        if (!c.isDigit() && !(c >= QLatin1Char('a') && c <= QLatin1Char('f'))) return false;
    return true;
}

}  // namespace

std::optional<OrvaneAutoUpdate::Entry> OrvaneAutoUpdate::Entry::fromManifest(const QByteArray& manifest) {
    const std::optional<QJsonValue> root = JsonCoding::parse(manifest);
    if (!root || !root->isObject()) return std::nullopt;
    const QJsonValue desktop = root->toObject().value(QLatin1String("mac"));
    if (!desktop.isObject()) return std::nullopt;
    const QJsonObject o = desktop.toObject();

    Entry e;
    const std::optional<qint64> build = buildNumberOf(o.value(QLatin1String("build_number")));
    const QUrl url(o.value(QLatin1String("download_url")).toString().trimmed());
    const QString checksum = o.value(QLatin1String("checksum_sha256")).toString().trimmed().toLower();
    if (!build || !url.isValid() ||
        (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")) ||
        !isHexSha256(checksum))
        return std::nullopt;
    e.buildNumber = *build;
    e.downloadUrl = url;
    e.checksumSha256 = checksum;
    e.version = o.value(QLatin1String("version")).toString();
    e.forceUpdate = o.value(QLatin1String("force_update")).toBool(false);
    e.releaseNotes = o.value(QLatin1String("release_notes")).toString();
    return e;
}

OrvaneAutoUpdate::OrvaneAutoUpdate(DefaultsStore& store, qint64 runningBuild, QObject* parent)
    : QObject(parent),
      store_(store),
      runningBuild_(runningBuild),
      installer_(&OrvaneAutoUpdate::runInstallScript) {
    daily_.setInterval(std::chrono::hours(1));
    connect(&daily_, &QTimer::timeout, this, [this] {
        const qint64 last = store_.integer(kLastCheckKey);
        const qint64 now = Clock::nowMs() / 1000;
        // A clock set back makes "last" lie in the future: check then too.
        if (now - last >= kDaySeconds || last > now) checkNow();
    });
}

void OrvaneAutoUpdate::start() {
    checkNow();
    daily_.start();
}

void OrvaneAutoUpdate::stop() {
    daily_.stop();
}

QCoro::Task<OrvaneAutoUpdate::Outcome> OrvaneAutoUpdate::checkNow() {
    if (checking_) co_return Outcome::NoUpdate;
    checking_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{checking_};

    const QUrl manifestUrl = Endpoints::current().update.resolved(QUrl(manifestPath()));
    const HttpResponse manifest = co_await Http::get(manifestUrl, std::chrono::seconds(30));
    if (!manifest.isSuccess()) {
        log(QStringLiteral("manifest unavailable: %1")
                .arg(manifest.error.isEmpty() ? QString::number(manifest.status) : manifest.error));
        co_return Outcome::Failed;
    }
    store_.setInteger(kLastCheckKey, Clock::nowMs() / 1000);

    const std::optional<Entry> entry = Entry::fromManifest(manifest.body);
    if (!entry || entry->buildNumber <= runningBuild_) co_return Outcome::NoUpdate;
    if (!entry->forceUpdate && store_.string(kAskedVersionKey) ==
                                   entry->version + QLatin1Char('#') + QString::number(entry->buildNumber))
        co_return Outcome::AlreadyAsked;

    HttpRequest download;
    download.url = entry->downloadUrl;
    download.timeout = std::chrono::minutes(10);
    download.maxBodyBytes = kMaxDownloadBytes;
    const HttpResponse archive = co_await Http::send(download);
    if (!archive.isSuccess() || archive.body.isEmpty()) {
        log(QStringLiteral("download failed: %1").arg(archive.error));
        co_return Outcome::Failed;
    }
    const QString digest =
        QString::fromLatin1(QCryptographicHash::hash(archive.body, QCryptographicHash::Sha256).toHex());
    if (digest != entry->checksumSha256) {
        log(QStringLiteral("checksum mismatch for build %1; update discarded").arg(entry->buildNumber));
        co_return Outcome::ChecksumMismatch;
    }

    const QString path = keepVerifiedArchive(archive.body);
    if (path.isEmpty()) co_return Outcome::Failed;

    if (entry->forceUpdate) {
        co_return install(path) ? Outcome::Installing : Outcome::Failed;
    }
    QFile::remove(pendingArchive_);
    pendingArchive_ = path;
    store_.setString(kAskedVersionKey,
                     entry->version + QLatin1Char('#') + QString::number(entry->buildNumber));
    Q_EMIT updateAvailable(entry->version, entry->releaseNotes);
    co_return Outcome::AwaitingUser;
}

QString OrvaneAutoUpdate::keepVerifiedArchive(const QByteArray& bytes) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/orvane-update.tar");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        log(QStringLiteral("could not keep the downloaded update"));
        return {};
    }
    return path;
}

void OrvaneAutoUpdate::installPending() {
    if (pendingArchive_.isEmpty()) return;
    install(pendingArchive_);
}

void OrvaneAutoUpdate::declinePending() {
    QFile::remove(pendingArchive_);
    pendingArchive_.clear();
}

bool OrvaneAutoUpdate::install(const QString& archivePath) {
    if (!installer_ || !installer_(archivePath)) {
        log(QStringLiteral("install script did not start"));
        return false;
    }
    pendingArchive_.clear();
    Q_EMIT installStarted();
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    return true;
}

bool OrvaneAutoUpdate::runInstallScript(const QString& archivePath) {
    QFile resource(QStringLiteral(":/orvane/shell/update_orvane"));
    if (!resource.open(QIODevice::ReadOnly)) return false;
    const QString scriptPath =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/update_orvane");
    QFile::remove(scriptPath);
    QFile script(scriptPath);
    if (!script.open(QIODevice::WriteOnly) || script.write(resource.readAll()) < 0) return false;
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    const QString executable = QCoreApplication::applicationFilePath();
    const QString installDir = QFileInfo(executable).absolutePath();
    return QProcess::startDetached(QStringLiteral("/bin/bash"),
                                   {scriptPath, archivePath, installDir,
                                    QString::number(QCoreApplication::applicationPid()), executable});
}
