// Plot numbering in its eight orders, grades, and turning figures into plots and back,
// on a small drawing without a window.
#include <gtest/gtest.h>

#include "document/history.h"
#include "households/grades.h"
#include "households/plot_conversion.h"
#include "households/plot_numbering.h"
#include "plot_ops_support.h"

namespace tarvek::testing {
namespace {

using O = TNumberingOrder;

class Numbering : public PlotOpsTest {
protected:
    Numbering() {
        View.Page = 2;
        // A 3 x 2 block: a b c along the top, d e f along the bottom.
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 3; ++col) Block.push_back(AddPlot(col * 2000.0, row * 3000.0, "0", "旧"));
    }

    // The running numbers of the top row, then of the bottom row ("123", "456").
    std::pair<std::string, std::string> Rows() const {
        std::string rows[2];
        for (int k = 0; k < 6; ++k) {
            const std::string& n = S.Fig(Block[static_cast<std::size_t>(k)]).PlotNumber;
            rows[k / 3] += n.substr(n.size() - 1);
        }
        return {rows[0], rows[1]};
    }

    std::vector<std::int32_t> Block;
    THistoryData Previous;
    const TNumberingFields Defaults{"北上段", "1", "1"};
};

TEST_F(Numbering, EightOrdersOverABlock) {
    struct TCase {
        const char* Button;
        O Order;
        const char* Top;
        const char* Bottom;
    };
    const TCase cases[] = {
        {"BitBtn19", O::RowsLeftTopFirst, "123", "456"},      {"BitBtn21", O::RowsRightTopFirst, "321", "654"},
        {"BitBtn22", O::RowsLeftBottomFirst, "456", "123"},   {"BitBtn23", O::RowsRightBottomFirst, "654", "321"},
        {"BitBtn18", O::ColumnsLeftTopFirst, "135", "246"},   {"BitBtn24", O::ColumnsRightTopFirst, "531", "642"},
        {"BitBtn25", O::ColumnsLeftBottomFirst, "246", "135"}, {"BitBtn26", O::ColumnsRightBottomFirst, "642", "531"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Button);
        // Listed out of order, as a search might leave them.
        Select({Block[4], Block[0], Block[5], Block[2], Block[3], Block[1]});
        Sent.clear();
        View.Marks.clear();
        ASSERT_TRUE(NumberSelectedPlots(S, c.Order, Defaults));
        EXPECT_EQ(Rows(), std::make_pair(std::string(c.Top), std::string(c.Bottom)));
        // The list goes out in the new order, which the selection keeps.
        std::vector<std::string> lines;
        for (const std::int32_t i : Listed()) lines.push_back(Line(i));
        EXPECT_EQ(Sent, std::vector<TLines>{List("変更", lines)});
        EXPECT_EQ(S.Fig(Listed().front()).PlotNumber, "北上段 0001");
        ASSERT_EQ(View.Marks.size(), 1u);
        ASSERT_EQ(View.Marks[0].size(), 6u);
        EXPECT_EQ(Step().Label, "組番号作成を取消す");
        ASSERT_EQ(Step().Data.Size(), 12u);
        for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(*Step().Data.Number(2 * k), Listed()[k]);
        Previous = Step().Data;
    }
    const TMapMark& m = View.Marks[0][0];
    const TDateRec& first = S.Fig(Listed().front());
    EXPECT_EQ(m.Corners, (std::array<double, 8>{first.X1, first.Y1, first.X2, first.Y2, first.X3, first.Y3, first.X4, first.Y4}));
    EXPECT_EQ(m.PenColor, 255);
    EXPECT_EQ(m.PenWidth, 2);
    EXPECT_FALSE(m.BrushColor);
    // The last press kept the numbers the one before it gave: BitBtn25's 246/135.
    std::string kept;
    for (std::size_t k = 1; k < Previous.Size(); k += 2) kept += Previous.Text(k)->substr(Previous.Text(k)->size() - 1);
    EXPECT_EQ(kept, "563412");  // in BitBtn26's order: f c e b d a
    EXPECT_EQ(S.LedgerUnchanged, 0);
}

TEST_F(Numbering, EqualCornersKeepTheExchangeSortsOrder) {
    const std::int32_t a = AddPlot(9000, 9000), b = AddPlot(9000, 9000), c = AddPlot(9000, 8000);
    Select({a, b, c});
    ASSERT_TRUE(NumberSelectedPlots(S, O::RowsLeftTopFirst, Defaults));
    EXPECT_EQ(Listed(), (std::vector<std::int32_t>{c, b, a}));
    EXPECT_EQ(S.Fig(a).PlotNumber, "北上段 0003");
}

TEST_F(Numbering, StartAndStepFields) {
    struct TCase {
        const char* Name;
        TNumberingFields Fields;
        std::vector<std::string> Numbers;  // of the top row, left to right
    };
    const TCase cases[] = {
        {"no start", {"北上段", "", "1"}, {"北上段", "北上段", "北上段"}},
        {"no step", {"北上段", "1", ""}, {"北上段", "北上段", "北上段"}},
        {"start 98", {"北上段", "98", "1"}, {"北上段 0098", "北上段 0099", "北上段 0100"}},
        {"five digits are not cut", {"北上段", "12345", "1"}, {"北上段 12345", "北上段 12346", "北上段 12347"}},
        {"padded in front of the sign", {"北上段", "-5", "1"}, {"北上段 00-5", "北上段 00-4", "北上段 00-3"}},
        {"step 10, blanks allowed", {"東", " 1", "10 "}, {"東 0001", "東 0011", "東 0021"}},
        {"beyond 32 bits", {"北", "2147483647", "1"}, {"北 2147483647", "北 2147483648", "北 2147483649"}},
        {"separators of a pasted name", {"北,上\"段", "1", "1"}, {"北上段 0001", "北上段 0002", "北上段 0003"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Select({Block[0], Block[1], Block[2]});
        ASSERT_TRUE(NumberSelectedPlots(S, O::RowsLeftTopFirst, c.Fields));
        std::vector<std::string> numbers;
        for (int k = 0; k < 3; ++k) numbers.push_back(S.Fig(Block[static_cast<std::size_t>(k)]).PlotNumber);
        EXPECT_EQ(numbers, c.Numbers);
    }
    EXPECT_TRUE(Ui.Shown.empty());
}

TEST_F(Numbering, RefusalsChangeNothing) {
    struct TCase {
        const char* Name;
        bool Selected;
        TNumberingFields Fields;
        const char* Box;
        const char* Help;
    };
    const TCase cases[] = {
        {"nothing selected", false, {"北上段", "1", "1"}, "", "先に墓地を選んでください。"},
        {"start not an integer", true, {"北上段", "x", "1"}, "'x' は整数値ではありません", ""},
        {"step not an integer", true, {"北上段", "1", "1.5"}, "'1.5' は整数値ではありません", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Selected) Select({Block[2], Block[0]});
        else Select({});
        Ui.Shown.clear();
        S.SetHelpLine("");
        const std::int32_t steps = S.HistoryCount;
        EXPECT_FALSE(NumberSelectedPlots(S, O::RowsLeftTopFirst, c.Fields));
        EXPECT_EQ(S.HistoryCount, steps);
        if (*c.Box) {
            ASSERT_EQ(Ui.Shown.size(), 1u);
            EXPECT_EQ(Ui.Shown[0].Text, c.Box);
            EXPECT_EQ(Listed(), (std::vector<std::int32_t>{Block[2], Block[0]}));  // not even sorted
        }
        EXPECT_EQ(S.Label3, c.Help);
        EXPECT_EQ(S.Fig(Block[0]).PlotNumber, "旧");
    }
    EXPECT_TRUE(Sent.empty());
    EXPECT_TRUE(View.Marks.empty());
}

TEST_F(Numbering, ASetInTheBlockIsRelabelled) {
    // b has a co-owner record on top of it.
    const std::int32_t b = Block[1], copy = AddPlot(S.Fig(b).X1, S.Fig(b).Y1, "000034", "旧(2)");
    SetHousehold(b, "000012");
    S.Fig(b).PlotNumber = "旧(1)";
    MakeSet({copy, b}, S.Fig(b).PlotId);
    Select({Block[0], b, copy, Block[2]});
    ASSERT_TRUE(NumberSelectedPlots(S, O::RowsLeftTopFirst, Defaults));
    EXPECT_EQ(S.Fig(Block[0]).PlotNumber, "北上段 0001");
    EXPECT_EQ(S.Fig(b).PlotNumber, "北上段 0002(1)");
    EXPECT_EQ(S.Fig(copy).PlotNumber, "北上段 0002(2)");
    EXPECT_EQ(S.Fig(Block[2]).PlotNumber, "北上段 0004");
    // One list: the labels' own list stays in the buffer.
    EXPECT_EQ(Sent, std::vector<TLines>{List("変更", {Line(Block[0]), Line(b), Line(copy), Line(Block[2])})});
    for (const std::int32_t i : {Block[0], b, copy, Block[2]}) EXPECT_EQ(S.Fig(i).Selected, 1);
}

// ---- grades --------------------------------------------------------------------

class Grades : public PlotOpsTest {};

TEST_F(Grades, APolygonPlotAndItsEdgesTakeTheGrade) {
    const std::int32_t e1 = AddFigure(fkPolygonEdge, 0, 0), e2 = AddFigure(fkPolygonEdge, 0, 0);
    const std::int32_t poly = AddPlot(0, 0, "000012", "南1");
    S.Fig(poly).Kind = fkPolygon;
    S.Fig(poly).Grade = "一等";
    for (const std::int32_t e : {e1, e2}) S.Fig(e).OwnerIndex = poly;
    const std::int32_t other = AddPlot(5000, 0);
    Select({poly, other});
    View.Page = 2;

    AssignGradeToSelection(S, "特,別\"");
    for (const std::int32_t i : {poly, e1, e2, other}) EXPECT_EQ(S.Fig(i).Grade, "特別") << i;
    EXPECT_EQ(Step().Label, "等級割当てを取消し");
    THistoryData d;
    d.AddNumber(poly);
    d.AddText("一等");
    d.AddNumber(other);
    d.AddText("");
    EXPECT_EQ(Step().Data, d);
    EXPECT_EQ(Sent, std::vector<TLines>{List("変更", {Line(poly), Line(other)})});
    ASSERT_EQ(View.Marks.size(), 1u);
    ASSERT_EQ(View.Marks[0].size(), 2u);
    EXPECT_EQ(View.Marks[0][0].BrushColor, std::optional<TColor>(0xFF0000));
    EXPECT_EQ(View.Marks[0][0].PenColor, 255);
    EXPECT_EQ(View.Focused, 1);
    EXPECT_EQ(S.LedgerUnchanged, 0);

    AssignGradeToSelection(S, "");
    EXPECT_EQ(S.Fig(e2).Grade, "");
    EXPECT_EQ(S.Fig(other).Grade, "");
    EXPECT_EQ(GradeButtonHint(S, ""), "選択されている墓地の等級を「空欄」で割当てます。");
    EXPECT_EQ(GradeButtonHint(S, "特別"), "選択されている墓地の等級を「特別」で割当てます。");

    // Nothing selected: an empty step, and a list of the header alone.
    Select({});
    Sent.clear();
    const std::int32_t steps = S.HistoryCount;
    AssignGradeToSelection(S, "特別");
    EXPECT_EQ(S.HistoryCount, steps + 1);
    EXPECT_TRUE(Step().Data.Empty());
    EXPECT_EQ(Sent, std::vector<TLines>{List("変更", {})});
}

TEST_F(Grades, TheCurrentPlotsGradeField) {
    const std::int32_t a = AddPlot(0, 0, "000012"), b = AddPlot(2000, 0);
    S.Fig(a).Grade = "一等";
    S.Fig(b).Grade = "一等";
    std::vector<std::string> grades{"一等"};
    Select({a, b});

    BeginGradeEdit(S, "一等");
    EXPECT_EQ(S.Search.EditingField, 1);
    EXPECT_EQ(EndGradeEdit(S, "特別", false, grades), "特別");  // Enter ...
    EXPECT_EQ(EndGradeEdit(S, "特別", false, grades), "特別");  // ... and Enter again
    EXPECT_EQ(S.Search.EditingField, 0);
    EXPECT_EQ(S.Fig(a).Grade, "特別");
    EXPECT_EQ(S.Fig(b).Grade, "一等");  // only the current plot
    EXPECT_EQ(Sent, std::vector<TLines>{List("変更", {Line(a)})});
    EXPECT_EQ(grades, (std::vector<std::string>{"一等", "特別"}));
    EXPECT_EQ(S.HistoryCount, 1);  // no step

    // A name already in the list is not added twice; separators are stripped.
    BeginGradeEdit(S, "特別");
    EXPECT_EQ(EndGradeEdit(S, "一,等", false, grades), "一等");
    EXPECT_EQ(S.Fig(a).Grade, "一等");
    EXPECT_EQ(grades.size(), 2u);

    // While the fields take search criteria a plot may still be current (picked or
    // asked for by the ledger): the text is its grade all the same.
    Sent.clear();
    BeginGradeEdit(S, "一等");
    EXPECT_EQ(EndGradeEdit(S, "並", true, grades), "並");
    EXPECT_EQ(S.Search.EditingField, 0);
    EXPECT_EQ(S.Fig(a).Grade, "並");
    EXPECT_EQ(Sent, std::vector<TLines>{List("変更", {Line(a)})});
    EXPECT_EQ(grades.size(), 3u);

    // With no current hit: nothing at all; a criterion keeps the fields marked.
    Sent.clear();
    Select({});
    BeginGradeEdit(S, "並");
    EXPECT_EQ(EndGradeEdit(S, "上", true, grades), "上");
    EXPECT_EQ(S.Search.EditingField, 1);
    BeginGradeEdit(S, "並");
    EXPECT_EQ(EndGradeEdit(S, "上", false, grades), "上");
    EXPECT_EQ(S.Search.EditingField, 0);
    EXPECT_EQ(S.Fig(a).Grade, "並");
    EXPECT_TRUE(Sent.empty());
    EXPECT_EQ(grades.size(), 3u);
}

TEST_F(Grades, ATypedNameJoinsTheList) {
    std::vector<std::string> grades{"一等"};
    EXPECT_EQ(KeepTypedGrade("一等", 0, grades), "一等");  // chosen from the list
    EXPECT_EQ(grades.size(), 1u);
    EXPECT_EQ(KeepTypedGrade("特\"別", -1, grades), "特別");
    EXPECT_EQ(KeepTypedGrade("一等", -1, grades), "一等");  // typed: even when it is there
    EXPECT_EQ(grades, (std::vector<std::string>{"一等", "特別", "一等"}));
}

// ---- figures into plots and back ----------------------------------------------

class Conversion : public PlotOpsTest {
protected:
    Conversion() { View.Page = 4; }
};

TEST_F(Conversion, ClosedFiguresBecomePlots) {
    S.MaxPlotId = 40;
    const std::int32_t line = AddFigure(fkLine, 0, 0), rect = AddFigure(fkRectangle, 0, 0, 3000, 2000);
    const std::int32_t r2 = AddFigure(fkRectangle, 5000, 0), r3 = AddFigure(fkEllipse, 9000, 0);
    Select({line, rect, r2, r3});

    EXPECT_EQ(ConvertSelectionToPlots(S), 3);
    EXPECT_EQ(S.Fig(line).IsPlot, 0);
    EXPECT_EQ(S.Fig(rect).PlotId, 41);
    EXPECT_EQ(S.Fig(r2).PlotId, 42);
    EXPECT_EQ(S.Fig(r3).PlotId, 43);
    EXPECT_EQ(S.Fig(r3).IsPlot, 1);
    EXPECT_EQ(S.MaxPlotId, 43);
    EXPECT_EQ(Step().Label, "図形の墓地化を取消す");
    THistoryData d;
    for (const std::int32_t i : {rect, r2, r3}) d.AddNumber(i);
    EXPECT_EQ(Step().Data, d);
    EXPECT_EQ(Sent, std::vector<TLines>{List("追加", {"41,0,000000,,,0,0,図面1", Line(r2), Line(r3)})});
    EXPECT_EQ(S.Label3, "3個の図形を墓地化しました。");
    EXPECT_EQ(Ui.Sleeps, std::vector<int>{100});
    ASSERT_EQ(View.Marks.size(), 1u);
    EXPECT_EQ(View.Marks[0][0].Corners, (std::array<double, 8>{0, 0, 3000, 0, 3000, 2000, 0, 2000}));
    EXPECT_EQ(View.Repaints, 1);
    EXPECT_EQ(S.LedgerUnchanged, 0);
}

TEST_F(Conversion, NothingConvertible) {
    std::vector<std::int32_t> open;
    for (const std::int32_t kind : {fkLine, fkText, fkDimension, fkLeader, fkCurve}) open.push_back(AddFigure(kind, 0, 0));
    const std::int32_t plot = AddPlot(0, 0);
    for (const auto& [selection, help] : {std::pair{open, std::string("墓地化できる図形がありません。（直線・単独曲線・テキスト・寸法線・引出し線）")},
                                         std::pair{std::vector<std::int32_t>{plot}, std::string("墓地化できる図形がありません。（直線・単独曲線・テキスト・寸法線・引出し線）")},
                                         std::pair{std::vector<std::int32_t>{}, std::string("選択されている図形がありません。")}}) {
        Select(selection);
        const std::int32_t steps = S.HistoryCount;
        EXPECT_EQ(ConvertSelectionToPlots(S), 0);
        EXPECT_EQ(S.Label3, help);
        EXPECT_EQ(S.HistoryCount, steps);
    }
    EXPECT_EQ(Ui.Beeps, 3);
    EXPECT_TRUE(Sent.empty());
    EXPECT_EQ(S.MaxPlotId, 1);
}

TEST_F(Conversion, APolygonAndItsEdgesShareOneKey) {
    S.MaxPlotId = 7;
    const std::int32_t stray = AddFigure(fkPolygonEdge, 0, 0);  // an edge of nothing selected
    const std::int32_t e1 = AddFigure(fkPolygonEdge, 0, 0), e2 = AddFigure(fkPolygonEdge, 0, 0);
    const std::int32_t poly = AddFigure(fkPolygon, 0, 0);
    for (const std::int32_t e : {e1, e2}) S.Fig(e).OwnerIndex = poly;
    Select({stray, e1, e2, poly});

    EXPECT_EQ(ConvertSelectionToPlots(S), 2);  // the stray edge has no owner: it is its own figure
    for (const std::int32_t i : {e1, e2, poly}) {
        EXPECT_EQ(S.Fig(i).PlotId, 9) << i;
        EXPECT_EQ(S.Fig(i).IsPlot, 1) << i;
    }
    EXPECT_EQ(Sent.at(0), List("追加", {Line(stray), Line(poly)}));
}

TEST_F(Conversion, PlotsTurnBackAfterTheQuestion) {
    const std::int32_t owned = AddPlot(0, 0, "000012", "北上段001"), free = AddPlot(3000, 0, "0", "北上段002");
    S.Fig(owned).Grade = "特等";
    S.Fig(owned).SourceIndex = 3;
    Select({owned, free});
    const std::string ownedBefore = Line(owned), freeBefore = Line(free);
    const TDateRec before = S.Fig(owned);

    Ui.Answers = {mrNo};
    EXPECT_EQ(ConvertSelectionToFigures(S), 0);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "檀家名、割当て済みの墓地が1件あります。\r図形化すると、墓地としては削除されます。よいですか？");
    EXPECT_EQ(Ui.Shown[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(S.Fig(owned).Text, "000012");
    EXPECT_TRUE(Sent.empty());

    Ui.Answers = {mrYes};
    const std::int32_t steps = S.HistoryCount;
    EXPECT_EQ(ConvertSelectionToFigures(S), 2);
    EXPECT_EQ(S.HistoryCount, steps + 1);
    EXPECT_EQ(Step().Label, "墓地の図形化を取消す");
    ASSERT_EQ(Step().Data.Size(), 34u);
    EXPECT_EQ(*Step().Data.Number(1), before.PlotId);
    EXPECT_EQ(*Step().Data.Text(3), "000012");
    EXPECT_EQ(*Step().Data.Number(4), 1);  // shown, not set aside
    EXPECT_EQ(*Step().Data.Number(6), 3);
    EXPECT_EQ(*Step().Data.Text(14), "特等");
    EXPECT_EQ(*Step().Data.Text(15), "北上段001");
    EXPECT_EQ(*Step().Data.Text(16), before.FontName);
    EXPECT_EQ(Sent, std::vector<TLines>{List("削除", {ownedBefore, freeBefore})});
    const TDateRec& r = S.Fig(owned);
    EXPECT_EQ(r.IsPlot, 0);
    EXPECT_EQ(r.PlotId, 0);
    EXPECT_EQ(r.Text, "0");
    EXPECT_EQ(r.PlotNumber, "000000");
    EXPECT_EQ(r.HouseName, "空");
    EXPECT_EQ(r.Grade + r.HeadName + r.PlotRemarks, "");
    EXPECT_EQ(r.SourceIndex, 0);
    EXPECT_EQ(S.Label3, "2個の墓地を図形化しました。");
    EXPECT_EQ(Ui.Sleeps, std::vector<int>{100});
    EXPECT_EQ(View.Marks.at(0).size(), 2u);

    // No plot left: refused without a question.
    EXPECT_EQ(ConvertSelectionToFigures(S), 0);
    EXPECT_EQ(S.Label3, "図形化できる墓地がありません。");
    EXPECT_EQ(Ui.Shown.size(), 2u);
}

TEST_F(Conversion, SetAsideCopiesGoWithTheirLinesAndEntries) {
    // The original record first, set aside; the co-owner's copy after it, shown.
    const std::int32_t hidden = AddPlot(0, 0, "000012", "西1(1)"), shown = AddPlot(0, 0, "000034", "西1(2)");
    MakeSet({shown, hidden}, S.Fig(hidden).PlotId);
    Select({hidden, shown});
    const std::string hiddenBefore = Line(hidden), shownBefore = Line(shown);
    Ui.Answers = {mrYes};

    EXPECT_EQ(ConvertSelectionToFigures(S), 1);
    EXPECT_NE(Ui.Shown.at(0).Text.find("墓地が2件"), std::string::npos);
    EXPECT_EQ(S.Fig(hidden).Deleted, 1);
    EXPECT_EQ(S.Fig(hidden).IsPlot, 0);
    EXPECT_EQ(S.Fig(shown).Deleted, 0);
    EXPECT_EQ(S.Fig(shown).IsPlot, 0);
    EXPECT_EQ(S.Fig(shown).ShareSetId, 0);
    // Each record has its entry, the removed copy its old line.
    ASSERT_EQ(Step().Data.Size(), 34u);
    EXPECT_EQ(*Step().Data.Number(0), shown);
    EXPECT_EQ(*Step().Data.Number(17), hidden);
    EXPECT_EQ(*Step().Data.Text(20), "000012");
    EXPECT_EQ(*Step().Data.Number(21), 0);  // it was set aside
    EXPECT_EQ(Sent, std::vector<TLines>{List("削除", {shownBefore, hiddenBefore})});
    EXPECT_EQ(Listed(), std::vector<std::int32_t>{shown});
}

TEST_F(Conversion, ASetAsideCopySelectedWithoutItsShownCopyIsRemoved) {
    const std::int32_t hidden = AddPlot(0, 0, "000012", "西1(1)"), shown = AddPlot(0, 0, "000034", "西1(2)");
    MakeSet({shown, hidden}, S.Fig(hidden).PlotId);
    Select({hidden});
    const std::string hiddenBefore = Line(hidden);
    Ui.Answers = {mrYes};

    EXPECT_EQ(ConvertSelectionToFigures(S), 1);
    EXPECT_EQ(S.Fig(hidden).Deleted, 1) << "the ledger is told it goes: no figure stays under the plot";
    EXPECT_EQ(S.Fig(hidden).IsPlot, 0);
    EXPECT_EQ(Sent, std::vector<TLines>{List("削除", {hiddenBefore})});
    ASSERT_EQ(Step().Data.Size(), 17u);
    EXPECT_EQ(*Step().Data.Number(0), hidden);
    EXPECT_EQ(*Step().Data.Number(4), 0);  // it was set aside
    EXPECT_TRUE(Listed().empty());
    // The shown copy was not selected and stays as it was.
    EXPECT_EQ(S.Fig(shown).Deleted, 0);
    EXPECT_EQ(S.Fig(shown).IsPlot, 1);
    EXPECT_EQ(S.Fig(shown).Text, "000034");
}

}  // namespace
}  // namespace tarvek::testing
