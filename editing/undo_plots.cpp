// The restores of the steps that changed plot data: grades, plot numbers, household
// assignment (plain, shared, in place of the owner), household reset, and turning
// figures into plots and back. Each tells the ledger what it changed back.
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/selection.h"
#include "editing/undo.h"
#include "editing/undo_rules.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_info.h"
#include "households/plot_records.h"
#include "platform/ui_services.h"

namespace tarvek {

namespace {

TLines ListOf(const char* verb) { return {ChangeRecordHeader(verb)}; }

// Kept inverted by every pusher: 0 was set aside.
std::uint8_t SetAsideFromFlag(std::int64_t flag) { return flag == 0 ? 1 : 0; }

// A household block from field p: HouseName, HeadName, Phone, DistrictName, Address1,
// Address2, PlotRemarks, Grade.
void TakeHouseholdTexts(TDateRec& r, const THistoryData& d, std::size_t p) {
    const auto fields = HouseholdTextFields(r);
    for (std::size_t k = 0; k < fields.size(); ++k) *fields[k] = Txt(d, p + k);
}
constexpr std::string_view HouseholdTexts = "tttttttt";

bool ValidIndices(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "", "i"); }

// ---- Grades and plot numbers --------------------------------------------------------

bool ValidIndexTexts(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "", "it"); }

void RestoreGrades(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    TLines list = ListOf(VerbChanged);
    for (std::size_t p = 0; p < d.Size(); p += 2) {
        const std::int32_t i = Int(d, p);
        s.Fig(i).Grade = Txt(d, p + 1);
        for (const std::int32_t m : CompoundMembers(s, i)) s.Fig(m).Grade = Txt(d, p + 1);
        list.push_back(PlotExchangeLine(s, i));
    }
    SendUndoList(s, list);
}

void RestorePlotNumbers(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    TLines list = ListOf(VerbChanged);
    for (std::size_t p = 0; p < d.Size(); p += 2) {
        const std::int32_t i = Int(d, p);
        s.Fig(i).PlotNumber = Txt(d, p + 1);
        list.push_back(PlotExchangeLine(s, i));
    }
    SendUndoList(s, list);
    bool relabel = false;
    for (std::int32_t k = 1; k <= ListedCount(s) && !relabel; ++k) {
        const std::int32_t i = ListedEntry(s, k);
        relabel = s.ValidIndex(i) && (IsCompoundParent(s.Fig(i)) || s.Fig(i).ShareSetId > 0);
    }
    if (relabel) UpdateSharedPlotLabels(s, false);
}

// ---- Household assignment -----------------------------------------------------------

// An entry of the plain and the replacing assignment, for the plot and each member: what
// the assignment wrote over.
constexpr std::size_t AssignedFields = 15;
bool ValidAssigned(const TDrawingState& s, const THistoryData& d) {
    return !d.Empty() && FitsLayout(s, d, "", std::string("innt") + std::string(HouseholdTexts) + "nnt");
}

void TakeAssigned(TDateRec& r, const THistoryData& d, std::size_t p) {
    r.DistrictId = Int(d, p + 1);
    r.SourceIndex = Int(d, p + 2);
    r.Text = Txt(d, p + 3);
    TakeHouseholdTexts(r, d, p + 4);
    r.SetAside = SetAsideFromFlag(Num(d, p + 12));
    r.ShareSetId = Int(d, p + 13);
    r.FontName = Txt(d, p + 14);
}

void RestorePlainAssignment(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    TLines list = ListOf(VerbChanged);
    for (std::size_t p = 0; p < d.Size(); p += AssignedFields) {
        const std::int32_t i = Int(d, p);
        TakeAssigned(s.Fig(i), d, p);
        if (GetCompoundOwner(s, i) < 1) list.push_back(PlotExchangeLine(s, i));
    }
    SendUndoList(s, list);
}

void RestoreReplacingAssignment(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    for (std::size_t p = 0; p < d.Size(); p += AssignedFields) TakeAssigned(s.Fig(Int(d, p)), d, p);
    // The plot the household went to, not a member of it.
    SendUndoList(s, {ChangeRecordHeader(VerbChanged), PlotExchangeLine(s, Int(d, 0))});
}

// The shared assignment appended the new household's plot (with copies of a compound
// plot's members) and gathered the set.
bool ValidSharedAssignment(const TDrawingState& s, const THistoryData& d) {
    if (!FitsLayout(s, d, "c", "inn") || Num(d, 0) >= s.FigureCount) return false;
    for (std::size_t p = 1; p < d.Size(); p += 3)
        if (Num(d, p) > Num(d, 0)) return false;
    return true;
}

