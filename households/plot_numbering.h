// Plot numbers (組番号): the selected plots, sorted in one of eight geometric orders,
// get a group name and a zero-padded running number each.
#pragma once

#include <cstdint>
#include <string>

namespace tarvek {

struct TDrawingState;

// Sorts entries first..last (1-based, inclusive) of the selection list by X1 or Y1 with
// the exchange sort, whose order of equal keys is part of the behaviour. direction: 1
// ascending, 0 descending, anything else leaves the range as it is.
void SortSelectionByX(TDrawingState& s, std::int32_t first, std::int32_t last, std::uint8_t direction);
void SortSelectionByY(TDrawingState& s, std::int32_t first, std::int32_t last, std::uint8_t direction);
// For a list sorted by Y1 (X1): sorts every run of exactly equal Y1 (X1) by X1 (Y1).
void SortSelectionInRows(TDrawingState& s, std::int32_t count, std::uint8_t direction);
void SortSelectionInColumns(TDrawingState& s, std::int32_t count, std::uint8_t direction);

// The eight order buttons of the numbering page.
enum class TNumberingOrder {
    RowsLeftTopFirst,      // BitBtn19
    RowsRightTopFirst,     // BitBtn21
    RowsLeftBottomFirst,   // BitBtn22
    RowsRightBottomFirst,  // BitBtn23
    ColumnsLeftTopFirst,   // BitBtn18
    ColumnsRightTopFirst,  // BitBtn24
    ColumnsLeftBottomFirst,   // BitBtn25
    ColumnsRightBottomFirst,  // BitBtn26
};

// What the numbering fields hold: Edit3 (group name), Edit5 (start), Edit6 (step).
struct TNumberingFields {
    std::string GroupName;
    std::string Start;
    std::string Step;
};

// Numbers the selection list in its current order, outlines the plots until the next
// repaint and sends one "変更" list. The fields must have been checked.
void AssignPlotNumbers(TDrawingState& s, const TNumberingFields& fields);

// An order button: with nothing selected the select-first message; a start or step that
// is not an integer is named in a message box and changes nothing; otherwise the list
// is sorted and numbered. False when nothing was numbered.
bool NumberSelectedPlots(TDrawingState& s, TNumberingOrder order, const TNumberingFields& fields);

}  // namespace tarvek
