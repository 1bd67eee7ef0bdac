#include "calendar/ui/uSubformKalender.h"

#include "calendar/uKalender.h"
#include "calendar/uKalenderStart.h"
#include "calendar/ui/FDlgFeiertagGeburtstag.h"
#include "calendar/ui/FKalenderPropDlg.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "platform/uGuarded.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TSFormKalender::TSFormKalender(QWidget* parent) : TSubForm(parent), TLocalizerFormBase(this) {
    setObjectName(QStringLiteral("SFormKalender"));
    lblKalenderjahr = new QLabel(QStringLiteral("Kalenderjahr:"), this);
    lblKalenderjahr->setObjectName(QStringLiteral("lblKalenderjahr"));
    lblErsterMonat = new QLabel(QStringLiteral("Erster Monat:"), this);
    lblErsterMonat->setObjectName(QStringLiteral("lblErsterMonat"));
    lblJahr = new QLabel(this);
    lblJahr->setObjectName(QStringLiteral("lblJahr"));
    QFont bold = lblJahr->font();
    bold.setBold(true);
    lblJahr->setFont(bold);
    lblJahr->setAlignment(Qt::AlignCenter);
    lblJahr->setMinimumWidth(lblJahr->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    LocalizerForms::KeepUntranslated(lblJahr); // the document's year
    BtnMinus = new QToolButton(this);
    BtnMinus->setObjectName(QStringLiteral("BtnMinus"));
    BtnMinus->setText(QStringLiteral("-"));
    BtnPlus = new QToolButton(this);
    BtnPlus->setObjectName(QStringLiteral("BtnPlus"));
    BtnPlus->setText(QStringLiteral("+"));
    // Signs read the same in every language.
    LocalizerForms::KeepUntranslated(BtnMinus);
    LocalizerForms::KeepUntranslated(BtnPlus);
    cbMonat = new QComboBox(this);
    cbMonat->setObjectName(QStringLiteral("cbMonat"));
    for (int month = 1; month <= 12; ++month)
        cbMonat->addItem(TKalenderData::MonthName(month));
    // The calendar's own month names, refilled in AfterTranslate.
    LocalizerForms::KeepUntranslated(cbMonat);
    BtnBearbeiten = new QPushButton(QStringLiteral("Kalendereinstellungen bearbeiten"), this);
    BtnBearbeiten->setObjectName(QStringLiteral("BtnBearbeiten"));
    BtnFeiertageGeburtstage = new QPushButton(QStringLiteral("Feiertage und Geburtstage"), this);
    BtnFeiertageGeburtstage->setObjectName(QStringLiteral("BtnFeiertageGeburtstage"));

    connect(BtnPlus, &QToolButton::clicked, this, [this] { JahrSchritt(1); });
    connect(BtnMinus, &QToolButton::clicked, this, [this] { JahrSchritt(-1); });
    // Only the user's choice counts: filling and refreshing the box record nothing.
    connect(cbMonat, &QComboBox::activated, this, &TSFormKalender::MonatGewaehlt);
    connect(BtnBearbeiten, &QPushButton::clicked, this, &TSFormKalender::Bearbeiten);
    connect(BtnFeiertageGeburtstage, &QPushButton::clicked, this, &TSFormKalender::FeiertageGeburtstage);

    OpenEigenschaften = [](QWidget* parent, TFBKalenderElement& calendar) {
        TKalenderPropDlg dialog(parent, calendar);
        dialog.exec();
    };
    OpenFeiertage = [](QWidget* parent, TFBKalenderElement& calendar) {
        if (TFBDocument* document = calendar.Document()) {
            TDlgFeiertagGeburtstag dialog(parent, *document, calendar.Data->Jahr, calendar.Data->Monat);
            dialog.exec();
        }
    };

    auto* grid = new QGridLayout;
    auto* year = new QHBoxLayout;
    year->setSpacing(2);
    year->addWidget(BtnMinus);
    year->addWidget(lblJahr);
    year->addWidget(BtnPlus);
    year->addStretch();
    grid->addWidget(lblKalenderjahr, 0, 0);
    grid->addLayout(year, 0, 1);
    grid->addWidget(lblErsterMonat, 1, 0);
    grid->addWidget(cbMonat, 1, 1);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(BtnBearbeiten);
    layout->addWidget(BtnFeiertageGeburtstage);
    layout->addStretch();

    Refresh();
    Localize();
}

TFBKalenderElement* TSFormKalender::Kalender() const {
    return dynamic_cast<TFBKalenderElement*>(Element());
}

void TSFormKalender::ElementChanged(TFBElement*, TFBPage*) {
    Refresh();
}

void TSFormKalender::AfterTranslate() {
    for (int month = 1; month <= 12; ++month)
        cbMonat->setItemText(month - 1, TKalenderData::MonthName(month));
}

void TSFormKalender::Refresh() {
    TFBKalenderElement* calendar = Kalender();
    TFBDocument* document = calendar ? calendar->Document() : nullptr;
    for (QWidget* control : std::initializer_list<QWidget*>{cbMonat, BtnBearbeiten, BtnFeiertageGeburtstage})
        control->setEnabled(document != nullptr);
    if (!document) {
        lblJahr->clear();
        BtnPlus->setEnabled(false);
        BtnMinus->setEnabled(false);
        return;
    }
    const TKalenderStartAnzeige shown = KalenderStartAnzeige(*document, calendar);
    lblJahr->setText(QString::number(shown.Jahr));
    BtnPlus->setEnabled(shown.PlusEnabled);
    BtnMinus->setEnabled(shown.MinusEnabled);
    cbMonat->setCurrentIndex(shown.Monat - 1);
}

void TSFormKalender::JahrSchritt(int delta) {
    TFBKalenderElement* calendar = Kalender();
    if (!calendar || !calendar->Document())
        return;
    if (Guarded("TSFormKalender.Jahr", [&] { KalenderJahrSchritt(*calendar->Document(), delta); }))
        AnnounceAllCalendars();
    Refresh();
}

void TSFormKalender::MonatGewaehlt(int index) {
    TFBKalenderElement* calendar = Kalender();
    if (!calendar || !calendar->Document() || index < 0)
        return;
    if (Guarded("TSFormKalender.Monat", [&] { KalenderErsterMonat(*calendar->Document(), index + 1); }))
        AnnounceAllCalendars();
    Refresh();
}

void TSFormKalender::Bearbeiten() {
    if (TFBKalenderElement* calendar = Kalender(); calendar && OpenEigenschaften)
        OpenEigenschaften(window(), *calendar);
    Refresh();
}

void TSFormKalender::FeiertageGeburtstage() {
    TFBKalenderElement* calendar = Kalender();
    if (!calendar || !OpenFeiertage)
        return;
    OpenFeiertage(window(), *calendar);
    // Holidays and birthdays colour the days of every calendar.
    AnnounceAllCalendars();
    Refresh();
}

void TSFormKalender::AnnounceAllCalendars() {
    TFBKalenderElement* calendar = Kalender();
    if (!calendar)
        return;
    Multicaster().NotifyElementChanged(this, calendar);
    if (TFBDocument* document = calendar->Document())
        for (TFBPage* page : document->Pages)
            if (page != calendar->Page && page->Calendars.Count() > 0)
                Multicaster().NotifyPageChanged(this, page);
}
