// The tablet edition's logic without a window: the display scaling and its undoing at
// saving, the view lines it carries through, no history, and panning.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "document/drawing_file.h"
#include "document/drawing_state.h"
#include "document/history.h"
#include "document/view_settings.h"
#include "platform/numbers.h"
#include "tablet/display_scale.h"
#include "tablet/tablet_buttons.h"
#include "tablet/tablet_edition.h"
#include "tablet/tablet_window.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::TTempFolder;

TEST(TabletScale, TheFactorIsTheRatioInTenthsAndNeverCollapses) {
    struct TCase {
        std::int32_t Base, Kept;
        double Factor;
    };
    const TCase cases[] = {
        {1350, 1400, 1.0}, {980, 1000, 1.0}, {1250, 1000, 1.2},  {750, 1000, 0.8},
        {500, 1000, 0.5},  {1350, 27280, 0.1}, {1350, 0, 1.0}, {1350, -5, 1.0},
    };
    for (const TCase& c : cases)
        EXPECT_DOUBLE_EQ(DisplayScaleFactor(c.Base, c.Kept), c.Factor) << c.Base << " / " << c.Kept;
}

// A drawing with every kind of figure, a text, owner links and values that are not
// whole numbers, each as a drawing file holds it (15 significant digits).
void AddFixtureFigures(TDrawingState& s) {
    const auto asLoaded = [](TDateRec& r) {
        for (double* v : {&r.X1, &r.Y1, &r.X2, &r.Y2, &r.X3, &r.Y3, &r.X4, &r.Y4, &r.BoxX1, &r.BoxY1, &r.BoxX2,
                          &r.BoxY2, &r.Aux1, &r.Aux2, &r.Aux3, &r.Aux4})
            *v = *StrToFloat(FloatToStr(*v));
    };
    const auto add = [&s, &asLoaded](std::int32_t kind, double x, double y, double w, double h) -> TDateRec& {
        TDateRec& r = s.Fig(++s.FigureCount);
        r.Kind = kind;
        r.X1 = x, r.Y1 = y, r.X2 = x + w, r.Y2 = y, r.X3 = x + w, r.Y3 = y + h, r.X4 = x, r.Y4 = y + h;
        r.BoxX1 = x, r.BoxY1 = y, r.BoxX2 = x + w, r.BoxY2 = y + h;
        r.Aux1 = x + 1.5, r.Aux2 = y + 2.25, r.Aux3 = x + w / 3, r.Aux4 = y + h / 7;
        r.Text = "0";
        r.PenWidth = 1;
        r.BrushStyle = 1;
        r.FontName = "ＭＳ 明朝";
        asLoaded(r);
        return r;
    };
    add(fkLine, 1000, 1000, 2345.5, 0);
    add(fkCurve, 333.3333, 777.77, 1000.1, 2000.2);
    add(fkEllipse, 12345.678, 9876.54321, 1111.111, 2222.222);
    add(fkDimension, 0, 0, 10000, 0);
    add(fkLeader, 5000, 6000, -1234.5, 4321.5);
    TDateRec& text = add(fkText, 4000, 4000, 300, 40);
    text.Text = "本堂";
    text.Aux1 = 1;  // its writing direction, never scaled
    text.Aux2 = 2;
    add(fkRectangle, 20000.5, 100.25, 3000.75, 4000.125);
    TDateRec& plot = add(fkPlot, 30000, 30000, 4000.5, 3000.25);
    plot.IsPlot = 1;
    plot.PlotId = 7;
    plot.Text = "000123";
    add(fkPolygonEdge, 0, 5000, 1000, 0).OwnerIndex = 11;
    add(fkPolygonEdge, 1000, 5000, 0, 1000).OwnerIndex = 11;
    add(fkPolygon, 0, 5000, 1000, 1000);
    add(fkClosedCurve, 7000, 7000, 500.5, 500.5);
    add(fkCurve, 7000, 7000, 250, 250).OwnerIndex = 12;
    add(fkOpenCurve, 8000, 8000, 100, 100);
    add(fkLine, 100, 100, 200, 200).OwnerIndex = 16;
    add(fkGroup, 100, 100, 200, 200);
    add(fkRectangle, 1, 2, 3, 4).Deleted = 1;
}

TLines FigureLines(const TLines& file) {
    const auto end = std::find(file.begin(), file.end(), std::string(EndOfDataLine));
    return TLines(file.begin(), end);
}

TLines Saved(TDrawingState& s) {
    EXPECT_TRUE(SaveDrawingFile(s, "図面1").File);
    TLines lines;
    EXPECT_TRUE(ReadTextLines(DrawingDataFileName(s, "図面1"), lines));
    return lines;
}

