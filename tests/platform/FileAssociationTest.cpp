#include "platform/uFileAssociation.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace FileAssociation;
using TestSupport::readFile;

namespace {

struct ToolCalls {
    QStringList programs;
    ToolRunner runner() {
        return [this](const QString& program, const QStringList& arguments) {
            programs << program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
        };
    }
};

class FileAssociationInstall : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        association.extension = QStringLiteral("fbp");
        association.programPath = QStringLiteral("/opt/tintaro/bin/tintaro");
        association.applicationTitle = QStringLiteral("Tintaro Print Kit");
        association.dataHome = dir.filePath(QStringLiteral("data"));
        association.configHome = dir.filePath(QStringLiteral("config"));
        association.thumbnailerProgram = QStringLiteral("/opt/tintaro/bin/tintaro-cli");
    }
    QString desktopPath() const {
        return association.dataHome + QStringLiteral("/applications/tintaro.desktop");
    }
    QString mimePath() const {
        return association.dataHome + QStringLiteral("/mime/packages/tintaro-fbp.xml");
    }
    QString mimeAppsPath() const { return association.configHome + QStringLiteral("/mimeapps.list"); }
    QString thumbnailerPath() const {
        return association.dataHome + QStringLiteral("/thumbnailers/tintaro.thumbnailer");
    }

    QTemporaryDir dir;
    TAssociation association;
};

} // namespace

TEST(FileAssociationContents, ExecQuotesThePathAndPassesTheFile) {
    EXPECT_EQ(DesktopExecLine(QStringLiteral("/opt/tintaro/bin/tintaro")),
              QStringLiteral("\"/opt/tintaro/bin/tintaro\" %f"));
    // Blanks stay inside the quotes; the four special characters get a backslash, % is doubled.
    EXPECT_EQ(DesktopExecLine(QStringLiteral("/home/a b/$x\"`\\100%/tintaro")),
              QStringLiteral("\"/home/a b/\\$x\\\"\\`\\\\100%%/tintaro\" %f"));
    EXPECT_TRUE(DesktopExecLine(QStringLiteral("/tmp/new\nline")).isEmpty());
    EXPECT_TRUE(DesktopExecLine(QString()).isEmpty());
}

TEST(FileAssociationContents, DesktopEntryEscapesBackslashesOfTheExecValue) {
    TAssociation a{QStringLiteral("fbp"),
                   QStringLiteral("/x\\y/tintaro"),
                   QStringLiteral("Tintaro Print Kit"),
                   {},
                   {},
                   {}};
    const QString text = QString::fromUtf8(DesktopEntryText(a));
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    // Exec quoting doubles the backslash, the key file doubles both again.
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"/x\\\\\\\\y/tintaro\" %f\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nMimeType=application/x-tintaro-fbp;\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nName=Tintaro Print Kit\n")));

    a.programPath = QStringLiteral("/tmp/a\tb");
    EXPECT_TRUE(DesktopEntryText(a).isEmpty());
}

TEST(FileAssociationContents, MimePackageNamesTheGlobAndTheFileTypeDescription) {
    TAssociation a{
        QStringLiteral("fbp"), QStringLiteral("/p"), QStringLiteral("Tintaro Print Kit"), {}, {}, {}};
    const QString text = QString::fromUtf8(MimePackageText(a));
    EXPECT_TRUE(text.contains(QStringLiteral("<mime-type type=\"application/x-tintaro-fbp\">")));
    EXPECT_TRUE(text.contains(QStringLiteral("<glob pattern=\"*.fbp\"/>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<comment>Tintaro Print Kit Datei</comment>")));
    a.applicationTitle = QStringLiteral("A & <B>");
    EXPECT_TRUE(QString::fromUtf8(MimePackageText(a)).contains(QStringLiteral("A &amp; &lt;B&gt; Datei")));
}

// An installation ships the same two files the designer writes for the user at its start.
TEST(FileAssociationContents, InstalledFilesEqualWhatTheDesignerWrites) {
    const QString folder = QStringLiteral(TINTARO_TEST_DATA "/../../resources/desktop/");
    TAssociation installed;
    installed.extension = QStringLiteral("fbp");
    installed.programPath = QStringLiteral("/usr/local/bin/tintaro");
    installed.applicationTitle = QStringLiteral("Tintaro Print Kit");
    QByteArray entry = readFile(folder + QStringLiteral("tintaro.desktop.in"));
    ASSERT_FALSE(entry.isEmpty());
    entry.replace("@TINTARO_PROGRAM@", installed.programPath.toUtf8());
    EXPECT_EQ(entry, DesktopEntryText(installed));
    EXPECT_EQ(readFile(folder + MimePackageFileName(QStringLiteral("fbp"))), MimePackageText(installed));
    installed.thumbnailerProgram = QStringLiteral("/usr/local/bin/tintaro-cli");
    QByteArray thumbnailer = readFile(folder + QStringLiteral("tintaro.thumbnailer.in"));
    ASSERT_FALSE(thumbnailer.isEmpty());
    thumbnailer.replace("@TINTARO_CLI_PROGRAM@", installed.thumbnailerProgram.toUtf8());
    EXPECT_EQ(thumbnailer, ThumbnailerEntryText(installed));
}

