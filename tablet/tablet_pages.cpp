#include "tablet/tablet_pages.h"

#include "document/drawing_state.h"

namespace tarvek {

void FilterTabletSelectionForPage(TDrawingState& s, int page, int filter) {
    if (page == 4) return;
    for (std::int32_t k = 1; k <= s.SelectedCount && k < static_cast<std::int32_t>(s.SelectedList.size()); ++k) {
        const std::int32_t i = s.SelectedList[static_cast<std::size_t>(k)];
        if (!s.ValidIndex(i)) continue;
        TDateRec& r = s.Fig(i);
        if (!r.Selected) continue;
        if (page != 3) {
            if (!IsPlotRecord(r)) r.Selected = 0;
            continue;
        }
        if (filter == 1 && !IsPlotRecord(r)) r.Selected = 0;
        if (filter == 2 && IsPlotRecord(r)) r.Selected = 0;
        if (r.Kind == fkGroup || r.Kind == fkPolygon) {
            // The members stand just before their owner.
            for (std::int32_t j = i - 1; j >= 1 && s.Fig(j).OwnerIndex == i; --j) s.Fig(j).Selected = r.Selected;
        } else if (r.Kind == fkClosedCurve || r.Kind == fkOpenCurve) {
            for (std::int32_t j = 1; j <= s.FigureCount; ++j)
                if (!s.Fig(j).Deleted && s.Fig(j).OwnerIndex == i) s.Fig(j).Selected = r.Selected;
        }
    }
}

}  // namespace tarvek
