#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "Bytes.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/Twips.h"
#include "core/codecs/Archive.h"
#include "core/pictures/PictureStore.h"

using namespace pemo;
using test::Bytes;

namespace {

std::unique_ptr<GraphicBlock> sampleShape() {
    auto b = std::make_unique<GraphicBlock>();
    b->kind = BlockKind::FirstArrow;
    b->aspectMode = 1;
    b->frame = {100, 200, 1100, 700};
    b->sizeWidth = 1000;
    b->sizeHeight = 500;
    b->penWidth = 3;
    b->penStyle = 2;
    b->fillType = 4;
    b->penColour = 0x0000FF;
    b->fillColour = 0x00FF00;
    b->shadowColour = 0x123456;
    b->shadowDirection = 4;
    b->shadowDistance = 5;
    b->points = {{0, 0}, {1000, 500}, {750, 125}};
    b->selected = true;
    b->locked = true;
    return b;
}

// The style part as built by hand: five int32, direction and distance as int16, colour.
Bytes& style(Bytes& b) {
    b.i32(3).i32(2).i32(4).i32(0x0000FF).i32(0x00FF00).u16(4).u16(5).i32(0x123456);
    return b;
}

Bytes& pointList(Bytes& b) {
    return b.i32(3).i32(0).i32(0).i32(1000).i32(500).i32(750).i32(125);
}

QByteArray written(const Block& b, BlockForm form, QPoint origin = QPoint()) {
    ArchiveWriter out;
    switch (form) {
        case BlockForm::Snapshot: b.storeSnapshot(out); break;
        case BlockForm::Document: b.store(out); break;
        case BlockForm::Template: b.storeTemplate(out); break;
        case BlockForm::Clip: b.storeClip(out, origin.x(), origin.y()); break;
    }
    return out.take();
}

std::unique_ptr<GraphicBlock> readBack(const QByteArray& bytes, BlockForm form,
                                       QPoint* origin = nullptr) {
    auto b = std::make_unique<GraphicBlock>();
    ArchiveReader in(bytes);
    PictureStore local, images;
    QPoint stored;
    switch (form) {
        case BlockForm::Snapshot: b->loadSnapshot(in); break;
        case BlockForm::Document: b->load(in); break;
        case BlockForm::Template: b->loadTemplate(in, local, images); break;
        case BlockForm::Clip: b->loadClip(in, local, images, stored); break;
    }
    EXPECT_TRUE(in.atEnd());
    if (origin) *origin = stored;
    return b;
}

QImage canvas(int w, int h, int ppi = 96) {
    QImage image(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(ppi / 0.0254));
    image.setDotsPerMeterY(qRound(ppi / 0.0254));
    image.fill(Qt::white);
    return image;
}

// A shape whose points are twips on a page, size equal to its frame.
std::unique_ptr<GraphicBlock> shape(int32_t kind, TwipsRect frame, std::vector<QPoint> points) {
    auto b = std::make_unique<GraphicBlock>();
    b->kind = kind;
    b->frame = frame;
    b->sizeWidth = frame.width();
    b->sizeHeight = frame.height();
    b->points = std::move(points);
    b->penWidth = 0;  // one pixel at every resolution
    return b;
}

}  // namespace

TEST(GraphicBlockForms, EveryFormMatchesHandBuiltBytes) {
    const auto b = sampleShape();
    Bytes document;
    document.i32(BlockKind::FirstArrow).i32(1).i32(6).i32(100).i32(200).i32(1100).i32(700);
    document.i32(1000).i32(500).zeros(8);
    style(document).zeros(GraphicBlock::kReservedFields);
    pointList(document);
    EXPECT_EQ(written(*b, BlockForm::Document), QByteArray(document));
    EXPECT_EQ(written(*b, BlockForm::Template), QByteArray(document));

    Bytes snapshot;
    snapshot.i32(BlockKind::FirstArrow).i32(1).i32(6).i32(100).i32(200).i32(1100).i32(700);
    snapshot.i32(1000).i32(500).i32(1).i32(1);
    style(snapshot);
    pointList(snapshot);
    EXPECT_EQ(written(*b, BlockForm::Snapshot), QByteArray(snapshot));
    // 44-byte base, 32 bytes of style and count, 8 bytes a point.
    EXPECT_EQ(written(*b, BlockForm::Snapshot).size(), 44 + 32 + 8 * 3);

    // The clipboard moves the frame by the origin, never the points.
    Bytes clip;
    clip.i32(BlockKind::FirstArrow).i32(1).i32(6).i32(60).i32(170).i32(1060).i32(670);
    clip.i32(1000).i32(500).i32(40).i32(30);
    style(clip);
    pointList(clip);
    EXPECT_EQ(written(*b, BlockForm::Clip, QPoint(40, 30)), QByteArray(clip));

    for (BlockForm form :
         {BlockForm::Snapshot, BlockForm::Document, BlockForm::Template, BlockForm::Clip}) {
        SCOPED_TRACE(int(form));
        const QPoint origin = form == BlockForm::Clip ? QPoint(40, 30) : QPoint();
        const QByteArray bytes = written(*b, form, origin);
        QPoint readOrigin;
        auto back = readBack(bytes, form, &readOrigin);
        EXPECT_EQ(readOrigin, origin);
        if (form == BlockForm::Clip) back->moveBy(origin.x(), origin.y());
        EXPECT_EQ(written(*back, form, origin), bytes);
        EXPECT_EQ(back->points, b->points);
        EXPECT_EQ(back->selected, form == BlockForm::Snapshot);
    }
}

