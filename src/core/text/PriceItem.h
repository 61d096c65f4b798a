#pragma once

#include <QByteArray>

#include "TextItem.h"

class QPainter;

namespace pemo {

class TextMetrics;
struct StyleMetrics;

// A price field inside a rich text: shows valueText in one of the price styles,
// with full-size, small or small raised decimals and an optional line.
class PriceItem : public TextItem {
public:
    enum class Line { None, Cross, Strike, Base };

    explicit PriceItem(int32_t priceKind = TextKind::OriginalPrice);

    std::unique_ptr<TextItem> clone() const override { return std::make_unique<PriceItem>(*this); }
    void writeExtra(ArchiveWriter& out) const override;
    void readExtra(ArchiveReader& in) override;

    QByteArray valueText;    // GBK
    int32_t priceStyle = 0;  // 0..15
    int32_t lineColour = 255;

    static bool hasSmallDecimals(int priceStyle);
    static bool hasRaisedDecimals(int priceStyle);
    static Line lineOf(int priceStyle);

    // True when the text names a price ("原价", "现价" or "折扣"): then it is drawn at
    // full size whatever the style.
    bool isName() const;
    // Byte offset where the small decimals begin (the last "."), or valueText.size()
    // when the whole text is at full size.
    qsizetype smallStart() const;

    // Sets width, height and ascent (twips) from the style at its size.
    void measure(const TextMetrics& metrics);
    // Paints the price with its top-left origin at device (originX, originY); dpiX and
    // dpiY are the device's resolution.
    void draw(QPainter& painter, const TextMetrics& metrics, double zoom, int originX, int originY,
              int dpiX, int dpiY) const;

    // The same with the item's left edge x and baseline y given (twips).
    void drawAt(QPainter& painter, const TextMetrics& metrics, double zoom, int originX,
                int originY, int dpiX, int dpiY, int x, int y) const;

private:
    // Width in twips of bytes [from, to) of valueText at the metrics given.
    static int advanceOf(const QByteArray& text, qsizetype from, qsizetype to,
                         const StyleMetrics& m);
};

}  // namespace pemo
