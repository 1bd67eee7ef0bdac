#include "filters/ui/FDlgFilter.h"

#include "filters/ui/uFilterPic.h"
#include "filters/ui/uFilterSlider.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kMargin = 8;
constexpr int kPanelWidth = 300;
constexpr int kPanelHeight = 225;
constexpr int kSliderLeft = 90;
constexpr int kSliderTop = 250;
constexpr int kSliderRow = 30;
constexpr int kSliderWidth = 400;
constexpr int kButtonWidth = 100;
constexpr int kDialogWidth = 2 * kPanelWidth + 3 * kMargin;
// The filters' delay between the last slider change and the preview update.
constexpr int kPreviewDelayMs = 40;

class TWaitCursor {
public:
    explicit TWaitCursor(bool show) : shown_(show) {
        if (shown_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TWaitCursor() {
        if (shown_)
            QApplication::restoreOverrideCursor();
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    bool shown_;
};

} // namespace

TDlgFilterBase::TDlgFilterBase(const QString& name, QWidget* parent) : TLocalizerDialog(parent) {
    setObjectName(name);
    setWindowTitle(QStringLiteral("Bildnachbearbeitung"));
    const auto panel = [this](const QString& panelName, const QString& picName, int x, TFilterPic*& pic) {
        auto* frame = new QFrame(this);
        frame->setObjectName(panelName);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setGeometry(x, kMargin, kPanelWidth, kPanelHeight);
        pic = new TFilterPic(frame);
        pic->setObjectName(picName);
        pic->setGeometry(frame->contentsRect());
        return frame;
    };
    panAlt_ = panel(QStringLiteral("panAlt"), QStringLiteral("FilterPicAlt"), kMargin, picAlt_);
    panNeu_ =
        panel(QStringLiteral("panNeu"), QStringLiteral("FilterPicNeu"), 2 * kMargin + kPanelWidth, picNeu_);

    btnReset_ = new QPushButton(QStringLiteral("Zurücksetzen"), this);
    btnReset_->setObjectName(QStringLiteral("BtnZuruecksetzen"));
    btnOk_ = new QPushButton(QStringLiteral("OK"), this);
    btnOk_->setObjectName(QStringLiteral("BtnOK"));
    btnOk_->setDefault(true);
    btnCancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnCancel_->setObjectName(QStringLiteral("BtnAbbrechen"));
    connect(btnReset_, &QPushButton::clicked, this, &TDlgFilterBase::Reset);
    connect(btnOk_, &QPushButton::clicked, this, &TDlgFilterBase::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &TDlgFilterBase::reject);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);
}

void TDlgFilterBase::AddSlider(const QString& name, const QString& label, TSliderMode mode, float start) {
    const int top = RowTop(int(sliders_.size()));
    auto* slider = new TFilterSlider(this);
    slider->setObjectName(name);
    slider->SetSliderMode(mode);
    slider->SetPosition(start);
    slider->SetChangeDelay(kPreviewDelayMs);
    slider->move(kSliderLeft, top);
    slider->resize(kSliderWidth, slider->height());
    slider->setToolTip(label);
    auto* caption = new QLabel(label, this);
    caption->setObjectName(QStringLiteral("lbl") + name.mid(6)); // "slider" + the parameter's name
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->setGeometry(kMargin, top, kSliderLeft - kMargin - 6, slider->height());
    caption->setBuddy(slider);
    connect(slider, &TFilterSlider::Changed, this, &TDlgFilterBase::UpdatePreview);
    sliders_.push_back({slider, caption, start});
}

int TDlgFilterBase::RowTop(int row) const {
    return kSliderTop + row * kSliderRow;
}

void TDlgFilterBase::FinishLayout() {
    const int x = kDialogWidth - kMargin - kButtonWidth;
    const int rows = std::max(3, int(sliders_.size()));
    int y = kSliderTop;
    for (QPushButton* button : {btnReset_, btnOk_, btnCancel_}) {
        button->setGeometry(x, y, kButtonWidth, 26);
        y += kSliderRow;
    }
    const int height = RowTop(rows) + kMargin;
    progress_->setGeometry(0, height - 6, kDialogWidth, 6);
    setFixedSize(kDialogWidth, height);
    Localize();
}

void TDlgFilterBase::AfterTranslate() {
    for (const auto& row : sliders_) {
        row.Slider->setAccessibleName(row.Label->text());
        row.Slider->NumberField()->setAccessibleName(row.Label->text());
    }
}

float TDlgFilterBase::SliderPosition(int index) const {
    return sliders_[size_t(index)].Slider->Position();
}

void TDlgFilterBase::SetPicture(const QImage& bitmap, int angle) {
    picture_ = bitmap;
    picAlt_->LoadFitted(bitmap, angle);
    picNeu_->SetBitmap(picAlt_->GetFittedCopy());
    UpdatePreview();
}

void TDlgFilterBase::UpdatePreview() {
    QImage copy = picAlt_->GetFittedCopy();
    if (copy.isNull())
        return;
    try {
        Filter(copy, {});
    } catch (const Exception&) {
        // The sliders cannot leave the filters' ranges; should they, the preview stays as it was.
        return;
    }
    picNeu_->SetBitmap(copy);
    picNeu_->repaint();
}

void TDlgFilterBase::Reset() {
    for (const TSliderRow& row : sliders_)
        row.Slider->SetPosition(row.Start);
    UpdatePreview();
}

void TDlgFilterBase::showProgress(int percent) {
    if (percent == shownPercent_)
        return;
    shownPercent_ = percent;
    progress_->setValue(percent);
    progress_->repaint();
}

void TDlgFilterBase::accept() {
    if (!picture_.isNull()) {
        TWaitCursor wait(ShowsWaitCursor());
        try {
            Filter(picture_, [this](int percent) { showProgress(percent); });
        } catch (const Exception& e) {
            QMessageBox::warning(this, windowTitle(), e.message()); // translated where it was raised
            return;
        }
    }
    QDialog::accept();
}

TDlgFilterHKIG::TDlgFilterHKIG(QWidget* parent) : TDlgFilterBase(QStringLiteral("DlgFilterHKIG"), parent) {
    AddSlider(QStringLiteral("sliderHelligkeit"), QStringLiteral("Helligkeit"), TSliderMode::Linear, 0);
    AddSlider(QStringLiteral("sliderKontrast"), QStringLiteral("Kontrast"), TSliderMode::Linear, 0);
    AddSlider(QStringLiteral("sliderIntensitaet"), QStringLiteral("Intensität"), TSliderMode::Linear, 0);
    AddSlider(QStringLiteral("sliderGamma"), QStringLiteral("Gamma"), TSliderMode::Expo, 1);
    FinishLayout();
}

FilterDialogMath::THKIGParameters TDlgFilterHKIG::Parameters() const {
    return FilterDialogMath::HKIGFromSliders(SliderPosition(0), SliderPosition(1), SliderPosition(2),
                                             SliderPosition(3));
}

void TDlgFilterHKIG::Filter(QImage& bitmap, const TFilterProgress& progress) const {
    const auto p = Parameters();
    FilterHKIG(bitmap, p.Helligkeit, p.Kontrast, p.Intensitaet, p.Gamma, progress);
}

TDlgFilterHSL::TDlgFilterHSL(QWidget* parent) : TDlgFilterBase(QStringLiteral("DlgFilterHSL"), parent) {
    AddSlider(QStringLiteral("sliderFarbton"), QStringLiteral("Farbton"), TSliderMode::Linear, 0);
    AddSlider(QStringLiteral("sliderSaettigung"), QStringLiteral("Sättigung"), TSliderMode::Linear, 0);
    AddSlider(QStringLiteral("sliderHelligkeit"), QStringLiteral("Helligkeit"), TSliderMode::Linear, 0);
    FinishLayout();
}

FilterDialogMath::THSLParameters TDlgFilterHSL::Parameters() const {
    return FilterDialogMath::HSLFromSliders(SliderPosition(0), SliderPosition(1), SliderPosition(2));
}

void TDlgFilterHSL::Filter(QImage& bitmap, const TFilterProgress& progress) const {
    const auto p = Parameters();
    FilterHSL(bitmap, p.Hue, p.Saturation, p.Lightness, progress);
}

TDlgFilterSWCol::TDlgFilterSWCol(QWidget* parent) : TDlgFilterBase(QStringLiteral("DlgFilterSWCol"), parent) {
    AddSlider(QStringLiteral("sliderFarbton"), QStringLiteral("Farbton"), TSliderMode::Linear,
              FilterDialogMath::kSWColHueDefault);
    AddSlider(QStringLiteral("sliderSaettigung"), QStringLiteral("Sättigung"), TSliderMode::Linear,
              FilterDialogMath::kSWColSaturationDefault);
    auto* blackAndWhite = new QPushButton(QStringLiteral("Schwarz/Weiß"), this);
    blackAndWhite->setObjectName(QStringLiteral("BtnSchwarzWeiss"));
    blackAndWhite->setGeometry(kSliderLeft, RowTop(2), 140, 26);
    connect(blackAndWhite, &QPushButton::clicked, this, [this] {
        Slider(1)->SetPosition(FilterDialogMath::kSWColBlackAndWhite);
        UpdatePreview();
    });
    FinishLayout();
}

FilterDialogMath::TSWColParameters TDlgFilterSWCol::Parameters() const {
    return FilterDialogMath::SWColFromSliders(SliderPosition(0), SliderPosition(1));
}

void TDlgFilterSWCol::Filter(QImage& bitmap, const TFilterProgress& progress) const {
    const auto p = Parameters();
    FilterSWCol(bitmap, p.Hue, p.Saturation, progress);
}
