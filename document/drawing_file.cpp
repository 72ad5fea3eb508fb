#include "document/drawing_file.h"

#include <cmath>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/view_settings.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

// A line break inside a text would shift every following record of the file.
std::string OneLine(const std::string& text) {
    if (text.find_first_of("\r\n") == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += (c == '\r' || c == '\n') ? ' ' : c;
    }
    return out;
}

class TRecordReader {
public:
    TRecordReader(const TLines& lines, std::size_t pos) : Lines(lines), Pos(pos) {}
    const std::string& Line(int n) const { return Lines[Pos + static_cast<std::size_t>(n) - 1]; }
    bool Int(int n, std::int32_t& out) const { return Assign(StrToInt(Line(n)), out); }
    bool Color(int n, TColor& out) const { return Assign(StrToColor(Line(n)), out); }
    bool Real(int n, double& out) const { return Assign(StrToFloat(Line(n)), out); }
    bool Flag(int n, std::uint8_t& out) const {
        auto v = StrToBool(Line(n));
        if (!v) return false;
        out = *v ? 1 : 0;
        return true;
    }

private:
    template <typename T, typename U>
    static bool Assign(const std::optional<T>& v, U& out) {
        if (!v) return false;
        out = static_cast<U>(*v);
        return true;
    }
    const TLines& Lines;
    std::size_t Pos;
};

// Older files kept boxes, lines and texts as two corners; the editor works with four.
void TwoPointsToFourCorners(TDateRec& r) {
    r.X3 = r.X2;
    r.Y3 = r.Y2;
    r.X4 = r.X1;
    r.Y4 = r.Y2;
    r.Y2 = r.Y1;
}

void Fail(TDrawingState& s) {
    s.StartupError = 1;
    s.Ui.Beep();
}

}  // namespace

TDrawingFileVersion DrawingFileVersionOf(const std::string& firstLine) {
    if (firstLine == "Ver4.00") return TDrawingFileVersion::Ver4;
    if (firstLine == "Ver3.00") return TDrawingFileVersion::Ver3;
    if (firstLine == "Ver2.00") return TDrawingFileVersion::Ver2;
    return TDrawingFileVersion::Unversioned;
}

int FigureRecordLength(TDrawingFileVersion v, bool fontLine) {
    switch (v) {
        case TDrawingFileVersion::Ver4: return fontLine ? 25 : 24;
        case TDrawingFileVersion::Ver3: return 19;
        case TDrawingFileVersion::Ver2: return 17;
        case TDrawingFileVersion::Unversioned: break;
    }
    return 9;
}

void AppendFigureRecordLines(const TDateRec& r, TLines& out) {
    out.push_back(IntToStr(r.Kind));
    out.push_back(FloatToStr(r.X1));
    out.push_back(FloatToStr(r.Y1));
    out.push_back(FloatToStr(r.X2));
    out.push_back(FloatToStr(r.Y2));
    out.push_back(OneLine(r.Text));
    out.push_back(ColorToStr(r.PenColor));
    out.push_back(ColorToStr(r.BrushColor));
    out.push_back(IntToStr(r.PlotId));
    out.push_back(FloatToStr(r.X3));
    out.push_back(FloatToStr(r.Y3));
    out.push_back(FloatToStr(r.X4));
    out.push_back(FloatToStr(r.Y4));
    out.push_back(FloatToStr(r.Aux1));
    out.push_back(FloatToStr(r.Aux2));
    out.push_back(FloatToStr(r.Aux3));
    out.push_back(FloatToStr(r.Aux4));
    out.push_back(BoolToStr(r.SetAside));
    out.push_back(IntToStr(r.ShareSetId));
    out.push_back(IntToStr(r.OwnerIndex));
    out.push_back(IntToStr(r.PenWidth));
    out.push_back(IntToStr(r.PenStyle));
    out.push_back(IntToStr(r.BrushStyle));
    out.push_back(BoolToStr(r.IsPlot));
    out.push_back(OneLine(r.FontName));
}

