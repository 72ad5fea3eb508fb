// Timings of a full-size temple (29999 figures, 5000 households): the Google Benchmark
// runs of reading, loading, saving and painting, then the goals table, where every figure
// stands beside a plain baseline measured in the same run, with the ratio, so that the
// figures mean something on any machine. Medians of several runs; the load average of
// the machine is printed with them.
//
//   tarvek_bench            both
//   tarvek_bench --goals    the goals table only
//   tarvek_bench --no-goals the Google Benchmark runs only (they take its filters)
//   tarvek_bench --write-folder DIR   only writes the large temple's program folder
//   TARVEK_BENCH_RUNS=n     runs per median (default 15)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QMouseEvent>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/large_temple.h"
#include "bench/plain_pass.h"
#include "document/drawing_file.h"
#include "document/drawing_state.h"
#include "document/figure.h"
#include "document/figure_store.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "forms/hako_set.h"
#include "forms/zumenn.h"
#include "platform/canvas.h"
#include "platform/qt_services.h"
#include "platform/textfile.h"
#include "platform/ui_services.h"
#include "view/painter.h"

extern char** environ;

namespace {

using namespace tarvek;
using namespace tarvek::bench;

struct TBenchData {
    std::string Folder;  // scratch folder for the GB file runs, with a trailing "/"
    std::vector<TDateRec> Records;  // 1-based like the store; [0] unused
    std::string DataFile;
    std::uintmax_t FileSize = 0;
    TScriptedUi Ui;
    std::unique_ptr<TDrawingState> SaveState;  // built once: construction is costly
};

TBenchData* Data = nullptr;

void NameDrawing(TDrawingState& s) {
    s.ExeFolder = Data->Folder;
    s.TempleName = Temple;
    s.PlotKindWord = PlotWord;
    s.CurrentDrawingName = DrawingName;
}

void FillStore(TDrawingState& s) {
    for (std::int32_t i = 1; i <= FigureTotal; ++i) {
        s.Fig(i) = Data->Records[static_cast<std::size_t>(i)];
        UpdateFigureBounds(s, i);
    }
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

// The bytes of a file by plain read(): what the disk cache and memory allow.
bool ReadRaw(const std::string& path, std::string& bytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bytes.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    close(fd);
    return got == bytes.size();
}

bool ReadAndDecode(const std::string& path) {
    TLines lines;
    return ReadTextLines(path, lines) && !lines.empty();
}

// ---- Google Benchmark runs ----------------------------------------------------------

void BM_ReadRaw(benchmark::State& st) {
    std::string bytes;
    for (auto _ : st) {
        if (!ReadRaw(Data->DataFile, bytes)) {
            st.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) * static_cast<std::int64_t>(Data->FileSize));
}

void BM_ReadAndDecode(benchmark::State& st) {
    for (auto _ : st) {
        if (!ReadAndDecode(Data->DataFile)) {
            st.SkipWithError("reading failed");
            break;
        }
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) * static_cast<std::int64_t>(Data->FileSize));
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
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) * static_cast<std::int64_t>(Data->FileSize));
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
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) * static_cast<std::int64_t>(Data->FileSize));
}

struct TView {
    int Zoom, ScrollX, ScrollY;
};
// Zoom 1 shows the whole site (450000 x 600000 units) in about 450 x 600 pixels.
constexpr TView WholeSite{1, 0, 0};
// Zoom 20: the site is 9000 x 12000 pixels; a window's worth of it in the middle.
constexpr TView Zoom20{20, 4000, 5000};
constexpr int ViewWidth = 1000, ViewHeight = 600;

TPaintInputs InputsFor(const TView& v) {
    TPaintInputs in;
    in.ScrollX = v.ScrollX, in.ScrollY = v.ScrollY;
    in.ScrollBoxWidth = ViewWidth + 36, in.ScrollBoxHeight = ViewHeight + 36;
    in.PaintBoxWidth = 450 * v.Zoom + 100, in.PaintBoxHeight = 600 * v.Zoom + 100;
    in.ActivePage = 0;
    return in;
}

