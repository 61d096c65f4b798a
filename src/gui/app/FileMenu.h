#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "gui/common/CommandGroup.h"

class QMenu;
class QMenuBar;
class QWidget;

namespace pemo {

class CPatApp;
class CPatDoc;
class PdfExportDialog;
class PrintCommands;

// 文件: new, open, save and save as (carried out by the application), 转存为 and 导出PDF,
// the recently opened files and 退出 (which closes the window).
class FileMenu : public CommandGroup {
public:
    static constexpr int kExportPdf = 32940;

    // print: the label sheet of an export onto label sheets is chosen as for printing.
    FileMenu(CPatApp& app, CPatDoc& doc, PrintCommands& print, QWidget* window);

    // Adds the menu at the end of bar.
    void addTo(QMenuBar* bar);
    // The recent files, numbered from 1, before 退出.
    void showRecentFiles(const QStringList& files);

    // 转存为: the current page as a BMP (or PNG) picture at 150 pixels per inch.
    void exportPagePicture();
    // 导出PDF: the print queue in a chosen print mode and sheet (a label sheet chosen as
    // for printing), then says where it went, the way `pemo --export OUT.pdf` writes it.
    void exportPdf();
    // What the choices dialog and the file dialog of 导出PDF stand in for in tests: the
    // dialog's result, and the file chosen (empty when cancelled) given the name proposed.
    // Unset, the dialogs are shown.
    std::function<int(PdfExportDialog& dialog)> runExportDialog;
    std::function<QString(const QString& proposed)> askPdfPath;

private:
    CPatApp& app_;
    CPatDoc& doc_;
    PrintCommands& print_;
    QWidget* window_;
    QMenu* menu_ = nullptr;
    QAction* recentPlace_ = nullptr;
    QList<QAction*> recentActions_;
};

}  // namespace pemo
