#include "households/household_search.h"

#include <algorithm>
#include <optional>

#include "document/drawing_state.h"
#include "households/assignment.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek {

namespace {

bool RowMatches(const THouseholdRow& row, const THouseholdRow& query,
                const std::optional<std::int32_t>& queryId) {
    if (!query[0].empty()) {
        const auto id = StrToInt(row[0]);
        if (!queryId || !id || *id != *queryId) return false;
    }
    for (int c = 1; c < HouseholdColumns; ++c) {
        const std::string& q = query[static_cast<std::size_t>(c)];
        if (q.empty()) continue;
        if (TextCodePoints(row[static_cast<std::size_t>(c)]).find(TextCodePoints(q)) == std::u32string::npos)
            return false;
    }
    return true;
}

}  // namespace

std::vector<THouseholdRow> FilterHouseholds(const std::vector<THouseholdRow>& table,
                                            const THouseholdRow& query) {
    std::vector<THouseholdRow> hits;
    if (std::all_of(query.begin(), query.end(), [](const std::string& q) { return q.empty(); }))
        return hits;
    const std::optional<std::int32_t> queryId =
        query[0].empty() ? std::nullopt : StrToInt(query[0]);
    for (const THouseholdRow& row : table)
        if (RowMatches(row, query, queryId)) hits.push_back(row);
    return hits;
}

void RunHouseholdGridSearch(TDrawingState& s, THouseholdView& view) {
    std::vector<THouseholdRow> rows = FilterHouseholds(s.Households, view.QueryRow());
    if (rows.empty()) {
        THouseholdRow none;
        none.fill(NoHouseholdMatch);
        rows.push_back(none);
    }
    s.HouseholdOps.ResultRows = std::move(rows);
    view.ShowResultGrid(s.HouseholdOps.ResultRows);
}

}  // namespace tarvek
