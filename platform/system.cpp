#include "platform/system.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

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
    if (Fd >= 0) close(Fd);
}

std::string TSingleInstanceLock::LockPath(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string dir = runtime && *runtime ? runtime : std::filesystem::temp_directory_path().string();
    if (dir.back() != '/') dir += '/';
    return dir + name;
}

bool TSingleInstanceLock::Acquire(const std::string& name) {
    if (Fd >= 0) return true;
    const int fd = open(LockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    int rc;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        close(fd);
        return false;
    }
    Fd = fd;
    return true;
}

}  // namespace tarvek
