#pragma once

#include "document/uFotobuchDocument.h"
#include "document/uFotobuchList.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>

class QIODevice;

// A page layout: a named arrangement of picture frames drawn for one page size. Applying it to a
// page turns the page's picture frames into the layout's frames, scaled to the page, keeping the
// pictures the page already holds in their order. Text, clipart and calendars are never touched.

class TFBFrameList : public TFBOwningList<TFBPictureElement> {};

class TFBPageTemplate {
public:
    // The drag format whose payload is the stream form of a layout.
    static constexpr const char* DragFormat = "VXPageTemplate";
    // Number of layout styles (0 "None" ... 14 "Deckblatt").
    static constexpr int StyleCount = 15;

    TFBPageTemplate() = default;
    TFBPageTemplate(const TFBPageTemplate&) = delete;
    TFBPageTemplate& operator=(const TFBPageTemplate&) = delete;

    // A frame with centre (left + width/2, top + height/2), that size and angle 0.
    void AddFrame(float left, float top, float width, float height);
    // A frame with exactly these values.
    void AddFrameCentered(float centerX, float centerY, float width, float height, float angle);

    // Fits the page's picture frames to this layout (see the unit's comments at ApplyToPage). A
    // panorama layout on a page with a partner page covers and links both pages of the spread.
    void ApplyToPage(TFBPage& page) const;

    // The drag payload: sizes, name, panorama flag, layout types as set text, style and both
    // frame lists (ID is not part of it).
    void SaveToStream(QIODevice& stream) const;
    // Replaces everything but ID by what the stream holds. A payload that ends early or holds
    // impossible values (unknown layout types, a style outside a byte, a page side outside
    // 1 mm ... 10 m, frame values beyond 100 m, counts the payload cannot hold, non-finite
    // numbers) raises Exception and leaves the layout as it was.
    void LoadFromStream(QIODevice& stream);

    // Draws a miniature of the page (a spread for a panorama layout) with its frames, fitted and
    // centred in rect of the bitmap.
    void DrawPreview(QImage& bitmap, const QRect& rect) const;
    // Background colour of the layout in the layout list (0x00BBGGRR), after its style.
    int32_t PreviewColor() const { return StyleColor(Stil); }
    static int32_t StyleColor(int style);

    // A separate copy (ID included).
    std::unique_ptr<TFBPageTemplate> Clone() const;

    TFBFrameList Frames;
    // Frames of the left page of a panorama spread; empty in every built-in layout.
    TFBFrameList LeftFrames;
    TFBLayoutTypen LayoutTypen;
    float Width = 0;
    float Height = 0;
    QString Name;
    uint8_t Stil = 0;
    bool Panorama = false;
    // Key by which the catalogue finds the layout; not unique and not part of the stream form.
    QString ID;

private:
    // Fits the page's frame list to frames (step 2 of applying).
    void fitPage(TFBPage& page, const TFBFrameList& frames) const;
};

class TFBPageTemplateList : public TFBOwningList<TFBPageTemplate> {};

// The fixed names of the layout style numbers 0-14 ("None", "Tradition", ... "Deckblatt"); empty
// outside the range.
QString LayoutStyleName(int style);

// The built-in layout catalogue: 114 layouts in their fixed order, built on first use and
// unchanged afterwards.
const TFBPageTemplateList& LayoutCatalogue();

// The first layout of the catalogue whose ID equals id, compared case-insensitively; nullptr when
// there is none.
const TFBPageTemplate* FindPageTemplate(const QString& id);

// Clears list and fills it with fresh copies of the catalogue's layouts that share a type with
// types (and, when onlyThisStyle, have style style); with a style other than 0 the layouts of that
// style come first. In French the names say "Pleine page" instead of "Fullsize".
void BuildPageTemplates(TFBPageTemplateList& list, const TFBLayoutTypen& types, int style,
                        bool onlyThisStyle);

// The built-in layouts in catalogue order, appended to list (the table of the catalogue unit).
void AddBuiltInPageTemplates(TFBPageTemplateList& list);
