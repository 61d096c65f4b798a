#pragma once

#include <cstdint>

namespace pemo {

class InfoRecord;
struct PlaceholderSources;

// The insertion commands of the 对象 menu and their popups: which kind each arms, and
// which items are greyed because their kind is already on the page.
namespace InsertCommand {

inline constexpr int VariablesMenu = 34200;  // Ctrl+G
inline constexpr int FirstVariable = 34201;  // to 34210
inline constexpr int LastVariable = 34210;
inline constexpr int ProductPicture = 34211;
inline constexpr int PhrasesMenu = 34220;  // Ctrl+T
inline constexpr int FirstPhrase = 34221;  // one per common phrase, at most 21
inline constexpr int LastPhrase = 34241;
inline constexpr int PricesMenu = 34250;  // Ctrl+J
inline constexpr int FirstPrice = 34251;  // {原价} {现价} {折扣}
inline constexpr int LastPrice = 34253;
inline constexpr int MallInfoMenu = 34260;  // Ctrl+H
inline constexpr int FirstMallInfo = 34261;  // to 34265
inline constexpr int LastMallInfo = 34265;
inline constexpr int Logo1 = 34266;
inline constexpr int Logo2 = 34267;
// 插入条码: a dialog, then a barcode block placed as the other text blocks are.
inline constexpr int Barcode = 34537;

// The kind an insertion command arms, or 0 for an id that arms none.
int32_t kindOf(int id);

// An item is greyed while a block of its kind is on the page: variables, prices, mall
// items and the product picture may stand once per page; phrases and logos repeat.
bool isGreyed(int id, const InfoRecord& record);

// While a text block of fixed text is edited in place, a variable or mall item chosen
// goes in at the caret: the block becomes that placeholder's block, the typed text
// around its value, in one undo step. False (nothing changed) when no such block is
// edited or the id is not a variable or mall item; the item then arms a new block.
bool insertAtCaret(int id, InfoRecord& record, bool templateMode, const PlaceholderSources& sources);

}  // namespace InsertCommand

}  // namespace pemo
