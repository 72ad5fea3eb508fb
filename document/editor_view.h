// What the logic asks of the window around it. The main form implements it; without a
// form (tests, tools) the defaults do nothing.
#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "document/figure.h"

namespace tarvek {

// A shape drawn over the map at its next paint and gone at the one after: four corners
// in drawing units, an outline, and a fill or none.
struct TMapMark {
    std::array<double, 8> Corners{};  // x1, y1 .. x4, y4
    TColor PenColor = 255;
    int PenWidth = 2;
    std::optional<TColor> BrushColor;
};

class TEditorView {
public:
    virtual ~TEditorView() = default;
    virtual void HelpLineChanged(const std::string& /*text*/) {}
    // The three selection counters of the form.
    virtual void SelectionCountChanged(int /*count*/) {}
    // Marks and centres the current search hit.
    virtual void ShowCurrentHit() {}
    virtual void RepaintMap() {}
    // Shows these shapes over the map until it is painted again.
    virtual void MarkUntilRepaint(const std::vector<TMapMark>& /*marks*/) {}
    // The page of the main page control in front (0 search ... 5 options and printing).
    virtual int ActivePageIndex() const { return 3; }

    // The map's scroll box and paint box, in pixels.
    virtual int ScrollBoxWidth() const { return 800; }
    virtual int ScrollBoxHeight() const { return 600; }
    virtual int PaintBoxWidth() const { return PaintWidth; }
    virtual int PaintBoxHeight() const { return PaintHeight; }
    virtual void SetPaintBoxSize(int width, int height) {
        PaintWidth = width;
        PaintHeight = height;
    }
    virtual int HorzScrollPos() const { return ScrollX; }
    virtual int VertScrollPos() const { return ScrollY; }
    // The scroll box clamps a position to its range.
    virtual void SetScrollPos(int x, int y) {
        ScrollX = std::clamp(x, 0, std::max(0, PaintWidth - ScrollBoxWidth()));
        ScrollY = std::clamp(y, 0, std::max(0, PaintHeight - ScrollBoxHeight()));
    }
    // Moves the pointer to the middle of the map, where the platform can.
    virtual void WarpPointerToMapCentre() {}
    virtual void FocusSink() {}

protected:
    int PaintWidth = 764, PaintHeight = 564, ScrollX = 0, ScrollY = 0;
};

}  // namespace tarvek
