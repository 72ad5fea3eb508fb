#include "fuzz/invariants.h"

#include <algorithm>
#include <cmath>

#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek::fuzz {

namespace {

bool ValidUtf8(const std::string& s) {
    // The shape of each sequence: a lead byte and its continuation bytes.
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

std::string Where(std::int32_t i, const char* what) { return "record " + IntToStr(i) + ": " + what; }

}  // namespace

std::string AsWritten(const std::string& text) { return Cp932ToUtf8(Utf8ToCp932(text)); }

std::string RecordProblem(const TDateRec& r) {
    for (double v : {r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4, r.Aux1, r.Aux2, r.Aux3, r.Aux4, r.BoxX1, r.BoxY1,
                     r.BoxX2, r.BoxY2})
        if (!std::isfinite(v)) return "a value that is no finite number";
    for (std::uint8_t f : {r.Selected, r.Deleted, r.SetAside, r.IsPlot})
        if (f > 1) return "a flag that is neither 0 nor 1";
    for (const std::string* t : {&r.Text, &r.DrawingName, &r.PlotNumber, &r.HouseName, &r.HeadName, &r.Phone,
                                 &r.DistrictName, &r.Address1, &r.Address2, &r.PlotRemarks, &r.Grade, &r.FontName}) {
        if (t->find_first_of("\r\n") != std::string::npos) return "a text over two lines";
        if (!ValidUtf8(*t)) return "a text that is no valid UTF-8";
    }
    return {};
}

std::string StoreProblem(const TDrawingState& s, bool emptyTexts) {
    if (s.Figures.size() != static_cast<std::size_t>(MaxFigures) + 1) return "the record table changed size";
    if (s.FigureCount < 0 || s.FigureCount >= MaxFigures) return "FigureCount " + IntToStr(s.FigureCount);
    if (s.MaxPlotId < 0) return "MaxPlotId below 0";
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        if (std::string p = RecordProblem(r); !p.empty()) return Where(i, p.c_str());
        if (r.BoxX1 != std::min({r.X1, r.X2, r.X3, r.X4}) || r.BoxX2 != std::max({r.X1, r.X2, r.X3, r.X4}) ||
            r.BoxY1 != std::min({r.Y1, r.Y2, r.Y3, r.Y4}) || r.BoxY2 != std::max({r.Y1, r.Y2, r.Y3, r.Y4}))
            return Where(i, "a box that is not around its points");
        if (r.OwnerIndex != 0 && (!s.ValidIndex(r.OwnerIndex) || r.OwnerIndex == i || !IsOwnerKind(s.Fig(r.OwnerIndex).Kind)))
            return Where(i, "an owner link to no owner");
        if (r.PlotId != 0 && !IsPlotRecord(r)) return Where(i, "a plot key on a figure that is no plot");
        if (IsPlotRecord(r) && !r.Deleted && r.PlotId > s.MaxPlotId) return Where(i, "a plot key above MaxPlotId");
        if (r.Text.empty() && !emptyTexts) return Where(i, "an empty text");
    }
    if (s.LoadedZoom < 1 || s.LoadedZoom > 50) return "zoom " + IntToStr(s.LoadedZoom);
    if (s.LoadedPaintWidth < 1 || s.LoadedPaintHeight < 1) return "a paint box without area";
    return {};
}

std::string RecordDifference(const TDateRec& a, const TDateRec& b) {
    // Equal values need no conversion (and make up nearly every comparison).
    const auto real = [](double x, double y) { return x == y || FloatToStr(x) == FloatToStr(y); };
    const auto text = [](const std::string& x, const std::string& y) { return x == y || AsWritten(x) == AsWritten(y); };
    if (a.Kind != b.Kind) return "Kind";
    const double pa[] = {a.X1, a.Y1, a.X2, a.Y2, a.X3, a.Y3, a.X4, a.Y4, a.Aux1, a.Aux2, a.Aux3, a.Aux4};
    const double pb[] = {b.X1, b.Y1, b.X2, b.Y2, b.X3, b.Y3, b.X4, b.Y4, b.Aux1, b.Aux2, b.Aux3, b.Aux4};
    for (std::size_t k = 0; k < std::size(pa); ++k)
        if (!real(pa[k], pb[k])) return "real number " + IntToStr(static_cast<std::int64_t>(k) + 1);
    if (!text(a.Text, b.Text)) return "Text";
    if (a.PenColor != b.PenColor || a.BrushColor != b.BrushColor) return "colours";
    if (a.PlotId != b.PlotId) return "PlotId";
    if (a.SetAside != b.SetAside || a.ShareSetId != b.ShareSetId) return "share set";
    if (a.OwnerIndex != b.OwnerIndex) return "OwnerIndex";
    if (a.PenWidth != b.PenWidth || a.PenStyle != b.PenStyle || a.BrushStyle != b.BrushStyle) return "pen or brush";
    if (a.IsPlot != b.IsPlot) return "IsPlot";
    if (!text(a.FontName, b.FontName)) return "FontName";
    return {};
}

std::string StoreDifference(const TDrawingState& a, const TDrawingState& b) {
    if (a.FigureCount != b.FigureCount) return "FigureCount " + IntToStr(a.FigureCount) + " / " + IntToStr(b.FigureCount);
    if (a.MaxPlotId != b.MaxPlotId) return "MaxPlotId";
    for (std::int32_t i = 1; i <= a.FigureCount; ++i)
        if (std::string d = RecordDifference(a.Fig(i), b.Fig(i)); !d.empty()) return Where(i, d.c_str());
    return {};
}

std::string FullStoreDifference(const TDrawingState& a, const TDrawingState& b) {
    if (std::string d = StoreDifference(a, b); !d.empty()) return d;
    for (std::int32_t i = 1; i <= a.FigureCount; ++i) {
        const TDateRec& x = a.Fig(i);
        const TDateRec& y = b.Fig(i);
        if (x.Text != y.Text || x.DrawingName != y.DrawingName || x.PlotNumber != y.PlotNumber ||
            x.HouseName != y.HouseName || x.HeadName != y.HeadName || x.Phone != y.Phone ||
            x.DistrictName != y.DistrictName || x.Address1 != y.Address1 || x.Address2 != y.Address2 ||
            x.PlotRemarks != y.PlotRemarks || x.Grade != y.Grade || x.FontName != y.FontName)
            return Where(i, "a text field");
        if (x.Selected != y.Selected || x.Deleted != y.Deleted || x.SourceIndex != y.SourceIndex ||
            x.DistrictId != y.DistrictId || x.BoxX1 != y.BoxX1 || x.BoxY1 != y.BoxY1 || x.BoxX2 != y.BoxX2 ||
            x.BoxY2 != y.BoxY2)
            return Where(i, "a flag, number or box");
    }
    return {};
}

std::string FormDataDifference(const TFormData& a, const TFormData& b) {
    const TLines la = FormDataToLines(a), lb = FormDataToLines(b);
    for (std::size_t k = 0; k < la.size(); ++k)
        if (AsWritten(la[k]) != AsWritten(lb[k])) return "view line " + IntToStr(static_cast<std::int64_t>(k) + 1);
    return {};
}

}  // namespace tarvek::fuzz
