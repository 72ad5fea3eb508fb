// The ledger's request file, polled by the main form's timer every 300 ms: the ledger
// points the editor at a plot or a household by writing a number into it, and the editor
// acknowledges by emptying the file.
#pragma once

#include <cstdint>
#include <string>

namespace tarvek {

struct TDrawingState;
class THistoryData;
class TLedgerView;

constexpr int LedgerPollIntervalMs = 300;

enum class TPollResult {
    Idle,         // no request (missing or empty file)
    Waiting,      // a question box is open; the request stays in the file
    Retry,        // the file could not be read this tick
    Stopped,      // polling is off for the rest of the run
    Handled,      // the request was shown and acknowledged
};

std::string LedgerRequestFile(const TDrawingState& s);

// The household a target names (minus the target), or 0 for a target that names none:
// 0, a plot, and -2147483648, whose negation does not fit.
std::int32_t HouseholdOfTarget(std::int32_t target);

// A target of 0 or less, as either request file gives it (s.LedgerTargetId): the target
// becomes the household it names (minus it; 0 for -2147483648, whose negation does not
// fit), and that household, when the table holds it, is shown alone, on the household page
// where the edition opens it and with the tablet's button. The table row shown (1-based),
// or 0.
int ShowHouseholdOfTarget(TDrawingState& s, TLedgerView& view);

// The fields of the step "タブページを戻す": the page, the mesh step and clip items and
// the two name check boxes (kept inverted); "元の画面に戻す" adds the scroll position,
// the zoom and the zoom step.
void AddPageStepFields(const TDrawingState& s, const TLedgerView& view, THistoryData& d);

// Makes the plot at index the one selection (marker -999 in slot 0, so that its first
// show goes to zoom 2), with the other copies of its share set selected and set aside
// unless they carry plotId, and the members of a compound plot selected.
void SelectRequestedPlotAt(TDrawingState& s, std::int32_t index, std::int32_t plotId);

// One tick of the timer. A positive number selects that plot (with its shared copies and
// compound members) on the search page, a negative one shows that household alone on the
// household page, 0 only clears the selection; each request leaves the history steps that
// take the user back to the previous view.
TPollResult PollLedgerRequest(TDrawingState& s, TLedgerView& view);

}  // namespace tarvek
