#include "platform/textfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <string>
#include <thread>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tarvek {
namespace {

namespace fs = std::filesystem;

const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD

// A character both as UTF-8 and as the CP932 bytes this machine's iconv gives for it.
struct Mapping {
    const char* name;
    std::string utf8;
    std::string cp932;
};

const std::vector<Mapping>& RoundTripMappings() {
    static const std::vector<Mapping> table = {
        {"full-width tilde U+FF5E", "\xEF\xBD\x9E", "\x81\x60"},
        {"full-width hyphen-minus U+FF0D", "\xEF\xBC\x8D", "\x81\x7C"},
        {"IBM extension U+9AD9", "\xE9\xAB\x99", "\xFB\xFC"},
        {"circled one U+2460", "\xE2\x91\xA0", "\x87\x40"},
        {"user-defined U+E000", "\xEE\x80\x80", "\xF0\x40"},
        {"half-width katakana a U+FF71", "\xEF\xBD\xB1", "\xB1"},
        {"backslash", "\\", "\x5C"},
        {"tilde", "~", "\x7E"},
        {"hiragana a U+3042", "\xE3\x81\x82", "\x82\xA0"},
        {"kanji U+6F22", "\xE6\xBC\xA2", "\x8A\xBF"},
        {"full-width reverse solidus U+FF3C", "\xEF\xBC\xBC", "\x81\x5F"},
        {"last user-defined U+E757", "\xEE\x9D\x97", "\xF9\xFC"},
    };
    return table;
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

TEST(Cp932Conversion, SpecialCharactersRoundTrip) {
    for (const Mapping& m : RoundTripMappings()) {
        SCOPED_TRACE(m.name);
        EXPECT_EQ(Hex(Utf8ToCp932(m.utf8)), Hex(m.cp932));
        EXPECT_EQ(Hex(Cp932ToUtf8(m.cp932)), Hex(m.utf8));
        EXPECT_TRUE(IsCp932Encodable(m.utf8));
    }
}

// Characters a Linux input method or a Unicode source produces that CP932 holds only
// under another code point: they are written, and read back as the Windows form.
TEST(Cp932Conversion, LookAlikesAreWrittenAsTheWindowsForm) {
    struct Case {
        const char* name;
        std::string utf8;
        std::string cp932;
        std::string readBack;
    };
    const std::vector<Case> cases = {
        {"wave dash U+301C", "\xE3\x80\x9C", "\x81\x60", "\xEF\xBD\x9E"},
        {"minus sign U+2212", "\xE2\x88\x92", "\x81\x7C", "\xEF\xBC\x8D"},
        {"yen sign U+00A5", "\xC2\xA5", "\x5C", "\\"},
        {"double vertical line U+2016", "\xE2\x80\x96", "\x81\x61", "\xE2\x88\xA5"},
        {"not sign U+00AC", "\xC2\xAC", "\x81\xCA", "\xEF\xBF\xA2"},
        // NEC-selected duplicate rows read fine but are written as the IBM codes.
        {"kanji U+7E8A from 0xED40", "\xE7\xBA\x8A", "\xFA\x5C", "\xE7\xBA\x8A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(IsCp932Encodable(c.utf8));
        EXPECT_EQ(Hex(Utf8ToCp932(c.utf8)), Hex(c.cp932));
        EXPECT_EQ(Hex(Cp932ToUtf8(c.cp932)), Hex(c.readBack));
    }
    EXPECT_EQ(Hex(Cp932ToUtf8("\xED\x40")), Hex("\xE7\xBA\x8A"));
}

TEST(Cp932Conversion, UnencodableTextBecomesQuestionMarks) {
    struct Case {
        const char* name;
        std::string utf8;
        std::string cp932;
    };
    const std::vector<Case> cases = {
        {"euro sign", "a\xE2\x82\xAC" "b", "a?b"},
        {"emoji", "\xF0\x9F\x98\x80", "?"},
        {"e acute between kana", "\xE3\x81\x82\xC3\xA9\xE3\x81\x82", "\x82\xA0?\x82\xA0"},
        {"private use beyond the user area U+E758", "\xEE\x9D\x98", "?"},
        {"stray continuation byte", "a\x80" "b", "a?b"},
        {"byte 0xFF", "\xFF", "?"},
        {"truncated sequence inside", "a\xE3\x81" "b", "a??b"},
        {"truncated sequence at the end", "a\xE3\x81", "a??"},
        {"overlong slash", "\xC0\xAF", "??"},
        {"surrogate", "\xED\xA0\x80", "???"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Hex(Utf8ToCp932(c.utf8)), Hex(c.cp932));
        EXPECT_FALSE(IsCp932Encodable(c.utf8));
    }
    // A question mark of its own is no failed conversion.
    EXPECT_TRUE(IsCp932Encodable("why?"));
    EXPECT_TRUE(IsCp932Encodable(""));
}

// The one check of a typed character, and its UTF-8, round every kind of code point.
TEST(Cp932Conversion, EachCharacterIsHeldOrNot) {
    struct Case {
        char32_t c;
        const char* utf8;
        bool held;
    };
    const std::vector<Case> cases = {
        {U'a', "a", true},
        {U'\b', "\b", true},            // a control character is the key handler's, not refused
        {U'ｱ', "\xEF\xBD\xB1", true},      // half-width katakana
        {U'髙', "\xE9\xAB\x99", true},      // an NEC extension of the code page
        {U'①', "\xE2\x91\xA0", true},
        {U'é', "\xC3\xA9", false},
        {U'€', "\xE2\x82\xAC", false},
        {U'𠮷', "\xF0\xA0\xAE\xB7", false},  // a family name's character beyond the BMP
        {U'😀', "\xF0\x9F\x98\x80", false},
        {U'\uFFFD', "\xEF\xBF\xBD", false},  // what a damaged file decodes to
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(CodePointUtf8(c.c), c.utf8);
        EXPECT_EQ(TextCodePoints(c.utf8), std::u32string(1, c.c));
        EXPECT_EQ(IsCp932Char(c.c), c.held);
    }
    // A stray byte, as TextCodePoints gives it, is no character of the code page.
    EXPECT_FALSE(IsCp932Char(0xDC80));
}

TEST(Cp932Conversion, InvalidBytesBecomeReplacementCharacters) {
    struct Case {
        const char* name;
        std::string cp932;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"lead byte before a space", "a\x81\x20" "b", "a" + kBad + " b"},
        {"0xA0 alone", "x\xA0y", "x" + kBad + "y"},
        {"0x80", "\x80", kBad},
        {"0xFD 0xFE 0xFF", "\xFD\xFE\xFF", kBad + kBad + kBad},
        {"lone lead byte at the end", "ab\x82", "ab" + kBad},
        {"only a lead byte", "\x82", kBad},
        {"lead byte before a newline", "\x82\r\n", kBad + "\r\n"},
        {"valid pair then a cut one", "\x82\xA0\x82", "\xE3\x81\x82" + kBad},
        {"NUL is kept", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Hex(Cp932ToUtf8(c.cp932)), Hex(c.utf8));
    }
}

TEST(Cp932Conversion, EveryShortInputLoadsSavesAndLoadsTheSame) {
    // All one- and two-byte inputs. Each byte gives at most one character; text that
    // decoded without damage survives a save and a new load unchanged, and the ledger's
    // width count matches the bytes actually written.
    std::vector<std::string> inputs;
    for (int a = 0; a < 256; ++a) {
        inputs.push_back(std::string(1, static_cast<char>(a)));
        for (int b = 0; b < 256; ++b)
            inputs.push_back({static_cast<char>(a), static_cast<char>(b)});
    }
    for (const std::string& in : inputs) {
        const std::string text = Cp932ToUtf8(in);
        ASSERT_GE(CharCount(text), 1u) << Hex(in);
        ASSERT_LE(CharCount(text), in.size()) << Hex(in);
        if (text.find(kBad) != std::string::npos) continue;
        const std::string saved = Utf8ToCp932(text);
        ASSERT_EQ(Cp932ToUtf8(saved), text) << Hex(in);
        ASSERT_EQ(Cp932ByteLength(text), saved.size()) << Hex(in);
    }
}

// How long it takes is the benchmark's (BM_Cp932LargeTexts in bench/).
TEST(Cp932Conversion, LargeTextsConvertExactly) {
    // Pieces that cannot merge with their neighbours, so the whole converts to the
    // concatenation of the pieces; a bug at an internal buffer boundary shows up here.
    struct Piece {
        std::string cp932;
        std::string utf8;
    };
    const std::vector<Piece> pieces = {
        {"Hello, ", "Hello, "},
        {"\x82\xA0\x82\xA2", "\xE3\x81\x82\xE3\x81\x84"},
        {"\xB1\xB2\xB3", "\xEF\xBD\xB1\xEF\xBD\xB2\xEF\xBD\xB3"},
        {"\xFF", kBad},
        {"\x81\x60\r\n", "\xEF\xBD\x9E\r\n"},
        {"\x81\x20", kBad + " "},
        {"\xFB\xFC", "\xE9\xAB\x99"},
    };
    std::string cp932;
    std::string utf8;
    std::string cp932Back;  // what the replacement characters become on the way back
    std::size_t round = 0;
    while (cp932.size() < 2'000'000) {
        const Piece& p = pieces[round++ % pieces.size()];
        cp932 += p.cp932;
        utf8 += p.utf8;
        cp932Back += p.cp932 == "\xFF" ? "?" : p.cp932 == "\x81\x20" ? "? " : p.cp932;
    }
    // Long clean stretches between rare errors, of 3-byte units so that no
    // power-of-two internal chunk ends on a character boundary in either direction.
    std::string sparseCp932 = "\xFF";
    std::string sparseUtf8 = kBad;
    std::string sparseBack = "?";
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 150'000; ++j) {
            sparseCp932 += "a\x82\xA0";
            sparseUtf8 += "a\xE3\x81\x82";
            sparseBack += "a\x82\xA0";
        }
        sparseCp932 += "\x81\x20";
        sparseUtf8 += kBad + " ";
        sparseBack += "? ";
    }

