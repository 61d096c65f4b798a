#include "TableCell.h"

#include <QPainter>
#include <QTextLayout>

#include "core/codecs/Gbk.h"
#include "core/text/FontFaces.h"

namespace pemo {

namespace {

constexpr int kTwipsPerPoint = 20;

}  // namespace

TableCell::TableCell(QByteArray text, int width, bool header)
    : text_(text.isEmpty() ? QByteArray(" ") : std::move(text)), header_(header) {
    setWidth(width);
}

const QFont& TableCell::font() {
    static const QFont font = [] {
        QFont f = FontFaces::font("Arial", kFontSize * kTwipsPerPoint, false, false);
        const QString chinese = FontFaces::resolve(Gbk::fromUnicode(QString::fromUtf8("宋体"))).family;
        QStringList families = f.families();
        families.insert(1, chinese);
        f.setFamilies(families);
        f.setHintingPreference(QFont::PreferNoHinting);
        return f;
    }();
    return font;
}

void TableCell::setWidth(int width) {
    width_ = width;
    height_ = layOut(nullptr, 0, 0, 1440) + kPadding;
}

void TableCell::draw(QPainter& painter, int x, int y, int dpi) const { layOut(&painter, x, y, dpi); }

// Lays the text out in twips; with a painter, draws it scaled to the device. Returns the
// height of the lines in twips.
int TableCell::layOut(QPainter* painter, int x, int y, int dpi) const {
    const int frame = std::max(1, width_ - kPadding);
    const int lineHeight = kFontSize * kTwipsPerPoint * kLineSpacing / 100;
    QTextLayout layout(Gbk::toUnicode(text_), font());
    QTextOption option(header_ ? Qt::AlignHCenter : Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(frame);
        line.setPosition(QPointF(0, lines * lineHeight + (lineHeight - line.height()) / 2));
        ++lines;
    }
    layout.endLayout();
    if (painter) {
        painter->save();
        painter->translate(x, y);
        painter->scale(dpi / 1440.0, dpi / 1440.0);
        painter->setPen(Qt::black);
        layout.draw(painter, QPointF(kPadding / 2, kPadding / 2));
        painter->restore();
    }
    return std::max(1, lines) * lineHeight;
}

}  // namespace pemo
