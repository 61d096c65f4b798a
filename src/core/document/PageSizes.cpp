#include "PageSizes.h"

#include <array>
#include <utility>

namespace pemo {

namespace {

constexpr std::array<std::pair<int, int>, PageSizes::kStandardCount> kStandard = {{
    {190, 280},
    {280, 400},
    {400, 580},
    {580, 820},
    {820, 1170},
}};

}  // namespace

QSize PageSizes::standard(int index) {
    if (index < 0 || index >= kStandardCount) return QSize();
    const auto [shorter, longer] = kStandard[static_cast<size_t>(index)];
    return QSize(shorter, longer);
}

QString PageSizes::standardName(int index) {
    if (index < 0 || index >= kStandardCount) return QString();
    return QString::fromUtf8("A%1幅面").arg(4 - index);
}

int PageSizes::standardIndexOf(int widthMm, int heightMm) {
    for (int i = 0; i < kStandardCount; ++i) {
        const auto [shorter, longer] = kStandard[static_cast<size_t>(i)];
        if ((widthMm == shorter && heightMm == longer) ||
            (widthMm == longer && heightMm == shorter)) {
            return i;
        }
    }
    return -1;
}

QSize PageSizes::keepingOrientation(int index, int widthMm, int heightMm) {
    const QSize upright = standard(index);
    return widthMm >= heightMm ? upright.transposed() : upright;
}

bool PageSizes::isCustomSizeAccepted(int widthMm, int heightMm) {
    auto inRange = [](int mm) { return mm >= kMinCustomMm && mm <= kMaxCustomMm; };
    return inRange(widthMm) && inRange(heightMm);
}

QString PageSizes::statusName(int widthMm, int heightMm) {
    const int index = standardIndexOf(widthMm, heightMm);
    if (index >= 0) return QStringLiteral("(%1)").arg(standardName(index));
    return QStringLiteral("(%1x%2)").arg(widthMm).arg(heightMm);
}

QString PageSizes::rotateCommandText(int widthMm, int heightMm) {
    return QString::fromUtf8(widthMm < heightMm ? "横向幅面" : "竖向幅面");
}

}  // namespace pemo
