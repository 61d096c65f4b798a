#pragma once

#include <QVector>

#include "CategoryListPanel.h"
#include "core/library/LibraryItems.h"

namespace pemo {

// The panel "底图": the categories of the background library in a drop-down and the
// backgrounds of the chosen one as thumbnails. A double click puts a background under
// the current page; the context menu adds and deletes backgrounds.
class BackgroundPanel : public CategoryListPanel {
    Q_OBJECT
public:
    static constexpr int kAddBackground = 34430;     // 增加底图
    static constexpr int kDeleteBackground = 34431;  // 删除底图
    static constexpr int kUnifyBackground = 34143;   // 统一底图 (the frame's)

    explicit BackgroundPanel(ThumbnailCache& cache, QWidget* parent = nullptr);

    // The backgrounds of the selected category; the first is selected.
    void reload() override;
    const QVector<BackgroundItem>& backgrounds() const { return items_; }
    const BackgroundItem* selectedBackground() const;
    // Selects the background of that name (as a click does); false when it is not listed.
    bool selectBackground(const QByteArray& name);

    void updateCommands() override;
    void refreshFile(const QString& path) override;
    // 增加底图 and 删除底图; the deletion asks first.
    void addBackground();
    void deleteBackground();

signals:
    // The list was reloaded or its selection moved: the templates follow.
    void selectionChanged();
    // A background was double-clicked.
    void backgroundChosen(const PictureDescription& background);

protected:
    void sizeMeasured(const QString& path, QSize size) override;
    // "空白底图" when present, else the first.
    int preferredCategory(const QStringList& names) const override;

private:
    void contextMenu(QPoint at, int index);

    QVector<BackgroundItem> items_;
};

}  // namespace pemo
