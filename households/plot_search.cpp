#include "households/plot_search.h"

#include <algorithm>
#include <limits>

#include "platform/textfile.h"
#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_info.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

std::int32_t EntryAt(const TDrawingState& s, std::int32_t k) { return s.SelectedList[static_cast<std::size_t>(k)]; }

bool CursorOnEntry(const TDrawingState& s) { return CursorEntry(s) != 0; }

// A compound plot is set aside with all its pieces, or none of them shows right.
void SetAsideWithPieces(TDrawingState& s, std::int32_t index, std::uint8_t value) {
    s.Fig(index).SetAside = value;
    if (!IsCompoundParent(s.Fig(index))) return;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (i != index && !r.Deleted && r.OwnerIndex == index) r.SetAside = value;
    }
}

// Of the overlapping copies of a shared plot only the hit shows its household.
void BringHitToFront(TDrawingState& s, std::int32_t hit) {
    const std::int32_t set = s.Fig(hit).ShareSetId;
    if (s.Fig(hit).SetAside && set > 0)
        for (std::int32_t k = 1; k <= s.SelectedCount; ++k)
            if (s.Fig(EntryAt(s, k)).ShareSetId == set) SetAsideWithPieces(s, EntryAt(s, k), 1);
    SetAsideWithPieces(s, hit, 0);
}

void PushHitStep(TDrawingState& s) {
    const std::int32_t cursor = s.SelectedCursor;
    PushHistory(s, HitStepLabel).Data.AddNumber(cursor);
}

void StepSearchHit(TDrawingState& s, TPlotSearchView& view, bool forward) {
    if (s.SelectedCount < 1) {
        s.Ui.Beep();
        s.Form->FocusSink();
        return;
    }
    // A cursor that names no entry (the current hit left the list) has no set to keep.
    const bool onEntry = CursorOnEntry(s);
    const std::int64_t before = onEntry ? s.Fig(EntryAt(s, s.SelectedCursor)).ShareSetId
                                        : std::numeric_limits<std::int64_t>::min();
    PushHitStep(s);
    if (forward)
        s.SelectedCursor = !onEntry || s.SelectedCursor == s.SelectedCount ? 1 : s.SelectedCursor + 1;
    else
        s.SelectedCursor = !onEntry || s.SelectedCursor == 1 ? s.SelectedCount : s.SelectedCursor - 1;

    const std::int32_t hit = EntryAt(s, s.SelectedCursor);
    const std::int32_t set = s.Fig(hit).ShareSetId;
    if (set != before || set < 1) view.HideCoOwnerList();
    if (set >= 1) {
        BringHitToFront(s, hit);
        // Forward steps come from the household page too, where the list has no place.
        if (!forward || s.Form->ActivePageIndex() == 0) ListSharedPlotsOfHit(s, view);
    }
    ShowCurrentSearchHit(s, view);
    CentreViewOnHit(s, false);
    SendSelectionToLedger(s, view.LedgerLink());
}

}  // namespace

bool PlotMatchesCriteria(const TDateRec& r, const std::array<std::string, 9>& criteria) {
    const std::string* const fields[] = {&r.PlotNumber, &r.HouseName, &r.HeadName, &r.Phone, &r.DistrictName,
                                         &r.Address1,   &r.Address2,  &r.PlotRemarks, &r.Grade};
    for (std::size_t f = 0; f < 9; ++f) {
        if (criteria[f].empty()) continue;
        // Characters, not bytes: a byte match could start inside a double-byte character.
        if (TextCodePoints(*fields[f]).find(TextCodePoints(criteria[f])) == std::u32string::npos) return false;
    }
    return true;
}

void PressSearchButton(TDrawingState& s, TPlotSearchView& view) {
    if (view.SearchButtonCaption() == SearchArmedCaption) {
        SearchPlots(s, view);
        view.SetSearchButtonCaption(SearchIdleCaption);
        return;
    }
    view.HideCoOwnerList();
    ClearFigureSelection(s, true);
    ShowHouseholdFields(s, view.FieldsView(), -1);
    s.Search.EditingField = 1;
    view.SetSearchCount(0);
    view.FocusSearchInput();
    view.SetSearchButtonCaption(SearchArmedCaption);
}

void SearchPlots(TDrawingState& s, TPlotSearchView& view) {
    const std::array<std::string, 9> criteria = view.SearchCriteria();
    const bool none = std::all_of(criteria.begin(), criteria.end(), [](const std::string& c) { return c.empty(); });
    if (s.HasSelection == 1 || none) {
        s.Ui.Beep();
        s.Search.EditingField = 0;
        s.Form->FocusSink();
        return;
    }
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (!r.Deleted && IsPlotRecord(r) && PlotMatchesCriteria(r, criteria)) r.Selected = 1;
    }
    RebuildSelectionList(s, false);
    RebuildSortedSelectionList(s, view);
    if (s.SelectedCount == 0) {
        s.Ui.Beep();
        s.HitCenterX = s.HitCenterY = -999.0;
        s.HoverPos = {0, 0};
        ShowHouseholdFields(s, view.FieldsView(), -1);
    } else {
        s.HasSelection = 1;
        s.Form->RepaintMap();
        SummariseSelection(s, view);
        SendSelectionToLedger(s, view.LedgerLink());
        const THistoryData selection = BuildSelectionHistoryData(s);
        if (!selection.Empty()) {
            PushHistory(s, "選択解除").Data = selection;
        }
        CentreViewOnHit(s, false);
    }
    view.SetSearchCount(s.SelectedCount);
    s.Search.EditingField = 0;
    s.Form->FocusSink();
}