// A full repaint of the visible part into the backing image, as the map's paint does.
void PaintMap(TDrawingState& s, QImage& image, const TView& v) {
    image.fill(Qt::white);
    TImageCanvas canvas(image);
    canvas.SetOrigin(v.ScrollX, v.ScrollY);
    s.Zoom = v.Zoom;
    DrawDrawing(s, canvas, InputsFor(v));
}

void PaintPlain(QImage& image, const TView& v, int smallestName = 1) {
    image.fill(Qt::white);
    PlainPaint(image, Data->Records, v.Zoom, v.ScrollX, v.ScrollY, smallestName);
}

void BM_Paint(benchmark::State& st, TView v) {
    auto s = FreshState();
    FillStore(*s);
    QImage image(ViewWidth, ViewHeight, QImage::Format_RGB32);
    for (auto _ : st) {
        PaintMap(*s, image, v);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PlainPaint(benchmark::State& st, TView v) {
    QImage image(ViewWidth, ViewHeight, QImage::Format_RGB32);
    for (auto _ : st) {
        PaintPlain(image, v);
        benchmark::DoNotOptimize(image.constBits());
    }
}

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

void RegisterBenchmarks() {
    benchmark::RegisterBenchmark("BM_FloodFillOpenImage", BM_FloodFillOpenImage)
        ->Unit(benchmark::kMillisecond)->Iterations(20);
    benchmark::RegisterBenchmark("BM_Cp932LargeTexts", BM_Cp932LargeTexts)->Unit(benchmark::kMillisecond)->Iterations(10);
    benchmark::RegisterBenchmark("BM_PaintWholeDrawing", BM_Paint, WholeSite)->Unit(benchmark::kMillisecond)->Iterations(20);
    benchmark::RegisterBenchmark("BM_PlainPaintWholeDrawing", BM_PlainPaint, WholeSite)
        ->Unit(benchmark::kMillisecond)->Iterations(10);
    benchmark::RegisterBenchmark("BM_PaintZoom20", BM_Paint, Zoom20)->Unit(benchmark::kMillisecond)->Iterations(100);
    benchmark::RegisterBenchmark("BM_PlainPaintZoom20", BM_PlainPaint, Zoom20)->Unit(benchmark::kMillisecond)->Iterations(10);
    benchmark::RegisterBenchmark("BM_ReadRaw", BM_ReadRaw)->Unit(benchmark::kMillisecond)->Iterations(20);
    benchmark::RegisterBenchmark("BM_ReadAndDecode", BM_ReadAndDecode)->Unit(benchmark::kMillisecond)->Iterations(20);
    benchmark::RegisterBenchmark("BM_LoadDrawing", BM_LoadDrawing)->Unit(benchmark::kMillisecond)->Iterations(10);
    benchmark::RegisterBenchmark("BM_SaveDrawing", BM_SaveDrawing)->Unit(benchmark::kMillisecond)->Iterations(50);
}

// ---- The goals table ----------------------------------------------------------------

int Runs() {
    const char* v = std::getenv("TARVEK_BENCH_RUNS");
    const int n = v ? std::atoi(v) : 0;
    return n > 0 ? n : 15;
}

double Milliseconds(const std::function<void()>& fn) {
    const auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Median of runs, after one run that warms caches; setup runs untimed before each.
double MedianMs(const std::function<void()>& fn, int runs, const std::function<void()>& setup = {}) {
    if (setup) setup();
    fn();
    std::vector<double> t;
    for (int k = 0; k < runs; ++k) {
        if (setup) setup();
        t.push_back(Milliseconds(fn));
    }
    return Median(t);
}

std::string LoadAverage() {
    std::ifstream f("/proc/loadavg");
    double a = 0, b = 0, c = 0;
    f >> a >> b >> c;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f %.2f %.2f", a, b, c);
    return buf;
}

struct TGoalRow {
    std::string Work;
    double Value;
    std::string Unit;
    std::string Baseline;
    double BaselineValue;
    std::string Goal;
    bool Met;
};

void PrintRows(const std::vector<TGoalRow>& rows) {
    std::printf("\n%-46s %12s   %-44s %12s %8s  %-34s %s\n", "work", "figure", "baseline (same run)", "baseline",
                "ratio", "goal", "");
    for (const TGoalRow& r : rows) {
        const double ratio = r.BaselineValue != 0 ? r.Value / r.BaselineValue : 0;
        std::printf("%-46s %9.2f %-2s   %-44s %9.2f %-2s %7.3fx  %-34s %s\n", r.Work.c_str(), r.Value, r.Unit.c_str(),
                    r.Baseline.c_str(), r.BaselineValue, r.Unit.c_str(), ratio, r.Goal.c_str(),
                    r.Met ? "met" : "NOT MET");
    }
}

// ---- Start-up in a program of its own ----

struct TProbeResult {
    double WallMs = 0;     // from the spawn to the line that follows the first paint
    double PaintedMs = 0;  // the probe's own count from its main()
    long PeakKb = 0, RssKb = 0;
    bool Ok = false;
};

TProbeResult RunProbe(const std::string& folder, const std::string& runtimeDir) {
    TProbeResult r;
    int out[2];
    if (pipe(out) != 0) return r;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "XDG_RUNTIME_DIR=", 16) != 0) env.emplace_back(*e);
    // A lock of its own, so that an editor or test elsewhere cannot refuse the start.
    env.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
    if (!getenv("QT_QPA_PLATFORM")) env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string probe = TARVEK_STARTUP_PROBE, arg = folder;
    char* argv[] = {probe.data(), arg.data(), nullptr};
    pid_t pid = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = posix_spawn(&pid, probe.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        return r;
    }
    std::string line;
    char buf[512];
    for (;;) {
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        line.append(buf, static_cast<std::size_t>(n));
        if (line.find('\n') != std::string::npos) break;
    }
    r.WallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    int error = 1;
    if (std::sscanf(line.c_str(), "painted_ms=%lf peak_rss_kb=%ld rss_kb=%ld figures=%*d households=%*d error=%d",
                    &r.PaintedMs, &r.PeakKb, &r.RssKb, &error) == 4)
        r.Ok = error == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!r.Ok) std::fprintf(stderr, "start-up probe in %s: %s\n", folder.c_str(), line.c_str());
    return r;
}

