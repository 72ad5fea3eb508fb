// The map's paint takes shortcuts (records whose box lies outside the view are left out
// of the passes, each figure's points are converted once, texts are laid out once, plain
// rectangles are filled directly): every pixel must be the one the long way gives. The
// sample temple on the live form, the full-size temple of the benchmark and a drawing of
// every kind of figure are painted at every zoom step and many scroll positions, with the
// shortcuts on and off, on the screen and on a page, and compared pixel by pixel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/large_temple.h"
#include "document/figure_store.h"
#include "document/selection.h"
#include "editing/drawing_range.h"
#include "editing/drawing_tools.h"
#include "form_test_support.h"
#include "gui_test_main.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "platform/qt_services.h"
#include "view/painter.h"

namespace tarvek {
namespace {

using testing::StartForm;
using testing::TProgramFolder;

// A page for the tests: an image that says it is a printer.
class TPageCanvas : public TImageCanvas {
public:
    using TImageCanvas::TImageCanvas;
    bool IsPrinter() const override { return true; }
};

QImage Render(TDrawingState& s, TPaintInputs in, QSize size, bool shortcuts, bool page = false) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(TColorToRgb(in.PaperColor));
    in.Shortcuts = shortcuts;
    std::unique_ptr<TImageCanvas> canvas =
        page ? std::make_unique<TPageCanvas>(image) : std::make_unique<TImageCanvas>(image);
    canvas->Shortcuts = shortcuts;
    if (!page) canvas->SetOrigin(in.ScrollX, in.ScrollY);
    DrawDrawing(s, *canvas, in);
    return image;
}

// "" when every pixel is the same, else how many differ and the first of them. With
// TARVEK_SHOTS set both images are saved there.
std::string Difference(const QImage& fast, const QImage& exact, const std::string& name) {
    if (fast.size() != exact.size()) return "sizes differ";
    long count = 0;
    std::string first;
    for (int y = 0; y < fast.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(fast.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(exact.constScanLine(y));
        for (int x = 0; x < fast.width(); ++x) {
            if (a[x] == b[x]) continue;
            if (count++ == 0)
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(a[x] & 0xFFFFFF) +
                        " instead of " + std::to_string(b[x] & 0xFFFFFF);
        }
    }
    if (count == 0) return {};
    testing::SaveShot(fast, name + "_fast.png");
    testing::SaveShot(exact, name + "_exact.png");
    return std::to_string(count) + " pixels differ, the first at " + first;
}

struct TView {
    int Zoom, ScrollX, ScrollY, Page;
};

std::string Name(const std::string& drawing, const TView& v) {
    return drawing + "_z" + std::to_string(v.Zoom) + "_" + std::to_string(v.ScrollX) + "_" +
           std::to_string(v.ScrollY) + "_p" + std::to_string(v.Page);
}

// The view's inputs for a window of the given size over a paint box holding the site.
TPaintInputs InputsFor(const TView& v, QSize window, double siteWidth, double siteHeight) {
    TPaintInputs in;
    in.ActivePage = v.Page;
    in.ScrollX = v.ScrollX;
    in.ScrollY = v.ScrollY;
    in.ScrollBoxWidth = window.width() + 36;
    in.ScrollBoxHeight = window.height() + 36;
    in.PaintBoxWidth = static_cast<int>(siteWidth * v.Zoom / 1000) + 100;
    in.PaintBoxHeight = static_cast<int>(siteHeight * v.Zoom / 1000) + 100;
    in.PageWidth = 1400;
    in.PageHeight = 990;
    return in;
}

// Pixels that are not the paper: what the comparison had to compare.
int Inked(const QImage& image, TColor paper) {
    int n = 0;
    const QRgb p = TColorToRgb(paper);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) n += row[x] != p;
    }
    return n;
}

// The screen's view, and with page the printed page of it too (which culls nothing).
// Returns the inked pixels of the screen's.
int ExpectSame(TDrawingState& s, const TView& v, const TPaintInputs& in, QSize window, const std::string& drawing,
               bool page) {
    s.Zoom = v.Zoom;
    const std::string name = Name(drawing, v);
    const QImage fast = Render(s, in, window, true);
    EXPECT_EQ(Difference(fast, Render(s, in, window, false), name), "") << name;
    const int inked = Inked(fast, in.PaperColor);
    if (!page) return inked;
    const QSize pageSize(in.PageWidth, in.PageHeight);
    EXPECT_EQ(Difference(Render(s, in, pageSize, true, true), Render(s, in, pageSize, false, true), name + "_page"), "")
        << name << " on the page";
    return inked;
}

