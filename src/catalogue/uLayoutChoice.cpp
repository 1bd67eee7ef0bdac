#include "catalogue/uLayoutChoice.h"

TLayoutChoice LayoutChoiceFor(const TFBDocument& document, int viewIndex) {
    const TFBPage* left = document.LeftPage(viewIndex);
    if (document.IsCalendar() && left && left->CustomLayoutStil != 0)
        return {document.Layouttypen, left->CustomLayoutStil, true};
    return {document.Layouttypen, document.LayoutStil, document.NurEinLayoutStil};
}
