#pragma once

#include <QList>
#include <QStringList>

#include "gui/common/CommandGroup.h"

class QMenu;
class QMenuBar;
class QWidget;

namespace pemo {

class CPatApp;
class CPatDoc;

// 文件: new, open, save and save as (carried out by the application), 转存为 and 导出PDF,
// the recently opened files and 退出 (which closes the window).
class FileMenu : public CommandGroup {
public:
    static constexpr int kExportPdf = 32940;

    FileMenu(CPatApp& app, CPatDoc& doc, QWidget* window);

    // Adds the menu at the end of bar.
    void addTo(QMenuBar* bar);
    // The recent files, numbered from 1, before 退出.
    void showRecentFiles(const QStringList& files);

    // 转存为: the current page as a BMP (or PNG) picture at 150 pixels per inch.
    void exportPagePicture();
    // 导出PDF: the print queue in a chosen print mode and sheet, then says where it went,
    // the way `pemo --export OUT.pdf` writes it.
    void exportPdf();

private:
    CPatApp& app_;
    CPatDoc& doc_;
    QWidget* window_;
    QMenu* menu_ = nullptr;
    QAction* recentPlace_ = nullptr;
    QList<QAction*> recentActions_;
};

}  // namespace pemo
