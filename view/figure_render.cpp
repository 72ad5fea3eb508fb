#include "view/figure_render.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "document/drawing_state.h"
#include "platform/numbers.h"
#include "platform/textfile.h"
#include "view/painter.h"

namespace tarvek {

namespace {

constexpr long double DegToRad = 0.017453292519943295769L;
constexpr long double SixtyDegrees = 1.0471975511965977461L;
constexpr long double RadToDeg = 57.295779513082320876798L;

std::int32_t Sat(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

TPoint Pt(long double x, long double y) {
    return {RoundToInt32(static_cast<double>(x)), RoundToInt32(static_cast<double>(y))};
}

std::int64_t RoundDegrees(long double radians) {
    return RoundHalfEven(static_cast<double>(radians * RadToDeg));
}

void Stroke(TCanvas& c, TPoint a, TPoint b) { c.Line(a.X, a.Y, b.X, b.Y); }

// The outline of a Bézier piece, flattened finely enough to tell inside from outside.
void AppendFlattened(std::vector<std::array<double, 2>>& out, const std::array<TPoint, 4>& p) {
    constexpr int steps = 16;
    for (int k = 0; k <= steps; ++k) {
        const double t = double(k) / steps, u = 1 - t;
        const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
        out.push_back({b0 * p[0].X + b1 * p[1].X + b2 * p[2].X + b3 * p[3].X,
                       b0 * p[0].Y + b1 * p[1].Y + b2 * p[2].Y + b3 * p[3].Y});
    }
}

// Even-odd test of a point against closed outlines (each closed on itself).
bool InsideOutlines(TPoint seed, const std::vector<std::vector<std::array<double, 2>>>& outlines) {
    const double sx = seed.X + 0.5, sy = seed.Y + 0.5;
    bool inside = false;
    for (const auto& o : outlines) {
        for (std::size_t k = 0; k < o.size(); ++k) {
            const auto& a = o[k];
            const auto& b = o[(k + 1) % o.size()];
            if ((a[1] > sy) != (b[1] > sy) && sx < a[0] + (sy - a[1]) * (b[0] - a[0]) / (b[1] - a[1]))
                inside = !inside;
        }
    }
    return inside;
}

}  // namespace

TPoint MidPoint(TPoint a, TPoint b) {
    return {Sat((std::int64_t(a.X) + b.X) / 2), Sat((std::int64_t(a.Y) + b.Y) / 2)};
}

double Distance(TPoint a, TPoint b) { return std::hypot(double(b.X) - a.X, double(b.Y) - a.Y); }

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t n = 1;
    if ((lead & 0xE0) == 0xC0) n = 2;
    else if ((lead & 0xF0) == 0xE0) n = 3;
    else if ((lead & 0xF8) == 0xF0) n = 4;
    return std::min(n, text.size() - pos);
}

TVector2 RotateVector(long double angle, long double x, long double y) {
    const long double c = std::cos(angle), s = std::sin(angle);
    return {x * c - y * s, x * s + y * c};
}

bool InsideEllipse(const TEllipseGeometry& e, TPoint p) {
    if (!(e.RadiusX > 0 && e.RadiusY > 0)) return false;
    const TVector2 d = RotateVector(-e.RotationDeg * DegToRad, p.X + 0.5L - e.CenterX, p.Y + 0.5L - e.CenterY);
    const long double u = d.X / e.RadiusX, v = d.Y / e.RadiusY;
    return u * u + v * v < 1;
}

void DrawArcSegmentBezier(TCanvas& canvas, const TEllipseGeometry& e, long double a0, long double a1) {
    const long double t = a1 - a0;
    if (!std::isfinite(t) || !std::isfinite(a0)) return;
    const long double ct = std::cos(t), st = std::sin(t), ch = std::cos(t / 2), sh = std::sin(t / 2);
    long double y2, x3, y3;
    if (std::fabs(st) > 1e-12L) {
        const long double bend = 4 * ct * (ct + 1 - 2 * ch) / (3 * st);
        y2 = 4 * (2 * sh - st) / 3 - bend;
        x3 = (8 * ch - 4 - ct) / 3;
        y3 = st + bend;
    } else {
        // No turn or half a turn: the form above divides by sin θ; k = 4/3 tan(θ/4) does not.
        const long double k = 4.0L / 3 * std::tan(t / 4);
        y2 = k;
        x3 = ct + k * st;
        y3 = st - k * ct;
    }
    const long double rot = e.RotationDeg * DegToRad;
    const std::array<std::array<long double, 2>, 4> unit{{{1, 0}, {1, y2}, {x3, y3}, {ct, st}}};
    std::array<TPoint, 4> pts;
    for (std::size_t k = 0; k < 4; ++k) {
        const TVector2 v = RotateVector(a0, unit[k][0], unit[k][1]);
        const TVector2 w = RotateVector(rot, e.RadiusX * v.X, e.RadiusY * v.Y);
        pts[k] = Pt(e.CenterX + w.X, e.CenterY + w.Y);
    }
    canvas.PolyBezier(pts);
}

void DrawEllipticArc(TCanvas& canvas, const TEllipseGeometry& e, double startDeg, double endDeg) {
    const long double start = startDeg * DegToRad, end = endDeg * DegToRad;
    if (!std::isfinite(start) || !std::isfinite(end) || !(end > start)) return;
    const long double pieces = std::trunc((end - start) / SixtyDegrees);
    // Figures give at most two turns; the bound only keeps damaged input from looping long.
    if (pieces > 1000) return;
    const int n = static_cast<int>(pieces);
    for (int k = 0; k < n; ++k)
        DrawArcSegmentBezier(canvas, e, start + k * SixtyDegrees, start + (k + 1) * SixtyDegrees);
    if (end - start - n * SixtyDegrees > 0.001L) DrawArcSegmentBezier(canvas, e, start + n * SixtyDegrees, end);
}

void DrawArrowHead(TCanvas& canvas, const TDrawingState& s, TPoint tip, TPoint other) {
    const long double e = std::atan2(static_cast<long double>(tip.Y) - other.Y,
                                     static_cast<long double>(other.X) - tip.X);
    const std::int64_t size = std::int64_t(s.Zoom) * s.DimensionTextSize;
    const long double m = static_cast<long double>(size / 100), w = static_cast<long double>(size / 300);
    for (const int side : {1, -1}) {
        Stroke(canvas, tip, Pt(tip.X + m * std::cos(e) + side * w * std::sin(e),
                               tip.Y - m * std::sin(e) + side * w * std::cos(e)));
    }
}

void DrawRotatedText(TCanvas& canvas, const TDrawingState& s, TPoint p1, TPoint p2,
                     const std::string& text, bool ticks, int pixelsPerInch) {
    const std::int64_t len = RoundHalfEven(Distance(p1, p2));
    const std::int64_t h =
        RoundHalfEven(double(s.Zoom) * s.DimensionTextSize / 100.0 * pixelsPerInch / 72.0);
    const long double W = std::atan2(static_cast<long double>(p1.Y) - p2.Y,
                                     static_cast<long double>(p2.X) - p1.X);
    // u runs from p1 to p2 on the canvas, n is its normal.
    const long double ux = std::cos(-W), uy = std::sin(-W), nx = -std::sin(-W), ny = std::cos(-W);
    auto at = [&](TPoint p, long double along, long double across) {
        return Pt(p.X + along * ux + across * nx, p.Y + along * uy + across * ny);
    };
    if (ticks) {
        const long double t = static_cast<long double>(
            RoundHalfEven(s.DimensionTextSize / 1000.0 * s.Zoom * 5));
        Stroke(canvas, at(p1, 0, -t), at(p1, 0, t));
        Stroke(canvas, at(p2, 0, -t), at(p2, 0, t));
    }
    const std::int64_t size = std::int64_t(s.Zoom) * s.DimensionTextSize;
    const std::int64_t m = size / 100;
    // Too short for the arrows between its ends: outward stubs carry them instead.
    const bool inside = 3 * m < len;
    const long double ml = static_cast<long double>(m);
    if (inside) {
        Stroke(canvas, p1, p2);
    } else {
        Stroke(canvas, p1, at(p1, -ml, 0));
        Stroke(canvas, p2, at(p2, ml, 0));
    }
    if (h <= 2) return;
    canvas.Font.Height = Sat(h);
    canvas.Font.Escapement = Sat(RoundDegrees(W) * 10);
    canvas.Font.Color = 0;
    const auto bytes = static_cast<std::int64_t>(Cp932ByteLength(text));
    const std::int64_t w = (len - bytes * h / 2) / 2, v = h / 8;
    const TPoint textAt = at(p1, static_cast<long double>(w), static_cast<long double>(v));
    canvas.TextOut(textAt.X, textAt.Y, text);
    const long double sa = static_cast<long double>(size / 300);
    const long double dir = inside ? ml : -ml;
    for (const int side : {1, -1}) {
        Stroke(canvas, p1, at(p1, dir, side * sa));
        Stroke(canvas, p2, at(p2, -dir, side * sa));
    }
}

// ---- The painter's figure routines ----


bool TMapPainter::ComputePoints(std::int32_t i, TGrow grow) {
    const TDateRec& r = S.Fig(i);
    const TPaintFrame& f = PaintFrame;
    if (i != PointsOf || !In.Shortcuts) {
        ScreenPoints = {MapPoint(r.X1, r.Y1), MapPoint(r.X2, r.Y2), MapPoint(r.X3, r.Y3), MapPoint(r.X4, r.Y4)};
        PointsMemo = ScreenPoints;
        PointsOf = i;
        BoxOf = -1;
    } else {
        ScreenPoints = PointsMemo;
    }
    if (IsPrinter) return false;
    // A record a pass list holds meets the visible frame, as the test below would find.
    if (grow.LeftTop == 0 && grow.RightBottom == 0 && In.Shortcuts && Seen(i)) return false;
    const std::array<std::int32_t, 4>& b = ScaledBox(i);
    return b[0] > std::int64_t(f.Right) + grow.RightBottom || b[1] < std::int64_t(f.Left) - grow.LeftTop ||
           b[2] > std::int64_t(f.Bottom) + grow.RightBottom || b[3] < std::int64_t(f.Top) - grow.LeftTop;
}

const std::array<std::int32_t, 4>& TMapPainter::ScaledBox(std::int32_t i) {
    if (i != BoxOf || !In.Shortcuts) {
        const TDateRec& r = S.Fig(i);
        const TPaintFrame& f = PaintFrame;
        BoxMemo = {f.Scaled(r.BoxX1), f.Scaled(r.BoxX2), f.Scaled(r.BoxY1), f.Scaled(r.BoxY2)};
        BoxOf = i;
    }
    return BoxMemo;
}

// The test of ComputePoints without a division or rounding for all but the boxes whose
// edge lies within two pixels of the frame's.
bool TMapPainter::Culled(const TDateRec& r) const {
    if (IsPrinter) return false;
    const TPaintFrame& f = PaintFrame;
    const double z = f.ScaleTimes1000;
    const auto beyond = [&](double value, const TCullSide& side, std::int32_t edge, bool after) {
        const double y = value * z;
        if (after ? y > side.Sure : y < side.Sure) return true;
        if (after ? y < side.Never : y > side.Never) return false;
        const std::int32_t px = f.Scaled(value);
        return after ? px > edge : px < edge;
    };
    return beyond(r.BoxX1, CullRight, f.Right, true) || beyond(r.BoxX2, CullLeft, f.Left, false) ||
           beyond(r.BoxY1, CullBottom, f.Bottom, true) || beyond(r.BoxY2, CullTop, f.Top, false);
}

bool TMapPainter::ComputeFigureScreenPoints(std::int32_t i) {
    if (i < 0 || i > Count) return true;
    return ComputePoints(i, {});
}

TColor TMapPainter::OutlineColor(const TDateRec& r) const {
    return r.Selected && !IsPrinter ? SelectedColor : r.PenColor;
}

// The centre of ScreenPoints' P1-P3, kept at the visible area's edges. The clamp works in
// canvas coordinates, which on the printer are shifted by the page offset.
TPoint TMapPainter::FillSeed() const {
    const auto& p = ScreenPoints;
    const TPaintFrame& f = PaintFrame;
    const std::int64_t left = std::int64_t(f.Left) - f.OffsetX, right = std::int64_t(f.Right) - f.OffsetX;
    const std::int64_t top = std::int64_t(f.Top) - f.OffsetY, bottom = std::int64_t(f.Bottom) - f.OffsetY;
    std::int64_t x = (std::int64_t(p[0].X) + p[2].X) / 2, y = (std::int64_t(p[0].Y) + p[2].Y) / 2;
    if (x < left) x = left - 1;
    x = std::min(x, right + 9);
    if (y < top) y = top - 1;
    if (y > bottom + 9) y = bottom + 9;
    // Left of or above the view the rule puts the seed where the canvas has no pixels, and
    // a shape cut by that edge would stay empty: the seed moves onto the canvas instead
    // (the fill still needs it inside the shape).
    const TRect clip = C.ClipRect();
    if (clip.Right > clip.Left && clip.Bottom > clip.Top) {
        x = std::clamp<std::int64_t>(x, clip.Left, std::int64_t(clip.Right) - 1);
        y = std::clamp<std::int64_t>(y, clip.Top, std::int64_t(clip.Bottom) - 1);
    }
    return {Sat(x), Sat(y)};
}

void TMapPainter::DrawBezierOfPoints() { C.PolyBezier(ScreenPoints); }

std::span<const std::int32_t> TMapPainter::MembersOf(std::int32_t owner) {
    if (MemberStart.empty()) {
        MemberStart.assign(std::size_t(Count) + 2, 0);
        auto ownerOf = [this](std::int32_t j) -> std::int32_t {
            const TDateRec& r = S.Fig(j);
            return !r.Deleted && r.OwnerIndex >= 1 && r.OwnerIndex <= Count ? r.OwnerIndex : 0;
        };
        for (std::int32_t j = 1; j <= Count; ++j)
            if (const std::int32_t o = ownerOf(j)) ++MemberStart[std::size_t(o) + 1];
        for (std::size_t k = 1; k < MemberStart.size(); ++k) MemberStart[k] += MemberStart[k - 1];
        MemberList.assign(std::size_t(MemberStart.back()), 0);
        std::vector<std::int32_t> next(MemberStart.begin(), MemberStart.end() - 1);
        for (std::int32_t j = 1; j <= Count; ++j)
            if (const std::int32_t o = ownerOf(j)) MemberList[std::size_t(next[std::size_t(o)]++)] = j;
    }
    if (owner < 1 || owner > Count) return {};
    const auto from = std::size_t(MemberStart[std::size_t(owner)]);
    const auto to = std::size_t(MemberStart[std::size_t(owner) + 1]);
    return {MemberList.data() + from, to - from};
}

bool TMapPainter::DrawClosedCurve(std::int32_t i, TBrushStyle brush) {
    const TDateRec& parent = S.Fig(i);
    const std::span<const std::int32_t> members = MembersOf(i);
    constexpr TGrow visible{0, 9};
    // Members below the parent, nearest first; each with its screen points set.
    auto eachVisible = [&](auto&& draw) {
        for (auto it = members.rbegin(); it != members.rend(); ++it)
            if (*it < i && !ComputePoints(*it, visible)) draw(S.Fig(*it));
    };
    if (brush != TBrushStyle::bsClear) {
        // A closed black border for the fill, erased again afterwards.
        C.Pen.Style = TPenStyle::psSolid;
        C.Pen.Width = 2;
        C.Pen.Color = 0;
        auto outline = [this](const TDateRec&) {
            DrawBezierOfPoints();
            C.SetPixel(ScreenPoints[0].X, ScreenPoints[0].Y, C.Pen.Color);
            C.SetPixel(ScreenPoints[3].X, ScreenPoints[3].Y, C.Pen.Color);
        };
        eachVisible(outline);
        if (ComputePoints(i, {1, 9})) return false;
        const TPoint seed = FillSeed();
        std::vector<std::vector<std::array<double, 2>>> shape(1);
        for (auto it = members.rbegin(); it != members.rend(); ++it) {
            if (*it >= i) continue;
            ComputePoints(*it, {});
            AppendFlattened(shape[0], ScreenPoints);
        }
        C.Brush.Color = parent.BrushColor;
        C.Brush.Style = brush;
        // A seed off the shape (a clamped centre, a crescent) would fill the area around it.
        if (InsideOutlines(seed, shape)) C.FloodFill(seed.X, seed.Y, 0);
        C.Pen.Color = In.PaperColor;
        eachVisible(outline);
    }
    eachVisible([this](const TDateRec& m) {
        C.Pen.Width = m.PenWidth;
        C.Pen.Style = PenStyleFromIndex(m.PenStyle);
        C.Pen.Color = OutlineColor(m);
        DrawBezierOfPoints();
    });
    return true;
}

bool TMapPainter::DrawPolygonRun(std::int32_t& i) {
    std::int32_t last = i;
    while (last < Count && S.Fig(last + 1).Kind == fkPolygonEdge) ++last;
    const std::int32_t first = i;
    i = last;
    const std::int32_t parent = last + 1;
    if (parent <= Count && ComputePoints(parent, {})) return false;
    const TDateRec& r = S.Fig(first);
    C.Pen.Width = r.PenWidth;
    C.Pen.Style = PenStyleFromIndex(r.PenStyle);
    C.Pen.Color = OutlineColor(r);
    std::vector<TPoint> corners;
    corners.reserve(std::size_t(last - first + 1));
    for (std::int32_t j = first; j <= last; ++j) {
        ComputePoints(j, {});
        corners.push_back(ScreenPoints[0]);
    }
    C.Polygon(corners);
    return true;
}

bool TMapPainter::DrawRoundedRun(std::int32_t& i, TBrushStyle brush) {
    std::int32_t last = i;
    while (last < Count && S.Fig(last + 1).Kind == fkRoundPolygonPiece) ++last;
    const std::int32_t first = i;
    i = last;
    const std::int32_t parent = last + 1;
    const bool hasParent = parent <= Count;
    if (hasParent && ComputePoints(parent, {})) return false;
    const TDateRec& r = S.Fig(first);
    // The fill is bounded by the outline's own colour, whatever was drawn before.
    const TColor outline = OutlineColor(r);
    auto eachPiece = [&](auto&& draw) {
        for (std::int32_t j = first; j <= last; ++j) {
            ComputePoints(j, {});
            draw();
        }
    };
    auto bezier = [this] { DrawBezierOfPoints(); };
    if (brush != TBrushStyle::bsClear) {
        C.Pen.Style = TPenStyle::psSolid;
        C.Pen.Width = 2;
        C.Pen.Color = outline;
        eachPiece(bezier);
        if (hasParent && !ComputePoints(parent, {1, 9})) {
            const TPoint seed = FillSeed();
            std::vector<std::vector<std::array<double, 2>>> shape(1);
            eachPiece([&] { AppendFlattened(shape[0], ScreenPoints); });
            C.Brush.Style = brush;
            if (InsideOutlines(seed, shape)) C.FloodFill(seed.X, seed.Y, outline);
            C.Pen.Color = r.BrushColor;
            eachPiece(bezier);
            C.Pen.Width = 1;
            C.Pen.Color = In.PaperColor;
            eachPiece(bezier);
        }
    }
    C.Pen.Width = r.PenWidth;
    C.Pen.Color = outline;
    C.Pen.Style = PenStyleFromIndex(r.PenStyle);
    eachPiece(bezier);
    return true;
}

TEllipseArc EllipseArcOf(const std::array<TPoint, 4>& p, double centreX, double centreY, double startX,
                         double startY, double endX, double endY) {
    const std::int64_t rot = RoundDegrees(std::atan2(static_cast<long double>(p[1].Y) - p[0].Y,
                                                     static_cast<long double>(p[1].X) - p[0].X));
    TEllipseArc a;
    a.Whole = startX == endX && startY == endY;
    if (!a.Whole) {
        a.StartDeg = double(RoundDegrees(std::atan2(startY - centreY, startX - centreX)) - rot);
        a.EndDeg = double(RoundDegrees(std::atan2(endY - centreY, endX - centreX)) - rot);
        if (a.EndDeg < a.StartDeg) a.StartDeg -= 360;
    }
    const TPoint centre = MidPoint(p[0], p[2]);
    a.Ellipse = {double(centre.X), double(centre.Y), Distance(p[0], p[1]) / 2, Distance(p[0], p[3]) / 2, double(rot)};
    return a;
}

void TMapPainter::DrawEllipse(const TDateRec& r, TBrushStyle brush) {
    const std::array<TPoint, 4> p = ScreenPoints;
    const TEllipseArc arc = EllipseArcOf(p, (r.X1 + r.X3) / 2, (r.Y1 + r.Y3) / 2, r.Aux1, r.Aux2, r.Aux3, r.Aux4);
    const bool whole = arc.Whole;
    const double start = arc.StartDeg, end = arc.EndDeg;
    const TPenStyle style = PenStyleFromIndex(r.PenStyle);
    const bool filledWhole = whole && brush != TBrushStyle::bsClear;
    if (filledWhole && style != TPenStyle::psSolid) {
        // A dashed border would let the fill out.
        C.Pen.Color = 0;
        C.Pen.Style = TPenStyle::psSolid;
    }
    const TPoint centre = MidPoint(p[0], p[2]);
    const TEllipseGeometry& e = arc.Ellipse;
    DrawEllipticArc(C, e, start, end);
    if (filledWhole) {
        const TPoint seed = FillSeed();
        // Only a seed inside the ellipse: a clamped centre can fall outside it.
        if (InsideEllipse(e, seed)) C.FloodFill(seed.X, seed.Y, C.Pen.Color);
        if (style != TPenStyle::psSolid) {
            C.Pen.Color = In.PaperColor;
            C.Pen.Style = TPenStyle::psSolid;
            DrawEllipticArc(C, e, start, end);
            // Its own colour even when selected: the dashes over the erased border.
            C.Pen.Color = r.PenColor;
            C.Pen.Style = style;
            DrawEllipticArc(C, e, start, end);
        }
    }
    if (r.Selected && In.ActivePage == 3) {
        const std::array<TPoint, 5> box{p[0], p[1], p[2], p[3], p[0]};
        C.Polyline(box);
        // The arc's two ends to the centre; a whole ellipse's one arc point twice.
        const std::array<TPoint, 3> ends{MapPoint(r.Aux1, r.Aux2), centre, MapPoint(r.Aux3, r.Aux4)};
        C.Polyline(ends);
    }
}

void TMapPainter::DrawFigure(std::int32_t& i) {
    if (i < 1 || i > Count) return;
    const TDateRec& r = S.Fig(i);
    // An owned plot is an outline: the household's name goes inside.
    TBrushStyle brush = BrushStyleFromIndex(r.BrushStyle);
    if (r.IsPlot && Owned(i)) brush = TBrushStyle::bsClear;
    C.Brush.Color = r.BrushColor;
    C.Brush.Style = brush;
    if (r.Kind == fkClosedCurve && !DrawClosedCurve(i, brush)) return;
    if (r.Kind == fkPolygonEdge && !DrawPolygonRun(i)) return;
    if (r.Kind == fkRoundPolygonPiece && !DrawRoundedRun(i, brush)) return;

    const TDateRec& f = S.Fig(i);
    if (ComputePoints(i, {})) return;
    C.Pen.Width = f.PenWidth;
    C.Pen.Style = PenStyleFromIndex(f.PenStyle);
    C.Pen.Color = OutlineColor(f);
    const std::array<TPoint, 4> p = ScreenPoints;
    switch (f.Kind) {
    case fkLine:
    case fkChainLine:
    case fkPolySegment:
    case fkLeader:
        C.Brush.Style = TBrushStyle::bsClear;
        Stroke(C, p[0], p[2]);
        C.SetPixel(p[3].X, p[3].Y, C.Pen.Color);
        if (f.Kind == fkLeader) {
            C.Pen.Color = f.Selected ? SelectedColor : f.PenColor;
            DrawArrowHead(C, S, p[0], p[2]);
        }
        break;
    case fkDimension: {
        C.Brush.Style = TBrushStyle::bsClear;
        C.Font.Name = f.FontName;
        const double length = std::sqrt((f.X3 - f.X1) * (f.X3 - f.X1) + (f.Y1 - f.Y3) * (f.Y1 - f.Y3));
        const std::string text = IntToStr(RoundHalfEven(length * S.DrawingScale / 1000 / 100));
        DrawRotatedText(C, S, p[0], p[2], text, false, In.FontPixelsPerInch);
        C.SetPixel(p[3].X, p[3].Y, C.Pen.Color);
        break;
    }
    case fkCurve:
    case fkChainCurve:
    case fkRoundPiece:
        C.Brush.Style = TBrushStyle::bsClear;
        if (f.Kind == fkChainCurve) {
            // A piece is drawn here only as part of an open curve: a closed curve's parent
            // draws its pieces (with its fill), and a piece of no open curve is a leftover.
            const std::int32_t o = f.OwnerIndex;
            if (o < 1 || o > Count || S.Fig(o).Kind != fkOpenCurve) break;
        }
        if (f.Kind == fkCurve && f.Selected && In.ActivePage == 3) {
            Stroke(C, p[0], p[1]);
            Stroke(C, p[2], p[3]);
        }
        C.PolyBezier(p);
        C.SetPixel(p[3].X, p[3].Y, C.Pen.Color);
        break;
    case fkEllipse:
        DrawEllipse(f, brush);
        break;
    case fkRectangle:
    case fkPlot:
        C.Polygon(p);
        break;
    default:
        // Texts, group frames and compound parents are drawn by their own passes.
        break;
    }
}

void TMapPainter::DrawTextFigure(const std::string& text, double direction) {
    const std::array<TPoint, 4> p = ScreenPoints;
    const double n = double(Cp932ByteLength(text));
    const double a = Distance(p[0], p[1]);
    const std::int64_t b = RoundHalfEven(Distance(p[0], p[3]));
    const long double angle = std::atan2(static_cast<long double>(p[0].Y) - p[1].Y,
                                         static_cast<long double>(p[1].X) - p[0].X);
    const bool horizontal = direction == 1.0;
    const std::int64_t h = horizontal ? b : RoundHalfEven(a);
    if (h <= 2) return;
    // Every character is laid out as a full-width one; a single one needs no gap.
    std::int64_t gap = 0;
    if (n > 2) {
        const double room = horizontal ? double(RoundHalfEven(a)) : double(b);
        gap = RoundHalfEven((room - n * double(h) / 2) / (n / 2 - 1));
    }
    C.Font.Height = Sat(h);
    C.Font.Escapement = Sat(RoundDegrees(angle) * 10);
    const long double ca = std::cos(angle), sa = std::sin(angle);
    std::size_t pos = 0;
    for (std::int64_t k = 0; pos < text.size(); ++k) {
        const std::size_t len = Utf8CharLength(text, pos);
        const long double step = static_cast<long double>(k) * static_cast<long double>(gap + h);
        const TPoint at = horizontal ? Pt(p[0].X + step * ca, p[0].Y - step * sa)
                                     : Pt(p[0].X + step * sa, p[0].Y + step * ca);
        C.TextOut(at.X, at.Y, text.substr(pos, len));
        pos += len;
    }
}

void TMapPainter::DrawStarMarker(std::int32_t i) {
    if (i < 0 || i > Count) return;
    const TDateRec& r = S.Fig(i);
    const TPoint o = MapPoint(r.BoxX1, r.BoxY1);
    const std::int64_t d = std::int64_t(S.MarkerHalfSize) * S.Zoom, e = d / 2;
    const auto x0 = std::int64_t(o.X), y0 = std::int64_t(o.Y);
    auto scaled = [e](double f) { return RoundHalfEven(double(e) * f); };
    const std::array<TPoint, 5> star{{
        {Sat(x0), Sat(y0 - e)},
        {Sat(x0 + scaled(0.58778518438)), Sat(y0 + d - e)},
        {Sat(x0 - e), Sat(y0 - scaled(0.30901712179))},
        {Sat(x0 + d - e), Sat(y0 - scaled(0.30901679397))},
        {Sat(x0 + scaled(-0.58778548241)), Sat(y0 + d - e)},
    }};
    C.Pen.Style = psClear;
    C.SetPolyFillMode(TPolyFillMode::pfWinding);
    C.Polygon(star);
}

void TMapPainter::DrawMeshGrid() {
    const int step = S.MeshStep;
    if (step < 1) return;
    C.Pen.Style = TPenStyle::psSolid;
    C.Pen.Mode = TPenMode::pmCopy;
    C.Pen.Width = 1;
    C.Pen.Color = S.MeshColor;
    const int w = In.PaintBoxWidth, h = In.PaintBoxHeight;
    const int ox = S.MeshOrigin.x, oy = S.MeshOrigin.y;
    // Lines off the canvas are skipped: a zoomed paint box is far larger than its view.
    const TRect clip = C.ClipRect();
    auto column = [&](std::int64_t x) {
        if (x >= clip.Left && x < clip.Right) C.Line(int(x), 0, int(x), h);
    };
    auto row = [&](std::int64_t y) {
        if (y >= clip.Top && y < clip.Bottom) C.Line(0, int(y), w, int(y));
    };
    for (std::int64_t x = ox; x < w; x += step) column(x);
    for (std::int64_t x = ox; x > 0; x -= step) column(x);
    for (std::int64_t y = oy; y < h; y += step) row(y);
    for (std::int64_t y = oy; y > 0; y -= step) row(y);
    C.Pen.Color = S.CenterLineColor;
    C.Line(ox, 0, ox, h);
    C.Line(0, oy, w, oy);
}

}  // namespace tarvek
