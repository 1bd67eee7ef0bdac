#pragma once

#include "calendar/uKalenderEigenschaften.h"
#include "i18n/ui/uLocalizerForm.h"

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;
class TColorPopupButton;
class TFBKalenderElement;
class TFloatEdit;
class TFontComboBox;

// "Kalendereigenschaften": every look setting of one calendar on four tabs. OK, "Übernehmen" and
// "OK für alle" apply the controls as one undoable step (the last one to every calendar of the
// document); a number that does not convert shows an error, changes nothing and keeps the dialog
// open. The rules live in uKalenderEigenschaften; this form holds the controls.
class TKalenderPropDlg : public TLocalizerDialog {
    Q_OBJECT
public:
    // "Abbrechen" after "Übernehmen": the calendar did change.
    static constexpr int ResultAbort = 3;

    TKalenderPropDlg(QWidget* owner, TFBKalenderElement& calendar);

    // The controls as the rules know them, and the controls filled from such values.
    TKalenderPropWerte Werte() const;
    void Show(const TKalenderPropWerte& werte);

    // Applies the controls; false (the error shown, nothing changed) when a number does not convert.
    bool Apply(TKalenderApply scope);

    // Opens the holidays and birthdays dialog for the calendar; tests answer it themselves.
    std::function<void(QWidget* parent, TFBKalenderElement& calendar)> OpenFeiertage;

    QTabWidget* pcKalender;
    QPushButton* BtnOK;
    QPushButton* BtnUebernehmen;
    QPushButton* BtnOKFuerAlle;
    QPushButton* BtnAbbrechen;
    QPushButton* BtnFeiertageGeburtstage;

    // The controls of one font: list, the three style buttons and the six alignment buttons
    // (left, centre, right, top, vertical centre, bottom).
    struct TSchriftControls {
        TFontComboBox* Name = nullptr;
        QToolButton* Fett = nullptr;
        QToolButton* Kursiv = nullptr;
        QToolButton* Underline = nullptr;
        std::array<QToolButton*, 6> Ausrichtung{};
    };
    // By KalenderZahlFelder(), KalenderFarbFelder(), KalenderSchalterFelder(), KalenderSchriftFelder().
    std::vector<TFloatEdit*> Zahlen;
    std::vector<TColorPopupButton*> Farben;
    std::vector<QCheckBox*> Schalter;
    std::array<TSchriftControls, 4> Schriften;

    // The number fields' hints and the style glyphs of the language.
    void AfterTranslate() override;

public slots:
    void reject() override;

private:
    QWidget* BuildTab(TKalenderTab tab);
    QWidget* BuildSchrift(TKalenderTab tab);
    QWidget* BuildFarben(TKalenderTab tab);
    QWidget* BuildAbstaende(TKalenderTab tab, const char* group);
    void Announce(TKalenderApply scope);
    void FocusBadNumber();

    TFBKalenderElement& calendar_;
    bool abortOnCancel_ = false;
};
