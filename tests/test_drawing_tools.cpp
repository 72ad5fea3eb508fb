// The drawing tools driven by scripts of mouse and key events, without a window: what
// each script leaves in the figure store, the history and the tool state, and that the
// rubber band leaves no trace on the map image.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <string>
#include <vector>

#include "document/drawing_state.h"
#include "document/history.h"
#include "editing/drawing_tools.h"
#include "editing/figure_creation.h"
#include "platform/canvas.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

// The map as a window shows it: a white image at the scroll position, and what the
// tools asked for.
class TTestView : public TEditorView, public TToolView {
public:
    TTestView() : Canvas(800, 600) { SetPaintBoxSize(8000, 6000); }
    TCanvas* PreviewCanvas() override { return &Canvas; }
    void PreviewChanged(int, int, int, int) override { ++BandChanges; }
    void SetPaintCursor(TToolCursor cursor) override { Cursor = cursor; }
    bool SelectAfterDrawing() const override { return SelectNew; }
    int ScrollBoxWidth() const override { return 800; }
    int ScrollBoxHeight() const override { return 600; }

    TImageCanvas Canvas;
    int BandChanges = 0;
    TToolCursor Cursor = TToolCursor::Default;
    bool SelectNew = false;
};

// Drop: the drag is given up without an ending, as a page switch does.
enum TKind { Down, Move, Up, RightDown, RightUp, Drop };
struct TEvent {
    TKind Kind;
    int X = 0, Y = 0;
};

// A click: a move onto the point, press, release.
std::vector<TEvent> Clicks(std::initializer_list<std::pair<int, int>> points) {
    std::vector<TEvent> script;
    for (const auto& [x, y] : points) {
        script.push_back({Move, x, y});
        script.push_back({Down, x, y});
        script.push_back({Up, x, y});
    }
    return script;
}

std::vector<TEvent> Join(std::vector<TEvent> a, const std::vector<TEvent>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void Play(TDrawingState& s, const std::vector<TEvent>& script) {
    for (const TEvent& e : script) {
        switch (e.Kind) {
        case Down: ToolMouseDown(s, TToolButton::Left, 0, e.X, e.Y); break;
        case Move: ToolMouseMove(s, 0, s.Dragging != 0, e.X, e.Y); break;
        case Up: ToolMouseUp(s, TToolButton::Left, 0, e.X, e.Y); break;
        case RightDown: ToolMouseDown(s, TToolButton::Right, 0, e.X, e.Y); break;
        case RightUp: ToolMouseUp(s, TToolButton::Right, 0, e.X, e.Y); break;
        case Drop:
            EraseToolPreview(s);
            s.Dragging = 0;
            break;
        }
    }
}

class DrawingTools : public ::testing::Test {
protected:
    DrawingTools() : S(Ui, &View) {
        S.Tools.View = &View;
        S.Tools.MeshSnap = 0;
        S.EditTabActive = 1;
        S.Zoom = 10;
        S.Tools.Ops.UndoLast = [this] { ++Undos; };
        Blank = View.Canvas.Image().copy();
    }

    void Run(const std::vector<TEvent>& script) { Play(S, script); }
    std::vector<std::int32_t> Kinds() const {
        std::vector<std::int32_t> k;
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) k.push_back(S.Fig(i).Kind);
        return k;
    }
    const Trireki& Top() const { return S.History[static_cast<std::size_t>(S.HistoryCount)]; }
    bool BandGone() const { return View.Canvas.Image() == Blank; }

    TScriptedUi Ui;
    TTestView View;
    TDrawingState S;
    QImage Blank;
    int Undos = 0;
};

struct TScriptCase {
    const char* Name;
    std::int32_t Tool;
    std::vector<TEvent> Script;
    std::vector<std::int32_t> Kinds;
    std::uint8_t Dragging;
    std::int32_t ToolAfter;
    int Steps;             // history steps the script pushed
    std::int64_t TopCount;  // the records the top step takes back (when Steps > 0)
    int Undos;
};

