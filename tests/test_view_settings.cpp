// The 41 view lines: writing, the reading rules, and the window clamp.
#include <gtest/gtest.h>

#include <functional>

#include "document/drawing_state.h"
#include "document/view_settings.h"
#include "test_support.h"

namespace tarvek {
namespace {

TFormData Sample() {
    TFormData d;
    d.FormTop = -20, d.FormLeft = 1300, d.FormWidth = 1011, d.FormHeight = 549;
    d.PaintWidth = 5000, d.PaintHeight = 3500, d.ScrollX = 120, d.ScrollY = 44, d.Zoom = 25;
    d.BlockUnitWidth = 6, d.BlockUnitHeight = 5, d.BlockGapX = 2, d.BlockGapY = 3;
    d.BlockColumns = 12, d.BlockRows = 4;
    d.WindowColor = -16777201, d.Panel1Color = 12632256;
    d.BackgroundPicturePath = "C:\\寺\\背景.jpg";
    d.CurPenColor = 255, d.CurBrushColor = 0x00FFFFFF, d.MeshColor = 0x00C0C0C0;
    d.CenterLineColor = 0x00404040;
    d.GridColWidths = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    d.ClipCheck = true, d.RotateCheck = false, d.NameTextSize = 14, d.DimensionTextSize = 300;
    d.SelectAfterDrawing = true, d.CurFontName = "ＭＳ ゴシック";
    d.CurPenWidth = 3, d.CurPenStyle = 4, d.CurBrushStyle = 7, d.DrawingScale = 200;
    return d;
}

TEST(ViewSettings, LinesRoundTripInTheirOrder) {
    const TFormData d = Sample();
    const TLines lines = FormDataToLines(d);
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines[0], "-20");
    EXPECT_EQ(lines[15], "-16777201");  // window colour: signed
    EXPECT_EQ(lines[17], "C:\\寺\\背景.jpg");
    EXPECT_EQ(lines[31], "あり");
    EXPECT_EQ(lines[32], "なし");
    EXPECT_EQ(lines[36], "ＭＳ ゴシック");
    EXPECT_EQ(lines[40], "200");
    TFormData back;
    ASSERT_TRUE(ReadFormDataLines(lines, 0, true, back));
    EXPECT_EQ(back, d);
}

TEST(ViewSettings, ReadingRulesLineByLine) {
    struct TCase {
        const char* Name;
        std::function<void(TLines&)> Edit;
        bool Version4;
        bool Ok;
        std::function<void(const TFormData&)> Check;
    };
    const TFormData base = Sample();
    const TCase cases[] = {
        {"unknown clip word: clipping off", [](TLines& l) { l[31] = "はい"; }, true, true,
         [](const TFormData& d) { EXPECT_FALSE(d.ClipCheck); }},
        {"unknown rotate word: rotating on", [](TLines& l) { l[32] = "?"; }, true, true,
         [](const TFormData& d) { EXPECT_TRUE(d.RotateCheck); }},
        {"empty name size: 10", [](TLines& l) { l[33] = ""; }, true, true,
         [](const TFormData& d) { EXPECT_EQ(d.NameTextSize, 10); }},
        {"empty dimension size: 500", [](TLines& l) { l[34] = ""; }, true, true,
         [](const TFormData& d) { EXPECT_EQ(d.DimensionTextSize, 500); }},
        {"unknown select word leaves the option", [](TLines& l) { l[35] = "x"; }, true, true,
         [](const TFormData& d) { EXPECT_FALSE(d.SelectAfterDrawing); }},
        {"select word なし", [](TLines& l) { l[35] = "なし"; }, true, true,
         [](const TFormData& d) { EXPECT_FALSE(d.SelectAfterDrawing); }},
        {"colour written unsigned above 2^31", [](TLines& l) { l[18] = "4294967295"; l[19] = "2147483648"; },
         true, true, [](const TFormData& d) {
             EXPECT_EQ(d.CurPenColor, -1);
             EXPECT_EQ(d.CurBrushColor, INT32_MIN);
         }},
        {"zoom below range", [](TLines& l) { l[8] = "0"; }, true, true,
         [](const TFormData& d) { EXPECT_EQ(d.Zoom, 1); }},
        {"zoom above range", [](TLines& l) { l[8] = "400"; }, true, true,
         [](const TFormData& d) { EXPECT_EQ(d.Zoom, 50); }},
        {"paint box without size", [](TLines& l) { l[4] = "0"; l[5] = "-3"; }, true, true,
         [](const TFormData& d) {
             EXPECT_EQ(d.PaintWidth, 1);
             EXPECT_EQ(d.PaintHeight, 1);
         }},
        {"40 lines keep the scale", [](TLines& l) { l.pop_back(); }, true, true,
         [](const TFormData& d) { EXPECT_EQ(d.DrawingScale, 1000); }},
        {"older drawing ignores lines 37-41", [](TLines&) {}, false, true,
         [](const TFormData& d) {
             EXPECT_EQ(d.CurFontName, "ＭＳ 明朝");
             EXPECT_EQ(d.CurPenWidth, 1);
             EXPECT_EQ(d.DrawingScale, 1000);
             EXPECT_EQ(d.DimensionTextSize, 300);
         }},
        {"36 lines of an older drawing are enough", [](TLines& l) { l.resize(36); }, false, true,
         [](const TFormData& d) { EXPECT_EQ(d.NameTextSize, 14); }},
        {"36 lines are too few for Ver4.00", [](TLines& l) { l.resize(36); }, true, false, nullptr},
        {"a word where the width stands stops the reading", [](TLines& l) { l[2] = "広い"; }, true, false,
         [](const TFormData& d) {
             EXPECT_EQ(d.FormLeft, 1300);  // read before the failing line
             EXPECT_EQ(d.FormHeight, 600);  // never reached
         }},
        {"colour beyond 64 bits", [](TLines& l) { l[18] = "99999999999999999999"; }, true, false, nullptr},
        {"grid width missing", [](TLines& l) { l[30] = ""; }, true, false, nullptr},
        {"name size not a number", [](TLines& l) { l[33] = "大"; }, true, false, nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLines lines = FormDataToLines(base);
        c.Edit(lines);
        TFormData d;  // the values before reading: the defaults
        EXPECT_EQ(ReadFormDataLines(lines, 0, c.Version4, d), c.Ok);
        if (c.Check) c.Check(d);
    }
}

TEST(ViewSettings, WindowIsPulledBackOntoTheScreen) {
    struct TCase {
        std::int32_t Top, Left, WantTop, WantLeft;
    };
    const TScreenRect screen{0, 0, 1920, 1080};
    const TCase cases[] = {
        {100, 200, 100, 200},    // on screen
        {1500, 200, 1080 - 300, 200},  // below every monitor: half its height above the bottom
        {100, 2500, 100, 1920 - 500},  // right of every monitor
        {-50, -10, 100, 100},    // above and left of the virtual screen
    };
    for (const TCase& c : cases) {
        std::int32_t top = c.Top, left = c.Left;
        ClampWindowToScreen(top, left, 1000, 600, screen);
        EXPECT_EQ(top, c.WantTop) << c.Top << "," << c.Left;
        EXPECT_EQ(left, c.WantLeft) << c.Top << "," << c.Left;
    }
    std::int32_t top = -500, left = -1500;  // a second monitor on the left
    ClampWindowToScreen(top, left, 1000, 600, TScreenRect{-1280, 0, 3200, 1080});
    EXPECT_EQ(top, 100);
    EXPECT_EQ(left, -1180);
}

TEST(ViewSettings, DisplaySettingsFileCarriesTheStateAndTheFormView) {
    testing::TTempFolder dir;
    TScriptedUi ui;
    TDrawingState s(ui);
    testing::PointAtDrawing(s, dir.Folder(), "寺", "墓地", "東");
    s.View = Sample();
    s.Zoom = 4;
    s.CurPenColor = 0x00112233;
    s.DrawingScale = 750;
    s.BackgroundPicturePath = "C:\\寺\\背景.jpg";
    ASSERT_TRUE(SaveDisplaySettings(s, "東"));
    EXPECT_TRUE(FileExists(dir.File("寺墓地東_disp.txt")));

    TScriptedUi ui2;
    TDrawingState t(ui2);
    testing::PointAtDrawing(t, s.ExeFolder, s.TempleName, s.PlotKindWord, "東");
    ASSERT_TRUE(LoadDisplaySettings(t, true));
    EXPECT_EQ(t.LoadedZoom, 4);
    EXPECT_EQ(t.CurPenColor, 0x00112233);
    EXPECT_EQ(t.DrawingScale, 750);
    EXPECT_EQ(t.LoadedFormLeft, 1300);
    EXPECT_EQ(t.BackgroundPicturePath, "C:\\寺\\背景.jpg");
    EXPECT_EQ(t.View.GridColWidths[3], 40);
    EXPECT_EQ(t.ClipNames, 1);
    EXPECT_EQ(t.RotateNames, 0);
    EXPECT_EQ(t.View, CollectFormData(s));

    t.CurrentDrawingName = "西";  // no such file
    EXPECT_FALSE(LoadDisplaySettings(t, true));
}

}  // namespace
}  // namespace tarvek
