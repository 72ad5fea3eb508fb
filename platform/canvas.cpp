#include "platform/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/numbers.h"

namespace tarvek {

QRgb TColorToRgb(TColor color) {
    const auto v = static_cast<std::uint32_t>(color);
    if ((v & 0xFF000000u) == 0xFF000000u) {
        switch (v & 0xFFu) {
        case 0x05: return qRgb(0xFF, 0xFF, 0xFF);
        case 0x08: return qRgb(0x00, 0x00, 0x00);
        default: return qRgb(0xF0, 0xF0, 0xF0);
        }
    }
    return qRgb(int(v & 0xFFu), int((v >> 8) & 0xFFu), int((v >> 16) & 0xFFu));
}

TColor RgbToTColor(QRgb rgb) {
    return static_cast<TColor>(unsigned(qRed(rgb)) | unsigned(qGreen(rgb)) << 8 |
                               unsigned(qBlue(rgb)) << 16);
}

namespace {

QColor ToQColor(TColor color) { return QColor::fromRgb(TColorToRgb(color)); }

bool IsPenStyleNamed(TPenStyle style) {
    return static_cast<int>(style) >= static_cast<int>(TPenStyle::psSolid) &&
           static_cast<int>(style) <= static_cast<int>(TPenStyle::psDashDotDot);
}

// The dash cycles of one-pixel pens, in pixels: runs alternately on and off.
std::vector<int> DashRuns(TPenStyle style) {
    if (!IsPenStyleNamed(style)) return {};
    switch (style) {
    case TPenStyle::psSolid: return {};
    case TPenStyle::psDash: return {18, 6};
    case TPenStyle::psDot: return {3, 3};
    case TPenStyle::psDashDot: return {9, 6, 3, 6};
    case TPenStyle::psDashDotDot: return {9, 3, 3, 3, 3, 3};
    }
    return {};
}

// Qt draws wide pens (and ellipse outlines); one-pixel lines are rasterised here.
QPen MakePen(const TPen& pen) {
    if (pen.Style == psClear) return QPen(Qt::NoPen);
    QPen q(ToQColor(pen.Color));
    if (pen.Width > 1) {
        q.setWidth(pen.Width);
        q.setCapStyle(Qt::RoundCap);
        q.setJoinStyle(Qt::RoundJoin);
        return q;
    }
    q.setWidth(1);
    q.setCosmetic(true);
    q.setCapStyle(Qt::FlatCap);
    q.setJoinStyle(Qt::MiterJoin);
    const std::vector<int> runs = DashRuns(pen.Style);
    if (!runs.empty()) q.setDashPattern(QList<qreal>(runs.begin(), runs.end()));
    return q;
}

// One-pixel line from a towards b, without b, into dest where virtual (ox, oy) is dest's
// (0, 0). Pixel k along the major axis is offset round(k * minor / major), halves away
// from a, on the minor axis. Only the steps that fall inside dest are visited, so a line
// of any length costs at most the image's size. dashOn (pixel index modulo its size, from
// phase) says which pixels a styled pen paints.
void RasterLine(QImage& dest, std::int64_t ox, std::int64_t oy, QPoint a, QPoint b, QRgb colour,
                const std::vector<std::uint8_t>& dashOn, std::int64_t phase) {
    const std::int64_t x0 = a.x() - ox, y0 = a.y() - oy;
    const std::int64_t dx = std::int64_t(b.x()) - a.x(), dy = std::int64_t(b.y()) - a.y();
    const std::int64_t n = std::max(std::abs(dx), std::abs(dy));
    const int w = dest.width(), h = dest.height();
    if (n == 0 || std::max(x0, x0 + dx) < 0 || std::min(x0, x0 + dx) >= w ||
        std::max(y0, y0 + dy) < 0 || std::min(y0, y0 + dy) >= h)
        return;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
    const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t minorStep = minorDelta < 0 ? -1 : 1;
    const std::int64_t majorLimit = xMajor ? w : h, minorLimit = xMajor ? h : w;
    const auto d = static_cast<std::uint64_t>(std::abs(minorDelta));
    const auto un = static_cast<std::uint64_t>(n);

    std::int64_t kLo = majorStep > 0 ? -major0 : major0 - (majorLimit - 1);
    std::int64_t kHi = majorStep > 0 ? majorLimit - 1 - major0 : major0;
    kLo = std::max<std::int64_t>(kLo, 0);
    kHi = std::min<std::int64_t>(kHi, n - 1);
    if (kLo > kHi) return;

    // offset = floor((2 k d + n) / 2n), kept as quotient and remainder: k d stays below 2^64.
    // A line that starts in the image (k = 0) needs no division.
    std::uint64_t rem = un;
    std::int64_t offset = 0;
    if (kLo > 0) {
        const std::uint64_t kd = static_cast<std::uint64_t>(kLo) * d;
        rem = 2 * (kd % un) + un;
        offset = static_cast<std::int64_t>(kd / un + rem / (2 * un));
        rem %= 2 * un;
    }

    uchar* const bits = dest.bits();
    const qsizetype stride = dest.bytesPerLine();
    const auto period = static_cast<std::int64_t>(dashOn.size());
    for (std::int64_t k = kLo; k <= kHi; ++k) {
        const std::int64_t minor = minor0 + minorStep * offset;
        if (minor >= 0 && minor < minorLimit && (period == 0 || dashOn[std::size_t((phase + k) % period)])) {
            const std::int64_t major = major0 + majorStep * k;
            const std::int64_t px = xMajor ? major : minor, py = xMajor ? minor : major;
            reinterpret_cast<QRgb*>(bits + stride * py)[px] = colour;
        }
        rem += 2 * d;
        if (rem >= 2 * un) {
            rem -= 2 * un;
            ++offset;
        }
    }
}

// A one-pixel polyline: every segment leaves out its end, which the next one starts on;
// the dash cycle runs on across the joints.
void RasterPolyline(QImage& dest, std::int64_t ox, std::int64_t oy, std::span<const QPoint> points,
                    bool closed, const TPen& pen) {
    std::vector<std::uint8_t> dashOn;
    bool on = true;
    for (const int run : DashRuns(pen.Style)) {
        dashOn.insert(dashOn.end(), std::size_t(run), std::uint8_t(on));
        on = !on;
    }
    const QRgb colour = TColorToRgb(pen.Color);
    std::int64_t phase = 0;
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const QPoint a = points[i], b = points[(i + 1) % points.size()];
        RasterLine(dest, ox, oy, a, b, colour, dashOn, phase);
        phase += std::max(std::abs(std::int64_t(b.x()) - a.x()), std::abs(std::int64_t(b.y()) - a.y()));
    }
}

QBrush MakeBrush(const TBrush& brush) {
    const QColor c = ToQColor(brush.Color);
    switch (brush.Style) {
    case TBrushStyle::bsSolid: return QBrush(c, Qt::SolidPattern);
    case TBrushStyle::bsClear: return QBrush(Qt::NoBrush);
    case TBrushStyle::bsHorizontal: return QBrush(c, Qt::HorPattern);
    case TBrushStyle::bsVertical: return QBrush(c, Qt::VerPattern);
    case TBrushStyle::bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
    case TBrushStyle::bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
    case TBrushStyle::bsCross: return QBrush(c, Qt::CrossPattern);
    case TBrushStyle::bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
    }
    return QBrush(Qt::NoBrush);
}

// The painter maps virtual (0, 0) to device (-ox, -oy). The brush origin stays at logical
// (0, 0), which Qt transforms with the painter: hatches are anchored to the virtual
// surface whatever the image shows.
void Prepare(QPainter& p, std::int64_t ox, std::int64_t oy) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setBackgroundMode(Qt::TransparentMode);
    p.translate(double(-ox), double(-oy));
}

