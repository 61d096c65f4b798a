#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

#include "TableCell.h"

class QPagedPaintDevice;
class QPainter;

namespace pemo {

class CPatDoc;

// The record list printed as a ruled table (信息打印): one row per record, one column per
// value (the ten variables, 原价, 现价, 折扣), the header repeated at the top of every
// page and "第 %d 页" under it. Widths and heights are twips.
class PrintTable {
public:
    struct Options {
        bool emptyColumns = false;  // 空项打印: all thirteen columns
        bool queueOnly = true;      // 打印队列: only records with copies ≠ 0
    };
    // Called after each page with the pages done; false cancels the job.
    using Progress = std::function<bool(int pages)>;

    static constexpr int kVariableWidth = 4000;
    static constexpr int kPriceWidth = 2000;

    // The table of the records and columns the options choose. Empty (isEmpty) when no
    // record or no column is left; message() then says so.
    PrintTable(const CPatDoc& doc, Options options);

    bool isEmpty() const { return columns_.empty() || rowCount_ == 0; }
    static QString nothingToPrintMessage();

    int columnCount() const { return int(columns_.size()); }
    int rowCount() const { return rowCount_; }
    // The value index of each column.
    const std::vector<int>& columns() const { return columns_; }
    const std::vector<TableCell>& header() const { return header_; }
    int columnWidth(int column) const { return header_[size_t(column)].width(); }
    int tableWidth() const;
    int headerHeight() const { return headerHeight_; }
    // Once the table is fitted: the height of a row.
    int rowHeight(int row) const;

    // Scales the column widths in proportion to fill width twips and lays every row out
    // at them. A new table has its requested widths, its rows not yet laid out.
    void fitWidth(int width);

    // Where the rows go at a resolution and printable area (device pixels, margins
    // included): the first row of every page.
    struct Geometry {
        int dpi, margin, width, height;
    };
    static Geometry geometry(int dpi, int printableWidthPixels, int printableHeightPixels);
    // Needs the table fitted.
    std::vector<int> pageStarts(const Geometry& g) const;

    // Prints the whole table onto device (pages after the first through newPage), fitted
    // to its width. Returns the pages printed; fewer when progress cancelled.
    int print(QPainter& painter, QPagedPaintDevice& device, const Progress& progress = Progress());
    // Draws page k (1-based) of pages; the table must be fitted already.
    void drawPage(QPainter& painter, const Geometry& g, const std::vector<int>& pages, int k) const;

private:
    int rowHeightOf(int row) const;
    void drawRow(QPainter& painter, const Geometry& g, int y, int height, bool header,
                 const std::function<void(int column, int x)>& drawCell) const;

    std::vector<int> columns_;
    std::vector<TableCell> header_;
    int headerHeight_ = 0;
    // The rows' texts, rows × columns, and each row's height.
    int rowCount_ = 0;
    std::vector<QByteArray> rows_;
    std::vector<int> heights_;
};

}  // namespace pemo
