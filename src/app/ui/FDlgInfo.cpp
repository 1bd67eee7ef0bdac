#include "app/ui/FDlgInfo.h"

#include "platform/uProgramInfo.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

TDlgInfo::TDlgInfo(QWidget* owner) : TLocalizerDialog(owner) {
    setObjectName(QStringLiteral("DlgInfo"));
    setWindowTitle(QStringLiteral("Über"));
    lblProduct = new QLabel(
        ProgramInfo::ApplicationTitle() + QStringLiteral("  ") + ProgramInfo::ProgramVersion(), this);
    lblVersion = new QLabel(QStringLiteral("Version 2.0") + QStringLiteral("      "), this);
    QFont big = lblProduct->font();
    big.setPixelSize(18);
    big.setBold(true);
    lblProduct->setFont(big);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblProduct);
    layout->addWidget(lblVersion);
    layout->addSpacing(12);
    layout->addWidget(buttons);
    // The product and version lines are the program's own, in every language.
    lblProduct->setObjectName(QStringLiteral("lblProduct"));
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    LocalizerForms::KeepUntranslated(lblProduct);
    LocalizerForms::KeepUntranslated(lblVersion);
    Localize();
    setFixedSize(sizeHint());
}

QString TDlgInfo::ProductText() const {
    return lblProduct->text();
}

QString TDlgInfo::VersionText() const {
    return lblVersion->text();
}
