// Selecting on a painted map without a window: pointing picks by the colours the painter
// put around the press, the band takes what lies wholly inside it, Ctrl+A everything, the
// filter drops what it excludes; the steps each change records.
#include <QGuiApplication>

#include <cmath>
#include <functional>
#include <optional>

#include "editing_fixture.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

using testing::ClickAt;
using testing::DragFromTo;
using testing::TEvent;

constexpr unsigned Shift = ToolShiftKey;

class Picking : public testing::EditingFixture {
public:
    void Reset() {
        S.FigureCount = 0;
        S.Dragging = 0;
        S.CurrentTool = 0;
        S.Tools.HandleHit = -1;
        S.Tools.Preview = {};
        S.ClickMovePending = 0;
        RebuildSelectionList(S, false);
        Map.Page = 3;
        Map.Filter = 0;
        S.EditTabActive = 1;
        Map.Dirty = true;
    }
    // The first pixel of colour in the box (pixels), scanning rows.
    std::optional<TPoint> Find(TColor colour, int x1, int y1, int x2, int y2) {
        if (Map.Dirty) Map.Paint();
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                if (Pixel(x, y) == colour) return TPoint{x, y};
        return std::nullopt;
    }
};

struct TPickCase {
    const char* Name;
    std::function<void(Picking&)> Layout;
    // The press, found on the painted map by the case.
    std::function<TPoint(Picking&)> At;
    std::int32_t Picked;
    std::vector<std::int32_t> Selected;
    int Page = 3, Filter = 0;
};

TEST_F(Picking, PointingPicksWhatThePainterPutUnderThePress) {
    auto rect = [](Picking& p) { p.Add(fkRectangle, 10000, 10000, 30000, 30000); };
    const std::vector<TPickCase> cases = {
        {"of two overlapping texts the lower index",
         [](Picking& p) {
             p.AddText(10000, 10000, 40000, 14000, "東西南");
             p.AddText(10000, 10000, 40000, 14000, "東西南");
         },
         [](Picking& p) { return *p.Find(0, 100, 100, 400, 140); }, 1, {1}},
        {"an owned plot by the black of its name alone",
         [](Picking& p) { p.AddPlot(10000, 10000, 40000, 30000, 5, "000123").PenColor = 0xFF0000; },
         [](Picking& p) { return *p.Find(0, 120, 120, 380, 280); }, 1, {1}},
        {"an unfilled figure at its outline", rect, [](Picking&) { return TPoint{100, 200}; }, 1, {1}},
        {"an unfilled figure not inside", rect, [](Picking&) { return TPoint{200, 200}; }, -1, {}},
        {"no plots under filter 2 on the drawing page",
         [](Picking& p) { p.AddPlot(10000, 10000, 30000, 30000, 5); }, [](Picking&) { return TPoint{200, 200}; }, -1, {}, 3, 2},
        {"plots whatever the filter on the household page",
         [](Picking& p) { p.AddPlot(10000, 10000, 30000, 30000, 5); }, [](Picking&) { return TPoint{200, 200}; }, 1, {1}, 1, 2},
        {"a group member selects the whole group",
         [](Picking& p) {
             p.AddLine(15000, 20000, 25000, 20000);
             // Blue: a black outline would be found in the line's pixels.
             p.Add(fkRectangle, 10000, 10000, 30000, 30000).PenColor = 0xFF0000;
             p.Group({1, 2});
         },
         [](Picking&) { return TPoint{200, 200}; }, 1, {1, 2, 3}},
        {"one plot of a shared set selects the set",
         [](Picking& p) {
             p.AddPlot(10000, 10000, 30000, 30000, 5, "000007").ShareSetId = 5;
             TDateRec& aside = p.AddPlot(10000, 10000, 30000, 30000, 6, "000008");
             aside.ShareSetId = 5;
             aside.SetAside = 1;
         },
         [](Picking&) { return TPoint{100, 200}; }, 2, {1, 2}},
    };
    for (const TPickCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Reset();
        c.Layout(*this);
        Map.Page = c.Page;
        Map.Filter = c.Filter;
        S.EditTabActive = c.Page == 3 || c.Page == 4;
        Map.Paint();
        const TPoint at = c.At(*this);
        Picked = 0;
        Play(ClickAt(at.X, at.Y));
        EXPECT_EQ(Picked, c.Picked);
        EXPECT_EQ(Selected(), c.Selected);
        EXPECT_EQ(S.Dragging, c.Picked < 0 ? 1 : 0) << "a miss opens the band";
        EXPECT_EQ(S.CurrentTool, 0);
    }

    // Shift on the group member again: the whole group goes.
    Reset();
    cases[6].Layout(*this);
    Play(ClickAt(200, 200));
    Play(ClickAt(200, 200, Shift));
    EXPECT_EQ(Picked, 2) << "both members show lime now: the later one is met first";
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{}));
}

