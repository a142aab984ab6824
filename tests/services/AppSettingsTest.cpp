#include <gtest/gtest.h>

#include "SettingsTestEnv.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

QStringList keysWithoutMarkers(const DefaultsStore& store) {
    QStringList keys = store.keys();
    keys.removeIf([](const QString& k) { return k.startsWith(QLatin1String("orvane.cleanup.")); });
    return keys;
}

}  // namespace

TEST(AppSettings, FirstStartWritesOnlyTheIdentifiersAndTheDisplayName) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    const QString id = s.deviceId();
    EXPECT_EQ(id.size(), 36);
    EXPECT_EQ(id, id.toUpper());
    EXPECT_EQ(
        keysWithoutMarkers(*env.store),
        (QStringList{QStringLiteral("deviceId"), QStringLiteral("profile.") + id + QStringLiteral(".clockId"),
                     QStringLiteral("profile.") + id + QStringLiteral(".displayName")}));
    EXPECT_EQ(env.store->string(QStringLiteral("deviceId")), id);
    EXPECT_EQ(env.store->string(env.scoped(QStringLiteral("displayName"))),
              AppSettings::suggestedAccountDisplayName());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^clk-[0-9a-f]{8}$")).match(s.clockId()).hasMatch());
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.deviceId"), id);
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.clockId"), s.clockId());

    SettingsSnapshot expected = SettingsSnapshot::defaults();
    expected.lang = AppSettings::preferredLanguageCode();
    expected.clockId = s.clockId();
    expected.displayName = s.displayName();
    expected.deviceId = id;
    expected.effectiveMetric = s.effectiveMetric();
    const SettingsSnapshot got = s.snapshot();
    EXPECT_EQ(got.lang, expected.lang);
    EXPECT_EQ(got.method, QStringLiteral("ISNA"));
    EXPECT_EQ(got.asr, 1);
    EXPECT_EQ(got.prayerRefreshHours, 12);
    EXPECT_EQ(got.geoRefreshHours, 24);
    EXPECT_TRUE(got.vibrate);
    EXPECT_TRUE(got.showBlessingsSplash);
    EXPECT_EQ(got.quranTextSize, QStringLiteral("huge"));
    EXPECT_EQ(got.learnAdhanButtonTitle, QStringLiteral("Learn Prayer"));
    EXPECT_EQ(got.weatherProviderId, QStringLiteral("openmeteo"));
    EXPECT_EQ(got.deviceId, expected.deviceId);
}

TEST(AppSettings, LoadingWritesNothing) {
    SettingsTestEnv env;
    env.start().setMethod(QStringLiteral("MWL"));
    env.reopen();
    const auto before = env.store->dictionary();
    AppSettings& s = env.start();
    EXPECT_EQ(s.method(), QStringLiteral("MWL"));
    EXPECT_EQ(env.store->dictionary(), before);
}

TEST(AppSettings, EveryAssignmentWritesThroughEvenWhenUnchanged) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    int asrChanged = 0;
    QObject::connect(&s, &AppSettings::asrChanged, [&asrChanged] { ++asrChanged; });
    s.setAsr(2);
    EXPECT_EQ(env.store->object(env.scoped(QStringLiteral("asr")))->type, DefaultsStore::Type::Int);
    EXPECT_EQ(env.store->integer(env.scoped(QStringLiteral("asr"))), 2);
    env.store->remove(env.scoped(QStringLiteral("asr")));
    s.setAsr(2);
    EXPECT_EQ(env.store->integer(env.scoped(QStringLiteral("asr"))), 2);
    EXPECT_EQ(asrChanged, 1);  // views hear of changes only

    s.setManualLat(21.4225);
    s.setUse24HourClock(true);
    s.setUnitsMode(QStringLiteral("imperial"));
    EXPECT_EQ(env.store->object(env.scoped(QStringLiteral("manualLat")))->type, DefaultsStore::Type::Double);
    EXPECT_EQ(env.store->object(env.scoped(QStringLiteral("use24HourClock")))->type,
              DefaultsStore::Type::Bool);
    EXPECT_EQ(env.store->string(env.scoped(QStringLiteral("unitsMode"))), QStringLiteral("imperial"));
    EXPECT_FALSE(s.effectiveMetric());

    env.reopen();
    AppSettings& again = env.start();
    EXPECT_EQ(again.asr(), 2);
    EXPECT_EQ(again.manualLat(), 21.4225);
    EXPECT_TRUE(again.use24HourClock());
}

