// The painted map of the editing tests with the clipboard, delete, rotation and snap
// guides bound as the form binds them, and the ledger taking every list that arrives.
#pragma once

#include <string>
#include <vector>

#include "editing/arrange.h"
#include "editing/clipboard.h"
#include "editing/rotation.h"
#include "editing_fixture.h"

namespace tarvek::testing {

class ArrangeFixture : public EditingFixture {
public:
    ArrangeFixture() {
        S.HouseholdOps.SendChanges = [this](const TLines& list, bool noFinalLineEnd) {
            S.Ledger.tuika = list;
            FlushChangesToLedger(S, Map, noFinalLineEnd ? TListEnd::None : TListEnd::CrLf);
        };
        TToolOperations& ops = S.Tools.Ops;
        ops.FindSnapGuides = [this](int x, int y) { FindSnapGuides(S, x, y); };
        ops.DrawRotationPreview = [this](TCanvas& c, double angle) { DrawRotationPreview(S, c, angle); };
        ops.CommitRotation = [this](unsigned shift) { CommitRotation(S, shift); };
        ops.CopyOrCutSelection = [this] { CopyOrCutSelection(S); };
        ops.PasteCopiedFigures = [this] { PasteCopiedFigures(S); };
        ops.PasteCutFigures = [this] { PasteCutFigures(S); };
        ops.DeleteSelectedFigures = [this] { DeleteSelectedFigures(S); };
    }

    // A key as the form passes it on (Windows key codes; 'C' with ToolCtrlKey is Ctrl+C).
    void Key(unsigned short key, unsigned shift = 0) {
        ToolKeyDown(S, key, shift);
        unsigned short up = key;
        ToolKeyUp(S, up, shift);
    }
    void CtrlKey(char key) { Key(static_cast<unsigned short>(key), ToolCtrlKey); }
    void DeleteKey() { Key(46); }

    // What the ledger got, each list as the bytes of the return file.
    std::vector<std::string> Lists() {
        Ui.TakeList();
        return Ui.Taken;
    }
    static std::string ListBytes(const std::string& verb, const std::vector<std::string>& lines) {
        std::string text = ChangeRecordHeader(verb) + "\r\n";
        for (const std::string& l : lines) text += l + "\r\n";
        return Utf8ToCp932(text);
    }
    std::string Line(std::int32_t i) const { return PlotExchangeLine(S, i); }

    std::array<double, 4> Box(std::int32_t i) const {
        const TDateRec& r = S.Fig(i);
        return {r.BoxX1, r.BoxY1, r.BoxX2, r.BoxY2};
    }
    std::array<double, 8> Points(std::int32_t i) const {
        const TDateRec& r = S.Fig(i);
        return {r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4};
    }
    std::array<double, 4> Arc(std::int32_t i) const {
        const TDateRec& r = S.Fig(i);
        return {r.Aux1, r.Aux2, r.Aux3, r.Aux4};
    }
    // The 17 numbers of a geometry entry, as a step records them.
    THistoryData Geometry(std::initializer_list<std::int32_t> indices) const {
        THistoryData d;
        for (const std::int32_t i : indices) AppendGeometryToHistory(d, i, S.Fig(i));
        return d;
    }
    // A polygon of three edges under one parent (kind 31), as a closed chain leaves it.
    std::int32_t AddPolygon(double x, double y, bool plot, std::int32_t id = 0) {
        const std::int32_t first = S.FigureCount + 1;
        AddLine(x, y, x + 4000, y, fkPolygonEdge);
        AddLine(x + 4000, y, x + 4000, y + 3000, fkPolygonEdge);
        AddLine(x + 4000, y + 3000, x, y, fkPolygonEdge);
        TDateRec& p = Add(fkPolygon, x, y, x + 4000, y + 3000);
        const std::int32_t parent = S.FigureCount;
        for (std::int32_t i = first; i < parent; ++i) {
            S.Fig(i).OwnerIndex = parent;
            S.Fig(i).IsPlot = plot ? 1 : 0;
            S.Fig(i).PlotId = id;
        }
        p.IsPlot = plot ? 1 : 0;
        p.PlotId = id;
        if (plot) S.MaxPlotId = std::max(S.MaxPlotId, id);
        return parent;
    }
};

}  // namespace tarvek::testing
