#include "services/Keychain.h"

#include <QStringDecoder>

namespace Keychain {

std::optional<QString> copyMatching(const QString& account, SecretStore::Status* status) {
    const SecretStore::ReadResult result = SecretStore::read(account);
    if (status) *status = result.status;
    if (result.status != SecretStore::Status::Ok) return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(result.data);
    if (decoder.hasError() || text.isEmpty()) return std::nullopt;
    return text;
}

bool upsert(const QString& account, const QByteArray& data) {
    return SecretStore::write(account, data) == SecretStore::Status::Ok;
}

}  // namespace Keychain
