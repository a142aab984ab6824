#include <gtest/gtest.h>

#include "Await.h"
#include "FixtureServer.h"
#include "FullDisk.h"
#include "platform/Http.h"

#include <QCoro/QCoroTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

using namespace std::chrono_literals;

TEST(Http, ReturnsStatusHeadersAndBodyAndLogsTheQuery) {
    FixtureServer server;
    server.routeJson(QStringLiteral("/v1/ping"), "{\"ok\":true}", 201);
    QUrl url = server.origin();
    url.setPath(QStringLiteral("/v1/ping"));
    url.setQuery(QStringLiteral("a=1&b=%20x"));
    const HttpResponse r = await(Http::get(url));
    EXPECT_TRUE(r.transportOk);
    EXPECT_EQ(r.status, 201);
    EXPECT_EQ(r.body, QByteArray("{\"ok\":true}"));
    EXPECT_EQ(r.header("content-type"), QByteArray("application/json"));
    ASSERT_EQ(server.log().size(), 1);
    EXPECT_EQ(server.log()[0].query.queryItemValue(QStringLiteral("b")), QStringLiteral(" x"));
}

TEST(Http, ErrorStatusKeepsItsBody) {
    FixtureServer server;
    server.routeJson(QStringLiteral("/x"), "{\"ok\":true}", 500);
    const HttpResponse r = await(Http::get(server.origin().resolved(QUrl(QStringLiteral("/x")))));
    EXPECT_TRUE(r.transportOk);
    EXPECT_FALSE(r.isSuccess());
    EXPECT_EQ(r.status, 500);
    EXPECT_EQ(r.body, QByteArray("{\"ok\":true}"));
}

TEST(Http, TimeoutAbortsASlowReply) {
    FixtureServer server;
    FixtureServer::Reply slow;
    slow.body = "late";
    slow.delay = 2000ms;
    server.route(QStringLiteral("/slow"), slow);
    QElapsedTimer t;
    t.start();
    const HttpResponse r = await(Http::get(server.origin().resolved(QUrl(QStringLiteral("/slow"))), 200ms));
    EXPECT_FALSE(r.transportOk);
    EXPECT_EQ(r.error, QStringLiteral("timed out"));
    EXPECT_LT(t.elapsed(), 1500);
}

TEST(Http, RefusedConnectionAndOfflineSwitchFailCleanly) {
    FixtureServer server;
    server.routeJson(QStringLiteral("/x"), "{}");
    const QUrl url = server.origin().resolved(QUrl(QStringLiteral("/x")));
    server.setOffline(true);
    EXPECT_FALSE(await(Http::get(url)).transportOk);
    server.setOffline(false);
    EXPECT_TRUE(await(Http::get(url)).transportOk);
    Http::setOffline(true);
    EXPECT_FALSE(await(Http::get(url)).transportOk);
    Http::setOffline(false);
}

TEST(Http, BodyOverTheCapIsAFailure) {
    FixtureServer server;
    server.routeJson(QStringLiteral("/big"), QByteArray(5000, 'x'));
    HttpRequest request;
    request.url = server.origin().resolved(QUrl(QStringLiteral("/big")));
    request.maxBodyBytes = 4096;
    const HttpResponse r = await(Http::send(request));
    EXPECT_FALSE(r.transportOk);
    EXPECT_TRUE(r.body.isEmpty());
}

// Nothing a caller forgets lets a server fill the memory: a reply that never ends stops at the JSON cap.
TEST(Http, ANeverEndingReplyEndsAtTheDefaultCap) {
    FixtureServer server;
    FixtureServer::Reply endless;
    endless.streamedBytes = -1;
    endless.pace = 5ms;
    server.route(QStringLiteral("/feed"), endless);
    const HttpResponse r = await(Http::get(server.origin().resolved(QUrl(QStringLiteral("/feed"))), 15s));
    EXPECT_FALSE(r.transportOk);
    EXPECT_EQ(r.error, QStringLiteral("body too large"));
    EXPECT_LT(server.streamedBytes(), 2 * Http::jsonReplyMaxBytes);
}

TEST(Http, ARedirectLoopEndsAfterFiveHops) {
    FixtureServer server;
    FixtureServer::Reply loop;
    loop.status = 302;
    loop.headers = {{"Location", "/loop"}};
    server.route(QStringLiteral("/loop"), loop);
    const HttpResponse r = await(Http::get(server.origin().resolved(QUrl(QStringLiteral("/loop")))));
    EXPECT_FALSE(r.transportOk);
    EXPECT_EQ(r.error, QStringLiteral("too many redirects"));
    // Qt may send a hop again when the server closes the connection it meant to reuse, so the server can
    // see a few more requests than hops; Qt's own default would have followed fifty.
    EXPECT_LE(server.requestsTo(QStringLiteral("/loop")).size(), 2 * (1 + Http::maxRedirects));
}

TEST(Http, InvalidAddressNeverSends) {
    EXPECT_FALSE(await(Http::get(QUrl(QStringLiteral("not a url")))).transportOk);
    EXPECT_FALSE(await(Http::get(QUrl())).transportOk);
}

