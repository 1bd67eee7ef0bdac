#include "support/TestSupport.h"

#include "platform/uJpegCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;

namespace {

QImage decode(const QString& path) {
    QImage image;
    JpegCodec::TJpegHeader header;
    if (JpegCodec::Decode(readFile(path), image, header, QSize(), 1 << 26) != JpegCodec::TJpegStatus::Ok)
        return {};
    return image;
}

bool neutral(QRgb p) {
    // The background is a light grey: channels close together and bright.
    return std::abs(qRed(p) - qBlue(p)) < 8 && qGreen(p) > 190 && qGreen(p) < 245;
}

} // namespace

TEST(CliPreview, WritesAnUndistortedViewOnANeutralBackground) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("book.jpg"));
    const auto result =
        runCli({QStringLiteral("preview"), QStringLiteral("--product"), QStringLiteral("31"), out});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(result.out, (out + QStringLiteral(": 800 x 600\n")).toUtf8());
    const QImage picture = decode(out);
    ASSERT_EQ(picture.size(), QSize(800, 600));
    EXPECT_TRUE(neutral(picture.pixel(4, 4)));
    EXPECT_TRUE(neutral(picture.pixel(795, 595)));
    // Sample photos fill the frames: the middle of the left page is not page white.
    const QRgb middle = picture.pixel(230, 200);
    EXPECT_FALSE(qRed(middle) > 245 && qGreen(middle) > 245 && qBlue(middle) > 245);

    // The same product gives the same bytes, so a rebuild finds nothing changed.
    const QString again = dir.filePath(QStringLiteral("again.jpg"));
    ASSERT_EQ(runCli({QStringLiteral("preview"), QStringLiteral("--product"), QStringLiteral("31"), again})
                  .exitCode,
              0);
    EXPECT_EQ(readFile(again), readFile(out));
}

TEST(CliPreview, AWideSizeLetterboxesTheViewKeepingItsShape) {
    QTemporaryDir dir;
    const QString square = dir.filePath(QStringLiteral("a.jpg")),
                  wide = dir.filePath(QStringLiteral("b.jpg"));
    // A4 calendar pages are portrait: in a wide picture the page keeps its shape, so the sides stay
    // background far into the middle.
    ASSERT_EQ(runCli({QStringLiteral("preview"), QStringLiteral("--product"), QStringLiteral("61"),
                      QStringLiteral("--year"), QStringLiteral("2027"), QStringLiteral("--size"),
                      QStringLiteral("1200x300"), wide})
                  .exitCode,
              0);
    const QImage picture = decode(wide);
    ASSERT_EQ(picture.size(), QSize(1200, 300));
    for (int x : {10, 300, 450, 750, 900, 1190})
        EXPECT_TRUE(neutral(picture.pixel(x, 150))) << x;
    EXPECT_FALSE(neutral(picture.pixel(600, 60)));
    const auto result = runCli({QStringLiteral("preview"), QStringLiteral("--product"), QStringLiteral("71"),
                                QStringLiteral("--size"), QStringLiteral("16x16"), square});
    EXPECT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(decode(square).size(), QSize(16, 16));
}

TEST(CliPreview, BadInputIsRefusedOnOneLineAndLeavesNoFile) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("p.jpg"));
    const QString kept = dir.filePath(QStringLiteral("kept.jpg"));
    TestSupport::writeFile(kept, "old bytes");
    const QString product = QStringLiteral("--product"), size = QStringLiteral("--size");
    for (const QStringList& args : {
             QStringList{QStringLiteral("preview"), product, QStringLiteral("4711"), out},
             QStringList{QStringLiteral("preview"), product, QStringLiteral("1"), size,
                         QStringLiteral("15x300"), out},
             QStringList{QStringLiteral("preview"), product, QStringLiteral("1"), size,
                         QStringLiteral("800x4001"), out},
             QStringList{QStringLiteral("preview"), product, QStringLiteral("1"), size, QStringLiteral("800"),
                         out},
             QStringList{QStringLiteral("preview"), product, QStringLiteral("1")},
             QStringList{QStringLiteral("preview"), product, QStringLiteral("1"),
                         dir.filePath(QStringLiteral("kein/Ordner/p.jpg"))},
             QStringList{QStringLiteral("preview"), product, QStringLiteral("4711"), kept},
         }) {
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(readFile(kept), QByteArray("old bytes"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.jpg")});
}
