// The idle pass without a window: the window size and scroll position it turns into
// history steps, and the household fields that follow the pointer over the plots.
#include <gtest/gtest.h>

#include "document/drawing_state.h"
#include "document/history.h"
#include "households/assignment.h"
#include "view/idle.h"
#include "view/zoom.h"

namespace tarvek {
namespace {

class TFields : public THouseholdView {
public:
    THouseholdGrid VisibleHouseholdGrid() const override { return THouseholdGrid::Table; }
    int CurrentHouseholdRow() const override { return 1; }
    void SetCurrentHouseholdRow(int) override {}
    THouseholdRow QueryRow() const override { return {}; }
    void ShowResultGrid(const std::vector<THouseholdRow>&) override {}
    void LeaveHouseholdSearchMode() override {}
    void ShowHouseholdFields(const std::array<std::string, 9>& f) override { Shown.push_back(f[1]); }
    std::vector<std::string> Shown;  // the house name of every showing ("" = cleared)
};

class TWindow : public TEditorView, public TIdleView {
public:
    TWindow() { SetPaintBoxSize(8000, 6000); }
    int FormWidth() const override { return Width; }
    int FormHeight() const override { return Height; }
    bool FrameChanged() override { return Framed; }
    bool RecordsViewSteps() const override { return Steps; }
    THouseholdView& HoverFields() override { return Fields; }
    void StartHoverTimer() override { ++Timers; }

    int Width = 800, Height = 600;
    bool Framed = false, Steps = true;
    TFields Fields;
    int Timers = 0;
};

class Idle : public ::testing::Test {
protected:
    Idle() : S(Ui, &Win) {
        S.RecordedFormSize = {800, 600};
        S.HistoryRecording = 1;
        S.Zoom = 10;
    }
    // The steps pushed since the last call, as label and two numbers.
    std::vector<std::tuple<std::string, std::int64_t, std::int64_t>> NewSteps() {
        std::vector<std::tuple<std::string, std::int64_t, std::int64_t>> steps;
        for (; Seen < S.HistoryCount; ++Seen) {
            const Trireki& t = S.History[static_cast<std::size_t>(Seen + 1)];
            steps.emplace_back(t.Label, *t.Data.Number(0), *t.Data.Number(1));
        }
        return steps;
    }
    void Pass() { RecordViewSteps(S, Win); }

