#include "households/assignment.h"

#include <algorithm>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "households/household_search.h"
#include "households/ledger_exchange.h"
#include "households/plot_info.h"
#include "households/plot_records.h"
#include "households/questions.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

// The live plot at the selection cursor, or 0 when the cursor names none: a deleted
// record must not take a household nor reach the ledger as a change.
std::int32_t CurrentPlot(const TDrawingState& s) {
    const std::int32_t i = CursorEntry(s);
    if (!s.ValidIndex(i) || s.Fig(i).Deleted || !IsPlotRecord(s.Fig(i))) return 0;
    return i;
}

// Everything CopyHouseholdToFigure writes over, so that an undo can give it back: index,
// DistrictId, SourceIndex, Text, the household texts, the set-aside flag (inverted),
// ShareSetId, FontName.
void AddAssignedFields(THistoryData& d, std::int32_t index, const TDateRec& r) {
    d.AddNumber(index);
    d.AddNumber(r.DistrictId);
    d.AddNumber(r.SourceIndex);
    d.AddText(r.Text);
    AddHouseholdTextFields(d, r);
    d.AddFlag(r.SetAside == 0);
    d.AddNumber(r.ShareSetId);
    d.AddText(r.FontName);
}

TLines ChangeList(const std::string& verb, const TDateRec& r) {
    return {ChangeRecordHeader(verb), PlotExchangeLine(r)};
}

bool AssignPlainMode(TDrawingState& s, std::int32_t cur) {
    Trireki& step = PushHistory(s, "檀家セットを取消す");
    THistoryData d;
    AddAssignedFields(d, cur, s.Fig(cur));
    CopyHouseholdToFigure(s, cur, 0);
    for (std::int32_t m : CompoundMembers(s, cur)) {
        AddAssignedFields(d, m, s.Fig(m));
        CopyHouseholdToFigure(s, m, 0);
        s.Fig(m).Grade.clear();
    }
    step.Data = std::move(d);
    SendChanges(s, ChangeList("変更", s.Fig(cur)), true);
    return true;
}

bool AssignSharedMode(TDrawingState& s, std::int32_t cur, std::int32_t setId) {
    // A set named 0 would gather every plot that is in no set.
    if (setId < 1) {
        s.Ui.Beep();
        return false;
    }
    // Room for every copy is made before anything changes, so that a full store cannot
    // leave a half-formed set behind; a store full of deleted records is compacted, as
    // for every other record made.
    const auto needed = static_cast<std::int32_t>(CompoundMembers(s, cur).size()) + 1;
    // The copy and its pieces share one new key.
    if (!ReservePlotIds(s, 1)) return false;
    std::int32_t deletedBelow = 0;
    for (std::int32_t i = 1; i < cur; ++i)
        if (s.Fig(i).Deleted) ++deletedBelow;
    const std::int32_t countBefore = s.FigureCount;
    if (!ReserveFigures(s, needed)) return false;
    // The compaction keeps the order of the records it keeps.
    if (s.FigureCount != countBefore) cur -= deletedBelow;
    const std::vector<std::int32_t> members = CompoundMembers(s, cur);

    s.LedgerUnchanged = 0;
    Trireki& step = PushHistory(s, "共有データセットを取消す");
    THistoryData d;
    d.AddNumber(s.FigureCount);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (r.Deleted || (r.PlotId != setId && r.ShareSetId != setId)) continue;
        d.AddNumber(i);
        d.AddNumber(r.ShareSetId);
        d.AddFlag(r.SetAside == 0);
        r.ShareSetId = setId;
        r.SetAside = 1;
    }
    step.Data = std::move(d);

    s.MaxPlotId += 1;
    const std::string grade = s.Fig(cur).Grade;
    const auto appendCopy = [&](std::int32_t from) {
        const std::int32_t n = ++s.FigureCount;
        s.Fig(n) = s.Fig(from);
        s.Fig(n).PlotId = s.MaxPlotId;
        CopyHouseholdToFigure(s, n, setId);
        s.Fig(n).Grade = grade;
        s.Fig(n).SetAside = 0;
        return n;
    };
    std::vector<std::int32_t> memberCopies;
    for (std::int32_t m : members) memberCopies.push_back(appendCopy(m));
    const std::int32_t parent = appendCopy(cur);
    for (std::int32_t m : memberCopies) s.Fig(m).OwnerIndex = parent;
    s.CurrentHitIndex = parent;

    RebuildSortedSelection(s);
    SendChanges(s, ChangeList("追加", s.Fig(parent)), true);
    UpdateSharedPlotLabels(s, true);
    SummariseChangedSets(s);
    return true;
}

