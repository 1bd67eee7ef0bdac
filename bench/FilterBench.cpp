// Colour filters on a 2272 x 1704 photo, each against the plainest possible pixel loop: one
// 256-entry table applied to blue, green and red of the same picture. The input is copied afresh
// outside the timed region before every run.
#include "BenchSupport.h"

#include "filters/uPictureFilter.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <functional>

namespace {

constexpr int kWidth = 2272;
constexpr int kHeight = 1704;

const QImage& photo() {
    static const QImage picture = BenchSupport::generatedPhoto(kWidth, kHeight, 11);
    return picture;
}

// The preview's picture: the photo fitted into the dialog's 300 x 225 box.
const QImage& preview() {
    static const QImage picture = FilterDialogMath::FittedCopy(photo(), 0, {300, 225});
    return picture;
}

void applyTable(QImage& image, const std::array<std::uint8_t, 256>& t) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const std::uint32_t p = line[x];
            line[x] = (p & 0xFF000000u) | (std::uint32_t(t[(p >> 16) & 0xFF]) << 16) |
                      (std::uint32_t(t[(p >> 8) & 0xFF]) << 8) | t[p & 0xFF];
        }
    }
}

void runOnCopies(benchmark::State& state, const QImage& source, const std::function<void(QImage&)>& work) {
    for (auto _ : state) {
        state.PauseTiming();
        QImage image = source.copy();
        state.ResumeTiming();
        work(image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["megapixels"] = double(source.width()) * source.height() / 1e6;
}

void baseline(benchmark::State& state) {
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[size_t(i)] = static_cast<std::uint8_t>(255 - i);
    runOnCopies(state, photo(), [&table](QImage& image) { applyTable(image, table); });
}

void BM_FilterHKIG_Full(benchmark::State& state) {
    runOnCopies(state, photo(),
                [](QImage& image) { FilterHKIG(image, 0.1f, 0.2f, -0.1f, 1.2f, [](int) {}); });
}

void BM_FilterSWCol_Full(benchmark::State& state) {
    runOnCopies(state, photo(), [](QImage& image) { FilterSWCol(image, 0.1f, 0.3f, [](int) {}); });
}

void BM_FilterHSL_Full(benchmark::State& state) {
    runOnCopies(state, photo(), [](QImage& image) { FilterHSL(image, 0.1f, 0.2f, -0.1f, [](int) {}); });
}

// One slider update: the preview copy filtered without progress.
void BM_FilterPreviewHSL(benchmark::State& state) {
    runOnCopies(state, preview(), [](QImage& image) { FilterHSL(image, 0.1f, 0.2f, -0.1f); });
}

// What opening a dialog costs beyond the window: the fitted copy of the photo and its first preview.
void BM_FilterDialogOpenHSL(benchmark::State& state) {
    for (auto _ : state) {
        QImage shown = FilterDialogMath::FittedCopy(photo(), 90, {298, 223});
        FilterHSL(shown, 0.1f, 0.2f, -0.1f);
        benchmark::DoNotOptimize(shown.constBits());
    }
}

#define FILTER_BENCHMARK(name)                                                                               \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime();                                           \
    void name##_Baseline(benchmark::State& state) {                                                          \
        baseline(state);                                                                                     \
    }                                                                                                        \
    BENCHMARK(name##_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime()

FILTER_BENCHMARK(BM_FilterHKIG_Full);
FILTER_BENCHMARK(BM_FilterSWCol_Full);
FILTER_BENCHMARK(BM_FilterHSL_Full);
FILTER_BENCHMARK(BM_FilterPreviewHSL);
FILTER_BENCHMARK(BM_FilterDialogOpenHSL);

} // namespace
