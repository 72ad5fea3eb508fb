// The restores of the steps that changed figures: creating, copying, pasting and loading
// them, their geometry, joins, deleting and cutting, the drawing order, groups, the
// drawing range, keyboard nudges and the direction of household names.
#include <algorithm>
#include <limits>
#include <unordered_map>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/part_file.h"
#include "document/selection.h"
#include "editing/clipboard.h"
#include "editing/drawing_range.h"
#include "editing/join_curves.h"
#include "editing/move_transform.h"
#include "editing/rotation.h"
#include "editing/arrange.h"
#include "editing/figure_creation.h"
#include "editing/undo.h"
#include "editing/undo_rules.h"
#include "households/ledger_exchange.h"

namespace tarvek {

namespace {

// The geometry entry: index, X1, Y1 .. X4, Y4, BoxX1 .. BoxY2, Aux1 .. Aux4.
constexpr std::string_view GeometryEntry = "innnnnnnnnnnnnnnn";
constexpr std::size_t GeometryFields = 17;

void TakeGeometry(TDateRec& r, const THistoryData& d, std::size_t p) {
    double* const fields[] = {&r.X1,    &r.Y1,    &r.X2,    &r.Y2,    &r.X3, &r.Y3, &r.X4, &r.Y4,
                              &r.BoxX1, &r.BoxY1, &r.BoxX2, &r.BoxY2, &r.Aux1, &r.Aux2, &r.Aux3, &r.Aux4};
    for (std::size_t k = 0; k < 16; ++k) *fields[k] = static_cast<double>(Num(d, p + 1 + k));
}

TLines ListOf(const char* verb) { return {ChangeRecordHeader(verb)}; }

// ---- Creation family: the records the operation appended drop out -------------------

void DropAppended(TDrawingState& s, std::int32_t n, const std::vector<std::int32_t>* announced = nullptr) {
    const std::int32_t first = s.FigureCount - n + 1;
    TLines list = ListOf(VerbRemoved);
    for (std::int32_t i = first; i <= s.FigureCount; ++i) {
        const bool told = announced ? std::find(announced->begin(), announced->end(), i) != announced->end()
                                    : IsWholePlot(s, i);
        if (!told) continue;
        s.MaxPlotId -= 1;
        list.push_back(PlotExchangeLine(s, i));
    }
    DropRecordsAbove(s, first - 1);
    SendUndoList(s, list);
}

bool ValidCreation(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "c", ""); }
void RestoreCreation(TUndoRun& run, const THistoryData& d) { DropAppended(run.S, Int(d, 0)); }
void RestoreCopies(TUndoRun& run, const THistoryData& d) {
    DropAppended(run.S, Int(d, 0));
    // The selection brought back goes to the ledger again.
    run.S.Ledger.LastSentSelection = -1;
}

// A part load keeps, after its count, the records it announced to the ledger.
bool ValidPartLoad(const TDrawingState& s, const THistoryData& d) {
    if (!FitsLayout(s, d, "c", "i")) return false;
    for (std::size_t p = 1; p < d.Size(); ++p)
        if (Num(d, p) <= s.FigureCount - Num(d, 0)) return false;
    return true;
}
void RestorePartLoad(TUndoRun& run, const THistoryData& d) {
    std::vector<std::int32_t> announced;
    for (std::size_t p = 1; p < d.Size(); ++p) announced.push_back(Int(d, p));
    DropAppended(run.S, Int(d, 0), &announced);
}

// ---- Geometry family ----------------------------------------------------------------

bool ValidGeometryWith(const TDrawingState& s, const THistoryData& d, std::string_view extra) {
    return FitsLayout(s, d, "", std::string(GeometryEntry) + std::string(extra));
}

bool ValidGeometry(const TDrawingState& s, const THistoryData& d) { return ValidGeometryWith(s, d, ""); }

void RestoreGeometry(TUndoRun& run, const THistoryData& d) {
    for (std::size_t p = 0; p < d.Size(); p += GeometryFields) TakeGeometry(run.S.Fig(Int(d, p)), d, p);
}

// Moves, reshapes and turns also keep each figure's SourceIndex, which they overwrite.
constexpr std::size_t MovedFields = GeometryFields + 1;
bool ValidMoved(const TDrawingState& s, const THistoryData& d) { return ValidGeometryWith(s, d, "n"); }
void RestoreMoved(TUndoRun& run, const THistoryData& d) {
    for (std::size_t p = 0; p < d.Size(); p += MovedFields) {
        TDateRec& r = run.S.Fig(Int(d, p));
        TakeGeometry(r, d, p);
        r.SourceIndex = Int(d, p + 17);
    }
}

// The paste of a cut: the figures go back to where they were cut, and are cut again.
void RestorePastedCut(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    TLines list = ListOf(VerbRemoved);
    std::vector<std::int32_t> cut;
    for (std::size_t p = 0; p < d.Size(); p += GeometryFields) {
        const std::int32_t i = Int(d, p);
        TDateRec& r = s.Fig(i);
        TakeGeometry(r, d, p);
        r.Selected = 0;
        r.Deleted = 1;
        cut.push_back(i);
        if (IsWholePlot(s, i)) list.push_back(PlotExchangeLine(s, i));
    }
    SendUndoList(s, list);
    // The buffer holds the cut figures again, as after the cut: the next Ctrl+V brings
    // them back, it never copies figures that are deleted.
    s.Tools.PasteBuffer = cut;
    s.Tools.ClipboardMode = static_cast<std::int32_t>(cut.size());
    s.Tools.PasteBufferCut = 1;
    s.Tools.CutMode = 1;
}

constexpr std::size_t SplitFields = GeometryFields + 2;
bool ValidSplit(const TDrawingState& s, const THistoryData& d) { return ValidGeometryWith(s, d, "nn"); }
void RestoreSplit(TUndoRun& run, const THistoryData& d) {
    for (std::size_t p = 0; p < d.Size(); p += SplitFields) {
        TDateRec& r = run.S.Fig(Int(d, p));
        TakeGeometry(r, d, p);
        r.ShareSetId = Int(d, p + 17);
        r.SetAside = Num(d, p + 18) == 0 ? 1 : 0;  // kept inverted
    }
}

constexpr std::size_t JoinSetFields = GeometryFields + 3;
bool ValidJoinedSet(const TDrawingState& s, const THistoryData& d) { return ValidGeometryWith(s, d, "nnt"); }
void RestoreJoinedSet(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    TLines list = ListOf(VerbChanged);
    for (std::size_t p = 0; p < d.Size(); p += JoinSetFields) {
        const std::int32_t i = Int(d, p);
        TDateRec& r = s.Fig(i);
        TakeGeometry(r, d, p);
        r.ShareSetId = Int(d, p + 17);
        r.SetAside = Num(d, p + 18) == 0 ? 1 : 0;
        r.PlotNumber = Txt(d, p + 19);
        if (GetCompoundOwner(s, i) < 1) list.push_back(PlotExchangeLine(s, i));
    }
    SendUndoList(s, list);
}

// ---- Joins: every record back in its slot, with its kind and attributes -------------

constexpr std::size_t JoinFields = JoinStepEntryFields + 1;  // an entry and its slot's source

template <int Appended>
bool ValidJoin(const TDrawingState& s, const THistoryData& d) {
    if (d.Size() == 0 || d.Size() % JoinFields != 0) return false;
    const std::size_t n = d.Size() / JoinFields;
    std::vector<std::int32_t> slots, sources;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t p = k * JoinStepEntryFields;
        if (!FieldsFit(s, d, p, std::string(GeometryEntry) + "nn")) return false;
        if (Num(d, p) > s.FigureCount - Appended) return false;
        slots.push_back(Int(d, p));
    }
    for (std::size_t k = 0; k < n; ++k) {
        if (!d.Number(n * JoinStepEntryFields + k)) return false;
        sources.push_back(Int(d, n * JoinStepEntryFields + k));
    }
    std::sort(slots.begin(), slots.end());
    std::sort(sources.begin(), sources.end());
    return slots == sources && std::adjacent_find(slots.begin(), slots.end()) == slots.end();
}

