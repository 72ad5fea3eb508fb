// The ledger's request file "追加.txt", taken by one poll of the timer as the running
// editor takes it, on the sample temple. A request taken is acknowledged (0 bytes) and
// leaves a selection of live records; one that is refused leaves the file and the editor
// as they were and stops the polling.
#include <limits>

#include "document/drawing_file.h"
#include "households/household_table.h"
#include "households/ledger_exchange.h"
#include "households/ledger_poll.h"
#include "fuzz/fuzz_support.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

using namespace tarvek;
using namespace tarvek::fuzz;

namespace {

class TView : public TLedgerView {
public:
    bool RealTimeReflection() const override { return false; }
    void SetRealTimeReflection(bool) override {}
    void SetActivePage(int page) override { Page = page; }
    void ShowHouseholdAlone(int row) override { Row = row; }
    int Page = -1, Row = 0;
};

struct TSample {
    explicit TSample(TFuzzEnv& env) {
        PutSampleFile(env, "明星寺墓地本堂裏墓地_data.txt", env.DataFileName());
        PutSampleFile(env, HouseholdTableFileName, HouseholdTableFileName);
        TDrawingState& s = env.Fresh(1);
        LoadHouseholdTable(s);
        if (s.StartupError || !LoadDrawingData(s)) std::abort();
        Drawing = &s;
    }
    TDrawingState* Drawing;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFuzzEnv env;
    static TSample sample(env);
    const std::string request(reinterpret_cast<const char*>(data), size);
    TDrawingState& s = env.Fresh(0);
    CopyDocument(*sample.Drawing, s);
    const std::string path = LedgerRequestFile(s);
    env.Put(path.substr(env.Folder.size()), request);

    TView view;
    const TPollResult result = PollLedgerRequest(s, view);
    const std::string after = env.Get(path.substr(env.Folder.size()));
    if (size == 0) {
        Require(result == TPollResult::Idle, "an empty file is no request");
        return 0;
    }
    if (result == TPollResult::Stopped) {
        Require(after == request, "a refused request stays in the file");
        Require(s.HistoryCount == 1 && s.SelectedCount == 0, "a refused request changes nothing");
        Require(PollLedgerRequest(s, view) == TPollResult::Stopped, "polling stays stopped");
        return 0;
    }
    Require(result == TPollResult::Handled, "a readable request is handled or refused");
    Require(after.empty(), "a handled request is acknowledged with 0 bytes");
    // Its own steps over the stop: the selection before it (recorded even when empty, so
    // that taking it back takes exactly these), the view, and the new selection.
    Require(s.HistoryCount == 4 && s.History[2].Label == "選択" && s.History[3].Label == "元の画面に戻す" &&
                s.History[4].Label == "外部選択解除",
            "a request leaves its steps");
    Require(static_cast<std::int32_t>(s.SelectedList.size()) > s.SelectedCount, "selection list holds its count");
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) {
        const std::int32_t i = s.SelectedList[static_cast<std::size_t>(k)];
        Require(s.ValidIndex(i) && !s.Fig(i).Deleted && s.Fig(i).Selected, "selection of live records");
    }
    Require(s.LedgerTargetId >= 0, "a target is a plot, a household or none, never negative");
    // The number read as the program reads every integer field: a plot stays, a
    // household is kept as its ID, and the one negative without a positive names none.
    const std::int32_t n = *StrToInt(request.substr(0, request.find_first_of("\r\n")));
    Require(s.LedgerTargetId == (n >= 0 ? n : n == std::numeric_limits<std::int32_t>::min() ? 0 : -n),
            "the target kept is the one requested");
    if (view.Row > 0) {
        Require(view.Row <= static_cast<int>(s.Households.size()), "the household shown is a row of the table");
        Require(StrToInt(s.Households[static_cast<std::size_t>(view.Row) - 1][0]) == s.LedgerTargetId,
                "the household shown is the one requested");
    }
    Require(StoreProblem(s), "store after a request");
    return 0;
}
