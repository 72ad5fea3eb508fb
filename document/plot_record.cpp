#include "document/plot_record.h"

#include "document/drawing_state.h"
#include "document/figure_store.h"

namespace tarvek {

std::int32_t AppendPlotRecord(TDrawingState& s, double x, double y) {
    const std::int32_t i = ++s.FigureCount;
    TDateRec& r = s.Fig(i);
    r = TDateRec{};  // the slot may hold a stale copy from a compaction or an undo
    ApplyNewFigureDefaults(s, r);
    r.Kind = fkPlot;
    r.IsPlot = 1;
    const double w = s.BlockUnitWidth * 1000.0, h = s.BlockUnitHeight * 1000.0;
    r.X1 = x, r.Y1 = y;
    r.X2 = x + w, r.Y2 = y;
    r.X3 = x + w, r.Y3 = y + h;
    r.X4 = x, r.Y4 = y + h;
    UpdateFigureBounds(s, i);
    return i;
}

}  // namespace tarvek
