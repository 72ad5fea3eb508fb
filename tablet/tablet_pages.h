// What the tablet's page switch does to the selection: the pages but drawing and
// editing keep only plots, the drawing page obeys the selection filter and hands an
// owner's mark on to the records it owns.
#pragma once

namespace tarvek {

struct TDrawingState;

// filter: the item of the selection filter (0 all, 1 plots only, 2 all but plots).
void FilterTabletSelectionForPage(TDrawingState& s, int page, int filter);

}  // namespace tarvek