// Which pixels of an 8x8 cell a brush paints, taken from Qt's own rendering of the brush
// so that FloodFill paints exactly the pixels a hatched Rectangle or FillRect would.
std::array<std::uint8_t, 64> BrushCell(TBrushStyle style) {
    std::array<std::uint8_t, 64> cell{};
    QImage probe(8, 8, QImage::Format_RGB32);
    probe.fill(0xFF000000u);
    {
        QPainter p(&probe);
        Prepare(p, 0, 0);
        p.fillRect(QRect(0, 0, 8, 8), MakeBrush({static_cast<TColor>(0xFFFFFF), style}));
    }
    for (int y = 0; y < 8; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
        for (int x = 0; x < 8; ++x) cell[std::size_t(y * 8 + x)] = (row[x] & 0xFFFFFFu) != 0;
    }
    return cell;
}

int Mod8(std::int64_t v) { return static_cast<int>(((v % 8) + 8) % 8); }

// Saturated at the int range: flattened curves can sit on its edge at huge zooms.
TRect BoundsOf(std::span<const QPoint> points) {
    TRect r{points[0].x(), points[0].y(), points[0].x(), points[0].y()};
    for (const QPoint& p : points) {
        r.Left = std::min(r.Left, p.x());
        r.Top = std::min(r.Top, p.y());
        r.Right = std::max(r.Right, p.x());
        r.Bottom = std::max(r.Bottom, p.y());
    }
    if (r.Right < std::numeric_limits<int>::max()) ++r.Right;
    if (r.Bottom < std::numeric_limits<int>::max()) ++r.Bottom;
    return r;
}


