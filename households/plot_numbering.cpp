#include "households/plot_numbering.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "document/drawing_state.h"
#include "document/history.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_info.h"
#include "households/plot_records.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

enum : std::uint8_t { Descending = 0, Ascending = 1 };

using TKey = double (*)(const TDateRec&);
double KeyX(const TDateRec& r) { return r.X1; }
double KeyY(const TDateRec& r) { return r.Y1; }

void ExchangeSort(TDrawingState& s, std::int32_t first, std::int32_t last, std::uint8_t direction, TKey key) {
    if (direction != Ascending && direction != Descending) return;
    first = std::max(first, 1);
    last = std::min(last, ListedCount(s));
    auto& list = s.SelectedList;
    const auto keyAt = [&](std::int32_t k) {
        const std::int32_t i = list[static_cast<std::size_t>(k)];
        return s.ValidIndex(i) ? key(s.Fig(i)) : 0.0;
    };
    for (std::int32_t p = first; p < last; ++p) {
        for (std::int32_t q = p + 1; q <= last; ++q) {
            const bool swap = direction == Ascending ? keyAt(p) > keyAt(q) : keyAt(p) < keyAt(q);
            if (swap) std::swap(list[static_cast<std::size_t>(p)], list[static_cast<std::size_t>(q)]);
        }
    }
}

// Runs of exactly equal run keys, each sorted by the other coordinate.
void SortRuns(TDrawingState& s, std::int32_t count, std::uint8_t direction, TKey runKey, TKey sortKey) {
    count = std::min(count, ListedCount(s));
    if (count < 1) return;
    const auto keyAt = [&](std::int32_t k) {
        const std::int32_t i = ListedEntry(s, k);
        return s.ValidIndex(i) ? runKey(s.Fig(i)) : 0.0;
    };
    std::int32_t start = 1;
    double key = keyAt(1);
    for (std::int32_t i = 2; i <= count; ++i) {
        if (keyAt(i) == key) continue;
        ExchangeSort(s, start, i - 1, direction, sortKey);
        start = i;
        key = keyAt(i);
    }
    ExchangeSort(s, start, count, direction, sortKey);
}

bool CheckInteger(TDrawingState& s, const std::string& text) {
    if (StrToInt(text)) return true;
    s.Ui.MessageDlg("'" + text + "' は整数値ではありません", TMsgDlgType::mtError, mbOK);
    return false;
}

}  // namespace

void SortSelectionByX(TDrawingState& s, std::int32_t first, std::int32_t last, std::uint8_t direction) {
    ExchangeSort(s, first, last, direction, KeyX);
}

void SortSelectionByY(TDrawingState& s, std::int32_t first, std::int32_t last, std::uint8_t direction) {
    ExchangeSort(s, first, last, direction, KeyY);
}

void SortSelectionInRows(TDrawingState& s, std::int32_t count, std::uint8_t direction) {
    SortRuns(s, count, direction, KeyY, KeyX);
}

void SortSelectionInColumns(TDrawingState& s, std::int32_t count, std::uint8_t direction) {
    SortRuns(s, count, direction, KeyX, KeyY);
}

void AssignPlotNumbers(TDrawingState& s, const TNumberingFields& fields) {
    THistoryData& d = PushHistory(s, "組番号作成を取消す").Data;
    // A pasted group name passes the key filter; its separators would shift the
    // fields of the ledger's lines.
    const std::string group = WithoutRefusedRemarksChars(fields.GroupName);
    const bool counted = !fields.Start.empty() && !fields.Step.empty();
    const std::int64_t start = counted ? StrToInt(fields.Start).value_or(0) : 0;
    const std::int64_t step = counted ? StrToInt(fields.Step).value_or(0) : 0;

    std::vector<TMapMark> marks;
    bool relabel = false;
    const std::int32_t count = ListedCount(s);
    for (std::int32_t i = 1; i <= count; ++i) {
        const std::int32_t f = ListedEntry(s, i);
        if (!s.ValidIndex(f)) continue;
        TDateRec& r = s.Fig(f);
        d.AddNumber(f);
        d.AddText(r.PlotNumber);
        const std::string suffix = counted ? " " + PadText(4, "0", IntToStr(start + (i - 1) * step)) : std::string();
        r.PlotNumber = group + suffix;
        marks.push_back(PointsMark(r));
        relabel = relabel || IsCompoundParent(r) || r.ShareSetId > 0;
    }
    s.Form->MarkUntilRepaint(marks);
    if (relabel) UpdateSharedPlotLabels(s, false);

    s.LedgerUnchanged = 0;
    TLines list{ChangeRecordHeader(VerbChanged)};
    for (std::int32_t i = 1; i <= count; ++i)
        if (s.ValidIndex(ListedEntry(s, i))) list.push_back(PlotExchangeLine(s, ListedEntry(s, i)));
    SendChanges(s, list);
}

bool NumberSelectedPlots(TDrawingState& s, TNumberingOrder order, const TNumberingFields& fields) {
    if (s.SelectedCount == 0) {
        ShowSelectFirstMessage(s);
        return false;
    }
    // Checked before anything is sorted or a step is pushed, so that a typing slip
    // changes nothing.
    if (!fields.Start.empty() && !fields.Step.empty() && (!CheckInteger(s, fields.Start) || !CheckInteger(s, fields.Step)))
        return false;

    const std::int32_t n = ListedCount(s);
    using O = TNumberingOrder;
    switch (order) {
        case O::RowsLeftTopFirst:
            SortSelectionByY(s, 1, n, Ascending);
            SortSelectionInRows(s, n, Ascending);
            break;
        case O::RowsRightTopFirst:
            SortSelectionByY(s, 1, n, Ascending);
            SortSelectionInRows(s, n, Descending);
            break;
        case O::RowsLeftBottomFirst:
            SortSelectionByY(s, 1, n, Descending);
            SortSelectionInRows(s, n, Ascending);
            break;
        case O::RowsRightBottomFirst:
            SortSelectionByY(s, 1, n, Descending);
            SortSelectionInRows(s, n, Descending);
            break;
        case O::ColumnsLeftTopFirst:
            SortSelectionByX(s, 1, n, Ascending);
            SortSelectionInColumns(s, n, Ascending);
            break;
        case O::ColumnsRightTopFirst:
            SortSelectionByX(s, 1, n, Descending);
            SortSelectionInColumns(s, n, Ascending);
            break;
        case O::ColumnsLeftBottomFirst:
            SortSelectionByX(s, 1, n, Ascending);
            SortSelectionInColumns(s, n, Descending);
            break;
        case O::ColumnsRightBottomFirst:
            SortSelectionByX(s, 1, n, Descending);
            SortSelectionInColumns(s, n, Descending);
            break;
    }
    AssignPlotNumbers(s, fields);
    return true;
}

}  // namespace tarvek
