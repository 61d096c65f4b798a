// Builds a sign showing every face a designer chooses from, each with digits, Latin and
// Chinese punctuation, horizontal and vertical, and a turned white price on red, for a
// look at how the type prints. Run: make_face_sheet OUT.vxq BACKGROUND.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/text/FontFaces.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

constexpr int kPageWidthMm = 420;
constexpr int kPageHeightMm = 594;

// White above, a red band at the bottom for the turned price.
void makeBackground(const QString& path) {
    QImage image(840, 1188, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(QRect(0, 1188 * 4 / 5, 840, 1188 / 5), QColor(200, 20, 30));
    p.end();
    image.save(path);
}

std::unique_ptr<TextBlock> line(const QString& text, const QByteArray& chinese, const QByteArray& western,
                                TwipsRect rect, bool vertical, int size) {
    auto block = TextBlock::create(BlockKind::FixedText, rect, Gbk::fromUnicode(text), false);
    RichText& t = *block->content();
    t.selectAll();
    t.applyStyle(RichText::ChineseFace, chinese, false);
    t.applyStyle(RichText::WesternFace, western, false);
    t.applyStyle(RichText::Size, size, false);
    t.setSelection({}, {});
    t.setAlignment(RichText::Left);
    t.setVertical(vertical);
    t.layout();
    return block;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_face_sheet OUT.vxq BACKGROUND.png\n");
        return 2;
    }
    registerBlockClasses();
    const QString backgroundPath = QString::fromLocal8Bit(argv[2]);
    makeBackground(backgroundPath);
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r = *doc.currentRecord();
    r.resizePage(kPageWidthMm, kPageHeightMm);
    r.applyBackground(PictureDescription::ofFile(backgroundPath, PictureDescription::Background,
                                                 Gbk::fromUnicode(QStringLiteral("样本")),
                                                 Gbk::fromUnicode(QStringLiteral("字体"))),
                      doc.backgrounds);
    const int w = r.widthTw, h = r.heightTw;
    const QString sample = QString::fromUtf8("%1 品名：苹果，产地（烟台）“特价”【新品】、；。Sale 12.80");
    const auto chinese = FontFaces::designerFaces(true);
    const auto western = FontFaces::designerFaces(false);
    const int rows = int(chinese.size() + western.size());
    const int rowHeight = (h * 7 / 10 - 600) / std::max(1, rows);
    int top = 300;
    for (const auto& face : chinese) {
        const QString text = sample.arg(Gbk::toUnicode(face.name));
        r.appendBlock(line(text, face.name, "Arial", {300, top, w * 3 / 4, top + rowHeight}, false, 18));
        top += rowHeight;
    }
    for (const auto& face : western) {
        const QString text = sample.arg(Gbk::toUnicode(face.name));
        r.appendBlock(line(text, Gbk::fromUnicode(QString::fromUtf8("宋体")), face.name, {300, top, w * 3 / 4, top + rowHeight}, false, 18));
        top += rowHeight;
    }
    // Vertical columns of a few faces on the right.
    const char* const columns[] = {"宋体", "黑体", "楷体", "隶书", "幼圆", "华文行楷", "方正姚体"};
    int left = w * 3 / 4 + 200;
    const int columnWidth = (w - left - 200) / int(std::size(columns));
    for (const char* face : columns) {
        r.appendBlock(line(QString::fromUtf8("品名：苹果，产地（烟台）。“特价”、；"),
                           Gbk::fromUnicode(QString::fromUtf8(face)), "Arial",
                           {left, 300, left + columnWidth, h * 7 / 10}, true, 22));
        left += columnWidth;
    }
    // A white price turned by 10° on the red band.
    auto price = line(QString::fromUtf8("特价 ￥12.80"), Gbk::fromUnicode(QString::fromUtf8("黑体")), "Arial Black",
                      {w / 6, h * 83 / 100, w * 5 / 6, h * 19 / 20}, false, 72);
    RichText& t = *price->content();
    t.selectAll();
    t.applyStyle(RichText::TextColour, 0xFFFFFF, false);
    t.applyStyle(RichText::Bold, 1, false);
    t.setSelection({}, {});
    t.fitToFrame(true);
    price->rotateTowards(w / 6 + 5671, h * 17 / 20 - 1000);
    price->clearHandles();
    r.appendBlock(std::move(price));
    try {
        DocumentFile::save(doc, QString::fromLocal8Bit(argv[1]));
    } catch (const FormatError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
