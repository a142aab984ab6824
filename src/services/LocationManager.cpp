#include "services/LocationManager.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <cmath>

namespace {

constexpr auto geoClueService = "org.freedesktop.GeoClue2";

// A coordinate counts as moved only beyond this, so jitter of the same fix does not reload the clock.
constexpr double movedDegrees = 1e-5;

QGeoPositionInfoSource* platformSource(QObject* parent) {
    // GeoClue asks the user on behalf of a desktop entry; ours is installed as "orvane".
    return QGeoPositionInfoSource::createDefaultSource(
        {{QStringLiteral("desktopId"), QStringLiteral("orvane")}}, parent);
}

// GeoClue reports "access" both when the user refuses and when the service does not exist; only the
// latter is "no device location" for good.
bool locationServiceExists() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || !bus.interface()) return false;
    const QString name = QString::fromLatin1(geoClueService);
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(name);
    if (registered.isValid() && registered.value()) return true;
    const QDBusReply<QStringList> activatable = bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(name);
}

// The conventions' "no coordinates": both values within 0.001 of zero, as a broken fix reports them.
bool usable(const QGeoCoordinate& c) {
    return c.isValid() && std::isfinite(c.latitude()) && std::isfinite(c.longitude()) &&
           !(std::abs(c.latitude()) <= 0.001 && std::abs(c.longitude()) <= 0.001);
}

}  // namespace

LocationManager::LocationManager(QObject* parent)
    : QObject(parent), serviceExists_(locationServiceExists), platformPending_(true) {}

LocationManager::LocationManager(QGeoPositionInfoSource* source, QObject* parent,
                                 std::function<bool()> serviceExists)
    : QObject(parent), serviceExists_(serviceExists ? std::move(serviceExists) : locationServiceExists) {
    attach(source);
}

bool LocationManager::ensureSource() {
    // The platform's service (and the positioning plugins behind it) is loaded only once a position is
    // wanted: a clock at a fixed place never asks.
    if (platformPending_) {
        platformPending_ = false;
        attach(platformSource(nullptr));
    }
    return source_ != nullptr;
}

void LocationManager::attach(QGeoPositionInfoSource* source) {
    source_ = source;
    if (!source_) {
        setAuthorization(Authorization::Unavailable);
        return;
    }
    source_->setParent(this);
    // Connected first: choosing the methods already asks the service what it offers, and a missing
    // service answers that with an error.
    connect(source_, &QGeoPositionInfoSource::positionUpdated, this, &LocationManager::onPosition);
    connect(source_, &QGeoPositionInfoSource::errorOccurred, this, &LocationManager::onError);
    source_->setPreferredPositioningMethods(QGeoPositionInfoSource::NonSatellitePositioningMethods);
    source_->setUpdateInterval(std::max(updateIntervalMs, source_->minimumUpdateInterval()));
}

void LocationManager::requestLocation() {
    if (!ensureSource()) return;
    source_->requestUpdate(oneShotTimeoutMs);
}

void LocationManager::startUpdating() {
    if (updating_ || !ensureSource()) return;
    updating_ = true;
    source_->startUpdates();
    emit updatingChanged();
}

void LocationManager::stopUpdating() {
    if (!source_ || !updating_) return;
    updating_ = false;
    source_->stopUpdates();
    emit updatingChanged();
}

void LocationManager::onPosition(const QGeoPositionInfo& info) {
    const QGeoCoordinate c = info.coordinate();
    if (!usable(c)) return;
    setAuthorization(Authorization::Authorized);
    const QGeoCoordinate flat(c.latitude(), c.longitude());
    if (coordinate_ && std::abs(coordinate_->latitude() - flat.latitude()) <= movedDegrees &&
        std::abs(coordinate_->longitude() - flat.longitude()) <= movedDegrees)
        return;
    coordinate_ = flat;
    emit coordinateChanged();
}

void LocationManager::onError(QGeoPositionInfoSource::Error error) {
    switch (error) {
        case QGeoPositionInfoSource::AccessError:
        case QGeoPositionInfoSource::ClosedError:
            setAuthorization(serviceExists_() ? Authorization::Denied : Authorization::Unavailable);
            break;
        case QGeoPositionInfoSource::UpdateTimeoutError:  // no fix this time; what we knew still holds
        case QGeoPositionInfoSource::UnknownSourceError:
        case QGeoPositionInfoSource::NoError:
            break;
    }
}

void LocationManager::setAuthorization(Authorization authorization) {
    if (authorization == authorization_) return;
    authorization_ = authorization;
    emit authorizationChanged();
}