template <int Appended>
void RestoreJoin(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    const std::size_t n = d.Size() / JoinFields;
    // Slot k holds the record the path order took from slot source(k).
    std::vector<TDateRec> held;
    for (std::size_t k = 0; k < n; ++k) held.push_back(s.Fig(Int(d, k * JoinStepEntryFields)));
    std::unordered_map<std::int32_t, std::size_t> entryOf;
    for (std::size_t k = 0; k < n; ++k) entryOf[Int(d, k * JoinStepEntryFields)] = k * JoinStepEntryFields;
    for (std::size_t k = 0; k < n; ++k) {
        const std::int32_t source = Int(d, n * JoinStepEntryFields + k);
        const std::size_t p = entryOf.at(source);
        TDateRec r = held[k];
        TakeGeometry(r, d, p);
        r.OwnerIndex = Int(d, p + 17);
        r.Kind = Int(d, p + 18);
        r.Selected = 1;
        s.Fig(source) = std::move(r);
    }
    // The parents the join dissolved come back, up to the first one it left alone.
    for (std::size_t k = 0; k < n; ++k) {
        std::int32_t owner = s.Fig(Int(d, k * JoinStepEntryFields)).OwnerIndex;
        for (std::int32_t steps = 0; s.ValidIndex(owner) && steps < s.FigureCount; ++steps) {
            TDateRec& o = s.Fig(owner);
            const bool dissolved = o.Deleted != 0;
            o.Deleted = 0;
            o.Selected = 1;
            if (!dissolved) break;
            owner = o.OwnerIndex;
        }
    }
    DropRecordsAbove(s, s.FigureCount - Appended);
}

