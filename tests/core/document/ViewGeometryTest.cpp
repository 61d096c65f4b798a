#include <gtest/gtest.h>

#include "core/blocks/Twips.h"
#include "core/document/PageSizes.h"
#include "core/document/ViewGeometry.h"

using namespace pemo;

namespace {

// A 190 × 280 mm page at 96 pixels per inch: 718 × 1058.
const QSize kA4 = ViewGeometry::actualSize(mmToTwips(190), mmToTwips(280), 96);

}  // namespace

TEST(ViewGeometry, FitPlacesThePageOnTheSideThatLimitsIt) {
    ASSERT_EQ(kA4, QSize(718, 1058));
    struct Case {
        QSize actual;
        QSize client;
        QRect expected;
    };
    const Case cases[] = {
        {kA4, {600, 800}, {29, 0, 542, 800}},   // limited by the height: centred across
        {kA4, {400, 800}, {0, 105, 400, 589}},  // limited by the width: centred down
        {{100, 200}, {50, 100}, {0, 0, 50, 100}}, {kA4, {0, 800}, {}}, {{}, {600, 800}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.client.width() << "x" << c.client.height());
        EXPECT_EQ(ViewGeometry::fitRect(c.actual, c.client), c.expected);
    }
}

TEST(ViewGeometry, ZoomStepsStayBetweenTheWholePageAndTheActualSize) {
    struct Case {
        bool in;
        int canvasWidth;
        QSize client;
        std::optional<QSize> expected;
    };
    const Case cases[] = {
        {true, 359, {}, QSize(538, 793)},   // 0.5 + 0.25
        {true, 538, {}, QSize(717, 1057)},  // just below 1
        {true, 542, {}, QSize(718, 1058)},  // past 1: the actual size
        {true, 718, {}, std::nullopt},      // at 100 % nothing happens
        {false, 718, {600, 784}, QSize(538, 793)},
        {false, 718, {700, 900}, QSize(610, 900)},  // 0.75 would fit: the fitted size
        {false, 718, {900, 700}, QSize(538, 793)},  // fitting one way is not fitting
        {false, 100, {600, 800}, QSize(542, 800)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.in ? "in from " : "out from ") << c.canvasWidth);
        const std::optional<QSize> size =
            c.in ? ViewGeometry::zoomInSize(c.canvasWidth, kA4)
                 : std::optional(ViewGeometry::zoomOutSize(c.canvasWidth, kA4, c.client));
        EXPECT_EQ(size, c.expected);
    }
    EXPECT_EQ(ViewGeometry::gridSpacing(20, 96, 1.0), 75);
    EXPECT_EQ(ViewGeometry::gridSpacing(20, 96, 0.001), 1);
}

TEST(PageSizes, StandardSizesNamesAndCustomBounds) {
    struct Case {
        QSize page;
        int index;       // of the standard size, either way round
        QSize a4Result;  // A4幅面 keeps the orientation
        const char* status;
        const char* rotate;
    };
    const Case cases[] = {
        {{400, 280}, 1, {280, 190}, "(A3幅面)", "竖向幅面"},
        {{190, 280}, 0, {190, 280}, "(A4幅面)", "横向幅面"},
        {{280, 190}, 0, {280, 190}, "(A4幅面)", "竖向幅面"},
        {{1170, 820}, 4, {280, 190}, "(A0幅面)", "竖向幅面"},
        {{300, 300}, -1, {280, 190}, "(300x300)", "竖向幅面"},  // square counts as landscape
        {{190, 400}, -1, {190, 280}, "(190x400)", "横向幅面"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        EXPECT_EQ(PageSizes::standardIndexOf(c.page.width(), c.page.height()), c.index);
        EXPECT_EQ(PageSizes::keepingOrientation(0, c.page.width(), c.page.height()), c.a4Result);
        EXPECT_EQ(PageSizes::statusName(c.page.width(), c.page.height()),
                  QString::fromUtf8(c.status));
        EXPECT_EQ(PageSizes::rotateCommandText(c.page.width(), c.page.height()),
                  QString::fromUtf8(c.rotate));
    }
    EXPECT_TRUE(PageSizes::isCustomSizeAccepted(20, 2000));
    EXPECT_TRUE(PageSizes::isCustomSizeAccepted(2000, 20));
    EXPECT_FALSE(PageSizes::isCustomSizeAccepted(300, 10));
    EXPECT_FALSE(PageSizes::isCustomSizeAccepted(2001, 300));
}
