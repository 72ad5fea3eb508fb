#include "households/plot_info.h"

#include <algorithm>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/selection.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "platform/collation.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek {

namespace {

std::int32_t EntryAt(const TDrawingState& s, std::int32_t k) { return s.SelectedList[static_cast<std::size_t>(k)]; }

// The plot at the selection cursor, or 0 when the cursor names none.
std::int32_t CursorPlot(const TDrawingState& s) {
    const std::int32_t i = CursorEntry(s);
    return s.ValidIndex(i) && IsPlotRecord(s.Fig(i)) ? i : 0;
}

TCoOwnerRow CoOwnerRow(const TDateRec& r, std::int32_t position) {
    return {r.HeadName, r.DistrictName, r.Address2, r.Phone, IntToStr(position)};
}

}  // namespace


void SortRowsByColumn(std::vector<std::vector<std::string>>& rows, std::size_t column) {
    std::vector<std::string> cells;
    cells.reserve(rows.size());
    for (const auto& row : rows) cells.push_back(column < row.size() ? row[column] : std::string());
    std::vector<std::vector<std::string>> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t k : CollatedOrder(cells)) sorted.push_back(std::move(rows[k]));
    rows = std::move(sorted);
}

void ShowSelectionSummary(TDrawingState& s, TPlotSearchView& view) {
    if (s.Form->ActivePageIndex() != 0) return;
    s.HasSelection = s.SelectedCount > 0 ? 1 : 0;
    if (s.HasSelection) s.Search.EditingField = 0;
    // Compound plots count as the whole plots they are, as the other counters do.
    UpdateSelectionCount(s);

    std::int32_t shared = 0;
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k)
        if (s.Fig(EntryAt(s, k)).ShareSetId > 0) ++shared;
    if (shared <= 1) {
        view.HideCoOwnerList();
        if (shared == 1) {
            // The fields show the first entry; the remarks must edit that plot, so it
            // becomes the current hit.
            if (s.SelectedCursor != 1) {
                s.SelectedCursor = 1;
                ShowCurrentSearchHit(s, view);
            }
            ShowHouseholdFields(s, view.FieldsView(), EntryAt(s, 1));
        }
        return;
    }

    const std::int32_t cursor = CursorEntry(s);
    const std::int32_t set = cursor > 0 && s.Fig(cursor).ShareSetId >= 1 ? s.Fig(cursor).ShareSetId : -1;
    std::vector<TCoOwnerRow> rows;
    // With every copy set aside the cursor's copy stays current, and so does its row.
    int currentRow = 1, cursorRow = 1;
    std::int32_t shown = 0, shownPosition = 0;
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) {
        const TDateRec& r = s.Fig(EntryAt(s, k));
        if (r.ShareSetId != set) continue;
        rows.push_back(CoOwnerRow(r, k));
        if (k == s.SelectedCursor) cursorRow = static_cast<int>(rows.size());
        if (!r.SetAside) {
            shown = EntryAt(s, k);
            shownPosition = k;
            currentRow = static_cast<int>(rows.size());
        }
    }
    if (shown == 0) currentRow = cursorRow;
    if (shown > 0) {
        // The copy that shows its name is the current one; the cursor goes with it, so
        // that the remarks edit the plot whose fields are shown.
        s.CurrentHitIndex = shown;
        s.SelectedCursor = shownPosition;
    }
    if (rows.empty() || set <= 0) {
        view.HideCoOwnerList();
        return;
    }
    view.ShowCoOwnerList(rows, currentRow);
    ShowHouseholdFields(s, view.FieldsView(), s.CurrentHitIndex);
}

void SummariseSelection(TDrawingState& s, TPlotSearchView& view) {
    if (s.HouseholdOps.ShowSelectionSummary)
        s.HouseholdOps.ShowSelectionSummary(s);
    else
        ShowSelectionSummary(s, view);
}

void RebuildSortedSelectionList(TDrawingState& s, TPlotSearchView& view) {
    RebuildSelectionList(s, false);
    std::vector<std::vector<std::string>> rows;
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) {
        const std::int32_t i = EntryAt(s, k);
        if (GetCompoundOwner(s, i) >= 1) continue;
        rows.push_back({IntToStr(i), s.Fig(i).PlotNumber});
    }
    SortRowsByColumn(rows, 1);
    s.SelectedList.resize(1);
    for (const auto& row : rows) s.SelectedList.push_back(StrToInt(row[0]).value_or(0));
    s.SelectedCount = static_cast<std::int32_t>(rows.size());
    if (s.SelectedCount == 0) {
        s.HasSelection = 0;
        s.SelectedCursor = -1;
    } else {
        s.HasSelection = 1;
        s.SelectedCursor = 1;
        for (std::int32_t k = 1; k <= s.SelectedCount; ++k)
            if (EntryAt(s, k) == s.CurrentHitIndex) s.SelectedCursor = k;
    }
    ComputeSelectionBounds(s);
    ShowCurrentSearchHit(s, view);
}

void ShowSelectFirstMessage(TDrawingState& s) {
    s.Ui.Beep();
    s.SetHelpLine("先に" + s.PlotKindWord + "を選んでください。");
}

bool IsRefusedRemarksChar(char32_t c) { return c == U',' || c == U'"' || !IsCp932Char(c); }

std::string WithoutRefusedRemarksChars(const std::string& text) {
    std::string out;
    for (const char32_t c : TextCodePoints(text))
        if (!IsRefusedRemarksChar(c)) out += CodePointUtf8(c);
    return out;
}

void BeginRemarksEdit(TDrawingState& s, const std::string& remarks) {
    s.Search.EditingField = 1;
    s.Search.OldRemarks = remarks;
}

void EndRemarksEdit(TDrawingState& s, TPlotSearchView& view, bool remarksField) {
    // While the search fields take criteria and no plot is current they stay in that
    // mode: the next field entered must not clear what was typed. A plot picked or asked
    // for meanwhile takes the remarks, and the other pages' fields have no part in it:
    // a mark left then would shut out every shortcut.
    const std::int32_t plot = CursorPlot(s);
    if (!remarksField || plot != 0 || view.SearchButtonCaption() != SearchArmedCaption) s.Search.EditingField = 0;
    // A paste passes the key filter: the refused characters go here.
    const std::string typed = view.RemarksText();
    const std::string text = WithoutRefusedRemarksChars(typed);
    if (text != typed) view.SetRemarksText(text);
    if (text == s.Search.OldRemarks) return;
    s.Search.OldRemarks = text;
    if (plot == 0 || s.Fig(plot).PlotRemarks == text) return;
    s.Fig(plot).PlotRemarks = text;
    BeginChangeRecordList(s, VerbChanged);
    AddPlotToChangeRecordList(s, plot);
    FlushChangesToLedger(s, view.LedgerLink());
    s.LedgerUnchanged = 0;
}

}  // namespace tarvek
