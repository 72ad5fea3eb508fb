// Household reset, joining plots into a shared-ownership set and splitting sets, on a
// small drawing without a window.
#include <gtest/gtest.h>

#include <algorithm>

#include "document/drawing_file.h"
#include "document/history.h"
#include "document/selection.h"
#include "households/assignment.h"
#include "households/household_reset.h"
#include "households/shared_ownership.h"
#include "plot_ops_support.h"

namespace tarvek::testing {
namespace {

class SharedOwnership : public PlotOpsTest {
protected:
    // What the reset keeps of a plot in its first step.
    static void AddResetEntry(THistoryData& d, std::int32_t index, const TDateRec& r) {
        d.AddNumber(index);
        d.AddNumber(r.ShareSetId);
        d.AddFlag(r.SetAside == 0);
        d.AddNumber(r.DistrictId);
        d.AddNumber(r.SourceIndex);
        for (const std::string* t : {&r.Text, &r.HouseName, &r.HeadName, &r.Phone, &r.DistrictName, &r.Address1,
                                     &r.Address2, &r.PlotRemarks, &r.Grade, &r.PlotNumber})
            d.AddText(*t);
    }

    // The household of a grid row goes to the current plot, alone or shared.
    void Assign(const std::string& id, int mode) {
        ReadChosenHouseholdRow(S, {id, id + "家", id + "主", "東町", "北浜県", "若葉台", "0123", "4", ""});
        ASSERT_TRUE(AssignHouseholdToPlot(S, mode));
    }
};

// ---- reset ---------------------------------------------------------------------

TEST_F(SharedOwnership, ResetOfTwoPlainPlots) {
    const std::int32_t a = AddPlot(0, 0, "000012"), b = AddPlot(2000, 0, "000034", "北上段002");
    S.Fig(a).Grade = "特等";
    S.Fig(b).SourceIndex = 7;
    Select({a, b});
    THistoryData kept;
    kept.AddNumber(2);
    kept.AddNumber(a);
    AddResetEntry(kept, a, S.Fig(a));
    AddResetEntry(kept, b, S.Fig(b));
    Ui.Answers = {mrYes};

    ASSERT_TRUE(ResetSelectedHouseholds(S));
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "2個の選択されている墓地に割り当てた檀家名が初期化されます\rよろしいですか？");
    EXPECT_EQ(Ui.Shown[0].Buttons, unsigned{mbYes | mbNo});
    for (const std::int32_t i : {a, b}) {
        const TDateRec& r = S.Fig(i);
        EXPECT_EQ(r.Text, "0");
        EXPECT_EQ(r.HouseName, "空");
        EXPECT_EQ(r.HeadName + r.Phone + r.DistrictName + r.Address1 + r.Address2 + r.PlotRemarks, "");
        EXPECT_EQ(r.DistrictId, 0);
        EXPECT_EQ(r.SetAside, 0);
        EXPECT_EQ(r.Deleted, 0);
        EXPECT_EQ(r.Selected, 1);
    }
    EXPECT_EQ(S.Fig(a).Grade, "特等");  // the grade belongs to the plot
    EXPECT_EQ(S.Fig(b).SourceIndex, 7);
    EXPECT_EQ(Step(1).Label, "檀家リセット");
    EXPECT_EQ(Step(1).Data, kept);
    EXPECT_EQ(Step().Label, "檀家リセットを取消す");
    EXPECT_TRUE(Step().Data.Empty());
    // The removal list is handed over all the same (it holds the header alone).
    EXPECT_EQ(Sent, (std::vector<TLines>{List("削除", {}), List("変更", {Line(a), Line(b)})}));
    EXPECT_EQ(S.LedgerUnchanged, 0);
    EXPECT_EQ(View.Focused, 1);
}

TEST_F(SharedOwnership, ASharedPlotFormedAndResetLeavesTheSurvivorOutsideItsSet) {
    const std::int32_t plot = AddPlot(0, 0, "0", "北上段001", 11);
    Select({plot});
    Assign("000012", AssignPlain);
    Assign("000034", AssignShared);
    ASSERT_EQ(S.FigureCount, 2);
    const std::int32_t copy = 2;
    EXPECT_EQ(S.Fig(plot).PlotNumber, "北上段001(1)");
    EXPECT_EQ(S.Fig(copy).PlotNumber, "北上段001(2)");
    ASSERT_EQ(Listed(), (std::vector<std::int32_t>{plot, copy}));
    ASSERT_EQ(S.CurrentHitIndex, copy);
    ASSERT_EQ(S.Fig(plot).SetAside, 1);
    Sent.clear();
    THistoryData kept;
    kept.AddNumber(2);
    kept.AddNumber(copy);
    AddResetEntry(kept, plot, S.Fig(plot));
    AddResetEntry(kept, copy, S.Fig(copy));
    Ui.Answers = {mrYes};

    ASSERT_TRUE(ResetSelectedHouseholds(S));
    EXPECT_EQ(Ui.Shown.at(0).Text.substr(0, 1), "1");  // only the copy shown counts
    EXPECT_EQ(S.Fig(copy).Deleted, 1);
    EXPECT_EQ(S.Fig(copy).Selected, 0);
    EXPECT_EQ(S.Fig(copy).Text, "0");
    const TDateRec& survivor = S.Fig(plot);
    EXPECT_EQ(survivor.Text, "000012");
    EXPECT_EQ(survivor.ShareSetId, 0);
    EXPECT_EQ(survivor.SetAside, 0);
    EXPECT_EQ(survivor.PlotNumber, "北上段001");
    EXPECT_EQ(S.CurrentHitIndex, plot);
    EXPECT_EQ(S.SelectedCursor, 1);
    EXPECT_EQ(Listed(), std::vector<std::int32_t>{plot});
    EXPECT_EQ(Step(1).Data, kept);
    THistoryData removed;
    removed.AddNumber(copy);
    EXPECT_EQ(Step().Data, removed);
    ASSERT_EQ(Sent.size(), 2u);
    EXPECT_EQ(Sent[0], List("削除", {"12,0,北上段001(2),,,0,0,図面1"}));
    EXPECT_EQ(Sent[1], List("変更", {Line(plot)}));
}

TEST_F(SharedOwnership, ResetOfTheShownCopyOfASetOfThree) {
    const std::int32_t a = AddPlot(0, 0, "000012", "南001(1)"), b = AddPlot(0, 0, "000034", "南001(2)"),
                       c = AddPlot(0, 0, "000120", "南001(3)");
    MakeSet({c, a, b}, S.Fig(a).PlotId);
    Select({a, b, c});
    S.SelectedCursor = 3;
    S.CurrentHitIndex = c;
    Ui.Answers = {mrYes};

    ASSERT_TRUE(ResetSelectedHouseholds(S));
    EXPECT_EQ(S.Fig(c).Deleted, 1);
    EXPECT_EQ(S.Fig(a).SetAside, 0);  // the first copy left is the one shown
    EXPECT_EQ(S.Fig(b).SetAside, 1);
    for (const std::int32_t i : {a, b}) EXPECT_EQ(S.Fig(i).ShareSetId, S.Fig(a).PlotId);
    EXPECT_EQ(S.Fig(a).PlotNumber, "南001(1)");
    EXPECT_EQ(S.Fig(b).PlotNumber, "南001(2)");
    EXPECT_EQ(S.Fig(b).Text, "000034");
    EXPECT_EQ(S.CurrentHitIndex, b);  // the last copy of its set
    EXPECT_EQ(Listed(), (std::vector<std::int32_t>{a, b}));
    ASSERT_EQ(Sent.size(), 2u);
    EXPECT_EQ(Sent[0].size(), 2u);
    EXPECT_EQ(Sent[1], List("変更", {Line(a), Line(b)}));
}

// The full editor's household page lists a polygon plot's edges, themselves plots, before
// their polygon. A polygon shared by three households, the shown copy reset: the reset
// asks about one plot, and the first copy left shows with its edges while the other one
// stays set aside with its edges, in memory and in the saved file.
TEST_F(SharedOwnership, ResetOfTheShownCopyOfAPolygonPlotOfThree) {
    const std::int32_t first = AddPolygonPlot(0, 0, "0", "南001");
    std::vector<std::int32_t> listed;
    for (std::int32_t i = 1; i <= first; ++i) listed.push_back(i);
    Select(listed);
    S.SelectedCursor = first;
    S.CurrentHitIndex = first;
    Assign("000012", AssignPlain);
    Assign("000034", AssignShared);
    Assign("000120", AssignShared);
    const std::int32_t second = first + 5, third = first + 10;
    ASSERT_EQ(S.FigureCount, third);
    ASSERT_EQ(Listed().size(), 15u);
    ASSERT_EQ(CursorEntry(S), third);
    ASSERT_EQ(S.Fig(third).SetAside, 0);
    const std::int32_t set = S.Fig(first).PlotId;
    Sent.clear();
    Ui.Answers = {mrYes};

    ASSERT_TRUE(ResetSelectedHouseholds(S));
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "1個の選択されている墓地に割り当てた檀家名が初期化されます\rよろしいですか？");
    for (std::int32_t i = second + 1; i <= third; ++i) EXPECT_EQ(S.Fig(i).Deleted, 1) << i;
    const std::vector<testing::TPolygonCopy> copies = {
        {first, "000012", 0, "南001(1)"},
        {second, "000034", 1, "南001(2)"}};
    testing::ExpectPolygonCopies(S, copies, set, true);
    EXPECT_EQ(S.CurrentHitIndex, second);
    std::vector<std::int32_t> left(listed);
    for (std::int32_t i = first + 1; i <= second; ++i) left.push_back(i);
    EXPECT_EQ(Listed(), left);
    std::vector<std::string> lines;
    for (const std::int32_t i : left) lines.push_back(Line(i));
    EXPECT_EQ(Sent, (std::vector<TLines>{List("削除", {Line(third)}), List("変更", lines)}));

