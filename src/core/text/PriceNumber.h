#pragma once

#include <QByteArray>

namespace pemo {

// Whether a price value (GBK, as a record keeps it) is a number a sign can show as a
// price: digits with at most one decimal point, blanks around it, and at most one
// currency sign ("￥", "$", or "¥" from Unicode text) before it or "元" after it. "4.50",
// "￥12", "3元" are;
// "面议", "4.5.0", "" are not.
class PriceNumber {
public:
    static bool isNumber(const QByteArray& gbk);
};

}  // namespace pemo
