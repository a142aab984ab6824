#include "ui/face/ClockFaceController.h"
#include "ui/panels/NasaSunImageCache.h"
#include "ui/panels/NasaSunImageView.h"

#include <QQuickWindow>

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>
#include <QUrlQuery>

#include "Await.h"
#include "FakeClock.h"
#include "FixtureServer.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "services/InstallCleanup.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString latestPath = u"/assets/img/latest/latest_256_0193.jpg"_s;

QByteArray jpeg(QColor color) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// A private home, the solar host on the loopback server and a 12-hour window for each test.
class SunPicture : public ::testing::Test {
  protected:
    void SetUp() override {
        DefaultsStore::resetStandard();
        saved_ = Endpoints::current();
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
        NasaSunImage::preferredMaxAgeHours = 12;
    }
    void TearDown() override {
        Endpoints::setCurrent(saved_);
        DefaultsStore::resetStandard();
        NasaSunImage::preferredMaxAgeHours = 12;
    }
    void serve(const QByteArray& body, int status = 200) {
        server.route(latestPath, FixtureServer::Reply{status, body, {{"Content-Type", "image/jpeg"}}, {}});
    }
    std::optional<QByteArray> fetchDefault() {
        return await(NasaSunImage::fetch(NasaSunImage::fetchURL(std::nullopt)));
    }

    TempHome home;
    FixtureServer server;
    Endpoints saved_;
};

}  // namespace

TEST_F(SunPicture, UnusableAddressesGiveTheDefault) {
    const std::optional<QString> rows[] = {std::nullopt,
                                           u""_s,
                                           u"   "_s,
                                           u"::not a url"_s,
                                           u"example.org/sun.jpg"_s,
                                           u"ftp://example.org/sun.jpg"_s};
    for (const auto& text : rows)
        EXPECT_EQ(NasaSunImage::resolvedURL(text), NasaSunImage::defaultURL())
            << text.value_or(u"nil"_s).toStdString();
    EXPECT_EQ(NasaSunImage::resolvedURL(u" HTTP://theme.example/a/sun.png?x=1 "_s),
              QUrl(u"https://theme.example/a/sun.png?x=1"_s));
    EXPECT_EQ(NasaSunImage::resolvedURL(u"https://theme.example/sun.png"_s),
              QUrl(u"https://theme.example/sun.png"_s));
}

TEST_F(SunPicture, DailyItemOnlyOnTheObservatoryLatestAddresses) {
    FakeClock clock("2026-12-07T23:59:00Z");
    const QUrl plain = NasaSunImage::fetchURL(std::nullopt);
    EXPECT_EQ(QUrlQuery(plain).queryItemValue(u"d"_s), u"20261207"_s);

    QUrl withItems = NasaSunImage::defaultURL();
    withItems.setQuery(u"a=1&d=19990101&b=2&d=x"_s);
    const QUrl fixed = NasaSunImage::fetchURL(withItems.toString());
    // Given as http, raised to https, items in order and one "d" last.
    EXPECT_EQ(fixed.query(), u"a=1&b=2&d=20261207"_s);

    const QUrl other = NasaSunImage::fetchURL(u"https://theme.example/latest/sun.jpg?d=1"_s);
    EXPECT_EQ(other, QUrl(u"https://theme.example/latest/sun.jpg?d=1"_s));
    clock.advanceSeconds(120);
    EXPECT_EQ(QUrlQuery(NasaSunImage::fetchURL(std::nullopt)).queryItemValue(u"d"_s), u"20261208"_s);
    EXPECT_EQ(NasaSunImage::dayStamp(QDateTime(QDate(2026, 1, 2), QTime(0, 30), QTimeZone(3600 * 5))),
              u"20260101"_s);
}

