#include <gtest/gtest.h>

#include "KeyringSession.h"
#include "PrivateBus.h"

#include "SettingsTestEnv.h"
#include "services/Keychain.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

TEST(Identifiers, BlankEnvironmentOverrideIsIgnored) {
    SettingsTestEnv env;
    qputenv("ORVANE_DEVICE_ID", " \t ");
    EXPECT_FALSE(AppSettings::envDeviceId().has_value());
    qputenv("ORVANE_DEVICE_ID", "\tABC \n");
    EXPECT_EQ(AppSettings::envDeviceId(), QStringLiteral("ABC \n"));  // line breaks are not blanks here
}

TEST(Identifiers, StoredDeviceIdIsUsedAsFoundAndNothingElseIsWritten) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("deviceId"), QStringLiteral(" odd id "));
    await(Keychain::upsert(QStringLiteral("orvane.deviceId"), "KEYRING-ID"));
    EXPECT_EQ(AppSettings::bootstrapDeviceId(*env.store), QStringLiteral(" odd id "));
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.deviceId"), QStringLiteral("KEYRING-ID"));
}

// The keyring is not asked while the settings are built: a new id stands in, the running clock keeps it,
// and the next start takes the keyring's.
TEST(Identifiers, EmptyStoredDeviceIdTakesTheKeyringCopyAtTheNextStart) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("deviceId"), QString());
    await(Keychain::upsert(QStringLiteral("orvane.deviceId"), "KEYRING-ID"));
    const QString standIn = env.start().deviceId();
    EXPECT_NE(standIn, QStringLiteral("KEYRING-ID"));
    EXPECT_TRUE(env.store->boolean(QStringLiteral("orvane.deviceIdProvisional")));
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.deviceId"),
              QStringLiteral("KEYRING-ID"));  // never overwritten
    env.reopen();
    EXPECT_EQ(env.start().deviceId(), QStringLiteral("KEYRING-ID"));
    EXPECT_EQ(env.store->string(QStringLiteral("deviceId")), QStringLiteral("KEYRING-ID"));
    EXPECT_FALSE(env.store->contains(QStringLiteral("orvane.deviceIdProvisional")));
}

TEST(Identifiers, KeyringCopyRestoresSettingsAfterTheStoreIsLost) {
    SettingsTestEnv env;
    QString device, clock;
    {
        AppSettings& s = env.start();
        device = s.deviceId();
        clock = s.clockId();
    }
    env.settings.reset();
    env.store.reset();
    QFile::remove(env.storePath());
    env.reopen();
    // The clock id comes back as soon as the keyring has been asked; the device id at the next start.
    EXPECT_EQ(env.start().clockId(), clock);
    env.reopen();
    AppSettings& s = env.start();
    EXPECT_EQ(s.deviceId(), device);
    EXPECT_EQ(s.clockId(), clock);
}

TEST(Identifiers, ClockIdValidity) {
    struct Row {
        const char* id;
        bool valid;
    };
    const Row rows[] = {{"clk-0123abcd", true},  {" clk-0123abcd\n", true},   {"clk-0123abc", false},
                        {"CLK-0123abcd", false}, {"clk-anything-long", true}, {"", false}};
    for (const Row& row : rows)
        EXPECT_EQ(AppSettings::isValidClockId(QLatin1String(row.id)), row.valid) << row.id;
}

TEST(Identifiers, BlankedClockIdIsReturnedTrimmedAndLeftAsStored) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("deviceId"), QStringLiteral("D"));
    env.store->setString(QStringLiteral("profile.D.clockId"), QStringLiteral(" clk-AbCd1234 "));
    AppSettings& s = env.start();
    EXPECT_EQ(s.ensureLocalClockId(), QStringLiteral("clk-AbCd1234"));
    env.settleKeyring();
    EXPECT_EQ(env.store->string(QStringLiteral("profile.D.clockId")), QStringLiteral(" clk-AbCd1234 "));
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.clockId"), QStringLiteral("clk-AbCd1234"));
}

TEST(Identifiers, InvalidSettingTakesTheKeyringCopyUnchangedInCase) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("deviceId"), QStringLiteral("D"));
    env.store->setString(QStringLiteral("profile.D.clockId"), QStringLiteral("CLK-0123ABCD"));
    await(Keychain::upsert(QStringLiteral("orvane.clockId"), " clk-Keyring1 "));
    AppSettings& s = env.start();
    EXPECT_EQ(s.clockId(), QStringLiteral("clk-Keyring1"));
    EXPECT_EQ(env.store->string(QStringLiteral("profile.D.clockId")), QStringLiteral("clk-Keyring1"));
}

