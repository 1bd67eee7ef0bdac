#include "app/ui/FMainform.h"

#include "app/uAutosave.h"
#include "app/uRecoveryStore.h"
#include "app/uStartup.h"
#include "app/ui/FProgressDlg.h"
#include "app/ui/uFocusAreas.h"
#include "app/ui/uFormPlacement.h"
#include "app/ui/uMasterAccessibility.h"
#include "app/ui/uMasterActions.h"
#include "app/ui/uMasterPrompts.h"
#include "app/ui/uMasterRegions.h"
#include "app/ui/uMasterToolbar.h"
#include "app/ui/uMasterUndoPlace.h"
#include "app/ui/uViewHeader.h"
#include "calendar/ui/uSubformKalender.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/ui/FDateiNeuDlg.h"
#include "catalogue/ui/uColorListView.h"
#include "catalogue/ui/uPageTemplateListview.h"
#include "document/uColorList.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uDocumentBusy.h"
#include "editing/uPropertyPanel.h"
#include "editing/uUndo.h"
#include "editing/ui/uFotobuchMainview.h"
#include "editing/ui/uPageViewCommandHost.h"
#include "editing/ui/uPictureBrowser.h"
#include "editing/ui/uRichTextEdit.h"
#include "editing/ui/uSubformBild.h"
#include "editing/ui/uSubformFarbFlaeche.h"
#include "editing/ui/uSubformSeiten.h"
#include "editing/ui/uSubformText.h"
#include "i18n/ui/uLanguageMenu.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "platform/uGuarded.h"
#include "platform/uProgramInfo.h"
#include "platform/uVXRegIniFile.h"
#include "print/ui/uDesignerPrinting.h"
#include "widgets/ui/uGripSplitter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QTextEdit>
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

TMaster::TMaster(TMasterPrompts* prompts, QWidget* parent) : TLocalizerMainWindow(parent), prompts_(prompts) {
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
    Localize();
}

