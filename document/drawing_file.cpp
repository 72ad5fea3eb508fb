#include "document/drawing_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <span>
#include <vector>
#include <string_view>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/view_settings.h"
#include "platform/helper_threads.h"
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

// One record's lines, as the file holds them (CP932 bytes) or already decoded. Numbers,
// colours and flags are ASCII: their bytes are their text, and a line with any other
// byte converts neither way. Only the text lines are decoded.
class TRecordReader {
public:
    // The last font line and its text: records mostly repeat it.
    struct TFontMemo {
        std::string Bytes, Text;
    };
    TRecordReader(std::span<const std::string_view> lines, bool cp932, TFontMemo* memo = nullptr)
        : Lines(lines), Cp932(cp932), Memo(memo) {}
    std::string_view Line(int n) const { return Lines[static_cast<std::size_t>(n) - 1]; }
    void Text(int n, std::string& out) const {
        if (Cp932) Cp932ToUtf8(Line(n), out);
        else out.assign(Line(n));
    }
    void FontText(int n, std::string& out) const {
        if (!Memo || !Cp932) return Text(n, out);
        if (Memo->Bytes != Line(n)) {
            Memo->Bytes.assign(Line(n));
            Cp932ToUtf8(Line(n), Memo->Text);
        }
        out = Memo->Text;
    }
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
    std::span<const std::string_view> Lines;
    bool Cp932;
    TFontMemo* Memo;
};

bool ReadRecord(const TRecordReader& in, TDrawingFileVersion v, TDateRec& r, std::int32_t& line9, bool fontLine) {
    if (!in.Int(1, r.Kind) || !in.Real(2, r.X1) || !in.Real(3, r.Y1) || !in.Real(4, r.X2) ||
        !in.Real(5, r.Y2))
        return false;
    in.Text(6, r.Text);
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
    if (fontLine) in.FontText(25, r.FontName);
    return true;
}

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

namespace {

// The 25 lines of a record, in order, as numbers and texts for out to write.
template <typename TOut>
void EmitFigureRecord(const TDateRec& r, TOut& out) {
    out.Integer(r.Kind);
    out.Real(r.X1);
    out.Real(r.Y1);
    out.Real(r.X2);
    out.Real(r.Y2);
    out.Text(r.Text);
    out.Integer(static_cast<std::uint32_t>(r.PenColor));  // colours unsigned
    out.Integer(static_cast<std::uint32_t>(r.BrushColor));
    out.Integer(r.PlotId);
    out.Real(r.X3);
    out.Real(r.Y3);
    out.Real(r.X4);
    out.Real(r.Y4);
    out.Real(r.Aux1);
    out.Real(r.Aux2);
    out.Real(r.Aux3);
    out.Real(r.Aux4);
    out.Flag(r.SetAside);
    out.Integer(r.ShareSetId);
    out.Integer(r.OwnerIndex);
    out.Integer(r.PenWidth);
    out.Integer(r.PenStyle);
    out.Integer(r.BrushStyle);
    out.Flag(r.IsPlot);
    out.Text(r.FontName);
}

// The lines as strings, for part files and tests.
struct TLineOut {
    TLines& Lines;
    void Integer(std::int64_t v) { Lines.push_back(IntToStr(v)); }
    void Real(double v) { Lines.push_back(FloatToStr(v)); }
    void Flag(bool v) { Lines.push_back(BoolToStr(v)); }
    void Text(const std::string& t) { Lines.push_back(OneLine(t)); }
};

// The file's bytes written straight, each line ended by CR LF: the same bytes as
// WriteTextLines of the lines (CR LF and numbers are ASCII, and texts convert on their
// own as they do in the whole), without some 750000 strings and a second copy of the
// whole text. Texts go through the converter unless they are ASCII; the last font
// name is remembered, as records mostly repeat it.
class TFileOut {
public:
    explicit TFileOut(std::size_t expected)
        : Capacity(std::max<std::size_t>(expected, 64)), Own(new char[Capacity]), Bytes(Own.get()) {}
    // Into a region of a buffer owned elsewhere, and into one of its own only once that fills.
    TFileOut(char* region, std::size_t size) : Capacity(size), Bytes(region) {}
    void Integer(std::int64_t v) {
        char* p = Room(IntegerTextMax + 2);
        if (v >= 0 && v < 10) {  // most fields: styles, widths, links, flags of a sort
            p[0] = static_cast<char>('0' + v);
            p[1] = '\r';
            p[2] = '\n';
            Used += 3;
            return;
        }
        Used += FormatInteger(v, p);
        EndLine();
    }
    void Real(double v) {
        char* p = Room(FloatTextMax + 2);
        Used += FormatFloat(v, p);
        EndLine();
    }
    void Flag(bool v) { Integer(v ? -1 : 0); }
    void Text(std::string_view t) {
        bool ascii = true, oneLine = true;
        for (const char c : t) {
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
            oneLine = oneLine && c != '\r' && c != '\n';
        }
        if (!oneLine) {
            Text(OneLine(std::string(t)));
            return;
        }
        if (ascii) {
            Append(t);
        } else {
            if (t != LastText) {
                LastText.assign(t);
                LastBytes = Utf8ToCp932(t);
            }
            Append(LastBytes);
        }
        EndLine();
    }
    std::string_view View() const { return {Bytes, Used}; }

private:
    char* Room(std::size_t n) {
        if (Capacity - Used < n) {
            const std::size_t grown = std::max(Capacity * 2, Used + n);
            std::unique_ptr<char[]> more(new char[grown]);
            std::memcpy(more.get(), Bytes, Used);
            Own = std::move(more);
            Bytes = Own.get();
            Capacity = grown;
        }
        return Bytes + Used;
    }
    void Append(std::string_view t) {
        std::memcpy(Room(t.size() + 2), t.data(), t.size());
        Used += t.size();
    }
    void EndLine() {
        char* p = Room(2);
        p[0] = '\r';
        p[1] = '\n';
        Used += 2;
    }
    std::size_t Capacity, Used = 0;
    std::unique_ptr<char[]> Own;  // not cleared first: every byte is written before it is read
    char* Bytes;
    std::string LastText, LastBytes;
};

}  // namespace

