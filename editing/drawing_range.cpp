#include "editing/drawing_range.h"

#include <algorithm>
#include <limits>

#include "document/drawing_state.h"
#include "document/history.h"
#include "document/selection.h"
#include "platform/numbers.h"

namespace tarvek {

std::int32_t Doubled(std::int32_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(2 * std::int64_t(v), std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

namespace {

constexpr unsigned short KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40;

// Every coordinate of the drawing through fx and fy.
template <class FX, class FY>
void TransformDrawing(TDrawingState& s, FX fx, FY fy) {
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        for (double* x : {&r.X1, &r.X2, &r.X3, &r.X4, &r.BoxX1, &r.BoxX2}) *x = fx(*x);
        for (double* y : {&r.Y1, &r.Y2, &r.Y3, &r.Y4, &r.BoxY1, &r.BoxY2}) *y = fy(*y);
        if (r.Kind == fkText) continue;
        r.Aux1 = fx(r.Aux1), r.Aux3 = fx(r.Aux3);
        r.Aux2 = fy(r.Aux2), r.Aux4 = fy(r.Aux4);
    }
    // The search hit's cross goes with its figure.
    if (s.HitCenterX != -999.0 && s.HitCenterY != -999.0) {
        s.HitCenterX = fx(s.HitCenterX);
        s.HitCenterY = fy(s.HitCenterY);
        s.HitBox = {fx(s.HitBox[0]), fx(s.HitBox[1]), fy(s.HitBox[2]), fy(s.HitBox[3])};
    }
}

void FinishRangeChange(TDrawingState& s, std::int32_t w, std::int32_t h) {
    s.Form->SetPaintBoxSize(RoundToInt32(static_cast<double>(w) * s.Zoom), RoundToInt32(static_cast<double>(h) * s.Zoom));
    RebuildSelectionList(s, true);
    s.DrawingUnchanged = 0;
}

bool DoublesExactly(std::int32_t v) { return Doubled(v) == 2 * std::int64_t(v); }

// The plot size typed into the niche-count dialog, a size read from a settings file, a
// text size that many reductions doubled: each must double within 32 bits, or "作図縮小"
// and "作図拡大" would no longer undo each other.
bool SizesDouble(const TDrawingState& s) {
    for (const std::int32_t v : {s.BlockUnitWidth, s.BlockUnitHeight, s.DimensionTextSize, s.Tools.TextSize})
        if (!DoublesExactly(v)) return false;
    return true;
}

void PushRangeStep(TDrawingState& s, const char* label) {
    THistoryData& d = PushHistory(s, label).Data;
    d.AddNumber(s.ViewBaseWidth);
    d.AddNumber(s.ViewBaseHeight);
    // Halving truncates: the sizes that follow the range come back as they were.
    d.AddNumber(s.BlockUnitWidth);
    d.AddNumber(s.BlockUnitHeight);
    d.AddNumber(s.DimensionTextSize);
    d.AddNumber(s.Tools.TextSize);
}

}  // namespace

void ShrinkDrawingCoordinates(TDrawingState& s, std::int32_t w, std::int32_t h) {
    const double ox = static_cast<double>(RoundHalfEven(w * 1000.0 / 4));
    const double oy = static_cast<double>(RoundHalfEven(h * 1000.0 / 4));
    TransformDrawing(s, [ox](double x) { return x / 2 + ox; }, [oy](double y) { return y / 2 + oy; });
    FinishRangeChange(s, w, h);
    s.BlockUnitWidth = std::max(1, s.BlockUnitWidth / 2);
    s.BlockUnitHeight = std::max(1, s.BlockUnitHeight / 2);
    s.DimensionTextSize /= 2;
    s.Tools.TextSize = std::max(2, s.Tools.TextSize / 2);
}

void WidenDrawingCoordinates(TDrawingState& s, std::int32_t w, std::int32_t h) {
    const double ox = static_cast<double>(RoundHalfEven(w * 1000.0 / 2));
    const double oy = static_cast<double>(RoundHalfEven(h * 1000.0 / 2));
    TransformDrawing(s, [ox](double x) { return 2 * x - ox; }, [oy](double y) { return 2 * y - oy; });
    FinishRangeChange(s, w, h);
    s.BlockUnitWidth = Doubled(s.BlockUnitWidth);
    s.BlockUnitHeight = Doubled(s.BlockUnitHeight);
    s.DimensionTextSize = Doubled(s.DimensionTextSize);
    s.Tools.TextSize = Doubled(s.Tools.TextSize);
}

bool EnlargeDrawingRange(TDrawingState& s) {
    // A scale read from a file may not double at all.
    if (!DoublesExactly(s.DrawingScale) || 2 * s.DrawingScale >= 30000) {
        s.Ui.Beep();
        return false;
    }
    s.DrawingScale *= 2;
    PushRangeStep(s, NarrowRangeStepLabel);
    ShrinkDrawingCoordinates(s, s.ViewBaseWidth, s.ViewBaseHeight);
    return true;
}

bool ReduceDrawingRange(TDrawingState& s) {
    // An odd scale would lose its half unit for good: 125 gives 62, and back 124.
    if (s.DrawingScale / 2 <= 1 || s.DrawingScale % 2 != 0 || !SizesDouble(s)) {
        s.Ui.Beep();
        return false;
    }
    s.DrawingScale /= 2;
    PushRangeStep(s, WidenRangeStepLabel);
    WidenDrawingCoordinates(s, s.ViewBaseWidth, s.ViewBaseHeight);
    return true;
}

void NudgeSelection(TDrawingState& s, unsigned short key) {
    TToolState& t = s.Tools;
    if (!t.NudgeActive) {
        t.NudgeTotal = {};
        t.NudgeActive = 1;
    }
    const std::int64_t step = RoundHalfEven(1000.0 / s.Zoom * t.MoveStep);
    std::int64_t dx = 0, dy = 0;
    if (key == KeyLeft) dx = -step;
    if (key == KeyUp) dy = -step;
    if (key == KeyRight) dx = step;
    if (key == KeyDown) dy = step;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        TDateRec& r = s.Fig(i);
        if (!r.Selected) continue;
        for (double* x : {&r.X1, &r.X2, &r.X3, &r.X4, &r.BoxX1, &r.BoxX2}) *x += dx;
        for (double* y : {&r.Y1, &r.Y2, &r.Y3, &r.Y4, &r.BoxY1, &r.BoxY2}) *y += dy;
        if (r.Kind == fkText) continue;
        r.Aux1 += dx, r.Aux3 += dx;
        r.Aux2 += dy, r.Aux4 += dy;
    }
    s.DrawingUnchanged = 0;
    t.NudgeTotal.dx += dx;
    t.NudgeTotal.dy += dy;
    RebuildSelectionList(s, true);
}

}  // namespace tarvek
