#include "editing/ui/uFotobuchMainview.h"

#include "document/uFotobuchDocument.h"

#include <QPainter>

#include <algorithm>

TFBMainView::TFBMainView(QWidget* parent, TFBDocument* document) : QWidget(parent), document_(document) {
    setObjectName(QStringLiteral("MainView"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
}

void TFBMainView::SetScreen(int i) {
    if (i == viewIndex_)
        return;
    Select(nullptr);
    viewIndex_ = i;
    update();
}

void TFBMainView::SetZoom(float z) {
    const float clamped = std::clamp(z, 1.0f, 8.0f);
    if (clamped == zoom_)
        return;
    zoom_ = clamped;
    update();
    if (OnZoomChange)
        OnZoomChange();
}

void TFBMainView::Select(TFBElement* element) {
    if (element == selected_)
        return;
    selected_ = element;
    update();
    if (OnSelectionChange)
        OnSelectionChange(selected_);
}

void TFBMainView::RefreshElement(TFBPage* page, TFBElement*) {
    if (!document_ || !page)
        return;
    if (page == document_->LeftPage(viewIndex_) || page == document_->RightPage(viewIndex_))
        update();
}

bool TFBMainView::CanDelete() const {
    return false;
}

bool TFBMainView::CanCopy() const {
    return false;
}

bool TFBMainView::CanPaste() const {
    return false;
}

void TFBMainView::DeleteSelection() {}

void TFBMainView::Cut() {}

void TFBMainView::Copy() {}

void TFBMainView::Paste() {}

void TFBMainView::InsertTextElement() {}

void TFBMainView::ToggleOrientation() {
    if (!document_ || viewIndex_ < 0 || viewIndex_ >= document_->ViewCount())
        return;
    document_->Modified = true;
    document_->SetViewOrientation(viewIndex_, document_->ViewOrientation(viewIndex_) ? 0 : 1);
    update();
}

void TFBMainView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(248, 248, 246));
    QString text;
    if (document_ && viewIndex_ >= 0 && viewIndex_ < document_->ViewCount())
        text = document_->ViewCaption(viewIndex_);
    text += QStringLiteral("\n(%1)").arg(viewIndex_);
    painter.setPen(QColor(150, 150, 150));
    painter.drawText(rect(), Qt::AlignCenter, text);
}
