#include "ShortValuePool.h"

namespace pemo {

namespace {

constexpr size_t kOneByte = 256;
constexpr size_t kTwoBytes = 256 * 256;

}  // namespace

QByteArray ShortValuePool::share(QByteArray value) {
    const qsizetype size = value.size();
    if (size < 1 || size > 2) return value;
    const auto* bytes = reinterpret_cast<const unsigned char*>(value.constData());
    const size_t slot = size == 1 ? bytes[0] : kOneByte + (size_t(bytes[0]) << 8 | bytes[1]);
    if (values_.empty()) values_.resize(kOneByte + kTwoBytes);
    QByteArray& shared = values_[slot];
    if (shared.isNull()) shared = std::move(value);
    return shared;
}

}  // namespace pemo
