#include "households/handover.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <optional>
#include <unordered_map>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/plot_record.h"
#include "document/startup.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

// The file has no escape: the reader drops every double quote and splits at every
// comma, so such characters in a text would shift the fields of the whole line.
std::string QuotedField(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == ',') out += "，";
        else if (c == '"') out += "”";
        else if (c == '\r' || c == '\n') out += ' ';
        else out += c;
    }
    return out + "\"";
}

// One line of the ledger's file.
struct TLedgerPlot {
    std::int32_t PlotId = 0;
    std::string Household;
    std::int32_t HouseholdValue = 0;
    std::string PlotNumber;
    std::string Remarks;
    std::string Grade;
    std::int32_t SourceIndex = 0;
    std::int32_t DistrictId = 0;
    std::string DrawingName;
};

enum class TLineParse { Plot, Ignored, Bad };

// The first eight fields of a line with every double quote deleted, split at each comma
// (SplitCsvFields of the line without its quotes), into fields that keep their storage
// from line to line: the file lists every plot of the drawing.
void SplitLedgerFields(std::string_view line, std::array<std::string, 8>& f) {
    std::size_t start = 0;
    for (std::size_t k = 0; k < f.size(); ++k) {
        if (start > line.size()) {
            f[k].clear();
            continue;
        }
        std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) comma = line.size();
        const std::string_view field = line.substr(start, comma - start);
        f[k].assign(field);
        if (field.find('"') != std::string_view::npos) std::erase(f[k], '"');
        start = comma + 1;
    }
}

TLineParse ParseLedgerLine(const std::string& line, TLedgerPlot& p, std::array<std::string, 8>& f) {
    SplitLedgerFields(line, f);
    const auto id = StrToInt(f[0]);
    if (!id) return TLineParse::Bad;
    // A plot id below 1 names no plot; 0 would match every figure without one.
    if (*id < 1) return TLineParse::Ignored;
    const auto household = StrToInt(f[1]);
    const auto source = StrToInt(f[5]);
    const auto district = StrToInt(f[6]);
    if (!household || !source || !district) return TLineParse::Bad;
    p.PlotId = *id;
    p.Household = f[1];
    p.HouseholdValue = *household;
    p.PlotNumber = f[2];
    p.Remarks = f[3];
    p.Grade = f[4];
    p.SourceIndex = *source;
    p.DistrictId = *district;
    p.DrawingName = f[7];
    return TLineParse::Plot;
}

bool FailStage(TDrawingState& s) {
    s.StartupError = 1;
    s.Ui.Beep();
    return false;
}

// The household table as the merge searches it: row by row for the first ID equal to a
// plot's household. A row whose ID is no integer stops that search as bad data when it
// is reached before a match.
class THouseholdIndex {
public:
    explicit THouseholdIndex(const std::vector<THouseholdRow>& rows) {
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const auto id = StrToInt(rows[k][0]);
            if (!id) {
                FirstBadRow = std::min(FirstBadRow, k);
                continue;
            }
            FirstRow.emplace(*id, k);
        }
    }
    // False when the search meets a bad row; row is then unchanged.
    bool Find(std::int32_t household, std::optional<std::size_t>& row) const {
        const auto it = FirstRow.find(household);
        if (it != FirstRow.end() && it->second < FirstBadRow) {
            row = it->second;
            return true;
        }
        row.reset();
        return FirstBadRow == NoRow;
    }

private:
    static constexpr std::size_t NoRow = static_cast<std::size_t>(-1);
    std::unordered_map<std::int32_t, std::size_t> FirstRow;
    std::size_t FirstBadRow = NoRow;
};

void TakeLedgerFields(TDateRec& r, const TLedgerPlot& p) {
    r.Text = p.Household;
    r.PlotNumber = p.PlotNumber;
    r.PlotRemarks = p.Remarks;
    r.Grade = p.Grade;
    r.SourceIndex = p.SourceIndex;
    r.DistrictId = p.DistrictId;
    r.DrawingName = p.DrawingName;
    r.Deleted = 0;  // a listed plot comes back
}


}  // namespace

bool HandoverLine(const TDrawingState& s, std::int32_t index, std::string& line) {
    const TDateRec& r = s.Fig(index);
    const auto household = StrToInt(r.Text);
    if (!household) return false;
    line = IntToStr(r.PlotId) + "," + IntToStr(*household) + "," + QuotedField(r.PlotNumber) + "," +
           QuotedField(r.PlotRemarks) + "," + QuotedField(r.Grade) + ",-1," + IntToStr(r.DistrictId) + "," +
           QuotedField(r.DrawingName);
    return true;
}

TFileResult WriteHandoverCsv(const TDrawingState& s) {
    const std::string path = s.ExeFolder + HandoverCsvFileName;
    TLines lines;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        // Key 0 names no plot: read back, the line would be dropped as naming none.
        if (r.Deleted || !IsPlotRecord(r) || r.PlotId == 0) continue;
        std::string line;
        if (!HandoverLine(s, i, line)) {
            TFileResult bad;
            bad.Status = TFileStatus::WriteFailed;
            bad.Message = "'" + r.Text + "' は整数値ではありません";
            return bad;
        }
        lines.push_back(std::move(line));
    }
    return WriteTextLines(path, lines);
}

