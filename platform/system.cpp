#include "platform/system.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <utility>

namespace tarvek {

std::string ProgramPath() {
    std::error_code ec;
    const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string ProgramFolder() {
    const std::filesystem::path exe = ProgramPath();
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

void PreferHugePages(void* begin, std::size_t bytes) {
    constexpr std::uintptr_t huge = std::uintptr_t{2} << 20;
    const auto from = (reinterpret_cast<std::uintptr_t>(begin) + huge - 1) & ~(huge - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(begin) + bytes) & ~(huge - 1);
    if (to > from) (void)madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

TSingleInstanceLock::~TSingleInstanceLock() {
    for (const int fd : Fds) close(fd);
}

std::vector<std::string> TSingleInstanceLock::LockPaths(const std::string& name) {
    std::vector<std::string> paths;
    const auto in = [](std::string dir, const std::string& file) {
        if (dir.back() != '/') dir += '/';
        return dir + file;
    };
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) paths.push_back(in(runtime, name));
    const char* temp = std::getenv("TMPDIR");
    paths.push_back(in(temp && *temp ? temp : "/tmp", name + "-" + std::to_string(getuid())));
    return paths;
}

TInstanceLock TSingleInstanceLock::Acquire(const std::string& name) {
    if (!Fds.empty()) return TInstanceLock::Acquired;
    Problem_.clear();
    const auto fail = [this](const std::string& path, int err) {
        if (!Problem_.empty()) Problem_ += '\r';
        Problem_ += path + "\r" + std::strerror(err);
    };
    std::vector<int> taken;
    for (const std::string& path : LockPaths(name)) {
        const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            fail(path, errno);
            continue;
        }
        int rc;
        do {
            rc = flock(fd, LOCK_EX | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc == 0) {
            taken.push_back(fd);
            continue;
        }
        const int err = errno;
        close(fd);
        // Only a lock another holder has means another copy; any other failure says
        // nothing about other copies, and the other file may do.
        if (err == EWOULDBLOCK) {
            for (const int held : taken) close(held);
            return TInstanceLock::HeldElsewhere;
        }
        fail(path, err);
    }
    if (taken.empty()) return TInstanceLock::Unavailable;
    Fds = std::move(taken);
    Problem_.clear();
    return TInstanceLock::Acquired;
}

}  // namespace tarvek
