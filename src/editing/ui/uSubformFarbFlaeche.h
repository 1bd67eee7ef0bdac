#pragma once

#include "editing/ui/uSubform.h"

// The colour panel: the colour of the selected colour area. For now it only follows the area; its
// controls come with the property panels.
class TSFormFarbFlaeche : public TSubForm {
    Q_OBJECT
public:
    explicit TSFormFarbFlaeche(QWidget* parent = nullptr);
};
