// Loading every layout of the drawing data file, and writing "Ver4.00".
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <optional>
#include <vector>

#include "document/drawing_file.h"
#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/view_settings.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::TTempFolder;

struct TPoint2 {
    double x, y;
};

struct TExpectedRecord {
    std::int32_t Kind;
    std::array<TPoint2, 4> Corners;
    std::string Text;
    double Aux1;
    std::uint8_t IsPlot;
    std::int32_t PlotId;
};

class DrawingFile : public ::testing::Test {
protected:
    DrawingFile() : State(Ui) {
        testing::PointAtDrawing(State, Dir.Folder(), "寺", "厨子", "図面1");
    }

    std::string DataFile(const std::string& name = "図面1") const {
        return DrawingDataFileName(State, name);
    }
    void UseFixture(const std::string& fixture) {
        testing::WriteBytes(DataFile(), testing::ReadBytes(testing::FixturePath(fixture)));
    }
    bool Load(const std::string& fixture) {
        UseFixture(fixture);
        return LoadDrawingData(State);
    }

    void ExpectRecords(const std::vector<TExpectedRecord>& expected) {
        ASSERT_EQ(State.FigureCount, static_cast<std::int32_t>(expected.size()));
        for (std::size_t k = 0; k < expected.size(); ++k) {
            SCOPED_TRACE("record " + std::to_string(k + 1));
            const TDateRec& r = State.Fig(static_cast<std::int32_t>(k + 1));
            const TExpectedRecord& e = expected[k];
            EXPECT_EQ(r.Kind, e.Kind);
            const std::array<TPoint2, 4> got{{{r.X1, r.Y1}, {r.X2, r.Y2}, {r.X3, r.Y3}, {r.X4, r.Y4}}};
            for (int p = 0; p < 4; ++p) {
                EXPECT_DOUBLE_EQ(got[p].x, e.Corners[p].x) << "point " << p + 1;
                EXPECT_DOUBLE_EQ(got[p].y, e.Corners[p].y) << "point " << p + 1;
            }
            EXPECT_EQ(r.Text, e.Text);
            EXPECT_DOUBLE_EQ(r.Aux1, e.Aux1);
            EXPECT_EQ(r.IsPlot, e.IsPlot);
            EXPECT_EQ(r.PlotId, e.PlotId);
            EXPECT_EQ(r.DrawingName, "図面1");
            EXPECT_EQ(r.Selected, 0);
            EXPECT_EQ(r.Deleted, 0);
            EXPECT_DOUBLE_EQ(r.BoxX1, std::min({r.X1, r.X2, r.X3, r.X4}));
            EXPECT_DOUBLE_EQ(r.BoxY2, std::max({r.Y1, r.Y2, r.Y3, r.Y4}));
        }
    }

    void ExpectCleanLoad() {
        EXPECT_EQ(State.StartupError, 0);
        EXPECT_EQ(Ui.Beeps, 0);
        EXPECT_TRUE(Ui.Shown.empty());
    }

    TTempFolder Dir;
    TScriptedUi Ui;
    TDrawingState State;
};

TEST_F(DrawingFile, UnversionedBoxesBecomeFourCornerFiguresAndOldPlotsBecomePlots) {
    ASSERT_TRUE(Load("unversioned_data.txt"));
    ExpectCleanLoad();
    ExpectRecords({
        {fkPlot, {{{0, 0}, {10000, 0}, {10000, 5000}, {0, 5000}}}, "000012", 0, 1, 7},
        {fkRectangle, {{{100, 200}, {300, 200}, {300, 400}, {100, 400}}}, "0", 0, 0, 0},
        // "左上": from the top-left corner to the bottom-right one.
        {fkLine, {{{0, 0}, {0, 0}, {100, 50}, {100, 50}}}, "0", 0, 0, 0},
        {fkText, {{{10, 20}, {110, 20}, {110, 30}, {10, 30}}}, "本堂", 1.0, 0, 0},
        {fkOldCurveBox, {{{5, 5}, {15, 5}, {15, 25}, {5, 25}}}, "0", 0, 0, 0},
        {fkPlot, {{{20000, 0}, {30000, 0}, {30000, 5000}, {20000, 5000}}}, "0", 0, 1, 15},
    });
    EXPECT_EQ(State.MaxPlotId, 15);
    // Lines 37-41 belong to "Ver4.00" only.
    EXPECT_EQ(State.CurFontName, "ＭＳ 明朝");
    EXPECT_EQ(State.DrawingScale, 1000);
    EXPECT_EQ(State.LoadedZoom, 8);
}

