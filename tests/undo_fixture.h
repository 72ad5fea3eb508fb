// A small drawing on the painted map for the undo: plots alone and in a share set, a
// polygon plot, a text, a leader, a dimension, a line, a group and a rectangle; the ledger
// takes every list that arrives; a window that records what the undo set on it.
#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "arrange_fixture.h"
#include "editing_test_support.h"
#include "editing/plot_blocks.h"
#include "editing/undo.h"
#include "platform/numbers.h"
#include "view/idle.h"

namespace tarvek::testing {

// The controls as the undo leaves them.
struct TRecordingUndoView : TUndoView {
    TPaintedMap* Map = nullptr;
    int Working = 0;
    int Page = -1, MeshItem = -1, SnapItem = -1;
    bool RotateNames = false, ClipNames = false, DrawingControls = false;
    std::string Mesh = "20";
    int FormWidth = 0, FormHeight = 0;
    std::string Font = "-";
    int PenStyle = -9, PenWidth = -9, BrushStyle = -9;
    bool PenStyleEnabled = true;
    int NameSize = -9, DimensionSize = -9, Filter = -9;
    // What the help line said while the undo worked.
    std::string LineWhileWorking;
    std::function<void()> WhileWorking;
    TDrawingState* S = nullptr;

    void ShowWorking() override {
        ++Working;
        if (S) LineWhileWorking = S->Label3;
        if (WhileWorking) WhileWorking();
    }
    void ShowPage(int page) override {
        Page = page;
        if (Map) Map->Page = page;
    }
    void ShowPageSettings(int meshItem, int snapItem, bool rotateNames, bool clipNames) override {
        MeshItem = meshItem, SnapItem = snapItem, RotateNames = rotateNames, ClipNames = clipNames;
    }
    std::string MeshText() const override { return Mesh; }
    void ShowDrawingPageControls(bool shown) override { DrawingControls = shown; }
    // A window that keeps sizes of at least TakenMinimum.
    int TakenMinimum = 0;
    std::pair<int, int> SetFormSize(int width, int height) override {
        FormWidth = width, FormHeight = height;
        return {std::max(width, TakenMinimum), std::max(height, TakenMinimum)};
    }
    void ShowFont(const std::string& name) override { Font = name; }
    void ShowPenStyle(int item) override { PenStyle = item; }
    void SetPenStyleEnabled(bool enabled) override { PenStyleEnabled = enabled; }
    void ShowPenWidth(int item) override { PenWidth = item; }
    void ShowBrushStyle(int item) override { BrushStyle = item; }
    void ShowNameTextSize(int position) override { NameSize = position; }
    void ShowDimensionTextSize(int position) override { DimensionSize = position; }
    void ShowSelectionFilter(int item) override { Filter = item; }
};

// The window the idle pass sees.
struct TIdleWindow : TIdleView {
    int Width = 800, Height = 600;
    THouseholdView* Fields = nullptr;
    int FormWidth() const override { return Width; }
    int FormHeight() const override { return Height; }
    THouseholdView& HoverFields() override { return *Fields; }
};

// Everything of a record but its selection mark, for comparing records.
inline std::string Described(const TDateRec& r) {
    std::ostringstream o;
    o.precision(17);
    o << "kind " << r.Kind << " pts " << r.X1 << ' ' << r.Y1 << ' ' << r.X2 << ' ' << r.Y2 << ' ' << r.X3 << ' '
      << r.Y3 << ' ' << r.X4 << ' ' << r.Y4 << " box " << r.BoxX1 << ' ' << r.BoxY1 << ' ' << r.BoxX2 << ' '
      << r.BoxY2 << " aux " << r.Aux1 << ' ' << r.Aux2 << ' ' << r.Aux3 << ' ' << r.Aux4 << " del "
      << int(r.Deleted) << " text '" << r.Text << "' drawing '" << r.DrawingName << "' no '" << r.PlotNumber
      << "' house '" << r.HouseName << "' head '" << r.HeadName << "' phone '" << r.Phone << "' district '"
      << r.DistrictName << "' addr '" << r.Address1 << "' '" << r.Address2 << "' remarks '" << r.PlotRemarks
      << "' id " << r.PlotId << " grade '" << r.Grade << "' source " << r.SourceIndex << " districtId "
      << r.DistrictId << " aside " << int(r.SetAside) << " set " << r.ShareSetId << " owner " << r.OwnerIndex
      << " pen " << r.PenColor << ' ' << r.PenWidth << ' ' << r.PenStyle << " brush " << r.BrushColor << ' '
      << r.BrushStyle << " plot " << int(r.IsPlot) << " font '" << r.FontName << "'";
    return o.str();
}

// What an undo must give back: the records, the counters and the settings steps touch.
struct TUndoSnapshot {
    std::vector<std::string> Records;
    std::int32_t FigureCount = 0, MaxPlotId = 0, HistoryCount = 0;
    std::vector<std::string> Settings;
    bool operator==(const TUndoSnapshot&) const = default;
};

inline void PrintTo(const TUndoSnapshot& s, std::ostream* os) {
    *os << "count " << s.FigureCount << " max id " << s.MaxPlotId << " history " << s.HistoryCount << "\n";
    for (std::size_t i = 0; i < s.Records.size(); ++i) *os << "  " << i + 1 << ": " << s.Records[i] << "\n";
    for (const std::string& v : s.Settings) *os << "  " << v << "\n";
}

class UndoFixture : public ArrangeFixture {
public:
    UndoFixture() {
        View.Map = &Map;
        View.S = &S;
        Idle.Fields = &Map;
        S.ViewBaseWidth = 764;
        S.ViewBaseHeight = 564;
        Map.SetPaintBoxSize(7640, 5640);
        S.MeshVisible = 1;
        S.PreviousTab = 3;
        S.RecordedFormSize = {800, 600};
        S.CurFontName = "ＭＳ 明朝";
        S.Tools.Ops.UndoLast = [this] { UndoLast(S, Map, View); };
        S.Tools.Ops.PlaceBlock = [this](int x, int y) { PlaceBlock(S, Map, x, y); };
        Build();
    }

