#pragma once

#include <QByteArray>
#include <QString>

namespace pemo {

class CPatDoc;
class InfoRecord;

// Command ids of the 编辑 menu and the position toolbar.
namespace EditCommand {
inline constexpr int Undo = 34001;             // 撤消
inline constexpr int Redo = 34002;             // 恢复
inline constexpr int Cut = 34003;              // 剪切
inline constexpr int Copy = 34004;             // 复制
inline constexpr int Paste = 34005;            // 粘贴
inline constexpr int Delete = 34006;           // 删除
inline constexpr int SelectAll = 34007;        // 全选
inline constexpr int AlignTop = 34010;         // 顶框对齐
inline constexpr int CentreVertically = 34011; // 上下居中
inline constexpr int AlignBottom = 34012;      // 底框对齐
inline constexpr int AlignLeft = 34013;        // 左框对齐
inline constexpr int CentreHorizontally = 34014; // 左右居中
inline constexpr int AlignRight = 34015;       // 右框对齐
inline constexpr int LayerUp = 34016;          // 上移一层
inline constexpr int LayerDown = 34017;        // 下移一层
inline constexpr int ToTop = 34018;            // 移到顶层
inline constexpr int ToBottom = 34019;         // 移到底层
inline constexpr int Lock = 34020;             // 锁定
inline constexpr int TopEdges = 32941;         // 上边框对齐
inline constexpr int BottomEdges = 32942;      // 下边框对齐
inline constexpr int LeftEdges = 32944;        // 左边框对齐
inline constexpr int RightEdges = 32945;       // 右边框对齐
}  // namespace EditCommand

// The block commands of the 编辑 menu on one record's page, without widgets. Every
// command that changes the page takes an undo snapshot first.
class EditCommands {
public:
    static constexpr const char* kClipboardMime = "application/x-qrwnpem-clipboard";
    static constexpr const char* kClipboardFormatName = "QRWNPEM-CLIPBOARD";

    // Whether a block command is enabled (text editing in place is handled by the canvas).
    static bool isEnabled(int id, const InfoRecord& record);
    static bool isChecked(int id, const InfoRecord& record);
    // Alignment, layers, lock, select all and delete; false when nothing was done.
    static bool run(int id, InfoRecord& record);

    // The clipboard stream of the selected blocks with the pictures they use.
    static QByteArray copySelection(const InfoRecord& record, const CPatDoc& doc);
    // Pastes a clipboard stream onto the page. Blocks whose kind is already on the page
    // are left out; the lines saying so are returned for one message box. A damaged
    // stream pastes nothing and throws FormatError.
    static QString paste(InfoRecord& record, CPatDoc& doc, const QByteArray& stream,
                         bool templateMode);
    static void deleteSelection(InfoRecord& record);
};

}  // namespace pemo
