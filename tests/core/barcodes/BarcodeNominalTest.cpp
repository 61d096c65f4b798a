#include <gtest/gtest.h>

#include "core/barcodes/BarcodeNominal.h"

namespace pemo {

// A barcode placed by a click takes its symbology's usual size: an EAN-13 is the GS1
// nominal 37.29 × 25.93 mm (quiet zones and digits included), scaled down to fit a small
// page but never below 80 %, where scanners still read it.
TEST(BarcodeNominal, NominalSizesAndTheirFitToThePage) {
    using S = BarcodeFace::Symbology;
    const QSizeF ean = BarcodeNominal::sizeMm(S::Ean13, QStringLiteral("6901234567892"), true);
    EXPECT_NEAR(ean.width(), 37.29, 0.4);
    EXPECT_NEAR(ean.height(), 25.93, 1.5);
    // A placeholder's empty value is sized as a sample of its symbology.
    EXPECT_EQ(BarcodeNominal::sizeMm(S::Ean13, QStringLiteral("{其他信息}"), true), ean);
    const QSizeF qr = BarcodeNominal::sizeMm(S::Qr, QStringLiteral("6901234567892"), false);
    EXPECT_NEAR(qr.width(), qr.height(), 0.01);
    EXPECT_GT(qr.width(), 10);

    // Pages as shares of the symbol's nominal width and height.
    const struct {
        const char* name;
        double width, height;
        double scale;
    } cases[] = {
        {"a large page holds it whole", 5.6, 11.4, 1.0},
        {"a page just as large", 1.0, 1.0, 1.0},
        {"a narrower page: scaled to fit", 0.9, 2.0, 0.9},
        {"a lower page: scaled to fit", 3.0, 0.85, 0.85},
        {"a far smaller page: no less than 80 %", 0.5, 0.5, 0.8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QSizeF page(ean.width() * c.width, ean.height() * c.height);
        const QSizeF fitted = BarcodeNominal::fittedMm(ean, page);
        EXPECT_NEAR(fitted.width(), ean.width() * c.scale, 0.05);
        EXPECT_NEAR(fitted.height() / fitted.width(), ean.height() / ean.width(), 1e-9) << "proportions kept";
    }
}

}  // namespace pemo
