// Files under faults: every system call of a write failing in turn (a full disk, a disk
// error, no permission), reads of files far beyond any the program makes, and a save
// killed at a random moment. What was on disk stays whole.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <memory>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "document/drawing_file.h"
#include "document/startup.h"
#include "fuzz/invariants.h"
#include "households/ledger_exchange.h"
#include "households/ledger_poll.h"
#include "platform/file_calls.h"
#include "platform/textfile.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::ReadBytes;
using testing::TTempFolder;
using testing::WriteBytes;

constexpr int FaultErrnos[] = {ENOSPC, EIO, EACCES};

// Names of the files a write leaves behind besides its target: its temporary files.
std::vector<std::string> Leftovers(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().filename().string().front() == '.') names.push_back(e.path().filename().string());
    return names;
}

// Runs op with the Nth counted call failing, for N = 1, 2, ... until a run makes fewer
// calls than N; check gets the calls and whether the fault fired. Returns the number of
// counted calls of a run without fault.
int ForEachFailingCall(int err, const std::function<void()>& arrange, const std::function<void()>& op,
                       const std::function<void(const TFailingFileCalls&)>& check) {
    for (int n = 1;; ++n) {
        arrange();
        TFailingFileCalls calls;
        calls.FailAt = n;
        calls.FailErrno = err;
        {
            TFileCallsScope scope(calls);
            op();
        }
        if (!calls.Fired) return calls.Calls;
        SCOPED_TRACE(std::string("call ") + std::to_string(n) + " (" + TFailingFileCalls::KindName(calls.FiredKind) +
                     " " + calls.FiredPath + ") fails with " + std::strerror(err));
        check(calls);
        if (::testing::Test::HasFatalFailure()) return -1;
    }
}

// The directory sync after the rename: the new content already stands.
bool IsFolderSync(const TFailingFileCalls& calls, const std::string& folder) {
    return calls.FiredPath == folder || calls.FiredPath + "/" == folder;
}

TEST(FileFaults, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
    TTempFolder dir;
    const std::string path = dir.File("図面_data.txt");
    const std::string old = "old\r\n";
    const TLines next{"Ver4.00", std::string(200000, 'x'), "endofdata"};  // several writes' worth
    for (const int err : FaultErrnos) {
        const int total = ForEachFailingCall(
            err, [&] { WriteBytes(path, old); },
            [&] {
                const TFileResult r = WriteTextLines(path, next);
                const bool wrote = ReadBytes(path) != old;
                EXPECT_EQ(r.ok(), wrote);
                if (!r.ok()) {
                    EXPECT_EQ(r.Status, TFileStatus::WriteFailed);
                    EXPECT_EQ(r.Errno, err);
                    EXPECT_EQ(r.Message, std::strerror(err));
                }
            },
            [&](const TFailingFileCalls& calls) {
                EXPECT_TRUE(Leftovers(dir.Path).empty());
                const std::string now = ReadBytes(path);
                if (IsFolderSync(calls, dir.Path.string()))
                    EXPECT_EQ(Cp932ToUtf8(now), "Ver4.00\r\n" + next[1] + "\r\nendofdata\r\n");
                else
                    EXPECT_EQ(now, old);
            });
        // Temporary file, write, sync, close, rename, and the folder's open and sync.
        EXPECT_GE(total, 7);
    }
}

TEST(FileFaults, AFailedRemovalIsReportedAndLeavesTheFile) {
    TTempFolder dir;
    const std::string path = dir.File("a.txt");
    WriteBytes(path, "x");
    TFailingFileCalls calls;
    calls.FailAt = 1;
    calls.FailErrno = EIO;
    TFileCallsScope scope(calls);
    const TFileResult r = DeleteFile(path);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.Message, std::strerror(EIO));
    EXPECT_EQ(ReadBytes(path), "x");
}

