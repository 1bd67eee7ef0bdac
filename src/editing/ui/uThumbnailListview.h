#pragma once

// The thumbnail list of a picture browser: the picture files of one folder as a grid of
// thumbnails with their names, which a background loader makes while placeholders show. Only the
// items on screen are drawn, and drawing an item asks for its thumbnail, so the visible ones come
// first. The items can be selected (several or one) and dragged onto the pages.
//
// Layout: an item is ThumbSize + 18 wide and ThumbSize + 12 plus one label line high; a cell adds
// 10 pixels each way; columns = max(1, (client width + 10) div cell width).

#include "editing/uPictureFolder.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QStringList>

#include <vector>

class QMimeData;

class TThumbnailListview : public QAbstractScrollArea {
    Q_OBJECT
public:
    // What a drag of the items carries: photo files (several) or one clipart file.
    enum class TDragKind { Pictures, Clipart };

    explicit TThumbnailListview(QWidget* parent = nullptr, TDragKind kind = TDragKind::Pictures);
    ~TThumbnailListview() override;

    void SetFolder(const QString& path);
    void Refresh();
    void SetThumbSize(int size);
    int ThumbSize() const { return thumbSize_; }
    // Appends the full path of every selected item, in list order.
    void GetSelectedFiles(QStringList& list) const;
    // The item under `point` drawn as in the list, and the point's offset inside it.
    QImage GetDragImage(QPoint point, QPoint* offset) const;

    // What a drag of these files carries (the caller owns it).
    static QMimeData* DragData(TDragKind kind, const QStringList& paths);

    void SetMultiSelect(bool multi);
    bool MultiSelect() const { return multiSelect_; }

    int Count() const { return folder_.Count(); }
    int Columns() const { return columns_; }
    QSize ItemSize() const;
    QSize CellSize() const;
    // The item's rectangle in viewport coordinates; the index under a viewport point or -1.
    QRect ItemRect(int index) const;
    int IndexAt(QPoint point) const;
    int CurrentIndex() const { return current_; }
    bool IsSelected(int index) const;
    void SelectOnly(int index);
    // The hint of an item: name, size, date and, once known, the picture's pixel size.
    QString HintText(int index) const;

    TPictureFolder& Pictures() { return folder_; }

signals:
    void SelectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;

private:
    void layoutItems(bool force);
    void updateScrollBars();
    void ensureVisible(int index);
    void moveCurrent(int index, Qt::KeyboardModifiers modifiers);
    void selectRange(int from, int to);
    void drawItem(QPainter& painter, int index, QRect rect);
    void startDrag(int index, QPoint point);
    void updateBox();
    QIcon fileIcon(const QString& name) const;
    QString caption(int index) const;

    TPictureFolder folder_;
    TDragKind kind_;
    int thumbSize_ = 92;
    int columns_ = 1;
    bool multiSelect_ = true;
    std::vector<char> selected_;
    int current_ = -1;
    int anchor_ = -1;
    int pressed_ = -1;
    QPoint pressPoint_;
    bool pressWasSelected_ = false;
    mutable QHash<QString, QIcon> icons_;
};
