#pragma once

#include <QString>

#include <array>
#include <optional>

// The sizes the font-size boxes offer, in points.
inline constexpr std::array<int, 17> kFontSizes{8,  9,  10, 11, 12, 14, 16, 18, 20,
                                                22, 24, 26, 28, 36, 48, 72, 96};

// The largest size a box accepts: the text drawer clamps larger sizes, so the box refuses them.
inline constexpr int kMaxFontSize = 1638;

// What may stand in the box while the user types: digits only, at most four.
bool IsFontSizeTyping(const QString& text);

// The size a typed text asks for: 1 … 1638 points written in digits; nothing otherwise (empty,
// letters, 0, a size above the drawer's limit), so the box keeps its previous size.
std::optional<int> AcceptFontSizeText(const QString& text);
