// The QImage canvas, offscreen: exact colours, not-xor, pixel placement, flood fill.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

constexpr TColor kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF, kBlue = 0xFF0000;
constexpr TColor kGreen = 0x00FF00;

std::set<TColor> ColoursOf(const TImageCanvas& c) {
    std::set<TColor> out;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) out.insert(c.GetPixel(c.OriginX + x, c.OriginY + y));
    return out;
}

int CountOf(const TImageCanvas& c, TColor colour) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) n += c.GetPixel(c.OriginX + x, c.OriginY + y) == colour;
    return n;
}

// Deterministic noise, so that a not-xor that is not undone exactly cannot hide.
void FillWithNoise(QImage& image) {
    std::uint32_t s = 12345;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            s = s * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (s >> 8));
        }
}

std::vector<TPoint> Star(int cx, int cy, int r) {
    std::vector<TPoint> pts;
    for (int k = 0; k < 5; ++k) {
        const double a = (-90.0 + 144.0 * k) * M_PI / 180.0;
        pts.push_back({cx + int(std::lround(r * std::cos(a))), cy + int(std::lround(r * std::sin(a)))});
    }
    return pts;
}

std::vector<TPoint> Circle(int cx, int cy, int r) {  // closed: the last point is the first
    std::vector<TPoint> pts;
    for (int k = 0; k <= 36; ++k) {
        const double a = k * 10.0 * M_PI / 180.0;
        pts.push_back({cx + int(std::lround(r * std::cos(a))), cy + int(std::lround(r * std::sin(a)))});
    }
    return pts;
}

struct TShape {
    const char* Name;
    std::function<void(TCanvas&)> Draw;
};

// Shapes on a 64x64 canvas; the filled ones use whatever brush the test set.
const std::vector<TShape>& Shapes() {
    static const std::vector<TShape> shapes = {
        {"line", [](TCanvas& c) { c.Line(3, 5, 60, 41); }},
        {"dashed line", [](TCanvas& c) { c.Pen.Style = TPenStyle::psDashDot; c.Line(2, 30, 62, 33); }},
        {"crossing polyline",
         [](TCanvas& c) {
             const TPoint p[] = {{5, 5}, {58, 58}, {58, 5}, {5, 58}, {5, 20}, {40, 20}};
             c.Polyline(p);
         }},
        {"rectangle outline",
         [](TCanvas& c) { c.Brush.Style = TBrushStyle::bsClear; c.Rectangle(4, 6, 50, 40); }},
        {"filled rectangle", [](TCanvas& c) { c.Rectangle(10, 12, 55, 50); }},
        {"ellipse", [](TCanvas& c) { c.Ellipse(6, 8, 57, 45); }},
        {"bezier",
         [](TCanvas& c) {
             const TPoint p[] = {{4, 60}, {10, -20}, {50, 90}, {60, 4}, {30, 30}, {10, 50}, {4, 4}};
             c.PolyBezier(p);
         }},
        {"ellipse-like polyline", [](TCanvas& c) { c.Polyline(Circle(32, 32, 25)); }},
        {"hatched star",
         [](TCanvas& c) {
             c.Brush.Style = TBrushStyle::bsDiagCross;
             c.SetPolyFillMode(TPolyFillMode::pfWinding);
             c.Polygon(Star(32, 32, 28));
         }},
    };
    return shapes;
}

TEST(Canvas, ShapesPaintOnlyPenAndBrushColours) {
    for (const TShape& shape : Shapes())
        for (const int width : {1, 2, 3}) {
            SCOPED_TRACE(std::string(shape.Name) + " width " + std::to_string(width));
            TImageCanvas c(64, 64);
            c.Pen.Color = kRed;
            c.Pen.Width = width;
            c.Brush.Color = kBlue;
            shape.Draw(c);
            const std::set<TColor> colours = ColoursOf(c);
            EXPECT_TRUE(colours.count(kRed));
            for (const TColor col : colours) EXPECT_TRUE(col == kRed || col == kBlue || col == kWhite) << col;
        }
}

