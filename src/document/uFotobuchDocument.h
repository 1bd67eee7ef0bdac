#pragma once

#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "document/uFotobuchList.h"
#include "platform/Exception.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

// The in-memory form of one project: page geometry and paper settings, the pages, and on each page
// three element lists (picture frames, calendars, text and clipart). Lengths are millimetres
// (float), the page origin is its top-left corner with y downwards, angles are degrees turning
// clockwise about the element's centre, colours are 0x00BBGGRR. Pictures live in the picture
// manager; elements hold a reference (`RefIndex`, -1 = none).

class TCustomDataFile;
class TFBDocument;
class TFBPage;
class TFBElement;
class TFBPictureElement;
class TFBPictureLink;
enum class TPictureFilterKind;

struct TFBPointF {
    float X = 0;
    float Y = 0;
    bool operator==(const TFBPointF&) const = default;
};

struct TFBSizeF {
    float Width = 0;
    float Height = 0;
    bool operator==(const TFBSizeF&) const = default;
};

struct TFBRectF {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
    float Width() const { return Right - Left; }
    float Height() const { return Bottom - Top; }
    bool operator==(const TFBRectF&) const = default;
};

// A rectangle of picture pixels; Right and Bottom are one past the last pixel.
struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TPixelRect&) const = default;
};

// The layout types a product offers; stored as a set of ordinals 0-16.
enum class TFBLayoutTyp : uint8_t {
    ltPhotoBook86,
    ltPhotoBook85,
    ltPhotoBook46,
    ltPhotoBooklet43,
    ltSingles10x15,
    ltPhotoBook88,
    ltPhotoBook85Randlos,
    ltDINA4,
    ltDINA4Randlos,
    ltSingles13x18,
    ltPhotoBookPro,
    ltPhotoBookProRandlos,
    ltPhotobook10x15A,
    ltPhotobook10x15B,
    ltKalenderA4,
    ltKalenderA5,
    ltKalenderA6,
};
constexpr int kLayoutTypCount = 17;

class TFBLayoutTypen {
public:
    constexpr TFBLayoutTypen() = default;
    static constexpr TFBLayoutTypen All() { return FromBits((1u << kLayoutTypCount) - 1); }
    static constexpr TFBLayoutTypen FromBits(uint32_t bits) {
        TFBLayoutTypen set;
        set.bits_ = bits & ((1u << kLayoutTypCount) - 1);
        return set;
    }
    constexpr uint32_t Bits() const { return bits_; }
    constexpr bool Contains(TFBLayoutTyp t) const { return bits_ & bit(t); }
    constexpr void Include(TFBLayoutTyp t) { bits_ |= bit(t); }
    constexpr void Exclude(TFBLayoutTyp t) { bits_ &= ~bit(t); }
    constexpr bool IsEmpty() const { return bits_ == 0; }
    bool operator==(const TFBLayoutTypen&) const = default;

private:
    static constexpr uint32_t bit(TFBLayoutTyp t) { return 1u << static_cast<unsigned>(t); }
    uint32_t bits_ = 0;
};

class TFBPageList : public TFBOwningList<TFBPage> {};
class TFBElementList : public TFBOwningList<TFBElement> {};

// Drawing state the renderer keeps with an element (laid-out text, shadow image, calendar
// painter). The model owns it and drops it when it becomes stale; the drawer makes it anew.
class TElementDrawCache {
public:
    virtual ~TElementDrawCache() = default;
};

// Anything placed on a page: a centre, an unturned size and an angle.
class TFBElement {
public:
    explicit TFBElement(TFBPage* page);
    TFBElement(const TFBElement&) = delete;
    TFBElement& operator=(const TFBElement&) = delete;
    virtual ~TFBElement();

    // The stored class name ("Classname").
    virtual QString ClassName() const { return QStringLiteral("TFBElement"); }
    // Index in the page list of this element's kind; -1 when in none.
    virtual int IndexInList() const;
    // Printing renders such an element together with what lies under it.
    virtual bool NeedsBackground() const { return false; }
    // (x, y) in element coordinates: origin at the centre, axes turned with the element.
    virtual bool HitTest(float x, float y) const;

    // The project-file form: "Classname" and the element's keys in its section (the document file
    // unit holds the code of these four).
    virtual void Save(TCustomDataFile& file, const QString& section) const;
    virtual void Load(TCustomDataFile& file, const QString& section);
    // The self-contained form of clipboard, drag and drop and undo records: it carries the picture
    // itself instead of a reference into the document's picture store.
    virtual void SaveWithPicture(TCustomDataFile& file, const QString& section) const;
    virtual void LoadWithPicture(TCustomDataFile& file, const QString& section);

