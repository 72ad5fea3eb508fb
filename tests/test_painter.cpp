// Painting of the map into image canvases, offscreen: colours of selection, fills, labels
// and marks read back as pixels; layout and culling read from what the canvas was asked
// to draw.
#include <gtest/gtest.h>

#include <QFont>
#include <QGuiApplication>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "view/figure_render.h"
#include "view/painter.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

constexpr TColor kWhite = 0xFFFFFF, kBlack = 0x000000, kLime = 0x00FF00, kAqua = 0xFFFF00;
constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000, kYellow = 0x00FFFF, kMesh = 0xC0C000;
constexpr TColor kGrey = 0x808080;
constexpr int kSolidBrush = 0, kClearBrush = 1;

// A page for the tests: an image that says it is a printer.
class TPageCanvas : public TImageCanvas {
public:
    using TImageCanvas::TImageCanvas;
    bool IsPrinter() const override { return true; }
};

// Records what it is asked to draw, then draws it.
template <class Base>
class TRecording : public Base {
public:
    using Base::Base;
    struct TText {
        int X, Y;
        std::string Text;
        int Height, Escapement;
        bool Clipped;
        TRect Clip;
    };
    int Polygons = 0;
    std::vector<std::vector<TPoint>> Beziers;
    std::vector<TText> Texts;

    void Polygon(std::span<const TPoint> p) override {
        ++Polygons;
        Base::Polygon(p);
    }
    void PolyBezier(std::span<const TPoint> p) override {
        Beziers.emplace_back(p.begin(), p.end());
        Base::PolyBezier(p);
    }
    void TextOut(int x, int y, const std::string& t) override {
        Texts.push_back({x, y, t, this->Font.Height, this->Font.Escapement, false, {}});
        Base::TextOut(x, y, t);
    }
    void TextRect(const TRect& clip, int x, int y, const std::string& t) override {
        Texts.push_back({x, y, t, this->Font.Height, this->Font.Escapement, true, clip});
        Base::TextRect(clip, x, y, t);
    }
};
using TScreen = TRecording<TImageCanvas>;
using TPage = TRecording<TPageCanvas>;

// Figures are placed in pixels of zoom 10 (100 drawing units each).
TDateRec Quad(int kind, TPoint p1, TPoint p2, TPoint p3, TPoint p4) {
    TDateRec r;
    r.Kind = kind;
    r.X1 = p1.X * 100.0, r.Y1 = p1.Y * 100.0, r.X2 = p2.X * 100.0, r.Y2 = p2.Y * 100.0;
    r.X3 = p3.X * 100.0, r.Y3 = p3.Y * 100.0, r.X4 = p4.X * 100.0, r.Y4 = p4.Y * 100.0;
    r.Text = "0";
    r.PenColor = kBlue;
    r.BrushColor = kYellow;
    r.PenWidth = 1;
    r.BrushStyle = kSolidBrush;
    r.FontName = "ＭＳ 明朝";
    return r;
}
TDateRec Box(int kind, int l, int t, int r, int b) { return Quad(kind, {l, t}, {r, t}, {r, b}, {l, b}); }
TDateRec Segment(int kind, TPoint a, TPoint b) { return Quad(kind, a, a, b, b); }
TDateRec Plot(int l, int t, int r, int b, const std::string& household, const std::string& head = "") {
    TDateRec p = Box(fkPlot, l, t, r, b);
    p.IsPlot = 1;
    p.Text = household;
    p.HeadName = head;
    return p;
}

class Painting : public ::testing::Test {
protected:
    Painting() {
        S.Zoom = 10;
        // Frame: left = scroll - 8, right = left + 206; the paint box is 200 x 150.
        In.ScrollBoxWidth = 236;
        In.ScrollBoxHeight = 186;
        In.PaintBoxWidth = 200;
        In.PaintBoxHeight = 150;
        // A page of the paint box's size: the printer maps drawing units as the screen does.
        In.PageWidth = 200;
        In.PageHeight = 150;
    }
    std::int32_t Add(const TDateRec& r) {
        S.Fig(++S.FigureCount) = r;
        UpdateFigureBounds(S, S.FigureCount);
        return S.FigureCount;
    }
    std::unique_ptr<TScreen> Screen(int w = 200, int h = 150) {
        auto c = std::make_unique<TScreen>(w, h);
        c->SetOrigin(In.ScrollX, In.ScrollY);
        DrawDrawing(S, *c, In);
        return c;
    }
    std::unique_ptr<TPage> Page(int originX = 0, int w = 200, int h = 150) {
        auto c = std::make_unique<TPage>(w, h);
        c->SetOrigin(originX, 0);
        DrawDrawing(S, *c, In);
        return c;
    }
    static int Count(const TImageCanvas& c, TRect r, TColor colour) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += c.GetPixel(x, y) == colour;
        return n;
    }

    TScriptedUi Ui;
    TDrawingState S{Ui};
    TPaintInputs In;
};

