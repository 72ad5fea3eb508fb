// Ctrl+C, Ctrl+X, Ctrl+V and Delete on a painted map without a window: where the copies
// go, what a copied plot keeps and loses, what a cut brings back, the questions, the
// steps and the lists the ledger gets, byte for byte.
#include <QGuiApplication>

#include "arrange_fixture.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

using Arr4 = std::array<double, 4>;

class Clipboard : public testing::ArrangeFixture {
public:
    Clipboard() { Map.DrawingName = "図面2"; }

    // A plot with household 81 and grade "特等" at (10000, 10000)-(14000, 13000).
    std::int32_t OwnedPlot() {
        TDateRec& r = AddPlot(10000, 10000, 14000, 13000, 5, "000081");
        r.Grade = "特等";
        r.DistrictId = 4;
        return S.FigureCount;
    }
    void ExpectEmptyPlotCopy(std::int32_t i, std::int32_t id) {
        const TDateRec& r = S.Fig(i);
        EXPECT_EQ(r.PlotId, id);
        EXPECT_EQ((std::array<std::string, 5>{r.Text, r.PlotNumber, r.HouseName, r.HeadName, r.Phone}),
                  (std::array<std::string, 5>{"0", "000000", "空", "", ""}));
        EXPECT_EQ(r.IsPlot, 1);
        EXPECT_EQ(r.ShareSetId, 0);
        EXPECT_EQ(r.SetAside, 0);
    }
};

struct TPasteCase {
    const char* Name;
    int Direction;
    bool Mirror;
    Arr4 CopyBox;
};

TEST_F(Clipboard, APlotIsPastedBesideOrMirroredAsANewEmptyPlotTheLedgerHearsOf) {
    const TPasteCase cases[] = {
        {"right: BlockGapX past the frame", 0, false, {15000, 10000, 19000, 13000}},
        {"down: BlockGapY below it", 1, false, {10000, 14000, 14000, 17000}},
        {"mirrored at the bottom edge", 1, true, {10000, 13000, 14000, 16000}},
        {"mirrored at the right edge", 0, true, {14000, 10000, 18000, 13000}},
    };
    for (const TPasteCase& c : cases) {
        SCOPED_TRACE(c.Name);
        S.FigureCount = 0;
        S.MaxPlotId = 0;
        Ui.Taken.clear();
        const std::int32_t plot = OwnedPlot();
        SelectOnly({plot});
        S.Tools.PasteDirection = static_cast<std::uint8_t>(c.Direction);
        Map.Mirror = c.Mirror;
        const std::int32_t history = S.HistoryCount;

        CtrlKey('C');
        EXPECT_EQ(S.Tools.PasteBuffer, std::vector<std::int32_t>{plot});
        EXPECT_EQ(S.Tools.ClipboardMode, 1);
        EXPECT_EQ(S.HistoryCount, history) << "a copy is no step";
        CtrlKey('V');

        ASSERT_EQ(S.FigureCount, 2);
        EXPECT_EQ(Box(2), c.CopyBox);
        ExpectEmptyPlotCopy(2, 6);
        EXPECT_EQ(S.Fig(2).Grade, "特等");
        EXPECT_EQ(S.Fig(2).DrawingName, "図面2") << "the name as its box shows it";
        EXPECT_EQ(S.MaxPlotId, 6);
        EXPECT_EQ(S.Fig(plot).Text, "000081");
        EXPECT_EQ(Selected(), std::vector<std::int32_t>{2});
        EXPECT_EQ(S.Tools.PasteBuffer, std::vector<std::int32_t>{2}) << "the next paste goes beside the copy";
        EXPECT_EQ(Lists(), std::vector<std::string>{ListBytes(VerbAdded, {"6,0,000000,,特等,0,4,図面2"})});
        ASSERT_EQ(S.HistoryCount, history + 2);
        EXPECT_EQ(Step(1).Label, "選択");
        EXPECT_EQ(Step(1).Data, Numbers({-1, plot}));
        EXPECT_EQ(Step().Label, PasteStepLabel);
        EXPECT_EQ(Step().Data, Numbers({1}));
        EXPECT_EQ(S.LedgerUnchanged, 0);
    }
}

TEST_F(Clipboard, AnOldPartsKind11IsCopiedAsTheFigureItIsAnOldDrawingsAsANewPlot) {
    S.MaxPlotId = 30;
    TDateRec& part = Add(fkOldPlot, 10000, 10000, 14000, 13000);  // 1: no key, a household read
    part.Text = "000012";
    Add(fkOldPlot, 20000, 10000, 24000, 13000).PlotId = 20;  // 2: the key it kept
    SelectOnly({1, 2});
    CtrlKey('C');
    CtrlKey('V');
    ASSERT_EQ(S.FigureCount, 4);
    EXPECT_EQ(S.Fig(3).PlotId, 0);
    EXPECT_EQ(S.Fig(3).IsPlot, 0);
    EXPECT_EQ(S.Fig(4).PlotId, 31);
    EXPECT_EQ(S.Fig(4).Text, "0");
    EXPECT_EQ(S.MaxPlotId, 31);
    EXPECT_EQ(Lists(), std::vector<std::string>{ListBytes(VerbAdded, {Line(4)})});
}

