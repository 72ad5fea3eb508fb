#include "households/shared_ownership.h"

#include <set>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_records.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

void Refuse(TDrawingState& s, const std::string& message) {
    s.Ui.Beep();
    s.SetHelpLine(message);
}

std::string TwoOrMoreMessage(const TDrawingState& s) {
    return "既に檀家の割当てられている２つ以上の" + s.PlotKindWord + "を選択してください。";
}

// Polygons and closed curves carry their pieces along; open curves do not.
bool CarriesPieces(const TDateRec& r) { return r.Kind == fkPolygon || r.Kind == fkClosedCurve; }

// The listed entries whose owner is parent.
std::vector<std::int32_t> ListedPieces(const std::vector<std::int32_t>& entries, const TDrawingState& s,
                                       std::int32_t parent) {
    std::vector<std::int32_t> pieces;
    for (const std::int32_t i : entries)
        if (i != parent && s.Fig(i).OwnerIndex == parent) pieces.push_back(i);
    return pieces;
}

void AddShareEntry(THistoryData& d, std::int32_t index, const TDateRec& r) {
    AppendGeometryToHistory(d, index, r);
    d.AddNumber(r.ShareSetId);
    d.AddFlag(r.SetAside == 0);
}

void Shift(TDateRec& r, double dx, double dy) {
    r.X1 += dx, r.X2 += dx, r.X3 += dx, r.X4 += dx;
    r.Y1 += dy, r.Y2 += dy, r.Y3 += dy, r.Y4 += dy;
    r.Aux1 += dx, r.Aux3 += dx;
    r.Aux2 += dy, r.Aux4 += dy;
}

}  // namespace

bool JoinSharedOwnership(TDrawingState& s) {
    const std::vector<std::int32_t> entries = ListedFigures(s);
    std::vector<std::int32_t> qualifying;
    std::int32_t outside = 0, inSets = 0;
    for (const std::int32_t i : entries) {
        if (!HasHousehold(s.Fig(i)) || GetCompoundOwner(s, i) >= 1) continue;
        qualifying.push_back(i);
        if (s.Fig(i).ShareSetId == 0) ++outside;
        else ++inSets;
    }
    if (inSets == 0 && outside < 2) {
        Refuse(s, TwoOrMoreMessage(s));
        return false;
    }
    if (outside == 0 && inSets > 0) {
        Refuse(s, "既に共有所有に設定されています。");
        return false;
    }

    THistoryData& d = PushHistory(s, "集合を取消し分離させる").Data;
    std::int32_t n = 0;
    for (const std::int32_t i : entries) {
        const TDateRec& r = s.Fig(i);
        if (!HasHousehold(r)) continue;
        AddShareEntry(d, i, r);
        d.AddText(r.PlotNumber);
        if (GetCompoundOwner(s, i) <= 0) ++n;
    }
    if (n < 2) {
        s.HistoryCount -= 1;
        UpdateUndoHint(s);
        Refuse(s, TwoOrMoreMessage(s));
        return false;
    }
    s.LedgerUnchanged = 0;

    const std::int32_t first = qualifying.front();
    const std::int32_t setId = s.Fig(first).PlotId;
    const std::string base = s.Fig(first).PlotNumber.substr(0, s.Fig(first).PlotNumber.find('('));
    const int width = static_cast<int>(IntToStr(n).size());
    TLines list{ChangeRecordHeader(VerbChanged)};
    std::int32_t c = 1;
    for (const std::int32_t i : qualifying) {
        TDateRec& r = s.Fig(i);
        r.ShareSetId = setId;
        r.SetAside = 1;
        if (CarriesPieces(r)) {
            for (const std::int32_t p : ListedPieces(entries, s, i)) {
                s.Fig(p).ShareSetId = setId;
                s.Fig(p).SetAside = 1;
            }
        }
        r.PlotNumber = base + "(" + PadNumber(c++, width, "0") + ")";
        list.push_back(PlotExchangeLine(r));
    }
    SendChanges(s, list);

    const TDateRec& f = s.Fig(first);
    for (const std::int32_t j : qualifying) {
        if (j == first) continue;
        TDateRec& r = s.Fig(j);
        if (CarriesPieces(r)) {
            const double dx = f.X1 - r.X1, dy = f.Y1 - r.Y1;
            Shift(r, dx, dy);
            r.X1 = f.X1, r.Y1 = f.Y1;
            for (const std::int32_t p : ListedPieces(entries, s, j)) {
                Shift(s.Fig(p), dx, dy);
                UpdateFigureBounds(s, p);
            }
            UpdateFigureBounds(s, j);
        } else {
            r.X1 = f.X1, r.Y1 = f.Y1, r.X2 = f.X2, r.Y2 = f.Y2;
            r.X3 = f.X3, r.Y3 = f.Y3, r.X4 = f.X4, r.Y4 = f.Y4;
            r.BoxX1 = f.BoxX1, r.BoxY1 = f.BoxY1, r.BoxX2 = f.BoxX2, r.BoxY2 = f.BoxY2;
        }
    }
    s.Fig(first).SetAside = 0;
    if (CarriesPieces(s.Fig(first)))
        for (const std::int32_t p : ListedPieces(entries, s, first)) s.Fig(p).SetAside = 0;

    for (const std::int32_t i : entries) {
        if (GetCompoundOwner(s, i) >= 1) continue;
        s.CurrentHitIndex = i;
        break;
    }
    ComputeSelectionBounds(s);
    s.Form->RepaintMap();
    UpdateSharedPlotLabels(s, true);
    return true;
}

