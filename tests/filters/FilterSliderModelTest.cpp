#include "filters/uFilterSliderModel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace FilterSlider;

TEST(FilterSliderModel, TrackPositionsInBothModes) {
    // A track of 201 pixels counts as 202 for the mapping, so its middle is a whole pixel.
    EXPECT_EQ(PositionAt(TSliderMode::Linear, 6, 6, 201), -100.0f);
    EXPECT_EQ(PositionAt(TSliderMode::Linear, 6 + 101, 6, 201), 0.0f);
    EXPECT_EQ(PositionAt(TSliderMode::Linear, 500, 6, 201), 100.0f);
    EXPECT_EQ(PositionAt(TSliderMode::Linear, -20, 6, 201), -100.0f);
    EXPECT_FLOAT_EQ(PositionAt(TSliderMode::Expo, 6, 6, 200), 0.1f);
    EXPECT_FLOAT_EQ(PositionAt(TSliderMode::Expo, 106, 6, 200), 1.0f);
    EXPECT_FLOAT_EQ(PositionAt(TSliderMode::Expo, 306, 6, 200), 10.0f);
    EXPECT_FLOAT_EQ(PositionAt(TSliderMode::Expo, 156, 6, 200), std::sqrt(10.0f));

    // The thumb's left edge is 3 pixels before its place on the track.
    EXPECT_EQ(ThumbLeft(TSliderMode::Linear, -100, 6, 200), 3);
    EXPECT_EQ(ThumbLeft(TSliderMode::Linear, 0, 6, 200), 103);
    EXPECT_EQ(ThumbLeft(TSliderMode::Linear, 100, 6, 200), 203);
    EXPECT_EQ(ThumbLeft(TSliderMode::Expo, 0.1f, 6, 200), 3);
    EXPECT_EQ(ThumbLeft(TSliderMode::Expo, 1, 6, 200), 103);
    EXPECT_EQ(ThumbLeft(TSliderMode::Expo, 10, 6, 200), 203);
}

TEST(FilterSliderModel, RangesStepsAndTicks) {
    EXPECT_EQ(Clamp(TSliderMode::Linear, 250), 100.0f);
    EXPECT_EQ(Clamp(TSliderMode::Expo, 0.01f), 0.1f);
    EXPECT_EQ(Clamp(TSliderMode::Expo, std::nanf("")), 1.0f);
    EXPECT_EQ(SmallStep(TSliderMode::Expo), 0.1f);
    EXPECT_EQ(BigStep(TSliderMode::Linear), 10.0f);

    const auto linear = Ticks(TSliderMode::Linear, 6, 201);
    ASSERT_EQ(linear.size(), 21u);
    EXPECT_EQ(linear.front().X, 6);
    EXPECT_EQ(linear[10].X, 106);
    EXPECT_EQ(linear.back().X, 206);
    EXPECT_TRUE(linear[5].Full);
    EXPECT_FALSE(linear[6].Full);
    const auto expo = Ticks(TSliderMode::Expo, 6, 201);
    ASSERT_EQ(expo.size(), 11u);
    EXPECT_EQ(expo.front().X, 6);
    EXPECT_EQ(expo[1].X, 106); // 1
    EXPECT_EQ(expo.back().X, 206);
    EXPECT_TRUE(expo[1].Full);
    EXPECT_FALSE(expo[2].Full);
}

TEST(FilterSliderModel, NumberFieldText) {
    const QLocale german(QLocale::German);
    EXPECT_EQ(Text(TSliderMode::Linear, -12.5f, german), QStringLiteral("-12"));
    EXPECT_EQ(Text(TSliderMode::Linear, 99.6f, german), QStringLiteral("100"));
    EXPECT_EQ(Text(TSliderMode::Expo, 1, german), QStringLiteral("1,00"));
    EXPECT_EQ(Text(TSliderMode::Expo, 0.1f, QLocale::c()), QStringLiteral("0.10"));
    EXPECT_EQ(ParseTyped(QStringLiteral("2,5"), german), 2.5f);
    EXPECT_EQ(ParseTyped(QStringLiteral("-"), german), std::nullopt);
    EXPECT_EQ(ParseTyped(QString(), german), std::nullopt);
    EXPECT_TRUE(NeedsRewrite(250, 100));
    EXPECT_FALSE(NeedsRewrite(2.5f, 2.5f));
}

} // namespace