TMaster::~TMaster() {
    TDocumentBusy::SetEndedHandler({});
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
    setMinimumSize(700, 500);
    // The caption names the project (UpdateCaption), in every language.
    LocalizerForms::KeepUntranslated(this);

    for (const char* text :
         {"Das aktuelle Album ist noch nicht gespeichert.", "Soll es jetzt gespeichert werden?", "Unbenannt",
          "Fertig", "Seite wird geladen"})
        ::RegisterText(QString::fromUtf8(text));
    InitProductCatalogue();

    document_ = std::make_unique<TFBDocument>();
    ResetToEmptyDocument(*document_);

    actions_ = new TMasterActions(this, MasterCommands(*this));
    actions_->BuildMenus(menuBar());
    mnuSprache_ = BuildLanguageMenu(this);
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    panTitel = new TTitlePanel(central);
    outer->addWidget(panTitel);
    outer->addWidget(actions_->BuildToolbar());

    auto* body = new TGripSplitter(Qt::Horizontal, central);
    body->setObjectName(QStringLiteral("splWerkzeug"));
    body->addWidget(BuildSidePanels(body));
    auto* header = new TViewHeader(actions_->Action(QStringLiteral("BtnSeiteZurueck")),
                                   actions_->Action(QStringLiteral("BtnSeiteVor")));
    lblSeitenzahl = header->PageLabel();
    tbMainViewZoom = header->Zoom();
    connect(tbMainViewZoom, &QSlider::valueChanged, this, &TMaster::tbMainViewZoomChange);
    mainView_ = new TFBMainView(nullptr, document_.get());
    auto* panMain = new TMainPanel(header, mainView_, BuildLowerPanels(nullptr), body);
    body->addWidget(panMain);
    body->setStretchFactor(0, 0);
    body->setStretchFactor(1, 1);
    outer->addWidget(body, 1);
    setCentralWidget(central);

    statusText_ = new TMasterStatusBar(this);
    setStatusBar(statusText_);
    // The document's name, the view's caption and the status line are data, not texts of the form.
    for (QObject* data : std::initializer_list<QObject*>{panTitel, lblSeitenzahl, statusText_})
        LocalizerForms::KeepUntranslated(data);
    // A file drop counts the entries it skipped here.
    mainView_->CommandHost().OnStatusLine = [this](const QString& text) { statusText_->SetText(text); };

    // The client below the menu bar is 856 x 632 at first start; the placement may replace it.
    resize(856, 632 + menuBar()->sizeHint().height());
    body->setSizes({TToolPanel::kFirstWidth, width() - TToolPanel::kFirstWidth - body->handleWidth()});
    const int mainHeight = 632 - TTitlePanel::kHeight - TMasterToolbar::kHeight - TMasterStatusBar::kHeight;
    panMain->Splitter()->setSizes({mainHeight - TMainPanel::kLowerFirstHeight - SplitterGrip::kHandleWidth,
                                   TMainPanel::kLowerFirstHeight});
    // The file association of project files is installed by the start-up sequence just before.
    RestoreFormPlacement(*this, QStringLiteral("Master"));

    UpdateCaption();

    subscription_ =
        Multicaster().Subscribe({[this](const QObject* sender, TFBElement* element, TFBPage* page) {
                                     ElementChanged(sender, element, page);
                                 },
                                 [this](const QObject* sender, int index) { ShowView(sender, index); },
                                 [this](const QObject* sender) { PagesChanged(sender); }});
    // Undo records where the user is and returns there.
    undoPlace_ =
        std::make_unique<TMasterUndoPlace>(*mainView_, [this](int view) { ShowView(nullptr, view); });
    TDocumentBusy::SetEndedHandler([this] {
        if (mainView_)
            mainView_->Repaint();
        if (pagesPanel_)
            pagesPanel_->viewport()->update();
    });
    UndoManager().OnChanged = [this](TUndoChange change) {
        if (change == TUndoChange::Restored)
            DocumentRestored();
        if (autosave_)
            autosave_->NoteHistoryChange(change);
        UpdateActions();
    };

    connect(mainView_, &TFBMainView::SelectionChanged, this, &TMaster::SelectionChanged);
    connect(mainView_, &TFBMainView::ZoomChanged, this, [this] {
        const QSignalBlocker blocker(tbMainViewZoom);
        tbMainViewZoom->setValue(static_cast<int>(std::lround(mainView_->Zoom() * 100.0f)));
    });

    mainView_->SetScreen(0);
    pagesPanel_->Rebuild();
    pagesPanel_->ViewSelected(0);
    pagecontrolBottom->setCurrentWidget(tsSeiten);
    RefreshLayoutList();

    SelectionChanged(nullptr);
    UpdateViewLabel();

    TColorList::Instance().LoadFromSettings(QStringLiteral("CustomColors"));
    // The designer offers German, English, French, Italian, Spanish, Dutch and Danish.
    Localizer().SetAvailable(kDesignerAvailable);

    InfoAusgabe().SetTarget(this);
    ConnectUpdateTriggers();
    MasterAccessibility::Apply(*this);
    Localizer().ChooseStartLanguage();
}

void TMaster::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Names for screen readers follow the captions into the new language, once every control has
    // taken its new caption.
    if (event->type() == QEvent::LanguageChange)
        QMetaObject::invokeMethod(
            this, [this] { MasterAccessibility::Apply(*this); }, Qt::QueuedConnection);
}

void TMaster::AfterTranslate() {
    UpdateViewLabel();
    UpdateCaption();
    RefreshLayoutList();
    mainView_->update();
    pagesPanel_->update();
    // The fill colours are named in the current language: their list is built anew.
    if (auto* colors = findChild<TColorListView*>(QStringLiteral("lvFarben")))
        colors->Build();
}

