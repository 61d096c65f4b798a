#include "PlaceTextTool.h"

#include <algorithm>
#include <cmath>

#include "CPatCanvas.h"
#include "CanvasHost.h"
#include "core/barcodes/BarcodeNominal.h"
#include "core/barcodes/BarcodeStyle.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/blocks/Twips.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"

namespace pemo {

namespace {

// A barcode placed by a click: its symbology's nominal size at the click, scaled down to
// fit the page (to no less than 80 %) and moved back onto it where it would run off.
TwipsRect nominalBarcodeFrame(const BarcodeRequest& barcode, const QByteArray& text, int32_t left, int32_t top,
                              const InfoRecord& record) {
    const QSizeF pageMm(record.widthTw / kTwipsPerMm, record.heightTw / kTwipsPerMm);
    const QSizeF mm = BarcodeNominal::fittedMm(
        BarcodeNominal::sizeMm(barcode.symbology, Gbk::toUnicode(text), barcode.showText), pageMm);
    // Rounded up: a frame a hair under 80 % would make a symbol too small to scan.
    const auto width = int32_t(std::ceil(mm.width() * kTwipsPerMm));
    const auto height = int32_t(std::ceil(mm.height() * kTwipsPerMm));
    left = std::max(0, std::min(left, record.widthTw - width));
    top = std::max(0, std::min(top, record.heightTw - height));
    return {left, top, left + width, top + height};
}

}  // namespace

PlaceTextTool::PlaceTextTool(CPatCanvas& canvas)
    : CanvasTool(canvas), band_(std::make_unique<TextBlock>()) {}

void PlaceTextTool::press(QMouseEvent*, QPoint p) {
    canvas_.stopEditing();
    if (!BlockKind::isText(canvas_.armedKind())) return;
    canvas_.record()->clearSelection();
    band_.start(p);
    canvas_.refresh();
}

void PlaceTextTool::drag(QMouseEvent*, QPoint p) {
    if (!band_.active()) return;
    band_.moveTo(canvas_.clampToCanvas(p));
    canvas_.update();
}

void PlaceTextTool::release(QMouseEvent*, QPoint p) {
    if (!band_.active()) return;
    band_.moveTo(canvas_.clampToCanvas(p));
    band_.stop();
    place();
}

bool PlaceTextTool::abandon() {
    if (!band_.active()) return false;
    band_.stop();
    canvas_.refresh();
    return true;
}

QCursor PlaceTextTool::cursorAt(QPoint) const {
    return CPatCanvas::cursorForKind(canvas_.armedKind());
}

void PlaceTextTool::place() {
    const CanvasHost& host = canvas_.host();
    InfoRecord& r = *canvas_.record();
    const int32_t armed = canvas_.armedKind();
    const std::optional<BarcodeRequest> barcode = canvas_.pendingBarcode();
    // A phrase tool places fixed text carrying its phrase; the first phrase, "文字", an
    // empty text ready for typing.
    const bool phrase = BlockKind::isPhraseTool(armed);
    const int32_t kind = phrase ? BlockKind::FixedText : armed;
    const QPoint a = canvas_.pageTwips(band_.startPoint());
    const QPoint b = canvas_.pageTwips(band_.endPoint());
    // A click without a drag still gives a frame large enough to type into.
    constexpr int32_t kSmallest = 200;
    TwipsRect frame{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
                    std::max(a.y(), b.y())};
    const bool click = frame.width() < kSmallest && frame.height() < kSmallest;
    frame.right = std::max(frame.right, frame.left + kSmallest);
    frame.bottom = std::max(frame.bottom, frame.top + kSmallest);
    QByteArray text;
    if (barcode && kind == BlockKind::FixedText) {
        text = barcode->fixedText;
    } else if (phrase) {
        const int n = armed - BlockKind::FixedText;
        if (n > 0 && canvas_.commonPhrase) text = canvas_.commonPhrase(n);
    } else {
        text = r.placeholderText(kind, host.templateMode(), host.document().placeholderSources());
    }
    if (barcode && click) frame = nominalBarcodeFrame(*barcode, text, frame.left, frame.top, r);
    auto block = TextBlock::create(kind, frame, text, TextBlock::autoFit);
    if (barcode) BarcodeStyle::apply(*block->content(), barcode->symbology, barcode->showText, TextBlock::autoFit);
    r.takeUndoSnapshot();
    r.clearSelection();
    r.selectBlock(&r.appendBlock(std::move(block)));
    // A barcode shows its symbol at once; its text is typed in the dialog.
    r.inPlaceEditing = !barcode;
    canvas_.setArmedKind(BlockKind::SelectionTool);
    canvas_.edited();
}

}  // namespace pemo
