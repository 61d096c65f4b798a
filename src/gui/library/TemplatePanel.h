#pragma once

#include <QVector>

#include "LibraryListPanel.h"
#include "core/library/LibraryItems.h"

namespace pemo {

class BackgroundPanel;

// The tab "模板库": the templates of the selected background (mode 0, "当前底图模板")
// or of every background of its category (mode 1, "当前底图类模板"). A double click
// puts a template's page in place of the current one; the context menu deletes
// templates.
class TemplatePanel : public LibraryListPanel {
    Q_OBJECT
public:
    static constexpr int kDeleteTemplate = 34404;  // 删除模板
    static constexpr int kUnifyTemplate = 34142;   // 统一模板 (the frame's)
    enum Mode { CurrentBackground = 0, WholeCategory = 1 };

    TemplatePanel(ThumbnailCache& cache, BackgroundPanel& backgrounds, QWidget* parent = nullptr);

    Mode mode() const;
    // Sets the mode's drop-down, which reloads the list.
    void setMode(Mode mode);
    // Mode 0: the selected background's templates (unchanged when none is selected);
    // mode 1: every background's (unchanged when there are none).
    void reload();
    const QVector<TemplateItem>& templates() const { return items_; }
    const TemplateItem* selectedTemplate() const;
    // Selects the template of that file when it is listed.
    bool selectTemplate(const QString& templatePath);

    QAction* deleteCommand() const { return delete_; }
    void updateCommands();
    // Templates are not edited outside; a changed preview shows when it is next drawn.
    void refreshFile(const QString& path) override;
    // 删除模板: asks first.
    void deleteTemplate();

signals:
    // A template was double-clicked.
    void templateChosen(const QString& templatePath);

private:
    void contextMenu(QPoint at, int index);
    void showTemplates(const QVector<TemplateItem>& items);
    void dropDeletedTemplates();

    BackgroundPanel& backgrounds_;
    QVector<TemplateItem> items_;
    QAction* delete_ = nullptr;
};

}  // namespace pemo
