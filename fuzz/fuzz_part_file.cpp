// Part files ("*.bbh", old "*.bhn" parts of 24-line records, a whole "*_data.txt"), loaded
// into the sample temple's drawing as "部品読込" loads them. The first byte picks the
// file's name and how many plot keys the drawing has left; the rest is the file.
// A parse that succeeds gives sound records; a load either leaves a sound store with the
// part appended, selected, keyed and announced, or changes nothing; registering what was
// loaded and loading that part again gives the same records, and registering those
// writes the same bytes.
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>

#include "document/drawing_file.h"
#include "document/figure_store.h"
#include "document/part_file.h"
#include "fuzz/fuzz_support.h"
#include "households/ledger_exchange.h"
#include "platform/textfile.h"

using namespace tarvek;
using namespace tarvek::fuzz;

namespace {

constexpr const char* PartNames[] = {"部品.bbh", "古い部品.bhn", "寺厨子図面2_data.txt", "部品.BHN"};
constexpr const char* RegisteredName = "登録し直し.bbh";
constexpr std::int32_t KeyLimit = std::numeric_limits<std::int32_t>::max();

struct TLedgerOn : TLedgerView {
    bool RealTimeReflection() const override { return On; }
    void SetRealTimeReflection(bool checked) override { On = checked; }
    bool On = true;
};

// The sample temple's drawing, loaded once.
struct TSample {
    explicit TSample(TFuzzEnv& env) {
        PutSampleFile(env, "明星寺墓地本堂裏墓地_data.txt", env.DataFileName());
        TDrawingState& s = env.Fresh(1);
        if (!LoadDrawingData(s) || s.FigureCount < 1) std::abort();
        Drawing = std::make_unique<TDrawingState>(env.Ui);
        CopyDocument(s, *Drawing);
        Drawing->CurFontName = s.CurFontName;
    }
    std::unique_ptr<TDrawingState> Drawing;
};

// An editor with the sample drawing and keyMode's keys left: 0 and 1 the sample's own,
// 2 one key, 3 none.
TDrawingState& Editor(TFuzzEnv& env, int slot, const TDrawingState& sample, int keyMode) {
    TDrawingState& s = env.Fresh(slot);
    CopyDocument(sample, s);
    s.CurFontName = sample.CurFontName;
    if (keyMode >= 2) s.MaxPlotId = KeyLimit - (3 - keyMode);
    return s;
}

// A part's plots carry the plot flag; an old kind 11 without it stays a figure.
bool LoadedPlot(const TDateRec& r) { return r.IsPlot != 0; }

// The plots of the appended records that got keys of their own, in store order.
std::vector<std::int32_t> KeyedPlots(const TDrawingState& s, std::int32_t former) {
    std::vector<std::int32_t> keyed;
    for (std::int32_t i = former + 1; i <= s.FigureCount; ++i) {
        const std::int32_t owner = GetCompoundOwner(s, i);
        const bool piece = owner > former && owner <= s.FigureCount && LoadedPlot(s.Fig(owner));
        if (LoadedPlot(s.Fig(i)) && !piece) keyed.push_back(i);
    }
    return keyed;
}

std::string ReturnFileOf(const TDrawingState& s) {
    TLines lines;
    ReadTextLines(LedgerReturnFile(s), lines);
    std::string joined;
    for (const std::string& l : lines) joined += l + "\n";
    return joined;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static TFuzzEnv env;
    static TSample sample(env);
    const TDrawingState& base = *sample.Drawing;
    const std::string name = PartNames[data[0] & 3];
    const int keyMode = (data[0] >> 2) & 3;
    env.Put(name, {reinterpret_cast<const char*>(data) + 1, size - 1});
    const std::string path = env.Path(name);

    // What the parse gives on its own.
    TLines lines;
    const bool read = ReadTextLines(path, lines).ok();
    TPartRecords parsed;
    if (read) {
        parsed = ParsePartLines(lines, path, base.CurFontName);
        Require(parsed.ok() || parsed.Records.empty(), "a failed parse gives no records");
        Require(parsed.Records.size() < static_cast<std::size_t>(MaxFigures), "no more records than the store holds");
        for (const TDateRec& r : parsed.Records) Require(RecordProblem(r), "a parsed record");
    }

    TDrawingState& s = Editor(env, 0, base, keyMode);
    const std::int32_t former = s.FigureCount, maxId = s.MaxPlotId, steps = s.HistoryCount;
    env.Remove("戻し.txt");
    env.Ui.Boxes = 0;
    TLedgerOn ledger;
    const TPartAppendResult added = LoadPartFile(s, ledger, path);

    const bool empty = read && parsed.ok() && parsed.Records.empty();
    const auto plots = static_cast<std::int64_t>(std::count_if(parsed.Records.begin(), parsed.Records.end(), LoadedPlot));
    const bool keysShort = plots > std::int64_t{KeyLimit} - maxId;
    const bool storeFull = former + static_cast<std::int64_t>(parsed.Records.size()) >= MaxFigures;
    if (!read || !parsed.ok() || empty || keysShort || storeFull) {
        Require(added.Added == 0, "a refused load adds nothing");
        Require(env.Ui.Boxes == (empty ? 0 : 1), "a refused load says why, once");
        Require(FullStoreDifference(s, Editor(env, 1, base, keyMode)), "a refused load changes no record");
        Require(s.MaxPlotId == maxId, "a refused load takes no key");
        // A full store empties the history whatever it refuses.
        Require(storeFull || s.HistoryCount == steps, "a refused load records no step");
        Require(!env.Exists("戻し.txt"), "a refused load tells the ledger nothing");
        return 0;
    }

    const auto n = static_cast<std::int32_t>(parsed.Records.size());
    Require(added.Added == n && s.FigureCount == former + n, "every record of the part appended");
    Require(env.Ui.Boxes == 0, "a load that fits asks nothing itself");
    Require(StoreProblem(s, true), "store after the load");
    for (std::int32_t i = 1; i <= former; ++i) {
        Require(RecordDifference(s.Fig(i), base.Fig(i)), "the drawing's own records stay");
        Require(s.Fig(i).Selected == 0, "the drawing's own records are no longer selected");
    }
    for (std::int32_t i = former + 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        Require(r.Selected == 1 && r.Deleted == 0 && r.SetAside == 0 && r.ShareSetId == 0, "a loaded record is live and selected");
        Require(r.OwnerIndex == 0 || r.OwnerIndex > former, "a loaded record's owner is loaded too");
        if (LoadedPlot(r)) Require(r.Text == "0" && r.HouseName == "空" && r.PlotNumber == "000000", "a loaded plot is empty");
        else Require(r.PlotId == 0, "a loaded figure has no plot key, an old kind 11 neither");
    }
    Require(s.SelectedCount == n, "the loaded records are the selection");
    Require(s.History[static_cast<std::size_t>(s.HistoryCount)].Label == std::string(PartLoadStepLabel) &&
                s.HistoryCount == steps + 1,
            "one step");
    // A new key for every plot but the pieces of a loaded plot, in store order, each
    // announced once.
    const std::vector<std::int32_t> keyed = KeyedPlots(s, former);
    Require(s.MaxPlotId == maxId + static_cast<std::int32_t>(keyed.size()), "one key per loaded plot");
    std::string announced;
    for (std::size_t k = 0; k < keyed.size(); ++k) {
        Require(s.Fig(keyed[k]).PlotId == maxId + 1 + static_cast<std::int32_t>(k), "keys in store order");
        announced += PlotExchangeLine(s.Fig(keyed[k])) + "\n";
    }
    Require(ReturnFileOf(s) == (keyed.empty() ? std::string() : ChangeRecordHeader(VerbAdded) + "\n" + announced),
            "the ledger hears of each new plot once");

    // Registered again (the loaded records are the selection) and loaded into the same
    // drawing: the same records.
    const TLines registered = BuildPartLines(s);
    Require(WriteTextLines(env.Path(RegisteredName), registered).ok(), "registering the part");
    TDrawingState& t = Editor(env, 1, base, keyMode);
    env.Remove("戻し.txt");
    const TPartAppendResult again = LoadPartFile(t, ledger, env.Path(RegisteredName));
    Require(again.Added == n, "the registered part loads whole");
    Require(again.OneGroup == added.OneGroup, "a part that was one group still is");
    Require(StoreDifference(s, t), "records registered and loaded again");
    Require(ReturnFileOf(t) == ReturnFileOf(s), "the ledger hears the same");
    const std::string bytes = env.Get(RegisteredName);
    Require(WriteTextLines(env.Path(RegisteredName), BuildPartLines(t)).ok(), "registering the part again");
    Require(env.Get(RegisteredName) == bytes, "registering again writes the same bytes");
    return 0;
}
