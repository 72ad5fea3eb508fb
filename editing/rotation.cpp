#include "editing/rotation.h"

#include <array>
#include <cmath>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "editing/figure_copies.h"
#include "editing/picking.h"
#include "households/ledger_exchange.h"
#include "households/plot_records.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "view/figure_render.h"

namespace tarvek {

namespace {

constexpr TColor Red = 0x0000FF, Blue = 0xFF0000;
constexpr int GuideTolerance = 5;

bool IsStraightKind(std::int32_t kind) {
    return kind == fkLine || kind == fkDimension || kind == fkPolySegment || kind == 8 || kind == fkLeader ||
           kind == fkPolygonEdge;
}

struct TTurn {
    double Cx, Cy, Cos, Sin;
    void Apply(double& x, double& y) const {
        const double dx = x - Cx, dy = y - Cy;
        x = Cx + Cos * dx - Sin * dy;
        y = Cy + Sin * dx + Cos * dy;
    }
};

TTurn TurnOf(const TDrawingState& s, double angle) {
    return {s.Tools.RotationCentre.x, s.Tools.RotationCentre.y, std::cos(angle), std::sin(angle)};
}

// Whether the turned figure (pixels) lies square to the axes.
bool Upright(std::int32_t kind, const std::array<TPoint, 4>& p) {
    if (IsStraightKind(kind) || kind == fkChainLine) return p[0].X == p[2].X || p[0].Y == p[2].Y;
    if (kind >= 3000 && kind <= 30000)
        return (p[0].Y == p[1].Y && p[1].X == p[2].X) || (p[1].Y == p[2].Y && p[0].X == p[1].X);
    return false;
}

void DrawTurnedFigure(TDrawingState& s, TCanvas& c, const TDateRec& r, const std::array<TPoint, 4>& p,
                      const std::array<TPoint, 2>& arc) {
    const std::int32_t kind = r.Kind;
    switch (kind) {
    case fkLine: case fkChainLine: case fkPolySegment: case 8: case fkLeader: case fkPolygonEdge:
        c.Line(p[0].X, p[0].Y, p[2].X, p[2].Y);
        if (kind == fkLeader) DrawArrowHead(c, s, p[0], p[2]);
        return;
    case fkDimension:
        DrawRotatedText(c, s, p[0], p[2], "", false);
        return;
    case fkCurve: case fkChainCurve: case fkRoundPiece: case fkRoundPolygonPiece:
        c.PolyBezier(p);
        return;
    case fkEllipse: {
        const TPoint centre = MidPoint(p[0], p[2]);
        const TEllipseArc a = EllipseArcOf(p, centre.X, centre.Y, arc[0].X, arc[0].Y, arc[1].X, arc[1].Y);
        DrawEllipticArc(c, a.Ellipse, a.StartDeg, a.EndDeg);
        if (a.Whole) {
            c.Line(arc[0].X, arc[0].Y, centre.X, centre.Y);
        } else {
            const std::array<TPoint, 3> ends{arc[0], centre, arc[1]};
            c.Polyline(ends);
        }
        return;
    }
    default:
        break;
    }
    if (kind == fkText || (kind >= 1000 && kind <= 20000)) {
        const std::array<TPoint, 5> ring{p[0], p[1], p[2], p[3], p[0]};
        c.Polyline(ring);
    }
}

}  // namespace

double WholeDegreesAngle(double radians) {
    return static_cast<double>(RoundHalfEven(radians * 180.0 / M_PI)) * M_PI / 180.0;
}

void DrawRotationPreview(TDrawingState& s, TCanvas& c, double angle) {
    c.Pen.Mode = TPenMode::pmNotXor;
    c.Pen.Style = TPenStyle::psSolid;
    c.Brush.Style = TBrushStyle::bsClear;
    const TTurn turn = TurnOf(s, angle);
    auto px = [&](double x, double y) {
        turn.Apply(x, y);
        return TPoint{ToPixel(s, x), ToPixel(s, y)};
    };
    for (const std::int32_t i : ListedFigures(s)) {
        const TDateRec& r = s.Fig(i);
        if (r.SetAside || IsOwnerKind(r.Kind)) continue;
        const std::array<TPoint, 4> p{px(r.X1, r.Y1), px(r.X2, r.Y2), px(r.X3, r.Y3), px(r.X4, r.Y4)};
        const std::array<TPoint, 2> arc{px(r.Aux1, r.Aux2), px(r.Aux3, r.Aux4)};
        c.Pen.Color = Upright(r.Kind, p) ? Blue : Red;
        DrawTurnedFigure(s, c, r, p, arc);
    }
    c.Pen.Mode = TPenMode::pmCopy;
    s.Tools.PreviewAngle = angle;
    ToolView(s).ShowCoordinates("回転中 = " + IntToStr(RoundHalfEven(-angle * 180.0 / M_PI)));
}

void CommitRotation(TDrawingState& s, unsigned shift) {
    TToolState& t = s.Tools;
    const bool copy = (shift & ToolCtrlKey) != 0;
    // Room for every copy before anything changes (a compaction renumbers the store).
    if (copy && !ReserveFigureCopies(s, CopyableSelection(s))) {
        s.Dragging = 0;
        return;
    }
    s.DrawingUnchanged = 0;
    ToolView(s).SetPaintCursor(TToolCursor::Rotate);
    s.Dragging = 0;
    t.RotationAngle = WholeDegreesAngle(t.RotationAngle);

    if (copy) PushSelectionStep(s);
    Trireki& step = PushHistory(s, copy ? RotateCopyStepLabel : RotateStepLabel);
    BeginChangeRecordList(s, VerbAdded);
    const std::vector<std::int32_t> sources = copy ? CopyableSelection(s) : ListedFigures(s);
    const std::int32_t first = s.FigureCount + 1;
    if (copy)
        for (const std::int32_t i : ListedFigures(s)) s.Fig(i).Selected = 0;

    const TTurn turn = TurnOf(s, t.RotationAngle);
    THistoryData data;
    for (const std::int32_t src : sources) {
        const std::int32_t b = copy ? AppendFigureCopy(s, src) : src;
        TDateRec& r = s.Fig(b);
        if (!copy) {
            AppendGeometryToHistory(data, b, r);
            // The turn names each figure its own source below; an undo gives the old one back.
            data.AddNumber(r.SourceIndex);
        }
        turn.Apply(r.X1, r.Y1);
        turn.Apply(r.X2, r.Y2);
        turn.Apply(r.X3, r.Y3);
        turn.Apply(r.X4, r.Y4);
        // Straight figures keep their repeated end points exactly.
        if (IsStraightKind(r.Kind)) {
            r.X2 = r.X1, r.Y2 = r.Y1;
            r.X4 = r.X3, r.Y4 = r.Y3;
        }
        if (r.Kind == fkEllipse) {
            turn.Apply(r.Aux1, r.Aux2);
            turn.Apply(r.Aux3, r.Aux4);
        }
        r.SourceIndex = src;
        UpdateFigureBounds(s, b);
        if (copy && IsPlotRecord(r) && GetCompoundOwner(s, src) < 1) AddPlotToChangeRecordList(s, b);
    }
    if (copy) FinishFigureCopies(s, first);
    RebuildSelectionList(s, false);
    ComputeGroupBounds(s);
    if (copy) step.Data.AddNumber(s.FigureCount - first + 1);
    else step.Data = std::move(data);
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
    SendChanges(s, s.Ledger.tuika);
}

void FindSnapGuides(TDrawingState& s, int x, int y) {
    TToolState& t = s.Tools;
    s.SnapGuidePxX = t.SnapGuidePxY = -1;
    t.SnapGuidePos = {-1.0, -1.0};
    for (const TToolState::TPointD& m : t.PointMarkers) {
        // An unset marker's -1 lies next to 0 at small zooms: it must never be a guide.
        if (m.x == -1.0) continue;
        const std::int32_t mx = ToPixel(s, m.x), my = ToPixel(s, m.y);
        if (x - GuideTolerance < mx && mx < x + GuideTolerance) {
            s.SnapGuidePxX = mx;
            t.SnapGuidePos.x = m.x;
        }
        if (y - GuideTolerance < my && my < y + GuideTolerance) {
            t.SnapGuidePxY = my;
            t.SnapGuidePos.y = m.y;
        }
    }
}

}  // namespace tarvek
