// The CP932 decoder: every byte string decodes to valid UTF-8, and the text re-encodes
// and decodes again to itself (a byte that is no CP932 comes back as "?", the one
// character written for what CP932 cannot hold). Line splitting sees no line end inside
// a line.
#include "fuzz/fuzz_support.h"
#include "platform/textfile.h"

using namespace tarvek;
using namespace tarvek::fuzz;

namespace {

std::string ReplacementsAsQuestionMarks(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "\xEF\xBF\xBD") == 0) {
            out += '?';
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = Cp932ToUtf8(bytes);
    const std::u32string points = TextCodePoints(text);
    for (char32_t c : points) Require(c < 0xDC00 + 0x80 || c >= 0xDD00, "decoded text is valid UTF-8");

    const std::string encoded = Utf8ToCp932(text);
    const std::string again = Cp932ToUtf8(encoded);
    Require(again == ReplacementsAsQuestionMarks(text), "decode, encode and decode again");
    Require(Utf8ToCp932(again) == encoded, "a decoded text encodes to the same bytes");
    Require(IsCp932Encodable(text) == (text.find("\xEF\xBF\xBD") == std::string::npos),
            "only the replacement character has no CP932 form");
    Require(Cp932ByteLength(again) == encoded.size(), "the width counted is the width written");
    Require(CharCount(text) == points.size(), "characters counted");

    std::size_t total = 0;
    for (const std::string& line : SplitLines(text)) {
        Require(line.find_first_of("\r\n") == std::string::npos, "no line end inside a line");
        total += line.size();
    }
    Require(total <= text.size(), "lines hold no more than the text");
    return 0;
}