TEST(Canvas, DashedPenLeavesGapsAlongTheLine) {
    for (const TPenStyle style : {TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDot,
                                  TPenStyle::psDashDotDot}) {
        TImageCanvas c(80, 3);
        c.Pen.Style = style;
        c.Line(0, 1, 80, 1);
        const int painted = CountOf(c, kBlack);
        EXPECT_GT(painted, 10);
        EXPECT_LT(painted, 70);
    }
}

TEST(Canvas, NotXorTwiceRestoresTheImage) {
    for (const TShape& shape : Shapes())
        for (const int width : {1, 2}) {
            SCOPED_TRACE(std::string(shape.Name) + " width " + std::to_string(width));
            QImage image(64, 64, QImage::Format_RGB32);
            FillWithNoise(image);
            const QImage before = image.copy();
            TImageCanvas c(image);
            c.Pen.Color = 0x3366CC;
            c.Pen.Width = width;
            c.Pen.Mode = TPenMode::pmNotXor;
            c.Brush.Color = 0x55AA11;
            shape.Draw(c);
            EXPECT_NE(image, before);
            shape.Draw(c);
            EXPECT_EQ(image, before);
        }
}

// On white, not-xor paints a colour as itself: any pixel hit twice in one call (a joint, a
// crossing, the fill under the outline) would show as a white hole.
TEST(Canvas, NotXorOnWhiteLooksLikeCopy) {
    for (const TShape& shape : Shapes())
        for (const int width : {1, 2}) {
            SCOPED_TRACE(std::string(shape.Name) + " width " + std::to_string(width));
            TImageCanvas copy(64, 64), notXor(64, 64);
            for (TImageCanvas* c : {&copy, &notXor}) {
                c->Pen.Color = kRed;
                c->Pen.Width = width;
                c->Brush.Color = kBlue;
            }
            notXor.Pen.Mode = TPenMode::pmNotXor;
            shape.Draw(copy);
            shape.Draw(notXor);
            EXPECT_EQ(notXor.Image(), copy.Image());
        }
}

TEST(Canvas, LineToLeavesOutItsEndPixel) {
    const struct {
        int x1, y1, x2, y2;
    } cases[] = {{2, 5, 20, 5}, {20, 6, 2, 6}, {4, 1, 4, 19}, {5, 19, 5, 1},
                 {1, 1, 19, 19}, {2, 3, 21, 9}, {20, 2, 14, 21}};
    for (const auto& k : cases) {
        SCOPED_TRACE(std::to_string(k.x1) + "," + std::to_string(k.y1) + " -> " +
                     std::to_string(k.x2) + "," + std::to_string(k.y2));
        TImageCanvas c(24, 24);
        c.MoveTo(k.x1, k.y1);
        c.LineTo(k.x2, k.y2);
        EXPECT_EQ(c.GetPixel(k.x1, k.y1), kBlack);
        EXPECT_EQ(c.GetPixel(k.x2, k.y2), kWhite);
        EXPECT_EQ(CountOf(c, kBlack), std::max(std::abs(k.x2 - k.x1), std::abs(k.y2 - k.y1)));
        EXPECT_EQ(c.PenPos(), (TPoint{k.x2, k.y2}));
    }
}

TEST(Canvas, PolylinePaintsItsJointsButNotItsLastPoint) {
    TImageCanvas c(16, 16);
    const TPoint p[] = {{2, 2}, {10, 2}, {10, 10}, {4, 10}};
    c.Polyline(p);
    EXPECT_EQ(c.GetPixel(10, 2), kBlack);
    EXPECT_EQ(c.GetPixel(10, 10), kBlack);
    EXPECT_EQ(c.GetPixel(4, 10), kWhite);
    EXPECT_EQ(CountOf(c, kBlack), 8 + 8 + 6);
}

