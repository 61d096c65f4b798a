#include "PrintCheck.h"

#include <QImage>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>

#include "PrintLayout.h"
#include "PrintMode.h"
#include "core/barcodes/BarcodeLimits.h"
#include "core/barcodes/BarcodePainter.h"
#include "core/barcodes/BarcodeSymbol.h"
#include "core/barcodes/ZintLibrary.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/blocks/Twips.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/OutputPlaceholders.h"
#include "core/document/PageDrawing.h"
#include "core/pictures/ProgramPictures.h"
#include "core/text/PriceNumber.h"
#include "core/text/RichText.h"

namespace pemo {

namespace {

// The diagonal of an A4 page, millimetres.
const double kA4Diagonal = std::hypot(210.0, 297.0);
// How much of a fixed text a finding quotes.
constexpr int kQuotedCharacters = 8;

using Kind = PrintFinding::Kind;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

bool isPlaceholderText(int32_t kind) {
    return (kind >= BlockKind::FirstVariable && kind <= BlockKind::LastVariable) ||
           (kind >= BlockKind::OriginalPrice && kind <= BlockKind::Discount) ||
           (kind >= BlockKind::FirstMallInfo && kind <= BlockKind::LastMallInfo);
}

MallInfoEntry mallEntry(const CPatDoc& doc, int32_t kind) {
    const int m = kind - BlockKind::FirstMallInfo;
    return doc.mallInfo ? doc.mallInfo->entry(m) : MallInfoList::defaultEntries().value(m);
}

// How a finding names a block: "商品名称", "现价", "文字“特价”", "商品图片" …
QString blockName(const CPatDoc& doc, const Block& block) {
    const int32_t kind = block.kind;
    if (kind >= BlockKind::FirstVariable && kind <= BlockKind::LastVariable) {
        return Gbk::toUnicode(doc.variableNames.name(kind - BlockKind::FirstVariable));
    }
    if (kind >= BlockKind::OriginalPrice && kind <= BlockKind::Discount) {
        static const char* const kPrices[] = {"原价", "现价", "折扣"};
        return u(kPrices[kind - BlockKind::OriginalPrice]);
    }
    if (kind >= BlockKind::FirstMallInfo && kind <= BlockKind::LastMallInfo) {
        return Gbk::toUnicode(mallEntry(doc, kind).name);
    }
    switch (kind) {
    case BlockKind::InsertedPicture: return u("图片");
    case BlockKind::Logo1: return u("商场Logo1");
    case BlockKind::Logo2: return u("商场Logo2");
    case BlockKind::ProductPicture: return u("商品图片");
    default: break;
    }
    if (BlockKind::isText(kind)) {
        QString text = Gbk::toUnicode(block.plainText()).simplified();
        if (text.size() > kQuotedCharacters) text = text.left(kQuotedCharacters) + u("…");
        return u("文字“%1”").arg(text);
    }
    return u("图形");
}

// Whether the laid-out text keeps inside its frame.
bool fitsFrame(const RichText& text) {
    const int across = text.isVertical() ? text.frameHeight() : text.frameWidth();
    const int down = text.isVertical() ? text.frameWidth() : text.frameHeight();
    if (text.extent() > down) return false;
    for (int i = 0; i < text.itemCount(); ++i) {
        const TextItem& item = text.item(i);
        if (item.advance > across || item.height > down) return false;
    }
    return true;
}

// Whether the text, drawn alone the way output draws it but neither turned nor clipped,
// leaves ink outside its unturned frame by more than a hair (kHairMm). The layout's cells
// are taller than the glyphs (a line of 20 points takes 20 points and the face's leading,
// its letters less), so a text whose cells pass the frame's edge may still sit inside it
// on paper. A turned block is clipped to its frame on paper, an unturned one spills: both
// lose what this finds. The frame is drawn about kInkPixels across (at least kMinimumPpi)
// in the middle of a transparent picture with room around it for a line or a column too
// many, the picture at most kMaxPixels wide and high.
bool inkLeavesFrame(const TextBlock& block, const RichText& text) {
    constexpr double kHairMm = 0.3;
    constexpr int64_t kInkPixels = 240;
    constexpr int64_t kMinimumPpi = 120;  // a hair is more than a pixel
    constexpr int64_t kMaxPixels = 3000;
    constexpr int kInkAlpha = 96;
    const int32_t widthTw = block.sizeWidth;
    const int32_t heightTw = block.sizeHeight;
    if (widthTw <= 0 || heightTw <= 0) return true;
    const int64_t longest = std::max(widthTw, heightTw);
    int64_t largestItem = 0;
    for (int i = 0; i < text.itemCount(); ++i) {
        largestItem = std::max<int64_t>({largestItem, text.item(i).height, text.item(i).advance});
    }
    const int64_t marginTw = longest / 2 + 2 * std::min(largestItem, longest);
    const int64_t sharp = std::max(kInkPixels * kTwipsPerInch / longest, kMinimumPpi);
    const int ppi = int(std::clamp<int64_t>(
        std::min(sharp, kMaxPixels * kTwipsPerInch / (longest + 2 * marginTw)), 1, 1200));
    const int w = std::max(1, toDevice(widthTw, ppi, 1.0));
    const int h = std::max(1, toDevice(heightTw, ppi, 1.0));
    const int margin = toDevice(int(marginTw), ppi, 1.0);
    QImage ink(w + 2 * margin, h + 2 * margin, QImage::Format_ARGB32_Premultiplied);
    ink.fill(Qt::transparent);
    {
        QPainter painter(&ink);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        block.drawTextUnturned(painter, margin, margin, ppi);
    }
    const int slack = std::max(1, int(std::lround(kHairMm / 25.4 * ppi)));
    const QRect allowed(margin - slack, margin - slack, w + 2 * slack, h + 2 * slack);
    for (int y = 0; y < ink.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
        for (int x = 0; x < ink.width(); ++x) {
            if (qAlpha(line[x]) >= kInkAlpha && !allowed.contains(x, y)) return true;
        }
    }
    return false;
}

// The size of the smallest character, or none for a text without characters.
std::optional<int> smallestSize(const RichText& text) {
    std::optional<int> smallest;
    for (int i = 0; i < text.itemCount(); ++i) {
        const TextItem& item = text.item(i);
        if (item.isEnd()) continue;
        if (!smallest || item.style->size < *smallest) smallest = item.style->size;
    }
    return smallest;
}

// Millimetres with at most three decimals, no trailing zeros: "0.264", "18.3".
QString millimetres(double mm) {
    QString text = QString::number(mm, 'f', 3);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text;
}

// What a barcode block lacks to be scanned once its sign is printed at `scale`: empty
// when nothing. The block's own frame is its area, unturned.
QString barcodeShortfall(const TextBlock& block, const BarcodeData& data, double scale) {
    const auto look = BarcodeStyle::lookOf(*block.content());
    if (!look) return {};
    constexpr double kMmPerTwip = 25.4 / kTwipsPerInch;
    const QRectF area(0, 0, block.sizeWidth * kMmPerTwip * scale, block.sizeHeight * kMmPerTwip * scale);
    const BarcodePainter::Fit fit = BarcodePainter::fit(area, data, look->showText);
    if (!fit.symbol) return {};
    const BarcodeLimits limits = BarcodeLimits::of(data.symbology);
    // A little under the figure still counts: frames are whole twips.
    constexpr double kTolerance = 0.999;
    if (fit.module() < limits.moduleMm * kTolerance) {
        return u("线宽 %1 毫米，至少要 %2 毫米").arg(millimetres(fit.module()), millimetres(limits.moduleMm));
    }
    const double leastHeight = limits.leastBarHeightMm(fit.barsLength());
    if (fit.barHeight() > 0 && fit.barHeight() < leastHeight * kTolerance) {
        return u("条高 %1 毫米，至少要 %2 毫米").arg(millimetres(fit.barHeight()), millimetres(leastHeight));
    }
    return {};
}

class RecordCheck {
public:
    RecordCheck(CPatDoc& doc, const InfoRecord& record, int index, bool templateMode,
                bool withBackground, double minimumPointsA4, double scale, bool& barcodeLibraryMissing,
                std::vector<PrintFinding>& out)
        : doc_(doc), record_(record), index_(index), templateMode_(templateMode),
          withBackground_(withBackground), minimumPointsA4_(minimumPointsA4), scale_(scale),
          barcodeLibraryMissing_(barcodeLibraryMissing), out_(out) {}

