#include "filters/uPictureFilter.h"

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "filters/uHSLMath.h"
#include "platform/Exception.h"
#include "platform/uImaging.h"
#include "render/uTransformation.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

namespace {

const char* const kOnly32Bit = "nur 32bit Bilder werden unterstützt";
const char* const kBadParameter = "Filterparameter ungültig";

// False for a null picture (nothing to do); raises for a format the filters do not take.
bool accepts(const QImage& bitmap) {
    if (bitmap.isNull())
        return false;
    switch (bitmap.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        throw Exception(QString::fromUtf8(kOnly32Bit));
    }
}

void requireFinite(std::initializer_list<float> parameters) {
    for (float p : parameters)
        if (!std::isfinite(p))
            throw Exception(QString::fromUtf8(kBadParameter));
}

int rowPercent(int row, int height) {
    // A single row is all of the picture (MulDiv by 0 would answer -1).
    return height <= 1 ? 100 : MulDiv(100, row, height - 1);
}

// Worker threads beside the calling one for a picture of this size; small pictures (previews)
// stay on the calling thread, where starting threads would cost more than it saves.
int extraWorkers(int width, int height, bool parallel) {
    if (!parallel || qint64(width) * height < (qint64(1) << 18))
        return 0;
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores - 1, 0, 7);
}

// Calls perRow(line, width) for every row. Rows go in blocks to the calling thread and, for large
// pictures of the slower filters, to worker threads as well; every row is filtered alone, so the
// pixels are the same either way. The calling thread reports each row's progress in row order, as
// soon as every row up to it is done.
template <class PerRow>
void runRows(QImage& target, const TFilterProgress& progress, bool parallel, const PerRow& perRow) {
    const int width = target.width();
    const int height = target.height();
    uchar* bits = target.bits(); // detaches here, on the calling thread
    const qsizetype stride = target.bytesPerLine();
    const auto line = [bits, stride](int y) { return reinterpret_cast<std::uint32_t*>(bits + y * stride); };

    constexpr int kBlock = 8;
    const int blocks = (height + kBlock - 1) / kBlock;
    std::atomic<int> next{0};
    std::vector<std::atomic<bool>> done(static_cast<size_t>(blocks));
    const auto takeBlock = [&]() {
        const int block = next.fetch_add(1, std::memory_order_relaxed);
        if (block >= blocks)
            return false;
        const int end = std::min(height, (block + 1) * kBlock);
        for (int y = block * kBlock; y < end; ++y)
            perRow(line(y), width);
        done[size_t(block)].store(true, std::memory_order_release);
        return true;
    };
    int reported = 0;
    const auto reportDone = [&]() {
        while (reported < height && done[size_t(reported / kBlock)].load(std::memory_order_acquire)) {
            if (progress)
                progress(rowPercent(reported, height));
            ++reported;
        }
    };

    std::vector<std::thread> workers;
    for (int i = extraWorkers(width, height, parallel); i > 0; --i) {
        try {
            workers.emplace_back([&takeBlock] {
                while (takeBlock()) {
                }
            });
        } catch (const std::system_error&) {
            break; // fewer threads; the calling thread takes whatever is left
        }
    }
    while (takeBlock())
        reportDone();
    for (std::thread& worker : workers)
        worker.join();
    reportDone();
}

// Runs perRow over every row on un-premultiplied pixels (see runRows).
template <class PerRow>
void forEachRow(QImage& bitmap, const TFilterProgress& progress, const PerRow& perRow,
                bool parallel = false) {
    const bool premultiplied = bitmap.format() == QImage::Format_ARGB32_Premultiplied;
    if (!premultiplied) {
        runRows(bitmap, progress, parallel, perRow);
        return;
    }
    QImage straight = bitmap.convertToFormat(QImage::Format_ARGB32);
    if (straight.isNull())
        throw Exception(QStringLiteral("Nicht genügend Speicher"));
    runRows(straight, progress, parallel, perRow);
    bitmap = straight.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

int roundToInt(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

QString CheckHKIG(float helligkeit, float kontrast, float intensitaet, float gamma) {
    const auto inUnitRange = [](float v) { return v >= -1.0f && v <= 1.0f; };
    if (!inUnitRange(helligkeit))
        return QStringLiteral("prozHelligkeit außerhalb von -1..1");
    if (!inUnitRange(kontrast))
        return QStringLiteral("prozKontrast außerhalb von -1..1");
    if (!inUnitRange(intensitaet))
        return QStringLiteral("prozIntensitaet außerhalb von -1..1");
    if (!(gamma >= 0.0001f && gamma <= 100.0f))
        return QStringLiteral("gamma außerhalb von 0,0001..100");
    return {};
}

std::array<std::uint8_t, 256> HKIGTable(float helligkeit, float kontrast, float intensitaet, float gamma) {
    // The factors are held as floats, the steps computed in double.
    const float c = kontrast >= 0
                        ? static_cast<float>(128.0 / (128.0 - 127.0 * static_cast<double>(kontrast)))
                        : static_cast<float>((128.0 + 127.0 * static_cast<double>(kontrast)) / 128.0);
    const float k = static_cast<float>(1.0 + static_cast<double>(intensitaet));
    const int lift = roundToInt(static_cast<double>(helligkeit) * 255.0);
    const double exponent = 1.0 / static_cast<double>(gamma);
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        int t = roundToInt(255.0 * std::pow(i / 255.0, exponent));
        t += lift;
        t = roundToInt(static_cast<double>(c) * (t - 128) + 128.0);
        t = roundToInt(static_cast<double>(k) * t);
        table[size_t(i)] = static_cast<std::uint8_t>(std::clamp(t, 0, 255));
    }
    return table;
}

void FilterHKIG(QImage& bitmap, float helligkeit, float kontrast, float intensitaet, float gamma,
                const TFilterProgress& progress) {
    if (!accepts(bitmap))
        return;
    const QString error = CheckHKIG(helligkeit, kontrast, intensitaet, gamma);
    if (!error.isEmpty())
        throw Exception(error);
    const std::array<std::uint8_t, 256> t = HKIGTable(helligkeit, kontrast, intensitaet, gamma);
    forEachRow(bitmap, progress, [&t](std::uint32_t* line, int width) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = line[x];
            line[x] = (p & 0xFF000000u) | (std::uint32_t(t[(p >> 16) & 0xFF]) << 16) |
                      (std::uint32_t(t[(p >> 8) & 0xFF]) << 8) | t[p & 0xFF];
        }
    });
}

