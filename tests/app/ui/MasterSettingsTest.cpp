#include "app/ui/FMainform.h"

#include "app/ui/uMasterPrompts.h"
#include "document/uColorList.h"
#include "editing/uUndo.h"
#include "platform/uVXRegIniFile.h"
#include "support/TempHome.h"

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
    {
        TMaster first;
        EXPECT_EQ(first.PictureFolder(), QString());
        first.setGeometry(20, 30, 720, 560);
        first.show();
        first.SetPictureFolder(QStringLiteral("/home/u/Bilder"));
        first.SetClipartFolder(QStringLiteral("/home/u/Clipart"));
    }
    const QSettings file(home.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(file.value(QStringLiteral("Software/Tessaro/Albumorix/Master/Left")).toInt(), 20);
    EXPECT_EQ(file.value(QStringLiteral("Software/Tessaro/Albumorix/Master/Height")).toInt(), 560);
    EXPECT_EQ(file.value(QStringLiteral("Software/Tessaro/Albumorix/BaseDir")).toString(),
              QStringLiteral("/home/u/Bilder"));

    TMaster second;
    second.show();
    EXPECT_FALSE(second.isMaximized());
    EXPECT_EQ(second.geometry(), QRect(20, 30, 720, 560));
    EXPECT_EQ(second.PictureFolder(), QStringLiteral("/home/u/Bilder"));
    EXPECT_EQ(second.ClipartFolder(), QStringLiteral("/home/u/Clipart"));
}

TEST_F(MasterSettings, NoSelectedFolderLeavesTheStoredOne) {
    VXRegIniFile().WriteString(QString(), QStringLiteral("ClipartBaseDir"), QStringLiteral("/clip"));
    {
        TMaster master;
        master.SetClipartFolder(QString());
    }
    EXPECT_EQ(VXRegIniFile().ReadString(QString(), QStringLiteral("ClipartBaseDir"), QString()),
              QStringLiteral("/clip"));
    EXPECT_EQ(VXRegIniFile().GetDataSize(QString(), QStringLiteral("BaseDir")), -1);
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
