#include "services/BlessingsCache.h"

#include "engine/APIClient.h"
#include "engine/NetworkDiscipline.h"
#include "platform/Http.h"
#include "platform/StoredFile.h"
#include "services/CacheFolder.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace BlessingsCache {

QString directoryURL() {
    return CacheFolder::path(u"Blessings"_s);
}

QString filePath() {
    return directoryURL() + u"/blessings.json"_s;
}

std::optional<BlessingsConfig> stored() {
    const std::optional<QByteArray> bytes = StoredFile::readWithin(filePath(), Http::jsonReplyMaxBytes);
    if (!bytes) return std::nullopt;
    return JsonCoding::decode<BlessingsConfig>(*bytes);
}

BlessingsConfig current() {
    return stored().value_or(BlessingsConfig::defaults());
}

QCoro::Task<BlessingsConfig> sync(bool force, int maxAgeHours) {
    const std::optional<BlessingsConfig> kept = stored();
    const double maxAge = double(std::max(1, maxAgeHours)) * 3600.0;
    if (!force && kept && NetworkDiscipline::isFresh(stampKey, maxAge)) co_return *kept;

    const std::optional<BlessingsConfig> fetched = co_await APIClient::shared().fetchBlessings();
    if (!fetched) co_return kept.value_or(BlessingsConfig::defaults());
    const bool replace = !kept || kept->version != fetched->version || !kept->updatedAt;
    if (replace) {
        const std::optional<QByteArray> bytes = JsonCoding::encodeRecord(*fetched);
        if (!bytes || !CacheFolder::writeAtomically(filePath(), *bytes))
            co_return kept.value_or(BlessingsConfig::defaults());
    }
    NetworkDiscipline::storeStamp(stampKey);
    co_return replace ? *fetched : *kept;
}

}  // namespace BlessingsCache
