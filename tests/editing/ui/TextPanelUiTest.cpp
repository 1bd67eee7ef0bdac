// The text panel with keyboard input: what typing, the toolbar and the editor's own undo store into
// the element and what the drawer makes of it, the remembered defaults of a new element, what
// showing texts (also a broken one) leaves untouched, the paste rule, the toolbar's keyboard
// access, and a screenshot (build/screenshots).
#include "document/uFotobuchDocument.h"
#include "editing/uDocumentEdits.h"
#include "editing/uMulticaster.h"
#include "editing/uTextEditing.h"
#include "editing/ui/uRichTextEdit.h"
#include "editing/ui/uSubformText.h"
#include "platform/uInfoausgabe.h"
#include "render/uBitmapDrawContext.h"
#include "render/uRTFDrawer.h"
#include "render/uRTFTextDocument.h"
#include "support/GuiTest.h"
#include "support/PageElements.h"
#include "widgets/ui/uColorPopupButton.h"
#include "widgets/ui/uFontComboBox.h"
#include "widgets/ui/uFontSizeComboBox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QString screenshotPath(const QString& name) {
    QDir dir(QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/../screenshots"));
    dir.mkpath(QStringLiteral("."));
    return dir.absoluteFilePath(name);
}

class StatusLine : public TInfoTarget {
public:
    void SetStatusText(const QString& text) override { texts << text; }
    void ShowProgress(const QString&) override {}
    void HideProgress() override {}
    QStringList texts;
};

// The fonts the drawer lays the words of a text out in.
std::vector<TFont> drawnFonts(const QByteArray& rtf) {
    TRTFBasicDrawer drawer;
    drawer.SetRTF(rtf);
    std::vector<TFont> fonts;
    for (int i = 0; i < drawer.TokenCount(); ++i) {
        const TRTFToken& token = drawer.Token(i);
        if (token.Kind == rtkWord && !token.Text.trimmed().isEmpty())
            fonts.push_back(token.Font());
    }
    return fonts;
}

class TextPanel : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        TestSupport::GuiTest::SetUp();
        TestSupport::addPages(document, 1);
        page = document.Pages.Items(0);
        text = TestSupport::placeElement<TFBTextElement>(page, 100, 60, 120, 50);
        subscription = Multicaster().Subscribe(
            {[this](const QObject*, TFBElement* element, TFBPage*) { announced.push_back(element); }, nullptr,
             nullptr});
        InfoAusgabe().SetTarget(&status);
        panel.resize(560, 220);
        panel.show();
        QApplication::setActiveWindow(&panel);
        editor = panel.Editor();
    }
    void TearDown() override {
        panel.SetElement(nullptr);
        subscription.Reset();
        document.Reset();
        TestSupport::GuiTest::TearDown();
    }
    template <typename T>
    T* child(const char* name) {
        T* found = panel.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void type(const QString& keys) {
        editor->setFocus();
        QTest::keyClicks(editor, keys);
    }
    void selectAll() { QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier); }

    TFBDocument document;
    TFBPage* page = nullptr;
    TFBTextElement* text = nullptr;
    TMulticaster::TSubscription subscription;
    std::vector<TFBElement*> announced;
    StatusLine status;
    TSFormDlgRTFText panel;
    TRichTextEdit* editor = nullptr;
};

} // namespace