    const std::string decoded = Cp932ToUtf8(cp932);
    const std::string encoded = Utf8ToCp932(decoded);
    const std::string sparseDecoded = Cp932ToUtf8(sparseCp932);
    const std::string sparseEncoded = Utf8ToCp932(sparseDecoded);
    const std::string allBad = Cp932ToUtf8(std::string(1'000'000, '\xFF'));
    const std::string allBadBack = Utf8ToCp932(allBad);

    // EXPECT_TRUE: a failure message with megabytes of text helps nobody.
    EXPECT_TRUE(decoded == utf8);
    EXPECT_TRUE(encoded == cp932Back);
    EXPECT_TRUE(sparseDecoded == sparseUtf8);
    EXPECT_TRUE(sparseEncoded == sparseBack);
    EXPECT_EQ(allBad.size(), 3'000'000u);
    EXPECT_TRUE(allBadBack == std::string(1'000'000, '?'));
}

// The whole text through iconv in one call after another, with the converters' rules for
// bad input: what the run-by-run conversion (ASCII copied, remembered runs) must match.
std::string IconvWhole(const char* to, const char* from, std::string_view in, bool decoding) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out;
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    std::vector<char> buf(in.size() * 4 + 16);
    while (left > 0) {
        char* dst = buf.data();
        std::size_t room = buf.size();
        const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
        const int err = errno;
        out.append(buf.data(), static_cast<std::size_t>(dst - buf.data()));
        if (rc != static_cast<std::size_t>(-1)) break;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (decoding) {
            out += kBad;
            if (err == EINVAL) break;
            ++src;
            --left;
        } else {
            // A well-formed character that has no CP932 form goes whole, else one byte.
            const auto b = static_cast<unsigned char>(*src);
            std::size_t skip = 1;
            if (b >= 0xC2 && b <= 0xF4) {
                const std::size_t n = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
                std::size_t k = 1;
                while (k < n && k < left && (static_cast<unsigned char>(src[k]) & 0xC0) == 0x80) ++k;
                const auto b1 = left > 1 ? static_cast<unsigned char>(src[1]) : 0;
                const bool range = !((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 > 0x9F) ||
                                     (b == 0xF0 && b1 < 0x90) || (b == 0xF4 && b1 > 0x8F));
                if (k == n && range) skip = n;
            }
            out += '?';
            src += skip;
            left -= skip;
        }
    }
    iconv_close(cd);
    return out;
}

