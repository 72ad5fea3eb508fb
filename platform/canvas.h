// The canvas the map is painted on: pen, brush and font state plus the drawing calls the
// painting code is written in. TCanvas is the interface (a printer canvas implements it
// too); TImageCanvas paints into a QImage.
//
// Exact colours: picking reads pixels back and compares them with the colour a figure was
// painted in, so TImageCanvas never blends. Shapes and text are drawn without
// antialiasing into Format_RGB32 at device-pixel ratio 1; every painted pixel is exactly
// the pen, brush or font colour (or, in not-xor mode, NOT(colour XOR pixel)).
//
// Coordinates are those of a virtual surface that can be far larger than the image:
// the image shows the part starting at (OriginX, OriginY), so virtual (x, y) is image
// pixel (x - OriginX, y - OriginY). Every call, GetPixel and FloodFill included, takes
// virtual coordinates. Rectangles are right/bottom exclusive.
//
// Pen: width 1 draws one-pixel lines whose last point is left out (LineTo, Polyline,
// PolyBezier), so joined segments meet without overlap. A styled (dashed) pen wider than
// 1 draws solid, as the drawings were made with; wider pens have round ends and joins.
// In not-xor mode each call (outline and fill together) changes every pixel it covers
// exactly once, so drawing the same call twice restores the image bit for bit and
// crossing or joined lines leave no holes. FillRect, FloodFill, SetPixel and text always
// copy.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/graphics.h"

namespace tarvek {

// No line. TPenStyle names only the styles a drawing file stores; the canvas adds this one
// past them (PenStyleFromIndex never yields it).
inline constexpr TPenStyle psClear = static_cast<TPenStyle>(5);

enum class TPenMode { pmCopy, pmNotXor };
enum class TPolyFillMode { pfAlternate, pfWinding };

// What GetPixel returns beyond the image (and what a canvas that cannot read returns).
inline constexpr TColor PixelOutside = -1;

// TColor ($00BBGGRR) -> opaque QRgb. System colours ($FF0000nn) have fixed values: button
// face (0x0F) #F0F0F0, window (0x05) #FFFFFF, window text (0x08) #000000, any other
// #F0F0F0. Other values use their low 24 bits.
QRgb TColorToRgb(TColor color);
// QRgb -> TColor ($00BBGGRR); alpha is dropped.
TColor RgbToTColor(QRgb rgb);

struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;  // Right, Bottom exclusive
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPen {
    TColor Color = 0x000000;
    int Width = 1;  // values below 1 draw as 1
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
};

// Hatched styles paint their lines in Color and leave the pixels between them alone; the
// hatch is aligned to the virtual surface's (0, 0), so neighbouring fills line up.
struct TBrush {
    TColor Color = 0xFFFFFF;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

struct TFont {
    std::string Name;         // UTF-8 family name; empty = the default sans-serif face
    int Height = 12;          // character cell height in pixels (sign ignored, 0 = 12)
    TColor Color = 0x000000;
    int Escapement = 0;       // tenths of degrees, counter-clockwise on screen
    bool Bold = false;
};

class TCanvas {
public:
    virtual ~TCanvas() = default;

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // Pen position, as MoveTo/LineTo leave it.
    TPoint PenPos() const { return PenPos_; }
    void MoveTo(int x, int y) { PenPos_ = {x, y}; }
    // A line from the pen position to (x, y), without the pixel at (x, y); the pen moves there.
    virtual void LineTo(int x, int y) = 0;
    void Line(int x1, int y1, int x2, int y2) {
        MoveTo(x1, y1);
        LineTo(x2, y2);
    }