TEST_F(Painting, ScreenPointsRoundHalvesToEven) {
    struct TCase {
        double Units;
        int Zoom, Pixel;
    } cases[] = {{1250, 2, 2}, {1750, 2, 4}, {2500, 1, 2}, {3500, 1, 4}, {-2500, 1, -2},
                 {1251, 2, 3}, {125, 20, 2}, {175, 20, 4}, {50, 50, 2}, {70, 50, 4}};
    Add(Segment(fkLine, {0, 0}, {0, 0}));
    for (const TCase& c : cases) {
        S.Zoom = c.Zoom;
        S.Fig(1).X1 = c.Units;
        S.Fig(1).Y3 = c.Units;
        TImageCanvas canvas(10, 10);
        TMapPainter p(S, canvas, In);
        p.ComputeFigureScreenPoints(1);
        EXPECT_EQ(p.ScreenPoints[0].X, c.Pixel) << c.Units << " at zoom " << c.Zoom;
        EXPECT_EQ(p.ScreenPoints[2].Y, c.Pixel) << c.Units << " at zoom " << c.Zoom;
    }
}

// Pixels are taken without a division where the quotient is far from a half: every value
// must round as x * Zoom / 1000 itself does.
TEST(PaintFrameScale, EveryValueScalesAsTheDivisionRounds) {
    std::uint64_t seed = 3;
    auto next = [&seed] {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return seed >> 11;
    };
    for (const double zoom : {1.0, 2.0, 4.0, 5.0, 8.0, 10.0, 20.0, 25.0, 50.0, 13.0, 3.7, 1234.5678}) {
        TPaintFrame f;
        f.ScaleTimes1000 = zoom;
        for (int k = 0; k < 100000; ++k) {
            const double units = static_cast<double>(static_cast<std::int64_t>(next() % 4000000001) - 2000000000) / 1000;
            // Halves and their neighbours, and values of every size.
            const double half = (static_cast<double>(static_cast<std::int64_t>(next() % 2000001) - 1000000) + 0.5) *
                                1000 / zoom;
            const double wide = std::ldexp(static_cast<double>(next()), static_cast<int>(next() % 90) - 60);
            for (const double v : {units, half, std::nextafter(half, 1e300), std::nextafter(half, -1e300), wide, -wide})
                ASSERT_EQ(f.Scaled(v), RoundToInt32(v * zoom / 1000.0)) << v << " at " << zoom;
        }
    }
}

TEST_F(Painting, PrinterFrameStretchesTheScrollBoxToThePage) {
    struct TCase {
        int Zoom, BoxW, BoxH, PageW, PageH, ScrollX, ScrollY;
        double Scale;
        int Left, Top, Right, Bottom;
    } cases[] = {
        {1, 218, 218, 400, 500, 10, 5, 0.002, 20, -40, 420, 460},   // zoom 1: box - 18
        {2, 236, 236, 400, 500, 10, 5, 0.004, 20, -40, 420, 460},   // other zooms: box - 36
        {2, 218, 218, 364, 500, 10, 5, 0.004, 20, -58, 384, 442},
        {1, 218, 218, 300, 301, 5, 3, 0.0015, 8, 4, 308, 305},      // 7.5 -> 8, 4.5 -> 4, 0.5 -> 0
    };
    for (const TCase& c : cases) {
        S.Zoom = c.Zoom;
        In.ScrollBoxWidth = c.BoxW;
        In.ScrollBoxHeight = c.BoxH;
        In.PageWidth = c.PageW;
        In.PageHeight = c.PageH;
        In.ScrollX = c.ScrollX;
        In.ScrollY = c.ScrollY;
        TPageCanvas page(10, 10);
        const TPaintFrame f = TMapPainter(S, page, In).PaintFrame;
        EXPECT_DOUBLE_EQ(f.Scale, c.Scale) << c.PageW;
        EXPECT_EQ(f.Left, c.Left) << c.PageW;
        EXPECT_EQ(f.Top, c.Top) << c.PageW;
        EXPECT_EQ(f.Right, c.Right) << c.PageW;
        EXPECT_EQ(f.Bottom, c.Bottom) << c.PageW;
        EXPECT_EQ(f.OffsetX, c.Left);
        EXPECT_EQ(f.OffsetY, c.Top);
    }
}

TEST_F(Painting, SelectedFiguresAreLimeOnTheScreenOnly) {
    TDateRec line = Segment(fkLine, {20, 50}, {180, 50});
    line.PenColor = kRed;
    line.Selected = 1;
    Add(line);
    TDateRec text = Box(fkText, 40, 80, 80, 120);
    text.Text = "墓";
    text.Aux1 = 1.0;
    text.PenColor = kRed;
    text.Selected = 1;
    Add(text);
    const auto screen = Screen();
    EXPECT_EQ(screen->GetPixel(100, 50), kLime);
    EXPECT_GT(Count(*screen, {40, 80, 80, 120}, kLime), 40);
    EXPECT_EQ(Count(*screen, {0, 0, 200, 150}, kRed), 0);
    const auto page = Page();
    EXPECT_EQ(page->GetPixel(100, 50), kRed);
    EXPECT_GT(Count(*page, {40, 80, 80, 120}, kRed), 40);
    EXPECT_EQ(Count(*page, {0, 0, 200, 150}, kLime), 0);
}

