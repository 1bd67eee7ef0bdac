#pragma once

#include "render/uDrawContext.h"

#include <QImage>

class QPaintDevice;

// Draw context on the current page of a printer (any paint device: the print job hands it a
// printer's page, tests a PDF writer or a recording device). Pictures go through the base operations at up to
// 360 dpi; BlitBitmap copies a rendered bitmap onto the page unchanged.
class TPrinterDrawContext : public TDrawContext {
public:
    explicit TPrinterDrawContext(QPaintDevice* printer);

    QPaintDevice* PrinterHandle() const { return printer_; }
    // Copies the bitmap (as 32-bit pixels, alpha ignored) stretched onto the device rectangle.
    void BlitBitmap(const QImage& bitmap, int left, int top, int right, int bottom);

protected:
    int DeviceDpiY() const override;

private:
    QPaintDevice* printer_;
};
