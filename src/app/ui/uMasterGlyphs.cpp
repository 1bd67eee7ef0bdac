#include "app/ui/uMasterGlyphs.h"

#include "platform/uDebug.h"

#include <QFile>

namespace MasterGlyphs {

QString ThemeName(const QString& glyph) {
    static const struct {
        const char* Glyph;
        const char* Theme;
    } names[] = {{"neu", "document-new"},          {"oeffnen", "document-open"},
                 {"speichern", "document-save"},   {"drucken", "document-print"},
                 {"entfernen", "edit-delete"},     {"ausrichtung", "object-rotate-right"},
                 {"text", "insert-text"},          {"undo", "edit-undo"},
                 {"schliessen", "document-close"}, {"zoom", "zoom-in"}};
    for (const auto& entry : names)
        if (glyph == QLatin1String(entry.Glyph))
            return QString::fromLatin1(entry.Theme);
    return {};
}

QIcon Icon(const QString& glyph, const QIcon& fallback) {
    const QString theme = ThemeName(glyph);
    if (!theme.isEmpty() && QIcon::hasThemeIcon(theme))
        return QIcon::fromTheme(theme);
    const QString own = QStringLiteral(":/icons/%1.svg").arg(glyph);
    if (QFile::exists(own))
        return QIcon(own);
    Debug().Trace(QStringLiteral("MasterGlyphs: no glyph \"%1\"").arg(glyph));
    return fallback;
}

} // namespace MasterGlyphs
