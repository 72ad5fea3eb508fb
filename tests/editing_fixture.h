// The map as the main form shows it, without a window: the real painter paints the
// state onto an image, picking reads that image back, the tools draw their not-xor
// previews on it, and a repaint asked for during an event happens after it, as the
// event loop would do it. Scripts of mouse events drive the tools through it.
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "editing/handles.h"
#include "editing/move_transform.h"
#include "editing/picking.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_search.h"
#include "platform/canvas.h"
#include "view/painter.h"
#include "test_support.h"

namespace tarvek::testing {

class TPaintedMap : public TEditorView, public TToolView, public TLedgerView, public THouseholdView,
                    public TPlotSearchView {
public:
    TPaintedMap() : Canvas(800, 600) { SetPaintBoxSize(8000, 6000); }

    TDrawingState* S = nullptr;
    TImageCanvas Canvas;
    int Page = 3;
    int Filter = 0;
    bool Dirty = true;
    bool HasCanvas = true;
    bool RealTime = true;
    int Count = -1;
    bool TimerOn = false;
    int TimerInterval = 0;

    // The map painted anew, then what the tools keep on it drawn back.
    void Paint() {
        Canvas.Image().fill(Qt::white);
        TPaintInputs in;
        in.ActivePage = Page;
        in.PaintBoxWidth = PaintBoxWidth();
        in.PaintBoxHeight = PaintBoxHeight();
        DrawDrawing(*S, Canvas, in);
        Dirty = false;
        ToolMapRepainted(*S);
    }
    QImage Image() const { return Canvas.Image().copy(); }

    // TEditorView
    int ActivePageIndex() const override { return Page; }
    void RepaintMap() override { Dirty = true; }
    void ShowCurrentHit() override { ShowCurrentSearchHit(*S, *this); }
    void SelectionCountChanged(int count) override { Count = count; }
    void MarkUntilRepaint(const std::vector<TMapMark>& marks) override { Marks.push_back(marks); }
    // The shapes each operation asked to show over the map until its next paint.
    std::vector<std::vector<TMapMark>> Marks;
    // TToolView
    TCanvas* PreviewCanvas() override { return HasCanvas ? &Canvas : nullptr; }
    TColor MapPixel(int x, int y) const override { return Canvas.GetPixel(x, y); }
    int SelectionFilter() const override { return Filter; }
    void ShowCoordinates(const std::string& text) override { Coordinates = text; }
    bool MirrorCopy() const override { return Mirror; }
    std::string DrawingNameText() const override { return DrawingName; }
    std::string Coordinates;
    bool Mirror = false;
    std::string DrawingName;
    void SetBlinkTimer(bool running, int intervalMs) override {
        TimerOn = running;
        TimerInterval = intervalMs;
    }
    // TLedgerView
    bool RealTimeReflection() const override { return RealTime; }
    void SetRealTimeReflection(bool checked) override { RealTime = checked; }
    // THouseholdView
    THouseholdGrid VisibleHouseholdGrid() const override { return THouseholdGrid::Table; }
    int CurrentHouseholdRow() const override { return 1; }
    void SetCurrentHouseholdRow(int) override {}
    THouseholdRow QueryRow() const override { return {}; }
    void ShowResultGrid(const std::vector<THouseholdRow>&) override {}
    void LeaveHouseholdSearchMode() override {}
    // TPlotSearchView
    THouseholdView& FieldsView() override { return *this; }
    TLedgerView& LedgerLink() override { return *this; }
    std::array<std::string, 9> SearchCriteria() const override { return {}; }
    std::string RemarksText() const override { return {}; }
    void SetRemarksText(const std::string&) override {}
    std::string SearchButtonCaption() const override { return SearchIdleCaption; }
    void SetSearchButtonCaption(const std::string&) override {}
    void SetSearchCount(int) override {}
    void FocusSearchInput() override {}
    bool CoOwnerListVisible() const override { return false; }
    void ShowCoOwnerList(const std::vector<TCoOwnerRow>&, int) override {}
    void HideCoOwnerList() override {}
    void SetCoOwnerRow(int) override {}
};

enum TEventKind { Down, Move, Up, RightDown };
struct TEvent {
    TEventKind Kind;
    int X = 0, Y = 0;
    unsigned Shift = 0;
};

// A click that lands where the pointer rests: the move onto the point, press, release.
inline std::vector<TEvent> ClickAt(int x, int y, unsigned shift = 0) {
    return {{Move, x, y, shift}, {Down, x, y, shift}, {Up, x, y, shift}};
}
// A drag: onto the start, press, two moves with the button held, release.
inline std::vector<TEvent> DragFromTo(int x1, int y1, int x2, int y2, unsigned releaseShift = 0) {
    return {{Move, x1, y1}, {Down, x1, y1}, {Move, (x1 + x2) / 2, (y1 + y2) / 2}, {Move, x2, y2},
            {Up, x2, y2, releaseShift}};
}

class EditingFixture : public ::testing::Test {
public:
    EditingFixture() : S(Ui, &Map) {
        Map.S = &S;
        S.Tools.View = &Map;
        S.Tools.MeshSnap = 0;
        S.EditTabActive = 1;
        S.Zoom = 10;
        S.PlotKindWord = "墓地";
        S.ExeFolder = Dir.Folder();
        S.CurrentDrawingName = "図面1";
        S.HistoryRecording = 1;
        Ui.ReturnPath = Dir.File("戻し.txt");
        TToolOperations& ops = S.Tools.Ops;
        ops.SelectAtPoint = [this](unsigned shift) { return Picked = SelectAtPoint(S, Map, shift); };
        ops.SelectInRectangle = [this](unsigned shift) { SelectInRectangle(S, Map, shift); };
        ops.SelectAllFigures = [this] { SelectAllFigures(S, Map); };
        ops.DrawPointMarkers = [this](TCanvas& c) { DrawPointMarkers(S, c); };
        ops.HitTestPointMarkers = [this] { HitTestPointMarkers(S); };
        ops.DrawDragPreview = [this](TCanvas& c, int fx, int fy, int tx, int ty, std::int32_t h) {
            DrawDragPreview(S, c, fx, fy, tx, ty, h);
        };
        ops.CommitMoveOrTransform = [this](unsigned shift, int x, int y) { CommitMoveOrTransform(S, Map, shift, x, y); };
    }

