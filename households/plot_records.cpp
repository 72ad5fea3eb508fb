#include "households/plot_records.h"

#include <algorithm>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "platform/numbers.h"

namespace tarvek {

bool HasHousehold(const TDateRec& r) { return IsPlotRecord(r) && StrToInt(r.Text).value_or(0) > 0; }

std::vector<std::int32_t> CompoundMembers(const TDrawingState& s, std::int32_t parent) {
    std::vector<std::int32_t> members;
    if (!s.ValidIndex(parent) || !IsCompoundParent(s.Fig(parent))) return members;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        if (i != parent && !r.Deleted && r.OwnerIndex == parent) members.push_back(i);
    }
    return members;
}

std::int32_t ListedCount(const TDrawingState& s) {
    const auto stored = static_cast<std::int32_t>(s.SelectedList.size()) - 1;
    return std::max<std::int32_t>(0, std::min(s.SelectedCount, stored));
}

std::int32_t ListedEntry(const TDrawingState& s, std::int32_t k) {
    return s.SelectedList[static_cast<std::size_t>(k)];
}

std::vector<std::int32_t> ListedFigures(const TDrawingState& s) {
    std::vector<std::int32_t> list;
    for (std::int32_t k = 1; k <= ListedCount(s); ++k)
        if (s.ValidIndex(ListedEntry(s, k))) list.push_back(ListedEntry(s, k));
    return list;
}

void SendChanges(TDrawingState& s, const TLines& list, bool noFinalLineEnd) {
    if (s.HouseholdOps.SendChanges) s.HouseholdOps.SendChanges(list, noFinalLineEnd);
}

void RebuildSortedSelection(TDrawingState& s) {
    if (s.HouseholdOps.RebuildSortedSelectionList) s.HouseholdOps.RebuildSortedSelectionList(s);
    else RebuildSelectionList(s, true);
}

void SummariseChangedSets(TDrawingState& s) {
    if (s.HouseholdOps.ShowSelectionSummary) s.HouseholdOps.ShowSelectionSummary(s);
}

void ClearHouseholdOfPlot(TDateRec& r) {
    ClearHouseholdNames(r);
    r.Text.assign(1, '0');  // not = "0": GCC 12 warns of a false overlap once inlined
    r.DistrictId = 0;
}

TMapMark PointsMark(const TDateRec& r) {
    TMapMark m;
    m.Corners = {r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4};
    return m;
}

TMapMark BoxMark(const TDateRec& r) {
    TMapMark m;
    m.Corners = {r.BoxX1, r.BoxY1, r.BoxX2, r.BoxY1, r.BoxX2, r.BoxY2, r.BoxX1, r.BoxY2};
    return m;
}

void AddHouseholdTextFields(THistoryData& d, const TDateRec& r) {
    for (const std::string* t : HouseholdTextFields(r)) d.AddText(*t);
}

}  // namespace tarvek
