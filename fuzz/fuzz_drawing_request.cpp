// The drawing request "選択図面.csv", read as the start-up reads it. A request taken
// must give names that stay inside the program folder, and the answer written at closing
// must read back as the same request, answered.
#include "document/startup.h"
#include "fuzz/fuzz_support.h"

using namespace tarvek;
using namespace tarvek::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFuzzEnv env;
    env.Put(SelectedDrawingFileName, {reinterpret_cast<const char*>(data), size});
    TDrawingState& s = env.Fresh(0);
    if (!ReadDrawingRequest(s)) {
        Require(s.StartupError == 1 && s.StartupErrorMessage == RequestStageMessage, "a refused request fails its stage");
        return 0;
    }
    for (const std::string* name : {&s.PlotKindWord, &s.TempleName, &s.CurrentDrawingName})
        Require(IsSafeNamePart(*name), "names that stay inside the program folder");
    Require(!s.CurrentDrawingName.empty(), "a drawing name");
    for (const std::string* f : {&s.PlotKindWord, &s.HandoverStatus, &s.TempleName, &s.CurrentDrawingName})
        Require(f->find_first_of("\",\r\n") == std::string::npos, "fields without quotes, commas or line ends");

    Require(WriteDrawingRequestAnswer(s).ok(), "writing the answer");
    TDrawingState& t = env.Fresh(1);
    Require(ReadDrawingRequest(t), "reading the answer back");
    Require(t.StandaloneStartFlag == 1, "the answer is marked answered");
    Require(AsWritten(t.PlotKindWord) == AsWritten(s.PlotKindWord) && AsWritten(t.HandoverStatus) == AsWritten(s.HandoverStatus) &&
                t.LedgerTargetId == s.LedgerTargetId && AsWritten(t.TempleName) == AsWritten(s.TempleName) &&
                AsWritten(t.CurrentDrawingName) == AsWritten(s.CurrentDrawingName),
            "the answer carries the request's fields");
    return 0;
}
