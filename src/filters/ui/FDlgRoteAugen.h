#pragma once

#include "filters/uPixPinsel.h"

#include "i18n/ui/uLocalizerForm.h"
#include <QImage>
#include <QPoint>
#include <QTimer>

#include <optional>

class QAbstractButton;
class QScrollArea;
class QToolButton;
class TRedEyePaintBox;

// The red-eye dialog: the full-resolution picture in a scroll box, zoomed and moved freely; in
// brush mode every click or drag paints the round brush, which takes the red cast out of red
// pixels. The dialog works on its own copy; OK hands it back, Cancel forgets every stroke.
class TDlgRoteAugen : public TLocalizerDialog {
    Q_OBJECT
public:
    enum class TMode { Move = 0, Brush = 1 };

    explicit TDlgRoteAugen(QWidget* parent = nullptr);

    // Takes a copy of the picture as the one to work on.
    void SetPicture(const QImage& bitmap);
    const QImage& Picture() const { return picture_; }

    float Zoom() const { return zoom_; }
    TMode Mode() const { return mode_; }
    void SetMode(TMode mode);
    int BrushSize() const { return brushSize_; }
    void SetBrushSize(int size);
    QScrollArea* ScrollBox() const { return scrollBox_; }
    QWidget* PaintBox() const;
    QPoint ScrollPosition() const;
    // The paint-box position of the brush outline; nothing when none is shown.
    std::optional<QPoint> OutlinePosition() const;

    // A zoom factor of its own (kept within the steps' caps), the scroll positions kept.
    void SetZoom(float zoom);
    // Zooms in or out around a point of the scroll box's client area.
    void ZoomAround(QPoint client, bool zoomIn);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TRedEyePaintBox;
    void mouseDown(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseUp(QMouseEvent* event);
    void retouchAt(QPoint paintBoxPosition);
    void moveOutline(std::optional<QPoint> position);
    void checkOutline();
    void sizePaintBox();
    void paint(QPainter& painter, const QRect& exposed);

    QImage picture_;
    float zoom_ = 1.0f;
    TMode mode_ = TMode::Move;
    int brushSize_ = 5;
    TPixPinsel brush_{5, 5};
    std::optional<QPoint> outline_;
    // Where the mouse went down: in the paint box, in the client area, and the scroll positions.
    QPoint downPaintBox_;
    QPoint downClient_;
    QPoint downScroll_;
    int wheelSum_ = 0;
    QScrollArea* scrollBox_ = nullptr;
    TRedEyePaintBox* paintBox_ = nullptr;
    QToolButton* btnDrag_ = nullptr;
    QToolButton* btnRedEye_ = nullptr;
    QTimer outlineTimer_;
};
