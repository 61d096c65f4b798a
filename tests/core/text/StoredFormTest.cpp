#include <gtest/gtest.h>

#include <QImage>
#include <QMap>
#include <QPainter>
#include <random>

#include "TextFixtures.h"
#include "core/codecs/Archive.h"
#include "core/text/PriceItem.h"

using namespace pemo;
using namespace pemo::test;

namespace {

constexpr int32_t kFixed = 0x02010001;

Bytes& style(Bytes& b, int size, bool bold, const char* key, bool reservedTail, int effect = 0) {
    b.text("宋体").text("Arial").u16(uint16_t(size)).u8(bold ? 1 : 0).u8(0).u8(0);
    b.i32(0).i32(effect).i32(0).i32(1).i32(0xC0C0C0).i32(1).text(key).u16(0);
    if (reservedTail)
        b.raw(QByteArray(14, '\0'));
    return b;
}

Bytes header(int extent) {
    Bytes b;
    b.i32(1000).i32(500).i32(extent).u16(10).u8(1).u16(0);
    b.i32(32).i32(20).i32(0).i32(1).i32(0xFFFFFF).i32(0);
    b.i32(1).i32(0).i32(1).i32(0);  // caret before 0, anchor before 0
    return b;
}

// "A中" with 中 bold; the end item takes the bold style from layout.
RichText sample() {
    RichText t = makeText("A中", 1000, 500);
    t.setSelection({1, true}, {2, true});
    t.applyStyle(RichText::Bold, 1, false);
    t.setSelection({0, true}, {0, true});
    return t;
}

QByteArray expectedSample(bool reservedTail) {
    Bytes b = header(220);
    style(b, 10, false, "", reservedTail);
    b.i32(3);
    b.u16(65300).u8('A').u8(0).u8(0).i32(kFixed);
    b.u16(65306).u8(0xD6).u8(0xD0).u8(1);
    style(b, 10, true, "", reservedTail);
    b.i32(kFixed);
    b.u16(65297).u8(0).u8(0).u8(0).i32(kFixed);
    return b;
}

TEST(StoredFormTest, SnapshotAndDocumentFormsMatchHandBuiltBytes) {
    const RichText t = sample();
    for (bool document : {false, true}) {
        ArchiveWriter out;
        document ? t.store(out) : t.storeSnapshot(out);
        const QByteArray expected = expectedSample(document);
        EXPECT_EQ(out.data().toHex(), expected.toHex()) << document;

        RichText back;
        back.setMetrics(&fixedMetrics());
        ArchiveReader in(expected);
        document ? back.load(in) : back.loadSnapshot(in);
        EXPECT_TRUE(in.atEnd());
        ASSERT_EQ(back.itemCount(), 3);
        EXPECT_EQ(back.item(1).style->bold, 1);
        EXPECT_EQ(back.item(0).style->bold, 0);
        EXPECT_EQ(back.typingStyle, *t.item(0).style);
        ArchiveWriter again;
        document ? back.store(again) : back.storeSnapshot(again);
        EXPECT_EQ(again.data(), expected);
    }
}

class FakeStreamPictures : public StreamPictures {
public:
    QByteArray exportPicture(const QByteArray& key) override {
        exported.append(key);
        return "L" + key;
    }
    QByteArray importPicture(const QByteArray& key) override {
        imported.append(key);
        return "D" + key;
    }
    QByteArrayList exported, imported;
};

TEST(StoredFormTest, TemplateFormCarriesTheStreamsPictureKey) {
    RichText t = makeText("A", 1000, 500);
    CharStyle art = t.item(0).style;
    art.effect = 41;
    art.textureKey = "tex";
    t.setSelection({0, true}, {1, true});
    t.applyArtSettings(art, false);
    t.setSelection({0, true}, {0, true});

    FakeStreamPictures pictures;
    t.exportPictures(&pictures);
    ArchiveWriter out;
    t.storeTemplate(out);
    EXPECT_EQ(pictures.exported, (QByteArrayList{"tex"}));  // once for the style "A" and the end share

    Bytes b = header(220);
    style(b, 10, false, "Ltex", true, 41);
    b.i32(2);
    b.u16(65300).u8('A').u8(0).u8(0).i32(kFixed);
    b.u16(65297).u8(0).u8(0).u8(0).i32(kFixed);
    EXPECT_EQ(out.data().toHex(), QByteArray(b).toHex());

    RichText back;
    ArchiveReader in(out.data());
    back.loadTemplate(in, &pictures);
    EXPECT_EQ(back.item(0).style->textureKey, "DLtex");
    EXPECT_EQ(back.item(1).style->textureKey, "DLtex");

    QByteArrayList used;
    back.markPicturesUsed([&](const QByteArray& key) { used.append(key); });
    EXPECT_EQ(used, (QByteArrayList{"DLtex", "DLtex"}));
}

TEST(StoredFormTest, PriceItemAppendsItsFields) {
    RichText t(1000, 500, gbk("12.80"), styleOfSize(10), TextKind::CurrentPrice, 10, 0,
               RichText::Left);
    t.setMetrics(&fixedMetrics());
    PriceItem* price = t.firstPriceItem(TextKind::CurrentPrice);
    ASSERT_NE(price, nullptr);
    price->priceStyle = 9;
    price->lineColour = 0x00FF00;
    t.layout();
    ArchiveWriter out;
    t.storeSnapshot(out);

    Bytes b = header(220);
    style(b, 10, false, "", false);
    b.i32(2);
    b.u16(65311).u8(0).u8(0).u8(0).i32(TextKind::CurrentPrice);
    b.text("12.80").i32(9).i32(0x00FF00);
    b.u16(65297).u8(0).u8(0).u8(0).i32(kFixed);
    EXPECT_EQ(out.data().toHex(), QByteArray(b).toHex());

    RichText back;
    ArchiveReader in(out.data());
    back.loadSnapshot(in);
    PriceItem* read = back.firstPriceItem(TextKind::CurrentPrice);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->valueText, "12.80");
    EXPECT_EQ(read->priceStyle, 9);
    EXPECT_EQ(read->lineColour, 0x00FF00);
}

