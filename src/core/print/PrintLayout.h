#pragma once

#include <QSize>
#include <QSizeF>
#include <QString>
#include <vector>

#include "PrintMode.h"
#include "PrintSettings.h"
#include "SheetLayout.h"

namespace pemo {

class CPatDoc;
class InfoRecord;

// The imposition of a print job: how many pages it has and where every sign lands on
// each page. Nothing here draws; PrintJob renders what a SheetLayout describes.
//
// Placement (millimetres on the sheet's printable area):
//  - template (the current record, every block printed, whether in the queue or not),
//    by item, by copies: one sign a sheet at actual size, centred; a sign
//    larger than the sheet is turned a quarter when that lets it print larger, and
//    reduced (keeping proportions) when it still does not fit;
//  - proof a×b: a columns × b rows of equal cells; each sign is reduced to fit its cell
//    less a small gap (never enlarged), centred in it, with a thin frame around it;
//  - tile: each sign at actual size, cut into columns × rows sheets, row by row; the
//    sign's top-left corner lies at the printable area's top-left corner of the first
//    sheet, and short marks show where the neighbouring sheet overlaps. Each sheet
//    carries a label "r<record> · <row>/<rows> · <column>/<columns>", outside the sign
//    where the sheet has room, else in the strip the next sheet covers. With turnTiles a
//    sign that needs fewer sheets turned a quarter is tiled turned;
//  - merge: copies at actual size in a cols × rows grid, centred, with short cutting
//    marks at every corner; signs of different sizes never share a sheet;
//  - labels: the copies one to a label of the label sheet, from the start label on;
//    a sign of another size than the label is scaled to fit it (proportions kept),
//    centred, and every sign is clipped to its label's shape. Label boxes are measured
//    from the sheet's corner, the printable area's origin (areaOriginMm) taken off.
// Copies follow the record list, the copies of one record one after another.
class PrintLayout {
public:
    // Counts the pages of the job. False when the job cannot be printed: refusal() then
    // says why (it is empty for a mode outside 1 to 16, which is cancelled silently).
    bool prepare(const CPatDoc& doc, const PrintSettings& settings);

    int pageCount() const { return pages_; }
    const QString& refusal() const { return refusal_; }
    const PrintMode& mode() const { return mode_; }
    const PrintSettings& settings() const { return settings_; }

    // Page k, 1 … pageCount(); an empty layout outside that range.
    SheetLayout sheet(int k) const;
    // Sheet millimetres per sign millimetre at which a prepared job prints the record's
    // sign: below 1 where a proof, a label or a small sheet shrinks it.
    double signScale(const InfoRecord& record) const;

    // Tiles across a sheet of sheetMm for a sign of signMm with the given overlap (the
    // same formula gives the rows); at least 1. The sheet must be larger than the overlap.
    static int tileCount(int sheetMm, int signMm, int overlapMm);
    // Signs across a sheet of sheetMm, signMm wide, spacingMm apart (0 when none fits).
    static int mergeCount(int sheetMm, int signMm, int spacingMm);

    // The texts of 拼版信息 and 合并信息 for the current settings.
    static QString tileInformation(const CPatDoc& doc, const PrintSettings& settings);
    static QString mergeInformation(const CPatDoc& doc, const PrintSettings& settings);

private:
    struct Queued {
        const InfoRecord* record = nullptr;
        int copies = 0;
        int number = 0;  // 1-based place in the record list
    };
    struct TileRun {
        const InfoRecord* record = nullptr;
        int number = 0;
        int columns = 1;
        int rows = 1;
        bool turned = false;
        int firstPage = 0;  // 0-based
    };
    struct MergeGroup {
        QSize signMm;
        int columns = 0;
        int rows = 0;
        std::vector<Queued> copies;
        int firstPage = 0;  // 0-based
    };

    bool refuse(const QString& message);
    bool prepareTile();
    bool prepareMerge();
    bool prepareLabels(long long copies);
    void addLabelPage(SheetLayout& sheet, int index) const;
    void addSinglePage(SheetLayout& sheet, const InfoRecord* record, bool withBackground,
                       bool templateMode) const;
    void addProofPage(SheetLayout& sheet, int index) const;
    // A proof's cell, and the box within it a sign is shrunk into.
    QSizeF proofCell() const;
    QSizeF proofBox() const;
    void addTilePage(SheetLayout& sheet, int index) const;
    void addTileLabel(SheetLayout& sheet, const TileRun& run, int row, int column,
                      const QRectF& visible) const;
    void addMergePage(SheetLayout& sheet, int index) const;
    // The record of the n-th copy (0-based) of a list of queued records.
    static const InfoRecord* copyAt(const std::vector<Queued>& list, long long n);

    PrintSettings settings_;
    PrintMode mode_;
    int pages_ = 0;
    QString refusal_;
    const InfoRecord* current_ = nullptr;
    std::vector<Queued> queue_;
    std::vector<TileRun> tiles_;
    std::vector<MergeGroup> groups_;
    std::vector<QRectF> labelBoxes_;  // on the sheet, areaOriginMm taken off
    int startLabel_ = 1;
};

}  // namespace pemo
