#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/records/DelimitedText.h"
#include "core/records/TableSheet.h"
#include "gui/records/PriceUpdateDialog.h"

using namespace pemo;

namespace {

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

TableSheet listOf(const char* utf8) {
    return TableSheet(DelimitedText::parse(gbk(utf8), ','), TableSheet::Kind::Text);
}

// Two products: name (variable 1), barcode (variable 2, named 条码), price.
void fill(CPatDoc& doc) {
    doc.newDocument();
    doc.variableNames.setName(1, gbk("条码"));
    doc.records.clear();
    const char* const products[][3] = {{"苹果", "111", "4.50"}, {"梨", "222", "3.20"}};
    for (const auto& p : products) {
        auto record = std::make_unique<InfoRecord>();
        record->values[0] = gbk(p[0]);
        record->values[1] = p[1];
        record->values[InfoRecord::kCurrentPrice] = p[2];
        doc.records.push_back(std::move(record));
    }
    doc.records.front()->current = true;
}

PriceUpdate::Columns columns() {
    PriceUpdate::Columns c{};
    c[0] = 1;
    c[1] = 2;
    c[InfoRecord::kCurrentPrice] = 3;
    return c;
}

}  // namespace

TEST(PriceUpdateDialog, ShowsWhatWillChangeAndRefusesDuplicates) {
    const struct {
        const char* name;
        const char* list;
        bool enabled;
        int lines;
        const char* summaryStart;
    } cases[] = {
        {"a price and a new product", "苹果,111,4.80\n橙,333,6.60\n", true, 2, "改价 1 项，新增 1 项"},
        {"nothing changes", "苹果,111,4.5\n", true, 0, "改价 0 项，新增 0 项，未变 1 项，表中没有 1 项"},
        {"a key twice", "苹果,111,4.80\n苹果2,111,4.90\n", false, 0, "价格表中重复的关键字：111"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPatDoc doc;
        fill(doc);
        const TableSheet sheet = listOf(c.list);
        PriceUpdateDialog dialog(doc, sheet, 1, columns());
        EXPECT_EQ(dialog.keyBox()->currentData().toInt(), 1) << "the barcode is the likely key";
        EXPECT_EQ(dialog.updateButton()->isEnabled(), c.enabled);
        EXPECT_EQ(dialog.changeList()->count(), c.lines);
        EXPECT_TRUE(dialog.summaryLabel()->text().startsWith(QString::fromUtf8(c.summaryStart)))
            << dialog.summaryLabel()->text().toStdString();
    }
}

TEST(PriceUpdateDialog, ChoosingAnotherKeyPlansAgain) {
    CPatDoc doc;
    fill(doc);
    // By barcode the apple is new (its code changed); by name it only changes its code.
    const TableSheet sheet = listOf("苹果,999,4.50\n");
    PriceUpdateDialog dialog(doc, sheet, 1, columns());
    EXPECT_EQ(dialog.update().newCount(), 1);
    dialog.keyBox()->setCurrentIndex(dialog.keyBox()->findData(0));
    EXPECT_EQ(dialog.update().newCount(), 0);
    EXPECT_EQ(dialog.update().changedCount(), 1);
    EXPECT_FALSE(dialog.pageBox()->isEnabled()) << "no new product needs a page";
}