// Drops b from a-b-c when it lies on the segment from a to c: a straight run then draws as
// one line, the same pixels as LineTo from a to c.
bool IsBetween(const QPointF& a, const QPointF& b, const QPointF& c) {
    const QPointF ab = b - a, bc = c - b, ac = c - a;
    const double cross = ab.x() * ac.y() - ab.y() * ac.x();
    const double len = std::hypot(ac.x(), ac.y());
    return std::abs(cross) <= 1e-9 * (1.0 + len * len) && QPointF::dotProduct(ab, bc) >= 0;
}

// Cubic segments flattened by uniform steps: their count depends on the control points
// only, so a curve always gives the same polyline. With n steps the polyline strays at most
// 6 * max|second difference| / (8 n^2) from the curve, a quarter pixel at the n chosen.
std::vector<QPoint> FlattenBezier(std::span<const TPoint> points) {
    std::vector<QPointF> flat;
    flat.emplace_back(points[0].X, points[0].Y);
    auto keep = [&flat](const QPointF& q) {
        while (flat.size() >= 2 && IsBetween(flat[flat.size() - 2], flat.back(), q)) flat.pop_back();
        flat.push_back(q);
    };
    for (std::size_t i = 0; i + 3 < points.size(); i += 3) {
        const QPointF p0(points[i].X, points[i].Y), p1(points[i + 1].X, points[i + 1].Y);
        const QPointF p2(points[i + 2].X, points[i + 2].Y), p3(points[i + 3].X, points[i + 3].Y);
        const QPointF d1 = p0 - 2 * p1 + p2, d2 = p1 - 2 * p2 + p3;
        const double m = std::max(std::hypot(d1.x(), d1.y()), std::hypot(d2.x(), d2.y()));
        const int n = std::clamp(static_cast<int>(std::ceil(std::sqrt(3.0 * m))), 1, 4096);
        for (int k = 1; k <= n; ++k) {
            const double t = double(k) / n, u = 1.0 - t;
            const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
            keep(b0 * p0 + b1 * p1 + b2 * p2 + b3 * p3);
        }
    }
    std::vector<QPoint> out;
    out.reserve(flat.size());
    for (const QPointF& q : flat) {
        const QPoint r(RoundToInt32(q.x()), RoundToInt32(q.y()));
        if (out.empty() || out.back() != r) out.push_back(r);
    }
    return out;
}

