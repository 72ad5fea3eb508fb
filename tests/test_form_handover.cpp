// The hand-over file through the real form: merged when the form is created, written
// when the user hands the changes to the ledger at closing.
#include <gtest/gtest.h>

#include <functional>

#include "form_test_support.h"

namespace tarvek::testing {
namespace {

std::int32_t PlotWithId(const TDrawingState& s, std::int32_t id) {
    for (std::int32_t i = 1; i <= s.FigureCount; ++i)
        if (s.Fig(i).PlotId == id && IsPlotRecord(s.Fig(i)) && !s.Fig(i).Deleted) return i;
    return 0;
}

int HouseholdRow(const TForm_zumenn& form, const std::string& id) {
    for (int r = 1; r < form.StringGrid1->RowCount(); ++r)
        if (form.StringGrid1->Cells(0, r) == id) return r;
    return 0;
}

// The request the ledger writes before each start, naming a plot to show (or none).
void WriteSampleRequest(TProgramFolder& dir, const std::string& target = "") {
    dir.WriteRequest("\"墓地\",\"\",\"" + target + "\",\"明星寺\",\"\",\"本堂裏墓地\"");
}

void LayOutSampleTemple(TProgramFolder& dir, const std::string& target = "") {
    std::filesystem::copy(TARVEK_SAMPLES "/temple", dir.Path, std::filesystem::copy_options::recursive);
    WriteSampleRequest(dir, target);
}

TEST(FormHandover, TheHouseholdsAreOnTheirPlotsAndAnAssignmentSurvivesARestart) {
    TProgramFolder dir;
    LayOutSampleTemple(dir, "1");
    {
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        ASSERT_EQ(form->S.StartupError, 0);
        EXPECT_TRUE(ui.Shown.empty());
        const TDrawingState& s = form->S;
        EXPECT_EQ(s.FigureCount, 84);  // every plot of the drawing is listed, none is new
        const std::int32_t two = PlotWithId(s, 2);
        ASSERT_GT(two, 0);
        // The file says household 81; the names come from the table's row 000081.
        EXPECT_EQ(s.Fig(two).Text, "000081");
        EXPECT_EQ(s.Fig(two).HouseName, "高橋家");
        EXPECT_EQ(s.Fig(two).HeadName, "高橋　良一");
        EXPECT_EQ(s.Fig(two).DistrictName, "中通");
        EXPECT_EQ(s.Fig(two).PlotNumber, "西1-02");
        EXPECT_EQ(s.Fig(two).Grade, "特等");
        EXPECT_EQ(s.Fig(two).DistrictId, 5);
        // The export writes this household unpadded ("59"); the plot takes the padded ID.
        EXPECT_EQ(s.Fig(PlotWithId(s, 28)).Text, "000059");
        EXPECT_EQ(s.Fig(PlotWithId(s, 28)).HouseName, "橋本家");
        EXPECT_EQ(s.Fig(PlotWithId(s, 9)).PlotRemarks, "墓誌あり");
        EXPECT_EQ(form->ComboBox4->Items(), (std::vector<std::string>{"特等", "一等", "二等"}));

        // The request put plot 1 (free) into the selection; it takes household 000004.
        ASSERT_EQ(s.CurrentHitIndex, PlotWithId(s, 1));
        form->PageControl1->SetActivePageIndex(1);
        const int row = HouseholdRow(*form, "000004");
        ASSERT_GT(row, 0);
        form->StringGrid1->SetRow(row);
        // Without real-time reflection the hand-over file alone tells the ledger.
        form->R_time->SetChecked(false);
        form->StringGrid1DblClick();
        ASSERT_EQ(s.Fig(PlotWithId(s, 1)).Text, "000004");
        ui.Answers.push_back(mrYes);
        form->Close();
        ASSERT_EQ(ui.Shown.size(), 1u);  // the closing question alone
        TLines answer;
        ASSERT_TRUE(ReadTextLines(dir.RequestFile(), answer));
        ASSERT_EQ(answer.size(), 1u);
        EXPECT_EQ(answer[0].rfind("\"墓地\",\"変更有\",", 0), 0u) << answer[0];
    }
    TLines written;
    ASSERT_TRUE(ReadTextLines(dir.File(HandoverCsvFileName), written));
    ASSERT_EQ(written.size(), 48u);
    EXPECT_EQ(written[0], "1,4,\"西1-01\",\"\",\"特等\",-1,8,\"本堂裏墓地\"");
    EXPECT_EQ(written[1], "2,81,\"西1-02\",\"\",\"特等\",-1,5,\"本堂裏墓地\"");

    WriteSampleRequest(dir);  // the ledger's next request; the files stay as the editor left them
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    ASSERT_EQ(form->S.StartupError, 0);
    const TDateRec& one = form->S.Fig(PlotWithId(form->S, 1));
    EXPECT_EQ(one.Text, "000004");
    EXPECT_EQ(one.HouseName, "田村家");
    EXPECT_EQ(one.HeadName, "田村　誠");
    EXPECT_EQ(one.DistrictId, 8);
    EXPECT_EQ(one.Grade, "特等");
}

// The outcome tells the ledger what reached the disk: never "変更有" without the file.
TEST(FormHandover, AHandOverFileThatCannotBeWrittenIsShownAndNeverReported) {
    struct TCase {
        const char* Name;
        std::function<void(TForm_zumenn&, const std::string& path)> Break;
        const char* Shown;  // part of the error box
    };
    const TCase cases[] = {
        {"a folder stands in its place",
         [](TForm_zumenn&, const std::string& path) {
             std::filesystem::remove(path);
             std::filesystem::create_directory(path);
         },
         "受渡し_fm.csv"},
        {"a household id that is no integer",
         [](TForm_zumenn& f, const std::string&) { f.S.Fig(PlotWithId(f.S, 3)).Text = "十二"; }, "十二"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramFolder dir;
        LayOutSampleTemple(dir);
        const std::string path = dir.File(HandoverCsvFileName);
        const std::string drawingBefore = ReadBytes(dir.File("明星寺墓地本堂裏墓地_data.txt"));
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        ASSERT_EQ(form->S.StartupError, 0);
        c.Break(*form, path);
        const auto before = std::filesystem::is_regular_file(path) ? ReadBytes(path) : std::string();
        form->S.LedgerUnchanged = 0;
        form->S.Fig(1).X1 += 1000;  // the drawing itself is saved all the same
        ui.Answers.push_back(mrYes);
        form->Close();

        ASSERT_EQ(ui.Shown.size(), 2u);
        EXPECT_EQ(ui.Shown[1].Type, TMsgDlgType::mtError);
        EXPECT_NE(ui.Shown[1].Text.find(c.Shown), std::string::npos) << ui.Shown[1].Text;
        EXPECT_EQ(ReadBytes(dir.RequestFile()), Utf8ToCp932("\"墓地\",\"変更図\",\"0\",\"明星寺\",OK,\"本堂裏墓地\"\r\n"));
        EXPECT_NE(ReadBytes(dir.File("明星寺墓地本堂裏墓地_data.txt")), drawingBefore);
        if (std::filesystem::is_regular_file(path)) {
            EXPECT_EQ(ReadBytes(path), before);  // the previous list stays whole
        }
    }
}

TEST(FormHandover, ABrokenHandOverFileStopsTheStartWithItsMessage) {
    const char* const cases[] = {
        "x1,0,\"\",\"\",\"\",-1,0,\"図面1\"",
        "40,123,\"北上段001\"",
        "40,一二三,\"\",\"\",\"\",-1,0,\"図面1\"",
    };
    for (const char* line : cases) {
        SCOPED_TRACE(line);
        TProgramFolder dir;
        dir.LayOutDefault();
        ASSERT_TRUE(WriteTextLines(dir.File(HandoverCsvFileName), {line}));
        const auto before = Snapshot(dir.Path);
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        ASSERT_EQ(ui.Shown.size(), 1u);
        EXPECT_EQ(ui.Shown[0].Text, HandoverStageMessage);
        EXPECT_EQ(ui.Shown[0].Buttons, static_cast<unsigned>(mbAbort));
        EXPECT_GE(ui.Beeps, 1);
        EXPECT_FALSE(form->Widget()->isVisible());
        EXPECT_FALSE(form->Timer1->Enabled());
        EXPECT_EQ(Snapshot(dir.Path), before);
    }
}

}  // namespace
}  // namespace tarvek::testing
