#include "editing/uTextEditing.h"

#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "render/uRTFTextDocument.h"
#include "widgets/uFontSizeText.h"

#include <QTextCursor>
#include <QTextDocument>

TDefaultWerte& TDefaultWerte::Instance() {
    static TDefaultWerte instance;
    return instance;
}

namespace TextEditing {

bool IsAcceptedFontSize(int points) {
    return points >= 1 && points <= kMaxFontSize;
}

bool StoreText(TFBTextElement& element, const QByteArray& rtf, const QObject* source) {
    if (element.RTF() == rtf)
        return false;
    element.SetRTF(rtf);
    if (TFBDocument* document = element.Document())
        document->Modified = true;
    TMulticaster::instance().NotifyElementChanged(source, &element);
    return true;
}

QByteArray PlainTextAsRTF(const QString& text, const TFont& font) {
    QTextDocument document;
    QTextCursor cursor(&document);
    const QTextCharFormat format = RTFText::CharFormatOf(font);
    cursor.setBlockCharFormat(format);
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    const QStringList lines = normalized.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat(), format);
        cursor.insertText(lines[i], format);
    }
    return RTFText::WriteRTF(document);
}

} // namespace TextEditing
