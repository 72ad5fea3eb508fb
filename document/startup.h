// The launch hand-shake with the ledger: the drawing request it writes before starting
// the editor, the answer line the editor writes back at closing, and the checks on the
// names that become parts of file names.
#pragma once

#include <string>

#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;

constexpr const char* SelectedDrawingFileName = "選択図面.csv";
constexpr const char* RequestStageMessage = "選択図面エラー。選択された寺院・図面名に不正あり。";
constexpr const char* HandoverStageMessage = "図面台帳データエラー。図面台帳に不正なデータがあります。";
constexpr const char* StaleRequestMessage = "単独起動は誤動作防止の為できません。";
constexpr const char* AnsweredMarker = "OK";

// 1-based character position of the first comma, or the length in characters + 1.
int FindCommaPos(const std::string& text);

// Splits a CSV line at every comma (no quoting rule) into fields, counting characters.
std::vector<std::string> SplitCsvFields(const std::string& line, std::size_t count);

// ASCII punctuation and symbols (33-47, 58-64, 91-96, 123-126).
bool IsSymbolChar(char32_t c);

// A name that can stand inside a file name of the program folder: no "/", "\", control
// character, and not "." or "..".
bool IsSafeNamePart(const std::string& name);

// Reads the first line of the request into the state. False on any failure; an empty
// first line fails without a beep, every other failure with one.
bool ReadDrawingRequest(TDrawingState& s);

// The one answer line: fields 1-4 and 6 in double quotes, field 5 the bare "OK".
std::string DrawingRequestAnswerLine(const TDrawingState& s);
TFileResult WriteDrawingRequestAnswer(const TDrawingState& s);

// True when folder holds a drawing data file of exactly that name.
bool DrawingNameExists(const std::string& folder, const std::string& fileName);

enum class TDrawingNameProblem { None, Empty, BadCharacter, Taken };

// What is wrong with a typed drawing name: empty, a character the name field filters
// (or one that cannot stand in a file name, or one CP932 cannot hold, which the request
// and the hand-over file would carry as "?"), or another existing drawing's name.
// The current name itself is always acceptable.
TDrawingNameProblem CheckDrawingName(const TDrawingState& s, const std::string& name);
// The warning for a problem (empty for None).
std::string DrawingNameProblemMessage(TDrawingNameProblem p);

}  // namespace tarvek
