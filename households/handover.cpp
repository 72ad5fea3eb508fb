#include "households/handover.h"

#include "document/drawing_state.h"
#include "platform/numbers.h"

namespace tarvek {

bool HandoverLine(const TDrawingState& s, std::int32_t index, std::string& line) {
    const TDateRec& r = s.Fig(index);
    const auto household = StrToInt64(r.Text);
    if (!household) return false;
    const auto q = [](const std::string& t) { return "\"" + t + "\""; };
    line = IntToStr(r.PlotId) + "," + IntToStr(*household) + "," + q(r.PlotNumber) + "," + q(r.PlotRemarks) +
           "," + q(r.Grade) + ",-1," + IntToStr(r.DistrictId) + "," + q(r.DrawingName);
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

bool ReadHandoverCsv(TDrawingState& s) {
    s.StartupErrorMessage = "図面台帳データエラー。図面台帳に不正なデータがあります。";
    // Merging the ledger's plot list into the drawing comes with the plot search work;
    // until then the drawing's own plots stand as loaded.
    return true;
}

}  // namespace tarvek
