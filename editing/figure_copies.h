// Copies of figures made inside the store (Ctrl at the end of a move or transform, and
// the copies of rotation and paste), and the frames of groups and compound figures
// taken again from their members after an edit.
#pragma once

#include <cstdint>
#include <vector>

namespace tarvek {

struct TDrawingState;

// The entries of the selection list a copy takes, in list order: every one but the
// set-aside copies of shared plots (they are never painted).
std::vector<std::int32_t> CopyableSelection(const TDrawingState& s);

// Makes room for a copy of every source, records and plot keys, before anything is
// changed (see ReserveFigures and ReservePlotIds); false when the user was told there is
// none. A compaction on the way renumbers the store: take the sources again afterwards.
bool ReserveFigureCopies(TDrawingState& s, const std::vector<std::int32_t>& sources);

// Appends a full copy of record source after the last record; the caller has made room
// (ReserveFigureCopies) for every copy of the operation first. Kinds up to 3001 lose their
// plot number. A plot copy becomes an empty plot of this drawing with a new PlotId (a
// compound member takes the id its parent, which follows it, will get), no share set and
// no household. Until FinishFigureCopies the copy's SourceIndex names its source.
// Returns the copy's index.
std::int32_t AppendFigureCopy(TDrawingState& s, std::int32_t source);

// After the copies first..FigureCount: a member whose owner was copied too follows the
// copy (members of an owner left behind keep it); every copy is selected and its
// SourceIndex cleared.
void FinishFigureCopies(TDrawingState& s, std::int32_t first);

// The points and box of every listed group or compound parent become the frame of its
// listed members; DrawPointBuffer is left holding the last such frame. A parent without
// a listed member keeps its shape.
void ComputeGroupBounds(TDrawingState& s);

}  // namespace tarvek
