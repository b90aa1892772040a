// SPDX-License-Identifier: MIT
// The idle scheduler on its own: which task each idle call runs.

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "doc/IdleScheduler.h"
#include "doc/IdleTask.h"

namespace corvida {
namespace {

// A task that writes its name into a shared log and stays for a given number of runs.
class LoggingTask : public IdleTask {
public:
    LoggingTask(std::string name, int kind, int runs, std::vector<std::string>& log)
        : IdleTask(kind), m_name(std::move(name)), m_runsLeft(runs), m_log(log) {}

    bool run() override {
        m_log.push_back(m_name);
        if (onRun) {
            onRun();
        }
        return --m_runsLeft > 0;
    }
    bool ready() const override { return isReady; }

    bool isReady = true;
    std::function<void()> onRun;

private:
    std::string m_name;
    int m_runsLeft;
    std::vector<std::string>& m_log;
};

TEST(IdleSchedulerTest, HighestKindTakesTurnsAndLowerKindsWait) {
    std::vector<std::string> log;
    LoggingTask a("A", 1, 2, log);
    LoggingTask b("B", 3, 2, log);
    LoggingTask e("E", 0, 2, log);
    LoggingTask d("D", 1, 1, log);
    LoggingTask c("C", 3, 3, log);
    LoggingTask feed("F", 4, 1, log);
    IdleScheduler scheduler;
    // C joins after B, its own kind, and ahead of the lower kinds added before it.
    for (LoggingTask* task : {&a, &b, &e, &d, &c, &b}) {
        scheduler.add(task);
    }
    // A higher kind that appears during a lower kind's run goes next.
    e.onRun = [&] { scheduler.add(&feed); };

    for (int guard = 0; guard < 100 && scheduler.runOne(); ++guard) {
    }
    EXPECT_EQ(log, (std::vector<std::string>{"B", "C", "B", "C", "C", "A", "D", "A", "E", "F", "E", "F"}));
    EXPECT_TRUE(scheduler.empty());
}

TEST(IdleSchedulerTest, WaitingTaskIsPassedOverAndReportsNoWork) {
    std::vector<std::string> log;
    LoggingTask waiting("waiting", IdleTask::kCrawlStep, 5, log);
    LoggingTask other("other", IdleTask::kCrawlStep, 1, log);
    waiting.isReady = false;
    IdleScheduler scheduler;
    scheduler.add(&waiting);
    scheduler.add(&other);

    EXPECT_FALSE(scheduler.runOne()); // other ran and left; only a waiting task remains
    EXPECT_FALSE(scheduler.runOne());
    EXPECT_EQ(log, std::vector<std::string>{"other"});
    EXPECT_TRUE(scheduler.contains(&waiting));
    EXPECT_FALSE(scheduler.hasReadyWork());

    waiting.isReady = true;
    EXPECT_TRUE(scheduler.hasReadyWork());
    EXPECT_TRUE(scheduler.runOne());
    EXPECT_EQ(log.back(), "waiting");
}

} // namespace
} // namespace corvida
