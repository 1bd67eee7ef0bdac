#include "editing/ui/uSubformText.h"

#include "document/uFotobuchDocument.h"
#include "editing/uTextEditing.h"
#include "editing/ui/uRichTextEdit.h"
#include "i18n/ui/uLocalizerForm.h"
#include "i18n/ulocalize.h"
#include "platform/uInfoausgabe.h"
#include "widgets/ui/uColorPopupButton.h"
#include "widgets/ui/uFontComboBox.h"
#include "widgets/ui/uFontSizeComboBox.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr const char* kHorzNames[] = {"tbBtnLeft", "tbBtnCenter", "tbBtnRight", "tbBtnHFull"};
constexpr const char* kHorzHints[] = {"linksbündig", "zentriert", "rechtsbündig", "Blocksatz"};
constexpr const char* kVertNames[] = {"tbBtnVTop", "tbBtnVCenter", "tbBtnVBottom"};
constexpr const char* kVertHints[] = {"vertikal oben", "vertikal zentriert", "vertikal unten"};

const QColor kInk(0x30, 0x30, 0x30);

// The German hint of a control, which retranslate looks up.
constexpr const char* kHintProperty = "tintaroHint";

// Drawn at twice the size for sharp icons on high-resolution screens.
QPixmap iconCanvas() {
    QPixmap pixmap(32, 32);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Four text lines lined up left, centred, right or justified.
QIcon horzIcon(int kind) {
    QPixmap pixmap = iconCanvas();
    QPainter painter(&pixmap);
    static constexpr int kWidths[] = {14, 9, 12, 7};
    for (int line = 0; line < 4; ++line) {
        const int w = kind == 3 ? (line == 3 ? 8 : 14) : kWidths[line];
        const int x = kind == 1 ? 8 - w / 2 : kind == 2 ? 15 - w : 1;
        painter.fillRect(QRect(x, 2 + line * 3, w, 2), kInk);
    }
    return QIcon(pixmap);
}

// Two text lines at the top, middle or bottom of a box.
QIcon vertIcon(int kind) {
    QPixmap pixmap = iconCanvas();
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(QRect(1, 1, 13, 13));
    const int top = kind == 0 ? 3 : kind == 1 ? 6 : 9;
    painter.fillRect(QRect(4, top, 8, 2), kInk);
    painter.fillRect(QRect(4, top + 3, 8, 2), kInk);
    return QIcon(pixmap);
}

// A letter in the style the button sets; with shadow, a grey copy behind it.
QIcon letterIcon(const QString& letter, int style, bool shadow = false) {
    QPixmap pixmap = iconCanvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(style & TextEditing::kStyleBold || shadow);
    font.setItalic(style & TextEditing::kStyleItalic);
    font.setUnderline(style & TextEditing::kStyleUnderline);
    painter.setFont(font);
    if (shadow) {
        painter.setPen(QColor(0xA8, 0xA8, 0xA8));
        painter.drawText(QRect(2, 2, 15, 15), Qt::AlignCenter, letter);
    }
    painter.setPen(kInk);
    painter.drawText(QRect(0, 0, 15, 15), Qt::AlignCenter, letter);
    return QIcon(pixmap);
}

// A button of the toolbar: reachable by Tab, its hint (translated) also its accessible name, which
// the localizer keeps in step with the hint after a language switch.
QToolButton* toolButton(QWidget* parent, const char* name, const char* hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setIconSize(QSize(16, 16));
    button->setProperty(kHintProperty, QString::fromUtf8(hint));
    return button;
}

} // namespace

TSFormDlgRTFText::TSFormDlgRTFText(QWidget* parent) : TSubForm(parent) {
    setObjectName(QStringLiteral("SFormDlgRTFText"));
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 4, 4, 4);
    rows->setSpacing(4);
    buildToolbar(rows);
    rtf = new TRichTextEdit(this);
    rows->addWidget(rtf, 1);
    connectToolbar();
    retranslate();

    connect(rtf, &TRichTextEdit::Changed, this, &TSFormDlgRTFText::store);
    connect(rtf, &TRichTextEdit::CaretAttributesChanged, this, &TSFormDlgRTFText::showCaretAttributes);
    connect(rtf, &TRichTextEdit::StyleShortcut, this, [this](int bit) {
        QToolButton* button = bit == TextEditing::kStyleBold     ? BtnFett
                              : bit == TextEditing::kStyleItalic ? BtnKursiv
                                                                 : BtnUnderline;
        button->click();
    });
    connect(rtf, &TRichTextEdit::PasteTruncated, this, [] {
        InfoAusgabe().Status(
            QString::asprintf(Translate(QStringLiteral("Der eingefügte Text wurde auf %d Zeichen gekürzt."))
                                  .toUtf8()
                                  .constData(),
                              TextEditing::kMaxPasteLength));
    });
    load(nullptr);
}