    void run() {
        if (!templateMode_ && std::all_of(record_.values.begin(), record_.values.end(),
                                          [](const QByteArray& v) { return v.isEmpty(); })) {
            // Whatever else the page holds, the sign is one without a product.
            add(Kind::EmptyRecord, u("信息是空的，会印出一张没有商品的标签"));
            return;
        }
        checkBackground();
        checkPrices();
        for (const auto& block : record_.blocks) {
            if (isSkippedInOutput(record_, block->kind, templateMode_)) {
                add(Kind::EmptyValue, u("%1是空的，标签上这一块不会印出").arg(blockName(doc_, *block)));
                continue;
            }
            checkMallValue(*block);
            checkPicture(*block);
            checkText(*block);
            checkPlacement(*block);
        }
    }

private:
    // Whether a stored picture gives something to draw: a JPEG is only decoded when it is
    // first drawn, and its data may fail where its header did not.
    static bool canDraw(const Picture* picture) {
        return picture && (picture->isVector() || !picture->image().isNull());
    }

    void add(Kind kind, const QString& what) {
        out_.push_back({kind, index_, u("第%1项：%2").arg(index_ + 1).arg(what)});
    }

    // A price block shows its value as a price; words there ("面议") are a mistake.
    void checkPrices() {
        if (templateMode_) return;
        for (int32_t kind = BlockKind::OriginalPrice; kind <= BlockKind::Discount; ++kind) {
            if (!record_.firstBlockOfKind(kind)) continue;
            const int index = InfoRecord::kOriginalPrice + (kind - BlockKind::OriginalPrice);
            QByteArray value = record_.value(index);
            if (value.isEmpty()) continue;
            // A discount may say so: "8.5折".
            static const QByteArray kDiscountWord = Gbk::fromUnicode(u("折"));
            if (index == InfoRecord::kDiscount && value.endsWith(kDiscountWord)) value.chop(kDiscountWord.size());
            if (PriceNumber::isNumber(value)) continue;
            static const char* const kPrices[] = {"原价", "现价", "折扣"};
            add(Kind::NotANumber, u("%1“%2”不是数字").arg(u(kPrices[index - InfoRecord::kOriginalPrice]),
                                                          Gbk::toUnicode(record_.value(index))));
        }
    }

