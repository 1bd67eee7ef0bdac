#include "render/uTransformation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const float kIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

// Round to nearest with ties to even, wrapped to 32 bits like the processor's conversion.
int32_t RoundToInt32(double v) {
    if (!std::isfinite(v))
        return 0;
    if (v >= 9.2e18 || v <= -9.2e18)
        return 0;
    return static_cast<int32_t>(std::llrint(v));
}

// r := a x b, all row-major 3x3.
void Multiply(const float* a, const float* b, float* r) {
    float t[9];
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            t[row * 3 + col] = a[row * 3 + 0] * b[0 * 3 + col] + a[row * 3 + 1] * b[1 * 3 + col] +
                               a[row * 3 + 2] * b[2 * 3 + col];
        }
    }
    std::memcpy(r, t, sizeof t);
}

void FixedForm(const float* m, double scale, int32_t* out) {
    for (int i = 0; i < 9; ++i)
        out[i] = RoundToInt32(static_cast<double>(m[i]) * scale);
}

} // namespace

TRect IntersectRect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty())
        return TRect{};
    return r;
}

TTransformation::TTransformation() {
    std::memcpy(matrix_, kIdentity, sizeof matrix_);
    std::memcpy(inverse_, kIdentity, sizeof inverse_);
    std::fill(std::begin(forward2012_), std::end(forward2012_), 0);
    std::fill(std::begin(inverse2012_), std::end(inverse2012_), 0);
    std::fill(std::begin(forward1616_), std::end(forward1616_), 0);
    std::fill(std::begin(inverse1616_), std::end(inverse1616_), 0);
}

TTransformation::~TTransformation() {
    PopAll();
}

void TTransformation::Reset() {
    std::memcpy(matrix_, kIdentity, sizeof matrix_);
    valid_ = false;
}

void TTransformation::PostMultiply(const float* x) {
    Multiply(matrix_, x, matrix_);
    valid_ = false;
}

void TTransformation::Translate(float dx, float dy) {
    const float t[9] = {1, 0, dx, 0, 1, dy, 0, 0, 1};
    PostMultiply(t);
}

void TTransformation::Scale(float sx, float sy) {
    const float s[9] = {sx, 0, 0, 0, sy, 0, 0, 0, 1};
    PostMultiply(s);
}

void TTransformation::RotateAt(float cx, float cy, float angle) {
    valid_ = false;
    const bool shifted = cx != 0 || cy != 0;
    if (shifted)
        Translate(cx, cy);
    const double a = static_cast<double>(angle) * M_PI / 180.0;
    float c = static_cast<float>(std::cos(a));
    float s = static_cast<float>(std::sin(a));
    if (!std::isfinite(c))
        c = 0;
    if (!std::isfinite(s))
        s = 0;
    const float r[9] = {c, -s, 0, s, c, 0, 0, 0, 1};
    PostMultiply(r);
    if (shifted)
        Translate(-cx, -cy);
}

void TTransformation::MultiplyBy(const TTransformation& other) {
    PostMultiply(other.matrix_);
}

void TTransformation::PremultiplyBy(const TTransformation& other) {
    Multiply(other.matrix_, matrix_, matrix_);
    valid_ = false;
}

void TTransformation::Assign(const TTransformation& other) {
    if (&other == this)
        return;
    valid_ = other.valid_;
    std::memcpy(matrix_, other.matrix_, sizeof matrix_);
    std::memcpy(inverse_, other.inverse_, sizeof inverse_);
    std::memcpy(forward2012_, other.forward2012_, sizeof forward2012_);
    std::memcpy(inverse2012_, other.inverse2012_, sizeof inverse2012_);
    // The 16.16 forms come along too, so that a copied valid state is complete.
    std::memcpy(forward1616_, other.forward1616_, sizeof forward1616_);
    std::memcpy(inverse1616_, other.inverse1616_, sizeof inverse1616_);
}

void TTransformation::Update() {
    const float* m = matrix_;
    using L = long double;
    const L a = m[0], b = m[1], c = m[2], d = m[3], e = m[4], f = m[5], g = m[6], h = m[7], i = m[8];
    const L det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (std::fabs(det) < 1e-5L || !std::isfinite(static_cast<double>(det))) {
        std::memcpy(inverse_, kIdentity, sizeof inverse_);
    } else {
        const L r = 1.0L / det;
        const L adj[9] = {(e * i - f * h),  -(b * i - c * h), (b * f - c * e),
                          -(d * i - f * g), (a * i - c * g),  -(a * f - c * d),
                          (d * h - e * g),  -(a * h - b * g), (a * e - b * d)};
        for (int k = 0; k < 9; ++k)
            inverse_[k] = static_cast<float>(adj[k] * r);
    }
    FixedForm(matrix_, 4096.0, forward2012_);
    FixedForm(inverse_, 4096.0, inverse2012_);
    FixedForm(matrix_, 65536.0, forward1616_);
    FixedForm(inverse_, 65536.0, inverse1616_);
    valid_ = true;
}

void TTransformation::Map(const float* m, bool point, float x, float y, float& outX, float& outY) {
    if (!valid_)
        Update();
    outX = m[0] * x + m[1] * y;
    outY = m[3] * x + m[4] * y;
    if (point) {
        outX += m[2];
        outY += m[5];
    }
}

