#pragma once

#include "catalogue/uFotobuchPageTemplate.h"

#include <QListWidget>

#include <cstdint>

class QMimeData;

// The layout list of the main window: the page layouts that fit the open document, each with a
// preview on its style colour and its name. Dragging an item carries the layout's stream form in
// the "VXPageTemplate" format. The list owns the layouts it shows.
class TPageTemplateListview : public QListWidget {
    Q_OBJECT
public:
    static constexpr int ThumbnailSize = 80;

    explicit TPageTemplateListview(QWidget* parent);

    // Clears the list and fills it with the layouts of the given types and style (only that
    // style when onlyThisStyle is set).
    void Build(const TFBLayoutTypen& types, uint8_t style, bool onlyThisStyle);

    // The layout shown in a row; nullptr outside the list.
    const TFBPageTemplate* Template(int row) const;

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

private:
    QIcon previewIcon(const TFBPageTemplate& layout) const;

    TFBPageTemplateList templates_;
};
