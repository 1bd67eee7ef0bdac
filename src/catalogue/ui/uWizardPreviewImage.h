#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>

// The wizard's preview area: shows one of the preview pictures the program carries, stretched over
// the whole area. A new picture fades in from the one shown in a few steps; the last step shows the
// new picture exactly. A picture that is missing or that the JPEG decoder refuses leaves the area
// in the button face colour. The dynamic property "picture" names the picture shown ("" for none).
class TWizardPreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit TWizardPreviewImage(QWidget* parent);

    // Shows the named preview resource, fading when something is shown already.
    void ShowPicture(const QString& name);
    // The pixels shown right now (a frame of the fade while it runs); null when none.
    const QImage& Shown() const { return shown_; }
    bool IsFading() const { return step_ < kWeights.size(); }

    // The resource path of a preview picture and its decoded pixels (null when it cannot be had).
    static QString ResourcePath(const QString& name);
    static QImage DecodePicture(const QString& name);

    // The weights of the fade's steps; the last is 0, the new picture itself.
    static constexpr std::array<int, 4> kWeights = {192, 128, 64, 0};
    static constexpr int kStepMs = 37;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void nextStep();

    QImage from_;   // what was shown when the fade began
    QImage target_; // the picture fading in
    QImage shown_;
    size_t step_ = kWeights.size();
    QTimer timer_;
};
