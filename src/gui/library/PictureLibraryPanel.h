#pragma once

#include <QVector>

#include "CategoryListPanel.h"
#include "core/library/LibraryItems.h"

namespace pemo {

// The tab "常用图库": the categories of the picture library in a drop-down and the
// pictures of the chosen one. A click hands the picture to the canvas to place; the
// context menu adds and deletes pictures.
class PictureLibraryPanel : public CategoryListPanel {
    Q_OBJECT
public:
    static constexpr int kAddPicture = 34432;     // 增加图片
    static constexpr int kDeletePicture = 34433;  // 删除图片

    explicit PictureLibraryPanel(ThumbnailCache& cache, QWidget* parent = nullptr);

    void reload() override;
    const QVector<PictureItem>& pictures() const { return items_; }
    const PictureItem* selectedPicture() const;

    void updateCommands() override;
    void refreshFile(const QString& path) override;
    void addPicture();
    void deletePicture();

signals:
    // A picture was clicked: a new picture block showing it is to be placed.
    void pictureChosen(const PictureDescription& picture);

protected:
    void sizeMeasured(const QString& path, QSize size) override;

private:
    void contextMenu(QPoint at, int index);

    QVector<PictureItem> items_;
};

}  // namespace pemo
