#pragma once

#include "platform/SecretStore.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The clock's identifiers in the keyring, by account name ("orvane.deviceId", "orvane.clockId"). Copies
// there survive a wipe of the settings store and a reinstall.
namespace Keychain {

// The item's text. Nothing for a missing item, an unreachable keyring, bytes that are not UTF-8 and empty
// text; `status` (when given) tells an unreachable keyring apart from a missing item.
std::optional<QString> copyMatching(const QString& account, SecretStore::Status* status = nullptr);

// Stores `data` under the account, replacing what was there; true when the item now holds the data.
bool upsert(const QString& account, const QByteArray& data);

}  // namespace Keychain
