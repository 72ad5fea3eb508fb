#include "households/plot_conversion.h"

#include <algorithm>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_records.h"
#include "households/questions.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

constexpr const char* NothingSelectedMessage = "選択されている図形がありません。";

void Refuse(TDrawingState& s, const std::string& message) {
    s.Ui.Beep();
    s.SetHelpLine(message);
}

// Open figures, texts and groups cannot hold a household; neither can an open curve.
bool NeverAPlot(std::int32_t kind) {
    switch (kind) {
        case fkLine: case fkCurve: case fkDimension: case fkLeader: case fkText: case fkGroup:
            return true;
        default:
            return false;
    }
}

void AddPlotFields(THistoryData& d, std::int32_t index, const TDateRec& r) {
    d.AddNumber(index);
    d.AddNumber(r.PlotId);
    d.AddNumber(r.ShareSetId);
    d.AddText(r.Text);
    d.AddFlag(r.SetAside == 0);
    d.AddNumber(r.DistrictId);
    d.AddNumber(r.SourceIndex);
    AddHouseholdTextFields(d, r);
    d.AddText(r.PlotNumber);
    // Turning a plot back takes the current font too.
    d.AddText(r.FontName);
}

void ShowBoxesAfterPause(TDrawingState& s, const std::vector<std::int32_t>& figures) {
    s.Ui.Sleep(100);
    std::vector<TMapMark> marks;
    for (const std::int32_t i : figures) marks.push_back(BoxMark(s.Fig(i)));
    s.Form->MarkUntilRepaint(marks);
}

}  // namespace

void ResetHouseholdFields(TDrawingState& s, std::int32_t index) {
    TDateRec& r = s.Fig(index);
    r.IsPlot = 0;
    r.PlotId = 0;
    r.SetAside = 0;
    r.ShareSetId = 0;
    ClearHouseholdOfPlot(r);
    r.PlotNumber = "000000";
    r.Grade.clear();
    r.SourceIndex = 0;
    r.FontName = s.CurFontName;
}

namespace {

// Whether the conversion makes entry f a plot of its own with a new key: pieces follow
// their parent, and open figures, texts and groups hold no household. An old drawing's
// kind 11 is left alone: a new key would leave the ledger's one without its plot.
bool TakesNewPlot(const TDrawingState& s, std::int32_t f) {
    const TDateRec& r = s.Fig(f);
    return !NeverAPlot(r.Kind) && r.Kind != fkOpenCurve && GetCompoundOwner(s, f) <= 0 && !IsKeyedPlot(r);
}

}  // namespace

std::int32_t ConvertSelectionToPlots(TDrawingState& s) {
    const std::string& w = s.PlotKindWord;
    if (s.SelectedCount == 0) {
        Refuse(s, NothingSelectedMessage);
        return 0;
    }
    const std::vector<std::int32_t> entries = ListedFigures(s);
    std::int32_t convertible = 0;
    for (const std::int32_t i : entries) {
        const TDateRec& r = s.Fig(i);
        // Pieces count here; their parents are what is converted below.
        if (!IsKeyedPlot(r) && !NeverAPlot(r.Kind) && !IsOwnerKind(r.Kind)) ++convertible;
    }
    if (convertible == 0) {
        Refuse(s, w + "化できる図形がありません。（直線・単独曲線・テキスト・寸法線・引出し線）");
        return 0;
    }

    if (!ReservePlotIds(s, std::count_if(entries.begin(), entries.end(), [&](std::int32_t f) { return TakesNewPlot(s, f); })))
        return 0;

    THistoryData& d = PushHistory(s, "図形の" + w + "化を取消す").Data;
    TLines list{ChangeRecordHeader(VerbAdded)};
    std::vector<std::int32_t> converted;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const std::int32_t f = entries[e];
        TDateRec& r = s.Fig(f);
        if (!TakesNewPlot(s, f)) continue;
        r.PlotId = ++s.MaxPlotId;
        r.IsPlot = 1;
        // A new plot is nobody's, whatever household an old part's kind 11 still names.
        ClearHouseholdOfPlot(r);
        d.AddNumber(f);
        list.push_back(PlotExchangeLine(r));
        converted.push_back(f);
        if (r.Kind == fkPolygon) {
            for (std::size_t p = e; p-- > 0 && s.Fig(entries[p]).OwnerIndex == f;) {
                s.Fig(entries[p]).PlotId = r.PlotId;
                s.Fig(entries[p]).IsPlot = 1;
            }
        } else if (r.Kind == fkClosedCurve) {
            for (const std::int32_t m : CompoundMembers(s, f)) {
                s.Fig(m).PlotId = r.PlotId;
                s.Fig(m).IsPlot = 1;
            }
        }
    }
    SendChanges(s, list);
    s.LedgerUnchanged = 0;
    RebuildSelectionList(s, true);
    s.Form->RepaintMap();
    ShowBoxesAfterPause(s, converted);
    const auto n = static_cast<std::int32_t>(converted.size());
    s.SetHelpLine(IntToStr(n) + "個の図形を" + w + "化しました。");
    return n;
}