TEST_F(DrawingTools, EventScriptsMakeTheirRecordsAndSteps) {
    const auto clicks = Clicks;
    const auto join = Join;
    const std::vector<TScriptCase> cases = {
        {"line released 6 px away", 1, {{Down, 100, 100}, {Move, 106, 100}, {Up, 106, 100}}, {1}, 0, 1, 1, 1, 0},
        {"line released 5 px away waits", 1, {{Down, 100, 100}, {Move, 105, 100}, {Up, 105, 100}}, {}, 1, 1, 0, 0, 0},
        {"two-click line", 1, join(clicks({{100, 100}}), {{Move, 150, 120}, {Down, 200, 150}, {Up, 200, 150}}), {1}, 0, 1, 1, 1, 0},
        {"closed polygon by an exact click on its first point", 7,
         clicks({{100, 100}, {200, 100}, {200, 200}, {100, 100}}), {77, 77, 77, 31}, 0, 7, 1, 4, 0},
        {"polygon one pixel off its first point stays open", 7,
         clicks({{100, 100}, {200, 100}, {200, 200}, {101, 100}}), {7, 7, 7}, 1, 7, 0, 0, 0},
        {"open polygon ended by the right button", 7,
         join(clicks({{100, 100}, {200, 100}, {200, 200}, {150, 250}}), {{RightDown, 150, 250}, {RightUp, 150, 250}}),
         {7, 7, 7, 31}, 0, 7, 1, 4, 0},
        {"closed rounded polygon", 8, clicks({{100, 100}, {300, 100}, {300, 300}, {100, 300}, {100, 100}}),
         {99, 99, 99, 99, 31}, 0, 8, 1, 5, 0},
        {"rounded polygon ended by the right button", 8,
         join(clicks({{100, 100}, {300, 100}, {300, 300}}), {{RightDown, 300, 300}}), {5, 9, 1, 31}, 0, 8, 1, 4, 0},
        {"right button with nothing in progress takes back a step", 1, {{RightDown, 100, 100}, {RightUp, 100, 100}}, {}, 0, 1, 0, 0, 1},
        {"right button before the first piece", 7, join(clicks({{100, 100}}), {{RightDown, 100, 100}}), {}, 0, 7, 0, 0, 0},
        {"a double click on a chain adds no piece without length", 7,
         join(clicks({{100, 100}, {200, 100}}), clicks({{200, 100}})), {7}, 1, 7, 0, 0, 0},
        {"right button mid-drag drops the figure", 3, {{Down, 100, 100}, {Move, 200, 150}, {RightDown, 200, 150}}, {}, 0, 3, 0, 0, 0},
        {"a rounded chain whose drag was dropped starts a new one", 8,
         join(join(clicks({{100, 100}, {300, 100}}), {{Drop}}), clicks({{100, 300}, {300, 300}, {300, 500}, {100, 300}})),
         {5, 99, 99, 99, 31}, 0, 8, 1, 4, 0},
    };
    for (const TScriptCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScriptedUi ui;
        TTestView view;
        TDrawingState s(ui, &view);
        s.Tools.View = &view;
        s.Tools.MeshSnap = 0;
        s.EditTabActive = 1;
        int undos = 0;
        s.Tools.Ops.UndoLast = [&] { ++undos; };
        PushHistory(s, "選択");  // an earlier step that no script may take off
        const std::int32_t before = s.HistoryCount;
        const QImage blank = view.Canvas.Image().copy();
        ChooseTool(s, c.Tool);
        Play(s, c.Script);
        std::vector<std::int32_t> kinds;
        for (std::int32_t i = 1; i <= s.FigureCount; ++i) kinds.push_back(s.Fig(i).Kind);
        EXPECT_EQ(kinds, c.Kinds);
        EXPECT_EQ(s.Dragging, c.Dragging);
        EXPECT_EQ(s.CurrentTool, c.ToolAfter);
        EXPECT_EQ(undos, c.Undos);
        ASSERT_EQ(s.HistoryCount - before, c.Steps);
        EXPECT_EQ(s.History[static_cast<std::size_t>(before)].Label, "選択");
        if (c.Steps > 0) {
            EXPECT_EQ(s.History[static_cast<std::size_t>(s.HistoryCount)].Label, CreationStepLabel);
            EXPECT_EQ(s.History[static_cast<std::size_t>(s.HistoryCount)].Data, [&] {
                THistoryData d;
                d.AddNumber(c.TopCount);
                return d;
            }());
        }
        if (!s.Dragging) {
            EXPECT_TRUE(view.Canvas.Image() == blank) << "the rubber band left pixels behind";
        }
        // Every member of a finished chain points at its parent, the last record it added.
        if (!kinds.empty() && kinds.back() == fkPolygon) {
            for (std::int32_t i = s.FigureCount - static_cast<std::int32_t>(c.TopCount) + 1; i < s.FigureCount; ++i)
                EXPECT_EQ(s.Fig(i).OwnerIndex, s.FigureCount) << i;
        }
    }
}

