#include "editing/uTracker.h"

#include "document/uFotobuchDocument.h"
#include "render/uDrawContext.h"
#include "render/uTransformation.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr TColor kBlack = 0x000000;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kRed = 0x0000FF;

// Puts the tracker's local frame onto t for the life of the object.
class TLocalFrame {
public:
    TLocalFrame(TTransformation& t, float cx, float cy, float angle) : saver_(t) {
        t.Translate(cx, cy);
        t.Rotate(angle);
    }

private:
    TTransformationSaver saver_;
};

int roundPx(float v) {
    return static_cast<int>(std::lrint(v));
}

} // namespace

void TTracker::Assign(const TFBElement& element) {
    CenterX = element.CenterX;
    CenterY = element.CenterY;
    Width = element.Width;
    Height = element.Height;
    Angle = element.Angle;
}

float TTracker::sixPixels(TTransformation& t) {
    float vx, vy;
    t.InverseTransformVector(static_cast<float>(kHandleSize), 0, vx, vy);
    return std::sqrt(vx * vx + vy * vy);
}

TTracker::THandlePos TTracker::handlePosition(int n, float d) const {
    const float w = Width / 2;
    const float h = Height / 2;
    switch (n) {
    case 1:
        return {-w, -h};
    case 2:
        return {0, -h};
    case 3:
        return {w, -h};
    case 4:
        return {w, 0};
    case 5:
        return {w, h};
    case 6:
        return {0, h};
    case 7:
        return {-w, h};
    case 8:
        return {-w, 0};
    default:
        return {w + 2 * d, 0};
    }
}

int TTracker::HitTest(TTransformation& t, int x, int y) const {
    TLocalFrame frame(t, CenterX, CenterY, Angle);
    const float d = sixPixels(t);
    for (int n = 1; n <= kRotateHandle; ++n) {
        const THandlePos h = handlePosition(n, d);
        float px, py;
        t.Transform(h.X, h.Y, px, py);
        // Non-finite positions compare false and so never hit.
        if (std::fabs(static_cast<float>(x) - px) <= kHitTolerance &&
            std::fabs(static_cast<float>(y) - py) <= kHitTolerance)
            return n;
    }
    return 0;
}

bool TTracker::BeginDrag(TTransformation& t, int x, int y) {
    DragHandle = static_cast<uint8_t>(HitTest(t, x, y));
    if (DragHandle == 0)
        return false;
    LastX = x;
    LastY = y;
    dragCursor_ = crRotate;
    return true;
}

void TTracker::Drag(TTransformation& t, int x, int y) {
    if (DragHandle == 0)
        return;
    float ax, ay, bx, by, cx, cy;
    {
        TLocalFrame frame(t, CenterX, CenterY, Angle);
        t.InverseTransform(static_cast<float>(LastX), static_cast<float>(LastY), ax, ay);
        t.InverseTransform(static_cast<float>(x), static_cast<float>(y), bx, by);
        t.Transform(0, 0, cx, cy);
    }
    if (DragHandle == kRotateHandle) {
        Angle += VectorAngle(bx, by);
        const float r = std::hypot(static_cast<float>(x) - cx, static_cast<float>(y) - cy);
        float step = 0;
        if (r < 50) {
            step = 15;
            dragCursor_ = crRotate15;
        } else if (r < 75) {
            step = 10;
            dragCursor_ = crRotate10;
        } else if (r < 150) {
            step = 5;
            dragCursor_ = crRotate5;
        } else if (r < 225) {
            step = 1;
            dragCursor_ = crRotate1;
        } else {
            dragCursor_ = crRotate;
        }
        if (step > 0)
            Angle = SnapToGrid(Angle, step);
    } else {
        const float dx = bx - ax;
        const float dy = by - ay;
        float l = -Width / 2, top = -Height / 2, r = Width / 2, b = Height / 2;
        const bool movesLeft = DragHandle == 1 || DragHandle == 7 || DragHandle == 8;
        const bool movesRight = DragHandle >= 3 && DragHandle <= 5;
        const bool movesTop = DragHandle >= 1 && DragHandle <= 3;
        const bool movesBottom = DragHandle >= 5 && DragHandle <= 7;
        if (movesLeft)
            l += dx;
        if (movesRight)
            r += dx;
        if (movesTop)
            top += dy;
        if (movesBottom)
            b += dy;
        Width = r - l;
        Height = b - top;
        // The local centre shift turned onto the page, so the opposite edges stay in place.
        TTransformation turn;
        turn.Rotate(Angle);
        float sx, sy;
        turn.Transform((l + r) / 2, (top + b) / 2, sx, sy);
        CenterX += sx;
        CenterY += sy;
    }
    LastX = x;
    LastY = y;
}

