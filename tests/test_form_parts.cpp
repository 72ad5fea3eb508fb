// "部品登録" and "部品読込" on the live form: the part file written from the selection, parts
// loaded through the open dialog, and a block of the sample temple carried into another
// drawing.
#include <gtest/gtest.h>

#include <QApplication>
#include <unistd.h>

#include "document/drawing_file.h"
#include "document/figure_store.h"
#include "document/part_file.h"
#include "document/selection.h"
#include "editing/arrange.h"
#include "form_test_support.h"
#include "gui_test_main.h"
#include "households/ledger_exchange.h"
#include "scripted_dialogs.h"

namespace tarvek::testing {
namespace {

// One version-4 record as the drawing file holds it.
TLines Rec(int kind, std::array<const char*, 8> pts, const char* text, int key, const char* setAside, int share,
           int owner, const char* isPlot, const char* aux1 = "0") {
    return {std::to_string(kind), pts[0], pts[1], pts[2], pts[3], text, "255", "7321527", std::to_string(key),
            pts[4], pts[5], pts[6], pts[7], aux1, "0", "0", "0", setAside, std::to_string(share),
            std::to_string(owner), "1", "0", "1", isPlot, "ＭＳ 明朝"};
}

std::string CrLf(const TLines& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return Utf8ToCp932(text);
}

constexpr std::array<const char*, 8> PlotBox{"2000", "0", "6000.5", "0", "6000.5", "3000", "2000", "3000"};

// What a record is in a drawing, apart from its place, its selection and its plot data.
std::string Shape(const TDateRec& r) {
    TDateRec copy = r;
    copy.OwnerIndex = 0;
    copy.PlotId = 0;
    if (IsPlotRecord(r)) copy.Text = "0";
    TLines lines;
    AppendFigureRecordLines(copy, lines);
    std::string joined;
    for (const std::string& l : lines) joined += l + "|";
    return joined;
}

std::vector<std::string> StoreAndHistory(const TDrawingState& s) {
    std::vector<std::string> all;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TLines lines;
        AppendFigureRecordLines(s.Fig(i), lines);
        lines.push_back(std::to_string(s.Fig(i).Selected));
        for (std::string& l : lines) all.push_back(std::move(l));
    }
    for (std::size_t k = 0; k < s.SelectedList.size(); ++k) all.push_back("sel " + std::to_string(s.SelectedList[k]));
    for (std::int32_t h = 0; h <= s.HistoryCount; ++h) all.push_back("step " + s.History[static_cast<std::size_t>(h)].Label);
    all.push_back("max " + std::to_string(s.MaxPlotId));
    return all;
}

class FormParts : public ::testing::Test {
protected:
    void Start(TProgramFolder& dir, TTakingLedgerUi& ui) {
        Form = StartForm(dir, ui);
        ASSERT_EQ(Form->S.StartupError, 0);
        ASSERT_TRUE(ui.Shown.empty()) << ui.Shown.front().Text;
        ui.ReturnPath = dir.File("戻し.txt");
        Form->PageControl1->UserSelectTab(4);
        ASSERT_EQ(Form->ActivePageIndex(), 4);
    }
    // The editor on a drawing of these records, with household "12" in the table.
    void StartOn(std::initializer_list<TLines> records) {
        TLines drawing{"Ver4.00"};
        for (const TLines& r : records) drawing.insert(drawing.end(), r.begin(), r.end());
        drawing.push_back("endofdata");
        Dir.WriteFreshRequest();
        WriteBytes(Dir.DataFile(), CrLf(drawing));
        Dir.WriteHouseholds({"\"12\",\"甲家\",\"甲　一\",\"\",\"\",\"\",\"\",\"1\",\"\""});
        Start(Dir, Ui);
    }
    void StartSample() {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Start(Dir, Ui);
    }
    void Select(std::initializer_list<std::int32_t> records) {
        for (std::int32_t i : records) Form->S.Fig(i).Selected = 1;
        RebuildSelectionList(Form->S, true);
    }

