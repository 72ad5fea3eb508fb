// Turning figures into plots and back (editing page). Households can only be assigned
// to plots: a closed figure becomes one with a new plot key; a plot turned back loses
// its household and ledger fields, and its set-aside co-owner copies are removed.
#pragma once

#include <cstdint>

namespace tarvek {

struct TDrawingState;

// The plot and household fields of a figure that is no plot.
void ResetHouseholdFields(TDrawingState& s, std::int32_t index);

// "図形を…": the selected closed figures become plots ("追加" to the ledger). Returns
// the number converted.
std::int32_t ConvertSelectionToPlots(TDrawingState& s);
// "…を図形": the selected plots become plain figures after the question when any has a
// household ("削除" to the ledger). Returns the number turned back.
std::int32_t ConvertSelectionToFigures(TDrawingState& s);

}  // namespace tarvek
