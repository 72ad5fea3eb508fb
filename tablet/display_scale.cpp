#include "tablet/display_scale.h"

#include <algorithm>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

// Applies op (value, factor) to every field the scaling touches.
template <class TOp>
void ForScaledFields(TDateRec& r, double fx, double fy, TOp op) {
    for (double* x : {&r.X1, &r.X2, &r.X3, &r.X4, &r.BoxX1, &r.BoxX2}) op(*x, fx);
    for (double* y : {&r.Y1, &r.Y2, &r.Y3, &r.Y4, &r.BoxY1, &r.BoxY2}) op(*y, fy);
    if (r.Kind == fkText) return;
    op(r.Aux1, fx);
    op(r.Aux3, fx);
    op(r.Aux2, fy);
    op(r.Aux4, fy);
}

}  // namespace

double DisplayScaleFactor(std::int32_t base, std::int32_t kept) {
    if (kept <= 0) return 1.0;
    const std::int64_t tenths = RoundHalfEven(static_cast<double>(base) / kept * 10);
    return static_cast<double>(std::max<std::int64_t>(tenths, 1)) / 10;
}

void ScaleFigure(TDateRec& r, double fx, double fy) {
    ForScaledFields(r, fx, fy, [](double& v, double f) { v *= f; });
}

void ApplyDisplayScale(TDrawingState& s) {
    TTabletState& t = s.Tablet;
    t.DisplayScaleX = DisplayScaleFactor(s.ViewBaseWidth, t.KeptViewSettings[kvPaintWidth]);
    t.DisplayScaleY = DisplayScaleFactor(s.ViewBaseHeight, t.KeptViewSettings[kvPaintHeight]);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) ScaleFigure(s.Fig(i), t.DisplayScaleX, t.DisplayScaleY);
    t.FiguresScaled = true;
}

void RescaleFigures(TDrawingState& s) {
    TTabletState& t = s.Tablet;
    if (t.FiguresScaled && t.DisplayScaleX > 0 && t.DisplayScaleY > 0) {
        for (std::int32_t i = 1; i <= s.FigureCount; ++i)
            ForScaledFields(s.Fig(i), t.DisplayScaleX, t.DisplayScaleY, [](double& v, double f) { v /= f; });
        t.FiguresScaled = false;
    }
    CompactFigures(s);
    s.HistoryCount = 0;
}

void KeepNewDrawingView(TDrawingState& s) {
    s.Tablet.KeptViewSettings = {100, 200, 800, 600, s.ViewBaseWidth, s.ViewBaseHeight, 0, 0, 1};
}

}  // namespace tarvek
