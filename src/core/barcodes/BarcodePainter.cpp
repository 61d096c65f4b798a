#include "BarcodePainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "BarcodeSymbol.h"
#include "core/codecs/Gbk.h"
#include "core/text/FontFaces.h"

namespace pemo {

namespace {

const QColor kInvalidColour(220, 0, 0);
// The plain face of the human-readable digits.
const QByteArray kDigitsFace("Arial");
// Linear symbols keep at least this many modules of bar height in a flat frame.
constexpr int kMinimumBarHeight = 5;
constexpr int kMaximumBarHeight = 5000;

struct Fitted {
    std::shared_ptr<const BarcodeSymbol> symbol;
    QRectF target;  // the symbol's rectangle in the area
};

Fitted fit(const QRectF& area, const BarcodeData& data, bool showText) {
    if (!data.valid() || area.width() <= 0 || area.height() <= 0) return {};
    if (BarcodeFace::isMatrix(data.symbology)) {
        auto symbol = BarcodeSymbol::make(data, showText);
        if (!symbol || symbol->size.isEmpty()) return {};
        const double side = std::min(area.width(), area.height());
        const double h = side * symbol->size.height() / symbol->size.width();
        return {symbol, QRectF(area.center().x() - side / 2, area.center().y() - h / 2, side, h)};
    }
    // The bar height that gives the symbol the area's proportions, to whole modules.
    auto standard = BarcodeSymbol::make(data, showText);
    if (!standard || standard->size.isEmpty()) return {};
    const double wanted = standard->size.width() * area.height() / area.width();
    const double barHeight = BarcodeSymbol::kDefaultBarHeight +
                             (wanted - standard->size.height()) / BarcodeSymbol::kUnitsPerModule;
    const int modules = int(std::clamp(std::floor(barHeight), double(kMinimumBarHeight), double(kMaximumBarHeight)));
    auto symbol = modules == BarcodeSymbol::kDefaultBarHeight ? standard : BarcodeSymbol::make(data, showText, modules);
    if (!symbol || symbol->size.isEmpty()) return {};
    const double scale = std::min(area.width() / symbol->size.width(), area.height() / symbol->size.height());
    const QSizeF size = symbol->size * scale;
    return {symbol, QRectF(area.center() - QPointF(size.width() / 2, size.height() / 2), size)};
}

}  // namespace

QRectF BarcodePainter::placement(const QRectF& area, const BarcodeData& data, bool showText) {
    return fit(area, data, showText).target;
}

void BarcodePainter::paint(QPainter& painter, const QRectF& area, const BarcodeData& data, bool showText,
                           const QColor& ink, std::optional<QColor> paper) {
    const Fitted fitted = fit(area, data, showText);
    if (!fitted.symbol) {
        paintInvalid(painter, area, paper);
        return;
    }
    const BarcodeSymbol& symbol = *fitted.symbol;
    const double scale = fitted.target.width() / symbol.size.width();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (paper) painter.fillRect(area, *paper);
    painter.save();
    painter.translate(fitted.target.topLeft());
    painter.scale(scale, scale);
    painter.fillPath(symbol.bars, ink);
    painter.restore();
    painter.setPen(ink);
    for (const BarcodeSymbol::Label& label : symbol.labels) {
        const QFont font = FontFaces::font(kDigitsFace, int(std::lround(label.size * scale)), false, false);
        painter.setFont(font);
        const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(label.text);
        const QPointF anchor = fitted.target.topLeft() + label.baseline * scale;
        const double x = label.align == 1 ? anchor.x() : label.align == 2 ? anchor.x() - width
                                                                           : anchor.x() - width / 2;
        painter.drawText(QPointF(x, anchor.y()), label.text);
    }
    painter.restore();
}

void BarcodePainter::paintInvalid(QPainter& painter, const QRectF& area, std::optional<QColor> paper) {
    if (area.width() <= 0 || area.height() <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (paper) painter.fillRect(area, *paper);
    const double line = std::max(1.0, std::min(area.width(), area.height()) / 40);
    painter.setPen(QPen(kInvalidColour, line));
    painter.setBrush(Qt::NoBrush);
    const QRectF inner = area.adjusted(line / 2, line / 2, -line / 2, -line / 2);
    painter.drawRect(inner);
    painter.drawLine(inner.topLeft(), inner.bottomRight());
    painter.drawLine(inner.bottomLeft(), inner.topRight());
    const QString text = QString::fromUtf8("条码无效");
    const int pixels = int(std::min(area.height() * 0.3, area.width() / 5.5));
    if (pixels >= 4) {
        static const QByteArray face = Gbk::fromUnicode(QString::fromUtf8("黑体"));
        painter.setFont(FontFaces::font(face, pixels, false, false));
        const QFontMetricsF metrics(painter.font(), painter.device());
        QRectF box(QPointF(), QSizeF(metrics.horizontalAdvance(text) + pixels / 2, pixels * 1.4));
        box.moveCenter(area.center());
        painter.fillRect(box, paper.value_or(QColor(Qt::white)));
        painter.drawText(box, Qt::AlignCenter, text);
    }
    painter.restore();
}

}  // namespace pemo