// Figures placed in units of 100 drawing units, so that at zoom 10 one unit is a pixel.
TDateRec Quad(int kind, std::array<double, 8> p) {
    TDateRec r;
    r.Kind = kind;
    r.X1 = p[0] * 100, r.Y1 = p[1] * 100, r.X2 = p[2] * 100, r.Y2 = p[3] * 100;
    r.X3 = p[4] * 100, r.Y3 = p[5] * 100, r.X4 = p[6] * 100, r.Y4 = p[7] * 100;
    r.Text = "0";
    r.PenColor = 0xFF0000;
    r.BrushColor = 0x00FFFF;
    r.PenWidth = 1;
    r.BrushStyle = 0;
    r.FontName = "ＭＳ 明朝";
    return r;
}
TDateRec Box(int kind, double l, double t, double r, double b) { return Quad(kind, {l, t, r, t, r, b, l, b}); }
TDateRec Segment(int kind, double x1, double y1, double x2, double y2) {
    return Quad(kind, {x1, y1, x1, y1, x2, y2, x2, y2});
}

class TEveryKind {
public:
    explicit TEveryKind(TDrawingState& s) : S(s) {}

    std::int32_t Add(const TDateRec& r) {
        S.Fig(++S.FigureCount) = r;
        UpdateFigureBounds(S, S.FigureCount);
        return S.FigureCount;
    }
    // A compound figure: pieces of kind piece round the corners, then their parent.
    std::int32_t Compound(int piece, int parentKind, const std::vector<std::array<double, 2>>& corners, bool curved,
                          int brushStyle) {
        const std::int32_t first = S.FigureCount + 1;
        for (std::size_t k = 0; k < corners.size(); ++k) {
            const auto a = corners[k], b = corners[(k + 1) % corners.size()];
            TDateRec p = curved ? Quad(piece, {a[0], a[1], a[0] + (b[1] - a[1]) / 3, a[1] - (b[0] - a[0]) / 3,
                                               b[0] + (b[1] - a[1]) / 3, b[1] - (b[0] - a[0]) / 3, b[0], b[1]})
                                : Segment(piece, a[0], a[1], b[0], b[1]);
            p.BrushStyle = brushStyle;
            Add(p);
        }
        double l = 1e18, t = 1e18, r = -1e18, bt = -1e18;
        for (const auto& c : corners) l = std::min(l, c[0]), r = std::max(r, c[0]), t = std::min(t, c[1]), bt = std::max(bt, c[1]);
        TDateRec parent = Box(parentKind, l, t, r, bt);
        parent.BrushStyle = brushStyle;
        const std::int32_t p = Add(parent);
        for (std::int32_t k = first; k < p; ++k) S.Fig(k).OwnerIndex = p;
        return p;
    }
    void Own(std::int32_t i, const std::string& household, const std::string& head, std::int32_t share = 0) {
        TDateRec& r = S.Fig(i);
        r.IsPlot = 1;
        r.Text = household;
        r.HeadName = head;
        r.ShareSetId = share;
    }

