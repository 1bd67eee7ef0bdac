#include "document/uFotobuchDocumentIO.h"

#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uSetText.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uCodepage.h"
#include "platform/uDebug.h"
#include "platform/uInfoausgabe.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kAnzahl = QString::fromLatin1(kAnzahlKey);

QString indexed(const QString& base, const char* name, int index) {
    return base + QLatin1Char('/') + QLatin1String(name) + QString::number(index);
}

// Stored integers hold fields that are bytes in memory; a damaged value is cut to the byte as the
// field's type would take it.
uint8_t toByte(qint32 value) {
    return static_cast<uint8_t>(value & 0xFF);
}

float toFloat(double value) {
    return static_cast<float>(value);
}

// Layout style names of the style numbers 1 to 14; files before version 3 only knew the style by
// the name inside their layout family.
const char* const kLayoutStilNames[] = {"Tradition", "Horizon",    "Verticon", "Fullicon",     "Tradition R",
                                        "Horizon R", "Verticon R", "Spezial",  "VarenkoExtra", "Layout 1",
                                        "Layout 2",  "Layout 3",   "Layout 4", "Deckblatt"};

// Brings a file of an older version up to date (its fields were read with their defaults).
void convertOlderVersions(TFBDocument& document) {
    if (document.DocVersion < 2) {
        if (document.Dokumentname.contains(QLatin1String("Photobook")))
            document.PrintSetting = 2;
        else if (document.Dokumentname.contains(QLatin1String("PocketBooklet")))
            document.PrintSetting = 1;
        else if (document.Dokumentname.contains(QLatin1String("10x15")))
            document.PrintSetting = 3;
    }
    if (document.DocVersion < 3) {
        for (int stil = 1; stil <= 14; ++stil) {
            if (document.LayoutSubTyp.contains(QLatin1String(kLayoutStilNames[stil - 1]))) {
                document.LayoutStil = static_cast<uint8_t>(stil);
                break;
            }
        }
    }
    if (document.DocVersion < 5) {
        if (document.Pages.Count() > 0 && document.Pages.Items(0)->Pictures.Count() > 0)
            document.NurEinLayoutStil = true;
    }
}

void saveElementList(const TFBElementList& list, TCustomDataFile& file, const QString& listSection,
                     const char* memberName) {
    file.WriteInteger(listSection, kAnzahl, list.Count());
    int index = 0;
    for (const TFBElement* element : list)
        element->Save(file, indexed(listSection, memberName, index++));
}

// Elements of another kind than the list holds are dropped: every list keeps only its own kind,
// which the rest of the program relies on.
void loadElementList(TFBPage& page, TFBElementList& list, TCustomDataFile& file, const QString& listSection,
                     const char* memberName, bool (*fits)(const TFBElement&)) {
    const int count = ReadCount(file, listSection, 0);
    for (int j = 0; j < count; ++j) {
        std::unique_ptr<TFBElement> element = ReadElement(file, indexed(listSection, memberName, j), &page);
        if (!element)
            continue;
        if (!fits(*element)) {
            Debug().TraceFmt("Element %s in falscher Liste verworfen", qPrintable(element->ClassName()));
            continue;
        }
        list.Add(std::move(element));
    }
}

bool isPicture(const TFBElement& element) {
    return dynamic_cast<const TFBPictureElement*>(&element) != nullptr;
}
bool isCalendar(const TFBElement& element) {
    return dynamic_cast<const TFBKalenderElement*>(&element) != nullptr;
}
bool isSizeable(const TFBElement& element) {
    return dynamic_cast<const TFBSizeableElement*>(&element) != nullptr;
}

// A container written straight into a device from its start (the new file of a save).
class TDeviceDataFile : public TCustomDataFile {
public:
    explicit TDeviceDataFile(QIODevice& device) : TCustomDataFile(&device, false) { writeFileHeader(); }
};

} // namespace