void TSFormDlgRTFText::buildToolbar(QBoxLayout* rows) {
    // Two rows, so that the panel fits the narrowest page view beside the tool panel: the
    // character attributes, then the element's alignment and shadow.
    auto* characters = new QHBoxLayout;
    characters->setSpacing(2);
    rows->addLayout(characters);
    auto* element = new QHBoxLayout;
    element->setSpacing(2);
    rows->addLayout(element);

    cbFontName = new TFontComboBox(this);
    cbFontName->setObjectName(QStringLiteral("cbFontName"));
    characters->addWidget(cbFontName, 1);
    cbFontSize = new TFontSizeComboBox(this);
    cbFontSize->setObjectName(QStringLiteral("cbFontSize"));
    characters->addWidget(cbFontSize);
    BtnFontColor = new TColorPopupButton(this);
    BtnFontColor->setObjectName(QStringLiteral("BtnFontColor"));
    BtnFontColor->setFocusPolicy(Qt::TabFocus);
    BtnFontColor->setProperty(kHintProperty, QStringLiteral("Schriftfarbe"));
    // The pop-up translates its captions from their own keys.
    LocalizerForms::KeepUntranslated(BtnFontColor->Panel());
    characters->addWidget(BtnFontColor);
    characters->addSpacing(6);

    BtnFett = toolButton(this, "BtnFett", "Fett");
    BtnFett->setIcon(letterIcon(QStringLiteral("F"), TextEditing::kStyleBold));
    BtnKursiv = toolButton(this, "BtnKursiv", "Kursiv");
    BtnKursiv->setIcon(letterIcon(QStringLiteral("K"), TextEditing::kStyleItalic));
    BtnUnderline = toolButton(this, "BtnUnderline", "Unterstrichen");
    BtnUnderline->setIcon(letterIcon(QStringLiteral("U"), TextEditing::kStyleUnderline));
    for (QToolButton* button : {BtnFett, BtnKursiv, BtnUnderline})
        characters->addWidget(button);

    // No button group: Tab would reach only one button of a group. The panel checks the button
    // of the element's alignment itself.
    for (int i = 0; i < 4; ++i) {
        QToolButton* button = toolButton(this, kHorzNames[i], kHorzHints[i]);
        button->setIcon(horzIcon(i));
        horzButtons_[size_t(i)] = button;
        element->addWidget(button);
    }
    element->addSpacing(6);
    for (int i = 0; i < 3; ++i) {
        QToolButton* button = toolButton(this, kVertNames[i], kVertHints[i]);
        button->setIcon(vertIcon(i));
        vertButtons_[size_t(i)] = button;
        element->addWidget(button);
    }
    element->addSpacing(6);
    BtnSchatten = toolButton(this, "BtnSchatten", "Schatten");
    BtnSchatten->setIcon(letterIcon(QStringLiteral("S"), 0, true));
    element->addWidget(BtnSchatten);
    element->addStretch(1);
}

void TSFormDlgRTFText::connectToolbar() {
    connect(cbFontName, &TFontComboBox::FontNameChosen, this, [this](const QString& family) {
        if (updating_ || !Text())
            return;
        rtf->SetFontName(family);
        rememberDefaults();
        rtf->setFocus();
    });
    connect(cbFontSize, &TFontSizeComboBox::SizeChosen, this, [this](int size) {
        if (updating_ || !Text())
            return;
        rtf->SetFontSize(size);
        rememberDefaults();
    });
    connect(cbFontSize, &TFontSizeComboBox::Confirmed, this, [this] { rtf->setFocus(); });
    connect(BtnFontColor, &TColorPopupButton::ColorChosen, this, [this](std::int32_t colour) {
        if (updating_ || !Text())
            return;
        rtf->SetColor(colour);
        rememberDefaults();
    });
    connect(BtnFett, &QToolButton::clicked, this,
            [this](bool on) { styleClicked(TextEditing::kStyleBold, on); });
    connect(BtnKursiv, &QToolButton::clicked, this,
            [this](bool on) { styleClicked(TextEditing::kStyleItalic, on); });
    connect(BtnUnderline, &QToolButton::clicked, this,
            [this](bool on) { styleClicked(TextEditing::kStyleUnderline, on); });
    for (int i = 0; i < 4; ++i) {
        connect(horzButtons_[size_t(i)], &QToolButton::clicked, this, [this, i] {
            if (updating_ || !Text())
                return;
            TextEditing::SetHorzAlign(*Text(), i, this);
            showElementState(*Text());
        });
    }
    for (int i = 0; i < 3; ++i) {
        connect(vertButtons_[size_t(i)], &QToolButton::clicked, this, [this, i] {
            if (updating_ || !Text())
                return;
            TextEditing::SetVertAlign(*Text(), i, this);
            showElementState(*Text());
        });
    }
    connect(BtnSchatten, &QToolButton::clicked, this, [this](bool on) {
        if (!updating_ && Text())
            TextEditing::SetShadow(*Text(), on, this);
    });
}

