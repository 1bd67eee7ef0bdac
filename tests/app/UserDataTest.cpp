#include "platform/uVXRegIniFile.h"

#include "Version.h"
#include "support/TempHome.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::TempHome;
using TestSupport::writeFile;

TEST(UserData, FolderIsCreatedBelowTheXdgDataFolder) {
    TempHome home;
    const QString expected = home.dataFolder() + QStringLiteral("/Tessaro/Albumorix/");
    EXPECT_EQ(UserDataFolder(), expected);
    EXPECT_TRUE(QDir(expected).exists());
    // A second call finds the folder.
    EXPECT_EQ(UserDataFolder(), expected);
}

TEST(UserData, FolderFallsBackToTheProgramFolder) {
    TempHome home;
    // The data folder cannot be made: a plain file stands where a folder is needed.
    writeFile(home.dataFolder(), "in the way");
    EXPECT_EQ(UserDataFolder(), ProgramFolder());
    EXPECT_TRUE(ProgramFolder().endsWith(QLatin1Char('/')));

    EXPECT_EQ(UserDataFolderIn(QString(), QStringLiteral("/opt/prog")), QStringLiteral("/opt/prog/"));
    EXPECT_EQ(UserDataFolderIn(home.dataFolder() + QStringLiteral("/sub"), QStringLiteral("/opt/prog/")),
              QStringLiteral("/opt/prog/"));
}

TEST(UserData, OldCopyInTheProgramFolderIsMovedOnce) {
    TempHome home;
    const QString program = home.path() + QStringLiteral("/prog/");
    const QString data = home.path() + QStringLiteral("/userdata/");
    ASSERT_TRUE(QDir().mkpath(program));
    ASSERT_TRUE(QDir().mkpath(data));
    writeFile(program + QStringLiteral("custcolo.dat"), "$000000ff\n");

    EXPECT_EQ(UserDataFileIn(data, program, QStringLiteral("custcolo.dat")),
              data + QStringLiteral("custcolo.dat"));
    EXPECT_EQ(readFile(data + QStringLiteral("custcolo.dat")), QByteArray("$000000ff\n"));
    EXPECT_FALSE(QFile::exists(program + QStringLiteral("custcolo.dat")));

    // Later calls find the file in the user's folder; a new copy in the program's folder neither
    // replaces it nor gets deleted.
    writeFile(program + QStringLiteral("custcolo.dat"), "$00ff0000\n");
    EXPECT_EQ(UserDataFileIn(data, program, QStringLiteral("custcolo.dat")),
              data + QStringLiteral("custcolo.dat"));
    EXPECT_EQ(readFile(data + QStringLiteral("custcolo.dat")), QByteArray("$000000ff\n"));
    EXPECT_TRUE(QFile::exists(program + QStringLiteral("custcolo.dat")));
}

TEST(UserData, MissingFileGivesThePathOnly) {
    TempHome home;
    EXPECT_EQ(UserDataFile(QStringLiteral("nirgends.dat")),
              UserDataFolder() + QStringLiteral("nirgends.dat"));
    EXPECT_FALSE(QFile::exists(UserDataFolder() + QStringLiteral("nirgends.dat")));
}

TEST(UserData, SameFolderIsNoMove) {
    TempHome home;
    const QString folder = home.path() + QStringLiteral("/both/");
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder + QStringLiteral("a.dat"), "x");
    EXPECT_EQ(UserDataFileIn(folder, home.path() + QStringLiteral("/./both"), QStringLiteral("a.dat")),
              folder + QStringLiteral("a.dat"));
    EXPECT_EQ(readFile(folder + QStringLiteral("a.dat")), QByteArray("x"));
}

TEST(UserData, FailedCopyKeepsTheOldFile) {
    // Regression: deleting the old copy after a failed copy lost the user's file.
    TempHome home;
    const QString program = home.path() + QStringLiteral("/prog/");
    ASSERT_TRUE(QDir().mkpath(program));
    writeFile(program + QStringLiteral("custcolo.dat"), "$000000ff\n");
    const QString unwritable = home.path() + QStringLiteral("/nofolder/deeper/");
    UserDataFileIn(unwritable, program, QStringLiteral("custcolo.dat"));
    EXPECT_EQ(readFile(program + QStringLiteral("custcolo.dat")), QByteArray("$000000ff\n"));
}

TEST(UserData, InstallationRecordHoldsFolderAndVersion) {
    TempHome home;
    RecordInstallation();
    const QString installDir = VXRegIniFile().ReadString(QString(), QStringLiteral("InstallDir"), QString());
    EXPECT_EQ(installDir, ProgramFolder());
    EXPECT_TRUE(installDir.endsWith(QLatin1Char('/')));
    const QString version = VXRegIniFile().ReadString(QString(), QStringLiteral("Version"), QString());
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d\\d\\.\\d{4}\\.\\d{4}$")).match(version).hasMatch())
        << version.toStdString();
    EXPECT_EQ(version, QString::asprintf("%d.%.2d.%.4d.0000", TINTARO_VERSION_MAJOR, TINTARO_VERSION_MINOR,
                                         TINTARO_VERSION_PATCH));
}
