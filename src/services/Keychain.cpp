#include "services/Keychain.h"

#include <QStringDecoder>

namespace Keychain {

QCoro::Task<Found> copyMatching(QString account) {
    const SecretStore::ReadResult result = co_await SecretStore::read(account);
    if (result.status != SecretStore::Status::Ok) co_return Found{std::nullopt, result.status};
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(result.data);
    if (decoder.hasError() || text.isEmpty()) co_return Found{std::nullopt, result.status};
    co_return Found{text, result.status};
}

QCoro::Task<bool> upsert(QString account, QByteArray data) {
    co_return co_await SecretStore::write(account, data) == SecretStore::Status::Ok;
}

}  // namespace Keychain
