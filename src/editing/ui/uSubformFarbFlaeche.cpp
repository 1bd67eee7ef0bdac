#include "editing/ui/uSubformFarbFlaeche.h"

#include "document/uFBColor.h"
#include "document/uFotobuchDocument.h"
#include "editing/uDocumentEdits.h"
#include "editing/uPanelRules.h"
#include "i18n/ulocalize.h"
#include "platform/uGuarded.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TSFormFarbFlaeche::TSFormFarbFlaeche(QWidget* parent) : TSubForm(parent) {
    setObjectName(QStringLiteral("SFormFarbFlaeche"));

    const auto value = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setMinimumWidth(32);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    lblR = value("lblR");
    lblG = value("lblG");
    lblB = value("lblB");

    panFarbe = new QFrame(this);
    panFarbe->setObjectName(QStringLiteral("panFarbe"));
    panFarbe->setFrameShape(QFrame::Panel);
    panFarbe->setFrameShadow(QFrame::Sunken);
    panFarbe->setFixedSize(64, 64);
    pbFarbe = new QFrame(panFarbe);
    pbFarbe->setObjectName(QStringLiteral("pbFarbe"));
    pbFarbe->setAutoFillBackground(true);
    auto* inner = new QVBoxLayout(panFarbe);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->addWidget(pbFarbe);

    BtnFarbeAendern = new QPushButton(Translate(QStringLiteral("Farbe ändern")), this);
    BtnFarbeAendern->setObjectName(QStringLiteral("BtnFarbeAendern"));
    BtnFarbeAendern->setAccessibleName(BtnFarbeAendern->text());
    connect(BtnFarbeAendern, &QPushButton::clicked, this, &TSFormFarbFlaeche::BtnFarbeAendernClick);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    grid->addWidget(panFarbe, 0, 0, 3, 1, Qt::AlignTop);
    const auto row = [&](int r, const char* caption, QLabel* label) {
        auto* captionLabel = new QLabel(Translate(QString::fromUtf8(caption)), this);
        captionLabel->setBuddy(label);
        grid->addWidget(captionLabel, r, 1);
        grid->addWidget(label, r, 2);
    };
    row(0, "Rot:", lblR);
    row(1, "Grün:", lblG);
    row(2, "Blau:", lblB);
    grid->addWidget(BtnFarbeAendern, 0, 3, Qt::AlignTop);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(3, 1);

    Refresh();
}

TFBPictureElement* TSFormFarbFlaeche::Frame() const {
    return dynamic_cast<TFBPictureElement*>(Element());
}

void TSFormFarbFlaeche::Refresh() {
    const TFBPictureElement* frame = Frame();
    if (!frame) {
        lblR->clear();
        lblG->clear();
        lblB->clear();
        color_ = 0xFFFFFF;
        pbFarbe->setPalette(palette());
        return;
    }
    showColor(PanelRules::ColorAreaColor(*frame));
}

void TSFormFarbFlaeche::showColor(int32_t colour) {
    color_ = colour;
    const PanelRules::TColorParts parts = PanelRules::ColorParts(colour);
    lblR->setText(QString::number(parts.R));
    lblG->setText(QString::number(parts.G));
    lblB->setText(QString::number(parts.B));
    QPalette fill = pbFarbe->palette();
    fill.setColor(QPalette::Window, ColorToQColor(colour));
    pbFarbe->setPalette(fill);
}

void TSFormFarbFlaeche::BtnFarbeAendernClick() {
    TFBPictureElement* frame = Frame();
    if (!frame)
        return;
    Guarded("TSFormFarbFlaeche.BtnFarbeAendernClick", [&] {
        int32_t colour = color_;
        if (!PickColor(colour))
            return;
        DocumentEdits::FillColour(*frame, colour);
        showColor(colour & 0xFFFFFF);
        Announce();
    });
}
