#include "platform/SecretStore.h"

#include "platform/Clock.h"
#include "platform/OwnFiles.h"
#include "platform/StoredFile.h"

#include <qt6keychain/keychain.h>
#include <QCoro/QCoroSignal>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
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

// One D-Bus call without blocking: the reply, or nothing on an error or when the call timed out (which also
// starts the backoff, as a hung keyring job does).
QCoro::Task<std::optional<QDBusMessage>> callBus(QDBusMessage call) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusPendingCallWatcher watcher(bus.asyncCall(call, int(callTimeout.count())));
    if (!watcher.isFinished()) co_await qCoro(&watcher, &QDBusPendingCallWatcher::finished);
    const QDBusMessage reply = watcher.reply();
    if (reply.type() == QDBusMessage::ReplyMessage) co_return reply;
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply"))
        hungUntilMs.store(Clock::nowMs() + hungBackoff.count());
    co_return std::nullopt;
}

QDBusMessage busCall(const QString& method, const QVariantList& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                       QStringLiteral("/org/freedesktop/DBus"),
                                                       QStringLiteral("org.freedesktop.DBus"), method);
    call.setArguments(args);
    return call;
}

QString secretsName() {
    return QStringLiteral("org.freedesktop.secrets");
}

QDBusMessage lockedQuery() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets/aliases/default"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.Secret.Collection") << QStringLiteral("Locked");
    return get;
}

// Whether the Secret Service can be asked at all on this bus; a bus without it is "unavailable" (the
// keyring may simply not have started yet), never a reason to make up new identifiers.
QCoro::Task<bool> secretServiceReachable() {
    if (!QDBusConnection::sessionBus().isConnected()) co_return false;
    const QString name = secretsName();
    // Built before the awaits: GCC 12 cannot keep a string literal alive across one.
    const QDBusMessage hasOwner = busCall(QStringLiteral("NameHasOwner"), QVariantList{name});
    const QDBusMessage listActivatable = busCall(QStringLiteral("ListActivatableNames"), QVariantList());
    const std::optional<QDBusMessage> owned = co_await callBus(hasOwner);
    if (owned && owned->arguments().value(0).toBool()) co_return true;
    const std::optional<QDBusMessage> activatable = co_await callBus(listActivatable);
    const bool found = activatable && activatable->arguments().value(0).toStringList().contains(name);
    if (!found) qCInfo(lcSecrets) << "no Secret Service on the session bus";
    co_return found;
}

// A locked keyring answers a search for a missing item like an unlocked one would, but until it is unlocked
// nothing can be stored there either: the caller must not act on "not found" then.
QCoro::Task<bool> defaultCollectionLocked() {
    const std::optional<QDBusMessage> reply = co_await callBus(lockedQuery());
    co_return reply && reply->arguments().value(0).value<QDBusVariant>().variant().toBool();
}

struct JobOutcome {
    bool finished = false;
    QKeychain::Error error = QKeychain::OtherError;
    QByteArray data;
};

// Runs one keychain job to completion or to the timeout, awaiting its own `finished` signal.
QCoro::Task<JobOutcome> run(QKeychain::Job* job, bool isRead) {
    auto outcome = std::make_shared<JobOutcome>();
    job->setInsecureFallback(false);
    // Kept until read here; a job given up on deletes itself whenever it finishes.
    job->setAutoDelete(false);
    QObject::connect(job, &QKeychain::Job::finished, job, [outcome, isRead](QKeychain::Job* j) {
        outcome->finished = true;
        outcome->error = j->error();
        if (isRead && j->error() == QKeychain::NoError) {
            outcome->data = static_cast<QKeychain::ReadPasswordJob*>(j)->binaryData();
        }
    });
    job->start();
    if (!outcome->finished) co_await qCoro(job, &QKeychain::Job::finished, callTimeout);
    if (!outcome->finished) {
        job->setAutoDelete(true);
        hungUntilMs.store(Clock::nowMs() + hungBackoff.count());
        qCWarning(lcSecrets) << "keyring did not answer within" << callTimeout.count() << "ms";
        co_return *outcome;
    }
    if (outcome->error != QKeychain::NoError && outcome->error != QKeychain::EntryNotFound)
        qCWarning(lcSecrets) << "keyring answered with an error:" << job->errorString();
    job->deleteLater();
    co_return *outcome;
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
    const QString path = fallbackFilePath();
    if (!QFile::exists(path)) return QJsonObject();
    // It holds a few identifiers: a file anywhere near this size is not one this store wrote.
    const std::variant<QByteArray, StoredFile::Problem> bytes = StoredFile::read(path, 1024 * 1024);
    const StoredFile::Problem* problem = std::get_if<StoredFile::Problem>(&bytes);
    if (problem && *problem == StoredFile::Problem::Unreadable) return std::nullopt;
    const QJsonDocument doc =
        problem ? QJsonDocument() : QJsonDocument::fromJson(std::get<QByteArray>(bytes));
    // A damaged file reads as empty rather than failing every identifier lookup forever.
    return doc.isObject() ? doc.object() : QJsonObject();
}

bool writeFallback(const QJsonObject& object) {
    const QString path = fallbackFilePath();
    if (!OwnFiles::makeFolder(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !OwnFiles::setMode(file)) return false;
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
    // The identifiers already stored stay as they are unless every byte of the new file lands.
    return file.write(bytes) == bytes.size() && OwnFiles::commit(file);
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

QCoro::Task<ReadResult> read(QString account) {
    if (usesFileFallback()) {
        const std::optional<QJsonObject> all = readFallback();
        if (!all) co_return ReadResult{Status::Unavailable, {}};
        const QJsonValue v = all->value(fileKey(account));
        if (!v.isString()) co_return ReadResult{Status::NotFound, {}};
        co_return ReadResult{Status::Ok, QByteArray::fromBase64(v.toString().toLatin1())};
    }
    if (inBackoff() || !co_await secretServiceReachable()) co_return ReadResult{Status::Unavailable, {}};
    auto* job = new QKeychain::ReadPasswordJob(service());
    job->setKey(account);
    const JobOutcome outcome = co_await run(job, true);
    Status status = statusOf(outcome);
    if (status == Status::NotFound && co_await defaultCollectionLocked()) status = Status::Unavailable;
    co_return ReadResult{status, status == Status::Ok ? outcome.data : QByteArray()};
}

QCoro::Task<Status> write(QString account, QByteArray data) {
    if (usesFileFallback()) {
        std::optional<QJsonObject> all = readFallback();
        if (!all) co_return Status::Unavailable;
        all->insert(fileKey(account), QString::fromLatin1(data.toBase64()));
        co_return writeFallback(*all) ? Status::Ok : Status::Unavailable;
    }
    if (inBackoff() || !co_await secretServiceReachable()) co_return Status::Unavailable;
    auto* job = new QKeychain::WritePasswordJob(service());
    job->setKey(account);
    job->setBinaryData(data);
    co_return statusOf(co_await run(job, false));
}

QCoro::Task<Status> remove(QString account) {
    if (usesFileFallback()) {
        std::optional<QJsonObject> all = readFallback();
        if (!all) co_return Status::Unavailable;
        if (!all->contains(fileKey(account))) co_return Status::NotFound;
        all->remove(fileKey(account));
        co_return writeFallback(*all) ? Status::Ok : Status::Unavailable;
    }
    if (inBackoff() || !co_await secretServiceReachable()) co_return Status::Unavailable;
    auto* job = new QKeychain::DeletePasswordJob(service());
    job->setKey(account);
    co_return statusOf(co_await run(job, false));
}

}  // namespace SecretStore
