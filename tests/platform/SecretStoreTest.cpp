#include <gtest/gtest.h>

#include "Await.h"
#include "KeyringSession.h"
#include "PrivateBus.h"

#include "TempHome.h"
#include "platform/SecretStore.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>

namespace {

QString uniqueAccount() {
    return QStringLiteral("orvane.test.") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Runs one test of this binary in a child process with `env` changed; values that are null are removed.
int runChild(const char* test, const QList<QPair<QString, QString>>& env) {
    QProcess child;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env) {
        if (value.isNull()) {
            e.remove(name);
        } else {
            e.insert(name, value);
        }
    }
    e.insert(QStringLiteral("ORVANE_SECRET_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(e);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + QLatin1String(test)});
    if (!child.waitForFinished(60000)) return -1;
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

#define CHILD_ONLY() \
    if (qEnvironmentVariableIsEmpty("ORVANE_SECRET_CHILD")) GTEST_SKIP() << "runs as a child only"

}  // namespace

TEST(SecretStore, WriteReadRemoveInTheKeyring) {
    if (SecretStore::usesFileFallback()) GTEST_SKIP() << "no session bus";
    const QString account = uniqueAccount();
    EXPECT_EQ(await(SecretStore::read(account)).status, SecretStore::Status::NotFound);
    ASSERT_EQ(await(SecretStore::write(account, "clk-0123abcd")), SecretStore::Status::Ok);
    ASSERT_EQ(await(SecretStore::write(account, "clk-89abcdef")), SecretStore::Status::Ok);  // replaces
    const SecretStore::ReadResult r = await(SecretStore::read(account));
    EXPECT_EQ(r.status, SecretStore::Status::Ok);
    EXPECT_EQ(r.data, QByteArray("clk-89abcdef"));
    EXPECT_EQ(await(SecretStore::remove(account)), SecretStore::Status::Ok);
    EXPECT_EQ(await(SecretStore::read(account)).status, SecretStore::Status::NotFound);
}

// A keyring call suspends instead of spinning an event loop of its own: nothing else runs inside it, and
// the caller's loop carries on while it is under way.
TEST(SecretStore, CallsRunNoEventLoopOfTheirOwn) {
    if (SecretStore::usesFileFallback()) GTEST_SKIP() << "no session bus";
    const QString account = uniqueAccount();
    bool ticked = false;
    QTimer::singleShot(0, [&ticked] { ticked = true; });
    QCoro::Task<SecretStore::Status> writing = SecretStore::write(account, "clk-0123abcd");
    EXPECT_FALSE(ticked);
    EXPECT_EQ(await(std::move(writing)), SecretStore::Status::Ok);
    EXPECT_TRUE(ticked);
    EXPECT_EQ(await(SecretStore::remove(account)), SecretStore::Status::Ok);
}

TEST(SecretStore, ChildSeesABusWithoutSecretServiceAsUnavailable) {
    CHILD_ONLY();
    EXPECT_FALSE(SecretStore::usesFileFallback());
    EXPECT_EQ(await(SecretStore::read(QStringLiteral("orvane.deviceId"))).status,
              SecretStore::Status::Unavailable);
    EXPECT_EQ(await(SecretStore::write(QStringLiteral("orvane.deviceId"), "x")),
              SecretStore::Status::Unavailable);
    EXPECT_EQ(await(SecretStore::remove(QStringLiteral("orvane.deviceId"))),
              SecretStore::Status::Unavailable);
}

TEST(SecretStore, MissingSecretServiceIsUnavailableNotNotFound) {
    const PrivateBus bus;  // no Secret Service on it
    ASSERT_FALSE(bus.address().isEmpty());
    EXPECT_EQ(runChild("SecretStore.ChildSeesABusWithoutSecretServiceAsUnavailable",
                       {{QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address()}}),
              0);
}

TEST(SecretStore, ChildUsesThePrivateFileWithoutAnyBus) {
    CHILD_ONLY();
    TempHome home;
    ASSERT_TRUE(SecretStore::usesFileFallback());
    EXPECT_EQ(await(SecretStore::read(QStringLiteral("orvane.clockId"))).status,
              SecretStore::Status::NotFound);
    ASSERT_EQ(await(SecretStore::write(QStringLiteral("orvane.clockId"), "clk-0123abcd")),
              SecretStore::Status::Ok);
    EXPECT_EQ(await(SecretStore::read(QStringLiteral("orvane.clockId"))).data, QByteArray("clk-0123abcd"));
    EXPECT_EQ(
        QFile::permissions(SecretStore::fallbackFilePath()),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    QFile f(SecretStore::fallbackFilePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{not json");
    f.close();
    EXPECT_EQ(await(SecretStore::read(QStringLiteral("orvane.clockId"))).status,
              SecretStore::Status::NotFound);
    EXPECT_EQ(await(SecretStore::remove(QStringLiteral("orvane.clockId"))), SecretStore::Status::NotFound);
}

TEST(SecretStore, NoBusAtAllFallsBackToAPrivateFile) {
    TempHome runtime;
    EXPECT_EQ(runChild("SecretStore.ChildUsesThePrivateFileWithoutAnyBus",
                       {{QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString()},
                        {QStringLiteral("DISPLAY"), QString()},
                        {QStringLiteral("XDG_RUNTIME_DIR"), runtime.path()}}),
              0);
}

// Runs in a child with a keyring of its own: stores an item, locks the keyring, reads again.
TEST(SecretStore, ChildSeesALockedKeyringAsUnavailable) {
    if (qEnvironmentVariableIsEmpty("ORVANE_SECRET_LOCK_CHILD")) GTEST_SKIP() << "runs as a child only";
    const QString account = QStringLiteral("orvane.deviceId");
    ASSERT_EQ(await(SecretStore::write(account, "DEV-1")), SecretStore::Status::Ok);
    ASSERT_EQ(await(SecretStore::read(account)).data, QByteArray("DEV-1"));
    QDBusMessage lock = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("Lock"));
    lock << QVariant::fromValue(
        QList<QDBusObjectPath>{QDBusObjectPath("/org/freedesktop/secrets/collection/login")});
    ASSERT_EQ(QDBusConnection::sessionBus().call(lock).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(await(SecretStore::read(account)).status, SecretStore::Status::Unavailable);
    EXPECT_EQ(await(SecretStore::read(QStringLiteral("orvane.missing"))).status,
              SecretStore::Status::Unavailable);
}

TEST(SecretStore, LockedKeyringIsUnavailableNotNotFound) {
    if (!KeyringSession::available()) GTEST_SKIP() << "needs gnome-keyring-daemon and dbus-run-session";
    QTemporaryDir home;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("HOME"), home.path());
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    e.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
    e.insert(QStringLiteral("ORVANE_SECRET_LOCK_CHILD"), QStringLiteral("1"));
    EXPECT_TRUE(
        KeyringSession::runTest(QStringLiteral("SecretStore.ChildSeesALockedKeyringAsUnavailable"), e));
}