TEST_F(Picking, ACompoundFigureIsPickedByItsFillAndSelectedWhole) {
    S.CurBrushStyle = 0;
    S.CurBrushColor = 0x00FFFF;
    ChooseTool(S, 7);
    Play(testing::ClickAt(100, 100));
    for (const auto& [x, y] : {std::pair{300, 100}, std::pair{300, 300}, std::pair{100, 300}, std::pair{100, 100}})
        Play(ClickAt(x, y));
    ASSERT_EQ(S.FigureCount, 5);
    ASSERT_EQ(S.Fig(5).Kind, fkPolygon);
    ChooseSelectTool(S);
    Play(ClickAt(200, 200));
    EXPECT_EQ(Picked, 4) << "the parent stands for its last member";
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
}

TEST_F(Picking, TheProbeIsTenPixelsFromFourBeforeToFiveAfterThePress) {
    Add(fkRectangle, 10000, 10000, 30000, 30000);
    // The two sides as painted: the first and the last black pixel of a row.
    const TPoint left = *Find(0, 90, 200, 320, 200);
    int r = 0;
    for (int x = 150; x <= 320; ++x)
        if (Pixel(x, 200) == 0) r = x;
    ASSERT_GT(r, left.X + 20);
    struct TCase {
        int X;
        bool Hit;
    };
    for (const TCase& c : {TCase{left.X + 4, true}, TCase{left.X + 5, false}, TCase{r - 5, true}, TCase{r - 6, false}}) {
        SCOPED_TRACE(c.X);
        // Inside a selected figure's frame a press would move it.
        SelectOnly({});
        S.Dragging = 0;
        Picked = 0;
        Play(ClickAt(c.X, 200));
        EXPECT_EQ(Picked, c.Hit ? 1 : -1);
    }
}

// The box test is taken without a division far from the press: at every zoom, presses
// round the box's edges, which lie on and beside half pixels, pick as the rounded box says.
TEST_F(Picking, TheBoxTestHoldsAtTheBoxEdgesAtEveryZoom) {
    for (const int zoom : {1, 2, 4, 5, 8, 10, 20, 25, 50}) {
        for (const double nudge : {-1.0, 0.0, 1.0}) {
            Reset();
            S.Zoom = zoom;
            // Left and right edges at 60.5 and 120.5 pixels, or a hair either side.
            const double left = std::nextafter(60.5 * 1000 / zoom, nudge * 1e300);
            const double right = std::nextafter(120.5 * 1000 / zoom, -nudge * 1e300);
            TDateRec& rect = Add(fkRectangle, left, 30.0 * 1000 / zoom, right, 400.0 * 1000 / zoom);
            rect.BrushStyle = 0;  // filled: inside, the probe always finds the fill
            rect.BrushColor = 0x00FFFF;
            const int l = ToPixel(S, S.Fig(1).BoxX1), r = ToPixel(S, S.Fig(1).BoxX2);
            for (const int edge : {l, r}) {
                for (int x = edge - 8; x <= edge + 8; ++x) {
                    SelectOnly({});
                    S.Dragging = 0;
                    Picked = 0;
                    Play(ClickAt(x, 200));
                    // The probe meets the outline or the fill wherever the box test lets it look.
                    const bool inside = l - S.MarkerHalfSize < x && x < r + S.MarkerHalfSize;
                    EXPECT_EQ(Picked, inside ? 1 : -1) << "zoom " << zoom << " press " << x << " box " << l << ".." << r;
                }
            }
        }
    }
}

TEST_F(Picking, ASelectedUnfilledFigureIsPickedAgainByItsLimeOutline) {
    Add(fkRectangle, 10000, 10000, 30000, 30000);
    Play(ClickAt(100, 200));
    ASSERT_EQ(Selected(), (std::vector<std::int32_t>{1}));
    ASSERT_EQ(Pixel(100, 200), SelectedColor);
    // The press clears the selection before it looks; the map still shows lime.
    Play(ClickAt(100, 200));
    EXPECT_EQ(Picked, 1);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(S.Dragging, 0) << "no band";
    // Its steps: the old selection, then the new one.
    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step(1).Data, Numbers({-1, 1}));
    EXPECT_EQ(Step().Label, "選択解除");
    EXPECT_EQ(Step().Data, Numbers({1}));
}

