#include "view/zoom.h"

#include <algorithm>
#include <cmath>

#include "document/drawing_state.h"
#include "document/selection.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

void PushNumbers(TDrawingState& s, const char* label, std::int64_t a, std::int64_t b) {
    THistoryData& d = PushHistory(s, label).Data;
    d.AddNumber(a);
    d.AddNumber(b);
}

void Remember(TDrawingState& s) {
    s.PreviousZoom = s.Zoom;
    s.PreviousZoomStep = s.ZoomStep;
}

void StepTo(TDrawingState& s, int step) {
    s.ZoomStep = std::clamp(step, 1, 9);
    s.Zoom = s.ZoomSteps[static_cast<std::size_t>(s.ZoomStep)];
}

// The selection's centre at the old zoom, in whole thousands of drawing units.
TDrawingState::TPixel SelectionCentre(TDrawingState& s) {
    ComputeSelectionBounds(s);
    const auto& b = s.DrawPointBuffer;  // right, left, bottom, top
    return {static_cast<std::int32_t>(RoundHalfEven((b[0] + b[1]) / 2 / 1000) * s.PreviousZoom),
            static_cast<std::int32_t>(RoundHalfEven((b[2] + b[3]) / 2 / 1000) * s.PreviousZoom)};
}

int FirstStepAtLeast(const TDrawingState& s, int zoom) {
    for (int i = 1; i <= 9; ++i)
        if (s.ZoomSteps[static_cast<std::size_t>(i)] >= zoom) return i;
    return 9;
}

}  // namespace

void ApplyZoom(TDrawingState& s) {
    TEditorView& v = *s.Form;
    if (!s.WheelZoomSeries) PushNumbers(s, ScrollStepLabel, v.HorzScrollPos(), v.VertScrollPos());
    const int baseW = v.ScrollBoxWidth() - 36, baseH = v.ScrollBoxHeight() - 36;
    v.SetPaintBoxSize(baseW * s.Zoom, baseH * s.Zoom);
    const double prev = s.PreviousZoom > 0 ? s.PreviousZoom : 1;
    v.SetScrollPos(RoundToInt32(s.MousePos.x / prev * s.Zoom - baseW / 2.0),
                   RoundToInt32(s.MousePos.y / prev * s.Zoom - baseH / 2.0));
    if (!s.WheelZoomSeries) {
        PushNumbers(s, ZoomStepLabel, s.PreviousZoom, s.PreviousZoomStep);
        s.RecordedScrollPos = {v.HorzScrollPos(), v.VertScrollPos()};
    }
    s.SnapGuidePxX = -1;
}

bool ZoomInStep(TDrawingState& s) {
    if (s.Zoom >= 50) return false;
    Remember(s);
    StepTo(s, s.ZoomStep + 1);
    ApplyZoom(s);
    return true;
}

bool ZoomOutStep(TDrawingState& s) {
    // At the first step there is nothing to zoom out to: no change, no step recorded.
    if (s.ZoomStep <= 1 && s.Zoom <= s.ZoomSteps[1]) return false;
    Remember(s);
    StepTo(s, s.ZoomStep - 1);
    ApplyZoom(s);
    return true;
}

bool ZoomByButton(TDrawingState& s, bool in) {
    if (in ? s.Zoom >= 50 : s.Zoom < 2) return false;
    Remember(s);
    TEditorView& v = *s.Form;
    if (s.SelectedCount <= 0)
        s.MousePos = {RoundToInt32(v.HorzScrollPos() + (v.ScrollBoxWidth() - 36) / 2.0),
                      RoundToInt32(v.VertScrollPos() + (v.ScrollBoxHeight() - 36) / 2.0)};
    else
        s.MousePos = SelectionCentre(s);
    StepTo(s, s.ZoomStep + (in ? 1 : -1));
    ApplyZoom(s);
    v.FocusSink();
    return true;
}

bool ZoomByWheel(TDrawingState& s, int delta) {
    if (delta == 0 || (delta > 0 ? s.Zoom > 49 : s.Zoom < 2)) return false;
    Remember(s);
    s.MousePos = s.SelectedCount <= 0 ? s.HoverPos : SelectionCentre(s);
    StepTo(s, s.ZoomStep + (delta > 0 ? 1 : -1));
    ApplyZoom(s);
    TEditorView& v = *s.Form;
    v.WarpPointerToMapCentre();
    s.SkipNextMouseMove = 1;
    // The rest of the series records nothing: one Ctrl+Z brings back the view before it.
    s.WheelZoomSeries = 1;
    s.RecordedScrollPos = {v.HorzScrollPos(), v.VertScrollPos()};
    if (s.Dragging) {
        s.MouseDownPos = {RoundToInt32(s.Zoom * s.Fig(0).X1 / 1000), RoundToInt32(s.Zoom * s.Fig(0).Y1 / 1000)};
        s.PreviewStale = 1;
    }
    return true;
}

