#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "FileTestSupport.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/EditCommands.h"
#include "core/document/InfoRecord.h"
#include "core/document/PageDrawing.h"
#include "core/document/TemplateFile.h"

using namespace pemo;
using namespace pemo::filetest;

namespace {

// The program's own text and graphic blocks (other tests here put stand-ins in place);
// pictures through the keyed stand-in.
void useProgramBlocks() {
    registerBlockClasses();
    BlockFactory::setCreator(BlockKind::TextBit, [] { return std::make_unique<TextBlock>(); });
    BlockFactory::setCreator(BlockKind::GraphicBit,
                             [] { return std::make_unique<GraphicBlock>(); });
    BlockFactory::setCreator(BlockKind::PictureBit,
                             [] { return std::make_unique<KeyedPictureBlock>(); });
}

std::unique_ptr<GraphicBlock> shape(int32_t kind, TwipsRect frame, std::vector<QPoint> points,
                                    int32_t fill) {
    auto b = std::make_unique<GraphicBlock>();
    b->kind = kind;
    b->frame = frame;
    b->sizeWidth = frame.width();
    b->sizeHeight = frame.height();
    b->points = std::move(points);
    b->fillType = fill;
    b->penWidth = 2;
    b->penColour = 0x2040C0;
    b->fillColour = 0x40E0FF;
    b->shadowDirection = int16_t(kind % 5);
    b->shadowDistance = 3;
    return b;
}

QByteArray pageBytes(const InfoRecord& r) {
    ArchiveWriter out;
    writeBlockList(out, r.blocks, BlockForm::Document);
    return out.take();
}

}  // namespace

TEST(ShapeDocument, TextPicturesAndShapesSurviveSavingAndReopening) {
    useProgramBlocks();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r = *doc.currentRecord();
    const QString bmp = dir.filePath("cola.bmp");
    ASSERT_TRUE(writeFile(bmp, bmpBytes(qRgb(200, 30, 30))));
    auto picture = makeBlock(BlockKind::InsertedPicture, 3, {6000, 6000, 8000, 8000});
    picture->setPictureKey(doc.images.add(
        PictureDescription::ofFile(bmp, PictureDescription::LibraryPicture, "drinks", "cola")));
    r.appendBlock(std::move(picture));
    r.appendBlock(TextBlock::create(BlockKind::FixedText, {500, 500, 6000, 2000},
                                    test::gbk("新品上市"), true));
    r.appendBlock(shape(BlockKind::Line, {500, 2200, 6000, 2300}, {{0, 0}, {5500, 100}}, 1001));
    r.appendBlock(
        shape(BlockKind::RoundRect, {400, 400, 6100, 2100}, {{0, 0}, {5700, 1700}}, 1000));
    r.appendBlock(shape(BlockKind::FirstArrow + 2, {700, 3000, 4000, 4000},
                        {{0, 0}, {3300, 1000}, {800, 250}}, 4));
    r.appendBlock(shape(BlockKind::ClosedCurve, {700, 4500, 3000, 6000},
                        {{0, 700}, {1200, 0}, {2300, 800}, {1000, 1500}}, 1015));
    r.appendBlock(shape(BlockKind::Polygon, {3000, 4500, 5000, 6500},
                        {{0, 0}, {2000, 300}, {900, 2000}}, 1002));
    const QByteArray before = pageBytes(r);

    const QString path = dir.filePath("shapes.vxq");
    DocumentFile::save(doc, path);
    CPatDoc reopened;
    DocumentFile::open(reopened, path);
    ASSERT_EQ(reopened.recordCount(), 1);
    const InfoRecord& back = *reopened.currentRecord();
    ASSERT_EQ(back.blocks.size(), 7u);
    EXPECT_NE(dynamic_cast<GraphicBlock*>(back.blocks[4].get()), nullptr);
    EXPECT_TRUE(reopened.images.contains(back.blocks[0]->pictureKey()));
    EXPECT_EQ(pageBytes(back), before);
    // Saved again, the file is the same.
    const QString again = dir.filePath("again.vxq");
    DocumentFile::save(reopened, again);
    EXPECT_EQ(readFile(again), readFile(path));
}

TEST(ShapeDocument, ShapeWithAPointCountPastTheEndIsRefused) {
    useProgramBlocks();
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r = *doc.currentRecord();
    r.appendBlock(
        shape(BlockKind::Polygon, {0, 0, 100, 100}, {{777, 0}, {100, 0}, {0, 100}}, 1001));
    QByteArray body = DocumentFile::write(doc, false);
    // The point count comes right before the first point; raise it.
    const QByteArray count = test::Bytes().i32(3).i32(777).data();
    const qsizetype at = body.lastIndexOf(count);
    ASSERT_GT(at, 0);
    body[at] = char(0x40);
    CPatDoc other;
    try {
        DocumentFile::read(other, body);
        FAIL() << "a point count past the end was read";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.message(), QString::fromUtf8("非法文件"));
    }
}

// Printing renders the page in bands of 1,000 rows: a shape whose shadow and pen reach
// past its frame into the band above still shows there.
TEST(ShapeDocument, ShadowsCrossBandEdgesInOutput) {
    useProgramBlocks();
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r = *doc.currentRecord();
    // Row 1,000 at 150 pixels per inch is 9,600 twips; the frame starts 10 rows lower.
    auto b = shape(BlockKind::Rectangle, {1440, 9696, 4320, 11520}, {{0, 0}, {2880, 1824}}, 1001);
    b->shadowDirection = 1;
    b->shadowDistance = 10;  // 62 pixels up and left
    b->shadowColour = 0x00FF00;
    r.appendBlock(std::move(b));
    const QImage page = renderPageImage(r, doc.backgrounds, 150, false, false);
    ASSERT_GT(page.height(), 1100);
    EXPECT_EQ(page.pixel(200, 990), qRgb(0, 255, 0));
    EXPECT_EQ(page.pixel(200, 1050), qRgb(0xFF, 0xE0, 0x40));
}

// Shapes travel through the clipboard and the undo history like text, and the block
// commands move them.
TEST(ShapeDocument, CopyPasteUndoAndAlignmentTakeShapes) {
    useProgramBlocks();
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r = *doc.currentRecord();
    Block& star = r.appendBlock(
        shape(BlockKind::Polygon, {2000, 3000, 4000, 5000}, {{0, 0}, {2000, 900}, {700, 2000}}, 3));
    r.appendBlock(shape(BlockKind::Ellipse, {500, 500, 1500, 1200}, {{0, 0}, {1000, 700}}, 1001));
    r.selectBlock(&star);
    const QByteArray clip = EditCommands::copySelection(r, doc);
    r.clearSelection();
    EXPECT_TRUE(EditCommands::paste(r, doc, clip, false).isEmpty());
    ASSERT_EQ(r.blocks.size(), 3u);
    auto* pasted = dynamic_cast<GraphicBlock*>(r.blocks.back().get());
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->points, static_cast<GraphicBlock&>(star).points);
    EXPECT_EQ(pasted->fillType, 3);

    r.clearSelection();
    r.selectBlock(r.blocks[0].get());
    r.selectBlock(r.blocks[1].get());
    r.takeUndoSnapshot();
    ASSERT_TRUE(EditCommands::run(EditCommand::AlignLeft, r));
    EXPECT_EQ(r.blocks[0]->frame.left, r.blocks[1]->frame.left);
    ASSERT_TRUE(r.undo());
    EXPECT_EQ(r.blocks[0]->frame.left, 2000);
    ASSERT_NE(dynamic_cast<GraphicBlock*>(r.blocks[0].get()), nullptr);
}