void TMaster::FormDestroy() {
    // The run ends cleanly: its recovery copy goes.
    if (autosave_)
        autosave_->Finish();
    autosave_.reset();
    // Nothing may reach the views while they are taken down.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    subscription_.Reset();
    UndoManager().OnChanged = nullptr;
    undoPlace_.reset();
    if (InfoAusgabe().Target() == this)
        InfoAusgabe().SetTarget(nullptr);
    HideProgress();

    // A settings file that cannot be written must not stop the window from closing.
    try {
        pictureBrowser_->SaveFolder();
        clipartBrowser_->SaveFolder();
        SaveFormPlacement(*this, QStringLiteral("Master"));
    } catch (const Exception& e) {
        Debug().Trace(QStringLiteral("TMaster.FormDestroy: ") + e.message());
    }

    // The views hold the document; they go first.
    panels_.clear();
    delete takeCentralWidget();
    document_.reset();
}

QWidget* TMaster::BuildSidePanels(QWidget* parent) {
    auto* tools = new TToolPanel(document_.get(), parent);
    PageControlLeft = tools->Tabs();
    pictureBrowser_ = tools->Pictures();
    clipartBrowser_ = tools->Clipart();
    lvLayouts = tools->Layouts();
    tsLayouts = tools->LayoutsTab();
    for (TEditorPanel* panel : tools->Panels())
        AddPanel(panel);
    return tools;
}

QWidget* TMaster::BuildLowerPanels(QWidget* parent) {
    pagecontrolBottom = new QTabWidget(parent);
    pagecontrolBottom->setObjectName(QStringLiteral("pagecontrolBottom"));
    pagesPanel_ = new TSFormSeiten(nullptr, document_.get());
    pagesPanel_->AskYesNo = [this](const QString& question) { return prompts_->AskYesNo(this, question); };
    // A layout dropped on a page replaces the elements the page view may have selected there.
    pagesPanel_->OnReplacingPage = [this](TFBPage* page) {
        if (mainView_->Selected() && mainView_->Selected()->Page == page)
            mainView_->Select(nullptr);
    };
    tsSeiten = FilledTabPage(QStringLiteral("tsSeiten"), pagesPanel_);
    pagecontrolBottom->addTab(tsSeiten, QStringLiteral("Seiten"));
    AddPanel(pagesPanel_);
    const auto addPropertyTab = [this](TPropertyPanel kind, TSubForm* panel, const char* name,
                                       const char* caption) {
        QWidget* tab = FilledTabPage(QString::fromLatin1(name), panel);
        pagecontrolBottom->setTabVisible(pagecontrolBottom->addTab(tab, QString::fromUtf8(caption)), false);
        propertyTabs_.push_back({kind, panel, tab});
        AddPanel(panel);
    };
    auto* textPanel = new TSFormDlgRTFText;
    // Undo, cut, copy and paste go to the editor while it has the focus.
    SetRichTextEditor(textPanel->Editor());
    addPropertyTab(TPropertyPanel::Text, textPanel, "tsText", "Text");
    addPropertyTab(TPropertyPanel::Bild, new TSFormBild, "tsBild", "Bild");
    addPropertyTab(TPropertyPanel::Farbflaeche, new TSFormFarbFlaeche, "tsFarbflaeche", "Farbfläche");
    addPropertyTab(TPropertyPanel::Kalender, new TSFormKalender, "tsKalender", "Kalender");
    return pagecontrolBottom;
}

void TMaster::ConnectUpdateTriggers() {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget*) { UpdateActions(); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TMaster::UpdateActions);
}

void TMaster::UpdateActions() {
    actions_->UpdateActions();
}

// ---------------------------------------------------------------------------------------------
// Caption, labels, selection

QString TMaster::CaptionFor(const QString& filePath) {
    const QString name =
        filePath.isEmpty() ? Translate(QStringLiteral("Unbenannt")) : QFileInfo(filePath).fileName();
    return ProgramInfo::ApplicationTitle() + QStringLiteral("   ") + QStringLiteral(" - ") + name;
}

void TMaster::UpdateCaption() {
    setWindowTitle(CaptionFor(document_->FilePath));
}

void TMaster::UpdateViewLabel() {
    const int view = mainView_->ViewIndex();
    lblSeitenzahl->setText(view >= 0 && view < document_->ViewCount() ? document_->ViewCaption(view)
                                                                      : QString());
}

TSubForm* TMaster::PropertyPanel(TPropertyPanel kind) const {
    for (const TPropertyTab& tab : propertyTabs_)
        if (tab.Kind == kind)
            return tab.Panel;
    return nullptr;
}

