#include "catalogue/ui/uColorListView.h"
#include "document/uFBColor.h"
#include "support/ImageCompare.h"

#include <QBuffer>
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