TEST(GraphicBlockForms, StoredShadowDistanceZeroKeepsBothDefaults) {
    auto b = sampleShape();
    b->shadowDistance = 0;
    auto back = readBack(written(*b, BlockForm::Document), BlockForm::Document);
    EXPECT_EQ(back->shadowDistance, 2);
    EXPECT_EQ(back->shadowColour, 0xC0C0C0);
    // The undo snapshot keeps what it stored.
    back = readBack(written(*b, BlockForm::Snapshot), BlockForm::Snapshot);
    EXPECT_EQ(back->shadowDistance, 0);
    EXPECT_EQ(back->shadowColour, 0x123456);
}

TEST(GraphicBlockForms, PointCountsAreCheckedAgainstTheBytesLeft) {
    auto b = sampleShape();
    QByteArray bytes = written(*b, BlockForm::Document);
    // A count of 4 with three points stored.
    const qsizetype countAt = bytes.size() - 4 - 3 * 8;
    bytes[countAt] = 4;
    EXPECT_THROW(readBack(bytes, BlockForm::Document), FormatError);
    bytes[countAt] = char(0xFF);
    bytes[countAt + 1] = char(0xFF);
    bytes[countAt + 2] = char(0xFF);
    bytes[countAt + 3] = char(0x7F);
    EXPECT_THROW(readBack(bytes, BlockForm::Document), FormatError);
    // A count of 0 or less reads no points.
    QByteArray none = written(*b, BlockForm::Document).left(countAt);
    none += Bytes().i32(-5).data();
    auto back = readBack(none, BlockForm::Document);
    EXPECT_TRUE(back->points.empty());
    // Truncated inside the style part.
    EXPECT_THROW(readBack(written(*b, BlockForm::Snapshot).left(60), BlockForm::Snapshot),
                 FormatError);
}

TEST(GraphicBlockGeometry, HandlesByKind) {
    auto line = shape(BlockKind::Line, {100, 100, 500, 300}, {{0, 0}, {400, 200}});
    line->rebuildHandles(true);
    ASSERT_EQ(line->handles().size(), 2u);
    EXPECT_EQ(line->handles()[1]->id, BlockHandle::Point);
    EXPECT_EQ(line->handles()[1]->index, 1);
    EXPECT_EQ(QPoint(line->handles()[1]->x, line->handles()[1]->y), QPoint(500, 300));
    // A polygon point on the frame's corner owns that spot.
    auto polygon =
        shape(BlockKind::Polygon, {100, 100, 500, 300}, {{0, 0}, {350, 50}, {150, 150}});
    polygon->rebuildHandles(true);
    ASSERT_EQ(polygon->handles().size(), 8u + 3u - 1u);
    EXPECT_EQ(polygon->handles()[0]->id, BlockHandle::Point);
    EXPECT_EQ(polygon->handles()[0]->index, 0);
}

TEST(GraphicBlockGeometry, PointMappingDoesNotOverflowOnLargePages) {
    // A 2000 mm page: frames and reference sizes past 100 000 twips.
    auto b = shape(BlockKind::Line, {1000, 1000, 113000, 113000}, {{112000, 56000}});
    b->sizeWidth = 112000;
    b->sizeHeight = 56000;
    EXPECT_EQ(b->pagePoint(b->points[0]), QPoint(113000, 113000));
    b->frame.right = 57000;
    b->frame.bottom = 57000;
    b->rescalePoints();
    EXPECT_EQ(b->points[0], QPoint(56000, 56000));
    EXPECT_EQ(b->sizeWidth, 56000);
}

TEST(GraphicBlockGeometry, RescaleLeavesZeroReferenceAxesAlone) {
    auto b = shape(BlockKind::Polygon, {0, 0, 200, 100}, {{100, 50}, {200, 100}});
    b->sizeWidth = 0;
    b->frame.right = 400;
    b->frame.bottom = 300;
    b->rescalePoints();
    EXPECT_EQ(b->points, (std::vector<QPoint>{{100, 150}, {200, 300}}));
    EXPECT_EQ(b->sizeWidth, 400);
    EXPECT_EQ(b->sizeHeight, 300);
}

