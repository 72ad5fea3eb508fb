// Blocks of plots, the text tool and the snap tracking, driven without a window: what
// the niche-count dialog accepts, the plots a click places and what the ledger gets of
// them, the text a box places, and the circle and markers of the idle tracking.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <string>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "editing/drawing_tools.h"
#include "editing/figure_creation.h"
#include "editing/plot_blocks.h"
#include "editing/text_entry.h"
#include "households/ledger_exchange.h"
#include "platform/canvas.h"
#include "platform/textfile.h"
#include "gui_test_main.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::TTakingLedgerUi;
using testing::TTempFolder;

// The map, the entry box and the ledger link as a window would provide them.
class TTestWindow : public TEditorView, public TToolView, public TTextBoxView, public TLedgerView {
public:
    TTestWindow() : Canvas(800, 600) { SetPaintBoxSize(8000, 6000); }
    // TEditorView
    int ActivePageIndex() const override { return Page; }
    // TToolView
    TCanvas* PreviewCanvas() override { return &Canvas; }
    void PreviewChanged(int, int, int, int) override { ++BandChanges; }
    bool SelectAfterDrawing() const override { return SelectNew; }
    bool TextBoxVisible() const override { return BoxOpen; }
    void HideTextBox() override { BoxOpen = false; }
    void ShowCoordinates(const std::string& text) override { Coordinates = text; }
    // TTextBoxView
    void OpenTextBox(int left, int top, int width, int height, int fontSize) override {
        BoxOpen = true;
        Box = {left, top, width, height};
        FontSize = fontSize;
        Text.clear();
    }
    std::string TextBoxText() const override { return Text; }
    void SetTextBoxText(const std::string& text) override { Text = text; }
    void SetTextBoxWidth(int width) override { Box[2] = width; }
    void SetTextBoxColor(TColor color) override { BoxColor = color; }
    std::string TextBoxFontName() const override { return "IPAMincho"; }
    int MapLeft() const override { return 8; }
    int MapTop() const override { return 8; }
    // TLedgerView
    bool RealTimeReflection() const override { return RealTime; }
    void SetRealTimeReflection(bool checked) override { RealTime = checked; }

    TImageCanvas Canvas;
    int Page = 3;
    int BandChanges = 0;
    bool SelectNew = false;
    bool BoxOpen = false;
    std::array<int, 4> Box{};
    int FontSize = 0;
    TColor BoxColor = 0;
    std::string Text;
    std::string Coordinates;
    bool RealTime = true;
};

class EditingFixture : public ::testing::Test {
protected:
    EditingFixture() : S(Ui, &View) {
        S.Tools.View = &View;
        S.Tools.MeshSnap = 1;
        S.MeshStep = 20;
        S.MeshOrigin = {400, 300};
        S.EditTabActive = 1;
        S.Zoom = 10;
        S.ExeFolder = Folder.Folder();
        S.CurrentDrawingName = "本堂裏";
        Ui.ReturnPath = LedgerReturnFile(S);
        S.Tools.Ops.PlaceBlock = [this](int x, int y) { PlaceBlock(S, View, x, y); };
        S.Tools.Ops.PlaceTextMemo = [this] { PlaceTextMemo(S, View); };
        S.Tools.Ops.SetDrawTabEnabled = [this](bool enabled) { TabEnabled = enabled; };
        Blank = View.Canvas.Image().copy();
    }
    void Click(int x, int y) {
        ToolMouseMove(S, 0, false, x, y);
        ToolMouseDown(S, TToolButton::Left, 0, x, y);
        ToolMouseUp(S, TToolButton::Left, 0, x, y);
    }
    const Trireki& Top() const { return S.History[static_cast<std::size_t>(S.HistoryCount)]; }

    TTempFolder Folder;
    TTakingLedgerUi Ui;
    TTestWindow View;
    TDrawingState S;
    QImage Blank;
    bool TabEnabled = true;
};

// ---- The niche-count dialog ------------------------------------------------------------