struct TProbeMedians {
    double WallMs = 0, PeakMb = 0, RssMb = 0;
    bool Ok = true;
};

TProbeMedians ProbeMedians(const std::string& folder, const std::string& runtimeDir, int runs) {
    std::vector<double> wall, peak, rss;
    TProbeMedians m;
    RunProbe(folder, runtimeDir);  // warms the disk cache and the font cache
    for (int k = 0; k < runs; ++k) {
        const TProbeResult r = RunProbe(folder, runtimeDir);
        m.Ok = m.Ok && r.Ok;
        wall.push_back(r.WallMs);
        peak.push_back(r.PeakKb / 1024.0);
        rss.push_back(r.RssKb / 1024.0);
    }
    m.WallMs = Median(wall);
    m.PeakMb = Median(peak);
    m.RssMb = Median(rss);
    return m;
}

// ---- The live form on the large temple ----

void Mouse(TForm_zumenn& form, QEvent::Type type, Qt::MouseButton button, int x, int y, Qt::MouseButtons held) {
    QWidget* w = form.PaintBox1->Widget();
    const QPointF local(x, y);
    QMouseEvent e(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
    QApplication::processEvents();
}

struct TFormRows {
    double PickMissMs = 0, PickHitMs = 0, MoveFrameMs = 0, PlainAtViewMs = 0;
    int Selected = 0;
    bool Ok = false;
};

TFormRows MeasureOnForm(const std::string& folder, int runs) {
    TFormRows rows;
    TScriptedUi ui;
    InstallFontSubstitutions();
    auto form = std::make_unique<TForm_zumenn>(folder, ui);
    form->AdoptBlockDialog(std::make_unique<Thako>(*form));
    form->Show();
    QApplication::processEvents();
    TDrawingState& s = form->S;
    if (s.StartupError || s.FigureCount != FigureTotal) {
        std::fprintf(stderr, "the large temple did not open on the form (%d figures)\n", s.FigureCount);
        return rows;
    }
    form->ComboBox5->SetItemIndex(1);  // no mesh snap
    form->ComboBox1->SetItemIndex(0);  // no mesh lines
    form->PageControl1->UserSelectTab(3);
    QApplication::processEvents();
    const int sx = form->HorzScrollPos(), sy = form->VertScrollPos();
    const int w = form->MapImage.width(), h = form->MapImage.height();

    // Picking: a press on open paper between the lots walks every pass; a press on a
    // plot's outline is found in the plot pass.
    std::int32_t target = 0;
    for (std::int32_t i = 1; i <= s.FigureCount && !target; ++i) {
        const TDateRec& r = s.Fig(i);
        const int x = ToPixel(s, r.BoxX1), y = ToPixel(s, (r.BoxY1 + r.BoxY2) / 2);
        if (IsPlotRecord(r) && x > sx + w / 3 && x < sx + w / 2 && y > sy + h / 3 && y < sy + h / 2) target = i;
    }
    if (!target) return rows;
    const TDateRec& t = s.Fig(target);
    const int hitX = ToPixel(s, t.BoxX1), hitY = ToPixel(s, (t.BoxY1 + t.BoxY2) / 2);
    auto pickAt = [&](int x, int y) {
        s.MouseDownPos = {x, y};
        return s.Tools.Ops.SelectAtPoint(0);
    };
    // Open paper: the first point of the gaps between the lots, near the target, where
    // nothing is found.
    int gapX = -1, gapY = -1;
    for (int dy = 0; dy < 200 && gapX < 0; dy += 3)
        for (int dx = 0; dx < 200 && gapX < 0; dx += 3)
            if (pickAt(hitX + dx, ToPixel(s, t.BoxY1) - 3 + dy) == -1) gapX = hitX + dx, gapY = ToPixel(s, t.BoxY1) - 3 + dy;
    if (gapX < 0 || pickAt(hitX, hitY) <= 0) {
        std::fprintf(stderr, "no press on open paper, or none on the plot\n");
        return rows;
    }
    rows.PickMissMs = MedianMs([&] { pickAt(gapX, gapY); }, runs);
    rows.PickHitMs = MedianMs([&] { pickAt(hitX, hitY); }, runs);
    // A press that found nothing leaves a band to be drawn; this one was no press.
    s.Dragging = 0;

    // 100 plots in view selected by a band, then dragged from inside their frame.
    ClearFigureSelection(s, false);
    std::vector<std::int32_t> picked;
    for (std::int32_t i = 1; i <= s.FigureCount && picked.size() < 100; ++i) {
        const TDateRec& r = s.Fig(i);
        if (!IsPlotRecord(r) || r.Deleted) continue;
        const int x1 = ToPixel(s, r.BoxX1), y1 = ToPixel(s, r.BoxY1), x2 = ToPixel(s, r.BoxX2), y2 = ToPixel(s, r.BoxY2);
        if (x1 > sx + 40 && x2 < sx + w - 40 && y1 > sy + 40 && y2 < sy + h - 40) picked.push_back(i);
    }
    for (const std::int32_t i : picked) s.Fig(i).Selected = 1;
    RebuildSelectionList(s, true);
    UpdateSelectionCount(s);
    ClassifySelectionKinds(s);
    rows.Selected = s.SelectedCount;
    form->PaintBox1->Invalidate();
    QApplication::processEvents();
    const TDateRec& first = s.Fig(picked.front());
    const int fx = ToPixel(s, (first.BoxX1 + first.BoxX2) / 2), fy = ToPixel(s, (first.BoxY1 + first.BoxY2) / 2);
    Mouse(*form, QEvent::MouseMove, Qt::NoButton, fx, fy, {});
    form->ApplicationIdle();
    Mouse(*form, QEvent::MouseButtonPress, Qt::LeftButton, fx, fy, Qt::LeftButton);
    int step = 0;
    rows.MoveFrameMs = MedianMs(
        [&] {
            ++step;
            Mouse(*form, QEvent::MouseMove, Qt::NoButton, fx + step % 40, fy + step % 25, Qt::LeftButton);
        },
        std::max(runs, 30));
    // The handle drag (tool 103) with its preview on the map.
    const bool dragging = s.CurrentTool == 103 && s.Tools.HandleHit == 5 && s.Tools.Preview.Shown;
    Mouse(*form, QEvent::MouseButtonRelease, Qt::LeftButton, fx, fy, {});
    if (!dragging) std::fprintf(stderr, "the move preview was not shown\n");

    // The plain pass at the view of the form.
    std::vector<TDateRec> records(static_cast<std::size_t>(s.FigureCount) + 1);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) records[static_cast<std::size_t>(i)] = s.Fig(i);
    QImage image(w, h, QImage::Format_RGB32);
    rows.PlainAtViewMs = MedianMs(
        [&] {
            image.fill(Qt::white);
            PlainPaint(image, records, s.Zoom, sx, sy);
        },
        runs);
    rows.Ok = dragging;
    return rows;
}