TEST(Cp932Conversion, RunByRunConversionGivesWhatIconvGivesOnTheWholeText) {
    // Every lead byte with every byte after it, between ASCII on both sides, is where a run
    // of non-ASCII bytes meets the ASCII byte that may be its last character's second byte.
    std::vector<std::string> texts;
    for (int lead = 0x80; lead < 0x100; ++lead)
        for (int next = 0; next < 0x100; ++next)
            texts.push_back("A" + std::string{static_cast<char>(lead), static_cast<char>(next)} + "@\x82");
    // Random texts, thick with lead bytes, bytes that can be second bytes, line ends and
    // repeats of one run (so that remembered runs are taken again).
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    const std::string alphabet = "\x81\x82\x85\x88\x9F\xE0\xEB\xF0\xFC\xFD\xA0\xB1\xDF\x80\x40\x7E\x7F\x5C\r\n a0";
    for (int t = 0; t < 3000; ++t) {
        std::string text;
        const int length = 1 + next() % 40;
        for (int k = 0; k < length; ++k)
            text += next() % 7 == 0 ? std::string("\x82\x6C\x82\x72 \x96\xBE\x92\xA9") : std::string(1, alphabet[next() % alphabet.size()]);
        texts.push_back(text);
    }
    for (const std::string& cp932 : texts) {
        const std::string expected = IconvWhole("UTF-8", "CP932", cp932, true);
        ASSERT_EQ(Hex(Cp932ToUtf8(cp932)), Hex(expected)) << Hex(cp932);
        // And back, including the bytes of bad sequences as they stand in the decoded text.
        const std::string utf8 = expected + cp932;
        ASSERT_EQ(Hex(Utf8ToCp932(utf8)), Hex(IconvWhole("CP932", "UTF-8", utf8, false))) << Hex(utf8);
    }
    // ASCII is itself both ways, all of it.
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
    EXPECT_EQ(Cp932ToUtf8(ascii), ascii);
    EXPECT_EQ(Utf8ToCp932(ascii), ascii);
    EXPECT_EQ(IconvWhole("UTF-8", "CP932", ascii, true), ascii);
}

