#include "document/figure_store.h"

#include <algorithm>
#include <array>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "document/drawing_state.h"

namespace tarvek {

namespace {

bool IsChainTool(std::int32_t tool) { return tool == 7 || tool == 8 || tool == 9; }

}  // namespace

bool EnsureFigureCapacity(TDrawingState& s) {
    std::int32_t d = 1;
    for (std::int32_t i = 1; i <= MaxFigures; ++i)
        if (s.Fig(i).Deleted) ++d;

    // A box opens below: mouse handlers running meanwhile must not carry on the drag.
    const std::uint8_t wasDragging = s.Dragging;
    s.Dragging = 0;

    bool made = false;
    if (d > 1 && d > s.SelectedCount) {
        CompactFigures(s);
        made = true;
    } else {
        s.Ui.MessageDlg(StoreFullMessage, TMsgDlgType::mtWarning, mbOK);
    }

    EmptyHistory(s);
    s.ClickMovePending = 0;
    s.Dragging = wasDragging;
    return made;
}

bool ReserveFigures(TDrawingState& s, std::int32_t count) {
    // Counts may come from a file (block sizes): the sum must not overflow.
    const auto fits = [&] { return static_cast<std::int64_t>(s.FigureCount) + count < MaxFigures; };
    if (count > MaxFigures) {
        s.Ui.MessageDlg(StoreFullMessage, TMsgDlgType::mtWarning, mbOK);
        return false;
    }
    if (fits()) return true;
    // Compaction renumbers records: the chain in progress must follow its first piece.
    const bool chain = s.Dragging && IsChainTool(s.CurrentTool) && s.Tools.ChainStart <= s.FigureCount;
    std::int32_t deletedBefore = 0;
    if (chain)
        for (std::int32_t i = 1; i < s.Tools.ChainStart; ++i)
            if (s.Fig(i).Deleted) ++deletedBefore;
    const std::int32_t countBefore = s.FigureCount;
    if (!EnsureFigureCapacity(s)) return false;
    if (s.FigureCount != countBefore) {
        s.Tools.UndoJustRan = 1;  // the history is gone, as after an undo
        s.Tools.HandleFigure = -1;
        s.Tools.ChainStart = chain ? s.Tools.ChainStart - deletedBefore : s.FigureCount + 1;
    }
    if (fits()) return true;
    // Compaction freed some slots, not enough for the whole operation.
    s.Ui.MessageDlg(StoreFullMessage, TMsgDlgType::mtWarning, mbOK);
    return false;
}

bool ReservePlotIds(TDrawingState& s, std::int64_t count) {
    if (count <= std::int64_t{std::numeric_limits<std::int32_t>::max()} - s.MaxPlotId) return true;
    s.Ui.MessageDlg(StoreFullMessage, TMsgDlgType::mtWarning, mbOK);
    return false;
}

std::vector<std::int32_t> CompactRecordList(std::vector<TDateRec>& records, std::int32_t& count) {
    // One pass with an old-to-new map: linear, and every kind of link is re-pointed.
    std::vector<std::int32_t> newIndex(static_cast<std::size_t>(count) + 1, 0);
    std::int32_t next = 0;
    auto at = [&](std::int32_t i) -> TDateRec& { return records[static_cast<std::size_t>(i)]; };
    for (std::int32_t i = 1; i <= count; ++i) {
        if (at(i).Deleted) continue;
        ++next;
        newIndex[static_cast<std::size_t>(i)] = next;
        if (next != i) at(next) = std::move(at(i));
    }
    for (std::int32_t i = 1; i <= next; ++i) {
        TDateRec& r = at(i);
        if (r.OwnerIndex > 0)  // removed owner: 0
            r.OwnerIndex = r.OwnerIndex <= count ? newIndex[static_cast<std::size_t>(r.OwnerIndex)] : 0;
    }
    // Slots above the new count are never read; clear them so moved-from strings do not linger.
    for (std::int32_t i = next + 1; i <= count; ++i) at(i) = TDateRec{};
    count = next;
    return newIndex;
}

void CompactFigures(TDrawingState& s) {
    const std::int32_t oldCount = s.FigureCount;
    std::int32_t next = s.FigureCount;
    const std::vector<std::int32_t> newIndex = CompactRecordList(s.Figures, next);
    const auto remap = [&](std::int32_t old) -> std::int32_t {
        return old >= 1 && old <= oldCount ? newIndex[static_cast<std::size_t>(old)] : 0;
    };

    std::vector<std::int32_t> kept{s.SelectedList.empty() ? 0 : s.SelectedList[0]};
    for (std::size_t k = 1; k < s.SelectedList.size() && k <= static_cast<std::size_t>(s.SelectedCount); ++k)
        if (std::int32_t n = remap(s.SelectedList[k]); n > 0) kept.push_back(n);
    s.SelectedList = std::move(kept);
    s.SelectedCount = static_cast<std::int32_t>(s.SelectedList.size()) - 1;
    if (s.CurrentHitIndex > 0) {
        const std::int32_t n = remap(s.CurrentHitIndex);
        s.CurrentHitIndex = n > 0 ? n : -1;
    }
    // The ledger was told a plot, not a slot: another plot moving into the slot must
    // still be announced.
    if (s.Ledger.LastSentSelection > 0) {
        const std::int32_t n = remap(s.Ledger.LastSentSelection);
        s.Ledger.LastSentSelection = n > 0 ? n : -1;
    }
    // The paste buffer names records too; a cut figure compacted away is gone from it.
    std::vector<std::int32_t> buffered;
    for (const std::int32_t old : s.Tools.PasteBuffer)
        if (std::int32_t n = remap(old); n > 0) buffered.push_back(n);
    s.Tools.PasteBuffer = std::move(buffered);
    s.Tools.ClipboardMode = static_cast<std::int32_t>(s.Tools.PasteBuffer.size());
    if (s.SelectedCount == 0) {
        s.SelectedCursor = 0;
        s.HasSelection = 0;
    } else {
        s.SelectedCursor = -1;
        for (std::int32_t k = 1; k <= s.SelectedCount; ++k)
            if (s.SelectedList[static_cast<std::size_t>(k)] == s.CurrentHitIndex) s.SelectedCursor = k;
    }

    s.FigureCount = next;
    s.HistoryCount = 0;
    PushHistory(s, HistoryStopLabel);
}

void UpdateFigureBounds(TDrawingState& s, std::int32_t index) {
    TDateRec& r = s.Fig(index);
    r.BoxX1 = std::min({r.X1, r.X2, r.X3, r.X4});
    r.BoxY1 = std::min({r.Y1, r.Y2, r.Y3, r.Y4});
    r.BoxX2 = std::max({r.X1, r.X2, r.X3, r.X4});
    r.BoxY2 = std::max({r.Y1, r.Y2, r.Y3, r.Y4});
}

namespace {

template <typename T>
void NormalizeFour(std::array<std::pair<T, T>, 4>& p) {
    std::size_t k = p[0].first < p[1].first ? 0 : 1;  // equal x chooses point 2
    if (p[2].first < p[k].first) k = 2;
    if (p[3].first < p[k].first) k = 3;
    std::rotate(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(k), p.end());
    if (p[3].second < p[1].second) std::swap(p[1], p[3]);
    if (p[0].first == p[1].first && p[0].second > p[1].second)
        std::rotate(p.begin(), p.begin() + 1, p.end());
}

}  // namespace

void NormalizeCorners(TDrawingState& s, std::int32_t index) {
    if (GetCompoundOwner(s, index) > 0) return;
    TDateRec& r = s.Fig(index);
    std::array<std::pair<double, double>, 4> p{{{r.X1, r.Y1}, {r.X2, r.Y2}, {r.X3, r.Y3}, {r.X4, r.Y4}}};
    NormalizeFour(p);
    std::tie(r.X1, r.Y1) = p[0];
    std::tie(r.X2, r.Y2) = p[1];
    std::tie(r.X3, r.Y3) = p[2];
    std::tie(r.X4, r.Y4) = p[3];
}

void NormalizeScreenCorners(int& x1, int& y1, int& x2, int& y2, int& x3, int& y3, int& x4,
                            int& y4) {
    std::array<std::pair<int, int>, 4> p{{{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}}};
    NormalizeFour(p);
    std::tie(x1, y1) = p[0];
    std::tie(x2, y2) = p[1];
    std::tie(x3, y3) = p[2];
    std::tie(x4, y4) = p[3];
}

std::int32_t GetCompoundOwner(const TDrawingState& s, std::int32_t index) {
    if (index < 1 || index > MaxFigures) return -1;
    const TDateRec& r = s.Fig(index);
    switch (r.Kind) {
        case fkChainLine:
        case fkChainCurve:
        case fkPolySegment:
        case fkRoundPiece:
        case fkPolygonEdge:
        case fkRoundPolygonPiece:
            return r.OwnerIndex;
        case fkLine:
            if (index >= 2) {
                const std::int32_t prev = s.Fig(index - 1).Kind;
                if (prev == fkChainLine || prev == fkRoundPiece) return r.OwnerIndex;
            }
            return -1;
        default:
            return -1;
    }
}

std::int32_t GetTopOwner(const TDrawingState& s, std::int32_t index) {
    std::int32_t top = index;
    for (std::int32_t steps = 0; steps <= s.FigureCount; ++steps) {
        const std::int32_t owner = s.Fig(top).OwnerIndex;
        if (!s.ValidIndex(owner) || owner == top) return top;
        top = owner;
    }
    return top;
}

void ValidateOwnerLinks(TDrawingState& s) {
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (r.OwnerIndex == 0) continue;
        if (!s.ValidIndex(r.OwnerIndex) || r.OwnerIndex == i || !IsOwnerKind(s.Fig(r.OwnerIndex).Kind))
            r.OwnerIndex = 0;
    }
}

