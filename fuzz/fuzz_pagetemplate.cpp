// Feeds arbitrary bytes to the reader of "VXPageTemplate" drop payloads. A payload must be accepted
// or rejected with Exception, never crash; an accepted layout is applied to the pages of a small
// book and drawn as a preview, as a drop and the layout list would do.
#include "catalogue/uFotobuchPageTemplate.h"
#include "platform/Exception.h"

#include <QBuffer>
#include <QImage>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    TFBPageTemplate layout;
    try {
        layout.LoadFromStream(buffer);
    } catch (const Exception&) {
        return 0;
    }
    if (layout.Frames.Count() > 64 || layout.LeftFrames.Count() > 64)
        return 0; // applying is linear in the frames; keep the run short

    TFBDocument document;
    document.ScreenMode = 1;
    document.PageWidth = 148.5f;
    document.PageHeight = 210;
    for (int i = 0; i < 3; ++i)
        document.Pages.Add(std::make_unique<TFBPage>(&document));
    for (int i = 0; i < 3; ++i)
        layout.ApplyToPage(*document.Pages.Items(i));

    QImage preview(40, 30, QImage::Format_ARGB32);
    preview.fill(Qt::black);
    layout.DrawPreview(preview, QRect(2, 2, 36, 26));
    return 0;
}
