#include "editing/uPageViewCommands.h"

#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uDataFile.h"
#include "document/uFBColor.h"
#include "document/uFotobuchBildManager.h"
#include "editing/uClipboard.h"
#include "editing/uDocumentEdits.h"
#include "editing/uMulticaster.h"
#include "editing/uPageView.h"
#include "editing/uPanelRules.h"
#include "editing/uTransferData.h"
#include "editing/uUndo.h"
#include "filters/uPictureFilter.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uPictureFormat.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>

#include <algorithm>
#include <set>

namespace {

[[noreturn]] void refuse(const QString& message) {
    throw Exception(message);
}

bool showsPhoto(const TFBPictureElement* frame) {
    return frame && frame->HasPicture() && frame->CanZoomAndTrack;
}

bool showsColour(const TFBPictureElement* frame) {
    return frame && frame->HasPicture() && !frame->CanZoomAndTrack;
}

// A file a file list may load: an absolute path of an existing file whose header is a picture's.
bool loadablePicture(const QString& path) {
    if (!QDir::isAbsolutePath(path))
        return false;
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    return Imaging::IsPictureFile(path);
}

// The hourglass for as long as the scope lasts, the status panel hidden at its end.
class TWaitScope {
public:
    explicit TWaitScope(TCommandWindow& window) : window_(window) { window_.BeginWait(); }
    ~TWaitScope() {
        window_.ShowStatus(QString());
        window_.EndWait();
    }
    TWaitScope(const TWaitScope&) = delete;
    TWaitScope& operator=(const TWaitScope&) = delete;

private:
    TCommandWindow& window_;
};

// The formats a drop may carry, in the order they are looked at.
enum class TDropKind { None, Files, Template, Colour, Pic, Clipart };

TDropKind kindOf(const QMimeData& data) {
    if (Transfer::OffersFiles(data))
        return TDropKind::Files;
    if (data.hasFormat(TransferFormat::PageTemplate))
        return TDropKind::Template;
    if (data.hasFormat(TransferFormat::Color))
        return TDropKind::Colour;
    if (data.hasFormat(TransferFormat::Pic))
        return TDropKind::Pic;
    if (data.hasFormat(TransferFormat::Clipart))
        return TDropKind::Clipart;
    return TDropKind::None;
}

TMenuEntry entry(TMenuCommand command, const char* key, bool visible, bool enabled) {
    TMenuEntry e;
    e.Command = command;
    e.Key = QString::fromUtf8(key);
    e.Caption = Translate(e.Key);
    e.Visible = visible;
    e.Enabled = enabled;
    return e;
}

TMenuEntry separator() {
    return TMenuEntry{};
}

} // namespace

void LoadDroppedFiles(TFBDocument& document, const QStringList& paths, TFBPictureElement* frame,
                      TCommandWindow& window, const std::function<void(TFBPictureElement& filled)>& filled) {
    // The headers are read one by one as frames take them; the first picture is looked for before
    // anything changes, so that a list without one is refused whole.
    qsizetype next = 0;
    int skipped = 0;
    const auto nextPicture = [&]() -> qsizetype {
        while (next < paths.size()) {
            const qsizetype at = next++;
            if (loadablePicture(paths[at]))
                return at;
            ++skipped;
        }
        return -1;
    };
    qsizetype file = frame ? nextPicture() : -1;
    if (file < 0)
        refuse(QStringLiteral("Keine der Dateien ist ein Bild"));

    const int count = static_cast<int>(paths.size());
    {
        TWaitScope wait(window);
        // A panorama shows one picture in all its frames: the next file goes past them.
        std::set<const TFBPictureLink*> filledLinks;
        while (file >= 0) {
            while (frame && frame->Link && filledLinks.count(frame->Link))
                frame = frame->NextPictureElement();
            if (!frame)
                break;
            if (count > 1)
                window.ShowStatus(QString::asprintf(
                    Translate(QStringLiteral("Bild %d von %d wird geladen")).toUtf8().constData(),
                    static_cast<int>(file) + 1, count));
            TFBPage& page = *frame->Page;
            DocumentEdits::InsertPicture(*frame, paths[file]);
            // The record brings the page's orientation back too, in case the rule below turns it.
            if (auto* record = dynamic_cast<TUndoBildEinfuegen*>(UndoManager().Last()))
                record->KeepPageOrientation(document);
            const bool lone = document.DocType == 0 && page.Pictures.Count() == 1 &&
                              page.Calendars.Count() == 0 && !document.IsCalendar();
            if (lone) {
                const TBildManagerListItem* picture = TBildmanager::Instance().Find(frame->RefIndex);
                if (picture && picture->PicWidth > 0 && picture->PicHeight > 0)
                    page.Seitenausrichtung = picture->PicWidth >= picture->PicHeight ? 1 : 0;
            }
            if (page.Seitenausrichtung == 1 && frame->HasPicture())
                frame->RotatePicture(document.ScreenQuerformatWinkel == -90 ? 0 : 2);
            window.Report(QStringLiteral("picture %1 into frame %2 of page %3")
                              .arg(paths[file])
                              .arg(frame->IndexInList())
                              .arg(page.PageIndex()));
            if (frame->Link)
                filledLinks.insert(frame->Link);
            if (filled)
                filled(*frame);
            window.UpdateNow();
            frame = frame->NextPictureElement();
            // Only as many entries are read as frames remain.
            file = frame ? nextPicture() : -1;
        }
    }
    if (skipped > 0)
        window.StatusLine(Translate(QStringLiteral("%1 Dateien übersprungen")).arg(skipped));
    document.Modified = true;
}

