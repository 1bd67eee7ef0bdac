// Forms translated by component name: each kind of component, nested forms, the switch back to
// the form definition, template collection, the language menu and Qt's message-box buttons.
#include "i18n/ui/uLanguageMenu.h"
#include "i18n/ui/uLocalizerForm.h"
#include "i18n/ulocalize.h"
#include "platform/uVXRegIniFile.h"
#include "support/TempHome.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

class TProbeInner : public TLocalizerForm {
    Q_OBJECT
public:
    explicit TProbeInner(QWidget* parent) : TLocalizerForm(parent) {
        setObjectName(QStringLiteral("ProbeInner"));
        auto* label = new QLabel(QStringLiteral("Innen"), this);
        label->setObjectName(QStringLiteral("lblName"));
        Localize();
    }
};

class TProbeDlg : public TLocalizerDialog {
    Q_OBJECT
public:
    explicit TProbeDlg(QWidget* parent = nullptr) : TLocalizerDialog(parent) {
        setObjectName(QStringLiteral("ProbeDlg"));
        setWindowTitle(QStringLiteral("Probe"));
        auto* layout = new QVBoxLayout(this);
        label = add<QLabel>("lblName", QStringLiteral("Name"));
        button = add<QPushButton>("btnOk", QStringLiteral("&Übernehmen"));
        button->setToolTip(QStringLiteral("Übernimmt"));
        group = new QGroupBox(QStringLiteral("Gruppe"), this);
        group->setObjectName(QStringLiteral("grpEins"));
        layout->addWidget(group);
        edit = add<QLineEdit>("edName", QStringLiteral("Vorgabe"));
        number = add<QLineEdit>("edZahl", QStringLiteral("12,5"));
        combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cbArt"));
        combo->addItems({QStringLiteral("eins"), QStringLiteral("zwei")});
        layout->addWidget(combo);
        memo = add<QPlainTextEdit>("meInfo", QStringLiteral("erste\nzweite\ndritte"));
        memo->setReadOnly(true);
        tabs = new QTabWidget(this);
        tabs->setObjectName(QStringLiteral("pcSeiten"));
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("tsEins"));
        tabs->addTab(page, QStringLiteral("Seite eins"));
        layout->addWidget(tabs);
        tree = new QTreeWidget(this);
        tree->setObjectName(QStringLiteral("tvListe"));
        tree->setHeaderLabels({QStringLiteral("Datum"), QStringLiteral("Name")});
        layout->addWidget(tree);
        action = new QAction(QStringLiteral("&Los"), this);
        action->setObjectName(QStringLiteral("actLos"));
        shown = new QAction(QStringLiteral("&Zeigen"), this);
        shown->setObjectName(QStringLiteral("actZeigen"));
        shown->setIconText(QStringLiteral("Zeigen"));
        shown->setToolTip(QStringLiteral("Zeigt es"));
        auto* tool = new QToolButton(this);
        tool->setObjectName(QStringLiteral("BtnZeigen"));
        tool->setDefaultAction(shown);
        layout->addWidget(tool);
        inner = new TProbeInner(this);
        layout->addWidget(inner);
        Localize();
    }
    void AfterTranslate() override { ++afterTranslate; }
    void RegisterTexts() override { RegisterText("Gefunden"); }

    template <class W>
    W* add(const char* name, const QString& text) {
        auto* w = new W(text, this);
        w->setObjectName(QString::fromLatin1(name));
        layout()->addWidget(w);
        return w;
    }

    QLabel* label;
    QPushButton* button;
    QGroupBox* group;
    QLineEdit* edit;
    QLineEdit* number;
    QComboBox* combo;
    QPlainTextEdit* memo;
    QTabWidget* tabs;
    QTreeWidget* tree;
    QAction* action;
    QAction* shown;
    TProbeInner* inner;
    int afterTranslate = 0;
};