TEST(BlockSettings, WholeNumbersSetTheirSettingAndAnythingElseKeepsIt) {
    struct TCase {
        const char* Text;
        std::int32_t Size, Gap, Count;  // what a size, a gap and a count box then hold (were 4, 1, 10)
    };
    for (const TCase& c : {TCase{"", 4, 1, 10}, TCase{"abc", 4, 1, 10}, TCase{"-1", 4, 1, 10}, TCase{"0", 4, 0, 10},
                           TCase{"25", 25, 25, 25}, TCase{"2.5", 4, 1, 10}, TCase{"99999999999", 4, 1, 10}}) {
        SCOPED_TRACE(c.Text);
        TScriptedUi ui;
        TDrawingState s(ui);
        ReadBlockSettings(s, {c.Text, "3", c.Text, "1", c.Text, "10"});
        EXPECT_EQ(s.BlockUnitWidth, c.Size);
        EXPECT_EQ(s.BlockGapX, c.Gap);
        EXPECT_EQ(s.BlockColumns, c.Count);  // a count, like a size, is at least 1
        EXPECT_TRUE(ui.Shown.empty());      // no box for a half-typed number
    }
    // One change reads all six again.
    TScriptedUi ui;
    TDrawingState s(ui);
    ReadBlockSettings(s, {"6", "5", "2", "3", "7", "8"});
    EXPECT_EQ((std::array{s.BlockUnitWidth, s.BlockUnitHeight, s.BlockGapX, s.BlockGapY, s.BlockColumns, s.BlockRows}),
              (std::array<std::int32_t, 6>{6, 5, 2, 3, 7, 8}));
    EXPECT_EQ(BlockSettingTexts(s), (TBlockSettingTexts{"6", "5", "2", "3", "7", "8"}));
    EXPECT_EQ(BlockSettingItems(0).back(), "20");
    EXPECT_EQ(BlockSettingItems(5).back(), "50");
}

// ---- Placing blocks --------------------------------------------------------------------

using PlotBlocks = EditingFixture;

TEST_F(PlotBlocks, OneClickPlacesTheWholeBlockAsRealPlotsAndTellsTheLedger) {
    S.MaxPlotId = 7;
    ChooseBlockTool(S, false);
    Click(404, 296);  // snaps to the mesh at (400, 300): drawing (40000, 30000)
    ASSERT_EQ(S.FigureCount, 100);
    for (std::int32_t k = 0; k < 100; ++k) {
        SCOPED_TRACE(k);
        const TDateRec& r = S.Fig(k + 1);
        const double x = 40000 + (k % 10) * 5000.0, y = 30000 + (k / 10) * 4000.0;
        ASSERT_EQ((std::array{r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4}),
                  (std::array{x, y, x + 4000, y, x + 4000, y + 3000, x, y + 3000}));
        ASSERT_EQ((std::array{r.BoxX1, r.BoxY1, r.BoxX2, r.BoxY2}), (std::array{x, y, x + 4000, y + 3000}));
        ASSERT_EQ(r.PlotId, 8 + k);  // row by row
        ASSERT_EQ((std::array{r.Kind, std::int32_t(r.IsPlot), std::int32_t(r.Selected)}),
                  (std::array<std::int32_t, 3>{fkPlot, 1, 0}));
        ASSERT_EQ((std::array{r.Text, r.PlotNumber, r.HouseName, r.DrawingName}),
                  (std::array<std::string, 4>{"0", "000000", "空", "本堂裏"}));
    }
    EXPECT_EQ(S.MaxPlotId, 107);
    EXPECT_EQ(Top().Label, CreationStepLabel);
    EXPECT_EQ(Top().Data, [] {
        THistoryData d;
        d.AddNumber(100);
        return d;
    }());
    EXPECT_EQ(S.LedgerUnchanged, 0);
    // One list, header first, one line per plot in placement order, as the ledger reads it.
    Ui.TakeList();
    ASSERT_EQ(Ui.Taken.size(), 1u);
    std::string expected = "-999,-999,,,,-999,-999,追加\r\n";
    for (int id = 8; id <= 107; ++id) expected += std::to_string(id) + ",0,000000,,,0,0,本堂裏\r\n";
    EXPECT_EQ(Ui.Taken[0], Utf8ToCp932(expected));
    EXPECT_EQ(S.Ledger.LedgerChangesPending, 0);
    EXPECT_EQ(S.CurrentTool, fkPlot);  // armed for the next block

    // One plot, the ledger not taking lists in real time: the list waits as pending.
    View.RealTime = false;
    View.SelectNew = true;
    ChooseBlockTool(S, true);
    Click(600, 400);
    ASSERT_EQ(S.FigureCount, 101);
    EXPECT_EQ(S.Fig(101).PlotId, 108);
    EXPECT_EQ(S.Fig(101).Selected, 1);
    EXPECT_EQ(*Top().Data.Number(0), 1);
    EXPECT_EQ(S.Ledger.tuika, (TLines{"-999,-999,,,,-999,-999,追加", "108,0,000000,,,0,0,本堂裏"}));
    EXPECT_EQ(S.Ledger.LedgerChangesPending, 1);
    Ui.TakeList();
    EXPECT_EQ(Ui.Taken.size(), 1u);
}

