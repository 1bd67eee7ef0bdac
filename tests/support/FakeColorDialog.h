#pragma once

#include "document/uFBColor.h"

#include <cstdint>

namespace TestSupport {

// The colour dialog of a test: cancels, or picks the colour it was told; remembers the colour it
// was shown with.
class TFakeColorDialog : public TColorDialogService {
public:
    bool Execute(std::int32_t& colour, CustomColors&) override {
        shownWith = colour;
        if (!pick)
            return false;
        colour = picked;
        return true;
    }
    bool pick = false;
    std::int32_t picked = 0;
    std::int32_t shownWith = -1;
};

} // namespace TestSupport
