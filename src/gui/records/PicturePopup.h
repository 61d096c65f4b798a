#pragma once

#include "GridPopup.h"

class QPushButton;

namespace pemo {

// The chooser of the 图片 cell: "商品图片" or "删除图片"; a click elsewhere cancels.
class PicturePopup : public GridPopup {
    Q_OBJECT
public:
    enum Choice { Cancelled = 0, ChoosePicture = 1, RemovePicture = 2 };

    explicit PicturePopup(QWidget* parent = nullptr);

    // Shows the popup modally and gives the choice.
    Choice choose();

    QPushButton* chooseButton() const { return choose_; }
    QPushButton* removeButton() const { return remove_; }

private:
    QPushButton* choose_ = nullptr;
    QPushButton* remove_ = nullptr;
    Choice choice_ = Cancelled;
};

}  // namespace pemo
