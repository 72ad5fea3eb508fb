#include "editing/drawing_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "document/drawing_state.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/figure_creation.h"
#include "editing/handles.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "view/figure_render.h"
#include "view/zoom.h"

namespace tarvek {

namespace {

// Windows virtual-key codes, as the form passes them.
constexpr unsigned short KeyShift = 16, KeyControl = 17, KeySpace = 32, KeyLeft = 37, KeyUp = 38,
                         KeyRight = 39, KeyDown = 40, KeyDelete = 46;

constexpr std::int32_t LoupeTool = 101, HandleDragTool = 103, RotateTool = 1000;

constexpr TColor PenRed = 0x0000FF, PenBlue = 0xFF0000, PenGreen = 0x008000;

constexpr const char* SelectHelp =
    "コピーCtrl+C　切取りCtrl+X　貼り付けCtrl+V　全選択Ctrl+A　元に戻すCtrl+Z　削除[DEL]";
constexpr const char* NudgeStepLabel = "キーボードによる図形の移動を元に戻す";

TToolState& Tools(TDrawingState& s) { return s.Tools; }

void EnableDrawTab(TDrawingState& s, bool enabled) {
    if (s.Tools.Ops.SetDrawTabEnabled) s.Tools.Ops.SetDrawTabEnabled(enabled);
}

void Call(const std::function<void()>& f) {
    if (f) f();
}

bool IsChainTool(std::int32_t tool) { return tool == 7 || tool == 8 || tool == 9; }

bool IsFigureTool(std::int32_t tool) {
    return (tool >= 1 && tool <= 4) || (tool >= 7 && tool <= 10) || tool == fkRectangle;
}

int Page(const TDrawingState& s) { return s.Form->ActivePageIndex(); }

TDateRec& Scratch(TDrawingState& s) { return s.Fig(0); }

bool Within(int a, int b, int tolerance) { return std::abs(a - b) <= tolerance; }

// Far outside any canvas, yet with room for a pen and a margin.
int SaturatedPixel(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -1000000000, 1000000000)); }

// ---- The rubber band ---------------------------------------------------------------

struct TBandRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    void Add(int x, int y) {
        Left = std::min(Left, x), Top = std::min(Top, y);
        Right = std::max(Right, x), Bottom = std::max(Bottom, y);
    }
};

TBandRect PreviewBounds(const TDrawingState& s, const TToolState::TShownPreview& p, const TCanvas& c) {
    if (p.Tool == HandleDragTool || p.Tool == RotateTool) {
        const TRect r = c.ClipRect();
        return {r.Left, r.Top, r.Right, r.Bottom};
    }
    TBandRect b{p.From.x, p.From.y, p.From.x, p.From.y};
    b.Add(p.To.x, p.To.y);
    if (p.Tool == 3) b.Add(2 * p.From.x - p.To.x, 2 * p.From.y - p.To.y);
    if (p.Tool == 9) b.Add(p.Corner.x, p.Corner.y);
    if (p.Tool == fkCurve) {
        // The inner points lie half the offset to either side of the chord.
        const int hx = std::abs(p.To.x - p.From.x) / 2 + 1, hy = std::abs(p.To.y - p.From.y) / 2 + 1;
        b.Add(b.Left - hy, b.Top - hx);
        b.Add(b.Right + hy, b.Bottom + hx);
    }
    if (p.Tool == fkPlot) {
        const std::int64_t w = p.Columns * (std::int64_t(s.BlockUnitWidth) + s.BlockGapX) * p.Zoom;
        const std::int64_t h = p.Rows * (std::int64_t(s.BlockUnitHeight) + s.BlockGapY) * p.Zoom;
        b = {p.To.x, p.To.y, SaturatedPixel(p.To.x + w), SaturatedPixel(p.To.y + h)};
    }
    // Arrow heads, dimension ticks and pen width.
    const int margin = p.PenWidth + 2 + (p.Tool == 4 || p.Tool == 10 ? 2 * p.Zoom * s.DimensionTextSize / 100 + 4 : 0);
    return {b.Left - margin, b.Top - margin, b.Right + margin + 1, b.Bottom + margin + 1};
}

