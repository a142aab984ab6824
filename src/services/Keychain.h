#pragma once

#include "platform/SecretStore.h"

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QString>
#include <optional>

// The clock's identifiers in the keyring, by account name ("orvane.deviceId", "orvane.clockId"). Copies
// there survive a wipe of the settings store and a reinstall.
namespace Keychain {

// What a read found: the item's text, or nothing for a missing item, an unreachable keyring, bytes that are
// not UTF-8 and empty text; `status` tells an unreachable keyring apart from a missing item.
struct Found {
    std::optional<QString> text;
    SecretStore::Status status = SecretStore::Status::Unavailable;
};

QCoro::Task<Found> copyMatching(QString account);

// Stores `data` under the account, replacing what was there; true when the item now holds the data.
QCoro::Task<bool> upsert(QString account, QByteArray data);

}  // namespace Keychain
