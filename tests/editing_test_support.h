// A window for the editing operations without one: it answers the colour dialogs from a
// script and records what the operations asked it to show.
#pragma once

#include <algorithm>
#include <deque>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "document/drawing_state.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/attributes.h"

namespace tarvek::testing {

class TEditingView : public TEditorView, public TAttributeView {
public:
    // TEditorView: the drawing page in front.
    void RepaintMap() override { ++Repaints; }
    void FocusSink() override { ++Focus; }
    void SelectionCountChanged(int count) override { Counted = count; }

    // TAttributeView. A dialog answer of nullopt is Cancel.
    bool ChooseColour(TColourDialog dialog, TColor& colour) override {
        Asked.push_back({dialog, colour});
        if (Colours.empty() || !Colours.front()) {
            if (!Colours.empty()) Colours.pop_front();
            return false;
        }
        colour = *Colours.front();
        Colours.pop_front();
        return true;
    }
    void ShowPenStyle(int item) override { PenStyleItem = item; }
    void SetPenStyleEnabled(bool enabled) override { PenStyleEnabled = enabled; }
    void ShowPenWidth(int item) override { PenWidthItem = item; }
    void ShowBrushStyle(int item) override { BrushStyleItem = item; }
    void RepaintSamples(TSampleList list) override { Samples.push_back(list); }
    void ShowMeshInterval(const std::string& text) override { MeshText = text; }
    void ShowMeshSnap(int item) override { SnapItem = item; }
    void ShowMoveStep(const std::string& text) override { MoveStepText = text; }

    struct TAsked {
        TColourDialog Dialog;
        TColor Start;
    };
    std::deque<std::optional<TColor>> Colours;
    std::vector<TAsked> Asked;
    int PenStyleItem = -9, PenWidthItem = -9, BrushStyleItem = -9;
    bool PenStyleEnabled = true;
    std::vector<TSampleList> Samples;
    std::string MeshText, MoveStepText;
    int SnapItem = -9;
    int Repaints = 0, Focus = 0, Counted = -1;
};

inline THistoryData Numbers(std::initializer_list<std::int64_t> values) {
    THistoryData d;
    for (const std::int64_t v : values) d.AddNumber(v);
    return d;
}

// A straight figure from (x1, y1) to (x2, y2), as the tools store one.
inline TDateRec& AddStraight(TDrawingState& s, std::int32_t kind, double x1, double y1, double x2, double y2) {
    TDateRec& r = s.Fig(++s.FigureCount);
    r = TDateRec{};
    r.Kind = kind;
    r.X1 = r.X2 = x1, r.Y1 = r.Y2 = y1;
    r.X3 = r.X4 = x2, r.Y3 = r.Y4 = y2;
    r.BoxX1 = std::min(x1, x2), r.BoxX2 = std::max(x1, x2);
    r.BoxY1 = std::min(y1, y2), r.BoxY2 = std::max(y1, y2);
    r.Text = "0";
    return r;
}

// A four-cornered figure (rectangle, plot, text) from its corners in order.
inline TDateRec& AddCorners(TDrawingState& s, std::int32_t kind, std::initializer_list<std::pair<double, double>> p) {
    TDateRec& r = s.Fig(++s.FigureCount);
    r = TDateRec{};
    r.Kind = kind;
    const auto* c = p.begin();
    r.X1 = c[0].first, r.Y1 = c[0].second, r.X2 = c[1].first, r.Y2 = c[1].second;
    r.X3 = c[2].first, r.Y3 = c[2].second, r.X4 = c[3].first, r.Y4 = c[3].second;
    r.BoxX1 = std::min({r.X1, r.X2, r.X3, r.X4}), r.BoxX2 = std::max({r.X1, r.X2, r.X3, r.X4});
    r.BoxY1 = std::min({r.Y1, r.Y2, r.Y3, r.Y4}), r.BoxY2 = std::max({r.Y1, r.Y2, r.Y3, r.Y4});
    r.Text = "0";
    return r;
}

// Selects exactly these records, as picking would leave the list.
inline void SelectOnly(TDrawingState& s, std::initializer_list<std::int32_t> indices) {
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) s.Fig(i).Selected = 0;
    for (const std::int32_t i : indices) s.Fig(i).Selected = 1;
    RebuildSelectionList(s, false);
}

inline std::vector<std::string> Labels(const TDrawingState& s, std::int32_t from) {
    std::vector<std::string> labels;
    for (std::int32_t i = from + 1; i <= s.HistoryCount; ++i) labels.push_back(s.History[static_cast<std::size_t>(i)].Label);
    return labels;
}

}  // namespace tarvek::testing

