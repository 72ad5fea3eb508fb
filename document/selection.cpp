#include "document/selection.h"

#include <algorithm>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

bool DrawingPageOpen(const TDrawingState& s) {
    const int page = s.Form->ActivePageIndex();
    return page == 3 || page == 4;
}

}  // namespace

std::int32_t CursorEntry(const TDrawingState& s) {
    const std::int32_t k = s.SelectedCursor;
    if (k < 1 || k > s.SelectedCount || static_cast<std::size_t>(k) >= s.SelectedList.size()) return 0;
    return s.SelectedList[static_cast<std::size_t>(k)];
}

void RebuildSelectionList(TDrawingState& s, bool show) {
    const bool allKinds = DrawingPageOpen(s);
    const std::int32_t marker = s.SelectedList.empty() ? 0 : s.SelectedList[0];
    s.SelectedList.assign(1, marker);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        if (r.Deleted || !r.Selected) continue;
        if (allKinds || IsPlotRecord(r)) s.SelectedList.push_back(i);
    }
    s.SelectedCount = static_cast<std::int32_t>(s.SelectedList.size()) - 1;
    if (s.SelectedCount > 0) {
        const auto hit = std::find(s.SelectedList.begin() + 1, s.SelectedList.end(), s.CurrentHitIndex);
        s.SelectedCursor = hit == s.SelectedList.end() ? -1 : static_cast<std::int32_t>(hit - s.SelectedList.begin());
        s.HasSelection = 1;
    } else {
        s.SelectedCursor = 0;
        s.HasSelection = 0;
    }
    if (show) {
        ComputeSelectionBounds(s);
        s.Form->ShowCurrentHit();
    }
}

void ClearFigureSelection(TDrawingState& s, bool show) {
    if (s.SelectedCount > 0) {
        THistoryData& d = PushHistory(s, "選択").Data;
        d.AddNumber(s.CurrentHitIndex);
        d.Append(BuildSelectionHistoryData(s));
    }
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) s.Fig(i).Selected = 0;
    if (s.Form->ActivePageIndex() != 5) {
        s.HasSelection = 0;
        s.HitCenterX = s.HitCenterY = -999.0;
        s.SelectedCursor = 0;
        s.SelectedCount = 0;
    }
    // A rotation in hand turned the selection just cleared.
    s.Tools.ForgetRotation();
    RebuildSelectionList(s, show);
}

int SelectedWholeFigureCount(const TDrawingState& s) {
    const int page = s.Form->ActivePageIndex();
    int count = 0;
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) {
        const std::int32_t i = s.SelectedList[static_cast<std::size_t>(k)];
        const bool member = GetCompoundOwner(s, i) > 0;
        if (page == 0 || page == 2) {
            if (!member) ++count;
        } else if (!member && s.Fig(i).Kind != fkGroup) {
            ++count;
        }
    }
    return count;
}

void UpdateSelectionCount(TDrawingState& s) { s.Form->SelectionCountChanged(SelectedWholeFigureCount(s)); }

void ComputeSelectionBounds(TDrawingState& s) {
    auto& b = s.DrawPointBuffer;  // right, left, bottom, top
    b = {0, 9999999999.0, 0, 9999999999.0};
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) {
        const TDateRec& r = s.Fig(s.SelectedList[static_cast<std::size_t>(k)]);
        b[0] = std::max(b[0], r.BoxX2);
        b[1] = std::min(b[1], r.BoxX1);
        b[2] = std::max(b[2], r.BoxY2);
        b[3] = std::min(b[3], r.BoxY1);
    }
}

void ClassifySelectionKinds(TDrawingState& s) {
    auto& f = s.SelectionKindFlags;  // dimensions, ellipses, lines and leaders, curves
    if (s.SelectedCount == 0) {
        f = {0, 0, 0, 0};
        return;
    }
    f = {1, 1, 1, 1};
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) {
        const std::int32_t kind = s.Fig(s.SelectedList[static_cast<std::size_t>(k)]).Kind;
        if (IsOwnerKind(kind)) continue;
        if (kind != fkDimension) f[0] = 0;
        if (kind != fkEllipse) f[1] = 0;
        if (kind != fkLine && kind != fkLeader) f[2] = 0;
        if (kind != fkCurve) f[3] = 0;
    }
}

void SetSelectedWithMembers(TDrawingState& s, std::int32_t index, std::uint8_t value) {
    // Off the drawing pages only plots are ever selected.
    const bool allKinds = DrawingPageOpen(s);
    // Iterative, with each record visited once: a cycle of owner links cannot recurse forever.
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(s.FigureCount) + 1, 0);
    std::vector<std::int32_t> todo{index};
    while (!todo.empty()) {
        const std::int32_t owner = todo.back();
        todo.pop_back();
        if (!s.ValidIndex(owner) || seen[static_cast<std::size_t>(owner)]) continue;
        seen[static_cast<std::size_t>(owner)] = 1;
        TDateRec& r = s.Fig(owner);
        if (allKinds || IsPlotRecord(r)) r.Selected = value;
        if (!IsOwnerKind(r.Kind)) continue;
        for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
            const TDateRec& m = s.Fig(i);
            if (m.OwnerIndex == owner && !m.Deleted && !seen[static_cast<std::size_t>(i)]) todo.push_back(i);
        }
    }
}

void SelectGroupMembers(TDrawingState& s, std::uint8_t value) {
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) {
        const std::int32_t r = s.SelectedList[static_cast<std::size_t>(k)];
        if (s.Fig(r).Selected != value || s.Fig(r).OwnerIndex <= 0) continue;
        const std::int32_t top = GetTopOwner(s, r);
        SetSelectedWithMembers(s, top, value);
        s.Fig(top).Selected = value;
    }
}

}  // namespace tarvek
