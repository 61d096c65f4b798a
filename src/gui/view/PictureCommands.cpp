#include "PictureCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>

#include "CPatView.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/codecs/Gbk.h"
#include "core/codecs/Picture.h"
#include "core/document/CPatDoc.h"
#include "core/pictures/PictureDescription.h"
#include "core/pictures/ProgramPictures.h"
#include "core/platform/Messages.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/library/CResImageLoad.h"

namespace pemo {

namespace {

constexpr int kMenuPictureWidth = 64;

// A picture scaled to a width, white shown as it is; nothing for a picture without a
// width or height.
QPixmap thumbnail(const Picture* picture, int width) {
    if (!picture || picture->size().width() <= 0 || picture->size().height() <= 0) return {};
    const int height = std::max(1, int(qint64(width) * picture->size().height() / picture->size().width()));
    QImage image(width, std::min(height, 4 * width), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        picture->draw(p, QRect(0, 0, image.width(), image.height()));
    }
    return QPixmap::fromImage(image);
}


}  // namespace

PictureCommands::PictureCommands(CPatView& view, QWidget* parent)
    : CommandGroup(parent), view_(view), parent_(parent) {}

void PictureCommands::addTo(QMenu* menu) {
    menu->addSeparator();
    const auto add = [&](int id, const char* text, auto slot) {
        QAction* a = addCommand(menu, id, QString::fromUtf8(text));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(kInsertPicture, "插入图象(&G)", [this] { insertPicture(); })->setCheckable(true);
    add(kLogo1, "商场Logo1", [this] { insertLogo(kLogo1); });
    add(kLogo2, "商场Logo2", [this] { insertLogo(kLogo2); });
    add(kProductPicture, "商品图片", [this] { insertProductPicture(); });
    connect(menu, &QMenu::aboutToShow, this, &PictureCommands::updateStates);
    updateStates();
}

void PictureCommands::updateStates() {
    using ProgramPictures::Which;
    const auto showPicture = [&](int id, Which which) {
        const QPixmap pixmap = thumbnail(ProgramPictures::picture(which), kMenuPictureWidth);
        action(id)->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
    };
    showPicture(kLogo1, Which::Logo1);
    showPicture(kLogo2, Which::Logo2);
    showPicture(kProductPicture, Which::Product);
    const InfoRecord* record = view_.document().currentRecord();
    action(kProductPicture)->setEnabled(record &&
                                          !record->firstBlockOfKind(BlockKind::ProductPicture));
    action(kInsertPicture)->setChecked(BlockKind::isPicture(view_.armedTool()));
}

void PictureCommands::arm(std::unique_ptr<PictureBlock> block) {
    const int32_t kind = block->kind;
    view_.canvas()->stopEditing();
    view_.canvas()->pictureInput().arm(std::move(block));
    view_.setArmedTool(kind);
    updateStates();
}

void PictureCommands::insertPicture() {
    const QString path = choosePictureFile ? choosePictureFile() : CResImageLoad::choose(parent_);
    if (!path.isEmpty()) insertPictureFile(path);
    updateStates();
}

void PictureCommands::insertPictureFile(const QString& path) {
    if (Picture::fromFile(path).isNull()) {
        Messages::current().inform(QString::fromUtf8("无法读取图片文件 %1。").arg(path));
        return;
    }
    bool ok = true;
    const QByteArray name = Gbk::fromUnicode(QFileInfo(path).completeBaseName(), &ok);
    const PictureDescription description = PictureDescription::ofFile(
        path, PictureDescription::LibraryPicture, QByteArray(), ok ? name : QByteArray("?"));
    auto block = PictureBlock::create(BlockKind::InsertedPicture, description,
                                      view_.document().images);
    if (!block) {
        Messages::current().inform(QString::fromUtf8("无法复制图片文件 %1。").arg(path));
        return;
    }
    arm(std::move(block));
}

void PictureCommands::placeLibraryPicture(const PictureDescription& picture) {
    auto block =
        PictureBlock::create(BlockKind::InsertedPicture, picture, view_.document().images);
    if (!block) {
        Messages::current().inform(
            QString::fromUtf8("无法复制图片文件 %1。").arg(picture.filePath));
        return;
    }
    arm(std::move(block));
}

void PictureCommands::insertLogo(int id) {
    const int32_t kind = id == kLogo1 ? BlockKind::Logo1 : BlockKind::Logo2;
    arm(PictureBlock::create(kind, PictureDescription(), view_.document().images));
}

void PictureCommands::insertProductPicture() {
    const InfoRecord* record = view_.document().currentRecord();
    if (!record || record->firstBlockOfKind(BlockKind::ProductPicture)) return;
    arm(PictureBlock::create(BlockKind::ProductPicture, PictureDescription(),
                             view_.document().images));
}

}  // namespace pemo
