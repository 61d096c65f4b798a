#include "MappingGuess.h"

#include "core/codecs/Gbk.h"
#include "core/config/VariableNameList.h"
#include "core/document/InfoRecord.h"

namespace pemo {

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The usual header words of the prices. 原价 comes first: "原售价" is the old price.
struct PriceWords {
    int target;
    const char* words[7];
};
const PriceWords kPriceWords[] = {
    {InfoRecord::kOriginalPrice, {"原价", "原售价", "零售价", "市场价", "门市价", "标价", nullptr}},
    {InfoRecord::kCurrentPrice, {"现价", "售价", "特价", "促销价", "会员价", "单价", "价格"}},
    {InfoRecord::kDiscount, {"折扣", "折", nullptr, nullptr, nullptr, nullptr, nullptr}},
};

// Usual header words and the word a variable's name holds for them.
struct VariableWords {
    const char* inName;
    const char* words[5];
};
const VariableWords kVariableWords[] = {
    {"名称", {"品名", "名称", "商品名", "货名", nullptr}},
    {"规格", {"规格", "型号", "包装", "净含量", nullptr}},
    {"单位", {"单位", "计量单位", nullptr, nullptr, nullptr}},
    {"产地", {"产地", "原产地", "产区", "出产地", nullptr}},
    {"条码", {"条码", "条形码", "国际条码", nullptr, nullptr}},
    {"等级", {"等级", "级别", nullptr, nullptr, nullptr}},
    {"说明", {"说明", "描述", "备注", nullptr, nullptr}},
    {"日期", {"日期", "生产日期", nullptr, nullptr, nullptr}},
};

// A header as compared: no blanks, no trailing colon, no "（元）" or "(元)" unit.
QString normalised(const QString& header) {
    QString h = header;
    h.remove(QLatin1Char(' ')).remove(QChar(0x3000)).remove(QLatin1Char('\t'));
    for (const QString& unit : {u("（元）"), u("(元)"), u("：")}) h.remove(unit);
    while (h.endsWith(QLatin1Char(':'))) h.chop(1);
    return h;
}

QString nameOf(const VariableNameList& names, int variable) {
    return normalised(Gbk::toUnicode(names.name(variable)));
}

// The name without a leading "商品": 规格 for 商品规格.
QString coreOf(const QString& name) {
    const QString prefix = u("商品");
    return name.startsWith(prefix) && name.size() > prefix.size() ? name.mid(prefix.size()) : name;
}

}  // namespace

int MappingGuess::targetOf(const QString& header, const VariableNameList& names) {
    const QString h = normalised(header);
    if (h.isEmpty()) return -1;
    // The configured names first, exactly or without "商品".
    for (int v = 0; v < VariableNameList::kVariableCount; ++v) {
        const QString name = nameOf(names, v);
        if (!name.isEmpty() && (h == name || h == coreOf(name))) return v;
    }
    for (const PriceWords& price : kPriceWords) {
        for (const char* word : price.words) {
            if (word && h == u(word)) return price.target;
        }
    }
    // Then the usual words, whole or inside a longer header ("商品条码", "售价(元)").
    for (const PriceWords& price : kPriceWords) {
        for (const char* word : price.words) {
            if (word && QString::fromUtf8(word).size() > 1 && h.contains(u(word))) return price.target;
        }
    }
    for (const VariableWords& group : kVariableWords) {
        bool said = false;
        for (const char* word : group.words) said = said || (word && h.contains(u(word)));
        if (!said) continue;
        for (int v = 0; v < VariableNameList::kVariableCount; ++v) {
            if (nameOf(names, v).contains(u(group.inName))) return v;
        }
    }
    return -1;
}

ImportSettings::Columns MappingGuess::guess(const QStringList& headers, const VariableNameList& names) {
    ImportSettings::Columns columns{};
    for (int c = 0; c < headers.size() && c < ImportSettings::kMaxColumn; ++c) {
        const int target = targetOf(headers.at(c), names);
        if (target >= 0 && columns[size_t(target)] == 0) columns[size_t(target)] = c + 1;
    }
    return columns;
}

int MappingGuess::mappedCount(const ImportSettings::Columns& columns) {
    int count = 0;
    for (int32_t column : columns) count += column != 0 ? 1 : 0;
    return count;
}

}  // namespace pemo
