// The editor's files and the ledger link under faults, on the real form offscreen in a
// temporary program folder: closing with a save, registering and loading a part while
// any one system call fails, and the ways the ledger misbehaves (holding or deleting its
// files, damaged, huge or late requests, a read-only folder, a large damaged household
// export).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QApplication>
#include <cerrno>
#include <cstring>
#include <functional>
#include <random>
#include <set>

#include "document/drawing_file.h"
#include "document/figure_store.h"
#include "document/selection.h"
#include "document/view_settings.h"
#include "form_test_support.h"
#include "gui_test_main.h"
#include "households/ledger_exchange.h"
#include "households/ledger_poll.h"
#include "platform/file_calls.h"
#include "scripted_dialogs.h"

namespace tarvek {
namespace {

using testing::ReadBytes;
using testing::Snapshot;
using testing::StartForm;
using testing::TProgramFolder;
using testing::WriteBytes;
using TFiles = std::map<std::string, std::string>;

constexpr int FaultErrnos[] = {ENOSPC, EIO, EACCES};

// A program folder as a previous saving close left it, with a fresh request: every file
// a close writes is there already, so that every write replaces something.
void LayOutSavedTemple(TProgramFolder& dir) {
    dir.LayOutDefault();
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    ASSERT_EQ(form->S.StartupError, 0);
    form->S.LedgerUnchanged = 0;
    ui.Answers.push_back(mrYes);
    form->Close();
    ASSERT_TRUE(FileExists(dir.File(HandoverCsvFileName)));
    ASSERT_TRUE(FileExists(dir.DispFile()));
    dir.WriteFreshRequest();
}

void CopyFiles(const TFiles& files, const TProgramFolder& to) {
    for (const auto& [name, bytes] : files) {
        const std::filesystem::path p = to.Path / name;
        std::filesystem::create_directories(p.parent_path());
        WriteBytes(p.string(), bytes);
    }
}

// The file a failing call was working on: the target of a temporary file, or the file
// itself; empty for the folder (the sync after a rename, when the new file stands).
std::string TargetOf(const std::string& firedPath, const std::filesystem::path& folder) {
    const std::filesystem::path p(firedPath);
    if (p == folder || firedPath == folder.string() + "/") return {};
    std::string name = p.filename().string();
    if (name.size() > 8 && name.front() == '.' && name[name.size() - 7] == '.') name = name.substr(1, name.size() - 8);
    return name;
}

struct TCloseCase {
    const char* Name;
    const char* NewName;  // nullptr: saved under its own name
};

// What a close leaves, for every file name: the bytes, or nullopt for no file.
std::optional<std::string> In(const TFiles& files, const std::string& name) {
    const auto it = files.find(name);
    return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
}

// The writers of a saving close: the drawing data file (and its old name's removal), the
// hand-over file, the display settings and the outcome line. The ledger's return file and
// the request's acknowledgement have their table in test_file_faults.cpp; the part files
// theirs below (FormPartFaults).
TEST(FormCloseFaults, EverySystemCallOfTheSavingCloseFailingInTurnLosesNothing) {
    TProgramFolder templ;
    LayOutSavedTemple(templ);
    const TFiles before = Snapshot(templ.Path);

    const TCloseCase cases[] = {{"saved under its name", nullptr}, {"saved under a new name", "本堂裏"}};
    for (const TCloseCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string name = c.NewName ? c.NewName : TProgramFolder::Drawing;
        const auto rel = [&](const std::string& path) { return std::filesystem::relative(path, templ.Path).string(); };
        const std::string dataNew = rel(templ.DataFile(name));
        const std::string handover = HandoverCsvFileName, request = SelectedDrawingFileName;

        // One close: the folder afterwards, what was shown, and the calls made.
        const auto close = [&](TProgramFolder& dir, TFailingFileCalls& calls, TScriptedUi& ui) {
            CopyFiles(before, dir);
            auto form = StartForm(dir, ui);
            EXPECT_EQ(form->S.StartupError, 0);
            // A moved figure and a plot's new remarks: both files get new content.
            TDateRec& r = form->S.Fig(1);
            r.X1 += 1000, r.X2 += 1000, r.X3 += 1000, r.X4 += 1000;
            UpdateFigureBounds(form->S, 1);
            for (std::int32_t i = 1; i <= form->S.FigureCount; ++i)
                if (IsPlotRecord(form->S.Fig(i))) form->S.Fig(i).PlotRemarks = "改葬";
            form->S.LedgerUnchanged = 0;
            if (c.NewName) form->file_neisyo->SetText(c.NewName);
            ui.Answers.push_back(mrYes);
            {
                TFileCallsScope scope(calls);
                form->Close();
            }
            return Snapshot(dir.Path);
        };
        TFiles after;
        int total;
        {
            TProgramFolder dir;
            TFailingFileCalls calls;
            TScriptedUi ui;
            after = close(dir, calls, ui);
            total = calls.Calls;
            ASSERT_EQ(ui.Shown.size(), 1u) << "the question alone";
            ASSERT_NE(In(after, dataNew), In(before, dataNew));
            ASSERT_NE(In(after, handover), In(before, handover));
        }
        ASSERT_GE(total, 20);

        for (int n = 1; n <= total; ++n) {
            const int err = FaultErrnos[static_cast<std::size_t>(n) % std::size(FaultErrnos)];
            TProgramFolder dir;
            TFailingFileCalls calls;
            calls.FailAt = n;
            calls.FailErrno = err;
            TScriptedUi ui;
            const TFiles now = close(dir, calls, ui);
            ASSERT_TRUE(calls.Fired);
            const std::string target = TargetOf(calls.FiredPath, dir.Path);
            SCOPED_TRACE(std::to_string(n) + ": " + TFailingFileCalls::KindName(calls.FiredKind) + " of \"" +
                         (target.empty() ? "the folder" : target) + "\" fails with " + std::strerror(err));

            // Every file is as it was or as the close without fault left it, whole; the
            // outcome line is checked below.
            std::set<std::string> names;
            for (const TFiles* f : std::initializer_list<const TFiles*>{&before, &after, &now})
                for (const auto& [file, bytes] : *f) names.insert(file);
            for (const std::string& file : names) {
                EXPECT_NE(file.front(), '.') << "a temporary file left behind: " << file;
                if (file == request) continue;
                const auto is = In(now, file);
                EXPECT_TRUE(is == In(before, file) || is == In(after, file)) << file;
            }
            if (!target.empty()) {
                // What the failing call worked on is untouched, and the user is told why.
                EXPECT_EQ(In(now, target), In(before, target)) << target;
                bool shown = false;
                for (const auto& box : ui.Shown)
                    shown = shown || (box.Type == TMsgDlgType::mtError && box.Text.find(std::strerror(err)) != std::string::npos &&
                                      box.Text.find(target) != std::string::npos);
                EXPECT_TRUE(shown) << "no message names " << target;
            }

            // The outcome line claims nothing that did not reach the disk.
            const std::string line = Cp932ToUtf8(*In(now, request));
            if (In(now, request) == In(before, request)) continue;  // the answer itself failed
            const std::vector<std::string> f = SplitCsvFields(line.substr(0, line.find('\r')), 6);
            const bool drawingSaved = In(now, dataNew) == In(after, dataNew);
            const bool handoverSaved = In(now, handover) == In(after, handover);
            if (f[1] == "\"変更有\"") {
                EXPECT_TRUE(drawingSaved && handoverSaved);
            } else if (f[1] == "\"変更図\"") {
                EXPECT_TRUE(drawingSaved && !handoverSaved);
            } else {
                EXPECT_EQ(f[1], "\"取消し\"");
                EXPECT_FALSE(drawingSaved);
            }
            // It names a drawing that is there and is the one saved (or the one opened).
            const std::string named = f[5].substr(1, f[5].size() - 2);
            EXPECT_EQ(named, drawingSaved ? name : std::string(TProgramFolder::Drawing));
        }
    }
}

// ---- the ledger misbehaving ----

// A ledger that answers the editor's sleeps as the test says; and boxes that can run
// code while they are open, as timers do under a modal box.
class TLedgerUi : public testing::TTakingLedgerUi {
public:
    std::function<void(int sleeps)> OnSleep;
    std::function<void()> WhileBoxOpen;
    bool Open = false;
    bool BoxOpen() const override { return Open; }
    void Sleep(int ms) override {
        testing::TTakingLedgerUi::Sleep(ms);
        if (OnSleep) OnSleep(static_cast<int>(Sleeps.size()));
    }
    int MessageDlg(const std::string& text, TMsgDlgType type, unsigned buttons, const std::string& caption) override {
        Open = true;
        if (WhileBoxOpen) WhileBoxOpen();
        Open = false;
        return TScriptedUi::MessageDlg(text, type, buttons, caption);
    }
};

// The sample temple in a program folder, started with a fresh request.
std::unique_ptr<TForm_zumenn> StartSample(TProgramFolder& dir, TUserServices& ui) {
    std::filesystem::copy(TARVEK_SAMPLES "/temple", dir.Path, std::filesystem::copy_options::recursive);
    WriteBytes(dir.RequestFile(), Utf8ToCp932("\"墓地\",\"\",\"\",\"明星寺\",\"\",\"本堂裏墓地\"\r\n"));
    return StartForm(dir, ui);
}

// "部品登録" and "部品読込" with the Nth system call failing, for every N: a part written
// new or over an old one, and a part with plots loaded, whose list goes to the ledger.
TEST(FormPartFaults, EverySystemCallOfRegisteringAndLoadingAPartFailingInTurnLosesNothing) {
    testing::TScriptedDialogs dialogs;
    // Every figure of the sample temple, selected, as a part.
    const auto selectAll = [](TForm_zumenn& form) {
        for (std::int32_t i = 1; i <= form.S.FigureCount; ++i) form.S.Fig(i).Selected = 1;
        RebuildSelectionList(form.S, true);
    };
    const auto noTemporaryFile = [](const TFiles& files) {
        for (const auto& [name, bytes] : files) EXPECT_NE(name.front(), '.') << "a temporary file left behind: " << name;
    };
    const auto shown = [](const TScriptedUi& ui, TMsgDlgType type, const std::string& path, int err) {
        for (const auto& box : ui.Shown)
            if (box.Type == type && box.Text.find(path) != std::string::npos &&
                box.Text.find(std::strerror(err)) != std::string::npos)
                return true;
        return false;
    };
    const std::string partName = "寺全体.bbh";

    for (const bool overOld : {false, true}) {
        SCOPED_TRACE(overOld ? "registered over an old part" : "registered as a new part");
        TProgramFolder dir;
        TScriptedUi ui;
        auto form = StartSample(dir, ui);
        ASSERT_EQ(form->S.StartupError, 0);
        selectAll(*form);
        const std::string part = dir.File(partName), old = "Ver4.00\r\nendofdata\r\n";
        const auto registerPart = [&](TFailingFileCalls& calls) {
            std::filesystem::remove(part);
            if (overOld) WriteBytes(part, old);
            ui.Shown.clear();
            dialogs.FileNames = {part};
            TFileCallsScope scope(calls);
            form->BitBtn32->Click();
        };
        TFailingFileCalls clean;
        registerPart(clean);
        ASSERT_TRUE(ui.Shown.empty());
        const std::string written = ReadBytes(part);
        ASSERT_NE(written, old);
        TFiles others = Snapshot(dir.Path);
        others.erase(partName);
        ASSERT_GE(clean.Calls, 5);

        for (int n = 1; n <= clean.Calls; ++n) {
            const int err = FaultErrnos[static_cast<std::size_t>(n) % std::size(FaultErrnos)];
            TFailingFileCalls calls;
            calls.FailAt = n;
            calls.FailErrno = err;
            registerPart(calls);
            ASSERT_TRUE(calls.Fired);
            SCOPED_TRACE(std::to_string(n) + ": " + TFailingFileCalls::KindName(calls.FiredKind) + " of " +
                         calls.FiredPath + " fails with " + std::strerror(err));
            TFiles now = Snapshot(dir.Path);
            noTemporaryFile(now);
            const std::optional<std::string> result = In(now, partName);
            now.erase(partName);
            EXPECT_EQ(now, others) << "nothing else written";
            if (result == written) continue;  // the folder's sync after the rename: the part stands
            EXPECT_EQ(result, overOld ? std::optional<std::string>(old) : std::nullopt);
            EXPECT_TRUE(shown(ui, TMsgDlgType::mtError, part, err)) << "the failure is shown";
        }
    }

    // Loading the whole temple as a part: its plots get new keys and go to the ledger.
    std::string partBytes;
    {
        TProgramFolder dir;
        TScriptedUi ui;
        auto form = StartSample(dir, ui);
        selectAll(*form);
        dialogs.FileNames = {dir.File(partName)};
        form->BitBtn32->Click();
        partBytes = ReadBytes(dir.File(partName));
        ASSERT_FALSE(partBytes.empty());
    }
    struct TLoaded {
        TFiles Before;
        std::int32_t Added;
        bool Pending;
    };
    const auto load = [&](TProgramFolder& dir, TScriptedUi& ui, TFailingFileCalls& calls) {
        auto form = StartSample(dir, ui);
        EXPECT_EQ(form->S.StartupError, 0);
        WriteBytes(dir.File(partName), partBytes);
        TLoaded out{Snapshot(dir.Path), form->S.FigureCount, false};
        ui.Shown.clear();
        dialogs.FileNames = {dir.File(partName)};
        {
            TFileCallsScope scope(calls);
            form->buhinn->Click();
        }
        out.Added = form->S.FigureCount - out.Added;
        out.Pending = form->S.Ledger.LedgerChangesPending != 0;
        return out;
    };
    TProgramFolder cleanDir;
    TScriptedUi cleanUi;
    TFailingFileCalls clean;
    const TLoaded done = load(cleanDir, cleanUi, clean);
    ASSERT_GT(done.Added, 0);
    ASSERT_FALSE(done.Pending);
    const std::optional<std::string> list = In(Snapshot(cleanDir.Path), "戻し.txt");
    ASSERT_TRUE(list.has_value());
    ASSERT_GE(clean.Calls, 7);

    for (int n = 1; n <= clean.Calls; ++n) {
        const int err = FaultErrnos[static_cast<std::size_t>(n) % std::size(FaultErrnos)];
        TProgramFolder dir;
        TScriptedUi ui;
        TFailingFileCalls calls;
        calls.FailAt = n;
        calls.FailErrno = err;
        const TLoaded now = load(dir, ui, calls);
        ASSERT_TRUE(calls.Fired);
        const std::string target = TargetOf(calls.FiredPath, dir.Path);
        SCOPED_TRACE(std::to_string(n) + ": " + TFailingFileCalls::KindName(calls.FiredKind) + " of \"" +
                     (target.empty() ? "the folder" : target) + "\" fails with " + std::strerror(err));
        TFiles files = Snapshot(dir.Path);
        noTemporaryFile(files);
        const std::optional<std::string> returned = In(files, "戻し.txt");
        files.erase("戻し.txt");
        EXPECT_EQ(files, now.Before) << "the part and the drawing's files stay";
        if (target == partName && calls.FiredKind == TFailingFileCalls::TKind::Open) {
            // The part cannot be opened: named, and nothing loaded or sent.
            EXPECT_EQ(now.Added, 0);
            EXPECT_FALSE(returned.has_value());
            EXPECT_TRUE(shown(ui, TMsgDlgType::mtWarning, dir.File(partName), err));
        } else if (target == "戻し.txt") {
            // The part is in, its list not delivered: shown, and kept for the next sending.
            EXPECT_EQ(now.Added, done.Added);
            EXPECT_FALSE(returned.has_value());
            EXPECT_TRUE(now.Pending);
            EXPECT_TRUE(shown(ui, TMsgDlgType::mtError, dir.File("戻し.txt"), err));
        } else {
            // Closing the part after reading, or the folder's sync after the list stands.
            EXPECT_EQ(now.Added, done.Added);
            EXPECT_EQ(returned, list);
            EXPECT_FALSE(now.Pending);
        }
    }
}

class LedgerFaults : public ::testing::Test {
protected:
    void SetUp() override {
        Form = StartSample(Dir, Ui);
        ASSERT_EQ(Form->S.StartupError, 0);
        ASSERT_TRUE(Form->R_time->Checked());
    }
    std::string RequestPath() const { return Dir.File("追加.txt"); }
    std::string ReturnPath() const { return Dir.File("戻し.txt"); }
    std::int32_t FirstPlot() const {
        for (std::int32_t i = 1; i <= Form->S.FigureCount; ++i)
            if (IsPlotRecord(Form->S.Fig(i)) && !Form->S.Fig(i).Deleted) return i;
        return 0;
    }
    // A change the ledger must hear of: the first plot's remarks sent as a change.
    bool SendChange() { return SendChangeRecordList(Form->S, *Form, VerbChanged, {FirstPlot()}); }
    TProgramFolder Dir;
    TLedgerUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(LedgerFaults, ALedgerThatHoldsItsReturnFileForEverTimesOutOnceAndGetsEverythingLater) {
    WriteBytes(ReturnPath(), "");
    const int fd = open(ReturnPath().c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);  // held, as the ledger holds a file it reads

    EXPECT_FALSE(SendChange());
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, LedgerTimeoutMessage);
    EXPECT_EQ(Ui.Sleeps.size(), static_cast<std::size_t>(LedgerWaitCount));
    EXPECT_FALSE(Form->R_time->Checked());
    EXPECT_EQ(ReadBytes(ReturnPath()), "");
    EXPECT_EQ(Form->S.Ledger.LedgerWriteBusy, 0);

