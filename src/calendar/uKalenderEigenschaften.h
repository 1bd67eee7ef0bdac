#pragma once

#include "calendar/uKalender.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

class TFBKalenderElement;

// The rules of the calendar properties dialog, apart from its widgets: which control edits which
// setting, how a setting is shown in its control, and how the controls are read back into the
// settings as one undoable step that either takes every value or none. The dialog and
// `tintaro-cli calendar` both go through here.

// The four tabs, in the order the dialog shows and reads them.
enum class TKalenderTab { Kalender = 0, Wochentage = 1, MonatJahr = 2, Feiertage = 3 };

// One number edit: its component name, the stored key it edits ("FontHeight", or a padding side
// as "CellPadding.Left"), its tab and the German words that name it in messages.
struct TKalenderZahlFeld {
    const char* Name;
    const char* Key;
    TKalenderTab Tab;
    const char* Group; // "Zeilenabstände", "Zellenabstände", or nullptr
    const char* Label; // "Fonthöhe in Zelle", "Außenabstand", ...
    const char* Side;  // "links", "oben", "rechts", "unten" for a padding side, else nullptr
    float TKalenderData::*Value;
    TPaddingData TKalenderData::*Padding;
    float TPaddingData::*PaddingSide;

    float& Of(TKalenderData& data) const { return Padding ? (data.*Padding).*PaddingSide : data.*Value; }
    float Of(const TKalenderData& data) const { return Padding ? (data.*Padding).*PaddingSide : data.*Value; }
};

// One colour button. Fills offer "no colour" (NoColor), font colours do not.
struct TKalenderFarbFeld {
    const char* Name;
    const char* Key; // "Color", or "Font.Color" for a font's own colour
    TKalenderTab Tab;
    bool OffersNoColor;
};

// One check box.
struct TKalenderSchalterFeld {
    const char* Name;
    const char* Key;
    TKalenderTab Tab;
    const char* Caption;
    bool TKalenderData::*Value;
};

// One font with its list, style buttons and alignment buttons; the component names end in the
// tab's suffix ("" on the first tab, "WT", "MJ", "FG").
struct TKalenderSchriftFeld {
    const char* Key; // "Font", "WochentagFont", ...
    const char* AlignKey;
    TKalenderTab Tab;
    const char* Suffix;
    TFont TKalenderData::*Font;
    int32_t TKalenderData::*Align;
};

const std::vector<TKalenderZahlFeld>& KalenderZahlFelder();
const std::vector<TKalenderFarbFeld>& KalenderFarbFelder();
const std::vector<TKalenderSchalterFeld>& KalenderSchalterFelder();
const std::array<TKalenderSchriftFeld, 4>& KalenderSchriftFelder();

// The state of one alignment group: three horizontal and three vertical buttons, one of each down.
struct TKalenderAusrichtung {
    int Horizontal = 0; // 0 left, 1 centre, 2 right
    int Vertical = 0;   // 0 top, 1 centre, 2 bottom

    // The buttons for the flags: left and top first, then centre, right, vertical centre and
    // bottom where their flag is set (a later one wins within its group).
    static TKalenderAusrichtung FromFlags(int32_t flags);
    // centre 1, right 2, vertical centre 4, bottom 8; any other bit is gone.
    int32_t Flags() const;
    bool operator==(const TKalenderAusrichtung&) const = default;
};

// The state of a font's controls. The style is rebuilt from the three buttons alone.
struct TKalenderSchrift {
    QString Name;
    int32_t Color = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    TKalenderAusrichtung Ausrichtung;

    TFontStyles Style() const;
};

// Everything the dialog's controls hold, in the controls' own forms: numbers as the text in their
// edits, colours as the colour buttons hold them.
struct TKalenderPropWerte {
    QStringList Zahlen;                        // by KalenderZahlFelder()
    std::vector<int32_t> Farben;               // by KalenderFarbFelder()
    std::vector<bool> Schalter;                // by KalenderSchalterFelder()
    std::array<TKalenderSchrift, 4> Schriften; // by KalenderSchriftFelder()

    // The controls filled from the settings, numbers written for the locale.
    static TKalenderPropWerte Show(const TKalenderData& data, const QLocale& locale);
    // Reads every control back into the settings, tab by tab. A number that does not convert
    // leaves the settings exactly as they were and raises Exception naming the field.
    void ReadInto(TKalenderData& data, const QLocale& locale) const;

    int ZahlIndex(const QString& name) const;
    QString& Zahl(const QString& name);
};

// The locale whose decimal separator the number fields use: that of the interface language.
QLocale KalenderZahlLocale();
// A number field's value: the locale's decimal separator or ".", within -1000 ... 100. Sets ok.
float ParseKalenderZahl(const QString& text, const QLocale& locale, bool& ok);
// The shortest text that reads back as the same value (at most 9 significant digits).
QString FormatKalenderZahl(float value, const QLocale& locale);
constexpr float kKalenderZahlMin = -1000.0f;
constexpr float kKalenderZahlMax = 100.0f;

// The buttons of the dialog that apply. OK and "Übernehmen" apply to the edited calendar,
// "OK für alle" to every calendar of its document, each keeping its month and year.
enum class TKalenderApply { One, All };

// Records the undo step, reads the controls into the calendar (and copies its settings to all
// calendars for All) and marks the document modified. When a number does not convert, the undo
// step is dropped again, every calendar stays as it was and the Exception passes on.
void ApplyKalenderEigenschaften(TFBKalenderElement& calendar, const TKalenderPropWerte& werte,
                                TKalenderApply scope, const QLocale& locale);

// Sets one control from a stored key name and a text the way `tintaro-cli calendar --set` names
// it: numbers by their key ("FontHeight", "CellPadding.Left") as the edit's text, flags "true"
// or "false", colours (key "Color", or "Font.Color" for a font's colour) as 0xBBGGRR, decimal, or
// "none" where the button offers no colour, "Font.Name", "Font.Style" (a "+"-list of bold, italic,
// underline, or "none") and the alignments ("FTextAlign") as flags. Numbers are only taken as
// text here; they convert when applied. Raises Exception for an unknown key or a bad value.
void SetKalenderWertByKey(TKalenderPropWerte& werte, const QString& key, const QString& value);
