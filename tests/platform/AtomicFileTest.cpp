#include "platform/Exception.h"
#include "platform/uAtomicFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;

namespace {

class AtomicFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        target = dir.filePath(QStringLiteral("ziel.fbp"));
    }
    QStringList files() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    QTemporaryDir dir;
    QString target;
};

} // namespace

TEST_F(AtomicFile, TheTargetChangesOnlyOnCommit) {
    {
        TAtomicFile file(target);
        ASSERT_EQ(file.write("neu", 3), 3);
        EXPECT_FALSE(QFileInfo::exists(target)); // nothing visible before the commit
        file.Commit();
    }
    EXPECT_EQ(readFile(target), QByteArray("neu"));

    // Seeking back and writing over the start, as a container never does but a device allows.
    {
        TAtomicFile file(target);
        file.write("abcdef", 6);
        ASSERT_TRUE(file.seek(1));
        file.write("X", 1);
        EXPECT_EQ(file.size(), 6);
        // Destroyed without commit: the old content stays and no temporary file is left.
    }
    EXPECT_EQ(readFile(target), QByteArray("neu"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("ziel.fbp")});
}

TEST_F(AtomicFile, InjectedFaultsFailTheWriteOrTheCommitAndLeaveNoTrace) {
    QFile::remove(target);
    TWriteFaults faults;
    faults.FailAfterBytes = 4;
    {
        TAtomicFile file(target, faults);
        EXPECT_EQ(file.write("1234", 4), 4);
        EXPECT_EQ(file.write("5", 1), -1);
        EXPECT_FALSE(file.errorString().isEmpty());
    }
    EXPECT_TRUE(files().isEmpty());

    faults = {};
    faults.FailCommit = true;
    TAtomicFile file(target, faults);
    file.write("x", 1);
    EXPECT_THROW(file.Commit(), Exception);
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST_F(AtomicFile, ASymbolicLinkKeepsPointingAtTheReplacedFile) {
    const QString real = dir.filePath(QStringLiteral("echt.fbp"));
    {
        QFile file(real);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("alt");
    }
    ASSERT_TRUE(QFile::link(real, target));
    TAtomicFile file(target);
    file.write("neu", 3);
    file.Commit();
    EXPECT_TRUE(QFileInfo(target).isSymLink());
    EXPECT_EQ(readFile(real), QByteArray("neu"));
}

TEST_F(AtomicFile, AFolderThatCannotTakeTheFileRaises) {
    EXPECT_THROW(TAtomicFile(dir.filePath(QStringLiteral("fehlt/ziel.fbp"))), Exception);
}
