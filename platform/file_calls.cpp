#include "platform/file_calls.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace tarvek {

int TPosixFileCalls::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
int TPosixFileCalls::MakeTemporary(char* pathTemplate) { return ::mkostemp(pathTemplate, O_CLOEXEC); }
ssize_t TPosixFileCalls::Read(int fd, void* buf, std::size_t count) { return ::read(fd, buf, count); }
ssize_t TPosixFileCalls::Write(int fd, const void* buf, std::size_t count) { return ::write(fd, buf, count); }
int TPosixFileCalls::Fsync(int fd) { return ::fsync(fd); }
int TPosixFileCalls::Close(int fd) { return ::close(fd); }
int TPosixFileCalls::Rename(const char* from, const char* to) { return ::rename(from, to); }
int TPosixFileCalls::Unlink(const char* path) { return ::unlink(path); }
int TPosixFileCalls::Fstat(int fd, struct stat* st) { return ::fstat(fd, st); }
int TPosixFileCalls::Fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }

namespace {

TPosixFileCalls RealCalls;
TFileCalls* Current = &RealCalls;

}  // namespace

TFileCalls& FileCalls() { return *Current; }

TFileCallsScope::TFileCallsScope(TFileCalls& calls) : Previous(Current) { Current = &calls; }
TFileCallsScope::~TFileCallsScope() { Current = Previous; }

const char* TFailingFileCalls::KindName(TKind k) {
    switch (k) {
        case TKind::Open: return "open";
        case TKind::Write: return "write";
        case TKind::Fsync: return "fsync";
        case TKind::Close: return "close";
        case TKind::Rename: return "rename";
        case TKind::Unlink: return "unlink";
    }
    return "?";
}

bool TFailingFileCalls::Fail(TKind kind, const std::string& path) {
    ++Calls;
    if (FailAt == 0 || Calls != FailAt) return false;
    Fired = true;
    FiredKind = kind;
    FiredPath = path;
    errno = FailErrno;
    return true;
}

bool TFailingFileCalls::ReadOnly(const std::string& path) const {
    if (ReadOnlyFolder.empty()) return false;
    std::string folder = ReadOnlyFolder;
    if (folder.back() != '/') folder += '/';
    return path.compare(0, folder.size(), folder) == 0;
}

std::string TFailingFileCalls::PathOf(int fd) const {
    const auto it = OpenPaths.find(fd);
    return it == OpenPaths.end() ? std::string() : it->second;
}

int TFailingFileCalls::Open(const char* path, int flags, mode_t mode) {
    if (!UnreadablePath.empty() && UnreadablePath == path) {
        errno = UnreadableErrno;
        return -1;
    }
    const bool changes = (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
    if (changes && ReadOnly(path)) {
        errno = ReadOnlyErrno;
        return -1;
    }
    if (Fail(TKind::Open, path)) return -1;
    const int fd = TPosixFileCalls::Open(path, flags, mode);
    if (fd >= 0) OpenPaths[fd] = path;
    return fd;
}

int TFailingFileCalls::MakeTemporary(char* pathTemplate) {
    if (ReadOnly(pathTemplate)) {
        errno = ReadOnlyErrno;
        return -1;
    }
    if (Fail(TKind::Open, pathTemplate)) return -1;
    const int fd = TPosixFileCalls::MakeTemporary(pathTemplate);
    if (fd >= 0) OpenPaths[fd] = pathTemplate;
    return fd;
}

ssize_t TFailingFileCalls::Read(int fd, void* buf, std::size_t count) {
    const ssize_t n = TPosixFileCalls::Read(fd, buf, count);
    if (n > 0) BytesRead += static_cast<std::uint64_t>(n);
    return n;
}

ssize_t TFailingFileCalls::Write(int fd, const void* buf, std::size_t count) {
    if (Fail(TKind::Write, PathOf(fd))) return -1;
    return TPosixFileCalls::Write(fd, buf, count);
}

int TFailingFileCalls::Fsync(int fd) {
    if (Fail(TKind::Fsync, PathOf(fd))) return -1;
    return TPosixFileCalls::Fsync(fd);
}

int TFailingFileCalls::Close(int fd) {
    const std::string path = PathOf(fd);
    OpenPaths.erase(fd);
    if (Fail(TKind::Close, path)) {
        // As on Linux: the descriptor is gone even when close reports an error.
        const int err = errno;
        TPosixFileCalls::Close(fd);
        errno = err;
        return -1;
    }
    return TPosixFileCalls::Close(fd);
}

int TFailingFileCalls::Rename(const char* from, const char* to) {
    if (ReadOnly(from) || ReadOnly(to)) {
        errno = ReadOnlyErrno;
        return -1;
    }
    if (Fail(TKind::Rename, to)) return -1;
    return TPosixFileCalls::Rename(from, to);
}

int TFailingFileCalls::Unlink(const char* path) {
    if (ReadOnly(path)) {
        errno = ReadOnlyErrno;
        return -1;
    }
    if (Fail(TKind::Unlink, path)) return -1;
    return TPosixFileCalls::Unlink(path);
}

}  // namespace tarvek
