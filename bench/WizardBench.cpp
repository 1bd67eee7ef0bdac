// The new-project wizard's two costs. The cross-fade makes each of its frames by copying the shown
// 800 x 600 picture and blending the new one into it; the baseline is the copy alone, so the ratio
// shows what the blend adds to a frame (a frame every 37 ms must stay far below that). Making one
// preview at build time (the 8:5 Tradition book: catalogue, sample photos, drawing, JPEG at
// quality 90) is measured against building and filling the same product without drawing it.
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uWizardPreview.h"
#include "document/uFotobuchDocument.h"
#include "platform/uJpegCodec.h"
#include "render/uShadowBitmap.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

QImage preview(int seed) {
    return SamplePhoto(seed, QSize(800, 600)).convertToFormat(QImage::Format_ARGB32);
}

void WizardFadeFrame(benchmark::State& state) {
    const QImage from = preview(0), to = preview(2);
    for (auto _ : state) {
        QImage frame = from.copy();
        BlendBitmap(frame, 0, 0, 128, to);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(WizardFadeFrame)->Unit(benchmark::kMicrosecond);

void WizardFadeFrame_Baseline(benchmark::State& state) {
    const QImage from = preview(0);
    for (auto _ : state) {
        QImage frame = from.copy();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(WizardFadeFrame_Baseline)->Unit(benchmark::kMicrosecond);

void WizardPreviewPicture(benchmark::State& state) {
    for (auto _ : state) {
        const QImage picture = RenderProductPreview(31, 2026, QSize(800, 600));
        benchmark::DoNotOptimize(JpegCodec::Encode(picture, 90).size());
    }
}
BENCHMARK(WizardPreviewPicture)->Unit(benchmark::kMillisecond);

void WizardPreviewPicture_Baseline(benchmark::State& state) {
    for (auto _ : state) {
        TFBDocument document;
        CreateProductDocument(document, 31, 2026);
        FillWithSamplePhotos(document);
        benchmark::DoNotOptimize(document.Pages.Count());
    }
}
BENCHMARK(WizardPreviewPicture_Baseline)->Unit(benchmark::kMillisecond);

} // namespace
