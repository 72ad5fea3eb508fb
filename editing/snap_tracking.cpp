// The idle pass's snap tracking: a red circle marks the figure point under the pointer
// while nothing else is asked of it, and the last two snap points found become the
// reference markers 1 and 2.
#include "document/drawing_state.h"
#include "editing/drawing_tools.h"
#include "platform/canvas.h"

namespace tarvek {

namespace {

constexpr int DrawingPage = 3;
constexpr TColor CircleRed = 0x0000FF;

// Not-xor, so that the same call again takes it off bit for bit.
void ToggleSnapCircle(TDrawingState& s, TToolState::TPixel centre) {
    TToolView& view = ToolView(s);
    TCanvas* c = view.PreviewCanvas();
    if (!c) return;
    const int h = s.MarkerHalfSize;
    c->Brush.Style = TBrushStyle::bsClear;
    c->Pen.Mode = TPenMode::pmNotXor;
    c->Pen.Style = TPenStyle::psSolid;
    c->Pen.Width = 1;
    c->Pen.Color = CircleRed;
    c->Ellipse(centre.x - h, centre.y - h, centre.x + h, centre.y + h);
    c->Pen.Mode = TPenMode::pmCopy;
    view.PreviewChanged(centre.x - h - 1, centre.y - h - 1, centre.x + h + 2, centre.y + h + 2);
}

}  // namespace

void TrackSnapPoint(TDrawingState& s) {
    TToolState& t = s.Tools;
    if (t.Ops.FindHandleUnderCursor) {
        t.Ops.FindHandleUnderCursor(s.HoverPos.x, s.HoverPos.y);
    } else {
        t.SnapHit = 0;
        t.HandleFigure = -1;
        s.SnapGuidePxX = t.SnapGuidePxY = -1;
        t.SnapGuidePos = {};
    }
    if (s.Form->ActivePageIndex() != DrawingPage) return;

    if (t.SnapHit == 0 && t.SnapCircleShown) {
        // Drawn at another zoom: the repaint on its way takes it off.
        if (t.SnapCircleZoom == s.Zoom) ToggleSnapCircle(s, t.SnapCirclePos);
        t.SnapCircleShown = 0;
    }
    if (t.SnapHit == 1 && !t.SnapCircleShown) {
        t.SnapCirclePos = {s.SnapGuidePxX, t.SnapGuidePxY};
        t.SnapCircleZoom = s.Zoom;
        ToggleSnapCircle(s, t.SnapCirclePos);
        t.SnapCircleShown = 1;
    }
    if (t.SnapHit == 1 && !(t.SnapGuidePos == t.PointMarkers[1]) && !(t.SnapGuidePos == t.PointMarkers[2])) {
        const TToolState::TPointD newest = t.SnapGuidePos, previous = t.PointMarkers[1];
        ResetPointMarkers(s, false);
        t.PointMarkers[1] = newest;
        t.PointMarkers[2] = previous;
        if (t.Ops.HitTestPointMarkers) t.Ops.HitTestPointMarkers();
    }
}

}  // namespace tarvek