    void checkBackground() {
        const QByteArray& key = record_.background.key;
        if (!withBackground_ || key.isEmpty()) return;
        if (!canDraw(doc_.backgrounds.find(key))) add(Kind::UnreadablePicture, u("底图无法读取"));
    }

    void checkMallValue(const Block& block) {
        if (templateMode_ || block.kind < BlockKind::FirstMallInfo || block.kind > BlockKind::LastMallInfo) {
            return;
        }
        const MallInfoEntry entry = mallEntry(doc_, block.kind);
        if (!entry.value.isEmpty()) return;
        const QString name = Gbk::toUnicode(entry.name);
        add(Kind::EmptyValue, u("商场信息“%1”是空的，标签上会印出“{%1}”").arg(name));
    }

    void checkPicture(const Block& block) {
        switch (block.kind) {
        case BlockKind::ProductPicture:
            if (templateMode_) return;
            if (block.pictureKey().isEmpty()) {
                add(Kind::MissingPicture, u("缺少商品图片"));
            } else if (!canDraw(doc_.images.find(block.pictureKey()))) {
                add(Kind::UnreadablePicture, u("商品图片无法读取"));
            }
            return;
        case BlockKind::InsertedPicture:
            if (block.pictureKey().isEmpty() || !canDraw(doc_.images.find(block.pictureKey()))) {
                add(Kind::UnreadablePicture, u("图片无法读取"));
            }
            return;
        case BlockKind::Logo1:
        case BlockKind::Logo2: {
            const auto which = block.kind == BlockKind::Logo1 ? ProgramPictures::Which::Logo1
                                                              : ProgramPictures::Which::Logo2;
            if (!ProgramPictures::picture(which)) {
                add(Kind::UnreadablePicture, u("%1的图片（%2.wmf 或 .bmp）无法读取")
                                                 .arg(blockName(doc_, block), ProgramPictures::baseName(which)));
            }
            return;
        }
        default: return;
        }
    }

