#include "households/ledger_exchange.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/selection.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek {

namespace {

// Clears the busy flag and the hourglass on every way out of the hand-shake, so that
// undo and the key handler are never locked out for the rest of the run.
class TBusyGuard {
public:
    explicit TBusyGuard(TDrawingState& s) : S(s) {
        S.Ledger.LedgerWriteBusy = 1;
        S.Ui.SetBusyCursor(true);
    }
    ~TBusyGuard() {
        RestoreCursor();
        S.Ledger.LedgerWriteBusy = 0;
    }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;
    // The cursor goes back before any message box.
    void RestoreCursor() {
        if (Busy) S.Ui.SetBusyCursor(false);
        Busy = false;
    }

private:
    TDrawingState& S;
    bool Busy = true;
};

std::string JoinList(const TLines& lines, TListEnd end) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || end == TListEnd::CrLf) text += "\r\n";
    }
    return Utf8ToCp932(text);
}

// Plot key 0 names no plot of the ledger's (an old part's kind 11 has none), and the
// ledger would take it for every record without a key: such a line never leaves.
bool NamesNoPlot(const std::string& line) { return line.starts_with("0,"); }

TLines DeliverableList(const TLines& list) {
    TLines out;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (i == 0 || !NamesNoPlot(list[i])) out.push_back(list[i]);
    return out;
}

}  // namespace

std::string LedgerReturnFile(const TDrawingState& s) { return s.ExeFolder + "戻し" + ExchangeExt; }

std::string ChangeRecordHeader(const std::string& verb) { return "-999,-999,,,,-999,-999," + verb; }

std::string PlotExchangeLine(const TDateRec& r) {
    return IntToStr(r.PlotId) + "," + r.Text + "," + r.PlotNumber + "," + r.PlotRemarks + "," +
           r.Grade + "," + IntToStr(r.SourceIndex) + "," + IntToStr(r.DistrictId) + "," +
           r.DrawingName;
}

std::string PlotExchangeLine(const TDrawingState& s, std::int32_t index) {
    return PlotExchangeLine(s.Fig(index));
}

void BeginChangeRecordList(TDrawingState& s, const std::string& verb) {
    s.Ledger.tuika.clear();
    s.Ledger.tuika.push_back(ChangeRecordHeader(verb));
}

void AddPlotToChangeRecordList(TDrawingState& s, std::int32_t index) {
    s.Ledger.tuika.push_back(PlotExchangeLine(s, index));
}

bool IsFileLocked(const std::string& path) {
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return false;
    // A fresh open gives a new open file description, so a lock held through any other
    // descriptor (another process, or this one) makes the non-blocking flock fail.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return errno != ENOENT;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);  // also drops our own lock
    return held;
}

std::int32_t GetFileSizeOrMinus1(const std::string& path) {
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return -1;
    if (st.st_size > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(st.st_size);
}

bool FlushChangesToLedger(TDrawingState& s, TLedgerView& view, TListEnd end) {
    TLedgerLinkState& l = s.Ledger;
    l.LedgerChangesPending = 1;
    const TLines list = DeliverableList(l.tuika);
    if (!view.RealTimeReflection() || list.size() < 2) return false;

    TBusyGuard busy(s);
    const std::string path = LedgerReturnFile(s);
    auto fail = [&] {
        busy.RestoreCursor();
        s.Ui.MessageDlg(LedgerTimeoutMessage, TMsgDlgType::mtInformation, mbOK);
        view.SetRealTimeReflection(false);
        return false;
    };

    int sleeps = 0;
    while (IsFileLocked(path) && sleeps < LedgerWaitCount) {
        s.Ui.Sleep(LedgerWaitMs);
        ++sleeps;
    }
    if (sleeps >= LedgerWaitCount) return fail();

    // The ledger consumes a list by emptying or deleting the file.
    sleeps = 0;
    while (GetFileSizeOrMinus1(path) > 0 && sleeps < LedgerWaitCount) {
        s.Ui.Sleep(LedgerWaitMs);
        ++sleeps;
    }
    if (sleeps >= LedgerWaitCount) return fail();

    busy.RestoreCursor();
    // Written whole and renamed over the file, so the ledger never reads half a list.
    const TFileResult written = WriteFileAtomically(path, JoinList(list, end));
    if (!written) {
        s.Ui.MessageDlg("Cannot create file \"" + path + "\". " + written.Message,
                        TMsgDlgType::mtError, mbOK);
        return false;
    }
    l.LedgerChangesPending = 0;
    return true;
}

bool SendChangeRecordList(TDrawingState& s, TLedgerView& view, const std::string& verb,
                          const std::vector<std::int32_t>& indices, TListEnd end) {
    BeginChangeRecordList(s, verb);
    for (const std::int32_t i : indices) AddPlotToChangeRecordList(s, i);
    return FlushChangesToLedger(s, view, end);
}

void RealTimeReflectionClicked(TDrawingState& s, TLedgerView& view, bool checked) {
    if (!checked || !s.Ledger.LedgerChangesPending) return;
    BeginChangeRecordList(s, VerbRefresh);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        if (r.IsPlot && !r.Deleted && GetCompoundOwner(s, i) < 1) AddPlotToChangeRecordList(s, i);
    }
    FlushChangesToLedger(s, view);
}

void SendSelectionToLedger(TDrawingState& s, TLedgerView& view) {
    if (!view.RealTimeReflection()) return;
    const std::int32_t item = CursorEntry(s);
    if (item == s.Ledger.LastSentSelection || !s.ValidIndex(item)) return;
    // A removed plot is not the one the user looks at.
    if (s.Fig(item).Deleted || !s.Fig(item).IsPlot) return;
    BeginChangeRecordList(s, VerbSelected);
    AddPlotToChangeRecordList(s, item);
    FlushChangesToLedger(s, view);
    // Also when the list was not delivered: the ledger is brought level by "更新" later.
    s.Ledger.LastSentSelection = item;
}

}  // namespace tarvek
