#include "catalogue/ui/FDateiNeuDlg.h"

#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uWizzardStep.h"
#include "catalogue/ui/uWizardPreviewImage.h"
#include "catalogue/ui/uWizardStepDelegate.h"
#include "i18n/ulocalize.h"
#include "platform/uDebug.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {

// The fixed layout in logical pixels.
constexpr int kWidth = 580;
constexpr int kHeight = 386;
constexpr int kHeadingHeight = 40;
constexpr int kListWidth = 180;
constexpr int kAreaHeight = 300;
constexpr int kPreviewWidth = 400;
constexpr int kButtonTop = kHeadingHeight + kAreaHeight + 11;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kOpenButtonWidth = 110;
constexpr int kMargin = 8;
constexpr int kButtonGap = 6;
constexpr int kHeadingIndent = 10;
constexpr int kHeadingPixelSize = 19;
constexpr double kMinHeadingContrast = 0.3; // in HSL lightness

QString W(const char* text) {
    return TranslateText(QString::fromLatin1(kWizardSection), QString::fromUtf8(text));
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int x) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, kButtonTop, kButtonWidth, kButtonHeight);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TDateiNeuDlg::TDateiNeuDlg(QWidget* owner, const QDate& today)
    : TLocalizerDialog(owner), root_(BuildWizardTree(today)) {
    buildForm();
    ShowStep(root_.get());
    Localize();
}

TDateiNeuDlg::~TDateiNeuDlg() = default;

void TDateiNeuDlg::buildForm() {
    setObjectName(QStringLiteral("DateiNeuDlg"));
    setWindowTitle(QStringLiteral("Neues Projekt anlegen"));
    setFixedSize(kWidth, kHeight);
    setModal(true);

    panHeading = new QLabel(this);
    panHeading->setObjectName(QStringLiteral("panHeading"));
    panHeading->setGeometry(0, 0, kWidth, kHeadingHeight);
    panHeading->setAutoFillBackground(true);
    panHeading->setIndent(kHeadingIndent);
    panHeading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont headingFont(QStringLiteral("Liberation Sans"));
    headingFont.setPixelSize(kHeadingPixelSize);
    panHeading->setFont(headingFont);
    updateHeadingColours();
    // The steps' headings and captions come translated from the wizard's tree.
    LocalizerForms::KeepUntranslated(panHeading);

    lbSteps = new QListWidget(this);
    lbSteps->setObjectName(QStringLiteral("lbSteps"));
    lbSteps->setGeometry(0, kHeadingHeight, kListWidth, kAreaHeight);
    lbSteps->setFrameShape(QFrame::NoFrame);
    lbSteps->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbSteps->setSelectionMode(QAbstractItemView::SingleSelection);
    lbSteps->setItemDelegate(new TWizardStepDelegate(lbSteps));
    lbSteps->setUniformItemSizes(true);
    // The list's background shows below the last item.
    lbSteps->viewport()->setBackgroundRole(QPalette::Base);
    lbSteps->installEventFilter(this);
    LocalizerForms::KeepUntranslated(lbSteps);
    connect(lbSteps, &QListWidget::currentRowChanged, this, &TDateiNeuDlg::currentRowChanged);
    // Return reaches the default button; the list's activated signal is left alone, or Return
    // would advance twice.
    connect(lbSteps, &QListWidget::itemDoubleClicked, this, [this] { forward(); });

    imgPreview = new TWizardPreviewImage(this);
    imgPreview->setObjectName(QStringLiteral("imgPreview"));
    imgPreview->setGeometry(kListWidth, kHeadingHeight, kPreviewWidth, kAreaHeight);

    btnProjektOeffnen = makeButton(this, "btnProjektOeffnen", QStringLiteral("Projekt öffnen..."), kMargin);
    btnProjektOeffnen->setFixedWidth(kOpenButtonWidth);
    btnAbbrechen =
        makeButton(this, "btnAbbrechen", QStringLiteral("Abbrechen"), kWidth - kMargin - kButtonWidth);
    btnWeiter = makeButton(this, "btnWeiter", W("Weiter") + QStringLiteral(" >>"),
                           btnAbbrechen->x() - kButtonGap - kButtonWidth);
    btnZurueck = makeButton(this, "btnZurueck", QStringLiteral("<< Zurück"),
                            btnWeiter->x() - kButtonGap - kButtonWidth);
    btnWeiter->setDefault(true);
    LocalizerForms::KeepUntranslated(btnWeiter); // "Weiter >>" or "OK", set with the step

    connect(btnProjektOeffnen, &QPushButton::clicked, this, [this] { done(ResultOpenProject); });
    connect(btnAbbrechen, &QPushButton::clicked, this, [this] { done(ResultCancelled); });
    connect(btnWeiter, &QPushButton::clicked, this, [this] { forward(); });
    connect(btnZurueck, &QPushButton::clicked, this, [this] { back(); });

    // Tab order as the controls stand: list, then the buttons from left to right.
    setTabOrder(lbSteps, btnProjektOeffnen);
    setTabOrder(btnProjektOeffnen, btnZurueck);
    setTabOrder(btnZurueck, btnWeiter);
    setTabOrder(btnWeiter, btnAbbrechen);
    lbSteps->setFocus();
}

