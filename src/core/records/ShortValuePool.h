#pragma once

#include <QByteArray>
#include <vector>

namespace pemo {

// One shared copy of each value of one or two bytes (a digit, a letter, one GBK
// character such as 斤), handed to every cell that holds it. A table of millions of such
// cells then costs each cell its QByteArray alone, not a heap block of its own as well.
class ShortValuePool {
public:
    // value itself when it is empty or longer than two bytes, else the pool's copy of it.
    QByteArray share(QByteArray value);

private:
    std::vector<QByteArray> values_;  // by the value's bytes; filled as values come
};

}  // namespace pemo
