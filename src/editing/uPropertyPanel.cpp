#include "editing/uPropertyPanel.h"

#include "document/uFotobuchDocument.h"

TPropertyPanel PropertyPanelFor(const TFBElement* element) {
    if (const auto* picture = dynamic_cast<const TFBPictureElement*>(element))
        return picture->HasPicture() && !picture->CanZoomAndTrack ? TPropertyPanel::Farbflaeche
                                                                  : TPropertyPanel::Bild;
    if (dynamic_cast<const TFBTextElement*>(element))
        return TPropertyPanel::Text;
    if (dynamic_cast<const TFBKalenderElement*>(element))
        return TPropertyPanel::Kalender;
    return TPropertyPanel::None;
}
