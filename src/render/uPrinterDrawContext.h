#pragma once

#include "render/uDrawContext.h"

#include <QImage>

class QPagedPaintDevice;

// Draw context on the current page of a printer (any paged device: the print job hands it a
// printer, tests a PDF writer). Pictures go through the base operations at up to 360 dpi;
// BlitBitmap copies a rendered bitmap onto the page unchanged.
class TPrinterDrawContext : public TDrawContext {
public:
    explicit TPrinterDrawContext(QPagedPaintDevice* printer);

    QPagedPaintDevice* PrinterHandle() const { return printer_; }
    // Copies the bitmap (as 32-bit pixels, alpha ignored) stretched onto the device rectangle.
    void BlitBitmap(const QImage& bitmap, int left, int top, int right, int bottom);

protected:
    int DeviceDpiY() const override;

private:
    QPagedPaintDevice* printer_;
};
