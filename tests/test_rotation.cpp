// The rotate tool on a painted map without a window: the angle in whole degrees, the
// not-xor preview and its colours, what a turn does to lines and arcs, the steps and the
// copies' list; and the snap guides of the point markers.
#include <QGuiApplication>

#include <cmath>

#include "arrange_fixture.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

using testing::TEvent;

double Radians(double degrees) { return degrees * M_PI / 180; }

class Rotation : public testing::ArrangeFixture {
public:
    // The colours on a white canvas after the preview at this angle.
    std::pair<int, int> RedAndBlue(double degrees) {
        TImageCanvas c(800, 600);
        c.Image().fill(Qt::white);
        DrawRotationPreview(S, c, Radians(degrees));
        int red = 0, blue = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const TColor p = c.GetPixel(x, y);
                red += p == 0x0000FF;
                blue += p == 0xFF0000;
            }
        return {red, blue};
    }
    // Rotate tool: the centre clicked, the pointer moved, the second click (Ctrl: copies).
    void TurnBy(int cx, int cy, int x, int y, unsigned shift) {
        ASSERT_TRUE(ChooseRotateTool(S));
        std::vector<TEvent> script = testing::ClickAt(cx, cy);
        script.push_back({testing::Move, x, y});
        script.push_back({testing::Down, x, y, shift});
        script.push_back({testing::Up, x, y, shift});
        Play(script);
    }
};

TEST(RotationAngle, IsTakenToWholeDegreesHalvesToEven) {
    const std::pair<double, double> cases[] = {{44.6, 45}, {44.5, 44}, {45.5, 46}, {-44.5, -44}, {0.4, 0}};
    for (const auto& [degrees, whole] : cases)
        EXPECT_DOUBLE_EQ(WholeDegreesAngle(Radians(degrees)), Radians(whole)) << degrees;
}

TEST_F(Rotation, ThePreviewShowsTheAngleAndTurnsBlueWhereAFigureStandsSquare) {
    Add(fkRectangle, 20000, 20000, 30000, 25000);
    SelectOnly({1});
    S.Tools.RotationCentre = {25000, 22500};
    const auto [red30, blue30] = RedAndBlue(30);
    EXPECT_GT(red30, 0);
    EXPECT_EQ(blue30, 0);
    EXPECT_EQ(Map.Coordinates, "回転中 = -30");
    const auto [red90, blue90] = RedAndBlue(90);
    EXPECT_EQ(red90, 0);
    EXPECT_GT(blue90, 0) << "turned upright again";
    // Drawn twice the preview leaves the map as it was.
    Map.Paint();
    const QImage before = Map.Image();
    DrawRotationPreview(S, Map.Canvas, Radians(45));
    EXPECT_NE(Map.Image(), before);
    EXPECT_EQ(Map.Coordinates, "回転中 = -45");
    DrawRotationPreview(S, Map.Canvas, Radians(45));
    EXPECT_EQ(Map.Image(), before);
}