void TMaster::SelectionChanged(TFBElement* element) {
    // The picture panel lets go first; then the fitting panel gets the element.
    PropertyPanel(TPropertyPanel::Bild)->SetElement(nullptr);
    const TPropertyPanel kind = PropertyPanelFor(element);
    QWidget* shown = tsSeiten;
    for (const TPropertyTab& tab : propertyTabs_) {
        if (tab.Kind == kind) {
            tab.Panel->SetElement(element);
            shown = tab.Tab;
        }
        pagecontrolBottom->setTabVisible(pagecontrolBottom->indexOf(tab.Tab), tab.Kind == kind);
    }
    pagecontrolBottom->setCurrentWidget(shown);
    UpdateActions();
}

bool TMaster::RichTextEditorHasFocus() const {
    return richTextEditor_ && richTextEditor_->hasFocus();
}

void TMaster::RefreshLayoutList() {
    lvLayouts->Refresh(mainView_->ViewIndex());
}

QString TMaster::PictureFolder() const {
    return pictureBrowser_->Folder();
}

QString TMaster::ClipartFolder() const {
    return clipartBrowser_->Folder();
}

void TMaster::SetPictureFolder(const QString& folder) {
    pictureBrowser_->SetFolder(folder);
}

void TMaster::SetClipartFolder(const QString& folder) {
    clipartBrowser_->SetFolder(folder);
}

// ---------------------------------------------------------------------------------------------
// The relay: every event of the multicaster reaches the page view and every panel but its source

void TMaster::ShowView(const QObject* sender, int index) {
    if (index < 0)
        return;
    {
        TWaitCursor cursor;
        InfoAusgabe().Status(Translate(QStringLiteral("Seite wird geladen")));
        if (sender != mainView_)
            mainView_->SetScreen(index);
        for (TEditorPanel* panel : panels_)
            if (panel->EventSource() != sender)
                panel->ViewSelected(index);
        InfoAusgabe().Status(QString());
    }
    UpdateViewLabel();
    UpdateActions();
}

void TMaster::ElementChanged(const QObject* sender, TFBElement* element, TFBPage* page) {
    if (sender != mainView_)
        mainView_->RefreshElement(page, element);
    for (TEditorPanel* panel : panels_)
        if (panel->EventSource() != sender)
            panel->ElementChanged(element, page);
    UpdateActions();
}

void TMaster::PagesChanged(const QObject* sender) {
    // Other pages may stand at the page view's view index now.
    if (sender != mainView_)
        mainView_->ShowPagesAgain();
    for (TEditorPanel* panel : panels_)
        if (panel->EventSource() != sender)
            panel->PagesChanged();
    UpdateActions();
}

void TMaster::DocumentRestored() {
    // The selected element may be one the restore freed.
    mainView_->Select(nullptr);
    mainView_->Repaint();
    const int view = mainView_->ViewIndex();
    for (TEditorPanel* panel : panels_)
        panel->DocumentRestored();
    for (TEditorPanel* panel : panels_)
        panel->ViewSelected(view);
    UpdateViewLabel();
}

// ---------------------------------------------------------------------------------------------
// Progress output

void TMaster::SetStatusText(const QString& text) {
    statusText_->SetText(text);
}

