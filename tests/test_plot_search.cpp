// The plot search of the search page on a small drawing without a window: the nine
// criteria, the hit order, stepping round the hits, the copies of a shared plot, the
// view on a hit, and the remarks that go to a fake ledger through the return file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "document/drawing_state.h"
#include "document/selection.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_info.h"
#include "households/plot_search.h"
#include "platform/collation.h"
#include "platform/textfile.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::ReadBytes;
using testing::TTakingLedgerUi;
using testing::TTempFolder;

struct TFakeForm : TEditorView, TLedgerView, THouseholdView, TPlotSearchView {
    TDrawingState* S = nullptr;
    int Page = 0;
    std::string Caption = "新規検索";
    int Count = -1;
    int Sunk = 0;
    int SearchFocus = 0;
    // The nine edits: what a plot shows and what the user types as criteria.
    std::array<std::string, 9> Fields{"x", "x", "x", "x", "x", "x", "x", "x", "x"};
    bool ListVisible = false;
    std::vector<TCoOwnerRow> Listed;
    int ListRow = 0;
    int HouseholdRow = 1;

    // TEditorView: the form marks the hit through the search, as the main form does.
    int ActivePageIndex() const override { return Page; }
    void ShowCurrentHit() override { ShowCurrentSearchHit(*S, *this); }
    void FocusSink() override { ++Sunk; }
    // TLedgerView
    bool RealTimeReflection() const override { return true; }
    void SetRealTimeReflection(bool) override {}
    // THouseholdView
    THouseholdGrid VisibleHouseholdGrid() const override { return THouseholdGrid::Table; }
    int CurrentHouseholdRow() const override { return HouseholdRow; }
    void SetCurrentHouseholdRow(int row) override { HouseholdRow = row; }
    THouseholdRow QueryRow() const override { return {}; }
    void ShowResultGrid(const std::vector<THouseholdRow>&) override {}
    void LeaveHouseholdSearchMode() override {}
    void ShowHouseholdFields(const std::array<std::string, 9>& f) override { Fields = f; }
    // TPlotSearchView
    THouseholdView& FieldsView() override { return *this; }
    TLedgerView& LedgerLink() override { return *this; }
    std::array<std::string, 9> SearchCriteria() const override { return Fields; }
    std::string RemarksText() const override { return Fields[7]; }
    void SetRemarksText(const std::string& text) override { Fields[7] = text; }
    std::string SearchButtonCaption() const override { return Caption; }
    void SetSearchButtonCaption(const std::string& caption) override { Caption = caption; }
    void SetSearchCount(int count) override { Count = count; }
    void FocusSearchInput() override { ++SearchFocus; }
    bool CoOwnerListVisible() const override { return ListVisible; }
    void ShowCoOwnerList(const std::vector<TCoOwnerRow>& rows, int row) override {
        Listed = rows;
        ListRow = row;
        ListVisible = true;
    }
    void HideCoOwnerList() override { ListVisible = false; }
    void SetCoOwnerRow(int row) override { ListRow = row; }
};

enum TField { fNumber, fHouse, fHead, fPhone, fDistrict, fAddress1, fAddress2, fRemarks, fGrade };

class PlotSearch : public ::testing::Test {
protected:
    PlotSearch() : S(Ui, &Form) {
        Form.S = &S;
        S.ExeFolder = Dir.Folder();
        S.PlotKindWord = "墓地";
        S.ViewBaseWidth = 764, S.ViewBaseHeight = 564;
        Ui.ReturnPath = ReturnPath();
    }

    TDateRec& AddPlot(const std::string& number, std::int32_t kind = fkPlot) {
        TDateRec& r = S.Fig(++S.FigureCount);
        r = TDateRec{};
        r.Kind = kind;
        r.IsPlot = kind == fkOldPlot ? 0 : 1;
        r.Text = "0";
        r.PlotNumber = number;
        r.PlotId = S.FigureCount;
        r.DrawingName = "図面1";
        const double x = 100000.0 * S.FigureCount;
        r.BoxX1 = x, r.BoxX2 = x + 4000, r.BoxY1 = 200000, r.BoxY2 = 203000;
        return r;
    }

