// tintaro-cli browse: the browser's listing and thumbnails from the command line.
#include "support/PictureSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::runCli;

namespace {

class CliBrowse : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
        const QDir dir(folder.path());
        PictureSupport::writeFile(dir.filePath(QStringLiteral("IMG_10.jpg")),
                                  PictureSupport::jpeg(PictureSupport::photo(4000, 3000)));
        PictureSupport::writeFile(
            dir.filePath(QStringLiteral("IMG_2.JPG")),
            PictureSupport::withExif(PictureSupport::jpeg(PictureSupport::photo(1600, 1200)), 6,
                                     PictureSupport::jpeg(PictureSupport::photo(160, 120))));
        PictureSupport::writeFile(dir.filePath(QStringLiteral("broken.png")), QByteArray("not a picture"));
        PictureSupport::writeFile(dir.filePath(QStringLiteral("notes.txt")), QByteArray("text"));
    }
    void TearDown() override { qputenv("XDG_CACHE_HOME", saved_); }

    QTemporaryDir folder;
    QTemporaryDir cache;

private:
    QByteArray saved_;
};

} // namespace

TEST_F(CliBrowse, ListsThumbnailsInTheBrowsersOrderAndTheirPaths) {
    const auto first = runCli({QStringLiteral("browse"), folder.path()});
    ASSERT_EQ(first.exitCode, 0) << first.err.constData();
    EXPECT_EQ(first.out, QByteArray("0\tbroken.png\t-\t-\tfailed\n"
                                    "1\tIMG_2.JPG\t1200x1600\t69x92\texif\n"
                                    "2\tIMG_10.jpg\t4000x3000\t92x69\tscaled\n"));
    // The decoded one was put into the shared cache; --no-cache neither reads nor writes it.
    const auto second =
        runCli({QStringLiteral("browse"), folder.path(), QStringLiteral("--size"), QStringLiteral("64")});
    EXPECT_TRUE(second.out.endsWith("2\tIMG_10.jpg\t4000x3000\t64x48\tcache\n")) << second.out.constData();
    const auto uncached = runCli({QStringLiteral("browse"), folder.path(), QStringLiteral("--no-cache")});
    EXPECT_TRUE(uncached.out.endsWith("\tscaled\n"));

    QTemporaryDir out;
    const auto written =
        runCli({QStringLiteral("browse"), folder.path(), QStringLiteral("--size"), QStringLiteral("200"),
                QStringLiteral("--out"), out.path(), QStringLiteral("--no-cache")});
    ASSERT_EQ(written.exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(out.filePath(QStringLiteral("0.png"))));
    EXPECT_EQ(QImage(out.filePath(QStringLiteral("1.png"))).size(), QSize(150, 200));
    EXPECT_EQ(QImage(out.filePath(QStringLiteral("2.png"))).size(), QSize(200, 150));
}

TEST_F(CliBrowse, BadFoldersSizesAndTargetsExitWithOneLine) {
    const QStringList bad[] = {
        {QStringLiteral("browse"), folder.path() + QStringLiteral("/missing")},
        {QStringLiteral("browse"), folder.path(), QStringLiteral("--size"), QStringLiteral("15")},
        {QStringLiteral("browse"), folder.path(), QStringLiteral("--size"), QStringLiteral("513")},
        {QStringLiteral("browse"), folder.path(), QStringLiteral("--size"), QStringLiteral("big")},
        {QStringLiteral("browse"), folder.path(), QStringLiteral("--out"),
         folder.path() + QStringLiteral("/none")},
        {QStringLiteral("browse")},
    };
    for (const QStringList& args : bad) {
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(result.err.count('\n'), 1);
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_TRUE(QDir(cache.path()).isEmpty()) << "nothing was cached by a refused run";
}
