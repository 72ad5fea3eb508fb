#include "editing/arrange.h"

#include <algorithm>
#include <array>
#include <functional>
#include <unordered_map>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/figure_creation.h"
#include "households/plot_records.h"

namespace tarvek {

namespace {

// Members of groups and compound figures move with their owner, never by themselves.
std::vector<std::int32_t> TopLevelFigures(const TDrawingState& s) {
    std::vector<std::int32_t> list;
    for (const std::int32_t i : ListedFigures(s))
        if (s.Fig(i).OwnerIndex == 0) list.push_back(i);
    return list;
}

// One axis of a figure: its four values, its box and, for a circle, its arc points.
struct TAxis {
    bool X;
    std::array<double*, 4> Points(TDateRec& r) const {
        return X ? std::array{&r.X1, &r.X2, &r.X3, &r.X4} : std::array{&r.Y1, &r.Y2, &r.Y3, &r.Y4};
    }
    double& Low(TDateRec& r) const { return X ? r.BoxX1 : r.BoxY1; }
    double& High(TDateRec& r) const { return X ? r.BoxX2 : r.BoxY2; }
    double Low(const TDateRec& r) const { return X ? r.BoxX1 : r.BoxY1; }
    double High(const TDateRec& r) const { return X ? r.BoxX2 : r.BoxY2; }
    // Moving a circle's box without its arc points would turn its arc.
    void MoveArc(TDateRec& r, double d) const {
        if (r.Kind != fkEllipse) return;
        if (X) r.Aux1 += d, r.Aux3 += d;
        else r.Aux2 += d, r.Aux4 += d;
    }
    void MovePoints(TDateRec& r, double d) const {
        for (double* v : Points(r)) *v += d;
        MoveArc(r, d);
    }
};

void MoveMembers(TDrawingState& s, std::int32_t owner, TAxis axis, double d, bool takeBoxAgain) {
    std::unordered_map<std::int32_t, std::vector<std::int32_t>> members;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        if (!r.Deleted && r.OwnerIndex > 0 && r.OwnerIndex != i) members[r.OwnerIndex].push_back(i);
    }
    // Each record once: a cycle of owner links in a damaged file cannot loop.
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(s.FigureCount) + 1, 0);
    if (s.ValidIndex(owner)) seen[static_cast<std::size_t>(owner)] = 1;
    std::vector<std::int32_t> todo{owner};
    while (!todo.empty()) {
        const std::int32_t o = todo.back();
        todo.pop_back();
        const auto it = members.find(o);
        if (it == members.end()) continue;
        for (const std::int32_t m : it->second) {
            if (seen[static_cast<std::size_t>(m)]) continue;
            seen[static_cast<std::size_t>(m)] = 1;
            TDateRec& r = s.Fig(m);
            axis.MovePoints(r, d);
            if (takeBoxAgain) {
                UpdateFigureBounds(s, m);
            } else {
                axis.Low(r) += d;
                axis.High(r) += d;
            }
            if (IsOwnerKind(r.Kind)) todo.push_back(m);
        }
    }
}

void Spread(TDrawingState& s, TAxis axis) {
    const std::vector<std::int32_t> tops = TopLevelFigures(s);
    const auto n = static_cast<std::int32_t>(tops.size());
    if (n == 0) return;
    double widths = 0, high = -999999999999.0, low = 9999999999999.0;
    std::int32_t right = 0, left = 0;  // the first one met wins a tie
    for (const std::int32_t i : tops) {
        const TDateRec& r = s.Fig(i);
        widths += axis.High(r) - axis.Low(r);
        if (axis.High(r) > high) high = axis.High(r), right = i;
        if (axis.Low(r) < low) low = axis.Low(r), left = i;
    }
    std::vector<std::int32_t> between;
    for (const std::int32_t i : tops)
        if (i != left && i != right) between.push_back(i);
    std::stable_sort(between.begin(), between.end(),
                     [&](std::int32_t a, std::int32_t b) { return axis.Low(s.Fig(a)) < axis.Low(s.Fig(b)); });

    const auto& f = s.DrawPointBuffer;  // right, left, bottom, top
    const double frame = axis.X ? f[0] - f[1] : f[2] - f[3];
    const bool one = left == right;
    if ((!one && n < 3) || (one && n < 2)) return;
    const double gap = one ? (2 * frame - widths) / n : (frame - widths) / (n - 1);
    double edge = one ? axis.Low(s.Fig(left)) : axis.High(s.Fig(left));
    for (const std::int32_t i : between) {
        TDateRec& r = s.Fig(i);
        const double d = edge + gap - axis.Low(r);
        axis.MovePoints(r, d);
        axis.Low(r) += d;
        axis.High(r) += d;
        if (IsOwnerKind(r.Kind)) MoveMembers(s, i, axis, d, true);
        edge = axis.High(r);
    }
}

