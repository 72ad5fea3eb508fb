#include "editing/attributes.h"

#include <algorithm>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "households/plot_info.h"
#include "households/plot_records.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek {

namespace {

constexpr int PenStyleCount = 5, PenWidthCount = 3, BrushStyleCount = 8;
constexpr int NameTurnMin = 1, NameTurnMax = 10, NameTurnMiddle = 5;

// Item backgrounds and texts of the owner-drawn lists.
constexpr TColor ItemColor = 0xFFFFFF, HighlightColor = 0xD77800, ItemTextColor = 0x000000,
                 HighlightTextColor = 0xFFFFFF;

THistoryData& OpenStep(TDrawingState& s, const char* label) { return PushHistory(s, label).Data; }

template <class F>
void ForEachSelected(TDrawingState& s, F&& f) {
    for (const std::int32_t i : ListedFigures(s)) f(i, s.Fig(i));
}

// The step of one attribute: the setting and then every selected figure's own value, as
// they were before all take value.
template <class T>
void SetAttribute(TDrawingState& s, const char* label, T& setting, T TDateRec::*field, T value) {
    THistoryData& d = OpenStep(s, label);
    d.AddNumber(setting);
    setting = value;
    ForEachSelected(s, [&](std::int32_t i, TDateRec& r) {
        d.AddNumber(i);
        d.AddNumber(r.*field);
        r.*field = value;
    });
}

// The selection goes without a step of its own: the attribute step below takes it back.
void ClearSelectionQuietly(TDrawingState& s) {
    const bool had = s.SelectedCount > 0;
    s.SelectedCount = 0;
    ClearFigureSelection(s, false);
    if (had) s.DrawingUnchanged = 0;
}

void FinishChange(TDrawingState& s, bool focus) {
    UpdateSelectionCount(s);
    s.Form->RepaintMap();
    if (focus) s.Form->FocusSink();
}

void RepaintAllSamples(TAttributeView& view) {
    for (TSampleList l : {TSampleList::PenStyle, TSampleList::PenWidth, TSampleList::BrushStyle}) view.RepaintSamples(l);
}

}  // namespace

// ---- Colours, styles and widths -----------------------------------------------------

void ChangePenColor(TDrawingState& s, TAttributeView& view) {
    TColor colour = s.CurPenColor;
    if (!view.ChooseColour(TColourDialog::Frame, colour)) return;
    SetAttribute(s, PenColorStepLabel, s.CurPenColor, &TDateRec::PenColor, colour);
    RepaintAllSamples(view);
    // This one clearing is a step of its own ("選択").
    ClearFigureSelection(s, false);
    s.DrawingUnchanged = 0;
    FinishChange(s, true);
}

void ChangeBrushColor(TDrawingState& s, TAttributeView& view) {
    TColor colour = s.CurBrushColor;
    if (!view.ChooseColour(TColourDialog::Fill, colour)) return;
    SetAttribute(s, BrushColorStepLabel, s.CurBrushColor, &TDateRec::BrushColor, colour);
    view.RepaintSamples(TSampleList::BrushStyle);
    ClearSelectionQuietly(s);
    FinishChange(s, true);
}

void ChoosePenStyle(TDrawingState& s, TAttributeView& view, int item) {
    if (item < 0 || item >= PenStyleCount || item == s.CurPenStyle) return;
    SetAttribute(s, PenStyleStepLabel, s.CurPenStyle, &TDateRec::PenStyle, std::int32_t{item});
    view.RepaintSamples(TSampleList::BrushStyle);
    ClearSelectionQuietly(s);
    FinishChange(s, true);
}

void ChoosePenWidth(TDrawingState& s, TAttributeView& view, int item) {
    if (item < 0 || item >= PenWidthCount || item + 1 == s.CurPenWidth) return;
    THistoryData& d = OpenStep(s, PenWidthStepLabel);
    d.AddNumber(s.CurPenWidth);
    d.AddNumber(s.CurPenStyle);
    s.CurPenWidth = item + 1;
    ForEachSelected(s, [&](std::int32_t i, TDateRec& r) {
        d.AddNumber(i);
        d.AddNumber(r.PenWidth);
        r.PenWidth = item + 1;
    });
    // Wide lines are drawn solid: the style list stands at solid meanwhile.
    if (item >= 1) {
        view.ShowPenStyle(0);
        view.SetPenStyleEnabled(false);
        s.CurPenStyle = 0;
    } else {
        view.SetPenStyleEnabled(true);
    }
    view.RepaintSamples(TSampleList::BrushStyle);
    view.RepaintSamples(TSampleList::PenStyle);
    ClearSelectionQuietly(s);
    FinishChange(s, true);
}

