// The page view's commands. Dropping 20 photo files onto 20 frames (the whole drop: header probes,
// undo records, loading into the picture store, the page rule, notices) against adding the same
// files to the picture store alone. Pasting a copied 3.9-megapixel photo into a frame of the same
// document (reading the clipboard, checking the container, the undo record, the transfer form)
// against decoding its JPEG once. Repainting is left out of both: the headless window paints
// nothing until asked.
#include "BenchSupport.h"

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uClipboard.h"
#include "editing/uPageView.h"
#include "editing/uPageViewCommands.h"
#include "editing/uPageViewOffscreen.h"
#include "editing/uPageViewUndo.h"
#include "editing/uTransferData.h"
#include "editing/uUndo.h"
#include "platform/uImaging.h"
#include "support/PageElements.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QMimeData>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kFiles = 20;

class TQuietWindow : public TCommandWindow {
public:
    bool Confirm(const QString&) override { return true; }
};

QByteArray encodeJpeg(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return bytes;
}

// Single pages with two frames each and a page view on the first. (A lone frame would turn its
// page to the picture and a photo on a turned page is turned too, which is a picture edit of its
// own and not what this measures.)
struct TFixture {
    QTemporaryDir Dir;
    QStringList Files;
    TFBDocument Doc;
    TOffscreenPageWindow Screen;
    TQuietWindow Window;
    std::unique_ptr<TPageView> View;
    std::unique_ptr<TPageViewCommands> Commands;

    TFixture() {
        Doc.Reset();
        Doc.ScreenMode = 0;
        Doc.DocType = 0;
        Doc.PageWidth = 150;
        Doc.PageHeight = 100;
        TestSupport::addPages(Doc, kFiles / 2);
        for (TFBPage* page : Doc.Pages) {
            TestSupport::placeElement<TFBPictureElement>(page, 37.5f, 50, 70, 90);
            TestSupport::placeElement<TFBPictureElement>(page, 112.5f, 50, 70, 90);
        }
        for (int i = 0; i < kFiles; ++i) {
            const QString path = Dir.filePath(QStringLiteral("foto%1.jpg").arg(i));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(encodeJpeg(BenchSupport::generatedPhoto(1200, 800, quint32(i + 1))));
            Files << path;
        }
        View = std::make_unique<TPageView>(&Doc, &Screen);
        Screen.Attach(View.get());
        PageViewUndo::Attach(View.get());
        View->Resize(800, 600);
        Commands = std::make_unique<TPageViewCommands>(*View, Window);
    }
    ~TFixture() { PageViewUndo::Detach(View.get()); }

    // The frames in document order.
    TFBPictureElement* Frame(int i) const { return Doc.Pages.Items(i / 2)->Picture(i % 2); }
    // Every frame empty again and no records: the store lets the pictures go.
    void Empty() {
        for (int i = 0; i < kFiles; ++i)
            Frame(i)->RemovePicture();
        UndoManager().Clear();
    }
};

void BM_DropFileList20(benchmark::State& state) {
    TFixture fixture;
    QMimeData data;
    Transfer::PutFileList(data, fixture.Files);
    const TFBPointF at{37.5f, 50};
    for (auto _ : state) {
        fixture.Commands->Drop(data, at, false, TDropEffect::Copy);
        if (!fixture.Frame(kFiles - 1)->HasPicture())
            state.SkipWithError("the last frame stayed empty");
        fixture.Empty();
    }
    state.counters["files/s"] =
        benchmark::Counter(double(kFiles), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DropFileList20)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DropFileList20_Baseline(benchmark::State& state) {
    TFixture fixture;
    TBildmanager& store = TBildmanager::Instance();
    std::vector<int> refs(kFiles);
    for (auto _ : state) {
        for (int i = 0; i < kFiles; ++i)
            refs[size_t(i)] = store.AddFromFile(fixture.Files[i]);
        for (const int ref : refs)
            store.Release(ref);
    }
    state.counters["files/s"] =
        benchmark::Counter(double(kFiles), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DropFileList20_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 3.9-megapixel photo in the first frame, copied; pasted into the second.
struct TPasteFixture : TFixture {
    QByteArray Jpeg;

    TPasteFixture() {
        Jpeg = encodeJpeg(BenchSupport::generatedPhoto(2420, 1612, 7));
        const QString path = Dir.filePath(QStringLiteral("gross.jpg"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(Jpeg);
        file.close();
        Frame(0)->SetPictureFile(path);
        View->Select(Frame(0));
        Commands->Copy();
    }
};

void BM_PastePictureFrame(benchmark::State& state) {
    TPasteFixture fixture;
    TFBPictureElement* target = fixture.Frame(1);
    for (auto _ : state) {
        fixture.View->Select(target);
        fixture.Commands->Paste();
        if (target->RefIndex != fixture.Frame(0)->RefIndex)
            state.SkipWithError("the frame did not take the copied picture");
        target->RemovePicture();
        UndoManager().Clear();
    }
}
BENCHMARK(BM_PastePictureFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PastePictureFrame_Baseline(benchmark::State& state) {
    TPasteFixture fixture;
    for (auto _ : state) {
        const Imaging::TDecodeResult decoded = Imaging::Decode(fixture.Jpeg);
        if (decoded.Image.isNull())
            state.SkipWithError("the photo did not decode");
        benchmark::DoNotOptimize(decoded.Image.constBits());
    }
}
BENCHMARK(BM_PastePictureFrame_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
