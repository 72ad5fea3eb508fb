// The household tab and the live link with the ledger, on the sample temple: a fake
// ledger writes requests into "追加.txt" and takes the lists that arrive in "戻し.txt".
#include <gtest/gtest.h>

#include "document/figure_store.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "form_test_support.h"
#include "households/ledger_exchange.h"
#include "households/ledger_poll.h"
#include "platform/numbers.h"

namespace tarvek::testing {
namespace {

class SampleTemple : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Arrange();
        Form = StartForm(Dir, Ui);
        Ui.ReturnPath = ReturnPath();
        ASSERT_EQ(Form->S.StartupError, 0);
    }

    // What the ledger leaves in the folder before it starts the editor.
    virtual void Arrange() {}

    std::string RequestPath() const { return Dir.File("追加.txt"); }
    std::string ReturnPath() const { return Dir.File("戻し.txt"); }

    // The ledger points the editor at a plot (positive) or a household (negative).
    void Request(const std::string& number) {
        WriteBytes(RequestPath(), number + "\r\n");
        Form->Timer1Timer();
    }
    std::int32_t PlotWithId(std::int32_t id) const { return testing::LivePlotWithId(Form->S, id); }
    int HouseholdRow(const std::string& id) const { return testing::GridRowWithId(*Form->StringGrid1, id); }

    TProgramFolder Dir;
    TTakingLedgerUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(SampleTemple, ARequestedPlotTakesTheDoubleClickedHouseholdAndTheLedgerHearsIt) {
    Request("1");
    const std::int32_t plot = PlotWithId(1);
    ASSERT_GT(plot, 0);
    EXPECT_EQ(ReadBytes(RequestPath()), "");  // acknowledged
    EXPECT_TRUE(std::filesystem::exists(RequestPath()));
    EXPECT_EQ(Form->ActivePageIndex(), 0);
    EXPECT_EQ(Form->S.SelectedCount, 1);
    EXPECT_EQ(Form->S.CurrentHitIndex, plot);
    EXPECT_EQ(Form->S.Zoom, 2);  // a request shows its plot at zoom 2, in view
    const int cx = RoundToInt32(Form->S.HitCenterX * 2 / 1000.0), cy = RoundToInt32(Form->S.HitCenterY * 2 / 1000.0);
    EXPECT_GE(cx, Form->HorzScrollPos());
    EXPECT_LT(cx, Form->HorzScrollPos() + Form->ScrollBox1->ClientWidth());
    EXPECT_GE(cy, Form->VertScrollPos());
    EXPECT_LT(cy, Form->VertScrollPos() + Form->ScrollBox1->ClientHeight());
    ASSERT_LT(StrToInt(Form->S.Fig(plot).Text).value_or(-1), 1) << "the sample's plot 1 has no household";

    Form->PageControl1->SetActivePageIndex(1);
    const int row = HouseholdRow("000004");
    ASSERT_GT(row, 0);
    Form->StringGrid1->SetRow(row);
    Form->StringGrid1DblClick();

    const TDateRec& r = Form->S.Fig(plot);
    EXPECT_EQ(r.Text, "000004");
    EXPECT_EQ(r.HouseName, "田村家");
    EXPECT_EQ(r.DistrictId, 8);
    EXPECT_TRUE(Ui.Shown.empty()) << Ui.Shown.front().Text;
    EXPECT_EQ(Form->StringGrid1->Row(), row + 1);
    // The assignment's list ends without a line end; moving on to the next hit then
    // tells the ledger the plot now current, once the ledger has taken the first list.
    ASSERT_EQ(Ui.Taken.size(), 1u);
    EXPECT_EQ(Ui.Taken[0], Utf8ToCp932("-999,-999,,,,-999,-999,変更\r\n" + PlotExchangeLine(Form->S, plot)));
    EXPECT_EQ(ReadBytes(ReturnPath()),
              Utf8ToCp932("-999,-999,,,,-999,-999,選択\r\n" + PlotExchangeLine(Form->S, plot) + "\r\n"));
    std::vector<std::string> labels;
    for (std::int32_t h = Form->S.HistoryCount; h > 0 && labels.size() < 2; --h)
        labels.push_back(Form->S.History[static_cast<std::size_t>(h)].Label);
    EXPECT_EQ(labels, (std::vector<std::string>{"選択変更を戻す", "檀家セットを取消す"}));
    EXPECT_EQ(Form->S.LedgerUnchanged, 0);
    EXPECT_EQ(Form->S.Ledger.LedgerWriteBusy, 0);
}

TEST_F(SampleTemple, AHeldReturnFileTurnsRealTimeOffAndReTickingSendsTheWholeList) {
    Ui.ReturnPath.clear();  // this ledger takes nothing
    Request("1");
    WriteBytes(ReturnPath(), "not yet taken");
    Form->PageControl1->SetActivePageIndex(1);
    Form->StringGrid1->SetRow(HouseholdRow("000004"));
    Form->BitBtn31Click();

    EXPECT_EQ(ReadBytes(ReturnPath()), "not yet taken");
    EXPECT_EQ(Ui.Sleeps, std::vector<int>(LedgerWaitCount, LedgerWaitMs));
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, LedgerTimeoutMessage);
    EXPECT_FALSE(Form->R_time->Checked());
    EXPECT_EQ(Form->S.Ledger.LedgerChangesPending, 1);

