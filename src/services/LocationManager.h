#pragma once

#include <QGeoCoordinate>
#include <QGeoPositionInfoSource>
#include <QObject>
#include <functional>
#include <optional>

// The device's own position, coarse (about a kilometre is all prayer times need), for when no place was
// chosen by hand. Unavailable means "no device location": the clock then uses the other places it knows.
class LocationManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasCoordinate READ hasCoordinate NOTIFY coordinateChanged)
    Q_PROPERTY(double latitude READ latitude NOTIFY coordinateChanged)
    Q_PROPERTY(double longitude READ longitude NOTIFY coordinateChanged)
    Q_PROPERTY(Authorization authorization READ authorization NOTIFY authorizationChanged)
    Q_PROPERTY(bool updating READ isUpdating NOTIFY updatingChanged)
  public:
    enum class Authorization {
        NotDetermined,  // nothing asked yet
        Authorized,     // a position has arrived
        Denied,         // the location service refused (switched off, or the user said no)
        Unavailable     // there is no location service on this machine
    };
    Q_ENUM(Authorization)

    // How long a one-shot request waits for a first fix.
    static constexpr int oneShotTimeoutMs = 30000;
    // Continuous updates at most this often; the clock does not move fast.
    static constexpr int updateIntervalMs = 60000;

    // Uses the platform's positioning service (GeoClue 2, as the desktop entry "orvane"), opened at the first
    // request.
    explicit LocationManager(QObject* parent = nullptr);
    // Uses `source` (taken over; may be null for a machine without any); the seam for tests, which may
    // also say whether a location service exists (by default GeoClue on the system bus is looked for).
    explicit LocationManager(QGeoPositionInfoSource* source, QObject* parent = nullptr,
                             std::function<bool()> serviceExists = {});

    std::optional<QGeoCoordinate> coordinate() const { return coordinate_; }
    bool hasCoordinate() const { return coordinate_.has_value(); }
    double latitude() const { return coordinate_ ? coordinate_->latitude() : 0.0; }
    double longitude() const { return coordinate_ ? coordinate_->longitude() : 0.0; }
    Authorization authorization() const { return authorization_; }
    bool isUpdating() const { return updating_; }

    // One fix, then the service is let go. Asking is also how permission is asked for.
    void requestLocation();
    void startUpdating();
    void stopUpdating();

  signals:
    void coordinateChanged();
    void authorizationChanged();
    void updatingChanged();

  private:
    bool ensureSource();
    void attach(QGeoPositionInfoSource* source);
    void onPosition(const QGeoPositionInfo& info);
    void onError(QGeoPositionInfoSource::Error error);
    void setAuthorization(Authorization authorization);

    QGeoPositionInfoSource* source_ = nullptr;
    std::function<bool()> serviceExists_;
    std::optional<QGeoCoordinate> coordinate_;
    Authorization authorization_ = Authorization::NotDetermined;
    bool updating_ = false;
    // The platform's service is still to be opened at the first request.
    bool platformPending_ = false;
};
