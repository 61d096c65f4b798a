#include <gtest/gtest.h>

#include <QTreeWidget>
#include <QPushButton>

#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/print/PrintMode.h"
#include "gui/view/PrintCheckDialog.h"
#include "gui/view/PrintCommands.h"

namespace pemo {

namespace {

// Four queued signs with a name and a price on them; the given ones have no price.
std::unique_ptr<CPatDoc> signs(std::initializer_list<int> withoutPrice) {
    auto doc = std::make_unique<CPatDoc>();
    for (int i = 0; i < 4; ++i) {
        auto r = std::make_unique<InfoRecord>();
        r->setValue(0, "tea");
        r->setValue(InfoRecord::kCurrentPrice, "5.00");
        r->appendBlock(TextBlock::create(BlockKind::CurrentPrice, {1000, 1000, 9000, 3000}, "x", true));
        doc->records.push_back(std::move(r));
    }
    for (int i : withoutPrice) doc->recordAt(i)->setValue(InfoRecord::kCurrentPrice, "");
    doc->records.front()->current = true;
    return doc;
}

}  // namespace

TEST(PrintCheckDialog, ListsTheFindingsAndGoesToARecordOrPrintsAnyway) {
    const auto doc = signs({1, 2, 3});
    PrintCommands commands(*doc, nullptr);
    const struct {
        const char* name;
        std::function<int(PrintCheckDialog&)> user;
        bool goesOn;
        int current;
    } cases[] = {
        {"print anyway", [](PrintCheckDialog& d) {
             d.printButton()->click();
             return d.result();
         }, true, 0},
        {"cancel", [](PrintCheckDialog& d) {
             d.reject();
             return d.result();
         }, false, 0},
        {"go to the third finding's record", [](PrintCheckDialog& d) {
             d.tree()->setCurrentItem(d.tree()->topLevelItem(0)->child(2));
             EXPECT_TRUE(d.goButton()->isEnabled());
             d.goButton()->click();
             return d.result();
         }, false, 3},
        {"go to a group's first record", [](PrintCheckDialog& d) {
             d.goButton()->click();
             return d.result();
         }, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc->setCurrentIndex(0);
        int shown = 0;
        commands.runCheckDialog = [&](PrintCheckDialog& dialog) {
            ++shown;
            // One kind: one group line naming the records, the findings under it.
            EXPECT_EQ(dialog.tree()->topLevelItemCount(), 1);
            const QTreeWidgetItem* group = dialog.tree()->topLevelItem(0);
            EXPECT_EQ(group->text(0), QString::fromUtf8("内容为空：第2-4项"));
            EXPECT_EQ(group->text(1), "3");
            EXPECT_EQ(group->childCount(), 3);
            EXPECT_TRUE(group->child(0)->text(0).startsWith(QString::fromUtf8("第2项：")));
            return c.user(dialog);
        };
        EXPECT_EQ(commands.checkBeforePrinting(PrintMode::ByItemWithBackground, false), c.goesOn);
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(doc->currentIndex(), c.current);
    }
}

TEST(PrintCheckDialog, QuietWhenNothingIsFoundOrTheJobIsRefusedAnyway) {
    enum class Job { Clean, EmptyQueue, SheetTooSmall };
    for (Job job : {Job::Clean, Job::EmptyQueue, Job::SheetTooSmall}) {
        // Signs without a price would be asked about, were the job not refused anyway.
        const auto doc = signs(job == Job::Clean ? std::initializer_list<int>{} : std::initializer_list<int>{0, 1});
        if (job == Job::EmptyQueue) {
            for (auto& r : doc->records) r->copies = 0;
        }
        if (job == Job::SheetTooSmall) {
            for (auto& r : doc->records) r->resizePage(2000, 3000);
        }
        PrintCommands commands(*doc, nullptr);
        commands.runCheckDialog = [](PrintCheckDialog&) {
            ADD_FAILURE() << "the dialog was shown";
            return 0;
        };
        const int mode = job == Job::SheetTooSmall ? PrintMode::Merge : PrintMode::ByItemWithBackground;
        EXPECT_TRUE(commands.checkBeforePrinting(mode, true));
    }
}

}  // namespace pemo
