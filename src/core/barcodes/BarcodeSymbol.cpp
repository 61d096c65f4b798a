#include "BarcodeSymbol.h"

#include <zint.h>

#include <QHash>
#include <QMutex>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace pemo {

namespace {

using S = BarcodeFace::Symbology;

// Enough for every symbol of a long print job's sheet and the screen; dropped whole when full.
constexpr int kCacheLimit = 4096;

int zintSymbology(S symbology) {
    switch (symbology) {
        case S::Ean13:
        case S::Ean8: return BARCODE_EANX;
        case S::UpcA: return BARCODE_UPCA;
        case S::Code128: return BARCODE_CODE128;
        case S::Code39: return BARCODE_CODE39;
        case S::Itf14: return BARCODE_ITF14;
        case S::Qr: return BARCODE_QRCODE;
        case S::DataMatrix: return BARCODE_DATAMATRIX;
    }
    return BARCODE_CODE128;
}

struct ZintSymbol {
    zint_symbol* s = ZBarcode_Create();
    ~ZintSymbol() { ZBarcode_Delete(s); }
};

std::shared_ptr<const BarcodeSymbol> encode(const BarcodeData& data, bool showText, int barHeight) {
    ZintSymbol z;
    if (!z.s) return nullptr;
    zint_symbol& s = *z.s;
    s.symbology = zintSymbology(data.symbology);
    s.output_options |= BARCODE_QUIET_ZONES;
    s.show_hrt = showText ? 1 : 0;
    s.input_mode = UNICODE_MODE;
    if (BarcodeFace::isMatrix(data.symbology)) {
        // Chinese travels as UTF-8, said by ECI 26, so every reader decodes it alike.
        if (data.needsEci) s.eci = 26;
        if (data.symbology == S::DataMatrix) s.option_3 = DM_SQUARE;
    } else {
        s.height = float(barHeight);
    }
    const int rc = ZBarcode_Encode_and_Buffer_Vector(
        &s, reinterpret_cast<const unsigned char*>(data.payload.constData()), int(data.payload.size()), 0);
    if (rc >= ZINT_ERROR || !s.vector) return nullptr;

    auto symbol = std::make_shared<BarcodeSymbol>();
    symbol->size = QSizeF(s.vector->width, s.vector->height);
    symbol->columns = s.width;
    symbol->rows = s.rows;
    // The bars' height is the one most upright bars have: guard bars reach lower, and
    // ITF-14's bearer bars lie flat.
    QHash<int, int> heights;
    for (const zint_vector_rect* r = s.vector->rectangles; r; r = r->next) {
        // Colour -1 is the ink; the others are white fills inside a symbol.
        if (r->colour != -1) continue;
        symbol->barRects.emplace_back(r->x, r->y, r->width, r->height);
        symbol->bars.addRect(symbol->barRects.back());
        if (r->height > r->width) ++heights[int(std::lround(r->height * 100))];
    }
    if (!BarcodeFace::isMatrix(data.symbology) && !heights.isEmpty()) {
        const auto most = std::max_element(heights.constKeyValueBegin(), heights.constKeyValueEnd(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
        symbol->barHeight = most->first / 100.0;
        symbol->barsLength = symbol->bars.boundingRect().width();
    }
    for (const zint_vector_string* t = s.vector->strings; t; t = t->next) {
        symbol->labels.push_back({QPointF(t->x, t->y), t->fsize, t->halign,
                                  QString::fromUtf8(reinterpret_cast<const char*>(t->text), t->length)});
    }
    return symbol;
}

// The linear symbol with its bars grown (or shrunk) by delta units: what lies below the
// bars' lower edge (the digits, a bearer bar) moves down with it and what spans that
// edge (the bars, the guard bars reaching lower, a bearer box's sides) grows, as the
// encoder lays the symbol out for that bar height.
std::shared_ptr<const BarcodeSymbol> stretched(const BarcodeSymbol& from, double delta) {
    auto symbol = std::make_shared<BarcodeSymbol>(from);
    double bottom = 0;
    for (const QRectF& r : from.barRects) {
        if (std::abs(r.height() - from.barHeight) < 0.01) {
            bottom = r.bottom();
            break;
        }
    }
    constexpr double kEdge = 0.01;
    symbol->bars = QPainterPath();
    for (QRectF& r : symbol->barRects) {
        if (r.top() >= bottom - kEdge) {
            r.translate(0, delta);
        } else if (r.bottom() >= bottom - kEdge) {
            r.setHeight(r.height() + delta);
        }
        symbol->bars.addRect(r);
    }
    for (BarcodeSymbol::Label& label : symbol->labels) {
        if (label.baseline.y() >= bottom - kEdge) label.baseline.ry() += delta;
    }
    symbol->size.rheight() += delta;
    symbol->barHeight += delta;
    return symbol;
}

}  // namespace

std::shared_ptr<const BarcodeSymbol> BarcodeSymbol::encoded(const BarcodeData& data, bool showText,
                                                            int barHeight) {
    return data.valid() ? encode(data, showText, barHeight) : nullptr;
}

std::shared_ptr<const BarcodeSymbol> BarcodeSymbol::make(const BarcodeData& data, bool showText,
                                                         int barHeight) {
    if (!data.valid()) return nullptr;
    static QMutex mutex;
    static QHash<QByteArray, std::shared_ptr<const BarcodeSymbol>> cache;
    QByteArray key = QByteArray::number(int(data.symbology)) + (showText ? "+" : "-") +
                     QByteArray::number(BarcodeFace::isMatrix(data.symbology) ? 0 : barHeight) + ':' +
                     data.payload;
    {
        QMutexLocker lock(&mutex);
        const auto it = cache.constFind(key);
        if (it != cache.constEnd()) return it.value();
    }
    std::shared_ptr<const BarcodeSymbol> symbol;
    if (BarcodeFace::isMatrix(data.symbology) || barHeight == kDefaultBarHeight) {
        symbol = encode(data, showText, barHeight);
    } else if (const auto standard = make(data, showText, kDefaultBarHeight)) {
        // Fitting asks for the standard symbol first; other heights are made from it.
        symbol = stretched(*standard, (barHeight - kDefaultBarHeight) * kUnitsPerModule);
    }
    QMutexLocker lock(&mutex);
    if (cache.size() >= kCacheLimit) cache.clear();
    cache.insert(key, symbol);
    return symbol;
}

}  // namespace pemo

namespace pemo {

QString BarcodeSymbol::problemOf(const BarcodeData& data) {
    if (!data.valid()) return data.problem;
    if (!make(data, true)) return QString::fromUtf8("内容太长或含有这种条码不能编码的字符");
    return {};
}

}  // namespace pemo
