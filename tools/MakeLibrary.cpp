// Builds the starter library laid beside the program: backgrounds in four categories
// and 空白底图, templates in the sizes shops print most on them, decorations for 图库
// and textures for 贴图. Run: make_library PROGRAM_FOLDER
#include <QDir>
#include <QGuiApplication>
#include <cmath>
#include <cstdio>

#include "LibraryPictures.h"
#include "core/barcodes/BarcodeStyle.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/blocks/Twips.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/PageDrawing.h"
#include "core/document/TemplateFile.h"
#include "core/platform/FileError.h"
#include "core/text/PriceItem.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

QByteArray gbk(const QString& text) {
    return Gbk::fromUnicode(text);
}
QByteArray gbk(const char* utf8) {
    return gbk(QString::fromUtf8(utf8));
}

// A block's place as fractions of the page.
struct Place {
    double left, top, right, bottom;
};

TwipsRect twips(const InfoRecord& r, Place p) {
    return {int32_t(r.widthTw * p.left), int32_t(r.heightTw * p.top), int32_t(r.widthTw * p.right),
            int32_t(r.heightTw * p.bottom)};
}

// A text block; points, when given, sets all its text to that size before it fits its
// frame (below 20 points it stays among the small sizes).
TextBlock& addText(InfoRecord& r, int32_t kind, Place place, const char* text, int alignment,
                   int32_t colour, const char* chineseFace = nullptr, int points = 0) {
    const QByteArray initial =
        kind == BlockKind::FixedText ? gbk(text) : r.placeholderText(kind, false, {});
    auto block = TextBlock::create(kind, twips(r, place), initial, true);
    RichText& content = *block->content();
    content.setAlignment(alignment);
    content.selectAll();
    content.applyStyle(RichText::TextColour, colour, false);
    if (chineseFace)
        content.applyStyle(RichText::ChineseFace, gbk(chineseFace), false);
    content.setSelection({}, {});
    if (points > 0)
        content.applyStyleToAll(RichText::Size, points, false);
    content.fitToFrame(true);
    if (PriceItem* price = content.firstPriceItem(kind))
        price->style.edit().textColour = colour;
    return static_cast<TextBlock&>(r.appendBlock(std::move(block)));
}

void priceStyle(TextBlock& block, int style) {
    if (PriceItem* price = block.content()->firstPriceItem(block.kind))
        price->priceStyle = style;
    block.content()->fitToFrame(true);
}

void addPicture(InfoRecord& r, CPatDoc& doc, const QString& path, Place place) {
    const QFileInfo info(path);
    const QString name = info.completeBaseName();
    auto block =
        PictureBlock::create(BlockKind::InsertedPicture,
                             PictureDescription::ofFile(path, PictureDescription::LibraryPicture,
                                                        gbk(info.dir().dirName()), gbk(name)),
                             doc.images);
    if (!block)
        return;
    block->setRect(twips(r, place));
    r.appendBlock(std::move(block));
}

// Colours of one category's texts (red in the low byte).
struct Theme {
    const char* title;
    int32_t titleColour;
    int32_t textColour;
    int32_t priceColour;
};

Theme themeOf(const QString& category) {
    if (category == QString::fromUtf8("节日"))
        return {"节日特惠", 0x30C8F0, 0x202020, 0x1010C0};
    if (category == QString::fromUtf8("促销"))
        return {"超值特价", 0xFFFFFF, 0x202020, 0x1414D2};
    if (category == QString::fromUtf8("生鲜"))
        return {"新鲜直供", 0xFFFFFF, 0x1E5A1E, 0x1E32C8};
    if (category == QString::fromUtf8("价签"))
        return {"特价", 0xFFFFFF, 0x202020, 0x1414C8};
    return {"促销商品", 0x1414C8, 0x202020, 0x1414C8};
}

// A poster: title, name, pack size and origin with their labels, the original
// price struck through and the current price large. Pack size and origin, with their
// labels, take the given size when one is given, so that a long origin shrinks to its line.
void posterPage(InfoRecord& r, const Theme& t, int detailPoints) {
    addText(r, BlockKind::FixedText, {0.08, 0.03, 0.92, 0.16}, t.title, RichText::Centre,
            t.titleColour, "黑体");
    addText(r, BlockKind::FirstVariable, {0.1, 0.24, 0.9, 0.38}, "", RichText::Centre, t.textColour,
            "黑体");
    addText(r, BlockKind::FixedText, {0.12, 0.41, 0.3, 0.46}, "规格:", RichText::Left,
            t.textColour, nullptr, detailPoints);
    addText(r, BlockKind::FirstVariable + 2, {0.3, 0.41, 0.88, 0.46}, "", RichText::Left,
            t.textColour, nullptr, detailPoints);
    addText(r, BlockKind::FixedText, {0.12, 0.48, 0.3, 0.53}, "产地:", RichText::Left,
            t.textColour, nullptr, detailPoints);
    addText(r, BlockKind::FirstVariable + 5, {0.3, 0.48, 0.88, 0.53}, "", RichText::Left,
            t.textColour, nullptr, detailPoints);
    addText(r, BlockKind::FixedText, {0.12, 0.57, 0.3, 0.63}, "原价", RichText::Left, t.textColour);
    priceStyle(
        addText(r, BlockKind::OriginalPrice, {0.3, 0.56, 0.7, 0.64}, "", RichText::Left, 0x606060),
        2);
    addText(r, BlockKind::FixedText, {0.12, 0.7, 0.3, 0.77}, "现价", RichText::Left, t.priceColour);
    priceStyle(addText(r, BlockKind::CurrentPrice, {0.28, 0.66, 0.9, 0.88}, "", RichText::Fill,
                       t.priceColour),
               9);
}

