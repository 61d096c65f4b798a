#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "DrawShapeTool.h"
#include "DrawingStyle.h"
#include "EditTextTool.h"
#include "PictureInput.h"
#include "PlaceTextTool.h"
#include "SelectTool.h"
#include "core/barcodes/BarcodeRequest.h"
#include "core/blocks/BlockKind.h"

class QAction;
class QMenu;

namespace pemo {

class Block;
class CanvasHost;
class PictureBlock;
class InfoRecord;
class TextBlock;

// The page window inside the design view: its size and position are the page's
// on-screen rectangle. It paints the current record's page with its host's settings
// and hands the mouse and the keyboard to its tools (CanvasTool): selecting, moving,
// resizing and rotating blocks, placing new ones, typing into a text block in place.
// The 编辑 commands, the clipboard, the context menu and the armed tool are the
// canvas's own.
class CPatCanvas : public QWidget {
    Q_OBJECT
public:
    // The alignment grid: every 20 mm, in light grey (0x00BBGGRR).
    static constexpr int kGridSpacingMm = 20;
    static constexpr uint32_t kGridColour = 0xC0C0C0;

    explicit CPatCanvas(CanvasHost& host, QWidget* parent = nullptr);
    ~CPatCanvas() override;

    // Repaints the whole page and lets the frame update its status bar.
    void refresh();

    // The draw flags the blocks get: frame lines, selection tool, in-place editing.
    int drawFlags() const;

    // Paints the page through the one page-drawing function onto a painter whose origin
    // is the page's top-left corner; area is the part to draw (page coordinates).
    void paintPage(QPainter& painter, const QRect& area) const;

    // The text block being edited in place: the only selected block, a text block, and
    // the record's inPlaceEditing flag set. Null otherwise.
    TextBlock* editedBlock() const;
    void startEditing();
    // Lets the edited content refit, clears the flag and refreshes.
    void stopEditing();
    // Makes the block the only selection and edits it in place, the caret at p; the
    // press under way goes on as a caret drag.
    void editBlock(Block* block, QPoint p);
    // Delete key and 删除: forward in the edited text, else every selected block.
    void deleteSelection();

    // The 编辑 commands as the canvas carries them out: on the edited text while a
    // text block is edited in place, else on the blocks.
    bool isCommandEnabled(int id) const;
    bool isCommandChecked(int id) const;
    void runCommand(int id);

    // Commands of the context menu that the frame carries out (saving, 统一…, 模板方式,
    // 整版显示): the frame's action for an id, or null.
    std::function<QAction*(int id)> frameAction;
    // Called on every refresh (after edits and selection changes), so that the frame
    // can update its commands.
    std::function<void()> onStateChanged;
    // Adds the frame's text format commands to the context menu.
    std::function<void(QMenu&)> extendContextMenu;
    // The n-th common phrase (GBK), for the phrase tools of the 常用文字 menu.
    std::function<QByteArray(int n)> commonPhrase;

    // The kind a press on the page places next (BlockKind); the selection tool by default.
    int32_t armedKind() const { return armedKind_; }
    void setArmedKind(int32_t kind) {
        armedKind_ = kind;
        pendingBarcode_.reset();
    }
    // 插入条码 arms the request's kind; the block placed next is set in its face.
    void armBarcode(const BarcodeRequest& request) {
        armedKind_ = request.kind;
        pendingBarcode_ = request;
    }
    const std::optional<BarcodeRequest>& pendingBarcode() const { return pendingBarcode_; }
    DrawingStyle& drawingStyle() { return drawingStyle_; }

    // The only selected block when it is an inserted picture whose stored picture
    // exists: what the outside editor items of the context menu work on.
    PictureBlock* selectedInsertedPicture() const;
    // Edits that picture in the slot's editor (0 … 3, in menu order). A changed picture
    // becomes a new stored picture that the block shows, in one undo step; true then.
    bool editSelectedPicture(int slot);

    int32_t draggedGrip() const { return select_.draggedGrip(); }
    // A press is under way (a move, a resize, a placement, a text selection).
    bool isDragging() const { return pressedTool_ != nullptr; }

    // For the tools.
    CanvasHost& host() const { return host_; }
    InfoRecord* record() const;
    double zoom() const;
    int ppi() const;
    QPoint pageTwips(QPoint device) const;
    int pixelsToTwips(int pixels) const;
    QPoint clampToCanvas(QPoint p) const;
    // The topmost block at p (canvas pixels), or among the selected blocks only.
    Block* blockAt(QPoint p, bool selectedOnly = false) const;
    // The block at p after the one selected alone, round again (Alt+click).
    Block* nextBlockAt(QPoint p) const;
    // The document is modified; the page and the frame's commands follow.
    void edited();
    SelectTool& selectTool() { return select_; }
    EditTextTool& editTextTool() { return editText_; }
    // Places new picture blocks; the picture commands arm it.
    PictureInput& pictureInput() { return pictures_; }
    // The rest of the press under way (drags, the release) goes to this tool.
    void handPressTo(CanvasTool& tool) { pressedTool_ = &tool; }
    static QCursor cursorForKind(int32_t kind);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;

private:
    // The tool the armed kind and the editing state call for.
    CanvasTool& activeTool();
    void paintGrid(QPainter& painter) const;
    void paintCaret(QPainter& painter) const;
    QRect caretRect() const;
    void showContextMenu(QPoint globalPos);

    // Commands on the edited text and the clipboard.
    void copy();
    void paste();
    void afterUndoRedo();

    CanvasHost& host_;
    int32_t armedKind_ = BlockKind::SelectionTool;
    std::optional<BarcodeRequest> pendingBarcode_;
    DrawingStyle drawingStyle_;
    SelectTool select_;
    EditTextTool editText_;
    PlaceTextTool placeText_;
    DrawShapeTool drawShape_;
    PictureInput pictures_;
    CanvasTool* pressedTool_ = nullptr;
    // The picture the hit tests draw into, as large as the canvas.
    QImage& hitScratch() const;
    mutable QImage scratch_;
};

}  // namespace pemo
