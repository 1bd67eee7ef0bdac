// Feeds arbitrary bytes to the readers of what drags and the clipboard carry: file lists
// ("VXFileList", "text/uri-list"), picture frames ("VXPic"), views ("VXView") and the clipboard
// container of a copied element. The first byte picks the payload. A reader answers or says no,
// never crashes; what it answers belongs to the document, and a pasted element copies again into a
// container of the same class.
#include "FuzzSupport.h"
#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uTransferData.h"
#include "platform/Exception.h"

#include <QBuffer>
#include <QMimeData>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Two spreads of two frames each, made once: the readers never change it.
TFBDocument& document() {
    static TFBDocument* book = [] {
        auto* made = new TFBDocument;
        made->ScreenMode = 2;
        for (int i = 0; i < 4; ++i) {
            TFBPage* page = made->Pages.Add(std::make_unique<TFBPage>(made));
            for (int j = 0; j < 2; ++j)
                page->Pictures.Add(CreateElementByClassName(QStringLiteral("TFBPictureElement"), page));
        }
        return made;
    }();
    return *book;
}

void readFiles(const QString& format, const QByteArray& payload) {
    QMimeData data;
    data.setData(format, payload);
    const QStringList paths = Transfer::DroppedFiles(data);
    if (!paths.isEmpty() && !Transfer::OffersFiles(data))
        std::abort();
    for (const QString& path : paths)
        if (path.isEmpty())
            std::abort();
    if (format == TransferFormat::FileList && paths != Transfer::ParseFileList(payload))
        std::abort();
}

void readFrameAndView(const QByteArray& payload) {
    const TFBDocument& book = document();
    if (TFBPictureElement* frame = Transfer::ReadPic(book, payload)) {
        const int position = Transfer::FramePosition(book, *frame);
        if (position < 0 || Transfer::ReadPic(book, Transfer::PicBytes(book, *frame)) != frame)
            std::abort();
    }
    const int view = Transfer::ReadView(book, payload);
    if (view < -1 || view >= book.ViewCount())
        std::abort();
}

// As a paste does: the container is looked at first, then read into a new element of its class.
void paste(const QByteArray& payload) {
    const std::optional<Transfer::TClipContent> content = Transfer::InspectClipboard(payload);
    if (!content || !content->PictureOk)
        return;
    TFBPage* page = document().Pages.Items(content->IsLeftPage ? 0 : 1);
    std::unique_ptr<TFBElement> element = CreateElementByClassName(content->ClassName, page);
    if (!element)
        return;
    QByteArray bytes = payload;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    try {
        element->LoadWithPicture(file, Transfer::ClipboardSection);
    } catch (const Exception&) {
        return;
    }
    const Transfer::TCopied copied = Transfer::CopyElement(*element);
    const std::optional<Transfer::TClipContent> again = Transfer::InspectClipboard(copied.Bytes);
    if (!again || again->ClassName != element->ClassName() ||
        copied.Format != Transfer::ClipboardFormatOf(again->ClassName))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureFuzzApplication("fuzz_transfer");
    limitFuzzPictures();
    if (size == 0)
        return 0;
    const QByteArray payload(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    switch (data[0] % 4) {
    case 0:
        readFiles(TransferFormat::FileList, payload);
        break;
    case 1:
        readFiles(TransferFormat::UriList, payload);
        break;
    case 2:
        readFrameAndView(payload);
        break;
    default:
        paste(payload);
        TBildmanager::Instance().Clear();
        break;
    }
    return 0;
}
