// SPDX-License-Identifier: MIT
// The idle scheduler on its own: which task each idle call runs.

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "doc/IdleScheduler.h"
#include "doc/IdleTask.h"

namespace corvida {
namespace {

// A task that writes its name into a shared log and stays for a given number of runs.
struct LoggingTask : IdleTask {
    LoggingTask(char name, int kind, int runs, std::string& log) : IdleTask(kind), name(name), runs(runs), log(log) {}
    bool run() override {
        log += name;
        if (onRun) {
            onRun();
        }
        return --runs > 0;
    }
    bool ready() const override { return isReady; }

    char name;
    int runs;
    std::string& log;
    bool isReady = true;
    std::function<void()> onRun;
};

TEST(IdleSchedulerTest, HighestKindTakesTurnsAndLowerKindsWait) {
    std::string log;
    LoggingTask a('A', 1, 2, log), b('B', 3, 2, log), c('C', 3, 3, log);
    LoggingTask d('D', 1, 1, log), e('E', 0, 2, log), feed('F', 4, 1, log);
    IdleScheduler scheduler;
    // C joins after B, its own kind, and ahead of the lower kinds added before it.
    for (LoggingTask* task : {&a, &b, &e, &d, &c, &b}) {
        scheduler.add(task);
    }
    // A higher kind that appears during a lower kind's run goes next.
    e.onRun = [&] { scheduler.add(&feed); };

    for (int guard = 0; guard < 100 && scheduler.runOne(); ++guard) {
    }
    EXPECT_EQ(log, "BCBCCADAEFEF");
    EXPECT_TRUE(scheduler.empty());
}

TEST(IdleSchedulerTest, WaitingTaskIsPassedOverAndReportsNoWork) {
    std::string log;
    LoggingTask waiting('w', IdleTask::kCrawlStep, 5, log), other('o', IdleTask::kCrawlStep, 1, log);
    waiting.isReady = false;
    IdleScheduler scheduler;
    scheduler.add(&waiting);
    scheduler.add(&other);
    EXPECT_FALSE(scheduler.runOne()); // other ran and left; only a waiting task remains
    EXPECT_FALSE(scheduler.hasReadyWork());
    waiting.isReady = true;
    EXPECT_TRUE(scheduler.runOne());
    EXPECT_EQ(log, "ow");
}

} // namespace
} // namespace corvida
