#pragma once

#include <QStringList>

#include "ImportSettings.h"

namespace pemo {

class VariableNameList;

// Guesses which column feeds which target from the words of a header row: a header that
// is a variable's name, or that name without "商品" (规格 for 商品规格), or one of the
// usual words for it (品名 and 名称 for the name, 售价 and 特价 for 现价 …) maps to it.
// Names are matched against the document's configured variable names, so a renamed
// variable ("条码") is found by its own name.
class MappingGuess {
public:
    // headers holds the cells of the header row, column 1 first. Each target takes the
    // first column that names it, each column feeds one target at most; targets no
    // column names stay 0.
    static ImportSettings::Columns guess(const QStringList& headers, const VariableNameList& names);
    // The target a header names, or -1.
    static int targetOf(const QString& header, const VariableNameList& names);
    // How many targets a mapping feeds.
    static int mappedCount(const ImportSettings::Columns& columns);
};

}  // namespace pemo
