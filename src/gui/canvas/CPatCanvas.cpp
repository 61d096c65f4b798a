#include "CPatCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "core/blocks/Block.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/BlockList.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/blocks/Twips.h"
#include "core/document/CPatDoc.h"
#include "core/document/CanvasEditing.h"
#include "core/document/ViewGeometry.h"
#include "core/text/RichText.h"
#include "gui/view/CPatView.h"

namespace pemo {

namespace {

QColor fromColourRef(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

Qt::CursorShape cursorForGrip(int32_t grip) {
    switch (grip) {
        case BlockHandle::BottomRight:
        case BlockHandle::TopLeft: return Qt::SizeFDiagCursor;
        case BlockHandle::TopRight:
        case BlockHandle::BottomLeft: return Qt::SizeBDiagCursor;
        case BlockHandle::MiddleRight:
        case BlockHandle::MiddleLeft: return Qt::SizeHorCursor;
        case BlockHandle::MiddleBottom:
        case BlockHandle::MiddleTop: return Qt::SizeVerCursor;
        case CPatCanvas::kMoveGrip: return Qt::SizeAllCursor;
        case BlockHandle::Rotation: return Qt::OpenHandCursor;
        case BlockHandle::Point: return Qt::PointingHandCursor;
        default: return Qt::ArrowCursor;
    }
}

Qt::CursorShape cursorForKind(int32_t kind) {
    if (BlockKind::isText(kind)) return Qt::IBeamCursor;
    if (BlockKind::isPicture(kind)) return Qt::CrossCursor;
    if (BlockKind::isGraphic(kind)) return Qt::CrossCursor;
    return Qt::ArrowCursor;
}

}  // namespace

CPatCanvas::CPatCanvas(CPatView& view, QWidget* parent) : QWidget(parent), view_(view) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

InfoRecord* CPatCanvas::record() const {
    return view_.document().currentRecord();
}

double CPatCanvas::zoom() const {
    return view_.zoom();
}

int CPatCanvas::ppi() const {
    return view_.pixelsPerInch();
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

QImage& CPatCanvas::scratch() {
    if (scratch_.size() != size()) {
        scratch_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        const int dotsPerMeter = qRound(ppi() / 0.0254);
        scratch_.setDotsPerMeterX(dotsPerMeter);
        scratch_.setDotsPerMeterY(dotsPerMeter);
    }
    return scratch_;
}

void CPatCanvas::refresh() {
    update();
    view_.canvasRepainted();
    if (onStateChanged) onStateChanged();
}

void CPatCanvas::edited() {
    view_.document().setModified();
    refresh();
}

int CPatCanvas::drawFlags() const {
    int flags = 0;
    if (view_.showFrameLines()) flags |= DrawFlag::FrameLines;
    if (view_.armedTool() == BlockKind::SelectionTool) flags |= DrawFlag::SelectionTool;
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

void CPatCanvas::stopEditing() {
    InfoRecord* r = record();
    if (!r || !r->inPlaceEditing) return;
    if (TextBlock* block = editedBlock()) block->content()->fitToFrame(view_.autoFit());
    r->inPlaceEditing = false;
    refresh();
}

// --- painting

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
    InfoRecord* r = doc.currentRecord();
    if (!r) return;
    if (r->background.present) {
        if (const Picture* background = doc.backgrounds.find(r->background.key)) {
            background->draw(painter, rect());
        }
    }
    if (view_.showAlignmentLines()) paintGrid(painter);
    const int flags = drawFlags();
    const double z = view_.zoom();
    forEachInDrawingOrder(r->blocks, [&](Block& block) { block.draw(painter, flags, z, 0, 0); });
}

QRect CPatCanvas::caretRect() const {
    const TextBlock* block = editedBlock();
    if (!block || textDrag_) return QRect();
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
    const int dotsPerMeter = qRound(view_.pixelsPerInch() / 0.0254);
    buffer.setDotsPerMeterX(dotsPerMeter);
    buffer.setDotsPerMeterY(dotsPerMeter);
    buffer.fill(Qt::white);
    {
        QPainter painter(&buffer);
        painter.translate(-area.topLeft());
        paintPage(painter);
        textFrame_.draw(painter);
        pictureInput_.draw(painter);
        band_.draw(painter);
        paintCaret(painter);
    }
    QPainter(this).drawImage(area.topLeft(), buffer);
    view_.canvasRepainted();
}

// --- mouse

void CPatCanvas::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (textFrame_.active() || band_.active() || pictureInput_.active()) {
            abandonInput();
        } else {
            showContextMenu(event->globalPosition().toPoint());
        }
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    InfoRecord* r = record();
    if (!r) return;
    const int32_t tool = view_.armedTool();
    if (tool == BlockKind::SelectionTool) {
        pressWithSelectionTool(event, p);
        return;
    }
    stopEditing();
    if (BlockKind::isText(tool)) {
        r->clearSelection();
        textFrame_.start(p);
        refresh();
    }
    if (BlockKind::isPicture(tool)) pictureInput_.start(p, event->modifiers() & Qt::ShiftModifier);
    // Shapes are placed by their own input once it exists.
}

void CPatCanvas::pressWithSelectionTool(QMouseEvent* event, QPoint p) {
    InfoRecord& r = *record();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (const auto grip = gripAt(r.blocks, p.x(), p.y(), zoom(), ppi())) {
        startDrag(grip->handleId, grip->blockIndex, p);
        return;
    }
    Block* under = blockAt(r.blocks, scratch(), zoom(), p.x(), p.y());
    if (ctrl && under && under->isLiveText()) {
        r.clearSelection();
        r.selectBlock(under);
        r.inPlaceEditing = true;
        textDrag_ = true;
        placeCaret(p, false);
        refresh();
        return;
    }
    Block* selectedUnder =
        r.selection.empty() ? nullptr : blockAt(r.blocks, scratch(), zoom(), p.x(), p.y(), true);
    if (shift || !selectedUnder) {
        stopEditing();
        if (!under) {
            r.clearSelection();
            band_.start(p);
        } else if (shift && under->selected) {
            // Shift-click toggles: the block leaves the selection.
            under->selected = false;
            under->clearHandles();
            std::erase(r.selection, under);
        } else {
            if (!shift) r.clearSelection();
            r.selectBlock(under);
            const auto it = std::find_if(r.blocks.begin(), r.blocks.end(),
                                         [under](const auto& b) { return b.get() == under; });
            startDrag(kMoveGrip, int(it - r.blocks.begin()), p);
        }
        refresh();
        return;
    }
    if (editedBlock() == selectedUnder) {
        textDrag_ = true;
        placeCaret(p, false);
        refresh();
        return;
    }
    stopEditing();
    startDrag(kMoveGrip, -1, p);
    refresh();
}

void CPatCanvas::startDrag(int32_t grip, int blockIndex, QPoint p) {
    draggedGrip_ = grip;
    dragBlock_ = blockIndex;
    dragSnapshotTaken_ = false;
    dragChanged_ = false;
    lastMouse_ = p;
    setCursor(cursorForGrip(grip));
}

void CPatCanvas::snapshotOnce() {
    if (dragSnapshotTaken_) return;
    record()->takeUndoSnapshot();
    dragSnapshotTaken_ = true;
}

void CPatCanvas::placeCaret(QPoint p, bool extend) {
    TextBlock* block = editedBlock();
    if (!block) return;
    const QPoint t = pageTwips(p) - QPoint(block->frame.left, block->frame.top);
    if (extend) {
        block->content()->extendSelectionTo(t.x(), t.y());
    } else {
        block->content()->setCaretAt(t.x(), t.y(), false);
    }
}

void CPatCanvas::dragTo(QPoint p) {
    InfoRecord& r = *record();
    if (draggedGrip_ == kMoveGrip) {
        const QPoint delta = pageTwips(p) - pageTwips(lastMouse_);
        lastMouse_ = p;
        if (CanvasEditing::limitMove(r, delta).isNull()) return;
        snapshotOnce();
        CanvasEditing::moveSelection(r, delta);
        dragChanged_ = true;
        refresh();
        return;
    }
    if (dragBlock_ < 0 || dragBlock_ >= int(r.blocks.size())) return;
    Block& block = *r.blocks[size_t(dragBlock_)];
    if (block.locked) return;
    const QPoint mouse = pageTwips(p);
    const QPoint clamped = CanvasEditing::clampToPage(mouse, r.widthTw, r.heightTw);
    auto* text = dynamic_cast<TextBlock*>(&block);
    if (auto* picture = dynamic_cast<PictureBlock*>(&block)) {
        snapshotOnce();
        CanvasEditing::dragPictureGrip(*picture, draggedGrip_, clamped);
    } else if (draggedGrip_ == BlockHandle::Rotation) {
        if (!text || text->isLiveText()) return;
        snapshotOnce();
        text->rotateTowards(clamped.x(), clamped.y());
    } else if (BlockHandle::isResizeGrip(draggedGrip_)) {
        if (text) {
            snapshotOnce();
            CanvasEditing::resizeTextBlock(*text, draggedGrip_, clamped);
        } else {
            const TwipsRect frame = CanvasEditing::resizeFrame(
                block.frame, draggedGrip_, mouse, r.widthTw, r.heightTw, block.aspectMode == 1);
            if (frame == block.frame) return;
            snapshotOnce();
            block.frame = frame;
            block.rebuildHandles(true);
        }
    } else {
        return;
    }
    dragChanged_ = true;
    refresh();
}

void CPatCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton)) {
        updateCursor(p);
        return;
    }
    if (textDrag_) {
        placeCaret(p, true);
        refresh();
    } else if (band_.active()) {
        band_.moveTo(clampToCanvas(p));
        update();
    } else if (textFrame_.active()) {
        textFrame_.moveTo(clampToCanvas(p));
        update();
    } else if (pictureInput_.active()) {
        pictureInput_.moveTo(clampToCanvas(p));
        update();
    } else if (draggedGrip_ != kNoGrip) {
        dragTo(p);
    }
}

void CPatCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    InfoRecord* r = record();
    if (!r) return;
    if (textDrag_) {
        placeCaret(p, true);
        textDrag_ = false;
        refresh();
    } else if (draggedGrip_ != kNoGrip) {
        dragTo(p);
        draggedGrip_ = kNoGrip;
        dragBlock_ = -1;
        if (dragChanged_) edited();
        updateCursor(p);
    } else if (band_.active()) {
        band_.stop();
        const QPoint a = pageTwips(band_.startPoint());
        const QPoint b = pageTwips(band_.endPoint());
        CanvasEditing::selectInBand(*r, TwipsRect{std::min(a.x(), b.x()), std::min(a.y(), b.y()),
                                                  std::max(a.x(), b.x()), std::max(a.y(), b.y())});
        refresh();
    } else if (textFrame_.active()) {
        textFrame_.moveTo(clampToCanvas(p));
        finishTextFrame();
    } else if (pictureInput_.active()) {
        pictureInput_.moveTo(clampToCanvas(p));
        pictureInput_.finish(*r, zoom(), ppi(), view_.templateMode());
        view_.setArmedTool(BlockKind::SelectionTool);
        edited();
    }
}

void CPatCanvas::finishTextFrame() {
    textFrame_.stop();
    InfoRecord& r = *record();
    const int32_t kind = view_.armedTool();
    const QPoint a = pageTwips(textFrame_.startPoint());
    const QPoint b = pageTwips(textFrame_.endPoint());
    // A click without a drag still gives a frame large enough to type into.
    constexpr int32_t kSmallest = 200;
    TwipsRect frame{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
                    std::max(a.y(), b.y())};
    frame.right = std::max(frame.right, frame.left + kSmallest);
    frame.bottom = std::max(frame.bottom, frame.top + kSmallest);
    const QByteArray text =
        BlockKind::isFixedText(kind)
            ? QByteArray()
            : r.placeholderText(kind, view_.templateMode(), view_.document().placeholderSources());
    auto block = TextBlock::create(kind, frame, text, view_.autoFit());
    r.takeUndoSnapshot();
    r.clearSelection();
    r.selectBlock(&r.appendBlock(std::move(block)));
    r.inPlaceEditing = true;
    view_.setArmedTool(BlockKind::SelectionTool);
    edited();
}

