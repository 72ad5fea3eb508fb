// The live exchange with the ledger: the return file's hand-shake against a fake ledger
// that empties or holds the file while the editor sleeps, the full list after re-ticking
// real-time reflection, the selection verb, and the polling of the request file.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "document/selection.h"
#include "households/ledger_exchange.h"
#include "households/ledger_poll.h"
#include "platform/textfile.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::ReadBytes;
using testing::TTempFolder;
using testing::WriteBytes;

const std::string TimeoutText =
    "台帳側にアクセス出来ませんでした。リアルタイム反映を「OFF」にします。\r"
    " 　　　　CAD 終了後まとめて反映できます。";

// The fake ledger acts while the editor sleeps: OnSleep gets the number of sleeps so far.
struct TLedgerUi : TScriptedUi {
    std::function<void(int)> OnSleep;
    std::vector<int> BusyDuringSleep;
    const TDrawingState* S = nullptr;
    bool Box = false;
    bool BoxOpen() const override { return Box; }
    void Sleep(int ms) override {
        TScriptedUi::Sleep(ms);
        if (S) BusyDuringSleep.push_back(S->Ledger.LedgerWriteBusy);
        if (OnSleep) OnSleep(static_cast<int>(Sleeps.size()));
    }
};

struct TFakeForm : TEditorView, TLedgerView {
    bool RTime = true;
    bool Question = false;
    int Page = 3;
    int Hits = 0;
    int AloneRow = -1;
    bool RealTimeReflection() const override { return RTime; }
    void SetRealTimeReflection(bool checked) override { RTime = checked; }
    bool QuestionOpen() const override { return Question; }
    void SetActivePage(int page) override { Page = page; }
    int ActivePageIndex() const override { return Page; }
    void ShowCurrentHit() override { ++Hits; }
    void ShowHouseholdAlone(int row) override { AloneRow = row; }
};

class LedgerFixture : public ::testing::Test {
protected:
    LedgerFixture() : S(Ui, &Form) {
        S.ExeFolder = Dir.Folder();
        Ui.S = &S;
    }
    TDateRec& AddPlot(std::int32_t id, const std::string& household, std::int32_t kind = fkPlot) {
        TDateRec& r = S.Fig(++S.FigureCount);
        r.Kind = kind;
        r.IsPlot = 1;
        r.PlotId = id;
        r.Text = household;
        r.PlotNumber = "北上段" + std::to_string(id);
        r.Grade = "A";
        r.DistrictId = 5;
        r.DrawingName = "図面1";
        return r;
    }
    std::string ReturnPath() const { return Dir.File("戻し.txt"); }
    std::string RequestPath() const { return Dir.File("追加.txt"); }

    TTempFolder Dir;
    TLedgerUi Ui;
    TFakeForm Form;
    TDrawingState S;
};

// ---- the record lines ----

TEST(LedgerRecords, HeaderAndLines) {
    EXPECT_EQ(ChangeRecordHeader("変更"), "-999,-999,,,,-999,-999,変更");
    TDateRec r;
    r.PlotId = 12, r.Text = "000034", r.PlotNumber = "北上段001", r.Grade = "A", r.DistrictId = 5;
    r.DrawingName = "図面1";
    EXPECT_EQ(PlotExchangeLine(r), "12,000034,北上段001,,A,0,5,図面1");
    r.PlotRemarks = "東,角";  // written unchanged: one field more
    r.SourceIndex = -3;
    EXPECT_EQ(PlotExchangeLine(r), "12,000034,北上段001,東,角,A,-3,5,図面1");
}

// ---- the hand-shake ----

enum class TLedgerAct { Absent, Empty, FullForever, EmptiedAfter1200ms, HeldForever, HeldFor1s };

struct THandshakeCase {
    const char* Name;
    TLedgerAct Act;
    bool RTime;
    bool Written;
    int Sleeps;
};

class LedgerHandshake : public LedgerFixture, public ::testing::WithParamInterface<THandshakeCase> {};

