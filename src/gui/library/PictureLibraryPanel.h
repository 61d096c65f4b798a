#pragma once

#include <QVector>
#include <optional>

#include "LibraryListPanel.h"
#include "core/library/LibraryItems.h"

namespace pemo {

// The tab "常用图库": the categories of the picture library in a drop-down and the
// pictures of the chosen one. A click hands the picture to the canvas to place; the
// context menu adds and deletes pictures.
class PictureLibraryPanel : public LibraryListPanel {
    Q_OBJECT
public:
    static constexpr int kAddPicture = 34432;     // 增加图片
    static constexpr int kDeletePicture = 34433;  // 删除图片

    explicit PictureLibraryPanel(ThumbnailCache& cache, QWidget* parent = nullptr);

    // Fills the drop-down with the categories, selects the first and reloads the list.
    void reloadCategories();
    void reload();
    QString category() const;
    bool selectCategory(const QString& category);
    const QVector<PictureItem>& pictures() const { return items_; }
    const PictureItem* selectedPicture() const;

    QAction* addCommand() const { return add_; }
    QAction* deleteCommand() const { return delete_; }
    void updateCommands();
    void refreshFile(const QString& path) override;
    void addPicture();
    void deletePicture();

    struct Addition {
        QString file;
        QString category;
        QString name;
    };
    // The dialog "增加图片"; tests replace it.
    std::function<std::optional<Addition>(const QString& category)> chooseAddition;

signals:
    // A picture was clicked: a new picture block showing it is to be placed.
    void pictureChosen(const PictureDescription& picture);

private:
    void contextMenu(QPoint at, int index);

    QVector<PictureItem> items_;
    QAction* add_ = nullptr;
    QAction* delete_ = nullptr;
};

}  // namespace pemo