void PaintPreview(TDrawingState& s, TCanvas& c, const TToolState::TShownPreview& p) {
    c.Pen.Mode = TPenMode::pmNotXor;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Pen.Width = p.PenWidth;
    c.Pen.Style = PenStyleFromIndex(p.PenStyle);
    c.Pen.Color = PenRed;
    const TPoint a{p.From.x, p.From.y}, e{p.To.x, p.To.y};
    auto rectangle = [&](TPoint u, TPoint v) {
        c.Rectangle(std::min(u.X, v.X), std::min(u.Y, v.Y), std::max(u.X, v.X), std::max(u.Y, v.Y));
    };
    switch (p.Tool) {
    case 0:
        c.Pen.Width = 1;
        c.Pen.Style = TPenStyle::psSolid;
        c.Pen.Color = PenBlue;
        rectangle(a, e);
        break;
    case LoupeTool:
        c.Pen.Width = 1;
        c.Pen.Style = TPenStyle::psDot;
        c.Pen.Color = PenGreen;
        rectangle(a, e);
        break;
    case HandleDragTool:
        c.Pen.Width = 1;
        c.Pen.Style = TPenStyle::psSolid;
        if (s.Tools.Ops.DrawDragPreview) s.Tools.Ops.DrawDragPreview(c, a.X, a.Y, e.X, e.Y, p.Handle);
        break;
    case RotateTool:
        if (s.Tools.Ops.DrawRotationPreview) s.Tools.Ops.DrawRotationPreview(c, p.Angle);
        break;
    case fkRectangle:
        rectangle(a, e);
        break;
    case fkLine:
    case fkPolySegment:
    case 8:
        c.Line(a.X, a.Y, e.X, e.Y);
        break;
    case fkLeader:
        c.Line(a.X, a.Y, e.X, e.Y);
        DrawArrowHead(c, s, a, e);
        break;
    case fkDimension:
        DrawRotatedText(c, s, a, e, "", true);
        break;
    case fkCurve: {
        const int hx = (e.X - a.X) / 2, hy = (e.Y - a.Y) / 2;
        const TPoint m{a.X + hx, a.Y + hy};
        const TPoint p2 = p.Handle == 2 ? TPoint{m.X + hy, m.Y - hx} : TPoint{m.X - hy, m.Y + hx};
        const TPoint p3 = p.Handle == 2 ? TPoint{m.X - hy, m.Y + hx} : TPoint{m.X + hy, m.Y - hx};
        const TPoint pts[4] = {a, p2, p3, e};
        c.PolyBezier(pts);
        break;
    }
    case fkEllipse: {
        TEllipseGeometry g;
        g.CenterX = a.X, g.CenterY = a.Y;
        g.RadiusX = std::abs(e.X - a.X), g.RadiusY = std::abs(e.Y - a.Y);
        DrawEllipticArc(c, g, 0, 360);
        c.Pen.Color = PenBlue;
        rectangle({2 * a.X - e.X, 2 * a.Y - e.Y}, e);
        break;
    }
    case fkRoundPiece: {
        const TPoint k{p.Corner.x, p.Corner.y};
        const TPoint pts[4] = {a, k, k, e};
        c.PolyBezier(pts);
        break;
    }
    case fkPlot: {
        // Sizes and counts are typed freely: only the plots within the canvas are drawn,
        // in 64 bits, so that a huge block costs no more than the view holds.
        const TRect clip = c.ClipRect();
        const auto axis = [](std::int64_t origin, std::int64_t size, std::int64_t step, std::int32_t count,
                             int lo, int hi) {
            std::int64_t first = 0, last = count - 1;
            if (step > 0) {
                first = std::max<std::int64_t>(first, (lo - origin - size) / step);
                last = std::min<std::int64_t>(last, (hi - origin) / step + 1);
            } else {
                last = std::min<std::int64_t>(last, 0);  // every plot on the first
            }
            return std::pair{first, last};
        };
        const std::int64_t w = std::int64_t(s.BlockUnitWidth) * p.Zoom, h = std::int64_t(s.BlockUnitHeight) * p.Zoom;
        const std::int64_t stepX = (std::int64_t(s.BlockUnitWidth) + s.BlockGapX) * p.Zoom;
        const std::int64_t stepY = (std::int64_t(s.BlockUnitHeight) + s.BlockGapY) * p.Zoom;
        const auto [col0, col1] = axis(e.X, w, stepX, p.Columns, clip.Left, clip.Right);
        const auto [row0, row1] = axis(e.Y, h, stepY, p.Rows, clip.Top, clip.Bottom);
        for (std::int64_t row = row0; row <= row1; ++row)
            for (std::int64_t col = col0; col <= col1; ++col) {
                const std::int64_t x = e.X + col * stepX, y = e.Y + row * stepY;
                c.Rectangle(SaturatedPixel(x), SaturatedPixel(y), SaturatedPixel(x + w), SaturatedPixel(y + h));
            }
        break;
    }
    default:
        break;
    }
    c.Pen.Mode = TPenMode::pmCopy;
}

bool HasBand(const TToolState::TShownPreview& p) {
    if (p.Tool == fkPlot || p.Tool == RotateTool) return true;
    return !(p.From == p.To);
}

void DrawRecorded(TDrawingState& s, const TToolState::TShownPreview& p) {
    TToolView& view = ToolView(s);
    TCanvas* c = view.PreviewCanvas();
    if (!c || !HasBand(p)) return;
    PaintPreview(s, *c, p);
    const TBandRect r = PreviewBounds(s, p, *c);
    view.PreviewChanged(r.Left, r.Top, r.Right, r.Bottom);
}

// ---- Rotation preview --------------------------------------------------------------

