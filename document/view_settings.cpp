#include "document/view_settings.h"

#include <algorithm>

#include "document/drawing_state.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

const char* const OptionOn = "あり";
const char* const OptionOff = "なし";

// Reads the section one line after the other; a failed conversion stops it.
class TSectionReader {
public:
    TSectionReader(const TLines& lines, std::size_t first) : Lines(lines), Next(first) {}

    bool Present() const { return Next < Lines.size(); }
    const std::string& Line() {
        static const std::string empty;
        const std::string& l = Next < Lines.size() ? Lines[Next] : empty;
        ++Next;
        return l;
    }
    bool Int(std::int32_t& out) {
        auto v = StrToInt(Line());
        if (!v) return false;
        out = *v;
        return true;
    }
    bool Color(TColor& out) {
        auto v = StrToColor(Line());
        if (!v) return false;
        out = *v;
        return true;
    }

private:
    const TLines& Lines;
    std::size_t Next;
};

}  // namespace

TLines FormDataToLines(const TFormData& d) {
    TLines l;
    l.reserve(FormDataLineCount);
    for (std::int32_t v : {d.FormTop, d.FormLeft, d.FormWidth, d.FormHeight, d.PaintWidth,
                           d.PaintHeight, d.ScrollX, d.ScrollY, d.Zoom, d.BlockUnitWidth,
                           d.BlockUnitHeight, d.BlockGapX, d.BlockGapY, d.BlockColumns,
                           d.BlockRows, d.WindowColor, d.Panel1Color})
        l.push_back(IntToStr(v));
    l.push_back(d.BackgroundPicturePath);
    l.push_back(ColorToStr(d.CurPenColor));
    l.push_back(ColorToStr(d.CurBrushColor));
    l.push_back(IntToStr(d.MeshColor));
    l.push_back(IntToStr(d.CenterLineColor));
    for (std::int32_t w : d.GridColWidths) l.push_back(IntToStr(w));
    l.push_back(d.ClipCheck ? OptionOn : OptionOff);
    l.push_back(d.RotateCheck ? OptionOn : OptionOff);
    l.push_back(IntToStr(d.NameTextSize));
    l.push_back(IntToStr(d.DimensionTextSize));
    l.push_back(d.SelectAfterDrawing ? OptionOn : OptionOff);
    l.push_back(d.CurFontName);
    l.push_back(IntToStr(d.CurPenWidth));
    l.push_back(IntToStr(d.CurPenStyle));
    l.push_back(IntToStr(d.CurBrushStyle));
    l.push_back(IntToStr(d.DrawingScale));
    return l;
}

bool ReadFormDataLines(const TLines& lines, std::size_t first, bool version4, TFormData& d,
                       std::array<std::int32_t, 9>* asRead) {
    TSectionReader r(lines, first);
    const std::array<std::int32_t*, 9> view{&d.FormTop,     &d.FormLeft, &d.FormWidth, &d.FormHeight, &d.PaintWidth,
                                            &d.PaintHeight, &d.ScrollX,  &d.ScrollY,   &d.Zoom};
    for (std::size_t k = 0; k < view.size(); ++k) {
        if (!r.Int(*view[k])) return false;
        if (asRead) (*asRead)[k] = *view[k];
    }
    for (std::int32_t* v : {&d.BlockUnitWidth, &d.BlockUnitHeight, &d.BlockGapX, &d.BlockGapY, &d.BlockColumns,
                            &d.BlockRows, &d.WindowColor, &d.Panel1Color})
        if (!r.Int(*v)) return false;
    // A damaged zoom or paint size would break every later pixel computation.
    d.Zoom = std::clamp(d.Zoom, 1, 50);
    d.PaintWidth = std::max(d.PaintWidth, 1);
    d.PaintHeight = std::max(d.PaintHeight, 1);

    d.BackgroundPicturePath = r.Line();
    // Written unsigned: read wide and keep the low 32 bits.
    if (!r.Color(d.CurPenColor) || !r.Color(d.CurBrushColor)) return false;
    if (!r.Int(d.MeshColor) || !r.Int(d.CenterLineColor)) return false;
    for (std::int32_t& w : d.GridColWidths)
        if (!r.Int(w)) return false;
    d.ClipCheck = r.Line() == OptionOn;
    d.RotateCheck = r.Line() != OptionOff;
    for (auto [value, fallback] : {std::pair{&d.NameTextSize, 10}, std::pair{&d.DimensionTextSize, 500}}) {
        const std::string& line = r.Line();
        if (line.empty()) {
            *value = fallback;
        } else if (auto v = StrToInt(line)) {
            *value = *v;
        } else {
            return false;
        }
    }
    const std::string& select = r.Line();
    if (select == OptionOn) d.SelectAfterDrawing = true;
    else if (select == OptionOff) d.SelectAfterDrawing = false;

    if (!version4) return true;
    d.CurFontName = r.Line();
    if (!r.Int(d.CurPenWidth) || !r.Int(d.CurPenStyle) || !r.Int(d.CurBrushStyle)) return false;
    if (r.Present() && !r.Int(d.DrawingScale)) return false;
    return true;
}

