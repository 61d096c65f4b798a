#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTemporaryDir>
#include <cmath>

#include "Bytes.h"
#include "TestBlock.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/pictures/PictureStore.h"
#include "core/graphics/TextOutline.h"
#include "core/text/RichText.h"
#include "core/text/TextMetrics.h"

using namespace pemo;
using test::Bytes;
using test::gbk;

namespace {

const FixedTextMetrics& fixedMetrics() {
    static const FixedTextMetrics metrics;
    return metrics;
}

// Content laid out with fixed metrics, as a new block has it (size 24, spacing 50, 撑满).
RichText fixedContent(const char* utf8, int width, int height) {
    RichText t;
    t.setMetrics(&fixedMetrics());
    t = RichText(width, height, gbk(utf8), CharStyle(), TextKind::Fixed, 24, 50, RichText::Fill);
    t.setMetrics(&fixedMetrics());
    t.fitToFrame(true);
    return t;
}

QByteArray contentForm(const RichText& t, BlockForm form) {
    ArchiveWriter out;
    switch (form) {
        case BlockForm::Snapshot: t.storeSnapshot(out); break;
        case BlockForm::Document: t.store(out); break;
        default: t.storeTemplate(out); break;
    }
    return out.take();
}

QByteArray outlineForm(const TextOutline& o, BlockForm form) {
    ArchiveWriter out;
    switch (form) {
        case BlockForm::Snapshot: o.storeSnapshot(out); break;
        case BlockForm::Document: o.store(out); break;
        default: o.storeTemplate(out); break;
    }
    return out.take();
}

QByteArray blockForm(const Block& b, BlockForm form, QPoint origin = QPoint()) {
    ArchiveWriter out;
    switch (form) {
        case BlockForm::Snapshot: b.storeSnapshot(out); break;
        case BlockForm::Document: b.store(out); break;
        case BlockForm::Template: b.storeTemplate(out); break;
        case BlockForm::Clip: b.storeClip(out, origin.x(), origin.y()); break;
    }
    return out.take();
}

// Reads a block form into a fresh text block; the stream must be used up.
std::unique_ptr<TextBlock> readBlock(const QByteArray& bytes, BlockForm form,
                                     const PictureStore* local = nullptr,
                                     PictureStore* images = nullptr, QPoint* origin = nullptr) {
    PictureStore noLocal;
    PictureStore noImages;
    auto b = std::make_unique<TextBlock>();
    ArchiveReader in(bytes);
    QPoint stored;
    switch (form) {
        case BlockForm::Snapshot: b->loadSnapshot(in); break;
        case BlockForm::Document: b->load(in); break;
        case BlockForm::Template:
            b->loadTemplate(in, local ? *local : noLocal, images ? *images : noImages);
            break;
        case BlockForm::Clip:
            b->loadClip(in, local ? *local : noLocal, images ? *images : noImages, stored);
            break;
    }
    EXPECT_TRUE(in.atEnd());
    if (origin) *origin = stored;
    return b;
}

QByteArray countingBytes(int n, int first) {
    QByteArray b;
    for (int i = 0; i < n; ++i) b.append(char(first + i));
    return b;
}

// A text block without content whose corners are those of the rectangle.
std::unique_ptr<TextBlock> frameBlock(TwipsRect rect, int32_t kind = BlockKind::FixedText) {
    auto b = std::make_unique<TextBlock>();
    b->kind = kind;
    b->frame = rect;
    b->sizeWidth = rect.width();
    b->sizeHeight = rect.height();
    const RotatedFrame f = RotatedFrame::fromRect(rect);
    b->setCorners(0, f.p0, f.p1, f.p2, f.p3);
    b->clearHandles();
    return b;
}

// A rotated live block with fixed-metric content, turned towards (2732, 0): p0 (1000, 1000),
// p1 (1250, 1433), p2 (1866, 500), p3 (2116, 933).
std::unique_ptr<TextBlock> rotatedLiveBlock(const RichText& content) {
    auto b = frameBlock({1000, 1000, 2000, 1500});
    b->aspectMode = 1;
    b->layer = 9;
    b->rotateTowards(2732, 0);
    b->clearHandles();
    b->setContent(std::make_unique<RichText>(content));
    return b;
}

// Outline pieces that use every point type: a closed square, a closed Bézier figure, and
// a figure mixing lines and curves.
TextOutline sampleOutline() {
    TextOutline o;
    OutlinePiece square;
    square.left = 10;
    square.top = 20;
    square.width = 300;
    square.height = 400;
    square.types = {6, 2, 2, 3};
    square.points = {{0, 0}, {300, 0}, {300, 400}, {0, 400}};
    OutlinePiece curve;
    curve.left = 320;
    curve.top = -5;
    curve.width = 200;
    curve.height = 210;
    curve.types = {6, 4, 4, 5, 6, 2, 4, 4, 4, 3};
    curve.points = {{0, 100}, {50, -20}, {150, -20}, {200, 100}, {20, 180},
                    {100, 200}, {120, 150}, {160, 150}, {180, 200}, {180, 210}};
    o.pieces = {square, curve};
    o.textColour = 0x0000C0;
    o.effect = TextOutline::Bordered;
    o.reserved = 5;
    o.size = 2;
    o.effectColour = 0x112233;
    o.pattern = 7;
    return o;
}

// The document form of a converted block, built by hand.
QByteArray convertedDocumentBytes(const TextOutline& o, const QByteArray& reserved) {
    return Bytes()
        .i32(BlockKind::FixedText).i32(3).i32(8)
        .i32(1000).i32(1000).i32(1600).i32(1500).i32(600).i32(500).zeros(8)
        .i32(1000).i32(1000).i32(1600).i32(1000)
        .u16(1).i32(600).i32(500).raw(reserved)
        .raw(outlineForm(o, BlockForm::Document));
}

std::vector<std::pair<int32_t, QPoint>> grips(const Block& b) {
    std::vector<std::pair<int32_t, QPoint>> out;
    for (const auto& h : b.handles()) out.emplace_back(h->id, QPoint(h->x, h->y));
    return out;
}

std::vector<QPoint> cornersOf(const TextBlock& b) {
    const RotatedFrame& f = b.corners();
    return {f.p0, f.p1, f.p2, f.p3};
}

QImage makeImage(int width, int height, int ppi, QColor fill) {
    QImage image(width, height, QImage::Format_RGB32);
    const int dpm = qRound(ppi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(fill);
    return image;
}

int countColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++n;
    return n;
}

struct Ink {
    QRect bounds;        // of every pixel that differs from the background
    int dark = 0;        // nearly black pixels
    int white = 0;       // pure white pixels
    QPointF centroid;    // of the dark pixels
};

Ink inkOf(const QImage& image, QRgb background) {
    Ink ink;
    double sx = 0, sy = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            if (p == (background & 0xFFFFFF)) continue;
            ink.bounds |= QRect(x, y, 1, 1);
            if (p == 0xFFFFFF) ++ink.white;
            if (qRed(p) < 64 && qGreen(p) < 64 && qBlue(p) < 64) {
                ++ink.dark;
                sx += x;
                sy += y;
            }
        }
    }
    if (ink.dark) ink.centroid = QPointF(sx / ink.dark, sy / ink.dark);
    return ink;
}

}  // namespace

