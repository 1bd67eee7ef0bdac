// Whole container files on disk: the one reader and the atomic writer behind projects and every
// other container the program keeps in a file.
#include "document/uDataFile.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/Exception.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {

class ContainerFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList folderEntries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ContainerFileTest, WrittenProjectReadsBack) {
    const QString file = path(QStringLiteral("Album.fbp"));
    WriteContainerFile(file, [](TCustomDataFile& out) { out.WriteString("Doc", "Dokumentname", "Urlaub"); });
    QString name;
    ReadContainerFile(file,
                      [&name](TCustomDataFile& in) { name = in.ReadString("Doc", "Dokumentname", {}); });
    EXPECT_EQ(name, QStringLiteral("Urlaub"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Album.fbp")}) << "no temporary file stays behind";
}

TEST_F(ContainerFileTest, SaveAgainReplacesTheOldContents) {
    const QString file = path(QStringLiteral("Album.fbp"));
    WriteContainerFile(file, [](TCustomDataFile& out) { out.WriteInteger("Doc", "A", 1); });
    WriteContainerFile(file, [](TCustomDataFile& out) { out.WriteInteger("Doc", "B", 2); });
    ReadContainerFile(file, [](TCustomDataFile& in) {
        EXPECT_EQ(in.ReadInteger("Doc", "A", -1), -1);
        EXPECT_EQ(in.ReadInteger("Doc", "B", -1), 2);
    });
}

// Saving used to delete the old file first, so an error while writing lost the project.
TEST_F(ContainerFileTest, FailedSaveKeepsThePreviousFile) {
    const QString file = path(QStringLiteral("Album.fbp"));
    WriteContainerFile(file, [](TCustomDataFile& out) { out.WriteInteger("Doc", "A", 1); });
    const QByteArray before = readFile(file);
    EXPECT_THROW(WriteContainerFile(file,
                                    [](TCustomDataFile& out) {
                                        out.WriteInteger("Doc", "A", 2);
                                        throw Exception(
                                            QStringLiteral("Bild x konnte nicht geladen werden."));
                                    }),
                 Exception);
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Album.fbp")});
}

TEST_F(ContainerFileTest, ReadOnlyFileIsRefusedAndLeftAlone) {
    const QString file = path(QStringLiteral("Fest.fbp"));
    writeFile(file, "unverändert");
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner));
    try {
        WriteContainerFile(file, [](TCustomDataFile&) {});
        FAIL() << "a read-only file was overwritten";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Die Datei ist schreibgeschützt"));
    }
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readFile(file), QByteArray("unverändert"));
}

TEST_F(ContainerFileTest, MissingOrDamagedFileRaisesAClearError) {
    bool called = false;
    EXPECT_THROW(
        ReadContainerFile(path(QStringLiteral("fehlt.fbp")), [&](TCustomDataFile&) { called = true; }),
        Exception);
    const QString damaged = path(QStringLiteral("kaputt.fbp"));
    writeFile(damaged, QByteArray("VX DataFile\0\0\0\0\0\1\0\0\0", 20) + QByteArray(200, '\x7f'));
    EXPECT_THROW(ReadContainerFile(damaged, [&](TCustomDataFile& in) { in.ReadInteger("Doc", "A", 0); }),
                 Exception);
    EXPECT_FALSE(called);
}
