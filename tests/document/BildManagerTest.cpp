#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "support/PictureSupport.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class BildManager : public ::testing::Test {
protected:
    void SetUp() override { store().Clear(); }
    void TearDown() override {
        // The hooks may refer to the finished test's locals.
        Debug().setSink(nullptr);
        store().SetDecoder(nullptr);
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

// ---------------------------------------------------------------------------------------------
// Scaling, decoding failures and the camera's orientation

TEST_F(BildManager, ScaledSizesFollowTheOneTimeReduction) {
    EXPECT_EQ(TBildmanager::ReducedSize(QSize(2272, 1705)), QSize(2271, 1704));
    EXPECT_FALSE(TBildmanager::ReducedSize(QSize(2000, 1936)).has_value());
    EXPECT_EQ(TBildmanager::ReducedSize(QSize(4000, 3000)), QSize(2272, 1704));
    EXPECT_EQ(TBildmanager::ReducedSize(QSize(3000, 2000)), QSize(2410, 1607));
    EXPECT_FALSE(TBildmanager::ReducedSize(QSize(0, 0)).has_value());
}

TEST_F(BildManager, LargeCameraJpegIsReducedUprightAndStoredSmaller) {
    // A 4000 x 3000 photo held sideways by the camera (orientation 6): upright it is 3000 x 4000.
    const QByteArray bytes =
        PictureSupport::withOrientation(PictureSupport::jpeg(PictureSupport::photo(4000, 3000)), 6);
    const QString path = PictureSupport::writeFile(dir.filePath(QStringLiteral("camera.jpg")), bytes);
    const int ref = store().AddFromFile(path);
    const TBildManagerListItem* item = store().Find(ref);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->PicWidth, 1704);
    EXPECT_EQ(item->PicHeight, 2272);
    EXPECT_EQ(item->FileSize, bytes.size()); // the source file's size, not the new bytes'
    EXPECT_TRUE(item->FileData.startsWith("\xFF\xD8"));
    EXPECT_LT(item->FileData.size(), bytes.size());
    EXPECT_EQ(Imaging::ProbeSize(item->FileData), QSize(1704, 2272)); // stored upright, no tag needed
    EXPECT_EQ(store().GetBitmap(ref).size(), QSize(1704, 2272));
    EXPECT_EQ(store().GetPreview(ref).size(), QSize(144, 192));
}

TEST_F(BildManager, BadFilesNeverTakeTheProgramDown) {
    const QString empty = PictureSupport::writeFile(dir.filePath(QStringLiteral("empty.jpg")), QByteArray());
    const int zero = store().AddFromFile(empty);
    const TBildManagerListItem* item = store().Find(zero);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->FileName, empty);
    EXPECT_EQ(item->FileSize, 0);
    EXPECT_EQ(item->PicWidth, 0);
    EXPECT_TRUE(item->FileData.isEmpty());
    EXPECT_TRUE(store().GetBitmap(zero).isNull());
    EXPECT_TRUE(store().GetPreview(zero).isNull());

    const QString huge = PictureSupport::writeFile(dir.filePath(QStringLiteral("huge.png")),
                                                   PictureSupport::pngClaiming(100000, 100000));
    const int claimed = store().AddFromFile(huge);
    EXPECT_EQ(store().Find(claimed)->PicWidth, 0);
    EXPECT_TRUE(store().GetBitmap(claimed).isNull());
    EXPECT_FALSE(store().Find(claimed)->FileData.isEmpty()); // the bytes are kept as they came

    const QByteArray whole = PictureSupport::jpeg(PictureSupport::photo(300, 200));
    const int cut = store().AddFromFile(
        PictureSupport::writeFile(dir.filePath(QStringLiteral("cut.jpg")), whole.left(whole.size() / 2)));
    EXPECT_EQ(store().GetBitmap(cut).size(), QSize(300, 200));
    EXPECT_EQ(store().Count(), 3);
}

