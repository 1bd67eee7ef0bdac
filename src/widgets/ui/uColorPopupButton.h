#pragma once

#include <QToolButton>

#include <cstdint>

class QMenu;
class QPushButton;
class QGridLayout;

// The colour pop-up button: a swatch of the current colour that opens a panel with a no-colour
// entry (where the owner offers it), the standard colours, the 32 custom colours and a
// more-colours entry that opens the colour dialog (PickColor). Colours are 0x00BBGGRR.
class TColorPopupButton : public QToolButton {
    Q_OBJECT
public:
    explicit TColorPopupButton(QWidget* parent = nullptr);

    std::int32_t Color() const { return color_; }
    // Shows colour without reporting it.
    void SetColor(std::int32_t colour);

    // Offers "no colour", reported as noColorValue.
    void SetOffersNoColor(bool offers, std::int32_t noColorValue = 0x7FFFFFFF);
    bool OffersNoColor() const { return offersNoColor_; }
    bool IsNoColor() const { return offersNoColor_ && color_ == noColorValue_; }

    // Reads the two captions again from the language keys; every pop-up does it after a
    // language switch (see RetranslateColorPopups).
    void Retranslate();

    // The panel the pop-up shows (its entries are named ColorNone, ColorStandard0 … 15,
    // ColorCustom0 … 31 and ColorMore); rebuilt with the current custom colours each time the
    // pop-up opens.
    QWidget* Panel() const { return panel_; }
    void RefreshPanel();

    // What the entries do, callable without opening the pop-up.
    void ChooseColor(std::int32_t colour);
    void ChooseNoColor();
    void ChooseMoreColors();

signals:
    // The user chose a colour (or no colour) other than the one shown before.
    void ColorChosen(std::int32_t colour);

protected:
    void changeEvent(QEvent* event) override;

private:
    void Report(std::int32_t colour);
    void UpdateSwatch();
    QToolButton* MakeSwatch(const QString& name, std::int32_t colour);

    std::int32_t color_ = 0;
    std::int32_t noColorValue_ = 0x7FFFFFFF;
    bool offersNoColor_ = false;
    QMenu* menu_ = nullptr;
    QWidget* panel_ = nullptr;
    QPushButton* noColor_ = nullptr;
    QPushButton* more_ = nullptr;
    QGridLayout* customGrid_ = nullptr;
};

// Retranslates the captions of every colour pop-up of the program; the main window calls it after
// a language switch.
void RetranslateColorPopups();
