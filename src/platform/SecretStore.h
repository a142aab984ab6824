#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QString>
#include <chrono>

// Small secrets kept by account name in the desktop keyring (Secret Service through QtKeychain). Calls are
// coroutines on QtKeychain's own asynchronous jobs and D-Bus calls, bounded in time: the GUI thread never
// waits on the keyring. A keyring that is locked, missing or not answering is "unavailable", which callers
// must never treat as "not found". Only where no session bus is configured at all (a bare server or
// container) do the secrets live in a 0600 file under $XDG_DATA_HOME/Orvane instead.
namespace SecretStore {

enum class Status { Ok, NotFound, Unavailable };

struct ReadResult {
    Status status = Status::Unavailable;
    QByteArray data;  // set only with Ok
};

QCoro::Task<ReadResult> read(QString account);
QCoro::Task<Status> write(QString account, QByteArray data);
QCoro::Task<Status> remove(QString account);

// How long one keyring call may take before it counts as unavailable.
inline constexpr std::chrono::milliseconds callTimeout{3000};

// After a call ran into the timeout, further calls fail at once for this long instead of waiting again on a
// keyring that hangs.
inline constexpr std::chrono::milliseconds hungBackoff{60000};

// Whether the file fallback is in use (no session bus configured).
bool usesFileFallback();
QString fallbackFilePath();

// The name the items are filed under in the keyring ("Orvane"); tests give each run its own so they never
// touch the user's items or each other's.
void setServiceName(const QString& name);
QString serviceName();

// Forgets an earlier hang, so the next call asks the keyring again (tests, a resumed session).
void resetBackoff();

}  // namespace SecretStore