    // Eight plots and a line; index order differs from plot-number order on purpose.
    void LayOutTemple() {
        Plot(AddPlot("B 0002"), "山田家", "山田　太郎", "0312", "北区", "北浜県", "1-2", "墓誌あり", "特等");
        Plot(AddPlot("a 0010"), "川上家", "川上　花子", "1203", "南区", "南浜県", "3-4", "", "一等");
        Plot(AddPlot("A 0001"), "森家", "森　一郎", "", "北区", "西原郡北町", "", "", "特等");
        Plot(AddPlot("C 0003", fkOldPlot), "山本家", "山本　進", "0399", "東区", "", "", "", "");
        Plot(AddPlot("D 0004"), "山口家", "", "0300", "北区", "", "", "", "").Deleted = 1;
        TDateRec& line = AddPlot("B 0002");
        line.Kind = fkLine;
        line.IsPlot = 0;
        line.HouseName = "山田家";
    }

    TDateRec& Plot(TDateRec& r, const char* house, const char* head, const char* phone, const char* district,
                   const char* a1, const char* a2, const char* remarks, const char* grade) {
        r.Text = "000" + std::to_string(r.PlotId);
        r.HouseName = house, r.HeadName = head, r.Phone = phone, r.DistrictName = district;
        r.Address1 = a1, r.Address2 = a2, r.PlotRemarks = remarks, r.Grade = grade;
        return r;
    }

    void Search(std::map<TField, std::string> criteria) {
        Form.Caption = "新規検索";
        PressSearchButton(S, Form);
        for (const auto& [f, text] : criteria) Form.Fields[f] = text;
        PressSearchButton(S, Form);
    }

    std::vector<std::int32_t> Hits() const { return {S.SelectedList.begin() + 1, S.SelectedList.end()}; }
    const Trireki& Top() const { return S.History[static_cast<std::size_t>(S.HistoryCount)]; }

    std::string ReturnPath() const { return Dir.File("戻し.txt"); }
    std::vector<std::string> Lists() { return Ui.Lists(); }

    TTempFolder Dir;
    TTakingLedgerUi Ui;
    TFakeForm Form;
    TDrawingState S;
};

// ---- the search ------------------------------------------------------------------