    // Reflection is off now: further changes wait, nothing is tried or shown again.
    EXPECT_FALSE(SendChange());
    EXPECT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Sleeps.size(), static_cast<std::size_t>(LedgerWaitCount));

    // The ledger lets go; ticking the box sends the whole list, once.
    flock(fd, LOCK_UN);
    close(fd);
    Ui.ReturnPath = ReturnPath();
    Form->R_time->Click();
    const std::vector<std::string> lists = Ui.Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].rfind(ChangeRecordHeader(VerbRefresh), 0), 0u);
    EXPECT_EQ(Form->S.Ledger.LedgerChangesPending, 0);
    EXPECT_EQ(Ui.Shown.size(), 1u);
}

TEST_F(LedgerFaults, ALedgerThatDeletesItsFileInTheMiddleOfTheWaitGetsTheListOnce) {
    WriteBytes(ReturnPath(), "previous list\r\n");  // not yet taken
    Ui.OnSleep = [&](int sleeps) {
        if (sleeps == 4) std::filesystem::remove(ReturnPath());
    };
    EXPECT_TRUE(SendChange());
    EXPECT_EQ(Ui.Sleeps.size(), 4u);
    EXPECT_TRUE(Ui.Shown.empty());
    const std::string list = Cp932ToUtf8(ReadBytes(ReturnPath()));
    EXPECT_EQ(list.rfind(ChangeRecordHeader(VerbChanged) + "\r\n", 0), 0u);
    EXPECT_EQ(list.find("previous"), std::string::npos);
    EXPECT_EQ(Form->S.Ledger.LedgerChangesPending, 0);
}