void ClearHouseholdNames(TDateRec& r) {
    r.HouseName = "空";
    r.HeadName.clear();
    r.Phone.clear();
    r.DistrictName.clear();
    r.Address1.clear();
    r.Address2.clear();
    r.PlotRemarks.clear();
}

void CopyHouseholdNamesFrom(TDateRec& to, const TDateRec& from) {
    to.HouseName = from.HouseName;
    to.HeadName = from.HeadName;
    to.Phone = from.Phone;
    to.DistrictName = from.DistrictName;
    to.Address1 = from.Address1;
    to.Address2 = from.Address2;
}

std::array<std::string*, 8> HouseholdTextFields(TDateRec& r) {
    return {&r.HouseName, &r.HeadName, &r.Phone, &r.DistrictName, &r.Address1, &r.Address2, &r.PlotRemarks, &r.Grade};
}

std::array<const std::string*, 8> HouseholdTextFields(const TDateRec& r) {
    return {&r.HouseName, &r.HeadName, &r.Phone, &r.DistrictName, &r.Address1, &r.Address2, &r.PlotRemarks, &r.Grade};
}

void ApplyNewFigureDefaults(const TDrawingState& s, TDateRec& r) {
    r.PenColor = s.CurPenColor;
    r.BrushColor = s.CurBrushColor;
    r.PenWidth = s.CurPenWidth;
    r.PenStyle = s.CurPenStyle;
    r.BrushStyle = s.CurBrushStyle;
    r.FontName = s.CurFontName;
    r.Selected = 0;
    r.Deleted = 0;
    r.Text = "0";
    r.PlotNumber = "000000";
    ClearHouseholdNames(r);
    r.Grade.clear();
    r.DrawingName = s.CurrentDrawingName;
    r.PlotId = r.SourceIndex = r.DistrictId = r.ShareSetId = r.OwnerIndex = 0;
    r.SetAside = r.IsPlot = 0;
}

}  // namespace tarvek
