#pragma once

#include "editing/uMulticaster.h"
#include "i18n/ui/uLocalizerForm.h"
#include "platform/uInfoausgabe.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QSlider;
class QTabWidget;
class QTextEdit;
class TAutosave;
class TDialogPrompts;
class TEditorPanel;
class TFBDocument;
class TFBElement;
class TFBMainView;
class TFBPage;
class TMasterActions;
class TMasterStatusBar;
class TMasterPrompts;
class TMasterUndoPlace;
class TPageTemplateListview;
class TPictureBrowser;
class TRecoveryStore;
class TProgressDlg;
class TSFormSeiten;
class TDocumentBusy;
class TSubForm;
enum class TPropertyPanel;
struct TRecoveryEntry;

// The main window. It owns the one open document for the whole run (New, Open and Close reset and
// refill it in place), runs the project and edit commands and keeps the page view and its panels in
// step: it relays the multicaster's events to every panel but the source. It is also the target of
// the progress output: status line, progress window and error report.
//
// Where things go: a command is one row in MasterCommands (uMasterActions.h) with its handler
// here or in the class that does the work; a panel is a class of its own behind TEditorPanel,
// handed to AddPanel; the relay loops over the panels, so a new panel needs no new relay code.
class TMaster : public TLocalizerMainWindow, private TInfoTarget {
    Q_OBJECT
public:
    // prompts answers the questions of the commands (not owned; the dialogs when nullptr).
    explicit TMaster(TMasterPrompts* prompts = nullptr, QWidget* parent = nullptr);
    ~TMaster() override;

    TFBDocument& Document() { return *document_; }
    const TFBDocument& Document() const { return *document_; }
    TFBMainView* MainView() const { return mainView_; }
    TSFormSeiten* PagesPanel() const { return pagesPanel_; }
    TMasterActions& Actions() const { return *actions_; }
    // Every panel the relay reaches, in the order they were added.
    const std::vector<TEditorPanel*>& Panels() const { return panels_; }
    // The relay reaches the panel from now on (not owned: it is a widget of the window).
    void AddPanel(TEditorPanel* panel) { panels_.push_back(panel); }

    // The start: recovery copies a crashed run left are offered first; unless one is restored, the
    // project named as the single argument is opened, otherwise New runs.
    void StartWith(const QStringList& argumentsWithoutProgram);
    // Recovery copies of the open project go into the store from now on (it outlives the window).
    void EnableAutosave(TRecoveryStore& store);
    TAutosave* Autosave() const { return autosave_.get(); }
    // Opens a recovery copy as the unsaved project it stands for: it carries the original path,
    // so Save writes where the user expects. False when the copy could not be opened.
    bool RestoreRecoveryCopy(const TRecoveryEntry& entry);

    // --- Commands (toolbar button and menu item do the same) ---
    void BtnAlbumNeuClick();
    void BtnAlbumOeffnenClick();
    void BtnAlbumSpeichernClick();
    void mnuDateiSpeichernUnterClick();
    void BtnSchliessenClick();
    void BtnAlbumDruckenClick();
    void mnuAlsPdfSpeichernClick();
    void mnuDruckereinrichtungClick();
    void mnuBeendenClick();
    void mnuRueckgaengigClick();
    // Redo: repeats the newest undone change (or the editor's own).
    void mnuWiederherstellenClick();
    void mnuBearbeitenAusschneidenClick();
    void mnuBearbeitenKopierenClick();
    void mnuBearbeitenEinfuegenClick();
    void BtnEntfernenClick();
    void BtnTextEinfuegenClick();
    void BtnBlattausrichtungClick();
    void BtnBilderschattenClick();
    void BtnSeiteZurueckClick();
    void BtnSeiteVorClick();
    void tbMainViewZoomChange(int position);
    // The zoom track bar one step (50) up or down; 0: back to 100.
    void ZoomStep(int direction);
    // The menu bar takes the keys, its first menu open.
    void OpenMenuBar();
    // The focus to the next (or previous) of the left tabs, the page view and the lower tabs.
    void MoveFocusArea(bool backwards);
    void mnuHilfeUeberClick();
    // Every command's enabled and checked state from its rule (selection, focus, clipboard, undo
    // history and every relayed event run it).
    void UpdateActions();
    // The menu items of the commands above.
    void mnuDateiNeuClick() { BtnAlbumNeuClick(); }
    void mnuDateiOeffnenClick() { BtnAlbumOeffnenClick(); }
    void mnuDateiSpeichernClick() { BtnAlbumSpeichernClick(); }
    void BtnDruckenClick() { BtnAlbumDruckenClick(); }
    void mnuDruckenClick() { BtnAlbumDruckenClick(); }
    void BtnRueckgaengigClick() { mnuRueckgaengigClick(); }

