#include <gtest/gtest.h>

#include "Bytes.h"
#include "core/document/CPatDoc.h"
#include "core/records/RecordSearch.h"

using namespace pemo;
using test::gbk;

namespace {

// Records with the given values of variables 1 and 2 (UTF-8, stored as GBK).
void fill(CPatDoc& doc, std::initializer_list<std::pair<const char*, const char*>> values) {
    doc.clear();
    for (const auto& [first, second] : values) {
        auto record = doc.newRecord();
        record->setValue(0, gbk(first));
        record->setValue(1, gbk(second));
        doc.records.push_back(std::move(record));
    }
    doc.records.front()->current = true;
}

RecordSearch::Ticks all() {
    RecordSearch::Ticks t;
    t.fill(true);
    return t;
}

}  // namespace

TEST(RecordSearch, FirstTickedValueFromTheStartOn) {
    CPatDoc doc;
    fill(doc, {{"牛奶", "鲜奶"}, {"面包", "全麦"}, {"奶酪", "牛奶制品"}, {"Milk", "milk"}});
    RecordSearch::Ticks secondOnly{};
    secondOnly[1] = true;
    RecordSearch::Ticks none{};

    const struct {
        const char* text;
        RecordSearch::Ticks ticks;
        int from, record, variable;
    } cases[] = {
        {"牛奶", all(), 0, 0, 0},      {"牛奶", all(), 1, 2, 1},  // variable 2 of record 2
        {"奶", all(), 1, 2, 0},  // variable 1 comes before variable 2
        {"牛奶", secondOnly, 0, 2, 1}, {"牛奶", none, 0, -1, -1},
        {"牛奶", all(), 3, -1, -1},  // no wrap-around
        {"milk", all(), 0, 3, 1},    // case-sensitive
        {"Milk", all(), -5, 3, 0},     {"", all(), 0, -1, -1},
        {"面包", all(), 7, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SCOPED_TRACE(c.from);
        const RecordSearch::Match m = RecordSearch::find(doc, gbk(c.text), c.ticks, c.from);
        EXPECT_EQ(m.record, c.record);
        EXPECT_EQ(m.variable, c.variable);
    }
}

TEST(RecordSearch, NeverMatchesInsideADoubleByteCharacter) {
    CPatDoc doc;
    fill(doc, {{"", ""}, {"", ""}});
    doc.records[0]->setValue(0, gbk("八") + QByteArray("a"));
    doc.records[1]->setValue(0, gbk("八") + gbk("刷"));
    doc.records[1]->setValue(1, gbk("刷"));
    // "a" written after a double-byte character whose trail byte is 0x61.
    auto third = doc.newRecord();
    third->setValue(0, QByteArray("\x81\x61", 2));
    third->setValue(1, QByteArray("xa"));
    doc.records.push_back(std::move(third));

    const struct {
        QByteArray text;
        int from, record, variable;
    } cases[] = {
        {"a", 0, 0, 0},
        {"a", 1, 2, 1},  // 0x81 0x61 is one character; its trail byte is not "a"
        {QByteArray("\xcb\xa2"), 0, 1, 0},
    };
    EXPECT_EQ(gbk("八"), QByteArray("\xb0\xcb"));
    EXPECT_EQ(gbk("刷"), QByteArray("\xcb\xa2"));
    for (const auto& c : cases) {
        const RecordSearch::Match m = RecordSearch::find(doc, c.text, all(), c.from);
        EXPECT_EQ(m.record, c.record) << c.text.toHex().constData();
        EXPECT_EQ(m.variable, c.variable) << c.text.toHex().constData();
    }
    // 八刷 is B0 CB CB A2: the bytes CB CB at offset 1 straddle two characters.
    EXPECT_EQ(RecordSearch::find(doc, QByteArray("\xcb\xcb"), all(), 0).record, -1);
}

TEST(RecordSearch, FindNextStartsAfterTheCurrentOrAtTheTop) {
    const int cases[][3] = {{0, 5, 1}, {3, 5, 4}, {4, 5, 0}, {0, 1, 0}};  // current, count, start
    for (const auto& c : cases)
        EXPECT_EQ(RecordSearch::nextStart(c[0], c[1]), c[2]) << c[0];
}
