#include "engine/ThemeCache.h"

#include "engine/APIClient.h"
#include "engine/NetworkDiscipline.h"
#include "platform/DefaultsStore.h"

namespace ThemeCache {

QCoro::Task<std::optional<ThemeConfig>> sync() {
    const APIClient& api = APIClient::shared();
    std::optional<ThemeConfig> theme = co_await api.fetchTheme();
    if (!theme) theme = (co_await api.fetchBundleAssets()).theme;
    if (!theme) co_return cached();
    const std::optional<QByteArray> bytes = JsonCoding::encodeRecord(*theme);
    if (!bytes) co_return cached();
    DefaultsStore::standard().setData(key, *bytes);
    NetworkDiscipline::storeStamp(stampKey);
    co_return theme;
}

}  // namespace ThemeCache
