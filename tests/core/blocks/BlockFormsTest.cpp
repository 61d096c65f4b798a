#include <gtest/gtest.h>

#include "Bytes.h"
#include "TestBlock.h"
#include "core/blocks/BlockList.h"
#include "core/codecs/Archive.h"

using namespace pemo;
using test::Bytes;
using test::makeBlock;
using test::TestBlock;

namespace {

class BlockForms : public testing::Test {
protected:
    void SetUp() override { test::registerTestBlocks(); }
};

std::unique_ptr<TestBlock> sample() {
    auto b = makeBlock(BlockKind::FixedText, {100, -200, 300, 400}, 8);
    b->aspectMode = 1;
    b->sizeWidth = 150;
    b->sizeHeight = 90;
    b->selected = true;
    b->locked = true;
    return b;
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

Bytes head(const Block& b) {
    Bytes x;
    x.i32(b.kind).i32(b.aspectMode).i32(b.layer);
    return x;
}

}  // namespace

TEST_F(BlockForms, DocumentAndTemplateBasePartIs68Bytes) {
    const auto b = sample();
    const QByteArray expected =
        head(*b).i32(100).i32(-200).i32(300).i32(400).i32(150).i32(90).zeros(8);
    EXPECT_EQ(written(*b, BlockForm::Document), expected);
    EXPECT_EQ(written(*b, BlockForm::Template), expected);
    EXPECT_EQ(expected.size(), 68);
}

TEST_F(BlockForms, SnapshotBasePartIs44BytesWithSelectedAndLocked) {
    auto b = sample();
    const auto expected = [&](int selected) {
        return QByteArray(head(*b).i32(100).i32(-200).i32(300).i32(400).i32(150).i32(90)
                              .i32(selected).i32(1));
    };
    EXPECT_EQ(written(*b, BlockForm::Snapshot), expected(1));
    b->selected = false;
    EXPECT_EQ(written(*b, BlockForm::Snapshot), expected(0));
    EXPECT_EQ(written(*b, BlockForm::Snapshot).size(), 44);
}

TEST_F(BlockForms, ClipboardFormStoresFramesRelativeToTheOriginAndTheOriginAfter) {
    // The copied blocks' smallest left is 1000 and smallest top 2000.
    auto a = makeBlock(BlockKind::Rectangle, {1000, 2500, 3000, 4000}, 6);
    auto b = makeBlock(BlockKind::InsertedPicture, {1500, 2000, 2500, 3000}, 3);
    ArchiveWriter out;
    writeBlockList(out, {a.get(), b.get()}, BlockForm::Clip, QPoint(1000, 2000));
    const QByteArray expected = Bytes()
                                    .i32(2)
                                    .i32(a->kind)
                                    .raw(head(*a).i32(0).i32(500).i32(2000).i32(2000))
                                    .i32(2000).i32(1500).i32(1000).i32(2000)
                                    .i32(b->kind)
                                    .raw(head(*b).i32(500).i32(0).i32(1500).i32(1000))
                                    .i32(1000).i32(1000).i32(1000).i32(2000);
    EXPECT_EQ(out.data(), expected);
    EXPECT_EQ(expected.size(), 4 + 2 * (4 + 44));

    ArchiveReader in(out.data());
    std::vector<QPoint> origins;
    const BlockPtrList read = readBlockList(in, BlockForm::Clip, nullptr, nullptr, &origins);
    EXPECT_TRUE(in.atEnd());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->frame, (TwipsRect{0, 500, 2000, 2000}));
    EXPECT_EQ(read[1]->frame, (TwipsRect{500, 0, 1500, 1000}));
    EXPECT_EQ(read[1]->kind, BlockKind::InsertedPicture);
    EXPECT_EQ(origins, (std::vector<QPoint>{{1000, 2000}, {1000, 2000}}));
    // Moving by the stored origin puts them back where they were copied from.
    read[0]->moveBy(origins[0].x(), origins[0].y());
    EXPECT_EQ(read[0]->frame, a->frame);
}