void ShowRotationPreview(TDrawingState& s) {
    TToolState& t = Tools(s);
    EraseToolPreview(s);
    t.Preview = {};
    t.Preview.Tool = RotateTool;
    t.Preview.Zoom = s.Zoom;
    t.Preview.Angle = t.RotationAngle;
    t.PreviewAngle = t.RotationAngle;
    DrawRecorded(s, t.Preview);
    t.Preview.Shown = true;
}

// ---- Shortcuts --------------------------------------------------------------------

void ScrollByKey(TDrawingState& s, unsigned short key) {
    const int dx = static_cast<int>(RoundHalfEven(s.Form->ScrollBoxWidth() / 3.0));
    const int dy = static_cast<int>(RoundHalfEven(s.Form->ScrollBoxHeight() / 3.0));
    ScrollMapBy(s, key == KeyLeft ? -dx : key == KeyRight ? dx : 0, key == KeyUp ? -dy : key == KeyDown ? dy : 0);
}

void ClearSelectionWithCounts(TDrawingState& s) {
    ClearFigureSelection(s, false);
    s.Form->SelectionCountChanged(0);
    s.Form->RepaintMap();
}

void SetCursor(TDrawingState& s, TToolCursor cursor) { ToolView(s).SetPaintCursor(cursor); }

// The right button while a figure tool is drawing: the band goes, a chain ends open.
void EndFigureDrawing(TDrawingState& s) {
    EraseToolPreview(s);
    s.Dragging = 0;
    if (s.CurrentTool == fkPlot) s.CurrentTool = 0;
    if (IsChainTool(s.CurrentTool)) EndChainOpen(s);
    UpdatePaintCursor(s);
    EnableDrawTab(s, true);
}

}  // namespace

TToolView& ToolView(TDrawingState& s) {
    static TToolView none;
    return s.Tools.View ? *s.Tools.View : none;
}

std::int32_t ToPixel(const TDrawingState& s, double units) {
    return static_cast<std::int32_t>(RoundHalfEven(s.Zoom * units / 1000.0));
}

// ---- Tool buttons -------------------------------------------------------------------

std::string ToolHelpText(const TDrawingState& s, std::int32_t code, bool singlePlot) {
    switch (code) {
    case 0: return SelectHelp;
    case 1: return "直線を引きます。";
    case 2: return "３次ベジェー曲線が描けます。描画後曲線を変形できます。";
    case 3: return "円、又は楕円を描きます。描画後、円弧に変形できます。";
    case 4: return "２点間の寸法をいれます。";
    case 7: return "連続する直線を引きます。右クリック、又は始点と終点が同じでで終了。";
    case 8: return "直線と直線の間が曲線になるように連続して描きます。右クリック、又は始点と終点が同じでで終了。";
    case 10: return "引き出し線をいれます。（最初のクリック位置が矢印です）";
    case 22: return "テキスト文字を挿入します。（漢字のみ対応）";
    case fkRectangle: return "四角形を描きます。";
    case fkPlot:
        if (singlePlot) return "１個の" + s.PlotKindWord + "を配置します。";
        return "複数の" + s.PlotKindWord + "を配置します。配置個数は「" + s.PlotKindWord + "個数設定」で行います。";
    case RotateTool: return "選択されている図形を回転させます。";
    default: return {};
    }
}

void UpdatePaintCursor(TDrawingState& s) {
    const std::int32_t tool = s.CurrentTool;
    if (tool == 0) SetCursor(s, TToolCursor::Default);
    else if (tool == 22) SetCursor(s, TToolCursor::IBeam);
    else if (tool == LoupeTool) SetCursor(s, TToolCursor::Loupe);
    else if (tool == RotateTool) SetCursor(s, TToolCursor::Rotate);
    else if (IsFigureTool(tool)) SetCursor(s, TToolCursor::Cross);
}

void FinishDrawingInProgress(TDrawingState& s) {
    if (!s.Dragging) return;
    if (IsFigureTool(s.CurrentTool) || s.CurrentTool == fkPlot) {
        EndFigureDrawing(s);
        return;
    }
    EraseToolPreview(s);
    s.Dragging = 0;
    if (s.CurrentTool == HandleDragTool) s.CurrentTool = 0;
    EnableDrawTab(s, true);
}

void ChooseTool(TDrawingState& s, std::int32_t code) {
    FinishDrawingInProgress(s);
    if (code == 22) s.PreviousTool = s.CurrentTool;
    ClearFigureSelection(s, false);
    s.Form->RepaintMap();
    s.CurrentTool = code;
    if (code == 7 || code == 8) s.Tools.ChainStart = s.FigureCount + 1;
    s.HelpText = ToolHelpText(s, code);
    s.SetHelpLine(s.HelpText);
    SetCursor(s, code == 22 ? TToolCursor::IBeam : TToolCursor::Cross);
    s.Form->FocusSink();
}

