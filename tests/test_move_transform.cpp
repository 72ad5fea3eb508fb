// Moving, reshaping and copying the selection on a painted map without a window: the
// shapes the drags leave, the preview that leaves no trace, the steps and the copies'
// change list for the ledger.
#include <QGuiApplication>

#include <cmath>

#include "editing/figure_copies.h"
#include "editing_fixture.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

using testing::DragFromTo;
using testing::TEvent;

class MoveTransform : public testing::EditingFixture {
public:
    std::array<double, 8> Points(std::int32_t i) const {
        const TDateRec& r = S.Fig(i);
        return {r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4};
    }
    // To a millionth of a unit: scaling leaves binary fractions.
    void ExpectPoints(std::int32_t i, const std::array<double, 8>& expected) const {
        const std::array<double, 8> p = Points(i);
        for (std::size_t k = 0; k < 8; ++k) EXPECT_NEAR(p[k], expected[k], 1e-6) << "record " << i << " value " << k;
    }
};

// Opposite corners sum alike and the sides meet at a right angle.
void ExpectRectangle(const TFigureShape& p) {
    EXPECT_NEAR(p.X[0] + p.X[2], p.X[1] + p.X[3], 1e-6);
    EXPECT_NEAR(p.Y[0] + p.Y[2], p.Y[1] + p.Y[3], 1e-6);
    const double ax = p.X[1] - p.X[0], ay = p.Y[1] - p.Y[0], bx = p.X[3] - p.X[0], by = p.Y[3] - p.Y[0];
    EXPECT_NEAR(ax * bx + ay * by, 0, 1e-3);
    EXPECT_GT(std::hypot(ax, ay), 1);
    EXPECT_GT(std::hypot(bx, by), 1);
}

double Direction(const TFigureShape& p) { return std::atan2(p.Y[1] - p.Y[0], p.X[1] - p.X[0]); }

