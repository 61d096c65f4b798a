#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <QTemporaryDir>

#include "Bytes.h"
#include "TestBlock.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/BmpWriter.h"
#include "core/document/PageDrawing.h"
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

// The canvas paints through the same page drawing as the picture export: a page with a
// background, plain, placeholder, price and turned text comes out the same at two zooms.
TEST_F(CPatViewTest, TheCanvasShowsWhatTheExportDraws) {
    registerBlockClasses();
    QTemporaryDir dir;
    QImage picture(8, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) picture.setPixel(x, y, qRgb(200 - 20 * x, 160 + 10 * y, 120));
    const QString path = dir.filePath(QStringLiteral("bg.bmp"));
    ASSERT_TRUE(BmpWriter::write(picture, path));
    record().applyBackground(PictureDescription::ofFile(path, PictureDescription::Background, "c", "b"),
                             doc.backgrounds);
    record().setValue(0, test::gbk("一级红富士苹果"));
    record().setValue(InfoRecord::kCurrentPrice, "12.80");
    const struct {
        int32_t kind;
        TwipsRect frame;
        const char* text;
    } blocks[] = {
        {BlockKind::FixedText, {700, 600, 9000, 2400}, "山东烟台 特价"},
        {0x02020001, {700, 3000, 9000, 5000}, ""},
        {0x02040002, {700, 6000, 9000, 9000}, ""},
    };
    for (const auto& b : blocks) {
        const QByteArray text = b.kind == BlockKind::FixedText
                                    ? test::gbk(b.text)
                                    : record().placeholderText(b.kind, false, doc.placeholderSources());
        record().appendBlock(TextBlock::create(b.kind, b.frame, text, true));
    }
    auto turned = TextBlock::create(BlockKind::FixedText, {2000, 10000, 8000, 12000}, test::gbk("新品"), true);
    turned->rotateTowards(9000, 14000);
    record().appendBlock(std::move(turned));
    view->setArmedTool(BlockKind::FixedText);  // the text tool: no selection-tool marks
    view->setShowFrameLines(false);

    for (bool actualSize : {true, false}) {
        SCOPED_TRACE(actualSize ? "actual size" : "zoomed in");
        view->showActualSize();
        if (!actualSize) view->zoomIn();
        const QImage shown = view->canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage exported = renderPageImage(record(), doc.backgrounds, view->pixelsPerInch(),
                                                true, false, view->zoom());
        ASSERT_EQ(shown.size(), exported.size());
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) differing += shown.pixel(x, y) != exported.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}
