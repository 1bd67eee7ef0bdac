#include "print/ui/FDlgDruckAbbrechen.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TDlgDruckAbbrechen::TDlgDruckAbbrechen(QWidget* owner) : TLocalizerDialog(owner) {
    setObjectName(QStringLiteral("DlgDruckAbbrechen"));
    setWindowTitle(QStringLiteral("Drucken"));
    setModal(false);
    lblText = new QLabel(this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setMinimumWidth(260);
    btnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnAbbrechen->setObjectName(QStringLiteral("btnAbbrechen"));
    connect(btnAbbrechen, &QPushButton::clicked, this, [this] {
        cancelled_ = true;
        btnAbbrechen->setEnabled(false);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblText);
    layout->addWidget(btnAbbrechen, 0, Qt::AlignHCenter);
    Localize();
}

void TDlgDruckAbbrechen::SetText(const QString& text) {
    lblText->setText(text);
}

QString TDlgDruckAbbrechen::Text() const {
    return lblText->text();
}
