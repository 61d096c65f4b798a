#include <gtest/gtest.h>

#include "Bytes.h"
#include "core/config/VariableNameList.h"
#include "core/document/InfoRecord.h"
#include "core/records/MappingGuess.h"

using namespace pemo;
using test::gbk;

namespace {

QStringList words(const char* utf8) { return QString::fromUtf8(utf8).split(QLatin1Char(',')); }

constexpr int kName = 0, kSpec = 2, kUnit = 3, kOrigin = 5;
constexpr int kOld = InfoRecord::kOriginalPrice, kNow = InfoRecord::kCurrentPrice,
              kOff = InfoRecord::kDiscount;

}  // namespace

TEST(MappingGuess, MapsHeaderWordsToTheConfiguredTargets) {
    VariableNameList renamed;
    renamed.setName(9, gbk("条码"));
    const VariableNameList standard;
    const struct {
        const char* name;
        const VariableNameList& names;
        const char* headers;
        std::vector<std::pair<int, int>> mapped;  // target, column
    } cases[] = {
        {"the variables' own names", standard, "商品名称,商品规格,商品产地,原价,现价",
         {{kName, 1}, {kSpec, 2}, {kOrigin, 3}, {kOld, 4}, {kNow, 5}}},
        {"the names without 商品", standard, "名称,规格,单位,产地", {{kName, 1}, {kSpec, 2}, {kUnit, 3}, {kOrigin, 4}}},
        {"usual words", standard, "品名,售价,零售价,折扣", {{kName, 1}, {kNow, 2}, {kOld, 3}, {kOff, 4}}},
        {"特价 is the current price", standard, "货名,特价", {{kName, 1}, {kNow, 2}}},
        {"units, blanks and colons", standard, " 品 名 ,售价(元),原价（元）:", {{kName, 1}, {kNow, 2}, {kOld, 3}}},
        {"the first column naming a target wins", standard, "名称,品名,现价,售价", {{kName, 1}, {kNow, 3}}},
        {"unknown words stay unmapped", standard, "序号,甲,名称", {{kName, 3}}},
        {"条码 needs a variable so named", standard, "条码,名称", {{kName, 2}}},
        {"a renamed variable is found by its name", renamed, "条形码,名称,条码", {{9, 1}, {kName, 2}}},
        {"nothing", standard, ",,", {}},
    };
    for (const auto& c : cases) {
        ImportSettings::Columns expected{};
        for (const auto& [target, column] : c.mapped) expected[size_t(target)] = column;
        EXPECT_EQ(MappingGuess::guess(words(c.headers), c.names), expected) << c.name;
        EXPECT_EQ(MappingGuess::mappedCount(expected), int(c.mapped.size())) << c.name;
    }
}
