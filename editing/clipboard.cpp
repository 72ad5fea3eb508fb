#include "editing/clipboard.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "editing/figure_copies.h"
#include "editing/picking.h"
#include "households/ledger_exchange.h"
#include "households/plot_records.h"
#include "households/questions.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

// The buffer as it can be read now: an entry outside the store is never pasted.
std::vector<std::int32_t> BufferedFigures(const TDrawingState& s) {
    std::vector<std::int32_t> list;
    if (s.Tools.ClipboardMode <= 0) return list;
    for (const std::int32_t i : s.Tools.PasteBuffer)
        if (s.ValidIndex(i)) list.push_back(i);
    return list;
}

bool IsWholePlot(const TDrawingState& s, std::int32_t i) { return IsPlotRecord(s.Fig(i)) && GetCompoundOwner(s, i) < 1; }

// Plots that are no pieces and carry a household: what a cut or a delete must ask about.
std::int32_t OwnedPlots(const TDrawingState& s, const std::vector<std::int32_t>& entries) {
    std::int32_t n = 0;
    for (const std::int32_t i : entries)
        if (GetCompoundOwner(s, i) < 1 && HasHousehold(s.Fig(i))) ++n;
    return n;
}

bool ConfirmRemoval(TDrawingState& s, const std::vector<std::int32_t>& entries, const std::string& action) {
    const std::int32_t n = OwnedPlots(s, entries);
    if (n == 0) return true;
    return Ask(s, HouseholdsQuestion(s, n, action), mbYes | mbNo, TMsgDlgType::mtConfirmation) == mrYes;
}

// Four points and, except for texts (whose Aux1 is their writing direction), the arc
// points move.
void MoveFigure(TDateRec& r, double dx, double dy) {
    r.X1 += dx, r.X2 += dx, r.X3 += dx, r.X4 += dx;
    r.Y1 += dy, r.Y2 += dy, r.Y3 += dy, r.Y4 += dy;
    if (r.Kind == fkText) return;
    r.Aux1 += dx, r.Aux3 += dx;
    r.Aux2 += dy, r.Aux4 += dy;
}

void MirrorFigure(TDateRec& r, bool vertical, double axis) {
    auto flip = [axis](double& v) { v = 2 * axis - v; };
    if (vertical) {
        flip(r.Y1), flip(r.Y2), flip(r.Y3), flip(r.Y4);
        if (r.Kind != fkText) flip(r.Aux2), flip(r.Aux4);
    } else {
        flip(r.X1), flip(r.X2), flip(r.X3), flip(r.X4);
        if (r.Kind != fkText) flip(r.Aux1), flip(r.Aux3);
    }
    // A mirrored arc runs the other way round.
    if (r.Kind == fkEllipse) {
        std::swap(r.Aux1, r.Aux3);
        std::swap(r.Aux2, r.Aux4);
    }
}

// The drawing point under the pointer.
std::pair<double, double> HoverPoint(const TDrawingState& s) {
    return {s.HoverPos.x * 1000.0 / s.Zoom, s.HoverPos.y * 1000.0 / s.Zoom};
}

// Step 1 of both pastes: the selection is recorded, also an empty one, so that taking
// the paste back always takes this step with it; then cleared, its frame kept for the
// placement. Returns whether something was selected.
bool SetSelectionAside(TDrawingState& s) {
    const bool had = s.HasSelection != 0 && s.SelectedCount > 0;
    if (had) ComputeSelectionBounds(s);
    PushSelectionStep(s);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) s.Fig(i).Selected = 0;
    s.HasSelection = 0;
    return had;
}

// The end of both pastes: what was pasted is the selection and, as copies, the buffer.
void FinishPaste(TDrawingState& s) {
    SendChanges(s, s.Ledger.tuika);
    s.HasSelection = 1;
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
    s.Tools.CutMode = 0;
    CopyOrCutSelection(s);
}

}  // namespace

std::string HouseholdsQuestion(const TDrawingState& s, std::int32_t plots, const std::string& action) {
    return "檀家名、割当て済みの" + s.PlotKindWord + "が" + IntToStr(plots) + "件あります。\r" + action +
           "してよいですか？";
}

void CopyOrCutSelection(TDrawingState& s) {
    TToolState& t = s.Tools;
    const bool cut = t.CutMode == 1;
    const std::vector<std::int32_t> entries = ListedFigures(s);
    // Nothing buffered: the buffer still holds what it held, and CutMode says what that is.
    if (entries.empty()) {
        t.CutMode = t.PasteBufferCut;
        return;
    }
    s.DrawingUnchanged = 0;
    if (cut) {
        if (!ConfirmRemoval(s, entries, "切取り")) {
            t.CutMode = t.PasteBufferCut;
            return;
        }
        if (OwnedPlots(s, entries) > 0) s.LedgerUnchanged = 0;
    }

    t.PasteBuffer.clear();
    t.PasteBuffer.reserve(entries.size());
    if (!cut) {
        // Set-aside copies of shared plots are never painted: only the current one is copied.
        for (const std::int32_t i : entries)
            if (!s.Fig(i).SetAside) t.PasteBuffer.push_back(i);
    } else {
        Trireki& step = PushHistory(s, CutStepLabel);
        BeginChangeRecordList(s, VerbRemoved);
        for (const std::int32_t i : entries) {
            t.PasteBuffer.push_back(i);
            TDateRec& r = s.Fig(i);
            r.Selected = 0;
            r.Deleted = 1;
            step.Data.AddNumber(i);
            if (IsWholePlot(s, i)) {
                AddPlotToChangeRecordList(s, i);
                // The plot is gone for the ledger, whether or not it had a household.
                s.LedgerUnchanged = 0;
            }
        }
    }
    t.ClipboardMode = static_cast<std::int32_t>(t.PasteBuffer.size());
    t.PasteBufferCut = cut ? 1 : 0;
    t.CutMode = t.PasteBufferCut;
    if (!cut) return;
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
    SendChanges(s, s.Ledger.tuika);
}

