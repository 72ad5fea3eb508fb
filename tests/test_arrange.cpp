// Align, drawing order and groups without a window, and every operation that adds
// records in a store without room: refused whole, or done after the compaction that
// makes room.
#include <QGuiApplication>

#include <cmath>
#include <functional>
#include <limits>
#include <set>

#include "document/part_file.h"
#include "editing/plot_blocks.h"
#include "households/plot_conversion.h"

#include "arrange_fixture.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

using Arr4 = std::array<double, 4>;

class Arrange : public testing::ArrangeFixture {
public:
    std::int32_t Rect(double x1, double y1, double x2, double y2) {
        Add(fkRectangle, x1, y1, x2, y2);
        return S.FigureCount;
    }
};

TEST_F(Arrange, LeftAlignMovesAGroupWithItsMembersToTheFramesLeftEdge) {
    const std::int32_t rect = Rect(30000, 20000, 40000, 25000);
    AddText(32000, 21000, 36000, 23000, "本堂");
    const std::int32_t text = S.FigureCount;
    const std::int32_t g = Group({rect, text});
    AddLine(10000, 40000, 20000, 40000);
    const std::int32_t lineIndex = S.FigureCount;
    SelectOnly({rect, text, g, lineIndex});
    const THistoryData before = Geometry({rect, text, g, lineIndex});
    const std::int32_t history = S.HistoryCount;
    ASSERT_TRUE(AlignSelection(S, haLeft, vaNone));
    EXPECT_EQ(S.Fig(g).X1, 10000);
    EXPECT_EQ(Box(g), (Arr4{10000, 20000, 20000, 25000}));
    EXPECT_EQ(Box(rect), (Arr4{10000, 20000, 20000, 25000}));
    EXPECT_EQ(Box(text), (Arr4{12000, 21000, 16000, 23000}));
    EXPECT_EQ(S.Fig(text).Aux1, 1.0) << "a text's direction is no coordinate";
    EXPECT_EQ(Box(lineIndex), (Arr4{10000, 40000, 20000, 40000}));
    ASSERT_EQ(S.HistoryCount, history + 1);
    EXPECT_EQ(Step().Label, AlignStepLabel);
    EXPECT_EQ(Step().Data, before);
}

struct TSpreadCase {
    const char* Name;
    int Horizontal, Vertical;
    Arr4 Middle;  // the middle figure's box afterwards
};

TEST_F(Arrange, EqualSpacingSharesTheFreeRoomAndMixesWithTheOtherAxis) {
    const TSpreadCase cases[] = {
        {"equal gaps of 20 between widths 10, 20 and 30 in 100", haSpread, vaNone, {13000, 22000, 15000, 24000}},
        {"and the tops level with the frame's", haSpread, vaTop, {13000, 20000, 15000, 22000}},
        {"bottoms level", haNone, vaBottom, {15000, 26000, 17000, 28000}},
        {"right edges level", haRight, vaNone, {18000, 22000, 20000, 24000}},
    };
    for (const TSpreadCase& c : cases) {
        SCOPED_TRACE(c.Name);
        S.FigureCount = 0;
        Rect(10000, 20000, 11000, 28000);
        Rect(15000, 22000, 17000, 24000);
        Rect(17000, 21000, 20000, 25000);
        SelectOnly({1, 2, 3});
        ASSERT_TRUE(AlignSelection(S, c.Horizontal, c.Vertical));
        EXPECT_EQ(Box(2), c.Middle);
        if (c.Horizontal == haSpread) {
            EXPECT_EQ(Box(1)[0], 10000) << "the outer figures stay";
            EXPECT_EQ(Box(3)[2], 20000);
            EXPECT_EQ(S.Fig(2).X1, 13000);
        }
    }
}

TEST_F(Arrange, ACirclesArcMovesWithItAndAMembersArcWithItsOwner) {
    TDateRec& arc = Add(fkEllipse, 30000, 20000, 34000, 24000);
    arc.Aux1 = 34000, arc.Aux2 = 22000, arc.Aux3 = 32000, arc.Aux4 = 20000;
    TDateRec& inner = Add(fkEllipse, 30000, 30000, 32000, 32000);
    inner.Aux1 = 32000, inner.Aux2 = 31000, inner.Aux3 = 31000, inner.Aux4 = 30000;
    const std::int32_t g = Group({2});
    Rect(40000, 30000, 50000, 40000);
    SelectOnly({1, 2, g, 4});
    ASSERT_TRUE(AlignSelection(S, haRight, vaBottom));
    EXPECT_EQ(Box(1), (Arr4{46000, 36000, 50000, 40000}));
    EXPECT_EQ(Arc(1), (Arr4{50000, 38000, 48000, 36000}));
    EXPECT_EQ(Box(2), (Arr4{48000, 38000, 50000, 40000}));
    EXPECT_EQ(Arc(2), (Arr4{50000, 39000, 49000, 38000}));
}