void TMaster::ShowProgress(const QString& text) {
    if (progress_) {
        progress_->SetText(text);
    } else {
        busy_ = std::make_unique<TDocumentBusy>();
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
    busy_.reset();
}

void TMaster::ShowError(const QString& message) {
    prompts_->ShowError(this, message);
}
// ---------------------------------------------------------------------------------------------
// Project commands

void TMaster::EnableAutosave(TRecoveryStore& store) {
    recovery_ = &store;
    autosave_ = std::make_unique<TAutosave>(*document_, store);
}

void TMaster::StartWith(const QStringList& argumentsWithoutProgram) {
    if (autosave_ &&
        OfferRecovery(
            *recovery_,
            [this](const std::vector<TRecoveryEntry>& copies) { return prompts_->AskRecovery(this, copies); },
            [this](const TRecoveryEntry& entry) { return RestoreRecoveryCopy(entry); }))
        return;
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
    if (!Guarded("TMaster.RunNewProject", [&] { result = wizard_ ? wizard_(*document_) : result; })) {
        ShowNewDocument();
        return;
    }
    if (result == TDateiNeuDlg::ResultCreated) {
        UndoManager().Clear();
        if (autosave_)
            autosave_->ProjectReplaced();
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
    const bool loaded = Guarded("TMaster.OpenProject", [&] {
        TWaitCursor cursor;
        loadProject_(*document_, path);
        document_->FilePath = path;
    });
    {
        TWaitCursor cursor;
        // What a failed load left behind is no project: show the empty default document.
        if (!loaded)
            ResetToEmptyDocument(*document_);
        UpdateCaption();
        panTitel->setText(document_->Dokumentname);
        SelectionChanged(nullptr);
        ShowNewDocument();
        if (loaded)
            InfoAusgabe().Info(Translate(QStringLiteral("Fertig")));
    }
    InfoAusgabe().Info(QString());
    document_->Modified = false;
    UndoManager().Clear();
    if (autosave_)
        autosave_->ProjectReplaced();
    return loaded;
}

bool TMaster::RestoreRecoveryCopy(const TRecoveryEntry& entry) {
    if (!OpenProject(entry.CopyPath))
        return false;
    document_->FilePath = entry.OriginalPath;
    document_->Modified = true;
    UpdateCaption();
    UpdateActions();
    if (autosave_)
        autosave_->Adopt(entry);
    return true;
}

void TMaster::ShowNewDocument() {
    mainView_->SetScreen(0);
    DocumentRestored();
    UpdateActions();
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
    // A failed save leaves the document with its path and modified: nothing was saved.
    if (!Guarded("TMaster.SaveTo", [&] {
            TWaitCursor cursor;
            saveProject_(*document_, path);
        }))
        return TSaveResult::Failed;
    document_->FilePath = path;
    UpdateCaption();
    UndoManager().Clear();
    document_->Modified = false;
    if (autosave_)
        autosave_->ProjectSaved();
    InfoAusgabe().Info(QString());
    return TSaveResult::Saved;
}

void TMaster::BtnSchliessenClick() {
    if (!AskSaveChanges())
        return;
    mainView_->Select(nullptr);
    ResetToEmptyDocument(*document_);
    // Records of the closed project do not apply to the empty document, nor does its copy.
    UndoManager().Clear();
    if (autosave_)
        autosave_->ProjectReplaced();
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
    // A clean close: the recovery copy goes, the run's lock is released.
    if (autosave_)
        autosave_->Finish();
    event->accept();
}

void TMaster::mnuBeendenClick() {
    close();
}

void TMaster::BtnAlbumDruckenClick() {
    prompts_->Print(this, *document_);
}

void TMaster::mnuAlsPdfSpeichernClick() {
    prompts_->SaveAsPdf(this, *document_);
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
    // The history announces the restore, on which DocumentRestored brings views and panels along,
    // then shows the place of the change and selects its element again. A restore that failed
    // part-way may have freed elements all the same.
    mainView_->Select(nullptr);
    if (!Guarded("TMaster.RunHistoryCommand",
                 [&] { redo ? history.Redo(*document_) : history.Undo(*document_); }))
        DocumentRestored();
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
    UpdateActions();
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

void TMaster::ZoomStep(int direction) {
    constexpr int kStep = 50;
    tbMainViewZoom->setValue(direction == 0 ? 100 : tbMainViewZoom->value() + direction * kStep);
}

void TMaster::OpenMenuBar() {
    const QList<QAction*> menus = menuBar()->actions();
    if (!menus.isEmpty())
        menuBar()->setActiveAction(menus.first());
}

void TMaster::MoveFocusArea(bool backwards) {
    FocusAreas::Move({PageControlLeft->currentWidget(), mainView_, pagecontrolBottom->currentWidget()},
                     QApplication::focusWidget(), backwards);
}