// --- stored forms

TEST(TextBlockForms, DocumentAndTemplateFormsMatchHandBuiltBytes) {
    const RichText content = fixedContent("特价 Sale 中", 1000, 500);
    auto b = rotatedLiveBlock(content);
    b->outlineReferenceWidth = 0x01020304;
    b->outlineReferenceHeight = -2;
    b->reserved = countingBytes(TextBlock::kReservedBytes, 1);
    for (BlockForm form : {BlockForm::Document, BlockForm::Template}) {
        SCOPED_TRACE(int(form));
        const QByteArray expected = Bytes()
            .i32(BlockKind::FixedText).i32(1).i32(9)
            .i32(1000).i32(500).i32(2116).i32(1433)  // frame: bounds of the corners
            .i32(1000).i32(500).zeros(8)
            .i32(1000).i32(1000).i32(1866).i32(500)  // p0, p2
            .u16(0).i32(0x01020304).i32(-2).raw(countingBytes(38, 1))
            .raw(contentForm(content, form));
        EXPECT_EQ(blockForm(*b, form).toHex(), expected.toHex());
        EXPECT_EQ(expected.size() - contentForm(content, form).size(), 68 + 16 + 2 + 8 + 38);
    }
}

TEST(TextBlockForms, SnapshotFormHasFourCornersAndTheSelectionState) {
    const RichText content = fixedContent("特价", 1000, 500);
    auto b = rotatedLiveBlock(content);
    b->selected = true;
    b->locked = true;
    const QByteArray expected = Bytes()
        .i32(BlockKind::FixedText).i32(1).i32(9)
        .i32(1000).i32(500).i32(2116).i32(1433).i32(1000).i32(500)
        .i32(1).i32(1)  // selected, locked
        .i32(1000).i32(1000).i32(1250).i32(1433).i32(1866).i32(500).i32(2116).i32(933)
        .u16(0).i32(0).i32(0).raw(QByteArray(38, '\0'))
        .raw(contentForm(content, BlockForm::Snapshot));
    EXPECT_EQ(blockForm(*b, BlockForm::Snapshot).toHex(), expected.toHex());
}

TEST(TextBlockForms, ClipboardFormStoresCornersMinusTheOriginAndTheTemplateContent) {
    const RichText content = fixedContent("特价", 1000, 500);
    auto b = rotatedLiveBlock(content);
    const QPoint origin(900, 400);
    const QByteArray expected = Bytes()
        .i32(BlockKind::FixedText).i32(1).i32(9)
        .i32(100).i32(100).i32(1216).i32(1033).i32(1000).i32(500)
        .i32(900).i32(400)  // the origin itself
        .i32(100).i32(600).i32(350).i32(1033).i32(966).i32(100).i32(1216).i32(533)
        .u16(0).i32(0).i32(0).raw(QByteArray(38, '\0'))
        .raw(contentForm(content, BlockForm::Clip));
    EXPECT_EQ(blockForm(*b, BlockForm::Clip, origin).toHex(), expected.toHex());

    QPoint readOrigin;
    auto back = readBlock(expected, BlockForm::Clip, nullptr, nullptr, &readOrigin);
    EXPECT_EQ(readOrigin, origin);
    back->moveBy(readOrigin.x(), readOrigin.y());
    EXPECT_EQ(cornersOf(*back), cornersOf(*b));
    EXPECT_EQ(back->frame, b->frame);
}