TEST(StoredFormTest, CharacterSpacingOfPartOfTheTextSurvives) {
    RichText t = makeText("abc", 1000, 500);
    t.setSelection({1, true}, {2, true});
    t.applyStyle(RichText::CharSpacing, 150, false);
    ArchiveWriter out;
    t.store(out);
    RichText back;
    back.setMetrics(&fixedMetrics());
    ArchiveReader in(out.data());
    back.load(in);
    back.layout();
    EXPECT_EQ(column(back, &TextItem::advance), (std::vector<int>{100, 250, 100, 0}));
}

// A stream of plain items after the standard header and style.
QByteArray stream(int32_t count, std::initializer_list<int> classes, int caretBefore = 1,
                  int caret = 0, int anchor = 0) {
    Bytes b;
    b.i32(1000).i32(500).i32(0).u16(10).u8(1).u16(0);
    b.i32(32).i32(20).i32(0).i32(1).i32(0xFFFFFF).i32(0);
    b.i32(caretBefore).i32(caret).i32(1).i32(anchor);
    style(b, 10, false, "", false);
    b.i32(count);
    for (int c : classes)
        b.u16(uint16_t(c)).u8('a').u8(0).u8(0).i32(kFixed);
    return b;
}

TEST(StoredFormTest, ReadingChecksCountsIndexesAndTheEndItem) {
    const struct {
        const char* name;
        QByteArray bytes;
        bool valid;
    } cases[] = {
        {"valid", stream(2, {65300, 65297}), true},
        {"reserved item kept", stream(2, {65302, 65297}), true},
        {"caret on the end item", stream(2, {65300, 65297}, 1, 1, 1), true},
        {"negative count", stream(-1, {65300, 65297}), false},
        {"count past the bytes", stream(1000, {65300, 65297}), false},
        {"no items", stream(0, {}), false},
        {"no end item", stream(2, {65300, 65300}), false},
        {"end item not last", stream(3, {65297, 65300, 65297}), false},
        {"two end items", stream(2, {65297, 65297}), false},
        {"unknown class", stream(2, {12, 65297}), false},
        {"caret past the items", stream(2, {65300, 65297}, 1, 2, 0), false},
        {"negative caret", stream(2, {65300, 65297}, 1, -1, 0), false},
        {"anchor past the items", stream(2, {65300, 65297}, 1, 0, 5), false},
        {"caret side not 0 or 1", stream(2, {65300, 65297}, 7, 0, 0), false},
        {"truncated", stream(2, {65300, 65297}).chopped(3), false},
    };
    for (const auto& c : cases) {
        RichText t;
        ArchiveReader in(c.bytes);
        if (c.valid) {
            EXPECT_NO_THROW(t.loadSnapshot(in)) << c.name;
            EXPECT_EQ(t.itemCount(), 2) << c.name;
        } else {
            EXPECT_THROW(t.loadSnapshot(in), FormatError) << c.name;
        }
    }
}

}  // namespace

namespace {

// Damaged streams: every read either refuses with FormatError or gives a content
// that lays out, fits, draws and takes caret moves and edits.
TEST(StoredFormTest, DamagedStreamsAreRefusedOrUsable) {
    RichText source(3000, 2000, gbk("价格 ab\n中（12.5）"), styleOfSize(12), TextKind::Fixed, 12,
                    25, RichText::Fill);
    source.setMetrics(&fixedMetrics());
    source.setSelection({2, true}, {5, true});
    source.applyStyle(RichText::Underline, 1, false);
    source.setSelection({0, true}, {0, true});
    source.insertText("{P}", 0x02020003);
    ArchiveWriter out;
    source.store(out);
    const QByteArray good = out.data();

    std::mt19937 random(7);
    int usable = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = good;
        const int flips = 1 + int(random() % 4);
        for (int f = 0; f < flips; ++f)
            bytes[int(random() % bytes.size())] = char(random());
        if (random() % 8 == 0)
            bytes.truncate(int(random() % bytes.size()));
        RichText t;
        t.setMetrics(&fixedMetrics());
        try {
            ArchiveReader in(bytes);
            t.load(in);
        } catch (const FormatError&) {
            continue;
        }
        ++usable;
        t.fitToFrame(round % 2 == 0);
        QImage image(64, 64, QImage::Format_RGB32);
        QPainter painter(&image);
        t.draw(painter, TextDevice{0.1, 0, 0, 96, 96}, true);
        painter.end();
        t.caretRight(false);
        t.caretDown(true);
        t.caretLineEnd(true);
        t.caretLeft(false);
        t.caretUp(false);
        t.setCaretAt(100, 100, true);
        (void)t.selectedText();
        t.typeCharacter('x');
        t.deleteBackward();
        t.selectAll();
        t.deleteSelected();
        ASSERT_EQ(t.item(t.endIndex()).itemClass(), ItemClass::End);
    }
    EXPECT_GT(usable, 100);
}

}  // namespace