TEST(FileFaults, AReadOnlyFolderRefusesEveryChange) {
    TTempFolder dir;
    const std::string path = dir.File("a.txt");
    WriteBytes(path, "x");
    TFailingFileCalls calls;
    calls.ReadOnlyFolder = dir.Path.string();
    calls.ReadOnlyErrno = EACCES;
    TFileCallsScope scope(calls);
    EXPECT_EQ(WriteTextLines(path, {"y"}).Errno, EACCES);
    EXPECT_EQ(DeleteFile(path).Errno, EACCES);
    EXPECT_EQ(WriteFileAtomically(dir.File("b.txt"), "z").Errno, EACCES);
    TLines lines;
    EXPECT_TRUE(ReadTextLines(path, lines));  // reading still works
    EXPECT_EQ(lines, TLines{"x"});
    EXPECT_EQ(ReadBytes(path), "x");
    EXPECT_TRUE(Leftovers(dir.Path).empty());
}

TEST(FileFaults, AnUnreadableFileIsAReadFailureEvenForRoot) {
    TTempFolder dir;
    const std::string path = dir.File("a.txt");
    WriteBytes(path, "x\r\n");
    TFailingFileCalls calls;
    calls.UnreadablePath = path;
    calls.UnreadableErrno = EACCES;
    TFileCallsScope scope(calls);
    TLines lines{"stale"};
    const TFileResult r = ReadTextLines(path, lines);
    EXPECT_EQ(r.Status, TFileStatus::ReadFailed);
    EXPECT_EQ(r.Errno, EACCES);
    EXPECT_TRUE(lines.empty());
    std::string line = "stale";
    EXPECT_EQ(ReadFirstLine(path, line).Status, TFileStatus::ReadFailed);
    EXPECT_TRUE(line.empty());
}

// ---- bounds of what is read ----

TEST(FileBounds, AFileBeyondAnyDrawingIsRefusedUnread) {
    TTempFolder dir;
    const std::string path = dir.File("huge.txt");
    WriteBytes(path, "Ver4.00\r\n");
    // Sparse: no disk is used.
    std::filesystem::resize_file(path, (std::uintmax_t{300} << 20));
    TFailingFileCalls calls;
    TFileCallsScope scope(calls);
    TLines lines;
    const TFileResult r = ReadTextLines(path, lines);
    std::string first;
    const TFileResult f = ReadFirstLine(path, first);
    EXPECT_EQ(r.Status, TFileStatus::TooLarge);
    EXPECT_EQ(f.Status, TFileStatus::TooLarge);
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(calls.BytesRead, 0u) << "judged by its size alone";
}

TEST(FileBounds, ALineOverAMegabyteIsRefusedWhereverItStands) {
    TTempFolder dir;
    const std::string path = dir.File("long.txt");
    const std::string atBound(MaxTextLineBytes, 'a');
    struct TCase {
        const char* Name;
        std::string Bytes;
        TFileStatus Whole, First;
    };
    const TCase cases[] = {
        {"a line at the bound", "1\r\n" + atBound + "\r\n2\r\n", TFileStatus::Ok, TFileStatus::Ok},
        {"a line past the bound", "1\r\n" + atBound + "a\r\n2\r\n", TFileStatus::TooLarge, TFileStatus::Ok},
        {"a first line past the bound", atBound + "a", TFileStatus::TooLarge, TFileStatus::TooLarge},
        {"CR-only line ends", "1\r" + atBound + "\r2", TFileStatus::Ok, TFileStatus::Ok},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(path, c.Bytes);
        TFailingFileCalls calls;
        TFileCallsScope scope(calls);
        TLines lines;
        EXPECT_EQ(ReadTextLines(path, lines).Status, c.Whole);
        // A refused file is read no further than one read past the bound.
        if (c.Whole == TFileStatus::TooLarge) {
            EXPECT_LE(calls.BytesRead, MaxTextLineBytes + 2 * (64u << 10));
        }
        std::string first;
        EXPECT_EQ(ReadFirstLine(path, first).Status, c.First);
        if (c.First == TFileStatus::Ok) {
            EXPECT_EQ(first, c.Bytes.substr(0, c.Bytes.find_first_of("\r\n")));
        }
    }
}