bool SplitSharedOwnership(TDrawingState& s) {
    const std::vector<std::int32_t> entries = ListedFigures(s);
    bool anyShared = false;
    for (const std::int32_t i : entries) anyShared = anyShared || s.Fig(i).ShareSetId > 0;
    if (!anyShared) {
        Refuse(s, "共有所有されている" + s.PlotKindWord + "ではありません。");
        return false;
    }

    THistoryData& d = PushHistory(s, "分離を取消し集合させる").Data;
    const double step = s.MeshStep * 1000 / 20.0;
    // Pieces are recorded once, before they first move: the pieces of a set's first
    // parent stand before it in the list and are never reached by the walk below.
    std::set<std::int32_t> recorded;
    const auto record = [&](std::int32_t i) {
        if (recorded.insert(i).second) AddShareEntry(d, i, s.Fig(i));
    };
    for (std::size_t q = 0; q < entries.size(); ++q) {
        const std::int32_t set = s.Fig(entries[q]).ShareSetId;
        if (set <= 0 || GetCompoundOwner(s, entries[q]) >= 1) continue;
        std::int32_t k = 0;
        for (std::size_t e = q; e < entries.size(); ++e) {
            const std::int32_t i = entries[e];
            TDateRec& r = s.Fig(i);
            if (r.ShareSetId != set) continue;
            record(i);
            const double by = k * step;
            if (GetCompoundOwner(s, i) < 1) {
                Shift(r, by, by);
                r.BoxX1 += by, r.BoxX2 += by, r.BoxY1 += by, r.BoxY2 += by;
                r.ShareSetId = 0;
                r.SetAside = 0;
            }
            if (CarriesPieces(r)) {
                for (const std::int32_t p : ListedPieces(entries, s, i)) {
                    record(p);
                    TDateRec& piece = s.Fig(p);
                    Shift(piece, by, by);
                    piece.BoxX1 += by, piece.BoxX2 += by, piece.BoxY1 += by, piece.BoxY2 += by;
                    piece.ShareSetId = 0;
                    piece.SetAside = 0;
                }
            }
            ++k;
        }
    }
    RebuildSelectionList(s, true);
    // Closing must ask about the moved records.
    s.DrawingUnchanged = 0;
    s.Form->RepaintMap();
    return true;
}

}  // namespace tarvek
