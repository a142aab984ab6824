#pragma once

#include "FixtureServer.h"
#include "clock/ClockLoadSteps.h"
#include "engine/CivilDay.h"
#include "engine/LocalHijri.h"
#include "model/ClockBundle.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QCoro/QCoroTimer>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTest>
#include <cmath>
#include <functional>

namespace clocktest {

// A bundle for a place at `tzOffsetHours`, dated the place's day of `nowMs`, with the given prayer times.
inline ClockBundle bundleFor(double lat, double lon, double tzOffsetHours, std::int64_t nowMs,
                             const JsonCoding::StringMap& prayers) {
    std::optional<ClockBundle> b = ClockBundle::fromJson(
        QJsonDocument::fromJson(FixtureServer::fixture("bundle-minimal.json")).object());
    b->location.lat = lat;
    b->location.lon = lon;
    b->location.tzOffsetHours = tzOffsetHours;
    b->location.city = QStringLiteral("Testville");
    const int offset = int(std::trunc(tzOffsetHours * 3600));
    b->date.gregorian = CivilDay::isoText(CivilDay::dayOf(nowMs, offset));
    b->prayers = prayers;
    return *b;
}

inline JsonCoding::StringMap fivePrayers(const char* fajr, const char* dhuhr, const char* asr,
                                         const char* maghrib, const char* isha) {
    return {{QStringLiteral("fajr"), QLatin1String(fajr)},
            {QStringLiteral("sunrise"), QStringLiteral("06:30")},
            {QStringLiteral("dhuhr"), QLatin1String(dhuhr)},
            {QStringLiteral("asr"), QLatin1String(asr)},
            {QStringLiteral("maghrib"), QLatin1String(maghrib)},
            {QStringLiteral("isha"), QLatin1String(isha)}};
}

// Stands in for the engine and the network: builds at once (unless held), records every call.
class FakeSteps : public ClockLoadSteps {
  public:
    double tzOffsetHours = 3.0;
    // Prayer times for the place's civil day (days since 1970); the default is the same every day.
    std::function<JsonCoding::StringMap(std::int64_t day)> timesForDay = [](std::int64_t) {
        return fivePrayers("05:10", "12:20", "15:40", "18:30", "20:00");
    };
    QList<Alert> alerts;
    std::optional<QUrl> logo;
    APIClient::CheckinReply checkinReply = APIClient::CheckinReply::Taken;
    bool holdBuilds = false;           // builds wait until release()
    bool holdCheckins = false;         // check-ins wait while set
    bool holdHijri = false;            // the Hijri confirmation waits while set
    bool holdAssets = false;           // the asset syncs wait while set
    std::optional<ThemeConfig> theme;  // what the theme sync gives

    int hijriCalls = 0, builds = 0, assetSyncs = 0;
    QList<int> picks;  // the rotation positions asked for
    QList<QJsonObject> checkins;
    QList<std::chrono::milliseconds> checkinTimeouts;
    QList<std::pair<double, double>> builtFor;
    QList<bool> devicePlaces;  // whether each build was told the place is this computer's own

    QCoro::Task<> syncHijri(double, double, QDateTime, bool) override {
        ++hijriCalls;
        while (holdHijri) co_await QCoro::sleepFor(std::chrono::milliseconds(5));
    }
    QCoro::Task<ClockBundle> build(double lat, double lon, SettingsSnapshot settings,
                                   std::optional<QString> city, std::optional<QString>, bool) override {
        ++builds;
        builtFor.append({lat, lon});
        devicePlaces.append(settings.devicePlace);
        if (holdBuilds) {
            const int ticket = ++held_;
            while (released_ < ticket) co_await QCoro::sleepFor(std::chrono::milliseconds(5));
        }
        const std::int64_t now = Clock::nowMs();
        const int offset = int(std::trunc(tzOffsetHours * 3600));
        ClockBundle b = bundleFor(lat, lon, tzOffsetHours, now, timesForDay(CivilDay::dayOf(now, offset)));
        if (city) b.location.city = *city;
        const LocalHijri::YMD hijri =
            LocalHijri::displayYMD(Clock::now(), LocalHijri::Location{lat, lon, tzOffsetHours}, Clock::now());
        b.date.hijri.year = hijri.year;
        b.date.hijri.month = hijri.month;
        b.date.hijri.day = hijri.day;
        b.alerts = alerts;
        co_return b;
    }
    QCoro::Task<std::optional<ThemeConfig>> syncAssets(SettingsSnapshot, ClockBundle, bool) override {
        ++assetSyncs;
        while (holdAssets) co_await QCoro::sleepFor(std::chrono::milliseconds(5));
        co_return theme;
    }
    DialLogoPick pickDialLogo(int logoRotateIndex) override {
        picks.append(logoRotateIndex);
        return DialLogoPick{logo, logoRotateIndex + 1};
    }
    QCoro::Task<APIClient::CheckinReply> checkin(QJsonObject body,
                                                 std::chrono::milliseconds timeout) override {
        checkins.append(body);
        checkinTimeouts.append(timeout);
        while (holdCheckins) co_await QCoro::sleepFor(std::chrono::milliseconds(5));
        co_return checkinReply;
    }

    // Lets held builds finish, oldest first.
    void releaseOne() { ++released_; }

  private:
    int held_ = 0;
    int released_ = 0;
};

// Counts a signal's emissions.
struct Counter {
    int n = 0;
    int count() const { return n; }
};

inline void settle(int ms) {
    QTest::qWait(ms);
}

}  // namespace clocktest