TEST_F(PlotBlocks, EveryPlotOfTheBlockLinesUpWithTheFirstOneOnAGuide) {
    // A guide on x at a point that is no whole pixel; y snaps to the mesh.
    S.Tools.Ops.FindSnapGuides = [this](int, int) {
        S.SnapGuidePxX = 123;
        S.Tools.SnapGuidePos.x = 12345.6;
    };
    S.BlockColumns = 2;
    S.BlockRows = 2;
    ChooseBlockTool(S, false);
    Click(125, 296);
    ASSERT_EQ(S.FigureCount, 4);
    EXPECT_EQ(S.Fig(1).X1, 12345.6);
    EXPECT_EQ(S.Fig(3).X1, 12345.6);  // row 2, column 1
    EXPECT_EQ(S.Fig(2).X1, 12345.6 + 5000);
    EXPECT_EQ((std::array{S.Fig(1).Y1, S.Fig(3).Y1}), (std::array{30000.0, 34000.0}));
}

TEST_F(PlotBlocks, AHugeTypedBlockIsRefusedAndItsOutlineStaysCheap) {
    ReadBlockSettings(S, {"4", "3", "1", "1", "2000000000", "2000000000"});
    ChooseBlockTool(S, false);
    ToolMouseMove(S, 0, false, 100, 100);
    EXPECT_FALSE(View.Canvas.Image() == Blank);  // the plots in view are outlined
    Click(100, 100);
    EXPECT_EQ(S.FigureCount, 0);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, StoreFullMessage);
    EraseToolPreview(S);
    EXPECT_TRUE(View.Canvas.Image() == Blank);
}

// ---- Text entry -------------------------------------------------------------------------

class TextEntry : public EditingFixture {
protected:
    void SetUp() override {
        S.Zoom = 2;
        S.Tools.MeshSnap = 0;
        ChooseTool(S, fkText);
    }
    void Key(unsigned short key) {
        unsigned short k = key;
        TextMemoKeyDown(S, View, k);
        EXPECT_EQ(k, 0) << "Enter and Esc never reach the box";
    }
    void Type(const std::string& text) {
        View.Text = text;
        TextMemoChanged(S, View);
    }
};

TEST_F(TextEntry, ABoxOpensSizedForTheZoomAndEnterPlacesWhatWasTyped) {
    const std::int32_t steps = S.HistoryCount;
    Click(100, 100);
    ASSERT_TRUE(View.BoxOpen);
    EXPECT_EQ(View.FontSize, 16);
    // Half a mesh step above the press, on the box's parent.
    EXPECT_EQ(View.Box, (std::array{108, 98, 42, 26}));
    EXPECT_EQ(View.BoxColor, 0xF0CAA6);
    EXPECT_FALSE(TabEnabled);
    Type("本堂");
    const TTextExtent extent = MeasureTextBoxText(S, View, "本堂");
    EXPECT_GT(extent.Width, 0);
    EXPECT_EQ(extent.Height, 21);  // 16 points on the screen
    EXPECT_EQ(View.Box[2], extent.Width + 16);
    EXPECT_EQ(View.BoxColor, static_cast<TColor>(0xFF000005u));
    Key(13);
    ASSERT_EQ(S.FigureCount, 1);
    const TDateRec& r = S.Fig(1);
    const double x1 = 50000, y1 = 45000, x3 = x1 + extent.Width * 500.0, y3 = y1 + extent.Height * 500.0;
    EXPECT_EQ((std::array{r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4}),
              (std::array{x1, y1, x3, y1, x3, y3, x1, y3}));
    EXPECT_EQ((std::array{r.BoxX1, r.BoxY1, r.BoxX2, r.BoxY2}), (std::array{x1, y1, x3, y3}));
    EXPECT_EQ((std::array{r.Kind, std::int32_t(r.Aux1)}), (std::array<std::int32_t, 2>{fkText, 1}));
    EXPECT_EQ(r.Text, "本堂");
    EXPECT_EQ(r.FontName, S.CurFontName);
    ASSERT_EQ(S.HistoryCount, steps + 1);
    EXPECT_EQ(Top().Label, CreationStepLabel);
    EXPECT_EQ(*Top().Data.Number(0), 1);
    EXPECT_EQ(S.DrawingUnchanged, 0);
    EXPECT_FALSE(View.BoxOpen);
    EXPECT_TRUE(TabEnabled);
    EXPECT_EQ(S.CurrentTool, fkText);  // the next press opens a new box
}