void CPatCanvas::abandonInput() {
    textFrame_.stop();
    band_.stop();
    pictureInput_.stop();
    refresh();
}

void CPatCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    InfoRecord* r = record();
    if (!r) return;
    const QPoint p = event->position().toPoint();
    Block* under = blockAt(r->blocks, scratch(), zoom(), p.x(), p.y());
    if (!under || !under->isLiveText() || view_.armedTool() != BlockKind::SelectionTool) {
        // Anywhere else the second press of a double click is an ordinary press.
        mousePressEvent(event);
        return;
    }
    draggedGrip_ = kNoGrip;
    r->clearSelection();
    r->selectBlock(under);
    r->inPlaceEditing = true;
    placeCaret(p, false);
    view_.setArmedTool(BlockKind::SelectionTool);
    refresh();
}

void CPatCanvas::updateCursor(QPoint p) {
    InfoRecord* r = record();
    if (!r) return;
    const int32_t tool = view_.armedTool();
    if (tool != BlockKind::SelectionTool) {
        setCursor(cursorForKind(tool));
        return;
    }
    if (const auto grip = gripAt(r->blocks, p.x(), p.y(), zoom(), ppi())) {
        setCursor(cursorForGrip(grip->handleId));
    } else if (!r->selection.empty() && blockAt(r->blocks, scratch(), zoom(), p.x(), p.y(), true)) {
        setCursor(editedBlock() ? Qt::IBeamCursor : Qt::SizeAllCursor);
    } else if (Block* any = blockAt(r->blocks, scratch(), zoom(), p.x(), p.y())) {
        setCursor(cursorForKind(any->kind));
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

}  // namespace pemo