TEST_F(DrawingFile, Version2LinesAndTextsGetFourCornersAndOldPlotKeysCount) {
    ASSERT_TRUE(Load("ver2_data.txt"));
    ExpectCleanLoad();
    ExpectRecords({
        // "右上": from the top-right corner to the bottom-left one.
        {fkLine, {{{100, 0}, {100, 0}, {0, 50}, {0, 50}}}, "0", 0, 0, 0},
        {fkOldPlot, {{{0, 0}, {4000, 3000}, {4000, 3000}, {0, 3000}}}, "000031", 0, 0, 20},
        {fkText, {{{0, 0}, {10, 0}, {10, 90}, {0, 90}}}, "山門", 2.0, 0, 0},
        {fkEllipse, {{{0, 0}, {50, 50}, {50, 50}, {0, 50}}}, "0", 0, 0, 0},
    });
    // A kind-11 plot holds a ledger key as well: new plots must not reuse it.
    EXPECT_EQ(State.MaxPlotId, 20);
}

TEST_F(DrawingFile, Version3KeepsPointsAndReadsSharedSets) {
    ASSERT_TRUE(Load("ver3_data.txt"));
    ExpectCleanLoad();
    ExpectRecords({
        {fkText, {{{0, 0}, {0, 0}, {0, 500}, {0, 500}}}, "鐘楼", 2.0, 0, 0},
        {fkPlot, {{{0, 0}, {4000, 0}, {4000, 3000}, {0, 3000}}}, "000044", 0, 1, 31},
        {fkPlot, {{{0, 0}, {4000, 0}, {4000, 3000}, {0, 3000}}}, "000045", 0, 1, 32},
        {fkLine, {{{0, 0}, {0, 0}, {100, 50}, {100, 50}}}, "0", 0, 0, 0},
    });
    EXPECT_EQ(State.Fig(2).SetAside, 1);
    EXPECT_EQ(State.Fig(2).ShareSetId, 31);
    EXPECT_EQ(State.Fig(3).SetAside, 0);
    EXPECT_EQ(State.Fig(3).ShareSetId, 31);
    EXPECT_EQ(State.MaxPlotId, 32);
}

