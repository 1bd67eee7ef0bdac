#pragma once

#include "editing/ui/uSubform.h"

// The picture panel: zoom, turning and filters of the selected picture frame. For now it only
// follows the frame; its controls come with the property panels.
class TSFormBild : public TSubForm {
    Q_OBJECT
public:
    explicit TSFormBild(QWidget* parent = nullptr);
};
