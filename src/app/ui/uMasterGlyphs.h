#pragma once

#include <QIcon>
#include <QString>

// The glyphs of the main window's buttons: the desktop theme's icon of the freedesktop name, or
// our own SVG drawing (":/icons/<name>.svg") where the theme has none. SVG stays sharp at any
// pixel ratio.
namespace MasterGlyphs {

// The freedesktop icon name for one of our glyph names ("neu" -> "document-new"); empty for a
// glyph the naming specification has no name for.
QString ThemeName(const QString& glyph);
// The theme's icon, else ours; when neither exists, one trace line and the fallback (Qt's own).
QIcon Icon(const QString& glyph, const QIcon& fallback = {});

} // namespace MasterGlyphs
