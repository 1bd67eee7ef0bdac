#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// Point and rectangle in document millimetres (or any float unit).
struct TPointF {
    float X = 0;
    float Y = 0;
};

struct TRectF {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
};

// Integer rectangle in device pixels. Whether Right/Bottom are inclusive depends on the producer;
// BoundingRect gives inclusive bounds, device and clip boxes are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// Intersection of two exclusive rectangles; empty (all zero) when they do not meet.
TRect IntersectRect(const TRect& a, const TRect& b);

// 3x3 float matrix, row-major: (m11 m12 dx) (m21 m22 dy) (0 0 1).
using TMatrix3 = float[9];

// The 2-D affine mapping from document millimetres to device pixels, with a stack of saved
// matrices, its inverse and the fixed-point forms of the inverse used by the pixel loops.
class TTransformation {
public:
    TTransformation();
    ~TTransformation();
    TTransformation(const TTransformation&) = delete;
    TTransformation& operator=(const TTransformation&) = delete;

    void Reset();
    // Post-multiplying: the new step acts on a point before everything composed earlier.
    void Translate(float dx, float dy);
    void Scale(float sx, float sy);
    void Scale(float s) { Scale(s, s); }
    // Positive angles turn clockwise as the user sees it (y points down).
    void RotateAt(float cx, float cy, float angle);
    void Rotate(float angle) { RotateAt(0, 0, angle); }
    void MultiplyBy(const TTransformation& other);
    void PremultiplyBy(const TTransformation& other);
    // Copies the matrix, the inverse and the derived forms; the stack stays.
    void Assign(const TTransformation& other);
    void Update();

    // Points move by the shift, vectors do not.
    void Transform(float x, float y, float& outX, float& outY) { Map(matrix_, true, x, y, outX, outY); }
    void TransformVector(float x, float y, float& outX, float& outY) {
        Map(matrix_, false, x, y, outX, outY);
    }
    void InverseTransform(float x, float y, float& outX, float& outY) {
        Map(inverse_, true, x, y, outX, outY);
    }
    void InverseTransformVector(float x, float y, float& outX, float& outY) {
        Map(inverse_, false, x, y, outX, outY);
    }
    // 20.12 inverse with rounding term 2047 (exact halves round down).
    void InverseTransformInt(int32_t x, int32_t y, int32_t& outX, int32_t& outY);
    // 16.16 inverse; the caller has run Update after its last change.
    void InverseTransformFixed(int32_t x, int32_t y, int32_t& outX, int32_t& outY) const;
    // Device box of the transformed rectangle, Right and Bottom inclusive.
    TRect BoundingRect(float x1, float y1, float x2, float y2);

    void Push();
    void Pop();
    void PopAll();
    int StackDepth() const { return static_cast<int>(stack_.size()); }

    bool Valid() const { return valid_; }
    const float* Matrix() const { return matrix_; }
    const float* Inverse() const { return inverse_; }
    // Derived forms, valid after Update.
    const int32_t* Inverse2012() const { return inverse2012_; }
    const int32_t* Inverse1616() const { return inverse1616_; }
    const int32_t* Forward2012() const { return forward2012_; }
    const int32_t* Forward1616() const { return forward1616_; }

private:
    void PostMultiply(const float* x);
    // (x, y) through the upper two rows of m (the matrix or its inverse), brought up to date first.
    void Map(const float* m, bool point, float x, float y, float& outX, float& outY);

    std::vector<std::unique_ptr<float[]>> stack_;
    bool valid_ = false;
    float matrix_[9];
    float inverse_[9];
    int32_t forward2012_[9];
    int32_t inverse2012_[9];
    int32_t forward1616_[9];
    int32_t inverse1616_[9];
};

// Push on construction, Pop on destruction: keeps a transformation balanced on every path.
class TTransformationSaver {
public:
    explicit TTransformationSaver(TTransformation& t) : t_(t) { t_.Push(); }
    ~TTransformationSaver() { t_.Pop(); }
    TTransformationSaver(const TTransformationSaver&) = delete;
    TTransformationSaver& operator=(const TTransformationSaver&) = delete;

private:
    TTransformation& t_;
};

// Geometry helpers.
bool IsZero(double x);
TPointF PointF(float x, float y);
TRectF RectF(float left, float top, float right, float bottom);
TRectF CenteredRectF(float cx, float cy, float w, float h);
TRectF OffsetRectF(const TRectF& r, float dx, float dy);
TRectF UnionRectF(const TRectF& a, const TRectF& b);
float VectorLength(const TPointF& p);
// Angle of (x, y) in degrees in [0, 360); (0, 0) gives 270.
float VectorAngle(float x, float y);
float SnapToGrid(float value, float grid);
// Scales (w, h) to the largest size with the same aspect that fits maxW x maxH (enlarging too).
void FitSize(int& w, int& h, int maxW, int maxH);
void FitSize(float& w, float& h, float maxW, float maxH);
// a * b / c with a 64-bit intermediate, rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// 16.16 fixed point.
using TFixed = int32_t;
inline TFixed IntToFixed(int v) {
    return static_cast<TFixed>(static_cast<uint32_t>(v) << 16);
}
inline int FixedToInt(TFixed v) {
    return v >> 16;
}
inline TFixed FixedMul(TFixed a, TFixed b) {
    return static_cast<TFixed>((static_cast<int64_t>(a) * b) >> 16);
}
