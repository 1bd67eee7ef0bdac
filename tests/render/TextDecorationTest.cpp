// Underline and strike-out of drawn text: the line lies under (or through) the characters it
// belongs to, as one unbroken stroke, on a bitmap and on a PDF page, wherever the text is placed.
#include "render/uBitmapDrawContext.h"
#include "render/uFontCache.h"
#include "render/uPrinterDrawContext.h"
#include "render/uRTFDrawer.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage WhiteBitmap(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(0xFFFFFFFFu);
    return image;
}

// The pixels where two drawings differ: the decoration alone.
QRect DifferenceBox(const QImage& a, const QImage& b, int* count = nullptr) {
    QRect box;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                box |= QRect(x, y, 1, 1);
                ++n;
            }
    if (count)
        *count = n;
    return box;
}

// Inked pixels of [left, right) in the middle row of a decoration: an unbroken stroke inks them
// all (where it crosses a letter the letter's ink counts too).
int InkInMiddleRow(const QImage& image, const QRect& decoration, int left, int right) {
    const int y = decoration.center().y();
    int inked = 0;
    for (int x = left; x < right; ++x)
        inked += qGray(image.pixel(x, y)) < 128;
    return inked;
}

int TotalAdvance(TDrawContext& dc, const QString& text) {
    int total = 0;
    for (int s : dc.TextAdvances(text))
        total += s;
    return total;
}

struct TDrawn {
    QImage plain, decorated;
    int left = 0, top = 0, width = 0, ascent = 0, descent = 0;
};

// "HHHH" at 20 pt, 4 px per mm, its top-left corner at (x, y) mm.
TDrawn DrawBoth(TFontStyles style, float x, float y) {
    TDrawn d;
    d.plain = WhiteBitmap(500, 200);
    d.decorated = WhiteBitmap(500, 200);
    const QString text = QStringLiteral("HHHH");
    for (QImage* image : {&d.plain, &d.decorated}) {
        TBitmapDrawContext dc(*image);
        dc.Transformation.Scale(4);
        dc.Font.SetName(QStringLiteral("Arial"));
        dc.Font.SetSize(20);
        dc.Font.SetColor(0x000000);
        dc.Font.SetStyle(image == &d.plain ? TFontStyles(0) : style);
        dc.TextOut(text, 0, x, y);
        d.width = TotalAdvance(dc, text);
        const TTextMetric m = FontCache().GetFontInfo(dc.Font).MetricsAt(dc.FontHeightLogical());
        d.ascent = m.Ascent;
        d.descent = m.Descent;
    }
    d.left = qRound(x * 4);
    d.top = qRound(y * 4);
    return d;
}

} // namespace

TEST(TextDecoration, UnderlineAndStrikeOutSitOnTheirTextOnABitmap) {
    // Near the origin and far from it: a line drawn at a scaled position would leave the text.
    for (const TPointF at : {TPointF{1, 1}, TPointF{60, 25}}) {
        SCOPED_TRACE(at.X);
        const TDrawn under = DrawBoth(fsUnderline, at.X, at.Y);
        const int baseline = under.top + under.ascent;
        int count = 0;
        const QRect u = DifferenceBox(under.plain, under.decorated, &count);
        ASSERT_FALSE(u.isEmpty()) << "no underline drawn";
        EXPECT_GE(u.left(), under.left - 1);
        EXPECT_LE(u.right(), under.left + under.width);
        EXPECT_GE(u.top(), baseline);
        EXPECT_LE(u.bottom(), baseline + under.descent);
        EXPECT_GE(InkInMiddleRow(under.decorated, u, under.left, under.left + under.width), under.width - 1)
            << "the underline is one unbroken stroke";

        const TDrawn strike = DrawBoth(fsStrikeOut, at.X, at.Y);
        const QRect s = DifferenceBox(strike.plain, strike.decorated);
        ASSERT_FALSE(s.isEmpty()) << "no strike-out drawn";
        EXPECT_GE(s.left(), strike.left - 1);
        EXPECT_LE(s.right(), strike.left + strike.width);
        EXPECT_GT(s.top(), strike.top);
        EXPECT_LT(s.bottom(), baseline);
        EXPECT_GE(InkInMiddleRow(strike.decorated, s, strike.left, strike.left + strike.width),
                  strike.width - 1);
    }
}