TEST_F(Clipboard, AMirroredArcRunsTheOtherWayAndATextKeepsItsDirection) {
    TDateRec& arc = Add(fkEllipse, 20000, 20000, 24000, 24000);
    arc.Aux1 = 24000, arc.Aux2 = 22000, arc.Aux3 = 22000, arc.Aux4 = 20000;  // a quarter arc
    AddText(30000, 20000, 33000, 21000, "山門");
    SelectOnly({1, 2});
    Map.Mirror = true;
    CtrlKey('C');
    CtrlKey('V');
    ASSERT_EQ(S.FigureCount, 4);
    EXPECT_EQ(Box(3), (Arr4{42000, 20000, 46000, 24000}));
    EXPECT_EQ(Arc(3), (Arr4{44000, 20000, 42000, 22000})) << "ends mirrored and swapped";
    EXPECT_EQ(Box(4), (Arr4{33000, 20000, 36000, 21000}));
    EXPECT_EQ(S.Fig(4).Aux1, 1.0);
    EXPECT_TRUE(Lists().empty()) << "no plot, no list";
}

TEST_F(Clipboard, PastingTwiceLaysTheCopiesOutSideBySide) {
    const std::int32_t plot = OwnedPlot();
    SelectOnly({plot});
    CtrlKey('C');
    CtrlKey('V');
    CtrlKey('V');
    ASSERT_EQ(S.FigureCount, 3);
    EXPECT_EQ(Box(2)[0], 15000);
    EXPECT_EQ(Box(3)[0], 20000);
    ExpectEmptyPlotCopy(3, 7);
    EXPECT_EQ(Selected(), std::vector<std::int32_t>{3});
    EXPECT_EQ(Step(1).Data, Numbers({-1, 2}));
    EXPECT_EQ(Lists().size(), 2u);
}

TEST_F(Clipboard, WithNothingSelectedTheCopyGoesUnderThePointerOrMirrorsBesideItsSource) {
    AddLine(10000, 10000, 14000, 12000);
    AddLine(16000, 11000, 18000, 15000);
    SelectOnly({1, 2});
    CtrlKey('C');
    SelectOnly({});
    S.CurrentHitIndex = 2;
    S.HoverPos = {250, 130};
    CtrlKey('V');
    ASSERT_EQ(S.FigureCount, 4);
    EXPECT_EQ(Points(3), (std::array<double, 8>{25000, 13000, 25000, 13000, 29000, 15000, 29000, 15000}));
    EXPECT_EQ(Points(4)[0], 31000) << "the second keeps its offset from the first";
    EXPECT_EQ(Points(4)[1], 14000);
    // The selection step is there also without a selection, so that taking the paste back
    // takes it and nothing below it.
    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step(1).Data, Numbers({2}));

    // Mirrored without a selection: at the buffered figures' own right edge, not at 0.
    S.FigureCount = 2;
    SelectOnly({1, 2});
    CtrlKey('C');
    SelectOnly({});
    Map.Mirror = true;
    CtrlKey('V');
    ASSERT_EQ(S.FigureCount, 4);
    EXPECT_EQ(Box(3), (Arr4{22000, 10000, 26000, 12000}));
    EXPECT_EQ(Box(4), (Arr4{18000, 11000, 20000, 15000}));
}

TEST_F(Clipboard, OfASharedPlotOnlyTheCurrentCopyIsCopied) {
    const std::int32_t a = OwnedPlot();
    TDateRec& b = AddPlot(10000, 10000, 14000, 13000, 6, "000082");
    S.Fig(a).ShareSetId = b.ShareSetId = 5;
    b.SetAside = 1;
    SelectOnly({a, 2});
    CtrlKey('C');
    EXPECT_EQ(S.Tools.PasteBuffer, std::vector<std::int32_t>{a});
    CtrlKey('V');
    ASSERT_EQ(S.FigureCount, 3);
    ExpectEmptyPlotCopy(3, 7);
}

