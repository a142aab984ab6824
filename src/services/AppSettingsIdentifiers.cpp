#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "services/AppSettings.h"
#include "services/Keychain.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QTimer>
#include <QUuid>

namespace {

Q_LOGGING_CATEGORY(lcIds, "orvane.identifiers")

const QString kDeviceAccount = QStringLiteral("orvane.deviceId");
const QString kClockAccount = QStringLiteral("orvane.clockId");

// An id made while the keyring could not be asked is provisional: the keyring may hold the clock's real
// one. Until the keyring has been asked, the provisional id is never written over what it holds.
const QString kProvisionalDeviceKey = QStringLiteral("orvane.deviceIdProvisional");
const QString kProvisionalClockKey = QStringLiteral("orvane.clockIdProvisional");

// What was last stored in the keyring under the clock account (with the keyring's service name), and a
// save that failed with when it may be retried. Views ask for the clock id every second; without this each
// ask would be a keyring round trip.
QString lastPersistedService, lastPersistedClockId;
QString failedClockId;
std::int64_t clockRetryAfterMs = 0;
constexpr std::int64_t kKeyringRetryMs = 60000;

// Settings changed while the provisional id stood in live under its profile; the keyring's id takes each
// one its own profile lacks, so a keyring outage costs the user none of them.
void carryOverProfile(DefaultsStore& store, const QString& from, const QString& to) {
    const QString source = QStringLiteral("profile.") + from + u'.';
    const QString target = QStringLiteral("profile.") + to + u'.';
    for (const auto& [key, object] : store.dictionary()) {
        if (!key.startsWith(source)) continue;
        const QString name = target + key.mid(source.size());
        if (!store.contains(name)) store.setObject(name, object);
    }
}

QString newClockId() {
    const QString hex = QUuid::createUuid().toString(QUuid::Id128);
    return QStringLiteral("clk-") + hex.left(8).toLower();
}

}  // namespace

bool AppSettings::isValidClockId(const QString& clockId) {
    const QString trimmed = clockId.trimmed();
    return trimmed.startsWith(QLatin1String("clk-")) && trimmed.size() >= 12;
}

std::optional<QString> AppSettings::envDeviceId() {
    // Blanks only are trimmed here, not line breaks: the override is taken as the shell gives it.
    QString value = qEnvironmentVariable("ORVANE_DEVICE_ID");
    qsizetype begin = 0, end = value.size();
    const auto blank = [](QChar c) { return c.category() == QChar::Separator_Space || c == u'\t'; };
    while (begin < end && blank(value.at(begin))) ++begin;
    while (end > begin && blank(value.at(end - 1))) --end;
    value = value.mid(begin, end - begin);
    if (value.isEmpty()) return std::nullopt;
    return value;
}

QString AppSettings::bootstrapDeviceId(DefaultsStore& store) {
    if (auto env = envDeviceId()) return *env;
    SecretStore::Status status = SecretStore::Status::NotFound;
    if (auto stored = store.string(QStringLiteral("deviceId")); stored && !stored->isEmpty()) {
        if (!store.boolean(kProvisionalDeviceKey)) return *stored;
        // The keyring's id is the durable one; ours only stood in while it could not be asked.
        const auto kept = Keychain::copyMatching(kDeviceAccount, &status);
        if (kept && *kept != *stored) {
            carryOverProfile(store, *stored, *kept);
            store.setString(QStringLiteral("deviceId"), *kept);
            store.remove(kProvisionalDeviceKey);
            return *kept;
        }
        if (kept ||
            (status == SecretStore::Status::NotFound && Keychain::upsert(kDeviceAccount, stored->toUtf8()))) {
            store.remove(kProvisionalDeviceKey);
        }
        return *stored;
    }
    if (auto kept = Keychain::copyMatching(kDeviceAccount, &status)) {
        store.setString(QStringLiteral("deviceId"), *kept);
        return *kept;
    }
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    store.setString(QStringLiteral("deviceId"), id);
    if (status == SecretStore::Status::Unavailable) {
        qCWarning(lcIds) << "keyring unavailable and no stored device id; using a provisional one";
        store.setBool(kProvisionalDeviceKey, true);
    } else {
        Keychain::upsert(kDeviceAccount, id.toUtf8());
    }
    return id;
}

