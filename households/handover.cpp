#include "households/handover.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

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

TLineParse ParseLedgerLine(const std::string& line, TLedgerPlot& p) {
    std::string bare = line;
    std::erase(bare, '"');
    const std::vector<std::string> f = SplitCsvFields(bare, 8);
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
        if (r.Deleted || !IsPlotRecord(r)) continue;
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
    TLines lines;
    const TFileResult read = ReadTextLines(s.ExeFolder + HandoverCsvFileName, lines);
    if (read.Status == TFileStatus::NotFound) return true;
    if (!read) return FailStage(s);

    // Every line is checked before anything changes, so bad data never leaves a
    // half-merged plot list behind.
    const THouseholdIndex households(s.Households);
    std::vector<TLedgerPlot> listed;
    std::vector<std::optional<std::size_t>> householdRows;
    for (const std::string& line : lines) {
        if (line.empty() || line == "endofdata") break;
        TLedgerPlot p;
        const TLineParse parsed = ParseLedgerLine(line, p);
        if (parsed == TLineParse::Bad) return FailStage(s);
        if (parsed != TLineParse::Plot) continue;
        std::optional<std::size_t> row;
        if (!households.Find(p.HouseholdValue, row)) return FailStage(s);
        householdRows.push_back(row);
        listed.push_back(std::move(p));
    }

    // Room for the new plots first. Compaction must run before the unlisted plots are
    // marked deleted below, or it would remove plots that later lines still name. It
    // also removes deleted plots that a line would have brought back, so those need new
    // records then: the room is counted for the store as it will be.
    {
        const auto fits = [&](bool compacted) {
            std::int64_t records = s.FigureCount;
            std::unordered_set<std::int32_t> known, fresh;
            for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
                const TDateRec& r = s.Fig(i);
                if (compacted && r.Deleted) --records;
                else if (IsPlotRecord(r)) known.insert(r.PlotId);
            }
            for (const TLedgerPlot& p : listed)
                if (!known.contains(p.PlotId)) fresh.insert(p.PlotId);
            return records + static_cast<std::int64_t>(fresh.size()) < MaxFigures;
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

    // New plots line up to the right, below and right of everything drawn.
    double maxX = 0.0, maxY = 0.0;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        maxX = std::max({maxX, r.X1, r.X2, r.X3, r.X4});
        maxY = std::max({maxY, r.Y1, r.Y2, r.Y3, r.Y4});
    }

    std::unordered_map<std::int32_t, std::vector<std::int32_t>> plotsById;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (!IsPlotRecord(r)) continue;
        plotsById[r.PlotId].push_back(i);
        // The ledger is the master of the plot list: what it does not list goes.
        if (r.Kind == fkOldPlot || r.Kind == fkPlot) r.Deleted = 1;
    }
    for (std::size_t n = 0; n < listed.size(); ++n) {
        const TLedgerPlot& p = listed[n];
        const std::optional<std::size_t>& row = householdRows[n];
        std::vector<std::int32_t>& plots = plotsById[p.PlotId];
        if (plots.empty()) {
            // Shaped and set up like a placed plot.
            const std::int32_t n = AppendPlotRecord(s, maxX, maxY);
            s.Fig(n).PlotId = p.PlotId;
            s.MaxPlotId = std::max(s.MaxPlotId, p.PlotId);
            maxX = s.Fig(n).X2 + s.BlockGapX * 1000.0;
            plots.push_back(n);
        }
        for (const std::int32_t i : plots) {
            TakeLedgerFields(s.Fig(i), p);
            if (row) CopyHouseholdNames(s.Fig(i), s.Households[*row]);
        }
        if (!p.Grade.empty() && std::find(gradeItems.begin(), gradeItems.end(), p.Grade) == gradeItems.end())
            gradeItems.push_back(p.Grade);
    }
    return true;
}

}  // namespace tarvek
