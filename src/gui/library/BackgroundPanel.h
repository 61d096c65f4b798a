#pragma once

#include <QVector>
#include <optional>

#include "LibraryListPanel.h"
#include "core/library/LibraryItems.h"

namespace pemo {

// The panel "底图": the categories of the background library in a drop-down and the
// backgrounds of the chosen one as thumbnails. A double click puts a background under
// the current page; the context menu adds and deletes backgrounds.
class BackgroundPanel : public LibraryListPanel {
    Q_OBJECT
public:
    static constexpr int kAddBackground = 34430;     // 增加底图
    static constexpr int kDeleteBackground = 34431;  // 删除底图
    static constexpr int kUnifyBackground = 34143;   // 统一底图 (the frame's)

    explicit BackgroundPanel(ThumbnailCache& cache, QWidget* parent = nullptr);

    // Fills the drop-down with the categories ("空白底图" selected when present, else
    // the first) and reloads the list.
    void reloadCategories();
    // The backgrounds of the selected category; the first is selected.
    void reload();
    QString category() const;
    bool selectCategory(const QString& category);
    const QVector<BackgroundItem>& backgrounds() const { return items_; }
    const BackgroundItem* selectedBackground() const;
    // Selects the background of that name (as a click does); false when it is not listed.
    bool selectBackground(const QByteArray& name);

    QAction* addCommand() const { return add_; }
    QAction* deleteCommand() const { return delete_; }
    void updateCommands();
    void refreshFile(const QString& path) override;
    // 增加底图 and 删除底图; the deletion asks first.
    void addBackground();
    void deleteBackground();

    struct Addition {
        QString file;
        QString category;
        QString name;
    };
    // The dialog "增加底图"; tests replace it.
    std::function<std::optional<Addition>(const QString& category)> chooseAddition;

signals:
    // The list was reloaded or its selection moved: the templates follow.
    void selectionChanged();
    // A background was double-clicked.
    void backgroundChosen(const PictureDescription& background);

private:
    void contextMenu(QPoint at, int index);

    QVector<BackgroundItem> items_;
    QAction* add_ = nullptr;
    QAction* delete_ = nullptr;
};

}  // namespace pemo