TEST_F(DrawingFile, Version4ReadsEveryFieldAndRejectsImpossibleOwnerLinks) {
    ASSERT_TRUE(Load("ver4_data.txt"));
    ExpectCleanLoad();
    const std::array<TPoint2, 4> rect{{{0, 0}, {4000.5, 0}, {4000.5, 3000.25}, {0, 3000.25}}};
    ExpectRecords({
        {fkPlot, rect, "000123", 5, 1, 40},
        {fkPlot, rect, "0", 5, 1, 41},
        {fkPlot, rect, "0", 0, 0, 0},  // no plot flag: its key is dropped
        {fkText, {{{10, 10}, {10, 10}, {200, 40}, {200, 40}}}, "<form_data>", 1, 0, 0},
        {fkGroup, {{{0, 0}, {0, 0}, {0, 0}, {0, 0}}}, "0", 0, 0, 0},
        {fkText, {{{0, 500}, {0, 500}, {300, 540}, {300, 540}}}, "～－髙①\uE000ｱ\\", 2, 0, 0},
        {fkEllipse, {{{0, 0}, {0, 0}, {100, 100}, {100, 100}}}, "0", 100, 0, 0},
    });
    EXPECT_EQ(State.MaxPlotId, 41);
    EXPECT_EQ(State.Fig(2).SetAside, 1);
    EXPECT_EQ(State.Fig(2).ShareSetId, 40);
    EXPECT_EQ(State.Fig(4).OwnerIndex, 5);  // a group: kept
    EXPECT_EQ(State.Fig(6).OwnerIndex, 0);  // record 1 is no parent
    EXPECT_EQ(State.Fig(7).OwnerIndex, 0);  // itself
    EXPECT_EQ(State.Fig(6).FontName, "ＭＳ ゴシック");
    EXPECT_EQ(State.Fig(6).PenColor, 255);
    EXPECT_EQ(State.Fig(6).PenWidth, 1);
    EXPECT_EQ(State.Fig(6).PenStyle, 9);  // out of the table: kept, falls back where drawn
    EXPECT_EQ(State.Fig(7).BrushColor, -1);
    EXPECT_DOUBLE_EQ(State.Fig(7).Aux2, 50);
    EXPECT_DOUBLE_EQ(State.Fig(7).Aux4, 50);
    EXPECT_EQ(State.Fig(7).PenStyle, 2);
    EXPECT_EQ(State.Fig(7).BrushStyle, 6);
    // The view section is the one after the records, not the text that looks like its marker.
    EXPECT_EQ(State.LoadedFormTop, 120);
    EXPECT_EQ(State.LoadedPaintWidth, 3000);
    EXPECT_EQ(State.RecordedScrollPos.y, 30);
    EXPECT_EQ(State.LoadedZoom, 8);
    EXPECT_EQ(State.BlockRows, 8);
    EXPECT_EQ(State.CurBrushColor, 16777215);
    EXPECT_EQ(State.MeshColor, -16777201);
    EXPECT_EQ(State.View.GridColWidths[8], 48);
    EXPECT_EQ(State.ClipNames, 1);
    EXPECT_EQ(State.RotateNames, 0);
    EXPECT_EQ(State.NameTextSize, 12);
    EXPECT_EQ(State.DimensionTextSize, 400);
    EXPECT_TRUE(State.View.SelectAfterDrawing);
    EXPECT_EQ(State.CurFontName, "ＭＳ ゴシック");
    EXPECT_EQ(State.CurPenWidth, 2);
    EXPECT_EQ(State.CurPenStyle, 1);
    EXPECT_EQ(State.CurBrushStyle, 3);
    EXPECT_EQ(State.DrawingScale, 500);
}

TEST_F(DrawingFile, DamagedFilesFailTheirStageWithoutCrashing) {
    struct TCase {
        const char* Fixture;  // nullptr: no file at all
        const char* Message;
    };
    const TCase cases[] = {
        {nullptr, FigureReadErrorMessage},
        {"cut_data.txt", FigureReadErrorMessage},
        {"badnumber_data.txt", FigureReadErrorMessage},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Fixture ? c.Fixture : "missing file");
        TScriptedUi ui;
        TDrawingState s(ui);
        s.ExeFolder = Dir.Folder();
        s.TempleName = "別寺";
        s.CurrentDrawingName = "図面";
        if (c.Fixture)
            testing::WriteBytes(DrawingDataFileName(s, "図面"),
                                testing::ReadBytes(testing::FixturePath(c.Fixture)));
        EXPECT_FALSE(LoadDrawingData(s));
        EXPECT_EQ(s.StartupError, 1);
        EXPECT_EQ(s.StartupErrorMessage, c.Message);
        EXPECT_EQ(ui.Beeps, 1);
    }
}

TEST_F(DrawingFile, DamagedViewSectionFailsTheViewStage) {
    UseFixture("ver4_data.txt");
    TLines lines;
    ASSERT_TRUE(ReadTextLines(DataFile(), lines));
    lines[lines.size() - 41 + 2] = "八百";  // window width
    ASSERT_TRUE(WriteTextLines(DataFile(), lines));
    EXPECT_FALSE(LoadDrawingData(State));
    EXPECT_EQ(State.StartupError, 1);
    EXPECT_EQ(State.StartupErrorMessage, ViewReadErrorMessage);
    EXPECT_EQ(State.FigureCount, 7);  // the figures read stay
}