TEST(Identifiers, IdUnderAnotherDevicesKeyComesBackLowerCased) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("deviceId"), QStringLiteral("D"));
    env.store->setString(QStringLiteral("profile.OLD.clockId"), QStringLiteral("clk-OLDDEV99"));
    EXPECT_EQ(AppSettings::loadClockIdFromUserDefaults(*env.store, QStringLiteral("D")),
              QStringLiteral("clk-olddev99"));
    env.store->setString(QStringLiteral("clockId"), QStringLiteral(" clk-BARE0001"));
    EXPECT_EQ(AppSettings::loadClockIdFromUserDefaults(*env.store, std::nullopt),
              QStringLiteral("clk-bare0001"));
    env.store->setInteger(QStringLiteral("x.clockId"), 5);
    env.store->remove(QStringLiteral("clockId"));
    env.store->remove(QStringLiteral("profile.OLD.clockId"));
    EXPECT_FALSE(AppSettings::loadClockIdFromUserDefaults(*env.store, QStringLiteral("D")).has_value());
    AppSettings& s = env.start();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^clk-[0-9a-f]{8}$")).match(s.clockId()).hasMatch());
}

TEST(Identifiers, ClockIdSetterSavesToTheKeyringAndOnlyValidIds) {
    SettingsTestEnv env;
    AppSettings& s = env.start();
    s.setClockId(QStringLiteral("clk-feedbeef"));
    env.settleKeyring();
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.clockId"), QStringLiteral("clk-feedbeef"));
    s.setClockId(QStringLiteral("nonsense"));
    env.settleKeyring();
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.clockId"), QStringLiteral("clk-feedbeef"));
    // A stand-in at once, without waiting on the keyring; then the keyring's own once it has answered.
    const QString standIn = s.ensureLocalClockId();
    EXPECT_TRUE(AppSettings::isValidClockId(standIn));
    env.settleKeyring();
    EXPECT_EQ(s.ensureLocalClockId(), QStringLiteral("clk-feedbeef"));
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.clockId"), QStringLiteral("clk-feedbeef"));
}

// Runs in a child on a bus without any Secret Service: the stored ids must survive.
TEST(Identifiers, ChildKeepsStoredIdsWhileTheKeyringIsUnavailable) {
    const QString path = qEnvironmentVariable("ORVANE_IDS_CHILD_STORE");
    if (path.isEmpty()) GTEST_SKIP() << "runs as a child only";
    ASSERT_EQ(await(SecretStore::read(QStringLiteral("orvane.deviceId"))).status,
              SecretStore::Status::Unavailable);
    DefaultsStore store(path);
    AppSettings s(store);
    SettingsTestEnv::settleKeyring();
    EXPECT_EQ(s.deviceId(), QStringLiteral("OLD-DEVICE"));
    EXPECT_EQ(s.clockId(), QStringLiteral("clk-0ld0c10c"));
    EXPECT_EQ(store.string(QStringLiteral("deviceId")), QStringLiteral("OLD-DEVICE"));
    EXPECT_EQ(s.ensureLocalClockId(), QStringLiteral("clk-0ld0c10c"));
    EXPECT_EQ(s.ensureLocalClockId(), QStringLiteral("clk-0ld0c10c"));
}

namespace {

// Runs one child test of this binary against `env`'s files on a session bus without a Secret Service.
void runWithoutKeyring(const SettingsTestEnv& env, const char* test) {
    const PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty());
    QProcess child;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    e.insert(QStringLiteral("ORVANE_IDS_CHILD_STORE"), env.storePath());
    e.insert(QStringLiteral("HOME"), env.home.path());
    e.insert(QStringLiteral("XDG_CONFIG_HOME"), env.home.configHome());
    e.insert(QStringLiteral("XDG_DATA_HOME"), env.home.dataHome());
    e.insert(QStringLiteral("XDG_CACHE_HOME"), env.home.cacheHome());
    child.setProcessEnvironment(e);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + QLatin1String(test)});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
}

}  // namespace

