#include "editing/move_transform.h"

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
#include "households/plot_search_state.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "view/figure_render.h"

namespace tarvek {

namespace {

enum { KindDimension, KindEllipse, KindLine, KindCurve };

constexpr TColor White = 0xFFFFFF, Red = 0x0000FF;

// Kinds whose four points are free: lines, curves and their pieces. Every other shape
// (rectangles, plots, texts, ellipses, groups, compound parents) keeps its right angles.
bool FreePoints(std::int32_t kind) {
    return kind == 1 || kind == 2 || (kind >= 4 && kind <= 10) || kind == 77 || kind == 99;
}

double FrameSide(double a, double b) { return a == b ? 1.0 : a - b; }

TFigureShape ShapeOf(const TDateRec& r) {
    return {{r.X1, r.X2, r.X3, r.X4}, {r.Y1, r.Y2, r.Y3, r.Y4}, {r.Aux1, r.Aux2, r.Aux3, r.Aux4}};
}

void StoreShape(TDateRec& r, const TFigureShape& p) {
    r.X1 = p.X[0], r.X2 = p.X[1], r.X3 = p.X[2], r.X4 = p.X[3];
    r.Y1 = p.Y[0], r.Y2 = p.Y[1], r.Y3 = p.Y[2], r.Y4 = p.Y[3];
    r.Aux1 = p.Aux[0], r.Aux2 = p.Aux[1], r.Aux3 = p.Aux[2], r.Aux4 = p.Aux[3];
}

// Per frame corner: the three points scaled (the fourth too for free kinds), then the
// rectangle completed from points P1, P2, P3 with its results in slots A and B.
struct TCornerRule {
    std::array<int, 3> Scaled;
    int Fourth;
    int P1, P2, P3;
    int A, B;
};
// The corner on the side's line goes to the point that side ends in, so that the
// rectangle keeps its order of corners.
constexpr std::array<TCornerRule, 4> CornerRules{{
    {{0, 2, 3}, 1, 2, 3, 0, 3, 1},
    {{0, 1, 3}, 2, 3, 0, 1, 0, 2},
    {{0, 1, 2}, 3, 0, 1, 2, 1, 3},
    {{1, 2, 3}, 0, 1, 2, 3, 2, 0},
}};

std::int32_t Entry(const TDrawingState& s, std::int32_t k) { return s.SelectedList[static_cast<std::size_t>(k)]; }

std::vector<std::int32_t> Listed(const TDrawingState& s) {
    std::vector<std::int32_t> list;
    for (std::int32_t k = 1; k <= s.SelectedCount && k < static_cast<std::int32_t>(s.SelectedList.size()); ++k)
        if (s.ValidIndex(Entry(s, k))) list.push_back(Entry(s, k));
    return list;
}

void DrawShapePreview(TDrawingState& s, TCanvas& c, const TDateRec& r, const TFigureShape& p, std::int32_t handle) {
    auto pt = [&](int i) { return TPoint{static_cast<int>(p.X[static_cast<std::size_t>(i)]), static_cast<int>(p.Y[static_cast<std::size_t>(i)])}; };
    const std::int32_t kind = r.Kind;
    if (kind == fkText || (kind >= 2200 && kind <= 11000)) {
        const std::array<TPoint, 5> ring{pt(0), pt(1), pt(2), pt(3), pt(0)};
        c.Polyline(ring);
        return;
    }
    switch (kind) {
    case 1: case 5: case 7: case 8: case 10: case 77:
        c.Line(pt(0).X, pt(0).Y, pt(2).X, pt(2).Y);
        if (kind == fkLeader) DrawArrowHead(c, s, pt(0), pt(2));
        return;
    case fkDimension:
        DrawRotatedText(c, s, pt(0), pt(2), "", false);
        return;
    case 2: case 6: case 9: case 99: {
        const std::array<TPoint, 4> q{pt(0), pt(1), pt(2), pt(3)};
        c.PolyBezier(q);
        return;
    }
    case fkEllipse: {
        std::array<TPoint, 4> q{pt(0), pt(1), pt(2), pt(3)};
        NormalizeScreenCorners(q[0].X, q[0].Y, q[1].X, q[1].Y, q[2].X, q[2].Y, q[3].X, q[3].Y);
        const TEllipseArc arc = EllipseArcOf(q, (p.X[0] + p.X[2]) / 2, (p.Y[0] + p.Y[2]) / 2, p.Aux[0], p.Aux[1],
                                             p.Aux[2], p.Aux[3]);
        const bool arcDrag = s.SelectionKindFlags[KindEllipse] && (handle == 6 || handle == 8);
        if (!arcDrag) {
            DrawEllipticArc(c, arc.Ellipse, arc.StartDeg, arc.EndDeg);
            return;
        }
        // The whole ellipse goes white so that only the arc being dragged shows.
        const TPen pen = c.Pen;
        c.Pen.Mode = TPenMode::pmCopy;
        c.Pen.Color = White;
        DrawEllipticArc(c, arc.Ellipse, 0, 360);
        c.Pen = pen;
        c.Pen.Mode = TPenMode::pmNotXor;
        c.Pen.Color = Red;
        DrawEllipticArc(c, arc.Ellipse, arc.StartDeg, arc.EndDeg);
        const std::array<TPoint, 3> ends{
            TPoint{static_cast<int>(p.Aux[0]), static_cast<int>(p.Aux[1])}, MidPoint(q[0], q[2]),
            TPoint{static_cast<int>(p.Aux[2]), static_cast<int>(p.Aux[3])}};
        c.Polyline(ends);
        return;
    }
    default:
        return;  // groups and compound parents show through their members
    }
}

}  // namespace

std::int32_t LineHandle(const std::array<std::uint8_t, 4>& kinds, std::int32_t handle) {
    if (!kinds[KindLine] && !kinds[KindDimension]) return handle;
    if (handle == 1 || handle == 2) return 6;
    if (handle == 3 || handle == 4) return 8;
    return handle;
}

double FrameWidth(const std::array<double, 4>& frame) { return FrameSide(frame[0], frame[1]); }
double FrameHeight(const std::array<double, 4>& frame) { return FrameSide(frame[2], frame[3]); }

TDragTransform MakeDragTransform(std::int32_t handle, const std::array<std::uint8_t, 4>& kinds,
                                 const std::array<double, 4>& frame, double w, double h, double startX,
                                 double startY, double endX, double endY, bool pixels) {
    TDragTransform d;
    d.Handle = handle;
    d.Kinds = kinds;
    d.Pixels = pixels;
    d.Dx = endX - startX;
    d.Dy = endY - startY;
    const double right = frame[0], left = frame[1], bottom = frame[2], top = frame[3];
    switch (handle) {
    case 1: case 6:
        d.Ax = right, d.Ay = bottom;
        d.Sx = 1 + (startX - endX) / w, d.Sy = 1 + (startY - endY) / h;
        break;
    case 2: case 7:
        d.Ax = left, d.Ay = bottom;
        d.Sx = 1 + (endX - startX) / w, d.Sy = 1 + (startY - endY) / h;
        break;
    case 3: case 8:
        d.Ax = left, d.Ay = top;
        d.Sx = 1 + (endX - startX) / w, d.Sy = 1 + (endY - startY) / h;
        break;
    case 4: case 9:
        d.Ax = right, d.Ay = top;
        d.Sx = 1 + (startX - endX) / w, d.Sy = 1 + (endY - startY) / h;
        break;
    default:
        break;
    }
    return d;
}

std::array<double, 4> RotatePointAboutCentre(double p1x, double p1y, double p2x, double p2y, double p3x, double p3y) {
    const double theta = std::atan2(p1y - p2y, p1x - p2x);
    const double c = std::cos(theta), sn = std::sin(theta);
    // p3 in the frame whose x axis runs along the side.
    const double u = p1x + std::cos(-theta) * (p3x - p1x) - std::sin(-theta) * (p3y - p1y);
    const double v = p1y + std::sin(-theta) * (p3x - p1x) + std::cos(-theta) * (p3y - p1y);
    return {p1x + (u - p1x) * c, p1y + (u - p1x) * sn, p1x - sn * (v - p1y), p1y + c * (v - p1y)};
}

std::array<std::int32_t, 4> RotatePointAboutCentreRounded(std::int32_t p1x, std::int32_t p1y, std::int32_t p2x,
                                                          std::int32_t p2y, std::int32_t p3x, std::int32_t p3y) {
    const std::array<double, 4> r = RotatePointAboutCentre(p1x, p1y, p2x, p2y, p3x, p3y);
    return {RoundToInt32(r[0]), RoundToInt32(r[1]), RoundToInt32(r[2]), RoundToInt32(r[3])};
}

void ApplyDragTransform(const TDragTransform& d, std::int32_t kind, TFigureShape& p) {
    auto whole = [&](double v) { return d.Pixels ? static_cast<double>(RoundHalfEven(v)) : v; };
    const std::int32_t h = d.Handle;
    auto shift = [&](double& x, double& y) {
        x = whole(x + d.Dx);
        y = whole(y + d.Dy);
    };
    if (h >= 6 && h <= 9) {
        if (d.Kinds[KindEllipse]) {
            if (h == 6) shift(p.Aux[2], p.Aux[3]);
            if (h == 8) shift(p.Aux[0], p.Aux[1]);
        }
        if (d.Kinds[KindLine] || d.Kinds[KindDimension]) {
            if (h == 6) {
                shift(p.X[0], p.Y[0]);
                p.X[1] = p.X[0], p.Y[1] = p.Y[0];
            }
            if (h == 8) {
                shift(p.X[2], p.Y[2]);
                p.X[3] = p.X[2], p.Y[3] = p.Y[2];
            }
        }
        if (d.Kinds[KindCurve]) shift(p.X[static_cast<std::size_t>(h - 6)], p.Y[static_cast<std::size_t>(h - 6)]);
        return;
    }
    if (h >= 1 && h <= 4) {
        auto scale = [&](double& x, double& y) {
            x = whole(d.Ax + (x - d.Ax) * d.Sx);
            y = whole(d.Ay + (y - d.Ay) * d.Sy);
        };
        const TCornerRule& rule = CornerRules[static_cast<std::size_t>(h - 1)];
        // The side's direction before scaling: scaling x and y apart would turn it.
        const double sideX = p.X[static_cast<std::size_t>(rule.P1)] - p.X[static_cast<std::size_t>(rule.P2)];
        const double sideY = p.Y[static_cast<std::size_t>(rule.P1)] - p.Y[static_cast<std::size_t>(rule.P2)];
        for (const int i : rule.Scaled) scale(p.X[static_cast<std::size_t>(i)], p.Y[static_cast<std::size_t>(i)]);
        if (FreePoints(kind)) {
            scale(p.X[static_cast<std::size_t>(rule.Fourth)], p.Y[static_cast<std::size_t>(rule.Fourth)]);
            return;
        }
        const auto at = [&](int i) { return std::pair{p.X[static_cast<std::size_t>(i)], p.Y[static_cast<std::size_t>(i)]}; };
        const auto [x1, y1] = at(rule.P1);
        const double x2 = x1 - sideX, y2 = y1 - sideY;
        const auto [x3, y3] = at(rule.P3);
        std::array<double, 4> c{};
        if (d.Pixels) {
            const auto r = RotatePointAboutCentreRounded(RoundToInt32(x1), RoundToInt32(y1), RoundToInt32(x2),
                                                         RoundToInt32(y2), RoundToInt32(x3), RoundToInt32(y3));
            c = {double(r[0]), double(r[1]), double(r[2]), double(r[3])};
        } else {
            c = RotatePointAboutCentre(x1, y1, x2, y2, x3, y3);
        }
        p.X[static_cast<std::size_t>(rule.A)] = c[0], p.Y[static_cast<std::size_t>(rule.A)] = c[1];
        p.X[static_cast<std::size_t>(rule.B)] = c[2], p.Y[static_cast<std::size_t>(rule.B)] = c[3];
        if (kind == fkEllipse) {
            scale(p.Aux[0], p.Aux[1]);
            scale(p.Aux[2], p.Aux[3]);
        }
        return;
    }
    if (h == 5) {
        for (std::size_t i = 0; i < 4; ++i) shift(p.X[i], p.Y[i]);
        if (kind == fkEllipse) {
            shift(p.Aux[0], p.Aux[1]);
            shift(p.Aux[2], p.Aux[3]);
        }
    }
}

void DrawDragPreview(TDrawingState& s, TCanvas& c, int fromX, int fromY, int toX, int toY, std::int32_t handle) {
    const auto& b = s.DrawPointBuffer;
    const double f = s.Zoom / 1000.0;
    const std::int32_t h = LineHandle(s.SelectionKindFlags, handle);
    s.Tools.HandleHit = h;
    // The fixed corner on its pixel; the sides at their true length, so that the preview
    // scales as the commit will.
    const std::array<double, 4> frame{double(ToPixel(s, b[0])), double(ToPixel(s, b[1])), double(ToPixel(s, b[2])),
                                      double(ToPixel(s, b[3]))};
    const TDragTransform d = MakeDragTransform(h, s.SelectionKindFlags, frame, FrameWidth(b) * f,
                                               FrameHeight(b) * f, fromX, fromY, toX, toY, true);
    for (const std::int32_t i : Listed(s)) {
        const TDateRec& r = s.Fig(i);
        if (r.SetAside) continue;
        const TFigureShape u = ShapeOf(r);
        TFigureShape p;
        for (std::size_t k = 0; k < 4; ++k) {
            p.X[k] = ToPixel(s, u.X[k]);
            p.Y[k] = ToPixel(s, u.Y[k]);
            p.Aux[k] = ToPixel(s, u.Aux[k]);
        }
        ApplyDragTransform(d, r.Kind, p);
        DrawShapePreview(s, c, r, p, h);
    }
}

void CommitMoveOrTransform(TDrawingState& s, TPlotSearchView& view, unsigned shift, int x, int y) {
    TToolState& t = s.Tools;
    const bool copy = (shift & ToolCtrlKey) != 0;
    s.Fig(0).X2 = s.Fig(0).Y2 = -1.0;
    const TSnappedPoint end = SnapPoint(s, x, y, false);
    s.Fig(0).X2 = end.x;
    s.Fig(0).Y2 = end.y;
    t.PointMarkers[2] = {end.x, end.y};
    // Also a drag that never drew its preview takes a line's end, not its frame.
    const std::int32_t handle = LineHandle(s.SelectionKindFlags, t.HandleHit);
    t.HandleHit = handle;
    // Room for every copy before anything changes: a compaction renumbers the records and
    // empties the history, and a store that stays full refuses the whole copy.
    if (copy && !ReserveFigureCopies(s, CopyableSelection(s))) return;

    s.DrawingUnchanged = 0;
    const bool move = handle == 5;
    if (copy) PushSelectionStep(s);
    THistoryData& top = PushHistory(s, copy ? (move ? MoveCopyStepLabel : TransformCopyStepLabel)
                                            : (move ? MoveStepLabel : TransformStepLabel))
                            .Data;
    s.MousePos = {end.px, end.py};
    const TDateRec& scratch = s.Fig(0);
    const auto& frame = s.DrawPointBuffer;
    const TDragTransform d = MakeDragTransform(handle, s.SelectionKindFlags, frame, FrameWidth(frame), FrameHeight(frame),
                                               scratch.X1, scratch.Y1, scratch.X2, scratch.Y2, false);

    const std::vector<std::int32_t> sources = copy ? CopyableSelection(s) : Listed(s);
    const std::int32_t first = s.FigureCount + 1;
    if (copy) {
        BeginChangeRecordList(s, VerbAdded);
        for (const std::int32_t i : Listed(s)) s.Fig(i).Selected = 0;
    }
    THistoryData data;
    for (const std::int32_t src : sources) {
        const std::int32_t b = copy ? AppendFigureCopy(s, src) : src;
        TDateRec& r = s.Fig(b);
        if (!copy && s.EditTabActive) {
            AppendGeometryToHistory(data, b, r);
            // The move names each figure its own source below; an undo gives the old one back.
            data.AddNumber(r.SourceIndex);
        }
        TFigureShape p = ShapeOf(r);
        ApplyDragTransform(d, r.Kind, p);
        StoreShape(r, p);
        if (!move && ((IsPlotRecord(r) && r.Kind != fkCurve) || r.Kind == fkEllipse || r.Kind == fkText))
            NormalizeCorners(s, b);
        r.SourceIndex = src;
        UpdateFigureBounds(s, b);
        if (!move && r.Kind == fkText) {
            const double l12 = (r.X2 - r.X1) * (r.X2 - r.X1) + (r.Y2 - r.Y1) * (r.Y2 - r.Y1);
            const double l23 = (r.Y3 - r.Y2) * (r.Y3 - r.Y2) + (r.X2 - r.X3) * (r.X2 - r.X3);
            r.Aux1 = l12 > l23 ? 1.0 : 2.0;
        }
        if (copy && IsPlotRecord(r) && GetCompoundOwner(s, src) <= 0) AddPlotToChangeRecordList(s, b);
    }
    if (copy) FinishFigureCopies(s, first);
    RebuildSelectionList(s, false);
    ComputeGroupBounds(s);
    if (copy) {
        top.Clear();
        top.AddNumber(s.FigureCount - first + 1);
    } else {
        top = std::move(data);
    }
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
    // A copy without plots has nothing to tell the ledger.
    if (copy && s.Ledger.tuika.size() > 1) FlushChangesToLedger(s, view.LedgerLink());
}

}  // namespace tarvek