TEST(AppSettings, APresentKeyNeverFallsBackToTheDefault) {
    SettingsTestEnv env;
    env.start();
    env.store->setString(env.scoped(QStringLiteral("prayerRefreshHours")), QStringLiteral("abc"));
    env.store->setString(env.scoped(QStringLiteral("weatherRefreshHours")), QStringLiteral("6"));
    env.store->setString(env.scoped(QStringLiteral("vibrate")), QStringLiteral("no"));
    env.store->setInteger(env.scoped(QStringLiteral("method")), 3);
    env.store->setDouble(env.scoped(QStringLiteral("asr")), 2.9);
    env.reopen();
    AppSettings& s = env.start();
    EXPECT_EQ(s.prayerRefreshHours(), 0);
    EXPECT_EQ(s.weatherRefreshHours(), 6);
    EXPECT_FALSE(s.vibrate());
    EXPECT_EQ(s.method(), QStringLiteral("3"));
    EXPECT_EQ(s.asr(), 2);
}

TEST(AppSettings, LegacyValuesAreCopiedOnceUnderTheScopedKey) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("adhanLang"), QStringLiteral("en"));
    env.store->setInteger(QStringLiteral("asr"), 2);
    env.store->setString(QStringLiteral("deviceId"), QStringLiteral("DEV-1"));
    env.store->setString(QStringLiteral("profile.DEV-1.method"), QStringLiteral("MWL"));
    env.store->setString(QStringLiteral("method"), QStringLiteral("Karachi"));
    AppSettings& s = env.start();
    EXPECT_EQ(s.adhanLang(), QStringLiteral("en"));
    EXPECT_EQ(env.store->string(QStringLiteral("profile.DEV-1.adhanLang")), QStringLiteral("en"));
    EXPECT_EQ(env.store->object(QStringLiteral("profile.DEV-1.asr"))->type, DefaultsStore::Type::Int);
    EXPECT_EQ(s.asr(), 2);
    EXPECT_EQ(s.method(), QStringLiteral("MWL"));
    EXPECT_TRUE(env.store->contains(QStringLiteral("adhanLang")));  // the bare key stays
}

TEST(AppSettings, NoLegacyCopyForADeviceIdFromTheEnvironment) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("adhanLang"), QStringLiteral("en"));
    qputenv("ORVANE_DEVICE_ID", "  ENV-7 ");
    AppSettings& s = env.start();
    EXPECT_EQ(s.deviceId(), QStringLiteral("ENV-7"));
    EXPECT_EQ(s.adhanLang(), QStringLiteral("ar"));
    EXPECT_FALSE(env.store->contains(QStringLiteral("profile.ENV-7.adhanLang")));
    EXPECT_FALSE(env.store->contains(QStringLiteral("deviceId")));
    EXPECT_FALSE(SettingsTestEnv::keyring("orvane.deviceId").has_value());
    EXPECT_TRUE(env.store->contains(QStringLiteral("profile.ENV-7.clockId")));
}

TEST(AppSettings, StaleLearnLinkAndBlankButtonTitleAreRepaired) {
    struct Row {
        QString link, title, expectedLink, expectedTitle;
    };
    const Row rows[] = {
        {QStringLiteral(" https://youtu.be/4ZR6TNGMKSI "), QStringLiteral("  \n"), QString(),
         QStringLiteral("Learn Prayer")},
        {QStringLiteral("https://example.org/learn"), QStringLiteral("Learn"),
         QStringLiteral("https://example.org/learn"), QStringLiteral("Learn")},
    };
    for (const Row& row : rows) {
        SettingsTestEnv env;
        env.store->setString(QStringLiteral("deviceId"), QStringLiteral("D"));
        env.store->setString(QStringLiteral("profile.D.learnAdhanVideoURL"), row.link);
        env.store->setString(QStringLiteral("profile.D.learnAdhanButtonTitle"), row.title);
        AppSettings& s = env.start();
        EXPECT_EQ(s.learnAdhanVideoURL(), row.expectedLink);
        EXPECT_EQ(s.learnAdhanButtonTitle(), row.expectedTitle);
        EXPECT_EQ(env.store->string(QStringLiteral("profile.D.learnAdhanVideoURL")), row.expectedLink);
        EXPECT_EQ(env.store->string(QStringLiteral("profile.D.learnAdhanButtonTitle")), row.expectedTitle);
    }
}

