#include "support/TestSupport.h"

#include <QDate>

#include <gtest/gtest.h>

using TestSupport::runCli;

namespace {

QList<QByteArray> lines(const QByteArray& out) {
    QList<QByteArray> result = out.split('\n');
    EXPECT_TRUE(result.last().isEmpty()) << "output ends with a newline";
    result.removeLast();
    return result;
}

TEST(CliHolidays, ListsTheYearByDateWithJoinedTexts) {
    const auto result = runCli({QStringLiteral("holidays"), QStringLiteral("2008")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_TRUE(result.err.isEmpty());
    const auto rows = lines(result.out);
    ASSERT_EQ(rows.size(), 21);
    EXPECT_EQ(rows.first(), QByteArray("2008-01-01\tNeujahr"));
    EXPECT_EQ(rows[1], QByteArray("2008-01-06\tHl. 3 K\xc3\xb6nige"));
    EXPECT_TRUE(rows.contains(QByteArray("2008-05-01\tMaifeiertag, Christi Himmelfahrt")));
    EXPECT_TRUE(rows.contains(QByteArray("2008-03-23\tOstersonntag")));
    EXPECT_TRUE(rows.contains(QByteArray("2008-11-19\tBu\xc3\x9f- und Bettag")));
    EXPECT_EQ(rows.last(), QByteArray("2008-12-31\tSilvester"));
    QDate previous;
    for (const QByteArray& row : rows) {
        const QList<QByteArray> fields = row.split('\t');
        ASSERT_EQ(fields.size(), 2) << row.constData();
        const QDate date = QDate::fromString(QString::fromLatin1(fields[0]), Qt::ISODate);
        ASSERT_TRUE(date.isValid()) << row.constData();
        EXPECT_LT(previous, date);
        previous = date;
    }
}

TEST(CliHolidays, RangeEnds) {
    const auto first = runCli({QStringLiteral("holidays"), QStringLiteral("1700")});
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_TRUE(first.out.contains("1700-04-11\tOstersonntag\n"));
    const auto last = runCli({QStringLiteral("holidays"), QStringLiteral("2500")});
    ASSERT_EQ(last.exitCode, 0);
    EXPECT_TRUE(last.out.contains("2500-12-31\tSilvester\n"));
}

TEST(CliHolidays, BadYearGivesExitCode2AndOneLine) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("holidays")},
          QStringList{QStringLiteral("holidays"), QStringLiteral("1699")},
          QStringList{QStringLiteral("holidays"), QStringLiteral("2501")},
          QStringList{QStringLiteral("holidays"), QStringLiteral("zwanzig")},
          QStringList{QStringLiteral("holidays"), QStringLiteral("2024"), QStringLiteral("x")}}) {
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
    }
}

} // namespace
