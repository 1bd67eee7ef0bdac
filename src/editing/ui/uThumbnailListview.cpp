#include "editing/ui/uThumbnailListview.h"

#include "editing/uTransferData.h"
#include "i18n/ulocalize.h"

#include <QApplication>
#include <QDrag>
#include <QFileIconProvider>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCellGap = 10;

} // namespace

// The drag data of browser items, built by the one payload unit: "VXFileList" or "VXClipart",
// and text/uri-list of the same files for other programs. A path with a line break cannot be a
// line of a list: it travels in the URI list only.
QMimeData* TThumbnailListview::DragData(TDragKind kind, const QStringList& paths) {
    auto* data = new QMimeData;
    QStringList lines;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
        if (!path.contains(QLatin1Char('\n')) && !path.contains(QLatin1Char('\r')))
            lines << path;
    }
    if (!lines.isEmpty()) {
        if (kind == TThumbnailListview::TDragKind::Clipart)
            Transfer::PutClipart(*data, lines);
        else
            Transfer::PutFileList(*data, lines);
    }
    data->setUrls(urls);
    return data;
}

TThumbnailListview::TThumbnailListview(QWidget* parent, TDragKind kind)
    : QAbstractScrollArea(parent), folder_(QSize(92, 92)), kind_(kind) {
    setObjectName(QStringLiteral("TThumbnailListview"));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setBackgroundRole(QPalette::Base);
    multiSelect_ = kind == TDragKind::Pictures;
    connect(&folder_, &TPictureFolder::ThumbnailReady, this,
            [this](int index) { viewport()->update(ItemRect(index)); });
    connect(&folder_, &TPictureFolder::Refreshed, this, [this] {
        selected_.assign(size_t(folder_.Count()), 0);
        current_ = folder_.Count() > 0 ? 0 : -1;
        anchor_ = current_;
        pressed_ = -1;
        layoutItems(true);
        verticalScrollBar()->setValue(0);
        viewport()->update();
        emit SelectionChanged();
    });
}

TThumbnailListview::~TThumbnailListview() = default;

void TThumbnailListview::SetFolder(const QString& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    updateBox();
    folder_.SetFolder(path);
    QApplication::restoreOverrideCursor();
}

void TThumbnailListview::Refresh() {
    folder_.Refresh();
}

void TThumbnailListview::SetThumbSize(int size) {
    thumbSize_ = std::clamp(size, 16, 512);
    updateBox();
    layoutItems(true);
    viewport()->update();
}

// Thumbnails are made at the screen's pixels: ThumbSize times the device pixel ratio.
void TThumbnailListview::updateBox() {
    const int side = int(std::ceil(thumbSize_ * devicePixelRatioF()));
    folder_.SetBox(QSize(side, side));
}

void TThumbnailListview::SetMultiSelect(bool multi) {
    multiSelect_ = multi;
    if (!multi && current_ >= 0)
        SelectOnly(current_);
}

QSize TThumbnailListview::ItemSize() const {
    return QSize(thumbSize_ + 18, thumbSize_ + 12 + fontMetrics().height());
}

QSize TThumbnailListview::CellSize() const {
    return ItemSize() + QSize(kCellGap, kCellGap);
}

QRect TThumbnailListview::ItemRect(int index) const {
    if (index < 0 || index >= Count())
        return QRect();
    const QSize cell = CellSize();
    return QRect(QPoint((index % columns_) * cell.width(),
                        (index / columns_) * cell.height() - verticalScrollBar()->value()),
                 ItemSize());
}

int TThumbnailListview::IndexAt(QPoint point) const {
    const QSize cell = CellSize();
    const int y = point.y() + verticalScrollBar()->value();
    if (point.x() < 0 || y < 0)
        return -1;
    const int column = point.x() / cell.width();
    if (column >= columns_)
        return -1;
    const int index = (y / cell.height()) * columns_ + column;
    if (index >= Count() || !ItemRect(index).contains(point))
        return -1;
    return index;
}

bool TThumbnailListview::IsSelected(int index) const {
    return index >= 0 && index < int(selected_.size()) && selected_[size_t(index)];
}

