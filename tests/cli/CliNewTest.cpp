#include "support/TestSupport.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::runCli;

namespace {

struct TFrame {
    double CenterX, CenterY, Width, Height;
};

// What a new project of each product of the wizard holds.
struct TExpectedProduct {
    int Code;
    double PageWidth, PageHeight;
    const char* PaperName;
    int PaperSize;
    double PaperWidth, PaperHeight;
    int PrintSetting;
    bool Borderless;
    int DocType;
    int ScreenMode;
    bool Shadows;
    const char* Layouttypen;
    const char* SubTyp;
    int Stil;
    bool NurEinLayoutStil;
    int Pages;
    int FramesFirstPage;
    int FramesSecondPage;
    TFrame FirstFrame;
};

constexpr double kSx = 148.5 / 163.5;

// clang-format off
const TExpectedProduct kWizardProducts[] = {
    {1, 76.2, 101.6, "ID_10x15", -1, 101.6, 152.4, 1, true, 1, 1, false, "[ltPhotoBooklet43]", "", 0, false, 32, 1, 1, {38.1, 50.8, 76.2, 101.6}},
    {2, 76.2, 101.6, "ID_10x15", -1, 101.6, 152.4, 1, true, 1, 1, true, "[ltPhotoBooklet43]", "", 0, false, 32, 1, 1, {38.1, 50.8, 66.2, 91.6}},
    {11, 101.6, 163, "ID_10x15", -1, 101.6, 152.4, 4, true, 0, 0, false, "[ltPhotoBook46]", "", 0, false, 32, 1, 1, {50.8, 86.8, 101.6, 152.4}},
    {21, 101.6, 152.4, "ID_10x15", -1, 101.6, 152.4, 3, true, 0, 0, false, "[ltSingles10x15]", "", 0, false, 50, 1, 1, {50.8, 76.2, 101.6, 152.4}},
    {31, 148.5, 210, "ID_DINA4", 9, 210, 297, 6, false, 1, 1, true, "[ltPhotoBook85]", "Tradition", 1, false, 32, 1, 2, {85.375 * kSx, 105, 145.25 * kSx, 197}},
    {32, 148.5, 210, "ID_DINA4", 9, 210, 297, 6, false, 1, 1, true, "[ltPhotoBook85]", "Horizon", 2, false, 32, 1, 2, {85.375 * kSx, 105, 145.25 * kSx, 145.25}},
    {33, 148.5, 210, "ID_DINA4", 9, 210, 297, 6, false, 1, 1, true, "[ltPhotoBook85]", "Verticon", 3, false, 32, 1, 2, {69.125 * kSx, 105, 112.75 * kSx, 197}},
    {41, 148.5, 210, "ID_DINA4", 9, 210, 297, 5, true, 1, 1, false, "[ltPhotoBook85Randlos]", "Tradition", 5, false, 32, 1, 2, {72, 105, 144, 197}},
    {42, 148.5, 210, "ID_DINA4", 9, 210, 297, 5, true, 1, 1, false, "[ltPhotoBook85Randlos]", "Horizon", 6, false, 32, 1, 2, {72, 105, 144, 145.25}},
    {43, 148.5, 210, "ID_DINA4", 9, 210, 297, 5, true, 1, 1, false, "[ltPhotoBook85Randlos]", "Verticon", 7, false, 32, 1, 2, {56.375, 105, 112.75, 197}},
    {44, 148.5, 210, "ID_DINA4", 9, 210, 297, 5, true, 1, 1, false, "[ltPhotoBook85Randlos]", "Fullpage", 4, false, 32, 1, 2, {74.25, 105, 148.5, 210}},
    {61, 210, 297, "ID_DINA4", 9, 210, 297, 7, true, 0, 0, false, "[ltKalenderA4]", "", 10, true, 13, 1, 1, {105, 253, 210, 88}},
    {62, 210, 297, "ID_DINA4", 9, 210, 297, 7, true, 0, 0, false, "[ltKalenderA4]", "", 11, true, 13, 1, 1, {105, 113, 188, 186}},
    {63, 210, 297, "ID_DINA4", 9, 210, 297, 7, true, 0, 0, false, "[ltKalenderA4]", "", 12, true, 13, 1, 1, {105, 131.5, 210, 263}},
    {64, 210, 297, "ID_DINA4", 9, 210, 297, 7, true, 0, 0, false, "[ltKalenderA4]", "", 13, true, 13, 1, 1, {82, 148.5, 164, 297}},
    {71, 210, 148.5, "ID_DINA4", 9, 210, 297, 8, true, 0, 0, false, "[ltKalenderA5]", "", 10, true, 13, 1, 1, {72, 76, 123, 123}},
    {72, 210, 148.5, "ID_DINA4", 9, 210, 297, 8, true, 0, 0, false, "[ltKalenderA5]", "", 11, true, 13, 7, 7, {15, 133.5, 30, 30}},
    {73, 210, 148.5, "ID_DINA4", 9, 210, 297, 8, true, 0, 0, false, "[ltKalenderA5]", "", 12, true, 13, 1, 1, {105, 68, 210, 98}},
    {141, 101.6, 163, "ID_10x15", -1, 101.6, 152.4, 16, true, 0, 0, false, "[ltKalenderA6]", "", 10, true, 13, 1, 1, {39.5, 83, 79, 120}},
    {142, 101.6, 163, "ID_10x15", -1, 101.6, 152.4, 16, true, 0, 0, false, "[ltKalenderA6]", "", 11, true, 13, 1, 1, {50.8, 71, 91.6, 110}},
    {143, 101.6, 163, "ID_10x15", -1, 101.6, 152.4, 16, true, 0, 0, false, "[ltKalenderA6]", "", 12, true, 13, 1, 1, {50.8, 50.5, 101.6, 75}},
    {144, 101.6, 163, "ID_10x15", -1, 101.6, 152.4, 16, true, 0, 0, false, "[ltKalenderA6]", "", 13, true, 13, 3, 3, {50.8 / 3, 143.5, 101.6 / 3, 39}},
};
// clang-format on

bool isCalendar(int code) {
    return code > 60 && code < 150;
}

QJsonObject infoOf(const QString& path) {
    const auto result = runCli({QStringLiteral("info"), path});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    return QJsonDocument::fromJson(result.out).object();
}

class CliNew : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(CliNew, EveryWizardProductWithItsSettingsPagesAndFrames) {
    for (const TExpectedProduct& e : kWizardProducts) {
        SCOPED_TRACE(e.Code);
        const QString file = path(QStringLiteral("p%1.fbp").arg(e.Code));
        QStringList args{QStringLiteral("new"), QStringLiteral("--product"), QString::number(e.Code)};
        if (isCalendar(e.Code))
            args << QStringLiteral("--year") << QStringLiteral("2031");
        const auto created = runCli(args << file);
        ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();

        const QJsonObject doc = infoOf(file);
        EXPECT_DOUBLE_EQ(doc["PageWidth"].toDouble(), static_cast<float>(e.PageWidth));
        EXPECT_DOUBLE_EQ(doc["PageHeight"].toDouble(), static_cast<float>(e.PageHeight));
        EXPECT_EQ(doc["PrintPaperName"].toString(), e.PaperName);
        EXPECT_EQ(doc["PrintPaperSize"].toInt(), e.PaperSize);
        EXPECT_DOUBLE_EQ(doc["PrintPaperWidth"].toDouble(), static_cast<float>(e.PaperWidth));
        EXPECT_DOUBLE_EQ(doc["PrintPaperHeight"].toDouble(), static_cast<float>(e.PaperHeight));
        EXPECT_EQ(doc["PrintPaperType"].toString(), QStringLiteral("ID_Photopapier_glänzend"));
        EXPECT_EQ(doc["PrintSetting"].toInt(), e.PrintSetting);
        EXPECT_EQ(doc["PrintBorderless"].toBool(), e.Borderless);
        EXPECT_EQ(doc["DocType"].toInt(), e.DocType);
        EXPECT_EQ(doc["ScreenMode"].toInt(), e.ScreenMode);
        EXPECT_EQ(doc["PicturesHaveShadows"].toBool(), e.Shadows);
        EXPECT_EQ(doc["PictureShadowsAllowed"].toBool(), e.Shadows);
        EXPECT_EQ(doc["Layouttypen"].toString(), e.Layouttypen);
        EXPECT_EQ(doc["LayoutSubTyp"].toString(), e.SubTyp);
        EXPECT_EQ(doc["LayoutStil"].toInt(), e.Stil);
        EXPECT_EQ(doc["NurEinLayoutStil"].toBool(), e.NurEinLayoutStil);
        EXPECT_FALSE(doc["Dokumentname"].toString().isEmpty());

        const QJsonArray pages = doc["pages"].toArray();
        ASSERT_EQ(pages.size(), e.Pages);
        const QJsonArray first = pages[0].toObject()["pictures"].toArray();
        ASSERT_EQ(first.size(), e.FramesFirstPage);
        EXPECT_EQ(pages[1].toObject()["pictures"].toArray().size(), e.FramesSecondPage);
        const QJsonObject frame = first[0].toObject();
        EXPECT_NEAR(frame["CenterX"].toDouble(), e.FirstFrame.CenterX, 1e-3);
        EXPECT_NEAR(frame["CenterY"].toDouble(), e.FirstFrame.CenterY, 1e-3);
        EXPECT_NEAR(frame["Width"].toDouble(), e.FirstFrame.Width, 1e-3);
        EXPECT_NEAR(frame["Height"].toDouble(), e.FirstFrame.Height, 1e-3);
        EXPECT_EQ(frame["RefIndex"].toInt(), -1);

        if (isCalendar(e.Code)) {
            // Month and year of each calendar are checked on the built document itself: the calendar
            // settings are not part of the project file yet.
            for (int m = 0; m < 12; ++m)
                EXPECT_EQ(pages[m].toObject()["calendars"].toArray().size(), 1) << m;
            const QJsonObject cover = pages[12].toObject();
            EXPECT_EQ(cover["CustomLayoutStil"].toInt(), 14);
            EXPECT_EQ(cover["pictures"].toArray().size(), 1);
            EXPECT_TRUE(cover["calendars"].toArray().isEmpty());
        }
    }
}

TEST_F(CliNew, PageCountAndYearDefaults) {
    const QString book = path(QStringLiteral("book.fbp"));
    ASSERT_EQ(runCli({"new", "--product", "82", "--pages", "3", book}).exitCode, 0);
    const QJsonObject doc = infoOf(book);
    EXPECT_EQ(doc["pages"].toArray().size(), 3);
    EXPECT_EQ(doc["Dokumentname"].toString(), "DIN A4 Randlos");

    const QString calendar = path(QStringLiteral("kalender.fbp"));
    const auto created = runCli({"new", "--product", "143", calendar});
    ASSERT_EQ(created.exitCode, 0);
    EXPECT_EQ(created.out.trimmed(),
              (calendar + QStringLiteral(": product 143, 13 pages, year %1").arg(QDate::currentDate().year()))
                  .toUtf8());
    EXPECT_EQ(runCli({"new", "--product", "71", "--year", "2500", calendar}).out.trimmed(),
              (calendar + QStringLiteral(": product 71, 13 pages, year 2500")).toUtf8());
    EXPECT_EQ(infoOf(calendar)["pages"].toArray().size(), 13);
}

TEST_F(CliNew, BadInputGivesExitCodeTwoAndWritesNothing) {
    const QString file = path(QStringLiteral("x.fbp"));
    auto result = runCli({"new", "--product", "45", file});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains("unknown product code 45")) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(file));

    for (const QStringList& args :
         {QStringList{"new", file}, QStringList{"new", "--product", "31"},
          QStringList{"new", "--product", "x", file},
          QStringList{"new", "--product", "31", "--pages", "0", file},
          QStringList{"new", "--product", "61", "--pages", "4", file},
          QStringList{"new", "--product", "31", "--farbe", "rot", file}, QStringList{"new", "--product"}}) {
        result = runCli(args);
        EXPECT_EQ(result.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
        EXPECT_FALSE(QFile::exists(file));
    }
}

TEST(CliLayouts, OneLinePerBuiltInLayoutInCatalogueOrder) {
    const auto result = runCli({"layouts"});
    ASSERT_EQ(result.exitCode, 0);
    const QStringList lines = QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 114);
    EXPECT_EQ(lines[0], "1\tFullsizeBooklet1\tFullsize Single\t4\t[ltPhotoBooklet43]");
    EXPECT_EQ(lines[4], "5\tTradition1\tTradition A\t1\t[ltPhotoBook86,ltPhotoBook85]");
    EXPECT_EQ(lines[38], "39\tFullSize3\tFullsize C\t4\t[ltPhotoBook85Randlos]");
    EXPECT_EQ(lines[113], "114\tKalA6Deckblatt2\tLayout 2\t14\t[ltKalenderA6]");
    for (const QString& line : lines)
        EXPECT_EQ(line.count('\t'), 4) << line.toStdString();
    EXPECT_EQ(runCli({"layouts", "extra"}).exitCode, 2);
}
