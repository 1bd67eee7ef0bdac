#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// Shows a picture fitted into its client area and centred. The picture it holds is kept at device
// pixels, so the preview stays sharp on HiDPI screens.
class TFilterPic : public QWidget {
    Q_OBJECT
public:
    explicit TFilterPic(QWidget* parent = nullptr);

    // Shows a fitted copy of the picture turned by the angle (quarter turns; other angles unturned).
    void LoadFitted(const QImage& bitmap, int angle);
    // Takes the picture as it is (already fitted) and repaints.
    void SetBitmap(const QImage& bitmap);
    // A copy of the shown picture at its fitted size; a null image when empty.
    QImage GetFittedCopy() const;
    const QImage& Bitmap() const { return bitmap_; }

    QColor Background() const { return background_; }
    void SetBackground(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage bitmap_;
    QColor background_;
};