TEST_F(DrawingTools, ChainsKeepTheirGeometry) {
    // Polygon: each edge starts where the last one ended; the closing edge ends on the start.
    ChooseTool(S, 7);
    Run(Clicks({{100, 100}, {200, 100}, {200, 200}, {100, 100}}));
    ASSERT_EQ(S.FigureCount, 4);
    EXPECT_EQ((std::array{S.Fig(1).X1, S.Fig(1).Y1, S.Fig(1).X3, S.Fig(1).Y3}), (std::array{10000.0, 10000.0, 20000.0, 10000.0}));
    EXPECT_EQ((std::array{S.Fig(3).X1, S.Fig(3).Y1, S.Fig(3).X3, S.Fig(3).Y3}), (std::array{20000.0, 20000.0, 10000.0, 10000.0}));
    EXPECT_EQ((std::array{S.Fig(4).X1, S.Fig(4).Y1, S.Fig(4).X3, S.Fig(4).Y3}), (std::array{10000.0, 10000.0, 20000.0, 20000.0}));

    // Rounded polygon: every piece runs from one edge's midpoint round a corner to the
    // next midpoint; the closing corner runs from the first midpoint to the last one.
    S.FigureCount = 0;
    ChooseTool(S, 8);
    Run(Clicks({{100, 100}, {300, 100}, {300, 300}, {100, 300}, {100, 100}}));
    ASSERT_EQ(S.FigureCount, 5);
    struct TPiece {
        double x1, y1, corner_x, corner_y, x4, y4;
    };
    const TPiece expected[4] = {{20000, 10000, 30000, 10000, 30000, 20000},
                                {30000, 20000, 30000, 30000, 20000, 30000},
                                {20000, 30000, 10000, 30000, 10000, 20000},
                                {20000, 10000, 10000, 10000, 10000, 20000}};
    for (int k = 0; k < 4; ++k) {
        const TDateRec& r = S.Fig(k + 1);
        SCOPED_TRACE(k);
        EXPECT_EQ(r.Kind, fkRoundPolygonPiece);
        EXPECT_EQ((std::array{r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4}),
                  (std::array{expected[k].x1, expected[k].y1, expected[k].corner_x, expected[k].corner_y,
                              expected[k].corner_x, expected[k].corner_y, expected[k].x4, expected[k].y4}));
    }
    const TDateRec& parent = S.Fig(5);
    EXPECT_EQ((std::array{parent.X1, parent.Y1, parent.X3, parent.Y3}), (std::array{10000.0, 10000.0, 30000.0, 30000.0}));
    EXPECT_EQ(parent.BrushColor, S.CurBrushColor);

    // Ended by the right button: a straight piece from the last midpoint to the last corner.
    S.FigureCount = 0;
    ChooseTool(S, 8);
    Run(Join(Clicks({{100, 100}, {300, 100}, {300, 300}}), {{RightDown, 300, 300}}));
    ASSERT_EQ(Kinds(), (std::vector<std::int32_t>{5, 9, 1, 31}));
    const TDateRec &half = S.Fig(1), &end = S.Fig(3);
    EXPECT_EQ((std::array{half.X1, half.Y1, half.X3, half.Y3}), (std::array{10000.0, 10000.0, 20000.0, 10000.0}));
    EXPECT_EQ((std::array{end.X1, end.Y1, end.X2, end.Y2, end.X3, end.Y3, end.X4, end.Y4}),
              (std::array{30000.0, 20000.0, 30000.0, 20000.0, 30000.0, 30000.0, 30000.0, 30000.0}));
}

