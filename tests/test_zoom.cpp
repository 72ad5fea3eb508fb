// Zoom and scrolling against a stand-in for the map's scroll box (800 x 600).
#include <gtest/gtest.h>

#include "document/drawing_state.h"
#include "view/zoom.h"

namespace tarvek {
namespace {

struct TMapView : TEditorView {
    int Warps = 0;
    void WarpPointerToMapCentre() override { ++Warps; }
};

class Zoom : public ::testing::Test {
protected:
    Zoom() : S(Ui, &View) {
        S.ViewBaseWidth = 764;
        S.ViewBaseHeight = 564;
    }
    void At(int step) {
        S.ZoomStep = step;
        S.Zoom = S.ZoomSteps[static_cast<std::size_t>(step)];
        View.SetPaintBoxSize(764 * S.Zoom, 564 * S.Zoom);
    }
    std::vector<std::string> Labels(std::int32_t from) const {
        std::vector<std::string> l;
        for (std::int32_t i = from + 1; i <= S.HistoryCount; ++i) l.push_back(S.History[static_cast<std::size_t>(i)].Label);
        return l;
    }

    TScriptedUi Ui;
    TMapView View;
    TDrawingState S;
};

TEST_F(Zoom, StepsAboutAPointAndTheirHistory) {
    struct TCase {
        const char* Name;
        int Step;
        std::function<bool(TDrawingState&)> Op;
        bool Changed;
        int Zoom, ZoomStep;
    };
    const TCase cases[] = {
        {"in", 6, ZoomInStep, true, 20, 7},
        {"in at the last step", 9, ZoomInStep, false, 50, 9},
        {"out", 6, ZoomOutStep, true, 8, 5},
        {"out at the first step", 1, ZoomOutStep, false, 1, 1},
        {"button in", 3, [](TDrawingState& s) { return ZoomByButton(s, true); }, true, 5, 4},
        {"button out at zoom 1", 1, [](TDrawingState& s) { return ZoomByButton(s, false); }, false, 1, 1},
        {"button in at zoom 50", 9, [](TDrawingState& s) { return ZoomByButton(s, true); }, false, 50, 9},
        {"wheel in at zoom 50", 9, [](TDrawingState& s) { return ZoomByWheel(s, 120); }, false, 50, 9},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        At(c.Step);
        S.WheelZoomSeries = 0;
        S.MousePos = {1000, 500};
        const std::int32_t before = S.HistoryCount;
        EXPECT_EQ(c.Op(S), c.Changed);
        EXPECT_EQ(S.Zoom, c.Zoom);
        EXPECT_EQ(S.ZoomStep, c.ZoomStep);
        if (!c.Changed) {
            EXPECT_EQ(S.HistoryCount, before);
            continue;
        }
        EXPECT_EQ(Labels(before), (std::vector<std::string>{ScrollStepLabel, ZoomStepLabel}));
        EXPECT_EQ(View.PaintBoxWidth(), 764 * c.Zoom);
        EXPECT_EQ(View.PaintBoxHeight(), 564 * c.Zoom);
        EXPECT_EQ(*S.History[static_cast<std::size_t>(S.HistoryCount)].Data.Number(0), S.ZoomSteps[static_cast<std::size_t>(c.Step)]);
    }
}

TEST_F(Zoom, ThePointUnderTheCentreMovesToTheMiddle) {
    At(6);  // zoom 10
    S.MousePos = {5000, 3000};
    ASSERT_TRUE(ZoomInStep(S));  // zoom 20: (5000 / 10 * 20) - 764 / 2
    EXPECT_EQ(View.HorzScrollPos(), 10000 - 382);
    EXPECT_EQ(View.VertScrollPos(), 6000 - 282);
    EXPECT_EQ(S.RecordedScrollPos.x, View.HorzScrollPos());
}

TEST_F(Zoom, AWheelSeriesRecordsTheViewOnce) {
    At(4);
    S.HoverPos = {300, 200};
    const std::int32_t before = S.HistoryCount;
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(ZoomByWheel(S, 120));
    EXPECT_EQ(S.Zoom, 20);
    EXPECT_EQ(Labels(before), (std::vector<std::string>{ScrollStepLabel, ZoomStepLabel}));
    EXPECT_EQ(View.Warps, 3);
    EXPECT_EQ(S.SkipNextMouseMove, 1);
    // A click on the map ends the series: the next wheel step records again.
    S.WheelZoomSeries = 0;
    ASSERT_TRUE(ZoomByWheel(S, -120));
    EXPECT_EQ(S.HistoryCount, before + 4);
}

TEST_F(Zoom, ToARectangle) {
    struct TCase {
        const char* Name;
        int Step;
        TDrawingState::TPixel From, To;
        bool Changed;
        int Zoom, ZoomStep;
    };
    const TCase cases[] = {
        {"100 x 40 at zoom 10: 60, capped", 6, {100, 100}, {200, 140}, true, 50, 9},
        {"400 x 300 at zoom 10", 6, {0, 0}, {400, 300}, true, 15, 7},  // 600 / 400 * 10
        {"a drag of 8 pixels: one step in", 6, {100, 100}, {108, 108}, true, 20, 7},
        {"a tiny drag at the last steps", 9, {100, 100}, {105, 200}, false, 50, 9},
        {"the whole map at zoom 1", 1, {0, 0}, {5000, 5000}, false, 1, 1},  // rounds to 0: kept at 1
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        At(c.Step);
        S.MouseDownPos = c.From;
        S.MousePos = c.To;
        const std::int32_t before = S.HistoryCount;
        EXPECT_EQ(ZoomToRectangle(S), c.Changed);
        EXPECT_EQ(S.Zoom, c.Zoom);
        EXPECT_EQ(S.ZoomStep, c.ZoomStep);
        EXPECT_EQ(S.HistoryCount, before + (c.Changed ? 2 : 0));
        if (c.Changed) {
            EXPECT_EQ(View.PaintBoxWidth(), 764 * c.Zoom);
        }
    }
}

TEST_F(Zoom, AResizeAtZoomOneKeepsTheDrawingCentred) {
    struct TResizedView : TMapView {
        int ScrollBoxWidth() const override { return 901; }  // odd: loses one
        int ScrollBoxHeight() const override { return 700; }
    } view;
    TScriptedUi ui;
    TDrawingState s(ui, &view);
    s.Zoom = 1, s.ZoomStep = 1;
    s.ViewBaseWidth = 764, s.ViewBaseHeight = 564;
    s.FigureCount = 2;
    s.Fig(1).Kind = fkEllipse;
    s.Fig(1).X1 = 100, s.Fig(1).Aux1 = 100, s.Fig(1).BoxX2 = 300;
    s.Fig(2).Kind = fkText;
    s.Fig(2).Y3 = 50, s.Fig(2).Aux1 = 1;
    ResizeView(s);
    EXPECT_EQ(view.PaintBoxWidth(), 864);
    EXPECT_EQ(view.PaintBoxHeight(), 664);
    EXPECT_EQ(s.Fig(1).X1, 100 + 50000);  // half the growth, in thousandths
    EXPECT_EQ(s.Fig(1).Aux1, 100 + 50000);
    EXPECT_EQ(s.Fig(1).BoxX2, 300 + 50000);
    EXPECT_EQ(s.Fig(2).Y3, 50 + 50000);
    EXPECT_EQ(s.Fig(2).Aux1, 1);  // a text's direction, not a point
    EXPECT_EQ(s.ViewBaseWidth, 864);

    s.Zoom = 2;  // any other zoom: the figures stay
    ResizeView(s);
    EXPECT_EQ(s.Fig(1).X1, 100 + 50000);
}

}  // namespace
}  // namespace tarvek

