#pragma once

#include "editing/uTextEditing.h"
#include "render/uRTFTextDocument.h"

#include <QTextEdit>

// The rich-text editor of the text panel: a text edit that loads and saves the rich text of text
// elements, reports real changes of its content (also the steps of its own undo), tells when the
// attributes at the caret may have changed, shows very light text darker (display only) and
// cleans what is pasted into it. A paste takes rich text first (text copied in another designer
// keeps its formats), then HTML without pictures and tables, then plain text.
class TRichTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TRichTextEdit(QWidget* parent = nullptr);

    // Replaces the content and clears the editor's own undo history; reports no change.
    RTFText::TReadResult LoadRTF(const QByteArray& rtf);
    QByteArray SaveRTF() const;

    // The font new text is typed in (also after a click into the empty text); reports no change
    // and leaves no undo step.
    void SetTypingFont(const TFont& font);

    // The attributes at the caret (with a selection: at its start).
    TextEditing::TCaretAttributes CaretAttributes() const;
    // Set on the selection, or on what is typed next; a change of the text is reported.
    void SetFontName(const QString& name);
    void SetFontSize(int points);
    void SetColor(qint32 colour);
    void SetStyleBit(int bit, bool on);

    // How the editor lines up paragraphs without an alignment of their own: the element's
    // horizontal alignment (0 left, 1 centre, 2 right, 3 justified). Display only.
    void SetDisplayAlignment(int alignment);

    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

signals:
    // The content changed (typing, formatting, cut, paste, undo, redo): the new rich text.
    void Changed(const QByteArray& rtf);
    // The attributes at the caret may differ from before.
    void CaretAttributesChanged();
    // Ctrl+B, Ctrl+I or Ctrl+U: the owner toggles that style bit as its button would.
    void StyleShortcut(int styleBit);
    // A paste was cut short at TextEditing::kMaxPasteLength characters.
    void PasteTruncated();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void contentChanged();
    void merge(const QTextCharFormat& format);

    TextEditing::TLightnessCapHighlighter* highlighter_ = nullptr;
    QByteArray baseline_; // the text last loaded or reported
    bool loading_ = false;
};
