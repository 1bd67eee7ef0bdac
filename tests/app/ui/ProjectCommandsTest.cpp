// The main window's Open, Save, Save as and Close project commands on real project files.
#include "support/SampleDocument.h"
#include "support/TempHome.h"
#include "support/TestSupport.h"

#include "ScriptedPrompts.h"

#include "app/ui/FMainform.h"
#include "app/ui/FProgressDlg.h"
#include "app/ui/uMasterPrompts.h"
#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uUndo.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

#include <deque>

namespace {

using TestSupport::readFile;

// Every item as "section|key|data", the pictures' sections named by their reference instead of
// their place in the store, sorted.
QStringList storedItems(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    file.BuildCache();
    QStringList items;
    for (const TDataFileCacheItem& item : file.CacheItems()) {
        QString section = item.Section;
        if (section.startsWith(QStringLiteral("BildManager/Bild")))
            section =
                QStringLiteral("Bild ref %1").arg(file.ReadInteger(section, QStringLiteral("RefIndex"), -1));
        QByteArray data;
        file.ReadBuffer(item.Section, item.Key, data);
        items << section + u'|' + item.Key + u'|' + QString::fromLatin1(data.toHex());
    }
    items.sort();
    return items;
}

class ProjectCommands : public ::testing::Test {
protected:
    void SetUp() override {
        UndoManager().Clear();
        master = std::make_unique<TMaster>(&prompts);
        // New, after closing a project, offers nothing: the wizard is cancelled.
        master->SetNewProjectWizard([](TFBDocument&) { return 2; });
        SampleDocument::fill(master->Document(), home.path());
        file = home.path() + QStringLiteral("/Reise.fbp");
    }
    void TearDown() override {
        master.reset();
        UndoManager().Clear();
    }
    TFBDocument& document() { return master->Document(); }
    // The window is usable: enabled, no progress window left.
    void expectUsable() {
        EXPECT_TRUE(master->isEnabled());
        EXPECT_EQ(master->findChild<TProgressDlg*>(), nullptr);
    }

    TestSupport::TempHome home;
    ScriptedPrompts prompts;
    std::unique_ptr<TMaster> master;
    QString file;
};

} // namespace

TEST_F(ProjectCommands, SaveCloseAndOpenBringTheWholeDocumentBack) {
    prompts.saveNames = {file};
    master->BtnAlbumSpeichernClick();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u' ').toStdString();
    EXPECT_FALSE(document().Modified);
    EXPECT_EQ(document().FilePath, file);
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tintaro Print Kit    - Reise.fbp"));
    expectUsable();
    const QByteArray saved = readFile(file);

    master->BtnSchliessenClick();
    EXPECT_TRUE(document().FilePath.isEmpty());

    prompts.openNames = {file};
    master->BtnAlbumOeffnenClick();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u' ').toStdString();
    expectUsable();
    EXPECT_EQ(document().Dokumentname, QStringLiteral("Photobook 8:5 Größe"));
    ASSERT_EQ(document().Pages.Count(), 3);
    EXPECT_EQ(document().PictureLinks.size(), 1u);
    EXPECT_EQ(document().Pages.Items(1)->Sizeables.Count(), 1);
    EXPECT_FALSE(document().Pages.Items(0)->Picture(0)->GetBitmap().isNull());
    EXPECT_EQ(master->findChild<QLabel*>(QStringLiteral("panTitel"))->text(), document().Dokumentname);
    EXPECT_FALSE(document().Modified);

    // Saving the opened project again writes the same items. Drawing the pages used the pictures,
    // which moves them to the front of the store, so the store's order may differ.
    document().Modified = true;
    master->BtnAlbumSpeichernClick();
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(storedItems(readFile(file)), storedItems(saved));

    // Save as writes the copy under the new name, which the caption shows.
    const QString copy = home.path() + QStringLiteral("/Kopie.fbp");
    prompts.saveNames = {copy};
    master->mnuDateiSpeichernUnterClick();
    EXPECT_EQ(storedItems(readFile(copy)), storedItems(saved));
    EXPECT_EQ(document().FilePath, copy);
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tintaro Print Kit    - Kopie.fbp"));
}

