#pragma once

#include "platform/uInfoausgabe.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QSlider;
class QTabWidget;
class QTextEdit;
class QTimer;
class QToolButton;
class TDialogPrompts;
class TFBDocument;
class TFBElement;
class TFBMainView;
class TFBPage;
class TMasterPrompts;
class TMasterUndoPlace;
class TPageTemplateListview;
class TProgressDlg;
class TSFormSeiten;

// The main window. It owns the one open document for the whole run (New, Open and Close reset and
// refill it in place), runs the project and edit commands and keeps the page view, the pages panel
// and the property tabs in step through the multicaster's events. It is also the target of the
// progress output: status line and progress window.
class TMaster : public QMainWindow, private TInfoTarget {
    Q_OBJECT
public:
    // prompts answers the questions of the commands (not owned; the dialogs when nullptr).
    explicit TMaster(TMasterPrompts* prompts = nullptr, QWidget* parent = nullptr);
    ~TMaster() override;

    TFBDocument& Document() { return *document_; }
    const TFBDocument& Document() const { return *document_; }
    TFBMainView* MainView() const { return mainView_; }
    TSFormSeiten* PagesPanel() const { return pagesPanel_; }

    // The start: the project named as the single argument is opened; otherwise New runs.
    void StartWith(const QStringList& argumentsWithoutProgram);

    // --- Commands (toolbar button and menu item do the same) ---
    void BtnAlbumNeuClick();
    void BtnAlbumOeffnenClick();
    void BtnAlbumSpeichernClick();
    void mnuDateiSpeichernUnterClick();
    void BtnSchliessenClick();
    void BtnAlbumDruckenClick();
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
    void mnuHilfeUeberClick();
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
    // What the idle handler does: the undo button follows the undo history.
    void ApplicationIdle();

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
    // The folders selected in the picture and clipart folder trees: their start folders ("BaseDir",
    // "ClipartBaseDir") when the window is created, stored back when it is destroyed unless empty.
    QString PictureFolder() const { return pictureFolder_; }
    QString ClipartFolder() const { return clipartFolder_; }
    void SetPictureFolder(const QString& folder) { pictureFolder_ = folder; }
    void SetClipartFolder(const QString& folder) { clipartFolder_ = folder; }

protected:
    void closeEvent(QCloseEvent* event) override; // asks to save unsaved changes

private:
    enum class TSaveResult { Saved, Cancelled, Failed };

    // TInfoTarget: status line and progress window.
    void SetStatusText(const QString& text) override;
    void ShowProgress(const QString& text) override;
    void HideProgress() override;

    void FormCreate();
    void FormDestroy();
    void BuildMenus();
    QWidget* BuildToolbar();
    QWidget* BuildViewHeader();
    void ConnectEditEnabling();

    // New without its own question (the caller asked already).
    void RunNewProject();
    void RunOpenCommand(bool ask);
    TSaveResult Save();
    TSaveResult SaveTo(const QString& path);
    // The views after the document was replaced: view 0, the pages anew, the layouts.
    void ShowNewDocument();
    void UpdateShadowButton();
    void UpdateEditButtons();
    bool RichTextEditorHasFocus() const;
    // Cut, copy and paste go to the rich-text editor while it has focus, else to the page view.
    void RouteEditCommand(void (QTextEdit::*textCommand)(), void (TFBMainView::*viewCommand)());
    // Undo or redo for the editor while it has the focus, otherwise for the document's history.
    void RunHistoryCommand(bool redo);
    void ReportError(const QString& message);

    TMasterPrompts* prompts_;
    std::unique_ptr<TDialogPrompts> ownPrompts_;
    std::unique_ptr<TFBDocument> document_;
    std::unique_ptr<TMasterUndoPlace> undoPlace_;
    NewProjectWizard wizard_;
    ProjectFileOperation loadProject_;
    ProjectFileOperation saveProject_;
    QTextEdit* richTextEditor_ = nullptr;
    QString pictureFolder_;
    QString clipartFolder_;
    TProgressDlg* progress_ = nullptr;
    QTimer* idleTimer_ = nullptr;

    // Widgets, named like their components.
    QLabel* panTitel = nullptr;
    QLabel* lblSeitenzahl = nullptr;
    QLabel* statusText_ = nullptr;
    QSlider* tbMainViewZoom = nullptr;
    QTabWidget* PageControlLeft = nullptr;
    QTabWidget* pagecontrolBottom = nullptr;
    QWidget* tsLayouts = nullptr;
    QWidget* tsSeiten = nullptr;
    QWidget* tsText = nullptr;
    QWidget* tsBild = nullptr;
    QWidget* tsFarbflaeche = nullptr;
    QWidget* tsKalender = nullptr;
    TPageTemplateListview* lvLayouts = nullptr;
    TFBMainView* mainView_ = nullptr;
    TSFormSeiten* pagesPanel_ = nullptr;
    QToolButton* BtnBilderschatten = nullptr;
    QToolButton* BtnEntfernen = nullptr;
    QToolButton* BtnRueckgaengig = nullptr;
    QAction* mnuRueckgaengig = nullptr;
    QAction* mnuWiederherstellen = nullptr;
    QAction* mnuBearbeitenAusschneiden = nullptr;
    QAction* mnuBearbeitenKopieren = nullptr;
    QAction* mnuBearbeitenEinfuegen = nullptr;
};
