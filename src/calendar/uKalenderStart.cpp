#include "calendar/uKalenderStart.h"

#include "calendar/uKalender.h"
#include "document/uFotobuchDocument.h"
#include "editing/uDocumentEdits.h"

TKalenderStartAnzeige KalenderStartAnzeige(const TFBDocument& document, const TFBKalenderElement* selected) {
    TKalenderStartAnzeige shown;
    document.GetCalendarStart(shown.Monat, shown.Jahr);
    if (selected) {
        shown.PlusEnabled = selected->Data->Jahr < kKalenderPanelMaxJahr;
        shown.MinusEnabled = selected->Data->Jahr > kKalenderPanelMinJahr;
    }
    return shown;
}

void KalenderJahrSchritt(TFBDocument& document, int delta) {
    int month = 1, year = 0;
    document.GetCalendarStart(month, year);
    DocumentEdits::SetCalendarStart(document, year + delta, month);
}

void KalenderErsterMonat(TFBDocument& document, int month) {
    int shownMonth = 1, year = 0;
    document.GetCalendarStart(shownMonth, year);
    DocumentEdits::SetCalendarStart(document, year, month);
}
