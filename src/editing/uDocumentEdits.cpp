#include "editing/uDocumentEdits.h"

#include "calendar/uKalender.h"
#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "filters/uPictureFilter.h"
#include "platform/Exception.h"

namespace {

[[noreturn]] void refuse(const QString& message) {
    throw Exception(message);
}

TFBDocument& documentOf(const TFBElement& element) {
    TFBDocument* document = element.Document();
    if (!document || element.IndexInList() < 0)
        refuse(QStringLiteral("Das Element gehört zu keinem Dokument"));
    return *document;
}

void requirePicture(const TFBPictureElement& frame) {
    documentOf(frame);
    if (!frame.HasPicture())
        refuse(QStringLiteral("Der Bildrahmen zeigt kein Bild"));
}

void requireSizeable(const TFBElement& element) {
    documentOf(element);
    if (!dynamic_cast<const TFBSizeableElement*>(&element))
        refuse(QStringLiteral("Nur Text und Clipart lassen sich so bearbeiten"));
}

void modified(const TFBElement& element) {
    documentOf(element).Modified = true;
}

bool shownTurned(const TFBPage& page) {
    return page.Seitenausrichtung != 0;
}

TFBPage& ownPage(const TFBElement& element) {
    documentOf(element);
    return *element.Page;
}

} // namespace