TEST_F(ProjectCommands, ADiskFullWhileSavingKeepsTheOldFileAndTheWindowUsable) {
    prompts.saveNames = {file};
    master->BtnAlbumSpeichernClick();
    ASSERT_TRUE(prompts.errors.isEmpty());
    const QByteArray previous = readFile(file);

    TWriteFaults faults;
    faults.FailAfterBytes = previous.size() / 2;
    master->SetProjectFileOperations(
        [](TFBDocument& d, const QString& p) { LoadDocumentFromFile(d, p); },
        [faults](TFBDocument& d, const QString& p) { SaveDocumentToFile(d, p, faults); });
    document().Dokumentname = QStringLiteral("Geändert");
    document().Modified = true;
    master->BtnAlbumSpeichernClick();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.first().contains(QStringLiteral("Reise.fbp")));
    EXPECT_TRUE(prompts.errors.first().contains(QStringLiteral("Die bisherige Datei ist unverändert.")));
    EXPECT_EQ(readFile(file), previous);
    EXPECT_EQ(QDir(home.path()).entryList({QStringLiteral("*Reise*")}, QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Reise.fbp")});
    EXPECT_TRUE(document().Modified);
    expectUsable();

    // Room again: the next save goes through.
    master->SetProjectFileOperations([](TFBDocument& d, const QString& p) { LoadDocumentFromFile(d, p); },
                                     [](TFBDocument& d, const QString& p) { SaveDocumentToFile(d, p); });
    master->BtnAlbumSpeichernClick();
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_FALSE(document().Modified);
    EXPECT_NE(readFile(file), previous);
}

TEST_F(ProjectCommands, AReadOnlyProjectOpensButSavingOverItIsRefused) {
    prompts.saveNames = {file};
    master->BtnAlbumSpeichernClick();
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QByteArray previous = readFile(file);

    ASSERT_TRUE(master->OpenProject(file));
    EXPECT_EQ(document().Pages.Count(), 3);
    document().Modified = true;
    master->BtnAlbumSpeichernClick();
    EXPECT_EQ(prompts.errors, QStringList{QStringLiteral("Die Datei ist schreibgeschützt")});
    EXPECT_EQ(readFile(file), previous);
    EXPECT_TRUE(document().Modified);
    expectUsable();
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(ProjectCommands, DamagedOrTruncatedProjectsGiveAClearErrorAndLeaveTheWindowUsable) {
    prompts.saveNames = {file};
    master->BtnAlbumSpeichernClick();
    const QByteArray full = readFile(file);

    const QString cut = home.path() + QStringLiteral("/Abgeschnitten.fbp");
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(full.left(full.size() / 2));
    out.close();
    const QString foreign = home.path() + QStringLiteral("/Bild.fbp");
    QFile picture(foreign);
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(400, 'x'));
    picture.close();

    for (const QString& path : {cut, foreign}) {
        SCOPED_TRACE(path.toStdString());
        prompts.errors.clear();
        prompts.openNames = {path};
        master->BtnAlbumOeffnenClick();
        ASSERT_EQ(prompts.errors.size(), 1);
        EXPECT_FALSE(prompts.errors.first().isEmpty());
        EXPECT_TRUE(document().FilePath.isEmpty());
        EXPECT_FALSE(document().Modified);
        expectUsable();
    }
    // The damaged files are left as they were, and a sound project still opens.
    EXPECT_EQ(readFile(cut), full.left(full.size() / 2));
    prompts.errors.clear();
    prompts.openNames = {file};
    master->BtnAlbumOeffnenClick();
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(document().Pages.Count(), 3);
}