int ReadCount(TCustomDataFile& file, const QString& section, int def) {
    const qint32 count = file.ReadInteger(section, kAnzahl, def);
    // Every member is at least one item, so no list of a sound file is longer than the stream
    // holds items; a larger count is damage and would only make the reader spin.
    const qint64 limit = file.stream()->size() / TCustomDataFile::kItemHeaderSize + 1;
    if (count > limit)
        throw Exception(QStringLiteral("Invalid file format."));
    return std::max(count, 0);
}

// ---------------------------------------------------------------------------------------------
// Section names

namespace DocSection {
QString Doc() {
    return QStringLiteral("Doc");
}
QString Pages() {
    return QStringLiteral("Doc/Pages");
}
QString Page(int index) {
    return indexed(Pages(), "Page", index);
}
QString PictureList(const QString& page) {
    return page + QStringLiteral("/Piclist");
}
QString Picture(const QString& page, int index) {
    return indexed(PictureList(page), "Pic", index);
}
QString CalendarList(const QString& page) {
    return page + QStringLiteral("/Kalenderlist");
}
QString Calendar(const QString& page, int index) {
    return indexed(CalendarList(page), "Kalender", index);
}
QString ElementList(const QString& page) {
    return page + QStringLiteral("/Elementlist");
}
QString Element(const QString& page, int index) {
    return indexed(ElementList(page), "Element", index);
}
QString KalenderData(const QString& element) {
    return element + QStringLiteral("/KalenderData");
}
QString PictureLinks() {
    return QStringLiteral("Doc/PictureLinkList");
}
QString Link(int index) {
    return indexed(PictureLinks(), "Link", index);
}
QString LinkMembers(const QString& link) {
    return link + QStringLiteral("/List");
}
QString LinkMember(const QString& link, int index) {
    return indexed(LinkMembers(link), "Pic", index);
}
QString BildManager() {
    return QStringLiteral("BildManager");
}
QString Feiertage() {
    return QStringLiteral("Feiertage");
}
QString Geburtstage() {
    return QStringLiteral("Geburtstage");
}
} // namespace DocSection

// ---------------------------------------------------------------------------------------------
// Elements: the project-file form

void TFBElement::WriteGeometry(TCustomDataFile& file, const QString& section) const {
    file.WriteFloat(section, QStringLiteral("CenterX"), CenterX);
    file.WriteFloat(section, QStringLiteral("CenterY"), CenterY);
    file.WriteFloat(section, QStringLiteral("Width"), Width);
    file.WriteFloat(section, QStringLiteral("Height"), Height);
    file.WriteFloat(section, QStringLiteral("Angle"), Angle);
}

void TFBElement::Save(TCustomDataFile& file, const QString& section) const {
    file.WriteString(section, QStringLiteral("Classname"), ClassName());
    WriteGeometry(file, section);
}
void TFBElement::Load(TCustomDataFile& file, const QString& section) {
    CenterX = toFloat(file.ReadFloat(section, QStringLiteral("CenterX"), 10));
    CenterY = toFloat(file.ReadFloat(section, QStringLiteral("CenterY"), 10));
    Width = toFloat(file.ReadFloat(section, QStringLiteral("Width"), 10));
    Height = toFloat(file.ReadFloat(section, QStringLiteral("Height"), 10));
    Angle = toFloat(file.ReadFloat(section, QStringLiteral("Angle"), 0));
}

// The keys of a frame, the same in a project and in the transfer form. "RefIndex" is written in
// both, but only a project reads it back: a transfer brings its own picture.
void TFBPictureElement::WriteFrameKeys(TCustomDataFile& file, const QString& section) const {
    file.WriteBool(section, QStringLiteral("CanZoomAndTrack"), CanZoomAndTrack);
    file.WriteFloat(section, QStringLiteral("Zoom"), Zoom);
    file.WriteFloat(section, QStringLiteral("OffsetX"), OffsetX);
    file.WriteFloat(section, QStringLiteral("OffsetY"), OffsetY);
    file.WriteInteger(section, QStringLiteral("RefIndex"), RefIndex);
    file.WriteFloat(section, QStringLiteral("BorderWidth"), BorderWidth);
    file.WriteInteger(section, QStringLiteral("BorderColor"), BorderColor);
}