void TTransformation::InverseTransformInt(int32_t x, int32_t y, int32_t& outX, int32_t& outY) {
    if (!valid_)
        Update();
    const int32_t* i = inverse2012_;
    // 32-bit products and sums (wrapping), then an arithmetic shift.
    const auto sx = static_cast<int32_t>(static_cast<uint32_t>(x) * static_cast<uint32_t>(i[0]) +
                                         static_cast<uint32_t>(y) * static_cast<uint32_t>(i[1]) +
                                         static_cast<uint32_t>(i[2]) + 2047u);
    const auto sy = static_cast<int32_t>(static_cast<uint32_t>(x) * static_cast<uint32_t>(i[3]) +
                                         static_cast<uint32_t>(y) * static_cast<uint32_t>(i[4]) +
                                         static_cast<uint32_t>(i[5]) + 2047u);
    outX = sx >> 12;
    outY = sy >> 12;
}

void TTransformation::InverseTransformFixed(int32_t x, int32_t y, int32_t& outX, int32_t& outY) const {
    const int32_t* j = inverse1616_;
    outX = static_cast<int32_t>(static_cast<uint32_t>(FixedMul(x, j[0])) +
                                static_cast<uint32_t>(FixedMul(y, j[1])) + static_cast<uint32_t>(j[2]));
    outY = static_cast<int32_t>(static_cast<uint32_t>(FixedMul(x, j[3])) +
                                static_cast<uint32_t>(FixedMul(y, j[4])) + static_cast<uint32_t>(j[5]));
}

TRect TTransformation::BoundingRect(float x1, float y1, float x2, float y2) {
    Update();
    const float xs[4] = {x1, x2, x2, x1};
    const float ys[4] = {y1, y1, y2, y2};
    TRect r;
    for (int k = 0; k < 4; ++k) {
        float tx, ty;
        Transform(xs[k], ys[k], tx, ty);
        const int ix = RoundToInt32(tx);
        const int iy = RoundToInt32(ty);
        if (k == 0) {
            r = TRect{ix, iy, ix, iy};
        } else {
            r.Left = std::min(r.Left, ix);
            r.Top = std::min(r.Top, iy);
            r.Right = std::max(r.Right, ix);
            r.Bottom = std::max(r.Bottom, iy);
        }
    }
    return r;
}

void TTransformation::Push() {
    auto saved = std::make_unique<float[]>(9);
    std::memcpy(saved.get(), matrix_, sizeof matrix_);
    stack_.push_back(std::move(saved));
}

void TTransformation::Pop() {
    if (stack_.empty())
        return;
    std::memcpy(matrix_, stack_.back().get(), sizeof matrix_);
    stack_.pop_back();
    Update();
}

void TTransformation::PopAll() {
    while (!stack_.empty())
        Pop();
}

bool IsZero(double x) {
    return std::fabs(x) < 1e-6;
}

TPointF PointF(float x, float y) {
    return TPointF{x, y};
}

TRectF RectF(float left, float top, float right, float bottom) {
    return TRectF{left, top, right, bottom};
}

TRectF CenteredRectF(float cx, float cy, float w, float h) {
    return TRectF{cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2};
}

TRectF OffsetRectF(const TRectF& r, float dx, float dy) {
    return TRectF{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

TRectF UnionRectF(const TRectF& a, const TRectF& b) {
    return TRectF{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                  std::max(a.Bottom, b.Bottom)};
}

float VectorLength(const TPointF& p) {
    return std::sqrt(p.X * p.X + p.Y * p.Y);
}

float VectorAngle(float x, float y) {
    float angle;
    if (x != 0)
        angle = static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)) * 180.0 / M_PI);
    else
        angle = y > 0 ? 90.0f : 270.0f;
    while (angle < 0)
        angle += 360;
    while (angle >= 360)
        angle -= 360;
    return angle;
}

float SnapToGrid(float value, float grid) {
    if (IsZero(grid))
        return value;
    return grid * static_cast<float>(std::nearbyint(value / grid));
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const int64_t p = static_cast<int64_t>(a) * b;
    int64_t q = p / c;
    const int64_t rem = p % c;
    // Half away from zero: compare twice the remainder with the divisor.
    if (2 * std::llabs(rem) >= std::llabs(static_cast<int64_t>(c)))
        q += ((p < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(q);
}

void FitSize(int& w, int& h, int maxW, int maxH) {
    // An empty size has no aspect to keep; it stays as it is.
    if (w <= 0 || h <= 0)
        return;
    const int h2 = MulDiv(h, maxW, w);
    if (h2 > maxH) {
        w = MulDiv(w, maxH, h);
        h = maxH;
    } else {
        w = maxW;
        h = h2;
    }
}

void FitSize(float& w, float& h, float maxW, float maxH) {
    if (w <= 0 || h <= 0)
        return;
    const float h2 = h * maxW / w;
    if (h2 > maxH) {
        w = w * maxH / h;
        h = maxH;
    } else {
        w = maxW;
        h = h2;
    }
}
