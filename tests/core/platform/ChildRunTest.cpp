#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "core/platform/ChildRun.h"

using namespace pemo;

TEST(ChildRun, WorkEndsWithinItsLimitsOrIsStopped) {
    const struct {
        const char* name;
        std::function<QByteArray()> work;
        ChildRun::Outcome outcome;
        QByteArray bytes;
    } cases[] = {
        {"hands its bytes back", [] { return QByteArray(300000, 'r'); }, ChildRun::Outcome::Done,
         QByteArray(300000, 'r')},
        {"runs without end",
         [] {
             for (;;) std::this_thread::sleep_for(std::chrono::milliseconds(10));
             return QByteArray();
         },
         ChildRun::Outcome::OverLimits, {}},
        {"grows without end",
         [] {
             std::vector<std::vector<char>> held;
             for (;;) held.emplace_back(size_t(64) * 1024 * 1024, 'x');
             return QByteArray();
         },
         ChildRun::Outcome::OverLimits, {}},
        {"dies", []() -> QByteArray { std::abort(); }, ChildRun::Outcome::Failed, {}},
    };
    for (const auto& c : cases) {
        ChildRun::Limits limits;
        limits.milliseconds = 500;
        limits.memoryBytes = qint64(256) * 1024 * 1024;
        QByteArray out = "left over";
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(ChildRun::run(c.work, limits, out), c.outcome) << c.name;
        EXPECT_LT(clock.elapsed(), 3000) << c.name;
        EXPECT_EQ(out, c.bytes) << c.name;
    }
}
