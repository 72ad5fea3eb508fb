// Drawing primitives of the map that need no figure store: elliptic arcs made of cubic
// Bézier pieces, arrow heads and dimension lines. The map painter uses them, and so does
// the rubber-band preview of the drawing tools.
//
// Angles on the canvas are taken with y pointing down, so a positive angle turns
// clockwise on the screen. Every real-to-pixel conversion rounds to nearest, halves to
// even; "div" is integer division toward zero.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/canvas.h"

namespace tarvek {

struct TDrawingState;

// Halfway between two pixels, each coordinate halved toward zero.
TPoint MidPoint(TPoint a, TPoint b);
double Distance(TPoint a, TPoint b);
// Bytes of the UTF-8 character at pos (1 for a stray byte, never past the end).
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

struct TVector2 {
    long double X = 0, Y = 0;
};

// (x cos a - y sin a, x sin a + y cos a), a in radians; extended precision so that the
// two turns of an arc point do not add up their errors before the final rounding.
TVector2 RotateVector(long double angle, long double x, long double y);

// An ellipse on the canvas: centre, half axes, and the direction of its first axis.
struct TEllipseGeometry {
    double CenterX = 0, CenterY = 0;
    double RadiusX = 0, RadiusY = 0;  // along the first axis, across it
    double RotationDeg = 0;
};

// Whether pixel p lies strictly inside the ellipse (never for one without area).
bool InsideEllipse(const TEllipseGeometry& ellipse, TPoint p);

// The ellipse of a kind-3 figure whose four corners are p (canvas pixels) and the part of
// it that is drawn: from the direction of its arc start point to that of its arc end
// point, seen from its centre (centre and arc points in any one unit), in whole degrees
// of the ellipse's own frame; the whole ellipse when the two arc points are equal.
struct TEllipseArc {
    TEllipseGeometry Ellipse;
    double StartDeg = 0, EndDeg = 360;
    bool Whole = true;
};
TEllipseArc EllipseArcOf(const std::array<TPoint, 4>& p, double centreX, double centreY, double startX,
                         double startY, double endX, double endY);

// One cubic Bézier piece of the ellipse from angle a0 to a1 (radians in the ellipse's own
// frame), drawn with the canvas pen in one PolyBezier call.
void DrawArcSegmentBezier(TCanvas& canvas, const TEllipseGeometry& ellipse, long double a0,
                          long double a1);

// The arc from startDeg to endDeg (degrees in the ellipse's own frame) in pieces of 60°
// and one shorter last piece; 0..360 is six pieces. Nothing when end <= start.
void DrawEllipticArc(TCanvas& canvas, const TEllipseGeometry& ellipse, double startDeg,
                     double endDeg);

// Two strokes at tip, pointing away from other. Their size follows the state's Zoom and
// DimensionTextSize, not the canvas.
void DrawArrowHead(TCanvas& canvas, const TDrawingState& s, TPoint tip, TPoint other);

// A dimension line from p1 to p2 with text along it and arrow heads, optionally with end
// ticks. Lines use the canvas pen; the text takes the canvas font name, is black and
// sized for a device of pixelsPerInch.
void DrawRotatedText(TCanvas& canvas, const TDrawingState& s, TPoint p1, TPoint p2,
                     const std::string& text, bool ticks, int pixelsPerInch = 96);

}  // namespace tarvek
