// Feeds arbitrary bytes to the rich-text drawer: parsing into tokens, measuring and breaking into
// lines at a few widths and drawing into a small bitmap must never crash, hang or exhaust memory.
#include "FuzzSupport.h"
#include "render/uBitmapDrawContext.h"
#include "render/uRTFDrawer.h"
#include "render/uRTFParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureFuzzApplication("fuzz_rtfdrawer");
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    TRTFDrawer drawer;
    try {
        drawer.SetRTF(input);
    } catch (const RTFParseException&) {
        // The tokens built before the error are still laid out and drawn by the program.
    }
    for (const double width : {-1.0, 0.5, 50.0001, 1e6}) {
        drawer.Layout(width);
        float height = 0;
        for (int i = 0; i < drawer.LineCount(); ++i) {
            const TRTFLine& line = drawer.Line(i);
            if (line.FirstToken < 0 || line.LastToken >= drawer.TokenCount() ||
                line.FirstToken > line.LastToken)
                std::abort();
            height += line.Height;
        }
        if (height != drawer.TotalHeight())
            std::abort();
    }
    // One small bitmap for the whole process; one alignment per input (its length picks it) keeps
    // a run short while every alignment is drawn over the corpus.
    static QImage bitmap(64, 48, QImage::Format_ARGB32);
    static TBitmapDrawContext* context = [] {
        bitmap.fill(0xFFFFFFFF);
        auto* made = new TBitmapDrawContext(bitmap);
        made->Transformation.Scale(2);
        return made;
    }();
    const int align = int(size % 4);
    drawer.DrawText(*context, align, 16, 12, 30, 20, align % 3);
    return 0;
}