TEST_F(Clipboard, CopiedGroupsAndPolygonsKeepTheirMembersTogether) {
    AddLine(10000, 30000, 14000, 30000);
    AddLine(10000, 32000, 14000, 32000);
    const std::int32_t group = Group({1, 2});
    const std::int32_t polygon = AddPolygon(20000, 30000, true, 9);
    SelectOnly({1, 2, group, 4, 5, 6, polygon});
    CtrlKey('C');
    CtrlKey('V');
    ASSERT_EQ(S.FigureCount, 14);
    EXPECT_EQ(S.Fig(8).OwnerIndex, 10);
    EXPECT_EQ(S.Fig(9).OwnerIndex, 10);
    EXPECT_EQ(S.Fig(10).OwnerIndex, 0);
    for (std::int32_t i = 11; i <= 13; ++i) {
        EXPECT_EQ(S.Fig(i).OwnerIndex, 14) << i;
        EXPECT_EQ(S.Fig(i).PlotId, 10) << "a piece takes its parent's new key";
    }
    EXPECT_EQ(S.Fig(14).PlotId, 10);
    EXPECT_EQ(S.MaxPlotId, 10);
    // The frame is 10000..24000 wide: everything moves by 15000.
    EXPECT_EQ(Box(14)[0], 35000);
    EXPECT_EQ(Box(10)[0], 25000);
    EXPECT_EQ(Lists(), std::vector<std::string>{ListBytes(VerbAdded, {Line(14)})});
}

struct TRemovalCase {
    const char* Name;
    bool Cut;
    int Answer;
};

TEST_F(Clipboard, CuttingOrDeletingPlotsWithHouseholdsAsksFirst) {
    const TRemovalCase cases[] = {
        {"delete, No", false, mrNo}, {"delete, Yes", false, mrYes},
        {"cut, No", true, mrNo},     {"cut, Yes", true, mrYes},
    };
    for (const TRemovalCase& c : cases) {
        SCOPED_TRACE(c.Name);
        S.FigureCount = 0;
        Ui.Taken.clear();
        Ui.Shown.clear();
        S.LedgerUnchanged = 1;
        const std::int32_t owned = OwnedPlot();
        const std::int32_t empty = S.FigureCount + 1;
        AddPlot(16000, 10000, 20000, 13000, 6);
        AddLine(0, 0, 1000, 1000);
        SelectOnly({3});
        CtrlKey('C');  // a copy of the line in the buffer
        SelectOnly({owned, empty});
        const std::vector<std::string> before{Line(owned), Line(empty)};
        const std::int32_t history = S.HistoryCount;
        Ui.Answers = {c.Answer};
        if (c.Cut) CtrlKey('X');
        else DeleteKey();

        ASSERT_EQ(Ui.Shown.size(), 1u);
        EXPECT_EQ(Ui.Shown[0].Text, std::string("檀家名、割当て済みの墓地が1件あります。\r") +
                                        (c.Cut ? "切取り" : "削除") + "してよいですか？");
        EXPECT_EQ(Ui.Shown[0].Buttons, unsigned(mbYes | mbNo));
        EXPECT_EQ(S.HouseholdOps.QuestionsOpen, 0);
        if (c.Answer == mrNo) {
            EXPECT_EQ(Selected(), (std::vector<std::int32_t>{owned, empty}));
            EXPECT_EQ(S.Fig(owned).Deleted + S.Fig(empty).Deleted, 0);
            EXPECT_EQ(S.HistoryCount, history);
            EXPECT_TRUE(Lists().empty());
            EXPECT_EQ(S.LedgerUnchanged, 1);
            EXPECT_EQ(S.Tools.PasteBuffer, std::vector<std::int32_t>{3});
            EXPECT_EQ(S.Tools.CutMode, 0) << "the buffer still holds a copy";
            continue;
        }
        EXPECT_EQ(S.Fig(owned).Deleted, 1);
        EXPECT_EQ(S.Fig(empty).Deleted, 1);
        EXPECT_TRUE(Selected().empty());
        EXPECT_EQ(S.HasSelection, 0);
        EXPECT_EQ(Lists(), std::vector<std::string>{ListBytes(VerbRemoved, before)});
        EXPECT_EQ(S.LedgerUnchanged, 0);
        ASSERT_EQ(S.HistoryCount, history + 1);
        EXPECT_EQ(Step().Label, c.Cut ? CutStepLabel : DeleteStepLabel);
        EXPECT_EQ(Step().Data, Numbers({owned, empty}));
        if (c.Cut) {
            EXPECT_EQ(S.Tools.PasteBuffer, (std::vector<std::int32_t>{owned, empty}));
            EXPECT_EQ(S.Tools.CutMode, 1);
        }
    }
}

