#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

#include "core/blocks/BlockKind.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/Twips.h"
#include "core/graphics/EffectPainter.h"
#include "core/graphics/ShapeGeometry.h"
#include "core/graphics/TextOutline.h"

using namespace pemo;

namespace {

constexpr QRgb kGround = 0xFF123456;
constexpr int kScreenPpi = 96;

std::unique_ptr<GraphicBlock> shape(int32_t kind, TwipsRect frame, int effect) {
    auto made = std::make_unique<GraphicBlock>();
    GraphicBlock& b = *made;
    b.kind = kind;
    b.frame = frame;
    b.sizeWidth = frame.width();
    b.sizeHeight = frame.height();
    const int w = frame.width(), h = frame.height();
    b.points = kind == BlockKind::Triangle ? std::vector<QPoint>{{0, h}, {w / 2, 0}, {w, h}}
                                           : std::vector<QPoint>{{0, 0}, {w, h}};
    b.penColour = 0x000000;
    b.fillColour = 0xFFFFFF;
    b.fillType = GraphicBlock::FirstEffect + effect - 1;
    return made;
}

// The effect as one bitmap of the padded frame, masked by the shape drawn in white:
// how shapes were filled before, kept here to compare with.
QImage asOneBitmap(const GraphicBlock& b, QSize size) {
    QImage out(size, QImage::Format_RGB32);
    out.fill(kGround);
    const QPoint origin(toDevice(b.frame.left, kScreenPpi, 1.0), toDevice(b.frame.top, kScreenPpi, 1.0));
    const int w = toDevice(b.frame.right, kScreenPpi, 1.0) - origin.x();
    const int h = toDevice(b.frame.bottom, kScreenPpi, 1.0) - origin.y();
    const int width = (w + 15) / 8 * 8, height = h + 7;
    const QImage colour = renderEffect(width, height, b.fillType - GraphicBlock::FirstEffect + 1,
                                       uint32_t(b.penColour), uint32_t(b.fillColour));
    QImage mask = blankMask(width, height);
    {
        QPainter m(&mask);
        std::vector<QPoint> local;
        for (const QPoint& p : b.points) {
            const QPoint page = b.pagePoint(p);
            local.emplace_back(toDevice(page.x(), kScreenPpi, 1.0) - origin.x(),
                               toDevice(page.y(), kScreenPpi, 1.0) - origin.y());
        }
        ShapeGeometry::drawBody(m, b.kind, local, QPen(Qt::white, 1), QBrush(Qt::white));
    }
    QPainter p(&out);
    maskedCopy(p, origin.x(), origin.y(), width, height, colour, mask);
    return out;
}

QByteArray a0Pdf(const std::function<void(QPainter&)>& draw) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QSizeF(841, 1189), QPageSize::Millimeter));
        QPainter p(&writer);
        draw(p);
    }
    return buffer.data();
}

}  // namespace

// A shape's effect (its fills are the 18 gradients) drawn for the screen matches the
// one-bitmap fill it replaces: the same pixels covered, colours within rounding.
TEST(EffectFillOutput, ShapesMatchTheirOneBitmapFill) {
    const QSize size(260, 200);
    for (int32_t kind : {BlockKind::Rectangle, BlockKind::Ellipse, BlockKind::Triangle}) {
        for (int effect = 1; effect <= 18; ++effect) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", effect " << effect);
            const auto block = shape(kind, {150, 300, 3300, 2700}, effect);
            GraphicBlock& b = *block;
            QImage drawn(size, QImage::Format_RGB32);
            drawn.fill(kGround);
            {
                QPainter p(&drawn);
                b.drawForOutput(p, 1.0, 0, 0, kScreenPpi);
            }
            const QImage before = asOneBitmap(b, size);
            int largest = 0;
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    const QRgb a = drawn.pixel(x, y), o = before.pixel(x, y);
                    ASSERT_EQ(a == kGround, o == kGround) << x << "," << y;
                    const int d = std::max({std::abs(qRed(a) - qRed(o)), std::abs(qGreen(a) - qGreen(o)),
                                            std::abs(qBlue(a) - qBlue(o))});
                    largest = std::max(largest, d);
                }
            }
            // 255 over about 200 pixels: steps of one or two; rings half a step off.
            EXPECT_LE(largest, 2);
        }
    }
}

// On a PDF a poster-sized effect fill stays shadings and paths, for shapes and for text
// turned into graphics alike: no picture of the sheet's size.
TEST(EffectFillOutput, PdfHoldsNoPictureOfTheFill) {
    const TwipsRect a0{0, 0, 47678, 67408};
    for (int effect : {1, 9, 17, 20, 31}) {
        SCOPED_TRACE(effect);
        if (effect <= 18) {
            const QByteArray shapes = a0Pdf([&](QPainter& p) {
                shape(BlockKind::Rectangle, a0, effect)->drawForOutput(p, 1.0, 0, 0, 600);
                shape(BlockKind::Ellipse, a0, effect)->drawForOutput(p, 1.0, 0, 0, 600);
            });
            EXPECT_FALSE(shapes.contains("/Subtype /Image"));
            EXPECT_TRUE(shapes.contains("/ShadingType"));
            EXPECT_LT(shapes.size(), 100000);
        }

        TextOutline o;
        OutlinePiece square;
        square.width = square.height = 400;
        square.types = {6, 2, 2, 3};
        square.points = {{0, 0}, {400, 0}, {400, 400}, {0, 400}};
        o.pieces = {square};
        o.effect = TextOutline::PatternFill;
        o.pattern = effect;
        const QByteArray text = a0Pdf([&](QPainter& p) {
            o.draw(p, 600, 40, 60, QPoint(100, 100), QRect(100, 100, 16000, 24000), 0, 3);
        });
        EXPECT_FALSE(text.contains("/Subtype /Image"));
        EXPECT_LT(text.size(), 100000);
    }
}