    void checkText(Block& block) {
        if (!BlockKind::isText(block.kind) || !block.isLiveText()) return;
        const auto& textBlock = static_cast<const TextBlock&>(block);
        const auto* text = textBlock.content();
        if (!text) return;
        // A barcode fills its frame whatever its text's size: it must be drawn, and large
        // enough to be scanned where the job prints it.
        if (const auto barcode = textBlock.barcode()) {
            if (!ZintLibrary::loaded()) {
                barcodeLibraryMissing_ = true;
                return;
            }
            const QString problem = BarcodeSymbol::problemOf(*barcode);
            if (!problem.isEmpty()) {
                add(Kind::InvalidBarcode, u("%1的条码无效（%2），印出来只有“条码无效”的框")
                                              .arg(blockName(doc_, block), problem));
                return;
            }
            // A sample of a code of any length says nothing about the real one's size.
            if (barcode->isSample && !BarcodeFace::isNumeric(barcode->symbology)) return;
            const QString shortfall = barcodeShortfall(textBlock, *barcode, scale_);
            if (!shortfall.isEmpty()) {
                const QString scaled = scale_ < 1.0 ? u("缩到 %1% 印出，").arg(std::lround(scale_ * 100)) : QString();
                add(Kind::SmallBarcode, u("%1的条码太小，扫描枪可能读不出（%2%3）")
                                            .arg(blockName(doc_, block), scaled, shortfall));
            }
            return;
        }
        if (!fitsFrame(*text) && inkLeavesFrame(textBlock, *text)) {
            add(Kind::Overflow, u("%1的文字超出了文本框").arg(blockName(doc_, block)));
            return;
        }
        // Text that stays the same on every sign is the designer's choice; a value that
        // shrank to fit is not.
        if (!isPlaceholderText(block.kind)) return;
        const auto smallest = smallestSize(*text);
        const double minimum = legibleMinimumPoints(record_, minimumPointsA4_);
        if (smallest && *smallest < minimum) {
            add(Kind::SmallText, u("%1的字号缩到了 %2 磅，小于这张标签易读的 %3 磅")
                                     .arg(blockName(doc_, block))
                                     .arg(*smallest)
                                     .arg(minimum));
        }
    }

    void checkPlacement(const Block& block) {
        const TwipsRect f = block.frame;
        const int32_t w = record_.widthTw;
        const int32_t h = record_.heightTw;
        const int32_t left = std::min(f.left, f.right);
        const int32_t right = std::max(f.left, f.right);
        const int32_t top = std::min(f.top, f.bottom);
        const int32_t bottom = std::max(f.top, f.bottom);
        if (right <= 0 || bottom <= 0 || left >= w || top >= h) {
            add(Kind::OffPage, u("%1在页面之外，印不出来").arg(blockName(doc_, block)));
            return;
        }
        // Shapes often run off the edge on purpose (bleed); text and pictures cut by it
        // lose something.
        if (BlockKind::isGraphic(block.kind)) return;
        if (left < 0 || top < 0 || right > w || bottom > h) {
            add(Kind::OffPage, u("%1超出了页面边缘，会被裁掉一部分").arg(blockName(doc_, block)));
        }
    }

