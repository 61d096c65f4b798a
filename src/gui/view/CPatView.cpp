#include "CPatView.h"

#include <QPainter>

#include "document/CPatDoc.h"

namespace pemo {

namespace {
constexpr int kMargin = 10;
const QColor kGround(128, 128, 128);
}  // namespace

CPatView::CPatView(CPatDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 200);
}

void CPatView::setTemplateMode(bool on) {
    templateMode_ = on;
    if (InfoRecord* record = doc_.currentRecord()) {
        record->refreshPlaceholders(on, doc_.placeholderSources());
    }
    update();
}

void CPatView::showCurrentRecord() { update(); }

QRect CPatView::pageRect() const {
    const InfoRecord* record = doc_.currentRecord();
    if (!record || record->widthTw <= 0 || record->heightTw <= 0) return QRect();
    const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const double zoom = std::min(double(area.width()) / record->widthTw,
                                 double(area.height()) / record->heightTw);
    const QSize size(int(record->widthTw * zoom), int(record->heightTw * zoom));
    return QRect(area.left() + (area.width() - size.width()) / 2,
                 area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

void CPatView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kGround);
    const QRect page = pageRect();
    if (page.isEmpty()) return;
    painter.fillRect(page.translated(3, 3), QColor(80, 80, 80));
    painter.fillRect(page, Qt::white);
}

}  // namespace pemo