TEST(TextMeasure, Cp932ByteLengthCountsLikeTheLedger) {
    struct Case {
        const char* name;
        std::string utf8;
        std::size_t bytes;
    };
    const std::vector<Case> cases = {
        {"empty", "", 0},
        {"ASCII", "abc 12", 6},
        {"half-width katakana", "\xEF\xBD\xB1\xEF\xBD\xB2", 2},
        {"first half-width U+FF61", "\xEF\xBD\xA1", 1},
        {"last half-width U+FF9F", "\xEF\xBE\x9F", 1},
        {"U+FF60 just before", "\xEF\xBD\xA0", 2},
        {"U+FFA0 just after", "\xEF\xBE\xA0", 2},
        {"U+FF5E full-width tilde", "\xEF\xBD\x9E", 2},
        {"hiragana", "\xE3\x81\x82\xE3\x81\x84", 4},
        {"unencodable still two", "\xC3\xA9\xF0\x9F\x98\x80", 4},
        {"mixed", "A\xE3\x81\x82\xEF\xBD\xB1" "b", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Cp932ByteLength(c.utf8), c.bytes);
    }
    // For text CP932 can hold, the count is the real encoded length.
    for (const Mapping& m : RoundTripMappings()) {
        SCOPED_TRACE(m.name);
        EXPECT_EQ(Cp932ByteLength(m.utf8), m.cp932.size());
    }
}