// At 1440 pixels per inch and zoom 1 a pixel is a twip.
TEST(GraphicBlockGeometry, FitFrameToInk) {
    const InkCanvas c{QSize(600, 400), 1.0, 1440};
    // A one-pixel horizontal line gets a frame 4 twips high.
    auto line = shape(BlockKind::Line, {100, 100, 300, 100}, {{0, 0}, {200, 0}});
    line->sizeHeight = 0;
    line->fitFrameToInk(c);
    EXPECT_EQ(line->frame, (TwipsRect{100, 100, 299, 104}));
    EXPECT_EQ(line->points, (std::vector<QPoint>{{0, 0}, {200, 0}}));
    EXPECT_EQ(line->sizeHeight, 4);

    // Ink split by an empty row: the frame ends at that row.
    auto striped = shape(BlockKind::FirstArrow + 5, {50, 50, 250, 350},
                         {{0, 0}, {200, 300}});  // vertical: stripes stacked with gaps
    striped->fitFrameToInk(c);
    EXPECT_EQ(striped->frame.top, 50);
    EXPECT_EQ(striped->frame.bottom, 50 + 10);  // the first stripe, 10 pixels high

    // No ink at all (off the canvas): the frame stays.
    auto away = shape(BlockKind::Rectangle, {5000, 5000, 5200, 5100}, {{0, 0}, {200, 100}});
    away->fitFrameToInk(c);
    EXPECT_EQ(away->frame, (TwipsRect{5000, 5000, 5200, 5100}));
    EXPECT_EQ(away->points, (std::vector<QPoint>{{0, 0}, {200, 100}}));
}

TEST(GraphicBlockGeometry, FitAfterInputConvertsCanvasPixelsToTwips) {
    // At 96 pixels per inch and zoom 1 a pixel is 15 twips.
    const InkCanvas c{QSize(300, 200), 1.0, 96};
    auto b = std::make_unique<GraphicBlock>();
    b->kind = BlockKind::Rectangle;
    b->points = {{40, 30}, {20, 10}};
    b->fitFrameToInputInk(c);
    EXPECT_EQ(b->frame, (TwipsRect{300, 150, 585, 435}));
    EXPECT_EQ(b->points, (std::vector<QPoint>{{300, 300}, {0, 0}}));
    EXPECT_EQ(b->sizeWidth, 285);
}

TEST(GraphicBlockGeometry, MovePointWithShift) {
    const InkCanvas c{QSize(2000, 2000), 1.0, 1440};
    auto line = shape(BlockKind::Line, {100, 100, 200, 100}, {{0, 0}, {100, 0}});
    line->sizeHeight = 0;
    // Dragged to about 40° below: snapped to 45° at the old length 100.
    line->movePoint(1, 100 + 76, 100 + 64, true, c);
    EXPECT_EQ(line->pagePoint(line->points[1]), QPoint(100 + 70, 100 + 70));
    EXPECT_EQ(line->pagePoint(line->points[0]), QPoint(100, 100));

    auto rect = shape(BlockKind::Rectangle, {100, 100, 300, 200}, {{0, 0}, {200, 100}});
    rect->movePoint(0, 0, 150, true, c);  // from the corner (300, 200): 300 × 50
    EXPECT_EQ(rect->pagePoint(rect->points[0]), QPoint(250, 150));
    EXPECT_EQ(rect->pagePoint(rect->points[1]), QPoint(300, 200));
    // An index outside the list is ignored.
    rect->movePoint(7, 0, 0, false, c);
    EXPECT_EQ(rect->pointCount(), 2);
}

TEST(GraphicBlockHitTest, ThinLineHitsOnePixelBesideNotTwo) {
    const int ppi = 1440;  // one pixel a twip
    QImage scratch = canvas(100, 100, ppi);
    auto line = shape(BlockKind::Line, {10, 50, 90, 50}, {{0, 0}, {80, 0}});
    line->sizeHeight = 0;
    const auto hit = [&](int x, int y) {
        scratch.fill(Qt::white);
        return line->hitTest(scratch, 1.0, x, y);
    };
    EXPECT_TRUE(hit(40, 50));
    EXPECT_TRUE(hit(40, 51));
    EXPECT_TRUE(hit(40, 49));
    EXPECT_FALSE(hit(40, 52));
    EXPECT_FALSE(hit(40, 48));
    // The probe stops at the canvas edges.
    auto edge = shape(BlockKind::Line, {0, 0, 0, 99}, {{0, 0}, {0, 99}});
    edge->sizeWidth = 0;
    scratch.fill(Qt::white);
    EXPECT_TRUE(edge->hitTest(scratch, 1.0, 0, 0));
    scratch.fill(Qt::white);
    EXPECT_FALSE(edge->hitTest(scratch, 1.0, 99, 99));
    // Closed shapes are hit anywhere in their frame.
    auto ellipse = shape(BlockKind::Ellipse, {10, 10, 90, 90}, {{0, 0}, {80, 80}});
    EXPECT_TRUE(ellipse->hitTest(scratch, 1.0, 11, 11));
    EXPECT_FALSE(ellipse->hitTest(scratch, 1.0, 90, 50));
}

