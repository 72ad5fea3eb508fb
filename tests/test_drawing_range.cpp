// The drawing range buttons and the keyboard nudge on a small drawing: the coordinates
// they move, the sizes that follow, their limits and the steps they record.
#include <gtest/gtest.h>

#include "editing/drawing_range.h"
#include "editing/drawing_tools.h"
#include "editing_test_support.h"

namespace tarvek {
namespace {

using testing::AddCorners;
using testing::AddStraight;
using testing::Numbers;
using testing::SelectOnly;

using TValues = std::array<double, 16>;
TValues ValuesOf(const TDateRec& r) {
    return {r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4, r.BoxX1, r.BoxY1, r.BoxX2, r.BoxY2, r.Aux1, r.Aux2, r.Aux3, r.Aux4};
}

class DrawingRange : public ::testing::Test {
protected:
    DrawingRange() : S(Ui, &View) {
        S.ViewBaseWidth = 764;
        S.ViewBaseHeight = 564;
        S.Zoom = 2;
        AddStraight(S, fkLine, 100000, 50000, 300001, 51234);  // 1
        TDateRec& arc = AddCorners(S, fkEllipse, {{1000, 1000}, {9000, 1000}, {9000, 5000}, {1000, 5000}});  // 2
        arc.Aux1 = 3000, arc.Aux2 = 1000, arc.Aux3 = 9000, arc.Aux4 = 4000;                                // arc ends
        TDateRec& text = AddCorners(S, fkText, {{20000, 20000}, {26000, 20000}, {26000, 22000}, {20000, 22000}});  // 3
        text.Aux1 = 1, text.Aux2 = 8, text.Aux3 = 9, text.Aux4 = 10;
        TDateRec& plot = AddCorners(S, fkPlot, {{40000, 40000}, {44000, 40000}, {44000, 43000}, {40000, 43000}});  // 4
        plot.IsPlot = 1;
        plot.Aux1 = 5;
        AddStraight(S, fkLine, 7, 7, 8, 8).Deleted = 1;  // 5: deleted records move too
    }

    const Trireki& Top() const { return S.History[static_cast<std::size_t>(S.HistoryCount)]; }

