// The household tab's query search: the query row filters the household table into
// the result grid.
#pragma once

#include <vector>

#include "households/household_table.h"

namespace tarvek {

struct TDrawingState;
class THouseholdView;

// What every cell of the result row reads when nothing matched; assignment refuses it.
constexpr const char* NoHouseholdMatch = "合致無し";

// The rows of table that match query, in table order. A query counts only when one of
// its cells is non-empty; then every non-empty cell must match: the ID by integer value
// ("12" finds "000012", not "000120"), every other column as a substring (characters
// compared, case-sensitive, the query taken untrimmed). An ID that is not an integer,
// in the query or in the table, matches nothing.
std::vector<THouseholdRow> FilterHouseholds(const std::vector<THouseholdRow>& table,
                                            const THouseholdRow& query);

// The search of the "検索実行" button: filters s.Households by the view's query row into
// s.HouseholdOps.ResultRows (one "合致無し" row when nothing matched) and shows them.
void RunHouseholdGridSearch(TDrawingState& s, THouseholdView& view);

}  // namespace tarvek
