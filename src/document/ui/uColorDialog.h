#pragma once

#include "document/uFBColor.h"

// The colour dialog of the widgets layer: the toolkit's own colour dialog (not a native one, so
// that its 16 custom colours are always there), owned by the active window.
class TQtColorDialog : public TColorDialogService {
public:
    bool Execute(std::int32_t& colour, CustomColors& customColors) override;
};

// Installs the one colour dialog of the program for PickColor; called once at start-up.
void InstallColorDialog();