TEST_F(PlotSearch, EachFieldFindsItsPlotsInPlotNumberOrder) {
    struct TCase {
        const char* Name;
        std::map<TField, std::string> Criteria;
        std::vector<std::int32_t> Hits;
    };
    const TCase cases[] = {
        {"number, in number order", {{fNumber, " 00"}}, {3, 2, 1, 4}},
        {"number, letter case counts", {{fNumber, "a 0"}}, {2}},
        {"house name", {{fHouse, "山"}}, {1, 4}},
        {"head", {{fHead, "花子"}}, {2}},
        {"phone: inside, never empty, never deleted", {{fPhone, "03"}}, {2, 1, 4}},
        {"district", {{fDistrict, "北区"}}, {3, 1}},
        {"address 1", {{fAddress1, "浜県"}}, {2, 1}},
        {"address 2", {{fAddress2, "-4"}}, {2}},
        {"remarks", {{fRemarks, "墓誌"}}, {1}},
        {"grade", {{fGrade, "特等"}}, {3, 1}},
        {"two fields must both match", {{fDistrict, "北区"}, {fHouse, "森"}}, {3}},
        {"untrimmed", {{fHouse, " 山田"}}, {}},
        // The last byte of 北 (E5 8C 97) and the first two of 浜 (E6 B5 9C): no character.
        {"bytes are not characters", {{fAddress1, "\x97\xE6\xB5"}}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        S.FigureCount = 0;
        S.HistoryCount = 1;
        S.CurrentHitIndex = -1;  // else the cursor goes back to the last case's hit
        LayOutTemple();
        const int beeps = Ui.Beeps;
        Search(c.Criteria);

        EXPECT_EQ(Hits(), c.Hits);
        EXPECT_EQ(Form.Count, static_cast<int>(c.Hits.size()));
        EXPECT_EQ(Form.Caption, "新規検索");
        EXPECT_EQ(S.Search.EditingField, 0);
        EXPECT_EQ(S.Fig(6).Selected, 0);  // a line is never a hit
        if (c.Hits.empty()) {
            EXPECT_EQ(Ui.Beeps, beeps + 1);
            EXPECT_EQ(S.HasSelection, 0);
            EXPECT_EQ(S.HitCenterX, -999.0);
            EXPECT_EQ(Form.Fields, (std::array<std::string, 9>{}));
            EXPECT_NE(Top().Label, "選択解除");
            continue;
        }
        EXPECT_EQ(Ui.Beeps, beeps);
        EXPECT_EQ(S.HasSelection, 1);
        EXPECT_EQ(S.SelectedCursor, 1);
        const std::int32_t first = c.Hits.front();
        EXPECT_EQ(S.CurrentHitIndex, first);
        EXPECT_EQ(Form.Fields[fNumber], S.Fig(first).PlotNumber);
        EXPECT_EQ(Form.Fields[fHouse], S.Fig(first).HouseName);
        // Undo takes the search back: the step holds the hits in index order.
        EXPECT_EQ(Top().Label, "選択解除");
        std::vector<std::int32_t> inIndexOrder = c.Hits;
        std::sort(inIndexOrder.begin(), inIndexOrder.end());
        THistoryData d;
        for (std::int32_t i : inIndexOrder) d.AddNumber(i);
        EXPECT_EQ(Top().Data, d);
        ClearFigureSelection(S, false);
    }
}

TEST_F(PlotSearch, RefusedWhileASelectionExistsOrWithoutCriteria) {
    LayOutTemple();
    struct TCase {
        const char* Name;
        bool Selected;
        std::map<TField, std::string> Criteria;
    };
    const TCase cases[] = {{"all fields empty", false, {}}, {"a selection exists", true, {{fPhone, "03"}}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Form.Fields = {};
        for (const auto& [f, text] : c.Criteria) Form.Fields[f] = text;
        ClearFigureSelection(S, false);
        if (c.Selected) {
            S.Fig(3).Selected = 1;
            RebuildSortedSelectionList(S, Form);
        }
        const std::int32_t steps = S.HistoryCount;
        const int beeps = Ui.Beeps, sunk = Form.Sunk;
        S.Search.EditingField = 1;
        Form.Count = -1;
        SearchPlots(S, Form);

        EXPECT_EQ(Ui.Beeps, beeps + 1);
        EXPECT_EQ(Form.Sunk, sunk + 1);
        EXPECT_EQ(S.Search.EditingField, 0);
        EXPECT_EQ(S.HistoryCount, steps);
        EXPECT_EQ(Form.Count, -1);  // the count shown stays
        EXPECT_EQ(Hits(), c.Selected ? std::vector<std::int32_t>{3} : std::vector<std::int32_t>{});
    }
}

TEST_F(PlotSearch, NewSearchClearsTheSelectionAndTheFieldsForCriteria) {
    LayOutTemple();
    S.Fig(1).Selected = 1;
    RebuildSortedSelectionList(S, Form);
    Form.ListVisible = true;
    PressSearchButton(S, Form);
    EXPECT_EQ(S.SelectedCount, 0);
    EXPECT_EQ(S.Fig(1).Selected, 0);
    EXPECT_EQ(Top().Label, "選択");  // the cleared selection can be taken back
    EXPECT_EQ(Form.Fields, (std::array<std::string, 9>{}));
    EXPECT_FALSE(Form.ListVisible);
    EXPECT_EQ(Form.Count, 0);
    EXPECT_EQ(Form.SearchFocus, 1);
    EXPECT_EQ(S.Search.EditingField, 1);
    EXPECT_EQ(Form.Caption, "検索実行");
}

TEST(PlotOrder, TextsSortInTheJapaneseCollationWithoutLetterCase) {
    std::vector<std::vector<std::string>> rows{{"1", "B 0002"}, {"2", "a 0010"}, {"3", "A 0001"}, {"4", "ｂ 1"},
                                               {"5", "Ａ 1"},   {"6", "北"},     {"7", ""}};
    SortRowsByColumn(rows, 1);
    std::vector<std::string> order;
    for (const auto& r : rows) order.push_back(r[0]);
    EXPECT_EQ(order, (std::vector<std::string>{"7", "3", "2", "5", "1", "4", "6"}));

    struct TCase {
        const char *A, *B;
        int Order;
    } cases[] = {
        {"Ｂ", "ｂ", 0},   {"Ⅳ号", "ⅳ号", 0}, {"a", "ab", -1},
        // A full-width digit sorts beside its half-width neighbours, not after every letter.
        {"２", "2", 0},    {"２", "3", -1},     {"１０", "2", -1}, {"9", "Ａ", -1},
        // Kanji in the Japanese order (亜 leads it), not in code-point order (一 U+4E00 first).
        {"亜", "一", -1},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(CompareCollated(c.A, c.B), c.Order) << c.A << " " << c.B;
        EXPECT_EQ(CompareCollated(c.B, c.A), -c.Order) << c.B << " " << c.A;
    }
}

TEST_F(PlotSearch, HitsFollowTheirNumbersInTheJapaneseCollation) {
    for (const char* number : {"3", "２", "1", "１０"}) AddPlot(number).DistrictName = "西区";
    Search({{fDistrict, "西区"}});
    EXPECT_EQ(Hits(), (std::vector<std::int32_t>{3, 4, 2, 1}));  // 1, １０, ２, 3
    EXPECT_EQ(S.CurrentHitIndex, 3);
}

// ---- stepping through the hits -----------------------------------------------------

TEST_F(PlotSearch, StepsWrapRoundAndEachCanBeTakenBack) {
    LayOutTemple();
    Search({{fDistrict, "区"}});  // 3, 2, 1, 4
    ASSERT_EQ(Hits(), (std::vector<std::int32_t>{3, 2, 1, 4}));
    struct TStep {
        bool Forward;
        std::int32_t Cursor;
    };
    const TStep steps[] = {{false, 4}, {true, 1}, {true, 2}, {true, 3}, {true, 4}, {true, 1}};
    for (const TStep& step : steps) {
        const std::int32_t before = S.SelectedCursor;
        if (step.Forward) SelectNextSearchHit(S, Form);
        else SelectPreviousSearchHit(S, Form);
        EXPECT_EQ(S.SelectedCursor, step.Cursor);
        const std::int32_t hit = Hits()[static_cast<std::size_t>(step.Cursor - 1)];
        EXPECT_EQ(S.CurrentHitIndex, hit);
        EXPECT_EQ(Form.Fields[fNumber], S.Fig(hit).PlotNumber);
        EXPECT_EQ(S.HitCenterX, S.Fig(hit).BoxX1 + 2000);
        EXPECT_EQ(Top().Label, "選択変更を戻す");
        THistoryData d;
        d.AddNumber(before);
        EXPECT_EQ(Top().Data, d);
    }
    // Each step told the ledger the plot now current.
    const std::vector<std::string> lists = Lists();
    ASSERT_FALSE(lists.empty());
    EXPECT_EQ(lists.back(), "-999,-999,,,,-999,-999,選択\r\n" + PlotExchangeLine(S, 3) + "\r\n");

    ClearFigureSelection(S, false);
    const int beeps = Ui.Beeps;
    const std::int32_t count = S.HistoryCount;
    SelectNextSearchHit(S, Form);
    SelectPreviousSearchHit(S, Form);
    EXPECT_EQ(Ui.Beeps, beeps + 2);
    EXPECT_EQ(S.HistoryCount, count);
}

// The current hit may leave the list (a ledger request, an undo) or the cursor be stale:
// a step then starts from an end, and nothing reads past the list.
TEST_F(PlotSearch, ACursorOnNoEntryStepsFromAnEnd) {
    LayOutTemple();
    Search({{fDistrict, "区"}});  // 3, 2, 1, 4
    S.Fig(2).ShareSetId = 5;  // a share set of one copy
    struct TCase {
        std::int32_t Cursor;
        bool Forward;
        std::int32_t After;
    };
    const TCase cases[] = {{-1, true, 1}, {-1, false, 4}, {0, true, 1}, {9, true, 1}, {9, false, 4}, {1, true, 2}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Cursor) + (c.Forward ? " forward" : " back"));
        S.SelectedCursor = c.Cursor;
        S.CurrentHitIndex = 99;
        Form.ListVisible = false;
        ShowCurrentSearchHit(S, Form);
        ListSharedPlotsOfHit(S, Form);
        EXPECT_EQ(S.CurrentHitIndex, c.Cursor == 1 ? 3 : 99);
        if (c.Forward) SelectNextSearchHit(S, Form);
        else SelectPreviousSearchHit(S, Form);
        EXPECT_EQ(S.SelectedCursor, c.After);
        const std::int32_t hit = Hits()[static_cast<std::size_t>(c.After - 1)];
        EXPECT_EQ(S.CurrentHitIndex, hit);
        // The copy alone in its set is listed alone.
        EXPECT_EQ(Form.ListVisible, hit == 2);
        if (hit == 2) {
            EXPECT_EQ(Form.Listed.size(), 1u);
        }
    }
}

