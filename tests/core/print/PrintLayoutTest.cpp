#include <gtest/gtest.h>

#include <set>

#include "PrintFixtures.h"
#include "core/print/PrintLayout.h"

namespace pemo {

using test::makeDocument;
using test::SignLayout;

namespace {

PrintSettings settings(int mode, QSize sheet = QSize(200, 287), int overlap = 10, int spacing = 10) {
    PrintSettings s;
    s.mode = mode;
    s.sheetMm = sheet;
    s.tileOverlapMm = overlap;
    s.mergeSpacingMm = spacing;
    // Label jobs go onto a sheet of four labels of the test signs' most common size.
    s.labelSheet = std::make_shared<const LabelTemplate>(
        *LabelTemplate::fromCustomText(QStringLiteral("A4,2x2,90x120,10,20,100,130")));
    return s;
}

int pages(const CPatDoc& doc, const PrintSettings& s) {
    PrintLayout layout;
    layout.prepare(doc, s);
    return layout.pageCount();
}

void expectRect(const QRectF& actual, const QRectF& expected) {
    EXPECT_NEAR(actual.x(), expected.x(), 1e-6);
    EXPECT_NEAR(actual.y(), expected.y(), 1e-6);
    EXPECT_NEAR(actual.width(), expected.width(), 1e-6);
    EXPECT_NEAR(actual.height(), expected.height(), 1e-6);
}

}  // namespace

TEST(PrintLayout, PageCountsOfEveryMode) {
    // Five records of 90 × 120 mm with copies 1, 2, 0, 3, 1: four queued, seven copies.
    const auto doc = makeDocument({{90, 120, 1}, {90, 120, 2}, {90, 120, 0}, {90, 120, 3}, {90, 120, 1}});
    const struct {
        int mode;
        int pages;
    } cases[] = {
        {PrintMode::Template, 1},
        {PrintMode::ByItemWithBackground, 4},
        {PrintMode::ByItemWithoutBackground, 4},
        {PrintMode::ByCopiesWithBackground, 7},
        {PrintMode::ByCopiesWithoutBackground, 7},
        {PrintMode::Proof1x2, 2},
        {PrintMode::Proof2x1, 2},
        {PrintMode::Proof2x2, 1},
        {PrintMode::Proof8x8, 1},
        {PrintMode::Tile, 4},   // each sign fits one sheet
        {PrintMode::Merge, 2},  // 2 × 2 a sheet, 7 copies
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pages(*doc, settings(c.mode)), c.pages) << "mode " << c.mode;
    }
}

TEST(PrintLayout, TileAndMergeCounts) {
    const struct {
        SignLayout sign;
        int mode;
        QSize sheet;
        int overlap;
        int spacing;
        int pages;
    } cases[] = {
        {{400, 580, 1}, PrintMode::Tile, {200, 287}, 10, 10, 9},  // 3 × 3
        {{400, 580, 1}, PrintMode::Tile, {200, 287}, 0, 10, 6},   // 2 × 3
        {{400, 580, 2}, PrintMode::Tile, {200, 287}, 20, 10, 9},  // copies do not count
        {{200, 287, 1}, PrintMode::Tile, {200, 287}, 10, 10, 1},  // exactly one sheet
        {{201, 287, 1}, PrintMode::Tile, {200, 287}, 10, 10, 2},
        {{5, 5, 1}, PrintMode::Tile, {200, 287}, 10, 10, 1},      // narrower than the overlap
        {{90, 120, 7}, PrintMode::Merge, {200, 287}, 10, 10, 2},  // 4 a sheet
        {{90, 120, 4}, PrintMode::Merge, {200, 287}, 10, 10, 1},
        {{90, 120, 5}, PrintMode::Merge, {200, 287}, 10, 30, 3},  // 1 × 2 a sheet
        {{200, 287, 3}, PrintMode::Merge, {200, 287}, 10, 5, 3},  // exactly fills
    };
    for (const auto& c : cases) {
        const auto doc = makeDocument({c.sign});
        EXPECT_EQ(pages(*doc, settings(c.mode, c.sheet, c.overlap, c.spacing)), c.pages)
            << c.sign.widthMm << "x" << c.sign.heightMm << " mode " << c.mode;
    }
    EXPECT_EQ(PrintLayout::tileCount(200, 400, 10), 3);
    EXPECT_EQ(PrintLayout::tileCount(287, 580, 10), 3);
    EXPECT_EQ(PrintLayout::tileCount(200, 400, 0), 2);
    EXPECT_EQ(PrintLayout::mergeCount(200, 90, 10), 2);
    EXPECT_EQ(PrintLayout::mergeCount(287, 120, 10), 2);
}

