#include "document/uColorList.h"
#include "document/uFBColor.h"

#include "platform/Exception.h"
#include "platform/uVXRegIniFile.h"
#include "support/TempHome.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::TempHome;
using TestSupport::writeFile;

namespace {

// A colour dialog that answers as told and remembers what it was shown.
class FakeColorDialog : public TColorDialogService {
public:
    bool confirm = false;
    std::int32_t answer = 0;
    TColorDialogService::CustomColors answerCustom{};
    int shown = 0;
    std::int32_t startColour = 0;
    TColorDialogService::CustomColors shownCustom{};

    bool Execute(std::int32_t& colour, CustomColors& customColors) override {
        ++shown;
        startColour = colour;
        shownCustom = customColors;
        if (!confirm)
            return false;
        colour = answer;
        customColors = answerCustom;
        return true;
    }
};

// Every test gets its own home folder and the fake dialog; the process-wide colour table is
// written and freed at the end of each test, inside that home.
class ColorTest : public ::testing::Test {
protected:
    void SetUp() override { previous_ = SetColorDialogService(&dialog); }
    void TearDown() override {
        TColorList::Finalize();
        SetColorDialogService(previous_);
    }

    TempHome home;
    FakeColorDialog dialog;

private:
    TColorDialogService* previous_ = nullptr;
};

TColorList fullTable() {
    TColorList table;
    for (int i = 0; i < table.Count(); ++i)
        table.SetItem(i, 0x010000 * i + 7);
    return table;
}

} // namespace

TEST(ColorList, AddColorFindsReusesOrOverwrites) {
    TColorList table;
    EXPECT_EQ(table.Count(), 32);
    EXPECT_EQ(table.UsedCount(), 0);

    table.SetItem(5, 0x123456);
    EXPECT_EQ(table.AddColor(0x123456, 9), 5); // already there: nothing changes
    EXPECT_EQ(table.UsedCount(), 1);
    EXPECT_EQ(table.Items(9), TColorList::Empty);

    EXPECT_EQ(table.AddColor(0x00FF00, 9), 0); // the first empty slot, not the preferred one
    EXPECT_EQ(table.Items(0), 0x00FF00);

    TColorList full = fullTable();
    EXPECT_EQ(full.AddColor(0x0000FF, 12), 12); // no room: the preferred slot is overwritten
    EXPECT_EQ(full.Items(12), 0x0000FF);
    EXPECT_EQ(full.UsedCount(), 32);
    EXPECT_EQ(full.AddColor(0x0000FE, 40), -1); // no room and no usable slot
    EXPECT_EQ(full.AddColor(TColorList::Empty, 3), -1);
    EXPECT_EQ(full.Items(3), 0x030007);

    full.Clear();
    EXPECT_EQ(full.UsedCount(), 0);
    EXPECT_EQ(full.Items(-1), TColorList::Empty);
    EXPECT_EQ(full.Items(32), TColorList::Empty);
}

TEST(ColorList, ColourTextForms) {
    std::int32_t c = 0;
    EXPECT_TRUE(TextToColor(QStringLiteral("clRed"), c));
    EXPECT_EQ(c, 0x0000FF);
    EXPECT_TRUE(TextToColor(QStringLiteral(" CLNAVY\r\n"), c));
    EXPECT_EQ(c, 0x800000);
    EXPECT_TRUE(TextToColor(QStringLiteral("$00ff8000"), c));
    EXPECT_EQ(c, 0xFF8000);
    EXPECT_TRUE(TextToColor(QStringLiteral("$FFFFFFFF"), c));
    EXPECT_EQ(c, -1);
    EXPECT_TRUE(TextToColor(QStringLiteral("0x10"), c));
    EXPECT_EQ(c, 16);
    EXPECT_TRUE(TextToColor(QStringLiteral("255"), c));
    EXPECT_EQ(c, 255);
    c = 42;
    for (const char* bad : {"rot", "", "$", "$1FFFFFFFF", "$-1", "12abc", "99999999999", "clRedish"})
        EXPECT_FALSE(TextToColor(QString::fromLatin1(bad), c)) << bad;
    EXPECT_EQ(c, 42);
}