TEST(Identifiers, UnavailableKeyringKeepsTheOldDeviceId) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("deviceId"), QStringLiteral("OLD-DEVICE"));
    env.store->setString(QStringLiteral("profile.OLD-DEVICE.clockId"), QStringLiteral("clk-0ld0c10c"));
    env.store->sync();
    runWithoutKeyring(env, "Identifiers.ChildKeepsStoredIdsWhileTheKeyringIsUnavailable");
    env.reopen();
    EXPECT_EQ(env.store->string(QStringLiteral("deviceId")), QStringLiteral("OLD-DEVICE"));
    EXPECT_FALSE(env.store->contains(QStringLiteral("orvane.deviceIdProvisional")));
}

// Runs in a child on a bus without any Secret Service, with an empty store.
TEST(Identifiers, ChildStartsWithProvisionalIds) {
    const QString path = qEnvironmentVariable("ORVANE_IDS_CHILD_STORE");
    if (path.isEmpty()) GTEST_SKIP() << "runs as a child only";
    DefaultsStore store(path);
    AppSettings s(store);
    SettingsTestEnv::settleKeyring();
    EXPECT_TRUE(store.boolean(QStringLiteral("orvane.deviceIdProvisional")));
    EXPECT_EQ(store.string(QStringLiteral("orvane.clockIdProvisional")), s.clockId());
    EXPECT_EQ(s.ensureLocalClockId(), s.clockId());
}

TEST(Identifiers, ProvisionalIdsAreSavedOnceTheKeyringAnswersEmpty) {
    SettingsTestEnv env;
    runWithoutKeyring(env, "Identifiers.ChildStartsWithProvisionalIds");
    env.reopen();
    const QString device = env.store->string(QStringLiteral("deviceId")).value_or(QString());
    const QString clock = env.store->string(env.scoped(QStringLiteral("clockId"))).value_or(QString());
    ASSERT_FALSE(device.isEmpty());
    AppSettings& s = env.start();
    EXPECT_EQ(s.deviceId(), device);
    EXPECT_EQ(s.clockId(), clock);
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.deviceId"), device);
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.clockId"), clock);
    EXPECT_FALSE(env.store->contains(QStringLiteral("orvane.deviceIdProvisional")));
    EXPECT_FALSE(env.store->contains(QStringLiteral("orvane.clockIdProvisional")));
}

TEST(Identifiers, TheKeyringsIdsReplaceProvisionalOnes) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("deviceId"), QStringLiteral("PROVISIONAL"));
    env.store->setBool(QStringLiteral("orvane.deviceIdProvisional"), true);
    env.store->setString(QStringLiteral("profile.DURABLE.clockId"), QStringLiteral("clk-pr0v0001"));
    env.store->setString(QStringLiteral("orvane.clockIdProvisional"), QStringLiteral("clk-pr0v0001"));
    await(Keychain::upsert(QStringLiteral("orvane.deviceId"), "DURABLE"));
    await(Keychain::upsert(QStringLiteral("orvane.clockId"), "clk-dura0001"));
    EXPECT_EQ(env.start().deviceId(), QStringLiteral("PROVISIONAL"));  // kept while running
    env.reopen();
    AppSettings& s = env.start();
    EXPECT_EQ(s.deviceId(), QStringLiteral("DURABLE"));
    EXPECT_EQ(s.clockId(), QStringLiteral("clk-dura0001"));
    EXPECT_EQ(SettingsTestEnv::keyring("orvane.clockId"), QStringLiteral("clk-dura0001"));
    EXPECT_FALSE(env.store->contains(QStringLiteral("orvane.deviceIdProvisional")));
    EXPECT_FALSE(env.store->contains(QStringLiteral("orvane.clockIdProvisional")));
}

