// Picture drawing into a page-view back buffer: a 3000 x 2000 photo turned by 17 degrees into a
// 1920 x 1080 bitmap, through the bitmap draw context and, as the baseline, through QPainter with
// the same transformation and smooth transformation on. Wall time is measured: QPainter may hand
// parts of a large transformed drawing to worker threads.
#include "render/uBitmapDrawContext.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPictureW = 3000, kPictureH = 2000;
constexpr int kBufferW = 1920, kBufferH = 1080;
constexpr float kAngle = 17;
// The picture at half size, centred in the buffer.
constexpr float kCX = kBufferW / 2.0f, kCY = kBufferH / 2.0f, kW = 1500, kH = 1000;

const QImage& Picture() {
    static const QImage picture = [] {
        QImage image(kPictureW, kPictureH, QImage::Format_ARGB32);
        for (int y = 0; y < kPictureH; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = 0; x < kPictureW; ++x)
                row[x] = 0xFF000000u | static_cast<uint32_t>(((x * 7) & 255) << 16 | ((y * 3) & 255) << 8 |
                                                             ((x + y) & 255));
        }
        return image;
    }();
    return picture;
}

QImage BackBuffer() {
    QImage buffer(kBufferW, kBufferH, QImage::Format_ARGB32);
    buffer.fill(0xFFFFFFFFu);
    return buffer;
}

void BM_DrawImageRotated(benchmark::State& state) {
    const QImage& picture = Picture();
    QImage buffer = BackBuffer();
    for (auto _ : state) {
        TBitmapDrawContext dc(buffer);
        dc.DrawImage(picture, 0, 0, kPictureW, kPictureH, kCX, kCY, kW, kH, kAngle);
        benchmark::DoNotOptimize(buffer.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kBufferW * kBufferH);
}
BENCHMARK(BM_DrawImageRotated)->Unit(benchmark::kMillisecond)->UseRealTime();

void QPainterRotated(benchmark::State& state) {
    const QImage& picture = Picture();
    QImage buffer = BackBuffer();
    for (auto _ : state) {
        QPainter painter(&buffer);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.translate(kCX, kCY);
        painter.rotate(kAngle);
        painter.drawImage(QRectF(-kW / 2, -kH / 2, kW, kH), picture);
        painter.end();
        benchmark::DoNotOptimize(buffer.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kBufferW * kBufferH);
}

void BM_DrawImageRotated_Baseline(benchmark::State& state) {
    QPainterRotated(state);
}
BENCHMARK(BM_DrawImageRotated_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DrawImageAlphaRotated(benchmark::State& state) {
    const QImage& picture = Picture();
    const TBitmapData data = BitmapData(picture);
    QImage buffer = BackBuffer();
    for (auto _ : state) {
        TBitmapDrawContext dc(buffer);
        dc.Transformation.Translate(kCX, kCY);
        dc.Transformation.Rotate(kAngle);
        dc.DrawImageAlpha(data, 0, 0, kPictureW, kPictureH, -kW / 2, -kH / 2, kW, kH);
        benchmark::DoNotOptimize(buffer.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kBufferW * kBufferH);
}
BENCHMARK(BM_DrawImageAlphaRotated)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DrawImageAlphaRotated_Baseline(benchmark::State& state) {
    QPainterRotated(state);
}
BENCHMARK(BM_DrawImageAlphaRotated_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