    TFBDocument* Document() const;
    TFBRectF BoundingBox() const;
    TFBSizeF RotatedSize() const;
    float Left() const { return CenterX - Width / 2; }
    float Right() const { return CenterX + Width / 2; }
    float Top() const { return CenterY - Height / 2; }
    float Bottom() const { return CenterY + Height / 2; }
    // The unturned rectangle in page coordinates.
    TFBRectF Rect() const { return {Left(), Top(), Right(), Bottom()}; }
    // Maps a page point into this element's coordinates.
    TFBPointF ToElementCoordinates(float x, float y) const;

    TFBPage* Page = nullptr;
    float CenterX = 0;
    float CenterY = 0;
    float Width = 0;
    float Height = 0;
    float Angle = 0;

protected:
    // The page list that holds elements of this kind; nullptr for the base class.
    virtual TFBElementList* KindList() const;
    // "CenterX", "CenterY", "Width", "Height" and "Angle".
    void WriteGeometry(TCustomDataFile& file, const QString& section) const;
};

// A picture frame: a picture shown zoomed and panned inside a rectangle, with an optional border.
// Frames of one panorama link show the same picture, zoom and pan.
class TFBPictureElement : public TFBElement {
public:
    explicit TFBPictureElement(TFBPage* page);
    ~TFBPictureElement() override;

    QString ClassName() const override { return QStringLiteral("TFBPictureElement"); }
    bool NeedsBackground() const override { return true; }
    void Save(TCustomDataFile& file, const QString& section) const override;
    void Load(TCustomDataFile& file, const QString& section) override;
    void SaveWithPicture(TCustomDataFile& file, const QString& section) const override;
    void LoadWithPicture(TCustomDataFile& file, const QString& section) override;

    bool HasPicture() const { return RefIndex != -1; }
    // The new reference gains a use before the old one gives its use back.
    void SetRefIndex(int ref);
    void SetZoom(float zoom);
    void SetOffsetX(float offset);
    void SetOffsetY(float offset);
    void SetBorderWidth(float width);
    void SetBorderColor(int32_t color);
    void SetPictureFile(const QString& path);
    void SetColorFill(int32_t color);
    void RemovePicture();
    void CopyPictureFrom(const TFBPictureElement& other);
    static void SwapPictures(TFBPictureElement& a, TFBPictureElement& b);
    // direction 0: a quarter turn clockwise, 1: a half turn, 2: a quarter turn counter-clockwise.
    void RotatePicture(int direction);
    bool FilterHKIG();
    bool FilterHSL();
    bool FilterRedEye();
    bool FilterSWCol();

    // The decoded picture; a null image for an empty frame.
    QImage GetBitmap() const;
    // The picture pixels the frame shows; quality 0 of the full picture, 1 of the preview.
    TPixelRect GetSourceRect(int quality) const;
    // Picture pixels per inch that the frame shows; 0 without picture.
    int EffectiveDpi() const;
    // The next frame in document order, or nullptr at the end.
    TFBPictureElement* NextPictureElement() const;

    bool CanZoomAndTrack = false;
    TFBPictureLink* Link = nullptr;
    float BorderWidth = 0;
    int32_t BorderColor = 0;
    float Zoom = 1;
    float OffsetY = 0.5f;
    float OffsetX = 0.5f;
    int32_t RefIndex = -1;

protected:
    TFBElementList* KindList() const override;

private:
    friend class TFBPictureLink;
    void WriteFrameKeys(TCustomDataFile& file, const QString& section) const;
    void ReadFrameKeys(TCustomDataFile& file, const QString& section);
    void syncLink();
    // Angle at which the page is shown on screen (filter dialogs show the picture that way).
    int displayAngle() const;
    void makeUnique();
    // Runs the filter dialog on a private copy of the picture; true when the user confirmed.
    bool runFilter(TPictureFilterKind kind);
};

// Base of the elements the user sizes freely (text and clipart).
class TFBSizeableElement : public TFBElement {
public:
    explicit TFBSizeableElement(TFBPage* page) : TFBElement(page) {}
    QString ClassName() const override { return QStringLiteral("TFBSizeableElement"); }
    // Geometry and "IsLeftPage" travel with a copied text or clipart element.
    void SaveWithPicture(TCustomDataFile& file, const QString& section) const override;
    void LoadWithPicture(TCustomDataFile& file, const QString& section) override;

protected:
    TFBElementList* KindList() const override;
};

