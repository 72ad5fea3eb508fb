// The live exchange with the ledger: change record lists written into the ledger's return
// file through a hand-shake (the ledger must have taken the previous list first), the
// whole plot list after a pause in real-time reflection, and the plot the user looks at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvek {

struct TDrawingState;
struct TDateRec;

// What the exchange and the request polling ask of the main form. The form implements it;
// the defaults do nothing, so that logic without a form still runs.
class TLedgerView {
public:
    virtual ~TLedgerView() = default;
    // The check box R_time ("変更を反映確認").
    virtual bool RealTimeReflection() const = 0;
    virtual void SetRealTimeReflection(bool checked) = 0;
    // An operation's question box is open: a ledger request must wait for the answer.
    virtual bool QuestionOpen() const { return false; }
    // Brings a page of the main page control to the front (0 search, 1 households, ...).
    virtual void SetActivePage(int /*page*/) {}
    // The select tool with the search page's cursor and mesh snapping.
    virtual void SelectToolForSearch() {}
    // Item indices of the mesh step and mesh clip combo boxes.
    virtual int MeshStepIndex() const { return 0; }
    virtual int MeshClipIndex() const { return 0; }
    // The check boxes "rotate household names" (CheckBox2) and "clip names" (clip_Check).
    virtual bool RotateNamesChecked() const { return true; }
    virtual bool ClipNamesChecked() const { return true; }
    // Rebuilds the sorted selection list and shows the summary of the selection.
    virtual void SelectionChanged() {}
    // Hides the household, query and plot list grids and shows columns 0 to 7 of
    // household grid row `row` (1-based; s.Households[row - 1]) alone in the result grid.
    virtual void ShowHouseholdAlone(int /*row*/) {}
    // The tablet's button below the map that sets the household a request showed: shown
    // (named after the household shown alone) or hidden. A form without one ignores it.
    virtual void ShowHouseholdButton(bool /*shown*/) {}
};

constexpr const char* ExchangeExt = ".txt";

// Verbs of the change record lists.
constexpr const char* VerbAdded = "追加";
constexpr const char* VerbChanged = "変更";
constexpr const char* VerbRemoved = "削除";
constexpr const char* VerbRefresh = "更新";
constexpr const char* VerbSelected = "選択";

constexpr int LedgerWaitMs = 500;
constexpr int LedgerWaitCount = 10;
constexpr const char* LedgerTimeoutMessage =
    "台帳側にアクセス出来ませんでした。リアルタイム反映を「OFF」にします。\r"
    " 　　　　CAD 終了後まとめて反映できます。";

// How a list ends in the return file: the household assignment's lists have no line end
// after their last line, every other list has one.
enum class TListEnd { CrLf, None };

std::string LedgerReturnFile(const TDrawingState& s);

// "-999,-999,,,,-999,-999," + verb.
std::string ChangeRecordHeader(const std::string& verb);
// The eight exchange fields of one plot, joined by "," without quoting.
std::string PlotExchangeLine(const TDateRec& r);
std::string PlotExchangeLine(const TDrawingState& s, std::int32_t index);

// Builders: start the list with its header, then add one line per plot.
void BeginChangeRecordList(TDrawingState& s, const std::string& verb);
void AddPlotToChangeRecordList(TDrawingState& s, std::int32_t index);

// Delivers the list in s.Ledger.tuika (see the .cpp for the hand-shake), without its
// lines for plot key 0. True when the list was written; otherwise it is dropped and
// LedgerChangesPending stays set.
bool FlushChangesToLedger(TDrawingState& s, TLedgerView& view, TListEnd end = TListEnd::CrLf);

// Header, lines of the given plots, flush.
bool SendChangeRecordList(TDrawingState& s, TLedgerView& view, const std::string& verb,
                          const std::vector<std::int32_t>& indices, TListEnd end = TListEnd::CrLf);

// False when the file does not exist. True while another open file description holds an
// exclusive flock on it, or while it cannot be opened for reading and writing.
bool IsFileLocked(const std::string& path);
// Size in bytes, or -1 when there is no such entry.
std::int32_t GetFileSizeOrMinus1(const std::string& path);

// The logic of the R_time check box's click, given its new state: ticking it while
// changes are pending sends the whole list of live plots (plot flag set) that are not
// compound members.
void RealTimeReflectionClicked(TDrawingState& s, TLedgerView& view, bool checked);

// Tells the ledger the plot now current, once per change of the current item.
void SendSelectionToLedger(TDrawingState& s, TLedgerView& view);

}  // namespace tarvek
