// The attribute operations on a small drawing without a window: what each one leaves in
// the current attributes, the figures, the history and the controls it asks to show.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <functional>

#include "editing/attributes.h"
#include "editing_test_support.h"
#include "gui_test_main.h"
#include "platform/canvas.h"

namespace tarvek {
namespace {

using testing::AddCorners;
using testing::AddStraight;
using testing::Numbers;
using testing::SelectOnly;

constexpr TColor Red = 0x0000FF, Lime = 0x00FF00;

class Attributes : public ::testing::Test {
protected:
    Attributes() : S(Ui, &View) {
        // 1 a line, 2 a plot, 3 a rectangle; each with attributes of its own.
        TDateRec& line = AddStraight(S, fkLine, 0, 0, 1000, 0);
        line.PenColor = 0x111111, line.BrushColor = 0x222222, line.PenWidth = 1, line.PenStyle = 2, line.BrushStyle = 3;
        line.FontName = "ＭＳ ゴシック";
        TDateRec& plot = AddCorners(S, fkPlot, {{0, 0}, {4000, 0}, {4000, 3000}, {0, 3000}});
        plot.IsPlot = 1;
        plot.PenColor = 0x333333, plot.BrushColor = 0x444444, plot.PenWidth = 2, plot.PenStyle = 0, plot.BrushStyle = 1;
        plot.FontName = "ＭＳ 明朝";
        AddCorners(S, fkRectangle, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}).FontName = "ＭＳ 明朝";
        S.PlotKindWord = "墓地";
    }

