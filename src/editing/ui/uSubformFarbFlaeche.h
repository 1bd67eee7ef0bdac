#pragma once

#include "editing/ui/uSubform.h"

#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;
class TFBPictureElement;

// The colour panel: the colour of the selected colour area as red, green and blue and as a
// field, and "Farbe ändern", which picks a new colour through the colour dialog and fills the
// area with it as one undoable step.
class TSFormFarbFlaeche : public TSubForm {
    Q_OBJECT
public:
    explicit TSFormFarbFlaeche(QWidget* parent = nullptr);

    TFBPictureElement* Frame() const;
    // The colour shown (0x00BBGGRR).
    int32_t Color() const { return color_; }

    void BtnFarbeAendernClick();

protected:
    void Refresh() override;

private:
    void showColor(int32_t colour);

    QLabel* lblR = nullptr;
    QLabel* lblG = nullptr;
    QLabel* lblB = nullptr;
    QFrame* panFarbe = nullptr;
    QFrame* pbFarbe = nullptr;
    QPushButton* BtnFarbeAendern = nullptr;
    int32_t color_ = 0xFFFFFF;
};