TEST(GraphicBlockDrawing, PenShadowAndFill) {
    auto b = shape(BlockKind::Rectangle, {0, 0, 300, 150}, {{0, 0}, {300, 150}});
    b->penColour = 0x0000FF;
    b->fillColour = 0x00FF00;
    // A dashed pen keeps its width unscaled.
    b->penStyle = 1;
    b->penWidth = 3;
    EXPECT_EQ(b->devicePen(4.0, 96, false).width(), 3);
    b->penStyle = 0;
    EXPECT_EQ(b->devicePen(4.0, 96, false).width(), 16);
    EXPECT_EQ(b->devicePen(4.0, 96, true).width(), 1);
    // Values outside their tables draw as solid, none and no shadow.
    b->penStyle = 77;
    EXPECT_EQ(b->devicePen(1.0, 96, false).style(), Qt::SolidLine);
    b->fillType = 999;
    EXPECT_EQ(b->fillBrush().style(), Qt::NoBrush);
    b->fillType = 1010;  // an effect fill shows the fill colour for now
    EXPECT_EQ(b->fillBrush().color(), QColor(0, 255, 0));
    b->fillType = 3;
    EXPECT_EQ(b->fillBrush().style(), Qt::BDiagPattern);

    // Shadow down-right at 1/24 inch: 4 pixels at 96 pixels per inch.
    b->penWidth = 1;
    b->fillType = GraphicBlock::FillColour;
    b->shadowDirection = 4;
    b->shadowDistance = 1;
    QImage image = canvas(40, 40);
    {
        QPainter p(&image);
        b->drawForOutput(p, 1.0, 0, 0, 96);
    }
    // The frame is 20 × 10 pixels: body 0 … 19, shadow from 4 to 23.
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(22, 12), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(image.pixel(24, 14), qRgb(255, 255, 255));
    b->shadowDirection = 9;
    image.fill(Qt::white);
    {
        QPainter p(&image);
        b->drawForOutput(p, 1.0, 0, 0, 96);
    }
    EXPECT_EQ(image.pixel(22, 12), qRgb(255, 255, 255));
}

// While it is drawn a shape shows a one-pixel outline over its fill, an effect fill as
// its fill colour, and no shadow.
TEST(GraphicBlockDrawing, WireModeFillsWithOnePixelOutline) {
    const struct {
        int32_t fillType;
        QRgb inside;
    } cases[] = {
        {GraphicBlock::FillColour, qRgb(0, 255, 0)},
        {GraphicBlock::PenColourFill, qRgb(255, 0, 0)},
        {GraphicBlock::FirstEffect + 7, qRgb(0, 255, 0)},
        {GraphicBlock::NoFill, qRgb(255, 255, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fillType);
        auto b = shape(BlockKind::Rectangle, {0, 0, 300, 150}, {{0, 0}, {300, 150}});
        b->penColour = 0x0000FF;
        b->fillColour = 0x00FF00;
        b->penWidth = 20;
        b->shadowDirection = 4;
        b->fillType = c.fillType;
        QImage image = canvas(340, 190);
        {
            QPainter p(&image);
            b->draw(p, DrawFlag::Wire, 1.0, 0, 0);
        }
        EXPECT_EQ(image.pixel(0, 75), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(2, 75), c.inside) << "a one-pixel pen";
        EXPECT_EQ(image.pixel(150, 75), c.inside);
        EXPECT_EQ(image.pixel(310, 160), qRgb(255, 255, 255)) << "no shadow";
    }
}

TEST(GraphicBlockDrawing, ShapesWithTooFewPointsDrawNothingButTheirGrips) {
    for (int32_t kind : {BlockKind::Line, BlockKind::Curve, BlockKind::Rectangle,
                         BlockKind::Polygon, BlockKind::FirstArrow, BlockKind::LastArrow}) {
        SCOPED_TRACE(kind);
        auto b = shape(kind, {150, 150, 600, 600}, {{0, 0}});
        b->selected = true;
        b->rebuildHandles(true);
        QImage image = canvas(60, 60);
        QPainter p(&image);
        b->draw(p, DrawFlag::SelectionTool, 1.0, 0, 0);
    }
}