TEST(FileBounds, EachStageFailsWithItsOwnMessage) {
    struct TCase {
        const char* Name;
        const char* File;
        std::function<bool(TDrawingState&)> Read;
        const char* Message;
    };
    const TCase cases[] = {
        {"request", SelectedDrawingFileName, [](TDrawingState& s) { return ReadDrawingRequest(s); }, RequestStageMessage},
        {"drawing", "寺厨子図面1_data.txt", [](TDrawingState& s) { return LoadDrawingData(s); }, FigureReadErrorMessage},
    };
    for (const TCase& c : cases) {
        for (const bool hugeFile : {true, false}) {
            SCOPED_TRACE(std::string(c.Name) + (hugeFile ? ", 300 MB" : ", a 2 MB line"));
            TTempFolder dir;
            TScriptedUi ui;
            TDrawingState s(ui);
            testing::PointAtDrawing(s, dir.Folder(), "寺", "厨子", "図面1");
            const std::string path = dir.File(c.File);
            if (hugeFile) {
                WriteBytes(path, "Ver4.00\r\n");
                std::filesystem::resize_file(path, std::uintmax_t{300} << 20);
            } else {
                WriteBytes(path, std::string(2 << 20, '7') + "\r\n");
            }
            EXPECT_FALSE(c.Read(s));
            EXPECT_EQ(s.StartupError, 1);
            EXPECT_EQ(s.StartupErrorMessage, c.Message);
            EXPECT_EQ(s.FigureCount, 0);
        }
    }
}

// ---- the ledger's files under faults ----

struct TLedgerForm : TEditorView, TLedgerView {
    bool RTime = true;
    bool RealTimeReflection() const override { return RTime; }
    void SetRealTimeReflection(bool checked) override { RTime = checked; }
};

class LedgerFaults : public ::testing::Test {
protected:
    LedgerFaults() : S(Ui, &Form) {
        S.ExeFolder = Dir.Folder();
        TDateRec& r = S.Fig(++S.FigureCount);
        r.Kind = fkPlot;
        r.IsPlot = 1;
        r.PlotId = 5;
        r.Text = "000012";
        S.MaxPlotId = 5;
    }
    TTempFolder Dir;
    TScriptedUi Ui;
    TLedgerForm Form;
    TDrawingState S;
};

TEST_F(LedgerFaults, AListThatCannotBeWrittenIsShownKeptPendingAndNeverHalfThere) {
    const std::string path = LedgerReturnFile(S);
    for (const int err : FaultErrnos) {
        for (const bool emptyFileThere : {false, true}) {
            ForEachFailingCall(
                err,
                [&] {
                    std::filesystem::remove(path);
                    if (emptyFileThere) WriteBytes(path, "");  // the ledger took the last list
                    Ui.Shown.clear();
                    S.Ledger.LedgerChangesPending = 0;
                },
                [&] { SendChangeRecordList(S, Form, VerbChanged, {1}); },
                [&](const TFailingFileCalls& calls) {
                    EXPECT_TRUE(Leftovers(Dir.Path).empty());
                    EXPECT_EQ(S.Ledger.LedgerWriteBusy, 0);
                    if (IsFolderSync(calls, Dir.Path.string())) {
                        EXPECT_EQ(S.Ledger.LedgerChangesPending, 0);
                        EXPECT_FALSE(ReadBytes(path).empty());
                        return;
                    }
                    // Whole or not at all: the ledger never reads half a list.
                    EXPECT_EQ(std::filesystem::exists(path), emptyFileThere);
                    if (emptyFileThere) {
                        EXPECT_EQ(ReadBytes(path), "");
                    }
                    EXPECT_EQ(S.Ledger.LedgerChangesPending, 1);
                    ASSERT_EQ(Ui.Shown.size(), 1u);
                    EXPECT_EQ(Ui.Shown[0].Type, TMsgDlgType::mtError);
                    EXPECT_NE(Ui.Shown[0].Text.find(std::strerror(err)), std::string::npos);
                    EXPECT_TRUE(Form.RTime) << "a write error is no time-out";
                });
        }
    }
}