void ChooseSelectTool(TDrawingState& s) {
    FinishDrawingInProgress(s);
    s.CurrentTool = 0;
    ClassifySelectionKinds(s);
    ResetPointMarkers(s, true);
    s.Form->RepaintMap();
    s.HelpText = SelectHelp;
    s.SetHelpLine(s.HelpText);
    SetCursor(s, TToolCursor::Default);
    s.Form->FocusSink();
}

void ChooseBlockTool(TDrawingState& s, bool singlePlot) {
    FinishDrawingInProgress(s);
    s.PreviousTool = s.CurrentTool;
    ClearFigureSelection(s, false);
    s.Form->RepaintMap();
    TToolState& t = Tools(s);
    s.CurrentTool = fkPlot;
    t.PlacingColumns = singlePlot ? 1 : s.BlockColumns;
    t.PlacingRows = singlePlot ? 1 : s.BlockRows;
    s.HelpText = ToolHelpText(s, fkPlot, singlePlot);
    s.SetHelpLine(s.HelpText);
    // The block outline follows the pointer from its first move; nothing is on screen yet.
    s.Dragging = 1;
    s.MousePos = {-10000, -10000};
    t.Preview.Shown = false;
    EnableDrawTab(s, false);
    SetCursor(s, TToolCursor::None);
    ToolView(s).MovePointerBy(0, 100);
    s.Form->FocusSink();
}

bool ChooseRotateTool(TDrawingState& s) {
    s.ClickMovePending = 0;
    bool any = false;
    for (std::int32_t i = 1; i <= s.FigureCount && !any; ++i) any = s.Fig(i).Selected != 0;
    if (!any) {
        s.Ui.Beep();
        s.SetHelpLine("回転する対象がありません。選択してください。");
        return false;
    }
    FinishDrawingInProgress(s);
    TToolState& t = Tools(s);
    s.CurrentTool = RotateTool;
    SetCursor(s, TToolCursor::Rotate);
    s.Form->FocusSink();
    s.Dragging = 0;
    RebuildSelectionList(s, true);
    t.ForgetRotation();
    s.HelpText = ToolHelpText(s, RotateTool);
    s.SetHelpLine(s.HelpText);
    return true;
}

// ---- Snapping and coordinates -----------------------------------------------------

std::int32_t SnapToMesh(const TDrawingState& s, std::int32_t p, std::int32_t origin) {
    const std::int32_t step = s.MeshStep / 2;
    if (step < 1) return p;
    const std::int32_t a = p - origin, q = a / step, r = std::abs(a - q * step);
    std::int32_t result = origin + q * step;
    if (2 * r >= step) result += a < 0 ? -step : step;
    return result;
}

TSnappedPoint SnapPoint(TDrawingState& s, int x, int y, bool eraseMarkers) {
    TToolState& t = Tools(s);
    if (t.HandleFigure >= 1) return {s.SnapGuidePxX, t.SnapGuidePxY, t.SnapGuidePos.x, t.SnapGuidePos.y};
    s.SnapGuidePxX = t.SnapGuidePxY = -1;
    t.SnapGuidePos = {};
    if (t.Ops.FindSnapGuides) t.Ops.FindSnapGuides(x, y);
    if (eraseMarkers && t.MarkersShown) {
        if (TCanvas* c = ToolView(s).PreviewCanvas(); c && t.Ops.DrawPointMarkers) t.Ops.DrawPointMarkers(*c);
        t.MarkersShown = 0;
    }
    TSnappedPoint p;
    auto axis = [&](int raw, int guidePx, double guidePos, std::int32_t origin, std::int32_t& px, double& pos) {
        if (guidePos >= 0) {
            px = guidePx;
            pos = guidePos;
            return;
        }
        px = t.MeshSnap ? SnapToMesh(s, raw, origin) : raw;
        pos = px * 1000.0 / s.Zoom;
    };
    axis(x, s.SnapGuidePxX, t.SnapGuidePos.x, s.MeshOrigin.x, p.px, p.x);
    axis(y, t.SnapGuidePxY, t.SnapGuidePos.y, s.MeshOrigin.y, p.py, p.y);
    return p;
}

void ShowCursorCoordinates(TDrawingState& s, int x, int y, bool relative) {
    const TSnappedPoint p = SnapPoint(s, x, y, false);
    TDateRec& scratch = Scratch(s);
    scratch.X2 = p.x;
    scratch.Y2 = p.y;
    std::string text;
    if (relative) {
        const double dx = scratch.X2 - scratch.X1, dy = scratch.Y2 - scratch.Y1;
        const double length = static_cast<double>(RoundHalfEven(std::hypot(dx, dy) * s.DrawingScale / 10000.0)) / 10.0;
        text = "X = " + FloatToStr(dx * 10 * s.DrawingScale / 1000000.0) + "  Y = " +
               FloatToStr(dy * 10 * s.DrawingScale / 1000000.0) + "  L = " + FloatToStr(length);
    } else {
        const double mx = (scratch.X2 / 1000.0 - static_cast<double>(s.MeshOrigin.x) / s.Zoom) * 10 * s.DrawingScale / 1000.0;
        const double my = (scratch.Y2 / 1000.0 - static_cast<double>(s.MeshOrigin.y) / s.Zoom) * 10 * s.DrawingScale / 1000.0;
        text = "X = " + FloatToStr(mx) + "  Y = " + FloatToStr(my);
    }
    ToolView(s).ShowCoordinates(text);
}

