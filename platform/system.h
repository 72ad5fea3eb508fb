// What the program asks of the operating system: its own folder, the single-instance
// lock, and the virtual screen.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tarvek {

// The folder of the running executable, with a trailing "/".
std::string ProgramFolder();
// The full path of the running executable.
std::string ProgramPath();

// Asks the kernel to back the memory from begin on with huge pages where it can: a table
// of many megabytes filled at start-up otherwise costs a fault for every 4 KB. Only whole
// aligned huge pages inside the range are affected; nothing happens where the kernel
// does not offer them.
void PreferHugePages(void* begin, std::size_t bytes);

enum class TInstanceLock {
    Acquired,
    HeldElsewhere,  // another process (or another lock object) holds it: another copy runs
    Unavailable,    // no folder would take the lock file: nothing can be said of other copies
};

// One copy of the editor at a time, across both editions: exclusive locks on a file of
// the given name in the user's runtime folder and on one in the temporary folder. A copy
// takes each of them that it can, and another holder of either means another copy: two
// copies started with different runtime folders (one unset or unusable) still meet in the
// temporary folder. The kernel releases them when the process ends, however it ends.
class TSingleInstanceLock {
public:
    TSingleInstanceLock() = default;
    ~TSingleInstanceLock();
    TSingleInstanceLock(const TSingleInstanceLock&) = delete;
    TSingleInstanceLock& operator=(const TSingleInstanceLock&) = delete;

    TInstanceLock Acquire(const std::string& name);
    // The files tried, in order. The temporary folder is shared by every user, so the
    // name there carries the user's id.
    static std::vector<std::string> LockPaths(const std::string& name);
    // After Unavailable: each file tried with the system's reason, one a line.
    const std::string& Problem() const { return Problem_; }

private:
    std::vector<int> Fds;
    std::string Problem_;
};

}  // namespace tarvek
