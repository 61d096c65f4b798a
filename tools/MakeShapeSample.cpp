// Builds a sign holding every drawn shape kind (filled, hatched, with shadows) over a
// background, for a look at how shapes print. Run: make_shape_sample OUT.vxq BACKGROUND.png
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/graphics/ShapeGeometry.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

void makeBackground(const QString& path) {
    QImage image(760, 1120, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 760, 1120);
    g.setColorAt(0, QColor(214, 236, 255));
    g.setColorAt(1, QColor(255, 240, 200));
    p.fillRect(image.rect(), g);
    p.end();
    image.save(path);
}

// Input points of a kind dragged or clicked in a w × h box (twips), as the drawing
// tool keeps them.
std::vector<QPoint> pointsFor(int32_t kind, int w, int h) {
    if (kind >= BlockKind::FirstStarTool) return ShapeGeometry::starPoints(kind, {0, 0}, {w, h});
    switch (kind) {
        case BlockKind::Polyline: return {{0, h}, {w / 3, 0}, {2 * w / 3, h}, {w, 0}};
        case BlockKind::Curve: return {{0, h}, {w / 4, 0}, {w / 2, h / 2}, {3 * w / 4, h}, {w, 0}};
        case BlockKind::ClosedCurve: return {{0, h / 2}, {w / 4, 0}, {w, 0}, {w, h}, {w / 4, h}};
        case BlockKind::Triangle: return {{w / 2, 0}, {w, h}, {0, h}};
        case BlockKind::Polygon:
            return {{0, h / 3}, {w / 2, 0}, {w, h / 3}, {4 * w / 5, h}, {w / 5, h}};
        case 0x01000011: case 0x01000015: case 0x01000017: case 0x01000019:
            return {{0, 0}, {w, h}, {w - w / 4, h / 4}};
        case 0x01000012: case 0x01000016: case 0x01000018: case 0x0100001A:
            return {{0, 0}, {w, h}, {w / 4, h - h / 4}};
        case 0x01000013: case 0x01000014: return {{0, 0}, {w, h}, {w / 4, h / 4}};
        default: return {{0, 0}, {w, h}};
    }
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_shape_sample OUT.vxq BACKGROUND.png\n");
        return 2;
    }
    registerBlockClasses();
    const QString backgroundPath = QString::fromLocal8Bit(argv[2]);
    makeBackground(backgroundPath);
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r = *doc.currentRecord();
    r.applyBackground(PictureDescription::ofFile(backgroundPath, PictureDescription::Background,
                                                 Gbk::fromUnicode(QStringLiteral("样本")),
                                                 Gbk::fromUnicode(QStringLiteral("浅色"))),
                      doc.backgrounds);
    auto title = TextBlock::create(BlockKind::FixedText, {700, 300, 10000, 1500},
                                   Gbk::fromUnicode(QString::fromUtf8("图形样本")), true);
    title->content()->setAlignment(RichText::Centre);
    title->content()->fitToFrame(true);
    r.appendBlock(std::move(title));

    std::vector<int32_t> kinds = {BlockKind::Line,    BlockKind::Polyline,    BlockKind::Curve,
                                  BlockKind::Ellipse, BlockKind::RoundRect,   BlockKind::Triangle,
                                  BlockKind::Polygon, BlockKind::ClosedCurve, BlockKind::Rectangle};
    for (int32_t k = BlockKind::FirstArrow; k <= BlockKind::LastArrow; ++k) kinds.push_back(k);
    for (int32_t k = BlockKind::FirstStarTool; k <= BlockKind::LastStarTool; ++k)
        kinds.push_back(k);
    const int32_t fills[] = {1001, 0, 1, 2, 3, 4, 5, 1000, 1002, 1003};
    const int columns = 5;
    const int cellW = 2000, cellH = 2600;
    for (size_t i = 0; i < kinds.size(); ++i) {
        const int col = int(i) % columns, row = int(i) / columns;
        const TwipsRect frame{500 + col * cellW + 200, 1900 + row * cellH + 300,
                              500 + (col + 1) * cellW - 200, 1900 + (row + 1) * cellH - 300};
        auto b = std::make_unique<GraphicBlock>();
        b->kind = kinds[i] >= BlockKind::FirstStarTool ? BlockKind::Polygon : kinds[i];
        b->frame = frame;
        b->sizeWidth = frame.width();
        b->sizeHeight = frame.height();
        b->points = pointsFor(kinds[i], frame.width(), frame.height());
        b->penWidth = 1 + int(i % 3);
        b->penStyle = i == 1 ? 1 : 0;
        b->penColour = 0x1E16C8;
        b->fillColour = i % 2 ? 0x30C0FF : 0xE08020;
        b->fillType = fills[i % std::size(fills)];
        b->shadowDirection = int16_t(i % 5);
        b->shadowDistance = 2;
        r.appendBlock(std::move(b));
    }
    try {
        DocumentFile::save(doc, QString::fromLocal8Bit(argv[1]));
    } catch (const FormatError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