TEST_F(Painting, FreePlotsAreFilledOwnedPlotsAreOutlines) {
    struct TCase {
        const char* Household;
        int BrushStyle;
        TColor Inside;
    } cases[] = {
        {"0", kSolidBrush, kYellow},
        {"000000", kSolidBrush, kYellow},
        {"abc", kSolidBrush, kYellow},  // no household number: free, not an error
        {"", kSolidBrush, kYellow},
        {"000012", kSolidBrush, kWhite},
        {"0", 99, kWhite},  // a brush index beyond the table is clear
    };
    for (const TCase& c : cases) {
        S.FigureCount = 0;
        TDateRec plot = Plot(20, 20, 180, 140, c.Household);
        plot.BrushStyle = c.BrushStyle;
        Add(plot);
        std::unique_ptr<TScreen> screen;
        ASSERT_NO_THROW(screen = Screen()) << c.Household;
        EXPECT_EQ(screen->GetPixel(100, 80), c.Inside) << c.Household;
        EXPECT_EQ(screen->GetPixel(100, 20), kBlue) << c.Household;
    }
}

TEST_F(Painting, ClosedFiguresOfEveryBuildAreFilled) {
    enum TShape { Ellipse, PolygonEdges, RoundedPieces, ClosedCurve };
    struct TCase {
        TShape Shape;
        bool OwnedPlot;
        TColor Inside;
    } cases[] = {{Ellipse, false, kYellow},      {PolygonEdges, false, kYellow},
                 {RoundedPieces, false, kYellow}, {ClosedCurve, false, kYellow},
                 {ClosedCurve, true, kWhite},     {Ellipse, true, kWhite}};
    const TPoint corners[] = {{40, 30}, {160, 30}, {160, 120}, {40, 120}};
    for (const TCase& c : cases) {
        S.FigureCount = 0;
        std::int32_t parent = 0;
        if (c.Shape == Ellipse) {
            parent = Add(Box(fkEllipse, 40, 30, 160, 120));
        } else {
            const int piece = c.Shape == PolygonEdges ? fkPolygonEdge
                              : c.Shape == RoundedPieces ? fkRoundPolygonPiece : fkChainCurve;
            for (int k = 0; k < 4; ++k) Add(Segment(piece, corners[k], corners[(k + 1) % 4]));
            parent = Add(Box(c.Shape == ClosedCurve ? fkClosedCurve : fkPolygon, 40, 30, 160, 120));
            for (std::int32_t k = 1; k < parent; ++k) S.Fig(k).OwnerIndex = parent;
        }
        if (c.OwnedPlot) {
            S.Fig(parent).IsPlot = 1;
            S.Fig(parent).Text = "000003";
        }
        const auto screen = Screen();
        EXPECT_EQ(screen->GetPixel(100, 75), c.Inside) << c.Shape << " " << c.OwnedPlot;
        EXPECT_EQ(screen->GetPixel(40, 75), kBlue) << c.Shape << " " << c.OwnedPlot;
        EXPECT_EQ(Count(*screen, {0, 0, 200, 150}, kBlack), 0) << c.Shape << " " << c.OwnedPlot;
        EXPECT_EQ(screen->GetPixel(20, 75), kWhite) << c.Shape << " " << c.OwnedPlot;
    }
}

TEST_F(Painting, OwnedPlotShowsItsHouseholdNameInBlack) {
    Add(Plot(20, 20, 180, 140, "000001", "山田　太郎"));
    const auto screen = Screen();
    EXPECT_GT(Count(*screen, {23, 40, 103, 80}, kBlack), 50);    // first word, upper left
    EXPECT_GT(Count(*screen, {97, 80, 177, 120}, kBlack), 50);   // second word, lower right
    EXPECT_EQ(Count(*screen, {21, 21, 180, 140}, kYellow), 0);
}

TEST_F(Painting, HouseholdNameLayout) {
    struct TOut {
        std::string Text;
        int X, Y;
    };
    struct TCase {
        const char* Head;
        bool Rotated;
        std::vector<TOut> Expected;
    } cases[] = {
        // Plot 20..180 x 20..140: q = 120 / 3 = 40, name box top 21, middle 80.
        {"山田　太郎", false, {{"山田", 23, 40}, {"太郎", 97, 80}}},
        {"山田太郎", false, {{"山田太郎", 20, 60}}},
        {"Yamada Taro", false, {{"Yamada", 23, 40}, {"Taro", 97, 80}}},
        {"山田　一二三四五六", false, {{"山田", 23, 40}, {"一二三四五", -23, 80}}},
        {"山田　ｱｲｳｴｵｶｷｸｹｺｻ", false, {{"山田", 23, 40}, {"ｱｲｳｴｵｶｷｸｹｺ", -23, 80}}},
        {"山田　一二三四a五", false, {{"山田", 23, 40}, {"一二三四a", -3, 80}}},
        {"山田 太郎　花子", false, {{"山田 太郎", 23, 40}, {"花子", 97, 80}}},
        // Edge P1-P2 points up: text turned 90°, laid out along it from P1 (40, 180).
        {"山田　太郎", true, {{"山田", 60, 177}, {"太郎", 100, 103}}},
        {"山田太郎", true, {{"山田太郎", 80, 180}}},
    };
    for (const TCase& c : cases) {
        S.FigureCount = 0;
        TDateRec plot = c.Rotated ? Quad(fkPlot, {40, 180}, {40, 20}, {160, 20}, {160, 180})
                                  : Plot(20, 20, 180, 140, "0");
        plot.IsPlot = 1;
        plot.Text = "000001";
        plot.HeadName = c.Head;
        Add(plot);
        In.RotateNames = c.Rotated;
        const auto screen = Screen();
        ASSERT_EQ(screen->Texts.size(), c.Expected.size()) << c.Head;
        for (std::size_t k = 0; k < c.Expected.size(); ++k) {
            const auto& t = screen->Texts[k];
            EXPECT_EQ(t.Text, c.Expected[k].Text) << c.Head;
            EXPECT_EQ(t.X, c.Expected[k].X) << c.Head << " " << t.Text;
            EXPECT_EQ(t.Y, c.Expected[k].Y) << c.Head << " " << t.Text;
            EXPECT_EQ(t.Height, 40) << c.Head;
            EXPECT_EQ(t.Escapement, c.Rotated ? 900 : 0) << c.Head;
            EXPECT_FALSE(t.Clipped) << c.Head;
        }
    }
}