struct TGeometryCase {
    const char* Name;
    std::int32_t Tool;
    int X1, Y1, X2, Y2;
    bool SwapHandle;
    std::array<double, 8> Points;
};

TEST_F(DrawingTools, FiguresTakeTheirPointsFromTheDrag) {
    const std::vector<TGeometryCase> cases = {
        {"curve, first handle", 2, 100, 100, 500, 100, false, {10000, 10000, 30000, 30000, 30000, -10000, 50000, 10000}},
        {"curve, Space swaps the handle", 2, 100, 100, 500, 100, true, {10000, 10000, 30000, -10000, 30000, 30000, 50000, 10000}},
        {"ellipse from centre and corner", 3, 500, 500, 700, 600, false, {3000 * 10, 4000 * 10, 7000 * 10, 4000 * 10, 7000 * 10, 6000 * 10, 3000 * 10, 6000 * 10}},
        {"ellipse dragged up and left", 3, 500, 500, 300, 400, false, {30000, 40000, 70000, 40000, 70000, 60000, 30000, 60000}},
        {"rectangle dragged from the lower right", 3000, 700, 600, 500, 500, false, {50000, 50000, 70000, 50000, 70000, 60000, 50000, 60000}},
        {"leader, arrow at the first press", 10, 300, 200, 100, 100, false, {30000, 20000, 30000, 20000, 10000, 10000, 10000, 10000}},
    };
    for (const TGeometryCase& c : cases) {
        SCOPED_TRACE(c.Name);
        S.FigureCount = 0;
        ChooseTool(S, c.Tool);
        S.Tools.BezierHandle = 1;
        ToolMouseDown(S, TToolButton::Left, 0, c.X1, c.Y1);
        ToolMouseMove(S, 0, true, (c.X1 + c.X2) / 2, (c.Y1 + c.Y2) / 2);
        if (c.SwapHandle) {
            unsigned short space = 32;
            ToolKeyDown(S, space, 0);
            EXPECT_EQ(S.Tools.BezierHandle, 2);
        }
        ToolMouseMove(S, 0, true, c.X2, c.Y2);
        ToolMouseUp(S, TToolButton::Left, 0, c.X2, c.Y2);
        ASSERT_EQ(S.FigureCount, 1);
        const TDateRec& r = S.Fig(1);
        EXPECT_EQ(r.Kind, c.Tool);
        EXPECT_EQ((std::array{r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4}), c.Points);
        EXPECT_EQ(r.BoxX1, std::min({r.X1, r.X2, r.X3, r.X4}));
        EXPECT_EQ(r.BoxY2, std::max({r.Y1, r.Y2, r.Y3, r.Y4}));
        EXPECT_EQ(r.Text, "0");
        EXPECT_EQ(r.HouseName, "空");
        EXPECT_EQ(r.PlotNumber, "000000");
        EXPECT_EQ(r.PenColor, S.CurPenColor);
        EXPECT_EQ(r.BrushColor, S.CurBrushColor);
        if (c.Tool == 3) {
            // Arc start equals arc end, at the middle of the right side: a whole ellipse.
            EXPECT_EQ(r.Aux1, 70000);
            EXPECT_EQ(r.Aux3, 70000);
            EXPECT_EQ(r.Aux2, 50000);
            EXPECT_EQ(r.Aux4, 50000);
        }
        EXPECT_TRUE(BandGone());
    }
}

