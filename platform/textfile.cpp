#include "platform/textfile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <emmintrin.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/file_calls.h"
#include "platform/helper_threads.h"

namespace tarvek {

namespace {

// "CP932" and not "SHIFT_JIS": the ledger is a Windows program, and only the Windows
// table keeps 0x5C a backslash and 0x8160 the full-width tilde.
constexpr const char* kCp932 = "CP932";

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Output text. Its size is what was written; room() lends space past it for a converter
// to write into, and commit() keeps what it wrote. The capacity grows geometrically, so
// that many short iconv calls (a file full of bad bytes) do not each re-fill a large
// buffer, and only the space lent is ever cleared.
struct TSink {
    std::string Own;
    std::string& Buf;

    explicit TSink(std::size_t expected = 0) : Buf(Own) { Buf.reserve(expected); }
    // Appends to target, whose storage is kept.
    TSink(std::string& target, std::size_t expected) : Buf(target) { Buf.reserve(expected); }
    char* room(std::size_t want) {
        const std::size_t used = Buf.size();
        if (Buf.capacity() - used < want) Buf.reserve(std::max(Buf.capacity() * 2, used + want));
        Buf.resize(used + want);
        return Buf.data() + used;
    }
    // Of the want bytes lent at room(), the first n hold output.
    void commit(std::size_t want, std::size_t n) { Buf.resize(Buf.size() - want + n); }
    void append(std::string_view s) { Buf.append(s); }
    std::string take() { return std::move(Buf); }
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
            const std::size_t want = chunk * Growth + 64;
            char* dst = out.room(want);
            std::size_t dstLeft = want;
            char* src = const_cast<char*>(in);
            std::size_t srcLeft = chunk;
            const std::size_t rc = iconv(Handle, &src, &srcLeft, &dst, &dstLeft);
            const int err = errno;
            in = src;
            inLeft -= chunk - srcLeft;
            out.commit(want, want - dstLeft);
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
    // leaves progress behind it; kMaxWindow keeps the space lent for output small.
    static constexpr std::size_t kMinWindow = 64;
    static constexpr std::size_t kMaxWindow = std::size_t{64} << 10;

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

// The first byte from p on that is not ASCII (end when there is none), eight at a time.
const char* asciiRunEnd(const char* p, const char* end) {
    while (end - p >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        if ((w & 0x8080808080808080u) != 0) break;
        p += 8;
    }
    while (p != end && static_cast<unsigned char>(*p) < 0x80) ++p;
    return p;
}

const char* nonAsciiRunEnd(const char* p, const char* end) {
    while (p != end && static_cast<unsigned char>(*p) >= 0x80) ++p;
    return p;
}

// ASCII is the same in CP932 and UTF-8, and no byte of it is part of another character
// in UTF-8 (in CP932 a character's second byte can be ASCII: see Cp932ToUtf8). So text is converted run by run: ASCII is copied,
// and iconv sees only the runs of other bytes. What a short run converts to is
// remembered, since a drawing repeats its font name on every record: the converters are
// stateless, so a run's result depends on its bytes alone.
class TRunCache {
public:
    static constexpr std::size_t MaxRunBytes = 48;

