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

QString chineseFamily() {
    return FontFaces::resolve(Gbk::fromUnicode(QString::fromUtf8("宋体"))).family;
}

bool isChinese(QChar c) { return c.unicode() >= 0x2E80 || c.isSurrogate(); }

// Draws a line as runs of Western and Chinese characters, each in its own face: a
// fallback face reached through font merging is drawn at the wrong size when a print
// preview plays its recorded pages back.
void drawRuns(QPainter& painter, QPointF at, const QString& text, const QFont& western,
              const QFont& chinese) {
    qsizetype start = 0;
    while (start < text.size()) {
        const bool cjk = isChinese(text.at(start));
        qsizetype end = start + 1;
        while (end < text.size() && isChinese(text.at(end)) == cjk) ++end;
        const QString run = text.mid(start, end - start);
        const QFont& font = cjk ? chinese : western;
        painter.setFont(font);
        painter.drawText(at, run);
        at.rx() += QFontMetricsF(font, painter.device()).horizontalAdvance(run);
        start = end;
    }
}

}  // namespace

TableCell::TableCell(QByteArray text, int width, bool header)
    : text_(text.isEmpty() ? QByteArray(" ") : std::move(text)), header_(header) {
    setWidth(width);
}

const QFont& TableCell::font() {
    static const QFont font = [] {
        QFont f = FontFaces::font("Arial", kFontSize * kTwipsPerPoint, false, false);
        QStringList families = f.families();
        families.insert(1, chineseFamily());
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
    QFont western;
    QFont chinese;
    std::optional<QFontMetricsF> metrics;
    if (painter) {
        const int pixels = std::max(1, kFontSize * kTwipsPerPoint * dpi / 1440);
        western = font();
        western.setPixelSize(pixels);
        chinese = western;
        chinese.setFamilies({chineseFamily()});
        painter->save();
        painter->setPen(Qt::black);
        metrics.emplace(western, painter->device());
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
            drawRuns(*painter, QPointF(x + left, y + baseline), part, western, chinese);
        }
        ++lines;
    }
    layout.endLayout();
    if (painter) painter->restore();
    return std::max(1, lines) * lineHeight;
}

}  // namespace pemo