    // Every event as the form passes it on: the tools, the handle under the pointer, and
    // the repaint the event asked for.
    void Play(const std::vector<TEvent>& script) {
        if (Map.Dirty) Map.Paint();
        for (const TEvent& e : script) {
            switch (e.Kind) {
            case Down: ToolMouseDown(S, TToolButton::Left, e.Shift, e.X, e.Y); break;
            case Move: ToolMouseMove(S, e.Shift, S.Dragging != 0, e.X, e.Y); break;
            case Up: ToolMouseUp(S, TToolButton::Left, e.Shift, e.X, e.Y); break;
            case RightDown: ToolMouseDown(S, TToolButton::Right, e.Shift, e.X, e.Y); break;
            }
            FindHandleUnderCursor(S, S.HoverPos.x, S.HoverPos.y);
            if (Map.Dirty) Map.Paint();
        }
    }
    void CtrlA() {
        unsigned short key = 'A';
        ToolKeyDown(S, key, ToolCtrlKey);
        FindHandleUnderCursor(S, S.HoverPos.x, S.HoverPos.y);
        if (Map.Dirty) Map.Paint();
    }

    // Figures, in drawing units (pixels x 100 at zoom 10).
    TDateRec& Add(std::int32_t kind, double x1, double y1, double x2, double y2) {
        TDateRec& r = S.Fig(++S.FigureCount);
        r = TDateRec{};
        ApplyNewFigureDefaults(S, r);
        r.Kind = kind;
        r.PenColor = 0x000000;
        r.BrushStyle = 1;  // no fill
        r.X1 = r.X4 = x1, r.Y1 = r.Y2 = y1, r.X2 = r.X3 = x2, r.Y3 = r.Y4 = y2;
        UpdateFigureBounds(S, S.FigureCount);
        Map.Dirty = true;
        return r;
    }
    TDateRec& AddLine(double x1, double y1, double x2, double y2, std::int32_t kind = fkLine) {
        TDateRec& r = Add(kind, x1, y1, x2, y2);
        r.X1 = r.X2 = x1, r.Y1 = r.Y2 = y1, r.X3 = r.X4 = x2, r.Y3 = r.Y4 = y2;
        UpdateFigureBounds(S, S.FigureCount);
        return r;
    }
    TDateRec& AddText(double x1, double y1, double x2, double y2, const std::string& text) {
        TDateRec& r = Add(fkText, x1, y1, x2, y2);
        r.Text = text;
        r.Aux1 = 1.0;
        return r;
    }
    TDateRec& AddPlot(double x1, double y1, double x2, double y2, std::int32_t id, const std::string& household = "0") {
        TDateRec& r = Add(fkPlot, x1, y1, x2, y2);
        r.IsPlot = 1;
        r.PlotId = id;
        S.MaxPlotId = std::max(S.MaxPlotId, id);
        r.BrushStyle = 0;
        r.BrushColor = 7321527;
        r.Text = household;
        if (household != "0") {
            r.HouseName = "山田家";
            r.HeadName = "山田　太郎";
            r.Phone = "0123";
            r.PlotNumber = "A-01";
        }
        return r;
    }
    std::int32_t Group(std::initializer_list<std::int32_t> members) {
        const std::int32_t g = S.FigureCount + 1;
        double x1 = 1e18, y1 = 1e18, x2 = -1e18, y2 = -1e18;
        for (const std::int32_t m : members) {
            x1 = std::min(x1, S.Fig(m).BoxX1), y1 = std::min(y1, S.Fig(m).BoxY1);
            x2 = std::max(x2, S.Fig(m).BoxX2), y2 = std::max(y2, S.Fig(m).BoxY2);
        }
        Add(fkGroup, x1, y1, x2, y2);
        for (const std::int32_t m : members) S.Fig(m).OwnerIndex = g;
        return g;
    }
    // Selects the records as a pick would, with the list and frame.
    void SelectOnly(std::initializer_list<std::int32_t> indices) {
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i).Selected = 0;
        for (const std::int32_t i : indices) S.Fig(i).Selected = 1;
        RebuildSelectionList(S, true);
        ClassifySelectionKinds(S);
        Map.Dirty = true;
    }

    std::vector<std::int32_t> Selected() const {
        std::vector<std::int32_t> v;
        for (std::int32_t i = 1; i <= S.FigureCount; ++i)
            if (S.Fig(i).Selected) v.push_back(i);
        return v;
    }
    const Trireki& Step(int fromTop = 0) const { return S.History[static_cast<std::size_t>(S.HistoryCount - fromTop)]; }
    static THistoryData Numbers(std::initializer_list<std::int64_t> values) {
        THistoryData d;
        for (const std::int64_t v : values) d.AddNumber(v);
        return d;
    }
    TColor Pixel(int x, int y) const { return Map.Canvas.GetPixel(x, y); }

    TTempFolder Dir;
    TTakingLedgerUi Ui;
    TPaintedMap Map;
    TDrawingState S;
    std::int32_t Picked = 0;
};

}  // namespace tarvek::testing
