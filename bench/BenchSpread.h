#pragma once

// The spread of the rendering benchmarks: an 8:5 photo book spread (two 216 x 135 mm pages with
// cover margin) holding four photos (2400 x 1600, one of them turned by 4 degrees) with picture
// shadows and one text with a soft shadow, fitted into a 1920 x 1080 buffer.
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "support/PageElements.h"

#include <QImage>

#include <algorithm>
#include <vector>

namespace BenchSpread {

constexpr int kBufferW = 1920, kBufferH = 1080;
constexpr int kPhotoW = 2400, kPhotoH = 1600;

inline QImage Photo(int seed) {
    QImage image(kPhotoW, kPhotoH, QImage::Format_RGB32);
    for (int y = 0; y < kPhotoH; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < kPhotoW; ++x)
            row[x] = 0xFF000000u |
                     static_cast<uint32_t>(((x * (3 + seed)) & 255) << 16 | ((y * (2 + seed)) & 255) << 8 |
                                           ((x + y + seed * 40) & 255));
    }
    return image;
}

// The spread, built once; the document lives for the whole benchmark program.
struct TSpread {
    TFBDocument Doc;
    std::vector<TFBPictureElement*> Frames;
    float Scale = 1;
    float OffsetX = 0, OffsetY = 0;

    TSpread() {
        Doc.Reset();
        Doc.ScreenMode = 1;
        Doc.PageWidth = 216;
        Doc.PageHeight = 135;
        Doc.Stegbreite = 2;
        Doc.Umschlagbreite = 4;
        Doc.PicturesHaveShadows = true;
        TestSupport::addPages(Doc, 3);
        struct TPlace {
            int Page;
            float CX, CY, W, H, Angle;
        };
        const TPlace places[] = {{1, 56, 40, 90, 60, 0},
                                 {1, 150, 95, 100, 66, 4},
                                 {2, 108, 67.5f, 190, 118, 0},
                                 {2, 40, 30, 50, 34, 0}};
        int seed = 0;
        for (const TPlace& p : places) {
            auto* frame = TestSupport::placeElement<TFBPictureElement>(Doc.Pages.Items(p.Page), p.CX, p.CY,
                                                                       p.W, p.H, p.Angle);
            const int ref = TBildmanager::Instance().AddBitmap(Photo(seed++));
            frame->SetRefIndex(ref);
            TBildmanager::Instance().Release(ref);
            Frames.push_back(frame);
        }
        auto* text = TestSupport::placeElement<TFBTextElement>(Doc.Pages.Items(1), 108, 118, 150, 20);
        text->SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs48 Sommer am Meer, August}");
        text->SetHasShadow(true);

        const TFBSizeF size = Doc.ViewSize();
        Scale = std::min(kBufferW / size.Width, kBufferH / size.Height);
        OffsetX = (kBufferW - size.Width * Scale) / 2;
        OffsetY = (kBufferH - size.Height * Scale) / 2;
    }
};

inline TSpread& Spread() {
    static TSpread spread;
    return spread;
}

} // namespace BenchSpread
