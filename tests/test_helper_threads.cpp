#include "platform/helper_threads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace tarvek {
namespace {

using namespace std::chrono_literals;

// The save's formatting threads use the caller's locals: once Finish returns, no copy
// may still be running, and none may start later.
TEST(HelperThreads, FinishWaitsForStartedCopiesAndWithdrawsTheRest) {
    if (HelperThreadCount() == 0) GTEST_SKIP() << "one core: no helpers";
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> started{0}, inside{0};
        std::atomic<bool> finished{false}, lateStart{false};
        {
            THelperRun run(HelperThreadCount(), [&] {
                if (finished) lateStart = true;
                started += 1;
                inside += 1;
                std::this_thread::sleep_for(round % 2 ? 5ms : 0ms);
                inside -= 1;
            });
            if (round % 3 == 0) std::this_thread::sleep_for(2ms);
            run.Finish();
            finished = true;
            EXPECT_EQ(inside, 0);
        }  // a second Finish in the destructor is harmless
        const int atFinish = started;
        std::this_thread::sleep_for(10ms);
        EXPECT_EQ(started, atFinish);
        EXPECT_FALSE(lateStart);
        EXPECT_LE(atFinish, static_cast<int>(HelperThreadCount()));
    }
}

TEST(HelperThreads, ThreadsAreKeptAndWorkSideBySide) {
    if (HelperThreadCount() < 2) GTEST_SKIP() << "fewer than three cores";
    // Two copies that each wait for the other can only finish on two threads at once.
    std::mutex lock;
    std::condition_variable met;
    int arrived = 0;
    std::atomic<int> timedOut{0};
    THelperRun run(2, [&] {
        std::unique_lock held(lock);
        arrived += 1;
        met.notify_all();
        if (!met.wait_for(held, 5s, [&] { return arrived >= 2; })) timedOut += 1;
    });
    {
        std::unique_lock held(lock);
        EXPECT_TRUE(met.wait_for(held, 5s, [&] { return arrived >= 2; }));
    }
    run.Finish();
    EXPECT_EQ(timedOut, 0);
}

TEST(HelperThreads, RunLaterRunsTheJobElsewhere) {
    std::mutex lock;
    std::condition_variable ran;
    std::thread::id where;
    bool done = false;
    RunLater([&] {
        const std::lock_guard held(lock);
        where = std::this_thread::get_id();
        done = true;
        ran.notify_all();
    });
    std::unique_lock held(lock);
    ASSERT_TRUE(ran.wait_for(held, 5s, [&] { return done; }));
    if (HelperThreadCount() > 0) {
        EXPECT_NE(where, std::this_thread::get_id());
    }
}

}  // namespace
}  // namespace tarvek