TEST_F(TextPanel, TypingAndTheToolbarStoreTextTheDrawerDrawsBoldLargeAndColoured) {
    panel.SetElement(text);
    document.Modified = false;
    type(QStringLiteral("Hallo"));
    EXPECT_EQ(RTFText::PlainTextRTF(text->RTF()), QStringLiteral("Hallo"));
    EXPECT_TRUE(document.Modified);
    EXPECT_FALSE(announced.empty());

    selectAll();
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(child<QToolButton>("BtnFett")->isChecked());

    // A letter never reaches the size box; 0 and sizes beyond the drawer's are refused.
    auto* size = child<TFontSizeComboBox>("cbFontSize");
    const QByteArray beforeSize = text->RTF();
    size->lineEdit()->selectAll();
    QTest::keyClicks(size->lineEdit(), QStringLiteral("x"));
    QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    for (const char* refused : {"0", "1639"}) {
        size->lineEdit()->selectAll();
        QTest::keyClicks(size->lineEdit(), QString::fromLatin1(refused));
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    }
    EXPECT_EQ(text->RTF(), beforeSize);
    EXPECT_EQ(size->Size(), 10);
    // Enter takes the size and hands the focus back to the editor, selection and all.
    size->setFocus();
    size->lineEdit()->selectAll();
    QTest::keyClicks(size->lineEdit(), QStringLiteral("24"));
    QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(editor->hasFocus());
    child<TColorPopupButton>("BtnFontColor")->ChooseColor(0x0000C0); // dark red, 0x00BBGGRR

    const std::vector<TFont> fonts = drawnFonts(text->RTF());
    ASSERT_EQ(fonts.size(), 1u) << text->RTF().toStdString();
    EXPECT_TRUE(fonts[0].IsBold());
    EXPECT_EQ(fonts[0].Size(), 24);
    EXPECT_EQ(fonts[0].Color() & 0xFFFFFF, 0x0000C0);

    // And the page shows it so: red ink on white.
    QImage image(480, 240, QImage::Format_ARGB32);
    image.fill(0xFFFFFFFFu);
    TBitmapDrawContext dc(image);
    dc.Transformation.Scale(2);
    DrawTextElementText(dc, *text);
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            red += qRed(p) > 150 && qGreen(p) < 60 && qBlue(p) < 60;
        }
    }
    EXPECT_GT(red, 100);

    // What the user set is what a new text starts with.
    const TFont& remembered = TDefaultWerte::Instance().Font;
    EXPECT_TRUE(remembered.IsBold());
    EXPECT_EQ(remembered.Size(), 24);
    EXPECT_EQ(remembered.Color(), 0x0000C0);

    // The caret in the text shows its attributes in the toolbar; a shadow click is remembered too.
    QTest::keyClick(editor, Qt::Key_End);
    EXPECT_EQ(size->Size(), 24);
    EXPECT_EQ(child<TColorPopupButton>("BtnFontColor")->Color(), 0x0000C0);
    child<QToolButton>("BtnSchatten")->click();
    EXPECT_TRUE(text->HasShadow);
    child<QToolButton>("BtnSchatten")->click();
    EXPECT_FALSE(text->HasShadow);
    EXPECT_FALSE(TDefaultWerte::Instance().Schatten);
    // One alignment button of each kind is down; a click on the one down keeps it so.
    for (int click = 0; click < 2; ++click) {
        child<QToolButton>("tbBtnRight")->click();
        EXPECT_EQ(text->HorzAlign, 2);
        EXPECT_TRUE(child<QToolButton>("tbBtnRight")->isChecked());
        EXPECT_FALSE(child<QToolButton>("tbBtnLeft")->isChecked());
    }
    child<QToolButton>("tbBtnVBottom")->click();
    EXPECT_EQ(text->VertAlign, 2);
    EXPECT_FALSE(child<QToolButton>("tbBtnVTop")->isChecked());
}

TEST_F(TextPanel, EveryStepOfTheEditorsUndoIsStored) {
    panel.SetElement(text);
    // Loading leaves nothing to undo.
    EXPECT_FALSE(editor->document()->isUndoAvailable());
    type(QStringLiteral("Hallo"));
    const QByteArray typed = text->RTF();
    selectAll();
    QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
    ASSERT_TRUE(drawnFonts(text->RTF()).at(0).IsItalic());

    announced.clear();
    editor->undo();
    EXPECT_EQ(text->RTF(), typed);
    EXPECT_FALSE(drawnFonts(text->RTF()).at(0).IsItalic());
    EXPECT_EQ(announced.size(), 1u);
    editor->undo();
    EXPECT_EQ(RTFText::PlainTextRTF(text->RTF()), QString());
    editor->redo();
    EXPECT_EQ(text->RTF(), typed);
}

