// The ledger's household export, read once at start-up. It is the only copy of the
// household register the editor holds while it runs.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tarvek {

struct TDrawingState;
struct TDateRec;

constexpr int HouseholdColumns = 9;
using THouseholdRow = std::array<std::string, HouseholdColumns>;

constexpr const char* HouseholdTableFileName = "檀家厨子.csv";
constexpr const char* HouseholdStageMessage = "檀家データエラー。檀家データに不正あり。";

// Column headers of the household grids.
extern const std::array<const char*, HouseholdColumns> HouseholdHeaders;

// One line of the export: split at every comma, each double quote a blank, each field
// trimmed of blanks and control characters (not of the ideographic space); the ID is
// left-padded with "0" to six characters.
THouseholdRow ParseHouseholdLine(const std::string& line);

// Reads ExeFolder + "檀家厨子.csv" into s.Households. A missing file gives the one
// placeholder household; an unreadable file or one without lines sets StartupError
// with a beep.
void LoadHouseholdTable(TDrawingState& s);

// The household's ID, names, addresses and phone (columns 0 to 6) into a record. The
// district ID and the household remarks are not the plot's.
void CopyHouseholdNames(TDateRec& r, const THouseholdRow& row);

}  // namespace tarvek
