// Timings of the drawing data file on a full-size drawing: plain line reading (the
// floor), loading into the store, and saving the store.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "document/drawing_file.h"
#include "document/drawing_state.h"
#include "document/figure.h"
#include "platform/textfile.h"
#include "platform/canvas.h"
#include "platform/ui_services.h"
#include "view/painter.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>

namespace {

using namespace tarvek;

constexpr std::int32_t FigureTotal = 29999;  // the most the store loads whole
constexpr std::uint32_t Seed = 20240601u;

struct TBenchData {
    std::string Folder;  // with a trailing "/"
    std::vector<TDateRec> Records;  // 1-based like the store; [0] unused
    std::string DataFile;
    std::uintmax_t FileSize = 0;
    TScriptedUi Ui;
    std::unique_ptr<TDrawingState> SaveState;  // built once: construction is costly
};

TBenchData* Data = nullptr;

// Own mapping of the raw engine output: the engine's sequence is fixed by the standard,
// the library distributions are not, so the drawing is the same everywhere.
class TGen {
public:
    explicit TGen(std::uint32_t seed) : Engine(seed) {}
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Engine() % n); }
    double Unit() { return static_cast<double>(Engine()) / 4294967296.0; }
    // Millimetres with three decimals, like coordinates entered on a real drawing.
    double Coord(double lo, double hi) { return std::round((lo + (hi - lo) * Unit()) * 1000.0) / 1000.0; }

private:
    std::mt19937 Engine;
};

void SetCorners(TDateRec& r, double x1, double y1, double x2, double y2) {
    r.X1 = x1, r.Y1 = y1;
    r.X2 = x2, r.Y2 = y1;
    r.X3 = x2, r.Y3 = y2;
    r.X4 = x1, r.Y4 = y2;
}

TDateRec BaseRecord(std::int32_t kind) {
    TDateRec r;
    r.Kind = kind;
    r.Text = "0";
    r.PenColor = 0;
    r.BrushColor = 7321527;
    r.PenWidth = 1;
    r.PenStyle = 0;
    r.BrushStyle = 1;
    r.FontName = "ＭＳ 明朝";
    return r;
}

const char* const AreaTexts[] = {
    "東区画　第３列", "西区画　第１２列", "南区画　第７列", "北区画　第２０列",
    "管理事務所", "水汲み場", "参道入口", "駐車場（第二）", "合葬墓", "休憩所",
};

std::vector<TDateRec> MakeRecords() {
    TGen g(Seed);
    std::vector<TDateRec> recs(1);
    recs.reserve(FigureTotal + 1);
    std::int32_t plotId = 0;
    int groups = 0;
    // Plots sit on a grid of lots so that the coordinates look like a real site plan.
    const int lotsPerRow = 180;
    int lot = 0;
    while (static_cast<std::int32_t>(recs.size()) <= FigureTotal) {
        const std::int32_t room = FigureTotal + 1 - static_cast<std::int32_t>(recs.size());
        const std::uint32_t pick = g.Below(1000);
        if (pick < 860) {  // plot
            TDateRec r = BaseRecord(fkPlot);
            r.IsPlot = 1;
            r.PlotId = ++plotId;
            const double x = (lot % lotsPerRow) * 2500.0 + g.Coord(0, 300);
            const double y = (lot / lotsPerRow) * 3500.0 + g.Coord(0, 300);
            ++lot;
            SetCorners(r, x, y, x + g.Coord(1800, 2200), y + g.Coord(2500, 3000));
            if (g.Below(10) < 7) {
                char id[16];
                std::snprintf(id, sizeof id, "%06u", g.Below(999999) + 1);
                r.Text = id;
                r.HeadName = "山田　太郎";
            }
            recs.push_back(std::move(r));
        } else if (pick < 920) {  // line
            TDateRec r = BaseRecord(fkLine);
            const double x = g.Coord(0, 450000), y = g.Coord(0, 600000);
            SetCorners(r, x, y, x + g.Coord(-20000, 20000), y + g.Coord(-20000, 20000));
            recs.push_back(std::move(r));
        } else if (pick < 965) {  // text
            TDateRec r = BaseRecord(fkText);
            r.Text = AreaTexts[g.Below(std::size(AreaTexts))];
            const double x = g.Coord(0, 450000), y = g.Coord(0, 600000);
            SetCorners(r, x, y, x + g.Coord(3000, 9000), y + g.Coord(500, 900));
            r.Aux1 = 1.0;
            recs.push_back(std::move(r));
        } else if (pick < 995 || groups >= 40 || room < 8) {  // rectangle
            TDateRec r = BaseRecord(fkRectangle);
            const double x = g.Coord(0, 450000), y = g.Coord(0, 600000);
            SetCorners(r, x, y, x + g.Coord(1000, 15000), y + g.Coord(1000, 15000));
            r.BrushStyle = static_cast<std::int32_t>(g.Below(2));
            recs.push_back(std::move(r));
        } else {  // a group: its record, then members pointing at it
            ++groups;
            const std::int32_t owner = static_cast<std::int32_t>(recs.size());
            const double x = g.Coord(0, 450000), y = g.Coord(0, 600000);
            TDateRec head = BaseRecord(fkGroup);
            SetCorners(head, x, y, x + 10000.0, y + 10000.0);
            recs.push_back(std::move(head));
            const int members = 3 + static_cast<int>(g.Below(5));
            for (int m = 0; m < members; ++m) {
                TDateRec r = BaseRecord(m % 2 == 0 ? fkRectangle : fkLine);
                const double mx = x + g.Coord(0, 8000), my = y + g.Coord(0, 8000);
                SetCorners(r, mx, my, mx + g.Coord(100, 2000), my + g.Coord(100, 2000));
                r.OwnerIndex = owner;
                recs.push_back(std::move(r));
            }
        }
    }
    return recs;
}