TEST(Http, ConcurrentRequestsOverlap) {
    FixtureServer server;
    FixtureServer::Reply slow;
    slow.body = "{}";
    slow.delay = 300ms;
    for (const char* p : {"/a", "/b", "/c"}) server.route(QLatin1String(p), slow);
    QElapsedTimer t;
    t.start();
    auto all = [&]() -> QCoro::Task<int> {
        auto a = Http::get(server.origin().resolved(QUrl(QStringLiteral("/a"))));
        auto b = Http::get(server.origin().resolved(QUrl(QStringLiteral("/b"))));
        auto c = Http::get(server.origin().resolved(QUrl(QStringLiteral("/c"))));
        int ok = 0;
        ok += (co_await a).transportOk;
        ok += (co_await b).transportOk;
        ok += (co_await c).transportOk;
        co_return ok;
    };
    EXPECT_EQ(await(all()), 3);
    EXPECT_LT(t.elapsed(), 800);
}

TEST(Http, HeadReturnsAtOnceWhateverContentLengthTheServerAnnounces) {
    FixtureServer server;
    server.routeJson(QStringLiteral("/big"), QByteArray(5000, 'x'));
    const HttpResponse r = await(
        Http::head(server.origin().resolved(QUrl(QStringLiteral("/big"))), std::chrono::milliseconds(5000)));
    EXPECT_TRUE(r.isSuccess()) << r.error.toStdString();
    EXPECT_TRUE(r.body.isEmpty());
    EXPECT_EQ(r.header("content-length"), QByteArray("5000"));
    EXPECT_EQ(server.requestsTo(QStringLiteral("/big")).first().method, QByteArray("HEAD"));
}

TEST(Http, ADownloadIsStreamedToItsFileAndLeftThereOnlyWhenWhole) {
    FixtureServer server;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.tar"));
    FixtureServer::Reply big;
    for (int i = 0; i < 40000; ++i) big.body += QByteArray::number(i) + ' ';
    server.route(QStringLiteral("/big"), big);
    server.routeJson(QStringLiteral("/missing"), "nope", 404);
    const QUrl bigUrl = server.origin().resolved(QUrl(QStringLiteral("/big")));

    HttpRequest request;
    request.url = bigUrl;
    HttpResponse r = await(Http::download(request, path));
    EXPECT_TRUE(r.isSuccess()) << r.error.toStdString();
    EXPECT_TRUE(r.body.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), big.body);
    file.close();

    // A failure never replaces what is there, nor leaves a part behind.
    request.url = server.origin().resolved(QUrl(QStringLiteral("/missing")));
    r = await(Http::download(request, path));
    EXPECT_FALSE(r.isSuccess());
    EXPECT_EQ(r.status, 404);
    request.url = bigUrl;
    request.maxBodyBytes = 1000;
    r = await(Http::download(request, path));
    EXPECT_EQ(r.error, QStringLiteral("body too large"));
    request.maxBodyBytes = Http::jsonReplyMaxBytes;
    server.setOffline(true);
    r = await(Http::download(request, path));
    EXPECT_FALSE(r.transportOk);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), big.body);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("archive.tar")});
}

// The disk fills during a download (the body outgrows it) or before it (a body short enough to be held in
// the file's buffer until the end): the download fails, says why, and leaves the file as it was, there or
// not.
TEST(Http, ADownloadTheDiskCannotHoldFailsNamingWhy) {
    const QString folder = FullDisk::mountedInChild(FullDisk::Kind::Tmpfs, 64 * 1024);
    if (folder.isEmpty()) return;
    FixtureServer server;
    FixtureServer::Reply big, small;
    big.body = QByteArray(200000, 'b');
    small.body = QByteArray(5000, 's');
    server.route(QStringLiteral("/big"), big);
    server.route(QStringLiteral("/small"), small);
    const QString path = folder + QStringLiteral("/download");
    const struct {
        const char* name;
        QByteArray old;  // on disk before, and the disk then filled
    } rows[] = {{"/big", {}}, {"/small", "kept"}};
    for (const auto& [name, old] : rows) {
        if (!old.isEmpty()) {
            QFile before(path);
            ASSERT_TRUE(before.open(QIODevice::WriteOnly) && before.write(old) == old.size());
            before.close();
            FullDisk::fill(folder);
        }
        HttpRequest request;
        request.url = server.origin().resolved(QUrl(QLatin1String(name)));
        const HttpResponse r = await(Http::download(request, path));
        EXPECT_FALSE(r.isSuccess()) << name;
        EXPECT_TRUE(r.error.contains(QStringLiteral("No space left on device"))) << r.error.toStdString();
        QFile after(path);
        EXPECT_EQ(after.open(QIODevice::ReadOnly) ? after.readAll() : QByteArray(), old) << name;
    }
}

// Offline, requests started a moment apart to one host share one failed name lookup; every one of them
// ends with it instead of waiting out its timeout.
TEST(Http, AFailedHostLookupEndsEveryRequestWaitingForIt) {
    for (int round = 0; round < 3; ++round) {
        QList<HttpResponse> responses;
        QElapsedTimer t;
        t.start();
        std::vector<QCoro::Task<>> tasks;
        for (int i = 0; i < 8; ++i) {
            tasks.push_back([](int i, QList<HttpResponse>& out) -> QCoro::Task<> {
                co_await QCoro::sleepFor(std::chrono::milliseconds(i));
                const QUrl url(QStringLiteral("http://orvane-test.invalid/r%1").arg(i));
                out.append(co_await Http::get(url, 60s));
            }(i, responses));
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return responses.size() == 8; }, 20000)) << responses.size();
        EXPECT_LT(t.elapsed(), 20000);
        for (const HttpResponse& r : responses) {
            EXPECT_FALSE(r.transportOk);
            EXPECT_TRUE(r.error.contains(QStringLiteral("not found"))) << r.error.toStdString();
        }
    }
}
