// The tablet's selection without a window: its summary of a selection that holds copies
// of shared plots, a tap on the co-owner list, the mouse dispatch of the select tool
// with a stub picker, Ctrl+A, the selection filter, and that nothing records a step.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <filesystem>
#include <vector>

#include "document/drawing_state.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "editing/picking.h"
#include "gui_test_main.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_info.h"
#include "households/plot_search.h"
#include "platform/canvas.h"
#include "tablet/tablet_edition.h"
#include "tablet/tablet_selection.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::TTakingLedgerUi;
using testing::TTempFolder;

// The tablet's window as the logic sees it: the page in front, the map image for the
// rubber band, the seven household fields and the co-owner list.
struct TFakeTablet : TEditorView, TToolView, TLedgerView, THouseholdView, TPlotSearchView {
    TFakeTablet() : Canvas(800, 600) { SetPaintBoxSize(8000, 6000); }

    TDrawingState* S = nullptr;
    int Page = 0;
    int Filter = 0;
    TImageCanvas Canvas;
    std::vector<int> Counts;  // every count the counters were given
    std::array<std::string, 9> Fields{"x", "x", "x", "x", "x", "x", "x", "x", "x"};
    bool ListVisible = false;
    std::vector<TCoOwnerRow> Listed;
    int ListRow = 0;

    // TEditorView
    int ActivePageIndex() const override { return Page; }
    void SelectionCountChanged(int count) override { Counts.push_back(count); }
    void ShowCurrentHit() override { ShowCurrentSearchHit(*S, *this); }
    // TToolView
    TCanvas* PreviewCanvas() override { return &Canvas; }
    int SelectionFilter() const override { return Filter; }
    // TLedgerView
    bool RealTimeReflection() const override { return true; }
    void SetRealTimeReflection(bool) override {}
    // THouseholdView
    THouseholdGrid VisibleHouseholdGrid() const override { return THouseholdGrid::Results; }
    int CurrentHouseholdRow() const override { return 1; }
    void SetCurrentHouseholdRow(int) override {}
    THouseholdRow QueryRow() const override { return {}; }
    void ShowResultGrid(const std::vector<THouseholdRow>&) override {}
    void LeaveHouseholdSearchMode() override {}
    void ShowHouseholdFields(const std::array<std::string, 9>& f) override { Fields = f; }
    // TPlotSearchView
    THouseholdView& FieldsView() override { return *this; }
    TLedgerView& LedgerLink() override { return *this; }
    std::array<std::string, 9> SearchCriteria() const override { return {}; }
    std::string RemarksText() const override { return Fields[7]; }
    void SetRemarksText(const std::string& text) override { Fields[7] = text; }
    std::string SearchButtonCaption() const override { return SearchIdleCaption; }
    void SetSearchButtonCaption(const std::string&) override {}
    void SetSearchCount(int) override {}
    void FocusSearchInput() override {}
    bool CoOwnerListVisible() const override { return ListVisible; }
    void ShowCoOwnerList(const std::vector<TCoOwnerRow>& rows, int row) override {
        Listed = rows;
        ListRow = row;
        ListVisible = true;
    }
    void HideCoOwnerList() override { ListVisible = false; }
    void SetCoOwnerRow(int row) override { ListRow = row; }
};

constexpr int HeadField = 2;
constexpr TColor White = 0xFFFFFF;

class TabletSelection : public ::testing::Test {
protected:
    TabletSelection() : S(Ui, &View) {
        View.S = &S;
        S.Edition = &TabletEdition();
        S.Tools.View = &View;
        S.Tools.MeshSnap = 0;
        S.Zoom = 10;
        S.ExeFolder = Dir.Folder();
        S.PlotKindWord = "墓地";
        S.HistoryRecording = 1;
        Ui.ReturnPath = Dir.File("戻し.txt");
        S.HouseholdOps.ShowSelectionSummary = [this](TDrawingState& s) { ShowTabletSelectionSummary(s, View); };
        S.HouseholdOps.RebuildSortedSelectionList = [this](TDrawingState& s) { RebuildSortedSelectionList(s, View); };
        StartSteps = S.HistoryCount;
    }

