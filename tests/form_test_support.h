// A temporary program folder laid out as the ledger leaves it before starting the
// editor, and the main form started in it offscreen.
#pragma once

#include <QApplication>
#include <map>
#include <memory>

#include "document/startup.h"
#include "forms/hako_set.h"
#include "forms/zumenn.h"
#include "households/handover.h"
#include "households/household_table.h"
#include "test_support.h"

namespace tarvek::testing {

// Every file below the folder with its bytes, to prove what a run touched.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file()) files[std::filesystem::relative(e.path(), root).string()] = ReadBytes(e.path().string());
    return files;
}

class TProgramFolder : public TTempFolder {
public:
    static constexpr const char* Temple = "寺";
    static constexpr const char* Word = "厨子";
    static constexpr const char* Drawing = "図面1";

    std::string DataFile(const std::string& name = Drawing) const {
        return File(std::string(Temple) + Word + name + "_data.txt");
    }
    std::string DispFile(const std::string& name = Drawing) const {
        return File(std::string(Temple) + Word + name + "_disp.txt");
    }
    std::string RequestFile() const { return File(SelectedDrawingFileName); }

    void WriteRequest(const std::string& line) { WriteBytes(RequestFile(), Utf8ToCp932(line) + "\r\n"); }
    void WriteFreshRequest(const std::string& drawing = Drawing, const std::string& target = "") {
        WriteRequest(std::string("\"") + Word + "\",\"依頼\",\"" + target + "\",\"" + Temple + "\",\"\",\"" + drawing + "\"");
    }
    void UseDrawingFixture(const std::string& fixture, const std::string& name = Drawing) {
        WriteBytes(DataFile(name), ReadBytes(FixturePath(fixture)));
    }
    void WriteHouseholds(const TLines& lines) { ASSERT_TRUE(WriteTextLines(File(HouseholdTableFileName), lines)); }

    // The usual start: a fresh request for the version-4 fixture and three households.
    void LayOutDefault() {
        WriteFreshRequest();
        UseDrawingFixture("ver4_data.txt");
        WriteHouseholds({"\"123\",\"佐藤家\",\"佐藤　一郎\",\"東町\",\"北浜県\",\"若葉台1\",\"0123-45-6789\",\"4\",\"\"",
                         "\"000124\",\"鈴木家\",\"鈴木　花子\",\"川原\",\"北浜県\",\"川原2\",\"0123-45-0000\",\"2\",\"総代\"",
                         "\"7\",\"高橋家\",\"高橋　進\",\"東町\",\"北浜県\",\"若葉台3\",\"0123-45-1111\",\"4\",\"\""});
    }
};

// The live plot record that carries a plot id, or 0.
inline std::int32_t LivePlotWithId(const TDrawingState& s, std::int32_t id) {
    for (std::int32_t i = 1; i <= s.FigureCount; ++i)
        if (s.Fig(i).PlotId == id && IsPlotRecord(s.Fig(i)) && !s.Fig(i).Deleted) return i;
    return 0;
}

// The row of a grid whose first column holds text, or 0.
inline int GridRowWithId(const TStringGrid& grid, const std::string& text) {
    for (int r = 1; r < grid.RowCount(); ++r)
        if (grid.Cells(0, r) == text) return r;
    return 0;
}

// Saves a picture for a person to look at, into the folder TARVEK_SHOTS names; without
// it, nowhere.
inline void SaveShot(const QImage& image, const std::string& name) {
    if (const char* dir = std::getenv("TARVEK_SHOTS"); dir && *dir) image.save(QString::fromStdString(std::string(dir) + "/" + name));
}

// Starts the form as the program does, and runs the queued start-up guards. Only the
// full editor has the niche-count dialog.
inline std::unique_ptr<TForm_zumenn> StartForm(const TProgramFolder& dir, TUserServices& ui,
                                               const TEdition& edition = ProEdition()) {
    auto form = std::make_unique<TForm_zumenn>(dir.Folder(), ui, edition);
    if (edition.Kind() == TEditionKind::Pro) form->AdoptBlockDialog(std::make_unique<Thako>(*form));
    form->Show();
    QApplication::processEvents();
    return form;
}

}  // namespace tarvek::testing
