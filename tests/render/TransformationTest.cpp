#include "render/uTransformation.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Transformation, RotateQuarterTurnMapsAxesClockwise) {
    TTransformation t;
    t.Rotate(90);
    float x, y;
    t.Transform(1, 0, x, y);
    EXPECT_NEAR(x, 0, 1e-6);
    EXPECT_NEAR(y, 1, 1e-6);
    t.Transform(0, 1, x, y);
    EXPECT_NEAR(x, -1, 1e-6);
    EXPECT_NEAR(y, 0, 1e-6);
}

TEST(Transformation, RotateAtKeepsItsCentreAndOriginAddsNoTranslation) {
    TTransformation t;
    t.RotateAt(0, 0, 30);
    EXPECT_EQ(t.Matrix()[2], 0.0f);
    EXPECT_EQ(t.Matrix()[5], 0.0f);

    TTransformation u;
    u.Scale(2);
    u.RotateAt(10, 20, 37);
    float x, y;
    u.Transform(10, 20, x, y);
    EXPECT_NEAR(x, 20, 1e-4);
    EXPECT_NEAR(y, 40, 1e-4);
}

TEST(Transformation, ComposesNestedFramesInPostMultiplyOrder) {
    TTransformation t;
    t.Translate(100, 50);
    t.Scale(2);
    float x, y;
    t.Transform(3, 4, x, y);
    EXPECT_FLOAT_EQ(x, 106);
    EXPECT_FLOAT_EQ(y, 58);

    TTransformation other;
    other.Translate(1, 1);
    TTransformation a, b;
    a.Scale(3);
    a.MultiplyBy(other); // other first
    a.Transform(0, 0, x, y);
    EXPECT_FLOAT_EQ(x, 3);
    b.Scale(3);
    b.PremultiplyBy(other); // other last
    b.Transform(0, 0, x, y);
    EXPECT_FLOAT_EQ(x, 1);
}

TEST(Transformation, SingularMatrixGivesIdentityInverse) {
    TTransformation t;
    t.Scale(0, 1);
    t.Update();
    const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(std::memcmp(t.Inverse(), identity, sizeof identity), 0);
    float x, y;
    t.InverseTransform(7.5f, -3, x, y);
    EXPECT_EQ(x, 7.5f);
    EXPECT_EQ(y, -3.0f);
    int32_t ix, iy;
    t.InverseTransformInt(17, -4, ix, iy);
    EXPECT_EQ(ix, 17);
    EXPECT_EQ(iy, -4);
}

TEST(Transformation, InverseForms) {
    TTransformation t;
    t.Translate(10, 20);
    t.Scale(4);
    float x, y;
    t.InverseTransform(30, 60, x, y);
    EXPECT_FLOAT_EQ(x, 5);
    EXPECT_FLOAT_EQ(y, 10);
    t.InverseTransformVector(8, 4, x, y);
    EXPECT_FLOAT_EQ(x, 2);
    EXPECT_FLOAT_EQ(y, 1);
    EXPECT_EQ(t.Inverse2012()[0], 1024);
    EXPECT_EQ(t.Inverse2012()[2], -2.5 * 4096);
    EXPECT_EQ(t.Inverse1616()[0], 16384);
    EXPECT_EQ(t.Inverse1616()[5], -5 * 65536);
    int32_t fx, fy;
    t.InverseTransformFixed(IntToFixed(30) + 32768, IntToFixed(60), fx, fy);
    EXPECT_EQ(fx, IntToFixed(5) + 8192);
    EXPECT_EQ(fy, IntToFixed(10));
}

TEST(Transformation, InverseTransformIntRoundsWithTerm2047) {
    TTransformation id;
    for (int v : {-5, 0, 1, 3, 31999}) {
        int32_t x, y;
        id.InverseTransformInt(v, -v, x, y);
        EXPECT_EQ(x, v);
        EXPECT_EQ(y, -v);
    }
    TTransformation t;
    t.Scale(2);
    int32_t x, y;
    t.InverseTransformInt(3, 1, x, y);
    EXPECT_EQ(x, 1); // (3 * 2048 + 2047) >> 12: the exact half rounds down
    EXPECT_EQ(y, 0);
    t.InverseTransformInt(-3, 5, x, y);
    EXPECT_EQ(x, -2); // arithmetic shift of -4097
    EXPECT_EQ(y, 2);
}

TEST(Transformation, BoundingRectRoundsCornersToEven) {
    TTransformation t;
    TRect r = t.BoundingRect(0.5f, 1.5f, 2.5f, 3.5f);
    EXPECT_EQ(r, (TRect{0, 2, 2, 4}));

    TTransformation rot;
    rot.Rotate(45);
    r = rot.BoundingRect(-10, -10, 10, 10);
    // Corners at (0, +-14.142) and (+-14.142, 0): the square around the rounded corners.
    EXPECT_EQ(r, (TRect{-14, -14, 14, 14}));
}