    // 1 a plot alone; 2 and 3 one plot of two households (3 set aside); 4-6 the edges
    // of the polygon plot 7; 8 a text; 9 a red leader, 10 a blue dimension and 11 a line
    // that the path order puts between them; 12 and 13 lines of the group 14; 15 a
    // rectangle that is no plot.
    void Build() {
        AddPlot(10000, 10000, 14000, 13000, 1);
        Plot(1, "0", "北001");
        AddPlot(20000, 10000, 24000, 13000, 2);
        Plot(2, "000012", "北002(1)");
        AddPlot(20000, 10000, 24000, 13000, 3);
        Plot(3, "000034", "北002(2)");
        S.Fig(2).ShareSetId = S.Fig(3).ShareSetId = 2;
        S.Fig(3).SetAside = 1;
        const std::int32_t polygon = AddPolygon(30000, 10000, true, 4);
        for (std::int32_t i = polygon - 3; i <= polygon; ++i) Plot(i, "0", "南001");
        AddText(10000, 20000, 14000, 21000, "寺");
        AddLine(20000, 20000, 26000, 20000, fkLeader).PenColor = 0x0000FF;
        AddLine(20000, 26000, 26000, 25000, fkDimension).PenColor = 0xFF0000;
        AddLine(26000, 21000, 22000, 24000);
        AddLine(10000, 30000, 14000, 30000);
        AddLine(10000, 32000, 14000, 32000);
        Group({12, 13});
        Add(fkRectangle, 40000, 30000, 44000, 33000).BrushStyle = 0;
        S.MaxPlotId = 4;
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i).FontName = "古い字体";
    }
    // Plot fields as the ledger knows them: a household or none, a number, a grade.
    void Plot(std::int32_t i, const std::string& household, const std::string& number) {
        TDateRec& r = S.Fig(i);
        r.PlotNumber = number;
        r.Grade = "並";
        r.SourceIndex = 7;
        r.DrawingName = "図面1";
        testing::SetTestHousehold(r, household);
    }
    void Owns(std::int32_t i, const std::string& household) {
        const std::string number = S.Fig(i).PlotNumber;
        Plot(i, household, number);
    }

    TUndoSnapshot Snapshot() const {
        TUndoSnapshot n;
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) n.Records.push_back(Described(S.Fig(i)));
        n.FigureCount = S.FigureCount;
        n.MaxPlotId = S.MaxPlotId;
        n.HistoryCount = S.HistoryCount;
        const auto add = [&](const char* name, std::int64_t v) { n.Settings.push_back(name + (" " + IntToStr(v))); };
        add("pen colour", S.CurPenColor);
        add("pen width", S.CurPenWidth);
        add("pen style", S.CurPenStyle);
        add("brush colour", S.CurBrushColor);
        add("brush style", S.CurBrushStyle);
        n.Settings.push_back("font " + S.CurFontName);
        add("name size", S.NameTextSizeCopy);
        add("dimension size", S.DimensionTextSize);
        add("block width", S.BlockUnitWidth);
        add("block height", S.BlockUnitHeight);
        add("text size", S.Tools.TextSize);
        add("scale", S.DrawingScale);
        add("zoom", S.Zoom);
        add("zoom step", S.ZoomStep);
        add("paint width", Map.PaintBoxWidth());
        add("paint height", Map.PaintBoxHeight());
        add("scroll x", Map.HorzScrollPos());
        add("scroll y", Map.VertScrollPos());
        add("previous tab", S.PreviousTab);
        add("mesh visible", S.MeshVisible);
        add("mesh step", S.MeshStep);
        add("edit tab", S.EditTabActive);
        add("form width", S.RecordedFormSize.cx);
        add("form height", S.RecordedFormSize.cy);
        add("filter", S.Tools.PreviousSelectionFilter);
        add("nudge x", S.Tools.NudgeTotal.dx);
        add("nudge y", S.Tools.NudgeTotal.dy);
        return n;
    }

    void TakeBack() { UndoLast(S, Map, View); }
    const std::string& TopLabel() const { return S.History[static_cast<std::size_t>(S.HistoryCount)].Label; }
    std::vector<std::string> TopLabels(std::size_t n) const {
        std::vector<std::string> labels;
        for (std::int32_t h = S.HistoryCount; h >= 0 && labels.size() < n; --h)
            labels.push_back(S.History[static_cast<std::size_t>(h)].Label);
        return labels;
    }
    // The household row the assignment reads.
    static THouseholdRow Household(const std::string& id) {
        return {id, id + "新家", id + "新主", "西町", "南浜県", "緑台", "0999", "9", ""};
    }

    TRecordingUndoView View;
    TIdleWindow Idle;
};

}  // namespace tarvek::testing