TEST_F(BlockForms, RoundTripsKeepSelectionAndLockOnlyInSnapshots) {
    BlockPtrList blocks;
    blocks.push_back(sample());
    blocks.push_back(makeBlock(BlockKind::Line, {-5, -6, 7, 8}, 0));
    blocks.push_back(makeBlock(BlockKind::ProductPicture, {1, 2, 3, 4}, 14));
    for (BlockForm form : {BlockForm::Snapshot, BlockForm::Document, BlockForm::Template}) {
        SCOPED_TRACE(int(form));
        ArchiveWriter out;
        writeBlockList(out, blocks, form);
        ArchiveReader in(out.data());
        const BlockPtrList read = readBlockList(in, form);
        EXPECT_TRUE(in.atEnd());
        ASSERT_EQ(read.size(), blocks.size());
        for (size_t i = 0; i < read.size(); ++i) {
            SCOPED_TRACE(i);
            const Block& x = *blocks[i];
            const Block& y = *read[i];
            EXPECT_EQ(y.kind, x.kind);
            EXPECT_EQ(y.aspectMode, x.aspectMode);
            EXPECT_EQ(y.layer, x.layer);
            EXPECT_EQ(y.frame, x.frame);
            EXPECT_EQ(y.sizeWidth, x.sizeWidth);
            EXPECT_EQ(y.sizeHeight, x.sizeHeight);
            const bool kept = form == BlockForm::Snapshot;
            EXPECT_EQ(y.selected, kept && x.selected);
            EXPECT_EQ(y.locked, kept && x.locked);
            EXPECT_TRUE(y.handles().empty());
        }
    }
}

TEST_F(BlockForms, ReaderRefusesMalformedLists) {
    const auto body = [](int32_t kind, int32_t layer) {
        return QByteArray(Bytes().i32(kind).i32(3).i32(layer).i32(0).i32(0).i32(10).i32(10)
                              .i32(10).i32(10).zeros(8));
    };
    const auto snapshotBody = [](int32_t kind, int32_t layer) {
        return QByteArray(Bytes().i32(kind).i32(3).i32(layer).zeros(8));
    };
    const int32_t text = BlockKind::FixedText;
    const struct {
        const char* name;
        BlockForm form;
        QByteArray stream;
    } cases[] = {
        {"kind without a class bit", BlockForm::Document,
         Bytes().i32(1).i32(0x00000001).raw(body(0x00000001, 5))},
        {"selection tool kind", BlockForm::Document,
         Bytes().i32(1).i32(BlockKind::SelectionTool).raw(body(BlockKind::SelectionTool, 5))},
        {"layer 15", BlockForm::Document, Bytes().i32(1).i32(text).raw(body(text, 15))},
        {"layer -1", BlockForm::Document, Bytes().i32(1).i32(text).raw(body(text, -1))},
        {"layer 15 in a snapshot", BlockForm::Snapshot,
         Bytes().i32(1).i32(text).raw(snapshotBody(text, 15))},
        {"layer 15 on the clipboard", BlockForm::Clip,
         Bytes().i32(1).i32(text).raw(snapshotBody(text, 15))},
        {"count beyond the bytes left", BlockForm::Document,
         Bytes().i32(2).i32(text).raw(body(text, 5))},
        {"huge count", BlockForm::Document, Bytes().i32(0x7fffffff).i32(text).raw(body(text, 5))},
        {"negative count", BlockForm::Document, Bytes().i32(-1)},
        {"block cut short", BlockForm::Document,
         Bytes().i32(1).i32(text).raw(body(text, 5).left(60))},
        {"form names another class", BlockForm::Document,
         Bytes().i32(1).i32(text).raw(body(BlockKind::Line, 5))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ArchiveReader in(c.stream);
        EXPECT_THROW(readBlockList(in, c.form), FormatError);
    }
    // The valid layers at both ends are accepted.
    for (int32_t layer : {0, 14}) {
        ArchiveReader in(Bytes().i32(1).i32(text).raw(body(text, layer)));
        EXPECT_EQ(readBlockList(in, BlockForm::Document).size(), 1u);
    }
}

