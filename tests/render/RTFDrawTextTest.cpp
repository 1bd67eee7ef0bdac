#include "document/uFotobuchDocument.h"
#include "render/uBitmapDrawContext.h"
#include "render/uPrinterDrawContext.h"
#include "render/uRTFDrawer.h"
#include "support/PageElements.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const QByteArray kText = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
                         "\\f0\\fs24 Unser Urlaub am Meer war wundersch\\'f6n: Sonne, Strand und "
                         "Foto-Ausfl\\'fcge jeden Tag.\\par\\f1\\b Erinnerungen f\\'fcr die ganze Familie}";

QImage whiteBitmap(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(0xFFFFFFFF);
    return image;
}

// Any darkened pixel, so that the soft edges of unhinted glyphs keep a line in one piece.
bool isInk(QRgb pixel) {
    return qGray(pixel) < 240;
}

// Rows with ink, grouped into bands of consecutive rows: (first row, last row).
std::vector<std::pair<int, int>> inkBands(const QImage& image) {
    std::vector<std::pair<int, int>> bands;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = isInk(image.pixel(x, y));
        if (ink && !inBand)
            bands.emplace_back(y, y);
        if (ink)
            bands.back().second = y;
        inBand = ink;
    }
    return bands;
}

// The lowest row with ink in the columns [x0, x1).
int lowestInk(const QImage& image, int x0, int x1) {
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = x0; x < x1; ++x) {
            if (isInk(image.pixel(x, y)))
                return y;
        }
    }
    return -1;
}

std::vector<std::pair<int, int>> lineTokens(const TRTFDrawer& drawer) {
    std::vector<std::pair<int, int>> lines;
    for (int i = 0; i < drawer.LineCount(); ++i)
        lines.emplace_back(drawer.Line(i).FirstToken, drawer.Line(i).LastToken);
    return lines;
}

} // namespace

TEST(RTFDrawText, SameLinesAtTwoZoomFactors) {
    std::vector<std::pair<int, int>> lines[2];
    std::vector<std::pair<int, int>> bands[2];
    const float zoom[2] = {3, 7.5f}; // pixels per mm
    for (int z = 0; z < 2; ++z) {
        TRTFDrawer drawer;
        drawer.SetRTF(kText);
        QImage bitmap = whiteBitmap(int(70 * zoom[z]), int(60 * zoom[z]));
        {
            TBitmapDrawContext context(bitmap);
            context.Transformation.Scale(zoom[z]);
            drawer.DrawText(context, 0, 35, 30, 60, 50, 0);
        }
        lines[z] = lineTokens(drawer);
        bands[z] = inkBands(bitmap);
    }
    ASSERT_GE(lines[0].size(), 3u);
    EXPECT_EQ(lines[0], lines[1]);
    // Every line shows as one band of ink at the same place in millimetres.
    ASSERT_EQ(bands[0].size(), lines[0].size());
    ASSERT_EQ(bands[1].size(), lines[1].size());
    for (size_t i = 0; i < bands[0].size(); ++i)
        EXPECT_NEAR(bands[0][i].first / zoom[0], bands[1][i].first / zoom[1], 0.5) << i;
}

TEST(RTFDrawText, BitmapAndPdfPrinterBreakIntoTheSameLines) {
    TRTFDrawer onScreen;
    onScreen.SetRTF(kText);
    QImage bitmap = whiteBitmap(200, 200);
    {
        TBitmapDrawContext context(bitmap);
        context.Transformation.Scale(96 / 25.4f);
        onScreen.DrawText(context, 3, 30, 30, 50, 40, 0);
    }

    TRTFDrawer onPaper;
    onPaper.SetRTF(kText);
    QByteArray pdf;
    QBuffer buffer(&pdf);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A5));
        TPrinterDrawContext context(&writer);
        context.Transformation.Scale(1200 / 25.4f);
        onPaper.DrawText(context, 3, 30, 30, 50, 40, 0);
    }
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(lineTokens(onScreen), lineTokens(onPaper));
    ASSERT_GE(onPaper.LineCount(), 3);
    // The printer's own font sizes were used for the baselines: about 12.5 times the screen's.
    const int screenHeight = onScreen.Token(0).DeviceHeight;
    const int paperHeight = onPaper.Token(0).DeviceHeight;
    ASSERT_GT(screenHeight, 0);
    EXPECT_NEAR(double(paperHeight) / screenHeight, 1200.0 / 96, 1.5);
}

