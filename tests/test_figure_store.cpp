// The figure store: capacity, compaction, corner order, bounds, owners.
#include <gtest/gtest.h>

#include "document/drawing_state.h"
#include "document/figure_store.h"

namespace tarvek {
namespace {

class FigureStore : public ::testing::Test {
protected:
    FigureStore() : S(Ui) {}

    std::int32_t Add(std::int32_t kind, std::int32_t owner = 0) {
        TDateRec& r = S.Fig(++S.FigureCount);
        r = TDateRec{};
        r.Kind = kind;
        r.OwnerIndex = owner;
        r.Text = "r" + std::to_string(S.FigureCount);  // identifies the record after moves
        return S.FigureCount;
    }

    TScriptedUi Ui;
    TDrawingState S;
};

TEST_F(FigureStore, CapacityCompactsOnlyWhenThatFreesMoreThanTheSelection) {
    struct TCase {
        int Deleted;
        int Selected;
        bool Made;
    };
    const TCase cases[] = {
        {1, 0, true},   // 2 > 0
        {0, 0, false},  // nothing to free: the store never holds more than its limit
        {2, 2, true},   // 3 > 2
        {2, 3, false},  // 3 > 3 is false: the copy about to be made would not fit
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Deleted << " deleted, " << c.Selected << " selected");
        TScriptedUi ui;
        TDrawingState s(ui);
        s.FigureCount = MaxFigures - 1;
        for (int k = 0; k < c.Deleted; ++k) s.Fig(10 + k).Deleted = 1;
        s.SelectedCount = c.Selected;
        s.Dragging = 1;
        s.ClickMovePending = 1;
        PushHistory(s, "移動");
        PushHistory(s, "選択");

        EXPECT_EQ(EnsureFigureCapacity(s), c.Made);
        EXPECT_EQ(s.FigureCount, MaxFigures - 1 - (c.Made ? c.Deleted : 0));
        EXPECT_EQ(ui.Shown.size(), c.Made ? 0u : 1u);
        if (!c.Made) {
            EXPECT_EQ(ui.Shown[0].Text, "これ以上データを置けません");
            EXPECT_EQ(ui.Shown[0].Buttons, static_cast<unsigned>(mbOK));
        }
        // Either way nothing is left to undo, and the drag goes on afterwards. The count
        // stays on the bottom mark, so that the next step lands where undo reaches it.
        EXPECT_EQ(s.HistoryCount, 1);
        EXPECT_EQ(s.History[0].Label, HistoryStopLabel);
        EXPECT_EQ(s.History[1].Label, HistoryStopLabel);
        EXPECT_EQ(s.History[static_cast<std::size_t>(s.HistoryCapacity)].Label, HistoryStopLabel);
        EXPECT_EQ(s.ClickMovePending, 0);
        EXPECT_EQ(s.Dragging, 1);
    }
}

TEST_F(FigureStore, CapacityWarningRunsWithTheDragSuspended) {
    struct TWatchingUi : TScriptedUi {
        TDrawingState* State = nullptr;
        int DraggingSeen = -1;
        int MessageDlg(const std::string& t, TMsgDlgType k, unsigned b, const std::string& c) override {
            DraggingSeen = State->Dragging;
            return TScriptedUi::MessageDlg(t, k, b, c);
        }
    } ui;
    TDrawingState s(ui);
    ui.State = &s;
    s.Dragging = 1;
    EXPECT_FALSE(EnsureFigureCapacity(s));
    EXPECT_EQ(ui.DraggingSeen, 0);
}

TEST_F(FigureStore, CompactionKeepsOrderAndRepointsEveryLink) {
    Add(fkLine);                                 // 1 deleted
    const auto group = Add(fkGroup);             // 2 -> 1
    Add(fkText, group);                          // 3 -> 2
    Add(fkLine);                                 // 4 deleted
    const auto polygon = Add(fkPolygon);         // 5 -> 3
    const auto gone = Add(fkGroup);              // 6 deleted, with a member left behind
    Add(fkPolygonEdge, polygon);                 // 7 -> 4
    Add(fkText, gone);                           // 8 -> 5: its owner is removed
    Add(fkText, group);                          // 9 -> 6: the last record
    for (std::int32_t i : {1, 4, 6}) S.Fig(i).Deleted = 1;
    for (std::int32_t i : {3, 7, 9}) S.Fig(i).Selected = 1;
    S.SelectedList = {0, 3, 6, 7, 9};
    S.SelectedCount = 4;
    S.CurrentHitIndex = 7;
    S.Ledger.LastSentSelection = 9;
    PushHistory(S, "移動");

    CompactFigures(S);

    ASSERT_EQ(S.FigureCount, 6);
    const char* const texts[] = {"r2", "r3", "r5", "r7", "r8", "r9"};
    for (std::int32_t i = 1; i <= 6; ++i) EXPECT_EQ(S.Fig(i).Text, texts[i - 1]) << i;
    EXPECT_EQ(S.Fig(2).OwnerIndex, 1);
    EXPECT_EQ(S.Fig(4).OwnerIndex, 3);
    EXPECT_EQ(S.Fig(5).OwnerIndex, 0);
    EXPECT_EQ(S.Fig(6).OwnerIndex, 1);
    EXPECT_EQ(S.SelectedList, (std::vector<std::int32_t>{0, 2, 4, 6}));
    EXPECT_EQ(S.SelectedCount, 3);
    EXPECT_EQ(S.CurrentHitIndex, 4);
    EXPECT_EQ(S.Ledger.LastSentSelection, 6);  // the plot the ledger was told, where it is now
    EXPECT_EQ(S.SelectedCursor, 2);
    EXPECT_EQ(S.HistoryCount, 1);
    EXPECT_EQ(S.History[1].Label, HistoryStopLabel);
    EXPECT_EQ(S.Label3, "次の「Ctrl+Z」はありません。");
}

TEST_F(FigureStore, CompactionDropsAHitThatWasDeleted) {
    Add(fkPlot);
    Add(fkPlot);
    S.Fig(2).Deleted = 1;
    S.CurrentHitIndex = 2;
    S.Ledger.LastSentSelection = 2;
    CompactFigures(S);
    EXPECT_EQ(S.CurrentHitIndex, -1);
    EXPECT_EQ(S.Ledger.LastSentSelection, -1);
    EXPECT_EQ(S.SelectedCount, 0);
    EXPECT_EQ(S.HasSelection, 0);
}

TEST_F(FigureStore, NormalizeCornersPutsTopLeftFirstClockwise) {
    using P = std::array<double, 8>;
    struct TCase {
        const char* Name;
        P In;
    };
    const P want{0, 0, 10, 0, 10, 5, 0, 5};  // top-left, top-right, bottom-right, bottom-left
    const TCase cases[] = {
        {"already in order", {0, 0, 10, 0, 10, 5, 0, 5}},
        {"from top-right", {10, 0, 10, 5, 0, 5, 0, 0}},
        {"from bottom-right", {10, 5, 0, 5, 0, 0, 10, 0}},
        {"from bottom-left", {0, 5, 0, 0, 10, 0, 10, 5}},
        {"counter-clockwise", {0, 0, 0, 5, 10, 5, 10, 0}},
        {"counter-clockwise from bottom-left", {0, 5, 10, 5, 10, 0, 0, 0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDateRec& r = S.Fig(1);
        std::tie(r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4) =
            std::tuple{c.In[0], c.In[1], c.In[2], c.In[3], c.In[4], c.In[5], c.In[6], c.In[7]};
        r.Kind = fkRectangle;
        S.FigureCount = 1;
        NormalizeCorners(S, 1);
        EXPECT_EQ((P{r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4}), want);

        int p[8];
        for (int k = 0; k < 8; ++k) p[k] = static_cast<int>(c.In[static_cast<std::size_t>(k)]);
        NormalizeScreenCorners(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
        for (int k = 0; k < 8; ++k) EXPECT_EQ(p[k], want[static_cast<std::size_t>(k)]) << k;
    }
}

TEST_F(FigureStore, NormalizeCornersLeavesCompoundMembersAlone) {
    const auto parent = Add(fkPolygon);
    const auto edge = Add(fkPolygonEdge, parent);
    TDateRec& r = S.Fig(edge);
    r.X1 = 10, r.X2 = 0, r.X3 = 5, r.X4 = 7;
    NormalizeCorners(S, edge);
    EXPECT_EQ(r.X1, 10);
}

TEST_F(FigureStore, CompoundOwnerByKind) {
    const auto parent = Add(fkPolygon);       // 1
    const auto seg = Add(fkPolySegment, 0);   // 2: open polygon, no parent yet
    const auto piece = Add(fkRoundPiece, parent);  // 3
    const auto straight = Add(fkLine, parent);     // 4: the straight part after a round piece
    const auto loose = Add(fkLine, parent);        // 5: after a plain line: no member
    const auto member = Add(fkText, parent);       // 6: group-style member, not compound
    EXPECT_EQ(GetCompoundOwner(S, 0), -1);
    EXPECT_EQ(GetCompoundOwner(S, parent), -1);
    EXPECT_EQ(GetCompoundOwner(S, seg), 0);
    EXPECT_EQ(GetCompoundOwner(S, piece), parent);
    EXPECT_EQ(GetCompoundOwner(S, straight), parent);
    EXPECT_EQ(GetCompoundOwner(S, loose), -1);
    EXPECT_EQ(GetCompoundOwner(S, member), -1);
}

TEST_F(FigureStore, BoundsUseAllFourPoints) {
    TDateRec& r = S.Fig(Add(fkLine));
    r.X1 = 5, r.Y1 = -2, r.X2 = 1, r.Y2 = 9, r.X3 = 5, r.Y3 = -2, r.X4 = 1, r.Y4 = 9;
    UpdateFigureBounds(S, 1);
    EXPECT_EQ((std::array{r.BoxX1, r.BoxY1, r.BoxX2, r.BoxY2}), (std::array{1.0, -2.0, 5.0, 9.0}));
    r.X3 = -7, r.Y4 = 12;
    UpdateFigureBounds(S, 1);
    EXPECT_EQ((std::array{r.BoxX1, r.BoxY1, r.BoxX2, r.BoxY2}), (std::array{-7.0, -2.0, 5.0, 12.0}));
}

TEST_F(FigureStore, TopOwnerWalkEndsEvenOnACycle) {
    const auto outer = Add(fkGroup);
    const auto inner = Add(fkGroup, outer);
    const auto leaf = Add(fkText, inner);
    EXPECT_EQ(GetTopOwner(S, leaf), outer);
    S.Fig(outer).OwnerIndex = inner;  // a damaged file
    const std::int32_t top = GetTopOwner(S, leaf);
    EXPECT_TRUE(top == outer || top == inner);
}

}  // namespace
}  // namespace tarvek