// Rich text. The text is kept as its RTF bytes; the drawer lays it out and makes the shadow image.
class TFBTextElement : public TFBSizeableElement {
public:
    explicit TFBTextElement(TFBPage* page) : TFBSizeableElement(page) {}
    QString ClassName() const override { return QStringLiteral("TFBTextElement"); }
    bool NeedsBackground() const override { return HasShadow; }
    void Save(TCustomDataFile& file, const QString& section) const override;
    void Load(TCustomDataFile& file, const QString& section) override;
    void SaveWithPicture(TCustomDataFile& file, const QString& section) const override;
    void LoadWithPicture(TCustomDataFile& file, const QString& section) override;

    const QByteArray& RTF() const { return rtf_; }
    // Replaces the text; the laid-out text and the shadow image become stale.
    void SetRTF(const QByteArray& rtf);
    // false frees the shadow image; true marks it to be made.
    void SetHasShadow(bool value);
    void SetHorzAlign(uint8_t value);
    void SetVertAlign(uint8_t value);

    float CachedWidth = 0;
    float CachedHeight = 0;
    bool Dirty = true;
    // The laid-out text, made by the drawer; dropped whenever the text changes.
    std::unique_ptr<TElementDrawCache> Drawer;
    // The shadow image, made by the drawer; only while `HasShadow`.
    std::unique_ptr<TElementDrawCache> ShadowBitmap;
    float ShadowWidth = 0;
    float ShadowHeight = 0;
    bool HasShadow = false;
    uint8_t HorzAlign = 0;
    uint8_t VertAlign = 0;
    // Inserted by the user and not yet shown in the text panel, which gives a new empty element
    // the remembered defaults. Not stored.
    bool IsNew = false;

private:
    void WriteTextKeys(TCustomDataFile& file, const QString& section) const;
    void ReadTextKeys(TCustomDataFile& file, const QString& section);

    QByteArray rtf_;
};

// A clipart picture, usually with transparency; clicks on transparent pixels pass through.
class TFBClipartElement : public TFBSizeableElement {
public:
    explicit TFBClipartElement(TFBPage* page) : TFBSizeableElement(page) {}
    ~TFBClipartElement() override;

    QString ClassName() const override { return QStringLiteral("TFBClipartElement"); }
    bool NeedsBackground() const override { return true; }
    bool HitTest(float x, float y) const override;
    void Save(TCustomDataFile& file, const QString& section) const override;
    void Load(TCustomDataFile& file, const QString& section) override;
    void SaveWithPicture(TCustomDataFile& file, const QString& section) const override;
    void LoadWithPicture(TCustomDataFile& file, const QString& section) override;

    // Loads the picture and sizes the element to half the page (keeping the centre).
    void SetClipartFile(const QString& path);
    void SetRefIndex(int ref);
    QImage GetBitmap() const;

    int32_t RefIndex = -1;
};

// The calendar grid of one month.
class TFBKalenderElement : public TFBElement {
public:
    explicit TFBKalenderElement(TFBPage* page) : TFBElement(page), Data(std::make_unique<TKalenderData>()) {}
    QString ClassName() const override { return QStringLiteral("TFBKalenderElement"); }
    void Save(TCustomDataFile& file, const QString& section) const override;
    void Load(TCustomDataFile& file, const QString& section) override;
    void SaveWithPicture(TCustomDataFile& file, const QString& section) const override;
    void LoadWithPicture(TCustomDataFile& file, const QString& section) override;

    std::unique_ptr<TKalenderData> Data;
    // The painter of the calendar type, made anew by the drawer each time it draws.
    std::unique_ptr<TElementDrawCache> Painter;

protected:
    TFBElementList* KindList() const override;
};

// Picture frames that show one picture together as a panorama. Owned by the document's
// `PictureLinks`; the members are not owned.
class TFBPictureLink {
public:
    explicit TFBPictureLink(TFBDocument* document) : Document(document) {}
    TFBPictureLink(const TFBPictureLink&) = delete;
    TFBPictureLink& operator=(const TFBPictureLink&) = delete;
    ~TFBPictureLink() { Clear(); }

    void Add(TFBPictureElement* frame);
    void Clear();
    // Every other member takes the frame's picture, zoom, pan and border.
    void SyncFrom(const TFBPictureElement* frame);
    // The common panorama area in the frame's page coordinates (members on the facing page are
    // shifted across the spine).
    TFBRectF UnionRect(const TFBPictureElement* frame) const;

    // Each member as the index of its page and its index in that page's picture list.
    void Save(TCustomDataFile& file, const QString& section) const;
    // Appends the stored members that name an existing frame of the document (and sets their Link).
    void Load(TCustomDataFile& file, const QString& section);

    std::vector<TFBPictureElement*> Members;
    TFBDocument* Document = nullptr;
};

// Element kinds for the page hit test.
enum TFBHitKind : int { hkPictures = 1, hkSizeables = 2, hkCalendars = 4, hkAll = 7 };

