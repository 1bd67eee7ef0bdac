#include "editing/ui/uSubformBild.h"

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uDocumentEdits.h"
#include "i18n/ulocalize.h"
#include "platform/uGuarded.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

TSFormBild::TSFormBild(QWidget* parent) : TSubForm(parent), imgAmpel(PanelRules::AmpelStrip()) {
    setObjectName(QStringLiteral("SFormBild"));

    auto* zoomCaption = new QLabel(Translate(QStringLiteral("Zoom")), this);
    zoomCaption->setObjectName(QStringLiteral("lblZoom"));
    ZoomTrackbar = new QSlider(Qt::Horizontal, this);
    ZoomTrackbar->setObjectName(QStringLiteral("ZoomTrackbar"));
    ZoomTrackbar->setRange(PanelRules::kZoomSliderMin, PanelRules::kZoomSliderMax);
    ZoomTrackbar->setPageStep(PanelRules::kZoomSliderPageStep);
    ZoomTrackbar->setTickPosition(QSlider::NoTicks);
    // Not a tab stop, and no keys either: every zoom change starts with a press on the slider.
    ZoomTrackbar->setFocusPolicy(Qt::NoFocus);
    ZoomTrackbar->setMinimumWidth(120);
    ZoomTrackbar->installEventFilter(this);
    zoomCaption->setBuddy(ZoomTrackbar);
    connect(ZoomTrackbar, &QSlider::valueChanged, this, &TSFormBild::zoomTrackbarChange);

    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(Translate(QString::fromUtf8(caption)), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(b->text());
        return b;
    };
    BtnBildDrehenLinks = button("BtnBildDrehenLinks", "Links drehen");
    BtnBildDrehenRechts = button("BtnBildDrehenRechts", "Rechts drehen");
    BtnBildFilter = button("BtnBildFilter", "Filter");
    connect(BtnBildDrehenLinks, &QPushButton::clicked, this, &TSFormBild::BtnBildDrehenLinksClick);
    connect(BtnBildDrehenRechts, &QPushButton::clicked, this, &TSFormBild::BtnBildDrehenRechtsClick);
    connect(BtnBildFilter, &QPushButton::clicked, this, &TSFormBild::BtnBildFilterClick);

    pmBildFilter = new QMenu(this);
    pmBildFilter->setObjectName(QStringLiteral("pmBildFilter"));
    const auto item = [this](const char* name, const char* caption, TPictureFilterKind kind) {
        QAction* action = pmBildFilter->addAction(Translate(QString::fromUtf8(caption)));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, kind] { RunFilter(kind); });
    };
    item("mnuHKIG", "Helligkeit, Kontrast, Intensität, Gamma...", TPictureFilterKind::HKIG);
    item("mnuHSL", "Farbton, Sättigung, Helligkeit...", TPictureFilterKind::HSL);
    item("mnuSWCol", "Schwarz-Weiß, Kolorieren...", TPictureFilterKind::SWCol);
    item("mnuRedEye", "Rote Augen entfernen...", TPictureFilterKind::RedEye);

    pbAmpel = new QLabel(this);
    pbAmpel->setObjectName(QStringLiteral("pbAmpel"));
    pbAmpel->setFixedSize(PanelRules::kAmpelWidth, PanelRules::kAmpelHeight);
    lbldpi = new QLabel(this);
    lbldpi->setObjectName(QStringLiteral("lbldpi"));

    // Three rows, so that the panel fits the narrowest page view beside the tool panel.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->addWidget(zoomCaption, 0, 0);
    grid->addWidget(ZoomTrackbar, 0, 1, 1, 3);
    grid->addWidget(BtnBildDrehenLinks, 1, 1);
    grid->addWidget(BtnBildDrehenRechts, 1, 2);
    grid->addWidget(BtnBildFilter, 1, 3);
    auto* resolution = new QHBoxLayout;
    resolution->setSpacing(6);
    resolution->addWidget(pbAmpel);
    resolution->addWidget(lbldpi, 1);
    grid->addLayout(resolution, 2, 1, 1, 3);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(3, 1);

    Refresh();
}

TFBPictureElement* TSFormBild::Frame() const {
    return dynamic_cast<TFBPictureElement*>(Element());
}

void TSFormBild::Refresh() {
    TFBPictureElement* frame = Frame();
    if (gesture_.Pressed() && !frame)
        gesture_.Cancel();
    const PanelRules::TPicturePanelState state = PanelRules::PicturePanelStateFor(frame);
    {
        updating_ = true;
        const QSignalBlocker blocker(ZoomTrackbar);
        ZoomTrackbar->setValue(state.SliderPosition);
        updating_ = false;
    }
    ZoomTrackbar->setEnabled(state.HasPicture);
    BtnBildDrehenLinks->setEnabled(state.HasPicture);
    BtnBildDrehenRechts->setEnabled(state.HasPicture);
    BtnBildFilter->setEnabled(state.HasPicture);
    lbldpi->setText(state.DpiText);
    showAmpel(state.Dpi);
}

void TSFormBild::showAmpel(int dpi) {
    ampel_ = PanelRules::AmpelCutOut(imgAmpel, dpi);
    pbAmpel->setPixmap(QPixmap::fromImage(ampel_));
}

bool TSFormBild::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ZoomTrackbar)
        return TSubForm::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Every press records, also one in the groove, which the slider answers with a page step
        // but reports no slider press for.
        if (TFBPictureElement* frame = Frame(); frame && frame->HasPicture()) {
            if (!Guarded("TSFormBild.ZoomTrackbarMouseDown", [&] { gesture_.Press(*frame); }))
                return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        gesture_.Release();
        break;
    case QEvent::Wheel:
        // A wheel turn would zoom without a press to record it.
        return true;
    default:
        break;
    }
    return TSubForm::eventFilter(watched, event);
}

void TSFormBild::zoomTrackbarChange(int position) {
    TFBPictureElement* frame = Frame();
    if (updating_ || !frame || !frame->HasPicture())
        return;
    Guarded("TSFormBild.ZoomTrackbarChange", [&] {
        if (gesture_.Move(*frame, position))
            Announce();
    });
}

void TSFormBild::BtnBildDrehenLinksClick() {
    TFBPictureElement* frame = Frame();
    if (!frame || !frame->HasPicture())
        return;
    Guarded("TSFormBild.BtnBildDrehenLinksClick", [&] {
        DocumentEdits::RotatePicture(*frame, 2);
        Announce();
        Refresh();
    });
}

void TSFormBild::BtnBildDrehenRechtsClick() {
    TFBPictureElement* frame = Frame();
    if (!frame || !frame->HasPicture())
        return;
    Guarded("TSFormBild.BtnBildDrehenRechtsClick", [&] {
        DocumentEdits::RotatePicture(*frame, 0);
        Announce();
        Refresh();
    });
}

void TSFormBild::BtnBildFilterClick() {
    pmBildFilter->popup(BtnBildFilter->mapToGlobal(QPoint(0, BtnBildFilter->height())));
}

void TSFormBild::RunFilter(TPictureFilterKind kind) {
    TFBPictureElement* frame = Frame();
    if (!frame || !frame->HasPicture())
        return;
    Guarded("TSFormBild.RunFilter", [&] {
        if (DocumentEdits::FilterPicture(*frame, kind)) {
            Announce();
            Refresh();
        }
    });
}
