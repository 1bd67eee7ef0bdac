#include "filters/ui/uFilterSlider.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// The widest text the number field shows.
const QString kWidestText = QStringLiteral("10,00");

} // namespace

TFilterSlider::TFilterSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("NumberField"));
    field_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field_->installEventFilter(this);
    connect(field_, &QLineEdit::textEdited, this, &TFilterSlider::fieldEdited);
    connect(field_, &QLineEdit::editingFinished, this, &TFilterSlider::fieldFinished);
    delay_.setSingleShot(true);
    connect(&delay_, &QTimer::timeout, this, &TFilterSlider::Changed);
    setFixedHeight(fontMetrics().height() + 10);
    resize(300, height());
    writeField();
}

// The number field outlives this part of the object while QWidget deletes its children; losing the
// focus then must not reach the slider's slots or its event filter.
TFilterSlider::~TFilterSlider() {
    field_->removeEventFilter(this);
    disconnect(field_, nullptr, this, nullptr);
}

QSize TFilterSlider::sizeHint() const {
    return {300, fontMetrics().height() + 10};
}

void TFilterSlider::SetPosition(float value) {
    setPosition(value, false);
}

void TFilterSlider::SetSliderMode(TSliderMode mode) {
    if (mode == mode_)
        return;
    mode_ = mode;
    position_ = FilterSlider::Clamp(mode_, position_);
    writeField();
    update();
}

void TFilterSlider::SetChangeDelay(int milliseconds) {
    changeDelay_ = std::max(0, milliseconds);
}

int TFilterSlider::TrackLeft() const {
    return 6;
}

int TFilterSlider::TrackWidth() const {
    return std::max(1, field_->x() - 12 - TrackLeft());
}

void TFilterSlider::setPosition(float value, bool keepFieldText) {
    const float clamped = FilterSlider::Clamp(mode_, value);
    const bool changed = clamped != position_;
    position_ = clamped;
    if (!keepFieldText)
        writeField();
    if (!changed)
        return;
    update();
    signalChange();
}

void TFilterSlider::signalChange() {
    if (changeDelay_ == 0) {
        emit Changed();
        return;
    }
    // Throttled rather than postponed: a running timer already carries this change.
    if (!delay_.isActive())
        delay_.start(changeDelay_);
}

void TFilterSlider::writeField() {
    field_->setText(FilterSlider::Text(mode_, position_, locale()));
}

void TFilterSlider::fieldEdited(const QString& text) {
    const std::optional<float> typed = FilterSlider::ParseTyped(text, locale());
    if (!typed)
        return;
    const float clamped = FilterSlider::Clamp(mode_, *typed);
    setPosition(clamped, !FilterSlider::NeedsRewrite(*typed, clamped));
}

void TFilterSlider::fieldFinished() {
    // Text that is no number (a lone minus sign) gives way to the position.
    if (!FilterSlider::ParseTyped(field_->text(), locale()))
        writeField();
}

bool TFilterSlider::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            fieldFinished();
            setFocus(Qt::OtherFocusReason);
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint()) {
            const QChar c = text.at(0);
            const bool allowed = c.isDigit() || c == QLatin1Char('-') || text == locale().decimalPoint();
            if (!allowed)
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFilterSlider::layoutField() {
    const int t = fontMetrics().horizontalAdvance(kWidestText);
    field_->setGeometry(width() - t - 12, 2, t + 10, std::max(1, height() - 4));
}

void TFilterSlider::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutField();
}

void TFilterSlider::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // The height follows the font: a line of text and a margin.
        setFixedHeight(fontMetrics().height() + 10);
        layoutField();
    } else if (event->type() == QEvent::LocaleChange) {
        writeField();
    }
}

void TFilterSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const int x = event->position().toPoint().x();
    const int thumb = FilterSlider::ThumbLeft(mode_, position_, TrackLeft(), TrackWidth());
    const bool onThumb = x >= thumb && x < thumb + FilterSlider::kThumbWidth;
    if (!onThumb && x >= TrackLeft() && x <= TrackLeft() + TrackWidth())
        SetPosition(FilterSlider::PositionAt(mode_, x, TrackLeft(), TrackWidth()));
    dragging_ = onThumb || (x >= TrackLeft() && x <= TrackLeft() + TrackWidth());
}

void TFilterSlider::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        SetPosition(
            FilterSlider::PositionAt(mode_, event->position().toPoint().x(), TrackLeft(), TrackWidth()));
}

void TFilterSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
}

void TFilterSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Home:
        SetPosition(FilterSlider::Minimum(mode_));
        break;
    case Qt::Key_End:
        SetPosition(FilterSlider::Maximum(mode_));
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        SetPosition(position_ - FilterSlider::SmallStep(mode_));
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        SetPosition(position_ + FilterSlider::SmallStep(mode_));
        break;
    case Qt::Key_PageUp:
        SetPosition(position_ - FilterSlider::BigStep(mode_));
        break;
    case Qt::Key_PageDown:
        SetPosition(position_ + FilterSlider::BigStep(mode_));
        break;
    case Qt::Key_R:
        SetPosition(FilterSlider::Neutral(mode_));
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TFilterSlider::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TFilterSlider::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TFilterSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.window());

    const int left = TrackLeft();
    const int length = TrackWidth();
    const int top = 4;
    const int bottom = height() - 3;
    const int grooveTop = top + (bottom - top) / 2 - 6;
    const QRect groove(left, grooveTop, length, 4);
    // A sunken groove: dark upper-left edge, light lower-right edge.
    painter.fillRect(groove, pal.base());
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawLine(groove.topLeft(), groove.topRight());
    painter.drawLine(groove.topLeft(), groove.bottomLeft());
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(groove.bottomLeft(), groove.bottomRight());
    painter.drawLine(groove.topRight(), groove.bottomRight());

    const int thumb = FilterSlider::ThumbLeft(mode_, position_, left, length);
    const int thumbMiddle = thumb + FilterSlider::kThumbWidth / 2;
    const int zero = mode_ == TSliderMode::Expo ? FilterSlider::ThumbLeft(mode_, 1.0f, left, length) + 3
                                                : FilterSlider::ThumbLeft(mode_, 0.0f, left, length) + 3;
    painter.fillRect(QRect(QPoint(std::min(zero, thumbMiddle), grooveTop + 1),
                           QPoint(std::max(zero, thumbMiddle), grooveTop + 2)),
                     pal.highlight());

    painter.setPen(pal.color(QPalette::WindowText));
    const int tickTop = grooveTop + 7;
    const int fullTick = std::max(2, bottom - tickTop);
    for (const FilterSlider::TTick& tick : FilterSlider::Ticks(mode_, left, length))
        painter.drawLine(tick.X, tickTop, tick.X, tickTop + (tick.Full ? fullTick : fullTick / 2));

    // A raised thumb filled with the highlight colour.
    const QRect knob(thumb, top, FilterSlider::kThumbWidth, grooveTop + 8 - top);
    painter.fillRect(knob, pal.highlight());
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(knob.topLeft(), knob.topRight());
    painter.drawLine(knob.topLeft(), knob.bottomLeft());
    painter.setPen(pal.color(QPalette::Shadow));
    painter.drawLine(knob.bottomLeft(), knob.bottomRight());
    painter.drawLine(knob.topRight(), knob.bottomRight());

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = QRect(1, 1, field_->x() - 4, height() - 2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