TPageViewCommands::TPageViewCommands(TPageView& view, TCommandWindow& window)
    : view_(view), window_(window) {}

QString TPageViewCommands::PasteRefused() {
    return QStringLiteral("Die Zwischenablage enthält nichts, was hier eingefügt werden kann.");
}

// --- targets ------------------------------------------------------------------------------------

TFBPictureElement* TPageViewCommands::frameAt(const TFBPointF& at) const {
    return static_cast<TFBPictureElement*>(view_.ElementAtViewPoint(at, hkPictures));
}

TFBPage* TPageViewCommands::pageAt(const TFBPointF& at) const {
    return view_.PageAtViewPoint(at);
}

QString TPageViewCommands::describe(const TFBElement* element) const {
    if (!element || !element->Page)
        return QString();
    if (dynamic_cast<const TFBPictureElement*>(element))
        return QStringLiteral("frame %1 of page %2")
            .arg(element->IndexInList())
            .arg(element->Page->PageIndex());
    return QStringLiteral("element %1 of page %2")
        .arg(element->IndexInList())
        .arg(element->Page->PageIndex());
}

void TPageViewCommands::changed(TFBElement* element) {
    if (!element)
        return;
    view_.RepaintElement(*element);
    Multicaster().NotifyElementChanged(view_.EventSource(), element);
}

void TPageViewCommands::pageChanged(TFBPage* page) {
    view_.RepaintAll();
    Multicaster().NotifyPageChanged(view_.EventSource(), page);
}

void TPageViewCommands::viewSelected() {
    Multicaster().ViewSelected(view_.EventSource(), view_.ViewIndex());
}

// --- drops --------------------------------------------------------------------------------------

QString TPageViewCommands::refusal(const QMimeData& data, const TFBPointF& at, bool fromThisProcess) const {
    if (!view_.Document())
        return QStringLiteral("Kein Dokument");
    const QString noFrame = QStringLiteral("Hier ist kein Bildrahmen");
    const QString noPage = QStringLiteral("Hier ist keine Seite");
    // Every format the drop offers must fit the place.
    bool known = false;
    if (Transfer::OffersFiles(data)) {
        known = true;
        if (!frameAt(at))
            return noFrame;
        // Only whether the files are there: their headers are read on the drop.
        const QStringList paths = Transfer::DroppedFiles(data);
        if (std::none_of(paths.begin(), paths.end(),
                         [](const QString& p) { return QDir::isAbsolutePath(p) && QFileInfo(p).isFile(); }))
            return QStringLiteral("Die Dateiliste nennt keine vorhandene Datei");
    }
    if (data.hasFormat(TransferFormat::PageTemplate)) {
        known = true;
        if (!pageAt(at))
            return noPage;
        if (!Transfer::ReadTemplate(data.data(TransferFormat::PageTemplate)))
            return QStringLiteral("Das Layout ist beschädigt");
    }
    if (data.hasFormat(TransferFormat::Color)) {
        known = true;
        if (!frameAt(at))
            return noFrame;
        if (!Transfer::ReadColor(data.data(TransferFormat::Color)))
            return QStringLiteral("Die Farbe ist beschädigt");
    }
    if (data.hasFormat(TransferFormat::Pic)) {
        known = true;
        if (!fromThisProcess)
            return QStringLiteral("Das Bild stammt aus einem anderen Programm");
        const TFBPictureElement* source =
            Transfer::ReadPic(*view_.Document(), data.data(TransferFormat::Pic));
        if (!source || !source->HasPicture())
            return QStringLiteral("Der gezogene Bildrahmen gehört nicht zum Dokument");
        const TFBPictureElement* target = frameAt(at);
        if (!target)
            return noFrame;
        if (target == source)
            return QStringLiteral("Das Bild liegt schon in diesem Bildrahmen");
    }
    if (data.hasFormat(TransferFormat::Clipart)) {
        known = true;
        if (!pageAt(at))
            return noPage;
        if (Transfer::DroppedClipart(data).isEmpty())
            return QStringLiteral("Die Clipart-Liste nennt keine Datei");
    }
    if (!known)
        return QStringLiteral("Diese Daten lassen sich hier nicht ablegen");
    return QString();
}

