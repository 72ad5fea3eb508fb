// The tablet's display scaling: the full editor's paint box fitted to the tablet's
// screen, multiplied into the figures when the form is first shown and divided out
// again right before the drawing is written.
#pragma once

#include <cstdint>

namespace tarvek {

struct TDrawingState;
struct TDateRec;

// base / kept to the nearest tenth (halves to even), never below 0.1: a paint box kept at
// twenty times the base or more must not collapse the map. A kept size of 0 or less
// gives no ratio and leaves the axis at 1.0.
double DisplayScaleFactor(std::int32_t base, std::int32_t kept);

// Multiplies the scaled fields of one record: the points and the box, and the auxiliary
// values of every kind but text (whose Aux1 is its writing direction).
void ScaleFigure(TDateRec& r, double fx, double fy);

// Fixes both factors from ViewBaseWidth/Height against the kept paint-box size and
// scales every record 1..FigureCount, deleted or not.
void ApplyDisplayScale(TDrawingState& s);

// Divides the scaling out of every record (only while the figures stand scaled, so never
// twice), then drops the deleted records as compaction does, leaving no history step.
void RescaleFigures(TDrawingState& s);

// The view lines a new drawing keeps on the tablet: what the full editor gives a new
// drawing (window 100, 200, 800 x 600; zoom 1; no scroll), with the tablet's base as
// its paint box, so that both factors are 1.0.
void KeepNewDrawingView(TDrawingState& s);

}  // namespace tarvek
