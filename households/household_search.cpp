#include "households/household_search.h"

#include <algorithm>
#include <optional>

#include "document/drawing_state.h"
#include "households/assignment.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

// Code points of a UTF-8 text, so that a match can never start or end inside a
// character; a stray byte stands for itself.
std::u32string CodePoints(const std::string& text) {
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
        bool ok = (b < 0x80 || (b >= 0xC0 && b < 0xF8)) && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(0xDC00 + b);  // never equal to a decoded character
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

bool RowMatches(const THouseholdRow& row, const THouseholdRow& query,
                const std::optional<std::int32_t>& queryId) {
    if (!query[0].empty()) {
        const auto id = StrToInt(row[0]);
        if (!queryId || !id || *id != *queryId) return false;
    }
    for (int c = 1; c < HouseholdColumns; ++c) {
        const std::string& q = query[static_cast<std::size_t>(c)];
        if (q.empty()) continue;
        if (CodePoints(row[static_cast<std::size_t>(c)]).find(CodePoints(q)) == std::u32string::npos)
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
