#include "filters/ui/FDlgRoteAugen.h"

#include "i18n/ulocalize.h"

#include <QButtonGroup>
#include <QCursor>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

// The picture at the dialog's zoom: paints only what is visible, pixel blocks sharp.
class TRedEyePaintBox : public QWidget {
public:
    explicit TRedEyePaintBox(TDlgRoteAugen* dialog) : QWidget(nullptr), dialog_(dialog) {
        setObjectName(QStringLiteral("PaintBox1"));
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        dialog_->paint(painter, event->rect());
    }
    void mousePressEvent(QMouseEvent* event) override { dialog_->mouseDown(event); }
    void mouseMoveEvent(QMouseEvent* event) override { dialog_->mouseMove(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { dialog_->mouseUp(event); }

private:
    TDlgRoteAugen* dialog_;
};

namespace {

constexpr int kOutlineCheckMs = 250;

// A tool button's icon: a dot of the brush's size, or a hand-like cross for moving.
QIcon dotIcon(int diameter) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(12 - diameter / 2.0, 12 - diameter / 2.0, diameter, diameter));
    return QIcon(pixmap);
}

QIcon moveIcon() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(12, 3, 12, 21);
    painter.drawLine(3, 12, 21, 12);
    for (const QPoint& tip : {QPoint(12, 3), QPoint(12, 21), QPoint(3, 12), QPoint(21, 12)}) {
        const QPoint toward = (QPoint(12, 12) - tip) / 3;
        const QPoint across(toward.y(), -toward.x());
        painter.drawLine(tip, tip + toward + across);
        painter.drawLine(tip, tip + toward - across);
    }
    return QIcon(pixmap);
}

QIcon redEyeIcon() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(2, 6, 20, 12));
    painter.setBrush(QColor(200, 20, 20));
    painter.drawEllipse(QRectF(7, 7, 10, 10));
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRectF(10, 10, 4, 4));
    return QIcon(pixmap);
}

QToolButton* toolButton(QWidget* parent, const QString& name, const QIcon& icon, const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setToolTip(tip); // also its accessible name, once translated
    return button;
}

} // namespace

TDlgRoteAugen::TDlgRoteAugen(QWidget* parent) : TLocalizerDialog(parent) {
    setObjectName(QStringLiteral("DlgRoteAugen"));
    setWindowTitle(QStringLiteral("Bildnachbearbeitung"));
    resize(800, 600);

    btnDrag_ = toolButton(this, QStringLiteral("BtnDrag"), moveIcon(),
                          QStringLiteral("Bild verschieben und zoomen"));
    btnRedEye_ =
        toolButton(this, QStringLiteral("BtnRedEye"), redEyeIcon(), QStringLiteral("Rote Augen übermalen"));
    auto* modes = new QButtonGroup(this);
    modes->addButton(btnDrag_, int(TMode::Move));
    modes->addButton(btnRedEye_, int(TMode::Brush));
    btnDrag_->setChecked(true);
    connect(modes, &QButtonGroup::idClicked, this, [this](int id) { SetMode(TMode(id)); });

    auto* sizes = new QButtonGroup(this);
    const struct {
        const char* name;
        int tag;
        const char* tip;
    } brushes[] = {{"BtnPinsel1", 3, "Kleiner Pinsel"},
                   {"BtnPinsel3", 5, "Mittlerer Pinsel"},
                   {"BtnPinsel5", 9, "Großer Pinsel"}};
    auto* tools = new QHBoxLayout;
    tools->addWidget(btnDrag_);
    tools->addWidget(btnRedEye_);
    tools->addSpacing(16);
    for (const auto& b : brushes) {
        QToolButton* button = toolButton(this, QString::fromLatin1(b.name), dotIcon(b.tag * 3 / 2 + 1),
                                         QString::fromUtf8(b.tip));
        sizes->addButton(button, b.tag);
        button->setChecked(b.tag == 5);
        tools->addWidget(button);
    }
    tools->addStretch();
    connect(sizes, &QButtonGroup::idClicked, this, &TDlgRoteAugen::SetBrushSize);
    brush_.MakeRound();

    scrollBox_ = new QScrollArea(this);
    scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox_->setWidgetResizable(false);
    scrollBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    paintBox_ = new TRedEyePaintBox(this);
    scrollBox_->setWidget(paintBox_);
    scrollBox_->viewport()->installEventFilter(this);
    // The visible part is painted anew after every scroll, so the outline is never copied along.
    connect(scrollBox_->horizontalScrollBar(), &QScrollBar::valueChanged, paintBox_,
            qOverload<>(&QWidget::update));
    connect(scrollBox_->verticalScrollBar(), &QScrollBar::valueChanged, paintBox_,
            qOverload<>(&QWidget::update));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BtnOK"));
    QPushButton* cancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BtnAbbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(scrollBox_, 1);
    layout->addWidget(buttons);

    outlineTimer_.setObjectName(QStringLiteral("Timer1"));
    outlineTimer_.setInterval(kOutlineCheckMs);
    connect(&outlineTimer_, &QTimer::timeout, this, &TDlgRoteAugen::checkOutline);
    outlineTimer_.start();
    Localize();
}

QWidget* TDlgRoteAugen::PaintBox() const {
    return paintBox_;
}

void TDlgRoteAugen::SetPicture(const QImage& bitmap) {
    picture_ = bitmap.copy();
    sizePaintBox();
}