// ---- Deletion family ----------------------------------------------------------------

// Indices up to the end, or up to the first negative one.
std::size_t ListedUntilNegative(const THistoryData& d) {
    std::size_t n = 0;
    while (n < d.Size() && d.Number(n) && *d.Number(n) >= 0) ++n;
    return n;
}

bool ValidRemoved(const TDrawingState& s, const THistoryData& d) {
    const std::size_t n = ListedUntilNegative(d);
    if (n < d.Size() && !d.Number(n)) return false;
    return FieldsFit(s, d, 0, std::string(n, 'i'));
}

void BringBack(TDrawingState& s, const THistoryData& d) {
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) s.Fig(i).Selected = 0;
    TLines list = ListOf(VerbAdded);
    const std::size_t n = ListedUntilNegative(d);
    for (std::size_t p = 0; p < n; ++p) {
        const std::int32_t i = Int(d, p);
        s.Fig(i).Deleted = 0;
        s.Fig(i).Selected = 1;
        if (IsWholePlot(s, i)) list.push_back(PlotExchangeLine(s, i));
    }
    SendUndoList(s, list);
    RebuildSelectionList(s, false);
}

void RestoreDeleted(TUndoRun& run, const THistoryData& d) { BringBack(run.S, d); }

void RestoreCut(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    BringBack(s, d);
    // The buffer held these figures as cut ones; live again, a paste would bring them
    // "back" a second time and tell the ledger of plots it already has.
    if (s.Tools.PasteBufferCut) {
        s.Tools.PasteBuffer.clear();
        s.Tools.ClipboardMode = 0;
        s.Tools.PasteBufferCut = 0;
        s.Tools.CutMode = 0;
    }
}

// ---- Household-name direction -------------------------------------------------------

bool ValidNameTurn(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "", "innnnnnnnn"); }
void RestoreNameTurn(TUndoRun& run, const THistoryData& d) {
    for (std::size_t p = 0; p < d.Size(); p += 10) {
        TDateRec& r = run.S.Fig(Int(d, p));
        double* const points[] = {&r.X1, &r.Y1, &r.X2, &r.Y2, &r.X3, &r.Y3, &r.X4, &r.Y4};
        for (std::size_t k = 0; k < 8; ++k) *points[k] = static_cast<double>(Num(d, p + 1 + k));
        if (r.Kind == fkText) r.Aux1 = static_cast<double>(Num(d, p + 9));
    }
}

// ---- Drawing order ------------------------------------------------------------------

// What names records (the current hit, the plot last shown to the ledger, the paste
// buffer) follows them back, as the order buttons made it follow them there.
template <class F>
void RepointBack(TDrawingState& s, F map) {
    if (s.CurrentHitIndex > 0) s.CurrentHitIndex = map(s.CurrentHitIndex);
    if (s.Ledger.LastSentSelection > 0) s.Ledger.LastSentSelection = map(s.Ledger.LastSentSelection);
    for (std::int32_t& i : s.Tools.PasteBuffer)
        if (i > 0) i = map(i);
}

