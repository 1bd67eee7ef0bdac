#include "support/PictureSupport.h"
#include "support/TestSupport.h"

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "filters/uPictureFilter.h"
#include "filters/uPixPinsel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;

namespace {

QImage loadRgb32(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// One line on stderr, exit code 2, nothing written.
void expectRefused(const TestSupport::CliResult& result, const char* message) {
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains(message)) << result.err.constData();
    EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
    EXPECT_TRUE(result.out.isEmpty());
}

class CliFilterImage : public ::testing::Test {
protected:
    void SetUp() override {
        source = PictureSupport::photo(120, 80, 3);
        in = dir.filePath(QStringLiteral("in.png"));
        ASSERT_TRUE(source.save(in, "PNG"));
        out = dir.filePath(QStringLiteral("out.png"));
    }
    QTemporaryDir dir;
    QImage source;
    QString in, out;
};

TEST_F(CliFilterImage, FiltersInOrderExactlyAsTheCore) {
    const auto result =
        runCli({QStringLiteral("filter-image"), in, out, QStringLiteral("--hkig"),
                QStringLiteral("0.2,0.5,-0.25,2"), QStringLiteral("--hsl"), QStringLiteral("0.25,-0.5,0.1"),
                QStringLiteral("--swcol"), QStringLiteral("0.1,0.3")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(result.out, QByteArray("120 x 80\n"));
    QImage expected = source;
    FilterHKIG(expected, 0.2f, 0.5f, -0.25f, 2);
    FilterHSL(expected, 0.25f, -0.5f, 0.1f);
    FilterSWCol(expected, 0.1f, 0.3f);
    EXPECT_EQ(loadRgb32(out), expected);

    // The order counts: colouring first, then the hue shift, gives another picture.
    ASSERT_EQ(runCli({QStringLiteral("filter-image"), in, out, QStringLiteral("--swcol"),
                      QStringLiteral("0.1,0.3"), QStringLiteral("--hsl"), QStringLiteral("0.25,-0.5,0.1")})
                  .exitCode,
              0);
    QImage reversed = source;
    FilterSWCol(reversed, 0.1f, 0.3f);
    FilterHSL(reversed, 0.25f, -0.5f, 0.1f);
    EXPECT_EQ(loadRgb32(out), reversed);
    EXPECT_NE(reversed, expected);
}

TEST_F(CliFilterImage, RedEyeClicksOnStoredPixels) {
    QImage red(30, 20, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(red.save(in, "PNG"));
    const auto result =
        runCli({QStringLiteral("filter-image"), in, out, QStringLiteral("--redeye"), QStringLiteral("5,5"),
                QStringLiteral("--redeye"), QStringLiteral("20,10,9")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QImage done = loadRgb32(out);
    QImage expected = red;
    TPixPinsel five(5, 5), nine(9, 9);
    five.MakeRound();
    nine.MakeRound();
    RedEye::Retouch(expected, five, 5, 5);
    RedEye::Retouch(expected, nine, 20, 10);
    EXPECT_EQ(done, expected);
    EXPECT_EQ(done.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(done.pixel(5, 8), qRgb(255, 0, 0));
    EXPECT_EQ(done.pixel(20, 14), qRgb(0, 0, 0));
}

TEST_F(CliFilterImage, BadInputWritesNothing) {
    const QString junk = PictureSupport::writeFile(dir.filePath(QStringLiteral("junk.png")), "not a picture");
    const QString f = QStringLiteral("filter-image");
    struct Case {
        QStringList args;
        const char* message;
    };
    for (const Case& c : {
             Case{{f, in, out, QStringLiteral("--hkig"), QStringLiteral("2,0,0,1")},
                  "prozHelligkeit außerhalb von -1..1"},
             Case{{f, in, out, QStringLiteral("--hkig"), QStringLiteral("0,0,0,0.00005")},
                  "gamma außerhalb von 0,0001..100"},
             Case{{f, in, out, QStringLiteral("--hkig"), QStringLiteral("nan,0,0,1")}, "prozHelligkeit"},
             Case{{f, in, out, QStringLiteral("--hkig"), QStringLiteral("0,0,1")}, "needs 4"},
             Case{{f, in, out, QStringLiteral("--hsl"), QStringLiteral("0.6,0,0")},
                  "hue shift must lie in -0.5..0.5"},
             Case{{f, in, out, QStringLiteral("--hsl"), QStringLiteral("0,0,inf")}, "lightness shift"},
             Case{{f, in, out, QStringLiteral("--hsl"), QStringLiteral("0,x,0")}, "\"x\" is not a number"},
             Case{{f, in, out, QStringLiteral("--hsl"), QStringLiteral("0,0,0,5")}, "needs 3"},
             Case{{f, in, out, QStringLiteral("--swcol"), QStringLiteral("1.5,0.3")}, "hue must lie in 0..1"},
             Case{{f, in, out, QStringLiteral("--swcol"), QStringLiteral("0,0,3")}, "needs 2"},
             Case{{f, in, out, QStringLiteral("--swcol"), QStringLiteral("0,1e40")}, "is not a number"},
             Case{{f, in, out, QStringLiteral("--redeye"), QStringLiteral("5,5,4")},
                  "brush size must be 3, 5 or 9"},
             Case{{f, in, out, QStringLiteral("--redeye"), QStringLiteral("120,5")}, "outside the picture"},
             Case{{f, in, out, QStringLiteral("--redeye"), QStringLiteral("5")}, "needs 2 or 3"},
             Case{{f, in, out, QStringLiteral("--redeye")}, "needs a value"},
             Case{{f, in, out, QStringLiteral("--blur"), QStringLiteral("1")}, "unknown option --blur"},
             Case{{f, in, out}, "usage"},
             Case{{f, dir.filePath(QStringLiteral("none.png")), out, QStringLiteral("--swcol"),
                   QStringLiteral("0,0")},
                  "picture not found"},
             Case{{f, junk, out, QStringLiteral("--swcol"), QStringLiteral("0,0")}, "could not be decoded"},
             Case{{f, in, dir.filePath(QStringLiteral("no/such/dir/out.png")), QStringLiteral("--swcol"),
                   QStringLiteral("0,0")},
                  "cannot write"},
         }) {
        SCOPED_TRACE(c.message);
        expectRefused(runCli(c.args), c.message);
        EXPECT_FALSE(QFile::exists(out));
    }
    // A refused run leaves an existing output as it was.
    PictureSupport::writeFile(out, "previous");
    expectRefused(runCli({f, in, out, QStringLiteral("--hsl"), QStringLiteral("1,0,0")}), "hue shift");
    EXPECT_EQ(readFile(out), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no temporary file left behind
}

class CliPicture : public ::testing::Test {
protected:
    void SetUp() override {
        // Page 0: a photo, an empty frame and a colour area.
        TFBDocument doc;
        doc.Reset();
        TFBPage* first = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        for (int i = 0; i < 3; ++i)
            first->Pictures.Add(std::make_unique<TFBPictureElement>(first));
        photo = PictureSupport::photo(90, 60, 5);
        const QString file = dir.filePath(QStringLiteral("photo.png"));
        ASSERT_TRUE(photo.save(file, "PNG"));
        static_cast<TFBPictureElement*>(first->Pictures.Items(0))->SetPictureFile(file);
        static_cast<TFBPictureElement*>(first->Pictures.Items(2))->SetColorFill(0x336699);
        project = dir.filePath(QStringLiteral("album.fbp"));
        SaveDocumentToFile(doc, project);
        doc.Reset();
    }
    QStringList frameArgs(int page, int frame) const {
        return {project, QStringLiteral("--page"), QString::number(page), QStringLiteral("--frame"),
                QString::number(frame)};
    }
    QTemporaryDir dir;
    QImage photo;
    QString project;
};

TEST_F(CliPicture, WritesTheStoredPictureAndRefusesWhatIsNoPhoto) {
    const QString out = dir.filePath(QStringLiteral("frame.png"));
    const QByteArray before = readFile(project);
    const auto result = runCli(QStringList{QStringLiteral("picture")} + frameArgs(0, 0) + QStringList{out});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(result.out, QByteArray("90 x 60\n"));
    EXPECT_EQ(loadRgb32(out), photo);
    EXPECT_EQ(readFile(project), before);

    const QString other = dir.filePath(QStringLiteral("other.png"));
    struct Case {
        QStringList args;
        const char* message;
    };
    for (const Case& c : {
             Case{frameArgs(0, 1) << other, "holds no picture"},
             Case{frameArgs(0, 2) << other, "is a colour area"},
             Case{frameArgs(0, 3) << other, "frame 3 does not exist on page 0"},
             Case{frameArgs(1, 0) << other, "page 1 does not exist"},
             Case{frameArgs(0, 0), "usage"},
             Case{{dir.filePath(QStringLiteral("none.fbp")), QStringLiteral("--page"), QStringLiteral("0"),
                   QStringLiteral("--frame"), QStringLiteral("0"), other},
                  "file not found"},
         }) {
        SCOPED_TRACE(c.message);
        expectRefused(runCli(QStringList{QStringLiteral("picture")} + c.args), c.message);
        EXPECT_FALSE(QFile::exists(other));
        EXPECT_EQ(readFile(project), before);
    }
}

double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

TEST_F(CliPicture, FilterAppliesOneFilterAsOkDoesAndSavesInPlace) {
    const QString f = QStringLiteral("filter");
    auto result = runCli(QStringList{f} + frameArgs(0, 0) +
                         QStringList{QStringLiteral("--hsl"), QStringLiteral("0.5,0,0")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QString name = dir.filePath(QStringLiteral("photo.png"));
    EXPECT_EQ(QString::fromUtf8(result.out),
              QStringLiteral("filtered picture frame 0 of page 0: \"B %1\" (90 x 60)\n").arg(name));
    const QString out = dir.filePath(QStringLiteral("after.png"));
    ASSERT_EQ(runCli(QStringList{QStringLiteral("picture")} + frameArgs(0, 0) + QStringList{out}).exitCode,
              0);
    QImage expected = photo;
    FilterHSL(expected, 0.5f, 0, 0);
    const QImage stored = loadRgb32(out);
    ASSERT_EQ(stored.size(), expected.size());
    // The store keeps an edited photo as a JPEG.
    EXPECT_LT(meanDifference(stored, expected), 3.0);
    EXPECT_GT(meanDifference(stored, photo), 20.0);

    // Several red-eye clicks are one step; the name gains "C ".
    result = runCli(QStringList{f} + frameArgs(0, 0) +
                    QStringList{QStringLiteral("--redeye"), QStringLiteral("10,10"),
                                QStringLiteral("--redeye"), QStringLiteral("50,30,9")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_TRUE(result.out.contains(": \"C B ")) << result.out.constData();
}

TEST_F(CliPicture, FilterRefusalsLeaveTheProjectByteIdentical) {
    const QByteArray before = readFile(project);
    const QString f = QStringLiteral("filter");
    const QStringList hsl{QStringLiteral("--hsl"), QStringLiteral("0.1,0,0")};
    struct Case {
        QStringList args;
        const char* message;
    };
    for (const Case& c : {
             Case{frameArgs(0, 1) + hsl, "holds no picture"},
             Case{frameArgs(0, 2) + hsl, "is a colour area"},
             Case{frameArgs(0, 5) + hsl, "frame 5 does not exist on page 0"},
             Case{frameArgs(3, 0) + hsl, "page 3 does not exist"},
             Case{frameArgs(0, 0) + QStringList{QStringLiteral("--hkig"), QStringLiteral("0,0,0,200")},
                  "gamma außerhalb von 0,0001..100"},
             Case{frameArgs(0, 0) + hsl + QStringList{QStringLiteral("--swcol"), QStringLiteral("0,0")},
                  "one colour filter"},
             Case{frameArgs(0, 0) + QStringList{QStringLiteral("--redeye"), QStringLiteral("90,0")},
                  "outside the picture"},
             Case{frameArgs(0, 0), "usage"},
             Case{frameArgs(0, 0) + QStringList{QStringLiteral("--sharpen")}, "unknown option --sharpen"},
             Case{{project, QStringLiteral("--page"), QStringLiteral("0")}, "usage"},
             Case{{project, QStringLiteral("--page"), QStringLiteral("zero"), QStringLiteral("--frame"),
                   QStringLiteral("0"), QStringLiteral("--hsl"), QStringLiteral("0,0,0")},
                  "whole number"},
         }) {
        SCOPED_TRACE(c.message);
        expectRefused(runCli(QStringList{f} + c.args), c.message);
        EXPECT_EQ(readFile(project), before);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary file left behind
}

} // namespace
