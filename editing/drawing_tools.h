// The drawing tools: the tool buttons, the mouse and key dispatch of the map, the start
// of a drag and the not-xor rubber band. Everything works on the state and on the
// TToolView the window provides, so event scripts drive it without a window.
#pragma once

#include <cstdint>
#include <string>

#include "editing/tool_state.h"

namespace tarvek {

struct TDrawingState;

TToolView& ToolView(TDrawingState& s);

// Tool buttons. ChooseTool takes the codes 1, 2, 3, 4, 7, 8, 10, 22 and 3000.
void ChooseTool(TDrawingState& s, std::int32_t code);
void ChooseSelectTool(TDrawingState& s);
// A block of BlockColumns x BlockRows plots, or one plot.
void ChooseBlockTool(TDrawingState& s, bool singlePlot);
// False (a beep and a message) when nothing is selected.
bool ChooseRotateTool(TDrawingState& s);
std::string ToolHelpText(const TDrawingState& s, std::int32_t code, bool singlePlot = false);
void UpdatePaintCursor(TDrawingState& s);

// A drawing in progress is given up the way the right button ends it (a chain keeps
// what was drawn as an open figure), so that a tool change leaves no loose pieces.
void FinishDrawingInProgress(TDrawingState& s);

void BeginFigureDrag(TDrawingState& s, int x, int y);

void ToolMouseDown(TDrawingState& s, TToolButton button, unsigned shift, int x, int y);
void ToolMouseMove(TDrawingState& s, unsigned shift, bool leftHeld, int x, int y);
void ToolMouseUp(TDrawingState& s, TToolButton button, unsigned shift, int x, int y);
// key: a Windows virtual-key code; set to 0 when the key was used up.
void ToolKeyDown(TDrawingState& s, unsigned short& key, unsigned shift);
void ToolKeyUp(TDrawingState& s, unsigned short& key, unsigned shift);

// A point after snapping: its pixel and its drawing position.
struct TSnappedPoint {
    std::int32_t px = 0, py = 0;
    double x = 0, y = 0;
};
// Snaps to the figure point under the pointer, else per axis to a guide or the mesh.
TSnappedPoint SnapPoint(TDrawingState& s, int x, int y, bool eraseMarkers);
// One axis onto half the mesh spacing from origin (ties away from the origin).
std::int32_t SnapToMesh(const TDrawingState& s, std::int32_t p, std::int32_t origin);
// Offset and length of the figure being drawn, or the position on the mesh.
void ShowCursorCoordinates(TDrawingState& s, int x, int y, bool relative);
// Takes shown markers off the map and empties markers 1 and 2; marker 0 (the start of
// the figure being drawn) too when clearFirst.
void ResetPointMarkers(TDrawingState& s, bool clearFirst);
// Once per idle pass: the red circle on the figure point under the pointer (drawing page
// only), and the last two snap points as markers 1 and 2.
void TrackSnapPoint(TDrawingState& s);

// The rubber band: ShowToolPreview draws the current one (taking off what is shown
// first), EraseToolPreview takes it off, MoveRubberBandEnd moves its end.
void ShowToolPreview(TDrawingState& s);
void EraseToolPreview(TDrawingState& s);
void MoveRubberBandEnd(TDrawingState& s, int x, int y);
// The map was painted anew, so no band is on it: the one in progress is drawn back.
void ToolMapRepainted(TDrawingState& s);

// Drawing units -> the nearest paint-box pixel at the current zoom.
std::int32_t ToPixel(const TDrawingState& s, double units);

}  // namespace tarvek
