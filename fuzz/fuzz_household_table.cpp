// The household export "檀家厨子.csv", read as the start-up reads it, and then merged
// with the sample temple's hand-over file as the next stage does: the merge looks the
// households up in the table, and a damaged ID there must fail that stage cleanly.
#include "document/drawing_file.h"
#include "households/handover.h"
#include "households/household_table.h"
#include "fuzz/fuzz_support.h"
#include "platform/textfile.h"

#include <fstream>
#include <iterator>

using namespace tarvek;
using namespace tarvek::fuzz;

namespace {

struct TSample {
    explicit TSample(TFuzzEnv& env) {
        PutSampleFile(env, "明星寺墓地本堂裏墓地_data.txt", env.DataFileName());
        TDrawingState& s = env.Fresh(1);
        if (!LoadDrawingData(s)) std::abort();
        Drawing = &s;
        std::ifstream in(SampleFile("受渡し_fm.csv"), std::ios::binary);
        Handover.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    TDrawingState* Drawing;
    std::string Handover;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFuzzEnv env;
    static TSample sample(env);
    env.Put(HouseholdTableFileName, {reinterpret_cast<const char*>(data), size});
    env.Put(HandoverCsvFileName, sample.Handover);

    TDrawingState& s = env.Fresh(0);
    LoadHouseholdTable(s);
    if (s.StartupError) {
        Require(size == 0, "only a file without a line is refused");
        return 0;
    }
    Require(!s.Households.empty(), "a table that loads has a row");
    for (const THouseholdRow& row : s.Households) {
        Require(CharCount(row[0]) >= 6, "IDs padded to six characters");
        for (const std::string& field : row) {
            Require(field.find('"') == std::string::npos, "no double quote left in a field");
            Require(field.empty() || (static_cast<unsigned char>(field.front()) > 32 &&
                                      static_cast<unsigned char>(field.back()) > 32),
                    "fields trimmed");
        }
    }

    // The hand-over stage after it, on the sample drawing.
    const std::vector<THouseholdRow> households = s.Households;
    CopyDocument(*sample.Drawing, s);
    s.Households = households;
    std::vector<std::string> grades;
    if (!ReadHandoverCsv(s, grades)) {
        Require(s.StartupError == 1, "a failed merge sets the start-up error");
        Require(FullStoreDifference(s, *sample.Drawing), "a failed merge changes nothing");
        return 0;
    }
    Require(StoreProblem(s), "store after the merge");
    return 0;
}
