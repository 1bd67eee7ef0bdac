#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// What a colour pop-up offers: a no-colour entry where the caller asks for one, the standard
// colours, the 32 custom colours of the custom colour table and a more-colours entry that opens
// the colour dialog. Colours are 0x00BBGGRR.

// The value a pop-up reports for "no colour" unless its owner names another.
inline constexpr std::int32_t kNoColorChoice = 0x7FFFFFFF;

// The language keys of the two captions and their German source texts.
inline constexpr const char* kCaptionNoColorKey = "cCaptionNoColor";
inline constexpr const char* kCaptionMoreColorKey = "cCaptionMoreColor";

// The standard colours in the order the pop-up shows them (two rows of eight).
const std::array<std::int32_t, 16>& StandardColors();

// The 32 slots of the custom colour table; an empty slot is -1.
std::vector<std::int32_t> CustomColorChoices();

// The captions in the current language, read from the language keys (German until a table says
// otherwise); a pop-up reads them again after a language switch.
QString NoColorCaption();
QString MoreColorCaption();
