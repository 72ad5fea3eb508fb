#include "editing/picking.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "households/ledger_exchange.h"
#include "households/plot_info.h"
#include "households/plot_search_state.h"
#include "view/painter.h"

namespace tarvek {

namespace {

constexpr TColor Black = 0x000000;
constexpr int ProbeSize = 10;

bool DrawingPage(int page) { return page == 3 || page == 4; }

// The pixels around the press point compared with the colours each candidate was
// painted in. Outlines are compared as the map showed them at the press: lime for
// what was selected then, even when the press has just cleared the selection.
class TPicker {
public:
    TPicker(TDrawingState& s, std::vector<std::uint8_t> lit)
        : S(s), View(ToolView(s)), X(s.MouseDownPos.x), Y(s.MouseDownPos.y), Half(s.MarkerHalfSize),
          Lit(std::move(lit)) {
        // left < X needs ToPixel(BoxX1) < X + Half, X < right needs ToPixel(BoxX2) > X - Half.
        XBeyond = (double(X) + Half) * 1000.0, XShort = (double(X) - Half) * 1000.0;
        YBeyond = (double(Y) + Half) * 1000.0, YShort = (double(Y) - Half) * 1000.0;
    }

    // The press lies strictly inside the figure's box grown by the marker size.
    bool InBox(const TDateRec& r) const {
        if (FarFrom(r)) return false;
        const int left = ToPixel(S, r.BoxX1) - Half, top = ToPixel(S, r.BoxY1) - Half;
        const int right = ToPixel(S, r.BoxX2) + Half, bottom = ToPixel(S, r.BoxY2) + Half;
        return left < X && X < right && top < Y && Y < bottom;
    }
    // True only where InBox is false, found without a division: a pick walks all 30000
    // records up to four times. ToPixel(v) is round(Zoom * v / 1000): at least n where
    // Zoom * v >= n * 1000, at most n where Zoom * v <= n * 1000, while it fits its int32.
    bool FarFrom(const TDateRec& r) const {
        const double z = S.Zoom;
        const auto after = [z](double v, double limit) { return std::fabs(z * v) < 1e12 && z * v >= limit; };
        const auto before = [z](double v, double limit) { return std::fabs(z * v) < 1e12 && z * v <= limit; };
        return after(r.BoxX1, XBeyond) || before(r.BoxX2, XShort) || after(r.BoxY1, YBeyond) ||
               before(r.BoxY2, YShort);
    }
    bool Probe(TColor colour) const {
        for (int px = X - Half + 1; px <= X - Half + ProbeSize; ++px)
            for (int py = Y - Half + 1; py <= Y - Half + ProbeSize; ++py)
                if (View.MapPixel(px, py) == colour) return true;
        return false;
    }
    TColor Outline(std::int32_t i) const {
        return Lit[static_cast<std::size_t>(i)] ? SelectedColor : S.Fig(i).PenColor;
    }
    // A household's name is black; a shared plot's mark aqua.
    bool ProbeHousehold(const TDateRec& r) const {
        return PlotHousehold(r) > 0 && (Probe(Black) || Probe(ShareMarkColor));
    }
    bool ProbeFill(const TDateRec& r) const { return r.BrushStyle != 1 && Probe(r.BrushColor); }

private:
    TDrawingState& S;
    const TToolView& View;
    int X, Y, Half;
    std::vector<std::uint8_t> Lit;
    double XBeyond = 0, XShort = 0, YBeyond = 0, YShort = 0;
};

std::vector<std::uint8_t> SelectedFlags(const TDrawingState& s) {
    std::vector<std::uint8_t> lit(static_cast<std::size_t>(s.FigureCount) + 1, 0);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) lit[static_cast<std::size_t>(i)] = s.Fig(i).Selected;
    return lit;
}

std::int32_t FindUnderPress(TDrawingState& s, const TPicker& pick, int page, int filter) {
    auto skip = [&](const TDateRec& r) { return r.Deleted || IsOwnerKind(r.Kind) || !pick.InBox(r); };
    std::int32_t found = -1;
    // Texts overlap freely: of those under the press the lowest one wins.
    if (DrawingPage(page) && (filter == 0 || filter == 2))
        for (std::int32_t i = s.FigureCount; i >= 1; --i) {
            const TDateRec& r = s.Fig(i);
            if (r.Kind == fkText && !skip(r) && pick.Probe(pick.Outline(i))) found = i;
        }
    if (found < 0 && !(page == 3 && filter == 2))
        for (std::int32_t i = s.FigureCount; i >= 1 && found < 0; --i) {
            const TDateRec& r = s.Fig(i);
            if (!IsPlotRecord(r) || skip(r)) continue;
            if (pick.Probe(pick.Outline(i)) || pick.ProbeHousehold(r) || pick.ProbeFill(r)) found = i;
        }
    if (found < 0 && DrawingPage(page) && !(page == 3 && filter == 1))
        for (std::int32_t i = s.FigureCount; i >= 1 && found < 0; --i) {
            const TDateRec& r = s.Fig(i);
            if (IsPlotRecord(r) || skip(r)) continue;
            if (pick.Probe(pick.Outline(i)) || pick.ProbeFill(r)) found = i;
        }
    if (found >= 0) return found;
    // Compound figures are painted by their parent: a hit on it stands for its last member.
    for (std::int32_t i = s.FigureCount; i >= 1; --i) {
        const TDateRec& r = s.Fig(i);
        if (r.Deleted || !IsCompoundParent(r)) continue;
        const bool plot = IsPlotRecord(r);
        if (!DrawingPage(page) && !plot) continue;
        if (page == 3 && ((filter == 2 && plot) || (filter == 1 && !plot))) continue;
        if (!pick.InBox(r)) continue;
        if (!pick.Probe(r.BrushColor) && !pick.ProbeHousehold(r)) continue;
        for (std::int32_t j = i - 1; j >= 1; --j) {
            const TDateRec& m = s.Fig(j);
            if (!m.Deleted && m.OwnerIndex == i && !IsOwnerKind(m.Kind)) return j;
        }
        return i;
    }
    return -1;
}

// What is selected now, for the step that takes the change back.
void PushDeselectStep(TDrawingState& s) {
    THistoryData d = BuildSelectionHistoryData(s);
    if (d.Empty()) return;
    PushHistory(s, "選択解除").Data = std::move(d);
}

void CursorOnCurrentHit(TDrawingState& s) {
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k)
        if (s.SelectedList[static_cast<std::size_t>(k)] == s.CurrentHitIndex) s.SelectedCursor = k;
}

