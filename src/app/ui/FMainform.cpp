#include "app/ui/FMainform.h"

#include "app/uStartup.h"
#include "app/ui/FProgressDlg.h"
#include "app/ui/uFormPlacement.h"
#include "app/ui/uMasterPrompts.h"
#include "app/ui/uMasterUndoPlace.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/ui/FDateiNeuDlg.h"
#include "catalogue/ui/uPageTemplateListview.h"
#include "document/uColorList.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uMulticaster.h"
#include "editing/uUndo.h"
#include "editing/ui/uFotobuchMainview.h"
#include "editing/ui/uSubformSeiten.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "platform/uVXRegIniFile.h"
#include "print/ui/uDesignerPrinting.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The hourglass while a command works; restored however the command ends.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

QString UnsavedChangesText() {
    // The two sentences stand on two lines.
    return Translate(QStringLiteral("Das aktuelle Album ist noch nicht gespeichert.")) + QLatin1Char('\n') +
           Translate(QStringLiteral("Soll es jetzt gespeichert werden?"));
}

} // namespace

TMaster::TMaster(TMasterPrompts* prompts, QWidget* parent) : QMainWindow(parent), prompts_(prompts) {
    if (!prompts_) {
        ownPrompts_ = std::make_unique<TDialogPrompts>();
        prompts_ = ownPrompts_.get();
    }
    wizard_ = [this](TFBDocument& document) {
        TDateiNeuDlg wizard(this);
        return wizard.Execute(document);
    };
    loadProject_ = [](TFBDocument& document, const QString& path) { LoadDocumentFromFile(document, path); };
    saveProject_ = [](TFBDocument& document, const QString& path) { SaveDocumentToFile(document, path); };
    FormCreate();
}

TMaster::~TMaster() {
    FormDestroy();
}

void TMaster::SetProjectFileOperations(ProjectFileOperation load, ProjectFileOperation save) {
    loadProject_ = std::move(load);
    saveProject_ = std::move(save);
}

// ---------------------------------------------------------------------------------------------
// Creation and destruction