QFont MakeFont(const TFont& f) {
    QFont font;
    if (!f.Name.empty()) font.setFamily(QString::fromStdString(f.Name));
    const int h = std::abs(f.Height);
    font.setPixelSize(h > 0 ? h : 12);
    font.setBold(f.Bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Canonical rectangle: the classic calls accept corners in either order.
TRect Normalized(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

}  // namespace

TImageCanvas::TImageCanvas(QImage& target) : Target(&target) {
    if (!target.isNull() && target.format() != QImage::Format_RGB32)
        target.convertTo(QImage::Format_RGB32);
    target.setDevicePixelRatio(1);
}

TImageCanvas::TImageCanvas(int width, int height)
    : Own(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32), Target(&Own) {
    Own.fill(0xFFFFFFFFu);
    Own.setDevicePixelRatio(1);
}

// What a call draws: Qt paints fills, wide pens and ellipses; one-pixel outlines are
// rasterised here on top.
struct TImageCanvas::TShapeParts {
    bool Filled = false;                     // the brush applies
    bool QtPen = false;                      // Paint strokes with the pen
    std::function<void(QPainter&)> Paint;    // in virtual coordinates
    std::span<const QPoint> Thin;            // a one-pixel outline, when not QtPen
    bool ThinClosed = false;
};

void TImageCanvas::PaintShape(const TRect& bounds, const TShapeParts& parts) {
    QImage& image = *Target;
    if (image.isNull()) return;
    const bool brushPaints = parts.Filled && Brush.Style != TBrushStyle::bsClear;
    const bool penPaints = Pen.Style != psClear;
    if (!brushPaints && !penPaints) return;
    auto render = [&](QImage& dest, std::int64_t ox, std::int64_t oy) {
        if (parts.Paint && (brushPaints || (penPaints && parts.QtPen))) {
            QPainter p(&dest);
            Prepare(p, ox, oy);
            p.setPen(parts.QtPen ? MakePen(Pen) : QPen(Qt::NoPen));
            p.setBrush(brushPaints ? MakeBrush(Brush) : QBrush(Qt::NoBrush));
            parts.Paint(p);
        }
        if (penPaints && !parts.QtPen && parts.Thin.size() >= 2)
            RasterPolyline(dest, ox, oy, parts.Thin, parts.ThinClosed, Pen);
    };
    if (Pen.Mode != TPenMode::pmNotXor) {
        render(image, OriginX, OriginY);
        return;
    }
    // Not-xor: a pixel that a call covers twice (the fill under an outline, a crossing)
    // must still change once, or it would undo itself. The call is drawn opaque onto a
    // transparent layer first, and each covered pixel combined once.
    const std::int64_t margin = std::max(Pen.Width, 1) + 2;
    const std::int64_t left = std::max<std::int64_t>(0, std::int64_t(bounds.Left) - OriginX - margin);
    const std::int64_t top = std::max<std::int64_t>(0, std::int64_t(bounds.Top) - OriginY - margin);
    const std::int64_t right =
        std::min<std::int64_t>(image.width(), std::int64_t(bounds.Right) - OriginX + margin);
    const std::int64_t bottom =
        std::min<std::int64_t>(image.height(), std::int64_t(bounds.Bottom) - OriginY + margin);
    if (left >= right || top >= bottom) return;
    const int w = int(right - left), h = int(bottom - top);
    QImage layer(w, h, QImage::Format_ARGB32_Premultiplied);
    layer.fill(0u);
    render(layer, OriginX + left, OriginY + top);
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(int(top) + y)) + left;
        for (int x = 0; x < w; ++x)
            if (qAlpha(src[x]) != 0) dst[x] = 0xFF000000u | ~(src[x] ^ dst[x]);
    }
}

bool TImageCanvas::ThinPen() const { return Pen.Width <= 1; }

// A one-pixel solid pen in copy mode draws nothing but the rasterised line: no layer, no
// painter, nothing allocated.
bool TImageCanvas::DirectPen() const {
    return Shortcuts && Pen.Mode == TPenMode::pmCopy && Pen.Width <= 1 && Pen.Style == TPenStyle::psSolid &&
           !Target->isNull();
}

// An open run of points: with a one-pixel pen rasterised here, else stroked by Qt.
void TImageCanvas::PaintPolyline(std::span<const QPoint> points) {
    if (points.size() < 2) return;
    if (DirectPen()) {
        RasterPolyline(*Target, OriginX, OriginY, points, false, Pen);
        return;
    }
    TShapeParts parts;
    const TRect bounds = BoundsOf(points);
    if (ThinPen()) {
        parts.Thin = points;
    } else {
        parts.QtPen = true;
        parts.Paint = [&points](QPainter& p) { p.drawPolyline(points.data(), int(points.size())); };
    }
    PaintShape(bounds, parts);
}

void TImageCanvas::LineTo(int x, int y) {
    const std::array<QPoint, 2> line{QPoint(PenPos_.X, PenPos_.Y), QPoint(x, y)};
    PenPos_ = {x, y};
    if (line[0] != line[1]) PaintPolyline(line);
}

