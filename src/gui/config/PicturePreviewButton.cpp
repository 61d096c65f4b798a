#include "PicturePreviewButton.h"

#include <QPainter>

#include "core/codecs/Picture.h"
#include "core/platform/Messages.h"
#include "gui/library/CResImageLoad.h"

namespace pemo {

PicturePreviewButton::PicturePreviewButton(ConfigPictures::Which which, QWidget* parent)
    : QPushButton(parent), which_(which) {
    setFixedSize(96, 64);
    setFlat(true);
}

void PicturePreviewButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window).darker(115));
    const QString file = ConfigPictures::path(which_);
    if (file.isEmpty()) return;
    Picture::fromFile(file).draw(painter, rect().adjusted(1, 1, -1, -1));
}

bool chooseConfigPicture(ConfigPictures::Which which, QWidget* parent) {
    const QString file = CResImageLoad::choose(parent);
    if (file.isEmpty()) return false;
    if (!ConfigPictures::replace(which, file)) {
        Messages::current().inform(QString::fromUtf8("无法使用图片 %1。").arg(file));
        return false;
    }
    return true;
}

}  // namespace pemo