TEST_F(TextPanel, ANewEmptyElementStartsWithTheRememberedDefaults) {
    TDefaultWerte::Instance().Font = TFont(QStringLiteral("Courier New"), 20, fsItalic, 0x008000);
    TDefaultWerte::Instance().Schatten = false;
    TFBTextElement* fresh = DocumentEdits::InsertTextElement(*page);
    ASSERT_TRUE(fresh->HasShadow);
    panel.SetElement(fresh);
    EXPECT_FALSE(fresh->HasShadow);
    EXPECT_FALSE(fresh->IsNew);
    EXPECT_TRUE(fresh->RTF().isEmpty());
    EXPECT_EQ(child<TFontComboBox>("cbFontName")->FontName(), QStringLiteral("Courier New"));
    EXPECT_EQ(child<TFontSizeComboBox>("cbFontSize")->Size(), 20);
    EXPECT_TRUE(child<QToolButton>("BtnKursiv")->isChecked());
    EXPECT_FALSE(child<QToolButton>("BtnSchatten")->isChecked());
    type(QStringLiteral("Neu"));
    const std::vector<TFont> fonts = drawnFonts(fresh->RTF());
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(fonts[0].Size(), 20);
    EXPECT_TRUE(fonts[0].IsItalic());
    EXPECT_EQ(fonts[0].Color() & 0xFFFFFF, 0x008000);

    // An element that is not new, or not empty, keeps what it has.
    TFBTextElement* other = DocumentEdits::InsertTextElement(*page);
    other->IsNew = false;
    panel.SetElement(other);
    EXPECT_TRUE(other->HasShadow);
    EXPECT_EQ(child<TFontSizeComboBox>("cbFontSize")->Size(), 10);
}

TEST_F(TextPanel, ShowingTextsStoresNothingAndABrokenTextIsWrittenOnlyAfterAnEdit) {
    const QByteArray texts[] = {
        TextEditing::PlainTextAsRTF(QStringLiteral("Neuer Text\nzweite Zeile"),
                                    TFont(QStringLiteral("Arial"), 12)),
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Sommer am Meer}",
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}{\\colortbl;\\red255\\green255"
        "\\blue255;}\\pard\\qc\\f0\\fs40\\cf1 Wei\\'dfe \\b Schrift\\b0\\par\\f1\\fs24 \\u321?\\'f3d\\u378?}",
        "{\\rtf1{\\fonttbl{\\f0 Tintaro Missing Face;}}\\f0\\fs30 Ersatzschrift}",
        "{\\rtf1 Seite {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}} \\{x\\} \\emdash  x}",
    };
    for (const QByteArray& stored : texts) {
        SCOPED_TRACE(stored.toStdString());
        text->SetRTF(stored);
        document.Modified = false;
        announced.clear();
        panel.SetElement(text);
        // Another control's change of the element and a second selection load it again.
        panel.ElementChanged(text, page);
        panel.SetElement(text);
        EXPECT_EQ(text->RTF(), stored);
        EXPECT_FALSE(document.Modified);
        EXPECT_TRUE(announced.empty());
        EXPECT_FALSE(editor->document()->isUndoAvailable());
        EXPECT_TRUE(status.texts.isEmpty());
    }

    // White text is shown darker, and stored white.
    text->SetRTF(texts[2]);
    panel.SetElement(text);
    const QTextBlock first = editor->document()->begin();
    const QList<QTextLayout::FormatRange> shown = first.layout()->formats();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_LT(shown.first().format.foreground().color().lightnessF(), 0.87);
    EXPECT_EQ(first.begin().fragment().charFormat().foreground().color(), QColor(Qt::white));

    const QByteArray broken = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Lesbar {\\b fett";
    text->SetRTF(broken);
    panel.SetElement(text);
    EXPECT_EQ(text->RTF(), broken);
    EXPECT_FALSE(document.Modified);
    ASSERT_EQ(status.texts.size(), 1);
    EXPECT_EQ(status.texts[0], QStringLiteral("Der Text konnte nicht vollständig gelesen werden."));
    EXPECT_TRUE(editor->toPlainText().startsWith(QStringLiteral("Lesbar")));
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    type(QStringLiteral("!"));
    EXPECT_TRUE(RTFText::PlainTextRTF(text->RTF()).endsWith(u'!'));
    EXPECT_TRUE(document.Modified);
}