bool ReadHandoverCsv(TDrawingState& s, std::vector<std::string>& gradeItems) {
    s.StartupErrorMessage = HandoverStageMessage;
    // The file lists every plot of the drawing: it is read once and its lines taken one
    // at a time, twice, rather than kept as strings and records of their own.
    std::string bytes;
    const TFileResult read = ReadTextBytes(s.ExeFolder + HandoverCsvFileName, bytes);
    if (read.Status == TFileStatus::NotFound) return true;
    if (!read) return FailStage(s);
    std::size_t pos = 0;
    std::string line;
    std::array<std::string, 8> fields;
    // The next plot line: Plot, or Bad, or Ignored at the end of the list.
    const auto nextPlot = [&](TLedgerPlot& p) {
        for (std::string_view bytesOfLine; NextLine(bytes, pos, bytesOfLine);) {
            Cp932ToUtf8(bytesOfLine, line);
            if (line.empty() || line == "endofdata") break;
            const TLineParse parsed = ParseLedgerLine(line, p, fields);
            if (parsed != TLineParse::Ignored) return parsed;
        }
        pos = bytes.size();
        return TLineParse::Ignored;
    };

    // Every line is checked before anything changes, so bad data never leaves a
    // half-merged plot list behind.
    const THouseholdIndex households(s.Households);
    std::vector<std::int32_t> listed;  // the plot ids, in file order
    std::vector<std::optional<std::size_t>> householdRows;
    for (TLedgerPlot p;;) {
        const TLineParse parsed = nextPlot(p);
        if (parsed == TLineParse::Bad) return FailStage(s);
        if (parsed != TLineParse::Plot) break;
        std::optional<std::size_t> row;
        if (!households.Find(p.HouseholdValue, row)) return FailStage(s);
        householdRows.push_back(row);
        listed.push_back(p.PlotId);
    }

    // New plots start from the largest point 2 of the drawing as loaded, deleted records
    // too, and line up to the right.
    double maxX = 0.0, maxY = 0.0;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        maxX = std::max(maxX, s.Fig(i).X2);
        maxY = std::max(maxY, s.Fig(i).Y2);
    }

    // Room for the new plots first. Compaction must run before the unlisted plots are
    // marked deleted below, or it would remove plots that later lines still name. It
    // also removes deleted plots that a line would have brought back, so those need new
    // records then: the room is counted for the store as it will be.
    {
        // Sorted lists rather than sets: tens of thousands of ids, each a node otherwise.
        std::vector<std::int32_t> ids = listed;
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        const auto fits = [&](bool compacted) {
            std::int64_t records = s.FigureCount;
            std::vector<std::int32_t> known;
            for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
                const TDateRec& r = s.Fig(i);
                if (compacted && r.Deleted) --records;
                else if (IsPlotRecord(r)) known.push_back(r.PlotId);
            }
            std::sort(known.begin(), known.end());
            std::int64_t fresh = 0;
            for (const std::int32_t id : ids) fresh += std::binary_search(known.begin(), known.end(), id) ? 0 : 1;
            return records + fresh < MaxFigures;
        };
        if (!fits(false)) {
            // Compacting when it cannot make room would change the store for nothing.
            if (!fits(true)) {
                s.Ui.MessageDlg("これ以上データを置けません", TMsgDlgType::mtWarning, mbOK);
                return FailStage(s);
            }
            if (!EnsureFigureCapacity(s)) return FailStage(s);
            if (!fits(false)) {
                s.Ui.MessageDlg("これ以上データを置けません", TMsgDlgType::mtWarning, mbOK);
                return FailStage(s);
            }
        }
    }

    // The plots of each id in store order, as (id, index) sorted: one list rather than a
    // node per plot. Plots the file brings are found among those made here.
    std::vector<std::pair<std::int32_t, std::int32_t>> byId;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (!IsPlotRecord(r)) continue;
        byId.emplace_back(r.PlotId, i);
        // The ledger is the master of the plot list: what it does not list goes. A record
        // without a key (an old part's kind 11) is in no list, so it stays.
        if ((r.Kind == fkOldPlot || r.Kind == fkPlot) && r.PlotId != 0) r.Deleted = 1;
    }
    std::sort(byId.begin(), byId.end());
    std::unordered_map<std::int32_t, std::int32_t> made;
    pos = 0;
    TLedgerPlot p;
    for (std::size_t n = 0; n < listed.size() && nextPlot(p) == TLineParse::Plot; ++n) {
        const std::optional<std::size_t>& row = householdRows[n];
        auto [from, to] = std::equal_range(byId.begin(), byId.end(), std::pair{p.PlotId, 0},
                                           [](const auto& a, const auto& b) { return a.first < b.first; });
        std::int32_t madeHere = 0;
        if (from == to) {
            auto it = made.find(p.PlotId);
            if (it == made.end()) {
                // Shaped and set up like a placed plot.
                const std::int32_t n = AppendPlotRecord(s, maxX, maxY);
                s.Fig(n).PlotId = p.PlotId;
                s.MaxPlotId = std::max(s.MaxPlotId, p.PlotId);
                // The gap is screen pixels at the zoom in force.
                maxX = s.Fig(n).X2 + static_cast<double>(s.BlockGapX) / s.Zoom * 1000.0;
                it = made.emplace(p.PlotId, n).first;
            }
            madeHere = it->second;
        }
        const auto update = [&](std::int32_t i) {
            TakeLedgerFields(s.Fig(i), p);
            if (row) CopyHouseholdNames(s.Fig(i), s.Households[*row]);
        };
        if (madeHere > 0) update(madeHere);
        for (auto it = from; it != to; ++it) update(it->second);
        if (!p.Grade.empty() && std::find(gradeItems.begin(), gradeItems.end(), p.Grade) == gradeItems.end())
            gradeItems.push_back(p.Grade);
    }
    return true;
}

}  // namespace tarvek