    TTempFolder dir;
    PointAtDrawing(S, dir.Folder(), "寺", "墓地", "図面1");
    ASSERT_TRUE(SaveDrawingFile(S, "図面1").File.ok());
    TScriptedUi ui;
    TDrawingState stored(ui);
    PointAtDrawing(stored, dir.Folder(), "寺", "墓地", "図面1");
    ASSERT_TRUE(LoadDrawingData(stored));
    ASSERT_EQ(stored.FigureCount, second);
    testing::ExpectPolygonCopies(stored, copies, set, false);
}

TEST_F(SharedOwnership, ResetThatFindsNothingOrIsDeclinedChangesNothing) {
    const std::int32_t free = AddPlot(0, 0), text = AddFigure(fkText, 0, 0);
    S.Fig(text).Text = "12";  // a text figure holds no household
    const std::int32_t hidden = AddPlot(0, 0, "000012"), shown = AddPlot(0, 0, "000034");
    MakeSet({shown, hidden}, 5);
    struct TCase {
        const char* Name;
        std::vector<std::int32_t> Selection;
        int Answer;
        int Beeps, Boxes;
    };
    const TCase cases[] = {
        {"nothing selected", {}, mrYes, 1, 0},
        {"no household", {free, text}, mrYes, 1, 0},
        {"only a set-aside copy", {hidden}, mrYes, 1, 0},
        {"declined", {hidden, shown}, mrNo, 0, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Select(c.Selection);
        Ui.Shown.clear();
        Ui.Beeps = 0;
        Ui.Answers = {c.Answer};
        const std::int32_t steps = S.HistoryCount;
        EXPECT_FALSE(ResetSelectedHouseholds(S));
        EXPECT_EQ(Ui.Beeps, c.Beeps);
        EXPECT_EQ(static_cast<int>(Ui.Shown.size()), c.Boxes);
        EXPECT_EQ(S.HistoryCount, steps);
        EXPECT_EQ(S.Fig(shown).Text, "000034");
        EXPECT_EQ(S.Fig(text).Text, "12");
        EXPECT_TRUE(Sent.empty());
    }
    EXPECT_EQ(S.HouseholdOps.QuestionsOpen, 0);
}

// ---- join ----------------------------------------------------------------------

TEST_F(SharedOwnership, JoinRefusals) {
    const std::int32_t owned = AddPlot(0, 0, "000012"), free = AddPlot(2000, 0, "0"),
                       odd = AddPlot(4000, 0, "abc");  // no integer: no household
    const std::int32_t x = AddPlot(6000, 0, "000034"), y = AddPlot(6000, 0, "000120");
    MakeSet({x, y}, 40);
    struct TCase {
        const char* Name;
        std::vector<std::int32_t> Selection;
        const char* Help;
    };
    const TCase cases[] = {
        {"one owned and one free", {owned, free}, "既に檀家の割当てられている２つ以上の墓地を選択してください。"},
        {"a household that is no integer", {owned, odd}, "既に檀家の割当てられている２つ以上の墓地を選択してください。"},
        {"only the plots of a set", {x, y}, "既に共有所有に設定されています。"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Select(c.Selection);
        const int beeps = Ui.Beeps;
        const std::int32_t steps = S.HistoryCount;
        EXPECT_FALSE(JoinSharedOwnership(S));
        EXPECT_EQ(Ui.Beeps, beeps + 1);
        EXPECT_EQ(S.Label3, c.Help);
        EXPECT_EQ(S.HistoryCount, steps);
        EXPECT_EQ(S.Fig(owned).ShareSetId, 0);
        EXPECT_EQ(S.Fig(x).ShareSetId, 40);
    }
    EXPECT_TRUE(Sent.empty());
    EXPECT_EQ(S.LedgerUnchanged, 1);
}

TEST_F(SharedOwnership, JoinStacksTwoPlotsOnTheFirst) {
    const std::int32_t f = AddPlot(1000.4, 2000, "000012", "北上段001(7)", 21), j = AddPlot(5000, 3000, "000034", "西2", 22);
    S.Fig(f).Aux1 = 2.5;  // rounded half to even in the step
    Select({f, j});
    THistoryData kept;
    for (const std::int32_t i : {f, j}) {
        AppendGeometryToHistory(kept, i, S.Fig(i));
        kept.AddNumber(0);
        kept.AddFlag(true);
        kept.AddText(S.Fig(i).PlotNumber);
    }

    ASSERT_TRUE(JoinSharedOwnership(S));
    EXPECT_EQ(Step().Label, "集合を取消し分離させる");
    EXPECT_EQ(Step().Data, kept);
    EXPECT_EQ(*Step().Data.Number(13), 2);
    const TDateRec &a = S.Fig(f), &b = S.Fig(j);
    EXPECT_EQ(a.ShareSetId, 21);
    EXPECT_EQ(b.ShareSetId, 21);
    EXPECT_EQ(a.SetAside, 0);
    EXPECT_EQ(b.SetAside, 1);
    EXPECT_EQ(a.PlotNumber, "北上段001(1)");
    EXPECT_EQ(b.PlotNumber, "北上段001(2)");
    EXPECT_EQ(std::vector<double>({b.X1, b.Y1, b.X3, b.Y3, b.BoxX1, b.BoxY2}),
              std::vector<double>({1000.4, 2000, 2000.4, 3000, 1000.4, 3000}));
    EXPECT_EQ(a.X1, 1000.4);  // the first keeps its place
    EXPECT_EQ(S.CurrentHitIndex, f);
    EXPECT_EQ(S.LedgerUnchanged, 0);
    // Its own list, then the labels' list.
    EXPECT_EQ(Sent, (std::vector<TLines>{List("変更", {Line(f), Line(j)}), List("変更", {Line(f), Line(j)})}));
    EXPECT_EQ(View.Repaints, 1);
}

TEST_F(SharedOwnership, JoinOfAPlotOutsideAndASetAndOfTwelve) {
    {
        const std::int32_t out = AddPlot(0, 0, "000012", "東1"), x = AddPlot(3000, 0, "000034", "東2(1)"),
                           y = AddPlot(3000, 0, "000120", "東2(2)");
        MakeSet({x, y}, S.Fig(x).PlotId);
        Select({out, x, y});
        ASSERT_TRUE(JoinSharedOwnership(S));
        for (const std::int32_t i : {out, x, y}) EXPECT_EQ(S.Fig(i).ShareSetId, S.Fig(out).PlotId);
        EXPECT_EQ(S.Fig(y).PlotNumber, "東1(3)");
        EXPECT_EQ(S.Fig(y).X1, 0);
    }
    std::vector<std::int32_t> twelve;
    for (int k = 0; k < 12; ++k) twelve.push_back(AddPlot(k * 2000, 9000, "0000" + std::to_string(50 + k), "北"));
    Select(twelve);
    ASSERT_TRUE(JoinSharedOwnership(S));
    EXPECT_EQ(S.Fig(twelve.front()).PlotNumber, "北(01)");
    EXPECT_EQ(S.Fig(twelve.back()).PlotNumber, "北(12)");
    EXPECT_EQ(S.Fig(twelve.back()).X1, 0);
}

TEST_F(SharedOwnership, JoinMovesAPolygonPlotWithItsEdges) {
    const std::int32_t f = AddPlot(1000, 1000, "000012", "西5");
    // A triangle plot at (10000, 6000): three edges, then the polygon that owns them.
    const double px[] = {10000, 14000, 10000}, py[] = {6000, 6000, 9000};
    const std::int32_t poly =
        AddPolygonPlotThrough({{px[0], py[0]}, {px[1], py[1]}, {px[2], py[2]}}, "000034", "西6");
    std::vector<std::int32_t> edges{poly - 3, poly - 2, poly - 1};
    std::vector<std::int32_t> selection{f};
    selection.insert(selection.end(), edges.begin(), edges.end());
    selection.push_back(poly);
    Select(selection);

    ASSERT_TRUE(JoinSharedOwnership(S));
    // The step keeps the edges too, in list order.
    EXPECT_EQ(Step().Data.Size(), 5u * 20u);
    const double dx = -9000, dy = -5000;
    const TDateRec& p = S.Fig(poly);
    EXPECT_EQ(p.X1, 1000);
    EXPECT_EQ(p.Y1, 1000);
    EXPECT_EQ(p.X3, 11000 + dx);
    EXPECT_EQ(p.Aux1, 10000 + dx);
    EXPECT_EQ(p.Aux2, 6000 + dy);
    for (int k = 0; k < 3; ++k) {
        const TDateRec& e = S.Fig(edges[static_cast<std::size_t>(k)]);
        EXPECT_EQ(e.X1, px[k] + dx);
        EXPECT_EQ(e.Y3, py[(k + 1) % 3] + dy);
        EXPECT_EQ(e.BoxX1, std::min(px[k], px[(k + 1) % 3]) + dx);
        EXPECT_EQ(e.ShareSetId, S.Fig(f).PlotId);
        EXPECT_EQ(e.SetAside, 1);
        EXPECT_EQ(e.PlotNumber, "西5(2)");
    }
    EXPECT_EQ(p.SetAside, 1);
    EXPECT_EQ(S.Fig(f).SetAside, 0);
    // Only the two plots reach the ledger, not the edges.
    EXPECT_EQ(Sent.at(0), List("変更", {Line(f), Line(poly)}));
}

// ---- split ---------------------------------------------------------------------

TEST_F(SharedOwnership, SplitFansASetOfThreeOutAndMarksTheDrawingChanged) {
    const std::int32_t a = AddPlot(1000, 2000, "000012", "北上段001(1)"), b = AddPlot(1000, 2000, "000034", "北上段001(2)"),
                       c = AddPlot(1000, 2000, "000120", "北上段001(3)");
    MakeSet({a, b, c}, S.Fig(a).PlotId);
    for (const std::int32_t i : {a, b, c}) S.Fig(i).Aux3 = 500;
    View.Page = 4;
    Select({a, b, c});
    THistoryData kept;
    for (const std::int32_t i : {a, b, c}) {
        AppendGeometryToHistory(kept, i, S.Fig(i));
        kept.AddNumber(S.Fig(a).PlotId);
        kept.AddFlag(S.Fig(i).SetAside == 0);
    }
    ASSERT_EQ(S.MeshStep, 20);

    ASSERT_TRUE(SplitSharedOwnership(S));
    EXPECT_EQ(Step().Label, "分離を取消し集合させる");
    EXPECT_EQ(Step().Data, kept);
    double shift = 0;
    for (const std::int32_t i : {a, b, c}) {
        const TDateRec& r = S.Fig(i);
        EXPECT_EQ(std::vector<double>({r.X1, r.Y1, r.X4, r.Y4, r.BoxX2, r.BoxY2, r.Aux3}),
                  std::vector<double>({1000 + shift, 2000 + shift, 1000 + shift, 3000 + shift, 2000 + shift,
                                       3000 + shift, 500 + shift}));
        EXPECT_EQ(r.ShareSetId, 0);
        EXPECT_EQ(r.SetAside, 0);
        shift += 1000;
    }
    EXPECT_EQ(S.Fig(c).PlotNumber, "北上段001(3)");  // labels stay as they were
    EXPECT_TRUE(Sent.empty());
    EXPECT_EQ(S.DrawingUnchanged, 0);
    EXPECT_EQ(S.LedgerUnchanged, 1);

    // Nothing shared left: refused.
    const std::int32_t steps = S.HistoryCount;
    EXPECT_FALSE(SplitSharedOwnership(S));
    EXPECT_EQ(S.Label3, "共有所有されている墓地ではありません。");
    EXPECT_EQ(Ui.Beeps, 1);
    EXPECT_EQ(S.HistoryCount, steps);
}

TEST_F(SharedOwnership, SplitKeepsEveryPieceItMovesInTheStep) {
    // Two polygon copies of one set, each listed after its two edges.
    std::vector<std::int32_t> selection;
    std::int32_t polys[2] = {0, 0};
    for (int c = 0; c < 2; ++c) {
        const std::int32_t e1 = AddFigure(fkPolygonEdge, 0, 0), e2 = AddFigure(fkPolygonEdge, 0, 0);
        polys[c] = AddPlot(0, 0, c == 0 ? "000012" : "000034");
        S.Fig(polys[c]).Kind = fkPolygon;
        for (const std::int32_t e : {e1, e2}) S.Fig(e).OwnerIndex = polys[c];
        selection.insert(selection.end(), {e1, e2, polys[c]});
    }
    for (const std::int32_t i : selection) {
        S.Fig(i).ShareSetId = 9;
        S.Fig(i).SetAside = S.Fig(i).OwnerIndex == polys[0] || i == polys[0] ? 0 : 1;
    }
    View.Page = 4;
    Select(selection);

    ASSERT_TRUE(SplitSharedOwnership(S));
    // Every record that left the set is in the step once, the first copy's edges too.
    const THistoryData& d = Step().Data;
    ASSERT_EQ(d.Size(), 6u * 19u);
    std::vector<std::int32_t> recorded;
    for (std::size_t k = 0; k < d.Size(); k += 19) recorded.push_back(static_cast<std::int32_t>(*d.Number(k)));
    std::sort(recorded.begin(), recorded.end());
    EXPECT_EQ(recorded, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6}));
    for (const std::int32_t i : selection) {
        EXPECT_EQ(S.Fig(i).ShareSetId, 0) << i;
        EXPECT_EQ(S.Fig(i).SetAside, 0) << i;
    }
    // The second copy moved away, its edges with it; the first stayed.
    EXPECT_EQ(S.Fig(polys[0]).X1, 0);
    EXPECT_GT(S.Fig(polys[1]).X1, 0);
    EXPECT_EQ(S.Fig(selection[3]).X1, S.Fig(polys[1]).X1);
    EXPECT_EQ(S.Fig(selection[4]).BoxY1, S.Fig(polys[1]).Y1);
}

}  // namespace
}  // namespace tarvek::testing