TEST_F(SunPicture, DownloadsOncePerWindowAndGoesStaleAtTheUtcDay) {
    FakeClock clock("2026-12-07T23:30:00Z");
    serve(jpeg(Qt::yellow));
    ASSERT_TRUE(fetchDefault().has_value());
    EXPECT_EQ(server.requestsTo(latestPath).size(), 1);
    EXPECT_EQ(DefaultsStore::standard().string(u"nasaSun.cachedDay"_s), u"20261207"_s);
    EXPECT_TRUE(QFile::exists(home.dataHome() + u"/Orvane/nasa_sdo_sun_latest.jpg"_s));
    EXPECT_DOUBLE_EQ(NasaSunImage::secondsUntilRefreshNeeded(), 12 * 3600);

    clock.advanceSeconds(30 * 60 - 1);
    ASSERT_TRUE(NasaSunImage::cachedDataIfFresh().has_value());
    ASSERT_TRUE(fetchDefault().has_value());
    EXPECT_EQ(server.requestsTo(latestPath).size(), 1);

    clock.set(QDateTime::fromString(u"2026-12-08T00:10:00Z"_s, Qt::ISODate));
    EXPECT_FALSE(NasaSunImage::cachedDataIfFresh().has_value());
    EXPECT_EQ(NasaSunImage::secondsUntilRefreshNeeded(), 0);
    ASSERT_TRUE(fetchDefault().has_value());
    EXPECT_EQ(server.requestsTo(latestPath).size(), 2);
    EXPECT_EQ(server.requestsTo(latestPath).last().query.queryItemValue(u"d"_s), u"20261208"_s);
}

TEST_F(SunPicture, WindowIsClampedAndAgeCounts) {
    FakeClock clock("2026-12-07T08:00:00Z");
    serve(jpeg(Qt::red));
    ASSERT_TRUE(fetchDefault());
    const std::pair<int, double> rows[] = {{0, 3600}, {-5, 3600}, {3, 3 * 3600}, {100, 24 * 3600}};
    for (const auto& [hours, window] : rows) {
        NasaSunImage::preferredMaxAgeHours = hours;
        EXPECT_DOUBLE_EQ(NasaSunImage::secondsUntilRefreshNeeded(), window) << hours;
    }
    NasaSunImage::preferredMaxAgeHours = 1;
    clock.advanceSeconds(3600);
    EXPECT_FALSE(NasaSunImage::cachedDataIfFresh());
    EXPECT_EQ(NasaSunImage::secondsUntilRefreshNeeded(), 0);
}

TEST_F(SunPicture, FailuresFallBackToTheStaleCopy) {
    FakeClock clock("2026-12-07T08:00:00Z");
    EXPECT_FALSE(fetchDefault());  // nothing served, nothing cached
    const QByteArray first = jpeg(Qt::green);
    serve(first);
    ASSERT_EQ(fetchDefault(), first);
    clock.advanceSeconds(13 * 3600);

    serve(QByteArray(), 200);
    EXPECT_EQ(fetchDefault(), first);
    serve("busy", 503);
    EXPECT_EQ(fetchDefault(), first);
    server.setOffline(true);
    EXPECT_EQ(fetchDefault(), first);
    EXPECT_EQ(NasaSunImage::secondsUntilRefreshNeeded(), 0);
}

// The face's "NASA" pill follows the feed, not the stale copy on screen; a page that is no picture never
// takes the good copy's place.
TEST_F(SunPicture, AFailedFeedShowsTheDashAndKeepsTheGoodCopy) {
    FakeClock clock("2026-12-07T08:00:00Z");
    ClockFaceController face;
    const auto nasaPill = [&] { return face.statusPills().at(4).toMap().value(u"text"_s).toString(); };
    const QByteArray good = jpeg(Qt::green);
    serve(good);
    ASSERT_EQ(fetchDefault(), good);
    EXPECT_EQ(nasaPill(), u"NASA: OK"_s);
    clock.advanceSeconds(13 * 3600);

    serve("busy", 500);
    EXPECT_EQ(fetchDefault(), good);
    EXPECT_EQ(nasaPill(), u"NASA: \u2014"_s);
    serve("<html>maintenance</html>");
    EXPECT_EQ(fetchDefault(), good);
    EXPECT_EQ(nasaPill(), u"NASA: \u2014"_s);
    EXPECT_EQ(NasaSunImage::cachedDataAnyAge(), good);
    EXPECT_EQ(NasaSunImage::secondsUntilRefreshNeeded(), 0);  // the day is not marked as fetched
}

TEST_F(SunPicture, DayStampOnlyAfterTheFileIsWritten) {
    FakeClock clock("2026-12-07T08:00:00Z");
    DefaultsStore::standard().setString(u"nasaSun.cachedDay"_s, u"20261206"_s);
    // A folder where the file should be: the write cannot succeed.
    ASSERT_TRUE(QDir().mkpath(NasaSunImage::cacheFilePath()));
    EXPECT_FALSE(NasaSunImage::storeCache(jpeg(Qt::blue)));
    EXPECT_EQ(DefaultsStore::standard().string(u"nasaSun.cachedDay"_s), u"20261206"_s);
}

