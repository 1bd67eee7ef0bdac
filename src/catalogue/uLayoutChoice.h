#pragma once

#include "document/uFotobuchDocument.h"

#include <cstdint>

// Which page layouts the layout list offers while a view is shown.
struct TLayoutChoice {
    TFBLayoutTypen Types;
    uint8_t Style = 0;
    bool OnlyThisStyle = false;
};

// A calendar whose view's left page carries a layout style of its own offers only that style;
// every other document offers its layout types in its style (only that one when the document
// says so).
TLayoutChoice LayoutChoiceFor(const TFBDocument& document, int viewIndex);