    // One of each, in a cell of 1200 x 900 units of 100 at (ox, oy).
    void Cell(double ox, double oy, int variant) {
        const auto at = [&](double x, double y) { return std::array<double, 2>{ox + x, oy + y}; };
        Add(Segment(fkLine, ox + 10, oy + 10, ox + 300, oy + 140));
        Add(Segment(fkChainLine, ox + 20, oy + 150, ox + 320, oy + 20));
        Add(Segment(fkPolySegment, ox + 330, oy + 10, ox + 330, oy + 200));
        TDateRec leader = Segment(fkLeader, ox + 350, oy + 30, ox + 520, oy + 160);
        leader.Selected = variant % 2;
        Add(leader);
        Add(Quad(fkCurve, {ox + 540, oy + 20, ox + 600, oy - 40, ox + 700, oy + 260, ox + 760, oy + 60}));
        Add(Quad(fkRoundPiece, {ox + 780, oy + 20, ox + 900, oy + 20, ox + 900, oy + 20, ox + 900, oy + 150}));
        TDateRec dimension = Segment(fkDimension, ox + 20, oy + 230, ox + 520, oy + 230);
        Add(dimension);
        Add(Segment(fkDimension, ox + 560, oy + 230, ox + 580, oy + 240));
        TDateRec whole = Box(fkEllipse, ox + 20, oy + 260, ox + 260, oy + 400);
        whole.PenStyle = variant % 3;
        Add(whole);
        TDateRec arc = Box(fkEllipse, ox + 280, oy + 260, ox + 520, oy + 400);
        arc.Aux1 = (ox + 520) * 100, arc.Aux2 = (oy + 330) * 100, arc.Aux3 = (ox + 400) * 100, arc.Aux4 = (oy + 260) * 100;
        arc.BrushStyle = 1;
        Add(arc);
        for (int k = 0; k < 4; ++k) {
            TDateRec rect = Box(fkRectangle, ox + 540 + k * 80, oy + 260, ox + 600 + k * 80, oy + 400);
            rect.BrushStyle = k == 3 ? 1 : k * 2;  // solid, horizontal, diagonal, clear
            rect.PenWidth = k == 2 ? 3 : 1;
            rect.PenStyle = k == 1 ? 2 : 0;
            rect.Selected = variant % 2 && k == 0;
            Add(rect);
        }
        // Plots: free, owned with one and two words, too small to name, shared, set aside.
        S.Fig(Add(Box(fkPlot, ox + 20, oy + 420, ox + 140, oy + 560))).IsPlot = 1;
        Own(Add(Box(fkPlot, ox + 160, oy + 420, ox + 300, oy + 560)), "000001", "山田太郎");
        Own(Add(Box(fkPlot, ox + 320, oy + 420, ox + 460, oy + 560)), "000002", "佐藤　花子", 7 + variant);
        Own(Add(Box(fkPlot, ox + 470, oy + 420, ox + 480, oy + 430)), "000003", "小林 一");
        const std::int32_t copy = Add(Box(fkPlot, ox + 320, oy + 420, ox + 460, oy + 560));
        Own(copy, "000004", "鈴木　進", 7 + variant);
        S.Fig(copy).SetAside = 1;
        // A plot turned a little, its name turned with it when the view says so.
        const double c = std::cos(0.3), sn = std::sin(0.3);
        const auto turned = [&](double x, double y) {
            return std::array<double, 2>{ox + 600 + (x * c - y * sn), oy + 480 + (x * sn + y * c)};
        };
        const auto p1 = turned(-80, -60), p2 = turned(80, -60), p3 = turned(80, 60), p4 = turned(-80, 60);
        Own(Add(Quad(fkPlot, {p1[0], p1[1], p2[0], p2[1], p3[0], p3[1], p4[0], p4[1]})), "000005", "高橋　和子", 0);
        // Texts across and down, and a selected one.
        TDateRec across = Box(fkText, ox + 760, oy + 420, ox + 1160, oy + 470);
        across.Text = "東区画　第３列";
        across.Aux1 = 1.0;
        across.Selected = variant % 2;
        Add(across);
        TDateRec down = Box(fkText, ox + 1100, oy + 480, ox + 1150, oy + 880);
        down.Text = "参道入口";
        down.Aux1 = 2.0;
        down.PenColor = 0x008000;
        Add(down);
        // A polygon, a rounded polygon, a closed and an open curve; two of them plots.
        const std::int32_t polygon =
            Compound(fkPolygonEdge, fkPolygon, {at(20, 600), at(200, 580), at(260, 760), at(60, 860)}, false, 0);
        if (variant % 2) Own(polygon, "000006", "伊藤　清", 20 + variant);
        Compound(fkRoundPolygonPiece, fkPolygon, {at(300, 600), at(480, 600), at(480, 860), at(300, 860)}, true, 0);
        const std::int32_t closed =
            Compound(fkChainCurve, fkClosedCurve, {at(520, 600), at(700, 620), at(680, 860), at(540, 820)}, true, 0);
        if (variant % 2 == 0) Own(closed, "000007", "中村　茂", 30 + variant);
        Compound(fkChainCurve, fkOpenCurve, {at(740, 600), at(900, 600), at(900, 760)}, true, 1);
        // A selected group with two members.
        const std::int32_t group = Add(Box(fkGroup, ox + 940, oy + 20, ox + 1180, oy + 200));
        for (int k = 0; k < 2; ++k) {
            TDateRec m = Box(k ? fkLine : fkRectangle, ox + 950 + k * 100, oy + 30, ox + 1040 + k * 100, oy + 190);
            m.OwnerIndex = group;
            m.Selected = 1;
            Add(m);
        }
        S.Fig(group).Selected = 1;
    }

private:
    TDrawingState& S;
};

