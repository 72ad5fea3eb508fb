#include "platform/textfile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/file_calls.h"

namespace tarvek {

namespace {

// "CP932" and not "SHIFT_JIS": the ledger is a Windows program, and only the Windows
// table keeps 0x5C a backslash and 0x8160 the full-width tilde.
constexpr const char* kCp932 = "CP932";

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Output buffer that grows geometrically, so that many short iconv calls (a file full
// of bad bytes) do not each re-fill a large buffer.
struct TSink {
    std::string Buf;
    std::size_t Used = 0;

    void room(std::size_t want) {
        if (Buf.size() - Used >= want) return;
        Buf.resize(std::max(Buf.size() * 2, Used + want));
    }
    void append(std::string_view s) {
        room(s.size());
        std::memcpy(Buf.data() + Used, s.data(), s.size());
        Used += s.size();
    }
    std::string take() {
        Buf.resize(Used);
        return std::move(Buf);
    }
};

// One converter per direction, opened on first use and kept for the life of the thread.
class TConverter {
public:
    // growth: most output bytes one input byte can give.
    TConverter(const char* to, const char* from, std::size_t growth)
        : Handle(iconv_open(to, from)), Growth(growth) {}
    ~TConverter() {
        if (valid()) iconv_close(Handle);
    }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    bool valid() const { return Handle != reinterpret_cast<iconv_t>(-1); }

    // Forget any state and window left over from an earlier text.
    void start() {
        reset();
        Window = kMaxWindow;
    }

    // Convert as much of [in, in + inLeft) as possible into out. Returns 0 when
    // everything was converted, else the errno iconv stopped with (EILSEQ or EINVAL);
    // in/inLeft then point at the offending bytes.
    int convert(const char*& in, std::size_t& inLeft, TSink& out) {
        while (inLeft > 0) {
            // glibc converts through UCS-4 and redoes the first step of a whole buffer
            // each time a character proves unmappable, so a text with many of them would
            // take quadratic time. Hence a window that shrinks after an error and
            // doubles back after each clean stretch.
            const std::size_t chunk = std::min(inLeft, Window);
            const bool last = chunk == inLeft;
            out.room(chunk * Growth + 64);
            char* dst = out.Buf.data() + out.Used;
            std::size_t dstLeft = out.Buf.size() - out.Used;
            const std::size_t before = dstLeft;
            char* src = const_cast<char*>(in);
            std::size_t srcLeft = chunk;
            const std::size_t rc = iconv(Handle, &src, &srcLeft, &dst, &dstLeft);
            const int err = errno;
            in = src;
            inLeft -= chunk - srcLeft;
            out.Used += before - dstLeft;
            if (rc != static_cast<std::size_t>(-1)) {
                Window = std::min(Window * 2, kMaxWindow);
                continue;
            }
            if (err == E2BIG) continue;
            // A character cut by the window edge, not by the end of the text.
            if (err == EINVAL && !last) continue;
            Window = kMinWindow;
            return err;
        }
        return 0;
    }

    void reset() { iconv(Handle, nullptr, nullptr, nullptr, nullptr); }

private:
    // kMinWindow is well above the longest character (4 bytes), so a window cut always
    // leaves progress behind it.
    static constexpr std::size_t kMinWindow = 64;
    static constexpr std::size_t kMaxWindow = std::size_t{1} << 20;

    iconv_t Handle;
    std::size_t Growth;
    std::size_t Window = kMaxWindow;
};

TConverter& fromCp932() {
    thread_local TConverter conv("UTF-8", kCp932, 3);  // half-width kana: 1 -> 3
    return conv;
}

TConverter& toCp932() {
    thread_local TConverter conv(kCp932, "UTF-8", 1);
    return conv;
}

// Length of the well-formed UTF-8 sequence at the start of s, or 0 when it is not one.
// Rejects overlong forms, surrogates and values above U+10FFFF, as iconv does.
std::size_t validUtf8Length(std::string_view s) {
    if (s.empty()) return 0;
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b0 < 0x80) return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < len) return 0;
    const auto b1 = static_cast<unsigned char>(s[1]);
    if (b1 < lo || b1 > hi) return 0;
    for (std::size_t i = 2; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80 || b > 0xBF) return 0;
    }
    return len;
}

