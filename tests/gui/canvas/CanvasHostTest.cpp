// The canvas under a host of the test's own, without the design view: it takes the page's
// scale and the display switches from its host and tells the host what it did.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/blocks/Twips.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/canvas/CanvasHost.h"

using namespace pemo;

namespace {

class TestHost : public CanvasHost {
public:
    CPatDoc& document() const override { return doc; }
    double zoom() const override { return scale; }
    int pixelsPerInch() const override { return 96; }
    bool templateMode() const override { return doc.templateMode(); }
    bool showFrameLines() const override { return true; }
    bool showAlignmentLines() const override { return false; }
    void canvasRepainted() override { ++repaints; }
    void showCurrentRecord() override { ++wholePages; }

    mutable CPatDoc doc;
    double scale = 1.0;
    int repaints = 0;
    int wholePages = 0;
};

class CanvasHostTest : public testing::Test {
protected:
    void SetUp() override {
        host.doc.newDocument();
        host.scale = 2.0;
        const InfoRecord& r = *host.doc.currentRecord();
        canvas.resize(toDevice(r.widthTw, 96, host.scale), toDevice(r.heightTw, 96, host.scale));
        canvas.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    }

    QPoint device(QPoint twips) const {
        return QPoint(toDevice(twips.x(), 96, host.scale), toDevice(twips.y(), 96, host.scale));
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(canvas.mapToGlobal(at)), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
    }
    void drag(QPoint from, QPoint to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    TestHost host;
    CPatCanvas canvas{host};
};

}  // namespace

// Pixels on the canvas are twips at the host's zoom: at 2×, 20 pixels move a block 150
// twips (at 96 pixels per inch), and the host hears of the change.
TEST_F(CanvasHostTest, DragsMoveBlocksAtTheHostsZoom) {
    InfoRecord& r = *host.doc.currentRecord();
    Block& block = r.appendBlock(
        TextBlock::create(BlockKind::FixedText, TwipsRect{1000, 1000, 3000, 2000}, "A", true));
    const int before = host.repaints;
    drag(device({2000, 1500}), device({2000, 1500}) + QPoint(20, 0));
    EXPECT_EQ(block.frame, (TwipsRect{1150, 1000, 3150, 2000}));
    EXPECT_GT(host.repaints, before);
    EXPECT_TRUE(host.doc.isModified());
}

// A placed variable shows the record's value, or its name while the host is in 模板方式.
TEST_F(CanvasHostTest, PlacedVariablesFollowTheHostsTemplateMode) {
    InfoRecord& r = *host.doc.currentRecord();
    r.setValue(0, Gbk::fromUnicode(QString::fromUtf8("牛奶")));
    const QByteArray name = host.doc.variableNames.name(0);
    for (const bool templateMode : {false, true}) {
        SCOPED_TRACE(templateMode);
        host.doc.setTemplateMode(templateMode);
        r.clearBlocks();
        canvas.setArmedKind(BlockKind::FirstVariable);
        drag(device({1000, 1000}), device({4000, 2000}));
        ASSERT_EQ(r.blocks.size(), 1u);
        const QByteArray shown = r.blocks.front()->plainText();
        EXPECT_EQ(shown.contains(name), templateMode) << shown.toStdString();
        EXPECT_EQ(shown.contains(r.value(0)), !templateMode) << shown.toStdString();
        EXPECT_EQ(canvas.armedKind(), BlockKind::SelectionTool);
    }
}
