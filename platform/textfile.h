// CP932 text files: the only place where bytes on disk become UTF-8 text in memory.
// Every file the editor exchanges with the ledger or keeps for a drawing goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvek {

using TLines = std::vector<std::string>;

enum class TFileStatus {
    Ok,
    NotFound,     // the file (or its folder) does not exist
    ReadFailed,   // exists but could not be read
    WriteFailed,  // the temporary file could not be written or renamed; the target is untouched
    TooLarge,     // larger than MaxTextFileBytes, or a line longer than MaxTextLineBytes: not read
};

// Bounds of every file read: a drawing of 30000 figures is some 15 MB, and no line of
// any file the program or the ledger writes comes near a megabyte. A file beyond them is
// refused as damaged before it is read whole.
constexpr std::uint64_t MaxTextFileBytes = std::uint64_t{256} << 20;
constexpr std::size_t MaxTextLineBytes = std::size_t{1} << 20;

struct TFileResult {
    TFileStatus Status = TFileStatus::Ok;
    int Errno = 0;
    std::string Message;  // strerror text, for the caller's own message box
    bool ok() const { return Status == TFileStatus::Ok; }
    explicit operator bool() const { return ok(); }
};

// CP932 bytes -> UTF-8. Bytes that are no valid CP932 become U+FFFD; never throws.
std::string Cp932ToUtf8(std::string_view bytes);
// The same into out, whose storage is kept for the next text.
void Cp932ToUtf8(std::string_view bytes, std::string& out);

// UTF-8 -> CP932. A character CP932 cannot hold becomes "?", as the Windows code page
// conversion does; invalid UTF-8 input bytes are treated the same way.
std::string Utf8ToCp932(std::string_view text);

// The code points of a UTF-8 text, so that a search can never match inside a character;
// a stray byte b stands for itself as the lone surrogate 0xDC00 + b.
std::u32string TextCodePoints(const std::string& text);

// True when every character of text has a CP932 form.
bool IsCp932Encodable(std::string_view text);

// True when CP932 holds the character, the rule for every character typed into a text
// that is stored: what it cannot hold would reach the files as "?". A lone surrogate
// (a stray byte, as TextCodePoints gives it) has no form either.
bool IsCp932Char(char32_t c);

// The UTF-8 of one code point.
std::string CodePointUtf8(char32_t c);

// Width of a text as the ledger's code page counts it: ASCII and half-width katakana
// one byte, every other character two.
std::size_t Cp932ByteLength(std::string_view utf8);

// Number of code points of a UTF-8 text.
std::size_t CharCount(std::string_view utf8);

// Split decoded text into lines at CR LF, LF or a lone CR. A final line end adds no
// empty line; an empty text gives no line at all.
TLines SplitLines(std::string_view text);

// Read a whole CP932 file as lines.
TFileResult ReadTextLines(const std::string& path, TLines& lines);

// The same file's bytes, undecoded, within the same bounds. Its lines come one at a time
// from NextLine, and each decodes by itself as it does in the whole (CR and LF are never
// part of another character): a file of many lines needs no string for each.
TFileResult ReadTextBytes(const std::string& path, std::string& bytes);
// The line of text that starts at pos, split as SplitLines splits; pos moves past its line
// end. False at the end of the text.
bool NextLine(std::string_view text, std::size_t& pos, std::string_view& line);

// A CP932 file read line by line, a chunk at a time, so that a large file never lies in
// memory whole. Bounds, line ends and failures are those of ReadTextLines, but lines
// come as their CP932 bytes: a line of ASCII (every number and marker) is already its
// text, and Cp932ToUtf8 decodes the others. A failure may come after some lines.
class TCp932LineReader {
public:
    explicit TCp932LineReader(const std::string& path);
    ~TCp932LineReader();
    TCp932LineReader(const TCp932LineReader&) = delete;
    TCp932LineReader& operator=(const TCp932LineReader&) = delete;

    // The next line, valid until the next call; false at the end of the file, or when
    // reading failed, which Status() then says.
    bool Next(std::string_view& line);
    // The next count lines at once, all valid until the next call; false as Next.
    bool NextLines(std::size_t count, std::string_view* lines);
    const TFileResult& Status() const { return Result; }

private:
    bool Fail(TFileStatus status, int err);
    // Reads the next chunk; false at the end of the file or on a failure.
    bool Refill();

    int Fd = -1;
    TFileResult Result;
    std::string Chunk;             // the bytes read last
    std::size_t Pos = 0, Filled = 0;
    std::string Carry;             // the start of a line that runs on into the next chunk
    std::string Gathered;          // lines of NextLines that did not lie in one chunk
    bool CarryGiven = false;       // the last line handed out was Carry
    bool SkipLineFeed = false;     // the last line ended in CR at a chunk's end
    bool AtEnd = false;
    std::uint64_t Total = 0;
};

// Only the first line (empty for an empty file), for files of which nothing else is
// used: the rest of the file is not read.
TFileResult ReadFirstLine(const std::string& path, std::string& line);

// Write lines as CP932, each ended by CR LF, through a temporary file in the same folder
// that is renamed over path: the target holds either its old or its whole new content.
TFileResult WriteTextLines(const std::string& path, const TLines& lines);

// Every system call these make goes through FileCalls() (platform/file_calls.h).

// Write raw bytes the same way (used for 0-byte acknowledgements and by WriteTextLines).
TFileResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// A file written piece by piece the same way: through a temporary file in the same
// folder, renamed over path by Commit once it is whole and on disk. Dropped without a
// Commit, or after a failed Write, it leaves the target as it was and no temporary file.
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(const std::string& path);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    // False once anything has failed; the rest is then not written.
    bool Write(std::string_view bytes);
    // Sync, close, rename: the first failure of the whole write.
    TFileResult Commit();

private:
    void Abandon(int err);
    std::string Path, Dir, Temporary;
    int Fd = -1;
    std::int64_t Written = 0, Started = 0;  // bytes written, and those the disk was told to take
    TFileResult Result;
};

// File names compare without letter case, as the ledger's Windows names do: "PART.BBH"
// ends with "bbh", "紙.JPG" with ".jpg" (ASCII letters only).
bool EndsWithNoCase(std::string_view name, std::string_view tail);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Remove a file; a file that is not there counts as removed.
TFileResult DeleteFile(const std::string& path);

}  // namespace tarvek
