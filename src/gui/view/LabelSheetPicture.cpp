#include "LabelSheetPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTransform>
#include <algorithm>

namespace pemo {

namespace {

constexpr int kPad = 6;  // pixels round the sheet

}  // namespace

LabelSheetPicture::LabelSheetPicture(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 200);
    setCursor(Qt::PointingHandCursor);
}

void LabelSheetPicture::setSheet(const LabelTemplate& sheet) {
    sheet_ = sheet;
    labels_ = sheet.labelRects();
    hasSheet_ = !labels_.empty() && !sheet.paperMm.isEmpty();
    start_ = std::clamp(start_, 1, std::max(1, static_cast<int>(labels_.size())));
    update();
}

void LabelSheetPicture::clearSheet() {
    hasSheet_ = false;
    labels_.clear();
    update();
}

void LabelSheetPicture::setStart(int start) {
    start_ = std::clamp(start, 1, std::max(1, static_cast<int>(labels_.size())));
    update();
}

double LabelSheetPicture::scale() const {
    if (!hasSheet_) return 1;
    return std::min((width() - 2.0 * kPad) / sheet_.paperMm.width(), (height() - 2.0 * kPad) / sheet_.paperMm.height());
}

QPointF LabelSheetPicture::origin() const {
    const double s = scale();
    return QPointF((width() - sheet_.paperMm.width() * s) / 2, (height() - sheet_.paperMm.height() * s) / 2);
}

QRectF LabelSheetPicture::labelRect(int n) const {
    if (n < 1 || n > static_cast<int>(labels_.size())) return {};
    const double s = scale();
    const QRectF& r = labels_[n - 1];
    return QRectF(origin() + r.topLeft() * s, r.size() * s);
}

int LabelSheetPicture::labelAt(QPointF point) const {
    for (int n = 1; n <= static_cast<int>(labels_.size()); ++n) {
        if (labelRect(n).contains(point)) return n;
    }
    return 0;
}

void LabelSheetPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!hasSheet_) return;
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = scale();
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(origin(), sheet_.paperMm * s));
    QFont font = painter.font();
    font.setPixelSize(std::clamp(static_cast<int>(std::min(labels_.front().width(), labels_.front().height()) * s / 3), 6, 14));
    painter.setFont(font);
    for (int n = 1; n <= static_cast<int>(labels_.size()); ++n) {
        const QRectF box = labelRect(n);
        const bool used = n < start_;
        const bool first = n == start_;
        painter.setPen(QPen(first ? QColor(200, 30, 30) : QColor(120, 120, 120), first ? 2 : 1));
        painter.setBrush(used ? QColor(200, 200, 200) : first ? QColor(255, 220, 220) : QColor(255, 255, 255));
        const QTransform toWidget = QTransform::fromTranslate(origin().x(), origin().y()).scale(s, s);
        painter.drawPath(toWidget.map(sheet_.outline(labels_[n - 1])));
        painter.setPen(used ? QColor(130, 130, 130) : Qt::black);
        painter.drawText(box, Qt::AlignCenter, QString::number(n));
    }
}

void LabelSheetPicture::mousePressEvent(QMouseEvent* event) {
    const int n = labelAt(event->position());
    if (n == 0) return;
    setStart(n);
    emit startChosen(n);
}

}  // namespace pemo