TEST_F(DrawingTools, ADimensionIsFiveRecordsInBothDirections) {
    struct TCase {
        const char* Name;
        int X1, X2;
        double StartTickFromY, EndTickFromY;  // where each extension line starts
    };
    const double t5 = 5.0 * S.DimensionTextSize;
    for (const TCase& c : {TCase{"left to right", 100, 300, 10000 - t5, 10000 - t5},
                           TCase{"right to left", 300, 100, 10000 + t5, 10000 + t5}}) {
        SCOPED_TRACE(c.Name);
        S.FigureCount = 0;
        const std::int32_t steps = S.HistoryCount;
        ChooseTool(S, 4);
        Run({{Down, c.X1, 100}, {Move, c.X2, 100}, {Up, c.X2, 100}});
        ASSERT_EQ(Kinds(), (std::vector<std::int32_t>{4, 1, 1, 30, 30}));
        EXPECT_EQ(S.HistoryCount, steps + 1);
        EXPECT_EQ(Top().Label, CreationStepLabel);
        EXPECT_EQ(*Top().Data.Number(0), 5);
        const TDateRec &dim = S.Fig(1), &a = S.Fig(2), &b = S.Fig(3);
        EXPECT_EQ((std::array{dim.X1, dim.X3}), (std::array{c.X1 * 100.0, c.X2 * 100.0}));
        // Perpendicular through each end, 10 x the text size long.
        EXPECT_NEAR(a.X1, dim.X1, 1e-6);
        EXPECT_NEAR(a.X3, dim.X1, 1e-6);
        EXPECT_NEAR(a.Y1, c.StartTickFromY, 1e-6);
        EXPECT_NEAR(a.Y3, 20000 - c.StartTickFromY, 1e-6);
        EXPECT_NEAR(b.X1, dim.X3, 1e-6);
        EXPECT_NEAR(b.Y1, c.EndTickFromY, 1e-6);
        // Outer group 5 owns the dimension and the inner group 4, which owns the lines.
        EXPECT_EQ((std::array{dim.OwnerIndex, a.OwnerIndex, b.OwnerIndex, S.Fig(4).OwnerIndex, S.Fig(5).OwnerIndex}),
                  (std::array{5, 4, 4, 5, 0}));
        EXPECT_EQ((std::array{S.Fig(4).PenColor, S.Fig(4).BrushColor}), (std::array{0, 0}));
        EXPECT_NEAR(S.Fig(5).X1, std::min(c.X1, c.X2) * 100.0, 1e-6);
        EXPECT_NEAR(S.Fig(5).Y1, 10000 - t5, 1e-6);
        EXPECT_NEAR(S.Fig(5).Y3, 10000 + t5, 1e-6);
        EXPECT_EQ(S.Dragging, 0);
        EXPECT_TRUE(BandGone());
    }
}

// A store nearly full: the operations that add several records refuse whole or make
// room for all of them first.
class FullStore : public DrawingTools {
protected:
    void Fill(std::int32_t count, std::initializer_list<std::int32_t> deleted) {
        for (std::int32_t i = 1; i <= count; ++i) {
            TDateRec& r = S.Fig(i);
            r = TDateRec{};
            r.Kind = fkLine;
            r.X1 = r.X2 = i, r.X3 = r.X4 = i + 1;
        }
        for (std::int32_t i : deleted) S.Fig(i).Deleted = 1;
        S.FigureCount = count;
    }
};

TEST_F(FullStore, ADimensionFitsWholeOrNotAtAll) {
    struct TCase {
        const char* Name;
        std::initializer_list<std::int32_t> Deleted;
        std::int32_t CountAfter;
        bool Refused;
    };
    for (const TCase& c : {TCase{"no deleted record", {}, 29996, true},
                           TCase{"compaction frees one slot, five are needed", {7}, 29995, true},
                           TCase{"compaction frees two slots", {7, 8}, 29994 + 5, false}}) {
        SCOPED_TRACE(c.Name);
        Ui.Shown.clear();
        Fill(29996, c.Deleted);
        ChooseTool(S, 4);
        Run({{Down, 100, 100}, {Move, 300, 100}, {Up, 300, 100}});
        EXPECT_EQ(S.FigureCount, c.CountAfter);
        if (c.Refused) {
            ASSERT_EQ(Ui.Shown.size(), 1u);
            EXPECT_EQ(Ui.Shown[0].Text, StoreFullMessage);
            EXPECT_NE(S.Fig(S.FigureCount).Kind, fkGroup);
        } else {
            EXPECT_TRUE(Ui.Shown.empty());
            EXPECT_EQ(S.Fig(S.FigureCount).Kind, fkGroup);
            EXPECT_EQ(S.Fig(S.FigureCount - 4).Kind, fkDimension);
            EXPECT_EQ(*Top().Data.Number(0), 5);
        }
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) ASSERT_EQ(S.Fig(i).Deleted, 0);
    }
}