    CPatDoc& doc_;
    const InfoRecord& record_;
    int index_;
    bool templateMode_;
    bool withBackground_;
    double minimumPointsA4_;
    double scale_;
    bool& barcodeLibraryMissing_;
    std::vector<PrintFinding>& out_;
};

// "3、7、10-14": record numbers from 1, runs of three or more joined.
QString numberList(const std::vector<int>& indices) {
    QStringList parts;
    for (size_t i = 0; i < indices.size();) {
        size_t j = i;
        while (j + 1 < indices.size() && indices[j + 1] == indices[j] + 1) ++j;
        if (j - i >= 2) {
            parts << u("%1-%2").arg(indices[i] + 1).arg(indices[j] + 1);
        } else {
            for (size_t k = i; k <= j; ++k) parts << QString::number(indices[k] + 1);
        }
        i = j + 1;
    }
    return parts.join(u("、"));
}

}  // namespace

QString PrintCheck::kindName(Kind kind) {
    switch (kind) {
    case Kind::EmptyQueue: return u("打印队列为空");
    case Kind::JobRefused: return u("无法排版");
    case Kind::EmptyValue: return u("内容为空");
    case Kind::MissingPicture: return u("缺少商品图片");
    case Kind::UnreadablePicture: return u("图片无法读取");
    case Kind::SmallText: return u("字号太小");
    case Kind::Overflow: return u("文字超出");
    case Kind::OffPage: return u("超出页面");
    case Kind::InvalidBarcode: return u("条码无效");
    case Kind::SmallBarcode: return u("条码太小");
    case Kind::BarcodeLibraryMissing: return ZintLibrary::missingText();
    case Kind::NotANumber: return u("价格不是数字");
    case Kind::EmptyRecord: return u("空白信息");
    }
    return QString();
}

std::vector<PrintFindingGroup> PrintCheck::group(const std::vector<PrintFinding>& findings) {
    std::vector<PrintFindingGroup> groups;
    for (const PrintFinding& f : findings) {
        auto it = std::find_if(groups.begin(), groups.end(),
                               [&](const PrintFindingGroup& g) { return g.kind == f.kind; });
        if (it == groups.end()) {
            groups.push_back({f.kind, 0, {}, QString()});
            it = groups.end() - 1;
        }
        ++it->count;
        if (f.record >= 0) it->records.push_back(f.record);
    }
    for (PrintFindingGroup& g : groups) {
        std::sort(g.records.begin(), g.records.end());
        g.records.erase(std::unique(g.records.begin(), g.records.end()), g.records.end());
        g.text = g.records.empty() ? kindName(g.kind)
                                   : u("%1：第%2项").arg(kindName(g.kind), numberList(g.records));
    }
    return groups;
}

double legibleMinimumPoints(const InfoRecord& record, double minimumPointsA4) {
    const double diagonal = std::hypot(double(record.widthMm), double(record.heightMm));
    return std::round(minimumPointsA4 * diagonal / kA4Diagonal);
}

std::vector<PrintFinding> PrintCheck::run(CPatDoc& doc, const PrintSettings& settings,
                                          double minimumPointsA4) {
    std::vector<PrintFinding> findings;
    const std::optional<PrintMode> mode = PrintMode::fromCode(settings.mode);
    if (!mode) return findings;
    const bool templateMode = mode->kind == PrintMode::Kind::Template;

    std::vector<int> printed;
    if (templateMode) {
        if (doc.currentIndex() >= 0) printed.push_back(doc.currentIndex());
    } else {
        for (int i = 0; i < doc.recordCount(); ++i) {
            if (doc.recordAt(i)->copies != 0) printed.push_back(i);
        }
    }
    if (printed.empty()) {
        findings.push_back({Kind::EmptyQueue, -1, u("打印队列是空的：没有一条信息设置了份数")});
        return findings;
    }
    PrintLayout layout;
    const bool laidOut = layout.prepare(doc, settings);
    if (!laidOut && !layout.refusal().isEmpty()) {
        findings.push_back({Kind::JobRefused, -1, layout.refusal()});
    }

    // The records hold what they print while they are checked, and the screen's texts after.
    const OutputPlaceholders values(doc, templateMode);
    bool barcodeLibraryMissing = false;
    for (int index : printed) {
        const InfoRecord& record = *doc.recordAt(index);
        const double scale = laidOut ? layout.signScale(record) : 1.0;
        RecordCheck(doc, record, index, templateMode, mode->withBackground, minimumPointsA4, scale,
                    barcodeLibraryMissing, findings)
            .run();
    }
    if (barcodeLibraryMissing) {
        findings.push_back({Kind::BarcodeLibraryMissing, -1,
                            ZintLibrary::missingText() + u("，标签上的条码都印不出来（libzint）")});
    }
    return findings;
}

}  // namespace pemo
