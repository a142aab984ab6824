#include "Await.h"
#include "FileBytes.h"
#include "FixtureServer.h"
#include "QuranFixture.h"
#include "TempHome.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"
#include "services/QuranLibrary.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>

namespace {

class QuranLibraryTest : public ::testing::Test, protected FileBytes {
  protected:
    void SetUp() override { Endpoints::setCurrent(Endpoints::allAt(server.origin())); }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }

    void load(const QString& code) { await(library->ensureLoaded(code)); }

    QStringList requestedEditions() const {
        QStringList ids;
        for (const auto& request : server.log()) ids << request.path.section(QLatin1Char('/'), 3);
        return ids;
    }
    void reply(const char* edition, int status, const QByteArray& body) {
        server.route(QStringLiteral("/v1/quran/") + QLatin1String(edition), {status, body});
    }

    TempHome home;
    FixtureServer server;
    std::unique_ptr<QuranLibrary> library = QuranLibrary::createDetached();
};

// A small Arabic document, padded with white space to exactly `size` bytes.
QByteArray paddedDocument(qsizetype size) {
    QByteArray body = R"({"code":200,"data":{"surahs":[{"number":1,"englishName":"Al-Faatiha","ayahs":[)"
                      R"({"numberInSurah":1,"text":"a"},{"numberInSurah":2,"text":"b"}]}]}})";
    body.append(QByteArray(size - body.size(), ' '));
    return body;
}

}  // namespace

TEST_F(QuranLibraryTest, RequestOrderFollowsTheTranslationAndThePrefetchList) {
    QuranFixture::serveAll(server);
    const struct {
        const char* code;
        QStringList expected;
    } cases[] = {
        {"en", {"quran-uthmani", "en.sahih", "ur.jalandhry"}},
        {"ur", {"quran-uthmani", "ur.jalandhry", "en.sahih"}},
        {"de", {"quran-uthmani", "de.bubenheim", "en.sahih", "ur.jalandhry"}},
        {"xx", {"quran-uthmani", "en.sahih", "ur.jalandhry"}},
    };
    for (const auto& c : cases) {
        TempHome fresh;  // nothing stored yet
        auto lib = QuranLibrary::createDetached();
        server.clearLog();
        await(lib->ensureLoaded(QLatin1String(c.code)));
        EXPECT_EQ(requestedEditions(), c.expected) << c.code;
        EXPECT_TRUE(lib->isReady());
        for (const QString& id : c.expected)
            EXPECT_EQ(
                readAll(fresh.dataHome() + QStringLiteral("/Orvane/Quran/") + id + QStringLiteral(".json")),
                QuranFixture::edition(id))
                << qPrintable(id);
    }
}

TEST_F(QuranLibraryTest, ASuccessfulRunPublishesEveryStepAndEndsReady) {
    QuranFixture::serveAll(server);
    QStringList progress;
    QObject::connect(library.get(), &QuranLibrary::progressTextChanged,
                     [&] { progress << library->progressText(); });
    QSignalSpy downloading(library.get(), &QuranLibrary::isDownloadingChanged);
    load(QStringLiteral("de"));
    EXPECT_EQ(progress, (QStringList{QStringLiteral("Downloading Arabic text…"),
                                     QStringLiteral("Downloading German translation…"), QString(),
                                     QStringLiteral("Saving en.sahih…"),
                                     QStringLiteral("Saving ur.jalandhry…"), QString()}));
    EXPECT_EQ(downloading.size(), 2);
    EXPECT_TRUE(library->isReady());
    EXPECT_FALSE(library->isDownloading());
    EXPECT_FALSE(library->errorMessage().has_value());
    EXPECT_EQ(library->translationByKey().value(QStringLiteral("2.255")),
              QStringLiteral("Translation (de.bubenheim) of ayah 2:255."));
}

TEST_F(QuranLibraryTest, ASecondRunWithoutNetworkAsksNothing) {
    QuranFixture::serveAll(server);
    load(QStringLiteral("en"));
    server.setOffline(true);
    const quint64 before = Http::requestCount();
    auto second = QuranLibrary::createDetached();
    await(second->ensureLoaded(QStringLiteral("en")));
    EXPECT_EQ(Http::requestCount(), before);
    EXPECT_TRUE(second->isReady());
    EXPECT_EQ(second->surahs().size(), 114);
    // The prefetched Urdu works offline too.
    await(second->ensureLoaded(QStringLiteral("ur")));
    EXPECT_EQ(Http::requestCount(), before);
    EXPECT_TRUE(second->translationByKey().value(QStringLiteral("1.1")).startsWith(QStringLiteral("شروع")));
}