namespace DocumentEdits {

void InsertPicture(TFBPictureElement& frame, const QString& path) {
    documentOf(frame);
    UndoManager().AddBildEinfuegen(&frame);
    frame.SetPictureFile(path);
    modified(frame);
}

void FillColour(TFBPictureElement& frame, int32_t colour) {
    documentOf(frame);
    UndoManager().AddFarbeEinfuegen(&frame);
    frame.SetColorFill(colour & 0xFFFFFF);
    modified(frame);
}

bool RemovePicture(TFBPictureElement& frame) {
    documentOf(frame);
    if (!frame.HasPicture())
        return false;
    UndoManager().AddBildLoeschen(&frame);
    frame.RemovePicture();
    modified(frame);
    return true;
}

void RotatePicture(TFBPictureElement& frame, int direction) {
    requirePicture(frame);
    if (direction < 0 || direction > 2)
        refuse(QStringLiteral("Unbekannte Drehrichtung %1").arg(direction));
    UndoManager().AddBildDrehen(&frame);
    frame.RotatePicture(direction);
    modified(frame);
}

bool FilterPicture(TFBPictureElement& frame, TPictureFilterKind kind) {
    requirePicture(frame);
    UndoManager().AddBildFilter(&frame);
    bool confirmed = false;
    try {
        confirmed = ApplyFilter(frame, kind);
    } catch (...) {
        // A failing dialog changed nothing either.
        UndoManager().DropLast();
        throw;
    }
    if (!confirmed) {
        // A cancelled dialog is no step of its own.
        UndoManager().DropLast();
        return false;
    }
    modified(frame);
    return true;
}

void ZoomPicture(TFBPictureElement& frame, float zoom, bool merge) {
    requirePicture(frame);
    UndoManager().AddBildZoomPan(&frame, merge);
    frame.SetZoom(zoom);
    modified(frame);
}

void PanPicture(TFBPictureElement& frame, float offsetX, float offsetY) {
    requirePicture(frame);
    UndoManager().AddBildZoomPan(&frame, false);
    frame.SetOffsetX(offsetX);
    frame.SetOffsetY(offsetY);
    modified(frame);
}

void SwapPictures(TFBPictureElement& target, TFBPictureElement& source) {
    documentOf(target);
    requirePicture(source);
    if (&target == &source)
        refuse(QStringLiteral("Ein Bild lässt sich nicht mit sich selbst tauschen"));
    UndoManager().AddBildAustauschen(&target, &source);
    TFBPictureElement::SwapPictures(target, source);
    modified(target);
}

void CopyPicture(TFBPictureElement& target, const TFBPictureElement& source) {
    documentOf(target);
    requirePicture(source);
    UndoManager().AddBildEinfuegen(&target);
    target.CopyPictureFrom(source);
    modified(target);
}

void InsertView(TFBDocument& document, int view, int source) {
    if (source < 0 || source >= document.ViewCount() || !document.CanInsertView(source) ||
        (view != source && view != source + 1))
        refuse(QStringLiteral("Hier kann keine Seite eingefügt werden"));
    UndoManager().AddSeiteEinfuegen(view);
    document.InsertView(view, source);
    document.Modified = true;
}

void DeleteView(TFBDocument& document, int view) {
    if (view < 0 || view >= document.ViewCount() || !document.CanDeleteView(view))
        refuse(QStringLiteral("Diese Seite kann nicht gelöscht werden"));
    UndoManager().AddSeiteLoeschen(document, view);
    document.DeleteView(view);
    document.Modified = true;
}

void MoveView(TFBDocument& document, int from, int to) {
    const auto movable = [&](int v) {
        if (v < 0 || v >= document.ViewCount())
            return false;
        return document.ScreenMode == 0 || (document.LeftPage(v) && document.RightPage(v));
    };
    if (document.IsCalendar() || from == to || !movable(from) || !movable(to))
        refuse(QStringLiteral("Diese Seite kann nicht verschoben werden"));
    UndoManager().AddSeiteVerschieben(from, to);
    document.MoveView(from, to);
    document.Modified = true;
}

uint8_t ToggleOrientation(TFBDocument& document, int view) {
    if (view < 0 || view >= document.ViewCount())
        refuse(QStringLiteral("Die Ansicht %1 gibt es nicht").arg(view));
    UndoManager().AddLayoutEinfuegen(document, view);
    const uint8_t orientation = document.ViewOrientation(view) == 0 ? 1 : 0;
    document.SetViewOrientation(view, orientation);
    document.Modified = true;
    return orientation;
}

void ApplyLayout(TFBDocument& document, TFBPage& page, const TFBPageTemplate& layout) {
    const int index = document.Pages.IndexOf(&page);
    if (index < 0)
        refuse(QStringLiteral("Die Seite gehört zu keinem Dokument"));
    UndoManager().AddLayoutEinfuegen(document, document.ViewOfPage(index));
    layout.ApplyToPage(page);
    document.Modified = true;
}

TFBTextElement* InsertTextElement(TFBPage& page) {
    TFBDocument* document = page.Document;
    if (!document || document->Pages.IndexOf(&page) < 0)
        refuse(QStringLiteral("Die Seite gehört zu keinem Dokument"));
    auto owned = std::make_unique<TFBTextElement>(&page);
    TFBTextElement* text = owned.get();
    text->SetHasShadow(true);
    text->IsNew = true;
    text->Width = 0.6f * document->PageWidth;
    if (shownTurned(page)) {
        text->Width = 0.6f * document->PageHeight;
        text->Angle = -document->ScreenQuerformatWinkel;
    }
    text->Height = 20;
    text->CenterX = document->PageWidth / 2;
    text->CenterY = document->PageHeight / 2;
    page.Sizeables.Add(std::move(owned));
    UndoManager().AddElementEinfuegen(text);
    document->Modified = true;
    return text;
}

TFBClipartElement* InsertClipart(TFBPage& page, const QString& path, float x, float y) {
    TFBDocument* document = page.Document;
    if (!document || document->Pages.IndexOf(&page) < 0)
        refuse(QStringLiteral("Die Seite gehört zu keinem Dokument"));
    auto owned = std::make_unique<TFBClipartElement>(&page);
    TFBClipartElement* clipart = owned.get();
    clipart->SetClipartFile(path);
    if (shownTurned(page))
        clipart->Angle -= document->ScreenQuerformatWinkel;
    clipart->CenterX = x;
    clipart->CenterY = y;
    page.Sizeables.Add(std::move(owned));
    UndoManager().AddElementEinfuegen(clipart);
    document->Modified = true;
    return clipart;
}

void DeleteElement(TFBElement& element) {
    requireSizeable(element);
    TFBDocument& document = documentOf(element);
    UndoManager().AddElementLoeschen(&element);
    element.Page->Sizeables.Remove(&element);
    document.Modified = true;
}

void SizeElement(TFBElement& element, float width, float height, float angle) {
    requireSizeable(element);
    UndoManager().AddElementSizePos(&element);
    element.Width = width;
    element.Height = height;
    element.Angle = angle;
    UndoManager().SetElementDestination(&element);
    modified(element);
}

void MoveElement(TFBElement& element, float x, float y, TFBPage* target) {
    requireSizeable(element);
    TFBDocument& document = documentOf(element);
    if (target && document.Pages.IndexOf(target) < 0)
        refuse(QStringLiteral("Die Zielseite gehört nicht zum Dokument"));
    UndoManager().AddElementSizePos(&element);
    if (target && target != &ownPage(element))
        document.MoveElementToPage(&element, target);
    element.CenterX = x;
    element.CenterY = y;
    UndoManager().SetElementDestination(&element);
    document.Modified = true;
}

void SetCalendarLook(TFBKalenderElement& calendar, const TKalenderData& look) {
    TFBDocument& document = documentOf(calendar);
    const TKalenderDataSnapshot snapshot(look);
    UndoManager().AddKalenderEigenschaften(&calendar);
    snapshot.RestoreTo(*calendar.Data);
    calendar.Painter.reset();
    document.Modified = true;
}

void SetCalendarLookForAll(TFBDocument& document, TFBKalenderElement& calendar, const TKalenderData& look) {
    if (calendar.Document() != &document)
        refuse(QStringLiteral("Der Kalender gehört nicht zum Dokument"));
    const TKalenderDataSnapshot snapshot(look);
    UndoManager().AddKalenderEigenschaftenFuerAlle(document);
    snapshot.RestoreTo(*calendar.Data);
    document.ApplyCalendarToAll(*calendar.Data);
    for (const TFBPage* page : document.Pages)
        for (TFBElement* element : page->Calendars)
            static_cast<TFBKalenderElement*>(element)->Painter.reset();
    document.Modified = true;
}

void SetCalendarStart(TFBDocument& document, int year, int month) {
    if (month < 1 || month > 12 || year < 1700 || year > 2500)
        refuse(QStringLiteral("Ungültiger Kalenderbeginn %1/%2").arg(month).arg(year));
    TFBKalenderElement* first = nullptr;
    for (const TFBPage* page : document.Pages)
        if (!first && page->Calendars.Count() > 0)
            first = page->Calendar(0);
    if (!first)
        refuse(QStringLiteral("Das Dokument hat keinen Kalender"));
    UndoManager().AddKalenderJahrSetzen(first);
    document.SetCalendarStart(year, month);
    document.Modified = true;
}

} // namespace DocumentEdits
