// The request hand-shake, drawing names, the household export and the single-instance
// lock, without a window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "document/drawing_state.h"
#include "document/startup.h"
#include "households/handover.h"
#include "households/household_table.h"
#include "platform/system.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::TTempFolder;

TEST(Request, FieldsAndFailures) {
    struct TCase {
        const char* Line;  // nullptr: no request file at all
        bool Ok;
        int Beeps;
        std::string Word, Status, Temple, Drawing;
        std::int32_t Target;
        std::uint8_t Answered;
    };
    const TCase cases[] = {
        {"\"厨子\",\"新規\",\"\",\"明星寺\",\"\",\"本堂裏\"", true, 0, "厨子", "新規", "明星寺", "本堂裏", 0, 0},
        {"墓地,変更有,-12,寺,OK,新規図面,余り", true, 0, "墓地", "変更有", "寺", "新規図面", -12, 1},
        {"墓地,,\"7\",寺,ok,図", true, 0, "墓地", "", "寺", "図", 7, 0},
        {"墓地,,x7,寺,,図", false, 1, "", "", "", "新規図面", 0, 0},  // target is no integer
        {"", false, 0, "", "", "", "新規図面", 0, 0},                  // empty line: no beep
        {nullptr, false, 1, "", "", "", "新規図面", 0, 0},
        {"墓地,,,../寺,,図", false, 1, "", "", "", "新規図面", 0, 0},    // names that leave the folder
        {"墓地,,,寺,,..", false, 1, "", "", "", "新規図面", 0, 0},
        {"墓\\地,,,寺,,図", false, 1, "", "", "", "新規図面", 0, 0},
        {"墓地,,,寺,,", false, 1, "", "", "", "新規図面", 0, 0},        // no drawing named
        {"墓地,,,寺,,図\t1", false, 1, "", "", "", "新規図面", 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Line ? c.Line : "no file");
        TTempFolder dir;
        TScriptedUi ui;
        TDrawingState s(ui);
        s.ExeFolder = dir.Folder();
        if (c.Line) {
            ASSERT_TRUE(WriteTextLines(dir.File(SelectedDrawingFileName), {c.Line}));
        }
        EXPECT_EQ(ReadDrawingRequest(s), c.Ok);
        EXPECT_EQ(s.StartupError, c.Ok ? 0 : 1);
        EXPECT_EQ(ui.Beeps, c.Beeps);
        EXPECT_EQ(s.StartupErrorMessage, c.Ok ? "図面座標読込エラー。図面に配置された座標が読込めません。"
                                              : RequestStageMessage);
        EXPECT_EQ(s.PlotKindWord, c.Word);
        EXPECT_EQ(s.HandoverStatus, c.Status);
        EXPECT_EQ(s.TempleName, c.Temple);
        EXPECT_EQ(s.CurrentDrawingName, c.Drawing);
        EXPECT_EQ(s.LedgerTargetId, c.Target);
        EXPECT_EQ(s.StandaloneStartFlag, c.Answered);
    }
}

TEST(Request, AnswerLineQuotesEveryFieldButTheMarker) {
    TScriptedUi ui;
    TDrawingState s(ui);
    s.PlotKindWord = "厨子";
    s.HandoverStatus = "変更有";
    s.LedgerTargetId = -3;
    s.TempleName = "明星寺";
    s.CurrentDrawingName = "本堂裏";
    EXPECT_EQ(DrawingRequestAnswerLine(s), "\"厨子\",\"変更有\",\"-3\",\"明星寺\",OK,\"本堂裏\"");
}

TEST(Request, CommaPositionsCountCharacters) {
    EXPECT_EQ(FindCommaPos("墓地,x"), 3);
    EXPECT_EQ(FindCommaPos("abc"), 4);
    EXPECT_EQ(FindCommaPos("寺院"), 3);
    EXPECT_EQ(FindCommaPos(",a"), 1);
    EXPECT_EQ(SplitCsvFields("a,,b", 5), (std::vector<std::string>{"a", "", "b", "", ""}));
}

TEST(DrawingName, ChecksAgainstTheFolder) {
    TTempFolder dir;
    TScriptedUi ui;
    TDrawingState s(ui);
    testing::PointAtDrawing(s, dir.Folder(), "寺", "墓地", "東");
    ASSERT_TRUE(WriteTextLines(dir.File("寺墓地西_data.txt"), {}));
    ASSERT_TRUE(WriteTextLines(dir.File("寺墓地東_data.txt"), {}));
    std::filesystem::create_directory(dir.File("寺墓地北_data.txt"));
    struct TCase {
        const char* Name;
        TDrawingNameProblem Want;
    };
    const TCase cases[] = {
        {"東", TDrawingNameProblem::None},  // its own name: no check against the disk
        {"南", TDrawingNameProblem::None},
        {"北", TDrawingNameProblem::None},  // a folder is no drawing
        {"西", TDrawingNameProblem::Taken},
        {"", TDrawingNameProblem::Empty},
        {"南/西", TDrawingNameProblem::BadCharacter},
        {"南_1", TDrawingNameProblem::BadCharacter},
        {"南 第２", TDrawingNameProblem::None},
        {"南\n", TDrawingNameProblem::BadCharacter},
        // Nothing CP932 cannot hold: every file would carry "?" in its place.
        {"裏𠮷区", TDrawingNameProblem::BadCharacter},
        {"墓地😀", TDrawingNameProblem::BadCharacter},
        {"髙橋①", TDrawingNameProblem::None},
    };
    for (const TCase& c : cases) EXPECT_EQ(CheckDrawingName(s, c.Name), c.Want) << c.Name;
    EXPECT_EQ(DrawingNameProblemMessage(TDrawingNameProblem::Taken), "同名の図面が既にあります。別の名前でお願いします。");
    EXPECT_EQ(DrawingNameProblemMessage(TDrawingNameProblem::Empty), "図面名が空欄です。正しい名前でお願いします。");
}

