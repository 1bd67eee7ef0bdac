#include "print/uKalibrierung.h"

#include "i18n/ulocalize.h"
#include "platform/uProgramInfo.h"
#include "print/uCurrentPrinter.h"
#include "print/uFotobuchPrinter.h"
#include "render/uPrinterDrawContext.h"

#include <QLocale>
#include <QPaintDevice>

#include <cmath>
#include <memory>

namespace Kalibrierung {

namespace {

const QString kArial = QStringLiteral("Arial");
constexpr TColor kGrey = 0x808080;
constexpr TColor kBlack = 0x000000;
constexpr TColor kRed = 0x0000FF;

QString hint1() {
    return Translate(
        QStringLiteral("Bogen in dieser Druckrichtung erneut in den Drucker einlegen und dann ein 2. "
                       "Mal auf dieses Blatt drucken"));
}

QString hint2() {
    return Translate(
        QStringLiteral("Wählen Sie die Zahl, deren vertikaler schwarzer Balken am nächsten die rote "
                       "Linie berührt"));
}

void setFont(TDrawContext& dc, int size, bool bold, TColor color) {
    dc.Font.SetName(kArial);
    dc.Font.SetSize(size);
    dc.Font.SetStyle(bold ? fsBold : 0);
    dc.Font.SetColor(static_cast<qint32>(color));
}

// A 47 mm arrow pointing towards -x: on the paper it points to the top edge.
void arrow(TDrawContext& dc, float px, float py) {
    dc.SetPenColor(kGrey);
    dc.SetPenWidth(1);
    std::vector<TPointF> points;
    for (const auto& [x, y] :
         {std::pair{0, 16}, {16, 0}, {16, 8}, {47, 8}, {47, 24}, {16, 24}, {16, 32}, {0, 16}})
        points.push_back(PointF(static_cast<float>(x) + px, static_cast<float>(y) + py));
    dc.Polyline(points);
}

void hint(TDrawContext& dc, const QString& text, float x, float y) {
    setFont(dc, 14, false, kBlack);
    const QStringList lines = WrapWords(text, static_cast<int>(text.size() / 3));
    for (int i = 0; i < lines.size(); ++i)
        dc.TextOut(lines[i], 0, x, y + 5.5f * static_cast<float>(i));
}

} // namespace

bool IsCalibrationNumber(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= kFirstNumber && n <= kLastNumber;
}

float CalibrationValue(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? static_cast<float>(n - 1) * 0.1f : 0.0f;
}

QString FoldLineLabel(float shift) {
    const float d = shift + 1.2f;
    const QLocale locale;
    if (std::fabs(d) < 1e-5f)
        return locale.toString(0.0, 'f', 1) + QStringLiteral(" mm");
    const QString text =
        Translate(d > 0 ? QStringLiteral("%.1f mm nach links") : QStringLiteral("%.1f mm nach rechts"));
    QString label = text;
    return label.replace(QLatin1String("%.1f"), locale.toString(static_cast<double>(std::fabs(d)), 'f', 1));
}

QStringList WrapWords(const QString& text, int maxLength) {
    // Pieces end after a break character; a line takes pieces while it stays within the length.
    QStringList pieces;
    QString piece;
    for (const QChar c : text) {
        piece += c;
        if (c == u' ' || c == u'-' || c == u'\t') {
            pieces << piece;
            piece.clear();
        }
    }
    if (!piece.isEmpty())
        pieces << piece;
    QStringList lines;
    QString line;
    for (const QString& p : pieces) {
        if (!line.isEmpty() && line.size() + p.trimmed().size() > maxLength) {
            lines << line.trimmed();
            line.clear();
        }
        line += p;
    }
    if (!line.trimmed().isEmpty())
        lines << line.trimmed();
    return lines;
}

void DrawPass(TDrawContext& dc, int pass, double dpiX, double dpiY) {
    TTransformationSaver saver(dc.Transformation);
    TTransformation& t = dc.Transformation;
    t.Scale(static_cast<float>(dpiX / 25.4), static_cast<float>(dpiY / 25.4));
    // The drawing is landscape (297 x 210): a point (x, y) lands at (210 - y, x) on the paper.
    t.Rotate(90);
    t.Translate(0, -210);
    dc.SetPenStyle(psSolid);
    if (pass == 1) {
        arrow(dc, 12, 12);
        arrow(dc, 12, 166);
        setFont(dc, 16, false, kBlack);
        dc.TextOut(QStringLiteral("Quelvarine"), 0, 68, 21);
        setFont(dc, 24, true, kBlack);
        dc.TextOut(Translate(QStringLiteral("Druckerjustage")), 0, 68, 26);
        dc.TextOut(QStringLiteral("1."), 0, 35, 84);
        hint(dc, hint1(), 25, 93);
        dc.SetPenColor(kBlack);
        dc.SetPenWidthPx(1);
        setFont(dc, 10, false, kBlack);
        for (int i = 0; i < 50; ++i) {
            const float end = 148.5f + 0.1f * static_cast<float>(i);
            const float y = 4.0f * static_cast<float>(i);
            dc.SetPenColor(kBlack);
            dc.SetPenWidthPx(1);
            dc.Line(143, y + 7, end, y + 7);
            dc.Line(end, y + 5.5f, end, y + 8.5f);
            dc.TextOut(QString::number(i + 1), 2, 142, y + 5);
        }
    } else {
        dc.SetPenColor(kRed);
        dc.SetPenWidthPx(1);
        dc.Line(148.5f, 0, 148.5f, 210);
        arrow(dc, 170, 89);
        setFont(dc, 24, true, kBlack);
        dc.TextOut(QStringLiteral("2."), 0, 205, 54);
        hint(dc, hint2(), 200, 63);
    }
}

void PrintSheets(TCurrentPrinter& printer, const QList<int>& pages) {
    if (pages.isEmpty())
        return;
    QPaintDevice* device = printer.BeginDocument(TFotobuchPrinter::JobTitle(ProgramInfo::ApplicationTitle()));
    auto dc = std::make_unique<TPrinterDrawContext>(device);
    try {
        for (int i = 0; i < pages.size(); ++i) {
            if (i > 0)
                printer.NewPage();
            for (int pass : {1, 2})
                if (pages[i] & pass)
                    DrawPass(*dc, pass, device->logicalDpiX(), device->logicalDpiY());
        }
    } catch (...) {
        dc->Canvas().EndPaint();
        printer.EndDocument();
        throw;
    }
    dc->Canvas().EndPaint();
    printer.EndDocument();
}

} // namespace Kalibrierung
