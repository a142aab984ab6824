#pragma once

#include <QGeoPositionInfoSource>
#include <vector>

// A positioning service driven by the test: it records what was asked of it, and the test makes it
// answer by emitting its signals. For test programs that link the services layer (Qt Positioning).
class FakePositionSource : public QGeoPositionInfoSource {
  public:
    FakePositionSource() : QGeoPositionInfoSource(nullptr) {}
    QGeoPositionInfo lastKnownPosition(bool = false) const override { return {}; }
    PositioningMethods supportedPositioningMethods() const override { return AllPositioningMethods; }
    int minimumUpdateInterval() const override { return 1000; }
    Error error() const override { return NoError; }
    void startUpdates() override { ++starts; }
    void stopUpdates() override { ++stops; }
    void requestUpdate(int timeout = 0) override { requestTimeouts.push_back(timeout); }

    void fix(double lat, double lon) { emit positionUpdated(QGeoPositionInfo(QGeoCoordinate(lat, lon), {})); }
    void fail(Error e) { emit errorOccurred(e); }

    int starts = 0, stops = 0;
    std::vector<int> requestTimeouts;
};