bool ZoomToRectangle(TDrawingState& s) {
    Remember(s);
    int x1 = s.MouseDownPos.x, x2 = s.MousePos.x, y1 = s.MouseDownPos.y, y2 = s.MousePos.y;
    if (std::abs(x2 - x1) <= 10 || std::abs(y2 - y1) <= 10) {
        if (s.ZoomStep > 8) return false;
        // A click rather than a drag: one step in about the press point.
        s.MousePos = s.MouseDownPos;
        StepTo(s, s.ZoomStep + 1);
        ApplyZoom(s);
        s.SnapGuidePxX = -1;
        return true;
    }
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const int w = x2 - x1, h = y2 - y1;
    const double cx = RoundHalfEven(static_cast<double>(x1 + w / 2) / s.Zoom);
    const double cy = RoundHalfEven(static_cast<double>(y1 + h / 2) / s.Zoom);
    TEditorView& v = *s.Form;
    const int zoom = std::clamp(
        RoundToInt32(static_cast<double>(std::min(v.ScrollBoxWidth(), v.ScrollBoxHeight())) / std::max(w, h) * s.Zoom),
        1, 50);
    s.SnapGuidePxX = -1;
    if (zoom == s.Zoom) return false;
    s.Zoom = zoom;
    s.ZoomStep = FirstStepAtLeast(s, zoom);
    PushNumbers(s, ScrollStepLabel, s.RecordedScrollPos.x, s.RecordedScrollPos.y);
    PushNumbers(s, ZoomStepLabel, s.PreviousZoom, s.PreviousZoomStep);
    v.SetPaintBoxSize(RoundToInt32(static_cast<double>(s.ViewBaseWidth) * s.Zoom),
                      RoundToInt32(static_cast<double>(s.ViewBaseHeight) * s.Zoom));
    v.SetScrollPos(RoundToInt32(cx * s.Zoom - v.ScrollBoxWidth() / 2.0),
                   RoundToInt32(cy * s.Zoom - v.ScrollBoxHeight() / 2.0));
    s.RecordedScrollPos = {v.HorzScrollPos(), v.VertScrollPos()};
    return true;
}

void ResizeView(TDrawingState& s) {
    if (!s.SelectedList.empty() && s.SelectedList[0] == -999) return;
    if (s.Zoom != 1) return;
    TEditorView& v = *s.Form;
    const int w = v.ScrollBoxWidth() - v.ScrollBoxWidth() % 2 - 36;
    const int h = v.ScrollBoxHeight() - v.ScrollBoxHeight() % 2 - 36;
    v.SetPaintBoxSize(w, h);
    const double dx = static_cast<double>((w - s.ViewBaseWidth) / 2) * 1000;
    const double dy = static_cast<double>((h - s.ViewBaseHeight) / 2) * 1000;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        for (double* x : {&r.X1, &r.X2, &r.X3, &r.X4, &r.BoxX1, &r.BoxX2}) *x += dx;
        for (double* y : {&r.Y1, &r.Y2, &r.Y3, &r.Y4, &r.BoxY1, &r.BoxY2}) *y += dy;
        if (r.Kind != fkText) {
            r.Aux1 += dx, r.Aux3 += dx;
            r.Aux2 += dy, r.Aux4 += dy;
        }
    }
    ComputeSelectionBounds(s);
    s.ViewBaseWidth = w;
    s.ViewBaseHeight = h;
    if (s.SelectedCursor > 0 && s.SelectedCursor <= s.SelectedCount &&
        s.ValidIndex(s.SelectedList[static_cast<std::size_t>(s.SelectedCursor)])) {
        const TDateRec& hit = s.Fig(s.SelectedList[static_cast<std::size_t>(s.SelectedCursor)]);
        s.HitCenterX = (hit.BoxX1 + hit.BoxX2) / 2;
        s.HitCenterY = (hit.BoxY1 + hit.BoxY2) / 2;
        s.HitBox = {hit.BoxX1, hit.BoxX2, hit.BoxY1, hit.BoxY2};
    }
}

void ScrollMapBy(TDrawingState& s, int dx, int dy) {
    TEditorView& v = *s.Form;
    v.SetScrollPos(v.HorzScrollPos() + dx, v.VertScrollPos() + dy);
    v.RepaintMap();
    if (s.Dragging && s.Zoom > 1) s.PreviewStale = 1;
}

bool AutoScrollAtEdge(TDrawingState& s, const TPointerPlace& p) {
    TEditorView& v = *s.Form;
    switch (s.EdgeScrollDirection) {
        case 1: v.SetScrollPos(v.HorzScrollPos() + 1, v.VertScrollPos()); break;
        case 2: v.SetScrollPos(v.HorzScrollPos() - 1, v.VertScrollPos()); break;
        case 3: v.SetScrollPos(v.HorzScrollPos(), v.VertScrollPos() + 1); break;
        case 4: v.SetScrollPos(v.HorzScrollPos(), v.VertScrollPos() - 1); break;
        default: break;
    }
    if (p.Control == s.LastPointerControl || !s.Dragging) return false;
    const bool left = s.LastPointerOverMap;
    if (left) {
        // Just left the map: the drag goes on from where it started.
        s.MousePos = s.MouseDownPos;
        if (s.Zoom > 1) {
            s.RecordedScrollPos = {v.HorzScrollPos(), v.VertScrollPos()};
            // Later tests win, as the pointer may be past two edges at once.
            if (p.FormX < p.MapLeft) s.EdgeScrollDirection = 2;
            if (p.FormX > p.MapLeft + p.MapWidth - 16) s.EdgeScrollDirection = 1;
            if (p.FormY < p.MapTop) s.EdgeScrollDirection = 4;
            if (p.FormY > p.MapTop + p.MapHeight - 16) s.EdgeScrollDirection = 3;
        }
    }
    s.LastPointerControl = p.Control;
    s.LastPointerOverMap = p.OverMap;
    if (p.OverMap && s.Zoom > 1) {
        s.EdgeScrollDirection = 0;
        if (s.CurrentTool != 101 && (v.HorzScrollPos() != s.RecordedScrollPos.x || v.VertScrollPos() != s.RecordedScrollPos.y)) {
            PushNumbers(s, ScrollStepLabel, s.RecordedScrollPos.x, s.RecordedScrollPos.y);
            s.RecordedScrollPos = {v.HorzScrollPos(), v.VertScrollPos()};
        }
    }
    return left;
}

}  // namespace tarvek