TEST(TextMeasure, CharCountCountsCodePoints) {
    struct Case {
        std::string utf8;
        std::size_t chars;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"abc", 3},
        {"\xC3\xA9", 1},
        {"\xE3\x81\x82\xEF\xBD\xB1", 2},
        {"\xF0\x9F\x98\x80x", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.utf8));
        EXPECT_EQ(CharCount(c.utf8), c.chars);
    }
}

TEST(TextLines, SplitsAtEveryKindOfLineEnd) {
    struct Case {
        const char* name;
        std::string text;
        TLines lines;
    };
    const std::vector<Case> cases = {
        {"empty", "", {}},
        {"no line end", "a", {"a"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"LF", "a\nb\n", {"a", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"lone CR at the end", "a\r", {"a"}},
        {"empty line between", "a\r\n\r\nb", {"a", "", "b"}},
        {"only CR LF", "\r\n", {""}},
        {"only LF", "\n", {""}},
        {"two CRs", "\r\r", {"", ""}},
        {"LF CR is two line ends", "\n\r", {"", ""}},
        {"mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"blanks kept", " a \r\n\t", {" a ", "\t"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitLines(c.text), c.lines);
    }
}

// Each test gets a folder of its own under the test temporary folder.
class TextFileTest : public testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = testing::TempDir() + "textfile.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr) << std::strerror(errno);
        Dir = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(Dir, ec);
    }

    std::string Path(const std::string& name) const { return Dir + "/" + name; }

    static void WriteRaw(const std::string& path, const std::string& bytes) {
        std::ofstream f(path, std::ios::binary);
        f << bytes;
        ASSERT_TRUE(f.good());
    }

    static std::string ReadRaw(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Dir)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    static mode_t Mode(const std::string& path) {
        struct stat st {};
        EXPECT_EQ(stat(path.c_str(), &st), 0);
        return st.st_mode & 07777;
    }

    std::string Dir;
};

// The drawing loader reads line by line in chunks: the lines, bounds and failures must be
// ReadTextLines', with each line's bytes as the file holds them.
TEST_F(TextFileTest, TheLineReaderGivesTheLinesReadTextLinesGives) {
    std::uint32_t seed = 99;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const std::string path = Path("lines.txt");
    const std::vector<std::string> ends = {"\r\n", "\n", "\r", "\n\r", "\r\r\n"};
    for (int t = 0; t < 12; ++t) {
        // Several chunks of short lines, some long ones, every kind of line end, and
        // CP932 bytes; line ends fall on every offset of the 64 KB chunks in turn.
        std::string bytes;
        const std::size_t size = t < 4 ? std::size_t(1) << (t * 5) : 150000 + next() % 100000;
        while (bytes.size() < size) {
            const std::uint32_t k = next() % 100;
            const std::size_t length = k < 90 ? next() % 12 : k < 99 ? next() % 3000 : 70000 + next() % 10000;
            for (std::size_t i = 0; i < length; ++i) bytes += "0123456789.-\x82\xA0 ab"[next() % 18];
            bytes += ends[next() % ends.size()];
        }
        if (t % 3 == 0) bytes += "last line without an end";
        WriteRaw(path, bytes);
        const TLines expected = SplitLines(bytes);
        TLines whole;
        ASSERT_TRUE(ReadTextLines(path, whole));
        ASSERT_EQ(whole.size(), expected.size());
        // By one line at a time, and by runs of several that must all stay valid together.
        TCp932LineReader one(path), runs(path);
        std::string_view line;
        std::vector<std::string_view> run(25);
        std::size_t n = 0;
        while (one.Next(line)) {
            ASSERT_LT(n, expected.size());
            ASSERT_EQ(line, expected[n]) << "line " << n;
            ASSERT_EQ(Cp932ToUtf8(line), whole[n]) << "line " << n;
            ++n;
        }
        EXPECT_TRUE(one.Status());
        EXPECT_EQ(n, expected.size());
        std::size_t at = 0;
        while (at < expected.size()) {
            const std::size_t count = std::min<std::size_t>(1 + next() % 25, expected.size() - at);
            ASSERT_TRUE(runs.NextLines(count, run.data())) << "at line " << at;
            for (std::size_t k = 0; k < count; ++k) ASSERT_EQ(run[k], expected[at + k]) << "line " << at + k;
            at += count;
        }
        EXPECT_FALSE(runs.NextLines(1, run.data()));
        EXPECT_TRUE(runs.Status());
    }
}

TEST_F(TextFileTest, TheLineReaderKeepsTheBoundsOfEveryRead) {
    const std::string atBound(MaxTextLineBytes, 'a');
    struct TCase {
        const char* Name;
        std::string Bytes;
        TFileStatus Status;
        std::size_t Lines;
    };
    const TCase cases[] = {
        {"a line at the bound", "1\r\n" + atBound + "\r\n2\r\n", TFileStatus::Ok, 3},
        {"a line past the bound", "1\r\n" + atBound + "a\r\n2\r\n", TFileStatus::TooLarge, 1},
        {"a last line past the bound", "1\r\n" + atBound + "a", TFileStatus::TooLarge, 1},
    };
    const std::string path = Path("bounds.txt");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteRaw(path, c.Bytes);
        TCp932LineReader in(path);
        std::string_view line;
        std::size_t n = 0;
        while (in.Next(line)) ++n;
        EXPECT_EQ(in.Status().Status, c.Status);
        EXPECT_EQ(n, c.Lines);
        TLines whole;
        EXPECT_EQ(ReadTextLines(path, whole).Status, c.Status);
    }
    TCp932LineReader missing(Path("none.txt"));
    std::string_view line;
    EXPECT_FALSE(missing.Next(line));
    EXPECT_EQ(missing.Status().Status, TFileStatus::NotFound);
    WriteRaw(path, "x\r\n");
    fs::resize_file(path, std::uintmax_t{300} << 20);  // sparse
    TCp932LineReader huge(path);
    EXPECT_FALSE(huge.Next(line));
    EXPECT_EQ(huge.Status().Status, TFileStatus::TooLarge);
}

