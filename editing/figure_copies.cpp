#include "editing/figure_copies.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "households/plot_records.h"

namespace tarvek {

std::vector<std::int32_t> CopyableSelection(const TDrawingState& s) {
    std::vector<std::int32_t> sources;
    for (const std::int32_t i : ListedFigures(s))
        if (!s.Fig(i).SetAside) sources.push_back(i);
    return sources;
}

bool ReserveFigureCopies(TDrawingState& s, const std::vector<std::int32_t>& sources) {
    // The keys AppendFigureCopy hands out, copy by copy: a member takes the next key
    // without using it up, its parent then uses it.
    std::int64_t used = 0, highest = 0;
    for (const std::int32_t i : sources) {
        if (!s.ValidIndex(i) || !IsKeyedPlot(s.Fig(i))) continue;
        highest = std::max(highest, used + 1);
        if (GetCompoundOwner(s, i) <= 0) ++used;
    }
    return ReservePlotIds(s, highest) && ReserveFigures(s, static_cast<std::int32_t>(sources.size()));
}

std::int32_t AppendFigureCopy(TDrawingState& s, std::int32_t source) {
    const std::int32_t b = ++s.FigureCount;
    s.Fig(b) = s.Fig(source);
    TDateRec& r = s.Fig(b);
    if (r.Kind <= 3001) r.PlotNumber = "000000";
    // A copy of an old part's kind 11 stays a figure without a key, as its source is.
    if (IsKeyedPlot(r)) {
        r.PlotId = s.MaxPlotId + 1;
        if (GetCompoundOwner(s, source) <= 0) ++s.MaxPlotId;
        r.DrawingName = s.CurrentDrawingName;
        r.Text = "0";
        r.PlotNumber = "000000";
        ClearHouseholdNames(r);
        r.ShareSetId = 0;
        r.SetAside = 0;
        s.LedgerUnchanged = 0;
    }
    r.SourceIndex = source;
    return b;
}

void FinishFigureCopies(TDrawingState& s, std::int32_t first) {
    std::unordered_map<std::int32_t, std::int32_t> copyOf;
    for (std::int32_t i = first; i <= s.FigureCount; ++i) copyOf.emplace(s.Fig(i).SourceIndex, i);
    for (std::int32_t i = first; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (r.OwnerIndex > 0)
            if (const auto it = copyOf.find(r.OwnerIndex); it != copyOf.end()) r.OwnerIndex = it->second;
    }
    for (std::int32_t i = first; i <= s.FigureCount; ++i) {
        s.Fig(i).Selected = 1;
        s.Fig(i).SourceIndex = 0;
    }
}

void ComputeGroupBounds(TDrawingState& s) {
    const std::vector<std::int32_t> listed = ListedFigures(s);
    for (const std::int32_t g : listed) {
        if (!IsOwnerKind(s.Fig(g).Kind)) continue;
        std::array<double, 4> f{0, 9999999999.0, 0, 9999999999.0};  // right, left, bottom, top
        bool any = false;
        for (const std::int32_t m : listed) {
            if (m == g || s.Fig(m).OwnerIndex != g) continue;
            const TDateRec& r = s.Fig(m);
            f = {std::max(f[0], r.BoxX2), std::min(f[1], r.BoxX1), std::max(f[2], r.BoxY2), std::min(f[3], r.BoxY1)};
            any = true;
        }
        // Without members there is no frame to take: the start values are no shape.
        if (!any) continue;
        TDateRec& r = s.Fig(g);
        r.X1 = r.X4 = r.BoxX1 = f[1];
        r.X2 = r.X3 = r.BoxX2 = f[0];
        r.Y1 = r.Y2 = r.BoxY1 = f[3];
        r.Y3 = r.Y4 = r.BoxY2 = f[2];
        s.DrawPointBuffer = f;
    }
}

}  // namespace tarvek
