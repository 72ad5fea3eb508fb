// The selection list on a small drawing: which figures are listed on which page, the
// clearing step, the selection box, kinds and groups.
#include <gtest/gtest.h>

#include "document/drawing_state.h"
#include "document/selection.h"

namespace tarvek {
namespace {

struct TPageForm : TEditorView {
    int Page = 3;
    int Count = -1;
    int Hits = 0;
    int ActivePageIndex() const override { return Page; }
    void SelectionCountChanged(int count) override { Count = count; }
    void ShowCurrentHit() override { ++Hits; }
};

class Selection : public ::testing::Test {
protected:
    Selection() : S(Ui, &Form) {
        // 1 line, 2 plot, 3 group, 4 text in the group, 5 polygon, 6 its edge, 7 plot (deleted)
        Add(fkLine, 0, {0, 0, 100, 50});
        Add(fkPlot, 0, {200, 0, 600, 300}).IsPlot = 1;
        Add(fkGroup, 0, {-500, 10, -100, 90});
        Add(fkText, 3, {-500, 10, -100, 90});
        Add(fkPolygon, 0, {0, 400, 50, 450});
        Add(fkPolygonEdge, 5, {0, 400, 50, 450});
        Add(fkPlot, 0, {0, 0, 10, 10}).IsPlot = 1;
        S.Fig(7).Deleted = 1;
    }

    TDateRec& Add(std::int32_t kind, std::int32_t owner, std::array<double, 4> box) {
        TDateRec& r = S.Fig(++S.FigureCount);
        r.Kind = kind;
        r.OwnerIndex = owner;
        r.BoxX1 = box[0], r.BoxY1 = box[1], r.BoxX2 = box[2], r.BoxY2 = box[3];
        return r;
    }
    void Select(std::initializer_list<std::int32_t> indices) {
        for (std::int32_t i : indices) S.Fig(i).Selected = 1;
    }

