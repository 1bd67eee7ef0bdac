#pragma once

class TFBDocument;
class TFBKalenderElement;

// The calendar panel's rules: the document's calendar year and first month, stepped by a year or
// set to another month. Every change is one undoable step (the start of all calendars) and marks
// the document modified; the panel announces it and refreshes.

// What the panel shows for the selected calendar.
struct TKalenderStartAnzeige {
    int Jahr = 0;  // the year of the document's calendar start
    int Monat = 1; // its first month
    // The year buttons follow the selected calendar's own year, within 1900 ... 2100.
    bool PlusEnabled = false;
    bool MinusEnabled = false;
};

constexpr int kKalenderPanelMinJahr = 1900;
constexpr int kKalenderPanelMaxJahr = 2100;

TKalenderStartAnzeige KalenderStartAnzeige(const TFBDocument& document, const TFBKalenderElement* selected);
// The start year one later (delta 1) or earlier (-1), the first month kept.
void KalenderJahrSchritt(TFBDocument& document, int delta);
// The start year kept, the first month set (1 ... 12).
void KalenderErsterMonat(TFBDocument& document, int month);
