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
                              true, Qt::black, std::nullopt);
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
                              true, Qt::black, QColor(Qt::white));
        BarcodePainter::paint(painter, QRectF(100, 2000, 2000, 2000), BarcodeData::prepare(S::Qr, QString::fromUtf8("佩墨")),
                              true, Qt::black, std::nullopt);
    }
    EXPECT_GT(pdf.size(), 1000);
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
}