// Contents read back refit with the installed fonts, so these blocks are made the way
// the canvas makes them; storing what was read must give the same bytes.
TEST(TextBlockForms, LiveBlocksRoundTripThroughEveryForm) {
    auto b = TextBlock::create(BlockKind::FirstVariable + 2, {700, 900, 4700, 2900},
                               gbk("金龙鱼调和油 5L"), true);
    b->rotateTowards(5000, -1000);
    b->clearHandles();
    b->reserved = countingBytes(TextBlock::kReservedBytes, 0x40);
    b->outlineReferenceWidth = 77;
    b->outlineReferenceHeight = 88;
    b->selected = true;
    b->locked = true;
    for (BlockForm form :
         {BlockForm::Snapshot, BlockForm::Document, BlockForm::Template, BlockForm::Clip}) {
        SCOPED_TRACE(int(form));
        const QPoint origin = form == BlockForm::Clip ? QPoint(300, 800) : QPoint();
        const QByteArray bytes = blockForm(*b, form, origin);
        auto back = readBlock(bytes, form);
        // Pasting moves the block by the stored origin.
        if (form == BlockForm::Clip) back->moveBy(origin.x(), origin.y());
        EXPECT_EQ(blockForm(*back, form, origin), bytes);
        EXPECT_EQ(back->kind, b->kind);
        if (form == BlockForm::Snapshot || form == BlockForm::Clip) {
            EXPECT_EQ(cornersOf(*back), cornersOf(*b));
            EXPECT_EQ(back->frame, b->frame);
        } else {
            // Only p0 and p2 are kept: the corners are worked out again from the direction
            // of the stored p2, which may move a far corner by a twip.
            for (int i = 0; i < 4; ++i) {
                const QPoint d = cornersOf(*back)[size_t(i)] - cornersOf(*b)[size_t(i)];
                EXPECT_LE(std::abs(d.x()) + std::abs(d.y()), 1) << "corner " << i;
            }
        }
        EXPECT_EQ(back->reserved, b->reserved);
        EXPECT_EQ(back->outlineReferenceWidth, 77);
        EXPECT_EQ(back->outlineReferenceHeight, 88);
        EXPECT_TRUE(back->isLiveText());
        ASSERT_NE(back->content(), nullptr);
        EXPECT_EQ(back->outline(), nullptr);
        EXPECT_EQ(back->plainText(), b->plainText());
        EXPECT_EQ(back->content()->fontSize(), b->content()->fontSize());
        const bool kept = form == BlockForm::Snapshot;
        EXPECT_EQ(back->selected, kept);
        EXPECT_EQ(back->locked, kept);
    }
}

TEST(TextBlockForms, ConvertedBlockReadsAndWritesItsOutlineInEveryForm) {
    const TextOutline outline = sampleOutline();
    const QByteArray reserved = countingBytes(TextBlock::kReservedBytes, 0x80);
    const QByteArray document = convertedDocumentBytes(outline, reserved);
    auto b = readBlock(document, BlockForm::Document);
    EXPECT_FALSE(b->isLiveText());
    EXPECT_EQ(b->converted, 1);
    EXPECT_EQ(b->content(), nullptr);
    ASSERT_NE(b->outline(), nullptr);
    EXPECT_EQ(b->outline()->pieces, outline.pieces);
    EXPECT_EQ(b->outline()->effect, TextOutline::Bordered);
    EXPECT_EQ(b->outline()->size, 2);
    EXPECT_EQ(b->outline()->pattern, 7);
    EXPECT_EQ(b->outline()->effectColour, 0x112233);
    EXPECT_EQ(b->outlineReferenceWidth, 600);
    EXPECT_EQ(b->outlineReferenceHeight, 500);
    EXPECT_EQ(b->reserved, reserved);
    EXPECT_EQ(blockForm(*b, BlockForm::Document), document);

    const int tail = 2 + 8 + 38;
    for (BlockForm form : {BlockForm::Snapshot, BlockForm::Template, BlockForm::Clip}) {
        SCOPED_TRACE(int(form));
        const QByteArray bytes = blockForm(*b, form, QPoint(1000, 1000));
        // The outline's own form follows the block's tail.
        EXPECT_TRUE(bytes.endsWith(outlineForm(outline, form)));
        const int head = form == BlockForm::Template ? 68 + 16 : 44 + 32;
        EXPECT_EQ(bytes.size(), head + tail + outlineForm(outline, form).size());
        QPoint origin;
        auto back = readBlock(bytes, form, nullptr, nullptr, &origin);
        ASSERT_NE(back->outline(), nullptr);
        EXPECT_EQ(back->content(), nullptr);
        EXPECT_EQ(back->outline()->pieces, outline.pieces);
        EXPECT_EQ(back->reserved, reserved);
        if (form == BlockForm::Clip) back->moveBy(origin.x(), origin.y());
        EXPECT_EQ(blockForm(*back, form, QPoint(1000, 1000)), bytes);
    }
}

TEST(TextBlockForms, PictureFilledOutlineTravelsThroughTheStreamsOwnStore) {
    QTemporaryDir dir;
    const QString path = dir.filePath("wood.bmp");
    QImage texture(4, 4, QImage::Format_RGB32);
    texture.fill(QColor(120, 80, 30));
    ASSERT_TRUE(texture.save(path, "BMP"));
    PictureStore images;
    const QByteArray key = images.add(
        PictureDescription::ofFile(path, PictureDescription::LibraryPicture, gbk("纹理"), "wood"));
    ASSERT_FALSE(key.isEmpty());

    TextOutline o = sampleOutline();
    o.effect = TextOutline::PictureFill;
    o.pictureKey = key;
    auto b = readBlock(convertedDocumentBytes(o, QByteArray(38, '\0')), BlockForm::Document);
    ASSERT_NE(b->outline(), nullptr);
    EXPECT_EQ(b->outline()->pictureKey, key);

    PictureStore local;
    b->exportPictures(local, images);
    ASSERT_EQ(local.size(), 1);
    const QByteArray localKey = b->outline()->localPictureKey;
    EXPECT_TRUE(local.contains(localKey));

    PictureStore otherImages;
    auto back = readBlock(blockForm(*b, BlockForm::Template), BlockForm::Template, &local,
                          &otherImages);
    ASSERT_NE(back->outline(), nullptr);
    EXPECT_EQ(otherImages.size(), 1);
    EXPECT_TRUE(otherImages.contains(back->outline()->pictureKey));

    otherImages.clearMarks();
    back->markPicturesUsed(otherImages);
    EXPECT_EQ(otherImages.countMarked(), 1);
}

