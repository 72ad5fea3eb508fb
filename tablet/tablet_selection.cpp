#include "tablet/tablet_selection.h"

#include <vector>

#include "document/drawing_state.h"
#include "document/selection.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_records.h"
#include "households/plot_search.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

// The share set of the entry at the cursor, or 0 when the cursor names no entry of one.
std::int32_t SetInHand(const TDrawingState& s) {
    const std::int32_t cursor = CursorEntry(s);
    if (!s.ValidIndex(cursor)) return 0;
    return s.Fig(cursor).ShareSetId > 0 ? s.Fig(cursor).ShareSetId : 0;
}

// The entry at position k becomes the plot in hand, and its fields are shown.
void TakeInHand(TDrawingState& s, TPlotSearchView& view, std::int32_t k) {
    const std::int32_t entry = ListedEntry(s, k);
    if (s.SelectedCursor != k || s.CurrentHitIndex != entry) {
        s.SelectedCursor = k;
        ShowCurrentSearchHit(s, view);
    }
    ShowHouseholdFields(s, view.FieldsView(), entry);
}

}  // namespace

void ShowTabletSelectionSummary(TDrawingState& s, TPlotSearchView& view) {
    if (s.Form->ActivePageIndex() != 0) return;
    const std::int32_t count = ListedCount(s);
    s.HasSelection = 0;
    std::int32_t shared = 0;
    for (std::int32_t k = 1; k <= count; ++k) {
        s.HasSelection = 1;
        s.Search.EditingField = 0;
        const std::int32_t i = ListedEntry(s, k);
        if (s.ValidIndex(i) && s.Fig(i).ShareSetId > 0) ++shared;
    }
    if (shared <= 1) {
        view.HideCoOwnerList();
        if (shared == 1) TakeInHand(s, view, 1);
        return;
    }

    // Only the set in hand is listed: the grid holds exactly the rows filled, so no row
    // can name a plot of an earlier selection. A cursor on a plot of its own lists nothing.
    const std::int32_t set = SetInHand(s);
    std::vector<TCoOwnerRow> rows;
    int shownRow = 0, cursorRow = 0;
    std::int32_t shownPosition = 0;
    for (std::int32_t k = 1; set > 0 && k <= count; ++k) {
        const std::int32_t i = ListedEntry(s, k);
        if (!s.ValidIndex(i) || s.Fig(i).ShareSetId != set) continue;
        const TDateRec& r = s.Fig(i);
        rows.push_back({r.HeadName, r.DistrictName, r.Address2, r.Phone, IntToStr(k)});
        if (k == s.SelectedCursor) cursorRow = static_cast<int>(rows.size());
        if (!r.SetAside) {
            shownRow = static_cast<int>(rows.size());
            shownPosition = k;
        }
    }
    if (rows.size() < 2) {
        view.HideCoOwnerList();
        return;
    }
    // With every copy set aside none shows its name: the cursor's copy stays in hand.
    if (shownPosition == 0) {
        shownRow = cursorRow;
        shownPosition = s.SelectedCursor;
    }
    view.ShowCoOwnerList(rows, shownRow);
    TakeInHand(s, view, shownPosition);
}

void SelectTabletCoOwner(TDrawingState& s, TPlotSearchView& view, const std::string& positionCell) {
    const auto position = StrToInt(positionCell);
    const std::int32_t set = SetInHand(s);
    if (!position || set == 0 || *position < 1 || *position > ListedCount(s)) return;
    const std::int32_t entry = ListedEntry(s, *position);
    if (!s.ValidIndex(entry) || s.Fig(entry).ShareSetId != set) return;
    SelectListedCoOwner(s, view, positionCell);
}

void SelectAllTabletFigures(TDrawingState& s, TLedgerView& ledger) {
    for (std::int32_t i = 1; i <= s.FigureCount; ++i)
        if (!s.Fig(i).Deleted) s.Fig(i).Selected = 1;
    RebuildSelectionList(s, true);
    ClassifySelectionKinds(s);
    SendSelectionToLedger(s, ledger);
}

}  // namespace tarvek
