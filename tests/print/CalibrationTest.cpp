// The printer calibration: numbers, the fold-line label, and where the two passes put the scale
// and the red line on the paper.
#include "print/FakePrinter.h"

#include "print/uKalibrierung.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace PrintTest;

namespace {

TEST(Calibration, NumbersFrom1To50GiveTenthsOfAMillimetre) {
    EXPECT_FLOAT_EQ(Kalibrierung::CalibrationValue(QStringLiteral("1")), 0.0f);
    EXPECT_FLOAT_EQ(Kalibrierung::CalibrationValue(QStringLiteral("13")), 1.2f);
    EXPECT_NEAR(Kalibrierung::CalibrationValue(QStringLiteral("50")), 4.9f, 1e-5);
    EXPECT_FLOAT_EQ(Kalibrierung::CalibrationValue(QStringLiteral("zwölf")), 0.0f);
    for (const char* valid : {"1", "25", "50"})
        EXPECT_TRUE(Kalibrierung::IsCalibrationNumber(QString::fromLatin1(valid))) << valid;
    for (const char* invalid : {"0", "51", "", "1.5", "x", "-3"})
        EXPECT_FALSE(Kalibrierung::IsCalibrationNumber(QString::fromLatin1(invalid))) << invalid;
}

TEST(Calibration, FoldLineLabelReadsFromTheDefaultShift) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Kalibrierung::FoldLineLabel(-1.2f), QStringLiteral("0,0 mm"));
    EXPECT_EQ(Kalibrierung::FoldLineLabel(-1.2f + 0.1f), QStringLiteral("0,1 mm nach links"));
    EXPECT_EQ(Kalibrierung::FoldLineLabel(-1.2f - 0.1f), QStringLiteral("0,1 mm nach rechts"));
    // Calibration number 13 is the default shift again.
    EXPECT_EQ(Kalibrierung::FoldLineLabel(-Kalibrierung::CalibrationValue(QStringLiteral("13"))),
              QStringLiteral("0,0 mm"));
    float shift = -1.2f;
    for (int i = 0; i < 10; ++i)
        shift += 0.1f;
    for (int i = 0; i < 10; ++i)
        shift -= 0.1f;
    EXPECT_EQ(Kalibrierung::FoldLineLabel(shift), QStringLiteral("0,0 mm"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Kalibrierung::FoldLineLabel(0.3f), QStringLiteral("1.5 mm nach links"));
    QLocale::setDefault(QLocale::system());
}

TEST(Calibration, HintsWrapAtBlanksAndHyphensWithinAThirdOfTheirLength) {
    const QString text = QStringLiteral("eins zwei-drei vier fünf sechs sieben acht neun zehn");
    const QStringList lines = Kalibrierung::WrapWords(text, static_cast<int>(text.size() / 3));
    EXPECT_EQ(lines.join(u'|'), QStringLiteral("eins zwei-drei|vier fünf sechs|sieben acht neun|zehn"));
    for (const QString& line : lines)
        EXPECT_LE(line.size(), text.size() / 3);
}

TEST(Calibration, ScaleAndRedLineLieWhereTheReadingExpects) {
    FakePrinter printer({QStringLiteral("Fotodrucker")}, 254);
    Kalibrierung::PrintSheets(printer, {1, 2});
    EXPECT_EQ(printer.sheets(), 2);
    EXPECT_EQ(printer.ended, 1);
    const RecordingEngine& e = printer.engine();

    // The red line of pass 2 runs across the width 148.5 mm below the top edge.
    bool red = false;
    for (const RecordedShape& s : e.shapes)
        if (s.Page == 1 && s.Pen == QColor(255, 0, 0)) {
            red = true;
            EXPECT_NEAR(s.Bounds.top(), 1485, 2);
            EXPECT_NEAR(s.Bounds.left(), 0, 2);
            EXPECT_NEAR(s.Bounds.right(), 2100, 2);
        }
    EXPECT_TRUE(red);

    // Bar i + 1 ends 148.5 + 0.1 i mm below the top edge; bar 1 lies near the right paper edge
    // (drawing y = 7 is paper x = 203), bar 50 towards the left (paper x = 7).
    std::vector<QRectF> bars;
    for (const RecordedShape& s : e.shapes)
        if (s.Page == 0 && s.Pen == QColor(0, 0, 0) && s.Bounds.height() > 40 && s.Bounds.width() < 5)
            bars.push_back(s.Bounds);
    ASSERT_EQ(bars.size(), 50u);
    EXPECT_NEAR(bars[0].left(), 2030, 2);
    EXPECT_NEAR(bars[0].bottom(), 1485, 2);
    EXPECT_NEAR(bars[49].left(), 70, 2);
    EXPECT_NEAR(bars[49].bottom(), 1534, 2);

    // The numbers end at drawing x = 142, 142 mm below the top edge: number 1 across from bar 1,
    // number 50 across from bar 50.
    bool one = false, fifty = false;
    for (const RecordedText& t : e.texts) {
        if (t.Page != 0 || t.At.y() < 1300 || t.At.y() > 1425)
            continue;
        one = one || std::abs(t.At.x() - 2050) < 30;
        fifty = fifty || std::abs(t.At.x() - 90) < 30;
    }
    EXPECT_TRUE(one);
    EXPECT_TRUE(fifty);
}

} // namespace