void ResetPointMarkers(TDrawingState& s, bool clearFirst) {
    TToolState& t = Tools(s);
    // Shown markers always come off the image first, or drawing them again later would
    // leave lines behind; the start of a figure in hand survives the snap tracking's reset.
    if (t.MarkersShown)
        if (TCanvas* c = ToolView(s).PreviewCanvas(); c && t.Ops.DrawPointMarkers) t.Ops.DrawPointMarkers(*c);
    t.MarkersShown = 0;
    if (clearFirst) t.PointMarkers[0] = {};
    t.PointMarkers[1] = t.PointMarkers[2] = {};
}

// ---- Rubber band --------------------------------------------------------------------

void EraseToolPreview(TDrawingState& s) {
    TToolState& t = Tools(s);
    if (!t.Preview.Shown) return;
    t.Preview.Shown = false;
    // Drawn at another zoom: a repaint is on its way and takes it off.
    if (t.Preview.Zoom != s.Zoom) return;
    DrawRecorded(s, t.Preview);
}

void ShowToolPreview(TDrawingState& s) {
    TToolState& t = Tools(s);
    if (s.CurrentTool == RotateTool) {
        ShowRotationPreview(s);
        return;
    }
    EraseToolPreview(s);
    TToolState::TShownPreview p;
    p.Tool = s.CurrentTool;
    p.From = {s.MouseDownPos.x, s.MouseDownPos.y};
    p.To = {s.MousePos.x, s.MousePos.y};
    p.Corner = {ToPixel(s, t.LastCorner.x), ToPixel(s, t.LastCorner.y)};
    // A handle drag keeps the handle it is drawn for, a curve the way it bends.
    p.Handle = p.Tool == HandleDragTool ? t.HandleHit : t.BezierHandle;
    p.Zoom = s.Zoom;
    p.PenWidth = s.CurPenWidth;
    p.PenStyle = s.CurPenStyle;
    p.Columns = t.PlacingColumns;
    p.Rows = t.PlacingRows;
    if (p.Tool == 0 || p.Tool == LoupeTool || p.Tool == HandleDragTool) p.PenWidth = 1;
    t.Preview = p;
    DrawRecorded(s, t.Preview);
    t.Preview.Shown = true;
}

void MoveRubberBandEnd(TDrawingState& s, int x, int y) {
    if (s.PreviewStale) Tools(s).Preview.Shown = false;
    s.MousePos = {x, y};
    ShowToolPreview(s);
    s.PreviewStale = 0;
    ShowCursorCoordinates(s, x, y, s.CurrentTool != fkPlot);
}

void ToolMapRepainted(TDrawingState& s) {
    TToolState& t = Tools(s);
    t.Preview.Shown = false;
    // Shown markers stay shown: the fresh map gets them drawn back.
    if (t.MarkersShown) {
        TCanvas* c = ToolView(s).PreviewCanvas();
        if (c && t.Ops.DrawPointMarkers) t.Ops.DrawPointMarkers(*c);
        else t.MarkersShown = 0;
    }
    t.SnapCircleShown = 0;
    // A repaint never hides the text box, so an erase key needs nothing shown again.
    if (s.CurrentTool == fkText) t.TextEraseKey = 0;
    if (!s.Dragging) return;
    ShowToolPreview(s);
    s.PreviewStale = 0;
}

// ---- Mouse --------------------------------------------------------------------------

void BeginFigureDrag(TDrawingState& s, int x, int y) {
    TToolState& t = Tools(s);
    TDateRec& scratch = Scratch(s);
    s.Dragging = 1;
    scratch.X1 = scratch.Y1 = -1.0;
    // A rounded chain left without its ending (its drag was dropped) starts afresh.
    if (s.CurrentTool == 9) s.CurrentTool = 8;
    if (s.CurrentTool == 7 || s.CurrentTool == 8) t.ChainStart = s.FigureCount + 1;
    std::int32_t px = x, py = y;
    if (Page(s) == 3) {
        if (t.MarkersShown)
            if (TCanvas* c = ToolView(s).PreviewCanvas(); c && t.Ops.DrawPointMarkers) t.Ops.DrawPointMarkers(*c);
        const bool onHandle = t.HandleFigure >= 1;
        const TSnappedPoint p = SnapPoint(s, x, y, false);
        px = p.px, py = p.py;
        scratch.X1 = p.x, scratch.Y1 = p.y;
        if (!onHandle && s.CurrentTool != 0) t.PointMarkers[0] = {scratch.X1, scratch.Y1};
        t.MarkersShown = 0;
    } else {
        scratch.X1 = x * 1000.0 / s.Zoom;
        scratch.Y1 = y * 1000.0 / s.Zoom;
    }
    s.MouseDownPos = s.MousePos = {px, py};
    t.Preview.Shown = false;
}

