#pragma once

#include "editing/ui/uSubform.h"

// The text panel: the rich text of the selected text element. For now it only follows the
// element; the editor and its toolbar come with the property panels.
class TSFormDlgRTFText : public TSubForm {
    Q_OBJECT
public:
    explicit TSFormDlgRTFText(QWidget* parent = nullptr);
};
