#include "platform/DefaultsStore.h"
#include "services/AppSettings.h"
#include "services/Keychain.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QUuid>
#include <utility>

namespace {

Q_LOGGING_CATEGORY(lcIds, "orvane.identifiers")

const QString kDeviceAccount = QStringLiteral("orvane.deviceId");
const QString kClockAccount = QStringLiteral("orvane.clockId");

// An id made while the keyring could not be asked is provisional: the keyring may hold the clock's real
// one. Until the keyring has been asked, the provisional id is never written over what it holds.
const QString kProvisionalDeviceKey = QStringLiteral("orvane.deviceIdProvisional");
const QString kProvisionalClockKey = QStringLiteral("orvane.clockIdProvisional");

// The keyring's device id, found while a provisional one stood in: the running clock keeps its id, and the
// next start takes the keyring's.
const QString kKeyringDeviceKey = QStringLiteral("orvane.deviceIdInKeyring");

// What was last stored in the keyring under the clock account (with the keyring's service name), a save
// under way, the id asked for while it runs, and a save that failed, which waits for the next start or the
// user's next action. Views ask for the clock id often; without this each ask would be a keyring round trip.
QString lastPersistedService, lastPersistedClockId;
QString savingClockId;
QString queuedClockId;
QString failedClockId;

// Keyring calls of the identifiers under way (tests wait for them to end).
int keyringCallsInFlight = 0;
struct KeyringCall {
    KeyringCall() { ++keyringCallsInFlight; }
    ~KeyringCall() { --keyringCallsInFlight; }
    KeyringCall(const KeyringCall&) = delete;
    KeyringCall& operator=(const KeyringCall&) = delete;
};

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
    if (auto stored = store.string(QStringLiteral("deviceId")); stored && !stored->isEmpty()) {
        const QString kept = store.string(kKeyringDeviceKey).value_or(QString());
        if (store.boolean(kProvisionalDeviceKey) && !kept.isEmpty() && kept != *stored) {
            // The keyring's id is the durable one; ours only stood in while it could not be asked.
            carryOverProfile(store, *stored, kept);
            store.setString(QStringLiteral("deviceId"), kept);
            store.remove(kProvisionalDeviceKey);
            store.remove(kKeyringDeviceKey);
            return kept;
        }
        return *stored;
    }
    // The keyring is asked after construction (keepDeviceIdInKeychain); until it has answered, a new id is
    // provisional and never written over what the keyring holds.
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    store.setString(QStringLiteral("deviceId"), id);
    store.setBool(kProvisionalDeviceKey, true);
    return id;
}

QCoro::Task<> AppSettings::keepDeviceIdInKeychain() {
    if (envDeviceId() || !cachedDeviceId_) co_return;
    const QString id = *cachedDeviceId_;
    const QPointer<AppSettings> self(this);
    const KeyringCall call;
    const Keychain::Found kept = co_await Keychain::copyMatching(kDeviceAccount);
    if (!self) co_return;
    switch (kept.status) {
        case SecretStore::Status::Ok:
            if (kept.text == id) {
                store_.remove(kProvisionalDeviceKey);
            } else if (kept.text && store_.boolean(kProvisionalDeviceKey)) {
                // A different durable id cannot replace ours while running; the next start takes it.
                store_.setString(kKeyringDeviceKey, *kept.text);
            }
            co_return;
        case SecretStore::Status::NotFound: {
            const bool saved = co_await Keychain::upsert(kDeviceAccount, id.toUtf8());
            if (saved && self) store_.remove(kProvisionalDeviceKey);
            co_return;
        }
        case SecretStore::Status::Unavailable:
            keyringUnavailable_ = true;
            // Locked or not started: asked again at the next start or when the user acts, never on a timer
            // (each ask may raise the desktop's unlock prompt).
            qCWarning(lcIds) << "keyring unavailable; the device id stays provisional until it answers";
            co_return;
    }
}

bool AppSettings::keyringIdle() {
    return keyringCallsInFlight == 0;
}

void AppSettings::retryKeyring() {
    failedClockId.clear();
    keyringUnavailable_ = false;
    keepDeviceIdInKeychain();
    ensureLocalClockId();
}

QCoro::Task<Keychain::Found> AppSettings::loadClockIdFromKeychain() {
    Keychain::Found found = co_await Keychain::copyMatching(kClockAccount);
    if (found.text) {
        const QString trimmed = found.text->trimmed();
        found.text = isValidClockId(trimmed) ? std::optional(trimmed) : std::nullopt;
    }
    co_return found;
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
    if (!savingClockId.isEmpty()) {
        // One save at a time: two writes of the account can reach the keyring in either order, and an
        // older id must never land after a newer one. The newest asked for follows when this one is done.
        queuedClockId = trimmed == savingClockId ? QString() : trimmed;
        return;
    }
    const QString service = SecretStore::serviceName();
    if (trimmed == lastPersistedClockId && service == lastPersistedService) return;
    if (trimmed == failedClockId) return;
    savingClockId = trimmed;
    // Fire and forget: the store's copy stands whatever the keyring does.
    [](QString id, QString service) -> QCoro::Task<> {
        const KeyringCall call;
        const bool saved = co_await Keychain::upsert(kClockAccount, id.toUtf8());
        savingClockId.clear();
        if (saved) {
            lastPersistedService = service;
            lastPersistedClockId = id;
            if (failedClockId == id) failedClockId.clear();
        } else {
            failedClockId = id;
        }
        // Started while this call still counts, so waiting for the keyring to go quiet also waits for it.
        const QString next = std::exchange(queuedClockId, QString());
        if (!next.isEmpty()) persistClockIdToKeychain(next);
    }(trimmed, service);
}

bool AppSettings::isProvisionalClockId(const QString& clockId) const {
    return store_.string(kProvisionalClockKey) == clockId.trimmed();
}

QString AppSettings::ensureLocalClockId() {
    const QString current = values_.clockId.trimmed();
    if (isValidClockId(current)) {
        if (isProvisionalClockId(current)) {
            settleClockIdWithKeychain();
        } else {
            persistClockIdToKeychain(current);
        }
        return current;
    }
    if (std::optional<QString> stored = loadClockIdFromUserDefaults(store_, deviceId())) {
        setClockId(*stored);  // saved to the keyring by the setting's observer
        return *stored;
    }
    // The keyring may hold the clock's id; until it has been asked, a new one is provisional.
    const QString id = newClockId();
    store_.setString(kProvisionalClockKey, id);
    setClockId(id);
    settleClockIdWithKeychain();
    return id;
}

QCoro::Task<> AppSettings::settleClockIdWithKeychain() {
    // One ask at a time; after the keyring was found unavailable, none until the user acts (retryKeyring).
    if (clockSettling_ || keyringUnavailable_) co_return;
    clockSettling_ = true;
    const QPointer<AppSettings> self(this);
    const KeyringCall call;
    const Keychain::Found kept = co_await loadClockIdFromKeychain();
    if (!self) co_return;
    clockSettling_ = false;
    if (kept.status == SecretStore::Status::Unavailable) keyringUnavailable_ = true;
    const QString current = values_.clockId.trimmed();
    if (kept.status == SecretStore::Status::Unavailable || !isProvisionalClockId(current)) co_return;
    store_.remove(kProvisionalClockKey);
    if (kept.text && *kept.text != current) {
        setClockId(*kept.text);  // the clock's durable identity
        co_return;
    }
    persistClockIdToKeychain(current);
}