void RebuildForPage(TDrawingState& s, TPlotSearchView& view, int page) {
    if (page >= 0 && page <= 2) RebuildSortedSelectionList(s, view);
    else RebuildSelectionList(s, true);
}

std::int32_t ClampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void PushSelectionStep(TDrawingState& s) {
    THistoryData d;
    d.AddNumber(s.CurrentHitIndex);
    d.Append(BuildSelectionHistoryData(s));
    PushHistory(s, "選択").Data = std::move(d);
}

void SetRootGroupSelected(TDrawingState& s, std::int32_t index, std::uint8_t value) {
    const std::int32_t root = GetTopOwner(s, index);
    SetSelectedWithMembers(s, root, value);
    s.Fig(root).Selected = value;
}

std::int32_t SelectAtPoint(TDrawingState& s, TPlotSearchView& view, unsigned shift) {
    const int page = s.Form->ActivePageIndex();
    const int filter = ToolView(s).SelectionFilter();
    const TPicker pick(s, SelectedFlags(s));
    if (!(shift & ToolShiftKey)) ClearFigureSelection(s, false);

    const std::int32_t found = FindUnderPress(s, pick, page, filter);
    if (found > 0) {
        TDateRec& r = s.Fig(found);
        const std::uint8_t v = r.Selected ? 0 : 1;
        r.Selected = v;
        if (r.ShareSetId > 0)
            for (std::int32_t i = 1; i <= s.FigureCount; ++i)
                if (!s.Fig(i).Deleted && s.Fig(i).ShareSetId == r.ShareSetId) s.Fig(i).Selected = v;
        if (DrawingPage(page)) {
            if (r.OwnerIndex > 0) SetRootGroupSelected(s, found, v);
        } else if (const std::int32_t owner = GetCompoundOwner(s, found); s.ValidIndex(owner)) {
            s.Fig(owner).Selected = v;
            for (std::int32_t i = 1; i <= s.FigureCount; ++i)
                if (!s.Fig(i).Deleted && s.Fig(i).OwnerIndex == owner) s.Fig(i).Selected = v;
        }
        s.Dragging = 0;
    } else {
        s.Dragging = 1;
    }

    RebuildForPage(s, view, page);
    PushDeselectStep(s);
    SummariseSelection(s, view);
    ClassifySelectionKinds(s);
    UpdateSelectionCount(s);
    if (found > 0 && IsPlotRecord(s.Fig(found))) s.LedgerTargetId = ClampToInt32(PlotHousehold(s.Fig(found)));
    if (s.SelectedCount > 0) {
        CursorOnCurrentHit(s);
        SendSelectionToLedger(s, view.LedgerLink());
    }
    return found;
}