int RunGoals(const std::string& scratch) {
    const int runs = Runs();
    const std::string before = LoadAverage();
    std::printf("\ngoals table: medians of %d runs, load average %s at the start\n", runs, before.c_str());
    std::vector<TGoalRow> rows;

    // Painting, in process, on the store filled directly.
    {
        auto s = FreshState();
        FillStore(*s);
        QImage image(ViewWidth, ViewHeight, QImage::Format_RGB32);
        const double z1 = MedianMs([&] { PaintMap(*s, image, WholeSite); }, runs);
        const double z1Plain = MedianMs([&] { PaintPlain(image, WholeSite); }, runs);
        const double z20 = MedianMs([&] { PaintMap(*s, image, Zoom20); }, runs);
        const double z20Plain = MedianMs([&] { PaintPlain(image, Zoom20); }, runs);
        const double z1Lean = MedianMs([&] { PaintPlain(image, WholeSite, 4); }, runs);
        rows.push_back({"full repaint, zoom 1 (1000 x 600, whole site)", z1, "ms", "plain QPainter pass, every figure", z1Plain,
                        "<= 0.2x", z1 <= 0.2 * z1Plain});
        rows.push_back({"repaint at zoom 20 (a window's worth)", z20, "ms", "plain QPainter pass, every figure", z20Plain,
                        "<= 0.05x and < 2 ms", z20 <= 0.05 * z20Plain && z20 < 2.0});
        rows.push_back({"full repaint, zoom 1", z1, "ms", "the plain pass without names under 4 px", z1Lean,
                        "(for the record)", true});
    }

    // Reading, loading and saving the drawing data file.
    {
        std::string bytes;
        const double raw = MedianMs([&] { ReadRaw(Data->DataFile, bytes); }, runs);
        const double decode = MedianMs([&] { ReadAndDecode(Data->DataFile); }, runs);
        const double mb = double(Data->FileSize) / 1e6;
        rows.push_back({"read + decode of the drawing data file", mb / (decode / 1000), "MB/s",
                        "plain read() of its bytes", mb / (raw / 1000), ">= 300 MB/s", mb / (decode / 1000) >= 300});
        std::unique_ptr<TDrawingState> s;
        bool ok = true;
        const double load = MedianMs(
            [&] { ok = LoadDrawingData(*s) && s->FigureCount == FigureTotal && ok; }, runs, [&] {
                s.reset();
                s = FreshState();
            });
        s.reset();
        TDrawingState& save = *Data->SaveState;
        const double saveMs = MedianMs([&] { ok = SaveDrawingFile(save, save.CurrentDrawingName).File.ok() && ok; }, runs,
                                       [&] {
                                           if (save.FigureCount != FigureTotal) FillStore(save);
                                       });
        // What the disk takes of a save: the same bytes written, synced and renamed into
        // place, as every save must.
        std::string saved;
        ReadRaw(Data->DataFile, saved);
        const std::string copy = Data->Folder + "copy_data.txt";
        const double written = MedianMs([&] { ok = WriteFileAtomically(copy, saved).ok() && ok; }, runs);
        rows.push_back({ok ? "load" : "load (FAILED)", load, "ms", "read + decode", decode, "<= 1.2x", ok && load <= 1.2 * decode});
        rows.push_back({"save", saveMs, "ms", "load", load, "<= 1x", saveMs <= load});
        rows.push_back({"save", saveMs, "ms", "its atomic write alone (sync, rename)", written, "(for the record)", true});
    }

    // The live form, and start-up in a program of its own.
    const std::string large = scratch + "large/", sample = scratch + "sample/", runtime = scratch + "runtime";
    std::filesystem::create_directories(large);
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    std::filesystem::copy(TARVEK_SAMPLES "/temple", sample, std::filesystem::copy_options::recursive);
    TOpenView view;
    view.Zoom = 20;
    view.ScrollX = 4000;
    view.ScrollY = 5000;
    if (!WriteProgramFolder(large, Data->Records, view)) {
        std::fprintf(stderr, "could not write the large program folder\n");
        return 1;
    }
    const TFormRows form = MeasureOnForm(large, runs);
    rows.push_back({"picking at a point (press on open paper)", form.PickMissMs, "ms", "plain pass at the form's view",
                    form.PlainAtViewMs, "< 1 ms", form.Ok && form.PickMissMs < 1.0});
    rows.push_back({"picking at a point (press on a plot)", form.PickHitMs, "ms", "plain pass at the form's view",
                    form.PlainAtViewMs, "< 1 ms", form.Ok && form.PickHitMs < 1.0});
    rows.push_back({"move frame, " + std::to_string(form.Selected) + " selected figures", form.MoveFrameMs, "ms",
                    "plain pass at the form's view", form.PlainAtViewMs, "< 4 ms", form.Ok && form.MoveFrameMs < 4.0});

    const int probeRuns = std::max(5, runs / 2);
    const TProbeMedians small = ProbeMedians(sample, runtime, probeRuns);
    const TProbeMedians big = ProbeMedians(large, runtime, probeRuns);
    const bool probed = small.Ok && big.Ok;
    rows.push_back({probed ? "start-up to the first painted map" : "start-up (PROBE FAILED)", big.WallMs, "ms",
                    "the same on the sample temple", small.WallMs, "< 250 ms", probed && big.WallMs < 250});
    rows.push_back({"peak resident memory", big.PeakMb, "MB", "the same on the sample temple", small.PeakMb,
                    "at most 15 MB above", probed && big.PeakMb - small.PeakMb <= 15});
    rows.push_back({"resident memory after start-up", big.RssMb, "MB", "the same on the sample temple", small.RssMb,
                    "(for the record)", true});

    PrintRows(rows);
    const TFigureCounts n = CountFigures(Data->Records);
    std::printf("\ndrawing: %d figures (%d plots, %d owned, %d lines, %d texts, %d rectangles, %d groups with %d members),"
                " %d households; data file %ju bytes\n",
                FigureTotal, n.Plots, n.Owned, n.Lines, n.Texts, n.Rectangles, n.Groups, n.Members, HouseholdTotal,
                Data->FileSize);
    std::printf("peak memory above the sample temple: %.1f MB; load average %s at the end\n", big.PeakMb - small.PeakMb,
                LoadAverage().c_str());
    return 0;
}

