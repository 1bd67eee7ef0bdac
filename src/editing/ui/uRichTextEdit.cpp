#include "editing/ui/uRichTextEdit.h"

#include "document/uFBColor.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

#include <algorithm>

TRichTextEdit::TRichTextEdit(QWidget* parent) : QTextEdit(parent) {
    setObjectName(QStringLiteral("rtf"));
    setAcceptRichText(true);
    // Tab moves on to the toolbar; the drawer shows a tab as a space anyway.
    setTabChangesFocus(true);
    // Text without a format of its own is drawn in the reader's default font, so the editor
    // shows it in that font too.
    document()->setDefaultFont(RTFText::CharFormatOf(TFont()).font());
    highlighter_ = new TextEditing::TLightnessCapHighlighter(document());
    connect(this, &QTextEdit::textChanged, this, &TRichTextEdit::contentChanged);
    connect(this, &QTextEdit::currentCharFormatChanged, this, [this] { emit CaretAttributesChanged(); });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { emit CaretAttributesChanged(); });
}

RTFText::TReadResult TRichTextEdit::LoadRTF(const QByteArray& rtf) {
    loading_ = true;
    const RTFText::TReadResult result = RTFText::ReadRTF(rtf, *document());
    setTextCursor(QTextCursor(document()));
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    baseline_ = SaveRTF();
    loading_ = false;
    emit CaretAttributesChanged();
    return result;
}

QByteArray TRichTextEdit::SaveRTF() const {
    return RTFText::WriteRTF(*document());
}

void TRichTextEdit::SetTypingFont(const TFont& font) {
    loading_ = true;
    const bool undo = document()->isUndoRedoEnabled();
    document()->setUndoRedoEnabled(false);
    const QTextCharFormat format = RTFText::CharFormatOf(font);
    QTextCursor cursor = textCursor();
    // An empty text keeps the font also when a click puts the caret back to its start.
    if (document()->isEmpty())
        cursor.setBlockCharFormat(format);
    cursor.mergeCharFormat(format);
    setTextCursor(cursor);
    setCurrentCharFormat(format);
    document()->setUndoRedoEnabled(undo);
    baseline_ = SaveRTF();
    loading_ = false;
    emit CaretAttributesChanged();
}

TextEditing::TCaretAttributes TRichTextEdit::CaretAttributes() const {
    QTextCharFormat format = currentCharFormat();
    if (textCursor().hasSelection()) {
        // The attributes of the selection's first character, not of the one before it.
        QTextCursor first(document());
        first.setPosition(textCursor().selectionStart() + 1);
        format = first.charFormat();
    }
    return TextEditing::CaretAttributesOf(format, document()->defaultFont());
}

void TRichTextEdit::merge(const QTextCharFormat& format) {
    mergeCurrentCharFormat(format);
    emit CaretAttributesChanged();
}

void TRichTextEdit::SetFontName(const QString& name) {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{name});
    merge(format);
}

void TRichTextEdit::SetFontSize(int points) {
    if (!TextEditing::IsAcceptedFontSize(points))
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    merge(format);
}

void TRichTextEdit::SetColor(qint32 colour) {
    QTextCharFormat format;
    format.setForeground(ColorToQColor(colour));
    merge(format);
}

void TRichTextEdit::SetStyleBit(int bit, bool on) {
    const QTextCharFormat format = TextEditing::StyleBitFormat(bit, on);
    if (!format.properties().isEmpty())
        merge(format);
}

void TRichTextEdit::SetDisplayAlignment(int alignment) {
    static constexpr Qt::Alignment kAlignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                                    Qt::AlignJustify};
    QTextOption option = document()->defaultTextOption();
    const Qt::Alignment wanted = kAlignments[std::clamp(alignment, 0, 3)];
    if (option.alignment() == wanted)
        return;
    option.setAlignment(wanted);
    document()->setDefaultTextOption(option);
}

void TRichTextEdit::contentChanged() {
    if (loading_)
        return;
    // Display formats (the lightness cap) report themselves as changes too: only a change of
    // what would be stored counts.
    QByteArray rtf = SaveRTF();
    if (rtf == baseline_)
        return;
    baseline_ = std::move(rtf);
    emit Changed(baseline_);
}

void TRichTextEdit::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::ControlModifier) {
        int bit = 0;
        if (event->key() == Qt::Key_B)
            bit = TextEditing::kStyleBold;
        else if (event->key() == Qt::Key_I)
            bit = TextEditing::kStyleItalic;
        else if (event->key() == Qt::Key_U)
            bit = TextEditing::kStyleUnderline;
        if (bit) {
            emit StyleShortcut(bit);
            event->accept();
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
}

bool TRichTextEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source && TextEditing::CanPaste(*source);
}

void TRichTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || isReadOnly())
        return;
    QTextDocument pasted;
    pasted.setDefaultFont(document()->defaultFont());
    TextEditing::TPaste outcome;
    if (!TextEditing::BuildPaste(*source, currentCharFormat(), pasted, &outcome))
        return;
    QTextCursor cursor = textCursor();
    cursor.insertFragment(QTextDocumentFragment(&pasted));
    setTextCursor(cursor);
    ensureCursorVisible();
    if (outcome.Truncated)
        emit PasteTruncated();
}

QMimeData* TRichTextEdit::createMimeDataFromSelection() const {
    QMimeData* data = QTextEdit::createMimeDataFromSelection();
    QTextDocument selection;
    selection.setDefaultFont(document()->defaultFont());
    QTextCursor(&selection).insertFragment(textCursor().selection());
    data->setData(QStringLiteral("text/rtf"), RTFText::WriteRTF(selection));
    return data;
}