TEST_F(Painting, HouseholdNamesClipToTheirHalvesOfTheBox) {
    Add(Plot(20, 20, 180, 140, "000001", "山田　太郎"));
    In.ClipNames = true;
    In.NameSizePosition = 15;  // labels at 1.5 times: 60 pixels
    const auto screen = Screen();
    ASSERT_EQ(screen->Texts.size(), 2u);
    EXPECT_TRUE(screen->Texts[0].Clipped);
    EXPECT_EQ(screen->Texts[0].Clip, (TRect{20, 21, 180, 80}));
    EXPECT_EQ(screen->Texts[0].Y, 20);
    EXPECT_TRUE(screen->Texts[1].Clipped);
    EXPECT_EQ(screen->Texts[1].Clip, (TRect{20, 80, 180, 140}));
    EXPECT_EQ(screen->Texts[1].X, 180 - 60 * 4 / 2 - 3);
    EXPECT_EQ(screen->Texts[1].Height, 60);
    EXPECT_EQ(Count(*screen, {0, 0, 200, 21}, kBlack), 0);
}

TEST_F(Painting, SmallOrUnselectedOnThePrintPageShowsADiagonal) {
    struct TCase {
        int Right, Bottom, Page;
        bool Selected, Named;
    } cases[] = {
        {180, 140, 3, false, true},
        {30, 30, 3, false, false},   // 10 pixels: q = 3
        {32, 32, 3, false, true},    // 12 pixels: q = 4
        {180, 140, 5, false, false},
        {180, 140, 5, true, true},
    };
    for (const TCase& c : cases) {
        S.FigureCount = 0;
        TDateRec plot = Plot(20, 20, c.Right, c.Bottom, "000001", "山田");
        plot.Selected = c.Selected;
        Add(plot);
        In.ActivePage = c.Page;
        const auto screen = Screen();
        EXPECT_EQ(screen->Texts.size(), c.Named ? 1u : 0u) << c.Right << " page " << c.Page;
        // The diagonal from P2 (top right) to P4 (bottom left).
        EXPECT_EQ(screen->GetPixel(c.Right - 1, 21) == kBlack, !c.Named) << c.Right << " page " << c.Page;
    }
}

TEST_F(Painting, SharedOwnershipMarksAreAqua) {
    enum TShape { Rectangle, EllipsePlot, PolygonPlot };
    struct TCase {
        TShape Shape;
        const char* Household;
        TPoint Corner, Far;  // in the mark near point 1; in the far part of the plot
        bool Marked;
    } cases[] = {
        {Rectangle, "000001", {30, 60}, {150, 60}, true},
        {EllipsePlot, "000001", {70, 55}, {130, 105}, true},
        {PolygonPlot, "000001", {40, 30}, {150, 100}, true},
        {Rectangle, "0", {30, 60}, {150, 60}, false},  // a free plot carries no mark
    };
    const TPoint corners[] = {{20, 20}, {180, 20}, {180, 140}, {20, 140}};
    for (const TCase& c : cases) {
        S.FigureCount = 0;
        std::int32_t plot = 0;
        if (c.Shape == PolygonPlot) {
            for (int k = 0; k < 4; ++k) {
                TDateRec edge = Segment(fkPolygonEdge, corners[k], corners[(k + 1) % 4]);
                edge.BrushStyle = kClearBrush;
                Add(edge);
            }
            plot = Add(Box(fkPolygon, 20, 20, 180, 140));
            for (std::int32_t k = 1; k < plot; ++k) S.Fig(k).OwnerIndex = plot;
        } else {
            plot = Add(Box(c.Shape == Rectangle ? fkPlot : fkEllipse, 20, 20, 180, 140));
        }
        S.Fig(plot).IsPlot = 1;
        S.Fig(plot).Text = c.Household;
        S.Fig(plot).ShareSetId = 7;
        const auto screen = Screen();
        EXPECT_EQ(screen->GetPixel(c.Corner.X, c.Corner.Y) == kAqua, c.Marked) << c.Shape;
        EXPECT_NE(screen->GetPixel(c.Far.X, c.Far.Y), kAqua) << c.Shape;
    }
}

