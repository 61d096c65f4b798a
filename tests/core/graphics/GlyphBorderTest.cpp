#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <set>

#include "core/graphics/GlyphBorder.h"

using namespace pemo;
namespace GB = GlyphBorder;

namespace {

std::vector<QPoint> row(const std::vector<QPoint>& cells, int y) {
    std::vector<QPoint> out;
    for (QPoint p : cells) {
        if (p.y() == y) out.push_back(p);
    }
    return out;
}

QImage blank() {
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int inkIn(const QImage& image, QRect area, QRgb colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == colour;
    }
    return n;
}

}  // namespace

TEST(GlyphBorder, TenGlyphsWideGetsTwelveEvenlySpaced) {
    const auto cells = GB::cellPositions(100, 100, 300, 160, 20, 20);
    const auto top = row(cells, 80);
    ASSERT_EQ(top.size(), 12u);
    for (size_t i = 0; i < top.size(); ++i) EXPECT_EQ(top[i].x(), 80 + 20 * int(i));
    EXPECT_EQ(row(cells, 160).size(), 12u);
    // Columns: e = 100, m = 4, three glyphs on each side between the corners.
    EXPECT_EQ(cells.size(), 24u + 6u);
}

TEST(GlyphBorder, RemainderIsSpreadOverTheGaps) {
    // d = 2·10 + 35 = 55, n = 4, step 10 + 5/4 = 11.25.
    const auto top = row(GB::cellPositions(0, 50, 35, 60, 10, 10), 40);
    std::vector<int> xs;
    for (QPoint p : top) xs.push_back(p.x());
    EXPECT_EQ(xs, (std::vector<int>{-10, 1, 12, 23, 35}));
}

TEST(GlyphBorder, DegenerateCasesDrawTheCornersOnly) {
    struct Case {
        QRect r;  // left, top, right, bottom as given
        int gw, gh;
    };
    const Case cases[] = {
        {QRect(QPoint(10, 10), QPoint(-40, 50)), 20, 20},  // right far left of left
        {QRect(QPoint(10, 10), QPoint(50, -40)), 20, 20},  // bottom far above top
        {QRect(QPoint(10, 10), QPoint(50, 50)), 0, 20},    // glyph of no width
        {QRect(QPoint(10, 10), QPoint(50, 50)), 20, 0},
    };
    for (const Case& c : cases) {
        const auto cells = GB::cellPositions(c.r.left(), c.r.top(), c.r.right(), c.r.bottom(),
                                             c.gw, c.gh);
        EXPECT_EQ(cells.size(), 4u);
    }
    // A rectangle narrower and lower than one glyph: the corners alone as well.
    EXPECT_EQ(GB::cellPositions(0, 0, 5, 5, 20, 20).size(), 4u);
}

TEST(GlyphBorder, EveryKindHasAGlyphInAnInstalledFont) {
    ASSERT_EQ(GB::kinds().size(), 30u);
    const std::set<int> unique(GB::kinds().begin(), GB::kinds().end());
    EXPECT_EQ(unique.size(), 30u);
    const QRawFont raw = QRawFont::fromFont(GB::symbolFont(24));
    ASSERT_TRUE(raw.isValid());
    EXPECT_TRUE(QFontDatabase::families().contains(raw.familyName())) << raw.familyName().toStdString();
    for (int kind : GB::kinds()) {
        const QString s = GB::symbolOf(kind);
        if (kind == GB::kNone || kind == GB::kRectangle) {
            EXPECT_TRUE(s.isEmpty());
            continue;
        }
        ASSERT_FALSE(s.isEmpty()) << kind;
        EXPECT_TRUE(raw.supportsCharacter(s.toUcs4().front())) << "kind " << kind;
    }
}

TEST(GlyphBorder, PaintsBackgroundRectangleOrGlyphs) {
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 0, 255);
    const QRect inside(60, 60, 80, 80);
    {  // no border, opaque: the background alone
        QImage image = blank();
        QPainter p(&image);
        drawGlyphBorder(p, 60, 60, 140, 140, GB::kNone, 20, 0x0000FF, false, 0xFF0000);
        p.end();
        EXPECT_EQ(inkIn(image, inside, blue), 80 * 80);
        EXPECT_EQ(inkIn(image, QRect(0, 0, 200, 60), red), 0);
    }
    {  // plain rectangle, transparent: the one-pixel frame only
        QImage image = blank();
        QPainter p(&image);
        drawGlyphBorder(p, 60, 60, 140, 140, GB::kRectangle, 20, 0x0000FF, true, 0xFF0000);
        p.end();
        EXPECT_EQ(image.pixel(60, 100), red);
        EXPECT_EQ(image.pixel(140, 100), red);
        EXPECT_EQ(image.pixel(100, 100), qRgb(255, 255, 255));
    }
    {  // a symbol kind draws ink outside the rectangle on every side
        QImage image = blank();
        QPainter p(&image);
        drawGlyphBorder(p, 60, 60, 140, 140, 108, 20, 0x0000FF, true, 0xFF0000);
        p.end();
        int ink = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) ink += image.pixel(x, y) != qRgb(255, 255, 255);
        }
        EXPECT_GT(ink, 200);
        EXPECT_EQ(image.pixel(100, 100), qRgb(255, 255, 255));
    }
}