TEST(PrintLayout, RefusesBeforeDividing) {
    const auto empty = makeDocument({{190, 280, 0}, {190, 280, 0}});
    const auto big = makeDocument({{300, 300, 1}});
    const auto a4 = makeDocument({{190, 280, 1}});
    const struct {
        CPatDoc* doc;
        PrintSettings settings;
        bool silent;
    } cases[] = {
        {empty.get(), settings(PrintMode::ByItemWithBackground), false},
        {empty.get(), settings(PrintMode::ByCopiesWithBackground), false},
        {empty.get(), settings(PrintMode::Proof2x2), false},
        {empty.get(), settings(PrintMode::Tile), false},
        {empty.get(), settings(PrintMode::Merge), false},
        {a4.get(), settings(PrintMode::Tile, QSize(10, 287), 10), false},
        {a4.get(), settings(PrintMode::Tile, QSize(200, 8), 10), false},
        {big.get(), settings(PrintMode::Merge), false},
        {a4.get(), settings(PrintMode::ByItemWithBackground, QSize(0, 287)), false},
        {a4.get(), settings(0), true},
        {empty.get(), settings(PrintMode::Labels), false},
        {a4.get(), settings(18), true},
    };
    for (const auto& c : cases) {
        PrintLayout layout;
        EXPECT_FALSE(layout.prepare(*c.doc, c.settings)) << "mode " << c.settings.mode;
        EXPECT_EQ(layout.pageCount(), 0);
        EXPECT_EQ(layout.refusal().isEmpty(), c.silent) << "mode " << c.settings.mode;
        EXPECT_TRUE(layout.sheet(1).signs.empty());
    }
}

TEST(PrintLayout, RecordWithoutCopiesPrintsOnlyAsTemplate) {
    const auto doc = makeDocument({{90, 120, 1}, {90, 120, 0}, {90, 120, 2}});
    const InfoRecord* unqueued = doc->records[1].get();
    for (const PrintMode& mode : PrintMode::all()) {
        if (mode.kind == PrintMode::Kind::Template) continue;
        PrintLayout layout;
        ASSERT_TRUE(layout.prepare(*doc, settings(mode.code))) << mode.code;
        for (int k = 1; k <= layout.pageCount(); ++k) {
            for (const SignPlacement& p : layout.sheet(k).signs) EXPECT_NE(p.record, unqueued);
        }
    }
    // Template printing shows the current record even when it is out of the queue.
    doc->records[0]->current = false;
    doc->records[1]->current = true;
    PrintLayout layout;
    ASSERT_TRUE(layout.prepare(*doc, settings(PrintMode::Template)));
    ASSERT_EQ(layout.sheet(1).signs.size(), 1u);
    EXPECT_EQ(layout.sheet(1).signs[0].record, unqueued);
    EXPECT_TRUE(layout.sheet(1).signs[0].templateMode);
}

