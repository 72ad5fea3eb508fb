// What the household operations keep between calls.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "households/household_table.h"
#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;

struct THouseholdOpsState {
    // The rows of the result grid (StringGrid2): the last search's hits, or the one
    // "合致無し" row. Grid row r is ResultRows[r - 1].
    std::vector<THouseholdRow> ResultRows;

    // Above 0 while one of the household operations' questions is open. The ledger
    // request poll must wait meanwhile, so that the selection cannot change under the
    // user's answer.
    std::int32_t QuestionsOpen = 0;

    // Hands a change record list (header line first) to the ledger link. noFinalLineEnd:
    // the assignment's own lists end without a line end after their last line. Empty:
    // nothing is sent (no form, or a test that does not look).
    std::function<void(const TLines& list, bool noFinalLineEnd)> SendChanges;

    // Moves the current item to the next search hit after a plain assignment. Empty:
    // stays (the plot search binds it).
    std::function<void(TDrawingState& s)> SelectNextSearchHit;

    // Rebuilds the selection list sorted by plot number. Empty: the plain rebuild in
    // store order, which keeps the current hit.
    std::function<void(TDrawingState& s)> RebuildSortedSelectionList;

    // The summary of the selection after it changed. The tablet binds its own, which lists
    // a shared plot's copies over its map and runs after an assignment to a set and after
    // a reset too. Empty: the search page's summary, where a selection change asks for it
    // (SummariseSelection); the household operations then leave it to the hit they show.
    std::function<void(TDrawingState& s)> ShowSelectionSummary;
};

}  // namespace tarvek