TEST_F(Picking, TheBandTakesWhatLiesWhollyInside) {
    Add(fkRectangle, 10000, 10000, 20000, 20000);                  // 1
    TDateRec& curve = Add(fkCurve, 30000, 10000, 40000, 10000);   // 2: end points inside, controls not
    curve.X1 = 30000, curve.Y1 = 10000, curve.X2 = 35000, curve.Y2 = 2000;
    curve.X3 = 35000, curve.Y3 = 18000, curve.X4 = 40000, curve.Y4 = 10000;
    UpdateFigureBounds(S, 2);
    AddLine(50000, 30000, 60000, 30000);                           // 3
    for (const auto& [from, to] : {std::pair{TPoint{90, 90}, TPoint{410, 210}}, std::pair{TPoint{410, 210}, TPoint{90, 90}}}) {
        Play(DragFromTo(from.X, from.Y, to.X, to.Y));
        EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1, 2}));
        EXPECT_EQ(S.Dragging, 0);
    }
    EXPECT_EQ(Step().Label, "選択解除");
    EXPECT_EQ(Step().Data, Numbers({1, 2}));
    // Shift adds and toggles; its first step keeps the selection before.
    auto shiftBand = [&](int x1, int y1, int x2, int y2) {
        Play({{testing::Move, x1, y1}, {testing::Down, x1, y1, Shift}, {testing::Move, x2, y2, Shift}, {testing::Up, x2, y2, Shift}});
    };
    shiftBand(480, 280, 620, 320);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step(1).Data, Numbers({-1, 1, 2}));
    shiftBand(90, 90, 210, 210);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2, 3}));

    // Under filter 2 a band round plots alone catches nothing: a beep and the hint.
    Reset();
    AddPlot(10000, 10000, 20000, 20000, 3);
    Map.Filter = 2;
    Play(DragFromTo(90, 90, 210, 210));
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{}));
    EXPECT_EQ(Ui.Beeps, 1);
    EXPECT_EQ(S.Label3, "「墓地以外の選択」にチェックされています。");
    Map.Page = 1;
    S.EditTabActive = 0;
    Play(DragFromTo(90, 90, 210, 210));
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1}));
}

TEST_F(Picking, CtrlATakesEveryLiveFigureAndTheFilterDropsWhatItExcludes) {
    CtrlA();
    EXPECT_EQ(S.Label3, "図形がありません。");
    EXPECT_EQ(Step().Label, "選択");
    EXPECT_EQ(Step().Data, Numbers({-1}));

    AddLine(10000, 10000, 20000, 10000);   // 1
    AddPlot(30000, 10000, 40000, 20000, 3);  // 2
    Add(fkRectangle, 50000, 10000, 60000, 20000).Deleted = 1;  // 3
    struct TCase {
        int Filter;
        const char* Hint;
    };
    for (const TCase& c : {TCase{1, "選択が墓地のみに設定されていますが全てを選択させました。"},
                           TCase{2, "選択が墓地以外に設定されていますが全てを選択させました。"}}) {
        Map.Filter = c.Filter;
        CtrlA();
        EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1, 2}));
        EXPECT_EQ(S.Label3, c.Hint);
        EXPECT_EQ(Step().Label, "選択解除");
        EXPECT_EQ(Step().Data, Numbers({1, 2}));
    }
    // Both kinds are selected now: no family.
    EXPECT_EQ(S.SelectionKindFlags, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));

    // The filter to plots only: the line goes, with the step that gives back the filter.
    S.Tools.PreviousSelectionFilter = 0;
    SelectionFilterClicked(S, Map, 1);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{2}));
    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step(1).Data, Numbers({-1, 1, 2}));
    EXPECT_EQ(Step().Label, "選択の範囲を戻す");
    EXPECT_EQ(Step().Data, Numbers({0}));
    EXPECT_EQ(S.Tools.PreviousSelectionFilter, 1);
    SelectionFilterClicked(S, Map, 2);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{}));
    EXPECT_EQ(Step().Data, Numbers({1}));
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