TEST(DragGeometry, FrameCornersScaleRectanglesThatStayRectangles) {
    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    const TFigureShape level{{0, 4000, 4000, 0}, {0, 0, 2000, 2000}, {}};
    const TFigureShape turned{{0, 4000 * c, 4000 * c - 2000 * s, -2000 * s}, {0, 4000 * s, 4000 * s + 2000 * c, 2000 * c}, {}};
    for (const TFigureShape& shape : {level, turned}) {
        const double left = *std::min_element(shape.X.begin(), shape.X.end());
        const double right = *std::max_element(shape.X.begin(), shape.X.end());
        const double top = *std::min_element(shape.Y.begin(), shape.Y.end());
        const double bottom = *std::max_element(shape.Y.begin(), shape.Y.end());
        const std::array<double, 4> frame{right, left, bottom, top};
        const std::array<std::array<double, 2>, 4> corners{{{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
        for (std::int32_t h = 1; h <= 4; ++h) {
            SCOPED_TRACE(h);
            const auto [sx, sy] = corners[static_cast<std::size_t>(h - 1)];
            const TDragTransform d = MakeDragTransform(h, {}, frame, FrameWidth(frame), FrameHeight(frame), sx, sy,
                                                       sx + 600, sy + 400, false);
            TFigureShape p = shape;
            ApplyDragTransform(d, fkRectangle, p);
            ExpectRectangle(p);
            EXPECT_NEAR(Direction(p), Direction(shape), 1e-9) << "its sides keep their direction";
            if (&shape == &level) {
                // The corner opposite the handle stays; the dragged one follows the pointer.
                const auto [fx, fy] = corners[static_cast<std::size_t>((h + 1) % 4)];
                bool fixedKept = false, draggedMoved = false;
                for (std::size_t k = 0; k < 4; ++k) {
                    fixedKept = fixedKept || (p.X[k] == fx && p.Y[k] == fy);
                    draggedMoved = draggedMoved || (std::abs(p.X[k] - sx - 600) < 1e-9 && std::abs(p.Y[k] - sy - 400) < 1e-9);
                }
                EXPECT_TRUE(fixedKept);
                EXPECT_TRUE(draggedMoved);
            }
        }
    }
}

TEST_F(MoveTransform, ACornerOfASelectionOfLinesMovesOneEndWithOrWithoutAPreview) {
    struct TCase {
        const char* Name;
        std::vector<TEvent> Script;
        bool Canvas;
    };
    const std::vector<TCase> cases = {
        {"dragged", DragFromTo(100, 100, 120, 130), true},
        {"released without a move", {{testing::Move, 100, 100}, {testing::Down, 100, 100}, {testing::Up, 120, 130}}, true},
        {"no map to preview on", DragFromTo(100, 100, 120, 130), false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        S.FigureCount = 0;
        AddLine(10000, 20000, 30000, 10000);  // rising: its frame's top left is no point of it
        SelectOnly({1});
        Map.HasCanvas = c.Canvas;
        Play(c.Script);
        EXPECT_EQ(Points(1), (std::array<double, 8>{12000, 23000, 12000, 23000, 30000, 10000, 30000, 10000}));
        EXPECT_EQ(Step().Label, TransformStepLabel);
        EXPECT_EQ(S.CurrentTool, 0);
    }
}

TEST_F(MoveTransform, ArcAndCurvePointsMoveAlone) {
    TDateRec& e = Add(fkEllipse, 10000, 10000, 30000, 30000);
    e.Aux1 = 30000, e.Aux2 = 20000, e.Aux3 = 20000, e.Aux4 = 10000;  // from the right round to the top
    SelectOnly({1});
    Play(DragFromTo(200, 100, 210, 90));
    EXPECT_EQ((std::array{e.Aux1, e.Aux2, e.Aux3, e.Aux4}), (std::array{30000.0, 20000.0, 21000.0, 9000.0}));
    EXPECT_EQ(Points(1), (std::array<double, 8>{10000, 10000, 30000, 10000, 30000, 30000, 10000, 30000}));

    TDateRec& c = Add(fkCurve, 0, 0, 0, 0);
    c.X1 = 10000, c.Y1 = 35000, c.X2 = 15000, c.Y2 = 40000, c.X3 = 25000, c.Y3 = 45000, c.X4 = 30000, c.Y4 = 42000;
    UpdateFigureBounds(S, 2);
    SelectOnly({2});
    Play(DragFromTo(150, 400, 160, 420));
    EXPECT_EQ(Points(2), (std::array<double, 8>{10000, 35000, 16000, 42000, 25000, 45000, 30000, 42000}));
    EXPECT_EQ(S.Fig(2).BoxY2, 45000);
}

TEST_F(MoveTransform, ATextScaledTallerThanWideTurnsVertical) {
    AddText(10000, 10000, 30000, 15000, "東西");
    SelectOnly({1});
    Play(DragFromTo(300, 150, 150, 400));
    const TDateRec& t = S.Fig(1);
    EXPECT_EQ(t.Aux1, 2.0);
    EXPECT_EQ((std::array{t.BoxX1, t.BoxY1, t.BoxX2, t.BoxY2}), (std::array{10000.0, 10000.0, 15000.0, 40000.0}));
}

TEST_F(MoveTransform, AFrameWithoutWidthScalesOnlyItsHeight) {
    AddLine(10000, 10000, 10000, 30000);
    AddLine(10000, 15000, 10000, 25000, fkDimension);
    SelectOnly({1, 2});
    Play(DragFromTo(100, 300, 150, 400));
    for (const std::int32_t i : {1, 2})
        for (const double x : {S.Fig(i).X1, S.Fig(i).X2, S.Fig(i).X3, S.Fig(i).X4}) EXPECT_EQ(x, 10000) << i;
    EXPECT_EQ((std::array{S.Fig(1).Y1, S.Fig(1).Y3}), (std::array{10000.0, 40000.0}));
    EXPECT_EQ((std::array{S.Fig(2).Y1, S.Fig(2).Y3}), (std::array{17500.0, 32500.0}));
}

TEST_F(MoveTransform, ThePreviewGoesWithoutATrace) {
    Add(fkRectangle, 10000, 10000, 20000, 15000);
    AddPlot(25000, 10000, 30000, 15000, 1, "000123");
    AddText(10000, 20000, 20000, 23000, "東西南");
    AddLine(25000, 20000, 35000, 25000);
    AddLine(10000, 30000, 20000, 35000, fkLeader);
    AddLine(25000, 30000, 35000, 30000, fkDimension);
    TDateRec& c = Add(fkCurve, 0, 0, 0, 0);
    c.X1 = 10000, c.Y1 = 40000, c.X2 = 12000, c.Y2 = 35000, c.X3 = 18000, c.Y3 = 45000, c.X4 = 20000, c.Y4 = 40000;
    UpdateFigureBounds(S, 7);
    TDateRec& e = Add(fkEllipse, 25000, 38000, 35000, 44000);
    e.Aux1 = 35000, e.Aux2 = 41000, e.Aux3 = 30000, e.Aux4 = 38000;
    Group({1, 2});
    SelectOnly({1, 2, 3, 4, 5, 6, 7, 8, 9});
    Map.Paint();
    const QImage before = Map.Image();
    // The band of a handle drag, drawn and taken off as the tools do.
    S.CurrentTool = 103;
    S.MouseDownPos = {120, 110};
    S.MousePos = {170, 190};
    for (std::int32_t h = 1; h <= 9; ++h) {
        SCOPED_TRACE(h);
        S.Tools.HandleHit = h;
        ShowToolPreview(S);
        EXPECT_FALSE(Map.Image() == before);
        EraseToolPreview(S);
        EXPECT_TRUE(Map.Image() == before);
    }
}

TEST_F(MoveTransform, AMoveRecordsEachFigureAsItWasRoundedHalfToEven) {
    TDateRec& r = Add(fkRectangle, 10000, 10000, 30000, 30000);
    r.X1 = 10002.5, r.Y1 = 10003.5;
    UpdateFigureBounds(S, 1);
    SelectOnly({1});
    const std::int32_t steps = S.HistoryCount;
    Play(DragFromTo(200, 200, 250, 230));
    ASSERT_EQ(S.HistoryCount, steps + 1);
    EXPECT_EQ(Step().Label, MoveStepLabel);
    EXPECT_EQ(Step().Data, Numbers({1, 10002, 10004, 30000, 10000, 30000, 30000, 10000, 30000, 10000, 10000, 30000,
                                    30000, 0, 0, 0, 0, 0}));  // and the SourceIndex the move overwrites
    EXPECT_EQ(Points(1), (std::array<double, 8>{15002.5, 13003.5, 35000, 13000, 35000, 33000, 15000, 33000}));
    EXPECT_EQ(S.DrawingUnchanged, 0);
    EXPECT_EQ(S.Tools.PointMarkers[2], (TToolState::TPointD{25000, 23000}));
}

TEST_F(MoveTransform, ACtrlDragCopiesPlotsAsEmptyPlotsAndTellsTheLedgerOnce) {
    TDateRec& a = AddPlot(10000, 10000, 14000, 13000, 5, "000123");  // 1
    a.Grade = "一等", a.DistrictId = 3, a.SourceIndex = -1, a.PlotRemarks = "墓誌";
    AddPlot(15000, 10000, 19000, 13000, 6, "000124").ShareSetId = 6;  // 2: a shared plot ...
    TDateRec& aside = AddPlot(15000, 10000, 19000, 13000, 7, "000125");  // 3: ... and its set-aside copy
    aside.ShareSetId = 6, aside.SetAside = 1;
    AddLine(10000, 20000, 20000, 20000);  // 4
    Group({4});                           // 5
    for (const auto& [x1, y1, x2, y2] : {std::array{30000, 10000, 34000, 10000}, std::array{34000, 10000, 34000, 13000},
                                         std::array{34000, 13000, 30000, 13000}, std::array{30000, 13000, 30000, 10000}}) {
        TDateRec& edge = AddLine(x1, y1, x2, y2, fkPolygonEdge);  // 6..9: the pieces of a compound plot
        edge.IsPlot = 1, edge.PlotId = 8, edge.OwnerIndex = 10;
    }
    TDateRec& parent = Add(fkPolygon, 30000, 10000, 34000, 13000);  // 10
    parent.IsPlot = 1, parent.PlotId = 8;
    S.MaxPlotId = 8;
    SelectOnly({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    Play(DragFromTo(250, 160, 250, 360, ToolCtrlKey));

    ASSERT_EQ(S.FigureCount, 19) << "every figure but the set-aside copy";
    const std::int32_t sources[] = {1, 2, 4, 5, 6, 7, 8, 9, 10};
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        const TDateRec &copy = S.Fig(11 + k), &source = S.Fig(sources[k]);
        EXPECT_EQ(copy.Kind, source.Kind);
        EXPECT_EQ(copy.Y1, source.Y1 + 20000);
        EXPECT_EQ(copy.X1, source.X1);
        EXPECT_EQ(copy.Selected, 1);
        EXPECT_EQ(source.Selected, 0);
        EXPECT_EQ(copy.SourceIndex, 0);
    }
    for (const std::int32_t i : {11, 12}) {
        const TDateRec& p = S.Fig(i);
        EXPECT_EQ((std::array<std::string, 5>{p.Text, p.HouseName, p.PlotNumber, p.HeadName, p.PlotRemarks}),
                  (std::array<std::string, 5>{"0", "空", "000000", "", ""}));
        EXPECT_EQ(p.ShareSetId, 0);
    }
    EXPECT_EQ((std::array{S.Fig(11).PlotId, S.Fig(12).PlotId, S.Fig(15).PlotId, S.Fig(18).PlotId, S.Fig(19).PlotId}),
              (std::array{9, 10, 11, 11, 11}));
    EXPECT_EQ(S.MaxPlotId, 11);
    EXPECT_EQ(S.Fig(13).OwnerIndex, 14) << "the copied line follows the copied group";
    for (const std::int32_t i : {15, 16, 17, 18}) EXPECT_EQ(S.Fig(i).OwnerIndex, 19);
    EXPECT_EQ(S.LedgerUnchanged, 0);

    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step(1).Data, Numbers({-1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Step().Label, MoveCopyStepLabel);
    EXPECT_EQ(Step().Data, Numbers({9}));
    EXPECT_EQ(Ui.Lists(), (std::vector<std::string>{"-999,-999,,,,-999,-999,追加\r\n"
                                                     "9,0,000000,,一等,1,3,図面1\r\n"
                                                     "10,0,000000,,,2,0,図面1\r\n"
                                                     "11,0,000000,,,10,0,図面1\r\n"}));
}

TEST_F(MoveTransform, ACopyThatFindsNoRoomChangesNothing) {
    S.FigureCount = MaxFigures - 3;
    for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i).Kind = fkLine;
    AddPlot(10000, 10000, 14000, 13000, 5);
    AddPlot(15000, 10000, 19000, 13000, 6);
    SelectOnly({MaxFigures - 2, MaxFigures - 1});
    S.Tools.HandleHit = 5;
    S.Fig(0).X1 = 12000, S.Fig(0).Y1 = 12000;
    CommitMoveOrTransform(S, Map, ToolCtrlKey, 120, 300);
    EXPECT_EQ(S.FigureCount, MaxFigures - 1);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, StoreFullMessage);
    EXPECT_EQ(S.Fig(MaxFigures - 1).Y1, 10000);
    EXPECT_EQ(S.DrawingUnchanged, 1);
    EXPECT_EQ(S.MaxPlotId, 6);
    EXPECT_NE(Step().Label, MoveCopyStepLabel);
    EXPECT_TRUE(Ui.Lists().empty());
}

TEST_F(MoveTransform, CtrlAAfterPickingALineScalesTheRectangleItAlsoTakes) {
    AddLine(10000, 10000, 20000, 15000);
    Add(fkRectangle, 15000, 20000, 30000, 30000);
    Play(testing::ClickAt(150, 125));
    ASSERT_EQ(Selected(), (std::vector<std::int32_t>{1}));
    CtrlA();
    Play(DragFromTo(300, 300, 400, 400));
    ExpectPoints(2, {17500, 25000, 40000, 25000, 40000, 40000, 17500, 40000});
    ExpectPoints(1, {10000, 10000, 10000, 10000, 25000, 17500, 25000, 17500});
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