TEST_P(LedgerHandshake, DeliversOrTimesOut) {
    const THandshakeCase& c = GetParam();
    Form.RTime = c.RTime;
    AddPlot(12, "000034").PlotNumber = "北上段001";
    const std::string path = ReturnPath();
    const std::string old = "-999,-999,,,,-999,-999,追加\r\n";
    int holder = -1;
    switch (c.Act) {
        case TLedgerAct::Absent: break;
        case TLedgerAct::Empty: WriteBytes(path, ""); break;
        case TLedgerAct::FullForever: WriteBytes(path, old); break;
        case TLedgerAct::EmptiedAfter1200ms:
            WriteBytes(path, old);
            Ui.OnSleep = [&](int n) { if (n == 3) WriteBytes(path, ""); };  // during the third wait
            break;
        case TLedgerAct::HeldForever:
        case TLedgerAct::HeldFor1s:
            WriteBytes(path, "");
            // A second descriptor is its own open file description, as another process is.
            holder = ::open(path.c_str(), O_RDWR);
            ASSERT_GE(holder, 0);
            ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
            if (c.Act == TLedgerAct::HeldFor1s)
                Ui.OnSleep = [&](int n) { if (n == 2) { ::close(holder); holder = -1; } };
            break;
    }
    const std::string before = ReadBytes(path);
    const bool existed = std::filesystem::exists(path);

    const bool ok = SendChangeRecordList(S, Form, VerbChanged, {1});

    const std::string expected = Utf8ToCp932("-999,-999,,,,-999,-999,変更\r\n12,000034,北上段001,,A,0,5,図面1\r\n");
    EXPECT_EQ(ok, c.Written);
    if (c.Written) {
        EXPECT_EQ(ReadBytes(path), expected);
    } else {
        EXPECT_EQ(std::filesystem::exists(path), existed);
        EXPECT_EQ(ReadBytes(path), before);
    }
    EXPECT_EQ(static_cast<int>(Ui.Sleeps.size()), c.Sleeps);
    for (int ms : Ui.Sleeps) EXPECT_EQ(ms, 500);
    for (int busy : Ui.BusyDuringSleep) EXPECT_EQ(busy, 1);
    const bool timedOut = c.RTime && !c.Written;
    ASSERT_EQ(Ui.Shown.size(), timedOut ? 1u : 0u);
    if (timedOut) {
        EXPECT_EQ(Ui.Shown[0].Text, TimeoutText);
        EXPECT_EQ(Ui.Shown[0].Type, TMsgDlgType::mtInformation);
        EXPECT_EQ(Ui.Shown[0].Buttons, static_cast<unsigned>(mbOK));
    }
    EXPECT_EQ(Form.RTime, c.RTime && c.Written);
    EXPECT_EQ(S.Ledger.LedgerChangesPending, c.Written ? 0 : 1);
    EXPECT_EQ(S.Ledger.LedgerWriteBusy, 0);
    EXPECT_EQ(Ui.BusyDepth, 0);
    if (holder >= 0) ::close(holder);
}

