#include "households/household_reset.h"

#include <cstdint>
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

void AddResetFields(THistoryData& d, std::int32_t index, const TDateRec& r) {
    d.AddNumber(index);
    d.AddNumber(r.ShareSetId);
    d.AddFlag(r.SetAside == 0);
    d.AddNumber(r.DistrictId);
    d.AddNumber(r.SourceIndex);
    d.AddText(r.Text);
    AddHouseholdTextFields(d, r);
    // The reset relabels a set it splits; the undo gives the labels back with the set.
    d.AddText(r.PlotNumber);
}

void Remove(TDateRec& r) {
    r.Deleted = 1;
    r.Selected = 0;
    r.SetAside = 0;
}

}  // namespace

bool ResetSelectedHouseholds(TDrawingState& s) {
    s.Form->FocusSink();
    const std::int32_t count = ListedCount(s);
    std::vector<std::int32_t> entries, positions;  // the valid entries, in list order
    for (std::int32_t k = 1; k <= count; ++k) {
        if (!s.ValidIndex(ListedEntry(s, k))) continue;
        entries.push_back(ListedEntry(s, k));
        positions.push_back(k);
    }

    // A set holds a compound plot as the shared assignment made it: the parent with its
    // pieces as one record. Counted piece by piece, a set of two compound plots never
    // came down to two, the copy left over stayed set aside, out of sight, and the
    // question named every edge of a polygon.
    std::vector<std::uint8_t> listed(static_cast<std::size_t>(s.FigureCount) + 1, 0);
    for (const std::int32_t i : entries) listed[static_cast<std::size_t>(i)] = 1;
    const auto pieceOf = [&](std::int32_t i) { return GetCompoundOwner(s, i) > 0; };
    // A listed piece stands for no copy of its own: its listed parent does.
    const auto listedOwner = [&](std::int32_t i) {
        const std::int32_t owner = GetCompoundOwner(s, i);
        return owner > 0 && owner <= s.FigureCount && listed[static_cast<std::size_t>(owner)] &&
                       !s.Fig(owner).Deleted
                   ? owner
                   : 0;
    };
    // A piece whose parent the reset takes goes with its parent.
    const auto goesWithOwner = [&](std::int32_t i) {
        const std::int32_t owner = listedOwner(i);
        return owner > 0 && HasHousehold(s.Fig(owner)) && !s.Fig(owner).SetAside;
    };

    std::int32_t shown = 0, owned = 0;
    for (const std::int32_t i : entries) {
        if (!HasHousehold(s.Fig(i))) continue;
        ++owned;
        if (!s.Fig(i).SetAside && !goesWithOwner(i)) ++shown;
    }
    if (shown == 0) {
        s.Ui.Beep();
        return false;
    }
    const std::string question = IntToStr(shown) + "個の選択されている" + s.PlotKindWord +
                                 "に割り当てた檀家名が初期化されます\rよろしいですか？";
    if (Ask(s, question, mbYes | mbNo) != mrYes) return false;

    {
        THistoryData& d = PushHistory(s, "檀家リセット").Data;
        d.AddNumber(owned);
        d.AddNumber(s.CurrentHitIndex);
        for (const std::int32_t i : entries)
            if (HasHousehold(s.Fig(i))) AddResetFields(d, i, s.Fig(i));
    }
    Trireki& removedStep = PushHistory(s, "檀家リセットを取消す");
    THistoryData removedData;

    // The set each entry was in before the reset: a survivor that leaves its set is still
    // the copy the cursor falls back to.
    std::vector<std::int32_t> setBefore;
    for (const std::int32_t i : entries) setBefore.push_back(s.Fig(i).ShareSetId);
    const std::int32_t current = CursorEntry(s);

    TLines removedList{ChangeRecordHeader(VerbRemoved)};
    const auto inSet = [&](std::int32_t set) {
        std::int32_t c = 0;
        for (const std::int32_t i : entries)
            if (s.Fig(i).ShareSetId == set && !pieceOf(i)) ++c;
        return c;
    };
    for (const std::int32_t i : entries) {
        TDateRec& r = s.Fig(i);
        if (!HasHousehold(r) || r.SetAside) continue;
        if (goesWithOwner(i)) continue;
        const std::int32_t set = r.ShareSetId;
        ClearHouseholdOfPlot(r);
        r.SetAside = 1;
        const std::vector<std::int32_t> members = CompoundMembers(s, i);
        for (const std::int32_t m : members) {
            ClearHouseholdOfPlot(s.Fig(m));
            s.Fig(m).ShareSetId = 0;
            s.Fig(m).SetAside = 0;
        }
        if (set <= 0) continue;
        const std::int32_t c = inSet(set);
        if (c > 1) {
            Remove(r);
            removedList.push_back(PlotExchangeLine(r));
            removedData.AddNumber(i);
            for (const std::int32_t m : members) Remove(s.Fig(m));
        }
        if (c == 2) {
            for (const std::int32_t j : entries) {
                if (s.Fig(j).ShareSetId != set || s.Fig(j).Deleted || pieceOf(j)) continue;
                s.Fig(j).ShareSetId = 0;
                for (const std::int32_t m : CompoundMembers(s, j)) s.Fig(m).ShareSetId = 0;
                break;
            }
        }
    }
    removedStep.Data = std::move(removedData);
    SendChanges(s, removedList);

    // One copy of each set stays shown: the first one still listed, its pieces with it;
    // the later copies are set aside with theirs. A listed piece is no copy: the first
    // edge of a polygon would hide its own polygon and every copy after it. The pieces
    // of the listed parents are gathered in one pass over the store.
    std::vector<std::int32_t> parentSlot(static_cast<std::size_t>(s.FigureCount) + 1, -1);
    std::vector<std::vector<std::int32_t>> pieces;
    for (const std::int32_t i : entries) {
        std::int32_t& slot = parentSlot[static_cast<std::size_t>(i)];
        if (slot >= 0 || !IsCompoundParent(s.Fig(i))) continue;
        slot = static_cast<std::int32_t>(pieces.size());
        pieces.emplace_back();
    }
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const std::int32_t owner = s.Fig(i).OwnerIndex;
        if (s.Fig(i).Deleted || owner == i || !s.ValidIndex(owner)) continue;
        if (const std::int32_t slot = parentSlot[static_cast<std::size_t>(owner)]; slot >= 0)
            pieces[static_cast<std::size_t>(slot)].push_back(i);
    }
    const auto setAside = [&](std::int32_t i, std::uint8_t flag) {
        s.Fig(i).SetAside = flag;
        if (const std::int32_t slot = parentSlot[static_cast<std::size_t>(i)]; slot >= 0)
            for (const std::int32_t m : pieces[static_cast<std::size_t>(slot)]) s.Fig(m).SetAside = flag;
    };
    for (std::size_t e = 0; e < entries.size(); ++e) {
        TDateRec& r = s.Fig(entries[e]);
        if (r.Deleted || !r.Selected || listedOwner(entries[e]) > 0) continue;
        setAside(entries[e], 0);
        if (r.ShareSetId <= 0) continue;
        for (std::size_t later = e + 1; later < entries.size(); ++later) {
            TDateRec& o = s.Fig(entries[later]);
            if (o.Deleted || o.ShareSetId != r.ShareSetId || listedOwner(entries[later]) > 0) continue;
            setAside(entries[later], 1);
            o.Selected = 0;
        }
    }
    for (const std::int32_t i : entries)
        if (!s.Fig(i).Deleted) s.Fig(i).Selected = 1;

    // A removed current copy hands the cursor, and the current hit, to the last copy of
    // its set still there; the rebuild below keeps the cursor on the current hit.
    if (s.ValidIndex(current) && s.Fig(current).Deleted) {
        std::int32_t set = 0;
        for (std::size_t e = 0; e < entries.size(); ++e)
            if (entries[e] == current) set = setBefore[e];
        for (std::size_t e = entries.size(); e-- > 0;) {
            if (s.Fig(entries[e]).Deleted || setBefore[e] != set || set <= 0 || listedOwner(entries[e]) > 0)
                continue;
            s.SelectedCursor = positions[e];
            s.CurrentHitIndex = entries[e];
            break;
        }
    }

    RebuildSortedSelection(s);
    UpdateSharedPlotLabels(s, false);
    SummariseChangedSets(s);

    TLines changed{ChangeRecordHeader(VerbChanged)};
    for (const std::int32_t i : ListedFigures(s)) changed.push_back(PlotExchangeLine(s, i));
    SendChanges(s, changed);
    s.LedgerUnchanged = 0;
    return true;
}

}  // namespace tarvek
