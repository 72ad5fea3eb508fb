// What the tablet does with a selection: its summary on the first page, which lists the
// copies of a shared plot with their heads over the map instead of counting, the tap on
// one of those rows, and Ctrl+A, which takes every live figure and says nothing.
#pragma once

#include <string>

namespace tarvek {

struct TDrawingState;
class TLedgerView;
class TPlotSearchView;

// On the first page only. With copies of more than one shared plot selected, the copies
// of the set in hand (the set of the entry at the cursor) are listed, one row each, and
// the copy that shows its name is the plot in hand; a single shared copy in the selection
// is shown through the first entry. Whatever plot's fields are shown becomes the entry at
// the cursor and the current hit, so that the remarks and the household button go to the
// plot the user sees.
void ShowTabletSelectionSummary(TDrawingState& s, TPlotSearchView& view);

// A tap on a row of the co-owner list: positionCell names the copy's position in the
// selection list. A position that names no copy of the set in hand does nothing.
void SelectTabletCoOwner(TDrawingState& s, TPlotSearchView& view, const std::string& positionCell);

// Ctrl+A: every live figure, whatever the page and the selection filter, and the plot at
// the cursor to the ledger. Nothing is said, not even for an empty map.
void SelectAllTabletFigures(TDrawingState& s, TLedgerView& ledger);

}  // namespace tarvek
