#include "support/ImageCompare.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using TestSupport::ImageCompareFolders;
using TestSupport::ImagesMatch;

namespace {

// A small picture with a few areas, so that a changed pixel is a real difference.
QImage samplePicture() {
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(qRgb(250, 250, 245));
    QPainter painter(&image);
    painter.fillRect(5, 5, 20, 10, QColor(200, 40, 30));
    painter.fillRect(15, 12, 20, 14, QColor(30, 60, 200, 128));
    return image;
}

class ImageCompareTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(references.isValid());
        ASSERT_TRUE(output.isValid());
        unsetenv("TINTARO_UPDATE_REFERENCES");
        ASSERT_TRUE(samplePicture().save(references.filePath(QStringLiteral("muster.png"))));
    }
    void TearDown() override { unsetenv("TINTARO_UPDATE_REFERENCES"); }
    bool written(const QString& file) const { return QFileInfo::exists(output.filePath(file)); }

    QTemporaryDir references;
    QTemporaryDir output;
    ImageCompareFolders folders{references.path(), output.path()};
};

} // namespace

TEST_F(ImageCompareTest, TheSamePictureMatchesAndWritesNothing) {
    EXPECT_TRUE(ImagesMatch(samplePicture(), "muster"));
    // Another pixel format of the same pixels is the same picture.
    EXPECT_TRUE(
        ImagesMatch(samplePicture().convertToFormat(QImage::Format_ARGB32_Premultiplied), "muster", 1));
    EXPECT_TRUE(QDir(output.path()).isEmpty());
}

TEST_F(ImageCompareTest, ToleranceAndTheNumberOfDifferentPixelsDecide) {
    QImage changed = samplePicture();
    changed.setPixel(0, 0, qRgb(253, 250, 245)); // red 3 higher
    changed.setPixel(1, 0, qRgb(250, 250, 235)); // blue 10 lower
    EXPECT_FALSE(ImagesMatch(changed, "muster"));
    EXPECT_FALSE(ImagesMatch(changed, "muster", 3)) << "one pixel is still beyond the tolerance";
    EXPECT_TRUE(ImagesMatch(changed, "muster", 10));
    EXPECT_TRUE(ImagesMatch(changed, "muster", 3, 1));
    EXPECT_FALSE(ImagesMatch(changed, "muster", 0, 1));
    EXPECT_TRUE(ImagesMatch(changed, "muster", 0, 2));

    // Alpha counts like a colour channel.
    QImage transparent = samplePicture();
    transparent.setPixel(39, 29, qRgba(250, 250, 245, 0));
    EXPECT_FALSE(ImagesMatch(transparent, "muster", 254));
}

TEST_F(ImageCompareTest, AMismatchWritesActualExpectedAndDifference) {
    QImage changed = samplePicture();
    for (int x = 30; x < 35; ++x)
        changed.setPixel(x, 2, qRgb(0, 0, 0));
    const ::testing::AssertionResult result = ImagesMatch(changed, "muster", 2, 4);
    ASSERT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("5 pixels differ"), std::string::npos) << result.message();

    ASSERT_TRUE(written(QStringLiteral("muster.actual.png")));
    ASSERT_TRUE(written(QStringLiteral("muster.expected.png")));
    ASSERT_TRUE(written(QStringLiteral("muster.diff.png")));
    EXPECT_EQ(
        QImage(output.filePath(QStringLiteral("muster.actual.png"))).convertToFormat(QImage::Format_ARGB32),
        changed);
    EXPECT_EQ(
        QImage(output.filePath(QStringLiteral("muster.expected.png"))).convertToFormat(QImage::Format_ARGB32),
        samplePicture());
    // The difference shows exactly the changed pixels in red.
    const QImage diff = QImage(output.filePath(QStringLiteral("muster.diff.png")));
    ASSERT_EQ(diff.size(), changed.size());
    int red = 0;
    for (int y = 0; y < diff.height(); ++y)
        for (int x = 0; x < diff.width(); ++x)
            if (diff.pixel(x, y) == qRgb(255, 0, 0)) {
                ++red;
                EXPECT_EQ(y, 2);
                EXPECT_GE(x, 30);
            }
    EXPECT_EQ(red, 5);
}

TEST_F(ImageCompareTest, AnotherSizeFailsAndStillWritesThePictures) {
    const QImage larger = samplePicture().copy(0, 0, 41, 30);
    const ::testing::AssertionResult result = ImagesMatch(larger, "muster", 255, 100000);
    ASSERT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("41x30"), std::string::npos) << result.message();
    EXPECT_TRUE(written(QStringLiteral("muster.actual.png")));
    EXPECT_TRUE(written(QStringLiteral("muster.expected.png")));
    const QImage diff(output.filePath(QStringLiteral("muster.diff.png")));
    ASSERT_EQ(diff.size(), QSize(41, 30));
    EXPECT_EQ(diff.pixel(40, 0), qRgb(255, 0, 0)) << "the column outside the reference differs";
}

TEST_F(ImageCompareTest, AMissingReferenceFailsUnlessReferencesAreBeingWritten) {
    const QString reference = references.filePath(QStringLiteral("neu/bild.png"));
    EXPECT_FALSE(ImagesMatch(samplePicture(), "neu/bild"));
    EXPECT_FALSE(QFileInfo::exists(reference));

    setenv("TINTARO_UPDATE_REFERENCES", "1", 1);
    EXPECT_TRUE(ImagesMatch(samplePicture(), "neu/bild"));
    ASSERT_TRUE(QFileInfo::exists(reference));
    EXPECT_EQ(QImage(reference).convertToFormat(QImage::Format_ARGB32), samplePicture());

    // An existing reference is never overwritten: a changed picture still fails.
    QImage changed = samplePicture();
    changed.setPixel(3, 3, qRgb(0, 0, 0));
    EXPECT_FALSE(ImagesMatch(changed, "neu/bild"));
    EXPECT_EQ(QImage(reference).convertToFormat(QImage::Format_ARGB32), samplePicture());
}

TEST(ImageCompareDefaults, ReferencesLiveInTheTestDataAndPicturesGoToTheBuildFolder) {
    EXPECT_TRUE(ImageCompareFolders::References().endsWith(QStringLiteral("tests/data/images")));
    EXPECT_TRUE(ImageCompareFolders::Output().endsWith(QStringLiteral("/test-images")));
    EXPECT_TRUE(QFileInfo(ImageCompareFolders::References()).isDir());
}