void SelectInRectangle(TDrawingState& s, TPlotSearchView& view, unsigned shift) {
    const int page = s.Form->ActivePageIndex();
    const int filter = ToolView(s).SelectionFilter();
    const bool keep = (shift & ToolShiftKey) != 0;
    auto& a = s.MouseDownPos;
    auto& b = s.MousePos;
    if (a.x > b.x) std::swap(a.x, b.x);
    if (a.y > b.y) std::swap(a.y, b.y);
    if (keep) PushSelectionStep(s);

    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (r.Deleted || IsOwnerKind(r.Kind)) continue;
        const bool plot = IsPlotRecord(r);
        if (!plot && !DrawingPage(page)) continue;
        if (page == 3 && ((filter == 2 && plot) || (filter == 1 && !plot))) continue;
        // A member counts by its compound figure; a curve by its end points alone.
        double x1 = r.BoxX1, y1 = r.BoxY1, x2 = r.BoxX2, y2 = r.BoxY2;
        if (const std::int32_t h = GetCompoundOwner(s, i); s.ValidIndex(h)) {
            const TDateRec& o = s.Fig(h);
            x1 = o.BoxX1, y1 = o.BoxY1, x2 = o.BoxX2, y2 = o.BoxY2;
        } else if (r.Kind == fkCurve) {
            x1 = std::min(r.X1, r.X4), x2 = std::max(r.X1, r.X4);
            y1 = std::min(r.Y1, r.Y4), y2 = std::max(r.Y1, r.Y4);
        }
        const int px1 = ToPixel(s, x1), px2 = ToPixel(s, x2), py1 = ToPixel(s, y1), py2 = ToPixel(s, y2);
        const int left = std::min(px1, px2), right = std::max(px1, px2);
        const int top = std::min(py1, py2), bottom = std::max(py1, py2);
        const bool inside = left >= a.x && right <= b.x && top >= a.y && bottom <= b.y;
        if (inside) {
            const std::uint8_t v = r.Selected ? 0 : 1;
            r.Selected = v;
            if (s.ValidIndex(r.OwnerIndex)) s.Fig(r.OwnerIndex).Selected = v;
        } else if (!keep) {
            r.Selected = 0;
        }
    }

    RebuildSelectionList(s, false);
    if (DrawingPage(page)) {
        SelectGroupMembers(s, 1);
        RebuildSelectionList(s, false);
    }
    RebuildForPage(s, view, page);
    PushDeselectStep(s);
    SummariseSelection(s, view);
    s.LedgerTargetId = 0;
    ClassifySelectionKinds(s);
    UpdateSelectionCount(s);
    if (s.SelectedCount > 0) {
        CursorOnCurrentHit(s);
        SendSelectionToLedger(s, view.LedgerLink());
    } else if (filter == 2 && s.Edition->ExplainsEmptySelection()) {
        s.Ui.Beep();
        s.SetHelpLine("「" + s.PlotKindWord + "以外の選択」にチェックされています。");
    }
}

void SelectAllFigures(TDrawingState& s, TPlotSearchView& view) {
    PushSelectionStep(s);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i)
        if (!s.Fig(i).Deleted) s.Fig(i).Selected = 1;
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
    PushDeselectStep(s);
    SendSelectionToLedger(s, view.LedgerLink());
    const int filter = ToolView(s).SelectionFilter();
    if (s.SelectedCount == 0) {
        s.SetHelpLine("図形がありません。");
    } else if (s.Form->ActivePageIndex() == 3 && (filter == 1 || filter == 2)) {
        s.SetHelpLine("選択が" + s.PlotKindWord + (filter == 1 ? "のみ" : "以外") +
                      "に設定されていますが全てを選択させました。");
    }
}

void SelectionFilterClicked(TDrawingState& s, TPlotSearchView& view, int filter) {
    if (s.HistoryRecording) PushSelectionStep(s);
    const std::vector<std::int32_t> listed(s.SelectedList.begin() + 1,
                                           s.SelectedList.begin() + 1 + std::min<std::ptrdiff_t>(
                                               s.SelectedCount, std::ptrdiff_t(s.SelectedList.size()) - 1));
    for (const std::int32_t i : listed) {
        if (!s.ValidIndex(i)) continue;
        TDateRec& r = s.Fig(i);
        const bool plot = IsPlotRecord(r);
        if ((filter == 1 && !plot) || (filter == 2 && plot)) r.Selected = 0;
    }
    for (const std::int32_t i : listed) {
        if (!s.ValidIndex(i) || !s.Fig(i).Selected || s.Fig(i).OwnerIndex <= 0) continue;
        SetRootGroupSelected(s, i, 1);
    }
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
    SendSelectionToLedger(s, view.LedgerLink());
    if (s.HistoryRecording) {
        PushHistory(s, "選択の範囲を戻す").Data.AddNumber(s.Tools.PreviousSelectionFilter);
    }
    s.Tools.PreviousSelectionFilter = filter;
}

}  // namespace tarvek
