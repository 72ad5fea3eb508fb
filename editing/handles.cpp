#include "editing/handles.h"

#include <array>
#include <cmath>

#include "document/drawing_state.h"
#include "editing/drawing_tools.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "view/figure_render.h"
#include "view/painter.h"

namespace tarvek {

namespace {

constexpr std::int32_t HandleDragTool = 103, RotateTool = 1000;
constexpr TColor Red = 0x0000FF;

// SelectionKindFlags: every selected figure is a dimension, an ellipse, a line or leader,
// a curve.
enum { KindDimension, KindEllipse, KindLine, KindCurve };

struct TFrame {
    double Right, Left, Bottom, Top;
};

TFrame Frame(const TDrawingState& s) {
    const auto& b = s.DrawPointBuffer;
    return {b[0], b[1], b[2], b[3]};
}

bool OnFrameCorner(const TFrame& f, double x, double y) {
    return (x == f.Left || x == f.Right) && (y == f.Top || y == f.Bottom);
}

bool IsLineKind(std::int32_t kind) { return kind == fkLine || kind == fkLeader; }

void StartBlink(TDrawingState& s) {
    TToolState& t = s.Tools;
    if (t.BlinkRunning) return;
    t.BlinkRunning = 1;
    ToolView(s).SetBlinkTimer(true, t.BlinkInterval);
}

// The own point of figure r that handle state h (6 to 9) names.
struct TOwnPoint {
    double X = 0, Y = 0;
};
TOwnPoint OwnPoint(const TDateRec& r, std::int32_t h) {
    if (r.Kind == fkEllipse) return h == 6 ? TOwnPoint{r.Aux3, r.Aux4} : TOwnPoint{r.Aux1, r.Aux2};
    switch (h) {
    case 6: return {r.X1, r.Y1};
    case 7: return {r.X2, r.Y2};
    case 8: return {r.X3, r.Y3};
    default: return {r.X4, r.Y4};
    }
}

TPoint Px(const TDrawingState& s, double x, double y) { return {ToPixel(s, x), ToPixel(s, y)}; }

void ShowWholeMap(TDrawingState& s, const TCanvas& c) {
    const TRect r = c.ClipRect();
    ToolView(s).PreviewChanged(r.Left, r.Top, r.Right, r.Bottom);
}

}  // namespace

void FindHandleUnderCursor(TDrawingState& s, int x, int y) {
    TToolState& t = s.Tools;
    s.SnapGuidePxX = t.SnapGuidePxY = -1;
    t.HandleFigure = -1;
    t.SnapGuidePos = {};
    const bool selected = s.SelectedCount > 0;
    if (!s.EditTabActive || (!selected && s.CurrentTool == 0)) {
        // No handle is left over from an earlier pointer position: a press would drag it.
        t.HandleHit = -1;
        t.SnapHit = 0;
        return;
    }
    const double m = s.MarkerHalfSize;
    auto under = [&](double ux, double uy) {
        const double px = s.Zoom * ux / 1000.0, py = s.Zoom * uy / 1000.0;
        return x - m < px && px < x + m && y - m < py && py < y + m;
    };
    auto take = [&](double ux, double uy) {
        s.SnapGuidePxX = ToPixel(s, ux);
        t.SnapGuidePxY = ToPixel(s, uy);
        t.SnapGuidePos = {ux, uy};
    };
    const auto& k = s.SelectionKindFlags;
    const bool straight = k[KindLine] || k[KindDimension];
    // A drawing tool snaps to every figure; the select tool only with a selection.
    if (s.CurrentTool >= 0) {
        for (std::int32_t i = s.FigureCount; i >= 1; --i) {
            const TDateRec& r = s.Fig(i);
            if (r.Deleted) continue;
            std::array<std::pair<double, double>, 6> points{};
            std::size_t n = 0;
            points[n++] = {r.X1, r.Y1};
            if (!straight) points[n++] = {r.X2, r.Y2};
            points[n++] = {r.X3, r.Y3};
            if (!straight) points[n++] = {r.X4, r.Y4};
            if (r.Kind == fkEllipse) {
                points[n++] = {r.Aux3, r.Aux4};
                points[n++] = {r.Aux1, r.Aux2};
            }
            bool found = false;
            for (std::size_t j = 0; j < n && !found; ++j) {
                if (!under(points[j].first, points[j].second)) continue;
                take(points[j].first, points[j].second);
                t.HandleFigure = i;
                found = true;
            }
            if (found) break;
        }
    }
    // Without a selection there is no frame, whatever DrawPointBuffer still holds.
    if (selected) {
        const TFrame f = Frame(s);
        for (const auto& [cx, cy] : {std::pair{f.Left, f.Top}, std::pair{f.Right, f.Top},
                                     std::pair{f.Right, f.Bottom}, std::pair{f.Left, f.Bottom}})
            if (under(cx, cy)) take(cx, cy);
    }
    const bool hit = s.SnapGuidePxX != -1 && t.SnapGuidePxY != -1;
    if (s.CurrentTool != HandleDragTool && s.CurrentTool != RotateTool) {
        t.HandleHit = -1;
        if (selected) {
            if (hit) HitTestHandleCorners(s);
            if (t.HandleHit == -1) HitTestInsideFrame(s, x, y);
        }
    }
    t.SnapHit = hit ? 1 : 0;
}

void HitTestHandleCorners(TDrawingState& s) {
    TToolState& t = s.Tools;
    const int gx = s.SnapGuidePxX, gy = t.SnapGuidePxY;
    auto at = [&](double ux, double uy) { return ToPixel(s, ux) == gx && ToPixel(s, uy) == gy; };
    const TFrame f = Frame(s);
    if (at(f.Left, f.Top)) t.HandleHit = 1;
    if (at(f.Right, f.Top)) t.HandleHit = 2;
    if (at(f.Right, f.Bottom)) t.HandleHit = 3;
    if (at(f.Left, f.Bottom)) t.HandleHit = 4;
    if (!s.ValidIndex(t.HandleFigure)) return;
    const TDateRec& r = s.Fig(t.HandleFigure);
    if (!r.Selected) return;
    const auto& k = s.SelectionKindFlags;
    auto own = [&](double ux, double uy, std::int32_t handle) {
        if (at(ux, uy)) t.HandleHit = handle;
    };
    // An own point on a frame corner is a handle only in every other blink: the frame
    // blinks so that the user sees which one a press takes.
    auto blinkWhenOnCorner = [&] {
        if (t.HandleHit < 6 || t.HandleHit > 9) return;
        const TOwnPoint p = OwnPoint(r, t.HandleHit);
        if (OnFrameCorner(f, p.X, p.Y)) StartBlink(s);
    };
    if (k[KindEllipse] && r.Kind == fkEllipse) {
        if (t.BlinkPhase) {
            own(r.Aux3, r.Aux4, 6);
            own(r.Aux1, r.Aux2, 8);
        }
        blinkWhenOnCorner();
    }
    if (k[KindLine] && IsLineKind(r.Kind)) {
        own(r.X1, r.Y1, 6);
        own(r.X3, r.Y3, 8);
    }
    if (k[KindDimension] && r.Kind == fkDimension) {
        own(r.X1, r.Y1, 6);
        own(r.X3, r.Y3, 8);
    }
    if (k[KindCurve] && r.Kind == fkCurve) {
        if (t.BlinkPhase) {
            own(r.X1, r.Y1, 6);
            own(r.X2, r.Y2, 7);
            own(r.X3, r.Y3, 8);
            own(r.X4, r.Y4, 9);
        }
        blinkWhenOnCorner();
    }
}

void HitTestInsideFrame(TDrawingState& s, int x, int y) {
    const TFrame f = Frame(s);
    const double z = s.Zoom / 1000.0;
    if (f.Left * z < x && x < f.Right * z && f.Top * z < y && y < f.Bottom * z) s.Tools.HandleHit = 5;
}

void BlinkTimerTick(TDrawingState& s) {
    TToolState& t = s.Tools;
    t.BlinkPhase = t.BlinkPhase ? 0 : 1;
    if (t.BlinkInterval < 500) {
        t.BlinkInterval *= 2;
        ToolView(s).SetBlinkTimer(t.BlinkRunning != 0, t.BlinkInterval);
    }
    TCanvas* c = ToolView(s).PreviewCanvas();
    if (!c) return;
    c->Pen.Mode = TPenMode::pmCopy;
    c->Pen.Style = TPenStyle::psSolid;
    c->Pen.Width = 1;
    c->Brush.Style = TBrushStyle::bsClear;
    const TColor one = t.BlinkPhase ? SelectedColor : Red, other = t.BlinkPhase ? Red : SelectedColor;
    const TFrame f = Frame(s);
    const TPoint tl = Px(s, f.Left, f.Top), br = Px(s, f.Right, f.Bottom);
    const std::array<TPoint, 5> ring{{tl, {br.X, tl.Y}, br, {tl.X, br.Y}, tl}};
    c->Pen.Color = one;
    c->Polyline(ring);
    if (s.ValidIndex(t.HandleFigure)) {
        const TDateRec& r = s.Fig(t.HandleFigure);
        const std::array<TPoint, 4> p{Px(s, r.X1, r.Y1), Px(s, r.X2, r.Y2), Px(s, r.X3, r.Y3), Px(s, r.X4, r.Y4)};
        c->Pen.Color = other;
        if (r.Kind == fkCurve) {
            c->Line(p[0].X, p[0].Y, p[1].X, p[1].Y);
            c->Line(p[2].X, p[2].Y, p[3].X, p[3].Y);
            c->PolyBezier(p);
        } else if (r.Kind == fkEllipse) {
            const TEllipseArc arc = EllipseArcOf(p, (r.X1 + r.X3) / 2, (r.Y1 + r.Y3) / 2, r.Aux1, r.Aux2, r.Aux3, r.Aux4);
            DrawEllipticArc(*c, arc.Ellipse, arc.StartDeg, arc.EndDeg);
            const std::array<TPoint, 3> ends{Px(s, r.Aux1, r.Aux2), MidPoint(p[0], p[2]), Px(s, r.Aux3, r.Aux4)};
            c->Polyline(ends);
        }
    }
    ShowWholeMap(s, *c);
}

void StopBlink(TDrawingState& s) {
    TToolState& t = s.Tools;
    if (!t.BlinkRunning) return;
    t.BlinkRunning = 0;
    t.BlinkPhase = 1;
    t.BlinkInterval = BlinkStartInterval;
    ToolView(s).SetBlinkTimer(false, t.BlinkInterval);
}

void DrawPointMarkers(TDrawingState& s, TCanvas& c) {
    TToolState& t = s.Tools;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Pen.Mode = TPenMode::pmNotXor;
    c.Pen.Width = 1;
    const int w = s.Form->PaintBoxWidth(), h = s.Form->PaintBoxHeight();
    const std::int32_t tool = s.CurrentTool;
    auto pen = [&](TColor colour) {
        c.Pen.Color = colour;
        c.Pen.Style = colour == MarkerHighlight ? TPenStyle::psSolid : TPenStyle::psDot;
    };
    // A line already drawn through the same x (or y) is not drawn again: in not-xor the
    // second would take the first off.
    std::array<bool, 3> drawn{};
    for (std::size_t k = 0; k < 3; ++k) {
        const TToolState::TPointD& m = t.PointMarkers[k];
        if (m.x == -1.0) continue;
        if (k == 0 && (tool == 0 || (tool >= 100 && tool <= 103))) continue;
        bool sameX = false, sameY = false;
        for (std::size_t j = 0; j < k; ++j) {
            if (!drawn[j]) continue;
            sameX = sameX || t.PointMarkers[j].x == m.x;
            sameY = sameY || t.PointMarkers[j].y == m.y;
        }
        drawn[k] = true;
        if (!sameX) {
            pen(t.MarkerColours[k].Vertical);
            const int x = ToPixel(s, m.x);
            c.Line(x, 0, x, h);
        }
        if (!sameY) {
            pen(t.MarkerColours[k].Horizontal);
            const int y = ToPixel(s, m.y);
            c.Line(0, y, w, y);
        }
    }
    c.Pen.Mode = TPenMode::pmCopy;
    c.Pen.Style = TPenStyle::psSolid;
    ShowWholeMap(s, c);
}

void HitTestPointMarkers(TDrawingState& s) {
    TToolState& t = s.Tools;
    const double tol = static_cast<double>(RoundHalfEven(s.MarkerHalfSize * 1000.0 / s.Zoom));
    const double px = static_cast<double>(RoundHalfEven(s.HoverPos.x * 1000.0 / s.Zoom));
    const double py = static_cast<double>(RoundHalfEven(s.HoverPos.y * 1000.0 / s.Zoom));
    auto nearX = [&](const TToolState::TPointD& m) { return m.x != -1.0 && px - tol < m.x && m.x < px + tol; };
    auto nearY = [&](const TToolState::TPointD& m) { return m.x != -1.0 && py - tol < m.y && m.y < py + tol; };
    bool anyX = false, anyY = false;
    for (const auto& m : t.PointMarkers) {
        anyX = anyX || nearX(m);
        anyY = anyY || nearY(m);
    }
    const bool crossing = anyX && anyY, near = anyX || anyY;
    TCanvas* c = ToolView(s).PreviewCanvas();
    auto toggle = [&] {
        if (c) DrawPointMarkers(s, *c);
    };
    if (t.MarkersShown && (crossing || !t.PointerOffMarkers)) {
        toggle();
        t.MarkersShown = 0;
    }
    t.PointerOffMarkers = crossing ? 0 : 1;
    if (near && !t.MarkersShown) {
        for (std::size_t k = 0; k < 3; ++k) {
            t.MarkerColours[k].Vertical = nearX(t.PointMarkers[k]) ? MarkerHighlight : MarkerGrey;
            t.MarkerColours[k].Horizontal = nearY(t.PointMarkers[k]) ? MarkerHighlight : MarkerGrey;
        }
        toggle();
        t.MarkersShown = c ? 1 : 0;
    } else if (!near && t.MarkersShown) {
        toggle();
        t.MarkersShown = 0;
    }
}

}  // namespace tarvek