void TFBPictureElement::ReadFrameKeys(TCustomDataFile& file, const QString& section) {
    CanZoomAndTrack = file.ReadBool(section, QStringLiteral("CanZoomAndTrack"), true);
    SetZoom(toFloat(file.ReadFloat(section, QStringLiteral("Zoom"), 1)));
    SetOffsetX(toFloat(file.ReadFloat(section, QStringLiteral("OffsetX"), 0.5)));
    SetOffsetY(toFloat(file.ReadFloat(section, QStringLiteral("OffsetY"), 0.5)));
    BorderWidth = toFloat(file.ReadFloat(section, QStringLiteral("BorderWidth"), 0));
    BorderColor = file.ReadInteger(section, QStringLiteral("BorderColor"), 0);
}

void TFBPictureElement::Save(TCustomDataFile& file, const QString& section) const {
    TFBElement::Save(file, section);
    WriteFrameKeys(file, section);
}

void TFBPictureElement::Load(TCustomDataFile& file, const QString& section) {
    TFBElement::Load(file, section);
    ReadFrameKeys(file, section);
    // The stored use counts of the picture store already include this use.
    RefIndex = file.ReadInteger(section, QStringLiteral("RefIndex"), -1);
}

// The keys of a text element, the same in a project and in the transfer form.
void TFBTextElement::WriteTextKeys(TCustomDataFile& file, const QString& section) const {
    // The RTF bytes are 8-bit text already; every byte maps to one character and back.
    file.WriteString(section, QStringLiteral("RTF"), Codepage::fromAnsi(RTF()));
    file.WriteBool(section, QStringLiteral("HasShadow"), HasShadow);
    file.WriteInteger(section, QStringLiteral("HorzAlign"), HorzAlign);
    file.WriteInteger(section, QStringLiteral("VertAlign"), VertAlign);
}

void TFBTextElement::ReadTextKeys(TCustomDataFile& file, const QString& section) {
    SetRTF(Codepage::toAnsi(file.ReadString(section, QStringLiteral("RTF"), QString())));
    SetHasShadow(file.ReadBool(section, QStringLiteral("HasShadow"), false));
    SetHorzAlign(toByte(file.ReadInteger(section, QStringLiteral("HorzAlign"), 0)));
    SetVertAlign(toByte(file.ReadInteger(section, QStringLiteral("VertAlign"), 0)));
}

void TFBTextElement::Save(TCustomDataFile& file, const QString& section) const {
    TFBElement::Save(file, section);
    WriteTextKeys(file, section);
}

void TFBTextElement::Load(TCustomDataFile& file, const QString& section) {
    TFBElement::Load(file, section);
    ReadTextKeys(file, section);
}

void TFBClipartElement::Save(TCustomDataFile& file, const QString& section) const {
    TFBElement::Save(file, section);
    file.WriteInteger(section, QStringLiteral("RefIndex"), RefIndex);
}

void TFBClipartElement::Load(TCustomDataFile& file, const QString& section) {
    TFBElement::Load(file, section);
    RefIndex = file.ReadInteger(section, QStringLiteral("RefIndex"), -1);
}

void TFBKalenderElement::Save(TCustomDataFile& file, const QString& section) const {
    TFBElement::Save(file, section);
    Data->Save(file, DocSection::KalenderData(section));
}

void TFBKalenderElement::Load(TCustomDataFile& file, const QString& section) {
    TFBElement::Load(file, section);
    Data->Load(file, DocSection::KalenderData(section));
}

