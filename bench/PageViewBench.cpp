// The page view on a 1920 x 1080 client showing the rendering benchmarks' spread with its text
// selected. BM_PageViewRepaint paints the whole view into the back buffer and copies it to the
// window; its baseline draws only the four photos with QPainter (smooth) at the same places, as a
// plain widget would. BM_PageViewDragStep is one step of moving the text by its body with the
// immediate update of its area; its baseline is the full repaint. Wall time.
#include "BenchSpread.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uPageView.h"
#include "editing/uPageViewOffscreen.h"

#include <QPainter>
#include <QTransform>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using BenchSpread::Spread;

// The view, built once for the whole program.
struct TShownView {
    TOffscreenPageWindow Window;
    TPageView View;
    TFBTextElement* Text = nullptr;

    TShownView() : View(&Spread().Doc, &Window) {
        Window.Attach(&View);
        View.Resize(1920, 1080);
        View.SetScreen(1);
        TFBPage* page = Spread().Doc.Pages.Items(1);
        for (TFBElement* e : page->Sizeables)
            if (auto* t = dynamic_cast<TFBTextElement*>(e))
                Text = t;
        View.Select(Text);
        Window.UpdateNow();
    }
    // The text's centre in client pixels.
    QPoint TextCentre() {
        const TFBPointF o = Spread().Doc.PageOffset(Text->Page);
        float x, y;
        View.Transformation().Transform(o.X + Text->CenterX, o.Y + Text->CenterY, x, y);
        return QPoint(static_cast<int>(std::lrint(x)), static_cast<int>(std::lrint(y)));
    }
};

TShownView& Shown() {
    static TShownView shown;
    return shown;
}

void FullRepaint(benchmark::State& state) {
    TShownView& shown = Shown();
    for (auto _ : state) {
        shown.Window.InvalidateAll();
        shown.Window.UpdateNow();
        benchmark::DoNotOptimize(shown.Window.Screen().constBits());
    }
    state.counters["repaints/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_PageViewRepaint(benchmark::State& state) {
    FullRepaint(state);
}
BENCHMARK(BM_PageViewRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PageViewRepaint_Baseline(benchmark::State& state) {
    TShownView& shown = Shown();
    QImage screen(1920, 1080, QImage::Format_ARGB32);
    const float* m = shown.View.Transformation().Matrix();
    const QTransform view(m[0], m[3], m[1], m[4], m[2], m[5]);
    for (auto _ : state) {
        screen.fill(0xFFFFFFFFu);
        QPainter painter(&screen);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        for (TFBPictureElement* frame : Spread().Frames) {
            const QImage picture = TBildmanager::Instance().GetBitmap(frame->RefIndex);
            const TPixelRect s = frame->GetSourceRect(0);
            const TFBPointF o = Spread().Doc.PageOffset(frame->Page);
            QTransform t;
            t.translate(o.X + frame->CenterX, o.Y + frame->CenterY);
            t.rotate(frame->Angle);
            painter.setTransform(t * view);
            painter.drawImage(QRectF(-frame->Width / 2, -frame->Height / 2, frame->Width, frame->Height),
                              picture, QRectF(s.Left, s.Top, s.Width(), s.Height()));
        }
        painter.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.counters["repaints/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PageViewRepaint_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PageViewDragStep(benchmark::State& state) {
    TShownView& shown = Shown();
    const QPoint p = shown.TextCentre();
    shown.View.MousePress(p.x(), p.y(), pbLeft, 0);
    int step = 0;
    for (auto _ : state) {
        // Back and forth by a few pixels: each step repaints the text's area at once.
        ++step;
        shown.View.MouseMove(p.x() + (step & 1 ? 3 : 0), p.y() + (step & 1 ? 2 : 0), pbLeft, 0);
        benchmark::DoNotOptimize(shown.Window.Screen().constBits());
    }
    shown.View.MouseRelease(p.x(), p.y(), pbLeft);
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PageViewDragStep)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PageViewDragStep_Baseline(benchmark::State& state) {
    FullRepaint(state);
}
BENCHMARK(BM_PageViewDragStep_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