std::int32_t ConvertSelectionToFigures(TDrawingState& s) {
    const std::string& w = s.PlotKindWord;
    if (s.SelectedCount == 0) {
        Refuse(s, NothingSelectedMessage);
        return 0;
    }
    const std::vector<std::int32_t> entries = ListedFigures(s);
    std::int32_t plots = 0, owned = 0;
    for (const std::int32_t i : entries) {
        if (!s.Fig(i).IsPlot || GetCompoundOwner(s, i) != -1) continue;
        ++plots;
        if (HasHousehold(s.Fig(i))) ++owned;
    }
    if (plots == 0) {
        Refuse(s, "図形化できる" + w + "がありません。");
        return 0;
    }
    if (owned > 0) {
        const std::string question = "檀家名、割当て済みの" + w + "が" + IntToStr(owned) + "件あります。\r図形化すると、" +
                                     w + "としては削除されます。よいですか？";
        if (Ask(s, question, mbYes | mbNo, TMsgDlgType::mtConfirmation) != mrYes) return 0;
    }

    THistoryData& d = PushHistory(s, w + "の図形化を取消す").Data;
    TLines list{ChangeRecordHeader(VerbRemoved)};
    std::vector<std::int32_t> reset;
    // A set-aside copy whose shown copy is selected too goes with that one, wherever it
    // stands in the list, instead of staying behind as a figure of its own.
    const auto goesWithShownCopy = [&](std::int32_t f) {
        const TDateRec& r = s.Fig(f);
        if (!r.SetAside || r.ShareSetId <= 0) return false;
        for (const std::int32_t c : entries) {
            const TDateRec& o = s.Fig(c);
            if (c != f && !o.Deleted && o.IsPlot && !o.SetAside && o.ShareSetId == r.ShareSetId &&
                GetCompoundOwner(s, c) < 1)
                return true;
        }
        return false;
    };
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const std::int32_t f = entries[e];
        TDateRec& r = s.Fig(f);
        if (!r.IsPlot || r.Kind == fkGroup || GetCompoundOwner(s, f) >= 1 || r.Deleted || goesWithShownCopy(f))
            continue;
        AddPlotFields(d, f, r);
        list.push_back(PlotExchangeLine(r));
        if (r.ShareSetId > 0) {
            // The set-aside copies go with it. Each is kept in the step and, unless a
            // piece, reported removed, so that neither the ledger nor an undo loses it.
            for (const std::int32_t c : entries) {
                TDateRec& copy = s.Fig(c);
                if (c == f || copy.Deleted || copy.ShareSetId != r.ShareSetId || !copy.SetAside) continue;
                AddPlotFields(d, c, copy);
                if (GetCompoundOwner(s, c) < 1) list.push_back(PlotExchangeLine(copy));
                ResetHouseholdFields(s, c);
                copy.Deleted = 1;
                copy.Selected = 0;
            }
        }
        // A set-aside copy selected without its shown copy goes as its fellows would:
        // the ledger hears it removed, so no plain figure may stay under the plot.
        const bool setAside = r.SetAside && r.ShareSetId > 0;
        ResetHouseholdFields(s, f);
        if (setAside) {
            r.Deleted = 1;
            r.Selected = 0;
        }
        if (r.Kind == fkPolygon) {
            for (std::size_t p = e; p-- > 0 && s.Fig(entries[p]).OwnerIndex == f;) ResetHouseholdFields(s, entries[p]);
        } else if (r.Kind == fkClosedCurve || r.Kind == fkOpenCurve) {
            for (const std::int32_t m : CompoundMembers(s, f)) ResetHouseholdFields(s, m);
        }
        reset.push_back(f);
    }
    SendChanges(s, list);
    s.LedgerUnchanged = 0;
    RebuildSelectionList(s, true);
    s.Form->RepaintMap();
    UpdateSharedPlotLabels(s, false);
    ShowBoxesAfterPause(s, reset);
    const auto n = static_cast<std::int32_t>(reset.size());
    s.SetHelpLine(IntToStr(n) + "個の" + w + "を図形化しました。");
    return n;
}

}  // namespace tarvek
