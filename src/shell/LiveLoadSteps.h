#pragma once

#include "clock/ClockLoadSteps.h"

// The clock's loads over the real engine and network: the Hijri confirmation, the bundle builder, the
// remote assets and the check-in.
class LiveLoadSteps : public ClockLoadSteps {
  public:
    QCoro::Task<> syncHijri(double lat, double lon, QDateTime moment, bool force) override;
    QCoro::Task<ClockBundle> build(double lat, double lon, SettingsSnapshot settings,
                                   std::optional<QString> cityOverride,
                                   std::optional<QString> countryOverride, bool forceNetwork) override;
    QCoro::Task<std::optional<ThemeConfig>> syncAssets(SettingsSnapshot settings, ClockBundle bundle,
                                                       bool force) override;
    DialLogoPick pickDialLogo(int logoRotateIndex) override;
    QCoro::Task<APIClient::CheckinReply> checkin(QJsonObject body,
                                                 std::chrono::milliseconds timeout) override;
};