TEST_F(TextFileTest, SpecialCharactersRoundTripThroughAFile) {
    const std::string path = Path("names.txt");
    TLines lines;
    std::string expected;
    for (const Mapping& m : RoundTripMappings()) {
        lines.push_back("<" + m.utf8 + ">");
        expected += "<" + m.cp932 + ">\r\n";
    }
    lines.push_back("");
    expected += "\r\n";

    ASSERT_TRUE(WriteTextLines(path, lines));
    EXPECT_EQ(Hex(ReadRaw(path)), Hex(expected));

    TLines back;
    ASSERT_TRUE(ReadTextLines(path, back));
    EXPECT_EQ(back, lines);
    EXPECT_EQ(Entries(), std::vector<std::string>{"names.txt"});
}

TEST_F(TextFileTest, UnencodableCharactersAreWrittenAsQuestionMarks) {
    const std::string path = Path("q.txt");
    ASSERT_TRUE(WriteTextLines(path, {"a\xE2\x82\xAC" "b", "\xF0\x9F\x98\x80"}));
    EXPECT_EQ(ReadRaw(path), "a?b\r\n?\r\n");
}

TEST_F(TextFileTest, EmptyFileAndEmptyLineList) {
    const std::string path = Path("empty.txt");
    ASSERT_TRUE(WriteTextLines(path, {}));
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(fs::file_size(path), 0u);

    TLines lines = {"stale"};
    const TFileResult r = ReadTextLines(path, lines);
    EXPECT_EQ(r.Status, TFileStatus::Ok);
    EXPECT_TRUE(lines.empty());
}

