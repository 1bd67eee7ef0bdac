#include "catalogue/ui/uPageTemplateListview.h"

#include "catalogue/uLayoutChoice.h"
#include "document/uFBColor.h"
#include "document/uFotobuchDocument.h"
#include "editing/uTransferData.h"

#include <QFontMetrics>
#include <QImage>
#include <QMimeData>

namespace {
// The margin between the icon's edge and the preview.
constexpr int kPreviewMargin = 8;
} // namespace

TPageTemplateListview::TPageTemplateListview(QWidget* parent) : TIconDragList(ThumbnailSize, parent) {
    setObjectName(QStringLiteral("lvLayouts"));
}

void TPageTemplateListview::Build(const TFBLayoutTypen& types, uint8_t style, bool onlyThisStyle) {
    clear();
    BuildPageTemplates(templates_, types, style, onlyThisStyle);
    const QFontMetrics metrics = fontMetrics();
    for (int row = 0; row < templates_.Count(); ++row) {
        const TFBPageTemplate& layout = *templates_.Items(row);
        auto* item = new QListWidgetItem(
            previewIcon(layout), metrics.elidedText(layout.Name, Qt::ElideRight, ThumbnailSize), this);
        item->setToolTip(layout.Name);
        item->setBackground(ColorToQColor(layout.PreviewColor()));
        item->setData(Qt::UserRole, row);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    }
}

void TPageTemplateListview::Refresh(int viewIndex) {
    viewIndex_ = viewIndex;
    if (document_) {
        const TLayoutChoice choice = LayoutChoiceFor(*document_, viewIndex);
        Build(choice.Types, choice.Style, choice.OnlyThisStyle);
    } else {
        clear();
    }
    emit Rebuilt(count());
}

void TPageTemplateListview::ViewSelected(int viewIndex) {
    viewIndex_ = viewIndex;
    // Only a calendar page carries a layout style of its own.
    if (document_ && document_->IsCalendar())
        Refresh(viewIndex);
}

void TPageTemplateListview::DocumentRestored() {
    Refresh(viewIndex_);
}

const TFBPageTemplate* TPageTemplateListview::Template(int row) const {
    return row >= 0 && row < templates_.Count() ? templates_.Items(row) : nullptr;
}

QIcon TPageTemplateListview::previewIcon(const TFBPageTemplate& layout) const {
    QImage bitmap(ThumbnailSize, ThumbnailSize, QImage::Format_ARGB32);
    bitmap.fill(ColorToQColor(layout.PreviewColor()));
    layout.DrawPreview(bitmap,
                       QRect(0, 0, ThumbnailSize, ThumbnailSize)
                           .adjusted(kPreviewMargin, kPreviewMargin, -kPreviewMargin, -kPreviewMargin));
    return QIcon(QPixmap::fromImage(bitmap));
}

QStringList TPageTemplateListview::mimeTypes() const {
    return {QString::fromLatin1(TFBPageTemplate::DragFormat)};
}

QMimeData* TPageTemplateListview::DragData(const QListWidgetItem& item) const {
    const TFBPageTemplate* layout = Template(item.data(Qt::UserRole).toInt());
    if (!layout)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(TransferFormat::PageTemplate, Transfer::TemplateBytes(*layout));
    return data;
}
