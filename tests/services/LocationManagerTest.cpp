#include <gtest/gtest.h>

#include "FakePositionSource.h"
#include "TempHome.h"
#include "services/LocationManager.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>
#include <QNmeaPositionInfoSource>
#include <QTest>

using Authorization = LocationManager::Authorization;

namespace {

using FakeSource = FakePositionSource;

struct Counts {
    int coordinate = 0, authorization = 0, updating = 0;
};

void count(LocationManager& m, Counts& c) {
    QObject::connect(&m, &LocationManager::coordinateChanged, [&c] { ++c.coordinate; });
    QObject::connect(&m, &LocationManager::authorizationChanged, [&c] { ++c.authorization; });
    QObject::connect(&m, &LocationManager::updatingChanged, [&c] { ++c.updating; });
}

}  // namespace

TEST(LocationManager, AOneShotFixPublishesTheCoordinateAndAuthorizes) {
    auto* source = new FakeSource;
    LocationManager m(source, nullptr, [] { return true; });
    Counts c;
    count(m, c);
    EXPECT_EQ(m.authorization(), Authorization::NotDetermined);
    EXPECT_FALSE(m.hasCoordinate());
    EXPECT_EQ(source->preferredPositioningMethods(), QGeoPositionInfoSource::NonSatellitePositioningMethods);
    EXPECT_EQ(source->updateInterval(), LocationManager::updateIntervalMs);

    m.requestLocation();
    ASSERT_EQ(source->requestTimeouts, std::vector<int>{LocationManager::oneShotTimeoutMs});
    source->fix(51.5074, -0.1278);
    EXPECT_EQ(m.authorization(), Authorization::Authorized);
    ASSERT_TRUE(m.coordinate());
    EXPECT_DOUBLE_EQ(m.latitude(), 51.5074);
    EXPECT_DOUBLE_EQ(m.longitude(), -0.1278);
    EXPECT_EQ(c.coordinate, 1);
    EXPECT_EQ(c.authorization, 1);
}

TEST(LocationManager, JitterAndBrokenFixesDoNotMoveThePlace) {
    auto* source = new FakeSource;
    LocationManager m(source, nullptr, [] { return true; });
    Counts c;
    count(m, c);
    source->fix(21.4225, 39.8262);
    ASSERT_EQ(c.coordinate, 1);

    struct Row {
        const char* what;
        double lat, lon;
    };
    const Row ignored[] = {
        {"within 1e-5 degrees", 21.422509, 39.826209}, {"the null island fix", 0.0, 0.0},
        {"near null island", 0.0009, -0.0009},         {"not a number", std::nan(""), 39.0},
        {"latitude out of range", 91.0, 39.0},
    };
    for (const Row& r : ignored) {
        source->fix(r.lat, r.lon);
        EXPECT_EQ(c.coordinate, 1) << r.what;
        EXPECT_DOUBLE_EQ(m.latitude(), 21.4225) << r.what;
    }
    source->fix(21.4226, 39.8262);  // 1e-4: a real move
    EXPECT_EQ(c.coordinate, 2);
    source->fix(0.0, 0.002);  // off the null point by more than 0.001: a place like any other
    EXPECT_EQ(c.coordinate, 3);
}

TEST(LocationManager, RefusalIsDeniedOnlyWhenAServiceExists) {
    struct Row {
        QGeoPositionInfoSource::Error error;
        bool serviceExists;
        Authorization expected;
    };
    const Row rows[] = {
        {QGeoPositionInfoSource::AccessError, true, Authorization::Denied},
        {QGeoPositionInfoSource::ClosedError, true, Authorization::Denied},
        {QGeoPositionInfoSource::AccessError, false, Authorization::Unavailable},
        {QGeoPositionInfoSource::UpdateTimeoutError, true, Authorization::NotDetermined},
        {QGeoPositionInfoSource::UnknownSourceError, false, Authorization::NotDetermined},
    };
    for (const Row& r : rows) {
        auto* source = new FakeSource;
        LocationManager m(source, nullptr, [&r] { return r.serviceExists; });
        m.requestLocation();
        source->fail(r.error);
        EXPECT_EQ(m.authorization(), r.expected) << int(r.error) << " " << r.serviceExists;
    }
}

TEST(LocationManager, ATimeoutKeepsTheLastKnownPlace) {
    auto* source = new FakeSource;
    LocationManager m(source, nullptr, [] { return true; });
    source->fix(40.0, -74.0);
    m.requestLocation();
    source->fail(QGeoPositionInfoSource::UpdateTimeoutError);
    EXPECT_EQ(m.authorization(), Authorization::Authorized);
    EXPECT_TRUE(m.hasCoordinate());
    EXPECT_DOUBLE_EQ(m.latitude(), 40.0);
}

TEST(LocationManager, ContinuousUpdatesStartAndStopOnce) {
    auto* source = new FakeSource;
    LocationManager m(source, nullptr, [] { return true; });
    Counts c;
    count(m, c);
    m.startUpdating();
    m.startUpdating();
    EXPECT_TRUE(m.isUpdating());
    EXPECT_EQ(source->starts, 1);
    source->fix(33.0, 44.0);
    source->fix(33.5, 44.0);
    EXPECT_EQ(c.coordinate, 2);
    m.stopUpdating();
    m.stopUpdating();
    EXPECT_FALSE(m.isUpdating());
    EXPECT_EQ(source->stops, 1);
    EXPECT_EQ(c.updating, 2);
}

TEST(LocationManager, NoSourceMeansNoDeviceLocation) {
    LocationManager m(static_cast<QGeoPositionInfoSource*>(nullptr));
    EXPECT_EQ(m.authorization(), Authorization::Unavailable);
    m.requestLocation();
    m.startUpdating();
    EXPECT_FALSE(m.isUpdating());
    EXPECT_FALSE(m.hasCoordinate());
}

// A real Qt positioning source replaying recorded sentences.
TEST(LocationManager, FollowsARealSourceReplayingARecording) {
    auto* source = new QNmeaPositionInfoSource(QNmeaPositionInfoSource::SimulationMode);
    auto* file = new QFile(QStringLiteral(ORVANE_FIXTURES_DIR "/location/makkah.nmea"), source);
    ASSERT_TRUE(file->open(QIODevice::ReadOnly));
    source->setDevice(file);
    LocationManager m(source, nullptr, [] { return true; });
    m.requestLocation();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.hasCoordinate(); }, 5000));
    EXPECT_EQ(m.authorization(), Authorization::Authorized);
    EXPECT_NEAR(m.latitude(), 21.4225, 1e-6);
    EXPECT_NEAR(m.longitude(), 39.8262, 1e-6);
}

// The platform's own service: on a machine without GeoClue (like the test machine) asking for the
// location ends in "unavailable", never in a made-up place.
TEST(LocationManager, WithoutAPositioningServiceTheDeviceLocationIsUnavailable) {
    if (QDBusConnection::systemBus().isConnected()) GTEST_SKIP() << "a system bus exists; GeoClue may answer";
    TempHome home;
    LocationManager m;
    m.requestLocation();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.authorization() == Authorization::Unavailable; }, 5000));
    EXPECT_FALSE(m.hasCoordinate());
}

// A clock at a fixed place never asks for a position, so the platform's service is not even opened.
TEST(LocationManager, ThePlatformServiceOpensOnlyWithTheFirstRequest) {
    TempHome home;
    LocationManager m;
    EXPECT_TRUE(m.findChildren<QGeoPositionInfoSource*>().isEmpty());
    EXPECT_EQ(m.authorization(), Authorization::NotDetermined);
}
