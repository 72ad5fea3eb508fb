#include "editing/join_curves.h"

#include <algorithm>
#include <cmath>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/figure_creation.h"

namespace tarvek {

namespace {

bool IsJoinableLine(std::int32_t kind) {
    return kind == fkLine || kind == fkDimension || kind == fkPolySegment || kind == fkLeader;
}

double Distance(double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); }

void SetStraight(TDateRec& r, double sx, double sy, double ex, double ey) {
    r.X1 = r.X2 = sx;
    r.Y1 = r.Y2 = sy;
    r.X3 = r.X4 = ex;
    r.Y3 = r.Y4 = ey;
}

// The lines' parents go: the lines themselves become the pieces of the new one.
void DissolveSelectedParents(TDrawingState& s) {
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) {
        TDateRec& r = s.Fig(s.SelectedList[static_cast<std::size_t>(k)]);
        if (!IsOwnerKind(r.Kind)) continue;
        r.Selected = 0;
        r.Deleted = 1;
    }
    RebuildSelectionList(s, false);
}

}  // namespace

bool SelectionIsConnectable(const TDrawingState& s) {
    // The lines are counted, not the whole selection: a group with one line, or groups
    // with none, would otherwise reach the join short of two lines.
    int lines = 0;
    for (std::int32_t k = 1; k <= s.SelectedCount && k < static_cast<std::int32_t>(s.SelectedList.size()); ++k) {
        const std::int32_t i = s.SelectedList[static_cast<std::size_t>(k)];
        if (!s.ValidIndex(i)) return false;
        const std::int32_t kind = s.Fig(i).Kind;
        if (IsJoinableLine(kind)) ++lines;
        else if (!IsOwnerKind(kind)) return false;
    }
    return lines >= 2;
}

std::vector<std::int32_t> ChainSelectedSegments(TDrawingState& s) {
    const std::size_t n = static_cast<std::size_t>(s.SelectedCount);
    std::vector<std::int32_t> slots(s.SelectedList.begin() + 1, s.SelectedList.begin() + 1 + static_cast<std::ptrdiff_t>(n));
    // Each line leaves the parent it belonged to, the first one included.
    for (const std::int32_t i : slots)
        if (const std::int32_t owner = s.Fig(i).OwnerIndex; s.ValidIndex(owner) && owner != i) s.Fig(owner).Deleted = 1;

    std::vector<TDateRec> path;
    std::vector<std::int32_t> from;
    std::vector<bool> used(n, false);
    path.push_back(s.Fig(slots[0]));
    from.push_back(slots[0]);
    used[0] = true;
    for (std::size_t k = 1; k < n; ++k) {
        const double ex = path.back().X3, ey = path.back().Y3;
        double best = 99999999999.0;
        std::size_t pick = n, firstFree = n;
        for (std::size_t j = 0; j < n; ++j) {
            if (used[j]) continue;
            if (firstFree == n) firstFree = j;
            const TDateRec& r = s.Fig(slots[j]);
            const double d = std::min(Distance(r.X1, r.Y1, ex, ey), Distance(r.X3, r.Y3, ex, ey));
            if (d < best) {  // strictly: the first of equally near lines wins
                best = d;
                pick = j;
            }
        }
        if (pick == n) pick = firstFree;  // farther than any drawing reaches: take the next
        TDateRec r = s.Fig(slots[pick]);
        if (Distance(r.X3, r.Y3, ex, ey) < Distance(r.X1, r.Y1, ex, ey)) SetStraight(r, r.X3, r.Y3, r.X1, r.Y1);
        path.push_back(std::move(r));
        from.push_back(slots[pick]);
        used[pick] = true;
    }
    for (std::size_t k = 0; k < n; ++k) s.Fig(slots[k]) = std::move(path[k]);
    return from;
}

bool JoinSelectedLines(TDrawingState& s, bool closed) {
    ClassifySelectionKinds(s);
    if (!SelectionIsConnectable(s)) {
        s.Ui.Beep();
        s.SetHelpLine(JoinRefusedMessage);
        return false;
    }
    // Room first: the parent, and for an open path its first straight half.
    if (!ReserveFigures(s, closed ? 1 : 2)) return false;
    DissolveSelectedParents(s);

    THistoryData& d = PushHistory(s, closed ? ClosedJoinStepLabel : OpenJoinStepLabel).Data;
    const std::size_t n = static_cast<std::size_t>(s.SelectedCount);
    std::vector<std::int32_t> slots(s.SelectedList.begin() + 1, s.SelectedList.begin() + 1 + static_cast<std::ptrdiff_t>(n));
    for (const std::int32_t i : slots) {
        const TDateRec& r = s.Fig(i);
        AppendGeometryToHistory(d, i, r);
        d.AddNumber(r.OwnerIndex);
        d.AddNumber(r.Kind);
    }
    const std::vector<std::int32_t> from = ChainSelectedSegments(s);
    for (const std::int32_t i : from) d.AddNumber(i);

    struct TPointD {
        double x, y;
    };
    std::vector<TPointD> start(n), end(n), middle(n);
    for (std::size_t k = 0; k < n; ++k) {
        const TDateRec& r = s.Fig(slots[k]);
        start[k] = {r.X1, r.Y1};
        end[k] = {r.X3, r.Y3};
        middle[k] = {r.X1 + (r.X3 - r.X1) / 2, r.Y1 + (r.Y3 - r.Y1) / 2};
    }

    std::int32_t parent = s.FigureCount + 1;
    if (!closed) {
        // The path's first half, from the first line's start to its middle.
        const std::int32_t head = ++s.FigureCount;
        s.Fig(head) = s.Fig(slots[0]);
        parent = s.FigureCount + 1;
        TDateRec& h = s.Fig(head);
        h.Kind = fkChainLine;
        SetStraight(h, start[0].x, start[0].y, middle[0].x, middle[0].y);
        h.OwnerIndex = parent;
        UpdateFigureBounds(s, head);
    }
    for (std::size_t k = 0; k < n; ++k) {
        TDateRec& r = s.Fig(slots[k]);
        r.OwnerIndex = parent;
        if (k + 1 == n && !closed) {
            r.Kind = fkChainLine;
            SetStraight(r, middle[k].x, middle[k].y, end[k].x, end[k].y);
        } else {
            const TPointD next = middle[k + 1 == n ? 0 : k + 1];
            r.Kind = fkChainCurve;
            r.X1 = middle[k].x, r.Y1 = middle[k].y;
            r.X2 = r.X3 = end[k].x;
            r.Y2 = r.Y3 = end[k].y;
            r.X4 = next.x, r.Y4 = next.y;
        }
        UpdateFigureBounds(s, slots[k]);
    }

    RebuildSelectionList(s, false);
    ComputeSelectionBounds(s);
    AppendFigure(s, closed ? fkClosedCurve : fkOpenCurve, true);
    ClassifySelectionKinds(s);
    s.CurrentTool = 0;
    // The join is a change of the drawing like any other: closing must ask to save it.
    s.DrawingUnchanged = 0;
    UpdateSelectionCount(s);
    s.Form->RepaintMap();
    return true;
}

}  // namespace tarvek
