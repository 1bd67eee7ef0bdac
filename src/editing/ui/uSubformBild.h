#pragma once

#include "editing/uPanelRules.h"
#include "editing/ui/uSubform.h"

#include <QImage>

class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class TFBPictureElement;
enum class TPictureFilterKind;

// The picture panel: zoom, turning and filters of the selected picture frame, with the frame's
// resolution and its traffic light. Every control goes through the undoable edits and announces
// the change; the zoom slider records one step per press (see TZoomSliderGesture).
class TSFormBild : public TSubForm {
    Q_OBJECT
public:
    explicit TSFormBild(QWidget* parent = nullptr);

    TFBPictureElement* Frame() const;

    // The handlers of the buttons and menu items.
    void BtnBildDrehenLinksClick();
    void BtnBildDrehenRechtsClick();
    void BtnBildFilterClick();
    void RunFilter(TPictureFilterKind kind);

    QMenu* FilterMenu() const { return pmBildFilter; }
    // The traffic light as painted now.
    const QImage& AmpelImage() const { return ampel_; }

protected:
    void Refresh() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void zoomTrackbarChange(int position);
    void showAmpel(int dpi);

    QSlider* ZoomTrackbar = nullptr;
    QPushButton* BtnBildDrehenLinks = nullptr;
    QPushButton* BtnBildDrehenRechts = nullptr;
    QPushButton* BtnBildFilter = nullptr;
    QMenu* pmBildFilter = nullptr;
    QLabel* lbldpi = nullptr;
    QLabel* pbAmpel = nullptr;
    QImage imgAmpel;
    QImage ampel_;
    PanelRules::TZoomSliderGesture gesture_;
    // Set while the panel moves the slider itself, which is no zoom of the user's.
    bool updating_ = false;
};