TEST(RTFDrawText, TokensOfDifferentSizesShareOneBaseline) {
    TRTFDrawer drawer;
    drawer.SetRTF("{\\fs20 xxx\\fs72 xxx\\fs30 xxx}");
    QImage bitmap = whiteBitmap(400, 200);
    {
        TBitmapDrawContext context(bitmap);
        context.Transformation.Scale(5);
        drawer.DrawText(context, 0, 40, 20, 80, 40, 0);
    }
    // "x" has no descender: its lowest ink row is the baseline.
    const float x1 = 5 * (drawer.Token(0).Width + 0);
    const float x2 = 5 * (drawer.Token(0).Width + drawer.Token(1).Width);
    const int small = lowestInk(bitmap, 0, int(x1) - 1);
    const int large = lowestInk(bitmap, int(x1) + 2, int(x2) - 1);
    const int middle = lowestInk(bitmap, int(x2) + 2, bitmap.width());
    ASSERT_GT(small, 0);
    EXPECT_NEAR(small, large, 1);
    EXPECT_NEAR(middle, large, 1);
}

TEST(RTFDrawText, OverflowingTextStaysInsideTheBox) {
    TRTFDrawer drawer;
    drawer.SetRTF(kText);
    QImage bitmap = whiteBitmap(400, 400);
    {
        TBitmapDrawContext context(bitmap);
        context.Transformation.Scale(4);
        // Box 40 x 12 mm centred at (50, 50): top 44, bottom 56; the text needs more.
        context.ClipToRect(TDrawContext::cmIntersect, 30, 44, 70, 56);
        drawer.DrawText(context, 1, 50, 50, 40, 12, 1);
        context.RestoreClip();
    }
    const auto bands = inkBands(bitmap);
    ASSERT_FALSE(bands.empty());
    // Centred vertically but too tall: it starts at the box top instead of above it.
    EXPECT_GE(bands.front().first, 44 * 4);
    EXPECT_LE(bands.front().first, 44 * 4 + 8);
    EXPECT_LE(bands.back().second, 56 * 4);
    EXPECT_LT(bands.size(), size_t(drawer.LineCount()));
}

TEST(RTFDrawText, TextElementDrawsTurnedAndClippedToItsBox) {
    TFBDocument doc;
    TFBPage* page = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
    auto* text = TestSupport::placeElement<TFBTextElement>(page, 50, 50, 40, 10);
    text->SetRTF(kText);
    text->SetHorzAlign(1);

    QImage flat = whiteBitmap(400, 400);
    {
        TBitmapDrawContext context(flat);
        context.Transformation.Scale(4);
        DrawTextElementText(context, *text);
        EXPECT_EQ(context.ClipStackDepth(), 0);
        EXPECT_EQ(context.Transformation.StackDepth(), 0);
    }
    const auto bands = inkBands(flat);
    ASSERT_FALSE(bands.empty());
    EXPECT_GE(bands.front().first, 45 * 4);
    EXPECT_LE(bands.back().second, 55 * 4);

    // A quarter turn puts the text into a tall box instead.
    text->Angle = 90;
    QImage turned = whiteBitmap(400, 400);
    {
        TBitmapDrawContext context(turned);
        context.Transformation.Scale(4);
        DrawTextElementText(context, *text);
    }
    const auto turnedBands = inkBands(turned);
    ASSERT_FALSE(turnedBands.empty());
    EXPECT_LT(turnedBands.front().first, 45 * 4);
    EXPECT_GT(turnedBands.back().second, 55 * 4);

    // Outside the visible area nothing is drawn and nothing is left on the clip stack.
    QImage hidden = whiteBitmap(400, 400);
    {
        TBitmapDrawContext context(hidden);
        context.Transformation.Scale(4);
        context.ClipRect = TRect{0, 0, 10, 10};
        DrawTextElementText(context, *text);
        EXPECT_EQ(context.ClipStackDepth(), 0);
    }
    EXPECT_TRUE(inkBands(hidden).empty());
}