void TMaster::FormCreate() {
    setObjectName(QStringLiteral("Master"));
    resize(864, 686);
    setMinimumSize(700, 500);

    // The file association of project files is installed by the start-up sequence just before.

    RestoreFormPlacement(*this, QStringLiteral("Master"));
    pictureFolder_ = VXRegIniFile().ReadString(QString(), QStringLiteral("BaseDir"), QString());
    clipartFolder_ = VXRegIniFile().ReadString(QString(), QStringLiteral("ClipartBaseDir"), QString());

    for (const char* text :
         {"Das aktuelle Album ist noch nicht gespeichert.", "Soll es jetzt gespeichert werden?", "Unbenannt",
          "Fertig", "Seite wird geladen"})
        RegisterText(QString::fromUtf8(text));
    InitProductCatalogue();

    document_ = std::make_unique<TFBDocument>();
    ResetToEmptyDocument(*document_);

    BuildMenus();
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    panTitel = new QLabel(central);
    panTitel->setObjectName(QStringLiteral("panTitel"));
    panTitel->setFixedHeight(26);
    panTitel->setAlignment(Qt::AlignCenter);
    QFont titleFont = panTitel->font();
    titleFont.setPixelSize(16);
    panTitel->setFont(titleFont);
    outer->addWidget(panTitel);
    outer->addWidget(BuildToolbar());

    auto* body = new QSplitter(Qt::Horizontal, central);
    PageControlLeft = new QTabWidget(body);
    PageControlLeft->setObjectName(QStringLiteral("PageControlLeft"));
    PageControlLeft->setMinimumWidth(200);
    auto* tsBilder = new QWidget;
    tsBilder->setObjectName(QStringLiteral("tsBilder"));
    PageControlLeft->addTab(tsBilder, Translate(QStringLiteral("Bilder")));
    tsLayouts = new QWidget;
    tsLayouts->setObjectName(QStringLiteral("tsLayouts"));
    lvLayouts = new TPageTemplateListview(tsLayouts);
    auto* layoutsLayout = new QVBoxLayout(tsLayouts);
    layoutsLayout->setContentsMargins(0, 0, 0, 0);
    layoutsLayout->addWidget(lvLayouts);
    PageControlLeft->addTab(tsLayouts, Translate(QStringLiteral("Layouts")));
    auto* tsFarben = new QWidget;
    tsFarben->setObjectName(QStringLiteral("tsFarben"));
    PageControlLeft->addTab(tsFarben, Translate(QStringLiteral("Farben")));
    auto* tsClipart = new QWidget;
    tsClipart->setObjectName(QStringLiteral("tsClipart"));
    PageControlLeft->setTabVisible(PageControlLeft->addTab(tsClipart, Translate(QStringLiteral("Clipart"))),
                                   false);

    auto* panMain = new QWidget(body);
    panMain->setObjectName(QStringLiteral("panMain"));
    auto* mainLayout = new QVBoxLayout(panMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    auto* mainSplitter = new QSplitter(Qt::Vertical, panMain);
    auto* viewArea = new QWidget(mainSplitter);
    auto* viewLayout = new QVBoxLayout(viewArea);
    viewLayout->setContentsMargins(0, 0, 0, 0);
    viewLayout->setSpacing(0);
    viewLayout->addWidget(BuildViewHeader());
    mainView_ = new TFBMainView(viewArea, document_.get());
    viewLayout->addWidget(mainView_, 1);

    pagecontrolBottom = new QTabWidget(mainSplitter);
    pagecontrolBottom->setObjectName(QStringLiteral("pagecontrolBottom"));
    pagecontrolBottom->setMinimumHeight(120);
    tsSeiten = new QWidget;
    tsSeiten->setObjectName(QStringLiteral("tsSeiten"));
    pagesPanel_ = new TSFormSeiten(tsSeiten, document_.get());
    auto* pagesLayout = new QVBoxLayout(tsSeiten);
    pagesLayout->setContentsMargins(0, 0, 0, 0);
    pagesLayout->addWidget(pagesPanel_);
    pagecontrolBottom->addTab(tsSeiten, Translate(QStringLiteral("Seiten")));
    const auto addPropertyTab = [this](QWidget*& tab, const char* name, const QString& caption) {
        tab = new QWidget;
        tab->setObjectName(QString::fromLatin1(name));
        pagecontrolBottom->setTabVisible(pagecontrolBottom->addTab(tab, caption), false);
    };
    addPropertyTab(tsText, "tsText", Translate(QStringLiteral("Text")));
    addPropertyTab(tsBild, "tsBild", Translate(QStringLiteral("Bild")));
    addPropertyTab(tsFarbflaeche, "tsFarbflaeche", Translate(QStringLiteral("Farbfläche")));
    addPropertyTab(tsKalender, "tsKalender", Translate(QStringLiteral("Kalender")));
    mainSplitter->addWidget(viewArea);
    mainSplitter->addWidget(pagecontrolBottom);
    mainSplitter->setStretchFactor(0, 1);
    mainSplitter->setSizes({440, 168});
    mainLayout->addWidget(mainSplitter);

    body->addWidget(PageControlLeft);
    body->addWidget(panMain);
    body->setStretchFactor(1, 1);
    body->setSizes({280, 576});
    outer->addWidget(body, 1);
    setCentralWidget(central);

    statusText_ = new QLabel(this);
    statusText_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(statusText_, 1);
    statusBar()->setSizeGripEnabled(true);

    UpdateCaption();

    TMulticaster& multicaster = Multicaster();
    multicaster.OnElementChanged = [this](const QObject* sender, TFBElement* element, TFBPage* page) {
        ElementChanged(sender, element, page);
    };
    multicaster.OnViewSelected = [this](const QObject* sender, int index) { ShowView(sender, index); };
    multicaster.OnPagesChanged = [this](const QObject* sender) { PagesChanged(sender); };

    mainView_->OnSelectionChange = [this](TFBElement* element) { SelectionChanged(element); };
    mainView_->OnZoomChange = [this] {
        const QSignalBlocker blocker(tbMainViewZoom);
        tbMainViewZoom->setValue(static_cast<int>(std::lround(mainView_->Zoom() * 100.0f)));
    };

    // Undo records where the user is and returns there.
    undoPlace_ =
        std::make_unique<TMasterUndoPlace>(*mainView_, [this](int view) { ShowView(nullptr, view); });
    UndoManager().OnChanged = [this](TUndoChange) { ApplicationIdle(); };

    mainView_->SetScreen(0);
    pagesPanel_->Rebuild();
    pagesPanel_->SelectView(0);
    pagecontrolBottom->setCurrentWidget(tsSeiten);
    RefreshLayoutList();

    SelectionChanged(nullptr);
    UpdateViewLabel();

    TColorList::Instance().LoadFromSettings(QStringLiteral("CustomColors"));
    // The offered languages are loaded here.

    InfoAusgabe().SetTarget(this);
    ConnectEditEnabling();
    idleTimer_ = new QTimer(this);
    idleTimer_->setInterval(200);
    connect(idleTimer_, &QTimer::timeout, this, &TMaster::ApplicationIdle);
    idleTimer_->start();
}

void TMaster::FormDestroy() {
    // Nothing may reach the views while they are taken down.
    disconnect(qApp, nullptr, this, nullptr);
    UndoManager().OnChanged = nullptr;
    undoPlace_.reset();
    idleTimer_->stop();
    TMulticaster& multicaster = Multicaster();
    multicaster.OnElementChanged = nullptr;
    multicaster.OnViewSelected = nullptr;
    multicaster.OnPagesChanged = nullptr;
    if (InfoAusgabe().Target() == this)
        InfoAusgabe().SetTarget(nullptr);
    HideProgress();

    // A settings file that cannot be written must not stop the window from closing.
    try {
        if (!pictureFolder_.isEmpty())
            VXRegIniFile().WriteString(QString(), QStringLiteral("BaseDir"), pictureFolder_);
        if (!clipartFolder_.isEmpty())
            VXRegIniFile().WriteString(QString(), QStringLiteral("ClipartBaseDir"), clipartFolder_);
        SaveFormPlacement(*this, QStringLiteral("Master"));
    } catch (const Exception& e) {
        Debug().Trace(QStringLiteral("TMaster.FormDestroy: ") + e.message());
    }

    // The views hold the document; they go first.
    delete takeCentralWidget();
    document_.reset();
}

void TMaster::BuildMenus() {
    QMenu* file = menuBar()->addMenu(Translate(QStringLiteral("&Datei")));
    file->setObjectName(QStringLiteral("mnuDatei"));
    const auto add = [this](QMenu* menu, const char* name, const QString& caption,
                            const QKeySequence& shortcut, void (TMaster::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    add(file, "mnuDateiNeu", Translate(QStringLiteral("&Neu")), QKeySequence(Qt::CTRL | Qt::Key_N),
        &TMaster::mnuDateiNeuClick);
    add(file, "mnuDateiOeffnen", Translate(QStringLiteral("Ö&ffnen...")), QKeySequence(Qt::CTRL | Qt::Key_O),
        &TMaster::mnuDateiOeffnenClick);
    add(file, "mnuDateiSpeichern", Translate(QStringLiteral("&Speichern")),
        QKeySequence(Qt::CTRL | Qt::Key_S), &TMaster::mnuDateiSpeichernClick);
    add(file, "mnuDateiSpeichernUnter", Translate(QStringLiteral("Speichern &unter...")), {},
        &TMaster::mnuDateiSpeichernUnterClick);
    file->addSeparator();
    add(file, "mnuDrucken", Translate(QStringLiteral("&Drucken...")), QKeySequence(Qt::CTRL | Qt::Key_P),
        &TMaster::mnuDruckenClick);
    add(file, "mnuDruckereinrichtung", Translate(QStringLiteral("Drucker&einrichtung...")), {},
        &TMaster::mnuDruckereinrichtungClick);
    file->addSeparator();
    add(file, "mnuBeenden", Translate(QStringLiteral("&Beenden")), QKeySequence(Qt::ALT | Qt::Key_F4),
        &TMaster::mnuBeendenClick);

    QMenu* edit = menuBar()->addMenu(Translate(QStringLiteral("&Bearbeiten")));
    edit->setObjectName(QStringLiteral("mnuBearbeiten"));
    mnuRueckgaengig = add(edit, "mnuRueckgaengig", Translate(QStringLiteral("Rückgängig")),
                          QKeySequence(Qt::CTRL | Qt::Key_Z), &TMaster::mnuRueckgaengigClick);
    mnuWiederherstellen = add(edit, "mnuWiederherstellen", Translate(QStringLiteral("Wiederherstellen")), {},
                              &TMaster::mnuWiederherstellenClick);
    // Both keys by name: desktops differ in which one is their redo key.
    mnuWiederherstellen->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator();
    mnuBearbeitenAusschneiden =
        add(edit, "mnuBearbeitenAusschneiden", Translate(QStringLiteral("&Ausschneiden")),
            QKeySequence(Qt::CTRL | Qt::Key_X), &TMaster::mnuBearbeitenAusschneidenClick);
    mnuBearbeitenKopieren = add(edit, "mnuBearbeitenKopieren", Translate(QStringLiteral("&Kopieren")),
                                QKeySequence(Qt::CTRL | Qt::Key_C), &TMaster::mnuBearbeitenKopierenClick);
    mnuBearbeitenEinfuegen = add(edit, "mnuBearbeitenEinfuegen", Translate(QStringLiteral("&Einfügen")),
                                 QKeySequence(Qt::CTRL | Qt::Key_V), &TMaster::mnuBearbeitenEinfuegenClick);
    // Opening the Edit menu: Undo and Redo follow the editor or the undo history. Closed, they
    // stay enabled, so that their keys always reach them and an empty history beeps.
    connect(edit, &QMenu::aboutToShow, this, [this] {
        mnuRueckgaengig->setEnabled(RichTextEditorHasFocus() || UndoManager().CanUndo());
        mnuWiederherstellen->setEnabled(RichTextEditorHasFocus() || UndoManager().CanRedo());
    });
    connect(edit, &QMenu::aboutToHide, this, [this] {
        mnuRueckgaengig->setEnabled(true);
        mnuWiederherstellen->setEnabled(true);
    });

    QMenu* help = menuBar()->addMenu(Translate(QStringLiteral("Hilfe")));
    help->setObjectName(QStringLiteral("mnuHilfe"));
    add(help, "mnuHilfeUeber", Translate(QStringLiteral("Über")), {}, &TMaster::mnuHilfeUeberClick);
}

QWidget* TMaster::BuildToolbar() {
    auto* panToolbar = new QWidget;
    panToolbar->setObjectName(QStringLiteral("panToolbar"));
    panToolbar->setFixedHeight(64);
    auto* layout = new QHBoxLayout(panToolbar);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    QStyle* style = this->style();
    const auto button = [&](const char* name, const QString& caption, const QString& hint,
                            QStyle::StandardPixmap glyph, void (TMaster::*handler)()) {
        auto* b = new QToolButton(panToolbar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setIcon(style->standardIcon(glyph));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFixedHeight(60);
        b->setMinimumWidth(64);
        connect(b, &QToolButton::clicked, this, handler);
        layout->addWidget(b);
        return b;
    };
    button("BtnAlbumNeu", Translate(QStringLiteral("Neu")), Translate(QStringLiteral("Neues Album")),
           QStyle::SP_FileIcon, &TMaster::BtnAlbumNeuClick);
    button("BtnAlbumOeffnen", Translate(QStringLiteral("Öffnen")), Translate(QStringLiteral("Album öffnen")),
           QStyle::SP_DialogOpenButton, &TMaster::BtnAlbumOeffnenClick);
    button("BtnAlbumSpeichern", Translate(QStringLiteral("Speichern")),
           Translate(QStringLiteral("Album speichern")), QStyle::SP_DialogSaveButton,
           &TMaster::BtnAlbumSpeichernClick);
    button("BtnAlbumDrucken", Translate(QStringLiteral("Drucken")),
           Translate(QStringLiteral("Album drucken")), QStyle::SP_ComputerIcon,
           &TMaster::BtnAlbumDruckenClick);
    BtnEntfernen =
        button("BtnEntfernen", Translate(QStringLiteral("Entfernen")), Translate(QStringLiteral("Entfernen")),
               QStyle::SP_TrashIcon, &TMaster::BtnEntfernenClick);
    button("BtnBlattausrichtung", Translate(QStringLiteral("Ausrichtung")),
           Translate(QStringLiteral("Ausrichtung")), QStyle::SP_BrowserReload,
           &TMaster::BtnBlattausrichtungClick);
    button("BtnTextEinfuegen", Translate(QStringLiteral("Text")), Translate(QStringLiteral("Text einfügen")),
           QStyle::SP_FileDialogDetailedView, &TMaster::BtnTextEinfuegenClick);
    BtnBilderschatten = button("BtnBilderschatten", Translate(QStringLiteral("Bilderschatten")),
                               Translate(QStringLiteral("Bilder mit Schatten hinterlegen")),
                               QStyle::SP_TitleBarShadeButton, &TMaster::BtnBilderschattenClick);
    BtnBilderschatten->setCheckable(true);
    BtnRueckgaengig =
        button("BtnRueckgaengig", Translate(QStringLiteral("Undo")), Translate(QStringLiteral("Rückgängig")),
               QStyle::SP_ArrowBack, &TMaster::BtnRueckgaengigClick);
    // The close button stays at the right end.
    layout->addStretch(1);
    button("BtnSchliessen", Translate(QStringLiteral("Schließen")),
           Translate(QStringLiteral("Album schließen")), QStyle::SP_DialogCloseButton,
           &TMaster::BtnSchliessenClick);
    return panToolbar;
}

QWidget* TMaster::BuildViewHeader() {
    auto* header = new QWidget;
    header->setObjectName(QStringLiteral("panMainviewTop"));
    header->setFixedHeight(25);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(4, 0, 5, 0);
    const auto arrowButton = [&](const char* name, Qt::ArrowType arrow, void (TMaster::*handler)()) {
        auto* b = new QToolButton(header);
        b->setObjectName(QString::fromLatin1(name));
        b->setArrowType(arrow);
        b->setFixedSize(24, 24);
        connect(b, &QToolButton::clicked, this, handler);
        return b;
    };
    QToolButton* back = arrowButton("BtnSeiteZurueck", Qt::LeftArrow, &TMaster::BtnSeiteZurueckClick);
    lblSeitenzahl = new QLabel(header);
    lblSeitenzahl->setObjectName(QStringLiteral("lblSeitenzahl"));
    lblSeitenzahl->setAlignment(Qt::AlignCenter);
    lblSeitenzahl->setMinimumWidth(140);
    QToolButton* forward = arrowButton("BtnSeiteVor", Qt::RightArrow, &TMaster::BtnSeiteVorClick);
    tbMainViewZoom = new QSlider(Qt::Horizontal, header);
    tbMainViewZoom->setObjectName(QStringLiteral("tbMainViewZoom"));
    tbMainViewZoom->setRange(100, 800);
    tbMainViewZoom->setValue(100);
    tbMainViewZoom->setFixedWidth(100);
    connect(tbMainViewZoom, &QSlider::valueChanged, this, &TMaster::tbMainViewZoomChange);
    auto* zoomLabel = new QLabel(Translate(QStringLiteral("Zoom")), header);
    zoomLabel->setObjectName(QStringLiteral("imgZoom"));

    layout->addStretch(1);
    layout->addWidget(back);
    layout->addWidget(lblSeitenzahl);
    layout->addWidget(forward);
    layout->addStretch(1);
    layout->addWidget(zoomLabel);
    layout->addWidget(tbMainViewZoom);
    return header;
}

void TMaster::ConnectEditEnabling() {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget*) {
        UpdateEditButtons();
        mnuRueckgaengig->setEnabled(true);
    });
}

// ---------------------------------------------------------------------------------------------
// Caption, labels, selection

QString TMaster::CaptionFor(const QString& filePath) {
    const QString name =
        filePath.isEmpty() ? Translate(QStringLiteral("Unbenannt")) : QFileInfo(filePath).fileName();
    return Startup::ApplicationTitle() + QStringLiteral("   ") + QStringLiteral(" - ") + name;
}

void TMaster::UpdateCaption() {
    setWindowTitle(CaptionFor(document_->FilePath));
}

void TMaster::UpdateViewLabel() {
    const int view = mainView_->ViewIndex();
    lblSeitenzahl->setText(view >= 0 && view < document_->ViewCount() ? document_->ViewCaption(view)
                                                                      : QString());
}

void TMaster::SelectionChanged(TFBElement* element) {
    QWidget* tab = tsSeiten;
    if (auto* picture = dynamic_cast<TFBPictureElement*>(element))
        tab = picture->HasPicture() && !picture->CanZoomAndTrack ? tsFarbflaeche : tsBild;
    else if (dynamic_cast<TFBTextElement*>(element))
        tab = tsText;
    else if (dynamic_cast<TFBKalenderElement*>(element))
        tab = tsKalender;
    for (QWidget* property : {tsText, tsBild, tsFarbflaeche, tsKalender})
        pagecontrolBottom->setTabVisible(pagecontrolBottom->indexOf(property), property == tab);
    pagecontrolBottom->setCurrentWidget(tab);

    UpdateShadowButton();
    UpdateEditButtons();
}

void TMaster::UpdateShadowButton() {
    BtnBilderschatten->setEnabled(document_->PictureShadowsAllowed);
    if (document_->PictureShadowsAllowed)
        BtnBilderschatten->setChecked(document_->PicturesHaveShadows);
}

void TMaster::UpdateEditButtons() {
    const bool editor = RichTextEditorHasFocus();
    BtnEntfernen->setEnabled(mainView_->CanDelete());
    mnuBearbeitenAusschneiden->setEnabled(editor || mainView_->CanCopy());
    mnuBearbeitenKopieren->setEnabled(editor || mainView_->CanCopy());
    mnuBearbeitenEinfuegen->setEnabled(editor || mainView_->CanPaste());
}

bool TMaster::RichTextEditorHasFocus() const {
    return richTextEditor_ && richTextEditor_->hasFocus();
}

void TMaster::ApplicationIdle() {
    BtnRueckgaengig->setEnabled(RichTextEditorHasFocus() || UndoManager().CanUndo());
}

void TMaster::RefreshLayoutList() {
    lvLayouts->clear();
    const TFBPage* left = document_->LeftPage(mainView_->ViewIndex());
    if (document_->IsCalendar() && left && left->CustomLayoutStil != 0)
        lvLayouts->Build(document_->Layouttypen, left->CustomLayoutStil, true);
    else
        lvLayouts->Build(document_->Layouttypen, document_->LayoutStil, document_->NurEinLayoutStil);
    PageControlLeft->setTabVisible(PageControlLeft->indexOf(tsLayouts), lvLayouts->count() > 0);
}

// ---------------------------------------------------------------------------------------------
// Events of the multicaster

void TMaster::ShowView(const QObject* sender, int index) {
    if (index < 0)
        return;
    TWaitCursor cursor;
    InfoAusgabe().Status(Translate(QStringLiteral("Seite wird geladen")));
    if (sender != mainView_)
        mainView_->SetScreen(index);
    if (sender != pagesPanel_)
        pagesPanel_->SelectView(index);
    if (document_->IsCalendar())
        RefreshLayoutList();
    InfoAusgabe().Status(QString());
    UpdateViewLabel();
}

void TMaster::ElementChanged(const QObject* sender, TFBElement* element, TFBPage* page) {
    if (sender != mainView_)
        mainView_->RefreshElement(page, element);
    if (sender != pagesPanel_)
        pagesPanel_->ElementChanged(element, page);
}

void TMaster::PagesChanged(const QObject* sender) {
    if (sender != pagesPanel_)
        pagesPanel_->Rebuild();
}

// ---------------------------------------------------------------------------------------------
// Progress output

void TMaster::SetStatusText(const QString& text) {
    statusText_->setText(text);
}

void TMaster::ShowProgress(const QString& text) {
    if (progress_) {
        progress_->SetText(text);
    } else {
        progress_ = new TProgressDlg(this);
        progress_->SetText(text);
        progress_->show();
        progress_->repaint();
        // The user cannot act while work is under way.
        setEnabled(false);
        progress_->setEnabled(true);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TMaster::HideProgress() {
    if (!progress_)
        return;
    setEnabled(true);
    progress_->hide();
    delete progress_;
    progress_ = nullptr;
}

void TMaster::ReportError(const QString& message) {
    // A failed operation must not leave the window disabled or the hourglass up.
    InfoAusgabe().Info(QString());
    prompts_->ShowError(this, message);
}

// ---------------------------------------------------------------------------------------------
// Project commands

void TMaster::StartWith(const QStringList& argumentsWithoutProgram) {
    const QString project = Startup::ProjectToOpen(argumentsWithoutProgram);
    if (!project.isEmpty())
        OpenProject(project);
    else
        BtnAlbumNeuClick();
}

bool TMaster::AskSaveChanges() {
    if (!document_->Modified)
        return true;
    switch (prompts_->AskYesNoCancel(this, UnsavedChangesText())) {
    case TMasterPrompts::TAnswer::Cancel:
        return false;
    case TMasterPrompts::TAnswer::Yes:
        // A cancelled save dialog does not stop the command; the document stays unsaved.
        Save();
        return true;
    case TMasterPrompts::TAnswer::No:
        return true;
    }
    return false;
}

void TMaster::BtnAlbumNeuClick() {
    if (!AskSaveChanges())
        return;
    RunNewProject();
}

void TMaster::RunNewProject() {
    TFBElement* remembered = mainView_->Selected();
    mainView_->Select(nullptr);
    int result = TDateiNeuDlg::ResultCancelled;
    try {
        result = wizard_ ? wizard_(*document_) : TDateiNeuDlg::ResultCancelled;
    } catch (const Exception& e) {
        ReportError(e.message());
        ShowNewDocument();
        return;
    }
    if (result == TDateiNeuDlg::ResultCreated) {
        UndoManager().Clear();
        ShowNewDocument();
        UpdateCaption();
        document_->Modified = false;
        panTitel->setText(document_->Dokumentname);
        SelectionChanged(nullptr);
    } else if (result == TDateiNeuDlg::ResultOpenProject) {
        // The unsaved-changes question was answered already.
        RunOpenCommand(false);
    } else {
        mainView_->Select(remembered);
    }
}

void TMaster::BtnAlbumOeffnenClick() {
    RunOpenCommand(true);
}

void TMaster::RunOpenCommand(bool ask) {
    if (ask && !AskSaveChanges())
        return;
    const QString path = prompts_->OpenProjectFileName(this);
    if (path.isEmpty())
        return;
    UndoManager().Clear();
    OpenProject(path);
}

bool TMaster::OpenProject(const QString& path) {
    mainView_->Select(nullptr);
    QString failure;
    {
        TWaitCursor cursor;
        try {
            loadProject_(*document_, path);
            document_->FilePath = path;
        } catch (const Exception& e) {
            failure = e.message();
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        }
        if (!failure.isEmpty()) {
            // What a failed load left behind is no project: show the empty default document.
            ResetToEmptyDocument(*document_);
        }
        UpdateCaption();
        panTitel->setText(document_->Dokumentname);
        SelectionChanged(nullptr);
        ShowNewDocument();
        UpdateShadowButton();
        if (failure.isEmpty())
            InfoAusgabe().Info(Translate(QStringLiteral("Fertig")));
    }
    InfoAusgabe().Info(QString());
    document_->Modified = false;
    UndoManager().Clear();
    if (!failure.isEmpty()) {
        ReportError(failure);
        return false;
    }
    return true;
}

void TMaster::ShowNewDocument() {
    mainView_->SetScreen(0);
    mainView_->Repaint();
    RefreshLayoutList();
    pagesPanel_->Rebuild();
    pagesPanel_->SelectView(0);
    pagesPanel_->update();
    UpdateViewLabel();
}

void TMaster::BtnAlbumSpeichernClick() {
    Save();
}

TMaster::TSaveResult TMaster::Save() {
    QString path = document_->FilePath;
    if (path.isEmpty()) {
        path = prompts_->SaveProjectFileName(this, QString());
        if (path.isEmpty())
            return TSaveResult::Cancelled;
    }
    return SaveTo(path);
}

void TMaster::mnuDateiSpeichernUnterClick() {
    const QString path = prompts_->SaveProjectFileName(this, document_->FilePath);
    if (!path.isEmpty())
        SaveTo(path);
}

TMaster::TSaveResult TMaster::SaveTo(const QString& path) {
    QString failure;
    {
        TWaitCursor cursor;
        try {
            saveProject_(*document_, path);
        } catch (const Exception& e) {
            failure = e.message();
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        }
    }
    if (!failure.isEmpty()) {
        // The document keeps its path and stays modified: nothing was saved.
        ReportError(failure);
        return TSaveResult::Failed;
    }
    document_->FilePath = path;
    UpdateCaption();
    UndoManager().Clear();
    document_->Modified = false;
    InfoAusgabe().Info(QString());
    return TSaveResult::Saved;
}

void TMaster::BtnSchliessenClick() {
    if (!AskSaveChanges())
        return;
    mainView_->Select(nullptr);
    ResetToEmptyDocument(*document_);
    // Records of the closed project do not apply to the empty document.
    UndoManager().Clear();
    UpdateCaption();
    panTitel->setText(document_->Dokumentname);
    ShowNewDocument();
    SelectionChanged(nullptr);
    update();
    // The reset cleared Modified, so New does not ask again.
    BtnAlbumNeuClick();
}

void TMaster::closeEvent(QCloseEvent* event) {
    if (document_->Modified) {
        switch (prompts_->AskYesNoCancel(this, UnsavedChangesText())) {
        case TMasterPrompts::TAnswer::Cancel:
            event->ignore();
            return;
        case TMasterPrompts::TAnswer::Yes:
            // A cancelled save dialog closes without saving; a save that failed keeps the window
            // open so the work is not lost.
            if (Save() == TSaveResult::Failed) {
                event->ignore();
                return;
            }
            break;
        case TMasterPrompts::TAnswer::No:
            break;
        }
    }
    event->accept();
}

void TMaster::mnuBeendenClick() {
    close();
}

void TMaster::BtnAlbumDruckenClick() {
    try {
        DesignerPrinting::PrintDocument(*document_, this);
    } catch (const Exception& e) {
        ReportError(e.message());
    }
}

void TMaster::mnuDruckereinrichtungClick() {
    prompts_->ShowPrinterSetup(this);
}

void TMaster::mnuHilfeUeberClick() {
    prompts_->ShowAbout(this);
}

// ---------------------------------------------------------------------------------------------
// Edit commands

void TMaster::mnuRueckgaengigClick() {
    RunHistoryCommand(false);
}

void TMaster::mnuWiederherstellenClick() {
    RunHistoryCommand(true);
}

void TMaster::RunHistoryCommand(bool redo) {
    if (RichTextEditorHasFocus()) {
        if (redo)
            richTextEditor_->redo();
        else
            richTextEditor_->undo();
        return;
    }
    TUndoManager& history = UndoManager();
    if (!(redo ? history.CanRedo() : history.CanUndo())) {
        prompts_->Beep();
        return;
    }
    // The history shows the place of the change again and selects its element.
    mainView_->Select(nullptr);
    try {
        if (redo)
            history.Redo(*document_);
        else
            history.Undo(*document_);
    } catch (const Exception& e) {
        ReportError(e.message());
    }
    mainView_->Repaint();
    pagesPanel_->Rebuild();
    pagesPanel_->SelectView(mainView_->ViewIndex());
    UpdateViewLabel();
}

void TMaster::RouteEditCommand(void (QTextEdit::*textCommand)(), void (TFBMainView::*viewCommand)()) {
    if (RichTextEditorHasFocus())
        (richTextEditor_->*textCommand)();
    else
        (mainView_->*viewCommand)();
}

void TMaster::mnuBearbeitenAusschneidenClick() {
    RouteEditCommand(&QTextEdit::cut, &TFBMainView::Cut);
}

void TMaster::mnuBearbeitenKopierenClick() {
    RouteEditCommand(&QTextEdit::copy, &TFBMainView::Copy);
}

void TMaster::mnuBearbeitenEinfuegenClick() {
    RouteEditCommand(&QTextEdit::paste, &TFBMainView::Paste);
}

void TMaster::BtnEntfernenClick() {
    mainView_->DeleteSelection();
}

void TMaster::BtnTextEinfuegenClick() {
    mainView_->InsertTextElement();
}

void TMaster::BtnBlattausrichtungClick() {
    mainView_->ToggleOrientation();
    pagesPanel_->RefreshCurrentView();
}

void TMaster::BtnBilderschattenClick() {
    // A matter of display: the document does not count as changed.
    document_->PicturesHaveShadows = !document_->PicturesHaveShadows;
    BtnBilderschatten->setChecked(document_->PicturesHaveShadows);
    mainView_->Repaint();
}

void TMaster::BtnSeiteZurueckClick() {
    const int current = mainView_->ViewIndex();
    Multicaster().ViewSelected(this, current > 0 ? current - 1 : current);
}

void TMaster::BtnSeiteVorClick() {
    const int current = mainView_->ViewIndex();
    Multicaster().ViewSelected(this, current < document_->ViewCount() - 1 ? current + 1 : current);
}

void TMaster::tbMainViewZoomChange(int position) {
    mainView_->SetZoom(static_cast<float>(position) / 100.0f);
}
