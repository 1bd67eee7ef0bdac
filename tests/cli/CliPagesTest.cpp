// tintaro-cli pages (the list and the painted strip) and the edit steps insert-view-after and
// drag-view, which run the pages panel's rules.
#include "support/PictureSupport.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;

namespace {

class CliPages : public ::testing::Test {
protected:
    void SetUp() override {
        book = path("buch.fbp");
        calendar = path("kalender.fbp");
        prints = path("abzuege.fbp");
        const auto make = [](const char* product, const QString& file, QStringList more) {
            return runCli(QStringList{QStringLiteral("new"), QStringLiteral("--product"),
                                      QString::fromLatin1(product), QStringLiteral("--year"),
                                      QStringLiteral("2027")} +
                          more + QStringList{file})
                .exitCode;
        };
        const QStringList eight{QStringLiteral("--pages"), QStringLiteral("8")};
        ASSERT_EQ(make("31", book, eight), 0);
        ASSERT_EQ(make("21", prints, eight), 0);
        ASSERT_EQ(make("61", calendar, {}), 0);
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    static QStringList lines(const TestSupport::CliResult& result) {
        return QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
    }
    void expectRefused(const QStringList& args, const QString& untouched) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const QByteArray before = readFile(untouched);
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
        EXPECT_EQ(readFile(untouched), before);
    }

    QTemporaryDir dir;
    QString book, calendar, prints;
};

TEST_F(CliPages, ListsEveryViewWithItsPagesAndRules) {
    auto result = runCli({QStringLiteral("pages"), book});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QStringList bookLines = lines(result);
    ASSERT_EQ(bookLines.size(), 5);
    EXPECT_EQ(bookLines[0], QStringLiteral("0\tSeite 1\t-\t0\tfixed\t000"));
    EXPECT_EQ(bookLines[1], QStringLiteral("1\tSeite 2 - 3\t1\t2\tmovable\t111"));
    EXPECT_EQ(bookLines[4], QStringLiteral("4\tSeite 8\t7\t-\tfixed\t000"));

    result = runCli({QStringLiteral("pages"), prints});
    EXPECT_EQ(lines(result).first(), QStringLiteral("0\tSeite 1\t0\t-\tmovable\t111"));
    result = runCli({QStringLiteral("pages"), calendar});
    EXPECT_EQ(lines(result).first(), QStringLiteral("0\tJanuar\t0\t-\tfixed\t000"));
}

TEST_F(CliPages, PaintsTheStripAsThePanelDoes) {
    const QString png = path("streifen.png");
    auto result = runCli({QStringLiteral("pages"), book, QStringLiteral("--strip"), png,
                          QStringLiteral("--current"), QStringLiteral("2")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    QImage strip(png);
    ASSERT_FALSE(strip.isNull());
    EXPECT_EQ(strip.size(), QSize(5 * 150, 168));
    // The current view's frame in the button shadow grey, the others white there.
    EXPECT_EQ(strip.pixel(2 * 150 + 4, 80), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(strip.pixel(1 * 150 + 4, 80), qRgb(0xFF, 0xFF, 0xFF));

    result = runCli({QStringLiteral("pages"), prints, QStringLiteral("--strip"), png,
                     QStringLiteral("--height"), QStringLiteral("90")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(QImage(png).size(), QSize(8 * 100, 90));

    expectRefused({QStringLiteral("pages"), book, QStringLiteral("--strip"), png, QStringLiteral("--current"),
                   QStringLiteral("5")},
                  png);
    expectRefused({QStringLiteral("pages"), book, QStringLiteral("--height"), QStringLiteral("100")}, book);
    expectRefused({QStringLiteral("pages"), path("fehlt.fbp")}, book);
}

TEST_F(CliPages, EditStepsRunThePanelsRules) {
    const QString out = path("neu.fbp");
    auto result =
        runCli({QStringLiteral("edit"), book, out, QStringLiteral("insert-view-after"), QStringLiteral("2"),
                QStringLiteral("drag-view"), QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("undo"),
                QStringLiteral("drag-view"), QStringLiteral("3"), QStringLiteral("1")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QStringList steps = lines(result);
    ASSERT_EQ(steps.size(), 6);
    EXPECT_TRUE(steps[0].startsWith(QStringLiteral("1 insert-view-after records=1 redo=0")))
        << steps[0].toStdString();
    EXPECT_EQ(steps[2], QStringLiteral("view 1 is now view 3"));
    EXPECT_TRUE(steps[3].startsWith(QStringLiteral("3 undo TUndoSeiteVerschieben")))
        << steps[3].toStdString();
    EXPECT_EQ(steps[5], QStringLiteral("view 3 is now view 1"));
    EXPECT_EQ(lines(runCli({QStringLiteral("pages"), out})).size(), 6);

    // Next to itself, on the book's outer gaps, and in calendars: refused, nothing written.
    for (const QStringList& step :
         {QStringList{QStringLiteral("drag-view"), QStringLiteral("2"), QStringLiteral("3")},
          QStringList{QStringLiteral("drag-view"), QStringLiteral("2"), QStringLiteral("0")},
          QStringList{QStringLiteral("drag-view"), QStringLiteral("0"), QStringLiteral("3")},
          QStringList{QStringLiteral("insert-view-after"), QStringLiteral("4")}})
        expectRefused(QStringList{QStringLiteral("edit"), book, out} + step, out);
    expectRefused(
        {QStringLiteral("edit"), calendar, out, QStringLiteral("insert-view-after"), QStringLiteral("3")},
        out);
}

} // namespace
