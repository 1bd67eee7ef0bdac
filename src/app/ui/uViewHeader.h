#pragma once

#include <QRect>
#include <QWidget>

class QAction;
class QLabel;
class QSlider;
class QToolButton;

// Where the view header's controls stand in a client of that size.
//
// The zoom track bar is 100 pixels wide, its top at ((height - its height) div 2) - 1, its right
// edge 5 pixels from the client's; the zoom image stands 3 pixels left of it. The previous-view
// button starts at (width div 2) - 97, the page label (146 wide) directly after it and the
// next-view button after that, so the three stand centred. In a header too narrow for that the
// three would run under the zoom image: they move left to end 4 pixels before it (not past 0).
struct TViewHeaderGeometry {
    QRect Back;
    QRect Label;
    QRect Forward;
    QRect Image;
    QRect Zoom;

    static constexpr int kHeight = 25;
    static constexpr int kButtonSize = 24;
    static constexpr int kLabelWidth = 146;
    static constexpr int kZoomWidth = 100;
    static constexpr int kZoomRightMargin = 5;
    static constexpr int kImageGap = 3;
    static constexpr int kCentreOffset = 97;
    static constexpr int kGapBeforeImage = 4;

    static TViewHeaderGeometry For(QSize client, int zoomHeight, QSize image);
};

// The header above the page view ("panMainviewTop"): the page buttons around the page label and
// the zoom track bar with its magnifier, placed by TViewHeaderGeometry whenever it is resized.
class TViewHeader : public QWidget {
    Q_OBJECT
public:
    TViewHeader(QAction* back, QAction* forward, QWidget* parent = nullptr);

    QToolButton* BackButton() const { return back_; }
    QToolButton* ForwardButton() const { return forward_; }
    QLabel* PageLabel() const { return label_; }
    QLabel* ZoomImage() const { return image_; }
    QSlider* Zoom() const { return zoom_; }

    void Arrange();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* back_;
    QLabel* label_;
    QToolButton* forward_;
    QLabel* image_;
    QSlider* zoom_;
};
