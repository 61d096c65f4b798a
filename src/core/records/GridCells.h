#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "CellTable.h"

namespace pemo {

// The record grid's cells as text: what the copies cell accepts, and blocks of cells on
// the clipboard.
namespace GridCells {

// What a typed or pasted copies text asks for: a whole number from 0 to 999. problem
// is empty when the text is one, else the message saying why it is refused.
struct Copies {
    int copies = 0;
    QString problem;
};
Copies parseCopies(const QString& text);
constexpr int kMaxCopies = 999;

// A block of cells from the clipboard, as GBK texts with CR LF line breaks: tab-separated
// when the text holds a tab (spreadsheets, web pages), comma-separated when csv says so
// or when every line of two or more splits into the same number of fields, else one cell
// per line. Quoted fields follow the import's rules; a character GBK cannot hold throws
// FormatError naming its row and column in the block.
CellTable parseClipboard(const QString& text, bool csv = false);

// Tab-separated text of a block (rows of cells), a field quoted when it holds a tab, a
// quote or a line break, lines ending in LF, as spreadsheets take them.
QString toClipboard(const std::vector<QStringList>& rows);

}  // namespace GridCells

}  // namespace pemo