TDropEffect TPageViewCommands::CheckDrop(const QMimeData& data, const TFBPointF& at, bool fromThisProcess,
                                         TDropEffect proposed) const {
    if (!refusal(data, at, fromThisProcess).isEmpty())
        return TDropEffect::None;
    if (kindOf(data) == TDropKind::Pic && proposed == TDropEffect::Move)
        return TDropEffect::Move;
    return TDropEffect::Copy;
}

TDropEffect TPageViewCommands::Drop(const QMimeData& data, const TFBPointF& at, bool fromThisProcess,
                                    TDropEffect proposed) {
    const QString why = refusal(data, at, fromThisProcess);
    if (!why.isEmpty())
        refuse(why);
    switch (kindOf(data)) {
    case TDropKind::Files:
        dropFiles(Transfer::DroppedFiles(data), frameAt(at));
        return TDropEffect::Copy;
    case TDropKind::Template:
        dropTemplate(data.data(TransferFormat::PageTemplate), pageAt(at));
        return TDropEffect::Copy;
    case TDropKind::Colour:
        dropColour(data.data(TransferFormat::Color), frameAt(at));
        return TDropEffect::Copy;
    case TDropKind::Pic: {
        TFBPictureElement* source = Transfer::ReadPic(*view_.Document(), data.data(TransferFormat::Pic));
        const bool move = proposed == TDropEffect::Move;
        dropPicture(*frameAt(at), *source, move);
        return move ? TDropEffect::Move : TDropEffect::Copy;
    }
    case TDropKind::Clipart:
        dropClipart(Transfer::DroppedClipart(data), pageAt(at), at);
        return TDropEffect::Copy;
    case TDropKind::None:
        break;
    }
    return TDropEffect::None;
}

void TPageViewCommands::dropFiles(const QStringList& paths, TFBPictureElement* frame) {
    window_.Focus();
    LoadDroppedFiles(*view_.Document(), paths, frame, window_, [this](TFBPictureElement& filled) {
        // The page may have turned to the picture.
        view_.SetupTransformation();
        view_.RepaintAll();
        Multicaster().NotifyElementChanged(view_.EventSource(), &filled);
    });
    view_.RepaintAll();
    if (TFBElement* selected = view_.Selected())
        Multicaster().NotifyElementChanged(view_.EventSource(), selected);
    view_.Select(view_.Selected());
}

void TPageViewCommands::dropTemplate(const QByteArray& bytes, TFBPage* page) {
    const std::unique_ptr<TFBPageTemplate> layout = Transfer::ReadTemplate(bytes);
    view_.Select(nullptr);
    DocumentEdits::ApplyLayout(*view_.Document(), *page, *layout);
    window_.Report(QStringLiteral("layout \"%1\" onto page %2").arg(layout->Name).arg(page->PageIndex()));
    pageChanged(page);
}

void TPageViewCommands::dropColour(const QByteArray& bytes, TFBPictureElement* frame) {
    const TFBColor named = *Transfer::ReadColor(bytes);
    window_.Focus();
    int32_t colour = named.Color;
    if (colour < 0) {
        colour = 0xFFFFFF;
        if (!PickColor(colour))
            return;
    }
    DocumentEdits::FillColour(*frame, colour);
    window_.Report(
        QStringLiteral("colour 0x%1 into %2").arg(colour, 6, 16, QLatin1Char('0')).arg(describe(frame)));
    changed(frame);
}

void TPageViewCommands::dropPicture(TFBPictureElement& target, TFBPictureElement& source, bool move) {
    if (move) {
        DocumentEdits::SwapPictures(target, source);
        window_.Report(QStringLiteral("swapped %1 with %2").arg(describe(&target), describe(&source)));
        changed(&source);
    } else {
        DocumentEdits::CopyPicture(target, source);
        window_.Report(QStringLiteral("copied %1 into %2").arg(describe(&source), describe(&target)));
    }
    changed(&target);
}