TEST(PrintLayout, CopiesFollowTheRecordList) {
    const auto doc = makeDocument({{90, 120, 2}, {90, 120, 0}, {90, 120, 1}, {90, 120, 3}});
    const InfoRecord* r[] = {doc->records[0].get(), doc->records[2].get(), doc->records[3].get()};
    const std::vector<const InfoRecord*> expected = {r[0], r[0], r[1], r[2], r[2], r[2]};

    PrintLayout byCopies;
    ASSERT_TRUE(byCopies.prepare(*doc, settings(PrintMode::ByCopiesWithoutBackground)));
    std::vector<const InfoRecord*> printed;
    for (int k = 1; k <= byCopies.pageCount(); ++k) {
        const SheetLayout sheet = byCopies.sheet(k);
        ASSERT_EQ(sheet.signs.size(), 1u);
        EXPECT_FALSE(sheet.signs[0].withBackground);
        printed.push_back(sheet.signs[0].record);
    }
    EXPECT_EQ(printed, expected);

    PrintLayout merge;
    ASSERT_TRUE(merge.prepare(*doc, settings(PrintMode::Merge)));
    printed.clear();
    for (int k = 1; k <= merge.pageCount(); ++k) {
        for (const SignPlacement& p : merge.sheet(k).signs) printed.push_back(p.record);
    }
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(merge.sheet(1).signs.size(), 4u);
    EXPECT_EQ(merge.sheet(2).signs.size(), 2u);
}

TEST(PrintLayout, MixedPageSizesTileAndMergeByEachRecordsOwnSize) {
    const auto doc = makeDocument({{400, 580, 1}, {190, 280, 2}, {90, 120, 3}, {90, 120, 2}});
    PrintLayout tile;
    ASSERT_TRUE(tile.prepare(*doc, settings(PrintMode::Tile)));
    EXPECT_EQ(tile.pageCount(), 9 + 1 + 1 + 1);
    EXPECT_EQ(tile.sheet(9).signs[0].record, doc->records[0].get());
    EXPECT_EQ(tile.sheet(10).signs[0].record, doc->records[1].get());
    EXPECT_EQ(tile.sheet(12).signs[0].record, doc->records[3].get());

    // The large sign cannot be merged at all.
    PrintLayout refused;
    EXPECT_FALSE(refused.prepare(*doc, settings(PrintMode::Merge)));
    EXPECT_TRUE(refused.refusal().contains(QStringLiteral("400")));

    // 190 × 280: one a sheet (2 sheets); 90 × 120: five copies, four a sheet (2 sheets).
    doc->records[0]->copies = 0;
    PrintLayout merge;
    ASSERT_TRUE(merge.prepare(*doc, settings(PrintMode::Merge)));
    ASSERT_EQ(merge.pageCount(), 4);
    EXPECT_EQ(merge.sheet(1).signs.size(), 1u);
    EXPECT_EQ(merge.sheet(2).signs.size(), 1u);
    EXPECT_EQ(merge.sheet(3).signs.size(), 4u);
    EXPECT_EQ(merge.sheet(3).signs[3].record, doc->records[3].get());
    EXPECT_EQ(merge.sheet(4).signs.size(), 1u);
    for (const SignPlacement& p : merge.sheet(3).signs) EXPECT_EQ(p.rect.size(), QSizeF(90, 120));
}

