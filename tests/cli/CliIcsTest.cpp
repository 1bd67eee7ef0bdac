// tintaro-cli special-days with calendar files: the report line, a second import that adds
// nothing and leaves the project byte for byte, an export that imports into the same lists, and
// bad input (very many events, very long lines, broken rules, other bytes) read as far as it goes.
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;
using TestSupport::writeFile;

namespace {

class CliIcs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        project = path(QStringLiteral("cal.fbp"));
        const auto made = runCli({QStringLiteral("new"), QStringLiteral("--product"), QStringLiteral("64"),
                                  QStringLiteral("--year"), QStringLiteral("2027"), project});
        ASSERT_EQ(made.exitCode, 0) << made.err.constData();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    TestSupport::CliResult specialDays(const QStringList& args) {
        return runCli(QStringList{QStringLiteral("special-days"), project} + args);
    }
    TestSupport::CliResult import(const QString& ics, const char* kind) {
        return specialDays(
            {QStringLiteral("--import-ics"), ics, QStringLiteral("--as"), QLatin1String(kind)});
    }
    QTemporaryDir dir;
    QString project;
};

const QByteArray
    kHolidays("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\n"
              "BEGIN:VEVENT\r\nUID:1\r\nDTSTART;VALUE=DATE:20200101\r\nRRULE:FREQ=YEARLY\r\n"
              "SUMMARY:Neujahr\r\nEND:VEVENT\r\n"
              "BEGIN:VEVENT\r\nUID:2\r\nDTSTART:20271103T090000\r\nSUMMARY:Fest\\, gro\xC3\x9F\r\n"
              "END:VEVENT\r\nEND:VCALENDAR\r\n");

} // namespace

TEST_F(CliIcs, ImportReportsOnOneLineAndASecondImportChangesNothing) {
    writeFile(path(QStringLiteral("h.ics")), kHolidays);
    const auto first = import(path(QStringLiteral("h.ics")), "holiday");
    ASSERT_EQ(first.exitCode, 0) << first.err.constData();
    EXPECT_EQ(first.out, QByteArray("h.ics: 2 added, 0 already there, 0 unreadable, 0 outside the years, "
                                    "0 of the other list, 0 characters replaced by \"?\"\n"));
    const QByteArray saved = readFile(project);
    const auto second = import(path(QStringLiteral("h.ics")), "holiday");
    ASSERT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.out.startsWith("h.ics: 0 added, 2 already there"));
    EXPECT_EQ(readFile(project), saved);

    // --year limits the import to that year.
    const auto later =
        specialDays({QStringLiteral("--import-ics"), path(QStringLiteral("h.ics")), QStringLiteral("--as"),
                     QStringLiteral("birthday"), QStringLiteral("--year"), QStringLiteral("2030"),
                     QStringLiteral("--list")});
    ASSERT_EQ(later.exitCode, 0);
    EXPECT_EQ(later.out.split('\n').mid(1).join('\n'),
              QByteArray("2027-01-01\tholiday\tNeujahr\n2027-11-03\tholiday\tFest, groß\n"
                         "2030-01-01\tbirthday\tNeujahr\n"));
}

TEST_F(CliIcs, ExportImportsIntoTheSameLists) {
    ASSERT_EQ(
        specialDays({QStringLiteral("--compute-holidays"), QStringLiteral("2027"),
                     QStringLiteral("--add-birthday"), QStringLiteral("29.02.2024"), QStringLiteral("Leo"),
                     QStringLiteral("--add-birthday"), QStringLiteral("12.03.2027"), QStringLiteral("Anna")})
            .exitCode,
        0);
    const QString ics = path(QStringLiteral("out.ics"));
    ASSERT_EQ(specialDays({QStringLiteral("--export-ics"), ics}).exitCode, 0);
    const QByteArray listed = specialDays({QStringLiteral("--list")}).out;

    const QString other = path(QStringLiteral("other.fbp"));
    ASSERT_EQ(runCli({QStringLiteral("new"), QStringLiteral("--product"), QStringLiteral("64"),
                      QStringLiteral("--year"), QStringLiteral("2027"), other})
                  .exitCode,
              0);
    project = other;
    ASSERT_EQ(import(ics, "holiday").exitCode, 0);
    const auto birthdays = import(ics, "birthday");
    ASSERT_EQ(birthdays.exitCode, 0);
    EXPECT_TRUE(birthdays.out.contains("22 of the other list")) << birthdays.out.constData();
    // What lies in the calendar's year comes back; Leo's birthday of 2024 recurs and falls on
    // 28 February in 2027.
    QByteArray expected = listed;
    expected.replace("2024-02-29\tbirthday\tLeo\n", "");
    expected.replace("2027-03-12\tbirthday\tAnna\n",
                     "2027-02-28\tbirthday\tLeo\n2027-03-12\tbirthday\tAnna\n");
    EXPECT_EQ(specialDays({QStringLiteral("--list")}).out, expected);
}

TEST_F(CliIcs, BadInputIsReadAsFarAsItGoes) {
    QByteArray big = "BEGIN:VCALENDAR\nVERSION:2.0\n";
    for (int i = 0; i < 100000; ++i)
        big += QString::asprintf("BEGIN:VEVENT\nDTSTART;VALUE=DATE:2027%02d%02d\nSUMMARY:E%d\nEND:VEVENT\n",
                                 i % 12 + 1, i % 28 + 1, i)
                   .toLatin1();
    big +=
        "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270601\nSUMMARY:" + QByteArray(1 << 20, 'x') + "\nEND:VEVENT\n";
    big += "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270602\nRRULE:FREQ=YEARLY;BYDAY=QQ;INTERVAL=-3\nSUMMARY:"
           "R\nEND:VEVENT\n";
    big +=
        "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270603\nSUMMARY:\xFF\xFE\x80 bytes\nEND:VEVENT\nEND:VCALENDAR\n";
    writeFile(path(QStringLiteral("big.ics")), big);
    const auto result = import(path(QStringLiteral("big.ics")), "holiday");
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(result.out,
              QByteArray("big.ics: 100002 added, 0 already there, 1 unreadable, 0 outside the years, "
                         "0 of the other list, 3 characters replaced by \"?\"\n"));

    // Not a calendar, missing, too large, or the list not named: exit 2, project untouched.
    const QByteArray before = readFile(project);
    writeFile(path(QStringLiteral("text.ics")), "no calendar here\n");
    QFile large(path(QStringLiteral("large.ics")));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    ASSERT_TRUE(large.resize(qint64(33) << 20));
    large.close();
    for (const QStringList& args :
         {QStringList{QStringLiteral("--import-ics"), path(QStringLiteral("text.ics")),
                      QStringLiteral("--as"), QStringLiteral("holiday")},
          QStringList{QStringLiteral("--import-ics"), path(QStringLiteral("none.ics")),
                      QStringLiteral("--as"), QStringLiteral("holiday")},
          QStringList{QStringLiteral("--import-ics"), path(QStringLiteral("large.ics")),
                      QStringLiteral("--as"), QStringLiteral("birthday")},
          QStringList{QStringLiteral("--import-ics"), path(QStringLiteral("big.ics"))}}) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const auto refused = specialDays(args);
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.constData();
    }
    EXPECT_EQ(readFile(project), before);
}