TEST_F(DrawingFile, MissingViewSectionOpensWithTheViewOfANewDrawing) {
    ASSERT_TRUE(Load("noview_data.txt"));
    ExpectCleanLoad();
    EXPECT_EQ(State.FigureCount, 7);
    EXPECT_EQ(State.DrawingViewRead, 0);
    // Every line as the state gives it for writing: a new drawing's view.
    const TLines newView{"100", "200", "800", "600", "764", "564", "0", "0", "1",     // window, map, scroll, zoom
                         "4", "3", "1", "1", "10", "10",                              // blocks
                         "15398391", "14282224", "",                                  // form, panel, paper
                         "0", "7321527", "-16777201", "8421504",                      // pen, brush, mesh, centre line
                         "55", "85", "85", "60", "90", "150", "60", "0", "280",       // household grid
                         "あり", "あり", "10", "500", "なし",                         // names, sizes, select
                         "ＭＳ 明朝", "1", "0", "1", "1000"};                         // attributes, scale
    State.Zoom = State.LoadedZoom;  // as showing the form does
    const TLines collected = FormDataToLines(CollectFormData(State));
    ASSERT_EQ(collected.size(), newView.size());
    for (std::size_t k = 0; k < newView.size(); ++k) EXPECT_EQ(collected[k], newView[k]) << "line " << k + 1;
    EXPECT_EQ(State.View, TFormData{});
    EXPECT_EQ((std::array{State.LoadedFormWidth, State.LoadedPaintWidth, State.LoadedZoom}), (std::array{800, 764, 1}));
    EXPECT_EQ((std::array<int, 2>{State.ClipNames, State.RotateNames}), (std::array<int, 2>{1, 1}));

    // With its section the drawing has a view of its own.
    TScriptedUi ui;
    TDrawingState withView(ui);
    testing::PointAtDrawing(withView, Dir.Folder(), "寺", "厨子", "図面2");
    testing::WriteBytes(DataFile("図面2"), testing::ReadBytes(testing::FixturePath("ver4_data.txt")));
    ASSERT_TRUE(LoadDrawingData(withView));
    EXPECT_EQ(withView.DrawingViewRead, 1);
}

TEST_F(DrawingFile, DisplaySettingsFileWinsOverTheSection) {
    UseFixture("ver4_data.txt");
    TFormData d;
    d.FormTop = 77;
    d.DrawingScale = 250;
    TLines lines = FormDataToLines(d);
    lines.pop_back();  // 40 lines: the scale is not touched
    ASSERT_TRUE(WriteTextLines(DisplaySettingsFileName(State, "図面1"), lines));
    ASSERT_TRUE(LoadDrawingData(State));
    EXPECT_EQ(State.LoadedFormTop, 77);
    EXPECT_EQ(State.DrawingScale, 1000);

    // An older drawing takes none of the attribute lines from a 41-line file.
    TScriptedUi ui;
    TDrawingState old(ui);
    old.ExeFolder = Dir.Folder();
    old.CurrentDrawingName = "古図面";
    testing::WriteBytes(DrawingDataFileName(old, "古図面"),
                        testing::ReadBytes(testing::FixturePath("ver3_data.txt")));
    d.CurFontName = "ＭＳ ゴシック";
    d.CurPenWidth = 3;
    ASSERT_TRUE(WriteTextLines(DisplaySettingsFileName(old, "古図面"), FormDataToLines(d)));
    ASSERT_TRUE(LoadDrawingData(old));
    EXPECT_EQ(old.LoadedFormTop, 77);
    EXPECT_EQ(old.CurFontName, "ＭＳ 明朝");
    EXPECT_EQ(old.CurPenWidth, 1);
    EXPECT_EQ(old.DrawingScale, 1000);
}

