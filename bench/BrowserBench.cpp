// Picture browser: thumbnails of folders of camera photos, each against decoding with
// libjpeg-turbo alone in one thread in the same run. The folders hold hard links to ten generated
// 12-megapixel photos (smooth shapes and gradients with mild sensor noise, quality 92, 4:2:0), so
// every file is a file of its own to the browser and to the thumbnail cache, which starts empty.
#include "BenchSupport.h"

#include "editing/uPictureFolder.h"
#include "platform/uExifReader.h"
#include "platform/uImaging.h"
#include "platform/uThumbnail.h"
#include "support/PictureSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>

namespace {

constexpr int kPhotos = 10;
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
const QSize kBox(92, 92);

// Gradients, a few soft discs and noise of about two levels (uniform -3 ... 3).
QImage cameraPhoto(quint32 seed) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    quint32 state = seed * 2654435761u + 7;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    struct TDisc {
        double x, y, r;
        int dr, dg, db;
    };
    std::vector<TDisc> discs;
    for (int i = 0; i < 6; ++i)
        discs.push_back({double(next() % kWidth), double(next() % kHeight), 200.0 + next() % 700,
                         int(next() % 80) - 40, int(next() % 80) - 40, int(next() % 80) - 40});
    const int base = int(seed * 37 % 60);
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            double r = 50 + base + 140.0 * x / kWidth, g = 70 + 120.0 * y / kHeight,
                   b = 160 - 90.0 * x / kWidth;
            for (const TDisc& d : discs) {
                const double dist = std::hypot(x - d.x, y - d.y) / d.r;
                if (dist < 1.0) {
                    const double w = 1.0 - dist * dist; // soft edge
                    r += d.dr * w;
                    g += d.dg * w;
                    b += d.db * w;
                }
            }
            const int n = int(next() % 7) - 3;
            line[x] = qRgb(std::clamp(int(r) + n, 0, 255), std::clamp(int(g) + n, 0, 255),
                           std::clamp(int(b) + n, 0, 255));
        }
    }
    return image;
}

// The ten photos (with and without an Exif thumbnail of 160 x 120) and folders of hard links.
struct TCameraFolders {
    QTemporaryDir dir;
    QTemporaryDir cache;
    std::vector<QByteArray> exifThumbs; // the embedded thumbnails' bytes
    std::vector<qint64> sizes;
    QString exif500, plain500, plain10000;

    TCameraFolders() {
        QDir root(dir.path());
        for (const char* sub : {"photos", "exif500", "plain500", "plain10000"})
            root.mkdir(QString::fromLatin1(sub));
        exif500 = root.filePath(QStringLiteral("exif500"));
        plain500 = root.filePath(QStringLiteral("plain500"));
        plain10000 = root.filePath(QStringLiteral("plain10000"));
        for (int i = 0; i < kPhotos; ++i) {
            const QImage photo = cameraPhoto(quint32(i + 1));
            const QByteArray plain = Imaging::EncodeJpeg(photo, 92);
            const QByteArray thumb = Imaging::EncodeJpeg(Imaging::ScaleBilinear(photo, QSize(160, 120)), 90);
            exifThumbs.push_back(thumb);
            sizes.push_back(plain.size());
            PictureSupport::writeFile(root.filePath(QStringLiteral("photos/plain%1.jpg").arg(i)), plain);
            PictureSupport::writeFile(root.filePath(QStringLiteral("photos/exif%1.jpg").arg(i)),
                                      PictureSupport::withExif(plain, 1, thumb));
        }
        link(QStringLiteral("exif"), exif500, 500);
        link(QStringLiteral("plain"), plain500, 500);
        link(QStringLiteral("plain"), plain10000, 10000);
        qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    }
    void link(const QString& kind, const QString& folder, int count) {
        for (int i = 0; i < count; ++i) {
            const QString source = dir.filePath(QStringLiteral("photos/%1%2.jpg").arg(kind).arg(i % kPhotos));
            const QString target = QStringLiteral("%1/IMG_%2.jpg").arg(folder).arg(i);
            ::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData());
        }
    }
    // Empties the thumbnail cache between runs.
    void clearCache() { QDir(cache.path() + QStringLiteral("/thumbnails")).removeRecursively(); }
    std::vector<QString> files(const QString& folder) const {
        std::vector<QString> out;
        for (const TShellItem& item : PictureListing::List(folder).Items)
            out.push_back(item.Path);
        return out;
    }
    static TCameraFolders& instance() {
        static TCameraFolders folders;
        return folders;
    }
};

