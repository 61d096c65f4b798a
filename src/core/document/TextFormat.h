#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "core/text/RichText.h"

namespace pemo {

class InfoRecord;
class TextBlock;

// The text format commands of the 对象 menu: their ids, when each is enabled and ticked,
// and what each does to the current record. Character commands act on the text selected
// while a text block is edited in place (without a selection, on the style typing goes
// on with); block commands act on the one selected live text block. Every command that
// changes something takes one undo snapshot first; the caller marks the document
// modified when a command returns true.
namespace FormatCommand {

inline constexpr int ChineseFace = 32949;
inline constexpr int WesternFace = 32950;
inline constexpr int Size = 32951;
inline constexpr int Bold = 34270;
inline constexpr int Italic = 34271;
inline constexpr int Underline = 34272;
inline constexpr int TextColour = 34273;
inline constexpr int ChooseTextColour = 35071;
inline constexpr int AlignmentMenu = 34280;
inline constexpr int Fill = 34281;    // 撑满
inline constexpr int Left = 34282;    // 居左
inline constexpr int Right = 34283;   // 居右
inline constexpr int Centre = 34284;  // 居中
inline constexpr int LineSpacingMenu = 34290;
inline constexpr int FirstLineSpacing = 34291;  // to 34300
inline constexpr int LastLineSpacing = 34300;
inline constexpr int AutoFit = 34301;
inline constexpr int PriceFormat = 34302;
inline constexpr int Vertical = 34303;
inline constexpr int CharSpacingMenu = 34310;
inline constexpr int FirstCharSpacing = 34311;  // to 34317
inline constexpr int LastCharSpacing = 34317;

inline constexpr int kMinSize = RichText::kSmallestSize;
inline constexpr int kMaxSize = RichText::kLargestSize;

// The sizes the size box lists: the small print of labels point by point up to 12, then
// every second point to 18, then every fourth from 20 to 360.
const std::vector<int>& sizeChoices();
// Why a size typed into 字号 cannot be taken; empty when it can.
QString sizeProblem(const QString& typed);

// The values behind the spacing and alignment ids.
int lineSpacingOf(int id);   // −25 … 150
int charSpacingOf(int id);   // 0 … 200
int alignmentOf(int id);     // RichText::Alignment
// The text block edited in place, or null.
TextBlock* editedBlock(const InfoRecord& record);
// Exactly one block selected, a text block whose content is live text; or null.
TextBlock* liveTextBlock(const InfoRecord& record);
// Exactly one block selected and it is a price block; or null.
TextBlock* priceBlock(const InfoRecord& record);

bool isEnabled(int id, const InfoRecord& record);
bool isChecked(int id, const InfoRecord& record, bool autoFit);

// The commands without a value of their own: bold, italic, underline, the alignments,
// line and character spacings, vertical writing. False when disabled.
bool run(int id, InfoRecord& record, bool autoFit);
// 中文字体 / 英文字体 with a face name (GBK); 字号 with a size (5 … 360);
// 字符颜色 with a colour (0x00BBGGRR). Size and colour apply to the edited text's
// selection, or to all the text of a text block selected as a whole.
bool applyFace(int id, InfoRecord& record, const QByteArray& face, bool autoFit);
bool applySize(InfoRecord& record, int points, bool autoFit);
bool applyTextColour(InfoRecord& record, int32_t colour, bool autoFit);
// The style the font and size boxes show: what typing goes on with in the edited text,
// or the first character's of a text block selected as a whole; null for neither.
const CharStyle* shownStyle(const InfoRecord& record);
// 价格格式: the first price item of the block's kind takes the style and line colour,
// and the content fits again.
bool applyPriceFormat(InfoRecord& record, int32_t priceStyle, int32_t lineColour, bool autoFit);

}  // namespace FormatCommand

}  // namespace pemo
