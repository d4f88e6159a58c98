// The work runner on a real worker thread. The tests wait on its signals, never on the clock.

#include <QSignalSpy>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "tests/ui/fake_report.h"
#include "ui/work_runner.h"

namespace quillex::testing {
namespace {

class WorkRunnerTest : public ::testing::Test {
  protected:
    // Runs the event loop until the runner is idle again.
    bool WaitUntilIdle() {
        QSignalSpy changes(&runner_, &WorkRunner::BusyChanged);
        while (runner_.Busy()) {
            if (!changes.wait(30000)) {
                return false;
            }
        }
        return true;
    }
    // Runs the event loop until the running work has reported `share`.
    bool WaitForShare(int share) {
        QSignalSpy shares(&runner_, &WorkRunner::ShareChanged);
        for (;;) {
            for (const QList<QVariant>& reported : shares) {
                if (reported.at(0).toInt() == share) {
                    return true;
                }
            }
            if (!shares.wait(30000)) {
                return false;
            }
        }
    }

    FakeReport report_;
    WorkRunner runner_{WorkRunner::Where::Worker, report_};
};

TEST_F(WorkRunnerTest, WorkRunsOnAWorkerAndEndsOnTheWindowsThread) {
    QThread* workThread = nullptr;
    QThread* endThread = nullptr;
    bool failed = true;
    QSignalSpy shares(&runner_, &WorkRunner::ShareChanged);
    ASSERT_TRUE(runner_.Start(
        [&](WorkMeter& meter) {
            workThread = QThread::currentThread();
            meter.Reached(1, 2);
        },
        [&](std::exception_ptr failure) {
            endThread = QThread::currentThread();
            failed = failure != nullptr;
        }));
    EXPECT_TRUE(runner_.Busy());
    EXPECT_FALSE(runner_.Start([](WorkMeter&) {}, {}));  // one piece at a time
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_NE(workThread, QThread::currentThread());
    EXPECT_EQ(endThread, QThread::currentThread());
    EXPECT_FALSE(failed);
    ASSERT_FALSE(shares.isEmpty());
    EXPECT_EQ(shares.last().at(0).toInt(), WorkRunner::kShareRange / 2);
}

TEST_F(WorkRunnerTest, LongWorkShowsItsShareAndACancelStopsItAndWhatItWouldStartNext) {
    QSignalSpy shown(&runner_, &WorkRunner::ShareShown);
    bool cancelled = false;
    bool nextStarted = true;
    ASSERT_TRUE(runner_.Start(
        [](WorkMeter& meter) {
            while (meter.Reached(1, 4)) {
                std::this_thread::yield();
            }
            throw WorkCancelled();
        },
        [&](std::exception_ptr failure) {
            cancelled = WasCancelled(failure);
            nextStarted = runner_.Start([](WorkMeter&) {}, {});
        }));
    ASSERT_TRUE(WaitForShare(WorkRunner::kShareRange / 4));
    ASSERT_TRUE(!shown.isEmpty() || shown.wait(30000));  // the bar, once the work has lasted
    runner_.Cancel();
    ASSERT_TRUE(WaitUntilIdle());
    ASSERT_EQ(shown.count(), 2);
    EXPECT_FALSE(shown.last().at(0).toBool());
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(nextStarted);
    // The next piece of work runs again.
    EXPECT_TRUE(runner_.Start([](WorkMeter&) {}, {}));
    EXPECT_TRUE(WaitUntilIdle());
}

TEST_F(WorkRunnerTest, AFailureReachesTheEndAndWhatTheEndLetsPassTheReport) {
    ASSERT_TRUE(runner_.Start([](WorkMeter&) { throw std::runtime_error("broken"); },
                              [](std::exception_ptr failure) { std::rethrow_exception(failure); }));
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(report_.shown, std::vector<QString>{"broken."});
}

TEST_F(WorkRunnerTest, WorkCancelledBeforeAThreadTakesItUpEndsAsCancelled) {
    // The pool's only thread is held by other work, so this work waits in its queue while it
    // is cancelled.
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    FakeReport report;
    WorkRunner holder(WorkRunner::Where::Worker, report);
    std::atomic<bool> hold = true;
    std::atomic<bool> held = false;
    ASSERT_TRUE(holder.Start(
        [&](WorkMeter&) {
            held = true;
            while (hold) {
                std::this_thread::yield();
            }
        },
        {}));
    while (!held) {
        std::this_thread::yield();
    }
    std::atomic<bool> ran = false;
    bool cancelled = false;
    ASSERT_TRUE(
        runner_.Start([&](WorkMeter&) { ran = true; },
                      [&](std::exception_ptr failure) { cancelled = WasCancelled(failure); }));
    runner_.Cancel();
    hold = false;
    ASSERT_TRUE(WaitUntilIdle());
    pool->setMaxThreadCount(threads);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(cancelled);
}

TEST(WorkRunner, ACancelTheWorkOutranLetsTheChainGoOn) {
    FakeReport report;
    WorkRunner runner(WorkRunner::Where::Inline, report);
    bool nextRan = false;
    bool failed = true;
    runner.Start([&](WorkMeter&) { runner.Cancel(); },  // past its last report
                 [&](std::exception_ptr failure) {
                     failed = failure != nullptr;
                     runner.Start([&](WorkMeter&) { nextRan = true; }, {});
                 });
    EXPECT_FALSE(failed);
    EXPECT_TRUE(nextRan);
    EXPECT_FALSE(runner.Busy());
}

TEST(WorkRunner, GoingAwayStopsTheWorkAndWaitsForIt) {
    FakeReport report;
    std::atomic<bool> running = false;
    bool ended = false;
    {
        WorkRunner runner(WorkRunner::Where::Worker, report);
        runner.Start(
            [&](WorkMeter& meter) {
                running = true;
                while (meter.Reached(0, 0)) {
                    std::this_thread::yield();
                }
                running = false;
            },
            [&](std::exception_ptr) { ended = true; });
    }
    EXPECT_FALSE(running);
    EXPECT_FALSE(ended);
}

}  // namespace
}  // namespace quillex::testing