// ---------------------------------------------------------------------------------------------
// Elements: the transfer form

void TFBElement::SaveWithPicture(TCustomDataFile& file, const QString& section) const {
    file.WriteString(section, QStringLiteral("Classname"), ClassName());
}

void TFBElement::LoadWithPicture(TCustomDataFile&, const QString&) {}

void TFBPictureElement::SaveWithPicture(TCustomDataFile& file, const QString& section) const {
    // No geometry: the receiving frame keeps its place and size.
    TFBElement::SaveWithPicture(file, section);
    WriteFrameKeys(file, section);
    // The picture itself, so that the frame can be read into any document.
    if (HasPicture())
        TBildmanager::Instance().SaveTransfer(file, section, RefIndex);
}

void TFBPictureElement::LoadWithPicture(TCustomDataFile& file, const QString& section) {
    RemovePicture();
    ReadFrameKeys(file, section);
    // "RefIndex" names a picture of the sending document and is not read; the reference comes
    // from the transferred picture, which already counts this frame's use.
    RefIndex = TBildmanager::Instance().LoadTransfer(file, section);
    if (Link)
        Link->SyncFrom(this);
}

void TFBSizeableElement::SaveWithPicture(TCustomDataFile& file, const QString& section) const {
    TFBElement::SaveWithPicture(file, section);
    WriteGeometry(file, section);
    const TFBDocument* document = Document();
    file.WriteBool(section, QStringLiteral("IsLeftPage"), document && document->IsLeftPage(Page));
}

void TFBSizeableElement::LoadWithPicture(TCustomDataFile& file, const QString& section) {
    // "IsLeftPage" is for the pasting code, which places the element on the matching page.
    TFBElement::Load(file, section);
}

void TFBTextElement::SaveWithPicture(TCustomDataFile& file, const QString& section) const {
    TFBSizeableElement::SaveWithPicture(file, section);
    WriteTextKeys(file, section);
}

void TFBTextElement::LoadWithPicture(TCustomDataFile& file, const QString& section) {
    TFBSizeableElement::LoadWithPicture(file, section);
    ReadTextKeys(file, section);
}

void TFBClipartElement::SaveWithPicture(TCustomDataFile& file, const QString& section) const {
    TFBSizeableElement::SaveWithPicture(file, section);
    if (RefIndex != -1)
        TBildmanager::Instance().SaveTransfer(file, section, RefIndex);
}

void TFBClipartElement::LoadWithPicture(TCustomDataFile& file, const QString& section) {
    TFBSizeableElement::LoadWithPicture(file, section);
    SetRefIndex(-1);
    // The transferred picture already counts this element's use.
    RefIndex = TBildmanager::Instance().LoadTransfer(file, section);
}

void TFBKalenderElement::SaveWithPicture(TCustomDataFile& file, const QString& section) const {
    // No geometry: only the calendar settings.
    TFBElement::SaveWithPicture(file, section);
    Data->Save(file, DocSection::KalenderData(section));
}

void TFBKalenderElement::LoadWithPicture(TCustomDataFile& file, const QString& section) {
    Data->Load(file, DocSection::KalenderData(section));
}

// ---------------------------------------------------------------------------------------------
// Picture links

void TFBPictureLink::Save(TCustomDataFile& file, const QString& section) const {
    const QString list = DocSection::LinkMembers(section);
    file.WriteInteger(list, kAnzahl, static_cast<qint32>(Members.size()));
    int j = 0;
    for (const TFBPictureElement* member : Members) {
        const QString memberSection = DocSection::LinkMember(section, j++);
        const TFBPage* page = member->Page;
        file.WriteInteger(memberSection, QStringLiteral("PageIndex"), page ? page->PageIndex() : -1);
        file.WriteInteger(memberSection, QStringLiteral("PicIndex"), member->IndexInList());
    }
}

