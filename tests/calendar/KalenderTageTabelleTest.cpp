// The holidays and birthdays table of one year and what the dialog does to the document's lists:
// rows per day, entries placed by day, OK rebuilding only the year, computing holidays, and the
// one undo step of the dialog.
#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "calendar/uKalenderTageTabelle.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"

#include "document/uDataFile.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

using Model = TKalenderTageModel;

QString textOf(const TKalenderTageListe& list, const QDate& date) {
    QString text;
    list.FindText(KalenderDateToDays(date), text);
    return text;
}

TEST(KalenderTageModel, OneRowPerDayOfTheYear) {
    Model leap(2024);
    EXPECT_EQ(leap.rowCount(), 366);
    EXPECT_EQ(leap.columnCount(), 3);
    EXPECT_EQ(leap.CellText(0, Model::DatumColumn), QStringLiteral("01.01.2024"));
    EXPECT_EQ(leap.CellText(59, Model::DatumColumn), QStringLiteral("29.02.2024")) << "the 60th day row";
    EXPECT_EQ(leap.CellText(365, Model::DatumColumn), QStringLiteral("31.12.2024"));
    EXPECT_EQ(Model(2025).rowCount(), 365);
    EXPECT_EQ(Model(2025).CellText(59, Model::DatumColumn), QStringLiteral("01.03.2025"));
    EXPECT_EQ(Model(2100).rowCount(), 365) << "no leap year in 2100";
    EXPECT_EQ(Model(2000).rowCount(), 366);

    // The date column can neither be selected nor edited; the other two can.
    const Qt::ItemFlags date = leap.flags(leap.index(10, 0));
    EXPECT_FALSE(date & Qt::ItemIsSelectable);
    EXPECT_FALSE(date & Qt::ItemIsEditable);
    EXPECT_FALSE(leap.setData(leap.index(10, 0), QStringLiteral("x")));
    for (int column : {1, 2})
        EXPECT_TRUE(leap.flags(leap.index(10, column)) & Qt::ItemIsEditable);
    EXPECT_EQ(leap.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Datum"));
    EXPECT_EQ(leap.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Feiertage"));
    EXPECT_EQ(leap.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Geburtstage"));
}

TEST(KalenderTageModel, EntriesOfTheYearLandOnTheirDay) {
    TKalenderTageListe list;
    list.Add(QStringLiteral("Neujahr"), QStringLiteral(", "), QDate(2024, 1, 1));
    list.Add(QStringLiteral("Schalttag"), QStringLiteral(", "), QDate(2024, 2, 29));
    list.Add(QStringLiteral("Nächstes Jahr"), QStringLiteral(", "), QDate(2025, 2, 28));
    list.Add(QStringLiteral("Weit weg"), QStringLiteral(", "), QDate(1650, 5, 5));
    list.Add(QStringLiteral("Weiter weg"), QStringLiteral(", "), KalenderDateToDays(QDate(9999, 1, 1)) + 1e6);
    Model table(2024);
    table.FillColumn(Model::FeiertageColumn, list);
    EXPECT_EQ(table.CellText(0, Model::FeiertageColumn), QStringLiteral("Neujahr"));
    EXPECT_EQ(table.CellText(59, Model::FeiertageColumn), QStringLiteral("Schalttag"));
    int filled = 0;
    for (int row = 0; row < table.rowCount(); ++row)
        filled += !table.CellText(row, Model::FeiertageColumn).isEmpty();
    EXPECT_EQ(filled, 2) << "other years do not show";
    EXPECT_TRUE(table.CellText(0, Model::GeburtstageColumn).isEmpty());
}

TEST(KalenderTageModel, OkRebuildsOnlyTheYear) {
    TKalenderTageListe list;
    list.Add(QStringLiteral("Alt"), QStringLiteral(", "), QDate(2024, 3, 3));
    list.Add(QStringLiteral("Anderes Jahr"), QStringLiteral(", "), QDate(2023, 3, 3));
    list.Add(QStringLiteral("Weit weg"), QStringLiteral(", "), QDate(1650, 5, 5));
    list.Add(QString(), QStringLiteral(", "), QDate(2024, 8, 8)); // an empty entry of the year

    Model table(2024);
    table.FillColumn(Model::GeburtstageColumn, list);
    ASSERT_TRUE(table.SetCellText(100, Model::GeburtstageColumn, QStringLiteral("Anna, Max")));
    ASSERT_TRUE(table.SetCellText(62, Model::GeburtstageColumn, QString())); // 3 March cleared
    table.CommitColumn(Model::GeburtstageColumn, list);

    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(textOf(list, table.DateOfRow(100)), QStringLiteral("Anna, Max")) << "one entry, as typed";
    EXPECT_FALSE(list.Contains(QDate(2024, 3, 3)));
    EXPECT_FALSE(list.Contains(QDate(2024, 8, 8))) << "the empty entry is dropped";
    EXPECT_EQ(textOf(list, QDate(2023, 3, 3)), QStringLiteral("Anderes Jahr"));
    EXPECT_EQ(textOf(list, QDate(1650, 5, 5)), QStringLiteral("Weit weg"));
}

TEST(KalenderTageModel, TwoEntriesOfOneDateFromAFile) {
    // Only Add joins; a loaded file may hold two entries of one date. The later fills the cell.
    TFBDocument document;
    TKalenderTageListe& list = document.Geburtstage;
    list.Add(QStringLiteral("Erste"), QStringLiteral(", "), QDate(2024, 6, 1));
    TKalenderTageListe other;
    other.Add(QStringLiteral("Zweite"), QStringLiteral(", "), QDate(2024, 6, 1));
    // Append the second as a separate entry, the way loading does.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TMemoryDataFile file(buffer);
    other.Save(file, QStringLiteral("G"));
    file.BuildCache();
    list.Load(file, QStringLiteral("G"));
    ASSERT_EQ(list.Count(), 2);
    Model table(2024);
    table.FillColumn(Model::GeburtstageColumn, list);
    EXPECT_EQ(table.CellText(table.RowOfDate(QDate(2024, 6, 1)), Model::GeburtstageColumn),
              QStringLiteral("Zweite"));
}

TEST(KalenderTageModel, RefusesCharactersAProjectCannotStore) {
    Model table(2026);
    EXPECT_TRUE(table.SetCellText(5, Model::FeiertageColumn, QStringLiteral("Straße 5 €")));
    EXPECT_FALSE(table.SetCellText(5, Model::FeiertageColumn, QStringLiteral("Łódź")));
    EXPECT_FALSE(table.setData(table.index(5, 2), QStringLiteral("Ωμέγα")));
    EXPECT_EQ(table.CellText(5, Model::FeiertageColumn), QStringLiteral("Straße 5 €"));
    EXPECT_TRUE(table.CellText(5, Model::GeburtstageColumn).isEmpty());
}

class KalenderTageDialog : public ::testing::Test {
protected:
    void SetUp() override {
        UndoManager().Clear();
        document.Geburtstage.Add(QStringLiteral("Oma"), QStringLiteral(", "), QDate(2026, 4, 2));
        document.Feiertage.Add(QStringLiteral("Alter Feiertag"), QStringLiteral(", "), QDate(2025, 12, 24));
        document.Modified = false;
    }
    void TearDown() override { UndoManager().Clear(); }
    TFBDocument document;
};

TEST_F(KalenderTageDialog, StartsOnTheFirstDayOfTheCalendarsMonth) {
    EXPECT_EQ(TKalenderTageBearbeitung(document, 2024, 3).StartRow(), 60);
    EXPECT_EQ(TKalenderTageBearbeitung(document, 2026, 1).StartRow(), 0);
    EXPECT_EQ(TKalenderTageBearbeitung(document, 2026, 12).StartRow(), 334);
}

TEST_F(KalenderTageDialog, ComputingHolidaysIsOneUndoStepWithOk) {
    TKalenderTageBearbeitung dialog(document, 2026, 9);
    dialog.BerechneFeiertage();
    EXPECT_TRUE(document.Modified);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_EQ(dialog.Model().CellText(0, Model::FeiertageColumn), QStringLiteral("Neujahr"));
    EXPECT_EQ(textOf(document.Feiertage, QDate(2025, 12, 24)), QStringLiteral("Alter Feiertag"))
        << "the other year's holiday stays";
    dialog.Model().SetCellText(dialog.Model().RowOfDate(QDate(2026, 7, 7)), Model::GeburtstageColumn,
                               QStringLiteral("Max"));
    EXPECT_TRUE(dialog.Uebernehmen());
    EXPECT_EQ(UndoManager().Count(), 1) << "the dialog's first change recorded its one step";
    EXPECT_EQ(textOf(document.Geburtstage, QDate(2026, 7, 7)), QStringLiteral("Max"));

    UndoManager().Undo(document);
    EXPECT_EQ(document.Feiertage.Count(), 1);
    EXPECT_EQ(document.Geburtstage.Count(), 1);
    EXPECT_EQ(textOf(document.Geburtstage, QDate(2026, 4, 2)), QStringLiteral("Oma"));
    UndoManager().Redo(document);
    EXPECT_EQ(textOf(document.Geburtstage, QDate(2026, 7, 7)), QStringLiteral("Max"));
    EXPECT_TRUE(document.Feiertage.Contains(QDate(2026, 1, 1)));
}

TEST_F(KalenderTageDialog, OkWithoutChangesLeavesNoStep) {
    TKalenderTageBearbeitung dialog(document, 2026, 4);
    EXPECT_FALSE(dialog.Uebernehmen());
    EXPECT_EQ(UndoManager().Count(), 0);
    EXPECT_FALSE(document.Modified);

    TKalenderTageBearbeitung typing(document, 2026, 4);
    typing.Model().SetCellText(typing.Model().RowOfDate(QDate(2026, 4, 2)), Model::GeburtstageColumn,
                               QStringLiteral("Oma, Opa"));
    EXPECT_TRUE(typing.Uebernehmen());
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_TRUE(document.Modified);
    EXPECT_EQ(textOf(document.Geburtstage, QDate(2026, 4, 2)), QStringLiteral("Oma, Opa"));
}

} // namespace
