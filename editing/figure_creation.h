// Turning a finished drag into figure records. Every completed creation is one undoable
// step "データセットを取消す" counting the records it appended.
#pragma once

#include <cstdint>

#include "document/figure_store.h"

namespace tarvek {

struct TDrawingState;

constexpr const char* CreationStepLabel = "データセットを取消す";

// The defaults of a new record at FigureCount, from the current attributes. Kind,
// points, box and Aux1..Aux4 are the caller's.
void InitNewFigure(TDrawingState& s);

// The box of records first..last, deleted ones included, into DrawPointBuffer (right,
// left, bottom, top).
void ComputeRangeBounds(TDrawingState& s, std::int32_t first, std::int32_t last);

// Appends a parent or group record spanning DrawPointBuffer. The caller has made room.
void AppendFigure(TDrawingState& s, std::int32_t kind, bool selected);

// Commits the current tool with its end at paint-box pixel (x, y): one figure, the next
// piece of a chain (closing it on an exact hit of its first point), a dimension with its
// extension lines and groups, or a block of plots. False when nothing was added.
bool CommitDrawnFigure(TDrawingState& s, int x, int y);

// The two extension lines and the two groups of the dimension at FigureCount, and the
// step counting all five records.
bool AppendDimensionExtensionLines(TDrawingState& s);

// The right button ends a polygon or rounded-polygon chain as an open figure: a rounded
// one gets its straight last half-segment, then all pieces one parent and one step.
// Before the first piece there is nothing to end.
void EndChainOpen(TDrawingState& s);

}  // namespace tarvek
