#include "document/uFotobuchBildManager.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class BildManager : public ::testing::Test {
protected:
    void SetUp() override { store().Clear(); }
    void TearDown() override {
        store().Clear();
        store().SetMemoryProbe(nullptr);
    }
    static TBildmanager& store() { return TBildmanager::Instance(); }

    QString writePicture(const QString& name, int w, int h, const char* format = "PNG") {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(BildManager, SameFileSharesOneEntryUntilTheLastUseGoes) {
    const QString path = writePicture(QStringLiteral("a.png"), 40, 30);
    const int first = store().AddFromFile(path);
    const int second = store().AddFromFile(path);
    EXPECT_EQ(first, second);
    ASSERT_EQ(store().Count(), 1);
    const TBildManagerListItem& item = store().Item(0);
    EXPECT_EQ(item.RefCount, 2);
    EXPECT_EQ(item.FileName, path);
    EXPECT_EQ(item.FileSize, QFile(path).size());
    EXPECT_EQ(item.PicWidth, 40);
    EXPECT_EQ(item.PicHeight, 30);
    EXPECT_FALSE(item.FileData.isEmpty());

    store().Release(first);
    EXPECT_EQ(store().UseCount(first), 1);
    store().Release(first);
    EXPECT_EQ(store().Count(), 0);
    store().Release(first); // unknown now: ignored
    store().Release(-1);
    store().AddRef(-1);
}

TEST_F(BildManager, MissingOrUndecodableFilesGiveEntriesWithoutPicture) {
    const int missing = store().AddFromFile(dir.filePath(QStringLiteral("nope.jpg")));
    const TBildManagerListItem* item = store().Find(missing);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->FileName.isEmpty());
    EXPECT_EQ(item->FileSize, -1);
    EXPECT_TRUE(store().GetBitmap(missing).isNull());

    const QString junk = dir.filePath(QStringLiteral("junk.jpg"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a picture at all");
    file.close();
    const int broken = store().AddFromFile(junk);
    EXPECT_NE(broken, missing);
    EXPECT_TRUE(store().GetBitmap(broken).isNull());
    EXPECT_EQ(store().Find(broken)->PicWidth, 0);
}

TEST_F(BildManager, LargePhotosAreScaledDownOnceAndStoredSmaller) {
    const int big = store().AddFromFile(writePicture(QStringLiteral("big.bmp"), 2272, 1705, "BMP"));
    EXPECT_EQ(store().GetBitmap(big).size(), QSize(2271, 1704));
    EXPECT_EQ(store().Find(big)->PicWidth, 2271);
    // The stored bytes now hold the smaller picture (re-encoded as JPEG).
    EXPECT_TRUE(store().Find(big)->FileData.startsWith("\xFF\xD8"));

    const int fits = store().AddFromFile(writePicture(QStringLiteral("fits.bmp"), 2000, 1936, "BMP"));
    EXPECT_EQ(store().GetBitmap(fits).size(), QSize(2000, 1936));
    EXPECT_TRUE(store().Find(fits)->FileData.startsWith("BM")); // the source bytes as they were
}

TEST_F(BildManager, BitmapsWithAlphaAreStoredAsPngOthersAsJpeg) {
    QImage clipart(16, 16, QImage::Format_ARGB32);
    clipart.fill(Qt::transparent);
    clipart.setPixel(3, 4, qRgba(10, 20, 30, 200));
    const int png = store().AddBitmap(clipart);
    EXPECT_TRUE(store().Find(png)->FileData.startsWith("\x89PNG"));
    const QImage back = store().GetBitmap(png);
    EXPECT_TRUE(back.hasAlphaChannel());
    EXPECT_EQ(back.pixel(3, 4), qRgba(10, 20, 30, 200));
    EXPECT_EQ(qAlpha(back.pixel(0, 0)), 0);

    QImage area(48, 48, QImage::Format_RGB32);
    area.fill(Qt::yellow);
    const int jpeg = store().AddBitmap(area);
    const TBildManagerListItem* item = store().Find(jpeg);
    EXPECT_TRUE(item->FileData.startsWith("\xFF\xD8"));
    EXPECT_EQ(item->FileSize, 8192);
    EXPECT_TRUE(item->FileName.isEmpty());
    EXPECT_EQ(store().Item(store().Count() - 1).RefIndex, jpeg); // appended at the end
    EXPECT_FALSE(store().GetBitmap(jpeg).hasAlphaChannel());
}

TEST_F(BildManager, MakeUniqueClonesOnlyASharedPicture) {
    const QString path = writePicture(QStringLiteral("share.png"), 20, 10);
    const int ref = store().AddFromFile(path);
    EXPECT_EQ(store().MakeUnique(ref), ref);
    store().AddRef(ref);

    const int clone = store().MakeUnique(ref);
    EXPECT_NE(clone, ref);
    EXPECT_EQ(store().UseCount(ref), 1);
    EXPECT_EQ(store().UseCount(clone), 1);
    EXPECT_EQ(store().Find(clone)->FileName, QStringLiteral("Clone ") + path);
    EXPECT_EQ(store().Find(clone)->FileData, store().Find(ref)->FileData);
    EXPECT_EQ(store().MakeUnique(12345), -1);

    // Adding the source file again finds the original, not the clone.
    EXPECT_EQ(store().AddFromFile(path), ref);

    store().Rotate(clone, 0);
    EXPECT_TRUE(store().Find(clone)->FileName.isEmpty());
    EXPECT_EQ(store().GetBitmap(clone).size(), QSize(10, 20));
    EXPECT_EQ(store().GetBitmap(ref).size(), QSize(20, 10));
}

TEST_F(BildManager, RotationMovesTheTopLeftCornerAsAsked) {
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    // A PNG with alpha keeps the pixels exact before the turn.
    const int ref = store().AddBitmap(image);
    auto darkCorner = [&]() {
        const QImage p = store().GetBitmap(ref);
        for (const QPoint& c : {QPoint(0, 0), QPoint(p.width() - 1, 0), QPoint(0, p.height() - 1),
                                QPoint(p.width() - 1, p.height() - 1)})
            if (qGray(p.pixel(c)) < 100)
                return c;
        return QPoint(-1, -1);
    };
    store().Rotate(ref, 0); // clockwise: top-left goes to top-right
    EXPECT_EQ(store().GetBitmap(ref).size(), QSize(2, 4));
    EXPECT_EQ(darkCorner(), QPoint(1, 0));
    store().Rotate(ref, 1); // half turn: now bottom-left
    EXPECT_EQ(darkCorner(), QPoint(0, 3));
    store().Rotate(ref, 2); // counter-clockwise: back to a wide picture, bottom-right
    EXPECT_EQ(store().GetBitmap(ref).size(), QSize(4, 2));
    EXPECT_EQ(darkCorner(), QPoint(3, 1));
}

TEST_F(BildManager, NextRefIndexFollowsTheLargestReference) {
    EXPECT_EQ(store().NextRefIndex(), 0);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    const int r0 = store().AddBitmap(image);
    const int r1 = store().AddBitmap(image);
    const int r2 = store().AddBitmap(image);
    EXPECT_EQ(r0, 0);
    EXPECT_EQ(r2, 2);
    store().Release(r1);
    EXPECT_EQ(store().NextRefIndex(), 3);
}

TEST_F(BildManager, PreviewsFitIntoTheirSquare) {
    const int ref = store().AddFromFile(writePicture(QStringLiteral("p.jpg"), 400, 300, "JPEG"));
    EXPECT_EQ(store().GetPreview(ref).size(), QSize(192, 144));
    const int tall = store().AddFromFile(writePicture(QStringLiteral("t.png"), 30, 60));
    EXPECT_EQ(store().GetPreview(tall).size(), QSize(96, 192));
    EXPECT_TRUE(store().GetPreview(999).isNull());
}

TEST_F(BildManager, OnlyRecentlyUsedPicturesStayDecoded) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::green);
    std::vector<int> refs;
    for (int i = 0; i < 12; ++i)
        refs.push_back(store().AddBitmap(image));
    store().MaxDecoded = 10;
    for (int ref : refs)
        store().GetBitmap(ref);
    int decoded = 0;
    for (int i = 0; i < store().Count(); ++i)
        decoded += store().Item(i).Picture ? 1 : 0;
    EXPECT_EQ(decoded, 10);
    EXPECT_EQ(store().Item(0).RefIndex, refs.back()); // most recently used first
    EXPECT_TRUE(store().Find(refs.front())->Preview.has_value());

    // Short of memory the limit shrinks, but never below 8 afterwards.
    int calls = 0;
    store().SetMemoryProbe([&](bool total) -> qint64 {
        if (total)
            return qint64(1) << 32;
        return ++calls < 4 ? 1000 : qint64(1) << 30;
    });
    store().Trim();
    EXPECT_EQ(store().MaxDecoded, 8);
    decoded = 0;
    for (int i = 0; i < store().Count(); ++i)
        decoded += store().Item(i).Picture ? 1 : 0;
    EXPECT_EQ(decoded, 7);
}

} // namespace
