#include "PageDrawing.h"

#include <QImage>
#include <QPainter>

#include "InfoRecord.h"
#include "PictureStore.h"
#include "blocks/BlockKind.h"
#include "blocks/Twips.h"

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

void drawBandMode(const InfoRecord& record, const Picture* background, QPainter& painter,
                  const PageDrawOptions& o) {
    const int width = o.target.width();
    const int height = o.target.height();
    if (width <= 0 || height <= 0) return;
    const int ppi = devicePixelsPerInch(painter);
    QImage bitmap = makeBitmap(width, std::min(kBandRows, height), ppi);
    for (int d = 0; d < height; d += kBandRows) {
        const int bandHeight = std::min(kBandRows, height - d);
        bitmap.fill(Qt::white);
        {
            QPainter p(&bitmap);
            if (o.withBackground && background) background->draw(p, QRect(0, -d, width, height));
            forEachInDrawingOrder(record.blocks, [&](Block& block) {
                const int top = toDevice(block.frame.top, ppi, o.zoom);
                const int bottom = toDevice(block.frame.bottom, ppi, o.zoom);
                if (bottom < d || top > d + bandHeight) return;
                if (isSkippedInOutput(record, block.kind, o.templateMode)) return;
                block.drawForOutput(p, o.zoom, 0, -d, ppi);
            });
        }
        painter.drawImage(QPoint(o.target.x(), o.target.y() + d), bitmap, QRect(0, 0, width, bandHeight));
    }
}

}  // namespace

QImage renderPageImage(const InfoRecord& record, const PictureStore& backgrounds,
                       int pixelsPerInch, bool withBackground, bool templateMode) {
    const int width = toDevice(record.widthTw, pixelsPerInch, 1.0);
    const int height = toDevice(record.heightTw, pixelsPerInch, 1.0);
    if (width <= 0 || height <= 0) return QImage();
    QImage image = makeBitmap(width, height, pixelsPerInch);
    image.fill(Qt::white);
    QPainter painter(&image);
    PageDrawOptions options;
    options.target = QRect(0, 0, width, height);
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
    } else {
        drawBandMode(record, background, painter, options);
    }
}

}  // namespace pemo
