#include "render/uPrinterDrawContext.h"

#include <QPaintDevice>

TPrinterDrawContext::TPrinterDrawContext(QPaintDevice* printer)
    : TDrawContext(std::make_unique<TCanvas>(printer)), printer_(printer) {
    if (printer_)
        SetDeviceClip(TRect{0, 0, printer_->width(), printer_->height()});
    else
        SetDeviceClip(TRect{});
}

int TPrinterDrawContext::DeviceDpiY() const {
    return printer_ ? printer_->logicalDpiY() : 300;
}

void TPrinterDrawContext::BlitBitmap(const QImage& bitmap, int left, int top, int right, int bottom) {
    if (bitmap.isNull() || right <= left || bottom <= top)
        return;
    // The device gets the colour bytes as they are; alpha plays no part on paper.
    const QImage opaque = bitmap.convertToFormat(QImage::Format_RGB32);
    BlitImage(opaque, QRect(left, top, right - left, bottom - top), false);
}