TEST_F(FullStore, AChainFollowsItsRecordsThroughACompaction) {
    Fill(29993, {5, 6, 7});
    ChooseTool(S, 7);
    // Each piece keeps room for the parent as well: the compaction comes on the way.
    Run(Clicks({{100, 100}, {200, 100}, {200, 200}, {150, 250}, {120, 200}, {100, 150}, {80, 120}, {70, 110}}));
    EXPECT_TRUE(Ui.Shown.empty());
    const std::int32_t pieces = 7;
    ASSERT_EQ(S.FigureCount, 29990 + pieces);
    EXPECT_EQ(S.Tools.ChainStart, 29991);
    EXPECT_EQ(S.Fig(29991).X1, 10000);
    Run({{RightDown, 70, 110}});
    ASSERT_EQ(S.FigureCount, 29990 + pieces + 1);
    EXPECT_EQ(S.Fig(S.FigureCount).Kind, fkPolygon);
    for (std::int32_t i = 29991; i < S.FigureCount; ++i) EXPECT_EQ(S.Fig(i).OwnerIndex, S.FigureCount) << i;
    EXPECT_EQ(S.Fig(29990).OwnerIndex, 0);
    EXPECT_EQ(*Top().Data.Number(0), pieces + 1);
}

TEST_F(FullStore, ABlockIsPlacedAtTheSnappedPressAsOneStepOrNotAtAll) {
    std::vector<std::array<double, 4>> placed;  // pixel and drawing position of each block
    S.Tools.Ops.PlaceBlock = [&](int x, int y) {
        placed.push_back({double(x), double(y), S.Fig(0).X2, S.Fig(0).Y2});
        for (std::int32_t k = 0; k < S.Tools.PlacingColumns * S.Tools.PlacingRows; ++k) {
            TDateRec& r = S.Fig(++S.FigureCount);
            r = TDateRec{};
            r.Kind = fkPlot;
            r.IsPlot = 1;
        }
    };
    S.Tools.MeshSnap = 1;
    S.MeshStep = 20;
    S.MeshOrigin = {400, 300};
    S.BlockColumns = 3;
    S.BlockRows = 2;
    ChooseBlockTool(S, false);
    const std::int32_t steps = S.HistoryCount;
    Run(Clicks({{404, 296}}));
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0], (std::array{400.0, 300.0, 40000.0, 30000.0}));
    EXPECT_EQ(S.FigureCount, 6);
    ASSERT_EQ(S.HistoryCount, steps + 1);
    EXPECT_EQ(Top().Label, CreationStepLabel);
    EXPECT_EQ(*Top().Data.Number(0), 6);
    EXPECT_EQ(S.LedgerUnchanged, 0);
    EXPECT_EQ((std::array<std::int32_t, 2>{S.CurrentTool, S.Dragging}), (std::array<std::int32_t, 2>{fkPlot, 1}));

    // Five slots left, six plots wanted: nothing is placed.
    Fill(29995, {});
    Run(Clicks({{500, 400}}));
    EXPECT_EQ(placed.size(), 1u);
    EXPECT_EQ(S.FigureCount, 29995);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, StoreFullMessage);
    EXPECT_NE(Top().Label, CreationStepLabel);
    EXPECT_EQ(S.Dragging, 1);
}

