#include "document/part_file.h"

#include <algorithm>

#include "document/drawing_file.h"
#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "households/ledger_exchange.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek {

namespace {

// A part's plots are the records that carry the plot flag. An old part's kind 11 is
// never drawn, so it stays a figure: the ledger must not hear of a plot the map lacks.
bool IsLoadedPlot(const TDateRec& r) { return r.IsPlot != 0; }

}  // namespace

std::string PartsFolder(const TDrawingState& s) {
    std::string folder = s.ExeFolder;
    if (!folder.empty() && folder.back() == '/') folder.pop_back();
    const std::size_t cut = folder.rfind('/');
    if (cut != std::string::npos) folder.resize(cut);
    return folder + "/ゼルボデータ/部品/";
}

std::string PartDialogFolder(const TDrawingState& s) {
    const std::string parts = PartsFolder(s);
    return DirectoryExists(parts) ? parts : s.ExeFolder;
}

TLines BuildPartLines(const TDrawingState& s) {
    std::int32_t count = std::clamp<std::int32_t>(s.FigureCount, 0, static_cast<std::int32_t>(s.Figures.size()) - 1);
    std::vector<TDateRec> part(s.Figures.begin(), s.Figures.begin() + count + 1);
    for (std::int32_t i = 1; i <= count; ++i) {
        TDateRec& r = part[static_cast<std::size_t>(i)];
        // Set-aside copies go before the links are renumbered, so that no link skips them.
        if (!r.Selected || (r.ShareSetId >= 1 && r.SetAside)) r.Deleted = 1;
    }
    CompactRecordList(part, count);

    TLines lines;
    lines.reserve(static_cast<std::size_t>(count) * 25 + 2);
    lines.push_back(DrawingVersionLine);
    for (std::int32_t i = 1; i <= count; ++i) {
        TDateRec& r = part[static_cast<std::size_t>(i)];
        r.SetAside = 0;
        r.ShareSetId = 0;
        AppendFigureRecordLines(r, lines);
    }
    lines.push_back(EndOfDataLine);
    return lines;
}

TPartRecords ParsePartLines(const TLines& lines, const std::string& fileName, const std::string& fontName) {
    TPartRecords out;
    const TDrawingFileVersion version = DrawingFileVersionOf(lines.empty() ? std::string() : lines[0]);
    const bool fontLine = version != TDrawingFileVersion::Ver4 || EndsWithNoCase(fileName, "txt") ||
                          EndsWithNoCase(fileName, "bbh");
    const std::size_t length = static_cast<std::size_t>(FigureRecordLength(version, fontLine));
    std::size_t pos = version == TDrawingFileVersion::Unversioned ? 0 : 1;
    while (true) {
        if (pos >= lines.size()) {
            out.Error = TPartReadError::Cut;
            out.BadRecord = static_cast<std::int32_t>(out.Records.size()) + 1;
            break;
        }
        if (lines[pos] == EndOfDataLine) break;
        // The store can never take more; reading on would only hold memory.
        if (out.Records.size() + 1 >= static_cast<std::size_t>(MaxFigures)) {
            out.Error = TPartReadError::TooMany;
            break;
        }
        TDateRec r;
        r.FontName = fontName;
        std::int32_t line9 = 0;
        if (!ReadFigureRecordFields(lines, pos, version, r, line9, fontLine)) {
            out.Error = pos + length > lines.size() ? TPartReadError::Cut : TPartReadError::BadValue;
            out.BadRecord = static_cast<std::int32_t>(out.Records.size()) + 1;
            break;
        }
        UpgradeFigureRecord(r, version, TRecordSource::PartFile);
        out.Records.push_back(std::move(r));
        pos += length;
    }
    if (!out.ok()) out.Records.clear();
    return out;
}

std::string PartReadErrorMessage(const std::string& path, const TPartRecords& parsed) {
    const std::string head = "ファイル " + path + " を読込めません。\r";
    switch (parsed.Error) {
        case TPartReadError::Cut:
            return head + IntToStr(parsed.BadRecord) + "番目の図形の途中でデータが終わっています。";
        case TPartReadError::BadValue:
            return head + IntToStr(parsed.BadRecord) + "番目の図形に読めない値があります。";
        case TPartReadError::TooMany:
            return head + StoreFullMessage;
        case TPartReadError::None:
            break;
    }
    return head;
}