TEST(Transformation, PushPopRestoresBitForBit) {
    TTransformation t;
    t.Translate(3.3f, 1.1f);
    t.Rotate(12.5f);
    float before[9];
    std::memcpy(before, t.Matrix(), sizeof before);
    t.Pop(); // empty stack: nothing happens
    EXPECT_EQ(std::memcmp(before, t.Matrix(), sizeof before), 0);
    t.Push();
    t.Scale(1.7f);
    t.Rotate(33);
    t.Translate(-4, 9);
    EXPECT_EQ(t.StackDepth(), 1);
    t.Pop();
    EXPECT_EQ(std::memcmp(before, t.Matrix(), sizeof before), 0);
    EXPECT_TRUE(t.Valid());
    EXPECT_EQ(t.StackDepth(), 0);
    {
        TTransformationSaver saved(t);
        t.Scale(9);
    }
    EXPECT_EQ(std::memcmp(before, t.Matrix(), sizeof before), 0);
}

TEST(Transformation, AssignCopiesStateButNotStack) {
    TTransformation a;
    a.Scale(2);
    a.Update();
    a.Push();
    TTransformation b;
    b.Assign(a);
    EXPECT_TRUE(b.Valid());
    EXPECT_EQ(b.StackDepth(), 0);
    EXPECT_EQ(std::memcmp(a.Inverse2012(), b.Inverse2012(), 9 * sizeof(int32_t)), 0);
}

TEST(GeometryHelpers, VectorAngle) {
    EXPECT_FLOAT_EQ(VectorAngle(0, 0), 270);
    EXPECT_FLOAT_EQ(VectorAngle(-1, 0), 180);
    EXPECT_FLOAT_EQ(VectorAngle(1, -1), 315);
    EXPECT_FLOAT_EQ(VectorAngle(0, 2), 90);
    EXPECT_FLOAT_EQ(VectorAngle(0, -2), 270);
    EXPECT_FLOAT_EQ(VectorAngle(1, 0), 0);
}

TEST(GeometryHelpers, SnapToGrid) {
    EXPECT_FLOAT_EQ(SnapToGrid(7.4f, 5), 5);
    EXPECT_FLOAT_EQ(SnapToGrid(7.6f, 5), 10);
    EXPECT_FLOAT_EQ(SnapToGrid(7.6f, 0), 7.6f);
    EXPECT_FLOAT_EQ(SnapToGrid(-7.6f, 5), -10);
}

TEST(GeometryHelpers, FitSizeEnlargesAndShrinks) {
    int w = 400, h = 300;
    FitSize(w, h, 200, 200);
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 150);
    w = 300, h = 400;
    FitSize(w, h, 200, 200);
    EXPECT_EQ(w, 150);
    EXPECT_EQ(h, 200);
    w = 100, h = 50;
    FitSize(w, h, 200, 200);
    EXPECT_EQ(w, 200);
    EXPECT_EQ(h, 100);
    w = 3, h = 2; // 2 * 100 / 3 = 66.67 rounds to 67
    FitSize(w, h, 100, 100);
    EXPECT_EQ(h, 67);
    w = 0, h = 10; // no aspect to keep: unchanged instead of a division by zero
    FitSize(w, h, 100, 100);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 10);

    float fw = 400, fh = 300;
    FitSize(fw, fh, 200, 100);
    EXPECT_FLOAT_EQ(fw, 400.0f * 100 / 300);
    EXPECT_FLOAT_EQ(fh, 100);
}

TEST(GeometryHelpers, RectanglesAndFixedPoint) {
    const TRectF c = CenteredRectF(10, 20, 4, 6);
    EXPECT_FLOAT_EQ(c.Left, 8);
    EXPECT_FLOAT_EQ(c.Bottom, 23);
    const TRectF u = UnionRectF(c, OffsetRectF(c, 5, -5));
    EXPECT_FLOAT_EQ(u.Right, 17);
    EXPECT_FLOAT_EQ(u.Top, 12);
    EXPECT_FLOAT_EQ(VectorLength(PointF(3, 4)), 5);
    EXPECT_EQ(FixedToInt(IntToFixed(-3) + 1), -3);
    EXPECT_EQ(FixedToInt(-1), -1); // towards minus infinity
    EXPECT_EQ(FixedMul(IntToFixed(3), IntToFixed(-2) / 4), IntToFixed(-3) / 2);
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, 1, 0), -1);
}