// The layout written, line by line, for one plot of every field.
TEST_F(DrawingFile, WritesVersion4ByteForByte) {
    TDateRec& r = State.Fig(1);
    r.Kind = fkPlot;
    r.X1 = 0, r.Y1 = 0, r.X2 = 1500.5, r.Y2 = -0.25;
    r.X3 = 1500.5, r.Y3 = 1000.0 / 3, r.X4 = 0, r.Y4 = 1e20;
    r.Text = "000123";
    r.PenColor = -1;
    r.BrushColor = 7321527;
    r.PlotId = 12;
    r.Aux1 = 5, r.Aux2 = 0.000001, r.Aux3 = 0, r.Aux4 = 0;
    r.SetAside = 1;
    r.ShareSetId = 12;
    r.OwnerIndex = 0;
    r.PenWidth = 2, r.PenStyle = 1, r.BrushStyle = 7;
    r.IsPlot = 1;
    r.FontName = "ＭＳ 明朝";
    r.HouseName = "山田";  // household fields travel through the hand-over file, not here
    State.FigureCount = 1;
    State.View = TFormData{};
    State.Zoom = 20;

    const TSaveResult saved = SaveDrawingFile(State, "図面1");
    ASSERT_TRUE(saved.File.ok()) << saved.File.Message;
    std::string expected =
        "Ver4.00\r\n11000\r\n0\r\n0\r\n1500.5\r\n-0.25\r\n000123\r\n4294967295\r\n7321527\r\n12\r\n"
        "1500.5\r\n333.333333333333\r\n0\r\n1E20\r\n5\r\n1E-6\r\n0\r\n0\r\n-1\r\n12\r\n0\r\n2\r\n1\r\n7\r\n"
        "-1\r\n\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9\r\n"
        "endofdata\r\n//-------------\x83\x74\x83\x48\x81\x5B\x83\x80" "DATA----------------\r\n"
        "<form_data>\r\n"
        "100\r\n200\r\n800\r\n600\r\n764\r\n564\r\n0\r\n0\r\n20\r\n4\r\n3\r\n1\r\n1\r\n10\r\n10\r\n"
        "15398391\r\n14282224\r\n\r\n0\r\n7321527\r\n-16777201\r\n8421504\r\n"
        "55\r\n85\r\n85\r\n60\r\n90\r\n150\r\n60\r\n0\r\n280\r\n"
        "\x82\xA0\x82\xE8\r\n\x82\xA0\x82\xE8\r\n10\r\n500\r\n\x82\xC8\x82\xB5\r\n"
        "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9\r\n1\r\n0\r\n1\r\n1000\r\n";
    EXPECT_EQ(testing::ReadBytes(DataFile()), expected);
}

// The save writes the file's bytes straight: they must be those of the record lines
// joined and converted as WriteTextLines does, for records of every sort.
TEST_F(DrawingFile, TheSavedBytesAreThoseOfTheRecordLinesWrittenAsLines) {
    std::uint64_t seed = 17;
    auto next = [&seed] {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return seed >> 11;
    };
    const std::vector<std::string> texts = {"0", "000123", "東区画　第３列", "a\r\nb", "x\ny\rz", "€ and ?", "",
                                            "ＭＳ 明朝", "ＭＳ ゴシック", "Arial", "\xFF\xFE"};
    const std::vector<std::int32_t> ints = {0, 1, 9, 10, -1, -10, 123456, INT32_MIN, INT32_MAX};
    const auto real = [&] {
        switch (next() % 6) {
        case 0: return static_cast<double>(static_cast<std::int64_t>(next() % 2000000001) - 1000000000) / 1000;
        case 1: return 0.0;
        case 2: return std::ldexp(static_cast<double>(next()), static_cast<int>(next() % 120) - 90);
        case 3: return -std::ldexp(static_cast<double>(next()), static_cast<int>(next() % 120) - 90);
        case 4: return static_cast<double>(next() % 100000);
        default: return 1.0 / static_cast<double>(1 + next() % 7);
        }
    };
    State.FigureCount = 0;
    for (int k = 0; k < 3000; ++k) {
        TDateRec& r = State.Fig(++State.FigureCount);
        r = TDateRec{};
        r.Kind = ints[next() % ints.size()];
        for (double* v : {&r.X1, &r.Y1, &r.X2, &r.Y2, &r.X3, &r.Y3, &r.X4, &r.Y4, &r.Aux1, &r.Aux2, &r.Aux3, &r.Aux4})
            *v = real();
        r.Text = texts[next() % texts.size()];
        r.FontName = texts[next() % texts.size()];
        r.PenColor = ints[next() % ints.size()];
        r.BrushColor = static_cast<TColor>(next());
        r.PlotId = ints[next() % ints.size()];
        r.SetAside = next() % 2;
        r.ShareSetId = ints[next() % ints.size()];
        r.PenWidth = ints[next() % ints.size()];
        r.PenStyle = ints[next() % ints.size()];
        r.BrushStyle = ints[next() % ints.size()];
        r.IsPlot = next() % 2;
    }
    ASSERT_TRUE(SaveDrawingFile(State, "図面1").File.ok());
    TLines lines{DrawingVersionLine};
    for (std::int32_t i = 1; i <= State.FigureCount; ++i) AppendFigureRecordLines(State.Fig(i), lines);
    for (const char* l : {EndOfDataLine, FormDataCommentLine, FormDataMarkerLine}) lines.push_back(l);
    for (const std::string& l : FormDataToLines(CollectFormData(State))) lines.push_back(l);
    const std::string asLines = Dir.File("as_lines.txt");
    ASSERT_TRUE(WriteTextLines(asLines, lines));
    EXPECT_TRUE(testing::ReadBytes(DataFile()) == testing::ReadBytes(asLines));
}