// A converted block filled with a picture draws the document's picture, and the built-in
// texture when its key names none.
TEST(TextBlockDrawing, PictureFilledOutlineDrawsTheDocumentsPicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath("green.bmp");
    QImage texture(4, 4, QImage::Format_RGB32);
    texture.fill(QColor(0, 200, 0));
    ASSERT_TRUE(texture.save(path, "BMP"));
    PictureStore images;
    const QByteArray key = images.add(
        PictureDescription::ofFile(path, PictureDescription::LibraryPicture, gbk("纹理"), "green"));
    PictureBlock::setDocumentImages(&images);
    for (bool known : {true, false}) {
        SCOPED_TRACE(known);
        TextOutline o = sampleOutline();
        o.effect = TextOutline::PictureFill;
        o.pictureKey = known ? key : QByteArray("no-such-key");
        auto b = readBlock(convertedDocumentBytes(o, QByteArray(38, '\0')), BlockForm::Document);
        QImage output = makeImage(400, 400, 144, Qt::white);
        {
            QPainter p(&output);
            b->drawForOutput(p, 1.0, 0, 0, 144);
        }
        EXPECT_EQ(countColour(output, qRgb(0, 200, 0)) > 100, known);
    }
    PictureBlock::setDocumentImages(nullptr);
}

TEST(TextBlockForms, StoredCornersAreRecomputedOnReading) {
    const RichText content = fixedContent("特价", 1001, 507);
    const struct {
        const char* name;
        QPoint p0, p2;
        TwipsRect storedFrame;
        std::vector<QPoint> corners;
        TwipsRect frame;
    } cases[] = {
        // Streams from before rotation: the frame gives the corners and stays.
        {"zero", {0, 0}, {0, 0}, {100, 200, 1100, 700},
         {{100, 200}, {100, 700}, {1100, 200}, {1100, 700}}, {100, 200, 1100, 700}},
        // p0 and the direction to p2 are kept; p2 itself and the frame come from the size.
        {"rotated", {2000, 3000}, {5000, -1000}, {0, 0, 0, 0},
         {{2000, 3000}, {2405, 3304}, {2600, 2200}, {3006, 2504}}, {2000, 2200, 3006, 3304}},
        // Only p0 zero is not a stream from before rotation.
        {"p0 at the origin", {0, 0}, {3000, 0}, {50, 50, 60, 60},
         {{0, 0}, {0, 507}, {1001, 0}, {1001, 507}}, {0, 0, 1001, 507}},
    };
    for (const auto& c : cases) {
        for (BlockForm form : {BlockForm::Document, BlockForm::Template}) {
            SCOPED_TRACE(testing::Message() << c.name << " form " << int(form));
            const QByteArray bytes = Bytes()
                .i32(BlockKind::FixedText).i32(3).i32(8)
                .i32(c.storedFrame.left).i32(c.storedFrame.top)
                .i32(c.storedFrame.right).i32(c.storedFrame.bottom)
                .i32(1001).i32(507).zeros(8)
                .i32(c.p0.x()).i32(c.p0.y()).i32(c.p2.x()).i32(c.p2.y())
                .u16(0).i32(0).i32(0).raw(QByteArray(38, '\0'))
                .raw(contentForm(content, form));
            auto b = readBlock(bytes, form);
            EXPECT_EQ(cornersOf(*b), c.corners);
            EXPECT_EQ(b->frame, c.frame);
            EXPECT_EQ(b->sizeWidth, 1001);
            EXPECT_EQ(b->sizeHeight, 507);
        }
    }
}

// --- geometry

