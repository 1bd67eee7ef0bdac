#include "catalogue/uWizardPreview.h"

#include "calendar/uKalender.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The neutral background around the drawn view, and the share of the picture the view may take.
constexpr QRgb kBackgroundTop = 0xFFE9E9E7;
constexpr QRgb kBackgroundBottom = 0xFFD3D3D0;
constexpr double kViewShare = 0.86;
constexpr int kPhotoLongSide = 480;
constexpr int kPhotoVariants = 5;

struct TPhotoColors {
    QColor SkyTop, SkyBottom, Sun, FarHills, NearHills, Water;
};

// Five moods: morning, noon, sunset, dusk and autumn.
const std::array<TPhotoColors, kPhotoVariants> kMoods = {{
    {QColor(0x6F, 0xA8, 0xDC), QColor(0xD8, 0xEC, 0xF8), QColor(0xFF, 0xF4, 0xC8), QColor(0x7F, 0x9F, 0x8A),
     QColor(0x3E, 0x7A, 0x3A), QColor(0x4C, 0x8C, 0xB8)},
    {QColor(0x2F, 0x7F, 0xD0), QColor(0xA6, 0xD4, 0xF2), QColor(0xFF, 0xFF, 0xE8), QColor(0x8C, 0xA8, 0x6C),
     QColor(0x5A, 0x8F, 0x2C), QColor(0x1F, 0x6F, 0xA8)},
    {QColor(0x5B, 0x3C, 0x88), QColor(0xF7, 0xA2, 0x5B), QColor(0xFF, 0xD8, 0x6A), QColor(0x8A, 0x4E, 0x6A),
     QColor(0x40, 0x2A, 0x40), QColor(0xC8, 0x70, 0x58)},
    {QColor(0x1C, 0x2A, 0x4A), QColor(0x6A, 0x7E, 0xA8), QColor(0xF0, 0xE6, 0xC0), QColor(0x3A, 0x4A, 0x62),
     QColor(0x1E, 0x28, 0x36), QColor(0x34, 0x4C, 0x70)},
    {QColor(0x8C, 0xB8, 0xD8), QColor(0xF0, 0xE2, 0xC0), QColor(0xFF, 0xF0, 0xD0), QColor(0xC0, 0x8A, 0x3A),
     QColor(0x9A, 0x4A, 0x1E), QColor(0x5A, 0x86, 0x9A)},
}};

QPainterPath hills(double width, double height, double base, double amplitude, double phase) {
    QPainterPath path;
    path.moveTo(0, height);
    constexpr int kSteps = 48;
    for (int i = 0; i <= kSteps; ++i) {
        const double x = width * i / kSteps;
        const double t = static_cast<double>(i) / kSteps;
        const double y =
            base - amplitude * (0.6 * std::sin(t * 5.1 + phase) + 0.4 * std::sin(t * 11.3 + 2 * phase));
        path.lineTo(x, y);
    }
    path.lineTo(width, height);
    path.closeSubpath();
    return path;
}

// The frames of a page in the order they are drawn.
template <typename F>
void forEachFrame(TFBDocument& document, F&& visit) {
    for (int p = 0; p < document.Pages.Count(); ++p) {
        TFBPage* page = document.Pages.Items(p);
        for (int i = 0; i < page->Pictures.Count(); ++i)
            visit(*static_cast<TFBPictureElement*>(page->Pictures.Items(i)));
    }
}

} // namespace

int PreviewView(const TFBDocument& document) {
    if (document.IsCalendar()) {
        for (int p = 0; p < document.Pages.Count(); ++p) {
            const TFBPage* page = document.Pages.Items(p);
            if (page->Calendars.Count() > 0 && page->Calendar(0)->Data->Monat == 1)
                return document.ViewOfPage(p);
        }
        return 0;
    }
    for (int view = 0; view < document.ViewCount(); ++view)
        if (document.LeftPage(view) && document.RightPage(view))
            return view;
    return 0;
}

