#include "shell/LiveLoadSteps.h"

#include "engine/HijriAuthority.h"
#include "engine/LocalBundleBuilder.h"

QCoro::Task<> LiveLoadSteps::syncHijri(double lat, double lon, QDateTime moment, bool force) {
    co_await HijriAuthority::sync(lat, lon, moment, force);
}

QCoro::Task<ClockBundle> LiveLoadSteps::build(double lat, double lon, SettingsSnapshot settings,
                                              std::optional<QString> cityOverride,
                                              std::optional<QString> countryOverride, bool forceNetwork) {
    co_return co_await LocalBundleBuilder::build(lat, lon, std::move(settings), std::move(cityOverride),
                                                 std::move(countryOverride), forceNetwork);
}

QCoro::Task<> LiveLoadSteps::syncAssets(SettingsSnapshot, ClockBundle, bool) {
    co_return;
}

ClockLoadSteps::DialLogoPick LiveLoadSteps::pickDialLogo(int logoRotateIndex) {
    return {std::nullopt, logoRotateIndex};
}

QCoro::Task<bool> LiveLoadSteps::checkin(QJsonObject) {
    co_return false;
}
