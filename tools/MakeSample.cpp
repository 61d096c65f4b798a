// Builds the sample document shipped beside the program: a few products poured
// through one sale-sign design on a background of the starter library, with a stamp
// from its pictures. Run: make_sample OUT.vxq PROGRAM_FOLDER [PREVIEW.png], after
// make_library has filled PROGRAM_FOLDER.
#include <QGuiApplication>
#include <QImage>
#include <QFileInfo>
#include <cstdio>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/PageDrawing.h"
#include "core/document/TemplateFile.h"
#include "core/text/PriceItem.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

TextBlock& addText(InfoRecord& r, int32_t kind, TwipsRect rect, const char* text,
                   int alignment = RichText::Fill) {
    // Placeholders start with their value, or their name while the value is empty.
    const QByteArray initial =
        kind == BlockKind::FixedText ? gbk(text) : r.placeholderText(kind, false, {});
    auto block = TextBlock::create(kind, rect, initial, true);
    block->content()->setAlignment(alignment);
    block->content()->fitToFrame(true);
    return static_cast<TextBlock&>(r.appendBlock(std::move(block)));
}

void colourAll(TextBlock& block, int32_t colour) {
    RichText& text = *block.content();
    text.selectAll();
    text.applyStyle(RichText::TextColour, colour, true);
    text.setSelection({}, {});
}

void priceStyle(TextBlock& block, int style, int32_t colour) {
    if (PriceItem* price = block.content()->firstPriceItem(block.kind)) {
        price->priceStyle = style;
        price->style.edit().textColour = colour;
    }
    block.content()->fitToFrame(true);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make_sample OUT.vxq PROGRAM_FOLDER [PREVIEW.png]\n");
        return 2;
    }
    registerBlockClasses();
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString backgroundPath = folder + QString::fromUtf8("/底图模板/促销/红色爆炸.jpg");
    const QString stampPath = folder + QString::fromUtf8("/图库/促销/特价.tif");
    // A shelf tag for the A4 sheets of 21 labels (63.5 × 38.1 mm).
    const QString tagPath = folder + QString::fromUtf8("/底图模板/价签/红头价签-TMPL/红头价签-标签21格.vxt");
    for (const QString& path : {backgroundPath, stampPath, tagPath}) {
        if (!QFileInfo(path).isFile()) {
            std::fprintf(stderr, "%s is missing: run make_library first\n", qPrintable(path));
            return 1;
        }
    }

    CPatDoc doc;
    doc.newDocument();
    const char* products[][5] = {
        {"金龙鱼调和油", "5L 桶装", "89.90", "69.90", "7.8折"},
        {"蒙牛纯牛奶", "250ml×24盒", "72.00", "59.80", "8.3折"},
        {"海飞丝洗发露", "400ml 去屑", "45.50", "32.90", "7.2折"},
        {"五常大米", "10kg 东北", "120.00", "99.00", "8.3折"},
    };
    const auto background = PictureDescription::ofFile(
        backgroundPath, PictureDescription::Background, gbk("促销"), gbk("红色爆炸"));
    const auto stampPicture = PictureDescription::ofFile(stampPath, PictureDescription::LibraryPicture,
                                                         gbk("促销"), gbk("特价"));
    for (size_t i = 0; i < std::size(products); ++i) {
        if (i > 0) doc.records.push_back(doc.newRecord());
        InfoRecord& r = *doc.records[i];
        r.applyBackground(background, doc.backgrounds);
        r.setValue(0, gbk(products[i][0]));
        r.setValue(1, gbk(products[i][1]));
        r.setValue(InfoRecord::kOriginalPrice, gbk(products[i][2]));
        r.setValue(InfoRecord::kCurrentPrice, gbk(products[i][3]));
        r.setValue(InfoRecord::kDiscount, gbk(products[i][4]));

        colourAll(addText(r, BlockKind::FixedText, {700, 300, 10071, 2200}, "超值特惠",
                          RichText::Centre),
                  0xFFFFFF);
        addText(r, BlockKind::FirstVariable, {900, 3200, 9871, 5600}, "", RichText::Centre);
        colourAll(addText(r, BlockKind::FirstVariable + 1, {900, 5800, 9871, 6900}, "",
                          RichText::Centre),
                  0x404040);
        priceStyle(addText(r, BlockKind::OriginalPrice, {900, 7300, 5200, 8600}, ""), 2, 0x606060);
        priceStyle(addText(r, BlockKind::CurrentPrice, {900, 9000, 9071, 12600}, ""), 9, 0x1E16C8);
        TextBlock& vertical =
            addText(r, BlockKind::FixedText, {9300, 7300, 10300, 12600}, "限时抢购");
        vertical.content()->setVertical(true);
        vertical.content()->fitToFrame(true);
        colourAll(vertical, 0x1E16C8);
        auto stamp = TextBlock::create(BlockKind::Discount, {6200, 7200, 9000, 8600},
                                       r.placeholderText(BlockKind::Discount, false, {}), true);
        stamp->rotateTowards(9000, 6500);
        stamp->clearHandles();
        priceStyle(*stamp, 0, 0x1E16C8);
        r.appendBlock(std::move(stamp));
        colourAll(addText(r, BlockKind::FixedText, {700, 14600, 10071, 15600},
                          "活动时间：12月10日至12月31日", RichText::Centre),
                  0xFFFFFF);
        if (auto picture =
                PictureBlock::create(BlockKind::InsertedPicture, stampPicture, doc.images)) {
            picture->setRect({8200, 12450, 10200, 14450});
            r.appendBlock(std::move(picture));
        }
        r.refreshPlaceholders(false, doc.placeholderSources());
    }
    // Two products on label-sheet tags, printed with 标签纸打印.
    const char* tags[][5] = {
        {"农夫山泉饮用水", "550ml", "2.00", "1.50", "7.5折"},
        {"康师傅红烧牛肉面", "五连包", "15.50", "12.90", "8.3折"},
    };
    try {
        for (const auto& tag : tags) {
            doc.records.push_back(doc.newRecord());
            InfoRecord& r = *doc.records.back();
            TemplateFile::apply(tagPath, r, doc);
            r.setValue(0, gbk(tag[0]));
            r.setValue(2, gbk(tag[1]));
            r.setValue(InfoRecord::kOriginalPrice, gbk(tag[2]));
            r.setValue(InfoRecord::kCurrentPrice, gbk(tag[3]));
            r.setValue(InfoRecord::kDiscount, gbk(tag[4]));
            r.refreshPlaceholders(false, doc.placeholderSources());
            r.resetUndo();
        }
    } catch (const FormatError& e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    doc.records.front()->current = true;
    for (size_t i = 1; i < doc.records.size(); ++i) doc.records[i]->current = false;
    if (argc == 4) {
        renderPageImage(*doc.records.front(), doc.backgrounds, 96, true, false)
            .save(QString::fromLocal8Bit(argv[3]));
    }
    try {
        DocumentFile::save(doc, out);
    } catch (const FormatError& e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