class PaintIdentity : public ::testing::Test {
protected:
    TScriptedUi Ui;
};

TEST_F(PaintIdentity, EveryKindOfFigureAtEveryZoomAndManyScrollPositions) {
    auto s = std::make_unique<TDrawingState>(Ui);
    TEveryKind every(*s);
    // Cells touching and overlapping, so that every scroll position cuts figures.
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) every.Cell(col * 1150.0, row * 880.0, row * 3 + col);
    s->MeshVisible = 1;
    s->MeshStep = 37;
    RebuildSelectionList(*s, true);
    UpdateSelectionCount(*s);
    ComputeSelectionBounds(*s);
    s->HitCenterX = 60000, s->HitCenterY = 50000;
    s->HitBox = {55000, 65000, 45000, 55000};
    const QSize window(640, 480);
    const double width = 3500 * 100, height = 2700 * 100;
    int views = 0, busy = 0;
    for (const int zoom : {1, 2, 4, 5, 8, 10, 20, 25, 50}) {
        const int w = static_cast<int>(width * zoom / 1000), h = static_cast<int>(height * zoom / 1000);
        // Scroll positions across the whole paint box, in steps that meet figures' edges;
        // the page, the name options and the tab change from one to the next.
        const int stepX = std::max(37, w / 4 + 13), stepY = std::max(29, h / 3 + 7);
        int n = 0;
        for (int x = 0; x <= w; x += stepX)
            for (int y = 0; y <= h; y += stepY, ++n) {
                const TView v{zoom, x, y, std::array{0, 3, 5}[n % 3]};
                TPaintInputs in = InputsFor(v, window, width, height);
                in.RotateNames = n % 2 == 1;
                in.ClipNames = n % 4 < 2;
                in.NameSizePosition = 8 + n % 5;
                ++views;
                busy += ExpectSame(*s, v, in, window, "every", n == 0) > 5000;
                if (HasFailure()) return;
            }
    }
    // Most views cut through figures rather than show bare paper.
    EXPECT_GT(views, 100);
    EXPECT_GT(busy * 4, views * 3) << busy << " of " << views;
}

TEST_F(PaintIdentity, TheFullSizeTempleAtEveryZoom) {
    auto s = std::make_unique<TDrawingState>(Ui);
    const std::vector<TDateRec> records = bench::MakeRecords();
    for (std::size_t i = 1; i < records.size(); ++i) {
        s->Fig(static_cast<std::int32_t>(i)) = records[i];
        UpdateFigureBounds(*s, static_cast<std::int32_t>(i));
    }
    s->FigureCount = static_cast<std::int32_t>(records.size() - 1);
    // Some of everything the selection shows: lime figures, group frames, the box, a
    // shared set with a set-aside copy.
    for (std::int32_t i = 1; i <= s->FigureCount; i += 97) s->Fig(i).Selected = 1;
    for (std::int32_t i = 1, n = 0; i <= s->FigureCount && n < 40; ++i) {
        TDateRec& r = s->Fig(i);
        if (!r.IsPlot || r.Text == "0") continue;
        r.ShareSetId = 1 + n / 2;
        r.SetAside = n % 4 == 3;
        ++n;
    }
    RebuildSelectionList(*s, true);
    UpdateSelectionCount(*s);
    ComputeSelectionBounds(*s);
    const QSize window(1000, 600);
    const double width = 450000, height = 600000;
    for (const int zoom : {1, 2, 5, 10, 20, 50}) {
        const int w = static_cast<int>(width * zoom / 1000), h = static_cast<int>(height * zoom / 1000);
        const std::vector<std::pair<int, int>> scrolls = {
            {0, 0}, {w / 2 - 333, h / 2 - 217}, {std::max(0, w - 1000), std::max(0, h - 600)}, {w / 7 + 3, h / 3 + 11}};
        int n = 0;
        for (const auto& [x, y] : scrolls) {
            const TView v{zoom, std::max(0, x), std::max(0, y), std::array{0, 3, 5}[n % 3]};
            EXPECT_GT(ExpectSame(*s, v, InputsFor(v, window, width, height), window, "large", zoom == 5 && n == 0), 1000)
                << Name("large", v);
            ++n;
            if (HasFailure()) return;
        }
    }
}

