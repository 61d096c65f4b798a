#include "BlockKind.h"

#include "core/codecs/Gbk.h"

namespace pemo::BlockKind {

namespace {

QByteArray braced(const char* utf8) {
    return Gbk::fromUnicode(QString::fromUtf8("{%1}").arg(QString::fromUtf8(utf8)));
}

}  // namespace

QByteArray displayName(int32_t kind, const QByteArray& variableOrItemName) {
    if (isGraphic(kind)) {
        if (kind >= FirstArrow && kind <= LastArrow) return braced("箭头");
        if (kind >= FirstStarTool && kind <= LastStarTool) return braced("星形");
        switch (kind) {
            case Line: return braced("直线");
            case Polyline: return braced("连续直线");
            case Curve: return braced("曲线");
            case Ellipse: return braced("椭圆");
            case RoundRect: return braced("圆角矩形");
            case Triangle: return braced("三角形");
            case Polygon: return braced("多边形");
            case ClosedCurve: return braced("曲线区域");
            case Rectangle: return braced("矩形");
            default: return QByteArray();
        }
    }
    if (isText(kind)) {
        if (kind == OriginalPrice) return braced("原价");
        if (kind == CurrentPrice) return braced("现价");
        if (kind == Discount) return braced("折扣");
        if ((kind >= FirstVariable && kind <= LastVariable) ||
            (kind >= FirstMallInfo && kind <= LastMallInfo)) {
            return "{" + variableOrItemName + "}";
        }
        if (kind == FixedText) return braced("文字");
        return QByteArray();
    }
    switch (kind) {
        case InsertedPicture: return braced("图象");
        case Logo1: return braced("商场Logo1");
        case Logo2: return braced("商场Logo2");
        case ProductPicture: return braced("商品图片");
        default: return QByteArray();
    }
}

}  // namespace pemo::BlockKind
