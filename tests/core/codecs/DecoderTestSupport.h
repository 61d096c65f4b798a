#pragma once

// Shared checks for the picture decoder tests.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <random>
#include <vector>

namespace pemo::test {

// The image's pixels row by row, as 0xAARRGGBB.
inline std::vector<QRgb> pixelsOf(const QImage& image) {
    std::vector<QRgb> out;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            out.push_back(argb.pixel(x, y));
    return out;
}

// Feeds every prefix of a valid file and a batch of single-byte corruptions to a
// decoder. Nothing may crash or read out of bounds (run under a sanitizer to see
// the latter); a prefix cut inside the pixel data must give a null image.
template <typename Decode>
void expectSurvivesDamage(const QByteArray& valid, qsizetype pixelDataEnd, Decode decode) {
    for (qsizetype n = 0; n < valid.size(); ++n) {
        const QImage image = decode(valid.left(n));
        if (n < pixelDataEnd) {
            EXPECT_TRUE(image.isNull()) << "prefix of " << n << " bytes";
        }
    }
    std::mt19937 random(1234);
    for (int i = 0; i < 2000; ++i) {
        QByteArray damaged = valid;
        const auto at = qsizetype(random() % uint32_t(damaged.size()));
        damaged[at] = char(random());
        (void)decode(damaged);
    }
}

}  // namespace pemo::test