void TImageCanvas::Polyline(std::span<const TPoint> points) {
    Points(points);
    PaintPolyline(Scratch);
}

void TImageCanvas::PolyBezier(std::span<const TPoint> points) {
    if (points.size() < 4) return;
    const std::vector<QPoint> flat = FlattenBezier(points);
    PaintPolyline(flat);
}

void TImageCanvas::Points(std::span<const TPoint> points) {
    Scratch.clear();
    for (const TPoint& p : points) Scratch.emplace_back(p.X, p.Y);
}

// A rectangle of whole pixels with its sides along the axes, given as four corners in
// either turn from any corner: what a plot or a rectangle figure usually is.
static bool AxisRectangle(std::span<const QPoint> q, QRect& r) {
    if (q.size() != 4) return false;
    const bool across = q[0].y() == q[1].y() && q[1].x() == q[2].x() && q[2].y() == q[3].y() && q[3].x() == q[0].x();
    const bool down = q[0].x() == q[1].x() && q[1].y() == q[2].y() && q[2].x() == q[3].x() && q[3].y() == q[0].y();
    if (!across && !down) return false;
    const int l = std::min(q[0].x(), q[2].x()), rr = std::max(q[0].x(), q[2].x());
    const int t = std::min(q[0].y(), q[2].y()), b = std::max(q[0].y(), q[2].y());
    // Sides of a pixel at least (a lone point draws nothing at all), within a range where
    // the sums below cannot overflow.
    constexpr int limit = 1 << 29;
    if (rr == l || b == t || l < -limit || rr > limit || t < -limit || b > limit) return false;
    r = QRect(QPoint(l, t), QPoint(rr, b));
    return true;
}

// Such a rectangle outlined with a one-pixel solid pen and filled solid or not at all:
// the outline's four lines cover its outer pixels exactly, and the fill shows only within
// them, where every pixel lies inside the polygon. So the pixels are set straight.
void TImageCanvas::AxisRectangleDirect(const QRect& r) {
    QImage& image = *Target;
    const int w = image.width(), h = image.height();
    const int l = r.left() - OriginX, t = r.top() - OriginY, rr = r.right() - OriginX, b = r.bottom() - OriginY;
    if (rr < 0 || b < 0 || l >= w || t >= h) return;
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    auto row = [bits, stride](int y) { return reinterpret_cast<QRgb*>(bits + stride * y); };
    const QRgb pen = TColorToRgb(Pen.Color);
    const int cl = std::max(l, 0), cr = std::min(rr, w - 1), ct = std::max(t, 0), cb = std::min(b, h - 1);
    if (t >= 0) std::fill(row(t) + cl, row(t) + cr + 1, pen);
    if (b < h) std::fill(row(b) + cl, row(b) + cr + 1, pen);
    const bool fill = Brush.Style == TBrushStyle::bsSolid;
    const QRgb brush = TColorToRgb(Brush.Color);
    const int il = std::max(l + 1, 0), ir = std::min(rr - 1, w - 1);
    for (int y = std::max(t + 1, ct); y <= std::min(b - 1, cb); ++y) {
        QRgb* line = row(y);
        if (l >= 0) line[l] = pen;
        if (rr < w) line[rr] = pen;
        if (fill && il <= ir) std::fill(line + il, line + ir + 1, brush);
    }
}

void TImageCanvas::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2) return;
    Points(points);
    const std::span<const QPoint> q = Scratch;
    if (DirectPen() && (Brush.Style == TBrushStyle::bsSolid || Brush.Style == TBrushStyle::bsClear)) {
        if (QRect r; AxisRectangle(q, r)) {
            AxisRectangleDirect(r);
            return;
        }
        if (Brush.Style == TBrushStyle::bsClear) {
            RasterPolyline(*Target, OriginX, OriginY, q, true, Pen);
            return;
        }
    }
    const Qt::FillRule rule =
        FillMode_ == TPolyFillMode::pfWinding ? Qt::WindingFill : Qt::OddEvenFill;
    TShapeParts parts;
    parts.Filled = true;
    parts.QtPen = !ThinPen();
    parts.Paint = [&q, rule](QPainter& p) { p.drawPolygon(q.data(), int(q.size()), rule); };
    const TRect bounds = BoundsOf(q);
    if (!parts.QtPen) {
        parts.Thin = q;
        parts.ThinClosed = true;
    }
    PaintShape(bounds, parts);
}