void ToolMouseDown(TDrawingState& s, TToolButton button, unsigned shift, int x, int y) {
    TToolState& t = Tools(s);
    s.Form->FocusSink();
    s.WheelZoomSeries = 0;
    if (t.PanMode) {
        s.MouseDownPos = {x, y};
        return;
    }
    const std::int32_t tool = s.CurrentTool;
    if (tool == LoupeTool) {
        if (button == TToolButton::Left) {
            s.Dragging = 1;
            s.MouseDownPos = s.MousePos = {x, y};
            t.Preview.Shown = false;
        } else if (button == TToolButton::Right) {
            s.MouseDownPos = {x, y};
        }
        return;
    }

    if (button == TToolButton::Right && s.EditTabActive) {
        ResetPointMarkers(s, true);
        switch (tool) {
        case 22:
            ToolView(s).HideTextBox();
            s.CurrentTool = s.PreviousTool;
            UpdatePaintCursor(s);
            EnableDrawTab(s, true);
            return;
        case HandleDragTool:
            if (s.Dragging) {
                EraseToolPreview(s);
                s.Form->RepaintMap();
            }
            s.Dragging = 0;
            EnableDrawTab(s, true);
            s.CurrentTool = 0;
            return;
        case RotateTool:
            EraseToolPreview(s);
            s.Form->RepaintMap();
            EnableDrawTab(s, true);
            if (!s.Dragging) ChooseSelectTool(s);
            s.Dragging = 0;
            return;
        case 0:
            if (!s.Dragging) {
                if (s.HasSelection == 1 && t.UndoJustRan == 0) ClearSelectionWithCounts(s);
                else Call(t.Ops.UndoLast);
            } else {
                EraseToolPreview(s);
                s.Dragging = 0;
                EnableDrawTab(s, true);
            }
            return;
        default:
            if (!s.Dragging) Call(t.Ops.UndoLast);
            else EndFigureDrawing(s);
            break;
        }
    } else if (button == TToolButton::Right) {
        s.Search.EditingField = 0;
        if (s.HasSelection == 1 && !s.Dragging) ClearSelectionWithCounts(s);
        if (s.Dragging) {
            // Off the drawing pages a chain still ends whole rather than leaving loose pieces.
            if (IsChainTool(tool)) EndFigureDrawing(s);
            EraseToolPreview(s);
            s.Dragging = 0;
        }
    }

    t.RawMouseDownPos = {x, y};

    if (button == TToolButton::Left) {
        if (tool == 0) {
            if (shift & ToolShiftKey) t.HandleHit = -1;
            s.ClickMovePending = 0;
            if (!s.Dragging) {
                BeginFigureDrag(s, x, y);
                if (t.HandleHit >= 1 && t.HandleHit <= 9 && s.HasSelection == 1 && Page(s) == 3) {
                    s.CurrentTool = HandleDragTool;
                    EnableDrawTab(s, false);
                } else {
                    SetCursor(s, TToolCursor::None);
                    const int picked = t.Ops.SelectAtPoint ? t.Ops.SelectAtPoint(shift) : 0;
                    if (picked > 0) {
                        s.Search.EditingField = 0;
                        s.HasSelection = 1;
                        if (Page(s) == 3) {
                            s.Dragging = 1;
                            if (t.HandleHit == -1) t.HandleHit = 5;
                            s.CurrentTool = HandleDragTool;
                            s.ClickMovePending = 1;
                        }
                    }
                    SetCursor(s, TToolCursor::Default);
                }
            } else {
                EraseToolPreview(s);
                SetCursor(s, TToolCursor::None);
                if (t.Ops.SelectInRectangle) t.Ops.SelectInRectangle(shift);
                SetCursor(s, TToolCursor::Default);
                s.Dragging = 0;
                EnableDrawTab(s, true);
            }
        } else if (IsFigureTool(tool) || tool == RotateTool || tool == fkPlot) {
            if (tool == fkPlot) s.PreviewStale = 1;
            if (!s.Dragging) {
                BeginFigureDrag(s, x, y);
                if (tool == RotateTool) {
                    t.RotationCentre = t.RotationPoint = {Scratch(s).X1, Scratch(s).Y1};
                    t.RotationAngle = t.PreviewAngle = 0;
                    ShowRotationPreview(s);
                }
                EnableDrawTab(s, false);
            } else {
                if (IsFigureTool(tool)) SetCursor(s, TToolCursor::Cross);
                ResetPointMarkers(s, true);
                if (tool == RotateTool) {
                    EraseToolPreview(s);
                    if (t.Ops.CommitRotation) t.Ops.CommitRotation(shift);
                    s.Dragging = 0;
                } else {
                    CommitDrawnFigure(s, x, y);
                }
                const std::int32_t now = s.CurrentTool;
                if (now != fkPlot && !IsChainTool(now)) EnableDrawTab(s, true);
            }
        } else if (tool == 22) {
            BeginFigureDrag(s, x, y);
            EnableDrawTab(s, false);
            Call(t.Ops.PlaceTextMemo);
            s.Dragging = 0;
        } else if (tool == HandleDragTool) {
            EraseToolPreview(s);
            if (t.Ops.CommitMoveOrTransform) t.Ops.CommitMoveOrTransform(shift, x, y);
            s.Dragging = 0;
            s.CurrentTool = 0;
            EnableDrawTab(s, true);
        }
    }
    t.UndoJustRan = 0;
}

