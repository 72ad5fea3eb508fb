// Zoom and scrolling of the map: the zoom steps, zoom about a point, to a dragged
// rectangle, by the wheel and the buttons, and the shift of the figures when the
// window is resized at the smallest zoom. Each user change of the view is recorded
// so that Ctrl+Z can bring the previous view back.
#pragma once

#include <cstdint>

namespace tarvek {

struct TDrawingState;

constexpr const char* ScrollStepLabel = "スクロール位置を元に戻します";
constexpr const char* ZoomStepLabel = "拡大率を戻す";

// One step about MousePos. False when the zoom is at its end and nothing changed.
bool ZoomInStep(TDrawingState& s);
bool ZoomOutStep(TDrawingState& s);
// Sizes the paint box for Zoom and brings MousePos (at PreviousZoom) to the middle.
void ApplyZoom(TDrawingState& s);
// The zoom buttons: about the selection's centre, or the middle of the visible part.
bool ZoomByButton(TDrawingState& s, bool in);
// One wheel step (delta > 0 in) over the map.
bool ZoomByWheel(TDrawingState& s, int delta);
// The loupe's rectangle from MouseDownPos to MousePos.
bool ZoomToRectangle(TDrawingState& s);
// The window was resized: at zoom 1 the figures move to stay centred.
void ResizeView(TDrawingState& s);

// Scrolls the map by (dx, dy) pixels, as far as the scroll range allows, and repaints
// it; a rectangle being dragged out is drawn anew at the next move, not erased first.
void ScrollMapBy(TDrawingState& s, int dx, int dy);

// Where the pointer is, for the edge scroll of a drag: the control under it (any value
// that tells controls apart; 0 none), whether that is the map, and its position in the
// form's client coordinates; with the map's place on the form.
struct TPointerPlace {
    const void* Control = nullptr;
    bool OverMap = false;
    int FormX = 0, FormY = 0;
    int MapLeft = 0, MapTop = 0, MapWidth = 0, MapHeight = 0;  // the scroll box on the form
};

// Every idle pass: a drag that left the map scrolls it one pixel a pass towards where the
// pointer went, until the pointer is back over the map. True on the pass the drag left
// the map: the caller takes the tool's band off it (the band belongs to the tools).
bool AutoScrollAtEdge(TDrawingState& s, const TPointerPlace& p);

}  // namespace tarvek
