#include "editing/ui/uSubformSeiten.h"

#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"

#include <QSignalBlocker>

TSFormSeiten::TSFormSeiten(QWidget* parent, TFBDocument* document)
    : QListWidget(parent), document_(document) {
    setObjectName(QStringLiteral("SFormSeiten"));
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!selecting_ && row >= 0)
            Multicaster().ViewSelected(this, row);
    });
}

void TSFormSeiten::Rebuild() {
    const int current = CurrentView();
    const QSignalBlocker blocker(this);
    clear();
    if (!document_)
        return;
    for (int v = 0; v < document_->ViewCount(); ++v)
        addItem(document_->ViewCaption(v));
    if (current >= 0 && current < count())
        setCurrentRow(current);
}

void TSFormSeiten::SelectView(int i) {
    selecting_ = true;
    setCurrentRow(i >= 0 && i < count() ? i : -1);
    selecting_ = false;
}

int TSFormSeiten::CurrentView() const {
    return currentRow();
}

void TSFormSeiten::RefreshCurrentView() {
    const int v = CurrentView();
    if (document_ && v >= 0 && v < count() && v < document_->ViewCount())
        item(v)->setText(document_->ViewCaption(v));
}

void TSFormSeiten::ElementChanged(TFBElement*, TFBPage* page) {
    if (document_ && page)
        RefreshCurrentView();
}
