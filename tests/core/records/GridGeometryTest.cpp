#include <gtest/gtest.h>

#include "core/config/VariableNameList.h"
#include "core/records/GridGeometry.h"

using namespace pemo;

namespace {

GridGeometry grid(int width, int height) {
    GridGeometry g{VariableNameList()};
    g.resize(width, height);
    return g;
}

}  // namespace

TEST(GridGeometry, ColumnsShareTheWidthLeftByTheFixedOnes) {
    const struct {
        int width;
        int shareWidth;  // each of the ten variable columns
    } cases[] = {{264, 0}, {364, 10}, {373, 10}, {374, 11}, {200, 0}, {0, 0}, {1264, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        const GridGeometry g = grid(c.width, 200);
        EXPECT_EQ(g.fixedWidth(), 264);
        const auto& columns = g.columns();
        ASSERT_EQ(columns.size(), 16u);
        int x = 2;
        for (size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(columns[i].left, x) << i;
            EXPECT_GE(columns[i].width, 0) << i;
            if (i >= 2 && i < 12) {
                EXPECT_EQ(columns[i].width, c.shareWidth) << i;
            }
            x += columns[i].width;
        }
        EXPECT_EQ(x, 2 + 260 + 10 * c.shareWidth);
    }
}

TEST(GridGeometry, VariableColumnsTakeTheNames) {
    VariableNameList names;
    names.setName(3, "Unit");
    GridGeometry g{VariableNameList()};
    g.renameVariableColumns(names);
    EXPECT_EQ(g.columns()[5].caption, QByteArray("Unit"));
    EXPECT_EQ(g.columns()[2].caption, names.name(0));
}

TEST(GridGeometry, VisibleRows) {
    const struct {
        int height, fit, visible;
    } cases[] = {{0, 0, 1},  {27, 0, 1}, {47, 0, 1},   {48, 1, 1},
                 {67, 1, 1}, {68, 2, 2}, {228, 10, 10}};
    for (const auto& c : cases) {
        const GridGeometry g = grid(400, c.height);
        EXPECT_EQ(g.rowsThatFit(), c.fit) << c.height;
        EXPECT_EQ(g.visibleRowCount(), c.visible) << c.height;
    }
}

TEST(GridGeometry, ScrollRangeInViewAndCentring) {
    EXPECT_EQ(GridGeometry::scrollMaximum(100, 10), 90);
    EXPECT_EQ(GridGeometry::scrollMaximum(5, 10), 0);
    EXPECT_EQ(GridGeometry::scrollMaximum(5, 0), 5);

    const struct {
        int index, scroll, rows;
        bool inView;
    } views[] = {
        {10, 10, 10, true},
        {18, 10, 10, true},
        {19, 10, 10, false},  // the last visible row
                              // counts as out of view
        {9, 10, 10, false},
        {20, 10, 10, false},
        {0, 0, 0, false},
        {0, 0, 1, false},
    };
    for (const auto& v : views) {
        EXPECT_EQ(GridGeometry::isInView(v.index, v.scroll, v.rows), v.inView)
            << v.index << " at " << v.scroll;
    }

    const struct {
        int index, count, rows, scroll;
    } centred[] = {
        {19, 100, 10, 14}, {3, 100, 10, 0}, {99, 100, 10, 90},
        {50, 100, 11, 45}, {4, 5, 10, 0},   {7, 100, 0, 7},
    };
    for (const auto& c : centred) {
        EXPECT_EQ(GridGeometry::centredScroll(c.index, c.count, c.rows), c.scroll) << c.index;
    }
}

TEST(GridGeometry, RowAndColumnHitTesting) {
    const GridGeometry g = grid(464, 228);  // variable columns 20 wide
    const struct {
        QPoint p;
        int scroll, count, record;
    } rows[] = {
        {{10, 27}, 0, 50, 0},   {{10, 46}, 0, 50, 0},  {{10, 47}, 0, 50, 1},
        {{10, 30}, 7, 50, 7},   {{10, 26}, 0, 50, -1},  // header
        {{1, 30}, 0, 50, -1},   {{462, 30}, 0, 50, 0}, {{463, 30}, 0, 50, -1},
        {{10, 87}, 0, 3, -1},  // below the last record
        {{10, 227}, 0, 50, 10},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(g.recordAt(r.p, r.scroll, r.count), r.record) << r.p.x() << "," << r.p.y();
    }

    const struct {
        int x, column;
    } columns[] = {
        {2, -1},   {41, -1},  // 序号 edits nothing
        {42, 1},   {82, 1},   // 打印; the shared edge goes to the column tested first
        {83, 2},   {102, 2},  {103, 3},  {282, 11}, {283, 12},
        {322, 12}, {323, 13}, {423, 15}, {462, 15}, {463, -1},
    };
    for (const auto& c : columns)
        EXPECT_EQ(g.editableColumnAt(c.x), c.column) << c.x;

    EXPECT_EQ(g.cellRect(12, 1, 10), QRect(QPoint(42, 67), QPoint(82, 86)));
}

TEST(GridGeometry, ZeroWidthColumnsLoseTheirEdgeToTheColumnBefore) {
    const GridGeometry g = grid(264, 100);
    EXPECT_EQ(g.editableColumnAt(82), 1);
    EXPECT_EQ(g.editableColumnAt(83), 12);
}

TEST(GridGeometry, PopupStaysOnTheScreen) {
    const QSize screen(1280, 800);
    const QSize popup(200, 170);
    const struct {
        QRect cell;
        QPoint at;
    } cases[] = {
        {QRect(QPoint(100, 100), QPoint(150, 119)), {100, 100}},
        {QRect(QPoint(1080, 100), QPoint(1130, 119)), {930, 100}},  // 1080 + 200 reaches 1280
        {QRect(QPoint(1079, 100), QPoint(1129, 119)), {1079, 100}},
        {QRect(QPoint(100, 610), QPoint(150, 629)), {100, 459}},  // 610 + 170 + 20 reaches 800
        {QRect(QPoint(100, 609), QPoint(150, 628)), {100, 609}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GridGeometry::popupPosition(c.cell, popup, screen), c.at) << c.cell.x();
    }
}

// A column's field and the column itself name the same record value: the grid paints a
// cell by its field and stores a typed value by its column.
TEST(GridGeometry, EachColumnsFieldNamesTheColumnsValue) {
    const GridGeometry g = grid(1264, 200);
    for (int column = 0; column < GridGeometry::kColumnCount; ++column) {
        SCOPED_TRACE(column);
        const uint32_t field = g.columns()[size_t(column)].fieldId;
        const int value = GridGeometry::valueIndexOfColumn(column);
        EXPECT_EQ(GridGeometry::valueIndexOfField(field), value);
        if (value >= 0) {
            EXPECT_EQ(GridGeometry::fieldIdOfValue(value), field);
        }
    }
    for (const uint32_t other : {GridGeometry::kFirstVariableField + 10, GridGeometry::kDiscountField + 1, 0u})
        EXPECT_EQ(GridGeometry::valueIndexOfField(other), -1) << other;
}