TEST_F(Rotation, APlainTurnKeepsLinesStraightTurnsArcsAndTellsTheLedgerNothing) {
    AddLine(30000, 30000, 40000.5, 33999.5);
    TDateRec& arc = Add(fkEllipse, 30000, 20000, 34000, 24000);
    arc.Aux1 = 34000, arc.Aux2 = 22000, arc.Aux3 = 32000, arc.Aux4 = 20000;
    AddPlot(40000, 20000, 44000, 23000, 3, "000081");
    SelectOnly({1, 2, 3});
    // Each entry: the geometry, then the SourceIndex the turn overwrites.
    THistoryData before;
    for (const std::int32_t i : {1, 2, 3}) {
        before.Append(Geometry({i}));
        before.AddNumber(S.Fig(i).SourceIndex);
    }
    const std::int32_t history = S.HistoryCount;
    // Centre (300, 300) px; the pointer up and left of it: 45 degrees clockwise.
    TurnBy(300, 300, 200, 200, 0);
    EXPECT_EQ(S.Dragging, 0);
    EXPECT_EQ(Map.Coordinates, "回転中 = -45");
    ASSERT_EQ(S.HistoryCount, history + 1);
    EXPECT_EQ(Step().Label, RotateStepLabel);
    EXPECT_EQ(Step().Data, before);
    // The line's entry: its index and 16 values before the turn, halves to even.
    THistoryData line17;
    line17.Fields.assign(before.Fields.begin(), before.Fields.begin() + 17);
    EXPECT_EQ(line17, Numbers({1, 30000, 30000, 30000, 30000, 40000, 34000, 40000, 34000, 30000, 30000, 40000, 34000,
                               0, 0, 0, 0}));
    EXPECT_EQ(S.FigureCount, 3);
    const TDateRec& line = S.Fig(1);
    EXPECT_EQ(line.X2, line.X1);
    EXPECT_EQ(line.Y2, line.Y1);
    EXPECT_EQ(line.X4, line.X3);
    EXPECT_EQ(line.Y4, line.Y3);
    // (30000, 30000) is the centre: it stays; the other end turns by 45 degrees.
    EXPECT_NEAR(line.X1, 30000, 1e-6);
    EXPECT_NEAR(line.X3, 30000 + (10000.5 - 3999.5) * std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(line.Y3, 30000 + (10000.5 + 3999.5) * std::sqrt(0.5), 1e-6);
    // The arc's start point turns with the circle about the same centre.
    EXPECT_NEAR(S.Fig(2).Aux1, 30000 + (4000 + 8000) * std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(S.Fig(2).Aux2, 30000 + (4000 - 8000) * std::sqrt(0.5), 1e-6);
    EXPECT_EQ(S.Fig(3).Text, "000081");
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_TRUE(Lists().empty());
}

TEST_F(Rotation, CtrlTurnsCopiesAndTheLedgerHearsOfTheCopiedPlotsInOneList) {
    AddPlot(30000, 20000, 34000, 23000, 3, "000081");
    AddPlot(36000, 20000, 40000, 23000, 4);
    AddLine(30000, 26000, 40000, 26000);
    SelectOnly({1, 2, 3});
    S.CurrentHitIndex = 1;
    const std::array<double, 8> original = Points(1);
    // The pointer straight above the centre: a quarter turn.
    TurnBy(350, 300, 350, 200, ToolCtrlKey);
    ASSERT_EQ(S.FigureCount, 6);
    EXPECT_EQ(Points(1), original);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{4, 5, 6}));
    for (std::int32_t i : {4, 5}) {
        EXPECT_EQ(S.Fig(i).Text, "0");
        EXPECT_EQ(S.Fig(i).HouseName, "空");
        EXPECT_EQ(S.Fig(i).SourceIndex, 0);
    }
    EXPECT_EQ(S.Fig(4).PlotId, 5);
    EXPECT_EQ(S.Fig(5).PlotId, 6);
    // The sources' indices travel in the lines: they are taken before the copies are done.
    EXPECT_EQ(Lists(), std::vector<std::string>{ListBytes(VerbAdded, {"5,0,000000,,,1,0,図面1", "6,0,000000,,,2,0,図面1"})});
    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step(1).Data, Numbers({1, 1, 2, 3}));
    EXPECT_EQ(Step().Label, RotateCopyStepLabel);
    EXPECT_EQ(Step().Data, Numbers({3}));
    // The line's copy, turned a quarter about (35000, 30000), stands upright.
    EXPECT_NEAR(S.Fig(6).X1, 39000, 1e-6);
    EXPECT_NEAR(S.Fig(6).Y1, 25000, 1e-6);
    EXPECT_NEAR(S.Fig(6).X3, 39000, 1e-6);
    EXPECT_NEAR(S.Fig(6).Y3, 35000, 1e-6);
}

TEST_F(Rotation, AGroupTurnsWithItsMembersAndItsFrameFollowsThem) {
    AddLine(30000, 30000, 40000, 30000);
    AddLine(30000, 32000, 40000, 32000);
    const std::int32_t g = Group({1, 2});
    SelectOnly({1, 2, g});
    S.Tools.RotationCentre = {35000, 31000};
    S.Tools.RotationAngle = Radians(90.2);
    CommitRotation(S, 0);
    EXPECT_NEAR(S.Fig(g).BoxX1, 34000, 1e-6);
    EXPECT_NEAR(S.Fig(g).BoxX2, 36000, 1e-6);
    EXPECT_NEAR(S.Fig(g).BoxY1, 26000, 1e-6);
    EXPECT_NEAR(S.Fig(g).BoxY2, 36000, 1e-6);
}

struct TGuideCase {
    const char* Name;
    std::array<TToolState::TPointD, 3> Markers;
    int X, Y;
    int PxX, PxY;
    double PosX, PosY;
};

TEST_F(Rotation, PointerPositionsSnapToTheLinesOfTheSetMarkers) {
    const TToolState::TPointD unset{};
    const TGuideCase cases[] = {
        {"near no line", {{{10000, 10000}, unset, unset}}, 300, 300, -1, -1, -1.0, -1.0},
        {"x and y of different markers", {{{10000, 10000}, {30200, 29800}, unset}}, 104, 300, 100, 298, 10000, 29800},
        {"the later marker wins", {{{10000, 10000}, unset, {10200, 10300}}}, 101, 101, 102, 103, 10200, 10300},
        {"within 5 pixels, not on the fifth", {{{10000, 10000}, unset, unset}}, 105, 95, -1, -1, -1.0, -1.0},
        {"an unset marker near 0 never wins", {{{20, 30}, unset, unset}}, 1, 2, 0, 0, 20, 30},
    };
    for (const TGuideCase& c : cases) {
        SCOPED_TRACE(c.Name);
        S.Tools.PointMarkers = c.Markers;
        FindSnapGuides(S, c.X, c.Y);
        EXPECT_EQ(S.SnapGuidePxX, c.PxX);
        EXPECT_EQ(S.Tools.SnapGuidePxY, c.PxY);
        EXPECT_EQ(S.Tools.SnapGuidePos.x, c.PosX);
        EXPECT_EQ(S.Tools.SnapGuidePos.y, c.PosY);
    }
    // Bound, the guides win over the pointer in every snapped point.
    S.Tools.PointMarkers = {TToolState::TPointD{10000, 10000}, unset, unset};
    S.Tools.HandleFigure = -1;
    const TSnappedPoint p = SnapPoint(S, 103, 400, false);
    EXPECT_EQ(p.px, 100);
    EXPECT_EQ(p.x, 10000);
    EXPECT_EQ(p.py, 400);
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
