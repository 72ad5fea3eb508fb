#include "document/history.h"

#include "document/drawing_state.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek {

const std::int64_t* THistoryData::Number(std::size_t i) const {
    return i < Fields.size() ? std::get_if<std::int64_t>(&Fields[i]) : nullptr;
}

const std::string* THistoryData::Text(std::size_t i) const {
    return i < Fields.size() ? std::get_if<std::string>(&Fields[i]) : nullptr;
}

void GrowHistory(TDrawingState& s) {
    s.Ui.SetBusyCursor(true);
    s.History.resize(static_cast<std::size_t>(s.HistoryCapacity + s.HistoryGrowStep) + 1);
    s.HistoryCapacity += s.HistoryGrowStep;
    s.Ui.SetBusyCursor(false);
}

void UpdateUndoHint(TDrawingState& s) {
    const std::string& top = s.History[static_cast<std::size_t>(s.HistoryCount)].Label;
    if (top == HistoryStopLabel) {
        s.SetHelpLine("次の「Ctrl+Z」はありません。");
        return;
    }
    std::string hint = top;
    if (s.HistoryCount > 1 && top == "選択解除" &&
        s.History[static_cast<std::size_t>(s.HistoryCount - 1)].Label == "選択")
        hint = "前の選択に戻す";
    s.SetHelpLine("次の「Ctrl+Z」" + hint);
}

Trireki& PushHistory(TDrawingState& s, const std::string& label) {
    if (!s.Edition->RecordsHistory()) {
        s.ScratchStep.Label = label;
        s.ScratchStep.Data.Clear();
        return s.ScratchStep;
    }
    if (s.HistoryCapacity < s.HistoryCount + 1) GrowHistory(s);
    s.HistoryCount += 1;
    Trireki& step = s.History[static_cast<std::size_t>(s.HistoryCount)];
    step.Label = label;
    step.Data.Clear();
    UpdateUndoHint(s);
    return step;
}

void EmptyHistory(TDrawingState& s) {
    // Entry 1 stays the bottom mark: the next step lands above it, where undo reaches it.
    s.HistoryCount = 1;
    s.History[0].Label = HistoryStopLabel;
    s.History[1].Label = HistoryStopLabel;
    s.History[static_cast<std::size_t>(s.HistoryCapacity)].Label = HistoryStopLabel;
}

std::string PadText(int width, const std::string& pad, const std::string& text) {
    std::string out = text;
    if (pad.empty()) return out;
    const std::size_t padWidth = Cp932ByteLength(pad);
    std::size_t len = Cp932ByteLength(out);
    std::string prefix;
    while (len < static_cast<std::size_t>(width > 0 ? width : 0)) {
        prefix += pad;
        len += padWidth;
    }
    return prefix + out;
}

std::string PadNumber(std::int64_t number, int width, const std::string& pad) {
    return PadText(width, pad, IntToStr(number));
}

std::string StripPad(const std::string& padded, char pad) {
    const std::size_t first = padded.find_first_not_of(pad);
    return first == std::string::npos ? std::string() : padded.substr(first);
}

THistoryData BuildSelectionHistoryData(const TDrawingState& s) {
    THistoryData d;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i)
        if (s.Fig(i).Selected) d.AddNumber(i);
    return d;
}

void AppendGeometryToHistory(THistoryData& data, std::int32_t index, const TDateRec& r) {
    data.AddNumber(index);
    for (const double v : {r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4, r.BoxX1, r.BoxY1, r.BoxX2, r.BoxY2,
                           r.Aux1, r.Aux2, r.Aux3, r.Aux4})
        data.AddNumber(RoundHalfEven(v));
}

}  // namespace tarvek
