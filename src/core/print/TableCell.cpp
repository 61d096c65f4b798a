#include "TableCell.h"

#include <QPainter>
#include <QFontMetricsF>
#include <QTextLayout>
#include <optional>

#include "core/codecs/Gbk.h"
#include "core/text/FontFaces.h"

namespace pemo {

namespace {

constexpr int kTwipsPerPoint = 20;

}  // namespace

TableCell::TableCell(QByteArray text, int width, bool header)
    : text_(text.isEmpty() ? QByteArray(" ") : std::move(text)), header_(header) {
    setWidth(width);
}

const QFont& TableCell::font() {
    static const QFont font = [] {
        QFont f = FontFaces::font("Arial", kFontSize * kTwipsPerPoint, false, false);
        const QString chinese = FontFaces::resolve(Gbk::fromUnicode(QString::fromUtf8("宋体"))).family;
        QStringList families = f.families();
        families.insert(1, chinese);
        f.setFamilies(families);
        f.setHintingPreference(QFont::PreferNoHinting);
        return f;
    }();
    return font;
}

void TableCell::setWidth(int width) {
    width_ = width;
    height_ = layOut(nullptr, 0, 0, 1440) + kPadding;
}

void TableCell::draw(QPainter& painter, int x, int y, int dpi) const { layOut(&painter, x, y, dpi); }

// Lays the text out in twips; with a painter, draws each line in a font of the device's
// own pixel size (scaled glyph runs lose their fallback faces in some paint engines).
// Returns the height of the lines in twips.
int TableCell::layOut(QPainter* painter, int x, int y, int dpi) const {
    const int frame = std::max(1, width_ - kPadding);
    const int lineHeight = kFontSize * kTwipsPerPoint * kLineSpacing / 100;
    const QString text = Gbk::toUnicode(text_);
    QTextLayout layout(text, font());
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    layout.beginLayout();
    int lines = 0;
    QFont deviceFont;
    std::optional<QFontMetricsF> metrics;
    if (painter) {
        deviceFont = font();
        deviceFont.setPixelSize(std::max(1, kFontSize * kTwipsPerPoint * dpi / 1440));
        painter->save();
        painter->setFont(deviceFont);
        painter->setPen(Qt::black);
        metrics.emplace(deviceFont, painter->device());
    }
    const double scale = dpi / 1440.0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(frame);
        if (painter) {
            const QString part = text.mid(line.textStart(), line.textLength()).trimmed();
            double left = kPadding / 2 * scale;
            if (header_) left += (frame * scale - metrics->horizontalAdvance(part)) / 2;
            const double top = (kPadding / 2 + lines * lineHeight) * scale;
            const double baseline = top + (lineHeight * scale - metrics->height()) / 2 + metrics->ascent();
            painter->drawText(QPointF(x + left, y + baseline), part);
        }
        ++lines;
    }
    layout.endLayout();
    if (painter) painter->restore();
    return std::max(1, lines) * lineHeight;
}

}  // namespace pemo