TEST_F(Arrange, OneTopLevelFigureIsNothingToAlign) {
    const std::int32_t a = Rect(10000, 10000, 12000, 12000), b = Rect(20000, 20000, 22000, 22000);
    const std::int32_t g = Group({a, b});
    SelectOnly({a, b, g});
    const std::int32_t history = S.HistoryCount;
    const std::array<double, 8> before = Points(a);
    EXPECT_FALSE(AlignSelection(S, haLeft, vaTop));
    EXPECT_EQ(Ui.Beeps, 1);
    EXPECT_EQ(S.HistoryCount, history);
    EXPECT_EQ(Points(a), before);
}

TEST_F(Arrange, AGroupGoesToTheFrontAndTheBackWithItsMembersAndTheCurrentHitFollows) {
    AddLine(10000, 10000, 20000, 10000);
    AddLine(10000, 12000, 20000, 12000);
    Group({1, 2});
    AddLine(30000, 30000, 40000, 30000);  // 4, not selected
    SelectOnly({1, 2, 3});
    S.CurrentHitIndex = 3;
    S.Ledger.LastSentSelection = 1;

    ASSERT_TRUE(BringSelectionToFront(S));
    ASSERT_EQ(S.FigureCount, 7);
    EXPECT_EQ(Step().Label, ToFrontStepLabel);
    EXPECT_EQ(Step().Data, Numbers({4, 1, 2, 3}));
    for (std::int32_t i = 1; i <= 3; ++i) EXPECT_EQ(S.Fig(i).Deleted, 1) << i;
    EXPECT_EQ(S.Fig(5).OwnerIndex, 7);
    EXPECT_EQ(S.Fig(6).OwnerIndex, 7);
    EXPECT_EQ(S.Fig(7).Kind, fkGroup);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{5, 6, 7}));
    EXPECT_EQ(S.CurrentHitIndex, 7);
    EXPECT_EQ(S.Ledger.LastSentSelection, 5);

    ASSERT_TRUE(SendSelectionToBack(S));
    ASSERT_EQ(S.FigureCount, 10);
    EXPECT_EQ(Step().Label, ToBackStepLabel);
    EXPECT_EQ(Step().Data, Numbers({3, 10, 9, 8}));
    EXPECT_EQ((std::array<std::int32_t, 3>{S.Fig(1).OwnerIndex, S.Fig(2).OwnerIndex, S.Fig(3).OwnerIndex}),
              (std::array<std::int32_t, 3>{3, 3, 0}));
    EXPECT_EQ(S.Fig(3).Kind, fkGroup);
    EXPECT_EQ(S.Fig(7).Kind, fkLine) << "the unselected line moved up by three";
    EXPECT_EQ(S.Fig(7).Deleted, 0);
    EXPECT_EQ(Box(7), (Arr4{30000, 30000, 40000, 30000}));
    for (std::int32_t i = 8; i <= 10; ++i) EXPECT_EQ(S.Fig(i).Deleted, 1) << i;
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(S.CurrentHitIndex, 3);
    EXPECT_EQ(S.Ledger.LastSentSelection, 1);
}