TEST_F(BildManager, OutOfMemoryIsRetriedThreeTimesAfterLoweringTheLimit) {
    QStringList trace;
    Debug().setSink([&](const QString& line) { trace << line; });
    const QString path = writePicture(QStringLiteral("m.png"), 30, 20);
    int failures = 3;
    store().SetDecoder([&](const QByteArray& data, const Imaging::TDecodeOptions& options) {
        if (failures-- > 0) {
            Imaging::TDecodeResult result;
            result.Status = Imaging::TImageStatus::OutOfMemory;
            return result;
        }
        return Imaging::Decode(data, options);
    });
    store().MaxDecoded = 20;
    const int ref = store().AddFromFile(path);
    EXPECT_EQ(store().Find(ref)->PicWidth, 30);
    EXPECT_EQ(store().MaxDecoded, 14); // 20 -> 18 -> 16 -> 14
    EXPECT_EQ(trace.filter(QStringLiteral("Status Fehler bei LoadGPBitmap: 3")).size(), 3);

    // The fourth failure gives up with a message naming the file; nothing half-made stays behind.
    failures = 4;
    const QString other = writePicture(QStringLiteral("n.png"), 30, 20);
    try {
        store().AddFromFile(other);
        FAIL() << "no error raised";
    } catch (const Exception& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Bild %1 konnte nicht geladen werden.").arg(other));
    }
    EXPECT_EQ(store().Count(), 1);

    // Undecodable data is not retried.
    int calls = 0;
    store().SetDecoder([&](const QByteArray&, const Imaging::TDecodeOptions&) {
        ++calls;
        Imaging::TDecodeResult result;
        result.Status = Imaging::TImageStatus::InvalidData;
        return result;
    });
    const int broken = store().AddFromFile(writePicture(QStringLiteral("o.png"), 5, 5));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(store().Find(broken)->PicWidth, 0);
}

TEST_F(BildManager, TraceLinesFollowTheEntriesThroughTheirLife) {
    QStringList trace;
    Debug().setSink([&](const QString& line) { trace << line.section(QLatin1Char(' '), 1); });
    const int big = store().AddFromFile(writePicture(QStringLiteral("big.bmp"), 2272, 1705, "BMP"));
    QImage clip(4, 4, QImage::Format_ARGB32);
    clip.fill(Qt::transparent);
    const int png = store().AddBitmap(clip);
    store().AddRef(png);
    // The new entry has no reference yet while it is decoded and re-encoded.
    const QStringList expected{
        QStringLiteral("Resize in LoadGPBitmap"), QStringLiteral("SaveGPBitmapToStream -1 -> JPG"),
        QStringLiteral("RemoveGPBitmap -1"),      QStringLiteral("SaveGPBitmapToStream -1 -> PNG"),
        QStringLiteral("RemoveGPBitmap -1"),      QStringLiteral("IncRefCount %1").arg(png)};
    EXPECT_EQ(trace, expected);
    trace.clear();
    store().Release(big);
    store().Clear();
    EXPECT_EQ(trace, QStringList{QStringLiteral("Verwaiste Elemente: 1")});
}

// ---------------------------------------------------------------------------------------------
// The store in a container: whole, single entries and the transfer form

class BildManagerStore : public BildManager {
protected:
    void SetUp() override {
        BildManager::SetUp();
        buffer.open(QIODevice::ReadWrite);
        file = std::make_unique<TMemoryDataFile>(buffer);
    }
    QBuffer buffer;
    std::unique_ptr<TMemoryDataFile> file;
};

