// Drawing one view of a photo book the way the page view redraws it: an 8:5 spread (two 216 x 135 mm
// pages with cover margin) holding four photos (2400 x 1600, one of them turned by 4 degrees) with
// picture shadows and one text with a soft shadow, into a 1920 x 1080 back buffer. Quality 0 draws
// the decoded photos, quality 1 their previews. The baselines let QPainter draw only the same four
// photos (or previews) at the same places with smooth transformation on, so the ratio shows what the
// whole view costs against the bare picture drawing. Wall time: QPainter may use worker threads.
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"
#include "support/PageElements.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kBufferW = 1920, kBufferH = 1080;
constexpr int kPhotoW = 2400, kPhotoH = 1600;

QImage Photo(int seed) {
    QImage image(kPhotoW, kPhotoH, QImage::Format_RGB32);
    for (int y = 0; y < kPhotoH; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < kPhotoW; ++x)
            row[x] = 0xFF000000u |
                     static_cast<uint32_t>(((x * (3 + seed)) & 255) << 16 | ((y * (2 + seed)) & 255) << 8 |
                                           ((x + y + seed * 40) & 255));
    }
    return image;
}

// The spread, built once; the document lives for the whole benchmark program.
struct TSpread {
    TFBDocument Doc;
    std::vector<TFBPictureElement*> Frames;
    float Scale = 1;
    float OffsetX = 0, OffsetY = 0;

    TSpread() {
        Doc.Reset();
        Doc.ScreenMode = 1;
        Doc.PageWidth = 216;
        Doc.PageHeight = 135;
        Doc.Stegbreite = 2;
        Doc.Umschlagbreite = 4;
        Doc.PicturesHaveShadows = true;
        TestSupport::addPages(Doc, 3);
        struct TPlace {
            int Page;
            float CX, CY, W, H, Angle;
        };
        const TPlace places[] = {{1, 56, 40, 90, 60, 0},
                                 {1, 150, 95, 100, 66, 4},
                                 {2, 108, 67.5f, 190, 118, 0},
                                 {2, 40, 30, 50, 34, 0}};
        int seed = 0;
        for (const TPlace& p : places) {
            auto* frame = TestSupport::placeElement<TFBPictureElement>(Doc.Pages.Items(p.Page), p.CX, p.CY,
                                                                       p.W, p.H, p.Angle);
            const int ref = TBildmanager::Instance().AddBitmap(Photo(seed++));
            frame->SetRefIndex(ref);
            TBildmanager::Instance().Release(ref);
            Frames.push_back(frame);
        }
        auto* text = TestSupport::placeElement<TFBTextElement>(Doc.Pages.Items(1), 108, 118, 150, 20);
        text->SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs48 Sommer am Meer, August}");
        text->SetHasShadow(true);

        const TFBSizeF size = Doc.ViewSize();
        Scale = std::min(kBufferW / size.Width, kBufferH / size.Height);
        OffsetX = (kBufferW - size.Width * Scale) / 2;
        OffsetY = (kBufferH - size.Height * Scale) / 2;
    }
};

TSpread& Spread() {
    static TSpread spread;
    return spread;
}

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