TEST(Canvas, RectangleOutlinesItsOuterPixelsAndFillsInside) {
    TImageCanvas c(20, 20);
    c.Pen.Color = kRed;
    c.Brush.Color = kBlue;
    c.Rectangle(3, 4, 13, 10);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 13 && y >= 4 && y < 10;
            const bool edge = inside && (x == 3 || x == 12 || y == 4 || y == 9);
            EXPECT_EQ(c.GetPixel(x, y), edge ? kRed : inside ? kBlue : kWhite) << x << "," << y;
        }
}

TEST(Canvas, OriginOffsetPlacesAndReadsVirtualCoordinates) {
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
    TImageCanvas c(image);
    c.SetOrigin(10000, 20000);
    c.SetPixel(10010, 20020, kRed);
    c.Pen.Color = kBlue;
    c.Line(10005, 20050, 10015, 20050);
    EXPECT_EQ(image.pixel(10, 20), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(5, 50), 0xFF0000FFu);
    EXPECT_EQ(image.pixel(14, 50), 0xFF0000FFu);
    EXPECT_EQ(c.GetPixel(10010, 20020), kRed);
    EXPECT_EQ(CountOf(c, kWhite), 100 * 100 - 11);
    EXPECT_EQ(c.ClipRect(), (TRect{10000, 20000, 10100, 20100}));
    for (const TPoint p : {TPoint{9999, 20000}, TPoint{10000, 19999}, TPoint{10100, 20050},
                           TPoint{10050, 20100}, TPoint{10, 20}})
        EXPECT_EQ(c.GetPixel(p.X, p.Y), PixelOutside) << p.X << "," << p.Y;
}

TEST(Canvas, PolyFillModeDecidesTheStarsCentre) {
    const struct {
        TPolyFillMode mode;
        TColor centre;
    } cases[] = {{TPolyFillMode::pfWinding, kBlue}, {TPolyFillMode::pfAlternate, kWhite}};
    for (const auto& k : cases) {
        TImageCanvas c(100, 100);
        c.Pen.Style = psClear;
        c.Brush.Color = kBlue;
        c.SetPolyFillMode(k.mode);
        c.Polygon(Star(50, 50, 45));
        EXPECT_EQ(c.GetPixel(50, 50), k.centre);
        EXPECT_EQ(c.GetPixel(50, 15), kBlue);  // inside the top point either way
        EXPECT_EQ(c.GetPixel(5, 95), kWhite);
    }
}

TEST(Canvas, StraightBezierPaintsTheLine) {
    const struct {
        TPoint p0, p1, p2, p3;
    } cases[] = {
        {{2, 10}, {22, 10}, {42, 10}, {62, 10}},  // even thirds
        {{3, 3}, {21, 12}, {39, 21}, {57, 30}},
        {{5, 60}, {9, 40}, {13, 20}, {17, 0}},
        {{4, 4}, {30, 30}, {30, 30}, {60, 60}},  // uneven speed along the line
        {{60, 2}, {50, 20}, {40, 38}, {10, 92}},
    };
    for (const auto& k : cases) {
        for (const int width : {1, 2}) {
            TImageCanvas curve(64, 96), line(64, 96);
            curve.Pen.Width = line.Pen.Width = width;
            const TPoint p[] = {k.p0, k.p1, k.p2, k.p3};
            curve.PolyBezier(p);
            line.Line(k.p0.X, k.p0.Y, k.p3.X, k.p3.Y);
            EXPECT_EQ(curve.Image(), line.Image()) << k.p0.X << "," << k.p0.Y << " width " << width;
        }
    }
}

TEST(Canvas, FloodFillFillsExactlyTheEnclosedRegion) {
    TImageCanvas c(40, 40);
    c.Pen.Color = kRed;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Rectangle(10, 10, 30, 25);
    c.SetPixel(20, 15, kGreen);  // not the border colour: filled over
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = kBlue;
    c.FloodFill(12, 20, kRed);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool box = x >= 10 && x < 30 && y >= 10 && y < 25;
            const bool inside = x > 10 && x < 29 && y > 10 && y < 24;
            EXPECT_EQ(c.GetPixel(x, y), inside ? kBlue : box ? kRed : kWhite) << x << "," << y;
        }
}

