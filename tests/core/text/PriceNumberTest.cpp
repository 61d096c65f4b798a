#include <gtest/gtest.h>

#include "Bytes.h"
#include "core/text/PriceNumber.h"

using namespace pemo;
using test::gbk;

TEST(PriceNumber, TellsPricesFromWords) {
    const std::pair<const char*, bool> cases[] = {
        {"4.50", true},   {"12", true},     {" 3.5 ", true},  {"￥12.80", true}, {"￥ 8", true},
        {"3元", true},    {".5", true},     {"", false},      {"面议", false},  {"4.5.0", false},
        {"-3", false},    {"3,50", false},  {"价格", false},  {".", false},     {"￥", false},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(PriceNumber::isNumber(gbk(text)), number) << text;
}
