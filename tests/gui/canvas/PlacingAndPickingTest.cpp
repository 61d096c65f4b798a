// Placing a barcode with a click, and Alt+click through blocks stacked on the page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "core/barcodes/BarcodeNominal.h"
#include "core/barcodes/BarcodeRequest.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/blocks/Twips.h"
#include "core/document/CPatDoc.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/canvas/CanvasHost.h"

using namespace pemo;

namespace {

class PageHost : public CanvasHost {
public:
    CPatDoc& document() const override { return doc; }
    double zoom() const override { return 1.0; }
    int pixelsPerInch() const override { return 96; }
    bool templateMode() const override { return false; }
    bool showFrameLines() const override { return true; }
    bool showAlignmentLines() const override { return false; }
    void canvasRepainted() override {}
    void showCurrentRecord() override {}

    mutable CPatDoc doc;
};

QPoint device(int twipsX, int twipsY) { return QPoint(toDevice(twipsX, 96, 1.0), toDevice(twipsY, 96, 1.0)); }

void click(CPatCanvas& canvas, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), QPointF(canvas.mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, modifiers);
        QApplication::sendEvent(&canvas, &event);
    }
}

}  // namespace

// A click with 插入条码 armed gives the symbology's nominal size: whole on a tag of
// 90 × 60 mm, scaled to the page (to no less than 80 %) on a label of 63.5 × 38.1 mm,
// and moved back onto the page where the click was too near its edge.
TEST(PlacingAndPicking, AClickPlacesABarcodeOfItsNominalSize) {
    const QSizeF nominal =
        BarcodeNominal::sizeMm(BarcodeFace::Symbology::Ean13, QStringLiteral("6901234567892"), true);
    const struct {
        const char* name;
        int pageWidthMm, pageHeightMm;
        QPoint clickTwips;
        double scale;
    } cases[] = {
        {"a tag holds it whole", 90, 60, {500, 500}, 1.0},
        {"a narrow label takes it smaller", 33, 38, {200, 300}, 33.0 / nominal.width()},
        {"near the right edge it moves back", 90, 60, {4800, 2800}, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageHost host;
        host.doc.newDocument();
        InfoRecord& r = *host.doc.currentRecord();
        r.resizePage(c.pageWidthMm, c.pageHeightMm);
        CPatCanvas canvas(host);
        canvas.resize(device(r.widthTw, r.heightTw).x() + 1, device(r.widthTw, r.heightTw).y() + 1);
        canvas.show();
        BarcodeRequest request;
        request.kind = BlockKind::FixedText;
        request.fixedText = "6901234567892";
        canvas.armBarcode(request);
        click(canvas, device(c.clickTwips.x(), c.clickTwips.y()));
        ASSERT_EQ(r.blocks.size(), 1u);
        const TwipsRect f = r.blocks.front()->frame;
        EXPECT_NEAR(f.width() / kTwipsPerMm, nominal.width() * c.scale, 0.05);
        EXPECT_NEAR(f.height() / kTwipsPerMm, nominal.height() * c.scale, 0.05);
        EXPECT_GE(f.left, 0);
        EXPECT_LE(f.right, r.widthTw);
        EXPECT_LE(f.bottom, r.heightTw);
        EXPECT_FALSE(canvas.pendingBarcode()) << "placed once";
    }
}

// Alt+click selects the block under the one selected, round again: a block that lies
// under another's empty frame is reached and can be dragged.
TEST(PlacingAndPicking, AltClickReachesABlockUnderAnotherFrame) {
    PageHost host;
    host.doc.newDocument();
    InfoRecord& r = *host.doc.currentRecord();
    Block& below = r.appendBlock(TextBlock::create(BlockKind::FixedText, {1000, 1000, 2000, 1600}, "A", false));
    Block& cover = r.appendBlock(TextBlock::create(BlockKind::FixedText, {500, 500, 4000, 3000}, "", false));
    cover.layer = below.layer + 1;
    CPatCanvas canvas(host);
    canvas.resize(600, 600);
    canvas.show();
    const QPoint at = device(1500, 1300);
    click(canvas, at);
    ASSERT_EQ(r.selection, std::vector<Block*>{&cover});
    click(canvas, at, Qt::AltModifier);
    EXPECT_EQ(r.selection, std::vector<Block*>{&below});
    click(canvas, at, Qt::AltModifier);
    EXPECT_EQ(r.selection, std::vector<Block*>{&cover}) << "round to the top again";
}
