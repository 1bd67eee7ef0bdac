// The thumbnail list and the folder tree of the picture browser, offscreen.
#include "editing/uTransferData.h"
#include "editing/ui/uShellTreeViewEx.h"
#include "editing/ui/uThumbnailListview.h"
#include "support/GuiTest.h"
#include "support/PictureSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace PictureSupport;

namespace {

template <typename Done>
bool waitFor(Done done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

QString screenshotFolder() {
    QDir dir(QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/.."));
    dir.mkpath(QStringLiteral("screenshots"));
    return dir.filePath(QStringLiteral("screenshots"));
}

QImage colourPhoto(int w, int h, QRgb colour) {
    QImage image = photo(w, h);
    QPainter painter(&image);
    painter.setBrush(QColor(colour));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRect(w / 4, h / 4, w / 2, h / 2));
    return image;
}

class ThumbnailList : public TestSupport::GuiTest {
protected:
    // Five photos, of which the fourth does not decode.
    void fillFolder() {
        const QDir dir(folder.path());
        const QRgb colours[] = {qRgb(220, 40, 40), qRgb(40, 160, 60), qRgb(230, 200, 40), 0,
                                qRgb(120, 60, 200)};
        for (int i = 0; i < 5; ++i) {
            const QString name = QStringLiteral("IMG_%1.jpg").arg(i + 1);
            if (i == 3)
                writeFile(dir.filePath(name), QByteArray("broken, no picture"));
            else
                writeFile(dir.filePath(name),
                          jpeg(colourPhoto(i == 2 ? 300 : 400, i == 2 ? 400 : 300, colours[i])));
        }
    }
    void show(TThumbnailListview& list, QSize size) {
        list.setFrameShape(QFrame::NoFrame);
        list.Pictures().SetUseCache(false);
        list.resize(size);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }
    bool allLoaded(TThumbnailListview& list) {
        list.viewport()->repaint();
        for (int i = 0; i < list.Count(); ++i)
            if (list.Pictures().Item(i).State == TThumbState::Pending)
                return false;
        return true;
    }
    void press(TThumbnailListview& list, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&list, key, mods);
    }
    std::vector<int> selection(const TThumbnailListview& list) {
        std::vector<int> out;
        for (int i = 0; i < list.Count(); ++i)
            if (list.IsSelected(i))
                out.push_back(i);
        return out;
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(ThumbnailList, EmptyFolderShowsItsText) {
    TThumbnailListview list;
    show(list, QSize(300, 200));
    list.SetFolder(folder.path());
    EXPECT_EQ(list.Count(), 0);
    const QImage shot = list.viewport()->grab().toImage();
    shot.save(screenshotFolder() + QStringLiteral("/browser-empty.png"));
    // Text pixels in the line at (10, 10), none far below it.
    auto inked = [&](QRect area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                dark += qGray(shot.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(inked(QRect(10, 10, 200, list.fontMetrics().height())), 20);
    EXPECT_EQ(inked(QRect(10, 80, 200, 40)), 0);
    // A folder that cannot be read shows the same.
    list.SetFolder(folder.path() + QStringLiteral("/gone"));
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(ThumbnailList, ColumnsFollowTheWidthAndItemsTheirCells) {
    fillFolder();
    TThumbnailListview list;
    show(list, QSize(230, 600));
    list.SetFolder(folder.path());
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.CellSize().width(), 120);
    EXPECT_EQ(list.ItemSize(), QSize(110, 104 + list.fontMetrics().height()));
    ASSERT_EQ(list.viewport()->width(), 230);
    EXPECT_EQ(list.Columns(), 2); // (230 + 10) div 120
    EXPECT_EQ(list.ItemRect(3).topLeft(), QPoint(120, list.CellSize().height()));
    list.resize(229, 600);
    QApplication::processEvents();
    EXPECT_EQ(list.Columns(), 1);
    list.resize(351, 600);
    QApplication::processEvents();
    EXPECT_EQ(list.Columns(), 3);
    EXPECT_EQ(list.ItemRect(4).topLeft(), QPoint(120, list.CellSize().height()));
    EXPECT_EQ(list.IndexAt(list.ItemRect(4).center()), 4);
    EXPECT_EQ(list.IndexAt(QPoint(115, 5)), -1) << "the gap between cells";
}

TEST_F(ThumbnailList, KeysSelectAllAndMoveAcrossRows) {
    fillFolder();
    TThumbnailListview list;
    show(list, QSize(230, 600)); // two columns
    list.SetFolder(folder.path());
    list.setFocus();
    press(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selection(list), (std::vector<int>{0, 1, 2, 3, 4}));

    list.SelectOnly(1); // the end of the first row
    press(list, Qt::Key_Right);
    EXPECT_EQ(list.CurrentIndex(), 2);
    EXPECT_EQ(selection(list), std::vector<int>{2});
    press(list, Qt::Key_Left);
    EXPECT_EQ(list.CurrentIndex(), 1);
    press(list, Qt::Key_Right, Qt::ShiftModifier);
    press(list, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(selection(list), (std::vector<int>{1, 2, 3}));
    press(list, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(selection(list), (std::vector<int>{1, 2}));
    press(list, Qt::Key_Down);
    EXPECT_EQ(selection(list), std::vector<int>{4});
    press(list, Qt::Key_Right); // the last item: nothing
    EXPECT_EQ(list.CurrentIndex(), 4);
    EXPECT_EQ(selection(list), std::vector<int>{4});

    // Clicks: Ctrl adds, and the selected files come in list order.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, list.ItemRect(0).center());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, list.ItemRect(2).center());
    QStringList files;
    list.GetSelectedFiles(files);
    EXPECT_EQ(files, (QStringList{QDir(folder.path()).filePath(QStringLiteral("IMG_1.jpg")),
                                  QDir(folder.path()).filePath(QStringLiteral("IMG_3.jpg")),
                                  QDir(folder.path()).filePath(QStringLiteral("IMG_5.jpg"))}));

    // The clipart list selects one item only.
    TThumbnailListview clipart(nullptr, TThumbnailListview::TDragKind::Clipart);
    show(clipart, QSize(230, 600));
    clipart.SetFolder(folder.path());
    clipart.setFocus();
    press(clipart, Qt::Key_A, Qt::ControlModifier);
    press(clipart, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(selection(clipart), std::vector<int>{1});
}

TEST_F(ThumbnailList, HintsTellSizeDateAndPixelsOnceKnownAndBrokenFilesFail) {
    fillFolder();
    TThumbnailListview list;
    show(list, QSize(360, 300));
    list.SetFolder(folder.path());
    const QFileInfo first(QDir(folder.path()).filePath(QStringLiteral("IMG_1.jpg")));
    const QString before = list.HintText(0);
    EXPECT_TRUE(before.startsWith(QStringLiteral("IMG_1.jpg\n") + QLocale().toString(first.size()) +
                                  QStringLiteral(" Bytes\n")));
    EXPECT_TRUE(before.endsWith(QLocale().toString(first.lastModified(), QLocale::ShortFormat)))
        << "no pixel size before the thumbnail exists";
    ASSERT_TRUE(waitFor([&] { return allLoaded(list); }));
    EXPECT_TRUE(list.HintText(0).endsWith(QStringLiteral("\n400x300")));
    EXPECT_TRUE(list.HintText(2).endsWith(QStringLiteral("\n300x400")));
    EXPECT_EQ(list.Pictures().Item(3).State, TThumbState::Failed);
    EXPECT_FALSE(list.HintText(3).contains(QLatin1Char('x')));

    list.SelectOnly(1);
    list.viewport()->repaint();
    const QImage shot = list.viewport()->grab().toImage();
    shot.save(screenshotFolder() + QStringLiteral("/browser-selection.png"));
    // The selected item's frame is filled with the highlight colour, the others are not.
    const QRgb highlight = list.palette().color(QPalette::Highlight).rgb();
    EXPECT_EQ(shot.pixel(list.ItemRect(1).topLeft() + QPoint(3, 3)), highlight);
    EXPECT_NE(shot.pixel(list.ItemRect(0).topLeft() + QPoint(3, 3)), highlight);
    // A thumbnail is drawn in its square: the red disc of the first photo.
    const QPoint centre(list.ItemRect(0).center().x(), list.ItemRect(0).top() + 6 + 46);
    EXPECT_GT(qRed(shot.pixel(centre)), 150);
}

TEST_F(ThumbnailList, DragImageShowsTheItemAndItsOffset) {
    fillFolder();
    TThumbnailListview list;
    show(list, QSize(360, 300));
    list.SetFolder(folder.path());
    QPoint offset;
    const QImage image = list.GetDragImage(list.ItemRect(1).topLeft() + QPoint(7, 9), &offset);
    EXPECT_EQ(offset, QPoint(7, 9));
    EXPECT_EQ((QSizeF(image.size()) / image.devicePixelRatio()).toSize(), list.ItemSize());
    EXPECT_TRUE(list.GetDragImage(QPoint(355, 295), &offset).isNull());
}

TEST_F(ThumbnailList, DragsCarryTheProgramsFormatAndUrisForOtherPrograms) {
    const QString odd = QStringLiteral("/photos/line\nbreak.jpg");
    std::unique_ptr<QMimeData> photos(TThumbnailListview::DragData(
        TThumbnailListview::TDragKind::Pictures,
        {QStringLiteral("/photos/a b.jpg"), odd, QStringLiteral("/photos/c.jpg")}));
    EXPECT_EQ(Transfer::DroppedFiles(*photos),
              (QStringList{QStringLiteral("/photos/a b.jpg"), QStringLiteral("/photos/c.jpg")}));
    ASSERT_EQ(photos->urls().size(), 3);
    EXPECT_EQ(photos->urls()[1].toLocalFile(), odd) << "the odd name travels in the URI list only";
    EXPECT_FALSE(photos->hasFormat(TransferFormat::Clipart));

    std::unique_ptr<QMimeData> clipart(TThumbnailListview::DragData(TThumbnailListview::TDragKind::Clipart,
                                                                    {QStringLiteral("/clipart/Herz.png")}));
    EXPECT_EQ(Transfer::DroppedClipart(*clipart), QStringLiteral("/clipart/Herz.png"));
    EXPECT_FALSE(clipart->hasFormat(TransferFormat::FileList));
    EXPECT_EQ(clipart->urls().value(0).toLocalFile(), QStringLiteral("/clipart/Herz.png"));
}

TEST_F(ThumbnailList, ScreenshotAtThePixelRatioOfTheScreen) {
    fillFolder();
    TThumbnailListview list;
    show(list, QSize(360, 300));
    list.SetFolder(folder.path());
    ASSERT_TRUE(waitFor([&] { return allLoaded(list); }));
    const qreal ratio = list.devicePixelRatioF();
    EXPECT_EQ(list.Pictures().Box(), QSize(int(std::ceil(92 * ratio)), int(std::ceil(92 * ratio))));
    EXPECT_EQ(list.Pictures().Item(0).Thumbnail.width(), int(std::ceil(92 * ratio)));
    list.SelectOnly(0);
    list.viewport()->repaint();
    list.viewport()->grab().toImage().save(screenshotFolder() +
                                           QStringLiteral("/browser-ratio-%1.png").arg(ratio));
}

TEST_F(ThumbnailList, FolderTreeStartsAtTheStoredFolderOrTheDocuments) {
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("a/b/c"));
    QDir(root.path()).mkpath(QStringLiteral("a/.hidden"));
    writeFile(root.path() + QStringLiteral("/a/file.jpg"), QByteArray("x"));
    TShellTreeViewEx tree;
    tree.resize(250, 200);
    tree.show();
    QStringList told;
    QObject::connect(&tree, &TShellTreeViewEx::FolderChanged, [&](const QString& path) { told << path; });
    const QString start = root.path() + QStringLiteral("/a/b/c");
    tree.StartAt(start);
    ASSERT_TRUE(waitFor([&] { return tree.SelectedFolder() == start; }));
    ASSERT_TRUE(waitFor([&] { return !told.isEmpty(); }, 3000));
    EXPECT_EQ(told.last(), start);
    // Folders only, no hidden ones.
    const QAbstractItemModel* model = tree.model();
    ASSERT_TRUE(waitFor([&] { return model->rowCount(tree.currentIndex().parent().parent()) == 1; }));
    EXPECT_EQ(model->rowCount(tree.currentIndex().parent().parent()), 1) << "only b below a";

    TShellTreeViewEx fallback;
    fallback.StartAt(root.path() + QStringLiteral("/missing"));
    ASSERT_TRUE(waitFor([&] { return !fallback.SelectedFolder().isEmpty(); }));
    EXPECT_EQ(fallback.SelectedFolder(), TShellTreeViewEx::DocumentsFolder());
}
