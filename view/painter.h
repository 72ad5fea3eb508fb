// Painting of the map: every figure of the store onto one canvas, the screen's paint box
// or the printer's page. Nothing is buffered between paints; each paint draws everything
// that can be seen, in a fixed order of passes (plain figures, free plots, owned plots with
// their labels and shared-ownership marks, texts, group frames, selection box, search-hit
// cross).
//
// The screen canvas is a TImageCanvas whose image shows only the visible part of the
// paint box: its origin is the scroll position. Figures are placed in paint-box pixels and
// culled against the visible frame, so a repaint at a high zoom draws only what is in view.
// The printer's page shows what the scroll box shows, stretched to the page width; it is
// never culled.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/numbers.h"
#include "view/figure_render.h"

namespace tarvek {

struct TDrawingState;
struct TDateRec;

// Colours of the painting ($00BBGGRR). Picking compares pixels with them.
inline constexpr TColor SelectedColor = 0x00FF00;  // lime: selected figures on the screen
inline constexpr TColor ShareMarkColor = 0xFFFF00;  // aqua: shared-ownership marks
inline constexpr TColor FrameGreyColor = 0x808080;  // group frames and the paint-box border
inline constexpr TColor SelectionBoxColor = 0xFF0000;  // blue
inline constexpr TColor HitCrossColor = 0x0000FF;  // red

// What the main form contributes to a paint.
struct TPaintInputs {
    int ActivePage = 3;  // page of the main page control: 0 search ... 5 options and printing
    int ScrollX = 0, ScrollY = 0;  // scroll position of the map's scroll box
    int ScrollBoxWidth = 800, ScrollBoxHeight = 600;
    int PaintBoxWidth = 764, PaintBoxHeight = 564;
    int NameSizePosition = 10;  // the name-size up-down: tenths of the label size
    bool RotateNames = false;   // household names turn with the plot
    bool ClipNames = false;     // household names are clipped to the plot's box
    TColor PaperColor = 0xFFFFFF;  // the paint box's colour: drawing in it erases
    int PageWidth = 0, PageHeight = 0;  // printer only, device pixels
    int FontPixelsPerInch = 96;  // of the canvas: dimension texts are sized in points
    // Off: every record is visited and converted the long way, as the rules read; the
    // image is the same, which the tests compare.
    bool Shortcuts = true;
};

// Where drawing units land on the canvas. A point (x, y) is at
// (round(x * scale) - OffsetX, round(y * scale) - OffsetY); Left..Bottom is the visible
// area in scaled drawing coordinates (before the offset).
struct TPaintFrame {
    double Scale = 0.01;  // canvas pixels per drawing unit
    // Scale * 1000, exactly Zoom on the screen: pixels are taken as x * Zoom / 1000, so an
    // exact half pixel stays exact (0.001 has no binary form) and rounds to even.
    double ScaleTimes1000 = 10;
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::int32_t OffsetX = 0, OffsetY = 0;  // (Left, Top) on the printer, (0, 0) on the screen

    // round(value * scale), unshifted.
    std::int32_t Scaled(double value) const {
        const double y = value * ScaleTimes1000;
        // y * 0.001 lies within 3e-16 of y / 1000 relatively, as y / 1000 itself does of
        // the true quotient: where it is more than 1e-6 from a half (below 1e9 pixels),
        // both round to the same integer. Only those near a half need the division.
        const double t = y * 0.001;
        if (t > -1e9 && t < 1e9) {
            auto n = static_cast<std::int64_t>(t);
            if (static_cast<double>(n) > t) --n;
            const double frac = t - static_cast<double>(n);
            if (frac < 0.5 - 1e-6) return static_cast<std::int32_t>(n);
            if (frac > 0.5 + 1e-6) return static_cast<std::int32_t>(n + 1);
        }
        return RoundToInt32(y / 1000.0);
    }
};

TPaintFrame ScreenPaintFrame(int zoom, const TPaintInputs& in);
TPaintFrame PrinterPaintFrame(int zoom, const TPaintInputs& in);

// One paint of the map onto one canvas. Holds the frame and the screen points of the
// figure being drawn; the state's figures are read, and only MeshOrigin is written.
class TMapPainter {
public:
    // The frame is the screen's or the printer's as canvas.IsPrinter() says.
    TMapPainter(TDrawingState& s, TCanvas& canvas, const TPaintInputs& in);

    // The whole map, pass by pass. The form's own start-up guards, point markers and
    // focus handling come before and after it.
    void DrawDrawing();

    // Fills ScreenPoints from record i; true when the record is culled (its box lies
    // wholly outside the visible frame; never on the printer).
    bool ComputeFigureScreenPoints(std::int32_t i);

    // Draws record i by its kind. A run of polygon edges or rounded-polygon pieces is
    // drawn whole, leaving i on the run's last record for the caller's loop.
    void DrawFigure(std::int32_t& i);

    // A text figure laid out in the box of ScreenPoints, one character at a time, in the
    // canvas font's name and colour; direction 1.0 is horizontal, anything else vertical.
    void DrawTextFigure(const std::string& text, double direction);