TEST_F(DrawingTools, ToolButtonsSetCodeCursorAndHelp) {
    S.PlotKindWord = "墓地";
    struct TCase {
        std::int32_t Code;
        const char* Help;
        TToolCursor Cursor;
    };
    for (const TCase& c : {TCase{1, "直線を引きます。", TToolCursor::Cross},
                           TCase{8, "直線と直線の間が曲線になるように連続して描きます。右クリック、又は始点と終点が同じでで終了。", TToolCursor::Cross},
                           TCase{22, "テキスト文字を挿入します。（漢字のみ対応）", TToolCursor::IBeam},
                           TCase{3000, "四角形を描きます。", TToolCursor::Cross}}) {
        ChooseTool(S, c.Code);
        EXPECT_EQ(S.CurrentTool, c.Code);
        EXPECT_EQ(S.Label3, c.Help);
        EXPECT_EQ(S.HelpText, c.Help);
        EXPECT_EQ(View.Cursor, c.Cursor);
    }
    ChooseBlockTool(S, false);
    EXPECT_EQ(S.CurrentTool, fkPlot);
    EXPECT_EQ(S.PreviousTool, 3000);
    EXPECT_EQ(S.Label3, "複数の墓地を配置します。配置個数は「墓地個数設定」で行います。");
    EXPECT_EQ(S.Dragging, 1);
    EXPECT_EQ(View.Cursor, TToolCursor::None);
    EXPECT_EQ((std::array{S.Tools.PlacingColumns, S.Tools.PlacingRows}), (std::array{S.BlockColumns, S.BlockRows}));
    // The right button puts the armed block tool down again.
    Run({{RightDown, 10, 10}});
    EXPECT_EQ(S.CurrentTool, 0);
    EXPECT_EQ(S.Dragging, 0);
    EXPECT_EQ(View.Cursor, TToolCursor::Default);

    // Rotate with nothing selected: refused, the tool stays.
    ChooseTool(S, 1);
    EXPECT_FALSE(ChooseRotateTool(S));
    EXPECT_EQ(Ui.Beeps, 1);
    EXPECT_EQ(S.Label3, "回転する対象がありません。選択してください。");
    EXPECT_EQ(S.CurrentTool, 1);
}

TEST_F(DrawingTools, KeysReachTheirOperations) {
    std::vector<std::string> calls;
    auto& ops = S.Tools.Ops;
    ops.SelectAllFigures = [&] { calls.push_back("all"); };
    ops.CopyOrCutSelection = [&] { calls.push_back(S.Tools.CutMode ? "cut" : "copy"); };
    ops.PasteCopiedFigures = [&] { calls.push_back("paste copy"); };
    ops.PasteCutFigures = [&] { calls.push_back("paste cut"); };
    ops.DeleteSelectedFigures = [&] { calls.push_back("delete"); };
    ops.UndoLast = [&] { calls.push_back("undo"); };
    ops.NudgeSelection = [&](unsigned short key) {
        calls.push_back("nudge " + std::to_string(key));
        S.Tools.NudgeActive = 1;
        S.Tools.NudgeTotal.dx += 100;
    };
    auto press = [&](unsigned short key, unsigned shift) {
        unsigned short k = key;
        ToolKeyDown(S, k, shift);
    };
    auto release = [&](unsigned short key, unsigned shift) {
        unsigned short k = key;
        ToolKeyUp(S, k, shift);
    };
    press('A', ToolCtrlKey);
    press('C', ToolCtrlKey);
    press('V', ToolCtrlKey);
    press('X', ToolCtrlKey);
    press('V', ToolCtrlKey);
    press(46, 0);
    press('Z', ToolCtrlKey);
    press(37, ToolCtrlKey);
    press(39, ToolCtrlKey);
    EXPECT_EQ(calls, (std::vector<std::string>{"all", "copy", "paste copy", "cut", "paste cut", "delete", "undo",
                                               "nudge 37", "nudge 39"}));
    S.Fig(1).Selected = 1;
    S.FigureCount = 1;
    const std::int32_t steps = S.HistoryCount;
    release(17, 0);  // the Ctrl release ends the nudge with one step
    ASSERT_EQ(S.HistoryCount, steps + 1);
    EXPECT_EQ(Top().Label, "キーボードによる図形の移動を元に戻す");
    THistoryData nudge;
    nudge.AddNumber(200);
    nudge.AddNumber(0);
    nudge.AddNumber(1);
    EXPECT_EQ(Top().Data, nudge);
    EXPECT_EQ(S.Tools.NudgeActive, 0);

    // Nothing while a field is being edited; the drawing shortcuts only on the drawing pages.
    calls.clear();
    S.Search.EditingField = 1;
    press('A', ToolCtrlKey);
    S.Search.EditingField = 0;
    S.EditTabActive = 0;
    press('A', ToolCtrlKey);
    press(46, 0);
    EXPECT_TRUE(calls.empty());

    // A plain arrow scrolls by a third of the scroll box.
    press(39, 0);
    press(40, 0);
    EXPECT_EQ((std::array{S.Form->HorzScrollPos(), S.Form->VertScrollPos()}), (std::array{267, 200}));

    // Space pans while held; its release ends the pan.
    press(32, 0);
    EXPECT_EQ(S.Tools.PanMode, 1);
    EXPECT_EQ(View.Cursor, TToolCursor::HandPoint);
    release(32, 0);
    EXPECT_EQ(S.Tools.PanMode, 0);
}