TPartAppendResult AppendPartRecords(TDrawingState& s, TLedgerView& view, const std::vector<TDateRec>& records) {
    TPartAppendResult result;
    const auto n = static_cast<std::int32_t>(records.size());
    if (n == 0) return result;
    // A key for every plot at most (pieces share their parent's), before anything changes.
    if (!ReservePlotIds(s, std::count_if(records.begin(), records.end(), IsLoadedPlot))) return result;

    ClearFigureSelection(s, true);
    // Room for the whole part first: a compaction renumbers the store, so the count that
    // the links are shifted by is taken only afterwards.
    if (!ReserveFigures(s, n)) {
        s.Form->RepaintMap();
        return result;
    }
    BeginChangeRecordList(s, VerbAdded);
    const std::int32_t former = s.FigureCount;

    for (std::int32_t k = 1; k <= n; ++k) {
        TDateRec r = records[static_cast<std::size_t>(k - 1)];
        // A link that names no parent of the part would point into the drawing once shifted.
        const std::int32_t o = r.OwnerIndex;
        const bool inPart = o >= 1 && o <= n && o != k && IsOwnerKind(records[static_cast<std::size_t>(o - 1)].Kind);
        r.OwnerIndex = inPart ? o + former : 0;
        r.PlotId = 0;
        r.Selected = 1;
        r.Deleted = 0;
        r.SetAside = 0;
        r.ShareSetId = 0;
        r.DrawingName = s.CurrentDrawingName;
        r.PlotNumber = "000000";
        ClearHouseholdNames(r);
        r.Grade.clear();
        r.SourceIndex = 0;
        r.DistrictId = 0;
        // The household goes with the other household fields: a new plot is nobody's.
        if (IsLoadedPlot(r)) r.Text = "0";
        s.FigureCount += 1;
        s.Fig(s.FigureCount) = std::move(r);
        UpdateFigureBounds(s, s.FigureCount);
    }
    s.DrawingUnchanged = 0;

    // New keys in store order; a piece of a compound plot takes its parent's key, as a
    // pasted one does, so the ledger hears of each plot once.
    const auto pieceOfPlot = [&](std::int32_t i) {
        const std::int32_t owner = GetCompoundOwner(s, i);
        return owner > former && owner <= s.FigureCount && IsLoadedPlot(s.Fig(owner));
    };
    std::vector<std::int32_t> announced;
    for (std::int32_t i = former + 1; i <= s.FigureCount; ++i) {
        if (!IsLoadedPlot(s.Fig(i)) || pieceOfPlot(i)) continue;
        announced.push_back(i);
        s.MaxPlotId += 1;
        s.Fig(i).PlotId = s.MaxPlotId;
        AddPlotToChangeRecordList(s, i);
        s.LedgerUnchanged = 0;
    }
    for (std::int32_t i = former + 1; i <= s.FigureCount; ++i)
        if (IsLoadedPlot(s.Fig(i)) && pieceOfPlot(i)) s.Fig(i).PlotId = s.Fig(GetCompoundOwner(s, i)).PlotId;
    FlushChangesToLedger(s, view);

    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    const auto& b = s.DrawPointBuffer;  // right, left, bottom, top
    for (std::int32_t i = former + 1; i <= s.FigureCount && !result.OneGroup; ++i) {
        const TDateRec& r = s.Fig(i);
        result.OneGroup = IsOwnerKind(r.Kind) && r.BoxX2 == b[0] && r.BoxX1 == b[1] && r.BoxY2 == b[2] &&
                          r.BoxY1 == b[3];
    }
    result.Added = s.FigureCount - former;
    // The records the ledger was told of follow the count, so that taking the load back
    // tells it of exactly these and gives their keys back.
    THistoryData& d = PushHistory(s, PartLoadStepLabel).Data;
    d.AddNumber(result.Added);
    for (const std::int32_t i : announced) d.AddNumber(i);
    s.Form->RepaintMap();
    return result;
}

TPartAppendResult LoadPartFile(TDrawingState& s, TLedgerView& view, const std::string& path) {
    // The whole file is read before anything changes: a bad file leaves the drawing,
    // the selection and the history as they were.
    TLines lines;
    const TFileResult read = ReadTextLines(path, lines);
    if (!read) {
        s.Ui.MessageDlg("ファイル " + path + " を読込めません。\r" + read.Message, TMsgDlgType::mtWarning, mbOK);
        return {};
    }
    const TPartRecords parsed = ParsePartLines(lines, path, s.CurFontName);
    if (!parsed.ok()) {
        s.Ui.MessageDlg(PartReadErrorMessage(path, parsed), TMsgDlgType::mtWarning, mbOK);
        return {};
    }
    return AppendPartRecords(s, view, parsed.Records);
}

}  // namespace tarvek