TEST_F(TextFileTest, ReadsAnyLineEndAndDamagedBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        TLines lines;
    };
    const std::vector<Case> cases = {
        {"LF only", "one\ntwo\n\nthree", {"one", "two", "", "three"}},
        {"lone CR", "one\rtwo\r\rthree\r", {"one", "two", "", "three"}},
        {"invalid bytes",
         "ok\x81 x\r\n\xA0\xFF\r\n\x82\xA0" "end\x82",
         {"ok" + kBad + " x", kBad + kBad, "\xE3\x81\x82" "end" + kBad}},
        {"lead byte cut by the line end", "a\x82\r\nb", {"a" + kBad, "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("in.txt");
        WriteRaw(path, c.bytes);
        TLines lines;
        EXPECT_TRUE(ReadTextLines(path, lines));
        EXPECT_EQ(lines, c.lines);
    }
}

TEST_F(TextFileTest, ReadFailuresAreReported) {
    WriteRaw(Path("file"), "x");
    fs::create_directory(Path("folder"));
    struct Case {
        const char* name;
        std::string path;
        TFileStatus status;
        int err;
    };
    const std::vector<Case> cases = {
        {"missing file", Path("missing.txt"), TFileStatus::NotFound, ENOENT},
        {"missing folder", Path("nofolder/a.txt"), TFileStatus::NotFound, ENOENT},
        {"file used as folder", Path("file/a.txt"), TFileStatus::NotFound, ENOTDIR},
        {"a directory", Path("folder"), TFileStatus::ReadFailed, EISDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TLines lines = {"stale"};
        const TFileResult r = ReadTextLines(c.path, lines);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.Errno, c.err);
        EXPECT_EQ(r.Message, std::strerror(c.err));
        EXPECT_TRUE(lines.empty());
    }
}

TEST_F(TextFileTest, UnreadableFileIsReadFailed) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const std::string path = Path("secret.txt");
    WriteRaw(path, "x");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    TLines lines;
    const TFileResult r = ReadTextLines(path, lines);
    EXPECT_EQ(r.Status, TFileStatus::ReadFailed);
    EXPECT_EQ(r.Errno, EACCES);
}

TEST_F(TextFileTest, OverwriteReplacesTheFileWholeAndKeepsItsMode) {
    const std::string path = Path("data.txt");
    WriteRaw(path, "old content\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    // A reader that opened the old file keeps seeing it whole: the new content arrives
    // as a new file renamed over the name, not by rewriting the old one.
    std::ifstream reader(path, std::ios::binary);
    ASSERT_TRUE(reader.is_open());

    ASSERT_TRUE(WriteTextLines(path, {"new"}));
    EXPECT_EQ(ReadRaw(path), "new\r\n");
    EXPECT_EQ(Mode(path), 0640u);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old content\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"data.txt"});
}

// A large file a save replaces is freed after the save, by a kept thread; its descriptor
// must not stay open, or every save of a drawing would keep its old copy on the disk.
TEST_F(TextFileTest, AReplacedLargeFileIsFreedAfterTheWrite) {
    const auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const std::string path = Path("data.txt");
    ASSERT_TRUE(WriteFileAtomically(path, std::string(3 << 20, 'a')));
    const auto before = openDescriptors();
    for (const char c : {'b', 'c', 'd', 'e'}) {
        ASSERT_TRUE(WriteFileAtomically(path, std::string(3 << 20, c)));
        EXPECT_EQ(ReadRaw(path), std::string(3 << 20, c));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (openDescriptors() > before && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(Entries(), std::vector<std::string>{"data.txt"});

    // A pipe under the name is not waited on: it is replaced like any other file.
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "after the pipe\r\n"));
    EXPECT_EQ(ReadRaw(path), "after the pipe\r\n");
}