void TDlgRoteAugen::SetMode(TMode mode) {
    mode_ = mode;
    (mode == TMode::Move ? btnDrag_ : btnRedEye_)->setChecked(true);
    // In brush mode the outline takes the cursor's place.
    paintBox_->setCursor(mode == TMode::Brush ? Qt::BlankCursor : Qt::ArrowCursor);
    if (mode == TMode::Move)
        moveOutline(std::nullopt);
}

void TDlgRoteAugen::SetBrushSize(int size) {
    brushSize_ = size;
    brush_.SetSize(size, size);
    brush_.MakeRound();
    if (outline_)
        moveOutline(outline_);
}

QPoint TDlgRoteAugen::ScrollPosition() const {
    return {scrollBox_->horizontalScrollBar()->value(), scrollBox_->verticalScrollBar()->value()};
}

std::optional<QPoint> TDlgRoteAugen::OutlinePosition() const {
    return outline_;
}

void TDlgRoteAugen::sizePaintBox() {
    paintBox_->resize(RedEye::PaintBoxSize(picture_.size(), zoom_).expandedTo(QSize(1, 1)));
}

void TDlgRoteAugen::SetZoom(float zoom) {
    zoom_ = RedEye::ClampZoom(zoom, picture_.size());
    sizePaintBox();
    paintBox_->update();
}

void TDlgRoteAugen::ZoomAround(QPoint client, bool zoomIn) {
    const QPoint point = RedEye::PictureUnder(client, ScrollPosition(), zoom_);
    zoom_ = RedEye::ZoomStep(zoom_, zoomIn, picture_.size());
    sizePaintBox();
    const QPoint scroll = RedEye::CentringScroll(point, zoom_, scrollBox_->viewport()->size());
    scrollBox_->horizontalScrollBar()->setValue(scroll.x());
    scrollBox_->verticalScrollBar()->setValue(scroll.y());
    paintBox_->update();
}

void TDlgRoteAugen::retouchAt(QPoint position) {
    const QPoint centre = RedEye::PaintBoxToPicture(position, zoom_);
    RedEye::Retouch(picture_, brush_, centre.x(), centre.y());
    paintBox_->update(RedEye::BrushOutline(position, zoom_, brushSize_).adjusted(-2, -2, 2, 2));
}

void TDlgRoteAugen::moveOutline(std::optional<QPoint> position) {
    if (outline_)
        paintBox_->update(RedEye::BrushOutline(*outline_, zoom_, brushSize_).adjusted(-2, -2, 2, 2));
    outline_ = position;
    if (outline_)
        paintBox_->update(RedEye::BrushOutline(*outline_, zoom_, brushSize_).adjusted(-2, -2, 2, 2));
}

void TDlgRoteAugen::checkOutline() {
    if (!outline_)
        return;
    const QPoint cursor = scrollBox_->viewport()->mapFromGlobal(QCursor::pos());
    if (!scrollBox_->viewport()->rect().contains(cursor))
        moveOutline(std::nullopt);
}

void TDlgRoteAugen::mouseDown(QMouseEvent* event) {
    downPaintBox_ = event->position().toPoint();
    downClient_ = paintBox_->mapTo(scrollBox_->viewport(), downPaintBox_);
    downScroll_ = ScrollPosition();
    if (mode_ == TMode::Brush && event->button() == Qt::LeftButton)
        retouchAt(downPaintBox_);
}

void TDlgRoteAugen::mouseMove(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (mode_ == TMode::Move) {
        if (event->buttons() & Qt::LeftButton) {
            // The picture follows the mouse.
            const QPoint client = paintBox_->mapTo(scrollBox_->viewport(), position);
            const QPoint scroll = downScroll_ + downClient_ - client;
            scrollBox_->horizontalScrollBar()->setValue(scroll.x());
            scrollBox_->verticalScrollBar()->setValue(scroll.y());
        }
        return;
    }
    moveOutline(position);
    if (event->buttons() & Qt::LeftButton)
        retouchAt(position);
}

void TDlgRoteAugen::mouseUp(QMouseEvent* event) {
    if (mode_ != TMode::Move || (event->button() != Qt::LeftButton && event->button() != Qt::RightButton))
        return;
    const QPoint client = paintBox_->mapTo(scrollBox_->viewport(), event->position().toPoint());
    const QPoint moved = client - downClient_;
    if (std::abs(moved.x()) <= 2 && std::abs(moved.y()) <= 2)
        ZoomAround(downClient_, event->button() == Qt::LeftButton);
}

bool TDlgRoteAugen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scrollBox_->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // High-resolution wheels send small deltas: one zoom step per notch of 120.
            wheelSum_ += wheel->angleDelta().y();
            while (std::abs(wheelSum_) >= 120) {
                const bool zoomIn = wheelSum_ < 0;
                wheelSum_ += zoomIn ? 120 : -120;
                ZoomAround(wheel->position().toPoint(), zoomIn);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TDlgRoteAugen::paint(QPainter& painter, const QRect& exposed) {
    painter.fillRect(exposed, palette().color(QPalette::Dark));
    if (!picture_.isNull()) {
        const QPoint scroll = ScrollPosition();
        const QSize client = scrollBox_->viewport()->size();
        const QRect source = RedEye::VisiblePictureRect(scroll, client, zoom_, picture_.size());
        if (!source.isEmpty()) {
            const double z = zoom_;
            const QRectF target(source.x() * z, source.y() * z, source.width() * z, source.height() * z);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(target, picture_, source);
        }
    }
    if (outline_) {
        // An inverting pen: the outline shows on light and dark pixels alike.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QRect box = RedEye::BrushOutline(*outline_, zoom_, brushSize_);
        painter.drawEllipse(box.adjusted(0, 0, -1, -1));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}
