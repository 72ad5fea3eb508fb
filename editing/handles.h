// Handles of the selection under the pointer (a frame corner, the inside of the frame, or
// one of the selected figure's own points), the blinking frame that says an own point on
// a frame corner is ready to be dragged, and the three point markers: guide lines through
// points the drawing and move operations set, drawn in not-xor so a second drawing takes
// them off again.
#pragma once

#include <cstdint>

#include "document/figure.h"

namespace tarvek {

struct TDrawingState;
class TCanvas;

inline constexpr TColor MarkerGrey = 0x808080;
// Red 113, green 108, blue 191: a marker line the pointer is on.
inline constexpr TColor MarkerHighlight = 0xBF6C71;
inline constexpr std::int32_t BlinkStartInterval = 10;

// The figure point or frame corner under the pointer (paint-box pixels) into
// SnapGuidePx, SnapGuidePos and HandleFigure, and the handle state into HandleHit
// (frozen during a handle drag and in rotate mode) and SnapHit.
void FindHandleUnderCursor(TDrawingState& s, int x, int y);
// HandleHit from the point in SnapGuidePx: a frame corner 1 to 4, overwritten by an own
// point 6 to 9 of a selected figure when the whole selection is of its kind.
void HitTestHandleCorners(TDrawingState& s);
// HandleHit 5 when the pointer lies strictly inside the frame.
void HitTestInsideFrame(TDrawingState& s, int x, int y);

// Timer4: the next blink of the frame and of the figure whose point is under the pointer.
void BlinkTimerTick(TDrawingState& s);
// The pointer moved: the blink stops and starts over from its first phase.
void StopBlink(TDrawingState& s);

// Toggles the markers' lines on canvas (the caller keeps MarkersShown).
void DrawPointMarkers(TDrawingState& s, TCanvas& canvas);
// Shows the markers while the pointer (HoverPos) is near one of their lines, the lines
// under it highlighted; hides them when it leaves.
void HitTestPointMarkers(TDrawingState& s);

}  // namespace tarvek