TEST_F(DrawingFile, WriteReadWriteGivesTheSameBytes) {
    for (const char* fixture : {"unversioned_data.txt", "ver2_data.txt", "ver3_data.txt", "ver4_data.txt"}) {
        SCOPED_TRACE(fixture);
        TScriptedUi ui1, ui2;
        TDrawingState first(ui1), second(ui2);
        for (TDrawingState* s : {&first, &second}) {
            s->ExeFolder = Dir.Folder();
            s->CurrentDrawingName = "往復";
        }
        testing::WriteBytes(DrawingDataFileName(first, "往復"),
                            testing::ReadBytes(testing::FixturePath(fixture)));
        ASSERT_TRUE(LoadDrawingData(first));
        ASSERT_TRUE(SaveDrawingFile(first, "往復").File.ok());
        const std::string once = testing::ReadBytes(DrawingDataFileName(first, "往復"));
        ASSERT_TRUE(LoadDrawingData(second));
        ASSERT_EQ(second.FigureCount, first.FigureCount);
        for (std::int32_t i = 1; i <= first.FigureCount; ++i) {
            TLines a, b;
            AppendFigureRecordLines(first.Fig(i), a);
            AppendFigureRecordLines(second.Fig(i), b);
            EXPECT_EQ(a, b) << "record " << i;
        }
        ASSERT_TRUE(SaveDrawingFile(second, "往復").File.ok());
        EXPECT_EQ(testing::ReadBytes(DrawingDataFileName(second, "往復")), once);
    }
}

TEST_F(DrawingFile, ANewDrawingIsNamedByTheClock) {
    State.CurrentDrawingName = NewDrawingName;
    State.FigureCount = 1;
    State.Fig(1).Kind = fkLine;
    const TSaveResult saved = SaveDrawingFile(State, NewDrawingName);
    ASSERT_TRUE(saved.File.ok());
    EXPECT_EQ(saved.DrawingName, "作成時刻2026_12_10 9_05_07");
    EXPECT_EQ(State.CurrentDrawingName, saved.DrawingName);
    EXPECT_EQ(State.Fig(1).DrawingName, saved.DrawingName);
    EXPECT_TRUE(FileExists(DataFile(saved.DrawingName)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path), {}), 1);
}