TEST_F(LedgerFaults, AnAcknowledgementThatCannotBeWrittenKeepsTheRequestAndStopsPolling) {
    const std::string path = LedgerRequestFile(S);
    TPollResult Result = TPollResult::Idle;
    for (const int err : FaultErrnos) {
        ForEachFailingCall(
            err,
            [&] {
                WriteBytes(path, "5\r\n");
                S.Ledger.PollingStopped = false;
            },
            [&] { Result = PollLedgerRequest(S, Form); },
            [&](const TFailingFileCalls& calls) {
                EXPECT_TRUE(Leftovers(Dir.Path).empty());
                using K = TFailingFileCalls::TKind;
                if (calls.FiredPath == path && calls.FiredKind == K::Open) {
                    // The request could not be read: it waits for the next tick.
                    EXPECT_EQ(Result, TPollResult::Retry);
                    EXPECT_EQ(ReadBytes(path), "5\r\n");
                    EXPECT_FALSE(S.Ledger.PollingStopped);
                    return;
                }
                // Closing what was read may fail without harm; the sync after the
                // acknowledgement's rename comes when it stands.
                if ((calls.FiredPath == path && calls.FiredKind == K::Close) || IsFolderSync(calls, Dir.Path.string())) {
                    EXPECT_EQ(ReadBytes(path), "");
                    EXPECT_FALSE(S.Ledger.PollingStopped);
                    return;
                }
                // Taking it again would repeat it; the ledger sees it was not taken.
                EXPECT_EQ(ReadBytes(path), "5\r\n");
                EXPECT_TRUE(S.Ledger.PollingStopped);
            });
    }
}

// ---- a save killed at any moment ----

// The bytes of a file of some megabytes, read in one go.
std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    if (!in) return bytes;
    bytes.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// A drawing of the most figures the store loads, different for each seed.
void FillDrawing(TDrawingState& s, std::uint32_t seed) {
    std::mt19937 gen(seed);
    s.FigureCount = 0;
    for (std::int32_t i = 1; i < MaxFigures; ++i) {
        TDateRec& r = s.Fig(++s.FigureCount);
        r = TDateRec{};
        r.Kind = i % 3 ? fkPlot : fkText;
        r.IsPlot = r.Kind == fkPlot;
        r.PlotId = r.IsPlot ? i : 0;
        const double x = gen() % 1000000 / 7.0, y = gen() % 1000000 / 3.0;
        r.X1 = r.X4 = x, r.X2 = r.X3 = x + 4000.5;
        r.Y1 = r.Y2 = y, r.Y3 = r.Y4 = y + 3000.25;
        r.Text = r.IsPlot ? "0" : "本堂" + std::to_string(gen() % 1000);
        r.FontName = "ＭＳ 明朝";
    }
    s.MaxPlotId = MaxFigures;
}

// A full-size save is written a slice at a time while other slices are still being
// formatted: a failure at any call stops it whole.
TEST(FileFaults, AFullSizeSaveFailingAtAnyCallLeavesTheOldDrawing) {
    TTempFolder dir;
    TScriptedUi ui;
    TDrawingState s(ui);
    testing::PointAtDrawing(s, dir.Folder(), "寺", "厨子", "図面1");
    const std::string path = DrawingDataFileName(s, "図面1");
    FillDrawing(s, 1);
    ASSERT_TRUE(SaveDrawingFile(s, "図面1").File);
    const std::string oldBytes = ReadWhole(path);
    FillDrawing(s, 2);
    ASSERT_TRUE(SaveDrawingFile(s, "図面1").File);
    const std::string newBytes = ReadWhole(path);
    ASSERT_NE(oldBytes, newBytes);

    const int total = ForEachFailingCall(
        ENOSPC, [&] { WriteBytes(path, oldBytes); },
        [&] {
            const TFileResult r = SaveDrawingFile(s, "図面1").File;
            EXPECT_EQ(r.ok(), ReadWhole(path) == newBytes);
        },
        [&](const TFailingFileCalls& calls) {
            const std::filesystem::path folder = std::filesystem::path(path).parent_path();
            EXPECT_TRUE(Leftovers(folder).empty());
            // Only the folder's sync comes after the rename.
            EXPECT_TRUE(ReadWhole(path) == (IsFolderSync(calls, folder.string()) ? newBytes : oldBytes));
        });
    // The temporary file, a write for every slice of 1024 records, sync, close, rename
    // and the folder's open, sync and close.
    EXPECT_GE(total, 30 + 7);
}

