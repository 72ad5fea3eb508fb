#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/drawing_file.h"
#include "document/view_settings.h"
#include "platform/textfile.h"

namespace tarvek::fuzz {

void Require(const std::string& problem, const char* what) {
    if (problem.empty()) return;
    std::fprintf(stderr, "\n*** finding: %s: %s\n", what, problem.c_str());
    std::abort();
}

namespace {

std::string MakeFolder() {
    // Memory-backed where there is such a folder: every input writes and reads files.
    std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string templ = (base / "tarvek_fuzz_XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    return templ + "/";
}

// Every record a run could have written is blank again: the loaders and the merge only
// write records up to FigureCount, and compaction blanks what it leaves behind.
void Blank(std::vector<TDateRec>& records, std::int32_t used) {
    const std::size_t top = std::min(records.size(), static_cast<std::size_t>(used) + 2);
    for (std::size_t i = 0; i < top; ++i) records[i] = TDateRec{};
}

}  // namespace

TFuzzEnv::TFuzzEnv() : Folder(MakeFolder()) {}

TFuzzEnv::~TFuzzEnv() {
    std::error_code ec;
    std::filesystem::remove_all(Folder, ec);
}

TDrawingState& TFuzzEnv::Fresh(int k) {
    std::unique_ptr<TDrawingState>& slot = Slots[k];
    std::vector<TDateRec> records;
    if (slot) {
        records = std::move(slot->Figures);
        // FigureCount only falls by compaction, which blanks what it leaves behind; the
        // records past it are checked all the same, up to the first blank one.
        std::size_t used = static_cast<std::size_t>(std::max(slot->FigureCount, 0)) + 1;
        while (used < records.size() && (records[used].Kind != 0 || !records[used].Text.empty())) ++used;
        Blank(records, static_cast<std::int32_t>(used));
        slot.reset();
    }
    slot = std::make_unique<TDrawingState>(Ui, nullptr, std::move(records));
    TDrawingState& s = *slot;
    s.ExeFolder = Folder;
    s.TempleName = FuzzTemple;
    s.PlotKindWord = FuzzWord;
    s.CurrentDrawingName = FuzzDrawing;
    return s;
}

void TFuzzEnv::Put(const std::string& name, std::string_view bytes) const {
    std::FILE* f = std::fopen(Path(name).c_str(), "wb");
    if (!f) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
}

std::string TFuzzEnv::Get(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool TFuzzEnv::Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

void TFuzzEnv::Remove(const std::string& name) const {
    std::error_code ec;
    std::filesystem::remove(Path(name), ec);
}

std::string TFuzzEnv::DataFileName() const { return std::string(FuzzTemple) + FuzzWord + FuzzDrawing + "_data.txt"; }
std::string TFuzzEnv::DispFileName() const { return std::string(FuzzTemple) + FuzzWord + FuzzDrawing + "_disp.txt"; }

void CopyDocument(const TDrawingState& from, TDrawingState& to) {
    for (std::int32_t i = 0; i <= from.FigureCount; ++i) to.Fig(i) = from.Fig(i);
    to.FigureCount = from.FigureCount;
    to.MaxPlotId = from.MaxPlotId;
    to.Households = from.Households;
    to.ExeFolder = from.ExeFolder;
    to.TempleName = from.TempleName;
    to.PlotKindWord = from.PlotKindWord;
    to.CurrentDrawingName = from.CurrentDrawingName;
    ApplyFormData(to, from.View);
    to.LoadedZoom = from.LoadedZoom;
}

std::string SampleFile(const std::string& name) { return std::string(TARVEK_SAMPLES) + "/temple/" + name; }

void PutSampleFile(const TFuzzEnv& env, const std::string& sampleName, const std::string& name) {
    TLines lines;
    if (!ReadTextLines(SampleFile(sampleName), lines)) std::abort();
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    env.Put(name, Utf8ToCp932(text));
}

}  // namespace tarvek::fuzz