    TDateRec& Add(std::int32_t kind, const std::string& number, const std::string& head) {
        TDateRec& r = S.Fig(++S.FigureCount);
        r = TDateRec{};
        r.Kind = kind;
        r.IsPlot = 1;
        r.PlotId = S.FigureCount;
        r.Text = head.empty() ? "0" : "0000" + std::to_string(S.FigureCount);
        r.PlotNumber = number;
        r.HeadName = head;
        r.DrawingName = "図面";
        r.BoxX1 = 1000, r.BoxX2 = 5000, r.BoxY1 = 1000, r.BoxY2 = 4000;
        return r;
    }
    // Share set A: a polygon plot (3) with its two pieces before it (1, 2), set aside, and
    // a plain copy (4) that shows its name; set B: two plain copies (5 shows, 6 is set
    // aside); and a plot of its own (7).
    void LayOutSets() {
        for (int piece = 0; piece < 2; ++piece) {
            TDateRec& p = Add(fkPolygonEdge, "A", "");
            p.OwnerIndex = 3;
        }
        Add(fkPolygon, "A(1)", "甲").ShareSetId = 3;
        Add(fkPlot, "A(2)", "乙").ShareSetId = 3;
        Add(fkPlot, "B(1)", "丙").ShareSetId = 5;
        Add(fkPlot, "B(2)", "丁").ShareSetId = 5;
        Add(fkPlot, "C", "戊");
        for (std::int32_t i : {1, 2, 3, 6}) S.Fig(i).SetAside = 1;
    }
    // Selects these records as a tap leaves them, with the current hit on one of them.
    void Select(std::vector<std::int32_t> records, std::int32_t hit) {
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i).Selected = 0;
        for (std::int32_t i : records) S.Fig(i).Selected = 1;
        S.CurrentHitIndex = hit;
        RebuildSortedSelectionList(S, View);
    }
    std::vector<int> Aside() const {
        std::vector<int> v;
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) v.push_back(S.Fig(i).SetAside);
        return v;
    }
    // Nothing the tablet does is recorded.
    void ExpectNoSteps() const {
        EXPECT_EQ(S.HistoryCount, StartSteps);
        for (const Trireki& step : S.History) EXPECT_TRUE(step.Label.empty() || step.Label == HistoryStopLabel);
    }
    std::int32_t InHand() const { return S.SelectedList[static_cast<std::size_t>(S.SelectedCursor)]; }

    TTempFolder Dir;
    TTakingLedgerUi Ui;
    TFakeTablet View;
    TDrawingState S;
    std::int32_t StartSteps = 0;
};