bool AssignReplaceMode(TDrawingState& s, std::int32_t cur, std::int32_t setId) {
    Trireki& step = PushHistory(s, "檀家セット入替えを取消す");
    THistoryData d;
    AddAssignedFields(d, cur, s.Fig(cur));
    std::int32_t inSet = 0;
    for (std::int32_t k = 1; k <= ListedCount(s); ++k) {
        const std::int32_t i = s.SelectedList[static_cast<std::size_t>(k)];
        if (s.ValidIndex(i) && s.Fig(i).ShareSetId == setId) ++inSet;
    }
    // A plot that is in no set stays in none.
    if (inSet == 0) setId = 0;
    CopyHouseholdToFigure(s, cur, setId);
    for (std::int32_t m : CompoundMembers(s, cur)) {
        AddAssignedFields(d, m, s.Fig(m));
        CopyHouseholdToFigure(s, m, setId);
        s.Fig(m).Grade = inSet == 0 ? std::string() : s.Fig(cur).Grade;
    }
    s.Form->RepaintMap();
    step.Data = std::move(d);
    SendChanges(s, ChangeList("変更", s.Fig(cur)), true);
    return true;
}

}  // namespace

std::int32_t CountHouseholdUses(const TDrawingState& s, const std::string& id) {
    std::int32_t n = 0;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        if (!r.Deleted && IsPlotRecord(r) && GetCompoundOwner(s, i) <= 0 && r.Text == id) ++n;
    }
    return n;
}

void ReadChosenHouseholdRow(TDrawingState& s, const THouseholdRow& row) {
    TDateRec& h = s.Fig(0);
    CopyHouseholdNames(h, row);
    h.DistrictId = StrToInt(row[7]).value_or(0);
}

void CopyHouseholdToFigure(TDrawingState& s, std::int32_t index, std::int32_t shareSetId) {
    const TDateRec& h = s.Fig(0);
    TDateRec& r = s.Fig(index);
    r.Text = h.Text;
    CopyHouseholdNamesFrom(r, h);
    r.DistrictId = h.DistrictId;
    // The ledger's field 6 has always come from record 1 of the store; kept so.
    r.SourceIndex = s.FigureCount >= 1 ? s.Fig(1).SourceIndex : 0;
    r.SetAside = 0;
    r.ShareSetId = shareSetId;
    r.PlotRemarks.clear();
    r.FontName = s.CurFontName;
}

bool AssignHouseholdToPlot(TDrawingState& s, int mode) {
    const std::int32_t cur = CurrentPlot(s);
    if (cur == 0) return false;
    const TDateRec& plot = s.Fig(cur);
    const auto owner = StrToInt(plot.Text);
    if (!owner) {
        s.Ui.Beep();
        return false;
    }
    const std::int32_t setId = *owner == 0 ? 0 : plot.ShareSetId > 0 ? plot.ShareSetId : plot.PlotId;
    switch (mode) {
        case AssignPlain:
            s.LedgerUnchanged = 0;
            return AssignPlainMode(s, cur);
        case AssignShared:
            return AssignSharedMode(s, cur, setId);
        case AssignReplace:
            s.LedgerUnchanged = 0;
            return AssignReplaceMode(s, cur, setId);
        default:
            return false;
    }
}