void TSFormDlgRTFText::retranslate() {
    setWindowTitle(Translate(QStringLiteral("Text bearbeiten")));
    setAccessibleName(windowTitle());
    rtf->setAccessibleName(windowTitle());
    cbFontName->SetPreviewText(Translate(QStringLiteral("FontPreviewText")));
    cbFontName->setAccessibleName(Translate(QStringLiteral("Schriftart")));
    cbFontSize->setAccessibleName(Translate(QStringLiteral("Schriftgröße")));
    for (QWidget* control : findChildren<QWidget*>()) {
        const QVariant hint = control->property(kHintProperty);
        if (!hint.isValid())
            continue;
        const QString text = Translate(hint.toString());
        control->setToolTip(text);
        control->setAccessibleName(text);
    }
}

void TSFormDlgRTFText::changeEvent(QEvent* event) {
    TSubForm::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

TFBTextElement* TSFormDlgRTFText::Text() const {
    return dynamic_cast<TFBTextElement*>(Element());
}

void TSFormDlgRTFText::SetElement(TFBElement* element) {
    // A selection always loads anew, also of the element shown before.
    loaded_ = nullptr;
    TSubForm::SetElement(element);
}

void TSFormDlgRTFText::Refresh() {
    TFBTextElement* text = Text();
    // Another control changed the element shown: its text is loaded again only when it differs
    // from what the editor holds, so that a move of the box keeps the caret and the editor's undo.
    if (!text || text != loaded_ || text->RTF() != shownRTF_) {
        load(text);
        return;
    }
    showElementState(*text);
}

void TSFormDlgRTFText::load(TFBTextElement* text) {
    updating_ = true;
    loaded_ = text;
    shownRTF_ = text ? text->RTF() : QByteArray();
    const RTFText::TReadResult read = rtf->LoadRTF(shownRTF_);
    if (text) {
        if (!read.Complete)
            InfoAusgabe().Status(
                Translate(QStringLiteral("Der Text konnte nicht vollständig gelesen werden.")));
        if (TextEditing::TakeNewElement(*text, this))
            rtf->SetTypingFont(TDefaultWerte::Instance().Font);
        showElementState(*text);
    } else {
        rtf->SetDisplayAlignment(0);
    }
    updating_ = false;
    showCaretAttributes();
}

void TSFormDlgRTFText::showElementState(const TFBTextElement& text) {
    const bool was = updating_;
    updating_ = true;
    BtnSchatten->setChecked(text.HasShadow);
    for (size_t i = 0; i < horzButtons_.size(); ++i)
        horzButtons_[i]->setChecked(i == std::min<size_t>(text.HorzAlign, 3));
    for (size_t i = 0; i < vertButtons_.size(); ++i)
        vertButtons_[i]->setChecked(i == std::min<size_t>(text.VertAlign, 2));
    rtf->SetDisplayAlignment(text.HorzAlign);
    updating_ = was;
}

void TSFormDlgRTFText::showCaretAttributes() {
    const bool was = updating_;
    updating_ = true;
    const TextEditing::TCaretAttributes shown = rtf->CaretAttributes();
    cbFontName->SetFontName(shown.FontName);
    if (TextEditing::IsAcceptedFontSize(shown.Size))
        cbFontSize->SetSize(shown.Size);
    BtnFontColor->SetColor(shown.Color);
    BtnFett->setChecked(shown.StyleBits & TextEditing::kStyleBold);
    BtnKursiv->setChecked(shown.StyleBits & TextEditing::kStyleItalic);
    BtnUnderline->setChecked(shown.StyleBits & TextEditing::kStyleUnderline);
    updating_ = was;
}

void TSFormDlgRTFText::store(const QByteArray& text) {
    TFBTextElement* element = Text();
    if (updating_ || !element)
        return;
    TextEditing::StoreText(*element, text, this);
    shownRTF_ = element->RTF();
}

void TSFormDlgRTFText::rememberDefaults() {
    TextEditing::RememberDefaults(rtf->CaretAttributes());
}

void TSFormDlgRTFText::styleClicked(int bit, bool on) {
    if (updating_ || !Text())
        return;
    rtf->SetStyleBit(bit, on);
    rememberDefaults();
}
