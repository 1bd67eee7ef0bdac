#include "catalogue/uKalenderVorlagen.h"

#include "calendar/uKalender.h"
#include "platform/uFont.h"

#include <QFontDatabase>

namespace {

const QString& trebuchet() {
    static const QString name = QStringLiteral("Trebuchet MS");
    return name;
}

// The preset fonts: the name, then the style replaced as a whole, then a colour when one is given.
void presetFont(TFont& font, TFontStyles style, qint32 color) {
    font.BeginUpdate();
    SetFontIfInstalled(font, trebuchet());
    font.SetStyle(style);
    if (color >= 0)
        font.SetColor(color);
    font.EndUpdate();
}

constexpr qint32 kKeepColor = -1;

// The month grid with a grey weekday band and grey day cells (A4 layout 1, A6 layout 4).
void presetGridWithCells(TKalenderData& d, bool a6) {
    d.MonatJahrSize = 15;
    presetFont(d.MonatJahrFont, fsItalic, 0x333333);
    d.MonatJahrFontHeight = 40;
    d.WochentagSize = 18;
    d.WochentagFontHeight = 33;
    presetFont(d.WochentagFont, fsBold, kKeepColor);
    d.WochentagColorZeile = 0xDDDDDD;
    if (a6)
        d.WochentagRowSpacing.SetValues(5, 10, 5, 35);
    else
        d.WochentagRowSpacing.SetValues(1, 10, 1, 35);
    d.ColorZellen = 0xDDDDDD;
    d.CellSpacing.SetValues(7, 7, 7, 7);
    presetFont(d.Font, 0, kKeepColor);
    d.FontHeight = 37;
    d.FTextAlign = 9;
    d.CellPadding.SetValues(0, 0, 0, 7);
    if (a6)
        d.RowSpacing.SetValues(5, 0, 5, 0);
}

// The title band at the bottom, a grey weekday band and grey-striped day rows (A4 layout 2; A5
// layout 1 sets the title in two white lines on a dark band).
void presetStripedRows(TKalenderData& d, bool a5) {
    d.Color = 0xE0E0E0;
    d.MonatJahrSize = 20;
    d.MonatJahrFontHeight = 45;
    d.ShowMonatJahrOnBottom = true;
    if (a5) {
        presetFont(d.MonatJahrFont, fsItalic, 0xFFFFFF);
        d.MonatJahrColorZeile = 0x333333;
        d.MonatJahrZweizeilig = true;
        d.MonatJahrRowSpacing.SetValues(0, 30, 0, 0);
    } else {
        presetFont(d.MonatJahrFont, fsItalic, 0x333333);
    }
    d.WochentagSize = a5 ? 13 : 18;
    d.WochentagFontHeight = 47;
    presetFont(d.WochentagFont, fsBold, kKeepColor);
    d.WochentagColorZeile = 0xD0D0D0;
    d.WochentagRowSpacing.SetValues(0, 0, 0, a5 ? 47 : 30);
    d.WochentagRowPadding.SetValues(5, 0, 5, 0);
    presetFont(d.Font, 0, kKeepColor);
    d.FontHeight = 70;
    d.FTextAlign = 5;
    d.CellPadding.Clear();
    const float rowGap = a5 ? 32 : 10;
    d.RowSpacing.SetValues(0, rowGap, 0, rowGap);
    d.RowPadding.SetValues(5, 0, 5, 0);
    d.ColorZeilen = 0xF0F0F0;
}

// A large title above one row of days, without a weekday band (A4 layout 3, A5 layout 3).
void presetLargeTitle(TKalenderData& d, bool a5) {
    d.MonatJahrSize = a5 ? 50 : 55;
    presetFont(d.MonatJahrFont, fsItalic, 0x333333);
    d.MonatJahrFontHeight = a5 ? 70 : 80;
    d.MonatJahrTextAlign = 6;
    if (a5)
        d.MonatJahrRowSpacing.SetValues(0, 0, 0.8f, 0);
    d.ShowWochentage = false;
    presetFont(d.Font, 0, kKeepColor);
    d.FontHeight = a5 ? 40 : 45;
}

// A single column of days with the title at the bottom in two lines on a dark band (A4 layout 4,
// A6 layout 1).
void presetColumn(TKalenderData& d, bool a6) {
    d.ShowWochentage = false;
    d.WochentagRowPadding.SetValues(2, 4, 22, 4);
    d.ShowMonatJahrOnBottom = true;
    d.MonatJahrZweizeilig = true;
    d.MonatJahrColorZeile = 0x606060;
    presetFont(d.MonatJahrFont, fsItalic, 0xFFFFFF);
    d.MonatJahrFontHeight = 35;
    if (a6) {
        d.MonatJahrSize = 14.3f;
        d.MonatJahrRowPadding.SetValues(0, 0, 4.9f, 0);
    } else {
        d.MonatJahrSize = 6.7f;
        d.MonatJahrRowPadding.SetValues(0, 0, 22, 0);
    }
    d.MonatJahrTextAlign = 6;
    if (a6)
        d.MonatJahrRowSpacing.SetValues(-349.6f, 0, 0, 0);
    d.RowPadding.SetValues(0, 4, 22, 4);
    d.FTextAlign = 6;
    presetFont(d.Font, fsBold, kKeepColor);
    d.FontHeight = 60;
    if (a6)
        d.Color = 0xCCCCCC;
}

void presetA5Layout2(TKalenderData& d) {
    d.MonatJahrSize = 15;
    presetFont(d.MonatJahrFont, fsItalic, kKeepColor);
    d.MonatJahrFontHeight = 60;
    d.MonatJahrRowSpacing.Clear();
    d.WochentagSize = 13;
    d.WochentagFontHeight = 45;
    presetFont(d.WochentagFont, fsBold, 0xFFFFFF);
    d.WochentagColorZeile = 0x808080;
    d.WochentagRowSpacing.Clear();
    d.WochentagRowPadding.SetValues(5, 0, 5, 0);
    presetFont(d.Font, 0, kKeepColor);
    d.FontHeight = 47;
    d.CellPadding.Clear();
    d.RowSpacing.Clear();
    d.RowPadding.SetValues(5, 0, 5, 0);
}

void presetA6Layout2(TKalenderData& d) {
    d.MonatJahrSize = 45;
    presetFont(d.MonatJahrFont, fsItalic, 0x333333);
    d.MonatJahrFontHeight = 30;
    d.MonatJahrTextAlign = 5;
    d.ShowWochentage = false;
    d.WochentagSize = 18;
    d.WochentagFontHeight = 33;
    presetFont(d.WochentagFont, fsBold, kKeepColor);
    d.WochentagRowSpacing.Clear();
    d.CellSpacing.Clear();
    d.CellPadding.Clear();
    presetFont(d.Font, 0, kKeepColor);
    d.FontHeight = 50;
    d.FTextAlign = 5;
    d.RowSpacing.SetValues(5, 0, 5, 0);
}

void presetA6Layout3(TKalenderData& d) {
    d.Color = 0xF0F0F0;
    d.MonatJahrSize = 20;
    presetFont(d.MonatJahrFont, fsItalic, 0x333333);
    d.MonatJahrFontHeight = 45;
    d.MonatJahrColorZeile = 0xD8D8D8;
    d.ShowMonatJahrOnBottom = true;
    d.WochentagSize = 18;
    d.WochentagFontHeight = 30;
    SetFontIfInstalled(d.WochentagFont, trebuchet()); // the style stays
    d.WochentagColorZeile = 0xF8F8F8;
    d.WochentagRowSpacing.Clear();
    d.WochentagRowPadding.SetValues(6, 25, 6, 0);
    presetFont(d.Font, 0, kKeepColor);
    d.FontHeight = 50;
    d.FTextAlign = 5;
    d.CellPadding.Clear();
    d.RowSpacing.Clear();
    d.RowPadding.SetValues(6, 2, 6, 2);
}

// The preset of each calendar product.
struct TPreset {
    int Code;
    void (*Apply)(TKalenderData&);
};

constexpr TPreset kPresets[] = {
    {61, [](TKalenderData& d) { presetGridWithCells(d, false); }},
    {62, [](TKalenderData& d) { presetStripedRows(d, false); }},
    {63, [](TKalenderData& d) { presetLargeTitle(d, false); }},
    {64, [](TKalenderData& d) { presetColumn(d, false); }},
    {71, [](TKalenderData& d) { presetStripedRows(d, true); }},
    {72, presetA5Layout2},
    {73, [](TKalenderData& d) { presetLargeTitle(d, true); }},
    {141, [](TKalenderData& d) { presetColumn(d, true); }},
    {142, presetA6Layout2},
    {143, presetA6Layout3},
    {144, [](TKalenderData& d) { presetGridWithCells(d, true); }},
};

} // namespace

void SetFontIfInstalled(TFont& font, const QString& name) {
    font.SetName(QFontDatabase::hasFamily(name) ? name : QStringLiteral("Arial"));
}

bool ApplyKalenderPreset(TKalenderData& data, int productCode) {
    for (const TPreset& preset : kPresets) {
        if (preset.Code != productCode)
            continue;
        data.Reset();
        preset.Apply(data);
        return true;
    }
    return false;
}