TEST(Identifiers, SettingsMadeUnderAProvisionalIdMoveToTheKeyringsId) {
    SettingsTestEnv env;
    env.store->setString(QStringLiteral("deviceId"), QStringLiteral("PROVISIONAL"));
    env.store->setBool(QStringLiteral("orvane.deviceIdProvisional"), true);
    // Changed during the outage: two settings the real profile lacks, and one it has its own value for.
    env.store->setInteger(QStringLiteral("profile.PROVISIONAL.asr"), 2);
    env.store->setString(QStringLiteral("profile.PROVISIONAL.manualCity"), QStringLiteral(""));
    env.store->setString(QStringLiteral("profile.PROVISIONAL.method"), QStringLiteral("MWL"));
    env.store->setString(QStringLiteral("profile.DURABLE.method"), QStringLiteral("Makkah"));
    env.store->setString(QStringLiteral("profile.DURABLE.manualCity"), QStringLiteral("Leeds"));
    env.store->setString(QStringLiteral("profiles.PROVISIONAL.asr"), QStringLiteral("not a profile"));
    await(Keychain::upsert(QStringLiteral("orvane.deviceId"), "DURABLE"));
    EXPECT_EQ(env.start().deviceId(), QStringLiteral("PROVISIONAL"));  // the keyring answers after the start
    env.reopen();
    {
        AppSettings& s = env.start();
        EXPECT_EQ(s.deviceId(), QStringLiteral("DURABLE"));
        EXPECT_EQ(s.asr(), 2);
        EXPECT_EQ(s.method(), QStringLiteral("Makkah"));
        EXPECT_EQ(s.manualCity(), QStringLiteral("Leeds"));
    }
    env.reopen();  // carried over on disk, not only in memory
    EXPECT_EQ(env.store->integer(QStringLiteral("profile.DURABLE.asr")), 2);
    EXPECT_EQ(env.store->string(QStringLiteral("profile.DURABLE.method")), QStringLiteral("Makkah"));
    EXPECT_FALSE(env.store->contains(QStringLiteral("profiles.DURABLE.asr")));
    // The provisional profile stays as it was.
    EXPECT_EQ(env.store->string(QStringLiteral("profile.PROVISIONAL.method")), QStringLiteral("MWL"));
}

// Runs in a child with a keyring of its own, which it locks between two starts.
TEST(Identifiers, ChildKeepsIdsAcrossALockedKeyring) {
    if (qEnvironmentVariableIsEmpty("ORVANE_IDS_LOCK_CHILD")) GTEST_SKIP() << "runs as a child only";
    TempHome home;
    const QString path = home.configHome() + QStringLiteral("/Orvane/defaults.sqlite3");
    QString device, clock;
    {
        DefaultsStore store(path);
        AppSettings s(store);
        SettingsTestEnv::settleKeyring();
        device = s.deviceId();
        clock = s.clockId();
        ASSERT_EQ(await(SecretStore::read(QStringLiteral("orvane.deviceId"))).data, device.toUtf8());
    }
    QDBusMessage lock = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("Lock"));
    lock << QVariant::fromValue(
        QList<QDBusObjectPath>{QDBusObjectPath("/org/freedesktop/secrets/collection/login")});
    ASSERT_EQ(QDBusConnection::sessionBus().call(lock).type(), QDBusMessage::ReplyMessage);
    ASSERT_EQ(await(SecretStore::read(QStringLiteral("orvane.deviceId"))).status,
              SecretStore::Status::Unavailable);
    {
        DefaultsStore store(path);
        AppSettings s(store);
        SettingsTestEnv::settleKeyring();
        EXPECT_EQ(s.deviceId(), device);
        EXPECT_EQ(s.clockId(), clock);
        // With the setting lost and no other copy, the new id only stands in until the keyring is asked.
        s.setClockId(QStringLiteral("nonsense"));
        const QString standIn = s.ensureLocalClockId();
        EXPECT_NE(standIn, clock);
        EXPECT_EQ(store.string(QStringLiteral("orvane.clockIdProvisional")), standIn);
        EXPECT_FALSE(store.contains(QStringLiteral("orvane.deviceIdProvisional")));
        // The locked keyring is not asked again on its own, however often the id is read ...
        EXPECT_TRUE(AppSettings::keyringIdle());
        QTest::qWait(100);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(s.ensureLocalClockId(), standIn);
        EXPECT_TRUE(AppSettings::keyringIdle());
        // ... only when the user acts.
        s.retryKeyring();
        EXPECT_FALSE(AppSettings::keyringIdle());
        SettingsTestEnv::settleKeyring();
        EXPECT_EQ(s.ensureLocalClockId(), standIn);
    }
}

TEST(Identifiers, LockedKeyringKeepsTheOldIds) {
    if (!KeyringSession::available()) GTEST_SKIP() << "needs gnome-keyring-daemon and dbus-run-session";
    QTemporaryDir home;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("HOME"), home.path());
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    e.insert(QStringLiteral("ORVANE_IDS_LOCK_CHILD"), QStringLiteral("1"));
    e.remove(QStringLiteral("ORVANE_DEVICE_ID"));
    EXPECT_TRUE(KeyringSession::runTest(QStringLiteral("Identifiers.ChildKeepsIdsAcrossALockedKeyring"), e));
}