TEST_F(TextFileTest, NewFileGetsModeFromUmask) {
    const mode_t saved = umask(027);
    const TFileResult r = WriteFileAtomically(Path("new.txt"), "abc");
    const mode_t during = umask(saved);
    ASSERT_TRUE(r);
    EXPECT_EQ(during, 027u) << "the umask must be left as it was";
    EXPECT_EQ(Mode(Path("new.txt")), 0640u);
    EXPECT_EQ(ReadRaw(Path("new.txt")), "abc");
}

TEST_F(TextFileTest, BareFileNameIsWrittenInTheCurrentFolder) {
    const fs::path saved = fs::current_path();
    ASSERT_EQ(chdir(Dir.c_str()), 0);
    const TFileResult r = WriteFileAtomically("bare.txt", "x");
    fs::current_path(saved);
    ASSERT_TRUE(r) << r.Message;
    EXPECT_EQ(ReadRaw(Path("bare.txt")), "x");
    EXPECT_EQ(Entries(), std::vector<std::string>{"bare.txt"});
}

TEST_F(TextFileTest, FailedWriteLeavesNoTraces) {
    fs::create_directory(Path("taken"));
    WriteRaw(Path("taken/inside.txt"), "keep");
    struct Case {
        const char* name;
        std::string path;
        int err;
    };
    const std::vector<Case> cases = {
        {"folder does not exist", Path("nofolder/out.txt"), ENOENT},
        {"target is a directory", Path("taken"), EISDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TFileResult r = WriteTextLines(c.path, {"data"});
        EXPECT_EQ(r.Status, TFileStatus::WriteFailed);
        EXPECT_EQ(r.Errno, c.err);
        EXPECT_EQ(r.Message, std::strerror(c.err));
        EXPECT_EQ(Entries(), std::vector<std::string>{"taken"});
    }
    EXPECT_TRUE(DirectoryExists(Path("taken")));
    EXPECT_EQ(ReadRaw(Path("taken/inside.txt")), "keep");
}

TEST_F(TextFileTest, WriteErrorMidFileKeepsTheOldContent) {
    // A file size limit makes write() fail part way, as a full disk would.
    const std::string path = Path("big.txt");
    WriteRaw(path, "old");
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    const TFileResult r = WriteFileAtomically(path, std::string(100'000, 'x'));

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(r.Status, TFileStatus::WriteFailed);
    EXPECT_EQ(r.Errno, EFBIG);
    EXPECT_FALSE(r.Message.empty());
    EXPECT_EQ(ReadRaw(path), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"big.txt"});
}

TEST_F(TextFileTest, ExistenceChecks) {
    WriteRaw(Path("file"), "x");
    fs::create_directory(Path("folder"));
    fs::create_symlink(Path("file"), Path("link-to-file"));
    fs::create_symlink(Path("folder"), Path("link-to-folder"));
    fs::create_symlink(Path("gone"), Path("dangling"));
    struct Case {
        const char* name;
        bool file;
        bool folder;
    };
    const std::vector<Case> cases = {
        {"file", true, false},           {"folder", false, true},
        {"link-to-file", true, false},   {"link-to-folder", false, true},
        {"dangling", false, false},      {"missing", false, false},
        {"file/below", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileExists(Path(c.name)), c.file);
        EXPECT_EQ(DirectoryExists(Path(c.name)), c.folder);
    }
}

TEST_F(TextFileTest, DeleteFile) {
    WriteRaw(Path("file"), "x");
    fs::create_directory(Path("folder"));

    EXPECT_TRUE(DeleteFile(Path("file")));
    EXPECT_FALSE(FileExists(Path("file")));
    EXPECT_TRUE(DeleteFile(Path("file"))) << "already gone counts as removed";
    EXPECT_TRUE(DeleteFile(Path("nofolder/file")));

    const TFileResult r = DeleteFile(Path("folder"));
    EXPECT_EQ(r.Status, TFileStatus::WriteFailed);
    EXPECT_EQ(r.Errno, EISDIR);
    EXPECT_TRUE(DirectoryExists(Path("folder")));
}

}  // namespace
}  // namespace tarvek