// Encode to CP932, one "?" per character that has no CP932 form (or per invalid byte);
// replaced counts them.
std::string encodeCp932(std::string_view text, std::size_t& replaced) {
    TSink out;
    replaced = 0;
    TConverter& conv = toCp932();
    if (!conv.valid()) {
        // No converter on this system: ASCII still goes through unchanged.
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t n = validUtf8Length(text.substr(i));
            if (n == 1) {
                out.append(text.substr(i, 1));
            } else {
                out.append("?");
                ++replaced;
            }
            i += n ? n : 1;
        }
        return out.take();
    }
    conv.start();
    const char* in = text.data();
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        if (conv.convert(in, inLeft, out) == 0) break;
        // Skip the whole character if it is well-formed but unmappable, else one byte.
        const std::size_t n = validUtf8Length(std::string_view(in, inLeft));
        const std::size_t skip = n ? n : 1;
        in += skip;
        inLeft -= skip;
        out.append("?");
        ++replaced;
        conv.reset();
    }
    return out.take();
}

TFileResult failure(TFileStatus status, int err) {
    TFileResult r;
    r.Status = status;
    r.Errno = err;
    r.Message = std::strerror(err);
    return r;
}

mode_t currentUmask() {
    // umask() can only be read by setting it; put it straight back.
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = FileCalls().Write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {  // no progress and no error: do not spin
            errno = EIO;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
    TSink out;
    TConverter& conv = fromCp932();
    if (!conv.valid()) {
        for (const char c : bytes)
            out.append(static_cast<unsigned char>(c) < 0x80 ? std::string_view(&c, 1)
                                                             : kReplacement);
        return out.take();
    }
    conv.start();
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        const int err = conv.convert(in, inLeft, out);
        if (err == 0) break;
        out.append(kReplacement);
        if (err == EINVAL) break;  // a lead byte cut off by the end of the input
        // Resume at the next byte: after a bad lead byte the second may well be ASCII.
        ++in;
        --inLeft;
        conv.reset();
    }
    return out.take();
}

std::string Utf8ToCp932(std::string_view text) {
    std::size_t replaced;
    return encodeCp932(text, replaced);
}

bool IsCp932Encodable(std::string_view text) {
    std::size_t replaced;
    encodeCp932(text, replaced);
    return replaced == 0;
}

std::size_t Cp932ByteLength(std::string_view utf8) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if ((b & 0xC0) == 0x80) continue;  // continuation byte
        if (b < 0x80) {
            total += 1;
        } else if (b == 0xEF && i + 2 < utf8.size()) {
            // U+FF61..U+FF9F are EF BD A1..EF BD BF and EF BE 80..EF BE 9F.
            const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
            const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
            const bool halfKana = (b1 == 0xBD && b2 >= 0xA1 && b2 <= 0xBF) ||
                                  (b1 == 0xBE && b2 >= 0x80 && b2 <= 0x9F);
            total += halfKana ? 1 : 2;
        } else {
            total += 2;
        }
    }
    return total;
}

