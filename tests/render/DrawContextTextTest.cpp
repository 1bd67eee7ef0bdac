// Mapping, pens, fonts and text of the draw context, on a bitmap surface.
#include "render/uBitmapDrawContext.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage WhiteBitmap(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(0xFFFFFFFFu);
    return image;
}

int CountNonWhite(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != 0xFFFFFFFFu;
    return n;
}

} // namespace

TEST(DrawContextMapping, MapPointSnapsThenRoundsToEven) {
    QImage image = WhiteBitmap(10, 10);
    TBitmapDrawContext dc(image);
    EXPECT_EQ(dc.MapPoint(2.5f, 3.5f), QPoint(2, 4));
    EXPECT_EQ(dc.MapPoint(2.49999997f, -2.5f), QPoint(2, -2));
    dc.Transformation.Scale(10);
    EXPECT_EQ(dc.MapPoint(0.25f, 0.35f), QPoint(2, 4)); // 2.5 and 3.4999998 (snapped to 3.5)
    EXPECT_EQ(dc.MapVector(0.25f, 0.26f), QPoint(2, 3));
    const TPointF v = dc.DeviceVectorToDoc(38, 0);
    EXPECT_FLOAT_EQ(v.X, 4); // 3.8 rounded
    const TPointF p = dc.DeviceToDoc(25, 5);
    EXPECT_FLOAT_EQ(p.X, 2.5f);
    EXPECT_FLOAT_EQ(p.Y, 0.5f);
}

TEST(DrawContextPen, PenWidthsFollowTheScale) {
    QImage image = WhiteBitmap(10, 10);
    TBitmapDrawContext dc(image);
    dc.Transformation.Scale(4);
    dc.SetPenWidth(0);
    EXPECT_EQ(dc.Canvas().Pen.Width(), 1);
    dc.SetPenWidth(0.3f); // round(1.2)
    EXPECT_EQ(dc.Canvas().Pen.Width(), 1);
    dc.SetPenWidth(1.5f);
    EXPECT_EQ(dc.Canvas().Pen.Width(), 6);
    EXPECT_FLOAT_EQ(dc.PenWidth, 1.5f);
    dc.SetPenWidthPx(2);
    EXPECT_EQ(dc.Canvas().Pen.Width(), 2);
    EXPECT_FLOAT_EQ(dc.PenWidth, 0.5f);
}

TEST(DrawContextFont, SelectFontFollowsScaleAndRotation) {
    QImage image = WhiteBitmap(10, 10);
    TBitmapDrawContext dc(image);
    dc.Font.SetSize(72); // one inch = 25.4 mm
    dc.Transformation.Scale(2);
    dc.SelectFont();
    EXPECT_FLOAT_EQ(dc.FontHeightPx, 50.8f);
    EXPECT_EQ(dc.FontHeightLogical(), 51);
    EXPECT_EQ(dc.FontEscapement(), 0);
    dc.Transformation.Rotate(90);
    dc.SelectFont();
    EXPECT_EQ(dc.FontEscapement(), 2700);
    dc.Font.SetSize(0);
    dc.SelectFont();
    EXPECT_EQ(dc.FontHeightLogical(), 1); // never a zero height
}

TEST(DrawContextText, MeasuringIsIndependentOfTheTransformation) {
    QImage image = WhiteBitmap(10, 10);
    TBitmapDrawContext dc(image);
    dc.Font.SetSize(10);
    const float w = dc.TextWidth(QStringLiteral("Hallo Welt"));
    const float h = dc.TextHeight(QStringLiteral("Hallo Welt"));
    dc.Transformation.Scale(7.3f);
    dc.Transformation.Rotate(20);
    EXPECT_FLOAT_EQ(dc.TextWidth(QStringLiteral("Hallo Welt")), w);
    EXPECT_FLOAT_EQ(dc.TextHeight(QStringLiteral("Hallo Welt")), h);
    // 10 pt at 720 px per inch: an em of 100 px, Arial's height is 2288/2048 em.
    EXPECT_EQ(dc.MeasureHeightPx(), 112);
    EXPECT_FLOAT_EQ(h, 112.0f / 720 * 25.4f);
    EXPECT_EQ(dc.MeasureWidthPx(QStringLiteral("AA")), 2 * 67); // 1366 * 100 / 2048 = 66.7
}

