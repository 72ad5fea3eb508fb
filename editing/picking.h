// Selecting figures on the map: by pointing (the colours the painter put on the screen
// around the press point tell which figure is there), by a rubber band round them, all
// at once, and narrowing the selection with the drawing page's filter. A member of a
// group selects its outermost group, one plot of a shared set the whole set. Every change
// records its undo steps and tells the ledger the current plot.
#pragma once

#include <cstdint>

namespace tarvek {

struct TDrawingState;
class TPlotSearchView;

// Picks the figure under MouseDownPos (shift bit 0 keeps and toggles the selection, else
// it is cleared first). Returns the index whose mark was toggled, or -1 for a miss,
// which leaves Dragging 1 so that the press opens a rubber band.
std::int32_t SelectAtPoint(TDrawingState& s, TPlotSearchView& view, unsigned shift);

// Toggles what lies wholly inside the band from MouseDownPos to MousePos (ordered in
// place); without shift bit 0 what lies outside is deselected.
void SelectInRectangle(TDrawingState& s, TPlotSearchView& view, unsigned shift);

// Ctrl+A: every live figure, whatever the filter.
void SelectAllFigures(TDrawingState& s, TPlotSearchView& view);

// The filter was set to filter (0 every figure, 1 plots only, 2 everything but plots):
// what it excludes is dropped from the selection.
void SelectionFilterClicked(TDrawingState& s, TPlotSearchView& view, int filter);

// The step "選択" before a change of the selection: the current hit and what is selected now.
void PushSelectionStep(TDrawingState& s);

// The outermost owner above index and all its members get value.
void SetRootGroupSelected(TDrawingState& s, std::int32_t index, std::uint8_t value);

}  // namespace tarvek
