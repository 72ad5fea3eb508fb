// Joining selected lines into curves: the path order, the pieces and their parent, the
// step that takes it back, and the selections that are refused whole.
#include <gtest/gtest.h>

#include <tuple>

#include "document/figure_store.h"
#include "editing/join_curves.h"
#include "editing_test_support.h"

namespace tarvek {
namespace {

using testing::AddCorners;
using testing::AddStraight;
using testing::Numbers;
using testing::SelectOnly;

using TPoints = std::array<double, 8>;
TPoints PointsOf(const TDateRec& r) { return {r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4}; }

// What a join may change of a record.
auto Facts(const TDateRec& r) {
    return std::tuple{r.Kind, PointsOf(r), r.BoxX1, r.BoxY1, r.BoxX2, r.BoxY2, r.Selected, r.Deleted, r.OwnerIndex,
                      r.PenColor};
}

class JoinCurves : public ::testing::Test {
protected:
    JoinCurves() : S(Ui, &View) {}

    std::vector<decltype(Facts(TDateRec{}))> Store() const {
        std::vector<decltype(Facts(TDateRec{}))> all;
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) all.push_back(Facts(S.Fig(i)));
        return all;
    }
    // One geometry entry of the step: index, 16 values, owner, kind.
    static THistoryData Entry(std::int32_t i, const TDateRec& r) {
        THistoryData d;
        AppendGeometryToHistory(d, i, r);
        d.AddNumber(r.OwnerIndex);
        d.AddNumber(r.Kind);
        return d;
    }

