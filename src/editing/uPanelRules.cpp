#include "editing/uPanelRules.h"

#include "document/uFBColor.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "i18n/ulocalize.h"

#include <algorithm>
#include <cmath>

namespace PanelRules {

int ZoomSliderPosition(float zoom) {
    if (!std::isfinite(zoom))
        return kZoomSliderMin;
    return std::clamp(static_cast<int>(std::lround(zoom * 100.0f)), kZoomSliderMin, kZoomSliderMax);
}

float ZoomOfSliderPosition(int position) {
    return static_cast<float>(std::clamp(position, kZoomSliderMin, kZoomSliderMax)) / 100.0f;
}

int AmpelCutOutLeft(int dpi) {
    if (dpi == 0)
        return 3 * kAmpelWidth;
    if (dpi < 100)
        return 0;
    if (dpi < 200)
        return kAmpelWidth;
    return 2 * kAmpelWidth;
}

QImage AmpelStrip() {
    return QImage(QStringLiteral(":/panels/ampel.png"));
}

QImage AmpelCutOut(const QImage& strip, int dpi) {
    QImage cut(kAmpelWidth, kAmpelHeight, QImage::Format_ARGB32);
    cut.fill(Qt::transparent);
    const int left = AmpelCutOutLeft(dpi);
    if (strip.width() < left + kAmpelWidth || strip.height() < kAmpelHeight)
        return cut;
    const QImage source =
        strip.copy(left, 0, kAmpelWidth, kAmpelHeight).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < kAmpelHeight; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(cut.scanLine(y));
        for (int x = 0; x < kAmpelWidth; ++x)
            out[x] = (in[x] & 0xFFFFFF) == 0xFF00FF ? 0 : (in[x] | 0xFF000000u);
    }
    return cut;
}

TPicturePanelState PicturePanelStateFor(const TFBPictureElement* frame) {
    TPicturePanelState state;
    if (!frame)
        return state;
    state.SliderPosition = ZoomSliderPosition(frame->Zoom);
    state.HasPicture = frame->HasPicture();
    if (!state.HasPicture)
        return state;
    state.Dpi = frame->EffectiveDpi();
    state.DpiText =
        Translate(QStringLiteral("%d dpi")).replace(QStringLiteral("%d"), QString::number(state.Dpi));
    return state;
}

void TZoomSliderGesture::Press(TFBPictureElement& frame) {
    Release();
    UndoManager().AddBildZoomPan(&frame, false);
    frame_ = &frame;
    record_ = UndoManager().Last();
    zoomAtPress_ = frame.Zoom;
}

bool TZoomSliderGesture::Move(TFBPictureElement& frame, int position) {
    const float zoom = ZoomOfSliderPosition(position);
    if (frame.Zoom == zoom)
        return false;
    if (frame_ != &frame) {
        // No press announced this change (a key or a stray event): it is a step of its own.
        Cancel();
        UndoManager().AddBildZoomPan(&frame, false);
    }
    frame.SetZoom(zoom);
    if (TFBDocument* document = frame.Document())
        document->Modified = true;
    return true;
}

void TZoomSliderGesture::Release() {
    if (frame_ && frame_->Zoom == zoomAtPress_ && record_ && UndoManager().Last() == record_)
        UndoManager().DropLast();
    Cancel();
}

void TZoomSliderGesture::Cancel() {
    frame_ = nullptr;
    record_ = nullptr;
}

int32_t ColorAreaColor(const TFBPictureElement& frame) {
    const QImage bitmap = frame.GetBitmap();
    if (bitmap.isNull())
        return 0xFFFFFF;
    return QColorToColor(bitmap.pixelColor(0, 0)) & 0xFFFFFF;
}

TColorParts ColorParts(int32_t colour) {
    return {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
}

} // namespace PanelRules
