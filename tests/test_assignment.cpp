// Household query search, assignment in its three modes, shared-plot labels and the
// household fields of the search page, on a small drawing without a form.
#include <gtest/gtest.h>

#include <limits>

#include "document/drawing_state.h"
#include "households/assignment.h"
#include "households/household_search.h"

namespace tarvek {
namespace {

THouseholdRow Row(std::initializer_list<const char*> cells) {
    THouseholdRow r;
    std::size_t c = 0;
    for (const char* cell : cells) r[c++] = cell;
    return r;
}

struct TFakeHouseholdView : THouseholdView {
    THouseholdGrid Grid = THouseholdGrid::Table;
    int Row = 1;
    THouseholdRow Query;
    std::vector<THouseholdRow> Shown;
    int Left = 0;
    std::array<std::string, 9> Fields{"x", "x", "x", "x", "x", "x", "x", "x", "x"};

    THouseholdGrid VisibleHouseholdGrid() const override { return Grid; }
    int CurrentHouseholdRow() const override { return Row; }
    void SetCurrentHouseholdRow(int row) override { Row = row; }
    THouseholdRow QueryRow() const override { return Query; }
    void ShowResultGrid(const std::vector<THouseholdRow>& rows) override {
        Grid = THouseholdGrid::Results;
        Shown = rows;
    }
    void LeaveHouseholdSearchMode() override {
        Grid = THouseholdGrid::Table;
        ++Left;
    }
    void ShowHouseholdFields(const std::array<std::string, 9>& f) override { Fields = f; }
};

const std::vector<THouseholdRow> Table{
    Row({"000012", "山田家", "山田太郎", "北区", "北浜県若葉町", "1-2", "0123", "5", "備考"}),
    Row({"000120", "川上家", "川上花子", "南区", "南浜県", "3-4", "0456", "7", ""}),
    Row({"000034", "森家", "森一郎", "北区", "西原郡北町", "", "0789", "x", ""}),
    Row({"abc", "不正家", "不正", "", "", "", "", "", ""}),
};

// ---- query search --------------------------------------------------------------

struct TSearchCase {
    const char* Name;
    THouseholdRow Query;
    std::vector<std::string> Ids;  // expected hits, by ID
};

TEST(HouseholdSearch, FiltersByTheQueryRow) {
    const TSearchCase cases[] = {
        {"id by value", Row({"12"}), {"000012"}},
        {"id padded", Row({"000120"}), {"000120"}},
        {"id with blanks", Row({" 34 "}), {"000034"}},
        {"address substring", Row({"", "", "", "", "北"}), {"000012", "000034"}},
        {"two cells", Row({"", "", "", "北区", "若葉"}), {"000012"}},
        {"case and untrimmed", Row({"", "家 "}), {}},
        {"query id not a number", Row({"1x"}), {}},
        {"empty query", Row({}), {}},
        // The last byte of 北 (E5 8C 97) followed by 浜's first bytes is not a character.
        {"bytes are not characters", Row({"", "", "", "", "\x97\xE6\xB5"}), {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> ids;
        for (const auto& r : FilterHouseholds(Table, c.Query)) ids.push_back(r[0]);
        EXPECT_EQ(ids, c.Ids) << c.Name;
    }
}

TEST(HouseholdSearch, NoHitShowsOneNoMatchRow) {
    TScriptedUi ui;
    TDrawingState s(ui);
    s.Households = Table;
    TFakeHouseholdView view;
    view.Grid = THouseholdGrid::Query;
    view.Query = Row({"999"});
    RunHouseholdGridSearch(s, view);
    ASSERT_EQ(view.Shown.size(), 1u);
    for (const auto& cell : view.Shown[0]) EXPECT_EQ(cell, "合致無し");
    EXPECT_EQ(s.HouseholdOps.ResultRows, view.Shown);

    view.Query = Row({"12"});
    RunHouseholdGridSearch(s, view);
    ASSERT_EQ(view.Shown.size(), 1u);
    EXPECT_EQ(view.Shown[0], Table[0]);
    EXPECT_EQ(view.Grid, THouseholdGrid::Results);
}

// ---- assignment ----------------------------------------------------------------

class Assign : public ::testing::Test {
protected:
    Assign() : S(Ui) {
        S.Households = Table;
        S.PlotKindWord = "墓地";
        S.SetHelpLine("");
        S.HouseholdOps.SendChanges = [this](const TLines& list, bool noEnd) {
            Sent.push_back(list);
            NoEnd.push_back(noEnd);
        };
        S.HouseholdOps.SelectNextSearchHit = [this](TDrawingState&) { ++NextHits; };
        AddPlot("0", "北上段001", 11);  // 1: free
        AddPlot("000099", "北上段002", 12);  // 2: owned
        S.MaxPlotId = 12;
        S.Fig(1).SourceIndex = 3;
        S.Fig(2).PlotRemarks = "古い備考";
        S.Fig(2).Grade = "A";
    }

    TDateRec& AddPlot(const char* text, const char* number, std::int32_t plotId) {
        TDateRec& r = S.Fig(++S.FigureCount);
        r.Kind = fkPlot;
        r.IsPlot = 1;
        r.Text = text;
        r.PlotNumber = number;
        r.PlotId = plotId;
        r.DrawingName = "図面1";
        r.HouseName = text == std::string("0") ? "空" : "旧家";
        return r;
    }

    // Selects the given records, the first one current.
    void Select(std::initializer_list<std::int32_t> indices) {
        S.SelectedList = {0};
        for (std::int32_t i : indices) {
            S.Fig(i).Selected = 1;
            S.SelectedList.push_back(i);
        }
        S.SelectedCount = static_cast<std::int32_t>(indices.size());
        S.SelectedCursor = 1;
        S.CurrentHitIndex = *indices.begin();
    }

    const Trireki& Top() const { return S.History[static_cast<std::size_t>(S.HistoryCount)]; }

    TScriptedUi Ui;
    TDrawingState S;
    TFakeHouseholdView View;
    std::vector<TLines> Sent;
    std::vector<bool> NoEnd;
    int NextHits = 0;
};

TEST_F(Assign, PlainAssignmentToAFreePlot) {
    Select({1});
    View.Row = 1;
    AssignHousehold(S, View);

    const TDateRec& p = S.Fig(1);
    EXPECT_EQ(p.Text, "000012");
    EXPECT_EQ(p.HouseName, "山田家");
    EXPECT_EQ(p.HeadName, "山田太郎");
    EXPECT_EQ(p.DistrictName, "北区");
    EXPECT_EQ(p.Address1, "北浜県若葉町");
    EXPECT_EQ(p.Address2, "1-2");
    EXPECT_EQ(p.Phone, "0123");
    EXPECT_EQ(p.DistrictId, 5);
    EXPECT_EQ(p.SourceIndex, 3);
    EXPECT_EQ(p.FontName, S.CurFontName);
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_EQ(Top().Label, "檀家セットを取消す");
    // What the household went over, for the undo: index, district, source index, the
    // household ID and texts, the set-aside flag (inverted), the set and the font.
    ASSERT_EQ(Top().Data.Size(), 15u);
    EXPECT_EQ(*Top().Data.Number(0), 1);
    EXPECT_EQ(*Top().Data.Text(3), "0");
    EXPECT_EQ(*Top().Data.Text(4), "空");
    EXPECT_EQ(*Top().Data.Number(12), 1);
    EXPECT_EQ(*Top().Data.Number(13), 0);
    EXPECT_TRUE(Top().Data.Text(14));
    ASSERT_EQ(Sent.size(), 1u);
    EXPECT_EQ(Sent[0], (TLines{"-999,-999,,,,-999,-999,変更", "11,000012,北上段001,,,3,5,図面1"}));
    EXPECT_TRUE(NoEnd[0]);
    EXPECT_EQ(NextHits, 1);
    EXPECT_EQ(View.Row, 2);
    EXPECT_EQ(S.LedgerTargetId, 12);
    EXPECT_EQ(S.LedgerUnchanged, 0);
}

TEST_F(Assign, RowStaysOnTheLastRowAndDistrictIdDefaults) {
    Select({1});
    View.Row = 3;  // 000034 with district "x"
    AssignHousehold(S, View);
    EXPECT_EQ(S.Fig(1).DistrictId, 0);
    EXPECT_EQ(View.Row, 4);

    // The one row of the result grid is its last: assigned, and the row stays.
    S.HouseholdOps.ResultRows = {Table[1]};
    View.Grid = THouseholdGrid::Results;
    View.Row = 1;
    S.Fig(2).Text = "0";
    Select({2});
    AssignHousehold(S, View);
    EXPECT_EQ(S.Fig(2).Text, "000120");
    EXPECT_EQ(View.Row, 1);
}

struct TRefusalCase {
    const char* Name;
    THouseholdGrid Grid;
    int Row;
    const char* PlotText;
    bool Selected;
    const char* Help;
    bool Deleted = false;
    std::int32_t Cursor = 1;
};

TEST_F(Assign, RefusalsChangeNothing) {
    S.HouseholdOps.ResultRows = {Row({"合致無し", "合致無し", "合致無し", "合致無し", "合致無し", "合致無し",
                                      "合致無し", "合致無し", "合致無し"})};
    const TRefusalCase cases[] = {
        {"nothing selected", THouseholdGrid::Table, 1, "0", false, "先に墓地を選んでください。"},
        {"query grid open", THouseholdGrid::Query, 1, "0", true, "検索モードでした。検索を解除し檀家全表示にしました。"},
        {"no-match row", THouseholdGrid::Results, 1, "0", true, ""},
        {"household id not a number", THouseholdGrid::Table, 4, "0", true, ""},
        {"plot text not a number", THouseholdGrid::Table, 1, "1a", true, ""},
        {"row out of range", THouseholdGrid::Table, 9, "0", true, ""},
        {"header row", THouseholdGrid::Table, 0, "0", true, ""},
        {"current plot deleted", THouseholdGrid::Table, 1, "0", true, "先に墓地を選んでください。", true},
        {"cursor past the list", THouseholdGrid::Table, 1, "0", true, "先に墓地を選んでください。", false, 2},
    };
    for (const auto& c : cases) {
        S.SetHelpLine("");
        S.Fig(1).Text = c.PlotText;
        S.Fig(1).Deleted = c.Deleted;
        if (c.Selected) Select({1});
        else S.SelectedCount = 0, S.SelectedCursor = 0;
        if (c.Selected) S.SelectedCursor = c.Cursor;
        View.Grid = c.Grid;
        View.Row = c.Row;
        const int beeps = Ui.Beeps;
        const std::int32_t steps = S.HistoryCount;
        AssignHousehold(S, View);
        EXPECT_EQ(Ui.Beeps, beeps + 1) << c.Name;
        EXPECT_EQ(S.HistoryCount, steps) << c.Name;
        EXPECT_EQ(S.Fig(1).Text, c.PlotText) << c.Name;
        EXPECT_EQ(S.Label3, c.Help) << c.Name;
        EXPECT_EQ(View.Row, c.Row) << c.Name;
    }
    EXPECT_TRUE(Sent.empty());
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_EQ(View.Left, 1);
}

struct TQuestionCase {
    const char* Name;
    std::vector<int> Answers;
    int Questions;
    const char* Label;  // the step pushed, or empty
};

TEST_F(Assign, QuestionsDecideTheMode) {
    const TQuestionCase cases[] = {
        {"used elsewhere, No", {mrNo}, 1, ""},
        {"used elsewhere, Yes, then Cancel", {mrYes, mrCancel}, 2, ""},
        {"used elsewhere, Yes, then Yes shares", {mrYes, mrYes}, 2, "共有データセットを取消す"},
        {"used elsewhere, Yes, then No replaces", {mrYes, mrNo}, 2, "檀家セット入替えを取消す"},
    };
    for (const auto& c : cases) {
        TScriptedUi ui;
        TDrawingState s(ui);
        s.Households = Table;
        s.PlotKindWord = "墓地";
        for (int k = 0; k < 3; ++k) {
            TDateRec& r = s.Fig(++s.FigureCount);
            r.Kind = fkPlot;
            r.IsPlot = 1;
            r.PlotId = k + 1;
            r.Text = k == 2 ? "000099" : "000012";
            r.PlotNumber = "P";
        }
        s.MaxPlotId = 3;
        s.Fig(3).Selected = 1;
        s.SelectedList = {0, 3};
        s.SelectedCount = 1;
        s.SelectedCursor = 1;
        s.CurrentHitIndex = 3;
        ui.Answers.assign(c.Answers.begin(), c.Answers.end());
        int openAfter = 0;
        s.HouseholdOps.QuestionsOpen = 0;
        TFakeHouseholdView view;
        const std::int32_t steps = s.HistoryCount;
        AssignHousehold(s, view);
        openAfter = s.HouseholdOps.QuestionsOpen;
        ASSERT_EQ(static_cast<int>(ui.Shown.size()), c.Questions) << c.Name;
        EXPECT_EQ(ui.Shown[0].Text, "既に　山田太郎　は2件、登録されてます。\r更に3件目を登録しますか？");
        EXPECT_EQ(ui.Shown[0].Buttons, unsigned{mbYes | mbNo});
        EXPECT_EQ(ui.Shown[0].Type, TMsgDlgType::mtInformation);
        if (c.Questions == 2) {
            EXPECT_EQ(ui.Shown[1].Text,
                      "既にこの墓地には檀家が登録されてます。この墓地を複数檀家による共有所有にしますか？\r\r"
                      "　　　　共有使用=[はい] 、 入替え=[いいえ]");
            EXPECT_EQ(ui.Shown[1].Buttons, unsigned{mbYes | mbNo | mbCancel});
        }
        if (*c.Label) {
            EXPECT_EQ(s.History[static_cast<std::size_t>(s.HistoryCount)].Label, c.Label) << c.Name;
        } else {
            EXPECT_EQ(s.HistoryCount, steps) << c.Name;
            EXPECT_EQ(s.Fig(3).Text, "000099") << c.Name;
            EXPECT_EQ(view.Row, 1) << c.Name;
        }
        EXPECT_EQ(openAfter, 0) << c.Name;
    }
}

TEST_F(Assign, QuestionsHoldThePollBack) {
    Select({2});
    std::vector<int> open;
    struct TWatchingUi : TScriptedUi {
        TDrawingState* S = nullptr;
        std::vector<int>* Open = nullptr;
        int MessageDlg(const std::string& t, TMsgDlgType ty, unsigned b, const std::string& c) override {
            Open->push_back(S->HouseholdOps.QuestionsOpen);
            return TScriptedUi::MessageDlg(t, ty, b, c);
        }
    } ui;
    TDrawingState s(ui);
    ui.S = &s;
    ui.Open = &open;
    s.Households = Table;
    s.FigureCount = 1;
    s.Fig(1) = S.Fig(2);
    s.SelectedList = {0, 1};
    s.SelectedCount = 1;
    s.SelectedCursor = 1;
    ui.Answers = {mrCancel};
    AssignHousehold(s, View);
    EXPECT_EQ(open, std::vector<int>{1});
    EXPECT_EQ(s.HouseholdOps.QuestionsOpen, 0);
}

TEST_F(Assign, SharedAssignmentFormsASet) {
    Select({2});
    Ui.Answers = {mrYes};
    View.Row = 2;  // 000120
    AssignHousehold(S, View);

    ASSERT_EQ(S.FigureCount, 3);
    const TDateRec& old = S.Fig(2);
    const TDateRec& added = S.Fig(3);
    EXPECT_EQ(old.Text, "000099");
    EXPECT_EQ(old.PlotRemarks, "古い備考");
    EXPECT_EQ(old.ShareSetId, 12);
    EXPECT_EQ(old.SetAside, 1);
    EXPECT_EQ(added.Text, "000120");
    EXPECT_EQ(added.PlotId, 13);
    EXPECT_EQ(S.MaxPlotId, 13);
    EXPECT_EQ(added.ShareSetId, 12);
    EXPECT_EQ(added.SetAside, 0);
    EXPECT_EQ(added.Grade, "A");
    EXPECT_EQ(added.PlotRemarks, "");
    EXPECT_EQ(old.PlotNumber, "北上段002(1)");
    EXPECT_EQ(added.PlotNumber, "北上段002(2)");
    EXPECT_EQ(S.CurrentHitIndex, 3);
    EXPECT_EQ(S.LedgerTargetId, 120);

    EXPECT_EQ(Top().Label, "共有データセットを取消す");
    THistoryData d;
    d.AddNumber(2);  // the count before the copy
    d.AddNumber(2);  // the plot joining: index, old set id, set aside was clear
    d.AddNumber(0);
    d.AddNumber(1);
    EXPECT_EQ(Top().Data, d);

    ASSERT_EQ(Sent.size(), 2u);
    EXPECT_EQ(Sent[0], (TLines{"-999,-999,,,,-999,-999,追加", "13,000120,北上段002,,A,3,7,図面1"}));
    EXPECT_TRUE(NoEnd[0]);
    EXPECT_EQ(Sent[1], (TLines{"-999,-999,,,,-999,-999,変更", "12,000099,北上段002(1),古い備考,A,0,0,図面1",
                               "13,000120,北上段002(2),,A,3,7,図面1"}));
    EXPECT_FALSE(NoEnd[1]);
    EXPECT_EQ(NextHits, 0);
    EXPECT_EQ(View.Row, 3);
}

TEST_F(Assign, SharedAssignmentWithoutRoomChangesNothing) {
    const std::int32_t figures = S.FigureCount;
    for (const bool keysLeft : {true, false}) {
        SCOPED_TRACE(keysLeft ? "no record left" : "no plot key left");
        Ui.Shown.clear();
        const std::int32_t count = keysLeft ? MaxFigures - 1 : figures;
        const std::int32_t maxId = keysLeft ? 12 : std::numeric_limits<std::int32_t>::max();
        Select({2});
        S.FigureCount = count;  // records 3.. are empty but count as figures
        S.MaxPlotId = maxId;
        Ui.Answers = {mrYes};
        const std::int32_t steps = S.HistoryCount;
        AssignHousehold(S, View);
        EXPECT_EQ(S.FigureCount, count);
        EXPECT_EQ(S.HistoryCount, steps);
        EXPECT_EQ(S.MaxPlotId, maxId);
        EXPECT_EQ(S.Fig(2).ShareSetId, 0);
        EXPECT_EQ(S.Fig(2).SetAside, 0);
        ASSERT_EQ(Ui.Shown.size(), 2u);
        EXPECT_EQ(Ui.Shown[1].Text, "これ以上データを置けません");
        EXPECT_TRUE(Sent.empty());
        EXPECT_EQ(View.Row, 1);
        EXPECT_EQ(S.LedgerUnchanged, 1);
    }
}

TEST_F(Assign, SharedAssignmentInAFullStoreCompactsFirst) {
    // A deleted record below the plot and the rest of the store taken: the compaction
    // moves the plot down by one before its copy is added.
    S.FigureCount = MaxFigures - 1;
    S.Fig(1).Deleted = 1;
    Select({2});
    Ui.Answers = {mrYes};
    View.Row = 2;  // 000120
    AssignHousehold(S, View);

    ASSERT_EQ(Ui.Shown.size(), 1u) << "the sharing question only";
    ASSERT_EQ(S.FigureCount, MaxFigures - 1);
    const TDateRec& old = S.Fig(1);
    const TDateRec& added = S.Fig(S.FigureCount);
    EXPECT_EQ(old.Text, "000099");
    EXPECT_EQ(old.ShareSetId, 12);
    EXPECT_EQ(old.SetAside, 1);
    EXPECT_EQ(added.Text, "000120");
    EXPECT_EQ(added.PlotId, 13);
    EXPECT_EQ(added.ShareSetId, 12);
    EXPECT_EQ(S.CurrentHitIndex, S.FigureCount);
    // The step lies on the emptied history, counted from the compacted store.
    EXPECT_EQ(Top().Label, "共有データセットを取消す");
    EXPECT_EQ(S.HistoryCount, 2);
    EXPECT_EQ(*Top().Data.Number(0), MaxFigures - 2);
    EXPECT_EQ(*Top().Data.Number(1), 1);
    ASSERT_EQ(Sent.size(), 2u);
    EXPECT_EQ(Sent[0], (TLines{"-999,-999,,,,-999,-999,追加", "13,000120,北上段002,,A,0,7,図面1"}));
}

TEST_F(Assign, ReplaceTakesThePlotOver) {
    struct TCase {
        const char* Name;
        std::int32_t SetId;  // of the current plot and of a second selected copy
        std::int32_t Expected;
    };
    const TCase cases[] = {{"no set stays in none", 0, 0}, {"a set is kept", 12, 12}};
    for (const auto& c : cases) {
        Sent.clear();
        S.Fig(2).Text = "000099";
        S.Fig(2).HouseName = "旧家";
        S.Fig(2).PlotRemarks = "古い備考";
        S.Fig(2).ShareSetId = c.SetId;
        Select({2});
        Ui.Answers = {mrNo};
        View.Row = 1;
        AssignHousehold(S, View);
        EXPECT_EQ(S.Fig(2).Text, "000012") << c.Name;
        EXPECT_EQ(S.Fig(2).ShareSetId, c.Expected) << c.Name;
        EXPECT_EQ(S.Fig(2).PlotRemarks, "") << c.Name;
        EXPECT_EQ(S.Fig(2).Grade, "A") << c.Name;
        EXPECT_EQ(Top().Label, "檀家セット入替えを取消す") << c.Name;
        ASSERT_EQ(Top().Data.Size(), 15u) << c.Name;
        EXPECT_EQ(*Top().Data.Number(0), 2);
        EXPECT_EQ(*Top().Data.Text(3), "000099");
        EXPECT_EQ(*Top().Data.Text(4), "旧家");
        EXPECT_EQ(*Top().Data.Text(10), "古い備考");
        EXPECT_EQ(*Top().Data.Text(11), "A");
        EXPECT_EQ(*Top().Data.Number(13), c.SetId);
        ASSERT_EQ(Sent.size(), 1u) << c.Name;
        EXPECT_EQ(Sent[0][0], "-999,-999,,,,-999,-999,変更");
        EXPECT_TRUE(NoEnd[0]);
        EXPECT_EQ(NextHits, 0);
    }
}

TEST_F(Assign, CompoundParentAndItsMembers) {
    // 3 polygon (the plot), 4 and 5 its edges.
    TDateRec& parent = AddPlot("0", "南001", 20);
    parent.Kind = fkPolygon;
    for (int k = 0; k < 2; ++k) {
        TDateRec& m = AddPlot("0", "南001", 0);
        m.Kind = fkPolygonEdge;
        m.IsPlot = 0;
        m.OwnerIndex = 3;
        m.Grade = "B";
    }
    S.MaxPlotId = 20;
    Select({3});
    AssignHousehold(S, View);
    EXPECT_EQ(S.Fig(4).Text, "000012");
    EXPECT_EQ(S.Fig(4).Grade, "");
    EXPECT_EQ(S.Fig(5).Grade, "");
    ASSERT_EQ(Top().Data.Size(), 45u);
    EXPECT_EQ(*Top().Data.Number(0), 3);
    EXPECT_EQ(*Top().Data.Number(15), 4);
    EXPECT_EQ(*Top().Data.Number(30), 5);
    EXPECT_EQ(*Top().Data.Text(30 + 11), "B") << "a member's grade, which the assignment clears";

    // Shared: the members are copied first, then the parent; the copies point at it.
    S.SelectedCursor = 1;
    S.CurrentHitIndex = 3;
    S.Fig(3).Grade = "C";
    Ui.Answers = {mrYes};
    View.Row = 2;
    AssignHousehold(S, View);
    ASSERT_EQ(S.FigureCount, 8);
    EXPECT_EQ(S.Fig(6).OwnerIndex, 8);
    EXPECT_EQ(S.Fig(7).OwnerIndex, 8);
    EXPECT_EQ(S.Fig(8).Kind, fkPolygon);
    EXPECT_EQ(S.Fig(8).Text, "000120");
    EXPECT_EQ(S.Fig(6).Grade, "C");
    EXPECT_EQ(S.Fig(8).PlotId, 21);
    EXPECT_EQ(S.CurrentHitIndex, 8);
    EXPECT_EQ(S.Fig(8).PlotNumber, "南001(2)");
    EXPECT_EQ(S.Fig(6).PlotNumber, "南001(2)");
    EXPECT_EQ(S.Fig(4).PlotNumber, "南001(1)");

    // Replace on the parent, now in a set: the members take the household and, since
    // the set stays, the parent's grade; the step keeps the old values of all three.
    Select({3});
    Ui.Answers = {mrNo};
    View.Row = 3;  // 000034, used nowhere yet
    AssignHousehold(S, View);
    EXPECT_EQ(Top().Label, "檀家セット入替えを取消す");
    EXPECT_EQ(Top().Data.Size(), 45u);
    EXPECT_EQ(*Top().Data.Number(15), 4);
    EXPECT_EQ(*Top().Data.Text(18), "000012");
    for (std::int32_t i : {3, 4, 5}) {
        EXPECT_EQ(S.Fig(i).Text, "000034") << i;
        EXPECT_EQ(S.Fig(i).ShareSetId, 20) << i;
    }
    EXPECT_EQ(S.Fig(4).Grade, "C");
    EXPECT_EQ(S.Fig(5).Grade, "C");
}

// ---- labels and fields ---------------------------------------------------------

TEST_F(Assign, SharedLabelsAreNumberedToTheSetSize) {
    struct TCase {
        int Size;
        const char* First;
        const char* Last;
    };
    for (const TCase& c : {TCase{3, "北上段001(1)", "北上段001(3)"}, TCase{12, "北上段001(01)", "北上段001(12)"}}) {
        TScriptedUi ui;
        TDrawingState s(ui);
        std::vector<TLines> sent;
        s.HouseholdOps.SendChanges = [&](const TLines& l, bool) { sent.push_back(l); };
        s.SelectedList = {0};
        for (int k = 1; k <= c.Size + 1; ++k) {
            TDateRec& r = s.Fig(++s.FigureCount);
            r.Kind = fkPlot;
            r.IsPlot = 1;
            r.Selected = 1;
            r.PlotNumber = k <= c.Size ? "北上段001(9)" : "北上段001(2)";
            r.ShareSetId = k <= c.Size ? 5 : 0;
            s.SelectedList.push_back(k);
        }
        s.SelectedCount = c.Size + 1;
        const TLines list = UpdateSharedPlotLabels(s, false);
        EXPECT_TRUE(sent.empty());
        EXPECT_EQ(s.Fig(1).PlotNumber, c.First);
        EXPECT_EQ(s.Fig(c.Size).PlotNumber, c.Last);
        EXPECT_EQ(s.Fig(c.Size + 1).PlotNumber, "北上段001");  // left its set
        EXPECT_EQ(list.size(), static_cast<std::size_t>(c.Size) + 1);
        for (int k = 1; k <= c.Size + 1; ++k) EXPECT_EQ(s.Fig(k).Selected, 1);
        UpdateSharedPlotLabels(s, true);
        EXPECT_EQ(sent.size(), 1u);
    }
}

TEST_F(Assign, HouseholdFieldsOfAPlot) {
    S.Fig(2).HeadName = "旧主";
    S.Fig(2).Phone = "555";
    ShowHouseholdFields(S, View, 2);
    EXPECT_EQ(View.Fields, (std::array<std::string, 9>{"北上段002", "旧家", "旧主", "555", "", "", "", "古い備考", "A"}));
    TDateRec& text = S.Fig(++S.FigureCount);
    text.Kind = fkText;
    ShowHouseholdFields(S, View, 3);  // not a plot: unchanged
    EXPECT_EQ(View.Fields[0], "北上段002");
    ShowHouseholdFields(S, View, -1);
    EXPECT_EQ(View.Fields, (std::array<std::string, 9>{}));
}

}  // namespace
}  // namespace tarvek
