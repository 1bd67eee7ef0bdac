#pragma once

// The rules of the text panel that do not need its widgets: the remembered text defaults, what a
// store of the editor's text does to the element, and the text set from plain text the way the
// panel would (also used by tintaro-cli).

#include "platform/uFont.h"

#include <QByteArray>
#include <QString>

class QObject;
class TFBTextElement;

// The remembered text defaults: what a new empty text element starts with. The text panel keeps
// them up to date whenever the user picks a font name, size, colour, style or the shadow.
struct TDefaultWerte {
    TFont Font{QStringLiteral("Arial"), 12};
    bool Schatten = true;

    static TDefaultWerte& Instance();
};

namespace TextEditing {

// Font sizes the panel accepts: whole points from 1 to the drawer's largest size (kMaxFontSize).
bool IsAcceptedFontSize(int points);

// Stores rich text into the element as the panel does after every change of the editor: the text
// is set, the document marked modified and the element announced (source: the control). Text equal
// to what the element holds changes nothing and announces nothing. Returns whether it changed.
bool StoreText(TFBTextElement& element, const QByteArray& rtf, const QObject* source);

// The rich text of a plain text in one font: lines become paragraphs.
QByteArray PlainTextAsRTF(const QString& text, const TFont& font);

} // namespace TextEditing
