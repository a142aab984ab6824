#include "platform/SecretStore.h"

#include "platform/Clock.h"

#include <qt6keychain/keychain.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <atomic>
#include <memory>

namespace SecretStore {
namespace {

Q_LOGGING_CATEGORY(lcSecrets, "orvane.secrets")

QString& service() {
    static QString name = QStringLiteral("Orvane");
    return name;
}

// Items of the fallback file are keyed by service and account, like the keyring's attributes.
QString fileKey(const QString& account) {
    return service() + u'/' + account;
}
std::atomic<std::int64_t> hungUntilMs{0};

bool inBackoff() {
    return Clock::nowMs() < hungUntilMs.load();
}

// Whether the Secret Service can be asked at all on this bus; a bus without it is "unavailable" (the
// keyring may simply not have started yet), never a reason to make up new identifiers.
bool secretServiceReachable() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    // Asked with our own short timeout: the bus library's default would block the GUI thread for 25 s.
    const auto ask = [&bus](const QString& method, const QVariantList& args) {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                           QStringLiteral("/org/freedesktop/DBus"),
                                                           QStringLiteral("org.freedesktop.DBus"), method);
        call.setArguments(args);
        const QDBusMessage reply = bus.call(call, QDBus::Block, int(callTimeout.count()));
        if (reply.type() == QDBusMessage::ErrorMessage &&
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply")) {
            hungUntilMs.store(Clock::nowMs() + hungBackoff.count());
        }
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0) : QVariant();
    };
    const QString name = QStringLiteral("org.freedesktop.secrets");
    if (ask(QStringLiteral("NameHasOwner"), {name}).toBool()) return true;
    return ask(QStringLiteral("ListActivatableNames"), {}).toStringList().contains(name);
}

// A locked keyring answers a search for a missing item like an unlocked one would, but until it is unlocked
// nothing can be stored there either: the caller must not act on "not found" then.
bool defaultCollectionLocked() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets/aliases/default"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.Secret.Collection") << QStringLiteral("Locked");
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(get, QDBus::Block, int(callTimeout.count()));
    if (reply.type() != QDBusMessage::ReplyMessage) return false;
    return reply.arguments().value(0).value<QDBusVariant>().variant().toBool();
}

struct JobOutcome {
    bool finished = false;
    QKeychain::Error error = QKeychain::OtherError;
    QByteArray data;
};

// Runs one keychain job to completion or to the timeout, on a local event loop.
JobOutcome run(QKeychain::Job* job, bool isRead) {
    auto outcome = std::make_shared<JobOutcome>();
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    // The job deletes itself after `finished`, also when it finishes after we stopped waiting.
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    QObject::connect(job, &QKeychain::Job::finished, job, [outcome, isRead, &loop](QKeychain::Job* j) {
        outcome->finished = true;
        outcome->error = j->error();
        if (isRead && j->error() == QKeychain::NoError) {
            outcome->data = static_cast<QKeychain::ReadPasswordJob*>(j)->binaryData();
        }
        loop.quit();
    });
    QObject::connect(job, &QObject::destroyed, &loop, [outcome] { outcome->finished = true; });
    timeout.start(callTimeout);
    job->start();
    if (!outcome->finished) loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!outcome->finished) {
        // The lambda above must not touch the gone loop: cut it off before returning.
        QObject::disconnect(job, &QKeychain::Job::finished, job, nullptr);
        hungUntilMs.store(Clock::nowMs() + hungBackoff.count());
        qCWarning(lcSecrets) << "keyring did not answer within" << callTimeout.count() << "ms";
    }
    return *outcome;
}

Status statusOf(const JobOutcome& outcome) {
    if (!outcome.finished) return Status::Unavailable;
    switch (outcome.error) {
        case QKeychain::NoError:
            return Status::Ok;
        case QKeychain::EntryNotFound:
            return Status::NotFound;
        default:
            return Status::Unavailable;
    }
}

// File fallback: one JSON object of account -> base64 data, replaced atomically, readable by the owner only.
std::optional<QJsonObject> readFallback() {
    QFile file(fallbackFilePath());
    if (!file.exists()) return QJsonObject();
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    // A damaged file reads as empty rather than failing every identifier lookup forever.
    return doc.isObject() ? doc.object() : QJsonObject();
}

bool writeFallback(const QJsonObject& object) {
    const QString path = fallbackFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(object).toJson(QJsonDocument::Compact));
    return file.commit();
}

}  // namespace

bool usesFileFallback() {
    return qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
           !QDBusConnection::sessionBus().isConnected();
}

QString fallbackFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Orvane/secrets.json");
}

void setServiceName(const QString& name) {
    service() = name;
}
QString serviceName() {
    return service();
}

void resetBackoff() {
    hungUntilMs.store(0);
}

ReadResult read(const QString& account) {
    if (usesFileFallback()) {
        const std::optional<QJsonObject> all = readFallback();
        if (!all) return {Status::Unavailable, {}};
        const QJsonValue v = all->value(fileKey(account));
        if (!v.isString()) return {Status::NotFound, {}};
        return {Status::Ok, QByteArray::fromBase64(v.toString().toLatin1())};
    }
    if (inBackoff() || !secretServiceReachable()) return {Status::Unavailable, {}};
    auto* job = new QKeychain::ReadPasswordJob(service());
    job->setKey(account);
    const JobOutcome outcome = run(job, true);
    Status status = statusOf(outcome);
    if (status == Status::NotFound && defaultCollectionLocked()) status = Status::Unavailable;
    return {status, status == Status::Ok ? outcome.data : QByteArray()};
}

Status write(const QString& account, const QByteArray& data) {
    if (usesFileFallback()) {
        std::optional<QJsonObject> all = readFallback();
        if (!all) return Status::Unavailable;
        all->insert(fileKey(account), QString::fromLatin1(data.toBase64()));
        return writeFallback(*all) ? Status::Ok : Status::Unavailable;
    }
    if (inBackoff() || !secretServiceReachable()) return Status::Unavailable;
    auto* job = new QKeychain::WritePasswordJob(service());
    job->setKey(account);
    job->setBinaryData(data);
    return statusOf(run(job, false));
}

Status remove(const QString& account) {
    if (usesFileFallback()) {
        std::optional<QJsonObject> all = readFallback();
        if (!all) return Status::Unavailable;
        if (!all->contains(fileKey(account))) return Status::NotFound;
        all->remove(fileKey(account));
        return writeFallback(*all) ? Status::Ok : Status::Unavailable;
    }
    if (inBackoff() || !secretServiceReachable()) return Status::Unavailable;
    auto* job = new QKeychain::DeletePasswordJob(service());
    job->setKey(account);
    return statusOf(run(job, false));
}

}  // namespace SecretStore
