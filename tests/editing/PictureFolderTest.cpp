// The picture browser's core: which files a folder lists and in what order, the loader's stack,
// and the folder model that never waits for a decode and keeps its thumbnails within bounds.
#include "editing/uClipartStarterSet.h"
#include "editing/uPictureFolder.h"
#include "support/PictureSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

using namespace PictureSupport;

namespace {

// A gate that blocks the test's thumbnail maker until the test opens it.
class TGate {
public:
    void Open() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        wake_.notify_all();
    }
    void Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool open_ = false;
};

// Records the order in which the maker is called.
class TRecorder {
public:
    void Add(const QString& path) {
        std::lock_guard<std::mutex> lock(mutex_);
        made_.push_back(path);
    }
    std::vector<QString> Made() {
        std::lock_guard<std::mutex> lock(mutex_);
        return made_;
    }

private:
    std::mutex mutex_;
    std::vector<QString> made_;
};

Thumbnails::TThumbResult fakeThumb(QRgb colour, QSize size = QSize(92, 69)) {
    Thumbnails::TThumbResult result;
    result.Path = Thumbnails::TThumbPath::Scaled;
    result.PicSize = QSize(4000, 3000);
    result.PixelFormat = 24;
    result.Image = QImage(size, QImage::Format_RGB888);
    result.Image.fill(colour);
    return result;
}

// Processes events until `done` holds or five seconds pass (a fault, not a measurement).
template <typename Done>
bool waitFor(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

QStringList names(const PictureListing::TListing& listing) {
    QStringList out;
    for (const TShellItem& item : listing.Items)
        out << item.Name;
    return out;
}

QString touch(const QDir& dir, const QString& name) {
    return writeFile(dir.filePath(name), QByteArray("x"));
}

std::vector<QString> numberedFiles(const QDir& dir, int count) {
    std::vector<QString> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back(touch(dir, QStringLiteral("p%1.jpg").arg(i, 4, 10, QLatin1Char('0'))));
    return paths;
}

} // namespace

TEST(PictureListing, ListsPictureFilesOnlyWhateverTheCaseOfTheirExtension) {
    QTemporaryDir temp;
    const QDir dir(temp.path());
    for (const char* name : {"a.JPG", "b.Jpeg", "c.tif", "d.TIFF", "e.gif", "f.bmp", "g.png", "h.txt", "jpg",
                             ".hidden.jpg", "i.jpg.bak"})
        touch(dir, QString::fromLatin1(name));
    dir.mkdir(QStringLiteral("x.jpg"));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.jpg"))).constData(), 0600), 0);
    ASSERT_EQ(
        symlink("nowhere.jpg", QFile::encodeName(dir.filePath(QStringLiteral("broken.jpg"))).constData()), 0);
    ASSERT_EQ(symlink("g.png", QFile::encodeName(dir.filePath(QStringLiteral("link.png"))).constData()), 0);

    const PictureListing::TListing listing = PictureListing::List(temp.path());
    EXPECT_TRUE(listing.Readable);
    EXPECT_EQ(names(listing),
              (QStringList{QStringLiteral("a.JPG"), QStringLiteral("b.Jpeg"), QStringLiteral("c.tif"),
                           QStringLiteral("d.TIFF"), QStringLiteral("e.gif"), QStringLiteral("f.bmp"),
                           QStringLiteral("g.png"), QStringLiteral("link.png")}));
    EXPECT_EQ(listing.Items[0].Path, dir.filePath(QStringLiteral("a.JPG")));
    EXPECT_EQ(listing.Items[0].Size, 1);

    EXPECT_FALSE(PictureListing::List(temp.path() + QStringLiteral("/missing")).Readable);
    EXPECT_FALSE(PictureListing::List(dir.filePath(QStringLiteral("a.JPG"))).Readable);
    EXPECT_TRUE(PictureListing::List(dir.filePath(QStringLiteral("x.jpg"))).Items.empty());
}

TEST(PictureListing, OrdersAsFileManagersDo) {
    QStringList shuffled{
        QStringLiteral("IMG_10.jpg"), QStringLiteral("img_3.jpg"), QStringLiteral("Zebra.jpg"),
        QStringLiteral("IMG_2.jpg"),  QStringLiteral("apple.jpg"), QStringLiteral("IMG_002.jpg"),
        QStringLiteral("10.jpg"),     QStringLiteral("9.jpg"),     QStringLiteral("Banana.jpg")};
    std::sort(shuffled.begin(), shuffled.end(), PictureListing::NaturalLess);
    EXPECT_EQ(shuffled,
              (QStringList{QStringLiteral("9.jpg"), QStringLiteral("10.jpg"), QStringLiteral("apple.jpg"),
                           QStringLiteral("Banana.jpg"), QStringLiteral("IMG_002.jpg"),
                           QStringLiteral("IMG_2.jpg"), QStringLiteral("img_3.jpg"),
                           QStringLiteral("IMG_10.jpg"), QStringLiteral("Zebra.jpg")}));
    // A strict order: never both ways.
    for (const QString& a : shuffled)
        for (const QString& b : shuffled)
            EXPECT_FALSE(PictureListing::NaturalLess(a, b) && PictureListing::NaturalLess(b, a));
}

