#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

#include "core/blocks/BlockKind.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/Twips.h"
#include "core/document/CPatDoc.h"
#include "core/document/EditCommands.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/view/CPatView.h"
#include "gui/view/ShapeCommands.h"
#include "gui/view/ShapePalette.h"

using namespace pemo;

namespace {

class ShapeInputTest : public testing::Test {
public:
    void SetUp() override {
        doc.newDocument();
        view = std::make_unique<CPatView>(doc);
        view->resize(600, 800);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->showCurrentRecord();
        canvas = view->canvas();
    }

    InfoRecord& record() { return *doc.currentRecord(); }
    GraphicBlock* shapeAt(size_t i) {
        return dynamic_cast<GraphicBlock*>(record().blocks.at(i).get());
    }
    int twips(int pixels) const { return toTwips(pixels, view->zoom(), view->pixelsPerInch()); }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, QPointF(at), QPointF(canvas->mapToGlobal(at)), button, buttons,
                          modifiers);
        QApplication::sendEvent(canvas, &event);
    }
    void press(QPoint at) { mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void release(QPoint at) { mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
    void click(QPoint at) {
        press(at);
        release(at);
    }
    void doubleClick(QPoint at) {
        mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        release(at);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
        for (int i = 1; i <= 4; ++i)
            mouse(QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, Qt::LeftButton,
                  modifiers);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    int undoSteps() {
        int steps = 0;
        while (canvas->isCommandEnabled(EditCommand::Undo) && steps < 100) {
            canvas->runCommand(EditCommand::Undo);
            ++steps;
        }
        return steps;
    }

    CPatDoc doc;
    std::unique_ptr<CPatView> view;
    CPatCanvas* canvas = nullptr;
};

}  // namespace

TEST_F(ShapeInputTest, DraggedShapeIsOneUndoStepSelectedWithTheDrawingStyle) {
    view->drawingStyle().fillType = 3;
    view->drawingStyle().shadowDirection = 4;
    ShapeCommands::arm(*view, 34507);
    ASSERT_EQ(view->armedTool(), BlockKind::Rectangle);
    drag({100, 80}, {40, 200});
    ASSERT_EQ(record().blocks.size(), 1u);
    GraphicBlock* b = shapeAt(0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->kind, BlockKind::Rectangle);
    EXPECT_EQ(b->fillType, 3);
    EXPECT_EQ(b->shadowDirection, 4);
    EXPECT_TRUE(b->selected);
    EXPECT_EQ(view->armedTool(), BlockKind::SelectionTool);
    // The frame is the one-pixel outline's box: columns 40 … 99, rows 80 … 199.
    EXPECT_EQ(b->frame, (TwipsRect{twips(40), twips(80), twips(99), twips(199)}));
    EXPECT_EQ(b->pointCount(), 2);
    EXPECT_EQ(b->sizeWidth, b->frame.width());
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_TRUE(record().blocks.empty());
}

// The shape being drawn shows its fill under the moving outline.
TEST_F(ShapeInputTest, TheShapeBeingDrawnShowsItsFill) {
    view->drawingStyle().fillType = GraphicBlock::FillColour;
    view->drawingStyle().fillColour = 0x00FF00;
    ShapeCommands::arm(*view, 34507);
    press({40, 40});
    mouse(QEvent::MouseMove, {160, 140}, Qt::NoButton, Qt::LeftButton);
    const QImage shown = canvas->grab().toImage();
    EXPECT_EQ(shown.pixelColor(100, 90), QColor(0, 255, 0));
    release({160, 140});
    ASSERT_EQ(record().blocks.size(), 1u);
}

TEST_F(ShapeInputTest, ClickedShapesEndAsTheyShould) {
    struct Case {
        const char* name;
        int command;
        std::function<void(ShapeInputTest&)> input;
        int points;  // -1: nothing is created
    };
    const QPoint outside(-40, 300);
    const std::vector<Case> cases = {
        {"polygon, three clicks and a double click", 34510,
         [](ShapeInputTest& t) {
             t.click({50, 50});
             t.click({150, 60});
             t.click({100, 150});
             t.doubleClick({100, 150});
         },
         3},
        {"polygon, one click then a press outside", 34510,
         [&](ShapeInputTest& t) {
             t.click({50, 50});
             t.click(outside);
         },
         -1},
        {"curve, one click then a press outside", 34504,
         [&](ShapeInputTest& t) {
             t.click({50, 50});
             t.click(outside);
         },
         -1},
        {"polygon, two clicks then a press outside", 34510,
         [&](ShapeInputTest& t) {
             t.click({50, 50});
             t.click({150, 60});
             t.click(outside);
         },
         3},
        {"polygon, a double click after one click", 34510,
         [](ShapeInputTest& t) {
             t.click({50, 50});
             t.click({120, 90});
             t.doubleClick({120, 90});
         },
         3},
        {"curve ended by Esc", 34504,
         [](ShapeInputTest& t) {
             for (int i = 0; i < 5; ++i) t.click({40 + 30 * i, 60 + (i % 2) * 50});
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(t.canvas, &esc);
         },
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        record().blocks.clear();
        record().selection.clear();
        ShapeCommands::arm(*view, c.command);
        c.input(*this);
        if (c.points < 0) {
            EXPECT_TRUE(record().blocks.empty());
            EXPECT_EQ(view->armedTool(), BlockKind::SelectionTool);
            continue;
        }
        ASSERT_EQ(record().blocks.size(), 1u);
        EXPECT_EQ(shapeAt(0)->pointCount(), c.points);
        EXPECT_EQ(view->armedTool(), BlockKind::SelectionTool);
    }
    // The press outside put the third point on the canvas's edge.
    ShapeCommands::arm(*view, 34510);
    record().blocks.clear();
    click({50, 50});
    click({150, 60});
    click(outside);
    ASSERT_EQ(record().blocks.size(), 1u);
    const GraphicBlock& b = *shapeAt(0);
    EXPECT_EQ(b.pagePoint(b.pointAt(2)).x(), b.frame.left);
}

TEST_F(ShapeInputTest, StarsArrowsAndAbandonedInput) {
    ShapeCommands::arm(*view, 34535);  // star 4
    drag({200, 200}, {100, 100});
    ASSERT_EQ(record().blocks.size(), 1u);
    EXPECT_EQ(shapeAt(0)->kind, BlockKind::Polygon);
    EXPECT_EQ(shapeAt(0)->pointCount(), 10);

    ShapeCommands::arm(*view, 34520);  // block arrow: start, end, adjust point
    drag({50, 300}, {250, 400});
    ASSERT_EQ(record().blocks.size(), 2u);
    EXPECT_EQ(shapeAt(1)->kind, BlockKind::FirstArrow);
    EXPECT_EQ(shapeAt(1)->pointCount(), 3);

    // A right click drops the input and keeps the tool.
    ShapeCommands::arm(*view, 34503);
    click({50, 50});
    click({90, 50});
    mouse(QEvent::MouseButtonPress, {60, 60}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(record().blocks.size(), 2u);
    EXPECT_EQ(view->armedTool(), BlockKind::Polyline);
    // The triangle has no tool: a press creates nothing.
    ShapeCommands::arm(*view, 34509);
    drag({10, 10}, {90, 90});
    EXPECT_EQ(record().blocks.size(), 2u);
}

TEST_F(ShapeInputTest, PointGripsAndResizingEditTheShape) {
    ShapeCommands::arm(*view, 34502);
    drag({50, 50}, {200, 50});
    GraphicBlock& line = *shapeAt(0);
    ASSERT_TRUE(line.selected);
    const QPoint end = line.pagePoint(line.pointAt(1));
    const QPoint endPixels(toDevice(end.x(), view->pixelsPerInch(), view->zoom()),
                           toDevice(end.y(), view->pixelsPerInch(), view->zoom()));
    drag(endPixels, endPixels + QPoint(0, 80));
    const QPoint moved = line.pagePoint(line.pointAt(1));
    EXPECT_NEAR(moved.y() - end.y(), twips(80), twips(2));
    EXPECT_EQ(undoSteps(), 2);  // the drawing and the point drag

    ShapeCommands::arm(*view, 34510);
    click({50, 50});
    click({150, 50});
    click({100, 150});
    doubleClick({100, 150});
    GraphicBlock& polygon = *shapeAt(0);
    const int oldWidth = polygon.frame.width();
    const QPoint lastBefore = polygon.pagePoint(polygon.pointAt(1));
    const int32_t right = toDevice(polygon.frame.right, view->pixelsPerInch(), view->zoom());
    const int32_t midY = toDevice((polygon.frame.top + polygon.frame.bottom) / 2,
                                  view->pixelsPerInch(), view->zoom());
    drag({right, midY}, {right + 100, midY});
    EXPECT_GT(polygon.frame.width(), oldWidth);
    EXPECT_EQ(polygon.sizeWidth, polygon.frame.width());
    EXPECT_GT(polygon.pagePoint(polygon.pointAt(1)).x(), lastBefore.x());
}

TEST(ShapePalette, EightByThreeCellsSendTheirCommands) {
    EXPECT_EQ(ShapePalette::commandAt(0, 3), 34506);
    EXPECT_EQ(ShapePalette::commandAt(1, 7), 34527);
    EXPECT_EQ(ShapePalette::commandAt(2, 3), 34531);
    EXPECT_EQ(ShapePalette::commandAt(2, 4), 34532);
    EXPECT_EQ(ShapeCommands::kindOf(34531), 0x0100001C);
    EXPECT_EQ(ShapeCommands::kindOf(34535), 0x01000024);
    EXPECT_EQ(ShapeCommands::kindOf(34509), BlockKind::Triangle);
    EXPECT_EQ(ShapeCommands::kindOf(34511), 0);
    ShapePalette palette;
    EXPECT_EQ(palette.findChildren<QToolButton*>().size(), 24);
    int chosen = 0;
    QObject::connect(&palette, &ShapePalette::commandChosen, [&](int id) { chosen = id; });
    auto* star = palette.findChild<QToolButton*>(QStringLiteral("shape34533"));
    ASSERT_NE(star, nullptr);
    star->click();
    EXPECT_EQ(chosen, 34533);
}

TEST_F(ShapeInputTest, ShiftSnapsLinesAndSquaresBoxes) {
    ShapeCommands::arm(*view, 34502);
    drag({100, 100}, {200, 185}, Qt::ShiftModifier);  // about 40°: snapped to 45°
    GraphicBlock& line = *shapeAt(0);
    const QPoint a = line.pagePoint(line.pointAt(0));
    const QPoint b = line.pagePoint(line.pointAt(1));
    EXPECT_NEAR(b.x() - a.x(), b.y() - a.y(), twips(2));

    ShapeCommands::arm(*view, 34505);
    drag({300, 100}, {380, 250}, Qt::ShiftModifier);
    GraphicBlock& circle = *shapeAt(1);
    EXPECT_EQ(circle.aspectMode, 1);
    EXPECT_NEAR(circle.frame.width(), circle.frame.height(), 2);  // twips truncated apart
}
