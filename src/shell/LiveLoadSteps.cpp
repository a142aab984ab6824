#include "shell/LiveLoadSteps.h"

#include "engine/APIClient.h"
#include "engine/HijriAuthority.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/ThemeCache.h"
#include "services/BlessingsCache.h"
#include "services/LogoDiskCache.h"
#include "services/NoStreetViewDiskCache.h"

QCoro::Task<> LiveLoadSteps::syncHijri(double lat, double lon, QDateTime moment, bool force) {
    co_await HijriAuthority::sync(lat, lon, moment, force);
}

QCoro::Task<ClockBundle> LiveLoadSteps::build(double lat, double lon, SettingsSnapshot settings,
                                              std::optional<QString> cityOverride,
                                              std::optional<QString> countryOverride, bool forceNetwork) {
    co_return co_await LocalBundleBuilder::build(lat, lon, std::move(settings), std::move(cityOverride),
                                                 std::move(countryOverride), forceNetwork);
}

QCoro::Task<std::optional<ThemeConfig>> LiveLoadSteps::syncAssets(SettingsSnapshot settings, ClockBundle,
                                                                  bool force) {
    // The four syncs are independent of one another; they run together and each keeps its cache on failure.
    auto logos = LogoDiskCache::shared().syncDialLogos(settings, force);
    auto streetView = NoStreetViewDiskCache::shared().sync(force, settings.geoRefreshHours);
    auto theme = ThemeCache::sync();
    auto blessings = BlessingsCache::sync(force, settings.geoRefreshHours);
    co_await logos;
    co_await streetView;
    std::optional<ThemeConfig> synced = co_await theme;
    co_await blessings;
    co_return synced;
}

ClockLoadSteps::DialLogoPick LiveLoadSteps::pickDialLogo(int logoRotateIndex) {
    const LogoDiskCache::Pick pick = LogoDiskCache::shared().pickDialLogo(logoRotateIndex);
    return {pick.url, pick.nextRotateIndex};
}

QCoro::Task<APIClient::CheckinReply> LiveLoadSteps::checkin(QJsonObject body,
                                                            std::chrono::milliseconds timeout) {
    co_return co_await APIClient::shared().postCheckin(std::move(body), timeout);
}