TEST(TextBlockGeometry, RotateTowardsTurnsAboutP0) {
    using H = BlockHandle;
    const struct {
        int degrees;
        QPoint target;
        std::vector<QPoint> corners;
        TwipsRect frame;
    } cases[] = {
        {0, {3000, 1000}, {{1000, 1000}, {1000, 1500}, {2000, 1000}, {2000, 1500}},
         {1000, 1000, 2000, 1500}},
        {30, {2732, 0}, {{1000, 1000}, {1250, 1433}, {1866, 500}, {2116, 933}},
         {1000, 500, 2116, 1433}},
        // Straight up on the screen: the top edge points up and the bottom-left corner
        // lies to the right of p0.
        {90, {1000, 0}, {{1000, 1000}, {1499, 1000}, {1000, 1}, {1500, 1}}, {1000, 1, 1500, 1000}},
        {180, {0, 1000}, {{1000, 1000}, {1000, 501}, {1, 1000}, {1, 500}}, {1, 500, 1000, 1000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.degrees);
        auto b = TextBlock::create(BlockKind::FixedText, {1000, 1000, 2000, 1500}, gbk("特价"),
                                   true);
        b->rebuildHandles(true);
        const BlockHandle* grip = b->rotateTowards(c.target.x(), c.target.y());
        EXPECT_EQ(cornersOf(*b), c.corners);
        EXPECT_EQ(b->frame, c.frame);
        EXPECT_EQ(b->sizeWidth, 1000);
        EXPECT_EQ(b->sizeHeight, 500);
        const std::vector<std::pair<int32_t, QPoint>> expected = {
            {H::TopLeft, c.corners[0]},
            {H::BottomLeft, c.corners[1]},
            {H::Rotation, c.corners[2]},
            {H::BottomRight, c.corners[3]}};
        EXPECT_EQ(grips(*b), expected);
        ASSERT_NE(grip, nullptr);
        EXPECT_EQ(grip->id, H::Rotation);
        EXPECT_EQ(QPoint(grip->x, grip->y), c.corners[2]);
        EXPECT_NEAR(b->corners().angle(), c.degrees * M_PI / 180, 1e-4);
    }
}

TEST(TextBlockGeometry, SetCornersReturnsTheDraggedGripAndRefitsLiveText) {
    using H = BlockHandle;
    const QPoint p0(500, 600), p1(500, 2100), p2(3500, 600), p3(3500, 2100);
    const struct {
        int32_t grip;
        bool found;
        QPoint at;
    } cases[] = {
        {H::BottomRight, true, p3}, {H::TopRight, true, p2},  {H::BottomLeft, true, p1},
        {H::TopLeft, true, p0},     {H::Rotation, false, {}}, {H::MiddleRight, false, {}},
        {H::Point, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.grip);
        auto b = TextBlock::create(BlockKind::FixedText, {0, 0, 2000, 1000}, gbk("特价商品"), true);
        const int before = b->content()->fontSize();
        b->sizeWidth = 3000;
        b->sizeHeight = 1500;
        const BlockHandle* grip = b->setCorners(c.grip, p0, p1, p2, p3);
        EXPECT_EQ(b->frame, (TwipsRect{500, 600, 3500, 2100}));
        const std::vector<std::pair<int32_t, QPoint>> expected = {
            {H::TopLeft, p0}, {H::BottomLeft, p1}, {H::TopRight, p2}, {H::BottomRight, p3}};
        EXPECT_EQ(grips(*b), expected);
        ASSERT_EQ(grip != nullptr, c.found);
        if (grip) {
            EXPECT_EQ(grip->id, c.grip);
            EXPECT_EQ(QPoint(grip->x, grip->y), c.at);
        }
        EXPECT_EQ(b->content()->frameWidth(), 3000);
        EXPECT_EQ(b->content()->frameHeight(), 1500);
        EXPECT_GT(b->content()->fontSize(), before);
    }
}

TEST(TextBlockGeometry, GripsAtTheCornersWithRotationOnlyWhenConverted) {
    using H = BlockHandle;
    auto live = rotatedLiveBlock(fixedContent("特价", 1000, 500));
    live->rebuildHandles(true);
    EXPECT_EQ(grips(*live), (std::vector<std::pair<int32_t, QPoint>>{
                                {H::TopLeft, {1000, 1000}},
                                {H::BottomLeft, {1250, 1433}},
                                {H::TopRight, {1866, 500}},
                                {H::BottomRight, {2116, 933}}}));
    auto converted = readBlock(convertedDocumentBytes(sampleOutline(), QByteArray(38, '\0')),
                               BlockForm::Document);
    converted->rebuildHandles(true);
    EXPECT_EQ(grips(*converted), (std::vector<std::pair<int32_t, QPoint>>{
                                     {H::TopLeft, {1000, 1000}},
                                     {H::BottomLeft, {1000, 1500}},
                                     {H::Rotation, {1600, 1000}},
                                     {H::BottomRight, {1600, 1500}}}));
    // Without clearFirst the grips are added again at the same places, not doubled.
    converted->rebuildHandles(false);
    EXPECT_EQ(converted->handles().size(), 4u);
}

TEST(TextBlockGeometry, MoveByOffsetsCornersFrameAndGrips) {
    auto b = rotatedLiveBlock(fixedContent("特价", 1000, 500));
    b->moveBy(-300, 250);
    const std::vector<QPoint> moved = {{700, 1250}, {950, 1683}, {1566, 750}, {1816, 1183}};
    EXPECT_EQ(cornersOf(*b), moved);
    EXPECT_EQ(b->frame, (TwipsRect{700, 750, 1816, 1683}));
    ASSERT_EQ(b->handles().size(), 4u);
    EXPECT_EQ(grips(*b)[2], (std::pair<int32_t, QPoint>{BlockHandle::TopRight, moved[2]}));
    EXPECT_EQ(grips(*b)[3], (std::pair<int32_t, QPoint>{BlockHandle::BottomRight, moved[3]}));
}

// The page going from 190 × 280 mm to 280 × 400 mm: p0 and the size scale per axis and
// truncate; the other corners follow from the angle.
TEST(TextBlockGeometry, ScaleByScalesP0AndTheSizeAndKeepsTheAngle) {
    const double sx = 15874.0 / 10771.0;
    const double sy = 22677.0 / 15874.0;
    const struct {
        const char* name;
        bool rotate;
        std::vector<QPoint> corners;
        TwipsRect frame;
    } cases[] = {
        {"unrotated", false, {{1473, 1428}, {1473, 2142}, {2946, 1428}, {2946, 2142}},
         {1473, 1428, 2946, 2142}},
        {"30 degrees", true, {{1473, 1428}, {1830, 2046}, {2748, 692}, {3105, 1310}},
         {1473, 692, 3105, 2046}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = TextBlock::create(BlockKind::FixedText, {1000, 1000, 2000, 1500}, gbk("特价"),
                                   true);
        if (c.rotate) b->rotateTowards(2732, 0);
        b->scaleBy(sx, sy);
        EXPECT_EQ(b->sizeWidth, 1473);
        EXPECT_EQ(b->sizeHeight, 714);
        EXPECT_EQ(cornersOf(*b), c.corners);
        EXPECT_EQ(b->frame, c.frame);
        EXPECT_EQ(b->content()->frameWidth(), 1473);
        EXPECT_EQ(b->content()->frameHeight(), 714);
    }
}

TEST(TextBlockGeometry, HitTestFollowsTheRotatedQuadrilateral) {
    // At 144 pixels per inch a device pixel is 10 twips: corners (100, 100), (125, 143),
    // (186, 50), (211, 93).
    auto b = rotatedLiveBlock(fixedContent("特价", 1000, 500));
    const struct {
        QPoint at;
        bool hit;
    } cases[] = {
        {{155, 96}, true},    // centre
        {{103, 100}, true},   // just inside p0
        {{208, 93}, true},    // just inside p3
        {{101, 55}, false},   // inside the bounding box, above the top edge
        {{205, 140}, false},  // inside the bounding box, below the bottom edge
        {{90, 100}, false},   // left of everything
        {{-5, -5}, false},    // off the bitmap
        {{400, 400}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x() << "," << c.at.y());
        QImage scratch = makeImage(300, 200, 144, Qt::white);
        EXPECT_EQ(b->hitTest(scratch, 1.0, c.at.x(), c.at.y()), c.hit);
    }
    // Zoom 2 doubles the device positions.
    QImage scratch = makeImage(600, 400, 144, Qt::white);
    EXPECT_TRUE(b->hitTest(scratch, 2.0, 310, 192));
    scratch.fill(Qt::white);
    EXPECT_FALSE(b->hitTest(scratch, 2.0, 155, 96));
}

// --- drawing

// A one-line text, left aligned in a 4 × 1 inch frame, so its ink sits at the start of
// the block's own x axis; turned about p0, that start must follow the rotation.
TEST(TextBlockDrawing, RotatedTextStaysInItsFrameAndTurnsAboutP0) {
    const QRgb background = qRgb(40, 160, 220);
    const int ppi = 96;
    const struct {
        int degrees;
        QPoint target;
    } cases[] = {{0, {20000, 8000}}, {30, {8000 + 1732, 7000}}, {90, {8000, 0}}, {180, {0, 8000}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.degrees);
        auto b = TextBlock::create(BlockKind::FixedText, {8000, 8000, 13760, 9440}, gbk("中A"),
                                   true);
        b->content()->setAlignment(RichText::Left);
        b->content()->fitToFrame(true);
        b->rotateTowards(c.target.x(), c.target.y());
        b->clearHandles();

        for (bool output : {false, true}) {
            SCOPED_TRACE(output);
            QImage image = makeImage(1000, 1000, ppi, QColor::fromRgb(background));
            {
                QPainter p(&image);
                if (output) {
                    b->drawForOutput(p, 1.0, 0, 0, ppi);
                } else {
                    b->draw(p, 0, 1.0, 0, 0);
                }
            }
            const Ink ink = inkOf(image, background);
            const QRect deviceFrame(QPoint(b->frame.left * ppi / 1440, b->frame.top * ppi / 1440),
                                    QPoint(b->frame.right * ppi / 1440, b->frame.bottom * ppi / 1440));
            EXPECT_GT(ink.dark, 200);
            EXPECT_EQ(ink.white, 0) << "no white of a bitmap around the text";
            // Every inked pixel lies in the turned quadrilateral p0 p1 p3 p2 (a pixel's
            // width of slack for partly covered edge pixels).
            const auto dev = [&](QPoint p) { return QPointF(p) * ppi / 1440.0; };
            const RotatedFrame& f = b->corners();
            QPainterPath quad;
            quad.addPolygon(QPolygonF({dev(f.p0), dev(f.p1), dev(f.p3), dev(f.p2), dev(f.p0)}));
            QPainterPathStroker widen;
            widen.setWidth(3);
            const QPainterPath slack = quad.united(widen.createStroke(quad));
            int outside = 0;
            for (int y = ink.bounds.top(); y <= ink.bounds.bottom(); ++y)
                for (int x = ink.bounds.left(); x <= ink.bounds.right(); ++x)
                    if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF) &&
                        !slack.contains(QPointF(x + 0.5, y + 0.5)))
                        ++outside;
            EXPECT_EQ(outside, 0);
            EXPECT_TRUE(deviceFrame.adjusted(-1, -1, 1, 1).contains(ink.bounds))
                << ink.bounds.x() << "," << ink.bounds.y() << " " << ink.bounds.width() << "x"
                << ink.bounds.height();
            // The ink centre in the block's own axes: near the start of its x axis, inside
            // its height.
            const double theta = c.degrees * M_PI / 180;
            const QPointF p0(b->corners().p0.x() * ppi / 1440.0, b->corners().p0.y() * ppi / 1440.0);
            const QPointF d = ink.centroid - p0;
            const double along = d.x() * std::cos(theta) - d.y() * std::sin(theta);
            const double across = d.x() * std::sin(theta) + d.y() * std::cos(theta);
            const double width = 5760.0 * ppi / 1440;
            const double height = 1440.0 * ppi / 1440;
            EXPECT_GT(along, 0);
            EXPECT_LT(along, width / 2);
            EXPECT_GT(across, 0);
            EXPECT_LT(across, height);
        }
    }
}

