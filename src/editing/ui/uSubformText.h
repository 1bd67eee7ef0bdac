#pragma once

#include "editing/ui/uSubform.h"

#include <QByteArray>

#include <array>

class QBoxLayout;
class QToolButton;
class TColorPopupButton;
class TFBTextElement;
class TFontComboBox;
class TFontSizeComboBox;
class TRichTextEdit;

// The text panel ("Text bearbeiten"): the rich text of the selected text element in the editor,
// with a toolbar for font, size, colour and style of the characters, the element's horizontal and
// vertical alignment and its shadow. Every change of the editor (also a step of its own undo) is
// stored into the element and announced at once; showing an element stores nothing. The toolbar
// follows the caret.
class TSFormDlgRTFText : public TSubForm {
    Q_OBJECT
public:
    explicit TSFormDlgRTFText(QWidget* parent = nullptr);

    TRichTextEdit* Editor() const { return rtf; }
    TFBTextElement* Text() const;

    void SetElement(TFBElement* element) override;

protected:
    void Refresh() override;
    void changeEvent(QEvent* event) override;

private:
    void buildToolbar(QBoxLayout* rows);
    void retranslate();
    void connectToolbar();
    void load(TFBTextElement* text);
    void showElementState(const TFBTextElement& text);
    void showCaretAttributes();
    void store(const QByteArray& text);
    void rememberDefaults();
    void styleClicked(int bit, bool on);

    TRichTextEdit* rtf = nullptr;
    TFontComboBox* cbFontName = nullptr;
    TFontSizeComboBox* cbFontSize = nullptr;
    TColorPopupButton* BtnFontColor = nullptr;
    QToolButton* BtnFett = nullptr;
    QToolButton* BtnKursiv = nullptr;
    QToolButton* BtnUnderline = nullptr;
    std::array<QToolButton*, 4> horzButtons_{}; // tbBtnLeft, tbBtnCenter, tbBtnRight, tbBtnHFull
    std::array<QToolButton*, 3> vertButtons_{}; // tbBtnVTop, tbBtnVCenter, tbBtnVBottom
    QToolButton* BtnSchatten = nullptr;

    TFBTextElement* loaded_ = nullptr; // the element whose text the editor holds
    QByteArray shownRTF_;              // its text as loaded or last stored
    // Set while the panel fills the toolbar or the editor itself: no reaction is the user's.
    bool updating_ = false;
};