TEST_F(Painting, StarMarkerIsASolidPentagram) {
    Add(Box(fkChainLine, 100, 60, 120, 60));
    TScreen canvas(200, 150);
    canvas.Brush = {kAqua, TBrushStyle::bsSolid};
    TMapPainter(S, canvas, In).DrawStarMarker(1);
    // Marker half size 5 at zoom 10: points 25 pixels out.
    EXPECT_EQ(canvas.GetPixel(100, 60), kAqua);
    EXPECT_EQ(canvas.GetPixel(100, 37), kAqua);
    EXPECT_EQ(canvas.GetPixel(78, 53), kAqua);
    EXPECT_EQ(canvas.GetPixel(100, 80), kWhite);  // between the legs
    EXPECT_EQ(Count(canvas, {0, 0, 200, 150}, kBlack), 0);  // no outline
}

TEST_F(Painting, SetAsideCopyIsNotPainted) {
    TDateRec copy = Plot(20, 20, 180, 140, "000001", "山田");
    copy.SetAside = 1;
    Add(copy);
    TDateRec freeCopy = Plot(20, 20, 180, 140, "0");
    freeCopy.SetAside = 1;
    Add(freeCopy);
    const auto screen = Screen();
    EXPECT_EQ(Count(*screen, {1, 1, 199, 149}, kWhite), 198 * 148);
    EXPECT_TRUE(screen->Texts.empty());
}

TEST_F(Painting, ScreenCullsWhatLiesOutsideTheVisibleAreaThePrinterDoesNot) {
    // Scrolled to x = 400: the frame starts at 392.
    In.ScrollX = 400;
    In.PaintBoxWidth = 1000;
    struct TCase {
        int Left, Right, ScreenPolygons;
    } cases[] = {{100, 200, 0}, {100, 391, 0}, {100, 392, 1}, {380, 420, 1}};
    for (const TCase& c : cases) {
        S.FigureCount = 0;
        Add(Plot(c.Left, 20, c.Right, 140, "0"));
        EXPECT_EQ(Screen()->Polygons, c.ScreenPolygons) << c.Right;
        // The page shows the same part: the figure lies left of the page, and is drawn.
        const auto page = Page(-400, 600, 150);
        EXPECT_EQ(page->Polygons, 1) << c.Right;
        EXPECT_EQ(page->GetPixel(c.Left - 400 + 5, 80), kYellow) << c.Right;
    }
}

TEST_F(Painting, FilledShapesCutByTheViewStayFilled) {
    enum TShape { Ellipse, ClosedCurve };
    struct TCase {
        TShape Shape;
        int ScrollX, ScrollY;
    } cases[] = {{Ellipse, 420, 0}, {ClosedCurve, 420, 0}, {Ellipse, 0, 110},
                 {ClosedCurve, 0, 110}, {Ellipse, 0, 0}, {ClosedCurve, 0, 0}};
    // A shape 300..500 x 40..140 (centre 400, 90) in a paint box of 1000 x 600, seen
    // through a view of 600 x 300.
    In.PaintBoxWidth = 1000;
    In.PaintBoxHeight = 600;
    In.ScrollBoxWidth = 636;
    In.ScrollBoxHeight = 336;
    const TPoint corners[] = {{300, 40}, {500, 40}, {500, 140}, {300, 140}};
    for (const TCase& c : cases) {
        S.FigureCount = 0;
        if (c.Shape == Ellipse) {
            Add(Box(fkEllipse, 300, 40, 500, 140));
        } else {
            for (int k = 0; k < 4; ++k) Add(Segment(fkChainCurve, corners[k], corners[(k + 1) % 4]));
            const std::int32_t parent = Add(Box(fkClosedCurve, 300, 40, 500, 140));
            for (std::int32_t k = 1; k < parent; ++k) S.Fig(k).OwnerIndex = parent;
        }
        In.ScrollX = c.ScrollX;
        In.ScrollY = c.ScrollY;
        const auto screen = Screen(600, 300);
        // The centre lies left of or above the view in the first four. Just inside the shape near the view's top-left corner, and just outside it.
        const TPoint in{std::max(c.ScrollX + 2, 320), std::max(c.ScrollY + 2, 70)};
        EXPECT_EQ(screen->GetPixel(in.X, in.Y), kYellow) << c.Shape << " " << c.ScrollX << "," << c.ScrollY;
        EXPECT_EQ(screen->GetPixel(c.ScrollX + 150, c.ScrollY + 145), kWhite) << c.Shape;
    }
}

TEST_F(Painting, AZoomedRepaintDrawsOnlyTheFiguresInView) {
    // 200 x 100 plots of 20 pixels at a pitch of 30 at zoom 20, every other one owned.
    S.Zoom = 20;
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < 200; ++c) {
            TDateRec p = Box(fkPlot, 0, 0, 0, 0);
            p.X1 = p.X4 = 1500.0 * c;
            p.X2 = p.X3 = 1500.0 * c + 1000;
            p.Y1 = p.Y2 = 1500.0 * r;
            p.Y3 = p.Y4 = 1500.0 * r + 1000;
            p.IsPlot = 1;
            p.Text = (r + c) % 2 == 0 ? "000001" : "0";
            p.HeadName = "山田";
            Add(p);
        }
    In.ScrollX = 3000;
    In.ScrollY = 1500;
    In.ScrollBoxWidth = 1038;
    In.ScrollBoxHeight = 638;
    In.PaintBoxWidth = 6000;
    In.PaintBoxHeight = 3000;
    // Frame 2992..4000 x 1492..2100: columns 100..133, rows 50..70.
    const auto screen = Screen(1000, 600);
    EXPECT_EQ(screen->Polygons, 34 * 21);
    EXPECT_EQ(screen->Texts.size(), 17u * 21u);
}