int TDateiNeuDlg::Execute(TFBDocument& document) {
    document_ = &document;
    created_ = false;
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->geometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }
    lbSteps->setFocus();
    const int result = exec();
    document_ = nullptr;
    return result == ResultCreated || result == ResultOpenProject ? result : ResultCancelled;
}

void TDateiNeuDlg::ShowStep(TWizzardStep* step, TWizzardStep* select) {
    if (!step || !step->HasChildren())
        return;
    shown_ = step;
    panHeading->setText(step->Heading);
    setAccessibleDescription(step->Heading);
    int row = select ? step->IndexOfChild(select) : 0;
    if (row < 0)
        row = 0;
    {
        // The list's own row changes while it is refilled are not the user's choices.
        const QSignalBlocker blocker(lbSteps);
        lbSteps->clear();
        for (int i = 0; i < step->ChildCount(); ++i) {
            auto* item = new QListWidgetItem(step->Child(i)->Caption, lbSteps);
            item->setData(Qt::AccessibleTextRole, step->Child(i)->Caption);
        }
        lbSteps->setCurrentRow(row);
    }
    btnZurueck->setEnabled(step->Parent != nullptr);
    // The keys go on choosing in the new list, whichever button opened it.
    lbSteps->setFocus();
    SelectStep(step->Child(row));
}

void TDateiNeuDlg::SelectStep(TWizzardStep* step) {
    if (!step || !shown_)
        return;
    const int row = shown_->IndexOfChild(step);
    if (row < 0)
        return;
    selected_ = step;
    if (lbSteps->currentRow() != row) {
        const QSignalBlocker blocker(lbSteps);
        lbSteps->setCurrentRow(row);
    }
    imgPreview->ShowPicture(step->Picture);
    imgPreview->setAccessibleName(step->Caption);
    AfterTranslate();
}

void TDateiNeuDlg::AfterTranslate() {
    const bool last = selected_ && !selected_->HasChildren();
    btnWeiter->setText(last ? W("OK") : W("Weiter") + QStringLiteral(" >>"));
    // The open button stands alone at the left: a longer caption widens it to the right.
    btnProjektOeffnen->setFixedWidth(std::max(kOpenButtonWidth, btnProjektOeffnen->sizeHint().width()));
}

void TDateiNeuDlg::currentRowChanged(int row) {
    if (shown_)
        SelectStep(shown_->Child(row));
}

void TDateiNeuDlg::forward() {
    if (created_ || !selected_)
        return;
    if (selected_->HasChildren()) {
        ShowStep(selected_);
        return;
    }
    if (!document_)
        return;
    const int code = selected_->ProductCode;
    const int year = selected_->Year.toInt();
    if (!CreateProductDocument(*document_, code, year)) {
        Debug().TraceFmt("Produkt %d ist nicht im Katalog", code);
        return;
    }
    created_ = true;
    done(ResultCreated);
}

void TDateiNeuDlg::back() {
    if (!shown_ || !shown_->Parent)
        return;
    TWizzardStep* previous = shown_;
    ShowStep(previous->Parent, previous);
}

void TDateiNeuDlg::updateHeadingColours() {
    // The heading is the window colour on the button shadow. Dark palettes make those two nearly
    // alike; there the palette's text colour takes the window colour's place, so it stays legible.
    const QColor band = palette().color(QPalette::Dark);
    QColor text = palette().color(QPalette::Base);
    if (std::abs(text.lightnessF() - band.lightnessF()) < kMinHeadingContrast)
        text = palette().color(QPalette::Text);
    QPalette heading = panHeading->palette();
    heading.setColor(QPalette::Window, band);
    heading.setColor(QPalette::WindowText, text);
    panHeading->setPalette(heading);
}

void TDateiNeuDlg::changeEvent(QEvent* event) {
    TLocalizerDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && panHeading)
        updateHeadingColours();
}

void TDateiNeuDlg::reject() {
    // Escape and the window's close button cancel, as "Abbrechen" does.
    done(ResultCancelled);
}

bool TDateiNeuDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbSteps && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Backspace) {
        back();
        return true;
    }
    return TLocalizerDialog::eventFilter(watched, event);
}
