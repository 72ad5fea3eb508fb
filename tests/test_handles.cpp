// The handle under the pointer, the blinking frame and the point markers, on a painted
// map without a window.
#include <QGuiApplication>

#include "editing_fixture.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

class Handles : public testing::EditingFixture {
public:
    Handles() {
        Add(fkRectangle, 10000, 10000, 30000, 30000);  // 1
        AddLine(40000, 20000, 50000, 10000);             // 2: rising, no point on its frame's top left
        TDateRec& c = Add(fkCurve, 0, 0, 0, 0);          // 3: point 1 on its frame's top left
        c.X1 = 10000, c.Y1 = 35000, c.X2 = 15000, c.Y2 = 40000;
        c.X3 = 25000, c.Y3 = 45000, c.X4 = 30000, c.Y4 = 42000;
        UpdateFigureBounds(S, 3);
    }
};

struct THandleCase {
    const char* Name;
    std::vector<std::int32_t> Selection;
    std::int32_t Tool;
    std::uint8_t Phase;
    int X, Y;
    std::int32_t HandleHit, HandleFigure;
    std::array<int, 2> Snap;
    bool Blinks = false;
};

TEST_F(Handles, ThePointerFindsCornersInsideAndOwnPoints) {
    const std::vector<THandleCase> cases = {
        {"a frame corner 4 px off, on the figure's point", {1}, 0, 1, 96, 96, 1, 1, {100, 100}},
        {"5 px off is beside it", {1}, 0, 1, 95, 95, -1, -1, {-1, -1}},
        {"the bottom right corner", {1}, 0, 1, 303, 297, 3, 1, {300, 300}},
        {"inside the frame", {1}, 0, 1, 200, 200, 5, -1, {-1, -1}},
        {"a line's frame corner away from its points", {2}, 0, 1, 401, 101, 1, -1, {400, 100}},
        {"a line's end", {2}, 0, 1, 499, 101, 8, 2, {500, 100}},
        {"a line's start", {2}, 0, 1, 401, 199, 6, 2, {400, 200}},
        {"a curve's inner point while the frame shows its points", {3}, 0, 1, 151, 399, 7, 3, {150, 400}},
        {"and not in the other phase", {3}, 0, 0, 151, 399, 5, 3, {150, 400}},
        {"a curve's point on its frame corner blinks", {3}, 0, 1, 101, 351, 6, 3, {100, 350}, true},
        {"that corner in the other phase", {3}, 0, 0, 101, 351, 1, 3, {100, 350}},
        {"a handle drag keeps its handle", {1}, 103, 1, 200, 200, 3, -1, {-1, -1}},
        {"so does the rotate tool", {1}, 1000, 1, 96, 96, 3, 1, {100, 100}},
        {"nothing selected with the select tool", {}, 0, 1, 96, 96, -1, -1, {-1, -1}},
        {"a drawing tool snaps to points without a selection", {}, 1, 1, 96, 96, -1, 1, {100, 100}},
    };
    for (const THandleCase& c : cases) {
        SCOPED_TRACE(c.Name);
        SelectOnly(std::initializer_list<std::int32_t>{});
        for (const std::int32_t i : c.Selection) S.Fig(i).Selected = 1;
        RebuildSelectionList(S, true);
        ClassifySelectionKinds(S);
        S.CurrentTool = c.Tool;
        S.Tools.BlinkPhase = c.Phase;
        S.Tools.BlinkRunning = 0;
        Map.TimerOn = false;
        S.Tools.HandleHit = 3;
        FindHandleUnderCursor(S, c.X, c.Y);
        EXPECT_EQ(S.Tools.HandleHit, c.HandleHit);
        EXPECT_EQ(S.Tools.HandleFigure, c.HandleFigure);
        EXPECT_EQ((std::array{S.SnapGuidePxX, S.Tools.SnapGuidePxY}), c.Snap);
        EXPECT_EQ(S.Tools.SnapHit, c.Snap[0] != -1 ? 1 : 0);
        EXPECT_EQ(Map.TimerOn, c.Blinks);
    }
}