TEST_F(Painting, SearchHitCrossNeedsALiveHitInRange) {
    struct TCase {
        int Page, Count, Cursor, Entry;
        std::uint8_t Suppressed;
        bool Cross;
    } cases[] = {
        {0, 1, 1, 1, 0, true},  {1, 1, 0, 1, 0, true},   {5, 1, 1, 1, 0, true},
        {5, 1, 5, 1, 0, false}, {5, 1, 0, 1, 0, false},  {5, 1, -3, 1, 0, false},
        {5, 1, 1, 99, 0, false}, {5, 1, 1, 2, 0, false},  // beyond the store; not a plot
        {5, 1, 1, 1, 1, false}, {3, 1, 1, 1, 0, false},   {0, 0, 1, 1, 0, false},
    };
    Add(Plot(80, 60, 120, 100, "0"));
    Add(Segment(fkLine, {0, 145}, {1, 145}));
    S.HitCenterX = 10000;
    S.HitCenterY = 8000;
    S.HitBox = {8000, 12000, 6000, 10000};
    for (const TCase& c : cases) {
        In.ActivePage = c.Page;
        S.SelectedCount = c.Count;
        S.SelectedCursor = c.Cursor;
        S.SelectedList = {0, c.Entry};
        S.HitCrossSuppressed = c.Suppressed;
        std::unique_ptr<TScreen> screen;
        ASSERT_NO_THROW(screen = Screen());
        const TColor arm = c.Cross ? kRed : kWhite;
        EXPECT_EQ(screen->GetPixel(100, 30), arm) << c.Page << " " << c.Cursor << " " << c.Entry;
        EXPECT_EQ(screen->GetPixel(150, 80), arm) << c.Page << " " << c.Cursor << " " << c.Entry;
        EXPECT_EQ(screen->GetPixel(100, 80), kYellow) << "the plot stays free";
    }
}

TEST_F(Painting, PrintedHitCrossEndsAtTheFramesBottom) {
    // A page taller than the view (200 x 150 at scale 1), which is centred on it: the
    // frame's top is the scroll position - 75, its bottom the page height + top.
    struct TCase {
        int ScrollY, Bottom;
    } cases[] = {{0, 225}, {20, 245}};
    In.ActivePage = 5;
    In.PageWidth = 200;
    In.PageHeight = 300;
    Add(Plot(80, 60, 120, 100, "0"));
    S.SelectedCount = 1;
    S.SelectedCursor = 1;
    S.SelectedList = {0, 1};
    S.HitCenterX = 10000;
    S.HitCenterY = 8000;
    S.HitBox = {8000, 12000, 6000, 10000};
    for (const TCase& c : cases) {
        In.ScrollY = c.ScrollY;
        const int top = c.ScrollY - 75;
        const auto page = Page(0, 200, 300);
        EXPECT_EQ(page->GetPixel(100, 5), kRed) << c.ScrollY;            // from the page's top
        EXPECT_EQ(page->GetPixel(100, 60 - top - 3), kRed) << c.ScrollY;  // to the plot
        EXPECT_EQ(page->GetPixel(100, 100 - top + 3), kRed) << c.ScrollY;
        EXPECT_EQ(page->GetPixel(100, c.Bottom - 1), kRed) << c.ScrollY;
        EXPECT_EQ(page->GetPixel(100, c.Bottom + 1), kWhite) << c.ScrollY;  // not on to the foot
        EXPECT_EQ(page->GetPixel(100, 295), kWhite) << c.ScrollY;
        EXPECT_EQ(page->GetPixel(10, 80 - top), kRed) << c.ScrollY;  // the arms across
        EXPECT_EQ(page->GetPixel(190, 80 - top), kRed) << c.ScrollY;
    }
}

TEST_F(Painting, SelectionBoxIsDottedBlueOnePixelOutside) {
    TDateRec plot = Plot(60, 40, 140, 100, "0");
    plot.PenColor = kRed;
    Add(plot);
    S.SelectedCount = 1;
    S.DrawPointBuffer = {14000, 6000, 10000, 4000};  // right, left, bottom, top
    const auto screen = Screen();
    EXPECT_GT(Count(*screen, {59, 39, 142, 40}, kBlue), 20);
    EXPECT_GT(Count(*screen, {59, 39, 142, 40}, kWhite), 20);  // dotted
    EXPECT_GT(Count(*screen, {141, 39, 142, 102}, kBlue), 10);
    EXPECT_EQ(screen->GetPixel(0, 75), kGrey);
    EXPECT_EQ(screen->GetPixel(199, 75), kGrey);
    In.ActivePage = 5;
    EXPECT_EQ(Count(*Screen(), {59, 39, 142, 40}, kBlue), 0);
    EXPECT_EQ(Count(*Page(), {0, 0, 200, 150}, kGrey), 0);
}

