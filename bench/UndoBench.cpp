// Undo: recording a spread of four camera photos against copying their bytes, and restoring the
// settings of all twelve calendars of a calendar against indexing and loading them.
#include "calendar/uKalender.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "platform/uImaging.h"
#include "support/PageElements.h"
#include "support/PictureSupport.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// A book whose view 1 holds two pages with two frames each, every frame showing its own photo of
// the size the store scales camera photos to.
struct TSpread {
    TSpread() {
        document.ScreenMode = 1;
        TestSupport::addPages(document, 4);
        for (int p = 1; p <= 2; ++p) {
            TFBPage* page = document.Pages.Items(p);
            for (int f = 0; f < 2; ++f) {
                auto* frame = TestSupport::placeElement<TFBPictureElement>(page, 50 + 60 * f, 100, 55, 80);
                const QString path = dir.filePath(QStringLiteral("foto%1%2.jpg").arg(p).arg(f));
                PictureSupport::writeFile(
                    path, Imaging::EncodeJpeg(PictureSupport::photo(2272, 1704, p * 2 + f), 90));
                frame->SetPictureFile(path);
                bytes.push_back(TBildmanager::Instance().Find(frame->RefIndex)->FileData);
            }
        }
    }
    QTemporaryDir dir;
    TFBDocument document;
    std::vector<QByteArray> bytes;
};

TSpread& spread() {
    static TSpread instance;
    return instance;
}

void BM_UndoRecordSpread(benchmark::State& state) {
    TSpread& s = spread();
    qint64 recordBytes = 0;
    for (auto _ : state) {
        auto record = std::make_unique<TUndoSeiteLoeschen>(s.document, 1);
        recordBytes = record->Bytes();
        benchmark::DoNotOptimize(record.get());
    }
    state.counters["record_bytes"] = double(recordBytes);
}
BENCHMARK(BM_UndoRecordSpread)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UndoRecordSpread_Baseline(benchmark::State& state) {
    TSpread& s = spread();
    qint64 total = 0;
    for (auto _ : state) {
        std::vector<QByteArray> copies;
        copies.reserve(s.bytes.size());
        total = 0;
        for (const QByteArray& b : s.bytes) {
            copies.emplace_back(b.constData(), b.size()); // a deep copy
            total += copies.back().size();
        }
        benchmark::DoNotOptimize(copies.data());
    }
    state.counters["picture_bytes"] = double(total);
}
BENCHMARK(BM_UndoRecordSpread_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

TFBDocument& calendarDocument() {
    static TFBDocument* document = [] {
        auto* d = new TFBDocument;
        CreateProductDocument(*d, 61, 2026, 13);
        return d;
    }();
    return *document;
}

std::vector<TFBKalenderElement*> calendars(const TFBDocument& document) {
    std::vector<TFBKalenderElement*> list;
    for (const TFBPage* page : document.Pages)
        for (int k = 0; k < page->Calendars.Count(); ++k)
            list.push_back(page->Calendar(k));
    return list;
}

void BM_UndoRestoreCalendarsForAll(benchmark::State& state) {
    TFBDocument& document = calendarDocument();
    for (auto _ : state) {
        state.PauseTiming();
        auto record = std::make_unique<TUndoKalenderEigenschaftenFuerAlle>(document);
        state.ResumeTiming();
        benchmark::DoNotOptimize(record->Restore(document));
        state.PauseTiming();
        record.reset();
        state.ResumeTiming();
    }
    state.counters["calendars"] = double(calendars(document).size());
}
BENCHMARK(BM_UndoRestoreCalendarsForAll)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same settings saved into a fresh memory container, then indexed and loaded back.
void BM_UndoRestoreCalendarsForAll_Baseline(benchmark::State& state) {
    TFBDocument& document = calendarDocument();
    const std::vector<TFBKalenderElement*> list = calendars(document);
    for (auto _ : state) {
        state.PauseTiming();
        auto bytes = std::make_unique<QByteArray>();
        auto buffer = std::make_unique<QBuffer>(bytes.get());
        buffer->open(QIODevice::ReadWrite);
        auto file = std::make_unique<TMemoryDataFile>(*buffer);
        for (size_t n = 0; n < list.size(); ++n)
            list[n]->Data->Save(*file, QStringLiteral("data%1").arg(n));
        state.ResumeTiming();
        file->BuildCache();
        for (size_t n = 0; n < list.size(); ++n)
            list[n]->Data->Load(*file, QStringLiteral("data%1").arg(n));
        state.PauseTiming();
        file.reset();
        buffer.reset();
        bytes.reset();
        state.ResumeTiming();
    }
    state.counters["calendars"] = double(list.size());
}
BENCHMARK(BM_UndoRestoreCalendarsForAll_Baseline)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
