// Label sheets through the print layout: every label where the catalogue puts it.
#include <gtest/gtest.h>

#include "PrintFixtures.h"
#include "core/blocks/Twips.h"
#include "core/labels/LabelCatalogue.h"
#include "core/print/PrintLayout.h"

namespace pemo {

using test::makeDocument;

namespace {

constexpr double kPt = 25.4 / 72;
constexpr double kIn = 25.4;
constexpr double kTolerance = 0.1;  // millimetres

const LabelCatalogue& fixtures() {
    static const LabelCatalogue catalogue = [] {
        LabelCatalogue c;
        c.loadFolder(QStringLiteral(PEMO_TEST_DATA "/labels"));
        return c;
    }();
    return catalogue;
}

PrintSettings labelSettings(const QString& product, int start = 1, QPointF origin = {}) {
    PrintSettings s;
    s.mode = PrintMode::Labels;
    const LabelTemplate* t = fixtures().find(product);
    if (t) s.labelSheet = std::make_shared<const LabelTemplate>(*t);
    s.startLabel = start;
    s.areaOriginMm = origin;
    return s;
}

}  // namespace

// Each product's grid written out from its catalogue entry by hand (x0, y0, dx, dy and
// the label's size in the entry's own unit), one record per label of the sheet, every
// record of the label's own size: each lands on its label, exactly.
TEST(PrintLabels, EveryLabelAtTheCataloguesPlace) {
    const struct {
        const char* product;
        int columns, rows;
        double x0, y0, dx, dy, width, height;  // millimetres
    } cases[] = {
        {"Avery L7160", 3, 7, 21.2 * kPt, 43.9 * kPt, 187.2 * kPt, 108 * kPt, 181.4 * kPt, 108 * kPt},
        {"Avery J8160", 3, 7, 21.2 * kPt, 43.9 * kPt, 187.2 * kPt, 108 * kPt, 181.4 * kPt, 108 * kPt},
        {"Hama 50151", 4, 6, 16, 16, 46, 46.5, 40, 40},
        {"Hama 50450", 3, 8, 0, 0, 70, 37, 70, 37},
        {"Endisch 6406342x", 3, 6, 7.21, 11, 66.04, 46.54, 63.5, 42.3},
        {"Avery 5160", 3, 10, 0.15625 * kIn, 0.5 * kIn, 2.78125 * kIn, kIn, 2.625 * kIn, kIn},
        {"Avery 5260", 3, 10, 0.15625 * kIn, 0.5 * kIn, 2.78125 * kIn, kIn, 2.625 * kIn, kIn},
        {"Avery 8293", 4, 5, 0.5 * kIn, 0.75 * kIn, 2 * kIn, 2 * kIn, 1.5 * kIn, 1.5 * kIn},
        {"Avery 5931", 1, 2, 144 * kPt, 36 * kPt, 351 * kPt, 396 * kPt, 333 * kPt, 333 * kPt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        for (const QPointF origin : {QPointF(0, 0), QPointF(5, 5), QPointF(3.2, 4.8)}) {
            const int count = c.columns * c.rows;
            // Records of the label's size, in whole millimetres as pages are: each sign
            // is then scaled by at most a few hundredths and stays centred.
            std::vector<test::SignLayout> signs(count, {int(std::lround(c.width)), int(std::lround(c.height)), 1});
            const auto doc = makeDocument(signs);
            PrintLayout layout;
            ASSERT_TRUE(layout.prepare(*doc, labelSettings(QString::fromLatin1(c.product), 1, origin)))
                << layout.refusal().toStdString();
            ASSERT_EQ(layout.pageCount(), 1);
            const SheetLayout sheet = layout.sheet(1);
            ASSERT_EQ(static_cast<int>(sheet.signs.size()), count);
            for (int i = 0; i < count; ++i) {
                const SignPlacement& p = sheet.signs[i];
                EXPECT_EQ(p.record, doc->records[i].get());
                // Row by row, left to right; on the sheet, measured from its corner.
                const QRectF label(c.x0 + (i % c.columns) * c.dx - origin.x(), c.y0 + (i / c.columns) * c.dy - origin.y(),
                                   c.width, c.height);
                EXPECT_NEAR(p.visible.center().x(), label.center().x(), kTolerance) << "label " << i + 1;
                EXPECT_NEAR(p.visible.center().y(), label.center().y(), kTolerance) << "label " << i + 1;
                EXPECT_NEAR(p.rect.center().x(), label.center().x(), kTolerance) << "label " << i + 1;
                EXPECT_NEAR(p.rect.center().y(), label.center().y(), kTolerance) << "label " << i + 1;
                EXPECT_TRUE(label.adjusted(-kTolerance, -kTolerance, kTolerance, kTolerance).contains(p.visible))
                    << "label " << i + 1;
                EXPECT_NEAR(std::max(p.rect.width() / label.width(), p.rect.height() / label.height()), 1.0,
                            0.6 / std::min(c.width, c.height))
                    << "label " << i + 1;
            }
        }
    }
}

TEST(PrintLabels, StartLabelAndPageCountForCopies) {
    const struct {
        const char* product;
        std::vector<int> copies;  // one record each
        int start;
        int pages;
        int firstSlot;      // where the first copy lands on the first sheet (0-based)
        int lastPageSigns;  // signs on the last sheet
    } cases[] = {
        {"Avery L7160", {1}, 1, 1, 0, 1},
        {"Avery L7160", {21}, 1, 1, 0, 21},
        {"Avery L7160", {10, 0, 12}, 1, 2, 0, 1},   // 22 copies; the record without copies prints nothing
        {"Avery L7160", {1}, 21, 1, 20, 1},         // the last label of a used sheet
        {"Avery L7160", {2}, 21, 2, 20, 1},
        {"Avery L7160", {5, 5, 5, 2}, 5, 1, 4, 17}, // 17 copies fill labels 5 … 21 exactly
        {"Avery L7160", {1000}, 1, 48, 0, 13},
        {"Avery L7160", {600, 400}, 8, 48, 7, 20},
        {"Hama 50151", {30}, 24, 3, 23, 5},
        {"Avery 5931", {3}, 2, 2, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.product << " start " << c.start);
        std::vector<test::SignLayout> signs;
        for (int copies : c.copies) signs.push_back({63, 38, copies});
        const auto doc = makeDocument(signs);
        const PrintSettings s = labelSettings(QString::fromLatin1(c.product), c.start);
        PrintLayout layout;
        ASSERT_TRUE(layout.prepare(*doc, s)) << layout.refusal().toStdString();
        EXPECT_EQ(layout.pageCount(), c.pages);
        const std::vector<QRectF> boxes = s.labelSheet->labelRects();
        const SheetLayout first = layout.sheet(1);
        ASSERT_FALSE(first.signs.empty());
        EXPECT_TRUE(boxes[c.firstSlot].contains(first.signs.front().rect.center()));
        EXPECT_EQ(layout.sheet(layout.pageCount()).signs.size(), static_cast<size_t>(c.lastPageSigns));
        // Every copy printed once, in the record list's order.
        std::vector<const InfoRecord*> expected;
        for (size_t r = 0; r < c.copies.size(); ++r) expected.insert(expected.end(), c.copies[r], doc->records[r].get());
        std::vector<const InfoRecord*> printed;
        for (int k = 1; k <= layout.pageCount(); ++k) {
            for (const SignPlacement& p : layout.sheet(k).signs) printed.push_back(p.record);
        }
        EXPECT_EQ(printed, expected);
    }
}

TEST(PrintLabels, ShapesOutlinesAndRefusals) {
    const auto doc = makeDocument({{40, 40, 3}});
    // Round labels clip their signs to the disc; sharp rectangles need no shape.
    PrintLayout round;
    ASSERT_TRUE(round.prepare(*doc, labelSettings(QStringLiteral("Hama 50151"))));
    const SheetLayout roundSheet = round.sheet(1);
    ASSERT_EQ(roundSheet.signs.size(), 3u);
    EXPECT_FALSE(roundSheet.signs[0].shape.isEmpty());
    EXPECT_FALSE(roundSheet.signs[0].shape.contains(roundSheet.signs[0].visible.topLeft() + QPointF(0.5, 0.5)));
    EXPECT_TRUE(roundSheet.outlines.empty());

    PrintLayout sharp;
    ASSERT_TRUE(sharp.prepare(*doc, labelSettings(QStringLiteral("Hama 50450"))));
    EXPECT_TRUE(sharp.sheet(1).signs[0].shape.isEmpty());

    // Outlines for a test print: every label of the sheet, used or not.
    PrintSettings outlined = labelSettings(QStringLiteral("Avery L7160"), 3);
    outlined.labelOutlines = true;
    PrintLayout test;
    ASSERT_TRUE(test.prepare(*doc, outlined));
    EXPECT_EQ(test.sheet(1).outlines.size(), 21u);

    const struct {
        PrintSettings settings;
        const char* why;
    } refused[] = {
        {labelSettings(QStringLiteral("No such")), "no sheet"},
        {labelSettings(QStringLiteral("Avery L7160"), 22), "start past the sheet"},
        {labelSettings(QStringLiteral("Avery L7160"), 0), "start before the sheet"},
    };
    for (const auto& r : refused) {
        PrintLayout layout;
        EXPECT_FALSE(layout.prepare(*doc, r.settings)) << r.why;
        EXPECT_FALSE(layout.refusal().isEmpty()) << r.why;
    }
}

// A sign of another size than its label is scaled to fit it, centred, proportions kept.
TEST(PrintLabels, OtherSizesAreScaledToFit) {
    const auto doc = makeDocument({{190, 280, 1}, {35, 20, 1}});
    PrintLayout layout;
    ASSERT_TRUE(layout.prepare(*doc, labelSettings(QStringLiteral("Hama 50450"))));
    const SheetLayout sheet = layout.sheet(1);
    ASSERT_EQ(sheet.signs.size(), 2u);
    // 190 × 280 into 70 × 37: the height rules.
    const double tw = 25.4 / 1440;
    const double scale = 37 / (mmToTwips(280) * tw);
    EXPECT_NEAR(sheet.signs[0].scale, scale, 1e-9);
    EXPECT_NEAR(sheet.signs[0].rect.height(), 37, 1e-6);
    EXPECT_NEAR(sheet.signs[0].rect.center().x(), 35, 1e-6);
    // 35 × 20 onto 70 × 37: enlarged until its height meets the label's.
    EXPECT_NEAR(sheet.signs[1].rect.height(), 37, 1e-6);
    EXPECT_NEAR(sheet.signs[1].rect.center().x(), 105, 1e-6);
    EXPECT_NEAR(sheet.signs[1].rect.center().y(), 18.5, 1e-6);
}

}  // namespace pemo
