#include "view/painter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek {

namespace {

constexpr long double RadToDeg = 57.295779513082320876798L;
constexpr const char* FullWidthSpace = "\xE3\x80\x80";
constexpr std::size_t NamePart2Bytes = 10;

std::int32_t Sat(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

TPoint Pt(long double x, long double y) {
    return {RoundToInt32(static_cast<double>(x)), RoundToInt32(static_cast<double>(y))};
}

void Outline(TCanvas& c, const std::array<TPoint, 4>& p) {
    const std::array<TPoint, 5> ring{p[0], p[1], p[2], p[3], p[0]};
    c.Polyline(ring);
}

bool EditingPage(int page) { return page == 3 || page == 4; }

// round(Distance(a, b)). The square of whole pixel steps is exact below 2^26 of each, and
// its root correctly rounded; the root of an integer never lies within a unit of the last
// place of a half, so it rounds as the library's hypot does. Longer steps take hypot.
std::int32_t RoundedDistance(TPoint a, TPoint b) {
    const std::int64_t dx = std::int64_t(b.X) - a.X, dy = std::int64_t(b.Y) - a.Y;
    constexpr std::int64_t limit = std::int64_t{1} << 26;
    if (dx > -limit && dx < limit && dy > -limit && dy < limit)
        return RoundToInt32(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    return RoundToInt32(Distance(a, b));
}

}  // namespace

std::int64_t PlotHousehold(const TDateRec& r) { return StrToInt64(r.Text).value_or(0); }

TNameParts SplitHouseholdName(const std::string& headName) {
    std::size_t at = headName.find(FullWidthSpace), width = 3;
    if (at == std::string::npos) {
        at = headName.find(' ');
        width = 1;
    }
    if (at == std::string::npos) return {headName, {}, false};
    TNameParts parts{headName.substr(0, at), {}, true};
    const std::string_view rest = std::string_view(headName).substr(at + width);
    std::size_t cut = 0, bytes = 0;
    while (cut < rest.size()) {
        const std::size_t len = Utf8CharLength(rest, cut);
        const std::size_t w = Cp932ByteLength(rest.substr(cut, len));
        if (bytes + w > NamePart2Bytes) break;
        bytes += w;
        cut += len;
    }
    parts.Second = std::string(rest.substr(0, cut));
    return parts;
}

TPaintFrame ScreenPaintFrame(int zoom, const TPaintInputs& in) {
    TPaintFrame f;
    f.ScaleTimes1000 = zoom;
    f.Scale = zoom / 1000.0;
    // A margin round the visible area: figures just outside still reach into it.
    f.Left = Sat(std::int64_t(in.ScrollX) - 8);
    f.Top = Sat(std::int64_t(in.ScrollY) - 8);
    f.Right = Sat(std::int64_t(in.ScrollBoxWidth) + f.Left - 30);
    f.Bottom = Sat(std::int64_t(in.ScrollBoxHeight) + f.Top - 30);
    return f;
}

// The page shows what the scroll box shows: its width stretched to the page width,
// centred vertically.
TPaintFrame PrinterPaintFrame(int zoom, const TPaintInputs& in) {
    const int margin = zoom == 1 ? 18 : 36;
    const double k = double(in.PageWidth) / std::max(1, in.ScrollBoxWidth - margin);
    TPaintFrame f;
    f.ScaleTimes1000 = k * zoom;
    f.Scale = k * zoom / 1000.0;
    f.Left = RoundToInt32(k * in.ScrollX);
    f.Top = Sat(std::int64_t(RoundToInt32(k * in.ScrollY)) -
                RoundToInt32((in.PageHeight - k * (in.ScrollBoxHeight - margin)) / 2));
    f.Right = Sat(std::int64_t(in.PageWidth) + f.Left);
    f.Bottom = Sat(std::int64_t(in.PageHeight) + f.Top);
    f.OffsetX = f.Left;
    f.OffsetY = f.Top;
    return f;
}

TMapPainter::TMapPainter(TDrawingState& s, TCanvas& canvas, const TPaintInputs& in)
    : S(s), C(canvas), In(in), IsPrinter(canvas.IsPrinter()),
      Count(std::clamp<std::int32_t>(s.FigureCount, 0, std::int32_t(s.Figures.size()) - 1)) {
    PaintFrame = IsPrinter ? PrinterPaintFrame(s.Zoom, in) : ScreenPaintFrame(s.Zoom, in);
    // round(y / 1000) > R for every y above (R + 2) * 1000 and for none below R * 1000;
    // likewise round(y / 1000) < L below (L - 2) * 1000 and never above L * 1000. At the
    // ends of the int32 range the rounding saturates, and only the exact test holds.
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max(), lo = std::numeric_limits<std::int32_t>::min();
    const auto above = [&](std::int32_t r) {
        return TCullSide{r < hi ? (double(r) + 2) * 1000.0 : inf, double(r) * 1000.0};
    };
    const auto below = [&](std::int32_t l) {
        return TCullSide{l > lo + 1 ? (double(l) - 2) * 1000.0 : -inf, double(l) * 1000.0};
    };
    CullRight = above(PaintFrame.Right);
    CullBottom = above(PaintFrame.Bottom);
    CullLeft = below(PaintFrame.Left);
    CullTop = below(PaintFrame.Top);
}

bool TMapPainter::Owned(std::int32_t i) {
    if (!In.Shortcuts) return PlotHousehold(S.Fig(i)) >= 1;
    if (OwnedMemo.empty()) OwnedMemo.assign(std::size_t(Count) + 1, -1);
    std::int8_t& owned = OwnedMemo[std::size_t(i)];
    if (owned < 0) owned = PlotHousehold(S.Fig(i)) >= 1 ? 1 : 0;
    return owned == 1;
}

void TMapPainter::BuildPassLists(TPassLists& l) {
    const bool all = !In.Shortcuts;
    if (!all) SeenMemo.assign(std::size_t(Count) + 1, 0);

    const bool groups = EditingPage(In.ActivePage);
    for (std::int32_t i = 1; i <= Count; ++i) {
        const TDateRec& r = S.Fig(i);
        if (r.Deleted) continue;
        // Pieces and closed curves are drawn, or culled, through other records.
        const bool through = r.Kind == fkClosedCurve || r.Kind == fkPolygonEdge || r.Kind == fkRoundPolygonPiece;
        const bool seen = all || !Culled(r);
        if (!all) SeenMemo[std::size_t(i)] = seen;
        if (!r.IsPlot) {
            if (seen || through) l.Plain.push_back(i);
        } else if (!r.SetAside) {
            if (seen || through) l.Plots.push_back(i);
            if (seen) l.OwnedPlots.push_back(i);
        }
        if (r.Kind == fkText && seen) l.Texts.push_back(i);
        if (groups && r.Kind == fkGroup && r.Selected && seen) l.Groups.push_back(i);
    }
}

void TMapPainter::DrawDrawing() {
    NameTextFactor = static_cast<float>(In.NameSizePosition / 10.0);
    S.MeshOrigin = {In.PaintBoxWidth / 2, In.PaintBoxHeight / 2};
    C.Pen.Width = 1;
    C.Pen.Mode = TPenMode::pmCopy;
    C.Font.Name = "ＭＳ 明朝";
    // The mesh belongs to the screen; a printed page never carries it.
    if (S.MeshVisible == 1 && !IsPrinter) DrawMeshGrid();
    C.Pen.Style = TPenStyle::psSolid;

    // Each pass is a scan of the store in order; a record left out of its list is one
    // that DrawFigure would cull. Such a call sets only the brush, which every drawing
    // call after it sets again first, and the screen points, which are computed again
    // before they are read.
    TPassLists lists;
    BuildPassLists(lists);
    // DrawFigure may draw a run of pieces and leave i on its last: the scan goes on after it.
    std::int32_t done = 0;
    for (std::int32_t i : lists.Plain) {
        if (i <= done) continue;
        DrawFigure(i);
        done = i;
    }
    // Set-aside copies of a shared plot are never painted: only the current one shows.
    done = 0;
    for (std::int32_t i : lists.Plots) {
        if (i <= done || Owned(i)) continue;
        DrawFigure(i);
        done = i;
    }
    done = 0;
    for (const std::int32_t i : lists.OwnedPlots) {
        if (i <= done || !Owned(i) || ComputeFigureScreenPoints(i)) continue;
        std::int32_t j = i;
        DrawFigure(j);
        // Members of a compound figure carry no label of their own.
        if (GetCompoundOwner(S, i) <= 0) DrawOwnedPlotLabel(i);
        done = std::max(i, j);
    }
    DrawTexts(lists.Texts);
    DrawGroupFrames(lists.Groups);
    if (!IsPrinter) DrawSelectionBoxAndBorder();
    DrawHitCross();
}

void TMapPainter::DrawOwnedPlotLabel(std::int32_t i) {
    const TDateRec& r = S.Fig(i);
    ComputePoints(i, {});
    const std::array<TPoint, 4> p = ScreenPoints;
    C.Pen.Color = OutlineColor(r);
    // On the print page only the selected plots are named.
    int q = 0, along = 0, across = 0;
    TRect box;
    if (!(r.Text == "0" || (In.ActivePage == 5 && !r.Selected))) {
        const std::array<std::int32_t, 4>& b = ScaledBox(i);
        const std::int64_t ox = PaintFrame.OffsetX, oy = PaintFrame.OffsetY;
        box = {Sat(b[0] - ox), Sat(b[2] - oy), Sat(b[1] - ox), Sat(b[3] - oy)};
        along = RoundedDistance(p[0], p[1]);
        across = RoundedDistance(p[0], p[3]);
        q = RoundToInt32(std::min(along, across) / 3.0);
    }
    if (r.ShareSetId > 0) DrawShareMark(i);
    DrawHouseholdName(r, q, along, across, box, p);
}

void TMapPainter::DrawShareMark(std::int32_t i) {
    const TDateRec& r = S.Fig(i);
    ComputePoints(i, {});
    const std::array<TPoint, 4> p = ScreenPoints;
    C.Brush.Color = ShareMarkColor;
    C.Brush.Style = TBrushStyle::bsSolid;
    switch (r.Kind) {
    case fkPlot:
    case fkRectangle: {
        const std::array<TPoint, 3> corner{p[0], MidPoint(p[0], p[1]), p[3]};
        C.Polygon(corner);
        break;
    }
    case fkEllipse: {
        // The quarter nearest point 1, filled between two half axes and the arc.
        const TPoint m12 = MidPoint(p[0], p[1]), m14 = MidPoint(p[0], p[3]), centre = MidPoint(p[0], p[2]);
        const std::int64_t rot = RoundHalfEven(static_cast<double>(
            std::atan2(static_cast<long double>(p[1].Y) - p[0].Y, static_cast<long double>(p[1].X) - p[0].X) *
            RadToDeg));
        const TEllipseGeometry e{double(centre.X), double(centre.Y), Distance(p[0], p[1]) / 2,
                                 Distance(p[0], p[3]) / 2, double(rot)};
        const std::array<TPoint, 3> axes{m12, centre, m14};
        C.Pen.Color = ShareMarkColor;
        C.Pen.Width = 2;
        C.Pen.Style = TPenStyle::psSolid;
        C.Polyline(axes);
        DrawEllipticArc(C, e, 180, 270);
        // A seed outside the ellipse (one too small to hold the quarter) would fill around it.
        const TPoint seed = MidPoint(m12, m14);
        if (InsideEllipse(e, seed)) C.FloodFill(seed.X, seed.Y, ShareMarkColor);
        C.Pen.Color = r.Selected ? SelectedColor : r.PenColor;
        C.Pen.Width = r.PenWidth;
        C.Pen.Style = PenStyleFromIndex(r.PenStyle);
        C.Polyline(axes);
        DrawEllipticArc(C, e, 180, 270);
        break;
    }
    case fkPolygon: {
        const std::span<const std::int32_t> members = MembersOf(i);
        for (const std::int32_t j : members) {
            const std::int32_t kind = S.Fig(j).Kind;
            if (kind == fkPolygonEdge || kind == fkPolySegment) {
                // The corner at the first edge's start: its two ends and the last edge's middle.
                ComputePoints(j, {});
                const TPoint a = ScreenPoints[0], b = ScreenPoints[2];
                const std::int32_t last = members.back();
                if (last == j) {
                    DrawStarMarker(j);
                } else {
                    ComputePoints(last, {});
                    const std::array<TPoint, 3> corner{a, b, MidPoint(ScreenPoints[0], ScreenPoints[2])};
                    C.Polygon(corner);
                }
                break;
            }
            if (kind == fkChainLine) {
                DrawStarMarker(j);
                continue;
            }
            if (kind == fkRoundPolygonPiece) {
                DrawSegmentMark(r, j);
                break;
            }
        }
        ComputePoints(i, {});
        break;
    }
    case fkClosedCurve: {
        const std::span<const std::int32_t> members = MembersOf(i);
        if (!members.empty()) DrawSegmentMark(r, members.front());
        ComputePoints(i, {});
        break;
    }
    default:
        break;
    }
}

// The region between a piece's curve and its chord. Curve, chord and the fill's border are
// one colour, so the fill stays inside on the printer too.
void TMapPainter::DrawSegmentMark(const TDateRec& parent, std::int32_t member) {
    ComputePoints(member, {});
    const std::array<TPoint, 4> p = ScreenPoints;
    const TColor mark = parent.Selected ? SelectedColor : parent.PenColor;
    C.Pen.Style = TPenStyle::psSolid;
    C.Pen.Color = mark;
    C.SetPixel(p[0].X, p[0].Y, mark);
    C.SetPixel(p[3].X, p[3].Y, mark);
    C.PolyBezier(p);
    C.Pen.Width = 1;
    C.Line(p[0].X, p[0].Y, p[3].X, p[3].Y);
    const TPoint seed{Sat((std::int64_t(p[0].X) + p[1].X + p[3].X) / 3),
                      Sat((std::int64_t(p[0].Y) + p[1].Y + p[3].Y) / 3)};
    C.FloodFill(seed.X, seed.Y, mark);
    const TPenStyle style = PenStyleFromIndex(S.Fig(member).PenStyle);
    if (style != TPenStyle::psSolid) {
        C.Pen.Style = style;
        C.PolyBezier(p);
    }
}

void TMapPainter::DrawHouseholdName(const TDateRec& r, int q, int along, int across,
                                    const TRect& box, const std::array<TPoint, 4>& p) {
    C.Brush.Style = TBrushStyle::bsClear;
    C.Font.Color = 0;
    if (q < 4) {
        // Too small to name (or unselected on the print page): a diagonal says "owned".
        if (r.Kind == fkPlot || r.Kind == fkRectangle) {
            C.Pen.Color = 0;
            C.Pen.Style = TPenStyle::psSolid;
            C.Pen.Width = 1;
            C.Line(p[1].X, p[1].Y, p[3].X, p[3].Y);
        }
        return;
    }
    const std::int64_t h = RoundHalfEven(q * double(NameTextFactor));
    if (h < 1) return;
    C.Font.Name = r.FontName;
    C.Font.Height = Sat(h);
    const TNameParts name = SplitHouseholdName(r.HeadName);
    // A text is taken as byte length * h / 2 wide: a full-width character is h wide.
    const auto len = static_cast<std::int64_t>(Cp932ByteLength(name.First));
    const auto len2 = static_cast<std::int64_t>(Cp932ByteLength(name.Second));
    if (In.RotateNames) {
        const long double a = std::atan2(static_cast<long double>(p[0].Y) - p[1].Y,
                                         static_cast<long double>(p[1].X) - p[0].X);
        C.Font.Escapement = Sat(RoundHalfEven(static_cast<double>(a * RadToDeg)) * 10);
        const long double cs = std::cos(-a), sn = std::sin(-a);
        auto put = [&](std::int64_t dx, std::int64_t dy, const std::string& text) {
            const auto x = static_cast<long double>(dx), y = static_cast<long double>(dy);
            const TPoint at = Pt(p[0].X + cs * x - sn * y, p[0].Y + sn * x + cs * y);
            C.TextOut(at.X, at.Y, text);
        };
        if (!name.HasSeparator) {
            put((along - h * len / 2) / 2, across / 2 - h / 2, name.First);
        } else {
            put(3, across / 2 - h, name.First);
            put(along - h * len2 / 2 - 3, across / 2, name.Second);
        }
        return;
    }
    C.Font.Escapement = 0;
    const std::int64_t bl = box.Left, br = box.Right, bb = box.Bottom, bt = std::int64_t(box.Top) + 1;
    auto put = [&](std::int64_t top, std::int64_t bottom, std::int64_t x, std::int64_t y,
                   const std::string& text) {
        if (In.ClipNames)
            C.TextRect({Sat(bl), Sat(top), Sat(br), Sat(bottom)}, Sat(x), Sat(y), text);
        else
            C.TextOut(Sat(x), Sat(y), text);
    };
    if (!name.HasSeparator) {
        put(bt, bb, bl + (br - bl - h * len / 2) / 2, bt + (bb - bt) / 2 - h / 2, name.First);
    } else {
        const std::int64_t mid = bt + (bb - bt) / 2;
        put(bt, mid, bl + 3, mid - h, name.First);
        put(mid, bb, br - h * len2 / 2 - 3, mid, name.Second);
    }
}

void TMapPainter::DrawTexts(const std::vector<std::int32_t>& texts) {
    C.Pen.Width = 1;
    C.Pen.Style = TPenStyle::psSolid;
    C.Brush.Style = TBrushStyle::bsClear;
    for (const std::int32_t i : texts) {
        const TDateRec& r = S.Fig(i);
        if (ComputeFigureScreenPoints(i)) continue;
        const bool lit = r.Selected && !IsPrinter;
        C.Pen.Color = lit ? SelectedColor : r.PenColor;
        // A member's frame is its group's: only a free text shows its own box.
        if (lit && r.OwnerIndex == 0) Outline(C, ScreenPoints);
        C.Font.Color = lit ? SelectedColor : r.PenColor;
        C.Font.Name = r.FontName;
        DrawTextFigure(r.Text, r.Aux1);
    }
}

void TMapPainter::DrawGroupFrames(const std::vector<std::int32_t>& groups) {
    C.Pen.Width = 1;
    C.Pen.Style = TPenStyle::psSolid;
    C.Brush.Style = TBrushStyle::bsClear;
    for (const std::int32_t i : groups) {
        if (ComputeFigureScreenPoints(i)) continue;
        C.Pen.Color = FrameGreyColor;
        Outline(C, ScreenPoints);
    }
}

void TMapPainter::DrawSelectionBoxAndBorder() {
    C.Pen.Width = 1;
    if (EditingPage(In.ActivePage) && S.SelectedCount > 0) {
        const auto& b = S.DrawPointBuffer;  // right, left, bottom, top
        const std::int64_t right = PaintFrame.Scaled(b[0]), left = PaintFrame.Scaled(b[1]);
        const std::int64_t bottom = PaintFrame.Scaled(b[2]), top = PaintFrame.Scaled(b[3]);
        const std::array<TPoint, 5> ring{{{Sat(left - 1), Sat(top - 1)},
                                          {Sat(right + 1), Sat(top - 1)},
                                          {Sat(right + 1), Sat(bottom + 1)},
                                          {Sat(left - 1), Sat(bottom + 1)},
                                          {Sat(left - 1), Sat(top - 1)}}};
        C.Pen.Color = SelectionBoxColor;
        C.Pen.Style = TPenStyle::psDot;
        C.Polyline(ring);
    }
    const int w = In.PaintBoxWidth - 1, h = In.PaintBoxHeight - 1;
    const std::array<TPoint, 5> border{{{0, 0}, {w, 0}, {w, h}, {0, h}, {0, 0}}};
    C.Pen.Color = FrameGreyColor;
    C.Pen.Style = TPenStyle::psSolid;
    C.Polyline(border);
}

// The cross runs from the edges to the current search hit's box and leaves the plot free.
void TMapPainter::DrawHitCross() {
    const int page = In.ActivePage;
    bool show = S.SelectedCount >= 1 && (page == 0 || page == 1);
    if (!show && page == 5 && S.HitCrossSuppressed == 0) {
        // Only a cursor within the list that names a live plot.
        const std::int32_t cursor = S.SelectedCursor;
        if (cursor >= 1 && cursor <= S.SelectedCount && std::size_t(cursor) < S.SelectedList.size()) {
            const std::int32_t hit = S.SelectedList[std::size_t(cursor)];
            show = hit >= 1 && hit <= Count && !S.Fig(hit).Deleted && IsPlotRecord(S.Fig(hit));
        }
    }
    if (!show) return;
    const TPaintFrame& f = PaintFrame;
    const std::int64_t h = f.OffsetX, v = f.OffsetY;
    auto x = [&](double units) { return Sat(std::int64_t(f.Scaled(units)) - h); };
    auto y = [&](double units) { return Sat(std::int64_t(f.Scaled(units)) - v); };
    const int cx = x(S.HitCenterX), cy = y(S.HitCenterY);
    // The far ends are the frame's right and bottom as they stand, unshifted on the page
    // too: there the lower arm can stop short of the page's foot.
    C.Pen.Width = 2;
    C.Pen.Style = TPenStyle::psSolid;
    C.Pen.Color = HitCrossColor;
    C.Line(cx, 0, cx, y(S.HitBox[2]));
    C.Line(cx, y(S.HitBox[3]), cx, f.Bottom);
    C.Line(0, cy, x(S.HitBox[0]), cy);
    C.Line(x(S.HitBox[1]), cy, Sat(std::int64_t(f.Right) - 1), cy);
}

void DrawDrawing(TDrawingState& s, TCanvas& canvas, const TPaintInputs& in) {
    TMapPainter(s, canvas, in).DrawDrawing();
}

}  // namespace tarvek