void TPageViewCommands::dropClipart(const QString& path, TFBPage* page, const TFBPointF& at) {
    if (!loadablePicture(path))
        refuse(QStringLiteral("Die Clipart-Datei ist kein Bild: %1").arg(path));
    window_.Focus();
    const TFBPointF origin = view_.Document()->PageOffset(page);
    TFBClipartElement* clipart = DocumentEdits::InsertClipart(*page, path, at.X - origin.X, at.Y - origin.Y);
    window_.Report(QStringLiteral("clipart %1 onto page %2 as element %3")
                       .arg(path)
                       .arg(page->PageIndex())
                       .arg(clipart->IndexInList()));
    changed(clipart);
    view_.Select(clipart);
}

// --- clipboard ----------------------------------------------------------------------------------

bool TPageViewCommands::CanCopy() const {
    const TFBElement* selected = view_.Selected();
    if (!selected || dynamic_cast<const TFBKalenderElement*>(selected))
        return false;
    const auto* frame = dynamic_cast<const TFBPictureElement*>(selected);
    return !frame || frame->HasPicture();
}

bool TPageViewCommands::CanDelete() const {
    return CanCopy();
}

bool TPageViewCommands::CanPaste() const {
    const TClipboardService& clipboard = Clipboard();
    const bool frameSelected = dynamic_cast<const TFBPictureElement*>(view_.Selected()) != nullptr;
    return (frameSelected && clipboard.HasFormat(TransferFormat::ClipPic)) ||
           clipboard.HasFormat(TransferFormat::ClipData);
}

void TPageViewCommands::Copy() {
    if (!CanCopy())
        return;
    const TFBElement& element = *view_.Selected();
    const Transfer::TCopied copied = Transfer::CopyElement(element);
    auto beside = std::make_unique<QMimeData>();
    Transfer::PutCopied(*beside, copied, element);
    QBuffer stream;
    stream.setData(copied.Bytes);
    stream.open(QIODevice::ReadOnly);
    CopyStreamToClipboard(copied.Format, stream, std::move(beside));
    window_.Report(QStringLiteral("copied %1 as %2, %3 bytes")
                       .arg(copied.ClassName, copied.Format)
                       .arg(copied.Bytes.size()));
}

void TPageViewCommands::Cut() {
    if (!CanCopy())
        return;
    Copy();
    DeleteSelection();
}

void TPageViewCommands::Paste() {
    if (!view_.Document())
        return;
    auto* frame = dynamic_cast<TFBPictureElement*>(view_.Selected());
    const TClipboardService& clipboard = Clipboard();
    const QString format = frame && clipboard.HasFormat(TransferFormat::ClipPic) ? TransferFormat::ClipPic
                           : clipboard.HasFormat(TransferFormat::ClipData)       ? TransferFormat::ClipData
                                                                                 : QString();
    if (format.isEmpty())
        refuse(PasteRefused());
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    CopyStreamFromClipboard(format, stream);
    const QByteArray bytes = stream.data();
    const std::optional<Transfer::TClipContent> content = Transfer::InspectClipboard(bytes);
    if (!content || !content->PictureOk)
        refuse(PasteRefused());
    if (format == TransferFormat::ClipPic) {
        if (content->ClassName != QLatin1String("TFBPictureElement"))
            refuse(PasteRefused());
        pasteFrame(*frame, bytes);
        return;
    }
    if (content->ClassName != QLatin1String("TFBTextElement") &&
        content->ClassName != QLatin1String("TFBClipartElement"))
        refuse(PasteRefused());
    pasteElement(content->ClassName, content->IsLeftPage, bytes);
}

void TPageViewCommands::pasteFrame(TFBPictureElement& frame, const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    UndoManager().AddBildEinfuegen(&frame);
    frame.LoadWithPicture(file, Transfer::ClipboardSection);
    view_.Document()->Modified = true;
    window_.Report(QStringLiteral("pasted TFBPictureElement into %1").arg(describe(&frame)));
    changed(&frame);
}

