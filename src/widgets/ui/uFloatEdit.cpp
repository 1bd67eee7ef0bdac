#include "widgets/ui/uFloatEdit.h"

#include <QEvent>
#include <QValidator>

#include <algorithm>

// Letters and a second separator never get in; a number outside the bounds may stand while the
// user is still typing it.
class TFloatValidator : public QValidator {
public:
    explicit TFloatValidator(TFloatEdit& edit) : QValidator(&edit), edit_(edit) {}

    State validate(QString& text, int&) const override {
        const QChar separator = edit_.Separator();
        if (!IsFloatTextPrefix(text, separator))
            return Invalid;
        return AcceptFloatText(text, separator, edit_.Range()) ? Acceptable : Intermediate;
    }

private:
    const TFloatEdit& edit_;
};

TFloatEdit::TFloatEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new TFloatValidator(*this));
    connect(this, &QLineEdit::editingFinished, this, &TFloatEdit::Commit);
    ShowValue();
}

void TFloatEdit::SetRange(double min, double max) {
    range_ = {std::min(min, max), std::max(min, max)};
    SetValue(value_);
}

void TFloatEdit::SetValue(double value) {
    value_ = std::clamp(value, range_.Min, range_.Max);
    ShowValue();
}

bool TFloatEdit::HasAcceptableText() const {
    return AcceptFloatText(text(), Separator(), range_).has_value();
}

void TFloatEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ShowValue();
}

void TFloatEdit::focusOutEvent(QFocusEvent* event) {
    // A number outside the bounds never becomes the value; the field shows the last valid one.
    if (!HasAcceptableText() && !keepsInvalidText_)
        ShowValue();
    QLineEdit::focusOutEvent(event);
}

QChar TFloatEdit::Separator() const {
    const QString point = LanguageLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

void TFloatEdit::Commit() {
    const auto typed = AcceptFloatText(text(), Separator(), range_);
    if (!typed) {
        if (!keepsInvalidText_)
            ShowValue();
        return;
    }
    const bool changed = *typed != value_;
    value_ = *typed;
    ShowValue();
    if (changed)
        emit ValueChanged(value_);
}

void TFloatEdit::ShowValue() {
    setText(FormatFloatText(value_, Separator()));
}