    TScriptedUi Ui;
    TWindow Win;
    TDrawingState S;
    std::int32_t Seen = 1;
};

using TSteps = std::vector<std::tuple<std::string, std::int64_t, std::int64_t>>;

TEST_F(Idle, EveryPassWithAnotherWindowSizeIsOneStepBackToTheSizeBefore) {
    Pass();
    EXPECT_TRUE(NewSteps().empty());
    Win.Width = 820;
    Pass();
    Win.Width = 840, Win.Height = 610;
    Pass();
    Pass();
    EXPECT_EQ(NewSteps(), (TSteps{{FormSizeStepLabel, 800, 600}, {FormSizeStepLabel, 820, 600}}));
    // The window manager framing the window, or an edition without view history: no step.
    Win.Framed = true;
    Win.Width = 850;
    Pass();
    Win.Framed = false;
    Win.Steps = false;
    Win.Width = 860;
    Pass();
    EXPECT_TRUE(NewSteps().empty());
    EXPECT_EQ((std::array{S.RecordedFormSize.cx, S.RecordedFormSize.cy}), (std::array{860, 610}));
}

TEST_F(Idle, AScrollIsRecordedOnceNothingHoldsIt) {
    struct TCase {
        const char* Name;
        std::uint8_t PanMode, Dragging, Recording;
        bool Recorded;
    };
    for (const TCase& c : {TCase{"free", 0, 0, 1, true}, TCase{"panning", 1, 0, 1, false},
                           TCase{"dragging", 0, 1, 1, false}, TCase{"before the window shows", 0, 0, 0, false}}) {
        SCOPED_TRACE(c.Name);
        S.Tools.PanMode = c.PanMode;
        S.Dragging = c.Dragging;
        S.HistoryRecording = c.Recording;
        const auto before = S.RecordedScrollPos;
        Win.SetScrollPos(Win.HorzScrollPos() + 30, Win.VertScrollPos() + 20);
        Pass();
        if (c.Recorded)
            EXPECT_EQ(NewSteps(), (TSteps{{ScrollStepLabel, before.x, before.y}}));
        else
            EXPECT_TRUE(NewSteps().empty());
        // Once the pan or the drag is over, the next pass records it from where it began.
        S.Tools.PanMode = S.Dragging = 0;
        S.HistoryRecording = 1;
        Pass();
        if (!c.Recorded) {
            EXPECT_EQ(NewSteps(), (TSteps{{ScrollStepLabel, before.x, before.y}}));
        }
        EXPECT_EQ((std::array{S.RecordedScrollPos.x, S.RecordedScrollPos.y}),
                  (std::array{Win.HorzScrollPos(), Win.VertScrollPos()}));
    }
}

TEST_F(Idle, TheFieldsFollowThePointerOverThePlots) {
    const auto plot = [this](std::int32_t i, std::int32_t kind, double x1, double y1, double x2, double y2,
                             const char* name) {
        TDateRec& r = S.Fig(i);
        r.Kind = kind;
        r.IsPlot = kind == fkPlot;
        r.X1 = r.BoxX1 = x1, r.Y1 = r.BoxY1 = y1, r.X2 = r.BoxX2 = x2, r.Y2 = r.BoxY2 = y2;
        r.HouseName = name;
    };
    plot(1, fkPlot, 1000, 1000, 5000, 4000, "佐藤家");  // pixels 10..50 x 10..40 at zoom 10
    plot(2, fkPlot, 6000, 1000, 9000, 4000, "鈴木家");
    plot(3, fkOldPlot, 1000, 5000, 5000, 8000, "高橋家");  // its box is X1, Y1 - X2, Y2
    S.Fig(3).BoxX1 = S.Fig(3).BoxX2 = 0;
    plot(4, fkLine, 1000, 9000, 5000, 12000, "線");  // no plot
    S.FigureCount = 4;
    struct TCase {
        const char* Name;
        int X, Y;
        std::function<void()> Set;
        std::vector<std::string> Shown;
        std::uint8_t Busy;
    };
    const std::vector<TCase> cases = {
        {"over a plot", 20, 20, [] {}, {"佐藤家"}, 1},
        {"again within the tick", 30, 30, [] {}, {}, 1},
        {"the tick passed", 30, 30, [this] { S.HoverBusy = 0; }, {"佐藤家"}, 1},
        {"off every plot, at once", 55, 20, [] {}, {""}, 1},
        {"on the edge is off", 10, 20, [] {}, {""}, 1},
        {"an old plot's own box", 20, 60, [this] { S.HoverBusy = 0; }, {"高橋家"}, 1},
        {"no plot", 20, 100, [] {}, {""}, 1},
        {"drawing page", 70, 20, [this] { S.HoverBusy = 0, S.EditTabActive = 1; }, {}, 0},
        {"dragging", 70, 20, [this] { S.EditTabActive = 0, S.Dragging = 1; }, {}, 0},
        {"a selection keeps the fields", 70, 20, [this] { S.Dragging = 0, S.HasSelection = 1; }, {}, 1},
        {"off, with a selection", 55, 20, [] {}, {}, 1},
        {"a field being edited", 70, 20,
         [this] { S.HasSelection = 0, S.HoverBusy = 0, S.Search.EditingField = 1; }, {}, 1},
        {"a set-aside copy", 70, 20,
         [this] { S.HoverBusy = 0, S.Search.EditingField = 0, S.Fig(2).SetAside = 1; }, {""}, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Set();
        Win.Fields.Shown.clear();
        S.HoverPos = {c.X, c.Y};
        ShowPlotUnderCursor(S, Win);
        EXPECT_EQ(Win.Fields.Shown, c.Shown);
        EXPECT_EQ(S.HoverBusy, c.Busy);
    }
    EXPECT_EQ(Win.Timers, 5);
}

}  // namespace
}  // namespace tarvek
