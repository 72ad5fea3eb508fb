// The display settings file, read as the start-up reads it: after a drawing of version 4
// (all 41 lines) or of an older version (lines 37 to 41 not read). Settings that load
// must keep the view sound and come back the same when written and read again.
#include "document/drawing_file.h"
#include "document/view_settings.h"
#include "fuzz/fuzz_support.h"

using namespace tarvek;
using namespace tarvek::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFuzzEnv env;
    if (size == 0) return 0;
    // The first byte picks the drawing's version; the rest is the file.
    const bool version4 = (data[0] & 1) == 0;
    env.Put(env.DataFileName(), version4 ? "Ver4.00\r\nendofdata\r\n" : "Ver3.00\r\nendofdata\r\n");
    env.Put(env.DispFileName(), {reinterpret_cast<const char*>(data) + 1, size - 1});

    TDrawingState& s = env.Fresh(0);
    if (!LoadDrawingData(s)) {
        Require(s.StartupError == 1 && s.StartupErrorMessage == ViewReadErrorMessage,
                "damaged settings fail the view stage");
        return 0;
    }
    Require(StoreProblem(s), "view after loading");

    s.Zoom = s.LoadedZoom;
    Require(SaveDisplaySettings(s, FuzzDrawing).ok(), "writing the settings");
    const std::string written = env.Get(env.DispFileName());
    TDrawingState& t = env.Fresh(1);
    Require(LoadDrawingData(t), "reading the settings written");
    Require(FormDataDifference(CollectFormData(s), t.View), "settings written and read again");
    Require(t.LoadedZoom == s.Zoom, "zoom written and read again");
    t.Zoom = t.LoadedZoom;
    Require(SaveDisplaySettings(t, FuzzDrawing).ok(), "writing again");
    Require(env.Get(env.DispFileName()) == written, "a second write gives the same bytes");
    return 0;
}