TEST(DrawContextText, AdvancesAccumulateBeforeRounding) {
    QImage image = WhiteBitmap(10, 10);
    TBitmapDrawContext dc(image);
    dc.Font.SetSize(10);
    dc.Transformation.Scale(1.0f / 25.4f * 72.0f); // 1 pt = 1 px: the em is 10 px
    const std::vector<int> steps = dc.TextAdvances(QStringLiteral("iiii"));
    // 455 / 2048 * 10 = 2.2217 per character: positions 2, 4, 7, 9.
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps, (std::vector<int>{2, 2, 3, 2}));
}

TEST(DrawContextText, RightAlignedLineStartsAtWholeMillimetres) {
    // At 4 px per mm, a line of 38 px starts 10 mm left of x (9.5 rounds to even), one of 34 px
    // starts 8 mm left (8.5 rounds to 8). Find such lines by size and length.
    for (int target : {38, 34}) {
        int foundSize = 0, foundCount = 0;
        QImage probe = WhiteBitmap(4, 4);
        TBitmapDrawContext measure(probe);
        measure.Transformation.Scale(4);
        for (int size = 4; size < 40 && !foundSize; ++size) {
            measure.Font.SetSize(size);
            for (int count = 1; count < 20; ++count) {
                int total = 0;
                for (int s : measure.TextAdvances(QString(count, u'H')))
                    total += s;
                if (total == target) {
                    foundSize = size;
                    foundCount = count;
                    break;
                }
            }
        }
        ASSERT_NE(foundSize, 0) << target;
        const QString text(foundCount, u'H');
        const float shift = target == 38 ? 10 : 8;

        QImage right = WhiteBitmap(200, 60);
        QImage left = WhiteBitmap(200, 60);
        {
            TBitmapDrawContext a(right), b(left);
            for (TBitmapDrawContext* dc : {&a, &b}) {
                dc->Transformation.Scale(4);
                dc->Font.SetSize(foundSize);
            }
            a.TextOut(text, 2, 30, 2);
            b.TextOut(text, 0, 30 - shift, 2);
        }
        EXPECT_GT(CountNonWhite(right), 0);
        EXPECT_EQ(right, left) << "total " << target;
    }
}

TEST(DrawContextText, TextRectMeasureOnlyDrawsNothing) {
    QImage image = WhiteBitmap(200, 100);
    TBitmapDrawContext dc(image);
    dc.Transformation.Scale(4);
    dc.Font.SetSize(12);
    const QString text = QStringLiteral("Ein Text, der umbrochen werden muss");
    const float measured = dc.TextRect(text, tfWordBreak | tfCalcRect, 0, 0, 30, 25);
    EXPECT_EQ(CountNonWhite(image), 0);
    const float drawn = dc.TextRect(text, tfWordBreak, 0, 0, 30, 25);
    EXPECT_FLOAT_EQ(measured, drawn);
    EXPECT_GT(CountNonWhite(image), 0);
    TWrappedLines lines;
    dc.WrapText(text, lines, 30);
    EXPECT_FLOAT_EQ(drawn, lines.size() * dc.TextHeight(QStringLiteral("Xy")));
    EXPECT_GT(lines.size(), 1u);

    EXPECT_EQ(dc.TextRect(QString(), tfWordBreak, 0, 0, 30, 25), 0.0f);
    EXPECT_EQ(dc.TextRect(QString(), 0, 0, 0, 30, 25), 0.0f);
    EXPECT_FLOAT_EQ(dc.TextRect(QStringLiteral("x"), tfCalcRect, 0, 0, 30, 25),
                    dc.TextHeight(QStringLiteral("x")));
}

TEST(DrawContextText, WrapTextBreaksAtSpacesHardBreaksAndInsideLongWords) {
    QImage image = WhiteBitmap(10, 10);
    TBitmapDrawContext dc(image);
    dc.Font.SetSize(10);
    TWrappedLines lines;

    const float abWidth = dc.TextWidth(QStringLiteral("a b"));
    dc.WrapText(QStringLiteral("a b"), lines, abWidth + 0.01f);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Text, QStringLiteral("a b"));
    EXPECT_TRUE(lines[0].HardBreak);

    dc.WrapText(QStringLiteral("a b"), lines, abWidth - 0.1f);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, QStringLiteral("a"));
    EXPECT_FALSE(lines[0].HardBreak);
    EXPECT_EQ(lines[1].Text, QStringLiteral("b"));

    dc.WrapText(QStringLiteral("eins\r\nzwei\r\n"), lines, 100);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, QStringLiteral("eins"));
    EXPECT_TRUE(lines[0].HardBreak);
    EXPECT_EQ(lines[1].Text, QStringLiteral("zwei"));

    dc.WrapText(QStringLiteral("eins\r\n\r\nzwei"), lines, 100);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].Text, QString());

    // A word longer than the line is cut inside the word; the pieces put together give it back.
    const QString word = QStringLiteral("Donaudampfschifffahrt");
    dc.WrapText(word, lines, dc.TextWidth(QStringLiteral("Donau")) + 0.01f);
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, QStringLiteral("Donau"));
    QString joined;
    for (const TWrappedLine& l : lines)
        joined += l.Text;
    EXPECT_EQ(joined, word);

    // Not even one character fits: one character per line, no endless loop.
    dc.WrapText(QStringLiteral("WWW"), lines, 0.01f);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].Text, QStringLiteral("W"));
}

