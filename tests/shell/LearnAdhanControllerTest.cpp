#include <gtest/gtest.h>

#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "services/AppSettings.h"
#include "services/BlessingsCache.h"
#include "ui/shell/LearnAdhanController.h"
#include "ui/shell/LearnAdhanVideo.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::Literals::StringLiterals;

namespace {

struct LearnAdhanFixture : ::testing::Test {
    TempHome home;
    std::unique_ptr<DefaultsStore> store;
    std::unique_ptr<AppSettings> settings;
    LearnAdhanController steps;
    QList<QUrl> openedUrls;
    bool browserStarts = true;

    void SetUp() override {
        store = std::make_unique<DefaultsStore>(home.path() + u"/defaults.json"_s);
        settings = std::make_unique<AppSettings>(*store);
        steps.setSettings(settings.get());
        steps.setOpener([this](const QUrl& url) {
            openedUrls.append(url);
            return browserStarts;
        });
    }

    static QStringList ids(const QList<BlessingsCard>& cards) {
        QStringList out;
        for (const BlessingsCard& c : cards) out.append(c.id);
        return out;
    }
};

}  // namespace

TEST_F(LearnAdhanFixture, StartsWithNothingShownOrOpened) {
    EXPECT_FALSE(steps.showingSplash());
    EXPECT_FALSE(steps.opened());
    EXPECT_TRUE(steps.statusText().isEmpty());
    EXPECT_TRUE(steps.card().isEmpty());
}

TEST_F(LearnAdhanFixture, SplashShowsTheKnownCardsInOrderThenOpensTheBuiltInLink) {
    BlessingsConfig config = BlessingsConfig::defaults();
    std::reverse(config.cards.begin(), config.cards.end());
    config.cards.append({u"unknown_card"_s, u"x"_s, {}, {}, {}, {}});
    steps.setConfig(config);
    settings->setShowBlessingsSplash(true);

    steps.start();
    QStringList shown;
    for (int guard = 0; guard < 10 && steps.showingSplash(); ++guard) {
        EXPECT_TRUE(openedUrls.isEmpty());
        shown.append(steps.card().value(u"id"_s).toString());
        steps.advance();
    }
    EXPECT_EQ(shown, (QStringList{u"alhamdulillah"_s, u"mashallah"_s, u"fi_sabilillah"_s}));
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls.constFirst(), QUrl(LearnAdhanVideo::builtInURLString()));
    EXPECT_TRUE(steps.opened());
    EXPECT_TRUE(steps.statusText().isEmpty());
    // A stray click after the last card opens nothing more.
    steps.advance();
    EXPECT_EQ(openedUrls.size(), 1);
}

TEST_F(LearnAdhanFixture, NoSplashWhenTheUserOrTheServerTurnedItOffOrThereAreNoCards) {
    BlessingsConfig serverOff = BlessingsConfig::defaults();
    serverOff.appEnabled = false;
    BlessingsConfig noCards = BlessingsConfig::defaults();
    noCards.cards = {{u"other"_s, u"x"_s, {}, {}, {}, {}}};
    const struct {
        bool userSplash;
        BlessingsConfig config;
    } cases[] = {{false, BlessingsConfig::defaults()}, {true, serverOff}, {true, noCards}};
    for (const auto& c : cases) {
        openedUrls.clear();
        settings->setShowBlessingsSplash(c.userSplash);
        steps.setConfig(c.config);
        steps.start();
        EXPECT_FALSE(steps.showingSplash());
        EXPECT_EQ(openedUrls.size(), 1);
        EXPECT_TRUE(steps.opened());
    }
}

TEST_F(LearnAdhanFixture, TheUsersLinkIsOpenedTrimmed) {
    settings->setShowBlessingsSplash(false);
    settings->setLearnAdhanVideoURL(u"  https://videos.example.org/watch?v=learn \n"_s);
    steps.start();
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls.constFirst(), QUrl(u"https://videos.example.org/watch?v=learn"_s));
    EXPECT_EQ(steps.linkText(), u"https://videos.example.org/watch?v=learn"_s);
}

TEST_F(LearnAdhanFixture, ALinkThatIsNotAWebAddressIsNeverHandedOn) {
    settings->setShowBlessingsSplash(false);
    settings->setLearnAdhanVideoURL(u"file:///home/user/.ssh/id_rsa"_s);
    steps.start();
    EXPECT_TRUE(openedUrls.isEmpty());
    EXPECT_FALSE(steps.opened());
    EXPECT_EQ(steps.statusText(), LearnAdhanController::notWebAddressText());
    EXPECT_EQ(steps.linkText(), u"file:///home/user/.ssh/id_rsa"_s);
}

TEST_F(LearnAdhanFixture, ABrowserThatDoesNotStartLeavesAStatusLineAndCanBeRetried) {
    settings->setShowBlessingsSplash(false);
    browserStarts = false;
    steps.start();
    EXPECT_FALSE(steps.opened());
    EXPECT_EQ(steps.statusText(), LearnAdhanController::browserFailedText());
    EXPECT_EQ(steps.linkText(), LearnAdhanVideo::builtInURLString());

    browserStarts = true;
    steps.openLink();
    EXPECT_TRUE(steps.opened());
    EXPECT_TRUE(steps.statusText().isEmpty());
    EXPECT_EQ(openedUrls.size(), 2);
}

TEST_F(LearnAdhanFixture, WithoutSettingsTheBuiltInLinkOpensWithoutSplash) {
    LearnAdhanController bare;
    QList<QUrl> urls;
    bare.setOpener([&urls](const QUrl& url) {
        urls.append(url);
        return true;
    });
    bare.start();
    EXPECT_FALSE(bare.showingSplash());
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls.constFirst(), QUrl(LearnAdhanVideo::builtInURLString()));
}

TEST_F(LearnAdhanFixture, TheServerCanTurnTheSplashOffThroughTheCachedConfiguration) {
    settings->setShowBlessingsSplash(true);
    LearnAdhanController fresh;
    fresh.setSettings(settings.get());
    fresh.setOpener([this](const QUrl& url) {
        openedUrls.append(url);
        return true;
    });
    fresh.start();
    EXPECT_TRUE(fresh.showingSplash()) << "the shipped configuration shows the cards";

    BlessingsConfig off = BlessingsConfig::defaults();
    off.appEnabled = false;
    QDir().mkpath(BlessingsCache::directoryURL());
    QFile file(BlessingsCache::filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(off.toJson().toObject()).toJson());
    file.close();
    fresh.start();
    EXPECT_FALSE(fresh.showingSplash());
    EXPECT_EQ(openedUrls.size(), 1);
}