    // A filled five-pointed star at the top-left of record i's box, in the canvas brush.
    void DrawStarMarker(std::int32_t i);

    // Mesh lines every MeshStep pixels from MeshOrigin over the paint box, and the centre
    // lines. Nothing when MeshStep is below 1.
    void DrawMeshGrid();

    bool Printer() const { return IsPrinter; }

    TPaintFrame PaintFrame;
    // P1..P4 of the last record ComputeFigureScreenPoints was given, canvas pixels.
    std::array<TPoint, 4> ScreenPoints{};
    // Household names are sized by this factor (the up-down's position / 10).
    float NameTextFactor = 1.0f;

private:
    struct TGrow {
        int LeftTop = 0, RightBottom = 0;
    };
    bool ComputePoints(std::int32_t i, TGrow grow);
    TPoint MapPoint(double x, double y) const {
        return {Sat(std::int64_t(PaintFrame.Scaled(x)) - PaintFrame.OffsetX),
                Sat(std::int64_t(PaintFrame.Scaled(y)) - PaintFrame.OffsetY)};
    }
    static std::int32_t Sat(std::int64_t v) {
        return static_cast<std::int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
    }
    // The record's box, scaled (left, right, top, bottom), unshifted.
    const std::array<std::int32_t, 4>& ScaledBox(std::int32_t i);
    // Whether record i is in a pass list for meeting the visible frame.
    bool Seen(std::int32_t i) const { return std::size_t(i) < SeenMemo.size() && SeenMemo[std::size_t(i)]; }
    std::vector<std::uint8_t> SeenMemo;
    // What ComputePoints(i, {}) says of culling, from the record's box alone.
    bool Culled(const TDateRec& r) const;
    // The records each pass looks at, in store order: with shortcuts, those whose box
    // meets the visible area, and those drawn through other records (compound figures
    // and runs of pieces); without, all of them.
    struct TPassLists {
        std::vector<std::int32_t> Plain, Plots, OwnedPlots, Texts, Groups;
    };
    void BuildPassLists(TPassLists& lists);
    TColor OutlineColor(const TDateRec& r) const;
    TPoint FillSeed() const;
    // Compound figures; false when the rest of DrawFigure is to be left out.
    bool DrawClosedCurve(std::int32_t i, TBrushStyle brush);
    bool DrawPolygonRun(std::int32_t& i);
    bool DrawRoundedRun(std::int32_t& i, TBrushStyle brush);
    void DrawEllipse(const TDateRec& r, TBrushStyle brush);
    void DrawBezierOfPoints();
    // Live members of owner, in store order.
    std::span<const std::int32_t> MembersOf(std::int32_t owner);

    void DrawOwnedPlotLabel(std::int32_t i);
    void DrawShareMark(std::int32_t i);
    void DrawSegmentMark(const TDateRec& parent, std::int32_t member);
    void DrawHouseholdName(const TDateRec& r, int q, int edgeAlong, int edgeAcross,
                           const TRect& nameBox, const std::array<TPoint, 4>& p);
    void DrawTexts(const std::vector<std::int32_t>& texts);
    void DrawGroupFrames(const std::vector<std::int32_t>& groups);
    void DrawSelectionBoxAndBorder();
    void DrawHitCross();

    TDrawingState& S;
    TCanvas& C;
    TPaintInputs In;
    bool IsPrinter;
    // FigureCount, kept within the store.
    std::int32_t Count;
    // Members of each owner in store order, built on first use in this paint, so that
    // the member scans of compound figures stay linear in the store.
    std::vector<std::int32_t> MemberStart, MemberList;
    // Whether plot i has a household, read from its Text once per paint.
    bool Owned(std::int32_t i);
    std::vector<std::int8_t> OwnedMemo;
    // The screen points and scaled box of the record converted last: a figure is drawn,
    // labelled and marked from the same points, and nothing writes records during a paint.
    std::int32_t PointsOf = -1, BoxOf = -1;
    std::array<TPoint, 4> PointsMemo{};
    std::array<std::int32_t, 4> BoxMemo{};
    // Bounds of value * ScaleTimes1000 for each side of the visible frame: beyond Sure a
    // box edge is surely outside, short of Never surely not; between them the rounding
    // itself decides (see Culled).
    struct TCullSide {
        double Sure = 0, Never = 0;
    };
    TCullSide CullRight, CullLeft, CullBottom, CullTop;
};

// Paints the map onto canvas: the screen when canvas.IsPrinter() is false, else a page.
void DrawDrawing(TDrawingState& s, TCanvas& canvas, const TPaintInputs& in);

// The household number a plot's Text holds; a text that is no integer counts as 0, no
// household.
std::int64_t PlotHousehold(const TDateRec& r);

// A household name split for a plot label: at the first full-width space, else the first
// space. Second is at most 10 CP932 bytes, cut between characters. Without a separator,
// First is the whole name and HasSeparator is false.
struct TNameParts {
    std::string First, Second;
    bool HasSeparator = false;
};
TNameParts SplitHouseholdName(const std::string& headName);

}  // namespace tarvek
