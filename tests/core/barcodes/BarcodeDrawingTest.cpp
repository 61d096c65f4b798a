#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include "core/barcodes/BarcodeData.h"
#include "core/barcodes/BarcodePainter.h"
#include "core/barcodes/BarcodeSymbol.h"

using namespace pemo;

namespace {

using S = BarcodeFace::Symbology;

// The symbol's modules as a grid (true = dark), read from its bars at module centres.
std::vector<std::vector<bool>> modules(const BarcodeSymbol& symbol) {
    const QRectF box = symbol.bars.boundingRect();
    const double unit = box.width() / symbol.columns;
    std::vector<std::vector<bool>> grid(size_t(symbol.rows), std::vector<bool>(size_t(symbol.columns)));
    for (int r = 0; r < symbol.rows; ++r) {
        for (int c = 0; c < symbol.columns; ++c) {
            grid[size_t(r)][size_t(c)] =
                symbol.bars.contains(box.topLeft() + QPointF((c + 0.5) * unit, (r + 0.5) * unit));
        }
    }
    return grid;
}

BarcodeStyle::Look look(S symbology, QColor ink = Qt::black, std::optional<QColor> paper = std::nullopt) {
    BarcodeStyle::Look l;
    l.symbology = symbology;
    l.ink = ink;
    l.paper = paper;
    return l;
}

int darkPixels(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
    }
    return n;
}

}  // namespace

// zbar does not read DataMatrix: its structure is checked here. A square symbol whose
// finder is solid along the left and bottom edges and alternates along the top and right.
TEST(BarcodeSymbol, DataMatrixIsSquareWithItsFinderPattern) {
    for (const char* text : {"A", "佩墨 6901234567892", "https://example.com/商品?id=1234567890"}) {
        SCOPED_TRACE(text);
        const auto symbol = BarcodeSymbol::make(BarcodeData::prepare(S::DataMatrix, QString::fromUtf8(text)), false);
        ASSERT_TRUE(symbol);
        ASSERT_EQ(symbol->rows, symbol->columns);
        EXPECT_DOUBLE_EQ(symbol->size.width(), symbol->size.height());
        const auto grid = modules(*symbol);
        const size_t n = grid.size();
        for (size_t i = 0; i < n; ++i) {
            EXPECT_TRUE(grid[i][0]) << "left " << i;
            EXPECT_TRUE(grid[n - 1][i]) << "bottom " << i;
            EXPECT_EQ(grid[0][i], i % 2 == 0) << "top " << i;
            EXPECT_EQ(grid[i][n - 1], i % 2 == 1) << "right " << i;
        }
        // Quiet zones: the bars keep off the symbol's edges.
        const QRectF bars = symbol->bars.boundingRect();
        EXPECT_GT(bars.left(), 0);
        EXPECT_GT(bars.top(), 0);
        EXPECT_LT(bars.right(), symbol->size.width());
    }
}

TEST(BarcodePainter, SymbolsFillTheirAreaTheMatrixSquareAndCentred) {
    const struct {
        S symbology;
        const char* text;
        QRectF area;
        QRectF expected;  // the symbol's rectangle, or an empty one for "fills the width"
    } cases[] = {
        {S::Qr, "佩墨", QRectF(0, 0, 300, 100), QRectF(100, 0, 100, 100)},
        {S::DataMatrix, "佩墨", QRectF(10, 10, 80, 200), QRectF(10, 70, 80, 80)},
        {S::Ean13, "690123456789", QRectF(0, 0, 400, 150), QRectF()},
        {S::Code128, "PEMO", QRectF(0, 0, 400, 60), QRectF()},
        {S::Code39, "PEMO", QRectF(0, 0, 600, 400), QRectF()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QRectF placed = BarcodePainter::placement(c.area, BarcodeData::prepare(c.symbology, QString::fromUtf8(c.text)), true);
        if (!c.expected.isEmpty()) {
            EXPECT_NEAR(placed.left(), c.expected.left(), 0.01);
            EXPECT_NEAR(placed.top(), c.expected.top(), 0.01);
            EXPECT_NEAR(placed.width(), c.expected.width(), 0.01);
            EXPECT_NEAR(placed.height(), c.expected.height(), 0.01);
        } else {
            // Linear symbols take the whole width and, through their bar height, nearly all
            // of the height (a module's worth of rounding at most).
            EXPECT_NEAR(placed.width(), c.area.width(), 0.01);
            EXPECT_LE(placed.height(), c.area.height() + 0.01);
            EXPECT_GT(placed.height(), c.area.height() * 0.97);
        }
    }
    EXPECT_TRUE(BarcodePainter::placement(QRectF(0, 0, 100, 100), BarcodeData::prepare(S::Ean13, "1"), true).isEmpty());
}

TEST(BarcodePainter, InvalidDataDrawsTheFrameNeverASymbol) {
    QImage valid(400, 200, QImage::Format_RGB32), invalid(400, 200, QImage::Format_RGB32);
    for (auto* image : {&valid, &invalid}) image->fill(Qt::white);
    const char* texts[] = {"6901234567892", "6901234567893"};
    QImage* images[] = {&valid, &invalid};
    for (int i = 0; i < 2; ++i) {
        QPainter painter(images[i]);
        BarcodePainter::paint(painter, QRectF(0, 0, 400, 200), BarcodeData::prepare(S::Ean13, QString::fromLatin1(texts[i])),
                              look(S::Ean13), 0);
    }
    EXPECT_GT(darkPixels(valid, Qt::black), 10000);
    EXPECT_EQ(darkPixels(invalid, Qt::black), 0);
    EXPECT_GT(darkPixels(invalid, QColor(220, 0, 0)), 500);
}

// Vectors in a PDF: the symbols are paths, never a picture.
TEST(BarcodePainter, PdfOutputHoldsNoPicture) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        QPainter painter(&writer);
        BarcodePainter::paint(painter, QRectF(100, 100, 3000, 1500), BarcodeData::prepare(S::Ean13, "690123456789"),
                              look(S::Ean13, Qt::black, QColor(Qt::white)), 0);
        BarcodePainter::paint(painter, QRectF(100, 2000, 2000, 2000), BarcodeData::prepare(S::Qr, QString::fromUtf8("佩墨")),
                              look(S::Qr), 0);
    }
    EXPECT_GT(pdf.size(), 1000);
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
}

