#include "PrintLayout.h"

#include <algorithm>
#include <climits>

#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"
#include "core/labels/LabelLayout.h"

namespace pemo {

namespace {

// The gap left around a reduced sign inside its proof cell, each side.
constexpr double kProofCellGapMm = 2.0;
// Length of the tile overlap marks and the longest merge cutting mark.
constexpr double kTileMarkMm = 5.0;
constexpr double kCutMarkMm = 3.0;
// Tile labels: their height, the width a character takes, and the space around them.
constexpr double kLabelHeightMm = 3.0;
constexpr double kLabelCharMm = 1.4;
constexpr double kLabelPadMm = 0.5;

QSize signSizeMm(const InfoRecord& record) {
    return QSize(std::max(1, record.widthMm), std::max(1, record.heightMm));
}

// The page's exact size (its twips), for signs that must meet a label's size.
QSizeF exactSizeMm(const InfoRecord& record) {
    constexpr double kMmPerTwip = 25.4 / 1440;
    return QSizeF(std::max(1, record.widthTw) * kMmPerTwip, std::max(1, record.heightTw) * kMmPerTwip);
}

struct Fit {
    double scale = 1.0;
    bool turned = false;
};

// The largest scale (at most 1) at which the sign fits the box, upright or, when
// allowed and better, turned a quarter.
Fit fitSign(QSizeF sign, QSizeF box, bool mayTurn) {
    const double upright =
        std::min({1.0, box.width() / sign.width(), box.height() / sign.height()});
    if (mayTurn) {
        const double turned =
            std::min({1.0, box.width() / sign.height(), box.height() / sign.width()});
        if (turned > upright) return {turned, true};
    }
    return {upright, false};
}

void addFrame(std::vector<QLineF>& marks, const QRectF& r) {
    marks.emplace_back(r.topLeft(), r.topRight());
    marks.emplace_back(r.topRight(), r.bottomRight());
    marks.emplace_back(r.bottomRight(), r.bottomLeft());
    marks.emplace_back(r.bottomLeft(), r.topLeft());
}

// Short lines on the prolongations of a sign's edges, outside its corners.
void addCutMarks(std::vector<QLineF>& marks, const QRectF& r, double length) {
    if (length <= 0) return;
    for (const QPointF c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
        const double dx = c.x() == r.left() ? -length : length;
        const double dy = c.y() == r.top() ? -length : length;
        marks.emplace_back(c + QPointF(dx, 0), c + QPointF(dx / 3, 0));
        marks.emplace_back(c + QPointF(0, dy), c + QPointF(0, dy / 3));
    }
}

long long ceilDiv(long long a, long long b) { return (a + b - 1) / b; }

}  // namespace

int PrintLayout::tileCount(int sheetMm, int signMm, int overlapMm) {
    // ⌈(sign − overlap) / (sheet − overlap)⌉; a sign narrower than the overlap still
    // needs its one sheet.
    return std::max(1, (sheetMm + signMm - 2 * overlapMm - 1) / (sheetMm - overlapMm));
}

int PrintLayout::mergeCount(int sheetMm, int signMm, int spacingMm) {
    return std::max(0, (sheetMm + spacingMm) / (signMm + spacingMm));
}

bool PrintLayout::refuse(const QString& message) {
    refusal_ = message;
    pages_ = 0;
    return false;
}

bool PrintLayout::prepare(const CPatDoc& doc, const PrintSettings& settings) {
    settings_ = settings;
    pages_ = 0;
    refusal_.clear();
    queue_.clear();
    tiles_.clear();
    groups_.clear();
    labelBoxes_.clear();
    current_ = doc.currentRecord();

    const std::optional<PrintMode> mode = PrintMode::fromCode(settings.mode);
    if (!mode) return false;
    mode_ = *mode;

    if (settings.sheetMm.width() <= 0 || settings.sheetMm.height() <= 0) {
        return refuse(QString::fromUtf8("纸张的可打印范围为空，无法打印。"));
    }
    if (mode_.kind == PrintMode::Kind::Template) {
        if (!current_) return refuse(QString::fromUtf8("没有当前信息，无法打印模板。"));
        pages_ = 1;
        return true;
    }

    long long total = 0;
    for (const auto& r : doc.records) {
        if (r->copies == 0) continue;
        queue_.push_back({r.get(), std::max(0, r->copies), doc.indexOf(r.get()) + 1});
        total += std::max(0, r->copies);
    }
    if (queue_.empty()) {
        return refuse(QString::fromUtf8("打印队列是空的：请先在信息表中给要打印的信息设置份数。"));
    }

    long long pages = 0;
    switch (mode_.kind) {
    case PrintMode::Kind::Template: break;
    case PrintMode::Kind::Proof:
        pages = ceilDiv(static_cast<long long>(queue_.size()), mode_.columns * mode_.rows);
        break;
    case PrintMode::Kind::ByItem: pages = static_cast<long long>(queue_.size()); break;
    case PrintMode::Kind::ByCopies: pages = total; break;
    case PrintMode::Kind::Tile: return prepareTile();
    case PrintMode::Kind::Merge: return prepareMerge();
    case PrintMode::Kind::Labels: return prepareLabels(total);
    }
    if (pages <= 0) return refuse(QString::fromUtf8("打印队列中的信息份数都是 0，没有可打印的内容。"));
    if (pages > INT_MAX) return refuse(QString::fromUtf8("要打印的页数太多。"));
    pages_ = static_cast<int>(pages);
    return true;
}

bool PrintLayout::prepareTile() {
    const int o = std::max(0, settings_.tileOverlapMm);
    const QSize sheet = settings_.sheetMm;
    if (sheet.width() <= o || sheet.height() <= o) {
        return refuse(QString::fromUtf8("纸张的可打印范围（%1×%2 毫米）不大于拼版重叠（%3 毫米），无法拼版打印。")
                          .arg(sheet.width())
                          .arg(sheet.height())
                          .arg(o));
    }
    long long pages = 0;
    for (const Queued& q : queue_) {
        const QSize sign = signSizeMm(*q.record);
        TileRun run;
        run.record = q.record;
        run.number = q.number;
        run.columns = tileCount(sheet.width(), sign.width(), o);
        run.rows = tileCount(sheet.height(), sign.height(), o);
        if (settings_.turnTiles) {
            const int columns = tileCount(sheet.width(), sign.height(), o);
            const int rows = tileCount(sheet.height(), sign.width(), o);
            if (static_cast<long long>(columns) * rows < static_cast<long long>(run.columns) * run.rows) {
                run.columns = columns;
                run.rows = rows;
                run.turned = true;
            }
        }
        run.firstPage = static_cast<int>(pages);
        pages += static_cast<long long>(run.columns) * run.rows;
        if (pages > INT_MAX) return refuse(QString::fromUtf8("要打印的页数太多。"));
        tiles_.push_back(run);
    }
    pages_ = static_cast<int>(pages);
    return true;
}

bool PrintLayout::prepareMerge() {
    const int s = std::max(0, settings_.mergeSpacingMm);
    const QSize sheet = settings_.sheetMm;
    for (const Queued& q : queue_) {
        const QSize sign = signSizeMm(*q.record);
        auto group = std::find_if(groups_.begin(), groups_.end(),
                                  [&](const MergeGroup& g) { return g.signMm == sign; });
        if (group == groups_.end()) {
            MergeGroup g;
            g.signMm = sign;
            g.columns = mergeCount(sheet.width(), sign.width(), s);
            g.rows = mergeCount(sheet.height(), sign.height(), s);
            if (g.columns == 0 || g.rows == 0) {
                return refuse(QString::fromUtf8("%1×%2 毫米的标签在可打印范围为 %3×%4 毫米的纸上一张也放不下，无法合并打印。")
                                  .arg(sign.width())
                                  .arg(sign.height())
                                  .arg(sheet.width())
                                  .arg(sheet.height()));
            }
            groups_.push_back(std::move(g));
            group = groups_.end() - 1;
        }
        group->copies.push_back(q);
    }
    long long pages = 0;
    for (MergeGroup& g : groups_) {
        long long copies = 0;
        for (const Queued& q : g.copies) copies += q.copies;
        g.firstPage = static_cast<int>(pages);
        pages += ceilDiv(copies, static_cast<long long>(g.columns) * g.rows);
        if (pages > INT_MAX) return refuse(QString::fromUtf8("要打印的页数太多。"));
    }
    if (pages <= 0) return refuse(QString::fromUtf8("打印队列中的信息份数都是 0，没有可打印的内容。"));
    pages_ = static_cast<int>(pages);
    return true;
}

bool PrintLayout::prepareLabels(long long copies) {
    const LabelTemplate* label = settings_.labelSheet.get();
    if (!label || label->labelsPerSheet() <= 0) return refuse(QString::fromUtf8("请先选择标签纸。"));
    const int perSheet = label->labelsPerSheet();
    if (settings_.startLabel < 1 || settings_.startLabel > perSheet) {
        return refuse(QString::fromUtf8("起始标签 %1 不在这种标签纸上（每张 %2 个标签）。")
                          .arg(settings_.startLabel)
                          .arg(perSheet));
    }
    startLabel_ = settings_.startLabel;
    const long long pages = LabelLayout(perSheet, startLabel_).pageCount(copies);
    if (pages <= 0) return refuse(QString::fromUtf8("打印队列中的信息份数都是 0，没有可打印的内容。"));
    if (pages > INT_MAX) return refuse(QString::fromUtf8("要打印的页数太多。"));
    for (const QRectF& box : label->labelRects()) labelBoxes_.push_back(box.translated(-settings_.areaOriginMm));
    pages_ = static_cast<int>(pages);
    return true;
}

void PrintLayout::addLabelPage(SheetLayout& sheet, int index) const {
    const LabelTemplate& label = *settings_.labelSheet;
    const LabelLayout layout(static_cast<int>(labelBoxes_.size()), startLabel_);
    for (size_t slot = 0; slot < labelBoxes_.size(); ++slot) {
        const QRectF& box = labelBoxes_[slot];
        if (settings_.labelOutlines) sheet.outlines.push_back(label.outline(box));
        const long long n = layout.itemAt(index, static_cast<int>(slot));
        const InfoRecord* record = n < 0 ? nullptr : copyAt(queue_, n);
        if (!record) continue;
        SignPlacement p;
        p.record = record;
        p.rect = LabelLayout::fit(exactSizeMm(*record), box, &p.scale);
        p.visible = box.intersected(p.rect);
        p.withBackground = mode_.withBackground;
        if (label.shape != LabelTemplate::Shape::Rectangle || label.cornerMm > 0) p.shape = label.outline(box);
        sheet.signs.push_back(p);
    }
}

const InfoRecord* PrintLayout::copyAt(const std::vector<Queued>& list, long long n) {
    for (const Queued& q : list) {
        if (n < q.copies) return q.record;
        n -= q.copies;
    }
    return nullptr;
}

SheetLayout PrintLayout::sheet(int k) const {
    SheetLayout sheet;
    if (k < 1 || k > pages_) return sheet;
    const int index = k - 1;
    switch (mode_.kind) {
    case PrintMode::Kind::Template:
        addSinglePage(sheet, current_, true, true);
        break;
    case PrintMode::Kind::ByItem:
        addSinglePage(sheet, queue_.at(index).record, mode_.withBackground, false);
        break;
    case PrintMode::Kind::ByCopies:
        addSinglePage(sheet, copyAt(queue_, index), mode_.withBackground, false);
        break;
    case PrintMode::Kind::Proof: addProofPage(sheet, index); break;
    case PrintMode::Kind::Tile: addTilePage(sheet, index); break;
    case PrintMode::Kind::Merge: addMergePage(sheet, index); break;
    case PrintMode::Kind::Labels: addLabelPage(sheet, index); break;
    }
    return sheet;
}

void PrintLayout::addSinglePage(SheetLayout& sheet, const InfoRecord* record, bool withBackground,
                                bool templateMode) const {
    if (!record) return;
    const QSizeF area = settings_.sheetMm;
    const QSizeF sign = signSizeMm(*record);
    const Fit fit = fitSign(sign, area, true);
    const QSizeF extent = (fit.turned ? sign.transposed() : sign) * fit.scale;
    SignPlacement p;
    p.record = record;
    p.rect = QRectF(QPointF((area.width() - extent.width()) / 2, (area.height() - extent.height()) / 2),
                    extent);
    p.scale = fit.scale;
    p.turned = fit.turned;
    p.visible = QRectF(QPointF(0, 0), area);
    p.withBackground = withBackground;
    p.templateMode = templateMode;
    sheet.signs.push_back(p);
}

QSizeF PrintLayout::proofCell() const {
    const QSizeF area = settings_.sheetMm;
    return QSizeF(area.width() / mode_.columns, area.height() / mode_.rows);
}

QSizeF PrintLayout::proofBox() const {
    const QSizeF cell = proofCell();
    return QSizeF(std::max(1.0, cell.width() - 2 * kProofCellGapMm), std::max(1.0, cell.height() - 2 * kProofCellGapMm));
}

double PrintLayout::signScale(const InfoRecord& record) const {
    switch (mode_.kind) {
    case PrintMode::Kind::Template:
    case PrintMode::Kind::ByItem:
    case PrintMode::Kind::ByCopies: return fitSign(signSizeMm(record), settings_.sheetMm, true).scale;
    case PrintMode::Kind::Proof: return fitSign(signSizeMm(record), proofBox(), false).scale;
    case PrintMode::Kind::Labels: {
        if (labelBoxes_.empty()) return 1.0;
        double scale = 1.0;
        LabelLayout::fit(exactSizeMm(record), labelBoxes_.front(), &scale);
        return scale;
    }
    case PrintMode::Kind::Tile:
    case PrintMode::Kind::Merge: break;
    }
    return 1.0;
}

void PrintLayout::addProofPage(SheetLayout& sheet, int index) const {
    const int perSheet = mode_.columns * mode_.rows;
    const QSizeF cell = proofCell();
    const QSizeF box = proofBox();
    for (int i = 0; i < perSheet; ++i) {
        const size_t q = static_cast<size_t>(index) * perSheet + i;
        if (q >= queue_.size()) break;
        const InfoRecord* record = queue_[q].record;
        const QSizeF sign = signSizeMm(*record);
        const double scale = fitSign(sign, box, false).scale;
        const QSizeF extent = sign * scale;
        const QPointF cellOrigin((i % mode_.columns) * cell.width(), (i / mode_.columns) * cell.height());
        SignPlacement p;
        p.record = record;
        p.rect = QRectF(cellOrigin + QPointF((cell.width() - extent.width()) / 2,
                                             (cell.height() - extent.height()) / 2),
                        extent);
        p.scale = scale;
        p.visible = QRectF(cellOrigin, cell);
        sheet.signs.push_back(p);
        addFrame(sheet.marks, p.rect);
    }
}

void PrintLayout::addTilePage(SheetLayout& sheet, int index) const {
    auto run = std::upper_bound(tiles_.begin(), tiles_.end(), index,
                                [](int i, const TileRun& r) { return i < r.firstPage; });
    --run;
    const int t = index - run->firstPage;
    const int column = t % run->columns;
    const int row = t / run->columns;
    const double o = std::max(0, settings_.tileOverlapMm);
    const QSizeF area = settings_.sheetMm;
    const QSizeF upright = signSizeMm(*run->record);
    const QSizeF sign = run->turned ? upright.transposed() : upright;

    SignPlacement p;
    p.record = run->record;
    p.rect = QRectF(QPointF(-column * (area.width() - o), -row * (area.height() - o)), sign);
    p.turned = run->turned;
    p.visible = QRectF(QPointF(0, 0), area).intersected(p.rect);
    sheet.signs.push_back(p);
    addTileLabel(sheet, *run, row, column, p.visible);

    if (o <= 0) return;
    const double w = area.width();
    const double h = area.height();
    const double m = std::min(kTileMarkMm, std::min(w, h) / 4);
    // Where the next sheet's edge goes (its overlap starts), and on the next sheet where
    // the previous one ends.
    auto vertical = [&](double x) {
        sheet.marks.emplace_back(QPointF(x, 0), QPointF(x, m));
        sheet.marks.emplace_back(QPointF(x, h - m), QPointF(x, h));
    };
    auto horizontal = [&](double y) {
        sheet.marks.emplace_back(QPointF(0, y), QPointF(m, y));
        sheet.marks.emplace_back(QPointF(w - m, y), QPointF(w, y));
    };
    if (column + 1 < run->columns) vertical(w - o);
    if (column > 0) vertical(o);
    if (row + 1 < run->rows) horizontal(h - o);
    if (row > 0) horizontal(o);
}

void PrintLayout::addTileLabel(SheetLayout& sheet, const TileRun& run, int row, int column,
                               const QRectF& visible) const {
    const QString text = QString::fromUtf8("r%1 · %2/%3 · %4/%5")
                             .arg(run.number)
                             .arg(row + 1)
                             .arg(run.rows)
                             .arg(column + 1)
                             .arg(run.columns);
    const double o = std::max(0, settings_.tileOverlapMm);
    const double w = settings_.sheetMm.width();
    const double h = settings_.sheetMm.height();
    const QSizeF size(kLabelCharMm * text.size() + 2 * kLabelPadMm, kLabelHeightMm);
    // Below the sign, or right of it, where the sheet shows no sign; else in the strip along
    // the bottom that the next row's sheet covers; else over the sign's bottom-left corner.
    QPointF at(column > 0 ? o + kLabelPadMm : kLabelPadMm, h - size.height());
    if (visible.bottom() + kLabelPadMm + size.height() <= h) {
        at.setY(visible.bottom() + kLabelPadMm);
    } else if (visible.right() + kLabelPadMm + size.width() <= w) {
        at.setX(visible.right() + kLabelPadMm);
    }
    sheet.labels.push_back({QRectF(at, size), text});
}

void PrintLayout::addMergePage(SheetLayout& sheet, int index) const {
    auto group = std::upper_bound(groups_.begin(), groups_.end(), index,
                                  [](int i, const MergeGroup& g) { return i < g.firstPage; });
    --group;
    const int perSheet = group->columns * group->rows;
    const double s = std::max(0, settings_.mergeSpacingMm);
    const QSizeF area = settings_.sheetMm;
    const QSizeF sign = group->signMm;
    const QSizeF grid(group->columns * sign.width() + (group->columns - 1) * s,
                      group->rows * sign.height() + (group->rows - 1) * s);
    const QPointF origin((area.width() - grid.width()) / 2, (area.height() - grid.height()) / 2);
    const long long first = static_cast<long long>(index - group->firstPage) * perSheet;
    for (int i = 0; i < perSheet; ++i) {
        const InfoRecord* record = copyAt(group->copies, first + i);
        if (!record) break;
        SignPlacement p;
        p.record = record;
        p.rect = QRectF(origin + QPointF((i % group->columns) * (sign.width() + s),
                                         (i / group->columns) * (sign.height() + s)),
                        sign);
        p.visible = p.rect;
        sheet.signs.push_back(p);
        addCutMarks(sheet.marks, p.rect, std::min(kCutMarkMm, s / 2));
    }
}

QString PrintLayout::tileInformation(const CPatDoc& doc, const PrintSettings& settings) {
    const InfoRecord* record = doc.currentRecord();
    const QSize sheet = settings.sheetMm;
    const int o = std::max(0, settings.tileOverlapMm);
    QString text = QString::fromUtf8("纸张可打印范围：%1×%2 毫米\n拼版重叠：%3 毫米\n")
                       .arg(sheet.width())
                       .arg(sheet.height())
                       .arg(o);
    if (!record) return text;
    const QSize sign = signSizeMm(*record);
    text += QString::fromUtf8("当前标签：%1×%2 毫米\n").arg(sign.width()).arg(sign.height());
    if (sheet.width() <= o || sheet.height() <= o) {
        return text + QString::fromUtf8("纸张不大于拼版重叠，无法拼版。");
    }
    int columns = tileCount(sheet.width(), sign.width(), o);
    int rows = tileCount(sheet.height(), sign.height(), o);
    QString turned;
    if (settings.turnTiles) {
        const int c = tileCount(sheet.width(), sign.height(), o);
        const int r = tileCount(sheet.height(), sign.width(), o);
        if (static_cast<long long>(c) * r < static_cast<long long>(columns) * rows) {
            columns = c;
            rows = r;
            turned = QString::fromUtf8("（标签转过来拼）");
        }
    }
    return text + QString::fromUtf8("每张标签拼成 %1 列 × %2 行，共 %3 张纸%4。")
                      .arg(columns)
                      .arg(rows)
                      .arg(columns * rows)
                      .arg(turned);
}

QString PrintLayout::mergeInformation(const CPatDoc& doc, const PrintSettings& settings) {
    const InfoRecord* record = doc.currentRecord();
    const QSize sheet = settings.sheetMm;
    const int s = std::max(0, settings.mergeSpacingMm);
    QString text = QString::fromUtf8("纸张可打印范围：%1×%2 毫米\n合并间距：%3 毫米\n")
                       .arg(sheet.width())
                       .arg(sheet.height())
                       .arg(s);
    if (!record) return text;
    const QSize sign = signSizeMm(*record);
    const int columns = mergeCount(sheet.width(), sign.width(), s);
    const int rows = mergeCount(sheet.height(), sign.height(), s);
    text += QString::fromUtf8("当前标签：%1×%2 毫米\n").arg(sign.width()).arg(sign.height());
    if (columns * rows == 0) return text + QString::fromUtf8("一张纸上一个标签也放不下，无法合并。");
    return text + QString::fromUtf8("每张纸 %1 列 × %2 行，共 %3 个标签。")
                      .arg(columns)
                      .arg(rows)
                      .arg(columns * rows);
}

}  // namespace pemo
