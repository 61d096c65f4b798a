#include "LabelLayout.h"

#include <algorithm>
#include <cmath>

namespace pemo {

namespace {

// A sign this close to its label's size in both directions is printed at its own size.
constexpr double kSameSizeMm = 0.25;

}  // namespace

LabelLayout::LabelLayout(int perSheet, int start)
    : perSheet_(std::max(1, perSheet)), start_(std::clamp(start, 1, perSheet_)) {}

long long LabelLayout::pageCount(long long items) const {
    if (items <= 0) return 0;
    const long long filled = items + (start_ - 1);
    return (filled + perSheet_ - 1) / perSheet_;
}

long long LabelLayout::itemAt(int page, int slot) const {
    const long long n = static_cast<long long>(page) * perSheet_ + slot - (start_ - 1);
    return n < 0 ? -1 : n;
}

QRectF LabelLayout::fit(QSizeF signMm, const QRectF& box, double* scale) {
    double s = 1.0;
    if (std::abs(signMm.width() - box.width()) > kSameSizeMm || std::abs(signMm.height() - box.height()) > kSameSizeMm) {
        s = std::min(box.width() / signMm.width(), box.height() / signMm.height());
    }
    if (scale) *scale = s;
    const QSizeF extent = signMm * s;
    return QRectF(box.center() - QPointF(extent.width() / 2, extent.height() / 2), extent);
}

}  // namespace pemo