TEST(DrawContextText, TextOutUnderRotationDrawsDownwards) {
    QImage image = WhiteBitmap(100, 100);
    TBitmapDrawContext dc(image);
    dc.Transformation.Translate(50, 10);
    dc.Transformation.Scale(2);
    dc.Transformation.Rotate(90);
    dc.Font.SetSize(20);
    dc.TextOut(QStringLiteral("HHHHHH"), 0, 0, 0);
    // Turned clockwise by a quarter: the line runs down from (50, 10) and lies left of x = 50.
    int inkBelow = 0, inkRight = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (image.pixel(x, y) != 0xFFFFFFFFu) {
                inkBelow += y > 40;
                inkRight += x > 52;
            }
    EXPECT_GT(inkBelow, 0);
    EXPECT_EQ(inkRight, 0);
}

TEST(DrawContextClip, ClipStackNestsAndEmptyRestoreRemovesClipping) {
    QImage image = WhiteBitmap(40, 40);
    TBitmapDrawContext dc(image);
    dc.SetPenStyle(psClear);
    dc.Brush().SetColor(0x000000);
    dc.ClipToRect(TDrawContext::cmReplace, 10, 10, 30, 30);
    dc.ClipToRect(TDrawContext::cmExclude, 15, 15, 25, 25);
    EXPECT_EQ(dc.ClipStackDepth(), 1);
    dc.Rectangle(0, 0, 40, 40);
    EXPECT_EQ(image.pixel(5, 5), 0xFFFFFFFFu);   // outside the first clip
    EXPECT_EQ(image.pixel(12, 12), 0xFF000000u); // inside
    EXPECT_EQ(image.pixel(20, 20), 0xFFFFFFFFu); // excluded hole
    EXPECT_EQ(image.pixel(29, 29), 0xFF000000u);
    EXPECT_EQ(image.pixel(30, 30), 0xFFFFFFFFu); // right and bottom edges excluded
    dc.RestoreClip();
    dc.Brush().SetColor(0x0000FF);
    dc.Rectangle(0, 0, 40, 40);
    EXPECT_EQ(image.pixel(20, 20), 0xFFFF0000u); // the hole is gone
    EXPECT_EQ(image.pixel(5, 5), 0xFFFFFFFFu);   // the outer clip holds
    dc.RestoreClip();
    dc.RestoreClip(); // empty stack: no clipping at all
    EXPECT_FALSE(dc.Canvas().ClipRegion().has_value());
    dc.Rectangle(0, 0, 40, 40);
    EXPECT_EQ(image.pixel(5, 5), 0xFFFF0000u);
}

TEST(DrawContextShapes, RotatedRectangleAndEllipse) {
    QImage image = WhiteBitmap(60, 60);
    TBitmapDrawContext dc(image);
    dc.SetPenStyle(psClear);
    dc.Brush().SetColor(0x000000);
    dc.RotatedRectangle(30, 30, 40, 10, 90);
    EXPECT_EQ(image.pixel(30, 12), 0xFF000000u); // turned upright
    EXPECT_EQ(image.pixel(12, 30), 0xFFFFFFFFu);
    EXPECT_EQ(dc.Transformation.StackDepth(), 0);

    QImage round = WhiteBitmap(60, 60);
    TBitmapDrawContext e(round);
    e.SetPenStyle(psClear);
    e.Brush().SetColor(0x000000);
    e.Ellipse(30, 30, 40, 40);
    EXPECT_EQ(round.pixel(30, 30), 0xFF000000u);
    EXPECT_EQ(round.pixel(12, 30), 0xFF000000u);
    EXPECT_EQ(round.pixel(13, 13), 0xFFFFFFFFu); // outside the curve near the corner
}