namespace {

QByteArray utf16Table(const QString& text) {
    QByteArray bytes("\xFF\xFE");
    for (const QChar ch : text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

class ProbeTables {
public:
    ProbeTables() {
        Localizer().SetTableFolder(dir_.path());
        write(0, QStringLiteral("[TProbeDlg]\r\nProbeDlg.Caption=Probe\r\nlblName.Caption=Name\r\n"
                                "btnOk.Caption=&Übernehmen\r\nbtnOk.Hint=Übernimmt\r\ncbArt.Items0=eins\r\n"
                                "cbArt.Items1=zwei\r\nmeInfo.Lines0=erste\r\nmeInfo.Lines1=zweite\r\n"
                                "meInfo.Lines2=dritte\r\nBtnZeigen.Hint=Zeigt es\r\n"
                                "[TProbeInner]\r\nlblName.Caption=Innen\r\n"));
        write(1, QStringLiteral(
                     "[TProbeDlg]\r\nProbeDlg.Caption=Probe EN\r\nlblName.Caption=Name EN\r\n"
                     "btnOk.Caption=&Apply\r\nbtnOk.Hint=Applies\r\ngrpEins.Caption=Group\r\n"
                     "edName.Text=Default\r\ncbArt.Items0=one\r\ncbArt.Items1=two\r\ncbArt.Items2=three\r\n"
                     "meInfo.Lines0=first\r\nmeInfo.Lines2=third\r\ntsEins.Caption=Page one\r\n"
                     "tvListe.Columns0=Date\r\nactLos.Caption=&Go\r\nactZeigen.Caption=&Show\r\n"
                     "BtnZeigen.Caption=Show\r\nBtnZeigen.Hint=Shows it\r\nGefunden=Found\r\n"
                     "[TProbeInner]\r\nlblName.Caption=Inside\r\n"));
    }
    ~ProbeTables() {
        Localizer().SetTableFolder(QString());
        Localizer().SetResWrite(false, QString());
        SetCurrentLanguage(kLanguageGerman);
    }
    void write(int index, const QString& text) {
        QFile file(dir_.path() + u'/' + QString::number(100 + index));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(utf16Table(text));
    }

private:
    QTemporaryDir dir_;
};

TEST(LocalizerForm, EveryKindOfComponentFollowsTheSwitchAndReturnsToItsDefinition) {
    ProbeTables tables;
    TProbeDlg dlg;
    EXPECT_EQ(dlg.afterTranslate, 1);
    ASSERT_TRUE(Localizer().SetLanguage(kLanguageEnglish));
    EXPECT_EQ(dlg.afterTranslate, 2) << "a switch translates the forms that exist";
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Probe EN"));
    EXPECT_EQ(dlg.label->text(), QStringLiteral("Name EN"));
    EXPECT_EQ(dlg.inner->findChild<QLabel*>(QStringLiteral("lblName"))->text(), QStringLiteral("Inside"))
        << "a nested form uses its own section";
    EXPECT_EQ(dlg.button->text(), QStringLiteral("&Apply"));
    EXPECT_EQ(dlg.button->toolTip(), QStringLiteral("Applies"));
    EXPECT_EQ(dlg.group->title(), QStringLiteral("Group"));
    EXPECT_EQ(dlg.edit->text(), QStringLiteral("Default"));
    EXPECT_EQ(dlg.number->text(), QStringLiteral("12,5"));
    EXPECT_EQ(dlg.combo->count(), 3) << "a line beyond the definition is appended";
    EXPECT_EQ(dlg.combo->itemText(2), QStringLiteral("three"));
    EXPECT_EQ(dlg.memo->toPlainText(), QStringLiteral("first\nzweite\ndritte")) << "Lines2 without Lines1";
    EXPECT_EQ(dlg.tabs->tabText(0), QStringLiteral("Page one"));
    EXPECT_EQ(dlg.tree->headerItem()->text(0), QStringLiteral("Date"));
    EXPECT_EQ(dlg.tree->headerItem()->text(1), QStringLiteral("Name"));
    EXPECT_EQ(dlg.action->text(), QStringLiteral("&Go"));
    EXPECT_EQ(dlg.shown->text(), QStringLiteral("&Show"));
    EXPECT_EQ(dlg.shown->iconText(), QStringLiteral("Show"));
    EXPECT_EQ(dlg.shown->toolTip(), QStringLiteral("Shows it"));
    EXPECT_EQ(TranslateText(dlg.Section(), QStringLiteral("Gefunden")), QStringLiteral("Found"));

    ASSERT_TRUE(Localizer().SetLanguage(kLanguageGerman));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Probe"));
    EXPECT_EQ(dlg.button->text(), QStringLiteral("&Übernehmen"));
    EXPECT_EQ(dlg.memo->toPlainText(), QStringLiteral("erste\nzweite\ndritte"));
    EXPECT_EQ(dlg.combo->itemText(0), QStringLiteral("eins"));
    EXPECT_EQ(dlg.combo->count(), 2) << "the appended line of the previous language goes";
    EXPECT_EQ(dlg.shown->toolTip(), QStringLiteral("Zeigt es"));
    EXPECT_EQ(TranslateText(dlg.Section(), QStringLiteral("Gefunden")), QStringLiteral("Gefunden"));

    // A form created after the switch is translated when it is built.
    ASSERT_TRUE(Localizer().SetLanguage(kLanguageEnglish));
    TProbeDlg later;
    EXPECT_EQ(later.label->text(), QStringLiteral("Name EN"));
}

TEST(LocalizerForm, TemplateModeCollectsTheFormsInsteadOfTranslating) {
    ProbeTables tables;
    QTemporaryDir dir;
    Localizer().SetResWrite(true, dir.path() + QStringLiteral("/tintaro.txt"));
    TProbeDlg dlg;
    EXPECT_EQ(dlg.afterTranslate, 0);
    const TMyMemIniFile& texts = Localizer().Texts();
    const QString section = QStringLiteral("TProbeDlg");
    EXPECT_EQ(texts.ReadString(section, QStringLiteral("ProbeDlg.Caption"), QString()),
              QStringLiteral("Probe"));
    EXPECT_EQ(texts.ReadString(section, QStringLiteral("btnOk.Hint"), QString()),
              QStringLiteral("Übernimmt"));
    EXPECT_EQ(texts.ReadString(section, QStringLiteral("meInfo.Lines2"), QString()),
              QStringLiteral("dritte"));
    EXPECT_EQ(texts.ReadString(section, QStringLiteral("BtnZeigen.Caption"), QString()),
              QStringLiteral("Zeigen"));
    EXPECT_EQ(texts.ReadString(QStringLiteral("TProbeInner"), QStringLiteral("lblName.Caption"), QString()),
              QStringLiteral("Innen"));
    EXPECT_FALSE(Localizer().SetLanguage(kLanguageEnglish));
    Localizer().WriteTemplate();
    TMyMemIniFile written;
    written.LoadFromFile(dir.path() + QStringLiteral("/tintaro.txt"));
    EXPECT_EQ(written.ReadString(section, QStringLiteral("Gefunden"), QString()), QStringLiteral("Gefunden"));
    EXPECT_EQ(written.ReadString(section, QStringLiteral("lblName.Caption"), QString()),
              QStringLiteral("Name"));
}

TEST(LanguageMenu, OffersAvailableLanguagesAndStoresOnlyASwitchThatHappened) {
    TestSupport::TempHome home;
    ProbeTables tables;
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("Datei"))->setObjectName(QStringLiteral("mnuDatei"));
    window.menuBar()->addMenu(QStringLiteral("Hilfe"))->setObjectName(QStringLiteral("mnuHilfe"));
    QMenu* menu = BuildLanguageMenu(&window);
    const QList<QAction*> bar = window.menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[1]->menu(), menu);
    QStringList items;
    for (QAction* a : menu->actions())
        items << a->text() + u'=' + a->data().toString();
    EXPECT_EQ(items, (QStringList{"Deutsch=0", "English=1", "Français=2", "Español=4", "Nederlands=9",
                                  "Italiano=3", "Português=5", "Dansk=18"}));
    emit menu->aboutToShow();
    QStringList visible;
    for (QAction* a : menu->actions())
        if (a->isVisible())
            visible << a->text();
    EXPECT_EQ(visible, (QStringList{"Deutsch", "English"})) << "only languages with a table";

    menu->actions()[1]->trigger();
    EXPECT_EQ(CurrentLanguage(), kLanguageEnglish);
    EXPECT_TRUE(menu->actions()[1]->isChecked());
    EXPECT_EQ(VXRegIniFile().ReadInteger(QString(), QStringLiteral("Sprache"), -1), 1);

    // Refused: no change of the check mark, nothing stored.
    Localizer().SetResWrite(true, QString());
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    menu->actions()[0]->trigger();
    EXPECT_EQ(CurrentLanguage(), kLanguageEnglish);
    EXPECT_TRUE(menu->actions()[1]->isChecked());
    EXPECT_FALSE(menu->actions()[0]->isChecked());
    EXPECT_EQ(VXRegIniFile().ReadInteger(QString(), QStringLiteral("Sprache"), -1), 1);
}

TEST(LocalizerForm, MessageBoxButtonsFollowTheLanguage) {
    ProbeTables tables;
    const auto buttons = [] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return box.button(QMessageBox::Yes)->text() + u'|' + box.button(QMessageBox::No)->text() + u'|' +
               box.button(QMessageBox::Cancel)->text();
    };
    SetCurrentLanguage(kLanguageGerman);
    EXPECT_EQ(buttons(), QStringLiteral("&Ja|&Nein|Abbrechen"));
    SetCurrentLanguage(kLanguageEnglish);
    Localizer().SetTableFolder(QString()); // the shipped English table
    SetCurrentLanguage(kLanguageEnglish);
    EXPECT_EQ(buttons(), QStringLiteral("&Yes|&No|Cancel"));
}

} // namespace

#include "LocalizerFormTest.moc"