std::size_t CharCount(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

TLines SplitLines(std::string_view text) {
    TLines lines;
    // A drawing has hundreds of thousands of short lines: grow the vector once.
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

namespace {

// Reads a file's bytes within the bounds of MaxTextFileBytes and MaxTextLineBytes; with
// firstLineOnly it stops at the first line end.
TFileResult readBounded(const std::string& path, std::string& bytes, bool firstLineOnly) {
    TFileCalls& calls = FileCalls();
    bytes.clear();
    int fd;
    do {
        fd = calls.Open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int err = errno;
        return failure(err == ENOENT || err == ENOTDIR ? TFileStatus::NotFound
                                                       : TFileStatus::ReadFailed,
                       err);
    }
    const auto giveUp = [&](TFileStatus status, int err) {
        calls.Close(fd);
        bytes.clear();
        bytes.shrink_to_fit();
        return failure(status, err);
    };
    struct stat st {};
    if (calls.Fstat(fd, &st) == 0) {
        if (S_ISDIR(st.st_mode)) return giveUp(TFileStatus::ReadFailed, EISDIR);
        // Judged before a byte is read: no drawing or ledger file comes near this.
        if (static_cast<std::uint64_t>(st.st_size) > MaxTextFileBytes) return giveUp(TFileStatus::TooLarge, EFBIG);
        if (st.st_size > 0 && !firstLineOnly) bytes.reserve(static_cast<std::size_t>(st.st_size));
    }
    // Read to the end rather than trusting st_size: the file may still be growing.
    std::array<char, 64 * 1024> buf;
    std::size_t lineLength = 0;  // bytes since the last line end
    for (;;) {
        const ssize_t n = calls.Read(fd, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return giveUp(TFileStatus::ReadFailed, errno);
        }
        if (n == 0) break;
        const std::size_t got = static_cast<std::size_t>(n);
        std::size_t keep = got;
        bool lineEnded = false;
        for (std::size_t i = 0; i < got; ++i) {
            // CR and LF are never the second byte of a CP932 character.
            if (buf[i] == '\n' || buf[i] == '\r') {
                lineLength = 0;
                if (firstLineOnly) {
                    keep = i;
                    lineEnded = true;
                    break;
                }
            } else if (++lineLength > MaxTextLineBytes) {
                return giveUp(TFileStatus::TooLarge, EFBIG);
            }
        }
        if (bytes.size() + keep > MaxTextFileBytes) return giveUp(TFileStatus::TooLarge, EFBIG);
        bytes.append(buf.data(), keep);
        if (lineEnded) break;
    }
    calls.Close(fd);
    return {};
}

}  // namespace

TFileResult ReadTextLines(const std::string& path, TLines& lines) {
    lines.clear();
    std::string bytes;
    const TFileResult read = readBounded(path, bytes, false);
    if (!read) return read;
    lines = SplitLines(Cp932ToUtf8(bytes));
    return {};
}

TFileResult ReadFirstLine(const std::string& path, std::string& line) {
    line.clear();
    std::string bytes;
    const TFileResult read = readBounded(path, bytes, true);
    if (!read) return read;
    line = Cp932ToUtf8(bytes);
    return {};
}

TFileResult WriteTextLines(const std::string& path, const TLines& lines) {
    // CR LF are plain ASCII, so the joined text converts in one go to the same bytes
    // as converting line by line.
    std::size_t total = 0;
    for (const std::string& line : lines) total += line.size() + 2;
    std::string text;
    text.reserve(total);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return WriteFileAtomically(path, Utf8ToCp932(text));
}

TFileResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    TFileCalls& calls = FileCalls();
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".")
                            : slash == 0               ? std::string("/")
                                                       : path.substr(0, slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string tmp = dir + (dir.back() == '/' ? "." : "/.") + base + ".XXXXXX";

    mode_t mode;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    else
        mode = 0666 & ~currentUmask();

    const int fd = calls.MakeTemporary(tmp.data());
    if (fd < 0) return failure(TFileStatus::WriteFailed, errno);

    auto abandon = [&](int err, bool isOpen) {
        if (isOpen) calls.Close(fd);
        calls.Unlink(tmp.c_str());
        return failure(TFileStatus::WriteFailed, err);
    };

    // mkstemp creates 0600. A failing chmod (say on a FAT stick) must not cost the
    // user the save, so its result is not checked.
    (void)calls.Fchmod(fd, mode);

    if (!writeAll(fd, bytes)) return abandon(errno, true);
    // EINVAL: the file system cannot sync this file at all, which is not a write error.
    if (calls.Fsync(fd) != 0 && errno != EINVAL) return abandon(errno, true);
    // Network and quota file systems may only report a full disk here.
    if (calls.Close(fd) != 0) return abandon(errno, false);
    if (calls.Rename(tmp.c_str(), path.c_str()) != 0) return abandon(errno, false);

    // Make the rename itself durable; the new content is already in place, so a
    // failure here is not worth reporting.
    const int dirFd = calls.Open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (dirFd >= 0) {
        (void)calls.Fsync(dirFd);
        calls.Close(dirFd);
    }
    return {};
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TFileResult DeleteFile(const std::string& path) {
    if (FileCalls().Unlink(path.c_str()) == 0) return {};
    const int err = errno;
    // ENOTDIR: a parent is a file, so the file is not there either.
    if (err == ENOENT || err == ENOTDIR) return {};
    return failure(TFileStatus::WriteFailed, err);
}

std::u32string TextCodePoints(const std::string& text) {
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
        bool ok = (b < 0x80 || (b >= 0xC0 && b < 0xF8)) && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(0xDC00 + b);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

}  // namespace tarvek
