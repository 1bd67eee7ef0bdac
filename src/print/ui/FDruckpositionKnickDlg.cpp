#include "print/ui/FDruckpositionKnickDlg.h"

#include "i18n/ulocalize.h"
#include "print/uFotobuchPrinter.h"
#include "print/uKalibrierung.h"
#include "print/uPrinterSupport.h"
#include "print/ui/FKalibrierung.h"

#include <QBuffer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace {

// A folded sheet seen from above: two pictures meeting at the fold, the edge drawn off the fold.
QPixmap illustration() {
    QPixmap pixmap(220, 110);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(10, 10, 200, 90);
    p.fillRect(11, 11, 96, 89, QColor(120, 170, 220));
    p.fillRect(107, 11, 103, 89, QColor(230, 180, 90));
    p.setPen(QPen(Qt::red, 1, Qt::DashLine));
    p.drawLine(110, 4, 110, 106);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(100, 55, 107, 55);
    p.drawLine(113, 55, 120, 55);
    return pixmap;
}

} // namespace

TDruckpositionKnickDlg::TDruckpositionKnickDlg(QWidget* owner) : TLocalizerDialog(owner) {
    setObjectName(QStringLiteral("DruckpositionKnickDlg"));
    setWindowTitle(QStringLiteral("Bilder-Stoßkante"));
    auto* text = new QLabel(
        QStringLiteral("Das gewählte Format wird mit \"Randlos-Einstellung\" gedruckt. Drucken Sie zuerst "
                       "einen einzelnen Bogen um festzustellen, ob sich die Stoßkante beider Bilder mit der "
                       "Faltung deckt. Wenn nicht, betrachten Sie den Ausdruck wie gezeigt und verschieben "
                       "Sie die Kante."),
        this);
    text->setObjectName(QStringLiteral("lblErklaerung"));
    text->setWordWrap(true);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgIllustration"));
    picture->setPixmap(illustration());
    auto* caption = new QLabel(QStringLiteral("Stoßkante verschieben"), this);
    caption->setObjectName(QStringLiteral("lblVerschieben"));
    btnLinks = new QToolButton(this);
    btnLinks->setObjectName(QStringLiteral("btnLinks"));
    btnLinks->setArrowType(Qt::LeftArrow);
    btnRechts = new QToolButton(this);
    btnRechts->setObjectName(QStringLiteral("btnRechts"));
    btnRechts->setArrowType(Qt::RightArrow);
    lblOffset = new QLabel(this);
    lblOffset->setObjectName(QStringLiteral("lblOffset"));
    lblOffset->setMinimumWidth(140);
    lblOffset->setAlignment(Qt::AlignCenter);
    LocalizerForms::KeepUntranslated(lblOffset); // the shift, set in code
    btnJustage = new QPushButton(QStringLiteral("Automatische Druckerjustage"), this);
    btnJustage->setObjectName(QStringLiteral("btnJustage"));
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));

    // The arrows stop at the largest shift a stored value may hold.
    connect(btnLinks, &QToolButton::clicked, this, [this] {
        if (shift_ + 0.1f <= TFotobuchPrinter::kMaxShift + 1e-4f)
            SetShift(shift_ + 0.1f);
    });
    connect(btnRechts, &QToolButton::clicked, this, [this] {
        if (shift_ - 0.1f >= -TFotobuchPrinter::kMaxShift - 1e-4f)
            SetShift(shift_ - 0.1f);
    });
    connect(btnJustage, &QPushButton::clicked, this, &TDruckpositionKnickDlg::AutoCalibrate);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);

    Calibrate = [](QWidget* parent) -> std::optional<float> {
        TKalibrierung dialog(parent);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.CalibrationValue();
    };

    auto* arrows = new QHBoxLayout;
    arrows->addWidget(caption);
    arrows->addStretch();
    arrows->addWidget(btnLinks);
    arrows->addWidget(lblOffset);
    arrows->addWidget(btnRechts);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnJustage);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addLayout(arrows);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    SetShift(-1.2f);
    Localize();
}

void TDruckpositionKnickDlg::SetShift(float shift) {
    shift_ = shift;
    lblOffset->setText(Kalibrierung::FoldLineLabel(shift));
}

QString TDruckpositionKnickDlg::OffsetText() const {
    return lblOffset->text();
}

void TDruckpositionKnickDlg::AutoCalibrate() {
    // The calibration changes copies, paper and driver settings; the selection comes back after.
    QBuffer saved;
    saved.open(QIODevice::ReadWrite);
    TPrinterSupport& support = PrinterSupport();
    const bool haveSelection = support.HasPrinter();
    if (haveSelection)
        support.SaveSelection(saved);
    const std::optional<float> value = Calibrate ? Calibrate(this) : std::nullopt;
    if (value)
        SetShift(-*value);
    if (haveSelection) {
        saved.seek(0);
        support.LoadSelection(saved);
    }
}