    TScriptedUi Ui;
    TPageForm Form;
    TDrawingState S;
};

TEST_F(Selection, ListsEveryKindOnlyOnTheDrawingPages) {
    Select({1, 2, 4, 6, 7});
    S.CurrentHitIndex = 2;
    for (const int page : {0, 1, 2, 3, 4, 5}) {
        SCOPED_TRACE(page);
        Form.Page = page;
        RebuildSelectionList(S, false);
        const bool drawing = page == 3 || page == 4;
        EXPECT_EQ(S.SelectedList, drawing ? (std::vector<std::int32_t>{0, 1, 2, 4, 6})
                                          : (std::vector<std::int32_t>{0, 2}));
        EXPECT_EQ(S.SelectedCursor, drawing ? 2 : 1);
        EXPECT_EQ(S.HasSelection, 1);
    }
    S.CurrentHitIndex = 4;
    Form.Page = 0;
    RebuildSelectionList(S, true);
    EXPECT_EQ(S.SelectedCursor, -1);  // the hit is no plot: not in the list
    EXPECT_EQ(Form.Hits, 1);
}

TEST_F(Selection, TheMarkerEntryKeepsItsValue) {
    S.SelectedList = {-999};
    Select({2});
    RebuildSelectionList(S, false);
    EXPECT_EQ(S.SelectedList, (std::vector<std::int32_t>{-999, 2}));
}

TEST_F(Selection, ClearingRecordsWhatWasSelected) {
    Select({1, 2});
    S.CurrentHitIndex = 2;
    RebuildSelectionList(S, false);
    const std::int32_t before = S.HistoryCount;
    ClearFigureSelection(S, false);
    ASSERT_EQ(S.HistoryCount, before + 1);
    const Trireki& step = S.History[static_cast<std::size_t>(S.HistoryCount)];
    EXPECT_EQ(step.Label, "選択");
    ASSERT_EQ(step.Data.Size(), 3u);
    EXPECT_EQ(*step.Data.Number(0), 2);  // the hit, then the selected indices
    EXPECT_EQ(*step.Data.Number(1), 1);
    EXPECT_EQ(*step.Data.Number(2), 2);
    EXPECT_EQ(S.SelectedCount, 0);
    EXPECT_EQ(S.HitCenterX, -999.0);
    EXPECT_EQ(S.Label3, "次の「Ctrl+Z」選択");

    // Nothing listed: no step, but every flag is cleared all the same.
    S.Fig(4).Selected = 1;
    Form.Page = 0;  // the text is not listed on the search page
    RebuildSelectionList(S, false);
    ClearFigureSelection(S, false);
    EXPECT_EQ(S.HistoryCount, before + 1);
    EXPECT_EQ(S.Fig(4).Selected, 0);
}

// A rotation in hand belongs to the selection it was started on.
TEST_F(Selection, ClearingForgetsTheRotationInHand) {
    for (const bool selected : {true, false}) {
        SCOPED_TRACE(selected ? "a selection" : "nothing selected");
        if (selected) Select({2});
        RebuildSelectionList(S, false);
        TToolState& t = S.Tools;
        t.RotationCentre = {300, 150}, t.RotationPoint = {900, 150};
        t.RotationAngle = 0.5, t.PreviewAngle = 0.4;
        ClearFigureSelection(S, false);
        EXPECT_EQ(t.RotationCentre, TToolState::TPointD{});
        EXPECT_EQ(t.RotationPoint, TToolState::TPointD{});
        EXPECT_EQ((std::array{t.RotationAngle, t.PreviewAngle}), (std::array{0.0, 0.0}));
    }
}

TEST_F(Selection, ClearingOnTheOptionsPageKeepsTheHitCentre) {
    Select({2});
    RebuildSelectionList(S, false);
    S.HitCenterX = 40, S.HitCenterY = 50;
    Form.Page = 5;
    ClearFigureSelection(S, false);
    EXPECT_EQ(S.HitCenterX, 40);
    EXPECT_EQ(S.SelectedCount, 0);  // the rebuild still empties the list
}

TEST_F(Selection, BoundsCountsAndKinds) {
    Select({1, 2, 3, 4, 5, 6});
    RebuildSelectionList(S, false);
    ComputeSelectionBounds(S);
    EXPECT_EQ(S.DrawPointBuffer, (std::array<double, 4>{600, -500, 450, 0}));
    UpdateSelectionCount(S);
    EXPECT_EQ(Form.Count, 4);  // the line, the plot, the text and the polygon
    Form.Page = 0;
    RebuildSelectionList(S, false);
    UpdateSelectionCount(S);
    EXPECT_EQ(Form.Count, 1);

    // Figures wholly at negative x: the greatest x stays 0.
    for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i).Selected = 0;
    Select({3});
    Form.Page = 3;
    RebuildSelectionList(S, false);
    ComputeSelectionBounds(S);
    EXPECT_EQ(S.DrawPointBuffer[0], 0);
    EXPECT_EQ(S.DrawPointBuffer[1], -500);
    // One group record stands for every family.
    ClassifySelectionKinds(S);
    EXPECT_EQ(S.SelectionKindFlags, (std::array<std::uint8_t, 4>{1, 1, 1, 1}));
    Select({1});
    RebuildSelectionList(S, false);
    ClassifySelectionKinds(S);
    EXPECT_EQ(S.SelectionKindFlags, (std::array<std::uint8_t, 4>{0, 0, 1, 0}));
    for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i).Selected = 0;
    RebuildSelectionList(S, false);
    ClassifySelectionKinds(S);
    EXPECT_EQ(S.SelectionKindFlags, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
}

TEST_F(Selection, AMemberOfANestedGroupSelectsTheOutermostGroup) {
    const auto outer = S.FigureCount + 1;
    Add(fkGroup, 0, {0, 0, 1, 1});      // 8: outer group
    S.Fig(3).OwnerIndex = outer;        // the first group now sits inside it
    Add(fkLine, outer, {0, 0, 1, 1});   // 9: a direct member of the outer group
    Select({4});
    RebuildSelectionList(S, false);
    SelectGroupMembers(S, 1);
    for (std::int32_t i : {3, 4, 8, 9}) EXPECT_EQ(S.Fig(i).Selected, 1) << i;
    for (std::int32_t i : {1, 2, 5, 6}) EXPECT_EQ(S.Fig(i).Selected, 0) << i;

    // A cycle of owner links from a damaged file ends the walk.
    S.Fig(outer).OwnerIndex = 3;
    SetSelectedWithMembers(S, 3, 0);
    for (std::int32_t i : {3, 4, 8, 9}) EXPECT_EQ(S.Fig(i).Selected, 0) << i;
}

}  // namespace
}  // namespace tarvek
