// Autosave: how long a recovery copy holds the user-interface thread. The snapshot of the
// 48-photo project is measured against one copy of the project's encoded picture bytes, so a
// snapshot that copied them could not reach the target (ratio <= 1.0, well under 50 ms).
#include "BenchProject48.h"

#include "document/uDocumentSnapshot.h"
#include "document/uFotobuchBildManager.h"

#include <benchmark/benchmark.h>

namespace {

using BenchSupport::TProject48;

// The project open as the user has it, every preview made (no worker busy while measuring).
struct TOpenProject48 {
    TFBDocument document;

    TOpenProject48() {
        TDataFile container(TProject48::instance().path, TDataFile::OpenMode::ReadOnly);
        LoadDocument(document, container);
        TBildmanager& store = TBildmanager::Instance();
        for (int i = 0; i < store.Count(); ++i)
            store.GetPreview(store.Item(i).RefIndex);
        document.Modified = true;
    }
    ~TOpenProject48() { document.Reset(); }

    static qint64 pictureBytes() {
        qint64 total = 0;
        const TBildmanager& store = TBildmanager::Instance();
        for (int i = 0; i < store.Count(); ++i)
            total += store.Item(i).FileData.size();
        return total;
    }
};

void BM_AutosaveSnapshot(benchmark::State& state) {
    TOpenProject48 open;
    benchmark::DoNotOptimize(TDocumentSnapshot::Take(open.document).Size()); // warm-up
    for (auto _ : state) {
        const TDocumentSnapshot snapshot = TDocumentSnapshot::Take(open.document);
        benchmark::DoNotOptimize(snapshot.Size());
    }
    state.counters["picture_mb"] = double(TOpenProject48::pictureBytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_AutosaveSnapshot)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_AutosaveSnapshot_Baseline(benchmark::State& state) {
    TOpenProject48 open;
    const TBildmanager& store = TBildmanager::Instance();
    for (auto _ : state) {
        for (int i = 0; i < store.Count(); ++i) {
            const QByteArray& bytes = store.Item(i).FileData;
            QByteArray copy(bytes.constData(), bytes.size());
            benchmark::DoNotOptimize(copy.data());
        }
    }
    state.counters["picture_mb"] = double(TOpenProject48::pictureBytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_AutosaveSnapshot_Baseline)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

} // namespace
