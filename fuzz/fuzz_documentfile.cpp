// Loads arbitrary bytes as a project: reading the document, its pages, elements, links and picture
// store must end in the document or in an error, never in a crash, a hang or a broken document. A
// document that loaded must save and load again to the same pages and links.
#include "FuzzSupport.h"
#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/Exception.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

// Every element sits in the list of its kind on its own page; every link member is a frame of
// the document that points back at its link.
void checkConsistent(const TFBDocument& document) {
    for (const TFBPage* page : document.Pages) {
        if (page->Document != &document)
            std::abort();
        for (const TFBElement* element : page->Pictures)
            if (element->Page != page || !dynamic_cast<const TFBPictureElement*>(element))
                std::abort();
        for (const TFBElement* element : page->Calendars)
            if (element->Page != page || !dynamic_cast<const TFBKalenderElement*>(element))
                std::abort();
        for (const TFBElement* element : page->Sizeables)
            if (element->Page != page || !dynamic_cast<const TFBSizeableElement*>(element))
                std::abort();
    }
    for (const auto& link : document.PictureLinks)
        for (const TFBPictureElement* member : link->Members)
            if (member->Link != link.get() || !member->Page || member->Page->Pictures.IndexOf(member) < 0)
                std::abort();
}

QByteArray saved(TFBDocument& document) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    {
        TMemoryDataFile file(buffer);
        SaveDocument(document, file);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureFuzzApplication("fuzz_documentfile");
    limitFuzzPictures();
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    TMemoryDataFile file(stream);
    TFBDocument document;
    try {
        file.BuildCache();
        LoadDocument(document, file);
    } catch (const Exception&) {
        checkConsistent(document); // the document as far as it was read
        return 0;
    }
    checkConsistent(document);

    const int pages = document.Pages.Count();
    const size_t links = document.PictureLinks.size();
    QByteArray again = saved(document);
    QBuffer reread(&again);
    reread.open(QIODevice::ReadOnly);
    TMemoryDataFile second(reread);
    second.BuildCache();
    TFBDocument copy;
    LoadDocument(copy, second); // what this program wrote always loads
    checkConsistent(copy);
    if (copy.Pages.Count() != pages || copy.PictureLinks.size() != links)
        std::abort();
    return 0;
}
