#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

// The test command must never touch the user's own home, session bus or keyring: a developer's desktop
// keyring has a password the tests do not know, and files written there outlive the run. These checks
// fail when the tests run outside scripts/with-test-services or when that script lets the real home in.
namespace {

QString testRoot() {
    return qEnvironmentVariable("ORVANE_TEST_HOME_ROOT");
}

bool isInside(const QString& path, const QString& root) {
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    const QString canonicalPath = QFileInfo(path).canonicalFilePath();
    return !canonicalRoot.isEmpty() && !canonicalPath.isEmpty() &&
           canonicalPath.startsWith(canonicalRoot + QLatin1Char('/'));
}

class PrivateTestHome : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(testRoot().isEmpty()) << "tests must run under scripts/with-test-services";
    }
};

TEST_F(PrivateTestHome, HomeAndEveryXdgFolderLiveInTheTemporaryRoot) {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                             "XDG_RUNTIME_DIR"}) {
        const QString value = qEnvironmentVariable(name);
        EXPECT_TRUE(isInside(value, testRoot())) << name << "=" << value.toStdString();
    }
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    EXPECT_NE(QFileInfo(qEnvironmentVariable("HOME")).canonicalFilePath(),
              QFileInfo(QString::fromLocal8Bit(account->pw_dir)).canonicalFilePath());
}

TEST_F(PrivateTestHome, NothingOfTheDesktopSessionLeaksIn) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS", "SSH_AUTH_SOCK"})
        EXPECT_TRUE(qEnvironmentVariableIsEmpty(name)) << name << " is set";
}

TEST_F(PrivateTestHome, TheSessionBusIsPrivateAndCarriesTheTestServices) {
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    ASSERT_TRUE(address.startsWith(QStringLiteral("unix:path="))) << address.toStdString();
    EXPECT_TRUE(isInside(address.mid(QStringLiteral("unix:path=").size()), testRoot()))
        << address.toStdString();

    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected());
    for (const char* service : {"org.freedesktop.secrets", "org.freedesktop.Notifications"}) {
        // The keyring starts on demand; asking for it proves it is activatable on this bus.
        const bool present = bus.interface()->isServiceRegistered(QString::fromLatin1(service)).value() ||
                             bus.interface()->startService(QString::fromLatin1(service)).isValid();
        EXPECT_TRUE(present) << service;
    }
}

TEST_F(PrivateTestHome, TheKeyringKeepsItsFilesInThePrivateHome) {
    const QDir keyrings(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/keyrings"));
    EXPECT_TRUE(keyrings.exists(QStringLiteral("login.keyring"))) << keyrings.path().toStdString();
}

}  // namespace
