#pragma once

#include "i18n/ui/uLocalizerForm.h"

#include <QDate>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class TFBDocument;
class TWizardPreviewImage;
class TWizzardStep;

// The new-project wizard: the user picks the format, then the base layout and, for calendars, the
// year, each step a list with a preview of the selected choice beside it. A final choice asks the
// catalogue to fill the document. Execute shows it modally over its owner and returns
// ResultCreated (a product was created in the document), ResultOpenProject (the user asked to
// open an existing project; the document is unchanged) or ResultCancelled (unchanged).
class TDateiNeuDlg : public TLocalizerDialog {
    Q_OBJECT
public:
    static constexpr int ResultCreated = 1;
    static constexpr int ResultCancelled = 2;
    static constexpr int ResultOpenProject = 100;

    // The tree's calendar years follow `today`.
    explicit TDateiNeuDlg(QWidget* owner, const QDate& today = QDate::currentDate());
    ~TDateiNeuDlg() override;

    int Execute(TFBDocument& document);

    // Lists the children of the step and selects `select` (the first child when none is given).
    void ShowStep(TWizzardStep* step, TWizzardStep* select = nullptr);
    // Makes the child of the shown step the selected one: its preview and the forward button.
    void SelectStep(TWizzardStep* step);

    TWizzardStep* Root() const { return root_.get(); }
    TWizzardStep* ShownStep() const { return shown_; }
    TWizzardStep* SelectedStep() const { return selected_; }
    TWizardPreviewImage* Preview() const { return imgPreview; }

    void reject() override;
    // The forward button's text depends on the selected step.
    void AfterTranslate() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildForm();
    void updateHeadingColours();
    void forward();
    void back();
    void currentRowChanged(int row);

    std::unique_ptr<TWizzardStep> root_;
    TWizzardStep* shown_ = nullptr;
    TWizzardStep* selected_ = nullptr;
    TFBDocument* document_ = nullptr;
    bool created_ = false; // a product is made once, however often the user confirms
    bool refilling_ = false;

    QLabel* panHeading = nullptr;
    QListWidget* lbSteps = nullptr;
    TWizardPreviewImage* imgPreview = nullptr;
    QPushButton* btnProjektOeffnen = nullptr;
    QPushButton* btnZurueck = nullptr;
    QPushButton* btnWeiter = nullptr;
    QPushButton* btnAbbrechen = nullptr;
};