TEST(ThumbLoadThread, FirstItemComesFirstAndRequestedItemsJumpTheQueueOnce) {
    std::vector<QString> paths;
    for (int i = 0; i < 2000; ++i)
        paths.push_back(QStringLiteral("/p%1").arg(i));
    TGate gate;
    TRecorder made;
    std::atomic<int> delivered{0};
    TThumbLoadThread loader(
        paths, QSize(92, 92),
        [&](const QString& path, QSize) {
            made.Add(path);
            gate.Wait();
            return fakeThumb(qRgb(1, 2, 3));
        },
        [&](int, const Thumbnails::TThumbResult&) { ++delivered; }, 1);
    ASSERT_TRUE(waitFor([&] { return made.Made().size() == 1; }));
    EXPECT_EQ(made.Made().front(), QStringLiteral("/p0"));
    // Scrolled to the end: the last screen is painted and requested, some twice.
    for (int i = 1990; i < 2000; ++i)
        loader.Request(i);
    for (int i = 1995; i < 2000; ++i)
        loader.Request(i);
    loader.Request(0); // being made: not stacked again
    const std::vector<int> waiting = loader.Waiting();
    ASSERT_EQ(waiting.size(), 1999u);
    EXPECT_EQ(std::vector<int>(waiting.begin(), waiting.begin() + 6),
              (std::vector<int>{1999, 1998, 1997, 1996, 1995, 1994}));
    EXPECT_EQ(waiting[10], 1);
    EXPECT_EQ(std::set<int>(waiting.begin(), waiting.end()).size(), waiting.size());

    gate.Open();
    ASSERT_TRUE(waitFor([&] { return made.Made().size() >= 12; }));
    const std::vector<QString> order = made.Made();
    EXPECT_EQ(order[1], QStringLiteral("/p1999"));
    EXPECT_EQ(order[10], QStringLiteral("/p1990"));
    EXPECT_EQ(order[11], QStringLiteral("/p1"));
    loader.Stop();
    const int after = delivered;
    loader.Request(5);
    EXPECT_TRUE(loader.Waiting().empty());
    TThumbLoadThread::JoinStopped();
    EXPECT_LE(delivered - after, 0) << "nothing is delivered once Stop returned";
}

