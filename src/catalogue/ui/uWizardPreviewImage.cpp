#include "catalogue/ui/uWizardPreviewImage.h"

#include "platform/uDebug.h"
#include "platform/uJpegCodec.h"
#include "render/uShadowBitmap.h"

#include <QFile>
#include <QPainter>

namespace {
// Our previews are 800 x 600; anything far larger is not one of them.
constexpr qint64 kMaxPreviewPixels = 4000 * 4000;
} // namespace

TWizardPreviewImage::TWizardPreviewImage(QWidget* parent) : QWidget(parent) {
    setProperty("picture", QString());
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, &TWizardPreviewImage::nextStep);
}

QString TWizardPreviewImage::ResourcePath(const QString& name) {
    return QStringLiteral(":/wizard/%1.jpg").arg(name);
}

QImage TWizardPreviewImage::DecodePicture(const QString& name) {
    QFile file(ResourcePath(name));
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        Debug().Trace(QStringLiteral("Vorschaubild %1 fehlt").arg(name));
        return {};
    }
    QImage picture;
    JpegCodec::TJpegHeader header;
    const auto status = JpegCodec::Decode(file.readAll(), picture, header, QSize(), kMaxPreviewPixels);
    if (status != JpegCodec::TJpegStatus::Ok || picture.isNull()) {
        Debug().Trace(QStringLiteral("Vorschaubild %1 nicht lesbar").arg(name));
        return {};
    }
    return picture.convertToFormat(QImage::Format_ARGB32);
}

void TWizardPreviewImage::ShowPicture(const QString& name) {
    const QImage picture = DecodePicture(name);
    setProperty("picture", picture.isNull() ? QString() : name);
    timer_.stop();
    if (picture.isNull() || shown_.isNull()) {
        // Nothing to fade from, or nothing to fade to.
        shown_ = picture;
        step_ = kWeights.size();
        update();
        return;
    }
    // A fade that is still running goes on from the frame it has reached.
    from_ = shown_.size() == picture.size()
                ? shown_
                : shown_.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    target_ = picture;
    step_ = 0;
    nextStep();
    timer_.start();
}

void TWizardPreviewImage::nextStep() {
    if (step_ >= kWeights.size()) {
        timer_.stop();
        return;
    }
    QImage frame = from_.copy();
    BlendBitmap(frame, 0, 0, kWeights[step_], target_);
    shown_ = frame;
    ++step_;
    if (step_ == kWeights.size()) {
        timer_.stop();
        from_ = QImage();
        target_ = QImage();
    }
    update();
}

void TWizardPreviewImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (shown_.isNull()) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), shown_);
}
