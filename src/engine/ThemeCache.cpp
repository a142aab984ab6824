#include "engine/ThemeCache.h"

#include "platform/DefaultsStore.h"

namespace ThemeCache {

std::optional<ThemeConfig> cached() {
    const std::optional<QByteArray> bytes = DefaultsStore::standard().data(key);
    if (!bytes) return std::nullopt;
    return JsonCoding::decode<ThemeConfig>(*bytes);
}

}  // namespace ThemeCache
