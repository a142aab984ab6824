#include <gtest/gtest.h>

#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kScript = QStringLiteral(ORVANE_SOURCE_DIR "/scripts/install-desktop-entry");

QString readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList linesStartingWith(const QString& text, const QString& prefix) {
    QStringList out;
    for (const QString& line : text.split(u'\n'))
        if (line.startsWith(prefix)) out.append(line);
    return out;
}

struct DesktopEntryFixture : ::testing::Test {
    TempHome home;
    QTemporaryDir tools;  // stand-ins for the desktop's helper programs
    QString dataHome;

    void SetUp() override { dataHome = home.path() + u"/xdg data"_s; }

    QString makeExecutable(const QString& path, const QByteArray& body = "#!/bin/sh\nexit 0\n") {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(body);
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
        return path;
    }

    int run(const QStringList& args, const QString& xdgDataHome, QString* output = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, xdgDataHome);
        env.insert(u"PATH"_s, tools.path() + u":/usr/bin:/bin"_s);
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(u"/bin/bash"_s, QStringList{kScript} + args);
        EXPECT_TRUE(p.waitForFinished(30000));
        if (output) *output = QString::fromUtf8(p.readAll());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
};

}  // namespace

TEST_F(DesktopEntryFixture, InstallsTheEntryAndIconForTheGivenBinary) {
    const QString binary = makeExecutable(home.path() + u"/bin/orvane"_s);
    const QString log = tools.path() + u"/calls.log"_s;
    makeExecutable(tools.path() + u"/xdg-mime"_s,
                   "#!/bin/sh\necho \"xdg-mime $*\" >> '" + log.toUtf8() + "'\n");
    makeExecutable(tools.path() + u"/update-desktop-database"_s,
                   "#!/bin/sh\necho \"update-desktop-database $*\" >> '" + log.toUtf8() + "'\n");

    ASSERT_EQ(run({binary}, dataHome), 0);

    const QString entryPath = dataHome + u"/applications/orvane.desktop"_s;
    const QString entry = readAll(entryPath);
    ASSERT_FALSE(entry.isEmpty());
    EXPECT_EQ(linesStartingWith(entry, u"Exec="_s), QStringList{u"Exec="_s + binary + u" %u"_s});
    EXPECT_EQ(linesStartingWith(entry, u"Name="_s), QStringList{u"Name=Orvane"_s});
    EXPECT_EQ(linesStartingWith(entry, u"Icon="_s), QStringList{u"Icon=orvane"_s});
    EXPECT_EQ(linesStartingWith(entry, u"MimeType="_s), QStringList{u"MimeType=x-scheme-handler/orvane;"_s});
    EXPECT_EQ(linesStartingWith(entry, u"Categories="_s).size(), 1);
    EXPECT_TRUE(entry.startsWith(u"[Desktop Entry]\n"_s));

    const QString icon = dataHome + u"/icons/hicolor/scalable/apps/orvane.svg"_s;
    EXPECT_EQ(readAll(icon), readAll(QStringLiteral(ORVANE_SOURCE_DIR "/resources/shell/orvane.svg")));

    const QStringList calls = readAll(log).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(calls.contains(u"xdg-mime default orvane.desktop x-scheme-handler/orvane"_s))
        << calls.join(u"; "_s).toStdString();
    EXPECT_TRUE(calls.contains(u"update-desktop-database -q "_s + dataHome + u"/applications"_s));
    // Nothing half-written is left beside the files.
    EXPECT_EQ(QDir(dataHome + u"/applications"_s).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"orvane.desktop"_s});
}

TEST_F(DesktopEntryFixture, APathWithSpecialCharactersIsQuotedForTheLauncher) {
    const QString binary = makeExecutable(home.path() + uR"(/my apps/50% "best"/$x\orvane)"_s);
    ASSERT_EQ(run({binary}, dataHome), 0);
    const QString entry = readAll(dataHome + u"/applications/orvane.desktop"_s);
    // Quoted for the command line (\" \$ \\), then every backslash doubled for the key file; % doubled.
    const QString quoted = u"\""_s + home.path() + uR"(/my apps/50%% \\"best\\"/\\$x\\\\orvane")"_s;
    EXPECT_EQ(linesStartingWith(entry, u"Exec="_s), QStringList{u"Exec="_s + quoted + u" %u"_s});
}

TEST_F(DesktopEntryFixture, FailingHelpersDoNotFailTheInstall) {
    const QString binary = makeExecutable(home.path() + u"/bin/orvane"_s);
    makeExecutable(tools.path() + u"/xdg-mime"_s, "#!/bin/sh\necho broken >&2\nexit 3\n");
    makeExecutable(tools.path() + u"/update-desktop-database"_s, "#!/bin/sh\nexit 1\n");
    QString output;
    EXPECT_EQ(run({binary}, dataHome, &output), 0);
    EXPECT_FALSE(output.contains(u"broken"_s));
    EXPECT_TRUE(QFile::exists(dataHome + u"/applications/orvane.desktop"_s));
}

TEST_F(DesktopEntryFixture, WithoutXdgDataHomeItUsesTheLocalShareFolder) {
    const QString binary = makeExecutable(home.path() + u"/bin/orvane"_s);
    ASSERT_EQ(run({binary}, QString()), 0);
    EXPECT_TRUE(QFile::exists(QDir::homePath() + u"/.local/share/applications/orvane.desktop"_s));
    EXPECT_TRUE(QDir::homePath().startsWith(home.path()));
}

TEST_F(DesktopEntryFixture, AMissingBinaryInstallsNothing) {
    EXPECT_NE(run({home.path() + u"/nowhere/orvane"_s}, dataHome), 0);
    EXPECT_NE(run({home.path()}, dataHome), 0);
    EXPECT_FALSE(QFile::exists(dataHome + u"/applications/orvane.desktop"_s));
}