TEST_F(SunPicture, StoredPictureSurvivesTheCleanupOfANewBuild) {
    FakeClock clock("2026-12-07T08:00:00Z");
    const QByteArray picture = jpeg(Qt::yellow);
    ASSERT_TRUE(NasaSunImage::storeCache(picture));
    EXPECT_FALSE(NasaSunImage::cacheFilePath().startsWith(InstallCleanup::cacheFolder()));
    DefaultsStore::standard().setString(InstallCleanup::buildMarkerKey, u"0"_s);  // an older build
    InstallCleanup::runIfNeededBeforeSettingsLoad(DefaultsStore::standard());
    EXPECT_EQ(NasaSunImage::cachedDataIfFresh(), picture);
}

TEST_F(SunPicture, FaceAndBuilderShareTheDefaultAddress) {
    EXPECT_EQ(NasaSunImage::defaultURL().path(), latestPath);
    EXPECT_EQ(NasaSunImage::defaultURL().host(), server.origin().host());
    EXPECT_EQ(NasaSunImage::resolvedURL(std::nullopt), NasaSunImage::defaultURL());
    ClockFaceController face;
    face.setBundle(ClockBundle{});  // no theme: the face falls back to the default picture
    EXPECT_EQ(QUrl(face.sunImageUrl()), NasaSunImage::defaultURL());
}

TEST_F(SunPicture, OversizedDownloadIsRefused) {
    FakeClock clock("2026-12-07T08:00:00Z");
    serve(QByteArray(NasaSunImage::maxDownloadBytes + 1, 'x'));
    EXPECT_FALSE(fetchDefault());
    EXPECT_FALSE(DefaultsStore::standard().string(u"nasaSun.cachedDay"_s).has_value());
}

TEST_F(SunPicture, ViewShowsCacheThenKeepsItsPictureOffline) {
    FakeClock clock("2026-12-07T08:00:00Z");
    serve(jpeg(Qt::yellow));
    {
        NasaSunImageView view;
        view.componentComplete();
        QSignalSpy passes(&view, &NasaSunImageView::passFinished);
        ASSERT_TRUE(passes.wait(5000));
        EXPECT_EQ(view.phase(), NasaSunImageView::Phase::Ready);
        // After a fresh download with a 12-hour window the loop sleeps the hour cap.
        EXPECT_DOUBLE_EQ(view.nextPassSeconds(), 3600);
    }
    clock.advanceSeconds(13 * 3600);
    server.setOffline(true);
    NasaSunImageView view;
    view.componentComplete();
    EXPECT_EQ(view.phase(), NasaSunImageView::Phase::Ready);  // the stale copy shows at once
    QSignalSpy passes(&view, &NasaSunImageView::passFinished);
    ASSERT_TRUE(passes.wait(5000));
    EXPECT_EQ(view.phase(), NasaSunImageView::Phase::Ready);
    EXPECT_DOUBLE_EQ(view.nextPassSeconds(), 60);
}

TEST_F(SunPicture, LoopWaitsBehindAClosedWindow) {
    FakeClock clock("2026-12-07T08:00:00Z");
    serve(jpeg(Qt::yellow));
    QQuickWindow window;
    NasaSunImageView view;
    view.setParentItem(window.contentItem());
    view.componentComplete();
    QSignalSpy passes(&view, &NasaSunImageView::passFinished);
    ASSERT_TRUE(passes.wait(5000));
    // The sleep ends while nobody can see the picture: no download until the window shows.
    ASSERT_TRUE(QMetaObject::invokeMethod(&view, "passDue"));
    EXPECT_FALSE(passes.wait(300));
    EXPECT_EQ(view.passes(), 1);
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.passes() == 2; }, 5000));
}

TEST_F(SunPicture, ViewWithoutAnyPictureFails) {
    FakeClock clock("2026-12-07T08:00:00Z");
    server.setOffline(true);
    NasaSunImageView view;
    view.componentComplete();
    EXPECT_EQ(view.phase(), NasaSunImageView::Phase::Loading);
    QSignalSpy passes(&view, &NasaSunImageView::passFinished);
    ASSERT_TRUE(passes.wait(5000));
    EXPECT_EQ(view.phase(), NasaSunImageView::Phase::Failed);
    EXPECT_DOUBLE_EQ(view.nextPassSeconds(), 60);
    EXPECT_DOUBLE_EQ(NasaSunImageView::sleepSeconds(5000), 3600);
}
