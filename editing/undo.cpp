#include "editing/undo.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "editing/undo_rules.h"
#include "households/ledger_exchange.h"
#include "households/plot_info.h"
#include "households/plot_records.h"
#include "households/plot_search.h"
#include "platform/numbers.h"
#include "view/idle.h"
#include "view/zoom.h"

namespace tarvek {

// ---- Reading step data --------------------------------------------------------------

namespace {

bool FieldFits(const TDrawingState& s, const THistoryData& d, std::size_t i, char kind) {
    if (kind == 't') return d.Text(i) != nullptr;
    const std::int64_t* v = d.Number(i);
    if (!v) return false;
    if (kind == 'i') return *v >= 1 && *v <= s.FigureCount;
    if (kind == 'c') return *v >= 0 && *v <= s.FigureCount;
    return true;
}

}  // namespace

bool FieldsFit(const TDrawingState& s, const THistoryData& d, std::size_t first, std::string_view layout) {
    if (first + layout.size() > d.Size()) return false;
    for (std::size_t k = 0; k < layout.size(); ++k)
        if (!FieldFits(s, d, first + k, layout[k])) return false;
    return true;
}

bool FitsLayout(const TDrawingState& s, const THistoryData& d, std::string_view head, std::string_view entry) {
    if (!FieldsFit(s, d, 0, head)) return false;
    if (entry.empty()) return d.Size() == head.size();
    if ((d.Size() - head.size()) % entry.size() != 0) return false;
    for (std::size_t p = head.size(); p < d.Size(); p += entry.size())
        if (!FieldsFit(s, d, p, entry)) return false;
    return true;
}

std::size_t EntryCount(const THistoryData& d, std::size_t head, std::size_t entry) {
    return d.Size() <= head || entry == 0 ? 0 : (d.Size() - head) / entry;
}

// ---- Shared by the restores ---------------------------------------------------------

void SelectRecord(TDrawingState& s, std::int32_t i) {
    if (s.ValidIndex(i)) s.Fig(i).Selected = 1;
}

void SendUndoList(TDrawingState& s, const TLines& list) { SendChanges(s, list); }

bool IsWholePlot(const TDrawingState& s, std::int32_t i) { return IsPlotRecord(s.Fig(i)) && GetCompoundOwner(s, i) < 1; }

void DropRecordsAbove(TDrawingState& s, std::int32_t count) {
    s.FigureCount = count;
    if (s.CurrentHitIndex > count) s.CurrentHitIndex = -1;
    if (s.Ledger.LastSentSelection > count) s.Ledger.LastSentSelection = -1;
    std::vector<std::int32_t>& buffer = s.Tools.PasteBuffer;
    buffer.erase(std::remove_if(buffer.begin(), buffer.end(), [count](std::int32_t i) { return i > count; }),
                 buffer.end());
    s.Tools.ClipboardMode = static_cast<std::int32_t>(buffer.size());
}

// ---- The restores of the view, the pages, the selection and the current attributes ----

namespace {

bool ValidNumber(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "n", ""); }
bool ValidIndices(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "", "i"); }
bool ValidHeadAndIndexValues(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "n", "in"); }

// Entries of (index, value) from field first: each figure takes the value and is selected.
template <class F>
void RestoreEach(TUndoRun& run, const THistoryData& d, std::size_t first, F&& set) {
    for (std::size_t p = first; p + 1 < d.Size(); p += 2) {
        const std::int32_t i = Int(d, p);
        if (!run.S.ValidIndex(i)) continue;
        set(run.S.Fig(i), Num(d, p + 1));
        SelectRecord(run.S, i);
    }
}

void RestoreFont(TUndoRun& run, const THistoryData& d) {
    run.S.CurFontName = Txt(d, 0);
    run.View.ShowFont(run.S.CurFontName);
}

bool ValidAppliedFont(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "", "it"); }
void RestoreAppliedFont(TUndoRun& run, const THistoryData& d) {
    for (std::size_t p = 0; p + 1 < d.Size(); p += 2)
        if (run.S.ValidIndex(Int(d, p))) run.S.Fig(Int(d, p)).FontName = Txt(d, p + 1);
}

bool ValidAppliedAttributes(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "", "innnnn"); }
void RestoreAppliedAttributes(TUndoRun& run, const THistoryData& d) {
    for (std::size_t p = 0; p + 5 < d.Size(); p += 6) {
        if (!run.S.ValidIndex(Int(d, p))) continue;
        TDateRec& r = run.S.Fig(Int(d, p));
        r.PenColor = static_cast<TColor>(Num(d, p + 1));
        r.BrushColor = static_cast<TColor>(Num(d, p + 2));
        r.PenWidth = Int(d, p + 3);
        r.PenStyle = Int(d, p + 4);
        r.BrushStyle = Int(d, p + 5);
    }
}

