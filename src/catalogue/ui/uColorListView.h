#pragma once

#include "catalogue/uDateiNeuWizzard.h"
#include "editing/ui/uEditorPanel.h"

#include <QListWidget>

class QMimeData;

// The fill colour list of the "Farben" tab: the named colours of the catalogue, each a swatch
// with its name below. Dragging an item carries the colour's stream form in the "VXColor" format.
class TColorListView : public QListWidget, public TEditorPanel {
    Q_OBJECT
public:
    static constexpr int ThumbnailSize = 48;

    explicit TColorListView(QWidget* parent = nullptr);

    // Fills the list anew from the catalogue's fill colours (their names in the current language).
    void Build();
    const TFBColor* Color(int row) const;
    // The swatch of a colour: the colour with a grey outline; for the user's own colour (negative)
    // a white box with a grey outline and both diagonals.
    static QImage Swatch(std::int32_t color);

    const QObject* EventSource() const override { return this; }

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

private:
    TFBColorObjectList colors_;
};
