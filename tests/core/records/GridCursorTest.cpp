#include <gtest/gtest.h>

#include <vector>

#include "core/records/GridCursor.h"

using namespace pemo;
using Move = GridCursor::Move;

TEST(GridCursor, KeysStopAtTheEdgesAndReachTheEmptyRowAfterTheLast) {
    constexpr int kCount = 5;  // records 0 … 4, row 5 is the empty row
    constexpr int kPage = 3;
    const struct {
        const char* name;
        int row, column;
        std::vector<Move> moves;
        int wantRow, wantColumn;
    } cases[] = {
        {"left at the first column stays", 0, 1, {Move::Left}, 0, 1},
        {"right at 折扣 stays", 0, 15, {Move::Right}, 0, 15},
        {"up at the first row stays", 0, 4, {Move::Up, Move::BackEnter}, 0, 4},
        {"down from the last record reaches the empty row", 4, 3, {Move::Down}, 5, 3},
        {"nothing below the empty row", 5, 3, {Move::Down, Move::Enter, Move::PageDown}, 5, 3},
        {"tab at 折扣 wraps to the next row's 打印", 2, 15, {Move::Tab}, 3, 1},
        {"tab at the empty row's end stays", 5, 15, {Move::Tab}, 5, 15},
        {"shift+tab at 打印 wraps back to 折扣", 2, 1, {Move::BackTab}, 1, 15},
        {"shift+tab at the first cell stays", 0, 1, {Move::BackTab}, 0, 1},
        {"enter goes back to where the tabs started", 1, 2,
         {Move::Tab, Move::Tab, Move::Tab, Move::Enter}, 2, 2},
        {"an arrow forgets where the tabs started", 1, 2,
         {Move::Tab, Move::Right, Move::Enter}, 2, 4},
        {"home and end", 3, 7, {Move::End, Move::Up, Move::Home}, 2, 1},
        {"page down stops at the empty row", 1, 2, {Move::PageDown, Move::PageDown}, 5, 2},
        {"page up stops at the first row", 4, 2, {Move::PageUp, Move::PageUp}, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GridCursor cursor;
        cursor.place(c.row, c.column, kCount);
        for (Move m : c.moves) cursor.move(m, kCount, kPage);
        EXPECT_EQ(cursor.row(), c.wantRow);
        EXPECT_EQ(cursor.column(), c.wantColumn);
        EXPECT_FALSE(cursor.hasBlock());
    }
}

TEST(GridCursor, ShiftWidensTheBlockFromItsFirstCorner) {
    GridCursor cursor;
    cursor.place(3, 4, 10);
    cursor.move(Move::Down, 10, 5, true);
    cursor.move(Move::Down, 10, 5, true);
    cursor.move(Move::Left, 10, 5, true);
    EXPECT_EQ(cursor.selection(), QRect(QPoint(3, 3), QPoint(4, 5)));
    // A plain move drops the block.
    cursor.move(Move::Right, 10, 5);
    EXPECT_EQ(cursor.selection(), QRect(QPoint(4, 5), QPoint(4, 5)));
    // Out-of-range places come to the nearest cell; 序号 is never selected.
    cursor.place(-4, 0, 10);
    EXPECT_EQ(cursor.selection(), QRect(QPoint(1, 0), QPoint(1, 0)));
    cursor.selectBlock(9, 14, 40, 3, 10);
    EXPECT_EQ(cursor.row(), 9);
    EXPECT_EQ(cursor.column(), 14);
    EXPECT_EQ(cursor.selection(), QRect(QPoint(14, 9), QPoint(15, 10)));
}