TEST(TextBlockDrawing, ConvertedOutlineIsDrawnInsideItsTurnedFrame) {
    TextOutline o = sampleOutline();
    o.effect = TextOutline::Plain;
    o.textColour = 0x0000C0;  // red
    const QRgb red = qRgb(0xC0, 0, 0);
    for (QPoint target : {QPoint(5000, 1000), QPoint(1000, 0)}) {
        SCOPED_TRACE(target.y());
        auto b = readBlock(convertedDocumentBytes(o, QByteArray(38, '\0')), BlockForm::Document);
        b->rotateTowards(target.x(), target.y());
        b->clearHandles();
        QImage image = makeImage(400, 400, 144, Qt::white);
        {
            QPainter p(&image);
            b->draw(p, 0, 1.0, 0, 0);
        }
        const Ink ink = inkOf(image, qRgb(255, 255, 255));
        const QRect deviceFrame(QPoint(b->frame.left / 10, b->frame.top / 10),
                                QPoint(b->frame.right / 10, b->frame.bottom / 10));
        EXPECT_GT(countColour(image, red), 100);
        EXPECT_TRUE(deviceFrame.adjusted(-1, -1, 1, 1).contains(ink.bounds));
    }
}

TEST(TextBlockDrawing, FrameLinesAreGreyQuadrilateralsOfTextBlocksOnly) {
    const QRgb grey = qRgb(128, 128, 128);
    // 144 pixels per inch: a device pixel is 10 twips.
    auto straight = frameBlock({1000, 1000, 2000, 1500});
    auto turned = frameBlock({1000, 1000, 2000, 1500});
    turned->rotateTowards(1000, 0);  // corners (100, 100), (149, 100), (100, 0), (150, 0)
    turned->clearHandles();
    auto other = test::makeBlock(BlockKind::Rectangle, {1000, 1000, 2000, 1500}, 6);
    const struct {
        const char* name;
        Block* block;
        std::vector<QPoint> greyAt;
        int minimum;
    } cases[] = {
        {"text", straight.get(), {{100, 100}, {199, 100}, {100, 149}, {150, 150}, {200, 125}}, 290},
        {"turned text", turned.get(), {{100, 100}, {149, 100}, {100, 1}, {120, 100}, {100, 50}}, 190},
        {"not text", other.get(), {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int flags : {0, DrawFlag::FrameLines}) {
            QImage image = makeImage(300, 300, 144, Qt::white);
            {
                QPainter p(&image);
                c.block->draw(p, flags, 1.0, 0, 0);
            }
            const int count = countColour(image, grey);
            if (flags == 0 || c.minimum == 0) {
                EXPECT_EQ(count, 0);
                continue;
            }
            EXPECT_GE(count, c.minimum);
            for (QPoint at : c.greyAt) {
                EXPECT_EQ(image.pixel(at) & 0xFFFFFF, grey & 0xFFFFFF) << at.x() << "," << at.y();
            }
            // The offset moves the lines with the rest of the block.
            QImage moved = makeImage(300, 300, 144, Qt::white);
            {
                QPainter p(&moved);
                c.block->draw(p, flags, 1.0, 30, 40);
            }
            EXPECT_EQ(moved.copy(30, 40, 270, 260), image.copy(0, 0, 270, 260));
        }
    }
}

TEST(TextBlockDrawing, OutputHasNoFrameLinesOrGrips) {
    const QRgb grey = qRgb(128, 128, 128);
    const QRgb gripColour = qRgb(0, 0, 128);
    auto b = TextBlock::create(BlockKind::FixedText, {1000, 1000, 3000, 2000}, gbk("特价A"), true);
    // Red text: its smoothed edges can never be the grey of the frame lines.
    b->content()->selectAll();
    b->content()->applyStyle(RichText::TextColour, 0x0000C0, true);
    b->content()->setSelection({}, {});
    b->selected = true;
    b->rebuildHandles(true);
    const int flags = DrawFlag::FrameLines | DrawFlag::SelectionTool;

    QImage screen = makeImage(400, 400, 144, Qt::white);
    QImage output = makeImage(400, 400, 144, Qt::white);
    {
        QPainter p(&screen);
        b->draw(p, flags, 1.0, 0, 0);
    }
    {
        QPainter p(&output);
        b->drawForOutput(p, 1.0, 0, 0, 144);
    }
    EXPECT_GT(countColour(screen, grey), 0);
    EXPECT_GT(countColour(screen, gripColour), 4 * 30);
    EXPECT_EQ(countColour(output, grey), 0);
    EXPECT_EQ(countColour(output, gripColour), 0);
    EXPECT_GT(countColour(output, qRgb(0xC0, 0, 0)), 100);
}

// White is the transparent colour of turned text, so white characters of a turned block
// vanish over the background; unturned, or while the block is edited in place (drawn
// unturned at the frame's top-left), they are painted.
// White text stays white over a coloured background, turned or not, on screen and in
// output, with smooth (partly covered) edge pixels when turned.
TEST(TextBlockDrawing, WhiteTextStaysWhiteTurnedOrNot) {
    const QRgb background = qRgb(200, 20, 30);
    const struct {
        const char* name;
        bool turned;
        int flags;
        bool selected;
        bool output;
        bool unturnedAtTopLeft;  // drawn unturned while edited in place
    } cases[] = {
        {"unturned", false, 0, false, false, false},
        {"turned", true, 0, false, false, false},
        {"turned, output", true, 0, false, true, false},
        {"turned, editing another block", true, DrawFlag::Editing, false, false, false},
        {"turned, edited in place", true, DrawFlag::Editing, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = TextBlock::create(BlockKind::FixedText, {1440, 4320, 4320, 5760}, gbk("特价"),
                                   true);
        b->content()->selectAll();
        b->content()->applyStyle(RichText::TextColour, 0xFFFFFF, true);
        b->content()->setSelection({}, {});
        if (c.turned) {
            // A quarter turn: the frame becomes (1440, 1441) to (2880, 4320).
            b->rotateTowards(1440, 0);
            b->clearHandles();
        }
        b->selected = c.selected;
        QImage image = makeImage(400, 400, 96, QColor::fromRgb(background));
        {
            QPainter p(&image);
            if (c.output) {
                b->drawForOutput(p, 1.0, 0, 0, 96);
            } else {
                b->draw(p, c.flags, 1.0, 0, 0);
            }
        }
        const Ink ink = inkOf(image, background);
        EXPECT_GT(ink.white, 100);
        if (c.turned && !c.unturnedAtTopLeft) {
            // A quarter turn counterclockwise: the text runs upwards, higher than wide.
            EXPECT_GT(ink.bounds.height(), ink.bounds.width());
            // Anti-aliased edges: pixels between the text's white and the red below.
            const int blended = ink.bounds.width() * ink.bounds.height() -
                                countColour(image.copy(ink.bounds), background) - ink.white;
            EXPECT_GT(blended, 20);
        }
        if (c.unturnedAtTopLeft) {
            // Unturned at the frame's top-left: wider than high, starting at (96, 96).
            EXPECT_GT(ink.bounds.width(), ink.bounds.height());
            EXPECT_GE(ink.bounds.left(), 96);
            EXPECT_GE(ink.bounds.top(), 96);
            EXPECT_LT(ink.bounds.top(), 96 + 96);
        }
    }
}

// Output is placed at the resolution it is given, not at the painter's.
TEST(TextBlockDrawing, OutputFollowsTheGivenResolution) {
    auto b = TextBlock::create(BlockKind::FixedText, {1440, 720, 4320, 2160}, gbk("特价A"), true);
    b->rotateTowards(4320, 0);
    b->clearHandles();
    QRect bounds[2];
    for (int i = 0; i < 2; ++i) {
        QImage image = makeImage(800, 800, 96, Qt::white);
        {
            QPainter p(&image);
            b->drawForOutput(p, 1.0, 0, 0, 96 * (i + 1));
        }
        bounds[i] = inkOf(image, qRgb(255, 255, 255)).bounds;
        ASSERT_FALSE(bounds[i].isEmpty());
    }
    EXPECT_NEAR(bounds[1].left(), 2 * bounds[0].left(), 3);
    EXPECT_NEAR(bounds[1].top(), 2 * bounds[0].top(), 3);
    EXPECT_NEAR(bounds[1].width(), 2 * bounds[0].width(), 6);
    EXPECT_NEAR(bounds[1].height(), 2 * bounds[0].height(), 6);
}

// Text less high than its frame (or, written vertically, less wide) is centred in it,
// turned or not.
TEST(TextBlockDrawing, ShortTextIsCentredInItsFrame) {
    const struct {
        const char* name;
        bool vertical;
        TwipsRect rect;
        QPoint target;  // turning target for p0 at (5760, 5760)
    } cases[] = {
        {"horizontal", false, {5760, 5760, 7200, 10080}, {20000, 5760}},
        {"horizontal, turned", false, {5760, 5760, 7200, 10080}, {5760, 0}},
        {"vertical", true, {5760, 5760, 10080, 7200}, {20000, 5760}},
        {"vertical, turned", true, {5760, 5760, 10080, 7200}, {0, 5760}},
    };
    const int ppi = 96;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = TextBlock::create(BlockKind::FixedText, c.rect, gbk("特"), true);
        b->content()->setAlignment(RichText::Centre);
        b->content()->setVertical(c.vertical);
        b->content()->fitToFrame(true);
        b->rotateTowards(c.target.x(), c.target.y());
        b->clearHandles();
        QImage image = makeImage(1000, 1000, ppi, Qt::white);
        {
            QPainter p(&image);
            b->draw(p, 0, 1.0, 0, 0);
        }
        const Ink ink = inkOf(image, qRgb(255, 255, 255));
        ASSERT_GT(ink.dark, 100);
        const double theta = b->corners().angle();
        const QPointF p0(b->corners().p0.x() * ppi / 1440.0, b->corners().p0.y() * ppi / 1440.0);
        const QPointF d = ink.centroid - p0;
        const double along = d.x() * std::cos(theta) - d.y() * std::sin(theta);
        const double across = d.x() * std::sin(theta) + d.y() * std::cos(theta);
        const double width = b->sizeWidth * ppi / 1440.0;
        const double height = b->sizeHeight * ppi / 1440.0;
        EXPECT_NEAR(along, width / 2, width * 0.15);
        EXPECT_NEAR(across, height / 2, height * 0.15);
    }
}

TEST(TextBlockBorder, AGlyphBorderWidensTheInkAndIsDrawnOutsideTheFrame) {
    auto b = TextBlock::create(BlockKind::FixedText, {1440, 1440, 4320, 2160}, "AB", true);
    EXPECT_EQ(b->inkBounds(), b->frame);
    b->content()->borderGlyph = 33;  // the plain rectangle stays on the frame
    EXPECT_EQ(b->inkBounds(), b->frame);
    b->content()->borderGlyph = 108;
    b->content()->borderSize = 20;
    b->content()->borderColour = 0x0000FF;
    const TwipsRect ink = b->inkBounds();
    EXPECT_LT(ink.left, b->frame.left - 400);
    EXPECT_GT(ink.bottom, b->frame.bottom + 400);
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        b->drawForOutput(p, 1.0, 0, 0, 96);
    }
    // Frame: 96..288 across, 96..144 down at 96 dpi; glyphs sit above the top edge.
    int red = 0;
    for (int x = 90; x < 290; ++x) {
        for (int y = 60; y < 96; ++y) red += qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 80;
    }
    EXPECT_GT(red, 100);
}
