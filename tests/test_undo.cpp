// Ctrl+Z on a painted map without a window: every label's step taken back after its real
// operation gives back the records, the counters and the settings it changed; chains take
// exactly their partners; the hints; a step that does not read changes nothing.
#include <QGuiApplication>

#include <filesystem>
#include <functional>

#include "document/part_file.h"
#include "editing/attributes.h"
#include "editing/drawing_range.h"
#include "editing/join_curves.h"
#include "gui_test_main.h"
#include "households/grades.h"
#include "households/household_reset.h"
#include "households/ledger_poll.h"
#include "households/plot_conversion.h"
#include "households/plot_numbering.h"
#include "households/plot_search.h"
#include "households/shared_ownership.h"
#include "undo_fixture.h"
#include "view/idle.h"
#include "view/zoom.h"

namespace tarvek {
namespace {

using testing::ClickAt;
using testing::DragFromTo;

class Undo : public testing::UndoFixture {};

void RoundHalfEvenGeometry(TDateRec& r) {
    for (double* v : {&r.X1, &r.Y1, &r.X2, &r.Y2, &r.X3, &r.Y3, &r.X4, &r.Y4, &r.BoxX1, &r.BoxY1, &r.BoxX2, &r.BoxY2,
                      &r.Aux1, &r.Aux2, &r.Aux3, &r.Aux4})
        *v = static_cast<double>(RoundHalfEven(*v));
}

// ---- One round trip per label --------------------------------------------------------

struct TRoundTrip {
    const char* Label;  // the step on top after the operation (checked)
    const char* Name;
    std::function<void(Undo&)> Setup;      // before the snapshot
    std::function<void(Undo&)> Operation;  // the real operation
    int Undos = 1;
    // What the records before must be changed into (rounded coordinates); then further checks.
    std::function<void(std::vector<TDateRec>&)> Expected = nullptr;
    std::function<void(Undo&)> Check = nullptr;
};

TEST_F(Undo, EveryLabelTakenBackAfterItsOperationGivesTheStateBack) {
    static TAttributeView none;
    const auto largestSizes = [](std::int32_t size) {
        return [size](Undo& t) {
            t.S.BlockUnitWidth = t.S.BlockUnitHeight = t.S.DimensionTextSize = t.S.Tools.TextSize = size;
        };
    };
    const auto defaultSizes = [](Undo& t) {
        t.S.BlockUnitWidth = 4, t.S.BlockUnitHeight = 3, t.S.DimensionTextSize = 500, t.S.Tools.TextSize = 8;
    };
    const auto pick = [](std::initializer_list<std::int32_t> indices, int page) {
        return [indices = std::vector<std::int32_t>(indices), page](Undo& t) {
            t.Map.Page = page;
            for (std::int32_t i = 1; i <= t.S.FigureCount; ++i) t.S.Fig(i).Selected = 0;
            for (const std::int32_t i : indices) t.S.Fig(i).Selected = 1;
            RebuildSelectionList(t.S, true);
            ClassifySelectionKinds(t.S);
            t.S.SelectedCursor = 1;
            t.S.CurrentHitIndex = indices.empty() ? -1 : *indices.begin();
            t.Map.Dirty = true;
        };
    };
    const auto assign = [](int mode) {
        return [mode](Undo& t) {
            ReadChosenHouseholdRow(t.S, Undo::Household("000099"));
            ASSERT_TRUE(AssignHouseholdToPlot(t.S, mode));
        };
    };
    const auto ownedPolygon = [pick](Undo& t) {
        for (std::int32_t i = 4; i <= 7; ++i) t.Owns(i, "000056");
        pick({7}, 1)(t);
    };
    const TRoundTrip cases[] = {
        {"フォントの適応を戻す", "font chosen, then the font of the selection", pick({8, 9}, 4),
         [](Undo& t) { ChooseFont(t.S, "ＭＳ ゴシック"); }, 2,
         nullptr, [](Undo& t) { EXPECT_EQ(t.View.Font, "ＭＳ 明朝"); }},
        {"フォントの適応を戻す", "font applied", [pick](Undo& t) { pick({8, 9}, 4)(t); t.S.CurFontName = "ＭＳ ゴシック"; },
         [](Undo& t) { ApplyFontToSelection(t.S); }},
        {"色属性の適応を元に戻す", "attributes applied",
         [pick](Undo& t) { pick({1, 9}, 3)(t); t.S.CurPenColor = 0x00FF00, t.S.CurBrushStyle = 6, t.S.CurPenWidth = 3; },
         [](Undo& t) { ApplyAttributesToSelection(t.S, none); }},
        {"色属性を元に戻す", "attributes taken", pick({9}, 3), [](Undo& t) { TakeAttributesFromSelection(t.S, none); },
         1, nullptr, [](Undo& t) { EXPECT_EQ(t.View.PenWidth, 0); }},
        {"内部色のスタイルを元に戻す", "fill style", pick({1, 15}, 3), [](Undo& t) { ChooseBrushStyle(t.S, none, 4); },
         1, nullptr, [](Undo& t) { EXPECT_EQ(t.View.BrushStyle, 1); }},
        {"線のスタイルを元に戻す", "line style", pick({1, 15}, 3), [](Undo& t) { ChoosePenStyle(t.S, none, 2); }},
        {"内部色を元に戻す", "fill colour", pick({1, 15}, 3),
         [](Undo& t) {
             testing::TEditingView colours;
             colours.Colours = {0x123456};
             ChangeBrushColor(t.S, colours);
         }},
        {"選択", "frame colour, which clears the selection with its own step", pick({1, 15}, 3),
         [](Undo& t) {
             testing::TEditingView colours;
             colours.Colours = {0x123456};
             ChangePenColor(t.S, colours);
         },
         2},
        {"線の太さを元に戻す", "line width locks the style", [pick](Undo& t) { pick({9}, 3)(t); t.S.CurPenStyle = 2; },
         [](Undo& t) { ChoosePenWidth(t.S, none, 2); }, 1, nullptr,
         [](Undo& t) {
             EXPECT_EQ(t.View.PenStyle, 2);
             EXPECT_TRUE(t.View.PenStyleEnabled);
         }},
        {"檀家名文字の大きさを戻す", "household-name size", nullptr, [](Undo& t) { ChangeNameTextSize(t.S, 14); }, 1,
         nullptr, [](Undo& t) { EXPECT_EQ(t.View.NameSize, 10); }},
        {"寸法文字の大きさを戻す", "dimension text size", nullptr, [](Undo& t) { ChangeDimensionTextSize(t.S, 800); }, 1,
         nullptr, [](Undo& t) { EXPECT_EQ(t.View.DimensionSize, 500); }},
        {"檀家名向を戻す", "household names turned", pick({1, 8}, 4), [](Undo& t) { TurnNameDirection(t.S, 6); }},
        {"等級割当てを取消し", "grade on a polygon plot", pick({7}, 2),
         [](Undo& t) { AssignGradeToSelection(t.S, "特等"); }},
        {"組番号作成を取消す", "plot numbers", pick({1, 7}, 2),
         [](Undo& t) { AssignPlotNumbers(t.S, {"東", "1", "1"}); }},
        {"選択の範囲を戻す", "selection filter", [pick](Undo& t) { pick({1, 8}, 3)(t); t.S.HistoryRecording = 1; },
         [](Undo& t) { SelectionFilterClicked(t.S, t.Map, 1); }, 1, nullptr,
         [](Undo& t) { EXPECT_EQ(t.View.Filter, 0); }},
        {"外部選択解除", "a request for a plot in no set",
         [pick](Undo& t) {
             pick({8}, 3)(t);
             t.S.EditTabActive = 1;
             t.S.RecordedScrollPos = {t.Map.HorzScrollPos(), t.Map.VertScrollPos()};
         },
         [](Undo& t) {
             testing::WriteBytes(t.Dir.File("追加.txt"), "1\r\n");
             ASSERT_EQ(PollLedgerRequest(t.S, t.Map), TPollResult::Handled);
             ASSERT_EQ(t.S.Zoom, 2) << "the request shows its plot at zoom 2";
         },
         1, nullptr, [](Undo& t) { EXPECT_EQ(t.View.Page, 3); }},
        {"タブページを戻す", "page switch (pushed as the form pushes it)", pick({1, 8}, 3),
         [](Undo& t) {
             THistoryData& d = PushHistory(t.S, "選択").Data;
             d.AddNumber(t.S.CurrentHitIndex);
             d.Append(BuildSelectionHistoryData(t.S));
             AddPageStepFields(t.S, t.Map, PushHistory(t.S, "タブページを戻す").Data);
             t.Map.Page = 0;
             t.S.PreviousTab = 0, t.S.MeshVisible = 0, t.S.EditTabActive = 0;
             t.S.Fig(8).Selected = 0;
         },
         1, nullptr, [](Undo& t) { EXPECT_EQ(t.Map.Page, 3); }},
        {"檀家セットを取消す", "plain assignment on a polygon plot", pick({7}, 1), assign(AssignPlain)},
        {"作図範囲を狭くします", "range enlarged at defaults", nullptr, [](Undo& t) { EnlargeDrawingRange(t.S); }, 1,
         nullptr, [](Undo& t) { EXPECT_EQ(t.View.DimensionSize, 500); }},
        {"作図範囲を広くします", "range reduced", nullptr, [](Undo& t) { ReduceDrawingRange(t.S); }},
        // The largest sizes come back whole; what the dialog takes after the step doubles
        // no further than 32 bits before the step puts the old sizes back.
        {"作図範囲を狭くします", "range enlarged at the largest sizes", largestSizes(2147483647),
         [](Undo& t) { ASSERT_TRUE(EnlargeDrawingRange(t.S)); }, 1, nullptr, defaultSizes},
        {"作図範囲を広くします", "range reduced at the largest sizes that double", largestSizes(1073741823),
         [](Undo& t) { ASSERT_TRUE(ReduceDrawingRange(t.S)); }, 1, nullptr, defaultSizes},
        {"作図範囲を狭くします", "range enlarged, then the largest plot size typed", nullptr,
         [](Undo& t) {
             ASSERT_TRUE(EnlargeDrawingRange(t.S));
             ReadBlockSettings(t.S, {"2147483647", "2147483647", "1", "1", "10", "10"});
         }},
        {"前後移動 後ろにします", "to the front with a group", pick({12, 13, 14}, 4),
         [](Undo& t) { BringSelectionToFront(t.S); }},
        {"前後移動 前にします", "to the back with a group", pick({12, 13, 14}, 4),
         [](Undo& t) { SendSelectionToBack(t.S); }},
        {"グループ化に復活させます", "ungrouped", pick({12, 13, 14}, 4), [](Undo& t) { UngroupSelection(t.S); }},
        {"グループ化を解除します", "grouped", pick({8, 9}, 4), [](Undo& t) { GroupSelection(t.S); }},
        {"檀家リセットを取消す", "reset of a shared plot whose remarks hold * and ,",
         [pick](Undo& t) {
             t.S.Fig(2).PlotRemarks = "*印,要確認";
             pick({2, 3}, 1)(t);
         },
         [](Undo& t) {
             t.Ui.Answers = {mrYes};
             ASSERT_TRUE(ResetSelectedHouseholds(t.S));
         }},
        {"檀家セット入替えを取消す", "replacing assignment on a polygon plot", ownedPolygon, assign(AssignReplace)},
        {"共有データセットを取消す", "shared assignment on a polygon plot", ownedPolygon, assign(AssignShared)},
        {"データセットを取消す", "a rectangle drawn", [](Undo& t) { t.S.CurrentTool = fkRectangle; },
         [](Undo& t) { t.Play(DragFromTo(500, 400, 560, 450)); }},
        {"データセットを取消す", "a block of two plots",
         [](Undo& t) {
             t.S.BlockColumns = 2;
             t.S.BlockRows = 1;
         },
         [](Undo& t) {
             ChooseBlockTool(t.S, false);
             t.Play(ClickAt(600, 450));
         },
         1, nullptr,
         [](Undo& t) {
             EXPECT_EQ(t.Ui.Lists().back(), "-999,-999,,,,-999,-999,削除\r\n5,0,000000,,,0,0,図面1\r\n"
                                            "6,0,000000,,,0,0,図面1\r\n");
         }},
        {"貼り付けの取消し", "paste of three with a plot",
         [pick](Undo& t) {
             pick({1, 8, 9}, 4)(t);
             t.CtrlKey('C');
         },
         [](Undo& t) {
             t.Ui.TakeList();
             t.Ui.Taken.clear();
             t.CtrlKey('V');
             ASSERT_EQ(t.S.FigureCount, 18);
         },
         1, nullptr,
         [](Undo& t) {
             // The paste's list, the undo's, and the selection brought back sent again.
             ASSERT_EQ(t.Ui.Lists().size(), 3u);
             EXPECT_EQ(t.Ui.Lists()[1], "-999,-999,,,,-999,-999,削除\r\n5,0,000000,,並,7,0,図面1\r\n");
             EXPECT_EQ(t.Ui.Lists()[2], "-999,-999,,,,-999,-999,選択\r\n1,0,北001,,並,7,0,図面1\r\n");
         }},
        {"移動コピーを取消す", "Ctrl-move", pick({1}, 3),
         [](Undo& t) { t.Play(DragFromTo(120, 115, 170, 150, ToolCtrlKey)); }},
        {"変形コピーを取消す", "Ctrl-reshape", pick({1}, 3),
         [](Undo& t) { t.Play(DragFromTo(140, 130, 170, 150, ToolCtrlKey)); }},
        {"回転コピーの取消す", "Ctrl-turn", pick({1, 7}, 4),
         [](Undo& t) {
             t.S.Tools.RotationCentre = {20000, 20000};
             t.S.Tools.RotationAngle = 0.5;
             CommitRotation(t.S, ToolCtrlKey);
         }},
        {"部品読込を取消す", "a part with a polygon plot, then its selection step",
         [pick](Undo& t) { pick({4, 5, 6, 7}, 4)(t); },
         [](Undo& t) {
             const TPartRecords part = ParsePartLines(BuildPartLines(t.S), "p.bbh", t.S.CurFontName);
             ASSERT_TRUE(part.ok());
             AppendPartRecords(t.S, t.Map, part.Records);
         },
         2},
        {"図形の移動を取消す", "a move with fractional coordinates",
         [pick](Undo& t) {
             TDateRec& r = t.S.Fig(1);
             r.X1 = r.X4 = 10000.5, r.Y1 = r.Y2 = 10001.5, r.Aux1 = 3.5;
             UpdateFigureBounds(t.S, 1);
             pick({1, 8}, 3)(t);
         },
         [](Undo& t) { t.Play(DragFromTo(120, 115, 170, 150)); }, 1,
         [](std::vector<TDateRec>& r) {
             RoundHalfEvenGeometry(r[1]);
             RoundHalfEvenGeometry(r[8]);
         },
         [](Undo& t) {
             EXPECT_EQ(t.S.Fig(1).X1, 10000.0);
             EXPECT_EQ(t.S.Fig(1).Y1, 10002.0);
         }},
        {"図形の変形を取消す", "a reshape", pick({15}, 3), [](Undo& t) { t.Play(DragFromTo(440, 330, 500, 400)); }},
        {"位置合わせを元に戻す", "align", pick({1, 15}, 4), [](Undo& t) { AlignSelection(t.S, haLeft, vaTop); }},
        {"図形の回転を元に戻す", "a turn", pick({1, 9}, 4),
         [](Undo& t) {
             t.S.Tools.RotationCentre = {20000, 20000};
             t.S.Tools.RotationAngle = 0.5;
             CommitRotation(t.S, 0);
         },
         1, [](std::vector<TDateRec>& r) { RoundHalfEvenGeometry(r[1]), RoundHalfEvenGeometry(r[9]); }},
        {"集合を取消し分離させる", "share set joined",
         [pick](Undo& t) {
             t.Owns(1, "000078");
             pick({1, 2, 3}, 1)(t);
         },
         [](Undo& t) { ASSERT_TRUE(JoinSharedOwnership(t.S)); }},
        {"分離を取消し集合させる", "share set split", pick({2, 3}, 1),
         [](Undo& t) { ASSERT_TRUE(SplitSharedOwnership(t.S)); }},
        {"貼付けの取消し", "a cut pasted back, then its selection step",
         [pick](Undo& t) {
             pick({1, 9}, 4)(t);
             t.CtrlKey('X');
             t.S.HoverPos = {600, 500};
         },
         [](Undo& t) { t.CtrlKey('V'); }, 2, nullptr,
         [](Undo& t) {
             EXPECT_EQ(t.S.Tools.PasteBufferCut, 1) << "the buffer holds the cut figures again";
             EXPECT_EQ(t.S.Tools.PasteBuffer, (std::vector<std::int32_t>{1, 9}));
         }},
        {"曲線化の取消し", "open join of a red leader and a blue dimension out of path order", pick({9, 10, 11}, 3),
         [](Undo& t) { ASSERT_TRUE(JoinSelectedLines(t.S, false)); }},
        {"閉じた曲線化の取消し", "closed join of the lines of a group", pick({9, 10, 11}, 3),
         [](Undo& t) {
             t.S.Fig(10).OwnerIndex = 14;  // the group gives it up to the join
             ASSERT_TRUE(JoinSelectedLines(t.S, true));
         },
         1, [](std::vector<TDateRec>& r) { r[10].OwnerIndex = 14; }},
        {"削除された図形を復活させる", "deleted", pick({1, 8}, 4), [](Undo& t) { t.Key(46); }},
        {"切取りを取消し", "cut", pick({1, 8}, 4), [](Undo& t) { t.CtrlKey('X'); }},
        {"拡大率を戻す", "zoom with its scroll step",
         [](Undo& t) { t.S.RecordedScrollPos = {t.Map.HorzScrollPos(), t.Map.VertScrollPos()}; },
         [](Undo& t) { ZoomByButton(t.S, true); }},
        {"スクロール位置を元に戻します", "scrolled", [](Undo& t) { t.S.HistoryRecording = 1; },
         [](Undo& t) {
             t.Map.SetScrollPos(300, 200);
             RecordViewSteps(t.S, t.Idle);
         }},
        {"フォームの大きさを戻す", "window resized", nullptr,
         [](Undo& t) {
             t.Idle.Width = 900;
             RecordViewSteps(t.S, t.Idle);
         },
         1, nullptr, [](Undo& t) { EXPECT_EQ(t.View.FormWidth, 800); }},
        {"選択", "selection cleared", pick({1, 8}, 3), [](Undo& t) { ClearFigureSelection(t.S, false); }, 1, nullptr,
         [](Undo& t) { EXPECT_EQ(t.S.SelectedCount, 2); }},
        {"選択解除", "a plot picked over another selection", pick({8}, 3), [](Undo& t) { t.Play(ClickAt(112, 112)); },
         1, nullptr, [](Undo& t) { EXPECT_EQ(t.Selected(), std::vector<std::int32_t>{8}); }},
        {"キーボードによる図形の移動を元に戻す", "Ctrl+arrows", pick({1, 8}, 4),
         [](Undo& t) {
             NudgeSelection(t.S, 39);
             NudgeSelection(t.S, 40);
             unsigned short ctrl = 17;
             ToolKeyUp(t.S, ctrl, 0);
         }},
        {"図形の墓地化を取消す", "figure to plot", pick({15}, 4),
         [](Undo& t) { ASSERT_EQ(ConvertSelectionToPlots(t.S), 1); }},
        {"墓地の図形化を取消す", "plots to figures: a set-aside copy, a polygon plot", pick({2, 3, 7}, 4),
         [](Undo& t) {
             t.Ui.Answers = {mrYes};
             ASSERT_EQ(ConvertSelectionToFigures(t.S), 2);
         }},
        {"選択変更を戻す", "next search hit", pick({1, 2, 3}, 0), [](Undo& t) { SelectNextSearchHit(t.S, t.Map); }},
    };

    std::vector<std::string> covered;
    for (const TRoundTrip& c : cases) {
        SCOPED_TRACE(c.Name);
        // A fresh drawing and tools every time.
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i) = TDateRec{};
        S.FigureCount = 0;
        Build();
        Map.Page = 3;
        S.CurrentTool = S.PreviousTool = 0;
        S.Dragging = 0;
        S.Tools.PasteBuffer.clear();
        S.Tools.ClipboardMode = 0;
        S.Tools.CutMode = S.Tools.PasteBufferCut = 0;
        S.CurPenColor = 0, S.CurPenWidth = 1, S.CurPenStyle = 0;
        S.CurBrushColor = 7321527, S.CurBrushStyle = 1;
        S.CurFontName = "ＭＳ 明朝";
        S.HistoryRecording = 1;
        View = testing::TRecordingUndoView{};
        View.Map = &Map;
        View.S = &S;
        if (c.Setup) c.Setup(*this);
        testing::TUndoSnapshot before = Snapshot();
        std::vector<TDateRec> records(S.Figures.begin(), S.Figures.begin() + S.FigureCount + 1);
        Map.Dirty = true;
        Map.Paint();
        c.Operation(*this);
        ASSERT_EQ(TopLabel(), c.Label);
        for (std::int32_t h = S.HistoryCount; h > before.HistoryCount; --h)
            covered.push_back(S.History[static_cast<std::size_t>(h)].Label);
        for (int k = 0; k < c.Undos; ++k) TakeBack();
        if (c.Expected) {
            c.Expected(records);
            before.Records.clear();
            for (std::size_t i = 1; i < records.size(); ++i) before.Records.push_back(testing::Described(records[i]));
        }
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(S.Tools.UndoRunning, 0);
        EXPECT_EQ(Ui.BusyDepth, 0);
        EXPECT_TRUE(Ui.Shown.empty() || Ui.Shown.back().Text != UndoFailedMessage);
        if (c.Check) c.Check(*this);
        Ui.Shown.clear();
    }
    // Every label the undo knows has been through its operation.
    for (const std::string& label : UndoLabels(S))
        EXPECT_NE(std::find(covered.begin(), covered.end(), label), covered.end()) << label;
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
