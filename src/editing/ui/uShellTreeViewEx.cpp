#include "editing/ui/uShellTreeViewEx.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardPaths>

TShellTreeViewEx::TShellTreeViewEx(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    setObjectName(QStringLiteral("TShellTreeViewEx"));
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->setRootPath(QStringLiteral("/"));
    setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAutoScroll(true);
    delay_.setSingleShot(true);
    delay_.setInterval(kChangeDelayMs);
    connect(&delay_, &QTimer::timeout, this, [this] {
        const QString folder = SelectedFolder();
        if (!folder.isEmpty())
            emit FolderChanged(folder);
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { selectionMoved(); });
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this] { revealPending(); });
    follow_.setSingleShot(true);
    follow_.setInterval(50);
    connect(&follow_, &QTimer::timeout, this, [this] {
        if (followChoice_ && currentIndex().isValid())
            scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    });
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { followChoice_ = false; });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] {
        if (followChoice_)
            follow_.start();
    });
}

void TShellTreeViewEx::mousePressEvent(QMouseEvent* event) {
    followChoice_ = false;
    QTreeView::mousePressEvent(event);
}

void TShellTreeViewEx::keyPressEvent(QKeyEvent* event) {
    followChoice_ = false;
    QTreeView::keyPressEvent(event);
}

void TShellTreeViewEx::wheelEvent(QWheelEvent* event) {
    followChoice_ = false;
    QTreeView::wheelEvent(event);
}

QString TShellTreeViewEx::DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

bool TShellTreeViewEx::SelectFolder(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir() || !info.isReadable())
        return false;
    pending_ = QDir::cleanPath(info.absoluteFilePath());
    followChoice_ = true;
    const QModelIndex index = model_->index(pending_);
    if (index.isValid()) {
        setCurrentIndex(index);
        scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
    // The model fills itself asynchronously: reveal again when the folders on the way are loaded.
    revealPending();
    return true;
}

void TShellTreeViewEx::revealPending() {
    if (pending_.isEmpty())
        return;
    const QModelIndex index = model_->index(pending_);
    if (!index.isValid())
        return;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        expand(up);
    if (currentIndex() != index)
        setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    // Done once the folder's parent has been read (its row is then in place for good).
    if (!model_->canFetchMore(index.parent()))
        pending_.clear();
}

void TShellTreeViewEx::SelectSpecialFolder(int index) {
    if (index == Documents)
        SelectFolder(DocumentsFolder());
}

void TShellTreeViewEx::StartAt(const QString& path) {
    if (!SelectFolder(path))
        SelectSpecialFolder(Documents);
}

QString TShellTreeViewEx::SelectedFolder() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? model_->filePath(index) : QString();
}

void TShellTreeViewEx::selectionMoved() {
    scrollTo(currentIndex());
    delay_.start();
}