TEST_F(Arrange, GroupsNestAndComeApartOneAtATime) {
    for (int k = 0; k < 4; ++k) Rect(10000 + k * 5000, 10000, 12000 + k * 5000, 12000);
    SelectOnly({1, 2});
    ASSERT_TRUE(GroupSelection(S));
    EXPECT_EQ(Step().Label, GroupStepLabel);
    EXPECT_TRUE(Step().Data.Empty());
    EXPECT_EQ(S.FigureCount, 5);
    EXPECT_EQ(Box(5), (Arr4{10000, 10000, 17000, 12000}));
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1, 2, 5}));
    SelectOnly({3, 4});
    ASSERT_TRUE(GroupSelection(S));
    // A group of the two groups.
    SelectOnly({1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(GroupSelection(S));
    ASSERT_EQ(S.FigureCount, 7);
    EXPECT_EQ(S.Fig(5).OwnerIndex, 7);
    EXPECT_EQ(S.Fig(6).OwnerIndex, 7);
    EXPECT_EQ(S.Fig(1).OwnerIndex, 5) << "members of a nested group keep their owner";

    // Of several groups only the last one in the list comes apart.
    ASSERT_TRUE(UngroupSelection(S));
    EXPECT_EQ(Step().Label, UngroupStepLabel);
    EXPECT_EQ(Step().Data, Numbers({7, 5, 6}));
    EXPECT_EQ(S.Fig(7).Deleted, 1);
    EXPECT_EQ(S.Fig(5).OwnerIndex, 0);
    EXPECT_EQ(S.Fig(1).OwnerIndex, 5);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(UngroupSelection(S));
    EXPECT_EQ(Step().Data, Numbers({6, 3, 4}));
    EXPECT_EQ(S.Fig(5).Deleted, 0);

    // Refusals say why.
    SelectOnly({4});
    const std::int32_t history = S.HistoryCount;
    EXPECT_FALSE(GroupSelection(S));
    EXPECT_EQ(S.Label3, GroupTooFewMessage);
    EXPECT_FALSE(UngroupSelection(S));
    EXPECT_EQ(S.Label3, UngroupNoneMessage);
    EXPECT_EQ(Ui.Beeps, 2);
    EXPECT_EQ(S.HistoryCount, history);
}

struct TRoomCase {
    const char* Name;
    std::int32_t Needs;
    std::function<void(Arrange&)> Run;
};

TEST_F(Arrange, AStoreWithoutRoomRefusesWholeOrCompactsFirst) {
    const TRoomCase cases[] = {
        {"paste", 2, [](Arrange& t) { t.CtrlKey('C'), t.CtrlKey('V'); }},
        {"rotate-copy", 2,
         [](Arrange& t) {
             t.S.Tools.RotationCentre = {0, 0};
             t.S.Tools.RotationAngle = M_PI / 2;
             CommitRotation(t.S, ToolCtrlKey);
         }},
        {"to the front", 2, [](Arrange& t) { BringSelectionToFront(t.S); }},
        {"to the back", 2, [](Arrange& t) { SendSelectionToBack(t.S); }},
        {"group", 1, [](Arrange& t) { GroupSelection(t.S); }},
    };
    for (const bool withDeleted : {false, true}) {
        for (const TRoomCase& c : cases) {
            SCOPED_TRACE(std::string(c.Name) + (withDeleted ? ", ten deleted" : ", none deleted"));
            // Full but for c.Needs - 1 records: the two plots last.
            const std::int32_t count = MaxFigures - c.Needs;
            for (std::int32_t i = 1; i <= count; ++i) {
                S.Fig(i) = TDateRec{};
                S.Fig(i).Deleted = withDeleted && i <= 10 ? 1 : 0;
            }
            S.FigureCount = count - 2;
            AddPlot(10000, 10000, 14000, 13000, 1);
            AddPlot(16000, 10000, 20000, 13000, 2);
            S.MaxPlotId = 2;
            SelectOnly({count - 1, count});
            Ui.Shown.clear();
            PushHistory(S, "目印");
            c.Run(*this);
            if (!withDeleted) {
                ASSERT_EQ(Ui.Shown.size(), 1u);
                EXPECT_EQ(Ui.Shown[0].Text, StoreFullMessage);
                EXPECT_EQ(S.FigureCount, count);
                EXPECT_EQ(Selected(), (std::vector<std::int32_t>{count - 1, count}));
                EXPECT_EQ(S.MaxPlotId, 2);
                EXPECT_EQ(S.HistoryCount, 1) << "no step; a full store empties the history";
                continue;
            }
            EXPECT_TRUE(Ui.Shown.empty());
            EXPECT_EQ(S.FigureCount, count - 10 + c.Needs) << "done after the compaction";
            for (std::int32_t h = 1; h <= S.HistoryCount; ++h)
                EXPECT_NE(S.History[static_cast<std::size_t>(h)].Label, "目印") << "the compaction emptied the history";
        }
    }
}

// A file may leave the largest plot key at the 32-bit limit, or just below it: every
// operation that makes plots checks room for all the keys it hands out first.
TEST(PlotKeys, EveryOperationThatMakesPlotsRefusesWholeWhenItsKeysDoNotFit) {
    struct TScene : Arrange {
        void TestBody() override {}
    };
    struct TCase {
        const char* Name;
        std::int64_t Needs;  // new keys
        std::vector<std::int32_t> Select;
        std::function<void(TScene&)> Run;
        std::function<void(TScene&)> Before = nullptr;  // what the user did earlier
    };
    const auto copyMove = [](TScene& t) {
        t.S.Tools.HandleHit = 5;
        t.S.Fig(0).X1 = 12000, t.S.Fig(0).Y1 = 12000;
        CommitMoveOrTransform(t.S, t.Map, ToolCtrlKey, 120, 300);
    };
    const TCase cases[] = {
        {"move with Ctrl", 2, {1, 2}, copyMove},
        {"rotate-copy", 2, {1, 2},
         [](TScene& t) {
             t.S.Tools.RotationCentre = {0, 0};
             t.S.Tools.RotationAngle = M_PI / 2;
             CommitRotation(t.S, ToolCtrlKey);
         }},
        {"paste", 2, {1, 2}, [](TScene& t) { t.CtrlKey('V'); }, [](TScene& t) { t.CtrlKey('C'); }},
        // The edges share the polygon's key.
        {"a compound plot copied", 1, {5, 6, 7, 8}, copyMove},
        {"a block of two plots", 2, {},
         [](TScene& t) {
             t.S.Tools.Ops.PlaceBlock = [&t](int x, int y) { PlaceBlock(t.S, t.Map, x, y); };
             t.S.BlockColumns = 2;
             t.S.BlockRows = 1;
             ChooseBlockTool(t.S, false);
             t.Play(testing::ClickAt(600, 400));
         }},
        {"figures to plots", 2, {3, 4}, [](TScene& t) { ConvertSelectionToPlots(t.S); }},
        {"a part with two plots", 2, {1, 2},
         [](TScene& t) {
             const std::string part = t.Dir.File("二区画.bbh");
             ASSERT_TRUE(WriteTextLines(part, BuildPartLines(t.S)));
             LoadPartFile(t.S, t.Map, part);
         }},
    };
    constexpr std::int32_t Limit = std::numeric_limits<std::int32_t>::max();
    for (const TCase& c : cases) {
        for (const bool fits : {false, true}) {
            SCOPED_TRACE(std::string(c.Name) + (fits ? ", room for every key" : ", one key short"));
            TScene t;
            // Two plots, the second with the largest key the file gave; two rectangles; a
            // polygon plot of three edges.
            t.AddPlot(10000, 10000, 14000, 13000, 1);
            t.AddPlot(16000, 10000, 20000, 13000, Limit - static_cast<std::int32_t>(c.Needs) + (fits ? 0 : 1));
            t.Rect(10000, 20000, 14000, 23000);
            t.Rect(16000, 20000, 20000, 23000);
            t.AddPolygon(30000, 20000, true, 3);
            for (std::int32_t i : c.Select) t.S.Fig(i).Selected = 1;
            RebuildSelectionList(t.S, true);
            ClassifySelectionKinds(t.S);
            if (c.Before) c.Before(t);
            PushHistory(t.S, "目印");
            const std::int32_t count = t.S.FigureCount, steps = t.S.HistoryCount, maxId = t.S.MaxPlotId;
            const std::uint8_t drawingUnchanged = t.S.DrawingUnchanged, ledgerUnchanged = t.S.LedgerUnchanged;
            c.Run(t);
            if (::testing::Test::HasFatalFailure()) return;
            if (!fits) {
                EXPECT_EQ(t.Ui.Shown.size(), 1u);
                if (!t.Ui.Shown.empty()) {
                    EXPECT_EQ(t.Ui.Shown[0].Text, StoreFullMessage);
                }
                EXPECT_EQ(t.S.FigureCount, count);
                EXPECT_EQ(t.S.MaxPlotId, maxId);
                EXPECT_EQ(t.Selected(), c.Select);
                EXPECT_EQ(t.S.HistoryCount, steps);
                EXPECT_EQ(t.Step().Label, "目印");
                EXPECT_EQ(t.S.DrawingUnchanged, drawingUnchanged);
                EXPECT_EQ(t.S.LedgerUnchanged, ledgerUnchanged);
                EXPECT_TRUE(t.Lists().empty());
                EXPECT_FALSE(IsPlotRecord(t.S.Fig(3)) || IsPlotRecord(t.S.Fig(4)));
                continue;
            }
            EXPECT_TRUE(t.Ui.Shown.empty()) << t.Ui.Shown.front().Text;
            EXPECT_EQ(t.S.MaxPlotId, Limit);
            EXPECT_GT(t.S.FigureCount + (c.Select == std::vector<std::int32_t>{3, 4} ? 1 : 0), count);
            // Every new plot has a key of its own (pieces their parent's), none past the limit.
            std::set<std::int32_t> keys;
            for (std::int32_t i = 1; i <= t.S.FigureCount; ++i) {
                const TDateRec& r = t.S.Fig(i);
                if (!IsPlotRecord(r) || r.Deleted) continue;
                const std::int32_t owner = GetCompoundOwner(t.S, i);
                if (owner > 0) {
                    EXPECT_EQ(r.PlotId, t.S.Fig(owner).PlotId) << i;
                    continue;
                }
                EXPECT_GT(r.PlotId, 0) << i;
                EXPECT_TRUE(keys.insert(r.PlotId).second) << "key " << r.PlotId << " twice";
            }
            EXPECT_EQ(*keys.rbegin(), Limit);
            EXPECT_EQ(t.Lists().size(), 1u) << "the new plots reach the ledger";
        }
    }
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