    TProgramFolder Dir;
    TTakingLedgerUi Ui;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(FormParts, RegisteringWritesTheSelectedFiguresAsAPart) {
    // An unselected line; a group of a line and a text; a set-aside copy of a shared plot
    // between them; the plot's current copy.
    StartOn({Rec(1, {"0", "0", "0", "0", "1000", "0", "1000", "0"}, "0", 0, "0", 0, 0, "0"),
             Rec(1, {"100", "100", "100", "100", "900", "100", "900", "100"}, "0", 0, "0", 0, 5, "0"),
             Rec(11000, PlotBox, "000012", 31, "-1", 30, 0, "-1"),
             Rec(22, {"100", "200", "900", "200", "900", "400", "100", "400"}, "本堂", 0, "0", 0, 5, "0", "1"),
             Rec(30, {"100", "100", "900", "100", "900", "400", "100", "400"}, "0", 0, "0", 0, 0, "0"),
             Rec(11000, PlotBox, "000013", 30, "0", 30, 0, "-1")});
    Select({2, 3, 4, 5, 6});
    const std::vector<std::string> before = StoreAndHistory(Form->S);

    Dialogs.FileNames = {Dir.File("本堂.bbh")};
    Form->BitBtn32->Click();

    EXPECT_EQ(Dialogs.Ran, std::vector<std::string>{"SaveDialog1"});
    EXPECT_EQ(Form->SaveDialog1->InitialDir, PartDialogFolder(Form->S));
    // Members before their group, linked to it within the part; no share sets; the
    // set-aside copy left out.
    TLines part{"Ver4.00"};
    for (const TLines& r : {Rec(1, {"100", "100", "100", "100", "900", "100", "900", "100"}, "0", 0, "0", 0, 3, "0"),
                            Rec(22, {"100", "200", "900", "200", "900", "400", "100", "400"}, "本堂", 0, "0", 0, 3, "0", "1"),
                            Rec(30, {"100", "100", "900", "100", "900", "400", "100", "400"}, "0", 0, "0", 0, 0, "0"),
                            Rec(11000, PlotBox, "000013", 30, "0", 0, 0, "-1")})
        part.insert(part.end(), r.begin(), r.end());
    part.push_back("endofdata");
    EXPECT_EQ(ReadBytes(Dir.File("本堂.bbh")), CrLf(part));
    EXPECT_EQ(StoreAndHistory(Form->S), before);
    EXPECT_TRUE(Ui.Shown.empty());
}

TEST_F(FormParts, RegisteringNeedsASelectionAConfirmedDialogAndAFolderItCanWrite) {
    StartSample();
    const std::string target = Dir.File("p.bbh");
    Form->BitBtn32->Click();
    EXPECT_TRUE(Dialogs.Ran.empty()) << "nothing selected: no dialog";

    Select({28});
    Dialogs.Answer = false;
    Dialogs.FileNames = {target};
    Form->BitBtn32->Click();
    EXPECT_EQ(Dialogs.Ran.size(), 1u);
    EXPECT_FALSE(FileExists(target)) << "cancelled";

    Dialogs.Answer = true;
    WriteBytes(Dir.File("ファイル"), "");
    std::vector<std::string> unwritable{Dir.File("ファイル") + "/p.bbh"};  // a folder that is a file
    if (::geteuid() != 0) {  // root writes into read-only folders
        std::filesystem::create_directory(Dir.Path / "読取専用");
        std::filesystem::permissions(Dir.Path / "読取専用", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        unwritable.push_back(Dir.File("読取専用") + "/p.bbh");
    }
    for (const std::string& path : unwritable) {
        SCOPED_TRACE(path);
        Ui.Shown.clear();
        const auto files = Snapshot(Dir.Path);
        Dialogs.FileNames = {path};
        Form->BitBtn32->Click();
        ASSERT_EQ(Ui.Shown.size(), 1u);
        EXPECT_EQ(Ui.Shown[0].Type, TMsgDlgType::mtError);
        EXPECT_NE(Ui.Shown[0].Text.find(path), std::string::npos);
        EXPECT_EQ(Snapshot(Dir.Path), files);
    }
    std::error_code ec;  // the folder can be removed again
    std::filesystem::permissions(Dir.Path / "読取専用", std::filesystem::perms::owner_all, ec);
}

TEST_F(FormParts, ABlockOfTheSampleTempleLoadsIntoAnotherDrawingAsTheSameFigures) {
    StartSample();
    // The temple's main hall (a group of a rectangle and a text) and the plots of 西区.
    std::vector<std::int32_t> block;
    for (std::int32_t i = 1; i <= Form->S.FigureCount; ++i) {
        const TDateRec& r = Form->S.Fig(i);
        const bool hall = r.Kind == fkGroup || r.OwnerIndex > 0;
        const bool west = IsPlotRecord(r) && r.BoxX2 <= 47000 && r.BoxY2 <= 38000;
        if (hall || west) block.push_back(i);
    }
    ASSERT_GT(block.size(), 6u);
    for (std::int32_t i : block) Form->S.Fig(i).Selected = 1;
    RebuildSelectionList(Form->S, true);
    ASSERT_EQ(Form->S.SelectedCount, static_cast<std::int32_t>(block.size()));
    std::vector<std::string> shapes;
    std::vector<std::int32_t> owners;  // positions within the block
    std::size_t owned = 0;
    for (std::int32_t i : block) {
        const TDateRec& r = Form->S.Fig(i);
        shapes.push_back(Shape(r));
        const auto at = std::find(block.begin(), block.end(), r.OwnerIndex);
        owners.push_back(r.OwnerIndex == 0 ? 0 : static_cast<std::int32_t>(at - block.begin()) + 1);
        if (IsPlotRecord(r) && r.Text != "0") ++owned;
    }
    ASSERT_GT(owned, 0u) << "households do not travel with a part";
    const std::string part = Dir.File("本堂と西区.bbh");
    Dialogs.FileNames = {part};
    Form->BitBtn32->Click();
    ASSERT_TRUE(FileExists(part));
    Form.reset();

    // Another temple's drawing, with plots of its own.
    TProgramFolder other;
    other.LayOutDefault();
    TTakingLedgerUi otherUi;
    Start(other, otherUi);
    TDrawingState& s = Form->S;
    const std::int32_t former = s.FigureCount, maxId = s.MaxPlotId;
    Dialogs.Ran.clear();
    Dialogs.FileNames = {part};
    otherUi.Answers = {mrYes};
    Form->buhinn->Click();

    EXPECT_EQ(Dialogs.Ran, std::vector<std::string>{"OpenDialog1"});
    EXPECT_EQ(Form->OpenDialog1->InitialDir, PartDialogFolder(s));
    const auto n = static_cast<std::int32_t>(block.size());
    // Yes to the question: one group record after the part holds its top-level figures.
    const std::int32_t group = former + n + 1;
    ASSERT_EQ(s.FigureCount, group);
    EXPECT_EQ(s.Fig(group).Kind, fkGroup);
    EXPECT_EQ(s.Fig(group).Selected, 1);
    TLines expected{ChangeRecordHeader(VerbAdded)};
    std::int32_t nextId = maxId;
    for (std::int32_t k = 1; k <= n; ++k) {
        SCOPED_TRACE(k);
        const TDateRec& r = s.Fig(former + k);
        EXPECT_EQ(Shape(r), shapes[static_cast<std::size_t>(k - 1)]);
        const std::int32_t owner = owners[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(r.OwnerIndex, owner == 0 ? group : former + owner);
        EXPECT_EQ(r.Selected, 1);
        EXPECT_EQ(r.DrawingName, TProgramFolder::Drawing);
        if (IsPlotRecord(r)) {
            EXPECT_EQ(r.PlotId, ++nextId);
            EXPECT_EQ(r.Text, "0");
            EXPECT_EQ(r.HouseName, "空");
            EXPECT_EQ(r.HeadName, "");
            expected.push_back(PlotExchangeLine(r));
        }
    }
    EXPECT_EQ(s.MaxPlotId, nextId);
    const std::vector<std::string> lists = otherUi.Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0], Cp932ToUtf8(CrLf(expected)));
    EXPECT_EQ(s.History[static_cast<std::size_t>(s.HistoryCount - 1)].Label, PartLoadStepLabel);
    EXPECT_EQ(s.History[static_cast<std::size_t>(s.HistoryCount)].Label, GroupStepLabel);
    EXPECT_EQ(s.SelectedCount, n + 1);
    EXPECT_EQ(s.LedgerUnchanged, 0);
    // The hall and the plots are no one group: the user is asked.
    ASSERT_EQ(otherUi.Shown.size(), 1u);
    EXPECT_EQ(otherUi.Shown[0].Text, PartGroupQuestion);
    EXPECT_EQ(otherUi.Shown[0].Buttons, unsigned(mbYes | mbNo));
    EXPECT_EQ(Form->S.HouseholdOps.QuestionsOpen, 0);
}

TEST_F(FormParts, APartThatIsOneGroupAsksNothing) {
    StartSample();
    for (std::int32_t i = 1; i <= Form->S.FigureCount; ++i)
        if (Form->S.Fig(i).Kind == fkGroup || Form->S.Fig(i).OwnerIndex > 0) Form->S.Fig(i).Selected = 1;
    RebuildSelectionList(Form->S, true);
    const std::int32_t count = Form->S.FigureCount;
    Dialogs.FileNames = {Dir.File("本堂.bbh"), Dir.File("本堂.bbh")};
    Form->BitBtn32->Click();
    Form->buhinn->Click();
    EXPECT_EQ(Form->S.FigureCount, count + 3);
    EXPECT_TRUE(Ui.Shown.empty()) << Ui.Shown.front().Text;
}

TEST_F(FormParts, ADrawingWhosePlotKeyIsAtTheLimitRefusesAPartWithPlotsWhole) {
    StartOn({Rec(1, {"0", "0", "0", "0", "1000", "0", "1000", "0"}, "0", 0, "0", 0, 0, "0"),
             Rec(11000, PlotBox, "0", 2147483647, "0", 0, 0, "-1")});
    ASSERT_EQ(Form->S.MaxPlotId, 2147483647);
    Select({1, 2});
    Dialogs.FileNames = {Dir.File("線と区画.bbh"), Dir.File("線と区画.bbh")};
    Form->BitBtn32->Click();
    const std::vector<std::string> before = StoreAndHistory(Form->S);
    const auto files = Snapshot(Dir.Path);

    Form->buhinn->Click();
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, StoreFullMessage);
    EXPECT_EQ(StoreAndHistory(Form->S), before) << "not even the line is loaded";
    EXPECT_EQ(Snapshot(Dir.Path), files) << "nothing reaches the ledger";
}

TEST_F(FormParts, ABadFileIsNamedAndChangesNothing) {
    StartSample();
    Select({40});
    TLines sample;
    ASSERT_TRUE(ReadTextLines(Dir.File("明星寺墓地本堂裏墓地_data.txt"), sample));
    TLines cut(sample.begin(), sample.begin() + 1 + 25 * 2 + 10);
    TLines bad = sample;
    bad[1 + 25 + 1] = "abc";  // the second record's X1
    ASSERT_TRUE(WriteTextLines(Dir.File("途中.bbh"), cut));
    ASSERT_TRUE(WriteTextLines(Dir.File("不正_data.txt"), bad));
    const std::uint8_t drawingUnchanged = Form->S.DrawingUnchanged;

    for (const std::string& path : {Dir.File("途中.bbh"), Dir.File("不正_data.txt"), Dir.File("無い.bbh")}) {
        SCOPED_TRACE(path);
        Ui.Shown.clear();
        const std::vector<std::string> before = StoreAndHistory(Form->S);
        const auto files = Snapshot(Dir.Path);
        Dialogs.FileNames = {path};
        Form->buhinn->Click();
        ASSERT_EQ(Ui.Shown.size(), 1u);
        EXPECT_EQ(Ui.Shown[0].Type, TMsgDlgType::mtWarning);
        EXPECT_NE(Ui.Shown[0].Text.find(path), std::string::npos);
        EXPECT_EQ(StoreAndHistory(Form->S), before);
        EXPECT_EQ(Snapshot(Dir.Path), files) << "nothing reaches the ledger";
        EXPECT_EQ(Form->S.DrawingUnchanged, drawingUnchanged);
    }
    // Cancelling the dialog does nothing at all.
    Ui.Shown.clear();
    const std::vector<std::string> before = StoreAndHistory(Form->S);
    Dialogs.Answer = false;
    Form->buhinn->Click();
    EXPECT_EQ(StoreAndHistory(Form->S), before);
    EXPECT_TRUE(Ui.Shown.empty());
}

// Whether a list for the ledger names plot key 0 on any line after its header.
bool NamesKeyZero(const std::string& list) {
    for (std::size_t at = list.find("\r\n"); at != std::string::npos; at = list.find("\r\n", at + 2))
        if (list.compare(at + 2, 2, "0,") == 0) return true;
    return false;
}

std::string SentList(const TDrawingState& s, const std::string& verb, std::initializer_list<std::int32_t> records) {
    std::string text = ChangeRecordHeader(verb) + "\r\n";
    for (std::int32_t i : records) text += PlotExchangeLine(s, i) + "\r\n";
    return text;
}

// An old part's kind 11 stays a figure without a key: neither the change lists nor the
// hand-over file may name it, and a save with a restart keeps it where it is. An old
// drawing's kind 11 that kept its key stays the plot it was.
TEST_F(FormParts, AnOldPartsKind11ReachesTheLedgerOnlyOnceItIsMadeAPlot) {
    StartOn({Rec(1, {"0", "0", "0", "0", "1000", "0", "1000", "0"}, "0", 0, "0", 0, 0, "0"),
             Rec(11000, PlotBox, "000012", 31, "0", 0, 0, "-1"),
             Rec(11, {"7000", "0", "9000", "0", "9000", "3000", "7000", "3000"}, "0", 20, "0", 0, 0, "0")});
    TDrawingState& s = Form->S;
    constexpr std::int32_t plot = 2, keyed = 3;
    ASSERT_EQ(s.MaxPlotId, 31);
    ASSERT_EQ(s.Fig(keyed).PlotId, 20);
    const std::string part = Dir.File("古い部品.bhn");
    WriteBytes(part, ReadBytes(FixturePath("unversioned_data.txt")));
    Dialogs.FileNames = {part};
    Ui.Answers = {mrNo};  // no group
    Form->buhinn->Click();
    // Kinds 11 (claiming household 000012), 3, 1, 22, 2 and 11.
    ASSERT_EQ(s.FigureCount, 9);
    constexpr std::int32_t claimed = 4, ellipse = 5, other = 9;
    for (std::int32_t i : {claimed, other}) {
        ASSERT_EQ(s.Fig(i).Kind, fkOldPlot) << i;
        ASSERT_EQ(s.Fig(i).PlotId, 0) << i;
        ASSERT_EQ(s.Fig(i).IsPlot, 0) << i;
    }
    ASSERT_EQ(s.Fig(claimed).Text, "000012");
    ASSERT_EQ(s.Ledger.LedgerChangesPending, 1) << "the part's empty list";
    std::vector<std::string> sent = Ui.Lists();
    Ui.Taken.clear();

    // Ticking reflection again sends the plots alone.
    Form->R_time->Click();
    Form->R_time->Click();
    ASSERT_TRUE(Form->R_time->Checked());
    EXPECT_EQ(Ui.Lists(), std::vector<std::string>{SentList(s, VerbRefresh, {plot})});
    sent.insert(sent.end(), Ui.Taken.begin(), Ui.Taken.end());
    Ui.Taken.clear();

    // None of the part's figures is a plot to turn back; nor is the old kind 11 without
    // its flag.
    s.Fig(keyed).Selected = 1;
    RebuildSelectionList(s, true);
    const std::size_t boxes = Ui.Shown.size();
    Form->botika_false->Click();
    EXPECT_EQ(Ui.Shown.size(), boxes) << "no question";
    EXPECT_EQ(Form->Label3->Caption(), "図形化できる厨子がありません。");
    EXPECT_TRUE(Ui.Lists().empty());
    EXPECT_EQ(s.Fig(claimed).Text, "000012");

    // Into plots: both kind-11 records of the part and the ellipse, each a new plot with a
    // key and no household; the ledger hears of the three. The old plot keeps its key.
    Form->botika_true->Click();
    EXPECT_EQ(s.Fig(keyed).PlotId, 20);
    EXPECT_EQ(s.Fig(keyed).IsPlot, 0);
    EXPECT_EQ(Form->Label3->Caption(), "3個の図形を厨子化しました。");
    std::int32_t key = 31;
    for (std::int32_t i : {claimed, ellipse, other}) {
        EXPECT_EQ(s.Fig(i).IsPlot, 1) << i;
        EXPECT_EQ(s.Fig(i).PlotId, ++key) << i;
        EXPECT_EQ(s.Fig(i).Text, "0") << i;
    }
    EXPECT_EQ(Ui.Lists(), std::vector<std::string>{SentList(s, VerbAdded, {claimed, ellipse, other})});
    sent.insert(sent.end(), Ui.Taken.begin(), Ui.Taken.end());
    Ui.Taken.clear();

    // And back: the same three, by their keys.
    const std::string removed = SentList(s, VerbRemoved, {claimed, ellipse, other});
    Form->botika_false->Click();
    EXPECT_EQ(Ui.Shown.size(), boxes) << "no household, no question";
    EXPECT_EQ(Form->Label3->Caption(), "3個の厨子を図形化しました。");
    EXPECT_EQ(Ui.Lists(), std::vector<std::string>{removed});
    EXPECT_EQ(s.Fig(keyed).PlotId, 20);
    sent.insert(sent.end(), Ui.Taken.begin(), Ui.Taken.end());
    Ui.Taken.clear();
    for (std::int32_t i : {claimed, other}) {
        EXPECT_EQ(s.Fig(i).Kind, fkOldPlot) << i;
        EXPECT_EQ(s.Fig(i).PlotId, 0) << i;
        EXPECT_EQ(s.Fig(i).Deleted, 0) << i;
    }
    // The same kind-11 record with a household again, as another old part might bring it.
    s.Fig(claimed).Text = "000012";

    // The search tab keeps the kind-11 records selected; the current one is no plot.
    Form->PageControl1->UserSelectTab(0);
    EXPECT_TRUE(Ui.Lists().empty()) << "nothing current to show the ledger";
    sent.insert(sent.end(), Ui.Taken.begin(), Ui.Taken.end());
    for (const std::string& list : sent) EXPECT_FALSE(NamesKeyZero(Cp932ToUtf8(list))) << list;

    // Saved at closing: the hand-over file lists plots 31 and 20 alone.
    std::string plotLine, keyedLine;
    ASSERT_TRUE(HandoverLine(s, plot, plotLine));
    ASSERT_TRUE(HandoverLine(s, keyed, keyedLine));
    Ui.Answers = {mrYes};
    Form->Close();
    Form.reset();
    TLines handover;
    ASSERT_TRUE(ReadTextLines(Dir.File(HandoverCsvFileName), handover));
    EXPECT_EQ(handover, (TLines{plotLine, keyedLine}));

    // The next start merges it: every figure is where it was, and the plots are the same.
    Dir.WriteFreshRequest();
    TTakingLedgerUi again;
    Start(Dir, again);
    const TDrawingState& t = Form->S;
    ASSERT_EQ(t.FigureCount, 9) << "no plot appears";
    for (std::int32_t i = 1; i <= 9; ++i) EXPECT_EQ(t.Fig(i).Deleted, 0) << i << ": nothing vanishes";
    for (std::int32_t i : {claimed, other}) {
        EXPECT_EQ(t.Fig(i).Kind, fkOldPlot) << i;
        EXPECT_EQ(t.Fig(i).PlotId, 0) << i;
    }
    EXPECT_EQ(t.Fig(claimed).Text, "000012");
    EXPECT_EQ(LivePlotWithId(t, 31), plot);
    EXPECT_EQ(t.Fig(plot).Text, "000012");
    EXPECT_EQ(LivePlotWithId(t, 20), keyed);
    EXPECT_TRUE(again.Lists().empty());
    again.Answers = {mrYes};
    Form->S.LedgerUnchanged = 0;
    Form->Close();
    Form.reset();
    ASSERT_TRUE(ReadTextLines(Dir.File(HandoverCsvFileName), handover));
    EXPECT_EQ(handover, (TLines{plotLine, keyedLine})) << "the second round trip writes the same";
}

}  // namespace
}  // namespace tarvek::testing

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