TEST_F(ColorTest, FileLinesFillSlotsInOrderSkippingNonColours) {
    const QString path = home.path() + QStringLiteral("/custcolo.dat");
    writeFile(path, "$000000ff\r\nclRed\r\nHimmelblau\r\n\r\n$00a0b0c0\n");
    TColorList table;
    table.SetItem(20, 5);
    table.LoadFromFile(path);
    EXPECT_EQ(table.UsedCount(), 3);
    EXPECT_EQ(table.Items(0), 0x0000FF);
    EXPECT_EQ(table.Items(1), 0x0000FF);
    EXPECT_EQ(table.Items(2), 0xA0B0C0);
    EXPECT_EQ(table.Items(20), TColorList::Empty);

    QByteArray many;
    for (int i = 0; i < 40; ++i)
        many += QString::asprintf("$%.8x\n", i + 1).toLatin1();
    writeFile(path, many);
    table.LoadFromFile(path);
    EXPECT_EQ(table.UsedCount(), 32);
    EXPECT_EQ(table.Items(31), 32);

    table.LoadFromFile(home.path() + QStringLiteral("/missing.dat"));
    EXPECT_EQ(table.UsedCount(), 0);
}

TEST_F(ColorTest, SaveWritesUsedSlotsAndReadsBack) {
    TColorList table;
    table.SetItem(0, 0xABCDEF);
    table.SetItem(3, 0x0000FF);
    table.SetItem(31, 0);
    const QString path = home.path() + QStringLiteral("/custcolo.dat");
    writeFile(path, "old content that is replaced entirely\n");
    table.SaveToFile(path);
    EXPECT_EQ(readFile(path), QByteArray("$00abcdef\n$000000ff\n$00000000\n"));

    TColorList back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Items(0), 0xABCDEF);
    EXPECT_EQ(back.Items(1), 0x0000FF);
    EXPECT_EQ(back.Items(2), 0);

    EXPECT_THROW(table.SaveToFile(home.path() + QStringLiteral("/no/such/folder/custcolo.dat")), Exception);
}

TEST_F(ColorTest, ProcessTableLivesInTheUserDataFolder) {
    const QString path = UserDataFolder() + QStringLiteral("custcolo.dat");
    writeFile(path, "clRed\n$00112233\n");
    TColorList& table = TColorList::Instance();
    EXPECT_EQ(&table, &TColorList::Instance());
    EXPECT_EQ(table.Items(0), 0x0000FF);
    EXPECT_EQ(table.Items(1), 0x112233);
    table.AddColor(0x445566, 0);
    TColorList::Finalize();
    EXPECT_EQ(readFile(path), QByteArray("$000000ff\n$00112233\n$00445566\n"));
    // Finalize without a table writes nothing.
    QFile::remove(path);
    TColorList::Finalize();
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ColorTest, SettingsLinesAddTheirColoursAtTheirIndex) {
    VXRegIniFile().WriteString(
        QStringLiteral("CustomColors"), QStringLiteral("Colors"),
        QStringLiteral("ColorA=0000FF\r\nColorB=zz\r\nColorC=0000FF\r\nohne\r\nColorE=00FF00"));
    TColorList table = fullTable();
    table.LoadFromSettings(QStringLiteral("CustomColors"));
    EXPECT_EQ(table.UsedCount(), 2);
    EXPECT_EQ(table.Items(0), 0x0000FF);
    EXPECT_EQ(table.Items(1), 0x00FF00);
}

TEST(FBColor, StreamFormOfANamedColour) {
    const TFBColor rot(QStringLiteral("rot"), 0x0000FF);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    rot.SaveToStream(buffer);
    EXPECT_EQ(buffer.data(), QByteArray::fromHex("03000000 726f74 ff000000"));

    buffer.seek(0);
    TFBColor back;
    back.LoadFromStream(buffer);
    EXPECT_EQ(back.Name, QStringLiteral("rot"));
    EXPECT_EQ(back.Color, 0x0000FF);

    // Short data is rejected and the colour keeps its value.
    QBuffer shortData;
    shortData.setData(QByteArray::fromHex("03000000 726f74 ff00"));
    shortData.open(QIODevice::ReadOnly);
    EXPECT_THROW(back.LoadFromStream(shortData), Exception);
    EXPECT_EQ(back.Name, QStringLiteral("rot"));
    EXPECT_EQ(back.Color, 0x0000FF);
}

