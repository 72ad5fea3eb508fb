// Taking back the top step of the edit history: Ctrl+Z, and the right button when nothing
// is in progress. One keystroke takes the step on top and the partner steps its operation
// pushed below it (a zoom and its scroll step, a request's three steps), restores what
// their data records, tells the ledger of the plots it brings back, changes or removes,
// and leaves the label of the next step in the help line. There is no redo: a step taken
// back is marked "stop" and falls below the count.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "editing/attributes.h"

namespace tarvek {

struct TDrawingState;
class TPlotSearchView;

constexpr const char* UndoWorkingText = "処理中";
constexpr const char* UndoFailedMessage = "元に戻す操作に失敗しました。";
constexpr const char* UndoNothingLeftText = "「Ctrl+Z」処理はもうありません。";

// The controls an undo sets besides the state. Setting a control runs none of its
// handlers. Without a form the defaults do nothing.
class TUndoView {
public:
    virtual ~TUndoView() = default;
    // "処理中" is on the help line: paint it at once and handle, once, what is already
    // queued, the user's input left waiting.
    virtual void ShowWorking() {}
    // The page control shows this page; the plot list over the map shows on page 0 only.
    virtual void ShowPage(int /*page*/) {}
    // The mesh and snap lists take their items, the two household-name check boxes their
    // states (and what the boxes' own handlers would set with them).
    virtual void ShowPageSettings(int /*meshItem*/, int /*snapItem*/, bool /*rotateNames*/, bool /*clipNames*/) {}
    // The mesh list's text ("無し" for no mesh).
    virtual std::string MeshText() const { return "無し"; }
    // The coordinate line and the mesh controls below the map, which the drawing page shows.
    virtual void ShowDrawingPageControls(bool /*shown*/) {}
    // Asks for the main window's outer size and answers the size it then has: the
    // window's resize rules (even sizes) and its minimum may keep it from the one asked.
    virtual std::pair<int, int> SetFormSize(int width, int height) { return {width, height}; }
    // The font list selects the item with this name (none when it has none).
    virtual void ShowFont(const std::string& /*name*/) {}
    // The drawing page's attribute lists.
    virtual void ShowPenStyle(int /*item*/) {}
    virtual void SetPenStyleEnabled(bool /*enabled*/) {}
    virtual void ShowPenWidth(int /*item*/) {}
    virtual void ShowBrushStyle(int /*item*/) {}
    virtual void RepaintSamples(TSampleList /*list*/) {}
    // The editing page's up-downs: household-name size, dimension text size.
    virtual void ShowNameTextSize(int /*position*/) {}
    virtual void ShowDimensionTextSize(int /*position*/) {}
    // The drawing page's selection filter.
    virtual void ShowSelectionFilter(int /*item*/) {}
};

// Takes back the top step with its partners. Nothing happens while the ledger is being
// written to, while an undo runs, or with nothing on the list. A step whose data does
// not read (a field missing or of the wrong type, an index outside the store) changes
// nothing: a beep and the box "元に戻す操作に失敗しました。".
void UndoLast(TDrawingState& s, TPlotSearchView& search, TUndoView& view);

// Every label an undo can take back, in the order the dispatcher knows them (the two
// plot-conversion labels are made with the drawing's plot-kind word).
std::vector<std::string> UndoLabels(const TDrawingState& s);

}  // namespace tarvek