TEST_F(QuranLibraryTest, AFirstRunWithoutNetworkFailsAtTheArabicStep) {
    server.setOffline(true);
    load(QStringLiteral("en"));
    ASSERT_TRUE(library->errorMessage().has_value());
    EXPECT_TRUE(
        library->errorMessage()->startsWith(QStringLiteral("Could not reach the Quran text service")));
    EXPECT_FALSE(library->isReady());
    EXPECT_FALSE(library->isDownloading());
    EXPECT_EQ(library->progressText(), QStringLiteral("Downloading Arabic text…"));
    // The next run clears the error at its start and succeeds.
    server.setOffline(false);
    QuranFixture::serveAll(server);
    load(QStringLiteral("en"));
    EXPECT_FALSE(library->errorMessage().has_value());
    EXPECT_TRUE(library->isReady());
}

TEST_F(QuranLibraryTest, TenThousandBytesAreFetchedAgainTenThousandAndOneAreNot) {
    QuranFixture::serveAll(server);
    const QString arabic = QuranLibrary::filePath(QStringLiteral("quran-uthmani"));
    write(arabic, paddedDocument(10000));
    load(QStringLiteral("en"));
    EXPECT_EQ(server.requestsTo(QStringLiteral("/v1/quran/quran-uthmani")).size(), 1);
    EXPECT_EQ(library->surahs().size(), 114);

    write(arabic, paddedDocument(10001));
    server.clearLog();
    load(QStringLiteral("en"));
    EXPECT_TRUE(server.requestsTo(QStringLiteral("/v1/quran/quran-uthmani")).isEmpty());
    ASSERT_EQ(library->surahs().size(), 1);  // the stored small document is trusted by its size
    EXPECT_EQ(library->surahs().front().numberOfAyahs, 2);
}

TEST_F(QuranLibraryTest, RejectedRepliesAreReportedAndNeverWritten) {
    const struct {
        const char* name;
        int status;
        QByteArray body;
        QString message;
    } cases[] = {
        {"code 404", 200, R"({"code":404,"data":"Not found"})", QuranLibrary::cannotParseResponseText()},
        {"code as text", 200, R"({"code":"200","data":{"surahs":[]}})",
         QuranLibrary::cannotParseResponseText()},
        {"no data", 200, R"({"code":200,"data":null})", QuranLibrary::cannotParseResponseText()},
        {"top level array", 200, R"([200])", QuranLibrary::cannotParseResponseText()},
        {"HTTP 500", 500, QuranFixture::edition(QStringLiteral("quran-uthmani")),
         QuranLibrary::badServerResponseText()},
        {"not JSON", 200, "<html>busy</html>", QuranLibrary::notJsonText()},
    };
    for (const auto& c : cases) {
        reply("quran-uthmani", c.status, c.body);
        load(QStringLiteral("en"));
        EXPECT_EQ(library->errorMessage().value_or(QString()), c.message) << c.name;
        EXPECT_FALSE(library->isReady()) << c.name;
        EXPECT_FALSE(QFile::exists(QuranLibrary::filePath(QStringLiteral("quran-uthmani")))) << c.name;
    }
}

// Online, damaged editions never show an error: the run that finds them fetches them all afresh.
TEST_F(QuranLibraryTest, EveryDamagedEditionIsReplacedInTheRunThatFindsIt) {
    QuranFixture::serveAll(server);
    const QString arabic = QuranLibrary::filePath(QStringLiteral("quran-uthmani"));
    const QString translation = QuranLibrary::filePath(QStringLiteral("en.sahih"));
    write(arabic, QByteArray(20000, '{'));
    write(translation, paddedDocument(12000).replace("surahs", "suras"));
    QStringList errors;
    QObject::connect(library.get(), &QuranLibrary::errorMessageChanged,
                     [&] { errors << library->errorText(); });
    load(QStringLiteral("en"));
    EXPECT_TRUE(library->isReady());
    EXPECT_EQ(errors.join(QString()), QString());
    EXPECT_EQ(readAll(arabic), QuranFixture::edition(QStringLiteral("quran-uthmani")));
    EXPECT_EQ(readAll(translation), QuranFixture::edition(QStringLiteral("en.sahih")));
}