void NameDrawing(TDrawingState& s) {
    s.ExeFolder = Data->Folder;
    s.TempleName = "光明寺";
    s.PlotKindWord = "墓地";
    s.CurrentDrawingName = "本堂裏";
}

void FillStore(TDrawingState& s) {
    for (std::int32_t i = 1; i <= FigureTotal; ++i) s.Fig(i) = Data->Records[static_cast<std::size_t>(i)];
    s.FigureCount = FigureTotal;
    s.MaxPlotId = 0;
    for (std::int32_t i = 1; i <= FigureTotal; ++i)
        if (s.Fig(i).PlotId > s.MaxPlotId) s.MaxPlotId = s.Fig(i).PlotId;
}

std::unique_ptr<TDrawingState> FreshState() {
    auto s = std::make_unique<TDrawingState>(Data->Ui);
    NameDrawing(*s);
    return s;
}

void BM_ReadLinesOnly(benchmark::State& st) {
    for (auto _ : st) {
        TLines lines;
        if (!ReadTextLines(Data->DataFile, lines)) {
            st.SkipWithError("ReadTextLines failed");
            break;
        }
        benchmark::DoNotOptimize(lines.data());
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) *
                         static_cast<std::int64_t>(Data->FileSize));
}

void BM_LoadDrawing(benchmark::State& st) {
    for (auto _ : st) {
        st.PauseTiming();
        auto s = FreshState();
        st.ResumeTiming();
        const bool ok = LoadDrawingData(*s);
        st.PauseTiming();
        const bool whole = ok && s->FigureCount == FigureTotal;
        s.reset();  // freeing the store is not part of a load
        st.ResumeTiming();
        if (!whole) {
            st.SkipWithError(ok ? "LoadDrawingData read a wrong figure count" : "LoadDrawingData failed");
            break;
        }
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) *
                         static_cast<std::int64_t>(Data->FileSize));
}

void BM_SaveDrawing(benchmark::State& st) {
    TDrawingState& s = *Data->SaveState;
    for (auto _ : st) {
        if (s.FigureCount != FigureTotal) {
            // Compaction only shrinks the store when something was deleted; put it back.
            st.PauseTiming();
            FillStore(s);
            st.ResumeTiming();
        }
        const TSaveResult r = SaveDrawingFile(s, s.CurrentDrawingName);
        if (!r.File) {
            st.SkipWithError("SaveDrawingFile failed");
            break;
        }
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) *
                         static_cast<std::int64_t>(Data->FileSize));
}

// A full repaint of the visible part into the backing image, as the map's paint does.
void PaintAt(benchmark::State& st, std::int32_t zoom, int scrollX, int scrollY) {
    auto s = FreshState();
    FillStore(*s);
    s->Zoom = zoom;
    QImage image(1000, 600, QImage::Format_RGB32);
    TPaintInputs in;
    in.ScrollX = scrollX, in.ScrollY = scrollY;
    in.ScrollBoxWidth = 1000 + 36, in.ScrollBoxHeight = 600 + 36;
    in.PaintBoxWidth = 1000 * zoom, in.PaintBoxHeight = 600 * zoom;
    in.ActivePage = 0;
    for (auto _ : st) {
        image.fill(Qt::white);
        TImageCanvas canvas(image);
        canvas.SetOrigin(scrollX, scrollY);
        DrawDrawing(*s, canvas, in);
        benchmark::DoNotOptimize(image.constBits());
    }
    st.counters["figures"] = FigureTotal;
}

// Zoom 1 shows the whole site (450000 x 600000 units) in about 450 x 600 pixels.
void BM_PaintWholeDrawing(benchmark::State& st) { PaintAt(st, 1, 0, 0); }
// Zoom 20: the site is 9000 x 12000 pixels; a window's worth of it in the middle.
void BM_PaintZoom20(benchmark::State& st) { PaintAt(st, 20, 4000, 5000); }