TEST(FBColor, ConversionToQColorKeepsTheChannelOrder) {
    EXPECT_EQ(ColorToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(0x804020), QColor(0x20, 0x40, 0x80));
    EXPECT_EQ(QColorToColor(QColor(0x20, 0x40, 0x80)), 0x804020);
}

TEST_F(ColorTest, FixedColourNeedsNoDialog) {
    std::int32_t colour = 7;
    EXPECT_TRUE(TFBColor(QStringLiteral("grau"), 0xB1B1B1).GetColor(colour));
    EXPECT_EQ(colour, 0xB1B1B1);
    EXPECT_EQ(dialog.shown, 0);
}

TEST_F(ColorTest, CancelledDialogLeavesTheCallersColour) {
    std::int32_t colour = 0x123456;
    EXPECT_TRUE(TFBColor(QStringLiteral("Eigene Farbe"), -1).GetColor(colour));
    EXPECT_EQ(colour, 0x123456);
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(dialog.startColour, 0xFFFFFF);
    EXPECT_EQ(VXRegIniFile().GetDataSize(QStringLiteral("CustomColors"), QStringLiteral("Colors")), -1);
}

TEST_F(ColorTest, ConfirmedDialogStoresItsCustomColours) {
    VXRegIniFile().WriteString(QStringLiteral("CustomColors"), QStringLiteral("Colors"),
                               QStringLiteral("ColorA=00FF00\nColorB=FF0000"));
    dialog.confirm = true;
    dialog.answer = 0x336699;
    dialog.answerCustom.fill(0xFFFFFF);
    dialog.answerCustom[0] = 0x336699;
    dialog.answerCustom[15] = 0x0000FF;

    std::int32_t colour = 0;
    EXPECT_TRUE(TFBColor(QStringLiteral("Eigene Farbe"), -1).GetColor(colour));
    EXPECT_EQ(colour, 0x336699);
    // The dialog was opened with the stored custom colours, white where none was stored.
    EXPECT_EQ(dialog.shownCustom[0], 0x00FF00);
    EXPECT_EQ(dialog.shownCustom[1], 0xFF0000);
    EXPECT_EQ(dialog.shownCustom[2], 0xFFFFFF);

    const QString stored =
        VXRegIniFile().ReadString(QStringLiteral("CustomColors"), QStringLiteral("Colors"), {});
    EXPECT_TRUE(stored.startsWith(QStringLiteral("ColorA=336699\nColorB=FFFFFF\n"))) << stored.toStdString();
    EXPECT_TRUE(stored.endsWith(QStringLiteral("ColorP=0000FF"))) << stored.toStdString();
    // The table follows the dialog: each colour once.
    const TColorList& table = TColorList::Instance();
    EXPECT_EQ(table.UsedCount(), 3);
    EXPECT_EQ(table.Items(0), 0x336699);
    EXPECT_EQ(table.Items(1), 0xFFFFFF);
    EXPECT_EQ(table.Items(2), 0x0000FF);
}

TEST_F(ColorTest, NoDialogPicksNothing) {
    SetColorDialogService(nullptr);
    std::int32_t colour = 5;
    EXPECT_FALSE(PickColor(colour));
    EXPECT_EQ(colour, 5);
}

TEST(FBColor, CustomColoursTextRoundTrips) {
    TColorDialogService::CustomColors colors;
    for (int i = 0; i < TColorDialogService::CustomColorCount; ++i)
        colors[size_t(i)] = 0x0F0F0F * i;
    const QString text = CustomColorsToText(colors);
    EXPECT_TRUE(text.startsWith(QStringLiteral("ColorA=000000\nColorB=0F0F0F\n")));
    EXPECT_EQ(CustomColorsFromText(text), colors);
    const auto partial = CustomColorsFromText(QStringLiteral("ColorA=ABC\r\nkaputt\r\nColorC=xyz"));
    EXPECT_EQ(partial[0], 0xABC);
    EXPECT_EQ(partial[1], 0xFFFFFF);
    EXPECT_EQ(partial[2], 0xFFFFFF);
}