TEST(TabletScale, TheFileGetsTheStoredCoordinatesAsTheFullEditorWritesThem) {
    TTempFolder proDir, tabletDir;
    TScriptedUi ui;
    TDrawingState pro(ui), tablet(ui);
    tablet.Edition = &TabletEdition();
    testing::PointAtDrawing(pro, proDir.Folder(), "寺", "厨子", "図面1");
    testing::PointAtDrawing(tablet, tabletDir.Folder(), "寺", "厨子", "図面1");
    AddFixtureFigures(pro);
    AddFixtureFigures(tablet);

    tablet.ViewBaseWidth = 500;
    tablet.ViewBaseHeight = 800;
    tablet.Tablet.KeptViewSettings[kvPaintWidth] = 1000;
    tablet.Tablet.KeptViewSettings[kvPaintHeight] = 1000;
    ApplyDisplayScale(tablet);
    EXPECT_DOUBLE_EQ(tablet.Tablet.DisplayScaleX, 0.5);
    EXPECT_DOUBLE_EQ(tablet.Tablet.DisplayScaleY, 0.8);
    EXPECT_DOUBLE_EQ(tablet.Fig(1).X1, 500);
    EXPECT_DOUBLE_EQ(tablet.Fig(1).Y3, 800);
    EXPECT_DOUBLE_EQ(tablet.Fig(1).Aux3, pro.Fig(1).Aux3 * 0.5);
    EXPECT_DOUBLE_EQ(tablet.Fig(6).Aux1, 1);  // a text keeps its direction
    EXPECT_DOUBLE_EQ(tablet.Fig(6).Aux2, 2);
    EXPECT_DOUBLE_EQ(tablet.Fig(17).X2, 2);   // a deleted figure is scaled too

    const TLines proFile = Saved(pro);
    const TLines tabletFile = Saved(tablet);
    EXPECT_EQ(FigureLines(tabletFile), FigureLines(proFile));
    EXPECT_EQ(FigureLines(tabletFile).size(), 1u + 16 * 25);  // the deleted figure is gone
    EXPECT_EQ(tablet.FigureCount, 16);
    EXPECT_EQ(tablet.Fig(9).OwnerIndex, 11);
    EXPECT_DOUBLE_EQ(tablet.Fig(1).X1, 1000);
    // Nothing is divided twice.
    const std::string bytes = testing::ReadBytes(DrawingDataFileName(tablet, "図面1"));
    Saved(tablet);
    EXPECT_EQ(testing::ReadBytes(DrawingDataFileName(tablet, "図面1")), bytes);
    EXPECT_EQ(tablet.HistoryCount, 0);
}

TEST(TabletScale, AStoredValueComesBackAsItIsWrittenForEveryFactor) {
    TScriptedUi ui;
    TDrawingState s(ui);
    s.Edition = &TabletEdition();
    std::uint64_t seed = 88172645463325252ull;
    const auto next = [&seed] {
        seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
        return seed;
    };
    for (int round = 0; round < 2000; ++round) {
        // Values as a file holds them: up to 15 significant digits, of any size a drawing has.
        const double raw = static_cast<double>(next() % 1000000000000000ull) / std::pow(10.0, next() % 12);
        const std::string written = FloatToStr(raw);
        const double stored = *StrToFloat(written);
        for (int tenths = 1; tenths <= 30; ++tenths) {
            s.FigureCount = 1;
            s.Fig(1) = TDateRec{};
            s.Fig(1).Kind = fkLine;
            s.Fig(1).X1 = stored;
            s.Fig(1).Aux4 = -stored;
            s.Tablet.DisplayScaleX = s.Tablet.DisplayScaleY = tenths / 10.0;
            ScaleFigure(s.Fig(1), tenths / 10.0, tenths / 10.0);
            s.Tablet.FiguresScaled = true;
            RescaleFigures(s);
            ASSERT_EQ(FloatToStr(s.Fig(1).X1), written) << tenths;
            ASSERT_EQ(FloatToStr(s.Fig(1).Aux4), "-" + written) << tenths;
        }
    }
}

TEST(TabletViewLines, TheNineLinesAreWrittenAsTheyWereRead) {
    TLines section = FormDataToLines(TFormData{});
    const std::vector<std::string> asRead{"-8", "-8", "1296", "1000", "0", "-3", "123", "456", "0"};
    std::copy(asRead.begin(), asRead.end(), section.begin());
    TFormData d;
    std::array<std::int32_t, 9> kept{};
    ASSERT_TRUE(ReadFormDataLines(section, 0, true, d, &kept));
    EXPECT_EQ(kept, (std::array<std::int32_t, 9>{-8, -8, 1296, 1000, 0, -3, 123, 456, 0}));
    // The view itself is pulled into range.
    EXPECT_EQ(d.Zoom, 1);
    EXPECT_EQ(d.PaintWidth, 1);

    TScriptedUi ui;
    TDrawingState pro(ui), tablet(ui);
    tablet.Edition = &TabletEdition();
    for (TDrawingState* s : {&pro, &tablet}) {
        ApplyFormData(*s, d);
        s->Tablet.KeptViewSettings = kept;
        s->Zoom = 20;
    }
    TLines written = FormDataToLines(CollectFormData(tablet));
    EXPECT_EQ(TLines(written.begin(), written.begin() + 9), asRead);
    EXPECT_EQ(TLines(written.begin() + 9, written.end()), TLines(section.begin() + 9, section.end()));
    written = FormDataToLines(CollectFormData(pro));
    EXPECT_EQ(written[8], "20");
}

