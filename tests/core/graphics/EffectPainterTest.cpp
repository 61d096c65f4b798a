#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "core/graphics/EffectPainter.h"

using namespace pemo;

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0x0000FF;  // 0x00BBGGRR
constexpr uint32_t kBlue = 0xFF0000;

QImage canvas(int w, int h, QRgb fill = 0xFF123456) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QImage painted(int w, int h, int effect, uint32_t c1, uint32_t c2) {
    QImage image = canvas(w, h);
    QPainter p(&image);
    paintEffect(p, 0, 0, w, h, effect, c1, c2);
    return image;
}

std::vector<int> redOfRows(const QImage& image, int x) {
    std::vector<int> out;
    for (int y = 0; y < image.height(); ++y) out.push_back(qRed(image.pixel(x, y)));
    return out;
}

}  // namespace

TEST(EffectPainter, StepsTruncatePerByte) {
    EXPECT_EQ(effectStep(kBlack, kRed, 1, 6), 42u);
    EXPECT_EQ(effectStep(0x0000FF, 0x000000, 1, 3), 170u);  // 255 - 255/3
    EXPECT_EQ(effectStep(0x102030, 0x302010, 1, 2), 0x202020u);
    EXPECT_EQ(effectStep(0x0000FF, 0x00FF00, 0, 5), 0x0000FFu);
}

TEST(EffectPainter, VerticalGradientsMatchTheirSteps) {
    EXPECT_EQ(redOfRows(painted(8, 6, 1, kBlack, kRed), 3),
              (std::vector<int>{0, 42, 85, 127, 170, 212}));
    EXPECT_EQ(redOfRows(painted(8, 6, 2, kBlack, kRed), 3),
              (std::vector<int>{255, 212, 170, 127, 85, 42}));
    // Odd height: the middle row is shared by both halves.
    EXPECT_EQ(redOfRows(painted(4, 5, 3, kBlack, kRed), 0),
              (std::vector<int>{0, 85, 170, 85, 0}));
    EXPECT_EQ(redOfRows(painted(4, 5, 4, kBlack, kRed), 0),
              (std::vector<int>{255, 170, 85, 170, 255}));
}

TEST(EffectPainter, HorizontalAndDiagonalGradients) {
    const QImage lr = painted(4, 2, 5, kBlack, kRed);
    EXPECT_EQ(qRed(lr.pixel(0, 1)), 0);
    EXPECT_EQ(qRed(lr.pixel(3, 1)), 191);
    const QImage rl = painted(4, 2, 6, kBlack, kRed);
    EXPECT_EQ(qRed(rl.pixel(0, 0)), 255);
    // TLBR over 4 × 4: line x + y = 3 has step 3 of 8; column 0 is never reached.
    const QImage tlbr = painted(4, 4, 9, kBlack, kRed);
    EXPECT_EQ(qRed(tlbr.pixel(2, 1)), 95);
    EXPECT_EQ(tlbr.pixel(0, 2), 0xFFFFFFFFu);
    // BLTR: x − y = 0 is step L of 2L.
    const QImage bltr = painted(4, 4, 13, kBlack, kRed);
    EXPECT_EQ(qRed(bltr.pixel(2, 2)), 127);
    EXPECT_EQ(qRed(bltr.pixel(0, 3)), 31);
    // BLM peaks on the main diagonal: step L − 1 of L.
    const QImage blm = painted(4, 4, 15, kBlack, kRed);
    EXPECT_EQ(qRed(blm.pixel(1, 1)), 191);
    EXPECT_EQ(qRed(blm.pixel(3, 0)), 0);
}

TEST(EffectPainter, RingsAroundTheSquaresCentre) {
    // 8 × 6: L = 8, m = 4, r0 = 6; the two pixels round the centre are the innermost disc.
    const QImage out = painted(8, 6, 17, kBlack, kRed);
    EXPECT_EQ(qRed(out.pixel(3, 3)), effectStep(kBlack, kRed, 1, 6) & 0xFF);
    EXPECT_EQ(qRed(out.pixel(4, 4)), 42);
    EXPECT_EQ(qRed(out.pixel(0, 0)), effectStep(kBlack, kRed, 5, 6) & 0xFF);
    const QImage in = painted(8, 6, 18, kBlack, kRed);
    EXPECT_EQ(qRed(in.pixel(3, 3)), 212);
    EXPECT_EQ(qRed(in.pixel(0, 0)), 42);
}