TEST(KillDuringSave, TheFileIsAlwaysTheOldOrTheNewDrawingWhole) {
    // Several saves at once, each in its own folder, to keep the hundred runs short.
    constexpr int Runs = 100, AtOnce = 4;
    // In memory-backed storage where there is one: a killed process leaves the page cache
    // exactly as a disk would have it, without a disk's waits.
    const char* tmp = std::getenv("TMPDIR");
    if (std::filesystem::is_directory("/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
    std::vector<std::unique_ptr<TTempFolder>> dirs;
    for (int k = 0; k < AtOnce; ++k) dirs.push_back(std::make_unique<TTempFolder>());
    if (tmp) setenv("TMPDIR", tmp, 1);
    else unsetenv("TMPDIR");
    TScriptedUi ui;
    TDrawingState s(ui);
    const auto pathIn = [&](int k) {
        testing::PointAtDrawing(s, dirs[static_cast<std::size_t>(k)]->Folder(), "寺", "厨子", "図面1");
        return DrawingDataFileName(s, "図面1");
    };

    const std::string first = pathIn(0);
    FillDrawing(s, 1);
    ASSERT_TRUE(SaveDrawingFile(s, "図面1").File);
    const std::string oldBytes = ReadWhole(first);
    FillDrawing(s, 2);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SaveDrawingFile(s, "図面1").File);
    const auto saveTime = std::chrono::steady_clock::now() - start;
    const std::string newBytes = ReadWhole(pathIn(0));
    ASSERT_NE(oldBytes, newBytes);
    // Both load whole: so does any file equal to one of them.
    for (const std::string* bytes : {&oldBytes, &newBytes}) {
        WriteBytes(pathIn(0), *bytes);
        TDrawingState t(ui);
        testing::PointAtDrawing(t, dirs[0]->Folder(), "寺", "厨子", "図面1");
        ASSERT_TRUE(LoadDrawingData(t));
        EXPECT_EQ(t.FigureCount, MaxFigures - 1);
        EXPECT_EQ(fuzz::StoreProblem(t), "");
    }

    std::mt19937 gen(22);
    // From before the first byte is written to after the rename. Saves side by side on
    // a busy machine take longer than the one measured: the window follows how many
    // saves of a round get to their end.
    auto window = std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 1.5).count() + 1;
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < Runs / AtOnce; ++round) {
        struct TChild {
            pid_t Pid;
            std::chrono::steady_clock::time_point KillAt;
        };
        std::vector<TChild> children;
        for (int k = 0; k < AtOnce; ++k) {
            const std::string path = pathIn(k);
            if (ReadWhole(path) != oldBytes) WriteBytes(path, oldBytes);
            int ready[2];
            ASSERT_EQ(pipe(ready), 0);
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                // The child saves the new drawing; the parent kills it once it has begun.
                close(ready[0]);
                (void)!write(ready[1], "g", 1);
                const bool ok = SaveDrawingFile(s, "図面1").File.ok();
                _exit(ok ? 0 : 1);
            }
            close(ready[1]);
            char go;
            ASSERT_EQ(read(ready[0], &go, 1), 1);
            close(ready[0]);
            children.push_back({child, std::chrono::steady_clock::now() + std::chrono::microseconds(gen() % window)});
        }
        std::vector<std::size_t> order(children.size());
        for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
        std::sort(order.begin(), order.end(), [&](auto a, auto b) { return children[a].KillAt < children[b].KillAt; });
        for (const std::size_t k : order) {
            std::this_thread::sleep_until(children[k].KillAt);
            kill(children[k].Pid, SIGKILL);
        }
        int finished = 0;
        for (int k = 0; k < AtOnce; ++k) {
            int status = 0;
            ASSERT_EQ(waitpid(children[static_cast<std::size_t>(k)].Pid, &status, 0), children[static_cast<std::size_t>(k)].Pid);
            if (WIFEXITED(status)) {
                ASSERT_EQ(WEXITSTATUS(status), 0);
                ++finished;
            }
            const std::string now = ReadWhole(pathIn(k));
            ASSERT_TRUE(now == oldBytes || now == newBytes) << "round " << round << ": " << now.size() << " bytes";
            (now == oldBytes ? sawOld : sawNew) += 1;
            // A killed save leaves its temporary file behind (nothing can remove it); it
            // never stands in for the drawing.
            for (const std::string& name : Leftovers(dirs[static_cast<std::size_t>(k)]->Path))
                std::filesystem::remove(dirs[static_cast<std::size_t>(k)]->Path / name);
        }
        if (finished == 0) window += window / 4;
        if (finished == AtOnce) window -= window / 5;
    }
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    RecordProperty("killed before the rename", sawOld);
    RecordProperty("killed after the rename", sawNew);
}

}  // namespace
}  // namespace tarvek