void TPageViewCommands::pasteElement(const QString& className, bool isLeftPage, const QByteArray& bytes) {
    TFBDocument& document = *view_.Document();
    TFBPage* page = isLeftPage ? view_.LeftPage() : view_.RightPage();
    if (!page)
        page = isLeftPage ? view_.RightPage() : view_.LeftPage();
    if (!page)
        refuse(PasteRefused());
    std::unique_ptr<TFBElement> owned = CreateElementByClassName(className, page);
    if (!owned)
        refuse(PasteRefused());
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    owned->LoadWithPicture(file, Transfer::ClipboardSection);
    // An element copied from a larger page would be lost beside this one: it comes to its middle.
    if (owned->CenterX < 0 || owned->CenterX > document.PageWidth || owned->CenterY < 0 ||
        owned->CenterY > document.PageHeight) {
        owned->CenterX = document.PageWidth / 2;
        owned->CenterY = document.PageHeight / 2;
    }
    TFBElement* element = owned.get();
    page->Sizeables.Add(std::move(owned));
    UndoManager().AddElementEinfuegen(element);
    document.Modified = true;
    window_.Report(QStringLiteral("pasted %1 onto page %2 as element %3")
                       .arg(className)
                       .arg(page->PageIndex())
                       .arg(element->IndexInList()));
    changed(element);
    view_.Select(element);
}

void TPageViewCommands::DeleteSelection() {
    TFBElement* selected = view_.Selected();
    if (!selected || !CanDelete())
        return;
    if (auto* frame = dynamic_cast<TFBPictureElement*>(selected)) {
        if (DocumentEdits::RemovePicture(*frame)) {
            window_.Report(QStringLiteral("removed the picture of %1").arg(describe(frame)));
            changed(frame);
        }
        return;
    }
    TFBPage* page = selected->Page;
    const QString what = describe(selected);
    view_.RepaintElement(*selected);
    view_.Select(nullptr);
    DocumentEdits::DeleteElement(*selected);
    window_.Report(QStringLiteral("deleted %1").arg(what));
    pageChanged(page);
}

// --- others -------------------------------------------------------------------------------------

TFBTextElement* TPageViewCommands::InsertTextElement() {
    TFBPage* page = view_.LeftPage() ? view_.LeftPage() : view_.RightPage();
    if (!page)
        refuse(QStringLiteral("Die Ansicht hat keine Seite"));
    TFBTextElement* text = DocumentEdits::InsertTextElement(*page);
    window_.Report(
        QStringLiteral("text element %1 on page %2").arg(text->IndexInList()).arg(page->PageIndex()));
    changed(text);
    view_.Select(text);
    return text;
}

void TPageViewCommands::ToggleOrientation(bool fromMenu) {
    TFBDocument* document = view_.Document();
    if (!document)
        return;
    const int view = view_.ViewIndex();
    view_.Select(nullptr);
    const uint8_t orientation = DocumentEdits::ToggleOrientation(*document, view);
    window_.Report(QStringLiteral("orientation %1").arg(orientation));
    view_.SetupTransformation();
    view_.RepaintAll();
    if (fromMenu)
        Multicaster().NotifyViewChanged(view_.EventSource(), document, view);
}

// --- context menu -------------------------------------------------------------------------------

TFBPictureElement* TPageViewCommands::contextFrame() const {
    return dynamic_cast<TFBPictureElement*>(view_.ContextElement());
}

std::vector<TMenuEntry> TPageViewCommands::ContextMenu() const {
    const TFBDocument* document = view_.Document();
    const TFBElement* element = view_.ContextElement();
    const TFBPictureElement* frame = contextFrame();
    const bool onFrame = frame != nullptr;
    const bool onElement = element != nullptr;
    const bool photo = showsPhoto(frame);
    const int view = view_.ViewIndex();
    const int views = document ? document->ViewCount() : 0;
    const bool canInsert = document && view >= 0 && view < views && document->CanInsertView(view);
    const bool canDeleteView = document && view >= 0 && view < views && document->CanDeleteView(view);
    return {
        entry(TMenuCommand::RotateLeft, "Bild nach links drehen", onFrame, photo),
        entry(TMenuCommand::RotateRight, "Bild nach rechts drehen", onFrame, photo),
        separator(),
        entry(TMenuCommand::FilterHKIG, "Helligkeit, Kontrast, Intensität, Gamma...", onFrame, photo),
        entry(TMenuCommand::FilterHSL, "Farbton, Sättigung, Helligkeit...", onFrame, photo),
        entry(TMenuCommand::FilterSWCol, "Schwarz-Weiß, Kolorieren...", onFrame, photo),
        entry(TMenuCommand::FilterRedEye, "Rote Augen entfernen...", onFrame, photo),
        separator(),
        entry(TMenuCommand::ChangeColour, "Farbe ändern", onFrame, showsColour(frame)),
        separator(),
        entry(TMenuCommand::ToggleOrientation, "Ausrichtung wechseln", !onElement, true),
        separator(),
        entry(TMenuCommand::InsertPageBefore, "Seite davor einfuegen", !onElement, canInsert),
        entry(TMenuCommand::InsertPageAfter, "Seite dahinter einfügen", !onElement, canInsert),
        separator(),
        entry(TMenuCommand::DeletePage, "Seite löschen", !onElement, canDeleteView),
        separator(),
        entry(TMenuCommand::PreviousPage, "Vorherige Seite", !onElement, view > 0),
        entry(TMenuCommand::NextPage, "Nächste Seite", !onElement, view < views - 1),
        separator(),
        entry(TMenuCommand::Cut, "Ausschneiden", onElement, CanCopy()),
        entry(TMenuCommand::Copy, "Kopieren", onElement, CanCopy()),
        entry(TMenuCommand::Paste, "Einfügen", onElement, CanPaste()),
        entry(TMenuCommand::Delete, "Löschen", onElement, CanDelete()),
    };
}

