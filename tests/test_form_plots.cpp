// The plot operations on the real form with the sample temple: numbering, grades, a
// shared-ownership set kept over a restart, a shared plot reset, and the 水屋 rectangle
// turned into a plot, given a household and turned back. A fake ledger takes every
// list out of "戻し.txt".
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "document/selection.h"
#include "form_test_support.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "platform/canvas.h"
#include "platform/numbers.h"

namespace tarvek::testing {
namespace {

class PlotsOnTheForm : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Start();
    }

    void Start() {
        Ui = std::make_unique<TTakingLedgerUi>();
        Ui->ReturnPath = Dir.File("戻し.txt");
        Form = StartForm(Dir, *Ui);
        ASSERT_EQ(Form->S.StartupError, 0);
    }

    // Closes with Yes to handing the changes over, and starts again on a fresh request.
    void SaveAndRestart() {
        Ui->Answers.push_back(mrYes);
        Form->Close();
        Form.reset();
        std::filesystem::copy_file(TARVEK_SAMPLES "/temple/選択図面.csv", Dir.File("選択図面.csv"),
                                   std::filesystem::copy_options::overwrite_existing);
        Start();
    }

    TDrawingState& S() { return Form->S; }

    std::int32_t PlotNumbered(const std::string& number) {
        for (std::int32_t i = 1; i <= S().FigureCount; ++i)
            if (IsPlotRecord(S().Fig(i)) && !S().Fig(i).Deleted && S().Fig(i).PlotNumber == number) return i;
        return 0;
    }

    void SearchPlots(const std::string& number) {
        Form->PageControl1->UserSelectTab(0);
        Form->BitBtn35->Click();
        Form->Edit_no->UserType(number);
        Form->BitBtn35->Click();
    }

    // Selects exactly these records on the editing page.
    void SelectOnEditingPage(std::initializer_list<std::int32_t> indices) {
        Form->PageControl1->UserSelectTab(4);
        for (std::int32_t i = 1; i <= S().FigureCount; ++i) S().Fig(i).Selected = 0;
        for (const std::int32_t i : indices) S().Fig(i).Selected = 1;
        RebuildSelectionList(S(), false);
    }

    // A household of the table that no plot has yet.
    int FreeHouseholdRow(int after = 0) {
        for (int r = after + 1; r < Form->StringGrid1->RowCount(); ++r)
            if (CountHouseholdUses(S(), Form->StringGrid1->Cells(0, r)) == 0) return r;
        return 0;
    }

    void AssignRow(int row) {
        Form->PageControl1->UserSelectTab(1);
        Form->StringGrid1->SetRow(row);
        Form->StringGrid1DblClick();
    }

    // The map as the next paint shows it, and the paint after that.
    QImage Paint() {
        Form->PaintBox1->Widget()->repaint();
        return Form->MapImage.copy();
    }
    TColor PixelAt(const QImage& image, double x, double y) const {
        const int px = RoundToInt32(x * Form->S.Zoom / 1000.0) - Form->ScrollBox1->HorzScrollPos();
        const int py = RoundToInt32(y * Form->S.Zoom / 1000.0) - Form->ScrollBox1->VertScrollPos();
        if (px < 0 || py < 0 || px >= image.width() || py >= image.height()) return PixelOutside;
        return RgbToTColor(image.pixel(px, py));
    }
    void Shot(const std::string& name, const QImage& image) {
        image.save(QString::fromStdString(Dir.File(name)));
        testing::SaveShot(image, name);
    }

    std::string Sent(const std::string& verb, const std::vector<std::int32_t>& plots) {
        std::string list = ChangeRecordHeader(verb) + "\r\n";
        for (const std::int32_t i : plots) list += PlotExchangeLine(S(), i) + "\r\n";
        return list;
    }