void AppendFigureRecordLines(const TDateRec& r, TLines& out) {
    TLineOut lines{out};
    EmitFigureRecord(r, lines);
}

bool ReadFigureRecordFields(const TLines& lines, std::size_t pos, TDrawingFileVersion v,
                            TDateRec& r, std::int32_t& line9, bool fontLine) {
    const auto length = static_cast<std::size_t>(FigureRecordLength(v, fontLine));
    if (pos + length > lines.size()) return false;
    std::array<std::string_view, 25> views;
    for (std::size_t k = 0; k < length; ++k) views[k] = lines[pos + k];
    return ReadRecord(TRecordReader({views.data(), length}, false), v, r, line9, fontLine);
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

    // Read a chunk at a time and parsed as it comes: a drawing of 30000 figures is some
    // 750000 lines, which as strings would take several times the file's size.
    TCp932LineReader in(DrawingDataFileName(s, s.CurrentDrawingName));
    std::string_view line;
    if (!in.Next(line)) {
        Fail(s);
        return false;
    }
    const TDrawingFileVersion version = DrawingFileVersionOf(std::string(line));
    const std::size_t recordLength = static_cast<std::size_t>(FigureRecordLength(version));

    // A record's first line is its kind, or the end marker; the rest come at once.
    std::string first;
    std::array<std::string_view, 25> views;
    TRecordReader::TFontMemo fontMemo;
    bool haveLine = version == TDrawingFileVersion::Unversioned;  // line 1 is a record's
    while (true) {
        if (!haveLine && !in.Next(line)) {  // cut before "endofdata"
            Fail(s);
            return false;
        }
        haveLine = false;
        if (line == EndOfDataLine) break;
        // A drawing the store cannot hold whole is refused rather than loaded in part.
        if (s.FigureCount + 1 >= MaxFigures) {
            Fail(s);
            return false;
        }
        first.assign(line);
        views[0] = first;
        if (!in.NextLines(recordLength - 1, views.data() + 1)) {
            Fail(s);
            return false;
        }

        TDateRec& r = s.Fig(s.FigureCount + 1);
        r = TDateRec{};
        r.FontName = s.CurFontName;
        std::int32_t line9 = 0;
        if (!ReadRecord(TRecordReader({views.data(), recordLength}, true, &fontMemo), version, r, line9, true)) {
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
        UpdateFigureBounds(s, s.FigureCount);
    }
    // What follows the records; a read that fails there fails the figures' stage, as a
    // failure anywhere in the file does.
    TLines rest;
    while (in.Next(line)) rest.push_back(Cp932ToUtf8(line));
    if (!in.Status()) {
        Fail(s);
        return false;
    }
    ValidateOwnerLinks(s);

    s.StartupErrorMessage = ViewReadErrorMessage;
    const bool version4 = version == TDrawingFileVersion::Ver4;
    if (FileExists(DisplaySettingsFileName(s, s.CurrentDrawingName))) {
        if (!LoadDisplaySettings(s, version4)) {
            Fail(s);
            return false;
        }
        s.DrawingViewRead = 1;
        return true;
    }
    // The marker is looked for only after the figure records: a text figure may hold it.
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != FormDataMarkerLine) continue;
        TFormData d = CollectFormData(s);
        const bool ok = ReadFormDataLines(rest, i + 1, version4, d, &s.Tablet.KeptViewSettings);
        ApplyFormData(s, d);
        if (!ok) {
            Fail(s);
            return false;
        }
        s.DrawingViewRead = 1;
        return true;
    }
    // No view section at all: the figures are intact, so the drawing opens with the
    // view of a new drawing (the state's from the start) rather than not at all.
    return true;
}

