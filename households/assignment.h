// Household assignment: the household chosen in the household grid goes to the current
// plot of the selection, alone, shared with the households already there, or in place
// of the owner. Also the shared-plot labels and the household fields of the search page.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "households/household_table.h"
#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;
struct TDateRec;

// The three grids of the household tab; one is visible at a time.
enum class THouseholdGrid { Table, Results, Query };

// What the household logic asks of the form around it.
class THouseholdView {
public:
    virtual ~THouseholdView() = default;
    virtual THouseholdGrid VisibleHouseholdGrid() const = 0;
    // The current row (1-based, header row 0) of the visible grid, and setting it.
    virtual int CurrentHouseholdRow() const = 0;
    virtual void SetCurrentHouseholdRow(int row) = 0;
    // The cells of the query row.
    virtual THouseholdRow QueryRow() const = 0;
    // Shows the result grid with these rows (enabled, focused), hiding the other two.
    virtual void ShowResultGrid(const std::vector<THouseholdRow>& rows) = 0;
    // Back to the table: "新規検索" on the search button, the table shown and enabled,
    // the other grids hidden, the focus on the hidden edit.
    virtual void LeaveHouseholdSearchMode() = 0;
    // The nine fields of the search page, in the order plot number, house name, head,
    // phone, district, address 1, address 2, remarks, grade.
    virtual void ShowHouseholdFields(const std::array<std::string, 9>& /*fields*/) {}
};

// Assignment modes.
constexpr int AssignPlain = 2;
constexpr int AssignShared = 6;
constexpr int AssignReplace = 7;

// The number of live plots, not compound members, whose household ID is exactly id.
std::int32_t CountHouseholdUses(const TDrawingState& s, const std::string& id);

// Copies row (grid columns) into the scratch record 0. A district ID that is not an
// integer gives 0; the household remarks are not taken.
void ReadChosenHouseholdRow(TDrawingState& s, const THouseholdRow& row);

// Gives the record the household of the scratch record 0 and the share-set id.
void CopyHouseholdToFigure(TDrawingState& s, std::int32_t index, std::int32_t shareSetId);

// Writes the scratch record's household into the current plot (the selection entry at
// SelectedCursor) in one of the modes above, with its history step and change lists.
// False when it changed nothing: no valid current plot, a plot Text that is not an
// integer, or no room in the store for a shared copy.
bool AssignHouseholdToPlot(TDrawingState& s, int mode);

// The "檀家セット" button and the double-click on the household or result grid.
void AssignHousehold(TDrawingState& s, THouseholdView& view);

// Renumbers the labels of the shared plots of the selection ("(1)", "(2)", ...) and
// removes stale suffixes. Returns the "変更" list; hands it to the ledger when send.
TLines UpdateSharedPlotLabels(TDrawingState& s, bool send);

// Index < 0 clears the nine fields; a plot shows its own; anything else leaves them.
void ShowHouseholdFields(TDrawingState& s, THouseholdView& view, std::int32_t index);

}  // namespace tarvek