double Extreme(const std::array<double*, 4>& v, bool smallest) {
    double m = smallest ? 1.0e17 : -1.0e17;
    for (const double* p : v) m = smallest ? std::min(m, *p) : std::max(m, *p);
    return m;
}

void ShiftTopLevel(TDrawingState& s, std::int32_t i, TAxis axis, double d) {
    TDateRec& r = s.Fig(i);
    axis.MovePoints(r, d);
    axis.Low(r) += d;
    axis.High(r) += d;
    if (IsOwnerKind(r.Kind)) MoveMembers(s, i, axis, d, false);
}

// Indices the order buttons change: the current hit, the plot last shown to the ledger and
// the paste buffer follow their figures, as they do through a compaction.
void Repoint(TDrawingState& s, const std::function<std::int32_t(std::int32_t)>& map) {
    if (s.CurrentHitIndex > 0) s.CurrentHitIndex = map(s.CurrentHitIndex);
    if (s.Ledger.LastSentSelection > 0) s.Ledger.LastSentSelection = map(s.Ledger.LastSentSelection);
    for (std::int32_t& i : s.Tools.PasteBuffer)
        if (i > 0) i = map(i);
}

// Room for count more records; a compaction on the way renumbers the selection, so the
// caller takes it again afterwards.
bool RoomFor(TDrawingState& s, std::size_t count) { return ReserveFigures(s, static_cast<std::int32_t>(count)); }

}  // namespace

void SetCompoundX(TDrawingState& s, std::int32_t owner, double dx) { MoveMembers(s, owner, {true}, dx, true); }
void SetCompoundY(TDrawingState& s, std::int32_t owner, double dy) { MoveMembers(s, owner, {false}, dy, true); }
void ShiftCompoundX(TDrawingState& s, std::int32_t owner, double dx) { MoveMembers(s, owner, {true}, dx, false); }
void ShiftCompoundY(TDrawingState& s, std::int32_t owner, double dy) { MoveMembers(s, owner, {false}, dy, false); }

void FindAlignExtremeX(TDrawingState& s) { Spread(s, {true}); }
void FindAlignExtremeY(TDrawingState& s) { Spread(s, {false}); }

bool AlignSelection(TDrawingState& s, int horizontal, int vertical) {
    if (!s.HasSelection) return false;
    const std::vector<std::int32_t> entries = ListedFigures(s);
    // Counted before any step: a refused alignment leaves the history as it was.
    const std::vector<std::int32_t> tops = TopLevelFigures(s);
    if (tops.size() <= 1) {
        s.Ui.Beep();
        return false;
    }
    s.DrawingUnchanged = 0;
    Trireki& step = PushHistory(s, AlignStepLabel);
    for (const std::int32_t i : entries) AppendGeometryToHistory(step.Data, i, s.Fig(i));

    ComputeSelectionBounds(s);
    if (horizontal == haSpread) FindAlignExtremeX(s);
    if (vertical == vaSpread) FindAlignExtremeY(s);
    const auto& f = s.DrawPointBuffer;  // right, left, bottom, top
    const TAxis x{true}, y{false};
    for (const std::int32_t i : tops) {
        TDateRec& r = s.Fig(i);
        if (horizontal == haLeft) ShiftTopLevel(s, i, x, -(Extreme(x.Points(r), true) - f[1]));
        if (horizontal == haRight) ShiftTopLevel(s, i, x, f[0] - Extreme(x.Points(r), false));
        if (vertical == vaBottom) ShiftTopLevel(s, i, y, f[2] - Extreme(y.Points(r), false));
        if (vertical == vaTop) ShiftTopLevel(s, i, y, -(Extreme(y.Points(r), true) - f[3]));
    }
    RebuildSelectionList(s, true);
    return true;
}

bool BringSelectionToFront(TDrawingState& s) {
    if (ListedFigures(s).empty()) return false;
    if (!RoomFor(s, ListedFigures(s).size())) return false;
    const std::vector<std::int32_t> entries = ListedFigures(s);
    s.DrawingUnchanged = 0;
    const std::int32_t before = s.FigureCount;
    Trireki& step = PushHistory(s, ToFrontStepLabel);
    step.Data.AddNumber(before);
    std::unordered_map<std::int32_t, std::int32_t> moved;
    for (const std::int32_t i : entries) {
        const std::int32_t n = ++s.FigureCount;
        s.Fig(n) = s.Fig(i);
        s.Fig(i).Selected = 0;
        s.Fig(i).Deleted = 1;
        step.Data.AddNumber(i);
        moved[i] = n;
    }
    // Members follow a moved owner to its new place.
    for (std::int32_t n = before + 1; n <= s.FigureCount; ++n) {
        TDateRec& r = s.Fig(n);
        if (r.OwnerIndex <= 0) continue;
        const auto it = moved.find(r.OwnerIndex);
        if (it != moved.end() && IsOwnerKind(s.Fig(it->second).Kind)) r.OwnerIndex = it->second;
    }
    Repoint(s, [&](std::int32_t i) {
        const auto it = moved.find(i);
        return it == moved.end() ? i : it->second;
    });
    RebuildSelectionList(s, true);
    return true;
}