namespace {

// A picture of `mm` at `dpi`, white, whose pixels are the device's dots.
QImage picture(QSizeF mm, int dpi) {
    QImage image(int(mm.width() * dpi / 25.4), int(mm.height() * dpi / 25.4), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

bool isDark(QRgb pixel) { return qGray(pixel) < 128; }

// The lengths of the runs of like pixels along row y, from the first dark one to the last.
std::vector<int> runs(const QImage& image, int y) {
    std::vector<int> out;
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (isDark(image.pixel(x, y))) {
            if (first < 0) first = x;
            last = x;
        }
    }
    for (int x = first; first >= 0 && x <= last; ++x) {
        if (x == first || isDark(image.pixel(x, y)) != isDark(image.pixel(x - 1, y))) out.push_back(0);
        ++out.back();
    }
    return out;
}

}  // namespace

// On a device of known dots every module is a whole number of them: no grey edge, and
// every bar and space as wide as a whole number of the same module, level or turned a
// quarter, at the label printers' 203 dpi and 300 dpi.
TEST(BarcodePainter, ModulesCoverWholeDotsOfAKnownDevice) {
    const struct {
        S symbology;
        const char* text;
        QSizeF areaMm;
    } cases[] = {
        {S::Ean13, "690123456789", {37.29, 25.93}}, {S::Ean8, "9638507", {26.73, 21.31}},
        {S::UpcA, "03600029145", {37.29, 25.93}},   {S::Code128, "PEMO-128/abc", {41.3, 15}},
        {S::Code39, "PEMO-39", {47.1, 15}},         {S::Itf14, "1540014128876", {95.3, 38.5}},
        {S::Qr, "佩墨 https://example.com", {21.7, 21.7}}, {S::DataMatrix, "佩墨 6901234567892", {17.3, 17.3}},
    };
    for (const int dpi : {203, 300}) {
        for (const bool turned : {false, true}) {
            for (const auto& c : cases) {
                SCOPED_TRACE(QString("%1 dpi, %2, %3").arg(dpi).arg(turned ? "turned" : "level").arg(c.text).toStdString());
                const BarcodeData data = BarcodeData::prepare(c.symbology, QString::fromUtf8(c.text));
                const QSizeF areaMm = turned ? c.areaMm.transposed() : c.areaMm;
                QImage image = picture(areaMm + QSizeF(4, 4), dpi);
                const double px = dpi / 25.4;
                BarcodeStyle::Look l = look(c.symbology);
                l.showText = false;
                {
                    QPainter painter(&image);
                    // Off the dot grid on purpose.
                    painter.translate(2 * px + 0.37, 2 * px + 0.61);
                    if (turned) {
                        painter.translate(c.areaMm.height() * px, 0);
                        painter.rotate(90);
                    }
                    BarcodePainter::paint(painter, QRectF(QPointF(0, 0), c.areaMm * px), data, l, dpi);
                }
                int grey = 0;
                for (int y = 0; y < image.height(); ++y) {
                    for (int x = 0; x < image.width(); ++x) {
                        const QRgb p = image.pixel(x, y);
                        grey += p != qRgb(0, 0, 0) && p != qRgb(255, 255, 255);
                    }
                }
                EXPECT_EQ(grey, 0);
                const QImage level = turned ? image.transformed(QTransform().rotate(-90)) : image;
                const BarcodePainter::Fit fit = BarcodePainter::fit(QRectF(QPointF(0, 0), c.areaMm * px), data, false);
                const int module = std::max(1, int(std::floor(fit.module() + 1e-6)));
                const std::vector<int> widths = runs(level, level.height() / 2);
                ASSERT_FALSE(widths.empty());
                for (int w : widths) EXPECT_EQ(w % module, 0) << "a run of " << w << " dots, module " << module;
            }
        }
    }
}

// Whatever lies under the block, the symbol stands on white with its quiet zones, and
// an ink a scanner sees as light (red, white) gives way to black: nothing red is left
// inside the symbol drawn on a red band.
TEST(BarcodePainter, QuietZonesAreWhiteAndTheInkDarkOnAnyGround) {
    const struct {
        QColor ink;
        std::optional<QColor> paper;
    } cases[] = {
        {Qt::red, std::nullopt},
        {Qt::red, QColor(Qt::red)},
        {Qt::white, QColor(Qt::red)},
        {QColor(0, 0, 128), QColor(Qt::red)},  // dark blue stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ink.name().toStdString());
        QImage image(600, 300, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QRectF area(50, 20, 500, 260);
        const BarcodeData data = BarcodeData::prepare(S::Ean13, QStringLiteral("690123456789"));
        {
            QPainter painter(&image);
            BarcodePainter::paint(painter, area, data, look(S::Ean13, c.ink, c.paper), 0);
        }
        const QRect target = BarcodePainter::placement(area, data, true).toAlignedRect().adjusted(1, 1, -1, -1);
        const QColor expectedInk = BarcodePainter::scannableInk(c.ink);
        EXPECT_NE(expectedInk, QColor(Qt::red));
        EXPECT_NE(expectedInk, QColor(Qt::white));
        int red = 0, ink = 0;
        for (int y = target.top(); y <= target.bottom(); ++y) {
            for (int x = target.left(); x <= target.right(); ++x) {
                const QColor p = image.pixelColor(x, y);
                red += p.red() > 200 && p.green() < 60 && p.blue() < 60;
                ink += p == expectedInk;
            }
        }
        EXPECT_EQ(red, 0);
        EXPECT_GT(ink, target.width() * target.height() / 5);
        // The left quiet zone is white beside the bars (the first digit stands in it below them).
        for (int y = target.top() + 2; y < target.top() + target.height() * 3 / 5; y += 10) {
            EXPECT_EQ(image.pixelColor(target.left() + 3, y), QColor(Qt::white)) << y;
        }
    }
}

// A linear symbol of another bar height is made from the standard one: it is the symbol
// the encoder lays out for that height, bars, digits and size.
TEST(BarcodeSymbol, OtherBarHeightsAreTheEncodersOwn) {
    const struct {
        S symbology;
        const char* text;
    } cases[] = {
        {S::Ean13, "690123456789"}, {S::Ean8, "9638507"},  {S::UpcA, "03600029145"},
        {S::Code128, "PEMO-128/abc"}, {S::Code39, "PEMO-39"}, {S::Itf14, "1540014128876"},
    };
    for (const auto& c : cases) {
        for (const bool showText : {true, false}) {
            for (const int height : {5, 37, 120, 900}) {
                SCOPED_TRACE(QString("%1 %2 %3").arg(c.text).arg(showText).arg(height).toStdString());
                const BarcodeData data = BarcodeData::prepare(c.symbology, QString::fromUtf8(c.text));
                const auto made = BarcodeSymbol::make(data, showText, height);
                const auto encoded = BarcodeSymbol::encoded(data, showText, height);
                ASSERT_TRUE(made && encoded);
                EXPECT_NEAR(made->size.width(), encoded->size.width(), 1e-4);
                EXPECT_NEAR(made->size.height(), encoded->size.height(), 1e-4);
                EXPECT_NEAR(made->barHeight, encoded->barHeight, 1e-4);
                ASSERT_EQ(made->barRects.size(), encoded->barRects.size());
                for (size_t i = 0; i < made->barRects.size(); ++i) {
                    const QRectF a = made->barRects[i], b = encoded->barRects[i];
                    EXPECT_TRUE(std::abs(a.x() - b.x()) < 1e-4 && std::abs(a.y() - b.y()) < 1e-4 &&
                                std::abs(a.width() - b.width()) < 1e-4 && std::abs(a.height() - b.height()) < 1e-4)
                        << i;
                }
                ASSERT_EQ(made->labels.size(), encoded->labels.size());
                for (size_t i = 0; i < made->labels.size(); ++i) {
                    EXPECT_EQ(made->labels[i].text, encoded->labels[i].text);
                    EXPECT_NEAR(made->labels[i].baseline.x(), encoded->labels[i].baseline.x(), 1e-4);
                    EXPECT_NEAR(made->labels[i].baseline.y(), encoded->labels[i].baseline.y(), 1e-4);
                }
            }
        }
    }
}