void TFBPictureLink::Load(TCustomDataFile& file, const QString& section) {
    if (!Document)
        return;
    const int count = ReadCount(file, DocSection::LinkMembers(section), 0);
    for (int j = 0; j < count; ++j) {
        const QString memberSection = DocSection::LinkMember(section, j);
        const int pageIndex = file.ReadInteger(memberSection, QStringLiteral("PageIndex"), -1);
        const int picIndex = file.ReadInteger(memberSection, QStringLiteral("PicIndex"), -1);
        if (pageIndex < 0 || picIndex < 0 || pageIndex >= Document->Pages.Count())
            continue;
        const TFBPage* page = Document->Pages.Items(pageIndex);
        if (picIndex >= page->Pictures.Count())
            continue;
        TFBPictureElement* frame = page->Picture(picIndex);
        // A frame belongs to one link at most; a second claim in a damaged file is skipped, so
        // that freeing the frame can dissolve every link that names it.
        if (!frame || (frame->Link && frame->Link != this))
            continue;
        Add(frame);
    }
}

// ---------------------------------------------------------------------------------------------
// Pages and elements

void SavePage(const TFBPage& page, TCustomDataFile& file, const QString& section) {
    file.WriteInteger(section, QStringLiteral("Seitenausrichtung"), page.Seitenausrichtung);
    file.WriteInteger(section, QStringLiteral("Seitenfarbe"), page.Seitenfarbe);
    file.WriteInteger(section, QStringLiteral("CustomLayoutStil"), page.CustomLayoutStil);
    saveElementList(page.Pictures, file, DocSection::PictureList(section), "Pic");
    saveElementList(page.Calendars, file, DocSection::CalendarList(section), "Kalender");
    saveElementList(page.Sizeables, file, DocSection::ElementList(section), "Element");
}

void LoadPage(TFBPage& page, TCustomDataFile& file, const QString& section) {
    page.Pictures.Clear();
    page.Calendars.Clear();
    page.Sizeables.Clear();
    page.Seitenausrichtung = toByte(file.ReadInteger(section, QStringLiteral("Seitenausrichtung"), 0));
    page.Seitenfarbe = file.ReadInteger(section, QStringLiteral("Seitenfarbe"), 0xFFFFFF);
    page.CustomLayoutStil = toByte(file.ReadInteger(section, QStringLiteral("CustomLayoutStil"), 0));
    loadElementList(page, page.Pictures, file, DocSection::PictureList(section), "Pic", isPicture);
    loadElementList(page, page.Calendars, file, DocSection::CalendarList(section), "Kalender", isCalendar);
    loadElementList(page, page.Sizeables, file, DocSection::ElementList(section), "Element", isSizeable);
}

std::unique_ptr<TFBElement> ReadElement(TCustomDataFile& file, const QString& section, TFBPage* page) {
    if (!file.FindItem(section, QStringLiteral("Classname")))
        return nullptr;
    const QString className = file.ReadString(section, QStringLiteral("Classname"), QString());
    std::unique_ptr<TFBElement> element = CreateElementByClassName(className, page);
    if (element)
        element->Load(file, section);
    return element;
}

// ---------------------------------------------------------------------------------------------
// The document