bool ValidTakenAttributes(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "nnnnn", ""); }
void RestoreTakenAttributes(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    s.CurPenColor = static_cast<TColor>(Num(d, 0));
    s.CurPenStyle = Int(d, 1);
    s.CurPenWidth = Int(d, 2);
    s.CurBrushColor = static_cast<TColor>(Num(d, 3));
    s.CurBrushStyle = Int(d, 4);
    run.View.ShowPenStyle(s.CurPenStyle);
    run.View.ShowPenWidth(s.CurPenWidth - 1);
    run.View.ShowBrushStyle(s.CurBrushStyle);
    for (TSampleList l : {TSampleList::PenStyle, TSampleList::PenWidth, TSampleList::BrushStyle}) run.View.RepaintSamples(l);
}

void RestoreBrushStyle(TUndoRun& run, const THistoryData& d) {
    run.S.CurBrushStyle = Int(d, 0);
    run.View.ShowBrushStyle(run.S.CurBrushStyle);
    RestoreEach(run, d, 1, [](TDateRec& r, std::int64_t v) { r.BrushStyle = static_cast<std::int32_t>(v); });
}

void RestorePenStyle(TUndoRun& run, const THistoryData& d) {
    run.S.CurPenStyle = Int(d, 0);
    run.View.ShowPenStyle(run.S.CurPenStyle);
    RestoreEach(run, d, 1, [](TDateRec& r, std::int64_t v) { r.PenStyle = static_cast<std::int32_t>(v); });
}

void RestoreBrushColor(TUndoRun& run, const THistoryData& d) {
    run.S.CurBrushColor = static_cast<TColor>(Num(d, 0));
    run.View.RepaintSamples(TSampleList::BrushStyle);
    RestoreEach(run, d, 1, [](TDateRec& r, std::int64_t v) { r.BrushColor = static_cast<TColor>(v); });
}

void RestorePenColor(TUndoRun& run, const THistoryData& d) {
    run.S.CurPenColor = static_cast<TColor>(Num(d, 0));
    for (TSampleList l : {TSampleList::BrushStyle, TSampleList::PenStyle, TSampleList::PenWidth}) run.View.RepaintSamples(l);
    RestoreEach(run, d, 1, [](TDateRec& r, std::int64_t v) { r.PenColor = static_cast<TColor>(v); });
}

bool ValidPenWidth(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "nn", "in"); }
void RestorePenWidth(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    s.CurPenWidth = Int(d, 0);
    run.View.ShowPenWidth(s.CurPenWidth - 1);
    s.CurPenStyle = Int(d, 1);
    run.View.ShowPenStyle(s.CurPenStyle);
    // Wide lines are drawn solid: the style list stands at solid meanwhile.
    if (s.CurPenWidth == 1) {
        run.View.SetPenStyleEnabled(true);
    } else {
        run.View.ShowPenStyle(0);
        run.View.SetPenStyleEnabled(false);
        s.CurPenStyle = 0;
    }
    run.View.RepaintSamples(TSampleList::BrushStyle);
    RestoreEach(run, d, 2, [](TDateRec& r, std::int64_t v) { r.PenWidth = static_cast<std::int32_t>(v); });
}

void RestoreNameTextSize(TUndoRun& run, const THistoryData& d) {
    run.S.NameTextSizeCopy = Int(d, 0);
    run.View.ShowNameTextSize(run.S.NameTextSizeCopy);
}

void RestoreDimensionTextSize(TUndoRun& run, const THistoryData& d) {
    run.S.DimensionTextSize = Int(d, 0);
    run.View.ShowDimensionTextSize(run.S.DimensionTextSize);
}

void RestoreSelectionFilter(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    const std::uint8_t recording = s.HistoryRecording;
    s.HistoryRecording = 0;
    run.View.ShowSelectionFilter(Int(d, 0));
    s.HistoryRecording = recording;
    // The next change of the filter records this one as the one before it.
    s.Tools.PreviousSelectionFilter = Int(d, 0);
}

void RestoreOutsideSelection(TUndoRun& run, const THistoryData& d) {
    for (std::size_t p = 0; p < d.Size(); ++p)
        if (run.S.ValidIndex(Int(d, p))) run.S.Fig(Int(d, p)).Selected = 0;
}

