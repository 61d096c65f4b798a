#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "TestBlock.h"
#include "canvas/CPatCanvas.h"
#include "document/CPatDoc.h"
#include "document/ViewGeometry.h"
#include "view/CPatView.h"
#include "view/CustomPageSizeDialog.h"

using namespace pemo;

namespace {

// Remembers how the canvas asked it to draw itself.
class RecordingBlock : public test::TestBlock {
public:
    void draw(QPainter&, int f, double z, int, int) override {
        flags = f;
        zoom = z;
        ++draws;
    }
    int flags = -1;
    double zoom = 0;
    int draws = 0;
};

class CPatViewTest : public testing::Test {
protected:
    void SetUp() override {
        test::registerTestBlocks();
        doc.newDocument();
        view = std::make_unique<CPatView>(doc);
        // The viewport is the whole view: no frame, and no scroll bars at the fitted size.
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

TEST_F(CPatViewTest, FitsTheWholePageIntoTheWindow) {
    const int py = view->logicalDpiY();
    EXPECT_EQ(view->pixelsPerInch(), py);
    EXPECT_EQ(actual, ViewGeometry::actualSize(record().widthTw, record().heightTw, py));
    EXPECT_EQ(client(), QSize(600, 800));
    EXPECT_TRUE(view->fitMode());
    EXPECT_EQ(canvasRect(), ViewGeometry::fitRect(actual, {600, 800}));
    EXPECT_DOUBLE_EQ(view->zoom(), double(canvasRect().width()) / actual.width());
    // The offscreen platform's screen has 96 pixels per inch.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        ASSERT_EQ(py, 96);
        EXPECT_EQ(actual, QSize(718, 1058));
        EXPECT_EQ(canvasRect(), QRect(29, 0, 542, 800));
    }

    // Resizing in fit mode fits again.
    view->resize(800, 600);
    EXPECT_EQ(canvasRect(), ViewGeometry::fitRect(actual, {800, 600}));
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(view->verticalScrollBar()->isVisible());
}

TEST_F(CPatViewTest, ZoomCommandsStepBetweenTheWholePageAndTheActualSize) {
    const QSize fitted = canvasRect().size();
    view->zoomIn();
    // From the fitted size (over three quarters) one step reaches 100 %.
    ASSERT_GT(fitted.width() * 4, actual.width() * 3);
    EXPECT_FALSE(view->fitMode());
    EXPECT_EQ(canvasRect(), QRect(QPoint(0, 0), actual));
    EXPECT_DOUBLE_EQ(view->zoom(), 1.0);
    EXPECT_TRUE(view->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(view->verticalScrollBar()->isVisible());
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), actual.width() - client().width());
    EXPECT_EQ(view->verticalScrollBar()->maximum(), actual.height() - client().height());

    // Scrolling moves the page under the window.
    view->verticalScrollBar()->setValue(50);
    EXPECT_EQ(canvasRect().topLeft(), QPoint(0, -50));
    view->zoomIn();
    EXPECT_EQ(canvasRect().size(), actual);

    // 0.75 does not fit the 100 % client area: it is kept, centred, without scroll bars.
    const QSize before = client();
    const QSize threeQuarters = ViewGeometry::zoomOutSize(actual.width(), actual, before);
    view->zoomOut();
    EXPECT_EQ(threeQuarters, QSize(int(actual.width() * 0.75), int(actual.height() * 0.75)));
    EXPECT_EQ(canvasRect().size(), threeQuarters);
    EXPECT_EQ(client(), QSize(600, 800));
    EXPECT_EQ(canvasRect().topLeft(), ViewGeometry::centredOrigin(threeQuarters, client()));
    EXPECT_DOUBLE_EQ(view->zoom(), double(threeQuarters.width()) / actual.width());

    // Further down only the whole page is left.
    view->zoomOut();
    EXPECT_EQ(canvasRect().size(), fitted);
    view->zoomOut();
    EXPECT_EQ(canvasRect().size(), fitted);
    EXPECT_FALSE(view->fitMode());