void ToolMouseMove(TDrawingState& s, unsigned shift, bool leftHeld, int x, int y) {
    TToolState& t = Tools(s);
    StopBlink(s);
    s.HoverBusy = 0;  // the plot under the pointer may be shown again at once
    s.HoverPos = {x, y};
    if (t.PointMarkers[0].x > 0 || t.PointMarkers[1].x > 0) Call(t.Ops.HitTestPointMarkers);
    if (t.PanMode && leftHeld) {
        s.Form->SetScrollPos(s.Form->HorzScrollPos() + s.MouseDownPos.x - x,
                             s.Form->VertScrollPos() + s.MouseDownPos.y - y);
        return;
    }
    if (s.SkipNextMouseMove) {
        s.SkipNextMouseMove = 0;
        return;
    }
    if (s.Dragging) {
        if (s.CurrentTool == RotateTool) {
            if (s.PreviewStale) t.Preview.Shown = false;
            t.RotationPoint = {x * 1000.0 / s.Zoom, y * 1000.0 / s.Zoom};
            t.RotationAngle = std::atan2(t.RotationCentre.y - t.RotationPoint.y, t.RotationCentre.x - t.RotationPoint.x);
            ShowRotationPreview(s);
            s.PreviewStale = 0;
        } else {
            MoveRubberBandEnd(s, x, y);
        }
    } else if (Page(s) == 3) {
        ShowCursorCoordinates(s, x, y, false);
    }
    if (!t.PanMode && s.CurrentTool == 0 && s.HasSelection == 1 && !(shift & ToolShiftKey) && Page(s) == 3) {
        switch (t.HandleHit) {
        case 1: case 3: case 6: case 8: SetCursor(s, TToolCursor::SizeNWSE); break;
        case 2: case 4: case 7: case 9: SetCursor(s, TToolCursor::SizeNESW); break;
        case 5: case HandleDragTool: SetCursor(s, TToolCursor::SizeAll); break;
        case -1: SetCursor(s, TToolCursor::Default); break;
        default: break;
        }
    }
}

void ToolMouseUp(TDrawingState& s, TToolButton button, unsigned shift, int x, int y) {
    TToolState& t = Tools(s);
    if (t.PanMode) {
        s.Form->RepaintMap();
        return;
    }
    const std::int32_t tool = s.CurrentTool;
    if (tool == LoupeTool) {
        if (button == TToolButton::Left) {
            EraseToolPreview(s);
            s.Dragging = 0;
            s.MousePos = {x, y};
            const bool changed = s.MousePos.x == s.MouseDownPos.x && s.MousePos.y == s.MouseDownPos.y
                                     ? ZoomInStep(s)
                                     : ZoomToRectangle(s);
            (void)changed;
        } else if (button == TToolButton::Right) {
            s.MousePos = {x, y};
            ZoomOutStep(s);
        } else {
            return;
        }
        s.Form->WarpPointerToMapCentre();
        s.Form->RepaintMap();
        return;
    }
    const bool leftClick = button == TToolButton::Left && Within(x, t.RawMouseDownPos.x, 4) &&
                           Within(y, t.RawMouseDownPos.y, 4);
    if (leftClick && s.ClickMovePending) {
        EraseToolPreview(s);
        s.ClickMovePending = 0;
        t.HandleHit = -1;
        s.Dragging = 0;
        s.CurrentTool = 0;
        s.Form->RepaintMap();
        EnableDrawTab(s, true);
        return;
    }
    if (button != TToolButton::Left) return;
    // A click: the figure waits for its second press.
    if (Within(x, t.RawMouseDownPos.x, 5) && Within(y, t.RawMouseDownPos.y, 5)) return;

    // Only a drag in progress commits: after a committing press the release is no new figure.
    if (s.Dragging) {
        if (tool == 0) {
            if (!(s.MousePos.x == s.MouseDownPos.x && s.MousePos.y == s.MouseDownPos.y)) {
                EraseToolPreview(s);
                if (t.Ops.SelectInRectangle) t.Ops.SelectInRectangle(shift);
                s.Dragging = 0;
            }
        } else if (tool == 1 || tool == 2 || tool == 3 || tool == 4 || tool == 10 || tool == fkRectangle) {
            SetCursor(s, TToolCursor::Cross);
            ResetPointMarkers(s, true);
            CommitDrawnFigure(s, x, y);
        } else if (tool == RotateTool) {
            ResetPointMarkers(s, true);
            EraseToolPreview(s);
            if (t.Ops.CommitRotation) t.Ops.CommitRotation(shift);
            s.Dragging = 0;
        } else if (tool == HandleDragTool) {
            EraseToolPreview(s);
            if (t.Ops.CommitMoveOrTransform) t.Ops.CommitMoveOrTransform(shift, x, y);
            s.Dragging = 0;
            s.CurrentTool = 0;
        }
    }
    if (tool == 22) {
        BeginFigureDrag(s, x, y);
        EnableDrawTab(s, true);
        Call(t.Ops.PlaceTextMemo);
        s.Dragging = 0;
    }
    // The text box keeps the page locked until it closes.
    if (!s.Dragging && !ToolView(s).TextBoxVisible()) EnableDrawTab(s, true);
}

