#include "catalogue/ui/uPageTemplateListview.h"

TPageTemplateListview::TPageTemplateListview(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("lvLayouts"));
    setViewMode(QListView::IconMode);
}

void TPageTemplateListview::Build(const TFBLayoutTypen&, uint8_t, bool) {
    clear();
}