TEST_F(BildManagerStore, SaveWritesTheCountAndOneSectionPerPictureInListOrder) {
    const int a = store().AddFromFile(writePicture(QStringLiteral("a.jpg"), 64, 48, "JPEG"));
    const int b = store().AddFromFile(writePicture(QStringLiteral("b.png"), 30, 20));
    QImage area(48, 48, QImage::Format_RGB32);
    area.fill(Qt::blue);
    const int c = store().AddBitmap(area);
    store().AddRef(a);
    store().Save(*file, QStringLiteral("BildManager"));

    EXPECT_EQ(file->ReadInteger(QStringLiteral("BildManager"), QStringLiteral("Anzahl"), -1), 3);
    // Most recently used first: b, a (added at the front), then the colour area appended.
    EXPECT_EQ(file->ReadInteger(QStringLiteral("BildManager/Bild0"), QStringLiteral("RefIndex"), -1), b);
    EXPECT_EQ(file->ReadInteger(QStringLiteral("BildManager/Bild1"), QStringLiteral("RefIndex"), -1), a);
    EXPECT_EQ(file->ReadInteger(QStringLiteral("BildManager/Bild1"), QStringLiteral("RefCount"), -1), 2);
    EXPECT_EQ(file->ReadInteger(QStringLiteral("BildManager/Bild2"), QStringLiteral("RefIndex"), -1), c);
    EXPECT_TRUE(file->FindItem(QStringLiteral("BildManager/Bild2"), QStringLiteral("File")));
    EXPECT_FALSE(file->FindItem(QStringLiteral("BildManager/Bild3"), QStringLiteral("FileName")));

    std::vector<QByteArray> bytes;
    for (int i = 0; i < store().Count(); ++i)
        bytes.push_back(store().Item(i).FileData);
    store().Clear();
    store().Load(*file, QStringLiteral("BildManager"));
    ASSERT_EQ(store().Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(store().Item(i).FileData, bytes[size_t(i)]);
    EXPECT_EQ(store().UseCount(a), 2);
    EXPECT_EQ(store().Find(a)->PicWidth, 64);
    EXPECT_EQ(store().Find(b)->PicHeight, 20);
    EXPECT_EQ(store().GetBitmap(c).size(), QSize(48, 48));
}

TEST_F(BildManagerStore, NextRefIndexAfterLoadingReferencesZeroFiveSeven) {
    const int refs[] = {0, 5, 7};
    file->WriteInteger(QStringLiteral("BildManager"), QStringLiteral("Anzahl"), 3);
    for (int k = 0; k < 3; ++k) {
        const QString e = QStringLiteral("BildManager/Bild%1").arg(k);
        file->WriteInteger(e, QStringLiteral("RefCount"), 1);
        file->WriteInteger(e, QStringLiteral("RefIndex"), refs[k]);
    }
    store().Load(*file, QStringLiteral("BildManager"));
    ASSERT_EQ(store().Count(), 3);
    EXPECT_EQ(store().NextRefIndex(), 8);
    EXPECT_TRUE(store().Find(5)->FileData.isEmpty());
}

TEST_F(BildManagerStore, LoadedJpegsAreMeasuredFirstAndDecodedOnFirstUse) {
    const QByteArray bytes = PictureSupport::jpeg(PictureSupport::photo(640, 480, 9));
    const int ref =
        store().AddFromFile(PictureSupport::writeFile(dir.filePath(QStringLiteral("p.jpg")), bytes));
    const QImage eager = store().GetBitmap(ref);
    store().Save(*file, QStringLiteral("BildManager"));
    store().Clear();

    store().Load(*file, QStringLiteral("BildManager"));
    const TBildManagerListItem* item = store().Find(ref);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->PicWidth, 640);
    EXPECT_EQ(item->PicHeight, 480);
    EXPECT_FALSE(item->Picture.has_value());
    // Before the picture is decoded the preview is the small one, made by a worker.
    EXPECT_EQ(store().GetPreview(ref).size(), QSize(128, 96));
    EXPECT_TRUE(item->PreviewIsSmall);
    // The pixels are those of an eager decode.
    EXPECT_EQ(store().GetBitmap(ref), eager);
    EXPECT_EQ(store().GetPreview(ref).size(), QSize(192, 144));
    EXPECT_FALSE(item->PreviewIsSmall);
}

TEST_F(BildManagerStore, EveryLoadedPictureKeepsItsPixelsOrHasItsPreviewUnderWay) {
    // PNGs are decoded while loading; those beyond the decoded limit are freed again at once and
    // must still get their previews from the workers rather than on the first repaint.
    for (int i = 0; i < 12; ++i)
        store().AddFromFile(writePicture(QStringLiteral("n%1.png").arg(i), 40 + i, 30));
    store().Save(*file, QStringLiteral("BildManager"));
    store().Clear();
    store().MaxDecoded = 8;
    store().Load(*file, QStringLiteral("BildManager"));
    ASSERT_EQ(store().Count(), 12);
    int decoded = 0;
    for (int i = 0; i < store().Count(); ++i) {
        const TBildManagerListItem& item = store().Item(i);
        decoded += item.Picture.has_value() ? 1 : 0;
        EXPECT_TRUE(item.Picture.has_value() || item.PendingPreview || item.Preview) << "entry " << i;
    }
    EXPECT_EQ(decoded, 8);
}

TEST_F(BildManagerStore, ReleasingPicturesWhosePreviewsArePendingIsSafe) {
    for (int i = 0; i < 6; ++i)
        PictureSupport::writeFile(dir.filePath(QStringLiteral("q%1.jpg").arg(i)),
                                  PictureSupport::jpeg(PictureSupport::photo(400, 300, quint32(i))));
    for (int i = 0; i < 6; ++i)
        store().AddFromFile(dir.filePath(QStringLiteral("q%1.jpg").arg(i)));
    store().Save(*file, QStringLiteral("BildManager"));
    for (int round = 0; round < 5; ++round) {
        store().Clear();
        store().Load(*file, QStringLiteral("BildManager"));
        store().Release(store().Item(0).RefIndex);
        EXPECT_EQ(store().GetPreview(store().Item(2).RefIndex).size(), QSize(128, 96));
    }
}

