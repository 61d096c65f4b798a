#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "PictureInput.h"
#include "SelectionBand.h"
#include "TextFrameInput.h"

class QAction;
class QMenu;

namespace pemo {

class Block;
class CPatView;
class InfoRecord;
class TextBlock;

// The page window inside the design view: its size and position are the page's
// on-screen rectangle. It paints the current record's page with the view's settings
// and turns the mouse and the keyboard into block edits: selecting, moving, resizing,
// rotating, placing new text blocks and typing into a text block in place.
class CPatCanvas : public QWidget {
    Q_OBJECT
public:
    // The dragged-grip value while blocks are moved as a whole.
    static constexpr int32_t kMoveGrip = -8;
    static constexpr int32_t kNoGrip = -1;

    explicit CPatCanvas(CPatView& view, QWidget* parent = nullptr);

    // Repaints the whole page and lets the frame update its status bar.
    void refresh();

    // The draw flags the blocks get: frame lines, selection tool, in-place editing.
    int drawFlags() const;

    // Paints the page onto a painter whose origin is the page's top-left corner.
    void paintPage(QPainter& painter) const;

    // The text block being edited in place: the only selected block, a text block, and
    // the record's inPlaceEditing flag set. Null otherwise.
    TextBlock* editedBlock() const;
    void startEditing();
    // Lets the edited content refit, clears the flag and refreshes.
    void stopEditing();
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

    int32_t draggedGrip() const { return draggedGrip_; }
    // Places new picture blocks; the picture commands arm it.
    PictureInput& pictureInput() { return pictureInput_; }

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
    InfoRecord* record() const;
    double zoom() const;
    int ppi() const;
    QPoint pageTwips(QPoint device) const;
    int pixelsToTwips(int pixels) const;
    QPoint clampToCanvas(QPoint p) const;
    QImage& scratch();
    // The document is modified; the page and the frame's commands follow.
    void edited();

    void paintGrid(QPainter& painter) const;
    void paintCaret(QPainter& painter) const;
    QRect caretRect() const;

    // Mouse, selection tool.
    void pressWithSelectionTool(QMouseEvent* event, QPoint p);
    void startDrag(int32_t grip, int blockIndex, QPoint p);
    // Applies the mouse position to the dragged grip or the moved blocks.
    void dragTo(QPoint p);
    // The first real change of a drag takes the undo snapshot, so one drag is one step.
    void snapshotOnce();
    void placeCaret(QPoint p, bool extend);
    void finishTextFrame();
    void abandonInput();
    void updateCursor(QPoint p);
    void showContextMenu(QPoint globalPos);

    // Keyboard.
    bool editingKey(QKeyEvent* event);
    bool selectionKey(QKeyEvent* event);
    void nudge(int dx, int dy);
    // Types each character as its own undo step; refuses what GBK cannot hold.
    void typeText(const QString& text);

    // Commands on the edited text and the clipboard.
    void copy();
    void paste();
    void afterUndoRedo();


    CPatView& view_;
    TextFrameInput textFrame_;
    PictureInput pictureInput_;
    SelectionBand band_;
    int32_t draggedGrip_ = kNoGrip;
    int dragBlock_ = -1;
    bool dragSnapshotTaken_ = false;
    bool dragChanged_ = false;
    QPoint lastMouse_;
    bool textDrag_ = false;
    QImage scratch_;
};

}  // namespace pemo