void TPageViewCommands::Run(TMenuCommand command) {
    TFBDocument* document = view_.Document();
    if (!document)
        return;
    TFBPictureElement* frame = contextFrame();
    const int view = view_.ViewIndex();
    const auto filter = [&](TPictureFilterKind kind) {
        if (showsPhoto(frame) && DocumentEdits::FilterPicture(*frame, kind))
            changed(frame);
    };
    switch (command) {
    case TMenuCommand::RotateLeft:
    case TMenuCommand::RotateRight:
        if (!showsPhoto(frame))
            return;
        DocumentEdits::RotatePicture(*frame, command == TMenuCommand::RotateLeft ? 2 : 0);
        changed(frame);
        return;
    case TMenuCommand::FilterHKIG:
        return filter(TPictureFilterKind::HKIG);
    case TMenuCommand::FilterHSL:
        return filter(TPictureFilterKind::HSL);
    case TMenuCommand::FilterSWCol:
        return filter(TPictureFilterKind::SWCol);
    case TMenuCommand::FilterRedEye:
        return filter(TPictureFilterKind::RedEye);
    case TMenuCommand::ChangeColour: {
        if (!showsColour(frame))
            return;
        int32_t colour = PanelRules::ColorAreaColor(*frame);
        if (!PickColor(colour))
            return;
        DocumentEdits::FillColour(*frame, colour);
        changed(frame);
        return;
    }
    case TMenuCommand::ToggleOrientation:
        ToggleOrientation(true);
        return;
    case TMenuCommand::InsertPageBefore:
    case TMenuCommand::InsertPageAfter: {
        const int at = command == TMenuCommand::InsertPageBefore ? view : view + 1;
        view_.Select(nullptr);
        DocumentEdits::InsertView(*document, at, view);
        Multicaster().PagesChanged(view_.EventSource());
        if (at != view)
            view_.SetScreen(at);
        viewSelected();
        view_.RepaintAll();
        return;
    }
    case TMenuCommand::DeletePage: {
        if (!document->CanDeleteView(view))
            return;
        const QString question = document->ScreenMode == 0
                                     ? QStringLiteral("Soll die Seite wirklich gelöscht werden?")
                                     : QStringLiteral("Soll die Doppelseite wirklich gelöscht werden?");
        if (!window_.Confirm(Translate(question)))
            return;
        view_.Select(nullptr);
        DocumentEdits::DeleteView(*document, view);
        Multicaster().PagesChanged(view_.EventSource());
        // Past the last view there is nothing to show: the new last one comes instead.
        if (view >= document->ViewCount()) {
            view_.SetScreen(document->ViewCount() - 1);
            viewSelected();
        }
        view_.RepaintAll();
        return;
    }
    case TMenuCommand::PreviousPage:
        if (view > 0) {
            view_.SetScreen(view - 1);
            viewSelected();
        }
        return;
    case TMenuCommand::NextPage:
        if (view < document->ViewCount() - 1) {
            view_.SetScreen(view + 1);
            viewSelected();
        }
        return;
    case TMenuCommand::Cut:
        Cut();
        return;
    case TMenuCommand::Copy:
        Copy();
        return;
    case TMenuCommand::Paste:
        Paste();
        return;
    case TMenuCommand::Delete:
        DeleteSelection();
        return;
    case TMenuCommand::Separator:
        return;
    }
}