TEST_F(BildManagerStore, EntriesForUndoAreReusedWhenEqual) {
    const int ref = store().AddFromFile(writePicture(QStringLiteral("u.png"), 12, 8));
    store().SaveEntry(*file, QStringLiteral("Undo"), ref);
    EXPECT_EQ(file->ReadInteger(QStringLiteral("Undo"), QStringLiteral("RefIndex"), -1), ref);
    EXPECT_EQ(file->ReadInteger(QStringLiteral("Undo"), QStringLiteral("RefCount"), -1), 1);

    // Still there: the same entry, no new use.
    EXPECT_EQ(store().AddForRestore(*file, QStringLiteral("Undo")), ref);
    EXPECT_EQ(store().UseCount(ref), 1);
    EXPECT_EQ(store().Count(), 1);

    // Gone meanwhile: appended with a new reference and no use; the caller adds its own.
    store().Release(ref);
    const int back = store().AddForRestore(*file, QStringLiteral("Undo"));
    ASSERT_NE(store().Find(back), nullptr);
    EXPECT_EQ(store().UseCount(back), 0);
    EXPECT_EQ(store().Find(back)->PicWidth, 12);
    EXPECT_EQ(store().Item(store().Count() - 1).RefIndex, back);
}

TEST_F(BildManagerStore, TransferFormCarriesThePictureWithoutItsUseCount) {
    const QString path = writePicture(QStringLiteral("t.png"), 16, 9);
    const int ref = store().AddFromFile(path);
    store().SaveTransfer(*file, QStringLiteral("Clip"), ref);
    EXPECT_FALSE(file->FindItem(QStringLiteral("Clip"), QStringLiteral("RefCount")));
    EXPECT_FALSE(file->FindItem(QStringLiteral("Clip"), QStringLiteral("RefIndex")));
    EXPECT_EQ(file->ReadString(QStringLiteral("Clip"), QStringLiteral("FileName"), QString()), path);

    // Pasted into the same document: the existing entry gains a use.
    EXPECT_EQ(store().LoadTransfer(*file, QStringLiteral("Clip")), ref);
    EXPECT_EQ(store().UseCount(ref), 2);
    // Pasted into another (empty) document: a new entry with one use.
    store().Clear();
    const int pasted = store().LoadTransfer(*file, QStringLiteral("Clip"));
    EXPECT_EQ(store().UseCount(pasted), 1);
    EXPECT_EQ(store().Find(pasted)->FileName, path);
    EXPECT_EQ(store().GetBitmap(pasted).size(), QSize(16, 9));
    // A section without picture keys gives no picture.
    EXPECT_EQ(store().LoadTransfer(*file, QStringLiteral("Nothing")), -1);
}

TEST_F(BildManagerStore, CopiedFramesCarryTheirPictureIntoAnotherFrame) {
    TFBDocument doc;
    doc.Reset();
    TFBPage* page = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
    auto* source =
        static_cast<TFBPictureElement*>(page->Pictures.Add(std::make_unique<TFBPictureElement>(page)));
    auto* target =
        static_cast<TFBPictureElement*>(page->Pictures.Add(std::make_unique<TFBPictureElement>(page)));
    auto* empty =
        static_cast<TFBPictureElement*>(page->Pictures.Add(std::make_unique<TFBPictureElement>(page)));
    source->SetPictureFile(writePicture(QStringLiteral("f.png"), 20, 10));
    source->SaveWithPicture(*file, QStringLiteral("Copy"));
    EXPECT_TRUE(file->FindItem(QStringLiteral("Copy"), QStringLiteral("File")));
    empty->SaveWithPicture(*file, QStringLiteral("Empty"));
    EXPECT_FALSE(file->FindItem(QStringLiteral("Empty"), QStringLiteral("FileName")));

    target->LoadWithPicture(*file, QStringLiteral("Copy"));
    EXPECT_EQ(target->RefIndex, source->RefIndex);
    EXPECT_EQ(store().UseCount(source->RefIndex), 2);
    target->LoadWithPicture(*file, QStringLiteral("Empty"));
    EXPECT_EQ(target->RefIndex, -1);
    EXPECT_EQ(store().UseCount(source->RefIndex), 1);
}

} // namespace
