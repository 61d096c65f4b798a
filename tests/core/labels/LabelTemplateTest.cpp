#include <gtest/gtest.h>

#include "core/labels/LabelCatalogue.h"
#include "core/labels/LabelChoice.h"
#include "core/labels/LabelTemplate.h"

namespace pemo {

TEST(LabelTemplate, MeasuredSheetsFromText) {
    const struct {
        const char* text;
        bool valid;
        QSizeF paper;
        int rows, columns;
        QSizeF label;
        double left, top, hPitch, vPitch, corner;
    } cases[] = {
        {"A4,7x3,63.5x38.1,7.2,15.1,66,38.1", true, {210, 297}, 7, 3, {63.5, 38.1}, 7.2, 15.1, 66, 38.1, 0},
        {"a4,8x3,70x37,0,0,70,37", true, {210, 297}, 8, 3, {70, 37}, 0, 0, 70, 37, 0},
        {"Letter,10x3,66.7x25.4,4.8,12.7,69.8,25.4,3", true, {215.9, 279.4}, 10, 3, {66.7, 25.4}, 4.8, 12.7, 69.8, 25.4, 3},
        {"100x150,2x2,40x60,5,5,50,70", true, {100, 150}, 2, 2, {40, 60}, 5, 5, 50, 70, 0},
        {"A4,1x1,200x100,5,5,0,0", true, {210, 297}, 1, 1, {200, 100}, 5, 5, 0, 0, 0},  // one label: no pitch
        {"A4,7x3,63.5x38.1,7.2,15.1,60,38.1", false, {}, 0, 0, {}, 0, 0, 0, 0, 0},   // labels overlap across
        {"A4,8x3,63.5x38.1,7.2,15.1,66,38.1", false, {}, 0, 0, {}, 0, 0, 0, 0, 0},   // the eighth row is off the paper
        {"A4,7x4,63.5x38.1,7.2,15.1,66,38.1", false, {}, 0, 0, {}, 0, 0, 0, 0, 0},   // the fourth column too
        {"A4,0x3,63.5x38.1,7.2,15.1,66,38.1", false, {}, 0, 0, {}, 0, 0, 0, 0, 0},
        {"A4,7x3,0x38.1,7.2,15.1,66,38.1", false, {}, 0, 0, {}, 0, 0, 0, 0, 0},
        {"A4,7x3,63.5x38.1,-1,15.1,66,38.1", false, {}, 0, 0, {}, 0, 0, 0, 0, 0},
        {"B9,7x3,63.5x38.1,7.2,15.1,66,38.1", false, {}, 0, 0, {}, 0, 0, 0, 0, 0},   // paper not known
        {"A4,7x3,63.5x38.1,7.2,15.1,66", false, {}, 0, 0, {}, 0, 0, 0, 0, 0},        // a field short
        {"A4,7x3,63.5x38.1,7.2,15.1,66,38.1,20", false, {}, 0, 0, {}, 0, 0, 0, 0, 0}, // corners wider than the label
        {"", false, {}, 0, 0, {}, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<LabelTemplate> t = LabelTemplate::fromCustomText(QString::fromLatin1(c.text));
        ASSERT_EQ(t.has_value(), c.valid);
        if (!t) continue;
        EXPECT_TRUE(t->isCustom());
        EXPECT_EQ(t->paperMm, c.paper);
        ASSERT_EQ(t->grids.size(), 1u);
        EXPECT_EQ(t->grids[0].rows, c.rows);
        EXPECT_EQ(t->grids[0].columns, c.columns);
        EXPECT_EQ(t->labelMm, c.label);
        EXPECT_DOUBLE_EQ(t->grids[0].x0, c.left);
        EXPECT_DOUBLE_EQ(t->grids[0].y0, c.top);
        EXPECT_DOUBLE_EQ(t->grids[0].dx, c.hPitch);
        EXPECT_DOUBLE_EQ(t->grids[0].dy, c.vPitch);
        EXPECT_DOUBLE_EQ(t->cornerMm, c.corner);
        // Written back, it reads the same.
        const std::optional<LabelTemplate> again = LabelTemplate::fromCustomText(t->customText());
        ASSERT_TRUE(again) << t->customText().toStdString();
        EXPECT_EQ(again->customText(), t->customText());
        EXPECT_EQ(again->labelRects(), t->labelRects());
    }
}

TEST(LabelTemplate, LabelsFillRowByRowAcrossGrids) {
    LabelCatalogue catalogue;
    catalogue.loadFolder(QStringLiteral(PEMO_TEST_DATA "/labels"));
    const LabelTemplate* staggered = catalogue.find(QStringLiteral("Test STAGGER"));
    ASSERT_NE(staggered, nullptr);
    // Rows at 10, 40, 70 and 100 mm: the two grids' rows take turns.
    const QPointF expected[] = {{10, 10}, {70, 10}, {40, 40}, {100, 40}, {10, 70}, {70, 70}, {40, 100}, {100, 100}};
    const std::vector<QRectF> rects = staggered->labelRects();
    ASSERT_EQ(rects.size(), std::size(expected));
    for (size_t i = 0; i < rects.size(); ++i) {
        EXPECT_EQ(rects[i].topLeft(), expected[i]) << i;
        EXPECT_EQ(rects[i].size(), QSizeF(20, 20)) << i;
    }
}

TEST(LabelTemplate, OutlineFollowsTheShape) {
    LabelTemplate t;
    t.labelMm = QSizeF(40, 20);
    const QRectF box(10, 10, 40, 20);
    const struct {
        LabelTemplate::Shape shape;
        double corner;
        double hole;
        QPointF point;
        bool inside;
        double radius = 0;
    } cases[] = {
        {LabelTemplate::Shape::Rectangle, 0, 0, {10.2, 10.2}, true},    // a sharp corner
        {LabelTemplate::Shape::Rectangle, 5, 0, {10.2, 10.2}, false},   // cut off by the rounding
        {LabelTemplate::Shape::Rectangle, 5, 0, {30, 20}, true},
        {LabelTemplate::Shape::Ellipse, 0, 0, {11, 11}, false},
        {LabelTemplate::Shape::Ellipse, 0, 0, {30, 20}, true},
        {LabelTemplate::Shape::Ellipse, 0, 0, {49, 20}, true},          // the long axis
        {LabelTemplate::Shape::Round, 0, 4, {30, 20}, false},           // in the disc's hole
        {LabelTemplate::Shape::Round, 0, 4, {30, 27}, true},
        {LabelTemplate::Shape::Round, 0, 0, {30, 20}, true},
        // A disc of radius 15 in a box 20 high: cut straight at the box's edges.
        {LabelTemplate::Shape::Round, 0, 0, {16.5, 20}, true, 15},
        {LabelTemplate::Shape::Round, 0, 0, {30, 9.5}, false, 15},
        {LabelTemplate::Shape::Round, 0, 0, {30, 10.5}, true, 15},
    };
    for (const auto& c : cases) {
        t.shape = c.shape;
        t.cornerMm = c.corner;
        t.holeMm = c.hole;
        t.radiusMm = c.radius;
        EXPECT_EQ(t.outline(box).contains(c.point), c.inside)
            << int(c.shape) << " corner " << c.corner << " at " << c.point.x() << "," << c.point.y();
    }
}

TEST(LabelChoice, ResolvesAndRemembersSheets) {
    LabelCatalogue catalogue;
    catalogue.loadFolder(QStringLiteral(PEMO_TEST_DATA "/labels"));
    EXPECT_EQ(LabelChoice::resolve(QStringLiteral("avery j8160"), catalogue)->name(), QStringLiteral("Avery J8160"));
    EXPECT_EQ(LabelChoice::resolve(QStringLiteral("custom:A4,8x3,70x37,0,0,70,37"), catalogue)->labelsPerSheet(), 24);
    EXPECT_FALSE(LabelChoice::resolve(QStringLiteral("custom:A4,8x3"), catalogue));
    EXPECT_FALSE(LabelChoice::resolve(QStringLiteral("Avery 9999"), catalogue));
    // Measured sheets work without any catalogue.
    EXPECT_TRUE(LabelChoice::resolve(QStringLiteral("CUSTOM:Letter,10x3,66.7x25.4,4.8,12.7,69.8,25.4"), LabelCatalogue()));

    LabelChoice choice;
    for (int i = 0; i < LabelChoice::kRecentCount + 2; ++i) choice.remember(QStringLiteral("P%1").arg(i));
    choice.remember(QStringLiteral("P3"));
    ASSERT_EQ(choice.recent.size(), LabelChoice::kRecentCount);
    EXPECT_EQ(choice.recent.front(), QStringLiteral("P3"));
    EXPECT_EQ(choice.recent.at(1), QStringLiteral("P9"));
    EXPECT_EQ(choice.recent.count(QStringLiteral("P3")), 1);
}

}  // namespace pemo