void AssignHousehold(TDrawingState& s, THouseholdView& view) {
    const std::int32_t rememberedCursor = s.SelectedCursor;
    if (s.SelectedCount == 0 || CurrentPlot(s) == 0) {
        ShowSelectFirstMessage(s);
        return;
    }
    const THouseholdGrid grid = view.VisibleHouseholdGrid();
    if (grid == THouseholdGrid::Query) {
        view.LeaveHouseholdSearchMode();
        s.SetHelpLine("検索モードでした。検索を解除し檀家全表示にしました。");
        s.Ui.Beep();
        return;
    }

    const std::vector<THouseholdRow>& rows =
        grid == THouseholdGrid::Table ? s.Households : s.HouseholdOps.ResultRows;
    const int row = view.CurrentHouseholdRow();
    const int rowCount = static_cast<int>(rows.size());
    if (row < 1 || row > rowCount) {
        s.Ui.Beep();
        return;
    }
    ReadChosenHouseholdRow(s, rows[static_cast<std::size_t>(row - 1)]);
    const TDateRec& chosen = s.Fig(0);
    // The "合致無し" row, and any ID that is not a number, cannot be assigned.
    if (chosen.Text == NoHouseholdMatch || !StrToInt(chosen.Text)) {
        s.Ui.Beep();
        return;
    }
    const std::int32_t cur = CurrentPlot(s);
    const auto owner = StrToInt(s.Fig(cur).Text);
    if (!owner) {
        s.Ui.Beep();
        return;
    }

    const std::int32_t uses = CountHouseholdUses(s, chosen.Text);
    if (uses > 0) {
        const std::string question = "既に　" + chosen.HeadName + "　は" + IntToStr(uses) +
                                     "件、登録されてます。\r更に" + IntToStr(uses + 1) +
                                     "件目を登録しますか？";
        if (Ask(s, question, mbYes | mbNo) != mrYes) return;
    }

    int mode = AssignPlain;
    if (*owner >= 1) {
        const std::string& w = s.PlotKindWord;
        const std::string question = "既にこの" + w + "には檀家が登録されてます。この" + w +
                                     "を複数檀家による共有所有にしますか？\r\r" +
                                     "　　　　共有使用=[はい] 、 入替え=[いいえ]";
        const int answer = Ask(s, question, mbYes | mbNo | mbCancel);
        if (answer == mrYes) mode = AssignShared;
        else if (answer == mrNo) mode = AssignReplace;
        else return;
    }

    if (!AssignHouseholdToPlot(s, mode)) return;

    if (const std::int32_t now = CurrentPlot(s); now != 0)
        s.LedgerTargetId = StrToInt(s.Fig(now).Text).value_or(0);
    if (mode == AssignPlain) {
        s.SelectedCursor = rememberedCursor;
        if (s.HouseholdOps.SelectNextSearchHit) s.HouseholdOps.SelectNextSearchHit(s);
    }
    if (row < rowCount) view.SetCurrentHouseholdRow(row + 1);
}

TLines UpdateSharedPlotLabels(TDrawingState& s, bool send) {
    TLines list{ChangeRecordHeader("変更")};
    const std::int32_t count = ListedCount(s);
    const auto index = [&](std::int32_t k) { return s.SelectedList[static_cast<std::size_t>(k)]; };
    const auto passToMembers = [&](std::int32_t parent) {
        for (std::int32_t m : CompoundMembers(s, parent)) s.Fig(m).PlotNumber = s.Fig(parent).PlotNumber;
    };
    for (std::int32_t k = 1; k <= count; ++k) {
        if (!s.ValidIndex(index(k))) continue;
        TDateRec& r = s.Fig(index(k));
        if (r.Deleted || !r.Selected) continue;
        const std::string base = r.PlotNumber.substr(0, r.PlotNumber.find('('));
        const std::int32_t set = r.ShareSetId;
        if (set <= 0) {
            r.PlotNumber = base;
            passToMembers(index(k));
            continue;
        }
        std::vector<std::int32_t> copies;  // the set's entries from k on, in list order
        std::int32_t n = 0;
        for (std::int32_t j = k; j <= count; ++j) {
            const std::int32_t i = index(j);
            if (!s.ValidIndex(i) || s.Fig(i).Deleted || s.Fig(i).ShareSetId != set) continue;
            copies.push_back(i);
            if (GetCompoundOwner(s, i) <= 0) ++n;
        }
        const int width = static_cast<int>(IntToStr(n).size());
        std::int32_t c = 1;
        for (const std::int32_t i : copies) {
            TDateRec& e = s.Fig(i);
            e.PlotNumber = base + "(" + PadNumber(c, width, "0") + ")";
            list.push_back(PlotExchangeLine(e));
            // Deselected, so that the outer loop does not number the set twice.
            e.Selected = 0;
            passToMembers(i);
            if (GetCompoundOwner(s, i) <= 0) ++c;
        }
    }
    if (send) SendChanges(s, list, false);
    for (std::int32_t k = 1; k <= count; ++k)
        if (s.ValidIndex(index(k))) s.Fig(index(k)).Selected = 1;
    s.LedgerUnchanged = 0;
    return list;
}

void ShowHouseholdFields(TDrawingState& s, THouseholdView& view, std::int32_t index) {
    if (index < 0) {
        view.ShowHouseholdFields({});
        return;
    }
    if (!s.ValidIndex(index)) return;
    const TDateRec& r = s.Fig(index);
    if (!IsPlotRecord(r)) return;
    view.ShowHouseholdFields({r.PlotNumber, r.HouseName, r.HeadName, r.Phone, r.DistrictName, r.Address1,
                              r.Address2, r.PlotRemarks, r.Grade});
}

}  // namespace tarvek