TEST_F(PlotSearch, AFoundPlotIsCentredAndARequestShowsItAtZoomTwo) {
    LayOutTemple();
    S.Zoom = 8, S.ZoomStep = 5;
    Form.SetPaintBoxSize(764 * 8, 564 * 8);
    Search({{fNumber, "a 0010"}});  // plot 2: box 200000..204000 x 200000..203000
    EXPECT_EQ(S.Zoom, 8);  // a search keeps the zoom the user chose
    EXPECT_EQ(S.ZoomStep, 5);
    // Centre (202000, 201500) is pixel (1616, 1612) at zoom 8; the view is 764 x 564.
    EXPECT_EQ(Form.HorzScrollPos(), 1616 - 382);
    EXPECT_EQ(Form.VertScrollPos(), 1612 - 282);
    EXPECT_EQ(S.HitBox, (std::array<double, 4>{200000, 204000, 200000, 203000}));
    EXPECT_EQ(S.RecordedScrollPos.x, Form.HorzScrollPos());

    // A start-up or ledger request asks for the view once through the list's slot 0.
    S.Zoom = 5, S.ZoomStep = 4;
    S.SelectedList[0] = -999;
    ShowCurrentSearchHit(S, Form);
    EXPECT_EQ(S.SelectedList[0], 0);
    EXPECT_EQ(S.Zoom, 2);
    EXPECT_EQ(S.ZoomStep, 2);
    EXPECT_EQ(Form.PaintBoxWidth(), 764 * 2);
    EXPECT_EQ(Form.PaintBoxHeight(), 564 * 2);
    // Centre (202000, 201500) is pixel (404, 403) at zoom 2.
    EXPECT_EQ(Form.HorzScrollPos(), 404 - 382);
    EXPECT_EQ(Form.VertScrollPos(), 403 - 282);
    S.Zoom = 5;
    ShowCurrentSearchHit(S, Form);
    EXPECT_EQ(S.Zoom, 5);
}

