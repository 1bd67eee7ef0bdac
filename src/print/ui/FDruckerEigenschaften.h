#pragma once

#include "i18n/ui/uLocalizerForm.h"

#include <vector>

class QComboBox;
class TCurrentPrinter;

// The properties of a queue: its PageSize (with the borderless variants), MediaType, Resolution
// and ColorModel choices. Confirming keeps the choices in the printer's device mode.
class TDruckerEigenschaftenDlg : public TLocalizerDialog {
    Q_OBJECT
public:
    TDruckerEigenschaftenDlg(TCurrentPrinter& printer, QWidget* owner);

    void RegisterTexts() override;
    // The caption names the printer.
    void AfterTranslate() override;

    // Takes the chosen values into the device mode.
    void Apply();
    QComboBox* Choice(const QString& key) const;

private:
    TCurrentPrinter& printer_;
    std::vector<std::pair<QString, QComboBox*>> choices_;
};
