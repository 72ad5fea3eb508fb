// The plot information panel of the search page: the selection counters and co-owner
// list after a selection change, the selection list sorted by plot number for hit
// navigation, and the remarks field, whose edits go to the ledger at once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "households/plot_search.h"

namespace tarvek {

struct TDrawingState;

// Sorts rows by one column in the locale's collation (CompareCollated: letter case and
// width do not count); rows with equal cells keep their order. A row too short for the
// column sorts as an empty cell.
void SortRowsByColumn(std::vector<std::vector<std::string>>& rows, std::size_t column);

// After a selection change, on the search page only: the counters, and the co-owner
// list when the selection holds a shared plot's copies.
void ShowSelectionSummary(TDrawingState& s, TPlotSearchView& view);

// The summary the edition binds (S.HouseholdOps.ShowSelectionSummary), else the one above:
// what every selection change calls.
void SummariseSelection(TDrawingState& s, TPlotSearchView& view);

// Rebuilds the selection list without the members of compound figures, in plot-number
// order, keeps the cursor on the current hit (else the first) and shows it.
void RebuildSortedSelectionList(TDrawingState& s, TPlotSearchView& view);

// For operations that need selected plots: a beep and "先に…を選んでください。".
void ShowSelectFirstMessage(TDrawingState& s);

// Characters the remarks (and the grades and group names) may not hold: the ledger's
// files split fields at every comma and drop double quotes, so either would damage the
// plot's line there; and what CP932 cannot hold would reach every file as "?".
bool IsRefusedRemarksChar(char32_t c);
std::string WithoutRefusedRemarksChars(const std::string& text);

// The remarks field got the focus (shared by the numbering fields and the move step,
// which only mark the editing).
void BeginRemarksEdit(TDrawingState& s, const std::string& remarks);
// The remarks field was left, or Enter was pressed in it: a changed text goes into the
// current hit and to the ledger as one "変更" list. With no current hit nothing changes.
// remarksField is false for the fields that only share the handlers.
void EndRemarksEdit(TDrawingState& s, TPlotSearchView& view, bool remarksField);

}  // namespace tarvek
