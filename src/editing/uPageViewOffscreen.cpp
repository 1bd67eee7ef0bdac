#include "editing/uPageViewOffscreen.h"

#include "document/uFotobuchDocument.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

void TOffscreenPageWindow::InvalidateRect(const TRect& rect) {
    if (rect.IsEmpty())
        return;
    pending_ += QRect(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void TOffscreenPageWindow::InvalidateAll() {
    if (view_)
        pending_ = QRegion(0, 0, view_->ClientWidth(), view_->ClientHeight());
}

void TOffscreenPageWindow::UpdateNow() {
    if (!view_)
        return;
    const int w =
        static_cast<int>(std::ceil(view_->ClientWidth() * static_cast<double>(view_->PixelRatio())));
    const int h =
        static_cast<int>(std::ceil(view_->ClientHeight() * static_cast<double>(view_->PixelRatio())));
    if (screen_.width() != w || screen_.height() != h) {
        screen_ = QImage(std::max(1, w), std::max(1, h), QImage::Format_ARGB32);
        screen_.fill(0xFFFFFFFFu);
    }
    const QRect client(0, 0, view_->ClientWidth(), view_->ClientHeight());
    const QRect area = pending_.boundingRect().intersected(client);
    pending_ = QRegion();
    if (area.isEmpty())
        return;
    const TRect logical{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    view_->Paint(logical);
    painted_.push_back(logical);
    const QImage& buffer = view_->BackBuffer();
    const QRect device = view_->DeviceRect(logical).intersected(screen_.rect());
    if (buffer.isNull() || device.isEmpty())
        return;
    QPainter painter(&screen_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(device.topLeft(), buffer, device);
}

TFBTextElement* AddFixtureText(TFBPage* page, float cx, float cy, float w, float h, float angle) {
    if (!page)
        return nullptr;
    auto* text = static_cast<TFBTextElement*>(page->Sizeables.Add(std::make_unique<TFBTextElement>(page)));
    text->CenterX = cx;
    text->CenterY = cy;
    text->Width = w;
    text->Height = h;
    text->Angle = angle;
    text->SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Sommer am Meer}");
    text->SetHasShadow(true);
    return text;
}
