// Saving and loading a project: a 100-page book with four photo frames and a text on every page
// and 20 photos of 800 x 600 pixels, into memory, from a file and to a file (with the flush to
// the disk and the rename of a save).
#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "support/PageElements.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPages = 100;
constexpr int kPhotos = 20;

class Project {
public:
    Project() : path_(dir_.filePath(QStringLiteral("bench.fbp"))) {
        QStringList photos;
        for (int i = 0; i < kPhotos; ++i) {
            QImage image(800, 600, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(i * 17 % 360, 120, 200));
            QPainter painter(&image);
            painter.drawEllipse(100 + i * 10, 100, 400, 300);
            painter.end();
            photos << dir_.filePath(QStringLiteral("foto%1.jpg").arg(i));
            image.save(photos.last(), "JPEG", 90);
        }
        TFBDocument doc;
        doc.ScreenMode = 1;
        doc.PageWidth = 148.5f;
        doc.PageHeight = 210;
        for (int p = 0; p < kPages; ++p) {
            TFBPage* page = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
            for (int f = 0; f < 4; ++f) {
                auto* frame = TestSupport::placeElement<TFBPictureElement>(page, 40 + 70 * (f % 2),
                                                                           50 + 100 * (f / 2), 60, 90);
                frame->SetPictureFile(photos[(p * 4 + f) % kPhotos]);
            }
            auto* text =
                static_cast<TFBTextElement*>(page->Sizeables.Add(std::make_unique<TFBTextElement>(page)));
            text->SetRTF(
                QByteArrayLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Urlaub am Meer}"));
        }
        SaveDocumentToFile(doc, path_);
    }
    const QString& path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

const Project& project() {
    static const Project instance;
    return instance;
}

void BM_LoadDocument(benchmark::State& state) {
    TFBDocument doc;
    for (auto _ : state)
        LoadDocumentFromFile(doc, project().path());
    state.counters["pages"] = doc.Pages.Count();
}
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond);

void BM_SaveDocument(benchmark::State& state) {
    TFBDocument doc;
    LoadDocumentFromFile(doc, project().path());
    qint64 bytes = 0;
    for (auto _ : state) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadWrite);
        TMemoryDataFile file(buffer);
        SaveDocument(doc, file);
        bytes = data.size();
    }
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_SaveDocumentToFile(benchmark::State& state) {
    TFBDocument doc;
    LoadDocumentFromFile(doc, project().path());
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("kopie.fbp"));
    for (auto _ : state)
        SaveDocumentToFile(doc, target);
}
BENCHMARK(BM_SaveDocumentToFile)->Unit(benchmark::kMillisecond);

} // namespace
