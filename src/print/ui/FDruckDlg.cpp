#include "print/ui/FDruckDlg.h"

#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uProgramInfo.h"
#include "platform/uVXRegIniFile.h"
#include "print/uFotobuchPrinter.h"
#include "print/uPrinterSupport.h"
#include "print/ui/FDruckpositionKnickDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

TVXDruckDlg::TVXDruckDlg(QWidget* owner) : TLocalizerDialog(owner) {
    setObjectName(QStringLiteral("FDruckDlg"));
    setWindowTitle(QStringLiteral("Drucken"));

    auto* grpDrucker = new QGroupBox(QStringLiteral("Drucker"), this);
    grpDrucker->setObjectName(QStringLiteral("grpDrucker"));
    cmbName = new QComboBox(grpDrucker);
    cmbName->setObjectName(QStringLiteral("cmbName"));
    lblTyp = new QLabel(grpDrucker);
    lblTyp->setObjectName(QStringLiteral("lblTyp"));
    lblOrt = new QLabel(grpDrucker);
    lblOrt->setObjectName(QStringLiteral("lblOrt"));
    lblKommentar = new QLabel(grpDrucker);
    lblKommentar->setObjectName(QStringLiteral("lblKommentar"));
    btnEigenschaften = new QPushButton(QStringLiteral("&Eigenschaften"), grpDrucker);
    btnEigenschaften->setObjectName(QStringLiteral("btnEigenschaften"));
    auto* printerForm = new QFormLayout;
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(cmbName, 1);
    nameRow->addWidget(btnEigenschaften);
    const auto caption = [grpDrucker](const char* name, const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text), grpDrucker);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    // A row built from a layout gets no buddy of its own; Alt+N must still reach the printer list.
    QLabel* lblName = caption("lblName", "&Name:");
    lblName->setBuddy(cmbName);
    printerForm->addRow(lblName, nameRow);
    printerForm->addRow(caption("lblTypCaption", "Typ:"), lblTyp);
    printerForm->addRow(caption("lblOrtCaption", "Ort:"), lblOrt);
    printerForm->addRow(caption("lblKommentarCaption", "Kommentar:"), lblKommentar);
    // The printer's type, place and comment and the printer list are the printer's own.
    for (QObject* data : std::initializer_list<QObject*>{cmbName, lblTyp, lblOrt, lblKommentar})
        LocalizerForms::KeepUntranslated(data);
    grpDrucker->setLayout(printerForm);

    grpHinweis = new QGroupBox(QStringLiteral("Hinweis"), this);
    grpHinweis->setObjectName(QStringLiteral("grpHinweis"));
    memHinweis = new QPlainTextEdit(grpHinweis);
    memHinweis->setObjectName(QStringLiteral("memHinweis"));
    memHinweis->setReadOnly(true);
    LocalizerForms::KeepUntranslated(memHinweis); // what the product needs, built in code
    memHinweis->setFixedHeight(90);
    // The hint wraps at the memo's width, so it never scrolls sideways.
    memHinweis->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memHinweis->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The hint is what the user must not miss: bold and red.
    QFont bold = memHinweis->font();
    bold.setBold(true);
    memHinweis->setFont(bold);
    QPalette red = memHinweis->palette();
    red.setColor(QPalette::Text, Qt::red);
    memHinweis->setPalette(red);
    (new QVBoxLayout(grpHinweis))->addWidget(memHinweis);

    grpDruckbereich = new QGroupBox(QStringLiteral("Druckbereich"), this);
    grpDruckbereich->setObjectName(QStringLiteral("grpDruckbereich"));
    rbAlle = new QRadioButton(QStringLiteral("Alle"), grpDruckbereich);
    rbAlle->setObjectName(QStringLiteral("rbAlle"));
    rbAlle->setChecked(true);
    rbSeiten = new QRadioButton(QStringLiteral("Seiten"), grpDruckbereich);
    rbSeiten->setObjectName(QStringLiteral("rbSeiten"));
    edtVon = new QLineEdit(grpDruckbereich);
    edtVon->setObjectName(QStringLiteral("edtVon"));
    edtBis = new QLineEdit(grpDruckbereich);
    edtBis->setObjectName(QStringLiteral("edtBis"));
    for (QLineEdit* e : {edtVon, edtBis}) {
        e->setValidator(new QIntValidator(0, 99999, e));
        e->setMaximumWidth(60);
        e->installEventFilter(this);
    }
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(rbSeiten);
    auto* lblVon = new QLabel(QStringLiteral("von:"), grpDruckbereich);
    lblVon->setObjectName(QStringLiteral("lblVon"));
    rangeRow->addWidget(lblVon);
    rangeRow->addWidget(edtVon);
    auto* lblBis = new QLabel(QStringLiteral("bis:"), grpDruckbereich);
    lblBis->setObjectName(QStringLiteral("lblBis"));
    rangeRow->addWidget(lblBis);
    rangeRow->addWidget(edtBis);
    rangeRow->addStretch();
    auto* rangeLayout = new QVBoxLayout(grpDruckbereich);
    rangeLayout->addWidget(rbAlle);
    rangeLayout->addLayout(rangeRow);

    grpAnzahl = new QGroupBox(QStringLiteral("Anzahl"), this);
    grpAnzahl->setObjectName(QStringLiteral("grpAnzahl"));
    spnAnzahl = new QSpinBox(grpAnzahl);
    spnAnzahl->setObjectName(QStringLiteral("spnAnzahl"));
    spnAnzahl->setRange(1, 1000);
    spnAnzahl->setValue(1);
    auto* countLayout = new QFormLayout(grpAnzahl);
    auto* lblAnzahl = new QLabel(QStringLiteral("Anzahl"), grpAnzahl);
    lblAnzahl->setObjectName(QStringLiteral("lblAnzahl"));
    countLayout->addRow(lblAnzahl, spnAnzahl);

    // The red frame lies 2 pixels outside the button and shows exactly when the button does.
    frmDruckposition = new QFrame(this);
    frmDruckposition->setObjectName(QStringLiteral("frmDruckposition"));
    frmDruckposition->setStyleSheet(QStringLiteral("#frmDruckposition { border: 2px solid red; }"));
    btnDruckposition = new QPushButton(QStringLiteral("Druckposition anpassen"), frmDruckposition);
    btnDruckposition->setObjectName(QStringLiteral("btnDruckposition"));
    auto* frameLayout = new QVBoxLayout(frmDruckposition);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    frameLayout->addWidget(btnDruckposition);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));

    auto* middle = new QHBoxLayout;
    middle->addWidget(grpDruckbereich, 1);
    middle->addWidget(grpAnzahl);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(frmDruckposition);
    bottom->addStretch();
    bottom->addWidget(btnOk);
    bottom->addWidget(btnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grpDrucker);
    layout->addWidget(grpHinweis);
    layout->addLayout(middle);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmbName, &QComboBox::activated, this, &TVXDruckDlg::PrinterChosen);
    connect(btnEigenschaften, &QPushButton::clicked, this, [this] {
        try {
            PrinterSupport().ShowPrinterProperties(this);
        } catch (const Exception& e) {
            QMessageBox::warning(this, ProgramInfo::ApplicationTitle(), e.message());
        }
    });
    connect(edtVon, &QLineEdit::textEdited, this, [this] {
        if (vonFocused_)
            rbSeiten->setChecked(true);
    });
    connect(edtBis, &QLineEdit::textEdited, this, [this] {
        if (bisFocused_)
            rbSeiten->setChecked(true);
    });
    connect(btnDruckposition, &QPushButton::clicked, this, &TVXDruckDlg::AdjustFold);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);

    FillPrinters();
    Localize();
}

