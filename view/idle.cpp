#include "view/idle.h"

#include "document/drawing_state.h"
#include "document/history.h"
#include "households/assignment.h"
#include "view/zoom.h"

namespace tarvek {

namespace {

void PushPair(TDrawingState& s, const char* label, std::int64_t a, std::int64_t b) {
    THistoryData& d = PushHistory(s, label).Data;
    d.AddNumber(a);
    d.AddNumber(b);
}

bool Hovered(const TDrawingState& s, const TDateRec& r) {
    if (r.Deleted || r.SetAside || !(r.Kind == fkOldPlot || r.IsPlot)) return false;
    const double k = s.Zoom / 1000.0;
    const bool old = r.Kind == fkOldPlot;
    const double left = (old ? r.X1 : r.BoxX1) * k, top = (old ? r.Y1 : r.BoxY1) * k;
    const double right = (old ? r.X2 : r.BoxX2) * k, bottom = (old ? r.Y2 : r.BoxY2) * k;
    const double x = s.HoverPos.x, y = s.HoverPos.y;
    return left < x && x < right && top < y && y < bottom;
}

}  // namespace

void RecordViewSteps(TDrawingState& s, TIdleView& view) {
    // An undo takes steps back meanwhile; it records the view it leaves itself.
    if (s.Tools.UndoRunning) return;
    const bool steps = view.RecordsViewSteps();
    const int width = view.FormWidth(), height = view.FormHeight();
    if (view.FrameChanged()) {
        s.RecordedFormSize = {width, height};
    } else if (width != s.RecordedFormSize.cx || height != s.RecordedFormSize.cy) {
        if (steps) PushPair(s, FormSizeStepLabel, s.RecordedFormSize.cx, s.RecordedFormSize.cy);
        s.RecordedFormSize = {width, height};
    }
    const int x = s.Form->HorzScrollPos(), y = s.Form->VertScrollPos();
    if ((x != s.RecordedScrollPos.x || y != s.RecordedScrollPos.y) && !s.Tools.PanMode && !s.Dragging &&
        s.HistoryRecording == 1) {
        if (steps) PushPair(s, ScrollStepLabel, s.RecordedScrollPos.x, s.RecordedScrollPos.y);
        s.RecordedScrollPos = {x, y};
    }
}

void ShowPlotUnderCursor(TDrawingState& s, TIdleView& view) {
    if (s.EditTabActive == 1 || s.Dragging) return;
    const bool keep = s.HasSelection || s.Search.EditingField;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        if (!Hovered(s, s.Fig(i))) continue;
        if (s.HoverBusy == 1) return;
        if (!keep) ShowHouseholdFields(s, view.HoverFields(), i);
        view.StartHoverTimer();
        s.HoverBusy = 1;
        return;
    }
    if (!keep) ShowHouseholdFields(s, view.HoverFields(), -1);
}

}  // namespace tarvek