class SampleTemple : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Form = StartForm(Dir, Ui);
        ASSERT_TRUE(Ui.Shown.empty());
    }
    TProgramFolder Dir;
    TScriptedUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(SampleTemple, PaintsTheSameWithAndWithoutShortcuts) {
    TDrawingState& s = Form->S;
    const QSize window(Form->MapImage.width(), Form->MapImage.height());
    for (std::int32_t i = 1; i <= s.FigureCount; i += 5) s.Fig(i).Selected = 1;
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ComputeSelectionBounds(s);
    const int saved = s.Zoom;
    for (const int zoom : {1, 2, 4, 5, 8, 10, 20, 25, 50}) {
        for (const int page : {0, 3, 5}) {
            TPaintInputs in = Form->MapPaintInputs();
            in.ActivePage = page;
            const double sx = 0.2 + 0.15 * page, sy = 0.3;
            in.PaintBoxWidth = in.PaintBoxWidth * zoom / std::max(saved, 1);
            in.PaintBoxHeight = in.PaintBoxHeight * zoom / std::max(saved, 1);
            in.ScrollX = static_cast<int>(in.PaintBoxWidth * sx);
            in.ScrollY = static_cast<int>(in.PaintBoxHeight * sy) / 2;
            in.PageWidth = 1400;
            in.PageHeight = 990;
            ExpectSame(s, {zoom, in.ScrollX, in.ScrollY, page}, in, window, "sample", page == 0);
        }
    }
    s.Zoom = saved;
}

// Nothing is kept from one paint to the next: a figure moved into view, by a writer that
// sets its fields and box directly as many operations do, is painted by the next paint.
TEST_F(SampleTemple, AFigureMovedIntoViewIsPaintedByTheNextPaint) {
    TDrawingState& s = Form->S;
    Form->PageControl1->UserSelectTab(4);
    // Close enough that the temple is wider than the view, scrolled so that a plot lies
    // right of it at a height it shows.
    s.Zoom = 50;
    Form->SetPaintBoxSize(Form->PaintBoxWidth() * 5, Form->PaintBoxHeight() * 5);
    Form->PaintMapImage();
    const int w = Form->MapImage.width(), h = Form->MapImage.height();
    std::int32_t plot = 0;
    for (std::int32_t i = 1; i <= s.FigureCount && !plot; ++i) {
        const TDateRec& r = s.Fig(i);
        if (IsPlotRecord(r) && ToPixel(s, r.BoxX1) > w + 100 && ToPixel(s, r.BoxY2) - ToPixel(s, r.BoxY1) < h - 100)
            plot = i;
    }
    ASSERT_GT(plot, 0);
    Form->SetScrollPos(ToPixel(s, s.Fig(plot).BoxX1) - w - 100, ToPixel(s, s.Fig(plot).BoxY1) - 50);
    const int left = Form->HorzScrollPos(), top = Form->VertScrollPos();
    ASSERT_GT(ToPixel(s, s.Fig(plot).BoxX1), left + w);
    ClearFigureSelection(s, false);
    s.Fig(plot).Selected = 1;
    RebuildSelectionList(s, true);
    const auto litPixels = [&] {
        Form->PaintMapImage();
        int n = 0;
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x) n += Form->MapPixel(x, y) == SelectedColor;
        return n;
    };
    EXPECT_EQ(litPixels(), 0);
    // The keyboard nudge writes the points and the box itself.
    const std::int32_t step = RoundToInt32(1000.0 / s.Zoom * s.Tools.MoveStep);
    ASSERT_GT(step, 0);
    const double target = (left + w / 2.0) * 1000.0 / s.Zoom;
    while (s.Fig(plot).BoxX1 > target) NudgeSelection(s, VK_LEFT);
    EXPECT_GT(litPixels(), 20);
    // And back out of view by a direct write of the fields, as an undo does.
    TDateRec& r = s.Fig(plot);
    const double shift = (w + 200) * 1000.0 / s.Zoom;
    for (double* x : {&r.X1, &r.X2, &r.X3, &r.X4}) *x += shift;
    UpdateFigureBounds(s, plot);
    EXPECT_EQ(litPixels(), 0);
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) {
    return tarvek::testing::RunGuiTests<QApplication>(argc, argv, [] { tarvek::InstallFontSubstitutions(); });
}