// Qt's QRect(x, y, w, h) outline covers x..x+w with a one-pixel pen: one less than the
// exclusive corner. A one-pixel outline goes round the outer pixels over a full fill.
void TImageCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    const TRect r = Normalized(x1, y1, x2, y2);
    if (r.Left == r.Right || r.Top == r.Bottom) return;
    const QRect outer(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    TShapeParts parts;
    parts.Filled = true;
    parts.QtPen = !ThinPen() && Pen.Style != psClear;
    const std::array<QPoint, 4> ring{outer.topLeft(), outer.topRight(), outer.bottomRight(), outer.bottomLeft()};
    if (parts.QtPen) {
        parts.Paint = [&outer](QPainter& p) { p.drawRect(outer.adjusted(0, 0, -1, -1)); };
    } else {
        parts.Paint = [&outer](QPainter& p) { p.fillRect(outer, p.brush()); };
        parts.Thin = ring;
        parts.ThinClosed = true;
    }
    PaintShape(r, parts);
}

void TImageCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    const TRect r = Normalized(x1, y1, x2, y2);
    if (r.Left == r.Right || r.Top == r.Bottom) return;
    TShapeParts parts;
    parts.Filled = true;
    parts.QtPen = true;
    parts.Paint = [&r](QPainter& p) {
        p.drawEllipse(QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
    };
    PaintShape(r, parts);
}

void TImageCanvas::FillRect(const TRect& rect) {
    QImage& image = *Target;
    if (image.isNull() || Brush.Style == TBrushStyle::bsClear) return;
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    QPainter p(&image);
    Prepare(p, OriginX, OriginY);
    p.fillRect(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top),
               MakeBrush(Brush));
}

// Span fill with an explicit stack: each popped seed grows to its whole run, which is
// painted and marked, and each run of fillable pixels above and below gets one seed.
// Marks, not colours, tell what is done (a hatch leaves pixels unchanged, and the brush
// may have any colour). The mark is the pixel's alpha byte, unused in RGB32, cleared while
// filling and set again at the end: one memory access tells both mark and colour.
void TImageCanvas::FloodFill(int x, int y, TColor borderColor) {
    QImage& image = *Target;
    if (image.isNull() || Brush.Style == TBrushStyle::bsClear) return;
    const int w = image.width(), h = image.height();
    const std::int64_t sx = std::int64_t(x) - OriginX, sy = std::int64_t(y) - OriginY;
    if (sx < 0 || sy < 0 || sx >= w || sy >= h) return;

    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    auto row = [bits, stride](int yy) { return reinterpret_cast<QRgb*>(bits + stride * yy); };
    const QRgb border = TColorToRgb(borderColor) & 0xFFFFFFu;
    auto fillable = [border](QRgb p) { return (p >> 24) != 0 && (p & 0xFFFFFFu) != border; };
    if (!fillable(row(int(sy))[sx])) return;

    const QRgb paint = TColorToRgb(Brush.Color) & 0xFFFFFFu;
    const bool solid = Brush.Style == TBrushStyle::bsSolid;
    const std::array<std::uint8_t, 64> cell = solid ? std::array<std::uint8_t, 64>{} : BrushCell(Brush.Style);
    const int cellX = Mod8(OriginX), cellY = Mod8(OriginY);

    int minX = int(sx), maxX = int(sx), minY = int(sy), maxY = int(sy);
    std::vector<std::pair<int, int>> seeds;
    seeds.emplace_back(int(sx), int(sy));
    while (!seeds.empty()) {
        const auto [px, py] = seeds.back();
        seeds.pop_back();
        QRgb* r = row(py);
        if (!fillable(r[px])) continue;
        int left = px, right = px;
        while (left > 0 && fillable(r[left - 1])) --left;
        while (right + 1 < w && fillable(r[right + 1])) ++right;
        if (solid) {
            std::fill(r + left, r + right + 1, paint);
        } else {
            const std::uint8_t* cellRow = cell.data() + ((py + cellY) & 7) * 8;
            for (int i = left; i <= right; ++i) r[i] = cellRow[(i + cellX) & 7] ? paint : r[i] & 0xFFFFFFu;
        }
        minX = std::min(minX, left);
        maxX = std::max(maxX, right);
        minY = std::min(minY, py);
        maxY = std::max(maxY, py);
        for (const int ny : {py - 1, py + 1}) {
            if (ny < 0 || ny >= h) continue;
            const QRgb* nr = row(ny);
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                const bool f = fillable(nr[i]);
                if (f && !inRun) seeds.emplace_back(i, ny);
                inRun = f;
            }
        }
    }
    for (int yy = minY; yy <= maxY; ++yy) {
        QRgb* r = row(yy);
        for (int i = minX; i <= maxX; ++i) r[i] |= 0xFF000000u;
    }
}