TEST(AppSettings, APresentDisplayNameIsKeptEvenWhenEmpty) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("deviceId"), QStringLiteral("D"));
    env.store->setString(QStringLiteral("profile.D.displayName"), QString());
    AppSettings& s = env.start();
    EXPECT_EQ(s.displayName(), QString());
    s.refillDisplayNameFromAccount();
    EXPECT_EQ(env.store->string(QStringLiteral("profile.D.displayName")),
              AppSettings::suggestedAccountDisplayName());
}

TEST(AppSettings, SanitizeDisplayName) {
    const QString hundred = QString(79, u'a') + QStringLiteral(" ") + QString(20, u'b');
    struct Row {
        QString in, out;
    };
    const Row rows[] = {
        {QStringLiteral("  Aisha\u0007 Khan \n"), QStringLiteral("Aisha Khan")},
        {QStringLiteral("Zayd\u200B\u202E"), QStringLiteral("Zayd")},
        {QStringLiteral("me@example.org"), QString()},
        {QStringLiteral("My Apple ID"), QString()},
        {QStringLiteral("iCloud user"), QString()},
        {hundred, QString(79, u'a')},
        {QString(80, u'x'), QString(80, u'x')},
        // Eighty flags are eighty characters, though each is four UTF-16 units.
        {QString(QStringLiteral("\U0001F1F8\U0001F1E6")).repeated(81),
         QStringLiteral("\U0001F1F8\U0001F1E6").repeated(80)},
        {QStringLiteral("\u0007\u0008"), QString()},
    };
    for (const Row& row : rows)
        EXPECT_EQ(AppSettings::sanitizeDisplayName(row.in), row.out) << row.in.toStdString();
}

TEST(AppSettings, PreferredLanguageCode) {
    struct Row {
        QStringList preferred;
        const char* code;
    };
    const Row rows[] = {
        {{QStringLiteral("pt-BR")}, "en"},      {{QStringLiteral("ar-EG"), QStringLiteral("fr")}, "ar"},
        {{QStringLiteral("zh-Hans-CN")}, "zh"}, {{}, "en"},
        {{QStringLiteral("-de")}, "de"},        {{QStringLiteral("AR")}, "en"},
        {{QStringLiteral("ur_PK")}, "ur"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(AppSettings::preferredLanguageCode(row.preferred), QLatin1String(row.code));
}

TEST(AppSettings, QuranTextSizeRawValues) {
    QStringList raws;
    for (auto size : AppSettings::allQuranTextSizes()) raws << AppSettings::rawValue(size);
    EXPECT_EQ(raws, (QStringList{QStringLiteral("small"), QStringLiteral("normal"), QStringLiteral("large"),
                                 QStringLiteral("huge")}));
    EXPECT_EQ(AppSettings::quranTextSizeFromRaw(QStringLiteral("large")), AppSettings::QuranTextSize::Large);
    EXPECT_FALSE(AppSettings::quranTextSizeFromRaw(QStringLiteral("Huge")).has_value());
}

TEST(AppSettings, EffectiveMetricFollowsTheUnitsMode) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    s.setUnitsMode(QStringLiteral("metric"));
    EXPECT_TRUE(s.effectiveMetric());
    s.setUnitsMode(QStringLiteral("imperial"));
    EXPECT_FALSE(s.effectiveMetric());
    s.setUnitsMode(QStringLiteral("auto"));
    EXPECT_EQ(s.effectiveMetric(), QLocale::system().measurementSystem() != QLocale::ImperialUSSystem);
}

TEST(AppSettings, StoreFailureIsAPropertyTheViewsCanShow) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    EXPECT_TRUE(s.property("storeFailure").toString().isEmpty());
    QSignalSpy changed(&s, &AppSettings::storeFailureChanged);
    {
        // Another writer holds the file: the next write cannot reach it.
        const QString peer = QStringLiteral("peer");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), peer);
        db.setDatabaseName(env.storePath());
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        s.setAsr(1);
        QCoreApplication::processEvents();
        EXPECT_EQ(changed.size(), 1);
        EXPECT_TRUE(s.storeFailure().contains(env.storePath()));
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peer"));
    s.setAsr(0);
    EXPECT_TRUE(env.store->sync());
    EXPECT_EQ(changed.size(), 2);
    EXPECT_TRUE(s.storeFailure().isEmpty());
    env.reopen();
    EXPECT_EQ(env.store->integer(env.scoped(QStringLiteral("asr"))), 0);
    EXPECT_TRUE(env.store->contains(env.scoped(QStringLiteral("asr"))));
}
