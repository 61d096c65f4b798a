#include <gtest/gtest.h>

#include <QFontMetrics>

#include "core/codecs/Gbk.h"
#include "core/text/CharStyle.h"
#include "core/text/FontFaces.h"
#include "core/text/TextMetrics.h"

using namespace pemo;

// The installed faces measure at every size a fit may try as a font of that size
// measures: cell, ascent and every printable width, in each weight and slant.
TEST(TextMetrics, PlatformMetricsAreThoseOfAFontOfTheSize) {
    QList<QByteArray> faces = FontFaces::names(false);
    faces += FontFaces::names(true).mid(0, 4);
    faces += QByteArrayLiteral("NoSuchFace");
    const int sizes[] = {1, 7, 20, 23, 24, 44, 104, 188, 359, 360};
    int checked = 0;
    for (const QByteArray& face : faces) {
        for (int style = 0; style < 4; ++style) {
            CharStyle s;
            s.westernFace = face;
            s.chineseFace = face;
            s.bold = style & 1;
            s.italic = (style & 2) != 0;
            for (int size : sizes) {
                SCOPED_TRACE(Gbk::toUnicode(face).toStdString() + " style " + std::to_string(style) +
                             " size " + std::to_string(size));
                const int em = 20 * size;
                const QFontMetrics font(FontFaces::font(face, em, s.bold, s.italic));
                const StyleMetrics m = TextMetrics::platform().measure(s, size);
                if (FontFaces::resolve(face).cjk) {
                    EXPECT_EQ(m.westernHeight, em);
                    EXPECT_EQ(m.chineseAscent, em * 7 / 8);
                } else {
                    EXPECT_EQ(m.westernHeight, font.ascent() + font.descent());
                    EXPECT_EQ(m.westernAscent, font.ascent());
                    EXPECT_EQ(m.chineseHeight, font.ascent() + font.descent());
                }
                for (int c = 33; c <= 126; ++c) {
                    if (m.widthOf(uint8_t(c)) != font.horizontalAdvance(QChar(c)))
                        ADD_FAILURE() << char(c) << ": " << m.widthOf(uint8_t(c)) << " against "
                                      << font.horizontalAdvance(QChar(c));
                }
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 100);
    CharStyle none;
    for (int w : TextMetrics::platform().measure(none, 0).widths) EXPECT_EQ(w, 0);
}
