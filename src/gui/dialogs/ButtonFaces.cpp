#include "ButtonFaces.h"

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPalette>

namespace pemo {

namespace {

void line(QPainter& p, QColor colour, QPoint a, QPoint b) {
    p.setPen(QPen(colour, 1));
    p.drawLine(a, b);
}

}  // namespace

void drawRaisedFace(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, QPalette().color(QPalette::Button));
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    line(painter, Qt::white, {l, t}, {r, t});
    line(painter, Qt::white, {l, t}, {l, b});
    line(painter, Qt::black, {l, b}, {r, b});
    line(painter, Qt::black, {r, t}, {r, b});
    line(painter, QColor(0x80, 0x80, 0x80), {l + 1, b - 1}, {r - 1, b - 1});
    line(painter, QColor(0x80, 0x80, 0x80), {r - 1, t + 1}, {r - 1, b - 1});
    painter.restore();
}

void drawPressedFace(QPainter& painter, const QRect& rect) {
    static const QImage checker = [] {
        QImage image(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                image.setPixel(x, y, (x + y) % 2 ? qRgb(0xC0, 0xC0, 0xC0) : qRgb(255, 255, 255));
            }
        }
        return image;
    }();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, QBrush(checker));
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    line(painter, Qt::black, {l, t}, {r, t});
    line(painter, Qt::black, {l, t}, {l, b});
    line(painter, QColor(0x80, 0x80, 0x80), {l + 1, t + 1}, {r - 1, t + 1});
    line(painter, QColor(0x80, 0x80, 0x80), {l + 1, t + 1}, {l + 1, b - 1});
    line(painter, QColor(0xC0, 0xC0, 0xC0), {l + 1, b - 1}, {r - 1, b - 1});
    line(painter, QColor(0xC0, 0xC0, 0xC0), {r - 1, t + 1}, {r - 1, b - 1});
    line(painter, Qt::white, {l, b}, {r, b});
    line(painter, Qt::white, {r, t}, {r, b});
    painter.restore();
}

}  // namespace pemo
