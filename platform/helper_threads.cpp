#include "platform/helper_threads.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace tarvek {

class THelperPool {
public:
    // Never destroyed: its threads wait on it until the process ends, so there is
    // nothing to join at exit. A child forked from a process with helpers has none of
    // their threads, and maybe their lock held: it leaves that pool alone and starts one
    // of its own. Only the thread that splits work calls this.
    static THelperPool& Get() {
        static THelperPool* pool = new THelperPool;
        if (pool->Owner != getpid()) pool = new THelperPool;
        return *pool;
    }

    // How many copies were handed to threads.
    unsigned Post(THelperRun& run, unsigned copies) {
        std::unique_lock held(Lock);
        Grow(std::min(copies, HelperThreadCount()));
        copies = std::min(copies, Threads);
        for (unsigned k = 0; k < copies; ++k) Queue.push_back({&run, {}});
        run.Queued += copies;
        held.unlock();
        Wake.notify_all();
        return copies;
    }

    // False when no thread could be had.
    bool PostDetached(std::function<void()>& job) {
        std::unique_lock held(Lock);
        Grow(1);
        if (Threads == 0) return false;
        Queue.push_back({nullptr, std::move(job)});
        held.unlock();
        Wake.notify_one();
        return true;
    }

    void Finish(THelperRun& run) {
        std::unique_lock held(Lock);
        Queue.erase(std::remove_if(Queue.begin(), Queue.end(), [&](const TEntry& e) { return e.Run == &run; }),
                    Queue.end());
        run.Queued = 0;
        Done.wait(held, [&] { return run.Running == 0; });
    }

private:
    THelperPool() : Owner(getpid()) {}

    // Under the lock. A thread that cannot be had leaves the work to the caller.
    void Grow(unsigned wanted) {
        while (Threads < wanted) {
            try {
                std::thread([this] { Serve(); }).detach();
            } catch (const std::system_error&) {
                return;
            }
            ++Threads;
        }
    }

    void Serve() {
        std::unique_lock held(Lock);
        while (true) {
            Wake.wait(held, [&] { return !Queue.empty(); });
            TEntry entry = std::move(Queue.front());
            Queue.pop_front();
            if (!entry.Run) {
                held.unlock();
                entry.Job();
                held.lock();
                continue;
            }
            THelperRun& run = *entry.Run;
            run.Queued -= 1;
            run.Running += 1;
            held.unlock();
            run.Job();
            held.lock();
            // run may be gone once the lock is let go: it is not touched after this.
            run.Running -= 1;
            if (run.Running == 0) Done.notify_all();
        }
    }

    struct TEntry {
        THelperRun* Run;  // null for a job run once and not waited for
        std::function<void()> Job;
    };
    const pid_t Owner;
    std::mutex Lock;
    std::condition_variable Wake, Done;
    std::deque<TEntry> Queue;  // what is left at exit is dropped
    unsigned Threads = 0;
};

unsigned HelperThreadCount() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u) - 1;
}

void RunLater(std::function<void()> job) {
    if (!THelperPool::Get().PostDetached(job)) job();
}

THelperRun::THelperRun(unsigned helpers, std::function<void()> job) : Job(std::move(job)) {
    if (helpers > 0) Posted = THelperPool::Get().Post(*this, helpers) > 0;
}

THelperRun::~THelperRun() { Finish(); }

void THelperRun::Finish() {
    if (!Posted) return;
    Posted = false;
    THelperPool::Get().Finish(*this);
}

}  // namespace tarvek
