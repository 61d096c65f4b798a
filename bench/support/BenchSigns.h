#pragma once

// Signs for the printing benchmarks: each with the shop's background picture and ten
// text blocks of its own text.
#include <QBuffer>
#include <QImage>
#include <memory>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"

namespace pemo::bench {

// A photo-like background (gradients and rings, so it compresses like a real one) as
// a JPEG file of an A4 page at 150 dpi.
inline QByteArray backgroundJpeg(int seed = 0) {
    QImage image(1240, 1754, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int ring = ((x - 620) * (x - 620) + (y - 600) * (y - 600)) / 900 % 64;
            line[x] = qRgb(200 + ring / 2, 120 + (y * 100 / image.height()), (60 + seed * 7 + x * 120 / image.width()) % 256);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return bytes;
}

// count signs of widthMm × heightMm sharing one background (or each with its own), each
// with ten text blocks (title, slogan, prices, product details) of its own text; with
// turned, every third block is turned (by 30° or a quarter turn).
inline std::unique_ptr<CPatDoc> makeSigns(int count, int widthMm, int heightMm, bool ownBackgrounds = false,
                                   bool turned = false) {
    registerBlockClasses();
    auto doc = std::make_unique<CPatDoc>();
    PictureDescription description;
    description.kind = PictureDescription::Background;
    description.name = "bench";
    description.extension = ".jpg";
    doc->backgrounds.addBytes("bg", description, backgroundJpeg());
    const char* lines[] = {"限时特价", "全场商品八折优惠", "原价：%1 元", "现价：%1 元", "会员再享 95 折",
                           "产地：上海", "规格：500 克", "货号：A%1", "活动时间：本周六至周日", "佩墨超市"};
    const int numbers[] = {0, 0, 100, 80, 0, 0, 0, 1000, 0, 0};
    for (int i = 0; i < count; ++i) {
        auto record = std::make_unique<InfoRecord>();
        record->resizePage(widthMm, heightMm);
        if (ownBackgrounds) {
            const QByteArray key = "bg" + QByteArray::number(i);
            description.name = key;
            doc->backgrounds.addBytes(key, description, backgroundJpeg(i));
            record->background.key = key;
        } else {
            record->background.key = "bg";
        }
        record->background.present = 1;
        const int w = record->widthTw;
        const int h = record->heightTw;
        for (int b = 0; b < 10; ++b) {
            QString text = QString::fromUtf8(lines[b]);
            if (numbers[b]) text = text.arg(numbers[b] + i);
            const TwipsRect rect{w / 12, h * b / 10 + h / 80, w - w / 12, h * (b + 1) / 10 - h / 80};
            auto block = TextBlock::create(BlockKind::FixedText, rect, Gbk::fromUnicode(text), true);
            if (turned && b % 3 == 0) {
                const QPoint p0(rect.left, rect.top);
                block->rotateTowards(p0.x() + 1732, p0.y() - (b % 2 ? 1000 : 100000));
                block->clearHandles();
            }
            record->appendBlock(std::move(block));
        }
        doc->records.push_back(std::move(record));
    }
    doc->records.front()->current = true;
    return doc;
}

}  // namespace pemo::bench
