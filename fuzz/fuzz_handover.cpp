// The hand-over file "受渡し_fm.csv", merged into the sample temple's drawing as the
// start-up merges it. A merge that fails changes nothing; one that succeeds leaves a
// sound store, and merging the file it then writes changes nothing more.
#include "document/drawing_file.h"
#include "document/startup.h"
#include "households/handover.h"
#include "households/household_table.h"
#include "fuzz/fuzz_support.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

using namespace tarvek;
using namespace tarvek::fuzz;

namespace {

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
    env.Put(HandoverCsvFileName, {reinterpret_cast<const char*>(data), size});

    TDrawingState& s = env.Fresh(0);
    CopyDocument(*sample.Drawing, s);
    std::vector<std::string> grades;
    if (!ReadHandoverCsv(s, grades)) {
        Require(s.StartupError == 1 && s.StartupErrorMessage == HandoverStageMessage, "a failed merge fails its stage");
        Require(FullStoreDifference(s, *sample.Drawing), "a failed merge changes nothing");
        return 0;
    }
    Require(StoreProblem(s), "store after the merge");
    for (const std::string& g : grades) Require(!g.empty(), "no empty grade in the list");
    // The sample's plots all name households by number; so must what the ledger lists.
    for (std::int32_t i = 1; i <= s.FigureCount; ++i)
        if (IsPlotRecord(s.Fig(i)) && !s.Fig(i).Deleted)
            Require(StrToInt(s.Fig(i).Text).has_value(), "every plot's household a 32-bit integer");

    // What the next close writes, merged again, is what is there.
    if (!WriteHandoverCsv(s)) return 0;  // a household that is no number: refused before writing
    const std::string written = env.Get(HandoverCsvFileName);
    const std::int32_t count = s.FigureCount;
    Require(ReadHandoverCsv(s, grades), "merging the file the editor wrote");
    Require(s.FigureCount == count, "merging the editor's own file adds no plot");
    Require(StoreProblem(s), "store after merging the editor's own file");
    Require(WriteHandoverCsv(s).ok(), "writing again");
    Require(env.Get(HandoverCsvFileName) == written, "the file written again is the same");
    return 0;
}
