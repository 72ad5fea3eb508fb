// Shared by the tests: a temporary program folder and the fixture files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/drawing_state.h"
#include "platform/textfile.h"

namespace tarvek::testing {

class TTempFolder {
public:
    TTempFolder() {
        std::string templ = (std::filesystem::temp_directory_path() / "tarvek_test_XXXXXX").string();
        if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
        Path = templ;
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // As the editor keeps its program folder: with a trailing separator.
    std::string Folder() const { return Path.string() + "/"; }
    std::string File(const std::string& name) const { return (Path / name).string(); }

    std::filesystem::path Path;
};

inline std::string FixturePath(const std::string& name) {
    return std::string(TARVEK_TEST_DATA) + "/" + name;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!in || ec) return bytes;
    // In one go: some tests read files of hundreds of megabytes.
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Points a state at a drawing of a temple in a folder, as the request would.
inline void PointAtDrawing(TDrawingState& s, const std::string& folder, const std::string& temple,
                           const std::string& word, const std::string& drawing) {
    s.ExeFolder = folder;
    s.TempleName = temple;
    s.PlotKindWord = word;
    s.CurrentDrawingName = drawing;
}

// The ledger's side of the return file: while the editor waits for the file to be
// taken, this ledger takes it (and removes it). An empty ReturnPath takes nothing.
class TTakingLedgerUi : public TScriptedUi {
public:
    std::string ReturnPath;
    // Every list taken, as the bytes that arrived.
    std::vector<std::string> Taken;

    void Sleep(int milliseconds) override {
        TScriptedUi::Sleep(milliseconds);
        TakeList();
    }
    void TakeList() {
        if (ReturnPath.empty()) return;
        const std::string bytes = ReadBytes(ReturnPath);
        if (bytes.empty()) return;
        Taken.push_back(bytes);
        std::filesystem::remove(ReturnPath);
    }
    // Every list the ledger got, the one still in the file taken now, as UTF-8.
    std::vector<std::string> Lists() {
        TakeList();
        std::vector<std::string> lists;
        for (const std::string& bytes : Taken) lists.push_back(Cp932ToUtf8(bytes));
        return lists;
    }
};

// The household fields of a plot as the ledger's export gives them, for the
// household's ID, or the empty ones of "0".
inline void SetTestHousehold(TDateRec& r, const std::string& household) {
    r.Text = household;
    const bool none = household == "0";
    r.HouseName = none ? "空" : household + "家";
    r.HeadName = none ? "" : household + "主";
    r.Phone = none ? "" : "0123";
    r.DistrictName = none ? "" : "東町";
    r.Address1 = none ? "" : "北浜県";
    r.Address2 = none ? "" : "若葉台";
    r.PlotRemarks = none ? "" : "備考";
    r.DistrictId = none ? 0 : 4;
}

// One copy of a polygon plot in a share set, four edges before its polygon, as its records
// must stand: owner, set-aside flag and label (labels come only with the ledger's hand-over
// file, so a drawing read back from its data file is checked without them).
struct TPolygonCopy {
    std::int32_t Parent;
    std::string Owner;
    std::int32_t SetAside;
    std::string Label;
};

inline void ExpectPolygonCopies(const TDrawingState& s, const std::vector<TPolygonCopy>& copies,
                                std::int32_t set, bool labels) {
    for (const TPolygonCopy& c : copies) {
        for (std::int32_t i = c.Parent - 4; i <= c.Parent; ++i) {
            SCOPED_TRACE(i);
            const TDateRec& r = s.Fig(i);
            EXPECT_EQ(r.Deleted, 0);
            EXPECT_EQ(r.Text, c.Owner);
            EXPECT_EQ(r.ShareSetId, set);
            EXPECT_EQ(r.SetAside, c.SetAside);
            if (labels) {
                EXPECT_EQ(r.PlotNumber, c.Label);
            }
        }
    }
}

}  // namespace tarvek::testing
