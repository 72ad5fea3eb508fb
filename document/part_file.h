// Part files: selected figures kept in a file of their own ("*.bbh"), and loaded back into
// a drawing together with old parts ("*.bhn") and whole drawing data files ("*_data.txt").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/figure.h"
#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;
class TLedgerView;

constexpr const char* PartGroupQuestion = "読込部品をグループ化させますか？";
constexpr const char* PartLoadStepLabel = "部品読込を取消す";

// The parts folder beside the program folder: its parent + "/ゼルボデータ/部品/".
std::string PartsFolder(const TDrawingState& s);
// Where the part dialogs open: the parts folder when it exists, else the program folder.
std::string PartDialogFolder(const TDrawingState& s);

// The file of a part made of the selected figures: "Ver4.00", one 25-line record per
// figure, "endofdata". Set-aside copies of shared plots are left out; links point within
// the part; no record carries a share set. The store itself is not touched.
TLines BuildPartLines(const TDrawingState& s);

enum class TPartReadError { None, Cut, BadValue, TooMany };

struct TPartRecords {
    TPartReadError Error = TPartReadError::None;
    // The record (1-based) that could not be read, for BadValue and Cut.
    std::int32_t BadRecord = 0;
    // The records in file order, upgraded from older layouts; links still count from 1
    // within the part.
    std::vector<TDateRec> Records;
    bool ok() const { return Error == TPartReadError::None; }
};

// Parses a part or drawing data file whole. fileName decides whether a version-4 record
// has its font line ("txt" and "bbh" have it, in any case; old "bhn" parts do not);
// records without one get fontName.
TPartRecords ParsePartLines(const TLines& lines, const std::string& fileName, const std::string& fontName);

// The message for a file that could not be read or parsed, naming it.
std::string PartReadErrorMessage(const std::string& path, const TPartRecords& parsed);

struct TPartAppendResult {
    std::int32_t Added = 0;  // 0: the store had no room (the user was told) or the part is empty
    // The part is one group already: one loaded owner's box is the whole selection's.
    bool OneGroup = false;
};

// Appends the parsed records where they were drawn, selected and nothing else: plots get
// new keys, no household, one "追加" list goes to the ledger, links point at the appended
// records, and one step records how many were added. Room for all of them is made first,
// or nothing is added.
TPartAppendResult AppendPartRecords(TDrawingState& s, TLedgerView& view, const std::vector<TDateRec>& records);

// "部品読込" once the file is chosen: reads and parses it whole, then appends it. A file
// that cannot be read or parsed is named in a warning and changes nothing.
TPartAppendResult LoadPartFile(TDrawingState& s, TLedgerView& view, const std::string& path);

}  // namespace tarvek