void TThumbnailListview::SelectOnly(int index) {
    std::fill(selected_.begin(), selected_.end(), 0);
    if (index >= 0 && index < Count()) {
        selected_[size_t(index)] = 1;
        current_ = anchor_ = index;
    }
    viewport()->update();
    emit SelectionChanged();
}

void TThumbnailListview::GetSelectedFiles(QStringList& list) const {
    for (int i = 0; i < Count(); ++i)
        if (IsSelected(i))
            list << folder_.Item(i).ShellItem.Path;
}

void TThumbnailListview::layoutItems(bool force) {
    const int cell = CellSize().width();
    const int columns = std::max(1, (viewport()->width() + kCellGap) / cell);
    if (columns == columns_ && !force) {
        updateScrollBars();
        return;
    }
    columns_ = columns;
    updateScrollBars();
    ensureVisible(current_);
    viewport()->update();
}

void TThumbnailListview::updateScrollBars() {
    const int rows = (Count() + columns_ - 1) / columns_;
    const int height = rows * CellSize().height();
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(CellSize().height() / 4);
}

void TThumbnailListview::ensureVisible(int index) {
    const QRect rect = ItemRect(index);
    if (rect.isNull())
        return;
    if (rect.top() < 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + rect.top());
    else if (rect.bottom() >= viewport()->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + rect.bottom() - viewport()->height() +
                                      1);
}

void TThumbnailListview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layoutItems(false);
}

void TThumbnailListview::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    // The pixel ratio is known for certain once the list is on a screen.
    if (folder_.Box().width() != int(std::ceil(thumbSize_ * devicePixelRatioF())))
        updateBox();
}

void TThumbnailListview::scrollContentsBy(int, int) {
    viewport()->update();
}

QString TThumbnailListview::caption(int index) const {
    return fontMetrics().elidedText(folder_.Item(index).ShellItem.Name, Qt::ElideRight, thumbSize_);
}

QIcon TThumbnailListview::fileIcon(const QString& name) const {
    // By the name's extension only: the list never opens a picture file on this thread.
    const QString suffix = name.section(QLatin1Char('.'), -1).toLower();
    auto found = icons_.constFind(suffix);
    if (found != icons_.constEnd())
        return *found;
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName()));
    if (icon.isNull())
        icon = QFileIconProvider().icon(QAbstractFileIconProvider::File);
    icons_.insert(suffix, icon);
    return icon;
}

void TThumbnailListview::drawItem(QPainter& painter, int index, QRect rect) {
    const QPalette& pal = palette();
    const bool selected = IsSelected(index);
    const TPicData& item = folder_.Item(index);
    const QRect icon(rect.left(), rect.top(), rect.width(), thumbSize_ + 12);
    painter.fillRect(rect, pal.color(QPalette::Base));
    painter.fillRect(icon.adjusted(1, 1, -1, -1),
                     selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawRect(icon.adjusted(0, 0, -1, -1));
    const QRect square(icon.center().x() - thumbSize_ / 2 + 1, icon.center().y() - thumbSize_ / 2 + 1,
                       thumbSize_, thumbSize_);
    QImage thumb = folder_.Thumbnail(index);
    if (!thumb.isNull()) {
        const qreal ratio = std::max<qreal>(1.0, qreal(folder_.Box().width()) / thumbSize_);
        thumb.setDevicePixelRatio(ratio);
        const QSize logical = (QSizeF(thumb.size()) / ratio).toSize();
        const QRect target(square.center().x() - logical.width() / 2 + 1,
                           square.center().y() - logical.height() / 2 + 1, logical.width(), logical.height());
        painter.drawImage(target.topLeft(), thumb);
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawRect(target.adjusted(-1, -1, 0, 0));
    } else if (item.State == TThumbState::Failed) {
        // No picture in it: the file's icon.
        const int side = std::min(48, thumbSize_);
        fileIcon(item.ShellItem.Name)
            .paint(&painter,
                   QRect(square.center().x() - side / 2 + 1, square.center().y() - side / 2 + 1, side, side));
    } else {
        // Still loading: a sunken placeholder.
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawLine(square.topLeft(), square.topRight());
        painter.drawLine(square.topLeft(), square.bottomLeft());
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(square.bottomLeft(), square.bottomRight());
        painter.drawLine(square.topRight(), square.bottomRight());
    }
    const QRect label(rect.left(), icon.bottom() + 1, rect.width(), rect.height() - icon.height());
    painter.fillRect(label, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
    painter.setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, caption(index));
    if (index == current_ && hasFocus()) {
        painter.setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(label.adjusted(0, 0, -1, -1));
    }
}

void TThumbnailListview::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    if (Count() == 0) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPoint(10, 10 + fontMetrics().ascent()),
                         Translate(QStringLiteral("Kein Bild im ausgewählten Verzeichnis")));
        return;
    }
    const QSize cell = CellSize();
    const int top = verticalScrollBar()->value();
    const int firstRow = std::max(0, (event->rect().top() + top) / cell.height());
    const int lastRow = (event->rect().bottom() + top) / cell.height();
    const int first = firstRow * columns_;
    const int last = std::min(Count() - 1, (lastRow + 1) * columns_ - 1);
    // Asked for from the last to the first, so that the first on screen is made first.
    for (int i = last; i >= first; --i)
        folder_.Request(i);
    for (int i = first; i <= last; ++i) {
        const QRect rect = ItemRect(i);
        if (rect.intersects(event->rect()))
            drawItem(painter, i, rect);
    }
}