    TProgramFolder Dir;
    std::unique_ptr<TTakingLedgerUi> Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(PlotsOnTheForm, NumbersGradesAndASetSurviveARestart) {
    SearchPlots("西1-");
    Form->PageControl1->UserSelectTab(2);
    ASSERT_EQ(S().SelectedCount, 12);
    Paint();
    Ui->Lists();
    Ui->Taken.clear();

    Form->BitBtn19->Click();
    const std::vector<std::int32_t> order(S().SelectedList.begin() + 1, S().SelectedList.end());
    ASSERT_EQ(order.size(), 12u);
    EXPECT_EQ(S().Fig(order[0]).PlotNumber, "北上段 0001");
    EXPECT_EQ(S().Fig(order[11]).PlotNumber, "北上段 0012");
    const std::vector<std::string> lists = Ui->Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(Ui->Taken[0], Utf8ToCp932(Sent("変更", order)));
    EXPECT_EQ(S().History[static_cast<std::size_t>(S().HistoryCount)].Label, "組番号作成を取消す");

    // Red outlines over the next paint, gone at the one after.
    const TDateRec& first = S().Fig(order[0]);
    const double topX = (first.X1 + first.X2) / 2, topY = first.Y1;
    const QImage marked = Paint();
    Shot("numbered.png", marked);
    EXPECT_EQ(PixelAt(marked, topX, topY), clRed);
    const QImage plain = Paint();
    EXPECT_NE(PixelAt(plain, topX, topY), clRed);
    EXPECT_NE(PixelAt(plain, topX, topY), PixelOutside);

    // The grade "特別" for all twelve, filled blue until the next paint.
    Form->ComboBox4->SetText("特別");
    Form->tokyuuMouseEnter();
    EXPECT_EQ(Form->Label3->Caption(), "選択されている墓地の等級を「特別」で割当てます。");
    Form->tokyuu->Click();
    Form->ComboBox4Exit();
    for (const std::int32_t i : order) EXPECT_EQ(S().Fig(i).Grade, "特別");
    const double midX = (first.X1 + first.X3) / 2, midY = (first.Y1 + first.Y3) / 2;
    const QImage graded = Paint();
    Shot("graded.png", graded);
    EXPECT_EQ(PixelAt(graded, midX, midY), clBlue);
    EXPECT_NE(PixelAt(Paint(), midX, midY), clBlue);
    EXPECT_EQ(Ui->Lists().size(), 2u);

    // The first two owned plots become one set on the editing page.
    std::vector<std::int32_t> owned;
    for (const std::int32_t i : order)
        if (StrToInt(S().Fig(i).Text).value_or(0) > 0) owned.push_back(i);
    ASSERT_GE(owned.size(), 2u);
    const std::int32_t a = std::min(owned[0], owned[1]), b = std::max(owned[0], owned[1]);
    const std::string base = S().Fig(a).PlotNumber;
    SelectOnEditingPage({a, b});
    Form->BitBtn44->Click();
    EXPECT_EQ(S().Fig(a).PlotNumber, base + "(1)");
    EXPECT_EQ(S().Fig(b).PlotNumber, base + "(2)");
    EXPECT_EQ(S().Fig(b).X1, S().Fig(a).X1);
    const std::vector<std::string> all = Ui->Lists();
    ASSERT_EQ(all.size(), 4u);  // the join's own list and the labels' list
    EXPECT_EQ(all[2], Sent("変更", {a, b}));
    EXPECT_EQ(all[3], Sent("変更", {a, b}));
    const std::int32_t setId = S().Fig(a).PlotId;
    EXPECT_TRUE(Ui->Shown.empty());

    SaveAndRestart();
    EXPECT_EQ(S().Fig(order[0]).PlotNumber, "北上段 0001");
    EXPECT_EQ(S().Fig(order[11]).PlotNumber, "北上段 0012");
    EXPECT_EQ(S().Fig(order[6]).Grade, "特別");
    EXPECT_EQ(S().Fig(a).PlotNumber, base + "(1)");
    EXPECT_EQ(S().Fig(b).PlotNumber, base + "(2)");
    EXPECT_EQ(S().Fig(a).ShareSetId, setId);
    EXPECT_EQ(S().Fig(b).ShareSetId, setId);
    EXPECT_EQ(S().Fig(a).SetAside, 0);
    EXPECT_EQ(S().Fig(b).SetAside, 1);
    const std::vector<std::string> grades = Form->ComboBox4->Items();
    EXPECT_EQ(std::count(grades.begin(), grades.end(), "特別"), 1);
}

TEST_F(PlotsOnTheForm, ASharedAssignmentIsResetToItsFirstHousehold) {
    SearchPlots("西1-01");
    const std::int32_t plot = PlotNumbered("西1-01");
    ASSERT_EQ(S().CurrentHitIndex, plot);
    ASSERT_EQ(S().Fig(plot).Text, "0");
    const int first = FreeHouseholdRow(), second = FreeHouseholdRow(first);
    ASSERT_GT(second, 0);
    AssignRow(first);
    const std::string owner = S().Fig(plot).Text;
    Ui->Answers = {mrYes};  // shared
    AssignRow(second);
    const std::int32_t copy = S().FigureCount;
    ASSERT_EQ(S().Fig(copy).ShareSetId, S().Fig(plot).PlotId);
    EXPECT_EQ(S().Fig(copy).PlotNumber, "西1-01(2)");
    ASSERT_EQ(S().CurrentHitIndex, copy);
    Ui->Lists();
    Ui->Taken.clear();

    Ui->Answers = {mrYes};
    Form->BitBtn43->Click();
    ASSERT_EQ(Ui->Shown.size(), 2u);
    EXPECT_EQ(Ui->Shown[1].Text, "1個の選択されている墓地に割り当てた檀家名が初期化されます\rよろしいですか？");
    EXPECT_EQ(S().Fig(copy).Deleted, 1);
    EXPECT_EQ(S().Fig(plot).Text, owner);
    EXPECT_EQ(S().Fig(plot).PlotNumber, "西1-01");
    EXPECT_EQ(S().Fig(plot).ShareSetId, 0);
    EXPECT_EQ(S().CurrentHitIndex, plot);
    const std::vector<std::string> lists = Ui->Lists();
    ASSERT_GE(lists.size(), 2u);
    EXPECT_EQ(lists[0], Sent("削除", {copy}));
    EXPECT_EQ(lists[1], Sent("変更", {plot}));
    EXPECT_EQ(S().History[static_cast<std::size_t>(S().HistoryCount)].Label.substr(0, 18), "檀家リセット");
}

TEST_F(PlotsOnTheForm, TheWaterHouseBecomesAPlotTakesAHouseholdAndTurnsBack) {
    std::int32_t rect = 0;
    for (std::int32_t i = 1; i <= S().FigureCount && !rect; ++i) {
        const TDateRec& r = S().Fig(i);
        if (r.Kind == fkRectangle && i < S().FigureCount && S().Fig(i + 1).Text == "水屋") rect = i;
    }
    ASSERT_GT(rect, 0);
    SelectOnEditingPage({rect});
    const std::int32_t max = S().MaxPlotId;
    Ui->Lists();
    Ui->Taken.clear();

    Form->botika_trueMouseEnter();
    EXPECT_EQ(Form->Label3->Caption(), "選択されている図形を檀家割当て可能な墓地にします");
    Form->botika_true->Click();
    EXPECT_EQ(S().Fig(rect).IsPlot, 1);
    EXPECT_EQ(S().Fig(rect).PlotId, max + 1);
    EXPECT_EQ(Form->Label3->Caption(), "1個の図形を墓地化しました。");
    EXPECT_EQ(Ui->Lists(), std::vector<std::string>{Sent("追加", {rect})});
    const TDateRec& r = S().Fig(rect);
    const QImage boxed = Paint();
    Shot("water-house.png", boxed);
    EXPECT_EQ(PixelAt(boxed, (r.BoxX1 + r.BoxX2) / 2, r.BoxY1), clRed);

    AssignRow(FreeHouseholdRow());
    EXPECT_NE(S().Fig(rect).Text, "0");
    const std::string owned = PlotExchangeLine(S(), rect);
    Ui->Lists();
    Ui->Taken.clear();

    SelectOnEditingPage({rect});
    Ui->Answers = {mrYes};
    Form->botika_false->Click();
    EXPECT_EQ(Ui->Shown.back().Text,
              "檀家名、割当て済みの墓地が1件あります。\r図形化すると、墓地としては削除されます。よいですか？");
    EXPECT_EQ(S().Fig(rect).IsPlot, 0);
    EXPECT_EQ(S().Fig(rect).Text, "0");
    EXPECT_EQ(S().Fig(rect).Deleted, 0);
    const std::vector<std::string> lists = Ui->Lists();
    ASSERT_FALSE(lists.empty());
    EXPECT_EQ(lists.front(), ChangeRecordHeader("削除") + "\r\n" + owned + "\r\n");
    EXPECT_EQ(Form->Label3->Caption(), "1個の墓地を図形化しました。");
}

TEST_F(PlotsOnTheForm, TheGradeAndGroupFieldsKeepTheLedgersSeparatorsOut) {
    SearchPlots("西1-01");
    const std::int32_t plot = PlotNumbered("西1-01");
    ASSERT_EQ(S().CurrentHitIndex, plot);
    ASSERT_EQ(Form->tou_name->Text(), "特等");
    Ui->Lists();
    Ui->Taken.clear();
    const std::size_t items = Form->ComboBox4->Items().size();
    const std::int32_t steps = S().HistoryCount;

    Form->tou_nameEnter();
    Form->tou_name->SetText("");
    Form->tou_name->UserType("特,選\"\r");  // Enter stores it ...
    Form->tou_name->UserType("\r");          // ... and again changes nothing
    Form->tou_nameExit();
    EXPECT_EQ(Ui->Beeps, 2);
    EXPECT_EQ(Form->tou_name->Text(), "特選");
    EXPECT_EQ(S().Fig(plot).Grade, "特選");
    EXPECT_EQ(Ui->Lists(), std::vector<std::string>{Sent("変更", {plot})});
    EXPECT_EQ(Form->ComboBox4->Items().size(), items + 1);
    EXPECT_EQ(Form->ComboBox4->Items().back(), "特選");
    EXPECT_EQ(S().HistoryCount, steps);  // the field's edit is no step

    // "新規検索" turns the fields into criteria: a grade typed there is no grade.
    Form->BitBtn35->Click();
    ASSERT_EQ(Form->BitBtn35->Caption(), "検索実行");
    Form->tou_nameEnter();
    Form->tou_name->UserType("並\r");
    Form->tou_nameExit();
    EXPECT_EQ(S().Fig(plot).Grade, "特選");
    EXPECT_EQ(Form->ComboBox4->Items().size(), items + 1);
    EXPECT_EQ(Ui->Lists().size(), 1u);

    // The group name takes no symbol; the list's own text no separator.
    Form->Edit3->SetText("");
    Form->Edit3->UserType("南(A),1");
    EXPECT_EQ(Form->Edit3->Text(), "南A1");
    char32_t comma = U',';
    Form->ComboBox4KeyPress(comma);
    EXPECT_EQ(comma, 0u);
    EXPECT_EQ(Ui->Beeps, 3);
    EXPECT_TRUE(Ui->Shown.empty());
}

}  // namespace
}  // namespace tarvek::testing
