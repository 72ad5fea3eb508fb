// The system calls the file layer (platform/textfile) makes, behind one small interface,
// so that a test can make any one of them fail the way a full disk, a broken disk or a
// folder without write permission would. The program always runs on the real calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace tarvek {

// Each call returns what its POSIX namesake returns and leaves errno set the same way.
class TFileCalls {
public:
    virtual ~TFileCalls() = default;
    virtual int Open(const char* path, int flags, mode_t mode) = 0;
    // mkostemp with O_CLOEXEC: creates and opens the temporary file a write goes through.
    virtual int MakeTemporary(char* pathTemplate) = 0;
    virtual ssize_t Read(int fd, void* buf, std::size_t count) = 0;
    virtual ssize_t Write(int fd, const void* buf, std::size_t count) = 0;
    virtual int Fsync(int fd) = 0;
    virtual int Close(int fd) = 0;
    virtual int Rename(const char* from, const char* to) = 0;
    virtual int Unlink(const char* path) = 0;
    virtual int Fstat(int fd, struct stat* st) = 0;
    virtual int Fchmod(int fd, mode_t mode) = 0;
};

// The operating system's own calls.
class TPosixFileCalls : public TFileCalls {
public:
    int Open(const char* path, int flags, mode_t mode) override;
    int MakeTemporary(char* pathTemplate) override;
    ssize_t Read(int fd, void* buf, std::size_t count) override;
    ssize_t Write(int fd, const void* buf, std::size_t count) override;
    int Fsync(int fd) override;
    int Close(int fd) override;
    int Rename(const char* from, const char* to) override;
    int Unlink(const char* path) override;
    int Fstat(int fd, struct stat* st) override;
    int Fchmod(int fd, mode_t mode) override;
};

// The calls in force; the real ones unless a TFileCallsScope is alive.
TFileCalls& FileCalls();

// Puts other calls in force for its lifetime (tests; the program is single-threaded).
class TFileCallsScope {
public:
    explicit TFileCallsScope(TFileCalls& calls);
    ~TFileCallsScope();
    TFileCallsScope(const TFileCallsScope&) = delete;
    TFileCallsScope& operator=(const TFileCallsScope&) = delete;

private:
    TFileCalls* Previous;
};

// Test implementation: the real calls, except that the Nth call of the counted kinds
// (open and temporary-file creation, write, fsync, close, rename, unlink) fails with a
// chosen errno, and that calls which would change anything below a chosen folder fail
// as in a read-only folder. Reads are never counted: a test of readers names the path
// to fail instead.
class TFailingFileCalls : public TPosixFileCalls {
public:
    enum class TKind { Open, Write, Fsync, Close, Rename, Unlink };

    // The counted call that fails (1-based); 0 fails none.
    int FailAt = 0;
    int FailErrno = 0;
    // Every counted call so far, and what the failing one was.
    int Calls = 0;
    bool Fired = false;
    TKind FiredKind = TKind::Open;
    std::string FiredPath;
    // Every change (create, write, rename, unlink) below this folder fails with
    // ReadOnlyErrno, as the kernel does for a folder without write permission (root
    // included, whom chmod alone does not stop).
    std::string ReadOnlyFolder;
    int ReadOnlyErrno = 0;
    // Opening exactly this path fails with UnreadableErrno.
    std::string UnreadablePath;
    int UnreadableErrno = 0;
    // Every byte read through these calls, to show what a reader did not read.
    std::uint64_t BytesRead = 0;

    int Open(const char* path, int flags, mode_t mode) override;
    int MakeTemporary(char* pathTemplate) override;
    ssize_t Read(int fd, void* buf, std::size_t count) override;
    ssize_t Write(int fd, const void* buf, std::size_t count) override;
    int Fsync(int fd) override;
    int Close(int fd) override;
    int Rename(const char* from, const char* to) override;
    int Unlink(const char* path) override;

    static const char* KindName(TKind k);

private:
    // True when this call is the one to fail (errno is then set).
    bool Fail(TKind kind, const std::string& path);
    bool ReadOnly(const std::string& path) const;
    std::string PathOf(int fd) const;
    std::map<int, std::string> OpenPaths;
};

}  // namespace tarvek