QString TThumbnailListview::HintText(int index) const {
    if (index < 0 || index >= Count())
        return QString();
    const TPicData& item = folder_.Item(index);
    QStringList lines{item.ShellItem.Name};
    if (item.ShellItem.IsFile) {
        const QLocale locale;
        lines << locale.toString(item.ShellItem.Size) + QStringLiteral(" Bytes");
        lines << locale.toString(item.ShellItem.Modified, QLocale::ShortFormat);
        // The pixel size only once the thumbnail told it.
        if (item.PicWidth > 0 && item.PicHeight > 0)
            lines << QString::asprintf("%dx%d", item.PicWidth, item.PicHeight);
    }
    return lines.join(QLatin1Char('\n'));
}

bool TThumbnailListview::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = IndexAt(help->pos());
        if (index >= 0)
            QToolTip::showText(help->globalPos(), HintText(index), viewport(), ItemRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TThumbnailListview::selectRange(int from, int to) {
    std::fill(selected_.begin(), selected_.end(), 0);
    for (int i = std::min(from, to); i <= std::max(from, to); ++i)
        if (i >= 0 && i < Count())
            selected_[size_t(i)] = 1;
}

void TThumbnailListview::moveCurrent(int index, Qt::KeyboardModifiers modifiers) {
    if (Count() == 0)
        return;
    index = std::clamp(index, 0, Count() - 1);
    current_ = index;
    if ((modifiers & Qt::ShiftModifier) && multiSelect_ && anchor_ >= 0) {
        selectRange(anchor_, index);
    } else if (modifiers & Qt::ControlModifier) {
        // Moves the focus only.
    } else {
        std::fill(selected_.begin(), selected_.end(), 0);
        selected_[size_t(index)] = 1;
        anchor_ = index;
    }
    ensureVisible(index);
    viewport()->update();
    emit SelectionChanged();
}

void TThumbnailListview::keyPressEvent(QKeyEvent* event) {
    if (Count() == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int current = std::max(0, current_);
    const int rowsPerPage = std::max(1, viewport()->height() / CellSize().height());
    if (event->matches(QKeySequence::SelectAll)) {
        if (multiSelect_) {
            std::fill(selected_.begin(), selected_.end(), 1);
            viewport()->update();
            emit SelectionChanged();
        }
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left: // at the start of a row: the end of the previous one
        if (current > 0)
            moveCurrent(current - 1, mods);
        return;
    case Qt::Key_Right: // at the end of a row: the start of the next one; nothing on the last item
        if (current < Count() - 1)
            moveCurrent(current + 1, mods);
        return;
    case Qt::Key_Up:
        if (current - columns_ >= 0)
            moveCurrent(current - columns_, mods);
        return;
    case Qt::Key_Down:
        if (current + columns_ < Count())
            moveCurrent(current + columns_, mods);
        return;
    case Qt::Key_Home:
        moveCurrent(0, mods);
        return;
    case Qt::Key_End:
        moveCurrent(Count() - 1, mods);
        return;
    case Qt::Key_PageUp:
        moveCurrent(std::max(current % columns_, current - rowsPerPage * columns_), mods);
        return;
    case Qt::Key_PageDown: {
        int target = current + rowsPerPage * columns_;
        while (target >= Count())
            target -= columns_;
        moveCurrent(std::max(target, current), mods);
        return;
    }
    case Qt::Key_Space:
        if (multiSelect_ && (mods & Qt::ControlModifier)) {
            selected_[size_t(current)] = !selected_[size_t(current)];
            viewport()->update();
            emit SelectionChanged();
            return;
        }
        break;
    default:
        break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TThumbnailListview::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const int index = IndexAt(event->position().toPoint());
    pressed_ = -1;
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    if (index < 0) {
        if (!(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) {
            std::fill(selected_.begin(), selected_.end(), 0);
            viewport()->update();
            emit SelectionChanged();
        }
        return;
    }
    pressed_ = index;
    pressPoint_ = event->position().toPoint();
    pressWasSelected_ = IsSelected(index);
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (multiSelect_ && (mods & Qt::ControlModifier)) {
        selected_[size_t(index)] = !selected_[size_t(index)];
        current_ = anchor_ = index;
    } else if (multiSelect_ && (mods & Qt::ShiftModifier) && anchor_ >= 0) {
        selectRange(anchor_, index);
        current_ = index;
    } else if (!pressWasSelected_) {
        std::fill(selected_.begin(), selected_.end(), 0);
        selected_[size_t(index)] = 1;
        current_ = anchor_ = index;
    } else {
        current_ = index; // a press on the selection may start a drag of all of it
    }
    viewport()->update();
    emit SelectionChanged();
}

void TThumbnailListview::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_ < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - pressPoint_).manhattanLength() < QApplication::startDragDistance())
        return;
    const int index = pressed_;
    pressed_ = -1;
    if (IsSelected(index))
        startDrag(index, pressPoint_);
}

void TThumbnailListview::mouseReleaseEvent(QMouseEvent* event) {
    // A plain click on a selected item keeps only that one.
    if (pressed_ >= 0 && pressWasSelected_ &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)))
        SelectOnly(pressed_);
    pressed_ = -1;
}