void SelectNextSearchHit(TDrawingState& s, TPlotSearchView& view) { StepSearchHit(s, view, true); }

void SelectPreviousSearchHit(TDrawingState& s, TPlotSearchView& view) { StepSearchHit(s, view, false); }

void SelectListedCoOwner(TDrawingState& s, TPlotSearchView& view, const std::string& positionCell) {
    const auto position = StrToInt(positionCell);
    if (!position || *position < 1 || *position > s.SelectedCount) return;
    const std::int32_t before = CursorOnEntry(s) ? s.Fig(EntryAt(s, s.SelectedCursor)).ShareSetId : 0;
    PushHitStep(s);
    s.SelectedCursor = *position;
    if (before > 0)
        for (std::int32_t k = 1; k <= s.SelectedCount; ++k)
            if (s.Fig(EntryAt(s, k)).ShareSetId == before) SetAsideWithPieces(s, EntryAt(s, k), 1);
    SetAsideWithPieces(s, EntryAt(s, s.SelectedCursor), 0);
    ShowCurrentSearchHit(s, view);
    SendSelectionToLedger(s, view.LedgerLink());
}

void ListSharedPlotsOfHit(TDrawingState& s, TPlotSearchView& view) {
    if (!CursorOnEntry(s)) return;
    const std::int32_t set = s.Fig(EntryAt(s, s.SelectedCursor)).ShareSetId;
    // Set 0 is every plot without one: no co-owners.
    if (set < 1) {
        view.HideCoOwnerList();
        return;
    }
    std::vector<TCoOwnerRow> rows;
    int currentRow = 0;
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) {
        const TDateRec& r = s.Fig(EntryAt(s, k));
        if (r.ShareSetId != set) continue;
        rows.push_back({r.HeadName, r.DistrictName, r.Address2, r.Phone, IntToStr(k)});
        if (k == s.SelectedCursor) currentRow = static_cast<int>(rows.size());
    }
    if (view.CoOwnerListVisible()) {
        if (currentRow > 0) view.SetCoOwnerRow(currentRow);
        return;
    }
    if (rows.empty()) return;
    view.ShowCoOwnerList(rows, currentRow);
}

void ShowCurrentSearchHit(TDrawingState& s, TPlotSearchView& view) {
    if (s.SelectedCount < 1 || !CursorOnEntry(s)) {
        s.Form->RepaintMap();
        return;
    }
    s.CurrentHitIndex = EntryAt(s, s.SelectedCursor);
    const std::int32_t owner = GetCompoundOwner(s, s.CurrentHitIndex);
    const TDateRec& shown = s.Fig(owner > 0 ? owner : s.CurrentHitIndex);
    if (s.Form->ActivePageIndex() != 5) {
        s.HitCenterX = shown.BoxX1 + (shown.BoxX2 - shown.BoxX1) / 2;
        s.HitCenterY = shown.BoxY1 + (shown.BoxY2 - shown.BoxY1) / 2;
        s.HitBox = {shown.BoxX1, shown.BoxX2, shown.BoxY1, shown.BoxY2};
    }
    if (s.SelectedList[0] == -999) {
        s.SelectedList[0] = 0;
        CentreViewOnHit(s, true);
    } else {
        s.Form->RepaintMap();
    }
    ShowHouseholdFields(s, view.FieldsView(), s.CurrentHitIndex);
}

void CentreViewOnHit(TDrawingState& s, bool zoomIn) {
    TEditorView& v = *s.Form;
    const int visibleW = v.ScrollBoxWidth() - 36, visibleH = v.ScrollBoxHeight() - 36;
    if (zoomIn) {
        const int baseW = s.ViewBaseWidth > 0 ? s.ViewBaseWidth : visibleW;
        const int baseH = s.ViewBaseHeight > 0 ? s.ViewBaseHeight : visibleH;
        s.Zoom = SearchHitZoom;
        // The step goes with the zoom, so that the zoom buttons step on from here; the
        // tablet steps on from where it was.
        if (s.Edition->FirstShowSetsZoomStep())
            for (int step = 9; step >= 1; --step)
                if (s.ZoomSteps[static_cast<std::size_t>(step)] >= SearchHitZoom) s.ZoomStep = step;
        v.SetPaintBoxSize(baseW * SearchHitZoom, baseH * SearchHitZoom);
    }
    if (s.HitCenterX != -999.0 && s.HitCenterY != -999.0) {
        const int x = RoundToInt32(s.HitCenterX * s.Zoom / 1000.0), y = RoundToInt32(s.HitCenterY * s.Zoom / 1000.0);
        v.SetScrollPos(x - visibleW / 2, y - visibleH / 2);
    }
    // The jump is no scroll of the user's for the idle handler to record.
    s.RecordedScrollPos = {v.HorzScrollPos(), v.VertScrollPos()};
    v.RepaintMap();
}

}  // namespace tarvek
