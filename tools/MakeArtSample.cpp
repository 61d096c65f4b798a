// Builds a sign showing every art effect (0 to 41) on a word each, a headline turned
// into a graphic and stretched to twice its width, and a vertical one, for a look at
// how art text draws and prints. Run: make_art_sample OUT.vxq TEXTURE-PICTURE
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/graphics/TextOutline.h"
#include "core/pictures/PictureDescription.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

TextBlock& addText(InfoRecord& r, const TwipsRect& frame, const char* utf8) {
    auto block = TextBlock::create(BlockKind::FixedText, frame, gbk(utf8), true);
    block->content()->setAlignment(RichText::Centre);
    block->content()->fitToFrame(true);
    return static_cast<TextBlock&>(r.appendBlock(std::move(block)));
}

void setArt(TextBlock& block, int effect, int size, const QByteArray& texture) {
    RichText& t = *block.content();
    t.selectAll();
    CharStyle art = t.item(0).style;
    art.textColour = effect == 40 ? 0x0000FF : 0x1010D0;
    art.effectColour = effect == 40 ? 0xFF8000 : 0x909090;
    if (effect == 6 || effect == 7) art.effectColour = 0xC06000;
    art.effect = effect;
    art.effectSize = size;
    art.pattern = 17;
    art.textureKey = effect == 41 ? texture : QByteArray();
    t.applyArtSettings(art, true);
    t.setSelection({0, true}, {0, true});
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_art_sample OUT.vxq TEXTURE-PICTURE\n");
        return 2;
    }
    registerBlockClasses();
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r = *doc.currentRecord();
    const QString texturePath = QString::fromLocal8Bit(argv[2]);
    const QByteArray texture = doc.images.add(PictureDescription::ofFile(
        texturePath, PictureDescription::LibraryPicture, gbk("贴图"),
        Gbk::fromUnicode(QFileInfo(texturePath).completeBaseName())));
    if (texture.isEmpty()) {
        std::fprintf(stderr, "cannot add the texture %s\n", argv[2]);
        return 1;
    }

    // The headline: converted, then stretched to twice its width.
    TextBlock& headline = addText(r, {500, 300, 5100, 1700}, "艺术字大促销");
    headline.convertToGraphic();
    headline.scaleBy(2.0, 1.0);
    headline.outline()->effect = TextOutline::ShadowDownRight;
    headline.outline()->textColour = 0x2020E0;
    headline.outline()->effectColour = 0x808080;
    headline.outline()->size = 2;
    headline.rebuildHandles(true);

    // Every effect on a word of its own: six columns, seven rows.
    const int columns = 6, cellW = 1450, cellH = 1650, left = 300, top = 2000;
    for (int effect = 0; effect <= 41; ++effect) {
        const int col = effect % columns, row = effect / columns;
        const TwipsRect frame{left + col * cellW + 60, top + row * cellH + 60,
                              left + (col + 1) * cellW - 60, top + (row + 1) * cellH - 60};
        const QByteArray label = QByteArray::number(effect);
        TextBlock& b = addText(r, frame, ("艺" + label).constData());
        setArt(b, effect, 2, texture);
    }

    // A vertical headline, converted.
    TextBlock& vertical = addText(r, {9200, 2000, 10600, 9000}, "竖排图形");
    vertical.content()->setVertical(true);
    vertical.content()->fitToFrame(true);
    vertical.convertToGraphic();
    vertical.outline()->effect = TextOutline::PictureFill;
    vertical.outline()->pictureKey = texture;
    vertical.rebuildHandles(true);
    try {
        DocumentFile::save(doc, QString::fromLocal8Bit(argv[1]));
    } catch (const FormatError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
