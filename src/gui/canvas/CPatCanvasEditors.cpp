// The canvas's outside editor commands on an inserted picture.
#include <QFile>

#include "CPatCanvas.h"
#include "CanvasHost.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/pictures/PictureStore.h"
#include "core/platform/Folders.h"
#include "core/platform/Messages.h"
#include "gui/common/OutsideEditorMenu.h"

namespace pemo {

PictureBlock* CPatCanvas::selectedInsertedPicture() const {
    const InfoRecord* r = record();
    if (!r || r->selection.size() != 1)
        return nullptr;
    Block* block = r->selection.front();
    if (block->kind != BlockKind::InsertedPicture)
        return nullptr;
    auto* picture = dynamic_cast<PictureBlock*>(block);
    if (!picture || !host_.document().images.entry(picture->pictureKey()))
        return nullptr;
    return picture;
}

bool CPatCanvas::editSelectedPicture(int slot) {
    PictureBlock* picture = selectedInsertedPicture();
    if (!picture || slot < 0 || slot >= kEditorSlotCount)
        return false;
    PictureStore& images = host_.document().images;
    const QByteArray oldKey = picture->pictureKey();
    const PictureDescription description = images.entry(oldKey)->description();
    // The edited picture becomes a copy of its own, so that undo can bring the old one
    // back and the old bytes stay for whatever else shows them.
    const QByteArray newKey = newUniqueName().toLatin1();
    const QString editedFile = pictureCopyPath(newKey, description.extension);
    const OutsideEditResult result =
        editInOutsideEditor(window(), static_cast<EditorSlot>(slot), description.filePath,
                            editedFile, Gbk::toUnicode(description.name + description.extension));
    if (result != OutsideEditResult::Updated)
        return false;
    // The wait let the program run; the page may have changed under it.
    if (selectedInsertedPicture() != picture || picture->pictureKey() != oldKey ||
        !images.addEdited(oldKey, newKey, editedFile)) {
        QFile::remove(editedFile);
        Messages::current().inform(
            QString::fromUtf8("编辑期间页面已改变，改动后的图片没有放到页面上。"));
        return false;
    }
    record()->takeUndoSnapshot();
    picture->setPictureKey(newKey);
    edited();
    return true;
}

}  // namespace pemo