void ChooseBrushStyle(TDrawingState& s, TAttributeView&, int item) {
    if (item < 0 || item >= BrushStyleCount || item == s.CurBrushStyle) return;
    SetAttribute(s, BrushStyleStepLabel, s.CurBrushStyle, &TDateRec::BrushStyle, std::int32_t{item});
    ClearSelectionQuietly(s);
    FinishChange(s, true);
}

bool TakeAttributesFromSelection(TDrawingState& s, TAttributeView& view) {
    if (s.SelectedCount < 1 || !s.ValidIndex(s.SelectedList[1])) {
        s.Ui.Beep();
        s.SetHelpLine("先に図形を選んでください。");
        return false;
    }
    THistoryData& d = OpenStep(s, TakeAttributesStepLabel);
    for (const std::int64_t v : {std::int64_t{s.CurPenColor}, std::int64_t{s.CurPenStyle}, std::int64_t{s.CurPenWidth},
                                 std::int64_t{s.CurBrushColor}, std::int64_t{s.CurBrushStyle}})
        d.AddNumber(v);
    const TDateRec& r = s.Fig(s.SelectedList[1]);
    s.CurPenColor = r.PenColor;
    s.CurPenStyle = r.PenStyle;
    s.CurPenWidth = r.PenWidth;
    s.CurBrushColor = r.BrushColor;
    s.CurBrushStyle = r.BrushStyle;
    view.ShowPenStyle(s.CurPenStyle);
    view.ShowPenWidth(s.CurPenWidth - 1);
    view.ShowBrushStyle(s.CurBrushStyle);
    RepaintAllSamples(view);
    return true;
}

bool ApplyAttributesToSelection(TDrawingState& s, TAttributeView&) {
    if (s.SelectedCount < 1) {
        s.Ui.Beep();
        s.SetHelpLine("先に図形を選択してください。");
        return false;
    }
    THistoryData& d = OpenStep(s, ApplyAttributesStepLabel);
    ForEachSelected(s, [&](std::int32_t i, TDateRec& r) {
        d.AddNumber(i);
        d.AddNumber(r.PenColor);
        d.AddNumber(r.BrushColor);
        d.AddNumber(r.PenWidth);
        d.AddNumber(r.PenStyle);
        d.AddNumber(r.BrushStyle);
        r.PenColor = s.CurPenColor;
        r.BrushColor = s.CurBrushColor;
        r.PenWidth = s.CurPenWidth;
        r.PenStyle = s.CurPenStyle;
        r.BrushStyle = s.CurBrushStyle;
    });
    ClearSelectionQuietly(s);
    FinishChange(s, false);
    return true;
}

// ---- Fonts --------------------------------------------------------------------------

void ChooseFont(TDrawingState& s, const std::string& name) {
    if (name.empty() || name == s.CurFontName) return;
    OpenStep(s, FontStepLabel).AddText(s.CurFontName);
    s.CurFontName = name;
    ApplyFontToSelection(s);
}

void ApplyFontToSelection(TDrawingState& s) {
    THistoryData& d = OpenStep(s, ApplyFontStepLabel);
    ForEachSelected(s, [&](std::int32_t i, TDateRec& r) {
        d.AddNumber(i);
        d.AddText(r.FontName);
        r.FontName = s.CurFontName;
    });
    s.Form->RepaintMap();
    s.DrawingUnchanged = 0;
}

std::vector<std::string> DrawingFontNames(const std::vector<std::string>& families) {
    std::vector<std::string> names;
    for (const std::string& f : families) {
        if (f.empty() || f.find('@') != std::string::npos || !IsCp932Encodable(f)) continue;
        if (std::find(names.begin(), names.end(), f) == names.end()) names.push_back(f);
    }
    return names;
}

// ---- The editing page's up-downs ----------------------------------------------------

void ChangeNameTextSize(TDrawingState& s, int position) {
    OpenStep(s, NameSizeStepLabel).AddNumber(s.NameTextSizeCopy);
    s.NameTextSizeCopy = position;
    s.DrawingUnchanged = 0;
    s.Form->RepaintMap();
}

void ChangeDimensionTextSize(TDrawingState& s, int position) {
    OpenStep(s, DimensionSizeStepLabel).AddNumber(s.DimensionTextSize);
    s.DimensionTextSize = position;
    s.DrawingUnchanged = 0;
    s.Form->RepaintMap();
}

