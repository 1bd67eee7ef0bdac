#include "app/ui/FMainform.h"

#include "app/ui/uMasterPrompts.h"
#include "document/uColorList.h"
#include "editing/uUndo.h"
#include "editing/ui/uShellTreeViewEx.h"
#include "platform/uVXRegIniFile.h"
#include "support/TempHome.h"

#include <QDir>
#include <QSettings>

#include <gtest/gtest.h>

#include <memory>

using TestSupport::TempHome;

namespace {

class MasterSettings : public ::testing::Test {
protected:
    void TearDown() override {
        TColorList::Finalize();
        UndoManager().Clear();
    }
    TempHome home;
};

} // namespace

TEST_F(MasterSettings, MainWindowOpensWhereItWasClosedWithItsFolders) {
    const QString pictures = home.path() + QStringLiteral("/Bilder");
    const QString clipart = home.path() + QStringLiteral("/Clipart");
    QDir().mkpath(pictures);
    QDir().mkpath(clipart);
    {
        TMaster first;
        EXPECT_EQ(first.PictureFolder(), TShellTreeViewEx::DocumentsFolder()) << "nothing stored yet";
        first.setGeometry(20, 30, 720, 560);
        first.show();
        first.SetPictureFolder(pictures);
        first.SetClipartFolder(clipart);
    }
    const QSettings file(home.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(file.value(QStringLiteral("Software/Tessaro/Albumorix/Master/Left")).toInt(), 20);
    EXPECT_EQ(file.value(QStringLiteral("Software/Tessaro/Albumorix/Master/Height")).toInt(), 560);
    EXPECT_EQ(file.value(QStringLiteral("Software/Tessaro/Albumorix/BaseDir")).toString(), pictures);

    TMaster second;
    second.show();
    EXPECT_FALSE(second.isMaximized());
    EXPECT_EQ(second.geometry(), QRect(20, 30, 720, 560));
    EXPECT_EQ(second.PictureFolder(), pictures);
    EXPECT_EQ(second.ClipartFolder(), clipart);
}

TEST_F(MasterSettings, AStoredFolderThatIsGoneGivesTheDocumentsAndAnUnreadableChoiceChangesNothing) {
    const QString missing = home.path() + QStringLiteral("/weg");
    VXRegIniFile().WriteString(QString(), QStringLiteral("ClipartBaseDir"), missing);
    {
        TMaster master;
        EXPECT_EQ(master.ClipartFolder(), TShellTreeViewEx::DocumentsFolder());
        master.SetClipartFolder(missing);
        EXPECT_EQ(master.ClipartFolder(), TShellTreeViewEx::DocumentsFolder());
    }
    // What the tree shows is stored: the folder that is gone does not come back.
    EXPECT_EQ(VXRegIniFile().ReadString(QString(), QStringLiteral("ClipartBaseDir"), QString()),
              TShellTreeViewEx::DocumentsFolder());
}

TEST_F(MasterSettings, MaximisedMainWindowOpensMaximised) {
    {
        TMaster first;
        first.showMaximized();
    }
    TMaster second;
    second.show();
    EXPECT_TRUE(second.isMaximized());
}

TEST_F(MasterSettings, CustomColoursAreLoadedAtStart) {
    VXRegIniFile().WriteString(QStringLiteral("CustomColors"), QStringLiteral("Colors"),
                               QStringLiteral("ColorA=0000FF\nColorB=00FF00"));
    TMaster master;
    EXPECT_EQ(TColorList::Instance().Items(0), 0x0000FF);
    EXPECT_EQ(TColorList::Instance().Items(1), 0x00FF00);
    EXPECT_EQ(TColorList::Instance().UsedCount(), 2);
}