TEST_F(DrawingTools, CtrlLeavesRotateModeWhetherKeyOrModifierSaysSo) {
    S.FigureCount = 1;
    S.Fig(1).Selected = 1;
    for (unsigned shift : {0u, ToolCtrlKey}) {
        ASSERT_TRUE(ChooseRotateTool(S));
        EXPECT_EQ(View.Cursor, TToolCursor::Rotate);
        unsigned short key = shift ? 'A' : 17;
        ToolKeyDown(S, key, shift);
        EXPECT_EQ(S.CurrentTool, 0);
        EXPECT_EQ(S.PreviousTool, -1000);
        key = shift ? 'A' : 17;
        ToolKeyUp(S, key, 0);
        EXPECT_EQ(S.CurrentTool, 0);
        EXPECT_EQ(S.PreviousTool, 0);
    }
}

TEST_F(DrawingTools, SelectToolDispatchesPickingAndMoves) {
    int picks = 0, rectangles = 0, moves = 0;
    S.Tools.Ops.SelectAtPoint = [&](unsigned) { return ++picks == 1 ? 1 : 0; };
    S.Tools.Ops.SelectInRectangle = [&](unsigned) { ++rectangles; };
    S.Tools.Ops.CommitMoveOrTransform = [&](unsigned, int, int) { ++moves; };
    ChooseSelectTool(S);
    // A click on a figure arms a move; a release within 4 pixels only selects.
    Run({{Down, 100, 100}, {Up, 103, 102}});
    EXPECT_EQ((std::array{picks, moves}), (std::array{1, 0}));
    EXPECT_EQ(S.CurrentTool, 0);
    EXPECT_EQ(S.Dragging, 0);
    // A press beside every figure starts a rectangle; a release further away selects by it.
    Run({{Down, 100, 100}, {Move, 200, 150}, {Up, 200, 150}});
    EXPECT_EQ(rectangles, 1);
    EXPECT_EQ(S.Dragging, 0);
    EXPECT_TRUE(BandGone());
    // With a selection the right button first deselects, and takes back a step only then.
    S.FigureCount = 1;
    S.Fig(1).Selected = 1;
    S.HasSelection = 1;
    S.SelectedCount = 1;
    Run({{RightDown, 10, 10}});
    EXPECT_EQ(S.Fig(1).Selected, 0);
    EXPECT_EQ(Undos, 0);
    Run({{RightDown, 10, 10}});
    EXPECT_EQ(Undos, 1);
}

TEST_F(DrawingTools, MeshSnapAndTheCoordinateLine) {
    S.Tools.MeshSnap = 1;
    S.MeshStep = 20;
    struct TCase {
        int Pixel, Snapped;
    };
    for (const TCase& c : {TCase{404, 400}, TCase{405, 410}, TCase{395, 390}, TCase{396, 400}})
        EXPECT_EQ(SnapToMesh(S, c.Pixel, 400), c.Snapped) << c.Pixel;
    S.MeshOrigin = {400, 300};
    ChooseTool(S, 1);
    Run({{Down, 404, 296}, {Move, 433, 336}, {Up, 433, 336}});
    ASSERT_EQ(S.FigureCount, 1);
    EXPECT_EQ((std::array{S.Fig(1).X1, S.Fig(1).Y1, S.Fig(1).X3, S.Fig(1).Y3}), (std::array{40000.0, 30000.0, 43000.0, 34000.0}));
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