// A one-pixel diagonal touches its neighbours only at corners; the fill must not leak there.
TEST(Canvas, FloodFillDoesNotLeakThroughDiagonalCorners) {
    TImageCanvas c(40, 40);
    c.Pen.Color = kRed;
    c.Line(0, 0, 40, 40);
    c.Brush.Color = kBlue;
    c.FloodFill(30, 5, kRed);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            EXPECT_EQ(c.GetPixel(x, y), x > y ? kBlue : x == y ? kRed : kWhite) << x << "," << y;
}

// The fill at a shifted origin equals the same part of a brush fill over the surface from
// virtual (0, 0): hatches are anchored to the surface, so neighbouring fills line up.
TEST(Canvas, HatchedFloodFillPaintsOnlyTheHatchAnchoredToTheSurface) {
    for (const TBrushStyle style : {TBrushStyle::bsHorizontal, TBrushStyle::bsVertical,
                                    TBrushStyle::bsFDiagonal, TBrushStyle::bsBDiagonal,
                                    TBrushStyle::bsCross, TBrushStyle::bsDiagCross}) {
        SCOPED_TRACE(static_cast<int>(style));
        TImageCanvas reference(64, 64), shifted(40, 40);
        shifted.SetOrigin(13, 21);
        for (TImageCanvas* c : {&reference, &shifted}) {
            c->Brush.Color = kRed;
            c->Brush.Style = style;
        }
        reference.FillRect({0, 0, 64, 64});
        shifted.FloodFill(30, 40, kBlack);
        EXPECT_EQ(shifted.Image(), reference.Image().copy(13, 21, 40, 40));
        const std::set<TColor> colours = ColoursOf(shifted);
        EXPECT_EQ(colours, (std::set<TColor>{kRed, kWhite}));
    }
}

TEST(Canvas, CallsThatPaintNothing) {
    const struct {
        const char* name;
        std::function<void(TImageCanvas&)> call;
    } cases[] = {
        {"fill seeded on the border", [](TImageCanvas& c) { c.FloodFill(5, 5, kRed); }},
        {"fill seeded outside", [](TImageCanvas& c) { c.FloodFill(40, 5, kBlack); }},
        {"fill seeded before the origin", [](TImageCanvas& c) { c.FloodFill(-1, 0, kBlack); }},
        {"fill with a clear brush",
         [](TImageCanvas& c) { c.Brush.Style = TBrushStyle::bsClear; c.FloodFill(1, 1, kBlack); }},
        {"clear pen line", [](TImageCanvas& c) { c.Pen.Style = psClear; c.Line(0, 3, 30, 3); }},
        {"clear brush rectangle",
         [](TImageCanvas& c) { c.Brush.Style = TBrushStyle::bsClear; c.FillRect({0, 0, 30, 30}); }},
        {"clear pen and brush",
         [](TImageCanvas& c) {
             c.Pen.Style = psClear;
             c.Brush.Style = TBrushStyle::bsClear;
             c.Rectangle(1, 1, 20, 20);
         }},
        {"line from a point to itself", [](TImageCanvas& c) { c.Line(9, 9, 9, 9); }},
    };
    for (const auto& k : cases) {
        TImageCanvas c(30, 30);
        c.SetPixel(5, 5, kRed);
        const QImage before = c.Image().copy();
        c.Brush.Color = kBlue;
        k.call(c);
        EXPECT_EQ(c.Image(), before) << k.name;
    }
}