namespace {

// The progress texts of a save; a copy taken in the background shows none.
class TSaveProgress {
public:
    explicit TSaveProgress(bool shown) : info_(shown ? &InfoAusgabe() : nullptr) {}
    void Info(const QString& text) const {
        if (info_)
            info_->Info(text);
    }
    void PageSaved(int number) const {
        // This text is shown as it is in every language.
        if (info_)
            info_->InfoFmt(QStringLiteral("Seite %d wird gespeichert"), number);
    }
    bool Shown() const { return info_ != nullptr; }

private:
    TInfoAusgabe* info_;
};

void writeDocument(const TFBDocument& document, TCustomDataFile& file, const TSaveProgress& info) {
    info.Info(Translate(QStringLiteral("Dokument wird gespeichert")));

    const QString doc = DocSection::Doc();
    file.WriteInteger(doc, QStringLiteral("DocVersion"), document.DocVersion);
    file.WriteFloat(doc, QStringLiteral("PageWidth"), document.PageWidth);
    file.WriteFloat(doc, QStringLiteral("PageHeight"), document.PageHeight);
    file.WriteFloat(doc, QStringLiteral("Stegbreite"), document.Stegbreite);
    file.WriteFloat(doc, QStringLiteral("Umschlagbreite"), document.Umschlagbreite);
    file.WriteString(doc, QStringLiteral("PrintPaperName"), document.PrintPaperName);
    file.WriteInteger(doc, QStringLiteral("PrintPaperSize"), document.PrintPaperSize);
    file.WriteFloat(doc, QStringLiteral("PrintPaperWidth"), document.PrintPaperWidth);
    file.WriteFloat(doc, QStringLiteral("PrintPaperHeight"), document.PrintPaperHeight);
    file.WriteString(doc, QStringLiteral("PrintPaperType"), document.PrintPaperType);
    file.WriteString(doc, QStringLiteral("Dokumentname"), document.Dokumentname);
    file.WriteBool(doc, QStringLiteral("PicturesHaveShadows"), document.PicturesHaveShadows);
    file.WriteBool(doc, QStringLiteral("PrintBorderless"), document.PrintBorderless);
    file.WriteBool(doc, QStringLiteral("PictureShadowsAllowed"), document.PictureShadowsAllowed);
    file.WriteInteger(doc, QStringLiteral("ScreenMode"), document.ScreenMode);
    file.WriteInteger(doc, QStringLiteral("DocType"), document.DocType);
    file.WriteInteger(doc, QStringLiteral("PrintSetting"), document.PrintSetting);
    file.WriteString(doc, QStringLiteral("Layouttypen"),
                     SetToString(LayoutTypenSetType(), document.Layouttypen.Bits()));
    file.WriteString(doc, QStringLiteral("LayoutSubTyp"), document.LayoutSubTyp);
    file.WriteInteger(doc, QStringLiteral("LayoutStil"), document.LayoutStil);
    file.WriteFloat(doc, QStringLiteral("ScreenQuerformatWinkel"), document.ScreenQuerformatWinkel);
    file.WriteBool(doc, QStringLiteral("NurEinLayoutStil"), document.NurEinLayoutStil);

    file.WriteInteger(DocSection::Pages(), kAnzahl, document.Pages.Count());
    for (int i = 0; i < document.Pages.Count(); ++i) {
        info.PageSaved(i + 1);
        SavePage(*document.Pages.Items(i), file, DocSection::Page(i));
    }

    info.Info(QStringLiteral("Picturelinks werden gespeichert"));
    file.WriteInteger(DocSection::PictureLinks(), kAnzahl, static_cast<qint32>(document.PictureLinks.size()));
    for (size_t i = 0; i < document.PictureLinks.size(); ++i)
        document.PictureLinks[i]->Save(file, DocSection::Link(static_cast<int>(i)));

    info.Info(Translate(QStringLiteral("Bilder werden gespeichert")));
    TBildmanager::Instance().Save(file, DocSection::BildManager(), info.Shown());

    document.Feiertage.Save(file, DocSection::Feiertage());
    document.Geburtstage.Save(file, DocSection::Geburtstage());

    info.Info(QString());
}

} // namespace

void SaveDocument(TFBDocument& document, TCustomDataFile& file) {
    writeDocument(document, file, TSaveProgress(true));
    document.Modified = false;
}

void WriteDocumentItems(const TFBDocument& document, TCustomDataFile& file) {
    writeDocument(document, file, TSaveProgress(false));
}