bool ReadFigureRecordFields(const TLines& lines, std::size_t pos, TDrawingFileVersion v,
                            TDateRec& r, std::int32_t& line9, bool fontLine) {
    if (pos + static_cast<std::size_t>(FigureRecordLength(v, fontLine)) > lines.size()) return false;
    const TRecordReader in(lines, pos);
    if (!in.Int(1, r.Kind) || !in.Real(2, r.X1) || !in.Real(3, r.Y1) || !in.Real(4, r.X2) ||
        !in.Real(5, r.Y2))
        return false;
    r.Text = in.Line(6);
    if (!in.Color(7, r.PenColor) || !in.Color(8, r.BrushColor) || !in.Int(9, line9)) return false;
    if (v == TDrawingFileVersion::Unversioned) return true;
    if (!in.Real(10, r.X3) || !in.Real(11, r.Y3) || !in.Real(12, r.X4) || !in.Real(13, r.Y4))
        return false;
    if (v == TDrawingFileVersion::Ver2) return true;
    if (v == TDrawingFileVersion::Ver4 &&
        (!in.Real(14, r.Aux1) || !in.Real(15, r.Aux2) || !in.Real(16, r.Aux3) || !in.Real(17, r.Aux4)))
        return false;
    if (!in.Flag(18, r.SetAside) || !in.Int(19, r.ShareSetId)) return false;
    if (v == TDrawingFileVersion::Ver3) return true;
    if (!in.Int(20, r.OwnerIndex) || !in.Int(21, r.PenWidth) || !in.Int(22, r.PenStyle) ||
        !in.Int(23, r.BrushStyle) || !in.Flag(24, r.IsPlot))
        return false;
    if (fontLine) r.FontName = in.Line(25);
    return true;
}

std::string DrawingDataFileName(const TDrawingState& s, const std::string& drawingName) {
    return DrawingFileStem(s, drawingName) + "_data.txt";
}

void UpgradeFigureRecord(TDateRec& r, TDrawingFileVersion v, TRecordSource source) {
    using V = TDrawingFileVersion;
    const bool part = source == TRecordSource::PartFile;
    if (!part && v == V::Unversioned && (r.Kind == fkOldPlot || r.Kind == fkCurve || r.Kind == fkEllipse)) {
        r.Kind *= 1000;
        TwoPointsToFourCorners(r);
    }
    if (v != V::Ver4) {
        if (r.Kind == fkPlot) r.IsPlot = 1;
        if (r.Kind == fkLine || r.Kind == fkText) {
            if (r.Kind == fkText) {
                // Unversioned records carry no point 3; their far corner is point 2.
                const double farX = v == V::Unversioned ? r.X2 : r.X3;
                const double farY = v == V::Unversioned ? r.Y2 : r.Y3;
                r.Aux1 = std::fabs(farX - r.X1) >= std::fabs(farY - r.Y1) ? 1.0 : 2.0;
            }
            if (v != V::Ver3) TwoPointsToFourCorners(r);
        }
    }
    if (r.Kind == fkLine && (part || v != V::Ver4)) {
        if (r.Text == "左上") {
            r.X2 = r.X1, r.Y2 = r.Y1;
            r.X4 = r.X3, r.Y4 = r.Y3;
        } else if (r.Text == "右上") {
            r.X1 = r.X2, r.Y1 = r.Y2;
            r.X3 = r.X4, r.Y3 = r.Y4;
        }
        if (!part) r.Text = "0";
    }
}