// ---- shared plots --------------------------------------------------------------------

class SharedPlots : public PlotSearch {
protected:
    SharedPlots() {
        // One plot of three households (set 1), the second copy showing; a polygon plot
        // with two pieces in the same set; a plot of its own.
        for (const char* head : {"甲", "乙", "丙"}) {
            TDateRec& r = AddPlot("東1");
            r.HeadName = head, r.ShareSetId = 1, r.SetAside = 1;
        }
        S.Fig(2).SetAside = 0;
        AddPlot("東1", fkPolygonEdge).OwnerIndex = 6;
        AddPlot("東1", fkPolygonEdge).OwnerIndex = 6;
        TDateRec& polygon = AddPlot("東1", fkPolygon);
        polygon.HeadName = "丁", polygon.ShareSetId = 1, polygon.SetAside = 1;
        S.Fig(4).ShareSetId = S.Fig(5).ShareSetId = 1;
        S.Fig(4).SetAside = S.Fig(5).SetAside = 1;
        AddPlot("東2").HeadName = "戊";  // 7
    }
    std::vector<int> Aside() const {
        std::vector<int> a;
        for (std::int32_t i = 1; i <= 6; ++i) a.push_back(S.Fig(i).SetAside);
        return a;
    }
};

TEST_F(SharedPlots, ASelectionOfCopiesListsTheSetWithTheShowingCopyCurrent) {
    Search({{fNumber, "東"}});
    // The pieces are not hits; the copies keep their store order among equal numbers.
    ASSERT_EQ(Hits(), (std::vector<std::int32_t>{1, 2, 3, 6, 7}));
    ASSERT_TRUE(Form.ListVisible);
    ASSERT_EQ(Form.Listed.size(), 4u);
    EXPECT_EQ(Form.Listed[1], (TCoOwnerRow{"乙", "", "", "", "2"}));
    EXPECT_EQ(Form.Listed[3][4], "4");
    EXPECT_EQ(Form.ListRow, 2);
    EXPECT_EQ(S.CurrentHitIndex, 2);
    EXPECT_EQ(S.SelectedCursor, 2);
    EXPECT_EQ(Form.Fields[fHead], "乙");
    EXPECT_EQ(Form.Count, 5);
}