// The scanline flood fill over a large open image: every pixel is filled (the canvas
// test checks the result; it stayed well under 50 ms unloaded).
void BM_FloodFillOpenImage(benchmark::State& st) {
    for (auto _ : st) {
        st.PauseTiming();
        TImageCanvas c(2000, 2000);
        c.Brush.Color = 0xFF0000;  // blue
        st.ResumeTiming();
        c.FloodFill(1000, 1000, 0x0000FF);  // bounded by red: there is none
        benchmark::DoNotOptimize(c.Image().constBits());
    }
}

// CP932 both ways over texts of megabytes: clean, with rare bad bytes, and all bad (the
// text file test checks the results; some milliseconds each unloaded, where a
// per-character or quadratic conversion would take seconds).
void BM_Cp932LargeTexts(benchmark::State& st) {
    std::string mixed;
    while (mixed.size() < 2'000'000) mixed += "Hello, \x82\xA0\x82\xA2\xB1\xB2\xB3\xFF\x81\x60\r\n\x81\x20\xFB\xFC";
    std::string sparse = "\xFF";
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 150'000; ++j) sparse += "a\x82\xA0";
        sparse += "\x81\x20";
    }
    const std::string allBad(1'000'000, '\xFF');
    for (auto _ : st)
        for (const std::string* text : std::initializer_list<const std::string*>{&mixed, &sparse, &allBad})
            benchmark::DoNotOptimize(Utf8ToCp932(Cp932ToUtf8(*text)));
}

BENCHMARK(BM_FloodFillOpenImage)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_Cp932LargeTexts)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PaintWholeDrawing)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PaintZoom20)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_ReadLinesOnly)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LoadDrawing)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SaveDrawing)->Unit(benchmark::kMillisecond)->Iterations(10);

// Removes the temporary folder on every way out of main.
struct TFolderGuard {
    std::string Path;
    ~TFolderGuard() {
        std::error_code ec;
        if (!Path.empty()) std::filesystem::remove_all(Path, ec);
    }
};

double MillisecondsOf(const auto& fn) {
    const auto t0 = std::chrono::steady_clock::now();
    fn();
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    // Texts need the font system; offscreen unless a display is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    char folderTemplate[] = "/tmp/tarvek_bench_XXXXXX";
    if (!mkdtemp(folderTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    TFolderGuard guard{folderTemplate};

    TBenchData data;
    Data = &data;
    data.Folder = std::string(folderTemplate) + "/";
    data.Records = MakeRecords();

    data.SaveState = FreshState();
    FillStore(*data.SaveState);
    if (!SaveDrawingFile(*data.SaveState, data.SaveState->CurrentDrawingName).File) {
        std::fprintf(stderr, "could not write the drawing data file\n");
        return 1;
    }
    data.DataFile = DrawingDataFileName(*data.SaveState, data.SaveState->CurrentDrawingName);
    std::error_code ec;
    data.FileSize = std::filesystem::file_size(data.DataFile, ec);
    if (ec) {
        std::fprintf(stderr, "could not stat %s\n", data.DataFile.c_str());
        return 1;
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // One more run of each outside the library, for a direct load/read ratio.
    TLines lines;
    const double readMs = MillisecondsOf([&] { ReadTextLines(data.DataFile, lines); });
    auto s = FreshState();
    bool loaded = false;
    const double loadMs = MillisecondsOf([&] { loaded = LoadDrawingData(*s); });

    int plots = 0, lineFigs = 0, texts = 0, rects = 0, groupHeads = 0, members = 0;
    for (std::size_t i = 1; i < data.Records.size(); ++i) {
        const TDateRec& r = data.Records[i];
        if (r.OwnerIndex > 0) ++members;
        switch (r.Kind) {
            case fkPlot: ++plots; break;
            case fkLine: ++lineFigs; break;
            case fkText: ++texts; break;
            case fkRectangle: ++rects; break;
            case fkGroup: ++groupHeads; break;
            default: break;
        }
    }
    std::printf("\ndrawing: %d figures (%d plots, %d lines, %d texts, %d rectangles, %d groups with %d members)\n",
                static_cast<int>(data.Records.size() - 1), plots, lineFigs, texts, rects, groupHeads, members);
    std::printf("drawing data file size: %ju bytes (%zu lines)\n", data.FileSize, lines.size());
    std::printf("single run: read lines %.2f ms, load %.2f ms%s\n", readMs, loadMs,
                loaded && s->FigureCount == FigureTotal ? "" : " (LOAD FAILED)");
    std::printf("ratio load / read lines: %.2f\n", readMs > 0 ? loadMs / readMs : 0.0);
    return 0;
}
