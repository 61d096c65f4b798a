#pragma once

#include <QPageLayout>
#include <functional>
#include <memory>

#include "core/labels/LabelChoice.h"
#include "core/print/PrintSettings.h"
#include "gui/common/CommandGroup.h"

class QAction;
class QMenu;
class QMenuBar;
class QPrinter;
class QWidget;

namespace pemo {

class CPatDoc;
class LabelSheetDialog;
class PrintCheckDialog;
class PrintJob;

// The 打印 menu: the sign print and preview commands of every print mode, the tile
// overlap and merge spacing settings with their information boxes, and the printer
// setup. Every command prepares a PrintJob first (its page count is fixed before the
// print dialog opens) and prints or previews through it on the chosen printer.
// The page layout the user chose (paper, orientation, margins) holds for every job, the
// information boxes and the preview until the user chooses another in 打印机设置 or in
// the print dialog's properties: the print dialog itself sets a CUPS printer back to its
// queue's default paper, and that is undone.
class PrintCommands : public CommandGroup {
    Q_OBJECT
public:
    PrintCommands(CPatDoc& doc, QWidget* parent);
    ~PrintCommands() override;

    // Adds the 打印 menu to the bar, before the 配置 menu when there is one.
    QMenu* buildMenu(QMenuBar* bar);
    // Puts 信息打印, a command of the record list, into the menu before 打印机设置: it
    // prints the list as a table (ListPrintCommand).
    void addListPrint(QMenu* menu, QAction* command);

    int printMode() const { return printMode_; }
    int tileOverlapMm() const { return tileOverlapMm_; }
    int mergeSpacingMm() const { return mergeSpacingMm_; }
    // 张数少时转纸拼版: tiling may turn a sign when that takes fewer sheets (remembered).
    bool turnTiles() const { return turnTiles_; }
    void setTurnTiles(bool on);
    QPrinter& printer() { return *printer_; }
    const QPageLayout& pageLayout() const { return pageLayout_; }
    void setPageLayout(const QPageLayout& layout);
    // The settings a job of this mode is prepared with on the chosen printer and paper.
    PrintSettings settingsFor(int mode) const;

    void print(int mode);
    void preview(int mode);
    void printerSetup();
    // Runs the check before a print (or a preview) of the mode; true when the job goes
    // on: nothing was found, or the user chose to print anyway. Going to a record makes
    // it the current one (the grid and the page follow).
    bool checkBeforePrinting(int mode, bool preview);
    // What the check dialog stands in for in tests: returns the dialog's result and the
    // record chosen to go to. Unset, the dialog is shown.
    std::function<int(PrintCheckDialog& dialog)> runCheckDialog;
    // 标签纸: the label sheet dialog before every label print and preview; false when
    // it was cancelled. The choice is kept in the settings.
    bool chooseLabelSheet();
    const LabelChoice& labelChoice() const { return labelChoice_; }
    // 导出PDF onto label sheets, the way a label print goes: asks for the sheet (the label
    // dialog, the last sheet chosen), and fills the settings and paperMm with it, the PDF
    // page being the sheet's own paper; false when it was cancelled.
    bool chooseLabelExport(PrintSettings& settings, QSizeF& paperMm);
    void setLabelChoice(const LabelChoice& choice);
    // What the label dialog stands in for in tests: returns its result. Unset, it is shown.
    std::function<int(LabelSheetDialog& dialog)> runLabelDialog;
    void showTileInformation();
    void showMergeInformation();

    static constexpr int kTileInformation = 34583;
    static constexpr int kMergeInformation = 34563;
    static constexpr int kFirstOverlap = 34584;  // 无重叠 … 重叠20毫米: 34584 to 34587
    static constexpr int kFirstSpacing = 34564;  // 页间距5毫米 … 页间距30毫米: 34564 to 34568
    static constexpr int kTurnTiles = 34588;

private:
    void addModeCommands(QMenu* printMenu, QMenu* previewMenu, int mode);
    void setTileOverlap(int mm);
    void setMergeSpacing(int mm);
    // Prepares a job for the printer's current sheet; false after telling the user why.
    bool prepare(PrintJob& job, int mode);
    void refuse(const QString& message);
    // Puts the chosen page layout back on the printer; for a label job, the label
    // sheet's own paper, edge to edge as far as the printer goes.
    void applyPageLayout(int mode = 0) const;
    std::shared_ptr<const LabelTemplate> labelSheet() const;

    CPatDoc& doc_;
    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_;
    QPageLayout pageLayout_;
    int printMode_ = 0;
    int tileOverlapMm_ = 10;
    int mergeSpacingMm_ = 10;
    bool turnTiles_ = false;
    LabelChoice labelChoice_;
};

}  // namespace pemo