bool TTracker::GetCursor(TTransformation& t, int x, int y, int& cursor) const {
    const int handle = HitTest(t, x, y);
    if (handle == 0)
        return false;
    if (handle == kRotateHandle) {
        cursor = crRotate;
        return true;
    }
    float ox, oy, ex, ey;
    {
        TLocalFrame frame(t, CenterX, CenterY, Angle);
        t.Transform(0, 0, ox, oy);
        t.Transform(Width / 2, 0, ex, ey);
    }
    float theta = VectorAngle(ex - ox, ey - oy);
    if (handle == 2 || handle == 6)
        theta += 90;
    else if (handle == 3 || handle == 7)
        theta += 135;
    else if (handle == 1 || handle == 5)
        theta += 45;
    while (theta >= 180)
        theta -= 180;
    while (theta < 0)
        theta += 180;
    if (theta < 22.5f || theta >= 157.5f)
        cursor = crSizeHorizontal;
    else if (theta < 67.5f)
        cursor = crSizeDiagonalDown;
    else if (theta < 112.5f)
        cursor = crSizeVertical;
    else
        cursor = crSizeDiagonalUp;
    return true;
}

void TTracker::Paint(TDrawContext& dc, float scale) const {
    TTransformation& t = dc.Transformation;
    THandlePos device[kRotateHandle];
    {
        TLocalFrame frame(t, CenterX, CenterY, Angle);
        // The rotate handle sits 12 logical pixels beyond the right edge.
        float vx, vy;
        t.InverseTransformVector(kHandleSize * scale, 0, vx, vy);
        const float d = std::sqrt(vx * vx + vy * vy);
        for (int n = 1; n <= kRotateHandle; ++n) {
            const THandlePos h = handlePosition(n, d);
            t.Transform(h.X, h.Y, device[n - 1].X, device[n - 1].Y);
        }
    }
    const float size = kHandleSize * scale;
    TTransformationSaver saver(t);
    t.Reset();
    dc.SetPenColor(kBlack);
    dc.SetPenStyle(psSolid);
    dc.SetPenWidthPx(std::max(1, roundPx(scale)));
    dc.Brush().SetStyle(bsSolid);
    dc.Brush().SetColor(kGreen);
    for (int n = 0; n < kRotateHandle - 1; ++n)
        if (std::isfinite(device[n].X) && std::isfinite(device[n].Y))
            dc.CenteredRectangle(device[n].X, device[n].Y, size, size);
    dc.Brush().SetColor(kRed);
    const THandlePos& r = device[kRotateHandle - 1];
    if (std::isfinite(r.X) && std::isfinite(r.Y))
        dc.Ellipse(r.X, r.Y, size, size);
    dc.SetPenWidthPx(1);
}

void TTracker::Invalidate(TInvalidateTarget& window, TTransformation& t) const {
    TLocalFrame frame(t, CenterX, CenterY, Angle);
    const float d = sixPixels(t);
    for (int n = 1; n <= kRotateHandle; ++n) {
        const THandlePos h = handlePosition(n, d);
        float px, py;
        t.Transform(h.X, h.Y, px, py);
        // Far outside any window (or not a number): nothing of it can be on the screen.
        if (!(std::fabs(px) < 1e6f && std::fabs(py) < 1e6f))
            continue;
        window.InvalidateRect(TRect{roundPx(px - kHitTolerance) - 2, roundPx(py - kHitTolerance) - 2,
                                    roundPx(px + kHitTolerance) + 2, roundPx(py + kHitTolerance) + 2});
    }
}
