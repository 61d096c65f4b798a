#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

#include "core/pictures/PictureDescription.h"

namespace pemo {

class CPatDoc;
class InfoRecord;

// Command ids of the record list (menu 信息, common toolbar, grid context menu).
namespace RecordCommand {
inline constexpr int Delete = 34100;              // 信息删除
inline constexpr int Find = 34101;                // 查找
inline constexpr int QueueAll = 34102;            // 全选打印队列
inline constexpr int QueueNone = 34103;           // 清空打印队列
inline constexpr int First = 34104;               // 第一条信息
inline constexpr int Last = 34105;                // 最后一条信息
inline constexpr int Previous = 34106;            // 前一条信息
inline constexpr int Next = 34107;                // 下一条信息
inline constexpr int PreviousGroup = 34108;       // 前一组信息
inline constexpr int NextGroup = 34109;           // 下一组信息
inline constexpr int ImportText = 34110;          // 导入TXT文件...
inline constexpr int ImportWorkbook = 34111;      // 导入XLS文件...
inline constexpr int ImportDatabase = 34112;      // 导入MDB文件...
inline constexpr int ExportText = 34113;          // 导出TXT文件...
inline constexpr int ExportWorkbook = 34114;      // 导出XLS文件...
inline constexpr int PrintList = 34115;           // 信息打印
inline constexpr int SetCurrentPrint = 34116;     // 设置当前信息打印
inline constexpr int CancelCurrentPrint = 34117;  // 取消当前信息打印
inline constexpr int Clear = 34118;               // 信息清除
inline constexpr int DeleteEmpty = 34119;         // 删除空信息
inline constexpr int InsertMenu = 34120;          // 信息插入
inline constexpr int InsertFirst = 34121;         // 信息插入(1条) … (10条)
inline constexpr int InsertLast = 34131;          // 信息插入(20条)
inline constexpr int UnifySize = 34141;           // 统一幅面
inline constexpr int UnifyTemplate = 34142;       // 统一模板
inline constexpr int UnifyBackground = 34143;     // 统一底图
inline constexpr int ApplyDesign = 34144;         // 应用到所有信息
inline constexpr int PriceUpdateText = 34150;     // 按价格表更新(TXT文件)...
inline constexpr int PriceUpdateWorkbook = 34151; // 按价格表更新(XLS文件)...
}  // namespace RecordCommand

// What the library panels have selected, for 统一底图 and 统一模板.
struct LibraryChoice {
    bool selected = false;
    PictureDescription background;  // category and name of the background
    QByteArray templateName;        // templates only
    QString templatePath;           // templates only
};

// What the record commands need from around the document.
struct RecordCommandContext {
    int visibleRowCount = 1;  // rows the record grid shows (前一组/下一组)
    bool templateMode = false;
    LibraryChoice background;
    LibraryChoice templateChoice;
    // Reads a template file into a record; set once templates can be read. False (the
    // reason told) when the file cannot be read.
    std::function<bool(InfoRecord&, const QString& path)> applyTemplate;
    // Told now and then how far a command that changes every record has come: records
    // done, records in all. Not set: nothing is told.
    std::function<void(int done, int total)> progress;
};

// The record-list commands: enable rules and effects, without widgets. Questions go
// through Messages. Every command that changes the list, or the pages of many records,
// is one step of the document's list history.
class RecordCommands {
public:
    explicit RecordCommands(CPatDoc& doc) : doc_(doc) {}

    bool isEnabled(int id, const RecordCommandContext& context) const;
    // Carries out a command; false when it was disabled or changed nothing.
    bool execute(int id, const RecordCommandContext& context);

    // Records inserted by 34121 to 34131 (1 to 10, then 20); 0 for other ids.
    static int insertCount(int id);
    // "信息插入(%d条)".
    static QString insertMenuText(int id);
    // The name of the command's step in the list history; empty for commands that are
    // no step of it.
    static QString stepName(int id);
    // "(A4幅面)" … "(A0幅面)" for the standard sizes, else "(%dx%d)".
    static QString pageSizeName(int widthMm, int heightMm);

private:
    bool run(int id, const RecordCommandContext& context);
    void insertRecords(int count);
    bool deleteCurrent();
    bool deleteEmpty();
    bool applyDesign();
    bool unifySize();
    bool unifyBackground(const RecordCommandContext& context);
    bool unifyTemplate(const RecordCommandContext& context);
    bool recordsDifferInSize() const;
    bool backgroundChoiceDiffers(const RecordCommandContext& context) const;
    bool templateChoiceDiffers(const RecordCommandContext& context) const;
    void changed();

    CPatDoc& doc_;
};

}  // namespace pemo
