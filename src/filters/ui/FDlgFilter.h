#pragma once

#include "filters/uFilterSliderModel.h"
#include "filters/uPictureFilter.h"

#include "i18n/ui/uLocalizerForm.h"
#include <QImage>

#include <vector>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class TFilterPic;
class TFilterSlider;

// The common form of the three colour filter dialogs: the picture before filtering on the left,
// the preview of the result on the right, the sliders below, "Zurücksetzen", "OK", "Abbrechen" and
// a thin progress bar. Moving a slider filters a copy at the preview's size; OK filters the
// full-size picture, which is never turned (only the previews show the page's angle).
class TDlgFilterBase : public TLocalizerDialog {
    Q_OBJECT
public:
    // Keeps the picture to be filtered on OK; the previews show it turned by the angle.
    void SetPicture(const QImage& bitmap, int angle);
    // The filtered full-size picture after OK.
    const QImage& Picture() const { return picture_; }

    TFilterPic* PicAlt() const { return picAlt_; }
    TFilterPic* PicNeu() const { return picNeu_; }
    TFilterSlider* Slider(int index) const { return sliders_[size_t(index)].Slider; }
    int SliderCount() const { return int(sliders_.size()); }
    QProgressBar* ProgressBar() const { return progress_; }

    // Filters a fresh copy of the left picture into the right one.
    void UpdatePreview();
    // Every slider back to its starting position, and the preview with it.
    void Reset();
    void accept() override;

protected:
    TDlgFilterBase(const QString& name, QWidget* parent);
    void AddSlider(const QString& name, const QString& label, TSliderMode mode, float start);
    // Places buttons and progress bar below the sliders; called once all sliders are added.
    // Places the buttons below the sliders and translates the dialog: the last step of every
    // filter dialog's constructor.
    void FinishLayout();
    // The sliders are named for screen readers by their translated captions.
    void AfterTranslate() override;
    float SliderPosition(int index) const;
    // The next free row below the sliders, for a dialog's own controls.
    int RowTop(int row) const;

    virtual void Filter(QImage& bitmap, const TFilterProgress& progress) const = 0;
    // The slower filters show the wait cursor while the full-size picture is filtered.
    virtual bool ShowsWaitCursor() const { return false; }

private:
    struct TSliderRow {
        TFilterSlider* Slider;
        QLabel* Label;
        float Start;
    };
    void showProgress(int percent);

    QFrame* panAlt_ = nullptr;
    QFrame* panNeu_ = nullptr;
    TFilterPic* picAlt_ = nullptr;
    TFilterPic* picNeu_ = nullptr;
    std::vector<TSliderRow> sliders_;
    QPushButton* btnReset_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QImage picture_;
    int shownPercent_ = -1;
};

// Lightness, contrast, intensity and gamma.
class TDlgFilterHKIG : public TDlgFilterBase {
    Q_OBJECT
public:
    explicit TDlgFilterHKIG(QWidget* parent = nullptr);
    FilterDialogMath::THKIGParameters Parameters() const;

protected:
    void Filter(QImage& bitmap, const TFilterProgress& progress) const override;
};

// Shifts of hue, saturation and lightness.
class TDlgFilterHSL : public TDlgFilterBase {
    Q_OBJECT
public:
    explicit TDlgFilterHSL(QWidget* parent = nullptr);
    FilterDialogMath::THSLParameters Parameters() const;

protected:
    void Filter(QImage& bitmap, const TFilterProgress& progress) const override;
    bool ShowsWaitCursor() const override { return true; }
};

// Black and white, or colouring in one tone.
class TDlgFilterSWCol : public TDlgFilterBase {
    Q_OBJECT
public:
    explicit TDlgFilterSWCol(QWidget* parent = nullptr);
    FilterDialogMath::TSWColParameters Parameters() const;

protected:
    void Filter(QImage& bitmap, const TFilterProgress& progress) const override;
    bool ShowsWaitCursor() const override { return true; }
};