// How long it takes is the benchmark's (BM_FloodFillOpenImage in bench/).
TEST(Canvas, FloodFillOfALargeOpenImageFillsEveryPixel) {
    TImageCanvas c(2000, 2000);
    c.Brush.Color = kBlue;
    c.FloodFill(1000, 1000, kRed);
    EXPECT_EQ(CountOf(c, kBlue), 2000 * 2000);
}

// One corridor a pixel wide that visits every column in turn: two million runs deep for a
// fill that recursed.
TEST(Canvas, FloodFillFollowsALongSerpentine) {
    TImageCanvas c(2000, 2000);
    c.Pen.Color = kRed;
    for (int x = 1; x < 2000; x += 2) c.Line(x, (x / 2) % 2 ? 1 : 0, x, (x / 2) % 2 ? 2000 : 1999);
    const int open = CountOf(c, kWhite);
    c.Brush.Color = kBlue;
    c.FloodFill(0, 0, kRed);
    EXPECT_EQ(CountOf(c, kBlue), open);
    EXPECT_EQ(CountOf(c, kWhite), 0);
}

TEST(Canvas, ColourConversionsAndSystemColours) {
    const struct {
        TColor colour;
        QRgb rgb;
    } cases[] = {
        {static_cast<TColor>(0xFF00000Fu), 0xFFF0F0F0u}, {static_cast<TColor>(0xFF000005u), 0xFFFFFFFFu},
        {static_cast<TColor>(0xFF000008u), 0xFF000000u}, {static_cast<TColor>(0xFF000063u), 0xFFF0F0F0u},
        {0x00123456, 0xFF563412u},                       {kRed, 0xFFFF0000u},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(TColorToRgb(k.colour), k.rgb) << k.colour;
        TImageCanvas c(4, 4);
        c.Brush.Color = k.colour;
        c.FillRect({0, 0, 4, 4});
        EXPECT_EQ(c.Image().pixel(2, 2), k.rgb);
        EXPECT_EQ(TColorToRgb(c.GetPixel(2, 2)), k.rgb);
    }
    EXPECT_EQ(RgbToTColor(0xFF563412u), 0x00123456);
}

TEST(Canvas, TextIsBlackAndWhiteAndTurnsUpward) {
    const struct {
        int escapement;
        bool bold;
    } cases[] = {{0, false}, {0, true}, {900, false}, {450, true}, {-300, false}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.escapement);
        TImageCanvas c(240, 240);
        c.Font.Height = 18;
        c.Font.Bold = k.bold;
        c.Font.Escapement = k.escapement;
        const std::string text = "寺 Plot 12-3";
        c.TextOut(120, 120, text);
        EXPECT_EQ(ColoursOf(c), (std::set<TColor>{kBlack, kWhite}));
        const int w = c.TextWidth(text), h = c.TextHeight(text);
        ASSERT_GT(w, 40);
        // Where the ink may lie: the text's box, turned about its top-left corner.
        const double a = k.escapement / 10.0 * M_PI / 180.0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 240; ++x) {
                if (c.GetPixel(x, y) != kBlack) continue;
                const double dx = x + 0.5 - 120, dy = y + 0.5 - 120;
                const double along = dx * std::cos(a) - dy * std::sin(a);
                const double down = dx * std::sin(a) + dy * std::cos(a);
                EXPECT_TRUE(along > -2 && along < w + 2 && down > -2 && down < h + 2) << x << "," << y;
            }
    }
}

TEST(Canvas, TextRectPaintsOnlyInsideItsRectangle) {
    TImageCanvas c(200, 60);
    c.SetOrigin(500, 500);
    c.Font.Height = 24;
    c.TextRect({520, 505, 560, 515}, 510, 500, "Temple grounds");
    EXPECT_GT(CountOf(c, kBlack), 0);
    for (int y = 500; y < 560; ++y)
        for (int x = 500; x < 700; ++x)
            if (c.GetPixel(x, y) == kBlack) {
                EXPECT_TRUE(x >= 520 && x < 560 && y >= 505 && y < 515) << x << "," << y;
            }
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QGuiApplication>(argc, argv); }
