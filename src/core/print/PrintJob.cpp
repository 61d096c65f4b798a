#include "PrintJob.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <limits>

#include "PrintMode.h"
#include "core/blocks/Twips.h"
#include "core/document/CPatDoc.h"
#include "core/document/PageDrawing.h"
#include "core/pictures/StoredPicture.h"

namespace pemo {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kMarkWidthMm = 0.15;
const QColor kMarkColour(90, 90, 90);
// Height of the tile labels' letters.
constexpr double kLabelTextMm = 2.2;

bool shows(const SheetLayout& sheet, const QByteArray& key) {
    return std::any_of(sheet.signs.begin(), sheet.signs.end(), [&](const SignPlacement& s) {
        return s.withBackground && s.record->background.key == key;
    });
}

}  // namespace

PrintJob::~PrintJob() {
    releaseBackgroundsNotOn(SheetLayout());
    releasePicturesDoneAfter(std::numeric_limits<int>::max());
}

void PrintJob::releasePicturesDoneAfter(int k) const {
    if (!picturePagesKnown_) {
        if (k == std::numeric_limits<int>::max()) return;
        for (int page = 1; page <= pageCount(); ++page) {
            for (const SignPlacement& sign : layout_.sheet(page).signs) {
                for (const auto& block : sign.record->blocks) {
                    const QByteArray key = block->pictureKey();
                    if (!key.isEmpty()) lastPageOfPicture_[key] = page;
                }
            }
        }
        picturePagesKnown_ = true;
    }
    // A page drawn again (a preview) decodes its pictures again and frees them again.
    for (const auto& [key, lastPage] : lastPageOfPicture_) {
        if (lastPage > k) continue;
        if (StoredPicture* entry = doc_.images.entry(key)) entry->releasePicture();
    }
}

bool PrintJob::prepare(const PrintSettings& settings) {
    const std::optional<PrintMode> mode = PrintMode::fromCode(settings.mode);
    placeholders_.reset();
    placeholders_.emplace(doc_, mode && mode->kind == PrintMode::Kind::Template);
    return layout_.prepare(doc_, settings);
}

void PrintJob::releaseBackgroundsNotOn(const SheetLayout& sheet) const {
    for (auto key = decoded_.begin(); key != decoded_.end();) {
        if (shows(sheet, *key)) {
            ++key;
            continue;
        }
        if (StoredPicture* entry = doc_.backgrounds.entry(*key)) entry->releasePicture();
        key = decoded_.erase(key);
    }
}

void PrintJob::drawLabels(QPainter& painter, const SheetLayout& sheet, int ppi) {
    if (sheet.labels.empty()) return;
    const auto px = [ppi](double mm) { return mm * ppi / kMmPerInch; };
    painter.save();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(px(kLabelTextMm))));
    painter.setFont(font);
    for (const SheetLabel& label : sheet.labels) {
        const QRectF box(px(label.box.left()), px(label.box.top()), px(label.box.width()),
                         px(label.box.height()));
        painter.fillRect(box, Qt::white);
        painter.setPen(kMarkColour);
        painter.drawText(box, Qt::AlignCenter, label.text);
    }
    painter.restore();
}

void PrintJob::renderPage(QPainter& painter, int k) const {
    const SheetLayout sheet = layout_.sheet(k);
    releaseBackgroundsNotOn(sheet);
    for (const SignPlacement& sign : sheet.signs) {
        const QByteArray& key = sign.record->background.key;
        const StoredPicture* entry = sign.withBackground ? doc_.backgrounds.entry(key) : nullptr;
        if (entry && !entry->isDecoded() && std::find(decoded_.begin(), decoded_.end(), key) == decoded_.end()) {
            decoded_.push_back(key);
        }
    }
    const int ppi = devicePixelsPerInch(painter);
    const auto px = [ppi](double mm) { return static_cast<int>(std::lround(mm * ppi / kMmPerInch)); };
    const auto pxRect = [&](const QRectF& r) {
        return QRect(QPoint(px(r.left()), px(r.top())), QPoint(px(r.right()) - 1, px(r.bottom()) - 1));
    };

    for (const SignPlacement& sign : sheet.signs) {
        PageDrawOptions options;
        options.directMode = direct_;
        options.dotsPerInch = deviceDots_;
        options.zoom = sign.scale;
        options.withBackground = sign.withBackground;
        options.templateMode = sign.templateMode;
        const QSize size(toDevice(sign.record->widthTw, ppi, sign.scale),
                         toDevice(sign.record->heightTw, ppi, sign.scale));
        painter.save();
        if (!sign.shape.isEmpty()) {
            // A label's shape: the sign shows inside it only, and inside its visible part.
            QPainterPath visible;
            visible.addRect(sign.visible);
            const QPainterPath shape = sign.shape.intersected(visible);
            painter.setClipPath(QTransform::fromScale(ppi / kMmPerInch, ppi / kMmPerInch).map(shape),
                                Qt::IntersectClip);
            options.clippedByCaller = true;
        }
        if (sign.turned) {
            // A quarter turn clockwise about the rectangle's top-right corner: the sheet's
            // (x, y) is the sign's (y − top, right − x).
            painter.translate(px(sign.rect.right()), px(sign.rect.top()));
            painter.rotate(90);
            options.target = QRect(QPoint(0, 0), size);
            const QRectF& v = sign.visible;
            options.clip = pxRect(QRectF(QPointF(v.top() - sign.rect.top(), sign.rect.right() - v.right()),
                                         QSizeF(v.height(), v.width())));
        } else {
            options.target = QRect(QPoint(px(sign.rect.left()), px(sign.rect.top())), size);
            options.clip = pxRect(sign.visible);
        }
        drawPage(*sign.record, doc_.backgrounds, painter, options);
        painter.restore();
    }
    releasePicturesDoneAfter(k);
    drawLabels(painter, sheet, ppi);

    if (sheet.marks.empty() && sheet.outlines.empty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kMarkColour, std::max(1.0, kMarkWidthMm * ppi / kMmPerInch)));
    for (const QLineF& line : sheet.marks) {
        painter.drawLine(QPointF(line.p1().x() * ppi / kMmPerInch, line.p1().y() * ppi / kMmPerInch),
                         QPointF(line.p2().x() * ppi / kMmPerInch, line.p2().y() * ppi / kMmPerInch));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    const QTransform toDevice = QTransform::fromScale(ppi / kMmPerInch, ppi / kMmPerInch);
    for (const QPainterPath& outline : sheet.outlines) painter.drawPath(toDevice.map(outline));
    painter.restore();
}

}  // namespace pemo
