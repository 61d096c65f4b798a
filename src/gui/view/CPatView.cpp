#include "CPatView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>

#include "CustomPageSizeDialog.h"
#include "gui/canvas/CPatCanvas.h"
#include "core/document/CPatDoc.h"
#include "core/document/PageSizes.h"
#include "core/document/ViewGeometry.h"

namespace pemo {

namespace {

const QColor kGround(128, 128, 128);
constexpr int kScrollLine = 10;

void setBarRange(QScrollBar* bar, int content, int client) {
    bar->setRange(0, std::max(0, content - client));
    bar->setPageStep(std::max(1, client));
    bar->setSingleStep(kScrollLine);
}

}  // namespace

CPatView::CPatView(CPatDoc& doc, QWidget* parent) : QAbstractScrollArea(parent), doc_(doc) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_ = new CPatCanvas(*this, viewport());
    setFocusProxy(canvas_);
    setMinimumSize(200, 200);
}

int32_t CPatView::armedTool() const { return canvas_->armedKind(); }

void CPatView::setArmedTool(int32_t kind) { canvas_->setArmedKind(kind); }

void CPatView::armBarcode(const BarcodeRequest& request) { canvas_->armBarcode(request); }

DrawingStyle& CPatView::drawingStyle() { return canvas_->drawingStyle(); }

int CPatView::pixelsPerInch() const {
    return logicalDpiY();
}

InfoRecord* CPatView::currentRecord() const {
    return doc_.currentRecord();
}

QSize CPatView::actualPageSize() const {
    const InfoRecord* record = currentRecord();
    if (!record) return QSize();
    return ViewGeometry::actualSize(record->widthTw, record->heightTw, pixelsPerInch());
}

QRect CPatView::pageRect() const {
    return canvas_->geometry();
}

void CPatView::showCurrentRecord() {
    fitPage();
    canvas_->refresh();
}

QSize CPatView::setScrollRange(QSize page) {
    QScrollBar* hbar = horizontalScrollBar();
    QScrollBar* vbar = verticalScrollBar();
    const int hExtent = hbar->sizeHint().height();
    const int vExtent = vbar->sizeHint().width();
    // The viewport without scroll bars.
    QSize full = maximumViewportSize();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) full.rwidth() += vExtent;
    if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) full.rheight() += hExtent;

    bool needH = page.width() > full.width();
    const bool needV = page.height() > full.height() - (needH ? hExtent : 0);
    if (needV && !needH) needH = page.width() > full.width() - vExtent;
    {
        QScopedValueRollback guard(placing_, true);
        setHorizontalScrollBarPolicy(needH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(needV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    // The client area again, now that the scroll bars have come or gone.
    QSize client(full.width() - (needV ? vExtent : 0), full.height() - (needH ? hExtent : 0));
    if (isVisible()) client = viewport()->size();
    setBarRange(hbar, page.width(), client.width());
    setBarRange(vbar, page.height(), client.height());
    return client;
}

void CPatView::placeCanvas() {
    canvas_->move(pageOrigin_ -
                  QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
}

void CPatView::layoutPage(QSize size) {
    const QSize client = setScrollRange(size);
    pageOrigin_ = ViewGeometry::centredOrigin(size, client);
    canvas_->resize(size);
    placeCanvas();
}

void CPatView::showPageAt(QSize size) {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    layoutPage(size);
    zoom_ = ViewGeometry::zoomFor(size.width(), actualPageSize());
}

void CPatView::fitPage() {
    const QSize actual = actualPageSize();
    const QSize client = viewport()->size();
    if (actual.isEmpty() || client.isEmpty()) return;
    fitMode_ = true;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    const QSize again = setScrollRange(ViewGeometry::fitSize(actual, client));
    const QRect page = ViewGeometry::fitRect(actual, again);
    setScrollRange(page.size());
    pageOrigin_ = page.topLeft();
    canvas_->resize(page.size());
    placeCanvas();
    zoom_ = ViewGeometry::zoomFor(page.width(), actual);
}

void CPatView::showActualSize() {
    const QSize actual = actualPageSize();
    if (actual.isEmpty() || viewport()->size().isEmpty()) return;
    fitMode_ = false;
    showPageAt(actual);
    canvas_->refresh();
}

void CPatView::zoomIn() {
    const QSize actual = actualPageSize();
    if (actual.isEmpty() || viewport()->size().isEmpty()) return;
    const std::optional<QSize> size = ViewGeometry::zoomInSize(canvas_->width(), actual);
    if (!size) return;
    fitMode_ = false;
    showPageAt(*size);
    canvas_->refresh();
}

void CPatView::zoomOut() {
    const QSize actual = actualPageSize();
    const QSize client = viewport()->size();
    if (actual.isEmpty() || client.isEmpty()) return;
    fitMode_ = false;
    showPageAt(ViewGeometry::zoomOutSize(canvas_->width(), actual, client));
    canvas_->refresh();
}

void CPatView::setShowAlignmentLines(bool on) {
    showAlignmentLines_ = on;
    canvas_->refresh();
}

void CPatView::setShowFrameLines(bool on) {
    showFrameLines_ = on;
    canvas_->refresh();
}

bool CPatView::templateMode() const { return doc_.templateMode(); }

void CPatView::setTemplateMode(bool on) {
    doc_.setTemplateMode(on);
    emit templateModeChanged(on);
    fitPage();
    canvas_->refresh();
}

void CPatView::setPageSize(int widthMm, int heightMm) {
    InfoRecord* record = currentRecord();
    if (!record) return;
    record->setPageSize(widthMm, heightMm);
    doc_.setModified();
    showCurrentRecord();
}

void CPatView::setStandardPageSize(int index) {
    const InfoRecord* record = currentRecord();
    if (!record) return;
    const QSize size = PageSizes::keepingOrientation(index, record->widthMm, record->heightMm);
    if (!size.isEmpty()) setPageSize(size.width(), size.height());
}

void CPatView::customPageSize() {
    const InfoRecord* record = currentRecord();
    if (!record) return;
    CustomPageSizeDialog dialog(record->widthMm, record->heightMm, this);
    if (dialog.exec() != QDialog::Accepted) return;
    setPageSize(dialog.widthMm(), dialog.heightMm());
}

void CPatView::rotatePage() {
    const InfoRecord* record = currentRecord();
    if (!record) return;
    setPageSize(record->heightMm, record->widthMm);
}

void CPatView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), kGround);
}

void CPatView::resizeEvent(QResizeEvent*) {
    if (placing_) return;
    if (fitMode_) {
        fitPage();
    } else if (!canvas_->size().isEmpty()) {
        layoutPage(canvas_->size());
    }
    canvas_->update();
}

void CPatView::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (initialised_) return;
    // The first showing: the whole page, now that the window has its size.
    initialised_ = true;
    fitPage();
}

void CPatView::scrollContentsBy(int, int) {
    placeCanvas();
}

}  // namespace pemo
