#include "PageDrawing.h"

#include <QImage>
#include <QPainter>

#include "InfoRecord.h"
#include "core/pictures/PictureStore.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/Twips.h"

namespace pemo {

namespace {

const Picture* backgroundPicture(const InfoRecord& record, const PictureStore& backgrounds) {
    if (!record.background.present) return nullptr;
    return backgrounds.find(record.background.key);
}

QImage makeBitmap(int width, int height, int pixelsPerInch) {
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(pixelsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

void drawScreenMode(const InfoRecord& record, const Picture* background, QPainter& painter,
                    const PageDrawOptions& o) {
    const int devicePpi = devicePixelsPerInch(painter);
    const int width = o.target.width() * o.screenPixelsPerInch / devicePpi;
    const int height = o.target.height() * o.screenPixelsPerInch / devicePpi;
    if (width <= 0 || height <= 0) return;
    QImage bitmap = makeBitmap(width, height, o.screenPixelsPerInch);
    bitmap.fill(Qt::white);
    {
        QPainter p(&bitmap);
        if (o.withBackground && background) background->draw(p, QRect(0, 0, width, height));
        forEachInDrawingOrder(record.blocks, [&](Block& block) { block.draw(p, 0, o.zoom, 0, 0); });
    }
    painter.drawImage(o.target, bitmap);
}

// The part of the target that is drawn, relative to the target's top-left corner.
QRect visiblePart(const PageDrawOptions& o) {
    const QRect region = o.clip.isEmpty() ? o.target : o.clip.intersected(o.target);
    return region.translated(-o.target.topLeft());
}

bool reachesRows(const Block& block, int ppi, double zoom, int top, int bottom) {
    const TwipsRect ink = block.inkBounds();
    return toDevice(ink.bottom, ppi, zoom) >= top && toDevice(ink.top, ppi, zoom) <= bottom;
}

void drawBandMode(const InfoRecord& record, const Picture* background, QPainter& painter,
                  const PageDrawOptions& o) {
    const int width = o.target.width();
    const int height = o.target.height();
    const QRect part = visiblePart(o);
    if (width <= 0 || height <= 0 || part.isEmpty()) return;
    const int ppi = devicePixelsPerInch(painter);
    const int left = part.left();
    const int end = part.top() + part.height();
    QImage bitmap = makeBitmap(part.width(), std::min(kBandRows, part.height()), ppi);
    for (int d = part.top(); d < end; d += kBandRows) {
        const int bandHeight = std::min(kBandRows, end - d);
        bitmap.fill(Qt::white);
        {
            QPainter p(&bitmap);
            if (o.withBackground && background) background->draw(p, QRect(-left, -d, width, height));
            forEachInDrawingOrder(record.blocks, [&](Block& block) {
                if (!reachesRows(block, ppi, o.zoom, d, d + bandHeight)) return;
                if (isSkippedInOutput(record, block.kind, o.templateMode)) return;
                block.drawForOutput(p, o.zoom, -left, -d, OutputDevice(ppi, ppi));
            });
        }
        painter.drawImage(QPoint(o.target.x() + left, o.target.y() + d), bitmap,
                          QRect(0, 0, part.width(), bandHeight));
    }
}

// Straight onto the painter: vector output (PDF) and the design view's canvas.
void drawDirectMode(const InfoRecord& record, const Picture* background, QPainter& painter,
                    const PageDrawOptions& o) {
    const QRect part = visiblePart(o);
    if (o.target.width() <= 0 || o.target.height() <= 0 || part.isEmpty()) return;
    const int ppi = devicePixelsPerInch(painter);
    const QRect region = part.translated(o.target.topLeft());
    painter.save();
    if (!o.clippedByCaller) painter.setClipRect(region, Qt::IntersectClip);
    painter.fillRect(region, Qt::white);
    if (o.withBackground && background) background->draw(painter, o.target);
    if (o.underlay) o.underlay(painter);
    forEachInDrawingOrder(record.blocks, [&](Block& block) {
        if (o.canvasMode) {
            block.draw(painter, o.blockFlags, o.zoom, o.target.x(), o.target.y());
            return;
        }
        if (!reachesRows(block, ppi, o.zoom, part.top(), part.top() + part.height())) return;
        if (isSkippedInOutput(record, block.kind, o.templateMode)) return;
        block.drawForOutput(painter, o.zoom, o.target.x(), o.target.y(), OutputDevice(ppi, o.dotsPerInch));
    });
    painter.restore();
}

}  // namespace

QImage renderPageImage(const InfoRecord& record, const PictureStore& backgrounds,
                       int pixelsPerInch, bool withBackground, bool templateMode, double zoom) {
    const int width = toDevice(record.widthTw, pixelsPerInch, zoom);
    const int height = toDevice(record.heightTw, pixelsPerInch, zoom);
    if (width <= 0 || height <= 0) return QImage();
    QImage image = makeBitmap(width, height, pixelsPerInch);
    image.fill(Qt::white);
    QPainter painter(&image);
    PageDrawOptions options;
    options.target = QRect(0, 0, width, height);
    options.zoom = zoom;
    options.withBackground = withBackground;
    options.templateMode = templateMode;
    drawPage(record, backgrounds, painter, options);
    return image;
}

bool isSkippedInOutput(const InfoRecord& record, int kind, bool templateMode) {
    if (templateMode) return false;
    if (kind >= BlockKind::FirstVariable && kind <= BlockKind::LastVariable) {
        return record.value(kind - BlockKind::FirstVariable).isEmpty();
    }
    if (kind >= BlockKind::OriginalPrice && kind <= BlockKind::Discount) {
        return record.value(InfoRecord::kOriginalPrice + kind - BlockKind::OriginalPrice).isEmpty();
    }
    return false;
}

void drawPage(const InfoRecord& record, const PictureStore& backgrounds, QPainter& painter,
              const PageDrawOptions& options) {
    const Picture* background = backgroundPicture(record, backgrounds);
    if (options.screenMode) {
        drawScreenMode(record, background, painter, options);
    } else if (options.directMode || options.canvasMode) {
        drawDirectMode(record, background, painter, options);
    } else {
        drawBandMode(record, background, painter, options);
    }
}

}  // namespace pemo
