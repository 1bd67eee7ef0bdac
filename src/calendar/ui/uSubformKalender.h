#pragma once

#include "editing/ui/uSubform.h"

// The calendar panel: year and first month of the calendar and its dialogs. For now it only follows
// the selected calendar; its controls come with the calendar dialogs.
class TSFormKalender : public TSubForm {
    Q_OBJECT
public:
    explicit TSFormKalender(QWidget* parent = nullptr);

    // The year and first month belong to the whole document: any change may concern the panel.
    void ElementChanged(TFBElement* element, TFBPage* page) override;
};