TEST(PrintLayout, WhereSignsLand) {
    const auto a4 = makeDocument({{190, 280, 1}});
    const auto a3Landscape = makeDocument({{420, 297, 1}});
    const auto tall = makeDocument({{400, 580, 1}});
    const auto tags = makeDocument({{90, 120, 3}});
    const double turnedScale = 200.0 / 297.0;
    const double proofScale = (143.5 - 4) / 280;
    const struct {
        CPatDoc* doc;
        int mode;
        int page;
        int sign;
        QRectF rect;
        double scale;
        bool turned;
    } cases[] = {
        // Centred at actual size.
        {a4.get(), PrintMode::ByItemWithBackground, 1, 0, {5, 3.5, 190, 280}, 1, false},
        {a4.get(), PrintMode::Template, 1, 0, {5, 3.5, 190, 280}, 1, false},
        // Too large upright: turned, then reduced to the sheet's width.
        {a3Landscape.get(), PrintMode::ByCopiesWithBackground, 1, 0,
         {0, (287 - 420 * turnedScale) / 2, 200, 420 * turnedScale}, turnedScale, true},
        // Proof 2 × 2: cells of 100 × 143.5, the sign reduced into the cell less 2 mm a side.
        {a4.get(), PrintMode::Proof2x2, 1, 0,
         {(100 - 190 * proofScale) / 2, 2, 190 * proofScale, 280 * proofScale}, proofScale, false},
        // Tiles: row by row, each next sheet starting 10 mm before the previous one ended.
        {tall.get(), PrintMode::Tile, 1, 0, {0, 0, 400, 580}, 1, false},
        {tall.get(), PrintMode::Tile, 2, 0, {-190, 0, 400, 580}, 1, false},
        {tall.get(), PrintMode::Tile, 5, 0, {-190, -277, 400, 580}, 1, false},
        {tall.get(), PrintMode::Tile, 9, 0, {-380, -554, 400, 580}, 1, false},
        // Merge: a 190 × 250 grid centred, 10 mm apart, row by row.
        {tags.get(), PrintMode::Merge, 1, 0, {5, 18.5, 90, 120}, 1, false},
        {tags.get(), PrintMode::Merge, 1, 1, {105, 18.5, 90, 120}, 1, false},
        {tags.get(), PrintMode::Merge, 1, 2, {5, 148.5, 90, 120}, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " page " << c.page);
        PrintLayout layout;
        ASSERT_TRUE(layout.prepare(*c.doc, settings(c.mode)));
        const SheetLayout sheet = layout.sheet(c.page);
        ASSERT_GT(sheet.signs.size(), static_cast<size_t>(c.sign));
        const SignPlacement& p = sheet.signs[c.sign];
        expectRect(p.rect, c.rect);
        EXPECT_NEAR(p.scale, c.scale, 1e-9);
        EXPECT_EQ(p.turned, c.turned);
    }
}

TEST(PrintLayout, TileMarksShowWhereNeighboursOverlap) {
    const auto doc = makeDocument({{400, 580, 1}});
    PrintLayout layout;
    ASSERT_TRUE(layout.prepare(*doc, settings(PrintMode::Tile)));
    const auto xs = [](const SheetLayout& sheet) {
        std::set<double> result;
        for (const QLineF& l : sheet.marks) {
            if (l.x1() == l.x2()) result.insert(l.x1());
        }
        return result;
    };
    // First column: the next sheet's edge at 190 mm; middle: also where the previous
    // one ends at 10 mm; last column: only that.
    EXPECT_EQ(xs(layout.sheet(1)), (std::set<double>{190}));
    EXPECT_EQ(xs(layout.sheet(2)), (std::set<double>{10, 190}));
    EXPECT_EQ(xs(layout.sheet(3)), (std::set<double>{10}));
    for (const QLineF& l : layout.sheet(5).marks) {
        EXPECT_TRUE(QRectF(0, 0, 200, 287).contains(l.p1()) && QRectF(0, 0, 200, 287).contains(l.p2()));
    }
    PrintLayout flush;
    ASSERT_TRUE(flush.prepare(*doc, settings(PrintMode::Tile, QSize(200, 287), 0)));
    EXPECT_TRUE(flush.sheet(1).marks.empty());
}

TEST(PrintLayout, ProofCommandsAndCommandLineNames) {
    const PrintMode proof = *PrintMode::fromCode(PrintMode::Proof4x8);
    EXPECT_EQ(proof.printCommand, 34547);
    EXPECT_EQ(proof.previewCommand, 34557);
    EXPECT_EQ(proof.printText, QString::fromUtf8("校对打印(4X8)..."));
    EXPECT_EQ(PrintMode::fromName(QStringLiteral("proof-8x4"), true)->code, PrintMode::Proof8x4);
    EXPECT_EQ(PrintMode::fromName(QStringLiteral("by-copies"), false)->code, PrintMode::ByCopiesWithoutBackground);
    EXPECT_FALSE(PrintMode::fromName(QStringLiteral("proof-3x3"), true));
}

}  // namespace pemo
