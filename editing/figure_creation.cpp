#include "editing/figure_creation.h"

#include <algorithm>
#include <cmath>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"

namespace tarvek {

namespace {

TDateRec& Scratch(TDrawingState& s) { return s.Fig(0); }

bool SelectAfterDrawing(TDrawingState& s) { return ToolView(s).SelectAfterDrawing(); }

void EnableDrawTab(TDrawingState& s) {
    if (s.Tools.Ops.SetDrawTabEnabled) s.Tools.Ops.SetDrawTabEnabled(true);
}

// A fresh slot: a slot above the count may still hold an old record.
std::int32_t AddRecord(TDrawingState& s) {
    ++s.FigureCount;
    s.Fig(s.FigureCount) = TDateRec{};
    return s.FigureCount;
}

void SetStraight(TDateRec& r, double sx, double sy, double ex, double ey) {
    r.X1 = r.X2 = sx;
    r.Y1 = r.Y2 = sy;
    r.X3 = r.X4 = ex;
    r.Y3 = r.Y4 = ey;
}

void PushCreationStep(TDrawingState& s, std::int64_t count) {
    PushHistory(s, CreationStepLabel).Data.AddNumber(count);
}

bool IsChainTool(std::int32_t tool) { return tool == 7 || tool == 8 || tool == 9; }

// Members ChainStart..FigureCount under one new parent of kind 31.
void CloseUnderParent(TDrawingState& s, std::int32_t memberKind) {
    const std::int32_t first = s.Tools.ChainStart;
    for (std::int32_t i = first; i <= s.FigureCount; ++i) {
        s.Fig(i).OwnerIndex = s.FigureCount + 1;
        if (memberKind != 0) s.Fig(i).Kind = memberKind;
    }
    ComputeRangeBounds(s, first, s.FigureCount);
    AppendFigure(s, fkPolygon, SelectAfterDrawing(s));
}

}  // namespace

void InitNewFigure(TDrawingState& s) {
    TDateRec& r = s.Fig(s.FigureCount);
    ApplyNewFigureDefaults(s, r);
    r.Selected = SelectAfterDrawing(s) ? 1 : 0;
}

void ComputeRangeBounds(TDrawingState& s, std::int32_t first, std::int32_t last) {
    auto& b = s.DrawPointBuffer;  // right, left, bottom, top
    b = {0, 9999999999.0, 0, 9999999999.0};
    for (std::int32_t i = std::max(first, 1); i <= std::min(last, s.FigureCount); ++i) {
        const TDateRec& r = s.Fig(i);
        b[0] = std::max(b[0], r.BoxX2);
        b[1] = std::min(b[1], r.BoxX1);
        b[2] = std::max(b[2], r.BoxY2);
        b[3] = std::min(b[3], r.BoxY1);
    }
}

void AppendFigure(TDrawingState& s, std::int32_t kind, bool selected) {
    AddRecord(s);
    InitNewFigure(s);
    TDateRec& r = s.Fig(s.FigureCount);
    const auto& b = s.DrawPointBuffer;
    r.Kind = kind;
    r.X1 = b[1], r.Y1 = b[3];
    r.X2 = b[0], r.Y2 = b[3];
    r.X3 = b[0], r.Y3 = b[2];
    r.X4 = b[1], r.Y4 = b[2];
    r.BoxX1 = b[1], r.BoxY1 = b[3], r.BoxX2 = b[0], r.BoxY2 = b[2];
    r.Selected = selected ? 1 : 0;
    r.Deleted = 0;
    r.PlotNumber = "000000";
    r.Text = "0";
    r.OwnerIndex = 0;
    r.FontName = s.CurFontName;
    // A compound figure keeps the fill it is drawn with; a group frame is plain black.
    if (kind < fkPolygon || kind > fkOpenCurve) r.PenColor = r.BrushColor = 0;
    RebuildSelectionList(s, true);
}

bool AppendDimensionExtensionLines(TDrawingState& s) {
    const std::int32_t n = s.FigureCount;
    if (!s.ValidIndex(n) || s.Fig(n).Kind != fkDimension) return false;
    if (!ReserveFigures(s, 4)) return false;
    const TDateRec& d = s.Fig(n);
    const double phi = -std::atan2(d.Y1 - d.Y3, d.X3 - d.X1);
    const double c = std::cos(phi), sn = std::sin(phi), t5 = 5.0 * s.DimensionTextSize;
    const double ends[2][2] = {{d.X1, d.Y1}, {d.X3, d.Y3}};
    for (const auto& b : ends) {
        const std::int32_t i = AddRecord(s);
        InitNewFigure(s);
        TDateRec& r = s.Fig(i);
        r.Kind = fkLine;
        SetStraight(r, b[0] + t5 * sn, b[1] - t5 * c, b[0] - t5 * sn, b[1] + t5 * c);
        UpdateFigureBounds(s, i);
        r.OwnerIndex = n + 3;
    }
    const bool selected = SelectAfterDrawing(s);
    ComputeRangeBounds(s, n + 1, n + 2);
    AppendFigure(s, fkGroup, selected);
    ComputeRangeBounds(s, n, n + 3);
    AppendFigure(s, fkGroup, selected);
    s.Fig(n + 3).OwnerIndex = n + 4;
    s.Fig(n).OwnerIndex = n + 4;
    PushCreationStep(s, 5);
    RebuildSelectionList(s, true);
    return true;
}

bool CommitDrawnFigure(TDrawingState& s, int x, int y) {
    TToolState& t = s.Tools;
    std::int32_t tool = s.CurrentTool;
    if (tool == fkPlot) {
        // The block snaps like any other end point; its records are the block module's,
        // the step and the bookkeeping the commit's.
        EraseToolPreview(s);
        TDateRec& scratch = Scratch(s);
        const TSnappedPoint e = SnapPoint(s, x, y, true);
        s.MousePos = {e.px, e.py};
        scratch.X2 = e.x;
        scratch.Y2 = e.y;
        t.PointMarkers[0] = {};
        s.HasSelection = 1;
        // Columns and rows are typed freely: their product is taken wide, and a block
        // larger than the store, or than the plot keys left, is refused like any other
        // that does not fit.
        const std::int64_t count = std::int64_t(t.PlacingColumns) * t.PlacingRows;
        std::int32_t added = 0;
        if (t.Ops.PlaceBlock && count > 0 && ReservePlotIds(s, count) &&
            ReserveFigures(s, static_cast<std::int32_t>(std::min<std::int64_t>(count, MaxFigures)))) {
            const std::int32_t before = s.FigureCount;
            t.Ops.PlaceBlock(e.px, e.py);
            added = s.FigureCount - before;
        }
        if (added > 0) {
            if (IsPlotRecord(s.Fig(s.FigureCount))) s.LedgerUnchanged = 0;
            else s.DrawingUnchanged = 0;
            PushCreationStep(s, added);
        }
        ShowToolPreview(s);
        RebuildSelectionList(s, true);
        scratch.X1 = scratch.Y1 = scratch.X2 = scratch.Y2 = -1.0;
        if (SelectAfterDrawing(s)) UpdateSelectionCount(s);
        if (added > 0) s.Form->RepaintMap();
        return added > 0;
    }
    const bool known = tool == fkLine || tool == fkCurve || tool == fkEllipse || tool == fkDimension ||
                       tool == fkLeader || tool == fkRectangle || IsChainTool(tool);
    if (!known) return false;

    EraseToolPreview(s);
    TDateRec& scratch = Scratch(s);
    scratch.X2 = scratch.Y2 = -1.0;
    const TSnappedPoint e = SnapPoint(s, x, y, true);
    s.MousePos = {e.px, e.py};
    t.PointMarkers[0] = {};
    s.HasSelection = 1;
    const double sx = scratch.X1, sy = scratch.Y1, ex = e.x, ey = e.y;
    if (sx == -1.0 && sy == -1.0) return false;  // no start: nothing is being drawn
    // A click on the point the chain stands on would add a piece without length.
    const bool zeroPiece = ((tool == 7 || tool == 8) && ex == sx && ey == sy) ||
                           (tool == 9 && ex == t.LastCorner.x && ey == t.LastCorner.y);
    if (zeroPiece) {
        ShowToolPreview(s);
        return false;
    }
    // Room for everything this figure and its ending will add, before any of it is added.
    const std::int32_t needed = tool == fkDimension ? 5 : tool == 7 ? 2 : IsChainTool(tool) ? 3 : 1;
    if (!ReserveFigures(s, needed)) return false;
    scratch.X2 = ex;
    scratch.Y2 = ey;

    const std::int32_t i = AddRecord(s);
    TDateRec& r = s.Fig(i);
    switch (tool) {
    case fkLine:
    case fkLeader:
    case fkDimension:
    case fkPolySegment:
        InitNewFigure(s);
        r.Kind = tool;
        SetStraight(r, sx, sy, ex, ey);
        break;
    case fkRectangle: {
        InitNewFigure(s);
        r.Kind = fkRectangle;
        const double x1 = std::min(sx, ex), x2 = std::max(sx, ex), y1 = std::min(sy, ey), y2 = std::max(sy, ey);
        r.X1 = x1, r.Y1 = y1, r.X2 = x2, r.Y2 = y1, r.X3 = x2, r.Y3 = y2, r.X4 = x1, r.Y4 = y2;
        break;
    }
    case fkCurve: {
        r.Kind = fkCurve;
        const double mx = (sx + ex) / 2, my = (sy + ey) / 2, dx = mx - sx, dy = my - sy;
        r.X1 = sx, r.Y1 = sy, r.X4 = ex, r.Y4 = ey;
        if (t.BezierHandle == 2) {
            r.X2 = mx + dy, r.Y2 = my - dx, r.X3 = mx - dy, r.Y3 = my + dx;
        } else {
            r.X2 = mx - dy, r.Y2 = my + dx, r.X3 = mx + dy, r.Y3 = my - dx;
        }
        InitNewFigure(s);
        break;
    }
    case fkEllipse: {
        r.Kind = fkEllipse;
        const double dx = ex - sx, dy = ey - sy;
        r.X1 = sx - dx, r.Y1 = sy - dy, r.X2 = ex, r.Y2 = sy - dy;
        r.X3 = ex, r.Y3 = ey, r.X4 = sx - dx, r.Y4 = ey;
        NormalizeCorners(s, i);
        // Arc start equals arc end: the whole ellipse.
        r.Aux1 = r.Aux3 = r.X2;
        r.Aux2 = r.Aux4 = (r.Y3 - r.Y2) / 2 + r.Y2;
        InitNewFigure(s);
        break;
    }
    case 8:  // the first click of a rounded polygon: the straight half-segment
        r.Kind = fkChainLine;
        SetStraight(r, sx, sy, (sx + ex) / 2, (sy + ey) / 2);
        InitNewFigure(s);
        break;
    case fkRoundPiece:
        r.Kind = fkRoundPiece;
        r.X1 = sx, r.Y1 = sy;
        r.X2 = r.X3 = t.LastCorner.x;
        r.Y2 = r.Y3 = t.LastCorner.y;
        r.X4 = (t.LastCorner.x + ex) / 2, r.Y4 = (t.LastCorner.y + ey) / 2;
        InitNewFigure(s);
        break;
    }
    UpdateFigureBounds(s, i);

    if (tool == 7 && s.ValidIndex(t.ChainStart) && r.X3 == s.Fig(t.ChainStart).X1 &&
        r.Y3 == s.Fig(t.ChainStart).Y1) {
        EraseToolPreview(s);
        s.Dragging = 0;
        CloseUnderParent(s, fkPolygonEdge);
        EnableDrawTab(s);
        tool = -7;
    } else if (tool == 9 && s.ValidIndex(t.ChainStart) && t.ChainStart < s.FigureCount &&
               ex == s.Fig(t.ChainStart).X1 && ey == s.Fig(t.ChainStart).Y1) {
        // The closing corner is stored from the first midpoint round the first corner to the
        // last midpoint; each piece is painted by itself, so the ring needs no one direction.
        const TDateRec first = s.Fig(t.ChainStart);
        const TDateRec second = s.Fig(t.ChainStart + 1);
        const TDateRec last = s.Fig(s.FigureCount);
        const std::int32_t k = AddRecord(s);
        TDateRec& c = s.Fig(k);
        c.Kind = fkRoundPiece;
        c.X1 = second.X1, c.Y1 = second.Y1;
        c.X2 = c.X3 = first.X1;
        c.Y2 = c.Y3 = first.Y1;
        c.X4 = last.X4, c.Y4 = last.Y4;
        InitNewFigure(s);
        UpdateFigureBounds(s, k);
        EraseToolPreview(s);
        s.Dragging = 0;
        // The first straight half-segment is replaced by the closing corner.
        for (std::int32_t j = t.ChainStart; j < s.FigureCount; ++j) s.Fig(j) = s.Fig(j + 1);
        s.Fig(s.FigureCount) = TDateRec{};
        --s.FigureCount;
        CloseUnderParent(s, fkRoundPolygonPiece);
        EnableDrawTab(s);
        tool = -9;
    }
    s.CurrentTool = tool;

    if (IsPlotRecord(s.Fig(s.FigureCount))) s.LedgerUnchanged = 0;
    else s.DrawingUnchanged = 0;

    if (tool == -7 || tool == -9) PushCreationStep(s, s.FigureCount - t.ChainStart + 1);
    else if (tool != fkDimension && !IsChainTool(tool)) PushCreationStep(s, 1);

    if (tool == fkLine || tool == fkCurve || tool == fkEllipse || tool == fkDimension || tool == fkLeader ||
        tool == fkRectangle)
        s.Dragging = 0;

    RebuildSelectionList(s, true);
    if (!IsChainTool(tool)) {
        scratch.X1 = scratch.Y1 = scratch.X2 = scratch.Y2 = -1.0;
    }

    const TDateRec& made = s.Fig(i);
    if (tool == 7) {
        scratch.X1 = made.X3, scratch.Y1 = made.Y3;
        scratch.X2 = scratch.Y2 = -1.0;
        s.MouseDownPos = s.MousePos;
    } else if (tool == 9) {
        scratch.X1 = made.X4, scratch.Y1 = made.Y4;
        s.MouseDownPos = {ToPixel(s, made.X4), ToPixel(s, made.Y4)};
        t.LastCorner = {ex, ey};
        scratch.X2 = scratch.Y2 = -1.0;
        ShowToolPreview(s);
    } else if (tool == 8) {
        t.LastCorner = {ex, ey};
        scratch.X1 = made.X3, scratch.Y1 = made.Y3;
        s.MouseDownPos = {ToPixel(s, made.X3), ToPixel(s, made.Y3)};
        s.CurrentTool = 9;
        scratch.X2 = scratch.Y2 = -1.0;
        ShowToolPreview(s);
    } else if (tool == -9) {
        s.CurrentTool = 8;
        t.ChainStart = s.FigureCount + 1;
    } else if (tool == -7) {
        s.CurrentTool = 7;
        t.ChainStart = s.FigureCount + 1;
    }

    if (tool == fkDimension) AppendDimensionExtensionLines(s);
    if (SelectAfterDrawing(s) && !s.Dragging) UpdateSelectionCount(s);
    s.Form->RepaintMap();
    return true;
}

void EndChainOpen(TDrawingState& s) {
    TToolState& t = s.Tools;
    TDateRec& scratch = Scratch(s);
    const std::int32_t tool = s.CurrentTool;
    if (IsChainTool(tool) && t.ChainStart >= 1 && t.ChainStart <= s.FigureCount) {
        const bool room = ReserveFigures(s, tool == 9 ? 2 : 1);
        if (room && tool == 9) {
            // The open end: a straight half-segment from the last midpoint to the last corner.
            const std::int32_t i = AddRecord(s);
            InitNewFigure(s);
            TDateRec& r = s.Fig(i);
            r.Kind = fkLine;
            SetStraight(r, scratch.X1, scratch.Y1, t.LastCorner.x, t.LastCorner.y);
            UpdateFigureBounds(s, i);
        }
        const std::int32_t first = t.ChainStart;
        if (room) {
            CloseUnderParent(s, 0);
            if (SelectAfterDrawing(s) && !s.Dragging) UpdateSelectionCount(s);
        }
        s.DrawingUnchanged = 0;
        PushCreationStep(s, s.FigureCount - first + 1);
        RebuildSelectionList(s, true);
        s.Form->RepaintMap();
    }
    if (tool == 9) s.CurrentTool = 8;
    scratch.X1 = scratch.Y1 = scratch.X2 = scratch.Y2 = -1.0;
    t.ChainStart = s.FigureCount + 1;
}

}  // namespace tarvek
