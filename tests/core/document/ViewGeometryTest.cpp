#include <gtest/gtest.h>

#include "blocks/Twips.h"
#include "document/PageSizes.h"
#include "document/ViewGeometry.h"

using namespace pemo;

namespace {

// A 190 × 280 mm page at 96 pixels per inch.
QSize a4Actual() {
    return ViewGeometry::actualSize(mmToTwips(190), mmToTwips(280), 96);
}

}  // namespace

TEST(ViewGeometry, ActualSizeTruncatesTwipsToPixels) {
    EXPECT_EQ(a4Actual(), QSize(718, 1058));
    EXPECT_EQ(ViewGeometry::actualSize(mmToTwips(280), mmToTwips(190), 96), QSize(1058, 718));
    EXPECT_EQ(ViewGeometry::actualSize(mmToTwips(190), mmToTwips(280), 120), QSize(897, 1322));
}

TEST(ViewGeometry, FitPlacesThePageOnTheSideThatLimitsIt) {
    struct Case {
        QSize actual;
        QSize client;
        QRect expected;
    };
    const Case cases[] = {
        // Limited by the height: the page is centred across.
        {a4Actual(), {600, 800}, {29, 0, 542, 800}},
        // Limited by the width: centred down.
        {a4Actual(), {400, 800}, {0, 105, 400, 589}},
        {{1058, 718}, {600, 800}, {0, 196, 600, 407}},
        // Exactly the page's proportions count as limited by the height.
        {{100, 200}, {50, 100}, {0, 0, 50, 100}},
        {a4Actual(), {718, 1058}, {0, 0, 718, 1058}},
        // Nothing to fit into, or nothing to fit.
        {a4Actual(), {0, 800}, {}},
        {a4Actual(), {600, 0}, {}},
        {{}, {600, 800}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.client.width() << "x" << c.client.height());
        EXPECT_EQ(ViewGeometry::fitRect(c.actual, c.client), c.expected);
        EXPECT_EQ(ViewGeometry::fitSize(c.actual, c.client), c.expected.size());
    }
}

TEST(ViewGeometry, ZoomInStepsAQuarterUpToTheActualSize) {
    const QSize actual = a4Actual();
    struct Case {
        int canvasWidth;
        std::optional<QSize> expected;
    };
    const Case cases[] = {
        {359, QSize(538, 793)},                        // 0.5 + 0.25
        {538, QSize(717, 1057)},                       // 538 / 718 + 0.25 just below 1
        {542, QSize(718, 1058)},                       // past 1: the actual size
        {717, QSize(718, 1058)}, {718, std::nullopt},  // already at 100 %: nothing
        {900, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.canvasWidth);
        EXPECT_EQ(ViewGeometry::zoomInSize(c.canvasWidth, actual), c.expected);
    }
}

TEST(ViewGeometry, ZoomOutNeverGoesBelowTheWholePage) {
    const QSize actual = a4Actual();
    struct Case {
        int canvasWidth;
        QSize client;
        QSize expected;
    };
    const Case cases[] = {
        // From 100 % in a window that cannot hold 0.75 of the page.
        {718, {600, 784}, {538, 793}},
        // 0.75 would fit inside: the fitted size instead.
        {718, {700, 900}, {610, 900}},
        // Fitting only one way is not fitting.
        {718, {900, 700}, {538, 793}},
        // From the fitted size further down: the fitted size again.
        {542, {600, 800}, {542, 800}},
        {100, {600, 800}, {542, 800}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.canvasWidth << " in " << c.client.width() << "x" << c.client.height());
        EXPECT_EQ(ViewGeometry::zoomOutSize(c.canvasWidth, actual, c.client), c.expected);
    }
}

TEST(ViewGeometry, CentringNeverGoesLeftOrAboveTheClientArea) {
    EXPECT_EQ(ViewGeometry::centredOrigin({538, 793}, {600, 784}), QPoint(31, 0));
    EXPECT_EQ(ViewGeometry::centredOrigin({718, 1058}, {600, 800}), QPoint(0, 0));
    EXPECT_EQ(ViewGeometry::centredOrigin({100, 100}, {301, 501}), QPoint(100, 200));
}

TEST(ViewGeometry, GridSpacingFollowsZoomAndIsAtLeastOnePixel) {
    EXPECT_EQ(ViewGeometry::gridSpacing(20, 96, 1.0), 75);  // 75.59 truncated
    EXPECT_EQ(ViewGeometry::gridSpacing(20, 96, 542.0 / 718), 57);
    EXPECT_EQ(ViewGeometry::gridSpacing(20, 96, 0.001), 1);
    EXPECT_EQ(ViewGeometry::gridSpacing(0, 96, 1.0), 1);
}

TEST(PageSizes, StandardSizesKeepThePageOrientation) {
    struct Case {
        int index;
        QSize page;
        QSize expected;
    };
    const Case cases[] = {
        {0, {400, 280}, {280, 190}},  // A4 on an A3 landscape page stays landscape
        {0, {280, 400}, {190, 280}},  {4, {190, 280}, {820, 1170}},
        {4, {300, 300}, {1170, 820}},  // a square page counts as landscape
        {1, {1000, 20}, {400, 280}},  {3, {20, 21}, {580, 820}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.index << ": " << c.page.width() << "x" << c.page.height());
        EXPECT_EQ(PageSizes::keepingOrientation(c.index, c.page.width(), c.page.height()),
                  c.expected);
    }
}

TEST(PageSizes, NamesTicksAndRotateText) {
    struct Case {
        QSize page;
        int index;
        const char* status;
        const char* rotate;
    };
    const Case cases[] = {
        {{190, 280}, 0, "(A4幅面)", "横向幅面"},   {{280, 190}, 0, "(A4幅面)", "竖向幅面"},
        {{400, 280}, 1, "(A3幅面)", "竖向幅面"},   {{400, 580}, 2, "(A2幅面)", "横向幅面"},
        {{820, 580}, 3, "(A1幅面)", "竖向幅面"},   {{820, 1170}, 4, "(A0幅面)", "横向幅面"},
        {{190, 281}, -1, "(190x281)", "横向幅面"}, {{280, 280}, -1, "(280x280)", "竖向幅面"},
        {{190, 400}, -1, "(190x400)", "横向幅面"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        EXPECT_EQ(PageSizes::standardIndexOf(c.page.width(), c.page.height()), c.index);
        EXPECT_EQ(PageSizes::statusName(c.page.width(), c.page.height()),
                  QString::fromUtf8(c.status));
        EXPECT_EQ(PageSizes::rotateCommandText(c.page.width(), c.page.height()),
                  QString::fromUtf8(c.rotate));
    }
}

TEST(PageSizes, CustomSizesFrom20To2000) {
    struct Case {
        int width;
        int height;
        bool accepted;
    };
    const Case cases[] = {
        {300, 10, false}, {300, 2500, false}, {20, 2000, true}, {2000, 20, true},
        {19, 300, false}, {300, 2001, false}, {0, 0, false},    {-300, 300, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        EXPECT_EQ(PageSizes::isCustomSizeAccepted(c.width, c.height), c.accepted);
    }
}
