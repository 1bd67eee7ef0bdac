// tintaro-cli calendar and special-days: settings changed as the properties dialog applies them,
// holidays and birthdays as the holidays dialog edits them, refusals leaving the file untouched.
#include "calendar/uKalender.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::runCli;

namespace {

class CliCalendar : public ::testing::Test {
protected:
    void SetUp() override {
        file = dir.filePath(QStringLiteral("kalender.fbp"));
        const auto made = runCli({QStringLiteral("new"), QStringLiteral("--product"), QStringLiteral("61"),
                                  QStringLiteral("--year"), QStringLiteral("2026"), file});
        ASSERT_EQ(made.exitCode, 0) << made.err.constData();
    }
    std::vector<const TKalenderData*> calendars(TFBDocument& document) {
        LoadDocumentFromFile(document, file);
        std::vector<const TKalenderData*> found;
        for (const TFBPage* page : document.Pages)
            for (int i = 0; i < page->Calendars.Count(); ++i)
                found.push_back(page->Calendar(i)->Data.get());
        return found;
    }
    TestSupport::CliResult run(QStringList args) {
        args.prepend(QStringLiteral("calendar"));
        args.insert(1, file);
        return runCli(args);
    }
    QTemporaryDir dir;
    QString file;
};

TEST_F(CliCalendar, SetsOneCalendarOrAll) {
    auto result = run({QStringLiteral("--set"), QStringLiteral("FontHeight=33,5"), QStringLiteral("--set"),
                       QStringLiteral("MonatJahrFont.Style=bold+italic"), QStringLiteral("--element"),
                       QStringLiteral("1:0")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(result.out, QByteArray("calendars=1 settings=2\n"));
    {
        TFBDocument document;
        const auto found = calendars(document);
        ASSERT_GE(found.size(), 12u);
        const TKalenderData* edited = document.Pages.Items(1)->Calendar(0)->Data.get();
        EXPECT_NE(found[0], edited);
        EXPECT_NE(found[0]->FontHeight, 33.5f) << "only the named calendar";
        EXPECT_FLOAT_EQ(edited->FontHeight, 33.5f);
        EXPECT_EQ(edited->MonatJahrFont.Style(), TFontStyles(fsBold | fsItalic));
    }

    result = run({QStringLiteral("--set"), QStringLiteral("Color=none"), QStringLiteral("--set"),
                  QStringLiteral("CellPadding.Top=2.5"), QStringLiteral("--all")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    TFBDocument document;
    const auto found = calendars(document);
    EXPECT_EQ(result.out, QStringLiteral("calendars=%1 settings=2\n").arg(found.size()).toUtf8());
    std::vector<int> months;
    for (const TKalenderData* d : found) {
        EXPECT_EQ(d->Color, NoColor);
        EXPECT_FLOAT_EQ(d->CellPadding.Top, 2.5f);
        EXPECT_FLOAT_EQ(d->FontHeight, found[0]->FontHeight)
            << "every calendar takes the first one's settings";
        months.push_back(d->Monat);
    }
    EXPECT_EQ(months[0] % 12 + 1, months[1]) << "each keeps its own month";
}

TEST_F(CliCalendar, RefusesAndLeavesTheFileAsItWas) {
    const QByteArray before = TestSupport::readFile(file);
    for (const QStringList& args : {
             QStringList{QStringLiteral("--set"), QStringLiteral("FontHeight=abc")},
             QStringList{QStringLiteral("--set"), QStringLiteral("FontHeight=1e999")},
             QStringList{QStringLiteral("--set"), QStringLiteral("FontHeight=")},
             QStringList{QStringLiteral("--set"), QStringLiteral("FontHeight=12,5,3")},
             QStringList{QStringLiteral("--set"), QStringLiteral("CellPadding.Left=3"),
                         QStringLiteral("--set"), QStringLiteral("WochentagSize=101")},
             QStringList{QStringLiteral("--set"), QStringLiteral("Typ=2")},
             QStringList{QStringLiteral("--set"), QStringLiteral("TextColorSonntag=none")},
             QStringList{QStringLiteral("--set"), QStringLiteral("NoSuchKey=1")},
             QStringList{QStringLiteral("--set"), QStringLiteral("FontHeight")},
             QStringList{QStringLiteral("--set"), QStringLiteral("FontHeight=3"), QStringLiteral("--element"),
                         QStringLiteral("99:0")},
             QStringList{QStringLiteral("--set"), QStringLiteral("FontHeight=3"), QStringLiteral("--element"),
                         QStringLiteral("0:7")},
             QStringList{QStringLiteral("--set"), QStringLiteral("FontHeight=3"), QStringLiteral("--element"),
                         QStringLiteral("0:0"), QStringLiteral("--all")},
             QStringList{},
         }) {
        const auto result = run(args);
        EXPECT_EQ(result.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(TestSupport::readFile(file), before) << args.join(' ').toStdString();
    }
    const auto named = run({QStringLiteral("--set"), QStringLiteral("FontHeight=abc")});
    EXPECT_TRUE(named.err.contains("Fonth\xc3\xb6he in Zelle")) << named.err.constData();
}

TEST_F(CliCalendar, SpecialDays) {
    auto result =
        runCli({QStringLiteral("special-days"), file, QStringLiteral("--compute-holidays"),
                QStringLiteral("2025"), QStringLiteral("--compute-holidays"), QStringLiteral("2026"),
                QStringLiteral("--add-birthday"), QStringLiteral("07.07.2026"), QStringLiteral("Anna"),
                QStringLiteral("--add-birthday"), QStringLiteral("07.07.2026"), QStringLiteral("Max"),
                QStringLiteral("--add-birthday"), QStringLiteral("01.01.2026"), QStringLiteral("Ole")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_TRUE(result.out.isEmpty());

    result = runCli({QStringLiteral("special-days"), file, QStringLiteral("--list")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    QList<QByteArray> rows = result.out.split('\n');
    ASSERT_TRUE(rows.last().isEmpty());
    rows.removeLast();
    EXPECT_EQ(rows.first(), QByteArray("2025-01-01\tholiday\tNeujahr")) << "computing 2026 kept 2025";
    EXPECT_TRUE(rows.contains("2026-01-01\tholiday\tNeujahr"));
    const qsizetype neujahr = rows.indexOf("2026-01-01\tholiday\tNeujahr");
    EXPECT_EQ(rows.value(neujahr + 1), QByteArray("2026-01-01\tbirthday\tOle")) << "holidays first";
    EXPECT_TRUE(rows.contains("2026-07-07\tbirthday\tAnna, Max"));
    EXPECT_EQ(rows.last(), QByteArray("2026-12-31\tholiday\tSilvester"));

    const QByteArray before = TestSupport::readFile(file);
    for (const QStringList& args : {
             QStringList{QStringLiteral("--compute-holidays"), QStringLiteral("1699")},
             QStringList{QStringLiteral("--compute-holidays")},
             QStringList{QStringLiteral("--add-birthday"), QStringLiteral("31.02.2026"), QStringLiteral("X")},
             QStringList{QStringLiteral("--add-birthday"), QStringLiteral("2026-07-07"), QStringLiteral("X")},
             QStringList{QStringLiteral("--add-birthday"), QStringLiteral("07.07.2026"), QStringLiteral(" ")},
             QStringList{QStringLiteral("--add-birthday"), QStringLiteral("07.07.2026"),
                         QStringLiteral("Łódź")},
             QStringList{QStringLiteral("--compute-holidays"), QStringLiteral("2027"),
                         QStringLiteral("--bogus")},
             QStringList{},
         }) {
        QStringList full = args;
        full.prepend(file);
        full.prepend(QStringLiteral("special-days"));
        const auto refused = runCli(full);
        EXPECT_EQ(refused.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.constData();
        EXPECT_EQ(TestSupport::readFile(file), before) << args.join(' ').toStdString();
    }
}

} // namespace

namespace {

TEST_F(CliCalendar, EditStepsOfThePanelAndTheDialogsUndoAndRedo) {
    const QString out = dir.filePath(QStringLiteral("out.fbp"));
    const auto result = runCli({QStringLiteral("edit"),
                                file,
                                out,
                                QStringLiteral("calendar-year"),
                                QStringLiteral("+1"),
                                QStringLiteral("calendar-month"),
                                QStringLiteral("9"),
                                QStringLiteral("compute-holidays"),
                                QStringLiteral("2027"),
                                QStringLiteral("birthday"),
                                QStringLiteral("02.10.2027"),
                                QStringLiteral("Anna"),
                                QStringLiteral("calendar-props"),
                                QStringLiteral("0"),
                                QStringLiteral("0"),
                                QStringLiteral("FontHeight=44"),
                                QStringLiteral("all"),
                                QStringLiteral("undo"),
                                QStringLiteral("undo"),
                                QStringLiteral("redo")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QList<QByteArray> rows = result.out.split('\n');
    ASSERT_GE(rows.size(), 8);
    EXPECT_TRUE(rows[0].startsWith("1 calendar-year records=1 ")) << rows[0].constData();
    EXPECT_TRUE(rows[3].startsWith("4 birthday records=4 ")) << rows[3].constData();
    EXPECT_TRUE(rows[4].startsWith("5 calendar-props records=5 ")) << rows[4].constData();
    EXPECT_TRUE(rows[5].startsWith("6 undo TUndoKalenderEigenschaftenFuerAlle ")) << rows[5].constData();
    EXPECT_TRUE(rows[6].startsWith("7 undo TUndoFeiertageGeburtstage ")) << rows[6].constData();
    EXPECT_TRUE(rows[7].startsWith("8 redo TUndoFeiertageGeburtstage ")) << rows[7].constData();

    TFBDocument document;
    LoadDocumentFromFile(document, out);
    int month = 0, year = 0;
    document.GetCalendarStart(month, year);
    EXPECT_EQ(std::make_pair(month, year), std::make_pair(9, 2027));
    EXPECT_TRUE(document.Feiertage.Contains(QDate(2027, 10, 3)));
    EXPECT_TRUE(document.Geburtstage.Contains(QDate(2027, 10, 2)));
    EXPECT_NE(document.Pages.Items(0)->Calendar(0)->Data->FontHeight, 44.0f) << "undone";
}

} // namespace