void TImageCanvas::SetPixel(int x, int y, TColor color) {
    QImage& image = *Target;
    const std::int64_t ix = std::int64_t(x) - OriginX, iy = std::int64_t(y) - OriginY;
    if (ix < 0 || iy < 0 || ix >= image.width() || iy >= image.height()) return;
    reinterpret_cast<QRgb*>(image.scanLine(int(iy)))[ix] = TColorToRgb(color);
}

TColor TImageCanvas::GetPixel(int x, int y) const {
    const QImage& image = *Target;
    const std::int64_t ix = std::int64_t(x) - OriginX, iy = std::int64_t(y) - OriginY;
    if (ix < 0 || iy < 0 || ix >= image.width() || iy >= image.height()) return PixelOutside;
    return RgbToTColor(reinterpret_cast<const QRgb*>(image.constScanLine(int(iy)))[ix]);
}

namespace {

// The pixels a text covers, from its top-left corner: runs of each row. Drawn without
// antialiasing, a text is a set of pixels in one colour, and where it lies moves them
// whole: Qt places glyphs on whole pixels relative to the origin, which is whole itself.
struct TTextMask {
    struct TRun {
        int Dy, Dx0, Dx1;  // pixels Dx0..Dx1 of row Dy
    };
    std::vector<TRun> Runs;
    bool Usable = false;  // false: it drew pixels of other colours, so it is drawn each time
};

// Texts laid out once per font, size and string: a map's labels repeat themselves from
// paint to paint. Process-wide, since each paint has a canvas of its own; the key holds
// all that decides the pixels, the family's substitutes included.
class TTextMasks {
public:
    const TTextMask& Get(const TFont& f, const QString& text, const std::string& key) {
        if (auto it = Masks.find(key); it != Masks.end()) return it->second;
        // A bound, not a policy: a miss costs what every text cost without the masks.
        if (Bytes > MaxBytes) {
            Masks.clear();
            Bytes = 0;
        }
        TTextMask& m = Masks.emplace(key, Render(f, text)).first->second;
        Bytes += key.size() + m.Runs.size() * sizeof(TTextMask::TRun) + 64;
        return m;
    }

private:
    static TTextMask Render(const TFont& f, const QString& text) {
        TTextMask m;
        const QFont font = MakeFont(f);
        const QFontMetrics metrics(font);
        const QRect bounds = metrics.boundingRect(text);
        const int margin = std::max(8, metrics.height());
        const int ox = margin - bounds.left(), oy = margin - bounds.top() - metrics.ascent();
        const int w = bounds.width() + 2 * margin, h = bounds.height() + 2 * margin;
        if (w <= 0 || h <= 0 || w > 8192 || h > 8192) return m;
        // The target's own format, black, the text in white: every pixel is one or the other.
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(0xFF000000u);
        {
            QPainter p(&image);
            Prepare(p, 0, 0);
            p.setFont(font);
            p.setPen(QColor(255, 255, 255));
            p.translate(ox, oy);
            p.drawText(QPoint(0, metrics.ascent()), text);
        }
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const QRgb px = row[x] & 0xFFFFFFu;
                if (px == 0) continue;
                // A pixel of another colour, or one on the edge (the text may reach past it).
                if (px != 0xFFFFFFu || x == 0 || y == 0 || x == w - 1 || y == h - 1) return TTextMask{};
                if (!m.Runs.empty() && m.Runs.back().Dy == y - oy && m.Runs.back().Dx1 == x - ox - 1)
                    ++m.Runs.back().Dx1;
                else
                    m.Runs.push_back({y - oy, x - ox, x - ox});
            }
        }
        m.Usable = true;
        return m;
    }
    static constexpr std::size_t MaxBytes = std::size_t{4} << 20;
    std::unordered_map<std::string, TTextMask> Masks;
    std::size_t Bytes = 0;
};