// A 90 × 60 mm shelf tag: title band, name, pack size, origin and the original
// price on the left, the current price on the right.
void shelfTagPage(InfoRecord& r, const Theme& t) {
    addText(r, BlockKind::FixedText, {0.05, 0.03, 0.5, 0.22}, t.title, RichText::Left,
            t.titleColour, "黑体");
    // The name at 18 points, so that a long one shrinks into its two lines.
    addText(r, BlockKind::FirstVariable, {0.06, 0.3, 0.94, 0.48}, "", RichText::Left, t.textColour,
            "黑体", 18);
    // Pack size and origin at 14 points: their lines are 6.6 mm high, which 20-point text
    // with a descender ("105g") passes by a millimetre.
    addText(r, BlockKind::FirstVariable + 2, {0.06, 0.52, 0.52, 0.63}, "", RichText::Left,
            t.textColour, nullptr, 14);
    addText(r, BlockKind::FirstVariable + 5, {0.06, 0.66, 0.52, 0.77}, "", RichText::Left,
            t.textColour, nullptr, 14);
    priceStyle(
        addText(r, BlockKind::OriginalPrice, {0.06, 0.8, 0.5, 0.93}, "", RichText::Left, 0x606060),
        2);
    priceStyle(addText(r, BlockKind::CurrentPrice, {0.52, 0.55, 0.95, 0.92}, "", RichText::Fill,
                       t.priceColour),
               9);
}

// The label of a label sheet, laid out in millimetres for its small size: the name in
// the coloured band, the barcode of the 其他信息 variable on the left, wide enough for
// an EAN-13's module to stay above 0.264 mm (80 % of its nominal size, the least that
// scans) with bars well over the 18.3 mm that size needs; pack size, origin and the price
// on the right. A special offer shows 特价 in the band and the original price struck out.
void labelPage(InfoRecord& r, const Theme& t, bool special, int32_t bandText) {
    const double w = r.widthTw / kTwipsPerMm;
    const double h = r.heightTw / kTwipsPerMm;
    const auto mm = [&](double left, double top, double right, double bottom) {
        return Place{left / w, top / h, right / w, bottom / h};
    };
    // The background's border is about 1 mm wide; the band takes the top 24 %.
    const double edge = 1.5;
    const double band = 0.24 * h;
    const double right = w - edge - 0.2;
    const double bottom = h - edge;
    const double nameRight = special ? w - 13.5 : right;
    addText(r, BlockKind::FirstVariable, mm(edge + 0.4, 0.9, nameRight, band - 0.5), "", RichText::Left,
            bandText, "黑体", 12);
    if (special)
        addText(r, BlockKind::FixedText, mm(w - 13.0, 0.9, right, band - 0.5), "特价", RichText::Right,
                bandText, "黑体", 16);

    const double barcodeWidth = 33.5;
    auto barcode = TextBlock::create(BlockKind::FirstVariable + 9,
                                     twips(r, mm(edge, band + 0.9, edge + barcodeWidth, bottom)),
                                     r.placeholderText(BlockKind::FirstVariable + 9, false, {}), true);
    BarcodeStyle::apply(*barcode->content(), BarcodeFace::Symbology::Ean13, true, true);
    r.appendBlock(std::move(barcode));

    const double column = edge + barcodeWidth + 1.2;
    const double line = special ? 5.0 : 5.4;
    double y = band + 0.7;
    // "规格：500g" and "产地：山东烟台" in a block each, the value after its name, so a
    // long value wraps under both onto a second line.
    for (const auto& [name, variable] : {std::pair{"规格：", 2}, std::pair{"产地：", 5}}) {
        RichText& content = *addText(r, BlockKind::FirstVariable + variable, mm(column, y, right, y + line), "",
                                     RichText::Left, t.textColour, nullptr, 9)
                                 .content();
        content.setSelection({0, true}, {0, true});
        content.insertText(gbk(name), TextKind::Fixed);
        content.setLineSpacing(1);
        content.fitToFrame(true);
        y += line;
    }
    if (special) {
        const double label = column + 5.6;
        addText(r, BlockKind::FixedText, mm(column, y, label, y + 3.4), "原价", RichText::Left, t.textColour,
                nullptr, 8);
        priceStyle(addText(r, BlockKind::OriginalPrice, mm(label, y, right, y + 3.4), "", RichText::Left,
                           0x606060, nullptr, 9),
                   2);
        y += 3.4;
    }
    priceStyle(addText(r, BlockKind::CurrentPrice, mm(column, y + 0.4, right, bottom), "", RichText::Fill,
                       t.priceColour),
               9);
}

