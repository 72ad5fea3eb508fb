// A small drawing without a window for the plot operations: plots placed by their top
// left corner, the selection set by hand, the lists the ledger would get and the marks
// the map would show.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "document/drawing_state.h"
#include "households/ledger_exchange.h"
#include "test_support.h"

namespace tarvek::testing {

// The window as the operations see it: a page in front, repaints and marks counted.
struct TMarkingView : TEditorView {
    int Page = 1;
    int Repaints = 0;
    int Focused = 0;
    std::vector<std::vector<TMapMark>> Marks;
    int ActivePageIndex() const override { return Page; }
    void RepaintMap() override { ++Repaints; }
    void FocusSink() override { ++Focused; }
    void MarkUntilRepaint(const std::vector<TMapMark>& marks) override { Marks.push_back(marks); }
};

class PlotOpsTest : public ::testing::Test {
protected:
    PlotOpsTest() : S(Ui, &View) {
        S.PlotKindWord = "墓地";
        S.CurrentDrawingName = "図面1";
        S.HouseholdOps.SendChanges = [this](const TLines& list, bool) { Sent.push_back(list); };
    }

    // A 1000 x 1000 plot with its top left corner at (x, y); household "0" is none.
    std::int32_t AddPlot(double x, double y, const std::string& household = "0", const std::string& number = "北上段001",
                         std::int32_t plotId = 0) {
        const std::int32_t i = AddFigure(fkPlot, x, y);
        TDateRec& r = S.Fig(i);
        r.IsPlot = 1;
        r.PlotId = plotId > 0 ? plotId : ++S.MaxPlotId;
        if (r.PlotId > S.MaxPlotId) S.MaxPlotId = r.PlotId;
        r.PlotNumber = number;
        SetHousehold(i, household);
        return i;
    }

    // A 1000 x 1000 polygon plot at (x, y) as turning a polygon into a plot leaves it: its
    // four edges before it, plots under its key; returns the polygon.
    std::int32_t AddPolygonPlot(double x, double y, const std::string& household = "0",
                                const std::string& number = "北上段001") {
        return AddPolygonPlotThrough({{x, y}, {x + 1000, y}, {x + 1000, y + 1000}, {x, y + 1000}},
                                     household, number);
    }

    // The same through any corners, the first being the polygon's own point.
    std::int32_t AddPolygonPlotThrough(const std::vector<std::pair<double, double>>& corners,
                                       const std::string& household, const std::string& number) {
        const std::size_t n = corners.size();
        std::vector<std::int32_t> edges;
        for (std::size_t k = 0; k < n; ++k) {
            const std::int32_t e = AddFigure(fkPolygonEdge, 0, 0);
            TDateRec& r = S.Fig(e);
            r.X1 = r.X2 = corners[k].first, r.Y1 = r.Y2 = corners[k].second;
            r.X3 = r.X4 = corners[(k + 1) % n].first, r.Y3 = r.Y4 = corners[(k + 1) % n].second;
            r.IsPlot = 1;
            r.PlotNumber = number;
            SetHousehold(e, household);
            edges.push_back(e);
        }
        const auto [x, y] = corners.front();
        const std::int32_t poly = AddPlot(x, y, household, number);
        S.Fig(poly).Kind = fkPolygon;
        S.Fig(poly).Aux1 = x, S.Fig(poly).Aux2 = y;
        for (const std::int32_t e : edges) {
            S.Fig(e).OwnerIndex = poly;
            S.Fig(e).PlotId = S.Fig(poly).PlotId;
        }
        return poly;
    }

    std::int32_t AddFigure(std::int32_t kind, double x, double y, double w = 1000, double h = 1000) {
        const std::int32_t i = ++S.FigureCount;
        TDateRec& r = S.Fig(i);
        r = TDateRec{};
        r.Kind = kind;
        r.X1 = x, r.Y1 = y, r.X2 = x + w, r.Y2 = y, r.X3 = x + w, r.Y3 = y + h, r.X4 = x, r.Y4 = y + h;
        r.BoxX1 = x, r.BoxY1 = y, r.BoxX2 = x + w, r.BoxY2 = y + h;
        r.Text = "0";
        r.PlotNumber = "000000";
        r.HouseName = "空";
        r.DrawingName = "図面1";
        return i;
    }

    void SetHousehold(std::int32_t i, const std::string& household) { testing::SetTestHousehold(S.Fig(i), household); }

    // Makes the records one share set, the first one shown.
    void MakeSet(std::initializer_list<std::int32_t> copies, std::int32_t setId) {
        bool first = true;
        for (const std::int32_t i : copies) {
            S.Fig(i).ShareSetId = setId;
            S.Fig(i).SetAside = first ? 0 : 1;
            first = false;
        }
    }

    // Selects exactly these records, listed in this order, the first one current.
    void Select(std::initializer_list<std::int32_t> indices) { Select(std::vector<std::int32_t>(indices)); }
    void Select(const std::vector<std::int32_t>& indices) {
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) S.Fig(i).Selected = 0;
        S.SelectedList = {0};
        for (const std::int32_t i : indices) {
            S.Fig(i).Selected = 1;
            S.SelectedList.push_back(i);
        }
        S.SelectedCount = static_cast<std::int32_t>(indices.size());
        S.SelectedCursor = indices.empty() ? 0 : 1;
        S.CurrentHitIndex = indices.empty() ? -1 : indices.front();
    }

    std::vector<std::int32_t> Listed() const {
        return {S.SelectedList.begin() + 1, S.SelectedList.begin() + 1 + S.SelectedCount};
    }
    const Trireki& Step(std::int32_t below = 0) const {
        return S.History[static_cast<std::size_t>(S.HistoryCount - below)];
    }
    std::string Line(std::int32_t i) const { return PlotExchangeLine(S, i); }
    static TLines List(const std::string& verb, const std::vector<std::string>& lines) {
        TLines list{ChangeRecordHeader(verb)};
        list.insert(list.end(), lines.begin(), lines.end());
        return list;
    }

    TScriptedUi Ui;
    TMarkingView View;
    TDrawingState S;
    std::vector<TLines> Sent;
};

}  // namespace tarvek::testing