    // The ledger takes the old list; the user ticks the box again.
    std::filesystem::remove(ReturnPath());
    Form->R_time->SetChecked(true);
    Form->R_timeClick();
    TLines sent;
    ASSERT_TRUE(ReadTextLines(ReturnPath(), sent));
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0], "-999,-999,,,,-999,-999,更新");
    std::size_t plots = 0;
    for (std::int32_t i = 1; i <= Form->S.FigureCount; ++i)
        if (IsPlotRecord(Form->S.Fig(i)) && !Form->S.Fig(i).Deleted && GetCompoundOwner(Form->S, i) < 1) ++plots;
    EXPECT_EQ(sent.size(), plots + 1);
    EXPECT_NE(std::find(sent.begin(), sent.end(), PlotExchangeLine(Form->S, PlotWithId(1))), sent.end());
    EXPECT_EQ(Form->S.Ledger.LedgerChangesPending, 0);
}

TEST_F(SampleTemple, TheQueryRowFiltersTheTableAndAResultRowCanBeAssigned) {
    Form->PageControl1->SetActivePageIndex(1);
    Form->BitBtn29Click();
    EXPECT_EQ(Form->BitBtn29->Caption(), "検索実行");
    ASSERT_TRUE(Form->StringGrid3->Visible());
    EXPECT_FALSE(Form->StringGrid1->Visible());

    struct TCase {
        int Col;
        std::string Query;
        std::vector<std::string> Ids;
    };
    const TCase cases[] = {
        {0, "81", {"000081"}},
        {0, "12", {}},  // no 000012 in the sample; 000120 must not match
        {1, "内田", {"000090", "000120", "000144", "000152"}},
        {2, "智子", {"000120"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Query);
        if (Form->BitBtn29->Caption() == "新規検索") Form->BitBtn29Click();
        Form->StringGrid3->SetCell(c.Col, 1, c.Query);
        Form->BitBtn29Click();
        EXPECT_EQ(Form->BitBtn29->Caption(), "新規検索");
        ASSERT_TRUE(Form->StringGrid2->Visible());
        EXPECT_FALSE(Form->StringGrid3->Visible());
        std::vector<std::string> ids;
        for (int r = 1; r < Form->StringGrid2->RowCount(); ++r) ids.push_back(Form->StringGrid2->Cells(0, r));
        if (c.Ids.empty())
            EXPECT_EQ(ids, std::vector<std::string>{"合致無し"});
        else
            EXPECT_EQ(ids, c.Ids);
    }

    // "合致無し" is refused with a beep; a real hit lands on the requested plot.
    Request("3");
    Form->PageControl1->SetActivePageIndex(1);
    Form->BitBtn29Click();
    Form->StringGrid3->SetCell(0, 1, "12");
    Form->BitBtn29Click();
    const int beeps = Ui.Beeps;
    Form->StringGrid2DblClick();
    EXPECT_EQ(Ui.Beeps, beeps + 1);
    EXPECT_LT(StrToInt(Form->S.Fig(PlotWithId(3)).Text).value_or(-1), 1);

    Form->BitBtn29Click();
    Form->StringGrid3->SetCell(1, 1, "田村");
    Form->BitBtn29Click();
    Form->StringGrid2DblClick();
    EXPECT_EQ(Form->S.Fig(PlotWithId(3)).Text, "000004");

    // Starting an assignment in the query view only leaves the search.
    Form->BitBtn29Click();
    Form->BitBtn31Click();
    EXPECT_EQ(Form->BitBtn29->Caption(), "新規検索");
    EXPECT_TRUE(Form->StringGrid1->Visible());
    EXPECT_FALSE(Form->StringGrid3->Visible());
    EXPECT_EQ(Form->Label3->Caption(), "検索モードでした。検索を解除し檀家全表示にしました。");
}

TEST_F(SampleTemple, EachPageSetsItsModeAndOnlyTheDrawingPagesKeepOtherFigures) {
    Request("1");
    const std::int32_t plot = PlotWithId(1);
    std::int32_t line = 0;
    for (std::int32_t i = 1; i <= Form->S.FigureCount && !line; ++i)
        if (!IsPlotRecord(Form->S.Fig(i)) && Form->S.Fig(i).OwnerIndex == 0 && !IsOwnerKind(Form->S.Fig(i).Kind)) line = i;
    ASSERT_GT(line, 0);

    struct TCase {
        int Page;
        std::uint8_t EditTab, Mesh;
        bool MeshControls;
        std::string HelpStart;
    };
    const TCase cases[] = {
        {3, 1, 1, true, ""},  // the tool's own help text
        {4, 1, 0, false, "コピーCtrl+C"},
        {1, 0, 0, false, "表から檀家を選択"},
        {2, 0, 0, false, "各墓地に番号"},
        {5, 0, 0, false, "選択されている墓地のみ"},
        {0, 0, 0, false, "図面の編集は上部タブ"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Page);
        if (c.Page == 3) {
            Form->PageControl1->UserSelectTab(3);
            ChooseTool(Form->S, fkLine);
            Form->PageControl1->UserSelectTab(4);
            Form->PageControl1->UserSelectTab(3);
            EXPECT_EQ(Form->S.CurrentTool, fkLine) << "the drawing page takes its tool back";
            // The tool cleared the selection; a plot and a line are selected on the drawing page.
            Form->S.Fig(plot).Selected = 1;
            Form->S.Fig(line).Selected = 1;
            RebuildSelectionList(Form->S, false);
            ASSERT_EQ(Form->S.SelectedCount, 2);
        } else {
            const std::int32_t before = Form->S.HistoryCount;
            Form->PageControl1->UserSelectTab(c.Page);
            ASSERT_EQ(Form->S.HistoryCount, before + 2);
            EXPECT_EQ(Form->S.History[static_cast<std::size_t>(before + 1)].Label, "選択");
            EXPECT_EQ(Form->S.History[static_cast<std::size_t>(before + 2)].Label, "タブページを戻す");
            if (c.Page != 4) {
                EXPECT_EQ(Form->S.CurrentTool, 0);
            }
        }
        EXPECT_EQ(Form->S.PreviousTab, c.Page);
        EXPECT_EQ(Form->S.EditTabActive, c.EditTab);
        EXPECT_EQ(Form->S.MeshVisible, c.Mesh);
        EXPECT_EQ(Form->ComboBox1->Visible(), c.MeshControls);
        if (c.HelpStart.empty())
            EXPECT_EQ(Form->Label3->Caption(), ToolHelpText(Form->S, fkLine));
        else
            EXPECT_EQ(Form->Label3->Caption().rfind(c.HelpStart, 0), 0u) << Form->Label3->Caption();
    }
    // Back on the search page only the plot is still selected, and it is shown.
    EXPECT_EQ(Form->S.Fig(line).Selected, 0);
    EXPECT_EQ(Form->S.Fig(plot).Selected, 1);
    EXPECT_EQ(Form->S.SelectedCount, 1);
    EXPECT_EQ(Form->Edit_no->Text(), Form->S.Fig(plot).PlotNumber);
    // Each page without tools hands on the tool of the page before it: the select tool.
    EXPECT_EQ(Form->S.PreviousTool, 0);
}

TEST_F(SampleTemple, TheDrawingPageTakesBackTheToolOfThePageLeftLast) {
    struct TCase {
        const char* Name;
        std::vector<int> Trip;  // from the drawing page with the line tool, back to it
        std::int32_t Tool;
    };
    const TCase cases[] = {
        {"through the editing page", {4}, fkLine},
        {"through the options page", {5}, fkLine},
        {"through the editing and household pages", {4, 1}, 0},
        {"through the household and numbering pages", {1, 2}, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Form->PageControl1->UserSelectTab(3);
        ChooseTool(Form->S, fkLine);
        for (const int page : c.Trip) {
            Form->PageControl1->UserSelectTab(page);
            EXPECT_EQ(Form->S.CurrentTool, 0);
        }
        Form->PageControl1->UserSelectTab(3);
        EXPECT_EQ(Form->S.CurrentTool, c.Tool);
        Form->PageControl1->UserSelectTab(0);
    }
}

TEST_F(SampleTemple, AHouseholdRequestShowsItAloneAndGarbageStopsThePolling) {
    // The view step keeps the name check boxes as they stand, not as they were loaded.
    Form->CheckBox2->SetChecked(!Form->S.View.RotateCheck);
    Form->clip_Check->SetChecked(!Form->S.View.ClipCheck);
    Request("-81");
    const Trireki& view = Form->S.History[static_cast<std::size_t>(Form->S.HistoryCount - 1)];
    ASSERT_EQ(view.Label, "元の画面に戻す");
    EXPECT_EQ(*view.Data.Number(3), Form->CheckBox2->Checked() ? 0 : 1);
    EXPECT_EQ(*view.Data.Number(4), Form->clip_Check->Checked() ? 0 : 1);
    EXPECT_EQ(Form->ActivePageIndex(), 1);
    EXPECT_TRUE(Form->StringGrid2->Visible());
    EXPECT_FALSE(Form->StringGrid1->Visible());
    EXPECT_EQ(Form->StringGrid2->RowCount(), 2);
    EXPECT_EQ(Form->StringGrid2->Cells(0, 1), "000081");
    EXPECT_EQ(Form->StringGrid2->Cells(2, 1), "高橋　良一");
    EXPECT_EQ(Form->S.LedgerTargetId, 81);
    EXPECT_EQ(ReadBytes(RequestPath()), "");
    EXPECT_TRUE(Form->Timer1->Enabled());

    // An unknown plot changes nothing but is still acknowledged.
    Request("99999");
    EXPECT_EQ(Form->S.SelectedCount, 0);
    EXPECT_EQ(ReadBytes(RequestPath()), "");

    Request("abc");
    EXPECT_EQ(ReadBytes(RequestPath()), "abc\r\n");
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_TRUE(Ui.Shown.empty());
}

// The start-up request names a household: it stands alone in the result grid, and a
// plot the ledger asks for afterwards takes it with a double-click.
class SampleTempleAskedForAHousehold : public SampleTemple {
protected:
    void Arrange() override {
        WriteBytes(Dir.File(SelectedDrawingFileName),
                   Utf8ToCp932("\"墓地\",\"\",\"-81\",\"明星寺\",\"\",\"本堂裏墓地\"\r\n"));
    }
};

TEST_F(SampleTempleAskedForAHousehold, TheHouseholdShownAtStartCanBeAssigned) {
    ASSERT_TRUE(Form->StringGrid2->Visible());
    ASSERT_EQ(Form->StringGrid2->Cells(0, 1), "000081");
    Request("1");
    const std::int32_t plot = PlotWithId(1);
    ASSERT_GT(plot, 0);
    ASSERT_LT(StrToInt(Form->S.Fig(plot).Text).value_or(-1), 1);

    Form->PageControl1->SetActivePageIndex(1);
    Form->StringGrid2->SetRow(1);
    // The sample's household 000081 owns a plot already: the count question comes first.
    const std::int32_t uses = CountHouseholdUses(Form->S, "000081");
    ASSERT_GT(uses, 0);
    Ui.Answers = {mrYes};
    const int beeps = Ui.Beeps;
    Form->StringGrid2DblClick();
    EXPECT_EQ(Ui.Beeps, beeps);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "既に　高橋　良一　は" + IntToStr(uses) + "件、登録されてます。\r更に" +
                                    IntToStr(uses + 1) + "件目を登録しますか？");
    EXPECT_EQ(Form->S.Fig(plot).Text, "000081");
    EXPECT_EQ(Form->S.Fig(plot).HeadName, "高橋　良一");
    EXPECT_EQ(Form->S.LedgerTargetId, 81);
}

TEST_F(SampleTemple, TheEnlargeButtonTogglesTheHeightOutsideTheQueryView) {
    Form->PageControl1->SetActivePageIndex(1);
    const int normal = Form->S.NormalPageHeight;
    ASSERT_NE(normal, 300);
    Form->BitBtn30Click();
    EXPECT_EQ(Form->PageControl1->Height(), 300);
    EXPECT_EQ(Form->BitBtn30->Hint(), "縮小表示");
    Form->BitBtn30Click();
    EXPECT_EQ(Form->PageControl1->Height(), normal);
    EXPECT_EQ(Form->BitBtn30->Hint(), "拡大表示");

    // Opening the query view takes the normal height back; there the button does nothing.
    Form->BitBtn30Click();
    Form->BitBtn29Click();
    EXPECT_EQ(Form->PageControl1->Height(), normal);
    EXPECT_EQ(Form->BitBtn30->Hint(), "拡大表示");
    Form->BitBtn30Click();
    EXPECT_EQ(Form->PageControl1->Height(), normal);
    EXPECT_EQ(Form->BitBtn30->Caption(), "表拡大");

    // The grid the user leaves passes its column widths to the other two.
    Form->StringGrid3->SetColWidth(2, 123);
    Form->StringGrid2Enter();
    EXPECT_EQ(Form->S.GridFocused, 1);
    Form->StringGrid3Exit();
    EXPECT_EQ(Form->S.GridFocused, 0);
    EXPECT_EQ(Form->StringGrid1->ColWidths(2), 123);
    EXPECT_EQ(Form->StringGrid2->ColWidths(2), 123);
}

}  // namespace
}  // namespace tarvek::testing