TEST_F(TextEntry, ABoxOpenedByAReleaseKeepsThePageLocked) {
    ToolMouseMove(S, 0, false, 100, 100);
    ToolMouseDown(S, TToolButton::Left, 0, 100, 100);
    ToolMouseMove(S, 0, true, 200, 150);
    ToolMouseUp(S, TToolButton::Left, 0, 200, 150);
    ASSERT_TRUE(View.BoxOpen);
    EXPECT_EQ((std::array{View.Box[0], View.Box[1]}), (std::array{208, 148}));  // at the release
    EXPECT_FALSE(TabEnabled);
    Type("門");
    Key(13);
    EXPECT_EQ((std::array{S.Fig(1).X1, S.Fig(1).Y1}), (std::array{100000.0, 70000.0}));
    EXPECT_TRUE(TabEnabled);
}

TEST_F(TextEntry, EscAndAnEmptyEnterPlaceNothing) {
    const std::int32_t steps = S.HistoryCount;
    Click(100, 100);
    Type("本堂");
    Key(27);
    Click(200, 100);
    Key(13);
    EXPECT_EQ(S.FigureCount, 0);
    EXPECT_EQ(S.HistoryCount, steps);
    EXPECT_EQ(S.DrawingUnchanged, 1);
    EXPECT_FALSE(View.BoxOpen);
    EXPECT_TRUE(TabEnabled);
}

TEST_F(TextEntry, AFullStoreKeepsTheTextTheHistoryAndTheSavedState) {
    for (std::int32_t i = 1; i <= MaxFigures - 1; ++i) S.Fig(i).Kind = fkLine;
    S.FigureCount = MaxFigures - 1;
    const std::int32_t steps = S.HistoryCount;
    Click(100, 100);
    Type("本堂");
    Key(13);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, StoreFullMessage);
    EXPECT_TRUE(View.BoxOpen);
    EXPECT_EQ(View.Text, "本堂");
    EXPECT_EQ(S.FigureCount, MaxFigures - 1);
    EXPECT_EQ(S.DrawingUnchanged, 1);
    EXPECT_EQ(S.HistoryCount, steps);
}

TEST_F(TextEntry, AZoomWhileTypingMovesAndResizesNothing) {
    Click(100, 100);
    Type("本堂");
    const std::array<int, 4> box = View.Box;
    S.Zoom = 4;  // a wheel step while the box is open
    Type("本堂");
    EXPECT_EQ(View.Box, box);
    Key(13);
    const TTextExtent extent = MeasureTextBoxText(S, View, "本堂");
    EXPECT_EQ((std::array{S.Fig(1).X1, S.Fig(1).Y1, S.Fig(1).X3}), (std::array{50000.0, 45000.0, 50000.0 + extent.Width * 500.0}));
}

TEST_F(TextEntry, OnlyCharactersTheCodePageHoldsGetIn) {
    struct TCase {
        char32_t Typed;
        bool Kept;
    };
    for (const TCase& c : {TCase{U'本', true}, TCase{U'A', true}, TCase{U'ｱ', true}, TCase{U'\U0001F600', false},
                           TCase{U'é', false}, TCase{8, true}}) {
        const int beeps = Ui.Beeps;
        char32_t k = c.Typed;
        TextMemoKeyPress(S, k);
        EXPECT_EQ(k, c.Kept ? c.Typed : 0) << std::uint32_t(c.Typed);
        EXPECT_EQ(Ui.Beeps, beeps + (c.Kept ? 0 : 1));
    }
    // A paste: its line break becomes a blank, what cannot be stored goes.
    Click(100, 100);
    const int beeps = Ui.Beeps;
    Type("本\r\n堂\U0001F600院");
    EXPECT_EQ(View.Text, "本  堂院");
    EXPECT_EQ(Ui.Beeps, beeps + 1);
    Type("本\n堂");
    EXPECT_EQ(View.Text, "本 堂");
    EXPECT_EQ(Ui.Beeps, beeps + 1);  // a line break alone is no refusal
    Key(13);
    EXPECT_EQ(S.Fig(1).Text, "本 堂");
}

// ---- Snap tracking ----------------------------------------------------------------------