namespace {

// A full-size drawing is some 750000 lines. Its records are formatted in slices by as
// many threads as help, kept from one save to the next (starting them would cost more
// than a slice); the slices go to the file in their order as they are finished, so the
// disk takes the first while the last are being formatted. False when the file refused
// a write.
bool WriteFigureRecords(const TDrawingState& s, TAtomicFileWriter& file,
                        const std::function<void(int max, int pos)>& progress) {
    constexpr std::int64_t SliceFigures = 1024;
    const std::int32_t count = std::max(s.FigureCount, 0);
    const auto slices = static_cast<std::int32_t>(std::max<std::int64_t>(1, (count + SliceFigures - 1) / SliceFigures));
    const auto first = [&](std::int32_t k) {
        return static_cast<std::int32_t>(1 + std::min<std::int64_t>(count, k * SliceFigures));
    };
    // One buffer for all slices: fresh memory costs a page fault a page, and a buffer of
    // the size of the last save's is mostly handed out again without one.
    std::vector<std::size_t> at{0};
    for (std::int32_t k = 0; k < slices; ++k) at.push_back(at.back() + static_cast<std::size_t>(first(k + 1) - first(k)) * 200 + 64);
    const std::unique_ptr<char[]> buffer(new char[at.back()]);
    std::vector<TFileOut> parts;
    parts.reserve(static_cast<std::size_t>(slices));
    for (std::int32_t k = 0; k < slices; ++k) parts.emplace_back(buffer.get() + at[k], at[k + 1] - at[k]);

    // Under lock. The file takes the slices in order from whichever thread finishes the
    // next one it needs: that thread writes it and every finished one after it, while
    // the others go on formatting.
    std::mutex lock;
    std::condition_variable advanced;
    std::vector<char> done(static_cast<std::size_t>(slices), 0);
    std::int32_t claimed = 0, toWrite = 0;
    bool writing = false, written = true, stop = false;
    std::exception_ptr failure;
    // Claims the next slice and formats it; false when none is left to claim.
    const auto formatNext = [&]() -> bool {
        std::int32_t k;
        {
            const std::lock_guard held(lock);
            if (stop || claimed == slices) return false;
            k = claimed++;
        }
        try {
            for (std::int32_t i = first(k); i < first(k + 1); ++i)
                if (!s.Fig(i).Deleted) EmitFigureRecord(s.Fig(i), parts[static_cast<std::size_t>(k)]);
        } catch (...) {
            const std::lock_guard held(lock);
            if (!failure) failure = std::current_exception();
            stop = true;
        }
        std::unique_lock held(lock);
        done[static_cast<std::size_t>(k)] = 1;
        if (writing) return true;
        writing = true;
        while (!stop && toWrite < slices && done[static_cast<std::size_t>(toWrite)]) {
            const std::string_view bytes = parts[static_cast<std::size_t>(toWrite)].View();
            held.unlock();
            const bool ok = file.Write(bytes);
            held.lock();
            toWrite += 1;
            if (!ok) {
                written = false;
                stop = true;
            }
            advanced.notify_all();
        }
        writing = false;
        if (stop) advanced.notify_all();
        return true;
    };

    {
        // Helpers stop claiming on every way out, an early return included, and are
        // waited for before the locals they use go.
        THelperRun helpers(static_cast<unsigned>(std::min<std::int32_t>(static_cast<std::int32_t>(HelperThreadCount()), slices - 1)),
                           [&] {
                               while (formatNext()) {
                               }
                           });
        struct TStopClaims {
            std::mutex& Lock;
            bool& Stop;
            ~TStopClaims() {
                const std::lock_guard held(Lock);
                Stop = true;
            }
        } stopClaims{lock, stop};

        // This thread formats too, then shows the file's progress until it has every
        // slice or a slice failed.
        while (formatNext()) {
        }
        std::unique_lock held(lock);
        std::int32_t shown = 0;
        while (true) {
            advanced.wait(held, [&] { return toWrite != shown || (stop && !writing); });
            shown = toWrite;
            if (shown == slices || (stop && !writing)) break;
            held.unlock();
            if (progress) progress(count, first(shown) - 1);
            held.lock();
        }
    }
    if (progress && written && !failure) progress(count, count);
    if (failure) std::rethrow_exception(failure);
    return written;
}

}  // namespace

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
    // The tablet takes its display scaling out here too: the file gets stored coordinates.
    s.Edition->PrepareFiguresForSave(s);
    TSaveResult result;
    {
        // The new file is complete on disk before the old name goes: a failed write loses nothing.
        TAtomicFileWriter file(DrawingDataFileName(s, name));
        TFileOut head(64);
        head.Text(DrawingVersionLine);
        if (file.Write(head.View()) && WriteFigureRecords(s, file, progress)) {
            TFileOut tail(4096);
            tail.Text(EndOfDataLine);
            tail.Text(FormDataCommentLine);
            tail.Text(FormDataMarkerLine);
            for (const std::string& l : FormDataToLines(CollectFormData(s))) tail.Text(l);
            file.Write(tail.View());
        }
        result.File = file.Commit();
    }
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