void ClampWindowToScreen(std::int32_t& top, std::int32_t& left, std::int32_t width,
                         std::int32_t height, const TScreenRect& screen) {
    const int bottom = screen.Top + screen.Height;
    const int right = screen.Left + screen.Width;
    if (bottom < top) top = bottom - height / 2;
    if (right < left) left = right - width / 2;
    if (screen.Top > top) top = screen.Top + 100;
    if (screen.Left > left) left = screen.Left + 100;
}

TFormData CollectFormData(const TDrawingState& s) {
    TFormData d = s.View;
    d.Zoom = s.Zoom;
    d.BlockUnitWidth = s.BlockUnitWidth;
    d.BlockUnitHeight = s.BlockUnitHeight;
    d.BlockGapX = s.BlockGapX;
    d.BlockGapY = s.BlockGapY;
    d.BlockColumns = s.BlockColumns;
    d.BlockRows = s.BlockRows;
    d.BackgroundPicturePath = s.BackgroundPicturePath;
    d.CurPenColor = s.CurPenColor;
    d.CurBrushColor = s.CurBrushColor;
    d.MeshColor = s.MeshColor;
    d.CenterLineColor = s.CenterLineColor;
    d.DimensionTextSize = s.DimensionTextSize;
    d.CurFontName = s.CurFontName;
    d.CurPenWidth = s.CurPenWidth;
    d.CurPenStyle = s.CurPenStyle;
    d.CurBrushStyle = s.CurBrushStyle;
    d.DrawingScale = s.DrawingScale;
    if (s.Edition->KeepsViewLines()) {
        const auto& kept = s.Tablet.KeptViewSettings;
        d.FormTop = kept[kvTop];
        d.FormLeft = kept[kvLeft];
        d.FormWidth = kept[kvWidth];
        d.FormHeight = kept[kvHeight];
        d.PaintWidth = kept[kvPaintWidth];
        d.PaintHeight = kept[kvPaintHeight];
        d.ScrollX = kept[kvScrollX];
        d.ScrollY = kept[kvScrollY];
        d.Zoom = kept[kvZoom];
    }
    return d;
}

void ApplyFormData(TDrawingState& s, const TFormData& d) {
    s.View = d;
    s.LoadedFormTop = d.FormTop;
    s.LoadedFormLeft = d.FormLeft;
    s.LoadedFormWidth = d.FormWidth;
    s.LoadedFormHeight = d.FormHeight;
    s.LoadedPaintWidth = d.PaintWidth;
    s.LoadedPaintHeight = d.PaintHeight;
    s.RecordedScrollPos = {d.ScrollX, d.ScrollY};
    s.LoadedZoom = d.Zoom;
    s.BlockUnitWidth = d.BlockUnitWidth;
    s.BlockUnitHeight = d.BlockUnitHeight;
    s.BlockGapX = d.BlockGapX;
    s.BlockGapY = d.BlockGapY;
    s.BlockColumns = d.BlockColumns;
    s.BlockRows = d.BlockRows;
    s.BackgroundPicturePath = d.BackgroundPicturePath;
    s.CurPenColor = d.CurPenColor;
    s.CurBrushColor = d.CurBrushColor;
    s.MeshColor = d.MeshColor;
    s.CenterLineColor = d.CenterLineColor;
    s.ClipNames = d.ClipCheck ? 1 : 0;
    s.RotateNames = d.RotateCheck ? 1 : 0;
    s.NameTextSize = d.NameTextSize;
    s.DimensionTextSize = d.DimensionTextSize;
    s.CurFontName = d.CurFontName;
    s.CurPenWidth = d.CurPenWidth;
    s.CurPenStyle = d.CurPenStyle;
    s.CurBrushStyle = d.CurBrushStyle;
    s.DrawingScale = d.DrawingScale;
}

std::string DisplaySettingsFileName(const TDrawingState& s, const std::string& drawingName) {
    return DrawingFileStem(s, drawingName) + "_disp.txt";
}

TFileResult SaveDisplaySettings(const TDrawingState& s, const std::string& drawingName) {
    return WriteTextLines(DisplaySettingsFileName(s, drawingName), FormDataToLines(CollectFormData(s)));
}

bool LoadDisplaySettings(TDrawingState& s, bool version4) {
    TLines lines;
    if (!ReadTextLines(DisplaySettingsFileName(s, s.CurrentDrawingName), lines)) return false;
    TFormData d = CollectFormData(s);
    const bool ok = ReadFormDataLines(lines, 0, version4, d, &s.Tablet.KeptViewSettings);
    ApplyFormData(s, d);
    return ok;
}

}  // namespace tarvek
