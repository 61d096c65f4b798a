#pragma once

#include <QByteArray>
#include <cstdint>

namespace pemo {

// Block kinds: bit 24 graphic, bit 25 text, bit 26 picture; the low bits name the item.
namespace BlockKind {

inline constexpr int32_t GraphicBit = 0x01000000;
inline constexpr int32_t TextBit = 0x02000000;
inline constexpr int32_t PictureBit = 0x04000000;
// The selection tool shares the numbering of the drawing tools.
inline constexpr int32_t SelectionTool = 0x08000000;

inline constexpr int32_t Line = 0x01000001;
inline constexpr int32_t Polyline = 0x01000002;
inline constexpr int32_t Curve = 0x01000003;
inline constexpr int32_t Ellipse = 0x01000004;
inline constexpr int32_t RoundRect = 0x01000005;
inline constexpr int32_t Triangle = 0x01000006;
inline constexpr int32_t Polygon = 0x01000007;
inline constexpr int32_t ClosedCurve = 0x01000008;
inline constexpr int32_t Rectangle = 0x01000009;
inline constexpr int32_t FirstArrow = 0x01000011;
inline constexpr int32_t LastArrow = 0x0100001C;
inline constexpr int32_t FirstStarTool = 0x01000021;
inline constexpr int32_t LastStarTool = 0x01000024;

inline constexpr int32_t FixedText = 0x02010001;
// The 常用文字 menu arms FixedText + n for the n-th common phrase (the first, "文字", is
// FixedText itself); the placed block is fixed text carrying the phrase.
inline constexpr int32_t LastPhraseTool = FixedText + 20;
inline constexpr int32_t FirstVariable = 0x02020001;  // variables 1 to 10
inline constexpr int32_t LastVariable = 0x0202000A;
inline constexpr int32_t OriginalPrice = 0x02040001;  // 原价
inline constexpr int32_t CurrentPrice = 0x02040002;   // 现价
inline constexpr int32_t Discount = 0x02040003;       // 折扣
inline constexpr int32_t FirstMallInfo = 0x02080001;  // mall-information items 1 to 5
inline constexpr int32_t LastMallInfo = 0x02080005;

inline constexpr int32_t InsertedPicture = 0x04010001;
inline constexpr int32_t Logo1 = 0x04020001;
inline constexpr int32_t Logo2 = 0x04020002;
inline constexpr int32_t ProductPicture = 0x04040001;

inline bool isGraphic(int32_t kind) { return (kind & GraphicBit) != 0; }
inline bool isText(int32_t kind) { return (kind & TextBit) != 0; }
inline bool isPicture(int32_t kind) { return (kind & PictureBit) != 0; }
inline bool hasClassBit(int32_t kind) { return (kind & (GraphicBit | TextBit | PictureBit)) != 0; }

inline bool isClosedGraphic(int32_t kind) {
    return (kind >= Ellipse && kind <= Rectangle) || (kind >= FirstArrow && kind <= LastArrow);
}
inline bool isVariable(int32_t kind) { return (kind & 0x02020000) == 0x02020000; }
inline bool isPrice(int32_t kind) { return (kind & 0x02040000) == 0x02040000; }
inline bool isMallInfo(int32_t kind) { return (kind & 0x02080000) == 0x02080000; }
inline bool isFixedText(int32_t kind) { return (kind & 0x02010001) == 0x02010001; }
inline bool isPhraseTool(int32_t kind) { return kind >= FixedText && kind <= LastPhraseTool; }
inline bool isProductPicture(int32_t kind) { return (kind & 0x04040001) == 0x04040001; }

// The name the status bar and messages show for a kind, as GBK. Variables and
// mall-information items take their configured names ("{%s}").
QByteArray displayName(int32_t kind, const QByteArray& variableOrItemName = QByteArray());

}  // namespace BlockKind

}  // namespace pemo
