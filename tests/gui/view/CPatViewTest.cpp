#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "TestBlock.h"
#include "gui/canvas/CPatCanvas.h"
#include "core/document/CPatDoc.h"
#include "core/document/ViewGeometry.h"
#include "gui/view/CPatView.h"

using namespace pemo;

namespace {

// Remembers how the canvas asked it to draw itself.
class RecordingBlock : public test::TestBlock {
public:
    void draw(QPainter&, int f, double z, int, int) override {
        flags = f;
        zoom = z;
    }
    int flags = -1;
    double zoom = 0;
};

class CPatViewTest : public testing::Test {
protected:
    void SetUp() override {
        test::registerTestBlocks();
        doc.newDocument();
        view = std::make_unique<CPatView>(doc);
        // No frame: the viewport is the whole view while no scroll bar shows.
        view->resize(600, 800);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->showCurrentRecord();
        actual = view->actualPageSize();
    }

    QRect canvasRect() const { return view->canvas()->geometry(); }
    QSize client() const { return view->viewport()->size(); }
    InfoRecord& record() { return *doc.currentRecord(); }

    CPatDoc doc;
    std::unique_ptr<CPatView> view;
    QSize actual;
};

}  // namespace

TEST_F(CPatViewTest, FitsTheWholePageAndRefitsOnResize) {
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        // The offscreen screen has 96 pixels per inch, so the numbers are exact.
        ASSERT_EQ(view->pixelsPerInch(), 96);
        EXPECT_EQ(canvasRect(), QRect(29, 0, 542, 800));
    }
    EXPECT_EQ(client(), QSize(600, 800));
    EXPECT_EQ(canvasRect(), ViewGeometry::fitRect(actual, {600, 800}));
    EXPECT_DOUBLE_EQ(view->zoom(), double(canvasRect().width()) / actual.width());
    view->resize(800, 600);
    EXPECT_EQ(canvasRect(), ViewGeometry::fitRect(actual, {800, 600}));
}

TEST_F(CPatViewTest, ZoomCommandsScrollAndCentreThePage) {
    const QSize fitted = canvasRect().size();
    view->zoomIn();  // from 542 of 718 one step reaches 100 %
    EXPECT_FALSE(view->fitMode());
    EXPECT_EQ(canvasRect(), QRect(QPoint(0, 0), actual));
    EXPECT_DOUBLE_EQ(view->zoom(), 1.0);
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), actual.width() - client().width());
    EXPECT_EQ(view->verticalScrollBar()->maximum(), actual.height() - client().height());
    view->verticalScrollBar()->setValue(50);
    EXPECT_EQ(canvasRect().topLeft(), QPoint(0, -50));

    // 0.75 still does not fit: kept, and centred once the scroll bars are gone.
    view->zoomOut();
    const QSize threeQuarters(int(actual.width() * 0.75), int(actual.height() * 0.75));
    EXPECT_EQ(client(), QSize(600, 800));
    EXPECT_EQ(canvasRect(),
              QRect(ViewGeometry::centredOrigin(threeQuarters, client()), threeQuarters));
    view->zoomOut();
    EXPECT_EQ(canvasRect().size(), fitted);

    // Outside fit mode a resize keeps the size.
    view->showActualSize();
    view->resize(700, 700);
    EXPECT_EQ(canvasRect().size(), actual);
}

TEST_F(CPatViewTest, PageSizeCommandsAreUndoableAndShowTheWholePage) {
    view->zoomIn();
    view->setStandardPageSize(1);
    EXPECT_EQ(QSize(record().widthMm, record().heightMm), QSize(280, 400));
    view->rotatePage();
    view->setStandardPageSize(0);
    EXPECT_EQ(QSize(record().widthMm, record().heightMm), QSize(280, 190));
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(view->fitMode());
    EXPECT_EQ(canvasRect(), ViewGeometry::fitRect(view->actualPageSize(), client()));
    EXPECT_TRUE(record().undo());
    EXPECT_EQ(QSize(record().widthMm, record().heightMm), QSize(400, 280));
}

TEST_F(CPatViewTest, CanvasDrawsBlocksWithTheViewsFlagsAndTheGrid) {
    auto owned = std::make_unique<RecordingBlock>();
    owned->kind = BlockKind::FixedText;
    RecordingBlock& block = *owned;
    record().appendBlock(std::move(owned));
    struct Case {
        bool frameLines;
        int32_t tool;
        bool editing;
        int flags;
    };
    const Case cases[] = {
        {true, BlockKind::SelectionTool, false, DrawFlag::FrameLines | DrawFlag::SelectionTool},
        {true, BlockKind::Rectangle, false, DrawFlag::FrameLines},
        {false, BlockKind::SelectionTool, true, DrawFlag::SelectionTool | DrawFlag::Editing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        view->setShowFrameLines(c.frameLines);
        view->setArmedTool(c.tool);
        record().clearSelection();
        if (c.editing) record().selectBlock(&block);
        record().inPlaceEditing = c.editing;
        view->canvas()->grab();
        EXPECT_EQ(block.flags, c.flags);
        EXPECT_DOUBLE_EQ(block.zoom, view->zoom());
    }

    EXPECT_EQ(view->viewport()->grab().toImage().pixel(5, 400), qRgb(128, 128, 128));
    const int d = ViewGeometry::gridSpacing(20, view->pixelsPerInch(), view->zoom());
    auto linePixels = [&](int x) {
        const QImage image = view->canvas()->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y) n += image.pixel(x, y) == qRgb(192, 192, 192);
        return n;
    };
    EXPECT_EQ(linePixels(d), 0);
    view->setShowAlignmentLines(true);
    // Dotted: part of the column, not all of it; beside it only the crossing lines.
    EXPECT_GT(linePixels(d), canvasRect().height() / 4);
    EXPECT_LT(linePixels(d), canvasRect().height());
    EXPECT_LT(linePixels(d + 1), canvasRect().height() / 4);
}

TEST_F(CPatViewTest, TemplateModeShowsPlaceholderNamesAndTellsTheFrame) {
    auto owned = test::makeBlock(BlockKind::FirstVariable, {0, 0, 100, 100});
    test::TestBlock& block = *owned;
    record().appendBlock(std::move(owned));
    record().setValue(0, "abc");
    QSignalSpy changed(view.get(), &CPatView::templateModeChanged);
    view->setTemplateMode(true);
    EXPECT_TRUE(block.shownText.startsWith('{'));
    view->setTemplateMode(false);
    EXPECT_EQ(block.shownText, QByteArray("abc"));
    ASSERT_EQ(changed.count(), 2);
    EXPECT_TRUE(changed.at(0).at(0).toBool());
}
