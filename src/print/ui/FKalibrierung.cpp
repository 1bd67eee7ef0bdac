#include "print/ui/FKalibrierung.h"

#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uProgramInfo.h"
#include "print/uKalibrierung.h"
#include "print/uPrinterSupport.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A step's box; its title and text come in AfterTranslate.
QGroupBox* step(QWidget* parent, int number) {
    auto* box = new QGroupBox(parent);
    box->setObjectName(QStringLiteral("grpSchritt%1").arg(number));
    LocalizerForms::KeepUntranslated(box);
    auto* layout = new QVBoxLayout(box);
    auto* label = new QLabel(box);
    label->setObjectName(QStringLiteral("lblSchritt%1").arg(number));
    label->setWordWrap(true);
    layout->addWidget(label);
    return box;
}

QString request() {
    return Translate(
        QStringLiteral("Bitte stellen Sie folgende Eigenschaften für den ausgewählten Drucker ein:"));
}

QString stepText(int number) {
    switch (number) {
    case 1:
        return Translate(QStringLiteral("Normaldruck (kein Randlosdruck)")) + QLatin1Char('\n') + request();
    case 2:
        return Translate(QStringLiteral("Drucken Sie jetzt das Kalibrierblatt aus (normale DIN A4 Seite)."));
    case 3:
        return Translate(QStringLiteral("Randlosdruck")) + QLatin1Char('\n') + request();
    case 4:
        return Translate(QStringLiteral("Legen Sie jetzt das Kalibrierblatt wie auf dem Blatt angegeben in "
                                        "den Drucker"));
    case 5:
        return Translate(QStringLiteral("Drucken Sie jetzt das 2. Mal auf das Kalibrierblatt"));
    case 6:
        return Translate(QStringLiteral(
                   "Lesen Sie jetzt die Kalibrierzahl von dem Blatt ab  und tragen Sie sie in das ")) +
               QLatin1Char('\n') + Translate(QStringLiteral("untenstehende Feld ein."));
    }
    return {};
}

} // namespace

TKalibrierung::TKalibrierung(QWidget* owner) : TLocalizerDialog(owner) {
    setObjectName(QStringLiteral("FKalibrierung"));
    setWindowTitle(QStringLiteral("Kalibrierung"));

    pnlSchritt1 = new QWidget(this);
    pnlSchritt1->setObjectName(QStringLiteral("pnlSchritt1"));
    grpSchritt[0] = nullptr;
    grpSchritt[1] = step(pnlSchritt1, 1);
    btnEinstellungen1 = new QPushButton(Translate(QStringLiteral("Druckereinstellungen")), grpSchritt[1]);
    btnEinstellungen1->setObjectName(QStringLiteral("btnEinstellungen1"));
    grpSchritt[1]->layout()->addWidget(btnEinstellungen1);
    grpSchritt[2] = step(pnlSchritt1, 2);
    btnDrucken1 = new QPushButton(Translate(QStringLiteral("Drucken")), grpSchritt[2]);
    btnDrucken1->setObjectName(QStringLiteral("btnDrucken1"));
    grpSchritt[2]->layout()->addWidget(btnDrucken1);
    auto* l1 = new QVBoxLayout(pnlSchritt1);
    l1->addWidget(grpSchritt[1]);
    l1->addWidget(grpSchritt[2]);

    pnlSchritt2 = new QWidget(this);
    pnlSchritt2->setObjectName(QStringLiteral("pnlSchritt2"));
    grpSchritt[3] = step(pnlSchritt2, 3);
    btnEinstellungen2 = new QPushButton(Translate(QStringLiteral("Druckereinstellungen")), grpSchritt[3]);
    btnEinstellungen2->setObjectName(QStringLiteral("btnEinstellungen2"));
    grpSchritt[3]->layout()->addWidget(btnEinstellungen2);
    grpSchritt[4] = step(pnlSchritt2, 4);
    grpSchritt[5] = step(pnlSchritt2, 5);
    btnDrucken2 = new QPushButton(Translate(QStringLiteral("Drucken")), grpSchritt[5]);
    btnDrucken2->setObjectName(QStringLiteral("btnDrucken2"));
    grpSchritt[5]->layout()->addWidget(btnDrucken2);
    auto* l2 = new QVBoxLayout(pnlSchritt2);
    l2->addWidget(grpSchritt[3]);
    l2->addWidget(grpSchritt[4]);
    l2->addWidget(grpSchritt[5]);

    pnlSchritt3 = new QWidget(this);
    pnlSchritt3->setObjectName(QStringLiteral("pnlSchritt3"));
    grpSchritt[6] = step(pnlSchritt3, 6);
    auto* row = new QHBoxLayout;
    auto* lblKalibrierzahl = new QLabel(Translate(QStringLiteral("Kalibrierzahl:")), grpSchritt[6]);
    lblKalibrierzahl->setObjectName(QStringLiteral("lblKalibrierzahl"));
    row->addWidget(lblKalibrierzahl);
    edtKalibrierzahl = new QLineEdit(grpSchritt[6]);
    edtKalibrierzahl->setObjectName(QStringLiteral("edtKalibrierzahl"));
    edtKalibrierzahl->setMaxLength(3);
    row->addWidget(edtKalibrierzahl);
    btnFertig = new QPushButton(grpSchritt[6]);
    btnFertig->setObjectName(QStringLiteral("btnFertig"));
    row->addWidget(btnFertig);
    static_cast<QVBoxLayout*>(grpSchritt[6]->layout())->addLayout(row);
    auto* l3 = new QVBoxLayout(pnlSchritt3);
    l3->addWidget(grpSchritt[6]);
    l3->addStretch();

    // All three panels lie at the same place; the dialog takes the size of the first.
    auto* stack = new QStackedLayout(this);
    stack->addWidget(pnlSchritt1);
    stack->addWidget(pnlSchritt2);
    stack->addWidget(pnlSchritt3);
    setMinimumWidth(420);

    timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setInterval(2000);
    connect(timer, &QTimer::timeout, this, [this] {
        Bold(4, false);
        Bold(5, true);
    });

    PrintPass = [](int pass) {
        TCurrentPrinter& printer = PrinterSupport().Printer();
        printer.SetBorderlessJob(pass == 2);
        Kalibrierung::PrintSheets(printer, {pass});
        printer.SetBorderlessJob(false);
    };

    connect(btnEinstellungen1, &QPushButton::clicked, this, [this] {
        if (!PrinterSettings())
            return;
        Bold(1, false);
        Bold(2, true);
        btnDrucken1->setEnabled(true);
    });
    connect(btnDrucken1, &QPushButton::clicked, this, [this] {
        RunPass(1);
        ShowPanel(2);
        btnDrucken2->setEnabled(false);
        Bold(3, true);
    });
    connect(btnEinstellungen2, &QPushButton::clicked, this, [this] {
        if (!PrinterSettings())
            return;
        Bold(3, false);
        Bold(4, true);
        btnDrucken2->setEnabled(true);
        timer->start();
    });
    connect(btnDrucken2, &QPushButton::clicked, this, [this] {
        RunPass(2);
        ShowPanel(3);
        edtKalibrierzahl->setFocus();
        btnFertig->setEnabled(false);
    });
    connect(edtKalibrierzahl, &QLineEdit::textChanged, this,
            [this](const QString& text) { btnFertig->setEnabled(Kalibrierung::IsCalibrationNumber(text)); });
    connect(btnFertig, &QPushButton::clicked, this, [this] {
        if (Kalibrierung::IsCalibrationNumber(edtKalibrierzahl->text()))
            accept();
    });

    ShowPanel(1);
    btnDrucken1->setEnabled(false);
    Bold(1, true);
    Localize();
}