bool TVXDruckDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == edtVon)
            vonFocused_ = true;
        else if (watched == edtBis)
            bisFocused_ = true;
    } else if (event->type() == QEvent::FocusOut) {
        // An empty field takes the other one's number.
        if (watched == edtVon && edtVon->text().isEmpty())
            edtVon->setText(edtBis->text());
        else if (watched == edtBis && edtBis->text().isEmpty())
            edtBis->setText(edtVon->text());
    }
    return QDialog::eventFilter(watched, event);
}

void TVXDruckDlg::FillPrinters() {
    cmbName->clear();
    TPrinterSupport& support = PrinterSupport();
    if (!support.HasPrinter())
        return;
    cmbName->addItems(support.Printer().PrinterNames());
    cmbName->setCurrentText(support.Printer().SelectedName());
    ShowDetails();
}

void TVXDruckDlg::ShowDetails() {
    const QStringList info = PrinterSupport().GetPrinterInfo();
    lblTyp->setText(info.value(4));
    lblOrt->setText(info.value(3));
    lblKommentar->setText(info.value(5));
}

void TVXDruckDlg::PrinterChosen(int index) {
    TPrinterSupport& support = PrinterSupport();
    if (!support.HasPrinter() || index < 0)
        return;
    const QString name = cmbName->itemText(index);
    if (!support.Printer().Select(name))
        return;
    support.ResetToPrinterDefaults();
    ShowDetails();
    if (!SettingsKey.isEmpty())
        Randlosverschiebung = TFotobuchPrinter::ValidShift(
            VXRegIniFile().ReadFloat(SettingsKey + u'\\' + name, QStringLiteral("RandlosverschiebungY"),
                                     std::numeric_limits<double>::quiet_NaN()),
            Randlosverschiebung);
}

void TVXDruckDlg::AdjustFold() {
    TDruckpositionKnickDlg dialog(this);
    dialog.SetShift(Randlosverschiebung);
    if (dialog.exec() == QDialog::Accepted)
        Randlosverschiebung = dialog.Shift();
}

void TVXDruckDlg::SetRange(int from, int to) {
    edtVon->setText(QString::number(from));
    edtBis->setText(QString::number(to));
}

void TVXDruckDlg::SetHint(const QString& text) {
    memHinweis->setPlainText(text);
}

void TVXDruckDlg::SetFoldButtonVisible(bool visible) {
    frmDruckposition->setVisible(visible);
}

int TVXDruckDlg::ShowModal() {
    TPrinterSupport& support = PrinterSupport();
    if (support.HasPrinter()) {
        savedPrinter_ = support.Printer().SelectedName();
        savedMode_ =
            support.Printer().HasDeviceMode() ? std::optional(support.Printer().DeviceMode()) : std::nullopt;
    }
    // Without a hint the dialog closes up where "Hinweis" was.
    grpHinweis->setVisible(!memHinweis->toPlainText().isEmpty());
    const int result = exec();
    if (!support.HasPrinter())
        return result;
    if (result == QDialog::Accepted) {
        if (support.Printer().HasDeviceMode())
            support.Printer().DeviceMode().Copies = spnAnzahl->value();
    } else if (!savedPrinter_.isEmpty()) {
        support.Printer().Select(savedPrinter_);
        if (savedMode_)
            support.Printer().TakeDeviceMode(*savedMode_);
    }
    return result;
}

int TVXDruckDlg::RangeMode() const {
    return rbSeiten->isChecked() ? 1 : 0;
}

int TVXDruckDlg::From() const {
    return edtVon->text().toInt();
}

int TVXDruckDlg::To() const {
    return edtBis->text().toInt();
}

int TVXDruckDlg::Copies() const {
    return spnAnzahl->value();
}