// ---- Keys ---------------------------------------------------------------------------

void ToolKeyDown(TDrawingState& s, unsigned short& key, unsigned shift) {
    TToolState& t = Tools(s);
    s.WheelZoomSeries = 0;
    t.UndoJustRan = 0;
    const bool spaceRepeat = key == KeySpace && t.SpaceHeld;
    if (key == KeySpace) t.SpaceHeld = 1;
    if (s.Search.EditingField || s.Ledger.LedgerWriteBusy || t.UndoRunning || ToolView(s).TextBoxVisible()) return;
    if (key == KeySpace && s.Dragging && s.CurrentTool == fkCurve) {
        key = 0;
        if (spaceRepeat) return;
        EraseToolPreview(s);
        t.BezierHandle = t.BezierHandle == 1 ? 2 : 1;
        ShowToolPreview(s);
        return;
    }
    if (shift & ToolShiftKey) SetCursor(s, TToolCursor::Default);
    // The Ctrl key itself may arrive without its own modifier bit.
    const bool ctrl = (shift & ToolCtrlKey) != 0 || key == KeyControl;
    const bool tabs = s.EditTabActive != 0;
    if (ctrl && s.CurrentTool == RotateTool && tabs && !s.Dragging) {
        EraseToolPreview(s);
        s.PreviousTool = -1000;
        s.CurrentTool = 0;
        SetCursor(s, TToolCursor::Default);
    }
    if (ctrl && tabs) {
        switch (key) {
        case 'A': Call(t.Ops.SelectAllFigures); break;
        case 'C':
            t.CutMode = 0;
            Call(t.Ops.CopyOrCutSelection);
            break;
        case 'X':
            t.CutMode = 1;
            Call(t.Ops.CopyOrCutSelection);
            break;
        case 'V': Call(t.CutMode == 1 ? t.Ops.PasteCutFigures : t.Ops.PasteCopiedFigures); break;
        default: break;
        }
    }
    if (ctrl && key == 'Z' && !s.Dragging) {
        Call(t.Ops.UndoLast);
        key = 0;
        return;
    }
    const bool arrow = key == KeyLeft || key == KeyUp || key == KeyRight || key == KeyDown;
    if (ctrl && arrow && tabs) {
        if (t.Ops.NudgeSelection) t.Ops.NudgeSelection(key);
        return;
    }
    if (key == KeyDelete && !s.Dragging && tabs) {
        Call(t.Ops.DeleteSelectedFigures);
        return;
    }
    if (key == KeySpace && !s.Search.EditingField && !s.Dragging && t.HandleFigure < 0) {
        if (!t.PanMode) {
            t.PanMode = 1;
            SetCursor(s, TToolCursor::HandPoint);
            ToolView(s).NudgePointer();
        }
        return;
    }
    if (arrow && !(shift & ToolShiftKey) && !ctrl && !s.GridFocused) ScrollByKey(s, key);
}

void ToolKeyUp(TDrawingState& s, unsigned short& key, unsigned) {
    TToolState& t = Tools(s);
    if (key == KeySpace) t.SpaceHeld = 0;
    // Either key of a Ctrl(+Shift)+arrow move ends it with its step, so it can be taken back.
    if ((key == KeyControl || key == KeyShift) && t.NudgeActive) {
        t.NudgeActive = 0;
        THistoryData& d = PushHistory(s, NudgeStepLabel).Data;
        d.AddNumber(t.NudgeTotal.dx);
        d.AddNumber(t.NudgeTotal.dy);
        d.Append(BuildSelectionHistoryData(s));
        t.NudgeTotal = {};
    }
    if (s.CurrentTool == 22) return;
    if (s.PreviousTool == -1000) {
        s.PreviousTool = 0;
        s.CurrentTool = 0;
        SetCursor(s, TToolCursor::Default);
    }
    if (key == KeySpace && t.PanMode) {
        t.PanMode = 0;
        UpdatePaintCursor(s);
    }
}

}  // namespace tarvek