TEST_F(Handles, TheFrameBlinksFasterThenEvenlyUntilThePointerMoves) {
    SelectOnly({3});
    FindHandleUnderCursor(S, 101, 351);
    ASSERT_TRUE(Map.TimerOn);
    ASSERT_EQ(Map.TimerInterval, 10);
    Map.Paint();
    std::vector<int> intervals;
    std::vector<std::uint8_t> phases;
    for (int tick = 0; tick < 7; ++tick) {
        BlinkTimerTick(S);
        intervals.push_back(Map.TimerInterval);
        phases.push_back(S.Tools.BlinkPhase);
    }
    EXPECT_EQ(intervals, (std::vector<int>{20, 40, 80, 160, 320, 640, 640}));
    EXPECT_EQ(phases, (std::vector<std::uint8_t>{0, 1, 0, 1, 0, 1, 0}));
    // Phase 0: the frame red, the curve lime.
    EXPECT_EQ(Pixel(200, 350), 0x0000FF);
    EXPECT_EQ(Pixel(125, 375), SelectedColor);  // its first control line
    ToolMouseMove(S, 0, false, 300, 300);
    EXPECT_FALSE(Map.TimerOn);
    EXPECT_EQ(S.Tools.BlinkPhase, 1);
    EXPECT_EQ(S.Tools.BlinkInterval, 10);
}

TEST_F(Handles, MarkersToggleInNotXorAndShowWhereThePointerMeetsThem) {
    Map.Paint();
    const QImage blank = Map.Image();
    S.CurrentTool = 1;
    S.Tools.PointMarkers = {{{10000, 10000}, {20000, 30000}, {20000, 40000}}};
    DrawPointMarkers(S, Map.Canvas);
    const QImage shown = Map.Image();
    EXPECT_FALSE(shown == blank);
    // Markers 1 and 2 share their x: one vertical line, which a second would cancel.
    int changed = 0;
    for (int y = 0; y < 600; ++y) changed += shown.pixel(200, y) != blank.pixel(200, y);
    EXPECT_GT(changed, 100);
    DrawPointMarkers(S, Map.Canvas);
    EXPECT_TRUE(Map.Image() == blank);
    // Marker 0 is the start of a figure being drawn: not shown with the select tool.
    S.CurrentTool = 0;
    S.Tools.PointMarkers = {{{10000, 10000}, {}, {}}};
    DrawPointMarkers(S, Map.Canvas);
    EXPECT_TRUE(Map.Image() == blank);

    // Near a marker line: shown, that line highlighted; away: gone again.
    S.Tools.PointMarkers = {{{}, {20000, 30000}, {}}};
    S.HoverPos = {202, 50};
    HitTestPointMarkers(S);
    ASSERT_EQ(S.Tools.MarkersShown, 1);
    EXPECT_EQ(S.Tools.MarkerColours[1].Vertical, MarkerHighlight);
    EXPECT_EQ(S.Tools.MarkerColours[1].Horizontal, MarkerGrey);
    EXPECT_EQ(Pixel(200, 50), MarkerHighlight);  // not-xor on white paints the colour itself
    // A repaint draws shown markers back.
    Map.Paint();
    EXPECT_EQ(S.Tools.MarkersShown, 1);
    EXPECT_NE(Pixel(200, 50), 0xFFFFFF);
    S.HoverPos = {600, 500};
    HitTestPointMarkers(S);
    EXPECT_EQ(S.Tools.MarkersShown, 0);
    EXPECT_TRUE(Map.Image() == blank);
    // An unset marker is near nothing, not even the paper's corner.
    S.Tools.PointMarkers = {};
    S.HoverPos = {0, 0};
    HitTestPointMarkers(S);
    EXPECT_EQ(S.Tools.MarkersShown, 0);
    EXPECT_TRUE(Map.Image() == blank);
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
