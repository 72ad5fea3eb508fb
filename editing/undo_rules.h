// Inside the undo: one rule per label, what its step's data must look like, how it is
// restored and which steps below it were pushed with it. Used by editing/undo*.cpp only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/history.h"
#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;
class TPlotSearchView;
class TUndoView;

// What one keystroke works with.
struct TUndoRun {
    TDrawingState& S;
    TPlotSearchView& Search;
    TUndoView& View;
};

struct TUndoRule {
    // The data reads as this label's operation writes it; checked before anything changes.
    bool (*Valid)(const TDrawingState& s, const THistoryData& d) = nullptr;
    void (*Restore)(TUndoRun& run, const THistoryData& d) = nullptr;
    // The labels of the steps its operation pushed just below it: such a step is taken
    // back in the same keystroke (and then its own partners).
    std::vector<std::string> Partners;
    // Run after the selection is rebuilt, when this step was the last one taken back.
    void (*Closing)(TUndoRun& run, const THistoryData& d) = nullptr;
};

using TUndoTable = std::vector<std::pair<std::string, TUndoRule>>;

// The rules of editing/undo.cpp (view, tabs, selection, attributes), undo_figures.cpp and
// undo_plots.cpp, each in the order the dispatcher tries its labels.
TUndoTable ViewUndoRules();
TUndoTable FigureUndoRules();
TUndoTable PlotUndoRules(const std::string& plotKindWord);

// ---- Reading step data --------------------------------------------------------------

// A layout: one letter per field. 'n' a number, 'i' a record 1..FigureCount, 'c' a count
// 0..FigureCount, 't' a text. The data holds the head fields, then whole entries (none
// when entry is empty) up to its end.
bool FitsLayout(const TDrawingState& s, const THistoryData& d, std::string_view head, std::string_view entry);
// The same for a stretch of the data from field first, of exactly count fields.
bool FieldsFit(const TDrawingState& s, const THistoryData& d, std::size_t first, std::string_view layout);
// How many whole entries of the given size follow the head.
std::size_t EntryCount(const THistoryData& d, std::size_t head, std::size_t entry);

inline std::int64_t Num(const THistoryData& d, std::size_t i) { return *d.Number(i); }
inline std::int32_t Int(const THistoryData& d, std::size_t i) { return static_cast<std::int32_t>(*d.Number(i)); }
inline const std::string& Txt(const THistoryData& d, std::size_t i) { return *d.Text(i); }

// ---- Shared by the restores ---------------------------------------------------------

// The current selection of the records of a list: flags, then the list rebuilt later.
void SelectRecord(TDrawingState& s, std::int32_t i);
// A change list handed to the ledger as the operations hand theirs.
void SendUndoList(TDrawingState& s, const TLines& list);
// Plots the ledger hears of: not pieces of a compound plot.
bool IsWholePlot(const TDrawingState& s, std::int32_t i);
// FigureCount falls to count: what names a record above it (the current hit, the plot
// last shown to the ledger, the paste buffer) forgets it.
void DropRecordsAbove(TDrawingState& s, std::int32_t count);

}  // namespace tarvek