// "前移動": the copies appended at the end go, the originals come back.
bool ValidBroughtToFront(const TDrawingState& s, const THistoryData& d) {
    if (!FitsLayout(s, d, "c", "i")) return false;
    for (std::size_t p = 1; p < d.Size(); ++p)
        if (Num(d, p) > Num(d, 0)) return false;
    return d.Size() - 1 <= static_cast<std::size_t>(s.FigureCount - Num(d, 0));
}
void RestoreBroughtToFront(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    const std::int32_t before = Int(d, 0);
    RepointBack(s, [&](std::int32_t i) {
        const std::int64_t k = static_cast<std::int64_t>(i) - before;  // copy k of the listed records
        return k >= 1 && static_cast<std::size_t>(k) < d.Size() ? Int(d, static_cast<std::size_t>(k)) : i;
    });
    s.FigureCount = before;
    for (std::size_t p = 1; p < d.Size(); ++p) {
        s.Fig(Int(d, p)).Deleted = 0;
        SelectRecord(s, Int(d, p));
    }
}

// "後移動": every record moves back down by n, the copies in front go.
bool ValidSentToBack(const TDrawingState& s, const THistoryData& d) {
    if (d.Empty() || !d.Number(0)) return false;
    const std::int64_t n = Num(d, 0);
    if (n < 0 || n > s.FigureCount || d.Size() - 1 > static_cast<std::size_t>(n)) return false;
    for (std::size_t p = 1; p < d.Size(); ++p) {
        const std::int64_t* i = d.Number(p);
        if (!i || *i - n < 1 || *i - n > s.FigureCount - n) return false;
    }
    return true;
}
void RestoreSentToBack(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    const std::int32_t n = Int(d, 0);
    // Front slot k held the k-th of the moved records in store order.
    std::vector<std::int32_t> moved;
    for (std::size_t p = 1; p < d.Size(); ++p) moved.push_back(Int(d, p) - n);
    std::sort(moved.begin(), moved.end());
    RepointBack(s, [&](std::int32_t i) {
        if (i <= n) return i >= 1 && static_cast<std::size_t>(i) <= moved.size() ? moved[static_cast<std::size_t>(i - 1)] : i;
        return i - n;
    });
    s.FigureCount -= n;
    for (std::int32_t h = 1; h <= s.FigureCount; ++h) s.Fig(h) = s.Fig(h + n);
    for (const std::int32_t i : moved) {
        s.Fig(i).Deleted = 0;
        SelectRecord(s, i);
    }
    for (std::int32_t h = s.FigureCount + 1; h <= s.FigureCount + n; ++h) s.Fig(h).OwnerIndex = 0;
    // The operation added n to every owner link: all of them, whatever the owner's kind.
    for (std::int32_t h = 1; h <= s.FigureCount; ++h)
        if (s.Fig(h).OwnerIndex > 0) s.Fig(h).OwnerIndex = std::max(0, s.Fig(h).OwnerIndex - n);
}

// ---- Groups -------------------------------------------------------------------------

bool ValidUngrouped(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "i", "i"); }
void RestoreUngrouped(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    const std::int32_t group = Int(d, 0);
    s.Fig(group).Deleted = 0;
    SelectRecord(s, group);
    for (std::size_t p = 1; p < d.Size(); ++p) s.Fig(Int(d, p)).OwnerIndex = group;
}

// The group is the last record.
bool ValidGrouped(const TDrawingState& s, const THistoryData& d) {
    return d.Empty() && s.FigureCount >= 1 && s.Fig(s.FigureCount).Kind == fkGroup;
}
void RestoreGrouped(TUndoRun& run, const THistoryData&) {
    TDrawingState& s = run.S;
    for (std::int32_t i = 1; i < s.FigureCount; ++i)
        if (s.Fig(i).OwnerIndex == s.FigureCount) s.Fig(i).OwnerIndex = 0;
    DropRecordsAbove(s, s.FigureCount - 1);
}

// ---- Drawing range and keyboard nudge -----------------------------------------------

