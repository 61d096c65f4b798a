// Punctuation drawn with the installed faces: its ink sits against the text it belongs
// to, whatever the face does with the mark in its own em; and a mixed line lays out by
// the line-breaking rules with each face's real metrics.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "TextFixtures.h"
#include "core/codecs/Gbk.h"
#include "core/text/CharClasses.h"

using namespace pemo;
using namespace pemo::test;

namespace {

const char* const kFaces[] = {"宋体", "黑体", "楷体", "华文新魏", "方正姚体"};
constexpr int kSize = 40;               // points: at 96 dpi an em of 53 pixels
constexpr int kEm = kSize * 96 / 72;

int px(int twips) { return twips * 96 / 1440; }

// "中", the mark in red, "中", laid out with the installed face's metrics.
RichText markBetween(const char* face, const QString& mark, bool vertical) {
    CharStyle style;
    style.chineseFace = gbk(face);
    style.size = kSize;
    RichText t(vertical ? 2000 : 20000, vertical ? 20000 : 2000,
               Gbk::fromUnicode(QString::fromUtf8("中") + mark + QString::fromUtf8("中")), style,
               TextKind::Fixed, kSize, 0, RichText::Left);
    t.setVertical(vertical);
    t.setSelection({1, true}, {2, true});
    t.applyStyle(RichText::TextColour, 0x0000FF, false);
    t.setSelection({0, true}, {0, true});
    t.layout();
    return t;
}

// The bounds of the red ink, and of the black ink before and after it along the text.
struct Inks {
    QRect mark;
    QPointF markCentre;
};

Inks inksOf(const RichText& t, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        t.draw(p, TextDevice{1.0, 0, 0, 96, 96}, false);
    }
    Inks out;
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qRed(c) - qGreen(c) > 90) {
                out.mark |= QRect(x, y, 1, 1);
                sx += x;
                sy += y;
                ++n;
            }
        }
    }
    if (n) out.markCentre = QPointF(sx / n, sy / n);
    return out;
}

TEST(PunctuationTest, HorizontalMarksSitAgainstTheirText) {
    const struct {
        const char* mark;
        bool opening;
    } marks[] = {{"。", false}, {"，", false}, {"：", false}, {"；", false}, {"、", false},
                 {"）", false}, {"】", false}, {"”", false}, {"（", true},  {"【", true},
                 {"“", true}};
    const int slack = kEm / 10 + 2;
    for (const char* face : kFaces) {
        for (const auto& m : marks) {
            SCOPED_TRACE(std::string(face) + " " + m.mark);
            const RichText t = markBetween(face, QString::fromUtf8(m.mark), false);
            const Inks ink = inksOf(t, {400, 120});
            ASSERT_FALSE(ink.mark.isEmpty());
            const int cellStart = px(t.item(1).x);
            const int cellEnd = px(t.item(1).x + t.item(1).width);
            // Inside its own cell (a pixel of anti-aliasing either side) …
            EXPECT_GE(ink.mark.left(), cellStart - 1);
            EXPECT_LE(ink.mark.right(), cellEnd + 1);
            // … against its neighbour: a closing mark at the start, an opening one at the end.
            if (m.opening) {
                EXPECT_GE(ink.mark.right() + 1, cellEnd - slack);
            } else {
                EXPECT_LE(ink.mark.left(), cellStart + slack);
            }
        }
    }
}

TEST(PunctuationTest, VerticalMarksSitInTheUpperRightOrAgainstTheirText) {
    const char* const upperRight[] = {"。", "，", "：", "；", "、"};
    const struct {
        const char* mark;
        bool opening;
    } turned[] = {{"（", true}, {"）", false}, {"【", true}, {"】", false}, {"“", true}, {"”", false}};
    const int slack = kEm / 10 + 2;
    for (const char* face : kFaces) {
        for (const char* mark : upperRight) {
            SCOPED_TRACE(std::string(face) + " " + mark);
            const RichText t = markBetween(face, QString::fromUtf8(mark), true);
            const Inks ink = inksOf(t, {140, 400});
            ASSERT_FALSE(ink.mark.isEmpty());
            const TextItem& it = t.item(1);
            const double columnRight = px(t.frameWidth() - it.lineTop);
            const double columnLeft = columnRight - px(it.lineHeight);
            const double top = px(it.y), bottom = px(it.y + it.height);
            // The centre of its ink in the upper right quarter of its cell.
            EXPECT_GT(ink.markCentre.x(), (columnLeft + columnRight) / 2);
            EXPECT_LT(ink.markCentre.x(), columnRight);
            EXPECT_LT(ink.markCentre.y(), (top + bottom) / 2);
            EXPECT_GT(ink.markCentre.y(), top);
        }
        for (const auto& m : turned) {
            SCOPED_TRACE(std::string(face) + " " + m.mark);
            const RichText t = markBetween(face, QString::fromUtf8(m.mark), true);
            const Inks ink = inksOf(t, {140, 400});
            ASSERT_FALSE(ink.mark.isEmpty());
            const int cellStart = px(t.item(1).y);
            const int cellEnd = px(t.item(1).y + t.item(1).width);
            // Turned (a bracket becomes an arc across the column), inside its cell along
            // the column, against its neighbour.
            EXPECT_GT(ink.mark.width(), ink.mark.height());
            EXPECT_GE(ink.mark.top(), cellStart - 1);
            EXPECT_LE(ink.mark.bottom(), cellEnd + 1);
            if (m.opening) {
                EXPECT_GE(ink.mark.bottom() + 1, cellEnd - slack);
            } else {
                EXPECT_LE(ink.mark.top(), cellStart + slack);
            }
        }
    }
}

// A mixed line in each common face, with the faces' own metrics: it breaks only where
// the rules allow, every line fits the frame, and fitting finds a size that fits.
TEST(PunctuationTest, MixedLinesBreakAndFitInEveryFace) {
    const QString text = QString::fromUtf8("品名：红富士苹果，产地（山东烟台），现价12.80元/kg。限时“特惠”！");
    for (const char* face : {"宋体", "黑体", "楷体", "仿宋", "隶书", "幼圆", "华文行楷", "方正姚体"}) {
        SCOPED_TRACE(face);
        CharStyle style;
        style.chineseFace = gbk(face);
        style.size = 24;
        RichText t(5000, 4000, Gbk::fromUnicode(text), style, TextKind::Fixed, 24, 0, RichText::Left);
        t.layout();
        int lines = 1;
        for (int i = 1; i < t.itemCount() - 1; ++i) {
            const TextItem& it = t.item(i);
            EXPECT_LE(it.x + it.drawnWidth, t.frameWidth() + 1) << i;
            if (it.lineTop == t.item(i - 1).lineTop) continue;
            ++lines;
            // A line never begins with closing punctuation or a non-starter, nor ends
            // with an opening one.
            EXPECT_NE(it.itemClass(), ItemClass::Closing) << i;
            EXPECT_NE(it.itemClass(), ItemClass::NonStarter) << i;
            EXPECT_NE(t.item(i - 1).itemClass(), ItemClass::Opening) << i;
        }
        EXPECT_GE(lines, 3);
        // Half-width marks take half an em, ideographs a whole one.
        EXPECT_EQ(t.item(2).width * 2, t.item(0).width);
        t.fitToFrame(true);
        EXPECT_LE(t.extent(), t.frameHeight());
        EXPECT_GE(t.fontSize(), 20);
    }
}

}  // namespace