// Decodes JPEG bytes with libjpeg-turbo alone, full scale, into a reused buffer.
struct TPlainDecoder {
    std::vector<unsigned char> pixels;
    int decode(const QByteArray& bytes) {
        jpeg_decompress_struct cinfo{};
        jpeg_error_mgr err{};
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_EXT_BGRA;
        jpeg_start_decompress(&cinfo);
        const size_t stride = size_t(cinfo.output_width) * 4;
        if (pixels.size() < stride * cinfo.output_height)
            pixels.resize(stride * cinfo.output_height);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        const int width = int(cinfo.output_width);
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        return width;
    }
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes the thumbnails of `paths` through the browser's loader and waits for the last one.
void loadAll(const std::vector<QString>& paths) {
    std::mutex mutex;
    std::condition_variable done;
    int delivered = 0;
    TThumbLoadThread loader(
        paths, kBox, [](const QString& path, QSize box) { return Thumbnails::Make(path, box); },
        [&](int, const Thumbnails::TThumbResult& result) {
            benchmark::DoNotOptimize(result.Image.width());
            std::lock_guard<std::mutex> lock(mutex);
            ++delivered;
            done.notify_one();
        });
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [&] { return delivered == int(paths.size()); });
}

void BM_ThumbsExif500(benchmark::State& state) {
    TCameraFolders& folders = TCameraFolders::instance();
    const std::vector<QString> paths = folders.files(folders.exif500);
    for (auto _ : state) {
        state.PauseTiming();
        folders.clearCache();
        state.ResumeTiming();
        loadAll(paths);
    }
    state.counters["threads"] = TThumbLoadThread::DefaultThreadCount();
    state.counters["files"] = double(paths.size());
}
BENCHMARK(BM_ThumbsExif500)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_ThumbsExif500_Baseline(benchmark::State& state) {
    TCameraFolders& folders = TCameraFolders::instance();
    TPlainDecoder decoder;
    for (auto _ : state)
        for (int i = 0; i < 500; ++i)
            benchmark::DoNotOptimize(decoder.decode(folders.exifThumbs[size_t(i % kPhotos)]));
}
BENCHMARK(BM_ThumbsExif500_Baseline)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_ThumbsScaled500(benchmark::State& state) {
    TCameraFolders& folders = TCameraFolders::instance();
    const std::vector<QString> paths = folders.files(folders.plain500);
    for (auto _ : state) {
        state.PauseTiming();
        folders.clearCache();
        state.ResumeTiming();
        loadAll(paths);
    }
    state.counters["threads"] = TThumbLoadThread::DefaultThreadCount();
    double bytes = 0;
    for (qint64 size : folders.sizes)
        bytes += double(size);
    state.counters["jpeg_mb_avg"] = bytes / kPhotos / (1024.0 * 1024.0);
}
BENCHMARK(BM_ThumbsScaled500)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_ThumbsScaled500_Baseline(benchmark::State& state) {
    TCameraFolders& folders = TCameraFolders::instance();
    const std::vector<QString> paths = folders.files(folders.plain500);
    TPlainDecoder decoder;
    for (auto _ : state)
        for (const QString& path : paths)
            benchmark::DoNotOptimize(decoder.decode(readAll(path)));
}
BENCHMARK(BM_ThumbsScaled500_Baseline)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_FirstScreen10000(benchmark::State& state) {
    TCameraFolders& folders = TCameraFolders::instance();
    constexpr int kScreen = 24;
    for (auto _ : state) {
        state.PauseTiming();
        folders.clearCache();
        state.ResumeTiming();
        TPictureFolder folder(kBox);
        int ready = 0;
        QObject::connect(&folder, &TPictureFolder::ThumbnailReady,
                         [&](int index) { ready += index < kScreen; });
        folder.SetFolder(folders.plain10000);
        for (int i = kScreen - 1; i >= 0; --i) // the first screen is painted
            folder.Request(i);
        while (ready < kScreen)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        benchmark::DoNotOptimize(folder.Count());
    }
    state.counters["threads"] = TThumbLoadThread::DefaultThreadCount();
    TThumbLoadThread::JoinStopped();
}
BENCHMARK(BM_FirstScreen10000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_FirstScreen10000_Baseline(benchmark::State& state) {
    TCameraFolders& folders = TCameraFolders::instance();
    std::vector<QString> paths;
    for (int i = 0; i < 24; ++i)
        paths.push_back(QStringLiteral("%1/IMG_%2.jpg").arg(folders.plain10000).arg(i));
    Thumbnails::TThumbOptions options;
    for (auto _ : state) {
        state.PauseTiming();
        folders.clearCache();
        state.ResumeTiming();
        for (const QString& path : paths)
            benchmark::DoNotOptimize(Thumbnails::Make(path, kBox, options).Image.width());
    }
}
BENCHMARK(BM_FirstScreen10000_Baseline)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