TEST(HouseholdTable, LinesSplitQuotesBecomeBlanksAndIdsArePadded) {
    struct TCase {
        const char* Line;
        THouseholdRow Want;
    };
    const TCase cases[] = {
        {"\"7\",\"佐藤家\",\"佐藤　一郎\",\"東町\",\"北浜県\",\"若葉台1\",\"0123\",\"4\",\"総代\"",
         {"000007", "佐藤家", "佐藤　一郎", "東町", "北浜県", "若葉台1", "0123", "4", "総代"}},
        {"1234567,a", {"1234567", "a", "", "", "", "", "", "", ""}},
        {"12,\"山田,太郎\",x,,,,,,,十", {"000012", "山田", "太郎", "x", "", "", "", "", ""}},
        {" 3 ,\t　鈴木　 ", {"000003", "　鈴木　", "", "", "", "", "", "", ""}},
        {"", {"000000", "", "", "", "", "", "", "", ""}},
    };
    for (const TCase& c : cases) EXPECT_EQ(ParseHouseholdLine(c.Line), c.Want) << c.Line;
}

TEST(HouseholdTable, MissingFileGivesThePlaceholderAndAnEmptyFileFails) {
    TTempFolder dir;
    TScriptedUi ui;
    TDrawingState s(ui);
    s.ExeFolder = dir.Folder();
    LoadHouseholdTable(s);
    EXPECT_EQ(s.StartupError, 0);
    ASSERT_EQ(s.Households.size(), 1u);
    EXPECT_EQ(s.Households[0],
              (THouseholdRow{"888888", "テーブルリンク", "失敗", "不明", "不明", "不明", "北浜県", "西原郡若葉町", "00-****"}));

    testing::WriteBytes(dir.File(HouseholdTableFileName), "");
    LoadHouseholdTable(s);
    EXPECT_EQ(s.StartupError, 1);
    EXPECT_EQ(ui.Beeps, 1);
}

TEST(Handover, LinesDropLeadingZerosAndQuoteTheTexts) {
    TTempFolder dir;
    TScriptedUi ui;
    TDrawingState s(ui);
    s.ExeFolder = dir.Folder();
    s.FigureCount = 3;
    TDateRec& plot = s.Fig(1);
    plot.Kind = fkPlot, plot.IsPlot = 1, plot.PlotId = 5, plot.Text = "000012";
    plot.PlotNumber = "東1-01", plot.Grade = "一等", plot.DistrictId = 4, plot.DrawingName = "本堂裏";
    s.Fig(2).Kind = fkLine;
    s.Fig(3) = plot;
    s.Fig(3).Deleted = 1;
    ASSERT_TRUE(WriteHandoverCsv(s));
    TLines lines;
    ASSERT_TRUE(ReadTextLines(dir.File(HandoverCsvFileName), lines));
    EXPECT_EQ(lines, (TLines{"5,12,\"東1-01\",\"\",\"一等\",-1,4,\"本堂裏\""}));

    const std::string before = testing::ReadBytes(dir.File(HandoverCsvFileName));
    plot.Text = "十二";
    EXPECT_FALSE(WriteHandoverCsv(s));
    EXPECT_EQ(testing::ReadBytes(dir.File(HandoverCsvFileName)), before);
}

TEST(SingleInstance, ASecondHolderIsRefusedUntilTheFirstEnds) {
    TTempFolder dir;
    // Both lock files in the test's own folder: no other run can hold them.
    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", dir.Path.c_str(), 1), 0);
    const char* const oldTemp = std::getenv("TMPDIR");
    const std::string keptTemp = oldTemp ? oldTemp : "";
    ASSERT_EQ(setenv("TMPDIR", dir.Path.c_str(), 1), 0);
    {
        TSingleInstanceLock first;
        ASSERT_EQ(first.Acquire("SampleMutex"), TInstanceLock::Acquired);
        // Another process, as a second copy of the editor would be.
        const pid_t child = fork();
        if (child == 0) {
            TSingleInstanceLock second;
            _exit(second.Acquire("SampleMutex") == TInstanceLock::HeldElsewhere ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        TSingleInstanceLock sameProcess;
        EXPECT_EQ(sameProcess.Acquire("SampleMutex"), TInstanceLock::HeldElsewhere);
    }
    TSingleInstanceLock later;
    EXPECT_EQ(later.Acquire("SampleMutex"), TInstanceLock::Acquired);
    unsetenv("XDG_RUNTIME_DIR");
    if (oldTemp) setenv("TMPDIR", keptTemp.c_str(), 1);
    else unsetenv("TMPDIR");
}

}  // namespace
}  // namespace tarvek
