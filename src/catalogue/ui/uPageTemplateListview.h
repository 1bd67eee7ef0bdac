#pragma once

#include "catalogue/uFotobuchPageTemplate.h"
#include "catalogue/ui/uIconList.h"
#include "editing/ui/uEditorPanel.h"

#include <cstdint>

class QMimeData;
class TFBDocument;

// The layout list of the main window: the page layouts that fit the open document, each with a
// preview on its style colour and its name. Dragging an item carries the layout's stream form in
// the "VXPageTemplate" format. The list owns the layouts it shows. As a panel of the main window it
// follows the document's views: a calendar page may have a layout style of its own.
class TPageTemplateListview : public TIconDragList, public TEditorPanel {
    Q_OBJECT
public:
    static constexpr int ThumbnailSize = 80;

    explicit TPageTemplateListview(QWidget* parent);

    // Clears the list and fills it with the layouts of the given types and style (only that
    // style when onlyThisStyle is set).
    void Build(const TFBLayoutTypen& types, uint8_t style, bool onlyThisStyle);

    // The layout shown in a row; nullptr outside the list.
    const TFBPageTemplate* Template(int row) const;

    // The document whose layouts the list offers (not owned; nullptr: none).
    void SetDocument(const TFBDocument* document) { document_ = document; }
    // Fills the list with the layouts that fit the document while the view is shown.
    void Refresh(int viewIndex);

    QMimeData* DragData(const QListWidgetItem& item) const override;

    const QObject* EventSource() const override { return this; }
    void ViewSelected(int viewIndex) override;
    void DocumentRestored() override;

signals:
    // The list was filled anew with count layouts.
    void Rebuilt(int count);

protected:
    QStringList mimeTypes() const override;

private:
    QIcon previewIcon(const TFBPageTemplate& layout) const;

    TFBPageTemplateList templates_;
    const TFBDocument* document_ = nullptr;
    int viewIndex_ = 0;
};