TEST(TextDecoration, UnderlinedWordOfARichTextIsUnderlinedWhereItStands) {
    // The sample of the fault report: only "World" is underlined, its line lies right under it.
    const QString rtf =
        QStringLiteral(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs40 Hello \ul World\ulnone  again\par})");
    const QString plainRtf =
        QStringLiteral(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs40 Hello World again\par})");
    QImage decorated = WhiteBitmap(600, 200);
    QImage plain = WhiteBitmap(600, 200);
    for (QImage* image : {&decorated, &plain}) {
        TRTFDrawer drawer;
        drawer.SetRTF((image == &decorated ? rtf : plainRtf).toLatin1());
        TBitmapDrawContext dc(*image);
        dc.Transformation.Scale(4);
        drawer.DrawText(dc, 0, 80, 30, 120, 40, 0); // box from (20, 10) mm
    }
    ASSERT_NE(decorated, plain);
    const QRect u = DifferenceBox(decorated, plain);
    // "Hello " is 20 pt Arial: about 19 mm wide; "World" about 20 mm; the box starts at 80 px.
    QImage probe = WhiteBitmap(4, 4);
    TBitmapDrawContext dc(probe);
    dc.Transformation.Scale(4);
    dc.Font.SetName(QStringLiteral("Arial"));
    dc.Font.SetSize(20);
    const int hello = TotalAdvance(dc, QStringLiteral("Hello "));
    const int world = TotalAdvance(dc, QStringLiteral("World"));
    EXPECT_GE(u.left(), 80 + hello - 2);
    EXPECT_LE(u.right(), 80 + hello + world + 2);
    EXPECT_GE(u.top(), 40 + 20) << "below the first line's upper half";
    EXPECT_LE(u.bottom(), 40 + 50) << "within the first line";
    EXPECT_GE(InkInMiddleRow(decorated, u, 80 + hello + 1, 80 + hello + world - 1), world - 3);
}

TEST(TextDecoration, UnderlineAndStrikeOutOnAPdfPage) {
    const QString rasterizer = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (rasterizer.isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Page 1 plain, page 2 underlined, page 3 struck out; 150 dpi, text at (40, 30) mm.
    const QString pdfPath = dir.filePath(QStringLiteral("text.pdf"));
    const float ppm = 150 / 25.4f;
    int width = 0, ascent = 0, descent = 0;
    {
        QPdfWriter writer(pdfPath);
        writer.setResolution(150);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A6), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        TPrinterDrawContext dc(&writer);
        dc.Transformation.Scale(ppm);
        for (TFontStyles style : {TFontStyles(0), TFontStyles(fsUnderline), TFontStyles(fsStrikeOut)}) {
            if (style != 0)
                writer.newPage();
            dc.Font.SetName(QStringLiteral("Arial"));
            dc.Font.SetSize(20);
            dc.Font.SetColor(0x000000);
            dc.Font.SetStyle(style);
            dc.TextOut(QStringLiteral("HHHH"), 0, 40, 30);
            width = TotalAdvance(dc, QStringLiteral("HHHH"));
            const TTextMetric m = FontCache().GetFontInfo(dc.Font).MetricsAt(dc.FontHeightLogical());
            ascent = m.Ascent;
            descent = m.Descent;
        }
    }
    QProcess run;
    run.start(rasterizer, {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"), pdfPath,
                           dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(run.waitForFinished(60000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    QStringList pages = QDir(dir.path()).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name);
    ASSERT_EQ(pages.size(), 3);
    const QImage plain = QImage(dir.filePath(pages[0])).convertToFormat(QImage::Format_ARGB32);
    const QImage under = QImage(dir.filePath(pages[1])).convertToFormat(QImage::Format_ARGB32);
    const QImage strike = QImage(dir.filePath(pages[2])).convertToFormat(QImage::Format_ARGB32);
    const int left = qRound(40 * ppm), top = qRound(30 * ppm), baseline = top + ascent;

    const QRect u = DifferenceBox(plain, under);
    ASSERT_FALSE(u.isEmpty()) << "no underline on the page";
    EXPECT_GE(u.left(), left - 2);
    EXPECT_LE(u.right(), left + width + 2);
    EXPECT_GE(u.top(), baseline - 1);
    EXPECT_LE(u.bottom(), baseline + descent + 1);
    EXPECT_GE(InkInMiddleRow(under, u, left, left + width), width - 2);

    const QRect s = DifferenceBox(plain, strike);
    ASSERT_FALSE(s.isEmpty()) << "no strike-out on the page";
    EXPECT_GE(s.left(), left - 2);
    EXPECT_LE(s.right(), left + width + 2);
    EXPECT_GT(s.top(), top);
    EXPECT_LT(s.bottom(), baseline);
    EXPECT_GE(InkInMiddleRow(strike, s, left, left + width), width - 2);
}