void TKalibrierung::AfterTranslate() {
    for (int number = 1; number <= 6; ++number) {
        grpSchritt[number]->setTitle(Translate(QStringLiteral("Schritt %1")).arg(number));
        grpSchritt[number]
            ->findChild<QLabel*>(QStringLiteral("lblSchritt%1").arg(number))
            ->setText(stepText(number));
    }
    // The buttons and the number's caption lie in the steps' boxes, so they follow here too.
    findChild<QLabel*>(QStringLiteral("lblKalibrierzahl"))
        ->setText(Translate(QStringLiteral("Kalibrierzahl:")));
    for (QPushButton* button : {btnEinstellungen1, btnEinstellungen2})
        button->setText(Translate(QStringLiteral("Druckereinstellungen")));
    for (QPushButton* button : {btnDrucken1, btnDrucken2})
        button->setText(Translate(QStringLiteral("Drucken")));
    btnFertig->setText(Tr("Fertig"));
}

void TKalibrierung::RegisterTexts() {
    RegisterText("Fertig"); // the button: done, not the status line's ready
}

void TKalibrierung::ShowPanel(int panel) {
    auto* stack = static_cast<QStackedLayout*>(layout());
    stack->setCurrentIndex(panel - 1);
    for (QWidget* p : {pnlSchritt1, pnlSchritt2, pnlSchritt3})
        p->setEnabled(p == stack->currentWidget());
}

int TKalibrierung::CurrentPanel() const {
    return static_cast<QStackedLayout*>(layout())->currentIndex() + 1;
}

void TKalibrierung::Bold(int number, bool bold) {
    QFont font = grpSchritt[number]->font();
    font.setBold(bold);
    grpSchritt[number]->setFont(font);
}

bool TKalibrierung::PrinterSettings() {
    try {
        TPrinterSupport& support = PrinterSupport();
        support.SetCopies(1);
        support.SetPaperNumber(9);
        support.ShowPrinterProperties(this);
        return true;
    } catch (const Exception& e) {
        QMessageBox::warning(this, ProgramInfo::ApplicationTitle(), e.message());
        return false;
    }
}

void TKalibrierung::RunPass(int pass) {
    try {
        if (PrintPass)
            PrintPass(pass);
    } catch (const Exception& e) {
        QMessageBox::warning(this, ProgramInfo::ApplicationTitle(), e.message());
    }
}

float TKalibrierung::CalibrationValue() const {
    return Kalibrierung::CalibrationValue(edtKalibrierzahl->text());
}