// Removes the temporary folder on every way out of main.
struct TFolderGuard {
    std::string Path;
    ~TFolderGuard() {
        std::error_code ec;
        if (!Path.empty()) std::filesystem::remove_all(Path, ec);
    }
};

}  // namespace

int main(int argc, char** argv) {
    // Texts need the font system, the form rows the widgets; offscreen unless a display is
    // asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    bool goalsOnly = false, noGoals = false;
    std::string writeFolder;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--goals") == 0) goalsOnly = true;
        else if (std::strcmp(argv[i], "--write-folder") == 0 && i + 1 < argc) writeFolder = argv[++i];
        else if (std::strcmp(argv[i], "--no-goals") == 0) noGoals = true;
        else args.push_back(argv[i]);
    }
    int n = static_cast<int>(args.size());
    QApplication app(n, args.data());
    InstallFontSubstitutions();

    if (!writeFolder.empty()) {
        if (writeFolder.back() != '/') writeFolder += '/';
        std::filesystem::create_directories(writeFolder);
        TOpenView view;
        view.Zoom = 20;
        view.ScrollX = 4000;
        view.ScrollY = 5000;
        return WriteProgramFolder(writeFolder, MakeRecords(), view) ? 0 : 1;
    }

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

    if (!goalsOnly) {
        RegisterBenchmarks();
        benchmark::Initialize(&n, args.data());
        if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 1;
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    return noGoals ? 0 : RunGoals(data.Folder + "goals/");
}