TTextMasks& TextMasks() {
    thread_local TTextMasks masks;
    return masks;
}

}  // namespace

void TImageCanvas::PaintText(const TRect* clip, int x, int y, const std::string& text) {
    QImage& image = *Target;
    if (image.isNull() || text.empty()) return;
    if (clip && (clip->Right <= clip->Left || clip->Bottom <= clip->Top)) return;
    const QString qtext = QString::fromStdString(text);
    // Upright text near the image, where Qt's own positions are far from their limits.
    constexpr std::int64_t near = std::int64_t{1} << 24;
    const std::int64_t ix = std::int64_t(x) - OriginX, iy = std::int64_t(y) - OriginY;
    if (Shortcuts && Font.Escapement == 0 && ix > -near && ix < near && iy > -near && iy < near) {
        const QString family = QString::fromStdString(Font.Name);
        std::string key = Font.Name;
        key += '\0';
        key += std::to_string(Font.Height) + (Font.Bold ? "b" : "r");
        key += '\0';
        for (const QString& sub : QFont::substitutes(family)) key += sub.toStdString() + ',';
        key += '\0';
        key += text;
        const TTextMask& mask = TextMasks().Get(Font, qtext, key);
        if (mask.Usable) {
            // Within the image and the clip (right and bottom exclusive).
            std::int64_t l = 0, t = 0, r = image.width(), b = image.height();
            if (clip) {
                l = std::max<std::int64_t>(l, std::int64_t(clip->Left) - OriginX);
                t = std::max<std::int64_t>(t, std::int64_t(clip->Top) - OriginY);
                r = std::min<std::int64_t>(r, std::int64_t(clip->Right) - OriginX);
                b = std::min<std::int64_t>(b, std::int64_t(clip->Bottom) - OriginY);
            }
            const QRgb colour = TColorToRgb(Font.Color);
            for (const TTextMask::TRun& run : mask.Runs) {
                const std::int64_t py = iy + run.Dy;
                if (py < t || py >= b) continue;
                const std::int64_t x0 = std::max(l, ix + run.Dx0), x1 = std::min(r - 1, ix + run.Dx1);
                if (x0 > x1) continue;
                QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(int(py)));
                std::fill(row + x0, row + x1 + 1, colour);
            }
            return;
        }
    }
    QPainter p(&image);
    Prepare(p, OriginX, OriginY);
    if (clip) p.setClipRect(QRect(clip->Left, clip->Top, clip->Right - clip->Left, clip->Bottom - clip->Top));
    const QFont font = MakeFont(Font);
    p.setFont(font);
    p.setPen(ToQColor(Font.Color));
    p.translate(x, y);
    // Qt turns clockwise on a y-down surface; the escapement turns counter-clockwise.
    if (Font.Escapement != 0) p.rotate(-Font.Escapement / 10.0);
    p.drawText(QPoint(0, QFontMetrics(font).ascent()), qtext);
}

void TImageCanvas::TextOut(int x, int y, const std::string& text) { PaintText(nullptr, x, y, text); }

void TImageCanvas::TextRect(const TRect& clip, int x, int y, const std::string& text) {
    PaintText(&clip, x, y, text);
}

int TImageCanvas::TextWidth(const std::string& text) const {
    return QFontMetrics(MakeFont(Font)).horizontalAdvance(QString::fromStdString(text));
}

int TImageCanvas::TextHeight(const std::string&) const { return QFontMetrics(MakeFont(Font)).height(); }

int TImageCanvas::Width() const { return Target->width(); }
int TImageCanvas::Height() const { return Target->height(); }

TRect TImageCanvas::ClipRect() const {
    return {OriginX, OriginY, OriginX + Target->width(), OriginY + Target->height()};
}

}  // namespace tarvek
