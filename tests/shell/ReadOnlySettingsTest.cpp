#include <gtest/gtest.h>

#include "FileBytes.h"
#include "MakkahProfile.h"
#include "OrvaneProcess.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "services/CacheFolder.h"

#include <unistd.h>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// The real program started by an ordinary user whose settings folder is read-only (as on a locked-down
// machine, or a disk that filled up): it reads the saved settings, says that changes cannot be saved and
// deletes nothing.

namespace {

constexpr uid_t kNobody = 65534;

void giveTo(const QString& root, uid_t uid) {
    ASSERT_EQ(::chown(QFile::encodeName(root).constData(), uid, uid), 0);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) ASSERT_EQ(::lchown(QFile::encodeName(it.next()).constData(), uid, uid), 0);
}

// A file of the server's assets, as an earlier run left it.
QString cachedFile(const char* folder, const QString& name) {
    const QString path = CacheFolder::path(QLatin1String(folder)) + u'/' + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    FileBytes::write(path, "cached");
    return path;
}

}  // namespace

TEST(ReadOnlySettings, TheProgramReadsTheSavedSettingsAndDeletesNothing) {
    if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    TempHome home;
    DefaultsStore::resetStandard();
    seedMakkahProfile("TEST-PROCESS");
    ASSERT_TRUE(DefaultsStore::standard().sync());
    DefaultsStore::resetStandard();
    const QString logo = cachedFile("Logos", QStringLiteral("logo-1.png"));
    const QString blessings = cachedFile("Blessings", QStringLiteral("blessings.json"));
    const QString runtime = home.path() + QStringLiteral("/runtime");
    QProcessEnvironment env = orvaneEnvironment(runtime);
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));  // root's bus is not this user's

    // Root ignores file modes: the program runs as nobody, as any user would.
    QString program = QStringLiteral(ORVANE_EXECUTABLE);
    QStringList arguments;
    if (::geteuid() == 0) {
        giveTo(home.path(), kNobody);
        arguments = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                QStringLiteral("--clear-groups"), program};
        program = QStringLiteral("setpriv");
    }
    const QString store = DefaultsStore::standardPath();
    const QString folder = QFileInfo(store).absolutePath();
    QFile::setPermissions(store, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const QByteArray saved = FileBytes::readAll(store);

    QProcess orvane;
    orvane.setProcessEnvironment(env);
    startOffline(orvane, arguments, program);
    ASSERT_TRUE(orvane.waitForStarted(5000));
    QByteArray errors;
    // The face comes with the saved place: the store's values were read.
    const bool placed = QTest::qWaitFor(
        [&] {
            errors += orvane.readAllStandardError();
            return errors.contains("loaded the bundle for Makkah") || orvane.state() != QProcess::Running;
        },
        60000);
    const bool running = orvane.state() == QProcess::Running;
    stopProcess(orvane);
    errors += orvane.readAllStandardError();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_TRUE(placed && running) << errors.toStdString();
    EXPECT_TRUE(errors.contains("can be read but not written")) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(logo));
    EXPECT_TRUE(QFile::exists(blessings));
    EXPECT_EQ(FileBytes::readAll(store), saved);
}