    TScriptedUi Ui;
    testing::TEditingView View;
    TDrawingState S;
};

TEST_F(DrawingRange, EnlargingThenReducingBringsEveryFigureBack) {
    std::vector<TValues> before;
    for (std::int32_t i = 1; i <= S.FigureCount; ++i) before.push_back(ValuesOf(S.Fig(i)));
    S.HitCenterX = 100000, S.HitCenterY = 60000;
    S.HitBox = {80000, 120000, 50000, 70000};

    ASSERT_TRUE(EnlargeDrawingRange(S));
    EXPECT_EQ(S.DrawingScale, 2000);
    EXPECT_EQ(Top().Label, NarrowRangeStepLabel);
    // The paper, then the block unit, dimension text and text sizes before the change.
    EXPECT_EQ(Top().Data, Numbers({764, 564, 4, 3, 500, 8}));
    // Halved about the paper's centre (382000, 282000).
    EXPECT_EQ((std::array{S.Fig(1).X1, S.Fig(1).Y1, S.Fig(1).X3}), (std::array{241000.0, 166000.0, 341000.5}));
    EXPECT_EQ(S.Fig(2).Aux3, 9000 / 2 + 191000.0);
    EXPECT_EQ((std::array{S.Fig(3).Aux1, S.Fig(3).Aux2, S.Fig(3).Aux3, S.Fig(3).Aux4}), (std::array{1.0, 8.0, 9.0, 10.0}));
    EXPECT_EQ(S.Fig(4).Aux1, 5 / 2.0 + 191000);  // a plot's is moved like every kind's but a text's
    EXPECT_EQ(S.Fig(5).X1, 7 / 2.0 + 191000);
    EXPECT_EQ((std::array{S.HitCenterX, S.HitCenterY, S.HitBox[1]}), (std::array{241000.0, 171000.0, 251000.0}));
    EXPECT_EQ((std::array{View.PaintBoxWidth(), View.PaintBoxHeight()}), (std::array{1528, 1128}));
    EXPECT_EQ((std::array{S.BlockUnitWidth, S.BlockUnitHeight, S.DimensionTextSize, S.Tools.TextSize}),
              (std::array{2, 1, 250, 4}));
    EXPECT_EQ(S.DrawingUnchanged, 0);

    ASSERT_TRUE(ReduceDrawingRange(S));
    EXPECT_EQ(S.DrawingScale, 1000);
    EXPECT_EQ(Top().Label, WidenRangeStepLabel);
    EXPECT_EQ(Top().Data, Numbers({764, 564, 2, 1, 250, 4}));
    for (std::int32_t i = 1; i <= S.FigureCount; ++i) EXPECT_EQ(ValuesOf(S.Fig(i)), before[static_cast<std::size_t>(i - 1)]) << i;
    EXPECT_EQ((std::array{S.HitCenterX, S.HitCenterY}), (std::array{100000.0, 60000.0}));
    EXPECT_EQ((std::array{S.BlockUnitWidth, S.BlockUnitHeight, S.DimensionTextSize, S.Tools.TextSize}),
              (std::array{4, 2, 500, 8}));
}

TEST_F(DrawingRange, TheRangeStopsAtItsEnds) {
    struct TCase {
        bool Enlarge;
        std::int32_t Scale, After;
        bool Done;
    };
    const TCase cases[] = {{true, 8000, 16000, true}, {true, 16000, 16000, false}, {false, 1000, 500, true},
                           {false, 125, 125, false},  {false, 3, 3, false},        {false, 2, 2, false},
                           {false, 4, 2, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Enlarge ? "enlarge " : "reduce ") + std::to_string(c.Scale));
        S.DrawingScale = c.Scale;
        const double x = S.Fig(1).X1;
        const std::int32_t steps = S.HistoryCount;
        Ui.Beeps = 0;
        EXPECT_EQ(c.Enlarge ? EnlargeDrawingRange(S) : ReduceDrawingRange(S), c.Done);
        EXPECT_EQ(S.DrawingScale, c.After);
        EXPECT_EQ(S.HistoryCount, steps + (c.Done ? 1 : 0));
        EXPECT_EQ(Ui.Beeps, c.Done ? 0 : 1);
        if (!c.Done) {
            EXPECT_EQ(S.Fig(1).X1, x);
        }
    }
    // The text size halves to no less than 2.
    S.DrawingScale = 1000;
    S.Tools.TextSize = 3;
    EnlargeDrawingRange(S);
    EXPECT_EQ(S.Tools.TextSize, 2);
    EnlargeDrawingRange(S);
    EXPECT_EQ(S.Tools.TextSize, 2);
}

TEST_F(DrawingRange, TheSizesThatFollowTheRangeStayInTheirRange) {
    constexpr std::int32_t Max = 2147483647, Min = -2147483647 - 1, Half = Max / 2;
    struct TCase {
        const char* Name;
        bool Enlarge;
        std::int32_t Scale;
        std::array<std::int32_t, 4> Sizes;  // block width and height, dimension and text size
        bool Done;
        std::array<std::int32_t, 4> After;
    };
    const TCase cases[] = {
        // Typed into the niche-count dialog: doubled, they would leave 32 bits.
        {"plot width 1500000000", false, 1000, {1500000000, 3, 500, 8}, false, {1500000000, 3, 500, 8}},
        {"largest plot width", false, 1000, {Max, 3, 500, 8}, false, {Max, 3, 500, 8}},
        {"plot height 2^30", false, 1000, {4, Half + 1, 500, 8}, false, {4, Half + 1, 500, 8}},
        {"largest sizes that double", false, 1000, {Half, Half, Half, Half}, true, {Max - 1, Max - 1, Max - 1, Max - 1}},
        // Read from a display settings file.
        {"dimension size of 2^30", false, 1000, {4, 3, Half + 1, 8}, false, {4, 3, Half + 1, 8}},
        {"smallest dimension size", false, 1000, {4, 3, Min, 8}, false, {4, 3, Min, 8}},
        {"text size after many reductions", false, 1 << 30, {4, 3, 500, Half + 1}, false, {4, 3, 500, Half + 1}},
        {"largest scale", true, Max, {4, 3, 500, 8}, false, {4, 3, 500, 8}},
        {"scale of 2^30", true, 1 << 30, {4, 3, 500, 8}, false, {4, 3, 500, 8}},
        {"smallest scale", true, Min, {4, 3, 500, 8}, false, {4, 3, 500, 8}},
        {"largest sizes halved", true, 1000, {Max, Max, Max, Max}, true, {Half, Half, Half, Half}},
        {"smallest dimension size halved", true, 1000, {4, 3, Min, 8}, true, {2, 1, Min / 2, 4}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        S.DrawingScale = c.Scale;
        S.BlockUnitWidth = c.Sizes[0], S.BlockUnitHeight = c.Sizes[1];
        S.DimensionTextSize = c.Sizes[2], S.Tools.TextSize = c.Sizes[3];
        const TValues line = ValuesOf(S.Fig(1));
        const std::int32_t steps = S.HistoryCount;
        Ui.Beeps = 0;
        EXPECT_EQ(c.Enlarge ? EnlargeDrawingRange(S) : ReduceDrawingRange(S), c.Done);
        EXPECT_EQ((std::array{S.BlockUnitWidth, S.BlockUnitHeight, S.DimensionTextSize, S.Tools.TextSize}), c.After);
        EXPECT_EQ(Ui.Beeps, c.Done ? 0 : 1);
        EXPECT_EQ(S.HistoryCount, steps + (c.Done ? 1 : 0));
        if (c.Done) {
            // The step records the sizes as they were, each in full.
            EXPECT_EQ(Top().Data, Numbers({764, 564, c.Sizes[0], c.Sizes[1], c.Sizes[2], c.Sizes[3]}));
            // And the opposite button gives back what doubling and halving can.
            ASSERT_TRUE(c.Enlarge ? ReduceDrawingRange(S) : EnlargeDrawingRange(S));
            if (!c.Enlarge) {
                EXPECT_EQ((std::array{S.BlockUnitWidth, S.BlockUnitHeight, S.DimensionTextSize, S.Tools.TextSize}),
                          c.Sizes);
                EXPECT_EQ(ValuesOf(S.Fig(1)), line);
            }
        } else {
            EXPECT_EQ(S.DrawingScale, c.Scale);
            EXPECT_EQ(ValuesOf(S.Fig(1)), line);
        }
    }
}

class Nudge : public DrawingRange {
protected:
    Nudge() {
        S.EditTabActive = 1;
        S.Tools.Ops.NudgeSelection = [this](unsigned short key) { NudgeSelection(S, key); };
        SelectOnly(S, {1, 3});
    }
    void Press(unsigned short key, unsigned shift) { ToolKeyDown(S, key, shift); }
    void Release(unsigned short key) { ToolKeyUp(S, key, 0); }
};

TEST_F(Nudge, HeldArrowsMoveTheSelectionAndTheKeyReleaseRecordsOneStep) {
    S.Tools.MoveStep = 5;
    const TValues line = ValuesOf(S.Fig(1)), text = ValuesOf(S.Fig(3)), arc = ValuesOf(S.Fig(2));
    const std::int32_t steps = S.HistoryCount;
    Press(39, ToolCtrlKey);
    EXPECT_EQ(S.Fig(1).X1, line[0] + 2500);  // five pixels at zoom 2
    Press(39, ToolCtrlKey);
    Press(39, ToolCtrlKey);
    EXPECT_EQ(S.HistoryCount, steps);
    Release(17);
    ASSERT_EQ(S.HistoryCount, steps + 1);
    EXPECT_EQ(Top().Label, "キーボードによる図形の移動を元に戻す");
    EXPECT_EQ(Top().Data, Numbers({7500, 0, 1, 3}));
    TValues moved = line;
    for (const std::size_t k : {0, 2, 4, 6, 8, 10, 12, 14}) moved[k] += 7500;
    EXPECT_EQ(ValuesOf(S.Fig(1)), moved);
    EXPECT_EQ((std::array{S.Fig(3).X1, S.Fig(3).BoxX2}), (std::array{text[0] + 7500, text[10] + 7500}));
    EXPECT_EQ((std::array{S.Fig(3).Aux1, S.Fig(3).Aux2, S.Fig(3).Aux3, S.Fig(3).Aux4}), (std::array{1.0, 8.0, 9.0, 10.0}));
    EXPECT_EQ(ValuesOf(S.Fig(2)), arc);  // not selected
    EXPECT_EQ(S.DrawingUnchanged, 0);

    // Up, then Shift let go first: that ends the move with its step too.
    Press(38, ToolCtrlKey | ToolShiftKey);
    Press(38, ToolCtrlKey | ToolShiftKey);
    Release(16);
    ASSERT_EQ(S.HistoryCount, steps + 2);
    EXPECT_EQ(Top().Data, Numbers({0, -5000, 1, 3}));
    Release(17);
    EXPECT_EQ(S.HistoryCount, steps + 2);
    EXPECT_EQ(S.Fig(1).Y1, line[1] - 5000);
}

}  // namespace
}  // namespace tarvek