TEST_F(Clipboard, PiecesLinesAndTextsGoWithoutAQuestionOrALedgerLine) {
    const std::int32_t polygon = AddPolygon(20000, 30000, true, 9);
    for (std::int32_t i = 1; i <= polygon; ++i) S.Fig(i).Text = "000081";
    AddLine(0, 0, 1000, 1000);
    AddText(3000, 3000, 5000, 4000, "水屋");
    SelectOnly({1, 2});  // two pieces of an owned polygon plot
    DeleteKey();
    SelectOnly({5, 6});
    CtrlKey('X');
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_TRUE(Lists().empty()) << "a list of its header alone is not written";
    EXPECT_EQ(S.Fig(1).Deleted + S.Fig(2).Deleted + S.Fig(5).Deleted + S.Fig(6).Deleted, 4);
    EXPECT_EQ(Step(1).Data, Numbers({1, 2}));
    EXPECT_EQ(Step().Data, Numbers({5, 6}));

    // A plot without a household: no question, but the ledger hears it is gone.
    AddPlot(16000, 10000, 20000, 13000, 6);
    SelectOnly({7});
    S.LedgerUnchanged = 1;
    CtrlKey('X');
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_EQ(Lists(), std::vector<std::string>{ListBytes(VerbRemoved, {Line(7)})});
    EXPECT_EQ(S.LedgerUnchanged, 0);
}

TEST_F(Clipboard, TheTabletDeletesWithoutAStep) {
    const std::int32_t owned = OwnedPlot();
    SelectOnly({owned});
    const std::string line = Line(owned);
    const std::int32_t history = S.HistoryCount;
    Ui.Answers = {mrYes};
    DeleteSelectedFigures(S, false);
    EXPECT_EQ(S.Fig(owned).Deleted, 1);
    EXPECT_EQ(S.HistoryCount, history);
    EXPECT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Lists(), std::vector<std::string>{ListBytes(VerbRemoved, {line})});
}

TEST_F(Clipboard, ACutComesBackMovedWithItsHouseholdsAndThenPastesAsCopies) {
    const std::int32_t owned = OwnedPlot();
    AddPlot(16000, 10000, 20000, 13000, 6);
    SelectOnly({1, 2});
    Ui.Answers = {mrYes};
    CtrlKey('X');
    Lists();
    Ui.Taken.clear();
    // Ctrl+C with nothing selected buffers nothing: the cut is still what Ctrl+V brings back.
    CtrlKey('C');
    EXPECT_EQ(S.Tools.CutMode, 1);
    const THistoryData geometry = Geometry({1, 2});
    S.HoverPos = {300, 100};  // (30000, 10000): the cut's top left corner goes there
    CtrlKey('V');
    ASSERT_EQ(S.FigureCount, 2);
    EXPECT_EQ(Box(1), (Arr4{30000, 10000, 34000, 13000}));
    EXPECT_EQ(Box(2), (Arr4{36000, 10000, 40000, 13000}));
    EXPECT_EQ(S.Fig(owned).Deleted, 0);
    EXPECT_EQ(S.Fig(owned).Text, "000081");
    EXPECT_EQ(S.Fig(owned).PlotId, 5);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(Lists(), std::vector<std::string>{ListBytes(VerbAdded, {Line(1), Line(2)})});
    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step().Label, PasteCutStepLabel);
    EXPECT_EQ(Step().Data, geometry);
    EXPECT_EQ(S.Tools.CutMode, 0);

    CtrlKey('V');  // now a copy, beside the figures brought back
    ASSERT_EQ(S.FigureCount, 4);
    ExpectEmptyPlotCopy(3, 7);
    EXPECT_EQ(Box(3)[0], 41000);
}

TEST_F(Clipboard, ABufferFollowsItsFiguresThroughCompactionAndTheDrawingOrder) {
    // A cut compacted away pastes nothing: it never moves the figure now in its slot.
    const std::int32_t owned = OwnedPlot();
    AddLine(20000, 20000, 24000, 20000);
    SelectOnly({owned});
    Ui.Answers = {mrYes};
    CtrlKey('X');
    CompactFigures(S);
    ASSERT_EQ(S.FigureCount, 1);
    EXPECT_EQ(S.Tools.ClipboardMode, 0);
    const auto line = Points(1);
    const std::int32_t history = S.HistoryCount;
    CtrlKey('V');
    EXPECT_EQ(S.FigureCount, 1);
    EXPECT_EQ(Points(1), line);
    EXPECT_EQ(S.HistoryCount, history);

    // A copy, then the line sent to the back: the buffer still names the plot.
    AddPlot(30000, 30000, 34000, 33000, 8);
    SelectOnly({2});
    CtrlKey('C');
    SelectOnly({1});
    SendSelectionToBack(S);
    ASSERT_EQ(S.FigureCount, 3);
    EXPECT_EQ(S.Tools.PasteBuffer, std::vector<std::int32_t>{3});
    CtrlKey('V');
    ASSERT_EQ(S.FigureCount, 4);
    EXPECT_EQ(S.Fig(4).Kind, fkPlot);
    ExpectEmptyPlotCopy(4, 9);
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
