#include "PicturePopup.h"

#include <QPushButton>

namespace pemo {

PicturePopup::PicturePopup(QWidget* parent) : GridPopup(parent) {
    // 58 × 34 dialog units, the two buttons stacked.
    setFixedSize(87, 51);
    choose_ = new QPushButton(QString::fromUtf8("商品图片"), this);
    choose_->setGeometry(2, 2, 83, 23);
    remove_ = new QPushButton(QString::fromUtf8("删除图片"), this);
    remove_->setGeometry(2, 26, 83, 23);
    connect(choose_, &QPushButton::clicked, this, [this] {
        choice_ = ChoosePicture;
        accept();
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        choice_ = RemovePicture;
        accept();
    });
}

PicturePopup::Choice PicturePopup::choose() {
    choice_ = Cancelled;
    return exec() == QDialog::Accepted ? choice_ : Cancelled;
}

}  // namespace pemo
