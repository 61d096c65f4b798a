#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "PrintFixtures.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintLayout.h"

using namespace pemo;
using test::makeDocument;

namespace {

PrintSettings tileSettings(bool turn) {
    PrintSettings settings;
    settings.mode = PrintMode::Tile;
    settings.sheetMm = QSize(200, 287);
    settings.tileOverlapMm = 10;
    settings.turnTiles = turn;
    return settings;
}

}  // namespace

TEST(PrintTiles, ASheetIsTurnedOnlyWhenThatTakesFewerSheets) {
    const struct {
        QSize signMm;
        bool turn;
        int pages;
        bool turned;
    } cases[] = {
        {{400, 580}, false, 9, false},  // 3 × 3 upright
        {{400, 580}, true, 6, true},    // 3 × 2 turned
        {{150, 600}, true, 3, false},   // turned it would take 4
        {{580, 400}, true, 6, false},   // already best upright: 3 × 2
        {{100, 100}, true, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.signMm.width() << "x" << c.signMm.height() << " turn " << c.turn);
        const auto doc = makeDocument({{c.signMm.width(), c.signMm.height(), 1}});
        PrintLayout layout;
        ASSERT_TRUE(layout.prepare(*doc, tileSettings(c.turn)));
        EXPECT_EQ(layout.pageCount(), c.pages);
        for (int k = 1; k <= layout.pageCount(); ++k) {
            const SheetLayout sheet = layout.sheet(k);
            ASSERT_EQ(sheet.signs.size(), 1u);
            EXPECT_EQ(sheet.signs[0].turned, c.turned) << "page " << k;
        }
    }
}

TEST(PrintTiles, EverySheetSaysWhichTileOfWhichRecordItIs) {
    // The first record is not queued: the second one's tiles say r2.
    const auto doc = makeDocument({{400, 580, 0}, {400, 580, 1}, {300, 280, 1}});
    PrintLayout layout;
    ASSERT_TRUE(layout.prepare(*doc, tileSettings(false)));
    ASSERT_EQ(layout.pageCount(), 9 + 2);
    const struct {
        int page;
        const char* label;
        bool besideTheSign;  // in a part of the sheet the sign leaves white
    } cases[] = {
        {1, "r2 · 1/3 · 1/3", false},
        {2, "r2 · 1/3 · 2/3", false},
        {6, "r2 · 2/3 · 3/3", true},  // the sign ends 20 mm before the right edge
        {7, "r2 · 3/3 · 1/3", true},
        {10, "r3 · 1/1 · 1/2", true},  // 7 mm left below the sign hold the label
        {11, "r3 · 1/1 · 2/2", true},
    };
    const QRectF area(QPointF(0, 0), QSizeF(200, 287));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        const SheetLayout sheet = layout.sheet(c.page);
        ASSERT_EQ(sheet.labels.size(), 1u);
        const SheetLabel& label = sheet.labels[0];
        EXPECT_EQ(label.text, QString::fromUtf8(c.label));
        EXPECT_TRUE(area.contains(label.box)) << label.box.x() << "," << label.box.y();
        EXPECT_EQ(!label.box.intersects(sheet.signs[0].visible), c.besideTheSign);
        if (!c.besideTheSign) {
            // On the sign only in the strip along the bottom that the next row covers, or
            // where the sign itself leaves too little room.
            EXPECT_GE(label.box.top(), 287 - 10 - 0.01);
        }
    }
    // Other modes carry no labels.
    PrintSettings byItem = tileSettings(false);
    byItem.mode = PrintMode::ByItemWithBackground;
    ASSERT_TRUE(layout.prepare(*doc, byItem));
    EXPECT_TRUE(layout.sheet(1).labels.empty());
}

TEST(PrintTiles, ATurnedTilePrintsTheRightPartOfTheSign) {
    constexpr int kDpi = 40;
    const auto doc = makeDocument({{400, 580, 1}});
    test::addTwoColourBackground(*doc, *doc->records[0], Qt::red, Qt::blue);
    PrintJob job(*doc);
    ASSERT_TRUE(job.prepare(tileSettings(true)));
    ASSERT_EQ(job.pageCount(), 6);
    // Turned clockwise the sign is 580 wide and 400 high; its top (red) runs down the
    // right: the first column shows the bottom (blue), the last the top (red).
    const struct {
        int page;
        QColor colour;
    } cases[] = {{1, Qt::blue}, {3, Qt::red}, {4, Qt::blue}, {6, Qt::red}};
    for (const bool direct : {false, true}) {
        for (const auto& c : cases) {
            QImage image(200 * kDpi * 10 / 254, 287 * kDpi * 10 / 254, QImage::Format_RGB32);
            image.setDotsPerMeterX(qRound(kDpi / 0.0254));
            image.setDotsPerMeterY(qRound(kDpi / 0.0254));
            image.fill(Qt::white);
            job.setDirectOutput(direct);
            QPainter painter(&image);
            job.renderPage(painter, c.page);
            painter.end();
            const QPoint middle(image.width() / 2, image.height() / 3);
            EXPECT_EQ(image.pixelColor(middle), c.colour) << "page " << c.page << (direct ? " direct" : " bands");
        }
    }
}