    view->showActualSize();
    EXPECT_EQ(canvasRect(), QRect(QPoint(0, 0), actual));
    view->fitPage();
    EXPECT_TRUE(view->fitMode());
    EXPECT_EQ(canvasRect().size(), fitted);
}

TEST_F(CPatViewTest, PageSizeCommandsResizeTheCurrentPageAndRefit) {
    struct Step {
        std::function<void(CPatView&)> command;
        QSize expected;
    };
    const Step steps[] = {
        {[](CPatView& v) { v.setStandardPageSize(1); }, {280, 400}},
        {[](CPatView& v) { v.rotatePage(); }, {400, 280}},
        {[](CPatView& v) { v.setStandardPageSize(0); }, {280, 190}},
        {[](CPatView& v) { v.setPageSize(300, 300); }, {300, 300}},
        {[](CPatView& v) { v.setStandardPageSize(4); }, {1170, 820}},
        {[](CPatView& v) { v.rotatePage(); }, {820, 1170}},
    };
    view->zoomIn();
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.expected.width() << "x" << step.expected.height());
        doc.modified = false;
        step.command(*view);
        EXPECT_EQ(QSize(record().widthMm, record().heightMm), step.expected);
        EXPECT_TRUE(doc.isModified());
        EXPECT_TRUE(view->fitMode());
        EXPECT_EQ(canvasRect(), ViewGeometry::fitRect(view->actualPageSize(), client()));
    }
    // Each change is an undo step.
    EXPECT_TRUE(record().undo());
    EXPECT_EQ(QSize(record().widthMm, record().heightMm), QSize(1170, 820));
}

TEST_F(CPatViewTest, CustomSizeDialogAppliesOnlyWhenConfirmed) {
    for (bool confirm : {false, true}) {
        QTimer::singleShot(0, [confirm] {
            auto* dialog = qobject_cast<CustomPageSizeDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->widthEdit()->text(), QStringLiteral("190"));
            dialog->widthEdit()->setText(QStringLiteral("333"));
            dialog->heightEdit()->setText(QStringLiteral("222"));
            if (confirm) {
                dialog->confirmButton()->click();
            } else {
                dialog->reject();
            }
        });
        view->customPageSize();
        EXPECT_EQ(QSize(record().widthMm, record().heightMm),
                  confirm ? QSize(333, 222) : QSize(190, 280));
    }
}

TEST_F(CPatViewTest, CanvasDrawsBlocksWithTheViewsFlagsAndZoom) {
    auto owned = std::make_unique<RecordingBlock>();
    owned->kind = BlockKind::FixedText;
    RecordingBlock& block = *owned;
    record().appendBlock(std::move(owned));
    QSignalSpy shown(view.get(), &CPatView::pageShown);
    struct Case {
        bool frameLines;
        int32_t tool;
        bool editing;
        int flags;
    };
    const Case cases[] = {
        {true, BlockKind::SelectionTool, false, DrawFlag::FrameLines | DrawFlag::SelectionTool},
        {false, BlockKind::SelectionTool, false, DrawFlag::SelectionTool},
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
    EXPECT_GE(shown.count(), 4);
}

TEST_F(CPatViewTest, PaintsGreyGroundWhitePageAndDottedGrid) {
    const QImage ground = view->viewport()->grab().toImage();
    EXPECT_EQ(ground.pixel(canvasRect().left() / 2, 400), qRgb(128, 128, 128));

    const QImage blank = view->canvas()->grab().toImage();
    view->setShowAlignmentLines(true);
    const QImage grid = view->canvas()->grab().toImage();
    const int d = ViewGeometry::gridSpacing(20, view->pixelsPerInch(), view->zoom());
    auto count = [](const QImage& image, int x) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) n += image.pixel(x, y) == qRgb(0xC0, 0xC0, 0xC0);
        return n;
    };
    EXPECT_EQ(count(blank, d), 0);
    EXPECT_EQ(blank.pixel(d, 1), qRgb(255, 255, 255));
    // Dotted: some pixels of the line's column are the line colour, not all.
    EXPECT_GT(count(grid, d), grid.height() / 4);
    EXPECT_LT(count(grid, d), grid.height());
    EXPECT_GT(count(grid, 2 * d), 0);
    EXPECT_EQ(count(grid, d + 1) < grid.height() / 4, true);
}

TEST_F(CPatViewTest, TemplateModeShowsPlaceholderNamesAndTellsTheFrame) {
    auto owned = test::makeBlock(BlockKind::FirstVariable, {0, 0, 100, 100});
    test::TestBlock& block = *owned;
    record().appendBlock(std::move(owned));
    record().setValue(0, "abc");
    QSignalSpy changed(view.get(), &CPatView::templateModeChanged);
    view->zoomIn();
    view->setTemplateMode(true);
    EXPECT_TRUE(view->templateMode());
    EXPECT_EQ(block.shownText, doc.recordAt(0)->placeholderText(BlockKind::FirstVariable, true,
                                                                doc.placeholderSources()));
    EXPECT_TRUE(block.shownText.startsWith('{'));
    EXPECT_TRUE(view->fitMode());
    view->setTemplateMode(false);
    EXPECT_EQ(block.shownText, QByteArray("abc"));
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).toBool(), true);
    EXPECT_EQ(changed.at(1).at(0).toBool(), false);
}
