#include "PrintTable.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"
#include "core/records/ExportSettings.h"
#include "core/text/FontFaces.h"

namespace pemo {

namespace {

constexpr int kValueCount = ExportSettings::kTargetCount;
constexpr int kPenWidth = 2;  // device pixels

int toPixels(long long twips, int dpi) { return int(twips * dpi / 1440); }

}  // namespace

PrintTable::PrintTable(const CPatDoc& doc, Options options) {
    std::vector<const InfoRecord*> records;
    for (int r = 0; r < doc.recordCount(); ++r) {
        const InfoRecord* record = doc.recordAt(r);
        if (!options.queueOnly || record->copies != 0) records.push_back(record);
    }
    for (int v = 0; v < kValueCount; ++v) {
        bool used = options.emptyColumns;
        for (size_t r = 0; r < records.size() && !used; ++r) used = !records[r]->value(v).isEmpty();
        if (!used) continue;
        columns_.push_back(v);
        header_.emplace_back(ExportSettings::caption(v, doc.variableNames),
                             v < 10 ? kVariableWidth : kPriceWidth, true);
    }
    if (columns_.empty()) return;
    rowCount_ = int(records.size());
    rows_.reserve(records.size() * columns_.size());
    for (const InfoRecord* record : records) {
        for (int v : columns_) rows_.push_back(record->value(v));
    }
    for (const TableCell& cell : header_) headerHeight_ = std::max(headerHeight_, cell.height());
}

QString PrintTable::nothingToPrintMessage() { return QString::fromUtf8("没有可打印的信息。"); }

int PrintTable::tableWidth() const {
    int width = 0;
    for (const TableCell& cell : header_) width += cell.width();
    return width;
}

int PrintTable::rowHeight(int row) const { return heights_[size_t(row)]; }

int PrintTable::rowHeightOf(int row) const {
    int height = 0;
    for (size_t c = 0; c < columns_.size(); ++c) {
        const TableCell cell(rows_[size_t(row) * columns_.size() + c], header_[c].width(), false);
        height = std::max(height, cell.height());
    }
    return height;
}

void PrintTable::fitWidth(int width) {
    long long requested = 0;
    for (int v : columns_) requested += v < 10 ? kVariableWidth : kPriceWidth;
    headerHeight_ = 0;
    for (size_t c = 0; c < columns_.size(); ++c) {
        const int asked = columns_[c] < 10 ? kVariableWidth : kPriceWidth;
        header_[c].setWidth(requested > 0 ? int(width * (long long)asked / requested) : 0);
        headerHeight_ = std::max(headerHeight_, header_[c].height());
    }
    heights_.resize(size_t(rowCount_));
    for (int r = 0; r < rowCount_; ++r) heights_[size_t(r)] = rowHeightOf(r);
}

PrintTable::Geometry PrintTable::geometry(int dpi, int printableWidthPixels, int printableHeightPixels) {
    const int margin = int(dpi * 0.3937007874015748);
    return {dpi, margin, printableWidthPixels - 2 * margin, printableHeightPixels - 2 * margin};
}

std::vector<int> PrintTable::pageStarts(const Geometry& g) const {
    std::vector<int> starts;
    if (isEmpty() || heights_.size() != size_t(rowCount_)) return starts;
    starts.push_back(0);
    int y = g.margin + toPixels(headerHeight_, g.dpi);
    for (int r = 0; r < rowCount_; ++r) {
        y += toPixels(heights_[size_t(r)], g.dpi);
        // A row taller than the page stands alone on its page and runs past the bottom.
        if (r + 1 < rowCount_ && y + toPixels(heights_[size_t(r) + 1], g.dpi) > g.height) {
            starts.push_back(r + 1);
            y = g.margin + toPixels(headerHeight_, g.dpi);
        }
    }
    return starts;
}

void PrintTable::drawRow(QPainter& painter, const Geometry& g, int y, int height, bool header,
                         const std::function<void(int column, int x)>& drawCell) const {
    const int x = g.margin;
    const int right = x + toPixels(tableWidth(), g.dpi);
    const int bottom = y + toPixels(height, g.dpi);
    if (header) painter.drawLine(x, y, right, y);
    painter.drawLine(x, y, x, bottom);
    painter.drawLine(x, bottom, right, bottom);
    long long sum = 0;
    for (size_t c = 0; c < columns_.size(); ++c) {
        const int left = int(x + (long long)g.dpi * sum / 1440);
        drawCell(int(c), left);
        sum += header_[c].width();
        const int edge = int(x + (long long)g.dpi * sum / 1440);
        painter.drawLine(edge, y, edge, bottom);
    }
}

void PrintTable::drawPage(QPainter& painter, const Geometry& g, const std::vector<int>& pages,
                          int k) const {
    painter.save();
    painter.setPen(QPen(Qt::black, kPenWidth, Qt::SolidLine, Qt::FlatCap));
    drawRow(painter, g, g.margin, headerHeight_, true, [&](int c, int x) {
        header_[size_t(c)].draw(painter, x, g.margin, g.dpi);
    });
    int y = g.margin + toPixels(headerHeight_, g.dpi);
    const int end = size_t(k) < pages.size() ? pages[size_t(k)] : rowCount_;
    for (int r = pages[size_t(k) - 1]; r < end; ++r) {
        drawRow(painter, g, y, heights_[size_t(r)], false, [&](int c, int x) {
            TableCell::draw(painter, rows_[size_t(r) * columns_.size() + size_t(c)],
                            header_[size_t(c)].width(), false, x, y, g.dpi);
        });
        y += toPixels(heights_[size_t(r)], g.dpi);
    }
    // The footer in 10.5-point 宋体 under the printable area.
    QFont footer = FontFaces::font(Gbk::fromUnicode(QString::fromUtf8("宋体")), g.dpi * 21 / 144,
                                   false, false);
    painter.setFont(footer);
    const QString text = QString::fromUtf8("第 %1 页").arg(k);
    const QFontMetrics metrics(footer, painter.device());
    painter.drawText(g.margin + (g.width - metrics.horizontalAdvance(text)) / 2,
                     g.margin + g.height + metrics.ascent(), text);
    painter.restore();
}

int PrintTable::print(QPainter& painter, QPagedPaintDevice& device, const Progress& progress) {
    const int dpi = device.logicalDpiX();
    const Geometry g = geometry(dpi, device.width(), device.height());
    fitWidth(int((long long)g.width * 1440 / dpi));
    const std::vector<int> pages = pageStarts(g);
    for (int k = 1; k <= int(pages.size()); ++k) {
        if (k > 1) device.newPage();
        drawPage(painter, g, pages, k);
        if (progress && !progress(k)) return k;
    }
    return int(pages.size());
}

}  // namespace pemo