QImage TThumbnailListview::GetDragImage(QPoint point, QPoint* offset) const {
    const int index = IndexAt(point);
    if (index < 0)
        return QImage();
    const QRect rect = ItemRect(index);
    const qreal ratio = devicePixelRatioF();
    QImage image((QSizeF(rect.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        const_cast<TThumbnailListview*>(this)->drawItem(painter, index, QRect(QPoint(0, 0), rect.size()));
    }
    if (offset)
        *offset = point - rect.topLeft();
    return image;
}

void TThumbnailListview::startDrag(int index, QPoint point) {
    QStringList paths;
    if (kind_ == TDragKind::Clipart)
        paths << folder_.Item(index).ShellItem.Path;
    else
        GetSelectedFiles(paths);
    if (paths.isEmpty())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(DragData(kind_, paths));
    QPoint offset;
    const QImage image = GetDragImage(point, &offset);
    if (!image.isNull()) {
        drag->setPixmap(QPixmap::fromImage(image));
        drag->setHotSpot(offset);
    }
    // Copy only: no file manager moves a photo away.
    const Qt::DropAction action = drag->exec(Qt::CopyAction, Qt::CopyAction);
    if (action == Qt::IgnoreAction && kind_ == TDragKind::Pictures)
        SelectOnly(index); // dropped nowhere: only the item under the mouse stays selected
}
