// A plot record as the block tool places it and as the hand-over merge adds the plots the
// ledger knows and the drawing lacks: one shape and one set of defaults for both.
#pragma once

#include <cstdint>

namespace tarvek {

struct TDrawingState;

// Appends a plot (kind 11000) of BlockUnitWidth x BlockUnitHeight with its top-left
// corner at (x, y), drawing units: the current attributes, no household ("0",
// "000000", "空"), no plot id yet (the caller's), not selected. The caller has made room.
std::int32_t AppendPlotRecord(TDrawingState& s, double x, double y);

}  // namespace tarvek