void LoadDocument(TFBDocument& document, TCustomDataFile& file) {
    document.Reset();
    TInfoAusgabe& info = InfoAusgabe();
    info.Info(Translate(QStringLiteral("Dokument wird geladen")));

    const QString doc = DocSection::Doc();
    document.DocVersion = file.ReadInteger(doc, QStringLiteral("DocVersion"), 0);
    document.PageWidth = toFloat(file.ReadFloat(doc, QStringLiteral("PageWidth"), 148.5));
    document.PageHeight = toFloat(file.ReadFloat(doc, QStringLiteral("PageHeight"), 210));
    document.Stegbreite = toFloat(file.ReadFloat(doc, QStringLiteral("Stegbreite"), 2));
    document.Umschlagbreite = toFloat(file.ReadFloat(doc, QStringLiteral("Umschlagbreite"), 4));
    document.PrintPaperName =
        file.ReadString(doc, QStringLiteral("PrintPaperName"), QStringLiteral("ID_DINA4"));
    document.PrintPaperSize = file.ReadInteger(doc, QStringLiteral("PrintPaperSize"), 9);
    document.PrintPaperWidth = toFloat(file.ReadFloat(doc, QStringLiteral("PrintPaperWidth"), 210));
    document.PrintPaperHeight = toFloat(file.ReadFloat(doc, QStringLiteral("PrintPaperHeight"), 297));
    // Without a stored paper type the reset value's display text is taken.
    document.PrintPaperType =
        file.ReadString(doc, QStringLiteral("PrintPaperType"), document.PaperDisplayName());
    document.Dokumentname = file.ReadString(doc, QStringLiteral("Dokumentname"), QString());
    document.PicturesHaveShadows = file.ReadBool(doc, QStringLiteral("PicturesHaveShadows"), true);
    document.PrintBorderless = file.ReadBool(doc, QStringLiteral("PrintBorderless"), false);
    document.PictureShadowsAllowed = file.ReadBool(doc, QStringLiteral("PictureShadowsAllowed"), true);
    document.ScreenMode = toByte(file.ReadInteger(doc, QStringLiteral("ScreenMode"), 1));
    document.DocType = toByte(file.ReadInteger(doc, QStringLiteral("DocType"), 1));
    document.PrintSetting = toByte(file.ReadInteger(doc, QStringLiteral("PrintSetting"), 0));
    document.Layouttypen = TFBLayoutTypen::All();
    const QString layouttypen = file.ReadString(doc, QStringLiteral("Layouttypen"), QString());
    if (!layouttypen.isEmpty()) {
        quint64 bits = 0;
        try {
            StringToSet(layouttypen, LayoutTypenSetType(), bits);
        } catch (const Exception& error) {
            // A misspelt member keeps the members read before it.
            Debug().TraceFmt("Layouttypen: %s", qPrintable(error.message()));
        }
        document.Layouttypen = TFBLayoutTypen::FromBits(static_cast<uint32_t>(bits));
    }
    document.LayoutSubTyp = file.ReadString(doc, QStringLiteral("LayoutSubTyp"), QString());
    document.LayoutStil = toByte(file.ReadInteger(doc, QStringLiteral("LayoutStil"), 0));
    document.ScreenQuerformatWinkel =
        toFloat(file.ReadFloat(doc, QStringLiteral("ScreenQuerformatWinkel"), 90));
    document.NurEinLayoutStil = file.ReadBool(doc, QStringLiteral("NurEinLayoutStil"), false);

    const int pageCount = ReadCount(file, DocSection::Pages(), 1);
    for (int i = 0; i < pageCount; ++i) {
        info.InfoFmt(Translate(QStringLiteral("Seitenlayout %d wird geladen")), i + 1);
        TFBPage* page = document.Pages.Add(std::make_unique<TFBPage>(&document));
        LoadPage(*page, file, DocSection::Page(i));
    }

    // This text is shown as it is in every language.
    info.Info(QStringLiteral("Picturelinks werden geladen"));
    const int linkCount = ReadCount(file, DocSection::PictureLinks(), 0);
    for (int i = 0; i < linkCount; ++i) {
        auto link = std::make_unique<TFBPictureLink>(&document);
        link->Load(file, DocSection::Link(i));
        document.PictureLinks.push_back(std::move(link));
    }

    info.Info(Translate(QStringLiteral("Bilder werden geladen")));
    TBildmanager::Instance().Load(file, DocSection::BildManager());

    document.Feiertage.Load(file, DocSection::Feiertage());
    document.Geburtstage.Load(file, DocSection::Geburtstage());
    info.Info(QString());

    convertOlderVersions(document);
    document.DocVersion = kCurrentDocVersion;
    document.Modified = false;
}