class SnapTracking : public EditingFixture {
protected:
    SnapTracking() {
        S.Tools.Ops.FindHandleUnderCursor = [this](int, int) {
            S.Tools.SnapHit = Hit ? 1 : 0;
            S.SnapGuidePxX = Hit ? HitPx[0] : -1;
            S.Tools.SnapGuidePxY = Hit ? HitPx[1] : -1;
            S.Tools.SnapGuidePos = Hit ? HitPos : TToolState::TPointD{};
        };
        S.Tools.Ops.HitTestPointMarkers = [this] { ++MarkerTests; };
    }
    void At(int px, int py, double x, double y) {
        Hit = true;
        HitPx = {px, py};
        HitPos = {x, y};
        TrackSnapPoint(S);
    }
    void Off() {
        Hit = false;
        TrackSnapPoint(S);
    }
    std::array<TToolState::TPointD, 3> Markers() const { return S.Tools.PointMarkers; }

    bool Hit = false;
    std::array<int, 2> HitPx{};
    TToolState::TPointD HitPos;
    int MarkerTests = 0;
};

TEST_F(SnapTracking, TheCircleMarksTheSnapPointAndGoesBitForBit) {
    At(200, 150, 20000, 15000);
    const QImage circle = View.Canvas.Image().copy();
    EXPECT_FALSE(circle == Blank);
    EXPECT_EQ(View.Canvas.GetPixel(195, 150), 0x0000FF);  // red on white
    EXPECT_EQ(View.Canvas.GetPixel(200, 150), 0xFFFFFF);  // no fill
    EXPECT_EQ(S.Tools.SnapCircleShown, 1);
    // Onto the next point within the tolerance: the circle stays where it appeared.
    At(203, 151, 20300, 15100);
    EXPECT_TRUE(View.Canvas.Image() == circle);
    EXPECT_EQ((std::array{S.Tools.SnapCirclePos.x, S.Tools.SnapCirclePos.y}), (std::array{200, 150}));
    Off();
    EXPECT_TRUE(View.Canvas.Image() == Blank);
    EXPECT_EQ(S.Tools.SnapCircleShown, 0);

    // A repaint takes the circle with it: nothing is drawn off the fresh image later.
    At(300, 200, 30000, 20000);
    View.Canvas.Image() = Blank.copy();
    ToolMapRepainted(S);
    Off();
    EXPECT_TRUE(View.Canvas.Image() == Blank);
    // Off the drawing page nothing is drawn.
    View.Page = 0;
    At(300, 200, 30000, 20000);
    EXPECT_TRUE(View.Canvas.Image() == Blank);
}

TEST_F(SnapTracking, TheLastTwoSnapPointsBecomeMarkersOneAndTwo) {
    S.Tools.PointMarkers[0] = {5000, 6000};  // the start of the figure in hand
    At(200, 150, 20000, 15000);
    EXPECT_EQ(Markers()[1], (TToolState::TPointD{20000, 15000}));
    EXPECT_EQ(Markers()[2], TToolState::TPointD{});
    At(300, 150, 30000, 15000);
    const auto both = Markers();
    EXPECT_EQ(both[1], (TToolState::TPointD{30000, 15000}));
    EXPECT_EQ(both[2], (TToolState::TPointD{20000, 15000}));
    EXPECT_EQ(MarkerTests, 2);
    // The same point again, or the older one: the markers stay.
    At(300, 150, 30000, 15000);
    At(200, 150, 20000, 15000);
    EXPECT_EQ(Markers(), both);
    EXPECT_EQ(MarkerTests, 2);
    EXPECT_EQ(both[0], (TToolState::TPointD{5000, 6000}));
    // Nothing under the pointer without a finder: no hit.
    S.Tools.Ops.FindHandleUnderCursor = nullptr;
    S.Tools.SnapHit = 1;
    TrackSnapPoint(S);
    EXPECT_EQ(S.Tools.SnapHit, 0);
    EXPECT_EQ(S.Tools.HandleFigure, -1);
}

TEST_F(SnapTracking, TheCoordinateLineShowsOffsetAndLength) {
    S.Tools.MeshSnap = 0;
    S.Fig(0).X1 = 1000;
    S.Fig(0).Y1 = 1000;
    ShowCursorCoordinates(S, 13, 14, true);  // 300 and 400 units on at zoom 10
    EXPECT_EQ(View.Coordinates, "X = 3  Y = 4  L = 5");
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