TEST_F(SharedPlots, TheSummaryListsTheSetOfTheCursorsPlotOnly) {
    struct TCase {
        const char* Name;
        std::vector<std::int32_t> Selected;
        std::int32_t CurrentHit;
        const char* Head;  // the head of household the fields show
        std::size_t Listed;  // rows of the co-owner list, 0 when it is hidden
        int ListRow;
        std::int32_t Hit;  // the current hit afterwards, also at the cursor
    };
    const TCase cases[] = {
        {"a plain plot and one copy: the first entry's fields", {1, 7}, 7, "甲", 0, 0, 1},
        {"two copies: the showing one is current", {1, 2}, 1, "乙", 2, 2, 2},
        {"every copy set aside: the cursor's copy stays", {1, 3}, 3, "丙", 2, 2, 3},
        {"the cursor on a plot of its own: no list", {1, 2, 7}, 7, "戊", 0, 0, 7},
        {"one copy alone: no list", {3}, -1, "丙", 0, 0, 3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i).Selected = 0;
        for (std::int32_t i : c.Selected) S.Fig(i).Selected = 1;
        S.CurrentHitIndex = c.CurrentHit;
        Form.ListVisible = false, Form.ListRow = 0, Form.Fields = {};
        RebuildSortedSelectionList(S, Form);
        ShowSelectionSummary(S, Form);

        EXPECT_EQ(Form.Fields[fHead], c.Head);
        EXPECT_EQ(Form.ListVisible, c.Listed > 0);
        if (c.Listed > 0) {
            EXPECT_EQ(Form.Listed.size(), c.Listed);
            EXPECT_EQ(Form.ListRow, c.ListRow);
        }
        EXPECT_EQ(S.CurrentHitIndex, c.Hit);
        // The remarks go to the plot at the cursor: it must be the one shown.
        ASSERT_GE(S.SelectedCursor, 1);
        EXPECT_EQ(S.SelectedList[static_cast<std::size_t>(S.SelectedCursor)], c.Hit);
    }
}

TEST_F(SharedPlots, SteppingOntoASetAsideCopyBringsItToTheFront) {
    // Polygon, closed-curve and open-curve plots: each comes forward with its pieces.
    for (const std::int32_t kind : {fkPolygon, fkClosedCurve, fkOpenCurve}) {
        SCOPED_TRACE(kind);
        S.Fig(6).Kind = kind;
        for (std::int32_t i = 1; i <= 6; ++i) S.Fig(i).SetAside = i == 2 ? 0 : 1;
        S.CurrentHitIndex = -1;
        Search({{fNumber, "東"}});
        SelectNextSearchHit(S, Form);  // onto 3
        EXPECT_EQ(S.CurrentHitIndex, 3);
        EXPECT_EQ(Aside(), (std::vector<int>{1, 1, 0, 1, 1, 1}));
        EXPECT_EQ(Form.ListRow, 3);
        SelectNextSearchHit(S, Form);  // onto the compound plot: its pieces come forward with it
        EXPECT_EQ(Aside(), (std::vector<int>{1, 1, 1, 0, 0, 0}));
        EXPECT_EQ(Form.ListRow, 4);
        SelectNextSearchHit(S, Form);  // a plot of its own hides the list
        EXPECT_FALSE(Form.ListVisible);
        EXPECT_EQ(Aside(), (std::vector<int>{1, 1, 1, 0, 0, 0}));
        SelectNextSearchHit(S, Form);  // back into the set: listed afresh
        EXPECT_TRUE(Form.ListVisible);
        EXPECT_EQ(Form.ListRow, 1);
        EXPECT_EQ(Aside(), (std::vector<int>{0, 1, 1, 1, 1, 1}));
    }
}

