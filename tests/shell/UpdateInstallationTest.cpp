#include <gtest/gtest.h>

#include "TempHome.h"
#include "shell/UpdateInstallation.h"

#include <QDir>
#include <QFile>

#include <sys/wait.h>
#include <unistd.h>

using Kind = UpdateInstallation::Kind;

namespace {

// What another user (nobody) would be told about `folder`; without root, the folder is made read-only.
Kind asAnotherUser(const QString& folder) {
    if (::geteuid() != 0) {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const Kind kind = UpdateInstallation::inspect(folder);
        QFile::setPermissions(folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return kind;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0) ::_exit(99);
        ::_exit(int(UpdateInstallation::inspect(folder)));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return Kind(WEXITSTATUS(status));
}

}  // namespace

TEST(UpdateInstallation, OnlyAFolderOfItsOwnThatThisUserCanChangeIsReplaced) {
    TempHome home;
    const QString own = home.path() + QStringLiteral("/apps/orvane");
    const QString bin = home.path() + QStringLiteral("/bin");
    QDir().mkpath(own);
    QDir().mkpath(bin);
    const struct {
        const char* name;
        QString folder;
        Kind expected;
    } cases[] = {
        {"a folder of its own", own, Kind::SelfUpdating},
        {"the same through a trailing slash", own + QLatin1Char('/'), Kind::SelfUpdating},
        {"a package's folder", QStringLiteral("/usr/bin"), Kind::NotWritable},
        {"a package's own tree", QStringLiteral("/usr/lib/x86_64-linux-gnu"), Kind::NotWritable},
        {"no folder at all", home.path() + QStringLiteral("/gone"), Kind::NotWritable},
        {"nothing", QString(), Kind::NotWritable},
        {"a bin folder other programs share", bin, Kind::SharedFolder},
        {"the home folder", home.path(), Kind::SharedFolder},
    };
    for (const auto& c : cases) EXPECT_EQ(UpdateInstallation::inspect(c.folder), c.expected) << c.name;

    // The same folder for someone who cannot write it.
    for (const QString& folder : {home.path(), home.path() + QStringLiteral("/apps")})
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
    EXPECT_EQ(asAnotherUser(own), Kind::NotWritable);

    EXPECT_TRUE(UpdateInstallation::howToUpdate(Kind::SelfUpdating, own).isEmpty());
    EXPECT_TRUE(
        UpdateInstallation::howToUpdate(Kind::NotWritable, QStringLiteral("/usr/bin")).contains(u"/usr/bin"));
    EXPECT_TRUE(UpdateInstallation::howToUpdate(Kind::SharedFolder, bin).contains(bin));
}
