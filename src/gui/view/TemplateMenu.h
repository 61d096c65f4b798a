#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "gui/common/CommandGroup.h"

class QMenuBar;
class QWidget;

namespace pemo {

class CPatView;

// 模板: saving the page as a template of its background, 应用到所有信息, the page sizes
// (A4幅面 … A0幅面, 自定义幅面, 横向幅面) and the library's own commands. The size ticks and
// the text of 横向幅面/竖向幅面 follow the current record through update().
class TemplateMenu : public CommandGroup {
public:
    static constexpr int kSaveTemplate = 34400;
    static constexpr int kSaveTemplateAs = 34401;

    // The library panels' commands the menu runs, following their state.
    struct LibraryCommands {
        QAction* deleteTemplate;
        QAction* addBackground;
        QAction* deleteBackground;
        QAction* addPicture;
        QAction* deletePicture;
    };

    TemplateMenu(CPatView& view, QWidget* window);

    // Adds the menu at the end of bar; applyDesign is the record list's 应用到所有信息.
    void addTo(QMenuBar* bar, QAction* applyDesign, const LibraryCommands& library);
    void update();
    // 保存模板 saves over the record's template when it exists; 另存模板 always asks.
    void saveTemplate(bool askName);

    // A template was saved into the library: the library shows it.
    std::function<void(const QByteArray& category, const QByteArray& background,
                        const QString& path)>
        templateSaved;
    // After a size command and before the menu opens: every command's state.
    std::function<void()> commandsChanged;

private:
    // An item of the menu running a library command and following its state.
    void addLibraryCommand(QMenu* menu, QAction* command, const char* text);
    void addPageSizes(QMenu* menu);
    void changed();

    CPatView& view_;
    QWidget* window_;
};

}  // namespace pemo
