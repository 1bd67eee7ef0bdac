#pragma once

#include <QImage>

// The glyph sheet "FETTKURSIVUNT": 16 x 16 glyphs of the rich-text toolbar, one row per language
// index 0 ... 17 (y = 16 * row) and the columns bold, italic and underline (x = 0, 16, 32), each
// the language's initial of the word drawn in its own style. Drawn once, on first use.
const QImage& GlyphSheet();
constexpr int kGlyphRows = 18;
// The row a language shows: its own; Danish, which has none, the German one (its initials F, K,
// U are Danish too); any other index without a row the English one.
int GlyphRowOf(int language);
// The three initials of a row ("FKU", "BIU", ...).
QString GlyphLettersOf(int row);