TEST_F(SharedPlots, AClickedListRowBecomesTheCurrentCopy) {
    Search({{fNumber, "東"}});
    SelectListedCoOwner(S, Form, "4");
    EXPECT_EQ(S.SelectedCursor, 4);
    EXPECT_EQ(S.CurrentHitIndex, 6);
    EXPECT_EQ(Aside(), (std::vector<int>{1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(Form.Fields[fHead], "丁");
    EXPECT_EQ(Top().Label, "選択変更を戻す");

    const std::int32_t steps = S.HistoryCount;
    for (const char* cell : {"", "x", "0", "6", "-1"}) SelectListedCoOwner(S, Form, cell);
    EXPECT_EQ(S.SelectedCursor, 4);
    EXPECT_EQ(S.HistoryCount, steps);
}

// ---- after an assignment -------------------------------------------------------------

TEST_F(PlotSearch, APlainAssignmentMovesToTheNextHit) {
    AddPlot("北1");
    AddPlot("北2");
    S.Households = {THouseholdRow{"000012", "山田家", "山田太郎", "北区", "", "", "", "5", ""}};
    S.HouseholdOps.SelectNextSearchHit = [this](TDrawingState& s) { SelectNextSearchHit(s, Form); };
    Search({{fNumber, "北"}});
    ASSERT_EQ(S.CurrentHitIndex, 1);
    Form.Page = 1;
    AssignHousehold(S, Form);
    EXPECT_EQ(S.Fig(1).Text, "000012");
    EXPECT_EQ(S.CurrentHitIndex, 2);
    EXPECT_EQ(S.SelectedCursor, 2);
}

// ---- the remarks -------------------------------------------------------------------------

TEST_F(PlotSearch, ChangedRemarksGoToTheLedgerOnce) {
    LayOutTemple();
    Search({{fNumber, "A 0001"}});  // plot 3
    Ui.Taken.clear();
    std::filesystem::remove(ReturnPath());
    Form.Fields[fRemarks] = "";
    BeginRemarksEdit(S, Form.RemarksText());
    EXPECT_EQ(S.Search.EditingField, 1);
    Form.Fields[fRemarks] = "花立て修理";
    EndRemarksEdit(S, Form, true);  // Enter
    EndRemarksEdit(S, Form, true);  // then the field is left
    EXPECT_EQ(S.Search.EditingField, 0);
    EXPECT_EQ(S.Fig(3).PlotRemarks, "花立て修理");
    EXPECT_EQ(S.LedgerUnchanged, 0);
    EXPECT_EQ(Lists(), (std::vector<std::string>{"-999,-999,,,,-999,-999,変更\r\n3,0003,A 0001,花立て修理,特等,0,0,図面1\r\n"}));

    // Back to what the plot already holds, by way of another plot's remarks: nothing to send.
    BeginRemarksEdit(S, "古い");
    EndRemarksEdit(S, Form, true);
    EXPECT_EQ(Lists().size(), 1u);
}

TEST_F(PlotSearch, RemarksWithoutACurrentHitChangeNothing) {
    LayOutTemple();
    const auto before = S.Figures;
    Form.Caption = "新規検索";
    PressSearchButton(S, Form);  // the fields take criteria now
    BeginRemarksEdit(S, "");
    Form.Fields[fRemarks] = "墓誌";
    EndRemarksEdit(S, Form, true);
    EXPECT_EQ(S.Search.EditingField, 1);  // still taking criteria
    EXPECT_EQ(S.LedgerUnchanged, 1);
    EXPECT_TRUE(Lists().empty());
    for (std::int32_t i = 1; i <= S.FigureCount; ++i) EXPECT_EQ(S.Fig(i).PlotRemarks, before[static_cast<std::size_t>(i)].PlotRemarks);
}

TEST_F(PlotSearch, CommasAndQuotesNeverReachTheRemarks) {
    // Nor what CP932 cannot hold, which the files would carry as "?".
    for (char32_t c : {U',', U'"', U'𠮷', U'😀'}) EXPECT_TRUE(IsRefusedRemarksChar(c));
    for (char32_t c : {U'、', U'，', U'”', U'a', U' ', U'\'', U'髙', U'①'}) EXPECT_FALSE(IsRefusedRemarksChar(c));
    EXPECT_EQ(WithoutRefusedRemarksChars("花𠮷立て,😀髙"), "花立て髙");

    // A paste passes the key filter; leaving the field takes them out.
    LayOutTemple();
    Search({{fNumber, "A 0001"}});
    Ui.Taken.clear();
    std::filesystem::remove(ReturnPath());
    BeginRemarksEdit(S, "");
    Form.Fields[fRemarks] = "東,角\"石\"";
    EndRemarksEdit(S, Form, true);
    EXPECT_EQ(Form.RemarksText(), "東角石");
    EXPECT_EQ(S.Fig(3).PlotRemarks, "東角石");
    const std::vector<std::string> lists = Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_NE(lists[0].find("\r\n3,0003,A 0001,東角石,特等,0,0,図面1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tarvek
