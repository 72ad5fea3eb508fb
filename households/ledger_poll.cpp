#include "households/ledger_poll.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "households/ledger_exchange.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek {

namespace {

class TRunningGuard {
public:
    explicit TRunningGuard(bool& flag) : Flag(flag) { Flag = true; }
    ~TRunningGuard() { Flag = false; }
    TRunningGuard(const TRunningGuard&) = delete;
    TRunningGuard& operator=(const TRunningGuard&) = delete;

private:
    bool& Flag;
};

void PushViewStep(TDrawingState& s, TLedgerView& view) {
    THistoryData& d = PushHistory(s, "元の画面に戻す").Data;
    AddPageStepFields(s, view, d);
    d.AddNumber(s.RecordedScrollPos.x);
    d.AddNumber(s.RecordedScrollPos.y);
    d.AddNumber(s.Zoom);
    // A request's first show moves the zoom step along with the zoom.
    d.AddNumber(s.ZoomStep);
}

void SelectRequestedPlot(TDrawingState& s, TLedgerView& view, std::int32_t plotId) {
    std::int32_t found = 0;
    for (std::int32_t i = 1; i <= s.FigureCount && !found; ++i) {
        const TDateRec& r = s.Fig(i);
        if (r.PlotId == plotId && IsPlotRecord(r) && !r.Deleted && GetCompoundOwner(s, i) <= 0) found = i;
    }
    if (!found) return;
    view.SetActivePage(0);
    SelectRequestedPlotAt(s, found, plotId);
    view.SelectionChanged();
    s.Form->ShowCurrentHit();
}

}  // namespace

void AddPageStepFields(const TDrawingState& s, const TLedgerView& view, THistoryData& d) {
    d.AddNumber(s.PreviousTab);
    d.AddNumber(view.MeshStepIndex());
    d.AddNumber(view.MeshClipIndex());
    // Check boxes are kept inverted in history data.
    d.AddFlag(!view.RotateNamesChecked());
    d.AddFlag(!view.ClipNamesChecked());
}

void SelectRequestedPlotAt(TDrawingState& s, std::int32_t index, std::int32_t plotId) {
    TDateRec& plot = s.Fig(index);
    plot.Selected = 1;
    s.HasSelection = 1;
    s.SelectedList = {-999, index};
    s.SelectedCount = 1;
    s.SelectedCursor = 1;
    if (plot.ShareSetId > 0) {
        // Only the requested household's copy shows its name.
        const std::int32_t set = plot.ShareSetId;
        for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
            TDateRec& r = s.Fig(i);
            if (r.Deleted || r.ShareSetId != set) continue;
            r.Selected = 1;
            r.SetAside = r.PlotId != plotId ? 1 : 0;
        }
    }
    if (IsCompoundParent(plot)) {
        for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
            TDateRec& r = s.Fig(i);
            if (!r.Deleted && r.OwnerIndex == index) r.Selected = 1;
        }
    }
    s.CurrentHitIndex = index;
}

std::int32_t HouseholdOfTarget(std::int32_t target) {
    return target < 0 && target != std::numeric_limits<std::int32_t>::min() ? -target : 0;
}

int ShowHouseholdOfTarget(TDrawingState& s, TLedgerView& view) {
    const std::int32_t target = s.LedgerTargetId;
    s.LedgerTargetId = HouseholdOfTarget(target);
    // The one negative value without a positive counterpart names no household.
    if (target == std::numeric_limits<std::int32_t>::min()) return 0;
    for (std::size_t k = 0; k < s.Households.size(); ++k) {
        // A row whose ID is not a number matches nothing.
        const auto id = StrToInt(s.Households[k][0]);
        if (!id || *id != s.LedgerTargetId) continue;
        const int row = static_cast<int>(k) + 1;
        if (s.Edition->HouseholdRequestOpensPage()) view.SetActivePage(1);
        view.ShowHouseholdAlone(row);
        view.ShowHouseholdButton(true);
        s.Form->RepaintMap();
        return row;
    }
    return 0;
}

std::string LedgerRequestFile(const TDrawingState& s) { return s.ExeFolder + "追加" + ExchangeExt; }

TPollResult PollLedgerRequest(TDrawingState& s, TLedgerView& view) {
    TLedgerLinkState& l = s.Ledger;
    if (l.PollingStopped) return TPollResult::Stopped;
    // The timer is off while a poll works; a tick reached re-entrantly does nothing.
    if (l.PollRunning) return TPollResult::Idle;
    const std::string path = LedgerRequestFile(s);
    if (GetFileSizeOrMinus1(path) <= 0) return TPollResult::Idle;
    // The selection must not change under the user's answer; the file keeps the request.
    // Nor while an undo takes steps back: its own steps would land on top of them.
    if (view.QuestionOpen() || s.Ui.BoxOpen() || s.Tools.UndoRunning) return TPollResult::Waiting;
    TRunningGuard running(l.PollRunning);

    l.tuika.clear();
    // Only the first line counts, so only the first line is read.
    std::string first;
    const TFileResult read = ReadFirstLine(path, first);
    // A line beyond any bound is no number either; anything else may read next tick.
    if (!read && read.Status != TFileStatus::TooLarge) return TPollResult::Retry;
    if (read) l.tuika.push_back(first);
    // Understood before anything changes, so that a bad request leaves the view as it was.
    const auto n = l.tuika.empty() ? std::nullopt : StrToInt(l.tuika[0]);
    if (!n) {
        l.PollingStopped = true;
        return TPollResult::Stopped;
    }

    // The selection step is recorded also when nothing is selected, so that taking the
    // request back takes exactly its own steps.
    {
        THistoryData& d = PushHistory(s, "選択").Data;
        d.AddNumber(s.CurrentHitIndex);
        d.Append(BuildSelectionHistoryData(s));
    }
    s.SelectedCount = 0;
    ClearFigureSelection(s, false);
    s.LedgerTargetId = *n;
    s.PreviousTool = s.CurrentTool;
    s.CurrentTool = 0;
    s.MeshVisible = 0;
    s.EditTabActive = 0;
    view.SelectToolForSearch();
    PushViewStep(s, view);

    if (*n > 0) {
        SelectRequestedPlot(s, view, *n);
        view.ShowHouseholdButton(false);
    } else if (*n < 0) {
        ShowHouseholdOfTarget(s, view);
    }

    s.Edition->ZoomAfterRequest(s);

    const THistoryData selection = BuildSelectionHistoryData(s);
    PushHistory(s, "外部選択解除").Data = selection;
    s.PreviousTab = s.Form->ActivePageIndex();

    l.tuika.clear();
    if (!WriteFileAtomically(path, {})) {
        // Taking the same request again every tick would repeat it without end.
        l.PollingStopped = true;
        return TPollResult::Stopped;
    }
    // The jump itself is no scroll step for the idle handler.
    s.RecordedScrollPos = {s.Form->HorzScrollPos(), s.Form->VertScrollPos()};
    return TPollResult::Handled;
}

}  // namespace tarvek
