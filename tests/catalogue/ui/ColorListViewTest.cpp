#include "catalogue/ui/uColorListView.h"
#include "document/uFBColor.h"
#include "editing/uTransferData.h"
#include "support/ImageCompare.h"

#include <QApplication>
#include <QBuffer>
#include <QDrag>
#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>

TEST(ColorListView, ShowsTheFillColoursAndDragsTheOneUnderTheMouse) {
    TColorListView list;
    ASSERT_EQ(list.count(), 14);
    EXPECT_EQ(list.item(0)->toolTip(), QStringLiteral("hellgrau"));
    EXPECT_EQ(list.item(13)->toolTip(), QStringLiteral("Eigene Farbe"));
    EXPECT_EQ(list.Color(13)->Color, -1);
    EXPECT_EQ(list.Color(14), nullptr);

    const std::unique_ptr<QMimeData> data(list.model()->mimeData({list.model()->index(3, 0)}));
    ASSERT_NE(data, nullptr);
    QByteArray payload = data->data(QStringLiteral("VXColor"));
    QBuffer buffer(&payload);
    buffer.open(QIODevice::ReadOnly);
    TFBColor dragged;
    dragged.LoadFromStream(buffer);
    EXPECT_EQ(dragged.Name, QStringLiteral("schwarz"));
    EXPECT_EQ(dragged.Color, 0);
}

TEST(ColorListView, SwatchesShowTheColourOrTheCrossedBoxOfTheOwnColour) {
    EXPECT_TRUE(TestSupport::ImagesMatch(TColorListView::Swatch(0x0079E7FF), "colorlist/swatch-gelb"));
    EXPECT_TRUE(TestSupport::ImagesMatch(TColorListView::Swatch(-1), "colorlist/swatch-eigene-farbe"));
}

TEST(ColorListView, SelectedSwatchIsFramedAndADragCopiesTheItemUnderTheMouse) {
    TColorListView list;
    list.resize(300, 400);
    list.show();
    list.setCurrentRow(3);
    QApplication::processEvents();
    const QImage shot = list.viewport()->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const auto pixel = [&](QPoint at) { return QColor(shot.pixel((QPointF(at) * ratio).toPoint())); };
    const QRect black = TColorListView::SwatchRect(list.visualItemRect(list.item(3)));
    const QRect grey = TColorListView::SwatchRect(list.visualItemRect(list.item(0)));
    const int frame = TColorListView::kFrameGap + 1;
    const QColor highlight = list.palette().color(QPalette::Highlight);
    EXPECT_EQ(pixel(QPoint(black.left() - frame, black.center().y())), highlight);
    EXPECT_EQ(pixel(QPoint(black.center().x(), black.bottom() + frame)), highlight);
    EXPECT_EQ(pixel(black.center()), QColor(Qt::black)) << "the selected swatch keeps its colour";
    EXPECT_EQ(pixel(QPoint(grey.left() - frame, grey.center().y())), list.palette().color(QPalette::Base));
    EXPECT_EQ(pixel(grey.center()), QColor(233, 233, 233));

    const QPoint pressed = black.center() + QPoint(5, -7);
    std::unique_ptr<QDrag> drag(list.MakeDrag(pressed));
    ASSERT_NE(drag, nullptr);
    const std::optional<TFBColor> color =
        Transfer::ReadColor(drag->mimeData()->data(QStringLiteral("VXColor")));
    ASSERT_TRUE(color.has_value());
    EXPECT_EQ(color->Name, QStringLiteral("schwarz"));
    EXPECT_EQ(drag->hotSpot(), pressed - list.visualItemRect(list.item(3)).topLeft());
    EXPECT_EQ(drag->pixmap().deviceIndependentSize().toSize(), list.visualItemRect(list.item(3)).size());
    EXPECT_FALSE(drag->dragCursor(Qt::CopyAction).isNull()) << "the program's copy cursor";
    // Below the last row there is nothing to drag.
    EXPECT_EQ(list.MakeDrag(QPoint(295, 395)), nullptr);

    // A language switch fills the list anew and keeps the selection.
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(&list, &change);
    EXPECT_EQ(list.count(), 14);
    EXPECT_EQ(list.currentRow(), 3);
}
