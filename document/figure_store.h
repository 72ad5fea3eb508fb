// Operations on the figure store as a whole and on single records.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvek {

struct TDrawingState;
struct TDateRec;

// Called by every creator when the next record would reach MaxFigures. Compacts when
// that frees more slots than the selection about to be duplicated; otherwise warns.
// Either way the edit history is emptied. True when room was made.
bool EnsureFigureCapacity(TDrawingState& s);

constexpr const char* StoreFullMessage = "これ以上データを置けません";

// Makes sure count more records fit below MaxFigures before anything is appended. A
// full store is compacted when that frees slots (the chain in progress keeps pointing
// at its first record); when it still has no room for all of them the user is told
// and the result is false.
bool ReserveFigures(TDrawingState& s, std::int32_t count);

// Makes sure count new plot keys (MaxPlotId + 1 onwards) fit in 32 bits before anything
// is changed: a file may have left MaxPlotId at the limit. Otherwise the user is told as
// for a full store and the result is false.
bool ReservePlotIds(TDrawingState& s, std::int64_t count);

// Removes deleted records keeping the order of the rest, re-points owner links, the
// selection list and the current hit, and empties the edit history.
void CompactFigures(TDrawingState& s);

// The compaction of CompactFigures on any list of records (1..count; index 0 is left
// alone): deleted records go, the rest keep their order, owner links follow their owner
// and a link to a removed record becomes 0. count becomes the new count; the result maps
// each old index to its new one (0 = removed).
std::vector<std::int32_t> CompactRecordList(std::vector<TDateRec>& records, std::int32_t& count);

// What every new figure starts with: the current pen, brush and font, no household
// ("0", "000000", "空", blanks), no ids or links, live and not selected, and this
// drawing's name. Kind and points are the creator's.
void ApplyNewFigureDefaults(const TDrawingState& s, TDateRec& r);

// The names and addresses of no household: "空" and the rest empty. The household ID in
// Text is the caller's, since a text figure keeps its Text.
void ClearHouseholdNames(TDateRec& r);
// The names and addresses of from's household onto to (HouseName .. Address2).
void CopyHouseholdNamesFrom(TDateRec& to, const TDateRec& from);
// A household's texts in the order history steps keep them: HouseName, HeadName, Phone,
// DistrictName, Address1, Address2, PlotRemarks, Grade.
std::array<std::string*, 8> HouseholdTextFields(TDateRec& r);
std::array<const std::string*, 8> HouseholdTextFields(const TDateRec& r);

void UpdateFigureBounds(TDrawingState& s, std::int32_t index);
void NormalizeCorners(TDrawingState& s, std::int32_t index);
void NormalizeScreenCorners(int& x1, int& y1, int& x2, int& y2, int& x3, int& y3, int& x4,
                            int& y4);

// The parent of a member of a compound figure, or a value below 1.
std::int32_t GetCompoundOwner(const TDrawingState& s, std::int32_t index);

// The topmost owner above a record (the record itself when it has none). The walk is
// bounded, so a cycle of owner links in a damaged file cannot hang the editor.
std::int32_t GetTopOwner(const TDrawingState& s, std::int32_t index);

// Keeps an owner link only when it names another live parent record (kinds 30 to 33).
void ValidateOwnerLinks(TDrawingState& s);

}  // namespace tarvek