void FilterHSL(QImage& bitmap, float hue, float saturation, float lightness,
               const TFilterProgress& progress) {
    if (!accepts(bitmap))
        return;
    requireFinite({hue, saturation, lightness});
    forEachRow(
        bitmap, progress,
        [=](std::uint32_t* line, int width) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t p = line[x];
                auto r = static_cast<std::uint8_t>(p >> 16);
                auto g = static_cast<std::uint8_t>(p >> 8);
                auto b = static_cast<std::uint8_t>(p);
                HSLMath::Shift(r, g, b, hue, saturation, lightness);
                line[x] = (p & 0xFF000000u) | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
            }
        },
        /*parallel=*/true);
}

void FilterSWCol(QImage& bitmap, float hue, float saturation, const TFilterProgress& progress) {
    if (!accepts(bitmap))
        return;
    requireFinite({hue, saturation});
    // One table of whole pixels (alpha left out) for every grey level.
    std::array<std::uint32_t, 256> tone{};
    for (int i = 0; i < 256; ++i) {
        std::uint8_t r, g, b;
        HSLMath::ToRGB(i / 255.0, static_cast<double>(saturation), static_cast<double>(hue), r, g, b);
        tone[size_t(i)] = (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
    }
    forEachRow(bitmap, progress, [&tone](std::uint32_t* line, int width) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = line[x];
            const std::uint32_t mean = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
            line[x] = (p & 0xFF000000u) | tone[mean];
        }
    });
}

bool ApplyFilter(TFBPictureElement& element, TPictureFilterKind kind) {
    switch (kind) {
    case TPictureFilterKind::HKIG:
        return element.FilterHKIG();
    case TPictureFilterKind::HSL:
        return element.FilterHSL();
    case TPictureFilterKind::RedEye:
        return element.FilterRedEye();
    case TPictureFilterKind::SWCol:
        return element.FilterSWCol();
    }
    return false;
}

namespace FilterDialogMath {

QSize Fit(QSize picture, QSize client) {
    const int w = std::max(1, picture.width());
    const int h = std::max(1, picture.height());
    int width = client.width();
    int height = MulDiv(client.width(), h, w);
    if (height > client.height()) {
        height = client.height();
        width = MulDiv(client.height(), w, h);
    }
    return {std::max(1, width), std::max(1, height)};
}

int QuarterTurn(int angle) {
    const int a = ((angle % 360) + 360) % 360;
    return a % 90 == 0 ? a : 0;
}

QImage Turned(const QImage& picture, int angle) {
    const int turn = QuarterTurn(angle);
    if (turn == 0 || picture.isNull())
        return picture.copy();
    const QImage source = Imaging::Normalised(picture);
    const int w = source.width();
    const int h = source.height();
    QImage result = turn == 180 ? QImage(w, h, source.format()) : QImage(h, w, source.format());
    if (result.isNull())
        return result;
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            // Clockwise: the top row becomes the right column.
            int tx, ty;
            if (turn == 90) {
                tx = h - 1 - y;
                ty = x;
            } else if (turn == 180) {
                tx = w - 1 - x;
                ty = h - 1 - y;
            } else {
                tx = y;
                ty = w - 1 - x;
            }
            reinterpret_cast<std::uint32_t*>(result.scanLine(ty))[tx] = in[x];
        }
    }
    return result;
}

QImage FittedCopy(const QImage& picture, int angle, QSize client) {
    if (picture.isNull())
        return {};
    const int turn = QuarterTurn(angle);
    const bool sideways = turn == 90 || turn == 270;
    const QSize shown = sideways ? picture.size().transposed() : picture.size();
    const QSize fitted = Fit(shown, client);
    // Scaling before turning costs the same pixels and touches far fewer.
    const QImage scaled = Imaging::ScaleBilinear(picture, sideways ? fitted.transposed() : fitted);
    if (scaled.isNull())
        return {};
    return Turned(scaled, turn);
}

THKIGParameters HKIGFromSliders(float helligkeit, float kontrast, float intensitaet, float gamma) {
    return {helligkeit / 100.0f, kontrast / 100.0f, intensitaet / 100.0f, gamma};
}

THSLParameters HSLFromSliders(float hue, float saturation, float lightness) {
    return {hue / 200.0f, saturation / 100.0f, lightness / 100.0f};
}

TSWColParameters SWColFromSliders(float hue, float saturation) {
    return {(hue + 100.0f) / 200.0f, (saturation + 100.0f) / 200.0f};
}

} // namespace FilterDialogMath
