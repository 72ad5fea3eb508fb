#include "document/startup.h"

#include <vector>

#include "document/drawing_file.h"
#include "document/drawing_state.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

// Decodes one code point of valid UTF-8 at s[i], advancing i.
char32_t NextCodePoint(const std::string& s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int len = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
    if (i + static_cast<std::size_t>(len) > s.size()) len = 1;
    char32_t c = len == 1 ? b0 : b0 & (0x3F >> (len - 1));
    for (int k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0x3F);
    i += static_cast<std::size_t>(len);
    return c;
}

std::string WithoutQuotes(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (char c : line)
        if (c != '"') out += c;
    return out;
}

}  // namespace

int FindCommaPos(const std::string& text) {
    int pos = 1;
    for (std::size_t i = 0; i < text.size(); ++pos) {
        if (text[i] == ',') return pos;
        NextCodePoint(text, i);
    }
    return pos;
}

std::vector<std::string> SplitCsvFields(const std::string& line, std::size_t count) {
    // A comma is one byte in UTF-8 and never part of another character, so splitting
    // bytes gives the same fields as counting characters.
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() < count) {
        if (start > line.size()) {
            fields.emplace_back();
            continue;
        }
        std::size_t comma = line.find(',', start);
        if (comma == std::string::npos) comma = line.size();
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return fields;
}

bool IsSymbolChar(char32_t c) {
    return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
}

bool IsSafeNamePart(const std::string& name) {
    if (name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c < 32 || c == 127 || c == '/' || c == '\\') return false;
    return true;
}

bool ReadDrawingRequest(TDrawingState& s) {
    s.StartupErrorMessage = RequestStageMessage;
    // Only the first line is used, so only the first line is read.
    std::string first;
    const TFileResult read = ReadFirstLine(s.ExeFolder + SelectedDrawingFileName, first);
    if (!read) {
        s.StartupError = 1;
        s.Ui.Beep();
        return false;
    }
    if (first.empty()) {
        s.StartupError = 1;
        return false;
    }
    const std::vector<std::string> f = SplitCsvFields(WithoutQuotes(first), 6);
    std::int32_t target = 0;
    if (!f[2].empty()) {
        const auto v = StrToInt(f[2]);
        if (!v) {
            s.StartupError = 1;
            s.Ui.Beep();
            return false;
        }
        target = *v;
    }
    // These become parts of file names: a name that could leave the program folder
    // or name no file is no drawing.
    if (!IsSafeNamePart(f[0]) || !IsSafeNamePart(f[3]) || !IsSafeNamePart(f[5]) || f[5].empty()) {
        s.StartupError = 1;
        s.Ui.Beep();
        return false;
    }
    s.PlotKindWord = f[0];
    s.HandoverStatus = f[1];
    s.LedgerTargetId = target;
    s.TempleName = f[3];
    s.StandaloneStartFlag = f[4] == AnsweredMarker ? 1 : 0;
    s.CurrentDrawingName = f[5];
    s.StartupErrorMessage = FigureReadErrorMessage;
    return true;
}

std::string DrawingRequestAnswerLine(const TDrawingState& s) {
    const auto q = [](const std::string& t) { return "\"" + t + "\""; };
    return q(s.PlotKindWord) + "," + q(s.HandoverStatus) + "," + q(IntToStr(s.LedgerTargetId)) + "," +
           q(s.TempleName) + "," + AnsweredMarker + "," + q(s.CurrentDrawingName);
}

TFileResult WriteDrawingRequestAnswer(const TDrawingState& s) {
    return WriteTextLines(s.ExeFolder + SelectedDrawingFileName, {DrawingRequestAnswerLine(s)});
}

bool DrawingNameExists(const std::string& folder, const std::string& fileName) {
    const std::string suffix = "_data.txt";
    if (fileName.size() < suffix.size() || fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return FileExists(dir + fileName);
}

TDrawingNameProblem CheckDrawingName(const TDrawingState& s, const std::string& name) {
    if (name == s.CurrentDrawingName) return TDrawingNameProblem::None;
    if (name.empty()) return TDrawingNameProblem::Empty;
    for (std::size_t i = 0; i < name.size();) {
        const char32_t c = NextCodePoint(name, i);
        if (IsSymbolChar(c) || c < 32 || c == 127 || !IsCp932Char(c)) return TDrawingNameProblem::BadCharacter;
    }
    if (DrawingNameExists(s.ExeFolder, s.TempleName + s.PlotKindWord + name + "_data.txt"))
        return TDrawingNameProblem::Taken;
    return TDrawingNameProblem::None;
}

std::string DrawingNameProblemMessage(TDrawingNameProblem p) {
    switch (p) {
        case TDrawingNameProblem::Empty: return "図面名が空欄です。正しい名前でお願いします。";
        case TDrawingNameProblem::BadCharacter: return "図面名に使えない文字があります。正しい名前でお願いします。";
        case TDrawingNameProblem::Taken: return "同名の図面が既にあります。別の名前でお願いします。";
        case TDrawingNameProblem::None: break;
    }
    return {};
}

}  // namespace tarvek