TEST(TabletHistory, NothingIsRecordedAndTheStepHandedBackIsScratch) {
    TScriptedUi ui;
    TDrawingState s(ui);
    s.Edition = &TabletEdition();
    s.SetHelpLine("");
    for (int k = 0; k < 600; ++k) PushHistory(s, "選択").Data.AddNumber(k);
    EXPECT_EQ(s.HistoryCount, 1);
    EXPECT_EQ(s.History.size(), 501u);
    for (const Trireki& step : s.History) EXPECT_TRUE(step.Label.empty() || step.Label == HistoryStopLabel);
    EXPECT_EQ(s.Label3, "");
}

// A scroll box of a given size over a paint box of 3000 x 2000.
class TSizedView : public TEditorView {
public:
    TSizedView(int w, int h) : W(w), H(h) {
        PaintWidth = 3000;
        PaintHeight = 2000;
    }
    int ScrollBoxWidth() const override { return W; }
    int ScrollBoxHeight() const override { return H; }
    void RepaintMap() override { ++Repaints; }
    int W, H, Repaints = 0;
};

TEST(TabletPan, ATenthOfTheViewHalvesToEvenAndStopsAtTheEnds) {
    struct TCase {
        int Extent;
        TPanDirection Direction;
        int Step;
    };
    const TCase cases[] = {
        {685, TPanDirection::Right, 68}, {685, TPanDirection::Left, -68}, {314, TPanDirection::Down, 31},
        {314, TPanDirection::Up, -31},   {675, TPanDirection::Right, 68}, {665, TPanDirection::Right, 66},
    };
    for (const TCase& c : cases) EXPECT_EQ(PanStep(c.Direction, c.Extent), c.Step) << c.Extent;

    TScriptedUi ui;
    TSizedView view(685, 314);
    TDrawingState s(ui, &view);
    s.Edition = &TabletEdition();
    view.SetScrollPos(1000, 1000);
    PanMap(s, TPanDirection::Right);
    PanMap(s, TPanDirection::Down);
    EXPECT_EQ(view.HorzScrollPos(), 1068);
    EXPECT_EQ(view.VertScrollPos(), 1031);
    // At the end of the range the view stays there, and is still repainted.
    view.SetScrollPos(0, 2000 - 314);
    PanMap(s, TPanDirection::Left);
    PanMap(s, TPanDirection::Down);
    EXPECT_EQ(view.HorzScrollPos(), 0);
    EXPECT_EQ(view.VertScrollPos(), 2000 - 314);
    EXPECT_EQ(view.Repaints, 4);
    // A rectangle being dragged out is drawn anew rather than erased at its next move.
    s.Dragging = 1;
    s.Zoom = 2;
    PanMap(s, TPanDirection::Up);
    EXPECT_EQ(s.PreviewStale, 1);
}

TEST(TabletWindow, TheMaximisedPlaceLessTwiceTheStatusBarWithinTheAvailableArea) {
    struct TCase {
        TScreenRect Screen, Available;
        TScreenRect Window;
    };
    const TCase cases[] = {
        {{0, 0, 1280, 900}, {0, 0, 1280, 900}, {0, 0, 1280, 876}},
        {{0, 0, 1280, 900}, {0, 0, 1280, 860}, {0, 0, 1280, 860}},      // a task bar of 40 below
        {{0, 0, 1920, 1080}, {64, 30, 1856, 1050}, {64, 30, 1856, 1050}},
        {{0, 0, 1024, 768}, {0, 0, 1024, 768}, {0, 0, 1024, 744}},
    };
    for (const TCase& c : cases) {
        const TScreenRect w = TabletWindowBounds(c.Screen, c.Available, 12);
        EXPECT_EQ(std::tie(w.Left, w.Top, w.Width, w.Height),
                  std::tie(c.Window.Left, c.Window.Top, c.Window.Width, c.Window.Height));
    }
}

TEST(TabletLedger, TheThreeWindowsAreAskedForInOrder) {
    TScriptedUi ui;
    BringLedgerToFront(ui);
    EXPECT_EQ(ui.RaisedWindows, (std::vector<std::string>{"檀家管理「ゼルボ」タブレット - [檀家台帳]",
                                                          "檀家管理「ゼルボ」タブレット - [過去帳台帳]",
                                                          "檀家管理「ゼルボ」タブレット - [予約台帳]"}));
    EXPECT_TRUE(ui.Shown.empty());
}

}  // namespace
}  // namespace tarvek