    struct TEntry {
        std::string Bytes, Result;
        std::size_t Replaced = 0;
        bool Used = false;
    };
    const TEntry* find(std::string_view bytes) const {
        const TEntry& e = Slots[slot(bytes)];
        return e.Used && e.Bytes == bytes ? &e : nullptr;
    }
    void put(std::string_view bytes, std::string_view result, std::size_t replaced) {
        TEntry& e = Slots[slot(bytes)];
        e.Bytes.assign(bytes);
        e.Result.assign(result);
        e.Replaced = replaced;
        e.Used = true;
    }

private:
    static std::size_t slot(std::string_view bytes) {
        std::uint32_t h = 2166136261u;  // FNV-1a
        for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return (h ^ (h >> 16)) & 255u;
    }
    std::array<TEntry, 256> Slots;
};

TRunCache& decodedRuns() {
    thread_local TRunCache cache;
    return cache;
}

TRunCache& encodedRuns() {
    thread_local TRunCache cache;
    return cache;
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
    TSink out(text.size() + 16);
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
    TRunCache& cache = encodedRuns();
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end) {
        const char* ascii = asciiRunEnd(p, end);
        out.append(std::string_view(p, static_cast<std::size_t>(ascii - p)));
        p = ascii;
        if (p == end) break;
        // UTF-8 continuation bytes are never ASCII: the run holds whole characters, and a
        // sequence cut short stays as bad as it was in the whole text.
        const char* const runEnd = nonAsciiRunEnd(p, end);
        const std::string_view run(p, static_cast<std::size_t>(runEnd - p));
        p = runEnd;
        const bool remembered = run.size() <= TRunCache::MaxRunBytes;
        if (remembered) {
            if (const TRunCache::TEntry* e = cache.find(run)) {
                out.append(e->Result);
                replaced += e->Replaced;
                continue;
            }
        }
        const std::size_t mark = out.Buf.size(), replacedBefore = replaced;
        conv.start();
        const char* in = run.data();
        std::size_t inLeft = run.size();
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
        if (remembered) cache.put(run, std::string_view(out.Buf).substr(mark), replaced - replacedBefore);
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

namespace {

// iconv's decoding of bytes that start at a character boundary, with the decoder's rule
// for bad bytes: U+FFFD, and on from the next byte (after a bad lead byte the second may
// well be ASCII).
void decodeRun(TConverter& conv, std::string_view run, TSink& out) {
    conv.start();
    const char* in = run.data();
    std::size_t inLeft = run.size();
    while (inLeft > 0) {
        const int err = conv.convert(in, inLeft, out);
        if (err == 0) break;
        out.append(kReplacement);
        if (err == EINVAL) break;  // a lead byte cut off by the end of the input
        ++in;
        --inLeft;
        conv.reset();
    }
}

}  // namespace

void Cp932ToUtf8(std::string_view bytes, std::string& text) {
    text.clear();
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    // Most lines of a drawing are ASCII, which is itself.
    if (asciiRunEnd(p, end) == end) {
        text.assign(bytes);
        return;
    }
    TConverter& conv = fromCp932();
    if (!conv.valid()) {
        for (const char c : bytes)
            text.append(static_cast<unsigned char>(c) < 0x80 ? std::string_view(&c, 1) : kReplacement);
        return;
    }
    // What is not ASCII takes at most half as much again, but for half-width kana.
    TSink out(text, bytes.size() + bytes.size() / 2);
    TRunCache& cache = decodedRuns();
    while (p != end) {
        const char* ascii = asciiRunEnd(p, end);
        out.append(std::string_view(p, static_cast<std::size_t>(ascii - p)));
        p = ascii;
        if (p == end) break;
        // The ASCII byte after a run may be the second byte of its last character: it
        // goes with the run, as it lies in the whole text. Either way the run and that
        // byte end on a character boundary.
        const char* runEnd = nonAsciiRunEnd(p, end);
        if (runEnd != end) ++runEnd;
        const std::string_view run(p, static_cast<std::size_t>(runEnd - p));
        p = runEnd;
        const bool remembered = run.size() <= TRunCache::MaxRunBytes;
        if (remembered) {
            if (const TRunCache::TEntry* e = cache.find(run)) {
                out.append(e->Result);
                continue;
            }
        }
        const std::size_t mark = out.Buf.size();
        decodeRun(conv, run, out);
        if (remembered) cache.put(run, std::string_view(out.Buf).substr(mark), 0);
    }
}

std::string Cp932ToUtf8(std::string_view bytes) {
    std::string text;
    Cp932ToUtf8(bytes, text);
    return text;
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

bool IsCp932Char(char32_t c) { return !(c >= 0xD800 && c <= 0xDFFF) && IsCp932Encodable(CodePointUtf8(c)); }

std::string CodePointUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
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
        if (!firstLineOnly) {
            // A line within one chunk is shorter than the bound: only the chunk's first and
            // last lines can join lines of other chunks. CR and LF are never the second
            // byte of a CP932 character.
            const char* const b = buf.data();
            const auto* lf = static_cast<const char*>(std::memchr(b, '\n', got));
            const auto* cr = static_cast<const char*>(std::memchr(b, '\r', got));
            if (!lf && !cr) {
                lineLength += got;
                if (lineLength > MaxTextLineBytes) return giveUp(TFileStatus::TooLarge, EFBIG);
            } else {
                const char* first = !lf ? cr : !cr ? lf : std::min(lf, cr);
                if (lineLength + static_cast<std::size_t>(first - b) > MaxTextLineBytes)
                    return giveUp(TFileStatus::TooLarge, EFBIG);
                const auto* lastLf = static_cast<const char*>(memrchr(b, '\n', got));
                const auto* lastCr = static_cast<const char*>(memrchr(b, '\r', got));
                const char* last = !lastLf ? lastCr : !lastCr ? lastLf : std::max(lastLf, lastCr);
                lineLength = got - static_cast<std::size_t>(last - b) - 1;
            }
        }
        for (std::size_t i = 0; firstLineOnly && i < got; ++i) {
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

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
static_assert(kReadChunk <= MaxTextLineBytes, "a line within one chunk is never too long");

// The first CR or LF from p on (end when there is none), eight bytes at a time.
const char* lineEnd(const char* p, const char* end) {
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    while (end - p >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        const std::uint64_t lf = w ^ (ones * '\n'), cr = w ^ (ones * '\r');
        // A byte of lf or cr is zero exactly where w holds LF or CR (the first such byte
        // is found exactly; bytes after it may be marked wrongly, and are not looked at).
        const std::uint64_t hit = ((lf - ones) & ~lf & highs) | ((cr - ones) & ~cr & highs);
        if (hit != 0) return p + (__builtin_ctzll(hit) >> 3);
        p += 8;
    }
    while (p != end && *p != '\n' && *p != '\r') ++p;
    return p;
}

}  // namespace

TCp932LineReader::TCp932LineReader(const std::string& path) {
    TFileCalls& calls = FileCalls();
    do {
        Fd = calls.Open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
    } while (Fd < 0 && errno == EINTR);
    if (Fd < 0) {
        const int err = errno;
        Fail(err == ENOENT || err == ENOTDIR ? TFileStatus::NotFound : TFileStatus::ReadFailed, err);
        return;
    }
    struct stat st {};
    if (calls.Fstat(Fd, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            Fail(TFileStatus::ReadFailed, EISDIR);
            return;
        }
        if (static_cast<std::uint64_t>(st.st_size) > MaxTextFileBytes) {
            Fail(TFileStatus::TooLarge, EFBIG);
            return;
        }
    }
    Chunk.resize(kReadChunk);
}

TCp932LineReader::~TCp932LineReader() {
    if (Fd >= 0) FileCalls().Close(Fd);
}

bool TCp932LineReader::Fail(TFileStatus status, int err) {
    Result = failure(status, err);
    AtEnd = true;
    if (Fd >= 0) FileCalls().Close(Fd);
    Fd = -1;
    Carry.clear();
    return false;
}

bool TCp932LineReader::Refill() {
    Pos = Filled = 0;
    if (AtEnd) return false;
    for (;;) {
        const ssize_t n = FileCalls().Read(Fd, Chunk.data(), Chunk.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(TFileStatus::ReadFailed, errno);
        }
        if (n == 0) {
            AtEnd = true;
            FileCalls().Close(Fd);
            Fd = -1;
            return false;
        }
        Total += static_cast<std::uint64_t>(n);
        if (Total > MaxTextFileBytes) return Fail(TFileStatus::TooLarge, EFBIG);
        Filled = static_cast<std::size_t>(n);
        return true;
    }
}

bool TCp932LineReader::Next(std::string_view& line) {
    if (CarryGiven) {
        Carry.clear();
        CarryGiven = false;
    }
    for (;;) {
        if (Pos == Filled && !Refill()) {
            // A last line without its line end.
            if (!Result || Carry.empty()) return false;
            line = Carry;
            CarryGiven = true;
            return true;
        }
        const char* const begin = Chunk.data() + Pos;
        const char* const end = Chunk.data() + Filled;
        if (SkipLineFeed) {
            SkipLineFeed = false;
            if (*begin == '\n') {
                ++Pos;
                continue;
            }
        }
        const char* p = lineEnd(begin, end);
        const std::size_t piece = static_cast<std::size_t>(p - begin);
        if (Carry.size() + piece > MaxTextLineBytes) return Fail(TFileStatus::TooLarge, EFBIG);
        if (p == end) {
            Carry.append(begin, piece);
            Pos = Filled;
            continue;
        }
        Pos += piece + 1;
        if (*p == '\r') {
            if (p + 1 != end) {
                if (p[1] == '\n') ++Pos;
            } else {
                SkipLineFeed = true;
            }
        }
        if (Carry.empty()) {
            line = std::string_view(begin, piece);
        } else {
            Carry.append(begin, piece);
            line = Carry;
            CarryGiven = true;
        }
        return true;
    }
}

bool TCp932LineReader::NextLines(std::size_t count, std::string_view* lines) {
    // Where the lines lie whole in the chunk, they are handed out where they lie. The
    // line ends of 16 bytes are found at once: the lines of a drawing are short.
    if (!CarryGiven && Carry.empty() && !SkipLineFeed && Pos < Filled) {
        const char* const end = Chunk.data() + Filled;
        const char* p = Chunk.data() + Pos;
        std::size_t k = 0;
        bool lineFeedNext = false, stop = false;
        // Takes the line that ends at e; false when the lines cannot be handed out here.
        auto take = [&](const char* e) {
            lines[k++] = std::string_view(p, static_cast<std::size_t>(e - p));
            p = e + 1;
            if (*e != '\r') return true;
            if (p != end) {
                if (*p == '\n') ++p;
                return true;
            }
            lineFeedNext = true;
            return k == count;
        };
        const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
        for (const char* block = p; k < count && !stop && end - block >= 16; block += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
            auto ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
            while (ends != 0 && k < count) {
                const char* e = block + __builtin_ctz(ends);
                ends &= ends - 1;
                if (e < p) continue;  // the LF of a CR LF
                if (!take(e)) stop = true;
            }
            if (p > block + 16) block = p - 16;  // a CR LF across the blocks' edge
        }
        while (k < count && !stop) {
            const char* e = lineEnd(p, end);
            if (e == end || !take(e)) break;
        }
        if (k == count) {
            Pos = static_cast<std::size_t>(p - Chunk.data());
            SkipLineFeed = lineFeedNext;
            return true;
        }
    }
    std::array<std::size_t, 65> starts{};
    if (count + 1 > starts.size()) return false;
    Gathered.clear();
    for (std::size_t k = 0; k < count; ++k) {
        std::string_view line;
        if (!Next(line)) return false;
        starts[k] = Gathered.size();
        Gathered.append(line);
    }
    starts[count] = Gathered.size();
    for (std::size_t k = 0; k < count; ++k)
        lines[k] = std::string_view(Gathered).substr(starts[k], starts[k + 1] - starts[k]);
    return true;
}

TFileResult ReadTextBytes(const std::string& path, std::string& bytes) { return readBounded(path, bytes, false); }

bool NextLine(std::string_view text, std::size_t& pos, std::string_view& line) {
    if (pos >= text.size()) return false;
    const char* const begin = text.data() + pos;
    const char* const end = text.data() + text.size();
    const char* e = lineEnd(begin, end);
    line = std::string_view(begin, static_cast<std::size_t>(e - begin));
    pos = static_cast<std::size_t>(e - text.data());
    if (e != end) pos += (*e == '\r' && e + 1 != end && e[1] == '\n') ? 2 : 1;
    return true;
}

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
    TAtomicFileWriter file(path);
    file.Write(bytes);
    return file.Commit();
}

namespace {

// The file a rename replaces is freed by the rename, block by block: some 2 ms for a
// drawing of 5 MB. Held open, it is freed only when the last descriptor closes, which a
// kept thread does once the new file is in place. Only large files are worth it. Opened
// by the system's own call, not counted among the writer's: it changes nothing, and
// nothing depends on it succeeding. Not blocking, in case the name is a pipe.
int HoldLargeFile(const std::string& path) {
    constexpr off_t Large = 1 << 20;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1 || st.st_size < Large) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

TAtomicFileWriter::TAtomicFileWriter(const std::string& path) : Path(path) {
    TFileCalls& calls = FileCalls();
    const std::size_t slash = path.rfind('/');
    Dir = slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    Temporary = Dir + (Dir.back() == '/' ? "." : "/.") + base + ".XXXXXX";

    mode_t mode;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    else
        mode = 0666 & ~currentUmask();

    Fd = calls.MakeTemporary(Temporary.data());
    if (Fd < 0) {
        Result = failure(TFileStatus::WriteFailed, errno);
        return;
    }
    // mkstemp creates 0600. A failing chmod (say on a FAT stick) must not cost the
    // user the save, so its result is not checked.
    (void)calls.Fchmod(Fd, mode);
}

TAtomicFileWriter::~TAtomicFileWriter() {
    if (Fd >= 0) Abandon(0);
}

void TAtomicFileWriter::Abandon(int err) {
    if (Fd >= 0) FileCalls().Close(Fd);
    Fd = -1;
    FileCalls().Unlink(Temporary.c_str());
    if (err != 0) Result = failure(TFileStatus::WriteFailed, err);
}

bool TAtomicFileWriter::Write(std::string_view bytes) {
    if (Fd < 0) return false;
    if (!writeAll(Fd, bytes)) {
        Abandon(errno);
        return false;
    }
    // The disk starts on each megabyte while the rest is still being made, so the sync
    // at the end waits for less. Only a hint: its result changes nothing.
    constexpr std::int64_t Step = 1 << 20;
    Written += static_cast<std::int64_t>(bytes.size());
    if (Written - Started >= Step) {
        (void)::sync_file_range(Fd, Started, Written - Started, SYNC_FILE_RANGE_WRITE);
        Started = Written;
    }
    return true;
}

TFileResult TAtomicFileWriter::Commit() {
    if (Fd < 0) return Result;
    TFileCalls& calls = FileCalls();
    // EINVAL: the file system cannot sync this file at all, which is not a write error.
    if (calls.Fsync(Fd) != 0 && errno != EINVAL) {
        Abandon(errno);
        return Result;
    }
    const int fd = Fd;
    Fd = -1;
    // Network and quota file systems may only report a full disk here.
    if (calls.Close(fd) != 0) {
        Abandon(errno);
        return Result;
    }
    const int previous = HoldLargeFile(Path);
    if (calls.Rename(Temporary.c_str(), Path.c_str()) != 0) {
        const int err = errno;
        if (previous >= 0) ::close(previous);
        Abandon(err);
        return Result;
    }

    // Make the rename itself durable; the new content is already in place, so a
    // failure here is not worth reporting.
    const int dirFd = calls.Open(Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (dirFd >= 0) {
        (void)calls.Fsync(dirFd);
        calls.Close(dirFd);
    }
    if (previous >= 0) RunLater([previous] { ::close(previous); });
    return Result;
}

bool EndsWithNoCase(std::string_view name, std::string_view tail) {
    if (name.size() < tail.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(tail.begin(), tail.end(), name.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [&](char a, char b) { return lower(a) == lower(b); });
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