namespace tarvek {
namespace {

TEST_F(Zoom, ADragThatLeavesTheMapScrollsTowardsThePointer) {
    At(7);  // zoom 20
    View.SetScrollPos(500, 500);
    S.Dragging = 1;
    S.MouseDownPos = {40, 50};
    S.MousePos = {900, 50};
    const int map = 0, panel = 0;
    const TPointerPlace overMap{&map, true, 300, 300, 8, 112, 800, 600};
    const TPointerPlace rightOfMap{&panel, false, 820, 300, 8, 112, 800, 600};
    EXPECT_FALSE(AutoScrollAtEdge(S, overMap));
    EXPECT_TRUE(AutoScrollAtEdge(S, rightOfMap)) << "left the map at its right edge: the band goes";
    EXPECT_EQ(S.EdgeScrollDirection, 1);
    EXPECT_EQ(S.MousePos.x, 40);
    const std::int32_t before = S.HistoryCount;
    for (int k = 0; k < 5; ++k) EXPECT_FALSE(AutoScrollAtEdge(S, rightOfMap));
    EXPECT_EQ(View.HorzScrollPos(), 505);
    EXPECT_FALSE(AutoScrollAtEdge(S, overMap));  // back: the scroll stops and is recorded once
    EXPECT_EQ(S.EdgeScrollDirection, 0);
    EXPECT_EQ(View.HorzScrollPos(), 506);
    ASSERT_EQ(S.HistoryCount, before + 1);
    EXPECT_EQ(S.History[static_cast<std::size_t>(S.HistoryCount)].Label, ScrollStepLabel);
    EXPECT_EQ(*S.History[static_cast<std::size_t>(S.HistoryCount)].Data.Number(0), 500);

    S.Dragging = 0;  // without a drag nothing moves
    AutoScrollAtEdge(S, rightOfMap);
    EXPECT_EQ(S.EdgeScrollDirection, 0);
}

}  // namespace
}  // namespace tarvek