void PasteCopiedFigures(TDrawingState& s) {
    TToolState& t = s.Tools;
    if (BufferedFigures(s).empty()) return;
    // Room for every copy before any step: a paste never stops halfway. A compaction on
    // the way renumbers the buffer with the store.
    if (!ReserveFigureCopies(s, BufferedFigures(s))) return;
    const std::vector<std::int32_t> sources = BufferedFigures(s);
    if (sources.empty()) return;

    s.DrawingUnchanged = 0;
    const bool hadSelection = SetSelectionAside(s);
    PushHistory(s, PasteStepLabel).Data.AddNumber(static_cast<std::int64_t>(sources.size()));

    const bool mirror = ToolView(s).MirrorCopy();
    const bool vertical = t.PasteDirection != 0;
    // Right, left, bottom, top. Without a selection a mirror takes the buffered figures'
    // own frame: the last selection's frame is stale, and its start values lie off the paper.
    std::array<double, 4> frame = s.DrawPointBuffer;
    if (!hadSelection) {
        frame = {0, 9999999999.0, 0, 9999999999.0};
        for (const std::int32_t i : sources) {
            const TDateRec& r = s.Fig(i);
            frame = {std::max(frame[0], r.BoxX2), std::min(frame[1], r.BoxX1), std::max(frame[2], r.BoxY2),
                     std::min(frame[3], r.BoxY1)};
        }
    }
    double dx = 0, dy = 0;
    if (!mirror && !hadSelection) {
        const auto [hx, hy] = HoverPoint(s);
        dx = hx - s.Fig(sources.front()).X1;
        dy = hy - s.Fig(sources.front()).Y1;
    } else if (!mirror) {
        if (vertical) dy = frame[2] - frame[3] + s.BlockGapY * 1000.0;
        else dx = frame[0] - frame[1] + s.BlockGapX * 1000.0;
    }
    const double axis = vertical ? frame[2] : frame[0];
    std::string drawingName = ToolView(s).DrawingNameText();
    if (drawingName.empty()) drawingName = s.CurrentDrawingName;

    BeginChangeRecordList(s, VerbAdded);
    const std::int32_t first = s.FigureCount + 1;
    for (const std::int32_t src : sources) {
        const std::int32_t b = AppendFigureCopy(s, src);
        TDateRec& r = s.Fig(b);
        if (IsPlotRecord(r)) r.DrawingName = drawingName;
        if (mirror) MirrorFigure(r, vertical, axis);
        else MoveFigure(r, dx, dy);
        if ((IsPlotRecord(r) && r.Kind != fkCurve) || r.Kind == fkEllipse || r.Kind == fkText) NormalizeCorners(s, b);
        UpdateFigureBounds(s, b);
        r.Deleted = 0;
    }
    FinishFigureCopies(s, first);
    // A pasted record keeps the source's own SourceIndex, which the ledger's line carries.
    for (std::size_t k = 0; k < sources.size(); ++k) {
        const std::int32_t b = first + static_cast<std::int32_t>(k);
        s.Fig(b).SourceIndex = s.Fig(sources[k]).SourceIndex;
        if (IsWholePlot(s, sources[k])) AddPlotToChangeRecordList(s, b);
    }
    FinishPaste(s);
}

void PasteCutFigures(TDrawingState& s) {
    const std::vector<std::int32_t> sources = BufferedFigures(s);
    if (sources.empty()) return;
    s.DrawingUnchanged = 0;
    const bool hadSelection = SetSelectionAside(s);
    Trireki& step = PushHistory(s, PasteCutStepLabel);

    double mx = 9999999999999.0, my = 9999999999999.0;
    for (const std::int32_t i : sources) {
        mx = std::min(mx, s.Fig(i).BoxX1);
        my = std::min(my, s.Fig(i).BoxY1);
    }
    const auto [tx, ty] = hadSelection ? std::pair{s.DrawPointBuffer[0], s.DrawPointBuffer[2]} : HoverPoint(s);
    const double dx = tx - mx, dy = ty - my;

    BeginChangeRecordList(s, VerbAdded);
    for (const std::int32_t i : sources) {
        TDateRec& r = s.Fig(i);
        AppendGeometryToHistory(step.Data, i, r);
        MoveFigure(r, dx, dy);
        UpdateFigureBounds(s, i);
        r.Selected = 1;
        r.Deleted = 0;
        if (IsWholePlot(s, i)) {
            AddPlotToChangeRecordList(s, i);
            s.LedgerUnchanged = 0;
        }
    }
    FinishPaste(s);
}

void DeleteSelectedFigures(TDrawingState& s, bool recordStep) {
    const std::vector<std::int32_t> entries = ListedFigures(s);
    if (entries.empty()) return;
    if (!ConfirmRemoval(s, entries, "削除")) return;

    BeginChangeRecordList(s, VerbRemoved);
    THistoryData data;
    for (const std::int32_t i : entries) {
        data.AddNumber(i);
        TDateRec& r = s.Fig(i);
        r.Selected = 0;
        r.Deleted = 1;
        if (IsWholePlot(s, i)) {
            AddPlotToChangeRecordList(s, i);
            s.LedgerUnchanged = 0;
        }
    }
    if (recordStep) PushHistory(s, DeleteStepLabel).Data = std::move(data);
    SendChanges(s, s.Ledger.tuika);
    s.HasSelection = 0;
    s.DrawingUnchanged = 0;
    UpdatePaintCursor(s);
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
}

}  // namespace tarvek
