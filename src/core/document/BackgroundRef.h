#pragma once

#include <QByteArray>
#include <cstdint>

namespace pemo {

// A record's background: its key in the document's backgrounds store and where it
// came from in the library.
struct BackgroundRef {
    QByteArray key;
    QByteArray category;
    QByteArray name;
    QByteArray extension;
    QByteArray templateName;  // the template last applied; empty if none
    int32_t present = 0;      // 1 when the key was found in the backgrounds store

    bool operator==(const BackgroundRef&) const = default;
};

}  // namespace pemo
