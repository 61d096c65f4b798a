#include <gtest/gtest.h>

#include "Bytes.h"
#include "blocks/BlockKind.h"

using namespace pemo;
namespace K = pemo::BlockKind;

TEST(BlockKind, ClassAndPlaceholderTests) {
    enum : unsigned {
        G = 1,        // graphic
        T = 2,        // text
        P = 4,        // picture
        Closed = 8,
        Var = 16,
        Price = 32,
        Mall = 64,
        Fixed = 128,
        Product = 256,
    };
    const struct {
        int32_t kind;
        unsigned is;
    } cases[] = {
        {K::Line, G},
        {K::Curve, G},
        {K::Ellipse, G | Closed},
        {K::Rectangle, G | Closed},
        {0x0100000A, G},
        {K::FirstArrow, G | Closed},
        {K::LastArrow, G | Closed},
        {0x0100001D, G},
        {K::FirstStarTool, G},
        {K::FixedText, T | Fixed},
        {K::FirstVariable, T | Var},
        {K::LastVariable, T | Var},
        {K::OriginalPrice, T | Price},
        {K::Discount, T | Price},
        {K::FirstMallInfo, T | Mall},
        {K::LastMallInfo, T | Mall},
        {K::InsertedPicture, P},
        {K::Logo1, P},
        {K::Logo2, P},
        {K::ProductPicture, P | Product},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.kind);
        EXPECT_EQ(K::isGraphic(c.kind), bool(c.is & G));
        EXPECT_EQ(K::isText(c.kind), bool(c.is & T));
        EXPECT_EQ(K::isPicture(c.kind), bool(c.is & P));
        EXPECT_TRUE(K::hasClassBit(c.kind));
        EXPECT_EQ(K::isClosedGraphic(c.kind), bool(c.is & Closed));
        EXPECT_EQ(K::isVariable(c.kind), bool(c.is & Var));
        EXPECT_EQ(K::isPrice(c.kind), bool(c.is & Price));
        EXPECT_EQ(K::isMallInfo(c.kind), bool(c.is & Mall));
        EXPECT_EQ(K::isFixedText(c.kind), bool(c.is & Fixed));
        EXPECT_EQ(K::isProductPicture(c.kind), bool(c.is & Product));
    }
    EXPECT_FALSE(K::hasClassBit(K::SelectionTool));
}

TEST(BlockKind, DisplayNames) {
    const struct {
        int32_t kind;
        const char* name;
    } cases[] = {
        {K::Line, "{直线}"},
        {K::Polygon, "{多边形}"},
        {K::ClosedCurve, "{曲线区域}"},
        {0x01000015, "{箭头}"},
        {0x01000023, "{星形}"},
        {K::FixedText, "{文字}"},
        {K::OriginalPrice, "{原价}"},
        {K::CurrentPrice, "{现价}"},
        {K::Discount, "{折扣}"},
        {0x02020003, "{商品规格}"},
        {0x02080002, "{商品规格}"},
        {K::InsertedPicture, "{图象}"},
        {K::Logo1, "{商场Logo1}"},
        {K::ProductPicture, "{商品图片}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(K::displayName(c.kind, test::gbk("商品规格")), test::gbk(c.name));
    }
}
