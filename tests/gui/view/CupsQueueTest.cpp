// Withdrawing a cancelled job from a CUPS queue picks our job by its title, never the
// queue's newest, which may be another program's. No print server is asked here.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "gui/view/CupsQueue.h"

namespace pemo {

TEST(CupsQueue, AWithdrawnJobIsOursByItsTitle) {
    const QByteArray ours = CupsQueue::withdrawalTitle();
    const QByteArray other = "report.pdf";
    using Jobs = std::vector<CupsQueue::QueuedJob>;
    const struct {
        const char* name;
        Jobs jobs;
        int after;
        int withdrawn;
    } cases[] = {
        {"another program's job came after ours", {{11, ours}, {12, other}}, 10, 11},
        {"another program's job came before ours", {{11, other}, {12, ours}}, 10, 12},
        {"ours alone", {{7, ours}}, 6, 7},
        {"only older jobs carry the title", {{5, ours}, {8, other}}, 6, 0},
        {"nothing of ours reached the queue", {{7, other}, {9, other}}, 6, 0},
        {"an empty queue", {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CupsQueue::jobToWithdraw(c.jobs, c.after, ours), c.withdrawn);
    }
    // The title names this process, so two running copies never take each other's job.
    EXPECT_TRUE(ours.contains(QByteArray::number(QCoreApplication::applicationPid())));
    EXPECT_NE(ours, other);
}

}  // namespace pemo
