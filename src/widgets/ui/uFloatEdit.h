#pragma once

#include "widgets/uFloatText.h"

#include <QLineEdit>

// A number field with bounds: it takes what the user types with the language's decimal separator
// (or a point), shows its value with up to 15 significant digits and keeps the last valid value
// when the text left behind is no number or lies outside the bounds.
class TFloatEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TFloatEdit(QWidget* parent = nullptr);

    void SetRange(double min, double max);
    TFloatRange Range() const { return range_; }

    double Value() const { return value_; }
    // Shows value, clamped into the bounds; reports no change.
    void SetValue(double value);

    // Whether the text standing in the field right now is a number inside the bounds.
    bool HasAcceptableText() const;

    // A field of a dialog that applies its fields on a button keeps the text the user left
    // behind, so that applying can name what is no number; by default the field goes back to its
    // last valid value.
    void SetKeepsInvalidText(bool keeps) { keepsInvalidText_ = keeps; }

signals:
    // The user finished typing a valid value that differs from the previous one.
    void ValueChanged(double value);

protected:
    void changeEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class TFloatValidator;
    QChar Separator() const;
    void Commit();
    void ShowValue();

    TFloatRange range_{0.0, 100.0};
    double value_ = 0.0;
    bool keepsInvalidText_ = false;
};