bool ValidPage(const TDrawingState& s, const THistoryData& d) {
    return FitsLayout(s, d, "nnnnn", "") && Num(d, 0) >= 0 && Num(d, 0) <= 5;
}
bool ValidView(const TDrawingState& s, const THistoryData& d) {
    return FitsLayout(s, d, "nnnnnnnnn", "") && Num(d, 0) >= 0 && Num(d, 0) <= 5 && Num(d, 7) >= 1 &&
           Num(d, 7) <= 50 && Num(d, 8) >= 1 && Num(d, 8) <= 9;
}

void RestorePageFields(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    const int page = Int(d, 0);
    run.View.ShowPage(page);
    s.PreviousTab = page;
    const int snapItem = Int(d, 2);
    // Check boxes are kept inverted: 0 was ticked.
    run.View.ShowPageSettings(Int(d, 1), snapItem, Num(d, 3) == 0, Num(d, 4) == 0);
    // The mesh list's own handler is not run: what it would set follows its text.
    const std::string mesh = run.View.MeshText();
    const auto step = StrToInt(mesh);
    if (step && *step >= 1) {
        s.MeshStep = *step;
        s.Tools.MoveStep = std::max(1, s.MeshStep / 2);
    }
    if (page == 3) {
        run.View.ShowDrawingPageControls(true);
        s.MeshVisible = step && *step >= 1 ? 1 : 0;
        s.Tools.MeshSnap = snapItem == 0 ? 1 : 0;
        s.CurrentTool = s.PreviousTool;
        UpdatePaintCursor(s);
        s.EditTabActive = 1;
        s.Form->FocusSink();
    } else {
        run.View.ShowDrawingPageControls(false);
        s.MeshVisible = 0;
        s.PreviousTool = s.CurrentTool;
        s.CurrentTool = 0;
        ToolView(s).SetPaintCursor(TToolCursor::Default);
        s.Tools.MeshSnap = 1;
        // Also the editing page: its drawing keys come back with the next page switch.
        s.EditTabActive = 0;
        ResetPointMarkers(s, true);
    }
}

void RestorePage(TUndoRun& run, const THistoryData& d) { RestorePageFields(run, d); }

void RestoreView(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    RestorePageFields(run, d);
    s.Zoom = Int(d, 7);
    s.ZoomStep = Int(d, 8);
    s.Form->SetPaintBoxSize(s.ViewBaseWidth * s.Zoom, s.ViewBaseHeight * s.Zoom);
    s.Form->SetScrollPos(Int(d, 5), Int(d, 6));
}

bool ValidZoom(const TDrawingState& s, const THistoryData& d) {
    return FitsLayout(s, d, "nn", "") && Num(d, 0) >= 1 && Num(d, 0) <= 50 && Num(d, 1) >= 1 && Num(d, 1) <= 9;
}
void RestoreZoom(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    s.Zoom = Int(d, 0);
    s.ZoomStep = Int(d, 1);
    s.Form->SetPaintBoxSize(s.ViewBaseWidth * s.Zoom, s.ViewBaseHeight * s.Zoom);
}

bool ValidScroll(const TDrawingState& s, const THistoryData& d) {
    return FitsLayout(s, d, "nn", "") && Num(d, 0) >= 0 && Num(d, 1) >= 0 && Num(d, 0) <= 1 << 30 &&
           Num(d, 1) <= 1 << 30;
}
void RestoreScroll(TUndoRun& run, const THistoryData& d) { run.S.Form->SetScrollPos(Int(d, 0), Int(d, 1)); }

bool ValidFormSize(const TDrawingState& s, const THistoryData& d) {
    return FitsLayout(s, d, "nn", "") && Num(d, 0) >= 1 && Num(d, 1) >= 1 && Num(d, 0) <= 1 << 20 &&
           Num(d, 1) <= 1 << 20;
}
void RestoreFormSize(TUndoRun& run, const THistoryData& d) {
    // What the window took, not what was asked: a size it does not keep would be a new
    // step at the next idle pass, and taking that back would ask for it again.
    const auto [width, height] = run.View.SetFormSize(Int(d, 0), Int(d, 1));
    run.S.RecordedFormSize = {width, height};
}

// "選択" and "選択解除": the listed figures marked or unmarked, whole figures counted.
int MarkListed(TDrawingState& s, const THistoryData& d, std::size_t first, std::uint8_t value) {
    int count = 0;
    for (std::size_t p = first; p < d.Size(); ++p) {
        const std::int32_t i = Int(d, p);
        if (!s.ValidIndex(i)) continue;
        s.Fig(i).Selected = value;
        if (!IsOwnerKind(s.Fig(i).Kind)) ++count;
    }
    s.HasSelection = 1;
    s.Tools.UndoJustRan = 1;
    return count;
}

