#include "widgets/ui/uFontSizeComboBox.h"

#include "widgets/uFontSizeText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace {

// Anything but digits never reaches the box.
class TFontSizeValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& text, int&) const override {
        if (!IsFontSizeTyping(text))
            return Invalid;
        return AcceptFontSizeText(text) ? Acceptable : Intermediate;
    }
};

} // namespace

TFontSizeComboBox::TFontSizeComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    for (const int size : kFontSizes)
        addItem(QString::number(size), size);
    lineEdit()->setValidator(new TFontSizeValidator(this));
    ShowSize();
    connect(this, &QComboBox::textActivated, this, &TFontSizeComboBox::TakeText);
    // Enter is watched on the line itself: it reports no returnPressed for a refused size.
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] { TakeText(lineEdit()->text()); });
}

void TFontSizeComboBox::SetSize(int size) {
    if (AcceptFontSizeText(QString::number(size)))
        size_ = size;
    ShowSize();
}

bool TFontSizeComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            TakeText(lineEdit()->text());
            emit Confirmed();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TFontSizeComboBox::TakeText(const QString& text) {
    const auto size = AcceptFontSizeText(text);
    if (!size) {
        ShowSize();
        return;
    }
    const bool changed = *size != size_;
    size_ = *size;
    ShowSize();
    if (changed)
        emit SizeChosen(size_);
}

void TFontSizeComboBox::ShowSize() {
    const QSignalBlocker blocker(this);
    const int index = findData(size_);
    setCurrentIndex(index);
    setEditText(QString::number(size_));
}
