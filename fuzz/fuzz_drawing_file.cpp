// The drawing data file in any layout, with or without its view section, read as the
// start-up reads it. A file that loads must leave a sound store, and saving it and
// loading it again must give the same records, view and bytes.
#include "document/drawing_file.h"
#include "document/view_settings.h"
#include "fuzz/fuzz_support.h"

using namespace tarvek;
using namespace tarvek::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFuzzEnv env;
    TDrawingState& s = env.Fresh(0);
    env.Remove(env.DispFileName());
    env.Put(env.DataFileName(), {reinterpret_cast<const char*>(data), size});

    if (!LoadDrawingData(s)) {
        Require(s.StartupError == 1, "a failed load sets the start-up error");
        Require(s.StartupErrorMessage == FigureReadErrorMessage || s.StartupErrorMessage == ViewReadErrorMessage,
                "a failed load names its stage");
        Require(s.FigureCount >= 0 && s.FigureCount < MaxFigures, "records read before the failure fit the store");
        return 0;
    }
    Require(s.StartupError == 0, "a load that succeeds sets no error");
    Require(StoreProblem(s), "store after loading");

    // What the form's first show does with the view before anything is saved.
    s.Zoom = s.LoadedZoom;
    const TSaveResult first = SaveDrawingFile(s, FuzzDrawing);
    Require(first.File.ok(), "saving a loaded drawing");
    Require(StoreProblem(s), "store after saving");
    const std::string written = env.Get(env.DataFileName());

    TDrawingState& t = env.Fresh(1);
    Require(LoadDrawingData(t), "loading what was saved");
    Require(StoreProblem(t), "store after loading what was saved");
    Require(StoreDifference(s, t), "records saved and loaded again");
    Require(FormDataDifference(CollectFormData(s), t.View), "view saved and loaded again");
    Require(t.LoadedZoom == s.Zoom, "zoom saved and loaded again");

    t.Zoom = t.LoadedZoom;
    Require(SaveDrawingFile(t, FuzzDrawing).File.ok(), "saving again");
    Require(env.Get(env.DataFileName()) == written, "a second save writes the same bytes");
    return 0;
}