TEST(FileAssociationContents, MimeAppsDefaultIsAddedOnceAndNeverOverridesTheUsersChoice) {
    const QString type = QStringLiteral("application/x-tintaro-fbp");
    const QString id = QStringLiteral("tintaro.desktop");

    EXPECT_EQ(MergeMimeAppsDefault({}, type, id),
              QByteArray("[Default Applications]\napplication/x-tintaro-fbp=tintaro.desktop\n"));

    const QByteArray other("[Added Associations]\nimage/png=viewer.desktop;\n");
    EXPECT_EQ(MergeMimeAppsDefault(other, type, id),
              other + "\n[Default Applications]\napplication/x-tintaro-fbp=tintaro.desktop\n");

    // Inserted at the end of an existing section, before the blank line and the next section.
    const QByteArray withSection(
        "[Default Applications]\ntext/plain=editor.desktop\n\n[Removed Associations]\n");
    EXPECT_EQ(MergeMimeAppsDefault(withSection, type, id),
              QByteArray("[Default Applications]\ntext/plain=editor.desktop\n"
                         "application/x-tintaro-fbp=tintaro.desktop\n\n[Removed Associations]\n"));

    const QByteArray chosen("[Default Applications]\napplication/x-tintaro-fbp = other.desktop\n");
    EXPECT_EQ(MergeMimeAppsDefault(chosen, type, id), chosen);

    // The same type in another section is not a default.
    const QByteArray added("[Added Associations]\napplication/x-tintaro-fbp=other.desktop;\n");
    EXPECT_TRUE(MergeMimeAppsDefault(added, type, id)
                    .endsWith("[Default Applications]\n"
                              "application/x-tintaro-fbp=tintaro.desktop\n"));
}

TEST_F(FileAssociationInstall, FirstRunWritesEverythingAndRefreshesBothDatabases) {
    ToolCalls tools;
    const TRegisterResult result = RegisterFileType(association, tools.runner());
    EXPECT_TRUE(result.changed());
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(readFile(desktopPath()), DesktopEntryText(association));
    EXPECT_EQ(readFile(mimePath()), MimePackageText(association));
    EXPECT_TRUE(readFile(mimeAppsPath()).contains("application/x-tintaro-fbp=tintaro.desktop"));
    EXPECT_EQ(readFile(thumbnailerPath()),
              QByteArray("[Thumbnailer Entry]\n"
                         "TryExec=/opt/tintaro/bin/tintaro-cli\n"
                         "Exec=\"/opt/tintaro/bin/tintaro-cli\" thumbnail %i %o --size %s\n"
                         "MimeType=application/x-tintaro-fbp;\n"));
    EXPECT_EQ(tools.programs, (QStringList{QStringLiteral("update-mime-database ") + association.dataHome +
                                               QStringLiteral("/mime"),
                                           QStringLiteral("update-desktop-database ") + association.dataHome +
                                               QStringLiteral("/applications")}));
}

TEST_F(FileAssociationInstall, UnchangedInstallationTouchesNothing) {
    ToolCalls first;
    RegisterFileType(association, first.runner());
    const QDateTime desktopTime = QFileInfo(desktopPath()).lastModified();
    const QDateTime thumbnailerTime = QFileInfo(thumbnailerPath()).lastModified();

    ToolCalls second;
    const TRegisterResult result = RegisterFileType(association, second.runner());
    EXPECT_FALSE(result.changed());
    EXPECT_FALSE(result.failed);
    EXPECT_TRUE(second.programs.isEmpty());
    EXPECT_EQ(QFileInfo(desktopPath()).lastModified(), desktopTime);
    EXPECT_EQ(QFileInfo(thumbnailerPath()).lastModified(), thumbnailerTime);
}

TEST_F(FileAssociationInstall, MovedProgramRewritesOnlyTheDesktopEntry) {
    ToolCalls first;
    RegisterFileType(association, first.runner());
    association.programPath = QStringLiteral("/usr/local/bin/tintaro");
    ToolCalls second;
    const TRegisterResult result = RegisterFileType(association, second.runner());
    EXPECT_TRUE(result.desktopEntryWritten);
    EXPECT_FALSE(result.mimePackageWritten);
    EXPECT_FALSE(result.defaultApplicationWritten);
    EXPECT_TRUE(readFile(desktopPath()).contains("Exec=\"/usr/local/bin/tintaro\" %f"));
    ASSERT_EQ(second.programs.size(), 1);
    EXPECT_TRUE(second.programs.first().startsWith(QStringLiteral("update-desktop-database ")));
}

TEST_F(FileAssociationInstall, UnwritableFolderIsReportedNotThrown) {
    // A plain file where the folder should be makes every write fail.
    QFile blocker(association.dataHome);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ToolCalls tools;
    const TRegisterResult result = RegisterFileType(association, tools.runner());
    EXPECT_TRUE(result.failed);
    EXPECT_FALSE(result.desktopEntryWritten);
    EXPECT_FALSE(result.mimePackageWritten);
    EXPECT_FALSE(result.defaultApplicationWritten);
    EXPECT_FALSE(QFile::exists(mimeAppsPath()));
    EXPECT_TRUE(tools.programs.isEmpty());
}

// The metainfo the designer writes for the user (the one an installation ships) passes the
// AppStream checks and names the desktop entry and the icon's program.
TEST_F(FileAssociationInstall, MetainfoPassesAppstreamValidation) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (tool.isEmpty())
        GTEST_SKIP() << "appstreamcli is not installed (scripts/setup.sh installs the appstream package)";
    RegisterFileType(association, {});
    const QString metainfo =
        association.dataHome + QStringLiteral("/metainfo/io.tintaro.PrintKit.metainfo.xml");
    const QByteArray text = readFile(metainfo);
    EXPECT_TRUE(text.contains("<id>io.tintaro.PrintKit</id>"));
    EXPECT_TRUE(text.contains("<launchable type=\"desktop-id\">tintaro.desktop</launchable>"));
    EXPECT_TRUE(readFile(desktopPath()).contains("\nIcon=tintaro\n"));
    QProcess validate;
    validate.start(tool, {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    ASSERT_TRUE(validate.waitForFinished(60000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().constData();
}
