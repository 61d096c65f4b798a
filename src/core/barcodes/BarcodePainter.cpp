#include "BarcodePainter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "BarcodeSymbol.h"
#include "ZintLibrary.h"
#include "core/codecs/Gbk.h"
#include "core/text/FontFaces.h"

namespace pemo {

namespace {

const QColor kInvalidColour(220, 0, 0);
const QColor kSampleColour(230, 120, 0);
// The plain face of the human-readable digits.
const QByteArray kDigitsFace("Arial");
// Linear symbols keep at least this many modules of bar height in a flat frame.
constexpr int kMinimumBarHeight = 5;
constexpr int kMaximumBarHeight = 5000;
// Channels at or above this look light to a scanner (its red light) or the eye.
constexpr int kLightLevel = 128;

using Fit = BarcodePainter::Fit;

// The fit moved and shrunk so that every module covers whole device dots and the symbol's
// corner lies on a dot's corner; unchanged where the device's dots are unknown or the
// symbol lies aslant on them.
Fit onWholeDots(const Fit& fitted, const QRectF& area, const QPainter& painter, int dotsPerInch) {
    const QPaintDevice* device = painter.device();
    if (dotsPerInch <= 0 || !device || device->logicalDpiX() <= 0) return fitted;
    const double dotsPerDeviceUnit = double(dotsPerInch) / device->logicalDpiX();
    const QTransform toDots =
        painter.deviceTransform() * QTransform::fromScale(dotsPerDeviceUnit, dotsPerDeviceUnit);
    const bool upright = qFuzzyIsNull(toDots.m12()) && qFuzzyIsNull(toDots.m21());
    const bool quarter = qFuzzyIsNull(toDots.m11()) && qFuzzyIsNull(toDots.m22());
    if (!upright && !quarter) return fitted;
    const double across = upright ? std::abs(toDots.m11()) : std::abs(toDots.m12());
    const double down = upright ? std::abs(toDots.m22()) : std::abs(toDots.m21());
    if (std::abs(across - down) > 1e-6 * across || across <= 0) return fitted;

    const double moduleDots = fitted.module() * across;
    const double wholeDots = std::max(1.0, std::floor(moduleDots + 1e-6));
    Fit snapped = fitted;
    snapped.scale = fitted.scale * wholeDots / moduleDots;
    const QSizeF size = fitted.symbol->size * snapped.scale;
    QRectF target(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
    const QPointF corner = toDots.map(target.topLeft());
    const QPointF onGrid(std::round(corner.x()), std::round(corner.y()));
    const QTransform back = toDots.inverted();
    target.translate(back.map(onGrid) - back.map(corner));
    snapped.target = target;
    snapped.onDots = true;
    return snapped;
}

void paintSampleMark(QPainter& painter, const QRectF& target) {
    const QString text = QString::fromUtf8("样例");
    const double pixels = std::min(target.height() * 0.3, target.width() / 4);
    if (pixels < 3) return;
    static const QByteArray face = Gbk::fromUnicode(QString::fromUtf8("黑体"));
    painter.setFont(FontFaces::font(face, int(pixels), false, false));
    const QFontMetricsF metrics(painter.font(), painter.device());
    QRectF box(QPointF(), QSizeF(metrics.horizontalAdvance(text) + pixels, pixels * 1.5));
    box.moveCenter(target.center());
    painter.setBrush(Qt::white);
    painter.setPen(QPen(kSampleColour, std::max(1.0, pixels / 8)));
    painter.drawRoundedRect(box, pixels / 4, pixels / 4);
    painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

double Fit::module() const { return BarcodeSymbol::kUnitsPerModuleWidth * scale; }

double Fit::barHeight() const { return symbol ? symbol->barHeight * scale : 0; }

double Fit::barsLength() const { return symbol ? symbol->barsLength * scale : 0; }

Fit BarcodePainter::fit(const QRectF& area, const BarcodeData& data, bool showText) {
    if (!data.valid() || area.width() <= 0 || area.height() <= 0) return {};
    if (BarcodeFace::isMatrix(data.symbology)) {
        auto symbol = BarcodeSymbol::make(data, showText);
        if (!symbol || symbol->size.isEmpty()) return {};
        const double side = std::min(area.width(), area.height());
        const double h = side * symbol->size.height() / symbol->size.width();
        return {symbol, QRectF(area.center().x() - side / 2, area.center().y() - h / 2, side, h),
                side / symbol->size.width()};
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
    return {symbol, QRectF(area.center() - QPointF(size.width() / 2, size.height() / 2), size), scale};
}

QRectF BarcodePainter::placement(const QRectF& area, const BarcodeData& data, bool showText) {
    return fit(area, data, showText).target;
}

QColor BarcodePainter::scannableInk(const QColor& ink) {
    const bool dark = ink.red() < kLightLevel && qGray(ink.rgb()) < kLightLevel;
    return dark ? ink : QColor(Qt::black);
}

void BarcodePainter::paint(QPainter& painter, const QRectF& area, const BarcodeData& data,
                           const BarcodeStyle::Look& look, int dotsPerInch) {
    Fit fitted = fit(area, data, look.showText);
    if (!fitted.symbol) {
        const bool library = !data.valid() || ZintLibrary::loaded();
        paintInvalid(painter, area, look.paper,
                     library ? QString::fromUtf8("条码无效") : ZintLibrary::missingText());
        return;
    }
    fitted = onWholeDots(fitted, area, painter, dotsPerInch);
    const BarcodeSymbol& symbol = *fitted.symbol;
    const QColor ink = scannableInk(look.ink);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, !fitted.onDots);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (look.paper) painter.fillRect(area, *look.paper);
    // The quiet zones and the digits stand on white, whatever the block or the page has.
    painter.fillRect(fitted.target, Qt::white);
    painter.save();
    painter.translate(fitted.target.topLeft());
    painter.scale(fitted.scale, fitted.scale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawRects(symbol.barRects.data(), int(symbol.barRects.size()));
    painter.restore();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(ink);
    for (const BarcodeSymbol::Label& label : symbol.labels) {
        const QFont font = FontFaces::font(kDigitsFace, int(std::lround(label.size * fitted.scale)), false, false);
        painter.setFont(font);
        const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(label.text);
        const QPointF anchor = fitted.target.topLeft() + label.baseline * fitted.scale;
        const double x = label.align == 1 ? anchor.x() : label.align == 2 ? anchor.x() - width
                                                                           : anchor.x() - width / 2;
        painter.drawText(QPointF(x, anchor.y()), label.text);
    }
    if (data.isSample) paintSampleMark(painter, fitted.target);
    painter.restore();
}

void BarcodePainter::paintInvalid(QPainter& painter, const QRectF& area, std::optional<QColor> paper,
                                  const QString& text) {
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
    const int pixels = int(std::min(area.height() * 0.3, area.width() / (1.5 + text.size())));
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
