// Drawing one view of a photo book the way the page view redraws it: an 8:5 spread (two 216 x 135 mm
// pages with cover margin) holding four photos (2400 x 1600, one of them turned by 4 degrees) with
// picture shadows and one text with a soft shadow, into a 1920 x 1080 back buffer. Quality 0 draws
// the decoded photos, quality 1 their previews. The baselines let QPainter draw only the same four
// photos (or previews) at the same places with smooth transformation on, so the ratio shows what the
// whole view costs against the bare picture drawing. Wall time: QPainter may use worker threads.
#include "BenchSpread.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

using namespace BenchSpread;

void RenderView(benchmark::State& state, int quality) {
    TSpread& spread = Spread();
    QImage buffer(kBufferW, kBufferH, QImage::Format_ARGB32);
    for (auto _ : state) {
        buffer.fill(0xFFFFFFFFu);
        TBitmapDrawContext dc(buffer);
        dc.Transformation.Translate(spread.OffsetX, spread.OffsetY);
        dc.Transformation.Scale(spread.Scale);
        DocumentDrawer().DrawView(spread.Doc, dc, quality, 1);
        dc.ReleaseCanvas();
        benchmark::DoNotOptimize(buffer.constBits());
    }
    state.counters["views/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void PainterPhotos(benchmark::State& state, int quality) {
    TSpread& spread = Spread();
    QImage buffer(kBufferW, kBufferH, QImage::Format_ARGB32);
    for (auto _ : state) {
        buffer.fill(0xFFFFFFFFu);
        QPainter painter(&buffer);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        for (TFBPictureElement* frame : spread.Frames) {
            const QImage picture = quality == 0 ? TBildmanager::Instance().GetBitmap(frame->RefIndex)
                                                : TBildmanager::Instance().GetPreview(frame->RefIndex);
            const TPixelRect s = frame->GetSourceRect(quality);
            const TFBPointF origin = spread.Doc.PageOffset(frame->Page);
            painter.save();
            painter.translate(spread.OffsetX + (origin.X + frame->CenterX) * spread.Scale,
                              spread.OffsetY + (origin.Y + frame->CenterY) * spread.Scale);
            painter.rotate(frame->Angle);
            const float w = frame->Width * spread.Scale, h = frame->Height * spread.Scale;
            painter.drawImage(QRectF(-w / 2, -h / 2, w, h), picture,
                              QRectF(s.Left, s.Top, s.Width(), s.Height()));
            painter.restore();
        }
        painter.end();
        benchmark::DoNotOptimize(buffer.constBits());
    }
    state.counters["views/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_RenderSpread(benchmark::State& state) {
    RenderView(state, 0);
}
BENCHMARK(BM_RenderSpread)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderSpread_Baseline(benchmark::State& state) {
    PainterPhotos(state, 0);
}
BENCHMARK(BM_RenderSpread_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderSpreadPreview(benchmark::State& state) {
    RenderView(state, 1);
}
BENCHMARK(BM_RenderSpreadPreview)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderSpreadPreview_Baseline(benchmark::State& state) {
    PainterPhotos(state, 1);
}
BENCHMARK(BM_RenderSpreadPreview_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
