#pragma once

#include "editing/ui/uSubform.h"
#include "i18n/ui/uLocalizerForm.h"

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;
class TFBKalenderElement;

// The calendar panel: the year and first month of all calendars of the document, stepped or
// chosen here as one undoable step each, and the two calendar dialogs for the selected calendar.
// A form of its own (section "TSFormKalender") inside the main window's lower tabs.
class TSFormKalender : public TSubForm, public TLocalizerFormBase {
    Q_OBJECT
public:
    explicit TSFormKalender(QWidget* parent = nullptr);

    TFBKalenderElement* Kalender() const;

    // The year and first month belong to the whole document: any change may concern the panel.
    void ElementChanged(TFBElement* element, TFBPage* page) override;

    // Open the properties dialog and the holidays dialog for the calendar; tests answer them.
    std::function<void(QWidget* parent, TFBKalenderElement& calendar)> OpenEigenschaften;
    std::function<void(QWidget* parent, TFBKalenderElement& calendar)> OpenFeiertage;

    QLabel* lblJahr;
    QToolButton* BtnPlus;
    QToolButton* BtnMinus;
    QComboBox* cbMonat;
    QPushButton* BtnBearbeiten;
    QPushButton* BtnFeiertageGeburtstage;

    // The month names follow the language.
    void AfterTranslate() override;

protected:
    void Refresh() override;

private:
    void JahrSchritt(int delta);
    void MonatGewaehlt(int index);
    void Bearbeiten();
    void FeiertageGeburtstage();
    // The selected calendar and every other page with a calendar changed.
    void AnnounceAllCalendars();

    QLabel* lblKalenderjahr;
    QLabel* lblErsterMonat;
};