bool LoadDrawingData(TDrawingState& s) {
    s.StartupErrorMessage = FigureReadErrorMessage;
    s.FigureCount = 0;
    s.MaxPlotId = 0;

    TLines lines;
    if (!ReadTextLines(DrawingDataFileName(s, s.CurrentDrawingName), lines) || lines.empty()) {
        Fail(s);
        return false;
    }
    const std::string versionLine = lines[0];
    const TDrawingFileVersion version = DrawingFileVersionOf(versionLine);
    const std::size_t recordLength = static_cast<std::size_t>(FigureRecordLength(version));

    std::size_t pos = version == TDrawingFileVersion::Unversioned ? 0 : 1;
    while (true) {
        if (pos >= lines.size()) {  // cut before "endofdata"
            Fail(s);
            return false;
        }
        if (lines[pos] == EndOfDataLine) break;
        // A drawing the store cannot hold whole is refused rather than loaded in part.
        if (s.FigureCount + 1 >= MaxFigures) {
            Fail(s);
            return false;
        }
        TDateRec r;
        r.FontName = s.CurFontName;
        std::int32_t line9 = 0;
        if (!ReadFigureRecordFields(lines, pos, version, r, line9)) {
            Fail(s);
            return false;
        }
        UpgradeFigureRecord(r, version, TRecordSource::DrawingFile);
        r.PlotId = IsPlotRecord(r) ? line9 : 0;
        // Old kind-11 plots hold ledger keys too: a new plot must never reuse one.
        if (IsPlotRecord(r) && r.PlotId > s.MaxPlotId) s.MaxPlotId = r.PlotId;
        r.DrawingName = s.CurrentDrawingName;
        if (r.Text.empty()) r.Text = "0";
        s.FigureCount += 1;
        s.Fig(s.FigureCount) = std::move(r);
        UpdateFigureBounds(s, s.FigureCount);
        pos += recordLength;
    }
    ValidateOwnerLinks(s);

    s.StartupErrorMessage = ViewReadErrorMessage;
    const bool version4 = version == TDrawingFileVersion::Ver4;
    if (FileExists(DisplaySettingsFileName(s, s.CurrentDrawingName))) {
        if (!LoadDisplaySettings(s, version4)) {
            Fail(s);
            return false;
        }
        return true;
    }
    // The marker is looked for only after the figure records: a text figure may hold it.
    for (std::size_t i = pos + 1; i < lines.size(); ++i) {
        if (lines[i] != FormDataMarkerLine) continue;
        TFormData d = CollectFormData(s);
        const bool ok = ReadFormDataLines(lines, i + 1, version4, d, &s.Tablet.KeptViewSettings);
        ApplyFormData(s, d);
        if (!ok) {
            Fail(s);
            return false;
        }
        return true;
    }
    // No view section at all: the figures are intact, so the drawing opens with the
    // view of a new drawing rather than not at all.
    return true;
}

TSaveResult SaveDrawingFile(TDrawingState& s, const std::string& nameField,
                            const std::function<void(int max, int pos)>& progress) {
    std::string name = nameField;
    if (name == "新規図面作成" || name == NewDrawingName) {
        const TDateTimeParts now = s.Ui.Now();
        name = "作成時刻" + FormatShortDate(now) + " " + FormatLongTime(now);
        for (char& c : name)
            if (c == '/' || c == ':') c = '_';
    }
    const bool renamed = name != s.CurrentDrawingName;
    if (renamed)
        for (std::int32_t i = 1; i <= s.FigureCount; ++i)
            if (!s.Fig(i).Deleted) s.Fig(i).DrawingName = name;

    if (progress) progress(s.FigureCount, 0);
    TLines lines;
    lines.reserve(static_cast<std::size_t>(s.FigureCount) * 25 + 50);
    lines.push_back(DrawingVersionLine);
    // The tablet takes its display scaling out here too: the file gets stored coordinates.
    s.Edition->PrepareFiguresForSave(s);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        if (progress) progress(s.FigureCount, i);
        if (!s.Fig(i).Deleted) AppendFigureRecordLines(s.Fig(i), lines);
    }
    lines.push_back(EndOfDataLine);
    lines.push_back(FormDataCommentLine);
    lines.push_back(FormDataMarkerLine);
    for (std::string& l : FormDataToLines(CollectFormData(s))) lines.push_back(std::move(l));

    TSaveResult result;
    // The new file is complete on disk before the old name goes: a failed write loses nothing.
    result.File = WriteTextLines(DrawingDataFileName(s, name), lines);
    if (progress) progress(s.FigureCount, 0);
    if (!result.File) {
        result.DrawingName = s.CurrentDrawingName;
        return result;
    }
    if (renamed && s.CurrentDrawingName != NewDrawingName) {
        result.OldFile = DrawingDataFileName(s, s.CurrentDrawingName);
        result.OldFileRemoval = DeleteFile(result.OldFile);
    }
    s.CurrentDrawingName = name;
    result.DrawingName = name;
    return result;
}

}  // namespace tarvek
