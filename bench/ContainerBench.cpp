// Looking up every item of a project-sized container: through the index against the first-match
// walk over the item list that an unindexed lookup does.
#include "document/uDataFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kItemCount = 50000;
const QStringList kKeys = {QStringLiteral("PosX"),  QStringLiteral("PosY"),   QStringLiteral("Breite"),
                           QStringLiteral("Hoehe"), QStringLiteral("Winkel"), QStringLiteral("Zoom"),
                           QStringLiteral("PanX"),  QStringLiteral("PanY"),   QStringLiteral("RefIndex"),
                           QStringLiteral("Rahmen")};

struct Name {
    QString section;
    QString key;
};

// A project of 1000 pages with five picture frames of ten values each, as a file on disk.
class ProjectFile {
public:
    ProjectFile() : path_(dir_.filePath(QStringLiteral("bench.fbp"))) {
        TDataFile file(path_);
        for (int i = 0; i < kItemCount; ++i) {
            const int frame = i / kKeys.size();
            Name name{QStringLiteral("Doc/Pages/Page%1/Piclist/Pic%2").arg(frame / 5).arg(frame % 5),
                      kKeys[i % kKeys.size()]};
            file.WriteInteger(name.section, name.key, i);
            names_.push_back(std::move(name));
        }
    }
    const QString& path() const { return path_; }
    const std::vector<Name>& names() const { return names_; }

private:
    QTemporaryDir dir_;
    QString path_;
    std::vector<Name> names_;
};

const ProjectFile& project() {
    static const ProjectFile file;
    return file;
}

void BM_ContainerLookupAll(benchmark::State& state) {
    const ProjectFile& source = project();
    TDataFile file(source.path(), TDataFile::OpenMode::ReadOnly);
    for (auto _ : state) {
        qint64 sum = 0;
        for (const Name& name : source.names())
            sum += file.ReadInteger(name.section, name.key, 0);
        benchmark::DoNotOptimize(sum);
        if (sum != qint64(kItemCount) * (kItemCount - 1) / 2)
            state.SkipWithError("wrong values read");
    }
    state.SetItemsProcessed(state.iterations() * kItemCount);
}
BENCHMARK(BM_ContainerLookupAll)->Unit(benchmark::kMillisecond);

// The same lookups as a walk over the item list in order, comparing both names case-insensitively
// until the first match, then reading the value at the item's position.
void BM_ContainerLookupAll_Baseline(benchmark::State& state) {
    const ProjectFile& source = project();
    TDataFile file(source.path(), TDataFile::OpenMode::ReadOnly);
    const std::vector<TDataFileCacheItem>& items = file.CacheItems();
    QIODevice* stream = file.stream();
    for (auto _ : state) {
        qint64 sum = 0;
        for (const Name& name : source.names()) {
            for (const TDataFileCacheItem& item : items) {
                if (item.Section.compare(name.section, Qt::CaseInsensitive) == 0 &&
                    item.Key.compare(name.key, Qt::CaseInsensitive) == 0) {
                    char data[4];
                    stream->seek(item.Position + TCustomDataFile::kItemHeaderSize);
                    if (stream->read(data, 4) == 4)
                        sum += qFromLittleEndian<qint32>(data);
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(sum);
        if (sum != qint64(kItemCount) * (kItemCount - 1) / 2)
            state.SkipWithError("wrong values read");
    }
    state.SetItemsProcessed(state.iterations() * kItemCount);
}
BENCHMARK(BM_ContainerLookupAll_Baseline)->Unit(benchmark::kMillisecond)->Iterations(1);

// Opening indexes every item once.
void BM_ContainerOpen(benchmark::State& state) {
    const ProjectFile& source = project();
    for (auto _ : state) {
        TDataFile file(source.path(), TDataFile::OpenMode::ReadOnly);
        benchmark::DoNotOptimize(file.CacheItems().size());
    }
    state.SetItemsProcessed(state.iterations() * kItemCount);
}
BENCHMARK(BM_ContainerOpen)->Unit(benchmark::kMillisecond);

} // namespace
