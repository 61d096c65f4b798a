#include "CPatCanvas.h"
#include "CanvasHost.h"
#include "ProgramCursors.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "core/blocks/Block.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/BlockList.h"
#include "core/blocks/TextBlock.h"
#include "core/blocks/Twips.h"
#include "core/document/CPatDoc.h"
#include "core/document/CanvasEditing.h"
#include "core/document/PageDrawing.h"
#include "core/document/ViewGeometry.h"
#include "core/text/RichText.h"

namespace pemo {

namespace {

QColor fromColourRef(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

}  // namespace

CPatCanvas::CPatCanvas(CanvasHost& host, QWidget* parent)
    : QWidget(parent),
      host_(host),
      select_(*this),
      editText_(*this),
      placeText_(*this),
      drawShape_(*this),
      pictures_(*this) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

CPatCanvas::~CPatCanvas() = default;

QCursor CPatCanvas::cursorForKind(int32_t kind) {
    if (BlockKind::isText(kind)) return ProgramCursors::text();
    if (BlockKind::isPicture(kind)) return ProgramCursors::picture();
    if (BlockKind::isGraphic(kind)) return ProgramCursors::graphic();
    return Qt::ArrowCursor;
}

InfoRecord* CPatCanvas::record() const {
    return host_.document().currentRecord();
}

double CPatCanvas::zoom() const {
    return host_.zoom();
}

int CPatCanvas::ppi() const {
    return host_.pixelsPerInch();
}

QPoint CPatCanvas::pageTwips(QPoint device) const {
    return QPoint(toTwips(device.x(), zoom(), ppi()), toTwips(device.y(), zoom(), ppi()));
}

int CPatCanvas::pixelsToTwips(int pixels) const {
    return toTwips(pixels, zoom(), ppi());
}

QPoint CPatCanvas::clampToCanvas(QPoint p) const {
    return QPoint(std::clamp(p.x(), 0, std::max(0, width() - 1)),
                  std::clamp(p.y(), 0, std::max(0, height() - 1)));
}

QImage& CPatCanvas::hitScratch() const {
    if (scratch_.size() != size()) {
        scratch_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        const int dotsPerMeter = qRound(ppi() / 0.0254);
        scratch_.setDotsPerMeterX(dotsPerMeter);
        scratch_.setDotsPerMeterY(dotsPerMeter);
    }
    return scratch_;
}

Block* CPatCanvas::blockAt(QPoint p, bool selectedOnly) const {
    InfoRecord* r = record();
    return r ? pemo::blockAt(r->blocks, hitScratch(), zoom(), p.x(), p.y(), selectedOnly) : nullptr;
}

Block* CPatCanvas::nextBlockAt(QPoint p) const {
    InfoRecord* r = record();
    if (!r) return nullptr;
    const Block* current = r->selection.size() == 1 ? r->selection.front() : nullptr;
    return pemo::nextBlockAt(r->blocks, hitScratch(), zoom(), p.x(), p.y(), current);
}

void CPatCanvas::refresh() {
    update();
    host_.canvasRepainted();
    if (onStateChanged) onStateChanged();
}

void CPatCanvas::edited() {
    host_.document().setModified();
    refresh();
}

int CPatCanvas::drawFlags() const {
    int flags = 0;
    if (host_.showFrameLines()) flags |= DrawFlag::FrameLines;
    if (armedKind_ == BlockKind::SelectionTool) flags |= DrawFlag::SelectionTool;
    const InfoRecord* r = record();
    if (r && r->inPlaceEditing && r->selection.size() == 1 &&
        BlockKind::isText(r->selection.front()->kind)) {
        flags |= DrawFlag::Editing;
    }
    return flags;
}

TextBlock* CPatCanvas::editedBlock() const {
    const InfoRecord* r = record();
    if (!r || !r->inPlaceEditing || r->selection.size() != 1) return nullptr;
    Block* block = r->selection.front();
    if (!BlockKind::isText(block->kind)) return nullptr;
    auto* text = dynamic_cast<TextBlock*>(block);
    return text && text->content() ? text : nullptr;
}

void CPatCanvas::startEditing() {
    if (InfoRecord* r = record()) r->inPlaceEditing = true;
    refresh();
}

void CPatCanvas::editBlock(Block* block, QPoint p) {
    InfoRecord& r = *record();
    r.clearSelection();
    r.selectBlock(block);
    r.inPlaceEditing = true;
    handPressTo(editText_);
    editText_.beginCaretDrag(p);
    refresh();
}

void CPatCanvas::stopEditing() {
    InfoRecord* r = record();
    if (!r || !r->inPlaceEditing) return;
    if (TextBlock* block = editedBlock()) block->content()->fitToFrame(TextBlock::autoFit);
    r->inPlaceEditing = false;
    refresh();
}

// --- painting

void CPatCanvas::paintGrid(QPainter& painter) const {
    const int d = ViewGeometry::gridSpacing(kGridSpacingMm, host_.pixelsPerInch(), host_.zoom());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(fromColourRef(kGridColour), 1, Qt::DotLine));
    for (int x = d; x < width(); x += d) painter.drawLine(x, 0, x, height() - 1);
    for (int y = d; y < height(); y += d) painter.drawLine(0, y, width() - 1, y);
    painter.restore();
}

void CPatCanvas::paintPage(QPainter& painter, const QRect& area) const {
    const CPatDoc& doc = host_.document();
    const InfoRecord* r = doc.currentRecord();
    if (!r) return;
    PageDrawOptions options;
    options.canvasMode = true;
    options.blockFlags = drawFlags();
    options.zoom = host_.zoom();
    options.target = rect();
    options.clip = area;
    options.templateMode = host_.templateMode();
    if (host_.showAlignmentLines()) options.underlay = [this](QPainter& p) { paintGrid(p); };
    drawPage(*r, doc.backgrounds, painter, options);
}

QRect CPatCanvas::caretRect() const {
    const TextBlock* block = editedBlock();
    if (!block || editText_.caretDragging()) return QRect();
    // While edited, the content is drawn unrotated from the frame's top-left corner.
    const int x = toDevice(block->frame.left, ppi(), zoom());
    const int y = toDevice(block->frame.top, ppi(), zoom());
    const std::optional<QRect> caret =
        block->content()->caretRect(TextDevice{zoom(), x, y, ppi(), ppi()});
    return caret ? *caret : QRect();
}

void CPatCanvas::paintCaret(QPainter& painter) const {
    const QRect caret = caretRect();
    if (caret.isEmpty()) return;
    painter.fillRect(caret.adjusted(0, 0, caret.width() < 2 ? 1 : 0, 0), Qt::black);
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
    const int dotsPerMeter = qRound(host_.pixelsPerInch() / 0.0254);
    buffer.setDotsPerMeterX(dotsPerMeter);
    buffer.setDotsPerMeterY(dotsPerMeter);
    buffer.fill(Qt::white);
    {
        QPainter painter(&buffer);
        painter.translate(-area.topLeft());
        paintPage(painter, area);
        activeTool().paint(painter);
        paintCaret(painter);
    }
    QPainter(this).drawImage(area.topLeft(), buffer);
    host_.canvasRepainted();
}

// --- mouse

CanvasTool& CPatCanvas::activeTool() {
    const int32_t kind = armedKind_;
    // A shape being clicked point by point keeps its tool until it ends.
    if (BlockKind::isGraphic(kind) || drawShape_.drawing()) return drawShape_;
    // Kinds without a tool of their own yet rest with the text placement, which ignores
    // them.
    if (BlockKind::isPicture(kind)) return pictures_;
    if (kind != BlockKind::SelectionTool) return placeText_;
    return editedBlock() ? static_cast<CanvasTool&>(editText_) : select_;
}

void CPatCanvas::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (!activeTool().abandon()) showContextMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    if (!record()) return;
    CanvasTool& tool = activeTool();
    pressedTool_ = &tool;
    tool.press(event, p);
}

void CPatCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton) || !pressedTool_) {
        if (record() && !activeTool().hover(event)) setCursor(activeTool().cursorAt(p));
        return;
    }
    pressedTool_->drag(event, p);
}

void CPatCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressedTool_) return;
    CanvasTool* tool = pressedTool_;
    pressedTool_ = nullptr;
    if (record()) tool->release(event, event->position().toPoint());
}

void CPatCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !record()) {
        mousePressEvent(event);
        return;
    }
    CanvasTool& tool = activeTool();
    pressedTool_ = &tool;
    tool.doubleClick(event, event->position().toPoint());
}

}  // namespace pemo
