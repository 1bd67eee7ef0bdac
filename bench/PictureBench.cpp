// Picture store: adding a large camera photo and opening a project full of photos, each against
// decoding the same JPEG bytes with libjpeg-turbo alone (one thread, full scale) in the same run.
#include "BenchProject48.h"
#include "BenchSupport.h"

#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/uImaging.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {

using BenchSupport::generatedPhoto;

// The baseline: libjpeg-turbo on its own, full scale, into a reused buffer of 32-bit pixels.
struct TBaselineDecoder {
    std::vector<unsigned char> pixels;

    bool decode(const QByteArray& bytes) {
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
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        return true;
    }
};

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// ---- (a) one 24-megapixel camera photo ----

struct TLargePhoto {
    QTemporaryDir dir;
    QByteArray bytes;
    QString path;

    TLargePhoto() {
        bytes = Imaging::EncodeJpeg(generatedPhoto(6000, 4000, 7), 90);
        path = writeFile(dir.filePath(QStringLiteral("large.jpg")), bytes);
    }
    static TLargePhoto& instance() {
        static TLargePhoto photo;
        return photo;
    }
};

void BM_AddFromFile24MP(benchmark::State& state) {
    TLargePhoto& photo = TLargePhoto::instance();
    TBildmanager& store = TBildmanager::Instance();
    store.Clear();
    // Warm-up: file cache, decoder tables. The photo is then removed as a user removes it from its
    // frame (Clear would also hand the freed memory back to the system, which a running program
    // does only when a project is closed).
    store.Release(store.AddFromFile(photo.path));
    BenchSupport::resetPeakRss();
    for (auto _ : state) {
        const int ref = store.AddFromFile(photo.path);
        benchmark::DoNotOptimize(ref);
        state.PauseTiming();
        store.Release(ref);
        state.ResumeTiming();
    }
    state.counters["peak_rss_mb"] = BenchSupport::peakRssMb();
    state.counters["jpeg_mb"] = double(photo.bytes.size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_AddFromFile24MP)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_AddFromFile24MP_Baseline(benchmark::State& state) {
    TLargePhoto& photo = TLargePhoto::instance();
    TBaselineDecoder decoder;
    decoder.decode(photo.bytes); // warm-up: the output buffer is reused, its pages are touched now
    BenchSupport::resetPeakRss();
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.decode(photo.bytes));
    state.counters["peak_rss_mb"] = BenchSupport::peakRssMb();
}
BENCHMARK(BM_AddFromFile24MP_Baseline)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// ---- (b) a project with 48 stored photos of about 3.9 megapixels ----

using BenchSupport::TProject48;

// Opens the project and waits until every picture has its preview. Processor time is counted for
// all threads, so that the work moved to the preview workers is not hidden.
void openProject48(benchmark::State& state, bool withPreviews) {
    TProject48& project = TProject48::instance();
    TFBDocument document;
    {
        // Warm-up: file cache, worker threads.
        TDataFile container(project.path, TDataFile::OpenMode::ReadOnly);
        LoadDocument(document, container);
        document.Reset();
    }
    BenchSupport::resetPeakRss();
    for (auto _ : state) {
        {
            TDataFile container(project.path, TDataFile::OpenMode::ReadOnly);
            LoadDocument(document, container);
        }
        if (withPreviews) {
            TBildmanager& store = TBildmanager::Instance();
            int ready = 0;
            for (int i = 0; i < store.Count(); ++i)
                ready += store.GetPreview(store.Item(i).RefIndex).isNull() ? 0 : 1;
            if (ready != TProject48::kPhotos)
                state.SkipWithError("not every preview was made");
        }
        state.PauseTiming();
        document.Reset();
        state.ResumeTiming();
    }
    state.counters["peak_rss_mb"] = BenchSupport::peakRssMb();
}

void BM_OpenProject48(benchmark::State& state) {
    openProject48(state, true);
}
BENCHMARK(BM_OpenProject48)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// Only reading the container, while the workers already start on the previews (no target):
// shows what waiting for every preview adds.
void BM_OpenProject48_ReadOnly(benchmark::State& state) {
    openProject48(state, false);
}
BENCHMARK(BM_OpenProject48_ReadOnly)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_OpenProject48_Baseline(benchmark::State& state) {
    TProject48& project = TProject48::instance();
    TBaselineDecoder decoder;
    decoder.decode(project.photos.front()); // warm-up, as above
    BenchSupport::resetPeakRss();
    for (auto _ : state)
        for (const QByteArray& photo : project.photos)
            benchmark::DoNotOptimize(decoder.decode(photo));
    state.counters["peak_rss_mb"] = BenchSupport::peakRssMb();
}
BENCHMARK(BM_OpenProject48_Baseline)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

} // namespace

// ---- the steps of adding a large photo, for finding where the time goes (no targets) ----
namespace {

void BM_Imaging_DecodeHalf24MP(benchmark::State& state) {
    TLargePhoto& photo = TLargePhoto::instance();
    Imaging::TDecodeOptions options;
    options.AtLeast = QSize(2410, 1607);
    for (auto _ : state)
        benchmark::DoNotOptimize(Imaging::Decode(photo.bytes, options).Image.width());
}
BENCHMARK(BM_Imaging_DecodeHalf24MP)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Imaging_Scale6MPTo3_9MP(benchmark::State& state) {
    const QImage source = generatedPhoto(3000, 2000, 3);
    for (auto _ : state)
        benchmark::DoNotOptimize(Imaging::ScaleBilinear(source, QSize(2410, 1607)).width());
}
BENCHMARK(BM_Imaging_Scale6MPTo3_9MP)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Imaging_EncodeJpeg3_9MP(benchmark::State& state) {
    const QImage source = generatedPhoto(2410, 1607, 4);
    for (auto _ : state)
        benchmark::DoNotOptimize(Imaging::EncodeJpeg(source, 90).size());
}
BENCHMARK(BM_Imaging_EncodeJpeg3_9MP)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Imaging_Decode3_9MP(benchmark::State& state) {
    const QByteArray bytes = Imaging::EncodeJpeg(generatedPhoto(2410, 1607, 4), 90);
    for (auto _ : state)
        benchmark::DoNotOptimize(Imaging::Decode(bytes).Image.width());
}
BENCHMARK(BM_Imaging_Decode3_9MP)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
