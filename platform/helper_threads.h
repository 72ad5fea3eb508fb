// Threads kept for work that splits into slices, such as formatting a large drawing.
// Both calls below are made from the program's own thread, never from inside a job.
#pragma once

#include <functional>

namespace tarvek {

// How many helpers a split may ask for beside its own thread: one fewer than the cores,
// at most 7.
unsigned HelperThreadCount();

// Runs job on a kept thread and returns at once; with no thread to be had, runs it here.
// A job still waiting when the program ends is dropped, so it may only be one whose
// work the end of the process does as well (closing a file, say).
void RunLater(std::function<void()> job);

// Runs job on up to `helpers` kept threads beside the caller. The threads are started the
// first time they are wanted and wait for the next split afterwards: starting a thread
// costs about as much here as formatting a few hundred figures. Finish (or the destructor)
// withdraws the copies no helper has begun and waits for those that have, so job may use
// the caller's locals; the caller does its own share meanwhile. With no thread to be had,
// job simply never runs elsewhere. job must not throw.
class THelperRun {
public:
    THelperRun(unsigned helpers, std::function<void()> job);
    ~THelperRun();
    THelperRun(const THelperRun&) = delete;
    THelperRun& operator=(const THelperRun&) = delete;
    void Finish();

private:
    friend class THelperPool;
    std::function<void()> Job;
    bool Posted = false;
    unsigned Queued = 0, Running = 0;  // under the pool's lock
};

}  // namespace tarvek
