#pragma once

class TDrawContext;
class TFBDocument;
class TFBPage;
class TFBElement;
class TFBPictureElement;
class TFBTextElement;
class TFBClipartElement;
class TFBKalenderElement;
class TShadowBitmap;

// Turns the document model into drawing calls on a draw context, in document millimetres; the
// caller has set the context's transformation so that the view's or page's origin lands where it
// must appear. Quality 0 draws the decoded pictures, 1 their previews, any other value no
// pictures. Drawing never decodes a picture file: the picture manager hands out what it holds.
//
// Every operation leaves the context's transformation and clip as it found them, also when
// drawing an element raises.
class TDocumentDrawer {
public:
    TDocumentDrawer() = default;
    TDocumentDrawer(const TDocumentDrawer&) = delete;
    TDocumentDrawer& operator=(const TDocumentDrawer&) = delete;

    // The pages of one view at their places in the view. bare leaves out the page backgrounds,
    // the book's cover backdrop and the placeholders of empty frames (the screen passes false).
    void DrawView(TFBDocument& document, TDrawContext& dc, int quality, int view, bool bare = false) const;
    // Background, clipping to the page and all elements of the page.
    void DrawPage(TFBPage& page, TDrawContext& dc, bool bare, int quality) const;
    // A frame with a picture draws itself; an empty frame shows its outline unless bare.
    void DrawPictureFrame(TFBPictureElement& element, TDrawContext& dc, bool bare, int quality) const;
};

// The one document drawer of the process.
const TDocumentDrawer& DocumentDrawer();

// Each element's own drawing in page coordinates (the base element draws nothing).
void DrawElement(TFBElement& element, TDrawContext& dc, int quality);
void DrawPictureElement(TFBPictureElement& element, TDrawContext& dc, int quality);
void DrawTextElement(TFBTextElement& element, TDrawContext& dc);
void DrawClipartElement(TFBClipartElement& element, TDrawContext& dc);
void DrawKalenderElement(TFBKalenderElement& element, TDrawContext& dc);

// The text element's soft shadow, made when it has none or its size or text changed since it was
// made; nullptr without shadow. The shadow covers the text box with 1 mm on every side.
const TShadowBitmap* TextShadow(TFBTextElement& element);
