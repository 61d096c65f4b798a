#include "CPatCanvas.h"

#include <QPaintEvent>
#include <QPainter>

#include "blocks/Block.h"
#include "blocks/BlockKind.h"
#include "document/CPatDoc.h"
#include "document/ViewGeometry.h"
#include "view/CPatView.h"

namespace pemo {

namespace {

QColor fromColourRef(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

}  // namespace

CPatCanvas::CPatCanvas(CPatView& view, QWidget* parent) : QWidget(parent), view_(view) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void CPatCanvas::refresh() {
    update();
    view_.canvasRepainted();
}

int CPatCanvas::drawFlags() const {
    int flags = 0;
    if (view_.showFrameLines()) flags |= DrawFlag::FrameLines;
    if (view_.armedTool() == BlockKind::SelectionTool) flags |= DrawFlag::SelectionTool;
    const InfoRecord* record = view_.document().currentRecord();
    if (record && record->inPlaceEditing && record->selection.size() == 1 &&
        BlockKind::isText(record->selection.front()->kind)) {
        flags |= DrawFlag::Editing;
    }
    return flags;
}

void CPatCanvas::paintGrid(QPainter& painter) const {
    const int d =
        ViewGeometry::gridSpacing(view_.gridSpacingMm(), view_.pixelsPerInch(), view_.zoom());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(fromColourRef(view_.gridColour()), 1, Qt::DotLine));
    for (int x = d; x < width(); x += d) painter.drawLine(x, 0, x, height() - 1);
    for (int y = d; y < height(); y += d) painter.drawLine(0, y, width() - 1, y);
    painter.restore();
}

void CPatCanvas::paintPage(QPainter& painter) const {
    const CPatDoc& doc = view_.document();
    InfoRecord* record = doc.currentRecord();
    if (!record) return;
    if (record->background.present) {
        if (const Picture* background = doc.backgrounds.find(record->background.key)) {
            background->draw(painter, rect());
        }
    }
    if (view_.showAlignmentLines()) paintGrid(painter);
    const int flags = drawFlags();
    const double zoom = view_.zoom();
    forEachInDrawingOrder(record->blocks,
                          [&](Block& block) { block.draw(painter, flags, zoom, 0, 0); });
}

void CPatCanvas::paintEvent(QPaintEvent* event) {
    // Drawn off screen first, so the page never shows half drawn. Only the exposed part
    // is drawn: the painter is moved so that the page's origin stays at (0, 0).
    const QRect area = event->rect();
    if (area.isEmpty()) return;
    const qreal ratio = devicePixelRatioF();
    QImage buffer(area.size() * ratio, QImage::Format_RGB32);
    buffer.setDevicePixelRatio(ratio);
    // Blocks convert twips with the device's resolution: the screen's.
    const int dotsPerMeter = qRound(view_.pixelsPerInch() / 0.0254);
    buffer.setDotsPerMeterX(dotsPerMeter);
    buffer.setDotsPerMeterY(dotsPerMeter);
    buffer.fill(Qt::white);
    {
        QPainter painter(&buffer);
        painter.translate(-area.topLeft());
        paintPage(painter);
    }
    QPainter(this).drawImage(area.topLeft(), buffer);
    view_.canvasRepainted();
}

}  // namespace pemo
