#include "editing/plot_blocks.h"

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/plot_record.h"
#include "editing/drawing_tools.h"
#include "households/ledger_exchange.h"
#include "platform/canvas.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

constexpr TColor SampleBlue = 0xFF0000;

std::int32_t* Setting(TDrawingState& s, int index) {
    std::int32_t* const settings[] = {&s.BlockUnitWidth, &s.BlockUnitHeight, &s.BlockGapX,
                                      &s.BlockGapY,      &s.BlockColumns,    &s.BlockRows};
    return settings[index];
}

bool IsGap(int index) { return index == 2 || index == 3; }

// A horizontal dimension mark at y from x1 to x2, or a vertical one at x from y1 to y2,
// with its two ticks.
void HorizontalMark(TCanvas& c, int y, int x1, int x2) {
    c.Line(x1, y, x2, y);
    c.Line(x1, y - 2, x1, y + 3);
    c.Line(x2, y - 2, x2, y + 3);
}

void VerticalMark(TCanvas& c, int x, int y1, int y2) {
    c.Line(x, y1, x, y2);
    c.Line(x - 2, y1, x + 3, y1);
    c.Line(x - 2, y2, x + 3, y2);
}

}  // namespace

std::vector<std::string> BlockSettingItems(int index) {
    std::vector<std::string> items;
    const int last = index >= 4 ? 50 : 20;
    for (int i = 1; i <= last; ++i) items.push_back(IntToStr(i));
    return items;
}

TBlockSettingTexts BlockSettingTexts(const TDrawingState& s) {
    // Width and height are shown as reals, the rest as integers; whole values read alike.
    return {FloatToStr(s.BlockUnitWidth), FloatToStr(s.BlockUnitHeight), IntToStr(s.BlockGapX),
            IntToStr(s.BlockGapY),        IntToStr(s.BlockColumns),      IntToStr(s.BlockRows)};
}

void ReadBlockSettings(TDrawingState& s, const TBlockSettingTexts& texts) {
    for (int i = 0; i < 6; ++i) {
        const auto v = StrToInt(texts[static_cast<std::size_t>(i)]);
        if (v && *v >= (IsGap(i) ? 0 : 1)) *Setting(s, i) = *v;
    }
}

void DrawBlockSample(TCanvas& c) {
    c.Pen.Color = SampleBlue;
    c.Pen.Mode = TPenMode::pmCopy;
    c.Pen.Style = TPenStyle::psSolid;
    c.Pen.Width = 1;
    c.Brush.Style = TBrushStyle::bsClear;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const int x = 50 + col * 25, y = 50 + row * 35;
            c.Rectangle(x, y, x + 20, y + 30);
        }
    HorizontalMark(c, 40, 50, 70);   // plot width
    VerticalMark(c, 40, 50, 80);     // plot height
    HorizontalMark(c, 40, 95, 100);  // the gap between the second and third column
    VerticalMark(c, 40, 115, 120);   // the gap between the second and third row
}

void PlaceBlock(TDrawingState& s, TLedgerView& ledger, int x, int y) {
    const TToolState& t = s.Tools;
    const std::int64_t count = std::int64_t(t.PlacingColumns) * t.PlacingRows;
    // Settings read from a damaged file: nothing the ledger could take is placed.
    if (count < 1 || s.BlockUnitWidth < 1 || s.BlockUnitHeight < 1 || s.BlockGapX < 0 || s.BlockGapY < 0) {
        s.Ui.Beep();
        return;
    }
    if (!ReservePlotIds(s, count)) return;
    const TDateRec& scratch = s.Fig(0);
    // One origin for the whole block, so that every row and column stays in line with
    // the first plot, whatever the point it snapped to.
    const double x0 = scratch.X2 > 0 ? scratch.X2 : x * 1000.0 / s.Zoom;
    const double y0 = scratch.Y2 > 0 ? scratch.Y2 : y * 1000.0 / s.Zoom;
    const double stepX = (double(s.BlockUnitWidth) + s.BlockGapX) * 1000.0;
    const double stepY = (double(s.BlockUnitHeight) + s.BlockGapY) * 1000.0;
    const bool selected = ToolView(s).SelectAfterDrawing();

    BeginChangeRecordList(s, VerbAdded);
    for (std::int32_t r = 0; r < t.PlacingRows; ++r)
        for (std::int32_t c = 0; c < t.PlacingColumns; ++c) {
            const std::int32_t i = AppendPlotRecord(s, x0 + c * stepX, y0 + r * stepY);
            TDateRec& plot = s.Fig(i);
            plot.PlotId = ++s.MaxPlotId;
            plot.Selected = selected ? 1 : 0;
            AddPlotToChangeRecordList(s, i);
        }
    FlushChangesToLedger(s, ledger);
}

}  // namespace tarvek