// The paper's size, then the sizes that follow the range as they were before it.
bool ValidRange(const TDrawingState& s, const THistoryData& d) {
    if (!FitsLayout(s, d, "nnnnnn", "")) return false;
    // A paper of some pixels; the sizes as they were, whatever 32 bits held (the dialog
    // takes any plot size, a settings file any dimension size).
    for (std::size_t p = 0; p < 2; ++p)
        if (Num(d, p) < 1 || Num(d, p) > 1 << 24) return false;
    for (std::size_t p = 2; p < 6; ++p)
        if (Num(d, p) < std::numeric_limits<std::int32_t>::min() || Num(d, p) > std::numeric_limits<std::int32_t>::max())
            return false;
    return true;
}
void TakeRangeSizes(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    s.BlockUnitWidth = Int(d, 2);
    s.BlockUnitHeight = Int(d, 3);
    s.DimensionTextSize = Int(d, 4);
    s.Tools.TextSize = Int(d, 5);
    run.View.ShowDimensionTextSize(s.DimensionTextSize);
}
void RestoreNarrowed(TUndoRun& run, const THistoryData& d) {
    WidenDrawingCoordinates(run.S, Int(d, 0), Int(d, 1));
    run.S.DrawingScale /= 2;
    TakeRangeSizes(run, d);
}
void RestoreWidened(TUndoRun& run, const THistoryData& d) {
    ShrinkDrawingCoordinates(run.S, Int(d, 0), Int(d, 1));
    // The reduction halved an even scale, so this fits unless something else set it since.
    run.S.DrawingScale = Doubled(run.S.DrawingScale);
    TakeRangeSizes(run, d);
}

bool ValidNudge(const TDrawingState& s, const THistoryData& d) { return FitsLayout(s, d, "nn", "i"); }
void RestoreNudge(TUndoRun& run, const THistoryData& d) {
    TDrawingState& s = run.S;
    const double dx = static_cast<double>(Num(d, 0)), dy = static_cast<double>(Num(d, 1));
    for (std::size_t p = 2; p < d.Size(); ++p) {
        const std::int32_t i = Int(d, p);
        SelectRecord(s, i);
        TDateRec& r = s.Fig(i);
        for (double* x : {&r.X1, &r.X2, &r.X3, &r.X4, &r.BoxX1, &r.BoxX2}) *x -= dx;
        for (double* y : {&r.Y1, &r.Y2, &r.Y3, &r.Y4, &r.BoxY1, &r.BoxY2}) *y -= dy;
        if (r.Kind == fkText) continue;
        r.Aux1 -= dx, r.Aux3 -= dx;
        r.Aux2 -= dy, r.Aux4 -= dy;
    }
    s.Tools.NudgeTotal = {};
}

}  // namespace

TUndoTable FigureUndoRules() {
    return {
        {NameTurnStepLabel, {ValidNameTurn, RestoreNameTurn, {}}},
        {NarrowRangeStepLabel, {ValidRange, RestoreNarrowed, {}}},
        {WidenRangeStepLabel, {ValidRange, RestoreWidened, {}}},
        {ToFrontStepLabel, {ValidBroughtToFront, RestoreBroughtToFront, {}}},
        {ToBackStepLabel, {ValidSentToBack, RestoreSentToBack, {}}},
        {UngroupStepLabel, {ValidUngrouped, RestoreUngrouped, {}}},
        {GroupStepLabel, {ValidGrouped, RestoreGrouped, {}}},
        {CreationStepLabel, {ValidCreation, RestoreCreation, {}}},
        {PasteStepLabel, {ValidCreation, RestoreCopies, {"選択"}}},
        {TransformCopyStepLabel, {ValidCreation, RestoreCopies, {"選択"}}},
        {MoveCopyStepLabel, {ValidCreation, RestoreCopies, {"選択"}}},
        {RotateCopyStepLabel, {ValidCreation, RestoreCopies, {"選択"}}},
        {PartLoadStepLabel, {ValidPartLoad, RestorePartLoad, {}}},
        {MoveStepLabel, {ValidMoved, RestoreMoved, {}}},
        {TransformStepLabel, {ValidMoved, RestoreMoved, {}}},
        {AlignStepLabel, {ValidGeometry, RestoreGeometry, {}}},
        {RotateStepLabel, {ValidMoved, RestoreMoved, {}}},
        {"集合を取消し分離させる", {ValidJoinedSet, RestoreJoinedSet, {}}},
        {"分離を取消し集合させる", {ValidSplit, RestoreSplit, {}}},
        {PasteCutStepLabel, {ValidGeometry, RestorePastedCut, {}}},
        {OpenJoinStepLabel, {ValidJoin<2>, RestoreJoin<2>, {}}},
        {ClosedJoinStepLabel, {ValidJoin<1>, RestoreJoin<1>, {}}},
        {DeleteStepLabel, {ValidRemoved, RestoreDeleted, {}}},
        {CutStepLabel, {ValidRemoved, RestoreCut, {}}},
        {"キーボードによる図形の移動を元に戻す", {ValidNudge, RestoreNudge, {}}},
    };
}

}  // namespace tarvek
