#include "households/grades.h"

#include <algorithm>

#include "document/drawing_state.h"
#include "document/history.h"
#include "document/selection.h"
#include "households/ledger_exchange.h"
#include "households/plot_info.h"
#include "households/plot_records.h"

namespace tarvek {

void AssignGradeToSelection(TDrawingState& s, const std::string& typed) {
    THistoryData& d = PushHistory(s, "等級割当てを取消し").Data;
    const std::string grade = WithoutRefusedRemarksChars(typed);
    std::vector<TMapMark> marks;
    TLines list{ChangeRecordHeader(VerbChanged)};
    for (std::int32_t k = 1; k <= ListedCount(s); ++k) {
        const std::int32_t f = ListedEntry(s, k);
        if (!s.ValidIndex(f)) continue;
        TDateRec& r = s.Fig(f);
        d.AddNumber(f);
        d.AddText(r.Grade);
        r.Grade = grade;
        s.LedgerUnchanged = 0;
        for (const std::int32_t m : CompoundMembers(s, f)) s.Fig(m).Grade = grade;
        TMapMark mark = PointsMark(r);
        mark.BrushColor = 0xFF0000;  // blue
        marks.push_back(mark);
        list.push_back(PlotExchangeLine(r));
    }
    s.Form->MarkUntilRepaint(marks);
    SendChanges(s, list);
    s.Form->FocusSink();
}

std::string GradeButtonHint(const TDrawingState& s, const std::string& grade) {
    return "選択されている" + s.PlotKindWord + "の等級を「" + (grade.empty() ? std::string("空欄") : grade) +
           "」で割当てます。";
}

void BeginGradeEdit(TDrawingState& s, const std::string& text) {
    s.Search.EditingField = 1;
    s.Search.OldGradeName = text;
}

std::string EndGradeEdit(TDrawingState& s, const std::string& typed, bool searchArmed,
                         std::vector<std::string>& grades) {
    const std::string text = WithoutRefusedRemarksChars(typed);
    const std::int32_t plot = CursorEntry(s);
    const bool onPlot = s.ValidIndex(plot) && !s.Fig(plot).Deleted && IsPlotRecord(s.Fig(plot));
    // While the fields take search criteria and no plot is current the text is one of
    // them: it names no grade, and the fields stay marked so the next one keeps them. A
    // plot picked or asked for meanwhile is current: the text is its grade.
    if (searchArmed && !onPlot) return text;
    s.Search.EditingField = 0;
    if (text == s.Search.OldGradeName) return text;
    s.Search.OldGradeName = text;
    if (!onPlot) return text;
    if (s.Fig(plot).Grade != text) {
        s.Fig(plot).Grade = text;
        SendChanges(s, {ChangeRecordHeader(VerbChanged), PlotExchangeLine(s, plot)});
        s.LedgerUnchanged = 0;
    }
    if (std::find(grades.begin(), grades.end(), text) == grades.end()) grades.push_back(text);
    return text;
}

std::string KeepTypedGrade(const std::string& typed, int itemIndex, std::vector<std::string>& grades) {
    const std::string text = WithoutRefusedRemarksChars(typed);
    if (itemIndex < 0) grades.push_back(text);
    return text;
}

}  // namespace tarvek
