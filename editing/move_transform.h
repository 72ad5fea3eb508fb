// Dragging the selection on the drawing page: from inside the frame it moves, from a
// frame corner it is scaled about the opposite corner, from one of the selected figures'
// own points that point alone moves. While the button is held a not-xor preview follows
// the pointer; the commit changes the records and records the step, and with Ctrl it
// copies the selection first (copied plots are new, empty plots the ledger is told of).
// One set of rules serves the preview (pixels) and the commit (drawing units).
#pragma once

#include <array>
#include <cstdint>

namespace tarvek {

struct TDrawingState;
class TCanvas;
class TPlotSearchView;

constexpr const char* MoveStepLabel = "図形の移動を取消す";
constexpr const char* TransformStepLabel = "図形の変形を取消す";
constexpr const char* MoveCopyStepLabel = "移動コピーを取消す";
constexpr const char* TransformCopyStepLabel = "変形コピーを取消す";

// A figure's four points and its arc points (Aux1..Aux4), in units or pixels.
struct TFigureShape {
    std::array<double, 4> X{}, Y{};
    std::array<double, 4> Aux{};
};

// What one drag does to every selected figure.
struct TDragTransform {
    std::int32_t Handle = 5;
    // SelectionKindFlags: dimensions, ellipses, lines and leaders, curves.
    std::array<std::uint8_t, 4> Kinds{};
    double Dx = 0, Dy = 0;            // the drag's offset
    double Sx = 1, Sy = 1;            // scaling about the fixed corner
    double Ax = 0, Ay = 0;            // the fixed corner
    bool Pixels = false;              // every result to the nearest whole pixel
};

// A frame corner of a selection of lines and leaders (or of dimensions) drags one end:
// handles 1 and 2 become 6, 3 and 4 become 8.
std::int32_t LineHandle(const std::array<std::uint8_t, 4>& kinds, std::int32_t handle);

// The frame's sides (DrawPointBuffer: right, left, bottom, top); a side of length 0
// counts as 1.
double FrameWidth(const std::array<double, 4>& frame);
double FrameHeight(const std::array<double, 4>& frame);

// The drag from start to end with the given handle: frame (right, left, bottom, top)
// gives the fixed corner, w and h its sides, all in one unit.
TDragTransform MakeDragTransform(std::int32_t handle, const std::array<std::uint8_t, 4>& kinds,
                                 const std::array<double, 4>& frame, double w, double h, double startX,
                                 double startY, double endX, double endY, bool pixels);

// The two corners that complete the rectangle with corner p1, a side running from p2
// towards p1, and the opposite corner p3: the corner on that side's line, then the one
// across. The rounded form works on whole pixels and rounds its results.
std::array<double, 4> RotatePointAboutCentre(double p1x, double p1y, double p2x, double p2y, double p3x, double p3y);
std::array<std::int32_t, 4> RotatePointAboutCentreRounded(std::int32_t p1x, std::int32_t p1y, std::int32_t p2x,
                                                          std::int32_t p2y, std::int32_t p3x, std::int32_t p3y);

// Applies the drag to a figure of this kind: own points (handles 6 to 9), the frame
// corners (1 to 4; shapes other than lines and curves stay rectangles whose sides keep
// their direction) or the move (5).
void ApplyDragTransform(const TDragTransform& d, std::int32_t kind, TFigureShape& shape);

// The not-xor preview of the band from (fromX, fromY) to (toX, toY) with handle: the
// selection as the drag would leave it. Drawing it twice takes it off.
void DrawDragPreview(TDrawingState& s, TCanvas& canvas, int fromX, int fromY, int toX, int toY, std::int32_t handle);

// The release (or second press) of a handle drag at pixel (x, y); shift bit 2 (Ctrl)
// copies first. A copy that finds no room in the store changes nothing.
void CommitMoveOrTransform(TDrawingState& s, TPlotSearchView& view, unsigned shift, int x, int y);

}  // namespace tarvek
