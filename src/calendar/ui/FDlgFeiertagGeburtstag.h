#pragma once

#include "calendar/uKalenderTageTabelle.h"
#include "i18n/ui/uLocalizerForm.h"

#include <QTableView>

#include <functional>

class QPushButton;
class TFBDocument;

// The table of the holidays and birthdays dialog: the model's days with the date column fixed.
// OK asks it to hand an open cell editor's text to the model first.
class TKalenderTageView : public QTableView {
    Q_OBJECT
public:
    explicit TKalenderTageView(QWidget* parent = nullptr);

    // An open cell editor gives its text to the model and closes.
    void CommitOpenEditor();
    // Column 0 as wide as "00.00.0000" plus 10 pixels, the two text columns share the rest.
    void FitColumns();

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// "Feiertage und Geburtstage": the document's holidays and birthdays of one year, one row per
// day. OK writes the year back into both lists; "Feiertage berechnen" (German interface only)
// puts the German public holidays of the year in at once. Either change is one undo step for the
// whole dialog.
class TDlgFeiertagGeburtstag : public TLocalizerDialog {
    Q_OBJECT
public:
    // The year and month of the calendar it was opened for.
    TDlgFeiertagGeburtstag(QWidget* owner, TFBDocument& document, int year, int month);

    TKalenderTageBearbeitung& Bearbeitung() { return bearbeitung_; }
    TKalenderTageView* Table() const { return table_; }

    // Shows the note after computing the holidays and the report of an import; tests answer it
    // themselves.
    std::function<void(QWidget* parent, const QString& text)> ShowInformation;
    // Calendar files: asks for the file to read (save false) or to write; empty when cancelled.
    // Tests answer it themselves, and see errors through ShowError.
    std::function<QString(QWidget* parent, bool save)> ChooseCalendarFile;
    std::function<void(QWidget* parent, const QString& text)> ShowError;

    QPushButton* BtnFeiertageBerechnen;
    // Its menu: import as holidays, import as birthdays, export.
    QPushButton* BtnKalenderdatei;
    QPushButton* BtnOK;
    QPushButton* BtnAbbrechen;

    // The table's titles follow the language; the holidays are computed in German only.
    void AfterTranslate() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BerechneFeiertage();
    void Ok();
    void PlaceCursor();
    // The calendar file button with its menu, its texts and its commands.
    void BuildKalenderdatei();
    void KalenderdateiTexte();
    void ImportiereKalenderdatei(ICalendar::TListKind kind);
    void ExportiereKalenderdatei();

    TKalenderTageBearbeitung bearbeitung_;
    TKalenderTageView* table_;
};
