#include "i18n/uGlyphSheet.h"

#include "i18n/uLanguageIndexes.h"

#include <QFont>
#include <QPainter>

QString GlyphLettersOf(int row) {
    switch (row) {
    case kLanguageGerman:
        return QStringLiteral("FKU"); // fett, kursiv, unterstrichen
    case kLanguageFrench:
        return QStringLiteral("GIS"); // gras, italique, souligné
    case kLanguageItalian:
        return QStringLiteral("GCS"); // grassetto, corsivo, sottolineato
    case kLanguageSpanish:
        return QStringLiteral("NCS"); // negrita, cursiva, subrayado
    case kLanguagePortuguese:
        return QStringLiteral("NIS"); // negrito, itálico, sublinhado
    case kLanguageDutch:
        return QStringLiteral("VCO"); // vet, cursief, onderstreept
    default:
        return QStringLiteral("BIU");
    }
}

int GlyphRowOf(int language) {
    if (language == kLanguageDanish)
        return kLanguageGerman;
    if (language < 0 || language >= kGlyphRows)
        return kLanguageEnglish;
    return language;
}

const QImage& GlyphSheet() {
    static const QImage sheet = [] {
        QImage image(48, 16 * kGlyphRows, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setPen(Qt::black);
        for (int row = 0; row < kGlyphRows; ++row) {
            const QString letters = GlyphLettersOf(row);
            for (int column = 0; column < 3; ++column) {
                QFont font(QStringLiteral("DejaVu Sans"));
                font.setPixelSize(13);
                font.setBold(column == 0);
                font.setItalic(column == 1);
                font.setUnderline(column == 2);
                painter.setFont(font);
                painter.drawText(QRect(16 * column, 16 * row, 16, 16), Qt::AlignCenter,
                                 letters.mid(column, 1));
            }
        }
        return image;
    }();
    return sheet;
}