int TurnNameDirection(TDrawingState& s, int position) {
    TToolState& t = s.Tools;
    if (s.SelectedCount < 1) {
        ShowSelectFirstMessage(s);
    } else {
        const bool forward = position > t.LastNameTurnPosition;
        THistoryData& d = OpenStep(s, NameTurnStepLabel);
        ForEachSelected(s, [&](std::int32_t i, TDateRec& r) {
            if (GetCompoundOwner(s, i) > 0) return;  // a piece turns with its parent
            d.AddNumber(i);
            for (const double v : {r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4, r.Aux1}) d.AddNumber(RoundHalfEven(v));
            if (!IsPlotRecord(r) && r.Kind != fkText) return;
            const double x1 = r.X1, y1 = r.Y1, x2 = r.X2, y2 = r.Y2, x3 = r.X3, y3 = r.Y3, x4 = r.X4, y4 = r.Y4;
            if (forward) {
                r.X1 = x2, r.Y1 = y2, r.X2 = x3, r.Y2 = y3, r.X3 = x4, r.Y3 = y4, r.X4 = x1, r.Y4 = y1;
            } else {
                r.X1 = x4, r.Y1 = y4, r.X2 = x1, r.Y2 = y1, r.X3 = x2, r.Y3 = y2, r.X4 = x3, r.Y4 = y3;
            }
            if (r.Kind == fkText) r.Aux1 = r.Aux1 == 1.0 ? 2.0 : 1.0;
        });
        s.DrawingUnchanged = 0;
        s.Form->RepaintMap();
    }
    // Kept on every click, a click with nothing selected included: the next click's
    // direction is read against where the arrows stand now.
    const int shown = position <= NameTurnMin || position >= NameTurnMax ? NameTurnMiddle : position;
    t.LastNameTurnPosition = shown;
    return shown;
}

// ---- Mesh interval and move step ----------------------------------------------------

void ChooseMeshInterval(TDrawingState& s, TAttributeView& view, const std::string& text) {
    if (text.empty() || text == NoMeshText) {
        if (text.empty()) view.ShowMeshInterval(NoMeshText);
        s.MeshVisible = 0;
        s.Tools.MeshSnap = 0;
        view.ShowMeshSnap(1);
    } else {
        const auto step = StrToInt(text);
        if (!step || *step < 1) {
            s.Ui.Beep();
            view.ShowMeshInterval(s.MeshVisible ? IntToStr(s.MeshStep) : NoMeshText);
            return;
        }
        s.MeshVisible = 1;
        s.MeshStep = *step;
        s.Tools.MeshSnap = 1;
        view.ShowMeshSnap(0);
    }
    s.Form->RepaintMap();
    s.Form->FocusSink();
    // A mesh of 1 still moves the selection by a pixel.
    s.Tools.MoveStep = std::max(1, s.MeshStep / 2);
}

void ChooseMoveStep(TDrawingState& s, TAttributeView& view, const std::string& text) {
    if (text.empty() || text == MoveStepCaption) {
        s.Form->FocusSink();
        return;
    }
    const auto step = StrToInt(text);
    if (!step || *step < 1) {
        s.Ui.Beep();
        view.ShowMoveStep(IntToStr(s.Tools.MoveStep));
        return;
    }
    s.Tools.MoveStep = *step;
    s.Form->FocusSink();
}

// ---- Owner-drawn samples ------------------------------------------------------------

namespace {

void FillItem(TCanvas& c, const TRect& r, bool selected) {
    c.Pen.Mode = TPenMode::pmCopy;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = selected ? HighlightColor : ItemColor;
    c.FillRect(r);
}

}  // namespace

void DrawAttributeSample(const TDrawingState& s, TSampleList list, TCanvas& c, int index, const TRect& r,
                         bool selected, const std::string& caption) {
    FillItem(c, r, selected);
    const int sampleRight = r.Right - 55;
    const int middle = r.Top + (r.Bottom - r.Top) / 2;
    c.Pen.Color = s.CurPenColor;
    switch (list) {
    case TSampleList::PenStyle:
        c.Pen.Width = 1;
        c.Pen.Style = PenStyleFromIndex(index);
        c.Line(r.Left + 5, middle, sampleRight, middle);
        break;
    case TSampleList::PenWidth:
        c.Pen.Width = index + 1;
        c.Pen.Style = TPenStyle::psSolid;
        c.Line(r.Left + 5, middle, sampleRight, middle);
        break;
    case TSampleList::BrushStyle:
        c.Pen.Width = s.CurPenWidth;
        c.Pen.Style = PenStyleFromIndex(s.CurPenStyle);
        c.Brush.Color = s.CurBrushColor;
        c.Brush.Style = BrushStyleFromIndex(index);
        c.Rectangle(r.Left + 2, r.Top + 1, sampleRight, r.Bottom - 1);
        break;
    }
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Name.clear();
    c.Font.Height = 12;
    c.Font.Escapement = 0;
    c.Font.Color = selected ? HighlightTextColor : ItemTextColor;
    c.TextOut(r.Right - 50, r.Top + 2, caption);
}

void DrawFontSample(TCanvas& c, const TRect& r, bool selected, const std::string& name) {
    FillItem(c, r, selected);
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Name = name;
    c.Font.Height = std::max(8, r.Bottom - r.Top - 4);
    c.Font.Escapement = 0;
    c.Font.Color = selected ? HighlightTextColor : ItemTextColor;
    c.TextOut(r.Left, r.Top, name);
}

}  // namespace tarvek
