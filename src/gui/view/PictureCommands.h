#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "gui/common/CommandGroup.h"

class QAction;
class QMenu;
class QWidget;

namespace pemo {

class CPatView;
class PictureBlock;
struct PictureDescription;

// The commands that make picture blocks: 插入图象 (a picture file chosen in a dialog
// with a preview), 商场Logo1, 商场Logo2 and 商品图片. Each builds the block, arms the
// canvas to place it and arms the picture kind.
class PictureCommands : public CommandGroup {
    Q_OBJECT
public:
    static constexpr int kInsertPicture = 34501;  // 插入图象
    static constexpr int kLogo1 = 34266;          // 商场Logo1
    static constexpr int kLogo2 = 34267;          // 商场Logo2
    static constexpr int kProductPicture = 34211; // 商品图片

    PictureCommands(CPatView& view, QWidget* parent);

    // Adds the four commands to a menu and keeps their states with it.
    void addTo(QMenu* menu);

    void insertPicture();
    void insertPictureFile(const QString& path);
    // Arms the canvas with a new inserted picture showing a library picture.
    void placeLibraryPicture(const PictureDescription& picture);
    void insertLogo(int id);
    void insertProductPicture();
    // 商品图片 is greyed while the page has a product picture; 插入图象 is ticked while
    // a picture kind is armed.
    void updateStates();

    // The file chooser; tests replace it. The default is "打开图片".
    std::function<QString()> choosePictureFile;

private:
    void arm(std::unique_ptr<PictureBlock> block);

    CPatView& view_;
    QWidget* parent_;
};

}  // namespace pemo