TEST_F(TabletSelection, TheSummaryListsTheSetInHandAndShowsThePlotInHand) {
    LayOutSets();
    struct TCase {
        const char* Name;
        std::vector<std::int32_t> Records;
        std::int32_t Hit;
        std::vector<TCoOwnerRow> Rows;  // none: the list is hidden
        int Row;
        std::int32_t InHand;  // 0: the fields are left as they were
        const char* Head;
    };
    const TCase cases[] = {
        {"A's copies: the one showing its name is in hand", {1, 2, 3, 4}, 3,
         {{"甲", "", "", "", "1"}, {"乙", "", "", "", "2"}}, 2, 4, "乙"},
        {"a plot of its own alone", {7}, 7, {}, 0, 0, "x"},
        {"one copy and a plot of its own: the first entry", {5, 7}, 7, {}, 0, 5, "丙"},
        {"A and B, the cursor on B: B's rows only", {1, 2, 3, 4, 5, 6}, 5,
         {{"丙", "", "", "", "3"}, {"丁", "", "", "", "4"}}, 1, 5, "丙"},
        {"then A alone: no row of B", {1, 2, 3, 4}, 3, {{"甲", "", "", "", "1"}, {"乙", "", "", "", "2"}}, 2, 4, "乙"},
        {"one copy of each set: nothing to list", {3, 5}, 3, {}, 0, 0, "x"},
        {"A and B, the cursor on a plot of its own", {3, 4, 5, 6, 7}, 7, {}, 0, 0, "x"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Select(c.Records, c.Hit);
        View.Fields = {"x", "x", "x", "x", "x", "x", "x", "x", "x"};
        View.ListVisible = true;  // shown by an earlier selection
        const std::int32_t cursor = S.SelectedCursor, hit = S.CurrentHitIndex;
        ShowTabletSelectionSummary(S, View);

        EXPECT_EQ(View.ListVisible, !c.Rows.empty());
        if (!c.Rows.empty()) {
            EXPECT_EQ(View.Listed, c.Rows);
            EXPECT_EQ(View.ListRow, c.Row);
        }
        EXPECT_EQ(View.Fields[HeadField], c.Head);
        if (c.InHand > 0) {
            // The fields shown are those of the plot the remarks and the button go to.
            EXPECT_EQ(S.CurrentHitIndex, c.InHand);
            EXPECT_EQ(InHand(), c.InHand);
        } else {
            EXPECT_EQ(S.SelectedCursor, cursor);
            EXPECT_EQ(S.CurrentHitIndex, hit);
        }
        EXPECT_EQ(S.HasSelection, 1);
    }

    // Off the first page the summary does nothing; an empty selection hides the list.
    View.Page = 3;
    Select({1, 2, 3, 4}, 3);
    View.ListVisible = false;
    ShowTabletSelectionSummary(S, View);
    EXPECT_FALSE(View.ListVisible);
    View.Page = 0;
    Select({}, -1);
    View.ListVisible = true;
    ShowTabletSelectionSummary(S, View);
    EXPECT_FALSE(View.ListVisible);
    EXPECT_EQ(S.HasSelection, 0);
    ExpectNoSteps();
}

TEST_F(TabletSelection, ATappedRowBecomesTheCopyInHand) {
    LayOutSets();
    Select({1, 2, 3, 4, 5, 6}, 4);
    ShowTabletSelectionSummary(S, View);
    ASSERT_EQ(View.Listed.size(), 2u);
    ASSERT_EQ(S.CurrentHitIndex, 4);

    SelectTabletCoOwner(S, View, View.Listed[0][4]);  // the polygon copy
    EXPECT_EQ(S.SelectedCursor, 1);
    EXPECT_EQ(S.CurrentHitIndex, 3);
    EXPECT_EQ(Aside(), (std::vector<int>{0, 0, 0, 1, 0, 1, 0}));
    EXPECT_EQ(View.Fields[HeadField], "甲");

    SelectTabletCoOwner(S, View, View.Listed[1][4]);  // back to the plain copy
    EXPECT_EQ(S.CurrentHitIndex, 4);
    EXPECT_EQ(Aside(), (std::vector<int>{1, 1, 1, 0, 0, 1, 0}));  // with its pieces
    EXPECT_EQ(View.Fields[HeadField], "乙");
    EXPECT_EQ(Ui.Lists(), (std::vector<std::string>{
                              "-999,-999,,,,-999,-999,選択\r\n" + PlotExchangeLine(S, 3) + "\r\n",
                              "-999,-999,,,,-999,-999,選択\r\n" + PlotExchangeLine(S, 4) + "\r\n"}));

    // A row that names no copy of the set in hand: empty, no number, out of the list, a
    // copy of the other set.
    for (const char* cell : {"", "x", "0", "7", "3"}) {
        SCOPED_TRACE(cell);
        SelectTabletCoOwner(S, View, cell);
        EXPECT_EQ(S.CurrentHitIndex, 4);
        EXPECT_EQ(S.SelectedCursor, 2);
        EXPECT_EQ(Aside(), (std::vector<int>{1, 1, 1, 0, 0, 1, 0}));
    }
    EXPECT_EQ(Ui.Lists().size(), 2u);
    ExpectNoSteps();
}

// ---- the mouse ---------------------------------------------------------------------

enum TKind { Down, ShiftDown, Move, Up, RightDown, RightUp };
struct TEvent {
    TKind Kind;
    int X = 0, Y = 0;
};

class TabletMouse : public TabletSelection {
protected:
    TabletMouse() {
        Blank = View.Canvas.Image().copy();
        // The stub picks figure Hit at a press, or misses (and the press opens a band).
        S.Tools.Ops.SelectAtPoint = [this](unsigned shift) {
            Picks.push_back(shift);
            S.Dragging = Hit > 0 ? 0 : 1;
            return Hit;
        };
        S.Tools.Ops.SelectInRectangle = [this](unsigned) {
            Rectangles.push_back({S.MouseDownPos.x, S.MouseDownPos.y, S.MousePos.x, S.MousePos.y});
        };
    }
    void Run(const std::vector<TEvent>& script) {
        for (const TEvent& e : script) {
            switch (e.Kind) {
            case Down: ToolMouseDown(S, TToolButton::Left, 0, e.X, e.Y); break;
            case ShiftDown: ToolMouseDown(S, TToolButton::Left, ToolShiftKey, e.X, e.Y); break;
            case Move: ToolMouseMove(S, 0, true, e.X, e.Y); break;
            case Up: ToolMouseUp(S, TToolButton::Left, 0, e.X, e.Y); break;
            case RightDown: ToolMouseDown(S, TToolButton::Right, 0, e.X, e.Y); break;
            case RightUp: ToolMouseUp(S, TToolButton::Right, 0, e.X, e.Y); break;
            }
        }
    }
    void OnPage(int page) {
        View.Page = page;
        S.EditTabActive = page == 3 || page == 4 ? 1 : 0;
    }

    std::int32_t Hit = -1;
    std::vector<unsigned> Picks;
    std::vector<std::array<int, 4>> Rectangles;
    QImage Blank;
};

TEST_F(TabletMouse, TapsBandsAndArmedPicksFollowTheFivePixelRules) {
    struct TCase {
        const char* Name;
        int Page;
        std::int32_t Hit;
        std::vector<TEvent> Script;
        std::size_t Picks;
        std::vector<std::array<int, 4>> Rectangles;
        std::uint8_t Dragging;
        std::int32_t Tool;
    };
    const std::vector<TCase> cases = {
        {"a tap 4 px long picks", 0, 5, {{Down, 100, 100}, {Move, 104, 104}, {Up, 104, 104}}, 1, {}, 0, 0},
        {"Shift keeps the selection", 0, 5, {{ShiftDown, 100, 100}, {Up, 100, 100}}, 1, {}, 0, 0},
        {"a miss released 5 px away keeps the band open", 0, -1,
         {{Down, 100, 100}, {Move, 105, 100}, {Up, 105, 100}}, 1, {}, 1, 0},
        {"and the next press closes it", 0, -1,
         {{Down, 100, 100}, {Move, 105, 100}, {Up, 105, 100}, {Move, 160, 140}, {Down, 160, 140}, {Up, 160, 140}}, 1,
         {{100, 100, 160, 140}}, 0, 0},
        {"a release 6 px away selects in the band", 0, -1, {{Down, 100, 100}, {Move, 106, 100}, {Up, 106, 100}}, 1,
         {{100, 100, 106, 100}}, 0, 0},
        {"a pick on the drawing page is disarmed 4 px away", 3, 5,
         {{Down, 100, 100}, {Move, 104, 100}, {Up, 104, 100}}, 1, {}, 0, 0},
        {"but not 5 px away", 3, 5, {{Down, 100, 100}, {Move, 105, 100}, {Up, 105, 100}}, 1, {}, 1, 103},
        {"then the next press ends it and picks nothing", 3, 5,
         {{Down, 100, 100}, {Move, 105, 100}, {Up, 105, 100}, {Down, 300, 300}, {Up, 300, 300}}, 1, {}, 0, 0},
        {"a release far away ends it: nothing is moved", 3, 5, {{Down, 100, 100}, {Move, 200, 100}, {Up, 200, 100}}, 1,
         {}, 0, 0},
        {"the right button drops an open band", 3, -1, {{Down, 100, 100}, {Up, 100, 100}, {RightDown, 120, 120}}, 1, {},
         0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EraseToolPreview(S);
        S.Tools.HandleHit = -1;
        OnPage(c.Page);
        Hit = c.Hit;
        Picks.clear();
        Rectangles.clear();
        S.Dragging = 0;
        S.CurrentTool = 0;
        S.HasSelection = 0;
        S.ClickMovePending = 0;
        Run(c.Script);
        EXPECT_EQ(Picks.size(), c.Picks);
        EXPECT_EQ(Rectangles, c.Rectangles);
        EXPECT_EQ(S.Dragging, c.Dragging);
        EXPECT_EQ(S.CurrentTool, c.Tool);
        if (c.Name == std::string("Shift keeps the selection")) {
            EXPECT_EQ(Picks.at(0), ToolShiftKey);
        }
        // The blue band is taken off the map exactly once it closes.
        if (!c.Dragging) {
            EXPECT_TRUE(View.Canvas.Image() == Blank);
        }
    }
    ExpectNoSteps();
}

TEST_F(TabletMouse, TheBandIsBlueAndNotXor) {
    OnPage(0);
    Run({{Down, 100, 100}, {Move, 140, 130}});
    ASSERT_EQ(S.Dragging, 1);
    // Not-xor of blue on white leaves blue.
    EXPECT_EQ(View.Canvas.GetPixel(120, 100), 0xFF0000);
    EXPECT_EQ(View.Canvas.GetPixel(139, 115), 0xFF0000);
    EXPECT_EQ(View.Canvas.GetPixel(120, 115), White);
    Run({{Move, 160, 170}});
    EXPECT_EQ(View.Canvas.GetPixel(139, 115), White);
    EXPECT_EQ(View.Canvas.GetPixel(159, 140), 0xFF0000);
    Run({{Up, 160, 170}});
    EXPECT_TRUE(View.Canvas.Image() == Blank);
}

TEST_F(TabletMouse, TheRightButtonClearsTheSelectionAndItsCountersOnly) {
    LayOutSets();
    for (const int page : {0, 3}) {
        SCOPED_TRACE(page);
        OnPage(page);
        Select({5, 6}, 5);
        ASSERT_EQ(S.HasSelection, 1);
        View.Counts.clear();
        Run({{RightDown, 50, 50}, {RightUp, 50, 50}});
        EXPECT_EQ(S.SelectedCount, 0);
        EXPECT_EQ(S.Fig(5).Selected, 0);
        EXPECT_EQ(View.Counts, (std::vector<int>{0}));

        // With nothing selected it does nothing: there is no undo on the tablet.
        View.Counts.clear();
        Run({{RightDown, 50, 50}, {RightUp, 50, 50}});
        EXPECT_TRUE(View.Counts.empty());
        EXPECT_EQ(S.CurrentTool, 0);
    }
    ExpectNoSteps();
}

TEST_F(TabletMouse, SpaceHeldPansWithThePressedPointUnderThePointer) {
    OnPage(0);
    View.SetScrollPos(1000, 1000);
    unsigned short space = 32;
    ToolKeyDown(S, space, 0);
    ASSERT_EQ(S.Tools.PanMode, 1);
    // The pointer on the screen; the paint box moves under it as the view scrolls.
    const int screenX = 300, screenY = 200;
    const int pressedX = screenX + View.HorzScrollPos(), pressedY = screenY + View.VertScrollPos();
    ToolMouseDown(S, TToolButton::Left, 0, pressedX, pressedY);
    for (const auto& [dx, dy] : {std::pair{-10, -5}, {-30, -20}, {25, 40}, {-7, 0}}) {
        const int x = screenX + dx + View.HorzScrollPos(), y = screenY + dy + View.VertScrollPos();
        ToolMouseMove(S, 0, true, x, y);
        EXPECT_EQ(screenX + dx + View.HorzScrollPos(), pressedX);
        EXPECT_EQ(screenY + dy + View.VertScrollPos(), pressedY);
    }
    ToolMouseUp(S, TToolButton::Left, 0, pressedX, pressedY);
    ToolKeyUp(S, space, 0);
    EXPECT_EQ(S.Tools.PanMode, 0);
    EXPECT_EQ(S.Dragging, 0);
    EXPECT_EQ(S.SelectedCount, 0);
}

// ---- Ctrl+A, the filter and the band on the figures ----------------------------------

TEST_F(TabletSelection, CtrlASelectsEveryLiveFigureAndSaysNothing) {
    View.Page = 3;
    View.Filter = 1;
    SelectAllTabletFigures(S, View);  // an empty map
    EXPECT_EQ(S.SelectedCount, 0);
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_EQ(Ui.Beeps, 0);
    EXPECT_TRUE(S.Label3.empty());

    LayOutSets();
    TDateRec& line = S.Fig(++S.FigureCount);
    line.Kind = fkLine;
    S.Fig(6).Deleted = 1;
    for (const int filter : {1, 2}) {
        SCOPED_TRACE(filter);
        View.Filter = filter;  // plots only, then everything but plots: neither counts
        SelectAllTabletFigures(S, View);
        EXPECT_EQ(S.SelectedCount, S.FigureCount - 1);
        EXPECT_EQ(S.Fig(8).Selected, 1);
        EXPECT_EQ(S.Fig(3).Selected, 1);
        EXPECT_EQ(S.Fig(6).Selected, 0);
    }
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_TRUE(S.Label3.empty());
    ExpectNoSteps();
}

TEST_F(TabletSelection, TheFilterPassesAMarkUpTheOwnerChain) {
    // A plot of its own, a loose line, and a group of a line and a plot inside an outer group.
    Add(fkPlot, "1", "");
    S.Fig(++S.FigureCount).Kind = fkLine;
    S.Fig(++S.FigureCount).Kind = fkLine;
    S.Fig(3).OwnerIndex = 5;
    Add(fkPlot, "2", "").OwnerIndex = 5;
    S.Fig(++S.FigureCount).Kind = fkGroup;
    S.Fig(5).OwnerIndex = 6;
    S.Fig(++S.FigureCount).Kind = fkGroup;
    View.Page = 3;
    struct TCase {
        int Filter;
        std::vector<int> Selected;
    };
    // Dropping the group's line or plot is undone by the mark the rest passes up.
    for (const TCase& c : {TCase{1, {1, 0, 1, 1, 1, 1}}, TCase{2, {0, 1, 1, 1, 1, 1}}, TCase{0, {1, 1, 1, 1, 1, 1}}}) {
        SCOPED_TRACE(c.Filter);
        SelectAllTabletFigures(S, View);
        View.Filter = c.Filter;
        SelectionFilterClicked(S, View, c.Filter);
        std::vector<int> selected;
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) selected.push_back(S.Fig(i).Selected);
        EXPECT_EQ(selected, c.Selected);
        EXPECT_EQ(S.Tools.PreviousSelectionFilter, c.Filter);
    }
    ExpectNoSteps();
}

TEST_F(TabletSelection, ABandThatCatchesNothingUnderTheFilterIsNoFault) {
    View.Page = 3;
    View.Filter = 2;
    for (const TEdition* edition : {&TabletEdition(), &ProEdition()}) {
        S.Edition = edition;
        S.MouseDownPos = {10, 10};
        S.MousePos = {200, 200};
        SelectInRectangle(S, View, 0);
    }
    // Only the full editor beeps and explains.
    EXPECT_EQ(Ui.Beeps, 1);
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