bool SendSelectionToBack(TDrawingState& s) {
    if (ListedFigures(s).empty()) return false;
    if (!RoomFor(s, ListedFigures(s).size())) return false;
    const std::vector<std::int32_t> entries = ListedFigures(s);
    const auto k = static_cast<std::int32_t>(entries.size());
    s.DrawingUnchanged = 0;
    Trireki& step = PushHistory(s, ToBackStepLabel);
    step.Data.AddNumber(k);
    std::vector<std::uint8_t> listed(static_cast<std::size_t>(s.FigureCount) + 1, 0);
    for (const std::int32_t i : entries) listed[static_cast<std::size_t>(i)] = 1;
    for (std::int32_t n = s.FigureCount; n >= 1; --n) {
        TDateRec& r = s.Fig(n + k);
        r = s.Fig(n);
        if (r.OwnerIndex > 0) r.OwnerIndex += k;
        if (!listed[static_cast<std::size_t>(n)]) continue;
        step.Data.AddNumber(n + k);
        r.Selected = 0;
        r.Deleted = 1;  // the old place of a moved figure
    }
    std::unordered_map<std::int32_t, std::int32_t> moved;  // old index -> new
    for (std::int32_t i = 1; i <= k; ++i) {
        const std::int32_t old = entries[static_cast<std::size_t>(i - 1)];
        s.Fig(i) = s.Fig(old + k);
        s.Fig(i).Selected = 1;
        s.Fig(i).Deleted = 0;
        moved[old] = i;
    }
    // The moved members' links were shifted with every other link; a moved owner is in front now.
    for (std::int32_t i = 1; i <= k; ++i) {
        if (!IsOwnerKind(s.Fig(i).Kind)) continue;
        const std::int32_t shifted = entries[static_cast<std::size_t>(i - 1)] + k;
        for (std::int32_t j = 1; j <= k; ++j)
            if (s.Fig(j).OwnerIndex == shifted) s.Fig(j).OwnerIndex = i;
    }
    s.FigureCount += k;
    Repoint(s, [&](std::int32_t i) {
        const auto it = moved.find(i);
        return it == moved.end() ? i + k : it->second;
    });
    RebuildSelectionList(s, true);
    return true;
}

bool GroupSelection(TDrawingState& s) {
    std::int32_t tops = 0;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        if (r.Selected && !r.Deleted && r.OwnerIndex == 0) ++tops;
    }
    if (tops < 2) {
        s.Ui.Beep();
        s.SetHelpLine(GroupTooFewMessage);
        return false;
    }
    ComputeSelectionBounds(s);
    if (!ReserveFigures(s, 1)) {
        s.Ui.Beep();
        return false;
    }
    s.DrawingUnchanged = 0;
    PushHistory(s, GroupStepLabel);  // no data: the group is the last record
    const std::int32_t group = s.FigureCount + 1;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (r.Selected && !r.Deleted && r.OwnerIndex == 0) r.OwnerIndex = group;
    }
    AppendFigure(s, fkGroup, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
    return true;
}

bool UngroupSelection(TDrawingState& s) {
    std::int32_t group = 0;
    const std::vector<std::int32_t> entries = ListedFigures(s);
    for (auto it = entries.rbegin(); it != entries.rend() && group == 0; ++it)
        if (s.Fig(*it).Kind == fkGroup) group = *it;
    if (group == 0) {
        s.Ui.Beep();
        s.SetHelpLine(UngroupNoneMessage);
        return false;
    }
    s.DrawingUnchanged = 0;
    Trireki& step = PushHistory(s, UngroupStepLabel);
    step.Data.AddNumber(group);
    for (std::int32_t i = 1; i < group; ++i) {
        TDateRec& r = s.Fig(i);
        if (r.OwnerIndex != group) continue;
        r.OwnerIndex = 0;
        step.Data.AddNumber(i);
    }
    s.Fig(group).Deleted = 1;
    s.Fig(group).Selected = 0;
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
    return true;
}

}  // namespace tarvek