struct Size {
    const char* name;
    double widthMm, heightMm;  // pages of a fraction of a millimetre keep it in their twips
    bool shelfTag;
    bool label = false;
    bool special = false;
};

const Size kShelfTag{"货架签", 90, 60, true};
const Size kA5{"A5海报", 130, 190, false};
const Size kA4{"A4海报", 190, 280, false};
const Size kA3{"A3海报", 280, 400, false};
// The labels of the two most common A4 label sheets: 21 of 63.5 × 38.1 mm, 24 of 70 × 37 mm,
// for everyday prices and for special offers.
const Size kLabel21{"标签21格", 63.5, 38.1, true, true, false};
const Size kLabel24{"标签24格", 70, 37, true, true, false};
const Size kSpecial21{"特价标签21格", 63.5, 38.1, true, true, true};
const Size kSpecial24{"特价标签24格", 70, 37, true, true, true};

// The colour of text on the background's band: white on a dark band, dark on a light one.
int32_t bandTextColour(const QString& backgroundPath, const Theme& t) {
    const QImage image(backgroundPath);
    if (image.isNull())
        return t.titleColour;
    return qGray(image.pixel(image.width() / 2, image.height() / 10)) > 150 ? t.textColour : t.titleColour;
}

void writeTemplate(const LibraryPictures::Background& background, const Size& size,
                   const QString& stamp) {
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r = *doc.records.front();
    r.resizePage(int32_t(std::lround(size.widthMm)), int32_t(std::lround(size.heightMm)));
    // 63.5 × 38.1 mm is 2½ × 1½ inches: its twips say it exactly.
    if (size.widthMm != std::floor(size.widthMm)) r.widthTw = int32_t(std::lround(size.widthMm * kTwipsPerInch / 25.4));
    if (size.heightMm != std::floor(size.heightMm)) r.heightTw = int32_t(std::lround(size.heightMm * kTwipsPerInch / 25.4));
    r.resetUndo();
    r.applyBackground(PictureDescription::ofFile(background.path, PictureDescription::Background,
                                                 gbk(background.category), gbk(background.name)),
                      doc.backgrounds);
    const Theme theme = themeOf(background.category);
    if (size.label) {
        labelPage(r, theme, size.special, bandTextColour(background.path, theme));
    } else if (size.shelfTag) {
        shelfTagPage(r, theme);
    } else {
        // An A5 poster's pack size and origin lines are 9.5 mm high: two lines of 20 points
        // do not fit there.
        posterPage(r, theme, size.heightMm == kA5.heightMm ? 18 : 0);
        if (!stamp.isEmpty())
            addPicture(r, doc, stamp, {0.72, 0.5, 0.95, 0.66});
    }
    r.refreshPlaceholders(false, doc.placeholderSources());
    // Previews 120 pixels wide: the lists show them a little smaller.
    const int ppi = std::max(1, 120 * kTwipsPerInch / r.widthTw);
    const QImage preview = renderPageImage(r, doc.backgrounds, ppi, true, false);
    TemplateFile::saveToLibrary(r, doc, QString::fromUtf8(size.name), preview);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_library PROGRAM_FOLDER\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    // The library's own paths (templates' folders) are found through the program folder.
    qputenv("PEMO_HOME", folder.toUtf8());
    registerBlockClasses();
    const QList<LibraryPictures::Background> backgrounds =
        LibraryPictures::writeBackgrounds(folder);
    const QStringList decorations = LibraryPictures::writeDecorations(folder);
    LibraryPictures::writeTextures(folder);
    LibraryPictures::writeProgramPictures(folder);
    const QString stamp = decorations.value(0);  // 特价
    try {
        QHash<QString, int> seen;
        for (const LibraryPictures::Background& b : backgrounds) {
            const int nth = seen[b.category]++;
            if (b.landscape) {
                writeTemplate(b, kShelfTag, {});
                // Tags for label sheets go with the shelf-tag backgrounds of 价签.
                if (b.category == QString::fromUtf8("价签")) {
                    for (const Size& size : {kLabel21, kLabel24, kSpecial21, kSpecial24})
                        writeTemplate(b, size, {});
                }
                continue;
            }
            // A new record takes the selected template: on the first background of
            // 空白底图, selected at start, that is a plain A4 page.
            if (b.category == QString::fromUtf8("空白底图")) {
                if (nth == 0) {
                    writeTemplate(b, kA4, {});
                } else {
                    for (const Size& size : {kShelfTag, kA5, kA3})
                        writeTemplate(b, size, {});
                }
                continue;
            }
            // The first background of a category has every poster size; the others one.
            if (nth == 0) {
                for (const Size& size : {kA5, kA4, kA3}) {
                    writeTemplate(b, size, size.widthMm == kA4.widthMm ? stamp : QString());
                }
            } else {
                writeTemplate(b, nth == 1 ? kA4 : kA3, nth == 1 ? decorations.value(1) : QString());
            }
        }
    } catch (const FileError& e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