// ---------------------------------------------------------------------------------------------
// Project files

void ReadContainerFile(const QString& path, const std::function<void(TCustomDataFile&)>& read) {
    try {
        const QFileInfo info(path);
        if (!info.isFile()) {
            throw Exception(
                QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(QDir::toNativeSeparators(path)));
        }
        // Only read: an empty or foreign file must not get a header written into it.
        TDataFile file(path, TDataFile::OpenMode::ReadOnly);
        // Every container starts with its header; anything else is not a project file, and loading
        // it as an empty document would invite saving that over the user's file.
        if (!file.HasValidHeader())
            throw Exception(QStringLiteral("Invalid file format."));
        // A complete container ends exactly with its last item. A file cut short (a copy broken
        // off, a save interrupted by an older program) would load as a silently shortened album,
        // which a later save would make permanent.
        qint64 end = TCustomDataFile::kHeaderSize;
        if (!file.CacheItems().empty()) {
            const TDataFileCacheItem& last = file.CacheItems().back();
            end = last.Position + TCustomDataFile::kItemHeaderSize + last.Size;
        }
        if (end != file.stream()->size())
            throw Exception(Translate(QStringLiteral("Die Datei ist unvollständig oder beschädigt.")));
        read(file);
    } catch (...) {
        InfoAusgabe().Info(QString());
        throw;
    }
}

void WriteWholeFile(const QString& path, const std::function<void(QIODevice&)>& write,
                    const TWriteFaults& faults) {
    const QFileInfo info(path);
    if (info.exists() && !info.permissions().testFlag(QFileDevice::WriteOwner))
        throw Exception(QStringLiteral("Die Datei ist schreibgeschützt"));
    try {
        TAtomicFile target(path, faults);
        write(target);
        target.Commit();
    } catch (const Exception& error) {
        QString message = QStringLiteral("Das Album konnte nicht als \"%1\" gespeichert werden.")
                              .arg(QDir::toNativeSeparators(path));
        if (info.exists())
            message += QLatin1Char(' ') + QStringLiteral("Die bisherige Datei ist unverändert.");
        throw Exception(message + QLatin1Char('\n') + error.message());
    }
}

void WriteContainerFile(const QString& path, const std::function<void(TCustomDataFile&)>& write,
                        const TWriteFaults& faults) {
    try {
        WriteWholeFile(
            path,
            [&write](QIODevice& target) {
                TDeviceDataFile file(target);
                write(file);
            },
            faults);
    } catch (...) {
        // Whatever the failed save showed is closed.
        InfoAusgabe().Info(QString());
        throw;
    }
}

void LoadDocumentFromFile(TFBDocument& document, const QString& path) {
    ReadContainerFile(path, [&document](TCustomDataFile& file) { LoadDocument(document, file); });
}

void SaveDocumentToFile(TFBDocument& document, const QString& path, const TWriteFaults& faults) {
    const bool wasModified = document.Modified;
    try {
        WriteContainerFile(
            path, [&document](TCustomDataFile& file) { SaveDocument(document, file); }, faults);
    } catch (...) {
        // Nothing was saved: the changes are still unsaved.
        document.Modified = wasModified;
        throw;
    }
}