TEST_F(DrawingFile, RenamingWritesTheNewFileAndRemovesTheOld) {
    ASSERT_TRUE(Load("ver4_data.txt"));
    const TSaveResult saved = SaveDrawingFile(State, "本堂裏");
    ASSERT_TRUE(saved.File.ok());
    EXPECT_EQ(State.CurrentDrawingName, "本堂裏");
    EXPECT_FALSE(FileExists(DataFile("図面1")));
    EXPECT_TRUE(FileExists(DataFile("本堂裏")));
}

TEST_F(DrawingFile, AFailedWriteLosesNothing) {
    ASSERT_TRUE(Load("ver4_data.txt"));
    const std::string before = testing::ReadBytes(DataFile());
    // A folder where the new file should go: the write cannot succeed.
    std::filesystem::create_directory(DataFile("塞がり"));
    const TSaveResult saved = SaveDrawingFile(State, "塞がり");
    EXPECT_FALSE(saved.File.ok());
    EXPECT_EQ(saved.DrawingName, "図面1");
    EXPECT_EQ(State.CurrentDrawingName, "図面1");
    EXPECT_EQ(testing::ReadBytes(DataFile()), before);
}

TEST_F(DrawingFile, SavingDropsDeletedFiguresAndKeepsGroupLinks) {
    ASSERT_TRUE(Load("ver4_data.txt"));
    State.Fig(1).Deleted = 1;
    State.Fig(3).Deleted = 1;
    PushHistory(State, "移動");
    ASSERT_TRUE(SaveDrawingFile(State, "図面1").File.ok());
    EXPECT_EQ(State.HistoryCount, 1);
    EXPECT_EQ(State.History[1].Label, HistoryStopLabel);
    EXPECT_EQ(State.Label3, "次の「Ctrl+Z」はありません。");

    TScriptedUi ui;
    TDrawingState again(ui);
    testing::PointAtDrawing(again, Dir.Folder(), "寺", "厨子", "図面1");
    ASSERT_TRUE(LoadDrawingData(again));
    ASSERT_EQ(again.FigureCount, 5);
    EXPECT_EQ(again.Fig(2).Text, "<form_data>");
    EXPECT_EQ(again.Fig(2).OwnerIndex, 3);
    EXPECT_EQ(again.Fig(3).Kind, fkGroup);
    EXPECT_EQ(again.MaxPlotId, 41);
}

TEST_F(DrawingFile, TextsWithLineBreaksCannotShiftTheRecords) {
    State.FigureCount = 2;
    State.Fig(1).Kind = fkText;
    State.Fig(1).Text = "一行目\r\n二行目\n三";
    State.Fig(2).Kind = fkLine;
    ASSERT_TRUE(SaveDrawingFile(State, "図面1").File.ok());
    ASSERT_TRUE(LoadDrawingData(State));
    ASSERT_EQ(State.FigureCount, 2);
    EXPECT_EQ(State.Fig(1).Text, "一行目 二行目 三");
    EXPECT_EQ(State.Fig(2).Kind, fkLine);
}

// The store holds 29999 figures; a larger drawing is refused whole, not cut.
TEST_F(DrawingFile, CapacityLimitIsADataErrorNotASilentCut) {
    for (const std::int32_t count : {MaxFigures - 1, MaxFigures}) {
        SCOPED_TRACE(count);
        TLines lines{"Ver4.00"};
        TDateRec r;
        r.Kind = fkLine;
        r.FontName = "f";
        for (std::int32_t i = 0; i < count; ++i) AppendFigureRecordLines(r, lines);
        lines.push_back(EndOfDataLine);
        ASSERT_TRUE(WriteTextLines(DataFile(), lines));
        TScriptedUi ui;
        TDrawingState s(ui);
        testing::PointAtDrawing(s, Dir.Folder(), "寺", "厨子", "図面1");
        const bool loaded = LoadDrawingData(s);
        EXPECT_EQ(loaded, count < MaxFigures);
        EXPECT_EQ(s.StartupError, loaded ? 0 : 1);
        if (!loaded) {
            EXPECT_EQ(s.StartupErrorMessage, FigureReadErrorMessage);
        }
        EXPECT_TRUE(ui.Shown.empty());
    }
}

}  // namespace
}  // namespace tarvek
