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
        if (end < text.size()) at.rx() += QFontMetricsF(font, painter.device()).horizontalAdvance(run);
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
    height_ = int(lineBreaks(Gbk::toUnicode(text_), width).size()) * lineHeight() + kPadding;
}

int TableCell::lineHeight() { return kFontSize * kTwipsPerPoint * kLineSpacing / 100; }

std::vector<std::pair<int, int>> TableCell::lineBreaks(const QString& text, int width) {
    const int frame = std::max(1, width - kPadding);
    // Most cells hold one short line: measured without a layout.
    static const QFontMetricsF metrics(font());
    if (!text.contains(QLatin1Char('\n')) && metrics.horizontalAdvance(text) <= frame) {
        return {{0, int(text.size())}};
    }
    QTextLayout layout(text, font());
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    std::vector<std::pair<int, int>> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(frame);
        lines.emplace_back(line.textStart(), line.textLength());
    }
    layout.endLayout();
    if (lines.empty()) lines.emplace_back(0, 0);
    return lines;
}

void TableCell::draw(QPainter& painter, int x, int y, int dpi) const {
    draw(painter, text_, width_, header_, x, y, dpi);
}

// Each line is drawn in fonts of the device's own pixel size, not through a scaled
// painter: scaled glyph runs lose their fallback faces in some paint engines.
void TableCell::draw(QPainter& painter, const QByteArray& gbk, int width, bool header, int x, int y,
                     int dpi) {
    struct DeviceFonts {
        int pixels = 0;
        int deviceDpi = 0;
        QFont western, chinese;
        std::optional<QFontMetricsF> metrics;
    };
    static DeviceFonts fonts;
    const int pixels = std::max(1, kFontSize * kTwipsPerPoint * dpi / 1440);
    const int deviceDpi = painter.device()->logicalDpiY();
    if (fonts.pixels != pixels || fonts.deviceDpi != deviceDpi) {
        fonts.pixels = pixels;
        fonts.deviceDpi = deviceDpi;
        fonts.western = font();
        fonts.western.setPixelSize(pixels);
        fonts.chinese = fonts.western;
        fonts.chinese.setFamilies({chineseFamily()});
        fonts.metrics.emplace(fonts.western, painter.device());
    }
    const QFontMetricsF& metrics = *fonts.metrics;
    const QString text = Gbk::toUnicode(gbk.isEmpty() ? QByteArray(" ") : gbk);
    const double scale = dpi / 1440.0;
    const double frame = std::max(1, width - kPadding) * scale;
    painter.save();
    painter.setPen(Qt::black);
    int index = 0;
    for (const auto& [start, length] : lineBreaks(text, width)) {
        const QString part = text.mid(start, length).trimmed();
        double left = kPadding / 2 * scale;
        if (header) left += (frame - metrics.horizontalAdvance(part)) / 2;
        const double top = (kPadding / 2 + index * lineHeight()) * scale;
        const double baseline = top + (lineHeight() * scale - metrics.height()) / 2 + metrics.ascent();
        drawRuns(painter, QPointF(x + left, y + baseline), part, fonts.western, fonts.chinese);
        ++index;
    }
    painter.restore();
}

}  // namespace pemo
