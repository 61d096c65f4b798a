// The canvas's keyboard, typing, context menu and 编辑 commands.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include "CPatCanvas.h"
#include "CanvasHost.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/CanvasEditing.h"
#include "core/document/EditCommands.h"
#include "core/document/UndoOrder.h"
#include "core/platform/Messages.h"
#include "core/text/RichText.h"
#include "gui/common/OutsideEditorMenu.h"

namespace pemo {

namespace {

// Frame commands the context menu offers besides the 编辑 commands.
constexpr int kFileSave = 57603;
constexpr int kFileSaveAs = 57604;
constexpr int kUnifySize = 34141;
constexpr int kUnifyBackground = 34143;
constexpr int kUnifyTemplate = 34142;
constexpr int kApplyDesign = 34144;
constexpr int kTemplateMode = 34048;
constexpr int kFitPage = 34044;

bool isNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: return true;
        default: return false;
    }
}

}  // namespace

bool CPatCanvas::event(QEvent* event) {
    // While text is edited, Ctrl with the caret keys moves the caret instead of running
    // the frame's record commands on the same keys.
    if (event->type() == QEvent::ShortcutOverride && editedBlock()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isNavigationKey(key->key()) || key->key() == Qt::Key_Delete) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

bool CPatCanvas::focusNextPrevChild(bool next) {
    // Tab is a character while text is edited.
    if (editedBlock()) return false;
    return QWidget::focusNextPrevChild(next);
}

void CPatCanvas::keyPressEvent(QKeyEvent* event) {
    if (record() && activeTool().key(event)) return;
    QWidget::keyPressEvent(event);
}

void CPatCanvas::inputMethodEvent(QInputMethodEvent* event) {
    if (editedBlock() && !event->commitString().isEmpty()) editText_.typeText(event->commitString());
    event->accept();
}

QVariant CPatCanvas::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled: return editedBlock() != nullptr;
        case Qt::ImCursorRectangle: return caretRect();
        default: return QWidget::inputMethodQuery(query);
    }
}

void CPatCanvas::deleteSelection() {
    InfoRecord* r = record();
    if (!r) return;
    if (TextBlock* block = editedBlock()) {
        r->takeUndoSnapshot();
        block->content()->deleteForward();
    } else {
        if (r->selection.empty()) return;
        EditCommands::deleteSelection(*r);
    }
    edited();
}

// --- 编辑 commands

bool CPatCanvas::isCommandEnabled(int id) const {
    const InfoRecord* r = record();
    if (!r) return false;
    // 撤消 and 恢复 go through the document's changes in order, whichever record they touched.
    const CPatDoc& doc = host_.document();
    if (id == EditCommand::Undo) return UndoOrder::canUndo(doc);
    if (id == EditCommand::Redo) return UndoOrder::canRedo(doc);
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    if (const TextBlock* block = editedBlock()) {
        const RichText& text = *block->content();
        switch (id) {
            case EditCommand::Cut:
            case EditCommand::Copy: return text.hasSelection();
            case EditCommand::Paste: return clip && clip->hasText();
            case EditCommand::Delete: return text.hasSelection() || !text.isEmptyAfterCaret();
            case EditCommand::SelectAll: return !text.isEmpty();
            default: break;
        }
    }
    switch (id) {
        case EditCommand::Cut:
        case EditCommand::Copy: return !r->selection.empty();
        case EditCommand::Paste:
            return clip && clip->hasFormat(QString::fromLatin1(EditCommands::kClipboardMime));
        default: return EditCommands::isEnabled(id, *r);
    }
}

bool CPatCanvas::isCommandChecked(int id) const {
    const InfoRecord* r = record();
    return r && EditCommands::isChecked(id, *r);
}

void CPatCanvas::runCommand(int id) {
    InfoRecord* r = record();
    if (!r || !isCommandEnabled(id)) return;
    TextBlock* block = editedBlock();
    switch (id) {
        case EditCommand::Undo:
            if (UndoOrder::undo(host_.document())) afterUndoRedo();
            return;
        case EditCommand::Redo:
            if (UndoOrder::redo(host_.document())) afterUndoRedo();
            return;
        case EditCommand::Copy: copy(); return;
        case EditCommand::Cut:
            copy();
            if (block) {
                r->takeUndoSnapshot();
                block->content()->deleteSelected();
                edited();
            } else {
                EditCommands::deleteSelection(*r);
                edited();
            }
            return;
        case EditCommand::Paste: paste(); return;
        case EditCommand::Delete: deleteSelection(); return;
        case EditCommand::SelectAll:
            if (block) {
                block->content()->selectAll();
                refresh();
            } else {
                EditCommands::run(id, *r);
                refresh();
            }
            return;
        default:
            if (EditCommands::run(id, *r)) edited();
            return;
    }
}

