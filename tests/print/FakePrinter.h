#pragma once

// A printer for tests: a configurable paper list, copy limit and resolution, and a paint device
// that records what reaches the paper (images with their device rectangles, shapes and texts)
// instead of printing it.

#include "platform/Exception.h"
#include "print/uCurrentPrinter.h"
#include "print/uFotobuchPrinter.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace PrintTest {

struct RecordedImage {
    int Page = 0;
    QRect Target; // device pixels
    QImage Image;
};

struct RecordedShape {
    int Page = 0;
    QRectF Bounds; // device pixels
    QColor Pen;
};

struct RecordedText {
    int Page = 0;
    QPointF At;
    QString Text;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyPen)
            pen_ = state.pen().color();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF& r, const QImage& image, const QRectF&, Qt::ImageConversionFlags) override {
        images.push_back({page, transform().mapRect(r).toAlignedRect(), image});
    }
    void drawPath(const QPainterPath& path) override { shape(transform().map(path).boundingRect()); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
        QPolygonF polygon;
        for (int i = 0; i < count; ++i)
            polygon << points[i];
        shape(transform().map(polygon).boundingRect());
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
        QPolygonF polygon;
        for (int i = 0; i < count; ++i)
            polygon << QPointF(points[i]);
        drawPolygon(polygon.constData(), count, mode);
    }
    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i)
            shape(transform().map(QPolygonF({lines[i].p1(), lines[i].p2()})).boundingRect());
    }
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i)
            shape(
                transform().map(QPolygonF({QPointF(lines[i].p1()), QPointF(lines[i].p2())})).boundingRect());
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i)
            shape(transform().mapRect(rects[i]));
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i)
            shape(transform().mapRect(QRectF(rects[i])));
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        texts.push_back({page, transform().map(p), item.text()});
    }
    Type type() const override { return QPaintEngine::User; }

    int page = 0;
    std::vector<RecordedImage> images;
    std::vector<RecordedShape> shapes;
    std::vector<RecordedText> texts;

private:
    QTransform transform() const { return painter() ? painter()->combinedTransform() : QTransform(); }
    void shape(const QRectF& bounds) { shapes.push_back({page, bounds, pen_}); }
    QColor pen_;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(QSizeF sizeMM, int dpi)
        : width_(static_cast<int>(std::lround(sizeMM.width() / 25.4 * dpi))),
          height_(static_cast<int>(std::lround(sizeMM.height() / 25.4 * dpi))), dpi_(dpi) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return width_;
        case PdmHeight:
            return height_;
        case PdmWidthMM:
            return static_cast<int>(width_ * 25.4 / dpi_);
        case PdmHeightMM:
            return static_cast<int>(height_ * 25.4 / dpi_);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi_;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 0;
        }
    }
    mutable RecordingEngine engine;

private:
    int width_, height_, dpi_;
};

class FakePrinter : public TCurrentPrinter {
public:
    FakePrinter(QStringList names = {QStringLiteral("Fotodrucker"), QStringLiteral("Buero")}, int dpi = 254)
        : names_(std::move(names)), dpi_(dpi) {
        Select(names_.first());
    }

    QStringList PrinterNames() const override { return names_; }
    QString DefaultPrinterName() const override { return names_.first(); }
    TQueueDescription Describe() const override {
        return {SelectedName(), MakeAndModelOf(SelectedName()), QStringLiteral("Flur"),
                QStringLiteral("Tinte"), SelectedName() == names_.first()};
    }
    bool SupportsCustomPageSizes() const override { return customSizes; }
    int MaxCopies() const override { return maxCopies; }
    int JobResolution() const override { return dpi_; }

    QString MakeAndModelOf(const QString& name) const { return QStringLiteral("Modell ") + name; }

    bool customSizes = true;
    int maxCopies = 1;
    bool failOnEnd = false;
    std::vector<TPaperInfo> papers{
        {QStringLiteral("A4"), 2100, 2970, 9, QStringLiteral("A4"), QStringLiteral("A4.Borderless")},
        {QStringLiteral("Legal"), 2159, 3556, 5, QStringLiteral("Legal"), QString()},
    };

    // The job's record.
    std::unique_ptr<RecordingDevice> device;
    int begun = 0;
    int ended = 0;
    int aborted = 0;
    QString title;
    TJobPaper paper;
    int sheets() const { return device ? device->engine.page + 1 : 0; }
    RecordingEngine& engine() const { return device->engine; }

protected:
    std::vector<TPaperInfo> DriverPapers() const override { return papers; }
    TDeviceMode DriverDefaults() const override {
        TDeviceMode mode;
        mode.QueueName = SelectedName();
        mode.MakeAndModel = MakeAndModelOf(SelectedName());
        mode.Fields = TDeviceMode::fPaperSize | TDeviceMode::fCopies | TDeviceMode::fColor;
        mode.PaperSize = 9;
        mode.Color = TDeviceMode::kColorMonochrome;
        return mode;
    }
    QPaintDevice* OpenDocument(const QString& t) override {
        ++begun;
        title = t;
        paper = JobPaper();
        device = std::make_unique<RecordingDevice>(paper.SizeMM, dpi_);
        return device.get();
    }
    void NextPage() override { ++device->engine.page; }
    void CloseDocument() override {
        if (failOnEnd)
            throw Exception(QStringLiteral("lp: Auftrag nicht angenommen"));
        ++ended;
    }
    void DiscardDocument() override { ++aborted; }

private:
    QStringList names_;
    int dpi_;
};

// Answers the print dialog as set, counts messages and can press cancel after a number of polls.
class FakeUi : public TPrintUi {
public:
    void Information(const QString& text) override { messages << text; }
    void Error(const QString& text) override { errors << text; }
    std::optional<TPrintDialogAnswer> AskPrintDialog(const TPrintDialogRequest& r) override {
        request = r;
        asked = true;
        return answer;
    }
    void ShowProgress(const QString& text) override { progress << text; }
    bool IsCancelled() override { return cancelAfter >= 0 && ++polls > cancelAfter; }
    void CloseProgress() override { ++closed; }

    std::optional<TPrintDialogAnswer> answer = TPrintDialogAnswer{};
    TPrintDialogRequest request;
    bool asked = false;
    QStringList messages, errors, progress;
    int cancelAfter = -1;
    int polls = 0;
    int closed = 0;
};

} // namespace PrintTest