void RestoreSharedAssignment(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    const std::int32_t added = s.FigureCount;
    // The record the ledger was told of: the new plot, the last one appended.
    SendUndoList(s, {ChangeRecordHeader(VerbRemoved), PlotExchangeLine(s, added)});
    DropRecordsAbove(s, Int(d, 0));
    for (std::size_t p = 1; p < d.Size(); p += 3) {
        TDateRec& r = s.Fig(Int(d, p));
        r.ShareSetId = Int(d, p + 1);
        r.SetAside = SetAsideFromFlag(Num(d, p + 2));
        r.Selected = 1;
        s.CurrentHitIndex = Int(d, p);
    }
    RebuildSortedSelectionList(s, run.Search);
    UpdateSharedPlotLabels(s, false);
    s.MaxPlotId -= 1;
    TLines list = ListOf(VerbChanged);
    for (const std::int32_t i : ListedFigures(s))
        if (i != added) list.push_back(PlotExchangeLine(s, i));
    SendUndoList(s, list);
}

// ---- Household reset ----------------------------------------------------------------

void RestoreResetRemoved(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    TLines list = ListOf(VerbAdded);
    for (std::size_t p = 0; p < d.Size(); ++p) {
        const std::int32_t i = Int(d, p);
        TDateRec& r = s.Fig(i);
        r.Deleted = 0;
        r.Selected = 1;
        if (IsCompoundParent(r))
            for (std::int32_t j = 1; j <= s.FigureCount; ++j)
                if (j != i && s.Fig(j).OwnerIndex == i) {
                    s.Fig(j).Deleted = 0;
                    s.Fig(j).Selected = 1;
                }
        list.push_back(PlotExchangeLine(s, i));
    }
    SendUndoList(s, list);
}

constexpr std::size_t ResetFields = 15;
bool ValidReset(const TDrawingState& s, const THistoryData& d) {
    if (!FitsLayout(s, d, "nn", std::string("innnnt") + std::string(HouseholdTexts) + "t")) return false;
    return Num(d, 0) >= 0 && static_cast<std::size_t>(Num(d, 0)) == EntryCount(d, 2, ResetFields);
}

void RestoreReset(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    for (std::size_t p = 2; p < d.Size(); p += ResetFields) {
        const std::int32_t i = Int(d, p);
        TDateRec& r = s.Fig(i);
        r.ShareSetId = Int(d, p + 1);
        r.SetAside = SetAsideFromFlag(Num(d, p + 2));
        r.DistrictId = Int(d, p + 3);
        r.SourceIndex = Int(d, p + 4);
        r.Text = Txt(d, p + 5);
        TakeHouseholdTexts(r, d, p + 6);
        r.PlotNumber = Txt(d, p + 14);
        for (const std::int32_t j : CompoundMembers(s, i)) {
            TDateRec& m = s.Fig(j);
            m.SetAside = r.SetAside;
            m.Text = r.Text;
            m.ShareSetId = r.ShareSetId;
            CopyHouseholdNamesFrom(m, r);
            m.PlotRemarks = r.PlotRemarks;
            // The reset cleared the members' district with their household.
            m.DistrictId = r.DistrictId;
            m.PlotNumber = r.PlotNumber;
        }
    }
    RebuildSortedSelectionList(s, run.Search);
    UpdateSharedPlotLabels(s, false);
    TLines list = ListOf(VerbChanged);
    for (const std::int32_t i : ListedFigures(s)) list.push_back(PlotExchangeLine(s, i));
    SendUndoList(s, list);
    s.CurrentHitIndex = Int(d, 1);
}

// ---- Figures into plots and back ----------------------------------------------------

void OutlineAfterPause(TUndoRun& run, const std::vector<std::int32_t>& figures) {
    TDrawingState& s = run.S;
    s.Ui.Sleep(100);
    std::vector<TMapMark> marks;
    for (const std::int32_t i : figures)
        if (s.ValidIndex(i)) marks.push_back(BoxMark(s.Fig(i)));
    s.Form->MarkUntilRepaint(marks);
}

void ClearPlot(TDateRec& r) {
    r.PlotId = 0;
    r.IsPlot = 0;
}