bool ValidSelection(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "n", "i"); }
void RestoreSelection(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    s.CurrentHitIndex = Int(d, 0);
    const int count = MarkListed(s, d, 1, 1);
    if (s.Form->ActivePageIndex() >= 3) RebuildSelectionList(s, true);
    else RebuildSortedSelectionList(s, run.Search);
    SendSelectionToLedger(s, run.Search.LedgerLink());
    s.Form->SelectionCountChanged(count);
}

void RestoreDeselection(TUndoRun& run, const THistoryData& d) {
    run.S.Form->SelectionCountChanged(MarkListed(run.S, d, 0, 0));
}

// The current hit is the one copy of its share set shown with its household.
void SetAsideWithMembers(TDrawingState& s, std::int32_t i, std::uint8_t value) {
    s.Fig(i).SetAside = value;
    if (!IsOwnerKind(s.Fig(i).Kind)) return;
    for (std::int32_t j = 1; j <= s.FigureCount; ++j)
        if (j != i && !s.Fig(j).Deleted && s.Fig(j).OwnerIndex == i) s.Fig(j).SetAside = value;
}

void RestoreHitCursor(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    s.SelectedCursor = Int(d, 0);
    const std::int32_t hit = CursorEntry(s);
    if (s.ValidIndex(hit) && s.Fig(hit).ShareSetId > 0) {
        const std::int32_t set = s.Fig(hit).ShareSetId;
        for (std::int32_t k = 1; k <= ListedCount(s); ++k) {
            const std::int32_t i = ListedEntry(s, k);
            if (s.ValidIndex(i) && s.Fig(i).ShareSetId == set) SetAsideWithMembers(s, i, 1);
        }
        SetAsideWithMembers(s, hit, 0);
    }
    SendSelectionToLedger(s, run.Search.LedgerLink());
}

}  // namespace

TUndoTable ViewUndoRules() {
    return {
        {"フォントを戻す", {[](const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "t", ""); },
                            RestoreFont, {}}},
        {"フォントの適応を戻す", {ValidAppliedFont, RestoreAppliedFont, {}}},
        {"色属性の適応を元に戻す", {ValidAppliedAttributes, RestoreAppliedAttributes, {"選択解除"}}},
        {"色属性を元に戻す", {ValidTakenAttributes, RestoreTakenAttributes, {}}},
        {"内部色のスタイルを元に戻す", {ValidHeadAndIndexValues, RestoreBrushStyle, {"選択解除"}}},
        {"線のスタイルを元に戻す", {ValidHeadAndIndexValues, RestorePenStyle, {"選択解除"}}},
        {"内部色を元に戻す", {ValidHeadAndIndexValues, RestoreBrushColor, {"選択解除"}}},
        {"枠線の色を元に戻す", {ValidHeadAndIndexValues, RestorePenColor, {"選択解除"}}},
        {"線の太さを元に戻す", {ValidPenWidth, RestorePenWidth, {"選択解除"}}},
        {"檀家名文字の大きさを戻す", {ValidNumber, RestoreNameTextSize, {}}},
        {"寸法文字の大きさを戻す", {ValidNumber, RestoreDimensionTextSize, {}}},
        {"選択の範囲を戻す", {ValidNumber, RestoreSelectionFilter, {"選択"}}},
        {"外部選択解除", {ValidIndices, RestoreOutsideSelection, {"元の画面に戻す"}}},
        {"タブページを戻す", {ValidPage, RestorePage, {"選択"}}},
        {"元の画面に戻す", {ValidView, RestoreView, {"選択"}}},
        {ZoomStepLabel, {ValidZoom, RestoreZoom, {ScrollStepLabel}}},
        {ScrollStepLabel, {ValidScroll, RestoreScroll, {}}},
        {FormSizeStepLabel, {ValidFormSize, RestoreFormSize, {}}},
        {"選択", {ValidSelection, RestoreSelection, {}}},
        {"選択解除", {ValidIndices, RestoreDeselection, {"選択", "選択解除"}}},
        {HitStepLabel, {ValidNumber, RestoreHitCursor, {}}},
    };
}

// ---- The dispatcher -----------------------------------------------------------------

