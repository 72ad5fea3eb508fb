// The rotate tool: the selection turned about the centre clicked first, previewed in
// not-xor while the pointer moves and committed in whole degrees at the second click; with
// Ctrl the turned figures are copies (copied plots are new, empty plots the ledger is
// told of). Also the snap guides: the lines of the point markers a pointer position
// snaps to.
#pragma once

namespace tarvek {

struct TDrawingState;
class TCanvas;

constexpr const char* RotateStepLabel = "図形の回転を元に戻す";
constexpr const char* RotateCopyStepLabel = "回転コピーの取消す";

// An angle (radians) taken to whole degrees, halves to even.
double WholeDegreesAngle(double radians);

// The selection turned by angle (radians; positive turns clockwise on the screen) about
// RotationCentre, in not-xor: red, blue where a turned figure lies square to the axes.
// Drawing the same angle again takes it off. The angle shows on the coordinate line.
void DrawRotationPreview(TDrawingState& s, TCanvas& canvas, double angle);

// The second click: RotationAngle in whole degrees applied to the selection, or with
// shift bit 2 (Ctrl) to copies of it. A copy that finds no room in the store changes
// nothing.
void CommitRotation(TDrawingState& s, unsigned shift);

// Per axis, the point marker whose line lies within 5 pixels of (x, y) (the last one
// wins) into SnapGuidePxX/SnapGuidePxY and SnapGuidePos; -1 where none does. Unset
// markers never give a guide.
void FindSnapGuides(TDrawingState& s, int x, int y);

}  // namespace tarvek
