#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>

class QIODevice;

// Colour values are 32-bit integers in the order 0x00BBGGRR.
QColor ColorToQColor(std::int32_t color);
std::int32_t QColorToColor(const QColor& color);

// A named colour as offered in the fill colour list and carried by colour drags.
class TFBColor {
public:
    // The drag format that carries a named colour in its stream form.
    static constexpr const char* DragFormat = "VXColor";

    TFBColor() = default;
    TFBColor(QString name, std::int32_t color) : Name(std::move(name)), Color(color) {}

    // The colour to use: Color itself, or for a negative Color the one the user picks starting from
    // white. A cancelled dialog leaves colour as the caller set it; the result is true either way.
    bool GetColor(std::int32_t& colour) const;

    // Stream form: string Name, int32 Color. Loading raises Exception on short data and then leaves
    // the object as it was.
    void SaveToStream(QIODevice& stream) const;
    void LoadFromStream(QIODevice& stream);

    QString Name;           // display name, already translated
    std::int32_t Color = 0; // negative: the user picks the colour when it is asked for
};

// The colour dialog with its 16 custom colours. The widgets layer installs the real dialog; tests
// install their own. Without one, nothing can be picked.
class TColorDialogService {
public:
    static constexpr int CustomColorCount = 16;
    using CustomColors = std::array<std::int32_t, CustomColorCount>;

    virtual ~TColorDialogService() = default;
    // Shows the dialog starting at colour with the given custom colours. When the user confirms,
    // returns true with the chosen colour and the dialog's custom colours.
    virtual bool Execute(std::int32_t& colour, CustomColors& customColors) = 0;
};

// Installs the dialog (not owned; nullptr removes it) and returns the one installed before.
TColorDialogService* SetColorDialogService(TColorDialogService* service);

// Lets the user pick a colour starting at colour. The dialog's custom colours come from the
// settings value "Colors" of the section "CustomColors" and go back there when the user confirms;
// the custom colour table follows them both times. Returns whether the user confirmed.
bool PickColor(std::int32_t& colour);

// The settings text of the dialog's custom colours: one line per colour, "ColorA=" … "ColorP="
// followed by six hexadecimal digits. Reading leaves white where a line is missing or no number.
QString CustomColorsToText(const TColorDialogService::CustomColors& colors);
TColorDialogService::CustomColors CustomColorsFromText(const QString& text);
