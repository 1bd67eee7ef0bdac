// The pages panel scrolling through a 100-page 8:5 photo book with a photo in every frame, on a
// 1,600 x 168 strip (cells of 150 pixels, about eleven visible). BM_PagesStripScroll moves the
// strip one scroll step per iteration and paints the visible cells as the panel does (finished
// thumbnails kept, grey, frame and label fresh); its baseline draws the same visible views through
// the document drawer at the same places and size each time. Wall time.
#include "BenchSupport.h"

#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uPagesStrip.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"

#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kStripW = 1600, kStripH = 168;

class TQuietStripWindow : public TPagesStripWindow {
public:
    void InvalidateAll() override {}
    void ScrollStateChanged() override {}
    bool Confirm(const QString&) override { return true; }
};

// The book and its strip, built once for the whole program.
struct TBook {
    TFBDocument Doc;
    TQuietStripWindow Window;
    TPagesStrip Strip{&Doc, Window};
    int Step = 0;

    TBook() {
        CreateProductDocument(Doc, 31, 2026, 100);
        std::vector<int> photos;
        for (int seed = 0; seed < 6; ++seed)
            photos.push_back(
                TBildmanager::Instance().AddBitmap(BenchSupport::generatedPhoto(1200, 800, seed)));
        int next = 0;
        for (TFBPage* page : Doc.Pages)
            for (int i = 0; i < page->Pictures.Count(); ++i)
                page->Picture(i)->SetRefIndex(photos[next++ % photos.size()]);
        for (int ref : photos)
            TBildmanager::Instance().Release(ref);
        Strip.Resize(kStripW, kStripH);
        Strip.Refresh();
    }
    // One scroll step on, back to the start after the end.
    void ScrollOn() {
        const int x = Strip.ScrollX() + Strip.ScrollStep();
        Strip.SetScrollX(x > Strip.ScrollRange() ? 0 : x);
    }
    int FirstVisible() const { return Strip.ScrollX() / Strip.CellWidth(); }
    int LastVisible() const {
        return std::min(Strip.ViewCount() - 1, (Strip.ScrollX() + kStripW - 1) / Strip.CellWidth());
    }
};

TBook& Book() {
    static TBook book;
    return book;
}

void BM_PagesStripScroll(benchmark::State& state) {
    TBook& book = Book();
    // As a widget's backing store holds its pixels.
    QImage screen(kStripW, kStripH, QImage::Format_ARGB32_Premultiplied);
    long views = 0;
    for (auto _ : state) {
        book.ScrollOn();
        QPainter painter(&screen);
        book.Strip.Paint(painter, QRect(0, 0, kStripW, kStripH));
        painter.end();
        views += book.LastVisible() - book.FirstVisible() + 1;
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.counters["views/s"] = benchmark::Counter(static_cast<double>(views), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PagesStripScroll)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PagesStripScroll_Baseline(benchmark::State& state) {
    TBook& book = Book();
    QImage screen(kStripW, kStripH, QImage::Format_ARGB32);
    long views = 0;
    for (auto _ : state) {
        book.ScrollOn();
        screen.fill(0xFFFFFFFFu);
        TBitmapDrawContext dc(screen);
        for (int v = book.FirstVisible(); v <= book.LastVisible(); ++v) {
            TTransformation thumbnail;
            book.Strip.ThumbnailTransformation(v, thumbnail);
            dc.Transformation.Reset();
            dc.Transformation.Translate(static_cast<float>(-book.Strip.ScrollX()), 0);
            dc.Transformation.MultiplyBy(thumbnail);
            DocumentDrawer().DrawView(book.Doc, dc, 1, v);
            ++views;
        }
        dc.ReleaseCanvas();
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.counters["views/s"] = benchmark::Counter(static_cast<double>(views), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PagesStripScroll_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
