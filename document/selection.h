// The selection list: the ordered indices of the selected figures, rebuilt from the
// records' Selected flags by whichever operation changed them.
#pragma once

#include <cstdint>

namespace tarvek {

struct TDrawingState;

// On every page but drawing and editing only plots are ever listed.
void RebuildSelectionList(TDrawingState& s, bool show);
// Records the selection as an undoable step, clears every flag and rebuilds the list.
void ClearFigureSelection(TDrawingState& s, bool show);
// The figure index at the selection cursor, or 0 when the cursor names no listed entry
// (outside 1..SelectedCount, or beyond the stored list).
std::int32_t CursorEntry(const TDrawingState& s);
// The number of selected whole figures, for the form's three counters.
int SelectedWholeFigureCount(const TDrawingState& s);
void UpdateSelectionCount(TDrawingState& s);
void ComputeSelectionBounds(TDrawingState& s);
void ClassifySelectionKinds(TDrawingState& s);
// Selects (or clears) the topmost owner and all members of every listed member.
void SelectGroupMembers(TDrawingState& s, std::uint8_t value);
// The mark of a figure and, through owner links, of all its live members; off the
// drawing and editing pages only plots are marked.
void SetSelectedWithMembers(TDrawingState& s, std::int32_t index, std::uint8_t value);

}  // namespace tarvek