TEST(PictureFolder, BlockedDecoderStallsNeitherChangingFolderNorPainting) {
    QTemporaryDir a, b;
    numberedFiles(QDir(a.path()), 30);
    numberedFiles(QDir(b.path()), 3);
    TGate gate;
    std::atomic<int> calls{0};
    {
        TPictureFolder folder(
            QSize(92, 92),
            [&](const QString& path, QSize) {
                ++calls;
                if (path.startsWith(a.path()))
                    gate.Wait(); // the old folder's decode hangs
                return fakeThumb(path.startsWith(a.path()) ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
            },
            1);
        EXPECT_TRUE(folder.SetFolder(a.path()));
        EXPECT_EQ(folder.Count(), 30);
        ASSERT_TRUE(waitFor([&] { return calls >= 1; }));
        // Painting asks for and reads thumbnails while the decode hangs.
        for (int i = 0; i < 30; ++i) {
            folder.Request(i);
            EXPECT_TRUE(folder.Thumbnail(i).isNull());
        }
        EXPECT_TRUE(folder.SetFolder(b.path())); // returns with the decode still hanging
        EXPECT_EQ(folder.Count(), 3);
        // The new folder is served by a loader of its own, the old one still stuck.
        ASSERT_TRUE(waitFor([&] { return !folder.Thumbnail(2).isNull(); }));
        gate.Open();
        TThumbLoadThread::JoinStopped();
        QCoreApplication::processEvents();
        for (int i = 0; i < 3; ++i) {
            const QImage thumb = folder.Thumbnail(i);
            ASSERT_FALSE(thumb.isNull());
            EXPECT_EQ(thumb.pixel(0, 0), qRgb(0, 0, 255)) << "no thumbnail of the old folder in the new one";
        }
    }
}

TEST(PictureFolder, FailedFilesAreMarkedAndNeverMadeAgain) {
    QTemporaryDir temp;
    numberedFiles(QDir(temp.path()), 4);
    TRecorder made;
    TPictureFolder folder(
        QSize(92, 92),
        [&](const QString& path, QSize) {
            made.Add(path);
            return path.endsWith(QLatin1String("p0002.jpg")) ? Thumbnails::TThumbResult()
                                                             : fakeThumb(qRgb(9, 9, 9));
        },
        1);
    std::vector<int> ready;
    QObject::connect(&folder, &TPictureFolder::ThumbnailReady, [&](int index) { ready.push_back(index); });
    folder.SetFolder(temp.path());
    ASSERT_TRUE(waitFor([&] { return ready.size() == 4; }));
    EXPECT_EQ(folder.Item(2).State, TThumbState::Failed);
    EXPECT_TRUE(folder.Thumbnail(2).isNull());
    EXPECT_EQ(folder.Item(2).PicWidth, 0);
    EXPECT_EQ(folder.Item(1).State, TThumbState::Ready);
    EXPECT_EQ(folder.Item(1).PicWidth, 4000);
    for (int repaint = 0; repaint < 5; ++repaint)
        for (int i = 0; i < 4; ++i)
            folder.Request(i);
    QCoreApplication::processEvents();
    EXPECT_TRUE(folder.Loader()->Waiting().empty());
    EXPECT_EQ(made.Made().size(), 4u);
}

TEST(PictureFolder, ThumbnailsStayWithinTheirMemoryAndTheLeastRecentlyDrawnGoFirst) {
    QTemporaryDir temp;
    const int count = 3000; // 3000 thumbnails of 92 x 92 (24-bit) are 76 MB
    numberedFiles(QDir(temp.path()), count);
    TPictureFolder folder(
        QSize(92, 92), [](const QString&, QSize) { return fakeThumb(qRgb(5, 6, 7), QSize(92, 92)); }, 1);
    int ready = 0;
    qint64 largest = 0;
    QObject::connect(&folder, &TPictureFolder::ThumbnailReady, [&](int) {
        ++ready;
        folder.Thumbnail(0); // the first item is drawn all the time
        largest = std::max(largest, folder.ThumbnailBytes());
    });
    folder.SetFolder(temp.path());
    ASSERT_TRUE(waitFor([&] { return ready == count; }));
    EXPECT_LE(largest, TPictureFolder::kMaxThumbnailBytes);
    EXPECT_EQ(TPictureFolder::kMaxThumbnailBytes, 64 * 1024 * 1024);
    EXPECT_GT(folder.ThumbnailBytes(), TPictureFolder::kMaxThumbnailBytes / 2);
    EXPECT_FALSE(folder.Thumbnail(0).isNull());
    EXPECT_EQ(folder.Item(1).State, TThumbState::Pending) << "let go of";
    EXPECT_FALSE(folder.Thumbnail(count - 1).isNull());
    // Seen again: made again.
    folder.Request(1);
    ASSERT_TRUE(waitFor([&] { return !folder.Thumbnail(1).isNull(); }));
}

TEST(ClipartStarterSet, IsInstalledOnceIntoAMissingFolderAndNeverOverwrites) {
    QTemporaryDir data;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const QString folder = ClipartStarterSet::Folder();
    EXPECT_EQ(folder, data.path() + QStringLiteral("/Tessaro/Albumorix/Clipart"));
    EXPECT_GE(ClipartStarterSet::InstallIfMissing(), 20);
    const PictureListing::TListing listing = PictureListing::List(folder);
    ASSERT_GE(listing.Items.size(), 20u);
    // Pictures with alpha: transparent around a heart, opaque inside it.
    const QImage heart(folder + QStringLiteral("/Herz-rot.png"));
    ASSERT_FALSE(heart.isNull());
    EXPECT_TRUE(heart.hasAlphaChannel());
    EXPECT_EQ(std::max(heart.width(), heart.height()), ClipartStarterSet::kSide);
    EXPECT_EQ(qAlpha(heart.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(heart.pixel(heart.width() / 2, heart.height() * 3 / 5)), 255);

    // A user's file and a removed picture stay as they are: the folder exists.
    writeFile(folder + QStringLiteral("/Herz-rot.png"), QByteArray("mine"));
    QFile::remove(folder + QStringLiteral("/Sonne.png"));
    EXPECT_EQ(ClipartStarterSet::InstallIfMissing(), 0);
    QFile mine(folder + QStringLiteral("/Herz-rot.png"));
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), QByteArray("mine"));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/Sonne.png")));
    qputenv("XDG_DATA_HOME", saved);
}
