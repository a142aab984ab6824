#pragma once

#include "engine/APIClient.h"
#include "model/ClockBundle.h"
#include "model/SettingsSnapshot.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QJsonObject>
#include <QUrl>
#include <optional>

// What one load of the clock asks of the layers below: confirm the Hijri day offset, build the bundle, sync
// the remote assets, check in. The clock state owns the order, the
// persistence and the alarms; these steps own the network and the engine, so tests can stand in for them.
class ClockLoadSteps {
  public:
    virtual ~ClockLoadSteps() = default;

    // `moment` names the day to confirm.
    virtual QCoro::Task<> syncHijri(double lat, double lon, QDateTime moment, bool force) = 0;
    virtual QCoro::Task<ClockBundle> build(double lat, double lon, SettingsSnapshot settings,
                                           std::optional<QString> cityOverride,
                                           std::optional<QString> countryOverride, bool forceNetwork) = 0;
    // Dial logos, the street-view fallback image, the theme and the devotional cards. Gives the theme in
    // force afterwards, nothing when none was ever had.
    virtual QCoro::Task<std::optional<ThemeConfig>> syncAssets(SettingsSnapshot settings, ClockBundle bundle,
                                                               bool force) = 0;

    // The dial logo for this run among those cached, and the rotation position to store for the next run.
    struct DialLogoPick {
        std::optional<QUrl> url;
        int nextRotateIndex = 0;
    };
    virtual DialLogoPick pickDialLogo(int logoRotateIndex) = 0;

    // POSTs a presence check-in, waiting at most `timeout` for the reply.
    virtual QCoro::Task<APIClient::CheckinReply> checkin(QJsonObject body,
                                                         std::chrono::milliseconds timeout) = 0;
};