TEST_F(TextPanel, PasteKeepsRichTextAndCleansLinksHighlightsPicturesAndTables) {
    panel.SetElement(text);
    editor->setFocus();

    // Rich text from another designer keeps its formats.
    QMimeData rich;
    rich.setData(QStringLiteral("text/rtf"),
                 "{\\rtf1{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs56\\b Gro\\'df}");
    rich.setText(QStringLiteral("plain"));
    editor->insertFromMimeData(&rich);
    std::vector<TFont> fonts = drawnFonts(text->RTF());
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0].Name(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(fonts[0].Size(), 28);
    EXPECT_TRUE(fonts[0].IsBold());

    editor->clear();
    QMimeData html;
    html.setHtml(QStringLiteral("<p><a href=\"https://example.org\"><span style=\"color:#0000ff; "
                                "text-decoration:underline\">Link</span>"
                                "</a> <span style=\"background-color:#ffff00\">gelb</span> "
                                "<span style=\"color:#0000ff\">blau</span><img src=\"x.png\"></p>"
                                "<table><tr><td>Zelle</td></tr></table><p>Ende</p>"));
    editor->insertFromMimeData(&html);
    const QString plain = RTFText::PlainTextRTF(text->RTF());
    EXPECT_FALSE(plain.contains(QStringLiteral("Zelle"))) << plain.toStdString();
    EXPECT_FALSE(plain.contains(QChar(QChar::ObjectReplacementCharacter)));
    EXPECT_TRUE(plain.contains(QStringLiteral("Link gelb blau")));
    EXPECT_TRUE(plain.contains(QStringLiteral("Ende")));
    QTextDocument stored;
    RTFText::ReadRTF(text->RTF(), stored);
    for (QTextBlock block = stored.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QString piece = it.fragment().text();
            EXPECT_FALSE(format.fontUnderline()) << piece.toStdString();
            EXPECT_FALSE(format.hasProperty(QTextFormat::BackgroundBrush)) << piece.toStdString();
            // Blue without underline is the user's colour and stays.
            if (piece.contains(QStringLiteral("blau"))) {
                EXPECT_EQ(format.foreground().color(), QColor(0, 0, 255));
            }
            if (piece.contains(QStringLiteral("Link"))) {
                EXPECT_NE(format.foreground().color(), QColor(0, 0, 255));
            }
        }
    }

    // Megabytes of text are cut to what a text box can take, with a word in the status line.
    editor->clear();
    QMimeData huge;
    const QString line = QStringLiteral("Ein Absatz aus dem Internet, viel zu lang für ein Fotobuch.\n");
    huge.setText(line.repeated(5 * 1024 * 1024 / line.size()));
    editor->insertFromMimeData(&huge);
    EXPECT_EQ(editor->document()->characterCount() - 1, TextEditing::kMaxPasteLength);
    ASSERT_FALSE(status.texts.isEmpty());
    EXPECT_TRUE(status.texts.last().contains(QString::number(TextEditing::kMaxPasteLength)));
}

TEST_F(TextPanel, EveryToolbarButtonIsReachedByTabAndNamedByItsHint) {
    text->SetRTF(
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Sommer am {\\b Meer}\\par{\\i\\cf0 zweite} Zeile}");
    text->SetHorzAlign(1);
    panel.SetElement(text);
    const QStringList names = {"BtnFett",      "BtnKursiv",    "BtnUnderline", "tbBtnLeft",
                               "tbBtnCenter",  "tbBtnRight",   "tbBtnHFull",   "tbBtnVTop",
                               "tbBtnVCenter", "tbBtnVBottom", "BtnSchatten"};
    QStringList reached;
    QWidget* start = child<QWidget>("cbFontName");
    start->setFocus();
    for (int step = 0; step < 40; ++step) {
        QWidget* focus = QApplication::focusWidget();
        if (auto* button = qobject_cast<QToolButton*>(focus);
            button && names.contains(button->objectName())) {
            reached << button->objectName();
            EXPECT_FALSE(button->accessibleName().isEmpty());
            EXPECT_EQ(button->accessibleName(), button->toolTip());
        }
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    for (const QString& name : names)
        EXPECT_TRUE(reached.contains(name)) << name.toStdString();
    EXPECT_EQ(child<QToolButton>("BtnFett")->accessibleName(), QStringLiteral("Fett"));
    EXPECT_EQ(child<QToolButton>("tbBtnHFull")->accessibleName(), QStringLiteral("Blocksatz"));
    EXPECT_TRUE(child<QToolButton>("tbBtnCenter")->isChecked());

    QTextCursor caret(editor->document());
    caret.setPosition(12);
    editor->setTextCursor(caret);
    editor->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(child<QToolButton>("BtnFett")->isChecked());
    EXPECT_TRUE(panel.grab().toImage().save(screenshotPath(QStringLiteral("text-panel.png"))));
}