    // Connected segments; the last point's pixel is left out. The pen position is unchanged.
    virtual void Polyline(std::span<const TPoint> points) = 0;
    // Closed outline with the pen, filled with the brush by the poly fill mode.
    virtual void Polygon(std::span<const TPoint> points) = 0;
    void SetPolyFillMode(TPolyFillMode mode) { FillMode_ = mode; }
    TPolyFillMode PolyFillMode() const { return FillMode_; }
    // Cubic Bézier segments from 1 + 3n points (extra points are ignored), flattened the
    // same way every time and drawn with the pen like Polyline.
    virtual void PolyBezier(std::span<const TPoint> points) = 0;
    // Pen outline on the rectangle's outer pixels, brush fill within (all of it when the
    // pen is clear).
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    // The ellipse inscribed in the rectangle, outlined and filled like Rectangle.
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    // The rectangle with the brush only.
    virtual void FillRect(const TRect& rect) = 0;
    // Fills, through the brush, the 4-connected region around (x, y) of pixels that are
    // not borderColor. A seed on borderColor or beyond the image fills nothing.
    virtual void FloodFill(int x, int y, TColor borderColor) = 0;

    virtual void SetPixel(int x, int y, TColor color) = 0;
    // $00BBGGRR of the pixel, PixelOutside beyond the image.
    virtual TColor GetPixel(int x, int y) const = 0;

    // Text with its top-left corner at (x, y), turned by Font.Escapement about (x, y),
    // on a transparent background.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    // The same, clipped to clip.
    virtual void TextRect(const TRect& clip, int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text) const = 0;
    virtual int TextHeight(const std::string& text) const = 0;

    // Size of the device in pixels, and the part of the virtual surface it shows.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual TRect ClipRect() const = 0;
    virtual bool IsPrinter() const = 0;

protected:
    TPoint PenPos_;
    TPolyFillMode FillMode_ = TPolyFillMode::pfAlternate;
};

class TImageCanvas : public TCanvas {
public:
    // Paints into target, which must outlive the canvas. It is converted to Format_RGB32
    // in place if it has another format.
    explicit TImageCanvas(QImage& target);
    // Paints into an image of its own, filled white.
    TImageCanvas(int width, int height);
    TImageCanvas(const TImageCanvas&) = delete;
    TImageCanvas& operator=(const TImageCanvas&) = delete;

    // Virtual coordinates of the image's top-left pixel.
    int OriginX = 0, OriginY = 0;
    // Off: every call is drawn the general way (Qt and the line rasteriser, texts laid
    // out each time); the pixels are the same, which the tests compare.
    bool Shortcuts = true;
    void SetOrigin(int x, int y) {
        OriginX = x;
        OriginY = y;
    }

    QImage& Image() { return *Target; }
    const QImage& Image() const { return *Target; }

    void LineTo(int x, int y) override;
    void Polyline(std::span<const TPoint> points) override;
    void Polygon(std::span<const TPoint> points) override;
    void PolyBezier(std::span<const TPoint> points) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void FillRect(const TRect& rect) override;
    void FloodFill(int x, int y, TColor borderColor) override;
    void SetPixel(int x, int y, TColor color) override;
    TColor GetPixel(int x, int y) const override;
    void TextOut(int x, int y, const std::string& text) override;
    void TextRect(const TRect& clip, int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) const override;
    int TextHeight(const std::string& text) const override;
    int Width() const override;
    int Height() const override;
    TRect ClipRect() const override;
    bool IsPrinter() const override { return false; }

private:
    struct TShapeParts;
    // Paints a shape's parts honouring Pen.Mode; bounds (virtual) must hold everything
    // drawn, the pen's width aside.
    void PaintShape(const TRect& bounds, const TShapeParts& parts);
    void PaintPolyline(std::span<const QPoint> points);
    bool ThinPen() const;
    bool DirectPen() const;
    void AxisRectangleDirect(const QRect& r);
    // points as QPoints, in Scratch.
    void Points(std::span<const TPoint> points);
    std::vector<QPoint> Scratch;
    void PaintText(const TRect* clip, int x, int y, const std::string& text);

    QImage Own;
    QImage* Target;
};

}  // namespace tarvek