INSTANTIATE_TEST_SUITE_P(
    LedgerTable, LedgerHandshake,
    ::testing::Values(
        THandshakeCase{"AbsentOn", TLedgerAct::Absent, true, true, 0},
        THandshakeCase{"EmptyOn", TLedgerAct::Empty, true, true, 0},
        THandshakeCase{"FullForeverOn", TLedgerAct::FullForever, true, false, 10},
        THandshakeCase{"EmptiedAfter1200msOn", TLedgerAct::EmptiedAfter1200ms, true, true, 3},
        THandshakeCase{"HeldForeverOn", TLedgerAct::HeldForever, true, false, 10},
        THandshakeCase{"HeldFor1sOn", TLedgerAct::HeldFor1s, true, true, 2},
        THandshakeCase{"AbsentOff", TLedgerAct::Absent, false, false, 0},
        THandshakeCase{"EmptyOff", TLedgerAct::Empty, false, false, 0},
        THandshakeCase{"FullForeverOff", TLedgerAct::FullForever, false, false, 0},
        THandshakeCase{"EmptiedAfter1200msOff", TLedgerAct::EmptiedAfter1200ms, false, false, 0},
        THandshakeCase{"HeldForeverOff", TLedgerAct::HeldForever, false, false, 0},
        THandshakeCase{"HeldFor1sOff", TLedgerAct::HeldFor1s, false, false, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

using LedgerFlush = LedgerFixture;

TEST_F(LedgerFlush, AssignmentListHasNoFinalLineEnd) {
    AddPlot(7, "000001");
    ASSERT_TRUE(SendChangeRecordList(S, Form, VerbChanged, {1}, TListEnd::None));
    const std::string bytes = ReadBytes(ReturnPath());
    EXPECT_EQ(bytes, "-999,-999,,,,-999,-999,\x95\xcf\x8d\x58\r\n" + Utf8ToCp932("7,000001,北上段7,,A,0,5,図面1"));
}

TEST_F(LedgerFlush, HeaderAloneIsNeverWritten) {
    BeginChangeRecordList(S, VerbRemoved);
    EXPECT_FALSE(FlushChangesToLedger(S, Form));
    EXPECT_FALSE(std::filesystem::exists(ReturnPath()));
    EXPECT_EQ(S.Ledger.LedgerChangesPending, 1);
}

TEST_F(LedgerFlush, NoLineWithPlotKeyZeroLeavesAndAListOfOnlySuchIsNeverWritten) {
    AddPlot(0, "000012", fkOldPlot).IsPlot = 0;  // 1: an old part's kind 11
    AddPlot(10, "000001");                       // 2
    AddPlot(0, "0");                             // 3: no key, whatever the flag says
    struct TCase {
        const char* Name;
        std::vector<std::int32_t> Records;
        TListEnd End;
        const char* Written;  // nullptr: no file
    };
    const TCase cases[] = {
        {"among plots", {1, 2, 3}, TListEnd::CrLf, "-999,-999,,,,-999,-999,削除\r\n10,000001,北上段10,,A,0,5,図面1\r\n"},
        {"the last line of an assignment", {2, 1}, TListEnd::None, "-999,-999,,,,-999,-999,削除\r\n10,000001,北上段10,,A,0,5,図面1"},
        {"nothing else", {1, 3}, TListEnd::CrLf, nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::filesystem::remove(ReturnPath());
        S.Ledger.LedgerChangesPending = 0;
        EXPECT_EQ(SendChangeRecordList(S, Form, VerbRemoved, c.Records, c.End), c.Written != nullptr);
        if (c.Written) {
            EXPECT_EQ(ReadBytes(ReturnPath()), Utf8ToCp932(c.Written));
        } else {
            EXPECT_FALSE(std::filesystem::exists(ReturnPath()));
        }
        EXPECT_EQ(S.Ledger.LedgerChangesPending, c.Written ? 0 : 1);
        EXPECT_TRUE(Form.RTime);
        EXPECT_TRUE(Ui.Sleeps.empty());
    }
}

TEST_F(LedgerFlush, UnwritableFolderKeepsListPendingAndClearsBusy) {
    AddPlot(7, "000001");
    S.ExeFolder = Dir.Folder() + "missing/";
    EXPECT_FALSE(SendChangeRecordList(S, Form, VerbChanged, {1}));
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(Form.RTime);
    EXPECT_EQ(S.Ledger.LedgerChangesPending, 1);
    EXPECT_EQ(S.Ledger.LedgerWriteBusy, 0);
    EXPECT_EQ(Ui.BusyDepth, 0);
}

TEST_F(LedgerFlush, LockOfAnotherProcessIsSeen) {
    const std::string path = ReturnPath();
    WriteBytes(path, "");
    EXPECT_FALSE(IsFileLocked(path));
    EXPECT_FALSE(IsFileLocked(path + ".none"));
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(release[1]);  // else the child's own write end keeps its read from ending
        const int fd = ::open(path.c_str(), O_RDWR);
        char b = ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
        (void)!::write(ready[1], &b, 1);
        (void)!::read(release[0], &b, 1);  // until the parent closes its end
        ::_exit(0);
    }
    ::close(release[0]);
    char b = 0;
    ASSERT_EQ(::read(ready[0], &b, 1), 1);
    EXPECT_EQ(b, 'y');
    EXPECT_TRUE(IsFileLocked(path));
    ::close(release[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_FALSE(IsFileLocked(path));
    EXPECT_EQ(GetFileSizeOrMinus1(path), 0);
    EXPECT_EQ(GetFileSizeOrMinus1(path + ".none"), -1);
    ::close(ready[0]);
    ::close(ready[1]);
}

// ---- re-ticking real-time reflection ----

TEST_F(LedgerFlush, RetickingSendsEveryLivePlotThatIsNoCompoundMember) {
    AddPlot(1, "000001");                      // 1
    S.Fig(++S.FigureCount).Kind = fkLine;      // 2 no plot
    AddPlot(3, "000003").Deleted = 1;          // 3 deleted
    AddPlot(4, "000004", fkPolygon);           // 4 compound parent
    AddPlot(4, "0", fkPolygonEdge).OwnerIndex = 4;  // 5 its member
    AddPlot(6, "0");                           // 6
    AddPlot(0, "000012", fkOldPlot).IsPlot = 0;  // 7 an old part's kind 11: no plot
    AddPlot(8, "000008", fkOldPlot).IsPlot = 0;  // 8 an old drawing's kind 11: no flag

    RealTimeReflectionClicked(S, Form, true);  // nothing pending: nothing sent
    EXPECT_FALSE(std::filesystem::exists(ReturnPath()));

    Form.RTime = false;
    EXPECT_FALSE(SendChangeRecordList(S, Form, VerbChanged, {1}));
    EXPECT_FALSE(std::filesystem::exists(ReturnPath()));
    RealTimeReflectionClicked(S, Form, false);  // unticking does nothing else
    EXPECT_FALSE(std::filesystem::exists(ReturnPath()));

    Form.RTime = true;
    RealTimeReflectionClicked(S, Form, true);
    EXPECT_EQ(ReadBytes(ReturnPath()), Utf8ToCp932("-999,-999,,,,-999,-999,更新\r\n"
                                                   "1,000001,北上段1,,A,0,5,図面1\r\n"
                                                   "4,000004,北上段4,,A,0,5,図面1\r\n"
                                                   "6,0,北上段6,,A,0,5,図面1\r\n"));
    EXPECT_EQ(S.Ledger.LedgerChangesPending, 0);
}

// ---- the current item ----

TEST_F(LedgerFlush, SelectionIsSentOncePerChangeAndOnlyForPlots) {
    AddPlot(12, "000034");
    S.Fig(++S.FigureCount).Kind = fkLine;
    S.SelectedList = {-999, 1};
    S.SelectedCount = 1;
    S.SelectedCursor = 1;
    SendSelectionToLedger(S, Form);
    EXPECT_EQ(ReadBytes(ReturnPath()), Utf8ToCp932("-999,-999,,,,-999,-999,選択\r\n12,000034,北上段12,,A,0,5,図面1\r\n"));
    EXPECT_EQ(S.Ledger.LastSentSelection, 1);
    std::filesystem::remove(ReturnPath());
    SendSelectionToLedger(S, Form);  // same item again
    EXPECT_FALSE(std::filesystem::exists(ReturnPath()));

    AddPlot(0, "000012", fkOldPlot).IsPlot = 0;  // an old part's kind 11
    for (const std::int32_t item : {2, 3}) {
        S.SelectedList = {-999, item};
        SendSelectionToLedger(S, Form);  // no plot
        EXPECT_FALSE(std::filesystem::exists(ReturnPath())) << item;
        EXPECT_EQ(S.Ledger.LastSentSelection, 1) << item;
    }

    Form.RTime = false;
    S.SelectedList = {-999, 1};
    S.Ledger.LastSentSelection = -1;
    SendSelectionToLedger(S, Form);  // reflection off: nothing at all
    EXPECT_EQ(S.Ledger.LastSentSelection, -1);
}

TEST_F(LedgerFlush, NoSelectionIsSentWhenTheCursorNamesNoLivePlot) {
    AddPlot(12, "000034");
    AddPlot(13, "000035").Deleted = 1;
    struct TCase {
        const char* Name;
        std::vector<std::int32_t> List;
        std::int32_t Count, Cursor;
    };
    const TCase cases[] = {
        {"empty list", {}, 0, 0},
        {"entry 0", {1}, 0, 0},
        {"cursor past the count", {-999, 2, 1}, 1, 2},
        {"cursor past the list", {-999, 1}, 1, 5},
        {"no entry found", {-999, 1}, 1, -1},
        {"deleted plot", {-999, 2}, 1, 1},
    };
    for (const TCase& c : cases) {
        S.SelectedList = c.List;
        S.SelectedCount = c.Count;
        S.SelectedCursor = c.Cursor;
        SendSelectionToLedger(S, Form);
        EXPECT_FALSE(std::filesystem::exists(ReturnPath())) << c.Name;
        EXPECT_EQ(S.Ledger.LastSentSelection, -1) << c.Name;
    }
}

// ---- request polling ----

struct TPollCase {
    const char* Name;
    std::string Request;
    bool Question;
    TPollResult Result;
    std::vector<std::int32_t> Selected;  // records with the Selected flag afterwards
    int Page;                            // page in front afterwards
    int AloneRow;                        // household row shown alone, -1 none
    std::int32_t TargetId;
};

class LedgerPoll : public LedgerFixture, public ::testing::WithParamInterface<TPollCase> {
protected:
    LedgerPoll() {
        AddPlot(25, "000001").ShareSetId = 25;          // 1
        AddPlot(26, "000002").ShareSetId = 25;          // 2 its shared copy
        AddPlot(30, "000003");                          // 3
        AddPlot(40, "000004", fkPolygon);               // 4 compound plot
        AddPlot(40, "0", fkPolygonEdge).OwnerIndex = 4; // 5 its member
        S.Households = {{"000120", "百二十"}, {"000012", "十二"}, {"x12", "壊れ"}};
        S.Fig(3).Selected = 1;
        RebuildSelectionList(S, false);
        S.HistoryCount = 1;
    }
    std::vector<std::int32_t> SelectedRecords() const {
        std::vector<std::int32_t> v;
        for (std::int32_t i = 1; i <= S.FigureCount; ++i)
            if (S.Fig(i).Selected) v.push_back(i);
        return v;
    }
};

TEST_P(LedgerPoll, OneTick) {
    const TPollCase& c = GetParam();
    Form.Question = c.Question;
    WriteBytes(RequestPath(), c.Request);
    EXPECT_EQ(PollLedgerRequest(S, Form), c.Result);
    EXPECT_EQ(SelectedRecords(), c.Selected);
    EXPECT_EQ(Form.Page, c.Page);
    EXPECT_EQ(Form.AloneRow, c.AloneRow);
    if (c.Result == TPollResult::Handled) {
        EXPECT_EQ(ReadBytes(RequestPath()), "");
        EXPECT_EQ(S.LedgerTargetId, c.TargetId);
        ASSERT_EQ(S.HistoryCount, 4);
        EXPECT_EQ(S.History[2].Label, "選択");
        EXPECT_EQ(S.History[3].Label, "元の画面に戻す");
        EXPECT_EQ(S.History[3].Data.Size(), 9u);  // with the zoom step
        EXPECT_EQ(S.History[4].Label, "外部選択解除");
        EXPECT_EQ(S.PreviousTab, c.Page);
        EXPECT_EQ(S.CurrentTool, 0);
    } else {
        EXPECT_EQ(ReadBytes(RequestPath()), c.Request);
        EXPECT_EQ(S.HistoryCount, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    LedgerTable, LedgerPoll,
    ::testing::Values(
        TPollCase{"SharedPlot", "25\r\nrest\r\n", false, TPollResult::Handled, {1, 2}, 0, -1, 25},
        TPollCase{"SharedCopy", "26", false, TPollResult::Handled, {1, 2}, 0, -1, 26},
        TPollCase{"CompoundPlot", "40\r\n", false, TPollResult::Handled, {4, 5}, 0, -1, 40},
        TPollCase{"Household", "-12\r\n", false, TPollResult::Handled, {}, 1, 2, 12},
        TPollCase{"UnknownHousehold", "-7\r\n", false, TPollResult::Handled, {}, 3, -1, 7},
        TPollCase{"Zero", "0\r\n", false, TPollResult::Handled, {}, 3, -1, 0},
        TPollCase{"UnknownPlot", "99\r\n", false, TPollResult::Handled, {}, 3, -1, 99},
        TPollCase{"NotAnInteger", "abc\r\n", false, TPollResult::Stopped, {3}, 3, -1, 0},
        // The one negative number without a positive counterpart names no household.
        TPollCase{"MostNegative", "-2147483648\r\n", false, TPollResult::Handled, {}, 3, -1, 0},
        TPollCase{"BelowTheRange", "-2147483649\r\n", false, TPollResult::Stopped, {3}, 3, -1, 0},
        TPollCase{"LineOverAMegabyte", std::string(2 << 20, '1'), false, TPollResult::Stopped, {3}, 3, -1, 0},
        TPollCase{"QuestionOpen", "25\r\n", true, TPollResult::Waiting, {3}, 3, -1, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(LedgerPoll, SharedCopiesAreSetAsideAndTheHitShown) {
    WriteBytes(RequestPath(), "25");
    ASSERT_EQ(PollLedgerRequest(S, Form), TPollResult::Handled);
    EXPECT_EQ(S.Fig(1).SetAside, 0);
    EXPECT_EQ(S.Fig(2).SetAside, 1);
    EXPECT_EQ(S.SelectedList, (std::vector<std::int32_t>{-999, 1}));
    EXPECT_EQ(S.SelectedCount, 1);
    EXPECT_EQ(S.SelectedCursor, 1);
    EXPECT_EQ(S.CurrentHitIndex, 1);
    EXPECT_EQ(Form.Hits, 1);
    EXPECT_EQ(S.History[4].Data.Fields, (std::vector<THistoryField>{std::int64_t{1}, std::int64_t{2}}));
}

TEST_F(LedgerPoll, IdleWithoutRequestAndStoppedAfterGarbage) {
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Idle);  // missing
    WriteBytes(RequestPath(), "");
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Idle);  // empty
    WriteBytes(RequestPath(), "abc");
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Stopped);
    WriteBytes(RequestPath(), "25");
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Stopped);  // for the rest of the run
    EXPECT_EQ(ReadBytes(RequestPath()), "25");
}

TEST_F(LedgerPoll, UnreadableFileIsTriedAgainNextTick) {
    std::filesystem::create_directory(RequestPath());  // exists, has a size, cannot be read
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Retry);
    EXPECT_EQ(SelectedRecords(), (std::vector<std::int32_t>{3}));
    std::filesystem::remove(RequestPath());
    WriteBytes(RequestPath(), "30");
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Handled);
    EXPECT_EQ(SelectedRecords(), (std::vector<std::int32_t>{3}));
    EXPECT_EQ(Form.Page, 0);
}

TEST_F(LedgerPoll, RequestWaitsForTheQuestion) {
    Form.Question = true;
    WriteBytes(RequestPath(), "25");
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Waiting);
    Form.Question = false;
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Handled);
    EXPECT_EQ(SelectedRecords(), (std::vector<std::int32_t>{1, 2}));
}

TEST_F(LedgerPoll, RequestWaitsForAnyOpenBox) {
    Ui.Box = true;
    WriteBytes(RequestPath(), "25");
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Waiting);
    EXPECT_EQ(ReadBytes(RequestPath()), "25");
    Ui.Box = false;
    EXPECT_EQ(PollLedgerRequest(S, Form), TPollResult::Handled);
}

}  // namespace
}  // namespace tarvek