    TScriptedUi Ui;
    testing::TEditingView View;
    TDrawingState S;
};

struct TOperation {
    const char* Name;
    std::function<void(TDrawingState&, testing::TEditingView&)> Run;
    const char* Label;
    THistoryData Empty, Selected;  // the step's data with nothing or the line and the plot selected
    std::function<void(const TDrawingState&, bool selected)> Check;
};

// Each drawing-page operation with nothing selected and with the line and the plot.
TEST_F(Attributes, EachOperationSetsTheCurrentValueAndTheSelectionsWithItsStep) {
    const std::int64_t brush = S.CurBrushColor;
    const std::vector<TOperation> ops = {
        {"frame colour",
         [](TDrawingState& s, testing::TEditingView& v) {
             v.Colours.push_back(Red);
             ChangePenColor(s, v);
         },
         PenColorStepLabel, Numbers({0}), Numbers({0, 1, 0x111111, 2, 0x333333}),
         [](const TDrawingState& s, bool sel) {
             EXPECT_EQ(s.CurPenColor, Red);
             EXPECT_EQ(s.Fig(1).PenColor, sel ? Red : 0x111111);
             EXPECT_EQ(s.Fig(2).PenColor, sel ? Red : 0x333333);
         }},
        {"fill colour",
         [](TDrawingState& s, testing::TEditingView& v) {
             v.Colours.push_back(Lime);
             ChangeBrushColor(s, v);
         },
         BrushColorStepLabel, Numbers({brush}), Numbers({brush, 1, 0x222222, 2, 0x444444}),
         [](const TDrawingState& s, bool sel) {
             EXPECT_EQ(s.CurBrushColor, Lime);
             EXPECT_EQ(s.Fig(2).BrushColor, sel ? Lime : 0x444444);
         }},
        {"line style", [](TDrawingState& s, testing::TEditingView& v) { ChoosePenStyle(s, v, 3); }, PenStyleStepLabel,
         Numbers({0}), Numbers({0, 1, 2, 2, 0}),
         [](const TDrawingState& s, bool sel) {
             EXPECT_EQ(s.CurPenStyle, 3);
             EXPECT_EQ(s.Fig(2).PenStyle, sel ? 3 : 0);
         }},
        {"line width", [](TDrawingState& s, testing::TEditingView& v) { ChoosePenWidth(s, v, 2); }, PenWidthStepLabel,
         Numbers({1, 0}), Numbers({1, 0, 1, 1, 2, 2}),
         [](const TDrawingState& s, bool sel) {
             EXPECT_EQ(s.CurPenWidth, 3);
             EXPECT_EQ(s.Fig(1).PenWidth, sel ? 3 : 1);
             EXPECT_EQ(s.Fig(1).PenStyle, 2);  // the lock is the current style's only
         }},
        {"fill style", [](TDrawingState& s, testing::TEditingView& v) { ChooseBrushStyle(s, v, 5); }, BrushStyleStepLabel,
         Numbers({1}), Numbers({1, 1, 3, 2, 1}),
         [](const TDrawingState& s, bool sel) {
             EXPECT_EQ(s.CurBrushStyle, 5);
             EXPECT_EQ(s.Fig(1).BrushStyle, sel ? 5 : 3);
         }},
        {"apply", [](TDrawingState& s, testing::TEditingView& v) { ApplyAttributesToSelection(s, v); },
         ApplyAttributesStepLabel, {}, Numbers({1, 0x111111, 0x222222, 1, 2, 3, 2, 0x333333, 0x444444, 2, 0, 1}),
         [brush](const TDrawingState& s, bool sel) {
             if (!sel) return;
             for (std::int32_t i : {1, 2}) {
                 const TDateRec& r = s.Fig(i);
                 EXPECT_EQ((std::array<std::int64_t, 5>{r.PenColor, r.BrushColor, r.PenWidth, r.PenStyle, r.BrushStyle}),
                           (std::array<std::int64_t, 5>{0, brush, 1, 0, 1}));
             }
         }},
        {"eyedropper", [](TDrawingState& s, testing::TEditingView& v) { TakeAttributesFromSelection(s, v); },
         TakeAttributesStepLabel, {}, Numbers({0, 0, 1, brush, 1}),
         [](const TDrawingState& s, bool sel) {
             if (!sel) return;
             // The first entry of the list only, the line; the figures keep theirs.
             EXPECT_EQ((std::array<std::int64_t, 5>{s.CurPenColor, s.CurPenStyle, s.CurPenWidth, s.CurBrushColor,
                                                    s.CurBrushStyle}),
                       (std::array<std::int64_t, 5>{0x111111, 2, 1, 0x222222, 3}));
             EXPECT_EQ(s.Fig(2).PenColor, 0x333333);
         }},
    };
    for (const TOperation& op : ops) {
        for (const bool selected : {false, true}) {
            SCOPED_TRACE(std::string(op.Name) + (selected ? " with a selection" : " with nothing selected"));
            Ui.Beeps = 0;
            testing::TEditingView view;
            TDrawingState s(Ui, &view);
            for (std::int32_t i = 1; i <= S.FigureCount; ++i) s.Fig(i) = S.Fig(i);
            s.FigureCount = S.FigureCount;
            if (selected) SelectOnly(s, {1, 2});
            const std::int32_t before = s.HistoryCount;
            op.Run(s, view);
            const bool refused = !selected && op.Empty.Empty();
            if (refused) {
                EXPECT_EQ(s.HistoryCount, before);
                EXPECT_EQ(Ui.Beeps, 1);
                EXPECT_EQ(s.Label3, std::string(op.Label) == TakeAttributesStepLabel ? "先に図形を選んでください。"
                                                                                     : "先に図形を選択してください。");
                EXPECT_EQ(s.DrawingUnchanged, 1);
                continue;
            }
            // Only the frame colour clears the selection as a step of its own.
            const bool chooseStep = selected && std::string(op.Label) == PenColorStepLabel;
            ASSERT_EQ(s.HistoryCount, before + 1 + (chooseStep ? 1 : 0));
            EXPECT_EQ(s.History[static_cast<std::size_t>(before + 1)].Label, op.Label);
            EXPECT_EQ(s.History[static_cast<std::size_t>(before + 1)].Data, selected ? op.Selected : op.Empty);
            if (chooseStep) {
                EXPECT_EQ(s.History[static_cast<std::size_t>(before + 2)].Label, "選択");
                EXPECT_EQ(s.History[static_cast<std::size_t>(before + 2)].Data, Numbers({-1, 1, 2}));
            }
            op.Check(s, selected);
            const bool eyedropper = std::string(op.Label) == TakeAttributesStepLabel;
            // The eyedropper keeps the selection; every other one ends without it.
            EXPECT_EQ(s.SelectedCount, eyedropper && selected ? 2 : 0);
            EXPECT_EQ(s.Fig(1).Selected, eyedropper && selected ? 1 : 0);
            // The drawing changed when figures did, and always with the frame colour.
            const bool changed = !eyedropper && (selected || std::string(op.Label) == PenColorStepLabel);
            EXPECT_EQ(s.DrawingUnchanged, changed ? 0 : 1);
        }
    }
}

TEST_F(Attributes, ACancelledDialogAndTheCurrentItemRecordNothing) {
    SelectOnly(S, {1, 2});
    const std::int32_t before = S.HistoryCount;
    View.Colours = {std::nullopt, std::nullopt};
    ChangePenColor(S, View);
    ChangeBrushColor(S, View);
    ChoosePenStyle(S, View, 0);
    ChoosePenWidth(S, View, 0);
    ChooseBrushStyle(S, View, 1);
    ChooseFont(S, S.CurFontName);
    EXPECT_EQ(S.HistoryCount, before);
    EXPECT_EQ(S.SelectedCount, 2);
    EXPECT_EQ(S.CurPenColor, 0);
    EXPECT_EQ(S.Fig(1).PenColor, 0x111111);
    EXPECT_EQ(S.DrawingUnchanged, 1);
    // The dialogs open at the current colours.
    ASSERT_EQ(View.Asked.size(), 2u);
    EXPECT_EQ(View.Asked[0].Dialog, TColourDialog::Frame);
    EXPECT_EQ(View.Asked[1].Start, S.CurBrushColor);
}

TEST_F(Attributes, WideLinesLockTheStyleAtSolidAndTheThinLineFreesIt) {
    ChoosePenStyle(S, View, 4);
    ChoosePenWidth(S, View, 2);
    EXPECT_EQ(S.CurPenStyle, 0);
    EXPECT_EQ(View.PenStyleItem, 0);
    EXPECT_FALSE(View.PenStyleEnabled);
    EXPECT_EQ(S.History[static_cast<std::size_t>(S.HistoryCount)].Data, Numbers({1, 4}));
    View.PenStyleItem = -9;
    ChoosePenWidth(S, View, 0);
    EXPECT_EQ(S.CurPenWidth, 1);
    EXPECT_EQ(S.CurPenStyle, 0);
    EXPECT_TRUE(View.PenStyleEnabled);
    EXPECT_EQ(View.PenStyleItem, -9);
    // The width's samples: the fill and line-style lists are drawn again.
    EXPECT_EQ(View.Samples.back(), TSampleList::PenStyle);
}

TEST_F(Attributes, AFontChangeIsTwoStepsAndTheListHoldsOnlyNamesAFileCanKeep) {
    SelectOnly(S, {1, 3});
    const std::int32_t before = S.HistoryCount;
    ChooseFont(S, "ＭＳ Ｐゴシック");
    ASSERT_EQ(testing::Labels(S, before), (std::vector<std::string>{FontStepLabel, ApplyFontStepLabel}));
    THistoryData font;
    font.AddText("ＭＳ 明朝");
    EXPECT_EQ(S.History[static_cast<std::size_t>(before + 1)].Data, font);
    THistoryData applied;
    applied.AddNumber(1);
    applied.AddText("ＭＳ ゴシック");
    applied.AddNumber(3);
    applied.AddText("ＭＳ 明朝");
    EXPECT_EQ(S.History[static_cast<std::size_t>(before + 2)].Data, applied);
    EXPECT_EQ(S.Fig(1).FontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(S.Fig(2).FontName, "ＭＳ 明朝");
    EXPECT_EQ(S.DrawingUnchanged, 0);
    EXPECT_EQ(S.SelectedCount, 2);  // fonts leave the selection as it is

    EXPECT_EQ(DrawingFontNames({"ＭＳ 明朝", "@ＭＳ 明朝", "IPAexGothic", "Noto Sans CJK KR 한국어", "ＭＳ 明朝", "",
                                "Font 😀", "メイリオ"}),
              (std::vector<std::string>{"ＭＳ 明朝", "IPAexGothic", "メイリオ"}));
}

TEST_F(Attributes, TheNameArrowsTurnPlotsAndTextsAndKeepTheirPlaceOnEveryClick) {
    // 4 a text, 5 a closed curve's piece, both selected with the plot and the line.
    TDateRec& text = AddCorners(S, fkText, {{0, 0}, {2000, 0}, {2000, 500}, {0, 500}});
    text.Aux1 = 1.0, text.Aux2 = 7, text.Aux3 = 8;
    AddCorners(S, fkClosedCurve, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    AddStraight(S, fkChainCurve, 0, 0, 10, 10).OwnerIndex = 5;
    SelectOnly(S, {1, 2, 4, 6});
    const TDateRec plot = S.Fig(2);
    const std::int32_t before = S.HistoryCount;

    for (const int position : {6, 7, 8, 9}) EXPECT_EQ(TurnNameDirection(S, position), position);
    ASSERT_EQ(S.HistoryCount, before + 4);
    // Before the first turn: every selected figure that is no piece, with its corners.
    EXPECT_EQ(S.History[static_cast<std::size_t>(before + 1)].Data,
              Numbers({1, 0, 0, 0, 0, 1000, 0, 1000, 0, 0,             //
                       2, 0, 0, 4000, 0, 4000, 3000, 0, 3000, 0,       //
                       4, 0, 0, 2000, 0, 2000, 500, 0, 500, 1}));
    // Four turns forward bring the corners back; the text's direction flips each time.
    EXPECT_EQ((std::array{S.Fig(2).X1, S.Fig(2).Y1, S.Fig(2).X3, S.Fig(2).Y3}), (std::array{plot.X1, plot.Y1, plot.X3, plot.Y3}));
    EXPECT_EQ(S.Fig(4).Aux1, 1.0);
    TurnNameDirection(S, 8);  // back: point 1 takes old point 4
    EXPECT_EQ((std::array{S.Fig(2).X1, S.Fig(2).Y1}), (std::array{0.0, 3000.0}));
    EXPECT_EQ(S.Fig(4).Aux1, 2.0);
    EXPECT_EQ((std::array{S.Fig(4).Aux2, S.Fig(4).Aux3}), (std::array{7.0, 8.0}));
    EXPECT_EQ(S.Fig(1).X3, 1000.0);  // a line is no name holder
    EXPECT_EQ(S.DrawingUnchanged, 0);

    // At either end the arrows go back to the middle.
    EXPECT_EQ(TurnNameDirection(S, 10), 5);
    EXPECT_EQ(S.Tools.LastNameTurnPosition, 5);
    EXPECT_EQ(TurnNameDirection(S, 1), 5);

    // Clicks with nothing selected keep the place too: the next click turns as clicked.
    SelectOnly(S, {});
    const std::int32_t steps = S.HistoryCount;
    EXPECT_EQ(TurnNameDirection(S, 4), 4);
    EXPECT_EQ(S.Label3, "先に墓地を選んでください。");
    EXPECT_EQ(S.HistoryCount, steps);
    EXPECT_EQ(TurnNameDirection(S, 3), 3);
    SelectOnly(S, {2});
    const TDateRec now = S.Fig(2);
    TurnNameDirection(S, 4);  // up from 3: forward, point 1 takes old point 2
    EXPECT_EQ((std::array{S.Fig(2).X1, S.Fig(2).Y1}), (std::array{now.X2, now.Y2}));
}

TEST_F(Attributes, TheSizeArrowsRecordTheOldSize) {
    const std::int32_t before = S.HistoryCount;
    ChangeNameTextSize(S, 12);
    ChangeDimensionTextSize(S, 600);
    ASSERT_EQ(testing::Labels(S, before), (std::vector<std::string>{NameSizeStepLabel, DimensionSizeStepLabel}));
    EXPECT_EQ(S.History[static_cast<std::size_t>(before + 1)].Data, Numbers({10}));
    EXPECT_EQ(S.History[static_cast<std::size_t>(before + 2)].Data, Numbers({500}));
    EXPECT_EQ((std::array{S.NameTextSizeCopy, S.DimensionTextSize}), (std::array{12, 600}));
    EXPECT_EQ(S.DrawingUnchanged, 0);
}

TEST_F(Attributes, TheMeshAndMoveStepBoxesTakeOnlyPositiveWholeNumbers) {
    S.MeshVisible = 1;  // as the drawing page shows it
    struct TCase {
        const char* Text;
        const char* Shown;  // what the box is set to ("" = left as typed)
        std::uint8_t Visible;
        std::int32_t Step, MoveStep;
        std::uint8_t Snap;
        int SnapItem;
        int Beeps;
    };
    const TCase cases[] = {
        {"14", "", 1, 14, 7, 1, 0, 0},     {"0", "14", 1, 14, 7, 1, -9, 1},   {"-4", "14", 1, 14, 7, 1, -9, 1},
        {"abc", "14", 1, 14, 7, 1, -9, 1}, {"無し", "", 0, 14, 7, 0, 1, 0},   {"", "無し", 0, 14, 7, 0, 1, 0},
        {"0", "無し", 0, 14, 7, 0, -9, 1}, {"1", "", 1, 1, 1, 1, 0, 0},       {"40", "", 1, 40, 20, 1, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string("mesh \"") + c.Text + "\"");
        View.MeshText.clear();
        View.SnapItem = -9;
        Ui.Beeps = 0;
        ChooseMeshInterval(S, View, c.Text);
        EXPECT_EQ(View.MeshText, c.Shown);
        EXPECT_EQ(S.MeshVisible, c.Visible);
        EXPECT_EQ(S.MeshStep, c.Step);
        EXPECT_EQ(S.Tools.MoveStep, c.MoveStep);
        EXPECT_EQ(S.Tools.MeshSnap, c.Snap);
        EXPECT_EQ(View.SnapItem, c.SnapItem);
        EXPECT_EQ(Ui.Beeps, c.Beeps);
    }

    struct TStepCase {
        const char* Text;
        std::int32_t MoveStep;
        const char* Shown;
        int Beeps;
    };
    const TStepCase steps[] = {{"5", 5, "", 0}, {"移動量", 5, "", 0}, {"", 5, "", 0}, {"0", 5, "5", 1}, {"x2", 5, "5", 1}};
    for (const TStepCase& c : steps) {
        SCOPED_TRACE(std::string("move step \"") + c.Text + "\"");
        View.MoveStepText.clear();
        Ui.Beeps = 0;
        ChooseMoveStep(S, View, c.Text);
        EXPECT_EQ(S.Tools.MoveStep, c.MoveStep);
        EXPECT_EQ(View.MoveStepText, c.Shown);
        EXPECT_EQ(Ui.Beeps, c.Beeps);
    }
}

TEST_F(Attributes, SamplesShowTheItemInTheCurrentAttributes) {
    S.CurPenColor = Red;
    S.CurBrushColor = Lime;
    S.CurPenWidth = 1;
    TImageCanvas c(100, 20);
    c.SetOrigin(10, 40);  // the item's rectangle, in the canvas's own coordinates
    const TRect item{10, 40, 110, 60};
    const auto at = [&](int x, int y) { return c.GetPixel(10 + x, 40 + y); };

    DrawAttributeSample(S, TSampleList::PenWidth, c, 2, item, false, "　太線");
    for (const int y : {9, 10, 11}) EXPECT_EQ(at(20, y), Red) << y;  // three pixels wide
    EXPECT_EQ(at(20, 7), 0xFFFFFF);
    EXPECT_EQ(at(46, 10), 0xFFFFFF);  // the sample ends 55 pixels before the right edge

    DrawAttributeSample(S, TSampleList::BrushStyle, c, 0, item, true, "全塗り");
    EXPECT_EQ(at(2, 1), Red);     // the outline in the frame colour
    EXPECT_EQ(at(20, 10), Lime);  // filled in the fill colour
    EXPECT_EQ(at(48, 2), 0xD77800);  // a selected item's background
    bool whiteText = false;
    for (int x = 50; x < 100; ++x)
        for (int y = 0; y < 20; ++y) whiteText = whiteText || at(x, y) == 0xFFFFFF;
    EXPECT_TRUE(whiteText);

    // "右上斜" is "/": its hatch, where it lies, runs up to the right.
    DrawAttributeSample(S, TSampleList::BrushStyle, c, 2, item, false, "右上斜");
    int rising = 0, falling = 0;
    for (int x = 4; x < 40; ++x)
        for (int y = 3; y < 16; ++y)
            if (at(x, y) == Lime) {
                rising += at(x + 1, y - 1) == Lime;
                falling += at(x + 1, y + 1) == Lime;
            }
    EXPECT_GT(rising, 0);
    EXPECT_EQ(falling, 0);
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