    TScriptedUi Ui;
    testing::TEditingView View;
    TDrawingState S;
};

TEST_F(JoinCurves, LinesArePutInPathOrderByTheirNearestEnds) {
    // The three lines of a "U" in this order: the second is turned round.
    AddStraight(S, fkLine, 0, 0, 10, 0);
    AddStraight(S, fkLine, 10, 10, 10, 0);
    AddStraight(S, fkLine, 10, 10, 0, 10);
    SelectOnly(S, {1, 2, 3});
    EXPECT_EQ(ChainSelectedSegments(S), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(PointsOf(S.Fig(2)), (TPoints{10, 0, 10, 0, 10, 10, 10, 10}));
    EXPECT_EQ(PointsOf(S.Fig(3)), (TPoints{10, 10, 10, 10, 0, 10, 0, 10}));

    // However far the next line lies, the nearest free one follows; whole records move.
    AddStraight(S, fkLine, 0, 0, 1000, 0);                 // 4
    AddStraight(S, fkLine, 90000, 0, 80000, 0).PenColor = 5;  // 5, far and backwards
    AddStraight(S, fkLine, 1000, 0, 2000, 0).PenColor = 6;    // 6, right after 4
    SelectOnly(S, {4, 5, 6});
    EXPECT_EQ(ChainSelectedSegments(S), (std::vector<std::int32_t>{4, 6, 5}));
    EXPECT_EQ(S.Fig(5).PenColor, 6);
    EXPECT_EQ(PointsOf(S.Fig(6)), (TPoints{80000, 0, 80000, 0, 90000, 0, 90000, 0}));
}

TEST_F(JoinCurves, AnOpenJoinOfTwoLinesAndAClosedJoinOfThree) {
    AddStraight(S, fkLine, 0, 0, 1000, 0);
    AddStraight(S, fkLine, 1000, 0, 1000, 2000);
    SelectOnly(S, {1, 2});
    const THistoryData entries = [&] {
        THistoryData d = Entry(1, S.Fig(1));
        d.Append(Entry(2, S.Fig(2)));
        d.Append(Numbers({1, 2}));
        return d;
    }();
    S.CurrentTool = 1;
    const std::int32_t steps = S.HistoryCount;
    ASSERT_TRUE(JoinSelectedLines(S, false));

    ASSERT_EQ(S.FigureCount, 4);
    EXPECT_EQ(S.Fig(3).Kind, fkChainLine);  // the first half, appended
    EXPECT_EQ(PointsOf(S.Fig(3)), (TPoints{0, 0, 0, 0, 500, 0, 500, 0}));
    EXPECT_EQ(S.Fig(1).Kind, fkChainCurve);  // over the corner, middle to middle
    EXPECT_EQ(PointsOf(S.Fig(1)), (TPoints{500, 0, 1000, 0, 1000, 0, 1000, 1000}));
    EXPECT_EQ(S.Fig(2).Kind, fkChainLine);  // the last half
    EXPECT_EQ(PointsOf(S.Fig(2)), (TPoints{1000, 1000, 1000, 1000, 1000, 2000, 1000, 2000}));
    EXPECT_EQ((std::array{S.Fig(1).BoxX1, S.Fig(1).BoxY1, S.Fig(1).BoxX2, S.Fig(1).BoxY2}),
              (std::array{500.0, 0.0, 1000.0, 1000.0}));
    const TDateRec& parent = S.Fig(4);
    EXPECT_EQ(parent.Kind, fkOpenCurve);
    EXPECT_EQ((std::array{parent.BoxX1, parent.BoxY1, parent.BoxX2, parent.BoxY2}), (std::array{0.0, 0.0, 1000.0, 2000.0}));
    for (std::int32_t i : {1, 2, 3}) EXPECT_EQ(S.Fig(i).OwnerIndex, 4) << i;
    EXPECT_EQ(parent.Selected, 1);
    EXPECT_EQ(S.SelectedCount, 4);
    EXPECT_EQ(S.CurrentTool, 0);
    EXPECT_EQ(S.DrawingUnchanged, 0);
    ASSERT_EQ(S.HistoryCount, steps + 1);
    EXPECT_EQ(S.History[static_cast<std::size_t>(S.HistoryCount)].Label, OpenJoinStepLabel);
    EXPECT_EQ(S.History[static_cast<std::size_t>(S.HistoryCount)].Data, entries);

    // Three lines of a "U" joined closed: three pieces, the last back to the first middle.
    TDrawingState c(Ui, &View);
    AddStraight(c, fkLine, 0, 0, 1000, 0);
    AddStraight(c, fkLine, 1000, 0, 1000, 1000);
    AddStraight(c, fkLine, 1000, 1000, 0, 1000);
    SelectOnly(c, {1, 2, 3});
    ASSERT_TRUE(JoinSelectedLines(c, true));
    ASSERT_EQ(c.FigureCount, 4);
    EXPECT_EQ(PointsOf(c.Fig(1)), (TPoints{500, 0, 1000, 0, 1000, 0, 1000, 500}));
    EXPECT_EQ(PointsOf(c.Fig(2)), (TPoints{1000, 500, 1000, 1000, 1000, 1000, 500, 1000}));
    EXPECT_EQ(PointsOf(c.Fig(3)), (TPoints{500, 1000, 0, 1000, 0, 1000, 500, 0}));
    for (std::int32_t i : {1, 2, 3}) {
        EXPECT_EQ(c.Fig(i).Kind, fkChainCurve) << i;
        EXPECT_EQ(c.Fig(i).OwnerIndex, 4) << i;
    }
    EXPECT_EQ(c.Fig(4).Kind, fkClosedCurve);
    EXPECT_EQ(c.History[static_cast<std::size_t>(c.HistoryCount)].Label, ClosedJoinStepLabel);
    EXPECT_EQ(c.History[static_cast<std::size_t>(c.HistoryCount)].Data.Size(), 3 * (JoinStepEntryFields + 1));
}

TEST_F(JoinCurves, TheStepKeepsEachRecordsKindAndWhereTheJoinMovedIt) {
    AddStraight(S, fkLine, 0, 0, 1000, 0);                  // 1
    AddStraight(S, fkLine, 5000, 0, 6000, 0);               // 2
    AddStraight(S, fkLeader, 1000, 0, 2000, 0).PenColor = 0x0000FF;  // 3, red, next to 1
    SelectOnly(S, {1, 2, 3});
    ASSERT_TRUE(JoinSelectedLines(S, false));
    const THistoryData& d = S.History[static_cast<std::size_t>(S.HistoryCount)].Data;
    ASSERT_EQ(d.Size(), 3 * (JoinStepEntryFields + 1));
    // The kinds as they were, slot by slot, then which record each slot received.
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(*d.Number(k * JoinStepEntryFields + JoinStepEntryFields - 1), (k == 2 ? fkLeader : fkLine)) << k;
    EXPECT_EQ((std::array{*d.Number(57), *d.Number(58), *d.Number(59)}), (std::array<std::int64_t, 3>{1, 3, 2}));
    // The leader, its colour with it, now lies in the second slot of the path.
    EXPECT_EQ(S.Fig(2).PenColor, 0x0000FF);
    EXPECT_EQ(S.Fig(2).X1, 1500);
}

TEST_F(JoinCurves, AGroupOfLinesIsDissolvedAndEveryLineLeavesItsOwner) {
    AddCorners(S, fkPolygon, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});             // 1, not selected
    AddStraight(S, fkPolySegment, 1000, 1000, 0, 1000).OwnerIndex = 1;      // 2, first in the list
    AddCorners(S, fkGroup, {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});  // 3
    AddStraight(S, fkLine, 0, 0, 1000, 0).OwnerIndex = 3;                   // 4
    AddStraight(S, fkLine, 1000, 0, 1000, 1000).OwnerIndex = 3;             // 5
    SelectOnly(S, {2, 3, 4, 5});
    ASSERT_TRUE(JoinSelectedLines(S, true));
    EXPECT_EQ(S.Fig(3).Deleted, 1);
    EXPECT_EQ(S.Fig(3).Selected, 0);
    EXPECT_EQ(S.Fig(1).Deleted, 1);  // the first line's owner goes like the others'
    const THistoryData& d = S.History[static_cast<std::size_t>(S.HistoryCount)].Data;
    ASSERT_EQ(d.Size(), 3 * (JoinStepEntryFields + 1));
    // Only the lines are entries, with their old owners.
    EXPECT_EQ((std::array{*d.Number(0), *d.Number(JoinStepEntryFields), *d.Number(2 * JoinStepEntryFields)}),
              (std::array<std::int64_t, 3>{2, 4, 5}));
    EXPECT_EQ((std::array{*d.Number(17), *d.Number(JoinStepEntryFields + 17)}), (std::array<std::int64_t, 2>{1, 3}));
    EXPECT_EQ(S.Fig(6).Kind, fkClosedCurve);
    for (std::int32_t i : {2, 4, 5}) EXPECT_EQ(S.Fig(i).OwnerIndex, 6) << i;
}

TEST_F(JoinCurves, SelectionsWithoutTwoLinesAreRefusedWhole) {
    AddStraight(S, fkLine, 0, 0, 1000, 0);                              // 1
    AddStraight(S, fkChainLine, 1000, 0, 2000, 0).OwnerIndex = 9;         // 2, a piece of a join
    AddCorners(S, fkRectangle, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});   // 3
    AddCorners(S, fkGroup, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});       // 4, holding 5
    AddStraight(S, fkLine, 0, 500, 1000, 500).OwnerIndex = 4;           // 5
    AddCorners(S, fkGroup, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});       // 6
    AddCorners(S, fkGroup, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});       // 7
    AddCorners(S, fkOpenCurve, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});   // 8
    AddCorners(S, fkOpenCurve, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});   // 9
    struct TCase {
        const char* Name;
        std::initializer_list<std::int32_t> Selected;
    };
    const TCase cases[] = {{"one line", {1}},
                           {"a line and a joined piece", {1, 2, 9}},
                           {"a line and a rectangle", {1, 3}},
                           {"a group of one line", {4, 5}},
                           {"two groups without lines", {6, 7}},
                           {"a line and two parents", {1, 8, 9}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        SelectOnly(S, c.Selected);
        const auto store = Store();
        const std::int32_t steps = S.HistoryCount, count = S.FigureCount;
        Ui.Beeps = 0;
        for (const bool closed : {false, true}) EXPECT_FALSE(JoinSelectedLines(S, closed));
        EXPECT_EQ(Ui.Beeps, 2);
        EXPECT_EQ(S.Label3, JoinRefusedMessage);
        EXPECT_EQ(S.FigureCount, count);
        EXPECT_EQ(S.HistoryCount, steps);
        EXPECT_TRUE(Store() == store);
    }
}

TEST_F(JoinCurves, AFullStoreRefusesTheOpenJoinAndTakesTheClosedOne) {
    AddStraight(S, fkLine, 0, 0, 1000, 0);
    AddStraight(S, fkLine, 1000, 0, 1000, 1000);
    S.FigureCount = MaxFigures - 2;  // 29998 live records, none to compact away
    SelectOnly(S, {1, 2});
    const auto store = Store();
    EXPECT_FALSE(JoinSelectedLines(S, false));  // the half and the parent need two slots
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, StoreFullMessage);
    EXPECT_EQ(S.FigureCount, MaxFigures - 2);
    EXPECT_TRUE(Store() == store);
    ASSERT_TRUE(JoinSelectedLines(S, true));
    EXPECT_EQ(S.FigureCount, MaxFigures - 1);
    EXPECT_EQ(S.Fig(MaxFigures - 1).Kind, fkClosedCurve);
}

}  // namespace
}  // namespace tarvek
