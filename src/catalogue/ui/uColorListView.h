#pragma once

#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/ui/uIconList.h"
#include "editing/ui/uEditorPanel.h"

class QMimeData;

// The fill colour list of the "Farben" tab: the named colours of the catalogue, each a 48-pixel
// swatch with its name below, shortened with an ellipsis to the swatch's width. A selected item's
// swatch gets a frame in the selection colour (the swatch itself keeps its colour). Dragging an
// item carries the colour's stream form in the "VXColor" format. The names follow the language:
// a language change fills the list anew.
class TColorListView : public TIconDragList, public TEditorPanel {
    Q_OBJECT
public:
    static constexpr int ThumbnailSize = 48;
    // The selection frame: this wide, this far outside the swatch.
    static constexpr int kFrameWidth = 2;
    static constexpr int kFrameGap = 2;

    explicit TColorListView(QWidget* parent = nullptr);

    // Fills the list anew from the catalogue's fill colours (their names in the current language),
    // keeping the selected row.
    void Build();
    const TFBColor* Color(int row) const;
    // The swatch of a colour: the colour with a grey outline; for the user's own colour (negative)
    // a white box with a grey outline and both diagonals.
    static QImage Swatch(std::int32_t color);
    // Where an item's swatch stands in its cell: centred, at the top.
    static QRect SwatchRect(const QRect& cell);

    QMimeData* DragData(const QListWidgetItem& item) const override;

    const QObject* EventSource() const override { return this; }

protected:
    QStringList mimeTypes() const override;
    void changeEvent(QEvent* event) override;

private:
    TFBColorObjectList colors_;
};
