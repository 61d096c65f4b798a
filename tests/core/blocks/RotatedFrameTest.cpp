#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/blocks/RotatedFrame.h"

using namespace pemo;

namespace {

constexpr double kEps = 1e-12;

}  // namespace

TEST(RotatedFrame, AngleFromP0ToP2) {
    using RF = RotatedFrame;
    const double alpha = std::atan(4.0 / 3.0);
    const struct {
        QPoint p2;  // p0 is (100, 100)
        double theta;
    } cases[] = {
        {{200, 100}, 0.0},              // right
        {{0, 100}, RF::kPi},            // left
        {{100, 100}, RF::kPi},          // same point: not to the right
        {{100, 0}, RF::kHalfPi},        // straight up on the screen
        {{100, 200}, RF::kThreeHalfPi}, // straight down
        {{103, 96}, alpha},             // above and right
        {{97, 96}, RF::kPi - alpha},    // above and left
        {{97, 104}, RF::kPi + alpha},   // below and left
        {{103, 104}, RF::kTwoPi - alpha},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p2.x() << "," << c.p2.y());
        EXPECT_NEAR(RF::angle(QPoint(100, 100), c.p2), c.theta, kEps);
    }
}

// The constants for π are a little short of π, so a side of 1000 twips at 90° comes out
// as 999.99999… and truncates to 999; the far corner p3 is truncated as a whole offset,
// not as the sum of two truncated offsets.
TEST(RotatedFrame, CornersFromOriginTruncateEachOffsetTowardZero) {
    using RF = RotatedFrame;
    const QPoint p0(2000, 3000);
    const struct {
        double theta;
        QPoint d1, d2, d3;  // offsets of p1, p2, p3 from p0
    } cases[] = {
        {0.0, {0, 500}, {1000, 0}, {1000, 500}},
        {RF::kHalfPi, {499, 0}, {0, -999}, {500, -999}},
        {RF::kPi, {0, -499}, {-999, 0}, {-999, -500}},
        {RF::kThreeHalfPi, {-499, 0}, {0, 999}, {-500, 999}},
        {RF::kPi / 6, {249, 433}, {866, -499}, {1116, -66}},
        // Brought into 0 … 2π once.
        {-RF::kHalfPi, {-499, 0}, {0, 999}, {-500, 999}},
        {RF::kTwoPi + RF::kPi / 6, {249, 433}, {866, -499}, {1116, -66}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.theta);
        const RotatedFrame f = RF::fromOrigin(p0, c.theta, 1000, 500);
        EXPECT_EQ(f.p0, p0);
        EXPECT_EQ(f.p1 - p0, c.d1);
        EXPECT_EQ(f.p2 - p0, c.d2);
        EXPECT_EQ(f.p3 - p0, c.d3);
    }
}

TEST(RotatedFrame, BoundsAndMoves) {
    const QPoint p0(2000, 3000);
    RotatedFrame f = RotatedFrame::fromOrigin(p0, RotatedFrame::kPi / 6, 1000, 500);
    EXPECT_EQ(f.bounds(), (TwipsRect{2000, 3000 - 499, 2000 + 1116, 3000 + 433}));

    f = RotatedFrame::fromOrigin(p0, RotatedFrame::kPi, 1000, 500);
    EXPECT_EQ(f.bounds(), (TwipsRect{2000 - 999, 3000 - 500, 2000, 3000}));

    f.moveBy(-10, 20);
    EXPECT_EQ(f.p0, QPoint(1990, 3020));
    EXPECT_EQ(f.bounds(), (TwipsRect{1990 - 999, 3020 - 500, 1990, 3020}));

    const TwipsRect r{10, 20, 110, 70};
    const RotatedFrame u = RotatedFrame::fromRect(r);
    EXPECT_EQ(u.p0, QPoint(10, 20));
    EXPECT_EQ(u.p1, QPoint(10, 70));
    EXPECT_EQ(u.p2, QPoint(110, 20));
    EXPECT_EQ(u.p3, QPoint(110, 70));
    EXPECT_EQ(u.bounds(), r);
    EXPECT_NEAR(u.angle(), 0.0, kEps);
}

// Corners from a damaged file anywhere in the 32-bit range: angles, corners, moves and
// scaling stay in range instead of overflowing (the sanitizer build checks the arithmetic).
TEST(RotatedFrame, ExtremeCoordinatesSaturate) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    EXPECT_GT(RotatedFrame::angle(QPoint(kMax, kMin), QPoint(kMin, kMax)), 0.0);
    RotatedFrame f = RotatedFrame::fromOrigin(QPoint(kMax - 5, kMin + 5), 2.5, kMax, kMin);
    EXPECT_EQ(f.p0, QPoint(kMax - 5, kMin + 5));
    f.moveBy(kMax, kMin);
    EXPECT_EQ(f.p0, QPoint(kMax, kMin));
}