TEST_F(Painting, MeshNeedsAPositiveStepAndTheScreen) {
    S.MeshVisible = 1;
    S.MeshColor = kMesh;
    S.CenterLineColor = kGrey;
    struct TCase {
        int Step;
        TColor AtOffset, Between;
    } cases[] = {{20, kMesh, kWhite}, {10, kMesh, kMesh}, {0, kWhite, kWhite}, {-5, kWhite, kWhite}};
    for (const TCase& c : cases) {
        S.MeshStep = c.Step;
        const auto screen = Screen();
        // Origin (100, 75), the middle of the paint box.
        EXPECT_EQ(screen->GetPixel(120, 10), c.AtOffset) << c.Step;
        EXPECT_EQ(screen->GetPixel(110, 10), c.Between) << c.Step;
        EXPECT_EQ(screen->GetPixel(60, 60), c.AtOffset) << c.Step;
        EXPECT_EQ(S.MeshOrigin.x, 100);
        EXPECT_EQ(S.MeshOrigin.y, 75);
    }
    S.MeshStep = 20;
    EXPECT_EQ(Count(*Page(), {0, 0, 200, 150}, kMesh), 0);
}

TEST(EllipticArc, SixtyDegreePiecesAndARemainder) {
    struct TCase {
        double Start, End;
        std::size_t Pieces;
    } cases[] = {{0, 360, 6}, {0, 90, 2}, {0, 60, 1}, {0, 60.0005, 1}, {0, 60.1, 2},
                 {90, 0, 0}, {-270, 0, 5}, {180, 270, 2}};
    const TEllipseGeometry e{100, 80, 50, 50, 0};
    for (const TCase& c : cases) {
        TScreen canvas(200, 160);
        DrawEllipticArc(canvas, e, c.Start, c.End);
        ASSERT_EQ(canvas.Beziers.size(), c.Pieces) << c.Start << ".." << c.End;
        for (const auto& b : canvas.Beziers) EXPECT_EQ(b.size(), 4u);
    }
    TScreen canvas(200, 160);
    DrawEllipticArc(canvas, e, 0, 360);
    EXPECT_EQ(canvas.Beziers.front().front(), (TPoint{150, 80}));
    EXPECT_EQ(canvas.Beziers[1].front(), (TPoint{125, 123}));  // 60°: y points down
    EXPECT_EQ(canvas.Beziers.back().back(), (TPoint{150, 80}));
}

TEST_F(Painting, OpenCurvePiecesAreDrawnOnlyUnderTheirOpenCurve) {
    struct TCase {
        int OwnerKind;  // 0: no owner
        bool Drawn;
    } cases[] = {{fkOpenCurve, true}, {0, false}, {fkGroup, false}, {fkPolygon, false}};
    for (const TCase& c : cases) {
        S.FigureCount = 0;
        TDateRec piece = Segment(fkChainCurve, {20, 50}, {180, 50});
        piece.PenColor = kRed;
        const std::int32_t i = Add(piece);
        if (c.OwnerKind != 0) {
            TDateRec owner = Box(c.OwnerKind, 20, 40, 180, 60);
            owner.BrushStyle = kClearBrush;
            S.Fig(i).OwnerIndex = Add(owner);
        }
        EXPECT_EQ(Screen()->GetPixel(100, 50), c.Drawn ? kRed : kWhite) << c.OwnerKind;
    }
}

TEST_F(Painting, SelectedEllipses) {
    // Ellipse about (100, 75), its arc point (and for a whole one its end too) at the right.
    struct TCase {
        const char* Name;
        bool Whole, Filled;
        int PenStyle, Page;
        TColor OnArc, Radius;  // pixel on the dashes' first piece; halfway along the radius
    } cases[] = {
        {"whole, on the drawing page: the radius to its arc point", true, false, 0, 3, kLime, kLime},
        {"whole, on the editing page: no radius", true, false, 0, 4, kLime, kWhite},
        {"arc, on the drawing page", false, false, 0, 3, kLime, kLime},
        {"filled and dashed: the dashes at last in its own colour", true, true, 1, 4, kBlue, kYellow},
        {"filled and solid: lime", true, true, 0, 4, kLime, kYellow},
    };
    for (const TCase& c : cases) {
        S.FigureCount = 0;
        TDateRec e = Box(fkEllipse, 40, 30, 160, 120);
        e.BrushStyle = c.Filled ? kSolidBrush : kClearBrush;
        e.PenStyle = c.PenStyle;
        e.Selected = 1;
        e.Aux1 = 16000, e.Aux2 = 7500;
        e.Aux3 = c.Whole ? 16000 : 10000, e.Aux4 = c.Whole ? 7500 : 3000;
        Add(e);
        In.ActivePage = c.Page;
        const auto screen = Screen();
        EXPECT_EQ(screen->GetPixel(160, 76), c.OnArc) << c.Name;
        EXPECT_EQ(screen->GetPixel(130, 75), c.Radius) << c.Name;
        if (c.Filled && c.PenStyle != 0) {
            EXPECT_EQ(Count(*screen, {0, 0, 200, 150}, kLime), 0) << c.Name;
            EXPECT_EQ(Count(*screen, {0, 0, 200, 150}, kBlack), 0) << c.Name;
        }
    }
}