// A stored edition far larger than any real one is not read: it is damaged, and replaced as such.
TEST_F(QuranLibraryTest, AStoredEditionPastItsLimitIsReplacedUnread) {
    QuranFixture::serveAll(server);
    const QString arabic = QuranLibrary::filePath(QStringLiteral("quran-uthmani"));
    QFile huge(arabic);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(64 * Http::kMiB));  // sparse: no disk used
    huge.close();
    load(QStringLiteral("en"));
    EXPECT_TRUE(library->isReady());
    EXPECT_EQ(readAll(arabic), QuranFixture::edition(QStringLiteral("quran-uthmani")));
}

// A reply far larger than any edition is cut off as it is announced, not read.
TEST_F(QuranLibraryTest, AHugeReplyIsAFailedDownload) {
    FixtureServer::Reply huge;
    huge.streamedBytes = 64 * Http::kMiB;
    server.route(QStringLiteral("/v1/quran/quran-uthmani"), huge);
    load(QStringLiteral("en"));
    EXPECT_EQ(library->errorText(), QuranLibrary::requestFailedText(QStringLiteral("body too large")));
    EXPECT_LT(server.streamedBytes(), 32 * Http::kMiB);
}

TEST_F(QuranLibraryTest, AFailedLoadKeepsThePreviousIndexButIsNotReady) {
    QuranFixture::serveAll(server);
    load(QStringLiteral("en"));
    const QByteArray damaged = paddedDocument(12000).replace("surahs", "suras");
    write(QuranLibrary::filePath(QStringLiteral("en.sahih")), damaged);
    reply("en.sahih", 200, damaged);  // and the service has nothing better
    load(QStringLiteral("en"));
    EXPECT_EQ(library->errorMessage().value_or(QString()), QuranLibrary::cannotParseResponseText());
    EXPECT_FALSE(library->isReady());
    EXPECT_EQ(library->surahs().size(), 114);
}

TEST_F(QuranLibraryTest, OnlyTheLatestRunPublishesAndDownloadingCoversEveryRun) {
    QuranFixture::serveAll(server);
    FixtureServer::Reply slow{200, QuranFixture::edition(QStringLiteral("de.bubenheim"))};
    slow.delay = std::chrono::milliseconds(600);
    server.route(QStringLiteral("/v1/quran/de.bubenheim"), slow);
    QList<bool> downloading;
    QObject::connect(library.get(), &QuranLibrary::isDownloadingChanged,
                     [&] { downloading << library->isDownloading(); });

    auto older = library->ensureLoaded(QStringLiteral("de"));
    auto newer = library->ensureLoaded(QStringLiteral("ur"));
    await(std::move(newer));
    EXPECT_TRUE(library->isReady());
    EXPECT_TRUE(library->isDownloading());  // the German run is still waiting for its text
    await(std::move(older));
    EXPECT_FALSE(library->isDownloading());
    EXPECT_EQ(downloading, (QList<bool>{true, false}));
    EXPECT_TRUE(library->translationByKey().value(QStringLiteral("1.1")).startsWith(QStringLiteral("شروع")));
}

TEST_F(QuranLibraryTest, AnUnformableAddressIsReported) {
    Endpoints endpoints = Endpoints::allAt(server.origin());
    endpoints.quran = QUrl(QStringLiteral("not a url"));
    Endpoints::setCurrent(endpoints);
    load(QStringLiteral("en"));
    EXPECT_EQ(library->errorMessage().value_or(QString()), QuranLibrary::badAddressText());
    EXPECT_TRUE(server.log().isEmpty());
}

TEST_F(QuranLibraryTest, AyahsAndJumpAnswerFromTheIndex) {
    QuranFixture::serveAll(server);
    load(QStringLiteral("en"));
    const QList<QuranLibrary::Ayah> baqara = library->ayahs(2);
    ASSERT_EQ(baqara.size(), 286);
    EXPECT_EQ(baqara.at(254).id(), QStringLiteral("2.255"));
    EXPECT_EQ(baqara.at(141).juz, 2);
    EXPECT_EQ(baqara.at(140).juz, 1);
    EXPECT_EQ(library->ayahs(1).front().translation,
              QStringLiteral("In the name of Allah, the Entirely Merciful, the Especially Merciful."));
    EXPECT_TRUE(library->ayahs(115).isEmpty());
    EXPECT_TRUE(library->ayahs(0).isEmpty());
    EXPECT_EQ(library->jump(2, 300), (QuranLibrary::Position{2, 0}));
    EXPECT_EQ(library->jump(2, 255), (QuranLibrary::Position{2, 254}));
    EXPECT_EQ(library->jump(114, 6), (QuranLibrary::Position{114, 5}));
    EXPECT_EQ(library->jump(200, 3), (QuranLibrary::Position{200, 0}));
}