void RestoreMadePlots(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    TLines list = ListOf(VerbRemoved);
    for (std::size_t p = 0; p < d.Size(); ++p) {
        const std::int32_t i = Int(d, p);
        TDateRec& r = s.Fig(i);
        list.push_back(PlotExchangeLine(s, i));
        ClearPlot(r);
        if (r.Kind == fkPolygon) {
            for (std::int32_t j = i - 1; j >= 1 && s.Fig(j).OwnerIndex == i; --j) ClearPlot(s.Fig(j));
        } else if (r.Kind == fkClosedCurve || r.Kind == fkOpenCurve) {
            for (const std::int32_t m : CompoundMembers(s, i)) ClearPlot(s.Fig(m));
        }
        s.MaxPlotId -= 1;
    }
    SendUndoList(s, list);
}

void OutlineMadePlots(TUndoRun& run, const THistoryData& d) {
    std::vector<std::int32_t> figures;
    for (std::size_t p = 0; p < d.Size(); ++p) figures.push_back(Int(d, p));
    OutlineAfterPause(run, figures);
}

// An entry of the plots turned into figures: index, PlotId, ShareSetId, Text, set-aside
// flag, DistrictId, SourceIndex, the household block, PlotNumber, FontName.
constexpr std::size_t UnmadeFields = 17;
bool ValidUnmadePlots(const TDrawingState& s, const THistoryData& d) {
    return FitsLayout(s, d, "", std::string("innt") + "nnn" + std::string(HouseholdTexts) + "tt");
}

void RestoreUnmadePlots(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    TLines list = ListOf(VerbAdded);
    for (std::size_t p = 0; p < d.Size(); p += UnmadeFields) {
        const std::int32_t i = Int(d, p);
        TDateRec& r = s.Fig(i);
        r.PlotId = Int(d, p + 1);
        r.ShareSetId = Int(d, p + 2);
        r.Text = Txt(d, p + 3);
        r.SetAside = SetAsideFromFlag(Num(d, p + 4));
        r.DistrictId = Int(d, p + 5);
        r.SourceIndex = Int(d, p + 6);
        TakeHouseholdTexts(r, d, p + 7);
        r.PlotNumber = Txt(d, p + 15);
        r.FontName = Txt(d, p + 16);
        r.IsPlot = 1;
        r.Deleted = 0;
        if (GetCompoundOwner(s, i) < 1) list.push_back(PlotExchangeLine(s, i));
        for (const std::int32_t j : CompoundMembers(s, i)) {
            TDateRec& m = s.Fig(j);
            m.SetAside = r.SetAside;
            m.PlotId = r.PlotId;
            m.ShareSetId = r.ShareSetId;
            m.Text = r.Text;
            m.DistrictId = r.DistrictId;
            m.SourceIndex = r.SourceIndex;
            CopyHouseholdNamesFrom(m, r);
            m.PlotRemarks = r.PlotRemarks;
            m.Grade = r.Grade;
            m.PlotNumber = r.PlotNumber;
            m.FontName = r.FontName;
            m.IsPlot = 1;
        }
    }
    SendUndoList(s, list);
    s.Form->RepaintMap();
}

void OutlineUnmadePlots(TUndoRun& run, const THistoryData& d) {
    std::vector<std::int32_t> figures;
    for (std::size_t p = 0; p < d.Size(); p += UnmadeFields) figures.push_back(Int(d, p));
    OutlineAfterPause(run, figures);
}

}  // namespace

TUndoTable PlotUndoRules(const std::string& w) {
    TUndoRule made{ValidIndices, RestoreMadePlots, {}};
    made.Closing = OutlineMadePlots;
    TUndoRule unmade{ValidUnmadePlots, RestoreUnmadePlots, {}};
    unmade.Closing = OutlineUnmadePlots;
    return {
        {"等級割当てを取消し", {ValidIndexTexts, RestoreGrades, {}}},
        {"組番号作成を取消す", {ValidIndexTexts, RestorePlotNumbers, {}}},
        {"檀家セットを取消す", {ValidAssigned, RestorePlainAssignment, {"選択変更を戻す"}}},
        {"檀家リセットを取消す", {ValidIndices, RestoreResetRemoved, {"檀家リセット"}}},
        {"檀家リセット", {ValidReset, RestoreReset, {}}},
        {"檀家セット入替えを取消す", {ValidAssigned, RestoreReplacingAssignment, {}}},
        {"共有データセットを取消す", {ValidSharedAssignment, RestoreSharedAssignment, {}}},
        {"図形の" + w + "化を取消す", made},
        {w + "の図形化を取消す", unmade},
    };
}

}  // namespace tarvek