TEST_F(Painting, ArcWhoseEndIsBelowItsStartRunsFromStartMinus360) {
    // Circle about (100, 80), radius 50; from straight below (90°) to the right (0°).
    TDateRec arc = Box(fkEllipse, 50, 30, 150, 130);
    arc.BrushStyle = kClearBrush;
    arc.Aux1 = 10000, arc.Aux2 = 13000;
    arc.Aux3 = 15000, arc.Aux4 = 8000;
    Add(arc);
    const auto screen = Screen(200, 160);
    ASSERT_EQ(screen->Beziers.size(), 5u);  // 270°: four pieces of 60° and one of 30°
    EXPECT_EQ(screen->Beziers.front().front(), (TPoint{100, 130}));
    EXPECT_EQ(screen->Beziers.back().back(), (TPoint{150, 80}));
    EXPECT_EQ(screen->GetPixel(50, 80), kBlue);
    EXPECT_EQ(screen->GetPixel(140, 110), kWhite);  // the open quarter
}

TEST_F(Painting, DimensionShorterThanThreeArrowsHasNoMiddleLine) {
    // Zoom 10, text size 500: arrow length 50.
    struct TCase {
        int X1, X2;
        bool Middle;
    } cases[] = {{100, 200, false}, {100, 249, false}, {40, 240, true}, {100, 251, true}};
    for (const TCase& c : cases) {
        TScreen canvas(300, 150);
        canvas.Pen.Color = kRed;
        DrawRotatedText(canvas, S, {c.X1, 50}, {c.X2, 50}, "5", false);
        const int mid = (c.X1 + c.X2) / 2;
        EXPECT_EQ(canvas.GetPixel(mid, 50) == kRed, c.Middle) << c.X2 - c.X1;
        // Short: outward stubs of one arrow length beyond both ends.
        EXPECT_EQ(canvas.GetPixel(c.X1 - 25, 50) == kRed, !c.Middle) << c.X2 - c.X1;
        EXPECT_EQ(canvas.GetPixel(c.X2 + 25, 50) == kRed, !c.Middle) << c.X2 - c.X1;
        ASSERT_EQ(canvas.Texts.size(), 1u);
        EXPECT_EQ(canvas.Texts[0].Height, 67);  // 5 points at zoom 10, 96 pixels per inch
    }
}

TEST_F(Painting, TextFigureLaysOutFullWidthCells) {
    struct TCase {
        const char* Text;
        double Direction;
        TPoint P2, P4;
        std::vector<TPoint> At;
    } cases[] = {
        {"墓", 1.0, {250, 40}, {50, 90}, {{50, 40}}},  // one character: no gap
        {"墓地", 1.0, {150, 40}, {50, 90}, {{50, 40}, {100, 40}}},
        {"墓地", 1.0, {250, 40}, {50, 90}, {{50, 40}, {200, 40}}},
        {"A墓", 1.0, {250, 40}, {50, 90}, {{50, 40}, {350, 40}}},
        {"墓地", 2.0, {100, 40}, {50, 240}, {{50, 40}, {50, 190}}},
        {"墓", 2.0, {100, 40}, {50, 240}, {{50, 40}}},
        {"墓地", 1.0, {52, 40}, {50, 42}, {}},  // two pixels high: nothing
    };
    for (const TCase& c : cases) {
        TScreen canvas(400, 300);
        TMapPainter p(S, canvas, In);
        const TPoint p1{50, 40};
        p.ScreenPoints = {p1, c.P2, TPoint{c.P2.X, c.P4.Y}, c.P4};
        p.DrawTextFigure(c.Text, c.Direction);
        ASSERT_EQ(canvas.Texts.size(), c.At.size()) << c.Text;
        for (std::size_t k = 0; k < c.At.size(); ++k) {
            EXPECT_EQ(canvas.Texts[k].X, c.At[k].X) << c.Text << " " << k;
            EXPECT_EQ(canvas.Texts[k].Y, c.At[k].Y) << c.Text << " " << k;
            EXPECT_EQ(canvas.Texts[k].Height, 50) << c.Text;
        }
    }
}

TEST_F(Painting, DegenerateFiguresPaintWithoutFault) {
    const TPoint o{60, 60};
    for (const int kind : {fkLine, fkCurve, fkEllipse, fkDimension, fkLeader, fkText, fkGroup,
                           fkPolygon, fkClosedCurve, fkOpenCurve, fkPolygonEdge,
                           fkRoundPolygonPiece, fkRectangle, fkPlot}) {
        TDateRec r = Quad(kind, o, o, o, o);
        r.Text = "墓地";
        r.Selected = 1;
        r.PenStyle = 42;  // beyond the table: solid
        Add(r);
    }
    TDateRec owned = Plot(60, 60, 60, 60, "000001", "山田　太郎");
    owned.ShareSetId = 1;
    Add(owned);
    TDateRec ellipse = Box(fkEllipse, 60, 60, 60, 60);
    ellipse.IsPlot = 1;
    ellipse.Text = "000002";
    ellipse.ShareSetId = 2;
    Add(ellipse);
    TDateRec orphan = Quad(fkChainCurve, o, o, o, o);
    orphan.OwnerIndex = 9999;
    Add(orphan);
    S.SelectedCount = 1;
    S.SelectedList = {0, 1};
    for (const int page : {0, 3, 5}) {
        In.ActivePage = page;
        EXPECT_NO_THROW(Screen());
        EXPECT_NO_THROW(Page());
    }
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) {
    // The records name Windows fonts; the application maps them as it does.
    return tarvek::testing::RunGuiTests<QGuiApplication>(
        argc, argv, [] { QFont::insertSubstitution("ＭＳ 明朝", "IPAMincho"); });
}
