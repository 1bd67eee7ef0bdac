#pragma once

#include "filters/uFilterSliderModel.h"

#include <QTimer>
#include <QWidget>

class QLineEdit;

// A horizontal slider with a linked number field. Linear mode runs -100..100, exponential mode
// 0.1..10; every change repaints and, after the change delay, emits Changed. While the position
// keeps changing (a drag), Changed follows at most once per delay, and always for the final one.
class TFilterSlider : public QWidget {
    Q_OBJECT
public:
    explicit TFilterSlider(QWidget* parent = nullptr);
    ~TFilterSlider() override;

    float Position() const { return position_; }
    void SetPosition(float value);
    TSliderMode SliderMode() const { return mode_; }
    void SetSliderMode(TSliderMode mode);
    int ChangeDelay() const { return changeDelay_; }
    void SetChangeDelay(int milliseconds);
    QLineEdit* NumberField() const { return field_; }

    // The track in client coordinates (left edge and width).
    int TrackLeft() const;
    int TrackWidth() const;

    QSize sizeHint() const override;

signals:
    void Changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // keepFieldText: the number field holds what the user typed, which stays as it is.
    void setPosition(float value, bool keepFieldText);
    void fieldEdited(const QString& text);
    void fieldFinished();
    void writeField();
    void signalChange();
    void layoutField();

    QLineEdit* field_ = nullptr;
    QTimer delay_;
    float position_ = 0;
    TSliderMode mode_ = TSliderMode::Linear;
    int changeDelay_ = 0;
    bool dragging_ = false;
};