QImage SamplePhoto(int index, QSize size) {
    const TPhotoColors& mood = kMoods[static_cast<size_t>(std::abs(index) % kPhotoVariants)];
    QImage photo(size, QImage::Format_RGB32);
    const double w = size.width(), h = size.height();
    QPainter painter(&photo);
    painter.setRenderHint(QPainter::Antialiasing);
    const double horizon = h * (0.55 + 0.05 * (index % 3));

    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, mood.SkyTop);
    sky.setColorAt(1, mood.SkyBottom);
    painter.fillRect(photo.rect(), sky);

    const double sunX = w * (0.25 + 0.12 * (index % 5)), sunY = horizon * 0.45, sunR = std::min(w, h) * 0.09;
    QRadialGradient glow(sunX, sunY, sunR * 3.5);
    QColor halo = mood.Sun;
    halo.setAlpha(110);
    glow.setColorAt(0, halo);
    glow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(photo.rect(), glow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(mood.Sun);
    painter.drawEllipse(QPointF(sunX, sunY), sunR, sunR);

    QLinearGradient water(0, horizon, 0, h);
    water.setColorAt(0, mood.Water.lighter(130));
    water.setColorAt(1, mood.Water.darker(140));
    painter.fillRect(QRectF(0, horizon, w, h - horizon), water);

    painter.setBrush(mood.FarHills);
    painter.drawPath(hills(w, h, horizon, h * 0.12, index * 0.9));
    painter.setBrush(mood.NearHills);
    painter.drawPath(hills(w, h, horizon + h * 0.18, h * 0.1, index * 1.7 + 1));
    painter.end();
    return photo;
}

void FillWithSamplePhotos(TFBDocument& document) {
    TBildmanager& pictures = TBildmanager::Instance();
    // One landscape and one portrait picture per variant, made when first needed.
    std::array<int, 2 * kPhotoVariants> refs;
    refs.fill(-1);
    int frameIndex = 0;
    forEachFrame(document, [&](TFBPictureElement& frame) {
        const bool portrait = frame.Height > frame.Width;
        const int variant = frameIndex++ % kPhotoVariants;
        int& ref = refs[static_cast<size_t>(variant * 2 + (portrait ? 1 : 0))];
        if (ref == -1) {
            const QSize size = portrait ? QSize(kPhotoLongSide * 3 / 4, kPhotoLongSide)
                                        : QSize(kPhotoLongSide, kPhotoLongSide * 3 / 4);
            ref = pictures.AddBitmap(SamplePhoto(variant, size));
            frame.SetRefIndex(ref);
            pictures.Release(ref); // the frame holds the one use the new entry came with
        } else {
            frame.SetRefIndex(ref);
        }
    });
}

QImage RenderProductPreview(int productCode, int year, QSize size) {
    TFBDocument document;
    if (!CreateProductDocument(document, productCode, year))
        return {};
    FillWithSamplePhotos(document);
    const int view = PreviewView(document);

    QImage preview(size, QImage::Format_ARGB32);
    {
        QPainter painter(&preview);
        QLinearGradient background(0, 0, 0, size.height());
        background.setColorAt(0, QColor::fromRgb(kBackgroundTop));
        background.setColorAt(1, QColor::fromRgb(kBackgroundBottom));
        painter.fillRect(preview.rect(), background);
    }

    // The view fitted into the middle share of the picture, same scale both ways.
    const TFBSizeF viewSize = document.ViewSize();
    const double scale =
        std::min(size.width() * kViewShare / viewSize.Width, size.height() * kViewShare / viewSize.Height);
    const double left = std::round((size.width() - viewSize.Width * scale) / 2);
    const double top = std::round((size.height() - viewSize.Height * scale) / 2);
    {
        TBitmapDrawContext dc(preview);
        dc.Transformation.Translate(static_cast<float>(left), static_cast<float>(top));
        dc.Transformation.Scale(static_cast<float>(scale));
        DocumentDrawer().DrawView(document, dc, 0, view);
        dc.ReleaseCanvas();
    }
    return preview;
}