    // --- Operations the commands and the views share ---
    // Opens the project file into the document; on failure the document is the empty default
    // document and the error is shown. True when the project was loaded.
    bool OpenProject(const QString& path);
    void UpdateCaption();
    // The unsaved-changes question; false when the user cancelled the command.
    bool AskSaveChanges();
    void SelectionChanged(TFBElement* element);
    void ShowView(const QObject* sender, int index);
    void ElementChanged(const QObject* sender, TFBElement* element, TFBPage* page);
    void PagesChanged(const QObject* sender);
    void RefreshLayoutList();
    void UpdateViewLabel();
    // The panels let go of the elements they show and show the document anew, then the view:
    // after undo restored a record and after the document was replaced.
    void DocumentRestored();
    bool RichTextEditorHasFocus() const;

    // The caption for a project path: the title, three blanks, " - " and the file name, or the
    // translated "Unbenannt" for a document that was never saved.
    static QString CaptionFor(const QString& filePath);

    // --- Seams for the parts that plug in and for tests ---
    // Runs the new-project wizard on the document: 1 created, 100 open instead, else cancelled.
    using NewProjectWizard = std::function<int(TFBDocument& document)>;
    void SetNewProjectWizard(NewProjectWizard wizard) { wizard_ = std::move(wizard); }
    // Reads or writes the document from or to a project file; both raise on failure.
    using ProjectFileOperation = std::function<void(TFBDocument& document, const QString& path)>;
    void SetProjectFileOperations(ProjectFileOperation load, ProjectFileOperation save);
    // The rich-text editor of the text panel: undo, cut, copy and paste go to it while it has focus.
    void SetRichTextEditor(QTextEdit* editor) { richTextEditor_ = editor; }
    // The folders selected in the picture and clipart browsers: their start folders ("BaseDir",
    // "ClipartBaseDir") when the window is created, stored back when it is destroyed unless empty.
    QString PictureFolder() const;
    QString ClipartFolder() const;
    void SetPictureFolder(const QString& folder);
    void SetClipartFolder(const QString& folder);

protected:
    void closeEvent(QCloseEvent* event) override; // asks to save unsaved changes
    void changeEvent(QEvent* event) override;
    // After every language switch: the texts built in code and the lists of named things.
    void AfterTranslate() override;

private:
    enum class TSaveResult { Saved, Cancelled, Failed };

    // TInfoTarget: status line, progress window and error report.
    void SetStatusText(const QString& text) override;
    void ShowProgress(const QString& text) override;
    void HideProgress() override;
    void ShowError(const QString& message) override;

    void FormCreate();
    void FormDestroy();
    QWidget* BuildSidePanels(QWidget* parent);
    QWidget* BuildLowerPanels(QWidget* parent);
    void ConnectUpdateTriggers();

    // New without its own question (the caller asked already).
    void RunNewProject();
    void RunOpenCommand(bool ask);
    TSaveResult Save();
    TSaveResult SaveTo(const QString& path);
    // The views after the document was replaced: view 0, the pages anew, the layouts.
    void ShowNewDocument();
    // Cut, copy and paste go to the rich-text editor while it has focus, else to the page view.
    void RouteEditCommand(void (QTextEdit::*textCommand)(), void (TFBMainView::*viewCommand)());
    // Undo or redo for the editor while it has the focus, otherwise for the document's history.
    void RunHistoryCommand(bool redo);
    // The property panel of a kind and its tab; nullptr for none.
    TSubForm* PropertyPanel(TPropertyPanel kind) const;

    TMasterPrompts* prompts_;
    std::unique_ptr<TDialogPrompts> ownPrompts_;
    std::unique_ptr<TFBDocument> document_;
    std::unique_ptr<TMasterUndoPlace> undoPlace_;
    NewProjectWizard wizard_;
    ProjectFileOperation loadProject_;
    ProjectFileOperation saveProject_;
    QTextEdit* richTextEditor_ = nullptr;
    TProgressDlg* progress_ = nullptr;
    // Held while the progress window is up: the views wait for the operation to finish.
    std::unique_ptr<TDocumentBusy> busy_;
    TMasterActions* actions_ = nullptr;
    QMenu* mnuSprache_ = nullptr;
    std::vector<TEditorPanel*> panels_;
    TMulticaster::TSubscription subscription_;
    TRecoveryStore* recovery_ = nullptr;
    std::unique_ptr<TAutosave> autosave_;

    // Widgets, named like their components.
    QLabel* panTitel = nullptr;
    QLabel* lblSeitenzahl = nullptr;
    TMasterStatusBar* statusText_ = nullptr;
    QSlider* tbMainViewZoom = nullptr;
    QTabWidget* PageControlLeft = nullptr;
    QTabWidget* pagecontrolBottom = nullptr;
    QWidget* tsLayouts = nullptr;
    QWidget* tsSeiten = nullptr;
    TPageTemplateListview* lvLayouts = nullptr;
    TPictureBrowser* pictureBrowser_ = nullptr;
    TPictureBrowser* clipartBrowser_ = nullptr;
    TFBMainView* mainView_ = nullptr;
    TSFormSeiten* pagesPanel_ = nullptr;
    // The property panels with their tabs, in the order of the tabs.
    struct TPropertyTab {
        TPropertyPanel Kind;
        TSubForm* Panel;
        QWidget* Tab;
    };
    std::vector<TPropertyTab> propertyTabs_;
};
