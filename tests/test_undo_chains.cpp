// Which steps one Ctrl+Z takes, the hints it leaves, the lists the ledger gets, and a step
// that does not read.
#include <array>
#include <filesystem>

#include "document/figure_store.h"
#include "document/part_file.h"
#include "editing/attributes.h"
#include "households/household_reset.h"
#include "households/ledger_poll.h"
#include "households/plot_conversion.h"
#include "undo_fixture.h"
#include "view/idle.h"
#include "view/zoom.h"

namespace tarvek {
namespace {

using testing::ClickAt;
using testing::DragFromTo;

class UndoChains : public testing::UndoFixture {
public:
    void Request(const std::string& number) {
        testing::WriteBytes(RequestPath(), number + "\r\n");
        ASSERT_EQ(PollLedgerRequest(S, Map), TPollResult::Handled);
    }
    std::string RequestPath() const { return Dir.File("追加.txt"); }
    // No selection, and no step for clearing it.
    void DeselectQuietly() {
        S.SelectedCount = 0;
        ClearFigureSelection(S, false);
    }
    std::string ReturnFile() { return Dir.File("戻し.txt"); }
};

// ---- Chains ---------------------------------------------------------------------------

TEST_F(UndoChains, APickTakesBackEveryPickAndTheSelectionBelowIt) {
    ChangeNameTextSize(S, 12);
    SelectOnly({8});
    Play(ClickAt(112, 112));                 // "選択" (the text) and "選択解除" (plot 1)
    Play(ClickAt(212, 112, ToolShiftKey));  // "選択解除" (plot 1 and the set 2, 3)
    Play(ClickAt(412, 302, ToolShiftKey));  // "選択解除" (and the rectangle)
    ASSERT_EQ(TopLabels(5), (std::vector<std::string>{"選択解除", "選択解除", "選択解除", "選択", "檀家名文字の大きさを戻す"}));
    TakeBack();
    EXPECT_EQ(Selected(), std::vector<std::int32_t>{8});
    EXPECT_EQ(TopLabel(), "檀家名文字の大きさを戻す");
    EXPECT_EQ(S.Label3, "次の「Ctrl+Z」檀家名文字の大きさを戻す");
    EXPECT_EQ(View.LineWhileWorking, UndoWorkingText);
    EXPECT_EQ(View.Working, 1);
}

TEST_F(UndoChains, APasteOrARequestWithNothingSelectedTakesOnlyItsOwnSteps) {
    SelectOnly({8});
    CtrlKey('C');
    SelectOnly({1});
    Play(DragFromTo(120, 115, 170, 150));
    const double moved = S.Fig(1).X1;
    DeselectQuietly();
    ASSERT_EQ(TopLabel(), "図形の移動を取消す");

    S.HoverPos = {600, 500};
    CtrlKey('V');
    ASSERT_EQ(TopLabels(2), (std::vector<std::string>{"貼り付けの取消し", "選択"}));
    TakeBack();
    EXPECT_EQ(S.FigureCount, 15);
    EXPECT_EQ(TopLabel(), "図形の移動を取消す") << "the move stays";

    DeselectQuietly();
    Request("1");
    ASSERT_EQ(TopLabels(3), (std::vector<std::string>{"外部選択解除", "元の画面に戻す", "選択"}));
    TakeBack();
    EXPECT_EQ(TopLabel(), "図形の移動を取消す") << "the move stays";
    EXPECT_EQ(S.Fig(1).X1, moved);
    TakeBack();
    EXPECT_EQ(S.Fig(1).X1, 10000);
}

TEST_F(UndoChains, AChainStopsAtTheBottomMarkOfASave) {
    CompactFigures(S);  // what a save does
    ASSERT_EQ(S.HistoryCount, 1);
    EXPECT_EQ(S.Label3, "次の「Ctrl+Z」はありません。");
    Play(ClickAt(112, 112));  // nothing was selected: "選択解除" alone, right above "stop"
    ASSERT_EQ(TopLabels(2), (std::vector<std::string>{"選択解除", "stop"}));
    TakeBack();
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(S.HistoryCount, 1);
    EXPECT_EQ(S.History[1].Label, "stop");
    EXPECT_EQ(S.Label3, "次の「Ctrl+Z」はなし。");
    // Nothing left: no effect, no message.
    TakeBack();
    EXPECT_EQ(S.HistoryCount, 1);
    EXPECT_EQ(View.Working, 1);
}

TEST_F(UndoChains, TheFirstStepAfterAFullStoreWarningCanBeTakenBack) {
    ChangeNameTextSize(S, 12);
    // A full store without deleted records: the warning, and the history is emptied.
    for (std::int32_t i = S.FigureCount + 1; i < MaxFigures; ++i) S.Fig(i) = TDateRec{};
    const std::int32_t count = S.FigureCount;
    S.FigureCount = MaxFigures - 1;
    EXPECT_FALSE(EnsureFigureCapacity(S));
    S.FigureCount = count;
    ASSERT_EQ(S.HistoryCount, 1);
    ChangeDimensionTextSize(S, 900);
    EXPECT_EQ(S.Label3, "次の「Ctrl+Z」寸法文字の大きさを戻す");
    TakeBack();
    EXPECT_EQ(S.DimensionTextSize, 500);
    EXPECT_EQ(S.Label3, "次の「Ctrl+Z」はなし。");
    EXPECT_EQ(S.NameTextSizeCopy, 12) << "the step before the warning is gone";
}

TEST_F(UndoChains, AStopOnTopSaysSoAndTheNextStepWorks) {
    ChangeNameTextSize(S, 12);
    PushHistory(S, HistoryStopLabel);
    ASSERT_EQ(S.HistoryCount, 3);
    TakeBack();
    EXPECT_EQ(S.Label3, "「Ctrl+Z」処理はもうありません。");
    EXPECT_EQ(S.HistoryCount, 3);
    EXPECT_EQ(S.NameTextSizeCopy, 12);
    EXPECT_EQ(S.Tools.UndoRunning, 0);
    EXPECT_EQ(View.Working, 0);
    ChangeDimensionTextSize(S, 900);
    TakeBack();
    EXPECT_EQ(S.DimensionTextSize, 500);
    EXPECT_EQ(S.HistoryCount, 3);
}

TEST_F(UndoChains, HintsNameTheNextStepOrThePreviousSelection) {
    Play(ClickAt(112, 112));  // "選択解除" alone: nothing was selected
    ClearFigureSelection(S, false);  // "選択" of plot 1
    TakeBack();
    EXPECT_EQ(Selected(), std::vector<std::int32_t>{1});
    EXPECT_EQ(S.Label3, "次の「Ctrl+Z」前の選択に戻す");
    EXPECT_EQ(S.Tools.UndoJustRan, 1);
    TakeBack();
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(S.Label3, "次の「Ctrl+Z」はなし。");
}

TEST_F(UndoChains, NothingPushesWhileTheUndoWorks) {
    ChangeNameTextSize(S, 12);
    const std::int32_t steps = S.HistoryCount;
    TPollResult polled = TPollResult::Idle;
    View.WhileWorking = [&] {
        testing::WriteBytes(RequestPath(), "1\r\n");
        polled = PollLedgerRequest(S, Map);
        Map.SetScrollPos(200, 100);
        RecordViewSteps(S, Idle);
        Idle.Width = 1000;
        RecordViewSteps(S, Idle);
    };
    TakeBack();
    EXPECT_EQ(polled, TPollResult::Waiting);
    EXPECT_EQ(testing::ReadBytes(RequestPath()), "1\r\n") << "the request waits in its file";
    EXPECT_EQ(S.HistoryCount, steps - 1);
    EXPECT_EQ(S.NameTextSizeCopy, 10);
    // The request is taken at the next tick.
    View.WhileWorking = nullptr;
    EXPECT_EQ(PollLedgerRequest(S, Map), TPollResult::Handled);
}

TEST_F(UndoChains, AWindowSizeTakenBackIsTheSizeTheWindowTookAndNoNewStep) {
    ChangeNameTextSize(S, 12);
    Idle.Width = 1200, Idle.Height = 900;
    RecordViewSteps(S, Idle);
    ASSERT_EQ(TopLabel(), FormSizeStepLabel);
    const std::int32_t steps = S.HistoryCount;
    // The window keeps no size below 1000 (its minimum).
    View.TakenMinimum = 1000;
    TakeBack();
    EXPECT_EQ((std::array{View.FormWidth, View.FormHeight}), (std::array{800, 600}));
    EXPECT_EQ((std::array{S.RecordedFormSize.cx, S.RecordedFormSize.cy}), (std::array{1000, 1000}));
    Idle.Width = 1000, Idle.Height = 1000;
    RecordViewSteps(S, Idle);
    EXPECT_EQ(S.HistoryCount, steps - 1);
    EXPECT_EQ(TopLabel(), "檀家名文字の大きさを戻す");
}

TEST_F(UndoChains, TheRightButtonUndoesWhenNothingIsSelected) {
    S.EditTabActive = 1;
    ChangeNameTextSize(S, 12);
    ToolMouseDown(S, TToolButton::Right, 0, 300, 300);
    EXPECT_EQ(S.NameTextSizeCopy, 10);
    // With a selection the right button first clears it; right after an undo it undoes.
    ChangeNameTextSize(S, 14);
    SelectOnly({1});
    ToolMouseDown(S, TToolButton::Right, 0, 300, 300);
    EXPECT_EQ(S.NameTextSizeCopy, 14);
    EXPECT_TRUE(Selected().empty());
    ToolMouseDown(S, TToolButton::Right, 0, 300, 300);
    EXPECT_EQ(Selected(), std::vector<std::int32_t>{1}) << "the clearing is taken back first";
    ToolMouseDown(S, TToolButton::Right, 0, 300, 300);
    EXPECT_EQ(S.NameTextSizeCopy, 10);
}

// ---- The ledger -----------------------------------------------------------------------

TEST_F(UndoChains, TheLedgerGetsTheUndosLists) {
    Map.Page = 1;
    const auto assign = [&](std::int32_t plot, const std::string& id, int mode) {
        SelectOnly({plot});
        S.SelectedCursor = 1;
        ReadChosenHouseholdRow(S, Household(id));
        ASSERT_TRUE(AssignHouseholdToPlot(S, mode));
        Ui.Lists();
        Ui.Taken.clear();
    };
    // A plain assignment: the plot's line as it was.
    assign(1, "000099", AssignPlain);
    TakeBack();
    EXPECT_EQ(Ui.Lists(), std::vector<std::string>{"-999,-999,,,,-999,-999,変更\r\n1,0,北001,,並,7,0,図面1\r\n"});

    // A shared one: the new record removed, then the set's remaining plots changed.
    assign(2, "000099", AssignShared);
    ASSERT_EQ(S.FigureCount, 16);
    TakeBack();
    EXPECT_EQ(S.FigureCount, 15);
    EXPECT_EQ(S.MaxPlotId, 4);
    EXPECT_EQ(Ui.Lists(), (std::vector<std::string>{
                              "-999,-999,,,,-999,-999,削除\r\n5,000099,北002(2),,並,7,9,図面1\r\n",
                              "-999,-999,,,,-999,-999,変更\r\n2,000012,北002(1),備考,並,7,4,図面1\r\n"
                              "3,000034,北002(2),備考,並,7,4,図面1\r\n"}));

    // A reset: the removed copy comes back ("追加"), then every plot's household ("変更").
    SelectOnly({2, 3});
    Ui.Answers = {mrYes};
    ASSERT_TRUE(ResetSelectedHouseholds(S));
    Ui.Lists();
    Ui.Taken.clear();
    TakeBack();
    EXPECT_EQ(Ui.Lists(), (std::vector<std::string>{
                              "-999,-999,,,,-999,-999,追加\r\n2,0,北002(1),,並,7,0,図面1\r\n",
                              "-999,-999,,,,-999,-999,変更\r\n2,000012,北002(1),備考,並,7,4,図面1\r\n"
                              "3,000034,北002(2),備考,並,7,4,図面1\r\n"}));

    // Plots turned into figures come back as plots, the set-aside copy too.
    Map.Page = 4;
    SelectOnly({2, 3});
    Ui.Answers = {mrYes};
    ASSERT_EQ(ConvertSelectionToFigures(S), 1);
    Ui.Lists();
    Ui.Taken.clear();
    Ui.Sleeps.clear();
    Map.Marks.clear();
    TakeBack();
    EXPECT_EQ(Ui.Lists(), std::vector<std::string>{"-999,-999,,,,-999,-999,追加\r\n"
                                                   "2,000012,北002(1),備考,並,7,4,図面1\r\n"
                                                   "3,000034,北002(2),備考,並,7,4,図面1\r\n"});
    // Both records of the plot outlined in red round their boxes, after a pause.
    EXPECT_EQ(Ui.Sleeps, std::vector<int>{100});
    ASSERT_EQ(Map.Marks.size(), 1u);
    ASSERT_EQ(Map.Marks[0].size(), 2u);
    EXPECT_EQ(Map.Marks[0][0].PenColor, 255);
    EXPECT_EQ(Map.Marks[0][0].Corners, (std::array<double, 8>{20000, 10000, 24000, 10000, 24000, 13000, 20000, 13000}));
    EXPECT_FALSE(Map.Marks[0][0].BrushColor);

    // A part: exactly the records its load announced.
    SelectOnly({1, 4, 5, 6, 7});
    const TPartRecords part = ParsePartLines(BuildPartLines(S), "p.bbh", S.CurFontName);
    AppendPartRecords(S, Map, part.Records);
    ASSERT_EQ(S.FigureCount, 20);
    Ui.Lists();
    Ui.Taken.clear();
    TakeBack();
    EXPECT_EQ(S.MaxPlotId, 4);
    EXPECT_EQ(Ui.Lists(), std::vector<std::string>{"-999,-999,,,,-999,-999,削除\r\n5,0,000000,,,0,0,図面1\r\n"
                                                   "6,0,000000,,,0,0,図面1\r\n"});
}

TEST_F(UndoChains, WithoutRealTimeReflectionThePlotsComeBackAndNothingIsWritten) {
    Map.Page = 1;
    SelectOnly({2, 3});
    Ui.Answers = {mrYes};
    ASSERT_TRUE(ResetSelectedHouseholds(S));
    Ui.Lists();
    std::filesystem::remove(ReturnFile());
    Map.RealTime = false;
    TakeBack();
    EXPECT_FALSE(std::filesystem::exists(ReturnFile()));
    EXPECT_EQ(S.Fig(2).Deleted, 0);
    EXPECT_EQ(S.Fig(2).Text, "000012");
    EXPECT_EQ(S.Fig(3).ShareSetId, 2);
    EXPECT_EQ(S.Ledger.LedgerChangesPending, 1);
}

// ---- A step that does not read --------------------------------------------------------

TEST_F(UndoChains, AStepThatDoesNotReadChangesNothing) {
    struct TCase {
        const char* Name;
        bool Copy;      // a Ctrl-move ("選択" below "移動コピーを取消す"), else a move
        int FromTop;    // the step damaged: 0 the top, 1 its partner
        std::size_t Field;
        THistoryField Value;  // the field's new value; an empty text: the last field dropped
    };
    const TCase cases[] = {
        {"a text for a number on top", true, 0, 0, std::string("十")},
        {"a count above the store on top", true, 0, 0, std::int64_t{99}},
        {"a text for a number on the partner", true, 1, 1, std::string("十")},
        {"an index past the store on the partner", true, 1, 2, std::int64_t{99}},
        {"an index past the store", false, 0, 18, std::int64_t{16}},
        {"an entry cut short", false, 0, 0, std::string()},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i) = TDateRec{};
        S.FigureCount = 0;
        Build();
        Map.Page = 3;
        SelectOnly({1, 8});
        Map.Paint();
        Play(DragFromTo(120, 115, 170, 150, c.Copy ? ToolCtrlKey : 0));
        ASSERT_EQ(TopLabel(), c.Copy ? "移動コピーを取消す" : "図形の移動を取消す");
        THistoryData& d = S.History[static_cast<std::size_t>(S.HistoryCount - c.FromTop)].Data;
        ASSERT_LT(c.Field, d.Size());
        if (const std::string* t = std::get_if<std::string>(&c.Value); t && t->empty()) d.Fields.pop_back();
        else d.Fields[c.Field] = c.Value;

        const testing::TUndoSnapshot before = Snapshot();
        const std::string hint = S.Label3;
        const std::vector<std::int32_t> selected = Selected();
        Ui.Shown.clear();
        Ui.Beeps = 0;
        TakeBack();
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(Selected(), selected);
        EXPECT_EQ(S.Label3, hint);
        EXPECT_EQ(Ui.Beeps, 1);
        ASSERT_EQ(Ui.Shown.size(), 1u);
        EXPECT_EQ(Ui.Shown[0].Text, UndoFailedMessage);
        EXPECT_EQ(Ui.Shown[0].Type, TMsgDlgType::mtWarning);
        EXPECT_EQ(Ui.Shown[0].Buttons, unsigned{mbAbort});
        EXPECT_EQ(Ui.BusyDepth, 0);
        EXPECT_EQ(S.Tools.UndoRunning, 0);
        // The next Ctrl+Z tries the same step again.
        Ui.Shown.clear();
        TakeBack();
        EXPECT_EQ(Ui.Shown.size(), 1u);
    }
}

}  // namespace
}  // namespace tarvek