class TFBPage {
public:
    explicit TFBPage(TFBDocument* document) : Document(document) {}
    TFBPage(const TFBPage&) = delete;
    TFBPage& operator=(const TFBPage&) = delete;
    ~TFBPage();

    int PageIndex() const;
    int ViewIndex() const;
    bool IsLeftPage() const;
    // A text, clipart or calendar element, or a frame with a picture.
    bool HasContent() const;
    // Replaces the page's elements by empty, unturned frames and default calendars at the places of
    // the source's frames and calendars; a null source leaves the page empty.
    void CopyFrameLayout(const TFBPage* source);
    // The topmost element of the asked kinds (TFBHitKind bits) under the page point, or nullptr.
    TFBElement* HitTest(float x, float y, int kinds) const;

    TFBPictureElement* Picture(int index) const;
    TFBKalenderElement* Calendar(int index) const;

    TFBElementList Pictures;
    TFBElementList Sizeables;
    uint8_t Seitenausrichtung = 0;
    TFBElementList Calendars;
    int32_t Seitenfarbe = 0xFFFFFF;
    uint8_t CustomLayoutStil = 0;
    TFBDocument* Document = nullptr;
};

class TFBDocument {
public:
    TFBDocument();
    TFBDocument(const TFBDocument&) = delete;
    TFBDocument& operator=(const TFBDocument&) = delete;
    ~TFBDocument();

    // Empties the document and sets every field to its default (`Dokumentname` stays); also
    // empties the picture manager and the special-day lists.
    void Reset();
    TFBPictureLink* AddPictureLink();
    // Takes a link out of `PictureLinks`, clears its members' `Link` and frees it.
    void DissolvePictureLink(TFBPictureLink* link);

    // Views: single pages (ScreenMode 0), a book with a lone first page (1), or spreads (2).
    int ViewCount() const;
    int LeftPageIndex(int view) const;
    int RightPageIndex(int view) const;
    int ViewOfPage(int page) const;
    TFBPage* LeftPage(int view) const;
    TFBPage* RightPage(int view) const;
    bool IsLeftPage(const TFBPage* page) const;
    bool IsCalendar() const;
    TFBSizeF ViewSize() const;
    // Where the page's origin lies in its view.
    TFBPointF PageOffset(const TFBPage* page) const;
    QString ViewCaption(int view) const;
    bool CanDeleteView(int view) const;
    bool CanInsertView(int view) const;
    void DeleteView(int view);
    // New pages at view `view` taking the frame layout and orientation of view `source`.
    void InsertView(int view, int source);
    void MoveView(int from, int to);
    uint8_t ViewOrientation(int view) const;
    void SetViewOrientation(int view, uint8_t value);
    int LastUsedPage() const;
    void MoveElementToPage(TFBElement* element, TFBPage* page);
    void SetShadows(bool value);
    // The paper type for the user: a key starting with "ID_" is translated.
    QString PaperDisplayName() const;
    QString PaperNameDisplayName() const;
    static QString DisplayNameOfPaperKey(const QString& key);

    // The month and year of the first page's first calendar (1 and this year otherwise).
    void GetCalendarStart(int& month, int& year) const;
    // Consecutive months on consecutive pages, starting with (year, month) on the first page.
    void SetCalendarStart(int year, int month);
    // Copies the source's settings to every calendar; each keeps its own month and year.
    void ApplyCalendarToAll(const TKalenderData& source);

    TFBPageList Pages;
    uint8_t ScreenMode = 0;
    uint8_t DocType = 0;
    bool PictureShadowsAllowed = true;
    bool Modified = false;
    QString PrintPaperName;
    QString PrintPaperType;
    std::vector<std::unique_ptr<TFBPictureLink>> PictureLinks;
    TKalenderTageListe Feiertage;
    TKalenderTageListe Geburtstage;
    float PageWidth = 210;
    float PageHeight = 297;
    float Stegbreite = 2;
    float Umschlagbreite = 4;
    int32_t PrintPaperSize = 9;
    float PrintPaperWidth = 210;
    float PrintPaperHeight = 297;
    uint8_t PrintSetting = 0;
    QString Dokumentname;
    bool PicturesHaveShadows = true;
    bool PrintBorderless = false;
    int32_t DocVersion = 5;
    QString FilePath;
    TFBLayoutTypen Layouttypen = TFBLayoutTypen::All();
    QString LayoutSubTyp;
    uint8_t LayoutStil = 0;
    float ScreenQuerformatWinkel = 90;
    bool NurEinLayoutStil = false;
};

// Creates an element of the named class ("TFBPictureElement", ...) on the page, not yet in any of
// its lists; nullptr for an unknown name.
std::unique_ptr<TFBElement> CreateElementByClassName(const QString& name, TFBPage* page);