TEST(LedgerRequests, RequestsThatCannotBeTakenAsTheyStand) {
    struct TCase {
        const char* Name;
        std::function<void(const std::string& path, TFailingFileCalls& calls)> Write;
        bool Stops;         // polling stops for the run, the file kept
        bool WaitsForRead;  // kept while it cannot be read, taken once it can
    };
    const TCase cases[] = {
        {"unreadable",
         [](const std::string& p, TFailingFileCalls& calls) {
             WriteBytes(p, "3\r\n");
             calls.UnreadablePath = p;
             calls.UnreadableErrno = EACCES;
         },
         false, true},
        {"cut inside a character", [](const std::string& p, TFailingFileCalls&) { WriteBytes(p, "3\x82"); }, true, false},
        {"cut before its line end", [](const std::string& p, TFailingFileCalls&) { WriteBytes(p, "-4"); }, false, false},
        {"50 MB of garbage",
         [](const std::string& p, TFailingFileCalls&) {
             std::mt19937 gen(50);
             std::string bytes(50u << 20, '\0');
             for (char& b : bytes) b = static_cast<char>(gen());
             WriteBytes(p, bytes);
         },
         true, false},
        {"one line of 50 MB", [](const std::string& p, TFailingFileCalls&) { WriteBytes(p, std::string(50u << 20, '7')); },
         true, false},
        {"the most negative number", [](const std::string& p, TFailingFileCalls&) { WriteBytes(p, "-2147483648\r\n"); },
         false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramFolder dir;
        TLedgerUi ui;
        auto form = StartSample(dir, ui);
        ASSERT_EQ(form->S.StartupError, 0);
        const std::string path = dir.File("追加.txt");
        TFailingFileCalls calls;
        c.Write(path, calls);
        const std::uintmax_t size = std::filesystem::file_size(path);
        {
            TFileCallsScope scope(calls);
            form->Timer1Timer();
            form->Timer1Timer();
        }
        // Two ticks read no more than their first lines: 50 MB are never read whole.
        EXPECT_LE(calls.BytesRead, 2 * (MaxTextLineBytes + (64u << 10)));
        EXPECT_TRUE(ui.Shown.empty());  // polling says nothing
        EXPECT_EQ(form->S.Ledger.PollingStopped, c.Stops);
        if (c.Stops || c.WaitsForRead) {
            EXPECT_EQ(std::filesystem::file_size(path), size) << "nothing taken";
            EXPECT_EQ(form->S.SelectedCount, 0);
        } else {
            EXPECT_EQ(ReadBytes(path), "");  // taken as it stands
        }
        if (c.WaitsForRead) {
            form->Timer1Timer();  // readable again: taken now, once
            EXPECT_EQ(ReadBytes(path), "");
            EXPECT_EQ(form->S.LedgerTargetId, 3);
            EXPECT_EQ(form->S.SelectedCount, 1);
        }
        if (std::string(c.Name) == "the most negative number") {
            // No household has the number 2147483648: none is shown, none is written back.
            EXPECT_EQ(form->S.LedgerTargetId, 0);
            form->Close();
            EXPECT_EQ(Cp932ToUtf8(ReadBytes(dir.RequestFile())), "\"墓地\",\"\",\"0\",\"明星寺\",OK,\"本堂裏墓地\"\r\n");
        }
    }
}

TEST_F(LedgerFaults, ARequestWrittenWhileAQuestionIsOpenIsTakenAfterTheAnswer) {
    WriteBytes(RequestPath(), "1\r\n");
    Form->Timer1Timer();
    const std::int32_t plot = Form->S.CurrentHitIndex;
    ASSERT_GT(plot, 0);
    Form->PageControl1->SetActivePageIndex(1);
    int row = 0;
    for (int r = 1; r < Form->StringGrid1->RowCount() && !row; ++r)
        if (Form->StringGrid1->Cells(0, r) == "000081") row = r;
    ASSERT_GT(row, 0);
    Form->StringGrid1->SetRow(row);
    // Household 000081 owns a plot already: the assignment asks whether to add one more.
    std::vector<std::string> underTheBox;
    Ui.WhileBoxOpen = [&] {
        WriteBytes(RequestPath(), "3\r\n");
        Form->Timer1Timer();  // the timer fires under the box
        underTheBox.push_back(ReadBytes(RequestPath()));
    };
    Ui.Answers = {mrNo};
    Form->StringGrid1DblClick();
    Ui.WhileBoxOpen = nullptr;
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(underTheBox, std::vector<std::string>{"3\r\n"}) << "waits for the answer";
    EXPECT_EQ(Form->S.CurrentHitIndex, plot);
    Form->Timer1Timer();
    EXPECT_EQ(ReadBytes(RequestPath()), "");
    EXPECT_NE(Form->S.CurrentHitIndex, plot);
    EXPECT_EQ(Form->S.Fig(Form->S.CurrentHitIndex).PlotId, 3);
    // Each request once: its view step, its selection step and the step of the selection
    // it cleared, an empty one too, so that its undo takes exactly its own steps.
    EXPECT_EQ(Form->S.HistoryCount, 7);
}

TEST_F(LedgerFaults, AFolderMadeReadOnlyBeforeClosingShowsTheFailureAndChangesNoFile) {
    Form->S.LedgerUnchanged = 0;
    Ui.Answers.push_back(mrYes);
    const auto before = Snapshot(Dir.Path);
    std::filesystem::permissions(Dir.Path, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                               std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    // Root writes into any folder: the same refusal through the file calls.
    TFailingFileCalls calls;
    calls.ReadOnlyFolder = Dir.Path.string();
    calls.ReadOnlyErrno = EACCES;
    {
        TFileCallsScope scope(calls);
        Form->Close();
    }
    std::filesystem::permissions(Dir.Path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
    EXPECT_EQ(Snapshot(Dir.Path), before);
    // The question, then the drawing's, the display settings' and the answer's failures.
    ASSERT_GE(Ui.Shown.size(), 4u);
    for (std::size_t k = 1; k < Ui.Shown.size(); ++k) {
        EXPECT_EQ(Ui.Shown[k].Type, TMsgDlgType::mtError);
        EXPECT_NE(Ui.Shown[k].Text.find(std::strerror(EACCES)), std::string::npos) << Ui.Shown[k].Text;
    }
    EXPECT_NE(Ui.Shown[1].Text.find("_data.txt"), std::string::npos);
}

TEST(LedgerHouseholds, AnExportOf5000RowsSomeDamagedKeepsItsRowsOrFailsItsStage) {
    struct TCase {
        const char* Name;
        std::string Damage;     // the row put in at every 500th place
        const char* Message;    // nullptr: starts
    };
    // Rows are kept as they come; an ID that is no number fails the hand-over stage,
    // whose merge compares the sample's households with every row.
    const TCase cases[] = {
        {"fewer fields", "\"77\",\"欠家\"", nullptr},
        {"more fields", "1,2,3,4,5,6,7,8,9,10,11", nullptr},
        {"an empty line", "", nullptr},
        {"a very long field", "9," + std::string(100000, 'x'), nullptr},
        {"quotes inside the ID", "\"7\"8\",\"a,b\",\"\"", HandoverStageMessage},
        {"invalid bytes in the ID", "\x81\xff,\x82", HandoverStageMessage},
        {"an ID that is no number", "\"abc\",\"不明家\"", HandoverStageMessage},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramFolder dir;
        std::filesystem::copy(TARVEK_SAMPLES "/temple", dir.Path, std::filesystem::copy_options::recursive);
        WriteBytes(dir.RequestFile(), Utf8ToCp932("\"墓地\",\"\",\"\",\"明星寺\",\"\",\"本堂裏墓地\"\r\n"));
        std::string bytes;
        for (int k = 1; k <= 5000; ++k) {
            if (k % 500 == 0) {
                bytes += (c.Damage.find('\x81') == std::string::npos ? Utf8ToCp932(c.Damage) : c.Damage) + "\r\n";
                continue;
            }
            bytes += Utf8ToCp932("\"" + std::to_string(100000 + k) + "\",\"家" + std::to_string(k) +
                                 "\",\"主\",\"町\",\"県\",\"1-2\",\"0123\",\"3\",\"\"") +
                     "\r\n";
        }
        WriteBytes(dir.File(HouseholdTableFileName), bytes);
        const auto before = Snapshot(dir.Path);
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        if (c.Message) {
            ASSERT_EQ(ui.Shown.size(), 1u);
            EXPECT_EQ(ui.Shown[0].Text, c.Message);
            EXPECT_EQ(Snapshot(dir.Path), before);
            continue;
        }
        ASSERT_EQ(form->S.StartupError, 0) << (ui.Shown.empty() ? std::string() : ui.Shown[0].Text);
        EXPECT_EQ(form->StringGrid1->RowCount(), 5001);  // every row kept, damaged or not
        EXPECT_EQ(form->StringGrid1->Cells(0, 1), "100001");
        EXPECT_EQ(CharCount(form->StringGrid1->Cells(0, 500)), 6u);
    }
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
