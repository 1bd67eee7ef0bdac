#pragma once

#include <QWidget>

#include <functional>

class TFBDocument;
class TFBElement;
class TFBPage;

// The page view in the middle of the main window: shows one view of the document. For now a
// plain widget that names the view it shows; selecting, drawing and the editing commands come
// with the page view itself. The interface below is what the main window uses.
class TFBMainView : public QWidget {
    Q_OBJECT
public:
    TFBMainView(QWidget* parent, TFBDocument* document);

    TFBDocument* Document() const { return document_; }

    int ViewIndex() const { return viewIndex_; }
    // Shows view i: deselects and repaints when i differs.
    void SetScreen(int i);

    float Zoom() const { return zoom_; }
    // Zoom factor 1 ... 8 (clamped); OnZoomChange when it changed.
    void SetZoom(float z);

    TFBElement* Selected() const { return selected_; }
    // Selects the element (or none); OnSelectionChange when it changed.
    void Select(TFBElement* element);
    // Repaints the element on the page, or the whole view for none.
    void RefreshElement(TFBPage* page, TFBElement* element);

    bool CanDelete() const;
    bool CanCopy() const;
    bool CanPaste() const;
    void DeleteSelection();
    void Cut();
    void Copy();
    void Paste();
    void InsertTextElement();
    // Turns the current view between portrait and landscape.
    void ToggleOrientation();

    std::function<void(TFBElement* selected)> OnSelectionChange;
    std::function<void()> OnZoomChange;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TFBDocument* document_;
    int viewIndex_ = 0;
    float zoom_ = 1.0f;
    TFBElement* selected_ = nullptr;
};
