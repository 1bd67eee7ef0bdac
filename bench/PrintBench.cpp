// Exporting a 32-page pocket booklet with a 3.9-megapixel photo on every page into a PDF in memory
// at 365 dpi: the whole print job (paper, imposition, element bitmaps, the PDF writer's JPEG
// encoding). The baseline lets the document drawer alone draw the same 16 sheets, both pages
// turned as on the sheet, into one reused sheet-sized bitmap at 365 dpi and encodes each sheet as
// JPEG quality 94, as the PDF writer does with the element bitmaps.
#include "BenchSupport.h"

#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "print/uFotobuchPrinter.h"
#include "print/uPdfPrinter.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"
#include "support/PageElements.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kDpi = 365;
constexpr int kPhotoW = 2420, kPhotoH = 1612; // 3.9 megapixels

class TQuietUi : public TPrintUi {
public:
    void Information(const QString&) override {}
    void Error(const QString&) override {}
    std::optional<TPrintDialogAnswer> AskPrintDialog(const TPrintDialogRequest&) override {
        return TPrintDialogAnswer{};
    }
    void ShowProgress(const QString&) override {}
    bool IsCancelled() override { return false; }
    void CloseProgress() override {}
};

struct TBooklet {
    TFBDocument Doc;
    TBooklet() {
        CreateProductDocument(Doc, 1, 2026, 32);
        for (int i = 0; i < Doc.Pages.Count(); ++i) {
            QImage photo(kPhotoW, kPhotoH, QImage::Format_RGB32);
            for (int y = 0; y < kPhotoH; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(photo.scanLine(y));
                for (int x = 0; x < kPhotoW; ++x)
                    row[x] =
                        0xFF000000u | static_cast<uint32_t>(((x * (3 + i)) & 255) << 16 |
                                                            ((y * 2) & 255) << 8 | ((x + y + i * 9) & 255));
            }
            TFBPage* page = Doc.Pages.Items(i);
            page->Pictures.Clear();
            page->Sizeables.Clear();
            // The photo fills the page but for a 4 mm margin, as the booklet's frames do.
            TestSupport::placeElement<TFBPictureElement>(page, 38.1f, 50.8f, 68.2f, 93.6f)
                ->SetRefIndex(TBildmanager::Instance().AddBitmap(photo));
        }
    }
};

TBooklet& Booklet() {
    static TBooklet booklet;
    return booklet;
}

void BM_ExportBook32(benchmark::State& state) {
    TBooklet& booklet = Booklet();
    BenchSupport::resetPeakRss();
    TQuietUi ui;
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        TPdfPrinter printer(kDpi);
        printer.SetOutputDevice(&pdf);
        TFotobuchPrinter job(booklet.Doc, printer, ui);
        job.UseSettingsStore = false;
        if (job.Print() != TFotobuchPrinter::TOutcome::Printed || job.SheetCount() != 16)
            state.SkipWithError("the booklet did not print 16 sheets");
        bytes = pdf.size();
    }
    state.counters["sheets/s"] =
        benchmark::Counter(16.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pdf_mb"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_rss_mb"] = BenchSupport::peakRssMb();
}

void BM_ExportBook32_Baseline(benchmark::State& state) {
    TBooklet& booklet = Booklet();
    BenchSupport::resetPeakRss();
    TFBDocument& doc = booklet.Doc;
    const float scale = static_cast<float>(kDpi / 25.4);
    QImage sheet(static_cast<int>(doc.PageHeight * scale) + 1,
                 static_cast<int>(2 * doc.PageWidth * scale) + 1, QImage::Format_ARGB32);
    qint64 bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (int k = 0; k < doc.Pages.Count() / 2; ++k) {
            sheet.fill(0xFFFFFFFFu);
            {
                TBitmapDrawContext dc(sheet);
                for (int half = 0; half < 2; ++half) {
                    TTransformationSaver saver(dc.Transformation);
                    dc.Transformation.Scale(scale);
                    dc.Transformation.Translate(0, -1.2f);
                    dc.Transformation.Rotate(-90);
                    dc.Transformation.Translate(-2 * doc.PageWidth + half * doc.PageWidth, 0);
                    DocumentDrawer().DrawPage(*doc.Pages.Items(2 * k + half), dc, true, 0);
                }
                dc.ReleaseCanvas();
            }
            QBuffer jpeg;
            jpeg.open(QIODevice::WriteOnly);
            QImageWriter writer(&jpeg, "jpeg");
            writer.setQuality(94);
            writer.write(sheet.convertToFormat(QImage::Format_RGB32));
            bytes += jpeg.size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["sheets/s"] =
        benchmark::Counter(16.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["jpeg_mb"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_rss_mb"] = BenchSupport::peakRssMb();
}

} // namespace

BENCHMARK(BM_ExportBook32)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportBook32_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();
