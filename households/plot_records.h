// Small pieces shared by the operations that change plots: who has a household, the
// members of a compound plot, the listed part of the selection, the change lists and
// the red marks left on the map.
#pragma once

#include <cstdint>
#include <vector>

#include "document/editor_view.h"
#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;
struct TDateRec;
class THistoryData;

// A plot's Text names a household when it is an integer above 0; any other text, and
// any figure that is no plot, has none.
bool HasHousehold(const TDateRec& r);

// The live members of a compound parent, in store order; none for any other record.
std::vector<std::int32_t> CompoundMembers(const TDrawingState& s, std::int32_t parent);

// The entries 1..n of the selection list that exist, whatever SelectedCount claims.
std::int32_t ListedCount(const TDrawingState& s);
// Entry k (1..ListedCount) of the selection list.
std::int32_t ListedEntry(const TDrawingState& s, std::int32_t k);
// The listed entries that name records of the store, in list order.
std::vector<std::int32_t> ListedFigures(const TDrawingState& s);

// Hands a change list (header first) to the ledger link. A list of the header alone
// writes nothing but leaves the whole list to be sent later.
void SendChanges(TDrawingState& s, const TLines& list, bool noFinalLineEnd = false);

// The selection rebuilt in plot-number order where the search page binds it, else in
// store order with the current hit shown.
void RebuildSortedSelection(TDrawingState& s);

// After an operation changed the sets of the selection: the summary where the edition
// binds one (the tablet lists the copies again); the full editor's list follows the hit.
void SummariseChangedSets(TDrawingState& s);

// The household fields a reset leaves on a plot: "0", "空", the rest empty.
void ClearHouseholdOfPlot(TDateRec& r);

// A household's texts as the undo rows list them: HouseName, HeadName, Phone,
// DistrictName, Address1, Address2, PlotRemarks, Grade.
void AddHouseholdTextFields(THistoryData& d, const TDateRec& r);

// Red marks: through the figure's four points, or round its bounding box.
TMapMark PointsMark(const TDateRec& r);
TMapMark BoxMark(const TDateRec& r);

}  // namespace tarvek