void AppSettings::keepDeviceIdInKeychain() {
    if (envDeviceId() || !cachedDeviceId_) return;
    SecretStore::Status status = SecretStore::Status::NotFound;
    const auto kept = Keychain::copyMatching(kDeviceAccount, &status);
    if (status == SecretStore::Status::Ok) {
        // A different durable id cannot replace ours while running; the next start takes it.
        if (kept == cachedDeviceId_) store_.remove(kProvisionalDeviceKey);
        return;
    }
    if (status == SecretStore::Status::NotFound) {
        if (Keychain::upsert(kDeviceAccount, cachedDeviceId_->toUtf8())) store_.remove(kProvisionalDeviceKey);
        return;
    }
    // The keyring did not answer (locked, not started yet): try again later rather than never.
    QTimer::singleShot(kKeyringRetryMs, this, [self = QPointer<AppSettings>(this)] {
        if (self) self->keepDeviceIdInKeychain();
    });
}

std::optional<QString> AppSettings::loadClockIdFromKeychain(SecretStore::Status* status) {
    const auto text = Keychain::copyMatching(kClockAccount, status);
    if (!text) return std::nullopt;
    const QString trimmed = text->trimmed();
    if (!isValidClockId(trimmed)) return std::nullopt;
    return trimmed;
}

std::optional<QString> AppSettings::loadClockIdFromUserDefaults(const DefaultsStore& store,
                                                                const std::optional<QString>& deviceId) {
    QStringList candidates;
    if (deviceId && !deviceId->isEmpty())
        candidates << QStringLiteral("profile.") + *deviceId + QStringLiteral(".clockId");
    candidates << QStringLiteral("clockId");
    for (const QString& key : candidates) {
        const QString value = store.string(key).value_or(QString()).trimmed();
        if (isValidClockId(value)) return value.toLower();
    }
    for (const auto& [key, object] : store.dictionary()) {
        if (key != u"clockId" && !key.endsWith(QLatin1String(".clockId"))) continue;
        if (object.type != DefaultsStore::Type::String) continue;
        const QString value = object.value.toString().trimmed();
        if (isValidClockId(value)) return value.toLower();
    }
    return std::nullopt;
}

void AppSettings::persistClockIdToKeychain(const QString& clockId) {
    const QString trimmed = clockId.trimmed();
    if (!isValidClockId(trimmed)) return;
    const QString service = SecretStore::serviceName();
    if (trimmed == lastPersistedClockId && service == lastPersistedService) return;
    const std::int64_t now = Clock::nowMs();
    if (trimmed == failedClockId && now < clockRetryAfterMs) return;
    if (Keychain::upsert(kClockAccount, trimmed.toUtf8())) {
        lastPersistedService = service;
        lastPersistedClockId = trimmed;
        failedClockId.clear();
    } else {
        failedClockId = trimmed;
        clockRetryAfterMs = now + kKeyringRetryMs;
    }
}

QString AppSettings::ensureLocalClockId() {
    const QString current = values_.clockId.trimmed();
    if (isValidClockId(current)) {
        if (store_.string(kProvisionalClockKey) == current) return settleProvisionalClockId(current);
        persistClockIdToKeychain(current);
        return current;
    }
    SecretStore::Status status = SecretStore::Status::NotFound;
    if (auto kept = loadClockIdFromKeychain(&status)) {
        setClockId(*kept);
        return *kept;
    }
    QString id = loadClockIdFromUserDefaults(store_, deviceId()).value_or(QString());
    if (id.isEmpty()) {
        id = newClockId();
        if (status == SecretStore::Status::Unavailable) {
            qCWarning(lcIds) << "keyring unavailable and no stored clock id; using a provisional one";
            store_.setString(kProvisionalClockKey, id);
            setClockId(id);
            return id;
        }
    }
    setClockId(id);
    persistClockIdToKeychain(id);
    return id;
}

QString AppSettings::settleProvisionalClockId(const QString& current) {
    const std::int64_t now = Clock::nowMs();
    if (now < provisionalRetryAtMs_) return current;
    SecretStore::Status status = SecretStore::Status::NotFound;
    const auto kept = loadClockIdFromKeychain(&status);
    if (status == SecretStore::Status::Unavailable) {
        provisionalRetryAtMs_ = now + kKeyringRetryMs;
        return current;
    }
    store_.remove(kProvisionalClockKey);
    if (kept && *kept != current) {
        setClockId(*kept);  // the clock's durable identity
        return *kept;
    }
    persistClockIdToKeychain(current);
    return current;
}