void CPatCanvas::afterUndoRedo() {
    CPatDoc& doc = host_.document();
    doc.setModified();
    host_.showCurrentRecord();
    setFocus();
    refresh();
}

void CPatCanvas::copy() {
    const InfoRecord* r = record();
    if (const TextBlock* block = editedBlock()) {
        QApplication::clipboard()->setText(Gbk::toUnicode(block->content()->selectedText()));
        return;
    }
    if (!r || r->selection.empty()) return;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(EditCommands::kClipboardMime),
                  EditCommands::copySelection(*r, host_.document()));
    QApplication::clipboard()->setMimeData(data);
}

void CPatCanvas::paste() {
    InfoRecord& r = *record();
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    if (!clip) return;
    if (TextBlock* block = editedBlock()) {
        bool ok = true;
        QByteArray text = Gbk::fromUnicode(clip->text(), &ok);
        if (!ok) {
            Messages::current().inform(
                QString::fromUtf8("剪贴板中的文字有无法保存的字符，不能粘贴。"));
            return;
        }
        text.replace("\r\n", "\n");
        text.replace("\n", "\r\n");
        r.takeUndoSnapshot();
        block->content()->insertText(text);
        block->content()->fitToFrame(TextBlock::autoFit);
        edited();
        return;
    }
    const QByteArray stream = clip->data(QString::fromLatin1(EditCommands::kClipboardMime));
    QString message;
    try {
        message = EditCommands::paste(r, host_.document(), stream, host_.templateMode());
    } catch (const FormatError& error) {
        Messages::current().inform(error.message());
        refresh();
        return;
    }
    if (!message.isEmpty()) Messages::current().inform(message);
    edited();
}

// --- context menu

void CPatCanvas::showContextMenu(QPoint globalPos) {
    QMenu menu(this);
    auto own = [&](int id, const char* text) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        action->setEnabled(isCommandEnabled(id));
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    };
    auto frame = [&](int id, const char* text) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        QAction* target = frameAction ? frameAction(id) : nullptr;
        action->setEnabled(target && target->isEnabled());
        if (target && target->isCheckable()) {
            action->setCheckable(true);
            action->setChecked(target->isChecked());
        }
        if (target) connect(action, &QAction::triggered, target, &QAction::trigger);
    };
    own(EditCommand::Undo, "撤消");
    own(EditCommand::Redo, "恢复");
    menu.addSeparator();
    own(EditCommand::Cut, "剪切");
    own(EditCommand::Copy, "复制");
    own(EditCommand::Paste, "粘贴");
    own(EditCommand::Delete, "删除");
    own(EditCommand::SelectAll, "全选");
    menu.addSeparator();
    if (extendContextMenu) {
        extendContextMenu(menu);
        menu.addSeparator();
    }
    own(EditCommand::LayerUp, "上移一层");
    own(EditCommand::LayerDown, "下移一层");
    own(EditCommand::ToTop, "移到顶层");
    own(EditCommand::ToBottom, "移到底层");
    menu.addSeparator();
    frame(kFileSave, "文件保存");
    frame(kFileSaveAs, "文件另存");
    menu.addSeparator();
    frame(kUnifySize, "统一幅面");
    frame(kUnifyBackground, "统一底图");
    frame(kUnifyTemplate, "统一模板");
    frame(kApplyDesign, "应用到所有信息");
    menu.addSeparator();
    frame(kTemplateMode, "模板方式");
    menu.addSeparator();
    frame(kFitPage, "整版显示");
    if (const PictureBlock* picture = selectedInsertedPicture()) {
        const StoredPicture* stored = host_.document().images.entry(picture->pictureKey());
        addEditorItems(&menu, stored->description().filePath, EditorPlace::Canvas,
                       [this](EditorSlot slot) { editSelectedPicture(static_cast<int>(slot)); });
    }
    menu.exec(globalPos);
}

}  // namespace pemo