namespace {

struct TTakenStep {
    std::int32_t Index;
    std::string Label;
    const TUndoRule* Rule;  // none: a label no operation pushes, used up without effect
    THistoryData Data;
};

// Every rule. Each table keeps the order in which the labels are tried; a label's
// partners always come later in it, so one restore never takes back a step its own
// operation pushed after it.
TUndoTable AllRules(const TDrawingState& s) {
    TUndoTable all = ViewUndoRules();
    for (TUndoTable more : {FigureUndoRules(), PlotUndoRules(s.PlotKindWord)})
        all.insert(all.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    return all;
}

const TUndoRule* FindRule(const TUndoTable& table, const std::string& label) {
    for (const auto& [name, rule] : table)
        if (name == label) return &rule;
    return nullptr;
}

bool IsPartner(const TUndoRule* rule, const std::string& below) {
    return rule && std::find(rule->Partners.begin(), rule->Partners.end(), below) != rule->Partners.end();
}

void Fail(TDrawingState& s, const std::string& hint) {
    s.Ui.SetBusyCursor(false);
    s.SetHelpLine(hint);
    s.Ui.Beep();
    s.Ui.MessageDlg(UndoFailedMessage, TMsgDlgType::mtWarning, mbAbort);
    s.Tools.UndoRunning = 0;
}

// The hint after an undo whose last restored label was last.
void ShowNextHint(TDrawingState& s, const std::string& last) {
    if (s.HistoryCount < 1) {
        s.SetHelpLine("次の「Ctrl+Z」はありません。");
        return;
    }
    const std::string& top = s.History[static_cast<std::size_t>(s.HistoryCount)].Label;
    if (top == HistoryStopLabel) {
        s.SetHelpLine("次の「Ctrl+Z」はなし。");
        return;
    }
    const bool previous = (last == "選択" || last == "選択解除") && top == "選択解除";
    s.SetHelpLine("次の「Ctrl+Z」" + (previous ? std::string("前の選択に戻す") : top));
}

}  // namespace

std::vector<std::string> UndoLabels(const TDrawingState& s) {
    std::vector<std::string> labels;
    for (const auto& entry : AllRules(s)) labels.push_back(entry.first);
    return labels;
}

void UndoLast(TDrawingState& s, TPlotSearchView& search, TUndoView& view) {
    TToolState& t = s.Tools;
    if (s.Ledger.LedgerWriteBusy || t.UndoRunning || s.HistoryCount <= 1) return;
    const std::string label = s.History[static_cast<std::size_t>(s.HistoryCount)].Label;
    t.UndoRunning = 1;
    if (label.empty() || label == HistoryStopLabel) {
        s.SetHelpLine(UndoNothingLeftText);
        t.UndoRunning = 0;
        return;
    }

    // The steps this keystroke takes back, known from their labels, and their data, all
    // taken before anything else can run: entry 1 is always the bottom mark.
    const TUndoTable table = AllRules(s);
    std::vector<TTakenStep> steps;
    std::int32_t h = s.HistoryCount;
    steps.push_back({h, label, FindRule(table, label), s.History[static_cast<std::size_t>(h)].Data});
    while (h > 2 && IsPartner(steps.back().Rule, s.History[static_cast<std::size_t>(h - 1)].Label)) {
        --h;
        const Trireki& below = s.History[static_cast<std::size_t>(h)];
        steps.push_back({h, below.Label, FindRule(table, below.Label), below.Data});
    }

    const std::string hintBefore = s.Label3;
    s.SetHelpLine(UndoWorkingText);
    view.ShowWorking();
    s.Ui.SetBusyCursor(true);

    for (const TTakenStep& step : steps)
        if (step.Rule && !step.Rule->Valid(s, step.Data)) {
            Fail(s, hintBefore);
            return;
        }

    TUndoRun run{s, search, view};
    const std::int32_t top = s.HistoryCount;
    try {
        for (const TTakenStep& step : steps) {
            s.HistoryCount = step.Index;
            if (step.Rule) step.Rule->Restore(run, step.Data);
        }
    } catch (const std::exception&) {
        s.HistoryCount = top;
        Fail(s, hintBefore);
        return;
    }

    // The closing work.
    const TTakenStep& last = steps.back();
    s.History[static_cast<std::size_t>(s.HistoryCount)].Label = HistoryStopLabel;
    if (s.HistoryCount >= 1) s.HistoryCount -= 1;
    s.RecordedScrollPos = {s.Form->HorzScrollPos(), s.Form->VertScrollPos()};
    if (last.Label == HitStepLabel) {
        ShowCurrentSearchHit(s, search);
    } else if (s.Form->ActivePageIndex() <= 2) {
        RebuildSortedSelectionList(s, search);
    } else {
        RebuildSelectionList(s, true);
    }
    s.Form->RepaintMap();
    if (last.Rule && last.Rule->Closing) last.Rule->Closing(run, last.Data);
    ShowSelectionSummary(s, search);
    UpdateSelectionCount(s);
    s.Ui.SetBusyCursor(false);
    ShowNextHint(s, last.Label);
    t.UndoRunning = 0;
}

}  // namespace tarvek