TEST(EffectPainter, TwoColourPatternsProbe) {
    struct Probe {
        int effect;
        QPoint at;
        bool firstColour;
    };
    const Probe probes[] = {
        {19, {2, 10}, true},  {19, {17, 10}, false}, {20, {2, 10}, false},
        {21, {10, 2}, true},  {21, {10, 17}, false}, {22, {10, 17}, true},
        {23, {2, 2}, true},   {23, {17, 17}, false}, {24, {2, 2}, false},
        {25, {2, 17}, true},  {25, {17, 2}, false},  {26, {17, 2}, true},
        {27, {2, 2}, true},   {27, {17, 17}, true},  {27, {17, 2}, false},
        {27, {2, 17}, false}, {28, {2, 2}, false},   {29, {1, 10}, true},
        {29, {18, 10}, true}, {29, {10, 1}, false},  {29, {10, 18}, false},
        {30, {1, 10}, false}, {31, {1, 1}, true},    {31, {10, 10}, false},
        {32, {1, 1}, false},  {32, {10, 10}, true},
    };
    for (const Probe& probe : probes) {
        const QImage image = painted(20, 20, probe.effect, kRed, kBlue);
        const QRgb expected = probe.firstColour ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
        EXPECT_EQ(image.pixel(probe.at), expected)
            << "effect " << probe.effect << " at " << probe.at.x() << "," << probe.at.y();
    }
}

TEST(EffectPainter, OtherNumbersPaintWhiteAndEmptyRectanglesNothing) {
    for (int effect : {0, 33, -5, 1000}) {
        const QImage image = painted(5, 5, effect, kRed, kBlue);
        EXPECT_EQ(image.pixel(4, 4), 0xFFFFFFFFu) << effect;
    }
    for (QRect r : {QRect(QPoint(3, 3), QPoint(3, 8)), QRect(QPoint(3, 3), QPoint(8, 1)),
                    QRect(QPoint(5, 5), QPoint(1, 1))}) {
        for (int effect : {1, 17, 23, 33}) {
            QImage image = canvas(10, 10);
            {
                QPainter p(&image);
                // right and bottom as given: equal or smaller than left and top
                paintEffect(p, r.left(), r.top(), r.right(), r.bottom(), effect, kRed, kBlue);
            }
            EXPECT_EQ(image, canvas(10, 10)) << effect;
        }
    }
    EXPECT_TRUE(renderEffect(0, 10, 1, kRed, kBlue).isNull());
}

TEST(EffectPainter, MaskedCopyKeepsTheDestinationOutsideTheMask) {
    const QImage colour = renderEffect(16, 8, 19, kRed, kBlue);
    QImage mask = blankMask(16, 8);
    {
        QPainter p(&mask);
        p.fillRect(QRect(0, 0, 4, 8), Qt::white);
        p.fillRect(QRect(12, 0, 4, 8), Qt::white);
    }
    QImage dest = canvas(20, 10);
    {
        QPainter p(&dest);
        maskedCopy(p, 2, 1, 16, 8, colour, mask);
    }
    EXPECT_EQ(dest.pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_EQ(dest.pixel(15, 2), qRgb(0, 0, 255));
    EXPECT_EQ(dest.pixel(9, 2), 0xFF123456u);
    EXPECT_EQ(dest.pixel(0, 0), 0xFF123456u);
}

TEST(EffectPainter, RingsOnTallAndWideRectanglesCentreOnTheSquare) {
    // Every pixel takes the smallest disc around (m, m) that holds its centre; on a tall
    // rectangle the centre column lies outside the picture.
    for (QSize size : {QSize(5, 13), QSize(13, 5), QSize(1, 1), QSize(2, 9)}) {
        const int L = std::max(size.width(), size.height());
        const int m = (L + 1) / 2;
        const int r0 = int(m * std::sqrt(2.0)) + 1;
        const QImage image = painted(size.width(), size.height(), 18, kBlack, kRed);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const double dist = std::hypot(x + 0.5 - m, y + 0.5 - m);
                const int r = std::max(1, int(std::ceil(dist - 1e-9)));
                EXPECT_EQ(qRed(image.pixel(x, y)), int(effectStep(kBlack, kRed, r0 - r, r0)))
                    << size.width() << "x" << size.height() << " at " << x << "," << y;
            }
        }
    }
}
