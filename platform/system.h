// What the program asks of the operating system: its own folder, the single-instance
// lock, and the virtual screen.
#pragma once

#include <cstddef>
#include <string>

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

// One copy of the editor at a time, across both editions: an exclusive lock on a file
// of the given name in the user's runtime folder. The kernel releases it when the
// process ends, however it ends.
class TSingleInstanceLock {
public:
    TSingleInstanceLock() = default;
    ~TSingleInstanceLock();
    TSingleInstanceLock(const TSingleInstanceLock&) = delete;
    TSingleInstanceLock& operator=(const TSingleInstanceLock&) = delete;

    // False when another process (or another lock object) holds it.
    bool Acquire(const std::string& name);
    static std::string LockPath(const std::string& name);

private:
    int Fd = -1;
};

}  // namespace tarvek
